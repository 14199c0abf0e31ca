// IDEALHGK against the values of the HGK 1984 ideal-gas function at
// 298.15 K, the only temperature the dispatcher calls it at.
#include <gtest/gtest.h>

#include "water/drivers/drivers.h"

namespace thermomodels {
namespace {

TEST(IdealHgk, ReproducesTheReferenceValuesAt298K) {
  double a = 0, g = 0, s = 0, u = 0, h = 0, cv = 0, cp = 0;
  int64_t status = 42;
  IDEALHGK(298.15, a, g, s, u, h, cv, cp, status);
  EXPECT_EQ(status, 42) << "the status word is passed through untouched";
  EXPECT_NEAR(h, 18.51296601561974, 4e-15 * 18.5);
  EXPECT_NEAR(s, 15.08041045790264, 4e-15 * 15.1);
  EXPECT_NEAR(cp, 4.039615967699536, 4e-15 * 4.0);
  EXPECT_NEAR(g, 3.4325555577170994, 4e-15 * 3.4);
  // A, U, CV are one less than G, H, CP; S is H - G exactly.
  EXPECT_DOUBLE_EQ(a, g - 1.0);
  EXPECT_DOUBLE_EQ(u, h - 1.0);
  EXPECT_DOUBLE_EQ(cv, cp - 1.0);
  EXPECT_EQ(s, u - a);
}

}  // namespace
}  // namespace thermomodels
