/*
 * thermomodels: thermodynamic property models for a process simulator.
 *
 * Calling convention of every exported routine:
 *  - C linkage, upper-case names, every argument passed by pointer;
 *  - reals are IEEE doubles, integers are int64_t unless a routine says
 *    int32_t (output unit numbers and the water property code);
 *  - logical values are integers, true = -1 and false = 0; a test looks at
 *    the lowest bit only;
 *  - a character argument is a fixed-length, blank-padded buffer whose
 *    length is passed as a hidden size_t after the last listed argument;
 *  - the no-value marker 1e35 is returned where a quantity has no value and
 *    passed for an input that is not given;
 *  - the routines keep working state in process-wide storage: calls into the
 *    library must not overlap.
 *
 * Global blocks are plain structs whose words are laid out in the block's
 * documented order; the host fills the words marked host-set.
 */
#ifndef THERMOMODELS_H
#define THERMOMODELS_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define TM_API __attribute__((visibility("default")))
#else
#define TM_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* No-value marker: a quantity without value, or an input not given. */
#define TM_NO_VALUE 1e35

/* ---------------------------------------------------------------------------
 * Global blocks shared with the host
 * ------------------------------------------------------------------------- */

/* Root-solver state: 14 integer words, then 30 real words (352 bytes).
 * Word 1 (LQPURE) and word 2 (VPPURE) are set by the caller of a root
 * search: -1 tells the liquid or vapour solver that the fluid is pure.
 * The solvers own every other word; words 3-14 and the real words hold the
 * iterate and the last result of the vapour search and of each liquid. */
typedef struct {
  int64_t iw[14]; /* LQPURE, VPPURE, LVFIX, LVCUT, ITER, LPHIH/LPLOW,
                     ISTATL1, ISTATV, -, ISTATL2, LQPUR2, MODELS(2), - */
  double rw[30];  /* real words 1-30 (block words 15-44) */
} tm_esroot_block;
extern TM_API tm_esroot_block PPUTL_ESROOT;

/* Root memory control, host-set. Saved roots live in DMS_PLEX records:
 * the integer record of a phase needs 1 + NMAX words, its real record
 * 4 + 7 NMAX words. Pool word numbers are 1-based. */
typedef struct {
  int64_t ISTATE; /* < 1 off; 1 on, nothing saved yet; 2 set on every save */
  int64_t LIQNO;  /* liquid number of the current liquid calculation (1, 2) */
  int64_t IPIV;   /* pool word of the vapour integer record (0: memory off) */
  int64_t IPIL1;  /* pool word of the liquid-1 integer record */
  int64_t IPIL2;  /* pool word of the liquid-2 integer record */
  int64_t RPIV;   /* pool word of the vapour real record (0: memory off) */
  int64_t RPIL1;  /* pool word of the liquid-1 real record */
  int64_t RPIL2;  /* pool word of the liquid-2 real record */
  int64_t NMAX;   /* most components a record has room for */
  int64_t NSAVED; /* components of the latest save of any phase (library-set) */
} tm_eosret_block;
extern TM_API tm_eosret_block PPUTL_EOSRET;

/* The host's storage pool of 8-byte words, addressed 1-based by the pool
 * word numbers above. This library provides a pool of fixed capacity
 * TM_PLEX_WORDS; a word number outside 1..TM_PLEX_WORDS is never accessed. */
#define TM_PLEX_WORDS 1048576
typedef struct {
  double words[TM_PLEX_WORDS];
} tm_plex_block;
extern TM_API tm_plex_block DMS_PLEX;

/* Host settings: the first word is the host's 32-bit diagnostic output
 * unit (6 standard output, 0 standard error, others files fort.N or a file
 * opened on that unit). The remaining words are not used by the library. */
typedef struct {
  int32_t IUNIT;
  int32_t spare[63];
} tm_global_block;
extern TM_API tm_global_block DMS_GLOBAL;

/* ---------------------------------------------------------------------------
 * Water and steam (IAPWS-IF97)
 * ------------------------------------------------------------------------- */

