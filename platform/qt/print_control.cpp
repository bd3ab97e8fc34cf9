#include "platform/qt/print_control.h"

#include "platform/qt/arc.h"
#include "platform/qt/font_map.h"
#include "platform/qt/ole_color.h"
#include "platform/qt/styles.h"
#include "platform/text/vberror.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <cctype>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace vbqt {

namespace {

[[noreturn]] void invalidValue() {
    throw vb::Error(380, "Invalid property value");
}

}  // namespace

double parseTwips(const std::string& text, double unitsPerMm) {
    const char* b = text.data();
    const char* e = b + text.size();
    while (b < e && (*b == ' ' || *b == '\t')) ++b;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(b, e, v);
    if (ec != std::errc() || !std::isfinite(v)) invalidValue();
    std::string unit;
    for (const char* p = ptr; p < e; ++p)
        if (*p != ' ' && *p != '\t') unit += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    if (unit.empty()) return v;
    if (unit == "tw" || unit == "twip" || unit == "twips") return v * unitsPerMm * 25.4 / 1440;
    if (unit == "mm") return v * unitsPerMm;
    if (unit == "cm") return v * unitsPerMm * 10;
    if (unit == "in" || unit == "\"") return v * unitsPerMm * 25.4;
    if (unit == "pt") return v * unitsPerMm * 25.4 / 72;
    invalidValue();
}

namespace {

// Fonts are measured at 1440 dots per inch, so one dot is one twip.
const QPaintDevice* twipsDevice() {
    if (!qGuiApp) throw std::runtime_error("PrintControl: text needs a running application");
    static QImage device = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        const int dpm = static_cast<int>(std::lround(1440.0 / 0.0254));
        img.setDotsPerMeterX(dpm);
        img.setDotsPerMeterY(dpm);
        return img;
    }();
    return &device;
}

