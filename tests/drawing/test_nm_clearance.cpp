// Tick labels of the N-M chart on the real targets: the first negative M
// label stands over the M axis without touching it.
#include "drawing/nm_diagram.h"
#include "ink_fixture.h"
#include "nm_fixture.h"

#include <gtest/gtest.h>

using namespace drawing;
using namespace inktest;
using nmtest::NMGlobals;

namespace {

// The chart a 640 x 480 picture or an 82.5 x 138 mm page area gets for
// moments up to 290 and forces from -4300 to 1270.
void Chart(bool paper, double width, double height) {
    FigureFrameTbl& f = gNMChart;
    f.MaxM = 290;
    f.MinN = -4300;
    f.MaxN = 1270;
    f.StepM = 100;
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
    PictureWithout target(box, without);
    clsPrintOut po;
    po.setprpMode(2);
    po.setprpPicture(&target);
    po.setFontName("ＭＳ 明朝");
    po.setFontSize(11);
    Chart(false, po.ScaleWidth(), po.ScaleHeight());
    int16_t iCol = 1;
    DrawNMAxes(po, iCol);
    *skipped = target.skipped();
    return box.image().copy();
}

// Paper draws fifth-step lines across the labels by design; only the
// horizontal lines, the axis among them, are kept.
QImage Paper(const std::string& without, bool* skipped) {
    vbqt::PrintControl pc;
    pc.StartDoc();
    PageWithout target(pc, without, true);
    clsPrintOut po;
    po.setprpMode(1);
    po.setprpVsPrinter(&target);
    po.setFontName("ＭＳ 明朝");
    po.setFontSize(6);
    Chart(true, 82.5, 138);
    int16_t iCol = 1;
    DrawNMAxes(po, iCol);
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

}  // namespace