/* One property of pure water by code KPROP (1 ln fugacity coefficient,
 * 2 enthalpy, 3 entropy, 4 Gibbs-energy departure, 5 molar volume,
 * 6 viscosity, 7 conductivity, 8 surface tension, 9 cp, 10 cv departure,
 * 11 vapour pressure, 12 internal energy, 13 speed of sound, 14 pressure
 * from T and V, 15 saturation temperature; others act as 1) in IF97 region
 * KREGION (1, 2, 3, 5; 4 lets the saturation routers choose, KPHASE 1
 * saturated vapour, 2 saturated liquid, else single phase).
 * Units: T K, P Pa, V m3/kmol, energies J/kmol, entropy and heat capacities
 * J/(kmol K), viscosity Pa s, conductivity W/(m K), tension N/m.
 * Status: IERR 0 with a value, 1 with VALUE = 1e35 (out of range, region
 * code not 1..5, a needed V not given or not positive).
 * Reference: codes 2, 3, 4, 9, 10 subtract the HGK 1984 ideal gas at
 * 298.15 K with R = 8314.41 J/(kmol K) (code 10 uses the cp term); code 12
 * is the IF97 internal energy as it stands. */
TM_API void QUELTRIN_IF97PRPH(const double* T, const double* P, const double* V,
                              const int32_t* KPROP, const int64_t* KPHASE,
                              const int64_t* KREGION, double* VALUE, int64_t* IERR);

/* Region (1, 2, 3, 5), temperature and pressure used and molar volume of
 * water at T, P for phase KVL (1 vapour, 2 liquid), after clamping to the
 * IF97 bounds and to the requested side of the saturation line; warnings on
 * IUNIT when LVLPRT >= 5; region 3 by a VPROOT/LQROOT volume search.
 * Units: T, TOUT K; P, POUT Pa; VOUT m3/kmol.
 * Status: IERR 1 when an input is refused (T or P not finite, P <= 0, KVL
 * not 1 or 2: outputs 1e35, KREGION 0), a property call failed or the
 * region-3 search failed (VOUT then the solver's last volume); else 0.
 * Reference: none (volumes and pressures only). */
TM_API void QUELTRIN_FDREGION(const double* T, const double* P, const int64_t* KVL,
                              int64_t* KREGION, double* TOUT, double* POUT, double* VOUT,
                              const int64_t* LVLPRT, const int32_t* IUNIT, int64_t* IERR);

/* Pure water in equation-of-state form for phase KVL (1 vapour, 2 liquid):
 * PHI = ln fugacity coefficient, DH, DS, DG departures and V, each written
 * only when its flag KPHI, KH, KS, KG, KV is exactly 1. Liquid below
 * 273.15 K from linear functions of T; above 647.096 K and below psat by
 * extrapolation from the critical temperature and saturation pressure.
 * Units: T K, P Pa, DH and DG J/kmol, DS J/(kmol K), V m3/kmol.
 * Status: IERR 1 when an input is refused (requested outputs 1e35), a
 * property call failed or the region-3 search failed; else 0.
 * Reference: the dispatcher's ideal gas at 298.15 K (R = 8314.41), plus
 * 8314.33 ln(p/22063999.9998894 Pa) in the region-3 entropy; not the CPA
 * routine's ideal gas at the state's own temperature and pressure. */
TM_API void QUELTRIN_ES15D(const double* T, const double* P, const int64_t* LVLPRT,
                           const int64_t* KVL, const int32_t* IUNIT, const int64_t* KPHI,
                           const int64_t* KH, const int64_t* KS, const int64_t* KG,
                           const int64_t* KV, double* PHI, double* DH, double* DS, double* DG,
                           double* V, int64_t* IERR);

/* ---------------------------------------------------------------------------
 * CPA equation of state
 * ------------------------------------------------------------------------- */

/* Host overrides of the CPA diagnostics (6 integer words, then a
 * 128-character blank-padded file name; 176 bytes), host-set. */
typedef struct {
  int64_t LVLCPA;     /* non-zero: the print level from now on (sticky) */
  int64_t IUSEGU;     /* 1: write on the DMS_GLOBAL unit, no history file */
  int64_t IOPENF;     /* 1: append to FILNAM on the DMS_GLOBAL unit */
  int64_t KDIGA;      /* non-zero: replaces digit a of KDIAG (VPROOT messages) */
  int64_t KDIGB;      /* non-zero: replaces digit b of KDIAG (LQROOT messages) */
  int64_t KDIGC;      /* non-zero: replaces digit c of KDIAG (association term) */
  char FILNAM[128];   /* history file name for IOPENF = 1 */
} tm_cpacom_block;
extern TM_API tm_cpacom_block PPCPA_CPACOM;

