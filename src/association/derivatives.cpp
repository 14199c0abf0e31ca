// Site-fraction derivative solvers: the differentiated site balance, linear
// in the derivative sought, solved by sweeps of successive substitution,
// optionally relaxed by a spectral step or accelerated by Broyden's method
// started from the inverse Jacobian the site-fraction solver left behind.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "association/association.h"
#include "eos_roots/eos_roots.h"

namespace thermomodels {

namespace {

enum class Member { kRho, kTemp, kRho2, kComp };

// What distinguishes the four members: the result, the strength
// derivatives it is built from, and the names in its messages.
struct Job {
  Member member;
  const char* routine;  // "GETXAR1", ...
  const char* result;   // "XAR", ...
  const double* xa;     // site fractions at the solution
  const double* xar;    // RHO dXA/dRHO (second derivative only)
  double* out;          // the derivative solved for
  const double* delta;  // strengths
  const double* d1;     // DELTAR, DELTAT or DELTAX
  const double* d2;     // DELTAR2 (second derivative only)
  int64_t kpos = 0;     // composition: list position of the component
  int64_t kcomp = 0;    // composition: its component number
};

// Largest value a quasi-Newton step may give a derivative.
constexpr double kDerivLimit = 1e20;
// Changes below this count towards the looser ending of the second derivative.
constexpr double kLooseChange = 1e-8;

// The species of one list position as the sweeps read them: laid out once
// per call, so that a sweep looks up no component, type or site sign.
struct PartnerSpecies {
  int64_t q;                          // associating position (column of the pair arrays)
  int64_t e0;                         // 0-based offset of its first site row in an (LDX, N) array
  int64_t sites;                      // site rows the sweep reads (1 under merging)
  double w;                           // weight of the species in its component
  int64_t signs[kAssocSitesPerType];  // sign of each site
};
struct PartnerTable {
  std::vector<PartnerSpecies> species;  // all positions' species in order
  std::vector<int64_t> begin;           // species of position j: [begin[j-1], begin[j])
  void Build(const SiteModel& m) {
    species.clear();
    begin.assign(static_cast<size_t>(m.n + 1), 0);
    for (int64_t j = 1; j <= m.n; ++j) {
      begin[static_cast<size_t>(j - 1)] = static_cast<int64_t>(species.size());
      ForEachSpecies(m, j, [&](int64_t t, int64_t row0, int64_t count, double w) {
        PartnerSpecies p{
            SpeciesPos(m, t), (j - 1) * m.ldx + (row0 - 1), m.merged ? 1 : count, w, {}};
        for (int64_t b = 0; b < count && b < kAssocSitesPerType; ++b)
          p.signs[b] = SpeciesSiteSign(m, t, b + 1);
        species.push_back(p);
      });
    }
    begin[static_cast<size_t>(m.n)] = static_cast<int64_t>(species.size());
  }
};

struct Solver {
  const SiteModel& m;
  const Job& job;
  double rho, xatol;
  int64_t nv;
  const int64_t* isite;
  const int64_t* idxv;
  const double* xold;

  // Positions that own an association variable, found once per call.
  const char* owner;
  bool OwnsVariable(int64_t pos) const { return nv >= 1 && owner[pos - 1] != 0; }
  const PartnerTable& partners;

  // Term of a bonding site B (entry e_b) of a species with the pair values
  // d, d1 (DELTAR, DELTAT or DELTAX) and d2 (DELTAR2), for the member in hand.
  double Term(int64_t e_b, double d, double d1, double d2) const {
    const double xb = job.xa[e_b], ob = xold[e_b];
    switch (job.member) {
      case Member::kRho: return (xb + ob) * d + xb * d1;
      case Member::kRho2: return 2.0 * ((d + d1) * job.xar[e_b] + d1 * xb) + ob * d + xb * d2;
      case Member::kTemp:
      case Member::kComp: return ob * d + xb * d1;
    }
    return 0.0;
  }

