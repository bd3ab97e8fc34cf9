#include "drawing/kv_figure_common.h"
#include "drawing/kv_figure_h.h"
#include "kv_figure_fixture.h"
#include "platform/qt/ole_color.h"
#include "platform/qt/print_control.h"

#include <gtest/gtest.h>

using namespace drawing;
using namespace figtest;

namespace {

struct HFig : FigureTest {
    HFig() {
        col().ColV = 2;
        base().RotateMode = -1;
        setKvLen(1, {600, 400, 450.5, 250, 0, 0});
    }
    void draw(int16_t dir, clsPrintOut* surface = nullptr, FigureFrameTbl f = Frame(0, 0, 1)) {
        int16_t i = 1;
        DrawKvFigureH(surface ? *surface : po, f, i, dir);
    }
};

TEST_F(HFig, ScreenLayoutOnTheShiftedOrigin) {
    draw(0);
    ASSERT_FALSE(pic.ops.empty());
    EXPECT_EQ(pic.ops.front().kind, "Cls");
    const auto circles = Circles(pic.ops);
    ASSERT_EQ(circles.size(), 4u);
    EXPECT_NEAR(circles[0].cx, -5, 1e-5);  // (-7, -2.5) two units right
    EXPECT_NEAR(circles[0].cy, -2.5, 1e-5);
    EXPECT_NEAR(circles[0].r, 0.8, 1e-6);
    const auto segs = Lines(pic.ops);
    EXPECT_TRUE(HasSeg(segs, {-3, -4.5, -3, 4.5}));   // flange face x = -5
    EXPECT_TRUE(HasSeg(segs, {-5, 10, 9, 10}));       // bolt pitch line
    EXPECT_TRUE(HasSeg(segs, {-5, 10, -3.5, 9.5}));   // its arrowhead
    EXPECT_TRUE(HasSeg(segs, {17.5, -6, 17.5, 6}));   // plate length down
    // Arrows on the frame origin, not shifted.
    EXPECT_TRUE(HasSeg(segs, {-13, 21, -5, 21}));
    EXPECT_TRUE(HasSeg(segs, {-13, 13, -13.5, 14.5}));
    const auto texts = Texts(pic.ops);
    struct Want {
        std::string text;
        double x, y;
    };
    for (const Want& w : {Want{"450.5", 0.5, 8}, Want{"600", 0.5, 10.5}, Want{"250", 13, 0.25},
                          Want{"400", 15.5, -2.25}, Want{"X", -4.5, 20}, Want{"Y", -13.5, 10.5}}) {
        const Text* t = FindText(texts, w.text);
        ASSERT_NE(t, nullptr) << w.text;
        EXPECT_NEAR(t->x, w.x, 1e-5) << w.text;
        EXPECT_NEAR(t->y, w.y, 1e-5) << w.text;
        EXPECT_EQ(t->size, 11);
    }
    EXPECT_EQ(pic.DrawWidth(), 1);
    EXPECT_EQ(pic.FontSize(), 8.25);
}

// dir 1 transposes the figure about the diagonal through the figure origin
// (2, 0); labels and arrows stay as they are.
TEST_F(HFig, DirOneIsTheTransposedFigure) {
    draw(0);
    auto s0 = Shapes(pic.ops);
    pic.ops.clear();
    draw(1);
    auto s1 = Shapes(pic.ops);
    s0.resize(s0.size() - 6);
    s1.resize(s1.size() - 6);
    const PointMap swap = [](double x, double y) { return std::array<double, 2>{y + 2, x - 2}; };
    ExpectSameDrawing(s0, s1, swap, swap, 1e-3, "transposed");
    const auto texts = Texts(pic.ops);
    // The (1, k) row, lifted by s = 3.
    const Text* t = FindText(texts, "250");  // KvLen(1, 3)
    ASSERT_NE(t, nullptr);
    EXPECT_NEAR(t->x, 0.5, 1e-5);
    EXPECT_NEAR(t->y, 11, 1e-5);
    const Text* v = FindText(texts, "450.5");  // KvLen(1, 4)
    ASSERT_NE(v, nullptr);
    EXPECT_NEAR(v->x, 10, 1e-5);
}

TEST_F(HFig, OtherDirectionsTakeTheirLowestBit) {
    draw(0);
    const auto d0 = pic.ops;
    draw(1);
    const auto d1 = std::vector<DrawOp>(pic.ops.begin() + static_cast<long>(d0.size()), pic.ops.end());
    for (auto [dir, want] : {std::pair<int16_t, const std::vector<DrawOp>*>{2, &d0}, {3, &d1}, {-1, &d1}}) {
        pic.ops.clear();
        draw(dir);
        ASSERT_EQ(pic.ops.size(), want->size()) << dir;
        for (size_t k = 0; k < want->size(); ++k) EXPECT_EQ(pic.ops[k].str(), (*want)[k].str()) << dir;
    }
}

TEST_F(HFig, LabelsByTextFlagAndSurface) {
    struct Case {
        bool paper, nt;
        double x4, y4, x2, y2;  // the two vertical labels
    };
    const Case cases[] = {
        {false, true, 13, 0.25, 15.5, -2.25},
        {true, true, 13, 0.25, 15.5, -2.25},    // paper as screen: apart
        {false, false, 13, 1.5, 15.5, 1.5},     // 1.25 and 3.75 lower
        {true, false, 13, 1.5, 15.5, 1.5},
    };
    for (const Case& c : cases) {
        gNTFlag = c.nt;
        pic.ops.clear();
        page.ops.clear();
        draw(0, c.paper ? &paper : &po);
        const auto texts = Texts(c.paper ? page.ops : pic.ops);
        const double dy = c.paper ? 4.5 : 0;
        const Text* a = FindText(texts, "250");
        const Text* b = FindText(texts, "400");
        ASSERT_TRUE(a && b);
        EXPECT_NEAR(a->x, c.x4, 1e-5);
        EXPECT_NEAR(a->y, c.y4 + dy, 1e-5) << c.paper << c.nt;
        EXPECT_NEAR(b->x, c.x2, 1e-5);
        EXPECT_NEAR(b->y, c.y2 + dy, 1e-5) << c.paper << c.nt;
    }
}

// On the sheet (0.95 mm a unit, labels at 6 points) no dimension text runs
// into another, in either direction, with short and long values.
TEST_F(HFig, PaperLabelsStandApartOnTheSheet) {
    vbqt::PrintControl pc;
    pc.StartDoc();
    clsPrintOut sheet;
    sheet.setprpMode(1);
    sheet.setprpVsPrinter(&pc);
    sheet.setFontName("ＭＳ 明朝");
    sheet.setFontSize(8);
    const std::array<double, 6> values[] = {{600, 600, 480, 480, 0, 0}, {12345.5, 99999, 45678.25, 88888, 0, 0}};
    for (const auto& v : values) {
        for (int16_t dir : {0, 1}) {
            setKvLen(1, v);
            for (long k = 1; k <= 6; ++k) base().KvLen(1, k) = v[static_cast<size_t>(k - 1)];
            pc.StartDoc();
            draw(dir, &sheet, Frame(136.5, 30, 0.95));
            std::vector<std::pair<QRectF, QString>> boxes;
            for (const vbqt::PageOp& op : pc.pages()[0].ops) {
                if (op.kind != vbqt::PageOp::Text) continue;
                pc.setFont(op.font);
                const double w = pc.TextWidth(op.text.toStdString());
                const double h = pc.TextHeight(op.text.toStdString());
                boxes.push_back({QRectF(op.p1, QSizeF(w, h)), op.text});
            }
            ASSERT_EQ(boxes.size(), 6u);
            for (size_t a = 0; a < boxes.size(); ++a)
                for (size_t b = a + 1; b < boxes.size(); ++b)
                    EXPECT_FALSE(boxes[a].first.intersects(boxes[b].first))
                        << boxes[a].second.toStdString() << " meets " << boxes[b].second.toStdString() << " dir "
                        << dir;
        }
    }
}

TEST_F(HFig, PaperSettings) {
    const FigureFrameTbl f = Frame(136.5, 30, 0.95);
    draw(0, &paper, f);
    for (const DrawOp& o : page.ops) EXPECT_NE(o.kind, "Cls");
    for (const Text& t : Texts(page.ops)) EXPECT_EQ(t.size, 6);  // not scaled
    for (const DrawOp& o : page.ops) {
        if (o.kind == "Circle") {
            EXPECT_EQ(o.width, 3);
        }
    }
    // The first bolt: (-7 + 2, -2.5) at 0.95 mm.
    const auto circles = Circles(page.ops);
    ASSERT_FALSE(circles.empty());
    EXPECT_NEAR(circles[0].cx, 136.5 - 5 * 0.95, 1e-6);
    EXPECT_NEAR(circles[0].cy, 30 - 2.5 * 0.95 + 4.5, 1e-6);
}

TEST_F(HFig, UnknownModeUsesScreenSettingsWithoutClearing) {
    po.setprpMode(0);
    draw(0);
    for (const DrawOp& o : pic.ops) EXPECT_NE(o.kind, "Cls");
    EXPECT_EQ(Texts(pic.ops).front().size, 11);
}

TEST_F(HFig, FrameIsTheSameAfterEachCallAndAfterAFailure) {
    const FigureFrameTbl f = Frame(100, 50, 10);
    col().ColV = 0;  // the kind no longer matters for the frame
    draw(0, &po, f);
    const auto first = pic.ops;
    pic.ops.clear();
    draw(0, &po, f);
    ASSERT_EQ(first.size(), pic.ops.size());
    for (size_t k = 0; k < first.size(); ++k) EXPECT_EQ(first[k].str(), pic.ops[k].str());
    EXPECT_EQ(f.X0, 100);
    pic.failDraws = true;
    EXPECT_THROW(draw(0, &po, f), RecordingFailure);
    EXPECT_EQ(f.X0, 100);
    EXPECT_EQ(pic.FontSize(), 8.25);
}

TEST_F(HFig, NinesAndBadColumns) {
    model::gCurCol = 2;
    col(2).ColV = 2;
    base(2).RotateMode = -1;
    col(2).KvRotate = 1;
    model::gDispMode = 0;
    int16_t i = 999, dir = 999;
    DrawKvFigureH(po, unit, i, dir);
    EXPECT_EQ(i, 2);
    EXPECT_EQ(dir, 1);
    i = 0;
    dir = 0;
    EXPECT_THROW(DrawKvFigureH(po, unit, i, dir), FigureError);
}

}  // namespace
