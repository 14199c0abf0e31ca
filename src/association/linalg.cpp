// Plain numerical routines of the site-fraction solvers: a spectral relaxed
// substitution step, a Broyden quasi-Newton step, Gauss-Jordan inversion,
// LU factorisation with its solve, and a bracketing line search. They know
// nothing of association and keep no state outside their arguments.
#include <algorithm>
#include <cmath>

#include "association/association.h"

namespace thermomodels {

namespace {

// Magnitudes above this count as unusable in the Broyden update.
constexpr double kHuge = 5e34;

inline double& At(double* a, int64_t ld, int64_t i, int64_t j) { return a[(j - 1) * ld + (i - 1)]; }
inline double At(const double* a, int64_t ld, int64_t i, int64_t j) {
  return a[(j - 1) * ld + (i - 1)];
}

void ResetToMinusIdentity(int64_t n, double* h) {
  std::fill(h, h + n * n, 0.0);
  for (int64_t i = 1; i <= n; ++i) At(h, n, i, i) = -1.0;
}

// m*a/piv, dividing the factor of larger magnitude by piv first so that the
// quotient neither overflows nor underflows needlessly.
inline double ScaledProduct(double m, double a, double piv) {
  const bool m_larger = std::fabs(m) >= std::fabs(a);
  double first = (m_larger ? m : a) / piv;
  if (first != 0.0) return first * (m_larger ? a : m);
  return (m_larger ? a : m) / piv * (m_larger ? m : a);
}

}  // namespace

void XASTEP(int64_t& ITER, const int64_t& N, double& MODE, double& FACMIN, double& FACMAX,
            double& DXMAX, double& FAC, double* X, const double* G, double* GOLD) {
  ITER += 1;
  double lambda = FAC;
  if (ITER < 2) {
    // First step of a sequence: settle the parameters a caller left at zero.
    const double mode_abs = std::fabs(MODE);
    if (mode_abs != 1.0 && mode_abs != 2.0) MODE = 2.0;
    if (FACMIN <= 0.0) FACMIN = 1e-4;
    if (FACMAX < FACMIN) FACMAX = 10.0;
    if (DXMAX < 0.01) {
      double xmax = 0.0;
      for (int64_t i = 0; i < N; ++i) xmax = std::max(xmax, std::fabs(X[i]));
      DXMAX = std::max(5.0, 0.1 * xmax);
    }
  } else {
    // Spectral (Barzilai-Borwein) factor from the change of the direction.
    double num = 0.0, den = 0.0;
    for (int64_t i = 0; i < N; ++i) {
      const double d = G[i] - GOLD[i];
      if (MODE == 1.0) {
        num += GOLD[i] * d;
        den += d * d;
      } else {
        num += GOLD[i] * GOLD[i];
        den += GOLD[i] * d;
      }
    }
    if (std::fabs(den) > std::min(1e-15, 0.001 * std::fabs(num))) {
      lambda = -FAC * num / den;
      if (MODE > 0.0) lambda = std::fabs(lambda);
    } else {
      lambda = 1.0;
    }
  }
  double gmax = 0.0;
  for (int64_t i = 0; i < N; ++i) gmax = std::max(gmax, std::fabs(G[i]));
  if (gmax * std::fabs(lambda) > DXMAX) lambda = std::copysign(DXMAX / gmax, lambda);
  lambda = std::clamp(lambda, -FACMAX, FACMAX);
  if (std::fabs(lambda) < FACMIN) lambda = lambda < 0.0 ? -FACMIN : FACMIN;
  FAC = lambda;
  for (int64_t i = 0; i < N; ++i) {
    GOLD[i] = G[i];
    X[i] += lambda * G[i];
  }
}

void XALSOL(const int64_t& N, const double* X, double* F, double* S, double* XOLD, double* FOLD,
            double* H, int64_t& KBR) {
  const int64_t n = N;
  if (KBR < 0) {
    ResetToMinusIdentity(n, H);
    KBR = 4;
  } else if (KBR == 0) {
    KBR = 4;
  } else {
    // Broyden's update of the inverse Jacobian, damped by theta when the new
    // residual points against the step just taken.
    for (int64_t i = 0; i < n; ++i) {
      if (std::fabs(S[i]) > kHuge || std::fabs(F[i]) > kHuge || std::fabs(FOLD[i]) > kHuge) {
        S[i] = 0.0;
        FOLD[i] = 0.0;
      } else {
        FOLD[i] = F[i] - FOLD[i];
      }
    }
    double ss = 0.0;
    for (int64_t i = 0; i < n; ++i) ss += S[i] * S[i];
    // w = H y - S; H is read column by column, each w(i) summed over j in
    // order.
    std::fill(XOLD, XOLD + n, 0.0);
    for (int64_t j = 1; j <= n; ++j) {
      const double yj = FOLD[j - 1];
      const double* hj = H + (j - 1) * n;
      for (int64_t i = 0; i < n; ++i) XOLD[i] += hj[i] * yj;
    }
    for (int64_t i = 0; i < n; ++i) XOLD[i] -= S[i];
    double p = 0.0;
    for (int64_t j = 1; j <= n; ++j) {
      double v = 0.0;
      for (int64_t i = 1; i <= n; ++i) v += S[i - 1] * At(H, n, i, j);
      FOLD[j - 1] = v;
      p += v * F[j - 1];
    }
    const double theta = p < 0.0 ? std::max(0.0, ss / (ss - p)) : 1.0;
    bool reset = theta < 0.2;
    double c = 0.0;
    if (!reset) {
      const double d = ss + theta * p;
      if (d == 0.0) {
        reset = true;
      } else {
        c = theta / d;
        reset = c > kHuge;
      }
    }
    if (reset) {
      ResetToMinusIdentity(n, H);
    } else {
      for (int64_t j = 1; j <= n; ++j) {
        const double cv = c * FOLD[j - 1];
        for (int64_t i = 1; i <= n; ++i) At(H, n, i, j) -= XOLD[i - 1] * cv;
      }
    }
  }
  for (int64_t i = 0; i < n; ++i) {
    XOLD[i] = X[i];
    FOLD[i] = F[i];
    if (std::fabs(X[i]) > kHuge || std::fabs(F[i]) > kHuge) F[i] = 0.0;
  }
  // S = -H F, H read column by column.
  std::fill(S, S + n, 0.0);
  for (int64_t j = 1; j <= n; ++j) {
    const double fj = F[j - 1];
    const double* hj = H + (j - 1) * n;
    for (int64_t i = 0; i < n; ++i) S[i] += hj[i] * fj;
  }
  for (int64_t i = 0; i < n; ++i) S[i] = -S[i];
}

void XAFACT(const double* A, const int64_t& N, double* AINV, int64_t& IER, int64_t* IROW,
            int64_t* ICOL, double* W, double* PIV, double* W2, const int64_t& LDA,
            const int64_t& /*N2*/, const double& TOL) {
  const int64_t n = N, ld = LDA;
  for (int64_t j = 1; j <= n; ++j) {
    for (int64_t i = 1; i <= n; ++i) {
      At(W, ld, i, j) = At(A, ld, i, j);
      At(W, ld, i, n + j) = i == j ? 1.0 : 0.0;
    }
  }
  IER = 0;
  if (n < 1) return;
  for (int64_t j = 1; j <= n; ++j)
    for (int64_t i = 1; i <= n; ++i) At(AINV, ld, i, j) = 0.0;
  // W2 serves until the end as scratch: the multipliers of one step and,
  // from the second step on (n >= 2, so that it holds 3n reals), marks of
  // the rows and columns already pivoted.
  double* const factor = W2;
  double* const row_used = W2 + n;
  double* const col_used = W2 + 2 * n;
  if (n >= 2) std::fill(row_used, row_used + 2 * n, 0.0);
  for (int64_t k = 1; k <= n; ++k) {
    // Complete pivoting over the rows and columns not used yet.
    double big = 0.0;
    IROW[k - 1] = 1;
    ICOL[k - 1] = 1;
    for (int64_t i = 1; i <= n; ++i) {
      if (k > 1 && row_used[i - 1] != 0.0) continue;
      for (int64_t j = 1; j <= n; ++j) {
        if (k > 1 && col_used[j - 1] != 0.0) continue;
        const double mag = std::fabs(At(W, ld, i, j));
        if (mag > big) {
          big = mag;
          IROW[k - 1] = i;
          ICOL[k - 1] = j;
        }
      }
    }
    const int64_t prow = IROW[k - 1], pcol = ICOL[k - 1];
    PIV[k - 1] = At(W, ld, prow, pcol);
    if (big <= TOL || big == 0.0) {
      IER = pcol;
      return;
    }
    if (n >= 2) row_used[prow - 1] = col_used[pcol - 1] = 1.0;
    const double piv = PIV[k - 1];
    for (int64_t c = 1; c <= 2 * n; ++c) At(W, ld, prow, c) /= piv;
    // Every other row r loses f_r times the pivot row, f_r its element in
    // the pivot column before the step; column by column. The pivot row
    // takes no part (factor 0). A column whose pivot-row element is 0 is
    // left as it is when every factor is finite, since it loses exactly 0.
    bool finite = true;
    for (int64_t r = 1; r <= n; ++r) {
      factor[r - 1] = r == prow ? 0.0 : At(W, ld, r, pcol);
      finite = finite && std::isfinite(factor[r - 1]);
    }
    for (int64_t c = 1; c <= 2 * n; ++c) {
      const double p = At(W, ld, prow, c);
      if (p == 0.0 && finite) continue;
      double* col = W + (c - 1) * ld;
      for (int64_t r = 1; r <= n; ++r) {
        const double f = factor[r - 1];
        if (f != 0.0) col[r - 1] -= f * p;
      }
    }
  }
  // The left block is now a permutation; undo it on the right block.
  for (int64_t k = 1; k <= n; ++k)
    for (int64_t c = 1; c <= 2 * n; ++c) At(W2, ld, ICOL[k - 1], c) = At(W, ld, IROW[k - 1], c);
  for (int64_t j = 1; j <= n; ++j)
    for (int64_t i = 1; i <= n; ++i) At(AINV, ld, i, j) = At(W2, ld, i, n + j);
  IER = 0;
}

void XAELIM(const int64_t& LDA, const int64_t& N, double* A, int64_t* IPVT, int64_t& IER,
            const double& TOL) {
  const int64_t n = N, ld = LDA;
  IER = 0;
  if (n < 1) return;
  for (int64_t i = 1; i <= n; ++i) IPVT[i - 1] = i;
  for (int64_t k = 1; k <= n - 1; ++k) {
    int64_t jbest = k;
    double big = std::fabs(At(A, ld, IPVT[k - 1], k));
    for (int64_t j = k + 1; j <= n; ++j) {
      const double mag = std::fabs(At(A, ld, IPVT[j - 1], k));
      if (mag > big) {
        big = mag;
        jbest = j;
      }
    }
    if (!(big > TOL)) {
      IER = k;
      return;
    }
    std::swap(IPVT[k - 1], IPVT[jbest - 1]);
    const int64_t prow = IPVT[k - 1];
    const double piv = At(A, ld, prow, k);
    for (int64_t j = k + 1; j <= n; ++j) {
      const int64_t row = IPVT[j - 1];
      const double m = At(A, ld, row, k);
      if (m == 0.0) continue;
      for (int64_t c = k + 1; c <= n; ++c) {
        const double a = At(A, ld, prow, c);
        if (a != 0.0) At(A, ld, row, c) -= ScaledProduct(m, a, piv);
      }
      At(A, ld, row, k) = m / piv;
    }
  }
  IER = std::fabs(At(A, ld, IPVT[n - 1], n)) > TOL ? 0 : n;
}

void XABSUB(const int64_t& LDA, const int64_t& N, const double* B, const int64_t* IPVT,
            const double* A, double* X) {
  const int64_t n = N, ld = LDA;
  if (n < 1) return;
  X[0] = B[IPVT[0] - 1];
  for (int64_t i = 2; i <= n; ++i) {
    const int64_t row = IPVT[i - 1];
    double sum = B[row - 1];
    for (int64_t j = 1; j < i; ++j) sum -= At(A, ld, row, j) * X[j - 1];
    X[i - 1] = sum;
  }
  const double last = At(A, ld, IPVT[n - 1], n);
  X[n - 1] = last != 0.0 ? X[n - 1] / last : 0.0;
  for (int64_t i = n - 1; i >= 1; --i) {
    const int64_t row = IPVT[i - 1];
    const double piv = At(A, ld, row, i);
    if (piv == 0.0) {
      X[i - 1] = 0.0;
      continue;
    }
    double value = X[i - 1] / piv;
    for (int64_t j = n; j >= i + 1; --j) {
      const double a = At(A, ld, row, j), x = X[j - 1];
      value -= a > x ? (a / piv) * x : a * (x / piv);
    }
    X[i - 1] = value;
  }
}

void XALNSR(int64_t& KSRCH, double& FAC, const double& OBJ, const double& TOLA, const double& TOLR,
            const double& FAC0, const double& FACMAX, double* W) {
  double& ta = W[0];
  double& tb = W[1];
  double& tc = W[2];
  double& fa = W[3];
  double& fb = W[4];
  double& fc = W[5];
  double& grow = W[6];

  // Vertex of the parabola through the three points; ends the search when
  // it moves less than the tolerances from the best point.
  auto parabola = [&]() {
    if (std::fabs(ta - tb) < 1e-10 || std::fabs(tb - tc) < 1e-10 || std::fabs(ta - tc) < 1e-10) {
      if (fa <= std::min(fb, fc)) {
        FAC = ta;
      } else if (fb <= std::min(fa, fc)) {
        FAC = tb;
      } else {
        FAC = tc;
      }
    } else {
      const double s1 = (fa - fb) / (ta - tb);
      const double s2 = (fc - fb) / (tc - tb);
      const double c2 = (s1 - s2) / (ta - tc);
      FAC = c2 == 0.0 ? ta : 0.5 * (ta + tb) - s1 / (2.0 * c2);
    }
    const double move = std::fabs(FAC - tb);
    KSRCH = (move < TOLA || tb * TOLR > move) ? 0 : 4;
  };

  auto decide = [&]() {
    if (std::min(fa, fc) > fb) {
      KSRCH = 4;
      parabola();
    } else if (fc > fa) {
      tc = tb;
      fc = fb;
      FAC = 0.5 * (ta + tb);
      if (FAC < 1e-6) KSRCH = 0;
    } else if (FACMAX > FAC) {
      FAC = std::min(tc + FAC0 * grow, FACMAX);
      grow *= 2.0;
      ta = tb;
      fa = fb;
      tb = tc;
      fb = fc;
      KSRCH = 3;
    } else {
      KSRCH = 0;
    }
  };

  if (KSRCH <= 0) {
    ta = FAC;
    fa = OBJ;
    FAC = FAC0;
    grow = 0.5;
    KSRCH = 1;
  } else if (KSRCH == 1) {
    tc = FAC;
    fc = OBJ;
    FAC = 0.5 * FAC0;
    KSRCH = 2;
  } else if (KSRCH == 2) {
    tb = FAC;
    fb = OBJ;
    decide();
  } else if (KSRCH == 3) {
    tc = FAC;
    fc = OBJ;
    decide();
  } else {
    const double t = FAC, f = OBJ;
    if (f == fb || t == tb) {
      ta = tb;
      fa = fb;
      tb = t;
      fb = f;
    } else if (t > tb && f < fb) {
      ta = tb;
      fa = fb;
      tb = t;
      fb = f;
    } else if (t > tb) {
      tc = t;
      fc = f;
    } else if (f < fb) {
      tc = tb;
      fc = fb;
      tb = t;
      fb = f;
    } else {
      ta = t;
      fa = f;
    }
    parabola();
  }
}

}  // namespace thermomodels
