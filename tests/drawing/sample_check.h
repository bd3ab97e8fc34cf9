// Checks for the sample pictures the tests keep for a person to look at: what
// a real picture box or page control was given is what a direct call of the
// same drawing records, and the drawn lines show in the picture where they
// were drawn. Glyph pixels are never compared.
#pragma once

#include "drawing/recording.h"
#include "platform/qt/picture_box.h"
#include "platform/qt/print_control.h"

#include <QColor>
#include <QImage>
#include <QPointF>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace samplecheck {

// A recording picture that measures texts as a real picture box does (the
// ruler, a box of the same size and scale), so that it records what the box
// is given even where a drawing places text by its size.
class MeasuredPicture : public drawing::RecordingPicture {
public:
    explicit MeasuredPicture(vbqt::PictureBox& ruler) : ruler_(ruler) {
        scaleWidth = ruler.ScaleWidth();
        scaleHeight = ruler.ScaleHeight();
    }
    float TextWidth(const std::string& text) const override {
        ruler_.setFont(Font());
        return ruler_.TextWidth(text);
    }
    float TextHeight(const std::string& text) const override {
        ruler_.setFont(Font());
        return ruler_.TextHeight(text);
    }

private:
    vbqt::PictureBox& ruler_;
};

// Passes every call on to a picture box and records it as well.
class TeePicture : public vbqt::PictureTarget {
public:
    TeePicture(vbqt::PictureBox& box, vbqt::PictureBox& ruler) : log(ruler), box_(box) {}

    MeasuredPicture log;

    float CurrentX() const override { return box_.CurrentX(); }
    void setCurrentX(float v) override { box_.setCurrentX(v); }
    float CurrentY() const override { return box_.CurrentY(); }
    void setCurrentY(float v) override { box_.setCurrentY(v); }
    int32_t ForeColor() const override { return box_.ForeColor(); }
    void setForeColor(int32_t v) override { both([&](vbqt::PictureTarget& t) { t.setForeColor(v); }); }
    int32_t BackColor() const override { return box_.BackColor(); }
    void setBackColor(int32_t v) override { both([&](vbqt::PictureTarget& t) { t.setBackColor(v); }); }
    int32_t FillColor() const override { return box_.FillColor(); }
    void setFillColor(int32_t v) override { both([&](vbqt::PictureTarget& t) { t.setFillColor(v); }); }
    int16_t FillStyle() const override { return box_.FillStyle(); }
    void setFillStyle(int16_t v) override { both([&](vbqt::PictureTarget& t) { t.setFillStyle(v); }); }
    int16_t DrawWidth() const override { return box_.DrawWidth(); }
    void setDrawWidth(int16_t v) override { both([&](vbqt::PictureTarget& t) { t.setDrawWidth(v); }); }
    int16_t DrawStyle() const override { return box_.DrawStyle(); }
    void setDrawStyle(int16_t v) override { both([&](vbqt::PictureTarget& t) { t.setDrawStyle(v); }); }
    std::string FontName() const override { return box_.FontName(); }
    void setFontName(const std::string& v) override {
        both([&](vbqt::PictureTarget& t) { t.setFontName(v); });
    }
    double FontSize() const override { return box_.FontSize(); }
    void setFontSize(double v) override { both([&](vbqt::PictureTarget& t) { t.setFontSize(v); }); }
    vbqt::StdFont Font() const override { return box_.Font(); }
    void setFont(const vbqt::StdFont& v) override { both([&](vbqt::PictureTarget& t) { t.setFont(v); }); }
    float ScaleWidth() const override { return box_.ScaleWidth(); }
    float ScaleHeight() const override { return box_.ScaleHeight(); }

    void Cls() override { draw([&](vbqt::PictureTarget& t) { t.Cls(); }); }
    void PSet(vbqt::VbPoint p, std::optional<int32_t> color) override {
        draw([&](vbqt::PictureTarget& t) { t.PSet(p, color); });
    }
    void Line(std::optional<vbqt::VbPoint> from, vbqt::VbPoint to, std::optional<int32_t> color,
              vbqt::LineForm form) override {
        draw([&](vbqt::PictureTarget& t) { t.Line(from, to, color, form); });
    }
    void Circle(vbqt::VbPoint centre, float radius, std::optional<int32_t> color,
                std::optional<float> start, std::optional<float> end) override {
        draw([&](vbqt::PictureTarget& t) { t.Circle(centre, radius, color, start, end); });
    }
    void Print(const std::string& text) override {
        draw([&](vbqt::PictureTarget& t) { t.Print(text); });
    }
    float TextWidth(const std::string& text) const override { return box_.TextWidth(text); }
    float TextHeight(const std::string& text) const override { return box_.TextHeight(text); }

private:
    // The box first: what it refuses is not recorded.
    void both(const std::function<void(vbqt::PictureTarget&)>& f) {
        f(box_);
        f(log);
    }
    // The log draws from the box's current point, which real texts move.
    void draw(const std::function<void(vbqt::PictureTarget&)>& f) {
        log.setCurrentX(box_.CurrentX());
        log.setCurrentY(box_.CurrentY());
        both(f);
    }
    vbqt::PictureBox& box_;
};

