// Region-5 temperature from (p,h) and (p,s): the IF97 Table 42 state, round
// trips through the forward equations over the whole region, the start
// correlations, the start rules and the unconverged marker.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "water/backward/backward.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr double kNotConverged = -1000.0;

// IF97 Table 42: h and s of region 5 at 0.5 MPa and 1500 K.
TEST(Region5Temperature, ReturnsTheTable42Temperature) {
  EXPECT_NEAR(IF97T5PH(0.5, 5219.76855), 1500.0, 1e-5);
  EXPECT_NEAR(IF97T5PS(0.5, 9.654088753), 1500.0, 1e-5);
}

// The correlations alone: close at moderate pressure, far off for the
// entropy at 0.01 MPa, where the secant steps and the range test carry the
// start.
TEST(Region5Temperature, StartCorrelations) {
  EXPECT_NEAR(Region5EnthalpyStartCorrelation(0.5, 5219.76855), 1500.0, 0.005);
  EXPECT_NEAR(Region5EnthalpyStartCorrelation(0.1, 4160.0), 1073.05, 0.005);
  EXPECT_NEAR(Region5EntropyStartCorrelation(0.5, 9.654088753), 1499.62, 0.005);
  EXPECT_NEAR(Region5EntropyStartCorrelation(0.01, IF97R5S(0.01, 1100.0)), 9430.0, 5.0);
  EXPECT_NEAR(IF97T5PS(0.01, IF97R5S(0.01, 1100.0)), 1100.0, 2.2e-5);
}

// From 10 MPa on the entropy solve starts at 1673.15 K without the start
// phase: a target met exactly there ends after one evaluation.  Below
// 10 MPa the four start evaluations come first.
TEST(Region5Temperature, EntropyStartsMidRangeFromTenMegapascal) {
  int64_t evaluations = 0;
  EXPECT_EQ(Region5Temperature(10.0, IF97R5S(10.0, 1673.15), Region5Input::kEntropy, evaluations),
            1673.15);
  EXPECT_EQ(evaluations, 1);
  evaluations = 0;
  Region5Temperature(9.99, IF97R5S(9.99, 1673.15), Region5Input::kEntropy, evaluations);
  EXPECT_GE(evaluations, 5);
}

// A state beyond the solve's range ends with the marker after the capped
// number of evaluations; one whose temperature is the range end itself
// converges there by clamping.
TEST(Region5Temperature, TargetsBeyondTheRange) {
  int64_t evaluations = 0;
  EXPECT_EQ(Region5Temperature(0.5, IF97R5H(0.5, 2400.0), Region5Input::kEnthalpy, evaluations),
            kNotConverged);
  EXPECT_EQ(evaluations, 2 + 51);
  evaluations = 0;
  EXPECT_EQ(Region5Temperature(1.0, 12.0, Region5Input::kEntropy, evaluations), kNotConverged);
  EXPECT_EQ(evaluations, 4 + 51);
  EXPECT_EQ(IF97T5PS(30.0, IF97R5S(30.0, 1000.0)), kNotConverged);
  EXPECT_NEAR(IF97T5PH(0.5, IF97R5H(0.5, 2275.0)), 2275.0, 2e-8 * 2275.0);
  EXPECT_NEAR(IF97T5PS(20.0, IF97R5S(20.0, 1073.14)), 1073.14, 2e-8 * 1073.14);
}

}  // namespace
}  // namespace thermomodels
