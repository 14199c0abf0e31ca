// Site fractions and their derivatives by direct substitution: one fraction
// per species, every species bonding with every species through the pair
// strength, with the closed form of a single associating species.
#include <algorithm>
#include <cmath>

#include "association/association.h"

namespace thermomodels {

namespace {

enum class Kind { kFraction, kRho, kTemp, kRho2, kComp };

// Passes end when the largest relative change is at most this.
constexpr double kDirectTolerance = 1e-6;

struct Direct {
  double rho;
  int64_t n, ncc, na, ldxs;
  const int64_t* idx;
  const int64_t* igrp;
  const int64_t* iapos;
  const double* x;
  const double* grpn;
  const double* segm;

  // Calls f(species, weight) for the species of the component at pos.
  template <class F>
  void ForEach(int64_t pos, F&& f) const {
    const int64_t k = idx[pos - 1];
    if (k < 1 || k > ncc) return;
    const int64_t ngroups = igrp[k - 1];
    if (ngroups < 1) {
      f(k, 1.0);
      return;
    }
    for (int64_t l = 1; l <= ngroups; ++l) {
      const int64_t g = igrp[l * ncc + (k - 1)];
      if (g >= 1 && g <= ncc) f(g, grpn[(g - 1) * ncc + (k - 1)]);
    }
  }
  double Pair(const double* d, int64_t s, int64_t t) const {
    return PairValue(d, na, iapos[s - 1], iapos[t - 1]);
  }
  int64_t At(int64_t species, int64_t pos) const { return (pos - 1) * ldxs + (species - 1); }
};

struct Job {
  Kind kind;
  const double* xa;     // fractions (derivatives)
  const double* xar;    // RHO dXA/dRHO (second derivative)
  double* out;          // result
  const double* delta;  // strengths
  const double* d1;     // DELTAR, DELTAT or DELTAX
  const double* d2;     // DELTAR2
  int64_t kpos = 0, kcomp = 0;
};

// Closed form for the one associating species k at position p; see the
// quadratic X = 1/(1 + (a/2) X) of a single species.
void ClosedForm(const Direct& c, const Job& job, int64_t k, int64_t p, bool group) {
  const double d = c.Pair(job.delta, k, k);
  double a = 2.0 * c.rho * c.x[p - 1] * c.segm[p - 1] * d;
  if (group) a *= c.grpn[(k - 1) * c.ncc + (c.idx[p - 1] - 1)];
  if (job.kind == Kind::kFraction) {
    for (int64_t i = 1; i <= c.n; ++i)
      c.ForEach(i, [&](int64_t t, double) { job.out[c.At(t, i)] = 1.0; });
    if (a != 0.0) job.out[c.At(k, p)] = (std::sqrt(1.0 + 2.0 * a) - 1.0) / a;
    return;
  }
  if (d == 0.0) return;
  const double s = 1.0 / std::sqrt(1.0 + 2.0 * a);
  const double z = job.xa[c.At(k, p)];
  const double d1 = c.Pair(job.d1, k, k);
  double& v = job.out[c.At(k, p)];
  switch (job.kind) {
    case Kind::kRho: v = (d1 + d) * (s - z) / d; break;
    case Kind::kTemp: v = (s - z) * d1 / d; break;
    case Kind::kRho2: {
      const double y = job.xar[c.At(k, p)], d2 = c.Pair(job.d2, k, k);
      v = -(1.0 + d1 / d) * y + (2.0 * d1 + d2) * (s - z) / d -
          (d1 + d) * ((d1 / d + 1.0) * a * s * s * s + y) / d;
      break;
    }
    case Kind::kComp: {
      const double e = p == job.kpos ? d : 0.0;
      v = (s - z) * (d1 * c.x[p - 1] + e) / (c.x[p - 1] * d);
      break;
    }
    case Kind::kFraction: break;
  }
}

// The smallest associating species number, when it occurs exactly once in
// the list and no other pair of the species present has a strength: then,
// and only then, the closed form holds. Returns false otherwise.
bool SingleSpecies(const Direct& c, const Job& job, const double* asspar, int64_t& k, int64_t& p,
                   bool& group) {
  k = 0;
  for (int64_t t = 1; t <= c.ncc; ++t)
    if (asspar[t - 1] > 0.0 && asspar[t - 1] < kNoValue) {
      k = t;
      break;
    }
  if (k == 0) return false;
  int64_t count = 0;
  bool others_bond = false;
  for (int64_t i = 1; i <= c.n; ++i) {
    const int64_t comp = c.idx[i - 1];
    const bool grouped = comp >= 1 && comp <= c.ncc && c.igrp[comp - 1] >= 1;
    c.ForEach(i, [&](int64_t t, double) {
      if (t == k) {
        ++count;
        p = i;
        group = grouped;
      }
      for (int64_t j = 1; j <= c.n; ++j)
        c.ForEach(j, [&](int64_t u, double) {
          if ((t != k || u != k) && c.Pair(job.delta, t, u) != 0.0) others_bond = true;
        });
    });
  }
  if (count != 1 || others_bond) return false;
  return job.kind != Kind::kComp || c.x[p - 1] > 0.0;
}

// Shared skeleton of the five routines. Status: 0 converged, 1 pass limit,
// 2 a species number beyond the rows of the arrays.
int64_t DirectSolve(const Direct& c, const Job& job, double* xerr, double* xold, int64_t ispec,
                    const double* asspar) {
  if (c.n < 1) return 0;
  const int64_t entries = c.ldxs * c.n;
  std::fill(job.out, job.out + entries, 0.0);
  std::fill(xerr, xerr + entries, 0.0);
  std::fill(xold, xold + entries, 0.0);
  bool fits = true;
  for (int64_t i = 1; i <= c.n; ++i)
    c.ForEach(i, [&](int64_t t, double) { fits = fits && t <= c.ldxs; });
  if (!fits) return 2;

  if (ispec == 1) {
    int64_t k = 0, p = 0;
    bool group = false;
    if (SingleSpecies(c, job, asspar, k, p, group)) {
      ClosedForm(c, job, k, p, group);
      return 0;
    }
  }
  if (job.kind == Kind::kFraction)
    for (int64_t i = 1; i <= c.n; ++i)
      c.ForEach(i, [&](int64_t t, double) { job.out[c.At(t, i)] = 0.5; });

  for (int64_t pass = 1; pass <= kDirectMaxPasses; ++pass) {
    std::copy(job.out, job.out + entries, xold);
    for (int64_t i = 1; i <= c.n; ++i) {
      c.ForEach(i, [&](int64_t v, double) {
        double sum = 0.0, own = 0.0;
        for (int64_t j = 1; j <= c.n; ++j) {
          double inner = 0.0;
          c.ForEach(j, [&](int64_t t, double w) {
            const double d = c.Pair(job.delta, v, t);
            const int64_t e = c.At(t, j);
            switch (job.kind) {
              case Kind::kFraction: inner += w * xold[e] * d; break;
              case Kind::kRho:
                inner += w * ((xold[e] + job.xa[e]) * d + c.Pair(job.d1, v, t) * job.xa[e]);
                break;
              case Kind::kTemp:
              case Kind::kComp:
                inner += w * (d * xold[e] + c.Pair(job.d1, v, t) * job.xa[e]);
                break;
              case Kind::kRho2: {
                const double d1 = c.Pair(job.d1, v, t), d2 = c.Pair(job.d2, v, t);
                inner += w * (2.0 * ((d + d1) * job.xar[e] + d1 * job.xa[e]) + d * xold[e] +
                              d2 * job.xa[e]);
                break;
              }
            }
          });
          sum += c.x[j - 1] * c.segm[j - 1] * inner;
        }
        const int64_t e = c.At(v, i);
        double value = 0.0;
        if (job.kind == Kind::kFraction) {
          value = 1.0 / (1.0 + c.rho * sum);
        } else {
          const double xa = job.xa[e];
          if (job.kind == Kind::kComp) {
            // The amount of component k itself: its own species' fractions.
            c.ForEach(job.kpos, [&](int64_t g, double w) {
              own += w * job.xa[c.At(g, job.kpos)] * c.Pair(job.delta, v, g);
            });
            sum += own * c.segm[job.kpos - 1];
          }
          value = -c.rho * xa * xa * sum;
          if (job.kind == Kind::kRho2)
            value = xa > 0.0 ? value + 2.0 * job.xar[e] * job.xar[e] / xa : 0.0;
        }
        job.out[e] = value;
        if (job.kind == Kind::kFraction || value != 0.0)
          xerr[e] = std::fabs((value - xold[e]) / value);
      });
    }
    const double emax = *std::max_element(xerr, xerr + entries);
    if (emax <= kDirectTolerance) return 0;
  }
  return 1;
}

Direct MakeDirect(const double& RHO, const int64_t& N, const int64_t& NCC, const int64_t& NA,
                  const int64_t* IDX, const int64_t* IGRP, const int64_t* IAPOS, const double* X,
                  const double* GRPN, const double* SEGM, const int64_t& LDXS) {
  return Direct{RHO, N, NCC, NA, LDXS, IDX, IGRP, IAPOS, X, GRPN, SEGM};
}

}  // namespace

void XAINI1(double*, const double& RHO, const int64_t& N, const int64_t& NCC, const int64_t& NA,
            const int64_t* IDX, const int64_t* IGRP, const int64_t*, const int64_t* IAPOS,
            const double* X, const double* GRPN, const double* SEGM, double* XA,
            const double* DELTA, double* XERR, double* XOLD, const int64_t& ISPEC,
            const double* ASSPAR, const int64_t& LDXS, int64_t& IERR) {
  const Direct c = MakeDirect(RHO, N, NCC, NA, IDX, IGRP, IAPOS, X, GRPN, SEGM, LDXS);
  const Job job{Kind::kFraction, nullptr, nullptr, XA, DELTA, nullptr, nullptr};
  IERR = DirectSolve(c, job, XERR, XOLD, ISPEC, ASSPAR);
}

void XARINI1(double*, const double& RHO, const int64_t& N, const int64_t& NCC, const int64_t& NA,
             const int64_t* IDX, const int64_t* IGRP, const int64_t*, const int64_t* IAPOS,
             const double* X, const double* GRPN, const double* SEGM, const double* XA, double* XAR,
             const double* DELTA, const double* DELTAR, double* XERR, double* XOLD,
             const int64_t& ISPEC, const double* ASSPAR, const int64_t& LDXS, int64_t& IERR) {
  const Direct c = MakeDirect(RHO, N, NCC, NA, IDX, IGRP, IAPOS, X, GRPN, SEGM, LDXS);
  const Job job{Kind::kRho, XA, nullptr, XAR, DELTA, DELTAR, nullptr};
  IERR = DirectSolve(c, job, XERR, XOLD, ISPEC, ASSPAR);
}

void XATINI1(double*, const double& RHO, const int64_t& N, const int64_t& NCC, const int64_t& NA,
             const int64_t* IDX, const int64_t* IGRP, const int64_t*, const int64_t* IAPOS,
             const double* X, const double* GRPN, const double* SEGM, const double* XA, double* XAT,
             const double* DELTA, const double* DELTAT, double* XERR, double* XOLD,
             const int64_t& ISPEC, const double* ASSPAR, const int64_t& LDXS, int64_t& IERR) {
  const Direct c = MakeDirect(RHO, N, NCC, NA, IDX, IGRP, IAPOS, X, GRPN, SEGM, LDXS);
  const Job job{Kind::kTemp, XA, nullptr, XAT, DELTA, DELTAT, nullptr};
  IERR = DirectSolve(c, job, XERR, XOLD, ISPEC, ASSPAR);
}

void XAR2INI1(double*, const double& RHO, const int64_t& N, const int64_t& NCC, const int64_t& NA,
              const int64_t* IDX, const int64_t* IGRP, const int64_t*, const int64_t* IAPOS,
              const double* X, const double* GRPN, const double* SEGM, const double* XA,
              const double* XAR, double* XAR2, const double* DELTA, const double* DELTAR,
              const double* DELTAR2, double* XERR, double* XOLD, const int64_t& ISPEC,
              const double* ASSPAR, const int64_t& LDXS, int64_t& IERR) {
  const Direct c = MakeDirect(RHO, N, NCC, NA, IDX, IGRP, IAPOS, X, GRPN, SEGM, LDXS);
  const Job job{Kind::kRho2, XA, XAR, XAR2, DELTA, DELTAR, DELTAR2};
  IERR = DirectSolve(c, job, XERR, XOLD, ISPEC, ASSPAR);
}

void XAXINI1(double*, const double& RHO, const int64_t& N, const int64_t& NCC, const int64_t& NA,
             const int64_t* IDX, const int64_t* IGRP, const int64_t*, const int64_t* IAPOS,
             const double* X, const double* GRPN, const double* SEGM, const double* XA, double* XAX,
             const double* DELTA, const double* DELTAX, double* XERR, double* XOLD,
             const int64_t& KPOS, const int64_t& KCOMP, const int64_t& ISPEC, const double* ASSPAR,
             const int64_t& LDXS, int64_t& IERR) {
  const Direct c = MakeDirect(RHO, N, NCC, NA, IDX, IGRP, IAPOS, X, GRPN, SEGM, LDXS);
  if (KPOS < 1 || KPOS > N) {
    IERR = 2;
    return;
  }
  Job job{Kind::kComp, XA, nullptr, XAX, DELTA, DELTAX, nullptr};
  job.kpos = KPOS;
  job.kcomp = KCOMP;
  IERR = DirectSolve(c, job, XERR, XOLD, ISPEC, ASSPAR);
}

}  // namespace thermomodels
