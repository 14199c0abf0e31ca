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

// ---- Transport and other properties ----
