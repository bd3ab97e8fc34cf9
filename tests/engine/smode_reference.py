#!/usr/bin/env python3
"""Reference values for test_smode.cpp and test_shear.cpp, worked out straight
from the formulas of the steel-base strengths (zone cascades, long-term set,
shear along the ray) with plain IEEE doubles.

    python3 smode_reference.py                 prints the C++ table rows
    python3 smode_reference.py --check FILE..  compares them with the tables
                                               kMuRows, kLongTermRows and kRays
                                               of the C++ sources (run by CTest)

The base used by every row is the one of MakeBase() in test_smode_base.h.
"""
import math
import re
import sys

SI = 9.80665
# plan dimensions X (mm): D, B, d1, -, d2, -
LEN = {0: [500, 450, 380, 330, 200, 180], 1: [450, 500, 330, 380, 180, 200]}
N_PER_SIDE = 2
ABF, ABA, ABAE = 5.0, 4.52389248, 3.39291936
TU6 = [20.0, 12.0, 8.0]
FC = 24.0
OCT_C = 450.0  # kind 6 octagon dimension, mm


def nu(kind, state):
    fc = FC / SI * 100
    fc21 = 21 / SI * 100
    c = {0: [0.9, 0.675, 0.45], 1: [0.9, 0.675, 0.45], 2: [0.9, 0.675, 0.45],
         4: [0.9, 0.675, 0.45], 3: [0.935, 2 / 3 * 1.1, 1 / 3 * 1.1],
         5: [0.9, 2 / 3, 1 / 3], 6: [0.85, 2 / 3, 1 / 3]}[kind][state]
    if kind == 2:
        fc = fc21
    return c * fc / 1000 * (LEN[0][0] / 10) * (LEN[0][1] / 10)


def tu1(kind, state):
    if kind == 6:
        return TU6[state]
    return [ABF * ABA, ABF * ABAE, ABF * ABAE * 2 / 3][state]


