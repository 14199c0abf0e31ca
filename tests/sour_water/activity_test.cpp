// Activity coefficients and corrected constants of the sour-water liquid:
// limits without ions and at infinite dilution, the Debye-Hueckel limiting
// law, the solubility-parameter differences, the activity quotients and the
// corrections of the working constants.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sour_water_support.h"

namespace {

using namespace thermomodels;

// Model data of the four key slots and their temperature terms at T; the
// activity routines on given amounts (slots, neutral products, ions).
struct Liquid {
  double t;
  std::vector<double> w = std::vector<double>(kLiquidWork.wscr + 100);
  double gc[kNcMax], gneut[kNneutMax], gion[kNionMax], scr[32];
  double sumx, kapp[kNreactMax], ddw, dds, gq[9];
  explicit Liquid(double temperature) : t(temperature) {
    const int64_t idx[4] = {1, 2, 3, 4};
    LoadGpsw(GPSWCOM, 4, idx, w.data() + kLiquidWork.henry);
    TdpgpswFromBlock(t, 1.0, 4, GPSWCOM, kLiquidWork, w.data(), w.data() + kLiquidWork.wscr);
  }
  const double* at(int64_t first_word) const { return w.data() + first_word; }
  void Activity(const std::vector<double>& xcz, const double* xneut, const double* xion) {
    ACTGPSW(4, kNion, kNneut, t, xion, xneut, xcz.data(), GPSWCOM.IONCHG, GPSWCOM.MW,
            at(kLiquidWork.vl), gc, gneut, gion, scr);
  }
  void Differences(const std::vector<double>& xcz, const double* xneut, const double* xion) {
    VMXGPSW(ddw, dds, 4, kNion, kNneut, t, xion, xneut, xcz.data(), at(kLiquidWork.vl),
            at(kLiquidWork.nvl), at(kLiquidWork.dsp), at(kLiquidWork.ndsp), GPSWCOM.IONVOL,
            GPSWCOM.IONVSP, GPSWCOM.IONCHG);
  }
  void Constants(const double* keq, const std::vector<double>& xcz, const double* xneut,
                 const double* xion) {
    VOLGPSW(4, kNion, kNneut, kNreact, t, keq, sumx, kapp, xion, xneut, xcz.data(),
            at(kLiquidWork.vl), at(kLiquidWork.nvl), at(kLiquidWork.dsp), at(kLiquidWork.ndsp),
            GPSWCOM.IONVOL, GPSWCOM.IONVSP, GPSWCOM.IONCHG, gc, gneut, gion, ddw, dds, gq);
  }
};

const double kNoIons[kNionMax] = {};
const double kNoProducts[kNneutMax] = {};

TEST(Activity, WithoutIonsAndAtInfiniteDilution) {
  for (double t : {298.15, 373.15, 423.15}) {
    SCOPED_TRACE(t);
    Liquid l(t);
    // Pure water: every coefficient 1.
    l.Activity({0.9, 0.0, 0.0, 0.0}, kNoProducts, kNoIons);
    for (int s = 0; s < 4; ++s) EXPECT_DOUBLE_EQ(l.gc[s], 1.0);
    for (int j = 0; j < kNion; ++j) EXPECT_DOUBLE_EQ(l.gion[j], 1.0);
    for (double g : l.gneut) EXPECT_DOUBLE_EQ(g, 1.0);
    // Ammonia at infinite dilution keeps ln gamma 0 (Henry's-law reference).
    l.Activity({1.0, 1e-14, 0.0, 0.0}, kNoProducts, kNoIons);
    EXPECT_NEAR(std::log(l.gc[1]), 0.0, 1e-10);
    // Without ions the acid gases keep gamma 1; only water and ammonia
    // carry the ammonia-water term.
    l.Activity({0.9, 0.05, 0.03, 0.02}, kNoProducts, kNoIons);
    EXPECT_DOUBLE_EQ(l.gc[2], 1.0);
    EXPECT_DOUBLE_EQ(l.gc[3], 1.0);
    EXPECT_NE(l.gc[1], 1.0);
  }
}

// Debye-Hueckel limiting law at 25 C: ln gamma(+-) = -A sqrt(m) for a 1:1
// electrolyte, A = 0.5091 kg^1/2 mol^-1/2 in log10 (Robinson and Stokes,
// Electrolyte Solutions, 2nd ed., 1959).
TEST(Activity, DiluteElectrolyteFollowsTheLimitingLaw) {
  Liquid l(298.15);
  const double molality = 1e-4;
  double xion[kNionMax] = {};
  xion[2] = xion[3] = molality;  // NH4+ HS-
  l.Activity({1000.0 / 18.015, 0.0, 0.0, 0.0}, kNoProducts, xion);
  const double ln_mean = 0.5 * (std::log(l.gion[2]) + std::log(l.gion[3]));
  EXPECT_NEAR(ln_mean / (-0.5091 * std::log(10.0) * std::sqrt(molality)), 1.0, 0.01);
  // A doubly charged ion carries four times the ln gamma of a single charge.
  EXPECT_NEAR(std::log(l.gion[4]) / std::log(l.gion[3]), 4.0, 1e-12);
}

TEST(Activity, SolubilityParameterDifferences) {
  Liquid l(350.0);
  const double* vl = l.at(kLiquidWork.vl);
  const double* dsp = l.at(kLiquidWork.dsp);
  l.Differences({0.7, 0.0, 0.0, 0.0}, kNoProducts, kNoIons);
  EXPECT_EQ(l.ddw, 0.0);
  EXPECT_EQ(l.dds, 0.0);
  // Water and ammonia only: the solvent is the whole liquid.
  l.Differences({0.9, 0.1, 0.0, 0.0}, kNoProducts, kNoIons);
  const double v1 = 0.9 * vl[0], v2 = 0.1 * vl[1];
  EXPECT_NEAR(l.dds, 0.0, 1e-13);
  EXPECT_NEAR(l.ddw, dsp[0] - (v1 * dsp[0] + v2 * dsp[1]) / (v1 + v2), 1e-12);
  // Ions weigh by the magnitude of their charge (S= counts twice).
  double xion[kNionMax] = {};
  xion[4] = 0.01;
  l.t = 298.15;  // where the ion volumes are not scaled
  l.Differences({0.7, 0.0, 0.0, 0.0}, kNoProducts, xion);
  const double vw = 0.7 * vl[0], vi = 0.02 * GPSWCOM.IONVOL[4], vid = 0.02 * GPSWCOM.IONVSP[4];
  EXPECT_NEAR(l.dds, dsp[0] - (vw * dsp[0] + vid) / (vw + vi), 1e-12);
}

TEST(Activity, CorrectedConstantsCaseByCase) {
  double keq[kNreactMax];
  for (int r = 0; r < kNreactMax; ++r) keq[r] = std::pow(10.0, r - 4);
  const std::vector<double> water = {0.8, 0.0, 0.0, 0.0};
  // Water alone at 323 K: quotients 1, DDW 0; bicarbonate gains e^0.1,
  // bisulfide e^-0.2, carbamate e^-0.4; K1 scales with the total, K5-K7
  // inversely.
  Liquid l(323.0);
  l.Activity(water, kNoProducts, kNoIons);
  l.Constants(keq, water, kNoProducts, kNoIons);
  for (int r = 0; r < kNreact; ++r) EXPECT_DOUBLE_EQ(l.gq[r], 1.0) << "reaction " << r + 1;
  const double factor[9] = {
      0.8, 1.0, std::exp(-0.2), 1.0, std::exp(0.1) / 0.8, 1.0 / 0.8, std::exp(-0.4) / 0.8,
      1.0, 1.0};
  for (int r = 0; r < kNreact; ++r) {
    EXPECT_NEAR(l.kapp[r] / keq[r], factor[r], 1e-14) << "constant " << r + 1;
  }
  // The bicarbonate exponent falls with the fourth power of (T - 323)/100.
  Liquid hot(423.0);
  hot.Activity(water, kNoProducts, kNoIons);
  hot.Constants(keq, water, kNoProducts, kNoIons);
  EXPECT_NEAR(std::log(hot.kapp[4] * 0.8 / keq[4]), 0.1 - 1.673, 1e-12);
  // Hydrogen ions raise the mean solubility parameter: DDW <= -0.25 leaves
  // the bisulfide constant uncorrected.
  double acid[kNionMax] = {};
  acid[0] = 0.01;
  l.Activity(water, kNoProducts, acid);
  l.Constants(keq, water, kNoProducts, acid);
  ASSERT_LE(l.ddw, -0.25);
  EXPECT_DOUBLE_EQ(l.kapp[2], keq[2] / l.gq[2]);
  // Each quotient carries gamma(OH-) to its reaction's power of OH-.
  for (double& g : l.gc) g = 1.0;
  for (double& g : l.gneut) g = 1.0;
  for (double& g : l.gion) g = 1.0;
  l.gion[1] = 0.8;
  l.Constants(keq, water, kNoProducts, kNoIons);
  const int oh_power[9] = {1, 1, -1, -2, -1, -2, -1, 1, 1};
  for (int r = 0; r < 9; ++r) {
    EXPECT_NEAR(std::log(l.gq[r]), oh_power[r] * std::log(0.8), 1e-14) << "reaction " << r + 1;
  }
}

}  // namespace
