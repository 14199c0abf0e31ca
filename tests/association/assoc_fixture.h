// Small association systems for the tests: components without groups, one
// associating position per component, every site an association variable.
#pragma once

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "association/association.h"

namespace thermomodels::testing {

// Pure-water parameters of the simplified CPA (4C scheme) and the state of
// the reference point.
inline constexpr double kWaterB = 0.014515;      // m3/kmol
inline constexpr double kWaterEps = 2003.136;    // K
inline constexpr double kWaterBeta = 0.0692;
inline constexpr double kWaterT = 298.15;        // K
inline constexpr double kWaterRho = 1.0 / 0.01792595;  // kmol/m3

// Simplified CPA strength b*beta*(exp(eps/T) - 1)/(1 - 0.475 b rho).
inline double CpaStrength(double b, double eps, double beta, double t, double rho, double bmix) {
  return b * beta * (std::exp(eps / t) - 1.0) / (1.0 - 0.475 * bmix * rho);
}

struct SiteProblem {
  int64_t n = 0;
  std::vector<int64_t> idx, igrp, iapos, itype, isite, idxv, iwork;
  std::vector<double> x, grpw, delta, xa, xold, xar, wsolv, res, vold;
  int64_t ldx = 4, nv = 0, nmerge = 0;
  std::vector<int64_t> iv2{0}, jv2{0};
  int64_t ierr = 0, kinit = 0;

  // Components 1..n with the given types and fractions; delta(i,j) set later.
  SiteProblem(const std::vector<int64_t>& types, const std::vector<double>& fractions,
              int64_t ld = 4)
      : n(static_cast<int64_t>(types.size())), ldx(ld) {
    for (int64_t i = 1; i <= n; ++i) {
      idx.push_back(i);
      iapos.push_back(i);
    }
    itype = types;
    x = fractions;
    igrp.assign(2 * n, 0);
    grpw.assign(n * n, 0.0);
    delta.assign(n * n, 0.0);
    for (int64_t i = 1; i <= n; ++i) {
      for (int64_t s = 1; s <= AssocSiteCount(ASSOC_TYPES.NSITES, types[i - 1]); ++s) {
        isite.push_back(s);
        idxv.push_back(i);
      }
    }
    nv = static_cast<int64_t>(isite.size());
    xa.assign(ldx * n, 0.0);
    xold.assign(ldx * n, 0.0);
    xar.assign(ldx * n, 0.0);
    wsolv.assign(4 * nv + 7 * nv * nv + ldx * n + 8, 0.0);
    iwork.assign(2 * nv + 2, 0);
    res.assign(nv + 1, 0.0);
    vold.assign(nv + 1, 0.0);
  }
  double& Delta(int64_t i, int64_t j) { return delta[(j - 1) * n + (i - 1)]; }
  double Xa(int64_t site, int64_t pos) const { return xa[(pos - 1) * ldx + (site - 1)]; }

  void Solve(double rho, int64_t method, int64_t maxit = 100, int64_t level = 0,
             int32_t unit = 0, int64_t kstart = 0, double tol = 1e-12) {
    int64_t zero = 0, twenty = 20, ten = 10;
    double rhoprev = kNoValue;
    GETXA1(nullptr, rho, n, n, n, idx.data(), igrp.data(), idx.data(), iapos.data(), x.data(),
           grpw.data(), x.data(), xa.data(), delta.data(), wsolv.data(), xold.data(), zero, zero,
           ierr, kstart, tol, nv, isite.data(), idxv.data(), method, maxit, res.data(),
           vold.data(), level, unit, itype.data(), twenty, ten, ASSOC_TYPES.NSITES,
           ASSOC_TYPES.SITES, ldx, nmerge, iv2.data(), jv2.data(), zero, zero, zero, zero,
           iwork.data(), kinit, rhoprev, xar.data(), zero);
  }

  // S_A of Wertheim's balance at the fractions xs (an (LDX, N) array).
  double SiteSum(double rho, const std::vector<double>& xs, int64_t site, int64_t pos) const {
    const int64_t sa = AssocSiteSign(ASSOC_TYPES.SITES, 10, itype[pos - 1], site);
    double sum = 0.0;
    for (int64_t j = 1; j <= n; ++j) {
      const double d = delta[(iapos[j - 1] - 1) * n + (iapos[pos - 1] - 1)];
      for (int64_t b = 1; b <= AssocSiteCount(ASSOC_TYPES.NSITES, itype[j - 1]); ++b) {
        if (!AssocSitesBond(sa, AssocSiteSign(ASSOC_TYPES.SITES, 10, itype[j - 1], b))) continue;
        sum += rho * x[j - 1] * d * xs[(j - 1) * ldx + (b - 1)];
      }
    }
    return sum;
  }
};

// Reads back everything written to a unit opened on a fresh file.
class UnitCapture {
 public:
  explicit UnitCapture(int32_t unit, const std::string& name) : unit_(unit), path_(name) {
    std::remove(path_.c_str());
    UnitOpen(unit_, path_);
  }
  ~UnitCapture() {
    UnitClose(unit_);
    std::remove(path_.c_str());
  }
  std::string Text() {
    UnitClose(unit_);
    std::ifstream in(path_);
    std::stringstream ss;
    ss << in.rdbuf();
    UnitOpen(unit_, path_);
    return ss.str();
  }
  int32_t unit() const { return unit_; }

 private:
  int32_t unit_;
  std::string path_;
};

}  // namespace thermomodels::testing
