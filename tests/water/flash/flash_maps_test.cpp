// The maps of the flashes from (v, h) and (v, u): their constants against
// IF97, the choice on and one ulp beyond each border literal, the range tests.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "water/flash/flash.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr const VhFlashConstants& KH = kVhFlash;
constexpr const VuFlashConstants& KU = kVuFlash;

double Down(double x) { return std::nextafter(x, -HUGE_VAL); }

// A constant against the IF97 value it is named after: within 1e-12
// relative, never tighter than 3e-10 (region-1 values near 273 K are sums
// of terms of order 1e3 kJ/kg whose last digits depend on the summation).
struct NamedConstant {
  const char* what;
  double constant, value;
};
void ExpectConstants(std::initializer_list<NamedConstant> rows) {
  for (const NamedConstant& r : rows) {
    EXPECT_NEAR(r.constant, r.value, std::fmax(1e-12 * std::fabs(r.value), 3e-10)) << r.what;
  }
}

// A border literal: the choice (band, branch or ending) on it, and one ulp
// beyond it, up or down in v or in e.
enum Beyond { kUpV, kDownV, kUpE, kDownE };
template <class Choice>
struct Border {
  double v, e;
  Choice on, beyond;
  Beyond step;
};
template <class Choice, size_t N, class Pick>
void ExpectBothSides(const Border<Choice> (&rows)[N], Pick pick) {
  for (const Border<Choice>& r : rows) {
    double at[2] = {r.v, r.e};
    at[r.step / 2] = std::nextafter(at[r.step / 2], r.step % 2 == 0 ? HUGE_VAL : -HUGE_VAL);
    SCOPED_TRACE(::testing::Message() << "literal at v = " << r.v << ", e = " << r.e);
    EXPECT_EQ(pick(r.v, r.e), r.on);
    EXPECT_EQ(pick(at[0], at[1]), r.beyond);
  }
}

// How a state of the range tests ends: solved; rejected before any solve
// (-1.0) or after an edge solve; or its final solve has no root and stops at
// its cap (-1000.0). The bar-pressure wrapper gives -1.0 unless solved.
enum Expected { kSolved, kAtOnce, kAfterSolve, kCapped };
template <class Branch>
struct RangeCase {
  double v, e;
  Branch branch;
  Expected outcome;
};
template <class Branch, size_t N, class Run, class Bar>
void ExpectRanges(const RangeCase<Branch> (&rows)[N], Run run, Bar bar) {
  for (const RangeCase<Branch>& r : rows) {
    SCOPED_TRACE(::testing::Message() << "v = " << r.v << ", e = " << r.e);
    const auto out = run(r.v, r.e);
    const bool solved = r.outcome == kSolved, capped = r.outcome == kCapped;
    const double fail = capped ? kFlashNotConverged : -1.0;
    EXPECT_EQ(out.branch, r.branch);
    EXPECT_EQ(bar(r.v, r.e) == -1.0, !solved);
    EXPECT_EQ(out.evaluations > 0, r.outcome != kAtOnce);
    EXPECT_TRUE(solved ? out.t >= 273.15 : out.p == fail && out.t == fail && out.x == fail);
    EXPECT_EQ(out.ending == FlashEnding::kNotConverged, capped);
    EXPECT_EQ(out.ending == FlashEnding::kRejected, !solved && !capped);
  }
}

// Root of f on [a, b], where f changes sign, by bisection.
template <typename F>
double Bisect(F f, double a, double b) {
  const bool rising = f(b) > f(a);
  for (int i = 0; i < 200; ++i) ((f(0.5 * (a + b)) > 0) == rising ? b : a) = 0.5 * (a + b);
  return 0.5 * (a + b);
}

// The lines of the map, as an independent evaluation from IF97 values.
double LowPressureLine(double v) { return (v - 206.139716300646) * 2.6179757622163686 + 2373.89740988944; }
double EdgeChord(double v) {
  return (v - 0.0010002069773244) / 206.13871609366868 * 2373.9396090546124 - 0.0421991651726097;
}

