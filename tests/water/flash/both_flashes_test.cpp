// What both water flashes promise alike: states of every class come back with their ending, the
// domain box and the wrappers, no plausible value beside a failed solve, states beside the edges
// and borders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "water/flash/flash.h"
#include "water/flash/flash_states.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace flash_states;
using E = FlashEnding;
using Wrapper = double (*)(const double& v, const double& e);
constexpr double kInf = HUGE_VAL;

// One flash: its entry points, domain box and the states only it needs.
struct Flash {
  const char* name;
  bool (*inside)(double v, double e);  // the map placed the state
  FlashResult (*run)(double v, double e);
  void (*outputs)(double& p, double& t, double& x, const double& v, const double& e);
  Wrapper pressure_bar, temperature, quality;
  double State::*energy;  // h or u
  double v_min, v_max, e_min, e_max;
  double v_liquid, e_liquid;  // region 3 at the largest volume with a 100 MPa check
};
// clang-format off
const Flash kVh{"(v, h)", [](double v, double h) { return VhFlash(v, h).branch != VhBranch::kOutsideDomain; },
    [](double v, double h) -> FlashResult { return VhFlash(v, h); }, IF97VHFLASH, IF97PVH, IF97TVH,
    IF97XVH, &State::h, kVhFlash.v_min, kVhFlash.v_max, kVhFlash.h_min, kVhFlash.h_max,
    kVhFlash.v_isochore_only, 2400};
const Flash kVu{"(v, u)", [](double v, double u) { return VuFlash(v, u).branch != VuBranch::kOutsideDomain; },
    [](double v, double u) -> FlashResult { return VuFlash(v, u); }, IF97VUFLASH, IF97PVU, IF97TVU,
    IF97XVU, &State::u, kVuFlash.v_min, kVuFlash.v_max, kVuFlash.u_min, kVuFlash.u_max,
    kVuFlash.v_isochore_only, 2300};
// clang-format on
const Flash* const kFlashes[] = {&kVh, &kVu};

// Flashes the state back: |dT| <= t_abs, |dp| <= p_abs, |dx| <= x_abs.
FlashResult ExpectState(const Flash* f, const State& s, double t_abs, double p_abs, double x_abs) {
  const FlashResult out = f->run(s.v, s.*f->energy);
  const auto where = ::testing::Message() << f->name << ": p = " << s.p << ", T = " << s.t
                                          << ", x = " << s.x << ", v = " << s.v;
  EXPECT_NEAR(out.t, s.t, t_abs) << where;
  EXPECT_NEAR(out.p, s.p, p_abs) << where;
  EXPECT_NEAR(out.x, s.x, x_abs) << where;
  return out;
}

// Each class ends its own way, wet states at the saturation pressure of T.
// Off the critical point |dT|/T < 2e-6, |dp| <= max(2e-5 p, 2e-6 MPa), |dx| <
// 1e-5 for 99.9 % of the states, ten times that for all; near it 1e-5, 1e-4 p, 1e-3.
TEST(BothFlashes, SweepOfTwentyThousandStatesComesBackWithItsEnding) {
  using flash_states::Class;
  const E endings[] = {E::kLiquidPair,  E::kVapourPair,       E::kRegion5Pair,
                       E::kWetBelow623, E::kRegion3Isochore, E::kWetRegion3};
  for (Class cls : flash_states::kClasses) {
    const bool critical = cls == Class::kWetNearCritical;
    const double t_rel = critical ? 1e-5 : 2e-6, p_rel = critical ? 1e-4 : 2e-5;
    const double p_abs = critical ? 0.0 : 2e-6, x_abs = critical ? 1e-3 : 1e-5;
    const auto states = flash_states::Generate(cls, 20000 / 6 + 1, 97531);
    for (const Flash* f : kFlashes) {
      SCOPED_TRACE(::testing::Message() << f->name << ", " << NameOf(cls));
      int within = 0;
      for (const State& s : states) {
        const FlashResult out = f->run(s.v, s.*f->energy);
        ASSERT_EQ(out.ending, endings[static_cast<int>(cls)]) << "p = " << s.p << ", T = " << s.t;
        const double dx = s.x < 0 ? (out.x == -1.0 ? 0.0 : 1e300) : std::fabs(out.x - s.x) / x_abs;
        const double score = std::max({std::fabs(out.t - s.t) / (t_rel * s.t),
                                       std::fabs(out.p - s.p) / std::max(p_rel * s.p, p_abs), dx});
        within += score < 1;
        EXPECT_LT(score, critical ? 1.0 : 10.0) << "p = " << s.p << ", T = " << s.t << ", x = "
                                                << s.x << ": p = " << out.p << ", T = " << out.t;
        EXPECT_NEAR(out.p, s.x >= 0 ? IF97PSAT(out.t) : out.p, 1e-9 * out.p);
      }
      EXPECT_GE(within, (critical ? 1.0 : 0.999) * static_cast<double>(states.size()));
    }
  }
}

