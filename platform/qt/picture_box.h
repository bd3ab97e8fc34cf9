// A picture box: a widget with a persistent backing image (drawings survive
// repaints), a scale in twips, and the drawing calls of the original control.
#pragma once

#include "platform/qt/draw_targets.h"

#include <QImage>
#include <QWidget>

namespace vbqt {

class PictureBox : public QWidget, public PictureTarget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Twips per pixel: 1440 / logical DPI unless set (tests fix it to 15).
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;
    void setTwipsPerPixel(double x, double y);

    // The drawn picture (AutoRedraw's image).
    const QImage& image() const { return image_; }
    // A picture kept under the drawing; Cls clears back to it.
    void setPicture(const QImage& picture);

    float CurrentX() const override { return curX_; }
    void setCurrentX(float v) override { curX_ = v; }
    float CurrentY() const override { return curY_; }
    void setCurrentY(float v) override { curY_ = v; }
    int32_t ForeColor() const override { return foreColor_; }
    void setForeColor(int32_t v) override { foreColor_ = v; }
    int32_t BackColor() const override { return backColor_; }
    // As on the original control, a new back colour clears the picture.
    void setBackColor(int32_t v) override;
    int32_t FillColor() const override { return fillColor_; }
    void setFillColor(int32_t v) override { fillColor_ = v; }
    int16_t FillStyle() const override { return fillStyle_; }
    void setFillStyle(int16_t v) override;
    int16_t DrawWidth() const override { return drawWidth_; }
    void setDrawWidth(int16_t v) override;
    int16_t DrawStyle() const override { return drawStyle_; }
    void setDrawStyle(int16_t v) override;
    std::string FontName() const override { return font_.Name; }
    void setFontName(const std::string& v) override { font_.Name = v; }
    double FontSize() const override { return font_.Size; }
    void setFontSize(double v) override;
    StdFont Font() const override { return font_; }
    void setFont(const StdFont& v) override;
    float ScaleWidth() const override;
    float ScaleHeight() const override;

    void Cls() override;
    void PSet(VbPoint p, std::optional<int32_t> color) override;
    void Line(std::optional<VbPoint> from, VbPoint to, std::optional<int32_t> color,
              LineForm form) override;
    void Circle(VbPoint centre, float radius, std::optional<int32_t> color,
                std::optional<float> start, std::optional<float> end) override;
    void Print(const std::string& text) override;
    float TextWidth(const std::string& text) const override;
    float TextHeight(const std::string& text) const override;

    QSize sizeHint() const override { return {320, 240}; }

signals:
    void resized();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    QPointF toPixel(float x, float y) const;
    QPointF resolve(VbPoint p) const;
    QPen pen(int32_t color) const;
    QFont qfont() const;
    double emPixels(const QFont& f) const;
    void fitImage();

    QImage image_;
    QImage picture_;
    double tppX_ = 0;  // 0: from the screen
    double tppY_ = 0;
    float curX_ = 0;
    float curY_ = 0;
    int32_t foreColor_ = 0;           // black
    int32_t backColor_ = 0x8000000F;  // button face
    int32_t fillColor_ = 0;
    int16_t fillStyle_ = 1;  // transparent
    int16_t drawWidth_ = 1;
    int16_t drawStyle_ = 0;
    StdFont font_;
};

}  // namespace vbqt
