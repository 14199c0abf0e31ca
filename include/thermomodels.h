/*
 * thermomodels: thermodynamic property models for a process simulator.
 *
 * TM_VERSION_MAJOR, TM_VERSION_MINOR, TM_VERSION_PATCH, TM_VERSION_STRING
 * and TM_VERSION (thermomodels_version.h) give the library version; the
 * shared library is libthermomodels.so.MAJOR.
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
 * How the arguments are documented below: for each routine, every argument
 * in order with its direction (in: read only; out: written; in/out: read
 * and written; work: scratch the caller provides), its shape (a scalar
 * unless a size is given; N is the number of components in the mixture, NCC
 * the number of components the host's parameter arrays hold; (a, b) is a
 * column-major array of a rows and b columns), its unit and the values it
 * takes. Per-component arrays are indexed by the host's component number
 * k = IDX(i), 1..NCC; per-position arrays by the place i, 1..N, in the
 * mixture list. Indices in the comments are 1-based, as the host counts.
 *
 * Global blocks are plain structs whose words are laid out in the block's
 * documented order; the host fills the words marked host-set.
 *
 * Units: K, Pa, m3/kmol, J/kmol, J/(kmol K) at the CPA and water routines
 * (the water transport properties, surface tension and speed of sound in
 * the SI units QUELTRIN_IF97PRPH lists), with these exceptions: the
 * sour-water routines PPTH_PHIVGPSW and PPTH_PHILGPSW take T in K and P in
 * atm, PPTH_INFLGPSW T in K and P in Pa. Every per-kmol value of water is
 * IAPWS-IF97's per-kg value times the molar mass 18.0152 kg/kmol (the
 * IAPWS value 18.015268 kg/kmol would make the molar volumes 3.8e-6
 * larger, relatively). Gas constants: 8314.41 J/(kmol K) in the water
 * property routine's ideal-gas reference (QUELTRIN_IF97PRPH, and
 * QUELTRIN_ES15D through it), 8314.33 J/(kmol K) in the CPA routine, the
 * molar-volume root solvers and QUELTRIN_ES15D's region-3 entropy term.
 */
#ifndef THERMOMODELS_H
#define THERMOMODELS_H

#include <stddef.h>
#include <stdint.h>

#include "thermomodels_version.h"

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
 *
 * When the library is loaded every block is zero: the root memory is off
 * (PPUTL_EOSRET.ISTATE 0), DMS_GLOBAL.IUNIT is 0 (standard error),
 * PPCPA_CPACOM overrides nothing, and PPUTL_ESROOT, ESRDER and DMS_PLEX hold
 * nothing; so is the library's own state (CPA print level 0, no user
 * association scheme registered). A host need set nothing before its first
 * call. It sets DMS_GLOBAL.IUNIT to have the CPA routine's host-unit
 * messages on a unit of its own, PPUTL_EOSRET (with room in DMS_PLEX) to
 * turn the root memory on, and PPCPA_CPACOM to override the CPA
 * diagnostics; the library reads these words at every call, so the host may
 * change them between calls.
 * ------------------------------------------------------------------------- */

/* Root-solver state: 14 integer words, then 30 real words (352 bytes),
 * library-owned: the host sets nothing and may read it after a call.
 * Word 1 (LQPURE) and word 2 (VPPURE) are set by the library's routines
 * before each volume search: -1 tells the liquid or vapour solver that the
 * fluid is pure, 0 a mixture; a solver sets its word to 1 when the search
 * ends on a pseudo-root. Words 3-14 and the real words hold the iterate and
 * the last result of the vapour search and of each liquid: among them
 * ITER (word 5, iterations of the latest search), ISTATL1, ISTATV, ISTATL2
 * (final status of the liquid-1, vapour and liquid-2 searches: 0 converged,
 * 1-2 iteration limit, 3-4 pseudo-root, 5 volume not positive, 6 pressure
 * not finite, -1 under way), real word 25 (the last volume a solver was
 * given, m3/kmol). */
typedef struct {
  int64_t iw[14]; /* LQPURE, VPPURE, LVFIX, LVCUT, ITER, LPHIH/LPLOW,
                     ISTATL1, ISTATV, -, ISTATL2, LQPUR2, MODELS(2), - */
  double rw[30];  /* real words 1-30 (block words 15-44) */
} tm_esroot_block;
extern TM_API tm_esroot_block PPUTL_ESROOT;

