// Sour-water model: temperature terms and constants, activity coefficients, the virial vapour,
// component recognition, the liquid estimate from a vapour, the ionic equilibrium and the liquid
// fugacity coefficients.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "sour_water/sour_water.h"
#include "thermomodels.h"

namespace {

using namespace thermomodels;
using Doubles = std::vector<double>;
using Indices = std::vector<int64_t>;

// A work array of the stated size followed by guard words.
struct GuardedWork {
  Doubles w;
  size_t size;
  explicit GuardedWork(int64_t n) : w(n, 0.0), size(n) { w.resize(size + 64, -7.25e300); }
  double* data() { return w.data(); }
  bool GuardsIntact() const {
    return std::all_of(w.begin() + size, w.end(), [](double v) { return v == -7.25e300; });
  }
};

// Rows tagged TAG in water_vapour_virial.dat (water_vapour_virial.py).
std::vector<Doubles> Reference(const std::string& tag) {
  std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "water_vapour_virial.dat");
  std::vector<Doubles> rows;
  for (std::string line, word; std::getline(in, line);) {
    std::istringstream s(line);
    if (s >> word && word == tag)
      rows.emplace_back(std::istream_iterator<double>(s), std::istream_iterator<double>());
  }
  EXPECT_FALSE(rows.empty()) << tag;
  return rows;
}

// Temperature terms of the slots IDX at T as in the vapour WORK array; FX25 is the "f/X,25C" column
// as loaded.
struct Terms {
  GpswcomBlock block{};
  Doubles work = Doubles(kVapourWork.wscr + 80 + kNcMax, 0.0);
  double fx25[kNcMax] = {};
  Terms(double t, Indices idx) {
    const int64_t n = static_cast<int64_t>(idx.size());
    LoadGpsw(block, n, idx.data(), work.data() + kVapourWork.henry);
    std::copy_n(work.data() + kVapourWork.henry, n, fx25);
    TdpgpswFromBlock(t, 1.0, n, block, kVapourWork, work.data(), work.data() + kVapourWork.wscr);
  }
  double henry(int64_t s) const { return work[kVapourWork.henry + s - 1]; }
  double vl(int64_t s) const { return work[kVapourWork.vl + s - 1]; }
};

// From 647.3 K up, the terms of 647.29 K. At 25 C the volumes land on the table's V* (water 1.6 %,
// n-butane 3.5 %: isobutane's hard-sphere volume), with B = 0 the Henry constants on its "f/X,25C"
// (nitrogen 3.9 % below). CO2 and H2S Henry constants against water_vapour_virial.py.
TEST(TemperatureTerms, VolumesHenryAndEquilibriumConstants) {
  const Indices some = {1, 2, 3, 4, 5, 12};
  EXPECT_EQ(Terms(647.3, some).work, Terms(647.29, some).work);
  EXPECT_EQ(Terms(700.0, some).work, Terms(647.29, some).work);
  EXPECT_NE(Terms(647.28, some).work, Terms(647.29, some).work);
  const double vstar[18] = {18.07, 28,    36.3, 38,   38.1, 57,   78.1, 101.2, 98.1,
                            117.8, 117.3, 25.1, 34.6, 35.9, 65.6, 54,   56,    79.9};
  Indices all(18);
  std::iota(all.begin(), all.end(), 1);
  const Terms at25(298.15, all);
  for (int m = 1; m <= 18; ++m) {
    const double tolerance = m == 1 ? 0.016 : (m == 9 ? 0.035 : 0.005);
    EXPECT_NEAR(at25.vl(m) / vstar[m - 1], 1.0, tolerance) << "model index " << m;
  }
  EXPECT_NEAR(at25.work[kVapourWork.nvl] / 47, 1.0, 0.01);
  EXPECT_NEAR(at25.work[kVapourWork.nvl + 1] / 45, 1.0, 0.01);
  for (int64_t m : {6, 7, 8, 9, 10, 13, 15, 16, 18}) {
    const Terms gas(298.15, {1, 2, 3, 4, m});
    ASSERT_EQ(gas.block.HENB[4], 0.0);
    EXPECT_NEAR(gas.henry(5) / gas.fx25[4], 1.0, m == 13 ? 0.05 : 0.015) << "model index " << m;
  }
  for (const auto& row : Reference("henry")) {
    const Terms keys(row[0], {1, 2, 3, 4});
    EXPECT_NEAR(keys.henry(3) / row[1], 1.0, 1e-6) << row[0];
    EXPECT_NEAR(keys.henry(4) / row[2], 1.0, 1e-6) << row[0];
    EXPECT_DOUBLE_EQ(keys.henry(2),
                     std::exp(9.167 - 1268.0 / row[0] - 443050.0 / (row[0] * row[0])));
  }
  // The data reactions, typed in once more; the model constants combine them.
  const double dho[9] = {13339, -12475, -8060, -248, -11514, -9792, -3091, -11085, -4044};
  const double dsr[9] = {-19.3, 0.46, 5.08, 0.06, -3.64, -16.06, -5.39, -5.66, -16.46};
  const double al[9] = {-108, 72, 70, 170, 48.5, -12, -3.9, 1.5, 0};
  const double be[9] = {0.205, -0.213, -0.26, -0.3, -0.189, 0.015, 0, 0, 0};
  const double dse[9] = {-5.2, 0, 0, 0, 0, -5.2, 0, 0, 0};
  const GpswcomBlock& b = Terms(298.15, {1}).block;
  for (double t : {298.15, 373.15}) {
    double keq[kNreactMax], l[kNreactMax];
    EQKGPSW(t, kNreact, b.DHO, b.DSR, b.AL, b.BE, b.DSE, keq, l);
    const double fs =
        (298.15 - t) - (219.0 / 1.00322) * (1.0 - std::exp(std::exp(-12.741 + 0.01875 * t) -
                                                           0.000784 + (t - 298.15) / 219.0));
    const double fa = t * std::log(t / 298.15) - t + 298.15, fb = 0.5 * (t - 298.15) * (t - 298.15);
    for (int r = 0; r < 9; ++r) {
      const double ln_k =
          (-dho[r] + t * dsr[r] + fa * al[r] + fb * be[r] + fs * dse[r]) / (1.987 * t);
      EXPECT_NEAR(l[r], ln_k, 1e-10) << "reaction " << r + 1 << " at " << t << " K";
    }
    const double model[9] = {
        std::exp(l[0]) / 3079,        std::exp(l[0] + l[1]) / 55.49, std::exp(l[2]) * 55.49,
        std::exp(l[2] + l[3]) * 3079, std::exp(l[4]) * 55.49,        std::exp(l[4] + l[5]) * 3079,
        std::exp(l[6] + l[7]) * 3079, std::exp(-l[7]) / 55.49,       std::exp(l[8] - l[7])};
    for (int r = 0; r < 9; ++r) EXPECT_NEAR(keq[r] / model[r], 1.0, 1e-14) << "K" << r + 1;
  }
}

