// Sour-water model: water, ammonia, carbon dioxide, hydrogen sulfide and
// fourteen other gases. Vapour from a virial equation truncated after the
// third coefficient, dissolved gases from Henry's law, ionic equilibria from
// Helgeson-type reaction data. Units inside: K, atm, cc/mol; R = 82.05
// cc atm/(mol K) in the temperature terms and the virial equation.
//
// Slots: slots 1 to 4 always hold water, ammonia, carbon dioxide and
// hydrogen sulfide; the other recognised components follow in host-list
// order. Every slot carries a model index 1..18 (the row of the component
// table). Several steps address slot 1 as water and slot 2 as ammonia.
//
// Arrays follow the Fortran layout: a slot, ion or reaction array holds
// kNcMax, kNionMax or kNreactMax entries, slot s at index s - 1; a slot
// matrix is kNcMax x kNcMax, column-major, entry (i, j) at
// (i - 1) + (j - 1) * kNcMax.
#pragma once

#include <cmath>
#include <cstdint>

#include "common/common.h"

namespace thermomodels {

// Dimensions of the model arrays and the counts in use.
inline constexpr int64_t kNcMax = 20;      // component slots
inline constexpr int64_t kNionMax = 10;    // ions
inline constexpr int64_t kNneutMax = 2;    // neutral reaction products
inline constexpr int64_t kNreactMax = 10;  // reactions
inline constexpr int64_t kNion = 9;
inline constexpr int64_t kNneut = 2;
inline constexpr int64_t kNreact = 9;
inline constexpr int64_t kNumModelComponents = 18;

// Gas constant of the temperature terms and the virial equation.
inline constexpr double kRgasCcAtm = 82.05;  // cc atm/(mol K)
// Unit factor of the liquid estimate: a pressure in Pa times 0.98684 and
// divided by 100000 is atm.
inline constexpr double kAtmPerPaNumerator = 0.98684;
inline constexpr double kAtmPerPaDenominator = 100000.0;
// Poynting exponent factor of the dissolved gases (slots 3 and up); water
// and ammonia take 1.
inline constexpr double kGasPoyntingFactor = 1.5;
// Fugacity coefficients are limited to this range before the logarithm.
inline constexpr double kPhiMin = 1e-20;
inline constexpr double kPhiMax = 1e20;

// Column-major slot-matrix entry (i, j), 1-based, leading dimension ld.
inline constexpr int64_t SlotEntry(int64_t i, int64_t j, int64_t ld) {
  return (i - 1) + (j - 1) * ld;
}

// ln of a fugacity coefficient limited to [kPhiMin, kPhiMax]; a value that
// is not a number gives the upper bound.
inline double ClampedLog(double phi) {
  if (!(phi <= kPhiMax)) phi = kPhiMax;
  if (phi < kPhiMin) phi = kPhiMin;
  return std::log(phi);
}

// Temperatures and pressures of a state: positive and finite.
inline bool IsPositiveFinite(double v) { return v > 0.0 && std::isfinite(v); }

// ---------------------------------------------------------------------------
// Component recognition
// ---------------------------------------------------------------------------

// Bytes of one alias: three 8-byte words of four characters each, left-
// justified and blank-padded.
inline constexpr int64_t kAliasBytes = 24;

// Alias of model component m (1..18), as the host writes it.
const unsigned char* ModelAlias(int64_t m);

// The slot map of a host component list. ALIAS points at the alias of host
// component number 1; host numbers outside 1..max_host_number are not
// recognised. Non-key entries beyond kNcMax slots are ignored. Outputs and
// KOPT as PPTH_CHKCMP.
void CheckComponents(const int64_t& NC, const int64_t* IDX, int64_t& NGPSW, int64_t* MODIDX,
                     int64_t* POS, const unsigned char* ALIAS, int64_t max_host_number,
                     int64_t& NKEY, int64_t& NREC, int64_t& IWAT, const int64_t& KOPT);

// ---------------------------------------------------------------------------
// Model data in slot order
// ---------------------------------------------------------------------------

// Parameters of the slots of one call, filled by PRMGPSW. Written on every
// call of the vapour and liquid fugacity routines; the liquid estimate keeps
// its own instance.
struct GpswcomBlock {
  double TC[kNcMax];             // critical temperature [K]
  double PC[kNcMax];             // critical pressure [atm]
  double VC[kNcMax];             // critical volume [cc/mol]
  double ZC[kNcMax];             // critical compressibility factor
  double ACEN[kNcMax];           // acentric factor
  double RHOREF[kNcMax];         // reference liquid density [g/cc]
  double TRHO[kNcMax];           // temperature of that density [K]
  double MW[kNcMax];             // molar mass [g/mol]
  double VIRA[kNcMax];           // second-virial parameter a [cc/mol]
  double VIRB[kNcMax];           // second-virial parameter b [cc/mol]
  double VIRC[kNcMax];           // second-virial parameter c
  double EQNU[kNcMax];           // column "EQ.ST. NU"
  double VNPSP[kNcMax];          // non-polar solubility factor x V* [cc/mol]
  double BHS[kNcMax];            // hard-sphere volume [cc/mol]
  double VSP[kNcMax];            // solubility factor x V* [cc/mol]
  double HENA[kNcMax];           // Henry parameter A
  double HENB[kNcMax];           // Henry parameter B [K]
  double HENC[kNcMax];           // Henry exponent
  double CRED[kNcMax];           // reduced third virial coefficient
  double RTCPC[kNcMax];          // 82.05 TC/PC [cc/mol]
  double IONVOL[kNionMax];       // ion column "ION VOL."
  double IONVNP[kNionMax];       // ion column "V(NP SOL.P)"
  double IONVDD[kNionMax];       // ion column "V(^D-D)"
  double IONVINF[kNionMax];      // ion column "V. INF."
  double IONCHG[kNionMax];       // ion charge number
  double IONVSP[kNionMax];       // ion column "V(SOL.P.)"
  double DHO[kNreactMax];        // reaction enthalpy at 298.15 K [cal/mol]
  double DSR[kNreactMax];        // reaction entropy at 298.15 K [cal/(mol K)]
  double AL[kNreactMax];         // constant heat-capacity term [cal/(mol K)]
  double BE[kNreactMax];         // linear heat-capacity term [cal/(mol K2)]
  double DSE[kNreactMax];        // coefficient of the FS function [cal/(mol K)]
  double NEQNU[kNneutMax];       // neutral product: column "EQ. ST. NU"
  double NVNPSP[kNneutMax];      // neutral product: non-polar factor x V*
  double NEQB[kNneutMax];        // neutral product: equation-of-state b [cc/mol]
  double NVSP[kNneutMax];        // neutral product: solubility factor x V*
  double KIJB[kNcMax * kNcMax];  // temperature coefficient of KIJ
  double KIJ[kNcMax * kNcMax];   // virial interaction parameter
  int64_t NCMAX;
  int64_t NIONMAX;
  int64_t NNEUTMAX;
  int64_t NREACTMAX;
};

// Parameters of the latest vapour or liquid fugacity call.
extern GpswcomBlock GPSWCOM;

// Copies the table rows of the slots IDX(1..N) into slot order, the ions,
// neutral products and reactions, and derives CRED and RTCPC. FX25 receives
// the "f/X,25C" column. A model index outside 1..18 loads a zero row (with
// CRED = RTCPC = 0); N, NION, NNEUT and NREACT are limited to the array
// dimensions.
void PRMGPSW(const int64_t& N, const int64_t* IDX, const int64_t& NION, const int64_t& NNEUT,
             const int64_t& NREACT, double* TC, double* PC, double* VC, double* ZC, double* ACEN,
             double* RHOREF, double* TRHO, double* MW, double* VIRA, double* VIRB, double* VIRC,
             double* FX25, double* EQNU, double* VNPSP, double* BHS, double* VSP, double* HENA,
             double* HENB, double* HENC, double* IONVOL, double* IONVNP, double* IONVDD,
             double* IONVINF, double* IONCHG, double* IONVSP, double* DHO, double* DSR, double* AL,
             double* BE, double* DSE, double* KIJB, double* KIJ, double* CRED, double* RTCPC,
             double* NEQNU, double* NVNPSP, double* NEQB, double* NVSP, const int64_t& LD);

// Sets the dimension words of BLOCK and loads the N slots IDX into it with
// the model's counts (9 ions, 2 neutral products, 9 reactions).
void LoadGpsw(GpswcomBlock& block, const int64_t& N, const int64_t* IDX, double* FX25);

// ---------------------------------------------------------------------------
// WORK areas of the exported routines (0-based first words)
// ---------------------------------------------------------------------------
struct GpswWorkLayout {
  int64_t kp, bij, dnp, vl, ndnp, ndsp, nvl, dsp;  // temperature terms
  int64_t poyn;                                    // liquid only (-1 otherwise)
  int64_t henry;
  int64_t phiv;                                                      // vapour only (-1 otherwise)
  int64_t keq, kapp, yspc, rspc, xion, xneut, xcz, gc, gneut, gion;  // liquid only
  int64_t wscr;                                                      // scratch, 80 + N words
};

// Each area starts where the previous one ends.
constexpr GpswWorkLayout GpswWorkAreas(bool liquid) {
  GpswWorkLayout w{};
  int64_t at = 0;
  auto take = [&at](int64_t length) {
    const int64_t start = at;
    at += length;
    return start;
  };
  w.kp = take(kNcMax);
  w.bij = take(kNcMax * kNcMax);
  w.dnp = take(kNcMax);
  w.vl = take(kNcMax);
  w.ndnp = take(kNneutMax);
  w.ndsp = take(kNneutMax);
  w.nvl = take(kNneutMax);
  w.dsp = take(kNcMax);
  w.poyn = liquid ? take(kNcMax) : -1;
  w.henry = take(kNcMax);
  w.phiv = liquid ? -1 : take(kNcMax);
  w.keq = w.kapp = w.yspc = w.rspc = w.xion = w.xneut = w.xcz = w.gc = w.gneut = w.gion = -1;
  if (liquid) {
    w.keq = take(kNreactMax);
    w.kapp = take(kNreactMax);
    w.yspc = take(kNreactMax);
    w.rspc = take(kNreactMax);
    w.xion = take(kNionMax);
    w.xneut = take(kNneutMax);
    w.xcz = take(kNcMax);
    w.gc = take(kNcMax);
    w.gneut = take(kNneutMax);
    w.gion = take(kNionMax);
  }
  w.wscr = take(0);
  return w;
}
inline constexpr GpswWorkLayout kVapourWork = GpswWorkAreas(false);
inline constexpr GpswWorkLayout kLiquidWork = GpswWorkAreas(true);
// Scratch words beyond the slot count: three slot areas of the temperature
// terms plus the virial scratch (kNcMax + N).
inline constexpr int64_t kScratchWords = 4 * kNcMax;

// ---------------------------------------------------------------------------
// Temperature terms, virial vapour, equilibrium constants
// ---------------------------------------------------------------------------

// Water vapour pressure of the model [atm] at T' (already limited to
// 647.29 K).
double WaterVapourPressure(double t);

// Temperature-dependent quantities of the N slots and NNEUT neutral
// products (P is not read). SCR: 80 + N words.
void TDPGPSW(const double& T, const double& P, const int64_t& N, const int64_t& NNEUT,
             const double* TC, const double* PC, const double* VC, const double* ZC,
             const double* VIRA, const double* VIRB, const double* VIRC, const double* VNPSP,
             const double* BHS, const double* VSP, const double* HENA, const double* HENB,
             const double* HENC, const double* KIJB, const double* KIJ, const double* CRED,
             const double* RTCPC, const double* NVNPSP, const double* NEQB, const double* NVSP,
             double* HENRY, double* KP, double* BIJ, double* DNP, double* VL, double* NDNP,
             double* NDSP, double* NVL, double* DSP, const int64_t& LD, double* SCR);

// TDPGPSW from the parameters in BLOCK into the areas of LAYOUT in AREAS
// (a WORK array, or storage laid out like one); SCR 80 + N words.
void TdpgpswFromBlock(const double& T, const double& P, const int64_t& N, const GpswcomBlock& block,
                      const GpswWorkLayout& layout, double* areas, double* SCR);

// Fugacity coefficients PHI (not logarithms) of the N slots in the vapour Y
// at T [K] and P [atm] from the virial equation; SCR LD + N words.
void VIRGPSW(const double& T, const double& P, const double* Y, const int64_t& N,
             const double* CRED, const double* RTCPC, const double* BIJ, double* PHI,
             const int64_t& LD, double* SCR);

// Most times the virial density solve lowers the pressure by 0.9 for a
// compressibility below 0.27 before it keeps the state it has.
inline constexpr int kMaxPressureCuts = 400;

// ln K of the NREACT data reactions into LNK and the nine model constants
// K1..K9 (mole-fraction basis) into KEQ, at T [K].
void EQKGPSW(const double& T, const int64_t& NREACT, const double* DHO, const double* DSR,
             const double* AL, const double* BE, const double* DSE, double* KEQ, double* LNK);

// ---------------------------------------------------------------------------
// Liquid: activity coefficients, corrected constants, ionic equilibrium
// ---------------------------------------------------------------------------

// ln gamma and the exponents of the constant corrections limited to
// [-46.05170186, 46.0517018598809]; a value that is not a number gives the
// upper bound.
double ClampedExponent(double v);

// Activity coefficients GC (N slots), GNEUT, GION from the amounts XION,
// XNEUT, XCZ (only their ratios matter) at T [K]. SCR: 32 words, ln gamma
// of the slots (1-20), neutral products (21-22) and ions (23-32).
void ACTGPSW(const int64_t& N, const int64_t& NION, const int64_t& NNEUT, const double& T,
             const double* XION, const double* XNEUT, const double* XCZ, const double* IONCHG,
             const double* MW, const double* VL, double* GC, double* GNEUT, double* GION,
             double* SCR);

// Working constants KAPP: KEQ over the activity quotients GQ (9 words),
// corrected by the solubility-parameter differences DDW and DDS and scaled
// to the species total SUMX, which it also returns.
void VOLGPSW(const int64_t& N, const int64_t& NION, const int64_t& NNEUT, const int64_t& NREACT,
             const double& T, const double* KEQ, double& SUMX, double* KAPP, const double* XION,
             const double* XNEUT, const double* XCZ, const double* VL, const double* NVL,
             const double* DSP, const double* NDSP, const double* IONVOL, const double* IONVSP,
             const double* IONCHG, const double* GC, const double* GNEUT, const double* GION,
             double& DDW, double& DDS, double* GQ);

// Differences of the volume-fraction solubility parameters: DDW water
// against the whole liquid, DDS the water-ammonia solvent against it.
void VMXGPSW(double& DDW, double& DDS, const int64_t& N, const int64_t& NION, const int64_t& NNEUT,
             const double& T, const double* XION, const double* XNEUT, const double* XCZ,
             const double* VL, const double* NVL, const double* DSP, const double* NDSP,
             const double* IONVOL, const double* IONVSP, const double* IONCHG);

// Mole-fraction constants to the scale of amounts totalling SUMX: K1 times
// SUMX, K5, K6 and K7 divided by it.
void ScaleWorkingConstants(double* KAPP, const double& SUMX);

// The linear system of the ionic equilibrium: 15 x 10, column-major; rows 1-9 the
// equations, column 10 the right-hand side and then the solution.
inline constexpr int64_t kAmatRows = 15;
inline constexpr int64_t kAmatCols = 10;
inline constexpr int64_t kMaxPhSolves = 200;
// Further inner solves, at most, that close a balance the search left open.
inline constexpr int64_t kMaxBalanceSolves = 40;

// Saved storage of the liquid fugacity routine and its ionic equilibrium. The
// scalars are rewritten by every call; the two secant slopes carry over to
// the next call when a secant denominator is exactly 0.
struct GpswLiquidSaved {
  double PHC;    // current pH (-log10 of the H+ molality); NaN when no ionic equilibrium was solved
  double XH;     // H+ mole fraction relative to SUMX0
  double XOH;    // OH- amount from the water equilibrium at PHC
  double SUMX;   // species total of the latest activity step
  double SUMX0;  // total of the input mole fractions
  double XWAT;   // free water
  double XNH3;   // free ammonia, the outer variable of the inner solve
  double DDW;    // solubility-parameter difference, water against the liquid
  double DDS;    // the same for the water-ammonia solvent
  double CORAM;  // ammonia factor
  double AMAT[kAmatRows * kAmatCols];
  double ph_slope;       // secant slope dpH/dF of the pH search
  double nh3_slope;      // secant slope of the free-ammonia update
  double species_total;  // total by which the final amounts were divided
  // Record of the latest call, for benchmarks and tests; nothing reads it.
  int64_t ph_solves;              // inner solves (one per pH tried)
  int64_t inner_iterations;       // inner iterations over all solves
  int64_t relaxation_passes;      // passes of the relaxation over all iterations
  int64_t ammonia_halvings;       // halvings of the free-ammonia step
  double ph_tried[kMaxPhSolves];  // pH of each inner solve
};
extern GpswLiquidSaved GPSWLIQ;

// Start estimate of the pH, hydroxide and species amounts; XNH3 in.
void INIGPSW(const int64_t& N, const int64_t& NREACT, const int64_t& KPH, const double* X,
             const double* KEQ, const double& PH, const double& XNH3, double& PHC, double& XH,
             double& XOH, double& SUMX, double& SUMX0, double& XWAT, double* KAPP, double* YSPC,
             double* RSPC, double* XION, double* XNEUT, double* XCZ);

// pH of electroneutrality by a damped secant around SPCGPSW (one solve at
// the imposed pH when KPH = 1); leaves XCZ, XION, XNEUT as true mole
// fractions. P is not read. WSCR: at least 72 words.
void PHSGPSW(const int64_t& N, const int64_t& NION, const int64_t& NNEUT, const int64_t& NREACT,
             const int64_t& KPH, const double& T, const double& P, const double* X,
             const double* KEQ, double& XNH3, double& PHC, double& XH, double& XOH, double& SUMX,
             double& SUMX0, double& XWAT, double* KAPP, double* YSPC, double* RSPC, double* XION,
             double* XNEUT, double* XCZ, const double* IONCHG, const double* MW, const double* VL,
             const double* NVL, const double* DSP, const double* NDSP, const double* IONVOL,
             const double* IONVSP, double& DDW, double& DDS, double* GC, double* GNEUT,
             double* GION, double* WSCR);

// Species amounts at the fixed pH PHC; XOHCB is the OH- amount the charge
// balance requires. With KPH = 1 it also finds the balancing NA+ amount.
void SPCGPSW(const int64_t& N, const int64_t& NION, const int64_t& NNEUT, const int64_t& NREACT,
             const int64_t& KPH, const double& T, const double& P, const double* X,
             const double* KEQ, double& XNH3, double& PHC, double& XH, double& XOH, double& SUMX,
             double& SUMX0, double& XWAT, double* KAPP, double* YSPC, double* RSPC, double* XION,
             double* XNEUT, double* XCZ, double& XOHCB, const double* IONCHG, const double* MW,
             const double* VL, const double* NVL, const double* DSP, const double* NDSP,
             const double* IONVOL, const double* IONVSP, double& DDW, double& DDS, double* GC,
             double* GNEUT, double* GION, double* WSCR, bool close_balances = false);

// Solves rows 1-9 of AMAT by elimination over their fixed pattern; column
// 10 in: right-hand side, out: solution. A component whose pivot is exactly
// 0 is left at 0. B and Y: nine words of scratch each.
void LINGPSW(double* AMAT, double* B, double* Y);

}  // namespace thermomodels
