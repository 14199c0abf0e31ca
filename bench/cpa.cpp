// Throughput of the CPA property routine: pure water liquid (ln phi only),
// water + methanol liquid (ln phi, H and V with temperature derivatives), a
// ten-component vapour and liquids of 10, 30 and 100 four-site components.
// Reports calls per second and the root solver's iterations: of the call's
// last search, and of one plain call. The first three run twice in one
// run: shortcuts:1 as the library runs, shortcuts:0 with the association
// shortcuts switched off, which is the association term as it was solved
// before them (every site fraction iterated).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "association/association.h"
// The test suite's small host: parameter sets and the host's arrays.
#include "../tests/cpa/cpa_fixture.h"

namespace {

using cpa_test::Component;
using cpa_test::CpaSystem;
using cpa_test::kMethaneCpa;
using cpa_test::kMethanol;
using cpa_test::kWater;
using cpa_test::Request;

// Plain SRK components (critical constants and m from the acentric factor).
constexpr Component kEthane{305.32, 4.872e6, 0.6669, 0, 0, 1e35};
constexpr Component kPropane{369.8, 4.248e6, 0.7152, 0, 0, 1e35};
constexpr Component kButane{425.1, 3.796e6, 0.7778, 0, 0, 1e35};
constexpr Component kPentane{469.7, 3.370e6, 0.8509, 0, 0, 1e35};
constexpr Component kNitrogen{126.2, 3.398e6, 0.5300, 0, 0, 1e35};
constexpr Component kCarbonDioxide{304.2, 7.383e6, 0.8263, 0, 0, 1e35};
constexpr Component kHydrogenSulfide{373.5, 8.963e6, 0.6290, 0, 0, 1e35};

// Requests of one benchmark: phase, ln phi, H, S, G, V.
Request Make(int64_t kvl, int64_t kphi, int64_t kh, int64_t ks, int64_t kg, int64_t kv) {
  Request r;
  r.kvl = kvl;
  r.kphi = kphi;
  r.kh = kh;
  r.ks = ks;
  r.kg = kg;
  r.kv = kv;
  return r;
}

std::vector<int64_t> Positions(size_t n) {
  std::vector<int64_t> idx(n);
  for (size_t i = 0; i < n; ++i) idx[i] = static_cast<int64_t>(i) + 1;
  return idx;
}

void Run(benchmark::State& state, CpaSystem& host, double t, double p, const std::vector<double>& x,
         const Request& r, bool shortcuts = true) {
  std::memset(&PPUTL_EOSRET, 0, sizeof PPUTL_EOSRET);  // root memory off
  thermomodels::ASSOC_SHORTCUTS.enabled = shortcuts;
  const std::vector<int64_t> idx = Positions(x.size());
  int64_t iterations = 0, failures = 0;
  for (auto _ : state) {
    failures += host.Call(t, p, idx, x, r).ierr != 0;
    iterations += PPUTL_ESROOT.iw[thermomodels::esr::ITER];
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["calls/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["root_iter"] =
      static_cast<double>(iterations) / static_cast<double>(state.iterations());
  state.counters["failed"] = static_cast<double>(failures);
  // With temperature derivatives the last search is the second pass, which
  // starts at the first pass's root; a plain call at T + 0.001 K shows what
  // the first pass's search takes.
  host.Call(t + 0.001, p, idx, x, Make(r.kvl, 1, 0, 0, 0, 0));
  state.counters["root_iter_plain"] = static_cast<double>(PPUTL_ESROOT.iw[thermomodels::esr::ITER]);
  thermomodels::ASSOC_SHORTCUTS.enabled = true;
}

void BM_PureWaterLiquidLnPhi(benchmark::State& state) {
  CpaSystem host({kWater});
  Run(state, host, 298.15, 101325.0, {1.0}, Make(2, 1, 0, 0, 0, 0), state.range(0) != 0);
}
BENCHMARK(BM_PureWaterLiquidLnPhi)->ArgName("shortcuts")->Arg(1)->Arg(0);

void BM_WaterMethanolLiquidWithTemperatureDerivatives(benchmark::State& state) {
  CpaSystem host({kWater, kMethanol});
  Run(state, host, 320.0, 101325.0, {0.6, 0.4}, Make(2, 3, 3, 0, 0, 3), state.range(0) != 0);
}
BENCHMARK(BM_WaterMethanolLiquidWithTemperatureDerivatives)->ArgName("shortcuts")->Arg(1)->Arg(0);

void BM_TenComponentVapour(benchmark::State& state) {
  CpaSystem host({kWater, kMethanol, kMethaneCpa, kEthane, kPropane, kButane, kPentane, kNitrogen,
                  kCarbonDioxide, kHydrogenSulfide});
  const std::vector<double> x = {0.01, 0.01, 0.70, 0.08, 0.05, 0.03, 0.02, 0.04, 0.04, 0.02};
  Run(state, host, 350.0, 3e6, x, Make(1, 1, 1, 1, 1, 1), state.range(0) != 0);
}
BENCHMARK(BM_TenComponentVapour)->ArgName("shortcuts")->Arg(1)->Arg(0);

// n copies of the four-site water set in one liquid (4n association
// variables): how the cost of a call grows with the number of sites.
void BM_AssociatingComponents(benchmark::State& state) {
  const size_t n = static_cast<size_t>(state.range(0));
  CpaSystem host(std::vector<Component>(n, kWater));
  Run(state, host, 298.15, 101325.0, std::vector<double>(n, 1.0 / static_cast<double>(n)),
      Make(2, 1, 0, 0, 0, 0));
}
BENCHMARK(BM_AssociatingComponents)->Arg(10)->Arg(30)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