const double kNone[kNionMax] = {};

// The key slots at T; the activity routines on given amounts, followed by words no routine may
// read, with a scratch that is not zero.
struct Liquid {
  double t;
  Doubles w = Doubles(kLiquidWork.wscr + 100), xcz;
  double g[4 + kNneutMax + kNionMax], *gc = g, *gneut = g + 4, *gion = g + 6, scr[32], ddw, dds;
  explicit Liquid(double temperature) : t(temperature) {
    const int64_t idx[4] = {1, 2, 3, 4};
    LoadGpsw(GPSWCOM, 4, idx, w.data() + kLiquidWork.henry);
    TdpgpswFromBlock(t, 1.0, 4, GPSWCOM, kLiquidWork, w.data(), w.data() + kLiquidWork.wscr);
  }
  const double* at(int64_t first_word) const { return w.data() + first_word; }
  void Activity(const Doubles& molecules, const double* xion) {
    xcz = molecules;
    xcz.resize(kNcMax, 1e3);
    std::fill_n(scr, 32, 5.0);
    ACTGPSW(4, kNion, kNneut, t, xion, kNone, xcz.data(), GPSWCOM.IONCHG, GPSWCOM.MW,
            at(kLiquidWork.vl), gc, gneut, gion, scr);
    VMXGPSW(ddw, dds, 4, kNion, kNneut, t, xion, kNone, xcz.data(), at(kLiquidWork.vl),
            at(kLiquidWork.nvl), at(kLiquidWork.dsp), at(kLiquidWork.ndsp), GPSWCOM.IONVOL,
            GPSWCOM.IONVSP, GPSWCOM.IONCHG);
  }
};

// Without ions: ammonia at infinite dilution has ln gamma 0, acid gases 1; water and ammonia obey
// Gibbs-Duhem and are the solvent. An ion adds, weighed by its charge, its volume (times 1 - 0.0002
// (298.15 K - T)) and "V(SOL.P.)" to the mean solubility parameter. Ions: the limiting law at 25 C,
// ln gamma = -A z^2 sqrt(m), A = 0.5091 in log10 (Robinson and Stokes 1959); beyond it,
// water_vapour_virial.py.
TEST(Activity, CoefficientsAndSolubilityParameters) {
  const double vol[9] = {1, 18, 17.5, 26.2, 12, 31.3, 13.8, 31, 7};
  const double vsp[9] = {520, 498, 460, 0, 511, 700, 379, 500, 713};
  for (double t : {280.0, 350.0, 423.15}) {
    Liquid l(t);
    const double *vl = l.at(kLiquidWork.vl), *dsp = l.at(kLiquidWork.dsp);
    l.Activity({0.7, 0.0, 0.0, 0.0}, kNone);
    EXPECT_EQ(Doubles(l.g, l.g + 15), Doubles(15, 1.0));
    EXPECT_NEAR(std::fabs(l.ddw) + std::fabs(l.dds), 0.0, 1e-13);
    l.Activity({1.0, 1e-14, 0.0, 0.0}, kNone);
    EXPECT_NEAR(std::log(l.gc[1]), 0.0, 1e-10) << t;
    l.Activity({0.9, 0.1, 0.0, 0.0}, kNone);
    const double v1 = 0.9 * vl[0], v2 = 0.1 * vl[1];
    EXPECT_NEAR(l.dds, 0.0, 1e-13);
    EXPECT_NEAR(l.ddw, dsp[0] - (v1 * dsp[0] + v2 * dsp[1]) / (v1 + v2), 1e-12);
    for (double xa : {0.05, 0.3}) {
      Doubles lg[2];
      for (int k = 0; k < 2; ++k) {
        l.Activity({1.0 - xa - (2 * k - 1) * 1e-5, xa + (2 * k - 1) * 1e-5, 0.0, 0.0}, kNone);
        lg[k] = {std::log(l.gc[0]), std::log(l.gc[1])};
      }
      EXPECT_NEAR((1 - xa) * (lg[1][0] - lg[0][0]) + xa * (lg[1][1] - lg[0][1]), 0.0, 1e-12) << xa;
    }
    for (int j = 0; j < kNion; ++j) {
      double xion[kNionMax] = {};
      xion[j] = j == 4 || j == 6 ? 0.005 : 0.01;
      l.Activity({0.7, 0.0, 0.0, 0.0}, xion);
      const double vw = 0.7 * vl[0], vi = 0.01 * vol[j] * (1.0 - 0.0002 * (298.15 - t));
      EXPECT_NEAR(l.dds, dsp[0] - (vw * dsp[0] + 0.01 * vsp[j]) / (vw + vi), 1e-12) << j;
    }
  }
  Liquid l(298.15);
  const double molality = 1e-4;
  double xion[kNionMax] = {};
  xion[2] = xion[3] = molality;  // NH4+ HS-
  l.Activity({1000.0 / 18.015, 0.0, 0.0, 0.0}, xion);
  EXPECT_NEAR(std::log(l.gion[3]) / (-0.5091 * std::log(10.0) * std::sqrt(molality)), 1.0, 0.01);
  for (int j = 0; j < kNion; ++j) {
    const double charge = j == 4 || j == 6 ? 2.0 : 1.0;
    EXPECT_NEAR(std::log(l.gion[j]) / std::log(l.gion[3]), charge * charge, 1e-12) << j;
  }
  for (const auto& row : Reference("ion")) {
    Liquid hot(row[0]);
    xion[2] = xion[3] = 0.5 * row[2];
    hot.Activity({row[1], 0.0, 0.0, 0.0}, xion);
    EXPECT_NEAR(std::log(hot.gion[2]), row[3], 1e-9) << row[0];
  }
}

