// Region-3 specific volume from pressure and temperature: the subregion
// decision tree of IAPWS SR5-05(2016) (its Tables 2 and 10) and the
// saturated-liquid and saturated-vapour variants that never compare with the
// saturation temperature.
#include <cmath>

#include "water/backward/backward.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

// Critical specific volume 1/322 m3/kg.
constexpr double kCriticalVolume = 0.003105590062111801;
// Saturation pressure at 643.15 K, the lower end of the near-critical band
// (fixed here so the tree never depends on the saturation equation's
// rounding).
constexpr double kPsat643 = 21.0433673189753;
// SR5 p3cd: below it the tree only asks which side of saturation T lies.
constexpr double kP3cd = 19.00881189173929;
// Saturation pressures at v = 0.00264 m3/kg (liquid side, 3u/3y) and at
// v = 0.00385 m3/kg (vapour side, 3x/3z), quoted by SR5.
constexpr double kP3uyLiquid = 21.93161551;
constexpr double kP3xzVapour = 21.90096265;

bool NearCriticalPoint(double pressure_mpa, double temperature_k) {
  return std::fabs(pressure_mpa - 22.064) < 1e-6 && std::fabs(temperature_k - 647.096) < 1e-6;
}

// True where the tree takes the liquid branch of a saturation comparison.
bool OnLiquidSide(double pressure_mpa, double temperature_k, SubregionSide side) {
  switch (side) {
    case SubregionSide::kLiquid: return true;
    case SubregionSide::kVapour: return false;
    case SubregionSide::kByTemperature: break;
  }
  return temperature_k <= IF97TSAT(pressure_mpa);
}

// Auxiliary subregions 3u-3z between T3qu and T3rx (SR5 Table 10).
char NearCriticalSubregion(const double& p, const double& t, SubregionSide side) {
  if (p > 22.11) {
    if (t > IF97T3EF(p)) {
      return t <= IF97T3WX(p) ? 'w' : 'x';
    }
    return t > IF97T3UV(p) ? 'v' : 'u';
  }
  if (p > 22.064) {
    if (t > IF97T3EF(p)) {
      return t > IF97T3WX(p) ? 'x' : 'z';
    }
    return t > IF97T3UV(p) ? 'y' : 'u';
  }
  if (OnLiquidSide(p, t, side)) {
    if (p <= kP3uyLiquid) {
      return 'u';
    }
    return t <= IF97T3UV(p) ? 'u' : 'y';
  }
  if (p <= kP3xzVapour) {
    return 'x';
  }
  return t > IF97T3WX(p) ? 'x' : 'z';
}

// The saturation-line bands below the near-critical band differ by side in
// more than the saturation comparison: the liquid side drops the T3jk test
// and the vapour side the T3cd test.
char LowPressureSubregion(const double& p, const double& t, SubregionSide side) {
  if (p > 20.5) {
    switch (side) {
      case SubregionSide::kLiquid: return t <= IF97T3CD(p) ? 'c' : 's';
      case SubregionSide::kVapour: return t > IF97T3JK(p) ? 'k' : 'r';
      case SubregionSide::kByTemperature: break;
    }
    if (t <= IF97T3CD(p)) {
      return 'c';
    }
    if (t <= IF97T3JK(p)) {
      return t <= IF97TSAT(p) ? 's' : 'r';
    }
    return 'k';
  }
  if (p > kP3cd) {
    switch (side) {
      case SubregionSide::kLiquid: return t <= IF97T3CD(p) ? 'c' : 's';
      case SubregionSide::kVapour: return 't';
      case SubregionSide::kByTemperature: break;
    }
    if (t <= IF97T3CD(p)) {
      return 'c';
    }
    return t <= IF97TSAT(p) ? 's' : 't';
  }
  return OnLiquidSide(p, t, side) ? 'c' : 't';
}

double VolumeBySide(const double& p, const double& t, SubregionSide side) {
  if (!(std::isfinite(p) && std::isfinite(t) && p > 0.0 && t > 0.0)) {
    return -1.0;
  }
  if (NearCriticalPoint(p, t)) {
    return kCriticalVolume;
  }
  return Region3SubregionVolume(Region3Subregion(p, t, side), p, t);
}

}  // namespace

// Pressure bands from the top; a pressure on a band limit belongs to the
// band below it, and a temperature on a boundary to the subregion below it.
char Region3Subregion(const double& P, const double& T, SubregionSide side) {
  const double& p = P;
  const double& t = T;
  if (p > 40.0) {
    return t <= IF97T3AB(p) ? 'a' : 'b';
  }
  if (p > 25.0) {
    if (t <= IF97T3CD(p)) {
      return 'c';
    }
    if (t > IF97T3EF(p)) {
      return 'f';
    }
    return t <= IF97T3AB(p) ? 'd' : 'e';
  }
  if (p > 22.5 && t > IF97T3IJ(p)) {
    return t > IF97T3JK(p) ? 'k' : 'j';
  }
  if (p > 23.5) {
    if (t <= IF97T3GH(p)) {
      return t <= IF97T3CD(p) ? 'c' : 'g';
    }
    return t <= IF97T3EF(p) ? 'h' : 'i';
  }
  if (p > 23.0) {
    if (t > IF97T3GH(p)) {
      return t > IF97T3EF(p) ? 'i' : 'h';
    }
    return t <= IF97T3CD(p) ? 'c' : 'l';
  }
  if (p > 22.5) {
    if (t > IF97T3GH(p)) {
      if (t <= IF97T3EF(p)) {
        return t <= IF97T3MN(p) ? 'm' : 'n';
      }
      return t > IF97T3OP(p) ? 'p' : 'o';
    }
    return t <= IF97T3CD(p) ? 'c' : 'l';
  }
  if (p > kPsat643) {
    if (t <= IF97T3QU(p)) {
      return t <= IF97T3CD(p) ? 'c' : 'q';
    }
    if (t <= IF97T3RX(p)) {
      return NearCriticalSubregion(p, t, side);
    }
    return t > IF97T3JK(p) ? 'k' : 'r';
  }
  return LowPressureSubregion(p, t, side);
}

double IF97V3PT(const double& P, const double& T) {
  return VolumeBySide(P, T, SubregionSide::kByTemperature);
}

double IF97V3PTL(const double& P, const double& T) {
  return VolumeBySide(P, T, SubregionSide::kLiquid);
}

double IF97V3PTV(const double& P, const double& T) {
  return VolumeBySide(P, T, SubregionSide::kVapour);
}

}  // namespace thermomodels
