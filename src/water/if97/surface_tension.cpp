// Surface tension of water against its vapour along the saturation line,
// IAPWS release on the surface tension of ordinary water substance (1994):
// sigma = B tau^mu (1 + b tau), tau = 1 - T/Tc, B = 235.8 mN/m, b = -0.625,
// mu = 1.256, written as tau^1.256 (235.8 - 147.375 tau).
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {

namespace {

constexpr double kFailure = -1.0;

// The release's equation at T [K] in mN/m; zero at and above Tc.
double SurfaceTensionAt(double temperature) {
  double tau = 1.0 - temperature * 0.0015453657571674064;  // 1/647.096 K
  if (tau < 0.0) tau = 0.0;
  return std::pow(tau, 1.256) * (235.8 - 147.375 * tau);
}

// IF97 Table 34, coefficients n1..n10 of the saturation line.
constexpr double kSaturationTerms[10] = {
    0.11670521452767e4,  -0.72421316703206e6, -0.17073846940092e2, 0.12020824702470e5,
    -0.32325550322333e7, 0.14915108613530e2,  -0.48232657361591e4, 0.40511340542057e6,
    -0.23855557567849,   0.65017534844798e3};

// IF97 Eq. 31, the saturation temperature [K] at p [MPa], with no bridge
// near the critical point: above 22.064 MPa it runs on past Tc.
double SaturationTemperatureEq31(double pressure_mpa) {
  const double* n = kSaturationTerms;
  const double beta = std::sqrt(std::sqrt(pressure_mpa));
  const double e = beta * beta + n[2] * beta + n[5];
  const double f = n[0] * beta * beta + n[3] * beta + n[6];
  const double g = n[1] * beta * beta + n[4] * beta + n[7];
  const double d = 2.0 * g / (-f - std::sqrt(f * f - 4.0 * e * g));
  return (n[9] + d - std::sqrt((n[9] + d) * (n[9] + d) - 4.0 * (n[8] + n[9] * d))) / 2.0;
}

}  // namespace

double IF97SIGT(const double& T) {
  // Written so that a NaN temperature also fails.
  if (!(T >= 273.0 && T <= 647.3)) return kFailure;
  return SurfaceTensionAt(T);
}

double IF97SIGP(const double& P) {
  const double pressure_mpa = 0.1 * P;
  if (!(pressure_mpa >= 0.00061 && pressure_mpa <= 22.12)) return kFailure;
  return SurfaceTensionAt(SaturationTemperatureEq31(pressure_mpa));
}

}  // namespace thermomodels
