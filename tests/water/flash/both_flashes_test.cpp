// What both water flashes promise alike: the domain box and its bounds,
// non-finite input, no plausible value beside a failed solve, wet states
// next to the 623.15 K line and up to the critical point, and the wrappers.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "water/flash/flash.h"
#include "water/flash/flash_checks.h"
#include "water/flash/flash_states.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using flash_checks::Down;
using flash_checks::Up;
constexpr double kInf = HUGE_VAL;

struct State {
  double v, e;
};

// One flash with its entry points and what a test needs to build its states.
struct Flash {
  const char* name;
  bool (*inside)(double v, double e);  // the map placed the state
  FlashResult (*run)(double v, double e);
  void (*outputs)(double& p, double& t, double& x, const double& v, const double& e);
  double (*pressure_bar)(const double& v, const double& e);
  double (*temperature)(const double& v, const double& e);
  double (*quality)(const double& v, const double& e);
  double (*energy)(const flash_states::State& s);  // the state's h or u
  double (*line_623)(double v);  // through the saturated states of regions 1 and 2 at 623.15 K
  double (*region3_energy)(const double& t, const double& v);
  double v_min, v_max, e_min, e_max;
  State region3_liquid;        // region 3 at the largest volume with a 100 MPa check
  std::vector<State> failing;  // states whose final solve has no root
};

const Flash kVh{
    "(v, h)",
    [](double v, double h) { return VhFlash(v, h).branch != VhBranch::kOutsideDomain; },
    [](double v, double h) -> FlashResult { return VhFlash(v, h); },
    IF97VHFLASH,
    IF97PVH,
    IF97TVH,
    IF97XVH,
    [](const flash_states::State& s) { return s.h; },
    [](double v) {
      return 1670.85821827438 + 892.7337856138699 * (v - 0.0017400705518799) / 0.007060861379695999;
    },
    IF97R3H,
    kVhFlash.v_min,
    kVhFlash.v_max,
    kVhFlash.h_min,
    kVhFlash.h_max,
    {kVhFlash.v_isochore_only, 2400},
    {
        // Region 5 beyond 2273.15 K with no test of that edge: the pair caps.
        {0.0095, kVhFlash.h_max},
        // Below p_min with no test of it: the region-2 pair caps.
        {212.7267048, 2508.145842},
    },
};

const Flash kVu{
    "(v, u)",
    [](double v, double u) { return VuFlash(v, u).band != VuBand::kOutsideDomain; },
    [](double v, double u) -> FlashResult { return VuFlash(v, u); },
    IF97VUFLASH,
    IF97PVU,
    IF97TVU,
    IF97XVU,
    [](const flash_states::State& s) { return s.u; },
    [](double v) {
      return (v - 0.0017400705518799) / 0.007060861379695999 * 776.0236481040602 + 1642.09630631134;
    },
    IF97R3U,
    kVuFlash.v_min,
    kVuFlash.v_max,
    kVuFlash.u_min,
    kVuFlash.u_max,
    {kVuFlash.v_isochore_only, 2300},
    {
        // Colder than 273.15 K at the pressure the liquid pair ends at.
        {0.001, -0.1},
        // Above the lower edge but below the wet states at 273.15 K.
        {300, 2374.5},
        {100, 1151.768672},
        // Vapour below p_min with no test of it.
        {300, 2380},
        // No region-2 pressure on the 1073.15 K isotherm, none in region 5.
        {900, 3500},
        // Region 5 beyond 2273.15 K, its 50 MPa check solve capped: the
        // slowest path; and near the hot corner.
        {0.015, 6300},
        {1716.0, 6327.0},
    },
};

