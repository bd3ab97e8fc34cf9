#include "platform/qt/ole_color.h"
#include "platform/qt/picture_box.h"
#include "platform/text/vberror.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vbqt;

namespace {

constexpr int32_t kRed = RGB(255, 0, 0);
constexpr int32_t kGreen = RGB(0, 160, 0);
constexpr int32_t kBlue = RGB(0, 0, 255);
constexpr int32_t kBack = RGB(250, 250, 240);
constexpr double kPi = 3.14159265358979;

// 200 x 150 pixels at 15 twips a pixel: 3000 x 2250 twips.
class PictureBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        box.resize(200, 150);
        box.setTwipsPerPixel(15, 15);
        box.setBackColor(kBack);
    }
    QColor px(int x, int y) const { return box.image().pixelColor(x, y); }
    PictureBox box;
};

}  // namespace

TEST_F(PictureBoxTest, ScaleIsTwips) {
    EXPECT_FLOAT_EQ(box.ScaleWidth(), 3000);
    EXPECT_FLOAT_EQ(box.ScaleHeight(), 2250);
    EXPECT_EQ(box.image().size(), QSize(200, 150));
}

TEST_F(PictureBoxTest, ClsFillsWithTheBackColourAndHomesThePoint) {
    box.setForeColor(kRed);
    box.Line(VbPoint{0, 0}, VbPoint{2985, 2235}, std::nullopt, LineForm::Line);
    box.Cls();
    for (QPoint p : {QPoint(0, 0), QPoint(100, 75), QPoint(199, 149)})
        EXPECT_EQ(px(p.x(), p.y()), oleToQColor(kBack));
    EXPECT_EQ(box.CurrentX(), 0);
    EXPECT_EQ(box.CurrentY(), 0);
    box.setBackColor(RGB(10, 20, 30));
    EXPECT_EQ(px(50, 50), QColor(10, 20, 30));
}

TEST_F(PictureBoxTest, LineUsesForeColourOrItsOwnAndMovesTheCurrentPoint) {
    box.setForeColor(kRed);
    box.setDrawWidth(3);
    box.Line(VbPoint{150, 750}, VbPoint{2850, 750}, std::nullopt, LineForm::Line);
    EXPECT_EQ(px(100, 50), QColor(Qt::red));
    EXPECT_EQ(px(100, 55), oleToQColor(kBack));
    EXPECT_FLOAT_EQ(box.CurrentX(), 2850);
    // From the current point, relative, in its own colour; fore colour kept.
    box.Line(std::nullopt, VbPoint{0, 1200, true}, kBlue, LineForm::Line);
    EXPECT_EQ(px(190, 90), QColor(Qt::blue));
    EXPECT_EQ(box.ForeColor(), kRed);
    EXPECT_FLOAT_EQ(box.CurrentY(), 1950);
}

