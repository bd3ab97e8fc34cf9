// The whole diagram and its curve stages on scripted capacities (exact
// positions), and once per column kind on the sample catalogue's engine.
#include "drawing/nm_curves.h"
#include "drawing/nm_diagram.h"
#include "drawing/nm_points.h"
#include "drawing/recording.h"
#include "model/base_data.h"
#include "model/records.h"
#include "nm_fixture.h"
#include "platform/qt/ole_color.h"
#include "platform/text/vberror.h"

#include <algorithm>
#include <cmath>
#include <set>

using namespace drawing;
using nmtest::FakeNM;
using nmtest::NMGlobals;
using vbqt::RGB;

namespace {

constexpr int32_t kRed = RGB(255, 0, 0);
constexpr int32_t kBlue = RGB(0, 0, 255);
constexpr int32_t kGreen = RGB(0, 255, 0);

// A parabola through 0 at both ends with its top `top` in the middle.
double Arch(double top, double lo, double hi, double N) {
    const double half = (hi - lo) / 2;
    if (!(half > 0)) return 0;
    return top * (N - lo) * (hi - N) / (half * half);
}

double X(double M) { return gNMChart.X0 + M * gNMChart.ScaleX; }
double Y(double N) { return gNMChart.Y0 - N * gNMChart.ScaleY; }

bool Near(double a, double b) { return std::fabs(a - b) <= 1e-3 * (1 + std::fabs(b)); }

std::vector<DrawOp> Select(const std::vector<DrawOp>& ops, const std::string& kind, int32_t color,
                           int width = -1) {
    std::vector<DrawOp> out;
    for (const DrawOp& o : ops)
        if (o.kind == kind && o.color == color && (width < 0 || o.width == width)) out.push_back(o);
    return out;
}

bool HasLine(const std::vector<DrawOp>& ops, double x1, double y1, double x2, double y2, int32_t c) {
    return std::any_of(ops.begin(), ops.end(), [&](const DrawOp& o) {
        return o.kind == "Line" && o.color == c && Near(o.args[0], x1) && Near(o.args[1], y1) &&
               Near(o.args[2], x2) && Near(o.args[3], y2);
    });
}

std::vector<std::string> Texts(const std::vector<DrawOp>& ops) {
    std::vector<std::string> t;
    for (const DrawOp& o : ops)
        if (o.kind == "Print" || o.kind == "Text") t.push_back(o.text);
    return t;
}

class Diagram : public ::testing::Test {
protected:
    void SetUp() override {
        kv.nu = {1000, 800, 500};
        kv.nuC = {1000, 800, 500};
        kv.tuC = {70, 60, 50};
        kv.tu = {70, 60, 50};
        kv.tu1 = {20, 15, 10};
        kv.muMax = {240.0 * 158 / 188, 150, 100};
        kv.mu = [this](int s, double N) {
            const size_t i = static_cast<size_t>(s);
            return Arch(kv.muMax[i], -kv.tuC[i], kv.nuC[i], N);
        };
        kv.data.KvLen(0, 1) = 400;
        kv.data.KvLen(0, 3) = 300;
        model::KvBaseTbl& b = model::gKvBase(1);
        b.KvV = 0;
        b.AbV = 0;
        b.AbN = 2;
        b.RotateMode = model::kTrue;
        model::gColumns(1).KolvanID = 100;
        for (long d = 0; d <= 1; ++d)
            for (long k = 1; k <= 8; ++k) model::gResults(1).JadgeM(d, k) = -1;
        po.setprpMode(2);
        po.setprpPicture(&pic);
        pic.setFontSize(11);
    }
    void show(bool ult, bool sht, bool lng, bool col = false) {
        model::gNMCurveShow(0) = ult;
        model::gNMCurveShow(1) = sht;
        model::gNMCurveShow(2) = lng;
        model::gNMCurveShow(3) = col;
    }
    void draw() {
        int16_t iCol = 1, dir = 0;
        DrawNMDiagram(kv, po, iCol, dir);
    }
    void stress(long d, long k, double N, double M, int16_t verdict) {
        model::gResults(1).DesignStress(3 * d + 1, k) = N;
        model::gResults(1).DesignStress(3 * d + 2, k) = M;
        model::gResults(1).JadgeM(d, k) = verdict;
    }
    // Draws on screen or paper and checks that the axis values come after
    // every line and box before the legend box, and before it, each once
    // (paper: at most once, as the frame cuts a value that starts outside
    // it), none on a zone mark. Returns how many printed values lie over a
    // white box other than the legend.
    int checkValuesOnTop(bool paper, const std::string& where) {
        if (paper) {
            po.setprpMode(1);
            po.setprpVsPrinter(&page);
        } else {
            po.setprpMode(2);
            po.setprpPicture(&pic);
        }
        pic.ops.clear();
        page.ops.clear();
        draw();
        const std::vector<DrawOp>& ops = paper ? page.ops : pic.ops;
        const double dy = paper ? 4.5 : 0;  // the page logs y 4.5 lower
        const auto width = [&](const std::string& t) { return paper ? page.TextWidth(t) : pic.TextWidth(t); };
        const auto height = [&](const std::string& t) { return paper ? page.TextHeight(t) : pic.TextHeight(t); };
        // A value's rim: copies in the ground colour round it, a pixel (a tenth
        // of a millimetre) off, so that no line hides one of its strokes.
        const int32_t ground = paper ? RGB(255, 255, 255) : pic.BackColor();
        const double rim = paper ? 0.1 : 15;
        const auto isAnyText = [](const DrawOp& o) { return o.kind == "Print" || o.kind == "Text"; };
        const auto isRim = [&](const DrawOp& o) { return isAnyText(o) && o.color == ground; };
        const auto isText = [&](const DrawOp& o) { return isAnyText(o) && !isRim(o); };
        const auto whiteFill = [&](const DrawOp& o) {
            return paper ? o.kind == "Rectangle" && o.filled && o.fillColor == RGB(255, 255, 255)
                         : o.kind == "BoxFill" && o.color == RGB(255, 255, 255);
        };
        size_t legend = ops.size();
        for (size_t i = 0; i < ops.size(); ++i)
            if (whiteFill(ops[i])) legend = i;
        EXPECT_LT(legend, ops.size()) << where;
        size_t lastShape = 0;
        for (size_t i = 0; i < legend && i < ops.size(); ++i)
            if (!isAnyText(ops[i])) lastShape = i;
        const auto meets = [&](double x, double y, const std::string& t, const DrawOp& o, double w, double h) {
            return x < o.args[0] + w && o.args[0] < x + width(t) && y < o.args[1] + h && o.args[1] < y + height(t);
        };
        std::vector<NMTickLabel> values = NMTickLabels();
        EXPECT_GT(values.size(), 5u) << where;
        int overBox = 0;
        for (const NMTickLabel& v : values) {
            const double y = v.y + dy;
            bool onMark = false;
            for (const DrawOp& m : ops)
                if (isText(m) && (m.text == "Ⅰ" || m.text == "Ⅱ"))
                    onMark = onMark || meets(v.x, y, v.text, m, width(m.text), height(m.text));
            std::vector<size_t> at;
            for (size_t i = 0; i < ops.size(); ++i)
                if (isText(ops[i]) && ops[i].text == v.text && Near(ops[i].args[0], v.x) && Near(ops[i].args[1], y))
                    at.push_back(i);
            const std::string what = where + ": " + v.text + " at " + std::to_string(v.x) + ", " + std::to_string(v.y);
            if (onMark) EXPECT_TRUE(at.empty()) << what;
            else if (paper) EXPECT_LE(at.size(), 1u) << what;
            else EXPECT_EQ(at.size(), 1u) << what;
            for (const size_t i : at) {
                EXPECT_GT(i, lastShape) << what << " is printed before a line or box";
                EXPECT_LT(i, legend) << what << " is printed after the legend box";
            }
            if (at.empty()) continue;
            // Its rim: eight copies round it, after every line and box, before it.
            int rims = 0;
            for (size_t i = 0; i < ops.size(); ++i) {
                const DrawOp& o = ops[i];
                if (!isRim(o) || o.text != v.text) continue;
                const double ox = o.args[0] - v.x;
                const double oy = o.args[1] - y;
                if (std::fabs(std::fabs(ox) - rim) > 1e-6 && std::fabs(ox) > 1e-6) continue;
                if (std::fabs(std::fabs(oy) - rim) > 1e-6 && std::fabs(oy) > 1e-6) continue;
                if (std::fabs(ox) < 1e-6 && std::fabs(oy) < 1e-6) continue;
                ++rims;
                EXPECT_GT(i, lastShape) << what << ": its rim is drawn before a line or box";
                EXPECT_LT(i, at.front()) << what << ": its rim is drawn over it";
            }
            EXPECT_EQ(rims, 8) << what;
            for (size_t b = 0; b < legend; ++b) {
                if (!whiteFill(ops[b])) continue;
                const auto& a = ops[b].args;
                overBox += v.x < std::max(a[0], a[2]) && std::min(a[0], a[2]) < v.x + width(v.text) &&
                           y < std::max(a[1], a[3]) && std::min(a[1], a[3]) < y + height(v.text);
            }
        }
        for (const char* title : {"M(kN･m)", "N(kN)"}) {
            std::vector<size_t> at;
            for (size_t i = 0; i < ops.size(); ++i)
                if (isText(ops[i]) && ops[i].text == title) at.push_back(i);
            EXPECT_LE(at.size(), 1u) << where << ": " << title;
            for (const size_t i : at) {
                EXPECT_GT(i, lastShape) << where << ": " << title << " is printed before a line or box";
                EXPECT_LT(i, legend) << where << ": " << title;
            }
        }
        return overBox;
    }
    NMGlobals globals;
    FakeNM kv;
    RecordingPicture pic;
    RecordingPage page{1.0};
    clsPrintOut po;
};

TEST_F(Diagram, ScalingOfTheWorkedExampleOnScreen) {
    show(true, false, false);
    draw();
    const FigureFrameTbl& f = gNMChart;
    EXPECT_NEAR(f.MaxN, 170, 1e-9);
    EXPECT_NEAR(f.MinN, -1100, 1e-9);
    EXPECT_NEAR(f.MaxM, 240, 1e-9);
    EXPECT_EQ(f.StepM, 50);
    EXPECT_EQ(f.StepN, 250);
    EXPECT_NEAR(f.ScaleX, 4800.0 / 240 / 2, 1e-9);
    EXPECT_NEAR(f.ScaleY, 3600.0 / 1270, 1e-9);
    EXPECT_NEAR(f.X0, 2400, 1e-9);
    EXPECT_NEAR(f.Y0, 1100 * 3600.0 / 1270, 1e-9);
    // Cleared in the window colour, then framed.
    ASSERT_GE(pic.ops.size(), 2u);
    EXPECT_EQ(pic.ops[0].kind, "Cls");
    EXPECT_EQ(pic.ops[0].color, static_cast<int32_t>(0x80000005));
    EXPECT_EQ(pic.ops[1].kind, "Box");
    EXPECT_EQ(pic.ops[1].args, (std::vector<double>{0, 0, 4800, 3600}));
}

// The moment step is the first of 5, 10, 25, 50, ... with fewer than 5 steps
// over MaxM: exactly 5 steps is one too many.
TEST_F(Diagram, MomentStepAtItsThreshold) {
    struct Case {
        double maxM, step;
    } cases[] = {{250, 100}, {249, 50}, {25, 10}, {24, 5}};
    show(true, false, false);
    for (const Case& c : cases) {
        kv.muMax[0] = c.maxM * 158 / 188;  // MaxM = Mm × 188 / 158, exact here
        draw();
        ASSERT_EQ(gNMChart.MaxM, c.maxM);
        EXPECT_EQ(gNMChart.StepM, c.step) << "MaxM " << c.maxM;
    }
}

TEST_F(Diagram, ScalingIntoThePrintedArea) {
    po.setprpMode(1);
    po.setprpVsPrinter(&page);
    gNMChart.AreaLeft = 10;
    gNMChart.AreaTop = 20;
    gNMChart.AreaWidth = 82.5;
    gNMChart.AreaHeight = 138;
    show(true, false, false);
    draw();
    const FigureFrameTbl& f = gNMChart;
    EXPECT_NEAR(f.ScaleX, 82.5 / 480, 1e-12);
    EXPECT_NEAR(f.ScaleY, 138.0 / 1270, 1e-12);
    EXPECT_NEAR(f.X0, 51.25, 1e-12);
    EXPECT_NEAR(f.Y0, 1100 * 138.0 / 1270 + 20, 1e-9);
    EXPECT_EQ(f.AreaWidth, 82.5);
    // Nothing cleared on paper; the frame is the area (4.5 mm lower on the page).
    ASSERT_FALSE(page.ops.empty());
    EXPECT_EQ(page.ops[0].kind, "Rectangle");
    EXPECT_EQ(page.ops[0].args, (std::vector<double>{10, 24.5, 92.5, 162.5}));
}

TEST_F(Diagram, FigureModesDrawNothing) {
    gNMChart.MaxM = 777;
    const FigureFrameTbl before = gNMChart;
    const auto same = [&before] {
        return gNMChart.MaxM == before.MaxM && gNMChart.X0 == before.X0 && gNMChart.ScaleY == before.ScaleY;
    };
    for (const int16_t mode : {4, 5}) {
        model::gDispMode = mode;
        draw();
        EXPECT_TRUE(pic.ops.empty()) << mode;
        EXPECT_TRUE(same());
    }
}

TEST_F(Diagram, ExtentsWithoutScaleFailBeforeDrawing) {
    struct Case {
        const char* what;
        double nc, nt, mm;
    };
    const Case cases[] = {{"no axial range", 0, 0, 100},
                          {"negative axial range", -50, 10, 100},
                          {"no moment", 1000, 70, 0},
                          {"no M step fits", 1000, 70, 1e6},
                          {"no N step fits", 1e7, 70, 100}};
    show(true, false, false);
    gNMChart.MaxM = 777;
    for (const Case& c : cases) {
        kv.nuC[0] = c.nc;
        kv.tuC[0] = c.nt;
        kv.muMax[0] = c.mm;
        pic.ops.clear();
        EXPECT_THROW(draw(), vb::Error) << c.what;
        EXPECT_TRUE(pic.ops.empty()) << c.what;
        EXPECT_EQ(gNMChart.MaxM, 777) << c.what;
    }
}

TEST_F(Diagram, NoStateShownDrawsFrameAndAxesOnly) {
    show(false, false, false, true);
    stress(0, 1, 100, 10, 0);
    ASSERT_NO_THROW(draw());
    EXPECT_EQ(std::count(kv.log.begin(), kv.log.end(), "Condition=-1"), 0);
    for (const int32_t c : {kRed, kBlue, kGreen}) {
        EXPECT_TRUE(Select(pic.ops, "Line", c).empty());
        EXPECT_TRUE(Select(pic.ops, "PSet", c).empty());
    }
    EXPECT_TRUE(Select(pic.ops, "BoxFill", RGB(255, 255, 255)).size() == 1u);  // the direction box
    // The direction, then the axis values.
    const auto t = Texts(pic.ops);
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.front(), "X");
    EXPECT_EQ(t.back(), "N(kN)");
    EXPECT_GT(gNMChart.ScaleX, 0);
}