TEST(VhFlashConstants, EqualTheIf97ValuesTheyAreNamedAfter) {
  const double p0 = IF97PSAT(273.15), ps = IF97PSAT(623.15);
  const double h5 = IF97R5H(p0, 2273.15), v5 = IF97R5V(p0, 2273.15);
#define C(name, value) {#name, KH.name, value}
  ExpectConstants({
      {"p_min", kFlashPressureMin, IF97PSAT(273.16)}, C(p_sat_623, ps), C(v_max, v5), C(h_max, h5),
      C(v_min, IF97R1V(100, 273.15)),     C(h_min, IF97R1H(p0, 273.15)),
      C(v_tp, IF97R2V(p0, 273.15)),       C(h_tp, IF97R2H(p0, 273.15)),
      C(h_2_100_1073, IF97R2H(100, 1073.15)), C(h_2_p0_1073, IF97R2H(p0, 1073.15)),
      C(h_5_50_2273, IF97R5H(50, 2273.15)),   C(v_5_50_2273, IF97R5V(50, 2273.15)),
      C(v_2_50_1073, IF97R2V(50, 1073.15)),   C(v_2_100_1073, IF97R2V(100, 1073.15)),
      C(h_vap_623, IF97R2H(ps, 623.15)),      C(v_vap_623, IF97R2V(ps, 623.15)),
      C(h_liq_623, IF97R1H(ps, 623.15)),      C(v_liq_623, IF97R1V(ps, 623.15)),
      C(v_liq_273, IF97R1V(p0, 273.15)),      C(v_3_100_863, IF97R2V(100, 863.15)),
      C(h_1_100_273, IF97R1H(100, 273.16)),   C(v_dense_min, IF97R1V(100, 623.15)),
      C(h_dense_split, IF97R1H(100, 623.15)), C(chord_slope, (h5 - KH.h_tp) / (v5 - KH.v_tp)),
  });
#undef C
  EXPECT_NEAR(KH.h_b, IF97R2H(100, 863.15), 5e-7);  // the B23 line's 100 MPa end, ten digits
  EXPECT_NEAR(IF97R3P(863.15, KH.v_3_100_863), 100.0, 4e-4);
  // The region-3 100 MPa isobar meets h'' 623 K at v_isochore_only.
  const double t = 817.306151564;
  EXPECT_NEAR(IF97R3VIT(100, t), KH.v_isochore_only, 1e-12);
  EXPECT_NEAR(IF97R3H(t, KH.v_isochore_only), KH.h_vap_623, 1e-6);
}

TEST(VhFlash, EachBorderLiteralOnBothSides) {
  auto chord = [](double v) { return KH.h_tp + KH.chord_slope * (v - KH.v_tp); };
  auto line_a = [](double v) { return 121.26915417542212 + 12.132287680044078 * (v - 10.0); };
  using enum VhBranch;
  const Border<VhBranch> rows[] = {
      {0.01, KH.h_2_100_1073, k2D, k25, kUpE}, {1.0, KH.h_2_p0_1073, k25, k5B, kUpE},
      {KH.v_5_50_2273, 5000, k5D, k5B, kUpV}, {1.0, KH.h_5_50_2273, k5B, k5C, kUpE},
      {1000, chord(1000), k5B, k5A, kDownE}, {400, chord(400), k2B, k2A, kDownE},
      {300, chord(300), k2B, k2A, kDownE}, {0.01, KH.h_b, kSaturatedVapour, k2D, kUpE},
      {KH.v_tp, 3000, k2D, k2B, kUpV}, {KH.v_2_100_1073, 3000, k2C, k2D, kUpV},
      {0.005, KH.h_vap_623, kNearCriticalVapour, kB23P, kUpE},
      {KH.v_band_top, 2600, kB23T, kSaturatedVapour, kUpV},
      {KH.v_3_100_863, 2700, kRegion3Upper, kB23P, kUpV},
      {KH.v_vap_623, 2600, kB23T, kB23P, kDownV}, {KH.v_vap_623, KH.h_b23_band, kB23T, k2E, kUpE},
      {0.005, KH.h_liq_623, kWetMiddle, kNearCriticalVapour, kUpE},
      {KH.v_vap_623, 2000, kNearCriticalVapour, kWetAboveLineA, kUpV},
      {1.0, KH.h_tp, kWetAboveLineA, kSaturatedVapour, kUpE},
      {150, line_a(150), kWetBelowLineA, kWetAboveLineA, kUpE},
      {kFlashCriticalVolume, 2000, kNearCriticalLiquid, kNearCriticalVapour, kUpV},
      {KH.v_liq_623, 2000, kRegion3Lower, kNearCriticalLiquid, kUpV},
      {0.5, KH.h_1_100_273, kLowest, kWetMiddle, kUpE},
      {10, 500, kWetMiddle, kWetMiddleLarge, kUpV},
      {KH.v_liq_623, 1000, kDenseLower, kWetMiddle, kUpV},
      {0.0015, KH.h_dense_split, kDenseUpper, kDenseLower, kDownE},
      {KH.v_liq_273, 50, kLowest, kLowestDense, kDownV},
  };
  ExpectBothSides(rows, [](double v, double h) { return VhFlash(v, h).branch; });
}

