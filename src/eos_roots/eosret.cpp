// Root memory: keeps the last converged volume root of the vapour and of
// each of two liquids in the host's pool DMS_PLEX, so that a later call at
// nearly the same state can start its root search there.
#include <cmath>

#include "eos_roots/eos_roots.h"

namespace thermomodels {
namespace {

// Site fractions the caller holds per component: its site-fraction array
// has a leading dimension of 4. The record reserves 6 words per component;
// the words beyond the caller's 4 are cleared on a save.
constexpr int64_t kSitesHeld = 4;
constexpr int64_t kSitesReserved = 6;

// Tolerances of a retrieval.
constexpr double kMaxTemperatureShift = 10.0;  // K
constexpr double kMaxFractionShift = 0.1;
constexpr double kUnadjustedPressureShift = 1000.0;  // Pa
constexpr double kMaxVapourPressureShift = 1e5;      // Pa

// Where one phase's record lies in the pool.
struct Record {
  const char* name;   // "V", "L1" or "L2" for the traces
  bool vapour;        // the vapour record: its pressure shift is bounded
  int64_t int_word;   // pool word of N, followed by the component numbers
  int64_t real_word;  // pool word of T, followed by P, V, DPDV, X, XA
};

// The record of the phase, or none (name null) for a liquid whose number is
// neither 1 nor 2.
Record PhaseRecord(int64_t iphase) {
  const tm_eosret_block& b = PPUTL_EOSRET;
  if (iphase == 1) return {"V", true, b.IPIV, b.RPIV};
  if (b.LIQNO == 1) return {"L1", false, b.IPIL1, b.RPIL1};
  if (b.LIQNO == 2) return {"L2", false, b.IPIL2, b.RPIL2};
  return {nullptr, false, 0, 0};
}

// True when the whole record of N components lies inside the pool.
bool RecordFits(const Record& r, int64_t n) {
  return PlexRangeOk(r.int_word, 1 + n) && PlexRangeOk(r.real_word, 4 + (3 + kSitesReserved) * n);
}

void Save(const Record& r, const double& T, const double& P, const double* X, int64_t N,
          const int64_t* IDX, double V, double DPDV, const double* XA) {
  PlexSetInt(r.int_word, N);
  for (int64_t i = 1; i <= N; ++i) PlexSetInt(r.int_word + i, IDX[i - 1]);
  const int64_t j = r.real_word;
  PlexReal(j) = T;
  PlexReal(j + 1) = P;
  PlexReal(j + 2) = V;
  PlexReal(j + 3) = DPDV;
  for (int64_t i = 1; i <= N; ++i) PlexReal(j + 3 + i) = X[i - 1];
  const int64_t xa_word = j + 3 + N + 1;
  for (int64_t k = 0; k < kSitesReserved * N; ++k) {
    PlexReal(xa_word + k) = (k < kSitesHeld * N) ? XA[k] : 0.0;
  }
}

// Returns true when the saved root was taken into V and XA.
bool Retrieve(const Record& r, const double& T, const double& P, const double* X, int64_t N,
              const int64_t* IDX, double& V, double* XA, bool trace, int32_t unit) {
  const int64_t saved_n = PlexInt(r.int_word);
  if (saved_n != N) {
    if (trace)
      WriteLine(unit, "EOSRET: RETRIEVAL ABORTED DUE TO N. SAVED = ", saved_n, "  CURRENT = ", N);
    return false;
  }
  const int64_t j = r.real_word;
  const double saved_t = PlexReal(j);
  if (!(std::fabs(T - saved_t) <= kMaxTemperatureShift)) {
    if (trace)
      WriteLine(unit, "EOSRET: RETRIEVAL ABORTED DUE TO T. SAVED = ", saved_t, "  CURRENT = ", T);
    return false;
  }
  for (int64_t i = 1; i <= N; ++i) {
    const int64_t saved_idx = PlexInt(r.int_word + i);
    if (saved_idx != IDX[i - 1]) {
      if (trace)
        WriteLine(unit, "EOSRET: RETRIEVAL ABORTED DUE TO IDX(", i, "). SAVED = ", saved_idx,
                  "  CURRENT = ", IDX[i - 1]);
      return false;
    }
  }
  for (int64_t i = 1; i <= N; ++i) {
    const double saved_x = PlexReal(j + 3 + i);
    const double x = X[i - 1];
    const bool zero_mismatch = (x == 0.0) != (saved_x == 0.0);
    if (!(std::fabs(x - saved_x) <= kMaxFractionShift) || zero_mismatch) {
      if (trace)
        WriteLine(unit, "EOSRET: RETRIEVAL ABORTED DUE TO X(", i, "). SAVED = ", saved_x,
                  "  CURRENT = ", x);
      return false;
    }
  }
  const double saved_p = PlexReal(j + 1);
  const double saved_v = PlexReal(j + 2);
  const double saved_dpdv = PlexReal(j + 3);
  const double dp = P - saved_p;
  if (std::fabs(dp) <= kUnadjustedPressureShift) {
    V = saved_v;
  } else {
    if ((r.vapour && std::fabs(dp) > kMaxVapourPressureShift) || saved_dpdv == 0.0 ||
        !std::isfinite(dp)) {
      if (trace)
        WriteLine(unit, "EOSRET: RETRIEVAL ABORTED DUE TO P. SAVED = ", saved_p, "  CURRENT = ", P);
      return false;
    }
    // Move along the saved slope to the new pressure.
    V = saved_v + dp / saved_dpdv;
    if (trace)
      WriteLine(unit, "EOSRET: V ADJUSTED DUE TO P. SAVED P = ", saved_p, "  CURRENT P = ", P,
                "        SAVED V = ", saved_v, "  SAVED DPDV = ", saved_dpdv);
    if (V < 0.0) {
      if (trace) WriteLine(unit, "EOSRET: V ADJUSTMENT ABORTED.");
      V = saved_v;
    }
  }
  const int64_t xa_word = j + 3 + N + 1;
  for (int64_t k = 0; k < kSitesHeld * N; ++k) XA[k] = PlexReal(xa_word + k);
  return true;
}

// The closing trace: the volume and the logarithms of the site fractions
// that are neither empty nor 1.
void TraceSiteFractions(int32_t unit, double V, int64_t N, const double* XA) {
  WriteLine(unit, "EOSRET: V = ", V);
  WriteLine(unit, "EOSRET: NO, I, ISITE, XA");
  for (int64_t i = 1; i <= N; ++i) {
    for (int64_t site = 1; site <= kSitesHeld; ++site) {
      const int64_t no = kSitesHeld * (i - 1) + site;
      const double xa = XA[no - 1];
      if (xa > 0.0 && xa != 1.0) WriteLine(unit, " ", no, " ", i, " ", site, " ", std::log(xa));
    }
  }
}

}  // namespace

void EOSRET(const int64_t& MODE, const int64_t& IPHASE, const double& T, const double& P,
            const double* X, const int64_t& N, const int64_t* IDX, double& V, const double& DPDV,
            double* XA, const double& TCMECH, const int64_t& ISTAT) {
  tm_eosret_block& b = PPUTL_EOSRET;
  if (b.ISTATE < 1 || b.IPIV == 0 || b.RPIV == 0) return;
  if (N < 0 || N > b.NMAX) return;
  if (MODE == 1 && (b.ISTATE == 1 || N != b.NSAVED)) return;
  // Nothing is kept above the mechanical pseudo-critical temperature.
  if (T > TCMECH) return;
  if (MODE != 1 && ISTAT != 0) return;

  const Record record = PhaseRecord(IPHASE);
  // A record that does not lie wholly inside the pool is never touched.
  if (record.name != nullptr && !RecordFits(record, N)) return;

  const bool trace = DIAGCOM.words[67] > 0;
  const int32_t unit = DMS_GLOBAL.IUNIT;
  if (trace && record.name != nullptr) {
    WriteLine(unit, MODE == 1 ? "EOSRET: RETRIEVING " : "EOSRET: SAVING ", record.name);
  }

  if (MODE != 1) {
    b.ISTATE = 2;
    b.NSAVED = N;
    if (record.name != nullptr) Save(record, T, P, X, N, IDX, V, DPDV, XA);
  } else if (record.name != nullptr && !Retrieve(record, T, P, X, N, IDX, V, XA, trace, unit)) {
    return;
  }
  if (trace) TraceSiteFractions(unit, V, N, XA);
}

}  // namespace thermomodels
