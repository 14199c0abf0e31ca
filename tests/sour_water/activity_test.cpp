// Activity coefficients and corrected constants of the sour-water liquid:
// the limits without ions and at infinite dilution, the Debye-Hueckel
// limiting law, the solubility-parameter differences and the corrections
// of the working constants.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sour_water_support.h"

namespace {

using namespace thermomodels;

// Model data and temperature terms of the four key slots at T.
struct Liquid {
  double t;
  std::vector<double> terms;
  Liquid(double temperature, int64_t n = 4) : t(temperature), terms(kLiquidWork.wscr + 100) {
    std::vector<int64_t> idx;
    for (int64_t s = 1; s <= n; ++s) idx.push_back(s);
    LoadGpsw(GPSWCOM, n, idx.data(), terms.data() + kLiquidWork.henry);
    std::vector<double> scratch(100);
    TdpgpswFromBlock(t, 1.0, n, GPSWCOM, kLiquidWork, terms.data(), scratch.data());
  }
  const double* vl() const { return terms.data() + kLiquidWork.vl; }
  const double* nvl() const { return terms.data() + kLiquidWork.nvl; }
  const double* dsp() const { return terms.data() + kLiquidWork.dsp; }
  const double* ndsp() const { return terms.data() + kLiquidWork.ndsp; }
};

struct Gammas {
  double gc[kNcMax], gneut[kNneutMax], gion[kNionMax], scr[32];
};

Gammas Activity(const Liquid& l, int64_t n, const double* xion, const double* xneut,
                const double* xcz) {
  Gammas g;
  ACTGPSW(n, kNion, kNneut, l.t, xion, xneut, xcz, GPSWCOM.IONCHG, GPSWCOM.MW, l.vl(), g.gc,
          g.gneut, g.gion, g.scr);
  return g;
}

TEST(Activity, WithoutIonsEveryUnchargedTermVanishes) {
  for (double t : {298.15, 373.15, 423.15}) {
    SCOPED_TRACE(t);
    const Liquid l(t);
    const double no_ions[kNionMax] = {};
    const double no_products[kNneutMax] = {};
    // Pure water: every coefficient is 1.
    const double water[4] = {0.9, 0.0, 0.0, 0.0};
    Gammas g = Activity(l, 4, no_ions, no_products, water);
    for (int s = 0; s < 4; ++s) EXPECT_DOUBLE_EQ(g.gc[s], 1.0) << "slot " << s + 1;
    for (int j = 0; j < kNion; ++j) EXPECT_DOUBLE_EQ(g.gion[j], 1.0) << "ion " << j + 1;
    for (int k = 0; k < kNneut; ++k) EXPECT_DOUBLE_EQ(g.gneut[k], 1.0);
    // Ammonia at infinite dilution in water keeps ln gamma 0 (Henry's-law
    // reference); with the acid gases only water and ammonia carry the
    // ammonia-water term.
    const double dilute[4] = {0.95, 1e-12, 0.03, 0.02};
    g = Activity(l, 4, no_ions, no_products, dilute);
    EXPECT_NEAR(std::log(g.gc[1]),
                std::log(Activity(l, 4, no_ions, no_products,
                                  std::vector<double>{0.95, 0.0, 0.03, 0.02}.data())
                             .gc[1]),
                1e-9);
    EXPECT_DOUBLE_EQ(g.gc[2], 1.0);
    EXPECT_DOUBLE_EQ(g.gc[3], 1.0);
    for (int j = 0; j < kNion; ++j) EXPECT_DOUBLE_EQ(g.gion[j], 1.0);
    EXPECT_NEAR(std::log(g.gc[0]), 0.0, 1e-9);
    // Ammonia at infinite dilution in pure water.
    const double infinite[4] = {1.0, 1e-14, 0.0, 0.0};
    g = Activity(l, 4, no_ions, no_products, infinite);
    EXPECT_NEAR(std::log(g.gc[1]), 0.0, 1e-10);
  }
}

// Debye-Hueckel limiting law at 25 C: ln gamma(+-) = -A sqrt(m) for a 1:1
// electrolyte, A = 0.5091 kg^1/2 mol^-1/2 in log10 (Robinson and Stokes,
// Electrolyte Solutions, 2nd ed., 1959, table of A).
TEST(Activity, DiluteElectrolyteFollowsTheLimitingLaw) {
  const Liquid l(298.15);
  const double molality = 1e-4;
  const double per_kg = 1000.0 / 18.015;  // moles of water per kg
  double xion[kNionMax] = {};
  xion[2] = molality;  // NH4+
  xion[3] = molality;  // HS-
  const double xneut[kNneutMax] = {};
  const double xcz[4] = {per_kg, 0.0, 0.0, 0.0};
  const Gammas g = Activity(l, 4, xion, xneut, xcz);
  const double ln_mean = 0.5 * (std::log(g.gion[2]) + std::log(g.gion[3]));
  const double limiting = -0.5091 * std::log(10.0) * std::sqrt(molality);
  EXPECT_NEAR(ln_mean / limiting, 1.0, 0.01);
  // A doubly charged ion carries four times the ln gamma of a single charge.
  EXPECT_NEAR(std::log(g.gion[4]) / std::log(g.gion[3]), 4.0, 1e-12);
}

TEST(Activity, LimitsOfLnGamma) {
  const Liquid l(298.15);
  // An ion-only liquid: the Debye-Hueckel term drives ln gamma far below the
  // lower bound for doubly charged ions only if it exceeds it; check that
  // every coefficient stays within the bounds whatever the amounts.
  double xion[kNionMax];
  for (int j = 0; j < kNionMax; ++j) xion[j] = 1e6;
  const double xneut[kNneutMax] = {1e6, 1e6};
  const double xcz[4] = {1e-6, 1e6, 0.0, 0.0};
  const Gammas g = Activity(l, 4, xion, xneut, xcz);
  const double hi = std::exp(46.0517018598809), lo = std::exp(-46.05170186);
  for (int s = 0; s < 4; ++s) {
    EXPECT_LE(g.gc[s], hi);
    EXPECT_GE(g.gc[s], lo);
  }
  for (int j = 0; j < kNion; ++j) EXPECT_GE(g.gion[j], lo);
  EXPECT_EQ(ClampedExponent(1e300), 46.0517018598809);
  EXPECT_EQ(ClampedExponent(-1e300), -46.05170186);
  EXPECT_EQ(ClampedExponent(std::nan("")), 46.0517018598809);
}

struct Corrected {
  double sumx, kapp[kNreactMax], ddw, dds, gq[9];
};

Corrected Volume(const Liquid& l, const double* keq, const double* xion, const double* xneut,
                 const double* xcz, const Gammas& g) {
  Corrected c;
  VOLGPSW(4, kNion, kNneut, kNreact, l.t, keq, c.sumx, c.kapp, xion, xneut, xcz, l.vl(), l.nvl(),
          l.dsp(), l.ndsp(), GPSWCOM.IONVOL, GPSWCOM.IONVSP, GPSWCOM.IONCHG, g.gc, g.gneut, g.gion,
          c.ddw, c.dds, c.gq);
  return c;
}

TEST(Activity, SolubilityParameterDifferences) {
  const Liquid l(350.0);
  const double no_ions[kNionMax] = {};
  const double no_products[kNneutMax] = {};
  double ddw, dds;
  // Water alone: both differences vanish.
  const double water[4] = {0.7, 0.0, 0.0, 0.0};
  VMXGPSW(ddw, dds, 4, kNion, kNneut, l.t, no_ions, no_products, water, l.vl(), l.nvl(), l.dsp(),
          l.ndsp(), GPSWCOM.IONVOL, GPSWCOM.IONVSP, GPSWCOM.IONCHG);
  EXPECT_EQ(ddw, 0.0);
  EXPECT_EQ(dds, 0.0);
  // Water and ammonia only: the solvent is the whole liquid, DDS = 0, and
  // DDW is water's parameter less the volume-fraction mean.
  const double solvent[4] = {0.9, 0.1, 0.0, 0.0};
  VMXGPSW(ddw, dds, 4, kNion, kNneut, l.t, no_ions, no_products, solvent, l.vl(), l.nvl(), l.dsp(),
          l.ndsp(), GPSWCOM.IONVOL, GPSWCOM.IONVSP, GPSWCOM.IONCHG);
  const double v1 = 0.9 * l.vl()[0], v2 = 0.1 * l.vl()[1];
  const double mean = (v1 * l.dsp()[0] + v2 * l.dsp()[1]) / (v1 + v2);
  EXPECT_NEAR(dds, 0.0, 1e-13);
  EXPECT_NEAR(ddw, l.dsp()[0] - mean, 1e-12);
  // Ions count by the magnitude of their charge: one S= weighs as two HS-
  // would with the same per-charge data.
  double one_s[kNionMax] = {};
  one_s[4] = 0.01;
  VMXGPSW(ddw, dds, 4, kNion, kNneut, 298.15, one_s, no_products, water, l.vl(), l.nvl(), l.dsp(),
          l.ndsp(), GPSWCOM.IONVOL, GPSWCOM.IONVSP, GPSWCOM.IONCHG);
  const double vw = 0.7 * l.vl()[0];
  const double vi = 0.01 * GPSWCOM.IONVOL[4] * 2.0, vid = 0.01 * GPSWCOM.IONVSP[4] * 2.0;
  EXPECT_NEAR(dds, l.dsp()[0] - (vw * l.dsp()[0] + vid) / (vw + vi), 1e-12);
}

TEST(Activity, CorrectedConstants) {
  double keq[kNreactMax] = {};
  for (int r = 0; r < kNreact; ++r) keq[r] = std::pow(10.0, r - 4);
  const double no_ions[kNionMax] = {};
  const double no_products[kNneutMax] = {};
  const double water[4] = {0.8, 0.0, 0.0, 0.0};
  // At 323 K the bicarbonate correction is e^0.1 whatever the liquid; for
  // water alone (DDW = 0) the bisulfide factor is e^-0.2 and the carbamate
  // factor e^-0.4; every activity quotient is 1.
  const Liquid l(323.0);
  const Gammas g = Activity(l, 4, no_ions, no_products, water);
  const Corrected c = Volume(l, keq, no_ions, no_products, water, g);
  for (int r = 0; r < kNreact; ++r) EXPECT_DOUBLE_EQ(c.gq[r], 1.0) << "reaction " << r + 1;
  EXPECT_DOUBLE_EQ(c.sumx, 0.8);
  EXPECT_DOUBLE_EQ(c.kapp[0], keq[0] * 0.8);
  EXPECT_DOUBLE_EQ(c.kapp[1], keq[1]);
  EXPECT_DOUBLE_EQ(c.kapp[2], keq[2] * std::exp(-0.2));
  EXPECT_DOUBLE_EQ(c.kapp[4], keq[4] / 0.8 * std::exp(0.1));
  EXPECT_DOUBLE_EQ(c.kapp[5], keq[5] / 0.8);
  EXPECT_DOUBLE_EQ(c.kapp[6], keq[6] / 0.8 * std::exp(-0.4));
  EXPECT_DOUBLE_EQ(c.kapp[8], keq[8]);

  // The bicarbonate exponent falls with the fourth power of (T - 323)/100.
  const Liquid hot(423.0);
  const Gammas gh = Activity(hot, 4, no_ions, no_products, water);
  const Corrected ch = Volume(hot, keq, no_ions, no_products, water, gh);
  EXPECT_NEAR(std::log(ch.kapp[4] * 0.8 / keq[4]), 0.1 - 1.673, 1e-12);

  // Hydrogen ions carry a large solubility-parameter term: the mean rises
  // above water's, DDW falls to -0.25 or below and KAPP(3) is not corrected.
  double acid[kNionMax] = {};
  acid[0] = 0.01;
  const Gammas gp = Activity(l, 4, acid, no_products, water);
  const Corrected cp = Volume(l, keq, acid, no_products, water, gp);
  ASSERT_LE(cp.ddw, -0.25);
  EXPECT_DOUBLE_EQ(cp.kapp[2], keq[2] / cp.gq[2]);
}

// The quotients follow the reactions: with only the hydroxide coefficient
// away from 1, each quotient carries it to the power of OH- in its reaction.
TEST(Activity, QuotientsFollowTheReactions) {
  const Liquid l(298.15);
  Gammas g;
  for (double& v : g.gc) v = 1.0;
  for (double& v : g.gneut) v = 1.0;
  for (double& v : g.gion) v = 1.0;
  const double gamma_oh = 0.8;
  g.gion[1] = gamma_oh;
  double keq[kNreactMax];
  for (double& k : keq) k = 1.0;
  const double no_ions[kNionMax] = {};
  const double no_products[kNneutMax] = {};
  const double water[4] = {1.0, 0.0, 0.0, 0.0};
  const Corrected c = Volume(l, keq, no_ions, no_products, water, g);
  // Power of OH- on the product side minus the reactant side (model
  // constants K1..K9).
  const int oh_power[9] = {1, 1, -1, -2, -1, -2, -1, 1, 1};
  for (int r = 0; r < 9; ++r) {
    EXPECT_NEAR(std::log(c.gq[r]), oh_power[r] * std::log(gamma_oh), 1e-14) << "reaction " << r + 1;
  }
}

}  // namespace
