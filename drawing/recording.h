// Recording targets for tests: they behave like the picture box and the page
// control (current point, colours, widths, text advance) and log every
// primitive with the values it was drawn with. Text metrics are fixed and
// fake, so figures can be checked exactly:
//   width  = characters x FontSize x 10 units (half an em at 20 units a point)
//   height = FontSize x 20 units
// unless charWidth / textHeight are set.
#pragma once

#include "platform/qt/draw_targets.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace drawing {

struct DrawOp {
    // Picture: "PSet", "Line", "Box", "BoxFill", "Circle", "Arc", "Print", "Cls".
    // Page: "Line", "Rectangle", "Circle", "Arc", "Text", "NewPage".
    std::string kind;
    // Absolute coordinates as the target received them: lines and boxes
    // x1 y1 x2 y2; circles cx cy r; arcs cx cy r start end; points and texts x y.
    std::vector<double> args;
    int32_t color = 0;       // picture: line or text colour; page: pen (text colour for texts)
    int32_t width = 0;       // DrawWidth / PenWidth
    int32_t style = 0;       // DrawStyle / PenStyle
    int32_t fillColor = 0;   // picture: FillColor; page: brush colour
    int32_t fillStyle = 0;   // picture: FillStyle; page: brush style
    bool filled = false;     // drawn with a fill
    std::string text;
    double fontSize = 0;
    std::string fontName;  // page texts
    double fontScale = 1;  // page texts: horizontal glyph scale
    std::string str() const;
};

// Thrown by a recording target told to refuse its drawing calls.
class RecordingFailure : public std::runtime_error {
public:
    RecordingFailure() : std::runtime_error("recording target: drawing refused") {}
};

class RecordingPicture : public vbqt::PictureTarget {
public:
    std::vector<DrawOp> ops;
    bool failDraws = false;
    std::optional<double> charWidth;
    std::optional<double> textHeight;
    float scaleWidth = 4800;   // 320 x 240 pixels at 15 twips
    float scaleHeight = 3600;

    float CurrentX() const override { return x_; }
    void setCurrentX(float v) override { x_ = v; }
    float CurrentY() const override { return y_; }
    void setCurrentY(float v) override { y_ = v; }
    int32_t ForeColor() const override { return fore_; }
    void setForeColor(int32_t v) override { fore_ = v; }
    int32_t BackColor() const override { return back_; }
    void setBackColor(int32_t v) override { back_ = v; }
    int32_t FillColor() const override { return fill_; }
    void setFillColor(int32_t v) override { fill_ = v; }
    int16_t FillStyle() const override { return fillStyle_; }
    void setFillStyle(int16_t v) override;
    int16_t DrawWidth() const override { return width_; }
    void setDrawWidth(int16_t v) override;
    int16_t DrawStyle() const override { return style_; }
    void setDrawStyle(int16_t v) override;
    std::string FontName() const override { return font_.Name; }
    void setFontName(const std::string& v) override { font_.Name = v; }
    double FontSize() const override { return font_.Size; }
    void setFontSize(double v) override { font_.Size = v; }
    vbqt::StdFont Font() const override { return font_; }
    void setFont(const vbqt::StdFont& v) override { font_ = v; }
    float ScaleWidth() const override { return scaleWidth; }
    float ScaleHeight() const override { return scaleHeight; }

    void Cls() override;
    void PSet(vbqt::VbPoint p, std::optional<int32_t> color) override;
    void Line(std::optional<vbqt::VbPoint> from, vbqt::VbPoint to, std::optional<int32_t> color,
              vbqt::LineForm form) override;
    void Circle(vbqt::VbPoint centre, float radius, std::optional<int32_t> color,
                std::optional<float> start, std::optional<float> end) override;
    void Print(const std::string& text) override;
    float TextWidth(const std::string& text) const override;
    float TextHeight(const std::string& text) const override;

private:
    DrawOp op(const std::string& kind, int32_t color) const;
    void check() const;

    float x_ = 0;
    float y_ = 0;
    int32_t fore_ = 0;
    int32_t back_ = 0x8000000F;
    int32_t fill_ = 0;
    int16_t fillStyle_ = 1;
    int16_t width_ = 1;
    int16_t style_ = 0;
    vbqt::StdFont font_;
};

class RecordingPage : public vbqt::PageTarget {
public:
    // Units the page reports for "1mm": twips by default; 1 makes it log
    // millimetres (with the 4.5 mm added to every y).
    explicit RecordingPage(double unitsPerMm = 1440.0 / 25.4) : unitsPerMm_(unitsPerMm) {}

    std::vector<DrawOp> ops;
    bool failDraws = false;
    std::optional<double> charWidth;
    std::optional<double> textHeight;
    int pageCount = 1;

    double unitsPerMm() const { return unitsPerMm_; }

    double CurrentX() const override { return x_; }
    void setCurrentX(double v) override { x_ = v; }
    void setCurrentX(const std::string& value) override;
    double CurrentY() const override { return y_; }
    void setCurrentY(double v) override { y_ = v; }
    void setCurrentY(const std::string& value) override;
    int32_t TextColor() const override { return text_; }
    void setTextColor(int32_t v) override { text_ = v; }
    int32_t PenColor() const override { return pen_; }
    void setPenColor(int32_t v) override { pen_ = v; }
    int32_t PenWidth() const override { return penWidth_; }
    void setPenWidth(int32_t v) override { penWidth_ = v; }
    int32_t PenStyle() const override { return penStyle_; }
    void setPenStyle(int32_t v) override { penStyle_ = v; }
    int32_t BrushColor() const override { return brush_; }
    void setBrushColor(int32_t v) override { brush_ = v; }
    int32_t BrushStyle() const override { return brushStyle_; }
    void setBrushStyle(int32_t v) override { brushStyle_ = v; }
    int32_t BackColor() const override { return back_; }
    void setBackColor(int32_t v) override { back_ = v; }
    vbqt::StdFont Font() const override { return font_; }
    void setFont(const vbqt::StdFont& v) override { font_ = v; }
    int32_t PaperSize() const override { return paper_; }
    void setPaperSize(int32_t v) override { paper_ = v; }
    int32_t Orientation() const override { return orientation_; }
    void setOrientation(int32_t v) override { orientation_ = v; }

    void DrawLine(double x1, double y1, double x2, double y2) override;
    void DrawRectangle(double x1, double y1, double x2, double y2) override;
    void DrawCircle(double x, double y, double radius, std::optional<double> start,
                    std::optional<double> end) override;
    void setText(const std::string& text) override;
    double TextWidth(const std::string& text) const override;
    double TextHeight(const std::string& text) const override;
    void NewPage() override;
    // Logged as "Picture" with its box and the picture's width and height.
    void DrawPicture(const QImage& picture, double x1, double y1, double x2, double y2) override;
    // Logged as "StartDoc" and "EndDoc".
    void StartDoc() override;
    void EndDoc() override;

private:
    DrawOp op(const std::string& kind) const;
    void check() const;

    double unitsPerMm_;
    double x_ = 0;
    double y_ = 0;
    int32_t text_ = 0;
    int32_t pen_ = 0;
    int32_t penWidth_ = 1;
    int32_t penStyle_ = 0;
    int32_t brush_ = 0xFFFFFF;
    int32_t brushStyle_ = 0;
    int32_t back_ = 0xFFFFFF;
    vbqt::StdFont font_;
    int32_t paper_ = 9;
    int32_t orientation_ = 0;
};

}  // namespace drawing
