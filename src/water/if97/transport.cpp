// Transport properties of water and steam in their form for use with IF97:
// the dynamic viscosity of the IAPWS 2008 viscosity release (critical
// enhancement factor taken as 1) and the thermal conductivity of the IAPWS
// 2011 release, whose critical enhancement takes cp, cv and the isothermal
// compressibility from the IF97 region functions.
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {

namespace {

constexpr double kCriticalTemperature = 647.096;  // K, reducing temperature of both releases
constexpr double kCriticalDensity = 322.0;        // kg/m3, reducing density of both releases

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

}  // namespace thermomodels