TEST_F(Diagram, MarkersByStateAndVerdict) {
    show(true, true, true);
    stress(0, 1, 300, 40, -1);  // long-term passes: square
    stress(0, 4, 200, 60, -1);  // short-term passes: circle
    stress(0, 5, 100, 90, 0);   // short-term fails: cross
    stress(0, 6, 400, 70, 2);   // ultimate within 1 %: triangle, not cross
    stress(0, 7, 500, 200, 0);  // ultimate fails: cross
    draw();
    const double u = gNMChart.MaxM / 45 * gNMChart.ScaleX;
    const auto P = [](double M, double N) { return std::pair{X(M), Y(N)}; };
    auto [x1, y1] = P(40, 300);
    EXPECT_TRUE(HasLine(pic.ops, x1 - u, y1 - u, x1 + u, y1 - u, kGreen));
    EXPECT_TRUE(HasLine(pic.ops, x1 - u, y1 + u, x1 - u, y1 - u, kGreen));
    auto [x4, y4] = P(60, 200);
    const auto circles = Select(pic.ops, "Circle", kBlue);
    EXPECT_TRUE(std::any_of(circles.begin(), circles.end(), [&](const DrawOp& o) {
        return Near(o.args[0], x4) && Near(o.args[1], y4) && Near(o.args[2], u);
    }));
    auto [x5, y5] = P(90, 100);
    EXPECT_TRUE(HasLine(pic.ops, x5 - 1.5 * u, y5 + 1.5 * u, x5 + 1.5 * u, y5 - 1.5 * u, kBlue));
    EXPECT_TRUE(HasLine(pic.ops, x5 + 1.5 * u, y5 + 1.5 * u, x5 - 1.5 * u, y5 - 1.5 * u, kBlue));
    auto [x6, y6] = P(70, 400);
    const double h = 1.5 * u * std::sqrt(3.0) / 2;
    EXPECT_TRUE(HasLine(pic.ops, x6, y6 - 1.5 * u, x6 - h, y6 + 0.75 * u, kRed));
    EXPECT_FALSE(HasLine(pic.ops, x6 - 1.5 * u, y6 + 1.5 * u, x6 + 1.5 * u, y6 - 1.5 * u, kRed));
    auto [x7, y7] = P(200, 500);
    EXPECT_TRUE(HasLine(pic.ops, x7 - 1.5 * u, y7 + 1.5 * u, x7 + 1.5 * u, y7 - 1.5 * u, kRed));
    // Dots on passed points (1, 4, 6) and on the legend circle and triangle.
    EXPECT_EQ(Select(pic.ops, "PSet", kGreen).size(), 1u);
    EXPECT_EQ(Select(pic.ops, "PSet", kBlue).size(), 2u);
    EXPECT_EQ(Select(pic.ops, "PSet", kRed).size(), 2u);
    // Legend: long, short, ultimate from the top, in a box three lines high.
    std::vector<std::pair<double, std::string>> legend;
    for (const DrawOp& o : pic.ops)
        if (o.kind == "Print" && o.text.find("時応力") != std::string::npos) legend.push_back({o.args[1], o.text});
    ASSERT_EQ(legend.size(), 3u);
    EXPECT_EQ(legend[0].second, "長期時応力");
    EXPECT_EQ(legend[1].second, "短期時応力");
    EXPECT_EQ(legend[2].second, "終局時応力");
    EXPECT_LT(legend[0].first, legend[1].first);
    EXPECT_LT(legend[1].first, legend[2].first);
    EXPECT_FLOAT_EQ(static_cast<float>(legend[0].first), static_cast<float>(Y(-0.935 * gNMChart.MinN)));
    const auto boxes = Select(pic.ops, "BoxFill", RGB(255, 255, 255));
    ASSERT_FALSE(boxes.empty());
    const DrawOp& box = boxes.back();
    EXPECT_NEAR(box.args[0], X(0.3 * gNMChart.MaxM), 0.01);
    EXPECT_NEAR(box.args[3], Y(-(0.95 - 0.21) * gNMChart.MinN), 0.01);
}

