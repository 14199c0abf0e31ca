// The association term against the closed form of pure water, and every
// derivative it returns against central differences of the quantity it
// differentiates, on both routes and with both contact values.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "association/pcsaf5_harness.h"

namespace thermomodels {
namespace {

using testing::AssocCaller;
using testing::Species;
using testing::Sums;
using testing::UnitCapture;

TEST(Pcsaf5, PureWaterMatchesTheFourSiteClosedForm) {
  AssocCaller water({testing::WaterMethanolInert()[0]});
  const Sums s = water.Eval(testing::kWaterT, testing::kWaterRho, {1.0}, true, true, true, true);
  ASSERT_EQ(s.ierr, 0);
  EXPECT_NEAR(s.asum, -8.347825, 8.347825e-6);
  EXPECT_NEAR(s.asumr, -2.995691, 2.995691e-6);
  EXPECT_NEAR(s.asumr2, -2.070539, 2.070539e-6);
  EXPECT_NEAR(s.asumx[0], -11.343516, 11.343516e-6);
  EXPECT_EQ(PCSAF5_SAVED.NV, 4);
  EXPECT_EQ(PCSAF5_SAVED.METHOD, 2);
  EXPECT_EQ(PCSAF5_SAVED.KINIT, 1);
}

struct Variant {
  const char* what;
  int64_t irdf;      // 1 simplified CPA, 0 PC-SAFT
  int64_t istart;    // 0 solver route, 20 direct substitution
  bool geometric;    // geometric-mean cross strength for water-methanol
  int64_t iopt;      // solver option
};

// Relative difference scaled by the larger magnitude (at least 1e-3).
double Rel(double a, double b) {
  return std::fabs(a - b) / std::max({std::fabs(a), std::fabs(b), 1e-3});
}

TEST(Pcsaf5, DerivativesMatchCentralDifferences) {
  const std::vector<Variant> variants = {
      {"CPA solver", 1, 0, false, 99999999},
      {"CPA solver, geometric cross strength", 1, 0, true, 99999999},
      {"CPA accelerated substitution", 1, 0, false, 1},
      {"PC-SAFT solver", 0, 0, false, 99999999},
      {"CPA direct substitution", 1, 20, false, 99999999},
      {"PC-SAFT direct substitution", 0, 20, false, 99999999},
  };
  const std::vector<double> x{0.5, 0.3, 0.2};
  for (const Variant& v : variants) {
    for (double rho : {0.05, 25.0}) {
      const double t = 350.0;
      AssocCaller c(testing::WaterMethanolInert());
      c.irdf = v.irdf;
      c.istart = v.istart;
      c.iopt = v.iopt;
      if (v.geometric) c.Flag(1, 2) = 1.0;
      const Sums s = c.Eval(t, rho, x, true, true, true, true);
      ASSERT_EQ(s.ierr, 0) << v.what << " rho " << rho;
      const std::string at = std::string(v.what) + " rho " + std::to_string(rho);
      // The direct route ends its passes at a relative change of 1e-6; with
      // strong association its fractions carry errors of a few 1e-6.
      const double tol = v.istart == 20 && rho > 1.0 ? 2e-5 : 1e-6;
      const double euler_tol = v.istart == 20 && rho > 1.0 ? 1e-5 : 1e-8;
      const double h = 1e-4;
      auto asum = [&](double tt, double r, const std::vector<double>& xx) {
        return c.Eval(tt, r, xx, true, false, false, false);
      };
      const Sums up = asum(t, rho * (1 + h), x), dn = asum(t, rho * (1 - h), x);
      EXPECT_LT(Rel(s.asumr, (up.asum - dn.asum) / (2 * h)), tol) << at << " ASUMR";
      EXPECT_LT(Rel(s.asumr2, (up.asumr - dn.asumr) / (2 * h)), tol) << at << " ASUMR2";
      const Sums tu = asum(t * (1 + h), rho, x), td = asum(t * (1 - h), rho, x);
      EXPECT_LT(Rel(s.asumt, (tu.asum - td.asum) / (2 * h)), tol) << at << " ASUMT";
      double euler = 0.0;
      for (int64_t k = 0; k < 3; ++k) {
        // n_k -> n_k (1 +- h) at constant V: total n and density change too.
        auto total = [&](double sign) {
          std::vector<double> nn = x;
          nn[k] += sign * h * x[k];
          double ntot = 0;
          for (double v2 : nn) ntot += v2;
          for (double& v2 : nn) v2 /= ntot;
          return ntot * asum(t, rho * ntot, nn).asum;
        };
        const double fd = (total(1) - total(-1)) / (2 * h * x[k]);
        EXPECT_LT(Rel(s.asumx[k], fd), tol) << at << " ASUMX(" << k + 1 << ")";
        euler += x[k] * s.asumx[k];
      }
      EXPECT_NEAR(euler, s.asum + s.asumr, euler_tol * std::max(1.0, std::fabs(s.asum))) << at;
    }
  }
}

TEST(Pcsaf5, DerivativeSolverFailureIsReported) {
  // Plain substitution started from an absurd density derivative cannot
  // reach it within its 1000 passes.
  AssocCaller water({testing::WaterMethanolInert()[0]});
  water.iopt = 0;
  water.mode = 2;
  water.level = 1;
  UnitCapture cap(65, "pcsaf5_fail.txt");
  water.unit = cap.unit();
  std::vector<double> x{1.0};
  Sums first = water.Eval(testing::kWaterT, testing::kWaterRho, x, true, false, false, false);
  ASSERT_EQ(first.ierr, 0);
  // Same state, the previous fractions as start, a derivative start of 1e200.
  water.start_xar = 1e200;
  const Sums s = water.Eval(testing::kWaterT, testing::kWaterRho, x, true, false, false, false);
  EXPECT_EQ(s.ierr, 1);
  EXPECT_NE(cap.Text().find("GETXAR1: XAR FAILED. ITER = 1000"), std::string::npos);
}

TEST(Pcsaf5, EquivalentInputsGiveEqualSums) {
  const std::vector<double> x{0.6, 0.4};
  auto sums = [&](AssocCaller& c, const std::vector<double>& xx) {
    return c.Eval(330.0, 20.0, xx, true, true, true, true);
  };
  // An energy given as 1e35 means no energy, as 0 does.
  AssocCaller a(testing::WaterMethanolInert()), b(testing::WaterMethanolInert());
  a.Eps(1, 3) = a.Vol(1, 3) = 0.0;
  b.Eps(1, 3) = kNoValue;
  b.Vol(1, 3) = 0.01;
  a.asspar()[2] = 0.0;
  b.asspar()[2] = kNoValue;
  const Sums sa = sums(a, {0.5, 0.3, 0.2}), sb = sums(b, {0.5, 0.3, 0.2});
  ASSERT_EQ(sa.ierr, 0);
  ASSERT_EQ(sb.ierr, 0);
  EXPECT_DOUBLE_EQ(sa.asum, sb.asum);
  EXPECT_DOUBLE_EQ(sa.asumx[2], sb.asumx[2]);
  // Two 2B components share one variable per species (merging); adding an
  // absent inert of another type switches merging off with equal sums.
  std::vector<Species> two{testing::WaterMethanolInert()[1], testing::WaterMethanolInert()[1]};
  two[1].eps = 2500.0;
  two[1].beta = 0.02;
  AssocCaller merged(two);
  const Sums sm = sums(merged, x);
  EXPECT_EQ(PCSAF5_SAVED.LMERGE, kTrue);
  EXPECT_EQ(PCSAF5_SAVED.NV, 2);
  EXPECT_EQ(PCSAF5_SAVED.NMERGE, 2);
  two.push_back({4, 0.03, 0.0, 0.0, 1, 3, 100});
  AssocCaller plain(two);
  const Sums sp = sums(plain, {0.6, 0.4, 0.0});
  EXPECT_EQ(PCSAF5_SAVED.LMERGE, kFalse);
  EXPECT_EQ(PCSAF5_SAVED.NV, 4);
  for (auto [m, p] : {std::pair{sm.asum, sp.asum}, {sm.asumr, sp.asumr}, {sm.asumr2, sp.asumr2},
                      {sm.asumt, sp.asumt}, {sm.asumx[0], sp.asumx[0]}, {sm.asumx[1], sp.asumx[1]}})
    EXPECT_NEAR(m, p, 1e-9 * std::max(1.0, std::fabs(p)));
}

TEST(Pcsaf5, RefusedInputSetsTheFlagAndTouchesNothingOutside) {
  struct Case {
    const char* what;
    int64_t type;
    int64_t ldx;
    bool fill_registry;
  };
  const std::vector<Case> cases = {
      {"more sites than rows", 4, 2, false},
      {"code that cannot be registered", 1955, 4, false},
      {"twelfth user code", 122, 4, true},
  };
  for (const Case& c : cases) {
    ResetAssociationTypes();
    if (c.fill_registry) {
      std::vector<int64_t> codes{111, 120, 101, 102, 103, 104, 110, 130, 112, 121, 1201};
      int64_t n = static_cast<int64_t>(codes.size());
      REGTYP(n, codes.data(), 0);
    }
    std::vector<Species> sp{testing::WaterMethanolInert()[0]};
    sp[0].type = c.type;
    AssocCaller caller(sp);
    caller.ldx = c.ldx;
    UnitCapture cap(66, "pcsaf5_refused.txt");
    caller.unit = cap.unit();
    const Sums s = caller.Eval(300.0, 50.0, {1.0}, true, true, true, true);
    EXPECT_EQ(s.ierr, 1) << c.what;
    EXPECT_EQ(s.asum, 0.0) << c.what;
    EXPECT_NE(cap.Text().find("***ERROR IN PC-SAFT/CPA ASSOCIATION CALCULATIONS***"),
              std::string::npos)
        << c.what;
  }
  ResetAssociationTypes();
}

}  // namespace
}  // namespace thermomodels
