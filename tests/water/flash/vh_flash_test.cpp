// The flash from specific volume and enthalpy: its constants, domain, worked
// states, the branch each border literal selects on either side, the
// rejections, and the failure values.
#include <gtest/gtest.h>

#include <cmath>

#include "water/flash/flash.h"
#include "water/flash/flash_checks.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace flash_checks;
constexpr const VhFlashConstants& K = kVhFlash;

TEST(VhFlashConstants, EachNamedRowEqualsItsIf97Value) {
  const double p0 = IF97PSAT(273.15), ps623 = IF97PSAT(623.15);
  const NamedConstant rows[] = {
      {"p_min", kFlashPressureMin, IF97PSAT(273.16)},
      {"v_min", K.v_min, IF97R1V(100, 273.15)},
      {"v_max", K.v_max, IF97R5V(p0, 2273.15)},
      {"h_min", K.h_min, IF97R1H(p0, 273.15)},
      {"h_max", K.h_max, IF97R5H(p0, 2273.15)},
      {"v_tp", K.v_tp, IF97R2V(p0, 273.15)},
      {"h_tp", K.h_tp, IF97R2H(p0, 273.15)},
      {"chord slope", K.chord_slope,
       (IF97R5H(p0, 2273.15) - IF97R2H(p0, 273.15)) / (IF97R5V(p0, 2273.15) - IF97R2V(p0, 273.15))},
      {"h 2/5 at 100 MPa", K.h_2_100_1073, IF97R2H(100, 1073.15)},
      {"h 1073 at p_0", K.h_2_p0_1073, IF97R2H(p0, 1073.15)},
      {"h 5 at 50 MPa, 2273 K", K.h_5_50_2273, IF97R5H(50, 2273.15)},
      {"v 5 at 50 MPa, 2273 K", K.v_5_50_2273, IF97R5V(50, 2273.15)},
      {"v 2 at 50 MPa, 1073 K", K.v_2_50_1073, IF97R2V(50, 1073.15)},
      {"v 2 at 100 MPa, 1073 K", K.v_2_100_1073, IF97R2V(100, 1073.15)},
      {"h'' 623 K", K.h_vap_623, IF97R2H(ps623, 623.15)},
      {"v'' 623 K", K.v_vap_623, IF97R2V(ps623, 623.15)},
      {"h' 623 K", K.h_liq_623, IF97R1H(ps623, 623.15)},
      {"v' 623 K", K.v_liq_623, IF97R1V(ps623, 623.15)},
      {"v at 100 MPa, 863.15 K", K.v_3_100_863, IF97R2V(100, 863.15)},
      {"h 1 at 100 MPa, 273.16 K", K.h_1_100_273, IF97R1H(100, 273.16)},
      {"v' 273.15 K", K.v_liq_273, IF97R1V(p0, 273.15)},
      {"v 1 at 100 MPa, 623.15 K", K.v_dense_min, IF97R1V(100, 623.15)},
      {"h 1 at 100 MPa, 623.15 K", K.h_dense_split, IF97R1H(100, 623.15)},
      {"psat 623.15 K", K.p_sat_623, ps623},
  };
  ExpectConstants(rows);
  // h_b: the B23 line's 100 MPa end in region 2, to ten digits.
  EXPECT_NEAR(K.h_b, IF97R2H(100, 863.15), 5e-7);
  // On the region-3 equation the 100 MPa, 863.15 K volume gives 100 MPa
  // within 4e-6.
  EXPECT_NEAR(IF97R3P(863.15, K.v_3_100_863), 100.0, 4e-4);
  // Above this volume no liquid-like region-3 state between the saturated
  // enthalpies at 623.15 K reaches 100 MPa: the 100 MPa isobar of region 3
  // meets h'' there.
  const double t = 817.306151564;
  EXPECT_NEAR(IF97R3VIT(100, t), K.v_isochore_only, 1e-12);
  EXPECT_NEAR(IF97R3H(t, K.v_isochore_only), K.h_vap_623, 1e-6);
}