TEST(VhFlash, RangeTestsRejectStatesBeyondTheFormulation) {
  using enum VhBranch;
  const double v3_105 = IF97R3VIT(105, 640), v3_95 = IF97R3VIT(95, 640);
  const RangeCase<VhBranch> rows[] = {
      {1500, 5000, k5A, kAfterSolve}, {KH.v_2_50_1073, 4700, k5D, kAfterSolve},
      {Down(KH.v_2_50_1073), 4700, k5D, kAtOnce}, {KH.v_2_100_1073, 3720, k25, kAfterSolve},
      {Down(KH.v_2_100_1073), 3720, k25, kAtOnce}, {0.0085, 4150, k25, kAfterSolve},
      {0.0085, 3800, k25, kSolved}, {20, 200, kWetMiddleLarge, kAtOnce},
      {9.5, 100, kWetMiddle, kAtOnce}, {150, 1800, kWetBelowLineA, kAtOnce},
      {0.5, 1, kLowest, kAtOnce}, {KH.v_dense_min, 1560, kDenseUpper, kAfterSolve},
      {Down(KH.v_dense_min), 1560, kDenseUpper, kAtOnce},
      {v3_105, IF97R3H(640, v3_105), kDenseUpper, kAfterSolve},
      {v3_95, IF97R3H(640, v3_95), kDenseUpper, kSolved}, {0.00099, 10, kLowestDense, kAfterSolve},
      {0.000999, 10, kLowestDense, kSolved}, {0.0095, KH.h_max, k5D, kCapped},
      {212.7267048, 2508.145842, kSaturatedVapour, kCapped},
  };
  ExpectRanges(rows, VhFlash, IF97PVH);
}

TEST(VuFlashConstants, EqualTheIf97ValuesTheyAreNamedAfter) {
  const double p0 = IF97PSAT(273.15), ps = IF97PSAT(623.15);
  const double v_l = IF97R1V(p0, 273.15), u_l = IF97R1U(p0, 273.15), v_v = IF97R2V(p0, 273.15);
  const double u_end = IF97R2U(p0, 273.15) - 1.0, dv = v_v - v_l, du = u_end - u_l;
  const double v_l623 = IF97R1V(ps, 623.15), u_l623 = IF97R1U(ps, 623.15);
  const double v_v623 = IF97R2V(ps, 623.15), u_v623 = IF97R2U(ps, 623.15);
  const double v5 = IF97R5V(p0, 2273.15), u5 = IF97R5U(p0, 2273.15);
#define C(name, value) {#name, KU.name, value}
  ExpectConstants({
      C(v_min, IF97R1V(100, 273.15)), C(u_min, IF97R1U(100, 273.15)), C(v_max, v5), C(u_max, u5),
      C(u_liq_273, u_l), C(v_liq_273, v_l), C(v_tp, v_v), C(u_edge_end, u_end), C(edge_dv, dv),
      C(edge_du, du), C(edge_slope, du / dv), C(edge_slope_large, du / dv),
      C(edge_at_10, u_l + (10.0 - v_l) * du / dv), C(low_line_slope, (u5 - u_end) / (v5 - v_v)),
      C(u_2_100_1073, IF97R2U(100, 1073.15)), C(u_2_p0_1073, IF97R2U(p0, 1073.15)),
      C(u_5_50_2273, IF97R5U(50, 2273.15)),   C(v_5_50_2273, IF97R5V(50, 2273.15)),
      C(v_2_50_1073, IF97R2V(50, 1073.15)),   C(v_2_100_1073, IF97R2V(100, 1073.15)),
      C(u_b, IF97R2U(100, 863.15)),           C(v_3_100_863, IF97R2V(100, 863.15)),
      C(u_vap_623, u_v623), C(v_vap_623, v_v623), C(u_liq_623, u_l623), C(v_liq_623, v_l623),
      C(dv_623, v_v623 - v_l623), C(du_623, u_v623 - u_l623), C(p_sat_623, ps),
      C(u_dense_split, IF97R1U(100, 623.15)), C(v_dense_min, IF97R1V(100, 623.15)),
  });
#undef C
  // Found by solving: the saturated vapour of energy u_b on both sides of
  // its maximum, the region-3 100 MPa isobar at u'' 623 K, and the maximum
  // of the region-2 energy along the B23 line (by central differences).
  auto vapour_at_u_b = [](double lo, double hi) {
    const double t = Bisect([](double t) { return IF97R2U(IF97PSAT(t), t) - KU.u_b; }, lo, hi);
    return IF97R2V(IF97PSAT(t), t);
  };
  const double t_100 =
      Bisect([](double t) { return IF97R3U(t, IF97R3VIT(100, t)) - KU.u_vap_623; }, 700, 863.15);
  auto u_b23 = [](double t) { return IF97R2U(IF97B23P(t), t); };
  const double t_b23 = Bisect([&](double t) { return u_b23(t + 1e-4) - u_b23(t - 1e-4); }, 640, 700);
  EXPECT_NEAR(KU.v_window_lo, vapour_at_u_b(540, 620), 5e-12 * KU.v_window_lo);
  EXPECT_NEAR(KU.v_window_hi, vapour_at_u_b(373, 500), 5e-12 * KU.v_window_hi);
  EXPECT_NEAR(KU.v_isochore_only, IF97R3VIT(100, t_100), 5e-12 * KU.v_isochore_only);
  EXPECT_NEAR(KU.u_b23_band, u_b23(t_b23), 1e-12 * KU.u_b23_band);
  EXPECT_TRUE(KU.v_band_top > KU.v_vap_623 && KU.v_band_top < KU.v_vap_623 * (1 + 1e-4));
}

