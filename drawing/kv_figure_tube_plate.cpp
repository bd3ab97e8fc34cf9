// Plate outline and bolt holes of the tube figure. The lug outlines are
// fixed point lists; their arcs are found from the line ends they join, so
// every outline closes.
#include "drawing/kit.h"
#include "drawing/kv_figure_common.h"
#include "drawing/kv_figure_tube.h"

#include <cmath>
#include <vector>

namespace drawing {

namespace {

struct Pt {
    double x;
    double y;
};

// Angle of the direction (vx, vy) with y down.
double towards(double vx, double vy) {
    return std::atan2(-vy, vx);
}

// The arc of centre c and radius r joining p1 and p2 on the side that faces
// the direction (vx, vy).
template <typename Draw>
void lugArc(Draw& d, Pt c, double r, Pt p1, Pt p2, double vx, double vy) {
    const auto [st, ed] = ArcBetween(c.x, c.y, p1.x, p1.y, p2.x, p2.y, towards(vx, vy));
    d.arc(c.x, c.y, r, st, ed);
}

// The four sides: a point of the right side (x > 0) carried to the right,
// bottom, left and top side, and the outward direction of each.
Pt onSide(int k, Pt p) {
    switch (k) {
    case 0: return {p.x, p.y};
    case 1: return {p.y, p.x};
    case 2: return {-p.x, p.y};
    default: return {p.y, -p.x};
    }
}

Pt outward(int k) {
    return onSide(k, {1, 0});
}

void rectangle(SwappedDraw& sw, double W, double H) {
    sw.line(-W / 2, -H / 2, -W / 2, H / 2);
    sw.line(-W / 2, H / 2, W / 2, H / 2);
    sw.line(W / 2, H / 2, W / 2, -H / 2);
    sw.line(W / 2, -H / 2, -W / 2, -H / 2);
}

// Rounded square of half size 7 with corner radius r.
void roundedPlate(SwappedDraw& sw, double r) {
    const double c = 7 - r;
    sw.arc(-c, -c, r, kPi / 2, kPi);
    sw.arc(-c, c, r, kPi, 3 * kPi / 2);
    sw.arc(c, c, r, 3 * kPi / 2, kTwoPi);
    sw.arc(c, -c, r, 0, kPi / 2);
    sw.line(-7, -c, -7, c);
    sw.line(-c, 7, c, 7);
    sw.line(7, c, 7, -c);
    sw.line(c, -7, -c, -7);
}

// The corner diagonals of both lug outlines of arrangement 1.
void lugDiagonals(SwappedDraw& sw) {
    for (int sx : {1, -1})
        for (int sy : {1, -1}) sw.line(5.2078 * sx, 6.7071 * sy, 6.7071 * sx, 5.2078 * sy);
}

// Arrangement 1, three bolts a side: lugs round the twelve holes and two
// notches between them on each side.
void lugsOfThree(SwappedDraw& sw) {
    for (int k = 0; k < 4; ++k) {
        const Pt o = outward(k);
        for (int m : {1, -1}) {
            lugArc(sw, onSide(k, {7.647, 2.25 * m}), 1.5, onSide(k, {6.3308, 2.9167 * m}),
                   onSide(k, {6.3308, 1.5833 * m}), -o.x, -o.y);
        }
    }
    for (int k = 0; k < 4; ++k) {
        const Pt o = outward(k);
        lugArc(sw, onSide(k, {6, 4.5}), 1, onSide(k, {6.7071, 5.2078}),
               onSide(k, {6.8958, 4.0556}), o.x, o.y);
        lugArc(sw, onSide(k, {6, 0}), 1, onSide(k, {6.8958, 0.4444}),
               onSide(k, {6.8958, -0.4444}), o.x, o.y);
        lugArc(sw, onSide(k, {6, -4.5}), 1, onSide(k, {6.8958, -4.0556}),
               onSide(k, {6.7071, -5.2078}), o.x, o.y);
    }
    for (int k = 0; k < 4; ++k)
        for (int m : {1, -1}) {
            const Pt a1 = onSide(k, {6.8958, 4.0556 * m});
            const Pt b1 = onSide(k, {6.3308, 2.9167 * m});
            const Pt a2 = onSide(k, {6.8958, 0.4444 * m});
            const Pt b2 = onSide(k, {6.3308, 1.5833 * m});
            sw.line(a1.x, a1.y, b1.x, b1.y);
            sw.line(a2.x, a2.y, b2.x, b2.y);
        }
    lugDiagonals(sw);
}

// Arrangement 1, two bolts a side: lugs round the eight holes and one wide
// notch in the middle of each side.
void lugsOfTwo(SwappedDraw& sw) {
    for (int k = 0; k < 4; ++k) {
        const Pt o = outward(k);
        for (int m : {1, -1})
            lugArc(sw, onSide(k, {6, 4.5 * m}), 1, onSide(k, {6.7071, 5.2078 * m}),
                   onSide(k, {6.8607, 3.9909 * m}), o.x, o.y);
    }
    for (int k = 0; k < 4; ++k) {
        const Pt o = outward(k);
        lugArc(sw, onSide(k, {6.24, 0}), 1.5, onSide(k, {4.9517, 0.7637}),
               onSide(k, {4.9517, -0.7637}), -o.x, -o.y);
    }
    for (int k = 0; k < 4; ++k)
        for (int m : {1, -1}) {
            const Pt a = onSide(k, {4.9517, 0.7637 * m});
            const Pt b = onSide(k, {6.8607, 3.9909 * m});
            sw.line(a.x, a.y, b.x, b.y);
        }
    lugDiagonals(sw);
}

void arrangementOne(clsPrintOut& po, const FigureFrameTbl& f, const model::KvBaseTbl& kvb,
                    const TubeLayout& L, SwappedDraw& sw) {
    const double P = L.Px / 2;
    const double Q = L.Qx / 2;
    const Pt holes[8] = {{P, Q}, {Q, P}, {-Q, P}, {-P, Q}, {-P, -Q}, {-Q, -P}, {Q, -P}, {P, -Q}};
    for (const Pt& h : holes) sw.circle(h.x, h.y, 0.5);

    if (kvb.KvV == 4) {
        rectangle(sw, L.W, L.H);
    } else if (kvb.KvV == 6) {
        // Side plates over each bolt pair, turned by quarters whatever the
        // base's direction.
        const double p = L.Py / 2;
        const double q = L.Qy / 2;
        for (int k = 0; k < 4; ++k) {
            RotatedDraw rk(po, f, -1, k * kPi / 2);
            rk.line(p - 0.9, -(q + 0.9), p + 0.9, -(q + 0.9));
            rk.line(p + 0.9, -(q + 0.9), p + 0.9, q + 0.9);
            rk.line(p + 0.9, q + 0.9, p - 0.9, q + 0.9);
            rk.line(p - 0.9, q + 0.9, p - 0.9, -(q + 0.9));
            rk.line(p + 0.9, q - 0.9, p + 1.5, q - 1.5);
            rk.line(p + 1.5, q - 1.5, p + 1.5, -(q - 1.5));
            rk.line(p + 1.5, -(q - 1.5), p + 0.9, -(q - 0.9));
            rk.line(p - 0.9, q + 0.9, q + 0.9, p - 0.9);
        }
    } else {
        roundedPlate(sw, 1);
        if (kvb.AbN == 3) {
            const Pt mid[4] = {{-6, 0}, {0, 6}, {6, 0}, {0, -6}};
            for (const Pt& h : mid) sw.circle(h.x, h.y, 0.5);
            lugsOfThree(sw);
        } else if (kvb.AbN == 2) {
            lugsOfTwo(sw);
        }
    }
}

// Corner pieces of an asymmetric base under a box with two bolts a side.
void boxAsymmetricCorners(RotatedDraw& rd, const Pt holes[4]) {
    struct HoleArc {
        int hole;
        Pt p1, p2;
    };
    // Holes in drawing order: (-, -), (-, +), (+, +), (+, -).
    const HoleArc arcs[4] = {{0, {-2.918, -7.5389}, {-5.4819, -6.2679}},
                             {1, {-2.918, 7.5389}, {-5.4819, 6.2679}},
                             {2, {7.3483, 5.8427}, {5.2017, 7.7699}},
                             {3, {7.3483, -5.8427}, {5.2017, -7.7699}}};
    for (const HoleArc& a : arcs) {
        const Pt c = holes[a.hole];
        lugArc(rd, c, 1.5, a.p1, a.p2, c.x > 0 ? 1 : -1, c.y > 0 ? 1 : -1);
    }
    lugArc(rd, {-6.018, 0}, 1.5, {-4.5364, 0.2322}, {-4.5364, -0.2322}, 1, 0);
    lugArc(rd, {0.263, 6.42}, 1.5, {1.0432, 5.1501}, {-0.8461, 5.3811}, 0, -1);
    lugArc(rd, {6.169, 0}, 1.5, {4.8204, 0.6572}, {4.8204, -0.6572}, -1, 0);
    lugArc(rd, {0.263, -6.42}, 1.5, {1.0432, -5.1501}, {-0.8461, -5.3811}, 0, 1);
    for (int m : {1, -1}) {
        rd.line(1.0432, 5.1501 * m, 5.2017, 7.7699 * m);
        rd.line(4.8204, 0.6572 * m, 7.3483, 5.8427 * m);
        rd.line(-0.8461, 5.3811 * m, -2.918, 7.5389 * m);
        rd.line(-4.5364, 0.2322 * m, -5.4819, 6.2679 * m);
    }
}

// Corner pieces of a symmetric base with two bolts a side.
void plainCorners(SwappedDraw& sw) {
    for (int sx : {1, -1})
        for (int sy : {1, -1})
            lugArc(sw, {5.5 * sx, 5.5 * sy}, 1.5, {4.8455 * sx, 6.8497 * sy},
                   {6.8497 * sx, 4.8455 * sy}, sx, sy);
    for (int k = 0; k < 4; ++k) {
        const Pt o = outward(k);
        lugArc(sw, onSide(k, {6.17, 0}), 1.5, onSide(k, {4.8174, 0.6545}),
               onSide(k, {4.8174, -0.6545}), -o.x, -o.y);
    }
    for (int sx : {1, -1})
        for (int sy : {1, -1}) {
            sw.line(0.6545 * sx, 4.8174 * sy, 4.8455 * sx, 6.8497 * sy);
            sw.line(4.8174 * sx, 0.6545 * sy, 6.8497 * sx, 4.8455 * sy);
        }
}

void arrangementZero(clsPrintOut& po, const FigureFrameTbl& f, const model::KvBaseTbl& kvb,
                     const TubeLayout& L, RotatedDraw& rd, SwappedDraw& sw) {
    const double sa = L.sa();
    const Pt holes[4] = {{-(L.Px / 2 - sa), -L.Py / 2},
                         {-(L.Px / 2 - sa), L.Py / 2},
                         {L.Px / 2 + sa, L.Py / 2},
                         {L.Px / 2 + sa, -L.Py / 2}};
    for (int i = 0; i < 4; ++i) {
        // The quarter that faces the shifted column is left out.
        if (i == 0 && L.eccentric) rd.arc(holes[i].x, holes[i].y, 0.8, 0, 3 * kPi / 2);
        else rd.circle(holes[i].x, holes[i].y, 0.8);
    }

    if (kvb.KvV == 4) {
        rectangle(sw, L.W, L.H);
    } else if (kvb.KvV == 6) {
        const double p = (L.W - 1) / 2;
        const double q = (L.H - 1) / 2;
        for (int k = 0; k < 4; ++k) {
            RotatedDraw rk(po, f, -1, k * kPi / 2);
            rk.poly({{p - 3.5, q - 2}, {p - 5.5, q - 2}, {p - 5.5, q}, {p, q}, {p, q - 5.5},
                     {p - 2, q - 5.5}, {p - 2, q - 3.5}});
            rk.arc(p - 3.5, q - 3.5, 1.5, 3 * kPi / 2, kTwoPi);
            rk.poly({{p, q - 2}, {p + 0.5, q - 2}, {p + 0.5, -(q - 2)}, {p, -(q - 2)}});
        }
    } else if (kvb.AbN == 2) {
        if (L.boxAsym) {
            boxAsymmetricCorners(rd, holes);
        } else if (L.eccentric) {
            rd.arc(-5.5, -5.5, 1.5, kPi / 2, kPi);
            rd.arc(-5.5, 5.5, 1.5, kPi, 3 * kPi / 2);
            rd.arc(5.5, 5.5, 1.5, 3 * kPi / 2, kTwoPi);
            rd.arc(5.5, -5.5, 1.5, 0, kPi / 2);
        } else {
            plainCorners(sw);
        }
        rd.line(-(L.W / 2 - sa), -L.Py / 2, -(L.W / 2 - sa), L.Py / 2);
        rd.line(-(L.Px / 2 - sa), L.H / 2, L.Px / 2 + sa, L.H / 2);
        rd.line(L.W / 2 + sa, L.Py / 2, L.W / 2 + sa, -L.Py / 2);
        rd.line(L.Px / 2 + sa, -L.H / 2, -(L.Px / 2 - sa), -L.H / 2);
    } else {
        roundedPlate(sw, 2);
        const double X = L.Px / 2;
        const double Y = L.Py / 2;
        std::vector<Pt> mid;
        if (kvb.AbN == 3) {
            mid = {{-X, 0}, {0, Y}, {X, 0}, {0, -Y}};
        } else if (kvb.AbN == 4) {
            mid = {{-X, -Y / 3}, {-X, Y / 3},     {-L.Px / 6, Y}, {L.Px / 6, Y},
                   {X, -Y / 3},  {X, Y / 3},      {-L.Px / 6, -Y}, {L.Px / 6, -Y}};
        } else if (kvb.AbN == 5) {
            mid = {{-X, -Y / 2},  {-X, 0},      {-X, Y / 2},     {X, -Y / 2},
                   {X, 0},        {X, Y / 2},   {-X / 2, -Y},    {-X / 2, Y},
                   {0, -Y},       {0, Y},       {X / 2, -Y},     {X / 2, Y}};
        }
        for (const Pt& h : mid) sw.circle(h.x, h.y, 0.8);
    }
}

}  // namespace

void PlotTubeBasePlate(clsPrintOut& po, const FigureFrameTbl& frame, const model::KvBaseTbl& kvb,
                       const TubeLayout& lay) {
    RotatedDraw rd(po, frame, -1, lay.dir * kPi / 2);
    SwappedDraw sw(po, frame, lay.a);
    if (kvb.AbV == 1) arrangementOne(po, frame, kvb, lay, sw);
    else if (kvb.AbV == 0) arrangementZero(po, frame, kvb, lay, rd, sw);
}

}  // namespace drawing
