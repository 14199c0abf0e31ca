// The site-fraction solver against closed forms; the step-control, quasi-Newton, factorisation and
// line-search routines on problems whose answers are known.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "association/assoc_fixture.h"

namespace thermomodels {
namespace {

using testing::SiteProblem;
using Vec = std::vector<double>;

// Pure fluids by every method (a very strong one-site fluid: too large a Newton step, quasi-Newton
// steps follow); only Newton leaves the inverse (KINIT 1). A component of a water group of weight 2
// has the group's sites and twice the strength. KINIT -1 leaves no inverse; with start -1 XA's logs
// become fractions.
TEST(Getxa1, PureFluidsMatchTheirClosedForms) {
  const double rho = testing::kWaterRho, d = testing::WaterDelta();
  auto four = [](double rd) { return (-1 + std::sqrt(1 + 8 * rd)) / (4 * rd); };
  auto two = [](double rd) { return (-1 + std::sqrt(1 + 4 * rd)) / (2 * rd); };
  struct Case {
    int64_t type, method;
    double rho, delta, group_weight;
    int64_t kstart, kinit, kinit_out;
    double expect;
  };
  const Case cases[] = {
      {4, 0, rho, d, 0, 0, 0, 0, four(rho * d)},
      {4, 1, rho, d, 0, 0, 0, 0, four(rho * d)},
      {2, 2, rho, d, 0, 0, 0, 1, two(rho * d)},
      {1, 2, 1.0, 1e9, 0, 0, 0, 0, two(1e9)},
      {4, 2, rho, d, 2, 0, 0, 1, four(2 * rho * d)},
      {4, 2, rho, d, 2, 0, -1, 0, four(2 * rho * d)},
      {4, 2, rho, d, 2, -1, -1, 0, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
    const bool group = c.group_weight != 0.0;
    SiteProblem p(group ? std::vector<int64_t>{0, c.type} : std::vector<int64_t>{c.type}, {1.0});
    if (group) {
      p.igrp = {1, 0, 2, 0};
      p.grpw[2] = c.group_weight;
      p.Build();
    }
    p.Delta(p.ldg, p.ldg) = c.delta;
    p.kinit = c.kinit;
    p.Solve(c.rho, c.method, 1000, c.kstart);
    ASSERT_EQ(p.ierr, 0);
    EXPECT_EQ(p.kinit, c.kinit_out);
    ASSERT_EQ(p.nv, AssocSiteCount(ASSOC_TYPES.NSITES, c.type));
    for (int64_t s = 0; s < p.nv; ++s) EXPECT_NEAR(p.xa[s] / c.expect, 1.0, 1e-10) << "site " << s;
  }
}

// Each built-in type, pure: of its n- sites of kind -1, n+ of kind +1 and nb of both kinds, X- =
// 1/(1 + n+ q X+), X+ = 1/(1 + n- q X-) and Xb = 1/(1 + nb q Xb), q = rho delta.
TEST(Getxa1, EveryBuiltInTypeMatchesItsSiteBalances) {
  const double q = 0.8;
  const int64_t kinds[9][3] = {{0, 0, 1}, {1, 1, 0}, {2, 1, 0}, {2, 2, 0}, {1, 3, 0},
                               {1, 0, 0}, {2, 0, 0}, {0, 1, 0}, {0, 2, 0}};
  for (int64_t type = 1; type <= 9; ++type) {
    const auto [nm, np, nb] = kinds[type - 1];
    const double a = 1.0 + static_cast<double>(nm - np) * q;
    const double xp = np == 0 ? 1.0 : (-a + std::sqrt(a * a + 4.0 * np * q)) / (2.0 * np * q);
    Vec expect(static_cast<size_t>(nm), 1.0 / (1.0 + np * q * xp));
    expect.insert(expect.end(), static_cast<size_t>(np), xp);
    expect.insert(expect.end(), static_cast<size_t>(nb), (-1 + std::sqrt(1 + 4 * q)) / (2 * q));
    SiteProblem p({type}, {1.0});
    p.Delta(1, 1) = q / 20.0;
    p.Solve(20.0, 2, 1000);
    ASSERT_EQ(p.ierr, 0) << "type " << type;
    Vec got(p.xa.begin(), p.xa.begin() + p.nv);
    std::sort(got.begin(), got.end());
    std::sort(expect.begin(), expect.end());
    ASSERT_EQ(got.size(), expect.size()) << "type " << type;
    for (size_t s = 0; s < got.size(); ++s) EXPECT_NEAR(got[s], expect[s], 1e-12) << "type " << type;
  }
}

TEST(Xastep, StepsFollowTheSpectralFactorWithinTheLimits) {
  struct Case {
    const char* what;
    Vec g, gold;
    double fac, expect_lambda, mode = 2;
    int64_t iter = 1;  // 0: the first step, which settles unset limits
    double dxmax = 5;
  };
  const Case cases[] = {
      {"unchanged direction: no curvature, plain step", {1.0, 2.0}, {1.0, 2.0}, 0.7, 1.0},
      {"halved direction: -fac |gold|^2 / gold.(g - gold)", {0.5, 1.0}, {1.0, 2.0}, 1.0, 2.0},
      // A doubled direction gives -fac: mode 2 takes its magnitude, -2 its sign.
      {"doubled direction", {2.0, 4.0}, {1.0, 2.0}, 1.0, 1.0},
      {"doubled direction, mode -2", {2.0, 4.0}, {1.0, 2.0}, 1.0, -1.0, -2},
      {"step limit DXMAX", {0.999, 1.998}, {1.0, 2.0}, 1.0, 5.0 / 1.998},
      // Mode 1: lambda = -fac gold.(g - gold) / |g - gold|^2.
      {"mode 1", {0.5, 1.5}, {1.0, 2.0}, 1.0, 3.0, 1},
      // The first step takes FAC; a limit of 0.01 is kept, one below is unset (5).
      {"first step", {1.0, 2.0}, {0.0, 0.0}, 0.7, 0.7, 2, 0, 0.0},
      {"first step, limit 0.01", {1.0, 2.0}, {0.0, 0.0}, 0.7, 0.005, 2, 0, 0.01},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int64_t iter = c.iter, n = 2;
    double mode = c.mode, facmin = 1e-4, facmax = 10, dxmax = c.dxmax, fac = c.fac;
    Vec x{0.0, 0.0}, gold = c.gold;
    XASTEP(iter, n, mode, facmin, facmax, dxmax, fac, x.data(), c.g.data(), gold.data());
    EXPECT_NEAR(fac, c.expect_lambda, 1e-12);
    EXPECT_NEAR(x[1], c.expect_lambda * c.g[1], 1e-12);
  }
}

TEST(Xalsol, RestartSecantUpdateAndUnusableResidual) {
  int64_t n = 2, kbr = -1;
  Vec x{0.1, 0.2}, f{3.0, -4.0}, s(2, 9.0), xold(2), fold(2), h(4, 7.0);
  XALSOL(n, x.data(), f.data(), s.data(), xold.data(), fold.data(), h.data(), kbr);
  EXPECT_EQ(h, Vec({-1, 0, 0, -1}));
  EXPECT_EQ(s, Vec({3.0, -4.0}));
  EXPECT_EQ(kbr, 4);
  EXPECT_EQ((std::vector{xold, fold}), (std::vector{x, Vec{3.0, -4.0}}));  // saved
  // After an update H y = s (step s taken, residual change y); next step -H f.
  h = {-1.0, 0.2, 0.1, -0.5};
  kbr = 3;
  const Vec s_taken{0.95, 0.05}, f_prev{1.0, 0.5}, f_new{-0.4, 0.9};
  x = xold = {0.0, 0.0}, f = f_new, s = s_taken, fold = f_prev;
  XALSOL(n, x.data(), f.data(), s.data(), xold.data(), fold.data(), h.data(), kbr);
  const double y0 = f_new[0] - f_prev[0], y1 = f_new[1] - f_prev[1];
  EXPECT_NEAR(h[0] * y0 + h[2] * y1, s_taken[0], 1e-12);
  EXPECT_NEAR(h[1] * y0 + h[3] * y1, s_taken[1], 1e-12);
  EXPECT_NEAR(s[0], -(h[0] * f_new[0] + h[2] * f_new[1]), 1e-12);
  // A residual component above 5e34 is left out of the update and is zeroed once saved.
  h = {-1, 0, 0, -1}, x = xold = {0, 0}, f = {1e35, -0.5}, s = {0.2, 0.1}, fold = {0.3, 0.2};
  kbr = 3;
  XALSOL(n, x.data(), f.data(), s.data(), xold.data(), fold.data(), h.data(), kbr);
  EXPECT_EQ(f[0], 0.0);
  EXPECT_EQ(fold[0], 1e35);
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(h[k], k == 0 ? -1.0 : 0.0, 1e-12) << k;
}

TEST(Xaelim, SolvesOrReportsTheFailingColumnAndXafactInverts) {
  const struct {
    Vec a;
    int64_t elim_ier;
  } cases[] = {
      {{4, -2, 1, 3, 6, -4, 2, 1, 8}, 0},   {{2, 1, 4, 1, 3, 2, 1, 5, 3}, 0},
      {{0.001, 5, 1, 2, 1, 7, 3, 2, 1}, 0}, {{1, 0, 0, 0, 1e-3, 0, 0, 0, 1e3}, 0},
      {{0, 0, 0, 1, 2, 3, 4, 5, 7}, 1},  // zero first column
      {{1, 0, 0, 0, 1, 0, 0, 0, 0}, 3},  // singular in the last column
  };
  const Vec xs{1, -2, 3};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "A(1, 1) " << c.a[0] << " IER " << c.elim_ier);
    Vec a = c.a, b(3, 0.0), x(3), ainv(9, 5.0), w(18), w2(18), piv(3);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) b[i] += c.a[j * 3 + i] * xs[j];
    std::vector<int64_t> ipvt(3), irow(3), icol(3);
    int64_t ld = 3, n = 3, n2 = 6, ier = -1, fact_ier = -7;
    XAELIM(ld, n, a.data(), ipvt.data(), ier, 1e-50);
    EXPECT_EQ(ier, c.elim_ier);
    if (ier == 0) XABSUB(ld, n, b.data(), ipvt.data(), a.data(), x.data());
    for (int i = 0; i < 3 && ier == 0; ++i) EXPECT_NEAR(x[i], xs[i], 1e-12);
    XAFACT(c.a.data(), n, ainv.data(), fact_ier, irow.data(), icol.data(), w.data(), piv.data(),
           w2.data(), ld, n2, 1e-50);
    EXPECT_EQ(fact_ier != 0, c.elim_ier != 0);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        double sum = 0;
        for (int k = 0; k < 3; ++k) sum += c.a[k * 3 + i] * ainv[j * 3 + k];
        EXPECT_NEAR(sum, i == j && c.elim_ier == 0 ? 1.0 : 0.0, 1e-14) << i << "," << j;
        EXPECT_TRUE(c.elim_ier == 0 || ainv[j * 3 + i] == 0.0) << i << "," << j;
      }
  }
}