inline std::vector<std::string> Strings(const std::vector<drawing::DrawOp>& ops) {
    std::vector<std::string> out;
    for (const drawing::DrawOp& o : ops) out.push_back(o.str());
    return out;
}

inline std::string Str(const vbqt::PageOp& o) {
    std::ostringstream s;
    s << o.kind << ' ' << o.p1.x() << ',' << o.p1.y() << ' ' << o.p2.x() << ',' << o.p2.y() << ' '
      << o.startDeg << '/' << o.spanDeg << " pen " << o.penColor << '/' << o.penWidth << '/'
      << o.penStyle << " brush " << o.brushColor << '/' << o.brushStyle << " text "
      << o.textColor << ' ' << o.font.Name << ' ' << o.font.Size << " \"" << o.text.toStdString()
      << '"';
    return s.str();
}

inline std::vector<std::string> Strings(const std::vector<vbqt::PageOp>& ops, size_t from = 0,
                                        size_t to = static_cast<size_t>(-1)) {
    std::vector<std::string> out;
    for (size_t i = from; i < std::min(to, ops.size()); ++i) out.push_back(Str(ops[i]));
    return out;
}

// The colour most pixels have: the ground the drawing lies on.
inline QRgb Ground(const QImage& img) {
    std::map<QRgb, int> count;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) ++count[img.pixel(x, y)];
    return std::max_element(count.begin(), count.end(), [](const auto& a, const auto& b) {
               return a.second < b.second;
           })->first;
}

// Whether the pixel at p or one next to it differs from the ground.
inline bool Inked(const QImage& img, QRgb ground, QPointF p) {
    const int px = static_cast<int>(std::floor(p.x()));
    const int py = static_cast<int>(std::floor(p.y()));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int x = px + dx, y = py + dy;
            if (img.valid(x, y) && img.pixel(x, y) != ground) return true;
        }
    return false;
}

// Points of a drawing to look for in the picture, in pixels: the middle of
// every line at least two pixels long, a point on every circle and the
// middle of every arc.
struct Probes {
    std::vector<QPointF> points;
    std::vector<std::string> what;
};

inline Probes PictureProbes(const std::vector<drawing::DrawOp>& ops, double twipsPerPixel) {
    Probes p;
    const auto px = [&](double v) { return v / twipsPerPixel + 0.5; };
    for (const drawing::DrawOp& o : ops) {
        if (o.kind == "Line" || o.kind == "Box" || o.kind == "BoxFill") {
            if (std::hypot(o.args[2] - o.args[0], o.args[3] - o.args[1]) < 2 * twipsPerPixel) continue;
            const double y = o.kind == "Line" ? (o.args[1] + o.args[3]) / 2 : o.args[1];
            p.points.push_back({px((o.args[0] + o.args[2]) / 2), px(y)});
        } else if (o.kind == "Circle" || o.kind == "Arc") {
            if (o.args[2] < twipsPerPixel) continue;
            const double a = o.kind == "Arc" ? (o.args[3] + o.args[4]) / 2 : M_PI / 4;
            p.points.push_back({px(o.args[0] + o.args[2] * std::cos(a)),
                                px(o.args[1] - o.args[2] * std::sin(a))});
        } else {
            continue;
        }
        p.what.push_back(o.str());
    }
    return p;
}

inline Probes PageProbes(const std::vector<vbqt::PageOp>& ops, size_t from, size_t to, double dpi) {
    Probes p;
    const double k = dpi / 1440.0;  // pixels per twip
    for (size_t i = from; i < std::min(to, ops.size()); ++i) {
        const vbqt::PageOp& o = ops[i];
        const QPointF a = o.p1 * k, b = o.p2 * k;
        switch (o.kind) {
        case vbqt::PageOp::Line:
            if (std::hypot(b.x() - a.x(), b.y() - a.y()) < 2) continue;
            p.points.push_back((a + b) / 2);
            break;
        case vbqt::PageOp::Rectangle: p.points.push_back({(a.x() + b.x()) / 2, a.y()}); break;
        case vbqt::PageOp::Ellipse:
        case vbqt::PageOp::Arc: {
            const QPointF c = (a + b) / 2;
            const double rx = (b.x() - a.x()) / 2, ry = (b.y() - a.y()) / 2;
            if (rx < 1) continue;
            const double t = (o.kind == vbqt::PageOp::Arc ? o.startDeg + o.spanDeg / 2 : 45) * M_PI / 180;
            p.points.push_back({c.x() + rx * std::cos(t), c.y() - ry * std::sin(t)});
            break;
        }
        default: continue;
        }
        p.what.push_back(Str(o));
    }
    return p;
}

// Every probe of a drawing with at least `least` probes shows in the
// picture, but for a few that later drawing covered.
inline void ExpectShown(const QImage& img, const Probes& p, size_t least, const std::string& what) {
    ASSERT_GE(p.points.size(), least) << what << ": too little drawn";
    const QRgb ground = Ground(img);
    size_t missing = 0;
    std::string first;
    for (size_t i = 0; i < p.points.size(); ++i)
        if (!Inked(img, ground, p.points[i])) {
            if (missing++ == 0) first = p.what[i];
        }
    EXPECT_LE(missing, p.points.size() / 20) << what << ": drawn but not in the picture, e.g. " << first;
}

}  // namespace samplecheck