/* Root memory control, host-set (words 1-9; the library writes ISTATE and
 * NSAVED on every save). With the memory on, the CPA routine saves each
 * converged volume root per phase (vapour, liquid 1, liquid 2) in DMS_PLEX
 * and starts a later search for that phase from it when the later state is
 * close (same components, T within 10 K, every X within 0.1, P within
 * 1e5 Pa for the vapour; the volume moved along the saved dP/dV when P
 * differs by more than 1000 Pa); nothing is saved or retrieved above the
 * mixture's pseudo-critical temperature. Records in DMS_PLEX, by pool word
 * (1-based):
 *   integer record at I (1 + NMAX words): I = N, I + i = IDX(i);
 *   real record at J (4 + 7 NMAX words): J = T [K], J + 1 = P [Pa],
 *   J + 2 = V [m3/kmol], J + 3 = dP/dV [Pa kmol/m3], J + 3 + i = X(i),
 *   then 6 N words of association site fractions.
 * The host keeps the records of the three phases apart. */
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
 * word numbers above (word w is words[w - 1]; the integer words of a record
 * hold int64_t values in those 8 bytes). This library provides a pool of
 * fixed capacity TM_PLEX_WORDS; a word number outside 1..TM_PLEX_WORDS is
 * never accessed. */
#define TM_PLEX_WORDS 1048576
typedef struct {
  double words[TM_PLEX_WORDS];
} tm_plex_block;
extern TM_API tm_plex_block DMS_PLEX;

/* Host settings, host-set: the first word is the host's 32-bit diagnostic
 * output unit (6 standard output, 0 standard error, others files fort.N or
 * a file opened on that unit by PPCPA_OPCLFILE), used by the CPA routine
 * when PPCPA_CPACOM sends its output there, and for its message when a
 * history file cannot be opened.
 * The remaining words are not used by the library. */
typedef struct {
  int32_t IUNIT;
  int32_t spare[63];
} tm_global_block;
extern TM_API tm_global_block DMS_GLOBAL;

/* ---------------------------------------------------------------------------
 * Water and steam (IAPWS-IF97)
 * ------------------------------------------------------------------------- */

/* One property of pure water by code KPROP in the IF97 region KREGION.
 * The routine does not pick the region from T and P: the caller names it
 * (QUELTRIN_FDREGION finds it), or passes 4 to leave it to the saturation
 * routers.
 *   1 T        in   double   K         temperature
 *   2 P        in   double   Pa        pressure
 *   3 V        in   double   m3/kmol   molar volume; read only where the
 *                                      property is a function of T and V:
 *                                      KREGION 3 (not for code 5), codes 6
 *                                      and 7 in regions 1, 2, 3, 5, and
 *                                      code 14; 1e35 where not needed
 *   4 KPROP    in   int32_t            property code and unit of VALUE:
 *        1 ln fugacity coefficient ln(f/p) [-]     2 enthalpy departure [J/kmol]
 *        3 entropy departure [J/(kmol K)]          4 Gibbs-energy departure [J/kmol]
 *        5 molar volume [m3/kmol]                  6 dynamic viscosity [Pa s]
 *        7 thermal conductivity [W/(m K)]          8 surface tension [N/m]
 *        9 cp departure [J/(kmol K)]               10 cv departure [J/(kmol K)]
 *       11 vapour pressure at T [Pa]               12 internal energy [J/kmol]
 *       13 speed of sound [m/s]                    14 pressure from T and V [Pa]
 *       15 saturation temperature at P [K]; any other code acts as 1.
 *        Codes 8, 11, 14, 15 do not look at KREGION.
 *   5 KPHASE   in   int64_t            read only with KREGION 4: 1 saturated
 *                                      vapour, 2 saturated liquid, any other
 *                                      value a single phase
 *   6 KREGION  in   int64_t            1, 2, 3, 5 the IF97 region; 4 the
 *                                      saturation routers choose the region
 *                                      or the saturated phase themselves;
 *                                      any other value: no value for the
 *                                      codes that depend on the region
 *   7 VALUE    out  double             the property, or 1e35 when IERR = 1
 *   8 IERR     out  int64_t            status
 * Status: IERR 0 with a finite value, 1 with VALUE = 1e35 (out of range, a
 * T or P the code reads not a positive number, region code not 1..5, a
 * needed V not given or not positive, a result that is not finite, or no
 * state that can exist: see below).
 * States that cannot exist: the named region's equation is evaluated where
 * the caller asks, metastable states included, but codes 1-5, 9, 10, 12
 * and 13 in region codes 1, 2, 3 and 5 give IERR 1 where that equation at
 * (T, P), region 3 at (T, V) (code 5: at the volume it finds), has a volume
 * or pressure that is not positive, (dp/dv)_T not negative (region 3:
 * dp/drho below -1e-7 pc/rhoc, so that the critical point passes), or cp,
 * cv or the squared speed of sound not positive. Code 14 gives IERR 1 for a
 * pressure that is not positive only: a volume search reads it at trial
 * volumes where (dp/dv)_T > 0. Codes 5 (any region code) and 11 give IERR 1
 * for a volume or vapour pressure that is not positive. Codes 6 and 7 (at
 * the caller's T and V) and region code 4 are not tested otherwise.
 * Reference: codes 2, 3, 4, 9, 10 subtract the HGK 1984 ideal gas at
 * 298.15 K with R = 8314.41 J/(kmol K) (code 10 uses the cp term); code 12
 * is the IF97 internal energy as it stands. */