TEST_F(Diagram, SymmetricBaseShowsBothDirections) {
    show(false, true, false);
    stress(0, 4, 200, 60, -1);
    stress(0, 5, 100, 30, -1);
    stress(1, 4, 250, 50, -1);
    stress(1, 5, 150, 20, 0);
    for (const int16_t rotate : {model::kTrue, model::kFalse}) {
        model::gKvBase(1).RotateMode = rotate;
        pic.ops.clear();
        draw();
        // Circles: the shown direction and the legend, plus the other direction's pass.
        EXPECT_EQ(Select(pic.ops, "Circle", kBlue).size(), rotate ? 3u : 4u);
        const double u = gNMChart.MaxM / 45 * gNMChart.ScaleX;
        EXPECT_EQ(HasLine(pic.ops, X(20) - 1.5 * u, Y(150) + 1.5 * u, X(20) + 1.5 * u, Y(150) - 1.5 * u, kBlue),
                  !rotate);
    }
}

TEST_F(Diagram, UltimateWithoutItsVerdictKeepsAnEmptyOneLineLegend) {
    show(true, false, false);
    model::gCond.UltJadge = model::kFalse;
    stress(0, 6, 400, 70, -1);
    draw();
    EXPECT_TRUE(Select(pic.ops, "PSet", kRed).empty());
    const auto t = Texts(pic.ops);
    EXPECT_EQ(std::count(t.begin(), t.end(), "終局時応力"), 0);
    const auto boxes = Select(pic.ops, "BoxFill", RGB(255, 255, 255));
    ASSERT_FALSE(boxes.empty());
    const DrawOp box = boxes.back();
    EXPECT_NEAR(box.args[1], Y(-0.95 * gNMChart.MinN), 0.01);
    EXPECT_NEAR(box.args[3], Y(-0.88 * gNMChart.MinN), 0.01);
}

