// CPA core: SRK cubic term plus Wertheim association. Forms the mixture and
// cross-association parameters, finds the molar-volume root through the
// reverse-communication root solvers, and derives ln phi, the departures and
// the compressibility factor from the residual Helmholtz energy
// A_res/(nRT) = ASRK + AA with
//   ASRK = -ln(1 - b rho) - a/(b R T) ln(1 + b rho)   (SRK),
//   AA   = the association sum of PCSAF5.
#include <cmath>
#include <cstring>

#include "association/association.h"
#include "cpa/cpa.h"
#include "eos_roots/eos_roots.h"

namespace thermomodels {

Cpa1Saved CPA1_SAVED{kNoValue};

namespace {

// Water alpha function: sqrt(alpha) = 1.096357606 exp(-0.15114 T/41.666667),
// so da/dT = -2 (0.15114/41.666667) a.
constexpr double kWaterAlphaScale = 1.096357606;
constexpr double kWaterAlphaRate = 0.15114 / 41.666667;     // 1/K
constexpr double kWaterAlphaSlope = -0.007254719941962241;  // (da/dT)/a, 1/K

// Mechanical pseudo-critical point of the SRK mixture: V = 3.8473 b,
// T = 0.20268 a/(b R).
constexpr double kVcmechPerB = 3.8473;
constexpr double kTcmechFactor = 0.20268;
// A trial volume at or below b is moved to this multiple of b.
constexpr double kRaisedVolumePerB = 1.1;
// Tolerance of the site-fraction solve.
constexpr double kSiteTolerance = 1e-10;
// Solver option of the association term that lets it choose by size.
constexpr int64_t kRdfSimplifiedCpa = 1;
// A root search ends with IRC 4 or 5 well within this many solver calls;
// the cap only guards against a solver that never reports an end.
constexpr int64_t kMaxSolverCalls = 10000;

inline bool Wanted(int64_t code) { return code >= 1 && code <= 3; }

// Pair flag of the combining rule: a value that truncates to 1 after adding
// 0.01.
inline bool PairFlag(double v) { return v + 0.01 >= 1.0 && v + 0.01 < 2.0; }

// Association type code held as a real: its integer part after adding 0.1;
// the no-value marker, a value that is not finite or one too large for an
// integer gives 0.
int64_t TypeCode(double v) {
  if (!(v < kNoValue) || !std::isfinite(v)) return 0;
  const double t = v + 0.1;
  if (t >= 9.0e18 || t <= -9.0e18) return 0;
  return static_cast<int64_t>(t);
}

// The model name handed to the root solvers: "CPA" in two blank-padded
// 8-byte words.
struct ModelName {
  int64_t words[2];
  ModelName() {
    char text[16];
    std::memset(text, ' ', sizeof text);
    std::memcpy(text, "CPA", 3);
    std::memcpy(words, text, sizeof words);
  }
};

}  // namespace

void CPA1(const double& T, const double& P, const double* X, const int64_t& N, const int64_t* IDX,
          const int64_t& NCC, const int64_t& LDIM, const int64_t& KVL, const int64_t& KPHI,
          const int64_t& KH, const int64_t& KS, const int64_t& KG, const int64_t& /*KV*/,
          const int64_t& /*KDER*/, const int64_t& LVL, const int32_t& IUNIT, const int64_t& LVLASC,
          const int64_t& LVLLQ, const int64_t& LVLVP, const int64_t& METHOD, double* XAWRK,
          void* /*unused22*/, double* PHIMX, double& DHMX, double& DSMX, double& DGMX, double& VMX,
          double* /*unused28*/, double& /*unused29*/, double& /*unused30*/, double& /*unused31*/,
          double& /*unused32*/, double& ZMX, double& DPDV, double& /*unused35*/,
          double& /*unused36*/, double& DP2DV2, const double* CPAAU, const double* CPAAV,
          const double* CPAKIJ, const double* CPAAT, const double* CPAVIJ, const double* KIJSET,
          const double* VIJSET, const double* ECRFLG, const double* CPAEIJ, const double* BC,
          const double* AC, const double* CPAM, const double* CPATC, double* AMX, double* BX,
          int64_t* IDXA, int64_t* IPOS, int64_t* IZERO, double* XA, double* XAR, double* XAR2,
          double* XAT, double* XAX, double* AAX, double* ARESDX, double* ASRKDX, double* RES,
          double* VOLD, double* XOLD, int64_t* ISITE, int64_t* IDXV, double* EPSAB, double* BETAB,
          int64_t* ITYPE, double* AKIJ, double* AKIJT, double* AVIJ, double* AVIJT, double* DELTA,
          double* DELTAR, double* DELTAR2, double* DELTAT, double* DELTAX, double* DZ2DN,
          double* DZ3DN, double* AWORK, const double& RGAS, const double& PREF, void* /*unused86*/,
          void* /*unused87*/, double& PCALC, const int64_t& KVSTRT, const int64_t& IPASS,
          int64_t& IXAST, double& P1, double& DPDV1, int64_t* IPIV, int64_t& IERR,
          const int64_t& IH2O, const int64_t& NSPEC, const int64_t* LSPEC, const int64_t& KTOL) {
  // Every phase code other than 2 is a vapour.
  const bool vapour = (KVL != 2);
  const int64_t phase = vapour ? 1 : 2;
  const double RT = RGAS * T;
  auto pair = [&](int64_t k, int64_t l) { return (l - 1) * NCC + (k - 1); };
  auto by_pos = [&](int64_t i, int64_t j) { return (j - 1) * NCC + (i - 1); };

  // --- Call setup -------------------------------------------------------
  int64_t root_status = 0;
  int64_t assoc_error = 0;
  double ZA = 0.0, ZAR = 0.0, AA = 0.0, AAT = 0.0;
  P1 = 0.0;
  DPDV1 = 0.0;
  const bool want_phi = Wanted(KPHI), want_h = Wanted(KH), want_s = Wanted(KS), want_g = Wanted(KG);
  const bool tder = want_h || want_s;
  const bool xder = want_phi || want_s || want_g;

  for (int64_t k = 1; k <= NCC; ++k) {
    ITYPE[k - 1] = TypeCode(CPAAT[k - 1]);
    IPOS[k - 1] = 0;
  }
  for (int64_t k = 0; k < NCC * NCC; ++k) IZERO[k] = 0;
  // The association term reads the position of each component through IPOS.
  for (int64_t i = 1; i <= N; ++i) {
    IDXA[i - 1] = IDX[i - 1];
    IPOS[IDX[i - 1] - 1] = i;
  }

  const int64_t two = 2, no_tref = 0;
  CPAKTV(T, two, no_tref, NCC, CPAKIJ, KIJSET, IZERO, AKIJ);
  CPAKTV(T, two, no_tref, NCC, CPAVIJ, VIJSET, IZERO, AVIJ);
  if (KH > 0 || KS > 0) {
    CPAKTD(T, two, no_tref, NCC, CPAKIJ, KIJSET, IZERO, AKIJT);
    CPAKTD(T, two, no_tref, NCC, CPAVIJ, VIJSET, IZERO, AVIJT);
  }

  // Orientation of a pair value (k, l) in a component-pair matrix: true
  // reads M(k, l), false M(l, k).
  auto forward = [&](const double* M, int64_t k, int64_t l) {
    if (NSPEC > 0) {
      const bool k_listed = IFINDI(k, LSPEC, 1, NSPEC) != 0;
      const bool l_listed = IFINDI(l, LSPEC, 1, NSPEC) != 0;
      if (k_listed || l_listed) return vapour ? k_listed : !k_listed;
    }
    const double v = M[pair(k, l)];
    return !(v == 0.0 || v == kNoValue);
  };
  auto value_of = [&](const double* M, int64_t k, int64_t l, bool fwd) {
    const double v = fwd ? M[pair(k, l)] : M[pair(l, k)];
    return v == kNoValue ? 0.0 : v;
  };
  auto lookup = [&](const double* M, int64_t k, int64_t l) {
    return value_of(M, k, l, forward(M, k, l));
  };
  // A pair value that must not depend on the order of the pair: read from
  // the lower component number first.
  auto pair_lookup = [&](const double* M, int64_t k, int64_t l) {
    return k <= l ? lookup(M, k, l) : lookup(M, l, k);
  };

  // --- Energy parameter ------------------------------------------------
  // Until the properties need them, ARESDX holds a_i and ASRKDX da_i/dT.
  double* a_pure = ARESDX;
  double* dadt_pure = ASRKDX;
  for (int64_t i = 1; i <= N; ++i) {
    const int64_t k = IDX[i - 1];
    double s;
    if (k == IH2O) {
      s = kWaterAlphaScale * std::exp(-kWaterAlphaRate * T);
    } else {
      s = 1.0 + CPAM[k - 1] * (1.0 - std::sqrt(T / CPATC[k - 1]));
    }
    a_pure[i - 1] = AC[k - 1] * s * s;
    if (k == IH2O) {
      dadt_pure[i - 1] = kWaterAlphaSlope * a_pure[i - 1];
    } else {
      dadt_pure[i - 1] = -AC[k - 1] * CPAM[k - 1] * s / std::sqrt(T * CPATC[k - 1]);
    }
  }
  // d sqrt(a_i)/dT, written so that a vanishing a_i gives no 0/0.
  auto dsqrt_a = [&](int64_t i) {
    const double sa = std::sqrt(a_pure[i - 1]);
    return sa > 0.0 ? 0.5 * dadt_pure[i - 1] / sa : 0.0;
  };
  double AM = 0.0, DAMDT = 0.0;
  for (int64_t i = 1; i <= N; ++i) {
    const double xi = X[i - 1];
    if (!(xi > kCpaTinyFraction) && !xder) continue;
    const int64_t ki = IDX[i - 1];
    double amx = 0.0;
    for (int64_t j = 1; j <= N; ++j) {
      const double xj = X[j - 1];
      if (!(xj > kCpaTinyFraction)) continue;
      const int64_t kj = IDX[j - 1];
      double aij, aji, daij = 0.0;
      if (j == i) {
        aij = aji = a_pure[i - 1];
        if (tder) daij = dadt_pure[i - 1];
      } else {
        const double sqrt_aa = std::sqrt(a_pure[i - 1] * a_pure[j - 1]);
        // The derivative of k_ij is read from the same record as k_ij.
        const bool fwd = forward(AKIJ, ki, kj);
        const double kij = value_of(AKIJ, ki, kj, fwd);
        aij = (1.0 - kij) * sqrt_aa;
        aji = (1.0 - lookup(AKIJ, kj, ki)) * sqrt_aa;
        if (tder) {
          const double t_dkij_dt = value_of(AKIJT, ki, kj, fwd);
          const double dsqrt_aa =
              dsqrt_a(i) * std::sqrt(a_pure[j - 1]) + std::sqrt(a_pure[i - 1]) * dsqrt_a(j);
          daij = (1.0 - kij) * dsqrt_aa - sqrt_aa * t_dkij_dt / T;
        }
      }
      AM += xi * xj * aij;
      if (tder) DAMDT += xi * xj * daij;
      // dAM/dx_i takes both orders of the pair: k_ij and k_ji may differ.
      amx += xj * (aij + aji);
    }
    if (xder) AMX[i - 1] = amx;
  }

  // --- Co-volume ---------------------------------------------------------
  double BM = 0.0;
  for (int64_t i = 1; i <= N; ++i) {
    BX[i - 1] = BC[IDX[i - 1] - 1];
    BM += X[i - 1] * BX[i - 1];
  }
  if (LVL >= 5) WriteLine(IUNIT, "AM, BM ", AM, " ", BM);

  // --- Cross-association parameters ---------------------------------------
  auto self_assoc = [&](int64_t i) { return IsSet(CPAAV[IDX[i - 1] - 1]); };
  auto flag_of = [&](int64_t i, int64_t j) {
    const int64_t ki = IDX[i - 1], kj = IDX[j - 1];
    return PairFlag(ECRFLG[pair(ki, kj)]) || PairFlag(ECRFLG[pair(kj, ki)]);
  };
  // Present components that associate, by themselves or with a partner; an
  // absent partner counts, since its ln phi at infinite dilution depends on
  // the present component's sites.
  int64_t NASSOC = 0;
  for (int64_t i = 1; i <= N; ++i) {
    if (!(X[i - 1] > kCpaTinyFraction)) continue;
    bool associates = self_assoc(i);
    for (int64_t j = 1; j <= N && !associates; ++j) {
      if (j == i) continue;
      const int64_t ki = IDX[i - 1], kj = IDX[j - 1];
      associates =
          pair_lookup(AVIJ, ki, kj) > 0.0 || flag_of(i, j) || IsSet(pair_lookup(CPAEIJ, ki, kj));
    }
    if (associates) ++NASSOC;
  }
  if (NASSOC > 0) {
    for (int64_t j = 1; j <= N; ++j) {
      for (int64_t i = 1; i <= N; ++i) EPSAB[by_pos(i, j)] = BETAB[by_pos(i, j)] = 0.0;
    }
    // Volume by the combining rule: sqrt(beta_i beta_j); a flagged partner
    // without a volume of its own borrows the self-associating one's. Both
    // orders of the pair get the value, so that the order of the components
    // does not matter.
    for (int64_t i = 1; i <= N; ++i) {
      if (!self_assoc(i)) continue;
      const double beta_i = CPAAV[IDX[i - 1] - 1];
      for (int64_t j = 1; j <= N; ++j) {
        double beta_j = CPAAV[IDX[j - 1] - 1];
        if (!self_assoc(j)) {
          if (flag_of(i, j)) {
            beta_j = beta_i;
            if (ITYPE[IDX[j - 1] - 1] == 0) ITYPE[IDX[j - 1] - 1] = 6;
          } else {
            beta_j = 0.0;
          }
        }
        if (beta_j != 0.0) BETAB[by_pos(i, j)] = BETAB[by_pos(j, i)] = std::sqrt(beta_i * beta_j);
      }
    }
    // A given binary volume replaces the combining rule; an induced
    // associator gets a one-site type.
    for (int64_t i = 1; i <= N; ++i) {
      for (int64_t j = 1; j <= N; ++j) {
        const int64_t ki = IDX[i - 1], kj = IDX[j - 1];
        double v = pair_lookup(AVIJ, ki, kj);
        if (v < 0.0) v = 0.0;
        if (!IsSet(v)) continue;
        BETAB[by_pos(i, j)] = BETAB[by_pos(j, i)] = v;
        if (self_assoc(j)) {
          if (ITYPE[ki - 1] == 0) ITYPE[ki - 1] = 6;
        } else {
          if (ITYPE[kj - 1] == 0) ITYPE[kj - 1] = 6;
          if (!self_assoc(i) && ITYPE[ki - 1] == 0) ITYPE[ki - 1] = 8;
        }
      }
    }
    // Energy: a given cross energy, else the mean of the two own energies,
    // else half of the one given where the pair has a volume. Volumes are
    // symmetric by now and the given energy is read in one order, so row i
    // and column i agree.
    for (int64_t i = 1; i <= N; ++i) {
      const int64_t ki = IDX[i - 1];
      for (int64_t j = 1; j <= N; ++j) {
        const int64_t kj = IDX[j - 1];
        const double e = pair_lookup(CPAEIJ, ki, kj);
        double eps = 0.0;
        if (ki != kj && IsSet(e)) {
          eps = e;
        } else {
          const double eps_i = CPAAU[ki - 1], eps_j = CPAAU[kj - 1];
          if (IsSet(eps_i) && IsSet(eps_j)) {
            eps = 0.5 * (eps_i + eps_j);
          } else if (BETAB[by_pos(i, j)] != 0.0) {
            eps = IsSet(eps_i) ? 0.5 * eps_i : (IsSet(eps_j) ? 0.5 * eps_j : 0.0);
          }
        }
        EPSAB[by_pos(i, j)] = eps;
      }
      for (int64_t j = 1; j <= N; ++j) EPSAB[by_pos(j, i)] = EPSAB[by_pos(i, j)];
    }
  }
  for (int64_t k = 0; k < NCC; ++k) {
    if (ITYPE[k] == 0) ITYPE[k] = 2;
  }

  // --- Mechanical pseudo-critical point and solver limits ----------------
  const double VCMECH = kVcmechPerB * BM;
  const double TCMECH = kTcmechFactor * AM / (BM * RGAS);
  const double VLIM = BM;
  const double VCUT = (T >= TCMECH && vapour) ? BM : VCMECH;

  // --- Evaluation at a trial volume --------------------------------------
  // Scalar cells for the association term's arguments that the simplified
  // CPA route does not read (segment data, packing fractions, group data).
  double unread_cells[8][4] = {};
  int64_t evaluations = 0;
  double v_evaluated = 0.0;         // volume of the latest evaluation
  double dpdv_previous = kNoValue;  // dP/dV before the latest solver call
  double v_previous = 0.0;          // volume before the latest solver call
  double v_first = 0.0;             // volume of the first evaluation
  double ARES = 0.0, ARESDR = 0.0;
  const int64_t kTrue64 = kTrue, kFalse64 = kFalse, start_fresh = 0, rdf = kRdfSimplifiedCpa;

  auto association = [&](double rho, int64_t ltemp, int64_t lcomp) {
    const double rho_old = CPA1_SAVED.last_rho;
    double asum_t = 0.0;
    PCSAF5(T, rho, N, NCC, IDX, X, unread_cells[0], unread_cells[1], CPAAU, EPSAB, BETAB,
           unread_cells[2], unread_cells[3], unread_cells[4], IZERO, unread_cells[5],
           unread_cells[6], N, IDXA, IPOS, kTrue64, kTrue64, ltemp, lcomp, XAWRK, start_fresh,
           NASSOC, IXAST, kSiteTolerance, AWORK, DZ2DN, DZ3DN, XA, XAR, XAR2, XAT, XAX, DELTA,
           DELTAR, DELTAR2, DELTAT, DELTAX, unread_cells[7], XOLD, ISITE, IDXV, RES, VOLD, ZA, ZAR,
           AA, asum_t, AAX, BM, BC, assoc_error, IUNIT, LVLASC, METHOD, ITYPE, LDIM, IPIV, rho_old,
           rdf, ECRFLG);
    CPA1_SAVED.last_rho = rho;
    if (IXAST == 1 && assoc_error == 0)
      IXAST = 2;
    else if (IXAST == 2 && assoc_error != 0)
      IXAST = 1;
    if (IsTrue(ltemp)) AAT = asum_t;
  };

  auto evaluate = [&](double V) {
    const double rho = 1.0 / V;
    const double y = BM * rho;
    const double am_rt = AM / RT;
    double asrk = 0.0, zsrk = 1.0, asrkdr = 0.0, asrkdr2 = 0.0;
    if (1.0 - y > 0.0) {
      asrk = -std::log(1.0 - y) - AM / (BM * RT) * std::log(1.0 + y);
      zsrk = 1.0 / (1.0 - y) - (am_rt * rho) / (1.0 + y);
      asrkdr = rho * (BM / (1.0 - y) - am_rt / (1.0 + y));
      asrkdr2 =
          rho * rho * (BM * BM / ((1.0 - y) * (1.0 - y)) + am_rt * BM / ((1.0 + y) * (1.0 + y)));
    }
    if (NASSOC >= 1) association(rho, kFalse64, kFalse64);
    ARES = asrk + AA;
    ARESDR = (zsrk + ZA - 1.0) / rho;
    // d2ARES/drho2, formed without dividing by rho^2 where that could be 0/0
    // (a volume so large that rho^2 underflows).
    double aresdr2 = 0.0;
    if (1.0 - y > 0.0) {
      aresdr2 = BM * BM / ((1.0 - y) * (1.0 - y)) + am_rt * BM / ((1.0 + y) * (1.0 + y));
    }
    if (ZAR != ZA && rho * rho > 0.0) aresdr2 += (ZAR - ZA) / (rho * rho);
    PCALC = (1.0 + rho * ARESDR) * rho * RT;
    DPDV = -rho * rho * RT * (1.0 + 2.0 * rho * ARESDR + rho * rho * aresdr2);
    if (++evaluations == 1) {
      v_first = V;
      P1 = PCALC;
      DPDV1 = DPDV;
    }
    if (v_previous != V && dpdv_previous != kNoValue) {
      DP2DV2 = (dpdv_previous - DPDV) / (v_previous - V);
    }
    v_evaluated = V;
    if (LVL >= 8) {
      const double zsrkdr =
          rho * (-BM / ((1.0 - y) * (1.0 - y)) - am_rt / (1.0 + y) * (1.0 - BM / (1.0 + y)));
      WriteLine(IUNIT, "CPA1 ASRK    ", asrk);
      WriteLine(IUNIT, "CPA1 ZSRK    ", zsrk);
      WriteLine(IUNIT, "CPA1 ASRKDR  ", asrkdr);
      WriteLine(IUNIT, "CPA1 ZSRKDR  ", zsrkdr);
      WriteLine(IUNIT, "CPA1 ASRKDR2 ", asrkdr2);
      if (NASSOC >= 1) {
        WriteLine(IUNIT, "CPA1 AA   ", AA);
        WriteLine(IUNIT, "CPA1 ZA   ", ZA);
        WriteLine(IUNIT, "CPA1 ZAR  ", ZAR);
      }
      WriteLine(IUNIT, "CPA1 Z       ", zsrk + ZA);
      WriteLine(IUNIT, "CPA1 ZR      ", zsrkdr + ZAR);
      WriteLine(IUNIT, "CPA1 ARES    ", ARES);
      WriteLine(IUNIT, "CPA1 ARESDR  ", ARESDR);
      WriteLine(IUNIT, "CPA1 ARESDR2 ", aresdr2);
    }
  };
  auto raised = [&](double V) { return V <= VLIM ? kRaisedVolumePerB * VLIM : V; };

  // --- Start of the search -------------------------------------------------
  PCALC = kNoValue;
  DPDV = kNoValue;
  DP2DV2 = 0.0;
  IERR = 0;
  double rtol = 1e-10, dpdxmf = 0.1;
  int64_t iaccpt = 0;
  if (KTOL == -1) {
    // The host's settings; one that is unset (0) or unusable keeps the
    // default of KTOL 0, since a zero tolerance never accepts a pseudo-root.
    rtol = ESRSET.RTOL > 0.0 && ESRSET.RTOL < 1.0 ? ESRSET.RTOL : 1e-8;
    dpdxmf = ESRSET.DPDXMF > 0.0 && std::isfinite(ESRSET.DPDXMF) ? ESRSET.DPDXMF : 0.1;
    iaccpt = ESROPT.IACCPT;
  } else if (KTOL == 0) {
    rtol = 1e-8;
  }

  double V = 0.0;
  if (KVSTRT == 0) {
    int64_t start = 1;
    if (IPASS == 2) {
      start = 5;
      V = VMX;
    } else if (IPASS == 1) {
      const int64_t retrieve = 1;
      EOSRET(retrieve, phase, T, P, X, N, IDX, V, DPDV, XA, TCMECH, root_status);
      if (V != 0.0) {
        start = 5;
        IXAST = 2;
        // The restored site fractions belong to the saved root, not to the
        // density of this routine's latest evaluation.
        CPA1_SAVED.last_rho = kNoValue;
      }
    }
    if (vapour) {
      PPUTL_ESROOT.iw[esr::VPPURE] = (N == 1) ? -1 : 0;
    } else {
      PPUTL_ESROOT.iw[esr::LQPURE] = (N == 1) ? -1 : 0;
    }
    static const ModelName kModel;
    int64_t irc = 4, iflag = start, istat = 0;
    const double slope0 = kNoValue;
    int64_t calls = 0;
    for (;;) {
      if (calls > 0) {
        v_previous = V;
        dpdv_previous = DPDV;
      }
      if (++calls > kMaxSolverCalls) {
        irc = 5;
        istat = 1;
        break;
      }
      if (vapour) {
        VPROOT(irc, iflag, VLIM, VCMECH, VCUT, T, P, V, PCALC, DPDV, kModel.words, LVL, LVLVP,
               IUNIT, slope0, RGAS, rtol, dpdxmf, PPUTL_ESROOT.iw, PPUTL_ESROOT.rw, iaccpt, istat);
      } else {
        LQROOT(irc, iflag, VLIM, VCMECH, VCUT, T, P, V, PCALC, DPDV, kModel.words, LVL, LVLLQ,
               IUNIT, slope0, RGAS, rtol, dpdxmf, PPUTL_ESROOT.iw, PPUTL_ESROOT.rw, iaccpt, istat);
      }
      if (irc < 1 || irc > 3) break;
      V = raised(V);
      evaluate(V);
    }
    if (irc == 4) {
      // An early finish keeps the status -1: it ended on the branch limit
      // or a cut pseudo-root, which the caller sees as a pseudo-root.
      root_status = (istat == -1) ? 4 : istat;
    } else {
      root_status = (istat >= 1 && istat <= 6) ? istat : 1;
    }
    // The properties must belong to the volume returned: a fallback or
    // reset volume that was never evaluated is evaluated now.
    if (evaluations == 0 || V != v_evaluated) {
      V = raised(V);
      evaluate(V);
    }
    if (irc == 4) {
      if (LVL >= 5 && NASSOC > 0) {
        int64_t pseudo;
        if (vapour)
          pseudo = PPUTL_ESROOT.iw[esr::VPPURE];
        else if (PPUTL_EOSRET.LIQNO == 2)
          pseudo = PPUTL_ESROOT.iw[esr::LQPUR2];
        else
          pseudo = PPUTL_ESROOT.iw[esr::LQPURE];
        WriteLine(IUNIT, vapour ? "CPA: VPROOT TOOK " : "CPA: LQROOT TOOK ",
                  PPUTL_ESROOT.iw[esr::ITER],
                  pseudo == 0 ? "  ITERATIONS FOR THE ROOT." : "  ITERATIONS FOR THE PSEUDO-ROOT.");
      }
      const int64_t save = 2;
      EOSRET(save, phase, T, P, X, N, IDX, V, DPDV, XA, TCMECH, istat);
    }
    if (LVL >= 8) {
      WriteLine(IUNIT, "BM = ", BM, " V1 = ", v_first, " V1/BM = ", v_first / BM,
                " BM/V1 = ", BM / v_first, " V = ", V, " V/BM = ", V / BM, " BM/V = ", BM / V);
    }
  } else {
    V = (KVSTRT == 1) ? VMX : PPUTL_ESROOT.rw[24];
    // A given volume at or below the co-volume has no state.
    if (!(V > VLIM) || !std::isfinite(V)) {
      VMX = V;
      ZMX = kNoValue;
      if (want_phi) {
        for (int64_t i = 0; i < N; ++i) PHIMX[i] = kNoValue;
      }
      if (want_h) DHMX = kNoValue;
      if (want_s) DSMX = kNoValue;
      if (want_g) DGMX = kNoValue;
      IERR = kCpaNoState;
      return;
    }
    evaluate(V);
    if (vapour) {
      PPUTL_ESROOT.rw[1] = PCALC;
      PPUTL_ESROOT.rw[5] = DPDV;
    } else {
      PPUTL_ESROOT.rw[0] = PCALC;
    }
  }

  // --- Properties from the residual Helmholtz energy ----------------------
  const double rho = 1.0 / V;
  const double y = BM * rho;
  double asrkdt = 0.0;
  if (tder) asrkdt = -(std::log(1.0 + y) / (BM * RT)) * (DAMDT - AM / T) * T;
  if (xder) {
    for (int64_t i = 1; i <= N; ++i) {
      if (1.0 - y <= 0.0) {
        ASRKDX[i - 1] = 0.0;
        continue;
      }
      const double bi = BX[i - 1];
      const double ln1y = std::log(1.0 + y);
      ASRKDX[i - 1] = rho * bi / (1.0 - y) - (AM * rho * bi / ((1.0 + y) * BM) -
                                              AM * bi * ln1y / (BM * BM) + AMX[i - 1] * ln1y / BM) /
                                                 RT;
    }
  }
  if (LVL >= 8) {
    if (tder) WriteLine(IUNIT, "CPA1 ASRKDT  ", asrkdt);
    if (xder) {
      for (int64_t i = 1; i <= N; ++i)
        WriteLine(IUNIT, "CPA1 I, ASRKDX(I) ", i, " ", ASRKDX[i - 1]);
    }
  }
  AAT = 0.0;
  for (int64_t i = 0; i < N; ++i) AAX[i] = 0.0;
  if (NASSOC > 0 && (tder || xder)) {
    association(rho, ToLogical(tder), ToLogical(xder));
    if (LVL >= 8) {
      if (tder) WriteLine(IUNIT, "CPA1 AAT  ", AAT);
      if (xder) {
        for (int64_t i = 1; i <= N; ++i) WriteLine(IUNIT, "CPA1 I, AAX(I) ", i, " ", AAX[i - 1]);
      }
    }
  }
  if (LVL >= 5) WriteLine(IUNIT, "CPA1 PACKING FRACTION ", y / 4.0);

  const double Z = 1.0 + rho * ARESDR;
  VMX = V;
  ZMX = Z;
  double aresdt = 0.0;
  if (tder) aresdt = (asrkdt + AAT) / T;
  if (xder) {
    for (int64_t i = 0; i < N; ++i) ARESDX[i] = ASRKDX[i] + AAX[i];
  }
  if (LVL >= 8) {
    if (tder) WriteLine(IUNIT, "CPA1 ARESDT  ", aresdt);
    if (xder) {
      for (int64_t i = 1; i <= N; ++i)
        WriteLine(IUNIT, "CPA1 I, ARESDX(I) ", i, " ", ARESDX[i - 1]);
    }
  }

  // Logarithms need a positive Z and pressure; without them the state has
  // no fugacity, Gibbs energy or entropy, and the status says so.
  const bool has_logs = Z > 0.0 && P > 0.0 && std::isfinite(Z);
  if (!has_logs && (root_status == 0 || root_status == 3 || root_status == 4)) {
    root_status = kCpaNoState;
  }
  // Pressure terms as differences of logarithms, so that a pressure far
  // below 1 Pa (where P/PREF or PCALC/P leaves the number range) still
  // gives finite values. A liquid's ln phi carries ln(PCALC/P); with
  // PCALC = Z RT/V its pressure terms -ln Z + ln(PCALC/P) are
  // ln(RT/V) - ln P, which needs no Z: at a pressure far below the root
  // solver's absolute tolerance a liquid's Z is only the rounding residue
  // of 1 + rho ARESDR. For the same reason a liquid root the search
  // converged on (PCALC = P within its tolerance) takes ln Z = ln(P V/RT)
  // in the G and S departures, so that DGMX = RT (sum x_i ln phi_i +
  // ln(P/PREF)) as for a vapour.
  double log_z_over_p = 0.0;   // ln Z - ln(P/PREF) of the departures
  double phi_log_terms = 0.0;  // -ln Z, plus ln(PCALC/P) for a liquid
  if (has_logs) {
    const double ln_p = std::log(P), ln_pref = std::log(PREF);
    log_z_over_p = std::log(Z) - (ln_p - ln_pref);
    if (vapour) {
      phi_log_terms = -std::log(Z);
    } else {
      const double ln_rt_over_v = std::log(RGAS) + std::log(T) - std::log(V);
      phi_log_terms = ln_rt_over_v - ln_p;
      if (KVSTRT == 0 && root_status == 0) log_z_over_p = ln_pref - ln_rt_over_v;
    }
  }
  if (want_g) DGMX = has_logs ? RT * (ARES - 1.0 + Z - log_z_over_p) : kNoValue;
  if (want_h) DHMX = RT * (Z - 1.0 - T * aresdt);
  if (want_s) DSMX = has_logs ? RGAS * (-ARES - T * aresdt + log_z_over_p) : kNoValue;
  if (want_phi) {
    if (has_logs) {
      double s1 = 0.0;
      for (int64_t j = 0; j < N; ++j) s1 += X[j] * ARESDX[j];
      const double common = -s1 + ARES + Z - 1.0 + phi_log_terms;
      for (int64_t i = 0; i < N; ++i) PHIMX[i] = ARESDX[i] + common;
    } else {
      for (int64_t i = 0; i < N; ++i) PHIMX[i] = kNoValue;
    }
  }
  IERR = root_status + kCpaAssocFailed * (assoc_error != 0 ? 1 : 0);
}

}  // namespace thermomodels
