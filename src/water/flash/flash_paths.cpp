// Solve sequences shared by the maps of both water flashes: range tests at
// the edges of the formulation followed by a pair, the tests at the B23 line,
// between the saturated volumes of 623.15 K and among the dense states. Each
// ends the call; the energy matched is the flash's (FlashCall::energy).
#include "water/flash/flash.h"
#include "water/if97/if97.h"

namespace thermomodels {

namespace {

constexpr double kTolerance = 1e-6;
// The 50 MPa edge solve of the region-5 side of 1073.15 K.
constexpr double kEdgeTolerance = 1e-8;
// Lowest temperature of region 3 [K].
constexpr double kRegion3TemperatureMin = 623.15;
// Lower end of the isochore solve of the dense band [K]: 10 mK below
// 623.15 K, like its upper end above 863.15 K.
constexpr double kDenseIsochoreTemperatureMin = 623.14;

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

bool FlashAboveIsobar(FlashCall& c, FlashRegion region, double p, double t_lo, double t_hi,
                      double tol) {
  const double t = FlashIsobarTemperature(c, region, p, t_lo, t_hi, tol);
  return FlashVolume(region, p, t) > c.v;
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
  if (c.energy.region2(p, kFlashRegion2TemperatureMax) > c.e) return FlashNestedPair(c, kR2);
  if (c.v > v_region5_free) return FlashNestedPair(c, kR5);
  FlashRegion5UpTo50MPa(c, v_region5_min, kEdgeTolerance);
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
  const double t = FlashRegion3Isobar100(c, t_isobar_hi);
  c.region3_volume = IF97R3VIT(kFlashPressureMax, t);
  if (c.region3_volume > c.v) return c.Reject();  // above 100 MPa
  FlashRegion3Isochore(c, kRegion3TemperatureMin);
}

void FlashNearCritical(FlashCall& c, bool liquid_side, double e_line_623, double v_isochore_only,
                       double t_isobar_hi) {
  const double t_sat = FlashRegion3SaturatedTemperature(c, liquid_side);
  // A saturated volume that was not found cannot place the state.
  if (t_sat == kFlashNotConverged) return c.Fail();
  if (!(c.e > c.energy.region3(t_sat, c.v))) {
    if (c.e > e_line_623) return FlashWetRegion3(c, kFlashWetRegion3TemperatureMin);
    return FlashWetBelow623(c, true);
  }
  if (liquid_side && !(c.v > v_isochore_only)) {
    FlashRegion3Isobar100(c, t_isobar_hi);
    if (c.region3_volume > c.v) return c.Reject();  // above 100 MPa
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
    FlashRegion3Isochore(c, kDenseIsochoreTemperatureMin);
    // Region 3 ends at 100 MPa like every other band.
    if (c.ending == FlashEnding::kRegion3Isochore && c.p > kFlashPressureMax) c.Reject();
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
