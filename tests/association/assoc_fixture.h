// SiteProblem drives the site-fraction solver alone; AssocCaller calls the whole association term
// with CPA or PC-SAFT parameters, groups optional.
#pragma once

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "association/association.h"

namespace thermomodels::testing {

// Pure water in the simplified CPA (4C scheme) at its reference state.
inline constexpr double kWaterB = 0.014515;            // m3/kmol
inline constexpr double kWaterEps = 2003.136;          // K
inline constexpr double kWaterBeta = 0.0692;
inline constexpr double kWaterT = 298.15;              // K
inline constexpr double kWaterRho = 1.0 / 0.01792595;  // kmol/m3
// Simplified CPA strength b*beta*(exp(eps/T) - 1)/(1 - 0.475 b rho).
inline double CpaStrength(double b, double eps, double beta, double t, double rho, double bmix) {
  return b * beta * (std::exp(eps / t) - 1.0) / (1.0 - 0.475 * bmix * rho);
}
// Strength b beta (exp(eps/T) - 1)/(1 - 0.475 b rho).
inline double WaterDelta() {
  return kWaterB * 0.0692 * (std::exp(2003.136 / kWaterT) - 1.0) /
         (1.0 - 0.475 * kWaterB * kWaterRho);
}

// |a - b| over the larger magnitude, at least `floor`.
inline double Rel(double a, double b, double floor) {
  return std::fabs(a - b) / std::fmax(std::fmax(std::fabs(a), std::fabs(b)), floor);
}

inline bool Contains(const std::string& text, const char* line) {
  return text.find(line) != std::string::npos;
}

// Positions 1..n hold components 1..n; species (components or groups, one a component) associate at
// their own number. Build() again after IGRP is set.
struct SiteProblem {
  int64_t n, ldg, ldx = 4, nv = 0, nmerge = 0, ierr = 0, kinit = 0;
  std::vector<int64_t> idx, igrp, itype, isite, idxv, iwork, iv2{0}, jv2{0};
  std::vector<double> x, grpw, delta, xa, xold, xar, wsolv, res, vold;

  SiteProblem(const std::vector<int64_t>& types, const std::vector<double>& fractions)
      : n(static_cast<int64_t>(fractions.size())),
        ldg(static_cast<int64_t>(types.size())),
        itype(types),
        x(fractions) {
    for (int64_t i = 1; i <= ldg; ++i) idx.push_back(i);
    igrp.assign(2 * ldg, 0);
    grpw.assign(ldg * ldg, 0.0);
    delta.assign(ldg * ldg, 0.0);
    Build();
  }
  void Build() {
    isite.clear();
    idxv.clear();
    for (int64_t i = 1; i <= n; ++i) {
      const int64_t species = igrp[i - 1] >= 1 ? igrp[ldg + i - 1] : i;
      for (int64_t s = 1; s <= AssocSiteCount(ASSOC_TYPES.NSITES, itype[species - 1]); ++s) {
        isite.push_back(s);
        idxv.push_back(i);
      }
    }
    nv = static_cast<int64_t>(isite.size());
    xa = xold = xar = std::vector<double>(ldx * n, 0.0);
    wsolv.assign(4 * nv + 7 * nv * nv + ldx * n + 8, 0.0);
    iwork.assign(2 * nv + 2, 0);
    res = vold = std::vector<double>(nv + 1, 0.0);
  }
  double& Delta(int64_t i, int64_t j) { return delta[(j - 1) * ldg + (i - 1)]; }
  double Xa(int64_t site, int64_t pos) const { return xa[(pos - 1) * ldx + (site - 1)]; }

