// Temperature-dependent binary parameters: values and T dK/dT of the
// correlations, the no-value rule, row flags and skips.
#include <gtest/gtest.h>

#include <vector>

#include "cpa/cpa.h"

namespace {

using thermomodels::CPAKTD;
using thermomodels::CPAKTV;

// COEF(NCOEF, 2, 2) with the record of (1, 2) filled, evaluated at T.
struct Eval {
  std::vector<double> value, derivative;
};
Eval Evaluate(int64_t ncoef, int64_t ktref, const std::vector<double>& record, double t,
              std::vector<double> flags = {1.0, 1.0}, std::vector<int64_t> skip = {0, 0}) {
  const int64_t n = 2;
  std::vector<double> coef(static_cast<size_t>(ncoef * n * n), 0.0);
  for (size_t w = 0; w < record.size(); ++w) coef[static_cast<size_t>(2 * ncoef) + w] = record[w];
  coef[static_cast<size_t>(ncoef)] = 0.7;  // record (2, 1): K = 0.7 at 298.15 K
  Eval e{std::vector<double>(4, -1.0), std::vector<double>(4, -1.0)};
  CPAKTV(t, ncoef, ktref, n, coef.data(), flags.data(), skip.data(), e.value.data());
  CPAKTD(t, ncoef, ktref, n, coef.data(), flags.data(), skip.data(), e.derivative.data());
  return e;
}

TEST(BinaryParameters, TwoCoefficientFormAndMissingValues) {
  struct Case {
    double c1, c2, t, value, t_dkdt;
  };
  const Case cases[] = {
      {0.05, 0.01, 298.15, 0.06, 0.01}, {0.05, 0.01, 596.3, 0.07, 0.02},
      {1e35, 0.01, 596.3, 0.02, 0.02},  // a missing c1 counts as 0
      {0.05, 1e35, 596.3, 0.05, 0.0},   // a missing c2 counts as 0
      {0.05, 2e30, 596.3, 0.05, 0.0},   // anything above 1e30 is missing
  };
  for (const auto& c : cases) {
    const Eval e = Evaluate(2, 0, {c.c1, c.c2}, c.t, {1.0, 0.0});
    SCOPED_TRACE(testing::Message() << "record (" << c.c1 << ", " << c.c2 << ") at " << c.t);
    EXPECT_NEAR(e.value[2], c.value, 1e-14);
    EXPECT_NEAR(e.derivative[2], c.t_dkdt, 1e-14);
    // The diagonal and the unflagged row 2 stay 0 although (2, 1) has a record.
    for (int k : {0, 1, 3}) EXPECT_EQ(e.value[k], 0.0);
    EXPECT_EQ(e.derivative[1], 0.0);
  }
}

// Derivative forms against central differences of the value forms.
TEST(BinaryParameters, DerivativeMatchesDifference) {
  struct Form {
    int64_t ncoef, ktref;
    std::vector<double> record;
  };
  const Form forms[] = {
      {2, 0, {0.05, -0.03}},
      {4, 0, {0.02, 0.01, -0.004, 0.0}},
      {4, 4, {0.02, 0.01, -0.004, 350.0}},  // reference temperature in word 4
      {5, 0, {0.1, -0.02, 0.03, 0.004, -0.0005}},
  };
  for (const auto& f : forms) {
    const double t = 410.0, h = 1e-3;
    const double up = Evaluate(f.ncoef, f.ktref, f.record, t + h).value[2];
    const double down = Evaluate(f.ncoef, f.ktref, f.record, t - h).value[2];
    EXPECT_NEAR(Evaluate(f.ncoef, f.ktref, f.record, t).derivative[2], t * (up - down) / (2 * h),
                1e-9)
        << "NCOEF " << f.ncoef << " KTREF " << f.ktref;
  }
}

TEST(BinaryParameters, FlagsSkipsAndUnreadableRecords) {
  for (double flag : {0.999, 2.0, 0.0}) {
    const Eval e = Evaluate(2, 0, {0.5, 0.0}, 298.15, {flag, 1.0});
    EXPECT_EQ(e.value[2], 0.0) << "row flag " << flag;
    EXPECT_EQ(e.value[1], 0.7) << "row 2 has its own record";
  }
  // A skipped component is neither row nor column.
  const Eval skipped = Evaluate(2, 0, {0.5, 0.0}, 298.15, {1.0, 1.0}, {0, 1});
  EXPECT_EQ(skipped.value[1], 0.0);
  EXPECT_EQ(skipped.value[2], 0.0);
  // A record length that cannot hold its form is not read.
  for (double v : Evaluate(3, 0, {0.25, 0.25, 0.25}, 298.15).value) EXPECT_EQ(v, 0.0);
  // N = 0 leaves the matrix as it was.
  std::vector<double> k(4, -1.0), coef(8, 0.1), flags = {1.0, 1.0};
  std::vector<int64_t> skip = {0, 0};
  const int64_t two = 2, tref = 0, zero = 0;
  CPAKTV(298.15, two, tref, zero, coef.data(), flags.data(), skip.data(), k.data());
  EXPECT_EQ(k[0], -1.0);
}

}  // namespace
