// Speed of the root solvers on an SRK pressure function: a whole search per
// iteration, reporting the calls per search.
#include <benchmark/benchmark.h>

#include <cmath>

#include "eos_roots/eos_roots.h"

namespace {

using namespace thermomodels;

constexpr double kR = 8314.33;
const int64_t kModel[2] = {0x2020202020415043, 0x2020202020202020};

struct Srk {
  double a, b;
  Srk(double tc, double pc, double m, double t) {
    const double alpha = std::pow(1.0 + m * (1.0 - std::sqrt(t / tc)), 2);
    a = 0.42748025 * (kR * tc) * (kR * tc) / pc * alpha;
    b = 0.08664035 * kR * tc / pc;
  }
};

void SrkSearch(benchmark::State& state, bool liquid, double t, double pspec) {
  const Srk eos(190.56, 4.599e6, 0.497293, t);
  const double vcmech = 3.8473 * eos.b;
  int64_t calls = 0, searches = 0;
  for (auto _ : state) {
    int64_t irc = 4, iflag = 1, istat = 0;
    double v = 0.0, p = 0.0, dpdv = 0.0;
    while (true) {
      (liquid ? LQROOT : VPROOT)(irc, iflag, eos.b, vcmech, vcmech, t, pspec, v, p, dpdv, kModel, 0,
                                 0, 6, kNoValue, kR, 1e-10, 0.1, PPUTL_ESROOT.iw, PPUTL_ESROOT.rw,
                                 0, istat);
      ++calls;
      if (irc < 1 || irc > 3) break;
      const double vb = v - eos.b, vvb = v * (v + eos.b);
      p = kR * t / vb - eos.a / vvb;
      dpdv = -kR * t / (vb * vb) + eos.a * (2.0 * v + eos.b) / (vvb * vvb);
    }
    benchmark::DoNotOptimize(v);
    ++searches;
  }
  state.counters["calls_per_search"] = static_cast<double>(calls) / searches;
  state.counters["searches_per_s"] = benchmark::Counter(searches, benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(SrkSearch, vapour_150K_1bar, false, 150.0, 1e5);
BENCHMARK_CAPTURE(SrkSearch, liquid_150K_1bar, true, 150.0, 1e5);
BENCHMARK_CAPTURE(SrkSearch, vapour_250K_50bar, false, 250.0, 5e6);

}  // namespace
