// Backward equations of IAPWS-IF97 and its supplementary releases: region-3
// specific volume from pressure and temperature (IAPWS SR5-05) with its
// subregions and subregion boundaries.
//
// Units: p in MPa, T in K, v in m3/kg.  All routines are pure functions.
#pragma once

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

}  // namespace thermomodels
