// Throughput of the CPA property routine: pure water liquid (ln phi only),
// water + methanol liquid (ln phi, H and V with temperature derivatives) and
// a ten-component vapour. Reports calls per second and the root solver's
// iterations of the call's last search.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "common/common.h"

namespace {

struct Component {
  double tc, pc, m, au, av, at;
};

// Water 4C, methanol 2B and methane from published CPA sets (as
// pseudo-critical constants); the others plain SRK.
constexpr Component kWater{303.17135848344367, 15045914.360250035, 0.38016508919624575,
                           2003.1367040072357, 0.0692, 4.0};
constexpr Component kMethanol{364.4383820278336, 8495972.27212533, 0.3403877229534356,
                              2957.618414184445, 0.0161, 2.0};
constexpr Component kMethane{193.18592912809845, 4782224.476403621, 0.4516575760558059, 0, 0, 1e35};
constexpr Component kEthane{305.32, 4.872e6, 0.6669, 0, 0, 1e35};
constexpr Component kPropane{369.8, 4.248e6, 0.7152, 0, 0, 1e35};
constexpr Component kButane{425.1, 3.796e6, 0.7778, 0, 0, 1e35};
constexpr Component kPentane{469.7, 3.370e6, 0.8509, 0, 0, 1e35};
constexpr Component kNitrogen{126.2, 3.398e6, 0.5300, 0, 0, 1e35};
constexpr Component kCarbonDioxide{304.2, 7.383e6, 0.8263, 0, 0, 1e35};
constexpr Component kHydrogenSulfide{373.5, 8.963e6, 0.6290, 0, 0, 1e35};

struct Requests {
  int64_t kvl, kphi, kh, ks, kg, kv, kder;
};

class Host {
 public:
  explicit Host(const std::vector<Component>& comps) : ncc_(static_cast<int64_t>(comps.size())) {
    for (const Component& c : comps) {
      tc_.push_back(c.tc);
      pc_.push_back(c.pc);
      m_.push_back(c.m);
      au_.push_back(c.au);
      av_.push_back(c.av);
      at_.push_back(c.at);
    }
    const size_t n = static_cast<size_t>(ncc_);
    kij_.assign(2 * n * n, 0.0);
    vij_.assign(2 * n * n, 0.0);
    flags_.assign(n, 0.0);
    pairs_.assign(n * n, 0.0);
    iwork_.assign(n * n + 14 * n, 0);
    rwork_.assign(10 * n * n + 50 * n, 0.0);
    epsab_.assign(n * n, 0.0);
    itype_.assign(n, 0);
    phi_.assign(n, 0.0);
    dphidt_.assign(n, 0.0);
    for (int64_t i = 1; i <= ncc_; ++i) idx_.push_back(i);
  }

  int64_t Call(double t, double p, const std::vector<double>& x, const Requests& r) {
    const int64_t n = static_cast<int64_t>(x.size()), zero = 0, ktol = 1;
    const int32_t unit = 6;
    double out[16] = {};
    double xawrk[1] = {};
    int64_t ierr = 0;
    PPCPA_CPAPROP(&t, &p, x.data(), &n, idx_.data(), &ncc_, tc_.data(), pc_.data(), m_.data(),
                  au_.data(), av_.data(), kij_.data(), at_.data(), vij_.data(), flags_.data(),
                  flags_.data(), pairs_.data(), pairs_.data(), &r.kvl, &r.kphi, &r.kh, &r.ks,
                  &r.kg, &r.kv, &r.kder, phi_.data(), &out[0], &out[1], &out[2], &out[3],
                  dphidt_.data(), &out[4], &out[5], &out[6], &out[7], &out[8], &out[9],
                  &out[10], &out[11], &out[12], iwork_.data(), rwork_.data(), epsab_.data(),
                  itype_.data(), &unit, &zero, &out[13], &out[14], xawrk, &out[15], &out[15],
                  &zero, &ierr, &zero, &ktol);
    return ierr;
  }

 private:
  int64_t ncc_;
  std::vector<double> tc_, pc_, m_, au_, av_, at_, kij_, vij_, flags_, pairs_, rwork_, epsab_,
      phi_, dphidt_;
  std::vector<int64_t> iwork_, itype_, idx_;
};

void Run(benchmark::State& state, Host& host, double t, double p, const std::vector<double>& x,
         const Requests& r) {
  std::memset(&PPUTL_EOSRET, 0, sizeof PPUTL_EOSRET);  // root memory off
  int64_t iterations = 0, failures = 0;
  for (auto _ : state) {
    failures += host.Call(t, p, x, r) != 0;
    iterations += PPUTL_ESROOT.iw[thermomodels::esr::ITER];
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["calls/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
  state.counters["root_iter"] =
      static_cast<double>(iterations) / static_cast<double>(state.iterations());
  state.counters["failed"] = static_cast<double>(failures);
}

void BM_PureWaterLiquidLnPhi(benchmark::State& state) {
  Host host({kWater});
  Run(state, host, 298.15, 101325.0, {1.0}, {2, 1, 0, 0, 0, 0, 0});
}
BENCHMARK(BM_PureWaterLiquidLnPhi);

void BM_WaterMethanolLiquidWithTemperatureDerivatives(benchmark::State& state) {
  Host host({kWater, kMethanol});
  Run(state, host, 320.0, 101325.0, {0.6, 0.4}, {2, 3, 3, 0, 0, 3, 0});
}
BENCHMARK(BM_WaterMethanolLiquidWithTemperatureDerivatives);

void BM_TenComponentVapour(benchmark::State& state) {
  Host host({kWater, kMethanol, kMethane, kEthane, kPropane, kButane, kPentane, kNitrogen,
             kCarbonDioxide, kHydrogenSulfide});
  const std::vector<double> x = {0.01, 0.01, 0.70, 0.08, 0.05, 0.03, 0.02, 0.04, 0.04, 0.02};
  Run(state, host, 350.0, 3e6, x, {1, 1, 1, 1, 1, 1, 0});
}
BENCHMARK(BM_TenComponentVapour);

}  // namespace
