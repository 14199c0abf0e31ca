// Liquid fugacity coefficients of the sour-water model: Henry's law on the
// free molecular species left by the chemical equilibrium, times activity
// coefficients and Poynting factors; ammonia carries an empirical factor of
// the solubility-parameter difference of its solvent.
#include <cmath>
#include <limits>

#include "sour_water/sour_water.h"

namespace thermomodels {

namespace {

// Start of the free ammonia: this share of the total.
constexpr double kFreeAmmoniaStart = 1e-6;
// Negative amounts left by the solver are raised to this floor.
constexpr double kSpeciesFloor = 0.0;
// Ammonia factor exp(0.39 DDS - 0.131 DDS^2), exponent within +-46.05.
constexpr double kCoramA = 0.39;
constexpr double kCoramB = 0.131;
constexpr double kCoramBound = 46.05;
constexpr int64_t kImposedPh = 1;
// The activity scratch sits behind the ten words the ionic equilibrium keeps there.
constexpr int64_t kActivityScratch = 10;

// The call's slots in model order: slots 1-4 always hold the key
// components; slot s of the model comes from the caller's slot from[s], or
// from nowhere (-1) for a key component the caller lacks.
struct LiquidSlots {
  int64_t n = 0;
  int64_t idx[kNcMax];
  double x[kNcMax];
  int64_t from[kNcMax];
};

bool KnownModelIndex(int64_t m) { return m >= 1 && m <= kNumModelComponents; }

// Key slots beyond the caller's N, or with a model index outside 1..18,
// count as absent (mole fraction 0). Other slots with such an index take no
// part; valid ones beyond 20 slots are not mapped.
LiquidSlots MapSlots(int64_t n_caller, const int64_t* IDX, const double* X) {
  LiquidSlots m;
  for (int64_t s = 0; s < 4; ++s) {
    const bool given = s < n_caller && KnownModelIndex(IDX[s]);
    m.idx[s] = given ? IDX[s] : s + 1;
    m.x[s] = given ? X[s] : 0.0;
    m.from[s] = given ? s : -1;
  }
  m.n = 4;
  for (int64_t s = 4; s < n_caller && m.n < kNcMax; ++s) {
    if (!KnownModelIndex(IDX[s])) continue;
    m.idx[m.n] = IDX[s];
    m.x[m.n] = X[s];
    m.from[m.n] = s;
    ++m.n;
  }
  return m;
}

}  // namespace

}  // namespace thermomodels

using namespace thermomodels;

