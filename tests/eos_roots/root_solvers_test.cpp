// The reverse-communication root solvers driven by real pressure functions.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
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

TEST(RootSolvers, PureFluidWithoutLiquidRoot) {
  // The SRK liquid branch of this fluid never comes down to 1 atm at 298.15 K.
  const double t = 298.15, p = 101325.0;
  const Srk eos(303.171358, 15045914.36, 0.38016509, t);
  PPUTL_EOSRET.LIQNO = 1;
  SearchSetup liquid = SrkSetup(eos, t, p, true);
  liquid.pure = -1;
  const Outcome lq = Drive(liquid, SrkFn(eos, t));
  EXPECT_EQ(lq.irc, 4);
  EXPECT_TRUE(lq.istat == 3 || lq.istat == 4) << lq.istat;
  EXPECT_EQ(PPUTL_ESROOT.iw[esr::LQPURE], 1);
  // Told to stop at the end of the branch, it reports a pseudo-root too.
  liquid.iaccpt = 1;
  const Outcome at_limit = Drive(liquid, SrkFn(eos, t));
  EXPECT_EQ(at_limit.irc, 4);
  EXPECT_TRUE(at_limit.istat == 3 || at_limit.istat == 4) << at_limit.istat;

  SearchSetup vapour = SrkSetup(eos, t, p, false);
  vapour.pure = -1;
  const Outcome vp = Drive(vapour, SrkFn(eos, t));
  EXPECT_EQ(vp.irc, 4);
  EXPECT_EQ(vp.istat, 0);
  EXPECT_NEAR(vp.v / 24.40616, 1.0, 1e-6);
  EXPECT_EQ(PPUTL_ESROOT.iw[esr::VPPURE], 0);
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

TEST(RootSolvers, RequestCodeFiveStartsANewSearch) {
  const double t = 150.0, p = 1e5;
  const Srk eos(190.56, 4.599e6, 0.497293, t);
  for (bool liquid : {false, true}) {
    const SearchSetup s = SrkSetup(eos, t, p, liquid);
    int64_t irc = 5, iflag = 1, istat = 0;
    double v = 0.0, pv = eos.Pressure(1.0, t), dpdv = 0.0;
    auto* solver = liquid ? &LQROOT : &VPROOT;
    solver(irc, iflag, s.vlim, s.vcmech, s.vcut, t, p, v, pv, dpdv, kModel, 0, 0, 6, kNoValue, kR,
           1e-10, 0.1, PPUTL_ESROOT.iw, PPUTL_ESROOT.rw, 0, istat);
    EXPECT_EQ(irc, 1);
    EXPECT_EQ(istat, -1);
    EXPECT_EQ(PPUTL_ESROOT.iw[esr::ITER], 1);
    EXPECT_GT(v, s.vlim);
  }
}

// Targets and pressure functions on which no search can converge: every
// search ends within its call bound, never reporting "under way".
TEST(RootSolvers, EverySearchOnAnUnreachableTargetEnds) {
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

// Random SRK fluids and states: every search ends, within the call bound,
// and a converged root satisfies P(V) = PSPEC.
TEST(RootSolvers, RandomStatesTerminateAndConverge) {
  std::srand(12345);
  auto uniform = [](double lo, double hi) {
    return lo + (hi - lo) * (std::rand() / (RAND_MAX + 1.0));
  };
  for (int i = 0; i < 2000; ++i) {
    const double tc = uniform(100.0, 700.0), pc = uniform(1e6, 2.5e7), m = uniform(0.2, 1.5);
    const double t = uniform(0.3, 3.0) * tc, p = std::exp(uniform(std::log(1e2), std::log(5e7)));
    const Srk eos(tc, pc, m, t);
    for (bool liquid : {false, true}) {
      SearchSetup s = SrkSetup(eos, t, p, liquid);
      s.pure = -1;
      s.rtol = 1e-8;
      const Outcome out = Drive(s, SrkFn(eos, t));
      ASSERT_TRUE(out.irc == 4 || out.irc == 5);
      ASSERT_NE(out.istat, -1);
      ASSERT_LE(out.calls, 4 * (liquid ? 100 : 60) + 2);
      if (out.irc == 4 && out.istat == 0) {
        // The absolute tolerance has a floor of 1e-4 Pa, loosened tenfold
        // late in a liquid search.
        EXPECT_LE(std::fabs(eos.Pressure(out.v, t) - p), 10.0 * std::max(1e-4, 1e-8 * p))
            << "T=" << t << " P=" << p;
      }
    }
  }
}

// Messages are written whole, with the texts in their fixed order.
TEST(RootSolvers, MessagesAtLevelsOneAndTwo) {
  const std::string file = "root_messages.txt";
  std::remove(file.c_str());
  const int32_t unit = 77;
  ASSERT_TRUE(UnitOpen(unit, file));
  const double t = 150.0, p = 1e5;
  const Srk eos(190.56, 4.599e6, 0.497293, t);
  PPUTL_EOSRET.LIQNO = 1;
  for (bool liquid : {false, true}) {
    SearchSetup s = SrkSetup(eos, t, p, liquid);
    s.lvlmsg = 2;
    s.unit = unit;
    Drive(s, SrkFn(eos, t));
  }
  UnitClose(unit);
  // Every line is a per-call line (the first of a search without the step)
  // or the final line, each with its labels in their fixed order: compare
  // the lines with their numbers replaced by '#'.
  const auto skeleton = [](const std::string& line) {
    std::string out;
    for (size_t i = 0; i < line.size();) {
      const bool after_label = i >= 2 && line.compare(i - 2, 2, "= ") == 0;
      if (after_label && line.find_first_not_of("-+.0123456789E", i) != i) {
        out += '#';
        i = std::min(line.size(), line.find_first_not_of("-+.0123456789E", i));
      } else {
        out += line[i++];
      }
    }
    return out;
  };
  const std::string values = "  V = #  P = #  ABSERR = #  DPDV = #";
  int firsts = 0, per_calls = 0, finals = 0;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    const std::string k = skeleton(line);
    bool known = false;
    for (const std::string prefix : {"VPROOT: ", "LQROOT(L1): "}) {
      const bool first =
          k == prefix + "ITER = #" + values && line.find("ITER = 1 ") != std::string::npos;
      const bool per_call = k == prefix + "ITER = #" + values + "  (V-VPREV) = #";
      const bool final_line = k == prefix + "CONVERGED. ITER = #" + values + "  T = #";
      firsts += first;
      per_calls += per_call;
      finals += final_line;
      known = known || first || per_call || final_line;
    }
    EXPECT_TRUE(known) << line;
  }
  EXPECT_EQ(firsts, 2);
  EXPECT_GT(per_calls, 2);
  EXPECT_EQ(finals, 2);
  std::remove(file.c_str());
}

}  // namespace
}  // namespace thermomodels