TM_API void QUELTRIN_IF97PRPH(const double* T, const double* P, const double* V,
                              const int32_t* KPROP, const int64_t* KPHASE, const int64_t* KREGION,
                              double* VALUE, int64_t* IERR);

/* Region (1, 2, 3, 5), temperature and pressure used and molar volume of
 * water at T, P for phase KVL (1 vapour, 2 liquid), after clamping to the
 * IF97 bounds and to the requested side of the saturation line; warnings on
 * IUNIT when LVLPRT >= 5; region 3 by a VPROOT/LQROOT volume search.
 *   1 T        in   double   K         temperature
 *   2 P        in   double   Pa        pressure
 *   3 KVL      in   int64_t            phase wanted: 1 vapour, 2 liquid
 *   4 KREGION  out  int64_t            IF97 region used: 1, 2, 3 or 5 (0 when
 *                                      the input is refused)
 *   5 TOUT     out  double   K         temperature used: T raised to 273.15 K,
 *                                      lowered to the highest vapour
 *                                      temperature (2273.15 K; 1073.15 K above
 *                                      5e7 Pa), or to 647.096 K for a liquid
 *   6 POUT     out  double   Pa        pressure used: P lowered to 1e8 Pa
 *                                      (5e7 Pa from 1073.15 K), a vapour above
 *                                      the vapour pressure lowered to it, a
 *                                      liquid below it raised to it; in
 *                                      region 3 the pressure at VOUT
 *   7 VOUT     out  double   m3/kmol   molar volume of water at TOUT, POUT
 *   8 LVLPRT   in   int64_t            print level: the clamping warnings at
 *                                      5 and above; also the detail level of
 *                                      the region-3 root solver
 *   9 IUNIT    in   int32_t            output unit of the warnings and the
 *                                      root solver's messages
 *  10 IERR     out  int64_t            status
 * Units: T, TOUT K; P, POUT Pa; VOUT m3/kmol.
 * Status: IERR 1 when an input is refused (T or P not finite, T <= 0,
 * P <= 0, KVL not 1 or 2: outputs 1e35, KREGION 0), a property call failed
 * or the region-3 search failed (VOUT then the solver's last volume, or 1e35
 * where the volume is not finite); else 0.
 * Reference: none (volumes and pressures only). */
TM_API void QUELTRIN_FDREGION(const double* T, const double* P, const int64_t* KVL,
                              int64_t* KREGION, double* TOUT, double* POUT, double* VOUT,
                              const int64_t* LVLPRT, const int32_t* IUNIT, int64_t* IERR);

