#include "drawing/kv_figure_common.h"
#include "drawing/kv_figure_src.h"
#include "kv_figure_fixture.h"
#include "platform/qt/ole_color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace drawing;
using namespace figtest;

namespace {

constexpr int32_t kSteel = vbqt::RGB(251, 143, 168);

struct Src : FigureTest {
    Src() {
        col().ColV = 3;
        base().RotateMode = -1;
        setKvLen(1, {550, 500, 412.5, 380, 0, 0});
    }
    // kind 3 cross, 4 T, 5 / 6 L, 7 H.
    void draw(int kind, int16_t dir, clsPrintOut* surface = nullptr,
              FigureFrameTbl f = Frame(0, 0, 1, 1), int16_t nx = 3, int16_t ny = 3) {
        clsPrintOut& s = surface ? *surface : po;
        int16_t i = 1;
        switch (kind) {
        case 3: DrawKvFigureSrcX(s, f, i, dir, nx, ny); break;
        case 4: DrawKvFigureSrcT(s, f, i, dir, nx, ny); break;
        case 7: DrawKvFigureSrcH(s, f, i, dir, nx, ny); break;
        default: DrawKvFigureSrcL(s, f, static_cast<int16_t>(kind), i, dir, nx, ny); break;
        }
    }
    // The outlines only, without texts and the last six strokes (the axis
    // symbol), in a frame Mode without dimensions.
    std::vector<DrawOp> figure(int kind, int16_t dir) {
        pic.ops.clear();
        draw(kind, dir, nullptr, Frame(0, 0, 1, 2));
        auto s = Shapes(pic.ops);
        s.resize(s.size() - 6);
        return s;
    }
};

TEST_F(Src, ScreenFillsAndLabelledDimensions) {
    draw(3, 0);
    ASSERT_FALSE(pic.ops.empty());
    EXPECT_EQ(pic.ops.front().kind, "Cls");
    EXPECT_EQ(pic.ops.front().color, vbqt::RGB(196, 222, 196));
    int steel = 0, white = 0;
    for (const DrawOp& o : pic.ops) {
        if (o.kind == "BoxFill" && o.color == kSteel) ++steel;
        if ((o.kind == "BoxFill" || (o.kind == "Circle" && o.filled)) &&
            o.fillColor == vbqt::RGB(255, 255, 255))
            ++white;
    }
    EXPECT_EQ(steel, 8);  // two boxes per arm
    EXPECT_EQ(white, 6);  // four corner discs and two boxes
    const auto segs = Lines(pic.ops);
    // Bolt pitch line from (-5.5, 5.5) to (5.5, 5.5) at y = 12.5, two units right.
    EXPECT_TRUE(HasSeg(segs, {-3.5, 12.5, 7.5, 12.5}));
    EXPECT_TRUE(HasSeg(segs, {-5, 15.5, 9, 15.5}));
    EXPECT_TRUE(HasSeg(segs, {14.5, 5.5, 14.5, -5.5}));
    const auto texts = Texts(pic.ops);
    for (const char* s : {"412.5", "550", "380", "500", "X", "Y"})
        EXPECT_NE(FindText(texts, s), nullptr) << s;
    const Text* t = FindText(texts, "412.5");
    EXPECT_NEAR(t->x, 2 - 1.5, 1e-5);
    EXPECT_NEAR(t->y, 12.5 - 2.2, 1e-5);
    EXPECT_EQ(t->size, 11);
    // The axis symbol moves with the figure.
    EXPECT_TRUE(HasSeg(segs, {-13, 21, -8, 21}));
    EXPECT_EQ(pic.FontSize(), 8.25);
}

TEST_F(Src, CrossLooksTheSameForEveryDirection) {
    const auto f0 = figure(3, 0);
    for (int16_t dir = 1; dir < 4; ++dir) {
        const auto fd = figure(3, dir);
        const PointMap same = [](double x, double y) { return std::array<double, 2>{x, y}; };
        ExpectSameDrawing(f0, fd, same, same, 1e-3, "dir " + std::to_string(dir));
    }
    // Only the labels change, with dir And 1.
    pic.ops.clear();
    draw(3, 1);
    const auto texts = Texts(pic.ops);
    const Text* t = FindText(texts, "380");  // KvLen(1, 3)
    ASSERT_NE(t, nullptr);
    EXPECT_NEAR(t->y, 12.5 - 2.2, 1e-5);
}

// T, H and L turn counter-clockwise as seen: (x, y) -> (y, -x) about the
// figure origin (2, 0).
TEST_F(Src, TurnedKindsTurn) {
    const PointMap turn = [](double x, double y) { return std::array<double, 2>{y + 2, -(x - 2)}; };
    const PointMap back = [](double x, double y) { return std::array<double, 2>{2 - y, x - 2}; };
    for (int kind : {4, 5, 7}) {
        const auto f0 = figure(kind, 0);
        const auto f1 = figure(kind, 1);
        ExpectSameDrawing(f0, f1, turn, back, 2e-3, "kind " + std::to_string(kind));
    }
}

TEST_F(Src, KindSixMirrorsKindFive) {
    for (int16_t dir = 0; dir < 4; ++dir) {
        const auto f5 = figure(5, dir);
        const auto f6 = figure(6, dir);
        // Mirrored before turning: about the vertical axis for even turns,
        // about the horizontal one for odd turns.
        const PointMap m = dir % 2 == 0
                               ? PointMap([](double x, double y) { return std::array<double, 2>{4 - x, y}; })
                               : PointMap([](double x, double y) { return std::array<double, 2>{x, -y}; });
        ExpectSameDrawing(f5, f6, m, m, 2e-3, "dir " + std::to_string(dir));
    }
    // The bolts of kind 5 at x = -4 lie at x = 4 in kind 6.
    const auto f6 = figure(6, 0);
    bool found = false;
    for (const Circ& c : Circles(f6))
        if (Near(c.cx, 2 + 4) && Near(std::fabs(c.cy), 6.5) && Near(c.r, 0.8)) found = true;
    EXPECT_TRUE(found);
}

TEST_F(Src, HDimensionsFollowTheTurnedBolts) {
    col().ColV = 7;
    draw(7, 1);
    const auto segs = Lines(pic.ops);
    // Bolts 5 apart on the lower row y = 4.5, plate corners 9 apart.
    EXPECT_TRUE(HasSeg(segs, {2 - 2.5, 4.5 + 8, 2 + 2.5, 4.5 + 8}));
    EXPECT_TRUE(HasSeg(segs, {2 - 4.5, 4.5 + 11, 2 + 4.5, 4.5 + 11}));
    // Vertical: bolts from y = -4.5 to 4.5 at x = 2.5 + 8.
    EXPECT_TRUE(HasSeg(segs, {2 + 2.5 + 8, 4.5, 2 + 2.5 + 8, -4.5}));
    pic.ops.clear();
    draw(7, 0);
    EXPECT_TRUE(HasSeg(Lines(pic.ops), {2 - 4.5, 2.5 + 8, 2 + 4.5, 2.5 + 8}));
}

TEST_F(Src, PaperHasNoFills) {
    const FigureFrameTbl f = Frame(160, 30, 1, 1);
    for (int kind : {3, 4, 5, 6, 7}) {
        page.ops.clear();
        draw(kind, 0, &paper, f);
        for (const DrawOp& o : page.ops) {
            EXPECT_NE(o.kind, "Rectangle") << kind;
            EXPECT_FALSE(o.filled) << kind << " " << o.str();
            if (o.kind == "Circle") {
                EXPECT_EQ(o.width, 3);
            }
        }
        for (const Text& t : Texts(page.ops)) EXPECT_EQ(t.size, 6);
    }
}

TEST_F(Src, PreviewModeShowsTheColumnOutline) {
    for (auto [kind, dir, w, h] : {std::tuple{7, 1, 17.0, 24.0}, std::tuple{7, 0, 24.0, 17.0},
                                   std::tuple{3, 1, 20.0, 20.0}, std::tuple{5, 3, 22.0, 22.0}}) {
        pic.ops.clear();
        draw(kind, static_cast<int16_t>(dir), nullptr, Frame(0, 0, 1, 0), 4, 3);
        bool blue = false;
        for (const DrawOp& o : pic.ops)
            if (o.kind == "BoxFill" && o.color == vbqt::RGB(164, 202, 244)) blue = true;
        EXPECT_TRUE(blue);
        const auto segs = Lines(pic.ops);
        // Whole-outline dimensions 7 outside.
        EXPECT_TRUE(HasSeg(segs, {2 - w / 2, h / 2 + 7, 2 + w / 2, h / 2 + 7})) << kind << " " << dir;
        EXPECT_TRUE(HasSeg(segs, {2 + w / 2 + 7, h / 2, 2 + w / 2 + 7, -h / 2})) << kind << " " << dir;
        // No labels but the axis letters; the symbol lies 5 left and 2 down.
        EXPECT_EQ(Texts(pic.ops).size(), 2u + 4u);
        EXPECT_TRUE(HasSeg(segs, {2 - 20, 23, 2 - 15, 23}));
    }
}

TEST_F(Src, NinesAndBadArguments) {
    model::gCurCol = 2;
    base(2).RotateMode = -1;
    col(2).KvRotate = 0;
    model::gDispMode = 1;
    int16_t i = 999, dir = 999;
    DrawKvFigureSrcT(po, Frame(0, 0, 1, 1), i, dir, 3, 3);
    EXPECT_EQ(i, 2);
    EXPECT_EQ(dir, 1);
    // Mode 0 with a given direction reads no record.
    i = 7;
    dir = 0;
    EXPECT_NO_THROW(DrawKvFigureSrcX(po, Frame(0, 0, 1, 0), i, dir, 3, 3));
    EXPECT_THROW(DrawKvFigureSrcX(po, Frame(0, 0, 1, 1), i, dir, 3, 3), FigureError);
    i = 1;
    dir = 5;
    EXPECT_THROW(DrawKvFigureSrcH(po, Frame(0, 0, 1, 1), i, dir, 3, 3), FigureError);
    dir = 0;
    EXPECT_THROW(DrawKvFigureSrcL(po, Frame(0, 0, 1, 1), 7, i, dir, 3, 3), FigureError);
}

TEST_F(Src, FrameAndFontAfterAFailure) {
    const FigureFrameTbl f = Frame(10, 20, 3, 1);
    pic.failDraws = true;
    int16_t i = 1, dir = 0;
    EXPECT_THROW(DrawKvFigureSrcH(po, f, i, dir, 3, 3), RecordingFailure);
    EXPECT_EQ(f.X0, 10);
    EXPECT_EQ(pic.FontSize(), 8.25);
}

}  // namespace
