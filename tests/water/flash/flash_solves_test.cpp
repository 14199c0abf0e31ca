// The B23 equations the flashes use, at the IF97 check point.
#include <gtest/gtest.h>

#include <cmath>

#include "water/flash/flash.h"

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

}  // namespace
}  // namespace thermomodels
