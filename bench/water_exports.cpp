// Calls per second of the three water exports at one state in each IF97
// region, with the root-solver iterations and solver calls per region-3
// search read back from PPUTL_ESROOT after each call. Beside each figure the
// same call on the exports' first path (every property through the exported
// dispatcher, the ideal-gas reference evaluated at every call), timed in the
// same run: counters old_ns, new_ns and speedup = old_ns / new_ns.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

#include "common/common.h"
#include "thermomodels.h"
#include "water/drivers/drivers.h"
#include "water/if97/if97.h"

namespace {

using thermomodels::WaterPath;
using thermomodels::esr::ITER;

// One state per region: temperature [K], pressure [Pa], phase.
struct WaterState {
  double t;
  double p;
  int64_t kvl;
};

constexpr WaterState kRegion1{300.0, 3e6, 2};
constexpr WaterState kRegion2{700.0, 1e7, 1};
constexpr WaterState kRegion3Vapour{700.0, 4e7, 1};
constexpr WaterState kRegion3Liquid{640.0, 2.1e7, 2};
constexpr WaterState kRegion5{1500.0, 5e6, 1};

// Nanoseconds per call of CALL, timed over enough calls to fill about 20 ms.
template <typename Call>
double NanosecondsPerCall(Call call) {
  using Clock = std::chrono::steady_clock;
  int64_t calls = 0;
  const auto start = Clock::now();
  auto now = start;
  while (now - start < std::chrono::milliseconds(20)) {
    for (int i = 0; i < 64; ++i) call();
    calls += 64;
    now = Clock::now();
  }
  return std::chrono::duration<double, std::nano>(now - start).count() / static_cast<double>(calls);
}

// The old path's figure beside the new one, both timed the same way.
template <typename NewCall, typename OldCall>
void AddOldPathCounters(benchmark::State& state, NewCall new_call, OldCall old_call) {
  const double new_ns = NanosecondsPerCall(new_call);
  const double old_ns = NanosecondsPerCall(old_call);
  state.counters["new_ns"] = new_ns;
  state.counters["old_ns"] = old_ns;
  state.counters["speedup"] = old_ns / new_ns;
}

// Solver words after a region-3 search: iterations of the search and the
// number of calls the search took (integer word 14 counts them).
void AddSolverCounters(benchmark::State& state, double iterations, double solver_calls) {
  const double n = static_cast<double>(state.iterations());
  state.counters["root_iter_per_call"] = iterations / n;
  state.counters["solver_calls_per_call"] = solver_calls / n;
}

void RateCounter(benchmark::State& state) {
  state.counters["calls_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Enthalpy departure (code 2) in a given region; region 3 at a given volume.
// Counter r1h_ratio: this call over the region function alone.
void BM_If97prph(benchmark::State& state, int64_t region, double t, double p, double v) {
  int32_t code = 2;
  int64_t phase = 0, ierr = 0;
  double value = 0.0;
  for (auto _ : state) {
    QUELTRIN_IF97PRPH(&t, &p, &v, &code, &phase, &region, &value, &ierr);
    benchmark::DoNotOptimize(value);
  }
  RateCounter(state);
  auto new_call = [&] {
    QUELTRIN_IF97PRPH(&t, &p, &v, &code, &phase, &region, &value, &ierr);
    benchmark::DoNotOptimize(value);
  };
  AddOldPathCounters(state, new_call, [&] {
    thermomodels::DispatchWaterProperty(t, p, v, code, phase, region, value, ierr,
                                        WaterPath::kThroughDispatcher);
    benchmark::DoNotOptimize(value);
  });
  if (region == 1) {
    const double p_mpa = p / 1e6;
    const double alone = NanosecondsPerCall([&] {
      double h = thermomodels::IF97R1H(p_mpa, t);
      benchmark::DoNotOptimize(h);
    });
    state.counters["r1h_ratio"] = state.counters["new_ns"] / alone;
  }
}
BENCHMARK_CAPTURE(BM_If97prph, region1_h, 1, 300.0, 3e6, 1e35);
BENCHMARK_CAPTURE(BM_If97prph, region2_h, 2, 700.0, 1e7, 1e35);
BENCHMARK_CAPTURE(BM_If97prph, region3_h, 3, 650.0, 2.55837018e7, 18.0152 / 500.0);
BENCHMARK_CAPTURE(BM_If97prph, region5_h, 5, 1500.0, 5e6, 1e35);

void BM_Fdregion(benchmark::State& state, WaterState s) {
  int64_t region = 0, level = 0, ierr = 0;
  int32_t unit = 6;
  double t_out = 0.0, p_out = 0.0, v_out = 0.0;
  double iterations = 0.0, solver_calls = 0.0;
  for (auto _ : state) {
    QUELTRIN_FDREGION(&s.t, &s.p, &s.kvl, &region, &t_out, &p_out, &v_out, &level, &unit, &ierr);
    benchmark::DoNotOptimize(v_out);
    if (region == 3) {
      iterations += static_cast<double>(PPUTL_ESROOT.iw[ITER]);
      solver_calls += static_cast<double>(PPUTL_ESROOT.iw[13]);
    }
  }
  RateCounter(state);
  AddSolverCounters(state, iterations, solver_calls);
  auto call = [&](WaterPath path) {
    thermomodels::WaterRegionVolume(s.t, s.p, s.kvl, region, t_out, p_out, v_out, level, unit, ierr,
                                    path);
    benchmark::DoNotOptimize(v_out);
  };
  AddOldPathCounters(
      state, [&] { call(WaterPath::kDirect); }, [&] { call(WaterPath::kThroughDispatcher); });
}
BENCHMARK_CAPTURE(BM_Fdregion, region1_liquid, kRegion1);
BENCHMARK_CAPTURE(BM_Fdregion, region2_vapour, kRegion2);
BENCHMARK_CAPTURE(BM_Fdregion, region3_vapour, kRegion3Vapour);
BENCHMARK_CAPTURE(BM_Fdregion, region3_liquid, kRegion3Liquid);
BENCHMARK_CAPTURE(BM_Fdregion, region5_vapour, kRegion5);

// Every output requested.
void BM_Es15d(benchmark::State& state, WaterState s) {
  int64_t level = 0, one = 1, ierr = 0;
  int32_t unit = 6;
  double phi = 0.0, dh = 0.0, ds = 0.0, dg = 0.0, v = 0.0;
  double iterations = 0.0, solver_calls = 0.0;
  int64_t region = 0;
  {
    double t_out, p_out, v_out;
    QUELTRIN_FDREGION(&s.t, &s.p, &s.kvl, &region, &t_out, &p_out, &v_out, &level, &unit, &ierr);
  }
  for (auto _ : state) {
    QUELTRIN_ES15D(&s.t, &s.p, &level, &s.kvl, &unit, &one, &one, &one, &one, &one, &phi, &dh, &ds,
                   &dg, &v, &ierr);
    benchmark::DoNotOptimize(dg);
    if (region == 3) {
      iterations += static_cast<double>(PPUTL_ESROOT.iw[ITER]);
      solver_calls += static_cast<double>(PPUTL_ESROOT.iw[13]);
    }
  }
  RateCounter(state);
  AddSolverCounters(state, iterations, solver_calls);
  auto call = [&](WaterPath path) {
    thermomodels::WaterEos(s.t, s.p, level, s.kvl, unit, one, one, one, one, one, phi, dh, ds, dg,
                           v, ierr, path);
    benchmark::DoNotOptimize(dg);
  };
  AddOldPathCounters(
      state, [&] { call(WaterPath::kDirect); }, [&] { call(WaterPath::kThroughDispatcher); });
}
BENCHMARK_CAPTURE(BM_Es15d, region1_liquid, kRegion1);
BENCHMARK_CAPTURE(BM_Es15d, region2_vapour, kRegion2);
BENCHMARK_CAPTURE(BM_Es15d, region3_vapour, kRegion3Vapour);
BENCHMARK_CAPTURE(BM_Es15d, region3_liquid, kRegion3Liquid);
BENCHMARK_CAPTURE(BM_Es15d, region5_vapour, kRegion5);

}  // namespace
