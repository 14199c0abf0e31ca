// Saturation line: published check values, the exact bridges near the
// critical point and the bounds of the bar forms (and of the surface
// tension's), which refuse NaN.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "water/if97/if97.h"
#include "water/if97/if97_check_values.h"

namespace thermomodels {
namespace {

using water_test::NinthDigit;

TEST(If97Saturation, ReproducesTables35And36) {
  for (const auto& c : water_test::kPsatRows)
    EXPECT_NEAR(IF97PSAT(c.in), c.out, NinthDigit(c.out)) << "T = " << c.in;
  for (const auto& c : water_test::kTsatRows)
    EXPECT_NEAR(IF97TSAT(c.in), c.out, NinthDigit(c.out)) << "p = " << c.in;
}

TEST(If97Saturation, BridgesAreExactToTheBit) {
  EXPECT_EQ(IF97PSAT(647.096), 22.0639999998894);
  EXPECT_EQ(IF97PSAT(647.0959), 22.063973175);
  EXPECT_EQ(IF97TSAT(22.063973175), 647.0959);
  EXPECT_EQ(IF97TSAT(22.0639999998894), 647.096);
  for (double t : {647.0959, 647.096, 650.0, 700.0, 1000.0})
    EXPECT_EQ(IF97TSAT(IF97PSAT(t)), t) << "T = " << t;
}

TEST(If97Saturation, BridgesJoinTheEquationsAndRise) {
  // At the start of each lower bridge the line and the equation agree to rounding.
  EXPECT_NEAR(IF97PSAT(647.0958), IF97PSAT(std::nextafter(647.0958, 0.0)), 1e-12);
  EXPECT_NEAR(IF97TSAT(22.063946352), IF97TSAT(std::nextafter(22.063946352, 0.0)), 1e-10);
  // Both functions rise through the near-critical segments.
  for (double t = 647.0957; t < 647.0962; t += 1e-5)
    EXPECT_LT(IF97PSAT(t), IF97PSAT(t + 1e-5)) << t;
  for (double p = 22.06394; p < 22.06401; p += 1e-6)
    EXPECT_LT(IF97TSAT(p), IF97TSAT(p + 1e-6)) << p;
}

TEST(If97Saturation, BarFormsCheckTheirInclusiveBounds) {
  for (double t : {272.99, 647.302}) EXPECT_EQ(IF97PSATB(t), -1.0) << t;
  for (double t : {273.0, 300.0, 647.301}) EXPECT_EQ(IF97PSATB(t), 10.0 * IF97PSAT(t)) << t;
  for (double p : {0.0060, 221.202}) EXPECT_EQ(IF97TSATB(p), -1.0) << p;
  for (double p : {0.0061, 1.0, 221.2, 221.201}) EXPECT_EQ(IF97TSATB(p), IF97TSAT(0.1 * p)) << p;
}

// Every range test fails for an argument that is not a number.
TEST(If97Saturation, RangeTestsRefuseNonNumbers) {
  using Fn = double (*)(const double&);
  const Fn functions[] = {IF97PSATB, IF97TSATB, IF97SIGT, IF97SIGP};
  const double inf = std::numeric_limits<double>::infinity();
  for (Fn f : functions) {
    for (double x : {std::nan(""), -std::nan(""), inf, -inf}) EXPECT_EQ(f(x), -1.0) << x;
  }
}

TEST(If97Saturation, ArgumentsFarOutsideGiveNoTrap) {
  EXPECT_TRUE(std::isfinite(IF97PSAT(-1000.0)));
  EXPECT_FALSE(std::isfinite(IF97TSAT(-1.0)));
}

}  // namespace
}  // namespace thermomodels