/* Pressure derivatives of the latest PPCPA_CPAPROP call (5 real words),
 * written at every exit; word 2 is never written. */
typedef struct {
  double DPDV;     /* word 1: dP/dV [Pa kmol/m3] */
  double UNUSED2;  /* word 2 */
  double DP2DV2;   /* word 3: d2P/dV2 [Pa kmol2/m6] */
  double DP2DVDT;  /* word 4: d2P/dVdT [Pa kmol/(m3 K)] */
  double DPDT;     /* word 5: dP/dT at constant V [Pa/K] */
} tm_esrder_block;
extern TM_API tm_esrder_block ESRDER;

/* CPA properties of one phase (KVL 2 liquid root, any other value vapour)
 * of the mixture X(N) of components IDX(N) (1..NCC) with requests KPHI, KH,
 * KS, KG, KV (0 none, 1 value, 2 T-derivative, 3 both) and KDER 1 for DPDT
 * and DP2DVDT. Mole fractions that do not sum to one are normalised (all
 * outputs are those of the normalised mixture); a component number repeated
 * in IDX is refused (IERR 20). Work: IWORK >= NCC^2 + 14 NCC words, RWORK >= 10 NCC^2 +
 * 50 NCC, EPSAB NCC x N, ITYPE NCC; arguments 47, 48, 50 are not read.
 * Units: K, Pa, m3/kmol, J/kmol, J/(kmol K); departures from the ideal gas
 * at T and 101325 Pa; R = 8314.33 J/(kmol K).
 * Status: IERR 0 ok; 1-6 root-solver status (1, 2, 5, 6 failed, 3, 4
 * pseudo-root); 7 the volume has no valid state (at or below the
 * co-volume, or Z <= 0: PHIMX, DGMX, DSMX are 1e35); +10 the site fractions
 * failed; 20 input refused (outputs 1e35). With temperature derivatives the
 * worse status of the two passes is returned. Outputs always belong to the
 * returned VMX. */
TM_API void PPCPA_CPAPROP(
    const double* T, const double* P, const double* X, const int64_t* N, const int64_t* IDX,
    const int64_t* NCC, const double* CPATC, const double* CPAPC, const double* CPAM,
    const double* CPAAU, const double* CPAAV, const double* CPAKIJ, const double* CPAAT,
    const double* CPAVIJ, const double* KIJSET, const double* VIJSET, const double* ECRFLG,
    const double* CPAEIJ, const int64_t* KVL, const int64_t* KPHI, const int64_t* KH,
    const int64_t* KS, const int64_t* KG, const int64_t* KV, const int64_t* KDER,
    double* PHIMX, double* DHMX, double* DSMX, double* DGMX, double* VMX, double* DPHIDT,
    double* DHDT, double* DSDT, double* DGDT, double* DVDT, double* ZMX, double* DPDV,
    double* DP2DVDT, double* DPDT, double* DP2DV2, int64_t* IWORK, double* RWORK,
    double* EPSAB, int64_t* ITYPE, const int32_t* IUNIT, const int64_t* KDIAG, void* ARG47,
    void* ARG48, double* XAWRK, void* ARG50, double* PCALC, const int64_t* KVSTRT,
    int64_t* IERR, const int64_t* IH2O, const int64_t* KTOL);

/* Opens FILENAME (blank-padded, length FILENAME_LEN) for appending on
 * IUNIT (MODE 1) or closes IUNIT (MODE 2).
 * Units: none.
 * Status: IERR 0 ok; 1 MODE neither 1 nor 2 (nothing done); 2 the file
 * could not be opened. */
TM_API void PPCPA_OPCLFILE(const int32_t* IUNIT, const char* FILENAME, const int64_t* MODE,
                           int64_t* IERR, size_t FILENAME_LEN);

