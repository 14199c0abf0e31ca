// Cubic-Plus-Association equation of state: the host's property routine and
// history file, the core that forms the mixture parameters, finds the volume
// root and derives the properties from the residual Helmholtz energy, and
// the temperature-dependent binary parameters.
//
// Arrays are passed as pointers to their first element; A(LD, *) in a
// comment is column-major and its 1-based element (i, j) is
// A[(j - 1) * LD + (i - 1)].
#pragma once

#include <cstdint>

#include "common/common.h"

namespace thermomodels {

// Gas constant of the model [J/(kmol K)] and reference pressure of the
// departures [Pa].
inline constexpr double kCpaRgas = 8314.33;
inline constexpr double kCpaPref = 101325.0;
// Temperature step of the forward differences [K].
inline constexpr double kCpaTempStep = 0.001;
// A mole fraction at or below this counts as absent in the mixing sums.
inline constexpr double kCpaTinyFraction = 1e-15;
// Room of the first pass's ln phi copy: the largest N for which a
// temperature derivative of ln phi can be formed.
inline constexpr int64_t kCpaMaxPhiCopy = 1088;

// Statuses of PPCPA_CPAPROP beyond the root solver's (1-6) and the
// association flag (+10).
inline constexpr int64_t kCpaNoState = 7;       // the volume has no valid state (V <= b, or Z <= 0)
inline constexpr int64_t kCpaAssocFailed = 10;  // added when the site fractions failed
inline constexpr int64_t kCpaRefused = 20;      // input refused, nothing computed

// Values that PPCPA_CPAPROP keeps between calls and across its two passes.
struct CpapropSaved {
  int64_t print_level;               // sticky print level: raised only by PPCPA_CPACOM word 1
  int64_t echo;                      // 1: write the input echo block once, cleared after that call
  double cumulative_cpu;             // processor time of all calls made at print level > 0 [s]
  double cpu_at_entry;               // processor time when the current call began [s]
  int64_t kder;                      // KDER of the current call
  double vmx_in;                     // VMX as the caller handed it in
  int32_t unit;                      // output unit of the current call
  int64_t digits[4];                 // diagnostic digits a, b, c, d of the current call
  double volume;                     // volume handed to and returned by CPA1
  double p_first;                    // pressure at the first evaluation of a pass [Pa]
  double dpdv_first;                 // dP/dV at the first evaluation of a pass [Pa kmol/m3]
  int64_t site_state;                // site-fraction state word handed to CPA1 (1 fresh, 2 usable)
  int64_t no_spec;                   // component list of the k_ij orientation rule (unused, empty)
  double pass1_dh;                   // first pass (T + DT): enthalpy departure [J/kmol]
  double pass1_ds;                   // first pass: entropy departure [J/(kmol K)]
  double pass1_dg;                   // first pass: Gibbs-energy departure [J/kmol]
  double pass1_volume;               // first pass: molar volume [m3/kmol]
  double pass1_dpdv;                 // first pass: dP/dV at its volume [Pa kmol/m3]
  double pass1_pcalc;                // first pass: pressure at its volume [Pa]
  double pass1_phi[kCpaMaxPhiCopy];  // first pass: ln phi by position
};
extern CpapropSaved CPAPROP_SAVED;

// Value of the last evaluation of CPA1 that the site fractions in the
// caller's XA slice belong to: the extrapolated start of the next site
// fraction solve uses it.
struct Cpa1Saved {
  double last_rho;  // molar density of the latest evaluation [kmol/m3]; 1e35 none
};
extern Cpa1Saved CPA1_SAVED;

// CPA core: mixture parameters, volume root, properties. The 99 arguments
// follow the order of the CPA routine's call; arguments named unusedNN are
// part of that order and are not read.
void CPA1(const double& T, const double& P, const double* X, const int64_t& N, const int64_t* IDX,
          const int64_t& NCC, const int64_t& LDIM, const int64_t& KVL, const int64_t& KPHI,
          const int64_t& KH, const int64_t& KS, const int64_t& KG, const int64_t& KV,
          const int64_t& KDER, const int64_t& LVL, const int32_t& IUNIT, const int64_t& LVLASC,
          const int64_t& LVLLQ, const int64_t& LVLVP, const int64_t& METHOD, double* XAWRK,
          void* unused22, double* PHIMX, double& DHMX, double& DSMX, double& DGMX, double& VMX,
          double* unused28, double& unused29, double& unused30, double& unused31, double& unused32,
          double& ZMX, double& DPDV, double& unused35, double& unused36, double& DP2DV2,
          const double* CPAAU, const double* CPAAV, const double* CPAKIJ, const double* CPAAT,
          const double* CPAVIJ, const double* KIJSET, const double* VIJSET, const double* ECRFLG,
          const double* CPAEIJ, const double* BC, const double* AC, const double* CPAM,
          const double* CPATC, double* AMX, double* BX, int64_t* IDXA, int64_t* IPOS,
          int64_t* IZERO, double* XA, double* XAR, double* XAR2, double* XAT, double* XAX,
          double* AAX, double* ARESDX, double* ASRKDX, double* RES, double* VOLD, double* XOLD,
          int64_t* ISITE, int64_t* IDXV, double* EPSAB, double* BETAB, int64_t* ITYPE, double* AKIJ,
          double* AKIJT, double* AVIJ, double* AVIJT, double* DELTA, double* DELTAR,
          double* DELTAR2, double* DELTAT, double* DELTAX, double* DZ2DN, double* DZ3DN,
          double* AWORK, const double& RGAS, const double& PREF, void* unused86, void* unused87,
          double& PCALC, const int64_t& KVSTRT, const int64_t& IPASS, int64_t& IXAST, double& P1,
          double& DPDV1, int64_t* IPIV, int64_t& IERR, const int64_t& IH2O, const int64_t& NSPEC,
          const int64_t* LSPEC, const int64_t& KTOL);

// Temperature-dependent binary parameter K(i, j) from the coefficient
// records COEF(NCOEF, N, N) (CPAKTV), or T dK(i, j)/dT (CPAKTD). Rows with
// RFLAG(i) exactly 1.0 are evaluated; ISKIP(i) non-zero skips row and
// column i; the diagonal and all other entries are 0. N < 1 does nothing.
void CPAKTV(const double& T, const int64_t& NCOEF, const int64_t& KTREF, const int64_t& N,
            const double* COEF, const double* RFLAG, const int64_t* ISKIP, double* AK);
void CPAKTD(const double& T, const int64_t& NCOEF, const int64_t& KTREF, const int64_t& N,
            const double* COEF, const double* RFLAG, const int64_t* ISKIP, double* AK);

}  // namespace thermomodels