// Quotients carry each gamma to its power in the reaction (NU). Working constants: K over it, K1
// times the total S, K5-K7 over S; bisulfide times exp(-0.2 - DDW / (0.478 DDW + 1.384)) unless DDW
// <= -0.25, bicarbonate exp(0.1 - 1.673 ((T - 323 K) / 100 K)^4), carbamate exp(-0.4 - DDW).
TEST(Activity, CorrectedConstants) {
  // Over H2O NH3 CO2 H2S | H+ OH- NH4+ HS- S= HCO3- CO3= CBA- NA+ | CBAH UREA.
  // clang-format off
  const int nu[9][15] = {{-1, 0, 0, 0, 1, 1}, {-1, -1, 0, 0, 0, 1, 1}, {1, 0, 0, -1, 0, -1, 0, 1},
      {2, 0, 0, -1, 0, -2, 0, 0, 1}, {0, 0, -1, 0, 0, -1, 0, 0, 0, 1},
      {1, 0, -1, 0, 0, -2, 0, 0, 0, 0, 1}, {1, -1, -1, 0, 0, -1, 0, 0, 0, 0, 0, 1},
      {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, -1, 0, 1}, {0, -1, 0, 0, 0, 1, 0, 0, 0, 0, 0, -1, 0, 0, 1}};
  // clang-format on
  double ln_gamma[15], gamma[16];
  for (int s = 0; s < 15; ++s) gamma[s] = std::exp(ln_gamma[s] = (s % 2 ? 0.01 : -0.02) * (s + 1));
  const double keq[9] = {1e-4, 1e-3, 0.01, 0.1, 1, 10, 100, 1e3, 1e4};
  const double vl[2] = {1, 1}, xcz[2] = {0.6, 0.2}, none[kNionMax] = {};
  for (auto [t, ddw] : {std::pair{323.0, -0.255}, {323.0, -0.245}, {373.0, 0.1}, {423.0, -0.5}}) {
    const double dsp[2] = {0.0, -4.0 * ddw}, tau = (t - 323.0) / 100.0;
    double sumx, kapp[kNreactMax], ddw_out, dds, gq[9];
    VOLGPSW(2, kNion, kNneut, kNreact, t, keq, sumx, kapp, none, none, xcz, vl, none, dsp, none,
            GPSWCOM.IONVOL, GPSWCOM.IONVSP, GPSWCOM.IONCHG, gamma, gamma + 13, gamma + 4, ddw_out,
            dds, gq);
    ASSERT_TRUE(std::fabs(ddw_out - ddw) < 1e-15 && sumx == 0.8);
    double factor[9] = {0.8, 1, 1, 1, 1 / 0.8, 1 / 0.8, 1 / 0.8, 1, 1};
    if (ddw > -0.25) factor[2] = std::exp(-0.2 - ddw / (0.478 * ddw + 1.384));
    factor[4] *= std::exp(0.1 - 1.673 * std::pow(tau, 4));
    factor[6] *= std::exp(-0.4 - ddw);
    for (int r = 0; r < 9; ++r) {
      double ln_q = 0.0;
      for (int s = 0; s < 15; ++s) ln_q += nu[r][s] * ln_gamma[s];
      EXPECT_NEAR(std::log(gq[r]), ln_q, 1e-14) << "reaction " << r + 1;
      EXPECT_NEAR(kapp[r] / keq[r] * gq[r] / factor[r], 1.0, 1e-14) << "K" << r + 1 << " at " << t;
    }
  }
}

Doubles VapourLnPhi(double t, double p, Indices idx, Doubles y, GuardedWork* work_out = nullptr) {
  const int64_t n = static_cast<int64_t>(idx.size());
  GuardedWork local(606 + n);
  GuardedWork& work = work_out ? *work_out : local;
  Doubles lnphi(n, -99.0);
  PPTH_PHIVGPSW(&t, &p, &n, idx.data(), y.data(), lnphi.data(), work.data());
  EXPECT_TRUE(work.GuardsIntact());
  return lnphi;
}

// Pure water vapour and every component dilute in it: water_vapour_virial.py. Dense hydrogen (B >
// 0): ln phi = 10 (the cap) - ln Z, Z of the cubic's root. Slots with a model index outside 1..18
// or beyond 20 take no part and get ln 1e20, as does every slot when T or P is not positive and
// finite.
TEST(Vapour, CubicRootCapAndInvalidInput) {
  Indices idx(18);
  std::iota(idx.begin(), idx.end(), 1);
  Doubles y(18, 0.0);
  y[0] = 1.0;
  for (const auto& row : Reference("pure")) {
    EXPECT_NEAR(VapourLnPhi(row[0], row[1], {1}, {1.0})[0], row[2], 1e-6) << row[1];
  }
  for (const auto& row : Reference("dilute")) {
    const Doubles lnphi = VapourLnPhi(row[0], row[1], idx, y);
    for (int m = 0; m < 18; ++m) EXPECT_NEAR(lnphi[m], row[2 + m], 1e-6) << m + 1 << " " << row[0];
  }
  const double t = 300.0, p = 4000.0, rt = 82.05 * t;
  GuardedWork work(606 + 1);
  const double lnphi = VapourLnPhi(t, p, {12}, {1.0}, &work)[0];
  const double b = work.data()[kVapourWork.bij];
  const double c = GPSWCOM.CRED[0] * GPSWCOM.RTCPC[0] * GPSWCOM.RTCPC[0];
  double lo = 1.0, hi = rt / p * 100.0;  // P(V) falls monotonically: bisect
  for (int k = 0; k < 200; ++k) {
    const double v = 0.5 * (lo + hi);
    (rt / v * (1.0 + b / v + c / (v * v)) > p ? lo : hi) = v;
  }
  ASSERT_GT(2.0 * b / lo + 4.5 * c / (lo * lo), 10.0);
  EXPECT_NEAR(lnphi, 10.0 - std::log(p * lo / rt), 1e-6);
  // Methane at 400 K and 1 atm: ln phi = B P / RT, B = -15.5 cm3/mol (Dymond and Smith, The Virial
  // Coefficients of Pure Gases and Mixtures, 1980); nitrogen's B is +9.
  EXPECT_NEAR(VapourLnPhi(400.0, 1.0, {1, 5}, {0.0, 1.0})[1] * 82.05 * 400.0 / -15.5, 1.0, 0.15);
  EXPECT_NEAR(VapourLnPhi(400.0, 1.0, {1, 13}, {0.0, 1.0})[1] * 82.05 * 400.0 / 9.0, 1.0, 0.15);
  const double upper = std::log(1e20);
  EXPECT_EQ(VapourLnPhi(373.15, 10.0, {1, 2, 3, 4}, {0, 0, 0, 0}), Doubles(4, 0.0));
  const Doubles clean = VapourLnPhi(400.0, 5.0, {1, 2, 3, 4, 5}, {0.6, 0.1, 0.1, 0.1, 0.1});
  const Doubles mixed =
      VapourLnPhi(400.0, 5.0, {1, 2, 0, 3, 4, 19, 5, -3}, {0.6, 0.1, 0.7, 0.1, 0.1, 0.2, 0.1, 0.3});
  EXPECT_EQ(mixed,
            Doubles({clean[0], clean[1], upper, clean[2], clean[3], upper, clean[4], upper}));
  idx.assign(24, 13);
  idx[0] = 1;
  const Doubles many = VapourLnPhi(373.15, 10.0, idx, Doubles(24, 0.04));
  EXPECT_EQ(many, VapourLnPhi(373.15, 10.0, idx, Doubles(24, 0.04)));
  for (int s = 0; s < 24; ++s) EXPECT_TRUE(s < 20 ? std::fabs(many[s]) < 1.0 : many[s] == upper);
  for (double v : {double(NAN), -1.0, 0.0, double(INFINITY)}) {
    EXPECT_EQ(VapourLnPhi(v, 1.0, {1, 2}, {0.5, 0.5}), Doubles(2, upper)) << v;
    EXPECT_EQ(VapourLnPhi(300.0, v, {1, 2}, {0.5, 0.5}), Doubles(2, upper)) << v;
  }
  const Doubles clamped = {ClampedLog(NAN), ClampedLog(1e30), ClampedLog(0.0), ClampedLog(2.0)};
  EXPECT_EQ(clamped, Doubles({upper, upper, -upper, std::log(2.0)}));
}

