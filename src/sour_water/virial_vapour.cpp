// Vapour fugacity coefficients of the sour-water model from the virial
// equation Z = 1 + B rho + C rho^2, solved for the density at T and P.
#include <cmath>

#include "sour_water/sour_water.h"

namespace thermomodels {

namespace {

// Pressures above this share of the spinodal pressure are computed at it.
constexpr double kSpinodalShare = 0.99;
// Below this compressibility the pressure is lowered by kPressureCut.
constexpr double kLowestZ = 0.27;
constexpr double kPressureCut = 0.9;
constexpr double kDensityTolerance = 1e-5;
constexpr int kMaxDensityUpdates = 20;
// Factor of the third-virial term in ln phi, applied to the whole S2.
constexpr double kThirdVirialFactor = 1.5;
// Largest exponent of a fugacity coefficient.
constexpr double kMaxExponent = 10.0;

}  // namespace

void VIRGPSW(const double& T, const double& P, const double* Y, const int64_t& N,
             const double* CRED, const double* RTCPC, const double* BIJ, double* PHI,
             const int64_t& LD, double* SCR) {
  const int64_t n = N < 0 ? 0 : (N > LD ? LD : N);
  const double rt = kRgasCcAtm * T;
  double* s1 = SCR;
  double* s2 = SCR + LD;

  double bm = 0.0, cs = 0.0, rs = 0.0;
  for (int64_t i = 1; i <= n; ++i) {
    double sum = 0.0;
    for (int64_t j = 1; j <= n; ++j) sum += Y[j - 1] * BIJ[SlotEntry(i, j, LD)];
    s1[i - 1] = sum;
  }
  for (int64_t i = 0; i < n; ++i) {
    bm += Y[i] * s1[i];
    cs += Y[i] * CRED[i];
    rs += Y[i] * RTCPC[i];
  }
  const double cm = cs * rs * rs;
  for (int64_t i = 0; i < n; ++i) s2[i] = CRED[i] * rs * rs + 2.0 * RTCPC[i] * cs * rs;

  double p = P;
  double rho = 0.0;
  double z = 1.0;
  for (int cut = 0; cut <= kMaxPressureCuts; ++cut) {
    // Cap at the spinodal: the larger volume where dP/dV = 0.
    if (!(bm * bm < 3.0 * cm)) {
      const double vs = -bm + std::sqrt(bm * bm - 3.0 * cm);
      const double zs = 1.0 + bm / vs + cm / (vs * vs);
      const double pmax = kSpinodalShare * zs * rt / vs;
      if (p > pmax) p = pmax;
    }
    rho = p / rt;
    bool lowered = false;
    for (int update = 0; update < kMaxDensityUpdates; ++update) {
      z = 1.0 + bm * rho + cm * rho * rho;
      const double p_calc = z * rt * rho;
      if (z < kLowestZ) {
        lowered = true;
        break;
      }
      if (std::fabs(p / p_calc - 1.0) <= kDensityTolerance) break;
      rho += (p - p_calc) / (rt * (1.0 + 2.0 * bm * rho + 3.0 * cm * rho * rho));
    }
    if (!lowered) break;
    p *= kPressureCut;
  }

  const double v = 1.0 / rho;
  for (int64_t i = 0; i < n; ++i) {
    double a = 2.0 * s1[i] / v + kThirdVirialFactor * s2[i] / (v * v);
    if (a >= kMaxExponent) a = kMaxExponent;
    PHI[i] = std::exp(a) / z;
  }
}

}  // namespace thermomodels

using namespace thermomodels;

extern "C" TM_API void PPTH_PHIVGPSW(const double* T, const double* P, const int64_t* N,
                                     const int64_t* IDX, const double* Y, double* LNPHI,
                                     double* WORK) {
  // Slots with a model index outside 1..18, and slots beyond the model's
  // 20, take no part: the others are computed in their order and the
  // ignored ones get the upper bound of ln phi.
  int64_t idx[kNcMax];
  double y[kNcMax];
  int64_t from[kNcMax];
  int64_t n = 0;
  for (int64_t i = 0; i < *N && n < kNcMax; ++i) {
    if (IDX[i] < 1 || IDX[i] > kNumModelComponents) continue;
    idx[n] = IDX[i];
    y[n] = Y[i];
    from[n] = i;
    ++n;
  }
  for (int64_t i = 0; i < *N; ++i) LNPHI[i] = std::log(kPhiMax);
  // A temperature or pressure that is not a positive finite number has no
  // vapour: every slot keeps the upper bound.
  if (!IsPositiveFinite(*T) || !IsPositiveFinite(*P)) return;

  const GpswWorkLayout& w = kVapourWork;
  LoadGpsw(GPSWCOM, n, idx, WORK + w.henry);
  TdpgpswFromBlock(*T, *P, n, GPSWCOM, w, WORK, WORK + w.wscr);
  // The caller's temperature for RT; BIJ as computed above (at 647.29 K
  // from 647.3 K up).
  VIRGPSW(*T, *P, y, n, GPSWCOM.CRED, GPSWCOM.RTCPC, WORK + w.bij, WORK + w.phiv, GPSWCOM.NCMAX,
          WORK + w.wscr);
  for (int64_t s = 0; s < n; ++s) LNPHI[from[s]] = ClampedLog(WORK[w.phiv + s]);
}
