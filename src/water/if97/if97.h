// IAPWS-IF97 forward equations of water and steam: the saturation line,
// regions 1, 2, 3 and 5, their partial derivatives and isentropic exponents,
// and the other IAPWS property releases.
//
// Units: p in MPa, T in K, v in m3/kg, h, u, g, f in kJ/kg, s, cp, cv in
// kJ/(kg K), w in m/s. The partial derivatives (IF97R?DVP, IF97R?DPT,
// IF97R3DPV) are per kPa. Region functions take (P, T) in regions 1, 2 and 5
// and (T, V) in region 3; they make no range checks and evaluate their
// equation for any argument (undefined states give non-finite values). All
// functions here are pure: no saved state, no globals, no allocation.
#pragma once

#include <cstdint>

namespace thermomodels {

// ---- Saturation line (IF97 region 4, Eqs. 30 and 31) ----

// Saturation pressure [MPa] from T [K]; straight-line bridges from
// 647.0958 K on, continued above the critical temperature.
double IF97PSAT(const double& T);
// Saturation temperature [K] from p [MPa]; bridges from 22.063946352 MPa on.
double IF97TSAT(const double& P);
// Saturation pressure [bar]; -1.0 unless 273.0 <= T <= 647.301.
double IF97PSATB(const double& T);
// Saturation temperature [K] from P [bar]; -1.0 unless
// 0.00061 <= 0.1 P <= 22.1201 (MPa).
double IF97TSATB(const double& P);

// ---- Region 1 (compressed liquid), (P, T) ----
double IF97R1V(const double& P, const double& T);
double IF97R1H(const double& P, const double& T);
double IF97R1S(const double& P, const double& T);
double IF97R1U(const double& P, const double& T);
double IF97R1CP(const double& P, const double& T);
double IF97R1CV(const double& P, const double& T);
double IF97R1W(const double& P, const double& T);
double IF97R1G(const double& P, const double& T);
// Fugacity [MPa] referred to the region-2 ideal-gas part.
double IF97R1FUG(const double& P, const double& T);

// ---- Region 2 (superheated vapour), (P, T) ----
double IF97R2V(const double& P, const double& T);
double IF97R2H(const double& P, const double& T);
double IF97R2S(const double& P, const double& T);
double IF97R2U(const double& P, const double& T);
double IF97R2CP(const double& P, const double& T);
double IF97R2CV(const double& P, const double& T);
double IF97R2W(const double& P, const double& T);
double IF97R2G(const double& P, const double& T);
// Fugacity [MPa] = p exp(gamma_r).
double IF97R2FUG(const double& P, const double& T);

// Dimensionless Gibbs energy of the region-2 ideal-gas part (IF97 Eq. 16,
// Table 10) at p [MPa] and T [K]: the reference of the region-1 and
// region-3 fugacities.
double Region2IdealGamma(double pressure_mpa, double temperature_k);

// ---- Region 3 (near-critical), (T, V) ----
double IF97R3P(const double& T, const double& V);
double IF97R3H(const double& T, const double& V);
double IF97R3S(const double& T, const double& V);
double IF97R3U(const double& T, const double& V);
// Absolute value of the cp formula; 462218448918.886 within
// |rho - 322| <= 0.03 kg/m3 and |T - 647.096| <= 1e-6 K.
double IF97R3CP(const double& T, const double& V);
double IF97R3CV(const double& T, const double& V);
double IF97R3W(const double& T, const double& V);
double IF97R3F(const double& T, const double& V);
// Fugacity [MPa] of (T, V) at the caller's pressure P, referred to the
// region-2 ideal-gas part.
double IF97R3FUG(const double& P, const double& T, const double& V);

// ---- Region 5 (high-temperature steam), (P, T) ----
// Dimensionless Gibbs parts (IF97 Eqs. 33, 34, 2007 revision): ideal-gas
// part GO and residual part GR, with derivatives P (pi) and T (tau).
double IF97R5GO(const double& P, const double& T);
double IF97R5GOP(const double& P, const double& T);
double IF97R5GOPP(const double& P, const double& T);
double IF97R5GOT(const double& P, const double& T);
double IF97R5GOTT(const double& P, const double& T);
double IF97R5GOPT(const double& P, const double& T);
double IF97R5GR(const double& P, const double& T);
double IF97R5GRP(const double& P, const double& T);
double IF97R5GRPP(const double& P, const double& T);
double IF97R5GRT(const double& P, const double& T);
double IF97R5GRTT(const double& P, const double& T);
double IF97R5GRPT(const double& P, const double& T);
double IF97R5V(const double& P, const double& T);
double IF97R5H(const double& P, const double& T);
double IF97R5S(const double& P, const double& T);
double IF97R5U(const double& P, const double& T);
double IF97R5CP(const double& P, const double& T);
double IF97R5CV(const double& P, const double& T);
double IF97R5W(const double& P, const double& T);
// Fugacity [MPa] = p exp(gamma_r), referred to region 5's own ideal gas.
double IF97R5FUG(const double& P, const double& T);

// ---- Partial derivatives (pressure per kPa) ----
// (dv/dp)_T [m3/(kg kPa)], (dv/dT)_p [m3/(kg K)], (dp/dT)_v [kPa/K].
double IF97R1DVP(const double& P, const double& T);
double IF97R1DVT(const double& P, const double& T);
double IF97R1DPT(const double& P, const double& T);
double IF97R2DVP(const double& P, const double& T);
double IF97R2DVT(const double& P, const double& T);
double IF97R2DPT(const double& P, const double& T);
double IF97R5DVP(const double& P, const double& T);
double IF97R5DVT(const double& P, const double& T);
// Region 3 from (T, V): (dp/dT)_v [kPa/K], (dp/dv)_T [kPa kg/m3],
// (dv/dp)_T [m3/(kg kPa)], (dv/dT)_p [m3/(kg K)], (1/p)(dp/dT)_v [1/K].
double IF97R3DPT(const double& T, const double& V);
double IF97R3DPV(const double& T, const double& V);
double IF97R3DVP(const double& T, const double& V);
double IF97R3DVT(const double& T, const double& V);
double IF97R3APR(const double& T, const double& V);

// ---- Isentropic exponent kappa = w^2/(p v) ----
double IF97R1KAP(const double& P, const double& T);
double IF97R2KAP(const double& P, const double& T);
double IF97R3KAP(const double& T, const double& V);
double IF97R5KAP(const double& P, const double& T);

// ---- Shared machinery of the region functions (not part of the interface) ----
namespace if97_detail {

// Specific gas constant of water (IF97 Eq. 1) in kJ/(kg K) and J/(kg K).
inline constexpr double kGasConstant = 0.461526;
inline constexpr double kGasConstantJ = 461.526;

// One term n x^i y^j of a double power series in two reduced variables.
struct PowerTerm {
  int i;
  int j;
  double n;
};

// Which sums of a series a caller needs: the series and its derivatives.
enum SumFlag : unsigned {
  kSum = 1u,     // s
  kSumX = 2u,    // ds/dx
  kSumXX = 4u,   // d2s/dx2
  kSumY = 8u,    // ds/dy
  kSumYY = 16u,  // d2s/dy2
  kSumXY = 32u,  // d2s/dxdy
  kSumAll = 63u
};

struct PowerSums {
  double s = 0.0, sx = 0.0, sxx = 0.0, sy = 0.0, syy = 0.0, sxy = 0.0;
};

// Exponent range a series and its second derivatives reach in each variable.
struct SeriesRange {
  int xlo, xhi, ylo, yhi;
  bool xneg, yneg;  // whether the series itself has negative exponents
};

template <typename Terms>
constexpr SeriesRange RangeOf(const Terms& terms) {
  SeriesRange r{0, 0, 0, 0, false, false};
  for (const PowerTerm& t : terms) {
    r.xlo = t.i < r.xlo ? t.i : r.xlo;
    r.xhi = t.i > r.xhi ? t.i : r.xhi;
    r.ylo = t.j < r.ylo ? t.j : r.ylo;
    r.yhi = t.j > r.yhi ? t.j : r.yhi;
  }
  r.xneg = r.xlo < 0;
  r.yneg = r.ylo < 0;
  r.xlo -= 2;
  r.ylo -= 2;
  return r;
}

// x^e for kLo <= e <= kHi (kLo < 0 <= kHi), each power formed once by
// splitting its exponent in halves: a shallow multiplication tree, no pow.
// Without kNegative the slots below zero hold 0: a series with non-negative
// exponents reaches them only through a derivative factor that is zero.
template <int kLo, int kHi, bool kNegative>
class PowerTable {
 public:
  explicit PowerTable(double x) {
    at(0) = 1.0;
    if constexpr (kHi >= 1) at(1) = x;
#pragma GCC unroll 64
    for (int e = 2; e <= kHi; ++e) at(e) = at(e / 2) * at(e - e / 2);
    if constexpr (kNegative) {
      at(-1) = 1.0 / x;
#pragma GCC unroll 64
      for (int e = 2; e <= -kLo; ++e) at(-e) = at(-(e / 2)) * at(-(e - e / 2));
    } else {
      for (int e = kLo; e < 0; ++e) at(e) = 0.0;
    }
  }
  double operator[](int e) const { return v_[e - kLo]; }