TEST(VhFlash, WorkedStatesComeBack) {
  const double t_wet = 400.0, ps = IF97PSAT(t_wet);
  const double vl = IF97R1V(ps, t_wet), vv = IF97R2V(ps, t_wet);
  const double hl = IF97R1H(ps, t_wet), hv = IF97R2H(ps, t_wet);
  const double v3 = IF97R3VIT(70, 800);
  struct Row {
    const char* what;
    double v, h, p, t, x;
    VhBranch branch;
    FlashEnding ending;
  };
  const Row rows[] = {
      {"region 2, 10 MPa, 700 K", IF97R2V(10, 700), IF97R2H(10, 700), 10, 700, -1, VhBranch::k2D,
       FlashEnding::kVapourPair},
      {"region 5, 0.01 MPa, 1500 K", IF97R5V(0.01, 1500), IF97R5H(0.01, 1500), 0.01, 1500, -1,
       VhBranch::k5B, FlashEnding::kRegion5Pair},
      {"wet, 400 K, x = 0.99", vl + 0.99 * (vv - vl), hl + 0.99 * (hv - hl), ps, t_wet, 0.99,
       VhBranch::kSaturatedVapour, FlashEnding::kWetBelow623},
      {"region 3, 70 MPa, 800 K", v3, IF97R3H(800, v3), 70, 800, -1, VhBranch::kB23P,
       FlashEnding::kRegion3Isochore},
      {"region 1, 10 MPa, 300 K", IF97R1V(10, 300), IF97R1H(10, 300), 10, 300, -1,
       VhBranch::kDenseLower, FlashEnding::kLiquidPair},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const VhFlashOutcome out = VhFlash(r.v, r.h);
    EXPECT_EQ(out.branch, r.branch);
    EXPECT_EQ(out.ending, r.ending);
    EXPECT_NEAR(out.p, r.p, 1e-6 * r.p);
    EXPECT_NEAR(out.t, r.t, 1e-6 * r.t);
    EXPECT_NEAR(out.x, r.x, 1e-6);
    if (r.x >= 0) {
      // Two-phase: the pressure is the saturation pressure of the result.
      EXPECT_NEAR(out.p, IF97PSAT(out.t), 1e-9 * out.p);
    }
  }
}

