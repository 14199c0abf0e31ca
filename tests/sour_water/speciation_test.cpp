// Speciation of the sour-water liquid: the structured linear solve against
// a dense elimination, the start estimate, the invariants of the solved
// liquid (fractions, charge and element balances), the pH search and the
// imposed pH, and bounded work for the liquids without some solutes.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "sour_water_support.h"

namespace {

using namespace thermomodels;

constexpr int kRows = kAmatRows;
double& At(std::vector<double>& a, int i, int j) { return a[(i - 1) + (j - 1) * kRows]; }

// Dense Gaussian elimination with partial pivoting on rows 1-9.
std::vector<double> DenseSolve(std::vector<double> a) {
  double m[9][10];
  for (int i = 0; i < 9; ++i) {
    for (int j = 0; j < 10; ++j) m[i][j] = At(a, i + 1, j + 1);
  }
  for (int c = 0; c < 9; ++c) {
    int p = c;
    for (int r = c + 1; r < 9; ++r) {
      if (std::fabs(m[r][c]) > std::fabs(m[p][c])) p = r;
    }
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

// The 23 positions of the system and the right-hand side.
const int kPattern[][2] = {{1, 1}, {2, 2}, {3, 3}, {3, 4}, {4, 3}, {4, 4}, {5, 5}, {5, 6},
                           {5, 7}, {6, 5}, {6, 6}, {6, 7}, {7, 5}, {7, 6}, {7, 7}, {7, 8},
                           {7, 9}, {8, 7}, {8, 8}, {8, 9}, {9, 7}, {9, 8}, {9, 9}};

TEST(Speciation, LinearStepEqualsADenseSolve) {
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> off(-1.0, 1.0), diag(1.0, 3.0), rhs(-10.0, 10.0);
  for (int trial = 0; trial < 200; ++trial) {
    std::vector<double> a(kAmatRows * kAmatCols, 0.0);
    for (const auto& e : kPattern) At(a, e[0], e[1]) = e[0] == e[1] ? diag(rng) : off(rng);
    At(a, 1, 1) = At(a, 2, 2) = 1.0;  // rows 1 and 2 are unit rows
    for (int i = 1; i <= 9; ++i) At(a, i, 10) = rhs(rng);
    // Rows 10-15 are outside the system: the solve must not read them.
    for (int i = 10; i <= kAmatRows; ++i) At(a, i, 10) = 1e300;
    const std::vector<double> expected = DenseSolve(a);
    std::vector<double> b(9), y(9);
    LINGPSW(a.data(), b.data(), y.data());
    double err = 0.0, norm = 0.0;
    for (int i = 0; i < 9; ++i) {
      err += (At(a, i + 1, 10) - expected[i]) * (At(a, i + 1, 10) - expected[i]);
      norm += expected[i] * expected[i];
    }
    ASSERT_LE(std::sqrt(err / norm), 1e-12) << "trial " << trial;
  }
}

TEST(Speciation, ZeroPivotLeavesItsComponentAtZero) {
  std::vector<double> a(kAmatRows * kAmatCols, 0.0);
  for (int i = 1; i <= 9; ++i) At(a, i, 10) = i;
  std::vector<double> b(9), y(9);
  // Everything zero but the unit rows: only y1 and y2 are solved.
  At(a, 1, 1) = At(a, 2, 2) = 1.0;
  LINGPSW(a.data(), b.data(), y.data());
  EXPECT_EQ(At(a, 1, 10), 1.0);
  EXPECT_EQ(At(a, 2, 10), 2.0);
  for (int i = 3; i <= 9; ++i) EXPECT_EQ(At(a, i, 10), 0.0) << "component " << i;
  // A singular 2 x 2 block: y4 stays 0 and y3 follows from row 3 alone.
  std::fill(a.begin(), a.end(), 0.0);
  At(a, 3, 3) = 2.0;
  At(a, 3, 4) = 1.0;
  At(a, 4, 3) = 4.0;
  At(a, 4, 4) = 2.0;
  At(a, 3, 10) = 6.0;
  At(a, 4, 10) = 5.0;
  LINGPSW(a.data(), b.data(), y.data());
  EXPECT_EQ(At(a, 4, 10), 0.0);
  EXPECT_EQ(At(a, 3, 10), 3.0);
}

// ---------------------------------------------------------------------------
// Whole liquids through the exported routine.
// ---------------------------------------------------------------------------

struct Solved {
  std::vector<double> lnphi, work;
  double total, ph;
  int64_t solves, inner, halvings;
  const double* xion() const { return work.data() + kLiquidWork.xion; }
  const double* xneut() const { return work.data() + kLiquidWork.xneut; }
  const double* xcz() const { return work.data() + kLiquidWork.xcz; }
};

Solved Solve(double t, double p, std::vector<double> x, int64_t kph = 0, double ph = 7.0) {
  const int64_t n = static_cast<int64_t>(x.size());
  std::vector<int64_t> idx;
  for (int64_t s = 1; s <= n; ++s) idx.push_back(s <= 4 ? s : 4 + s);
  Solved r;
  r.lnphi.assign(n, 0.0);
  r.work.assign(710 + n, 0.0);
  PPTH_PHILGPSW(&t, &p, &n, idx.data(), x.data(), r.lnphi.data(), &ph, &kph, r.work.data());
  r.total = GPSWLIQ.species_total;
  r.ph = GPSWLIQ.PHC;
  r.solves = GPSWLIQ.ph_solves;
  r.inner = GPSWLIQ.inner_iterations;
  r.halvings = GPSWLIQ.ammonia_halvings;
  return r;
}

std::vector<double> Liquid(double nh3, double co2, double h2s) {
  return {1.0 - nh3 - co2 - h2s, nh3, co2, h2s};
}

// Charge numbers of the ions in their order.
constexpr double kCharge[9] = {1, -1, 1, -1, -2, -1, -2, -1, 1};

TEST(Speciation, SolvedLiquidsKeepTheirBalances) {
  const std::vector<std::vector<double>> liquids = {
      Liquid(1e-4, 0, 0),        Liquid(0.05, 0, 0),          Liquid(0, 1e-4, 0),
      Liquid(0, 0.05, 0),        Liquid(0, 0, 1e-4),          Liquid(0, 0, 0.05),
      Liquid(1e-4, 1e-4, 1e-4),  Liquid(0.01, 0.005, 0.005),  Liquid(0.05, 0.03, 0.02),
      Liquid(0.02, 0.05, 0.001), Liquid(0.001, 0.0005, 0.05),
  };
  for (double t : {298.15, 373.15, 423.15}) {
    for (const auto& x : liquids) {
      SCOPED_TRACE(::testing::Message()
                   << "T " << t << " NH3 " << x[1] << " CO2 " << x[2] << " H2S " << x[3]);
      const Solved r = Solve(t, t > 400 ? 10.0 : 1.0, x);
      double sum = 0.0, charge = 0.0;
      for (int s = 0; s < 4; ++s) sum += r.xcz()[s];
      for (int k = 0; k < 2; ++k) sum += r.xneut()[k];
      for (int j = 0; j < 9; ++j) {
        sum += r.xion()[j];
        charge += kCharge[j] * r.xion()[j];
      }
      EXPECT_NEAR(sum, 1.0, 1e-14);
      const double solutes = (x[1] + x[2] + x[3]) / r.total;
      EXPECT_LE(std::fabs(charge), 1e-4 * solutes);
      // Element recoveries: urea carries two nitrogens, carbamate and its
      // acid one carbon each.
      const double* i = r.xion();
      const double* u = r.xneut();
      const double* m = r.xcz();
      const double nitrogen = (m[1] + i[2] + i[7] + u[0] + 2.0 * u[1]) * r.total;
      const double carbon = (m[2] + i[5] + i[6] + i[7] + u[0] + u[1]) * r.total;
      const double sulfur = (m[3] + i[3] + i[4]) * r.total;
      if (x[1] > 0) {
        EXPECT_NEAR(nitrogen / x[1], 1.0, 1e-4);
      }
      if (x[2] > 0) {
        EXPECT_NEAR(carbon / x[2], 1.0, 1e-4);
      }
      if (x[3] > 0) {
        EXPECT_NEAR(sulfur / x[3], 1.0, 1e-4);
      }
      // The pH found, imposed: kept, one inner solve.
      const double found = r.ph;
      const Solved imposed = Solve(t, t > 400 ? 10.0 : 1.0, x, 1, found);
      EXPECT_EQ(imposed.ph, found);
      EXPECT_EQ(imposed.solves, 1);
      EXPECT_LE(imposed.inner, 40);
    }
  }
}

// The search: the first step is -0.01, later steps at most 0.5, at least
// three solves; from the start limits 5 and 12 when a solute is alone.
TEST(Speciation, PhSearchSteps) {
  struct Case {
    const char* what;
    std::vector<double> x;
    double start;
  };
  const Case cases[] = {
      {"ammonia alone starts at 12", Liquid(0.01, 0, 0), 12.0},
      {"carbon dioxide alone starts at 5", Liquid(0, 1e-3, 0), 5.0},
      {"hydrogen sulfide alone starts at 5", Liquid(0, 0, 1e-3), 5.0},
      {"all three", Liquid(0.01, 0.005, 0.005), std::nan("")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Solved r = Solve(298.15, 1.0, c.x);
    ASSERT_GE(r.solves, 3);
    ASSERT_LE(r.solves, kMaxPhSolves);
    const double* ph = GPSWLIQ.ph_tried;
    if (!std::isnan(c.start)) {
      EXPECT_EQ(ph[0], c.start);
    }
    EXPECT_GE(ph[0], 5.0);
    EXPECT_LE(ph[0], 12.0);
    EXPECT_NEAR(ph[1] - ph[0], -0.01, 1e-12);
    for (int64_t k = 2; k < r.solves; ++k) EXPECT_LE(std::fabs(ph[k] - ph[k - 1]), 0.5 + 1e-12);
  }
}

// An imposed pH is used as given, also outside the start range, with one
// solve; above the liquid's own pH the balancing ion is a base. Below it
// the solve adds acid, a negative amount that the final floor sets to 0.
TEST(Speciation, ImposedPh) {
  const std::vector<double> x = Liquid(0.01, 0.005, 0.005);
  const double own = Solve(298.15, 1.0, x).ph;
  for (double ph : {2.5, own - 1.0, own + 1.0, 13.5}) {
    SCOPED_TRACE(ph);
    const Solved r = Solve(298.15, 1.0, x, 1, ph);
    EXPECT_EQ(r.ph, ph);
    EXPECT_EQ(r.solves, 1);
    EXPECT_LE(r.inner, 40);
    const double sodium = r.xion()[8];
    if (ph > own) {
      EXPECT_GT(sodium, 0.0);
    } else {
      EXPECT_EQ(sodium, 0.0);
    }
  }
}

TEST(Speciation, StartEstimate) {
  double keq[kNreactMax], lnk[kNreactMax];
  LoadGpsw(GPSWCOM, 4, std::vector<int64_t>{1, 2, 3, 4}.data(), std::vector<double>(20).data());
  EQKGPSW(298.15, kNreact, GPSWCOM.DHO, GPSWCOM.DSR, GPSWCOM.AL, GPSWCOM.BE, GPSWCOM.DSE, keq, lnk);
  struct Case {
    const char* what;
    std::vector<double> x;
    int64_t kph;
    double ph, start;
  };
  const Case cases[] = {
      {"ammonia alone: infinite OH-, pH limited to 12", Liquid(0.01, 0, 0), 0, 0, 12.0},
      {"acid gases alone: no OH-, pH limited to 5", Liquid(0, 0.01, 0.01), 0, 0, 5.0},
      {"imposed below the range", Liquid(0.01, 0.005, 0), 1, 2.25, 2.25},
      {"imposed above the range", Liquid(0.01, 0.005, 0), 1, 13.75, 13.75},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    double phc, xh, xoh, sumx, sumx0, xwat, kapp[kNreactMax], y[kNreactMax], r[kNreactMax];
    double xion[kNionMax], xneut[kNneutMax], xcz[4];
    const double xnh3 = 1e-6 * c.x[1];
    INIGPSW(4, kNreact, c.kph, c.x.data(), keq, c.ph, xnh3, phc, xh, xoh, sumx, sumx0, xwat, kapp,
            y, r, xion, xneut, xcz);
    EXPECT_EQ(phc, c.start);
    // The H+ fraction is the molality 10^-pH over 55.49 mol/kg of water
    // (with ln 10 rounded to 2.30259: 5e-6 relative per pH unit).
    EXPECT_NEAR(xh * sumx / c.x[0] * 55.49 / std::pow(10.0, -phc), 1.0, 1e-4);
    EXPECT_NEAR(xoh * xh * sumx / c.x[0], kapp[0], 1e-12 * kapp[0]);
    EXPECT_EQ(xion[8], 0.0);
    // No carbon dioxide: the recovery of a small free amount is skipped.
    if (c.x[2] == 0) {
      EXPECT_EQ(xcz[2], 0.0);
    }
    EXPECT_NEAR(xcz[3], 0.01 * c.x[3], 1e-15);
  }
}

// Bounded work: every loop ends by its cap, also without ammonia (where the
// free-ammonia update has nothing to work on) and for an ammonia fraction
// whose free start amount underflows to 0.
TEST(Speciation, EveryCallEndsWithinItsCaps) {
  struct Case {
    const char* what;
    std::vector<double> x;
    int64_t kph;
  };
  const Case cases[] = {
      {"pure water", {1.0, 0, 0, 0}, 0},
      {"pure water at pH 7", {1.0, 0, 0, 0}, 1},
      {"pure water at pH 3", {1.0, 0, 0, 0}, 1},
      {"carbon dioxide only", Liquid(0, 1e-3, 0), 0},
      {"hydrogen sulfide only", Liquid(0, 0, 1e-3), 0},
      {"carbon dioxide only at pH 7", Liquid(0, 1e-3, 0), 1},
      {"ammonia only", Liquid(0.01, 0, 0), 0},
      {"ammonia fraction 1e-320", {1.0, 1e-320, 0, 0}, 0},
      {"ammonia fraction 1e-320 with carbon dioxide", {0.999, 1e-320, 1e-3, 0}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const double ph = std::string(c.what).find("pH 3") != std::string::npos ? 3.0 : 7.0;
    const Solved r = Solve(298.15, 1.0, c.x, c.kph, ph);
    const int64_t per_solve = c.kph == 1 ? 40 : 10;
    EXPECT_LE(r.solves, c.kph == 1 ? 1 : kMaxPhSolves);
    EXPECT_LE(r.inner, r.solves * per_solve);
    EXPECT_LE(GPSWLIQ.relaxation_passes, r.inner * 50);
    if (!(c.x[1] * 1e-6 > 0)) {
      EXPECT_EQ(r.halvings, 0);
    }
    // Water's coefficient is near that of pure water.
    EXPECT_NEAR(r.lnphi[0], std::log(1.0 / c.x[0]) - 3.4815, 0.02);
  }
}

}  // namespace
