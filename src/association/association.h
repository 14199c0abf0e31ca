// Wertheim association term: association types and sites, the association
// strengths, the site-fraction solver with its Newton, quasi-Newton and
// substitution phases, the site-fraction derivative solvers, the
// direct-substitution route, and the small linear-algebra, step-control and
// line-search routines they stand on.
//
// Arrays are passed as pointers to their first element; an array written
// A(LD, *) in a comment is column-major with leading dimension LD and is
// addressed A[(j - 1) * LD + (i - 1)] for the 1-based element (i, j).
// Logical arguments are 64-bit words whose lowest bit is the value.
#pragma once

#include <algorithm>
#include <cstdint>

#include "common/common.h"

namespace thermomodels {

// ---------------------------------------------------------------------------
// Association types and the registry of user-defined types
// ---------------------------------------------------------------------------

inline constexpr int64_t kAssocTypeCount = 20;     // type codes 1..20
inline constexpr int64_t kAssocSitesPerType = 10;  // sites per type code
inline constexpr int64_t kAssocUserTypes = 11;     // user codes -> types 10..20
inline constexpr int64_t kAssocMergeCapacity = 1088;
// Merging codes of 1000 or more carry a multiplier digit, so a merged
// system must keep its variable numbers below 1000.
inline constexpr int64_t kAssocMergeMaxVars = 999;

// Site tables of the association types and the user-type registry. They
// live for the whole process: a user code keeps its type number for every
// later call.
struct AssociationTypes {
  int64_t NREG;                     // number of registered user codes (0..11)
  int64_t IREG[kAssocUserTypes];    // user codes in order of first sight; slot r is type r + 9
  int64_t NSITES[kAssocTypeCount];  // sites of each type code 1..20
  int64_t SITES[kAssocSitesPerType *
                kAssocTypeCount];  // SITES(10,20): sign of each site (+1, -1, 2; 0 empty)
};
extern AssociationTypes ASSOC_TYPES;

// Restores the built-in types 1..9 and empties the registry (types 10..20).
void ResetAssociationTypes();

// Registers the user codes (above 100) found in ITYPE(1..NCC) and rewrites
// them to their type numbers 10..20. A code that cannot be registered (the
// registry is full, or its site digits ask for more than 10 sites) is left
// as it is, with the two error lines on IUNIT.
void REGTYP(const int64_t& NCC, int64_t* ITYPE, const int32_t& IUNIT);

// Number of sites of a type code; 0 for a code outside 1..20.
inline int64_t AssocSiteCount(const int64_t* NSITES, int64_t type) {
  return (type >= 1 && type <= kAssocTypeCount) ? NSITES[type - 1] : 0;
}

// Sign of site s of a type code; 0 outside the tables.
inline int64_t AssocSiteSign(const int64_t* SITES, int64_t ldsites, int64_t type, int64_t s) {
  if (type < 1 || type > kAssocTypeCount || s < 1 || s > ldsites) return 0;
  return SITES[(type - 1) * ldsites + (s - 1)];
}

// Bonding rule: sites of signs a and b bond when a*b is negative or at least 2.
inline bool AssocSitesBond(int64_t a, int64_t b) {
  const int64_t p = a * b;
  return p < 0 || p >= 2;
}

// ---------------------------------------------------------------------------
// The site model as the solvers see it: the sites of the component at each
// list position, in the rows of a site-fraction array XA(LDX, N).
// ---------------------------------------------------------------------------

struct SiteModel {
  int64_t n;              // list positions
  int64_t ldg;            // leading dimension of IGRP and GRPW (NCC)
  int64_t na;             // leading dimension of the strength arrays
  int64_t ldx;            // leading dimension of the site-fraction arrays
  int64_t ldsites;        // leading dimension of SITES
  bool merged;            // each species stands on its first site only
  const int64_t* idx;     // component number of each position
  const int64_t* igrp;    // IGRP(ldg, *): group count, then group species
  const int64_t* iapos;   // associating position of each species
  const int64_t* itype;   // type code of each species
  const int64_t* nsites;  // NSITES(20)
  const int64_t* sites;   // SITES(ldsites, 20)
  const double* x;        // mole fractions
  const double* grpw;     // GRPW(ldg, *): weight of group g in component k
};

// Strength of the pair of associating positions (r, q); 0 outside 1..NA.
inline double PairValue(const double* d, int64_t na, int64_t r, int64_t q) {
  if (r < 1 || q < 1 || r > na || q > na) return 0.0;
  return d[(q - 1) * na + (r - 1)];
}

// Associating position of a species (0 when it has none).
inline int64_t SpeciesPos(const SiteModel& m, int64_t species) {
  return (species >= 1 && species <= m.ldg) ? m.iapos[species - 1] : 0;
}

// Sign of site s of a species.
inline int64_t SpeciesSiteSign(const SiteModel& m, int64_t species, int64_t s) {
  if (species < 1 || species > m.ldg) return 0;
  return AssocSiteSign(m.sites, m.ldsites, m.itype[species - 1], s);
}

// Calls f(species, first_row, site_count, weight) for each species of the
// component at list position pos: the component itself (weight 1), or its
// groups in order (weight GRPW) whose sites continue the row numbering.
// Rows never pass LDX: a species is cut to the rows that exist.
template <class F>
inline void ForEachSpecies(const SiteModel& m, int64_t pos, F&& f) {
  const int64_t c = m.idx[pos - 1];
  if (c < 1 || c > m.ldg) return;
  const int64_t ngroups = m.igrp[c - 1];
  if (ngroups < 1) {
    const int64_t count = std::min(AssocSiteCount(m.nsites, m.itype[c - 1]), m.ldx);
    if (count > 0) f(c, int64_t{1}, count, 1.0);
    return;
  }
  int64_t row = 1;
  for (int64_t l = 1; l <= ngroups && row <= m.ldx; ++l) {
    const int64_t g = m.igrp[l * m.ldg + (c - 1)];
    if (g < 1 || g > m.ldg) continue;
    const int64_t count = AssocSiteCount(m.nsites, m.itype[g - 1]);
    const int64_t fit = std::min(count, m.ldx - row + 1);
    if (fit > 0) f(g, row, fit, m.grpw[(g - 1) * m.ldg + (c - 1)]);
    row += count;
  }
}

// Number of site rows the component at position pos needs (all groups).
int64_t SiteRowsNeeded(const SiteModel& m, int64_t pos);

// Source of merging entry L: the variable and the factor of the copy.
// Codes of 1000 or more carry a multiplier digit (3: factor 2, else 3).
// Returns false when the entry points outside the variable list.
bool MergeSource(int64_t code, int64_t nv, int64_t& var, double& factor);

// ---------------------------------------------------------------------------
// Linear algebra, step control and line search (plain vectors, 1-based
// meaning, column-major matrices)
// ---------------------------------------------------------------------------

// One relaxed substitution step X := X + lambda*G with a spectral step factor.
void XASTEP(int64_t& ITER, const int64_t& N, double& MODE, double& FACMIN, double& FACMAX,
            double& DXMAX, double& FAC, double* X, const double* G, double* GOLD);
// One quasi-Newton step with Broyden's update of the inverse Jacobian H(N,N).
void XALSOL(const int64_t& N, const double* X, double* F, double* S, double* XOLD, double* FOLD,
            double* H, int64_t& KBR);
// Inverse by Gauss-Jordan elimination with complete pivoting.
void XAFACT(const double* A, const int64_t& N, double* AINV, int64_t& IER, int64_t* IROW,
            int64_t* ICOL, double* W, double* PIV, double* W2, const int64_t& LDA,
            const int64_t& N2, const double& TOL);
// LU factorisation with partial pivoting through the row-index vector IPVT.
void XAELIM(const int64_t& LDA, const int64_t& N, double* A, int64_t* IPVT, int64_t& IER,
            const double& TOL);
// Solution of A X = B with the factors of XAELIM.
void XABSUB(const int64_t& LDA, const int64_t& N, const double* B, const int64_t* IPVT,
            const double* A, double* X);
// One reverse-communication step of a bracketing and parabolic line search.
void XALNSR(int64_t& KSRCH, double& FAC, const double& OBJ, const double& TOLA, const double& TOLR,
            const double& FAC0, const double& FACMAX, double* W);

// ---------------------------------------------------------------------------
// Site-fraction solver
// ---------------------------------------------------------------------------

// Solves the site balance X_A = 1/(1 + sum_B rho x_j X_B Delta_AB) for the
// association variables. Arguments named "unused" belong to the fixed list
// and are not read. WSOLV needs 4*NV + 7*NV^2 reals when NV < 100 and
// 3*NV + NV^2 (and LDX*N) otherwise; IWORK 2*NV integers.
void GETXA1(double* WRK, const double& RHO, const int64_t& N, const int64_t& LDG, const int64_t& NA,
            const int64_t* IDX, const int64_t* IGRP, const int64_t* IA, const int64_t* IAPOS,
            const double* X, const double* GRPW, const double* SEGM, double* XA,
            const double* DELTA, double* WSOLV, double* XOLD, const int64_t& unused17,
            const int64_t& unused18, int64_t& IERR, const int64_t& KSTART, const double& XATOL,
            const int64_t& NV, const int64_t* ISITE, const int64_t* IDXV, const int64_t& METHOD,
            const int64_t& MAXIT, double* RES, double* VOLD, const int64_t& LEVEL,
            const int32_t& IUNIT, const int64_t* ITYPE, const int64_t& unused32,
            const int64_t& LDSITES, const int64_t* NSITES, const int64_t* SITES, const int64_t& LDX,
            const int64_t& NMERGE, const int64_t* IV2, const int64_t* JV2, const int64_t& unused40,
            const int64_t& unused41, const int64_t& unused42, const int64_t& unused43,
            int64_t* IWORK, int64_t& KINIT, const double& RHOPREV, const double* XAR,
            const int64_t& NXZERO);

// ---------------------------------------------------------------------------
// Site-fraction derivative solvers. Each appends a status IERR to its list:
// 0 converged (or returned at once), 1 iteration limit reached.
// ---------------------------------------------------------------------------

// XAR = RHO * dXA/dRHO.
void GETXAR1(double* WRK, const double& RHO, const int64_t& N, const int64_t& NCC,
             const int64_t& NA, const int64_t* IDX, const int64_t* IGRP, const int64_t* IA,
             const int64_t* IAPOS, const double* X, const double* GRPW, const double* SEGM,
             const double* XA, double* XAR, const double* DELTA, const double* DELTAR,
             double* WSOLV, double* XOLD, const int64_t& unused19, const int64_t& unused20,
             const int64_t& KSTART, const double& XATOL, const int64_t& NV, const int64_t* ISITE,
             const int64_t* IDXV, const int64_t& METHOD, const int64_t& MAXIT, double* RES,
             double* VOLD, const int64_t& LEVEL, const int32_t& IUNIT, const int64_t* ITYPE,
             const int64_t& unused33, const int64_t& LDSITES, const int64_t* NSITES,
             const int64_t* SITES, const int64_t& LDX, const int64_t& NMERGE, const int64_t* IV2,
             const int64_t* JV2, const int64_t& unused41, const int64_t& unused42,
             const int64_t& unused43, const int64_t& unused44, const int64_t& KINIT,
             const int64_t& NXZERO, int64_t& IERR);

// XAT = T * dXA/dT in the scaling of DELTAT.
void GETXAT1(double* WRK, const double& RHO, const int64_t& N, const int64_t& NCC,
             const int64_t& NA, const int64_t* IDX, const int64_t* IGRP, const int64_t* IA,
             const int64_t* IAPOS, const double* X, const double* GRPW, const double* SEGM,
             const double* XA, double* XAT, const double* DELTA, const double* DELTAT,
             double* WSOLV, double* XOLD, const int64_t& unused19, const int64_t& unused20,
             const int64_t& KSTART, const double& XATOL, const int64_t& NV, const int64_t* ISITE,
             const int64_t* IDXV, const int64_t& METHOD, const int64_t& MAXIT, double* RES,
             double* VOLD, const int64_t& LEVEL, const int32_t& IUNIT, const int64_t* ITYPE,
             const int64_t& unused33, const int64_t& LDSITES, const int64_t* NSITES,
             const int64_t* SITES, const int64_t& LDX, const int64_t& NMERGE, const int64_t* IV2,
             const int64_t* JV2, const int64_t& unused41, const int64_t& unused42,
             const int64_t& unused43, const int64_t& unused44, const int64_t& KINIT,
             const int64_t& unused46, int64_t& IERR);

// XAR2 = RHO^2 * d2XA/dRHO2 (needs XAR of the same state).
void GETXAR21(double* WRK, const double& RHO, const int64_t& N, const int64_t& NCC,
              const int64_t& NA, const int64_t* IDX, const int64_t* IGRP, const int64_t* IA,
              const int64_t* IAPOS, const double* X, const double* GRPW, const double* SEGM,
              const double* XA, const double* XAR, double* XAR2, const double* DELTA,
              const double* DELTAR, const double* DELTAR2, double* WSOLV, double* XOLD,
              const int64_t& unused21, const int64_t& unused22, const int64_t& KSTART,
              const double& XATOL, const int64_t& NV, const int64_t* ISITE, const int64_t* IDXV,
              const int64_t& METHOD, const int64_t& MAXIT, double* RES, double* VOLD,
              const int64_t& LEVEL, const int32_t& IUNIT, const int64_t* ITYPE,
              const int64_t& unused35, const int64_t& LDSITES, const int64_t* NSITES,
              const int64_t* SITES, const int64_t& LDX, const int64_t& NMERGE, const int64_t* IV2,
              const int64_t* JV2, const int64_t& unused43, const int64_t& unused44,
              const int64_t& unused45, const int64_t& unused46, const int64_t& KINIT,
              const int64_t& NXZERO, int64_t& IERR);

// XAX = n * dXA/dn_k at constant T and V for the component at KPOS.
void GETXAX1(double* WRK, const double& RHO, const int64_t& N, const int64_t& NCC,
             const int64_t& NA, const int64_t* IDX, const int64_t* IGRP, const int64_t* IA,
             const int64_t* IAPOS, const double* X, const double* GRPW, const double* SEGM,
             const double* XA, double* XAX, const double* DELTA, const double* DELTAX,
             double* WSOLV, double* XOLD, const int64_t& KPOS, const int64_t& KCOMP,
             const int64_t& unused21, const int64_t& unused22, const int64_t& KSTART,
             const double& XATOL, const int64_t& NV, const int64_t* ISITE, const int64_t* IDXV,
             const int64_t& METHOD, const int64_t& MAXIT, double* RES, double* VOLD,
             const int64_t& LEVEL, const int32_t& IUNIT, const int64_t* ITYPE,
             const int64_t& unused35, const int64_t& LDSITES, const int64_t* NSITES,
             const int64_t* SITES, const int64_t& LDX, const int64_t& NMERGE, const int64_t* IV2,
             const int64_t* JV2, const int64_t& unused43, const int64_t& unused44,
             const int64_t& unused45, const int64_t& unused46, const int64_t& KINIT,
             const int64_t& NXZERO, int64_t& IERR);

// ---------------------------------------------------------------------------
// Direct-substitution route: one site fraction per species. The site-fraction
// arrays are (LDXS, N) with the species number as row; every routine appends
// LDXS and a status IERR (0 converged, 1 pass limit reached, 2 refused: a
// species number above LDXS).
// ---------------------------------------------------------------------------

inline constexpr int64_t kDirectMaxPasses = 10000;

void XAINI1(double* WRK, const double& RHO, const int64_t& N, const int64_t& NCC, const int64_t& NA,
            const int64_t* IDX, const int64_t* IGRP, const int64_t* IA, const int64_t* IAPOS,
            const double* X, const double* GRPN, const double* SEGM, double* XA,
            const double* DELTA, double* XERR, double* XOLD, const int64_t& ISPEC,
            const double* ASSPAR, const int64_t& LDXS, int64_t& IERR);
void XARINI1(double* WRK, const double& RHO, const int64_t& N, const int64_t& NCC,
             const int64_t& NA, const int64_t* IDX, const int64_t* IGRP, const int64_t* IA,
             const int64_t* IAPOS, const double* X, const double* GRPN, const double* SEGM,
             const double* XA, double* XAR, const double* DELTA, const double* DELTAR, double* XERR,
             double* XOLD, const int64_t& ISPEC, const double* ASSPAR, const int64_t& LDXS,
             int64_t& IERR);
void XATINI1(double* WRK, const double& RHO, const int64_t& N, const int64_t& NCC,
             const int64_t& NA, const int64_t* IDX, const int64_t* IGRP, const int64_t* IA,
             const int64_t* IAPOS, const double* X, const double* GRPN, const double* SEGM,
             const double* XA, double* XAT, const double* DELTA, const double* DELTAT, double* XERR,
             double* XOLD, const int64_t& ISPEC, const double* ASSPAR, const int64_t& LDXS,
             int64_t& IERR);
void XAR2INI1(double* WRK, const double& RHO, const int64_t& N, const int64_t& NCC,
              const int64_t& NA, const int64_t* IDX, const int64_t* IGRP, const int64_t* IA,
              const int64_t* IAPOS, const double* X, const double* GRPN, const double* SEGM,
              const double* XA, const double* XAR, double* XAR2, const double* DELTA,
              const double* DELTAR, const double* DELTAR2, double* XERR, double* XOLD,
              const int64_t& ISPEC, const double* ASSPAR, const int64_t& LDXS, int64_t& IERR);
void XAXINI1(double* WRK, const double& RHO, const int64_t& N, const int64_t& NCC,
             const int64_t& NA, const int64_t* IDX, const int64_t* IGRP, const int64_t* IA,
             const int64_t* IAPOS, const double* X, const double* GRPN, const double* SEGM,
             const double* XA, double* XAX, const double* DELTA, const double* DELTAX, double* XERR,
             double* XOLD, const int64_t& KPOS, const int64_t& KCOMP, const int64_t& ISPEC,
             const double* ASSPAR, const int64_t& LDXS, int64_t& IERR);

// ---------------------------------------------------------------------------
// Association term
// ---------------------------------------------------------------------------

// Largest number of association variables the solver work area holds, and
// the largest for which the Newton phase runs.
inline constexpr int64_t kAssocMaxVars = 1000;
inline constexpr int64_t kAssocNewtonMaxVars = 99;
inline constexpr int64_t kAssocWorkReals = 3 * kAssocMaxVars + kAssocMaxVars * kAssocMaxVars;

// Shortcuts of the association term that give the iterative solvers'
// results without their iterations: the closed-form site fractions and
// derivatives of a single associating species whose sites all have the
// same number of bonding partners, and, with the simplified CPA strengths,
// the composition derivative of the association sum from the site
// fractions alone. They run only when no diagnostics of the association
// term are asked for (LEVEL < 1), so that every diagnostic line is the
// solvers' own. On at load; the comparison test and the benchmark switch
// them off to run the iterative path on the same states.
struct AssocShortcuts {
  bool enabled;
};
extern AssocShortcuts ASSOC_SHORTCUTS;

// Values of the latest PCSAF5 call: the variable list it built, the solver
// choice and the zero-fraction count. Rewritten by every call before being
// read; kept visible so that callers and tests can see what a call did.
struct Pcsaf5Saved {
  int64_t NV;                        // number of association variables
  int64_t NMERGE;                    // entries in the merging lists
  int64_t IV2[kAssocMergeCapacity];  // merged site number of each entry
  int64_t JV2[kAssocMergeCapacity];  // variable the merged site shares
  int64_t LMERGE;                    // -1 when merging is in force, else 0
  int64_t METHOD;                    // solver method of the call (0, 1, 2)
  int64_t MAXIT;                     // iteration limit of the call
  int64_t NXZERO;                    // positions with mole fraction <= 0
  int64_t NSPEC;                     // self-associating species found (ISPEC = 1)
  int64_t KSPEC;                     // the last such species
  int64_t KSPCMP;                    // its owner component
  int64_t KSPPOS;                    // its list position
  int64_t KSPOFF;                    // site offset of that group in its component
  int64_t KINIT;                     // 1 when the inverse Jacobian was left for the derivatives
};
extern Pcsaf5Saved PCSAF5_SAVED;

// Solver work of PCSAF5 handed to the site-fraction solvers: a fixed area,
// because the Jacobian slices grow with the square of the variable count.
struct Pcsaf5Work {
  double WSOLV[kAssocWorkReals];     // solver work vector (Jacobians, Broyden matrix)
  int64_t IWORK[2 * kAssocMaxVars];  // pivot rows and columns of the factorisations
};
extern Pcsaf5Work PCSAF5_WORK;

// Wertheim association term at (T, RHO): association strengths, site
// fractions and the association sum with its requested derivatives.
// IERR: 0 ok; 1 the site fractions (or a requested derivative) failed, or
// the input was refused (a type that is unknown or has more sites than LDX,
// a system larger than the work area).
void PCSAF5(const double& T, const double& RHO, const int64_t& N, const int64_t& NCC,
            const int64_t* IDX, const double* X, const double* SEGM, const double* SIGMA,
            const double* ASSPAR, const double* EPSAB, const double* VOLAB, const double* DSEG,
            const double* DSEGT, const double* ZETA, const int64_t* IGRP, const double* GRPW,
            const double* GRPN, const int64_t& NA, const int64_t* IA, const int64_t* IAPOS,
            const int64_t& LRHO, const int64_t& LRHO2, const int64_t& LTEMP, const int64_t& LCOMP,
            double* WRK, const int64_t& ISTART, const int64_t& ISPEC, const int64_t& MODE,
            const double& TOL, double* WORK, const double* DZ2DN, const double* DZ3DN, double* XA,
            double* XAR, double* XAR2, double* XAT, double* XAX, double* DELTA, double* DELTAR,
            double* DELTAR2, double* DELTAT, double* DELTAX, double* XERR, double* XOLD,
            int64_t* ISITE, int64_t* IDXV, double* RES, double* VOLD, double& ASUMR, double& ASUMR2,
            double& ASUM, double& ASUMT, double* ASUMX, const double& BMIX, const double* BCOMP,
            int64_t& IERR, const int32_t& IUNIT, const int64_t& LEVEL, const int64_t& IOPT,
            int64_t* ITYPE, const int64_t& LDX, int64_t* IPIV, const double& RHOOLD,
            const int64_t& IRDF, const double* ECRFLG);

}  // namespace thermomodels
