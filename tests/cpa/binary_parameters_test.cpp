// Temperature-dependent binary parameters: values and T dK/dT of the
// correlations, the no-value rule, row flags and skips.
#include <gtest/gtest.h>

#include <vector>

#include "cpa/cpa.h"

namespace {

using thermomodels::CPAKTD;
using thermomodels::CPAKTV;

// COEF(NCOEF, 2, 2) with the record of (1, 2) filled and K = 0.7 in the
// record of (2, 1), evaluated at T.
struct Eval {
  std::vector<double> value, derivative;
};
Eval Evaluate(int64_t ncoef, int64_t ktref, const std::vector<double>& record, double t,
              std::vector<double> flags = {1.0, 1.0}, std::vector<int64_t> skip = {0, 0}) {
  std::vector<double> coef(static_cast<size_t>(4 * ncoef), 0.0);
  for (size_t w = 0; w < record.size(); ++w) coef[static_cast<size_t>(2 * ncoef) + w] = record[w];
  coef[static_cast<size_t>(ncoef)] = 0.7;
  Eval e{std::vector<double>(4, -1.0), std::vector<double>(4, -1.0)};
  CPAKTV(t, ncoef, ktref, 2, coef.data(), flags.data(), skip.data(), e.value.data());
  CPAKTD(t, ncoef, ktref, 2, coef.data(), flags.data(), skip.data(), e.derivative.data());
  return e;
}

// K = c1 + c2 (T/298.15 - 1) on rows whose flag is exactly 1; row 2 is
// unflagged, so only K(1, 2) may be non-zero.
TEST(BinaryParameters, TwoCoefficientFormEveryFlagAndMissingValue) {
  const struct {
    const char* what;
    double c1, c2, t, flag;
    int64_t skip2;
    double value, t_dkdt;
  } cases[] = {
      {"reference T", 0.05, 0.01, 298.15, 1.0, 0, 0.06, 0.01},
      {"twice the reference T", 0.05, 0.01, 596.3, 1.0, 0, 0.07, 0.02},
      {"missing c1 counts as 0", 1e35, 0.01, 596.3, 1.0, 0, 0.02, 0.02},
      {"missing c2 counts as 0", 0.05, 1e35, 596.3, 1.0, 0, 0.05, 0.0},
      {"anything above 1e30 is missing", 0.05, 2e30, 596.3, 1.0, 0, 0.05, 0.0},
      {"row flag 0.999", 0.5, 0.0, 298.15, 0.999, 0, 0.0, 0.0},
      {"row flag 2", 0.5, 0.0, 298.15, 2.0, 0, 0.0, 0.0},
      {"component 2 skipped: neither row nor column", 0.5, 0.0, 298.15, 1.0, 1, 0.0, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Eval e = Evaluate(2, 0, {c.c1, c.c2}, c.t, {c.flag, 0.0}, {0, c.skip2});
    EXPECT_NEAR(e.value[2], c.value, 1e-14);
    EXPECT_NEAR(e.derivative[2], c.t_dkdt, 1e-14);
    for (int k : {0, 1, 3}) EXPECT_EQ(e.value[k], 0.0);
    EXPECT_EQ(e.derivative[1], 0.0);
  }
  EXPECT_EQ(Evaluate(2, 0, {0.5, 0.0}, 298.15).value[1], 0.7) << "flagged row 2 reads (2, 1)";
}

// Derivative forms against central differences of the value forms.
TEST(BinaryParameters, DerivativeMatchesDifference) {
  const struct {
    int64_t ncoef, ktref;
    std::vector<double> record;
  } forms[] = {
      {2, 0, {0.05, -0.03}},
      {4, 0, {0.02, 0.01, -0.004, 0.0}},
      {4, 4, {0.02, 0.01, -0.004, 350.0}},  // reference temperature in word 4
      {5, 0, {0.1, -0.02, 0.03, 0.004, -0.0005}},
  };
  for (const auto& f : forms) {
    auto at = [&](double t) { return Evaluate(f.ncoef, f.ktref, f.record, t); };
    const double t = 410.0, h = 1e-3, fd = t * (at(t + h).value[2] - at(t - h).value[2]) / (2 * h);
    EXPECT_NEAR(at(t).derivative[2], fd, 1e-9) << "NCOEF " << f.ncoef << " KTREF " << f.ktref;
  }
  // A record length that cannot hold its form is not read.
  EXPECT_EQ(Evaluate(3, 0, {0.25, 0.25, 0.25}, 298.15).value, std::vector<double>(4, 0.0));
  // N = 0 leaves the matrix as it was.
  std::vector<double> k(4, -1.0), coef(8, 0.1), flags = {1.0, 1.0};
  const std::vector<int64_t> skip = {0, 0};
  CPAKTV(298.15, 2, 0, 0, coef.data(), flags.data(), skip.data(), k.data());
  EXPECT_EQ(k[0], -1.0);
}

}  // namespace
