// The flash from specific volume and internal energy: its constants, domain,
// worked states, the band and path each border literal selects on either
// side, the rejections, and the failure values.
#include <gtest/gtest.h>

#include <cmath>

#include "water/flash/flash.h"
#include "water/flash/flash_checks.h"
#include "water/flash/flash_states.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace flash_checks;
// IF97 Eq. 5, written out here so the tests do not lean on the flash's copy.
double B23(double t) { return 348.05185628969 - 1.1671859879975 * t + 0.0010192970039326 * t * t; }
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

// Saturated-vapour volume and energy of regions 1 and 2 at T.
double SaturatedVapourVolume(double t) { return IF97R2V(IF97PSAT(t), t); }
double SaturatedVapourEnergy(double t) { return IF97R2U(IF97PSAT(t), t); }

// The lines of the map, as an independent evaluation from IF97 values.
double LowPressureLine(double v) {
  return (v - 206.139716300646) * 2.6179757622163686 + 2373.89740988944;
}
double EdgeChord(double v) {
  return (v - 0.0010002069773244) / 206.13871609366868 * 2373.9396090546124 + (-0.0421991651726097);
}

TEST(VuFlashConstants, EachNamedRowEqualsItsIf97Value) {
  const double p0 = IF97PSAT(273.15), ps623 = IF97PSAT(623.15);
  const double u_edge_end = IF97R2U(p0, 273.15) - 1.0;
  const double edge_dv = IF97R2V(p0, 273.15) - IF97R1V(p0, 273.15);
  const double edge_du = u_edge_end - IF97R1U(p0, 273.15);
  const NamedConstant rows[] = {
      {"p_min", kFlashPressureMin, IF97PSAT(273.16)},
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
  // Values found by solving; the volumes are given to twelve digits.
  struct Solved {
    const char* what;
    double constant, value, relative;
  };
  const Solved solved[] = {
      // The saturated vapour whose energy is u_b, on both sides of its maximum.
      {"window, low volume", K.v_window_lo,
       SaturatedVapourVolume(
           Bisect([&](double t) { return SaturatedVapourEnergy(t) - K.u_b; }, 540, 620)),
       5e-12},
      {"window, high volume", K.v_window_hi,
       SaturatedVapourVolume(
           Bisect([&](double t) { return SaturatedVapourEnergy(t) - K.u_b; }, 373, 500)),
       5e-12},
      // The region-3 100 MPa isobar at u''(623.15 K).
      {"isochore-only volume", K.v_isochore_only,
       IF97R3VIT(100, Bisect([](double t) { return IF97R3U(t, IF97R3VIT(100, t)) - K.u_vap_623; },
                             700, 863.15)),
       5e-12},
      // The local maximum of the region-2 energy along the B23 line: the zero
      // of its derivative by central differences.
      {"B23 band", K.u_b23_band,
       [] {
         auto u = [](double t) { return IF97R2U(B23(t), t); };
         const double t = Bisect([&](double t) { return u(t + 1e-4) - u(t - 1e-4); }, 640, 700);
         return u(t);
       }(),
       1e-12},
  };
  for (const Solved& r : solved) {
    EXPECT_NEAR(r.constant, r.value, r.relative * std::fabs(r.value)) << r.what;
  }
  EXPECT_GT(K.v_band_top, K.v_vap_623);
  EXPECT_LT(K.v_band_top, K.v_vap_623 * (1 + 1e-4));
  // The B23 temperature at pB23(623.15 K) is 623.15 K (IF97 Eqs. 5 and 6).
  EXPECT_NEAR(IF97B23T(B23(623.15)), 623.15, 1e-9);
}

flash_states::State Single(double p, double t, double v, double u) {
  return {p, t, -1.0, v, 0.0, u};
}
flash_states::State Region1(double p, double t) {
  return Single(p, t, IF97R1V(p, t), IF97R1U(p, t));
}
flash_states::State Region2(double p, double t) {
  return Single(p, t, IF97R2V(p, t), IF97R2U(p, t));
}
flash_states::State Region5(double p, double t) {
  return Single(p, t, IF97R5V(p, t), IF97R5U(p, t));
}

TEST(VuFlash, WorkedStatesComeBack) {
  using B = VuBranch;
  using E = FlashEnding;
  struct Row {
    const char* what;
    flash_states::State s;
    VuBranch branch;
    FlashEnding ending;
  };
  const Row rows[] = {
      {"wet, 373.15 K, x = 0.8", flash_states::Wet(373.15, 0.8, false), B::kLargeWet,
       E::kWetBelow623},
      {"wet, 373.15 K, x = 0.5", flash_states::Wet(373.15, 0.5, false), B::kWetSmall,
       E::kWetBelow623},
      {"wet, 373.15 K, x = 0.0004", flash_states::Wet(373.15, 0.0004, false), B::kDenseLower,
       E::kWetBelow623},
      {"wet, 600 K, x = 0.01", flash_states::Wet(600, 0.01, false), B::kDenseUpper,
       E::kWetBelow623},
      {"region 2, 0.0035 MPa, 300 K", Region2(0.0035, 300), B::kLargeSaturatedVapour,
       E::kVapourPair},
      {"region 2, 1 MPa, 500 K", Region2(1, 500), B::kHighSaturatedVapour, E::kVapourPair},
      {"region 2, 10 MPa, 1000 K", Region2(10, 1000), B::kSteam1073, E::kVapourPair},
      {"region 1, 10 MPa, 400 K", Region1(10, 400), B::kDenseLower, E::kLiquidPair},
      {"region 1, 17 MPa, 615 K", Region1(17, 615), B::kDenseUpper, E::kLiquidPair},
      {"region 1, 90 MPa, 273.16 K", Region1(90, 273.16), B::kColdLiquid, E::kLiquidPair},
      {"region 3, 650 K, 0.0015 m3/kg", Single(62.4152058, 650, 0.0015, IF97R3U(650, 0.0015)),
       B::kDenseUpper, E::kRegion3Isochore},
      {"region 5, 40 MPa, 1100 K", Region5(40, 1100), B::kSteam1073, E::kRegion5Pair},
      {"region 5, 20 MPa, 1100 K", Region5(20, 1100), B::kSteam1073, E::kRegion5Pair},
      {"region 5, 30 MPa, 2000 K", Region5(30, 2000), B::k5AboveLine, E::kRegion5Pair},
      {"corner of 100 MPa and 623.15 K", Single(100, 623.15, 0.00131176002700415, 1422.74650067119),
       B::kDenseUpper, E::kLiquidPair},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const VuFlashOutcome out = VuFlash(r.s.v, r.s.u);
    EXPECT_EQ(out.branch, r.branch);
    EXPECT_EQ(out.ending, r.ending);
    EXPECT_NEAR(out.t, r.s.t, 2e-6 * r.s.t);
    EXPECT_NEAR(out.p, r.s.p, std::fmax(2e-5 * r.s.p, 2e-6));
    EXPECT_NEAR(out.x, r.s.x, 1e-5);
    // Two-phase: the pressure is the saturation pressure of the result.
    if (r.s.x >= 0) {
      EXPECT_NEAR(out.p, IF97PSAT(out.t), 1e-9 * out.p);
    }
  }
}

TEST(VuFlash, EachNamedBandBorderOnBothSides) {
  using D = VuBand;
  const Border<VuBand> rows[] = {
      {"u' 273.15 K", 0.001, K.u_liq_273, D::kDense, D::kColdLiquid, 0.001, Down(K.u_liq_273)},
      {"u' 273.15 K, wet", 0.5, K.u_liq_273, D::kWet, D::kColdLiquid, 0.5, Down(K.u_liq_273)},
      {"u 2 at 100 MPa, 1073 K", 0.01, K.u_2_100_1073, D::kVapourAboveB23, D::kSteam1073, 0.01,
       Up(K.u_2_100_1073)},
      {"u 2 at p_0, 1073 K", 0.01, K.u_2_p0_1073, D::kSteam1073, D::kRegion5, 0.01,
       Up(K.u_2_p0_1073)},
      {"u_b, small volume", 0.005, K.u_b, D::kB23, D::kVapourAboveB23, 0.005, Up(K.u_b)},
      {"u_b, large volume", 0.01, K.u_b, D::kVapourBesideB23, D::kVapourAboveB23, 0.01, Up(K.u_b)},
      {"u'' 623 K, small volume", 0.005, K.u_vap_623, D::kDome, D::kB23, 0.005, Up(K.u_vap_623)},
      {"u'' 623 K, large volume", 0.01, K.u_vap_623, D::kWetOrVapour, D::kVapourBesideB23, 0.01,
       Up(K.u_vap_623)},
      {"u' 623 K, small volume", 0.001, K.u_liq_623, D::kDense, D::kDome, 0.001, Up(K.u_liq_623)},
      {"u' 623 K, large volume", 0.5, K.u_liq_623, D::kWet, D::kWetOrVapour, 0.5, Up(K.u_liq_623)},
      {"band top", K.v_band_top, 2500, D::kB23, D::kVapourBesideB23, Up(K.v_band_top), 2500},
      {"v'' 623 K", K.v_vap_623, 2000, D::kDome, D::kWetOrVapour, Up(K.v_vap_623), 2000},
      {"v' 623 K", K.v_liq_623, 1000, D::kDense, D::kWet, Up(K.v_liq_623), 1000},
  };
  ExpectBothSides(rows, [](double v, double u) { return VuFlash(v, u).band; });
}

TEST(VuFlash, EachNamedPathBorderOnBothSides) {
  using B = VuBranch;
  const double line_5 = LowPressureLine(1000), line_high = LowPressureLine(300),
               line_beside = LowPressureLine(250);
  const Border<VuBranch> rows[] = {
      {"v 5 at 50 MPa", K.v_5_50_2273, 5000, B::k5Dense, B::k5AboveLine, Up(K.v_5_50_2273), 5000},
      {"u 5 at 50 MPa", 1.0, K.u_5_50_2273, B::k5AboveLine, B::k5Hot, 1.0, Up(K.u_5_50_2273)},
      {"p_0 line, region 5", 1000, line_5, B::k5AboveLine, B::k5BelowLine, 1000, Down(line_5)},
      {"window, low volume", K.v_window_lo, 2600, B::kHighVapour, B::kHighSaturatedVapour,
       Up(K.v_window_lo), 2600},
      {"window, high volume", K.v_window_hi, 2600, B::kHighVapour, B::kHighSaturatedVapour,
       Down(K.v_window_hi), 2600},
      {"v'' 273.15 K, above u_b", K.v_tp, 3000, B::kHighVapour, B::kHighAboveLine, Up(K.v_tp),
       3000},
      {"v 2 at 100 MPa, 1073 K", K.v_2_100_1073, 3000, B::kHigh100MPa, B::kHighVapour,
       Up(K.v_2_100_1073), 3000},
      {"p_0 line, above u_b", 300, line_high, B::kHighAboveLine, B::kHighBelowLine, 300,
       Down(line_high)},
      {"v 2 at 100 MPa, 863 K", K.v_3_100_863, 2500, B::kB23Region3, B::kB23P, Up(K.v_3_100_863),
       2500},
      {"v'' 623 K, B23", K.v_vap_623, 2450, B::kB23T, B::kB23P, Down(K.v_vap_623), 2450},
      {"B23 band energy", K.v_vap_623, K.u_b23_band, B::kB23T, B::kB23Vapour, K.v_vap_623,
       Up(K.u_b23_band)},
      {"v'' 273.15 K, beside B23", K.v_tp, 2500, B::kBesideSaturatedVapour, B::kBesideAboveLine,
       Up(K.v_tp), 2500},
      {"p_0 line, beside B23", 250, line_beside, B::kBesideAboveLine, B::kBesideBelowLine, 250,
       Down(line_beside)},
      {"end of the lower edge", 1.0, K.u_edge_end, B::kLargeWet, B::kLargeSaturatedVapour, 1.0,
       Up(K.u_edge_end)},
      {"critical volume", kFlashCriticalVolume, 2000, B::kDomeLiquid, B::kDomeVapour,
       Up(kFlashCriticalVolume), 2000},
      {"v' 623 K, dome", K.v_liq_623, 2000, B::kDomeDense, B::kDomeLiquid, Up(K.v_liq_623), 2000},
      {"dense split", 0.0015, K.u_dense_split, B::kDenseUpper, B::kDenseLower, 0.0015,
       Down(K.u_dense_split)},
      {"v = 10", 10, 500, B::kWetSmall, B::kWetLarge, Up(10.0), 500},
      {"u_min", 0.5, K.u_min, B::kLowest, B::kWetSmall, 0.5, Up(K.u_min)},
  };
  ExpectBothSides(rows, [](double v, double u) { return VuFlash(v, u).branch; });
}

TEST(VuFlash, RangeTestsOnBothSidesOfEachLimit) {
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
  };
  ExpectRanges(rows, VuFlash, IF97PVU);
}