// ---- steel stage ----

TEST_F(Diagram, SteelCurvesAreSampledMirroredAndLabelled) {
    show(false, true, false);
    draw();
    const auto curve = Select(pic.ops, "Line", kBlue, 2);
    ASSERT_EQ(curve.size(), 2u * (101 + 1));
    // The negative side is the positive side mirrored about the N axis.
    const float x0 = static_cast<float>(gNMChart.X0);
    std::multiset<std::vector<double>> right, left;
    for (size_t i = 0; i < curve.size(); ++i) {
        const auto& a = curve[i].args;
        const auto r = [](double v) { return std::round(v * 10) / 10; };
        if (i < 102) right.insert({r(a[0]), r(a[1]), r(a[2]), r(a[3])});
        else left.insert({r(2 * x0 - a[0]), r(a[1]), r(2 * x0 - a[2]), r(a[3])});
    }
    EXPECT_EQ(right, left);
    // From (0, Nu_) to (0, -Tu_).
    EXPECT_TRUE(Near(curve.front().args[0], X(0)) && Near(curve.front().args[1], Y(800)));
    EXPECT_TRUE(Near(curve[101].args[2], X(0)) && Near(curve[101].args[3], Y(-60)));
    const auto label = std::find_if(pic.ops.begin(), pic.ops.end(),
                                    [](const DrawOp& o) { return o.text == "短期許容耐力"; });
    ASSERT_NE(label, pic.ops.end());
    EXPECT_NEAR(label->args[0], X(-kv.mu(1, 640)), 0.01);
    EXPECT_NEAR(label->args[1], Y(640), 0.01);
    EXPECT_EQ(label->color, kBlue);
}

