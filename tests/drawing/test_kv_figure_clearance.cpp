// Dimension texts of the tube figure on the real targets: the bolt pitch
// "400" stands over its dimension line without touching it.
#include "drawing/kv_figure_tube.h"
#include "ink_fixture.h"
#include "kv_figure_fixture.h"

#include <gtest/gtest.h>

using namespace drawing;
using namespace figtest;
using namespace inktest;

namespace {

struct TubeInk : FigureTest {
    TubeInk() {
        useSymmetricBoxBase();
    }

    // The main window's frame at 15 twips a pixel.
    QImage screen(const std::string& without, bool* skipped = nullptr) {
        vbqt::PictureBox box;
        box.resize(300, 300);
        box.setTwipsPerPixel(15, 15);
        PictureWithout target(box, without);
        clsPrintOut s;
        s.setprpMode(2);
        s.setprpPicture(&target);
        int16_t i = 1, d = 0;
        DrawKvFigureTube(s, Frame(0.8 * box.ScaleWidth() / 2, 0.8 * box.ScaleHeight() / 2 - 100, 100), i, d);
        if (skipped) *skipped = target.skipped();
        return box.image().copy();
    }

    // The calculation sheet's place, the page at 150 dpi.
    QImage sheet(const std::string& without, bool* skipped = nullptr) {
        vbqt::PrintControl pc;
        pc.StartDoc();
        PageWithout target(pc, without, false);
        clsPrintOut s;
        s.setprpMode(1);
        s.setprpVsPrinter(&target);
        int16_t i = 1, d = 0;
        DrawKvFigureTube(s, Frame(136.5, 30, 0.95), i, d);
        pc.EndDoc();
        if (skipped) *skipped = target.skipped();
        return pc.renderPage(0, kPaperDpi);
    }
};

TEST_F(TubeInk, BoltPitchTextClearsItsLineOnScreenAndOnPaper) {
    for (bool onPaper : {false, true}) {
        const auto draw = [&](const std::string& t, bool* skipped) {
            return onPaper ? sheet(t, skipped) : screen(t, skipped);
        };
        const char* where = onPaper ? "paper" : "screen";
        bool skipped = false;
        const QImage whole = draw("", nullptr);
        const QImage without = draw("400", &skipped);
        ASSERT_TRUE(skipped) << where;
        const QRect glyphs = GlyphBox(whole, without);
        ASSERT_FALSE(glyphs.isEmpty()) << where;
        EXPECT_EQ(OtherInk(without, glyphs), 0) << where;
        // The line runs right under the text.
        EXPECT_GT(OtherInk(without, glyphs.adjusted(0, 0, 0, onPaper ? kPaperMm / 4 : 2)), 0) << where;
    }
}

}  // namespace
