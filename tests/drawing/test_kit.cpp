#include "drawing/kit.h"
#include "drawing/recording.h"
#include "platform/qt/ole_color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace drawing;
using vbqt::RGB;

namespace {

constexpr int32_t kRed = RGB(255, 0, 0);
constexpr int32_t kWhite = RGB(255, 255, 255);
constexpr int32_t kLightBlue = RGB(164, 202, 244);
const double kTwoPiF = static_cast<float>(kTwoPi);

FigureFrameTbl frame(double x0, double y0, double sx, double sy, int16_t mode = 1) {
    FigureFrameTbl f;
    f.X0 = x0;
    f.Y0 = y0;
    f.ScaleX = sx;
    f.ScaleY = sy;
    f.Mode = mode;
    return f;
}

// A picture surface; with the unit frame it logs model coordinates.
struct Kit : ::testing::Test {
    RecordingPicture pic;
    clsPrintOut po;
    FigureFrameTbl unit = frame(0, 0, 1, 1);
    Kit() {
        po.setprpMode(2);
        po.setprpPicture(&pic);
    }
    std::vector<DrawOp> of(const std::string& kind) const {
        std::vector<DrawOp> out;
        for (const DrawOp& o : pic.ops)
            if (o.kind == kind) out.push_back(o);
        return out;
    }
};

void expectArgs(const DrawOp& op, const std::vector<double>& want, const std::string& where,
                double tol = 1e-5) {
    ASSERT_EQ(op.args.size(), want.size()) << where << ": " << op.str();
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(op.args[i], want[i], tol) << where << " arg " << i << ": " << op.str();
}

}  // namespace

TEST_F(Kit, DrawLineScaled) {
    const FigureFrameTbl f = frame(10, 20, 2, 2);
    DrawLineScaled(po, 1, f, 0, 1, 1, 3, 2);
    DrawLineScaled(po, 1, f, 1, 1, 1, 3, 2);
    ASSERT_EQ(pic.ops.size(), 2u);
    expectArgs(pic.ops[0], {12, 22, 16, 24}, "absolute");
    expectArgs(pic.ops[1], {12, 22, 14, 26}, "swapped");

    po.setCurrentX(12);
    po.setCurrentY(22);
    DrawLineScaled(po, 0, f, 0, 1, 0, kContinueLine, 0);
    expectArgs(pic.ops.back(), {12, 22, 14, 22}, "continued");
    EXPECT_EQ(po.CurrentX(), 14);
    EXPECT_EQ(po.CurrentY(), 22);
    // Two relative steps: start 1,1 away, end a further 1,2.
    DrawLineScaled(po, 0, f, 0, 1, 1, 1, 2);
    expectArgs(pic.ops.back(), {16, 24, 18, 28}, "relative");
    DrawLineScaled(po, 0, f, 1, 1, 0, kContinueLine, 0);
    expectArgs(pic.ops.back(), {18, 28, 18, 30}, "continued, swapped");

    const size_t n = pic.ops.size();
    DrawLineScaled(po, 2, f, 0, 1, 1, 3, 2);
    DrawLineScaled(po, 1, f, 2, 1, 1, 3, 2);
    DrawLineScaled(po, 1, f, 0, 1, 1, kContinueLine, 0);
    EXPECT_EQ(pic.ops.size(), n);
}

TEST_F(Kit, DrawLineRotated) {
    DrawLineRotated(po, unit, -1, kPi / 2, 0, 0, 1, 0);
    expectArgs(pic.ops.back(), {0, 0, 0, -1}, "quarter turn moves up");
    DrawLineRotated(po, unit, 1, 0, 1, 2, 3, 4);
    expectArgs(pic.ops.back(), {-1, 2, -3, 4}, "mirror 1");
    DrawLineRotated(po, frame(10, 20, 2, 3), 0, 0, 1, 2, 3, 4);
    expectArgs(pic.ops.back(), {12, 14, 16, 8}, "mirror 0 through a frame");
    // Continuation: only the first point is mirrored.
    po.setCurrentX(5);
    po.setCurrentY(5);
    DrawLineRotated(po, unit, 0, 0, 1, 2, kContinueLine, 7);
    expectArgs(pic.ops.back(), {5, 5, 1, -2}, "continued");
    DrawLineRotated(po, unit, 0, kPi, 3, 0, kContinueLine, 0);
    expectArgs(pic.ops.back(), {1, -2, -3, 0}, "continued, turned");
}

