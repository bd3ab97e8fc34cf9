#include "drawing/kv_figure_common.h"
#include "drawing/kv_figure_tube.h"
#include "kv_figure_fixture.h"
#include "platform/qt/ole_color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace drawing;
using namespace figtest;

namespace {

constexpr double kP = 3.14159265358979;

struct Tube : FigureTest {
    Tube() {
        useSymmetricBoxBase();
    }
    void draw(int16_t dir, clsPrintOut* surface = nullptr, FigureFrameTbl f = Frame(0, 0, 1)) {
        int16_t i = 1;
        DrawKvFigureTube(surface ? *surface : po, f, i, dir);
    }
};

TEST_F(Tube, ScreenClearsAndLeavesPenOneAndTheFont) {
    pic.setDrawWidth(2);
    draw(0);
    ASSERT_FALSE(pic.ops.empty());
    EXPECT_EQ(pic.ops.front().kind, "Cls");
    EXPECT_EQ(pic.ops.front().color, vbqt::SystemColor(0));
    EXPECT_EQ(pic.DrawWidth(), 1);
    EXPECT_EQ(pic.FontSize(), 8.25);
    EXPECT_EQ(pic.ForeColor(), 0);
    // Figure pen 2 for the bolts, texts at size 11.
    const auto circles = Circles(pic.ops);
    ASSERT_EQ(circles.size(), 4u);
    for (const DrawOp& o : pic.ops) {
        if (o.kind == "Circle") {
            EXPECT_EQ(o.width, 2);
        }
    }
    for (const Text& t : Texts(pic.ops)) EXPECT_EQ(t.size, 11) << t.text;
}

TEST_F(Tube, DimensionTextsAndLines) {
    draw(0);
    const auto texts = Texts(pic.ops);
    struct Want {
        std::string text;
        double x, y;
    };
    for (const Want& w : {Want{"400", -1.5, 12}, Want{"500", -1.5, 15}, Want{"350", 12, -2.25},
                          Want{"450", 15, 0.25}}) {
        const Text* t = FindText(texts, w.text);
        ASSERT_NE(t, nullptr) << w.text;
        EXPECT_NEAR(t->x, w.x, 1e-4) << w.text;
        EXPECT_NEAR(t->y, w.y, 1e-4) << w.text;
    }
    const auto segs = Lines(pic.ops);
    // Bolt pitch below the base: extension lines from y = 5.5 to 14.5, the
    // line at 14, arrowheads opening toward the middle.
    EXPECT_TRUE(HasSeg(segs, {-5.5, 5.5, -5.5, 14.5}));
    EXPECT_TRUE(HasSeg(segs, {5.5, 5.5, 5.5, 14.5}));
    EXPECT_TRUE(HasSeg(segs, {-5.5, 14, 5.5, 14}));
    EXPECT_TRUE(HasSeg(segs, {-5.5, 14, -4, 13.5}));
    EXPECT_TRUE(HasSeg(segs, {5.5, 14, 4, 14.5}));
    // Plate size, right of the base.
    EXPECT_TRUE(HasSeg(segs, {17, -7, 17, 7}));
    EXPECT_TRUE(HasSeg(segs, {5.5, -7, 17.5, -7}));
    EXPECT_TRUE(HasSeg(segs, {5.5, 7, 17.5, 7}));
    // Direction symbol.
    EXPECT_TRUE(HasSeg(segs, {-13, 21, -5, 21}));
    EXPECT_TRUE(HasSeg(segs, {-13, 21, -13, 13}));
    EXPECT_NE(FindText(texts, "X"), nullptr);
}

TEST_F(Tube, NumberTextsUseTheShortStrForm) {
    setKvLen(1, {412.5, 0.5, 1000, 0, 0, 0});
    draw(0);
    const auto texts = Texts(pic.ops);
    EXPECT_NE(FindText(texts, "412.5"), nullptr);
    EXPECT_NE(FindText(texts, ".5"), nullptr);
    EXPECT_NE(FindText(texts, "1000"), nullptr);
    EXPECT_NE(FindText(texts, "0"), nullptr);
}

TEST_F(Tube, ArrangementOneTextsAndNTFlag) {
    base().AbV = 1;
    setKvLen(1, {500, 450, 400, 350, 300, 250});
    struct Case {
        bool nt;
        std::map<std::string, std::array<double, 2>> at;
    };
    const Case cases[] = {
        {true, {{"400", {-1.5, 12}}, {"500", {-1.5, 15}}, {"350", {12, -2.25}}, {"450", {15, 0.25}},
                {"300", {-1.5, 9}}, {"250", {9, 0.25}}}},
        // Only the three texts beside vertical lines move.
        {false, {{"400", {-1.5, 12}}, {"500", {-1.5, 15}}, {"350", {12, 1.5}}, {"450", {15, 1.5}},
                 {"300", {-1.5, 9}}, {"250", {9, 1.5}}}},
    };
    for (const Case& c : cases) {
        pic.ops.clear();
        gNTFlag = c.nt;
        draw(0);
        const auto texts = Texts(pic.ops);
        for (const auto& [s, p] : c.at) {
            const Text* t = FindText(texts, s);
            ASSERT_NE(t, nullptr) << s;
            EXPECT_NEAR(t->x, p[0], 1e-4) << s << " nt " << c.nt;
            EXPECT_NEAR(t->y, p[1], 1e-4) << s << " nt " << c.nt;
        }
        // Inner pitch lines of arrangement 1.
        const auto segs = Lines(pic.ops);
        EXPECT_TRUE(HasSeg(segs, {-4.5, 11, 4.5, 11}));
        EXPECT_TRUE(HasSeg(segs, {11, -4.5, 11, 4.5}));
    }
}

TEST_F(Tube, QuarterTurnsShowTheOtherRowOfKvLen) {
    setKvLen(1, {500, 450, 400, 350, 0, 0});
    for (int16_t dir : {1, 3}) {
        pic.ops.clear();
        draw(dir);
        const auto texts = Texts(pic.ops);
        const Text* t = FindText(texts, "350");
        ASSERT_NE(t, nullptr);
        EXPECT_NEAR(t->y, 12, 1e-4) << dir;  // the (1, 3) value under the base
    }
}

// dir 2 and 3 turn the turned elements by 180 and 270 degrees; the swapped
// ones are those of dir 0 and 1.
TEST_F(Tube, HalfTurnsTurnOnlyTheTurnedElements) {
    base().HenshinE(0) = 50;
    base().HenshinE(1) = 50;  // eccentric: the column lies at (-1, -1)
    const auto firstHole = [&](int16_t dir) {
        pic.ops.clear();
        draw(dir);
        return Arcs(pic.ops);
    };
    // The first corner hole is a three-quarter arc facing away from the column.
    const auto a0 = firstHole(0);
    ASSERT_FALSE(a0.empty());
    bool found0 = false;
    for (const ArcOp& a : a0)
        if (Near(a.cx, -5.5) && Near(a.cy, -5.5) && Near(a.r, 0.8)) {
            found0 = true;
            EXPECT_NEAR(a.st, 0, 1e-5);
            EXPECT_NEAR(a.ed, 3 * kP / 2, 1e-5);
        }
    EXPECT_TRUE(found0);
    bool found2 = false;
    for (const ArcOp& a : firstHole(2))
        if (Near(a.cx, 5.5) && Near(a.cy, 5.5) && Near(a.r, 0.8)) found2 = true;
    EXPECT_TRUE(found2);

    // The box column's left edge at x = -1 - 4.5 turns to the right for dir 2.
    pic.ops.clear();
    draw(0);
    EXPECT_TRUE(HasSeg(Lines(pic.ops), {-5.5, -5, -5.5, 3}));
    const auto dimsOf = [&](int16_t dir) {
        pic.ops.clear();
        draw(dir);
        std::vector<Seg> dims;
        for (const Seg& s : Lines(pic.ops))
            if (s.y1 >= 13.4 && s.y2 >= 13.4 && s.x1 > -12) dims.push_back(s);
        return dims;
    };
    const auto d0 = dimsOf(0);
    const auto d2 = dimsOf(2);
    ASSERT_FALSE(d0.empty());
    ASSERT_EQ(d0.size(), d2.size());
    for (const Seg& s : d0) EXPECT_TRUE(HasSeg(d2, s));
    pic.ops.clear();
    draw(2);
    EXPECT_TRUE(HasSeg(Lines(pic.ops), {5.5, 5, 5.5, -3}));
}

// For a round column on a symmetric base every element but the fixed
// direction symbol and the texts is mirrored about the diagonal by dir 1.
TEST_F(Tube, DirOneMirrorsAboutTheDiagonal) {
    col().ColV = 1;
    for (int16_t abv : {0, 1}) {
        base().AbV = abv;
        base().AbN = 3;
        pic.ops.clear();
        draw(0);
        auto s0 = Shapes(pic.ops);
        pic.ops.clear();
        draw(1);
        auto s1 = Shapes(pic.ops);
        // The direction symbol is drawn last: six strokes.
        s0.resize(s0.size() - 6);
        s1.resize(s1.size() - 6);
        const PointMap swap = [](double x, double y) { return std::array<double, 2>{y, x}; };
        ExpectSameDrawing(s0, s1, swap, swap, 1e-3, "AbV " + std::to_string(abv));
    }
}

TEST_F(Tube, EccentricMarksAndTexts) {
    base().HenshinE(0) = 75;
    base().HenshinE(1) = 62.5;
    draw(0);
    const auto segs = Lines(pic.ops);
    // Column axes at -1, their marks above and left of the plate.
    EXPECT_TRUE(HasSeg(segs, {-1, -9, -1, 5}));
    EXPECT_TRUE(HasSeg(segs, {-9, -1, 5, -1}));
    EXPECT_TRUE(HasSeg(segs, {-3, -8.5, 2, -8.5}));
    EXPECT_TRUE(HasSeg(segs, {-8.5, -3, -8.5, 2}));
    const auto texts = Texts(pic.ops);
    const Text* ey = FindText(texts, "62.5");
    const Text* ex = FindText(texts, "75");
    ASSERT_NE(ey, nullptr);
    ASSERT_NE(ex, nullptr);
    EXPECT_NEAR(ey->x, 0.5, 1e-4);
    EXPECT_NEAR(ey->y, -11, 1e-4);
    EXPECT_NEAR(ex->x, -11, 1e-4);
    EXPECT_NEAR(ex->y, 0.5, 1e-4);
}

TEST_F(Tube, RoundColumnStaysOnTheBaseCentre) {
    col().ColV = 1;
    base().HenshinE(0) = 50;
    base().HenshinE(1) = 50;
    base().RotateMode = -1;  // asymmetric, but not under a box
    draw(0);
    int rings = 0;
    for (const Circ& c : Circles(pic.ops))
        if (Near(c.cx, 0) && Near(c.cy, 0)) ++rings;
    EXPECT_EQ(rings, 2);
    // No plate shift: the corner holes stay at +-5.5.
    bool hole = false;
    for (const Circ& c : Circles(pic.ops))
        if (Near(c.cx, 5.5) && Near(c.cy, 5.5)) hole = true;
    EXPECT_TRUE(hole);
    // The eccentric marks are drawn (step 6 runs).
    EXPECT_TRUE(HasSeg(Lines(pic.ops), {-1, -9, -1, 5}));
}

TEST_F(Tube, BoxOnAsymmetricBaseShiftsThePlate) {
    base().RotateMode = -1;
    base().HenshinE(0) = 100;
    base().HenshinE(1) = 80;  // eccentric as well: the eccentric marks stay out
    setKvLen(1, {600, 450, 500, 350, 0, 0});
    draw(0);
    auto circles = Circles(pic.ops);
    std::vector<std::array<double, 2>> holes;
    for (const Circ& c : circles)
        if (Near(c.r, 0.8)) holes.push_back({c.cx, c.cy});
    for (const ArcOp& a : Arcs(pic.ops))
        if (Near(a.r, 0.8)) holes.push_back({a.cx, a.cy});
    ASSERT_EQ(holes.size(), 4u);
    for (auto h : std::vector<std::array<double, 2>>{{-4, -6.5}, {-4, 6.5}, {6, 6.5}, {6, -6.5}})
        EXPECT_TRUE(std::any_of(holes.begin(), holes.end(), [&](auto p) {
            return Near(p[0], h[0]) && Near(p[1], h[1]);
        }));
    const auto segs = Lines(pic.ops);
    EXPECT_FALSE(HasSeg(segs, {-1, -10, -1, 4}));  // no eccentric column axis
    EXPECT_TRUE(HasSeg(segs, {0, -6, 0, 6}));       // the column axis mark
    EXPECT_TRUE(HasSeg(segs, {-2.5, 2, 3.5, 2}));
    EXPECT_TRUE(HasSeg(segs, {-4, 14, 6, 14}));     // bolt pitch, shifted
    const auto texts = Texts(pic.ops);
    const Text* e = FindText(texts, "100");
    ASSERT_NE(e, nullptr);
    EXPECT_NEAR(e->x, -2.6, 1e-4);
    EXPECT_NEAR(e->y, -0.7, 1e-4);

    // A quarter turn: holes turned, the swapped dimension moved by gy = -2.
    pic.ops.clear();
    draw(1);
    EXPECT_TRUE(HasSeg(Lines(pic.ops), {14, -6, 14, 4}));
    const auto texts1 = Texts(pic.ops);
    const Text* e1 = FindText(texts1, "100");
    ASSERT_NE(e1, nullptr);
    EXPECT_NEAR(e1->x, -0.5, 1e-4);
    EXPECT_NEAR(e1->y, -(0.6 + 2 + 1), 1e-4);
}

TEST_F(Tube, OtherArrangementDrawsNoPlateButTheTexts) {
    base().AbV = 2;
    draw(0);
    for (const Circ& c : Circles(pic.ops)) EXPECT_FALSE(Near(c.r, 0.8) || Near(c.r, 0.5));
    const auto texts = Texts(pic.ops);
    EXPECT_NE(FindText(texts, "500"), nullptr);
    // Dimension lines of length 0 at x = 0.
    EXPECT_TRUE(HasSeg(Lines(pic.ops), {0, 14, 0, 14}));
}

TEST_F(Tube, OtherColumnKindHasNoSection) {
    col().ColV = 2;
    draw(0);
    for (const ArcOp& a : Arcs(pic.ops)) EXPECT_FALSE(Near(a.r, 0.5) && Near(std::fabs(a.cx), 4));
    col().ColV = 0;
    pic.ops.clear();
    draw(0);
    int corners = 0;
    for (const ArcOp& a : Arcs(pic.ops))
        if (Near(a.r, 0.5) && Near(std::fabs(a.cx), 4)) ++corners;
    EXPECT_EQ(corners, 4);
}

TEST_F(Tube, SeriesFiveMarks) {
    base().KvV = 5;
    draw(0);
    const size_t with = Lines(pic.ops).size();
    base().KvV = 1;
    pic.ops.clear();
    draw(0);
    EXPECT_EQ(with - Lines(pic.ops).size(), 12u + 24u);
}

TEST_F(Tube, PaperIsNotClearedAndScalesTheFont) {
    const FigureFrameTbl f = Frame(136.5, 30, 0.95);
    page.setFont(vbqt::StdFont{"ＭＳ 明朝", 9});
    draw(0, &paper, f);
    for (const DrawOp& o : page.ops) EXPECT_NE(o.kind, "Cls");
    const auto texts = Texts(page.ops);
    const Text* t = FindText(texts, "400");
    ASSERT_NE(t, nullptr);
    EXPECT_NEAR(t->size, 6 * 0.95, 1e-9);
    EXPECT_NEAR(t->x, 136.5 - 1.5 * 0.95, 1e-6);
    EXPECT_NEAR(t->y, 30 + 12 * 0.95 + 4.5, 1e-6);
    for (const DrawOp& o : page.ops) {
        if (o.kind == "Circle") {
            EXPECT_EQ(o.width, 3);
        }
    }
    EXPECT_EQ(page.Font().Size, 9);
}

TEST_F(Tube, NinesAreReplacedInTheCallersVariables) {
    model::gCurCol = 2;
    col(2).ColV = 0;
    base(2).RotateMode = -1;
    col(2).KvRotate = 1;
    model::gDispMode = 4;
    int16_t i = 999, dir = 999;
    DrawKvFigureTube(po, unit, i, dir);
    EXPECT_EQ(i, 2);
    EXPECT_EQ(dir, 0);  // display mode not 0 and turned base: both hold
}

TEST_F(Tube, BadArgumentsFailBeforeDrawing) {
    int16_t i = 3, dir = 0;
    EXPECT_THROW(DrawKvFigureTube(po, unit, i, dir), FigureError);
    i = 1;
    for (int16_t bad : {-1, 4}) {
        dir = bad;
        EXPECT_THROW(DrawKvFigureTube(po, unit, i, dir), FigureError);
    }
    EXPECT_TRUE(pic.ops.empty());
}

TEST_F(Tube, FailureLeavesFrameAndFont) {
    const FigureFrameTbl f = Frame(10, 20, 2);
    pic.failDraws = true;
    int16_t i = 1, dir = 0;
    EXPECT_THROW(DrawKvFigureTube(po, f, i, dir), RecordingFailure);
    EXPECT_EQ(f.X0, 10);
    EXPECT_EQ(f.Y0, 20);
    EXPECT_EQ(pic.FontSize(), 8.25);
}

// ---- plate and bolts ----

struct Plate : Tube {
    // Only the plate: ColV 2 keeps the column section out, and the layout
    // comes from the figure's own derivation.
    std::vector<DrawOp> plate(int16_t dir) {
        pic.ops.clear();
        const TubeLayout L = CalcTubeLayout(col(), base(), dir);
        PlotTubeBasePlate(po, unit, base(), L);
        return pic.ops;
    }
};

// Centres of circles and arcs of radius r (within 0.01), each once.
std::vector<std::array<double, 2>> centres(const std::vector<DrawOp>& ops, double r) {
    std::vector<std::array<double, 2>> out;
    const auto add = [&](double x, double y) {
        for (auto& p : out)
            if (Near(p[0], x, 1e-3) && Near(p[1], y, 1e-3)) return;
        out.push_back({x, y});
    };
    for (const Circ& c : Circles(ops))
        if (Near(c.r, r, 0.01)) add(c.cx, c.cy);
    for (const ArcOp& a : Arcs(ops))
        if (Near(a.r, r, 0.01)) add(a.cx, a.cy);
    return out;
}

size_t circleCount(const std::vector<DrawOp>& ops, double r) {
    size_t n = 0;
    for (const Circ& c : Circles(ops)) n += Near(c.r, r, 0.01);
    return n;
}

TEST_F(Plate, ShapesByArrangementSeriesAndCount) {
    struct Case {
        int16_t colV, abv, kvv, abn, rotate;
        double ecc;
        size_t holes05, holes08, arcs1, arcs15, arcs2;
    };
    const Case cases[] = {
        {2, 1, 1, 0, 0, 0, 8, 0, 4, 0, 0},    // plain rounded square
        {2, 1, 1, 3, 0, 0, 12, 0, 16, 8, 0},  // three-bolt lugs
        {2, 1, 1, 2, 0, 0, 8, 0, 12, 4, 0},   // two-bolt lugs, no extra holes
        {2, 1, 4, 3, 0, 0, 8, 0, 0, 0, 0},    // rectangle
        {2, 1, 6, 3, 0, 0, 8, 0, 0, 0, 0},    // side plates
        {2, 0, 4, 5, 0, 0, 0, 4, 0, 0, 0},    // rectangle: corner holes only
        {2, 0, 6, 5, 0, 0, 0, 4, 0, 4, 0},    // corner pieces: corner holes only
        {2, 0, 1, 2, 0, 0, 0, 4, 0, 8, 0},    // plain corner pieces
        {2, 0, 1, 2, 0, 50, 0, 3, 0, 4, 0},   // eccentric: quarter arcs, one hole an arc
        {0, 0, 1, 2, -1, 0, 0, 4, 0, 8, 0},   // box on an asymmetric base
        {2, 0, 1, 3, 0, 0, 0, 8, 0, 0, 4},
        {2, 0, 1, 4, 0, 0, 0, 12, 0, 0, 4},
        {2, 0, 1, 5, 0, 0, 0, 16, 0, 0, 4},
        {2, 0, 1, 7, 0, 0, 0, 4, 0, 0, 4},
    };
    for (const Case& c : cases) {
        col().ColV = c.colV;
        base().AbV = c.abv;
        base().KvV = c.kvv;
        base().AbN = c.abn;
        base().RotateMode = c.rotate;
        base().HenshinE(0) = base().HenshinE(1) = c.ecc;
        const std::string what = "AbV " + std::to_string(c.abv) + " KvV " +
                                 std::to_string(c.kvv) + " AbN " + std::to_string(c.abn);
        for (int16_t dir = 0; dir < 4; ++dir) {
            const auto ops = plate(dir);
            EXPECT_EQ(circleCount(ops, 0.5), c.holes05) << what;
            EXPECT_EQ(circleCount(ops, 0.8), c.holes08) << what;
            EXPECT_EQ(centres(ops, 1).size(), c.arcs1) << what;
            EXPECT_EQ(centres(ops, 1.5).size(), c.arcs15) << what;
            EXPECT_EQ(centres(ops, 2).size(), c.arcs2) << what;
        }
    }
}

// Every lug line ends on an arc, and every lug arc ends on a line: the
// outlines close.
TEST_F(Plate, LugOutlinesClose) {
    struct Case {
        int16_t colV, abv, abn, rotate;
    };
    for (const Case& c : {Case{2, 1, 3, 0}, Case{2, 1, 2, 0}, Case{2, 0, 2, 0}, Case{0, 0, 2, -1}}) {
        col().ColV = c.colV;
        base().AbV = c.abv;
        base().KvV = 1;
        base().AbN = c.abn;
        base().RotateMode = c.rotate;
        for (int16_t dir = 0; dir < 4; ++dir) {
            const auto ops = plate(dir);
            std::vector<ArcOp> lugs;
            // Not the plate's own corners (radius 1 at +-6).
            for (const ArcOp& a : Arcs(ops))
                if ((Near(a.r, 1, 1e-3) && !(Near(std::fabs(a.cx), 6) && Near(std::fabs(a.cy), 6))) ||
                    Near(a.r, 1.5, 1e-3))
                    lugs.push_back(a);
            // Lines that are not plate edges (those run along x or y).
            std::vector<std::array<double, 2>> ends;
            for (const Seg& s : Lines(ops))
                if (!Near(s.x1, s.x2) && !Near(s.y1, s.y2)) {
                    ends.push_back({s.x1, s.y1});
                    ends.push_back({s.x2, s.y2});
                }
            ASSERT_FALSE(ends.empty());
            const auto onArc = [&](std::array<double, 2> p) {
                for (const ArcOp& a : lugs) {
                    const double d = std::hypot(p[0] - a.cx, p[1] - a.cy);
                    if (std::fabs(d - a.r) > 0.05) continue;
                    double t = std::atan2(-(p[1] - a.cy), p[0] - a.cx);
                    if (t < 0) t += 2 * kP;
                    if (t >= a.st - 0.02 && t <= a.ed + 0.02) return true;
                    if (a.ed > 2 * kP - 0.02 && t < 0.02) return true;
                }
                return false;
            };
            for (auto p : ends)
                EXPECT_TRUE(onArc(p)) << "line end (" << p[0] << ", " << p[1] << ") AbV " << c.abv
                                      << " AbN " << c.abn << " dir " << dir;
            for (const ArcOp& a : lugs) {
                for (double t : {a.st, a.ed}) {
                    // Ends at angle 0 / 2π join the two halves of one arc.
                    if (Near(t, 0, 1e-4) || Near(t, 2 * kP, 1e-4)) continue;
                    const std::array<double, 2> q = {a.cx + a.r * std::cos(t),
                                                     a.cy - a.r * std::sin(t)};
                    const bool joined = std::any_of(ends.begin(), ends.end(), [&](auto p) {
                        return std::hypot(p[0] - q[0], p[1] - q[1]) < 0.05;
                    });
                    EXPECT_TRUE(joined) << "arc end (" << q[0] << ", " << q[1] << ") AbV "
                                        << c.abv << " AbN " << c.abn << " dir " << dir;
                }
            }
        }
    }
}

TEST_F(Plate, SeriesSixOutlinesDoNotTurnButBoltsDo) {
    base().KvV = 6;
    base().AbV = 0;
    base().HenshinE(0) = base().HenshinE(1) = 50;
    const auto l0 = Lines(plate(0));
    const auto ops1 = plate(1);
    const auto l1 = Lines(ops1);
    ASSERT_EQ(l0.size(), l1.size());
    for (const Seg& s : l0) EXPECT_TRUE(HasSeg(l1, s));
    // The eccentric first hole turns with dir: (-5, -5) goes to (-5, 5).
    bool turned = false;
    for (const ArcOp& a : Arcs(ops1))
        if (Near(a.r, 0.8) && Near(a.cx, -5) && Near(a.cy, 5)) turned = true;
    EXPECT_TRUE(turned);
}

}  // namespace
