// Finds where one text's ink lies in a drawing on the real targets and what
// else is drawn there: the drawing is made twice, once whole and once with
// that text's ink left out (its effect on the current point kept), and the
// two pictures compared.
#pragma once

#include "platform/qt/picture_box.h"
#include "platform/qt/print_control.h"

#include <QHash>
#include <QImage>
#include <QRect>

#include <cstdlib>
#include <string>
#include <utility>

namespace inktest {

// Pages are looked at at 600 dpi: the documented places leave some texts a
// tenth of a millimetre above their line, under a dot at 150 dpi.
constexpr double kPaperDpi = 600;
// A millimetre of that page in dots.
constexpr int kPaperMm = 24;

// Forwards to a picture box; the first print of `text` leaves no ink.
class PictureWithout final : public vbqt::PictureTarget {
public:
    // With `every`, every print of the text close to the first one leaves no
    // ink too (a text drawn with a rim of copies round it).
    PictureWithout(vbqt::PictureBox& box, std::string text, bool every = false)
        : b_(box), text_(std::move(text)), every_(every) {}
    bool skipped() const { return skipped_; }

    float CurrentX() const override { return b_.CurrentX(); }
    void setCurrentX(float v) override { b_.setCurrentX(v); }
    float CurrentY() const override { return b_.CurrentY(); }
    void setCurrentY(float v) override { b_.setCurrentY(v); }
    int32_t ForeColor() const override { return b_.ForeColor(); }
    void setForeColor(int32_t v) override { b_.setForeColor(v); }
    int32_t BackColor() const override { return b_.BackColor(); }
    void setBackColor(int32_t v) override { b_.setBackColor(v); }
    int32_t FillColor() const override { return b_.FillColor(); }
    void setFillColor(int32_t v) override { b_.setFillColor(v); }
    int16_t FillStyle() const override { return b_.FillStyle(); }
    void setFillStyle(int16_t v) override { b_.setFillStyle(v); }
    int16_t DrawWidth() const override { return b_.DrawWidth(); }
    void setDrawWidth(int16_t v) override { b_.setDrawWidth(v); }
    int16_t DrawStyle() const override { return b_.DrawStyle(); }
    void setDrawStyle(int16_t v) override { b_.setDrawStyle(v); }
    std::string FontName() const override { return b_.FontName(); }
    void setFontName(const std::string& v) override { b_.setFontName(v); }
    double FontSize() const override { return b_.FontSize(); }
    void setFontSize(double v) override { b_.setFontSize(v); }
    vbqt::StdFont Font() const override { return b_.Font(); }
    void setFont(const vbqt::StdFont& v) override { b_.setFont(v); }
    float ScaleWidth() const override { return b_.ScaleWidth(); }
    float ScaleHeight() const override { return b_.ScaleHeight(); }
    void Cls() override { b_.Cls(); }
    void PSet(vbqt::VbPoint p, std::optional<int32_t> c) override { b_.PSet(p, c); }
    void Line(std::optional<vbqt::VbPoint> from, vbqt::VbPoint to, std::optional<int32_t> c,
              vbqt::LineForm form) override {
        b_.Line(from, to, c, form);
    }
    void Circle(vbqt::VbPoint centre, float r, std::optional<int32_t> c, std::optional<float> st,
                std::optional<float> ed) override {
        b_.Circle(centre, r, c, st, ed);
    }
    void Print(const std::string& t) override {
        if (t != text_ || (skipped_ && !(every_ && Near(b_.CurrentX(), b_.CurrentY())))) return b_.Print(t);
        if (!skipped_) at_ = {b_.CurrentX(), b_.CurrentY()};
        skipped_ = true;
        b_.setCurrentY(b_.CurrentY() + b_.TextHeight(t));
        b_.setCurrentX(0);
    }
    float TextWidth(const std::string& t) const override { return b_.TextWidth(t); }
    float TextHeight(const std::string& t) const override { return b_.TextHeight(t); }

private:
    vbqt::PictureBox& b_;
    std::string text_;
    bool every_;
    bool skipped_ = false;
    std::pair<double, double> at_;
    // Within a rim's reach of the first print, in twips.
    bool Near(double x, double y) const { return std::abs(x - at_.first) <= 40 && std::abs(y - at_.second) <= 40; }
};

// Forwards to a page control; the first `text` leaves no ink, and lines that
// are not horizontal can be left out as well.
class PageWithout final : public vbqt::PageTarget {
public:
    PageWithout(vbqt::PrintControl& pc, std::string text, bool horizontalLinesOnly, bool every = false)
        : c_(pc), text_(std::move(text)), horizontalOnly_(horizontalLinesOnly), every_(every) {}
    bool skipped() const { return skipped_; }