TEST_F(Diagram, ZoneBoundariesAndNames) {
    show(true, true, false);
    draw();
    // Names of the five zones, twice each, at 0.7 of the midpoints of the
    // last state's points, moved left by MaxM / 24.
    NMPointArray Nhi, Mhi;
    FakeNM again = kv;
    int16_t iCol = 1, dir = 0;
    CalcNMCurvePoints(again, 1, Nhi, Mhi, iCol, dir);
    const char* names[] = {"A", "B", "C1", "C2", "D"};
    for (long i = 1; i <= 5; ++i) {
        const double m = 0.7 * (Mhi(0, i - 1) + Mhi(0, i)) / 2;
        const double n = 0.7 * (Nhi(0, i - 1) + Nhi(0, i)) / 2;
        for (const double at : {m - gNMChart.MaxM / 24, -m - gNMChart.MaxM / 24}) {
            EXPECT_TRUE(std::any_of(pic.ops.begin(), pic.ops.end(), [&](const DrawOp& o) {
                return o.text == names[i - 1] && Near(o.args[0], X(at)) && Near(o.args[1], Y(n));
            })) << names[i - 1];
        }
    }
    // Four boundaries, dotted, both sides.
    EXPECT_EQ(std::count_if(pic.ops.begin(), pic.ops.end(),
                            [](const DrawOp& o) { return o.kind == "Line" && o.style == 2; }),
              8);
}

TEST_F(Diagram, ZoneWithoutMomentLosesItsBoundaryAndNames) {
    show(true, false, false);
    // Point 2 of the ultimate set lies at N = 875 - 40 = 835.
    kv.mu = [](int, double N) { return std::fabs(N - 835) < 1 ? 0.005 : Arch(201.7, -70, 1000, N); };
    draw();
    const auto t = Texts(pic.ops);
    EXPECT_EQ(std::count(t.begin(), t.end(), "B"), 0);
    EXPECT_EQ(std::count(t.begin(), t.end(), "A"), 2);
    EXPECT_EQ(std::count(t.begin(), t.end(), "D"), 2);
    EXPECT_EQ(std::count_if(pic.ops.begin(), pic.ops.end(),
                            [](const DrawOp& o) { return o.kind == "Line" && o.style == 2; }),
              6);
}

TEST_F(Diagram, ColumnPolygonsWithTheFourthFlag) {
    model::ColumnDataTbl& col = model::gColumns(1);
    col.ColF = 3.3;
    const double spec[] = {100, 500, 600, 500, 600};
    for (long k = 0; k <= 4; ++k) col.ColSpec(k) = spec[k];
    for (const auto& [colV, k] : std::initializer_list<std::pair<int16_t, double>>{{0, 0.25}, {2, 0.125}}) {
        col.ColV = colV;
        for (const bool flag : {false, true}) {
            show(true, true, false, flag);
            pic.ops.clear();
            draw();
            // Short-term diamond Ny = 330, My = 16.5; plastic hexagon Mp = 19.8.
            EXPECT_EQ(HasLine(pic.ops, X(0), Y(330), X(16.5), Y(0), kBlue), flag);
            EXPECT_EQ(HasLine(pic.ops, X(19.8), Y(k * 330), X(19.8), Y(-k * 330), kRed), flag) << colV;
        }
    }
}