TEST(Xalnsr, ExtensionAndRefinementKeepTheBestPointBracketed) {
  // A refinement step (KSRCH 4) puts (t, f) into the bracket ta < tb < tc of (0, 1, 2) with values
  // (1, 0, 1); W holds ta, tb, tc, fa, fb, fc. An extension step (KSRCH 3) still lower at tc moves
  // the bracket on.
  const struct {
    const char* what;
    double t, f;
    Vec w;
    int64_t state = 4;
  } cases[] = {
      {"extension, lower at tc: ta, tb move up", 2.0, -1.0, {1, 2, 2, 0, -1, -1}, 3},
      {"at tb, another value: tb moves up", 1.0, 0.2, {1, 1, 2, 0, 0.2, 1}},
      {"right of tb, lower", 1.5, -0.5, {1, 1.5, 2, 0, -0.5, 1}},
      {"right of tb, higher: new tc", 1.5, 0.5, {0, 1, 1.5, 1, 0, 0.5}},
      {"left of tb, lower", 0.5, -0.5, {0, 0.5, 1, 1, -0.5, 0}},
      {"left of tb, higher: new ta", 0.5, 0.5, {0.5, 1, 2, 0.5, 0, 1}},
  };
  for (const auto& c : cases) {
    double w[7] = {0, 1, 2, 1, 0, 1, 0.5}, fac = c.t;
    int64_t state = c.state;
    XALNSR(state, fac, c.f, 1e-9, 0.0, 1.0, 4.0, w);
    EXPECT_EQ(Vec(w, w + 6), c.w) << c.what;
  }
}

}  // namespace
}  // namespace thermomodels
