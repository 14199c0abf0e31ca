// Round trips: random states of every class, their volume and energy from
// the forward equations, flashed back by both flashes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "water/flash/flash.h"
#include "water/flash/flash_states.h"

namespace thermomodels {
namespace {

using flash_states::Class;
using flash_states::State;

// How well a state of a class must come back. Outside the near-critical
// class: |dT|/T < 2e-6, |dp| <= max(2e-5 p, 2e-6 MPa), |dx| < 1e-5 for
// 99.9 %, ten times that for all. Near the critical point: 1e-5, 1e-4 p and
// 1e-3 for all.
struct Tolerance {
  double t_rel, p_rel, p_abs, x_abs, share, worst;
};
Tolerance ToleranceOf(Class cls) {
  if (cls == Class::kWetNearCritical) return {1e-5, 1e-4, 0.0, 1e-3, 1.0, 1.0};
  return {2e-6, 2e-5, 2e-6, 1e-5, 0.999, 10.0};
}

enum class Flash { kVh, kVu };
const char* NameOf(Flash f) { return f == Flash::kVh ? "(v, h)" : "(v, u)"; }

FlashResult Run(Flash f, const State& s) {
  if (f == Flash::kVh) return VhFlash(s.v, s.h);
  return VuFlash(s.v, s.u);
}

// Flashes every state back; the largest error over its tolerance must stay
// below 1 for the share of the class and below `worst` for all.
void ExpectRoundTrips(Flash f, Class cls, const std::vector<State>& states) {
  const Tolerance tol = ToleranceOf(cls);
  int within = 0, within_worst = 0;
  for (const State& s : states) {
    const FlashResult out = Run(f, s);
    ASSERT_TRUE(std::isfinite(out.p) && std::isfinite(out.t) && std::isfinite(out.x))
        << NameOf(f) << ", " << flash_states::NameOf(cls) << ": v = " << s.v << ", h = " << s.h
        << ", u = " << s.u;
    const double dx = s.x < 0 ? (out.x == -1.0 ? 0.0 : 1e300) : std::fabs(out.x - s.x) / tol.x_abs;
    const double score =
        std::max({std::fabs(out.t - s.t) / (tol.t_rel * s.t),
                  std::fabs(out.p - s.p) / std::max(tol.p_rel * s.p, tol.p_abs), dx});
    within += score < 1;
    within_worst += score < tol.worst;
    EXPECT_LT(score, tol.worst) << NameOf(f) << ", " << flash_states::NameOf(cls) << ": p = " << s.p
                                << ", T = " << s.t << ", x = " << s.x
                                << " came back as p = " << out.p << ", T = " << out.t
                                << ", x = " << out.x;
  }
  const auto count = static_cast<double>(states.size());
  EXPECT_GE(within, tol.share * count) << NameOf(f) << ", " << flash_states::NameOf(cls);
  EXPECT_EQ(within_worst, count) << NameOf(f) << ", " << flash_states::NameOf(cls);
}

TEST(FlashRoundTrip, EveryClassReturnsItsStateThroughEachFlash) {
  for (Flash f : {Flash::kVh, Flash::kVu}) {
    for (Class cls : flash_states::kClasses) {
      ExpectRoundTrips(f, cls, flash_states::Generate(cls, 1000, 20261206));
    }
  }
}

TEST(FlashRoundTrip, SweepOfTwentyThousandStatesThroughBothFlashes) {
  constexpr int kPerClass = 20000 / 6 + 1;
  for (Class cls : flash_states::kClasses) {
    const std::vector<State> states = flash_states::Generate(cls, kPerClass, 97531);
    for (Flash f : {Flash::kVh, Flash::kVu}) ExpectRoundTrips(f, cls, states);
  }
}

}  // namespace
}  // namespace thermomodels