/* ---------------------------------------------------------------------------
 * Sour water (water, ammonia, CO2, H2S and fourteen other gases)
 *
 * Model slots: slots 1-4 are always water, ammonia, carbon dioxide and
 * hydrogen sulfide, then the other recognised components in host-list
 * order; at most 20 slots. Each slot has a model index 1..18: 1 H2O, 2 NH3,
 * 3 CO2, 4 H2S, 5 CH4, 6 C2H6, 7 C3H8, 8 i-C4H10, 9 n-C4H10, 10 i-C5H12,
 * 11 n-C5H12, 12 H2, 13 N2, 14 CO, 15 CS2, 16 COS, 17 CH3SH, 18 C2H5SH.
 *
 * Aliases: a host component's formula alias is three 8-byte words (24
 * bytes), each holding four characters left-justified and blank-padded to
 * eight bytes ("C4H10-2" is "C4H1    0-2             "). The aliases of
 * all host components form one array of 24-byte records indexed by host
 * component number (1 first). They are compared byte for byte (case and
 * padding must match); they are not character arguments and carry NO
 * hidden length. Recognised aliases: "H2O", "H3N", "CO2", "H2S", "CH4",
 * "C2H6", "C3H8", "C4H10-2", "C4H10-1", "C5H12-2", "C5H12-1", "H2", "N2",
 * "CO", "CS2", "COS", "CH4S", "C2H6S-1" (model indices 1 to 18).
 *
 * The model's data are rewritten on every call; no state is carried from
 * one call to the next, but calls must not overlap.
 * ------------------------------------------------------------------------- */

/* Recognises the host's components and maps them to model slots.
 *  NC        in   number of components in the host list (<= 0: none)
 *  IDX(NC)   in   host component numbers of the list; they index ALIAS;
 *                 a number below 1 is not recognised
 *  NGPSW     out  slots in use: 4 + recognised non-key entries (<= 20;
 *                 non-key entries beyond 20 slots are not mapped)
 *  MODIDX(*) out  model index per slot, slots 1..NGPSW; MODIDX(s) = s for
 *                 s = 1..4
 *  POS(*)    out  host-list position (1..NC) per slot; for a key component
 *                 not in the list POS(s) is NOT written: preset POS to 0
 *  ALIAS     in   24-byte alias records by host component number (above)
 *  NKEY      out  host entries matching a key alias (repeats counted)
 *  NREC      out  NKEY + the non-key entries given a slot
 *  IWAT      out  list position of water (the later one if repeated);
 *                 0 without water
 *  KOPT      in   1: map only the four key components (NGPSW = 4); any
 *                 other value: map all
 * MODIDX and POS need room for NGPSW entries (20 at most).
 * Units: none. Status: none; an unknown alias is simply not mapped. */
TM_API void PPTH_CHKCMP(const int64_t* NC, const int64_t* IDX, int64_t* NGPSW, int64_t* MODIDX,
                        int64_t* POS, const void* ALIAS, int64_t* NKEY, int64_t* NREC,
                        int64_t* IWAT, const int64_t* KOPT);

/* Natural logarithms of the vapour fugacity coefficients of a sour-water
 * vapour from the virial equation truncated after the third coefficient.
 *  T         in   temperature [K] (the temperature terms use 647.29 K from
 *                 647.3 K up)
 *  P         in   pressure [atm]; above 0.99 of the virial equation's
 *                 spinodal pressure, or where Z would fall below 0.27, the
 *                 coefficients belong to that lowered pressure
 *  N         in   number of slots
 *  IDX(N)    in   model index per slot (1..18) in slot order (slot 1
 *                 water, slot 2 ammonia, as PPTH_CHKCMP maps them)
 *  Y(N)      in   vapour mole fractions per slot, used as given (not
 *                 normalised)
 *  LNPHI(N)  out  ln fugacity coefficient per slot, within [ln 1e-20,
 *                 ln 1e20]; a value that is not a number gives ln 1e20.
 *                 Slots with a model index outside 1..18 take no part in
 *                 the mixture and get ln 1e20; so do valid slots after the
 *                 first 20 valid ones.
 *  WORK      scratch, at least 606 + N doubles; nothing beyond is written
 * Units: K, atm; R = 82.05 cc atm/(mol K). Status: none. */
TM_API void PPTH_PHIVGPSW(const double* T, const double* P, const int64_t* N, const int64_t* IDX,
                          const double* Y, double* LNPHI, double* WORK);

