// Tick labels of the N-M chart on the real targets: the first negative M
// label stands over the M axis without touching it.
#include "drawing/nm_diagram.h"
#include "ink_fixture.h"
#include "nm_fixture.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace drawing;
using namespace inktest;
using nmtest::NMGlobals;

namespace {

// The chart a 640 x 480 picture or an 82.5 x 138 mm page area gets for
// moments up to 290 and forces from -4300 to 1270.
// The moment extent and step can be changed for a test.
double gMaxM = 290;
double gStepM = 100;

void Chart(bool paper, double width, double height) {
    FigureFrameTbl& f = gNMChart;
    f.MaxM = gMaxM;
    f.MinN = -4300;
    f.MaxN = 1270;
    f.StepM = gStepM;
    f.StepN = 1000;
    f.ScaleX = width / f.MaxM / 2;
    f.ScaleY = height / (f.MaxN - f.MinN);
    f.X0 = width / 2 + (paper ? 15 : 0);
    f.Y0 = -f.MinN * f.ScaleY + (paper ? 30 : 0);
}

QImage Screen(const std::string& without, bool* skipped) {
    vbqt::PictureBox box;
    box.resize(640, 480);
    box.setTwipsPerPixel(15, 15);
    box.setBackColor(0xFFFFFF);
    PictureWithout target(box, without, true);
    clsPrintOut po;
    po.setprpMode(2);
    po.setprpPicture(&target);
    po.setFontName("ＭＳ 明朝");
    po.setFontSize(11);
    Chart(false, po.ScaleWidth(), po.ScaleHeight());
    int16_t iCol = 1;
    DrawNMAxes(po, iCol);
    DrawNMAxisValues(po);
    *skipped = target.skipped();
    return box.image().copy();
}

// Paper draws fifth-step lines across the labels by design; only the
// horizontal lines, the axis among them, are kept.
QImage Paper(const std::string& without, bool* skipped) {
    vbqt::PrintControl pc;
    pc.StartDoc();
    PageWithout target(pc, without, true, true);
    clsPrintOut po;
    po.setprpMode(1);
    po.setprpVsPrinter(&target);
    po.setFontName("ＭＳ 明朝");
    po.setFontSize(6);
    Chart(true, 82.5, 138);
    int16_t iCol = 1;
    DrawNMAxes(po, iCol);
    DrawNMAxisValues(po);
    pc.EndDoc();
    *skipped = target.skipped();
    return pc.renderPage(0, kPaperDpi);
}

TEST(NMInk, FirstNegativeMomentLabelClearsTheAxis) {
    NMGlobals globals;
    for (bool onPaper : {false, true}) {
        const char* where = onPaper ? "paper" : "screen";
        const auto draw = onPaper ? Paper : Screen;
        bool skipped = false;
        const QImage whole = draw("", &skipped);
        const QImage without = draw("-100", &skipped);
        ASSERT_TRUE(skipped) << where;
        const QRect glyphs = GlyphBox(whole, without);
        ASSERT_FALSE(glyphs.isEmpty()) << where;
        EXPECT_EQ(OtherInk(without, glyphs), 0) << where << " glyphs " << glyphs.top() << ".."
                                                << glyphs.bottom();
        // The axis runs under the label: on the glyphs' foot on screen, 1.6 mm
        // lower on paper.
        EXPECT_GT(OtherInk(without, glyphs.adjusted(0, 0, 0, onPaper ? 2 * kPaperMm : 2)), 0) << where;
    }
}

// Pixel columns of `box` that the text inks (darker than without it), in
// runs: one run a digit of a tick label at these sizes. Its rim only lightens.
int GlyphRuns(const QImage& whole, const QImage& without, const QRect& box) {
    int runs = 0;
    bool in = false;
    for (int x = box.left(); x <= box.right(); ++x) {
        bool inked = false;
        for (int y = box.top(); y <= box.bottom() && !inked; ++y)
            inked = qGray(whole.pixel(x, y)) + 32 <= qGray(without.pixel(x, y));  // ink, not a rim's ground
        if (inked && !in) ++runs;
        in = inked;
    }
    return runs;
}

// The last tick label of the positive moments lies near the right edge: it
// is drawn whole inside the chart (moved left of its line), never cut at the
// edge, or left out where it would meet the label before it there (paper,
// steps of 8 mm). Moments up to 760 by 250 ("750"), up to 3040 by 1000
// ("3000") and up to 505 by 100 ("500").
TEST(NMInk, LastMomentLabelNearTheRightEdgeStaysWholeInside) {
    NMGlobals globals;
    struct Case {
        double maxM, stepM;
        const char* label;
        bool onPaperToo;
    } cases[] = {{760, 250, "750", true}, {3040, 1000, "3000", true}, {505, 100, "500", false}};
    for (const Case& c : cases) {
        gMaxM = c.maxM;
        gStepM = c.stepM;
        for (bool onPaper : {false, true}) {
            const std::string where = std::string(onPaper ? "paper " : "screen ") + c.label;
            const auto draw = onPaper ? Paper : Screen;
            bool skipped = false;
            const QImage whole = draw("", &skipped);
            const QImage without = draw(c.label, &skipped);
            if (onPaper && !c.onPaperToo) {
                EXPECT_FALSE(skipped) << where << " is printed, though it has no room";
                continue;
            }
            ASSERT_TRUE(skipped) << where;
            const QRect glyphs = GlyphBox(whole, without);
            ASSERT_FALSE(glyphs.isEmpty()) << where;
            // The chart's right edge in the picture.
            const FigureFrameTbl& f = gNMChart;
            const double rightUnits = f.X0 + f.MaxM * f.ScaleX;
            const double right = onPaper ? rightUnits / 25.4 * kPaperDpi : rightUnits / 15.0;
            EXPECT_LT(glyphs.right(), right - 1) << where;
            EXPECT_EQ(GlyphRuns(whole, without, glyphs), static_cast<int>(std::strlen(c.label))) << where;
        }
    }
    gMaxM = 290;
    gStepM = 100;
}

}  // namespace
