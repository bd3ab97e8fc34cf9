#include "drawing/kit.h"

#include "drawing/state_guard.h"
#include "platform/qt/ole_color.h"

#include <array>
#include <cmath>
#include <utility>

namespace drawing {

namespace {

constexpr float kTwoPiF = static_cast<float>(kTwoPi);
constexpr int32_t kWhite = vbqt::RGB(255, 255, 255);
constexpr int32_t kLightBlue = vbqt::RGB(164, 202, 244);

// Compared in double: in single precision -999999998 is the continuation
// value itself.
bool isContinuation(float x2) {
    return static_cast<double>(x2) < -999999998.0;
}

void mirror(int16_t m, double& x, double& y) {
    if (m == 0) y = -y;
    else if (m == 1) x = -x;
}

struct Turned {
    double u;
    double v;
};

Turned turn(double x, double y, double a) {
    return {x * std::cos(a) + y * std::sin(a), -x * std::sin(a) + y * std::cos(a)};
}

double surfaceX(const FigureFrameTbl& f, double x) {
    return x * f.ScaleX + f.X0;
}

double surfaceY(const FigureFrameTbl& f, double y) {
    return y * f.ScaleY + f.Y0;
}

void keepDrawWidth(StateGuard& g, clsPrintOut& po, int32_t width) {
    const int32_t old = po.DrawWidth();
    g.onExit([&po, old] { po.setDrawWidth(old); });
    po.setDrawWidth(width);
}

// Fill colour, fore colour, fill style and pen width, set back on exit.
void keepFillState(StateGuard& g, clsPrintOut& po) {
    const int32_t fill = po.FillColor();
    const int32_t fore = po.ForeColor();
    const int32_t style = po.FillStyle();
    const int32_t width = po.DrawWidth();
    g.onExit([&po, fill, fore, style, width] {
        po.setFillColor(fill);
        po.setForeColor(fore);
        po.setFillStyle(style);
        po.setDrawWidth(width);
    });
}

}  // namespace

void DrawLineScaled(clsPrintOut& po, int16_t mode, const FigureFrameTbl& frame, int16_t s,
                    float x1, float y1, float x2, float y2) {
    if (s != 0 && s != 1) return;
    // The continuation value sits in x2 whatever the swap says.
    const bool cont = isContinuation(x2);
    if (s == 1) {
        std::swap(x1, y1);
        if (!cont) std::swap(x2, y2);
    }
    if (mode == 1 && !cont) {
        po.Draw_Line(surfaceX(frame, x1), surfaceY(frame, y1), surfaceX(frame, x2),
                     surfaceY(frame, y2), -1);
    } else if (mode == 0 && !cont) {
        po.Draw_LineStepStep(x1 * frame.ScaleX, y1 * frame.ScaleY, x2 * frame.ScaleX,
                             y2 * frame.ScaleY, -1);
    } else if (mode == 0) {
        po.Draw_LineStepStep(0, 0, x1 * frame.ScaleX, y1 * frame.ScaleY, -1);
    }
    // Mode 1 with the continuation value has no caller: nothing is drawn.
}

void DrawLineRotated(clsPrintOut& po, const FigureFrameTbl& frame, int16_t m, double a, float x1,
                     float y1, float x2, float y2) {
    const bool cont = isContinuation(x2);
    double px = x1, py = y1, qx = x2, qy = y2;
    mirror(m, px, py);
    if (!cont) mirror(m, qx, qy);
    const Turned p = turn(px, py, a);
    if (!cont) {
        const Turned q = turn(qx, qy, a);
        po.Draw_Line(surfaceX(frame, p.u), surfaceY(frame, p.v), surfaceX(frame, q.u),
                     surfaceY(frame, q.v), -1);
    } else {
        po.Draw_Line(kLineFromCurrent, 0, surfaceX(frame, p.u), surfaceY(frame, p.v), -1);
    }
}

void DrawArcRotated(clsPrintOut& po, const FigureFrameTbl& frame, int16_t m, double a, float x,
                    float y, float r, float st, float ed, int16_t fill, int32_t colour) {
    if (m == 0) {
        y = -y;
        if (!(st > 998)) {
            st = -st;
            ed = -ed;
        }
    } else if (m == 1) {
        x = -x;
        if (!(st > 998)) {
            st = static_cast<float>(kPi - st);
            ed = static_cast<float>(kPi - ed);
        }
    }
    const Turned c = turn(x, y, a);
    const double cx = surfaceX(frame, c.u);
    const double cy = surfaceY(frame, c.v);
    const double R = r * frame.ScaleX;

    if (fill == 1) {
        StateGuard g;
        keepFillState(g, po);
        po.setFillColor(colour);
        po.setFillStyle(0);
        po.setDrawWidth(1);
        po.Draw_Circle(cx, cy, R, colour);
        g.restore();
        return;
    }
    if (fill != 0) return;
    // Outlines are black whatever colour was asked for.
    if (st > 998) {
        po.Draw_Circle(cx, cy, R, 0);
        return;
    }
    if (st > ed) SwapSingle(st, ed);
    float s = static_cast<float>(st + a);
    float e = static_cast<float>(ed + a);
    if (st < 0) {
        while (s < 0) {
            s += kTwoPiF;
            e += kTwoPiF;
        }
    } else {
        while (s > kTwoPiF) {
            s -= kTwoPiF;
            e -= kTwoPiF;
        }
    }
    if (e > kTwoPiF) {
        // A start at 2π would be an empty arc, which the targets draw as a
        // full circle.
        if (std::fabs(s - kTwoPiF) > 0.001f) po.Draw_Circle(cx, cy, R, 0, s, kTwoPiF);
        po.Draw_Circle(cx, cy, R, 0, 0, e - kTwoPiF);
    } else {
        po.Draw_Circle(cx, cy, R, 0, s, e);
    }
}

void DrawArcScaled(clsPrintOut& po, const FigureFrameTbl& frame, int16_t s, float dx, float dy,
                   float r, float st, float ed, float& st2, float& ed2) {
    if (st2 > 998) st2 = st;
    if (ed2 > 998) ed2 = ed;
    double sx = 0, sy = 0;
    float alpha = 0, beta = 0;
    if (s == 0) {
        sx = dx * frame.ScaleX;
        sy = dy * frame.ScaleY;
        alpha = st;
        beta = ed;
    } else if (s == 1) {
        sx = dy * frame.ScaleX;
        sy = dx * frame.ScaleY;
        alpha = st2;
        beta = ed2;
    } else {
        return;
    }
    const double R = r * frame.ScaleX;
    if (alpha > 998) {
        po.Draw_Circle_Step(sx, sy, R);
    } else if (alpha > beta) {
        // Across angle 0: two arcs about the same centre.
        po.Draw_Circle_Step(sx, sy, R, -1, alpha, kTwoPi);
        po.Draw_Circle_Step(0, 0, R, -1, 0, beta);
    } else {
        po.Draw_Circle_Step(sx, sy, R, -1, alpha, beta);
    }
}

void FillRotatedRect(clsPrintOut& po, const FigureFrameTbl& frame, int16_t m, double a, double x1,
                     double y1, double x2, double y2, int32_t colour) {
    mirror(m, x1, y1);
    mirror(m, x2, y2);
    const Turned p = turn(x1, y1, a);
    const Turned q = turn(x2, y2, a);
    StateGuard g;
    keepFillState(g, po);
    po.setDrawWidth(1);
    po.setForeColor(colour);
    po.setFillColor(colour);
    po.setFillStyle(0);
    po.Draw_RectangleBF(surfaceX(frame, p.u), surfaceY(frame, p.v), surfaceX(frame, q.u),
                        surfaceY(frame, q.v), -1);
    g.restore();
}

void DrawTubeSectionSymbol(clsPrintOut& po, const FigureFrameTbl& frame, int16_t m, double a,
                           float width, float height, int16_t c1, int16_t c2) {
    const double h = width / 2.0;
    const double k = height / 2.0;
    const double A = h - 2.5;
    const double B = k - 2.5;
    // The four corners (-p, -q), (-p, q), (p, q), (p, -q), in this order.
    const auto corners = [](double p, double q) {
        return std::array<std::pair<double, double>, 4>{
            {{-p, -q}, {-p, q}, {p, q}, {p, -q}}};
    };
    const auto disc = [&](double x, double y, double r, int32_t colour) {
        DrawArcRotated(po, frame, m, a, static_cast<float>(x), static_cast<float>(y),
                       static_cast<float>(r), kFullArc, 0, 1, colour);
    };
    const auto circle = [&](double x, double y, double r) {
        DrawArcRotated(po, frame, m, a, static_cast<float>(x), static_cast<float>(y),
                       static_cast<float>(r), kFullArc, 0, 0, 0);
    };
    const auto arc = [&](double x, double y, double r, double st, double ed) {
        DrawArcRotated(po, frame, m, a, static_cast<float>(x), static_cast<float>(y),
                       static_cast<float>(r), static_cast<float>(st), static_cast<float>(ed), 0,
                       0);
    };
    const auto line = [&](double x1, double y1, double x2, double y2) {
        DrawLineRotated(po, frame, m, a, static_cast<float>(x1), static_cast<float>(y1),
                        static_cast<float>(x2), static_cast<float>(y2));
    };
    const auto lineOn = [&](double x, double y) {
        DrawLineRotated(po, frame, m, a, static_cast<float>(x), static_cast<float>(y),
                        kContinueLine, 0);
    };
    const auto box = [&](double x1, double y1, double x2, double y2, int32_t colour) {
        FillRotatedRect(po, frame, m, a, x1, y1, x2, y2, colour);
    };

    // Concrete, and its outline.
    box(-h, -k, h, k, kLightBlue);
    line(-h, -k, -h, k);
    lineOn(h, k);
    lineOn(h, -k);
    lineOn(-h, -k);
    // The hoop: a white band with rounded corners between insets 1 and 1.5.
    for (auto [x, y] : corners(A, B)) disc(x, y, 1.5, kWhite);
    box(-A, -(k - 1), A, k - 1, kWhite);
    box(-(h - 1), -B, h - 1, B, kWhite);
    for (auto [x, y] : corners(A, B)) disc(x, y, 1.0, kLightBlue);
    box(-A, -(k - 1.5), A, k - 1.5, kLightBlue);
    box(-(h - 1.5), -B, h - 1.5, B, kLightBlue);

    StateGuard g;
    keepDrawWidth(g, po, 1);
    for (const auto& [inset, radius] : {std::pair{1.0, 1.5}, std::pair{1.5, 1.0}}) {
        arc(-A, -B, radius, kPi / 2, kPi);
        line(-(h - inset), -B, -(h - inset), B);
        arc(-A, B, radius, kPi, 3 * kPi / 2);
        line(-A, k - inset, A, k - inset);
        arc(A, B, radius, 3 * kPi / 2, kTwoPi);
        line(h - inset, B, h - inset, -B);
        arc(A, -B, radius, 0, kPi / 2);
        line(A, -(k - inset), -A, -(k - inset));
    }

    // Main bars: corners, then the bars between them on each face.
    const double d = 0.6 / std::sqrt(2.0);
    const double P = A + d;
    const double Q = B + d;
    for (auto [x, y] : corners(P, Q)) disc(x, y, 0.4, kWhite);
    for (auto [x, y] : corners(P, Q)) circle(x, y, 0.4);
    if (c1 >= 3) {
        for (int i = 1; i <= c1 - 2; ++i) {
            const double y = Q - i * 2 * Q / (c1 - 1);
            disc(-(h - 1.9), y, 0.4, kWhite);
            disc(h - 1.9, y, 0.4, kWhite);
            circle(-(h - 1.9), y, 0.4);
            circle(h - 1.9, y, 0.4);
        }
    }
    if (c2 >= 3) {
        for (int j = 1; j <= c2 - 2; ++j) {
            const double x = P - j * 2 * P / (c2 - 1);
            disc(x, -(k - 1.9), 0.4, kWhite);
            disc(x, k - 1.9, 0.4, kWhite);
            circle(x, -(k - 1.9), 0.4);
            circle(x, k - 1.9, 0.4);
        }
    }
    g.restore();
}

void DrawAxisSymbol(clsPrintOut& po, const FigureFrameTbl& frame) {
    const double ox = frame.Mode == 0 ? -5 : 0;
    const double oy = frame.Mode == 0 ? 2 : 0;
    const auto line = [&](double x1, double y1, double x2, double y2) {
        DrawLineRotated(po, frame, -1, 0, static_cast<float>(x1), static_cast<float>(y1),
                        static_cast<float>(x2), static_cast<float>(y2));
    };
    const auto lineOn = [&](double x, double y) {
        DrawLineRotated(po, frame, -1, 0, static_cast<float>(x), static_cast<float>(y),
                        kContinueLine, 0);
    };
    const auto text = [&](const std::string& s, double x, double y) {
        po.setCurrentX(surfaceX(frame, x));
        po.setCurrentY(surfaceY(frame, y));
        po.DPrint(s);
    };
    StateGuard g;
    keepDrawWidth(g, po, 1);
    line(ox - 15, oy + 21, ox - 10, oy + 21);
    lineOn(ox - 11.5, oy + 20.5);
    line(ox - 11.5, oy + 21.5, ox - 10, oy + 21);
    text("X", ox - 9.5, oy + 20);
    line(ox - 15, oy + 21, ox - 15, oy + 16);
    lineOn(ox - 15.5, oy + 17.5);
    line(ox - 14.5, oy + 17.5, ox - 15, oy + 16);
    text("Y", ox - 15.5, oy + 13.5);
    g.restore();
}

void DrawDimensionLine(clsPrintOut& po, const FigureFrameTbl& frame, int16_t orientation,
                       const std::string& text, double t, double x1, double y1, double x2,
                       double y2, double o) {
    const float fx1 = static_cast<float>(x1);
    const float fy1 = static_cast<float>(y1);
    const float fx2 = static_cast<float>(x2);
    const float fy2 = static_cast<float>(y2);
    const float fo = static_cast<float>(o);
    const float ft = static_cast<float>(t);
    const auto line = [&](float ax, float ay, float bx, float by) {
        DrawLineRotated(po, frame, -1, 0, ax, ay, bx, by);
    };
    const auto print = [&](double x, double y) {
        po.setCurrentX(surfaceX(frame, x));
        po.setCurrentY(surfaceY(frame, y));
        po.DPrint(text);
    };
    StateGuard g;
    keepDrawWidth(g, po, 1);
    if (orientation == 0) {
        const float L = fy1 + fo;
        line(fx1, fy1, fx1, L + 0.5f);
        line(fx2, fy2, fx2, L + 0.5f);
        line(fx1, L, fx2, L);
        line(fx1, L, fx1 + 1.5f, L - 0.5f);
        line(fx1, L, fx1 + 1.5f, L + 0.5f);
        line(fx2, L, fx2 - 1.5f, L - 0.5f);
        line(fx2, L, fx2 - 1.5f, L + 0.5f);
        print((fx1 + fx2) / 2.0f - 1.5f, L - 2.2f + ft);
    } else if (orientation == 1) {
        const float L = fx1 + fo;
        line(fx1, fy1, L + 0.5f, fy1);
        line(fx2, fy2, L + 0.5f, fy2);
        line(L, fy2, L, fy1);
        line(L - 0.5f, fy1 + 1.5f, L, fy1);
        line(L + 0.5f, fy1 + 1.5f, L, fy1);
        line(L - 0.5f, fy2 - 1.5f, L, fy2);
        line(L + 0.5f, fy2 - 1.5f, L, fy2);
        print(L - 1.0f, (fy1 + fy2) / 2.0f - 1.0f + ft);
    }
    g.restore();
}

PositionTbl RotatePoint(PositionTbl p, double a) {
    return {p.xx * std::cos(a) + p.YY * std::sin(a), -p.xx * std::sin(a) + p.YY * std::cos(a)};
}

void SwapDouble(double& a, double& b) {
    std::swap(a, b);
}

void SwapSingle(float& a, float& b) {
    std::swap(a, b);
}

void PrintTextAt(clsPrintOut& po, const std::string& text, float angle, float x, float y,
                 float size) {
    (void)angle;
    (void)size;
    po.setCurrentX(x);
    po.setCurrentY(y);
    po.DPrint(text);
}

}  // namespace drawing
