// What both water flashes promise alike: random and worked states come back,
// the domain box and the wrappers, no plausible value beside a failed solve,
// states beside the edges, the 623.15 K line and the critical point.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "water/flash/flash.h"
#include "water/flash/flash_checks.h"
#include "water/flash/flash_states.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using flash_checks::Up;
using flash_states::OnePhase;
using flash_states::State;
using flash_states::Wet;
using Wrapper = double (*)(const double& v, const double& e);
constexpr double kInf = HUGE_VAL;

template <auto F>
FlashResult Run(double v, double e) {
  return F(v, e);
}
template <auto F>
bool Inside(double v, double e) {  // the map placed the state
  return F(v, e).branch != decltype(F(v, e).branch)::kOutsideDomain;
}

// One flash with its entry points and the states only it needs.
struct Flash {
  const char* name;
  bool (*inside)(double v, double e);
  FlashResult (*run)(double v, double e);
  void (*outputs)(double& p, double& t, double& x, const double& v, const double& e);
  Wrapper pressure_bar, temperature, quality;
  double State::*energy;  // h or u
  double v_min, v_max, e_min, e_max;
  double v_liquid, e_liquid;  // region 3 at the largest volume with a 100 MPa check
  const std::vector<std::pair<double, double>>* failing;  // states whose final solve has no root
};

// Failing states of (v, h): region 5 beyond 2273.15 K with no test of that
// edge, and the region-2 pair below p_min with no test of it: the pairs cap.
// Of (v, u): colder than 273.15 K at the pressure the liquid pair ends at;
// above the lower edge but below the wet states at 273.15 K; vapour below
// p_min with no test of it; no region-2 pressure on the 1073.15 K isotherm,
// none in region 5; region 5 beyond 2273.15 K, its 50 MPa check capped (the
// slowest path), and near the hot corner.
using Pairs = std::vector<std::pair<double, double>>;
const Pairs kVhFailing = {{0.0095, kVhFlash.h_max}, {212.7267048, 2508.145842}};
const Pairs kVuFailing = {{0.001, -0.1}, {300, 2374.5}, {100, 1151.768672}, {300, 2380},
                          {900, 3500},   {0.015, 6300}, {1716.0, 6327.0}};
// clang-format off
const Flash kVh{"(v, h)", Inside<VhFlash>, Run<VhFlash>, IF97VHFLASH, IF97PVH, IF97TVH, IF97XVH,
                &State::h, kVhFlash.v_min, kVhFlash.v_max, kVhFlash.h_min, kVhFlash.h_max,
                kVhFlash.v_isochore_only, 2400, &kVhFailing};
const Flash kVu{"(v, u)", Inside<VuFlash>, Run<VuFlash>, IF97VUFLASH, IF97PVU, IF97TVU, IF97XVU,
                &State::u, kVuFlash.v_min, kVuFlash.v_max, kVuFlash.u_min, kVuFlash.u_max,
                kVuFlash.v_isochore_only, 2300, &kVuFailing};
// clang-format on
const Flash* const kFlashes[] = {&kVh, &kVu};

// Flashes the state back: |dT| <= t_abs, |dp| <= p_abs, |dx| <= x_abs (x is
// -1.0 in one phase).
FlashResult ExpectState(const Flash* f, const State& s, double t_abs, double p_abs, double x_abs) {
  const FlashResult out = f->run(s.v, s.*f->energy);
  const auto where = ::testing::Message()
                     << f->name << ": p = " << s.p << ", T = " << s.t << ", x = " << s.x;
  EXPECT_NEAR(out.t, s.t, t_abs) << where;
  EXPECT_NEAR(out.p, s.p, p_abs) << where;
  EXPECT_NEAR(out.x, s.x, x_abs) << where;
  return out;
}

