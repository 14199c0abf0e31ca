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
      {"region-3 wet steam, unreachable",
       [](FlashCall& c) { FlashWetRegion3(c, kFlashWetRegion3TemperatureMin); }, 0.004, 100,
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

}  // namespace
}  // namespace thermomodels