TEST(VuFlash, EachBandBorderOnBothSides) {
  using enum VuBand;
  const Border<VuBand> rows[] = {
      {0.001, KU.u_liq_273, kDense, kColdLiquid, kDownE},
      {0.5, KU.u_liq_273, kWet, kColdLiquid, kDownE},
      {0.01, KU.u_2_100_1073, kVapourAboveB23, kSteam1073, kUpE},
      {0.01, KU.u_2_p0_1073, kSteam1073, kRegion5, kUpE},
      {0.005, KU.u_b, kB23, kVapourAboveB23, kUpE},
      {0.01, KU.u_b, kVapourBesideB23, kVapourAboveB23, kUpE},
      {0.005, KU.u_vap_623, kDome, kB23, kUpE},
      {0.01, KU.u_vap_623, kWetOrVapour, kVapourBesideB23, kUpE},
      {0.001, KU.u_liq_623, kDense, kDome, kUpE}, {0.5, KU.u_liq_623, kWet, kWetOrVapour, kUpE},
      {KU.v_band_top, 2500, kB23, kVapourBesideB23, kUpV},
      {KU.v_vap_623, 2000, kDome, kWetOrVapour, kUpV}, {KU.v_liq_623, 1000, kDense, kWet, kUpV},
  };
  ExpectBothSides(rows, [](double v, double u) { return VuFlash(v, u).band; });
}