// Every wrapper at (v, e) gives p, t and x, and the pressure in bar.
void ExpectWrappers(const Flash* f, double v, double e, double p, double t, double x, double bar) {
  double out[6] = {0, 0, 0, f->pressure_bar(v, e), f->temperature(v, e), f->quality(v, e)};
  f->outputs(out[0], out[1], out[2], v, e);
  const double want[] = {p, t, x, bar, t, x};
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(out[i], want[i], 2e-6 * std::fabs(want[i])) << i;
}

TEST(BothFlashes, BoundsNonFiniteInputFailedSolvesAndTheWrappers) {
  const double nan = std::nan(""), nc = kFlashNotConverged;
  for (const Flash* f : kFlashes) {
    // A bound and one ulp inward are inside; one ulp outward and non-finite input are not.
    const double e_mid = 0.5 * (f->e_min + f->e_max);
    const double bounds[][4] = {{f->v_min, e_mid, 0, -1}, {f->v_max, e_mid, 0, 1},
                                {0.5, f->e_min, 1, -1},   {1, f->e_max, 1, 1}};
    for (const auto& b : bounds) {
      for (int step : {0, -1, 1}) {
        double at[2] = {b[0], b[1]};
        const int axis = static_cast<int>(b[2]);
        if (step != 0) at[axis] = std::nextafter(at[axis], step * b[3] * kInf);
        SCOPED_TRACE(::testing::Message() << f->name << ": v = " << at[0] << ", e = " << at[1]);
        EXPECT_EQ(f->inside(at[0], at[1]), step <= 0);
        if (step > 0) ExpectWrappers(f, at[0], at[1], -1.0, -1.0, -1.0, -1.0);
      }
    }
    EXPECT_TRUE(f->inside(f->v_min, f->e_min) && f->inside(f->v_max, f->e_max));
    for (auto [v, e] : {std::pair{2000.0, 100.0}, {nan, 2e3}, {0.1, nan}, {kInf, 2e3}, {0.1, -kInf}}) {
      EXPECT_FALSE(f->inside(v, e)) << v << ", " << e;
      ExpectWrappers(f, v, e, -1.0, -1.0, -1.0, -1.0);
    }
    const double failing_e = f == &kVh ? kVhFlash.h_max : 6300;  // region 5 beyond 2273.15 K
    ExpectWrappers(f, f == &kVh ? 0.0095 : 0.015, failing_e, nc, nc, nc, -1.0);
    const State vapour = OnePhase(2, 1.0, 500), wet = Wet(350, 0.3, false);
    ExpectWrappers(f, vapour.v, vapour.*f->energy, 1.0, 500, -1.0, 10.0);
    ExpectWrappers(f, wet.v, wet.*f->energy, wet.p, 350, 0.3, 10.0 * wet.p);
    // Up to v_liquid the region-3 isochore is preceded by a 100 MPa isobar solve; one ulp above,
    // the isochore runs alone. Same state.
    const FlashResult on = f->run(f->v_liquid, f->e_liquid);
    const FlashResult above = f->run(std::nextafter(f->v_liquid, kInf), f->e_liquid);
    EXPECT_TRUE(on.ending == E::kRegion3Isochore && above.ending == E::kRegion3Isochore);
    EXPECT_NEAR(on.t, above.t, 1e-6 * on.t);
    EXPECT_GE(on.evaluations, above.evaluations + 2);
  }
}

State Region3(double t, double v) {
  return State{IF97R3P(t, v), t, -1.0, v, IF97R3H(t, v), IF97R3U(t, v)};
}

