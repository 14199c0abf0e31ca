// The site-fraction solver against closed forms of pure fluids, the site
// balance of mixtures, its pass limit and restart, and the registry of
// user-defined types.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "association/assoc_fixture.h"

namespace thermomodels {
namespace {

using testing::Contains;
using testing::SiteProblem;
using testing::UnitCapture;
using testing::WaterDelta;

// Every site balance X_A (1 + S_A) = 1; rows beyond a type's sites stay 1.
void ExpectBalances(const SiteProblem& p, double rho) {
  for (int64_t i = 1; i <= p.n; ++i)
    for (int64_t s = 1; s <= p.ldx; ++s) {
      if (s > AssocSiteCount(ASSOC_TYPES.NSITES, p.itype[i - 1]))
        EXPECT_EQ(p.Xa(s, i), 1.0) << "empty row " << s << " of " << i;
      else
        EXPECT_NEAR(p.Xa(s, i) * (1.0 + p.SiteSum(rho, p.xa, s, i)), 1.0, 1e-10)
            << "site " << s << " of " << i;
    }
}

TEST(Getxa1, EveryMethodMatchesTheClosedFormsOfPureFluids) {
  const double rho = testing::kWaterRho, delta = WaterDelta(), rd = rho * delta;
  const double four_sites = (-1.0 + std::sqrt(1.0 + 8.0 * rd)) / (4.0 * rd);
  const double one_pair = (-1.0 + std::sqrt(1.0 + 4.0 * rd)) / (2.0 * rd);
  EXPECT_NEAR(four_sites, 0.0782512, 5e-8);
  const std::pair<int64_t, double> cases[] = {{4, four_sites}, {2, one_pair}, {1, one_pair}};
  for (int64_t method : {0, 1, 2})
    for (auto [type, expect] : cases) {
      SCOPED_TRACE("type " + std::to_string(type) + " method " + std::to_string(method));
      SiteProblem p({type}, {1.0});
      p.Delta(1, 1) = delta;
      p.Solve(rho, method, 1000);
      ASSERT_EQ(p.ierr, 0);
      for (int64_t s = 1; s <= p.nv; ++s) EXPECT_NEAR(p.Xa(s, 1), expect, 1e-10) << "site " << s;
    }
}

// Water (4C), methanol (2B, CR-1 cross strength) and a solvating inert with
// one electron-donor site that bonds only with water's hydrogens.
SiteProblem WaterMethanolInert(double rho) {
  SiteProblem p({4, 2, 6}, {0.5, 0.3, 0.2});
  const double dw = WaterDelta();
  const double dm = testing::CpaStrength(0.0491, 2957.0, 0.0161, testing::kWaterT, rho, 0.03);
  p.Delta(1, 1) = dw;
  p.Delta(2, 2) = dm;
  p.Delta(1, 2) = p.Delta(2, 1) = std::sqrt(dw * dm);
  p.Delta(1, 3) = p.Delta(3, 1) = 0.05;
  return p;
}

TEST(Getxa1, MixtureBalancesHold) {
  const double rho = 30.0;
  for (int64_t method : {0, 2}) {
    SCOPED_TRACE("method " + std::to_string(method));
    SiteProblem p = WaterMethanolInert(rho);
    p.Solve(rho, method, 1000);
    ASSERT_EQ(p.ierr, 0);
    ExpectBalances(p, rho);
  }
}

TEST(Getxa1, LargeSystemConvergesWithoutANewtonStep) {
  // Thirty four-site components, NV = 120: the size rule skips the Newton phase.
  const int64_t n = 30;
  SiteProblem p(std::vector<int64_t>(n, 4), std::vector<double>(n, 1.0 / n));
  for (int64_t i = 1; i <= n; ++i)
    for (int64_t j = 1; j <= n; ++j) p.Delta(i, j) = 0.2 + 0.01 * ((i * 7 + j * 7) % 13);
  ASSERT_EQ(p.nv, 120);
  UnitCapture cap(61, "getxa1_large.txt");
  p.SolveTraced(25.0, 2, 100, 3, cap.unit());
  EXPECT_EQ(p.ierr, 0);
  EXPECT_FALSE(Contains(cap.Text(), "STEP SIZES"));
  EXPECT_EQ(p.kinit, 0);
  ExpectBalances(p, 25.0);
}

TEST(Getxa1, RestartAndPassLimit) {
  // Start mode 2 takes the last solution, converges at the second pass and
  // keeps methanol's rows that are no site at 1.
  const double rho = 30.0;
  SiteProblem p = WaterMethanolInert(rho);
  p.Solve(rho, 2);
  ASSERT_EQ(p.ierr, 0);
  UnitCapture cap(70, "getxa1_restart.txt");
  p.SolveTraced(rho, 2, 100, 1, cap.unit(), 2, 1e-9);
  EXPECT_EQ(p.ierr, 0);
  EXPECT_TRUE(Contains(cap.Text(), "GETXA1: XA CONVERGED. ITER = 2"));
  ExpectBalances(p, rho);
  // MAXIT 1 still makes two passes; plain substitution cannot converge in
  // them and fails with no inverse Jacobian left behind.
  SiteProblem w({4}, {1.0});
  w.Delta(1, 1) = WaterDelta();
  UnitCapture fail(63, "getxa1_fail.txt");
  w.SolveTraced(testing::kWaterRho, 0, 1, 1, fail.unit());
  EXPECT_EQ(w.ierr, 1);
  EXPECT_EQ(w.kinit, 0);
  EXPECT_TRUE(Contains(fail.Text(), "GETXA1: XA FAILED. ITER = 2"));
}

// Trace level 4 writes the Jacobian of the balance at the solution, I - dX'/dX: for pure water
// (4C) with all fractions X it is 1 on the diagonal, X^2 rho Delta = (1 - X)/2 between sites that
// bond (1, 2 with 3, 4) and 0 between those that do not.
TEST(Getxa1, TraceLevelFourWritesTheJacobianAtTheSolution) {
  const double rho = testing::kWaterRho, rd = rho * WaterDelta();
  const double x = (-1.0 + std::sqrt(1.0 + 8.0 * rd)) / (4.0 * rd);
  SiteProblem p({4}, {1.0});
  p.Delta(1, 1) = WaterDelta();
  UnitCapture cap(62, "getxa1_jacobian.txt");
  p.SolveTraced(rho, 2, 100, 4, cap.unit());
  ASSERT_EQ(p.ierr, 0);
  const std::string text = cap.Text();
  const size_t at = text.find("GETXA1: JACOBIAN: I, J, JAC\n");
  ASSERT_NE(at, std::string::npos) << text;
  std::istringstream in(text.substr(at + 28));
  for (int64_t k = 0; k < 16; ++k) {
    int64_t i = 0, j = 0;
    double jac = 0.0;
    in >> i >> j >> jac;
    ASSERT_TRUE(in) << "entry " << k;
    EXPECT_EQ(i, k % 4 + 1);
    EXPECT_EQ(j, k / 4 + 1);
    const double expect = i == j ? 1.0 : ((i <= 2) != (j <= 2) ? 0.5 * (1.0 - x) : 0.0);
    EXPECT_NEAR(jac, expect, 1e-8) << i << "," << j;
  }
}

TEST(Getxa1, UnknownTypeCodesHaveNoSites) {
  // A code that never resolved to a type (above 20) has no sites: its rows
  // stay 1 and nothing is indexed past the tables (seen by the sanitizers).
  SiteProblem p({4, 4}, {0.5, 0.5});
  p.itype[1] = 150;
  p.Delta(1, 1) = p.Delta(2, 2) = p.Delta(1, 2) = p.Delta(2, 1) = 1.0;
  p.Solve(10.0, 2);
  EXPECT_EQ(p.ierr, 0);
  for (int s = 1; s <= 4; ++s) EXPECT_EQ(p.Xa(s, 2), 1.0);
}

TEST(Registry, UserCodesBecomeTypesTenToTwenty) {
  auto sites = [](int64_t type, int count) {
    return std::vector<int64_t>(ASSOC_TYPES.SITES + (type - 1) * 10,
                                ASSOC_TYPES.SITES + (type - 1) * 10 + count);
  };
  ResetAssociationTypes();
  UnitCapture cap(64, "registry.txt");
  std::vector<int64_t> itype{111, 4, 1201, 111};
  int64_t four = 4, one = 1, ten = 10;
  REGTYP(four, itype.data(), cap.unit());
  EXPECT_EQ(itype, (std::vector<int64_t>{10, 4, 11, 10}));
  EXPECT_EQ(ASSOC_TYPES.NSITES[9], 2);
  EXPECT_EQ(sites(10, 2), (std::vector<int64_t>{1, -1}));
  EXPECT_EQ(ASSOC_TYPES.NSITES[10], 3);
  EXPECT_EQ(sites(11, 4), (std::vector<int64_t>{2, 2, -1, 0}));
  // A later call finds 111 again.
  std::vector<int64_t> later{111};
  REGTYP(one, later.data(), cap.unit());
  EXPECT_EQ(later[0], 10);
  EXPECT_EQ(ASSOC_TYPES.NREG, 2);
  EXPECT_EQ(cap.Text(), "");
  // Nine more fill the registry; a twelfth is refused with the two lines.
  std::vector<int64_t> more{120, 101, 102, 103, 104, 110, 130, 112, 121, 122};
  REGTYP(ten, more.data(), cap.unit());
  EXPECT_EQ(more[8], 20);
  EXPECT_EQ(more[9], 122);
  EXPECT_EQ(ASSOC_TYPES.NREG, 11);
  EXPECT_EQ(cap.Text(),
            "***ERROR IN PC-SAFT/CPA ASSOCIATION CALCULATIONS***\n"
            "NUMBER OF USER-DEFINED ASSOCIATION TYPES EXCEEDS 11\n");
  // Site digits beyond the width of a type column are refused.
  ResetAssociationTypes();
  std::vector<int64_t> wide{1955};
  REGTYP(one, wide.data(), cap.unit());
  EXPECT_EQ(wide[0], 1955);
  EXPECT_EQ(ASSOC_TYPES.NREG, 0);
  ResetAssociationTypes();
}

}  // namespace
}  // namespace thermomodels
