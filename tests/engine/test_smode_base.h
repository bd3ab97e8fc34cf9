// A hand-made base for the steel-base tests: plate 500 x 450 mm, outer bolt
// rows 380 mm apart, inner rows 200 mm apart, two bolts a side of 24 mm
// (AbF 5 tf/cm²), Fc 24 N/mm², SI units, concentric. The state is left as the
// check leaves it before scaling: Nu and Tu1 in tf.
#pragma once

#include "engine/kvstate.h"
#include "engine/smode.h"

namespace kv::test {

inline KvState MakeBase(int kind, int abv, int state) {
    KvState s;
    auto& k = s.KvData;
    k.ID = 100100;
    k.KvV = static_cast<int16_t>(kind);
    k.AbV = static_cast<int16_t>(abv);
    k.AbN = 2;
    k.AbD = 24;
    k.AbF = 5.0;
    k.AbA = 4.52389248;
    k.AbAe = 3.39291936;
    const double x[6] = {500, 450, 380, 330, 200, 180};
    const double y[6] = {450, 500, 330, 380, 180, 200};
    for (int i = 1; i <= 6; ++i) {
        k.KvLen(0, i) = x[i - 1];
        k.KvLen(1, i) = y[i - 1];
    }
    k.KvT(2) = 40;
    k.KvLenC_SV(0) = 450;
    k.KvLenC_SV(1) = 450;
    k.bb_SV = 1;
    k.Tu(0) = 20;
    k.Tu(1) = 12;
    k.Tu(2) = 8;
    s.KvName = kind == 6 ? "SV200-4-A" : "KX200";
    s.Fc = 24;
    s.SMode = true;
    s.SIFlag = true;
    s.SIFactor = 9.80665;
    s.Condition = static_cast<int16_t>(state);
    s.Direction = 0;
    s.BoltQu.beta = 0.5;
    s.BoltQu.bQ(0) = 98.0665;
    s.BoltQu.bQ(1) = 58.8399;
    s.BoltQu.bQ(2) = 39.2266;
    // Slab widths and depth given, so that no catalogue is needed.
    s.SlabQ_B1X = 200;
    s.SlabQ_B1Y = 200;
    s.SlabQ_B2X = 600;
    s.SlabQ_B2Y = 700;
    s.SlabQ_d2 = 300;
    s.Nu = CalcNu(s);
    s.Tu1 = CalcTu1(s);
    return s;
}

}  // namespace kv::test
