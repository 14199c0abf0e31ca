// Time per call of the sour-water vapour fugacity coefficients with 4 and
// 20 slots at 373.15 K and 10 atm, and of the liquid estimate for a
// four-component list.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "thermomodels.h"

namespace {

// Slots 1-4 the key components, then the other fourteen, then two repeats.
std::vector<int64_t> Slots(int64_t n) {
  std::vector<int64_t> idx;
  for (int64_t s = 0; s < n; ++s) idx.push_back(s < 18 ? s + 1 : 5 + s - 18);
  return idx;
}

void BM_Phivgpsw(benchmark::State& state) {
  const int64_t n = state.range(0);
  const double t = 373.15, p = 10.0;
  const std::vector<int64_t> idx = Slots(n);
  std::vector<double> y(n, 0.3 / static_cast<double>(n - 1));
  y[0] = 0.7;
  std::vector<double> lnphi(n), work(606 + n);
  for (auto _ : state) {
    PPTH_PHIVGPSW(&t, &p, &n, idx.data(), y.data(), lnphi.data(), work.data());
    benchmark::DoNotOptimize(lnphi.data());
  }
}
BENCHMARK(BM_Phivgpsw)->Arg(4)->Arg(20);

// Water, ammonia, CO2 and H2S at 353.15 K with the pressure estimate.
void BM_Inflgpsw(benchmark::State& state) {
  const char aliases[4][25] = {"H2O     " "        " "        ",
                               "H3N     " "        " "        ",
                               "CO2     " "        " "        ",
                               "H2S     " "        " "        "};
  for (int k = 0; k < 4; ++k) std::memcpy(&DMS_PLEX.words[3 * k], aliases[k], 24);
  const double t = 353.15;
  const int64_t nc = 4, kode = 5;
  const int64_t idx[4] = {1, 2, 3, 4};
  const double z[4] = {0.7, 0.1, 0.1, 0.1};
  double x[4], y[4], p = 1e5;
  int64_t iflag = 0;
  std::vector<double> work(80 + 4);
  for (auto _ : state) {
    PPTH_INFLGPSW(&t, &p, &nc, idx, z, x, y, nullptr, &kode, work.data(), &iflag);
    benchmark::DoNotOptimize(x);
  }
  state.counters["iflag"] = static_cast<double>(iflag);
}
BENCHMARK(BM_Inflgpsw);

}  // namespace
