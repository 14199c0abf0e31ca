// IAPS 1985 thermal conductivity of region-3 water: agreement with the IAPWS
// 2011 formulation away from the critical point, and of its liquid- and
// vapour-side members off the saturation line.
#include <gtest/gtest.h>

#include <cmath>

#include "water/backward/backward.h"
#include "water/drivers/drivers.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

TEST(Wtcon85, AgreesWithThe2011FormulationAwayFromTheCriticalPoint) {
  for (double p = 17.0; p <= 100.0; p += 1.0) {
    for (double t = 625.0; t <= 860.0; t += 5.0) {
      const bool region2 = p <= IF97B23P(t);
      const bool critical = std::fabs(t - 647.096) < 15.0 && std::fabs(p - 22.064) < 5.0;
      const bool saturated = p < 22.064 && std::fabs(t - IF97TSAT(p)) < 1.0;
      if (region2 || critical || saturated) continue;
      // The releases split background and critical enhancement differently;
      // their sums agree to 2 % in the dense liquid and to 8 % along the
      // supercritical ridge where both enhancements matter.
      const double v = IF97V3PT(p, t);
      double cp = 0.0, cv = 0.0, eta = 0.0, tcon_2011 = 0.0;
      WTCON11(p, t, v, 3, cp, cv, eta, tcon_2011);
      EXPECT_NEAR(WTCON85(p, t) / tcon_2011, 1.0, 1.0 / v > 600.0 ? 0.02 : 0.08)
          << p << " MPa, " << t << " K";
    }
  }
}

TEST(Wtcon85, SideMembersAgreeOffTheSaturationLineAndRefuseBadInput) {
  const double states[][2] = {{50.0, 700.0}, {25.0, 650.0},  {22.3, 660.0}, {21.5, 630.0},
                              {22.0, 670.0}, {100.0, 850.0}, {30.0, 640.0}};
  for (const auto& s : states) {
    const double full = WTCON85(s[0], s[1]);
    EXPECT_GT(full, 0.0);
    EXPECT_EQ(WTCON85L(s[0], s[1]), full) << s[0] << " MPa, " << s[1] << " K";
    EXPECT_EQ(WTCON85V(s[0], s[1]), full) << s[0] << " MPa, " << s[1] << " K";
  }
  // On the saturation line below the near-critical band the liquid conducts
  // better than the vapour.
  for (const double t : {630.0, 640.0}) {
    const double p = IF97PSAT(t);
    EXPECT_GT(WTCON85L(p, t), 1.5 * WTCON85V(p, t)) << t << " K";
  }
  const double nan = std::nan("");
  const double bad[][2] = {{nan, 650.0}, {25.0, nan}, {0.0, 650.0}, {25.0, -1.0}};
  for (const auto& s : bad) {
    for (auto f : {WTCON85, WTCON85L, WTCON85V}) EXPECT_EQ(f(s[0], s[1]), -1.0) << s[0] << s[1];
  }
}

}  // namespace
}  // namespace thermomodels