/* Pure water in equation-of-state form for phase KVL (1 vapour, 2 liquid):
 * PHI = ln fugacity coefficient, DH, DS, DG departures and V, each written
 * only when its flag KPHI, KH, KS, KG, KV is exactly 1. Liquid below
 * 273.15 K from linear functions of T; above 647.096 K and below psat by
 * extrapolation from the critical temperature and saturation pressure.
 *   1 T        in   double   K         temperature
 *   2 P        in   double   Pa        pressure
 *   3 LVLPRT   in   int64_t            print level: clamping warnings (as
 *                                      QUELTRIN_FDREGION) at 5 and above;
 *                                      detail level of the root solver
 *   4 KVL      in   int64_t            phase: 1 vapour, 2 liquid
 *   5 IUNIT    in   int32_t            output unit of the warnings and the
 *                                      root solver's messages
 *   6 KPHI     in   int64_t            1: compute PHI; any other value: not
 *   7 KH       in   int64_t            1: compute DH
 *   8 KS       in   int64_t            1: compute DS
 *   9 KG       in   int64_t            1: compute DG
 *  10 KV       in   int64_t            1: compute V
 *  11 PHI      out  double   -         ln fugacity coefficient at T, P
 *  12 DH       out  double   J/kmol    enthalpy departure
 *  13 DS       out  double   J/(kmol K) entropy departure
 *  14 DG       out  double   J/kmol    Gibbs-energy departure
 *  15 V        out  double   m3/kmol   molar volume
 *  16 IERR     out  int64_t            status
 * Outputs whose flag is not 1 are left as they were.
 * Units: T K, P Pa, DH and DG J/kmol, DS J/(kmol K), V m3/kmol.
 * Status: IERR 1 when an input is refused (T or P not finite or <= 0:
 * requested outputs 1e35), a property call failed, the region-3 search
 * failed or a requested output is not finite (written as 1e35); else 0.
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
 * 128-character blank-padded file name; 176 bytes), host-set and read by
 * PPCPA_CPAPROP at every call; all zero (the default) overrides nothing:
 * the output then goes to the routine's IUNIT, into the history file
 * "cpa.his" when IUNIT is above 50 and the print level above 0. */
typedef struct {
  int64_t LVLCPA;   /* non-zero: the print level from now on (sticky; 0 at
                       load): 1 a summary of each call with its processor
                       time, 2 also the parameters of the mixture */
  int64_t IUSEGU;   /* 1: write on the DMS_GLOBAL unit, no history file */
  int64_t IOPENF;   /* 1: append to FILNAM on the DMS_GLOBAL unit */
  int64_t KDIGA;    /* non-zero: replaces digit a of KDIAG (VPROOT messages) */
  int64_t KDIGB;    /* non-zero: replaces digit b of KDIAG (LQROOT messages) */
  int64_t KDIGC;    /* non-zero: replaces digit c of KDIAG (association term) */
  char FILNAM[128]; /* history file name for IOPENF = 1, blank-padded;
                       trailing blanks are not part of the name */
} tm_cpacom_block;
extern TM_API tm_cpacom_block PPCPA_CPACOM;

/* Pressure derivatives of the latest PPCPA_CPAPROP call (5 real words),
 * library-written at every exit, the same values as the routine's arguments
 * 37, 40, 38, 39; word 2 is never written. */
