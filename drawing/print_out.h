// The one drawing surface: the same properties and drawing calls on a screen
// picture (prpMode other than 1, caller units passed through) and on a printer
// page (prpMode 1, millimetres from the page's top left, sent to the page
// control in its own unit with every y 4.5 mm lower).
#pragma once

#include "platform/qt/draw_targets.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace drawing {

using vbqt::PageTarget;
using vbqt::PictureTarget;
using vbqt::StdFont;

// A surface call without a bound target.
class DrawingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Line continuation: a first x of exactly this value starts at the current point.
constexpr double kLineFromCurrent = -99999;
// Circle start angle meaning the full circle.
constexpr double kFullCircle = -9999;
// Every y on paper lies this much lower than the caller gives it.
constexpr double kPaperYOffsetMm = 4.5;

class clsPrintOut {
public:
    clsPrintOut() = default;

    // Targets are owned by their windows; the surface only refers to them.
    void setprpPicture(PictureTarget* v) { picture_ = v; }
    // Binds the page control and measures its units per millimetre; the
    // control's position is left as it was.
    void setprpVsPrinter(PageTarget* v);
    PageTarget* prpVsPrinter() const { return page_; }

    int16_t ScaleMode() const { return 0; }
    void setScaleMode(int16_t) {}
    std::string FontName() const;
    void setFontName(const std::string& v);
    double FontSize() const;
    void setFontSize(double v);
    // Paper: the text colour only (lines keep the pen colour).
    int32_t ForeColor() const;
    void setForeColor(int32_t v);
    double CurrentX() const;
    void setCurrentX(double v);
    double CurrentY() const;
    void setCurrentY(double v);
    int32_t prpMode() const { return mode_; }
    void setprpMode(int32_t v) { mode_ = v; }
    // Screen: pixels (16-bit). Paper: the pen width in tenths of a millimetre.
    int32_t DrawWidth() const;
    void setDrawWidth(int32_t v);
    int32_t BackColor() const;
    void setBackColor(int32_t v);
    int32_t FillColor() const;
    void setFillColor(int32_t v);
    int32_t FillStyle() const;
    void setFillStyle(int32_t v);
    StdFont Font() const;
    void setFont(const StdFont& v);
    double ScaleWidth() const;
    double ScaleHeight() const;
    int32_t DrawStyle() const;
    void setDrawStyle(int32_t v);
    int32_t PaperSize() const;
    void setPaperSize(int32_t v);
    int32_t Orientation() const;
    void setOrientation(int32_t v);

    void Cls();
    void NewPage();
    void Draw_PsetStep(double vdblX, double vdblY, int32_t vlngColor = -1);
    void Draw_Line(double vdblX1 = kLineFromCurrent, double vdblY1 = 0, double vdblX2 = 0,
                   double vdblY2 = 0, int32_t vlngColor = -1);
    void Draw_LineStepStep(double vdblX1 = 0, double vdblY1 = 0, double vdblX2 = 0,
                           double vdblY2 = 0, int32_t vlngColor = -1);
    void Draw_Rectangle(double vdblX1, double vdblY1, double vdblX2, double vdblY2,
                        int32_t vlngColor = -1);
    void Draw_RectangleStep(double vdblX1, double vdblY1, double vdblX2, double vdblY2,
                            int32_t vlngColor = -1);
    void Draw_RectangleBF(double vdblX1, double vdblY1, double vdblX2, double vdblY2,
                          int32_t vlngColor = -1);
    // The omitted colour here is black, not the pen.
    void Draw_Circle(double vdblX, double vdblY, double vdblR, int32_t vlngColor = 0,
                     double vdblSt = kFullCircle, double vdblEd = 0);
    void Draw_Circle_Step(double vdblX, double vdblY, double vdblR, int32_t vlngColor = -1,
                          double vdblSt = kFullCircle, double vdblEd = 0);
    void DPrint(const std::string& vstrValue);
    void DPrintCC(const std::string& vstrValue);
    void DPrintRU(const std::string& vstrValue);
    // A text's advance in surface units (millimetres on paper).
    double TextWidth(const std::string& vstrValue) const;
    double TextHeight(const std::string& vstrValue) const;
    // Paper: prints at the current point, condensed horizontally to `width`
    // when the text is wider; a text that fits prints as DPrint does.
    // Screen: as DPrint.
    void DPrintFitted(const std::string& vstrValue, double width);

    // Paper: until cleared, lines, boxes and circles are cut to this box and
    // texts that start outside it are left out (the screen's picture box
    // does the same to what leaves it). Screen surfaces ignore it.
    void setPaperClip(double x1, double y1, double x2, double y2);
    void clearPaperClip() { clip_ = false; }

    // The page control's units per millimetre (1.0 until one is bound).
    double twipsPerMmX() const { return tpmX_; }
    double twipsPerMmY() const { return tpmY_; }

private:
    bool onPaper() const { return mode_ == 1; }
    PictureTarget& pic() const;
    PageTarget& vsp() const;
    double TwipsX(double x) const { return x * tpmX_; }
    double TwipsY(double y) const { return (y + kPaperYOffsetMm) * tpmY_; }
    double TwipsLength(double r) const { return r * tpmX_; }
    void lineTo(double x1, double y1, double x2, double y2, bool fromCurrent, int32_t color);
    // Cuts the segment to the paper clip; false when nothing of it is left.
    bool clipSegment(double& x1, double& y1, double& x2, double& y2) const;
    bool clipped() const { return clip_ && onPaper(); }

    PageTarget* page_ = nullptr;
    PictureTarget* picture_ = nullptr;
    double tpmX_ = 1.0;
    double tpmY_ = 1.0;
    double curX_ = 0;
    double curY_ = 0;
    int32_t mode_ = 0;
    bool clip_ = false;
    double clipL_ = 0, clipT_ = 0, clipR_ = 0, clipB_ = 0;
};

}  // namespace drawing
