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

}  // namespace

double IF97SIGT(const double& T) {
  // Written so that a NaN temperature also fails.
  if (!(T >= 273.0 && T <= 647.3)) return kFailure;
  return SurfaceTensionAt(T);
}

double IF97SIGP(const double& P) {
  const double pressure_mpa = 0.1 * P;
  if (!(pressure_mpa >= 0.00061 && pressure_mpa <= 22.12)) return kFailure;
  return SurfaceTensionAt(if97_detail::SaturationTemperatureEq31(pressure_mpa));
}

}  // namespace thermomodels
