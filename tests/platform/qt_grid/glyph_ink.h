// Reads texts off a rendered widget: the widget is drawn at several times its
// size, so that the glyphs of even a condensed number stand apart, and the ink
// of a region is what is clearly darker than the region's background.
#pragma once

#include <QColor>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <vector>

namespace inkread {

constexpr int kZoom = 4;

inline QImage Render(QWidget& w, int zoom = kZoom)
{
    QImage img(w.size() * zoom, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(zoom);
    img.fill(Qt::white);
    w.render(&img);
    img.setDevicePixelRatio(1);
    return img;
}

struct Ink {
    QRect box;     // in the image's pixels; empty when there is no ink
    int runs = 0;  // runs of inked pixel columns: one per glyph of a plain number
};

// `area` in the widget's own pixels; the background is taken at its top left.
inline Ink InkIn(const QImage& img, const QRect& area, int zoom = kZoom)
{
    const QRect r = QRect(area.topLeft() * zoom, area.size() * zoom).intersected(img.rect());
    const int back = qGray(img.pixel(r.left(), r.top()));
    Ink ink;
    bool inRun = false;
    for (int x = r.left(); x <= r.right(); ++x) {
        bool inked = false;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            if (qGray(img.pixel(x, y)) < back - 80) {
                inked = true;
                ink.box |= QRect(x, y, 1, 1);
            }
        }
        if (inked && !inRun) ++ink.runs;
        inRun = inked;
    }
    return ink;
}

// The same text drawn plainly in a font, for comparison.
inline Ink PlainInk(const QString& text, const QFont& font, int zoom = kZoom)
{
    const QFontMetricsF m(font);
    QImage img(QSize(static_cast<int>(m.horizontalAdvance(text)) + 20, static_cast<int>(m.height()) + 10) * zoom,
               QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(zoom);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPointF(10, m.ascent() + 5), text);
    }
    img.setDevicePixelRatio(1);
    return InkIn(img, QRect(0, 0, img.width() / zoom, img.height() / zoom), zoom);
}

// Inked pixels per column of `area` (the widget's own pixels), against the
// background at its top left.
inline std::vector<double> ColumnProfile(const QImage& img, const QRect& area, int zoom = kZoom)
{
    const QRect r = QRect(area.topLeft() * zoom, area.size() * zoom).intersected(img.rect());
    const int back = qGray(img.pixel(r.left(), r.top()));
    std::vector<double> profile;
    for (int x = r.left(); x <= r.right(); ++x) {
        double ink = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) ink += qGray(img.pixel(x, y)) < back - 80;
        profile.push_back(ink);
    }
    return profile;
}

// The same text drawn from the left edge of a box of `size`, condensed to
// `scale` of its width.
inline QImage CondensedText(const QString& text, const QFont& font, QSize size, double scale, int zoom = kZoom)
{
    QImage img(size * zoom, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(zoom);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setFont(font);
        p.setPen(Qt::black);
        p.scale(scale, 1.0);
        p.drawText(QPointF(0, QFontMetricsF(font).ascent()), text);
    }
    img.setDevicePixelRatio(1);
    return img;
}

// Pearson correlation of two profiles over their common length.
inline double Correlation(const std::vector<double>& a, const std::vector<double>& b)
{
    const size_t n = std::min(a.size(), b.size());
    double ma = 0, mb = 0;
    for (size_t i = 0; i < n; ++i) ma += a[i], mb += b[i];
    ma /= n, mb /= n;
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < n; ++i) {
        ab += (a[i] - ma) * (b[i] - mb);
        aa += (a[i] - ma) * (a[i] - ma);
        bb += (b[i] - mb) * (b[i] - mb);
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

}  // namespace inkread
