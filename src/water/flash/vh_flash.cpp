// Water flash from specific volume and enthalpy: the domain test, the map
// of the (v, h) plane and the branches, each ending in the shared solve
// kinds of flash_solves.cpp matched on enthalpy.
//
// The map compares h and v with IF97 values at the corners and edges of the
// regions (kVhFlash). Range tests inside a branch reject states beyond the
// formulation's edges (p_min, 50 and 100 MPa, 2273.15 K, the triple line).
#include <cmath>

#include "water/flash/flash.h"
#include "water/if97/if97.h"

namespace thermomodels {

namespace {

constexpr const VhFlashConstants& K = kVhFlash;
constexpr double kTolerance = 1e-6;
constexpr double kEdgeTolerance = 1e-8;  // the 50 MPa edge solve of the 1073.15 K band

// Straight line of the p_0 isobar from the low-pressure corner (v_tp, h_tp)
// to the hot corner (v_max, h_max).
double Chord(double v) { return K.h_tp + K.chord_slope * (v - K.v_tp); }

// The triple line through the saturated liquid and vapour at 273.15 K, in
// the three forms the branches compare with.
double TripleLine(double v) {
  return -0.0415878262301703 + 2500.93420564332 * (v - 0.0010002069773244) / 206.13871609366868;
}
double TripleLineA(double v) { return 121.26915417542212 + 12.132287680044078 * (v - 10.0); }
double TripleLineB(double v) {
  return -0.0415878262301703 + 12.132287680044076 * (v - 0.0010002069773244);
}

// Straight line through the saturated liquid and vapour at 623.15 K.
double Isotherm623Line(double v) {
  return 1670.85821827438 + 892.7337856138699 * (v - 0.0017400705518799) / 0.007060861379695999;
}

constexpr FlashRegion kR1 = FlashRegion::kRegion1, kR2 = FlashRegion::kRegion2,
                      kR5 = FlashRegion::kRegion5;

// ---- Region 5 and the 1073.15 K isotherm ----

void Branch5A(FlashCall& c) {
  const double t_a = FlashIsobarTemperature(c, kR5, kFlashPressureMin, kFlashRegion2TemperatureMax,
                                            kFlashRegion5TemperatureMax, kTolerance);
  if (c.v > IF97R5V(kFlashPressureMin, t_a)) return c.Reject();  // below p_min
  FlashNestedPair(c, kR5);
}

void Branch5C(FlashCall& c) {
  const double p_c = FlashIsothermPressure(c, kR5, kFlashRegion5TemperatureMax, kFlashPressureMin,
                                           kFlashRegion5PressureMax, false);
  if (c.e > IF97R5H(p_c, kFlashRegion5TemperatureMax)) return c.Reject();  // above 2273.15 K
  FlashNestedPair(c, kR5);
}

// Region 5 up to 50 MPa: reject states above the 50 MPa isobar.
void Region5Within50MPa(FlashCall& c, double tol) {
  const double t_d = FlashIsobarTemperature(c, kR5, kFlashRegion5PressureMax,
                                            kFlashRegion2TemperatureMax,
                                            kFlashRegion5TemperatureMax, tol);
  if (IF97R5V(kFlashRegion5PressureMax, t_d) > c.v) return c.Reject();
  FlashNestedPair(c, kR5);
}

void Branch25(FlashCall& c) {
  const double p_e = FlashIsothermPressure(c, kR2, kFlashRegion2TemperatureMax, kFlashPressureMin,
                                           kFlashPressureMax, false);
  if (IF97R2H(p_e, kFlashRegion2TemperatureMax) > c.e) return FlashNestedPair(c, kR2);
  if (c.v < K.v_2_50_1073) return c.Reject();
  if (c.v > K.v_5_50_2273) return FlashNestedPair(c, kR5);
  Region5Within50MPa(c, kEdgeTolerance);
}

// ---- Region 2 ----

void Branch2A(FlashCall& c) {
  const double t_a = FlashIsobarTemperature(c, kR2, kFlashPressureMin, kFlashTemperatureMin,
                                            kFlashRegion2TemperatureMax, kTolerance);
  if (c.v > IF97R2V(kFlashPressureMin, t_a)) return c.Reject();  // below p_min
  FlashNestedPair(c, kR2);
}

void Branch2C(FlashCall& c) {
  const double t_c = FlashIsobarTemperature(c, kR2, kFlashPressureMax, 623.15,
                                            kFlashRegion2TemperatureMax, kTolerance);
  if (IF97R2V(kFlashPressureMax, t_c) > c.v) return c.Reject();  // above 100 MPa
  FlashNestedPair(c, kR2);
}

// Saturated-vapour line of regions 1 and 2: superheated vapour when h lies
// above the saturated-vapour enthalpy at the temperature whose saturated
// vapour has volume v, wet steam otherwise.
void SaturatedVapourTest(FlashCall& c) {
  const double t_last = FlashSaturatedVapourTemperature(c);
  if (c.e > IF97R2H(c.saturation_pressure, t_last)) return FlashNestedPair(c, kR2);
  FlashWetBelow623(c, true);
}

// ---- The B23 line ----

void BranchB23T(FlashCall& c) {
  const double t_b = FlashB23TemperatureSolve(c, K.t_b23_max);
  if (c.v > IF97R3VIT(c.boundary, t_b)) return FlashNestedPair(c, kR2);
  FlashRegion3Isochore(c, 623.15);
}

void BranchB23P(FlashCall& c) {
  FlashB23PressureSolve(c);
  if (c.e > IF97R3H(c.boundary, c.v)) return FlashNestedPair(c, kR2);
  FlashRegion3Isochore(c, 623.15);
}

// ---- Region 3 up to 100 MPa ----

void Region3Within100MPa(FlashCall& c, double t_isobar_hi) {
  const double t_lim = FlashRegion3Isobar100(c, t_isobar_hi);
  c.region3_volume = IF97R3VIT(kFlashPressureMax, t_lim);
  if (c.region3_volume > c.v) return c.Reject();  // above 100 MPa
  FlashRegion3Isochore(c, 623.15);
}

// ---- Between the saturated volumes of 623.15 K ----

// Below the region-3 saturated enthalpy: wet steam, on the region-3
// saturated volumes above the 623.15 K isotherm's line, else on those of
// regions 1 and 2.
void NearCriticalWet(FlashCall& c) {
  if (c.e > Isotherm623Line(c.v)) return FlashWetRegion3(c, kFlashWetRegion3TemperatureMin);
  FlashWetBelow623(c, true);
}

void NearCritical(FlashCall& c, bool liquid_side) {
  const double t_sat = FlashRegion3SaturatedTemperature(c, liquid_side);
  // A saturated volume that was not found cannot place the state.
  if (t_sat == kFlashNotConverged) return c.Fail();
  if (!(c.e > IF97R3H(t_sat, c.v))) return NearCriticalWet(c);
  if (liquid_side && !(c.v > K.v_isochore_only)) {
    FlashRegion3Isobar100(c, K.t_isobar_upper);
    if (c.region3_volume > c.v) return c.Reject();  // above 100 MPa
  }
  FlashRegion3Isochore(c, 623.15);
}

// ---- Dense liquid ----

// Compressed liquid, or wet steam when v exceeds the saturated-liquid
// volume at the pressure whose saturated-liquid enthalpy is h.
void LiquidOrWet(FlashCall& c, double p_hi) {
  const double p_s = FlashSaturatedLiquidPressure(c, p_hi);
  const double v_liq = IF97R1V(p_s, c.saturation_temperature);
  if (v_liq > c.v) return FlashNestedPair(c, kR1);
  FlashWetBelow623(c, false);
}

void DenseUpper(FlashCall& c) {
  if (c.v < K.v_dense_min) return c.Reject();
  const double p_623 = FlashIsothermPressure(c, kR1, 623.15, K.p_sat_623, kFlashPressureMax, false);
  if (c.e > IF97R1H(p_623, 623.15)) {
    FlashRegion3Isochore(c, 623.14);
    // Region 3 ends at 100 MPa like every other band.
    if (c.ending == FlashEnding::kRegion3Isochore && c.p > kFlashPressureMax) c.Reject();
    return;
  }
  LiquidOrWet(c, K.p_critical_sat);
}

void DenseLower(FlashCall& c) {
  const double p_s = FlashSaturatedLiquidPressure(c, K.p_sat_623);
  const double v_liq = IF97R1V(p_s, c.saturation_temperature);
  if (c.v > v_liq) return FlashWetBelow623(c, true);
  const double t_100 = FlashIsobarTemperature(c, kR1, kFlashPressureMax, kFlashTemperatureMin,
                                              kFlashRegion1TemperatureMax, kTolerance);
  if (IF97R1V(kFlashPressureMax, t_100) > c.v) return c.Reject();  // above 100 MPa
  FlashNestedPair(c, kR1);
}

void LowestDense(FlashCall& c) {
  const double p_273 = FlashIsothermPressure(c, kR1, K.t_dense_min, kFlashPressureMin,
                                             kFlashPressureMax, true);
  if (IF97R1V(p_273, K.t_dense_min) > c.v) return c.Reject();
  FlashNestedPair(c, kR1);
}

void Lowest(FlashCall& c) {
  if (TripleLine(c.v) > c.e) return c.Reject();
  LiquidOrWet(c, K.p_critical_sat);
}

// Wet steam right of the saturated-liquid line, rejected below the triple
// line (the line form decides only whether the triple-line test is made).
void WetUnlessBelowTripleLine(FlashCall& c, double line) {
  if (!(c.e > line) && TripleLine(c.v) > c.e) return c.Reject();
  FlashWetBelow623(c, true);
}

// The map: which branch a state inside the domain takes.
VhBranch Place(double v, double h) {
  if (h > K.h_2_100_1073) {
    if (h > K.h_2_p0_1073) {
      if (v > K.v_5_50_2273) {
        if (h > K.h_5_50_2273) return VhBranch::k5C;
        return h >= Chord(v) ? VhBranch::k5B : VhBranch::k5A;
      }
      return VhBranch::k5D;
    }
    return VhBranch::k25;
  }
  if (h > K.h_b) {
    if (v > K.v_tp) return h >= Chord(v) ? VhBranch::k2B : VhBranch::k2A;
    return v > K.v_2_100_1073 ? VhBranch::k2D : VhBranch::k2C;
  }
  if (h > K.h_vap_623) {
    if (v > K.v_band_top) {
      if (v > K.v_tp) return h >= Chord(v) ? VhBranch::k2B : VhBranch::k2A;
      return VhBranch::kSaturatedVapour;
    }
    if (v > K.v_3_100_863) {
      if (v < K.v_vap_623) return VhBranch::kB23P;
      return h > K.h_b23_band ? VhBranch::k2E : VhBranch::kB23T;
    }
    return VhBranch::kRegion3Upper;
  }
  if (h > K.h_liq_623) {
    if (v > K.v_vap_623) {
      if (h > K.h_tp) return VhBranch::kSaturatedVapour;
      return h > TripleLineA(v) ? VhBranch::kWetAboveLineA : VhBranch::kWetBelowLineA;
    }
    if (v > K.v_liq_623) {
      return v > kFlashCriticalVolume ? VhBranch::kNearCriticalVapour
                                      : VhBranch::kNearCriticalLiquid;
    }
    return VhBranch::kRegion3Lower;
  }
  if (h > K.h_1_100_273) {
    if (v > K.v_liq_623) return v > 10.0 ? VhBranch::kWetMiddleLarge : VhBranch::kWetMiddle;
    return h >= K.h_dense_split ? VhBranch::kDenseUpper : VhBranch::kDenseLower;
  }
  return v < K.v_liq_273 ? VhBranch::kLowestDense : VhBranch::kLowest;
}

void Solve(FlashCall& c, VhBranch branch) {
  switch (branch) {
    case VhBranch::kOutsideDomain:
      return c.Reject();
    case VhBranch::k5A:
      return Branch5A(c);
    case VhBranch::k5B:
      return FlashNestedPair(c, kR5);
    case VhBranch::k5C:
      return Branch5C(c);
    case VhBranch::k5D:
      // Region 5 starts at the region-2 volume of 50 MPa and 1073.15 K.
      if (c.v < K.v_2_50_1073) return c.Reject();
      return Region5Within50MPa(c, kTolerance);
    case VhBranch::k25:
      if (c.v < K.v_2_100_1073) return c.Reject();
      return Branch25(c);
    case VhBranch::k2A:
      return Branch2A(c);
    case VhBranch::k2B:
    case VhBranch::k2D:
    case VhBranch::k2E:
      return FlashNestedPair(c, kR2);
    case VhBranch::k2C:
      return Branch2C(c);
    case VhBranch::kSaturatedVapour:
      return SaturatedVapourTest(c);
    case VhBranch::kB23T:
      return BranchB23T(c);
    case VhBranch::kB23P:
      return BranchB23P(c);
    case VhBranch::kRegion3Upper:
      return Region3Within100MPa(c, K.t_isobar_upper);
    case VhBranch::kRegion3Lower:
      return Region3Within100MPa(c, K.t_isobar_lower);
    case VhBranch::kWetAboveLineA:
      return FlashWetBelow623(c, true);
    case VhBranch::kWetBelowLineA:
      return WetUnlessBelowTripleLine(c, INFINITY);
    case VhBranch::kWetMiddleLarge:
      return WetUnlessBelowTripleLine(c, TripleLineA(c.v));
    case VhBranch::kWetMiddle:
      return WetUnlessBelowTripleLine(c, TripleLineB(c.v));
    case VhBranch::kNearCriticalLiquid:
      return NearCritical(c, true);
    case VhBranch::kNearCriticalVapour:
      return NearCritical(c, false);
    case VhBranch::kDenseUpper:
      return DenseUpper(c);
    case VhBranch::kDenseLower:
      return DenseLower(c);
    case VhBranch::kLowestDense:
      return LowestDense(c);
    case VhBranch::kLowest:
      return Lowest(c);
  }
}

}  // namespace

VhFlashOutcome VhFlash(double v, double h) {
  VhFlashOutcome out;
  // Bounds are accepted; anything not a finite number is outside.
  const bool inside = std::isfinite(v) && std::isfinite(h) && !(v > K.v_max) &&
                      !(v < K.v_min) && !(h > K.h_max) && !(h < K.h_min);
  if (!inside) return out;
  FlashCall c(kFlashEnthalpy, v, h);
  out.branch = Place(v, h);
  Solve(c, out.branch);
  out.p = c.p;
  out.t = c.t;
  out.x = c.x;  // written only by the two-phase solves and the endings
  out.ending = c.ending;
  out.evaluations = c.evaluations;
  return out;
}

void IF97VHFLASH(double& P, double& T, double& X, const double& V, const double& H) {
  const VhFlashOutcome out = VhFlash(V, H);
  P = out.p;
  T = out.t;
  X = out.x;
}

double IF97PVH(const double& V, const double& H) {
  const VhFlashOutcome out = VhFlash(V, H);
  return out.p > 0.0 ? 10.0 * out.p : -1.0;
}

double IF97TVH(const double& V, const double& H) { return VhFlash(V, H).t; }

double IF97XVH(const double& V, const double& H) { return VhFlash(V, H).x; }

}  // namespace thermomodels
