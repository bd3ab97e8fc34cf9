#include "platform/qt/font_map.h"
#include "platform/qt/ole_color.h"
#include "platform/qt/print_control.h"
#include "platform/text/vberror.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace vbqt;

namespace {

int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const vb::Error& e) {
        return e.number();
    }
    return 0;
}

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;  // points from the page's top left
};

// Words with their boxes, read back from a PDF by pdftotext.
std::vector<Word> pdfWords(const QString& pdf) {
    const QString tool = QStringLiteral(KV_PDFTOTEXT);
    if (tool.isEmpty() || tool.endsWith("NOTFOUND")) return {};
    QProcess p;
    p.start(tool, {"-bbox", pdf, "-"});
    p.waitForFinished(30000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression re(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<Word> out;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        // A CJK font may map a glyph back to its compatibility twin (the
        // radical ⽇ for 日); NFKC folds it.
        out.push_back({m.captured(5).normalized(QString::NormalizationForm_KC), m.captured(1).toDouble(), m.captured(2).toDouble(),
                       m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return out;
}

const Word* find(const std::vector<Word>& words, const QString& text) {
    for (const Word& w : words)
        if (w.text == text) return &w;
    return nullptr;
}

constexpr double kPtPerMm = 72.0 / 25.4;

// pdftotext boxes a word by the face's line box around the baseline, and the
// baseline lies the em's ascent below the point the text was put at.
double wordTop(const StdFont& f, double topPt) {
    const QFont q = toQFont(f);
    const QRawFont raw = QRawFont::fromFont(q);
    return topPt + (emAscent(q) - raw.ascent() / raw.pixelSize()) * f.Size;
}

}  // namespace

TEST(PrintControl, PositionTextsCarryTheirUnit) {
    struct Case {
        const char* text;
        double twips;
    };
    const Case cases[] = {{"1mm", 1440 / 25.4}, {"2.5cm", 25 * 1440 / 25.4}, {"1in", 1440},
                          {"10pt", 200},        {"100", 100},              {" 3 mm", 3 * 1440 / 25.4},
                          {"-2mm", -2 * 1440 / 25.4}};
    for (const Case& c : cases) EXPECT_NEAR(parseTwips(c.text), c.twips, 1e-9) << c.text;
    EXPECT_NEAR(parseTwips("1mm", 1.0), 1.0, 1e-12);
    for (const char* bad : {"", "mm", "abc", "1km", "1,5mm"})
        EXPECT_EQ(errorOf([&] { parseTwips(bad); }), 380) << bad;
}

TEST(PrintControl, DefaultsArePenBlackBrushWhiteA4Portrait) {
    PrintControl pc;
    EXPECT_EQ(pc.PenColor(), 0);
    EXPECT_EQ(pc.BrushColor(), RGB(255, 255, 255));
    EXPECT_EQ(pc.BrushStyle(), 0);
    EXPECT_EQ(pc.PenWidth(), 1);
    EXPECT_EQ(pc.PaperSize(), 9);
    EXPECT_EQ(pc.Orientation(), 0);  // portrait
    EXPECT_EQ(pc.PageCount(), 0);
}

TEST(PrintControl, TextAdvancesXAndKeepsY) {
    PrintControl pc;
    pc.StartDoc();
    pc.setCurrentX(1000);
    pc.setCurrentY(2000);
    const double w = pc.TextWidth("AB");
    EXPECT_GT(w, 0);
    pc.setText("AB");
    EXPECT_NEAR(pc.CurrentX(), 1000 + w, 1e-9);
    EXPECT_EQ(pc.CurrentY(), 2000);
    pc.setText("CD");
    const auto& ops = pc.pages()[0].ops;
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[1].p1, QPointF(1000 + w, 2000));
    EXPECT_EQ(ops[1].text, "CD");
}

TEST(PrintControl, PicturesThroughThePageInterface) {
    PrintControl pc;
    pc.StartDoc();
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    vbqt::PageTarget& page = pc;
    page.DrawPicture(picture, 100, 200, 500, 400);
    pc.EndDoc();
    ASSERT_EQ(pc.pages()[0].ops.size(), 1u);
    const auto& op = pc.pages()[0].ops[0];
    EXPECT_EQ(op.kind, vbqt::PageOp::Picture);
    EXPECT_EQ(op.p1, QPointF(100, 200));
    EXPECT_EQ(op.p2, QPointF(500, 400));
    EXPECT_EQ(op.picture.size(), QSize(40, 20));
    // The picture fills its box on the rendered page.
    const QImage shown = pc.renderPage(0, 1440);
    EXPECT_EQ(shown.pixelColor(300, 300), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(600, 300), QColor(Qt::white));
}

TEST(PrintControl, PagesKeepTheirPaper) {
    PrintControl pc;
    pc.StartDoc();
    EXPECT_EQ(pc.PageCount(), 1);
    pc.setOrientation(1);  // landscape; nothing drawn yet: the first page turns
    EXPECT_EQ(pc.Orientation(), 1);
    pc.DrawLine(0, 0, 100, 100);
    pc.NewPage();
    pc.setPaperSize(8);
    pc.setOrientation(0);
    EXPECT_EQ(pc.Orientation(), 0);
    EXPECT_EQ(pc.PageCount(), 2);
    EXPECT_EQ(pc.pages()[0].orientation, 2);
    EXPECT_EQ(pc.pages()[1].paperSize, 8);
    EXPECT_NEAR(pc.pages()[0].sizeTwips().width(), 297 * kTwipsPerMm, 1e-6);
    EXPECT_NEAR(pc.pages()[1].sizeTwips().height(), 420 * kTwipsPerMm, 1e-6);
    EXPECT_EQ(errorOf([&] { pc.setOrientation(2); }), 380);
    EXPECT_EQ(errorOf([&] { pc.setOrientation(-1); }), 380);
    EXPECT_EQ(errorOf([&] { pc.setBrushStyle(9); }), 380);
    EXPECT_EQ(errorOf([&] { pc.setPenWidth(-1); }), 380);
    // StartDoc begins afresh.
    pc.StartDoc();
    EXPECT_EQ(pc.PageCount(), 1);
    EXPECT_TRUE(pc.pages()[0].ops.empty());
}

TEST(PrintControl, RenderedPageShowsLinesAndDotsAtTheirPlace) {
    PrintControl pc;
    pc.StartDoc();
    pc.setPenWidth(3);
    pc.setPenColor(RGB(255, 0, 0));
    pc.DrawLine(10 * kTwipsPerMm, 20 * kTwipsPerMm, 100 * kTwipsPerMm, 20 * kTwipsPerMm);
    // A zero-length line is a dot, thanks to round caps.
    pc.DrawLine(50 * kTwipsPerMm, 50 * kTwipsPerMm, 50 * kTwipsPerMm, 50 * kTwipsPerMm);
    pc.setBrushStyle(1);
    pc.setPenColor(RGB(0, 0, 255));
    pc.DrawCircle(50 * kTwipsPerMm, 100 * kTwipsPerMm, 10 * kTwipsPerMm, std::nullopt, std::nullopt);
    const QImage img = pc.renderPage(0, 254);  // 10 dots per mm
    ASSERT_EQ(img.size(), QSize(2100, 2970));
    EXPECT_EQ(img.pixelColor(500, 200), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(500, 230), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(500, 500), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(600, 1000), QColor(Qt::blue));
    EXPECT_EQ(img.pixelColor(500, 1000), QColor(Qt::white));  // not filled
}

TEST(PrintControl, PdfShowsTextWhereItWasPutAndTheContinuation) {
    PrintControl pc;
    pc.StartDoc();
    StdFont f;
    f.Name = "ＭＳ 明朝";
    f.Size = 12;
    pc.setFont(f);
    pc.setCurrentX(20 * kTwipsPerMm);
    pc.setCurrentY(14.5 * kTwipsPerMm);
    pc.setText("Left ");
    const double advance = pc.CurrentX();
    pc.setText("Right");
    pc.setCurrentX(30 * kTwipsPerMm);
    pc.setCurrentY(60 * kTwipsPerMm);
    pc.setText("日本語");
    pc.NewPage();
    pc.setCurrentX(0);
    pc.setCurrentY(10 * kTwipsPerMm);
    pc.setText("Second");

    QDir().mkpath(KV_TEST_OUT_DIR);
    const QString path = QStringLiteral(KV_TEST_OUT_DIR "/print_control_text.pdf");
    QFile::remove(path);
    ASSERT_TRUE(pc.writePdf(path));
    ASSERT_TRUE(QFile::exists(path));

    const auto words = pdfWords(path);
    if (words.empty()) GTEST_SKIP() << "pdftotext is not installed (scripts/deps.sh installs it)";
    const Word* left = find(words, "Left");
    const Word* right = find(words, "Right");
    const Word* jp = find(words, QString::fromUtf8("日本語"));
    ASSERT_TRUE(left && right && jp);
    EXPECT_NEAR(left->xMin, 20 * kPtPerMm, 1.0);
    EXPECT_NEAR(left->yMin, wordTop(f, 14.5 * kPtPerMm), 0.3);
    EXPECT_NEAR(right->xMin, advance / 20, 1.0);
    EXPECT_NEAR(right->yMin, left->yMin, 0.1);
    EXPECT_NEAR(jp->xMin, 30 * kPtPerMm, 1.0);
    EXPECT_NEAR(jp->yMin, wordTop(f, 60 * kPtPerMm), 0.3);
    EXPECT_TRUE(find(words, "Second"));
}

TEST(PrintControl, EmptyDocumentWritesNoPdf) {
    PrintControl pc;
    EXPECT_FALSE(pc.writePdf(QStringLiteral(KV_TEST_OUT_DIR "/never.pdf")));
    EXPECT_FALSE(QFile::exists(QStringLiteral(KV_TEST_OUT_DIR "/never.pdf")));
}

TEST(PrintControl, PreviewShowsEveryPage) {
    PrintControl pc;
    pc.StartDoc();
    pc.DrawLine(0, 0, 1000, 1000);
    pc.NewPage();
    pc.DrawRectangle(0, 0, 1000, 1000);
    pc.NewPage();
    pc.EndDoc();
    QPrintPreviewWidget preview;
    pc.connectPreview(preview);
    preview.updatePreview();
    EXPECT_EQ(preview.pageCount(), 3);
}
