// The flash from specific volume and enthalpy: its constants, the branch
// each border literal selects on either side, and the range tests.
#include <gtest/gtest.h>

#include <cmath>

#include "water/flash/flash.h"
#include "water/flash/flash_checks.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace flash_checks;
constexpr const VhFlashConstants& K = kVhFlash;

TEST(VhFlashConstants, EqualTheIf97ValuesTheyAreNamedAfter) {
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

TEST(VhFlash, EachBorderLiteralOnBothSides) {
  const double v_tp = K.v_tp;
  auto chord = [](double v) { return K.h_tp + K.chord_slope * (v - K.v_tp); };
  auto line_a = [](double v) { return 121.26915417542212 + 12.132287680044078 * (v - 10.0); };
  using B = VhBranch;
  const Border<VhBranch> rows[] = {
      {"h 2/5 at 100 MPa", 0.01, K.h_2_100_1073, B::k2D, B::k25, kUpE},
      {"h 1073 at p_0", 1.0, K.h_2_p0_1073, B::k25, B::k5B, kUpE},
      {"v 5 at 50 MPa", K.v_5_50_2273, 5000, B::k5D, B::k5B, kUpV},
      {"h 5 at 50 MPa", 1.0, K.h_5_50_2273, B::k5B, B::k5C, kUpE},
      {"p_0 chord, region 5", 1000, chord(1000), B::k5B, B::k5A, kDownE},
      {"p_0 chord, region 2", 400, chord(400), B::k2B, B::k2A, kDownE},
      {"p_0 chord, below h_b", 300, chord(300), B::k2B, B::k2A, kDownE},
      {"h_b", 0.01, K.h_b, B::kSaturatedVapour, B::k2D, kUpE},
      {"v_tp", v_tp, 3000, B::k2D, B::k2B, kUpV},
      {"v 2 at 100 MPa", K.v_2_100_1073, 3000, B::k2C, B::k2D, kUpV},
      {"h'' 623 K", 0.005, K.h_vap_623, B::kNearCriticalVapour, B::kB23P, kUpE},
      {"band top", K.v_band_top, 2600, B::kB23T, B::kSaturatedVapour, kUpV},
      {"v 100 MPa 863 K", K.v_3_100_863, 2700, B::kRegion3Upper, B::kB23P, kUpV},
      {"v'' 623 K, B23", K.v_vap_623, 2600, B::kB23T, B::kB23P, kDownV},
      {"h of the B23 band", K.v_vap_623, K.h_b23_band, B::kB23T, B::k2E, kUpE},
      {"h' 623 K", 0.005, K.h_liq_623, B::kWetMiddle, B::kNearCriticalVapour, kUpE},
      {"v'' 623 K, wet", K.v_vap_623, 2000, B::kNearCriticalVapour, B::kWetAboveLineA, kUpV},
      {"h_tp", 1.0, K.h_tp, B::kWetAboveLineA, B::kSaturatedVapour, kUpE},
      {"line A", 150, line_a(150), B::kWetBelowLineA, B::kWetAboveLineA, kUpE},
      {"critical volume", kFlashCriticalVolume, 2000, B::kNearCriticalLiquid,
       B::kNearCriticalVapour, kUpV},
      {"v' 623 K, region 3", K.v_liq_623, 2000, B::kRegion3Lower, B::kNearCriticalLiquid, kUpV},
      {"h 1 at 100 MPa, 273.16 K", 0.5, K.h_1_100_273, B::kLowest, B::kWetMiddle, kUpE},
      {"v = 10", 10, 500, B::kWetMiddle, B::kWetMiddleLarge, kUpV},
      {"v' 623 K, liquid", K.v_liq_623, 1000, B::kDenseLower, B::kWetMiddle, kUpV},
      {"dense split", 0.0015, K.h_dense_split, B::kDenseUpper, B::kDenseLower, kDownE},
      {"v' 273.15 K", K.v_liq_273, 50, B::kLowest, B::kLowestDense, kDownV},
  };
  ExpectBothSides(rows, [](double v, double h) { return VhFlash(v, h).branch; });
}

TEST(VhFlash, RangeTestsRejectStatesBeyondTheFormulation) {
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

}  // namespace
}  // namespace thermomodels
