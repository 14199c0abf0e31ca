// Round trips: random states of every class, their volume and energy from
// the forward equations, flashed back by both flashes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "water/flash/flash.h"
#include "water/flash/flash_states.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using flash_states::Class;

// Outside the near-critical class: |dT|/T < 2e-6, |dp| <= max(2e-5 p,
// 2e-6 MPa), |dx| < 1e-5 for 99.9 % of the states, ten times that for all.
// Near the critical point: 1e-5, 1e-4 p and 1e-3 for all.
TEST(FlashRoundTrip, SweepOfTwentyThousandStatesThroughBothFlashes) {
  for (Class cls : flash_states::kClasses) {
    const bool critical = cls == Class::kWetNearCritical;
    const double t_rel = critical ? 1e-5 : 2e-6, p_rel = critical ? 1e-4 : 2e-5;
    const double p_abs = critical ? 0.0 : 2e-6, x_abs = critical ? 1e-3 : 1e-5;
    const double share = critical ? 1.0 : 0.999, worst = critical ? 1.0 : 10.0;
    const auto states = flash_states::Generate(cls, 20000 / 6 + 1, 97531);
    for (bool vh : {true, false}) {
      SCOPED_TRACE(::testing::Message() << (vh ? "(v, h), " : "(v, u), ") << NameOf(cls));
      int within = 0;
      for (const flash_states::State& s : states) {
        const FlashResult out = vh ? FlashResult(VhFlash(s.v, s.h)) : VuFlash(s.v, s.u);
        ASSERT_TRUE(std::isfinite(out.p) && std::isfinite(out.t) && std::isfinite(out.x));
        const double dx = s.x < 0 ? (out.x == -1.0 ? 0.0 : 1e300) : std::fabs(out.x - s.x) / x_abs;
        const double score = std::max({std::fabs(out.t - s.t) / (t_rel * s.t),
                                       std::fabs(out.p - s.p) / std::max(p_rel * s.p, p_abs), dx});
        within += score < 1;
        EXPECT_LT(score, worst) << "p = " << s.p << ", T = " << s.t << ", x = " << s.x
                                << " came back as p = " << out.p << ", T = " << out.t
                                << ", x = " << out.x;
      }
      EXPECT_GE(within, share * static_cast<double>(states.size()));
    }
  }
}

// Worked states of every ending, and just beside the saturated-vapour line,
// come back through both flashes to within 2e-6 T, 2e-5 p and 1e-5 in x.
TEST(FlashRoundTrip, WorkedStatesComeBackWithTheirEnding) {
  using flash_states::OnePhase;
  using flash_states::Wet;
  using E = FlashEnding;
  auto region3 = [](double t, double v) {
    return flash_states::State{IF97R3P(t, v), t, -1.0, v, IF97R3H(t, v), IF97R3U(t, v)};
  };
  struct Row {
    flash_states::State s;
    FlashEnding ending;
    bool vu_only = false;  // on an edge the (v, h) flash does not include
  };
  std::vector<Row> rows = {{OnePhase(2, 10, 700), E::kVapourPair},
                           {OnePhase(2, 0.0035, 300), E::kVapourPair},
                           {OnePhase(2, 1, 500), E::kVapourPair},
                           {OnePhase(2, 10, 1000), E::kVapourPair},
                           {OnePhase(5, 0.01, 1500), E::kRegion5Pair},
                           {OnePhase(5, 40, 1100), E::kRegion5Pair},
                           {OnePhase(5, 20, 1100), E::kRegion5Pair},
                           {OnePhase(5, 30, 2000), E::kRegion5Pair},
                           {Wet(400, 0.99, false), E::kWetBelow623},
                           {Wet(373.15, 0.8, false), E::kWetBelow623},
                           {Wet(373.15, 0.5, false), E::kWetBelow623},
                           {Wet(373.15, 4e-4, false), E::kWetBelow623},
                           {Wet(600, 0.01, false), E::kWetBelow623},
                           {OnePhase(3, 70, 800), E::kRegion3Isochore},
                           {region3(650, 0.0015), E::kRegion3Isochore},
                           {OnePhase(1, 10, 300), E::kLiquidPair},
                           {OnePhase(1, 10, 400), E::kLiquidPair},
                           {OnePhase(1, 17, 615), E::kLiquidPair},
                           {OnePhase(1, 90, 273.16), E::kLiquidPair, true},
                           {OnePhase(1, 100, 623.15), E::kLiquidPair, true}};
  // 50 mK above saturation (h and u above h'' and u'' by well under 1 kJ/kg),
  // and quality 0.9999.
  for (double p : {0.01, 1.0, 10.0}) {
    rows.push_back({OnePhase(2, p, IF97TSAT(p) + 0.05), E::kVapourPair});
    rows.push_back({Wet(IF97TSAT(p), 0.9999, false), E::kWetBelow623});
  }
  for (const Row& r : rows) {
    for (bool vh : {!r.vu_only, false}) {
      SCOPED_TRACE(::testing::Message() << (vh ? "(v, h)" : "(v, u)") << ": p = " << r.s.p
                                        << ", T = " << r.s.t << ", x = " << r.s.x);
      const FlashResult out = vh ? FlashResult(VhFlash(r.s.v, r.s.h)) : VuFlash(r.s.v, r.s.u);
      EXPECT_EQ(out.ending, r.ending);
      EXPECT_NEAR(out.t, r.s.t, 2e-6 * r.s.t);
      EXPECT_NEAR(out.p, r.s.p, std::fmax(2e-5 * r.s.p, 2e-6));
      EXPECT_NEAR(out.x, r.s.x, 1e-5);
      // Two-phase: the pressure is the saturation pressure of the result.
      EXPECT_NEAR(out.p, r.s.x >= 0 ? IF97PSAT(out.t) : out.p, 1e-9 * out.p);
    }
  }
}

}  // namespace
}  // namespace thermomodels