def zone_moment(kind, abv, state, N, d=0):
    """M in tf*cm and the label (kinds 0/2)."""
    D, d1, d2 = LEN[d][0] / 10, LEN[d][2] / 10, LEN[d][4] / 10
    n = N_PER_SIDE
    Nu = nu(kind, state)
    Tu1 = tu1(kind, state)
    if kind in (0, 2):
        T = n * Tu1
        a = (D + d1) * Nu / (2 * D)
        if N > Nu: return 0.0, ""
        if N > a: return (1 - N / Nu) * D * N / 2, "A"
        if N > a - T: return ((D + d1) / 2) ** 2 * Nu / (2 * D) - N * d1 / 2, "B"
        if N > Nu / 4 - T: return (1 - (T + N) / Nu) * (T + N) * D / 2 + T * d1 / 2, "C1"
        if N > -T: return (1 - ((T + N) / (Nu / 2)) ** 2) * (T + N) * D / 2 + T * d1 / 2, "C2"
        if N > -2 * T: return (2 * T + N) * d1 / 2, "D"
        return 0.0, ""
    if kind in (1, 3, 4) and abv == 0:
        T = n * Tu1
        l1 = (D + d1) / (2 * D); m1 = (D - d1) / (2 * D)
        if N > Nu: return 0.0, None
        if N > l1 * Nu: return (1 - N / Nu) * (D / 2) * N, None
        if N > l1 * Nu - T: return (D + d1) ** 2 * Nu / (8 * D) - (d1 / 2) * N, None
        if N > m1 * Nu - T: return (1 - (T + N) / Nu) * (T + N) * D / 2 + (d1 / 2) * T, None
        if N > m1 * Nu - 2 * T: return (D - d1) ** 2 * Nu / (8 * D) + (2 * T + N) * d1 / 2, None
        if N > -2 * T: return (1 - (2 * T + N) / Nu) * (2 * T + N) * D / 2, None
        return 0.0, None
    if kind in (1, 3, 4) and abv == 1:
        T = n * Tu1
        Tk = lambda k: k * Tu1
        l1 = (D + d1) / (2 * D); l2 = (D + d2) / (2 * D)
        m2 = (D - d2) / (2 * D); m1 = (D - d1) / (2 * D)
        if N > Nu: return 0.0, None
        if N > l1 * Nu: return (1 - N / Nu) * (D / 2) * N, None
        if N > l1 * Nu - T: return (D + d1) ** 2 * Nu / (8 * D) - (d1 / 2) * N, None
        if N > l2 * Nu - T: return (1 - (T + N) / Nu) * (T + N) * D / 2 + (d1 / 2) * T, None
        if N > l2 * Nu - Tk(n + 2):
            return (D + d2) ** 2 * Nu / (8 * D) + ((d1 - d2) / 2) * T - (d2 / 2) * N, None
        if N > m2 * Nu - Tk(n + 2):
            return (1 - (Tk(n + 2) + N) / Nu) * (Tk(n + 2) + N) * D / 2 + ((n * d1 + 2 * d2) / 2) * Tu1, None
        if N > m2 * Nu - Tk(n + 4):
            return (D - d2) ** 2 * Nu / (8 * D) + (((n + 4) * d2 + n * d1) / 2) * Tu1 + (d2 / 2) * N, None
        if N > m1 * Nu - Tk(n + 4):
            return (1 - (Tk(n + 4) + N) / Nu) * (Tk(n + 4) + N) * D / 2 + (d1 / 2) * T, None
        if N > m1 * Nu - Tk(2 * n + 4):
            return (D - d1) ** 2 * Nu / (8 * D) + (n + 2) * d1 * Tu1 + (d1 / 2) * N, None
        if N > -Tk(2 * n + 4):
            return (1 - (Tk(2 * n + 4) + N) / Nu) * (Tk(2 * n + 4) + N) * D / 2, None
        return 0.0, None
    if kind == 5:
        if abv == 1:
            T = (n + 2) * Tu1; g = (n * d1 + 2 * d2) / (2 * (n + 2))
        else:
            T = n * Tu1; g = d1 / 2
        a = D / 2 + g; b = D / 2 - g
        ka = (a / D) ** (2 / 3)
        if N > Nu: return 0.0, None
        if N > ka * Nu: return (1 - (N / Nu) ** 1.5) * (D / 2) * N, None
        if N > ka * Nu - T: return ka * (a / 2) * Nu - N * g, None
        if N > Nu / 2.25 - T: return (1 - ((T + N) / Nu) ** 1.5) * (T + N) * D / 2 + T * g, None
        if N > (1.5 * b / D) * Nu - T: return (1 - (T + N) / (1.5 * Nu)) * (T + N) * D / 2 + T * g, None
        if N > (1.5 * b / D) * Nu - 2 * T: return 0.75 * b ** 2 * Nu / D + (2 * T + N) * g, None
        if N > -2 * T: return (1 - (2 * T + N) / (1.5 * Nu)) * (2 * T + N) * D / 2, None
        return 0.0, None
    if kind == 6 and abv == 1:
        T = (n + 2) * Tu1; g = (d1 + d2) / 4
        C = OCT_C / 10
        R = math.sqrt(C ** 2 - (math.sqrt(2) * C - D) ** 2)
        Dd = math.sqrt(2) * R
        a = Dd / 2 + g; b = Dd / 2 - g
        P = lambda x: Dd ** 3 / 4 - (Dd - x) ** 2 * (2 * x + Dd) / 3
        Q = lambda x: Dd ** 2 / 2 - (Dd - x) ** 2
        G = lambda x: Dd / 2 - P(x) / Q(x)
        H = a - P(a) / Q(a)
        ult = state == 0
        k = math.sqrt(1 - (b / R) ** 2) if ult else 1 - (b / R) ** 2
        if N > Nu: return 0.0, None
        if N > k * Nu:
            x = Dd - math.sqrt(1 - ((N / Nu) ** 2 if ult else N / Nu)) * R
            return G(x) * N, None
        if N > k * Nu - T: return k * H * Nu - N * g, None
        if N > (Nu / math.sqrt(2) if ult else Nu / 2) - T:
            x = Dd - math.sqrt(1 - (((T + N) / Nu) ** 2 if ult else (T + N) / Nu)) * R
            return G(x) * (T + N) + T * g, None
        if N > -T:
            x = (T + N) * R / Nu if ult else math.sqrt((T + N) / Nu) * R
            return (Dd / 2 - 2 * x / 3) * (T + N) + T * g, None
        if N > -2 * T: return (2 * T + N) * g, None
        return 0.0, None
    if kind == 6 and abv == 0:
        T = n * Tu1; g = d1 / 2; a = D / 2 + g
        ult = state == 0
        bound = math.sqrt(a / D) * Nu if ult else (a / D) * Nu
        if N > Nu: return 0.0, None
        if N > bound:
            return (1 - ((N / Nu) ** 2 if ult else N / Nu)) * D * N / 2, None
        if N > bound - T:
            return ((a / 2) * math.sqrt(a / D) * Nu if ult else a ** 2 / (2 * D) * Nu) - N * g, None
        if N > -T:
            r = (T + N) / Nu
            return (1 - (r ** 2 if ult else r)) * (T + N) * D / 2 + T * g, None
        if N > -2 * T: return (2 * T + N) * g, None
        return 0.0, None
    raise ValueError