TEST_F(Diagram, RebarZoneRaysAndMarks) {
    model::gKvBase(1).KvV = 2;
    show(true, true, false);
    draw();
    const double Nz = -0.5 * 70;
    const double Mz = kv.mu(0, Nz);
    const double MaxM = gNMChart.MaxM;
    EXPECT_TRUE(HasLine(pic.ops, X(0), Y(0), X(Mz), Y(Nz), 0));
    EXPECT_TRUE(HasLine(pic.ops, X(0), Y(0), X(-Mz), Y(Nz), 0));
    // The long rays reach the side edges.
    const double R = MaxM / Mz;
    EXPECT_TRUE(HasLine(pic.ops, X(0), Y(0), X(MaxM), Y(R * Nz), 0));
    // The marks are placed as for R = 2.3.
    ASSERT_GT(R, 2.3);
    const double r = (Mz * 2.3 - 0.15 * MaxM) / Mz;
    EXPECT_TRUE(std::any_of(pic.ops.begin(), pic.ops.end(), [&](const DrawOp& o) {
        return o.text == "Ⅰ" && Near(o.args[0], X(Mz * r + 0.025 * MaxM)) &&
               Near(o.args[1], Y((r - 0.25) * Nz - 0.08 * gNMChart.MinN));
    }));
    EXPECT_TRUE(std::any_of(pic.ops.begin(), pic.ops.end(), [&](const DrawOp& o) {
        return o.text == "Ⅱ" && Near(o.args[0], X(-Mz * r + 0.055 * MaxM)) &&
               Near(o.args[1], Y((r + 0.15) * Nz + 0.02 * gNMChart.MinN));
    }));
    EXPECT_EQ(Select(pic.ops, "BoxFill", RGB(255, 255, 255)).size(), 4u + 1 + 1);
    // Series 0 has none of it.
    model::gKvBase(1).KvV = 0;
    pic.ops.clear();
    draw();
    const auto t = Texts(pic.ops);
    EXPECT_EQ(std::count(t.begin(), t.end(), "Ⅰ"), 0);
}

// On paper nothing of the diagram leaves its chart frame: rays of the zone
// boundaries and of the rebar zones, curves and markers stop at it, as the
// picture box cuts them on screen; a text that would start outside is left
// out. The table: a rebar zone ray steep enough to run out at the bottom,
// and stresses far outside the chart.
TEST_F(Diagram, PaperDrawingStaysInsideTheChartFrame) {
    po.setprpMode(1);
    po.setprpVsPrinter(&page);
    FigureFrameTbl& f = gNMChart;
    f.AreaLeft = 15;
    f.AreaTop = 30;
    f.AreaWidth = 82.5;
    f.AreaHeight = 100;
    struct Case {
        int16_t kvV;
        double alpha, stressM, stressN;
    } cases[] = {{1, 0.95, 0, 0}, {2, 0.5, 900, -400}, {0, 0.5, -900, 3000}};
    show(true, true, true, true);
    for (const Case& c : cases) {
        model::gKvBase(1).KvV = c.kvV;
        model::gKvBase(1).NAlpha = c.alpha;
        for (long k : {1, 4, 5, 6, 7}) stress(0, k, c.stressN, c.stressM, k == 5 ? 0 : -1);
        page.ops.clear();
        draw();
        const double l = f.AreaLeft, r = f.AreaLeft + f.AreaWidth;
        const double t = f.AreaTop + 4.5, b = f.AreaTop + f.AreaHeight + 4.5;
        const auto inside = [&](double x, double y) {
            return x >= l - 1e-9 && x <= r + 1e-9 && y >= t - 1e-9 && y <= b + 1e-9;
        };
        int lines = 0;
        for (const DrawOp& o : page.ops) {
            if (o.kind == "Line" || o.kind == "Rectangle") {
                ++lines;
                EXPECT_TRUE(inside(o.args[0], o.args[1]) && inside(o.args[2], o.args[3]))
                    << "series " << c.kvV << ": " << o.str();
            } else if (o.kind == "Circle" || o.kind == "Arc") {
                EXPECT_TRUE(inside(o.args[0] - o.args[2], o.args[1] - o.args[2]) &&
                            inside(o.args[0] + o.args[2], o.args[1] + o.args[2]))
                    << "series " << c.kvV << ": " << o.str();
            } else if (o.kind == "Text") {
                EXPECT_TRUE(inside(o.args[0], o.args[1])) << "series " << c.kvV << ": " << o.str();
            }
        }
        EXPECT_GT(lines, 100) << "series " << c.kvV;
    }
    // What follows the diagram on the page is not cut.
    po.Draw_Line(0, 0, 200, 280, 0);
    ASSERT_EQ(page.ops.back().kind, "Line");
    EXPECT_EQ(page.ops.back().args, (std::vector<double>{0, 4.5, 200, 284.5}));
}