const Flash* const kFlashes[] = {&kVh, &kVu};

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
    const double e_mid = 0.5 * (f->e_min + f->e_max);
    // Each bound belongs to the domain, and so does the value one ulp inward;
    // one ulp outward does not, nor does a value that is not finite.
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
    for (State s : {State{2000, 100}, {nan, 2000}, {0.1, nan}, {kInf, 2000}, {0.1, -kInf}}) {
      EXPECT_FALSE(f->inside(s.v, s.e)) << s.v << ", " << s.e;
      ExpectWrappers(f, s.v, s.e, -1.0, -1.0, -1.0, -1.0);
    }
    // A failed solve leaves no plausible value.
    for (const State& s : f->failing) {
      SCOPED_TRACE(::testing::Message() << f->name << ": v = " << s.v << ", e = " << s.e);
      ExpectWrappers(f, s.v, s.e, nc, nc, nc, -1.0);
    }
    SCOPED_TRACE(f->name);
    const flash_states::State vapour = flash_states::OnePhase(2, 1.0, 500);
    ExpectWrappers(f, vapour.v, f->energy(vapour), 1.0, 500, -1.0, 10.0);
    const flash_states::State wet = flash_states::Wet(350, 0.3, false);
    ExpectWrappers(f, wet.v, f->energy(wet), wet.p, 350, 0.3, 10.0 * wet.p);
  }
}

TEST(BothFlashes, The100MPaCheckOfNearCriticalLiquidEndsAtItsVolume) {
  // Up to this volume the region-3 isochore is preceded by a 100 MPa
  // isobar solve; one ulp above, the isochore runs alone. Same state.
  for (const Flash* f : kFlashes) {
    SCOPED_TRACE(f->name);
    const State s = f->region3_liquid;
    const FlashResult on = f->run(s.v, s.e);
    const FlashResult above = f->run(Up(s.v), s.e);
    EXPECT_EQ(on.ending, FlashEnding::kRegion3Isochore);
    EXPECT_EQ(above.ending, FlashEnding::kRegion3Isochore);
    EXPECT_NEAR(on.t, above.t, 1e-6 * on.t);
    EXPECT_GE(on.evaluations, above.evaluations + 2);
  }
}

TEST(BothFlashes, StatesJustAboveThe623KLineAreSolved) {
  // Just above the straight line through the saturated states of regions 1
  // and 2 at 623.15 K these go to the region-3 wet solve, whose saturated
  // states at 623.15 K lie slightly higher: wet a few mK below 623.15 K.
  for (const Flash* f : kFlashes) {
    for (double v : {0.0018, 0.002, 0.0022, 0.0025}) {
      for (double de : {0.001, 0.003, 0.005}) {
        const double e = f->line_623(v) + de;
        const FlashResult out = f->run(v, e);
        SCOPED_TRACE(::testing::Message() << f->name << ": v = " << v << ", e = " << e);
        EXPECT_EQ(out.ending, FlashEnding::kWetRegion3);
        EXPECT_NEAR(out.t, 623.15, 0.02);
        EXPECT_NEAR(out.p, IF97PSAT(out.t), 1e-9 * out.p);
        EXPECT_GT(out.x, 0.0);
        EXPECT_LT(out.x, 1.0);
      }
    }
  }
}

TEST(BothFlashes, WetStatesUpToTheCriticalPointStayFinite) {
  for (const Flash* f : kFlashes) {
    for (double t : {646.9, 646.95, 647.0, 647.05, 647.09, 647.095, 647.0959, 647.09599, 647.096}) {
      for (double x : {0.0, 0.2, 0.5, 0.8, 1.0}) {
        const flash_states::State s = flash_states::Wet(t, x, true);
        const FlashResult out = f->run(s.v, f->energy(s));
        SCOPED_TRACE(::testing::Message() << f->name << ": T = " << t << " K, x = " << x);
        ASSERT_TRUE(std::isfinite(out.x));
        EXPECT_NEAR(out.t, t, 1e-5 * t);
        EXPECT_NEAR(out.p, s.p, 1e-4 * s.p);
        // The quality is as good as the temperature allows: its error grows
        // like dT / (647.096 K - T) toward the critical point.
        if (t <= 647.0 && out.ending == FlashEnding::kWetRegion3) {
          EXPECT_NEAR(out.x, x, 1e-3);
        }
      }
    }
    // At the critical point the two saturated volumes meet; the quality is
    // the lever rule's limit on the critical isochore.
    const double vc = kFlashCriticalVolume;
    const FlashResult critical = f->run(vc, f->region3_energy(647.096, vc));
    SCOPED_TRACE(f->name);
    EXPECT_EQ(critical.ending, FlashEnding::kWetRegion3);
    EXPECT_EQ(critical.x, 0.5);
    EXPECT_NEAR(critical.t, 647.096, 1e-5 * 647.096);
    EXPECT_NEAR(critical.p, 22.064, 1e-4 * 22.064);
  }
}

