// Liquid fugacity coefficients of the sour-water model: published chemistry
// (pH of ammonia and carbon dioxide solutions, ammonia partial pressures),
// the water-only and non-reacting liquids, zero fractions, short slot
// lists, Poynting factors, bounds and the caller's work array.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sour_water_support.h"

namespace {

using namespace thermomodels;

// ln 1e20 = 46.0517018598809...
const double kLnMax = std::log(1e20);

struct Call {
  std::vector<double> lnphi;
  sw_test::GuardedWork work;
  double ph;
  explicit Call(int64_t n) : lnphi(n, -1.0), work(710 + n) {}
  double at(int64_t first_word) { return work.data()[first_word]; }
};

Call Liquid(double t, double p, std::vector<int64_t> idx, std::vector<double> x, int64_t kph = 0,
            double ph = 7.0) {
  const int64_t n = static_cast<int64_t>(idx.size());
  Call c(n);
  const double ph_in = ph;
  PPTH_PHILGPSW(&t, &p, &n, idx.data(), x.data(), c.lnphi.data(), &ph, &kph, c.work.data());
  EXPECT_EQ(ph, ph_in);
  EXPECT_TRUE(c.work.GuardsIntact());
  c.ph = GPSWLIQ.PHC;
  return c;
}

// Mole fraction of a solute at molality m [mol/kg] in water of 18.015 g/mol.
double FractionAt(double molality) { return molality / (molality + 1000.0 / 18.015); }

// pH of published solutions (sour-water-literature.md, "Solutions"):
// 1 mol/kg ammonia at 25 C, pH about 11.6 (K_b = 10^-4.75); carbon dioxide
// alone at mole fraction 1e-3, pH about 3.8 (first dissociation only,
// Plummer and Busenberg 1982).
TEST(LiquidFugacity, PhOfPublishedSolutions) {
  const double xn = FractionAt(1.0);
  const Call ammonia = Liquid(298.15, 1.0, {1, 2, 3, 4}, {1.0 - xn, xn, 0.0, 0.0});
  EXPECT_GE(ammonia.ph, 11.5);
  EXPECT_LE(ammonia.ph, 11.7);
  const Call co2 = Liquid(298.15, 1.0, {1, 2, 3, 4}, {0.999, 0.0, 1e-3, 0.0});
  EXPECT_GE(co2.ph, 3.7);
  EXPECT_LE(co2.ph, 3.9);
}

// Ammonia partial pressure over aqueous ammonia at 25 C against Clegg and
// Brimblecombe, J. Phys. Chem. 93 (1989) 7237: p = m / K_H with
// ln K_H = -8.09694 + 3917.507/T - 0.00314 T [mol/(kg atm)].
TEST(LiquidFugacity, AmmoniaPartialPressure) {
  const double t = 298.15;
  const double kh = std::exp(-8.09694 + 3917.507 / t - 0.00314 * t);
  for (double m : {0.01, 0.03, 0.1, 0.3, 1.0}) {
    SCOPED_TRACE(m);
    const double xn = FractionAt(m);
    const double p = 1.0;
    const Call c = Liquid(t, p, {1, 2, 3, 4}, {1.0 - xn, xn, 0.0, 0.0});
    const double fugacity = std::exp(c.lnphi[1]) * xn * p;
    EXPECT_NEAR(fugacity / (m / kh), 1.0, 0.08);
  }
}

// Water alone, or with gases that do not react, forms no ions: water's
// coefficient is ln(H x Poynting / P), about -3.48 at 25 C and 1 atm, and a
// dissolved gas gets Henry's law with its Poynting factor.
TEST(LiquidFugacity, LiquidsWithoutReactions) {
  for (int64_t kph : {0, 1}) {
    SCOPED_TRACE(kph);
    Call c = Liquid(298.15, 1.0, {1, 2, 3, 4}, {1.0, 0.0, 0.0, 0.0}, kph, 7.0);
    const double h = c.at(kLiquidWork.henry), poyn = c.at(kLiquidWork.poyn);
    EXPECT_NEAR(c.lnphi[0], std::log(h * poyn / 1.0), 1e-6);
    EXPECT_NEAR(c.lnphi[0], -3.48, 0.005);
    // Slots 2-4 at zero fraction keep the upper bound.
    for (int s = 1; s < 4; ++s) EXPECT_EQ(c.lnphi[s], std::log(1e20)) << "slot " << s + 1;
  }
  // Water with methane and nitrogen at 50 C and 5 atm.
  Call g = Liquid(323.15, 5.0, {1, 2, 3, 4, 5, 13}, {0.9995, 0.0, 0.0, 0.0, 3e-4, 2e-4});
  EXPECT_TRUE(std::isnan(GPSWLIQ.PHC));
  for (int s : {0, 4, 5}) {
    const double h = g.at(kLiquidWork.henry + s), poyn = g.at(kLiquidWork.poyn + s);
    EXPECT_NEAR(g.lnphi[s], std::log(h * poyn / 5.0), 1e-6) << "slot " << s + 1;
  }
}

// A gas from slot 5 up at zero fraction gets its infinite-dilution value;
// about 10.9 for methane at 25 C.
TEST(LiquidFugacity, ZeroFractionGasesGetTheirInfiniteDilutionValue) {
  const std::vector<int64_t> idx = {1, 2, 3, 4, 5, 12};
  for (const auto& x : {std::vector<double>{0.97, 0.02, 0.005, 0.005, 0.0, 0.0},
                        std::vector<double>{1.0, 0.0, 0.0, 0.0, 0.0, 0.0}}) {
    std::vector<double> dilute = x;
    dilute[4] = dilute[5] = 1e-12;
    const Call zero = Liquid(298.15, 1.0, idx, x);
    const Call small = Liquid(298.15, 1.0, idx, dilute);
    for (int s : {4, 5}) {
      EXPECT_LT(zero.lnphi[s], 20.0);
      EXPECT_NEAR(zero.lnphi[s], small.lnphi[s], 1e-6) << "slot " << s + 1;
    }
  }
  std::vector<double> x = {1.0 - 1e-6, 0.0, 0.0, 0.0, 1e-6};
  const Call methane = Liquid(298.15, 1.0, {1, 2, 3, 4, 5}, x);
  EXPECT_NEAR(methane.lnphi[4], 10.9, 0.1);
}

// Fewer than four slots: the missing key components count as absent, and
// nothing past the caller's arrays or its work array is touched.
TEST(LiquidFugacity, ShortSlotListsTreatMissingKeysAsAbsent) {
  const double xn = 0.01;
  const Call full = Liquid(353.15, 2.0, {1, 2, 3, 4}, {1.0 - xn, xn, 0.0, 0.0});
  const Call two = Liquid(353.15, 2.0, {1, 2}, {1.0 - xn, xn});
  EXPECT_EQ(two.lnphi[0], full.lnphi[0]);
  EXPECT_EQ(two.lnphi[1], full.lnphi[1]);
  const Call water = Liquid(353.15, 2.0, {1, 2, 3, 4}, {1.0, 0.0, 0.0, 0.0});
  const Call one = Liquid(353.15, 2.0, {1}, {1.0});
  EXPECT_EQ(one.lnphi[0], water.lnphi[0]);
  // An unknown model index: a key slot counts as absent, a later slot takes
  // no part; both get the upper bound.
  const Call odd = Liquid(353.15, 2.0, {1, 2, 0, 4, 99, 5}, {0.98, 0.01, 0.0, 0.0, 0.0, 0.01});
  EXPECT_EQ(odd.lnphi[2], kLnMax);
  EXPECT_EQ(odd.lnphi[4], kLnMax);
  const Call same = Liquid(353.15, 2.0, {1, 2, 3, 4, 5}, {0.98, 0.01, 0.0, 0.0, 0.01});
  EXPECT_EQ(odd.lnphi[5], same.lnphi[4]);
  EXPECT_EQ(odd.lnphi[1], same.lnphi[1]);
  // No slots: nothing written.
  int64_t n = 0, kph = 0;
  double t = 300.0, p = 1.0, ph = 7.0, lnphi = -1.0, x = 1.0;
  int64_t idx = 1;
  std::vector<double> work(710, -2.0);
  PPTH_PHILGPSW(&t, &p, &n, &idx, &x, &lnphi, &ph, &kph, work.data());
  EXPECT_EQ(lnphi, -1.0);
}

// Each coefficient is Henry constant x activity coefficient x Poynting
// factor x free share over P; ammonia alone carries the factor
// exp(0.39 DDS - 0.131 DDS^2) of its solvent's solubility-parameter
// difference.
TEST(LiquidFugacity, CoefficientsComposeFromTheirParts) {
  const std::vector<double> x = {0.9, 0.05, 0.03, 0.02};
  const double p = 3.0;
  Call c = Liquid(333.15, p, {1, 2, 3, 4}, x);
  const double dds = GPSWLIQ.DDS;
  ASSERT_GT(std::fabs(dds), 0.05);
  for (int s = 0; s < 4; ++s) {
    SCOPED_TRACE(s + 1);
    const double h = c.at(kLiquidWork.henry + s), g = c.at(kLiquidWork.gc + s);
    const double poyn = c.at(kLiquidWork.poyn + s), free = c.at(kLiquidWork.xcz + s);
    const double factor = s == 1 ? std::exp(0.39 * dds - 0.131 * dds * dds) : 1.0;
    EXPECT_NEAR(c.lnphi[s], std::log(h * g * poyn * factor * free / (p * x[s])), 1e-12);
  }
}

// Poynting factors: exp(f P VL / (82.05 T)), f = 1 for water and ammonia
// and 1.5 for every later slot.
TEST(LiquidFugacity, PoyntingFactors) {
  Call c = Liquid(373.15, 50.0, {1, 2, 3, 4, 5}, {0.97, 0.01, 0.01, 0.005, 0.005});
  for (int s = 0; s < 5; ++s) {
    const double vl = c.at(kLiquidWork.vl + s), poyn = c.at(kLiquidWork.poyn + s);
    const double f = s < 2 ? 1.0 : 1.5;
    EXPECT_NEAR(std::log(poyn) * 82.05 * 373.15 / (50.0 * vl), f, 1e-12) << "slot " << s + 1;
  }
}

// Bounds: a vanishing pressure drives every coefficient above 1e20; free
// ammonia that underflows to 0 gives ammonia a coefficient below 1e-20.
TEST(LiquidFugacity, Bounds) {
  const Call low = Liquid(298.15, 1e-30, {1, 2, 3, 4}, {0.98, 0.01, 0.005, 0.005});
  for (double v : low.lnphi) EXPECT_EQ(v, kLnMax);
  EXPECT_NEAR(low.lnphi[0], 46.0517018598809, 1e-13);
  const Call tiny = Liquid(298.15, 1.0, {1, 2, 3, 4}, {0.999, 1e-320, 1e-3, 0.0});
  EXPECT_EQ(tiny.lnphi[1], -kLnMax);
  for (const Call* c : {&low, &tiny}) {
    for (double v : c->lnphi) {
      EXPECT_GE(v, -kLnMax);
      EXPECT_LE(v, kLnMax);
    }
  }
}

// Twenty slots with the whole work array in use.
TEST(LiquidFugacity, TwentySlots) {
  std::vector<int64_t> idx;
  std::vector<double> x;
  for (int64_t s = 1; s <= 20; ++s) {
    idx.push_back(s <= 18 ? s : s - 13);
    x.push_back(s == 1 ? 0.9 : 0.1 / 19.0);
  }
  const Call c = Liquid(400.0, 20.0, idx, x);
  for (double v : c.lnphi) {
    EXPECT_TRUE(std::isfinite(v));
    EXPECT_LT(std::fabs(v), kLnMax);
  }
}

}  // namespace
