// The IF97 series evaluation as it stood before the sums were split into
// independent partial sums and the vanishing terms were dropped: one chain of
// additions per sum over every row of the table. Kept only so that the
// benchmark can time the library beside it in the same run.
#pragma once

#include <cmath>

#include "water/if97/if97.h"

namespace legacy {

using thermomodels::if97_detail::kSum;
using thermomodels::if97_detail::kSumX;
using thermomodels::if97_detail::kSumXX;
using thermomodels::if97_detail::kSumXY;
using thermomodels::if97_detail::kSumY;
using thermomodels::if97_detail::kSumYY;
using thermomodels::if97_detail::PowerSums;
using thermomodels::if97_detail::PowerTerm;

// The library's coefficient tables (IAPWS-IF97 Tables 2, 10, 11, 30, 37, 38).
using thermomodels::if97_detail::kRegion1Terms;
using thermomodels::if97_detail::kRegion2IdealTerms;
using thermomodels::if97_detail::kRegion2ResidualTerms;
using thermomodels::if97_detail::kRegion3Terms;
using thermomodels::if97_detail::kRegion5IdealTerms;
using thermomodels::if97_detail::kRegion5ResidualTerms;

struct SeriesRange {
  int xlo, xhi, ylo, yhi;
  bool xneg, yneg;
};

template <typename Terms>
constexpr SeriesRange RangeOf(const Terms& terms) {
  SeriesRange r{0, 0, 0, 0, false, false};
  for (const PowerTerm& t : terms) {
    r.xlo = t.i < r.xlo ? t.i : r.xlo;
    r.xhi = t.i > r.xhi ? t.i : r.xhi;
    r.ylo = t.j < r.ylo ? t.j : r.ylo;
    r.yhi = t.j > r.yhi ? t.j : r.yhi;
  }
  r.xneg = r.xlo < 0;
  r.yneg = r.ylo < 0;
  r.xlo -= 2;
  r.ylo -= 2;
  return r;
}

template <int kLo, int kHi, bool kNegative>
class PowerTable {
 public:
  explicit PowerTable(double x) {
    at(0) = 1.0;
    if constexpr (kHi >= 1) at(1) = x;
#pragma GCC unroll 64
    for (int e = 2; e <= kHi; ++e) at(e) = at(e / 2) * at(e - e / 2);
    if constexpr (kNegative) {
      at(-1) = 1.0 / x;
#pragma GCC unroll 64
      for (int e = 2; e <= -kLo; ++e) at(-e) = at(-(e / 2)) * at(-(e - e / 2));
    } else {
      for (int e = kLo; e < 0; ++e) at(e) = 0.0;
    }
  }
  double operator[](int e) const { return v_[e - kLo]; }

