// Round trips: states generated from (p, T) or (T, x) in every class, their
// volume and enthalpy from the forward equations, flashed back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "water/flash/flash.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr int kStatesPerClass = 1000;

struct State {
  double p, t, x;  // x = -1 for one phase
  double v, h;
};

// IF97 Eq. 5: the B23 pressure [MPa] at T [K], written out here so the test
// does not lean on the flash's own copy.
double B23(double t) { return 348.05185628969 - 1.1671859879975 * t + 0.0010192970039326 * t * t; }

class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}
  double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }
  double LogUniform(double lo, double hi) { return std::exp(Uniform(std::log(lo), std::log(hi))); }

 private:
  std::mt19937_64 rng_;
};

// Region-1/2/5 single-phase state at (p, T).
State OnePhase(int region, double p, double t) {
  switch (region) {
    case 1: return {p, t, -1.0, IF97R1V(p, t), IF97R1H(p, t)};
    case 2: return {p, t, -1.0, IF97R2V(p, t), IF97R2H(p, t)};
    default: return {p, t, -1.0, IF97R5V(p, t), IF97R5H(p, t)};
  }
}

std::vector<State> Region1(Generator& g) {
  std::vector<State> out;
  while (out.size() < kStatesPerClass) {
    const double t = g.Uniform(273.66, 622.65), p = g.Uniform(0.1, 99.9);
    if (p < IF97PSAT(t) + 0.1 || t > IF97TSAT(std::min(p, 22.0)) - 0.5) continue;
    out.push_back(OnePhase(1, p, t));
  }
  return out;
}

std::vector<State> Region2(Generator& g) {
  std::vector<State> out;
  while (out.size() < kStatesPerClass) {
    const double t = g.Uniform(273.66, 1072.65), p = g.LogUniform(0.0007, 99.9);
    if (t <= 623.65) {
      if (p > 16.4 || t < IF97TSAT(p) + 0.5) continue;
    } else if (p > B23(t) - 0.1 || t < 623.65) {
      continue;
    }
    out.push_back(OnePhase(2, p, t));
  }
  return out;
}

std::vector<State> Region5(Generator& g) {
  std::vector<State> out;
  while (out.size() < kStatesPerClass) out.push_back(OnePhase(5, g.LogUniform(0.0007, 49.9), g.Uniform(1073.65, 2272.65)));
  return out;
}

std::vector<State> Region3(Generator& g) {
  std::vector<State> out;
  while (out.size() < kStatesPerClass) {
    const double t = g.Uniform(623.65, 862.65), p = g.Uniform(16.6, 99.9);
    if (p < B23(t) + 0.1) continue;
    if (t < 647.096 && std::fabs(p - IF97PSAT(t)) < 0.1) continue;
    const double v = IF97R3VIT(p, t);
    if (v == kFlashNotConverged) continue;
    out.push_back({p, t, -1.0, v, IF97R3H(t, v)});
  }
  return out;
}

State Wet(double t, double x, bool region3) {
  const double p = IF97PSAT(t);
  const double vl = region3 ? IF97R3VITL(p, t) : IF97R1V(p, t);
  const double vv = region3 ? IF97R3VITV(p, t) : IF97R2V(p, t);
  const double hl = region3 ? IF97R3H(t, vl) : IF97R1H(p, t);
  const double hv = region3 ? IF97R3H(t, vv) : IF97R2H(p, t);
  return {p, t, x, vl + x * (vv - vl), hl + x * (hv - hl)};
}

std::vector<State> WetBelow623(Generator& g) {
  std::vector<State> out;
  while (out.size() < kStatesPerClass) out.push_back(Wet(g.Uniform(273.66, 622.65), g.Uniform(0.0, 1.0), false));
  return out;
}

std::vector<State> WetNearCritical(Generator& g) {
  std::vector<State> out;
  while (out.size() < kStatesPerClass) out.push_back(Wet(g.Uniform(623.65, 647.09), g.Uniform(0.0, 1.0), true));
  return out;
}

struct Tolerance {
  double t_rel, p_rel, p_abs, x_abs;
};

struct Tally {
  int within = 0, within_ten = 0, count = 0;
  double worst_t = 0, worst_p = 0, worst_x = 0;
  std::string worst;
};

void CheckClass(const char* name, const std::vector<State>& states, const Tolerance& tol,
                double share_within) {
  Tally tally;
  for (const State& s : states) {
    const VhFlashOutcome out = VhFlash(s.v, s.h);
    ASSERT_TRUE(std::isfinite(out.p) && std::isfinite(out.t) && std::isfinite(out.x))
        << name << ": v = " << s.v << ", h = " << s.h;
    const double dt = std::fabs(out.t - s.t) / s.t;
    const double dp = std::fabs(out.p - s.p) / std::max(tol.p_rel * s.p, tol.p_abs);
    const double dx = s.x < 0 ? (out.x == -1.0 ? 0.0 : 1e300) : std::fabs(out.x - s.x);
    const double score = std::max({dt / tol.t_rel, dp, dx / tol.x_abs});
    ++tally.count;
    if (score < 1) ++tally.within;
    if (score < 10) ++tally.within_ten;
    if (score >= 1 && tally.worst.size() < 2000) {
      char line[400];
      std::snprintf(line, sizeof line, "\n  p=%.9g T=%.9g x=%.6g v=%.12g h=%.12g -> p=%.9g T=%.9g x=%.6g branch %d",
                    s.p, s.t, s.x, s.v, s.h, out.p, out.t, out.x, static_cast<int>(out.branch));
      tally.worst += line;
    }
  }
  EXPECT_GE(tally.within, share_within * tally.count) << name << tally.worst;
  EXPECT_EQ(tally.within_ten, tally.count) << name << tally.worst;
}

constexpr Tolerance kOnePhase{2e-6, 2e-5, 2e-6, 1e-5};
constexpr Tolerance kNearCritical{1e-5, 1e-4, 0.0, 1e-3};

TEST(VhFlashRoundTrip, EveryClassReturnsItsState) {
  Generator g(20261206);
  CheckClass("region 1", Region1(g), kOnePhase, 0.999);
  CheckClass("region 2", Region2(g), kOnePhase, 0.999);
  CheckClass("region 5", Region5(g), kOnePhase, 0.999);
  CheckClass("wet steam below 623.15 K", WetBelow623(g), kOnePhase, 0.999);
  CheckClass("region 3", Region3(g), kOnePhase, 0.999);
  CheckClass("wet steam 623.15-647.09 K", WetNearCritical(g), kNearCritical, 1.0);
}

}  // namespace
}  // namespace thermomodels
