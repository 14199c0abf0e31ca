// The step-control, quasi-Newton, factorisation and line-search routines on
// small problems whose answers are known exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "association/association.h"

namespace thermomodels {
namespace {

TEST(Xastep, FirstStepSettlesDefaultsAndTakesTheGivenFactor) {
  int64_t iter = 0, n = 3;
  double mode = 0, facmin = 0, facmax = 0, dxmax = 0, fac = 1;
  std::vector<double> x{1.0, -80.0, 3.0}, g{0.5, 1.0, -2.0}, gold(3, 0.0);
  XASTEP(iter, n, mode, facmin, facmax, dxmax, fac, x.data(), g.data(), gold.data());
  EXPECT_EQ(mode, 2.0);
  EXPECT_EQ(facmin, 1e-4);
  EXPECT_EQ(facmax, 10.0);
  EXPECT_EQ(dxmax, 8.0);  // max(5, 0.1 * 80)
  EXPECT_EQ(fac, 1.0);
  EXPECT_EQ(x, (std::vector<double>{1.5, -79.0, 1.0}));
  EXPECT_EQ(gold, g);
}

TEST(Xastep, LaterStepsFollowTheSpectralFactorWithinTheLimits) {
  struct Case {
    const char* what;
    std::vector<double> g, gold;
    double fac;
    double expect_lambda;
  };
  const std::vector<Case> cases = {
      // d = 0: no curvature information, plain step.
      {"unchanged direction", {1.0, 2.0}, {1.0, 2.0}, 0.7, 1.0},
      // g = 0.5 gold: lambda = -fac*|gold|^2/(gold.(g-gold)) = 2 fac.
      {"halved direction", {0.5, 1.0}, {1.0, 2.0}, 1.0, 2.0},
      // A nearly unchanged direction asks for a huge factor, cut to DXMAX/|g|.
      {"step limit", {0.999, 1.998}, {1.0, 2.0}, 1.0, 5.0 / 1.998},
  };
  for (const Case& c : cases) {
    int64_t iter = 1, n = 2;
    double mode = 2, facmin = 1e-4, facmax = 10, dxmax = 5, fac = c.fac;
    std::vector<double> x{0.0, 0.0}, gold = c.gold;
    XASTEP(iter, n, mode, facmin, facmax, dxmax, fac, x.data(), c.g.data(), gold.data());
    EXPECT_NEAR(fac, c.expect_lambda, 1e-12) << c.what;
    EXPECT_LE(std::fabs(fac), facmax) << c.what;
    EXPECT_NEAR(x[1], c.expect_lambda * c.g[1], 1e-12) << c.what;
  }
}

TEST(Xalsol, RestartGivesMinusIdentityAndTheResidualAsStep) {
  int64_t n = 2, kbr = -1;
  std::vector<double> x{0.1, 0.2}, f{3.0, -4.0}, s(2, 9.0), xold(2), fold(2), h(4, 7.0);
  XALSOL(n, x.data(), f.data(), s.data(), xold.data(), fold.data(), h.data(), kbr);
  EXPECT_EQ(h, (std::vector<double>{-1, 0, 0, -1}));
  EXPECT_EQ(s, (std::vector<double>{3.0, -4.0}));
  EXPECT_EQ(kbr, 4);
  EXPECT_EQ(xold, x);
  EXPECT_EQ(fold, (std::vector<double>{3.0, -4.0}));
}

TEST(Xalsol, UpdateSatisfiesTheSecantCondition) {
  // After the update H y = s for the step s and the residual change y.
  int64_t n = 2, kbr = 3;
  std::vector<double> h{-1.0, 0.2, 0.1, -0.5};
  // The step taken was -H f_prev, as the quasi-Newton iteration takes it.
  const std::vector<double> s_taken{0.95, 0.05}, f_prev{1.0, 0.5}, f_new{-0.4, 0.9};
  std::vector<double> x{0.0, 0.0}, f = f_new, s = s_taken, xold(2), fold = f_prev;
  XALSOL(n, x.data(), f.data(), s.data(), xold.data(), fold.data(), h.data(), kbr);
  const double y0 = f_new[0] - f_prev[0], y1 = f_new[1] - f_prev[1];
  // theta = 1 needs p = s' H f >= 0 at the old H: checked by the result.
  EXPECT_NEAR(h[0] * y0 + h[2] * y1, s_taken[0], 1e-12);
  EXPECT_NEAR(h[1] * y0 + h[3] * y1, s_taken[1], 1e-12);
  EXPECT_NEAR(s[0], -(h[0] * f_new[0] + h[2] * f_new[1]), 1e-12);
}

TEST(Xalsol, UnusableResidualTakesNoPartInTheUpdate) {
  int64_t n = 2, kbr = 3;
  std::vector<double> h{-1, 0, 0, -1}, x{0, 0}, f{1e35, 0.5}, s{0.2, 0.1}, xold(2), fold{0.3, 0.2};
  XALSOL(n, x.data(), f.data(), s.data(), xold.data(), fold.data(), h.data(), kbr);
  EXPECT_EQ(f[0], 0.0);      // zeroed after being saved
  EXPECT_EQ(fold[0], 1e35);  // the saved residual
  EXPECT_NEAR(s[0], -h[2] * 0.5, 1e-15);
  EXPECT_TRUE(std::isfinite(h[0]) && std::isfinite(h[3]));
}

TEST(Xafact, InvertsOrReportsSingularity) {
  struct Case {
    const char* what;
    std::vector<double> a;
    bool singular;
  };
  const std::vector<Case> cases = {
      {"identity", {1, 0, 0, 0, 1, 0, 0, 0, 1}, false},
      {"general", {4, -2, 1, 3, 6, -4, 2, 1, 8}, false},
      {"two equal rows", {1, 1, 2, 2, 2, 5, 3, 3, 7}, true},
      {"zero", {0, 0, 0, 0, 0, 0, 0, 0, 0}, true},
  };
  for (const Case& c : cases) {
    int64_t n = 3, ld = 3, n2 = 6, ier = -7;
    std::vector<double> ainv(9, 5.0), w(18), w2(18), piv(3);
    std::vector<int64_t> irow(3), icol(3);
    XAFACT(c.a.data(), n, ainv.data(), ier, irow.data(), icol.data(), w.data(), piv.data(),
           w2.data(), ld, n2, 1e-50);
    if (c.singular) {
      EXPECT_NE(ier, 0) << c.what;
      for (double v : ainv) EXPECT_EQ(v, 0.0) << c.what;
      continue;
    }
    EXPECT_EQ(ier, 0) << c.what;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        double sum = 0;
        for (int k = 0; k < 3; ++k) sum += c.a[k * 3 + i] * ainv[j * 3 + k];
        EXPECT_NEAR(sum, i == j ? 1.0 : 0.0, 1e-14) << c.what << " " << i << "," << j;
      }
  }
}

TEST(Xaelim, FactorsAndSolvesWhateverTheRowOrder) {
  // A x = b with x = (1, -2, 3); rows permuted so that pivoting matters.
  const std::vector<std::vector<double>> matrices = {
      {2, 1, 4, 1, 3, 2, 1, 5, 3},  // column-major
      {0.001, 5, 1, 2, 1, 7, 3, 2, 1},
      {1, 0, 0, 0, 1e-3, 0, 0, 0, 1e3},
  };
  const std::vector<double> xs{1, -2, 3};
  for (const auto& a0 : matrices) {
    std::vector<double> a = a0, b(3, 0.0), x(3);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) b[i] += a0[j * 3 + i] * xs[j];
    std::vector<int64_t> ipvt(3);
    int64_t ld = 3, n = 3, ier = -1;
    XAELIM(ld, n, a.data(), ipvt.data(), ier, 1e-50);
    ASSERT_EQ(ier, 0);
    XABSUB(ld, n, b.data(), ipvt.data(), a.data(), x.data());
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(x[i], xs[i], 1e-12);
  }
}