  // Species numbers serve as IA and IAPOS.
  void Solve(double rho, int64_t method, int64_t maxit = 100, int64_t kstart = 0) {
    int64_t zero = 0, twenty = 20, ten = 10;
    const double rhoprev = kNoValue, tol = 1e-12;
    const int32_t unit = 0;
    GETXA1(nullptr, rho, n, ldg, ldg, idx.data(), igrp.data(), idx.data(), idx.data(), x.data(),
           grpw.data(), x.data(), xa.data(), delta.data(), wsolv.data(), xold.data(), zero, zero,
           ierr, kstart, tol, nv, isite.data(), idxv.data(), method, maxit, res.data(), vold.data(),
           zero, unit, itype.data(), twenty, ten, ASSOC_TYPES.NSITES, ASSOC_TYPES.SITES, ldx, zero,
           &zero, &zero, zero, zero, zero, zero, iwork.data(), kinit, rhoprev, xar.data(), zero);
  }
  // As Solve, with a trace level and unit, a start mode and a tolerance; without groups.
  void SolveTraced(double rho, int64_t method, int64_t maxit = 100, int64_t level = 0,
                   int32_t unit = 0, int64_t kstart = 0, double tol = 1e-12) {
    int64_t zero = 0, twenty = 20, ten = 10;
    double rhoprev = kNoValue;
    GETXA1(nullptr, rho, n, n, n, idx.data(), igrp.data(), idx.data(), idx.data(), x.data(),
           grpw.data(), x.data(), xa.data(), delta.data(), wsolv.data(), xold.data(), zero, zero,
           ierr, kstart, tol, nv, isite.data(), idxv.data(), method, maxit, res.data(), vold.data(),
           level, unit, itype.data(), twenty, ten, ASSOC_TYPES.NSITES, ASSOC_TYPES.SITES, ldx,
           nmerge, iv2.data(), jv2.data(), zero, zero, zero, zero, iwork.data(), kinit, rhoprev,
           xar.data(), zero);
  }

  // S_A of Wertheim's balance at the fractions xs (an (LDX, N) array); without groups.
  double SiteSum(double rho, const std::vector<double>& xs, int64_t site, int64_t pos) const {
    const int64_t sa = AssocSiteSign(ASSOC_TYPES.SITES, 10, itype[pos - 1], site);
    double sum = 0.0;
    for (int64_t j = 1; j <= n; ++j)
      for (int64_t b = 1; b <= AssocSiteCount(ASSOC_TYPES.NSITES, itype[j - 1]); ++b)
        if (AssocSitesBond(sa, AssocSiteSign(ASSOC_TYPES.SITES, 10, itype[j - 1], b)))
          sum += rho * x[j - 1] * delta[(j - 1) * ldg + (pos - 1)] * xs[(j - 1) * ldx + (b - 1)];
    return sum;
  }
};

// Reads back everything written to a unit opened on a fresh file.
struct UnitCapture {
  UnitCapture(int32_t u, std::string name) : unit_(u), path(std::move(name)) {
    std::remove(path.c_str());
    UnitOpen(unit_, path);
  }
  ~UnitCapture() {
    UnitClose(unit_);
    std::remove(path.c_str());
  }
  std::string Text() {
    UnitClose(unit_);
    std::stringstream ss;
    ss << std::ifstream(path).rdbuf();
    UnitOpen(unit_, path);
    return ss.str();
  }
  int32_t unit() const { return unit_; }
  int32_t unit_;
  std::string path;
};

// Type code; CPA co-volume [m3/kmol]; association energy over k [K] and volume; PC-SAFT segment
// number, diameter [angstrom], dispersion energy [K].
struct Species {
  int64_t type;
  double b, eps, beta, m, sigma, disp;
};
// Water (4C), methanol (2B) and an inert, simplified CPA and PC-SAFT data.
inline constexpr Species kWater{4, kWaterB, 2003.136, 0.0692, 1.0656, 3.0007, 366.51};
inline constexpr Species kMethanol{2, 0.0491, 2957.0, 0.0161, 1.5255, 3.2300, 188.90};
inline constexpr Species kInert{0, 0.0500, 0.0, 0.0, 2.0000, 3.7000, 250.00};
inline std::vector<Species> WaterMethanolInert() { return {kWater, kMethanol, kInert}; }

struct Sums {
  double asum = 0, asumr = 0, asumr2 = 0, asumt = 0;
  std::vector<double> asumx;
  int64_t ierr = 0;
};

struct AssocCaller {
  explicit AssocCaller(std::vector<Species> species) : sp(std::move(species)) {
    n = static_cast<int64_t>(sp.size());
    epsab = volab = ecrflg = grp = std::vector<double>(n * n, 0.0);
    igrp.assign(2 * n, 0);
    for (int64_t i = 1; i <= n; ++i) {
      const Species& a = sp[i - 1];
      idx.push_back(i);
      itype.push_back(a.type);
      asspar.push_back(a.eps);
      // CR-1 cross parameters for every pair of self-associating species.
      for (int64_t j = 1; j <= n; ++j) {
        const Species& b = sp[j - 1];
        if (a.beta == 0.0 || b.beta == 0.0) continue;
        Eps(i, j) = 0.5 * (a.eps + b.eps);
        Vol(i, j) = std::sqrt(a.beta * b.beta);
      }
    }
  }
  double& Eps(int64_t i, int64_t j) { return epsab[(j - 1) * n + (i - 1)]; }
  double& Vol(int64_t i, int64_t j) { return volab[(j - 1) * n + (i - 1)]; }
  double& Flag(int64_t i, int64_t j) { return ecrflg[(j - 1) * n + (i - 1)]; }

