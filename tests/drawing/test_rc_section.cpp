#include "drawing/kv_figure_common.h"
#include "drawing/rc_section.h"
#include "kv_figure_fixture.h"
#include "platform/qt/ole_color.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace drawing;
using namespace figtest;

namespace {

const double kW = 3.5 - 1.4 / std::sqrt(2.0);

struct Rc : FigureTest {
    // A box column on a symmetric base of series 1: the 20 x 20 layout.
    Rc() {
        col().ColV = 0;
        col().cD(0) = 800;
        col().cD(1) = 750.5;
        col().RmN(0) = 4;
        col().RmN(1) = 4;
        col().RBarVal = "22";
        col().RBarMat = "SD345";
        col().HoopSize = "D13";
        col().HoopMat = "SD295";
        col().HoopPitch = 150;
        col().rD(0) = 720;
        base().KvV = 1;
        base().AbV = 0;
        base().RotateMode = 0;
    }
    void draw(int16_t dir, clsPrintOut* surface = nullptr, FigureFrameTbl f = Frame(0, 0, 1)) {
        int16_t i = 1;
        DrawRcColumnSection(surface ? *surface : po, f, i, dir);
    }
    std::vector<Circ> bars() const {
        std::vector<Circ> out;
        for (const Circ& c : Circles(pic.ops))
            if (Near(c.r, 0.3)) out.push_back(c);
        return out;
    }
};

TEST_F(Rc, SeriesZeroDrawsNothing) {
    base().KvV = 0;
    draw(0);
    EXPECT_TRUE(pic.ops.empty());
}

TEST_F(Rc, Captions) {
    EXPECT_EQ(RcMainBarCaption(col(), 0), "主筋 : 12(4x4)-D22(SD345)");
    col().RmN(0) = 5;
    EXPECT_EQ(RcMainBarCaption(col(), 0), "主筋 : 14(5x4)-D22(SD345)");
    EXPECT_EQ(RcMainBarCaption(col(), 1), "主筋 : 14(4x5)-D22(SD345)");
    EXPECT_EQ(RcHoopCaption(col()), "HOOP : 　 -D13(SD295)@150");
    col().HoopSize = "13";
    EXPECT_EQ(RcHoopCaption(col()), "HOOP : 　 -D13(SD295)@150");
    col().HoopPitch = 112.5;
    EXPECT_EQ(RcHoopCaption(col()), "HOOP : 　 -D13(SD295)@112.5");
    EXPECT_EQ(RcAnchorageCaption(col()), "主筋定着長さ : 720mm");
    // A field never filled prints empty.
    model::ColumnDataTbl blank;
    blank.RmN(0) = blank.RmN(1) = 2;
    EXPECT_EQ(RcMainBarCaption(blank, 0), "主筋 : 4(2x2)-D()");
}

TEST_F(Rc, ScreenDrawing) {
    col().RebarZone(0, 2) = 2;
    draw(0);
    ASSERT_FALSE(pic.ops.empty());
    EXPECT_EQ(pic.ops.front().kind, "Cls");
    const auto segs = Lines(pic.ops);
    EXPECT_TRUE(HasSeg(segs, {-10, -10, -10, 10}));     // outline
    EXPECT_TRUE(HasSeg(segs, {-8.5, -6.5, -8.5, 6.5})); // hoop, outer line
    EXPECT_TRUE(HasSeg(segs, {-8.2, -6.5, -8.2, 6.5})); // hoop, inner line
    EXPECT_TRUE(HasSeg(segs, {0, -11, 0, 11}));         // centre line
    EXPECT_TRUE(HasSeg(segs, {-10, 13, 10, 13}));       // form size along X
    EXPECT_TRUE(HasSeg(segs, {14, -10, 14, 10}));       // along Y
    EXPECT_TRUE(HasSeg(segs, {-13, 21, -5, 21}));       // arrows
    EXPECT_TRUE(HasSeg(segs, {-0.8, 18, 0.7, 18}));     // hoop symbol
    int bolts = 0;
    for (const DrawOp& o : pic.ops)
        if (o.kind == "Circle" && Near(o.args[2], 0.8)) {
            ++bolts;
            EXPECT_EQ(o.width, 2);
            EXPECT_NEAR(std::fabs(o.args[0]), 5.5, 1e-5);
        }
    EXPECT_EQ(bolts, 4);
    const auto texts = Texts(pic.ops);
    const Text* z = FindText(texts, "Ⅱ");
    ASSERT_NE(z, nullptr);
    EXPECT_NEAR(z->x, -10.5, 1e-5);
    EXPECT_EQ(z->size, 11);
    const Text* cap = FindText(texts, "主筋 : 12(4x4)-D22(SD345)");
    ASSERT_NE(cap, nullptr);
    EXPECT_NEAR(cap->x, -7, 1e-5);
    EXPECT_NEAR(cap->y, 16, 1e-5);
    EXPECT_EQ(cap->size, 9);
    EXPECT_NE(FindText(texts, "800"), nullptr);
    EXPECT_NE(FindText(texts, "750.5"), nullptr);
    // The zone box is white.
    bool white = false;
    for (const DrawOp& o : pic.ops)
        if (o.kind == "BoxFill" && o.color == vbqt::RGB(255, 255, 255)) white = true;
    EXPECT_TRUE(white);
    EXPECT_EQ(pic.FontSize(), 8.25);
    EXPECT_EQ(pic.DrawWidth(), 1);
}

TEST_F(Rc, BarsPerFace) {
    col().RmN(0) = 5;  // faces x = +-A/2
    col().RmN(1) = 3;  // faces y = +-B/2
    draw(0);
    int onX = 0, onY = 0, corners = 0;
    for (const Circ& c : bars()) {
        if (Near(std::fabs(c.cx), 10 - 2.1)) ++onX;
        else if (Near(std::fabs(c.cy), 10 - 2.1)) ++onY;
        else if (Near(std::fabs(c.cx), 10 - kW) && Near(std::fabs(c.cy), 10 - kW)) ++corners;
    }
    EXPECT_EQ(corners, 4);
    EXPECT_EQ(onX, 2 * 3);
    EXPECT_EQ(onY, 2 * 1);
    // A quarter turn reads the rows the other way round and turns the
    // section back: the five-bar faces are the x faces again. The caption
    // follows the rows read, the size texts stay.
    pic.ops.clear();
    draw(1);
    onX = onY = 0;
    for (const Circ& c : bars()) {
        if (Near(std::fabs(c.cx), 10 - 2.1)) ++onX;
        else if (Near(std::fabs(c.cy), 10 - 2.1)) ++onY;
    }
    EXPECT_EQ(onX, 2 * 3);
    EXPECT_EQ(onY, 2 * 1);
    const auto texts = Texts(pic.ops);
    EXPECT_NE(FindText(texts, "主筋 : 12(3x5)-D22(SD345)"), nullptr);
    const Text* x = FindText(texts, "800");
    ASSERT_NE(x, nullptr);
    EXPECT_NEAR(x->y, 13 - 2.2, 1e-5);  // still the horizontal one
}

TEST_F(Rc, TiesAndTheirClearance) {
    col().HoopN(0) = 2;
    col().RmN(0) = 6;
    draw(0);
    const double U = 17.0 / 6;
    auto segs = Lines(pic.ops);
    for (double y : {-(U + 0.15), -(U - 0.15), U + 0.15, U - 0.15})
        EXPECT_TRUE(HasSeg(segs, {-8.2, y, 8.2, y})) << y;
    // A side bar just above U moves the ties to 0.55 below it.
    col().RmN(0) = 7;
    pic.ops.clear();
    draw(0);
    const double q = (20 - 2 * kW) / 6;
    const double bar = -(10 - kW) + 4 * q;
    ASSERT_LT(std::fabs(bar - U), 0.45);
    const double u = bar - 0.55;
    segs = Lines(pic.ops);
    for (double y : {-(u + 0.15), -(u - 0.15), u + 0.15, u - 0.15})
        EXPECT_TRUE(HasSeg(segs, {-8.2, y, 8.2, y})) << y;
    // No ties for other counts, and no lines in the symbol.
    col().HoopN(0) = 1;
    pic.ops.clear();
    draw(0);
    EXPECT_FALSE(HasSeg(Lines(pic.ops), {-0.8, 18.5, 0.7, 18.5}));
}

TEST_F(Rc, SingleBarFaceAndBadCounts) {
    col().RmN(0) = 1;
    draw(0);
    EXPECT_EQ(bars().size(), 4u + 2u * 2u);
    col().RmN(1) = 0;
    pic.ops.clear();
    EXPECT_THROW(draw(0), FigureError);
    EXPECT_TRUE(pic.ops.empty());
}

TEST_F(Rc, Layouts) {
    struct Case {
        int16_t abv, rotate, colV, kvv, abn;
        double A, B, boltR;
        size_t bolts;
        double shift;
    };
    const Case cases[] = {
        {0, -1, 0, 1, 2, 19, 22, 0.8, 4, 0},
        {0, -1, 2, 1, 2, 23, 16, 0.8, 4, 2},
        {0, 0, 0, 6, 2, 20, 20, 0.8, 4, 0},
        {0, 0, 1, 1, 2, 20, 20, 0.8, 4, 0},
        {1, 0, 0, 6, 2, 20, 20, 0.5, 8, 0},
        {1, -1, 0, 1, 3, 20, 20, 0.5, 12, 0},
        {0, -1, 1, 1, 2, 0, 0, 0.8, 4, 0},  // not in the table: collapses
    };
    for (const Case& c : cases) {
        base().AbV = c.abv;
        base().RotateMode = c.rotate;
        col().ColV = c.colV;
        base().KvV = c.kvv;
        base().AbN = c.abn;
        pic.ops.clear();
        draw(0);
        const auto segs = Lines(pic.ops);
        EXPECT_TRUE(HasSeg(segs, {c.shift - c.A / 2, -c.B / 2, c.shift - c.A / 2, c.B / 2}))
            << c.A << " x " << c.B;
        size_t n = 0;
        for (const Circ& k : Circles(pic.ops)) n += Near(k.r, c.boltR);
        EXPECT_EQ(n, c.bolts) << c.A << " x " << c.B;
        // The arrows stay on the frame origin.
        EXPECT_TRUE(HasSeg(segs, {-13, 21, -5, 21}));
        const auto texts = Texts(pic.ops);
        const Text* z = FindText(texts, "主筋 : 12(4x4)-D22(SD345)");
        ASSERT_NE(z, nullptr);
        EXPECT_NEAR(z->x, -7 + c.shift, 1e-5);
    }
}

TEST_F(Rc, HalfTurnsDrawAsZeroAndOne) {
    for (auto [a, b] : {std::pair<int16_t, int16_t>{0, 2}, {1, 3}}) {
        pic.ops.clear();
        draw(a);
        const auto first = pic.ops;
        pic.ops.clear();
        draw(b);
        ASSERT_EQ(first.size(), pic.ops.size());
        for (size_t k = 0; k < first.size(); ++k) EXPECT_EQ(first[k].str(), pic.ops[k].str());
    }
}

TEST_F(Rc, PaperFontsAndPens) {
    const FigureFrameTbl f = Frame(170.5, 30, 1);
    draw(0, &paper, f);
    for (const DrawOp& o : page.ops) EXPECT_NE(o.kind, "Cls");
    const auto texts = Texts(page.ops);
    const Text* cap = FindText(texts, "主筋 : 12(4x4)-D22(SD345)");
    ASSERT_NE(cap, nullptr);
    EXPECT_EQ(cap->size, 5);
    EXPECT_NEAR(cap->x, 170.5 - 7, 1e-6);
    EXPECT_NEAR(cap->y, 30 + 16 + 4.5, 1e-6);
    EXPECT_EQ(FindText(texts, "800")->size, 6);
    for (const DrawOp& o : page.ops) {
        if (o.kind == "Circle" && Near(o.args[2], 0.8)) {
            EXPECT_EQ(o.width, 3);
        }
    }
}

TEST_F(Rc, NinesAndFailures) {
    model::gCurCol = 2;
    col(2) = col(1);
    base(2) = base(1);
    int16_t i = 999, dir = 999;
    DrawRcColumnSection(po, unit, i, dir);
    EXPECT_EQ(i, 2);
    EXPECT_EQ(dir, 0);
    const FigureFrameTbl f = Frame(5, 6, 2);
    base().RotateMode = -1;
    col().ColV = 2;  // H layout shifts its own origin only
    pic.failDraws = true;
    i = 1;
    dir = 0;
    EXPECT_THROW(DrawRcColumnSection(po, f, i, dir), RecordingFailure);
    EXPECT_EQ(f.X0, 5);
    EXPECT_EQ(pic.FontSize(), 8.25);
    pic.failDraws = false;
    dir = -1;
    EXPECT_THROW(DrawRcColumnSection(po, f, i, dir), FigureError);
}

}  // namespace
