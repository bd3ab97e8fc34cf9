#include "drawing/print_out.h"
#include "drawing/recording.h"
#include "platform/qt/ole_color.h"
#include "platform/text/vberror.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace drawing;
using vbqt::RGB;

namespace {

constexpr double kTpm = 1440.0 / 25.4;
constexpr int32_t kRed = RGB(255, 0, 0);
constexpr int32_t kBlue = RGB(0, 0, 255);

// One surface on each recording target.
struct Surfaces {
    RecordingPicture pic;
    RecordingPage page;
    clsPrintOut screen;
    clsPrintOut paper;
    Surfaces() {
        screen.setprpMode(2);
        screen.setprpPicture(&pic);
        paper.setprpMode(1);
        paper.setprpVsPrinter(&page);
    }
};

// What a call should reach a target with, in the caller's units; on paper
// x and lengths are multiplied by the millimetre factor and y also moved
// down 4.5 mm.
struct Expect {
    std::string kind;
    std::vector<double> args;
    int32_t color;
    bool filled = false;
};

std::vector<double> toPaper(const std::string& kind, std::vector<double> a) {
    const bool circle = kind == "Circle" || kind == "Arc";
    for (size_t i = 0; i < a.size(); ++i) {
        if (circle && i >= 3) continue;  // angles pass unchanged
        const bool isY = circle ? i == 1 : i % 2 == 1;
        a[i] = isY ? (a[i] + 4.5) * kTpm : a[i] * kTpm;
    }
    return a;
}

void expectOps(const std::vector<DrawOp>& got, const std::vector<Expect>& want,
               const std::string& where) {
    ASSERT_EQ(got.size(), want.size()) << where;
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].kind, want[i].kind) << where << " #" << i << ": " << got[i].str();
        ASSERT_EQ(got[i].args.size(), want[i].args.size()) << where << " #" << i;
        for (size_t j = 0; j < want[i].args.size(); ++j)
            EXPECT_NEAR(got[i].args[j], want[i].args[j], 1e-4)
                << where << " #" << i << " arg " << j << ": " << got[i].str();
        EXPECT_EQ(got[i].color, want[i].color) << where << " #" << i << ": " << got[i].str();
        EXPECT_EQ(got[i].filled, want[i].filled) << where << " #" << i << ": " << got[i].str();
    }
}

}  // namespace

TEST(clsPrintOut, UnsetModeDrawsOnThePicture) {
    RecordingPicture pic;
    RecordingPage page;
    clsPrintOut po;
    po.setprpPicture(&pic);
    po.setprpVsPrinter(&page);
    EXPECT_EQ(po.prpMode(), 0);
    po.Draw_Line(1, 2, 3, 4);
    EXPECT_EQ(pic.ops.size(), 1u);
    EXPECT_TRUE(page.ops.empty());
}

TEST(clsPrintOut, BindingMeasuresTheMillimetreAndKeepsThePosition) {
    RecordingPage page;
    page.setCurrentX(123.0);
    page.setCurrentY(456.0);
    clsPrintOut po;
    po.setprpMode(1);
    EXPECT_EQ(po.twipsPerMmX(), 1.0);
    EXPECT_EQ(po.twipsPerMmY(), 1.0);
    po.setprpVsPrinter(&page);
    EXPECT_NEAR(po.twipsPerMmX(), kTpm, 1e-9);
    EXPECT_NEAR(po.twipsPerMmY(), kTpm, 1e-9);
    EXPECT_EQ(po.prpVsPrinter(), &page);
    EXPECT_EQ(page.CurrentX(), 123.0);
    EXPECT_EQ(page.CurrentY(), 456.0);
    // Binding a control in millimetres measures again.
    RecordingPage mm(1.0);
    po.setprpVsPrinter(&mm);
    EXPECT_EQ(po.twipsPerMmX(), 1.0);
}

