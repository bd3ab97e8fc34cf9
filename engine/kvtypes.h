// Public records of the engine.
#pragma once

#include "platform/text/vbarray.h"

#include <cstdint>

namespace kv {

// Catalogue record of one model and anchor-bolt variant. KvLen's first index
// is the direction (0 X, 1 Y). Lengths mm, areas cm², AbF tf/cm², Tu tf.
struct KvDataTblC {
    int32_t ID = 0;
    int16_t KvV = 0;
    vb::Array2<double, 0, 1, 1, 6> KvLen{};
    double KvH = 0;
    vb::Array<double, 1, 4> KvT{};
    double KvWeight = 0;
    vb::Array<double, 0, 1> HenshinE{};
    int16_t AbV = 0;
    int16_t AbN = 0;
    double AbF = 0;
    int16_t AbNum = 0;
    double AbD = 0;
    double AbA = 0;
    double AbAe = 0;
    vb::Array<double, 0, 1> Kbs{};
    int16_t RotateMode = 0;  // Boolean: -1 true, 0 false
    vb::Array<double, 0, 1> EXY{};
    vb::Array<double, 0, 1> KbsSI{};
    double PartsWeight = 0;
    double LenE = 0;
    double LenF = 0;
    double LenW = 0;
    double LenG = 0;
    double eAx1 = 0;
    double eAx2 = 0;
    double eAy1 = 0;
    double eAy2 = 0;
    double L_tf1 = 0;
    double L_lf = 0;
    double L_tf2 = 0;
    double L_y1 = 0;
    double L_y2 = 0;
    double L_y3 = 0;
    double L_l1 = 0;
    double NAlpha = 0;
    double L1 = 0;
    double L_C = 0;
    double ColSize = 0;
    vb::Array<double, 0, 1> KvLenC_SV{};
    double bb_SV = 0;
    vb::Array<double, 0, 2> Tu{};

    bool operator==(const KvDataTblC&) const = default;
};

// Moment, axial force and shear of one load case.
struct StressTbl {
    double MM = 0;
    double NN = 0;
    double QQ = 0;
};

struct PositionTbl {
    double xx = 0;
    double YY = 0;
};

// Catalogue shear capacities (tf). The first field of each pair holds set 2.
struct LumoQuTbl {
    double L1 = 0;
    double l2 = 0;
    double a1 = 0;
    double a2 = 0;
    double u1 = 0;
    double u2 = 0;
    bool operator==(const LumoQuTbl&) const = default;
};

// Shear of one anchor bolt by state (0 ultimate, 1 short, 2 long), kN as stored.
struct BoltQuTbl {
    vb::Array<double, 0, 2> bQ{};
    double beta = 0;
    bool operator==(const BoltQuTbl&) const = default;
};

}  // namespace kv
