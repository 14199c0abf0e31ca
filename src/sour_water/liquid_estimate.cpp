// Estimate of the sour-water liquid in equilibrium with a given vapour:
// Henry's law for the dissolved gases, a closed-form split of ammonia,
// carbon dioxide and hydrogen sulfide into molecules and ions, water by
// difference.
#include <cmath>

#include "sour_water/sour_water.h"

namespace thermomodels {

namespace {

// Pool offset of the host's alias array in DMS_PLEX: the aliases of host
// components 1, 2, ... fill pool words 1-3, 4-6, ...
constexpr int64_t kAliasPoolOffset = 0;
// Vapour fraction given to a slot the vapour lacks, so that the closed form
// stays finite.
constexpr double kFloorFraction = 1e-9;
constexpr int64_t kRequestPressure = 5;  // KODE that asks for the pressure estimate

// Working storage of the estimate, reset or reloaded on every call.
struct InflgpswSaved {
  int64_t NGPSW;
  int64_t MODIDX[kNcMax];
  int64_t POS[kNcMax];
  int64_t NKEY, NREC, IWAT;
  double z[kNcMax];                // vapour per slot, normalised
  double x[kNcMax];                // liquid per slot
  double p_est;                    // pressure estimate [atm]
  GpswcomBlock model;              // model data of the slots
  double terms[kVapourWork.phiv];  // temperature terms, laid out as in WORK
  double keq[kNreactMax];          // K1..K9
  double lnk[kNreactMax];          // ln K of the data reactions
};
InflgpswSaved saved;

}  // namespace

}  // namespace thermomodels

using namespace thermomodels;

extern "C" TM_API void PPTH_INFLGPSW(const double* T, double* P, const int64_t* NC,
                                     const int64_t* IDX, const double* Z, double* X, double* Y,
                                     const void* /*A8*/, const int64_t* KODE, double* WORK,
                                     int64_t* IFLAG) {
  InflgpswSaved& s = saved;
  *IFLAG = 1;
  s.NGPSW = 0;
  for (int64_t k = 0; k < kNcMax; ++k) {
    s.MODIDX[k] = -1;
    s.POS[k] = 0;
    s.z[k] = 0.0;
    s.x[k] = 0.0;
  }
  const unsigned char* aliases =
      reinterpret_cast<const unsigned char*>(&DMS_PLEX.words[kAliasPoolOffset]);
  const int64_t max_host_number = (TM_PLEX_WORDS - kAliasPoolOffset) / 3;
  const int64_t all_components = 0;
  CheckComponents(*NC, IDX, s.NGPSW, s.MODIDX, s.POS, aliases, max_host_number, s.NKEY, s.NREC,
                  s.IWAT, all_components);
  // Two of the four key components at least: a key component listed twice
  // counts once.
  int64_t keys_found = 0;
  for (int64_t k = 0; k < 4; ++k) keys_found += s.POS[k] > 0 ? 1 : 0;
  if (s.IWAT == 0 || *NC == 1 || keys_found < 2) {
    *IFLAG = 0;
    return;
  }
  const int64_t n = s.NGPSW;

  // Vapour per slot, normalised over the recognised components. A fraction
  // that is negative or not finite, or a vapour without any amount, gives
  // no estimate.
  double sum = 0.0;
  bool valid = true;
  for (int64_t k = 0; k < n; ++k) {
    if (s.POS[k] > 0) {
      s.z[k] = Z[s.POS[k] - 1];
      valid = valid && s.z[k] >= 0.0 && std::isfinite(s.z[k]);
      sum += s.z[k];
    }
  }
  if (!valid || !(sum > 0.0) || !std::isfinite(sum)) {
    *IFLAG = 0;
    return;
  }
  for (int64_t k = 0; k < n; ++k) s.z[k] = std::fmax(kFloorFraction, s.z[k] / sum);

  const double p_atm = *P * kAtmPerPaNumerator / kAtmPerPaDenominator;  // not used by the terms
  LoadGpsw(s.model, n, s.MODIDX, s.terms + kVapourWork.henry);
  TdpgpswFromBlock(*T, p_atm, n, s.model, kVapourWork, s.terms, WORK);
  EQKGPSW(*T, kNreact, s.model.DHO, s.model.DSR, s.model.AL, s.model.BE, s.model.DSE, s.keq, s.lnk);
  const double* henry = s.terms + kVapourWork.henry;
  const double k2 = s.keq[1], k3 = s.keq[2], k5 = s.keq[4];

  s.p_est = henry[0] / s.z[0];
  const double m_n = s.z[1] * s.p_est / henry[1];
  const double m_c = s.z[2] * s.p_est / henry[2];
  const double m_s = s.z[3] * s.p_est / henry[3];
  // Ammonium a, bicarbonate b, bisulfide d: a b = K2 K5 mN mC,
  // a d = K2 K3 mN mS, a = b + d.
  const double r = m_c * (k5 * k2) / (k3 * m_s * k2);  // b/d
  const double q = 1.0 / r + 1.0;
  const double b = std::sqrt(k5 * k2 * m_n * m_c / q);
  const double d = b / r;
  const double a = q * b;
  s.x[1] = m_n + a;
  s.x[2] = m_c + b;
  s.x[3] = m_s + d;
  for (int64_t k = 4; k < n; ++k) s.x[k] = s.z[k] * s.p_est / henry[k];
  double solutes = 0.0;
  for (int64_t k = 1; k < n; ++k) solutes += s.x[k];
  s.x[0] = 1.0 - solutes;
  // A vapour rich in solutes can call for more dissolved gas than the
  // liquid holds: no estimate then.
  if (!(s.x[0] >= 0.0)) {
    *IFLAG = 0;
    return;
  }
  double total = 0.0;
  for (int64_t k = 0; k < n; ++k) total += s.x[k];
  for (int64_t k = 0; k < n; ++k) s.x[k] /= total;

  // Back to the host list: the first slot of each position, others keep the
  // caller's values; both normalised over the whole list.
  auto slot_of = [n](int64_t position) {
    for (int64_t k = 0; k < n; ++k) {
      if (s.POS[k] == position) return k;
    }
    return int64_t{-1};
  };
  // The caller's fractions of the other components must be mole fractions
  // too: not negative, finite.
  double sum_x = 0.0, sum_y = 0.0;
  for (int64_t i = 1; i <= *NC; ++i) {
    const int64_t k = slot_of(i);
    const double xi = k >= 0 ? s.x[k] : X[i - 1];
    const double yi = k >= 0 ? s.z[k] : Y[i - 1];
    valid = valid && xi >= 0.0 && yi >= 0.0 && std::isfinite(xi) && std::isfinite(yi);
    sum_x += xi;
    sum_y += yi;
  }
  if (!valid || !std::isfinite(sum_x) || !std::isfinite(sum_y) || !(sum_x > 0.0) ||
      !(sum_y > 0.0)) {
    *IFLAG = 0;
    return;
  }
  for (int64_t i = 1; i <= *NC; ++i) {
    const int64_t k = slot_of(i);
    if (k >= 0) {
      X[i - 1] = s.x[k];
      Y[i - 1] = s.z[k];
    }
    X[i - 1] /= sum_x;
    Y[i - 1] /= sum_y;
  }
  if (*KODE == kRequestPressure) *P = kAtmPerPaDenominator * s.p_est / kAtmPerPaNumerator;
}