extern "C" TM_API void PPTH_PHILGPSW(const double* T, const double* P, const int64_t* N,
                                     const int64_t* IDX, const double* X, double* LNPHI,
                                     const double* PH, const int64_t* KPH, double* WORK) {
  const int64_t n_caller = *N;
  for (int64_t i = 0; i < n_caller; ++i) LNPHI[i] = std::log(kPhiMax);
  // A temperature or pressure that is not a positive finite number has no
  // liquid: every slot keeps the upper bound.
  if (n_caller < 1 || !IsPositiveFinite(*T) || !IsPositiveFinite(*P)) return;
  const LiquidSlots slots = MapSlots(n_caller, IDX, X);
  const int64_t n = slots.n;
  const double* x = slots.x;
  // Ammonia whose free start amount (1e-6 of it) is below the smallest
  // normal number counts as absent from the ionic equilibrium: a secant on
  // sub-normal amounts loses its steps to rounding and falls back on a
  // slope saved by an earlier call, so the same call could answer
  // differently.
  double x_solve[kNcMax];
  for (int64_t i = 0; i < n; ++i) x_solve[i] = x[i];
  if (!(kFreeAmmoniaStart * x[1] >= std::numeric_limits<double>::min())) x_solve[1] = 0.0;

  GpswLiquidSaved& s = GPSWLIQ;
  s.ph_solves = s.inner_iterations = s.relaxation_passes = s.ammonia_halvings = 0;
  const GpswWorkLayout& w = kLiquidWork;
  // The scratch holds 80 + N words; a caller with fewer than four slots has
  // room for its own slots only, so the four key slots use local scratch.
  double local_scratch[kScratchWords + kNcMax];
  double* scratch = n_caller >= n ? WORK + w.wscr : local_scratch;
  double* vl = WORK + w.vl;
  double* poyn = WORK + w.poyn;
  double* henry = WORK + w.henry;
  double* keq = WORK + w.keq;
  double* kapp = WORK + w.kapp;
  double* xion = WORK + w.xion;
  double* xneut = WORK + w.xneut;
  double* xcz = WORK + w.xcz;
  double* gc = WORK + w.gc;
  double* gneut = WORK + w.gneut;
  double* gion = WORK + w.gion;
  GpswcomBlock& b = GPSWCOM;

  LoadGpsw(b, n, slots.idx, henry);
  TdpgpswFromBlock(*T, *P, n, b, w, WORK, scratch);
  for (int64_t i = 0; i < n; ++i) {
    const double f = i < 2 ? 1.0 : kGasPoyntingFactor;
    poyn[i] = std::exp(f * *P * vl[i] / (kRgasCcAtm * *T));
  }
  EQKGPSW(*T, kNreact, b.DHO, b.DSR, b.AL, b.BE, b.DSE, keq, scratch);
  s.XNH3 = kFreeAmmoniaStart * x_solve[1];

  // Water alone or with gases that do not react: no ions form, the
  // ionic equilibrium has nothing to balance (its start divides 0 by 0), so the
  // free species are the given ones. Solutes below the smallest normal
  // number count as absent here: the charge residual, relative to their
  // total, would overflow.
  const bool reacting = x_solve[1] + x[2] + x[3] >= std::numeric_limits<double>::min() &&
                        (s.XNH3 > 0.0 || x[2] > 0.0 || x[3] > 0.0);
  if (reacting || *KPH == kImposedPh) {
    INIGPSW(n, kNreact, *KPH, x_solve, keq, *PH, s.XNH3, s.PHC, s.XH, s.XOH, s.SUMX, s.SUMX0,
            s.XWAT, kapp, WORK + w.yspc, WORK + w.rspc, xion, xneut, xcz);
    PHSGPSW(n, kNion, kNneut, kNreact, *KPH, *T, *P, x_solve, keq, s.XNH3, s.PHC, s.XH, s.XOH,
            s.SUMX, s.SUMX0, s.XWAT, kapp, WORK + w.yspc, WORK + w.rspc, xion, xneut, xcz, b.IONCHG,
            b.MW, vl, WORK + w.nvl, WORK + w.dsp, WORK + w.ndsp, b.IONVOL, b.IONVSP, s.DDW, s.DDS,
            gc, gneut, gion, scratch);
  } else {
    s.SUMX0 = 0.0;
    for (int64_t i = 0; i < n; ++i) s.SUMX0 += x[i];
    s.SUMX = s.SUMX0;
    s.PHC = std::numeric_limits<double>::quiet_NaN();
    s.DDW = s.DDS = 0.0;
    for (int64_t i = 0; i < n; ++i) xcz[i] = x[i] / s.SUMX0;
    for (int64_t j = 0; j < kNion; ++j) xion[j] = 0.0;
    for (int64_t k = 0; k < kNneut; ++k) xneut[k] = 0.0;
    s.species_total = s.SUMX0;
  }

  auto floor_amounts = [](double* amounts, int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
      if (amounts[i] < kSpeciesFloor) amounts[i] = kSpeciesFloor;
    }
  };
  floor_amounts(xcz, n);
  floor_amounts(xion, kNion);
  floor_amounts(xneut, kNneut);
  ACTGPSW(n, kNion, kNneut, *T, xion, xneut, xcz, b.IONCHG, b.MW, vl, gc, gneut, gion,
          scratch + kActivityScratch);

  // The ammonia factor; without the ionic equilibrium DDS is 0 and the factor 1.
  double c = kCoramA * s.DDS - kCoramB * s.DDS * s.DDS;
  if (!(c <= kCoramBound)) c = kCoramBound;
  if (c < -kCoramBound) c = -kCoramBound;
  s.CORAM = std::exp(c);

  for (int64_t i = 0; i < n; ++i) {
    if (slots.from[i] < 0) continue;
    double numerator = henry[i] * gc[i] * poyn[i];
    if (i == 1) numerator *= s.CORAM;
    // A gas beyond the key slots given at zero fraction takes its limit:
    // its free share is its whole share, 1 / (species total).
    const double phi = (i >= 4 && x[i] == 0.0) ? numerator / (*P * s.species_total)
                                               : numerator * xcz[i] / (*P * x[i]);
    LNPHI[slots.from[i]] = ClampedLog(phi);
  }
}