TEST(VhFlash, EachNamedBorderLiteralOnBothSides) {
  const double v_tp = K.v_tp;
  auto chord = [](double v) { return K.h_tp + K.chord_slope * (v - K.v_tp); };
  auto line_a = [](double v) { return 121.26915417542212 + 12.132287680044078 * (v - 10.0); };
  using B = VhBranch;
  const Border<VhBranch> rows[] = {
      {"h 2/5 at 100 MPa", 0.01, K.h_2_100_1073, B::k2D, B::k25, 0.01, Up(K.h_2_100_1073)},
      {"h 1073 at p_0", 1.0, K.h_2_p0_1073, B::k25, B::k5B, 1.0, Up(K.h_2_p0_1073)},
      {"v 5 at 50 MPa", K.v_5_50_2273, 5000, B::k5D, B::k5B, Up(K.v_5_50_2273), 5000},
      {"h 5 at 50 MPa", 1.0, K.h_5_50_2273, B::k5B, B::k5C, 1.0, Up(K.h_5_50_2273)},
      {"p_0 chord, region 5", 1000, chord(1000), B::k5B, B::k5A, 1000, Down(chord(1000))},
      {"p_0 chord, region 2", 400, chord(400), B::k2B, B::k2A, 400, Down(chord(400))},
      {"p_0 chord, below h_b", 300, 2803, B::k2A, B::k2B, 300, 2805},
      {"h_b", 0.01, K.h_b, B::kSaturatedVapour, B::k2D, 0.01, Up(K.h_b)},
      {"v_tp", v_tp, 3000, B::k2D, B::k2B, Up(v_tp), 3000},
      {"v 2 at 100 MPa", K.v_2_100_1073, 3000, B::k2C, B::k2D, Up(K.v_2_100_1073), 3000},
      {"h'' 623 K", 0.005, K.h_vap_623, B::kNearCriticalVapour, B::kB23P, 0.005, Up(K.h_vap_623)},
      {"band top", K.v_band_top, 2600, B::kB23T, B::kSaturatedVapour, Up(K.v_band_top), 2600},
      {"v 100 MPa 863 K", K.v_3_100_863, 2700, B::kRegion3Upper, B::kB23P, Up(K.v_3_100_863), 2700},
      {"v'' 623 K, B23", K.v_vap_623, 2600, B::kB23T, B::kB23P, Down(K.v_vap_623), 2600},
      {"h of the B23 band", K.v_vap_623, K.h_b23_band, B::kB23T, B::k2E, K.v_vap_623,
       Up(K.h_b23_band)},
      {"h' 623 K", 0.005, K.h_liq_623, B::kWetMiddle, B::kNearCriticalVapour, 0.005,
       Up(K.h_liq_623)},
      {"v'' 623 K, wet", K.v_vap_623, 2000, B::kNearCriticalVapour, B::kWetAboveLineA,
       Up(K.v_vap_623), 2000},
      {"h_tp", 1.0, K.h_tp, B::kWetAboveLineA, B::kSaturatedVapour, 1.0, Up(K.h_tp)},
      {"line A", 150, line_a(150), B::kWetBelowLineA, B::kWetAboveLineA, 150, Up(line_a(150))},
      {"critical volume", kFlashCriticalVolume, 2000, B::kNearCriticalLiquid,
       B::kNearCriticalVapour, Up(kFlashCriticalVolume), 2000},
      {"v' 623 K, region 3", K.v_liq_623, 2000, B::kRegion3Lower, B::kNearCriticalLiquid,
       Up(K.v_liq_623), 2000},
      {"h 1 at 100 MPa, 273.16 K", 0.5, K.h_1_100_273, B::kLowest, B::kWetMiddle, 0.5,
       Up(K.h_1_100_273)},
      {"v = 10", 10, 500, B::kWetMiddle, B::kWetMiddleLarge, Up(10.0), 500},
      {"v' 623 K, liquid", K.v_liq_623, 1000, B::kDenseLower, B::kWetMiddle, Up(K.v_liq_623), 1000},
      {"dense split", 0.0015, K.h_dense_split, B::kDenseUpper, B::kDenseLower, 0.0015,
       Down(K.h_dense_split)},
      {"v' 273.15 K", K.v_liq_273, 50, B::kLowest, B::kLowestDense, Down(K.v_liq_273), 50},
  };
  ExpectBothSides(rows, [](double v, double h) { return VhFlash(v, h).branch; });
}