TEST(BothFlashes, StatesBesideTheEdgesAreSolvedAndBeyondThemRejected) {
  struct Edge {
    const char* what;
    State (*at)(double f, double d);  // at f in (0, 1) along the edge, d relative inside
    int flashes;                      // 1: (v, h), 2: (v, u), 3: both
    bool beyond_rejected;             // 1e-3 beyond: -1.0, else only not solved
  };
  constexpr double pm = kFlashPressureMin;
#define AT(state) [](double f, double d) { return state; }
  const Edge edges[] = {
      {"100 MPa, region 1", AT(OnePhase(1, 100 * (1 - d), 273.16 + 350 * f)), 3, true},
      {"100 MPa, region 3", AT(OnePhase(3, 100 * (1 - d), 623.15 + 240 * f)), 3, true},
      {"100 MPa, region 2", AT(OnePhase(2, 100 * (1 - d), 863.15 + 210 * f)), 3, true},
      {"50 MPa", AT(OnePhase(5, 50 * (1 - d), 1073.15 + 1200 * f)), 3, true},
      {"2273.15 K", AT(OnePhase(5, pm * std::pow(50 / pm, f), 2273.15 * (1 - d))), 3, true},
      {"p_min, region 2", AT(OnePhase(2, pm * (1 + d), 273.16 + 800 * f)), 3, false},
      {"p_min, region 5", AT(OnePhase(5, pm * (1 + d), 1073.15 + 1200 * f)), 3, false},
      {"273.15 K", AT(OnePhase(1, 0.001 + 100 * f, 273.15 * (1 + d))), 2, true},
      {"273.16 K", AT(OnePhase(1, 0.001 + 100 * f, 273.16 * (1 + d))), 1, true},
      {"triple line", AT(Wet(273.16 * (1 + d), f, false)), 3, true},
  };
#undef AT
  constexpr int kPerEdge = 40;
  for (const Edge& edge : edges) {
    for (int i = 0; i < kPerEdge; ++i) {
      const double f = (i + 0.5) / kPerEdge;
      for (const Flash* flash : kFlashes) {
        if (!(edge.flashes & (flash == &kVh ? 1 : 2))) continue;
        SCOPED_TRACE(::testing::Message() << edge.what << ", f = " << f);
        for (double d : {1e-6, 1e-5}) {
          const State s = edge.at(f, d);
          ExpectState(flash, s, 1e-3, 1e-5 * s.p, 1e-3);
        }
        const State beyond = edge.at(f, -1e-3);
        const FlashResult out = flash->run(beyond.v, beyond.*flash->energy);
        EXPECT_TRUE(edge.beyond_rejected ? out.p == -1.0 : out.p < 0.0) << out.p;
      }
    }
  }
  for (const Flash* f : kFlashes) {
    // On and just below 1073.15 K. Region 5 meets region 2 there only to within 0.07 K: a state the
    // map gives to region 5 comes back that far.
    for (double t : {1073.15, 1073.15 - 1e-6, 1073.15 - 1e-3}) {
      for (int i = 0; i <= kPerEdge; ++i) {
        const State s = OnePhase(2, 0.001 * std::pow(1e5, double(i) / kPerEdge), t);
        ExpectState(f, s, 0.1, 2e-4 * s.p, 1e-3);
      }
    }
    // Liquid at 273.15 K up to just below the corner at 100 MPa.
    for (int i = 0; i < kPerEdge && f == &kVu; ++i) {
      const State s = OnePhase(1, 100.0 * (i + 0.5) / kPerEdge, 273.15);
      ExpectState(f, s, 1e-6, 1e-5 * s.p, 1e-3);
    }
    // Volumes beside the critical volume: region 3 at 660-750 K, wet at 630-645 K.
    for (double v : {0.0031053, 0.0031054, 0.0031055, 0.00310554}) {
      for (double t : {660.0, 700.0, 750.0}) {
        const State s = Region3(t, v);
        ExpectState(f, s, 1e-3, 1e-5 * s.p, 1e-3);
      }
      for (double t : {630.0, 640.0, 645.0}) {
        const double ps = IF97PSAT(t), vl = IF97R3VITL(ps, t), vv = IF97R3VITV(ps, t);
        const State s = Wet(t, (v - vl) / (vv - vl), true);
        ExpectState(f, s, 1e-3, 1e-5 * s.p, 1e-3);
      }
    }
  }
}

// States within 0.5 K of a border, which the sweep leaves out: 50 mK above the saturated vapour,
// quality 0.9999 and 4e-4, 0.2 K above saturation at 3.5 kPa, region 3 20 mK above 623.15 K beside
// the saturated vapour, and the liquid corners at 90 and 100 MPa that only (v, u) has.
TEST(BothFlashes, StatesBesideABorderComeBackWithTheirEnding) {
  auto vapour = [](double p) { return OnePhase(2, p, IF97TSAT(p) + 0.05); };
  auto wet = [](double p) { return Wet(IF97TSAT(p), 0.9999, false); };
  const std::pair<State, FlashEnding> cases[] = {
      {vapour(0.01), E::kVapourPair},  {vapour(1), E::kVapourPair},
      {vapour(10), E::kVapourPair},    {OnePhase(2, 0.0035, 300), E::kVapourPair},
      {wet(0.01), E::kWetBelow623},    {wet(1), E::kWetBelow623},
      {wet(10), E::kWetBelow623},      {Wet(373.15, 4e-4, false), E::kWetBelow623},
      {Region3(650, 0.0015), E::kRegion3Isochore}, {Region3(623.17, 0.008801), E::kRegion3Isochore},
      {OnePhase(1, 90, 273.16), E::kLiquidPair},   {OnePhase(1, 100, 623.15), E::kLiquidPair},
  };
  for (const auto& [s, ending] : cases) {
    for (const Flash* f : kFlashes) {
      if (s.p >= 90 && f == &kVh) continue;
      EXPECT_EQ(ExpectState(f, s, 2e-6 * s.t, std::fmax(2e-5 * s.p, 2e-6), 1e-5).ending, ending)
          << f->name << ": p = " << s.p << ", T = " << s.t;
    }
  }
}

}  // namespace
}  // namespace thermomodels
