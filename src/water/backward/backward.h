// Backward equations of IAPWS-IF97 and its supplementary releases: region-3
// specific volume from pressure and temperature (IAPWS SR5-05) with its
// subregions and subregion boundaries; temperature and volume from pressure
// and enthalpy or entropy (IF97, SR3); pressure from enthalpy and entropy
// and the saturation boundaries (SR2, SR3, SR4); the region-5 temperature
// from pressure and enthalpy or entropy by iteration.
//
// Units: p in MPa, T in K, v in m3/kg, h in kJ/kg, s in kJ/(kg K).  All
// routines are pure functions: none keeps anything between calls.
#pragma once

#include <cstdint>

#include "water/if97/if97.h"

namespace thermomodels {

// ---- Region-3 specific volume v(p,T), IAPWS SR5-05(2016) ----

// Specific volume [m3/kg] of region-3 water at p [MPa], T [K] by the SR5
// subregion decision tree and the equation of the subregion it picks.
// Exactly 1/322 m3/kg within 1e-6 of the critical point (22.064 MPa,
// 647.096 K).  No range check: a state outside region 3 is answered by the
// subregion the tree reaches.  -1.0 for a pressure or temperature that is
// not a positive finite number.
double IF97V3PT(const double& P, const double& T);
// The same on the saturation line, with every comparison against the
// saturation temperature replaced by the saturated-liquid side (IF97V3PTL)
// or the saturated-vapour side (IF97V3PTV).
double IF97V3PTL(const double& P, const double& T);
double IF97V3PTV(const double& P, const double& T);

// Which side of the saturation line the subregion tree takes where it would
// compare T with the saturation temperature.
enum class SubregionSide { kByTemperature, kLiquid, kVapour };
// Subregion letter ('a' to 'z') that the SR5 decision tree picks for
// (p [MPa], T [K]); the critical-point shortcut of IF97V3PT is not applied.
char Region3Subregion(const double& P, const double& T, SubregionSide side);
// Volume [m3/kg] from the equation of subregion LETTER ('a' to 'z'); -1.0
// for any other letter.
double Region3SubregionVolume(char letter, const double& P, const double& T);

// Subregion equations 3a to 3z (SR5 Eqs. 4 and 5), evaluated at any state.
double IF97V3A(const double& P, const double& T);
double IF97V3B(const double& P, const double& T);
double IF97V3C(const double& P, const double& T);
double IF97V3D(const double& P, const double& T);
double IF97V3E(const double& P, const double& T);
double IF97V3F(const double& P, const double& T);
double IF97V3G(const double& P, const double& T);
double IF97V3H(const double& P, const double& T);
double IF97V3I(const double& P, const double& T);
double IF97V3J(const double& P, const double& T);
double IF97V3K(const double& P, const double& T);
double IF97V3L(const double& P, const double& T);
double IF97V3M(const double& P, const double& T);
double IF97V3N(const double& P, const double& T);
double IF97V3O(const double& P, const double& T);
double IF97V3P(const double& P, const double& T);
double IF97V3Q(const double& P, const double& T);
double IF97V3R(const double& P, const double& T);
double IF97V3S(const double& P, const double& T);
double IF97V3T(const double& P, const double& T);
double IF97V3U(const double& P, const double& T);
double IF97V3V(const double& P, const double& T);
double IF97V3W(const double& P, const double& T);
double IF97V3X(const double& P, const double& T);
double IF97V3Y(const double& P, const double& T);
double IF97V3Z(const double& P, const double& T);

// Subregion boundary temperatures [K] from p [MPa] (SR5 Eqs. 1-3).
double IF97T3AB(const double& P);
double IF97T3CD(const double& P);
double IF97T3EF(const double& P);
double IF97T3GH(const double& P);
double IF97T3IJ(const double& P);
double IF97T3JK(const double& P);
double IF97T3MN(const double& P);
double IF97T3OP(const double& P);
double IF97T3QU(const double& P);
double IF97T3RX(const double& P);
double IF97T3UV(const double& P);
double IF97T3WX(const double& P);

// ---- Temperature and volume from (p,h) and (p,s) ----
// No range checks: a state outside the region is answered by the equation of
// the subregion the tests select.

// Region 1, IF97 Eq. 11, refined by one secant step on the forward
// enthalpy through the backward value and a second point 0.25 K per kJ/kg
// away; the backward value itself when the step's two enthalpies coincide.
double IF97T1PH(const double& P, const double& H);
// Region 2, IF97 Eqs. 22-24 with the B2bc boundary (2a up to 4 MPa).
double IF97T2PH(const double& P, const double& H);
// Region 3, SR3 T3a/T3b(p,h) split by h3ab(p) (3a up to and on it).
double IF97T3PH(const double& P, const double& H);
// Region 3, SR3 v3a/v3b(p,h), the same split.
double IF97V3PH(const double& P, const double& H);
// Region-2 entropy at the IF97T2PH temperature.
double IF97S2PH(const double& P, const double& H);
// Region 1, IF97 Eq. 13, refined like IF97T1PH with a second point 90 K per
// kJ/(kg K) away on the forward entropy.
double IF97T1PS(const double& P, const double& S);
// Region 2, IF97 Eqs. 25-27 (2a up to 4 MPa, else 2c below 5.85 kJ/(kg K)).
double IF97T2PS(const double& P, const double& S);
// Region 3, SR3 T3a/T3b(p,s) split at the critical entropy (3a up to it).
double IF97T3PS(const double& P, const double& S);
// Region 3, SR3 v3a/v3b(p,s), the same split.
double IF97V3PS(const double& P, const double& S);

// The region-1 backward equations alone, before the secant step [K].
double Region1TemperatureFromEnthalpy(const double& P, const double& H);
double Region1TemperatureFromEntropy(const double& P, const double& S);
// Boundary equations: B2bc pressure [MPa] from h (IF97 Eq. 20), h3ab [kJ/kg]
// from p (SR3 Eq. 1), h2ab [kJ/kg] from s (SR2 Eq. 2).
double B2bcPressure(const double& H);
double H3abEnthalpy(const double& P);
double H2abEnthalpy(const double& S);

// ---- Pressure from (h,s), saturation boundaries, h from (p,s) ----
// Note the argument order of the (h,s) routines: enthalpy first.

// Region 1, SR2 p1(h,s).
double IF97P1HS(const double& H, const double& S);
// Region 2, SR2 p2a/p2b/p2c(h,s) with the boundary h2ab(s).
double IF97P2HS(const double& H, const double& S);
// Region 3, SR4 p3a/p3b(h,s) split at the critical entropy.
double IF97P3HS(const double& H, const double& S);
// Saturation temperature [K] in the two-phase region, SR4 Tsat(h,s).
double IF97TSATHS(const double& H, const double& S);
// Saturated-liquid enthalpy [kJ/kg] from s: SR4 h'1(s) up to the entropy of
// saturated liquid at 623.15 K, h'3a(s) above it.
double IF97HSATLS(const double& S);
// Saturation pressure [MPa] on the region-3 boundary, SR3 p3sat(h), p3sat(s).
double IF97P3SATH(const double& H);
double IF97P3SATS(const double& S);
// Region-1 and region-2 enthalpy at the IF97T1PS / IF97T2PS temperature.
double IF97H1PS(const double& P, const double& S);
double IF97H2PS(const double& P, const double& S);

// ---- Region-5 temperature by iteration ----
// IF97 has no backward equations for region 5: a start estimate (own
// correlation and secant steps on the forward equation) and a bracketing
// secant solve on the forward enthalpy over [1070, 2275] K, or on the
// forward entropy over [1073.14, 2273.16] K, to a relative 1e-8.  A start
// estimate outside the solve's range (or not a number) is replaced by the
// middle of the range.  The solver's -1000.0 when the solve does not
// converge within its 51 evaluations; a state beyond the range converges at
// the range end only when the error there is below 1e-8.

// Temperature [K] from p [MPa] and h [kJ/kg], or -1000.0.
double IF97T5PH(const double& P, const double& H);
// Temperature [K] from p [MPa] and s [kJ/(kg K)], or -1000.0. The start
// correlation serves 0 < p < 10 MPa; other pressures start mid-range.
double IF97T5PS(const double& P, const double& S);

// What a region-5 temperature is solved from.
enum class Region5Input { kEnthalpy, kEntropy };
// IF97T5PH or IF97T5PS, also counting the forward evaluations the call
// makes (start phase and solve) into EVALUATIONS.
double Region5Temperature(const double& P, const double& value, Region5Input input,
                          int64_t& evaluations);
// The start correlations alone [K], before the secant steps.
double Region5EnthalpyStartCorrelation(const double& P, const double& H);
double Region5EntropyStartCorrelation(const double& P, const double& S);

// ---- Shared machinery of the backward series (not part of the interface) ----
namespace backward_detail {

// One published backward equation in two reduced variables:
// result = scale x sum(x / x_star + x_shift, y / y_star + y_shift), where sum
// is the equation's double power series.
struct BackwardEquation {
  double (*sum)(double, double);
  double scale;
  double x_star;
  double x_shift;
  double y_star;
  double y_shift;
};

// The plain sum of the series kTerms at (x, y).
template <const auto& kTerms>
double Series(double x, double y) {
  return if97_detail::SumSeries<if97_detail::kSum, kTerms>(x, y).s;
}

inline double Evaluate(const BackwardEquation& e, double x, double y) {
  return e.scale * e.sum(x / e.x_star + e.x_shift, y / e.y_star + e.y_shift);
}

}  // namespace backward_detail

}  // namespace thermomodels