 private:
  double& at(int e) { return v_[e - kLo]; }
  double v_[kHi - kLo + 1];
};

template <unsigned kWant, const auto& kTerms>
inline PowerSums SumSeries(double x, double y) {
  constexpr SeriesRange r = legacy::RangeOf(kTerms);
  const PowerTable<r.xlo, r.xhi, r.xneg> xp(x);
  const PowerTable<r.ylo, r.yhi, r.yneg> yp(y);
  PowerSums out;
#pragma GCC unroll 64
  for (const PowerTerm& t : kTerms) {
    const double di = t.i, dj = t.j;
    if constexpr ((kWant & kSum) != 0) out.s += t.n * xp[t.i] * yp[t.j];
    if constexpr ((kWant & kSumX) != 0) out.sx += t.n * di * xp[t.i - 1] * yp[t.j];
    if constexpr ((kWant & kSumXX) != 0) out.sxx += t.n * di * (di - 1.0) * xp[t.i - 2] * yp[t.j];
    if constexpr ((kWant & kSumY) != 0) out.sy += t.n * dj * xp[t.i] * yp[t.j - 1];
    if constexpr ((kWant & kSumYY) != 0) out.syy += t.n * dj * (dj - 1.0) * xp[t.i] * yp[t.j - 2];
    if constexpr ((kWant & kSumXY) != 0) out.sxy += t.n * di * dj * xp[t.i - 1] * yp[t.j - 1];
  }
  return out;
}

// The property formulas of the region functions, with the same arithmetic.
constexpr double kR = 0.461526;
constexpr unsigned kSound = kSumX | kSumXX | kSumYY | kSumXY;

// ---- Region 1: x = 7.1 - pi, y = tau - 1.222 ----
template <unsigned kWant>
inline PowerSums R1(double p, double t) {
  return SumSeries<kWant, kRegion1Terms>(7.1 - p * 0.060496067755596, 1386.0 / t - 1.222);
}
inline double R1V(const double& p, const double& t) {
  return 0.000461526 * t / 16.53 * -R1<kSumX>(p, t).sx;
}
inline double R1H(const double& p, const double& t) {
  return kR * t * (1386.0 / t) * R1<kSumY>(p, t).sy;
}
inline double R1S(const double& p, const double& t) {
  const PowerSums s = R1<kSum | kSumY>(p, t);
  return kR * (1386.0 / t * s.sy - s.s);
}
inline double R1U(const double& p, const double& t) {
  const PowerSums s = R1<kSumX | kSumY>(p, t);
  return kR * t * (1386.0 / t * s.sy + p * 0.060496067755596 * s.sx);
}
inline double R1CP(const double& p, const double& t) {
  const double tau = 1386.0 / t;
  return -kR * tau * tau * R1<kSumYY>(p, t).syy;
}
inline double R1W(const double& p, const double& t) {
  const PowerSums s = R1<kSound>(p, t);
  const double tau = 1386.0 / t, gp = -s.sx, a = gp + tau * s.sxy;
  return std::sqrt(461.526 * t * gp * gp / (a * a / (tau * tau * s.syy) - s.sxx));
}

// ---- Regions 2 and 5: ideal part in tau, residual part in (pi, tau - shift) ----
template <const auto& kIdeal, const auto& kResidual>
struct Gibbs {
  double tstar, shift;
  template <unsigned kWant>
  PowerSums Ideal(double t) const {
    return SumSeries<kWant, kIdeal>(1.0, tstar / t);
  }
  template <unsigned kWant>
  PowerSums Res(double p, double t) const {
    return SumSeries<kWant, kResidual>(p, tstar / t - shift);
  }
  double V(double p, double t) const {
    return 0.000461526 * t / p * (1.0 + p * Res<kSumX>(p, t).sx);
  }
  double H(double p, double t) const {
    return kR * t * (tstar / t) * (Ideal<kSumY>(t).sy + Res<kSumY>(p, t).sy);
  }
  double S(double p, double t) const {
    const PowerSums i = Ideal<kSum | kSumY>(t), r = Res<kSum | kSumY>(p, t);
    return kR * (tstar / t * (i.sy + r.sy) - (std::log(p) + i.s) - r.s);
  }
  double U(double p, double t) const {
    const PowerSums r = Res<kSumX | kSumY>(p, t);
    return kR * t * (tstar / t * (Ideal<kSumY>(t).sy + r.sy) - (1.0 + p * r.sx));
  }
  double CP(double p, double t) const {
    const double tau = tstar / t;
    return -kR * tau * tau * (Ideal<kSumYY>(t).syy + Res<kSumYY>(p, t).syy);
  }
  double W(double p, double t) const {
    const PowerSums r = Res<kSound>(p, t);
    const double tau = tstar / t, pgp = p * r.sx, a = 1.0 + pgp - tau * p * r.sxy;
    return std::sqrt(
        461.526 * t * (1.0 + 2.0 * pgp + pgp * pgp) /
        ((1.0 - p * p * r.sxx) + a * a / (tau * tau * (Ideal<kSumYY>(t).syy + r.syy))));
  }
};
constexpr Gibbs<kRegion2IdealTerms, kRegion2ResidualTerms> kGibbs2{540.0, 0.5};
constexpr Gibbs<kRegion5IdealTerms, kRegion5ResidualTerms> kGibbs5{1000.0, 0.0};
inline double R2V(const double& p, const double& t) { return kGibbs2.V(p, t); }
inline double R2H(const double& p, const double& t) { return kGibbs2.H(p, t); }
inline double R2S(const double& p, const double& t) { return kGibbs2.S(p, t); }
inline double R2U(const double& p, const double& t) { return kGibbs2.U(p, t); }
inline double R2CP(const double& p, const double& t) { return kGibbs2.CP(p, t); }
inline double R2W(const double& p, const double& t) { return kGibbs2.W(p, t); }
inline double R5V(const double& p, const double& t) { return kGibbs5.V(p, t); }
inline double R5H(const double& p, const double& t) { return kGibbs5.H(p, t); }
inline double R5S(const double& p, const double& t) { return kGibbs5.S(p, t); }
inline double R5U(const double& p, const double& t) { return kGibbs5.U(p, t); }
inline double R5CP(const double& p, const double& t) { return kGibbs5.CP(p, t); }
inline double R5W(const double& p, const double& t) { return kGibbs5.W(p, t); }

// ---- Region 3: x = delta, y = tau, plus n1 ln(delta) ----
constexpr double kN1Region3 = thermomodels::if97_detail::kLogDeltaCoefficient;
template <unsigned kWant>
inline PowerSums R3(double t, double v) {
  return SumSeries<kWant, kRegion3Terms>(1.0 / (322.0 * v), 647.096 / t);
}
inline double R3P(const double& t, const double& v) {
  const double delta = 1.0 / (322.0 * v);
  return 0.001 * (1.0 / v) * kR * t * delta * (kN1Region3 / delta + R3<kSumX>(t, v).sx);
}
inline double R3H(const double& t, const double& v) {
  const double delta = 1.0 / (322.0 * v), tau = 647.096 / t;
  const PowerSums s = R3<kSumX | kSumY>(t, v);
  return kR * t * (tau * s.sy + delta * (kN1Region3 / delta + s.sx));
}
inline double R3S(const double& t, const double& v) {
  const double delta = 1.0 / (322.0 * v), tau = 647.096 / t;
  const PowerSums s = R3<kSum | kSumY>(t, v);
  return kR * (tau * s.sy - (kN1Region3 * std::log(delta) + s.s));
}
inline double R3U(const double& t, const double& v) {
  return kR * t * (647.096 / t) * R3<kSumY>(t, v).sy;
}
inline double R3CP(const double& t, const double& v) {
  if (std::fabs(1.0 / v - 322.0) <= 0.03 && std::fabs(t - 647.096) <= 1e-6) return 462218448918.886;
  const double delta = 1.0 / (322.0 * v), tau = 647.096 / t;
  const PowerSums s = R3<kSound>(t, v);
  const double fd = kN1Region3 / delta + s.sx, fdd = -kN1Region3 / (delta * delta) + s.sxx;
  const double a = delta * fd - delta * tau * s.sxy;
  return std::fabs(kR * (-tau * tau * s.syy + a * a / (2.0 * delta * fd + delta * delta * fdd)));
}
inline double R3W(const double& t, const double& v) {
  const double delta = 1.0 / (322.0 * v), tau = 647.096 / t;
  const PowerSums s = R3<kSound>(t, v);
  const double fd = kN1Region3 / delta + s.sx, fdd = -kN1Region3 / (delta * delta) + s.sxx;
  const double a = delta * fd - delta * tau * s.sxy;
  return std::sqrt(461.526 * t *
                   (2.0 * delta * fd + delta * delta * fdd - a * a / (tau * tau * s.syy)));
}

}  // namespace legacy