// Aliases by host number: three words of four characters padded to 8 bytes.
std::vector<unsigned char> AliasArray(const std::vector<std::string>& texts) {
  std::vector<unsigned char> out(24 * texts.size(), ' ');
  for (size_t i = 0; i < texts.size(); ++i) {
    for (size_t k = 0; k < texts[i].size(); ++k) out[24 * i + 8 * (k / 4) + k % 4] = texts[i][k];
  }
  return out;
}

// Host components 1..8 are H2O H3N CO2 H2S CH4 N2 AR C2H6; X and Y as the caller leaves them, else
// 0.375 and 0.625 each.
struct Estimate {
  int64_t iflag;
  double p;
  Doubles x, y;
};
Estimate Estimated(double t, Indices idx, Doubles z, int64_t kode, double p = 2e5, Doubles x0 = {},
                   Doubles y0 = {}) {
  const auto pool = AliasArray({"H2O", "H3N", "CO2", "H2S", "CH4", "N2", "AR", "C2H6"});
  std::memcpy(DMS_PLEX.words, pool.data(), pool.size());
  const int64_t nc = static_cast<int64_t>(idx.size());
  Estimate e{-9, p, x0.empty() ? Doubles(nc, 0.375) : x0, y0.empty() ? Doubles(nc, 0.625) : y0};
  GuardedWork work(80 + 20);
  PPTH_INFLGPSW(&t, &e.p, &nc, idx.data(), z.data(), e.x.data(), e.y.data(), nullptr, &kode,
                work.data(), &e.iflag);
  EXPECT_TRUE(work.GuardsIntact());
  return e;
}

// No estimate (IFLAG 0): X, Y and P as the caller left them.
TEST(LiquidEstimate, CasesWithoutAnEstimateLeaveEverythingAlone) {
  const double big = std::numeric_limits<double>::max();
  const std::tuple<const char*, Indices, Doubles, Doubles> cases[] = {
      {"water and methane only", {1, 5}, {0.5, 0.5}, {}},
      {"no water", {2, 3, 4}, {0.3, 0.3, 0.4}, {}},
      {"water alone", {1}, {1.0}, {}},
      {"empty list", {}, {}, {}},
      {"recognised vapour sums to zero", {1, 2, 7}, {0.0, 0.0, 1.0}, {}},
      {"ammonia-rich vapour: no water left", {1, 2}, {0.01, 0.99}, {}},
      {"host numbers outside the pool", {1, 0, -2}, {0.5, 0.3, 0.2}, {}},
      {"infinite vapour fraction", {1, 2}, {INFINITY, 0.5}, {}},
      {"negative vapour fraction", {1, 2}, {0.5, -0.4}, {}},
      {"water listed twice, nothing else", {1, 1}, {0.5, 0.5}, {}},
      {"caller's X negative", {7, 7, 1, 2}, {0, 0, 0.9, 0.1}, {big, -big, 0, 0}}};
  for (const auto& [what, idx, z, x0] : cases) {
    const Estimate e = Estimated(353.15, idx, z, 5, 12345.0, x0);
    EXPECT_TRUE(e.iflag == 0 && e.p == 12345.0) << what;
    EXPECT_EQ(e.x, x0.empty() ? Doubles(idx.size(), 0.375) : x0) << what;
    EXPECT_EQ(e.y, Doubles(idx.size(), 0.625)) << what;
  }
}