TEST_F(Kit, DrawArcRotatedAngles) {
    struct Case {
        const char* name;
        int16_t m;
        double a;
        float st, ed;
        std::vector<std::vector<double>> arcs;  // start, end of each arc drawn
    };
    const float pi = static_cast<float>(kPi);
    const std::vector<Case> cases = {
        {"plain", -1, 0, 0.5f, 1.5f, {{0.5, 1.5}}},
        {"mirror 1", 1, 0, 0, pi / 2, {{kPi / 2, kPi}}},
        {"start above end is exchanged", -1, 0, 3 * pi / 2, pi / 2, {{kPi / 2, 3 * kPi / 2}}},
        {"turned past 2π comes back", -1, kPi, 3 * pi / 2, 2 * pi, {{kPi / 2, kPi}}},
        {"end past 2π: two arcs", -1, kPi / 2, pi, 2 * pi, {{3 * kPi / 2, kTwoPiF}, {0, kPi / 2}}},
        {"start at 2π: only the arc from 0", -1, kPi / 2, 3 * pi / 2, 2 * pi, {{0, kPi / 2}}},
        {"mirror 0 negates, then lifted above 0", 0, 0, 0.5f, 1.0f,
         {{kTwoPiF - 1.0, kTwoPiF - 0.5}}},
    };
    for (const Case& c : cases) {
        pic.ops.clear();
        DrawArcRotated(po, unit, c.m, c.a, 0, 0, 1, c.st, c.ed, 0, kRed);
        ASSERT_EQ(pic.ops.size(), c.arcs.size()) << c.name;
        for (size_t i = 0; i < c.arcs.size(); ++i) {
            EXPECT_EQ(pic.ops[i].kind, "Arc") << c.name;
            expectArgs(pic.ops[i], {0, 0, 1, c.arcs[i][0], c.arcs[i][1]}, c.name, 2e-6);
            EXPECT_GE(pic.ops[i].args[3], 0) << c.name;
        }
    }
}

TEST_F(Kit, DrawArcRotatedCentreAndFullCircle) {
    const FigureFrameTbl f = frame(100, 200, 10, 10);
    DrawArcRotated(po, f, 0, kPi / 2, 1, 2, 0.5f, kFullArc, 1.0f, 0, kRed);
    ASSERT_EQ(pic.ops.size(), 1u);
    EXPECT_EQ(pic.ops[0].kind, "Circle");
    // (1, 2) mirrored to (1, -2), turned a quarter to (-2, -1).
    expectArgs(pic.ops[0], {80, 190, 5}, "centre");
    EXPECT_EQ(po.CurrentX(), 80);
    const size_t n = pic.ops.size();
    DrawArcRotated(po, f, -1, 0, 0, 0, 1, 0, 1, 2, kRed);
    EXPECT_EQ(pic.ops.size(), n);
}

