// Timing of the IF97 region functions and the saturation line over grids of
// states. Each "versus_*" benchmark times a library function and, in the same
// iterations, the same property through the earlier series evaluation of
// legacy_series.h: its time is the library's, the counters old_ns and
// speedup give the earlier path beside it. Each "naive_*" benchmark computes
// with a plain term-by-term evaluation (std::pow per term and per sum) the
// property of the library function listed above it. BM_StateVersusSingles
// and BM_IsothermVersusR3P time the one-evaluation forms of the water
// exports beside the single functions they replace.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

#include "legacy_series.h"
#include "water/if97/if97.h"

namespace {

using thermomodels::if97_detail::PowerTerm;
using Fn = double (*)(const double&, const double&);

// ---- Reference loop: kept here only, for comparison ----

constexpr double kN1Region3 = thermomodels::if97_detail::kLogDeltaCoefficient;
constexpr double kR = 0.461526;

// sum n d^a/dx^a d^b/dy^b (x^I y^J) with a, b in {0, 1}, one pow per power.
template <int N>
double NaiveSum(const PowerTerm (&terms)[N], double x, double y, int a, int b) {
  double sum = 0.0;
  for (const PowerTerm& t : terms) {
    const double fx = a == 0 ? std::pow(x, t.i) : t.i * std::pow(x, t.i - 1);
    const double fy = b == 0 ? std::pow(y, t.j) : t.j * std::pow(y, t.j - 1);
    sum += t.n * fx * fy;
  }
  return sum;
}

// Region 1: x = 7.1 - pi, y = tau - 1.222, d/dpi = -d/dx.
double R1(const double& p, const double& t, int a, int b) {
  return NaiveSum(thermomodels::if97_detail::kRegion1Terms, 7.1 - p / 16.53, 1386.0 / t - 1.222, a,
                  b);
}
double NaiveR1V(const double& p, const double& t) {
  return 0.001 * kR * t / 16.53 * -R1(p, t, 1, 0);
}
double NaiveR1H(const double& p, const double& t) { return kR * 1386.0 * R1(p, t, 0, 1); }
double NaiveR1S(const double& p, const double& t) {
  return kR * (1386.0 / t * R1(p, t, 0, 1) - R1(p, t, 0, 0));
}
double NaiveR1U(const double& p, const double& t) {
  return kR * t * (1386.0 / t * R1(p, t, 0, 1) + p / 16.53 * R1(p, t, 1, 0));
}

// Region 2 and 5: ideal part in tau, residual part in (pi, y).
template <int NI, int NR>
struct Gibbs {
  const PowerTerm (&ideal)[NI];
  const PowerTerm (&residual)[NR];
  double tstar, yshift;
  double G0(double p, double t, int b) const {
    return (b == 0 ? std::log(p) : 0.0) + NaiveSum(ideal, 1.0, tstar / t, 0, b);
  }
  double Gr(double p, double t, int a, int b) const {
    return NaiveSum(residual, p, tstar / t - yshift, a, b);
  }
  double V(double p, double t) const { return 0.001 * kR * t / p * (1.0 + p * Gr(p, t, 1, 0)); }
  double H(double p, double t) const { return kR * tstar * (G0(p, t, 1) + Gr(p, t, 0, 1)); }
  double S(double p, double t) const {
    return kR * (tstar / t * (G0(p, t, 1) + Gr(p, t, 0, 1)) - G0(p, t, 0) - Gr(p, t, 0, 0));
  }
  double U(double p, double t) const {
    return kR * t * (tstar / t * (G0(p, t, 1) + Gr(p, t, 0, 1)) - 1.0 - p * Gr(p, t, 1, 0));
  }
};
const Gibbs<9, 43> kNaive2{thermomodels::if97_detail::kRegion2IdealTerms,
                           thermomodels::if97_detail::kRegion2ResidualTerms, 540.0, 0.5};
const Gibbs<6, 6> kNaive5{thermomodels::if97_detail::kRegion5IdealTerms,
                          thermomodels::if97_detail::kRegion5ResidualTerms, 1000.0, 0.0};
double NaiveR2V(const double& p, const double& t) { return kNaive2.V(p, t); }
double NaiveR2H(const double& p, const double& t) { return kNaive2.H(p, t); }
double NaiveR2S(const double& p, const double& t) { return kNaive2.S(p, t); }
double NaiveR2U(const double& p, const double& t) { return kNaive2.U(p, t); }
double NaiveR5V(const double& p, const double& t) { return kNaive5.V(p, t); }
double NaiveR5H(const double& p, const double& t) { return kNaive5.H(p, t); }
double NaiveR5S(const double& p, const double& t) { return kNaive5.S(p, t); }
double NaiveR5U(const double& p, const double& t) { return kNaive5.U(p, t); }

// Region 3: x = delta, y = tau, plus n1 ln(delta).
double R3(double t, double v, int a, int b) {
  return NaiveSum(thermomodels::if97_detail::kRegion3Terms, 1.0 / (322.0 * v), 647.096 / t, a, b);
}
double NaiveR3P(const double& t, const double& v) {
  const double delta = 1.0 / (322.0 * v);
  return 0.001 / v * kR * t * delta * (kN1Region3 / delta + R3(t, v, 1, 0));
}
double NaiveR3H(const double& t, const double& v) {
  const double delta = 1.0 / (322.0 * v);
  return kR * t * (647.096 / t * R3(t, v, 0, 1) + kN1Region3 + delta * R3(t, v, 1, 0));
}
double NaiveR3S(const double& t, const double& v) {
  return kR *
         (647.096 / t * R3(t, v, 0, 1) - kN1Region3 * std::log(1.0 / (322.0 * v)) - R3(t, v, 0, 0));
}
double NaiveR3U(const double& t, const double& v) { return kR * 647.096 * R3(t, v, 0, 1); }

// ---- Grids of states ----

struct Grid {
  double a0, a1, b0, b1;  // ranges of the first and second argument
};
constexpr Grid kRegion1{1.0, 80.0, 280.0, 620.0};
constexpr Grid kRegion2{0.001, 10.0, 700.0, 1000.0};
constexpr Grid kRegion3{650.0, 850.0, 0.0015, 0.006};
constexpr Grid kRegion5{0.5, 50.0, 1100.0, 2200.0};
constexpr int kSide = 8;

std::vector<double> Points(const Grid& g) {
  std::vector<double> pts;
  for (int i = 0; i < kSide; ++i)
    for (int j = 0; j < kSide; ++j) {
      pts.push_back(g.a0 + (g.a1 - g.a0) * i / (kSide - 1));
      pts.push_back(g.b0 + (g.b1 - g.b0) * j / (kSide - 1));
    }
  return pts;
}

void BM_Grid(benchmark::State& state, Fn f, Grid grid) {
  const std::vector<double> pts = Points(grid);
  for (auto _ : state)
    for (std::size_t k = 0; k < pts.size(); k += 2) benchmark::DoNotOptimize(f(pts[k], pts[k + 1]));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pts.size() / 2));
}