typedef struct {
  double DPDV;    /* word 1: dP/dV [Pa kmol/m3] */
  double UNUSED2; /* word 2 */
  double DP2DV2;  /* word 3: d2P/dV2 [Pa kmol2/m6] */
  double DP2DVDT; /* word 4: d2P/dVdT [Pa kmol/(m3 K)] */
  double DPDT;    /* word 5: dP/dT at constant V [Pa/K] */
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
 * The model: Soave-Redlich-Kwong with a_c = 0.42748025 (R Tc)^2/Pc,
 * b = 0.08664035 R Tc/Pc and alpha = (1 + m (1 - sqrt(T/Tc)))^2 per
 * component, a_ij = (1 - k_ij) sqrt(a_i a_j), plus the Wertheim association
 * term with the simplified radial distribution g = 1/(1 - 0.475 b rho) and
 * strengths Delta_ij = g (exp(eps_ij/T) - 1) b_ij beta_ij. A published CPA
 * set (a0 [Pa m6/kmol2], b [m3/kmol], c1, with the real critical
 * temperature Tc in a(T) = a0 (1 + c1 (1 - sqrt(T/Tc)))^2) enters as the
 * pseudo-critical Tc', Pc' and m' that give the same a(T) and b at every
 * temperature: with K = (0.42748025/0.08664035) R b,
 *   m' = c1 sqrt(a0/(K Tc)),  Tc' = a0 (1 + c1)^2/(K (1 + m')^2),
 *   Pc' = 0.08664035 R Tc'/b
 * (a0 in bar L2/mol2 is 1e5 times the value in Pa m6/kmol2; b in L/mol is
 * the value in m3/kmol). Binary records: K(k, l) = c1 + c2 T/298.15 from the
 * record (c1, c2) of the ordered pair (k, l) of component numbers, at
 * elements 2 ((l - 1) NCC + (k - 1)) and one after it, when the row flag of
 * k (KIJSET, VIJSET) is 1.0, else 0; a coefficient above 1e30 counts as 0;
 * K(k, k) = 0. The pair of components k, l takes K(k, l), or K(l, k) when
 * K(k, l) is exactly 0.
 *   1 T        in    double            K        temperature
 *   2 P        in    double            Pa       pressure
 *   3 X        in    double (N)        -        mole fractions by position;
 *                                               a fraction <= 1e-15 leaves the
 *                                               component out of the mixing
 *   4 N        in    int64_t                    components in the phase, 1..NCC
 *   5 IDX      in    int64_t (N)                component number of each
 *                                               position, 1..NCC
 *   6 NCC      in    int64_t                    leading dimension of every
 *                                               per-component, pair and work
 *                                               array
 *   7 CPATC    in    double (NCC)      K        critical (or pseudo-critical)
 *                                               temperature, > 0
 *   8 CPAPC    in    double (NCC)      Pa       critical (or pseudo-critical)
 *                                               pressure, > 0
 *   9 CPAM     in    double (NCC)      -        slope m of the alpha function
 *  10 CPAAU    in    double (NCC)      K        association energy eps/k; 0 or
 *                                               1e35: none
 *  11 CPAAV    in    double (NCC)      -        association volume beta; 0 or
 *                                               1e35: not self-associating
 *  12 CPAKIJ   in    double (2,NCC,NCC) -       records (c1, c2) of the cubic
 *                                               binary parameter k_ij per
 *                                               ordered pair
 *  13 CPAAT    in    double (NCC)      -        association scheme as a real:
 *                                               1 one site bonding with all;
 *                                               2 two sites (2B); 3 three (3B);
 *                                               4 four, two of each kind (4C);
 *                                               5 three positive and one
 *                                               negative; 6 one negative;
 *                                               7 two negative; 8 one
 *                                               positive; 9 two positive;
 *                                               above 100 a user scheme by its
 *                                               digits: tens positive sites,
 *                                               units negative sites, and for
 *                                               codes from 1000 the hundreds
 *                                               digit sites of both kinds
 *                                               (111: one positive, one
 *                                               negative; 1201: two of both
 *                                               kinds, one negative); up to 11
 *                                               distinct user codes per
 *                                               process, each kept from its
 *                                               first call on: a call with a
 *                                               twelfth has no association
 *                                               term at all (IERR 10 + the
 *                                               root status) and writes
 *                                               "NUMBER OF USER-DEFINED
 *                                               ASSOCIATION TYPES EXCEEDS
 *                                               11" on IUNIT at any level;
 *                                               1e35: none given (2 when the
 *                                               component associates)
 *  14 CPAVIJ   in    double (2,NCC,NCC) -       records (c1, c2) of a given
 *                                               cross-association volume per
 *                                               ordered pair; 0 or 1e35: none
 *  15 KIJSET   in    double (NCC)      -        1.0: the CPAKIJ records of
 *                                               row k are used; else all k_kl
 *                                               of the row are 0
 *  16 VIJSET   in    double (NCC)      -        1.0: the CPAVIJ records of
 *                                               row k are used
 *  17 ECRFLG   in    double (NCC,NCC)  -        1.0: the pair (k, l) takes the
 *                                               combining rule: a
 *                                               non-associating k gets the
 *                                               partner's volume, half its
 *                                               energy, and one negative site
 *                                               (scheme 6) when it has none;
 *                                               strength sqrt(Delta_kk Delta_ll)
 *                                               between two associating ones
 *  18 CPAEIJ   in    double (NCC,NCC)  K        given cross-association energy
 *                                               of the pair; 0 or 1e35: the
 *                                               mean (eps_k + eps_l)/2, or
 *                                               half the one given
 *  19 KVL      in    int64_t                    2 liquid root; any other value
 *                                               vapour root
 *  20 KPHI     in    int64_t                    request of PHIMX/DPHIDT
 *  21 KH       in    int64_t                    request of DHMX/DHDT
 *  22 KS       in    int64_t                    request of DSMX/DSDT
 *  23 KG       in    int64_t                    request of DGMX/DGDT
 *  24 KV       in    int64_t                    request of VMX/DVDT; for each
 *                                               request: 0 none, 1 the value,
 *                                               2 its temperature derivative
 *                                               only, 3 both; outputs not
 *                                               requested are left as they
 *                                               were, except that code 2 of
 *                                               KPHI, KH, KS, KG also writes
 *                                               the value (PHIMX, DHMX,
 *                                               DSMX, DGMX at T: the
 *                                               derivative is formed from
 *                                               the values of two runs);
 *                                               KV 2 leaves VMX. A code
 *                                               outside 0-3 requests
 *                                               nothing: its outputs are
 *                                               left unwritten, IERR is not
 *                                               affected
 *  25 KDER     in    int64_t                    1: also DPDT and DP2DVDT (a
 *                                               second pass, as for a
 *                                               temperature derivative)
 *  26 PHIMX    out   double (N)        -        ln fugacity coefficients by
 *                                               position
 *  27 DHMX     out   double            J/kmol   enthalpy departure H - H_ig
 *  28 DSMX     out   double            J/(kmol K) entropy departure S - S_ig
 *  29 DGMX     out   double            J/kmol   Gibbs-energy departure G - G_ig
 *  30 VMX      in/out double           m3/kmol  molar volume (written when KV
 *                                               is 1 or 3); read as the volume
 *                                               to use when KVSTRT = 1
 *  31 DPHIDT   out   double (N)        1/K      d ln phi/dT
 *  32 DHDT     out   double            J/(kmol K) d DHMX/dT
 *  33 DSDT     out   double            J/(kmol K^2) d DSMX/dT
 *  34 DGDT     out   double            J/(kmol K) d DGMX/dT
 *  35 DVDT     out   double            m3/(kmol K) dV/dT at constant P
 *                                               (temperature derivatives are
 *                                               forward differences over
 *                                               0.001 K)
 *  36 ZMX      out   double            -        compressibility factor PV/RT
 *  37 DPDV     out   double            Pa kmol/m3 dP/dV at the volume
 *  38 DP2DVDT  out   double            Pa kmol/(m3 K) d2P/dVdT (KDER = 1, else 0)
 *  39 DPDT     out   double            Pa/K     dP/dT at constant V (KDER = 1,
 *                                               else 0)
 *  40 DP2DV2   out   double            Pa kmol2/m6 d2P/dV2, secant of the last
 *                                               two root iterations (0 after a
 *                                               single evaluation)
 *  41 IWORK    work  int64_t (NCC^2 + 14 NCC)   integer work
 *  42 RWORK    work  double (10 NCC^2 + 50 NCC) real work; after the call
 *                                               words 1..3 NCC hold a_c
 *                                               [Pa m6/kmol2], m and b
 *                                               [m3/kmol] of the mixture's
 *                                               components by number
 *  43 EPSAB    work  double (NCC,N)    K        cross-association energies by
 *                                               position pair
 *  44 ITYPE    work  int64_t (NCC)              association schemes in use by
 *                                               component (user schemes as
 *                                               their codes 10..20)
 *  45 IUNIT    in    int32_t                    diagnostic output unit; above
 *                                               50 the history file "cpa.his"
 *                                               is opened on it for the call
 *                                               when the print level is above 0
 *  46 KDIAG    in    int64_t                    diagnostic levels as decimal
 *                                               digits abcd: a VPROOT messages,
 *                                               b LQROOT messages, c association
 *                                               term, d the CPA core and root
 *                                               solver detail (0 silent; higher
 *                                               digits write more, up to 8)
 *  47 ARG47    -     any                        not read
 *  48 ARG48    -     any                        not read
 *  49 XAWRK    work  double (1 or more)         not read; a valid address
 *  50 ARG50    -     any                        not read
 *  51 PCALC    out   double            Pa       pressure at the returned volume
 *                                               (differs from P at a
 *                                               pseudo-root)
 *  52 KVSTRT   in    int64_t                    0 root search; 1 properties at
 *                                               the given VMX, no search; other
 *                                               values: at the root solvers'
 *                                               last volume
 *  53 IERR     out   int64_t                    status, below
 *  54 IH2O     in    int64_t                    component number that takes
 *                                               the water alpha function
 *                                               1.096357606 exp(-0.15114 T /
 *                                               41.666667) in place of the
 *                                               Soave form; 0: none
 *  55 KTOL     in    int64_t                    root tolerance: 0 relative
 *                                               1e-8 in pressure; -1 from
 *                                               global blocks the library does
 *                                               not export (zero: not for
 *                                               hosts); other values 1e-10.
 *                                               The search stops when
 *                                               |P(V) - P| < max(1e-4 Pa,
 *                                               RTOL P) (a liquid search
 *                                               after 20 iterations also
 *                                               within 10 times that): below
 *                                               1e4 Pa (KTOL 0; 1e6 Pa with
 *                                               1e-10) the absolute 1e-4 Pa
 *                                               rules: at P = 1 Pa a
 *                                               converged root (IERR 0) may
 *                                               have PCALC 1e-4 Pa, a
 *                                               relative 1e-4, off P
 * Pointers the routine reads or writes must not be null; 47, 48, 50 may be.
 * Status: IERR 0 ok; 1-6 root-solver status (1, 2, 5, 6 failed, 3, 4
 * pseudo-root); 7 the volume has no valid state (at or below the
 * co-volume, or Z <= 0: PHIMX, DGMX, DSMX are 1e35; or an output that would
 * not be finite: every output 1e35, unless a solver failure 1, 2, 5 or 6
 * is kept, with the same markers); +10 the site fractions
 * failed; 20 input refused (outputs 1e35), for any argument that cannot be
 * used: N < 1 or above NCC, T or P not positive or not finite, N above 1088
 * with a derivative of ln phi, KVSTRT 1 with VMX NaN or of magnitude 1e35
 * or more, IDX outside 1..NCC or repeated, X negative, not finite or
 * summing to 1e-15 or less, CPATC or CPAPC not positive or not finite, CPAM
 * not finite, an a_c or b that is not a positive normal number, a b
 * outside 1e-6 to 1e6 m3/kmol, CPAAU, CPAAV, CPAEIJ given but not
 * positive and finite or CPAAU, CPAEIJ above 1e6 K or CPAAV above 1,
 * CPAKIJ, CPAVIJ records holding NaN or -infinity, and a pressure
 * below the smallest normal number (2.2e-308 Pa) where the results would
 * not be finite (a vapour). The line "CPAPROP: INPUT REFUSED: " with the
 * reason (e.g. "P NOT POSITIVE OR NOT FINITE") names which; it is written
 * on the routine's output unit (IUNIT, or as PPCPA_CPACOM directs) when the
 * print level is above 0 (PPCPA_CPACOM.LVLCPA set at this or an earlier
 * call), else nothing is written.
 * With temperature derivatives or KDER 1 the routine
 * runs at T + 0.001 K and then at T and returns the worse status of the
 * two; the values (PHIMX, DHMX, DSMX, DGMX, VMX, ZMX, PCALC, DPDV,
 * DP2DV2) are those at T, 1e35 as above when the state at T has none; when
 * either run failed or had no state (1, 2, 5, 6, 7) every temperature
 * derivative asked for (DPHIDT, DHDT, DSDT, DGDT, DVDT, and with KDER 1
 * DPDT and DP2DVDT) is 1e35. Outputs always belong to the returned VMX; at
 * a root the search converged on (IERR 0 or 10), DGMX = RT (sum x_i PHIMX(i)
 * + ln(P/101325)) with the normalised x in either phase. */
TM_API void PPCPA_CPAPROP(const double* T, const double* P, const double* X, const int64_t* N,
                          const int64_t* IDX, const int64_t* NCC, const double* CPATC,
                          const double* CPAPC, const double* CPAM, const double* CPAAU,
                          const double* CPAAV, const double* CPAKIJ, const double* CPAAT,
                          const double* CPAVIJ, const double* KIJSET, const double* VIJSET,
                          const double* ECRFLG, const double* CPAEIJ, const int64_t* KVL,
                          const int64_t* KPHI, const int64_t* KH, const int64_t* KS,
                          const int64_t* KG, const int64_t* KV, const int64_t* KDER, double* PHIMX,
                          double* DHMX, double* DSMX, double* DGMX, double* VMX, double* DPHIDT,
                          double* DHDT, double* DSDT, double* DGDT, double* DVDT, double* ZMX,
                          double* DPDV, double* DP2DVDT, double* DPDT, double* DP2DV2,
                          int64_t* IWORK, double* RWORK, double* EPSAB, int64_t* ITYPE,
                          const int32_t* IUNIT, const int64_t* KDIAG, void* ARG47, void* ARG48,
                          double* XAWRK, void* ARG50, double* PCALC, const int64_t* KVSTRT,
                          int64_t* IERR, const int64_t* IH2O, const int64_t* KTOL);

/* Opens FILENAME (blank-padded, length FILENAME_LEN) for appending on
 * IUNIT (MODE 1) or closes IUNIT (MODE 2).
 *   1 IUNIT         in   int32_t       unit to open the file on or to close;
 *                                      the lines the library writes on that
 *                                      unit then go to the file
 *   2 FILENAME      in   char (len)    file name, blank-padded; trailing
 *                                      blanks are not part of the name; read
 *                                      with MODE 1 only (may be null else)
 *   3 MODE          in   int64_t       1 open (created when missing, written
 *                                      at its end), 2 close; other values do
 *                                      nothing
 *   4 IERR          out  int64_t       status
 *   5 FILENAME_LEN  in   size_t        length of FILENAME, passed by value
 *                                      after the argument list
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
 * The model's data are rewritten on every call. Carried from one call to
 * the next: only the two secant slopes of PPTH_PHILGPSW's ionic
 * equilibrium (pH and free ammonia), which a call reuses only where its
 * own secant denominator is exactly 0. Calls must not overlap.
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
 *  P         in   pressure [atm]; a T or P that is not a positive finite
 *                 number gives ln 1e20 in every slot; above 0.99 of the
 *                 virial equation's
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
 *  P         in   pressure [atm]; a T or P that is not a positive finite
 *                 number gives ln 1e20 in every slot
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
 * whose NH3 + CO2 + H2S total is below 2.2e-308. Ammonia below about
 * 2.2e-302 (where 1e-6 of it, its free start amount, is below the smallest
 * normal number) counts as absent from the equilibrium: alone it forms no
 * ions; beside CO2 or H2S it has no free amount (ln 1e-20).
 * When the pH search ends, the nitrogen, carbon and sulfur balances hold to
 * 1e-6 of each total: where they do not, the inner solves continue at that
 * pH (and the search from there) until they do, within 40 more solves.
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
 *                   component, fewer than two of the four key components
 *                   (one listed twice counts once), a recognised vapour
 *                   fraction that is negative or not finite, recognised
 *                   vapour fractions whose sum is not positive and finite,
 *                   a solute-rich vapour whose water fraction would be
 *                   negative, a caller's X or Y of a component outside
 *                   the model that is negative or not finite, or list sums
 *                   of X or Y that are not positive and finite. With 0, X,
 *                   Y and P are untouched.
 * Units: K, Pa. */
TM_API void PPTH_INFLGPSW(const double* T, double* P, const int64_t* NC, const int64_t* IDX,
                          const double* Z, double* X, double* Y, const void* A8,
                          const int64_t* KODE, double* WORK, int64_t* IFLAG);

#ifdef __cplusplus
}
#endif

#endif /* THERMOMODELS_H */