// Every axis value (tick labels and titles) stands whole over the curves,
// rays and zone boxes: printed once, after every line and box of the chart
// and before the legend box; a value that would meet a zone mark is left
// out. A table of surfaces and bases, the rebar zones' tension moving their
// boxes over the values.
TEST_F(Diagram, AxisValuesArePrintedOnceOverCurvesRaysAndBoxes) {
    show(true, true, false);
    struct Case {
        int16_t kvV;
        double tension;
        bool paper;
    } cases[] = {{2, 70, false}, {2, 400, false}, {2, 900, false}, {0, 70, false},
                 {2, 70, true},  {2, 400, true},  {0, 70, true}};
    FigureFrameTbl& f = gNMChart;
    f.AreaLeft = 15;
    f.AreaTop = 30;
    f.AreaWidth = 82.5;
    f.AreaHeight = 138;
    int underBox = 0;
    for (const Case& c : cases) {
        model::gKvBase(1).KvV = c.kvV;
        kv.tu = {c.tension, 60, 50};
        kv.tuC = {c.tension, 60, 50};
        underBox += checkValuesOnTop(c.paper, "series " + std::to_string(c.kvV) + " tension " +
                                                  std::to_string(c.tension) + (c.paper ? " paper" : " screen"));
    }
    EXPECT_GT(underBox, 0) << "no case puts a zone box over an axis value";
}

TEST_F(Diagram, RebarZoneWithoutMomentFails) {
    model::gKvBase(1).KvV = 2;
    show(true, false, false);
    kv.mu = [](int, double N) { return N < 0 ? 0.0 : Arch(201.7, -70, 1000, N); };
    EXPECT_THROW(draw(), vb::Error);
}

TEST_F(Diagram, StateWithoutRangeDrawsNoCurve) {
    show(true, true, false);
    model::gCond.UltJadge = model::kFalse;  // no triangles among the curve's lines
    kv.nuC[1] = 0;
    kv.tuC[1] = 0;
    draw();
    EXPECT_TRUE(Select(pic.ops, "Line", kBlue, 2).empty());
    const auto t = Texts(pic.ops);
    EXPECT_EQ(std::count(t.begin(), t.end(), "短期許容耐力"), 0);
    EXPECT_EQ(Select(pic.ops, "Line", kRed, 2).size(), 204u);
}

// ---- SRC stage ----

class DiagramSrc : public Diagram {
protected:
    void SetUp() override {
        Diagram::SetUp();
        model::gCond.SMode = model::kFalse;
        model::gCond.UltJadge = model::kFalse;
        model::gCond.DesignRootX = 1;
        model::gCond.DesignRootY = 3;
        kv.srcMax[0] = 1500;
        kv.srcMin[0] = -300;
        kv.srcMmaxV[0] = 400;
        kv.cNmaxV[0] = 900;
        kv.colNmaxV[0] = 400;
        kv.colMmaxV[0] = 150;
        kv.rNmaxV[0] = 200;
        kv.rMmaxV[0] = 60;
        kv.tCrit = 250;
        kv.srcMuF = [](int, double N) { return Arch(400, -300, 1500, N); };
        kv.cMF = [](int, double N) { return Arch(200, 0, 900, N); };
        kv.colMF = [](int, double) { return 50.0; };
        show(true, false, false);
    }
};

TEST_F(DiagramSrc, ExtentsFromTheSuperposedCurve) {
    draw();
    const double s = 1800.0 / 107;
    EXPECT_NEAR(gNMChart.MaxN, 10 * s + 300, 1e-9);
    EXPECT_NEAR(gNMChart.MaxM, 400.0 * 188 / 158, 1e-9);
    // Order: base, state, direction, section, route and wall of the shown direction.
    const std::vector<std::string> head(kv.log.begin(), kv.log.begin() + 7);
    EXPECT_EQ(head, (std::vector<std::string>{"base 100", "Condition=0", "Direction=0", "src",
                                              "DesignRoot=1", "srcWall=0", "setRuika"}));
}

TEST_F(DiagramSrc, CurvesPartsAndTheirEnds) {
    draw();
    // Superposed (thick): 100 steps and the closing segment per side.
    const auto thick = Select(pic.ops, "Line", kRed, 2);
    ASSERT_EQ(thick.size(), 204u);
    EXPECT_TRUE(Near(thick.front().args[1], Y(1500)));
    EXPECT_LT(thick[50].args[2], gNMChart.X0);  // negative side first
    EXPECT_TRUE(Near(thick.back().args[2], X(0)) && Near(thick.back().args[3], Y(-300)));
    // Thin: base 204, concrete 204, ultimate steel 3 per side, rebar diamond 2 per side.
    const auto thin = Select(pic.ops, "Line", kRed, 1);
    EXPECT_EQ(thin.size(), 204u + 204 + 6 + 4);
    // The concrete closes at the origin on both sides (thin[204 + 101], thin[204 + 203]).
    for (const size_t i : {204u + 101, 204u + 203}) {
        EXPECT_TRUE(Near(thin[i].args[2], X(0)) && Near(thin[i].args[3], Y(0))) << i;
    }
    EXPECT_TRUE(Near(thin[204].args[1], Y(900)));
    // Steel above the bottom edge: hexagon sides at +-Ns/8, closed at (0, -Ns).
    EXPECT_TRUE(HasLine(thin, X(150), Y(50), X(150), Y(-50), kRed));
    EXPECT_TRUE(HasLine(thin, X(-150), Y(-50), X(0), Y(-400), kRed));
    // The rebar diamond, whole.
    EXPECT_TRUE(HasLine(thin, X(60), Y(0), X(0), Y(-200), kRed));
}