// P is water's Henry constant over water's share (KODE 5 only). The ions satisfy both mass-action
// laws and electroneutrality, the molecules Henry's law.
TEST(LiquidEstimate, PressureIonisationAndHenrysLaw) {
  const Estimate e = Estimated(298.15, {1, 2}, {1.0, 0.0}, 5),
                 other = Estimated(298.15, {1, 2}, {1.0, 0.0}, 4, 7.0e5);
  EXPECT_NEAR(e.p, 3115.0, 1.0);  // over pure water vapour at 25 C
  EXPECT_TRUE(e.iflag == 1 && other.p == 7.0e5 && other.x == e.x && other.y == e.y);

  const double t = 330.0;
  const Doubles z = {0.6, 0.2, 0.1, 0.05, 0.05};
  const Estimate m = Estimated(t, {1, 2, 3, 4, 5}, z, 5);
  const Terms terms(t, {1, 2, 3, 4, 5});
  const GpswcomBlock& b = terms.block;
  const double* h = terms.work.data() + kVapourWork.henry;
  double keq[kNreactMax], lnk[kNreactMax];
  EQKGPSW(t, kNreact, b.DHO, b.DSR, b.AL, b.BE, b.DSE, keq, lnk);
  const double p_atm = h[0] / z[0];
  EXPECT_NEAR(m.p, 100000.0 * p_atm / 0.98684, 1e-9 * m.p);
  const double mn = z[1] * p_atm / h[1], mc = z[2] * p_atm / h[2], ms = z[3] * p_atm / h[3];
  const double a = m.x[1] - mn, bic = m.x[2] - mc, d = m.x[3] - ms;
  EXPECT_NEAR(a, bic + d, 1e-12);
  EXPECT_NEAR(a * bic / (keq[1] * keq[4] * mn * mc), 1.0, 1e-9);
  EXPECT_NEAR(a * d / (keq[1] * keq[2] * mn * ms), 1.0, 1e-9);
  EXPECT_NEAR(m.x[4], z[4] * p_atm / h[4], 1e-12 * m.x[4]);
  EXPECT_EQ(m.y, z);
  EXPECT_NEAR(m.x[0] + m.x[1] + m.x[2] + m.x[3] + m.x[4], 1.0, 1e-14);
  // A component outside the model keeps the caller's X and Y, normalised with the rest; a host
  // number beyond the pool is not recognised.
  const Indices idx = {7, 1, 2};  // argon is not in the model
  const Doubles zo = {0.3, 0.5, 0.2}, zero_x = {0.0, 0.5, 0.5};
  const Estimate zero = Estimated(320.0, idx, zo, 0, 1e5, zero_x, zero_x);
  EXPECT_TRUE(zero.iflag == 1 && zero.x[0] == 0.0 && zero.y[0] == 0.0);
  EXPECT_NEAR(zero.y[1], 0.5 / 0.7, 1e-15);
  const Estimate tenth = Estimated(320.0, idx, zo, 0, 1e5, {0.1, 0.5, 0.5}, {0.1, 0.5, 0.5});
  EXPECT_NEAR(tenth.x[0], 0.1 / 1.1, 1e-6);
  Estimated(400.0, {1, 3, 4, 5, 6, 8}, {0.4, 0.1, 0.1, 0.1, 0.1, 0.2}, 5);
  const int64_t beyond_pool = TM_PLEX_WORDS / 3 + 1;
  EXPECT_EQ(Estimated(320.0, {beyond_pool, 1, 2}, zo, 0, 1e5, zero_x, zero_x).x, zero.x);
  EXPECT_EQ(Estimated(320.0, idx, zo, 0, 1e5, zero_x, zero_x).x, zero.x);
}

// NGPSW, NKEY, NREC, IWAT, the POS of the slots in use, their model indices from slot 5 (1-4 hold
// 1-4); host numbers are list positions unless given.
TEST(Chkcmp, SlotMaps) {
  const std::tuple<std::vector<std::string>, Indices, int64_t, Indices> cases[] = {
      {{"CH4", "H3N", "H2O"}, {}, 0, {5, 2, 3, 3, 3, 2, 0, 0, 1, 5}},
      {{"CH4", "H3N", "H2O"}, {}, 1, {4, 2, 2, 3, 3, 2, 0, 0}},  // keys only
      {{"CO2", "N2", "H2S"}, {}, 0, {5, 2, 3, 0, 0, 0, 1, 3, 2, 13}},
      {{"H2S", "CO2", "H3N", "H2O"}, {}, 0, {4, 4, 4, 4, 4, 3, 2, 1}},
      {{"H2O", "CH4", "H2O"}, {}, 0, {5, 2, 3, 3, 3, 0, 0, 0, 2, 5}},
      {{"CH4", "H2O", "CH4"}, {}, 0, {6, 1, 3, 2, 2, 0, 0, 0, 1, 3, 5, 5}},
      {{"h2o", "Ch4", "H3N"}, {}, 0, {4, 1, 1, 0, 0, 3, 0, 0}},
      {{}, {}, 0, {4, 0, 0, 0, 0, 0, 0, 0}},
      {{"CH4", "N2", "H2O"}, {3, 1}, 0, {5, 1, 2, 1, 1, 0, 0, 0, 2, 5}},
      {{"H2O", "CH4"}, {1, 0, -4, 2}, 0, {5, 1, 2, 1, 1, 0, 0, 0, 4, 5}},
      {{"H2O", "CH4", "C2H6", "C3H8", "C4H10-2", "C4H10-1", "C5H12-2", "C5H12-1", "H2", "N2", "CO",
        "CS2", "COS", "CH4S", "C2H6S-1"},
       {},
       0,
       {18, 1,  15, 1,  1, 0, 0, 0, 2, 3,  4,  5,  6,  7,  8,  9,  10, 11,
        12, 13, 14, 15, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}}};
  for (auto [aliases, idx, kopt, want] : cases) {
    for (size_t i = 1; i <= aliases.size() && idx.size() < i; ++i) idx.push_back(i);
    const auto alias = AliasArray(aliases);
    const int64_t nc = static_cast<int64_t>(idx.size());
    Indices out(4), modidx(20, -5), pos(20, 0);
    PPTH_CHKCMP(&nc, idx.data(), &out[0], modidx.data(), pos.data(), alias.data(), &out[1], &out[2],
                &out[3], &kopt);
    out.insert(out.end(), pos.begin(), pos.begin() + out[0]);
    out.insert(out.end(), modidx.begin() + 4, modidx.begin() + out[0] + 1);
    want.push_back(-5);
    EXPECT_EQ(Indices(modidx.begin(), modidx.begin() + 4), Indices({1, 2, 3, 4}));
    EXPECT_EQ(out, want) << aliases.size();
  }
  // Bytes 5-8 of a word must be blanks; an absent key keeps the caller's POS; past 20 slots further
  // entries are ignored.
  std::vector<std::string> aliases = {"H2O", "CH4"};
  aliases.resize(31, "N2");
  auto alias = AliasArray(aliases);
  alias[24 + 5] = 'x';
  Indices idx(31), modidx(20), pos(20, 0);
  std::iota(idx.begin(), idx.end(), 1);
  pos[1] = 77;
  pos[3] = 66;
  int64_t nc = 31, kopt = 0, ngpsw, nkey, nrec, iwat;
  PPTH_CHKCMP(&nc, idx.data(), &ngpsw, modidx.data(), pos.data(), alias.data(), &nkey, &nrec, &iwat,
              &kopt);
  EXPECT_TRUE(ngpsw == 20 && nrec == 17 && pos[1] == 77 && pos[3] == 66 && pos[4] == 3);
  EXPECT_EQ(pos[19], 18);
}