// NOW and OLD (each one pass over a set of CALLS states) alternately in every
// iteration, so that both see the same machine load; the iteration time is
// NOW's, the counters give both per state.
template <class Now, class Old>
void TimeAlternately(benchmark::State& state, std::size_t calls, Now now, Old old) {
  using Clock = std::chrono::steady_clock;
  double now_s = 0.0, old_s = 0.0;
  for (auto _ : state) {
    const Clock::time_point t0 = Clock::now();
    now();
    const Clock::time_point t1 = Clock::now();
    old();
    const Clock::time_point t2 = Clock::now();
    const double elapsed = std::chrono::duration<double>(t1 - t0).count();
    state.SetIterationTime(elapsed);
    now_s += elapsed;
    old_s += std::chrono::duration<double>(t2 - t1).count();
  }
  const double total = static_cast<double>(state.iterations()) * static_cast<double>(calls);
  state.counters["ns"] = 1e9 * now_s / total;
  state.counters["old_ns"] = 1e9 * old_s / total;
  state.counters["speedup"] = old_s / now_s;
}

// The library function and the earlier evaluation over the same states.
void BM_Versus(benchmark::State& state, Fn now, Fn old, Grid grid) {
  const std::vector<double> pts = Points(grid);
  auto pass = [&pts](Fn f) {
    for (std::size_t k = 0; k < pts.size(); k += 2) benchmark::DoNotOptimize(f(pts[k], pts[k + 1]));
  };
  TimeAlternately(
      state, pts.size() / 2, [&] { pass(now); }, [&] { pass(old); });
}

void BM_Line(benchmark::State& state, double (*f)(const double&), double lo, double hi) {
  std::vector<double> xs;
  for (int k = 0; k < kSide * kSide; ++k) xs.push_back(lo + (hi - lo) * k / (kSide * kSide - 1));
  for (auto _ : state)
    for (double x : xs) benchmark::DoNotOptimize(f(x));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(xs.size()));
}

// Volume, enthalpy, entropy and fugacity of each state from one evaluation
// of the series (IF97R?State) beside the single-property functions called
// one after another (V absent in region 3, where v is the argument),
// alternately in every iteration as in BM_Versus.
using StateFn = thermomodels::StateProperties (*)(const double&, const double&, bool);
void BM_StateVersusSingles(benchmark::State& state, StateFn together, Fn v, Fn h, Fn s, Fn fug,
                           Grid grid) {
  const std::vector<double> pts = Points(grid);
  TimeAlternately(
      state, pts.size() / 2,
      [&] {
        for (std::size_t k = 0; k < pts.size(); k += 2) {
          benchmark::DoNotOptimize(together(pts[k], pts[k + 1], true));
        }
      },
      [&] {
        for (std::size_t k = 0; k < pts.size(); k += 2) {
          if (v != nullptr) benchmark::DoNotOptimize(v(pts[k], pts[k + 1]));
          benchmark::DoNotOptimize(h(pts[k], pts[k + 1]));
          benchmark::DoNotOptimize(s(pts[k], pts[k + 1]));
          benchmark::DoNotOptimize(fug(pts[k], pts[k + 1]));
        }
      });
}

