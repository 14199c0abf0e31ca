// The derivative solvers called directly, the direct-substitution route with
// its closed form, and the size switch of the association term.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "association/pcsaf5_harness.h"

namespace thermomodels {
namespace {

using testing::AssocCaller;
using testing::SiteProblem;
using testing::Sums;
using testing::UnitCapture;

// GETXAR1 on a solved problem with the given strength derivative.
int64_t DensityDerivative(SiteProblem& p, double rho, std::vector<double>& deltar,
                          std::vector<double>& xar, int64_t kstart, int64_t maxit, int64_t level,
                          int32_t unit) {
  int64_t zero = 0, twenty = 20, ten = 10, method = 0, status = -1, nxzero = 0, kinit = 0;
  double tol = 1e-12;
  GETXAR1(nullptr, rho, p.n, p.n, p.n, p.idx.data(), p.igrp.data(), p.idx.data(), p.iapos.data(),
          p.x.data(), p.grpw.data(), p.x.data(), p.xa.data(), xar.data(), p.delta.data(),
          deltar.data(), p.wsolv.data(), p.xold.data(), zero, zero, kstart, tol, p.nv,
          p.isite.data(), p.idxv.data(), method, maxit, p.res.data(), p.vold.data(), level, unit,
          p.itype.data(), twenty, ten, ASSOC_TYPES.NSITES, ASSOC_TYPES.SITES, p.ldx, p.nmerge,
          p.iv2.data(), p.jv2.data(), zero, zero, zero, zero, kinit, nxzero, status);
  return status;
}

TEST(Getxar1, SweepCountsStartsAndResults) {
  const double rho = 20.0;
  struct Case {
    const char* what;
    std::vector<int64_t> types;  // two components
    double cross;                // strength between them (self strengths 0)
    int64_t kstart, maxit;
    const char* expect_line;
  };
  const std::vector<Case> cases = {
      {"no site bonds", {6, 6}, 0.3, 0, 100, "GETXAR1: XAR CONVERGED. ITER = 2"},
      {"two sweeps at MAXIT 1", {6, 8}, 0.3, 0, 1, "GETXAR1: XAR FAILED. ITER = 2"},
      {"returns at once", {6, 8}, 0.3, -1, 100, ""},
  };
  for (const Case& c : cases) {
    SiteProblem p(c.types, {0.5, 0.5});
    p.Delta(1, 2) = p.Delta(2, 1) = c.cross;
    p.Solve(rho, 2);
    ASSERT_EQ(p.ierr, 0) << c.what;
    std::vector<double> deltar = p.delta, xar(p.ldx * p.n, 7.0);
    UnitCapture cap(67, "getxar1.txt");
    const int64_t status = DensityDerivative(p, rho, deltar, xar, c.kstart, c.maxit, 1, cap.unit());
    const std::string text = cap.Text();
    if (c.kstart == -1) {
      EXPECT_EQ(status, 0) << c.what;
      EXPECT_EQ(text, "") << c.what;
      for (double v : xar) EXPECT_EQ(v, 7.0) << c.what;
      continue;
    }
    EXPECT_EQ(text.rfind(c.expect_line, 0), 0u) << c.what << ": " << text;
    EXPECT_EQ(status, std::string(c.expect_line).find("FAILED") != std::string::npos ? 1 : 0)
        << c.what;
    if (c.types[1] == 6) {
      for (double v : xar) EXPECT_EQ(v, 0.0) << c.what;
    }
  }
}

TEST(Getxar1, ExactStartIsReproduced) {
  // One -1 and one +1 site: X = 1/(1 + rho x Delta X) for both, and
  // rho dX/drho = -X(1 - X)/(2 - X) with the strength fixed.
  const double rho = 20.0, d = 0.4;
  SiteProblem p({6, 8}, {0.5, 0.5});
  p.Delta(1, 2) = p.Delta(2, 1) = d;
  p.Solve(rho, 2);
  const double xs = p.Xa(1, 1), exact = -xs * (1.0 - xs) / (2.0 - xs);
  std::vector<double> deltar(4, 0.0), xar(p.ldx * p.n, 0.0);
  xar[0] = xar[p.ldx] = exact;
  UnitCapture cap(68, "getxar1_exact.txt");
  EXPECT_EQ(DensityDerivative(p, rho, deltar, xar, 2, 100, 1, cap.unit()), 0);
  EXPECT_EQ(cap.Text().rfind("GETXAR1: XAR CONVERGED. ITER = 2", 0), 0u);
  EXPECT_NEAR(xar[0], exact, 1e-14);
}

TEST(DirectRoute, ClosedFormOnlyForASingleAssociatingSpecies) {
  const std::vector<double> x{0.7, 0.2, 0.1};
  const double t = 350.0, rho = 25.0, h = 1e-5;
  // Water alone associates: the closed form, exact to its derivatives.
  AssocCaller one(testing::WaterMethanolInert());
  one.istart = 20;
  one.ispec = 1;
  one.Eps(1, 2) = one.Eps(2, 1) = one.Vol(1, 2) = one.Vol(2, 1) = one.Eps(2, 2) = one.Vol(2, 2) = 0;
  one.asspar()[1] = 0.0;
  const Sums s = one.Eval(t, rho, x, true, true, true, true);
  ASSERT_EQ(s.ierr, 0);
  const double a = 2.0 * rho * x[0] * 1.0656 * one.last_delta[0];
  EXPECT_NEAR(one.xa[0], (std::sqrt(1.0 + 2.0 * a) - 1.0) / a, 1e-15);
  EXPECT_EQ(one.xa[4 + 1], 1.0);
  const Sums up = one.Eval(t, rho * (1 + h), x, true, false, false, false);
  const Sums dn = one.Eval(t, rho * (1 - h), x, true, false, false, false);
  EXPECT_NEAR(s.asumr, (up.asum - dn.asum) / (2 * h), 1e-8);
  EXPECT_NEAR(s.asumr2, (up.asumr - dn.asumr) / (2 * h), 1e-8);
  // Water and methanol both associate: the closed form of the smaller
  // species number alone would ignore methanol; iterated instead.
  AssocCaller both(testing::WaterMethanolInert()), iterated(testing::WaterMethanolInert());
  both.istart = iterated.istart = 20;
  both.ispec = 1;
  const Sums sb = both.Eval(t, rho, x, true, false, false, false);
  const Sums si = iterated.Eval(t, rho, x, true, false, false, false);
  EXPECT_NEAR(sb.asum, si.asum, 1e-12);
  EXPECT_NE(both.xa[0 * 4 + 1], 1.0);
}

TEST(DirectRoute, PassesAreBounded) {
  // A negative self-strength with rho x Delta = -1: X = 1/(1 - X) has no
  // fixed point, so the passes stop at their limit with status 1.
  int64_t n = 1, ncc = 1, na = 1, ispec = 0, status = 0, ldxs = 1;
  std::vector<int64_t> idx{1}, igrp{0, 0}, ia{1}, iapos{1};
  std::vector<double> x{1.0}, grpn{0.0}, segm{1.0}, xa(1), delta{-1.0}, xerr(1), xold(1),
      asspar{1.0};
  const double rho = 1.0;
  XAINI1(nullptr, rho, n, ncc, na, idx.data(), igrp.data(), ia.data(), iapos.data(), x.data(),
         grpn.data(), segm.data(), xa.data(), delta.data(), xerr.data(), xold.data(), ispec,
         asspar.data(), ldxs, status);
  EXPECT_EQ(status, 1);
}

TEST(Pcsaf5, LargeSystemsSwitchToAcceleratedSubstitution) {
  // 251 four-site components: NV = 1004 > 1000.
  std::vector<testing::Species> sp(251, testing::WaterMethanolInert()[0]);
  for (size_t i = 0; i < sp.size(); ++i) sp[i].eps = 1500.0 + static_cast<double>(i);
  AssocCaller c(sp);
  c.level = 1;
  UnitCapture cap(69, "pcsaf5_large.txt");
  c.unit = cap.unit();
  const std::vector<double> x(sp.size(), 1.0 / static_cast<double>(sp.size()));
  const Sums s = c.Eval(400.0, 20.0, x, false, false, false, false);
  EXPECT_EQ(s.ierr, 0);
  EXPECT_EQ(PCSAF5_SAVED.NV, 1004);
  EXPECT_EQ(PCSAF5_SAVED.METHOD, 1);
  EXPECT_EQ(PCSAF5_SAVED.MAXIT, 1000);
  const std::string text = cap.Text();
  EXPECT_EQ(text.rfind("***ASSOCIATION PROBLEM TOO LARGE. NV = 1004\n***SWITCHING TO QNSS\n", 0),
            0u)
      << text.substr(0, 200);
}

}  // namespace
}  // namespace thermomodels