TEST(VhFlash, RangeTestsOnBothSidesOfEachLimit) {
  using B = VhBranch;
  const double v3_105 = IF97R3VIT(105, 640), v3_95 = IF97R3VIT(95, 640);
  const RangeCase<VhBranch> rows[] = {
      {"5A below p_min", 1500, 5000, B::k5A, kAfterSolve},
      {"5A above p_min", 1000, 5000, B::k5A, kSolved},
      {"5C above 2273.15 K", 1.0, K.h_max, B::k5C, kAfterSolve},
      {"5C below 2273.15 K", 1.0, 7370, B::k5C, kSolved},
      {"5D above 50 MPa", 0.0095, 5000, B::k5D, kAfterSolve},
      {"5D below 50 MPa", 0.02, 5000, B::k5D, kSolved},
      {"5D at the smallest region-5 volume", K.v_2_50_1073, 4700, B::k5D, kAfterSolve},
      {"5D below it", Down(K.v_2_50_1073), 4700, B::k5D, kAtOnce},
      {"25 at v 2 at 100 MPa", K.v_2_100_1073, 3720, B::k25, kAfterSolve},
      {"25 below it", Down(K.v_2_100_1073), 3720, B::k25, kAtOnce},
      {"25, region-5 side below the 50 MPa volume", 0.0085, 4150, B::k25, kAfterSolve},
      {"25, region-2 side", 0.0085, 3800, B::k25, kSolved},
      {"2A below p_min", 1000, 2900, B::k2A, kAfterSolve},
      {"2C above 100 MPa", 0.002, 3000, B::k2C, kAfterSolve},
      {"2C below 100 MPa", 0.004, 3000, B::k2C, kSolved},
      {"below the triple line", 20, 200, B::kWetMiddleLarge, kAtOnce},
      {"above the triple line", 20, 300, B::kWetMiddleLarge, kSolved},
      {"below the triple line, small volume", 9.5, 100, B::kWetMiddle, kAtOnce},
      {"below the triple line, upper band", 150, 1800, B::kWetBelowLineA, kAtOnce},
      {"below the triple line, lowest band", 0.5, 1, B::kLowest, kAtOnce},
      {"upper dense band, smallest volume", K.v_dense_min, 1560, B::kDenseUpper, kAfterSolve},
      {"region 3 at 640 K, 105 MPa", v3_105, IF97R3H(640, v3_105), B::kDenseUpper, kAfterSolve},
      {"region 3 at 640 K, 95 MPa", v3_95, IF97R3H(640, v3_95), B::kDenseUpper, kSolved},
      {"upper dense band, below it", Down(K.v_dense_min), 1560, B::kDenseUpper, kAtOnce},
      {"region 3 upper, above 100 MPa", 0.0017, 2600, B::kRegion3Upper, kAfterSolve},
      {"region 3 lower, above 100 MPa", 0.0013, 1700, B::kRegion3Lower, kAfterSolve},
      {"near-critical liquid above 100 MPa", 0.0020, 2550, B::kNearCriticalLiquid, kAfterSolve},
      {"near-critical liquid below 100 MPa", 0.0021, 2000, B::kNearCriticalLiquid, kSolved},
      {"lower dense band above 100 MPa", 0.00098, 400, B::kDenseLower, kAfterSolve},
      {"coldest dense state beyond 273.16 K", 0.00099, 10, B::kLowestDense, kAfterSolve},
      {"coldest dense state", 0.000999, 10, B::kLowestDense, kSolved},
  };
  ExpectRanges(rows, VhFlash, IF97PVH);
}

TEST(VhFlash, SaturatedVapourLineSeparatesVapourFromWetSteam) {
  for (double p : {0.01, 1.0, 10.0}) {
    const double ts = IF97TSAT(p);
    SCOPED_TRACE(::testing::Message() << "p = " << p << " MPa");
    // 50 mK above saturation: vapour, although h exceeds h'' by well under 1 kJ/kg.
    const VhFlashOutcome vapour = VhFlash(IF97R2V(p, ts + 0.05), IF97R2H(p, ts + 0.05));
    EXPECT_EQ(vapour.branch, VhBranch::kSaturatedVapour);
    EXPECT_EQ(vapour.ending, FlashEnding::kVapourPair);
    EXPECT_EQ(vapour.x, -1.0);
    EXPECT_NEAR(vapour.t, ts + 0.05, 2e-6 * ts);
    // Quality 0.9999 just inside the dome.
    const double vl = IF97R1V(p, ts), vv = IF97R2V(p, ts);
    const double hl = IF97R1H(p, ts), hv = IF97R2H(p, ts);
    const VhFlashOutcome wet = VhFlash(vl + 0.9999 * (vv - vl), hl + 0.9999 * (hv - hl));
    EXPECT_EQ(wet.ending, FlashEnding::kWetBelow623);
    EXPECT_NEAR(wet.x, 0.9999, 1e-5);
  }
}

}  // namespace
}  // namespace thermomodels
