// Where a text's ink lands on each real target: the cell is the em box of the
// font size, its top at the current y, so a digit printed at a point sits in
// the em below it and rests on the em's baseline.
#include "platform/qt/font_map.h"
#include "platform/qt/picture_box.h"
#include "platform/qt/print_control.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRawFont>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace vbqt;

namespace {

constexpr double kDpi = 150;
constexpr double kTwipsPerDot = 1440 / kDpi;
// The text's top left corner: a whole dot at 150 dpi.
constexpr double kLeftTwips = 960;
constexpr double kTopTwips = 1920;
constexpr int kTopDot = 200;

struct Rows {
    int first = -1;
    int last = -1;
};

// Rows holding any visible ink (an eighth of full cover or more).
Rows inkedRows(const QImage& img) {
    Rows r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 224) {
                if (r.first < 0) r.first = y;
                r.last = y;
                break;
            }
    return r;
}

struct Case {
    const char* font;
    double size;
};

const Case kCases[] = {{"ＭＳ 明朝", 9},     {"ＭＳ 明朝", 11},     {"ＭＳ 明朝", 20},
                       {"ＭＳ ゴシック", 9}, {"ＭＳ ゴシック", 11}, {"ＭＳ ゴシック", 20},
                       {"Arial", 11}};

StdFont fontOf(const Case& c) {
    StdFont f;
    f.Name = c.font;
    f.Size = c.size;
    return f;
}

// Where the face draws the bottom of its "0", in em below the baseline (the
// IPA faces raise it a little, others let it overshoot).
double zeroBottom(const QFont& f) {
    QFont big(f);
    big.setPixelSize(2048);
    const QRawFont raw = QRawFont::fromFont(big);
    const auto glyphs = raw.glyphIndexesForString(QStringLiteral("0"));
    return glyphs.isEmpty() ? 0 : raw.boundingRect(glyphs[0]).bottom() / 2048;
}

// "0" inside the em below its top (a dot of rounding allowed) and resting on
// the baseline the face puts at its em ascent.
void expectInTheEm(const QImage& img, const Case& c, const std::string& where) {
    const double em = c.size * kDpi / 72;
    const QFont font = toQFont(fontOf(c));
    const double baseline = kTopDot + emAscent(font) * em;
    const Rows r = inkedRows(img);
    ASSERT_GE(r.first, 0) << where << " " << c.font << " " << c.size;
    EXPECT_GE(r.first, kTopDot) << where << " " << c.font << " " << c.size;
    EXPECT_LE(r.last + 1, kTopDot + em + 1) << where << " " << c.font << " " << c.size;
    // The digit's bottom is where its face puts it against the baseline.
    EXPECT_NEAR(r.last + 1, baseline + zeroBottom(font) * em, 1.0) << where << " " << c.font << " " << c.size;
}

QString pdftoppm() {
    const QString tool = QStringLiteral(KV_PDFTOPPM);
    return tool.isEmpty() || tool.endsWith("NOTFOUND") ? QString() : tool;
}

}  // namespace

TEST(TextCell, AscentIsTheFacesOwnShareOfTheEm) {
    // The IPA faces design their em of 2048 units as 1802 up and 246 down.
    for (const char* name : {"ＭＳ 明朝", "ＭＳ ゴシック", "ＭＳ Ｐ明朝", "ＭＳ Ｐゴシック"})
        EXPECT_NEAR(emAscent(toQFont(fontOf({name, 11}))), 1802.0 / 2048, 1e-9) << name;
    const double other = emAscent(toQFont(fontOf({"Arial", 11})));
    EXPECT_GT(other, 0.5);
    EXPECT_LT(other, 1.0);
}

TEST(TextCell, PictureBoxPrintsInTheEmBelowThePoint) {
    for (const Case& c : kCases) {
        PictureBox box;
        box.resize(300, 300);
        box.setTwipsPerPixel(kTwipsPerDot, kTwipsPerDot);
        box.setBackColor(0xFFFFFF);
        box.setForeColor(0);
        box.setFont(fontOf(c));
        EXPECT_FLOAT_EQ(box.TextHeight("0"), static_cast<float>(c.size * 20)) << c.font << " " << c.size;
        box.setCurrentX(kLeftTwips);
        box.setCurrentY(kTopTwips);
        box.Print("0");
        EXPECT_FLOAT_EQ(box.CurrentY(), static_cast<float>(kTopTwips + c.size * 20));
        expectInTheEm(box.image(), c, "picture");
    }
}

TEST(TextCell, PageInTheEmBelowThePointRenderedAndInThePdf) {
    const QString tool = pdftoppm();
    QDir().mkpath(KV_TEST_OUT_DIR);
    for (const Case& c : kCases) {
        PrintControl pc;
        pc.StartDoc();
        pc.setFont(fontOf(c));
        EXPECT_DOUBLE_EQ(pc.TextHeight("0"), c.size * 20) << c.font << " " << c.size;
        pc.setCurrentX(kLeftTwips);
        pc.setCurrentY(kTopTwips);
        pc.setText("0");
        pc.EndDoc();
        expectInTheEm(pc.renderPage(0, kDpi), c, "page");

        if (tool.isEmpty()) continue;
        const QString base = QStringLiteral(KV_TEST_OUT_DIR "/text_cell");
        QFile::remove(base + ".png");
        ASSERT_TRUE(pc.writePdf(base + ".pdf"));
        QProcess p;
        p.start(tool, {"-png", "-r", "150", "-singlefile", base + ".pdf", base});
        ASSERT_TRUE(p.waitForFinished(30000));
        const QImage img(base + ".png");
        ASSERT_FALSE(img.isNull());
        expectInTheEm(img, c, "pdf");
    }
    if (tool.isEmpty()) GTEST_SKIP() << "pdftoppm is not installed; the PDF was not rendered";
}
