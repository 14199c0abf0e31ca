// Temperature-dependent binary interaction parameters: one short correlation
// in the reduced temperature T/TREF per ordered component pair.
#include <cmath>

#include "cpa/cpa.h"

namespace thermomodels {
namespace {

constexpr double kDefaultTref = 298.15;  // K
// In the two-coefficient form a coefficient above this counts as absent.
constexpr double kAbsentAbove = 1e30;

inline double Present(double c) { return c > kAbsentAbove ? 0.0 : c; }

// K or T dK/dT of one record c[0..NCOEF-1] at the reduced temperature x.
double Correlation(int64_t ncoef, const double* c, double x, bool derivative) {
  if (ncoef == 2) {
    return derivative ? Present(c[1]) * x : Present(c[0]) + Present(c[1]) * x;
  }
  if (ncoef == 4) {
    return derivative ? x * (c[1] - c[2] / (x * x)) : c[0] + c[1] * x + c[2] / x;
  }
  // Five-term form; any other record length is read as this one.
  if (derivative) return x * (-c[1] / (x * x) + c[2] / x + c[3] + 2.0 * c[4] * x);
  return c[0] + c[1] / x + c[2] * std::log(x) + c[3] * x + c[4] * x * x;
}

void Evaluate(const double& T, const int64_t& NCOEF, const int64_t& KTREF, const int64_t& N,
              const double* COEF, const double* RFLAG, const int64_t* ISKIP, double* AK,
              bool derivative) {
  if (N < 1) return;
  for (int64_t k = 0; k < N * N; ++k) AK[k] = 0.0;
  // Records are NCOEF words long; one shorter than its form needs (1 or 3
  // words, or none) cannot be read without running into the next record or
  // past the array, so every entry stays 0.
  if (NCOEF != 2 && NCOEF != 4 && NCOEF < 5) return;
  const int64_t stride = NCOEF;
  for (int64_t i = 1; i <= N; ++i) {
    if (ISKIP[i - 1] != 0 || RFLAG[i - 1] != 1.0) continue;
    for (int64_t j = 1; j <= N; ++j) {
      if (j == i || ISKIP[j - 1] != 0) continue;
      const double* c = COEF + ((j - 1) * N + (i - 1)) * stride;
      // A reference position outside the record falls back to the fixed one.
      const double tref = (KTREF >= 1 && KTREF <= stride) ? c[KTREF - 1] : kDefaultTref;
      AK[(j - 1) * N + (i - 1)] = Correlation(NCOEF, c, T / tref, derivative);
    }
  }
}

}  // namespace

void CPAKTV(const double& T, const int64_t& NCOEF, const int64_t& KTREF, const int64_t& N,
            const double* COEF, const double* RFLAG, const int64_t* ISKIP, double* AK) {
  Evaluate(T, NCOEF, KTREF, N, COEF, RFLAG, ISKIP, AK, false);
}

void CPAKTD(const double& T, const int64_t& NCOEF, const int64_t& KTREF, const int64_t& N,
            const double* COEF, const double* RFLAG, const int64_t* ISKIP, double* AK) {
  Evaluate(T, NCOEF, KTREF, N, COEF, RFLAG, ISKIP, AK, true);
}

}  // namespace thermomodels
