// Fixture of the figure tests: a project of two hand-built columns, a
// picture and a page recording target, and readers of what was drawn.
// With the unit frame (origin 0, scale 1) the picture logs figure units.
#pragma once

#include "drawing/figure_frame.h"
#include "drawing/globals.h"
#include "drawing/kit.h"
#include "drawing/print_out.h"
#include "drawing/recording.h"
#include "model/globals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace figtest {

using drawing::DrawOp;
using drawing::FigureFrameTbl;

inline FigureFrameTbl Frame(double x0, double y0, double s, int16_t mode = 1) {
    FigureFrameTbl f;
    f.X0 = x0;
    f.Y0 = y0;
    f.ScaleX = f.ScaleY = s;
    f.Mode = mode;
    return f;
}

struct Seg {
    double x1, y1, x2, y2;
};
struct Circ {
    double cx, cy, r;
};
struct ArcOp {
    double cx, cy, r, st, ed;
};
struct Text {
    double x, y;
    std::string text;
    double size;
};

inline bool Near(double a, double b, double tol = 1e-3) {
    return std::fabs(a - b) <= tol;
}

inline bool SameSeg(const Seg& a, const Seg& b, double tol = 1e-3) {
    return (Near(a.x1, b.x1, tol) && Near(a.y1, b.y1, tol) && Near(a.x2, b.x2, tol) &&
            Near(a.y2, b.y2, tol)) ||
           (Near(a.x1, b.x2, tol) && Near(a.y1, b.y2, tol) && Near(a.x2, b.x1, tol) &&
            Near(a.y2, b.y1, tol));
}

inline std::vector<Seg> Lines(const std::vector<DrawOp>& ops) {
    std::vector<Seg> out;
    for (const DrawOp& o : ops)
        if (o.kind == "Line") out.push_back({o.args[0], o.args[1], o.args[2], o.args[3]});
    return out;
}

inline std::vector<Circ> Circles(const std::vector<DrawOp>& ops) {
    std::vector<Circ> out;
    for (const DrawOp& o : ops)
        if (o.kind == "Circle") out.push_back({o.args[0], o.args[1], o.args[2]});
    return out;
}

inline std::vector<ArcOp> Arcs(const std::vector<DrawOp>& ops) {
    std::vector<ArcOp> out;
    for (const DrawOp& o : ops)
        if (o.kind == "Arc") out.push_back({o.args[0], o.args[1], o.args[2], o.args[3], o.args[4]});
    return out;
}

inline std::vector<Text> Texts(const std::vector<DrawOp>& ops) {
    std::vector<Text> out;
    for (const DrawOp& o : ops)
        if (o.kind == "Print" || o.kind == "Text")
            out.push_back({o.args[0], o.args[1], o.text, o.fontSize});
    return out;
}

inline bool HasSeg(const std::vector<Seg>& segs, Seg s, double tol = 1e-3) {
    return std::any_of(segs.begin(), segs.end(), [&](const Seg& t) { return SameSeg(s, t, tol); });
}

inline const Text* FindText(const std::vector<Text>& texts, const std::string& s) {
    for (const Text& t : texts)
        if (t.text == s) return &t;
    return nullptr;
}

// The drawn outline as a point cloud: every line sampled, every circle and
// arc sampled over its angles. Splits of an arc at angle 0 and the direction
// of a line do not matter, so two drawings can be compared under a mapping.
using Cloud = std::vector<std::array<double, 2>>;

inline Cloud Sample(const std::vector<DrawOp>& ops) {
    Cloud c;
    for (const DrawOp& o : ops) {
        if (o.kind == "Line") {
            for (int i = 0; i <= 8; ++i) {
                const double t = i / 8.0;
                c.push_back({o.args[0] + t * (o.args[2] - o.args[0]),
                             o.args[1] + t * (o.args[3] - o.args[1])});
            }
        } else if (o.kind == "Circle" || o.kind == "Arc") {
            const double st = o.kind == "Arc" ? o.args[3] : 0;
            const double ed = o.kind == "Arc" ? o.args[4] : 2 * M_PI;
            const int n = std::max(2, static_cast<int>((ed - st) / 0.1));
            for (int i = 0; i <= n; ++i) {
                const double t = st + (ed - st) * i / n;
                c.push_back({o.args[0] + o.args[2] * std::cos(t), o.args[1] - o.args[2] * std::sin(t)});
            }
        }
    }
    return c;
}

