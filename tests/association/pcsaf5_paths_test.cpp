// The association term's failure and refusal flags, equivalent inputs and its
// size switch; the density-derivative solver and the direct-substitution route
// called alone.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "association/assoc_fixture.h"

namespace thermomodels {
namespace {

using testing::AssocCaller;
using testing::SiteProblem;
using testing::Species;
using testing::Sums;
using testing::UnitCapture;

TEST(Pcsaf5, DerivativeSolverFailureIsReported) {
  // Plain substitution restarted from the last fractions but from an absurd
  // density derivative cannot reach it within its 1000 passes.
  AssocCaller water({testing::WaterMethanolInert()[0]});
  water.iopt = 0;
  water.mode = 2;
  water.level = 1;
  UnitCapture cap(65, "pcsaf5_fail.txt");
  water.unit = cap.unit();
  const double t = testing::kWaterT, rho = testing::kWaterRho;
  ASSERT_EQ(water.Eval(t, rho, {1.0}, true, false, false, false).ierr, 0);
  water.start_xar = 1e200;
  EXPECT_EQ(water.Eval(t, rho, {1.0}, true, false, false, false).ierr, 1);
  EXPECT_TRUE(testing::Contains(cap.Text(), "GETXAR1: XAR FAILED. ITER = 1000"));
}

// A strength that is not finite cannot give site fractions: the solve
// must fail, not carry on with a substitute fraction.
TEST(Pcsaf5, NonFiniteStrengthFailsTheSolve) {
  for (bool volume : {true, false}) {
    SCOPED_TRACE(volume ? "volume NaN" : "energy NaN");
    AssocCaller c(testing::WaterMethanolInert());
    (volume ? c.Vol(1, 2) : c.Eps(1, 2)) = std::nan("");
    EXPECT_EQ(c.Eval(330.0, 20.0, {0.5, 0.3, 0.2}, true, false, false, true).ierr, 1);
  }
}

TEST(Pcsaf5, EquivalentInputsGiveEqualSums) {
  auto sums = [](AssocCaller& c, const std::vector<double>& x) {
    const Sums s = c.Eval(330.0, 20.0, x, true, true, true, true);
    EXPECT_EQ(s.ierr, 0);
    return s;
  };
  // An energy given as 1e35 means no energy, as 0 does.
  AssocCaller a(testing::WaterMethanolInert()), b(testing::WaterMethanolInert());
  a.Eps(1, 3) = a.Vol(1, 3) = a.asspar[2] = 0.0;
  b.Eps(1, 3) = b.asspar[2] = kNoValue;
  b.Vol(1, 3) = 0.01;
  const Sums sa = sums(a, {0.5, 0.3, 0.2}), sb = sums(b, {0.5, 0.3, 0.2});
  EXPECT_DOUBLE_EQ(sa.asum, sb.asum);
  EXPECT_DOUBLE_EQ(sa.asumx[2], sb.asumx[2]);
  // Two 2B components share one variable per species (merging); an absent
  // inert of another type switches merging off and must give equal sums.
  std::vector<Species> two(2, testing::WaterMethanolInert()[1]);
  two[1].eps = 2500.0;
  two[1].beta = 0.02;
  AssocCaller merged(two);
  const Sums sm = sums(merged, {0.6, 0.4});
  two.push_back({4, 0.03, 0.0, 0.0, 1, 3, 100});
  AssocCaller plain(two);
  const Sums sp = sums(plain, {0.6, 0.4, 0.0});
  for (auto [m, p] : {std::pair{sm.asum, sp.asum},
                      {sm.asumr, sp.asumr},
                      {sm.asumr2, sp.asumr2},
                      {sm.asumt, sp.asumt},
                      {sm.asumx[0], sp.asumx[0]},
                      {sm.asumx[1], sp.asumx[1]}})
    EXPECT_NEAR(m, p, 1e-9 * std::max(1.0, std::fabs(p)));
}

TEST(Pcsaf5, RefusedInputSetsTheFlagAndTouchesNothingOutside) {
  struct Case {
    const char* what;
    int64_t type, ldx;
    bool fill_registry;
  };
  const Case cases[] = {
      {"more sites than rows", 4, 2, false},
      {"code that cannot be registered", 1955, 4, false},
      {"twelfth user code", 122, 4, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetAssociationTypes();
    std::vector<int64_t> codes{111, 120, 101, 102, 103, 104, 110, 130, 112, 121, 1201};
    int64_t eleven = 11;
    if (c.fill_registry) REGTYP(eleven, codes.data(), 0);
    std::vector<Species> sp{testing::WaterMethanolInert()[0]};
    sp[0].type = c.type;
    AssocCaller caller(sp);
    caller.ldx = c.ldx;
    UnitCapture cap(66, "pcsaf5_refused.txt");
    caller.unit = cap.unit();
    const Sums s = caller.Eval(300.0, 50.0, {1.0}, true, true, true, true);
    EXPECT_EQ(s.ierr, 1);
    EXPECT_EQ(s.asum, 0.0);
    EXPECT_TRUE(
        testing::Contains(cap.Text(), "***ERROR IN PC-SAFT/CPA ASSOCIATION CALCULATIONS***"));
  }
  ResetAssociationTypes();
}

TEST(Pcsaf5, LargeSystemsSwitchToAcceleratedSubstitution) {
  // 251 four-site components: NV = 1004 > 1000.
  std::vector<testing::Species> sp(251, testing::WaterMethanolInert()[0]);
  for (size_t i = 0; i < sp.size(); ++i) sp[i].eps = 1500.0 + static_cast<double>(i);
  AssocCaller c(sp);
  c.level = 1;
  UnitCapture cap(69, "pcsaf5_large.txt");
  c.unit = cap.unit();
  const Sums s =
      c.Eval(400.0, 20.0, std::vector<double>(sp.size(), 1.0 / 251.0), false, false, false, false);
  EXPECT_EQ(s.ierr, 0);
  const std::string text = cap.Text();
  EXPECT_EQ(text.rfind("***ASSOCIATION PROBLEM TOO LARGE. NV = 1004\n***SWITCHING TO QNSS\n", 0),
            0u)
      << text.substr(0, 200);
}

TEST(Getxar1, StartModesAndPassLimit) {
  const double rho = 20.0;
  struct Case {
    const char* what;
    int64_t second_type, kstart, maxit, status;
    const char* line;
  };
  const Case cases[] = {
      {"no site bonds: zero at the second sweep", 6, 0, 100, 0, "GETXAR1: XAR CONVERGED. ITER = 2"},
      {"MAXIT 1 still makes two sweeps", 8, 0, 1, 1, "GETXAR1: XAR FAILED. ITER = 2"},
      {"start mode -1 touches nothing", 8, -1, 100, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SiteProblem p({6, c.second_type}, {0.5, 0.5});
    p.Delta(1, 2) = p.Delta(2, 1) = 0.3;
    p.Solve(rho, 2);
    ASSERT_EQ(p.ierr, 0);
    std::vector<double> deltar = p.delta, xar(p.ldx * p.n, 7.0);
    UnitCapture cap(67, "getxar1.txt");
    int64_t zero = 0, twenty = 20, ten = 10, level = 1, status = -1, kinit = 0;
    const double tol = 1e-12;
    GETXAR1(nullptr, rho, p.n, p.n, p.n, p.idx.data(), p.igrp.data(), p.idx.data(), p.idx.data(),
            p.x.data(), p.grpw.data(), p.x.data(), p.xa.data(), xar.data(), p.delta.data(),
            deltar.data(), p.wsolv.data(), p.xold.data(), zero, zero, c.kstart, tol, p.nv,
            p.isite.data(), p.idxv.data(), zero, c.maxit, p.res.data(), p.vold.data(), level,
            cap.unit(), p.itype.data(), twenty, ten, ASSOC_TYPES.NSITES, ASSOC_TYPES.SITES, p.ldx,
            p.nmerge, p.iv2.data(), p.jv2.data(), zero, zero, zero, zero, kinit, zero, status);
    const std::string text = cap.Text();
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(text.substr(0, std::string(c.line).size()), c.line) << text;
    if (c.kstart == -1 || c.second_type == 6) {
      // Start mode -1 writes nothing and leaves the array as handed in;
      // without bonds the derivative is 0.
      EXPECT_EQ(text.empty(), c.kstart == -1);
      EXPECT_EQ(xar, std::vector<double>(xar.size(), c.kstart == -1 ? 7.0 : 0.0));
    }
  }
}

TEST(DirectRoute, ClosedFormOnlyForASingleAssociatingSpecies) {
  const std::vector<double> x{0.7, 0.2, 0.1};
  const double t = 350.0, rho = 25.0, h = 1e-5;
  // Water alone associates: the closed form, exact to its derivatives.
  AssocCaller one(testing::WaterMethanolInert());
  one.istart = 20;
  one.ispec = 1;
  one.Eps(1, 2) = one.Eps(2, 1) = one.Vol(1, 2) = one.Vol(2, 1) = one.Eps(2, 2) = one.Vol(2, 2) = 0;
  one.asspar[1] = 0.0;
  const Sums s = one.Eval(t, rho, x, true, true, true, true);
  ASSERT_EQ(s.ierr, 0);
  // The route's single-species balance X (1 + rho x m Delta X) = 1.
  const double c = rho * x[0] * 1.0656 * one.delta[0];
  EXPECT_NEAR(one.xa[0] * (1.0 + c * one.xa[0]), 1.0, 1e-14);
  EXPECT_EQ(one.xa[4 + 1], 1.0);
  const Sums up = one.Eval(t, rho * (1 + h), x, true, false, false, false);
  const Sums dn = one.Eval(t, rho * (1 - h), x, true, false, false, false);
  EXPECT_NEAR(s.asumr, (up.asum - dn.asum) / (2 * h), 1e-8);
  EXPECT_NEAR(s.asumr2, (up.asumr - dn.asumr) / (2 * h), 1e-8);
  // Water and methanol both associate: the closed form for water alone
  // would ignore methanol, so the passes run as without ISPEC.
  AssocCaller both(testing::WaterMethanolInert()), iterated(testing::WaterMethanolInert());
  both.istart = iterated.istart = 20;
  both.ispec = 1;
  const Sums sb = both.Eval(t, rho, x, true, false, false, false);
  EXPECT_NEAR(sb.asum, iterated.Eval(t, rho, x, true, false, false, false).asum, 1e-12);
  EXPECT_NE(both.xa[1], 1.0);
}

TEST(DirectRoute, PassesAreBounded) {
  // A negative self-strength with rho x Delta = -1: X = 1/(1 - X) has no
  // fixed point, so the passes stop at their limit with status 1.
  int64_t n = 1, ispec = 0, status = 0;
  std::vector<int64_t> one{1}, igrp{0, 0};
  std::vector<double> x{1.0}, grpn{0.0}, segm{1.0}, xa(1), delta{-1.0}, xerr(1), xold(1),
      asspar{1.0};
  XAINI1(nullptr, 1.0, n, n, n, one.data(), igrp.data(), one.data(), one.data(), x.data(),
         grpn.data(), segm.data(), xa.data(), delta.data(), xerr.data(), xold.data(), ispec,
         asspar.data(), n, status);
  EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace thermomodels