TEST_F(Kit, OutlinesAreBlackDiscsTakeTheColour) {
    po.setForeColor(kRed);
    po.setFillColor(RGB(1, 2, 3));
    po.setFillStyle(1);
    po.setDrawWidth(3);
    DrawArcRotated(po, unit, -1, 0, 0, 0, 1, kFullArc, 0, 0, kRed);
    DrawArcRotated(po, unit, -1, 0, 0, 0, 1, 0.5f, 1.0f, 0, kRed);
    DrawArcRotated(po, unit, -1, 0, 0, 0, 1, 0.5f, 1.0f, 1, kRed);
    ASSERT_EQ(pic.ops.size(), 3u);
    EXPECT_EQ(pic.ops[0].color, 0);
    EXPECT_FALSE(pic.ops[0].filled);
    EXPECT_EQ(pic.ops[1].color, 0);
    EXPECT_EQ(pic.ops[2].kind, "Circle");  // a disc ignores the angles
    EXPECT_EQ(pic.ops[2].color, kRed);
    EXPECT_EQ(pic.ops[2].fillColor, kRed);
    EXPECT_TRUE(pic.ops[2].filled);
    EXPECT_EQ(pic.ops[2].width, 1);
    EXPECT_EQ(po.FillColor(), RGB(1, 2, 3));
    EXPECT_EQ(po.FillStyle(), 1);
    EXPECT_EQ(po.DrawWidth(), 3);
    EXPECT_EQ(po.ForeColor(), kRed);

    // On paper the disc is an outline in the colour.
    RecordingPage page(1.0);
    clsPrintOut paper;
    paper.setprpMode(1);
    paper.setprpVsPrinter(&page);
    DrawArcRotated(paper, unit, -1, 0, 10, 10, 2, kFullArc, 0, 1, kRed);
    ASSERT_EQ(page.ops.size(), 1u);
    EXPECT_FALSE(page.ops[0].filled);
    EXPECT_EQ(page.ops[0].color, kRed);
    expectArgs(page.ops[0], {10, 14.5, 2}, "paper disc");
}

TEST_F(Kit, DrawArcScaled) {
    const FigureFrameTbl f = frame(0, 0, 2, 3);
    po.setCurrentX(10);
    po.setCurrentY(10);
    float st2 = 999, ed2 = 999;
    DrawArcScaled(po, f, 0, 1, 1, 1, 0.5f, 1.5f, st2, ed2);
    EXPECT_EQ(st2, 0.5f);
    EXPECT_EQ(ed2, 1.5f);
    expectArgs(pic.ops.back(), {12, 13, 2, 0.5, 1.5}, "plain");

    // Swapped, second pair across 0: two arcs about one centre.
    pic.ops.clear();
    st2 = 5.0f;
    ed2 = 1.0f;
    DrawArcScaled(po, f, 1, 1, 2, 1, 0.1f, 0.2f, st2, ed2);
    ASSERT_EQ(pic.ops.size(), 2u);
    expectArgs(pic.ops[0], {16, 16, 2, 5.0, kTwoPi}, "first");
    expectArgs(pic.ops[1], {16, 16, 2, 0, 1.0}, "second");
    EXPECT_EQ(po.CurrentX(), 16);

    pic.ops.clear();
    float full = 999, any = 0;
    DrawArcScaled(po, f, 0, 0, 0, 1, kFullArc, 0, full, any);
    EXPECT_EQ(pic.ops.at(0).kind, "Circle");
    EXPECT_EQ(full, kFullArc);
    DrawArcScaled(po, f, 2, 0, 0, 1, 0, 1, full, any);
    EXPECT_EQ(pic.ops.size(), 1u);
}

TEST_F(Kit, FillRotatedRectOnBothTargets) {
    po.setForeColor(RGB(9, 9, 9));
    po.setDrawWidth(2);
    FillRotatedRect(po, unit, -1, kPi / 2, 0, 0, 2, 1, kRed);
    ASSERT_EQ(pic.ops.size(), 1u);
    EXPECT_EQ(pic.ops[0].kind, "BoxFill");
    EXPECT_EQ(pic.ops[0].color, kRed);
    expectArgs(pic.ops[0], {0, 0, 1, -2}, "quarter turn");
    EXPECT_EQ(po.ForeColor(), RGB(9, 9, 9));
    EXPECT_EQ(po.DrawWidth(), 2);

    RecordingPage page(1.0);
    page.setPenColor(RGB(0, 0, 255));
    page.setPenWidth(3);
    clsPrintOut paper;
    paper.setprpMode(1);
    paper.setprpVsPrinter(&page);
    FillRotatedRect(paper, unit, 0, 0, 0, 1, 2, 3, kRed);
    ASSERT_EQ(page.ops.size(), 1u);
    EXPECT_TRUE(page.ops[0].filled);
    EXPECT_EQ(page.ops[0].fillColor, kRed);
    EXPECT_EQ(page.ops[0].color, RGB(0, 0, 255));  // the page pen
    EXPECT_EQ(page.ops[0].width, 1);
    expectArgs(page.ops[0], {0, 3.5, 2, 1.5}, "paper, mirrored");
    EXPECT_EQ(page.PenWidth(), 3);
    EXPECT_EQ(page.BrushColor(), RGB(255, 255, 255));
}

