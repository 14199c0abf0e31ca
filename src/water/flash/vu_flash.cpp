// Water flash from specific volume and internal energy: the domain test, the
// map of the (v, u) plane and its bands, each ending in the solve sequences
// of flash_paths.cpp matched on internal energy.
//
// The map compares u, then v, with IF97 values at the corners and edges of
// the regions (kVuFlash). Liquid colder than saturated liquid at 273.15 K is
// tried first; a state that is not such liquid goes on through the map.
#include "water/flash/flash.h"
#include "water/if97/if97.h"

namespace thermomodels {

namespace {

constexpr const VuFlashConstants& K = kVuFlash;
constexpr double kTolerance = 1e-6;
// The lower-edge line changes form above this volume [m3/kg].
constexpr double kEdgeFormSplit = 10.0;

constexpr FlashRegion kR1 = FlashRegion::kRegion1, kR2 = FlashRegion::kRegion2,
                      kR5 = FlashRegion::kRegion5;

// Straight line of the lowest pressure from (v_tp, u_edge_end) to the hot
// corner (v_max, u_max).
double LowPressureLine(double v) { return FlashLine(v, K.v_tp, K.u_edge_end, K.low_line_slope); }

// A chord from (v0, u0) rising by du over dv, evaluated as difference,
// division, product, sum.
double Chord(double v, double v0, double u0, double dv, double du) {
  return (v - v0) / dv * du + u0;
}

// The lower edge of the wet states: the line from the saturated liquid at
// 273.15 K to (v_tp, u_edge_end), 1 kJ/kg below the saturated vapour there.
// The chord decides a rejection; the slope forms only whether it is tested.
double EdgeChord(double v) { return Chord(v, K.v_liq_273, K.u_liq_273, K.edge_dv, K.edge_du); }
double EdgeSlopeLarge(double v) {
  return FlashLine(v, kEdgeFormSplit, K.edge_at_10, K.edge_slope_large);
}
double EdgeSlope(double v) {
  if (v > kEdgeFormSplit) return EdgeSlopeLarge(v);
  return FlashLine(v, K.v_liq_273, K.u_liq_273, K.edge_slope);
}

// Straight line through the saturated liquid and vapour at 623.15 K.
double Line623(double v) { return Chord(v, K.v_liq_623, K.u_liq_623, K.dv_623, K.du_623); }

// Liquid colder than saturated liquid at 273.15 K: rejected above the
// 100 MPa isobar; region-1 liquid when u exceeds the region-1 energy at
// 273.15 K and volume v. Returns false, having written no output, when the
// state is not such liquid and goes on through the map.
bool ColdLiquid(FlashCall& c) {
  if (FlashAboveIsobar(c, kR1, kFlashPressureMax, K.t_dense_min, K.t_cold_isobar_max, kTolerance)) {
    c.Reject();
    return true;
  }
  const double p =
      FlashIsothermPressure(c, kR1, K.t_dense_min, kFlashPressureMin, kFlashPressureMax, false);
  if (!(c.e > c.energy.region1(p, K.t_dense_min))) return false;
  FlashNestedPair(c, kR1);
  return true;
}

// The map from u = u_liq_273 on: which path a state inside the domain takes.
VuBranch Place(double v, double u) {
  using B = VuBranch;
  if (u > K.u_2_100_1073) {
    if (!(u > K.u_2_p0_1073)) return B::kSteam1073;
    if (!(v > K.v_5_50_2273)) return B::k5Dense;
    if (u > K.u_5_50_2273) return B::k5Hot;
    return u >= LowPressureLine(v) ? B::k5AboveLine : B::k5BelowLine;
  }
  if (u > K.u_b) {
    if (v > K.v_window_lo && v < K.v_window_hi) return B::kHighSaturatedVapour;
    if (!(v > K.v_tp)) return v > K.v_2_100_1073 ? B::kHighVapour : B::kHigh100MPa;
    return u >= LowPressureLine(v) ? B::kHighAboveLine : B::kHighBelowLine;
  }
  if (u > K.u_vap_623) {
    if (v > K.v_band_top) {
      if (!(v > K.v_tp)) return B::kBesideSaturatedVapour;
      return u >= LowPressureLine(v) ? B::kBesideAboveLine : B::kBesideBelowLine;
    }
    if (!(v > K.v_3_100_863)) return B::kB23Region3;
    if (v < K.v_vap_623) return B::kB23P;
    return u > K.u_b23_band ? B::kB23Vapour : B::kB23T;
  }
  if (u > K.u_liq_623) {
    if (v > K.v_vap_623) return u > K.u_edge_end ? B::kLargeSaturatedVapour : B::kLargeWet;
    if (!(v > K.v_liq_623)) return B::kDomeDense;
    return v > kFlashCriticalVolume ? B::kDomeVapour : B::kDomeLiquid;
  }
  if (!(u > K.u_min)) return B::kLowest;
  if (v > K.v_liq_623) return v > kEdgeFormSplit ? B::kWetLarge : B::kWetSmall;
  return u < K.u_dense_split ? B::kDenseLower : B::kDenseUpper;
}

VuBand BandOf(VuBranch branch) {
  using B = VuBranch;
  switch (branch) {
    case B::kOutsideDomain: return VuBand::kOutsideDomain;
    case B::kColdLiquid: return VuBand::kColdLiquid;
    case B::kSteam1073: return VuBand::kSteam1073;
    case B::k5Dense:
    case B::k5Hot:
    case B::k5AboveLine:
    case B::k5BelowLine: return VuBand::kRegion5;
    case B::kHighSaturatedVapour:
    case B::kHighVapour:
    case B::kHigh100MPa:
    case B::kHighAboveLine:
    case B::kHighBelowLine: return VuBand::kVapourAboveB23;
    case B::kB23Region3:
    case B::kB23P:
    case B::kB23Vapour:
    case B::kB23T: return VuBand::kB23;
    case B::kBesideSaturatedVapour:
    case B::kBesideAboveLine:
    case B::kBesideBelowLine: return VuBand::kVapourBesideB23;
    case B::kDomeDense:
    case B::kDomeLiquid:
    case B::kDomeVapour: return VuBand::kDome;
    case B::kLargeSaturatedVapour:
    case B::kLargeWet: return VuBand::kWetOrVapour;
    case B::kLowest: return VuBand::kLowest;
    case B::kDenseUpper:
    case B::kDenseLower: return VuBand::kDense;
    case B::kWetSmall:
    case B::kWetLarge: break;
  }
  return VuBand::kWet;
}

void Solve(FlashCall& c, VuBranch branch) {
  using B = VuBranch;
  switch (branch) {
    case B::kOutsideDomain:
    case B::kColdLiquid:  // placed by ColdLiquid before the map
      return c.Reject();
    case B::kSteam1073:
      return FlashSteamAround1073K(c, K.v_2_100_1073, K.v_2_50_1073, K.v_5_50_2273);
    case B::k5Dense: return FlashRegion5UpTo50MPa(c, K.v_2_50_1073, kTolerance);
    case B::k5Hot: return FlashRegion5UpTo2273K(c);
    case B::k5AboveLine: return FlashNestedPair(c, kR5);
    case B::k5BelowLine: return FlashPairAboveLowestPressure(c, kR5);
    case B::kHighSaturatedVapour:
    case B::kBesideSaturatedVapour:
    case B::kLargeSaturatedVapour: return FlashSaturatedVapourOrWet(c);
    case B::kHighVapour:
    case B::kHighAboveLine:
    case B::kBesideAboveLine:
    case B::kB23Vapour: return FlashNestedPair(c, kR2);
    case B::kHigh100MPa:
      return FlashPairUpToIsobar(c, kR2, kFlashPressureMax, kFlashRegion1TemperatureMax,
                                 kFlashRegion2TemperatureMax, kTolerance);
    case B::kHighBelowLine:
    case B::kBesideBelowLine: return FlashPairAboveLowestPressure(c, kR2);
    case B::kB23Region3: return FlashRegion3UpTo100MPa(c, K.t_isobar_upper);
    case B::kB23P: return FlashB23ByPressure(c);
    case B::kB23T: return FlashB23ByTemperature(c, K.t_b23_max);
    case B::kDomeDense: return FlashRegion3UpTo100MPa(c, K.t_isobar_lower);
    case B::kDomeLiquid:
    case B::kDomeVapour:
      return FlashNearCritical(c, branch == B::kDomeLiquid, Line623(c.v), K.v_isochore_only,
                               K.t_isobar_upper);
    case B::kLargeWet: return FlashWetAboveEdgeLine(c, EdgeSlopeLarge(c.v), EdgeChord(c.v));
    case B::kLowest:
      // Only u_min itself gets here: the corner at 100 MPa and 273.15 K, or
      // a state colder than 273.15 K. None is solved.
      return c.Reject();
    case B::kDenseUpper: return FlashDenseUpper(c, K.v_dense_min, K.p_sat_623, K.p_critical_sat);
    case B::kDenseLower: return FlashDenseLower(c, K.p_sat_623);
    case B::kWetSmall:
    case B::kWetLarge: return FlashWetAboveEdgeLine(c, EdgeSlope(c.v), EdgeChord(c.v));
  }
}

}  // namespace

VuFlashOutcome VuFlash(double v, double u) {
  VuFlashOutcome out;
  if (!FlashInBox(v, u, K.v_min, K.v_max, K.u_min, K.u_max)) return out;
  FlashCall c(kFlashInternalEnergy, v, u);
  if (u < K.u_liq_273) {
    out.band = VuBand::kColdLiquid;
    out.branch = VuBranch::kColdLiquid;
    if (!ColdLiquid(c)) {
      out.branch = Place(v, u);
      Solve(c, out.branch);
    }
  } else {
    out.branch = Place(v, u);
    out.band = BandOf(out.branch);
    Solve(c, out.branch);
  }
  c.Report(out);
  return out;
}

void IF97VUFLASH(double& P, double& T, double& X, const double& V, const double& U) {
  FlashWriteOutputs(VuFlash(V, U), P, T, X);
}

double IF97PVU(const double& V, const double& U) { return FlashPressureBar(VuFlash(V, U)); }

double IF97TVU(const double& V, const double& U) { return VuFlash(V, U).t; }

double IF97XVU(const double& V, const double& U) { return VuFlash(V, U).x; }

}  // namespace thermomodels