def bounds(kind, abv, state):
    """Zone bounds from the top, to place one test point inside each zone."""
    D, d1, d2 = LEN[0][0] / 10, LEN[0][2] / 10, LEN[0][4] / 10
    n = N_PER_SIDE
    Nu = nu(kind, state); Tu1 = tu1(kind, state)
    if kind in (0, 2):
        T = n * Tu1; a = (D + d1) * Nu / (2 * D)
        return [Nu, a, a - T, Nu / 4 - T, -T, -2 * T]
    if kind in (1, 3, 4) and abv == 0:
        T = n * Tu1; l1 = (D + d1) / (2 * D); m1 = (D - d1) / (2 * D)
        return [Nu, l1 * Nu, l1 * Nu - T, m1 * Nu - T, m1 * Nu - 2 * T, -2 * T]
    if kind in (1, 3, 4) and abv == 1:
        T = n * Tu1
        l1 = (D + d1) / (2 * D); l2 = (D + d2) / (2 * D); m2 = (D - d2) / (2 * D); m1 = (D - d1) / (2 * D)
        return [Nu, l1 * Nu, l1 * Nu - T, l2 * Nu - T, l2 * Nu - (n + 2) * Tu1, m2 * Nu - (n + 2) * Tu1,
                m2 * Nu - (n + 4) * Tu1, m1 * Nu - (n + 4) * Tu1, m1 * Nu - (2 * n + 4) * Tu1, -(2 * n + 4) * Tu1]
    if kind == 5:
        if abv == 1:
            T = (n + 2) * Tu1; g = (n * d1 + 2 * d2) / (2 * (n + 2))
        else:
            T = n * Tu1; g = d1 / 2
        b = D / 2 - g; ka = ((D / 2 + g) / D) ** (2 / 3)
        return [Nu, ka * Nu, ka * Nu - T, Nu / 2.25 - T, 1.5 * b / D * Nu - T, 1.5 * b / D * Nu - 2 * T, -2 * T]
    if kind == 6 and abv == 1:
        T = (n + 2) * Tu1; g = (d1 + d2) / 4; C = OCT_C / 10
        R = math.sqrt(C ** 2 - (math.sqrt(2) * C - D) ** 2); Dd = math.sqrt(2) * R; b = Dd / 2 - g
        ult = state == 0
        k = math.sqrt(1 - (b / R) ** 2) if ult else 1 - (b / R) ** 2
        return [Nu, k * Nu, k * Nu - T, (Nu / math.sqrt(2) if ult else Nu / 2) - T, -T, -2 * T]
    if kind == 6 and abv == 0:
        T = n * Tu1; a = D / 2 + d1 / 2
        ult = state == 0
        bnd = math.sqrt(a / D) * Nu if ult else a / D * Nu
        return [Nu, bnd, bnd - T, -T, -2 * T]


# Zone table: one point inside every zone (midway between its bounds), one
# just outside either end, and a point DELTA either side of every bound, so
# that a bound that moves by more than DELTA changes a row.
DELTA = 0.01  # tf
ZONE_CASES = [(0, 0, 0), (0, 0, 1), (2, 0, 0), (1, 0, 0), (3, 0, 1), (4, 0, 2), (1, 1, 0), (4, 1, 1),
              (5, 0, 1), (5, 1, 0), (6, 0, 0), (6, 0, 1), (6, 1, 0), (6, 1, 2)]


