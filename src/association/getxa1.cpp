// Site-fraction solver: Wertheim's site balance X_A = 1/(1 + S_A) solved in
// the logarithms of the fractions by successive substitution (plain or with
// a spectral step), by Newton's method with a line search on Michelsen's
// objective, and by Broyden's quasi-Newton method.
#include <algorithm>
#include <cmath>
#include <vector>

#include "association/association.h"
#include "eos_roots/eos_roots.h"

namespace thermomodels {

namespace {

// Smallest fraction a residual pass hands on when the balance turns negative.
constexpr double kTinyFraction = 1e-80;

struct Vars {
  int64_t nv;
  const int64_t* isite;
  const int64_t* idxv;
  int64_t ldx, n;
  // Variable of each entry of an (LDX, N) array, or 0: Of() looked up once
  // for every entry when the call begins.
  const int64_t* var_of = nullptr;

  // 0-based offset of variable no (1-based) in an (LDX, N) array, or -1.
  int64_t Entry(int64_t no) const {
    if (no < 1 || no > nv) return -1;
    const int64_t row = isite[no - 1], pos = idxv[no - 1];
    if (row < 1 || row > ldx || pos < 1 || pos > n) return -1;
    return (pos - 1) * ldx + (row - 1);
  }
  // Variable of site row `row` (1..LDX) of position pos, or 0.
  int64_t Of(int64_t row, int64_t pos) const { return var_of[(pos - 1) * ldx + (row - 1)]; }
};

// The table of Vars::var_of: a position's variables are consecutive,
// starting at the first with IDXV = pos; the first of them on a row wins.
void MapVariables(const Vars& v, std::vector<int64_t>& table) {
  table.assign(static_cast<size_t>(v.ldx * v.n), 0);
  static std::vector<int64_t> first;
  first.assign(static_cast<size_t>(v.n), 0);
  for (int64_t no = v.nv; no >= 1; --no) {
    const int64_t pos = v.idxv[no - 1];
    if (pos >= 1 && pos <= v.n) first[static_cast<size_t>(pos - 1)] = no;
  }
  for (int64_t pos = 1; pos <= v.n; ++pos) {
    const int64_t start = first[static_cast<size_t>(pos - 1)];
    if (start == 0) continue;
    for (int64_t no = start; no <= v.nv && v.idxv[no - 1] == pos; ++no) {
      const int64_t row = v.isite[no - 1];
      if (row < 1 || row > v.ldx) continue;
      int64_t& slot = table[static_cast<size_t>((pos - 1) * v.ldx + (row - 1))];
      if (slot == 0) slot = no;
    }
  }
}

struct PassOutcome {
  double err;      // largest (relative) change of a site fraction
  double obj;      // Michelsen's objective at the values before the pass
  bool nonfinite;  // a balance sum was not finite: the solve has failed
};

// One residual pass: from the logarithms in XOLD, the new logarithms
// ln(1/(1 + S_A)) into XA. With the matrices given, also the Newton
// Jacobian of the logarithms, I - d ln X'/d ln X, into jac and the
// Jacobian of the balance in the fractions, I - dX'/dX, into bal.
PassOutcome ResidualPass(const SiteModel& m, const Vars& v, double rho, const double* delta,
                         double* xa, const double* xold, double xatol, double* jac, double* bal) {
  const int64_t nv = v.nv;
  // The fractions of the sites, each taken once from its logarithm.
  static std::vector<double> fraction;
  fraction.resize(static_cast<size_t>(m.ldx * m.n));
  for (int64_t i = 1; i <= m.n; ++i) {
    ForEachSpecies(m, i, [&](int64_t, int64_t row0, int64_t count, double) {
      for (int64_t e = (i - 1) * m.ldx + row0 - 1; e < (i - 1) * m.ldx + row0 - 1 + count; ++e)
        fraction[static_cast<size_t>(e)] = std::exp(xold[e]);
    });
  }
  if (jac != nullptr) {
    std::fill(jac, jac + nv * nv, 0.0);
    std::fill(bal, bal + nv * nv, 0.0);
    for (int64_t k = 0; k < nv; ++k) jac[k * nv + k] = bal[k * nv + k] = 1.0;
  }
  PassOutcome out{0.0, 0.0, false};
  for (int64_t i = 1; i <= m.n; ++i) {
    const double xi = m.x[i - 1];
    ForEachSpecies(m, i, [&](int64_t s, int64_t row0, int64_t count, double ws) {
      const int64_t r = SpeciesPos(m, s);
      const int64_t own_sites = m.merged ? 1 : count;
      for (int64_t a = 0; a < own_sites; ++a) {
        const int64_t row_a = row0 + a;
        const int64_t sign_a = SpeciesSiteSign(m, s, a + 1);
        const double x_a = fraction[static_cast<size_t>((i - 1) * m.ldx + (row_a - 1))];
        const int64_t var_a = jac != nullptr ? v.Of(row_a, i) : 0;
        double sum = 0.0;
        for (int64_t j = 1; j <= m.n; ++j) {
          const double xj = m.x[j - 1];
          ForEachSpecies(m, j, [&](int64_t t, int64_t row0t, int64_t countt, double wt) {
            const double d = PairValue(delta, m.na, r, SpeciesPos(m, t));
            if (d == 0.0) return;
            const int64_t partner_sites = m.merged ? 1 : countt;
            for (int64_t b = 0; b < partner_sites; ++b) {
              if (!m.merged && !AssocSitesBond(sign_a, SpeciesSiteSign(m, t, b + 1))) continue;
              const int64_t row_b = row0t + b;
              const double x_b = fraction[static_cast<size_t>((j - 1) * m.ldx + (row_b - 1))];
              const double coef = rho * xj * wt * d;
              sum += coef * x_b;
              if (var_a != 0) {
                const int64_t var_b = v.Of(row_b, j);
                if (var_b != 0) {
                  jac[(var_b - 1) * nv + (var_a - 1)] += coef * x_b;  // times X'_A below
                  bal[(var_b - 1) * nv + (var_a - 1)] += coef;        // times X'_A^2 below
                }
              }
            }
          });
        }
        if (!std::isfinite(sum)) out.nonfinite = true;
        double x_new = 1.0 / (1.0 + sum);
        if (!(x_new > 0.0) || !std::isfinite(x_new)) x_new = kTinyFraction;
        if (var_a != 0) {
          for (int64_t k = 0; k < nv; ++k) {
            double& jk = jac[k * nv + (var_a - 1)];
            double& bk = bal[k * nv + (var_a - 1)];
            const bool diag = k == var_a - 1;
            jk = (diag ? 1.0 : 0.0) + (jk - (diag ? 1.0 : 0.0)) * x_new;
            bk = (diag ? 1.0 : 0.0) + (bk - (diag ? 1.0 : 0.0)) * x_new * x_new;
          }
        }
        const double log_new = std::log(x_new);
        xa[(i - 1) * m.ldx + (row_a - 1)] = log_new;
        // Under merging the second site of the species repeats the first.
        if (m.merged && count >= 2) xa[(i - 1) * m.ldx + row_a] = log_new;
        double err = std::fabs(x_new - x_a);
        if (x_new > xatol) err /= x_new;
        out.err = std::max(out.err, err);
        out.obj += xi * ws * (std::log(x_a) - x_a + 1.0 - 0.5 * x_a * sum);
      }
    });
  }
  return out;
}

void WriteVariables(int32_t unit, const char* heading, const SiteModel& m, const Vars& v,
                    const double* values, bool logs) {
  WriteLine(unit, heading);
  for (int64_t no = 1; no <= v.nv; ++no) {
    const int64_t e = v.Entry(no);
    if (e < 0) continue;
    const double value = logs ? std::exp(values[e]) : values[e];
    WriteLine(unit, no, " ", m.idx[v.idxv[no - 1] - 1], " ", v.isite[no - 1], " ", value);
  }
}

void WriteMatrix(int32_t unit, const char* heading, int64_t nv, const double* a) {
  WriteLine(unit, heading);
  for (int64_t j = 1; j <= nv; ++j)
    for (int64_t i = 1; i <= nv; ++i) WriteLine(unit, i, " ", j, " ", a[(j - 1) * nv + (i - 1)]);
}

// First value of a site: 1 without self-association, 1/sqrt(Delta) for a
// very strong one (the limit of the pure-fluid balance), 0.5 otherwise.
double FirstFraction(const SiteModel& m, const double* delta, int64_t species) {
  const int64_t r = SpeciesPos(m, species);
  const double dkk = PairValue(delta, m.na, r, r);
  if (dkk == 0.0) return 1.0;
  if (dkk > 1e10) return 1.0 / std::sqrt(dkk);
  return 0.5;
}

}  // namespace

void GETXA1(double* /*WRK*/, const double& RHO, const int64_t& N, const int64_t& LDG,
            const int64_t& NA, const int64_t* IDX, const int64_t* IGRP, const int64_t* /*IA*/,
            const int64_t* IAPOS, const double* X, const double* GRPW, const double* /*SEGM*/,
            double* XA, const double* DELTA, double* WSOLV, double* XOLD,
            const int64_t& /*unused17*/, const int64_t& /*unused18*/, int64_t& IERR,
            const int64_t& KSTART, const double& XATOL, const int64_t& NV, const int64_t* ISITE,
            const int64_t* IDXV, const int64_t& METHOD, const int64_t& MAXIT, double* RES,
            double* VOLD, const int64_t& LEVEL, const int32_t& IUNIT, const int64_t* ITYPE,
            const int64_t& /*unused32*/, const int64_t& LDSITES, const int64_t* NSITES,
            const int64_t* SITES, const int64_t& LDX, const int64_t& NMERGE, const int64_t* IV2,
            const int64_t* JV2, const int64_t& /*unused40*/, const int64_t& /*unused41*/,
            const int64_t& /*unused42*/, const int64_t& /*unused43*/, int64_t* IWORK,
            int64_t& KINIT, const double& RHOPREV, const double* XAR, const int64_t& /*NXZERO*/) {
  IERR = 0;
  const bool keep_inverse_off = KINIT == -1;
  if (!keep_inverse_off) KINIT = 0;
  const int64_t n = N, ldx = LDX, nv = std::max<int64_t>(NV, 0), entries = ldx * n;
  const SiteModel m{n,    LDG,   NA,    ldx,    LDSITES, NMERGE != 0, IDX,
                    IGRP, IAPOS, ITYPE, NSITES, SITES,   X,           GRPW};
  Vars v{nv, ISITE, IDXV, ldx, n};
  static std::vector<int64_t> var_table;
  MapVariables(v, var_table);
  v.var_of = var_table.data();

  auto finish = [&]() {
    if (keep_inverse_off) KINIT = 0;
    for (int64_t e = 0; e < entries; ++e) XA[e] = std::exp(XA[e]);
  };
  if (KSTART == -1 && keep_inverse_off) {
    finish();
    return;
  }

  // Newton's method keeps its step in fixed arrays of 99 entries and is not
  // used for merged systems, whose variables stand for two sites each.
  bool newton = nv >= 1 && nv <= kAssocNewtonMaxVars && NMERGE == 0;
  // The accelerated substitution keeps its previous direction in the leading
  // LDX*N reals of WSOLV, which may reach the matrix slices: no Jacobian then.
  const bool form_jacobian = METHOD != 1;

  // Slices of the work vector (0-based offsets).
  double* step = WSOLV;
  double* uold = WSOLV + nv;
  double* fold = WSOLV + 2 * nv;
  double* hmat = WSOLV + 3 * nv;
  double* jmat = WSOLV + 3 * nv + nv * nv;
  double* ainv = WSOLV + 3 * nv + 2 * nv * nv;
  double* wfact = WSOLV + 3 * nv + 3 * nv * nv;
  double* w2fact = WSOLV + 3 * nv + 5 * nv * nv;
  double* pivots = WSOLV + 3 * nv + 7 * nv * nv;
  // While the Newton phase may run, the H slice holds the Jacobian of the
  // balance in the fractions, inverted at the solution for the derivatives.
  double* balance = hmat;

  double step_mode = 0.0, step_facmin = 0.0, step_facmax = 0.0, step_dxmax = 0.0;
  double fac = 1.0;
  int64_t restart = -1;
  int64_t ksrch = -1, nsrch = 0;
  double search_work[7] = {0, 0, 0, 0, 0, 0, 0};
  double newton_step[kAssocNewtonMaxVars] = {};
  double saved_unknowns[kAssocNewtonMaxVars] = {};

  // Start values, as logarithms.
  if (KSTART != 2) {
    std::fill(XA, XA + entries, 0.0);
    std::fill(XOLD, XOLD + entries, 0.0);
    for (int64_t i = 1; i <= n; ++i) {
      ForEachSpecies(m, i, [&](int64_t s, int64_t row0, int64_t count, double) {
        const double first = std::log(FirstFraction(m, DELTA, s));
        for (int64_t a = 0; a < count; ++a) XA[(i - 1) * ldx + (row0 - 1 + a)] = first;
      });
    }
  } else {
    // The previous solution, extrapolated along rho dX/drho to the new density.
    // Rows that are no site keep ln 1 = 0.
    const bool extrapolate = RHOPREV != kNoValue && RHOPREV != 0.0;
    const double f = extrapolate ? (RHO - RHOPREV) / RHOPREV : 0.0;
    std::copy(XA, XA + entries, XOLD);
    std::fill(XA, XA + entries, 0.0);
    for (int64_t i = 1; i <= n; ++i) {
      ForEachSpecies(m, i, [&](int64_t s, int64_t row0, int64_t count, double) {
        for (int64_t a = 0; a < count; ++a) {
          const int64_t e = (i - 1) * ldx + (row0 - 1 + a);
          double value = XOLD[e];
          if (extrapolate && value != 1.0 && XAR[e] != 0.0) {
            const double moved = value + f * XAR[e];
            if (moved > 0.0 && moved <= 1.0) value = moved;
          }
          // A previous value that is no fraction gives way to a fresh start.
          if (!(value > 0.0 && value <= 1.0)) value = FirstFraction(m, DELTA, s);
          XA[e] = std::log(value);
        }
      });
    }
  }
  if (LEVEL >= 2) {
    WriteLine(IUNIT, "GETXA1: NCP, NXA, NV ", n, " ", ldx, " ", nv);
    WriteVariables(IUNIT, "GETXA1: INITIAL VALUES: NO, IDX, ISITE, XA", m, v, XA, true);
  }

  // The unknowns and residuals of the variables after a pass.
  auto refresh = [&]() {
    for (int64_t no = 1; no <= nv; ++no) {
      const int64_t e = v.Entry(no);
      VOLD[no - 1] = e >= 0 ? XOLD[e] : 0.0;
      RES[no - 1] = e >= 0 ? XA[e] - XOLD[e] : 0.0;
    }
  };
  double err = 0.0, err_prev = 0.0, obj = 0.0, obj_prev = 0.0;
  auto pass = [&]() {
    std::copy(XA, XA + entries, XOLD);
    const bool jac = newton && form_jacobian;
    const PassOutcome o = ResidualPass(m, v, RHO, DELTA, XA, XOLD, XATOL, jac ? jmat : nullptr,
                                       jac ? balance : nullptr);
    err_prev = err;
    obj_prev = obj;
    err = o.nonfinite ? INFINITY : o.err;
    obj = o.obj;
    refresh();
  };
  auto switch_to_broyden = [&]() {
    newton = false;
    restart = -1;
  };
  auto broyden_step = [&]() {
    XALSOL(nv, VOLD, RES, step, uold, fold, hmat, restart);
    restart = 3;
    fac = 1.0;
    for (int64_t no = 1; no <= nv; ++no) {
      const int64_t e = v.Entry(no);
      if (e >= 0) XA[e] = std::min(0.0, uold[no - 1] + step[no - 1]);
    }
    for (int64_t l = 1; l <= NMERGE; ++l) {
      int64_t var = 0;
      double factor = 1.0;
      if (!MergeSource(JV2[l - 1], nv, var, factor)) continue;
      const int64_t src = v.Entry(var), row = IV2[l - 1], pos = IDXV[var - 1];
      if (src < 0 || row < 1 || row > ldx) continue;
      // Merged sites share the fraction (times the code's factor, minus
      // what keeps a fraction of 1 at 1).
      const double shared = factor * std::exp(XA[src]) - (factor - 1.0);
      XA[(pos - 1) * ldx + (row - 1)] = std::log(shared > 0.0 ? shared : kTinyFraction);
    }
  };

  const int64_t maxit = std::max<int64_t>(MAXIT, 2);
  int64_t nup = 0, ndown = 0, slow5 = 0, slow1 = 0, nls = 0;
  bool last_was_newton = false;
  int64_t iter = 0;
  for (;;) {
    ++iter;
    if (iter >= 2) {
      // Stall bookkeeping: a slow or oscillating Newton phase gives way to
      // the quasi-Newton phase, once per call.
      const double ratio = err_prev > 0.0 ? err / err_prev : 0.0;
      if (err_prev > 0.0) (err >= err_prev ? nup : ndown) += 1;
      slow5 = ratio > 0.5 ? slow5 + 1 : 0;
      slow1 = ratio > 0.1 ? slow1 + 1 : 0;
      if (ksrch != -1) {
        ++nls;
        ksrch = -1;
      }
      if (newton && (nls >= 3 || slow5 >= 10 || slow1 >= 20 || (iter > 10 && nup >= ndown))) {
        switch_to_broyden();
        if (LEVEL >= 2) WriteLine(IUNIT, "GETXA1: SWITCHING SOLVER");
      }
    }
    pass();
    if (LEVEL >= 2) WriteLine(IUNIT, "GETXA1: ITER = ", iter, "  MAX-ERR = ", err, "  OBJ = ", obj);
    // A balance that is not finite (a strength or fraction gone NaN or
    // infinite) cannot recover: fail now rather than iterate on it.
    if (err == INFINITY) break;
    if (iter >= 2 && (err <= XATOL || iter >= maxit)) break;

    if (METHOD == 0) {
      last_was_newton = false;
    } else if (METHOD == 1) {
      // Spectral relaxation of the substitution step. Entries whose new value
      // is 0 (empty slots, unbonded sites) take no part and stay 0: their
      // direction and their moved value are both 0.
      for (int64_t e = 0; e < entries; ++e) {
        if (XA[e] != 0.0) {
          XA[e] -= XOLD[e];
        } else {
          XOLD[e] = 0.0;
        }
      }
      XASTEP(restart, entries, step_mode, step_facmin, step_facmax, step_dxmax, fac, XOLD, XA,
             WSOLV);
      std::copy(XOLD, XOLD + entries, XA);
      last_was_newton = false;
    } else if (newton) {
      // Line search along the last Newton step when it made the error larger
      // and Michelsen's objective smaller.
      if (last_was_newton && ksrch == -1 && err > err_prev && obj < obj_prev) {
        ksrch = 0;
        nsrch = 0;
        bool converged = false;
        do {
          ++nsrch;
          XALNSR(ksrch, fac, -obj, 0.1, 0.1, 1.5, 2.0, search_work);
          if (LEVEL >= 2)
            WriteLine(IUNIT, "GETXA1: NSRCH = ", nsrch, "  FAC = ", fac, "  KSRCH = ", ksrch);
          for (int64_t no = 1; no <= nv; ++no) {
            const int64_t e = v.Entry(no);
            if (e >= 0) XA[e] = std::min(0.0, saved_unknowns[no - 1] + fac * newton_step[no - 1]);
          }
          pass();
          converged = err <= XATOL;
        } while (!converged && ksrch > 0 && nsrch < 6);
        if (converged) break;
        fac = 1.0;
      }
      // Newton step on the logarithms: J dx = RES.
      if (LEVEL >= 5) WriteMatrix(IUNIT, "GETXA1: JACOBIAN: I, J, JAC", nv, jmat);
      int64_t ier = 0;
      XAELIM(nv, nv, jmat, IWORK, ier, 1e-50);
      double rmsdx = 0.0;
      if (ier == 0) {
        XABSUB(nv, nv, RES, IWORK, jmat, newton_step);
        for (int64_t no = 0; no < nv; ++no) {
          double r = std::fabs(VOLD[no]) > 1e-30 ? std::fabs(newton_step[no] / VOLD[no])
                                                 : std::fabs(newton_step[no]);
          r = std::clamp(r, 1e-30, 1e15);
          rmsdx += r * r;
        }
        rmsdx = std::sqrt(rmsdx / static_cast<double>(nv));
      }
      if (ier != 0 || !(rmsdx <= 10.0)) {
        if (LEVEL >= 2)
          WriteLine(IUNIT, "GETXA1: SWITCHING SOLVER. LUFACT IER = ", ier, "  RMSDX = ", rmsdx);
        switch_to_broyden();
        slow5 = slow1 = 0;
        broyden_step();
        last_was_newton = false;
      } else {
        if (LEVEL >= 3) {
          WriteLine(IUNIT, "GETXA1: STEP SIZES: NO, IDX, ISITE, XA. RMSDX = ", rmsdx);
          for (int64_t no = 1; no <= nv; ++no)
            if (v.Entry(no) >= 0)
              WriteLine(IUNIT, no, " ", IDX[IDXV[no - 1] - 1], " ", ISITE[no - 1], " ",
                        newton_step[no - 1]);
        }
        for (int64_t no = 1; no <= nv; ++no) {
          const int64_t e = v.Entry(no);
          saved_unknowns[no - 1] = VOLD[no - 1];
          if (e >= 0) XA[e] = std::min(0.0, VOLD[no - 1] + fac * newton_step[no - 1]);
        }
        last_was_newton = true;
      }
    } else {
      broyden_step();
      last_was_newton = false;
    }
    if (LEVEL >= 3) WriteVariables(IUNIT, "GETXA1: NEW VALUES: NO, IDX, ISITE, XA", m, v, XA, true);
  }

  if (err > XATOL) {
    IERR = 1;
    if (LEVEL >= 1) WriteLine(IUNIT, "GETXA1: XA FAILED. ITER = ", iter, "  MAX-ERR = ", err);
  } else if (LEVEL >= 1) {
    WriteLine(IUNIT, "GETXA1: XA CONVERGED. ITER = ", iter, "  MAX-ERR = ", err);
  }
  // Minus the inverse Jacobian of the balance at the solution: the start of
  // the derivative solvers' quasi-Newton steps.
  if (err < XATOL && newton && form_jacobian && KINIT == 0) {
    int64_t iflag = 0;
    XAFACT(balance, nv, ainv, iflag, IWORK, IWORK + nv, wfact, pivots, w2fact, nv, 2 * nv, 1e-50);
    if (LEVEL >= 2) WriteLine(IUNIT, "GETXA1: JACOBIAN EVALUATION AT SOLUTION. IFLAG = ", iflag);
    if (LEVEL >= 4) WriteMatrix(IUNIT, "GETXA1: JACOBIAN: I, J, JAC", nv, balance);
    if (iflag == 0) {
      KINIT = 1;
      for (int64_t k = 0; k < nv * nv; ++k) hmat[k] = -ainv[k];
    }
  }
  if (LEVEL >= 2) WriteVariables(IUNIT, "GETXA1: FINAL VALUES: NO, IDX, ISITE, XA", m, v, XA, true);
  finish();
}

}  // namespace thermomodels
