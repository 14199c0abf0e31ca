// The flash from specific volume and internal energy: its constants, the
// band and path each border literal selects on either side, and the range
// tests.
#include <gtest/gtest.h>

#include <cmath>

#include "water/flash/flash.h"
#include "water/flash/flash_checks.h"
#include "water/flash/flash_states.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace flash_checks;
using flash_states::B23;
constexpr const VuFlashConstants& K = kVuFlash;

// Root of f on [a, b] by bisection (f changes sign there).
template <typename F>
double Bisect(F f, double a, double b) {
  const bool rising = f(b) > f(a);
  for (int i = 0; i < 200; ++i) {
    const double m = 0.5 * (a + b);
    ((f(m) > 0) == rising ? b : a) = m;
  }
  return 0.5 * (a + b);
}

// The lines of the map, as an independent evaluation from IF97 values.
double LowPressureLine(double v) {
  return (v - 206.139716300646) * 2.6179757622163686 + 2373.89740988944;
}
double EdgeChord(double v) {
  return (v - 0.0010002069773244) / 206.13871609366868 * 2373.9396090546124 + (-0.0421991651726097);
}

TEST(VuFlashConstants, EqualTheIf97ValuesTheyAreNamedAfter) {
  const double p0 = IF97PSAT(273.15), ps623 = IF97PSAT(623.15);
  const double u_edge_end = IF97R2U(p0, 273.15) - 1.0;
  const double edge_dv = IF97R2V(p0, 273.15) - IF97R1V(p0, 273.15);
  const double edge_du = u_edge_end - IF97R1U(p0, 273.15);
  const NamedConstant rows[] = {
      {"v_min", K.v_min, IF97R1V(100, 273.15)},
      {"v_max", K.v_max, IF97R5V(p0, 2273.15)},
      {"u_min", K.u_min, IF97R1U(100, 273.15)},
      {"u_max", K.u_max, IF97R5U(p0, 2273.15)},
      {"u' 273.15 K", K.u_liq_273, IF97R1U(p0, 273.15)},
      {"v' 273.15 K", K.v_liq_273, IF97R1V(p0, 273.15)},
      {"v'' 273.15 K", K.v_tp, IF97R2V(p0, 273.15)},
      {"end of the lower edge", K.u_edge_end, u_edge_end},
      {"low-pressure line slope", K.low_line_slope,
       (IF97R5U(p0, 2273.15) - u_edge_end) / (IF97R5V(p0, 2273.15) - IF97R2V(p0, 273.15))},
      {"edge dv", K.edge_dv, edge_dv},
      {"edge du", K.edge_du, edge_du},
      {"edge slope", K.edge_slope, edge_du / edge_dv},
      {"edge slope, large volumes", K.edge_slope_large, edge_du / edge_dv},
      {"edge at 10 m3/kg", K.edge_at_10,
       IF97R1U(p0, 273.15) + (10.0 - IF97R1V(p0, 273.15)) * edge_du / edge_dv},
      {"u 2 at 100 MPa, 1073 K", K.u_2_100_1073, IF97R2U(100, 1073.15)},
      {"u 2 at p_0, 1073 K", K.u_2_p0_1073, IF97R2U(p0, 1073.15)},
      {"u 5 at 50 MPa, 2273 K", K.u_5_50_2273, IF97R5U(50, 2273.15)},
      {"v 5 at 50 MPa, 2273 K", K.v_5_50_2273, IF97R5V(50, 2273.15)},
      {"v 2 at 50 MPa, 1073 K", K.v_2_50_1073, IF97R2V(50, 1073.15)},
      {"v 2 at 100 MPa, 1073 K", K.v_2_100_1073, IF97R2V(100, 1073.15)},
      {"u_b", K.u_b, IF97R2U(100, 863.15)},
      {"v 2 at 100 MPa, 863 K", K.v_3_100_863, IF97R2V(100, 863.15)},
      {"u'' 623 K", K.u_vap_623, IF97R2U(ps623, 623.15)},
      {"v'' 623 K", K.v_vap_623, IF97R2V(ps623, 623.15)},
      {"u' 623 K", K.u_liq_623, IF97R1U(ps623, 623.15)},
      {"v' 623 K", K.v_liq_623, IF97R1V(ps623, 623.15)},
      {"dv 623 K", K.dv_623, IF97R2V(ps623, 623.15) - IF97R1V(ps623, 623.15)},
      {"du 623 K", K.du_623, IF97R2U(ps623, 623.15) - IF97R1U(ps623, 623.15)},
      {"u 1 at 100 MPa, 623 K", K.u_dense_split, IF97R1U(100, 623.15)},
      {"v 1 at 100 MPa, 623 K", K.v_dense_min, IF97R1V(100, 623.15)},
      {"psat 623.15 K", K.p_sat_623, ps623},
  };
  ExpectConstants(rows);
  // Found by solving, to twelve digits: the saturated vapour whose energy
  // is u_b on both sides of its maximum, the region-3 100 MPa isobar at
  // u''(623.15 K), and the local maximum of the region-2 energy along the B23
  // line (the zero of its derivative by central differences).
  auto vapour_at_u_b = [](double lo, double hi) {
    const double t = Bisect([](double t) { return IF97R2U(IF97PSAT(t), t) - K.u_b; }, lo, hi);
    return IF97R2V(IF97PSAT(t), t);
  };
  const double t_100 =
      Bisect([](double t) { return IF97R3U(t, IF97R3VIT(100, t)) - K.u_vap_623; }, 700, 863.15);
  auto u_b23 = [](double t) { return IF97R2U(B23(t), t); };
  const double t_b23 =
      Bisect([&](double t) { return u_b23(t + 1e-4) - u_b23(t - 1e-4); }, 640, 700);
  EXPECT_NEAR(K.v_window_lo, vapour_at_u_b(540, 620), 5e-12 * K.v_window_lo);
  EXPECT_NEAR(K.v_window_hi, vapour_at_u_b(373, 500), 5e-12 * K.v_window_hi);
  EXPECT_NEAR(K.v_isochore_only, IF97R3VIT(100, t_100), 5e-12 * K.v_isochore_only);
  EXPECT_NEAR(K.u_b23_band, u_b23(t_b23), 1e-12 * K.u_b23_band);
  EXPECT_GT(K.v_band_top, K.v_vap_623);
  EXPECT_LT(K.v_band_top, K.v_vap_623 * (1 + 1e-4));
  // The B23 temperature at pB23(623.15 K) is 623.15 K (IF97 Eqs. 5 and 6).
  EXPECT_NEAR(IF97B23T(B23(623.15)), 623.15, 1e-9);
}

