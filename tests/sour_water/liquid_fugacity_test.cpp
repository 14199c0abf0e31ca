// Liquid fugacity coefficients of the sour-water model: published chemistry
// (pH of ammonia and carbon dioxide solutions, ammonia partial pressures),
// how each coefficient is composed, liquids without reactions, zero
// fractions, short slot lists, bounds and the caller's work array.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sour_water_support.h"

namespace {

using namespace thermomodels;
using sw_test::KeyLiquid;
using sw_test::LiquidCall;

const double kLnMax = std::log(1e20);  // 46.0517018598809

LiquidCall Call(double t, double p, std::vector<int64_t> idx, std::vector<double> x,
                int64_t kph = 0, double ph = 7.0) {
  LiquidCall c = sw_test::PhilCall(t, p, idx, x, kph, ph);
  EXPECT_TRUE(c.work.GuardsIntact());
  return c;
}

// Ammonia at molality m [mol/kg] in water of 18.015 g/mol.
std::vector<double> Ammonia(double m) {
  const double x = m / (m + 1000.0 / 18.015);
  return KeyLiquid(x, 0.0, 0.0);
}

// sour-water-literature.md, "Solutions": 1 mol/kg ammonia at 25 C has a pH
// of about 11.6 (K_b = 10^-4.75); carbon dioxide alone at mole fraction 1e-3
// about 3.8 (Plummer and Busenberg 1982). Ammonia partial pressures at 25 C
// against Clegg and Brimblecombe, J. Phys. Chem. 93 (1989) 7237: p = m / K_H,
// ln K_H = -8.09694 + 3917.507/T - 0.00314 T [mol/(kg atm)].
TEST(LiquidFugacity, PublishedSolutionsOneByOne) {
  const double ph_ammonia = Call(298.15, 1.0, {1, 2, 3, 4}, Ammonia(1.0)).record.PHC;
  EXPECT_GE(ph_ammonia, 11.5);
  EXPECT_LE(ph_ammonia, 11.7);
  const double ph_co2 = Call(298.15, 1.0, {1, 2, 3, 4}, KeyLiquid(0, 1e-3, 0)).record.PHC;
  EXPECT_GE(ph_co2, 3.7);
  EXPECT_LE(ph_co2, 3.9);
  const double kh = std::exp(-8.09694 + 3917.507 / 298.15 - 0.00314 * 298.15);
  for (double m : {0.01, 0.03, 0.1, 0.3, 1.0}) {
    const std::vector<double> x = Ammonia(m);
    const LiquidCall c = Call(298.15, 1.0, {1, 2, 3, 4}, x);
    EXPECT_NEAR(std::exp(c.lnphi[1]) * x[1] / (m / kh), 1.0, 0.08) << m;
  }
}

// ln phi = ln(Henry x gamma x Poynting x free share / P), ammonia also
// times exp(0.39 DDS - 0.131 DDS^2); the Poynting exponent is P VL / RT for
// water and ammonia and 1.5 times that for every later slot.
TEST(LiquidFugacity, EachCoefficientComposesFromItsParts) {
  const std::vector<double> x = {0.9, 0.05, 0.03, 0.02, 1e-4};
  const double t = 333.15, p = 30.0;
  LiquidCall c = Call(t, p, {1, 2, 3, 4, 5}, x);
  const double dds = c.record.DDS;
  ASSERT_GT(std::fabs(dds), 0.05);
  for (int s = 0; s < 5; ++s) {
    SCOPED_TRACE(s + 1);
    const double poyn = c.at(kLiquidWork.poyn + s), vl = c.at(kLiquidWork.vl + s);
    EXPECT_NEAR(std::log(poyn) * 82.05 * t / (p * vl), s < 2 ? 1.0 : 1.5, 1e-12);
    const double factor = s == 1 ? std::exp(0.39 * dds - 0.131 * dds * dds) : 1.0;
    const double parts = c.at(kLiquidWork.henry + s) * c.at(kLiquidWork.gc + s) * poyn * factor *
                         c.at(kLiquidWork.xcz + s) / (p * x[s]);
    EXPECT_NEAR(c.lnphi[s], std::log(parts), 1e-12);
  }
}

// Water alone, or with gases that do not react, forms no ions: water's
// coefficient is ln(H x Poynting / P), about -3.48 at 25 C and 1 atm; a
// dissolved gas follows Henry's law. Zero fractions: slots 2-4 keep the
// upper bound; a gas from slot 5 up gets its infinite-dilution value, about
// 10.9 for methane at 25 C.
TEST(LiquidFugacity, LiquidsWithoutReactionsAndZeroFractions) {
  for (int64_t kph : {0, 1}) {
    LiquidCall c = Call(298.15, 1.0, {1, 2, 3, 4}, {1.0, 0.0, 0.0, 0.0}, kph, 7.0);
    EXPECT_NEAR(c.lnphi[0], std::log(c.at(kLiquidWork.henry) * c.at(kLiquidWork.poyn)), 1e-6);
    EXPECT_NEAR(c.lnphi[0], -3.48, 0.005);
    for (int s = 1; s < 4; ++s) EXPECT_EQ(c.lnphi[s], kLnMax) << kph << " slot " << s + 1;
  }
  LiquidCall g = Call(323.15, 5.0, {1, 2, 3, 4, 5, 13}, {0.9995, 0.0, 0.0, 0.0, 3e-4, 2e-4});
  EXPECT_TRUE(std::isnan(g.record.PHC));
  for (int s : {0, 4, 5}) {
    EXPECT_NEAR(g.lnphi[s], std::log(g.at(kLiquidWork.henry + s) * g.at(kLiquidWork.poyn + s) / 5),
                1e-6);
  }
  for (const auto& x : {std::vector<double>{0.97, 0.02, 0.005, 0.005, 0.0, 0.0},
                        std::vector<double>{1.0, 0.0, 0.0, 0.0, 0.0, 0.0}}) {
    std::vector<double> dilute = x;
    dilute[4] = dilute[5] = 1e-12;
    const LiquidCall zero = Call(298.15, 1.0, {1, 2, 3, 4, 5, 12}, x);
    const LiquidCall small = Call(298.15, 1.0, {1, 2, 3, 4, 5, 12}, dilute);
    EXPECT_NEAR(zero.lnphi[4], small.lnphi[4], 1e-6);
    EXPECT_NEAR(zero.lnphi[5], small.lnphi[5], 1e-6);
  }
  const LiquidCall methane = Call(298.15, 1.0, {1, 2, 3, 4, 5}, {1.0 - 1e-6, 0, 0, 0, 1e-6});
  EXPECT_NEAR(methane.lnphi[4], 10.9, 0.1);
}

// Fewer than four slots: the missing key components count as absent. An
// unknown model index: a key slot counts as absent, a later one takes no
// part; both get the upper bound. Bounds: a vanishing pressure drives every
// coefficient to ln 1e20; free ammonia that underflows to 0 gives ln 1e-20.
TEST(LiquidFugacity, ShortListsUnknownIndicesAndBounds) {
  const LiquidCall full = Call(353.15, 2.0, {1, 2, 3, 4}, {0.99, 0.01, 0.0, 0.0});
  const LiquidCall two = Call(353.15, 2.0, {1, 2}, {0.99, 0.01});
  EXPECT_EQ(two.lnphi[0], full.lnphi[0]);
  EXPECT_EQ(two.lnphi[1], full.lnphi[1]);
  const LiquidCall water = Call(353.15, 2.0, {1, 2, 3, 4}, {1.0, 0.0, 0.0, 0.0});
  EXPECT_EQ(Call(353.15, 2.0, {1}, {1.0}).lnphi[0], water.lnphi[0]);
  EXPECT_TRUE(Call(353.15, 2.0, {}, {}).lnphi.empty());

  const LiquidCall odd = Call(353.15, 2.0, {1, 2, 0, 4, 99, 5}, {0.98, 0.01, 0, 0, 0, 0.01});
  const LiquidCall same = Call(353.15, 2.0, {1, 2, 3, 4, 5}, {0.98, 0.01, 0, 0, 0.01});
  EXPECT_EQ(odd.lnphi[2], kLnMax);
  EXPECT_EQ(odd.lnphi[4], kLnMax);
  EXPECT_EQ(odd.lnphi[5], same.lnphi[4]);
  EXPECT_EQ(odd.lnphi[1], same.lnphi[1]);

  const LiquidCall low = Call(298.15, 1e-30, {1, 2, 3, 4}, KeyLiquid(0.01, 0.005, 0.005));
  for (double v : low.lnphi) EXPECT_EQ(v, kLnMax);
  EXPECT_NEAR(low.lnphi[0], 46.0517018598809, 1e-13);
  const LiquidCall tiny = Call(298.15, 1.0, {1, 2, 3, 4}, {0.999, 1e-320, 1e-3, 0.0});
  EXPECT_EQ(tiny.lnphi[1], -kLnMax);
}

}  // namespace