def zone_rows():
    """(kind, AbV, state, N, Mu in tf*m, label or None), N from the top down."""
    rows = []
    for kind, abv, state in ZONE_CASES:
        b = bounds(kind, abv, state)
        if any(b[i] - b[i + 1] <= 2 * DELTA for i in range(len(b) - 1)):
            raise ValueError(f"kind {kind} AbV {abv} state {state}: bounds out of order {b}")
        pts = [b[0] + 5] + [(b[i] + b[i + 1]) / 2 for i in range(len(b) - 1)] + [b[-1] - 5]
        pts += [x for bound in b for x in (bound + DELTA, bound - DELTA)]
        for N in sorted(pts, reverse=True):
            m, lab = zone_moment(kind, abv, state, N)
            rows.append((kind, abv, state, N, m / 100, lab))
    return rows


# ---- long-term moment of kinds 0 and 2 (tf*cm) and its Nl -----------------
def long_term(kind, N, ex_mm, ey_mm=0.0, abv=0):
    D, B, d1 = LEN[0][0] / 10, LEN[0][1] / 10, LEN[0][2] / 10
    fc = (0.021 if kind == 2 else FC / 1000) / SI * 100
    fa = fc / 3
    n = N_PER_SIDE
    Tb = (n + 2 if abv == 1 else n) * tu1(kind, 2)
    Nu = nu(kind, 2)
    ex, ey = round(ex_mm) / 10, round(ey_mm) / 10  # Python rounds halves to even
    g, h, A = (D + d1) / 2, d1 / 2, B * D
    r1, r2 = ey / B, ex / D
    k = (2 * r1 + 1) * r2 / (0.8225 - 2 * r1)
    s1 = math.sqrt((2 * r1 + 1) * (2 * r2 + 1))
    s2 = math.sqrt((2 * r1 + 1) * (D / g) * (g / D + 2 * r2))
    s3 = math.sqrt((2 * r1 + 1) * (g / D) * (g / D + 2 * r2))
    P1 = 0.9 * k * fc * A; P2 = P1 - Tb; P3 = fa * A * s1
    if s1 >= 1.35:
        mode, Nl, plastic = 1, Nu, True
    elif s2 >= 1.35:
        mode, Nl, plastic = 2, (Nu if P1 > P3 else P3), N < P1
    else:
        mode, Nl, plastic = 3, (Nu if P2 > P3 else P3), N < P2
    if plastic:
        if N > Nl: M = 0.0
        elif N > Nu * g / D: M = (D * N / 2) * (1 - N / Nu)
        elif N > Nu * g / D - Tb: M = Nu * g ** 2 / (2 * D) - N * h
        elif N > -Tb: M = Tb * h + ((Tb + N) * D / 2) * (1 - (Tb + N) / Nu)
        elif N > -2 * Tb: M = (2 * Tb + N) * h
        else: M = 0.0
    else:
        S = lambda x: math.sqrt(r2 ** 2 * D ** 2 + x ** 2 / (fa ** 2 * B ** 2 * (2 * r1 + 1)))
        top = fa * A * s3
        if N > Nl: M = 0.0
        elif N > top: M = (N / 2) * (D * (1 + r2) - S(N))
        elif N > top - Tb: M = (g / 2) * fa * A * s3 - N * h
        elif N > -Tb: M = Tb * h + ((Tb + N) / 2) * (D * (1 + r2) - S(Tb + N))
        elif N > -2 * Tb: M = (2 * Tb + N) * h
        else: M = 0.0
    return M, Nl, mode, plastic


# (kind, ex mm, N tf) of the long-term table: every mode, both sets.
LONG_TERM_CASES = [
    (0, 0.0, 300.0), (0, 0.0, 150.0), (0, 0.0, 50.0), (0, 0.0, 0.0), (0, 0.0, -15.0), (0, 0.0, -30.0),
    (0, 0.0, -50.0),
    (0, 50.0, 150.0), (0, 50.0, 50.0), (0, 50.0, 0.0), (0, 50.0, -50.0),
    (2, 200.0, 300.0), (2, 200.0, 150.0), (2, 200.0, 0.0), (2, 200.0, -30.0),
    (0, 225.0, 150.0), (0, 225.0, 50.0), (0, 225.0, -15.0),
]


def long_term_rows():
    """(kind, ex, N, Mu in tf*m less the eccentric moment, Nl)."""
    rows = []
    for kind, ex, N in LONG_TERM_CASES:
        M, Nl, _, _ = long_term(kind, N, ex)
        rows.append((kind, ex, N, M / 100 - abs(N * ex / 1000), Nl))
    return rows


