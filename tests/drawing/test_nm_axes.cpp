// Chart frame and axes on both surfaces, and the section values of a column.
#include "drawing/nm_diagram.h"
#include "drawing/recording.h"
#include "nm_fixture.h"
#include "platform/text/vberror.h"

#include <algorithm>
#include <cmath>

using namespace drawing;
using nmtest::NMGlobals;

namespace {

// The texts in black: the values, not the rims of ground colour round them.
std::vector<std::string> Texts(const std::vector<DrawOp>& ops) {
    std::vector<std::string> t;
    for (const DrawOp& o : ops)
        if ((o.kind == "Text" || o.kind == "Print") && o.color == 0) t.push_back(o.text);
    return t;
}

size_t CountLines(const std::vector<DrawOp>& ops, int width, bool vertical) {
    return static_cast<size_t>(std::count_if(ops.begin(), ops.end(), [&](const DrawOp& o) {
        return o.kind == "Line" && o.width == width &&
               (vertical ? o.args[0] == o.args[2] : o.args[1] == o.args[3]);
    }));
}

class Axes : public ::testing::Test {
protected:
    void SetUp() override {
        FigureFrameTbl& f = gNMChart;
        f.X0 = 50;
        f.Y0 = 100;
        f.ScaleX = 0.2;
        f.ScaleY = 0.1;
        f.StepM = 50;
        f.StepN = 250;
        f.MaxM = 240;
        f.MinN = -1010;
        f.MaxN = 170;
        model::gKvBase(1).RotateMode = model::kTrue;
        po.setprpMode(1);
        po.setprpVsPrinter(&page);
        // About half an em at 9 points: the labels fit the 48 mm halves.
        page.charWidth = 1.6;
    }
    NMGlobals globals;
    RecordingPage page{1.0};  // logs millimetres, y + 4.5
    RecordingPicture pic;
    clsPrintOut po;
    int16_t iCol = 1;
};

TEST_F(Axes, PaperLabelsGridAndTitles) {
    DrawNMAxes(po, iCol);
    // The axes print only the direction; the values wait for DrawNMAxisValues.
    EXPECT_EQ(Texts(page.ops), std::vector<std::string>{"X"});
    DrawNMAxisValues(po);
    // M labels right and left, the origin, N labels (250 lies beyond MaxN 170;
    // -1000 would start above the top edge), the titles.
    const std::vector<std::string> expected = {"X",   "50",   "100",  "150",  "200",     "-50",
                                               "-100", "-150", "-200", "0",    "250",     "500",
                                               "750",  "M(kN･m)", "N(kN)"};
    EXPECT_EQ(Texts(page.ops), expected);
    // Main grid and axes (pen 3): 8 + N axis vertical, M axis + 4 compression
    // lines horizontal (the suppressed label keeps its line).
    EXPECT_EQ(CountLines(page.ops, 3, true), 9u);
    EXPECT_EQ(CountLines(page.ops, 3, false), 5u);
    // Fifth steps (pen 1): 24 + 24 vertical; 3 tension + 20 compression horizontal.
    EXPECT_EQ(CountLines(page.ops, 1, true), 48u);
    EXPECT_EQ(CountLines(page.ops, 1, false), 23u);
    // The first M label: (X0 + 0.3 x 3.5 + 50 x 0.2, Y0 - 3.5), y logged 4.5 lower.
    const auto label = std::find_if(page.ops.begin(), page.ops.end(),
                                    [](const DrawOp& o) { return o.text == "50" && o.color == 0; });
    EXPECT_DOUBLE_EQ(label->args[0], 50 + 1.05 + 10);
    EXPECT_DOUBLE_EQ(label->args[1], 100 - 3.5 + 4.5);
    // The grid spans the chart from the bottom (170) to the top (-1010).
    const auto grid = std::find_if(page.ops.begin(), page.ops.end(), [](const DrawOp& o) {
        return o.kind == "Line" && o.args[0] == 60;
    });
    ASSERT_NE(grid, page.ops.end());
    EXPECT_DOUBLE_EQ(grid->args[1], 117 + 4.5);
    EXPECT_DOUBLE_EQ(grid->args[3], -1 + 4.5);
}

TEST_F(Axes, ScreenHasNoFifthStepsAndScalesTheLabelOffsetWithTheFont) {
    po.setprpMode(2);
    po.setprpPicture(&pic);
    pic.setFontSize(11);
    gNMChart.Y0 = 3000;
    gNMChart.ScaleY = 2.5;
    gNMChart.MinN = -1100;
    DrawNMAxes(po, iCol);
    DrawNMAxisValues(po);
    EXPECT_EQ(CountLines(pic.ops, 1, true), 8u);
    EXPECT_EQ(CountLines(pic.ops, 1, false), 4u);
    EXPECT_EQ(CountLines(pic.ops, 2, true), 1u);
    EXPECT_EQ(CountLines(pic.ops, 2, false), 1u);
    const auto zero = std::find_if(pic.ops.begin(), pic.ops.end(),
                                   [](const DrawOp& o) { return o.text == "0" && o.color == 0; });
    ASSERT_NE(zero, pic.ops.end());
    EXPECT_FLOAT_EQ(static_cast<float>(zero->args[0]), 50 + 0.3f * 198);
    EXPECT_FLOAT_EQ(static_cast<float>(zero->args[1]), 3000 - 198);
    // -1000 at 3000 - 2500 - 198 lies below the top edge 250: printed.
    const auto t = Texts(pic.ops);
    EXPECT_NE(std::find(t.begin(), t.end(), "1000"), t.end());
}

TEST_F(Axes, StepLargerThanTheExtentLeavesAxesZeroAndTitles) {
    gNMChart.StepM = 500;
    gNMChart.StepN = 5000;
    model::gKvBase(1).RotateMode = model::kFalse;
    model::gSIDisp = false;
    DrawNMAxes(po, iCol);
    DrawNMAxisValues(po);
    EXPECT_EQ(Texts(page.ops), (std::vector<std::string>{"0", "M(tf･m)", "N(tf)"}));
    EXPECT_EQ(CountLines(page.ops, 3, true) + CountLines(page.ops, 3, false), 2u);
}

TEST_F(Axes, FractionalStepsPrintTheirDecimals) {
    gNMChart.StepM = 2.5;
    gNMChart.MaxM = 6;
    gNMChart.ScaleX = 8;
    gNMChart.StepN = 5000;
    DrawNMAxes(po, iCol);
    DrawNMAxisValues(po);
    const auto t = Texts(page.ops);
    // After the direction letter.
    ASSERT_GE(t.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(t.begin() + 1, t.begin() + 6),
              (std::vector<std::string>{"2.5", "5", "-2.5", "-5", "0"}));
}

TEST_F(Axes, DirectionBoxOnlyForBasesWhoseOrientationMatters) {
    struct Case {
        int16_t rotate, dispMode;
        size_t boxes;
        const char* letter;
    };
    for (const Case c : {Case{model::kTrue, 0, 1, "X"}, Case{model::kTrue, 1, 1, "Y"},
                         Case{model::kTrue, 2, 1, ""}, Case{model::kFalse, 0, 0, ""}}) {
        page.ops.clear();
        model::gKvBase(1).RotateMode = c.rotate;
        model::gDispMode = c.dispMode;
        DrawNMAxes(po, iCol);
        const auto rects = std::count_if(page.ops.begin(), page.ops.end(),
                                         [](const DrawOp& o) { return o.kind == "Rectangle"; });
        EXPECT_EQ(static_cast<size_t>(rects), 2 * c.boxes) << c.dispMode;
        const auto t = Texts(page.ops);
        EXPECT_EQ(t, *c.letter ? std::vector<std::string>{c.letter} : std::vector<std::string>{})
            << c.dispMode;
    }
    // The white box sits at the chart's upper left.
    model::gKvBase(1).RotateMode = model::kTrue;
    page.ops.clear();
    DrawNMAxes(po, iCol);
    const auto fill = std::find_if(page.ops.begin(), page.ops.end(),
                                   [](const DrawOp& o) { return o.kind == "Rectangle" && o.filled; });
    ASSERT_NE(fill, page.ops.end());
    EXPECT_EQ(fill->fillColor, 0xFFFFFF);
    EXPECT_DOUBLE_EQ(fill->args[0], 50 - 0.95 * 240 * 0.2);
    EXPECT_DOUBLE_EQ(fill->args[1], 100 + 0.95 * -1010 * 0.1 + 4.5);
}

TEST_F(Axes, StepsThatCannotEndFail) {
    for (const double step : {0.0, 1e-9}) {
        gNMChart.StepM = step;
        EXPECT_THROW(DrawNMAxes(po, iCol), vb::Error) << step;
    }
    gNMChart.StepM = 50;
    gNMChart.StepN = 0;
    EXPECT_THROW(DrawNMAxes(po, iCol), vb::Error);
}

TEST_F(Axes, ColumnOf999IsWrittenBack) {
    model::gColumns.redim(3);
    model::gKvBase.redim(3);
    model::gCurCol = 3;
    iCol = 999;
    DrawNMAxes(po, iCol);
    EXPECT_EQ(iCol, 3);
}

TEST(ColumnSectionValue, UserOrCatalogueTableByTheUserArea) {
    NMGlobals globals;
    model::ColumnDataTbl& col = model::gColumns(1);
    const double catalogue[] = {45, 392, 465, 300, 350};
    const double user[] = {0, 1, 2, 3, 4};
    for (long k = 0; k <= 4; ++k) {
        col.ColSpec(k) = catalogue[k];
        col.ColSpecUser(k) = user[k];
    }
    struct Case {
        double userArea;
        int16_t kind, dir;
        double expected;
    };
    const Case cases[] = {
        {0, 0, 0, 45},     {0, 1, 0, 392},   {0, 2, 0, 465},  {0, 1, 1, 300}, {0, 2, 1, 350},
        {0.001, 1, 0, 392}, {-50, 0, 1, -50}, {-50, 1, 0, 1},  {-50, 2, 1, 4},  {-50, 1, 1, 3},
        {0, 1, 2, 0},      {0, 2, 2, 0},     {0, 3, 0, 0},    {0, 0, 2, 45},
    };
    for (const Case& c : cases) {
        col.ColSpecUser(0) = c.userArea;
        int16_t iCol = 1, dir = c.dir;
        EXPECT_EQ(GetColumnSectionValue(c.kind, iCol, dir), c.expected)
            << c.userArea << " kind " << c.kind << " dir " << c.dir;
    }
    // 999: the current column and its engine direction (turned base, Y shown).
    model::gKvBase(1).RotateMode = model::kTrue;
    model::gDispMode = 1;
    col.ColSpecUser(0) = 0;
    int16_t iCol = 999, dir = 999;
    EXPECT_EQ(GetColumnSectionValue(1, iCol, dir), 300);
    EXPECT_EQ(iCol, 1);
    EXPECT_EQ(dir, 1);
}

}  // namespace