    double CurrentX() const override { return c_.CurrentX(); }
    void setCurrentX(double v) override { c_.setCurrentX(v); }
    void setCurrentX(const std::string& v) override { c_.setCurrentX(v); }
    double CurrentY() const override { return c_.CurrentY(); }
    void setCurrentY(double v) override { c_.setCurrentY(v); }
    void setCurrentY(const std::string& v) override { c_.setCurrentY(v); }
    int32_t TextColor() const override { return c_.TextColor(); }
    void setTextColor(int32_t v) override { c_.setTextColor(v); }
    int32_t PenColor() const override { return c_.PenColor(); }
    void setPenColor(int32_t v) override { c_.setPenColor(v); }
    int32_t PenWidth() const override { return c_.PenWidth(); }
    void setPenWidth(int32_t v) override { c_.setPenWidth(v); }
    int32_t PenStyle() const override { return c_.PenStyle(); }
    void setPenStyle(int32_t v) override { c_.setPenStyle(v); }
    int32_t BrushColor() const override { return c_.BrushColor(); }
    void setBrushColor(int32_t v) override { c_.setBrushColor(v); }
    int32_t BrushStyle() const override { return c_.BrushStyle(); }
    void setBrushStyle(int32_t v) override { c_.setBrushStyle(v); }
    int32_t BackColor() const override { return c_.BackColor(); }
    void setBackColor(int32_t v) override { c_.setBackColor(v); }
    vbqt::StdFont Font() const override { return c_.Font(); }
    void setFont(const vbqt::StdFont& v) override { c_.setFont(v); }
    int32_t PaperSize() const override { return c_.PaperSize(); }
    void setPaperSize(int32_t v) override { c_.setPaperSize(v); }
    int32_t Orientation() const override { return c_.Orientation(); }
    void setOrientation(int32_t v) override { c_.setOrientation(v); }
    void DrawLine(double x1, double y1, double x2, double y2) override {
        if (horizontalOnly_ && y1 != y2) return;
        c_.DrawLine(x1, y1, x2, y2);
    }
    void DrawRectangle(double x1, double y1, double x2, double y2) override {
        c_.DrawRectangle(x1, y1, x2, y2);
    }
    void DrawCircle(double x, double y, double r, std::optional<double> st,
                    std::optional<double> ed) override {
        c_.DrawCircle(x, y, r, st, ed);
    }
    void setText(const std::string& t) override {
        if (t != text_ || (skipped_ && !(every_ && Near(c_.CurrentX(), c_.CurrentY())))) return c_.setText(t);
        if (!skipped_) at_ = {c_.CurrentX(), c_.CurrentY()};
        skipped_ = true;
        c_.setCurrentX(c_.CurrentX() + c_.TextWidth(t));
    }
    double TextWidth(const std::string& t) const override { return c_.TextWidth(t); }
    double TextHeight(const std::string& t) const override { return c_.TextHeight(t); }
    void NewPage() override { c_.NewPage(); }
    void StartDoc() override { c_.StartDoc(); }
    void DrawPicture(const QImage& p, double x1, double y1, double x2, double y2) override { c_.DrawPicture(p, x1, y1, x2, y2); }
    void EndDoc() override { c_.EndDoc(); }

private:
    vbqt::PrintControl& c_;
    std::string text_;
    bool horizontalOnly_;
    bool every_;
    bool skipped_ = false;
    std::pair<double, double> at_;
    bool Near(double x, double y) const { return std::abs(x - at_.first) <= 40 && std::abs(y - at_.second) <= 40; }
};

// Visible ink: an eighth of full cover or more, in grey levels.
inline bool Differs(QRgb a, QRgb b) {
    return std::abs(qGray(a) - qGray(b)) >= 32;
}

// The box of the pixels where the two pictures differ: the left-out text's glyphs.
inline QRect GlyphBox(const QImage& whole, const QImage& without) {
    QRect box;
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < whole.width(); ++x)
            if (Differs(whole.pixel(x, y), without.pixel(x, y))) box |= QRect(x, y, 1, 1);
    return box;
}

// The picture's most frequent colour.
inline QRgb Ground(const QImage& img) {
    QHash<QRgb, int> count;
    QRgb best = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int n = ++count[img.pixel(x, y)];
            if (n > count.value(best)) best = img.pixel(x, y);
        }
    return best;
}

// Pixels in `box` inked by anything but the left-out text.
inline int OtherInk(const QImage& without, const QRect& box) {
    const QRgb ground = Ground(without);
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (Differs(without.pixel(x, y), ground)) ++n;
    return n;
}

}  // namespace inktest
