// The site-fraction solver against closed forms of pure fluids, the site
// balance of mixtures, the Jacobian it leaves for the derivative solvers,
// and the registry of user-defined types.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "association/assoc_fixture.h"

namespace thermomodels {
namespace {

using testing::SiteProblem;
using testing::UnitCapture;

double WaterDelta() {
  using namespace testing;
  return CpaStrength(kWaterB, kWaterEps, kWaterBeta, kWaterT, kWaterRho, kWaterB);
}

TEST(Getxa1, PureFluidsMatchTheirClosedForms) {
  const double rho = testing::kWaterRho, delta = WaterDelta();
  const double rd = rho * delta;
  struct Case {
    const char* what;
    int64_t type;
    double expect;
  };
  const std::vector<Case> cases = {
      {"4C water", 4, (-1.0 + std::sqrt(1.0 + 8.0 * rd)) / (4.0 * rd)},
      {"2B", 2, (-1.0 + std::sqrt(1.0 + 4.0 * rd)) / (2.0 * rd)},
      {"1A", 1, (-1.0 + std::sqrt(1.0 + 4.0 * rd)) / (2.0 * rd)},
  };
  EXPECT_NEAR(cases[0].expect, 0.0782512, 5e-8);
  for (int64_t method : {0, 1, 2}) {
    for (const Case& c : cases) {
      SiteProblem p({c.type}, {1.0});
      p.Delta(1, 1) = delta;
      p.Solve(rho, method, 1000);
      ASSERT_EQ(p.ierr, 0) << c.what << " method " << method;
      for (int64_t s = 1; s <= p.nv; ++s)
        EXPECT_NEAR(p.Xa(s, 1), c.expect, 1e-10) << c.what << " site " << s << " method " << method;
    }
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

TEST(Getxa1, MixtureBalancesHoldAndTheInverseJacobianIsLeft) {
  const double rho = 30.0;
  for (int64_t method : {2, 0}) {
    SiteProblem p = WaterMethanolInert(rho);
    p.Solve(rho, method, 1000);
    ASSERT_EQ(p.ierr, 0) << "method " << method;
    for (int64_t i = 1; i <= p.n; ++i)
      for (int64_t s = 1; s <= 4; ++s) {
        if (s > AssocSiteCount(ASSOC_TYPES.NSITES, p.itype[i - 1])) {
          EXPECT_EQ(p.Xa(s, i), 1.0) << "empty slot " << s << " of " << i;
          continue;
        }
        const double balance = p.Xa(s, i) * (1.0 + p.SiteSum(rho, p.xa, s, i));
        EXPECT_NEAR(balance, 1.0, 1e-10) << "site " << s << " of " << i << " method " << method;
      }
    if (method != 2) continue;  // the inverse is left by the Newton phase
    EXPECT_EQ(p.kinit, 1);
    // Minus H is the inverse of the Jacobian of X_A - 1/(1 + S_A(X)), the
    // latter taken by central differences over the variables.
    const int64_t nv = p.nv;
    const double* h = p.wsolv.data() + 3 * nv;
    std::vector<double> jac(nv * nv);
    for (int64_t b = 1; b <= nv; ++b) {
      const int64_t eb = (p.idxv[b - 1] - 1) * p.ldx + (p.isite[b - 1] - 1);
      const double step = 1e-6;
      std::vector<double> up = p.xa, down = p.xa;
      up[eb] += step;
      down[eb] -= step;
      for (int64_t a = 1; a <= nv; ++a) {
        const int64_t sa = p.isite[a - 1], ia = p.idxv[a - 1];
        const int64_t ea = (ia - 1) * p.ldx + (sa - 1);
        const double gup = up[ea] - 1.0 / (1.0 + p.SiteSum(rho, up, sa, ia));
        const double gdn = down[ea] - 1.0 / (1.0 + p.SiteSum(rho, down, sa, ia));
        jac[(b - 1) * nv + (a - 1)] = (gup - gdn) / (2 * step);
      }
    }
    for (int64_t a = 0; a < nv; ++a)
      for (int64_t c = 0; c < nv; ++c) {
        double prod = 0.0;
        for (int64_t k = 0; k < nv; ++k) prod += -h[k * nv + a] * jac[c * nv + k];
        EXPECT_NEAR(prod, a == c ? 1.0 : 0.0, 1e-7) << "(-H J)(" << a << "," << c << ")";
      }
  }
}

TEST(Getxa1, LargeSystemConvergesInTheQuasiNewtonPhase) {
  // Thirty four-site components, NV = 120: no Newton step is ever taken.
  const int64_t n = 30;
  SiteProblem p(std::vector<int64_t>(n, 4), std::vector<double>(n, 1.0 / n));
  for (int64_t i = 1; i <= n; ++i)
    for (int64_t j = 1; j <= n; ++j) p.Delta(i, j) = 0.2 + 0.01 * ((i * 7 + j * 7) % 13);
  ASSERT_EQ(p.nv, 120);
  UnitCapture cap(61, "getxa1_large.txt");
  const double rho = 25.0;
  p.Solve(rho, 2, 100, 3, cap.unit());
  const std::string text = cap.Text();
  EXPECT_EQ(p.ierr, 0);
  EXPECT_EQ(text.find("STEP SIZES"), std::string::npos);
  EXPECT_NE(text.find("GETXA1: XA CONVERGED. ITER = "), std::string::npos);
  EXPECT_EQ(p.kinit, 0);
  for (int64_t i = 1; i <= n; ++i)
    for (int64_t s = 1; s <= 4; ++s)
      EXPECT_NEAR(p.Xa(s, i) * (1.0 + p.SiteSum(rho, p.xa, s, i)), 1.0, 1e-10);
}

TEST(Getxa1, PassCountsAndFailureStatus) {
  const double rho = testing::kWaterRho, delta = WaterDelta();
  const double rd = rho * delta;
  const double exact = (-1.0 + std::sqrt(1.0 + 8.0 * rd)) / (4.0 * rd);
  {
    // A start that already satisfies the balance: two passes.
    SiteProblem p({4}, {1.0});
    p.Delta(1, 1) = delta;
    for (int s = 0; s < 4; ++s) p.xa[s] = exact;
    UnitCapture cap(62, "getxa1_start.txt");
    p.Solve(rho, 2, 100, 1, cap.unit(), 2, 1e-9);
    EXPECT_EQ(p.ierr, 0);
    EXPECT_NE(cap.Text().find("GETXA1: XA CONVERGED. ITER = 2"), std::string::npos);
  }
  {
    // MAXIT 1 still makes two passes, and a plain substitution that cannot
    // converge in them fails with no inverse Jacobian left behind.
    SiteProblem p({4}, {1.0});
    p.Delta(1, 1) = delta;
    UnitCapture cap(63, "getxa1_fail.txt");
    p.Solve(rho, 0, 1, 1, cap.unit());
    EXPECT_EQ(p.ierr, 1);
    EXPECT_EQ(p.kinit, 0);
    EXPECT_NE(cap.Text().find("GETXA1: XA FAILED. ITER = 2"), std::string::npos);
  }
}

TEST(Getxa1, RestartFromThePreviousSolution) {
  // Start mode 2 takes the fractions left by the last call; the rows of
  // methanol that are no site stay 1.
  const double rho = 30.0;
  SiteProblem p = WaterMethanolInert(rho);
  p.Solve(rho, 2);
  ASSERT_EQ(p.ierr, 0);
  const std::vector<double> first = p.xa;
  UnitCapture cap(70, "getxa1_restart.txt");
  p.Solve(rho, 2, 100, 1, cap.unit(), 2, 1e-9);
  EXPECT_EQ(p.ierr, 0);
  EXPECT_NE(cap.Text().find("GETXA1: XA CONVERGED. ITER = 2"), std::string::npos);
  for (size_t e = 0; e < first.size(); ++e) EXPECT_NEAR(p.xa[e], first[e], 1e-12) << e;
  EXPECT_EQ(p.Xa(3, 2), 1.0);
  EXPECT_EQ(p.Xa(4, 2), 1.0);
}

TEST(Getxa1, UnknownTypeCodesHaveNoSites) {
  // A component whose code never resolved to a type (above 20) is read as
  // having no sites: its fractions stay 1 and nothing is indexed past the
  // tables (checked under the sanitizers).
  SiteProblem p({4, 4}, {0.5, 0.5});
  p.itype[1] = 150;
  p.Delta(1, 1) = p.Delta(2, 2) = p.Delta(1, 2) = p.Delta(2, 1) = 1.0;
  p.Solve(10.0, 2);
  EXPECT_EQ(p.ierr, 0);
  for (int s = 1; s <= 4; ++s) EXPECT_EQ(p.Xa(s, 2), 1.0);
}

TEST(Registry, UserCodesBecomeTypesTenToTwenty) {
  ResetAssociationTypes();
  UnitCapture cap(64, "registry.txt");
  std::vector<int64_t> itype{111, 4, 1201, 111};
  int64_t ncc = 4;
  REGTYP(ncc, itype.data(), cap.unit());
  EXPECT_EQ(itype, (std::vector<int64_t>{10, 4, 11, 10}));
  EXPECT_EQ(ASSOC_TYPES.NSITES[9], 2);
  EXPECT_EQ(ASSOC_TYPES.SITES[9 * 10 + 0], 1);
  EXPECT_EQ(ASSOC_TYPES.SITES[9 * 10 + 1], -1);
  EXPECT_EQ(ASSOC_TYPES.NSITES[10], 3);
  EXPECT_EQ(std::vector<int64_t>(ASSOC_TYPES.SITES + 100, ASSOC_TYPES.SITES + 104),
            (std::vector<int64_t>{2, 2, -1, 0}));
  // A later call finds 111 again.
  std::vector<int64_t> later{111};
  int64_t one = 1;
  REGTYP(one, later.data(), cap.unit());
  EXPECT_EQ(later[0], 10);
  EXPECT_EQ(ASSOC_TYPES.NREG, 2);
  EXPECT_EQ(cap.Text(), "");
  // Nine more fill the registry; a twelfth is refused with the two lines.
  std::vector<int64_t> more{120, 101, 102, 103, 104, 110, 130, 112, 121, 122};
  int64_t ten = 10;
  REGTYP(ten, more.data(), cap.unit());
  EXPECT_EQ(more[8], 20);
  EXPECT_EQ(more[9], 122);
  EXPECT_EQ(ASSOC_TYPES.NREG, 11);
  EXPECT_EQ(cap.Text(),
            "***ERROR IN PC-SAFT/CPA ASSOCIATION CALCULATIONS***\n"
            "NUMBER OF USER-DEFINED ASSOCIATION TYPES EXCEEDS 11\n");
  ResetAssociationTypes();
  // Site digits beyond the width of a type column are refused.
  std::vector<int64_t> wide{1955};
  REGTYP(one, wide.data(), cap.unit());
  EXPECT_EQ(wide[0], 1955);
  EXPECT_EQ(ASSOC_TYPES.NREG, 0);
  ResetAssociationTypes();
}

}  // namespace
}  // namespace thermomodels