  // Sum over the bonding sites of the species at position j of weight*term;
  // `test` decides which positions count.
  double SpeciesSum(int64_t sign_a, int64_t r, int64_t j, bool own_target_groups) const {
    const int64_t c = m.idx[j - 1];
    const bool grouped = c >= 1 && c <= m.ldg && m.igrp[c - 1] >= 1;
    const double xj = m.x[j - 1];
    if (!own_target_groups) {
      if (!grouped) {
        const bool counts = job.member == Member::kComp ? xj > 1e-15 && (nv == 0 || OwnsVariable(j))
                                                        : xj > 1e-15 && OwnsVariable(j);
        if (!counts) return 0.0;
      } else if (job.member == Member::kComp && !(xj > 1e-15)) {
        return 0.0;
      }
    }
    double sum = 0.0;
    const int64_t last = partners.begin[static_cast<size_t>(j)];
    for (int64_t k = partners.begin[static_cast<size_t>(j - 1)]; k < last; ++k) {
      const PartnerSpecies& p = partners.species[static_cast<size_t>(k)];
      const double d = PairValue(job.delta, m.na, r, p.q);
      if (d == 0.0) continue;
      // The pair values of the species, read once for all its sites.
      const double d1 = PairValue(job.d1, m.na, r, p.q);
      const double d2 = job.member == Member::kRho2 ? PairValue(job.d2, m.na, r, p.q) : 0.0;
      for (int64_t b = 0; b < p.sites; ++b) {
        if (!m.merged && !AssocSitesBond(sign_a, p.signs[b])) continue;
        sum += p.w * Term(p.e0 + b, d, d1, d2);
      }
    }
    return xj * sum;
  }

  // Extra term of the composition derivative: the sites of component k
  // itself, without its mole fraction.
  double OwnComponentSum(int64_t sign_a, int64_t r) const {
    double sum = 0.0;
    ForEachSpecies(m, job.kpos, [&](int64_t t, int64_t row0, int64_t count, double w) {
      const double d = PairValue(job.delta, m.na, r, SpeciesPos(m, t));
      if (d == 0.0) return;
      const int64_t sites = m.merged ? 1 : count;
      for (int64_t b = 0; b < sites; ++b) {
        if (!m.merged && !AssocSitesBond(sign_a, SpeciesSiteSign(m, t, b + 1))) continue;
        sum += w * d * job.xa[(job.kpos - 1) * m.ldx + (row0 - 1 + b)];
      }
    });
    return sum;
  }

