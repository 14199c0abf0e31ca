// Ionic equilibrium of the sour-water liquid: the structured linear solve against
// a dense elimination, the invariants of solved liquids (fractions, charge
// and element balances), the pH search and the imposed pH, and bounded work
// for liquids that lack some solutes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "sour_water_support.h"

namespace {

using namespace thermomodels;
using sw_test::KeyLiquid;
using sw_test::PhilCall;

using Matrix = std::vector<double>;
double& At(Matrix& a, int i, int j) { return a[(i - 1) + (j - 1) * kAmatRows]; }

// Dense Gaussian elimination with partial pivoting on rows 1-9.
std::vector<double> DenseSolve(Matrix a) {
  double m[9][10];
  for (int i = 0; i < 9; ++i) {
    for (int j = 0; j < 10; ++j) m[i][j] = At(a, i + 1, j + 1);
  }
  for (int c = 0; c < 9; ++c) {
    int p = c;
    for (int r = c + 1; r < 9; ++r) p = std::fabs(m[r][c]) > std::fabs(m[p][c]) ? r : p;
    for (int j = 0; j < 10; ++j) std::swap(m[c][j], m[p][j]);
    for (int r = c + 1; r < 9; ++r) {
      const double f = m[r][c] / m[c][c];
      for (int j = c; j < 10; ++j) m[r][j] -= f * m[c][j];
    }
  }
  std::vector<double> y(9);
  for (int i = 8; i >= 0; --i) {
    double s = m[i][9];
    for (int j = i + 1; j < 9; ++j) s -= m[i][j] * y[j];
    y[i] = s / m[i][i];
  }
  return y;
}

Matrix Solved(Matrix a) {
  std::vector<double> b(9), y(9);
  LINGPSW(a.data(), b.data(), y.data());
  return a;
}

TEST(IonEquilibrium, LinearStepOfEachSystemEqualsADenseSolve) {
  // The 23 coefficients of the pattern; rows 1 and 2 are unit rows.
  const int pattern[][2] = {{3, 4}, {4, 3}, {5, 6}, {5, 7}, {6, 5}, {6, 7}, {7, 5},
                            {7, 6}, {7, 8}, {7, 9}, {8, 7}, {8, 9}, {9, 7}, {9, 8}};
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> off(-1.0, 1.0), diag(1.0, 3.0), rhs(-10.0, 10.0);
  for (int trial = 0; trial < 200; ++trial) {
    Matrix a(kAmatRows * kAmatCols, 0.0);
    At(a, 1, 1) = At(a, 2, 2) = 1.0;
    for (int i = 3; i <= 9; ++i) At(a, i, i) = diag(rng);
    for (const auto& e : pattern) At(a, e[0], e[1]) = off(rng);
    for (int i = 1; i <= 9; ++i) At(a, i, 10) = rhs(rng);
    const std::vector<double> expected = DenseSolve(a);
    Matrix s = Solved(a);
    double err = 0.0, norm = 0.0;
    for (int i = 0; i < 9; ++i) {
      err += std::pow(At(s, i + 1, 10) - expected[i], 2);
      norm += expected[i] * expected[i];
    }
    ASSERT_LE(std::sqrt(err / norm), 1e-12) << "trial " << trial;
  }
  // Zero pivots leave their components at zero: a zero system solves only
  // the unit rows; a singular 2 x 2 block keeps y4 at 0 and solves row 3.
  Matrix a(kAmatRows * kAmatCols, 0.0);
  for (int i = 1; i <= 9; ++i) At(a, i, 10) = i;
  At(a, 1, 1) = At(a, 2, 2) = 1.0;
  Matrix s = Solved(a);
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(At(s, i, 10), i <= 2 ? i : 0.0) << "component " << i;
  At(a, 3, 3) = 2.0;
  At(a, 3, 4) = 1.0;
  At(a, 4, 3) = 4.0;
  At(a, 4, 4) = 2.0;
  s = Solved(a);
  EXPECT_EQ(At(s, 4, 10), 0.0);
  EXPECT_EQ(At(s, 3, 10), 1.5);
}

constexpr double kCharge[9] = {1, -1, 1, -1, -2, -1, -2, -1, 1};

TEST(IonEquilibrium, EachSolvedLiquidKeepsItsBalances) {
  const std::vector<double> liquids[] = {
      KeyLiquid(1e-4, 0, 0),       KeyLiquid(0.05, 0, 0),         KeyLiquid(0, 1e-4, 0),
      KeyLiquid(0, 0.05, 0),       KeyLiquid(0, 0, 1e-4),         KeyLiquid(0, 0, 0.05),
      KeyLiquid(1e-4, 1e-4, 1e-4), KeyLiquid(0.01, 0.005, 0.005), KeyLiquid(0.05, 0.03, 0.02),
      KeyLiquid(0.02, 0.05, 1e-3), KeyLiquid(1e-3, 5e-4, 0.05),
  };
  for (double t : {298.15, 373.15, 423.15}) {
    for (const auto& x : liquids) {
      SCOPED_TRACE(::testing::Message()
                   << "T " << t << " x " << x[1] << " " << x[2] << " " << x[3]);
      const double p = t > 400 ? 10.0 : 1.0;
      sw_test::LiquidCall c = PhilCall(t, p, {1, 2, 3, 4}, x);
      const double* i = c.area(kLiquidWork.xion);
      const double* u = c.area(kLiquidWork.xneut);
      const double* m = c.area(kLiquidWork.xcz);
      const double total = c.record.species_total;
      double sum = m[0] + m[1] + m[2] + m[3] + u[0] + u[1], charge = 0.0;
      for (int j = 0; j < 9; ++j) {
        sum += i[j];
        charge += kCharge[j] * i[j];
      }
      EXPECT_NEAR(sum, 1.0, 1e-14);
      EXPECT_LE(std::fabs(charge), 1e-4 * (x[1] + x[2] + x[3]) / total);
      // Element recoveries: urea carries two nitrogens.
      const double elements[3] = {(m[1] + i[2] + i[7] + u[0] + 2.0 * u[1]) * total,
                                  (m[2] + i[5] + i[6] + i[7] + u[0] + u[1]) * total,
                                  (m[3] + i[3] + i[4]) * total};
      for (int e = 0; e < 3; ++e) {
        if (x[e + 1] > 0) {
          EXPECT_NEAR(elements[e] / x[e + 1], 1.0, 1e-4) << "element " << e;
        }
      }
      // The pH found, imposed: kept, with one inner solve.
      const double found = c.record.PHC;
      const sw_test::LiquidCall imposed = PhilCall(t, p, {1, 2, 3, 4}, x, 1, found);
      EXPECT_EQ(imposed.record.PHC, found);
      EXPECT_EQ(imposed.record.ph_solves, 1);
      EXPECT_LE(imposed.record.inner_iterations, 40);
    }
  }
}

// The search starts within [5, 12] (at a limit when a solute is alone),
// steps first by -0.01, then by at most 0.5, and solves at least thrice. An
// imposed pH is used as given, also outside [5, 12]; above the liquid's own
// pH it is balanced by a base (below, by an acid that the final floor of
// the amounts sets to 0).
TEST(IonEquilibrium, PhSearchAndImposedPh) {
  const std::pair<std::vector<double>, double> cases[] = {
      {KeyLiquid(0.01, 0, 0), 12.0},
      {KeyLiquid(0, 1e-3, 0), 5.0},
      {KeyLiquid(0, 0, 1e-3), 5.0},
      {KeyLiquid(0.01, 0.005, 0.005), 0.0},
  };
  for (const auto& [x, start] : cases) {
    SCOPED_TRACE(::testing::Message() << "x " << x[1] << " " << x[2] << " " << x[3]);
    const sw_test::LiquidCall c = PhilCall(298.15, 1.0, {1, 2, 3, 4}, x);
    const GpswLiquidSaved& r = c.record;
    ASSERT_GE(r.ph_solves, 3);
    if (start > 0) {
      EXPECT_EQ(r.ph_tried[0], start);
    }
    EXPECT_GE(r.ph_tried[0], 5.0);
    EXPECT_LE(r.ph_tried[0], 12.0);
    EXPECT_NEAR(r.ph_tried[1] - r.ph_tried[0], -0.01, 1e-12);
    for (int64_t k = 2; k < r.ph_solves; ++k) {
      EXPECT_LE(std::fabs(r.ph_tried[k] - r.ph_tried[k - 1]), 0.5 + 1e-12);
    }
    for (double ph : {2.5, r.PHC - 1.0, r.PHC + 1.0, 13.5}) {
      sw_test::LiquidCall i = PhilCall(298.15, 1.0, {1, 2, 3, 4}, x, 1, ph);
      EXPECT_EQ(i.record.PHC, ph);
      EXPECT_EQ(i.record.ph_solves, 1);
      EXPECT_LE(i.record.inner_iterations, 40);
      const double sodium = i.area(kLiquidWork.xion)[8];
      if (ph > r.PHC) {
        EXPECT_GT(sodium, 0.0) << ph;
      } else {
        EXPECT_EQ(sodium, 0.0) << ph;
      }
    }
  }
}

// Bounded work: every loop ends by its cap, also without ammonia (no
// free-ammonia update at all) and for an ammonia fraction whose free start
// amount underflows to 0. A search solve makes at most 10 inner iterations
// (40 at an imposed pH, a single solve); when a balance is left open, up to
// kMaxBalanceSolves further solves of at most 60 iterations each close it.
TEST(IonEquilibrium, EveryCallEndsWithinItsCaps) {
  const std::tuple<const char*, std::vector<double>, int64_t, double> cases[] = {
      {"pure water", {1.0, 0, 0, 0}, 0, 7.0},
      {"pure water at pH 7", {1.0, 0, 0, 0}, 1, 7.0},
      {"pure water at pH 3", {1.0, 0, 0, 0}, 1, 3.0},
      {"carbon dioxide only", KeyLiquid(0, 1e-3, 0), 0, 7.0},
      {"carbon dioxide only at pH 7", KeyLiquid(0, 1e-3, 0), 1, 7.0},
      {"hydrogen sulfide only", KeyLiquid(0, 0, 1e-3), 0, 7.0},
      {"ammonia only", KeyLiquid(0.01, 0, 0), 0, 7.0},
      {"ammonia fraction 1e-320", {1.0, 1e-320, 0, 0}, 0, 7.0},
      {"ammonia fraction 1e-317 (denormal)", {1.0, 1e-317, 0, 0}, 0, 7.0},
      {"ammonia fraction 1e-320 with carbon dioxide", {0.999, 1e-320, 1e-3, 0}, 0, 7.0},
  };
  for (const auto& [what, x, kph, ph] : cases) {
    SCOPED_TRACE(what);
    GPSWLIQ.ph_slope = GPSWLIQ.nh3_slope = 0.0;  // the secant slopes as at load
    const sw_test::LiquidCall c = PhilCall(298.15, 1.0, {1, 2, 3, 4}, x, kph, ph);
    const GpswLiquidSaved& r = c.record;
    EXPECT_LE(r.ph_solves, kph == 1 ? 1 : kMaxPhSolves + kMaxBalanceSolves);
    const int64_t closing = kph == 1 ? 0 : std::min(r.ph_solves, kMaxBalanceSolves);
    EXPECT_LE(r.inner_iterations, r.ph_solves * (kph == 1 ? 40 : 10) + closing * (60 - 10));
    EXPECT_LE(r.relaxation_passes, r.inner_iterations * 50);
    if (!(x[1] * 1e-6 > 0)) {
      EXPECT_EQ(r.ammonia_halvings, 0);
    }
    // Water's coefficient stays near that of pure water.
    EXPECT_NEAR(c.lnphi[0], std::log(1.0 / x[0]) - 3.4815, 0.02);
  }
}

}  // namespace
