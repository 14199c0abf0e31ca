// Ionic equilibrium of the sour-water liquid: the structured linear solve,
// the invariants of solved liquids (fractions, charge and element
// balances), the pH search and the imposed pH, and bounded work for liquids
// that lack some solutes.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "sour_water_support.h"

namespace {

using namespace thermomodels;
using sw_test::KeyLiquid;
using sw_test::PhilCall;

using Matrix = std::vector<double>;
double& At(Matrix& a, int i, int j) { return a[(i - 1) + (j - 1) * kAmatRows]; }

Matrix Solved(Matrix a) {
  std::vector<double> b(9), y(9);
  LINGPSW(a.data(), b.data(), y.data());
  return a;
}

TEST(IonEquilibrium, LinearStepEqualsADenseSolve) {
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
    Matrix s = Solved(a);  // the solution in column 10: residual of A y = b
    for (int i = 1; i <= 9; ++i) {
      double r = At(a, i, 10), scale = std::fabs(r);
      for (int j = 1; j <= 9; ++j) {
        r -= At(a, i, j) * At(s, j, 10);
        scale += std::fabs(At(a, i, j) * At(s, j, 10));
      }
      ASSERT_LE(std::fabs(r), 1e-13 * scale) << "trial " << trial << ", row " << i;
    }
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

TEST(IonEquilibrium, SolvedLiquidsKeepTheirBalances) {
  const std::vector<double> liquids[] = {
      KeyLiquid(1e-4, 0, 0),       KeyLiquid(0.05, 0, 0),         KeyLiquid(0, 1e-4, 0),
      KeyLiquid(0, 0.05, 0),       KeyLiquid(0, 0, 1e-4),         KeyLiquid(0, 0, 0.05),
      KeyLiquid(1e-4, 1e-4, 1e-4), KeyLiquid(0.01, 0.005, 0.005), KeyLiquid(0.05, 0.03, 0.02),
      KeyLiquid(0.02, 0.05, 1e-3), KeyLiquid(1e-3, 5e-4, 0.05),
  };
  // Besides: two neighbouring liquids at 610 K whose searches once ended
  // far apart, and a liquid whose nitrogen balance was 551 % off.
  std::vector<std::tuple<double, double, std::vector<double>>> cases = {
      {610.0, 207.7280859329105, {0.9719844, 0.0175109, 0.0017511, 0.0087555}},
      {610.0, 207.7280859329105, {0.9719831, 0.0175105, 0.0017511, 0.0087553}},
      {396.15, 40.0, {0.9105, 6.7e-7, 2.5e-6, 0.0895}}};
  for (double t : {298.15, 373.15, 423.15}) {
    for (const auto& x : liquids) cases.emplace_back(t, t > 400 ? 10.0 : 1.0, x);
  }
  std::vector<double> ln_phi_nh3;
  for (const auto& [t, p, x] : cases) {
    SCOPED_TRACE(::testing::Message() << "T " << t << " x " << x[1] << " " << x[2] << " " << x[3]);
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
        EXPECT_NEAR(elements[e] / x[e + 1], 1.0, 1e-6) << "element " << e;
      }
    }
    ln_phi_nh3.push_back(c.lnphi[1]);
    // Mass action of CO3= (CO2 + 2 OH- = CO3= + H2O) with the activity
    // coefficients of the final liquid, against K6 of the data reactions.
    const double* g = c.area(kLiquidWork.gion);
    const double* gm = c.area(kLiquidWork.gc);
    if (x[2] > 0 && i[6] > 0) {
      const double q6 = i[6] * g[6] * m[0] * gm[0] / (m[2] * gm[2] * std::pow(i[1] * g[1], 2));
      EXPECT_NEAR(std::log(q6 / c.at(kLiquidWork.keq + 5)), 0.0, 0.02);
    }
    // The pH found, imposed: kept, with one inner solve.
    const double found = c.record.PHC;
    const sw_test::LiquidCall imposed = PhilCall(t, p, {1, 2, 3, 4}, x, 1, found);
    EXPECT_EQ(imposed.record.PHC, found);
    EXPECT_EQ(imposed.record.ph_solves, 1);
    EXPECT_LE(imposed.record.inner_iterations, 40);
  }
  EXPECT_NEAR(ln_phi_nh3[0], ln_phi_nh3[1], 1e-3);
}