TEST(Xaelim, ReportsTheFailingColumn) {
  int64_t ld = 3, n = 3, ier = 0;
  std::vector<int64_t> ipvt(3);
  std::vector<double> zero_first_column{0, 0, 0, 1, 2, 3, 4, 5, 7};
  XAELIM(ld, n, zero_first_column.data(), ipvt.data(), ier, 1e-50);
  EXPECT_EQ(ier, 1);
  std::vector<double> singular_last{1, 0, 0, 0, 1, 0, 0, 0, 0};
  XAELIM(ld, n, singular_last.data(), ipvt.data(), ier, 1e-50);
  EXPECT_EQ(ier, 3);
}

// Drives a search on f(t) to its end; returns the final step and the count.
template <class F>
std::pair<double, int> RunSearch(F f, double fac0, double facmax, double t0 = 0.0) {
  int64_t state = 0;
  double fac = t0, w[7] = {};
  int calls = 0;
  do {
    XALNSR(state, fac, f(fac), 0.01, 0.0, fac0, facmax, w);
    ++calls;
  } while (state != 0 && calls < 100);
  return {fac, calls};
}

TEST(Xalnsr, FindsBracketsExtendsAndShrinks) {
  // A convex parabola with its vertex between 0 and FAC0.
  auto [vertex, calls] = RunSearch([](double t) { return (t - 0.6) * (t - 0.6) + 1.0; }, 1.0, 4.0);
  EXPECT_NEAR(vertex, 0.6, 0.01);
  EXPECT_LE(calls, 6);
  // A steadily falling objective: steps 1, 0.5, 1.5, 2.5, 4.5 -> FACMAX.
  std::vector<double> steps;
  int64_t state = 0;
  double fac = 0.0, w[7] = {};
  for (int i = 0; i < 20 && (i == 0 || state != 0); ++i) {
    XALNSR(state, fac, -fac, 0.01, 0.0, 1.0, 5.0, w);
    steps.push_back(fac);
  }
  EXPECT_EQ(steps, (std::vector<double>{1.0, 0.5, 1.5, 2.5, 4.5, 5.0, 5.0}));
  EXPECT_EQ(state, 0);
  // An objective rising from the start: halved towards ta = 0 until tiny.
  auto [small, n_rise] = RunSearch([](double t) { return t; }, 1.0, 4.0);
  EXPECT_LT(small, 1e-6);
  EXPECT_LT(n_rise, 40);
}

}  // namespace
}  // namespace thermomodels
