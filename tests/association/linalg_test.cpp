// The step-control, quasi-Newton, factorisation and line-search routines on
// small problems whose answers are known exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "association/association.h"

namespace thermomodels {
namespace {

using Vec = std::vector<double>;

TEST(Xastep, LaterStepsFollowTheSpectralFactorWithinTheLimits) {
  struct Case {
    const char* what;
    Vec g, gold;
    double fac, expect_lambda;
  };
  const Case cases[] = {
      // No curvature information: plain step.
      {"unchanged direction", {1.0, 2.0}, {1.0, 2.0}, 0.7, 1.0},
      // lambda = -fac |gold|^2 / (gold.(g - gold)) = 2 fac.
      {"halved direction", {0.5, 1.0}, {1.0, 2.0}, 1.0, 2.0},
      // A huge factor is cut so that the largest change is DXMAX.
      {"step limit", {0.999, 1.998}, {1.0, 2.0}, 1.0, 5.0 / 1.998},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int64_t iter = 1, n = 2;
    double mode = 2, facmin = 1e-4, facmax = 10, dxmax = 5, fac = c.fac;
    Vec x{0.0, 0.0}, gold = c.gold;
    XASTEP(iter, n, mode, facmin, facmax, dxmax, fac, x.data(), c.g.data(), gold.data());
    EXPECT_NEAR(fac, c.expect_lambda, 1e-12);
    EXPECT_NEAR(x[1], c.expect_lambda * c.g[1], 1e-12);
  }
}

TEST(Xalsol, UnusableResidualLeavesTheInverseFinite) {
  int64_t n = 2, kbr = -1;
  Vec x{0.1, 0.2}, f{3.0, -4.0}, s(2, 9.0), xold(2), fold(2), h(4, 7.0);
  XALSOL(n, x.data(), f.data(), s.data(), xold.data(), fold.data(), h.data(), kbr);
  EXPECT_EQ(h, Vec({-1, 0, 0, -1}));
  EXPECT_EQ(s, Vec({3.0, -4.0}));
  EXPECT_EQ(kbr, 4);
  EXPECT_EQ(xold, x);
  EXPECT_EQ(fold, Vec({3.0, -4.0}));
  // After an update H y = s for the step s = -H f_prev taken and the change
  // y of the residual; the next step is -H f.
  h = {-1.0, 0.2, 0.1, -0.5};
  kbr = 3;
  const Vec s_taken{0.95, 0.05}, f_prev{1.0, 0.5}, f_new{-0.4, 0.9};
  x = xold = {0.0, 0.0}, f = f_new, s = s_taken, fold = f_prev;
  XALSOL(n, x.data(), f.data(), s.data(), xold.data(), fold.data(), h.data(), kbr);
  const double y0 = f_new[0] - f_prev[0], y1 = f_new[1] - f_prev[1];
  EXPECT_NEAR(h[0] * y0 + h[2] * y1, s_taken[0], 1e-12);
  EXPECT_NEAR(h[1] * y0 + h[3] * y1, s_taken[1], 1e-12);
  EXPECT_NEAR(s[0], -(h[0] * f_new[0] + h[2] * f_new[1]), 1e-12);
  // A residual component above 5e34 takes no part and is zeroed once saved.
  h = {-1, 0, 0, -1}, x = xold = {0, 0}, f = {1e35, 0.5}, s = {0.2, 0.1}, fold = {0.3, 0.2};
  kbr = 3;
  XALSOL(n, x.data(), f.data(), s.data(), xold.data(), fold.data(), h.data(), kbr);
  EXPECT_EQ(f[0], 0.0);
  EXPECT_EQ(fold[0], 1e35);
  EXPECT_NEAR(s[0], -h[2] * 0.5, 1e-15);
  EXPECT_TRUE(std::isfinite(h[0]) && std::isfinite(h[3]));
}

TEST(Xafact, InvertsOrReportsSingularity) {
  struct Case {
    const char* what;
    Vec a;
    bool singular;
  };
  const Case cases[] = {
      {"identity", {1, 0, 0, 0, 1, 0, 0, 0, 1}, false},
      {"general", {4, -2, 1, 3, 6, -4, 2, 1, 8}, false},
      {"two equal rows", {1, 1, 2, 2, 2, 5, 3, 3, 7}, true},
      {"zero", {0, 0, 0, 0, 0, 0, 0, 0, 0}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int64_t n = 3, ld = 3, n2 = 6, ier = -7;
    Vec ainv(9, 5.0), w(18), w2(18), piv(3);
    std::vector<int64_t> irow(3), icol(3);
    XAFACT(c.a.data(), n, ainv.data(), ier, irow.data(), icol.data(), w.data(), piv.data(),
           w2.data(), ld, n2, 1e-50);
    EXPECT_EQ(ier != 0, c.singular);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        double sum = 0;
        for (int k = 0; k < 3; ++k) sum += c.a[k * 3 + i] * ainv[j * 3 + k];
        // A singular matrix leaves AINV zero, so A AINV = 0.
        EXPECT_NEAR(sum, i == j && !c.singular ? 1.0 : 0.0, 1e-14) << i << "," << j;
        EXPECT_TRUE(!c.singular || ainv[j * 3 + i] == 0.0) << i << "," << j;
      }
  }
}

TEST(Xaelim, SolvesWhateverTheRowOrderOrReportsTheFailingColumn) {
  // Column-major matrices; A x = b with x = (1, -2, 3) where regular.
  struct Case {
    Vec a;
    int64_t ier;
  };
  const Case cases[] = {
      {{2, 1, 4, 1, 3, 2, 1, 5, 3}, 0},      {{0.001, 5, 1, 2, 1, 7, 3, 2, 1}, 0},
      {{1, 0, 0, 0, 1e-3, 0, 0, 0, 1e3}, 0}, {{0, 0, 0, 1, 2, 3, 4, 5, 7}, 1},  // zero first column
      {{1, 0, 0, 0, 1, 0, 0, 0, 0}, 3},  // singular in the last column
  };
  const Vec xs{1, -2, 3};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ier);
    Vec a = c.a, b(3, 0.0), x(3);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) b[i] += c.a[j * 3 + i] * xs[j];
    std::vector<int64_t> ipvt(3);
    int64_t ld = 3, n = 3, ier = -1;
    XAELIM(ld, n, a.data(), ipvt.data(), ier, 1e-50);
    ASSERT_EQ(ier, c.ier);
    if (ier != 0) continue;
    XABSUB(ld, n, b.data(), ipvt.data(), a.data(), x.data());
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(x[i], xs[i], 1e-12);
  }
}