// Closing the balances is bounded too: in a liquid without water no solve
// closes the nitrogen balance, and every one runs to its cap.
TEST(IonEquilibrium, ClosingTheBalancesIsBounded) {
  const sw_test::LiquidCall c =
      PhilCall(618.64348102155748, 0.001153778370633337, {1, 2}, {0.0, 0.4823376821545739});
  EXPECT_LE(c.record.inner_iterations, kMaxPhSolves * 10 + kMaxBalanceSolves * 60);
}

// Bounded work: every loop ends by its cap, also without ammonia (no
// free-ammonia update at all) and for an ammonia fraction whose free start
// amount underflows to 0. The pH search starts within [5, 12] (at the limit
// PH when a solute is alone), steps first by -0.01, then by at most 0.5,
// and solves at least thrice. An imposed pH is used as given, also outside
// [5, 12]; above the liquid's own pH it is balanced by a base (below, by an
// acid that the final floor of the amounts sets to 0).
TEST(IonEquilibrium, PhSearchImposedPhAndCaps) {
  const std::tuple<const char*, std::vector<double>, int64_t, double> cases[] = {
      {"pure water", {1.0, 0, 0, 0}, 0, -1.0},
      {"pure water at pH 7", {1.0, 0, 0, 0}, 1, 7.0},
      {"pure water at pH 3", {1.0, 0, 0, 0}, 1, 3.0},
      {"carbon dioxide only", KeyLiquid(0, 1e-3, 0), 0, 5.0},
      {"carbon dioxide only at pH 7", KeyLiquid(0, 1e-3, 0), 1, 7.0},
      {"hydrogen sulfide only", KeyLiquid(0, 0, 1e-3), 0, 5.0},
      {"ammonia only", KeyLiquid(0.01, 0, 0), 0, 12.0},
      {"all three", KeyLiquid(0.01, 0.005, 0.005), 0, 0.0},
      {"ammonia fraction 1e-320", {1.0, 1e-320, 0, 0}, 0, -1.0},
      {"ammonia fraction 1e-317 (denormal)", {1.0, 1e-317, 0, 0}, 0, -1.0},
      {"ammonia fraction 1e-320 with carbon dioxide", {0.999, 1e-320, 1e-3, 0}, 0, -1.0},
  };
  for (const auto& [what, x, kph, ph] : cases) {
    SCOPED_TRACE(what);
    GPSWLIQ.ph_slope = GPSWLIQ.nh3_slope = 0.0;  // the secant slopes as at load
    const sw_test::LiquidCall c = PhilCall(298.15, 1.0, {1, 2, 3, 4}, x, kph, kph == 1 ? ph : 7.0);
    const GpswLiquidSaved& r = c.record;
    EXPECT_LE(r.ph_solves, kph == 1 ? 1 : kMaxPhSolves + kMaxBalanceSolves);
    EXPECT_LE(r.inner_iterations, r.ph_solves * (kph == 1 ? 40 : 200));
    EXPECT_LE(r.relaxation_passes, r.inner_iterations * 50);
    if (!(x[1] * 1e-6 > 0)) {
      EXPECT_EQ(r.ammonia_halvings, 0);
    }
    // Water's coefficient stays near that of pure water.
    EXPECT_NEAR(c.lnphi[0], std::log(1.0 / x[0]) - 3.4815, 0.02);
    if (kph == 1 || ph < 0) continue;
    ASSERT_GE(r.ph_solves, 3);
    EXPECT_TRUE(ph == 0 ? r.ph_tried[0] >= 5.0 && r.ph_tried[0] <= 12.0 : r.ph_tried[0] == ph);
    EXPECT_NEAR(r.ph_tried[1] - r.ph_tried[0], -0.01, 1e-12);
    for (int64_t k = 2; k < r.ph_solves; ++k) {
      EXPECT_LE(std::fabs(r.ph_tried[k] - r.ph_tried[k - 1]), 0.5 + 1e-12);
    }
    for (double imposed : {2.5, r.PHC - 1.0, r.PHC + 1.0, 13.5}) {
      sw_test::LiquidCall i = PhilCall(298.15, 1.0, {1, 2, 3, 4}, x, 1, imposed);
      EXPECT_EQ(i.record.PHC, imposed);
      EXPECT_EQ(i.record.ph_solves, 1);
      EXPECT_LE(i.record.inner_iterations, 40);
      const double sodium = i.area(kLiquidWork.xion)[8];
      EXPECT_TRUE(imposed > r.PHC ? sodium > 0.0 : sodium == 0.0) << imposed;
    }
  }
}

}  // namespace