// A liquid call with the record of its ionic equilibrium.
struct LiquidCall {
  Doubles lnphi;
  GuardedWork work;
  GpswLiquidSaved record;
  double* area(int64_t first_word) { return work.data() + first_word; }
  double at(int64_t first_word) { return *area(first_word); }
};

LiquidCall PhilCall(double t, double p, Indices idx, Doubles x, int64_t kph = 0, double ph = 7.0) {
  const int64_t n = static_cast<int64_t>(idx.size());
  LiquidCall c{Doubles(n, -1.0), GuardedWork(710 + n), {}};
  PPTH_PHILGPSW(&t, &p, &n, idx.data(), x.data(), c.lnphi.data(), &ph, &kph, c.work.data());
  c.record = GPSWLIQ;
  EXPECT_TRUE(c.work.GuardsIntact());
  return c;
}

// Water, ammonia, carbon dioxide and hydrogen sulfide.
Doubles KeyLiquid(double a, double c, double h) { return {1.0 - a - c - h, a, c, h}; }

double& At(Doubles& a, int i, int j) { return a[(i - 1) + (j - 1) * kAmatRows]; }

Doubles Solved(Doubles a) {
  double b[9], y[9];
  LINGPSW(a.data(), b, y);
  return a;
}

TEST(IonEquilibrium, LinearStepEqualsADenseSolve) {
  // The 23 coefficients of the pattern; rows 1 and 2 are unit rows.
  const int pattern[][2] = {{3, 4}, {4, 3}, {5, 6}, {5, 7}, {6, 5}, {6, 7}, {7, 5},
                            {7, 6}, {7, 8}, {7, 9}, {8, 7}, {8, 9}, {9, 7}, {9, 8}};
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> off(-1.0, 1.0), diag(1.0, 3.0), rhs(-10.0, 10.0);
  for (int trial = 0; trial < 200; ++trial) {
    Doubles a(kAmatRows * kAmatCols, 0.0);
    At(a, 1, 1) = At(a, 2, 2) = 1.0;
    for (int i = 3; i <= 9; ++i) At(a, i, i) = diag(rng);
    for (const auto& e : pattern) At(a, e[0], e[1]) = off(rng);
    for (int i = 1; i <= 9; ++i) At(a, i, 10) = rhs(rng);
    Doubles s = Solved(a);  // the solution in column 10: residual of A y = b
    for (int i = 1; i <= 9; ++i) {
      double r = At(a, i, 10), scale = std::fabs(r);
      for (int j = 1; j <= 9; ++j) {
        r -= At(a, i, j) * At(s, j, 10);
        scale += std::fabs(At(a, i, j) * At(s, j, 10));
      }
      ASSERT_LE(std::fabs(r), 1e-13 * scale) << "trial " << trial << ", row " << i;
    }
  }
  // Zero pivots leave their components at 0: a zero system solves only the unit rows.
  Doubles a(kAmatRows * kAmatCols, 0.0);
  for (int i = 1; i <= 9; ++i) At(a, i, 10) = i;
  At(a, 1, 1) = At(a, 2, 2) = 1.0;
  const Doubles s = Solved(a);
  EXPECT_EQ(Doubles(s.begin() + 9 * kAmatRows, s.begin() + 9 * kAmatRows + 9),
            Doubles({1, 2, 0, 0, 0, 0, 0, 0, 0}));
}

// Fractions sum to 1; charge and the nitrogen (urea carries two), carbon and sulfur balances hold;
// CO3= obeys its mass action (CO2 + 2 OH- = CO3= + H2O). Besides a grid, two neighbouring liquids
// at 610 K whose searches once ended far apart, and a liquid whose nitrogen balance was 551 % off.
TEST(IonEquilibrium, SolvedLiquidsKeepTheirBalances) {
  const Doubles liquids[] = {
      KeyLiquid(1e-4, 0, 0),       KeyLiquid(0.05, 0, 0),         KeyLiquid(0, 1e-4, 0),
      KeyLiquid(0, 0.05, 0),       KeyLiquid(0, 0, 1e-4),         KeyLiquid(0, 0, 0.05),
      KeyLiquid(1e-4, 1e-4, 1e-4), KeyLiquid(0.01, 0.005, 0.005), KeyLiquid(0.05, 0.03, 0.02),
      KeyLiquid(0.02, 0.05, 1e-3), KeyLiquid(1e-3, 5e-4, 0.05)};
  std::vector<std::tuple<double, double, Doubles>> cases = {
      {610.0, 207.7280859329105, {0.9719844, 0.0175109, 0.0017511, 0.0087555}},
      {610.0, 207.7280859329105, {0.9719831, 0.0175105, 0.0017511, 0.0087553}},
      {396.15, 40.0, {0.9105, 6.7e-7, 2.5e-6, 0.0895}}};
  for (double t : {298.15, 373.15, 423.15}) {
    for (const auto& x : liquids) cases.emplace_back(t, t > 400 ? 10.0 : 1.0, x);
  }
  const double charge[9] = {1, -1, 1, -1, -2, -1, -2, -1, 1};
  Doubles ln_phi_nh3;
  for (const auto& [t, p, x] : cases) {
    SCOPED_TRACE(::testing::Message() << "T " << t << " x " << x[1] << " " << x[2] << " " << x[3]);
    LiquidCall c = PhilCall(t, p, {1, 2, 3, 4}, x);
    const double *i = c.area(kLiquidWork.xion), *u = c.area(kLiquidWork.xneut);
    const double *m = c.area(kLiquidWork.xcz), total = c.record.species_total;
    double sum = m[0] + m[1] + m[2] + m[3] + u[0] + u[1], net = 0.0;
    for (int j = 0; j < 9; ++j) {
      sum += i[j];
      net += charge[j] * i[j];
    }
    EXPECT_NEAR(sum, 1.0, 1e-14);
    EXPECT_LE(std::fabs(net), 1e-4 * (x[1] + x[2] + x[3]) / total);
    const double elements[3] = {(m[1] + i[2] + i[7] + u[0] + 2.0 * u[1]) * total,
                                (m[2] + i[5] + i[6] + i[7] + u[0] + u[1]) * total,
                                (m[3] + i[3] + i[4]) * total};
    for (int e = 0; e < 3; ++e) {
      EXPECT_NEAR(x[e + 1] > 0 ? elements[e] / x[e + 1] : 1.0, 1.0, 1e-6) << "element " << e;
    }
    ln_phi_nh3.push_back(c.lnphi[1]);
    const double *g = c.area(kLiquidWork.gion), *gm = c.area(kLiquidWork.gc);
    if (x[2] > 0 && i[6] > 0) {
      const double q6 = i[6] * g[6] * m[0] * gm[0] / (m[2] * gm[2] * std::pow(i[1] * g[1], 2));
      EXPECT_NEAR(std::log(q6 / c.at(kLiquidWork.keq + 5)), 0.0, 0.02);
    }
  }
  EXPECT_NEAR(ln_phi_nh3[0], ln_phi_nh3[1], 1e-3);
}

