// Several properties from one evaluation of the series against the
// single-property functions, and the series along a line of fixed y (the
// region-3 isotherm of the volume searches) against the full evaluation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace if97_detail;

constexpr int kStates = 2000;

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A region's temperatures [K] and pressures [MPa]: from p0 to p1, bounded
// by the saturation line from above (vapour) or from below (liquid) up to
// 623.15 K; the vapour stays below 16.5 MPa above it (under the B23 line).
struct Box {
  double p0, p1, t0, t1;
  int side;  // +1 liquid (p >= psat), -1 vapour (p <= psat), 0 none
};

template <class Rng>
void Draw(Rng& rng, const Box& box, double& p, double& t) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  t = box.t0 + (box.t1 - box.t0) * unit(rng);
  double lo = box.p0, hi = box.p1;
  if (box.side > 0) lo = IF97PSAT(t);
  if (box.side < 0) hi = t <= 623.15 ? IF97PSAT(t) : 16.5;
  p = lo * std::pow(hi / lo, unit(rng));
}

using PtFn = double (*)(const double&, const double&);
using StateFn = StateProperties (*)(const double&, const double&, bool);
struct PtRegion {
  const char* name;
  StateFn state;
  PtFn v, h, s, fug;
  Box box;
};

// Regions 1, 2 and 5 sum each series in the lanes of the single functions
// of v, h and the fugacity (bit for bit); the entropy's own function sums
// in fewer lanes: round-off, relative to s or, where s vanishes (at the
// triple point), to R.
TEST(If97StateProperties, MatchTheSingleFunctionsInRegions125) {
  const PtRegion regions[] = {
      {"1", IF97R1State, IF97R1V, IF97R1H, IF97R1S, IF97R1FUG, {1e-3, 100.0, 273.15, 623.15, 1}},
      {"2", IF97R2State, IF97R2V, IF97R2H, IF97R2S, IF97R2FUG, {1e-6, 100.0, 273.15, 1073.15, -1}},
      {"5", IF97R5State, IF97R5V, IF97R5H, IF97R5S, IF97R5FUG, {1e-6, 50.0, 1073.15, 2273.15, 0}},
  };
  for (const PtRegion& r : regions) {
    std::mt19937_64 rng(5);
    double worst_s = 0.0;
    for (int k = 0; k < kStates; ++k) {
      double p, t;
      Draw(rng, r.box, p, t);
      const StateProperties all = r.state(p, t, true);
      ASSERT_TRUE(SameBits(all.v, r.v(p, t)) && SameBits(all.h, r.h(p, t)) &&
                  SameBits(all.fug, r.fug(p, t)))
          << "region " << r.name << " at " << p << " MPa, " << t << " K";
      const double scale = std::max(std::fabs(all.s), kGasConstant);
      worst_s = std::max(worst_s, std::fabs(all.s - r.s(p, t)) / scale);
      // Without the fugacity the other three stay the same.
      const StateProperties three = r.state(p, t, false);
      ASSERT_TRUE(SameBits(three.v, all.v) && SameBits(three.h, all.h) &&
                  SameBits(three.s, all.s) && three.fug == 0.0);
    }
    EXPECT_LE(worst_s, 1e-14) << "region " << r.name;
  }
}

// Region 3 at (T, v) over the region and beyond it: every output bit for bit.
TEST(If97StateProperties, MatchTheSingleFunctionsInRegion3BitForBit) {
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int k = 0; k < kStates; ++k) {
    const double t = 600.0 + 500.0 * unit(rng);
    const double v = 0.001 * std::pow(20.0, unit(rng));
    const double p = 10.0 + 90.0 * unit(rng);
    const StateProperties all = IF97R3State(p, t, v, true);
    ASSERT_TRUE(SameBits(all.v, v) && SameBits(all.h, IF97R3H(t, v)) &&
                SameBits(all.s, IF97R3S(t, v)) && SameBits(all.fug, IF97R3FUG(p, t, v)))
        << t << " K, " << v << " m3/kg";
    EXPECT_EQ(IF97R3State(p, t, v, false).fug, 0.0);
  }
}

// The isotherm's pressure is IF97R3P's bit for bit, inside the region and
// far outside it (where the series still evaluates).
TEST(If97StateProperties, IsothermPressureIsTheRegionFunctionBitForBit) {
  std::mt19937_64 rng(14);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int line = 0; line < 40; ++line) {
    const double t = line < 30 ? 623.15 + 240.0 * unit(rng) : 200.0 + 2000.0 * unit(rng);
    const Region3Isotherm isotherm(t);
    for (int k = 0; k < 50; ++k) {
      const double v = 1e-4 * std::pow(1e3, unit(rng));
      ASSERT_TRUE(SameBits(isotherm.Pressure(v), IF97R3P(t, v))) << t << " K, " << v << " m3/kg";
    }
  }
}

// Every sum of a series along a line equals the full evaluation bit for bit.
template <const auto& kTerms>
void CheckAlongX(double x0, double x1, double y0, double y1) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int line = 0; line < 20; ++line) {
    const double y = y0 + (y1 - y0) * unit(rng);
    const SeriesAlongX<kSumAll, kTerms> along(y);
    for (int k = 0; k < 20; ++k) {
      const double x = x0 + (x1 - x0) * unit(rng);
      const PowerSums a = along.At(x), b = SumSeries<kSumAll, kTerms>(x, y);
      ASSERT_TRUE(SameBits(a.s, b.s) && SameBits(a.sx, b.sx) && SameBits(a.sxx, b.sxx) &&
                  SameBits(a.sy, b.sy) && SameBits(a.syy, b.syy) && SameBits(a.sxy, b.sxy))
          << x << ", " << y;
    }
  }
}

TEST(If97StateProperties, SeriesAlongALineIsTheFullEvaluationBitForBit) {
  CheckAlongX<kRegion1Terms>(7.1 - 100.0 / 16.53, 7.1, 1.0, 3.9);
  CheckAlongX<kRegion3Terms>(0.35, 2.4, 0.6, 1.04);
}

}  // namespace
}  // namespace thermomodels
