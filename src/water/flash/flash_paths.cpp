// Solve sequences shared by the maps of both water flashes: range tests at
// the edges of the formulation followed by a pair, the tests at the B23 line,
// between the saturated volumes of 623.15 K and among the dense states. Each
// ends the call; the energy matched is the flash's (FlashCall::energy).
#include <cmath>

#include "water/flash/flash.h"
#include "water/if97/if97.h"

namespace thermomodels {

namespace {

constexpr double kTolerance = kFlashTolerance;
// The 50 MPa edge solve of the region-5 side of 1073.15 K.
constexpr double kEdgeTolerance = 1e-8;
// Lowest temperature of region 3 [K].
constexpr double kRegion3TemperatureMin = 623.15;
// Lower end of the isochore solve of the dense band [K]: 10 mK below
// 623.15 K, like its upper end above 863.15 K.
constexpr double kDenseIsochoreTemperatureMin = 623.14;

// An edge test compares v with the volume on the edge (or the pressure of
// the state with the edge pressure) at a temperature solved to 1e-6, whose
// error moves that volume by up to a few 1e-6 relative and that pressure by
// up to about 1e-5. A state beyond the edge by less than this resolution is
// decided again on a temperature solved to kEdgeRefineTolerance, so that a
// state inside the edge by more than the solve tolerance is never rejected.
constexpr double kEdgeVolumeResolution = 1e-5;
constexpr double kEdgePressureResolution = 1e-4;
constexpr double kEdgeRefineTolerance = 1e-11;

constexpr FlashRegion kR1 = FlashRegion::kRegion1, kR2 = FlashRegion::kRegion2,
                      kR5 = FlashRegion::kRegion5;

// Temperature range of each region's pair.
double PairTemperatureMin(FlashRegion region) {
  return region == kR5 ? kFlashRegion2TemperatureMax : kFlashTemperatureMin;
}
double PairTemperatureMax(FlashRegion region) {
  switch (region) {
    case FlashRegion::kRegion1: return kFlashRegion1TemperatureMax;
    case FlashRegion::kRegion2: return kFlashRegion2TemperatureMax;
    case FlashRegion::kRegion5: break;
  }
  return kFlashRegion5TemperatureMax;
}

}  // namespace

// Whether v lies beyond an edge whose volume, from a temperature solved to
// the ordinary tolerance, is v_edge; `refined_edge_volume` solves that
// temperature again to kEdgeRefineTolerance and gives the edge's volume
// there (kFlashNotConverged when that solve stops at its cap).
template <typename F>
bool BeyondEdgeVolume(const FlashCall& c, double v_edge, F&& refined_edge_volume) {
  if (!(v_edge > c.v)) return false;
  if (v_edge > c.v * (1.0 + kEdgeVolumeResolution)) return true;
  const double v_refined = refined_edge_volume();
  return v_refined == kFlashNotConverged || v_refined > c.v;
}

// Whether a region-3 state of volume v lies above 100 MPa, given the volume
// v_edge of the 100 MPa isobar at the energy e (temperature sought up to t_hi).
bool Region3Above100MPa(FlashCall& c, double t_hi, double v_edge) {
  return BeyondEdgeVolume(c, v_edge, [&] {
    const double t = FlashRegion3Isobar100(c, t_hi, kEdgeRefineTolerance);
    return t == kFlashNotConverged ? kFlashNotConverged : IF97R3VIT(kFlashPressureMax, t);
  });
}

bool FlashAboveIsobar(FlashCall& c, FlashRegion region, double p, double t_lo, double t_hi,
                      double tol) {
  const double t = FlashIsobarTemperature(c, region, p, t_lo, t_hi, tol);
  return BeyondEdgeVolume(c, FlashVolume(region, p, t), [&] {
    const double t_refined = FlashIsobarTemperature(c, region, p, t_lo, t_hi, kEdgeRefineTolerance);
    return t_refined == kFlashNotConverged ? kFlashNotConverged : FlashVolume(region, p, t_refined);
  });
}

void FlashPairUpToIsobar(FlashCall& c, FlashRegion region, double p, double t_lo, double t_hi,
                         double tol) {
  if (FlashAboveIsobar(c, region, p, t_lo, t_hi, tol)) return c.Reject();
  FlashNestedPair(c, region);
}

void FlashPairAboveLowestPressure(FlashCall& c, FlashRegion region) {
  const double t = FlashIsobarTemperature(c, region, kFlashPressureMin, PairTemperatureMin(region),
                                          PairTemperatureMax(region), kTolerance);
  if (c.v > FlashVolume(region, kFlashPressureMin, t)) return c.Reject();
  FlashNestedPair(c, region);
}

void FlashRegion5UpTo2273K(FlashCall& c) {
  const double p = FlashIsothermPressure(c, kR5, kFlashRegion5TemperatureMax, kFlashPressureMin,
                                         kFlashRegion5PressureMax, false);
  if (c.e > c.energy.region5(p, kFlashRegion5TemperatureMax)) return c.Reject();
  FlashNestedPair(c, kR5);
}

void FlashSteamAround1073K(FlashCall& c, double v_min, double v_region5_min,
                           double v_region5_free) {
  if (c.v < v_min) return c.Reject();
  const double p = FlashIsothermPressure(c, kR2, kFlashRegion2TemperatureMax, kFlashPressureMin,
                                         kFlashPressureMax, false);
  const double e_2 = c.energy.region2(p, kFlashRegion2TemperatureMax);
  if (e_2 > c.e) return FlashNestedPair(c, kR2);
  if (c.v > v_region5_free) {
    FlashNestedPair(c, kR5);
  } else {
    FlashRegion5UpTo50MPa(c, v_region5_min, kEdgeTolerance);
  }
  // Regions 2 and 5 do not meet exactly at 1073.15 K: a region-2 state on
  // the isotherm, whose energy the pressure found matches within the solve
  // tolerance, may have no region-5 state. The region-2 pair places it; a
  // state it cannot place keeps the region-5 outcome.
  const bool solved = c.ending != FlashEnding::kRejected && c.ending != FlashEnding::kNotConverged;
  if (solved || c.e - e_2 > kTolerance * std::fabs(c.e)) return;
  const FlashEnding region5_outcome = c.ending;
  c.ending = FlashEnding::kNone;
  c.x = -1.0;
  FlashNestedPair(c, kR2);
  if (c.ending != FlashEnding::kNotConverged) return;
  if (region5_outcome == FlashEnding::kRejected) c.Reject();
}

void FlashRegion5UpTo50MPa(FlashCall& c, double v_region5_min, double tol) {
  if (c.v < v_region5_min) return c.Reject();
  FlashPairUpToIsobar(c, kR5, kFlashRegion5PressureMax, kFlashRegion2TemperatureMax,
                      kFlashRegion5TemperatureMax, tol);
}

void FlashSaturatedVapourOrWet(FlashCall& c) {
  const double t_last = FlashSaturatedVapourTemperature(c);
  if (c.e > c.energy.region2(c.saturation_pressure, t_last)) return FlashNestedPair(c, kR2);
  FlashWetBelow623(c, true);
}

void FlashB23ByTemperature(FlashCall& c, double t_hi) {
  const double t = FlashB23TemperatureSolve(c, t_hi);
  if (c.v > IF97R3VIT(c.boundary, t)) return FlashNestedPair(c, kR2);
  FlashRegion3Isochore(c, kRegion3TemperatureMin);
}

void FlashB23ByPressure(FlashCall& c) {
  FlashB23PressureSolve(c);
  if (c.e > c.energy.region3(c.boundary, c.v)) return FlashNestedPair(c, kR2);
  FlashRegion3Isochore(c, kRegion3TemperatureMin);
}

void FlashRegion3UpTo100MPa(FlashCall& c, double t_isobar_hi) {
  const double t = FlashRegion3Isobar100(c, t_isobar_hi, kTolerance);
  c.region3_volume = IF97R3VIT(kFlashPressureMax, t);
  if (Region3Above100MPa(c, t_isobar_hi, c.region3_volume)) return c.Reject();
  FlashRegion3Isochore(c, kRegion3TemperatureMin);
}

void FlashNearCritical(FlashCall& c, bool liquid_side, double e_line_623, double v_isochore_only,
                       double t_isobar_hi) {
  double t_sat = FlashRegion3SaturatedTemperature(c, liquid_side);
  if (t_sat == kFlashNotConverged) {
    // Within about 1e-4 K of 647.096 K the region-3 saturated-liquid volume
    // is not monotonic at the resolution of its volume iteration, so the
    // solve may stop at its cap for a volume within its tolerance of the
    // critical volume. Such a state's saturated temperature is 647.096 K
    // within that tolerance: it is placed against its energy there. A
    // saturated volume not found elsewhere cannot place the state.
    if (!(std::fabs(c.v - kFlashCriticalVolume) <= kTolerance)) return c.Fail();
    t_sat = kFlashCriticalTemperature;
  }
  if (!(c.e > c.energy.region3(t_sat, c.v))) {
    if (c.e > e_line_623) return FlashWetRegion3(c, kFlashWetRegion3TemperatureMin);
    return FlashWetBelow623(c, true);
  }
  if (liquid_side && !(c.v > v_isochore_only)) {
    FlashRegion3Isobar100(c, t_isobar_hi, kTolerance);
    if (Region3Above100MPa(c, t_isobar_hi, c.region3_volume)) return c.Reject();
  }
  FlashRegion3Isochore(c, kRegion3TemperatureMin);
}

void FlashLiquidOrWet(FlashCall& c, double p_hi) {
  const double p_s = FlashSaturatedLiquidPressure(c, p_hi);
  const double v_liq = IF97R1V(p_s, c.saturation_temperature);
  if (v_liq > c.v) return FlashNestedPair(c, kR1);
  FlashWetBelow623(c, false);
}

void FlashDenseUpper(FlashCall& c, double v_dense_min, double p_sat_623, double p_critical_sat) {
  if (c.v < v_dense_min) return c.Reject();
  const double p_623 = FlashIsothermPressure(c, kR1, kFlashRegion1TemperatureMax, p_sat_623,
                                             kFlashPressureMax, false);
  if (c.e > c.energy.region1(p_623, kFlashRegion1TemperatureMax)) {
    FlashRegion3Isochore(c, kDenseIsochoreTemperatureMin, kTolerance);
    // Region 3 ends at 100 MPa like every other band; a pressure just above
    // it is decided again on a temperature solved more tightly.
    auto above_100 = [&] {
      return c.ending == FlashEnding::kRegion3Isochore && c.p > kFlashPressureMax;
    };
    if (above_100() && !(c.p > kFlashPressureMax * (1.0 + kEdgePressureResolution))) {
      FlashRegion3Isochore(c, kDenseIsochoreTemperatureMin, kEdgeRefineTolerance);
    }
    if (above_100()) c.Reject();
    return;
  }
  FlashLiquidOrWet(c, p_critical_sat);
}

void FlashDenseLower(FlashCall& c, double p_sat_623) {
  const double p_s = FlashSaturatedLiquidPressure(c, p_sat_623);
  const double v_liq = IF97R1V(p_s, c.saturation_temperature);
  if (c.v > v_liq) return FlashWetBelow623(c, true);
  FlashPairUpToIsobar(c, kR1, kFlashPressureMax, kFlashTemperatureMin, kFlashRegion1TemperatureMax,
                      kTolerance);
}

void FlashWetAboveEdgeLine(FlashCall& c, double line, double edge) {
  if (!(c.e > line) && edge > c.e) return c.Reject();
  FlashWetBelow623(c, true);
}

}  // namespace thermomodels