// Without water no solve closes the nitrogen balance: each runs to its cap.
TEST(IonEquilibrium, ClosingTheBalancesIsBounded) {
  const LiquidCall c =
      PhilCall(618.64348102155748, 0.001153778370633337, {1, 2}, {0.0, 0.4823376821545739});
  EXPECT_LE(c.record.inner_iterations, kMaxPhSolves * 10 + kMaxBalanceSolves * 60);
}

// Loops end by their caps, also without ammonia or with ammonia whose free start underflows. An
// imposed pH is used as given (H+ 10^-pH mol/kg of water) with one solve; above the liquid's own pH
// a base balances it (below, an acid the final floor sets to 0).
TEST(IonEquilibrium, PhSearchImposedPhAndCaps) {
  const std::tuple<Doubles, int64_t, double> cases[] = {
      {{1.0, 0, 0, 0}, 0, -1.0},          {{1.0, 0, 0, 0}, 1, 7.0},
      {{1.0, 0, 0, 0}, 1, 3.0},           {KeyLiquid(0, 1e-3, 0), 0, 0.0},
      {KeyLiquid(0, 1e-3, 0), 1, 7.0},    {KeyLiquid(0, 0, 1e-3), 0, 0.0},
      {KeyLiquid(0.01, 0, 0), 0, 0.0},    {KeyLiquid(0.01, 0.005, 0.005), 0, 0.0},
      {{1.0, 1e-320, 0, 0}, 0, -1.0},     {{1.0, 1e-317, 0, 0}, 0, -1.0},
      {{0.999, 1e-320, 1e-3, 0}, 0, -1.0}};
  for (const auto& [x, kph, ph] : cases) {
    SCOPED_TRACE(::testing::Message() << x[1] << " " << x[2] << " " << x[3] << " " << ph);
    GPSWLIQ.ph_slope = GPSWLIQ.nh3_slope = 0.0;  // the secant slopes as at load
    const LiquidCall c = PhilCall(298.15, 1.0, {1, 2, 3, 4}, x, kph, kph == 1 ? ph : 7.0);
    const GpswLiquidSaved& r = c.record;
    EXPECT_LE(r.ph_solves, kph == 1 ? 1 : kMaxPhSolves + kMaxBalanceSolves);
    EXPECT_LE(r.inner_iterations, r.ph_solves * (kph == 1 ? 40 : 200));
    EXPECT_LE(r.relaxation_passes, r.inner_iterations * 50);
    EXPECT_EQ(x[1] * 1e-6 > 0 ? 0 : r.ammonia_halvings, 0);
    EXPECT_NEAR(c.lnphi[0], std::log(1.0 / x[0]) - 3.4815, 0.02);
    EXPECT_NEAR(kph == 1 ? r.XH * 55.49 / x[0] * std::pow(10.0, ph) : 1.0, 1.0, 6e-5);
    if (kph == 1 || ph < 0) continue;
    for (double imposed : {2.5, r.PHC - 1.0, r.PHC + 1.0, 13.5}) {
      LiquidCall i = PhilCall(298.15, 1.0, {1, 2, 3, 4}, x, 1, imposed);
      const GpswLiquidSaved& q = i.record;
      EXPECT_TRUE(q.PHC == imposed && q.ph_solves == 1 && q.inner_iterations <= 40);
      const double sodium = i.area(kLiquidWork.xion)[8];
      EXPECT_TRUE(imposed > r.PHC ? sodium > 0.0 : sodium == 0.0) << imposed;
    }
  }
}

const double kLnMax = std::log(1e20);

// Ammonia at molality m [mol/kg] in water of 18.015 g/mol.
Doubles Ammonia(double m) { return KeyLiquid(m / (m + 1000.0 / 18.015), 0.0, 0.0); }

// At 25 C the pH of 1 mol/kg ammonia is 11.6 (K_b = 10^-4.75), of CO2 at x = 1e-3 3.8 (Plummer and
// Busenberg 1982); ammonia's pressure is m / K_H (Clegg and Brimblecombe, J. Phys. Chem. 93 (1989)
// 7237).
TEST(LiquidFugacity, PublishedSolutions) {
  EXPECT_NEAR(PhilCall(298.15, 1.0, {1, 2, 3, 4}, Ammonia(1.0)).record.PHC, 11.6, 0.1);
  EXPECT_NEAR(PhilCall(298.15, 1.0, {1, 2, 3, 4}, KeyLiquid(0, 1e-3, 0)).record.PHC, 3.8, 0.1);
  const double kh = std::exp(-8.09694 + 3917.507 / 298.15 - 0.00314 * 298.15);
  for (double m : {0.01, 0.03, 0.1, 0.3, 1.0}) {
    const double ln_phi = PhilCall(298.15, 1.0, {1, 2, 3, 4}, Ammonia(m)).lnphi[1];
    EXPECT_NEAR(std::exp(ln_phi) * Ammonia(m)[1] * kh / m, 1.0, 0.08) << m;
  }
}