QPageLayout layoutOf(const RecordedPage& page) {
    const QSizeF mm = paperSizeMm(page.paperSize);
    return QPageLayout(QPageSize(mm, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
                       page.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

}  // namespace

QSizeF paperSizeMm(int32_t paperSize) {
    switch (paperSize) {
    case 1: return {215.9, 279.4};
    case 5: return {215.9, 355.6};
    case 8: return {297, 420};
    case 11: return {148, 210};
    case 12: return {257, 364};
    case 13: return {182, 257};
    default: return {210, 297};
    }
}

QSizeF RecordedPage::sizeTwips() const {
    const QSizeF mm = paperSizeMm(paperSize);
    const QSizeF tw(mm.width() * kTwipsPerMm, mm.height() * kTwipsPerMm);
    return orientation == 2 ? tw.transposed() : tw;
}

PrintControl::PrintControl() = default;

void PrintControl::StartDoc() {
    pages_.clear();
    docOpen_ = true;
    page();
}

void PrintControl::EndDoc() {
    docOpen_ = false;
}

RecordedPage& PrintControl::page() {
    if (pages_.empty()) pages_.push_back({paperSize_, orientation_, {}});
    return pages_.back();
}

void PrintControl::NewPage() {
    page();
    pages_.push_back({paperSize_, orientation_, {}});
}

void PrintControl::setCurrentX(const std::string& value) {
    x_ = parseTwips(value);
}

void PrintControl::setCurrentY(const std::string& value) {
    y_ = parseTwips(value);
}

void PrintControl::setPenWidth(int32_t v) {
    if (v < 0) invalidValue();
    penWidth_ = v;
}

void PrintControl::setPenStyle(int32_t v) {
    if (v < 0 || v > 6) invalidValue();
    penStyle_ = v;
}

void PrintControl::setBrushStyle(int32_t v) {
    if (v < 0 || v > 7) invalidValue();
    brushStyle_ = v;
}

void PrintControl::setFont(const StdFont& v) {
    if (!(v.Size > 0)) invalidValue();
    font_ = v;
}

void PrintControl::setPaperSize(int32_t v) {
    if (v < 1) invalidValue();
    paperSize_ = v;
    // A page with nothing on it yet takes the new paper.
    if (!pages_.empty() && pages_.back().ops.empty()) pages_.back().paperSize = v;
}

void PrintControl::setOrientation(int32_t v) {
    // 0 portrait, 1 landscape; the recorded pages keep the printer's 1 and 2.
    if (v != 0 && v != 1) invalidValue();
    orientation_ = v + 1;
    if (!pages_.empty() && pages_.back().ops.empty()) pages_.back().orientation = orientation_;
}

PageOp PrintControl::stamp(PageOp::Kind kind) const {
    PageOp op;
    op.kind = kind;
    op.penColor = penColor_;
    op.penWidth = penWidth_;
    op.penStyle = penStyle_;
    op.brushColor = brushColor_;
    op.brushStyle = brushStyle_;
    op.textColor = textColor_;
    op.font = font_;
    return op;
}

void PrintControl::addOp(PageOp op) {
    page().ops.push_back(std::move(op));
}

void PrintControl::DrawLine(double x1, double y1, double x2, double y2) {
    PageOp op = stamp(PageOp::Line);
    op.p1 = {x1, y1};
    op.p2 = {x2, y2};
    addOp(std::move(op));
}

void PrintControl::DrawRectangle(double x1, double y1, double x2, double y2) {
    PageOp op = stamp(PageOp::Rectangle);
    op.p1 = {x1, y1};
    op.p2 = {x2, y2};
    addOp(std::move(op));
}

void PrintControl::DrawCircle(double x, double y, double radius, std::optional<double> start,
                              std::optional<double> end) {
    const double r = std::fabs(radius);
    const ArcSweep sweep = start && end ? arcSweep(*start, *end) : ArcSweep{};
    PageOp op = stamp(sweep.full ? PageOp::Ellipse : PageOp::Arc);
    op.p1 = {x - r, y - r};
    op.p2 = {x + r, y + r};
    op.startDeg = sweep.startDeg;
    op.spanDeg = sweep.spanDeg;
    addOp(std::move(op));
}

void PrintControl::setText(const std::string& text) {
    const double w = TextWidth(text);
    PageOp op = stamp(PageOp::Text);
    op.p1 = {x_, y_};
    op.text = QString::fromStdString(text);
    addOp(std::move(op));
    // The next text continues where this one ended.
    x_ += w;
}

double PrintControl::TextWidth(const std::string& text) const {
    const QFontMetricsF m(toQFont(font_), twipsDevice());
    return m.horizontalAdvance(QString::fromStdString(text)) * font_.Scale;
}

// The em box: 20 twips a point.
double PrintControl::TextHeight(const std::string& text) const {
    (void)text;
    return toQFont(font_).pointSizeF() * 20;
}

void PrintControl::DrawPicture(const QImage& picture, double x1, double y1, double x2, double y2) {
    PageOp op = stamp(PageOp::Picture);
    op.p1 = {x1, y1};
    op.p2 = {x2, y2};
    op.picture = picture;
    addOp(std::move(op));
}

void PrintControl::paintPage(int index, QPainter& painter, double ux, double uy) const {
    if (index < 0 || index >= PageCount()) return;
    const auto dev = [&](QPointF p) { return QPointF(p.x() * ux, p.y() * uy); };
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    for (const PageOp& op : pages_[static_cast<size_t>(index)].ops) {
        QPen pen(oleToQColor(op.penColor));
        // Width 0 is the device's thinnest line.
        pen.setWidthF(op.penWidth * kPenWidthTwips * ux);
        pen.setStyle(penStyleOf(op.penStyle));
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        const QBrush brush(oleToQColor(op.brushColor), brushStyleOf(op.brushStyle));
        const QRectF box = QRectF(dev(op.p1), dev(op.p2)).normalized();
        switch (op.kind) {
        case PageOp::Line:
            painter.setPen(pen);
            // A zero-length line is how a point is set on paper; the painter
            // draws nothing for it, so it becomes a round dot.
            if (op.p1 == op.p2) painter.drawPoint(dev(op.p1));
            else painter.drawLine(dev(op.p1), dev(op.p2));
            break;
        case PageOp::Rectangle:
            painter.setPen(pen);
            painter.setBrush(brush);
            painter.drawRect(box);
            break;
        case PageOp::Ellipse:
            painter.setPen(pen);
            painter.setBrush(brush);
            painter.drawEllipse(box);
            break;
        case PageOp::Arc: {
            QPainterPath path;
            path.arcMoveTo(box, op.startDeg);
            path.arcTo(box, op.startDeg, op.spanDeg);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
            break;
        }
        case PageOp::Text: {
            // The cell's top is at p1; the baseline is the em's ascent below it.
            const QFont font = toQFont(op.font);
            // The painter sizes the font at its device's resolution.
            const double em = font.pointSizeF() * painter.device()->logicalDpiY() / 72.0;
            painter.setFont(font);
            painter.setPen(oleToQColor(op.textColor));
            if (op.font.Scale != 1.0 && op.font.Scale > 0) {
                // Condensed about the text's left edge.
                const QPointF at = dev(op.p1);
                painter.save();
                painter.translate(at.x(), 0);
                painter.scale(op.font.Scale, 1.0);
                painter.drawText(QPointF(0, at.y() + emAscent(font) * em), op.text);
                painter.restore();
            } else {
                painter.drawText(dev(op.p1) + QPointF(0, emAscent(font) * em), op.text);
            }
            break;
        }
        case PageOp::Picture:
            painter.drawImage(box, op.picture);
            break;
        }
    }
    painter.restore();
}

QImage PrintControl::renderPage(int index, double dpi) const {
    if (index < 0 || index >= PageCount() || !(dpi > 0)) return {};
    const QSizeF tw = pages_[static_cast<size_t>(index)].sizeTwips();
    const double u = dpi / 1440.0;
    // A paper edge a hair past a whole dot is no extra dot.
    QImage img(QSize(static_cast<int>(std::ceil(tw.width() * u - 1e-6)),
                     static_cast<int>(std::ceil(tw.height() * u - 1e-6))),
               QImage::Format_RGB32);
    const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    img.fill(Qt::white);
    QPainter p(&img);
    paintPage(index, p, u, u);
    return img;
}

bool PrintControl::writePdf(const QString& path, int dpi) const {
    if (pages_.empty() || dpi <= 0) return false;
    QPdfWriter writer(path);
    writer.setResolution(dpi);
    writer.setCreator(QStringLiteral("SRC_Okv"));
    writer.setPageLayout(layoutOf(pages_.front()));
    QPainter p;
    if (!p.begin(&writer)) return false;
    const double u = writer.resolution() / 1440.0;
    for (int i = 0; i < PageCount(); ++i) {
        if (i > 0) {
            writer.setPageLayout(layoutOf(pages_[static_cast<size_t>(i)]));
            writer.newPage();
        }
        paintPage(i, p, u, u);
    }
    return p.end();
}

void PrintControl::print(QPrinter& printer) const {
    if (pages_.empty()) return;
    printer.setFullPage(true);
    printer.setPageLayout(layoutOf(pages_.front()));
    QPainter p;
    if (!p.begin(&printer)) throw std::runtime_error("PrintControl: the printer cannot be opened");
    const double ux = printer.logicalDpiX() / 1440.0;
    const double uy = printer.logicalDpiY() / 1440.0;
    for (int i = 0; i < PageCount(); ++i) {
        if (i > 0) {
            // A printer takes one paper for the whole job; the pages of our
            // reports share theirs.
            const QPageLayout next = layoutOf(pages_[static_cast<size_t>(i)]);
            if (!next.isEquivalentTo(printer.pageLayout())) printer.setPageLayout(next);
            printer.newPage();
        }
        paintPage(i, p, ux, uy);
    }
    p.end();
}

void PrintControl::connectPreview(QPrintPreviewWidget& preview) const {
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, &preview,
                     [this](QPrinter* printer) {
                         if (printer) print(*printer);
                     });
}

}  // namespace vbqt