TEST(VuFlash, EachBandBorderOnBothSides) {
  using D = VuBand;
  const Border<VuBand> rows[] = {
      {"u' 273.15 K", 0.001, K.u_liq_273, D::kDense, D::kColdLiquid, kDownE},
      {"u' 273.15 K, wet", 0.5, K.u_liq_273, D::kWet, D::kColdLiquid, kDownE},
      {"u 2 at 100 MPa, 1073 K", 0.01, K.u_2_100_1073, D::kVapourAboveB23, D::kSteam1073, kUpE},
      {"u 2 at p_0, 1073 K", 0.01, K.u_2_p0_1073, D::kSteam1073, D::kRegion5, kUpE},
      {"u_b, small volume", 0.005, K.u_b, D::kB23, D::kVapourAboveB23, kUpE},
      {"u_b, large volume", 0.01, K.u_b, D::kVapourBesideB23, D::kVapourAboveB23, kUpE},
      {"u'' 623 K, small volume", 0.005, K.u_vap_623, D::kDome, D::kB23, kUpE},
      {"u'' 623 K, large volume", 0.01, K.u_vap_623, D::kWetOrVapour, D::kVapourBesideB23, kUpE},
      {"u' 623 K, small volume", 0.001, K.u_liq_623, D::kDense, D::kDome, kUpE},
      {"u' 623 K, large volume", 0.5, K.u_liq_623, D::kWet, D::kWetOrVapour, kUpE},
      {"band top", K.v_band_top, 2500, D::kB23, D::kVapourBesideB23, kUpV},
      {"v'' 623 K", K.v_vap_623, 2000, D::kDome, D::kWetOrVapour, kUpV},
      {"v' 623 K", K.v_liq_623, 1000, D::kDense, D::kWet, kUpV},
  };
  ExpectBothSides(rows, [](double v, double u) { return VuFlash(v, u).band; });
}