// Distance of a point to a drawn line, circle or arc.
inline double DistanceTo(const std::array<double, 2>& p, const DrawOp& o) {
    if (o.kind == "Line") {
        const double ax = o.args[0], ay = o.args[1], bx = o.args[2], by = o.args[3];
        const double dx = bx - ax, dy = by - ay;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((p[0] - ax) * dx + (p[1] - ay) * dy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(p[0] - (ax + t * dx), p[1] - (ay + t * dy));
    }
    const double cx = o.args[0], cy = o.args[1], r = o.args[2];
    const double radial = std::fabs(std::hypot(p[0] - cx, p[1] - cy) - r);
    if (o.kind == "Circle") return radial;
    double t = std::atan2(-(p[1] - cy), p[0] - cx);
    if (t < 0) t += 2 * M_PI;
    const double st = o.args[3], ed = o.args[4];
    if ((t >= st && t <= ed) || (t + 2 * M_PI >= st && t + 2 * M_PI <= ed)) return radial;
    const auto endDist = [&](double a) {
        return std::hypot(p[0] - (cx + r * std::cos(a)), p[1] - (cy - r * std::sin(a)));
    };
    return std::min(endDist(st), endDist(ed));
}

// The largest distance of a point of the cloud from the drawing.
inline double CloudDistance(const Cloud& a, const std::vector<DrawOp>& b) {
    double worst = 0;
    for (const auto& p : a) {
        double best = 1e9;
        for (const DrawOp& o : b) best = std::min(best, DistanceTo(p, o));
        worst = std::max(worst, best);
    }
    return worst;
}

using PointMap = std::function<std::array<double, 2>(double, double)>;

inline Cloud Mapped(Cloud c, const PointMap& f) {
    for (auto& p : c) p = f(p[0], p[1]);
    return c;
}

// Drawing b is drawing a mapped by f, and the other way round by g (the
// inverse of f).
inline void ExpectSameDrawing(const std::vector<DrawOp>& a, const std::vector<DrawOp>& b,
                              const PointMap& f, const PointMap& g, double tol,
                              const std::string& what) {
    ASSERT_FALSE(a.empty()) << what;
    ASSERT_FALSE(b.empty()) << what;
    EXPECT_LT(CloudDistance(Mapped(Sample(a), f), b), tol) << what << ": a not within b";
    EXPECT_LT(CloudDistance(Mapped(Sample(b), g), a), tol) << what << ": b not within a";
}

// Ops that are drawings (not texts, clears or state).
inline std::vector<DrawOp> Shapes(const std::vector<DrawOp>& ops) {
    std::vector<DrawOp> out;
    for (const DrawOp& o : ops)
        if (o.kind == "Line" || o.kind == "Circle" || o.kind == "Arc") out.push_back(o);
    return out;
}

// Two columns whose records each test fills; gCurCol 1. The project, the
// current column, the display mode and the text flag are put back after the
// test.
struct FigureTest : ::testing::Test {
    drawing::RecordingPicture pic;
    drawing::RecordingPage page{1.0};  // logs millimetres, y 4.5 lower
    drawing::clsPrintOut po;           // on the picture
    drawing::clsPrintOut paper;        // on the page
    FigureFrameTbl unit = Frame(0, 0, 1);

    model::ColumnArray<model::ColumnDataTbl> savedColumns = model::gColumns;
    model::ColumnArray<model::KvBaseTbl> savedBases = model::gKvBase;
    int16_t savedCur = model::gCurCol;
    int16_t savedDisp = model::gDispMode;
    bool savedNT = drawing::gNTFlag;

    FigureTest() {
        po.setprpMode(2);
        po.setprpPicture(&pic);
        paper.setprpMode(1);
        paper.setprpVsPrinter(&page);
        model::gColumns.redim(2);
        model::gKvBase.redim(2);
        model::gCurCol = 1;
        model::gDispMode = 4;
        drawing::gNTFlag = true;
        pic.setFontSize(8.25);
    }
    // A box column on a symmetric arrangement-0 base of series 1, two bolts a
    // side.
    void useSymmetricBoxBase() {
        col().ColV = 0;
        base().KvV = 1;
        base().AbV = 0;
        base().AbN = 2;
        base().RotateMode = 0;
        setKvLen(1, {500, 450, 400, 350, 0, 0});
    }
    ~FigureTest() override {
        model::gColumns = savedColumns;
        model::gKvBase = savedBases;
        model::gCurCol = savedCur;
        model::gDispMode = savedDisp;
        drawing::gNTFlag = savedNT;
    }

    model::ColumnDataTbl& col(long i = 1) { return model::gColumns(i); }
    model::KvBaseTbl& base(long i = 1) { return model::gKvBase(i); }
    // KvLen(d, 1..6) of a base, the row of d = 1 the exchanged pairs.
    void setKvLen(long i, std::array<double, 6> v) {
        for (long k = 1; k <= 6; ++k) base(i).KvLen(0, k) = v[static_cast<size_t>(k - 1)];
        const std::array<size_t, 6> swap = {1, 0, 3, 2, 5, 4};
        for (long k = 1; k <= 6; ++k) base(i).KvLen(1, k) = v[swap[static_cast<size_t>(k - 1)]];
    }
};

}  // namespace figtest