// The state comes back within |dT| <= t_abs and |dp| <= p_rel p, with its
// quality within 1e-3 (-1.0 in one phase).
void ExpectState(const Flash* f, const flash_states::State& s, double t_abs, double p_rel) {
  const FlashResult out = f->run(s.v, f->energy(s));
  EXPECT_NEAR(out.t, s.t, t_abs) << f->name << ": p = " << s.p << " MPa, T = " << s.t << " K";
  EXPECT_NEAR(out.p, s.p, p_rel * s.p) << f->name << ": p = " << s.p << " MPa, T = " << s.t << " K";
  EXPECT_NEAR(out.x, s.x, 1e-3) << f->name << ": p = " << s.p << " MPa, T = " << s.t << " K";
}

TEST(BothFlashes, StatesJustInsideEachEdgeAreSolvedAndBeyondItRejected) {
  using flash_states::OnePhase;
  using flash_states::State;
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
      {"triple line",
       [](double f, double d) { return flash_states::Wet(273.16 * (1 + d), f, false); }, 3, true},
  };
  constexpr int kPerEdge = 40;
  for (const Edge& edge : edges) {
    for (int i = 0; i < kPerEdge; ++i) {
      const double f = (i + 0.5) / kPerEdge;
      for (const Flash* flash : kFlashes) {
        if (!(edge.flashes & (flash == &kVh ? 1 : 2))) continue;
        SCOPED_TRACE(::testing::Message() << edge.what << ", f = " << f);
        for (double d : {1e-6, 1e-5}) ExpectState(flash, edge.at(f, d), 1e-3, 1e-5);
        const State beyond = edge.at(f, -1e-3);
        const FlashResult out = flash->run(beyond.v, flash->energy(beyond));
        EXPECT_TRUE(edge.beyond_rejected ? out.p == -1.0 : out.p < 0.0) << out.p;
      }
    }
  }
  for (const Flash* f : kFlashes) {
    // On and just below 1073.15 K. Region 5 meets region 2 there only to
    // within 0.07 K: a state the map gives to region 5 comes back that far.
    for (double t : {1073.15, 1073.15 - 1e-6, 1073.15 - 1e-3}) {
      for (int i = 0; i <= kPerEdge; ++i) {
        ExpectState(f, OnePhase(2, 0.001 * std::pow(1e5, double(i) / kPerEdge), t), 0.1, 2e-4);
      }
    }
    // Liquid at 273.15 K up to just below the corner at 100 MPa.
    for (int i = 0; i < kPerEdge && f == &kVu; ++i) {
      ExpectState(f, OnePhase(1, 100.0 * (i + 0.5) / kPerEdge, 273.15), 1e-6, 1e-5);
    }
    // Volumes beside the critical volume: region 3 at 660-750 K, wet at 630-645 K.
    for (double v : {0.0031053, 0.0031054, 0.0031055, 0.00310554}) {
      for (double t : {660.0, 700.0, 750.0}) {
        ExpectState(f, {IF97R3P(t, v), t, -1.0, v, IF97R3H(t, v), IF97R3U(t, v)}, 1e-3, 1e-5);
      }
      for (double t : {630.0, 640.0, 645.0}) {
        const double ps = IF97PSAT(t), vl = IF97R3VITL(ps, t), vv = IF97R3VITV(ps, t);
        ExpectState(f, flash_states::Wet(t, (v - vl) / (vv - vl), true), 1e-3, 1e-5);
      }
    }
  }
}

}  // namespace
}  // namespace thermomodels