TEST(VuFlash, EachPathBorderOnBothSides) {
  using B = VuBranch;
  const double line_5 = LowPressureLine(1000), line_high = LowPressureLine(300),
               line_beside = LowPressureLine(250);
  const Border<VuBranch> rows[] = {
      {"v 5 at 50 MPa", K.v_5_50_2273, 5000, B::k5Dense, B::k5AboveLine, kUpV},
      {"u 5 at 50 MPa", 1.0, K.u_5_50_2273, B::k5AboveLine, B::k5Hot, kUpE},
      {"p_0 line, region 5", 1000, line_5, B::k5AboveLine, B::k5BelowLine, kDownE},
      {"window, low volume", K.v_window_lo, 2600, B::kHighVapour, B::kHighSaturatedVapour, kUpV},
      {"window, high volume", K.v_window_hi, 2600, B::kHighVapour, B::kHighSaturatedVapour, kDownV},
      {"v'' 273.15 K, above u_b", K.v_tp, 3000, B::kHighVapour, B::kHighAboveLine, kUpV},
      {"v 2 at 100 MPa, 1073 K", K.v_2_100_1073, 3000, B::kHigh100MPa, B::kHighVapour, kUpV},
      {"p_0 line, above u_b", 300, line_high, B::kHighAboveLine, B::kHighBelowLine, kDownE},
      {"v 2 at 100 MPa, 863 K", K.v_3_100_863, 2500, B::kB23Region3, B::kB23P, kUpV},
      {"v'' 623 K, B23", K.v_vap_623, 2450, B::kB23T, B::kB23P, kDownV},
      {"B23 band energy", K.v_vap_623, K.u_b23_band, B::kB23T, B::kB23Vapour, kUpE},
      {"v'' 273.15 K, beside B23", K.v_tp, 2500, B::kBesideSaturatedVapour, B::kBesideAboveLine,
       kUpV},
      {"p_0 line, beside B23", 250, line_beside, B::kBesideAboveLine, B::kBesideBelowLine, kDownE},
      {"end of the lower edge", 1.0, K.u_edge_end, B::kLargeWet, B::kLargeSaturatedVapour, kUpE},
      {"critical volume", kFlashCriticalVolume, 2000, B::kDomeLiquid, B::kDomeVapour, kUpV},
      {"v' 623 K, dome", K.v_liq_623, 2000, B::kDomeDense, B::kDomeLiquid, kUpV},
      {"dense split", 0.0015, K.u_dense_split, B::kDenseUpper, B::kDenseLower, kDownE},
      {"v = 10", 10, 500, B::kWetSmall, B::kWetLarge, kUpV},
      {"u_min", 0.5, K.u_min, B::kLowest, B::kWetSmall, kUpE},
  };
  ExpectBothSides(rows, [](double v, double u) { return VuFlash(v, u).branch; });
  // On the straight line through the saturated states of regions 1 and 2 at
  // 623.15 K a state is wet on their saturated volumes, one ulp above it on
  // those of region 3. At 0.00269 m3/kg the line, evaluated as difference,
  // division, product, sum, lies one ulp above the same line in other orders.
  auto line = [](double v) {
    return (v - 0.0017400705518799) / 0.007060861379695999 * 776.0236481040602 + 1642.09630631134;
  };
  using E = FlashEnding;
  const Border<FlashEnding> wet[] = {
      {"623 K line", 0.0022, line(0.0022), E::kWetBelow623, E::kWetRegion3, kUpE},
      {"623 K line", 0.00269, line(0.00269), E::kWetBelow623, E::kWetRegion3, kUpE},
      {"623 K line", 0.005, line(0.005), E::kWetBelow623, E::kWetRegion3, kUpE}};
  ExpectBothSides(wet, [](double v, double u) { return VuFlash(v, u).ending; });
}