TEST_F(PictureBoxTest, FilledDiscVersusOutline) {
    box.setForeColor(kBlue);
    box.setDrawWidth(2);
    box.setFillColor(kGreen);
    box.setFillStyle(0);
    box.Circle(VbPoint{750, 750}, 600, std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(px(50, 50), QColor(0, 160, 0));
    EXPECT_EQ(px(90, 50), QColor(Qt::blue));  // on the rim, 40 px out
    EXPECT_FLOAT_EQ(box.CurrentX(), 750);

    box.setFillStyle(1);
    box.Circle(VbPoint{2250, 750}, 600, std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(px(150, 50), oleToQColor(kBack));
    EXPECT_EQ(px(190, 50), QColor(Qt::blue));
}

TEST_F(PictureBoxTest, ArcRunsCounterClockwiseAsSeen) {
    box.setForeColor(kRed);
    box.setDrawWidth(3);
    box.setFillStyle(0);  // arcs are never filled
    box.Circle(VbPoint{1500, 1125}, 900, std::nullopt, 0.0f, static_cast<float>(kPi / 2));
    const auto onRim = [&](double a) {
        return px(static_cast<int>(std::lround(100 + 60 * std::cos(a))),
                  static_cast<int>(std::lround(75 - 60 * std::sin(a))));
    };
    EXPECT_EQ(onRim(kPi / 4), QColor(Qt::red));   // up and right
    EXPECT_EQ(onRim(5 * kPi / 4), oleToQColor(kBack));
    EXPECT_EQ(px(100, 75), oleToQColor(kBack));
    // Negative start: taken as 3π/2, so the lower right quarter.
    box.Cls();
    box.Circle(VbPoint{1500, 1125}, 900, std::nullopt, static_cast<float>(-kPi / 2), 0.0f);
    EXPECT_EQ(onRim(-kPi / 4), QColor(Qt::red));
    EXPECT_EQ(onRim(kPi / 4), oleToQColor(kBack));
}

TEST_F(PictureBoxTest, BoxIsAnOutlineAndBoxFillIsFilledInTheLineColour) {
    box.setFillStyle(0);
    box.setFillColor(kGreen);
    box.Line(VbPoint{150, 150}, VbPoint{1350, 1350}, kRed, LineForm::Box);
    EXPECT_EQ(px(10, 50), QColor(Qt::red));
    EXPECT_EQ(px(50, 50), oleToQColor(kBack));
    box.Line(VbPoint{1650, 150}, VbPoint{1200, 1200, true}, kBlue, LineForm::BoxFill);
    EXPECT_EQ(px(150, 50), QColor(Qt::blue));
    EXPECT_EQ(px(111, 11), QColor(Qt::blue));
    EXPECT_FLOAT_EQ(box.CurrentX(), 2850);
}

TEST_F(PictureBoxTest, PSetIsRelativeWithStep) {
    box.setCurrentX(1500);
    box.setCurrentY(750);
    box.setDrawWidth(3);
    box.PSet(VbPoint{150, 150, true}, kRed);
    EXPECT_EQ(px(110, 60), QColor(Qt::red));
    EXPECT_FLOAT_EQ(box.CurrentX(), 1650);
    EXPECT_FLOAT_EQ(box.CurrentY(), 900);
}

TEST_F(PictureBoxTest, PrintDrawsAndEndsTheLine) {
    box.setFontName("ＭＳ 明朝");
    box.setFontSize(11);
    box.setForeColor(RGB(0, 0, 0));
    const float h = box.TextHeight("日本語");
    const float w = box.TextWidth("日本語");
    // The cell is the em: 11 pt is 220 twips; full-width characters are an em wide.
    EXPECT_FLOAT_EQ(h, 220);
    EXPECT_NEAR(w, 3 * 220, 40);
    box.setCurrentX(300);
    box.setCurrentY(300);
    box.Print("日本語");
    EXPECT_EQ(box.CurrentX(), 0);
    EXPECT_FLOAT_EQ(box.CurrentY(), 300 + h);
    int inked = 0;
    for (int y = 20; y < 20 + static_cast<int>(h / 15); ++y)
        for (int x = 20; x < 20 + static_cast<int>(w / 15); ++x)
            if (px(x, y).lightness() < 128) ++inked;
    EXPECT_GT(inked, 20);
    EXPECT_EQ(px(150, 120), oleToQColor(kBack));
}

TEST_F(PictureBoxTest, RefusesInvalidStyleValues) {
    const auto code = [](auto&& f) {
        try {
            f();
        } catch (const vb::Error& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(code([&] { box.setDrawWidth(0); }), 380);
    EXPECT_EQ(code([&] { box.setFillStyle(8); }), 380);
    EXPECT_EQ(code([&] { box.setDrawStyle(-1); }), 380);
    EXPECT_EQ(box.DrawWidth(), 1);
    EXPECT_EQ(box.FillStyle(), 1);
}

TEST_F(PictureBoxTest, ResizeKeepsTheDrawing) {
    box.Line(VbPoint{150, 150}, VbPoint{1350, 1350}, kRed, LineForm::BoxFill);
    box.resize(300, 200);
    box.Line(VbPoint{0, 0}, VbPoint{0, 0}, kRed, LineForm::Line);  // any call fits the image
    EXPECT_EQ(box.image().size(), QSize(300, 200));
    EXPECT_EQ(px(50, 50), QColor(Qt::red));
    EXPECT_EQ(px(250, 150), oleToQColor(kBack));
}
