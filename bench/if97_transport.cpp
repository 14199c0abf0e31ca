// Timing of the transport properties (viscosity, thermal conductivity with
// and without the critical enhancement) and of the iterative region-3 volume
// over grids of states. The region-3 benchmark also reports the mean number
// of region-3 pressure evaluations per volume.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "water/if97/if97.h"

namespace {

using namespace thermomodels;

struct State {
  double pressure, temperature, volume;
  int64_t region;
};

// Liquid and steam states of regions 1 and 2 (P in MPa, T in K) with their
// IF97 volumes, and region-3 states (T, rho) around the critical point.
std::vector<State> TransportStates() {
  std::vector<State> states;
  for (double t = 300.0; t <= 620.0; t += 20.0) {
    for (double p = 20.0; p <= 80.0; p += 20.0) states.push_back({p, t, IF97R1V(p, t), 1});
  }
  for (double t = 650.0; t <= 950.0; t += 20.0) {
    for (double p = 0.1; p <= 10.0; p += 3.3) states.push_back({p, t, IF97R2V(p, t), 2});
  }
  for (double t = 650.0; t <= 750.0; t += 10.0) {
    for (double rho = 200.0; rho <= 600.0; rho += 50.0) {
      const double v = 1.0 / rho;
      states.push_back({IF97R3P(t, v), t, v, 3});
    }
  }
  return states;
}

// Region 3 from the saturation or B23 pressure to 100 MPa, 623.15 to 863.15 K.
std::vector<State> Region3States() {
  std::vector<State> states;
  for (int i = 0; i <= 60; ++i) {
    const double t = 623.15 + 240.0 * i / 60.0;
    const double low = t <= 647.096 ? IF97PSAT(t)
                                    : 0.34805185628969e3 - 0.11671859879975e1 * t +
                                          0.10192970039326e-2 * t * t;  // IF97 Eq. 5
    for (int j = 0; j <= 40; ++j) states.push_back({low + (100.0 - low) * j / 40.0, t, 0.0, 3});
  }
  return states;
}

// A function of (T, V) over the transport states.
void RunOfTemperatureAndVolume(benchmark::State& bench,
                               double (*function)(const double&, const double&)) {
  const std::vector<State> states = TransportStates();
  for (auto _ : bench) {
    for (const State& s : states) benchmark::DoNotOptimize(function(s.temperature, s.volume));
  }
  bench.SetItemsProcessed(bench.iterations() * static_cast<int64_t>(states.size()));
}

void BM_WVISC08(benchmark::State& bench) { RunOfTemperatureAndVolume(bench, WVISC08); }
BENCHMARK(BM_WVISC08);

// The same states with the region code (enhancement where its gate opens) or
// with code 5 (never).
void RunWtcon11(benchmark::State& bench, bool enhancement) {
  const std::vector<State> states = TransportStates();
  double cp, cv, eta, tcon;
  for (auto _ : bench) {
    for (const State& s : states) {
      const int64_t region = enhancement ? s.region : 5;
      WTCON11(s.pressure, s.temperature, s.volume, region, cp, cv, eta, tcon);
      benchmark::DoNotOptimize(tcon);
    }
  }
  bench.SetItemsProcessed(bench.iterations() * static_cast<int64_t>(states.size()));
}
void BM_WTCON11_Enhanced(benchmark::State& bench) { RunWtcon11(bench, true); }
void BM_WTCON11_NoEnhancement(benchmark::State& bench) { RunWtcon11(bench, false); }
BENCHMARK(BM_WTCON11_Enhanced);
BENCHMARK(BM_WTCON11_NoEnhancement);

void RunRegion3Volume(benchmark::State& bench, Region3Side side, bool at_saturation) {
  std::vector<State> states = Region3States();
  if (at_saturation) {
    states.clear();
    for (double t = 623.15; t < 647.09; t += 0.1) states.push_back({IF97PSAT(t), t, 0.0, 3});
  }
  int64_t evaluations = 0, calls = 0;
  for (auto _ : bench) {
    for (const State& s : states) {
      int64_t n = 0;
      benchmark::DoNotOptimize(Region3Volume(s.pressure, s.temperature, side, n));
      evaluations += n;
      ++calls;
    }
  }
  bench.SetItemsProcessed(calls);
  bench.counters["pressures_per_volume"] =
      static_cast<double>(evaluations) / static_cast<double>(calls > 0 ? calls : 1);
}
void BM_Region3Volume_Grid(benchmark::State& bench) {
  RunRegion3Volume(bench, Region3Side::kChosen, false);
}
void BM_Region3Volume_SaturatedLiquid(benchmark::State& bench) {
  RunRegion3Volume(bench, Region3Side::kLiquid, true);
}
void BM_Region3Volume_SaturatedVapour(benchmark::State& bench) {
  RunRegion3Volume(bench, Region3Side::kVapour, true);
}
BENCHMARK(BM_Region3Volume_Grid);
BENCHMARK(BM_Region3Volume_SaturatedLiquid);
BENCHMARK(BM_Region3Volume_SaturatedVapour);

// One region-3 pressure, the unit the volume search spends.
void BM_IF97R3P(benchmark::State& bench) { RunOfTemperatureAndVolume(bench, IF97R3P); }
BENCHMARK(BM_IF97R3P);

}  // namespace