# ---- shear: ray search, zone, friction and bolt term (test_shear.cpp) -------
BETA = 0.5
BQ = [98.0665, 58.8399, 39.2266]


def mu_at(kind, abv, state, N, e=0.0):
    if kind in (0, 2) and state == 2:
        m = long_term(kind, N, e)[0]
    else:
        m, _ = zone_moment(kind, abv, state, N)
    return m / 100 - abs(N * e / 1000)


def shear(kind, abv, state, N, M, e=0.0, beta=BETA):
    n = N_PER_SIDE
    Nu, Tu1 = nu(kind, state), tu1(kind, state)
    D1, D3, D5 = LEN[0][0], LEN[0][2], LEN[0][4]
    Tt = (n if abv == 0 else n + 2) * Tu1
    sgn = lambda v: (v > 0) - (v < 0)
    Ms = M + sgn(M) * abs(N) * e / 1000
    Mcap = mu_at(kind, abv, state, N, e) + abs(N) * e / 1000
    if math.floor(abs(Ms) * 1000) / 1000 > math.floor(1.01 * Mcap * 1000) / 1000:
        return None
    cap = Mcap
    if abs(N) < 0.001:
        x, rho = N, abs(Ms) / Mcap
    elif abs(Ms) < 0.001:
        x, rho = (Nu, abs(N) / Nu) if N >= 0 else (-2 * Tt, abs(N) / (2 * Tt))
        rho = min(rho, 1)
    else:
        s, x = 10 * sgn(N), N
        while True:
            x += s
            cap = mu_at(kind, abv, state, x, e) + abs(x) * e / 1000
            if abs(Ms) * x / N < cap:
                continue
            x -= s
            s /= 10
            if abs(s) > 0.00009:
                continue
            x += s
            break
        rho = N / x
    Nr = math.trunc(x * 1000) / 1000
    r = lambda t: min(beta, math.sqrt(1 - t * t))
    l3 = (D1 + D3) / (2 * D1); l5 = (D1 + D5) / (2 * D1)
    ult = state == 0

    def pick(bounds, labels, low, upper, lower):
        if Nr > Nu:
            return 0, (upper if upper and abs(cap) < 0.0001 and N < Nu else "")
        for i, b in enumerate(bounds):
            if Nr > b:
                return i + 1, labels[i]
        if Nr >= low:
            return len(bounds) + 1, labels[len(bounds)]
        return len(bounds) + 2, (lower if lower and abs(cap) < 0.0001 and N > low else "")

    C, term = 0.0, None
    if kind in (0, 2):
        nT = n * Tu1
        z, lab = pick([l3 * Nu, l3 * Nu - nT, Nu / 4 - nT, -nT], ["A  ", "B  ", "C1 ", "C2 ", "D  "], -2 * n * Tu1, "A  ", "D  ")
        C = {1: rho * x, 2: rho * l3 * Nu, 3: rho * (x + nT), 4: rho * abs(x + nT)}.get(z, 0.0)
    elif kind in (1, 3, 4) and abv == 1:
        nT, n2 = n * Tu1, (n + 2) * Tu1
        low = -2 * (n + 2) * Tu1
        z, lab = pick([l3 * Nu, l3 * Nu - nT, l5 * Nu - nT, l5 * Nu - n2, -n2],
                      ["(5)", "(4)", "(3)", "(2)", "(1)", "(0)"], low, "(5)", "(0)")
        if z == 1: C, term = rho * x, 4 * n * beta
        elif z == 2:
            C = rho * l3 * Nu
            term = 3 * n * beta + (n * r((l3 * Nu - x) * rho / (n * Tu1)) if ult else 0)
        elif z == 3: C, term = rho * (x + nT), 3 * n * beta
        elif z == 4:
            C = rho * l5 * Nu
            term = (3 * n - 2) * beta + (2 * r((l5 * Nu - n * Tu1 - x) * rho / (n * Tu1)) if ult else 0)
        elif z == 5: C, term = rho * (x + n2), (3 * n - 2) * beta
        elif z == 6 and Nr > low:
            t = (-(n + 2) * Tu1 - x) * rho / ((n + 2) * Tu1)
            r0 = 0 if abs(1 - t * t) < 0.000001 else r(t)
            term = (n + 2) * r0 + (2 * beta if n == 3 else 0)
        else: term = 0
    elif kind in (1, 3, 4) and abv == 0:
        nT = n * Tu1
        z, lab = pick([l3 * Nu, l3 * Nu - nT, -2 * Tu1], ["(3)", "(2)", "(1)", "(0)"], -4 * Tu1, "(3)", "(0)")
        if z == 1: C, term = rho * x, 4 * beta
        elif z == 2:
            C = rho * l3 * Nu
            term = 2 * (beta + r((l3 * Nu - x) * rho / (n * Tu1))) if ult else 2 * beta
        elif z == 3: C, term = rho * (x + nT), 2 * beta
        elif z == 4: term = 2 * r((-2 * Tu1 - x) * rho / (2 * Tu1))
        elif z == 5: term = 0
    elif kind == 5:
        g = (n * D3 + 2 * D5) / (2 * (n + 2)) if abv == 1 else D3 / 2
        k5 = ((D1 / 2 + g) / D1) ** (2 / 3)
        z, lab = pick([k5 * Nu, k5 * Nu - Tt, -Tt], ["(3)", "(2)", "(1)", "(0)"], -2 * Tt, "(3)", None)
        nB, nC = {2: (8, 4), 3: (12, 7)}.get(n, (0, 0))
        if z == 1: C, term = rho * x, nB * beta
        elif z == 2:
            C = rho * k5 * Nu
            t = (k5 * Nu - x) * rho / Tt
            term = (4 * (beta + r(t)) if n == 2 else 7 * beta + 5 * r(t)) if ult else nC * beta
        elif z == 3: C, term = rho * (x + Tt), nC * beta
        elif z == 4:
            t = (-Tt - x) * rho / Tt
            term = 4 * r(t) if n == 2 else 2 * beta + 5 * r(t)
        else: term = 0
    elif kind == 6:
        if abv == 1:
            g6 = (D5 / 10 + D3 / 10) / 4; c = OCT_C / 10
            s6 = math.sqrt(c * c - (math.sqrt(2) * c - D1 / 10) ** 2)
            hm = math.sqrt(2) * s6 / 2 - g6
            k = 1 - (hm / s6) ** 2
        else:
            k = l3
        k6 = math.sqrt(k) if ult else k
        z, lab = pick([k6 * Nu, k6 * Nu - Tt, -Tt], ["(3)", "(2)", "(1)", "(0)"], -2 * Tt, None, None)
        C = {1: rho * x, 2: rho * k6 * Nu, 3: rho * (x + Tt)}.get(z, 0.0)
    qu0 = (0.5 if ult else 0.4) * C if abs(C) > 0.001 else 0.0
    if state == 2 and lab.replace(" ", "") in ("C1", "C2"):
        lab = "C "
    qu1 = term * BQ[state] / SI if term is not None else 0.0
    return x, rho, lab, qu0, qu1