TEST(VuFlash, OnThe623KLineTheWetSolveOfRegions1And2Runs) {
  // Between the saturated volumes of 623.15 K, a two-phase state on the
  // straight line through the saturated states of regions 1 and 2 at
  // 623.15 K is wet on their saturated volumes, one just above it on those
  // of region 3. At 0.00269 m3/kg the line, evaluated as difference,
  // division, product, sum, lies one ulp above the same line in other orders.
  for (double v : {0.0022, 0.00269, 0.005}) {
    SCOPED_TRACE(::testing::Message() << "v = " << v);
    const double line =
        (v - 0.0017400705518799) / 0.007060861379695999 * 776.0236481040602 + 1642.09630631134;
    EXPECT_EQ(VuFlash(v, line).ending, FlashEnding::kWetBelow623);
    EXPECT_EQ(VuFlash(v, Up(line)).ending, FlashEnding::kWetRegion3);
  }
}

TEST(VuFlash, TheLowestEnergyIsAlwaysRejected) {
  for (double v : {K.v_min, 0.00098, 0.0010002069773244, 0.5, 1000.0, K.v_max}) {
    double p = 0, t = 0, x = 0;
    IF97VUFLASH(p, t, x, v, K.u_min);
    EXPECT_EQ(p, -1.0) << "v = " << v;
    EXPECT_EQ(t, -1.0) << "v = " << v;
    EXPECT_EQ(x, -1.0) << "v = " << v;
  }
  EXPECT_EQ(VuFlash(0.5, K.u_min).branch, VuBranch::kLowest);
}

}  // namespace
}  // namespace thermomodels
