// The association term with its shortcuts against the same term solved by
// iteration alone: every site scheme alone and beside an inert, and two
// associating species, with both contact values, in a dilute and a dense
// state. Schemes whose sites have unequal numbers of partners must give the
// iterative values because they take the iterative path; the composition
// derivatives of two associating species come from the site fractions
// alone with the CPA strengths.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "association/assoc_fixture.h"

namespace thermomodels {
namespace {

using testing::AssocCaller;
using testing::Species;
using testing::Sums;

Sums Evaluate(AssocCaller& c, bool shortcuts, double t, double rho, const std::vector<double>& x) {
  ASSOC_SHORTCUTS.enabled = shortcuts;
  const Sums s = c.Eval(t, rho, x, true, true, true, true);
  ASSOC_SHORTCUTS.enabled = true;
  return s;
}

TEST(AssociationShortcuts, GiveTheIterativeValues) {
  const Species water = testing::WaterMethanolInert()[0];
  const Species methanol = testing::WaterMethanolInert()[1];
  const Species inert = testing::WaterMethanolInert()[2];
  auto with_type = [](Species s, int64_t type) {
    s.type = type;
    return s;
  };
  struct Case {
    const char* what;
    std::vector<Species> species;
    std::vector<double> x;
    bool geometric = false;  // geometric-mean cross strength of species 1 and 2
    double skew = 1.0;       // factor on the cross volume of (1, 2) alone, not of (2, 1)
  };
  const Case cases[] = {
      {"one 2-site", {with_type(water, 1)}, {1.0}},
      {"two sites -1 +1", {methanol}, {1.0}},
      {"three sites -1 -1 +1", {with_type(water, 3)}, {1.0}},
      {"four sites -1 -1 +1 +1", {water}, {1.0}},
      {"four sites +1 +1 +1 -1", {with_type(water, 5)}, {1.0}},
      {"user type of two 2-sites", {with_type(water, 1200)}, {1.0}},
      {"user type of sites 2 +1 -1", {with_type(water, 1111)}, {1.0}},
      {"four sites beside an inert", {water, inert}, {0.3, 0.7}},
      {"inert beside two sites", {inert, methanol}, {0.6, 0.4}},
      {"inert of type 2 beside two sites (merged)", {with_type(inert, 2), methanol}, {0.6, 0.4}},
      {"three sites beside an inert", {with_type(water, 3), inert}, {0.5, 0.5}},
      {"two associating species", {water, methanol}, {0.5, 0.5}},
      {"two associating species, geometric cross strength", {water, methanol}, {0.5, 0.5}, true},
      {"two associating species and an inert", {water, methanol, inert}, {0.4, 0.3, 0.3}},
      {"two two-site species (merged)", {methanol, with_type(water, 2)}, {0.6, 0.4}},
      {"cross volume given differently in the two orders",
       {water, methanol},
       {0.5, 0.5},
       false,
       3.0},
  };
  for (const Case& c : cases)
    for (int64_t irdf : {1, 0})
      for (double t : {280.0, 450.0})
        for (double rho : {0.05, 30.0}) {
          SCOPED_TRACE(std::string(c.what) + " irdf " + std::to_string(irdf) + " T " +
                       std::to_string(t) + " rho " + std::to_string(rho));
          AssocCaller fast(c.species), slow(c.species);
          fast.irdf = slow.irdf = irdf;
          if (c.geometric) fast.Flag(1, 2) = slow.Flag(1, 2) = 1.0;
          if (c.skew != 1.0) {
            fast.Vol(1, 2) *= c.skew;
            slow.Vol(1, 2) *= c.skew;
          }
          const Sums a = Evaluate(fast, true, t, rho, c.x);
          const Sums b = Evaluate(slow, false, t, rho, c.x);
          ASSERT_EQ(a.ierr, b.ierr);
          std::vector<double> va{a.asum, a.asumr, a.asumr2, a.asumt};
          std::vector<double> vb{b.asum, b.asumr, b.asumr2, b.asumt};
          va.insert(va.end(), a.asumx.begin(), a.asumx.end());
          vb.insert(vb.end(), b.asumx.begin(), b.asumx.end());
          va.insert(va.end(), fast.xa.begin(), fast.xa.end());
          vb.insert(vb.end(), slow.xa.begin(), slow.xa.end());
          // ASUM, ASUMR, ASUMR2, ASUMT, ASUMX(1..N), then the site fractions.
          for (size_t k = 0; k < va.size(); ++k)
            EXPECT_LT(testing::Rel(va[k], vb[k], 1.0), 1e-9)
                << "output " << k << ": " << va[k] << " " << vb[k];
        }
}

// With diagnostics asked for, the solvers run and write their own lines:
// the trace is the same whether the shortcuts are on or off.
TEST(AssociationShortcuts, LeaveTheDiagnosticTraceAsItWas) {
  for (int64_t level : {1, 2}) {
    SCOPED_TRACE("level " + std::to_string(level));
    std::string text[2];
    for (bool shortcuts : {true, false}) {
      testing::UnitCapture cap(71, "shortcut_trace.txt");
      AssocCaller water({testing::WaterMethanolInert()[0]});
      water.level = level;
      water.unit = cap.unit();
      Evaluate(water, shortcuts, 298.15, 50.0, {1.0});
      text[shortcuts ? 0 : 1] = cap.Text();
    }
    EXPECT_TRUE(testing::Contains(text[0], "GETXA1: XA CONVERGED. ITER = "));
    EXPECT_TRUE(testing::Contains(text[0], "GETXAX1: XAX CONVERGED FOR COMP 1. ITER = "));
    EXPECT_EQ(text[0], text[1]);
  }
}

}  // namespace
}  // namespace thermomodels
