// The association term: pure water's closed form (also as a group), every derivative against
// central differences on every route, failure flags.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "association/assoc_fixture.h"

namespace thermomodels {
namespace {

using namespace testing;

Species WithType(Species s, int64_t type) {
  s.type = type;
  return s;
}

// Pure water, and a component of an inert two-site group and a water group (species 2 and 3,
// absent): the water sites follow the group before them.
TEST(Pcsaf5, PureWaterMatchesTheFourSiteClosedForm) {
  Species shell = kWater;
  shell.type = 0;
  shell.eps = shell.beta = 0.0;
  AssocCaller pure({kWater}), grouped({shell, WithType(kInert, 2), kWater}),
      single({shell, WithType(kInert, 2), kWater});
  for (AssocCaller* c : {&grouped, &single}) {
    c->igrp = {2, 0, 0, 2, 0, 0, 3, 0, 0};
    c->grp[3] = c->grp[6] = 1.0;
    c->ldx = 8;
  }
  single.ispec = 1;
  for (AssocCaller* c : {&pure, &grouped, &single}) {
    std::vector<double> x(c->sp.size(), 0.0);
    x[0] = 1.0;
    const Sums s = c->All(testing::kWaterT, testing::kWaterRho, x);
    ASSERT_EQ(s.ierr, 0);
    EXPECT_NEAR(s.asum, -8.347825, 8.347825e-6);
    EXPECT_NEAR(s.asumr, -2.995691, 2.995691e-6);
    EXPECT_NEAR(s.asumr2, -2.070539, 2.070539e-6);
    EXPECT_TRUE(c != &pure || std::fabs(s.asumx[0] + 11.343516) < 11.343516e-6) << s.asumx[0];
  }
}

// Water, methanol and an inert; with `single` methanol does not associate and ISPEC asks for the
// search for a single associating species.
TEST(Pcsaf5, DerivativesMatchCentralDifferences) {
  struct Variant {
    const char* what;
    int64_t irdf;    // 1 simplified CPA, 0 PC-SAFT
    int64_t istart;  // 0 solver route, 20 direct substitution
    bool geometric;  // geometric-mean cross strength for water-methanol
    int64_t iopt;    // solver option
    bool single = false;
  };
  const Variant variants[] = {
      {"CPA solver", 1, 0, false, 99999999},
      {"CPA solver, geometric cross strength", 1, 0, true, 99999999},
      {"CPA accelerated substitution", 1, 0, false, 1},
      {"PC-SAFT solver", 0, 0, false, 99999999},
      {"CPA direct substitution", 1, 20, false, 99999999},
      {"PC-SAFT direct substitution", 0, 20, false, 99999999},
      {"single associating species, solver", 1, 0, false, 99999999, true},
      {"single associating species, direct closed form", 1, 20, false, 99999999, true},
  };
  const std::vector<double> x{0.5, 0.3, 0.2};
  const double t = 350.0, h = 1e-4;
  for (const Variant& v : variants)
    for (double rho : {0.05, 25.0}) {
      SCOPED_TRACE(std::string(v.what) + " rho " + std::to_string(rho));
      AssocCaller c({kWater, kMethanol, kInert});
      c.irdf = v.irdf;
      c.istart = v.istart;
      c.iopt = v.iopt;
      if (v.geometric) c.Flag(1, 2) = 1.0;
      if (v.single) {
        c.ispec = 1;
        c.Eps(1, 2) = c.Eps(2, 1) = c.Vol(1, 2) = c.Vol(2, 1) = c.Eps(2, 2) = c.Vol(2, 2) = 0;
        c.asspar[1] = 0.0;
      }
      const Sums s = c.All(t, rho, x);
      ASSERT_EQ(s.ierr, 0);
      if (v.single && v.istart == 20) {
        // The closed form: X (1 + rho x m Delta X) = 1, the others' fractions 1.
        EXPECT_NEAR(c.xa[0] * (1.0 + rho * x[0] * kWater.m * c.delta[0] * c.xa[0]), 1.0, 1e-14);
        EXPECT_EQ(c.xa[4 + 1], 1.0);
      }
      // The direct route ends its passes at a relative change of 1e-6; with strong association its
      // fractions carry errors of a few 1e-6.
      const bool loose = v.istart == 20 && !v.single && rho > 1.0;
      const double tol = loose ? 2e-5 : 1e-6, euler_tol = loose ? 1e-5 : 1e-8;
      // ASUM and ASUMR alone, as a caller asking for no more.
      auto at = [&](double tt, double r, const std::vector<double>& xx) {
        return c.Eval(tt, r, xx, true, false, false, false);
      };
      auto rel = [](double a, double b) {
        return std::fabs(a - b) / std::max({std::fabs(a), std::fabs(b), 1e-3});
      };
      const Sums up = at(t, rho * (1 + h), x), dn = at(t, rho * (1 - h), x);
      EXPECT_LT(rel(s.asumr, (up.asum - dn.asum) / (2 * h)), tol) << "ASUMR";
      EXPECT_LT(rel(s.asumr2, (up.asumr - dn.asumr) / (2 * h)), tol) << "ASUMR2";
      const Sums tu = at(t * (1 + h), rho, x), td = at(t * (1 - h), rho, x);
      EXPECT_LT(rel(s.asumt, (tu.asum - td.asum) / (2 * h)), tol) << "ASUMT";
      double euler = 0.0;
      for (int64_t k = 0; k < 3; ++k) {
        // n_k -> n_k (1 +- h) at constant V: total n and density change too.
        auto total = [&](double sign) {
          std::vector<double> nn = x;
          nn[k] += sign * h * x[k];
          const double ntot = nn[0] + nn[1] + nn[2];
          for (double& v2 : nn) v2 /= ntot;
          return ntot * at(t, rho * ntot, nn).asum;
        };
        const double fd = (total(1) - total(-1)) / (2 * h * x[k]);
        EXPECT_LT(rel(s.asumx[k], fd), tol) << "ASUMX(" << k + 1 << ")";
        euler += x[k] * s.asumx[k];
      }
      EXPECT_NEAR(euler, s.asum + s.asumr, euler_tol * std::max(1.0, std::fabs(s.asum)));
    }
}

// A failed or refused evaluation sets the flag; a refused one computes nothing.
TEST(Pcsaf5, FailuresAndRefusalsSetTheFlag) {
  const struct {
    const char* what;
    std::vector<Species> species;
    void (*spoil)(AssocCaller&);
    int64_t ierr;
    bool refused;
  } cases[] = {
      // A strength that is not finite cannot give site fractions.
      {"cross volume NaN",
       {kWater, kMethanol},
       [](AssocCaller& c) { c.Vol(1, 2) = NAN; },
       1,
       false},
      {"more sites than rows", {kWater}, [](AssocCaller& c) { c.ldx = 2; }, 1, true},
      {"code that cannot be registered", {WithType(kWater, 1955)}, nullptr, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ResetAssociationTypes();
    AssocCaller caller(c.species);
    if (c.spoil != nullptr) c.spoil(caller);
    const std::vector<double> x(c.species.size(), 1.0 / static_cast<double>(c.species.size()));
    const Sums s = caller.Eval(testing::kWaterT, testing::kWaterRho, x, false, false, false, false);
    EXPECT_EQ(s.ierr, c.ierr);
    EXPECT_TRUE(!c.refused || s.asum == 0.0);
  }
  ResetAssociationTypes();
}

}  // namespace
}  // namespace thermomodels