TEST_F(Kit, TubeSectionBars) {
    const auto bars = [&](int16_t c1, int16_t c2) {
        pic.ops.clear();
        DrawTubeSectionSymbol(po, unit, -1, 0, 40, 30, c1, c2);
        std::vector<DrawOp> white, black;
        for (const DrawOp& o : of("Circle")) {
            if (std::fabs(o.args[2] - 0.4) > 1e-6) continue;
            (o.filled ? white : black).push_back(o);
        }
        return std::pair{white, black};
    };
    po.setDrawWidth(2);
    const auto [w2, b2] = bars(2, 2);
    EXPECT_EQ(w2.size(), 4u);
    EXPECT_EQ(b2.size(), 4u);
    EXPECT_EQ(po.DrawWidth(), 2);
    const double d = 0.6 / std::sqrt(2.0);
    const double P = 17.5 + d, Q = 12.5 + d;
    expectArgs(w2[0], {-P, -Q, 0.4}, "first corner bar");
    expectArgs(w2[2], {P, Q, 0.4}, "third corner bar");
    EXPECT_EQ(w2[0].color, kWhite);
    EXPECT_EQ(b2[0].color, 0);

    const auto [w4, b4] = bars(4, 2);
    ASSERT_EQ(w4.size(), 8u);
    ASSERT_EQ(b4.size(), 8u);
    // Between the corner bars' y, evenly: Q - 2Q/3 and Q - 4Q/3, on x = ±(20 - 1.9).
    expectArgs(w4[4], {-18.1, Q / 3, 0.4}, "face bar 1");
    expectArgs(w4[5], {18.1, Q / 3, 0.4}, "face bar 1, other face");
    expectArgs(w4[6], {-18.1, -Q / 3, 0.4}, "face bar 2");
    const auto [w5, b5] = bars(2, 3);
    ASSERT_EQ(w5.size(), 6u);
    expectArgs(w5[4], {0, -(15 - 1.9), 0.4}, "bar on a y face");
}

TEST_F(Kit, TubeSectionShapes) {
    DrawTubeSectionSymbol(po, unit, -1, 0, 40, 30, 2, 2);
    const auto boxes = of("BoxFill");
    ASSERT_EQ(boxes.size(), 5u);
    expectArgs(boxes[0], {-20, -15, 20, 15}, "concrete");
    EXPECT_EQ(boxes[0].color, kLightBlue);
    expectArgs(boxes[1], {-17.5, -14, 17.5, 14}, "white band");
    EXPECT_EQ(boxes[1].color, kWhite);
    expectArgs(boxes[4], {-18.5, -12.5, 18.5, 12.5}, "core");
    const auto lines = of("Line");
    ASSERT_EQ(lines.size(), 4u + 8u);
    expectArgs(lines[0], {-20, -15, -20, 15}, "outline");
    expectArgs(lines[3], {20, -15, -20, -15}, "outline closes");
    const auto arcs = of("Arc");
    ASSERT_EQ(arcs.size(), 8u);
    expectArgs(arcs[0], {-17.5, -12.5, 1.5, kPi / 2, kPi}, "band corner", 2e-6);
    expectArgs(arcs[4], {-17.5, -12.5, 1.0, kPi / 2, kPi}, "inner corner", 2e-6);
    for (const DrawOp& a : arcs) EXPECT_EQ(a.width, 1);
}

