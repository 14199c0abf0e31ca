// The reverse-communication root solvers driven by real pressure functions and stepped from states
// set in their words; the root memory in the host's pool; the integer search.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "eos_roots/eos_roots.h"

namespace thermomodels {
namespace {

constexpr double kR = 8314.33;
const double kNan = std::numeric_limits<double>::quiet_NaN();

// Soave-Redlich-Kwong pressure of methane with the CPA core's constants.
struct Srk {
  double t, a, b;
  explicit Srk(double temperature) : t(temperature) {
    const double alpha = std::pow(1.0 + 0.497293 * (1.0 - std::sqrt(t / 190.56)), 2);
    a = 0.42748025 * std::pow(kR * 190.56, 2) / 4.599e6 * alpha;
    b = 0.08664035 * kR * 190.56 / 4.599e6;
  }
  void operator()(double v, double& p, double& dpdv) const {
    p = kR * t / (v - b) - a / (v * (v + b));
    dpdv = -kR * t / ((v - b) * (v - b)) + a * (2.0 * v + b) / (v * v * (v + b) * (v + b));
  }
  // The smallest or largest root in V of P(V) = p: Newton on the cubic in Z from that end.
  double Root(double p, bool liquid) const {
    const double A = a * p / (kR * kR * t * t), B = b * p / (kR * t), c = A - B - B * B;
    double z = liquid ? B * 1.0000001 : 1.5;
    for (int i = 0; i < 200; ++i) z -= (((z - 1.0) * z + c) * z - A * B) / ((3.0 * z - 2.0) * z + c);
    return z * kR * t / p;
  }
};

using PressureFn = std::function<void(double v, double& p, double& dpdv)>;

// A search at T between the co-volume b and the mechanical critical volume 3.8473 b.
struct Search {
  bool liquid;
  double b, t, pspec;
  double vcut = 3.8473 * b;
  int64_t pure = 0;  // -1 tells the solver the fluid is pure
};

const int64_t kModel[2] = {0x2020202020415043, 0x2020202020202020};  // "CPA     ", blanks

void Call(const Search& s, int64_t& irc, int64_t& iflag, double& v, double& p, double& dpdv,
          int64_t& istat, int64_t iaccpt = 0, int64_t lvlmsg = 0) {
  (s.liquid ? LQROOT : VPROOT)(irc, iflag, s.b, 3.8473 * s.b, s.vcut, s.t, s.pspec, v, p, dpdv,
                               kModel, 0, lvlmsg, 6, kNoValue, kR, 1e-10, 0.1, PPUTL_ESROOT.iw,
                               PPUTL_ESROOT.rw, iaccpt, istat);
}

struct Outcome {
  int64_t irc = 4, istat = 0;
  double v = 0.0, p = 0.0;
  int calls = 0;
};

// The caller's loop of the protocol.
Outcome Drive(const Search& s, const PressureFn& pressure, int max_calls = 10000) {
  Outcome out;
  int64_t iflag = 1;
  double dpdv = 0.0;
  PPUTL_ESROOT.iw[s.liquid ? esr::LQPURE : esr::VPPURE] = s.pure;
  for (out.calls = 1; out.calls <= max_calls; ++out.calls) {
    Call(s, out.irc, iflag, out.v, out.p, dpdv, out.istat);
    if (out.irc < 1 || out.irc > 3) break;
    pressure(out.v, out.p, dpdv);
  }
  return out;
}

// Each search ends on the cubic's root of its phase, with its status, volume and pressure in the
// words of that phase (liquid 2 leaves liquid 1's alone); the liquid search above the liquid branch
// ends on a pseudo-root beyond the end of the branch (or beyond VCUT), recording the model name
// with the status.
TEST(RootSolvers, SrkMethaneSearches) {
  const struct {
    double t, p;
    bool liquid;
    int64_t liqno;
  } cases[] = {{150.0, 1e5, true, 1}, {150.0, 1e5, false, 1}, {250.0, 5e6, false, 1},
               {150.0, 1e5, true, 2}, {250.0, 5e6, true, 1}, {180.0, 1e6, true, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "T=" << c.t << " liquid=" << c.liquid << " " << c.liqno);
    const Srk eos(c.t);
    Search s{c.liquid, eos.b, c.t, c.p};
    if (c.t == 250.0 && !c.liquid) s.vcut = eos.b;  // above the mechanical critical temperature
    PPUTL_EOSRET.LIQNO = c.liqno;
    PPUTL_ESROOT.rw[25] = -7.0;  // VLASTL1
    const Outcome out = Drive(s, eos);
    PPUTL_EOSRET.LIQNO = 1;
    EXPECT_EQ(out.irc, 4);
    const bool l2 = c.liqno == 2;
    EXPECT_EQ(PPUTL_ESROOT.iw[!c.liquid ? esr::ISTATV : l2 ? esr::ISTATL2 : esr::ISTATL1], out.istat);
    EXPECT_EQ(PPUTL_ESROOT.rw[!c.liquid ? 26 : l2 ? 27 : 25], out.v);  // VLASTV, VLASTL2, VLASTL1
    EXPECT_EQ(PPUTL_ESROOT.rw[!c.liquid ? 1 : l2 ? 28 : 0], out.p);    // PLASTV, PLASTL2, PLASTL1
    EXPECT_EQ(PPUTL_ESROOT.rw[25], c.liquid && !l2 ? out.v : -7.0);    // only liquid 1 writes it
    if (c.t > 170.0 && c.liquid) {
      EXPECT_EQ(out.istat, c.t < 200.0 ? 3 : 4);  // 3: the fixed extrapolation taken; 4: VCUT
      EXPECT_EQ(PPUTL_ESROOT.iw[esr::LQPURE], 1);
      EXPECT_GT(out.v, eos.b);
      EXPECT_EQ(PPUTL_ESROOT.iw[esr::MODELS1], kModel[0]);
    } else {
      EXPECT_EQ(out.istat, 0);
      EXPECT_NEAR(out.v / eos.Root(c.p, c.liquid), 1.0, 1e-9);
    }
  }
}

// No search can converge on these targets and pressures: each ends within its call bound, never
// "under way"; a pressure that jumps across the target fails on the iteration limit, one not finite
// at once with the ideal-gas volume.
TEST(RootSolvers, EverySearchEnds) {
  const double t = 300.0, b = 0.03;
  for (bool liquid : {false, true}) {
    const double v_step = liquid ? 0.06 : 2.0;
    // Pressures: 0 ideal gas of co-volume b, 1 constant, 2 a jump at v_step, 3 and 4 not finite.
    const std::pair<double, int> cases[] = {{-1.0, 0}, {0.0, 0}, {kNan, 0}, {1e5, 1},
                                            {1e5, 2},  {1e5, 3}, {1e5, 4}};
    for (const auto& [pspec, kind] : cases) {
      SCOPED_TRACE(testing::Message() << "PSPEC=" << pspec << " liquid=" << liquid << " " << kind);
      const Outcome out = Drive({liquid, b, t, pspec}, [&, k = kind](double v, double& p, double& d) {
        const double pressures[] = {kR * t / (v - b), 3e5, v < v_step ? 1.2e5 : 0.8e5, kNan, HUGE_VAL};
        p = pressures[k];
        d = k == 0 ? -kR * t / ((v - b) * (v - b)) : k == 1 ? 0.0 : -kR * t / (v * v);
      });
      EXPECT_LE(out.calls, 4 * (liquid ? 100 : 60) + 2);
      EXPECT_TRUE(out.irc == 4 || out.irc == 5) << out.irc;
      EXPECT_NE(out.istat, -1);
      if (kind == 2) {
        EXPECT_EQ(out.irc, 5);
        EXPECT_TRUE(out.istat == 1 || out.istat == 2);
        EXPECT_GT(PPUTL_ESROOT.iw[esr::ITER], liquid ? 100 : 60);
      } else if (kind > 2) {
        EXPECT_EQ(out.irc, 5);
        EXPECT_EQ(out.istat, 6);
        EXPECT_EQ(out.v, kR * t / pspec);
        EXPECT_EQ(out.calls, 2);
      }
    }
  }
}

// One call of the solver from a state set in the block's words (1-based).
void StepFrom(const Search& s, const std::vector<std::pair<int, double>>& words, int64_t& irc,
              int64_t& iflag, double& v, double& p, double& dpdv, int64_t iaccpt = 0,
              int64_t lvlmsg = 0) {
  PPUTL_EOSRET.LIQNO = 1;
  Drive(s, [](double, double&, double&) {}, 1);
  for (auto [word, value] : words) PPUTL_ESROOT.rw[word - 1] = value;
  int64_t istat = -1;
  Call(s, irc, iflag, v, p, dpdv, istat, iaccpt, lvlmsg);
}

// The bracketed secant step of each solver in each of its branches, worked out by hand (vapour in
// density X = 1/V) from the reference point (word 12 X0 or V0, 13 its pressure) and the previous
// point (15 X1 or V1, 16 P1), PSPEC 1e5.
TEST(RootSolvers, BracketedSecantSteps) {
  const struct {
    bool liquid;
    double v, p, x0, p0, x1, p1, v_next;
  } cases[] = {
      {false, 1, 0.97e5, 0.5, 0.9e5, 0.8, 0.95e5, 0.7692307692307694},  // P low: previous higher
      {false, 1, 0.97e5, 0.5, 0.95e5, 0.8, 0.95e5, 0.5714285714285714},  // previous as high: kept
      {false, 1, 0.97e5, 1.5, 1.1e5, 1.2, 1.05e5, 0.9302325581395349},   // both high: nearer one
      {false, 1, 0.97e5, 1.5, 1.1e5, 0.9, 0.95e5, 0.8695652173913044},   // limited secant
      {false, 1, 0.97e5, 1.5, 1.1e5, 0.9, 0.98e5, 0.8},                  // bisection
      {false, 1, 1.02e5, 1.5, 1.1e5, 1.2, 1.05e5, 1.1538461538461537},   // P high: previous lower
      {false, 1, 1.02e5, 0.5, 0.9e5, 0.8, 0.95e5, 1.0606060606060606},   // both low: nearer one
      {false, 1, 1.02e5, 0.5, 0.9e5, 1.1, 1.05e5, 1.0714285714285716},   // limited secant
      {false, 1, 1.03e5, 0.5, 0.9e5, 1.1, 1.02e5, 1.3333333333333333},   // bisection
      {true, 0.06, 0.9e5, 0.07, 0.8e5, 0.058, 0.95e5, 0.056},             // P low: previous higher
      {true, 0.06, 0.9e5, 0.05, 1.3e5, 0.055, 1.1e5, 0.0575},             // both high: nearer one
      {true, 0.06, 0.915e5, 0.05, 1.3e5, 0.062, 0.9e5, 0.055},            // bisection
      {true, 0.055, 1.1e5, 0.05, 1.3e5, 0.058, 0.95e5, 0.057},            // P high: previous lower
  };
  for (const auto& c : cases) {
    int64_t irc = 3, iflag = 2;
    double v = c.v, p = c.p, dpdv = -3e6;
    const std::vector<std::pair<int, double>> words = {
        {12, c.x0}, {13, c.p0}, {15, c.x1}, {16, c.p1}, {17, 1 / c.v}};
    StepFrom({c.liquid, 0.03, 300.0, 1e5}, words, irc, iflag, v, p, dpdv);
    EXPECT_NEAR(v, c.v_next, 1e-12 * c.v_next) << c.liquid << " " << c.p << " " << c.x0 << " " << c.x1;
    EXPECT_EQ(irc, 3);
    EXPECT_EQ(iflag, 2);
  }
}

// The vapour solver's cut to VCUT, start and approach steps and accepted end of the branch; the
// liquid solver's restart step, switch to the secant and minimum slope (249429.9 Pa m3/kmol at 300
// K, DPDXMF 0.1; 0 for a pure fluid). Vapour words: 14 DPDX0, 17 X; liquid: 14 DPDV0, 18 DPDR0.
TEST(RootSolvers, StepsFromAGivenState) {
  struct Case {
    const char* what;
    bool liquid, pure;
    int64_t irc, iflag;
    double v, p, dpdv;
    std::vector<std::pair<int, double>> words;
    double v_next;
    int64_t irc_next, iflag_next;
    std::vector<std::pair<int, double>> words_after;
    int64_t iaccpt = 0;
  };
  const double dpdxm = kR * 300.0 * 0.1;
  const Case cases[] = {
      {"vapour below VCUT, P low: cut to VCUT", false, false, 3, 2, 0.1, 0.9e5, -1e5, {{17, 10}},
       0.115419, 3, 4, {}},
      {"vapour start, P high: new reference", false, false, 1, 1, 1, 1.05e5, -1e5,
       {{13, 0.9e5}, {17, 1}}, 1 / (0.7 / 1.05), 1, 1, {{13, 1.05e5}}},
      {"vapour restart, P high: halve the density, new reference", false, false, 2, 5, 1, 1.05e5,
       -1e5, {{13, 0.9e5}, {17, 1}}, 2, 2, 5, {{13, 1.05e5}}},
      {"vapour at the end of the branch, accepted", false, false, 3, 1, 1, 0.97e5, -dpdxm,
       {{12, 0.5}, {13, 0.9e5}, {14, 1e5}, {17, 1}}, 1, 4, 1, {{12, 1}, {13, 0.97e5}}, 1},
      {"liquid restart, P high: Newton step", true, false, 1, 5, 0.06, 1.2e5, -1e8, {}, 0.0602, 2,
       1, {}},
      {"vapour restart below the minimum slope: halve the density", false, false, 1, 5, 1, 1.05e5,
       -1e3, {{17, 1}}, 2, 1, 1, {{12, 1}, {13, 1.05e5}}},
      {"liquid restart below the minimum slope: nine tenths of the way from VLIM", true, false, 1, 5,
       0.06, 1.2e5, -1e3, {}, 0.057, 1, 1, {{12, 0.06}, {13, 1.2e5}}},
      {"liquid below PSPEC: secant", true, false, 3, 1, 0.06, 0.9e5, -3e6,
       {{12, 0.05}, {13, 1.5e5}, {14, -2e6}, {18, 5e5}}, 0.058333333333333334, 3, 2, {}},
      {"pure liquid, curvature below 0: secant", true, true, 3, 1, 0.06, 1.2e5, -3e6,
       {{12, 0.05}, {13, 1.5e5}, {14, -2e6}, {18, 5e5}}, 0.06666666666666667, 3, 2, {}},
      {"mixture liquid below the minimum slope: end of branch", true, false, 3, 1, 0.06, 1.2e5,
       -3e6, {{12, 0.05}, {13, 1.5e5}, {14, -2e6}, {18, 5e5}}, 0.0551220380212592, 3, 1,
       {{13, 1.2e5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Search s{c.liquid, 0.03, 300.0, 1e5};
    s.pure = c.pure ? -1 : 0;
    int64_t irc = c.irc, iflag = c.iflag;
    double v = c.v, p = c.p, dpdv = c.dpdv;
    StepFrom(s, c.words, irc, iflag, v, p, dpdv, c.iaccpt);
    EXPECT_EQ(irc, c.irc_next);
    EXPECT_NEAR(v, c.v_next, 1e-12 * c.v_next);
    EXPECT_EQ(iflag, c.iflag_next);
    for (auto [word, value] : c.words_after) EXPECT_EQ(PPUTL_ESROOT.rw[word - 1], value) << word;
    if (c.iflag_next == 4) {  // the cut volume is evaluated once more, then taken as the pseudo-root
      int64_t istat = -1;
      p = 0.95e5;
      for (int64_t irc_then : {3, 4}) {
        Call(s, irc, iflag, v, p, dpdv, istat);
        EXPECT_EQ(irc, irc_then);
      }
    }
  }
}

// At message level 1 a vapour search that converges at a volume not above 0 says so, its volume
// reset to VLIM.
TEST(RootSolvers, ConvergenceAtANonPositiveVolumeIsReported) {
  int64_t irc = 3, iflag = 2;
  double v = -1.0, p = 1e5, dpdv = -1e5;
  testing::internal::CaptureStdout();
  StepFrom({false, 0.03, 300.0, 1e5}, {}, irc, iflag, v, p, dpdv, 0, 1);
  const std::string log = testing::internal::GetCapturedStdout();
  EXPECT_NE(log.find("VPROOT: FAILED (NEGATIVE VOLUME)"), std::string::npos) << log;
  EXPECT_EQ(v, 0.03);
}

// Beyond the end of the vapour branch the pressure plunges below 0 (steeper than any cubic): the
// search extrapolates 1/P quadratically from the end of the branch, refits the quadratic through
// each trial whose pressure is not positive, and accepts the first positive one as a pseudo-root.
TEST(RootSolvers, VapourPseudoRootRefitsThroughANegativePressure) {
  const double t = 300.0, rt = kR * t, a = 2e5, xs = rt / (2.0 * a), ps = rt * rt / (4.0 * a);
  for (double pspec : {1.5 * ps, 3.0 * ps}) {
    SCOPED_TRACE(pspec);
    std::vector<std::pair<double, double>> trials;  // (density, pressure)
    const Outcome out = Drive({false, 0.03, t, pspec}, [&](double v, double& p, double& dpdv) {
      const double x = 1.0 / v;
      const double dpdx = x <= xs ? rt - 2.0 * a * x : -2e11 * (x - xs);
      p = x <= xs ? (rt - a * x) * x : ps - 1e11 * (x - xs) * (x - xs);
      dpdv = -dpdx * x * x;
      trials.emplace_back(x, p);
    });
    EXPECT_EQ(out.irc, 4);
    EXPECT_EQ(out.istat, 3);
    EXPECT_GT(out.p, 0.0);
    // The end of the branch: the last trial before the first pressure not above 0.
    size_t end = 0;
    while (end + 1 < trials.size() && trials[end + 1].second > 0.0) ++end;
    ASSERT_LT(end + 2, trials.size()) << "no refit";
    const auto [x0, p0] = trials[end];
    const double slope = -(x0 <= xs ? rt - 2.0 * a * x0 : -2e11 * (x0 - xs)) / (p0 * p0);  // d(1/P)/dx
    // Each trial after a negative pressure is where the quadratic in density through the end of
    // the branch (value and slope of 1/P) and that trial reaches 1/PSPEC beyond the end.
    for (size_t k = end + 1; k + 1 < trials.size() && trials[k].second <= 0.0; ++k) {
      const double dx = trials[k].first - x0;
      const double c = (1.0 / trials[k].second - 1.0 / p0 - slope * dx) / (dx * dx);
      const double y = trials[k + 1].first - x0;
      EXPECT_GT(y, 0.0) << k;
      EXPECT_NEAR((1.0 / p0 + slope * y + c * y * y) * pspec, 1.0, 1e-9) << k;
    }
    EXPECT_DOUBLE_EQ(1.0 / trials.back().first, out.v);
  }
}

// A host that has laid out records for up to 3 components per phase.
class RootMemory : public testing::Test {
 protected:
  void SetUp() override {
    // ISTATE, LIQNO, the integer records IPIV/IPIL1/IPIL2, the real ones, NMAX.
    PPUTL_EOSRET = tm_eosret_block{1, 1, 101, 111, 121, 201, 301, 401, 3, 0};
    DIAGCOM.words[67] = 0;
    for (double& w : DMS_PLEX.words) w = 0.0;
  }

  void Save(int64_t phase, double t, double p, std::vector<double> x, std::vector<int64_t> idx,
            double v, double dpdv, int64_t istat = 0) {
    const int64_t n = static_cast<int64_t>(x.size());
    std::vector<double> xa(4 * n);
    for (size_t k = 0; k < xa.size(); ++k) xa[k] = 0.1 * (k + 1);
    EOSRET(2, phase, t, p, x.data(), n, idx.data(), v, dpdv, xa.data(), 500.0, istat);
  }

  // The retrieved volume and saved site fractions, or -1 and fractions untouched.
  double Retrieve(int64_t phase, double t, double p, std::vector<double> x,
                  std::vector<int64_t> idx) {
    const int64_t n = static_cast<int64_t>(x.size());
    std::vector<double> xa(4 * n, -5.0);
    double v = -1.0;
    EOSRET(1, phase, t, p, x.data(), n, idx.data(), v, 0.0, xa.data(), 500.0, 0);
    for (size_t k = 0; k < xa.size(); ++k) EXPECT_EQ(xa[k], v != -1.0 ? 0.1 * (k + 1) : -5.0);
    return v;
  }
};

TEST_F(RootMemory, RetrievalTolerances) {
  const std::vector<double> x = {0.6, 0.4};
  const std::vector<int64_t> idx = {3, 7};
  Save(1, 300.0, 1e5, x, idx, 20.0, -2e4);
  Save(2, 300.0, 1e5, x, idx, 0.05, -1e9);
  EXPECT_EQ(PPUTL_EOSRET.ISTATE, 2);
  EXPECT_EQ(PPUTL_EOSRET.NSAVED, 2);
  const struct {
    const char* name;
    int64_t phase;
    double t, p;
    std::vector<double> x;
    std::vector<int64_t> idx;
    double expected_v;  // -1: refused
  } cases[] = {
      {"same state", 1, 300.0, 1e5, x, idx, 20.0},
      {"T exactly 10 K away", 1, 310.0, 1e5, x, idx, 20.0},
      {"T more than 10 K away", 1, 310.0000001, 1e5, x, idx, -1.0},
      {"P exactly 1000 Pa away: unadjusted", 1, 300.0, 1e5 + 1000.0, x, idx, 20.0},
      {"vapour P adjusted along the slope", 1, 300.0, 1e5 + 2e4, x, idx, 20.0 + 2e4 / -2e4},
      {"vapour P 2e5 away refused", 1, 300.0, 3e5, x, idx, -1.0},
      {"liquid P 2e5 away adjusted", 2, 300.0, 3e5, x, idx, 0.05 + 2e5 / -1e9},
      {"adjusted volume below 0 falls back", 2, 300.0, 1e5 + 1e8, x, idx, 0.05},
      {"other component", 1, 300.0, 1e5, x, {3, 8}, -1.0},
      {"fraction moved by more than 0.1", 1, 300.0, 1e5, {0.75, 0.25}, idx, -1.0},
      {"fraction moved by exactly 0.1", 1, 300.0, 1e5, {0.5, 0.5}, idx, 20.0},
      {"other count", 1, 300.0, 1e5, {1.0}, {3}, -1.0},
      {"above the mechanical critical temperature", 1, 501.0, 1e5, x, idx, -1.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(Retrieve(c.phase, c.t, c.p, c.x, c.idx), c.expected_v, 1e-12);
  }
  // A fraction of 0 must match exactly.
  Save(1, 300.0, 1e5, {1e-12, 1.0 - 1e-12}, {1, 2}, 20.0, -2e4);
  EXPECT_EQ(Retrieve(1, 300.0, 1e5, {0.0, 1.0}, {1, 2}), -1.0);
}

TEST_F(RootMemory, SaveGatesAndSharedCount) {
  EXPECT_EQ(Retrieve(1, 300.0, 1e5, {1.0}, {1}), -1.0);  // nothing saved yet
  Save(1, 300.0, 1e5, {1.0}, {1}, 20.0, -2e4, 3);         // a failed search is not saved
  EXPECT_EQ(PPUTL_EOSRET.ISTATE, 1);
  // The count of the latest save of any phase decides.
  Save(1, 300.0, 1e5, {0.2, 0.3, 0.5}, {1, 2, 3}, 20.0, -2e4);
  Save(2, 300.0, 1e5, {0.5, 0.5}, {1, 2}, 0.05, -1e9);
  EXPECT_EQ(Retrieve(1, 300.0, 1e5, {0.2, 0.3, 0.5}, {1, 2, 3}), -1.0);
  Save(1, 300.0, 1e5, {0.25, 0.25, 0.25, 0.25}, {1, 2, 3, 4}, 20.0, -2e4);  // more than NMAX
  EXPECT_EQ(PPUTL_EOSRET.NSAVED, 2);
}

TEST_F(RootMemory, LiquidsHaveSeparateRecords) {
  Save(2, 300.0, 1e5, {1.0}, {1}, 0.05, -1e9);
  PPUTL_EOSRET.LIQNO = 2;
  Save(2, 300.0, 1e5, {1.0}, {1}, 0.07, -1e9);
  EXPECT_EQ(Retrieve(2, 300.0, 1e5, {1.0}, {1}), 0.07);
  PPUTL_EOSRET.LIQNO = 1;
  EXPECT_EQ(Retrieve(2, 300.0, 1e5, {1.0}, {1}), 0.05);
  PPUTL_EOSRET.LIQNO = 3;  // no record
  EXPECT_EQ(Retrieve(2, 300.0, 1e5, {1.0}, {1}), -1.0);
}

// Only a record wholly inside the pool is ever written (a record at 0 switches the memory off).
TEST_F(RootMemory, RecordsOutsideThePoolAreNeverTouched) {
  using B = tm_eosret_block;
  const std::pair<int64_t B::*, int64_t> cases[] = {
      {&B::IPIV, 0}, {&B::RPIV, 0}, {&B::IPIL1, -5}, {&B::RPIL1, TM_PLEX_WORDS - 3},
      {&B::RPIL1, std::numeric_limits<int64_t>::max()}};
  for (const auto& [word, value] : cases) {
    SCOPED_TRACE(value);
    SetUp();
    PPUTL_EOSRET.*word = value;
    Save(2, 300.0, 1e5, {0.5, 0.5}, {1, 2}, 0.05, -1e9);
    EXPECT_EQ(Retrieve(2, 300.0, 1e5, {0.5, 0.5}, {1, 2}), -1.0);
  }
}

TEST(IntegerSearch, FirstMatchInRange) {
  const int64_t list[] = {5, 7, 9, 7, 11};
  const int64_t cases[][4] = {{7, 1, 5, 2}, {7, 3, 5, 4}, {9, 3, 3, 3}, {5, 2, 5, 0}};  // key, range, I
  for (const auto& c : cases) EXPECT_EQ(IFINDI(c[0], list, c[1], c[2]), c[3]) << c[0] << " " << c[1];
  EXPECT_EQ(IFINDI(5, nullptr, 2, 1), 0);
}

}  // namespace
}  // namespace thermomodels