// Outside the near-critical class: |dT|/T < 2e-6, |dp| <= max(2e-5 p,
// 2e-6 MPa), |dx| < 1e-5 for 99.9 % of the states, ten times that for all.
// Near the critical point: 1e-5, 1e-4 p and 1e-3 for all.
TEST(BothFlashes, SweepOfTwentyThousandStatesComesBack) {
  using flash_states::Class;
  for (Class cls : flash_states::kClasses) {
    const bool critical = cls == Class::kWetNearCritical;
    const double t_rel = critical ? 1e-5 : 2e-6, p_rel = critical ? 1e-4 : 2e-5;
    const double p_abs = critical ? 0.0 : 2e-6, x_abs = critical ? 1e-3 : 1e-5;
    const double share = critical ? 1.0 : 0.999, worst = critical ? 1.0 : 10.0;
    const auto states = flash_states::Generate(cls, 20000 / 6 + 1, 97531);
    for (const Flash* f : kFlashes) {
      SCOPED_TRACE(::testing::Message() << f->name << ", " << NameOf(cls));
      int within = 0;
      for (const State& s : states) {
        const FlashResult out = f->run(s.v, s.*f->energy);
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

// Worked states of every ending, and beside the saturated-vapour line (50 mK
// above saturation, h and u above h'' and u'' by well under 1 kJ/kg, and
// quality 0.9999), come back to within 2e-6 T, 2e-5 p and 1e-5 in x.
TEST(BothFlashes, WorkedStatesComeBackWithTheirEnding) {
  using E = FlashEnding;
  auto region3 = [](double t, double v) {
    return State{IF97R3P(t, v), t, -1.0, v, IF97R3H(t, v), IF97R3U(t, v)};
  };
  auto vapour = [](double p) { return OnePhase(2, p, IF97TSAT(p) + 0.05); };
  auto wet = [](double p) { return Wet(IF97TSAT(p), 0.9999, false); };
  struct Group {
    FlashEnding ending;
    std::vector<State> states;
    bool vu_only = false;  // on an edge the (v, h) flash does not include
  };
  const Group groups[] = {
      {E::kVapourPair,
       {OnePhase(2, 10, 700), OnePhase(2, 0.0035, 300), OnePhase(2, 1, 500), OnePhase(2, 10, 1000),
        vapour(0.01), vapour(1), vapour(10)}},
      {E::kRegion5Pair,
       {OnePhase(5, 0.01, 1500), OnePhase(5, 40, 1100), OnePhase(5, 20, 1100),
        OnePhase(5, 30, 2000)}},
      {E::kWetBelow623,
       {Wet(400, 0.99, false), Wet(373.15, 0.8, false), Wet(373.15, 0.5, false),
        Wet(373.15, 4e-4, false), Wet(600, 0.01, false), wet(0.01), wet(1), wet(10)}},
      {E::kRegion3Isochore, {OnePhase(3, 70, 800), region3(650, 0.0015)}},
      {E::kLiquidPair, {OnePhase(1, 10, 300), OnePhase(1, 10, 400), OnePhase(1, 17, 615)}},
      {E::kLiquidPair, {OnePhase(1, 90, 273.16), OnePhase(1, 100, 623.15)}, true}};
  for (const Group& g : groups) {
    for (const State& s : g.states) {
      for (const Flash* f : kFlashes) {
        if (g.vu_only && f == &kVh) continue;
        const FlashResult out = ExpectState(f, s, 2e-6 * s.t, std::fmax(2e-5 * s.p, 2e-6), 1e-5);
        EXPECT_EQ(out.ending, g.ending) << f->name << ": p = " << s.p << ", T = " << s.t;
        // Two-phase: the pressure is the saturation pressure of the result.
        EXPECT_NEAR(out.p, s.x >= 0 ? IF97PSAT(out.t) : out.p, 1e-9 * out.p);
      }
    }
  }
}

// Every wrapper of the flash at (v, e) gives p, t and x, and the pressure in
// bar (-1.0 unless solved).
void ExpectWrappers(const Flash* f, double v, double e, double p, double t, double x, double bar) {
  double out[6] = {0, 0, 0, f->pressure_bar(v, e), f->temperature(v, e), f->quality(v, e)};
  f->outputs(out[0], out[1], out[2], v, e);
  const double want[] = {p, t, x, bar, t, x};
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(out[i], want[i], 2e-6 * std::fabs(want[i])) << i;
}

TEST(BothFlashes, BoundsNonFiniteInputFailedSolvesAndTheWrappers) {
  const double nan = std::nan(""), nc = kFlashNotConverged;
  for (const Flash* f : kFlashes) {
    // Each bound belongs to the domain, and so does the value one ulp inward;
    // one ulp outward does not, nor does a value that is not finite.
    const double e_mid = 0.5 * (f->e_min + f->e_max);
    struct Bound {
      double v, e;
      int axis, outward;
    };
    const Bound bounds[] = {{f->v_min, e_mid, 0, -1},
                            {f->v_max, e_mid, 0, 1},
                            {0.5, f->e_min, 1, -1},
                            {1, f->e_max, 1, 1}};
    for (const Bound& b : bounds) {
      for (int step : {0, -1, 1}) {
        double at[2] = {b.v, b.e};
        if (step != 0) at[b.axis] = std::nextafter(at[b.axis], step * b.outward * kInf);
        SCOPED_TRACE(::testing::Message() << f->name << ": v = " << at[0] << ", e = " << at[1]);
        EXPECT_EQ(f->inside(at[0], at[1]), step <= 0);
        if (step > 0) ExpectWrappers(f, at[0], at[1], -1.0, -1.0, -1.0, -1.0);
      }
    }
    EXPECT_TRUE(f->inside(f->v_min, f->e_min) && f->inside(f->v_max, f->e_max));
    for (auto [v, e] :
         {std::pair{2000.0, 100.0}, {nan, 2000.0}, {0.1, nan}, {kInf, 2000.0}, {0.1, -kInf}}) {
      EXPECT_FALSE(f->inside(v, e)) << v << ", " << e;
      ExpectWrappers(f, v, e, -1.0, -1.0, -1.0, -1.0);
    }
    // A failed solve leaves no plausible value.
    for (auto [v, e] : *f->failing) {
      SCOPED_TRACE(::testing::Message() << f->name << ": v = " << v << ", e = " << e);
      ExpectWrappers(f, v, e, nc, nc, nc, -1.0);
    }
    SCOPED_TRACE(f->name);
    const State vapour = OnePhase(2, 1.0, 500), wet = Wet(350, 0.3, false);
    ExpectWrappers(f, vapour.v, vapour.*f->energy, 1.0, 500, -1.0, 10.0);
    ExpectWrappers(f, wet.v, wet.*f->energy, wet.p, 350, 0.3, 10.0 * wet.p);
  }
}

TEST(BothFlashes, The100MPaCheckOfNearCriticalLiquidEndsAtItsVolume) {
  // Up to this volume the region-3 isochore is preceded by a 100 MPa
  // isobar solve; one ulp above, the isochore runs alone. Same state.
  for (const Flash* f : kFlashes) {
    SCOPED_TRACE(f->name);
    const double v = f->v_liquid, e = f->e_liquid;
    const FlashResult on = f->run(v, e), above = f->run(Up(v), e);
    EXPECT_EQ(on.ending, FlashEnding::kRegion3Isochore);
    EXPECT_EQ(above.ending, FlashEnding::kRegion3Isochore);
    EXPECT_NEAR(on.t, above.t, 1e-6 * on.t);
    EXPECT_GE(on.evaluations, above.evaluations + 2);
  }
}

TEST(BothFlashes, WetStatesAbove623KLineAndUpToTheCriticalPoint) {
  for (const Flash* f : kFlashes) {
    // Just above the straight line through the saturated states of regions 1
    // and 2 at 623.15 K these go to the region-3 wet solve, whose saturated
    // states at 623.15 K lie slightly higher: wet a few mK below 623.15 K.
    for (double x : {0.01, 0.04, 0.07, 0.1}) {
      for (double de : {0.001, 0.003, 0.005}) {
        const State s = Wet(623.15, x, false);
        const FlashResult out = f->run(s.v, s.*f->energy + de);
        SCOPED_TRACE(::testing::Message() << f->name << ": v = " << s.v << ", de = " << de);
        EXPECT_EQ(out.ending, FlashEnding::kWetRegion3);
        EXPECT_NEAR(out.t, 623.15, 0.02);
        EXPECT_NEAR(out.p, IF97PSAT(out.t), 1e-9 * out.p);
        EXPECT_TRUE(out.x > 0.0 && out.x < 1.0) << out.x;
      }
    }
    // The quality is as good as the temperature allows: its error grows like
    // dT / (647.096 K - T) toward the critical point.
    for (double t : {646.9, 646.95, 647.0, 647.05, 647.09, 647.095, 647.0959, 647.09599, 647.096}) {
      for (double x : {0.0, 0.2, 0.5, 0.8, 1.0}) {
        const State s = Wet(t, x, true);
        const FlashResult out = ExpectState(f, s, 1e-5 * t, 1e-4 * s.p, kInf);
        EXPECT_TRUE(std::isfinite(out.x));
        const bool wet = t <= 647.0 && out.ending == FlashEnding::kWetRegion3;
        EXPECT_TRUE(!wet || std::fabs(out.x - x) <= 1e-3) << out.x;
      }
    }
    // At the critical point the two saturated volumes meet; the quality is
    // the lever rule's limit on the critical isochore.
    const double vc = kFlashCriticalVolume;
    const State critical{22.064, 647.096, 0.5, vc, IF97R3H(647.096, vc), IF97R3U(647.096, vc)};
    const FlashResult out = ExpectState(f, critical, 1e-5 * 647.096, 1e-4 * 22.064, 0.0);
    EXPECT_EQ(out.ending, FlashEnding::kWetRegion3);
  }
}

TEST(BothFlashes, StatesJustInsideEachEdgeAreSolvedAndBeyondItRejected) {
  struct Edge {
    const char* what;
    State (*at)(double f, double d);  // at f in (0, 1) along the edge, d relative inside
    int flashes;                      // 1: (v, h), 2: (v, u), 3: both
    bool beyond_rejected;             // 1e-3 beyond: -1.0, else only not solved
  };
  constexpr double pm = kFlashPressureMin;
  const Edge edges[] = {
      {"100 MPa, region 1",
       [](double f, double d) { return OnePhase(1, 100 * (1 - d), 273.16 + 350 * f); }, 3, true},
      {"100 MPa, region 3",
       [](double f, double d) { return OnePhase(3, 100 * (1 - d), 623.15 + 240 * f); }, 3, true},
      {"100 MPa, region 2",
       [](double f, double d) { return OnePhase(2, 100 * (1 - d), 863.15 + 210 * f); }, 3, true},
      {"50 MPa", [](double f, double d) { return OnePhase(5, 50 * (1 - d), 1073.15 + 1200 * f); },
       3, true},
      {"2273.15 K",
       [](double f, double d) { return OnePhase(5, pm * std::pow(50 / pm, f), 2273.15 * (1 - d)); },
       3, true},
      {"p_min, region 2",
       [](double f, double d) { return OnePhase(2, pm * (1 + d), 273.16 + 800 * f); }, 3, false},
      {"p_min, region 5",
       [](double f, double d) { return OnePhase(5, pm * (1 + d), 1073.15 + 1200 * f); }, 3, false},
      {"273.15 K",
       [](double f, double d) { return OnePhase(1, 0.001 + 100 * f, 273.15 * (1 + d)); }, 2, true},
      {"273.16 K",
       [](double f, double d) { return OnePhase(1, 0.001 + 100 * f, 273.16 * (1 + d)); }, 1, true},
      {"triple line", [](double f, double d) { return Wet(273.16 * (1 + d), f, false); }, 3, true},
  };
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
    // On and just below 1073.15 K. Region 5 meets region 2 there only to
    // within 0.07 K: a state the map gives to region 5 comes back that far.
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
        const State s{IF97R3P(t, v), t, -1.0, v, IF97R3H(t, v), IF97R3U(t, v)};
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

}  // namespace
}  // namespace thermomodels