// ln phi = ln(H gamma Poynting free-share / P), ammonia's times exp(0.39 DDS - 0.131 DDS^2);
// Poynting exponent P VL / RT, 1.5 times that from slot 3.
TEST(LiquidFugacity, CoefficientsComposeFromTheirParts) {
  const Doubles x = {0.9, 0.05, 0.03, 0.02, 1e-4};
  const double t = 333.15, p = 30.0;
  LiquidCall c = PhilCall(t, p, {1, 2, 3, 4, 5}, x);
  const double dds = c.record.DDS;
  ASSERT_GT(std::fabs(dds), 0.05);
  for (int s = 0; s < 5; ++s) {
    const double poyn = c.at(kLiquidWork.poyn + s), vl = c.at(kLiquidWork.vl + s);
    EXPECT_NEAR(std::log(poyn) * 82.05 * t / (p * vl), s < 2 ? 1.0 : 1.5, 1e-12) << s;
    const double factor = s == 1 ? std::exp(0.39 * dds - 0.131 * dds * dds) : 1.0;
    const double parts = c.at(kLiquidWork.henry + s) * c.at(kLiquidWork.gc + s) * poyn * factor *
                         c.at(kLiquidWork.xcz + s) / (p * x[s]);
    EXPECT_NEAR(c.lnphi[s], std::log(parts), 1e-12) << s;
  }
}

// No reacting solute, no ions: ln phi = ln(H x Poynting / P). Zero fractions: slots 2-4 keep the
// upper bound, a gas from slot 5 up its infinite-dilution value (methane 10.9 at 25 C).
TEST(LiquidFugacity, SpecialLiquidsShortListsAndBounds) {
  for (int64_t kph : {0, 1}) {
    LiquidCall c = PhilCall(298.15, 1.0, {1, 2, 3, 4}, {1.0, 0.0, 0.0, 0.0}, kph, 7.0);
    EXPECT_NEAR(c.lnphi[0], std::log(c.at(kLiquidWork.henry) * c.at(kLiquidWork.poyn)), 1e-6);
    EXPECT_EQ(Doubles(c.lnphi.begin() + 1, c.lnphi.end()), Doubles(3, kLnMax)) << kph;
  }
  LiquidCall g = PhilCall(323.15, 5.0, {1, 2, 3, 4, 5, 13}, {0.9995, 0.0, 0.0, 0.0, 3e-4, 2e-4});
  EXPECT_TRUE(std::isnan(g.record.PHC));
  for (int s : {0, 4, 5}) {
    const double henry = g.at(kLiquidWork.henry + s) * g.at(kLiquidWork.poyn + s) / 5;
    EXPECT_NEAR(g.lnphi[s], std::log(henry), 1e-6);
  }
  for (double x0 : {0.97, 1.0}) {
    const double a = (1.0 - x0) / 6;
    const Doubles zero = PhilCall(298.15, 1.0, {1, 2, 3, 4, 5, 12}, {x0, 4 * a, a, a, 0, 0}).lnphi;
    const Doubles small =
        PhilCall(298.15, 1.0, {1, 2, 3, 4, 5, 12}, {x0, 4 * a, a, a, 1e-12, 1e-12}).lnphi;
    EXPECT_NEAR(std::fabs(zero[4] - small[4]) + std::fabs(zero[5] - small[5]), 0.0, 1e-6);
  }
  EXPECT_NEAR(PhilCall(298.15, 1.0, {1, 2, 3, 4, 5}, {1.0 - 1e-6, 0, 0, 0, 1e-6}).lnphi[4], 10.9,
              0.1);
  // Missing key slots are absent; an unknown model index makes a slot absent (upper bound).
  // Vanishing P, or T or P not positive and finite: the upper bound everywhere; free ammonia that
  // underflows: ln 1e-20.
  const LiquidCall full = PhilCall(353.15, 2.0, {1, 2, 3, 4}, {0.99, 0.01, 0.0, 0.0});
  EXPECT_EQ(PhilCall(353.15, 2.0, {1, 2}, {0.99, 0.01}).lnphi,
            Doubles(full.lnphi.begin(), full.lnphi.begin() + 2));
  EXPECT_EQ(PhilCall(353.15, 2.0, {1}, {1.0}).lnphi[0],
            PhilCall(353.15, 2.0, {1, 2, 3, 4}, {1.0, 0.0, 0.0, 0.0}).lnphi[0]);
  EXPECT_TRUE(PhilCall(353.15, 2.0, {}, {}).lnphi.empty());
  const Doubles odd = PhilCall(353.15, 2.0, {1, 2, 0, 4, 99, 5}, {0.98, 0.01, 0, 0, 0, 0.01}).lnphi;
  const Doubles same = PhilCall(353.15, 2.0, {1, 2, 3, 4, 5}, {0.98, 0.01, 0, 0, 0.01}).lnphi;
  EXPECT_EQ(odd, Doubles({same[0], same[1], kLnMax, same[3], kLnMax, same[4]}));
  EXPECT_EQ(PhilCall(298.15, 1.0, {1, 2, 3, 4}, {0.999, 1e-320, 1e-3, 0.0}).lnphi[1], -kLnMax);
  // Full steps would make amounts negative: coefficients, not the bound.
  for (double v : PhilCall(298.15, 1.0, {1, 2, 3, 4}, KeyLiquid(0.1, 1e-4, 0.1)).lnphi)
    EXPECT_LT(v, 1.0);
  // Sub-normal ammonia counts as absent: a repeat gives the same.
  const Doubles sub = {1.0 - 1e-8, 1e-315, 1e-8, 0.0};
  EXPECT_EQ(PhilCall(250.0, 1.0, {1, 2, 3, 4}, sub).lnphi,
            PhilCall(250.0, 1.0, {1, 2, 3, 4}, sub).lnphi);
  for (auto [t, p] :
       {std::pair{NAN, 1.0}, {300.0, -1.0}, {300.0, 0.0}, {INFINITY, 1.0}, {300.0, 1e-30}}) {
    const Doubles v = PhilCall(t, p, {1, 2, 3, 4}, KeyLiquid(0.01, 0.005, 0.005)).lnphi;
    EXPECT_EQ(v, Doubles(4, kLnMax)) << t << " " << p;
  }
}

}  // namespace
