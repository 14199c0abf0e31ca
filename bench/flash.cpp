// Speed of the two water flashes, from volume and enthalpy and from volume
// and internal energy, side by side per class of state (the round-trip
// classes: 1,000 random states each) and on each one's slowest path, with
// the solver's function evaluations per call (mean, p99, max).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../tests/water/flash/flash_states.h"
#include "water/flash/flash.h"

namespace {

using thermomodels::FlashResult;
namespace fs = thermomodels::flash_states;

struct Input {
  double v, e;
};

// One flash: its name and its call on (v, energy).
struct Flash {
  const char* name;
  FlashResult (*run)(double v, double e);
  double fs::State::*energy;  // the state's h or u
};
const Flash kFlashes[] = {
    {"(v, h)", [](double v, double h) -> FlashResult { return thermomodels::VhFlash(v, h); },
     &fs::State::h},
    {"(v, u)", [](double v, double u) -> FlashResult { return thermomodels::VuFlash(v, u); },
     &fs::State::u},
};

// Evaluations per call over the set, as benchmark counters.
void CountEvaluations(benchmark::State& state, const Flash& flash,
                      const std::vector<Input>& inputs) {
  std::vector<long> counts;
  for (const Input& in : inputs)
    counts.push_back(static_cast<long>(flash.run(in.v, in.e).evaluations));
  std::sort(counts.begin(), counts.end());
  double sum = 0;
  for (long n : counts) sum += static_cast<double>(n);
  state.counters["evals_mean"] = sum / static_cast<double>(counts.size());
  state.counters["evals_p99"] = static_cast<double>(counts[(counts.size() * 99) / 100]);
  state.counters["evals_max"] = static_cast<double>(counts.back());
}

void Run(benchmark::State& state, const Flash& flash, const std::vector<Input>& inputs,
         const std::string& label) {
  for (auto _ : state) {
    for (const Input& in : inputs) {
      FlashResult out = flash.run(in.v, in.e);
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * inputs.size()));
  state.SetLabel(std::string(flash.name) + " " + label);
  CountEvaluations(state, flash, inputs);
}

// Arguments: class, flash (0 for (v, h), 1 for (v, u)).
void BM_FlashClass(benchmark::State& state) {
  const auto cls = static_cast<fs::Class>(state.range(0));
  const Flash& flash = kFlashes[state.range(1)];
  std::vector<Input> inputs;
  for (const fs::State& s : fs::Generate(cls, 1000, 20261206))
    inputs.push_back({s.v, s.*flash.energy});
  Run(state, flash, inputs, fs::NameOf(cls));
}
BENCHMARK(BM_FlashClass)->ArgsProduct({benchmark::CreateDenseRange(0, 5, 1), {0, 1}});

// The slowest paths: a hot state whose region-5 pair runs every outer and
// inner solve to its cap; for (v, u) after a 50 MPa check solve that caps.
void BM_FlashWorstPath(benchmark::State& state) {
  if (state.range(0) == 0) {
    Run(state, kFlashes[0], {{0.0095, thermomodels::kVhFlash.h_max}},
        "v = 0.0095 m3/kg, h = h_max");
  } else {
    Run(state, kFlashes[1], {{0.015, 6300.0}}, "v = 0.015 m3/kg, u = 6300 kJ/kg");
  }
}
BENCHMARK(BM_FlashWorstPath)->DenseRange(0, 1);

}  // namespace
