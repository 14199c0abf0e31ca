// Speed of the flash from volume and enthalpy per class of state (the
// round-trip classes: 1,000 random states each) and on its slowest path,
// with the solver's function evaluations per call (mean, p99, max).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../tests/water/flash/flash_states.h"
#include "water/flash/flash.h"

namespace {

using thermomodels::VhFlash;
using thermomodels::VhFlashOutcome;
namespace fs = thermomodels::flash_states;

struct Input {
  double v, h;
};

// Evaluations per call over the set, as benchmark counters.
void CountEvaluations(benchmark::State& state, const std::vector<Input>& inputs) {
  std::vector<long> counts;
  for (const Input& in : inputs) counts.push_back(static_cast<long>(VhFlash(in.v, in.h).evaluations));
  std::sort(counts.begin(), counts.end());
  double sum = 0;
  for (long n : counts) sum += static_cast<double>(n);
  state.counters["evals_mean"] = sum / static_cast<double>(counts.size());
  state.counters["evals_p99"] = static_cast<double>(counts[(counts.size() * 99) / 100]);
  state.counters["evals_max"] = static_cast<double>(counts.back());
}

void Run(benchmark::State& state, const std::vector<Input>& inputs) {
  for (auto _ : state) {
    for (const Input& in : inputs) {
      VhFlashOutcome out = VhFlash(in.v, in.h);
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * inputs.size()));
  CountEvaluations(state, inputs);
}

void BM_VhFlashClass(benchmark::State& state) {
  const auto cls = static_cast<fs::Class>(state.range(0));
  std::vector<Input> inputs;
  for (const fs::State& s : fs::Generate(cls, 1000, 20261206)) inputs.push_back({s.v, s.h});
  state.SetLabel(fs::NameOf(cls));
  Run(state, inputs);
}
BENCHMARK(BM_VhFlashClass)->DenseRange(0, 5);

// The slowest path: a hot state beyond 2273.15 K whose region-5 pair runs
// every outer and inner solve to its cap.
void BM_VhFlashWorstPath(benchmark::State& state) {
  state.SetLabel("v = 0.0095 m3/kg, h = h_max");
  Run(state, {{0.0095, thermomodels::kVhFlash.h_max}});
}
BENCHMARK(BM_VhFlashWorstPath);

}  // namespace