// Region 3 at (T, v) with the fugacity at 25 MPa.
thermomodels::StateProperties R3StateAt25(const double& t, const double& v, bool with_fugacity) {
  return thermomodels::IF97R3State(25.0, t, v, with_fugacity);
}
double R3FugAt25(const double& t, const double& v) { return thermomodels::IF97R3FUG(25.0, t, v); }

BENCHMARK_CAPTURE(BM_StateVersusSingles, region1, thermomodels::IF97R1State, thermomodels::IF97R1V,
                  thermomodels::IF97R1H, thermomodels::IF97R1S, thermomodels::IF97R1FUG, kRegion1)
    ->UseManualTime();
BENCHMARK_CAPTURE(BM_StateVersusSingles, region2, thermomodels::IF97R2State, thermomodels::IF97R2V,
                  thermomodels::IF97R2H, thermomodels::IF97R2S, thermomodels::IF97R2FUG, kRegion2)
    ->UseManualTime();
BENCHMARK_CAPTURE(BM_StateVersusSingles, region3, R3StateAt25, nullptr, thermomodels::IF97R3H,
                  thermomodels::IF97R3S, R3FugAt25, kRegion3)
    ->UseManualTime();
BENCHMARK_CAPTURE(BM_StateVersusSingles, region5, thermomodels::IF97R5State, thermomodels::IF97R5V,
                  thermomodels::IF97R5H, thermomodels::IF97R5S, thermomodels::IF97R5FUG, kRegion5)
    ->UseManualTime();

// Region-3 pressures along isotherms (the volume searches' calls): the
// isotherm formed once per temperature, then one pressure per volume,
// beside IF97R3P at the same states; the isotherm's construction counts.
void BM_IsothermVersusR3P(benchmark::State& state) {
  const std::vector<double> pts = Points(kRegion3);  // kSide volumes per temperature
  TimeAlternately(
      state, pts.size() / 2,
      [&] {
        for (std::size_t k = 0; k < pts.size(); k += 2 * kSide) {
          const thermomodels::Region3Isotherm isotherm(pts[k]);
          for (std::size_t j = k; j < k + 2 * kSide; j += 2) {
            benchmark::DoNotOptimize(isotherm.Pressure(pts[j + 1]));
          }
        }
      },
      [&] {
        for (std::size_t k = 0; k < pts.size(); k += 2) {
          benchmark::DoNotOptimize(thermomodels::IF97R3P(pts[k], pts[k + 1]));
        }
      });
}
BENCHMARK(BM_IsothermVersusR3P)->UseManualTime();

#define IF97_VERSUS(name, grid) \
  BENCHMARK_CAPTURE(BM_Versus, name, thermomodels::IF97##name, legacy::name, grid)->UseManualTime()
#define IF97_PAIR(name, grid) \
  IF97_VERSUS(name, grid);    \
  BENCHMARK_CAPTURE(BM_Grid, naive_##name, Naive##name, grid)

IF97_PAIR(R1V, kRegion1);
IF97_PAIR(R1H, kRegion1);
IF97_PAIR(R1S, kRegion1);
IF97_PAIR(R1U, kRegion1);
IF97_VERSUS(R1CP, kRegion1);
IF97_VERSUS(R1W, kRegion1);
IF97_PAIR(R2V, kRegion2);
IF97_PAIR(R2H, kRegion2);
IF97_PAIR(R2S, kRegion2);
IF97_PAIR(R2U, kRegion2);
IF97_VERSUS(R2CP, kRegion2);
IF97_VERSUS(R2W, kRegion2);
IF97_PAIR(R3P, kRegion3);
IF97_PAIR(R3H, kRegion3);
IF97_PAIR(R3S, kRegion3);
IF97_PAIR(R3U, kRegion3);
IF97_VERSUS(R3CP, kRegion3);
IF97_VERSUS(R3W, kRegion3);
IF97_PAIR(R5V, kRegion5);
IF97_PAIR(R5H, kRegion5);
IF97_PAIR(R5S, kRegion5);
IF97_PAIR(R5U, kRegion5);
IF97_VERSUS(R5CP, kRegion5);
IF97_VERSUS(R5W, kRegion5);
BENCHMARK_CAPTURE(BM_Line, IF97PSAT, thermomodels::IF97PSAT, 273.16, 647.0);
BENCHMARK_CAPTURE(BM_Line, IF97TSAT, thermomodels::IF97TSAT, 0.000611, 22.0);

}  // namespace