TEST(clsPrintOut, AControlWithoutAMillimetreIsNotBound) {
    RecordingPage broken(0.0);
    clsPrintOut po;
    po.setprpMode(1);
    EXPECT_THROW(po.setprpVsPrinter(&broken), DrawingError);
    EXPECT_EQ(po.prpVsPrinter(), nullptr);
    EXPECT_THROW(po.Draw_Line(0, 0, 1, 1), DrawingError);
}

TEST(clsPrintOut, UnboundTargetFailsTheCall) {
    clsPrintOut po;
    EXPECT_THROW(po.Draw_Line(0, 0, 1, 1), DrawingError);
    EXPECT_THROW(po.setForeColor(0), DrawingError);
    po.setprpMode(1);
    EXPECT_THROW(po.DPrint("x"), DrawingError);
}

TEST(clsPrintOut, PaperCoordinatesAreTwipsWithYLower) {
    Surfaces s;
    s.paper.setCurrentY(10);
    EXPECT_NEAR(s.page.CurrentY(), 14.5 * kTpm, 1e-9);
    EXPECT_NEAR(s.page.CurrentY(), 822.05, 0.01);
    EXPECT_NEAR(s.paper.CurrentY(), 10, 1e-12);
    s.paper.setCurrentX(10);
    EXPECT_NEAR(s.page.CurrentX(), 10 * kTpm, 1e-9);
    EXPECT_NEAR(s.paper.CurrentX(), 10, 1e-12);
    // The picture takes the caller's values as they are (single precision).
    s.screen.setCurrentX(10.3);
    s.screen.setCurrentY(-2);
    EXPECT_EQ(s.pic.CurrentX(), 10.3f);
    EXPECT_EQ(s.screen.CurrentY(), -2);
}

