// Transport properties of water and steam in their form for use with IF97:
// the dynamic viscosity of the IAPWS 2008 viscosity release (critical
// enhancement factor taken as 1) and the thermal conductivity of the IAPWS
// 2011 release, whose critical enhancement takes cp, cv and the isothermal
// compressibility from the IF97 region functions.
#include <algorithm>
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {

namespace {

constexpr double kCriticalTemperature = 647.096;  // K, reducing temperature of both releases
constexpr double kCriticalDensity = 322.0;        // kg/m3, reducing density of both releases
constexpr double kPi = 3.141592653589793;

// IAPWS 2008 viscosity release, Table 1: H0..H3 of the dilute-gas term.
constexpr double kViscosityDiluteTerms[4] = {1.67752, 2.20462, 0.6366564, -0.241605};

// IAPWS 2008 viscosity release, Table 2: H_ij, row i the power of
// (1/Tbar - 1), column j the power of (rhobar - 1); unlisted entries are zero.
constexpr double kViscosityResidualTerms[6][7] = {
    {5.20094e-1, 2.22531e-1, -2.81378e-1, 1.61913e-1, -3.25372e-2, 0.0, 0.0},
    {8.50895e-2, 9.99115e-1, -9.06851e-1, 2.57399e-1, 0.0, 0.0, 0.0},
    {-1.08374, 1.88797, -7.72479e-1, 0.0, 0.0, 0.0, 0.0},
    {-2.89555e-1, 1.26613, -4.89837e-1, 0.0, 6.98452e-2, 0.0, -4.35673e-3},
    {0.0, 0.0, -2.57040e-1, 0.0, 0.0, 8.72102e-3, 0.0},
    {0.0, 1.20573e-1, 0.0, 0.0, 0.0, 0.0, -5.93264e-4}};

// IAPWS 2011 conductivity release, Table 1: L0..L4 of the dilute-gas term.
constexpr double kConductivityDiluteTerms[5] = {2.443221e-3, 1.323095e-2, 6.770357e-3, -3.454586e-3,
                                                4.096266e-4};

// IAPWS 2011 conductivity release, Table 2: L_ij, row i the power of
// (1/Tbar - 1), column j the power of (rhobar - 1).
constexpr double kConductivityResidualTerms[5][6] = {
    {1.60397357, -0.646013523, 0.111443906, 0.102997357, -0.0504123634, 0.00609859258},
    {2.33771842, -2.78843778, 1.53616167, -0.463045512, 0.0832827019, -0.00719201245},
    {2.19650529, -4.54580785, 3.55777244, -1.40944978, 0.275418278, -0.0205938816},
    {-1.21051378, 1.60812989, -0.621178141, 0.0716373224, 0.0, 0.0},
    {-2.7203370, 4.57586331, -3.18369245, 1.1168348, -0.19268305, 0.012913842}};

// IAPWS 2011 conductivity release, Table 6: A_ij of the reduced
// compressibility at the reference temperature 1.5 Tc for use with IF97,
// 1/sum_i A_ij rhobar^i; one row per density interval j, up to and including
// the interval's upper bound in kReferenceDensityBounds.
constexpr double kReferenceCompressibilityTerms[5][6] = {
    {6.53786807199516, -5.61149954923348, 3.39624167361325, -2.27492629730878, 10.2631854662709,
     1.97815050331519},
    {6.52717759281799, -6.30816983387575, 8.08379285492595, -9.82240510197603, 12.1358413791395,
     -5.54349664571295},
    {5.35500529896124, -3.96415689925446, 8.91990208918795, -12.0338729505790, 9.19494865194302,
     -2.16866274479712},
    {1.55225959906681, 0.464621290821181, 8.93237374861479, -11.0321960061126, 6.16780999933360,
     -0.965458722086812},
    {1.11999926419994, 0.595748562571649, 9.88952565078920, -10.3255051147040, 4.66861294457414,
     -0.503243546373828}};
// Upper reduced-density bounds of the first four intervals (100, 250, 400
// and 600 kg/m3 over 322 kg/m3).
constexpr double kReferenceDensityBounds[4] = {0.310559006, 0.776397516, 1.242236025, 1.863354037};

// exp(rhobar sum_i sum_j terms[i][j] (1/Tbar - 1)^i (rhobar - 1)^j), the
// residual factor shared by the viscosity and conductivity releases.
template <int kRows, int kColumns>
double ResidualFactor(const double (&terms)[kRows][kColumns], double tbar, double rhobar) {
  const double x = 1.0 / tbar - 1.0;
  const double y = rhobar - 1.0;
  double sum = 0.0;
  for (int i = kRows - 1; i >= 0; --i) {
    double row = 0.0;
    for (int j = kColumns - 1; j >= 0; --j) row = row * y + terms[i][j];
    sum = sum * x + row;
  }
  return std::exp(rhobar * sum);
}

// Reduced compressibility at the reference temperature from the release's
// density-interval expression for use with IF97.
double ReferenceCompressibility(double rhobar) {
  int interval = 0;
  while (interval < 4 && rhobar > kReferenceDensityBounds[interval]) ++interval;
  const double* a = kReferenceCompressibilityTerms[interval];
  double sum = 0.0;
  for (int i = 5; i >= 0; --i) sum = sum * rhobar + a[i];
  return 1.0 / sum;
}

// Inputs of the critical enhancement that come from the region functions.
struct RegionState {
  double cp;       // kJ/(kg K)
  double cv;       // kJ/(kg K)
  double drho_dp;  // (drho/dp)_T in kg/(m3 Pa)
};

// The region's cp, cv and (drho/dp)_T where the enhancement is evaluated;
// false where it is not (region 1 at P >= 1.8 T - 751.4, region 2 from
// 973.15 K on, region 5 and any other code).
bool EnhancementState(const double& P, const double& T, const double& V, int64_t region,
                      RegionState& state) {
  const double rho = 1.0 / V;
  switch (region) {
    case 1:
      if (!(P < 1.8 * T - 751.4)) return false;
      state = {IF97R1CP(P, T), IF97R1CV(P, T), -rho * rho * IF97R1DVP(P, T) / 1000.0};
      return true;
    case 2:
      if (!(T < 973.15)) return false;
      state = {IF97R2CP(P, T), IF97R2CV(P, T), -rho * rho * IF97R2DVP(P, T) / 1000.0};
      return true;
    case 3:
      state = {IF97R3CP(T, V), IF97R3CV(T, V), -0.001 * rho * rho / IF97R3DPV(T, V)};
      return true;
    default: return false;
  }
}

}  // namespace

double WVISC08(const double& T, const double& V) {
  const double tbar = T / kCriticalTemperature;
  const double rhobar = (1.0 / V) / kCriticalDensity;
  const double* h = kViscosityDiluteTerms;
  const double inverse_tbar = 1.0 / tbar;
  const double dilute =
      100.0 * std::sqrt(tbar) /
      (h[0] + inverse_tbar * (h[1] + inverse_tbar * (h[2] + inverse_tbar * h[3])));
  return dilute * ResidualFactor(kViscosityResidualTerms, tbar, rhobar) * 1e-6;
}

void WTCON11(const double& P, const double& T, const double& V, const int64_t& IREG, double& CP,
             double& CV, double& ETA, double& TCON) {
  const double tbar = T / kCriticalTemperature;
  const double rhobar = (1.0 / V) / kCriticalDensity;
  CP = -1.0;
  CV = -1.0;
  ETA = -1.0;
  double enhancement = 0.0;
  RegionState state{};
  if (EnhancementState(P, T, V, IREG, state)) {
    CP = state.cp;
    CV = state.cv;
    ETA = WVISC08(T, V);
    const bool region3 = IREG == 3;
    // Reduced compressibility, pc/rhoc (drho/dp)_T, and reduced heat capacity
    // cp/R with the release's R; near the critical point IF97 can make them
    // huge or (in region 3) negative, so they enter limited.
    double zeta = 68521.73913043478 * state.drho_dp;
    double cpbar = CP / 0.46151805;
    cpbar = std::min(region3 ? std::fabs(cpbar) : cpbar, 1.71e13);
    double zeta_reference = ReferenceCompressibility(rhobar);
    if (region3) {
      zeta = std::min(std::fabs(zeta), 6.85e12);
    } else {
      zeta_reference = std::min(zeta_reference, 6.85e12);
    }
    double delta_chi = rhobar * (zeta - zeta_reference * 1.5 / tbar);
    if (delta_chi < 0.0) delta_chi = 1e-15;
    // Correlation length xi [m] (xi0 = 0.13 nm, Gamma0 = 0.06, nu/gamma =
    // 0.630/1.239) and y = qD xi with qD = 1/(0.40 nm).
    const double xi = 1.3e-10 * std::pow(delta_chi / 0.06, 0.5084745762711864);
    const double y = 2.5e9 * xi;
    double z = 0.0;
    if (y >= 1.2e-7) {
      const double inverse_kappa = 1.0 / (CP / CV);
      z = 2.0 / (kPi * y) *
          ((1.0 - inverse_kappa) * std::atan(y) + inverse_kappa * y -
           (1.0 - std::exp(-1.0 / (1.0 / y + y * y / (3.0 * rhobar * rhobar)))));
    }
    enhancement = 177.8514 * rhobar * cpbar * tbar / (ETA / 1e-6) * z;
  }
  const double* l = kConductivityDiluteTerms;
  const double inverse_tbar = 1.0 / tbar;
  const double dilute =
      std::sqrt(tbar) /
      (l[0] +
       inverse_tbar * (l[1] + inverse_tbar * (l[2] + inverse_tbar * (l[3] + inverse_tbar * l[4]))));
  TCON = (dilute * ResidualFactor(kConductivityResidualTerms, tbar, rhobar) + enhancement) * 0.001;
}

}  // namespace thermomodels
