// Temperature-dependent binary parameters: values and T dK/dT of the
// correlations, the no-value rule, row flags and skips.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "cpa/cpa.h"

namespace {

using thermomodels::CPAKTD;
using thermomodels::CPAKTV;

// One 2 x 2 evaluation with record (c1, c2) at (1, 2) and nothing at (2, 1).
struct TwoCoefCase {
  double c1, c2, t;
  double value, t_dkdt;
};

TEST(BinaryParameters, TwoCoefficientForm) {
  const TwoCoefCase cases[] = {
      {0.05, 0.01, 298.15, 0.06, 0.01},
      {0.05, 0.01, 596.3, 0.07, 0.02},
      {1e35, 0.01, 596.3, 0.02, 0.02},   // a missing c1 counts as 0
      {0.05, 1e35, 596.3, 0.05, 0.0},    // a missing c2 counts as 0
      {0.05, 2e30, 596.3, 0.05, 0.0},    // anything above 1e30 is missing
  };
  for (const auto& c : cases) {
    const std::vector<double> coef = {0, 0, 0.3, 0.4, c.c1, c.c2, 0, 0};  // (1,1) (2,1) (1,2) (2,2)
    const std::vector<double> flags = {1.0, 0.0};
    const std::vector<int64_t> skip = {0, 0};
    std::vector<double> k(4, -1.0), d(4, -1.0);
    const int64_t two = 2, tref = 0, n = 2;
    CPAKTV(c.t, two, tref, n, coef.data(), flags.data(), skip.data(), k.data());
    CPAKTD(c.t, two, tref, n, coef.data(), flags.data(), skip.data(), d.data());
    SCOPED_TRACE(testing::Message() << "record (" << c.c1 << ", " << c.c2 << ") at " << c.t);
    EXPECT_NEAR(k[2], c.value, 1e-14);
    EXPECT_NEAR(d[2], c.t_dkdt, 1e-14);
    // Diagonal and the unflagged row 2 stay 0 although row 2 has a record.
    EXPECT_EQ(k[0], 0.0);
    EXPECT_EQ(k[3], 0.0);
    EXPECT_EQ(k[1], 0.0);
    EXPECT_EQ(d[1], 0.0);
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
    const int64_t n = 2;
    std::vector<double> coef(static_cast<size_t>(f.ncoef * n * n), 0.0);
    for (int64_t w = 0; w < f.ncoef; ++w) coef[static_cast<size_t>(f.ncoef * 2 + w)] = f.record[w];
    const std::vector<double> flags = {1.0, 1.0};
    const std::vector<int64_t> skip = {0, 0};
    const double t = 410.0, h = 1e-3;
    std::vector<double> up(4), down(4), d(4);
    CPAKTV(t + h, f.ncoef, f.ktref, n, coef.data(), flags.data(), skip.data(), up.data());
    CPAKTV(t - h, f.ncoef, f.ktref, n, coef.data(), flags.data(), skip.data(), down.data());
    CPAKTD(t, f.ncoef, f.ktref, n, coef.data(), flags.data(), skip.data(), d.data());
    SCOPED_TRACE(testing::Message() << "NCOEF " << f.ncoef << " KTREF " << f.ktref);
    EXPECT_NEAR(d[2], t * (up[2] - down[2]) / (2 * h), 1e-9);
  }
}

TEST(BinaryParameters, FlagsSkipsAndEmptyMatrix) {
  const int64_t two = 2, tref = 0, n = 2;
  const std::vector<double> coef = {0, 0, 0.7, 0.0, 0.5, 0.0, 0, 0};  // (2,1) 0.7, (1,2) 0.5
  const std::vector<int64_t> no_skip = {0, 0};
  for (double flag : {0.999, 2.0, 0.0}) {
    const std::vector<double> flags = {flag, 1.0};
    std::vector<double> k(4, -1.0);
    CPAKTV(298.15, two, tref, n, coef.data(), flags.data(), no_skip.data(), k.data());
    EXPECT_EQ(k[2], 0.0) << "row flag " << flag;
    EXPECT_EQ(k[1], 0.7) << "row 2 has its own record";
  }
  // A skipped component is neither row nor column.
  const std::vector<double> flags = {1.0, 1.0};
  const std::vector<int64_t> skip_2 = {0, 1};
  std::vector<double> k(4, -1.0);
  CPAKTV(298.15, two, tref, n, coef.data(), flags.data(), skip_2.data(), k.data());
  EXPECT_EQ(k[1], 0.0);
  EXPECT_EQ(k[2], 0.0);
  // N = 0 leaves the matrix as it was.
  const int64_t zero = 0;
  CPAKTV(298.15, two, tref, zero, coef.data(), flags.data(), no_skip.data(), k.data());
  CPAKTD(298.15, two, tref, zero, coef.data(), flags.data(), no_skip.data(), k.data());
  EXPECT_EQ(k[0], 0.0);
  // A record length that cannot hold its form is not read.
  const int64_t three = 3;
  std::vector<double> coef3(12, 0.25);
  std::vector<double> k3(4, -1.0);
  CPAKTV(298.15, three, tref, n, coef3.data(), flags.data(), no_skip.data(), k3.data());
  for (double v : k3) EXPECT_EQ(v, 0.0);
}

}  // namespace
