// Round trips: 1,000 random states per class, their volume and enthalpy
// from the forward equations, flashed back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "water/flash/flash.h"
#include "water/flash/flash_states.h"

namespace thermomodels {
namespace {

using flash_states::Class;

TEST(VhFlashRoundTrip, EveryClassReturnsItsState) {
  for (Class cls : flash_states::kClasses) {
    // Outside the near-critical class: |dT|/T < 2e-6, |dp| <= max(2e-5 p,
    // 2e-6 MPa), |dx| < 1e-5 for 99.9 %, ten times that for all. Near the
    // critical point: 1e-5, 1e-4 p and 1e-3 for all.
    const bool near_critical = cls == Class::kWetNearCritical;
    const double t_rel = near_critical ? 1e-5 : 2e-6, p_rel = near_critical ? 1e-4 : 2e-5;
    const double p_abs = near_critical ? 0.0 : 2e-6, x_abs = near_critical ? 1e-3 : 1e-5;
    const double share = near_critical ? 1.0 : 0.999;
    int within = 0, within_ten = 0, count = 0;
    for (const flash_states::State& s : flash_states::Generate(cls, 1000, 20261206)) {
      const VhFlashOutcome out = VhFlash(s.v, s.h);
      ASSERT_TRUE(std::isfinite(out.p) && std::isfinite(out.t) && std::isfinite(out.x))
          << flash_states::NameOf(cls) << ": v = " << s.v << ", h = " << s.h;
      const double dx = s.x < 0 ? (out.x == -1.0 ? 0.0 : 1e300) : std::fabs(out.x - s.x) / x_abs;
      const double score = std::max({std::fabs(out.t - s.t) / (t_rel * s.t),
                                     std::fabs(out.p - s.p) / std::max(p_rel * s.p, p_abs), dx});
      ++count;
      within += score < 1;
      within_ten += score < 10;
      EXPECT_LT(score, near_critical ? 1 : 10)
          << flash_states::NameOf(cls) << ": p = " << s.p << ", T = " << s.t << ", x = " << s.x
          << " came back as p = " << out.p << ", T = " << out.t << ", x = " << out.x;
    }
    EXPECT_GE(within, share * count) << flash_states::NameOf(cls);
    EXPECT_EQ(within_ten, count) << flash_states::NameOf(cls);
  }
}

}  // namespace
}  // namespace thermomodels
