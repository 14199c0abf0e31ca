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
  State beside_critical;       // just below the critical volume: a wet region-3 state
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
    {0.0031052880996441214, 2000.0},
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
    {0.0031052880996441214, 1900.0},
};

const Flash* const kFlashes[] = {&kVh, &kVu};

TEST(BothFlashes, BoundsAreInsideAndOneUlpBeyondOrNonFiniteIsOutside) {
  const double nan = std::nan("");
  for (const Flash* f : kFlashes) {
    const double e_mid = 0.5 * (f->e_min + f->e_max);
    struct Row {
      double v, e;
      bool inside;
    };
    const Row rows[] = {
        {f->v_min, e_mid, true},
        {Up(f->v_min), e_mid, true},
        {Down(f->v_min), e_mid, false},
        {f->v_max, e_mid, true},
        {Down(f->v_max), e_mid, true},
        {Up(f->v_max), e_mid, false},
        {0.5, f->e_min, true},
        {0.5, Up(f->e_min), true},
        {0.5, Down(f->e_min), false},
        {1.0, f->e_max, true},
        {1.0, Down(f->e_max), true},
        {1.0, Up(f->e_max), false},
        {f->v_min, f->e_min, true},
        {f->v_max, f->e_max, true},
        {2000.0, 100.0, false},
        {nan, 2000, false},
        {0.1, nan, false},
        {kInf, 2000, false},
        {0.1, -kInf, false},
    };
    for (const Row& r : rows) {
      SCOPED_TRACE(::testing::Message() << f->name << ": v = " << r.v << ", e = " << r.e);
      EXPECT_EQ(f->inside(r.v, r.e), r.inside);
      if (r.inside) continue;
      double p = 0, t = 0, x = 0;
      f->outputs(p, t, x, r.v, r.e);
      EXPECT_EQ(p, -1.0);
      EXPECT_EQ(t, -1.0);
      EXPECT_EQ(x, -1.0);
      EXPECT_EQ(f->pressure_bar(r.v, r.e), -1.0);
    }
  }
}

TEST(BothFlashes, AFailedSolveLeavesNoPlausibleValue) {
  for (const Flash* f : kFlashes) {
    for (const State& s : f->failing) {
      SCOPED_TRACE(::testing::Message() << f->name << ": v = " << s.v << ", e = " << s.e);
      double p = 0, t = 0, x = 0;
      f->outputs(p, t, x, s.v, s.e);
      EXPECT_EQ(p, kFlashNotConverged);
      EXPECT_EQ(t, kFlashNotConverged);
      EXPECT_EQ(x, kFlashNotConverged);
      EXPECT_EQ(f->pressure_bar(s.v, s.e), -1.0);
      EXPECT_EQ(f->temperature(s.v, s.e), kFlashNotConverged);
      EXPECT_EQ(f->quality(s.v, s.e), kFlashNotConverged);
    }
    // Just below the critical volume the region-3 saturated-liquid solve
    // places the state: every entry point gives the same wet state, and the
    // saturated states at its temperature give back its volume and energy.
    const State s = f->beside_critical;
    SCOPED_TRACE(::testing::Message() << f->name << ": v = " << s.v << ", e = " << s.e);
    const FlashResult out = f->run(s.v, s.e);
    EXPECT_EQ(out.ending, FlashEnding::kWetRegion3);
    double p = 0, t = 0, x = 0;
    f->outputs(p, t, x, s.v, s.e);
    EXPECT_EQ(p, out.p);
    EXPECT_EQ(t, out.t);
    EXPECT_EQ(x, out.x);
    EXPECT_EQ(f->pressure_bar(s.v, s.e), 10.0 * out.p);
    EXPECT_EQ(f->temperature(s.v, s.e), out.t);
    EXPECT_EQ(f->quality(s.v, s.e), out.x);
    EXPECT_GT(out.t, 623.15);
    EXPECT_LT(out.t, 647.096);
    EXPECT_NEAR(out.p, IF97PSAT(out.t), 1e-9 * out.p);
    EXPECT_GT(out.x, 0.0);
    EXPECT_LT(out.x, 1.0);
    const flash_states::State back = flash_states::Wet(out.t, out.x, true);
    EXPECT_NEAR(back.v, s.v, 1e-9 * s.v);
    EXPECT_NEAR(f->energy(back), s.e, 1e-6 * s.e);
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

TEST(BothFlashes, WrappersReturnOneValueEach) {
  const flash_states::State vapour{
      1.0, 500, -1.0, IF97R2V(1.0, 500), IF97R2H(1.0, 500), IF97R2U(1.0, 500)};
  const flash_states::State wet = flash_states::Wet(350, 0.3, false);
  for (const Flash* f : kFlashes) {
    SCOPED_TRACE(f->name);
    EXPECT_NEAR(f->pressure_bar(vapour.v, f->energy(vapour)), 10.0, 2e-4);  // bar
    EXPECT_NEAR(f->temperature(vapour.v, f->energy(vapour)), 500.0, 1e-3);
    EXPECT_EQ(f->quality(vapour.v, f->energy(vapour)), -1.0);  // one phase
    EXPECT_NEAR(f->quality(wet.v, f->energy(wet)), 0.3, 1e-6);
    EXPECT_NEAR(f->pressure_bar(wet.v, f->energy(wet)), 10.0 * wet.p, 1e-5 * wet.p);
  }
}

}  // namespace
}  // namespace thermomodels
