// Time per call of the sour-water vapour fugacity coefficients with 4 and
// 20 slots at 373.15 K and 10 atm, of the liquid estimate for a
// four-component list, and of the liquid fugacity coefficients for fifteen
// liquids with the pH solves and inner iterations each call makes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "sour_water/sour_water.h"
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
  const char aliases[4][25] = {
      "H2O     "
      "        "
      "        ",
      "H3N     "
      "        "
      "        ",
      "CO2     "
      "        "
      "        ",
      "H2S     "
      "        "
      "        "};
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

// Liquids: three states times five compositions (water, ammonia, CO2, H2S).
struct LiquidCase {
  double t, p;
  double x[4];
};
constexpr double kAmmonia1Molal = 1.0 / (1.0 + 1000.0 / 18.015);
constexpr double kStates[3][2] = {{298.15, 1.0}, {373.15, 1.0}, {423.15, 10.0}};
constexpr double kCompositions[5][4] = {
    {0.98, 0.01, 0.005, 0.005}, {0.9, 0.05, 0.03, 0.02},
    {0.999, 5e-4, 3e-4, 2e-4},  {1.0 - kAmmonia1Molal, kAmmonia1Molal, 0.0, 0.0},
    {0.999, 0.0, 1e-3, 0.0},
};

void BM_Philgpsw(benchmark::State& state) {
  const auto* st = kStates[state.range(0) / 5];
  const auto* x = kCompositions[state.range(0) % 5];
  const double t = st[0], p = st[1], ph = 7.0;
  const int64_t n = 4, kph = 0;
  const int64_t idx[4] = {1, 2, 3, 4};
  double lnphi[4];
  std::vector<double> work(710 + n);
  for (auto _ : state) {
    PPTH_PHILGPSW(&t, &p, &n, idx, x, lnphi, &ph, &kph, work.data());
    benchmark::DoNotOptimize(lnphi);
  }
  const thermomodels::GpswLiquidSaved& s = thermomodels::GPSWLIQ;
  state.counters["T"] = t;
  state.counters["P"] = p;
  state.counters["pH"] = s.PHC;
  state.counters["ph_solves"] = static_cast<double>(s.ph_solves);
  state.counters["inner_its"] = static_cast<double>(s.inner_iterations);
}
BENCHMARK(BM_Philgpsw)->DenseRange(0, 14);

}  // namespace
