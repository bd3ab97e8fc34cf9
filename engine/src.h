// SRC component strengths, superposed curve, SRC checks and column rank.
// All forces and moments are in interface units (kN, kN·m or tf, tf·m).
#pragma once

#include "engine/kvstate.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace kv {

// Part capacities at an axial force; each stores its side results in s.
double CalcConcM(KvState& s, double N);
double CalcRebarM(KvState& s, double N);
double CalcColM(KvState& s, double N);

// Concrete design stress for steel ratio c into s.fcd (units of Fc); a state
// outside 0..2 leaves fcd alone.
void ConcStressFactor(KvState& s, double Fc, double c);

// Bar area (cm²) of a size such as "D22"; steel strength F of a grade in the
// unit mode of s. Unknown sizes and grades give 0.
double GetBarArea(const std::string& size);
double GetSteelF(const KvState& s, const std::string& grade);

// Largest Devide the 151 curve entries can hold (Devide + 3 points).
inline constexpr int kMaxDevide = 148;

void BuildRuika(KvState& s);  // setRuika

// Grid of one curve build: force step and whole steps of each part.
struct RuikaGrid {
    double dN = 0;
    int nCs = 0, nTs = 0, nc = 0, nr = 0;
};
// Superposes the part moments sampled on the grid into s.RuikaN/RuikaM and
// sets s.srcMmax; s.srcNmin/srcNmax must be set and the arrays cleared.
// Ms holds m = -nTs..nCs, Mc j = 0..nc, Mr r = -nr..nr.
void SuperposeRuika(KvState& s, const RuikaGrid& g, const std::vector<double>& Ms,
                    const std::vector<double>& Mc, const std::vector<double>& Mr);

// Moment capacity on the curve at N; sets s.srcMJadgeCode. The one-argument
// form reads at VerticalLoad.
double CalcSrcMu(KvState& s, double N);
double CalcSrcMu(KvState& s);
double CalcSrcQu(KvState& s);  // also sets s.srcQJadgeCode
double CalcSrcTCrit(KvState& s);
double CalcSrcNRatio(KvState& s);
double CalcSrcMRatio(KvState& s, int direction);
std::string GetColRank(KvState& s);

// Concrete shear stress of the SRC shear check for the state of s, per cm²
// (N/cm² with SIFlag, kgf/cm² without); 0 for a state outside 0..2.
double ConcShearStress(const KvState& s);

// Largest number of load scalings the shear check tries before giving up.
inline constexpr int kMaxShearScale = 1000;

// Checked division and square root whose error names the quantity at fault.
double SrcDiv(double a, double b, const char* what);
double SrcSqrt(double x, const char* what);

// Cramer's rule; false (and x = 0, 0) when |det| < 1e-30.
bool Solve2x2(const std::array<std::array<double, 2>, 2>& A, const std::array<double, 2>& b,
              std::array<double, 2>& x);
double ArrayMax(std::span<const double> v);  // -1e300 when empty
double ArrayMin(std::span<const double> v);  // 1e300 when empty

}  // namespace kv
