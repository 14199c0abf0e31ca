// A caller of the association term for the tests: a mixture list, its CPA
// or PC-SAFT parameters, and every array of the argument list.
#pragma once

#include <cmath>
#include <vector>

#include "association/assoc_fixture.h"

namespace thermomodels::testing {

struct Species {
  int64_t type;    // association type code
  double b;        // co-volume, m3/kmol (CPA)
  double eps;      // association energy over k, K
  double beta;     // association volume
  double m;        // segment number (PC-SAFT; weight of the direct route)
  double sigma;    // segment diameter, angstrom (PC-SAFT)
  double disp;     // dispersion energy over k, K (PC-SAFT diameter)
};

struct Sums {
  double asum = 0, asumr = 0, asumr2 = 0, asumt = 0;
  std::vector<double> asumx;
  int64_t ierr = 0;
};

class AssocCaller {
 public:
  explicit AssocCaller(std::vector<Species> species) : sp_(std::move(species)) {
    n_ = static_cast<int64_t>(sp_.size());
    const int64_t nn = n_ * n_;
    epsab_.assign(nn, 0.0);
    volab_.assign(nn, 0.0);
    ecrflg_.assign(nn, 0.0);
    for (int64_t i = 1; i <= n_; ++i) {
      idx_.push_back(i);
      ia_.push_back(i);
      iapos_.push_back(i);
      itype_.push_back(sp_[i - 1].type);
      asspar_.push_back(sp_[i - 1].eps);
      bcomp_.push_back(sp_[i - 1].b);
      sigma_.push_back(sp_[i - 1].sigma);
    }
    // CR-1 cross parameters for every pair of self-associating species.
    for (int64_t i = 1; i <= n_; ++i)
      for (int64_t j = 1; j <= n_; ++j) {
        const Species &a = sp_[i - 1], &b = sp_[j - 1];
        if (a.beta == 0.0 || b.beta == 0.0) continue;
        Eps(i, j) = 0.5 * (a.eps + b.eps);
        Vol(i, j) = std::sqrt(a.beta * b.beta);
      }
  }
  double& Eps(int64_t i, int64_t j) { return epsab_[(j - 1) * n_ + (i - 1)]; }
  double& Vol(int64_t i, int64_t j) { return volab_[(j - 1) * n_ + (i - 1)]; }
  double& Flag(int64_t i, int64_t j) { return ecrflg_[(j - 1) * n_ + (i - 1)]; }
  std::vector<int64_t>& itype() { return itype_; }
  std::vector<double>& asspar() { return asspar_; }

  int64_t irdf = 1, istart = 0, ispec = 0, mode = 0, iopt = 99999999, level = 0, ldx = 4;
  int32_t unit = 0;
  double tol = 1e-12;
  // Start of the density derivative handed in (start mode 2 keeps it).
  double start_xar = 0.0;
  // Filled by the last call.
  std::vector<double> xa, xar, xar2, xat, xax;

  // PC-SAFT diameter d = sigma (1 - 0.12 exp(-3 eps/T)) in (m3/kmol)^(1/3).
  double Diameter(int64_t k, double t) const {
    const Species& s = sp_[k - 1];
    return s.sigma * 2.0 * 0.04222321867518549 * (1.0 - 0.12 * std::exp(-3.0 * s.disp / t));
  }

  Sums Eval(double t, double rho, const std::vector<double>& x, bool lrho, bool lrho2,
            bool ltemp, bool lcomp) {
    const int64_t n = n_, cap = ldx * n + 8;
    previous_xa = xa;
    xa.assign(cap, 0.0);
    xar.assign(cap, start_xar);
    if (istart != 20 && mode == 2 && !previous_xa.empty()) xa = previous_xa;
    xar2.assign(cap, 0.0);
    xat.assign(cap, 0.0);
    xax.assign(cap, 0.0);
    std::vector<double> xerr(cap), xold(cap), res(cap), vold(cap), work(cap);
    std::vector<double> delta(n * n), deltar(n * n), deltar2(n * n), deltat(n * n),
        deltax(n * n), segm(n), dseg(n), dsegt(n), dz2(n), dz3(n), grp(n * n, 0.0);
    std::vector<int64_t> isite(cap), idxv(cap), ipiv(cap), igrp(2 * n, 0);
    double bmix = 0.0, zeta[4] = {0, 0, 0, 0};
    const double c = 3.141592654 / 6.0;
    for (int64_t i = 1; i <= n; ++i) {
      const Species& s = sp_[i - 1];
      bmix += x[i - 1] * s.b;
      segm[i - 1] = s.m;
      const double d = Diameter(i, t);
      dseg[i - 1] = d;
      dsegt[i - 1] = -0.36 * s.sigma * 2.0 * 0.04222321867518549 * (s.disp / t) *
                     std::exp(-3.0 * s.disp / t);
      zeta[2] += c * x[i - 1] * s.m * d * d;
      zeta[3] += c * x[i - 1] * s.m * d * d * d;
      dz2[i - 1] = c * rho * s.m * d * d;
      dz3[i - 1] = c * rho * s.m * d * d * d;
    }
    Sums out;
    out.asumx.assign(n, 0.0);
    const int64_t na = n;
    PCSAF5(t, rho, n, n, idx_.data(), x.data(), segm.data(), sigma_.data(), asspar_.data(),
           epsab_.data(), volab_.data(), dseg.data(), dsegt.data(), zeta, igrp.data(), grp.data(),
           grp.data(), na, ia_.data(), iapos_.data(), ToLogical(lrho), ToLogical(lrho2),
           ToLogical(ltemp), ToLogical(lcomp), work.data(), istart, ispec, mode, tol, work.data(),
           dz2.data(), dz3.data(), xa.data(), xar.data(), xar2.data(), xat.data(), xax.data(),
           delta.data(), deltar.data(), deltar2.data(), deltat.data(), deltax.data(), xerr.data(),
           xold.data(), isite.data(), idxv.data(), res.data(), vold.data(), out.asumr, out.asumr2,
           out.asum, out.asumt, out.asumx.data(), bmix, bcomp_.data(), out.ierr, unit, level,
           iopt, itype_.data(), ldx, ipiv.data(), kNoValue, irdf, ecrflg_.data());
    last_delta = delta;
    last_deltar = deltar;
    return out;
  }
  std::vector<double> last_delta, last_deltar, previous_xa;

 private:
  int64_t n_;
  std::vector<Species> sp_;
  std::vector<int64_t> idx_, ia_, iapos_, itype_;
  std::vector<double> asspar_, bcomp_, sigma_, epsab_, volab_, ecrflg_;
};

// Water (4C), methanol (2B) and an inert, simplified CPA and PC-SAFT data.
inline std::vector<Species> WaterMethanolInert() {
  return {
      {4, kWaterB, kWaterEps, kWaterBeta, 1.0656, 3.0007, 366.51},
      {2, 0.0491, 2957.0, 0.0161, 1.5255, 3.2300, 188.90},
      {0, 0.0500, 0.0, 0.0, 2.0000, 3.7000, 250.00},
  };
}

}  // namespace thermomodels::testing