# Loads of the ray table (kind, AbV, state, N tf, M tf*m): one load per zone
# label, ultimate and service states where the bolt term differs; bolts with
# beta 0.95, so that sqrt(1 - t^2) governs in some zones.
RAY_BETA = 0.95
RAY_CASES = [
    (0, 0, 0, 471.0, 0.1), (0, 0, 0, 396.0, 12.4), (0, 0, 2, 149.0, 0.1), (0, 0, 0, 297.0, 21.0),
    (0, 0, 0, 50.0, 25.9), (0, 0, 0, -25.0, 0.3),
    (1, 0, 0, -25.0, 0.3), (1, 0, 0, 297.0, 21.0), (1, 0, 1, 297.0, 9.3), (1, 0, 0, 396.0, 12.4),
    (1, 0, 0, 471.0, 0.1),
    (1, 1, 0, -25.0, 0.6), (1, 1, 0, 198.0, 38.9), (1, 1, 1, 149.0, 19.5), (1, 1, 0, 198.0, 25.9),
    (1, 1, 0, 297.0, 21.0), (1, 1, 1, 297.0, 9.3), (1, 1, 0, 396.0, 12.4), (1, 1, 0, 471.0, 0.1),
    (2, 0, 2, 130.0, 0.1), (2, 0, 1, 33.0, 18.3),
    (3, 1, 1, -20.0, 0.5), (3, 1, 0, 489.0, 0.1),
    (4, 0, 1, -19.0, 0.2), (4, 1, 1, 149.0, 29.2),
    (5, 0, 0, -25.0, 0.3), (5, 0, 0, 396.0, 23.5), (5, 0, 1, 294.0, 11.6), (5, 0, 0, 396.0, 15.7),
    (5, 0, 0, 471.0, 0.2),
    (5, 1, 0, -25.0, 0.6), (5, 1, 0, 297.0, 38.7), (5, 1, 0, 396.0, 23.5), (5, 1, 1, 349.0, 0.1),
    (6, 0, 0, -23.0, 0.2), (6, 0, 0, 374.0, 27.0), (6, 0, 1, 294.0, 9.2), (6, 0, 0, 374.0, 18.0),
    (6, 0, 0, 445.0, 0.2),
    (6, 1, 0, -23.0, 0.5), (6, 1, 0, 281.0, 24.9), (6, 1, 1, 294.0, 12.0), (6, 1, 0, 374.0, 13.4),
    (6, 1, 0, 445.0, 0.2),
]


