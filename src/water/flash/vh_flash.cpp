// Water flash from specific volume and enthalpy: the domain test, the map
// of the (v, h) plane and the branches, each ending in the solve sequences
// of flash_paths.cpp matched on enthalpy.
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

// Straight line of the p_0 isobar from the low-pressure corner (v_tp, h_tp)
// to the hot corner (v_max, h_max).
double Chord(double v) { return FlashLine(v, K.v_tp, K.h_tp, K.chord_slope); }

// The triple line through the saturated liquid and vapour at 273.15 K, in
// the three forms the branches compare with.
double TripleLine(double v) {
  return -0.0415878262301703 + 2500.93420564332 * (v - 0.0010002069773244) / 206.13871609366868;
}
double TripleLineA(double v) { return FlashLine(v, 10.0, 121.26915417542212, 12.132287680044078); }
double TripleLineB(double v) {
  return FlashLine(v, 0.0010002069773244, -0.0415878262301703, 12.132287680044076);
}

// Straight line through the saturated liquid and vapour at 623.15 K.
double Isotherm623Line(double v) {
  return 1670.85821827438 + 892.7337856138699 * (v - 0.0017400705518799) / 0.007060861379695999;
}

constexpr FlashRegion kR1 = FlashRegion::kRegion1, kR2 = FlashRegion::kRegion2,
                      kR5 = FlashRegion::kRegion5;

// Between the saturated volumes of 623.15 K.
void NearCritical(FlashCall& c, bool liquid_side) {
  FlashNearCritical(c, liquid_side, Isotherm623Line(c.v), K.v_isochore_only, K.t_isobar_upper);
}

// ---- The lowest enthalpies ----

void LowestDense(FlashCall& c) {
  const double p_273 =
      FlashIsothermPressure(c, kR1, K.t_dense_min, kFlashPressureMin, kFlashPressureMax, true);
  if (IF97R1V(p_273, K.t_dense_min) > c.v) return c.Reject();
  FlashNestedPair(c, kR1);
}

void Lowest(FlashCall& c) {
  if (TripleLine(c.v) > c.e) return c.Reject();
  FlashLiquidOrWet(c, K.p_critical_sat);
}

// Wet steam right of the saturated-liquid line, rejected below the triple
// line (the line form decides only whether the triple-line test is made).
void WetUnlessBelowTripleLine(FlashCall& c, double line) {
  FlashWetAboveEdgeLine(c, line, TripleLine(c.v));
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
    case VhBranch::kOutsideDomain: return c.Reject();
    case VhBranch::k5A: return FlashPairAboveLowestPressure(c, kR5);
    case VhBranch::k5B: return FlashNestedPair(c, kR5);
    case VhBranch::k5C: return FlashRegion5UpTo2273K(c);
    case VhBranch::k5D:
      // Region 5 starts at the region-2 volume of 50 MPa and 1073.15 K.
      return FlashRegion5UpTo50MPa(c, K.v_2_50_1073, kTolerance);
    case VhBranch::k25:
      return FlashSteamAround1073K(c, K.v_2_100_1073, K.v_2_50_1073, K.v_5_50_2273);
    case VhBranch::k2A: return FlashPairAboveLowestPressure(c, kR2);
    case VhBranch::k2B:
    case VhBranch::k2D:
    case VhBranch::k2E: return FlashNestedPair(c, kR2);
    case VhBranch::k2C:
      return FlashPairUpToIsobar(c, kR2, kFlashPressureMax, 623.15, kFlashRegion2TemperatureMax,
                                 kTolerance);
    case VhBranch::kSaturatedVapour: return FlashSaturatedVapourOrWet(c);
    case VhBranch::kB23T: return FlashB23ByTemperature(c, K.t_b23_max);
    case VhBranch::kB23P: return FlashB23ByPressure(c);
    case VhBranch::kRegion3Upper: return FlashRegion3UpTo100MPa(c, K.t_isobar_upper);
    case VhBranch::kRegion3Lower: return FlashRegion3UpTo100MPa(c, K.t_isobar_lower);
    case VhBranch::kWetAboveLineA: return FlashWetBelow623(c, true);
    case VhBranch::kWetBelowLineA: return WetUnlessBelowTripleLine(c, INFINITY);
    case VhBranch::kWetMiddleLarge: return WetUnlessBelowTripleLine(c, TripleLineA(c.v));
    case VhBranch::kWetMiddle: return WetUnlessBelowTripleLine(c, TripleLineB(c.v));
    case VhBranch::kNearCriticalLiquid: return NearCritical(c, true);
    case VhBranch::kNearCriticalVapour: return NearCritical(c, false);
    case VhBranch::kDenseUpper:
      return FlashDenseUpper(c, K.v_dense_min, K.p_sat_623, K.p_critical_sat);
    case VhBranch::kDenseLower: return FlashDenseLower(c, K.p_sat_623);
    case VhBranch::kLowestDense: return LowestDense(c);
    case VhBranch::kLowest: return Lowest(c);
  }
}

}  // namespace

VhFlashOutcome VhFlash(double v, double h) {
  VhFlashOutcome out;
  if (!FlashInBox(v, h, K.v_min, K.v_max, K.h_min, K.h_max)) return out;
  FlashCall c(kFlashEnthalpy, v, h);
  out.branch = Place(v, h);
  Solve(c, out.branch);
  c.Report(out);
  return out;
}

void IF97VHFLASH(double& P, double& T, double& X, const double& V, const double& H) {
  FlashWriteOutputs(VhFlash(V, H), P, T, X);
}

double IF97PVH(const double& V, const double& H) { return FlashPressureBar(VhFlash(V, H)); }

double IF97TVH(const double& V, const double& H) { return VhFlash(V, H).t; }

double IF97XVH(const double& V, const double& H) { return VhFlash(V, H).x; }

}  // namespace thermomodels
