// The two drawing targets the program draws on: a screen picture box and a
// printer page. Each is a small interface of the calls our drawing code makes,
// with a Qt implementation (PictureBox, PrintControl) and recording fakes for
// tests. Colours are OLE colour values (see ole_color.h); texts are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class QImage;

namespace vbqt {

// The font object both targets hand out and take.
struct StdFont {
    std::string Name = "ＭＳ 明朝";
    double Size = 9;  // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    // Horizontal scale of the glyphs (1 = as designed): a text condensed to
    // its cell on paper. Picture boxes ignore it.
    double Scale = 1.0;
    bool operator==(const StdFont&) const = default;
};

// A point of a picture-box call; `step` makes it relative to the current point.
struct VbPoint {
    float x = 0;
    float y = 0;
    bool step = false;
};

// Plain line, outline box (B) or box filled in the line colour (BF).
enum class LineForm { Line, Box, BoxFill };

// A screen picture box in its own scale (twips in every caller). Coordinates
// are Single, the style values 16-bit, as on the original control.
class PictureTarget {
public:
    virtual ~PictureTarget() = default;

    virtual float CurrentX() const = 0;
    virtual void setCurrentX(float v) = 0;
    virtual float CurrentY() const = 0;
    virtual void setCurrentY(float v) = 0;
    virtual int32_t ForeColor() const = 0;
    virtual void setForeColor(int32_t v) = 0;
    virtual int32_t BackColor() const = 0;
    virtual void setBackColor(int32_t v) = 0;
    virtual int32_t FillColor() const = 0;
    virtual void setFillColor(int32_t v) = 0;
    // 0 solid, 1 transparent, 2..7 hatches.
    virtual int16_t FillStyle() const = 0;
    virtual void setFillStyle(int16_t v) = 0;
    // Pen width in pixels.
    virtual int16_t DrawWidth() const = 0;
    virtual void setDrawWidth(int16_t v) = 0;
    // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 invisible, 6 inside solid.
    virtual int16_t DrawStyle() const = 0;
    virtual void setDrawStyle(int16_t v) = 0;
    virtual std::string FontName() const = 0;
    virtual void setFontName(const std::string& v) = 0;
    virtual double FontSize() const = 0;
    virtual void setFontSize(double v) = 0;
    virtual StdFont Font() const = 0;
    virtual void setFont(const StdFont& v) = 0;
    virtual float ScaleWidth() const = 0;
    virtual float ScaleHeight() const = 0;

    // Clears to the back colour; the current point goes to (0, 0).
    virtual void Cls() = 0;
    virtual void PSet(VbPoint p, std::optional<int32_t> color) = 0;
    // No `from`: the line starts at the current point. The current point ends
    // at `to`.
    virtual void Line(std::optional<VbPoint> from, VbPoint to, std::optional<int32_t> color,
                      LineForm form) = 0;
    // A circle, or the arc from `start` to `end` (radians, counter-clockwise
    // as seen) when both are given. The current point ends at the centre.
    virtual void Circle(VbPoint centre, float radius, std::optional<int32_t> color,
                        std::optional<float> start, std::optional<float> end) = 0;
    // Prints at the current point (top left) and ends the line: x back to 0,
    // y one text height lower.
    virtual void Print(const std::string& text) = 0;
    virtual float TextWidth(const std::string& text) const = 0;
    virtual float TextHeight(const std::string& text) const = 0;
};

// A print page control working in twips (1440 per inch) from the page's top
// left corner.
class PageTarget {
public:
    virtual ~PageTarget() = default;

    virtual double CurrentX() const = 0;
    virtual void setCurrentX(double twips) = 0;
    // A number in twips or a number with a unit: "1mm", "2.5cm", "1in", "10pt", "100tw".
    virtual void setCurrentX(const std::string& value) = 0;
    virtual double CurrentY() const = 0;
    virtual void setCurrentY(double twips) = 0;
    virtual void setCurrentY(const std::string& value) = 0;

    virtual int32_t TextColor() const = 0;
    virtual void setTextColor(int32_t v) = 0;
    virtual int32_t PenColor() const = 0;
    virtual void setPenColor(int32_t v) = 0;
    // In tenths of a millimetre: 1 is a hairline, 3 a visibly thicker line.
    virtual int32_t PenWidth() const = 0;
    virtual void setPenWidth(int32_t v) = 0;
    // The styles of PictureTarget::DrawStyle.
    virtual int32_t PenStyle() const = 0;
    virtual void setPenStyle(int32_t v) = 0;
    virtual int32_t BrushColor() const = 0;
    virtual void setBrushColor(int32_t v) = 0;
    // 0 solid, 1 transparent, 2..7 hatches.
    virtual int32_t BrushStyle() const = 0;
    virtual void setBrushStyle(int32_t v) = 0;
    virtual int32_t BackColor() const = 0;
    virtual void setBackColor(int32_t v) = 0;
    virtual StdFont Font() const = 0;
    virtual void setFont(const StdFont& v) = 0;
    // A document: StartDoc opens the first page, EndDoc closes the document.
    virtual void StartDoc() = 0;
    virtual void EndDoc() = 0;
    // 9 = A4; see print_control.h for the sizes known.
    virtual int32_t PaperSize() const = 0;
    virtual void setPaperSize(int32_t v) = 0;
    // 0 portrait, 1 landscape.
    virtual int32_t Orientation() const = 0;
    virtual void setOrientation(int32_t v) = 0;

    virtual void DrawLine(double x1, double y1, double x2, double y2) = 0;
    virtual void DrawRectangle(double x1, double y1, double x2, double y2) = 0;
    // A circle, or the arc from `start` to `end` (radians, counter-clockwise
    // as seen) when both are given.
    virtual void DrawCircle(double x, double y, double radius, std::optional<double> start,
                            std::optional<double> end) = 0;
    // Prints at the current position with the text colour and advances x by
    // the text's width.
    virtual void setText(const std::string& text) = 0;
    virtual double TextWidth(const std::string& text) const = 0;
    virtual double TextHeight(const std::string& text) const = 0;
    virtual void NewPage() = 0;
    // A picture stretched into the box (x1, y1)-(x2, y2).
    virtual void DrawPicture(const QImage& picture, double x1, double y1, double x2, double y2) = 0;
};

}  // namespace vbqt