def ray_rows():
    """(kind, AbV, state, N, M, x, zone, Qu0, Qu1)."""
    rows = []
    for kind, abv, state, N, M in RAY_CASES:
        res = shear(kind, abv, state, N, M, beta=RAY_BETA)
        if res is None:
            raise ValueError(f"ray load fails in bending: {kind} {abv} {state} {N} {M}")
        x, _, lab, qu0, qu1 = res
        rows.append((kind, abv, state, N, M, x, lab, qu0, qu1))
    return rows


# ---- the tables and their C++ counterparts ----------------------------------
TABLES = {"kMuRows": zone_rows, "kLongTermRows": long_term_rows, "kRays": ray_rows}


def cpp_value(v):
    if v is None:
        return "nullptr"
    if isinstance(v, str):
        return f'"{v}"'
    return repr(v)


def cpp_tables(sources):
    """The rows of every table of TABLES found in the C++ sources."""
    found = {}
    for path in sources:
        with open(path, encoding="utf-8") as f:
            text = re.sub(r"//[^\n]*", "", f.read())
        for name in TABLES:
            m = re.search(name + r"\[\]\s*=\s*\{(.*?)\n\s*\};", text, re.S)
            if not m:
                continue
            rows = []
            for row in re.findall(r"\{([^{}]*)\}", m.group(1)):
                rows.append(tuple(parse_cpp(t.strip()) for t in row.split(",")))
            found[name] = (path, rows)
    return found


def parse_cpp(token):
    if token == "nullptr":
        return None
    if token.startswith('"'):
        return token[1:-1]
    if re.fullmatch(r"-?\d+", token):
        return int(token)
    return float(token)


def same(a, b):
    if isinstance(a, str) or a is None or isinstance(b, str) or b is None:
        return a == b
    # Ulps of a platform's libm aside, every number must agree.
    return abs(a - b) <= 1e-13 * max(1.0, abs(a), abs(b))


def check(sources):
    found = cpp_tables(sources)
    failures = 0
    for name, make in TABLES.items():
        if name not in found:
            print(f"{name}: table not found in {' '.join(sources)}")
            failures += 1
            continue
        path, have = found[name]
        want = make()
        if len(have) != len(want):
            print(f"{name} ({path}): {len(have)} rows, the reference has {len(want)}")
            failures += 1
        shown = 0
        for i, (h, w) in enumerate(zip(have, want)):
            if len(h) != len(w) or not all(same(x, y) for x, y in zip(h, w)):
                failures += 1
                shown += 1
                if shown > 10:
                    continue
                print(f"{name} ({path}) row {i + 1}:\n  C++       {{{', '.join(map(cpp_value, h))}}}"
                      f"\n  reference {{{', '.join(map(cpp_value, w))}}}")
        if shown > 10:
            print(f"{name}: {shown - 10} more rows differ")
    if failures == 0:
        print(f"{', '.join(TABLES)}: the C++ tables agree with the reference")
    return failures == 0


def main(argv):
    if len(argv) > 1 and argv[1] == "--check":
        return 0 if check(argv[2:]) else 1
    for name, make in TABLES.items():
        print(f"// {name}")
        for row in make():
            print(f"        {{{', '.join(map(cpp_value, row))}}},")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
