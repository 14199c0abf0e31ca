// The shared solve kinds on their own: ranges, kept values, endings, and
// the failure a capped solve leaves.
#include <gtest/gtest.h>

#include <cmath>

#include "water/flash/flash.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

TEST(FlashSolves, B23EquationsMatchTheReleaseCheckPoint) {
  // IF97, text after Table 1: T = 623.15 K <-> p = 0.165291643e2 MPa.
  EXPECT_NEAR(FlashB23Pressure(623.15), 16.5291643, 5e-8);
  EXPECT_NEAR(FlashB23Temperature(16.5291643), 623.15, 1e-6);
  for (double t : {650.0, 700.0, 800.0, 863.15}) {
    EXPECT_NEAR(FlashB23Temperature(FlashB23Pressure(t)), t, 1e-9 * t);
  }
}

TEST(FlashSolves, EachSolveEndsWithItsOutputsOrTheFailure) {
  // A state in each kind, and one whose target the kind cannot reach.
  struct Row {
    const char* what;
    void (*solve)(FlashCall&);
    double v, e;
    FlashEnding ending;
  };
  const double v2 = IF97R2V(5, 600), h2 = IF97R2H(5, 600);
  const double v1 = IF97R1V(50, 400), h1 = IF97R1H(50, 400);
  const double v3 = IF97R3VIT(40, 700), h3 = IF97R3H(700, v3);
  const Row rows[] = {
      {"vapour pair", [](FlashCall& c) { FlashNestedPair(c, FlashRegion::kRegion2); }, v2, h2,
       FlashEnding::kVapourPair},
      {"vapour pair, unreachable", [](FlashCall& c) { FlashNestedPair(c, FlashRegion::kRegion2); },
       0.001, 3500, FlashEnding::kNotConverged},
      {"liquid pair", [](FlashCall& c) { FlashNestedPair(c, FlashRegion::kRegion1); }, v1, h1,
       FlashEnding::kLiquidPair},
      {"region-3 isochore", [](FlashCall& c) { FlashRegion3Isochore(c, 623.15); }, v3, h3,
       FlashEnding::kRegion3Isochore},
      {"region-3 isochore, unreachable", [](FlashCall& c) { FlashRegion3Isochore(c, 623.15); },
       0.002, 5000, FlashEnding::kNotConverged},
      {"wet steam, unreachable", [](FlashCall& c) { FlashWetBelow623(c, true); }, 0.1, -100,
       FlashEnding::kNotConverged},
      {"region-3 wet steam, unreachable", [](FlashCall& c) { FlashWetRegion3(c); }, 0.004, 100,
       FlashEnding::kNotConverged},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    FlashCall c(kFlashEnthalpy, r.v, r.e);
    r.solve(c);
    EXPECT_EQ(c.ending, r.ending);
    if (r.ending == FlashEnding::kNotConverged) {
      // No output may look like a state.
      EXPECT_EQ(c.p, kFlashNotConverged);
      EXPECT_EQ(c.t, kFlashNotConverged);
      EXPECT_EQ(c.x, kFlashNotConverged);
    } else {
      EXPECT_GT(c.p, 0.0);
      EXPECT_GT(c.t, 273.0);
      EXPECT_EQ(c.x, -1.0);
    }
  }
}

TEST(FlashSolves, PairsKeepTheirRangesAndEnergies) {
  // The same kinds solve on internal energy when the flash matches u.
  struct Row {
    FlashRegion region;
    double p, t;
    FlashEnding ending;
  };
  const Row rows[] = {
      {FlashRegion::kRegion1, 20, 350, FlashEnding::kLiquidPair},
      {FlashRegion::kRegion2, 0.5, 900, FlashEnding::kVapourPair},
      {FlashRegion::kRegion5, 30, 1800, FlashEnding::kRegion5Pair},
  };
  for (const Row& r : rows) {
    for (const FlashEnergy* energy : {&kFlashEnthalpy, &kFlashInternalEnergy}) {
      FlashCall c(*energy, FlashVolume(r.region, r.p, r.t), FlashEnergyOf(*energy, r.region, r.p, r.t));
      FlashNestedPair(c, r.region);
      EXPECT_EQ(c.ending, r.ending);
      EXPECT_NEAR(c.p, r.p, 2e-6 * r.p);
      EXPECT_NEAR(c.t, r.t, 2e-6 * r.t);
    }
  }
  // Region 5 ends at 50 MPa: a state at 60 MPa is out of the pair's reach.
  FlashCall beyond(kFlashEnthalpy, IF97R5V(60, 1800), IF97R5H(60, 1800));
  FlashNestedPair(beyond, FlashRegion::kRegion5);
  EXPECT_EQ(beyond.ending, FlashEnding::kNotConverged);
}

TEST(FlashSolves, LineSolvesKeepTheValueOfTheirLastTrial) {
  // Saturated vapour at 450 K.
  const double ps = IF97PSAT(450);
  FlashCall sat(kFlashEnthalpy, IF97R2V(ps, 450), 0);
  const double t_sat = FlashSaturatedVapourTemperature(sat);
  EXPECT_NEAR(t_sat, 450, 1e-6 * 450);
  EXPECT_EQ(sat.saturation_pressure, IF97PSAT(t_sat));
  // Saturated liquid whose enthalpy is that at 500 K.
  const double p500 = IF97PSAT(500);
  FlashCall liq(kFlashEnthalpy, 0, IF97R1H(p500, 500));
  const double p_liq = FlashSaturatedLiquidPressure(liq, 22.064);
  EXPECT_NEAR(p_liq, p500, 1e-6 * p500);
  EXPECT_EQ(liq.saturation_temperature, IF97TSAT(liq.outer.current));
  // The B23 point at 700 K, by its region-3 volume and by its enthalpy.
  const double pb = FlashB23Pressure(700), vb = IF97R3VIT(pb, 700);
  FlashCall by_volume(kFlashEnthalpy, vb, 0);
  EXPECT_NEAR(FlashB23PressureSolve(by_volume), pb, 1e-6 * pb);
  EXPECT_NEAR(by_volume.boundary, 700, 1e-6 * 700);
  const double tb = 630, vb2 = IF97R3VIT(FlashB23Pressure(tb), tb);
  FlashCall by_energy(kFlashEnthalpy, 0, IF97R3H(tb, vb2));
  EXPECT_NEAR(FlashB23TemperatureSolve(by_energy, 634.0), tb, 1e-6 * tb);
  EXPECT_NEAR(by_energy.boundary, FlashB23Pressure(tb), 1e-5);
  // The 100 MPa isobar of region 3 at 750 K.
  const double v100 = IF97R3VIT(100, 750);
  FlashCall isobar(kFlashEnthalpy, 0, IF97R3H(750, v100));
  EXPECT_NEAR(FlashRegion3Isobar100(isobar, 863.15), 750, 1e-6 * 750);
  EXPECT_NEAR(isobar.region3_volume, v100, 1e-8);
  // Region-3 saturated volumes at 640 K.
  const double p640 = IF97PSAT(640);
  FlashCall liquid_side(kFlashEnthalpy, IF97R3VITL(p640, 640), 0);
  EXPECT_NEAR(FlashRegion3SaturatedTemperature(liquid_side, true), 640, 2e-5 * 640);
  FlashCall vapour_side(kFlashEnthalpy, IF97R3VITV(p640, 640), 0);
  EXPECT_NEAR(FlashRegion3SaturatedTemperature(vapour_side, false), 640, 2e-5 * 640);
}

}  // namespace
}  // namespace thermomodels
