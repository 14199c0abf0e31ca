// Temperature-dependent quantities of the sour-water model: water vapour
// pressure and liquid volume, Henry constants, cross second virial
// coefficients, liquid volumes and solubility parameters.
#include <algorithm>
#include <cmath>

#include "sour_water/sour_water.h"

namespace thermomodels {

namespace {

constexpr double kTcWater = 647.3;             // critical temperature of water in the model [K]
constexpr double kHighestT = kTcWater - 0.01;  // temperatures at or above kTcWater use this
constexpr double kMmHgPerAtm = 760.0;
// Reference temperature of the temperature coefficient of the interaction
// parameter [K].
constexpr double kKijReferenceT = 473.0;

// Vapour-pressure equation of water, ln p [mmHg] = A - B/T - C ln T + D p/T^2,
// solved by direct substitution.
constexpr double kVpA = 55.336;
constexpr double kVpB = 6869.5;
constexpr double kVpC = 5.115;
constexpr double kVpD = 1.05;
constexpr double kVpExponentBound = 46.0;
constexpr double kVpTolerance = 1e-4;
constexpr int kMaxVapourPressureIterations = 25;

// Saturated-liquid volume of water, V = V0 exp(-E X^F) with
// X = 2.2 tau / (1.152 (1 - tau) + 2.2 tau), tau = 1 - T/Tc [cc/mol].
constexpr double kVlV0 = 57.79;
constexpr double kVlE = 1.3093;
constexpr double kVlF = 0.2857;
constexpr double kVlTauWeight = 2.2;
constexpr double kVlLiquidWeight = 1.152;
// Liquid volumes of the solutes and products scale with that of water
// relative to the hard-sphere volumes.
constexpr double kSoluteVolumeExponent = 1.81;
constexpr double kProductVolumeExponent = 0.84;

// Henry constant of ammonia [atm]: ln H = A - B/T - C/T^2.
constexpr double kNh3HenryA = 9.167;
constexpr double kNh3HenryB = 1268.0;
constexpr double kNh3HenryC = 443050.0;

}  // namespace

double WaterVapourPressure(double t) {
  const double fixed = kVpA - kVpB / t - kVpC * std::log(t);
  const double t2 = t * t;
  double p = 0.0;  // mmHg
  for (int it = 0; it < kMaxVapourPressureIterations; ++it) {
    const double previous = p;
    double ln_p = fixed + kVpD * p / t2;
    if (ln_p > kVpExponentBound) ln_p = kVpExponentBound;
    if (ln_p < -kVpExponentBound) ln_p = -kVpExponentBound;
    p = std::exp(ln_p);
    if (std::fabs(previous / p - 1.0) <= kVpTolerance) break;
  }
  return p / kMmHgPerAtm;
}

void TDPGPSW(const double& T, const double& /*P*/, const int64_t& N, const int64_t& NNEUT,
             const double* TC, const double* /*PC*/, const double* VC, const double* /*ZC*/,
             const double* VIRA, const double* VIRB, const double* VIRC, const double* VNPSP,
             const double* BHS, const double* VSP, const double* HENA, const double* HENB,
             const double* HENC, const double* KIJB, const double* KIJ, const double* CRED,
             const double* RTCPC, const double* NVNPSP, const double* NEQB, const double* NVSP,
             double* HENRY, double* KP, double* BIJ, double* DNP, double* VL, double* NDNP,
             double* NDSP, double* NVL, double* DSP, const int64_t& LD, double* SCR) {
  const int64_t n = std::clamp<int64_t>(N, 0, std::min<int64_t>(LD, kNcMax));
  const double t = T >= kTcWater ? kHighestT : T;
  const double pw = WaterVapourPressure(t);

  // Henry-correlation pressures, ln(KP/PW) = (A + B/T)(Tc/T - 1)^C.
  const double reduced = kTcWater / t - 1.0;
  for (int64_t i = 0; i < n; ++i) {
    KP[i] = pw * std::exp((HENA[i] + HENB[i] / t) * std::pow(reduced, HENC[i]));
  }

  // Cross second virial coefficients, B = a + b (exp(c Tc (1 - K)/T) - 1)
  // for both partners with the pair's interaction K, combined by critical
  // volumes. Most pairs have K = 0: their pure coefficients are formed once.
  const double kij_temperature = kKijReferenceT / t - 1.0;
  auto second_virial = [&](int64_t i, double k) {
    return VIRA[i] + VIRB[i] * (std::exp(VIRC[i] * TC[i] * (1.0 - k) / t) - 1.0);
  };
  double b_pure[kNcMax];
  for (int64_t i = 0; i < n; ++i) b_pure[i] = second_virial(i, 0.0);
  for (int64_t j = 1; j <= n; ++j) {
    for (int64_t i = 1; i <= n; ++i) {
      const int64_t ij = SlotEntry(i, j, LD);
      const double k = KIJ[ij] + KIJB[ij] * kij_temperature;
      const double bi = k == 0.0 ? b_pure[i - 1] : second_virial(i - 1, k);
      const double bj = k == 0.0 ? b_pure[j - 1] : second_virial(j - 1, k);
      BIJ[ij] = 0.5 * (VC[j - 1] / VC[i - 1] * bi + VC[i - 1] / VC[j - 1] * bj);
    }
  }

  // Liquid volumes: water, then the others scaled by hard-sphere volumes.
  const double tau = 1.0 - t / kTcWater;
  const double x = kVlTauWeight * tau / (kVlLiquidWeight * (1.0 - tau) + kVlTauWeight * tau);
  VL[0] = kVlV0 * std::exp(-kVlE * std::pow(x, kVlF));
  const double water_ratio = VL[0] / BHS[0];
  const double solute_scale = std::pow(water_ratio, kSoluteVolumeExponent);
  for (int64_t i = 1; i < n; ++i) VL[i] = BHS[i] * solute_scale;
  for (int64_t i = 0; i < n; ++i) DNP[i] = VNPSP[i] / VL[i];
  const int64_t nneut = NNEUT < 0 ? 0 : (NNEUT > kNneutMax ? kNneutMax : NNEUT);
  const double product_scale = std::pow(water_ratio, kProductVolumeExponent);
  for (int64_t k = 0; k < nneut; ++k) {
    NVL[k] = NEQB[k] * product_scale;
    NDNP[k] = NVNPSP[k] / NVL[k];
    NDSP[k] = NVSP[k] / NVL[k];
  }

  // Scratch: saturated-vapour composition, its fugacity coefficients, the
  // Poynting factors, the virial scratch.
  double* y_sat = SCR;
  double* phi_sat = SCR + LD;
  double* poy = SCR + 2 * LD;
  double* virial_scratch = SCR + 3 * LD;
  const double rt = kRgasCcAtm * t;
  for (int64_t i = 0; i < n; ++i) {
    const double f = i < 2 ? 1.0 : kGasPoyntingFactor;
    poy[i] = std::exp(f * pw * VL[i] / rt);
    y_sat[i] = i == 0 ? 1.0 : 0.0;
  }
  VIRGPSW(t, pw, y_sat, n, CRED, RTCPC, BIJ, phi_sat, LD, virial_scratch);
  for (int64_t i = 0; i < n; ++i) HENRY[i] = KP[i] * phi_sat[i] / poy[i];
  // Ammonia (slot 2) has its own correlation, written whatever the count.
  HENRY[1] = std::exp(kNh3HenryA - kNh3HenryB / t - kNh3HenryC / (t * t));
  for (int64_t i = 0; i < n; ++i) DSP[i] = VSP[i] / VL[i];
}

void TdpgpswFromBlock(const double& T, const double& P, const int64_t& N, const GpswcomBlock& b,
                      const GpswWorkLayout& w, double* areas, double* SCR) {
  TDPGPSW(T, P, N, kNneut, b.TC, b.PC, b.VC, b.ZC, b.VIRA, b.VIRB, b.VIRC, b.VNPSP, b.BHS, b.VSP,
          b.HENA, b.HENB, b.HENC, b.KIJB, b.KIJ, b.CRED, b.RTCPC, b.NVNPSP, b.NEQB, b.NVSP,
          areas + w.henry, areas + w.kp, areas + w.bij, areas + w.dnp, areas + w.vl, areas + w.ndnp,
          areas + w.ndsp, areas + w.nvl, areas + w.dsp, kNcMax, SCR);
}

}  // namespace thermomodels