  Sums Eval(double t, double rho, const std::vector<double>& x, bool lrho, bool lrho2, bool ltemp,
            bool lcomp) {
    const int64_t cap = ldx * n + 8;
    if (istart == 20 || mode != 2 || xa.empty()) xa.assign(cap, 0.0);  // else restart from it
    std::vector<double> xar(cap, start_xar), xar2(cap), xat(cap), xax(cap), xerr(cap), xold(cap), res(cap),
        vold(cap), work(cap);
    std::vector<double> deltar(n * n), deltar2(n * n), deltat(n * n), deltax(n * n), segm(n),
        dseg(n), dsegt(n), dz2(n), dz3(n), bcomp(n), sigma(n);
    std::vector<int64_t> isite(cap), idxv(cap), ipiv(cap);
    delta.assign(n * n, 0.0);
    double bmix = 0.0, zeta[4] = {0, 0, 0, 0};
    const double c = 3.141592654 / 6.0, to_kmol = 2.0 * 0.04222321867518549;
    for (int64_t i = 0; i < n; ++i) {
      // PC-SAFT diameter d = sigma (1 - 0.12 exp(-3 eps/T)) in (m3/kmol)^(1/3).
      const Species& s = sp[i];
      const double e = std::exp(-3.0 * s.disp / t), d = s.sigma * to_kmol * (1.0 - 0.12 * e);
      bmix += x[i] * s.b;
      bcomp[i] = s.b;
      sigma[i] = s.sigma;
      segm[i] = s.m;
      dseg[i] = d;
      dsegt[i] = -0.36 * s.sigma * to_kmol * (s.disp / t) * e;
      dz2[i] = c * rho * s.m * d * d;
      dz3[i] = dz2[i] * d;
      zeta[2] += c * x[i] * s.m * d * d;
      zeta[3] += c * x[i] * s.m * d * d * d;
    }
    Sums out;
    out.asumx.assign(n, 0.0);
    PCSAF5(t, rho, n, n, idx.data(), x.data(), segm.data(), sigma.data(), asspar.data(),
           epsab.data(), volab.data(), dseg.data(), dsegt.data(), zeta, igrp.data(), grp.data(),
           grp.data(), n, idx.data(), idx.data(), ToLogical(lrho), ToLogical(lrho2),
           ToLogical(ltemp), ToLogical(lcomp), work.data(), istart, ispec, mode, tol, work.data(),
           dz2.data(), dz3.data(), xa.data(), xar.data(), xar2.data(), xat.data(), xax.data(),
           delta.data(), deltar.data(), deltar2.data(), deltat.data(), deltax.data(), xerr.data(),
           xold.data(), isite.data(), idxv.data(), res.data(), vold.data(), out.asumr, out.asumr2,
           out.asum, out.asumt, out.asumx.data(), bmix, bcomp.data(), out.ierr, unit, level, iopt,
           itype.data(), ldx, ipiv.data(), kNoValue, irdf, ecrflg.data());
    return out;
  }
  Sums All(double t, double rho, const std::vector<double>& x) {
    return Eval(t, rho, x, true, true, true, true);
  }

  int64_t n, irdf = 1, istart = 0, ispec = 0, mode = 0, iopt = 99999999, level = 0, ldx = 4;
  int32_t unit = 0;
  double tol = 1e-12, start_xar = 0.0;  // start_xar: density derivative handed in
  std::vector<Species> sp;
  std::vector<int64_t> idx, itype;
  std::vector<double> asspar, epsab, volab, ecrflg;
  std::vector<int64_t> igrp;      // (k, 1) number of groups of k, (k, 2) its group
  std::vector<double> grp;        // amount of group g in component k at (k, g)
  std::vector<double> xa, delta;  // site fractions and strengths of the last call
};

}  // namespace thermomodels::testing
