// Random water states per class, from (p, T) or (T, x), at least 0.5 K and 0.1 MPa from the region
// borders and the critical point, with their volume and both energies from the forward equations,
// so both flashes run on the same states: the round-trip test and the flash benchmark use them.
#pragma once

#include <cmath>
#include <random>
#include <vector>

#include "water/if97/if97.h"

namespace thermomodels::flash_states {

struct State {
  double p, t, x;  // x = -1.0 in one phase
  double v, h, u;  // volume, enthalpy, internal energy
};

enum class Class { kRegion1, kRegion2, kRegion5, kWetBelow623, kRegion3, kWetNearCritical };
inline constexpr Class kClasses[] = {Class::kRegion1,     Class::kRegion2, Class::kRegion5,
                                     Class::kWetBelow623, Class::kRegion3, Class::kWetNearCritical};
inline const char* NameOf(Class c) {
  constexpr const char* names[] = {"region 1",           "region 2", "region 5",
                                   "wet below 623.15 K", "region 3", "wet 623.65-646.596 K"};
  return names[static_cast<int>(c)];
}

// A one-phase state of IF97 region 1, 2, 3 or 5 at (p, T); in region 3 a negative volume is the
// volume iteration's not-converged marker.
inline State OnePhase(int region, double p, double t) {
  switch (region) {
    case 1: return {p, t, -1.0, IF97R1V(p, t), IF97R1H(p, t), IF97R1U(p, t)};
    case 2: return {p, t, -1.0, IF97R2V(p, t), IF97R2H(p, t), IF97R2U(p, t)};
    case 5: return {p, t, -1.0, IF97R5V(p, t), IF97R5H(p, t), IF97R5U(p, t)};
  }
  const double v = IF97R3VIT(p, t);
  return {p, t, -1.0, v, IF97R3H(t, v), IF97R3U(t, v)};
}

// Wet steam at T on the saturated states of regions 1 and 2, or of region 3.
inline State Wet(double t, double x, bool region3) {
  const double p = IF97PSAT(t);
  const double vl = region3 ? IF97R3VITL(p, t) : IF97R1V(p, t);
  const double vv = region3 ? IF97R3VITV(p, t) : IF97R2V(p, t);
  const State l = region3 ? State{p, t, 0, vl, IF97R3H(t, vl), IF97R3U(t, vl)} : OnePhase(1, p, t);
  const State g = region3 ? State{p, t, 1, vv, IF97R3H(t, vv), IF97R3U(t, vv)} : OnePhase(2, p, t);
  return {p, t, x, vl + x * (vv - vl), l.h + x * (g.h - l.h), l.u + x * (g.u - l.u)};
}

// `count` states of class `c` from a generator seeded with `seed`.
inline std::vector<State> Generate(Class c, int count, unsigned seed) {
  std::mt19937_64 rng(seed);
  auto uniform = [&](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
  };
  auto log_uniform = [&](double lo, double hi) { return std::exp(uniform(std::log(lo), std::log(hi))); };
  std::vector<State> out;
  while (static_cast<int>(out.size()) < count) {
    if (c == Class::kWetBelow623) {
      out.push_back(Wet(uniform(273.66, 622.65), uniform(0.0, 1.0), false));
    } else if (c == Class::kWetNearCritical) {
      out.push_back(Wet(uniform(623.65, 646.596), uniform(0.0, 1.0), true));
    } else if (c == Class::kRegion1) {
      const double t = uniform(273.66, 622.65), p = uniform(0.1, 99.9);
      if (p < IF97PSAT(t) + 0.1 || (p < 22.0 && t > IF97TSAT(p) - 0.5)) continue;
      out.push_back(OnePhase(1, p, t));
    } else if (c == Class::kRegion2) {
      const double t = uniform(273.66, 1072.65), p = log_uniform(0.0007, 99.9);
      const bool below_623 = t <= 623.65;
      if (below_623 ? (p > 16.4 || t < IF97TSAT(p) + 0.5) : p > IF97B23P(t) - 0.1) continue;
      out.push_back(OnePhase(2, p, t));
    } else if (c == Class::kRegion5) {
      const double t = uniform(1073.65, 2272.65), p = log_uniform(0.0007, 49.9);
      out.push_back(OnePhase(5, p, t));
    } else {
      const double t = uniform(623.65, 862.65), p = uniform(16.6, 99.9);
      if (p < IF97B23P(t) + 0.1 || (t < 647.096 && std::fabs(p - IF97PSAT(t)) < 0.1)) continue;
      const State s = OnePhase(3, p, t);
      if (s.v > 0) out.push_back(s);
    }
  }
  return out;
}

}  // namespace thermomodels::flash_states