TEST_F(DiagramSrc, SteelBeyondTheBottomEdgeIsCut) {
    kv.colNmaxV[0] = 600;
    model::gNMCurveShow(0) = false;
    model::gNMCurveShow(1) = true;
    kv.srcMax[1] = 1500;
    kv.srcMin[1] = -300;
    kv.srcMmaxV[1] = 400;
    kv.colNmaxV[1] = 600;
    kv.colMmaxV[1] = 150;
    kv.nuC[1] = 1000;
    kv.tuC[1] = 100;
    draw();
    const double bottom = -gNMChart.MaxN;
    ASSERT_LT(bottom, -0.0);
    EXPECT_EQ(kv.coln, bottom);
    EXPECT_TRUE(HasLine(pic.ops, X(150), Y(0), X(50), Y(bottom), kBlue));
    EXPECT_TRUE(HasLine(pic.ops, X(-150), Y(0), X(-50), Y(bottom), kBlue));
}

TEST_F(DiagramSrc, LimitAxialForceMarksByRouteAndWall) {
    struct Case {
        int16_t dispMode, wall;
        bool line, band;
    };
    // X route 1, Y route 3.
    for (const Case c : {Case{0, 0, false, true}, Case{1, 0, true, true}, Case{1, 1, false, false},
                         Case{0, 1, false, true}}) {
        model::gDispMode = c.dispMode;
        model::gColumns(1).CenColWall(c.dispMode) = c.wall;
        pic.ops.clear();
        draw();
        const auto lines = Select(pic.ops, "Line", RGB(204, 204, 85), 2);
        EXPECT_EQ(lines.size(), c.line ? 1u : 0u) << c.dispMode << c.wall;
        if (c.line) {
            EXPECT_TRUE(Near(lines[0].args[1], Y(-125)));
        }
        const auto bands = Select(pic.ops, "BoxFill", RGB(119, 119, 119));
        EXPECT_EQ(bands.size(), c.band ? 1u : 0u) << c.dispMode << c.wall;
        if (c.band) {
            EXPECT_TRUE(Near(bands[0].args[1], Y(-250)));
            EXPECT_TRUE(Near(bands[0].args[3], Y(-gNMChart.MaxN)));
        }
        model::gColumns(1).CenColWall(c.dispMode) = 0;
    }
}

TEST_F(DiagramSrc, AxisValuesArePrintedOnceOverTheCurves) {
    gNMChart.AreaLeft = 15;
    gNMChart.AreaTop = 30;
    gNMChart.AreaWidth = 82.5;
    gNMChart.AreaHeight = 138;
    for (const bool paper : {false, true}) checkValuesOnTop(paper, paper ? "paper" : "screen");
}

TEST_F(DiagramSrc, BandIsGreyOnPaperToo) {
    po.setprpMode(1);
    po.setprpVsPrinter(&page);
    gNMChart.AreaWidth = 82.5;
    gNMChart.AreaHeight = 138;
    draw();
    EXPECT_TRUE(std::any_of(page.ops.begin(), page.ops.end(), [](const DrawOp& o) {
        return o.kind == "Rectangle" && o.filled && o.fillColor == RGB(119, 119, 119);
    }));
}

// ---- the sample catalogue ----

bool AllFinite(const std::vector<DrawOp>& ops) {
    return std::all_of(ops.begin(), ops.end(), [](const DrawOp& o) {
        return std::all_of(o.args.begin(), o.args.end(), [](double v) { return std::isfinite(v); });
    });
}

TEST(DiagramSample, SteelAndSrcColumnsDrawCompletely) {
    NMGlobals globals;
    kv::KV& engine = nmtest::SampleEngine();
    engine.setSIFlag(true);
    NMEngineKv e(engine);
    model::gNMCurveShow(2) = true;
    model::gCond.UltJadge = model::kFalse;  // no triangles among the curve's lines
    struct Case {
        int32_t id;
        bool sMode;
    };
    for (const Case c : {Case{100100, true}, Case{160110, true}, Case{150320, true}, Case{1000500, false}}) {
        model::gCond.SMode = c.sMode ? model::kTrue : model::kFalse;
        model::ColumnDataTbl col = model::MakeColumnDefault(0, true, 24);
        if (!c.sMode) col = model::MakeColumnDefaultSrc(col, true);
        col.KolvanID = c.id;
        model::gColumns(1) = col;
        model::LoadKvBaseData(engine, c.id, 1, model::gKvBase(1));
        model::gColumns(1).KvV = model::gKvBase(1).KvV;
        if (!c.sMode) {
            model::gNMCurveShow(1) = false;
            model::gNMCurveShow(2) = false;
        }
        RecordingPicture pic;
        pic.setFontSize(11);
        clsPrintOut po;
        po.setprpMode(2);
        po.setprpPicture(&pic);
        int16_t iCol = 1, dir = 999;
        ASSERT_NO_THROW(DrawNMDiagram(e, po, iCol, dir)) << c.id;
        EXPECT_TRUE(AllFinite(pic.ops)) << c.id;
        EXPECT_GT(gNMChart.MaxM, 0);
        EXPECT_EQ(Select(pic.ops, "Line", kRed, 2).size(), 204u) << c.id;
        EXPECT_EQ(dir, 0);
    }
}

}  // namespace