TEST(clsPrintOut, DrawingCallsReachBothTargets) {
    struct Case {
        const char* name;
        std::function<void(clsPrintOut&)> draw;
        std::vector<Expect> picture;  // Expect.color: the colour each target draws with
        std::vector<Expect> paper;
        double endX, endY;            // current point afterwards
    };
    // Pen / fore colour red, fill style solid: what the calls do with it.
    const std::vector<Case> cases = {
        {"line", [](clsPrintOut& p) { p.Draw_Line(1, 2, 3, 4); },
         {{"Line", {1, 2, 3, 4}, kRed}}, {{"Line", {1, 2, 3, 4}, kRed}}, 3, 4},
        {"line in its own colour", [](clsPrintOut& p) { p.Draw_Line(1, 2, 3, 4, kBlue); },
         {{"Line", {1, 2, 3, 4}, kBlue}}, {{"Line", {1, 2, 3, 4}, kBlue}}, 3, 4},
        {"polyline from the current point",
         [](clsPrintOut& p) {
             p.Draw_Line(kLineFromCurrent, 0, 20, 10);
             p.Draw_Line(kLineFromCurrent, 99, 20, 20);
         },
         {{"Line", {10, 10, 20, 10}, kRed}, {"Line", {20, 10, 20, 20}, kRed}},
         {{"Line", {10, 10, 20, 10}, kRed}, {"Line", {20, 10, 20, 20}, kRed}}, 20, 20},
        {"two steps", [](clsPrintOut& p) { p.Draw_LineStepStep(1, 2, 3, 4); },
         {{"Line", {11, 12, 14, 16}, kRed}}, {{"Line", {11, 12, 14, 16}, kRed}}, 14, 16},
        {"step from the current point",
         [](clsPrintOut& p) { p.Draw_LineStepStep(kLineFromCurrent, 0, 3, 4); },
         {{"Line", {10, 10, 13, 14}, kRed}}, {{"Line", {10, 10, 13, 14}, kRed}}, 13, 14},
        {"point", [](clsPrintOut& p) { p.Draw_PsetStep(2, 3, kBlue); },
         {{"PSet", {12, 13}, kBlue}}, {{"Line", {12, 13, 12, 13}, kBlue}}, 12, 13},
        {"outline box", [](clsPrintOut& p) { p.Draw_Rectangle(1, 2, 5, 6, kBlue); },
         {{"Box", {1, 2, 5, 6}, kBlue}}, {{"Rectangle", {1, 2, 5, 6}, kBlue}}, 10, 10},
        {"outline box by size", [](clsPrintOut& p) { p.Draw_RectangleStep(1, 2, 4, 4); },
         {{"Box", {1, 2, 5, 6}, kRed}}, {{"Rectangle", {1, 2, 5, 6}, kRed}}, 10, 10},
        {"filled box", [](clsPrintOut& p) { p.Draw_RectangleBF(1, 2, 5, 6, kBlue); },
         {{"BoxFill", {1, 2, 5, 6}, kBlue, true}}, {{"Rectangle", {1, 2, 5, 6}, kBlue, true}}, 10,
         10},
        {"circle without colour is black", [](clsPrintOut& p) { p.Draw_Circle(5, 6, 2); },
         {{"Circle", {5, 6, 2}, 0, true}}, {{"Circle", {5, 6, 2}, 0, false}}, 5, 6},
        {"circle start -9999 is full whatever the end",
         [](clsPrintOut& p) { p.Draw_Circle(5, 6, 2, kBlue, kFullCircle, 1.0); },
         {{"Circle", {5, 6, 2}, kBlue, true}}, {{"Circle", {5, 6, 2}, kBlue, false}}, 5, 6},
        {"arc angles pass unchanged",
         [](clsPrintOut& p) { p.Draw_Circle(5, 6, 2, -1, 0.5, 4.0); },
         {{"Arc", {5, 6, 2, 0.5, 4.0}, kRed}}, {{"Arc", {5, 6, 2, 0.5, 4.0}, kRed}}, 5, 6},
        {"stepped circle uses the pen", [](clsPrintOut& p) { p.Draw_Circle_Step(1, -1, 2); },
         {{"Circle", {11, 9, 2}, kRed, true}}, {{"Circle", {11, 9, 2}, kRed, false}}, 11, 9},
    };
    for (const Case& c : cases) {
        Surfaces s;
        for (clsPrintOut* po : {&s.screen, &s.paper}) {
            po->setForeColor(kRed);
            po->setFillStyle(0);
            po->setCurrentX(10);
            po->setCurrentY(10);
        }
        s.page.setPenColor(kRed);
        s.page.setBrushStyle(0);
        c.draw(s.screen);
        c.draw(s.paper);
        expectOps(s.pic.ops, c.picture, std::string(c.name) + " (picture)");
        std::vector<Expect> paper = c.paper;
        for (Expect& e : paper) e.args = toPaper(e.kind, e.args);
        expectOps(s.page.ops, paper, std::string(c.name) + " (paper)");
        EXPECT_NEAR(s.pic.CurrentX(), c.endX, 1e-5) << c.name;
        EXPECT_NEAR(s.pic.CurrentY(), c.endY, 1e-5) << c.name;
        // On paper the current point is the surface's; a relative call shows it.
        s.paper.Draw_LineStepStep(0, 0, 0, 0);
        EXPECT_NEAR(s.page.ops.back().args[0], c.endX * kTpm, 1e-6) << c.name;
        EXPECT_NEAR(s.page.ops.back().args[1], (c.endY + 4.5) * kTpm, 1e-6) << c.name;
        // Every call left the page's pen, brush and brush style as they were.
        EXPECT_EQ(s.page.PenColor(), kRed) << c.name;
        EXPECT_EQ(s.page.BrushStyle(), 0) << c.name;
        EXPECT_EQ(s.page.BrushColor(), RGB(255, 255, 255)) << c.name;
        EXPECT_EQ(s.pic.ForeColor(), kRed) << c.name;
    }
}