TEST(VuFlash, RangeTestsRejectStatesBeyondTheFormulation) {
  using B = VuBranch;
  const double v3_110 = IF97R3VIT(110, 650), v3_95 = IF97R3VIT(95, 640);
  const double chord_20 = EdgeChord(20), chord_206 = EdgeChord(206);
  const RangeCase<VuBranch> rows[] = {
      {"cold liquid above 100 MPa", K.v_min, -0.1, B::kColdLiquid, kAfterSolve},
      {"cold liquid", IF97R1V(90, 273.16), IF97R1U(90, 273.16), B::kColdLiquid, kSolved},
      {"region 5 above 50 MPa", 0.02, 6000, B::k5Dense, kAfterSolve},
      {"region 5 below 50 MPa", 0.02, 4500, B::k5Dense, kSolved},
      {"region 5 below its smallest volume", Down(K.v_2_50_1073), 4000, B::k5Dense, kAtOnce},
      {"region 5 at its smallest volume, above 50 MPa", K.v_2_50_1073, 4500, B::k5Dense,
       kAfterSolve},
      {"region 5 beyond 2273.15 K, small volume", 0.02, 6300, B::k5Dense, kCapped},
      {"region 5 above 2273.15 K", 0.05, 6320, B::k5Hot, kAfterSolve},
      {"region 5 below 2273.15 K", 0.05, 6295, B::k5Hot, kSolved},
      {"region 5 below p_min", 800, 3665.38, B::k5BelowLine, kAfterSolve},
      {"region 5 above p_min", IF97R5V(0.0007, 1100), IF97R5U(0.0007, 1100), B::k5BelowLine,
       kSolved},
      {"1073.15 K band below its smallest volume", Down(K.v_2_100_1073), 3300, B::kSteam1073,
       kAtOnce},
      {"1073.15 K band, region-5 side below its smallest volume", 0.0085, 3650, B::kSteam1073,
       kAfterSolve},
      {"1073.15 K band, region-5 side above 50 MPa", 0.0095, 3650, B::kSteam1073, kAfterSolve},
      {"region 2 above 100 MPa", 0.002, 3000, B::kHigh100MPa, kAfterSolve},
      {"region 2 below 100 MPa", 0.004, 3000, B::kHigh100MPa, kSolved},
      {"region 2 below p_min, above u_b", 1000, 2700, B::kHighBelowLine, kAfterSolve},
      {"region 2 above p_min, above u_b", 350, 2650, B::kHighBelowLine, kSolved},
      {"region 2 below p_min, beside B23", 300, 2450, B::kBesideBelowLine, kAfterSolve},
      {"region 3 above 100 MPa at the B23 energies", 0.0017, 2500, B::kB23Region3, kAfterSolve},
      {"dense region 3 above 100 MPa", 0.0013, 1700, B::kDomeDense, kAfterSolve},
      {"dense region 3 below 100 MPa", 0.0015, 1700, B::kDomeDense, kSolved},
      {"near-critical liquid above 100 MPa", 0.0021, 2300, B::kDomeLiquid, kAfterSolve},
      {"near-critical liquid below 100 MPa", 0.0023, 2400, B::kDomeLiquid, kSolved},
      {"below the lower edge, large volume", 206, Down(chord_206), B::kLargeWet, kAtOnce},
      {"below the lower edge beyond v'' 273.15 K", 210, 2373, B::kLargeWet, kAtOnce},
      {"on the lower edge, large volume", 206, chord_206, B::kLargeWet, kCapped},
      {"above the lower edge, large volume", 206, 2373.5, B::kLargeWet, kSolved},
      {"below the lower edge", 1.0, 0.0, B::kWetSmall, kAtOnce},
      {"below the lower edge at 20 m3/kg", 20, Down(chord_20), B::kWetLarge, kAtOnce},
      {"on the lower edge at 20 m3/kg", 20, chord_20, B::kWetLarge, kCapped},
      // Here the chord, evaluated as difference, division, product, sum,
      // lies one ulp below the same line in other orders.
      {"on the lower edge at 0.506 m3/kg", 0.506, EdgeChord(0.506), B::kWetSmall, kCapped},
      {"above the lower edge at 20 m3/kg", 20, 300, B::kWetLarge, kSolved},
      {"dense band, smallest volume", 0.0013, 1500, B::kDenseUpper, kAtOnce},
      {"dense band above 100 MPa", 0.00101, 500, B::kDenseLower, kAfterSolve},
      {"region 3 at 665.6 K, 107.7 MPa", 0.0014, 1600, B::kDenseUpper, kAfterSolve},
      {"region 3 at 650 K, 110 MPa", v3_110, IF97R3U(650, v3_110), B::kDenseUpper, kAfterSolve},
      {"region 3 at 640 K, 95 MPa", v3_95, IF97R3U(640, v3_95), B::kDenseUpper, kSolved},
      {"u_min at v_min", K.v_min, K.u_min, B::kColdLiquid, kAfterSolve},
      {"u_min at 0.00098", 0.00098, K.u_min, B::kLowest, kAfterSolve},
      {"u_min at v' 273.15 K", 0.0010002069773244, K.u_min, B::kLowest, kAfterSolve},
      {"u_min at 0.5", 0.5, K.u_min, B::kLowest, kAfterSolve},
      {"u_min at 1000", 1000, K.u_min, B::kLowest, kAfterSolve},
      {"u_min at v_max", K.v_max, K.u_min, B::kLowest, kAfterSolve},
  };
  ExpectRanges(rows, VuFlash, IF97PVU);
}

}  // namespace
}  // namespace thermomodels