TEST(VuFlash, EachPathBorderOnBothSides) {
  using enum VuBranch;
  const Border<VuBranch> rows[] = {
      {KU.v_5_50_2273, 5000, k5Dense, k5AboveLine, kUpV},
      {1.0, KU.u_5_50_2273, k5AboveLine, k5Hot, kUpE},
      {1000, LowPressureLine(1000), k5AboveLine, k5BelowLine, kDownE},
      {KU.v_window_lo, 2600, kHighVapour, kHighSaturatedVapour, kUpV},
      {KU.v_window_hi, 2600, kHighVapour, kHighSaturatedVapour, kDownV},
      {KU.v_tp, 3000, kHighVapour, kHighAboveLine, kUpV},
      {KU.v_2_100_1073, 3000, kHigh100MPa, kHighVapour, kUpV},
      {300, LowPressureLine(300), kHighAboveLine, kHighBelowLine, kDownE},
      {KU.v_3_100_863, 2500, kB23Region3, kB23P, kUpV}, {KU.v_vap_623, 2450, kB23T, kB23P, kDownV},
      {KU.v_vap_623, KU.u_b23_band, kB23T, kB23Vapour, kUpE},
      {KU.v_tp, 2500, kBesideSaturatedVapour, kBesideAboveLine, kUpV},
      {250, LowPressureLine(250), kBesideAboveLine, kBesideBelowLine, kDownE},
      {1.0, KU.u_edge_end, kLargeWet, kLargeSaturatedVapour, kUpE},
      {kFlashCriticalVolume, 2000, kDomeLiquid, kDomeVapour, kUpV},
      {KU.v_liq_623, 2000, kDomeDense, kDomeLiquid, kUpV},
      {0.0015, KU.u_dense_split, kDenseUpper, kDenseLower, kDownE},
      {10, 500, kWetSmall, kWetLarge, kUpV}, {0.5, KU.u_min, kLowest, kWetSmall, kUpE},
  };
  ExpectBothSides(rows, [](double v, double u) { return VuFlash(v, u).branch; });
  // On the straight line through the saturated states of regions 1 and 2 at 623.15 K a state is wet
  // on their saturated volumes, one ulp above it on those of region 3. At 0.00269 m3/kg the line,
  // evaluated as difference, division, product, sum, lies one ulp above the same line in other
  // orders. The critical state is wet, one ulp above its energy region 3.
  auto line = [](double v) {
    return (v - 0.0017400705518799) / 0.007060861379695999 * 776.0236481040602 + 1642.09630631134;
  };
  using E = FlashEnding;
  const Border<FlashEnding> wet[] = {
      {0.0022, line(0.0022), E::kWetBelow623, E::kWetRegion3, kUpE},
      {0.00269, line(0.00269), E::kWetBelow623, E::kWetRegion3, kUpE},
      {0.005, line(0.005), E::kWetBelow623, E::kWetRegion3, kUpE},
      {kFlashCriticalVolume, IF97R3U(kFlashCriticalTemperature, kFlashCriticalVolume), E::kWetRegion3,
       E::kRegion3Isochore, kUpE},
  };
  ExpectBothSides(wet, [](double v, double u) { return VuFlash(v, u).ending; });
}

TEST(VuFlash, RangeTestsRejectStatesBeyondTheFormulation) {
  using enum VuBranch;
  const double v3_95 = IF97R3VIT(95, 640);
  const double chord_20 = EdgeChord(20), chord_206 = EdgeChord(206);
  const RangeCase<VuBranch> rows[] = {
      {KU.v_min, -0.1, kColdLiquid, kAfterSolve}, {Down(KU.v_2_50_1073), 4000, k5Dense, kAtOnce},
      {KU.v_2_50_1073, 4500, k5Dense, kAfterSolve}, {0.02, 6300, k5Dense, kCapped},
      {800, 3665.38, k5BelowLine, kAfterSolve}, {Down(KU.v_2_100_1073), 3300, kSteam1073, kAtOnce},
      {0.0085, 3650, kSteam1073, kAfterSolve}, {0.0095, 3650, kSteam1073, kAfterSolve},
      {206, Down(chord_206), kLargeWet, kAtOnce}, {210, 2373, kLargeWet, kAtOnce},
      {206, chord_206, kLargeWet, kCapped}, {206, 2373.5, kLargeWet, kSolved},
      {1.0, 0.0, kWetSmall, kAtOnce}, {20, Down(chord_20), kWetLarge, kAtOnce},
      {20, chord_20, kWetLarge, kCapped},
      // Here the chord, evaluated as difference, division, product, sum,
      // lies one ulp below the same line in other orders.
      {0.506, EdgeChord(0.506), kWetSmall, kCapped}, {0.0013, 1500, kDenseUpper, kAtOnce},
      {0.0014, 1600, kDenseUpper, kAfterSolve}, {v3_95, IF97R3U(640, v3_95), kDenseUpper, kSolved},
      {KU.v_min, KU.u_min, kColdLiquid, kAfterSolve},
      {0.0010002069773244, KU.u_min, kLowest, kAfterSolve}, {0.5, KU.u_min, kLowest, kAfterSolve},
      {KU.v_max, KU.u_min, kLowest, kAfterSolve}, {0.001, -0.1, kDenseLower, kCapped},
      {300, 2374.5, kLargeSaturatedVapour, kCapped},
      {100, 1151.768672, kWetLarge, kCapped}, {900, 3500, kSteam1073, kCapped},
      {1716.0, 6327.0, k5Hot, kCapped},
  };
  ExpectRanges(rows, VuFlash, IF97PVU);
}

}  // namespace
}  // namespace thermomodels
