// The series evaluator of the region functions against a plain term-by-term
// sum of the same coefficient tables in long double, on a few thousand states
// per region, for every sum asked alone and for all six asked together.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace if97_detail;

constexpr int kStates = 2000;

// Each sum with its orders of differentiation in x and in y.
struct SumKind {
  const char* name;
  int dx, dy;
};
constexpr SumKind kKinds[] = {{"s", 0, 0},   {"s_x", 1, 0},  {"s_xx", 2, 0},
                              {"s_y", 0, 1}, {"s_yy", 0, 2}, {"s_xy", 1, 1}};

// d^dx/dx^dx d^dy/dy^dy of sum n x^i y^j one term after another, and the sum
// of the terms' magnitudes: the scale on which any evaluation in double
// rounds, whatever the order of its additions.
struct Reference {
  long double sum = 0.0L, magnitude = 0.0L;
};

template <std::size_t N>
Reference TermByTerm(const PowerTerm (&terms)[N], double x, double y, const SumKind& kind) {
  Reference r;
  for (const PowerTerm& t : terms) {
    long double c = t.n;
    for (int k = 0; k < kind.dx; ++k) c *= t.i - k;
    for (int k = 0; k < kind.dy; ++k) c *= t.j - k;
    const long double term = c * std::pow(static_cast<long double>(x), t.i - kind.dx) *
                             std::pow(static_cast<long double>(y), t.j - kind.dy);
    r.sum += term;
    r.magnitude += std::fabs(term);
  }
  return r;
}

// The reduced variables of one region; x spread evenly in its logarithm
// where the region spans decades of pressure.
struct Domain {
  double x0, x1, y0, y1;
  bool log_x;
};

template <const auto& kTerms>
void CheckSeries(const char* name, const Domain& d) {
  std::mt19937_64 rng(97);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  double worst[6] = {};
  for (int k = 0; k < kStates; ++k) {
    const double u = unit(rng);
    const double x = d.log_x ? d.x0 * std::pow(d.x1 / d.x0, u) : d.x0 + (d.x1 - d.x0) * u;
    const double y = d.y0 + (d.y1 - d.y0) * unit(rng);
    const PowerSums all = SumSeries<kSumAll, kTerms>(x, y);
    const double together[6] = {all.s, all.sx, all.sxx, all.sy, all.syy, all.sxy};
    const double alone[6] = {
        SumSeries<kSum, kTerms>(x, y).s,     SumSeries<kSumX, kTerms>(x, y).sx,
        SumSeries<kSumXX, kTerms>(x, y).sxx, SumSeries<kSumY, kTerms>(x, y).sy,
        SumSeries<kSumYY, kTerms>(x, y).syy, SumSeries<kSumXY, kTerms>(x, y).sxy};
    for (int f = 0; f < 6; ++f) {
      const Reference ref = TermByTerm(kTerms, x, y, kKinds[f]);
      for (const double got : {together[f], alone[f]}) {
        const long double error = std::fabs(got - ref.sum);
        const double ratio = ref.magnitude > 0.0L ? static_cast<double>(error / ref.magnitude)
                                                  : (error > 0.0L ? 1.0 : 0.0);
        worst[f] = ratio > worst[f] ? ratio : worst[f];
      }
    }
  }
  for (int f = 0; f < 6; ++f) EXPECT_LE(worst[f], 1e-14) << name << " " << kKinds[f].name;
}

TEST(If97Series, AgreeWithTermByTermSumsInLongDouble) {
  // Region 1: x = 7.1 - p/16.53 for 0-100 MPa, y = 1386/T - 1.222 for 273.15-623.15 K.
  CheckSeries<kRegion1Terms>("region 1", {7.1 - 100.0 / 16.53, 7.1, 1386.0 / 623.15 - 1.222,
                                          1386.0 / 273.15 - 1.222, false});
  // Region 2: tau = 540/T for 273.15-1073.15 K; residual x = p/1 MPa, y = tau - 0.5.
  CheckSeries<kRegion2IdealTerms>("region 2 ideal",
                                  {1.0, 1.0, 540.0 / 1073.15, 540.0 / 273.15, false});
  CheckSeries<kRegion2ResidualTerms>(
      "region 2 residual", {1e-6, 100.0, 540.0 / 1073.15 - 0.5, 540.0 / 273.15 - 0.5, true});
  // Region 3: delta = 1/(322 v) for v = 0.0013-0.0088 m3/kg, tau = 647.096/T for 623.15-1073.15 K.
  CheckSeries<kRegion3Terms>("region 3", {1.0 / (322.0 * 0.0088), 1.0 / (322.0 * 0.0013),
                                          647.096 / 1073.15, 647.096 / 623.15, false});
  // Region 5: tau = 1000/T for 1073.15-2273.15 K; residual x = p/1 MPa up to 50 MPa.
  CheckSeries<kRegion5IdealTerms>("region 5 ideal",
                                  {1.0, 1.0, 1000.0 / 2273.15, 1000.0 / 1073.15, false});
  CheckSeries<kRegion5ResidualTerms>("region 5 residual",
                                     {1e-6, 50.0, 1000.0 / 2273.15, 1000.0 / 1073.15, true});
}

}  // namespace
}  // namespace thermomodels
