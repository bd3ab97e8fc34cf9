// Draws the kit sampler on the real targets and keeps it for a person to look
// at: samples/kit_sampler.png (picture box) and samples/kit_sampler.pdf (page).
#include "drawing/kit.h"
#include "platform/qt/ole_color.h"
#include "platform/qt/picture_box.h"
#include "platform/qt/print_control.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

using namespace drawing;
using vbqt::RGB;

namespace {

// Model units: the sampler is about 180 x 130 units.
void drawSampler(clsPrintOut& po, const FigureFrameTbl& f, bool paper) {
    po.setFontName("ＭＳ 明朝");
    // A dimension text stands 2.2 units over its line: the em of the font at
    // the sampler's scale (75 twips, or a millimetre, a unit).
    po.setFontSize(paper ? 6 : 8.25);
    po.setDrawWidth(paper ? 3 : 2);

    const auto at = [&](double x, double y) {
        FigureFrameTbl g = f;
        g.X0 = f.X0 + x * f.ScaleX;
        g.Y0 = f.Y0 + y * f.ScaleY;
        return g;
    };
    const auto label = [&](double x, double y, const std::string& s) {
        po.setCurrentX(f.X0 + x * f.ScaleX);
        po.setCurrentY(f.Y0 + y * f.ScaleY);
        po.DPrint(s);
    };

    label(0, 0, "描画キット見本 (kit sampler)");
    // Section symbol with bars, and the same turned a quarter.
    DrawTubeSectionSymbol(po, at(25, 30), -1, 0, 40, 30, 4, 3);
    DrawTubeSectionSymbol(po, at(85, 35), -1, kPi / 2, 40, 30, 5, 2);
    label(5, 52, "断面 4×3");
    label(70, 60, "90° 回転");
    // Axis symbols of both modes.
    DrawAxisSymbol(po, at(135, 15));
    DrawAxisSymbol(po, FigureFrameTbl{at(175, 15).X0, at(175, 15).Y0, f.ScaleX, f.ScaleY,
                                      0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    // Dimension lines.
    DrawDimensionLine(po, at(5, 70), 0, "400", 0, 0, 0, 40, 0, 8);
    DrawDimensionLine(po, at(5, 70), 1, "300", 0, 50, 0, 50, 30, 6);
    // Arcs: the same quarter plain, mirrored in y and in x, turned, and a disc.
    struct Arc {
        int16_t m;
        double a;
        const char* name;
    };
    const Arc arcs[] = {{-1, 0, "0..π/2"}, {0, 0, "鏡 y"}, {1, 0, "鏡 x"}, {-1, kPi, "回転 π"}};
    double x = 80;
    for (const Arc& a : arcs) {
        DrawArcRotated(po, at(x, 90), a.m, a.a, 0, 0, 8, 0, static_cast<float>(kPi / 2), 0, 0);
        DrawArcRotated(po, at(x, 90), -1, 0, 0, 0, 1, kFullArc, 0, 1, RGB(255, 0, 0));
        label(x - 8, 100, a.name);
        x += 25;
    }
    // Two arcs across 0 and a coloured box.
    DrawArcRotated(po, at(30, 115), -1, kPi / 2, 0, 0, 8, static_cast<float>(kPi), static_cast<float>(kPi * 1.9), 0, 0);
    FillRotatedRect(po, at(55, 110), -1, 0, 0, 0, 20, 10, RGB(85, 204, 204));
    label(80, 112, "日本語の文字 ＭＳ 明朝 → IPA明朝");
}

}  // namespace

TEST(KitSampler, PictureBoxPng) {
    vbqt::PictureBox box;
    box.resize(1000, 720);
    box.setTwipsPerPixel(15, 15);
    box.setBackColor(RGB(255, 255, 255));
    clsPrintOut po;
    po.setprpMode(2);
    po.setprpPicture(&box);
    po.Cls();
    // 75 twips (5 pixels) per model unit.
    FigureFrameTbl f;
    f.X0 = 150;
    f.Y0 = 150;
    f.ScaleX = f.ScaleY = 75;
    drawSampler(po, f, false);

    QDir().mkpath(KV_TEST_OUT_DIR);
    const QString path = QStringLiteral(KV_TEST_OUT_DIR "/kit_sampler.png");
    ASSERT_TRUE(box.image().save(path));
    // The concrete of the section is light blue; its centre is the core.
    const QImage img(path);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.pixelColor(10 + 25 * 5, 10 + 30 * 5), QColor(164, 202, 244));
    EXPECT_EQ(img.pixelColor(10 + 135 * 5 - 20, 10 + 15 * 5 + 200), QColor(Qt::white));
}

TEST(KitSampler, PageControlPdf) {
    vbqt::PrintControl pc;
    pc.StartDoc();
    clsPrintOut po;
    po.setprpMode(1);
    po.setprpVsPrinter(&pc);
    FigureFrameTbl f;
    f.X0 = 15;
    f.Y0 = 15;
    f.ScaleX = f.ScaleY = 1;  // one model unit a millimetre
    drawSampler(po, f, true);
    pc.EndDoc();
    EXPECT_EQ(pc.PageCount(), 1);

    QDir().mkpath(KV_TEST_OUT_DIR);
    const QString path = QStringLiteral(KV_TEST_OUT_DIR "/kit_sampler.pdf");
    QFile::remove(path);
    ASSERT_TRUE(pc.writePdf(path));
    EXPECT_GT(QFileInfo(path).size(), 1000);
    // The same page as an image, for the pixel-minded: the section's centre at
    // (15 + 25, 15 + 30 + 4.5) mm.
    const QImage img = pc.renderPage(0, 254);
    EXPECT_TRUE(img.save(QStringLiteral(KV_TEST_OUT_DIR "/kit_sampler_page.png")));
    EXPECT_EQ(img.pixelColor(400, 495), QColor(164, 202, 244));
}