TEST(clsPrintOut, PaperDrawsWithTheBrushAndPenSetForTheCall) {
    Surfaces s;
    s.page.setBrushColor(kBlue);
    s.page.setBrushStyle(1);
    s.paper.Draw_RectangleBF(1, 2, 5, 6, kRed);
    s.paper.Draw_RectangleBF(1, 2, 5, 6);
    s.paper.Draw_Rectangle(1, 2, 5, 6);
    ASSERT_EQ(s.page.ops.size(), 3u);
    EXPECT_EQ(s.page.ops[0].fillColor, kRed);
    EXPECT_EQ(s.page.ops[0].fillStyle, 0);
    EXPECT_EQ(s.page.ops[0].color, kRed);
    // Colour -1: the control's own brush and pen.
    EXPECT_EQ(s.page.ops[1].fillColor, kBlue);
    EXPECT_EQ(s.page.ops[1].fillStyle, 0);
    EXPECT_EQ(s.page.ops[1].color, 0);
    EXPECT_EQ(s.page.ops[2].fillStyle, 1);
    EXPECT_EQ(s.page.BrushColor(), kBlue);
    EXPECT_EQ(s.page.BrushStyle(), 1);
    EXPECT_EQ(s.page.PenColor(), 0);
}

TEST(clsPrintOut, ForeColourOnPaperColoursTextsOnly) {
    Surfaces s;
    s.paper.setForeColor(kRed);
    s.paper.Draw_Line(0, 0, 1, 1);
    s.paper.DPrint("a");
    EXPECT_EQ(s.page.ops[0].color, 0);
    EXPECT_EQ(s.page.ops[1].color, kRed);
    EXPECT_EQ(s.paper.ForeColor(), kRed);
}

TEST(clsPrintOut, CentredTextLandsAtTheSameCornerOnBothTargets) {
    Surfaces s;
    // "ABCD" is 20 mm wide and 4 mm high on both.
    s.pic.charWidth = 5;
    s.pic.textHeight = 4;
    s.page.charWidth = 5 * kTpm;
    s.page.textHeight = 4 * kTpm;
    for (clsPrintOut* po : {&s.screen, &s.paper}) {
        po->setCurrentX(100);
        po->setCurrentY(50);
        po->DPrintCC("ABCD");
    }
    expectOps(s.pic.ops, {{"Print", {90, 48}, 0}}, "picture");
    expectOps(s.page.ops, {{"Text", {90 * kTpm, 52.5 * kTpm}, 0}}, "paper");
    // The picture ends the line; paper continues after the text.
    EXPECT_EQ(s.screen.CurrentX(), 0);
    EXPECT_NEAR(s.screen.CurrentY(), 52, 1e-6);
    EXPECT_NEAR(s.paper.CurrentX(), 110, 1e-9);
    EXPECT_NEAR(s.paper.CurrentY(), 48, 1e-9);
}

TEST(clsPrintOut, RightAlignedTextEndsAtTheCurrentPoint) {
    Surfaces s;
    s.pic.charWidth = 5;
    s.page.charWidth = 5 * kTpm;
    for (clsPrintOut* po : {&s.screen, &s.paper}) {
        po->setCurrentX(100);
        po->setCurrentY(50);
        po->DPrintRU("AB");
    }
    expectOps(s.pic.ops, {{"Print", {90, 50}, 0}}, "picture");
    expectOps(s.page.ops, {{"Text", {90 * kTpm, 54.5 * kTpm}, 0}}, "paper");
}

TEST(clsPrintOut, TextsWithoutANewPositionContinueOnPaperAndStartANewLineOnScreen) {
    Surfaces s;
    s.pic.charWidth = 3;
    s.pic.textHeight = 4;
    s.page.charWidth = 3 * kTpm;
    for (clsPrintOut* po : {&s.screen, &s.paper}) {
        po->setCurrentX(10);
        po->setCurrentY(20);
        po->DPrint("AB");
        po->DPrint("CD");
    }
    expectOps(s.pic.ops, {{"Print", {10, 20}, 0}, {"Print", {0, 24}, 0}}, "picture");
    expectOps(s.page.ops,
              {{"Text", {10 * kTpm, 24.5 * kTpm}, 0}, {"Text", {16 * kTpm, 24.5 * kTpm}, 0}},
              "paper");
}