 private:
  double& at(int e) { return v_[e - kLo]; }
  double v_[kHi - kLo + 1];
};

// The sums selected by kWant of the series kTerms at (x, y), in one pass
// over the table with every power taken from the two power tables.
template <unsigned kWant, const auto& kTerms>
inline PowerSums SumSeries(double x, double y) {
  constexpr SeriesRange r = RangeOf(kTerms);
  const PowerTable<r.xlo, r.xhi, r.xneg> xp(x);
  const PowerTable<r.ylo, r.yhi, r.yneg> yp(y);
  PowerSums out;
#pragma GCC unroll 64
  for (const PowerTerm& t : kTerms) {
    const double di = t.i, dj = t.j;
    if constexpr ((kWant & kSum) != 0) out.s += t.n * xp[t.i] * yp[t.j];
    if constexpr ((kWant & kSumX) != 0) out.sx += t.n * di * xp[t.i - 1] * yp[t.j];
    if constexpr ((kWant & kSumXX) != 0) out.sxx += t.n * di * (di - 1.0) * xp[t.i - 2] * yp[t.j];
    if constexpr ((kWant & kSumY) != 0) out.sy += t.n * dj * xp[t.i] * yp[t.j - 1];
    if constexpr ((kWant & kSumYY) != 0) out.syy += t.n * dj * (dj - 1.0) * xp[t.i] * yp[t.j - 2];
    if constexpr ((kWant & kSumXY) != 0) out.sxy += t.n * di * dj * xp[t.i - 1] * yp[t.j - 1];
  }
  return out;
}

// IF97 Eq. 31 without the near-critical bridges [K] at p [MPa].
double SaturationTemperatureEq31(double P);

}  // namespace if97_detail

// ---- Transport and other properties ----

// Surface tension [mN/m] on the saturation line (IAPWS 1994 release) from
// T [K]; -1.0 unless 273.0 <= T <= 647.3, 0 from the critical temperature on.
double IF97SIGT(const double& T);
// The same at the saturation temperature of P [bar] by IF97 Eq. 31 (no
// bridges); -1.0 unless 0.00061 <= 0.1 P <= 22.12 (MPa).
double IF97SIGP(const double& P);

// Dynamic viscosity [Pa s] from T [K] and V [m3/kg] (IAPWS 2008 release,
// critical enhancement factor 1).
double WVISC08(const double& T, const double& V);
// Thermal conductivity TCON [W/(m K)] from P [MPa], T [K], V [m3/kg] and the
// IF97 region IREG (IAPWS 2011 release, form for use with IF97). The critical
// enhancement is added in region 3, in region 2 below 973.15 K and in region
// 1 where P < 1.8 T - 751.4; only then are CP, CV [kJ/(kg K)] and ETA [Pa s]
// filled, otherwise they are -1.0.
void WTCON11(const double& P, const double& T, const double& V, const int64_t& IREG,
             double& CP, double& CV, double& ETA, double& TCON);

// Static dielectric constant (IAPWS 1997 release) from T [K] and V [m3/kg].
double WDIELC(const double& T, const double& V);
// Refractive index (IAPWS 1997 release) from T [K], V [m3/kg] and the
// wavelength WL [um].
double WREFRI(const double& T, const double& V, const double& WL);

// ---- Iterative region-3 volume: v [m3/kg] with p3(T, v) = P [MPa] ----
// The not-converged marker -1000.0 comes back when no pass is accepted; a
// root outside [0.0013, 0.00882] m3/kg is never returned. No saved state.

// Side chosen from P and T: liquid-like above the saturation line (below Tc)
// or above the line 22.064 + 0.26824840231251584 (T - Tc) MPa; vapour-like
// otherwise and at or above 937.6326791680001 K. The critical point itself
// (within 1e-8) gives 1/322 at once.
double IF97R3VIT(const double& P, const double& T);
double IF97R3VITV(const double& P, const double& T);  // vapour-like side
double IF97R3VITL(const double& P, const double& T);  // liquid-like side
// Start volume for zone code ZONE (1..7, read as 32 bits).
double IF97R3VST(const double& P, const double& T, const int64_t& ZONE);
// Zone correlation volume (codes 1..6; 7 and any other code the
// high-pressure polynomial).
double IF97R3VGS(const double& P, const double& T, const int64_t& ZONE);
// Safeguarded secant iteration from V0 inside [0.0013, 0.00882].
double IF97R3VNW(const double& P, const double& T, const double& V0);

// Which branch a region-3 volume call takes: chosen from P and T, or fixed.
enum class Region3Side { kChosen, kLiquid, kVapour };
// The zone code of the start correlation that a call on SIDE uses.
int64_t Region3ZoneCode(const double& P, const double& T, Region3Side side);
// IF97R3VIT (kChosen), IF97R3VITL or IF97R3VITV, also reporting how many
// region-3 pressures the call evaluated.
double Region3Volume(const double& P, const double& T, Region3Side side,
                     int64_t& pressure_evaluations);

}  // namespace thermomodels