/* Natural logarithms of the liquid fugacity coefficients of a sour-water
 * liquid: Henry's law (water: its own reference fugacity) on the free
 * molecular species left by the chemical equilibrium of nine ions (H+, OH-,
 * NH4+, HS-, S=, HCO3-, CO3=, carbamate, Na+) and two neutral products
 * (carbamic acid, urea), times activity coefficients and Poynting factors;
 * ammonia carries an empirical solvent factor. The equilibrium is solved at
 * the pH of electroneutrality, or at the pH the caller imposes.
 *  T         in   temperature [K] (the temperature terms use 647.29 K from
 *                 647.3 K up)
 *  P         in   pressure [atm], > 0
 *  N         in   number of slots (N < 1: nothing is written). Key
 *                 components a shorter list lacks (slots N+1..4) count as
 *                 absent.
 *  IDX(N)    in   model index per slot (1..18) in slot order (slot 1
 *                 water, 2 ammonia, 3 CO2, 4 H2S, as PPTH_CHKCMP maps
 *                 them). A key slot (1..4) with an index outside 1..18
 *                 counts as absent; any other such slot takes no part.
 *                 Both get ln 1e20, as do valid slots beyond the model's 20.
 *  X(N)      in   liquid mole fractions per slot, each component counted
 *                 whole (free plus bound in ions and products); used as
 *                 given (not normalised)
 *  LNPHI(N)  out  ln fugacity coefficient per slot (fugacity / (P X)),
 *                 within [ln 1e-20, ln 1e20] = [-46.0517018598809,
 *                 46.0517018598809]; a value that is not a number gives
 *                 ln 1e20. Slots 1-4 with X = 0 give ln 1e20; slots 5 and
 *                 up with X = 0 give their infinite-dilution value.
 *  PH        in   pH to impose (-log10 of the H+ molality, any value) when
 *                 KPH = 1; not read otherwise; never written
 *  KPH       in   1: solve at the pH PH (Na+ or, when negative, acid is
 *                 added to balance the charges); any other value: find the
 *                 pH of electroneutrality (not returned)
 *  WORK      scratch, at least 710 + N doubles; nothing beyond is written
 * Water with no ammonia, CO2 or H2S (and KPH other than 1) forms no ions:
 * every activity coefficient then has its ion-free value. So does a liquid
 * whose NH3 + CO2 + H2S total is below 2.2e-308, or whose only solute is
 * ammonia below about 5e-318 (where 1e-6 of it, its free start amount, is
 * 0).
 * Units: K, atm. Status: none; iteration limits end with the last iterate.
 * Not reentrant: calls of the sour-water routines must not overlap. */
TM_API void PPTH_PHILGPSW(const double* T, const double* P, const int64_t* N, const int64_t* IDX,
                          const double* X, double* LNPHI, const double* PH, const int64_t* KPH,
                          double* WORK);

/* Estimate of the liquid in equilibrium with the vapour Z: Henry's law for
 * the dissolved gases, a closed-form split of NH3, CO2 and H2S into
 * molecules and ions, water by difference. The component aliases are read
 * from DMS_PLEX: host component j's 24-byte alias is pool words 3j-2..3j.
 *  T         in     temperature [K]
 *  P         in/out pressure [Pa]; with KODE = 5 replaced by the pressure
 *                   estimate [Pa] (Henry constant of water over its vapour
 *                   fraction; 1 atm = 100000/0.98684 Pa here); the given P
 *                   plays no part in the estimate
 *  NC        in     number of components in the host list
 *  IDX(NC)   in     host component numbers (they index the aliases)
 *  Z(NC)     in     vapour mole fractions in list order
 *  X(NC)     in/out liquid mole fractions, normalised over the list;
 *                   entries of components outside the model keep the
 *                   caller's value before normalisation
 *  Y(NC)     in/out vapour mole fractions: recognised entries from Z
 *                   (normalised over the recognised ones, at least 1e-9),
 *                   others as for X; normalised over the list
 *  A8        -      not read
 *  KODE      in     5: also return the pressure estimate in P; else P is
 *                   left unchanged
 *  WORK      scratch, at least 80 + (number of model slots) doubles
 *  IFLAG     out    1 estimate made; 0 none possible: no water, one
 *                   component, fewer than two of the four key components,
 *                   recognised vapour fractions summing to zero or less, a
 *                   solute-rich vapour whose water fraction would be
 *                   negative, or list sums of X or Y that are not positive
 *                   and finite. With 0, X, Y and P are untouched.
 * Units: K, Pa. */
TM_API void PPTH_INFLGPSW(const double* T, double* P, const int64_t* NC, const int64_t* IDX,
                          const double* Z, double* X, double* Y, const void* A8,
                          const int64_t* KODE, double* WORK, int64_t* IFLAG);

#ifdef __cplusplus
}
#endif

#endif /* THERMOMODELS_H */