TEST(clsPrintOut, TargetOnlyMembersAreInertElsewhere) {
    Surfaces s;
    s.page.setPaperSize(8);
    s.page.setOrientation(1);
    s.screen.NewPage();
    s.screen.setPaperSize(9);
    s.screen.setOrientation(1);
    EXPECT_EQ(s.screen.PaperSize(), 0);
    EXPECT_EQ(s.screen.Orientation(), 0);
    EXPECT_TRUE(s.pic.ops.empty());
    s.paper.Cls();
    EXPECT_TRUE(s.page.ops.empty());
    EXPECT_EQ(s.paper.ScaleWidth(), 0);
    EXPECT_EQ(s.paper.ScaleHeight(), 0);
    EXPECT_EQ(s.screen.ScaleWidth(), 4800);
    EXPECT_EQ(s.paper.PaperSize(), 8);
    EXPECT_EQ(s.paper.Orientation(), 1);
    s.paper.NewPage();
    EXPECT_EQ(s.page.pageCount, 2);
    for (clsPrintOut* po : {&s.screen, &s.paper}) {
        po->setScaleMode(3);
        EXPECT_EQ(po->ScaleMode(), 0);
    }
    // Draw style reads 0 on paper but sets the pen style.
    s.paper.setDrawStyle(2);
    EXPECT_EQ(s.paper.DrawStyle(), 0);
    EXPECT_EQ(s.page.PenStyle(), 2);
}

TEST(clsPrintOut, FontsGoToTheTarget) {
    Surfaces s;
    s.paper.setFontName("ＭＳ ゴシック");
    s.paper.setFontSize(6);
    EXPECT_EQ(s.page.Font().Name, "ＭＳ ゴシック");
    EXPECT_EQ(s.paper.FontSize(), 6);
    StdFont f;
    f.Name = "ＭＳ Ｐゴシック";
    f.Size = 20;
    f.Bold = true;
    s.paper.setFont(f);
    EXPECT_EQ(s.page.Font(), f);
    // The picture takes only the name of a font object.
    s.screen.setFontSize(11);
    s.screen.setFont(f);
    EXPECT_EQ(s.pic.FontName(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(s.screen.FontSize(), 11);
    EXPECT_FALSE(s.screen.Font().Bold);
}

TEST(clsPrintOut, PictureStyleValuesAre16Bit) {
    Surfaces s;
    EXPECT_THROW(s.screen.setDrawWidth(40000), vb::Overflow);
    EXPECT_THROW(s.screen.setFillStyle(-40000), vb::Overflow);
    EXPECT_THROW(s.screen.setDrawStyle(70000), vb::Overflow);
    EXPECT_EQ(s.screen.DrawWidth(), 1);
    s.paper.setDrawWidth(40000);  // passed unchanged
    EXPECT_EQ(s.page.PenWidth(), 40000);
}

TEST(clsPrintOut, PenAndBrushComeBackWhenTheDrawingFails) {
    Surfaces s;
    s.page.setPenColor(kBlue);
    s.page.setBrushColor(RGB(1, 2, 3));
    s.page.setBrushStyle(1);
    s.page.failDraws = true;
    EXPECT_THROW(s.paper.Draw_RectangleBF(1, 2, 3, 4, kRed), RecordingFailure);
    EXPECT_THROW(s.paper.Draw_Circle(1, 2, 3, kRed), RecordingFailure);
    EXPECT_THROW(s.paper.Draw_Line(1, 2, 3, 4, kRed), RecordingFailure);
    EXPECT_EQ(s.page.PenColor(), kBlue);
    EXPECT_EQ(s.page.BrushColor(), RGB(1, 2, 3));
    EXPECT_EQ(s.page.BrushStyle(), 1);

    s.screen.setCurrentX(7);
    s.screen.setCurrentY(8);
    s.pic.failDraws = true;
    EXPECT_THROW(s.screen.Draw_Rectangle(1, 2, 3, 4), RecordingFailure);
    EXPECT_EQ(s.screen.CurrentX(), 7);
    EXPECT_EQ(s.screen.CurrentY(), 8);
}