TEST(Xalnsr, FindsBracketsExtendsAndShrinks) {
  // Runs a search on f to its end; the steps it tried, the last one final.
  auto search = [](auto f, double facmax) {
    int64_t state = 0;
    double fac = 0.0, w[7] = {};
    Vec steps;
    do {
      XALNSR(state, fac, f(fac), 0.01, 0.0, 1.0, facmax, w);
      steps.push_back(fac);
    } while (state != 0 && steps.size() < 100);
    return steps;
  };
  // A convex parabola with its vertex between 0 and FAC0.
  const Vec parabola = search([](double t) { return (t - 0.6) * (t - 0.6) + 1.0; }, 4.0);
  EXPECT_NEAR(parabola.back(), 0.6, 0.01);
  EXPECT_LE(parabola.size(), 6u);
  // A steadily falling objective: steps grow up to FACMAX, where it ends.
  EXPECT_EQ(search([](double t) { return -t; }, 5.0), Vec({1.0, 0.5, 1.5, 2.5, 4.5, 5.0, 5.0}));
  // An objective rising from the start: halved towards 0 until tiny.
  const Vec rising = search([](double t) { return t; }, 4.0);
  EXPECT_LT(rising.back(), 1e-6);
  EXPECT_LT(rising.size(), 40u);
}

}  // namespace
}  // namespace thermomodels
