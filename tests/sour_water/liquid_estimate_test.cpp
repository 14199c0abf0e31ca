// Liquid estimate from a vapour: when an estimate is made, the pressure
// estimate, the closed-form ionisation, the normalisation over the host
// list, and the cases that give none (with X, Y and P untouched).
#include <gtest/gtest.h>

#include <cmath>

#include "sour_water_support.h"

namespace {

using namespace thermomodels;

// Host components 1..8 by number; lists pick from them.
const std::vector<std::string> kPool = {"H2O", "H3N", "CO2", "H2S", "CH4", "N2", "AR", "C2H6"};

struct Estimate {
  int64_t iflag = -9;
  double p;
  std::vector<double> x, y;
};

Estimate Estimated(double t, std::vector<int64_t> idx, std::vector<double> z, int64_t kode,
                   double p = 2e5, std::vector<double> x0 = {}, std::vector<double> y0 = {}) {
  sw_test::FillPool(kPool);
  const int64_t nc = static_cast<int64_t>(idx.size());
  Estimate e;
  e.p = p;
  e.x = x0.empty() ? std::vector<double>(nc, 0.375) : x0;
  e.y = y0.empty() ? std::vector<double>(nc, 0.625) : y0;
  sw_test::GuardedWork work(80 + 20);
  PPTH_INFLGPSW(&t, &e.p, &nc, idx.data(), z.data(), e.x.data(), e.y.data(), nullptr, &kode,
                work.data(), &e.iflag);
  EXPECT_TRUE(work.GuardsIntact());
  return e;
}

// No estimate: X, Y and P as the caller left them.
TEST(LiquidEstimate, EachCaseWithoutAnEstimateLeavesEverythingAlone) {
  struct Case {
    const char* what;
    std::vector<int64_t> idx;
    std::vector<double> z;
  };
  const Case cases[] = {
      {"water and methane only", {1, 5}, {0.5, 0.5}},
      {"no water", {2, 3, 4}, {0.3, 0.3, 0.4}},
      {"water alone", {1}, {1.0}},
      {"empty list", {}, {}},
      {"recognised vapour sums to zero", {1, 2, 7}, {0.0, 0.0, 1.0}},
      {"ammonia-rich vapour: water fraction below zero", {1, 2}, {0.01, 0.99}},
      {"host numbers outside the pool", {1, 0, -2}, {0.5, 0.3, 0.2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Estimate e = Estimated(298.15, c.idx, c.z, 5, 12345.0);
    EXPECT_EQ(e.iflag, 0);
    EXPECT_EQ(e.p, 12345.0);
    for (double v : e.x) EXPECT_EQ(v, 0.375);
    for (double v : e.y) EXPECT_EQ(v, 0.625);
  }
}

// Pure water vapour over water and ammonia: the pressure is the Henry
// constant of water (the model's vapour pressure with its corrections),
// about 3115 Pa at 298.15 K.
TEST(LiquidEstimate, PressureOfAPureWaterVapour) {
  const Estimate e = Estimated(298.15, {1, 2}, {1.0, 0.0}, 5);
  ASSERT_EQ(e.iflag, 1);
  EXPECT_NEAR(e.p, 3115.0, 1.0);
  EXPECT_NEAR(e.y[1], 1e-9, 1e-15);
  EXPECT_NEAR(e.x[0] + e.x[1], 1.0, 1e-15);
  // Other KODE values leave P alone, and the given P does not change X.
  const Estimate other = Estimated(298.15, {1, 2}, {1.0, 0.0}, 4, 7.0e5);
  EXPECT_EQ(other.p, 7.0e5);
  EXPECT_EQ(other.x, e.x);
  EXPECT_EQ(other.y, e.y);
}

// Water, ammonia, CO2, H2S and methane at 330 K: the ions satisfy both
// mass-action laws and electroneutrality, the molecules Henry's law at the
// estimated pressure.
TEST(LiquidEstimate, ClosedFormIonisationAndHenrysLaw) {
  const double t = 330.0;
  const std::vector<double> z = {0.6, 0.2, 0.1, 0.05, 0.05};
  const Estimate e = Estimated(t, {1, 2, 3, 4, 5}, z, 5);
  ASSERT_EQ(e.iflag, 1);

  // Henry constants and K2, K3, K5 of the same temperature.
  GpswcomBlock b{};
  std::vector<double> terms(kVapourWork.wscr + 80 + 5);
  const int64_t idx[5] = {1, 2, 3, 4, 5};
  LoadGpsw(b, 5, idx, terms.data() + kVapourWork.henry);
  TdpgpswFromBlock(t, 0.0, 5, b, kVapourWork, terms.data(), terms.data() + kVapourWork.wscr);
  const double* h = terms.data() + kVapourWork.henry;
  double keq[kNreactMax], lnk[kNreactMax];
  EQKGPSW(t, kNreact, b.DHO, b.DSR, b.AL, b.BE, b.DSE, keq, lnk);

  const double p_atm = h[0] / z[0];
  EXPECT_NEAR(e.p, 100000.0 * p_atm / 0.98684, 1e-9 * e.p);
  // Before normalisation x sums to 1, so the liquid fractions are those of
  // the closed form up to rounding.
  const double mn = z[1] * p_atm / h[1], mc = z[2] * p_atm / h[2], ms = z[3] * p_atm / h[3];
  const double a = e.x[1] - mn, bic = e.x[2] - mc, d = e.x[3] - ms;
  EXPECT_NEAR(a, bic + d, 1e-12);
  EXPECT_NEAR(a * bic / (keq[1] * keq[4] * mn * mc), 1.0, 1e-9);
  EXPECT_NEAR(a * d / (keq[1] * keq[2] * mn * ms), 1.0, 1e-9);
  EXPECT_NEAR(e.x[4], z[4] * p_atm / h[4], 1e-12 * e.x[4]);
  double sx = 0.0, sy = 0.0;
  for (int k = 0; k < 5; ++k) {
    sx += e.x[k];
    sy += e.y[k];
    EXPECT_DOUBLE_EQ(e.y[k], z[k]);
  }
  EXPECT_NEAR(sx, 1.0, 1e-14);
  EXPECT_NEAR(sy, 1.0, 1e-14);
}

// A component outside the model keeps the caller's X and Y, then takes
// part in the normalisation; a repeat of the call after another component
// set gives the same result.
TEST(LiquidEstimate, ComponentsOutsideTheModelAndRepeatedCalls) {
  const std::vector<int64_t> idx = {7, 1, 2};  // argon is not in the model
  const std::vector<double> z = {0.3, 0.5, 0.2};
  const Estimate zero = Estimated(320.0, idx, z, 0, 1e5, {0.0, 0.5, 0.5}, {0.0, 0.5, 0.5});
  ASSERT_EQ(zero.iflag, 1);
  EXPECT_EQ(zero.x[0], 0.0);
  EXPECT_EQ(zero.y[0], 0.0);
  EXPECT_NEAR(zero.y[1], 0.5 / 0.7, 1e-15);

  // The list's liquid sums to a little below 1 before the last
  // normalisation: the absent CO2 and H2S slots hold traces of no list
  // position.
  const Estimate tenth = Estimated(320.0, idx, z, 0, 1e5, {0.1, 0.5, 0.5}, {0.1, 0.5, 0.5});
  EXPECT_NEAR(tenth.x[0], 0.1 / 1.1, 1e-6);
  EXPECT_NEAR(tenth.x[0] + tenth.x[1] + tenth.x[2], 1.0, 1e-15);
  EXPECT_NEAR(tenth.x[1] / tenth.x[2], zero.x[1] / zero.x[2], 1e-13);
  EXPECT_NEAR(tenth.y[2], (0.2 / 0.7) / 1.1, 1e-15);

  Estimated(400.0, {1, 3, 4, 5, 6, 8}, {0.4, 0.1, 0.1, 0.1, 0.1, 0.2}, 5);
  // A host number whose alias would lie beyond the pool is not recognised.
  const int64_t beyond_pool = TM_PLEX_WORDS / 3 + 1;
  const Estimate outside =
      Estimated(320.0, {beyond_pool, 1, 2}, z, 0, 1e5, {0.0, 0.5, 0.5}, {0.0, 0.5, 0.5});
  EXPECT_EQ(outside.x, zero.x);
  const Estimate again = Estimated(320.0, idx, z, 0, 1e5, {0.0, 0.5, 0.5}, {0.0, 0.5, 0.5});
  EXPECT_EQ(again.x, zero.x);
  EXPECT_EQ(again.y, zero.y);
}

}  // namespace
