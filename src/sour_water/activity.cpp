// Activity coefficients of the sour-water liquid and the working equilibrium
// constants corrected by them: an extended Debye-Hueckel term on a
// mole-fraction ionic strength, an ammonia-water interaction term, and
// empirical corrections driven by volume-fraction solubility parameters.
#include <cmath>

#include "sour_water/sour_water.h"

namespace thermomodels {

namespace {

// Bounds of every ln gamma and of the exponents of the corrections.
constexpr double kLnMin = -46.05170186;
constexpr double kLnMax = 46.0517018598809;

// Dielectric term D = 0.01712 (exp(0.00635 T) - 1) + 0.2944.
constexpr double kDielA = 0.01712;
constexpr double kDielB = 0.00635;  // 1/K
constexpr double kDielC = 0.2944;
// Debye-Hueckel parameters A = 4.45 D^0.66667 / rho^0.33333,
// B = 2.3672 (rho D)^0.33333, with the ion size a = 2.603. The exponents
// are the rounded decimals of the model.
constexpr double kDhA = 4.45;
constexpr double kDhB = 2.3672;
constexpr double kTwoThirds = 0.66667;
constexpr double kOneThird = 0.33333;
constexpr double kIonSize = 2.603;

// Ammonia-water interaction: volume ratio r = 0.006 T - 1.1 and energy
// w = (2.593 - 1469/T) / r.
constexpr double kRatioSlope = 0.006;  // 1/K
constexpr double kRatioOffset = 1.1;
constexpr double kEnergyA = 2.593;
constexpr double kEnergyB = 1469.0;  // K

// Corrections of the working constants: reaction 3 (bisulfide) below
// a solubility-parameter difference of -0.25 none; reaction 5 (bicarbonate)
// a5 = 0.1 - 1.673 tau^4 with tau = (T - 323)/100; reaction 7 (carbamate)
// -0.4 - DDW.
constexpr double kH2sCutoff = -0.25;
constexpr double kH2sA = -0.2;
constexpr double kH2sB = 0.478;
constexpr double kH2sC = 1.384;
constexpr double kCo2Tref = 323.0;    // K
constexpr double kCo2Tscale = 100.0;  // K
constexpr double kCo2A = 0.1;
constexpr double kCo2B = 1.673;
constexpr double kCarbamateA = -0.4;
constexpr double kCarbamateB = -1.0;

// Ion volumes shrink by 0.0002 per kelvin below 298.15 K.
constexpr double kIonVolumeSlope = 0.0002;  // 1/K
constexpr double kIonVolumeTref = 298.15;   // K

}  // namespace

double ClampedExponent(double v) {
  if (!(v <= kLnMax)) v = kLnMax;
  if (v < kLnMin) v = kLnMin;
  return v;
}

void ACTGPSW(const int64_t& N, const int64_t& NION, const int64_t& NNEUT, const double& T,
             const double* XION, const double* XNEUT, const double* XCZ, const double* IONCHG,
             const double* MW, const double* VL, double* GC, double* GNEUT, double* GION,
             double* SCR) {
  double n_molecular = 0.0, n_ions = 0.0, s = 0.0;
  for (int64_t i = 0; i < N; ++i) n_molecular += XCZ[i];
  for (int64_t k = 0; k < NNEUT; ++k) n_molecular += XNEUT[k];
  for (int64_t j = 0; j < NION; ++j) {
    n_ions += XION[j];
    s += XION[j] * IONCHG[j] * IONCHG[j];
  }
  const double n_total = n_molecular + n_ions;

  double ionic = s / (n_molecular + s);
  if (ionic <= 0.0) ionic = 0.0;
  const double rho = MW[0] / VL[0];  // g/cc
  const double diel = kDielA * (std::exp(kDielB * T) - 1.0) + kDielC;
  const double a_dh = kDhA * std::pow(diel, kTwoThirds) / std::pow(rho, kOneThird);
  const double b_dh = kDhB * std::pow(rho * diel, kOneThird);
  const double root = std::sqrt(ionic);
  const double e = std::exp(-b_dh * kIonSize * root);
  const double f = 1.0 - 0.5 * b_dh * kIonSize * root * (1.0 - ionic);

  double* ln_molecular = SCR;
  double* ln_neutral = SCR + kNcMax;
  double* ln_ion = SCR + kNcMax + kNneutMax;
  for (int64_t j = 0; j < NION; ++j) {
    ln_ion[j] = (a_dh * IONCHG[j] * IONCHG[j] / kIonSize) * (e * f - 1.0);
  }
  const double ln_uncharged = 0.5 * a_dh * b_dh * ionic * root * e;
  for (int64_t i = 0; i < N; ++i) ln_molecular[i] = ln_uncharged;
  for (int64_t k = 0; k < NNEUT; ++k) ln_neutral[k] = ln_uncharged;

  // Ammonia-water term of slots 1 and 2 (volume fractions with the ratio r).
  const double r = kRatioSlope * T - kRatioOffset;
  const double w = (kEnergyA - kEnergyB / T) / r;
  const double d = n_total + (r - 1.0) * XCZ[1];
  const double phi_w = XCZ[0] / d;
  const double phi_a = r * XCZ[1] / d;
  ln_molecular[0] += phi_a * (1.0 - phi_w) * w;
  ln_molecular[1] += r * phi_w * (1.0 - phi_a) * w - r * w;

  for (int64_t i = 0; i < N; ++i) GC[i] = std::exp(ClampedExponent(ln_molecular[i]));
  for (int64_t k = 0; k < NNEUT; ++k) GNEUT[k] = std::exp(ClampedExponent(ln_neutral[k]));
  for (int64_t j = 0; j < NION; ++j) GION[j] = std::exp(ClampedExponent(ln_ion[j]));
}

void VMXGPSW(double& DDW, double& DDS, const int64_t& N, const int64_t& NION, const int64_t& NNEUT,
             const double& T, const double* XION, const double* XNEUT, const double* XCZ,
             const double* VL, const double* NVL, const double* DSP, const double* NDSP,
             const double* IONVOL, const double* IONVSP, const double* IONCHG) {
  double v = 0.0, v_delta = 0.0;
  for (int64_t i = 0; i < N; ++i) {
    v += XCZ[i] * VL[i];
    v_delta += XCZ[i] * VL[i] * DSP[i];
  }
  for (int64_t k = 0; k < NNEUT; ++k) {
    v += XNEUT[k] * NVL[k];
    v_delta += XNEUT[k] * NVL[k] * NDSP[k];
  }
  double v_ion = 0.0, v_ion_delta = 0.0;
  for (int64_t j = 0; j < NION; ++j) {
    v_ion += XION[j] * IONVOL[j] * std::fabs(IONCHG[j]);
    v_ion_delta += XION[j] * IONVSP[j] * std::fabs(IONCHG[j]);
  }
  v_ion *= 1.0 - kIonVolumeSlope * (kIonVolumeTref - T);
  const double delta_mix = (v_delta + v_ion_delta) / (v + v_ion);
  const double delta_solvent =
      (XCZ[0] * VL[0] * DSP[0] + XCZ[1] * VL[1] * DSP[1]) / (XCZ[0] * VL[0] + XCZ[1] * VL[1]);
  DDS = delta_solvent - delta_mix;
  DDW = DSP[0] - delta_mix;
}

void VOLGPSW(const int64_t& N, const int64_t& NION, const int64_t& NNEUT, const int64_t& NREACT,
             const double& T, const double* KEQ, double& SUMX, double* KAPP, const double* XION,
             const double* XNEUT, const double* XCZ, const double* VL, const double* NVL,
             const double* DSP, const double* NDSP, const double* IONVOL, const double* IONVSP,
             const double* IONCHG, const double* GC, const double* GNEUT, const double* GION,
             double& DDW, double& DDS, double* GQ) {
  const double tau = (T - kCo2Tref) / kCo2Tscale;
  const double a5 = kCo2A - kCo2B * tau * tau * tau * tau;
  const double b5 = 0.0;

  // Activity quotient of each reaction, in the order of the model constants.
  const double gw = GC[0], ga = GC[1], gc = GC[2], gh = GC[3];
  const double* g = GION;  // g[0] H+, g[1] OH-, ... g[7] CBA-
  GQ[0] = g[0] * g[1] / gw;
  GQ[1] = g[2] * g[1] / (gw * ga);
  GQ[2] = g[3] * gw / (gh * g[1]);
  GQ[3] = g[4] * gw * gw / (gh * g[1] * g[1]);
  GQ[4] = g[5] / (gc * g[1]);
  GQ[5] = g[6] * gw / (gc * g[1] * g[1]);
  GQ[6] = g[7] * gw / (ga * gc * g[1]);
  GQ[7] = GNEUT[0] * g[1] / (g[7] * gw);
  GQ[8] = GNEUT[1] * g[1] / (g[7] * ga);

  SUMX = 0.0;
  for (int64_t i = 0; i < N; ++i) SUMX += XCZ[i];
  for (int64_t k = 0; k < NNEUT; ++k) SUMX += XNEUT[k];
  for (int64_t j = 0; j < NION; ++j) SUMX += XION[j];

  const int64_t nreact = NREACT < kNreact ? NREACT : kNreact;
  for (int64_t r = 0; r < nreact; ++r) KAPP[r] = KEQ[r] / GQ[r];

  VMXGPSW(DDW, DDS, N, NION, NNEUT, T, XION, XNEUT, XCZ, VL, NVL, DSP, NDSP, IONVOL, IONVSP,
          IONCHG);
  if (!(DDW <= kH2sCutoff)) KAPP[2] *= std::exp(kH2sA - DDW / (kH2sB * DDW + kH2sC));
  ScaleWorkingConstants(KAPP, SUMX);
  KAPP[4] *= std::exp(ClampedExponent(a5 + b5 * DDW));
  KAPP[6] *= std::exp(ClampedExponent(kCarbamateA + kCarbamateB * DDW));
}

void ScaleWorkingConstants(double* KAPP, const double& SUMX) {
  KAPP[0] *= SUMX;
  KAPP[4] /= SUMX;
  KAPP[5] /= SUMX;
  KAPP[6] /= SUMX;
}

}  // namespace thermomodels
