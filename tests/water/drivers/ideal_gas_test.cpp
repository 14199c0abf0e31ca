// IDEALHGK against the values the HGK 1984 ideal-gas function gives at
// 298.15 K, and its heat capacity against differences of H and S.
#include <gtest/gtest.h>

#include <cmath>

#include "water/drivers/drivers.h"

namespace thermomodels {
namespace {

struct IdealGas {
  double a, g, s, u, h, cv, cp;
};

IdealGas Evaluate(double t) {
  IdealGas r{};
  int64_t status = 42;
  IDEALHGK(t, r.a, r.g, r.s, r.u, r.h, r.cv, r.cp, status);
  EXPECT_EQ(status, 42) << "the status word is passed through untouched";
  return r;
}

TEST(IdealHgk, ReproducesTheReferenceValuesAt298K) {
  const IdealGas r = Evaluate(298.15);
  EXPECT_NEAR(r.h, 18.51296601561974, 4e-15 * 18.5);
  EXPECT_NEAR(r.s, 15.08041045790264, 4e-15 * 15.1);
  EXPECT_NEAR(r.cp, 4.039615967699536, 4e-15 * 4.0);
  EXPECT_NEAR(r.g, 3.4325555577170994, 4e-15 * 3.4);
  EXPECT_DOUBLE_EQ(r.a, r.g - 1.0);
  EXPECT_DOUBLE_EQ(r.u, r.h - 1.0);
  EXPECT_DOUBLE_EQ(r.cv, r.cp - 1.0);
}

TEST(IdealHgk, HeatCapacityAndEntropyAreConsistentWithEnthalpy) {
  // d(H)/dT = CP and dS/dT = CP/T in dimensional form (H here is H/(RT)).
  for (double t : {300.0, 500.0, 1000.0, 2000.0}) {
    const double dt = 1e-3 * t;
    const IdealGas lo = Evaluate(t - dt), mid = Evaluate(t), hi = Evaluate(t + dt);
    const double dh_dt = ((t + dt) * hi.h - (t - dt) * lo.h) / (2.0 * dt);
    const double ds_dt = (hi.s - lo.s) / (2.0 * dt);
    EXPECT_NEAR(dh_dt, mid.cp, 1e-6 * mid.cp) << "T = " << t;
    EXPECT_NEAR(ds_dt * t, mid.cp, 1e-6 * mid.cp) << "T = " << t;
    EXPECT_DOUBLE_EQ(mid.s, mid.h - mid.g) << "T = " << t;
  }
}

}  // namespace
}  // namespace thermomodels
