// The print page control: pages are recorded as drawing operations in twips
// from the paper's top left corner, then replayed onto a printer, a PDF file,
// an image or a print preview. Reports and the preview use this one class.
#pragma once

#include "platform/qt/draw_targets.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

class QPainter;
class QPrinter;
class QPrintPreviewWidget;

namespace vbqt {

constexpr double kTwipsPerMm = 1440.0 / 25.4;
// Pen widths are tenths of a millimetre.
constexpr double kPenWidthTwips = kTwipsPerMm / 10.0;

// A position text as the control reads it: a plain number is in the
// control's own unit, else a number with "mm", "cm", "in" or "pt", given
// `unitsPerMm` units per millimetre. Anything else is error 380.
double parseTwips(const std::string& text, double unitsPerMm = kTwipsPerMm);

// Paper codes of the original control: 1 Letter, 5 Legal, 8 A3, 9 A4, 11 A5,
// 12 B4 (JIS), 13 B5 (JIS); any other code is laid out as A4.
QSizeF paperSizeMm(int32_t paperSize);

struct PageOp {
    enum Kind { Line, Rectangle, Ellipse, Arc, Text, Picture };
    Kind kind = Line;
    QPointF p1;  // twips: line start, box / circle box corner, text top left
    QPointF p2;  // twips: line end, opposite corner
    double startDeg = 0;
    double spanDeg = 0;
    int32_t penColor = 0;
    int32_t penWidth = 1;
    int32_t penStyle = 0;
    int32_t brushColor = 0xFFFFFF;
    int32_t brushStyle = 0;
    int32_t textColor = 0;
    StdFont font;
    QString text;
    QImage picture;
};

struct RecordedPage {
    int32_t paperSize = 9;
    int32_t orientation = 1;
    std::vector<PageOp> ops;
    // Paper size in twips, turned for landscape.
    QSizeF sizeTwips() const;
};

class PrintControl : public PageTarget {
public:
    PrintControl();

    // Document: StartDoc drops what was recorded and opens the first page.
    void StartDoc() override;
    void EndDoc() override;
    bool IsDocOpen() const { return docOpen_; }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    const std::vector<RecordedPage>& pages() const { return pages_; }

    double CurrentX() const override { return x_; }
    void setCurrentX(double twips) override { x_ = twips; }
    void setCurrentX(const std::string& value) override;
    double CurrentY() const override { return y_; }
    void setCurrentY(double twips) override { y_ = twips; }
    void setCurrentY(const std::string& value) override;

    int32_t TextColor() const override { return textColor_; }
    void setTextColor(int32_t v) override { textColor_ = v; }
    int32_t PenColor() const override { return penColor_; }
    void setPenColor(int32_t v) override { penColor_ = v; }
    int32_t PenWidth() const override { return penWidth_; }
    void setPenWidth(int32_t v) override;
    int32_t PenStyle() const override { return penStyle_; }
    void setPenStyle(int32_t v) override;
    int32_t BrushColor() const override { return brushColor_; }
    void setBrushColor(int32_t v) override { brushColor_ = v; }
    int32_t BrushStyle() const override { return brushStyle_; }
    void setBrushStyle(int32_t v) override;
    int32_t BackColor() const override { return backColor_; }
    void setBackColor(int32_t v) override { backColor_ = v; }
    StdFont Font() const override { return font_; }
    void setFont(const StdFont& v) override;
    int32_t PaperSize() const override { return paperSize_; }
    void setPaperSize(int32_t v) override;
    int32_t Orientation() const override { return orientation_ == 2 ? 1 : 0; }
    void setOrientation(int32_t v) override;

    void DrawLine(double x1, double y1, double x2, double y2) override;
    void DrawRectangle(double x1, double y1, double x2, double y2) override;
    void DrawCircle(double x, double y, double radius, std::optional<double> start,
                    std::optional<double> end) override;
    void setText(const std::string& text) override;
    double TextWidth(const std::string& text) const override;
    double TextHeight(const std::string& text) const override;
    void NewPage() override;

    // A picture stretched into the box (x1, y1)-(x2, y2), twips.
    void DrawPicture(const QImage& picture, double x1, double y1, double x2, double y2) override;

    // Replays page `index` (0-based) with `unitsPerTwip` device units per twip,
    // the paper's top left corner at the painter's origin.
    void paintPage(int index, QPainter& painter, double unitsPerTwipX, double unitsPerTwipY) const;
    // One page as an image at `dpi` dots per inch on a white ground.
    QImage renderPage(int index, double dpi) const;
    // All pages into a PDF file; false when the file cannot be written.
    bool writePdf(const QString& path, int dpi = 1200) const;
    // All pages to a printer (or to the preview's printer).
    void print(QPrinter& printer) const;
    // Lets a preview widget draw these pages.
    void connectPreview(QPrintPreviewWidget& preview) const;

private:
    RecordedPage& page();
    PageOp stamp(PageOp::Kind kind) const;
    void addOp(PageOp op);

    std::vector<RecordedPage> pages_;
    bool docOpen_ = false;
    double x_ = 0;
    double y_ = 0;
    int32_t textColor_ = 0;
    int32_t penColor_ = 0;            // black
    int32_t penWidth_ = 1;
    int32_t penStyle_ = 0;
    int32_t brushColor_ = 0xFFFFFF;   // white
    int32_t brushStyle_ = 0;
    int32_t backColor_ = 0xFFFFFF;
    StdFont font_;
    int32_t paperSize_ = 9;
    int32_t orientation_ = 1;
};

}  // namespace vbqt