TEST_F(Kit, AxisSymbolSitsLowerLeftInMode0) {
    std::vector<DrawOp> m1, m0;
    DrawAxisSymbol(po, frame(0, 0, 1, 1, 1));
    m1 = pic.ops;
    pic.ops.clear();
    DrawAxisSymbol(po, frame(0, 0, 1, 1, 0));
    m0 = pic.ops;
    ASSERT_EQ(m1.size(), 8u);
    ASSERT_EQ(m0.size(), m1.size());
    expectArgs(m1[0], {-15, 21, -10, 21}, "X arrow");
    EXPECT_EQ(m1[3].kind, "Print");
    EXPECT_EQ(m1[3].text, "X");
    expectArgs(m1[3], {-9.5, 20}, "X");
    expectArgs(m1[4], {-15, 21, -15, 16}, "Y arrow");
    expectArgs(m1[7], {-15.5, 13.5}, "Y");
    for (size_t i = 0; i < m1.size(); ++i)
        for (size_t j = 0; j < m1[i].args.size(); ++j)
            EXPECT_NEAR(m0[i].args[j], m1[i].args[j] + (j % 2 == 0 ? -5 : 2), 1e-6) << i;
}

TEST_F(Kit, DimensionLines) {
    po.setDrawWidth(2);
    DrawDimensionLine(po, unit, 0, "10", 0.25, 0, 0, 10, 0, 5);
    ASSERT_EQ(pic.ops.size(), 8u);
    expectArgs(pic.ops[0], {0, 0, 0, 5.5}, "extension 1");
    expectArgs(pic.ops[1], {10, 0, 10, 5.5}, "extension 2");
    expectArgs(pic.ops[2], {0, 5, 10, 5}, "dimension line");
    expectArgs(pic.ops[3], {0, 5, 1.5, 4.5}, "arrow");
    expectArgs(pic.ops[6], {10, 5, 8.5, 5.5}, "arrow");
    EXPECT_EQ(pic.ops[7].kind, "Print");
    expectArgs(pic.ops[7], {3.5, 2.8 + 0.25}, "text");
    EXPECT_EQ(pic.ops[7].text, "10");
    EXPECT_EQ(pic.ops[2].width, 1);
    EXPECT_EQ(po.DrawWidth(), 2);

    pic.ops.clear();
    DrawDimensionLine(po, frame(100, 100, 2, 2), 1, "7", 0, 0, 0, 0, 7, -4);
    ASSERT_EQ(pic.ops.size(), 8u);
    expectArgs(pic.ops[2], {92, 114, 92, 100}, "vertical line");
    expectArgs(pic.ops[0], {100, 100, 93, 100}, "extension");
    expectArgs(pic.ops[7], {90, 105}, "vertical text");

    pic.ops.clear();
    DrawDimensionLine(po, unit, 2, "x", 0, 0, 0, 1, 1, 1);
    EXPECT_TRUE(pic.ops.empty());
    EXPECT_EQ(po.DrawWidth(), 2);
}

TEST_F(Kit, PenWidthComesBackWhenASymbolFails) {
    po.setDrawWidth(3);
    pic.failDraws = true;
    EXPECT_THROW(DrawAxisSymbol(po, unit), RecordingFailure);
    EXPECT_THROW(DrawTubeSectionSymbol(po, unit, -1, 0, 40, 30, 2, 2), RecordingFailure);
    EXPECT_EQ(po.DrawWidth(), 3);
    EXPECT_EQ(po.FillStyle(), 1);
}

TEST_F(Kit, Helpers) {
    const PositionTbl p = RotatePoint({1, 0}, kPi / 2);
    EXPECT_NEAR(p.xx, 0, 1e-12);
    EXPECT_NEAR(p.YY, -1, 1e-12);
    // Surface coordinates, not through a frame.
    PrintTextAt(po, "寸法", 90, 123, 45, 6);
    ASSERT_EQ(pic.ops.size(), 1u);
    expectArgs(pic.ops[0], {123, 45}, "text");
    EXPECT_EQ(pic.ops[0].text, "寸法");
}
