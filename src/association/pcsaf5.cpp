// Wertheim association term: association strengths with the simplified CPA
// or the PC-SAFT contact value of the radial distribution function, the
// association variables, the site fractions and their derivatives, and the
// association sum A/(nRT) = sum_i x_i sum_A (ln X_A - X_A/2 + 1/2) with its
// density, temperature and composition derivatives.
#include <algorithm>
#include <cmath>
#include <vector>

#include "association/association.h"
#include "eos_roots/eos_roots.h"

namespace thermomodels {

Pcsaf5Saved PCSAF5_SAVED{};
Pcsaf5Work PCSAF5_WORK{};
AssocShortcuts ASSOC_SHORTCUTS{true};

namespace {

// Largest exponent eps/T taken in the strength factor exp(eps/T) - 1.
constexpr double kMaxEnergyRatio = 150.0;
// Mole fractions at or below this leave a component out of the sums.
constexpr double kTraceFraction = 1e-15;
// (sigma_k + sigma_l)/2 in angstrom, cubed, times Avogadro's number per kmol:
// the cube root of 6.02214e26 * 1e-30 / 8.
constexpr double kSigmaToVolume = 0.04222321867518549;
constexpr double kPi = 3.141592654;

// Term of the association sum per site: ln X - X/2 + 1/2.
inline double SiteEnergy(double x) { return std::log(x) - 0.5 * x + 0.5; }

// SiteEnergy that reuses its last value: the sites of one species often
// share their fraction.
struct SiteEnergyMemo {
  double x = std::nan(""), h = 0.0;
  double operator()(double v) {
    if (!(v == x)) h = SiteEnergy(x = v);
    return h;
  }
};

inline double Flag(const double* m, int64_t ld, int64_t i, int64_t j) {
  return m[(j - 1) * ld + (i - 1)];
}

// Radial distribution function at contact and what the strengths need of it.
struct Contact {
  // Simplified CPA: g = 1/(1 - 0.475 b rho).
  double eta = 0, g = 1, rho_dg = 0, rho2_d2g = 0, dg_db = 0;
  // PC-SAFT: packing fractions and their temperature derivatives (T d/dT).
  double z2 = 0, z3 = 0, z2t = 0, z3t = 0;
};

// PC-SAFT contact value g_ij for the diameter ratio d and its partial
// derivatives in zeta_2, zeta_3 and d.
struct HardSphere {
  double g, g2, g3, gd, g22, g23, g33;
};
HardSphere ContactValue(double z2, double z3, double d) {
  const double u = 1.0 / (1.0 - z3), u2 = u * u, u3 = u2 * u, u4 = u3 * u, u5 = u4 * u;
  HardSphere h{};
  h.g = u + 3.0 * d * z2 * u2 + 2.0 * d * d * z2 * z2 * u3;
  h.g2 = 3.0 * d * u2 + 4.0 * d * d * z2 * u3;
  h.g3 = u2 + 6.0 * d * z2 * u3 + 6.0 * d * d * z2 * z2 * u4;
  h.gd = 3.0 * z2 * u2 + 4.0 * d * z2 * z2 * u3;
  h.g22 = 4.0 * d * d * u3;
  h.g23 = 6.0 * d * u3 + 12.0 * d * d * z2 * u4;
  h.g33 = 2.0 * u3 + 18.0 * d * z2 * u4 + 24.0 * d * d * z2 * z2 * u5;
  return h;
}

// Everything the strength routines read, gathered once per call.
struct Inputs {
  double t, rho;
  int64_t n, ncc, na, irdf;
  const int64_t* idx;
  const int64_t* igrp;
  const int64_t* ia;
  const double* x;
  const double* sigma;
  const double* asspar;
  const double* epsab;
  const double* volab;
  const double* dseg;
  const double* dsegt;
  const double* bcomp;
  const double* ecrflg;
  const double* dz2dn;
  const double* dz3dn;
};

// Pair flag of the geometric-mean combining rule for species k and l (CPA).
bool GeometricPair(const Inputs& in, int64_t k, int64_t l) {
  if (in.irdf != 1) return false;
  auto flagged = [&](int64_t a, int64_t b) {
    return std::trunc(Flag(in.ecrflg, in.ncc, a, b) + 0.1) == 1.0;
  };
  return (flagged(k, l) || flagged(l, k)) && IsSet(in.asspar[k - 1]) && IsSet(in.asspar[l - 1]);
}

// Strength factor exp(eps/T) - 1 with the exponent capped.
inline double EnergyFactor(double eps, double t) {
  return std::exp(std::min(eps / t, kMaxEnergyRatio)) - 1.0;
}

// Pair (i, j) of associating positions with a bond: both volume and energy
// given, and species numbers inside the tables. Returns false otherwise.
bool BondingPair(const Inputs& in, int64_t i, int64_t j, int64_t& k, int64_t& l) {
  k = in.ia[i - 1];
  l = in.ia[j - 1];
  if (k < 1 || k > in.ncc || l < 1 || l > in.ncc) return false;
  return IsSet(Flag(in.volab, in.ncc, i, j)) && IsSet(Flag(in.epsab, in.ncc, i, j));
}

// Co-volume factor b_ij beta of the simplified CPA strength.
double CpaVolume(const Inputs& in, int64_t i, int64_t j, int64_t k, int64_t l) {
  const double bij = 0.5 * (in.bcomp[k - 1] + in.bcomp[l - 1]);
  double beta = Flag(in.volab, in.ncc, i, j);
  if (GeometricPair(in, k, l) && bij != 0.0)
    beta *= std::sqrt(in.bcomp[k - 1] * in.bcomp[l - 1]) / bij;
  return bij * beta;
}

double& Cell(double* a, int64_t na, int64_t i, int64_t j) { return a[(j - 1) * na + (i - 1)]; }
double Cell(const double* a, int64_t na, int64_t i, int64_t j) { return a[(j - 1) * na + (i - 1)]; }

// Where the geometric mean replaces a cross strength, its derivatives are
// those of sqrt(Delta_ii Delta_jj), formed from the pure strengths'
// logarithmic derivatives.
void GeometricMeans(const Inputs& in, bool lrho, bool lrho2, bool ltemp, double* delta,
                    double* deltar, double* deltar2, double* deltat) {
  const int64_t na = in.na;
  for (int64_t i = 1; i <= na; ++i)
    for (int64_t j = 1; j <= na; ++j) {
      int64_t k = 0, l = 0;
      if (i == j || !BondingPair(in, i, j, k, l) || !GeometricPair(in, k, l)) continue;
      const double dii = Cell(delta, na, i, i), djj = Cell(delta, na, j, j);
      if (!(dii * djj > 0.0)) {
        Cell(delta, na, i, j) = 0.0;
        if (lrho) Cell(deltar, na, i, j) = 0.0;
        if (lrho2) Cell(deltar2, na, i, j) = 0.0;
        if (ltemp) Cell(deltat, na, i, j) = 0.0;
        continue;
      }
      const double dij = std::sqrt(dii * djj);
      Cell(delta, na, i, j) = dij;
      // With D = rho d/drho: D ln Delta_ij is the mean of the pure ones.
      const double ai = Cell(deltar, na, i, i) / dii, aj = Cell(deltar, na, j, j) / djj;
      if (lrho) Cell(deltar, na, i, j) = 0.5 * dij * (ai + aj);
      if (lrho2) {
        // D^2 ln Delta = (DR2 + DR)/Delta - (DR/Delta)^2; rho^2 Delta'' = D^2 Delta - D Delta.
        const double li = (Cell(deltar2, na, i, i) + Cell(deltar, na, i, i)) / dii - ai * ai;
        const double lj = (Cell(deltar2, na, j, j) + Cell(deltar, na, j, j)) / djj - aj * aj;
        const double dl = 0.5 * (ai + aj), d2l = 0.5 * (li + lj);
        Cell(deltar2, na, i, j) = dij * (dl * dl + d2l) - dij * dl;
      }
      if (ltemp)
        Cell(deltat, na, i, j) =
            0.5 * dij * (Cell(deltat, na, i, i) / dii + Cell(deltat, na, j, j) / djj);
    }
}

// Association strengths and their requested density and temperature
// derivatives (scaled by RHO, RHO^2 and T).
void Strengths(const Inputs& in, const Contact& rdf, bool lrho, bool lrho2, bool ltemp,
               double* delta, double* deltar, double* deltar2, double* deltat) {
  const int64_t na = in.na;
  for (int64_t i = 1; i <= na; ++i)
    for (int64_t j = 1; j <= na; ++j) {
      int64_t k = 0, l = 0;
      if (!BondingPair(in, i, j, k, l)) continue;
      const double eps = Flag(in.epsab, in.ncc, i, j), vol = Flag(in.volab, in.ncc, i, j);
      const double f = EnergyFactor(eps, in.t);
      if (in.irdf != 1) {
        const double dk = in.dseg[k - 1], dl = in.dseg[l - 1];
        const double dij = dk + dl != 0.0 ? dk * dl / (dk + dl) : 0.0;
        const double sij = std::pow((in.sigma[k - 1] + in.sigma[l - 1]) * kSigmaToVolume, 3);
        const HardSphere h = ContactValue(rdf.z2, rdf.z3, dij);
        const double q = f * vol * sij;
        Cell(delta, na, i, j) = h.g * q;
        if (lrho) Cell(deltar, na, i, j) = (h.g2 * rdf.z2 + h.g3 * rdf.z3) * q;
        if (lrho2)
          Cell(deltar2, na, i, j) =
              (h.g22 * rdf.z2 * rdf.z2 + 2.0 * h.g23 * rdf.z2 * rdf.z3 + h.g33 * rdf.z3 * rdf.z3) *
              q;
        if (ltemp) {
          const double ddt = dk + dl != 0.0
                                 ? (in.dsegt[k - 1] * dl * dl + in.dsegt[l - 1] * dk * dk) /
                                       ((dk + dl) * (dk + dl))
                                 : 0.0;
          const double gt = h.g2 * rdf.z2t + h.g3 * rdf.z3t + h.gd * ddt;
          Cell(deltat, na, i, j) = q * gt - (f + 1.0) * vol * sij * (eps / in.t) * h.g;
        }
      } else {
        const double bb = CpaVolume(in, i, j, k, l);
        const double q = f * bb;
        Cell(delta, na, i, j) = rdf.g * q;
        if (lrho) Cell(deltar, na, i, j) = rdf.rho_dg * q;
        if (lrho2) Cell(deltar2, na, i, j) = rdf.rho2_d2g * q;
        if (ltemp) Cell(deltat, na, i, j) = -(f + 1.0) * (eps / in.t) * rdf.g * bb;
      }
    }
  if (in.irdf == 1) GeometricMeans(in, lrho, lrho2, ltemp, delta, deltar, deltar2, deltat);
}

// n dDelta/dn_k at constant T and V for the component at list position kpos.
void CompositionStrengths(const Inputs& in, const Contact& rdf, int64_t kpos, const double* delta,
                          double* deltax) {
  const int64_t na = in.na;
  std::fill(deltax, deltax + na * na, 0.0);
  for (int64_t i = 1; i <= na; ++i)
    for (int64_t j = 1; j <= na; ++j) {
      int64_t k = 0, l = 0;
      if (!BondingPair(in, i, j, k, l)) continue;
      if (in.igrp[k - 1] >= 1 || in.igrp[l - 1] >= 1) continue;
      const double f = EnergyFactor(Flag(in.epsab, in.ncc, i, j), in.t);
      if (in.irdf == 0) {
        const double dk = in.dseg[k - 1], dl = in.dseg[l - 1];
        const double dij = dk + dl != 0.0 ? dk * dl / (dk + dl) : 0.0;
        const double sij = std::pow((in.sigma[k - 1] + in.sigma[l - 1]) * kSigmaToVolume, 3);
        const HardSphere h = ContactValue(rdf.z2, rdf.z3, dij);
        Cell(deltax, na, i, j) = f * sij * Flag(in.volab, in.ncc, i, j) *
                                 (h.g2 * in.dz2dn[kpos - 1] + h.g3 * in.dz3dn[kpos - 1]);
      } else {
        const int64_t comp = in.idx[kpos - 1];
        const double bk = comp >= 1 && comp <= in.ncc ? in.bcomp[comp - 1] : 0.0;
        Cell(deltax, na, i, j) = f * CpaVolume(in, i, j, k, l) * rdf.dg_db * bk;
      }
    }
  if (in.irdf != 1) return;
  for (int64_t i = 1; i <= na; ++i)
    for (int64_t j = 1; j <= na; ++j) {
      int64_t k = 0, l = 0;
      if (i == j || !BondingPair(in, i, j, k, l) || !GeometricPair(in, k, l)) continue;
      const double dii = Cell(delta, na, i, i);
      const double djj = Cell(delta, na, j, j);
      const double dij = Cell(delta, na, i, j);
      Cell(deltax, na, i, j) =
          dii != 0.0 && djj != 0.0
              ? 0.5 * dij * (Cell(deltax, na, i, i) / dii + Cell(deltax, na, j, j) / djj)
              : 0.0;
    }
}

// Associating position of a species: the last j with IA(j) = species.
int64_t AssociatingPosition(const Inputs& in, int64_t species) {
  for (int64_t j = in.na; j >= 1; --j)
    if (in.ia[j - 1] == species) return j;
  return 0;
}

// A species without own parameter associates when a pair volume with it is
// given and, with the partner test, the partner is present or may be.
bool CrossAssociates(const Inputs& in, int64_t species, bool partner_test, int64_t nxzero) {
  const int64_t p = AssociatingPosition(in, species);
  if (p == 0) return false;
  for (int64_t j = 1; j <= in.na; ++j) {
    if (!IsSet(Flag(in.volab, in.ncc, j, p)) && !IsSet(Flag(in.volab, in.ncc, p, j))) continue;
    if (!partner_test) return true;
    const int64_t at = IFINDI(in.ia[j - 1], in.idx, 1, in.n);
    if (at == 0 || in.x[at - 1] != 0.0 || nxzero < 2) return true;
  }
  return false;
}

void Refuse(int32_t unit, const char* reason, int64_t value) {
  WriteLine(unit, "***ERROR IN PC-SAFT/CPA ASSOCIATION CALCULATIONS***");
  WriteLine(unit, reason, value);
}

// Builds the association variables and the merging lists. Returns false,
// with the reason written, when the input cannot be represented.
bool BuildVariables(const Inputs& in, const int64_t* itype, int64_t ldx, int64_t* isite,
                    int64_t* idxv, int32_t unit, Pcsaf5Saved& sv) {
  const int64_t* nsites = ASSOC_TYPES.NSITES;
  sv.NV = 0;
  sv.NMERGE = 0;
  // Merging: a mixture of type-2 species only needs one variable per species.
  bool merge = true;
  for (int64_t i = 1; i <= in.n && merge; ++i) {
    const int64_t k = in.idx[i - 1];
    if (k < 1 || k > in.ncc) {
      Refuse(unit, "COMPONENT NUMBER OUTSIDE THE PARAMETER ARRAYS. POSITION = ", i);
      return false;
    }
    const int64_t ng = in.igrp[k - 1];
    if (ng < 1) {
      merge = itype[k - 1] == 2;
    } else {
      for (int64_t l = 1; l <= ng; ++l) {
        const int64_t g = in.igrp[l * in.ncc + (k - 1)];
        merge = merge && g >= 1 && g <= in.ncc && itype[g - 1] == 2;
      }
    }
  }
  sv.LMERGE = merge ? kTrue : kFalse;
  sv.NXZERO = 0;
  for (int64_t i = 1; i <= in.n; ++i)
    if (in.x[i - 1] <= 0.0) ++sv.NXZERO;

  // Gives the sites of species s (rows from row0) to position i.
  auto add_sites = [&](int64_t i, int64_t s, int64_t row0) -> bool {
    const int64_t type = itype[s - 1];
    if (type > kAssocTypeCount) {
      Refuse(unit, "UNKNOWN ASSOCIATION TYPE. CODE = ", type);
      return false;
    }
    const int64_t count = AssocSiteCount(nsites, type);
    if (row0 + count - 1 > ldx) {
      Refuse(unit,
             "MORE ASSOCIATION SITES THAN ROWS OF THE SITE ARRAYS. COMPONENT = ", in.idx[i - 1]);
      return false;
    }
    for (int64_t a = 0; a < count; ++a) {
      if (a == 0 || !merge) {
        ++sv.NV;
        isite[sv.NV - 1] = row0 + a;
        idxv[sv.NV - 1] = i;
        continue;
      }
      if (sv.NMERGE >= kAssocMergeCapacity || sv.NV > kAssocMergeMaxVars) {
        Refuse(unit, "TOO MANY MERGED ASSOCIATION SITES. NV = ", sv.NV);
        return false;
      }
      ++sv.NMERGE;
      sv.IV2[sv.NMERGE - 1] = row0 + a;
      sv.JV2[sv.NMERGE - 1] = sv.NV;
    }
    return true;
  };

  for (int64_t i = 1; i <= in.n; ++i) {
    const int64_t k = in.idx[i - 1];
    const int64_t ng = in.igrp[k - 1];
    if (ng < 1) {
      if (!(in.x[i - 1] > kTraceFraction || sv.NXZERO < 2)) continue;
      if (IsSet(in.asspar[k - 1]) || CrossAssociates(in, k, true, sv.NXZERO))
        if (!add_sites(i, k, 1)) return false;
      continue;
    }
    int64_t row = 1;
    for (int64_t l = 1; l <= ng; ++l) {
      const int64_t g = in.igrp[l * in.ncc + (k - 1)];
      if (g < 1 || g > in.ncc) continue;
      if (IsSet(in.asspar[g - 1]) || CrossAssociates(in, g, false, sv.NXZERO))
        if (!add_sites(i, g, row)) return false;
      row += AssocSiteCount(nsites, itype[g - 1]);
    }
  }
  return true;
}

// The single self-associating species of the list, for the closed forms.
void FindSingleSpecies(const Inputs& in, const int64_t* itype, Pcsaf5Saved& sv) {
  sv.NSPEC = sv.KSPEC = sv.KSPCMP = sv.KSPPOS = sv.KSPOFF = 0;
  int64_t offset = 0;
  bool group = false;
  auto counts = [&](int64_t s) { return in.asspar[s - 1] > 0.0 && in.asspar[s - 1] < kNoValue; };
  for (int64_t i = 1; i <= in.n; ++i) {
    const int64_t k = in.idx[i - 1];
    const int64_t ng = in.igrp[k - 1];
    if (ng < 1) {
      if (!counts(k)) continue;
      ++sv.NSPEC;
      sv.KSPEC = sv.KSPCMP = k;
      sv.KSPPOS = i;
      group = false;
      continue;
    }
    int64_t before = 0;
    for (int64_t l = 1; l <= ng; ++l) {
      const int64_t g = in.igrp[l * in.ncc + (k - 1)];
      if (g < 1 || g > in.ncc) continue;
      if (counts(g)) {
        ++sv.NSPEC;
        sv.KSPEC = g;
        sv.KSPCMP = k;
        sv.KSPPOS = i;
        offset = before;
        group = true;
      }
      before += AssocSiteCount(ASSOC_TYPES.NSITES, itype[g - 1]);
    }
  }
  sv.KSPOFF = sv.NSPEC == 1 && group ? offset : 0;
}

// A single associating species: one list position p, a component without
// groups, whose pair strength with itself is the only non-zero one among
// the positions, and whose sites all have the same number m of bonding
// partners among its own sites (one 2-site, the two-site and four-site
// schemes, a merged type-2 species). Its site balance
//   X_A = 1/(1 + rho x_p Delta sum_B X_B)
// then has one root for all its sites, X = 1/(1 + c X) with
// c = rho x_p m Delta, that is X = 2/(1 + sqrt(1 + 4c)); every other site
// is unbonded (X = 1). Differentiating c X^2 + X - 1 = 0 gives
// dX = -X^2 dc/s with s = 1 + 2 c X = sqrt(1 + 4c).
struct SingleScheme {
  int64_t pos = 0;        // list position of the species
  int64_t rows = 0;       // its site rows
  int64_t r = 0;          // its associating position (row and column of DELTA)
  double partners = 0.0;  // bonding partners of each site among its own
};

bool FindSingleScheme(const SiteModel& m, const double* delta, const int64_t* idxv, int64_t nv,
                      SingleScheme& sc) {
  int64_t p = 0;
  for (int64_t i = 1; i <= m.n; ++i) {
    const int64_t c = m.idx[i - 1];
    if (c < 1 || c > m.ldg || m.igrp[c - 1] >= 1) return false;
  }
  for (int64_t i = 1; i <= m.n; ++i) {
    const int64_t ri = SpeciesPos(m, m.idx[i - 1]);
    for (int64_t j = 1; j <= m.n; ++j) {
      if (PairValue(delta, m.na, ri, SpeciesPos(m, m.idx[j - 1])) == 0.0) continue;
      if (i != j || p != 0) return false;
      p = i;
    }
  }
  if (p == 0 || !(m.x[p - 1] > kTraceFraction) || !std::isfinite(m.x[p - 1])) return false;
  // A strength that is not positive and finite is left to the solver.
  const int64_t rp = SpeciesPos(m, m.idx[p - 1]);
  const double dpp = PairValue(delta, m.na, rp, rp);
  if (!(dpp > 0.0) || !std::isfinite(dpp)) return false;
  if (IFINDI(p, idxv, 1, nv) == 0) return false;
  const int64_t species = m.idx[p - 1];
  const int64_t rows = AssocSiteCount(m.nsites, m.itype[species - 1]);
  if (rows < 1 || rows > m.ldx) return false;
  int64_t partners = 1;
  if (!m.merged) {
    for (int64_t a = 1; a <= rows; ++a) {
      int64_t count = 0;
      const int64_t sign_a = SpeciesSiteSign(m, species, a);
      for (int64_t b = 1; b <= rows; ++b)
        if (AssocSitesBond(sign_a, SpeciesSiteSign(m, species, b))) ++count;
      if (a == 1) partners = count;
      if (count != partners) return false;
    }
  }
  sc.pos = p;
  sc.rows = rows;
  sc.r = rp;
  sc.partners = static_cast<double>(partners);
  return true;
}

// Site fractions of the single scheme and the factors of their derivatives.
struct SingleRoot {
  double x;    // X
  double s;    // 1 + 2 c X
  double rxm;  // rho x_p m
  double dx;   // rho dX/drho (with DR = rho dDelta/drho)
  double d2x;  // rho^2 d2X/drho2 (with DR2)
};

// The root and its density derivatives; false when a value is not finite
// (the iterative solver then reports the failure).
bool SolveSingleScheme(const SingleScheme& sc, double rho, const double* x, int64_t na,
                       const double* delta, const double* deltar, const double* deltar2, bool lrho,
                       bool lrho2, SingleRoot& root) {
  const double d = PairValue(delta, na, sc.r, sc.r);
  const double rxm = rho * x[sc.pos - 1] * sc.partners;
  const double c = rxm * d;
  const double sq = std::sqrt(1.0 + 4.0 * c);
  const double xs = 2.0 / (1.0 + sq);
  root = SingleRoot{xs, 1.0 + 2.0 * c * xs, rxm, 0.0, 0.0};
  if (lrho || lrho2) {
    // With D = rho d/drho: D c = rxm (Delta + DR), D^2 c = rxm (Delta + 3 DR + DR2),
    // D X = -X^2 Dc/s, D s = 2 (X Dc + c DX), rho^2 X'' = D^2 X - D X.
    const double dr = PairValue(deltar, na, sc.r, sc.r);
    const double dc = rxm * (d + dr);
    root.dx = -xs * xs * dc / root.s;
    if (lrho2) {
      const double d2c = rxm * (d + 3.0 * dr + PairValue(deltar2, na, sc.r, sc.r));
      const double ds = 2.0 * (xs * dc + c * root.dx);
      const double d2x = -(2.0 * xs * root.dx * dc + xs * xs * d2c) / root.s +
                         xs * xs * dc * ds / (root.s * root.s);
      root.d2x = d2x - root.dx;
    }
  }
  return std::isfinite(root.x) && std::isfinite(root.s) && std::isfinite(root.dx) &&
         std::isfinite(root.d2x) && root.x > 0.0;
}

// Writes value into the rows of the species and fill everywhere else in
// a site-fraction array (LDX, N).
void FillSingle(const SingleScheme& sc, int64_t ldx, int64_t n, double* a, double fill,
                double value) {
  std::fill(a, a + ldx * n, fill);
  std::fill(a + (sc.pos - 1) * ldx, a + (sc.pos - 1) * ldx + sc.rows, value);
}

// Work reals the solvers need for NV variables over N positions.
int64_t WorkNeeded(int64_t nv, int64_t n, int64_t ldx, int64_t method) {
  int64_t need = n * ldx;
  if (nv <= kAssocNewtonMaxVars) {
    need = std::max(need, 4 * nv + 7 * nv * nv);
  } else if (method >= 2) {
    need = std::max(need, 3 * nv + nv * nv);
  }
  return need;
}

}  // namespace

void PCSAF5(const double& T, const double& RHO, const int64_t& N, const int64_t& NCC,
            const int64_t* IDX, const double* X, const double* SEGM, const double* SIGMA,
            const double* ASSPAR, const double* EPSAB, const double* VOLAB, const double* DSEG,
            const double* DSEGT, const double* ZETA, const int64_t* IGRP, const double* GRPW,
            const double* GRPN, const int64_t& NA, const int64_t* IA, const int64_t* IAPOS,
            const int64_t& LRHO, const int64_t& LRHO2, const int64_t& LTEMP, const int64_t& LCOMP,
            double* WRK, const int64_t& ISTART, const int64_t& ISPEC, const int64_t& MODE,
            const double& TOL, double* /*WORK*/, const double* DZ2DN, const double* DZ3DN,
            double* XA, double* XAR, double* XAR2, double* XAT, double* XAX, double* DELTA,
            double* DELTAR, double* DELTAR2, double* DELTAT, double* DELTAX, double* XERR,
            double* XOLD, int64_t* ISITE, int64_t* IDXV, double* RES, double* VOLD, double& ASUMR,
            double& ASUMR2, double& ASUM, double& ASUMT, double* ASUMX, const double& BMIX,
            const double* BCOMP, int64_t& IERR, const int32_t& IUNIT, const int64_t& LEVEL,
            const int64_t& IOPT, int64_t* ITYPE, const int64_t& LDX, int64_t* /*IPIV*/,
            const double& RHOOLD, const int64_t& IRDF, const double* ECRFLG) {
  Pcsaf5Saved& sv = PCSAF5_SAVED;
  IERR = 0;
  sv.KINIT = 0;
  const int64_t n = N, na = std::max<int64_t>(NA, 0);
  // The second density derivative is built on the first: asking for it
  // solves both.
  const bool lrho2 = IsTrue(LRHO2), lrho = IsTrue(LRHO) || lrho2, ltemp = IsTrue(LTEMP),
             lcomp = IsTrue(LCOMP);
  if (na >= 1) {
    for (double* a : {DELTA, DELTAR, DELTAR2, DELTAT}) std::fill(a, a + na * na, 0.0);
  }
  const Inputs in{T,     RHO,    n,     NCC,   na,   IRDF,  IDX,   IGRP,   IA,    X,
                  SIGMA, ASSPAR, EPSAB, VOLAB, DSEG, DSEGT, BCOMP, ECRFLG, DZ2DN, DZ3DN};

  // Radial distribution function at contact.
  Contact rdf;
  if (IRDF == 1) {
    rdf.eta = 0.475 * BMIX * RHO;
    rdf.g = 1.0 / (1.0 - rdf.eta);
    rdf.rho_dg = rdf.eta * rdf.g * rdf.g;
    rdf.rho2_d2g = 2.0 * rdf.eta * rdf.eta * rdf.g * rdf.g * rdf.g;
    rdf.dg_db = 0.475 * RHO * rdf.g * rdf.g;
  } else {
    rdf.z2 = ZETA[2] * RHO;
    rdf.z3 = ZETA[3] * RHO;
    if (ltemp && n >= 1) {
      // T dzeta/dT through the temperature-dependent segment diameters.
      double s2 = 0.0, s3 = 0.0;
      for (int64_t i = 1; i <= n; ++i) {
        const int64_t k = IDX[i - 1];
        if (k < 1 || k > NCC) continue;
        const double xm = X[i - 1] * SEGM[i - 1];
        const int64_t ng = IGRP[k - 1];
        if (ng < 1) {
          s2 += xm * DSEG[k - 1] * DSEGT[k - 1];
          s3 += xm * DSEG[k - 1] * DSEG[k - 1] * DSEGT[k - 1];
          continue;
        }
        for (int64_t l = 1; l <= ng; ++l) {
          const int64_t g = IGRP[l * NCC + (k - 1)];
          if (g < 1 || g > NCC) continue;
          const double w = xm * GRPN[(g - 1) * NCC + (k - 1)];
          s2 += w * DSEG[g - 1] * DSEGT[g - 1];
          s3 += w * DSEG[g - 1] * DSEG[g - 1] * DSEGT[g - 1];
        }
      }
      rdf.z2t = 2.0 * (kPi * RHO / 6.0) * s2;
      rdf.z3t = 3.0 * (kPi * RHO / 6.0) * s3;
    }
  }
  Strengths(in, rdf, lrho, lrho2, ltemp, DELTA, DELTAR, DELTAR2, DELTAT);

  if (LEVEL >= 2) {
    WriteLine(IUNIT, "PCSAF5: T = ", T, "  RHO = ", RHO);
    WriteLine(IUNIT, "PCSAF5: I, IDX, X");
    for (int64_t i = 1; i <= n; ++i) WriteLine(IUNIT, i, " ", IDX[i - 1], " ", X[i - 1]);
  }
  if (LEVEL >= 4) {
    WriteLine(IUNIT, "PCSAF5: ASSOCIATION VOLUME, ENERGY, STRENGTH:");
    WriteLine(IUNIT, " IDXI, IDXJ, VIJ, EIJ, QIJ");
    for (int64_t i = 1; i <= na; ++i)
      for (int64_t j = 1; j <= na; ++j)
        if (Cell(DELTA, na, i, j) != 0.0)
          WriteLine(IUNIT, IA[i - 1], " ", IA[j - 1], " ", Flag(VOLAB, NCC, i, j), " ",
                    Flag(EPSAB, NCC, i, j), " ", Cell(DELTA, na, i, j));
  }

  REGTYP(NCC, ITYPE, IUNIT);

  auto refuse = [&]() {
    IERR = 1;
    ASUM = ASUMR = ASUMR2 = ASUMT = 0.0;
    for (int64_t i = 0; i < n; ++i) ASUMX[i] = 0.0;
  };
  if (!BuildVariables(in, ITYPE, LDX, ISITE, IDXV, IUNIT, sv)) {
    refuse();
    return;
  }
  if (ISPEC == 1) {
    FindSingleSpecies(in, ITYPE, sv);
  } else {
    sv.NSPEC = sv.KSPEC = sv.KSPCMP = sv.KSPPOS = sv.KSPOFF = 0;
  }
  const int64_t nv = sv.NV;
  if (nv == 0) return;
  if (LEVEL >= 4) {
    WriteLine(IUNIT, "PCSAF5: ASSOCIATION VARIABLES: NO, IDX, ISITE");
    for (int64_t no = 1; no <= nv; ++no)
      WriteLine(IUNIT, no, " ", IDX[IDXV[no - 1] - 1], " ", ISITE[no - 1]);
    for (int64_t l = 1; l <= sv.NMERGE; ++l)
      WriteLine(IUNIT, "I = ", l, "  IV2 = ", sv.IV2[l - 1], "  JV2 = ", sv.JV2[l - 1]);
  }

  // Solver choice: forced, or Newton unless the system is too large.
  if (IOPT == 0 || IOPT == 1) {
    sv.METHOD = IOPT;
    sv.MAXIT = 1000;
  } else if (nv <= kAssocMaxVars) {
    sv.METHOD = 2;
    sv.MAXIT = 100;
  } else {
    sv.METHOD = 1;
    sv.MAXIT = 1000;
    if (LEVEL >= 1) {
      WriteLine(IUNIT, "***ASSOCIATION PROBLEM TOO LARGE. NV = ", nv);
      WriteLine(IUNIT, "***SWITCHING TO QNSS");
    }
  }
  if (WorkNeeded(nv, n, LDX, sv.METHOD) > kAssocWorkReals) {
    Refuse(IUNIT, "ASSOCIATION PROBLEM TOO LARGE FOR THE SOLVER WORK AREA. NV = ", nv);
    refuse();
    return;
  }
  double* wsolv = PCSAF5_WORK.WSOLV;
  int64_t* iwork = PCSAF5_WORK.IWORK;
  const int64_t ldsites = kAssocSitesPerType, ntypes = kAssocTypeCount;
  const int64_t* nsites = ASSOC_TYPES.NSITES;
  const int64_t* sites = ASSOC_TYPES.SITES;
  const SiteModel m{n,     NCC,    na,    LDX, ldsites, sv.NMERGE != 0, IDX, IGRP, IAPOS,
                    ITYPE, nsites, sites, X,   GRPW};
  const int64_t one = 1;

  if (ISTART == 20) {
    // Direct substitution: one fraction per species, rows by species number.
    // Sum over positions of 2 x_i m_i sum_species w term(fraction entry).
    auto direct_sum = [&](auto term) {
      double total = 0.0;
      for (int64_t i = 1; i <= n; ++i) {
        const int64_t k = IDX[i - 1];
        double fi = 0.0;
        auto add = [&](int64_t s, double w) {
          if (s < 1 || s > LDX) return;
          const int64_t e = (i - 1) * LDX + (s - 1);
          if (XA[e] > 0.0) fi += w * term(e);
        };
        if (IGRP[k - 1] < 1) {
          add(k, 1.0);
        } else {
          for (int64_t l = 1; l <= IGRP[k - 1]; ++l) {
            const int64_t g = IGRP[l * NCC + (k - 1)];
            if (g >= 1 && g <= NCC) add(g, GRPN[(g - 1) * NCC + (k - 1)]);
          }
        }
        total += X[i - 1] * SEGM[i - 1] * fi;
      }
      return 2.0 * total;
    };
    auto fail_if = [&](int64_t status) {
      if (status != 0) IERR = 1;
    };
    int64_t status = 0;
    XAINI1(WRK, RHO, n, NCC, na, IDX, IGRP, IA, IAPOS, X, GRPN, SEGM, XA, DELTA, XERR, XOLD, ISPEC,
           ASSPAR, LDX, status);
    fail_if(status);
    if (status == 2) {
      Refuse(IUNIT, "SPECIES NUMBER BEYOND THE ROWS OF THE SITE ARRAYS. LDX = ", LDX);
      refuse();
      return;
    }
    ASUM = direct_sum([&](int64_t e) { return SiteEnergy(XA[e]); });
    auto slope = [&](int64_t e) { return 1.0 / XA[e] - 0.5; };
    if (lrho) {
      XARINI1(WRK, RHO, n, NCC, na, IDX, IGRP, IA, IAPOS, X, GRPN, SEGM, XA, XAR, DELTA, DELTAR,
              XERR, XOLD, ISPEC, ASSPAR, LDX, status);
      fail_if(status);
      ASUMR = direct_sum([&](int64_t e) { return slope(e) * XAR[e]; });
    }
    if (lrho2) {
      XAR2INI1(WRK, RHO, n, NCC, na, IDX, IGRP, IA, IAPOS, X, GRPN, SEGM, XA, XAR, XAR2, DELTA,
               DELTAR, DELTAR2, XERR, XOLD, ISPEC, ASSPAR, LDX, status);
      fail_if(status);
      ASUMR2 = direct_sum([&](int64_t e) {
        const double r = XAR[e] / XA[e];
        return slope(e) * (XAR[e] + XAR2[e]) - r * r;
      });
    }
    if (ltemp) {
      XATINI1(WRK, RHO, n, NCC, na, IDX, IGRP, IA, IAPOS, X, GRPN, SEGM, XA, XAT, DELTA, DELTAT,
              XERR, XOLD, ISPEC, ASSPAR, LDX, status);
      fail_if(status);
      ASUMT = direct_sum([&](int64_t e) { return slope(e) * XAT[e]; });
    }
    if (lcomp) {
      for (int64_t k = 1; k <= n; ++k) {
        CompositionStrengths(in, rdf, k, DELTA, DELTAX);
        XAXINI1(WRK, RHO, n, NCC, na, IDX, IGRP, IA, IAPOS, X, GRPN, SEGM, XA, XAX, DELTA, DELTAX,
                XERR, XOLD, k, IDX[k - 1], ISPEC, ASSPAR, LDX, status);
        fail_if(status);
        // The component's own term: 2 m_k F_k, F_k its species' energies.
        double own = 0.0;
        const int64_t c = IDX[k - 1];
        auto add_own = [&](int64_t s, double w) {
          if (s < 1 || s > LDX) return;
          const double xs = XA[(k - 1) * LDX + (s - 1)];
          if (xs > 0.0) own += w * SiteEnergy(xs);
        };
        if (IGRP[c - 1] < 1) {
          add_own(c, 1.0);
        } else {
          for (int64_t l = 1; l <= IGRP[c - 1]; ++l) {
            const int64_t g = IGRP[l * NCC + (c - 1)];
            if (g >= 1 && g <= NCC) add_own(g, GRPN[(g - 1) * NCC + (c - 1)]);
          }
        }
        ASUMX[k - 1] =
            2.0 * SEGM[k - 1] * own + direct_sum([&](int64_t e) { return slope(e) * XAX[e]; });
      }
    }
    return;
  }

  // Solver path, or the closed form of a single associating species when
  // no diagnostics are asked for.
  SingleScheme single;
  SingleRoot root{};
  const bool closed =
      ASSOC_SHORTCUTS.enabled && LEVEL < 1 && RHO > 0.0 && std::isfinite(RHO) &&
      FindSingleScheme(m, DELTA, IDXV, nv, single) &&
      SolveSingleScheme(single, RHO, X, na, DELTA, DELTAR, DELTAR2, lrho, lrho2, root);
  int64_t kinit = 0;
  const int64_t twenty = ntypes;
  if (closed) {
    FillSingle(single, LDX, n, XA, 1.0, root.x);
  } else {
    GETXA1(WRK, RHO, n, NCC, na, IDX, IGRP, IA, IAPOS, X, GRPW, SEGM, XA, DELTA, wsolv, XOLD,
           sv.LMERGE, sv.NSPEC, IERR, MODE, TOL, nv, ISITE, IDXV, sv.METHOD, sv.MAXIT, RES, VOLD,
           LEVEL, IUNIT, ITYPE, twenty, ldsites, nsites, sites, LDX, sv.NMERGE, sv.IV2, sv.JV2,
           sv.KSPEC, sv.KSPCMP, sv.KSPPOS, sv.KSPOFF, iwork, kinit, RHOOLD, XAR, sv.NXZERO);
  }
  sv.KINIT = kinit;
  // dX of the closed form for a change dc of c: -X^2 dc/s.
  auto single_change = [&](double dc) { return -root.x * root.x * dc / root.s; };
  auto single_pair = [&](const double* a) { return PairValue(a, na, single.r, single.r); };

  // Positions that own an association variable, found once for the sums.
  static std::vector<char> owner;
  owner.assign(static_cast<size_t>(n), 0);
  for (int64_t no = 1; no <= nv; ++no)
    if (IDXV[no - 1] >= 1 && IDXV[no - 1] <= n) owner[static_cast<size_t>(IDXV[no - 1] - 1)] = 1;

  // Sum over positions with x_i > 1e-15 of x_i sum_sites w term(entry), for
  // site fractions above 0; with owner_only, components without groups count
  // only when they own an association variable.
  auto site_sum = [&](bool owner_only, auto term) {
    double total = 0.0;
    for (int64_t i = 1; i <= n; ++i) {
      if (!(X[i - 1] > kTraceFraction)) continue;
      const int64_t c = IDX[i - 1];
      if (owner_only && IGRP[c - 1] < 1 && owner[static_cast<size_t>(i - 1)] == 0) continue;
      double fi = 0.0;
      ForEachSpecies(m, i, [&](int64_t, int64_t row0, int64_t count, double w) {
        for (int64_t a = 0; a < count; ++a) {
          const int64_t e = (i - 1) * LDX + (row0 - 1 + a);
          if (XA[e] > 0.0) fi += w * term(e);
        }
      });
      total += X[i - 1] * fi;
    }
    return total;
  };
  // F_k: the sites' energies of the component at position k.
  SiteEnergyMemo energy;
  auto own_energy = [&](int64_t k) {
    double fk = 0.0;
    ForEachSpecies(m, k, [&](int64_t, int64_t row0, int64_t count, double w) {
      for (int64_t a = 0; a < count; ++a) {
        const double xs = XA[(k - 1) * LDX + (row0 - 1 + a)];
        if (xs > 0.0) fk += w * energy(xs);
      }
    });
    return fk;
  };
  ASUM = site_sum(false, [&](int64_t e) { return energy(XA[e]); });
  if (IERR != 0) return;

  auto slope = [&](int64_t e) { return 1.0 / XA[e] - 0.5; };
  int64_t status = 0;
  const int64_t unused = 0;
  if (lrho && closed) {
    FillSingle(single, LDX, n, XAR, 0.0, root.dx);
  } else if (lrho) {
    GETXAR1(WRK, RHO, n, NCC, na, IDX, IGRP, IA, IAPOS, X, GRPW, SEGM, XA, XAR, DELTA, DELTAR,
            wsolv, XOLD, unused, unused, MODE, TOL, nv, ISITE, IDXV, sv.METHOD, sv.MAXIT, RES, VOLD,
            LEVEL, IUNIT, ITYPE, twenty, ldsites, nsites, sites, LDX, sv.NMERGE, sv.IV2, sv.JV2,
            unused, unused, unused, unused, kinit, sv.NXZERO, status);
    if (status != 0) IERR = 1;
  }
  if (lrho) {
    ASUMR = site_sum(true, [&](int64_t e) { return slope(e) * XAR[e]; });
  }
  if (lrho2 && closed) {
    FillSingle(single, LDX, n, XAR2, 0.0, root.d2x);
  } else if (lrho2) {
    GETXAR21(WRK, RHO, n, NCC, na, IDX, IGRP, IA, IAPOS, X, GRPW, SEGM, XA, XAR, XAR2, DELTA,
             DELTAR, DELTAR2, wsolv, XOLD, unused, unused, MODE, TOL, nv, ISITE, IDXV, sv.METHOD,
             sv.MAXIT, RES, VOLD, LEVEL, IUNIT, ITYPE, twenty, ldsites, nsites, sites, LDX,
             sv.NMERGE, sv.IV2, sv.JV2, unused, unused, unused, unused, kinit, sv.NXZERO, status);
    if (status != 0) IERR = 1;
  }
  if (lrho2) {
    ASUMR2 = site_sum(true, [&](int64_t e) {
      const double r = XAR[e] / XA[e];
      return slope(e) * (XAR[e] + XAR2[e]) - r * r;
    });
  }
  if (ltemp && closed) {
    FillSingle(single, LDX, n, XAT, 0.0, single_change(root.rxm * single_pair(DELTAT)));
  } else if (ltemp) {
    GETXAT1(WRK, RHO, n, NCC, na, IDX, IGRP, IA, IAPOS, X, GRPW, SEGM, XA, XAT, DELTA, DELTAT,
            wsolv, XOLD, unused, unused, one, TOL, nv, ISITE, IDXV, sv.METHOD, sv.MAXIT, RES, VOLD,
            LEVEL, IUNIT, ITYPE, twenty, ldsites, nsites, sites, LDX, sv.NMERGE, sv.IV2, sv.JV2,
            unused, unused, unused, unused, kinit, sv.NXZERO, status);
    if (status != 0) IERR = 1;
  }
  if (ltemp) {
    ASUMT = site_sum(true, [&](int64_t e) { return slope(e) * XAT[e]; });
  }
  // With the simplified CPA strengths every pair shares one composition
  // derivative, n dDelta/dn_k = Delta b_k (dg/db)/g. Then, the site balance
  // being stationary in the site fractions (Michelsen and Hendriks, 2001),
  // the derivative of the total association sum needs no derivative of the
  // site fractions:
  //   ASUMX(k) = sum over the sites A of k of ln X_A
  //              - 1/2 b_k (dg/db)/g sum_i x_i sum_A (1 - X_A).
  // The balance is the stationary point of one function of the site
  // fractions only when the strengths are symmetric, as the CPA core gives
  // them.
  bool all_plain = true, symmetric = true;
  for (int64_t i = 1; i <= n; ++i) all_plain = all_plain && IGRP[IDX[i - 1] - 1] < 1;
  for (int64_t i = 1; i <= na && symmetric; ++i)
    for (int64_t j = 1; j < i && symmetric; ++j)
      symmetric = Cell(DELTA, na, i, j) == Cell(DELTA, na, j, i);
  const bool stationary = lcomp && !closed && ASSOC_SHORTCUTS.enabled && LEVEL < 1 && IRDF == 1 &&
                          all_plain && symmetric && rdf.g != 0.0 &&
                          std::isfinite(rdf.dg_db / rdf.g);
  if (stationary) {
    const double bonded = site_sum(false, [&](int64_t e) { return 1.0 - XA[e]; });
    for (int64_t k = 1; k <= n; ++k) {
      const int64_t c = IDX[k - 1];
      const double bk = c >= 1 && c <= NCC ? BCOMP[c - 1] : 0.0;
      double logs = 0.0;
      ForEachSpecies(m, k, [&](int64_t, int64_t row0, int64_t count, double w) {
        for (int64_t a = 0; a < count; ++a) {
          const double xs = XA[(k - 1) * LDX + (row0 - 1 + a)];
          if (xs > 0.0) logs += w * std::log(xs);
        }
      });
      ASUMX[k - 1] = logs - 0.5 * (bk * rdf.dg_db / rdf.g) * bonded;
    }
  } else if (lcomp) {
    // Every component gets its derivative, an absent one too: its ln phi
    // is F_k of its site fractions at infinite dilution, which the solve
    // gives whether or not its sites are variables of the Newton steps.
    for (int64_t k = 1; k <= n; ++k) {
      CompositionStrengths(in, rdf, k, DELTA, DELTAX);
      if (closed) {
        // n dc/dn_k = rho m (Delta for the species' own position) + rho x_p m DX.
        const double own = k == single.pos ? RHO * single.partners * single_pair(DELTA) : 0.0;
        FillSingle(single, LDX, n, XAX, 0.0, single_change(own + root.rxm * single_pair(DELTAX)));
      } else {
        GETXAX1(WRK, RHO, n, NCC, na, IDX, IGRP, IA, IAPOS, X, GRPW, SEGM, XA, XAX, DELTA, DELTAX,
                wsolv, XOLD, k, IDX[k - 1], unused, unused, one, TOL, nv, ISITE, IDXV, sv.METHOD,
                sv.MAXIT, RES, VOLD, LEVEL, IUNIT, ITYPE, twenty, ldsites, nsites, sites, LDX,
                sv.NMERGE, sv.IV2, sv.JV2, unused, unused, unused, unused, kinit, sv.NXZERO,
                status);
        if (status != 0) IERR = 1;
      }
      ASUMX[k - 1] = own_energy(k) + site_sum(false, [&](int64_t e) { return slope(e) * XAX[e]; });
    }
  }
}

}  // namespace thermomodels
