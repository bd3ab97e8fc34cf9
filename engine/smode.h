// Steel-base (S-mode) strengths, check, axial limits, shear and verdicts.
//
// Inside a check everything is in tf, tf·m and cm: s.Nu and s.Tu1 hold the
// internal values from the start of CalcBaseCheck until its final scaling, and
// the routines below other than CalcBaseCheck expect exactly that state.
#pragma once

#include "engine/kvstate.h"

#include <cstdint>
#include <string>

namespace kv {

// The whole S-mode check for the inputs as they stand; writes the S results in
// interface units. Also what the SRC curve builder runs per grid point.
void CalcBaseCheck(KvState& s);

// Compressive capacity of the concrete under the plate, tf.
double CalcNu(const KvState& s);
// Tensile capacity of one anchor bolt, tf.
double CalcTu1(const KvState& s);
// Moment capacity (tf·m) at axial force N (tf, compression positive), lowered
// by the eccentric moment. Overwrites Nl; kinds 0 and 2 outside the long-term
// state write their zone label.
double CalcMuAtN(const KvState& s, double N, double& Nl, std::string& zone);
// Long-term zone moment (tf·cm) of kinds 0 and 2; overwrites Nl.
double CalcMuLongTerm(const KvState& s, double N, double& Nl);

// Compression and tension ends of the N-M curve, internal units; the tension
// end is returned positive.
double FindNuLimit(const KvState& s, double& Nl);
double FindTuLimit(const KvState& s, double Tu);

// Shear resistance (tf) for axial force N and moment M in internal units;
// writes Qu0, Qu1, Qu2, the zone label and smode.BaseLoadRatio. Returns
// -9999.99 when the base fails in bending first.
double CalcQu(KvState& s, double N, double M, int16_t state, std::string& zone);
// Slab embedment resistance (tf); may default the slab widths and depth.
double CalcSlabQ(KvState& s);

}  // namespace kv
