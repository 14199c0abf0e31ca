// Nanoseconds per call of the temperature routers IF97TPH and IF97TPS over a
// fixed set of states in each IF97 region (1, 2a, 2b, 2c, 3, 5) and under
// the saturation line, each beside the cost of one forward enthalpy call of
// the same region at the same states (counter "fwd_h_ns" and the ratio
// "x_fwd_h"), and for region 5 the forward evaluations per call of its
// start phase and solve ("evals_per_call").
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdint>
#include <vector>

#include "water/backward/backward.h"
#include "water/drivers/drivers.h"
#include "water/if97/if97.h"

namespace {

using namespace thermomodels;

enum class Set { k1, k2a, k2b, k2c, k3, k5, kTwoPhase };

// One state: router pressure [bar], h [kJ/kg], s [kJ/(kg K)], and what a
// forward enthalpy call of its region takes: (p [MPa], T [K]) or (T, v).
struct State {
  double bar, h, s;
  double p, t, v;
};

struct StateSet {
  std::vector<State> states;
  double (*forward_h)(const double&, const double&);  // enthalpy of the region
  bool by_volume;                                     // region 3: (T, v)
};

StateSet Build(Set set) {
  StateSet out{{}, IF97R2H, false};
  auto add_pt = [&](double p, double t, double (*h)(const double&, const double&),
                    double (*s)(const double&, const double&)) {
    out.states.push_back({10.0 * p, h(p, t), s(p, t), p, t, 0.0});
  };
  switch (set) {
    case Set::k1:
      out.forward_h = IF97R1H;
      for (double p : {1.0, 10.0, 50.0, 100.0}) {
        for (double t : {280.0, 350.0, 420.0, 470.0}) add_pt(p, t, IF97R1H, IF97R1S);
      }
      break;
    case Set::k2a:
      for (double p : {0.001, 0.1, 1.0, 3.5}) {
        for (double t : {550.0, 700.0, 850.0, 1000.0}) add_pt(p, t, IF97R2H, IF97R2S);
      }
      break;
    case Set::k2b:
      for (double p : {5.0, 8.0, 12.0}) {
        for (double t : {800.0, 900.0, 1000.0, 1050.0}) add_pt(p, t, IF97R2H, IF97R2S);
      }
      break;
    case Set::k2c:
      for (double p : {40.0, 60.0, 90.0}) {
        for (double t : {880.0, 900.0, 920.0}) add_pt(p, t, IF97R2H, IF97R2S);
      }
      break;
    case Set::k3:
      out.forward_h = IF97R3H;
      out.by_volume = true;
      for (double p : {25.0, 40.0, 70.0, 100.0}) {
        for (double t : {640.0, 660.0, 700.0, 750.0}) {
          const double v = IF97R3VIT(p, t);
          out.states.push_back({10.0 * p, IF97R3H(t, v), IF97R3S(t, v), p, t, v});
        }
      }
      break;
    case Set::k5:
      out.forward_h = IF97R5H;
      for (double p : {0.01, 0.5, 5.0, 30.0}) {
        for (double t : {1200.0, 1500.0, 1800.0, 2200.0}) add_pt(p, t, IF97R5H, IF97R5S);
      }
      break;
    case Set::kTwoPhase:
      // Regions 1 and 2 at the saturation temperature, quality 0.5; the
      // forward reference is the saturated-vapour enthalpy.
      for (double t : {300.0, 400.0, 500.0, 600.0}) {
        const double p = IF97PSAT(t);
        const double h = 0.5 * (IF97R1H(p, t) + IF97R2H(p, t));
        const double s = 0.5 * (IF97R1S(p, t) + IF97R2S(p, t));
        out.states.push_back({10.0 * p, h, s, p, t, 0.0});
      }
      break;
  }
  return out;
}

double ThreadCpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return 1e9 * static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec);
}

// CPU nanoseconds per call of CALL(state) over the set, timed apart from
// the benchmark loop so that the router and the forward call are timed
// alike (the machine is shared: CPU time, not wall time).
template <class Call>
double Nanoseconds(const StateSet& set, const Call& call) {
  constexpr int kRounds = 5000;
  double sink = 0.0;
  const double start = ThreadCpuNanoseconds();
  for (int round = 0; round < kRounds; ++round) {
    for (const State& st : set.states) {
      sink += call(st);
    }
  }
  const double stop = ThreadCpuNanoseconds();
  benchmark::DoNotOptimize(sink);
  const double calls = static_cast<double>(kRounds) * static_cast<double>(set.states.size());
  return (stop - start) / calls;
}

void BM_Router(benchmark::State& bench, Set which, bool by_entropy) {
  const StateSet set = Build(which);
  auto router = [by_entropy](const State& st) {
    return by_entropy ? IF97TPS(st.bar, st.s) : IF97TPH(st.bar, st.h);
  };
  auto forward = [&set](const State& st) {
    return set.by_volume ? set.forward_h(st.t, st.v) : set.forward_h(st.p, st.t);
  };
  for (auto _ : bench) {
    for (const State& st : set.states) {
      benchmark::DoNotOptimize(router(st));
    }
  }
  bench.SetItemsProcessed(bench.iterations() * static_cast<int64_t>(set.states.size()));
  const double router_ns = Nanoseconds(set, router);
  const double forward_ns = Nanoseconds(set, forward);
  bench.counters["ns_per_call"] = router_ns;
  bench.counters["fwd_h_ns"] = forward_ns;
  bench.counters["x_fwd_h"] = router_ns / forward_ns;
  if (which == Set::k5) {
    int64_t evaluations = 0;
    for (const State& st : set.states) {
      Region5Temperature(st.p, by_entropy ? st.s : st.h,
                         by_entropy ? Region5Input::kEntropy : Region5Input::kEnthalpy,
                         evaluations);
    }
    bench.counters["evals_per_call"] =
        static_cast<double>(evaluations) / static_cast<double>(set.states.size());
  }
}

#define ROUTER_BENCHMARKS(name, set)                        \
  BENCHMARK_CAPTURE(BM_Router, IF97TPH_##name, set, false); \
  BENCHMARK_CAPTURE(BM_Router, IF97TPS_##name, set, true)

ROUTER_BENCHMARKS(region1, Set::k1);
ROUTER_BENCHMARKS(region2a, Set::k2a);
ROUTER_BENCHMARKS(region2b, Set::k2b);
ROUTER_BENCHMARKS(region2c, Set::k2c);
ROUTER_BENCHMARKS(region3, Set::k3);
ROUTER_BENCHMARKS(region5, Set::k5);
ROUTER_BENCHMARKS(two_phase, Set::kTwoPhase);

}  // namespace