  // One sweep of the differentiated balance; returns the largest change.
  double Sweep() const {
    double emax = 0.0;
    for (int64_t i = 1; i <= m.n; ++i) {
      const int64_t c = m.idx[i - 1];
      const bool grouped = c >= 1 && c <= m.ldg && m.igrp[c - 1] >= 1;
      if (!grouped) {
        const bool tiny = !(m.x[i - 1] > 1e-15);
        const bool zero_rule = job.member == Member::kTemp ? tiny : tiny && nxzero > 1;
        if (zero_rule || (nv != 0 && !OwnsVariable(i))) {
          for (int64_t row = 1; row <= std::min(SiteRowsNeeded(m, i), m.ldx); ++row)
            job.out[(i - 1) * m.ldx + (row - 1)] = 0.0;
          continue;
        }
      }
      ForEachSpecies(m, i, [&](int64_t s, int64_t row0, int64_t count, double) {
        const int64_t r = SpeciesPos(m, s);
        const int64_t sites = m.merged ? 1 : count;
        for (int64_t a = 0; a < sites; ++a) {
          const int64_t sign_a = SpeciesSiteSign(m, s, a + 1);
          const int64_t e_a = (i - 1) * m.ldx + (row0 - 1 + a);
          double sum = 0.0;
          for (int64_t j = 1; j <= m.n; ++j) sum += SpeciesSum(sign_a, r, j, grouped);
          if (job.member == Member::kComp) sum += OwnComponentSum(sign_a, r);
          const double xa = job.xa[e_a];
          double v = -rho * xa * xa * sum;
          // A fraction of exactly 0 has no second derivative: left at 0.
          if (job.member == Member::kRho2)
            v = xa > 0.0 ? v + 2.0 * job.xar[e_a] * job.xar[e_a] / xa : 0.0;
          job.out[e_a] = v;
          if (m.merged && count >= 2) job.out[e_a + 1] = v;
          double change = std::fabs(v - xold[e_a]);
          if (grouped) {
            change = v != 0.0 ? change / std::fabs(v) : 0.0;
          } else if (std::fabs(v) > xatol) {
            change /= std::fabs(v);
          }
          emax = std::max(emax, change);
        }
      });
    }
    return emax;
  }
  int64_t nxzero = 0;
};

void WriteValues(int32_t unit, const std::string& heading, const SiteModel& m, int64_t nv,
                 const int64_t* isite, const int64_t* idxv, const double* values) {
  WriteLine(unit, heading);
  for (int64_t no = 1; no <= nv; ++no) {
    const int64_t row = isite[no - 1], pos = idxv[no - 1];
    if (row < 1 || row > m.ldx || pos < 1 || pos > m.n) continue;
    WriteLine(unit, no, " ", m.idx[pos - 1], " ", row, " ", values[(pos - 1) * m.ldx + (row - 1)]);
  }
}

// The shared iteration of the four members. Returns 0 when converged (or
// ended at the looser tolerance), 1 at the iteration limit.
int64_t SolveDerivative(const SiteModel& m, const Job& job, double rho, double* wsolv, double* xold,
                        const int64_t& kstart, double xatol, int64_t nv, const int64_t* isite,
                        const int64_t* idxv, int64_t method, int64_t maxit, double* res,
                        double* vold, int64_t level, int32_t unit, const int64_t* iv2,
                        const int64_t* jv2, int64_t nmerge, int64_t kinit, int64_t nxzero) {
  const std::string name = job.routine;
  const std::string comp = job.member == Member::kComp
                               ? std::string(" FOR COMP ") + std::to_string(job.kcomp)
                               : std::string();
  const int64_t entries = m.ldx * m.n;
  double step_mode = 0.0, step_facmin = 0.0, step_facmax = 0.0, step_dxmax = 0.0, fac = 1.0;
  int64_t counter = kinit == 1 ? 0 : -1;
  if (kstart != 2) {
    std::fill(job.out, job.out + entries, 0.0);
    std::fill(xold, xold + entries, 0.0);
  }
  if (level >= 2) {
    const std::string heading =
        job.member == Member::kComp
            ? name + ": INITIAL VALUES" + comp + ": NO, IDX, ISITE, " + job.result
            : name + ": INITIAL VALUES: NO, IDX, ISITE, " + job.result;
    WriteValues(unit, heading, m, nv, isite, idxv, job.out);
  }
  static std::vector<char> owner;
  owner.assign(static_cast<size_t>(std::max<int64_t>(m.n, 1)), 0);
  for (int64_t no = 1; no <= nv; ++no)
    if (idxv[no - 1] >= 1 && idxv[no - 1] <= m.n) owner[static_cast<size_t>(idxv[no - 1] - 1)] = 1;
  static PartnerTable partners;
  partners.Build(m);
  Solver solver{m, job, rho, xatol, nv, isite, idxv, xold, owner.data(), partners};
  solver.nxzero = nxzero;
  auto entry = [&](int64_t no) -> int64_t {
    const int64_t row = isite[no - 1], pos = idxv[no - 1];
    if (row < 1 || row > m.ldx || pos < 1 || pos > m.n) return -1;
    return (pos - 1) * m.ldx + (row - 1);
  };
  int64_t small_steps = 0;
  for (int64_t it = 1;; ++it) {
    std::copy(job.out, job.out + entries, xold);
    const double e = solver.Sweep();
    if (level >= 2) WriteLine(unit, name, ": ITER = ", it, "  MAX-ERR = ", e);
    const bool loose_end = job.member == Member::kRho2 && small_steps > 2;
    if (it >= 2 && (e <= xatol || it >= maxit || loose_end)) {
      int64_t status = 0;
      if (e <= xatol) {
        if (level >= 1)
          WriteLine(unit, name, ": ", job.result, " CONVERGED", comp, ". ITER = ", it,
                    "  MAX-ERR = ", e);
      } else if (job.member == Member::kRho2 && e < kLooseChange && small_steps >= 3) {
        if (level >= 1)
          WriteLine(unit, name, ": XAR2 CONVERGED TO A LOOSER TOLERANCE. ITER = ", it,
                    "  MAX-ERR = ", e);
      } else {
        status = 1;
        if (level >= 1)
          WriteLine(unit, name, ": ", job.result, " FAILED", comp, ". ITER = ", it,
                    "  MAX-ERR = ", e);
      }
      if (level >= 2) {
        const std::string heading =
            job.member == Member::kComp   ? name + ": FINAL VALUES" + comp + ": NO, IDX, ISITE, XAX"
            : job.member == Member::kRho2 ? name + ": FINAL VALUES: IDX, ISITE, XAR2"
                                          : name + ": FINAL VALUES: NO, IDX, ISITE, " + job.result;
        WriteValues(unit, heading, m, nv, isite, idxv, job.out);
      }
      return status;
    }
    if (method == 0) {
      // Plain substitution: the sweep's values start the next iteration.
    } else if (method == 1) {
      // Spectral relaxation; entries the sweep left at 0 stay 0.
      for (int64_t k = 0; k < entries; ++k) {
        if (job.out[k] != 0.0) {
          job.out[k] -= xold[k];
        } else {
          xold[k] = 0.0;
        }
      }
      XASTEP(counter, entries, step_mode, step_facmin, step_facmax, step_dxmax, fac, xold, job.out,
             wsolv);
      std::copy(xold, xold + entries, job.out);
    } else {
      small_steps = e < kLooseChange ? small_steps + 1 : 0;
      for (int64_t no = 1; no <= nv; ++no) {
        const int64_t k = entry(no);
        vold[no - 1] = k >= 0 ? xold[k] : 0.0;
        res[no - 1] = k >= 0 ? job.out[k] - vold[no - 1] : 0.0;
      }
      XALSOL(nv, vold, res, wsolv, wsolv + nv, wsolv + 2 * nv, wsolv + 3 * nv, counter);
      counter = 3;
      for (int64_t no = 1; no <= nv; ++no) {
        const int64_t k = entry(no);
        if (k >= 0)
          job.out[k] = std::clamp(wsolv[nv + no - 1] + wsolv[no - 1], -kDerivLimit, kDerivLimit);
      }
      for (int64_t l = 1; l <= nmerge; ++l) {
        int64_t var = 0;
        double factor = 1.0;
        if (!MergeSource(jv2[l - 1], nv, var, factor)) continue;
        const int64_t src = entry(var), row = iv2[l - 1];
        if (src < 0 || row < 1 || row > m.ldx) continue;
        job.out[(idxv[var - 1] - 1) * m.ldx + (row - 1)] = factor * job.out[src];
      }
    }
    if (level >= 3) {
      WriteValues(unit, name + ": NEW VALUES: NO, IDX, ISITE, " + job.result, m, nv, isite, idxv,
                  job.out);
      for (int64_t l = 1; l <= nmerge; ++l) {
        const int64_t var = jv2[l - 1], row = iv2[l - 1];
        if (var < 1 || var >= 1000 || var > nv || row < 1 || row > m.ldx) continue;
        const int64_t pos = idxv[var - 1];
        if (pos < 1 || pos > m.n) continue;
        WriteLine(unit, m.idx[pos - 1], " ", row, " ", job.out[(pos - 1) * m.ldx + (row - 1)]);
      }
    }
  }
}

SiteModel MakeModel(const int64_t& N, const int64_t& NCC, const int64_t& NA, const int64_t* IDX,
                    const int64_t* IGRP, const int64_t* IAPOS, const double* X, const double* GRPW,
                    const int64_t* ITYPE, const int64_t& LDSITES, const int64_t* NSITES,
                    const int64_t* SITES, const int64_t& LDX, const int64_t& NMERGE) {
  return SiteModel{N,    NCC,   NA,    LDX,    LDSITES, NMERGE != 0, IDX,
                   IGRP, IAPOS, ITYPE, NSITES, SITES,   X,           GRPW};
}

}  // namespace

void GETXAR1(double*, const double& RHO, const int64_t& N, const int64_t& NCC, const int64_t& NA,
             const int64_t* IDX, const int64_t* IGRP, const int64_t*, const int64_t* IAPOS,
             const double* X, const double* GRPW, const double*, const double* XA, double* XAR,
             const double* DELTA, const double* DELTAR, double* WSOLV, double* XOLD, const int64_t&,
             const int64_t&, const int64_t& KSTART, const double& XATOL, const int64_t& NV,
             const int64_t* ISITE, const int64_t* IDXV, const int64_t& METHOD, const int64_t& MAXIT,
             double* RES, double* VOLD, const int64_t& LEVEL, const int32_t& IUNIT,
             const int64_t* ITYPE, const int64_t&, const int64_t& LDSITES, const int64_t* NSITES,
             const int64_t* SITES, const int64_t& LDX, const int64_t& NMERGE, const int64_t* IV2,
             const int64_t* JV2, const int64_t&, const int64_t&, const int64_t&, const int64_t&,
             const int64_t& KINIT, const int64_t& NXZERO, int64_t& IERR) {
  IERR = 0;
  if (KSTART == -1) return;
  const SiteModel m =
      MakeModel(N, NCC, NA, IDX, IGRP, IAPOS, X, GRPW, ITYPE, LDSITES, NSITES, SITES, LDX, NMERGE);
  const Job job{Member::kRho, "GETXAR1", "XAR", XA, nullptr, XAR, DELTA, DELTAR, nullptr};
  IERR = SolveDerivative(m, job, RHO, WSOLV, XOLD, KSTART, XATOL, NV, ISITE, IDXV, METHOD, MAXIT,
                         RES, VOLD, LEVEL, IUNIT, IV2, JV2, NMERGE, KINIT, NXZERO);
}

void GETXAT1(double*, const double& RHO, const int64_t& N, const int64_t& NCC, const int64_t& NA,
             const int64_t* IDX, const int64_t* IGRP, const int64_t*, const int64_t* IAPOS,
             const double* X, const double* GRPW, const double*, const double* XA, double* XAT,
             const double* DELTA, const double* DELTAT, double* WSOLV, double* XOLD, const int64_t&,
             const int64_t&, const int64_t& KSTART, const double& XATOL, const int64_t& NV,
             const int64_t* ISITE, const int64_t* IDXV, const int64_t& METHOD, const int64_t& MAXIT,
             double* RES, double* VOLD, const int64_t& LEVEL, const int32_t& IUNIT,
             const int64_t* ITYPE, const int64_t&, const int64_t& LDSITES, const int64_t* NSITES,
             const int64_t* SITES, const int64_t& LDX, const int64_t& NMERGE, const int64_t* IV2,
             const int64_t* JV2, const int64_t&, const int64_t&, const int64_t&, const int64_t&,
             const int64_t& KINIT, const int64_t&, int64_t& IERR) {
  IERR = 0;
  if (KSTART == -1) return;
  const SiteModel m =
      MakeModel(N, NCC, NA, IDX, IGRP, IAPOS, X, GRPW, ITYPE, LDSITES, NSITES, SITES, LDX, NMERGE);
  const Job job{Member::kTemp, "GETXAT1", "XAT", XA, nullptr, XAT, DELTA, DELTAT, nullptr};
  IERR = SolveDerivative(m, job, RHO, WSOLV, XOLD, KSTART, XATOL, NV, ISITE, IDXV, METHOD, MAXIT,
                         RES, VOLD, LEVEL, IUNIT, IV2, JV2, NMERGE, KINIT, 0);
}

void GETXAR21(double*, const double& RHO, const int64_t& N, const int64_t& NCC, const int64_t& NA,
              const int64_t* IDX, const int64_t* IGRP, const int64_t*, const int64_t* IAPOS,
              const double* X, const double* GRPW, const double*, const double* XA,
              const double* XAR, double* XAR2, const double* DELTA, const double* DELTAR,
              const double* DELTAR2, double* WSOLV, double* XOLD, const int64_t&, const int64_t&,
              const int64_t& KSTART, const double& XATOL, const int64_t& NV, const int64_t* ISITE,
              const int64_t* IDXV, const int64_t& METHOD, const int64_t& MAXIT, double* RES,
              double* VOLD, const int64_t& LEVEL, const int32_t& IUNIT, const int64_t* ITYPE,
              const int64_t&, const int64_t& LDSITES, const int64_t* NSITES, const int64_t* SITES,
              const int64_t& LDX, const int64_t& NMERGE, const int64_t* IV2, const int64_t* JV2,
              const int64_t&, const int64_t&, const int64_t&, const int64_t&, const int64_t& KINIT,
              const int64_t& NXZERO, int64_t& IERR) {
  IERR = 0;
  if (KSTART == -1) return;
  const SiteModel m =
      MakeModel(N, NCC, NA, IDX, IGRP, IAPOS, X, GRPW, ITYPE, LDSITES, NSITES, SITES, LDX, NMERGE);
  const Job job{Member::kRho2, "GETXAR21", "XAR2", XA, XAR, XAR2, DELTA, DELTAR, DELTAR2};
  IERR = SolveDerivative(m, job, RHO, WSOLV, XOLD, KSTART, XATOL, NV, ISITE, IDXV, METHOD, MAXIT,
                         RES, VOLD, LEVEL, IUNIT, IV2, JV2, NMERGE, KINIT, NXZERO);
}

void GETXAX1(double*, const double& RHO, const int64_t& N, const int64_t& NCC, const int64_t& NA,
             const int64_t* IDX, const int64_t* IGRP, const int64_t*, const int64_t* IAPOS,
             const double* X, const double* GRPW, const double*, const double* XA, double* XAX,
             const double* DELTA, const double* DELTAX, double* WSOLV, double* XOLD,
             const int64_t& KPOS, const int64_t& KCOMP, const int64_t&, const int64_t&,
             const int64_t& KSTART, const double& XATOL, const int64_t& NV, const int64_t* ISITE,
             const int64_t* IDXV, const int64_t& METHOD, const int64_t& MAXIT, double* RES,
             double* VOLD, const int64_t& LEVEL, const int32_t& IUNIT, const int64_t* ITYPE,
             const int64_t&, const int64_t& LDSITES, const int64_t* NSITES, const int64_t* SITES,
             const int64_t& LDX, const int64_t& NMERGE, const int64_t* IV2, const int64_t* JV2,
             const int64_t&, const int64_t&, const int64_t&, const int64_t&, const int64_t& KINIT,
             const int64_t& NXZERO, int64_t& IERR) {
  IERR = 0;
  const SiteModel m =
      MakeModel(N, NCC, NA, IDX, IGRP, IAPOS, X, GRPW, ITYPE, LDSITES, NSITES, SITES, LDX, NMERGE);
  if (KPOS < 1 || KPOS > N) {
    IERR = 1;
    return;
  }
  Job job{Member::kComp, "GETXAX1", "XAX", XA, nullptr, XAX, DELTA, DELTAX, nullptr};
  job.kpos = KPOS;
  job.kcomp = KCOMP;
  IERR = SolveDerivative(m, job, RHO, WSOLV, XOLD, KSTART, XATOL, NV, ISITE, IDXV, METHOD, MAXIT,
                         RES, VOLD, LEVEL, IUNIT, IV2, JV2, NMERGE, KINIT, NXZERO);
}

}  // namespace thermomodels
