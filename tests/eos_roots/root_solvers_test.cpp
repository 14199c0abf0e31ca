// The reverse-communication root solvers driven by real pressure functions.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "eos_roots/eos_roots.h"

namespace thermomodels {
namespace {

constexpr double kR = 8314.33;

// Soave-Redlich-Kwong pressure of a pure fluid with the CPA core's constants.
struct Srk {
  double a, b;
  Srk(double tc, double pc, double m, double t) {
    const double alpha = std::pow(1.0 + m * (1.0 - std::sqrt(t / tc)), 2);
    a = 0.42748025 * std::pow(kR * tc, 2) / pc * alpha;
    b = 0.08664035 * kR * tc / pc;
  }
  double Pressure(double v, double t) const { return kR * t / (v - b) - a / (v * (v + b)); }
  double Dpdv(double v, double t) const {
    return -kR * t / ((v - b) * (v - b)) + a * (2.0 * v + b) / (v * v * (v + b) * (v + b));
  }
  double Tcmech() const { return 0.20268 * a / (b * kR); }
  // Real roots in V of P(V) = p from the cubic in Z, ascending.
  std::vector<double> Roots(double p, double t) const {
    const double A = a * p / (kR * kR * t * t), B = b * p / (kR * t);
    // Z^3 - Z^2 + (A - B - B^2) Z - A B = 0, by Newton from both ends.
    auto f = [&](double z) { return ((z - 1.0) * z + (A - B - B * B)) * z - A * B; };
    auto df = [&](double z) { return (3.0 * z - 2.0) * z + (A - B - B * B); };
    std::vector<double> roots;
    for (double z : {B * 1.0000001, 1.5}) {
      for (int i = 0; i < 200; ++i) z -= f(z) / df(z);
      roots.push_back(z * kR * t / p);
    }
    return roots;
  }
};

using PressureFn = std::function<void(double v, double& p, double& dpdv)>;

struct Outcome {
  int64_t irc = 0;
  int64_t istat = 0;
  double v = 0.0;
  int calls = 0;
};

struct SearchSetup {
  bool liquid = false;
  double vlim = 0.0, vcmech = 0.0, vcut = 0.0, t = 0.0, pspec = 0.0;
  int64_t iflag = 1;
  double v_start = 0.0;
  int64_t pure = 0;  // -1 tells the solver the fluid is pure
  double rtol = 1e-10, dpdxmf = 0.1;
  int64_t iaccpt = 0;
  int64_t lvlmsg = 0;
  int32_t unit = 6;
};

const int64_t kModel[2] = {0x2020202020415043, 0x2020202020202020};  // "CPA     ", blanks

// The caller's loop of the protocol.
Outcome Drive(const SearchSetup& s, const PressureFn& pressure, int max_calls = 10000) {
  Outcome out;
  int64_t irc = 4, iflag = s.iflag, istat = 0;
  double v = s.v_start, p = 0.0, dpdv = 0.0;
  PPUTL_ESROOT.iw[s.liquid ? esr::LQPURE : esr::VPPURE] = s.pure;
  const int64_t lvldet = 0;
  const double slope0 = kNoValue;
  for (out.calls = 1; out.calls <= max_calls; ++out.calls) {
    auto* solver = s.liquid ? &LQROOT : &VPROOT;
    solver(irc, iflag, s.vlim, s.vcmech, s.vcut, s.t, s.pspec, v, p, dpdv, kModel, lvldet, s.lvlmsg,
           s.unit, slope0, kR, s.rtol, s.dpdxmf, PPUTL_ESROOT.iw, PPUTL_ESROOT.rw, s.iaccpt, istat);
    if (irc < 1 || irc > 3) break;
    pressure(v, p, dpdv);
  }
  out.irc = irc;
  out.istat = istat;
  out.v = v;
  return out;
}

// A fluid of co-volume b at T, searched between b and the mechanical
// critical volume 3.8473 b.
SearchSetup PlainSetup(bool liquid, double t, double b, double pspec) {
  SearchSetup s;
  s.liquid = liquid;
  s.vlim = b;
  s.vcmech = 3.8473 * b;
  s.vcut = s.vcmech;
  s.t = t;
  s.pspec = pspec;
  return s;
}

// Above the mechanical critical temperature the vapour search may go down to b.
SearchSetup SrkSetup(const Srk& eos, double t, double p, bool liquid) {
  SearchSetup s = PlainSetup(liquid, t, eos.b, p);
  if (t >= eos.Tcmech() && !liquid) s.vcut = eos.b;
  return s;
}

PressureFn SrkFn(const Srk& eos, double t) {
  return [&eos, t](double v, double& p, double& dpdv) {
    p = eos.Pressure(v, t);
    dpdv = eos.Dpdv(v, t);
  };
}

TEST(RootSolvers, SrkMethaneRootsMatchTheCubic) {
  struct Case {
    double t, p;
    bool liquid;
  };
  const Case cases[] = {{150.0, 1e5, true}, {150.0, 1e5, false}, {250.0, 5e6, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "T=" << c.t << " P=" << c.p << " liquid=" << c.liquid);
    const Srk eos(190.56, 4.599e6, 0.497293, c.t);
    const Outcome out = Drive(SrkSetup(eos, c.t, c.p, c.liquid), SrkFn(eos, c.t));
    EXPECT_EQ(out.irc, 4);
    EXPECT_EQ(out.istat, 0);
    const std::vector<double> roots = eos.Roots(c.p, c.t);
    const double exact = c.liquid ? roots.front() : roots.back();
    EXPECT_NEAR(out.v / exact, 1.0, 1e-9);
    EXPECT_EQ(PPUTL_ESROOT.iw[c.liquid ? esr::ISTATL1 : esr::ISTATV], 0);
  }
}

TEST(RootSolvers, LiquidSearchAboveTheBranchEndsOnAPseudoRoot) {
  const double t = 250.0, p = 5e6;
  const Srk eos(190.56, 4.599e6, 0.497293, t);
  PPUTL_EOSRET.LIQNO = 1;
  const SearchSetup s = SrkSetup(eos, t, p, true);
  const Outcome out = Drive(s, SrkFn(eos, t));
  EXPECT_EQ(out.irc, 4);
  EXPECT_TRUE(out.istat == 3 || out.istat == 4) << out.istat;
  EXPECT_EQ(PPUTL_ESROOT.iw[esr::LQPURE], 1);
  EXPECT_EQ(PPUTL_ESROOT.iw[esr::ISTATL1], out.istat);
  // The pseudo-root lies beyond the end of the liquid branch, and the model
  // name was recorded with the status.
  EXPECT_GT(out.v, eos.b);
  EXPECT_EQ(PPUTL_ESROOT.iw[esr::MODELS1], kModel[0]);
}

TEST(RootSolvers, SecondLiquidKeepsItsOwnResultWords) {
  const double t = 150.0, p = 1e5;
  const Srk eos(190.56, 4.599e6, 0.497293, t);
  PPUTL_EOSRET.LIQNO = 2;
  PPUTL_ESROOT.rw[25] = -7.0;  // VLASTL1 must stay untouched
  const Outcome out = Drive(SrkSetup(eos, t, p, true), SrkFn(eos, t));
  PPUTL_EOSRET.LIQNO = 1;
  EXPECT_EQ(out.istat, 0);
  EXPECT_EQ(PPUTL_ESROOT.rw[27], out.v);  // VLASTL2
  EXPECT_EQ(PPUTL_ESROOT.rw[25], -7.0);
  EXPECT_EQ(PPUTL_ESROOT.iw[esr::ISTATL2], 0);
}

TEST(RootSolvers, NotFinitePressureFailsWithTheIdealGasVolume) {
  const double t = 150.0, p = 1e5;
  const Srk eos(190.56, 4.599e6, 0.497293, t);
  for (bool liquid : {false, true}) {
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
      SCOPED_TRACE(testing::Message() << "liquid=" << liquid << " bad=" << bad);
      int calls = 0;
      const Outcome out = Drive(SrkSetup(eos, t, p, liquid), [&](double v, double& pv, double& d) {
        pv = (++calls == 1) ? bad : eos.Pressure(v, t);
        d = eos.Dpdv(v, t);
      });
      EXPECT_EQ(out.irc, 5);
      EXPECT_EQ(out.istat, 6);
      EXPECT_EQ(out.v, kR * t / p);
      EXPECT_EQ(out.calls, 2);
    }
  }
}

// Targets and pressure functions on which no search can converge: every
// search ends within its call bound, never reporting "under way".
TEST(RootSolvers, EverySearchEnds) {
  const double t = 300.0, b = 0.03;
  const PressureFn ideal = [&](double v, double& p, double& d) {
    p = kR * t / (v - b);
    d = -kR * t / ((v - b) * (v - b));
  };
  const PressureFn constant = [](double, double& p, double& d) {
    p = 3e5;
    d = 0.0;
  };
  const struct {
    double pspec;
    const PressureFn* fn;
  } cases[] = {{-1.0, &ideal},
               {0.0, &ideal},
               {std::numeric_limits<double>::quiet_NaN(), &ideal},
               {1e5, &constant}};
  for (const auto& c : cases) {
    for (bool liquid : {false, true}) {
      SCOPED_TRACE(testing::Message() << "PSPEC=" << c.pspec << " liquid=" << liquid);
      const Outcome out = Drive(PlainSetup(liquid, t, b, c.pspec), *c.fn);
      EXPECT_LE(out.calls, 4 * (liquid ? 100 : 60) + 2);
      EXPECT_TRUE(out.irc == 4 || out.irc == 5) << out.irc;
      EXPECT_NE(out.istat, -1);
    }
  }
}

TEST(RootSolvers, IterationLimitFailsTheSearch) {
  // A pressure that jumps across the target: the bracketed secant closes in
  // on the jump until the limit ends the search.
  const double t = 300.0, b = 0.03;
  for (bool liquid : {false, true}) {
    const double v_step = liquid ? 0.06 : 2.0;
    const PressureFn step = [&](double v, double& p, double& d) {
      p = (v < v_step ? 1.2e5 : 0.8e5);
      d = -kR * t / (v * v);
    };
    const Outcome out = Drive(PlainSetup(liquid, t, b, 1e5), step);
    EXPECT_EQ(out.irc, 5);
    EXPECT_TRUE(out.istat == 1 || out.istat == 2);
    EXPECT_GT(PPUTL_ESROOT.iw[esr::ITER], liquid ? 100 : 60);
  }
}


// One converging step from a state set in the block's words (1-based real
// word numbers), against the next volume of the documented step worked out
// by hand: the vapour solver's bracketed secant in each of its branches, the
// liquid solver's switch to the secant, its reference update and its minimum
// slope (249429.9 Pa m3/kmol at 300 K and DPDXMF 0.1, 0 for a pure fluid).
TEST(RootSolvers, ConvergingStepsFromAGivenState) {
  struct Case {
    const char* what;
    bool liquid, pure;
    int64_t iflag;
    double v, p, dpdv;
    std::vector<std::pair<int, double>> words;
    double v_next;
    int64_t iflag_next;
  };
  // Vapour words: 12 X0, 13 PX0, 15 X1, 16 P1, 17 X; liquid: 12 V0, 13 PV0,
  // 14 DPDV0, 15 V1, 16 P1, 18 DPDR0.
  const Case cases[] = {
      {"P low, reference low: previous point higher", false, false, 2, 1, 0.97e5, 0,
       {{12, 0.5}, {13, 0.9e5}, {15, 0.8}, {16, 0.95e5}, {17, 1}}, 0.7692307692307694, 2},
      {"P low, both high: nearer point", false, false, 2, 1, 0.97e5, 0,
       {{12, 1.5}, {13, 1.1e5}, {15, 1.2}, {16, 1.05e5}, {17, 1}}, 0.9302325581395349, 2},
      {"P low, previous low: limited secant", false, false, 2, 1, 0.97e5, 0,
       {{12, 1.5}, {13, 1.1e5}, {15, 0.9}, {16, 0.95e5}, {17, 1}}, 0.8695652173913044, 2},
      {"P low, previous low: bisection", false, false, 2, 1, 0.97e5, 0,
       {{12, 1.5}, {13, 1.1e5}, {15, 0.9}, {16, 0.98e5}, {17, 1}}, 0.8, 2},
      {"P high, reference high: previous point lower", false, false, 2, 1, 1.02e5, 0,
       {{12, 1.5}, {13, 1.1e5}, {15, 1.2}, {16, 1.05e5}, {17, 1}}, 1.1538461538461537, 2},
      {"P high, both low: nearer point", false, false, 2, 1, 1.02e5, 0,
       {{12, 0.5}, {13, 0.9e5}, {15, 0.8}, {16, 0.95e5}, {17, 1}}, 1.0606060606060606, 2},
      {"P high, previous high: limited secant", false, false, 2, 1, 1.02e5, 0,
       {{12, 0.5}, {13, 0.9e5}, {15, 1.1}, {16, 1.05e5}, {17, 1}}, 1.0714285714285716, 2},
      {"P high, previous high: bisection", false, false, 2, 1, 1.03e5, 0,
       {{12, 0.5}, {13, 0.9e5}, {15, 1.1}, {16, 1.02e5}, {17, 1}}, 1.3333333333333333, 2},
      {"liquid below PSPEC: secant", true, false, 1, 0.06, 0.9e5, -3e6,
       {{12, 0.05}, {13, 1.5e5}, {14, -2e6}, {18, 5e5}}, 0.058333333333333334, 2},
      {"pure liquid, curvature below 0: secant", true, true, 1, 0.06, 1.2e5, -3e6,
       {{12, 0.05}, {13, 1.5e5}, {14, -2e6}, {18, 5e5}}, 0.06666666666666667, 2},
      {"mixture liquid below the minimum slope: end of branch", true, false, 1, 0.06, 1.2e5, -3e6,
       {{12, 0.05}, {13, 1.5e5}, {14, -2e6}, {18, 5e5}}, 0.0551220380212592, 1},
      {"liquid bracket: previous point higher", true, false, 2, 0.06, 0.9e5, -3e6,
       {{12, 0.07}, {13, 0.8e5}, {15, 0.058}, {16, 0.95e5}}, 0.056, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SearchSetup s = PlainSetup(c.liquid, 300.0, 0.03, 1e5);
    s.pure = c.pure ? -1 : 0;
    PPUTL_EOSRET.LIQNO = 1;
    Drive(s, [](double, double&, double&) {}, 1);
    for (auto [word, value] : c.words) PPUTL_ESROOT.rw[word - 1] = value;
    int64_t irc = 3, iflag = c.iflag, istat = -1;
    double v = c.v, p = c.p, dpdv = c.dpdv;
    (c.liquid ? LQROOT : VPROOT)(irc, iflag, s.vlim, s.vcmech, s.vcut, s.t, s.pspec, v, p, dpdv,
                                 kModel, 0, 0, 6, kNoValue, kR, s.rtol, s.dpdxmf, PPUTL_ESROOT.iw,
                                 PPUTL_ESROOT.rw, 0, istat);
    EXPECT_EQ(irc, 3);
    EXPECT_NEAR(v, c.v_next, 1e-12 * c.v_next);
    EXPECT_EQ(iflag, c.iflag_next);
    if (c.iflag_next == 1) {
      EXPECT_EQ(PPUTL_ESROOT.rw[12], c.p);  // new reference PV0
    }
  }
}

}  // namespace
}  // namespace thermomodels
