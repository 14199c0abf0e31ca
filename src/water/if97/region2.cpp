// IAPWS-IF97 region 2 (superheated vapour): properties from the Gibbs energy
// of Eq. 15 (ideal-gas part Eq. 16, residual part Eq. 17), its partial
// derivatives and isentropic exponent.
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace if97_detail;

constexpr double kR = kGasConstant;

// Reduced variables (pi = p/1 MPa, tau = 540/T) and the parts of gamma that
// the caller selects: kIdeal flags the sums of the ideal-gas series in tau
// (without ln pi), kResidual those of the residual series in pi, tau - 0.5.
struct Region2Gamma {
  double pi, tau;
  double g0, g0t, g0tt;                   // ideal-gas part and its tau derivatives
  double gr, grp, grpp, grt, grtt, grpt;  // residual part and its derivatives
};

template <unsigned kIdeal, unsigned kResidual, std::size_t kIdealLanes = LanesFor(kIdeal),
          std::size_t kResidualLanes = LanesFor(kResidual)>
inline Region2Gamma Gamma2(double p, double t) {
  Region2Gamma r{};
  r.pi = p;
  r.tau = 540.0 / t;
  if constexpr (kIdeal != 0) {
    const PowerSums s = SumSeries<kIdeal, kRegion2IdealTerms, kIdealLanes>(1.0, r.tau);
    if constexpr ((kIdeal & kSum) != 0) r.g0 = std::log(r.pi) + s.s;
    r.g0t = s.sy;
    r.g0tt = s.syy;
  }
  if constexpr (kResidual != 0) {
    const PowerSums s =
        SumSeries<kResidual, kRegion2ResidualTerms, kResidualLanes>(r.pi, r.tau - 0.5);
    r.gr = s.s;
    r.grp = s.sx;
    r.grpp = s.sxx;
    r.grt = s.sy;
    r.grtt = s.syy;
    r.grpt = s.sxy;
  }
  return r;
}

constexpr unsigned kSoundResidual = kSumX | kSumXX | kSumYY | kSumXY;

// Speed of sound squared [m2/s2], IF97 Table 12.
inline double SoundSquared(const Region2Gamma& r, double t) {
  const double pgp = r.pi * r.grp;
  const double a = 1.0 + pgp - r.tau * r.pi * r.grpt;
  return kGasConstantJ * t * (1.0 + 2.0 * pgp + pgp * pgp) /
         ((1.0 - r.pi * r.pi * r.grpp) + a * a / (r.tau * r.tau * (r.g0tt + r.grtt)));
}

// Specific volume [m3/kg]: (R T/p)(1 + pi gammar_pi).
inline double Volume(const Region2Gamma& r, double t) {
  return 0.000461526 * t / r.pi * (1.0 + r.pi * r.grp);
}

// (dv/dp)_T per kPa: R T (gammar_pipi - 1/pi^2) / 1e6.
inline double DvDpKpa(const Region2Gamma& r, double t) {
  return 4.61526e-7 * t * (r.grpp - 1.0 / (r.pi * r.pi));
}

// (dv/dT)_p: (R/p)(1 + pi gammar_pi - tau pi gammar_pitau).
inline double DvDt(const Region2Gamma& r) {
  return 0.000461526 / r.pi * (1.0 + r.pi * r.grp - r.tau * r.pi * r.grpt);
}

inline double Enthalpy(const Region2Gamma& r, double t) { return kR * t * r.tau * (r.g0t + r.grt); }

inline double Entropy(const Region2Gamma& r) {
  return kR * (r.tau * (r.g0t + r.grt) - (r.g0 + r.gr));
}

// Fugacity [MPa] = p exp(gamma_r).
inline double Fugacity(const Region2Gamma& r, double p) { return p * std::exp(r.gr); }

}  // namespace

double Region2IdealGamma(double pressure_mpa, double temperature_k) {
  return Gamma2<kSum, 0>(pressure_mpa, temperature_k).g0;
}

double IF97R2V(const double& P, const double& T) { return Volume(Gamma2<0, kSumX>(P, T), T); }

double IF97R2H(const double& P, const double& T) { return Enthalpy(Gamma2<kSumY, kSumY>(P, T), T); }

double IF97R2S(const double& P, const double& T) {
  return Entropy(Gamma2<kSum | kSumY, kSum | kSumY>(P, T));
}

double IF97R2U(const double& P, const double& T) {
  const Region2Gamma r = Gamma2<kSumY, kSumX | kSumY>(P, T);
  return kR * T * (r.tau * (r.g0t + r.grt) - (1.0 + r.pi * r.grp));
}

double IF97R2CP(const double& P, const double& T) {
  const Region2Gamma r = Gamma2<kSumYY, kSumYY>(P, T);
  return -kR * r.tau * r.tau * (r.g0tt + r.grtt);
}

double IF97R2CV(const double& P, const double& T) {
  const Region2Gamma r = Gamma2<kSumYY, kSoundResidual>(P, T);
  const double a = 1.0 + r.pi * r.grp - r.tau * r.pi * r.grpt;
  return kR * (-r.tau * r.tau * (r.g0tt + r.grtt) - a * a / (1.0 - r.pi * r.pi * r.grpp));
}

double IF97R2W(const double& P, const double& T) {
  return std::sqrt(SoundSquared(Gamma2<kSumYY, kSoundResidual>(P, T), T));
}

double IF97R2G(const double& P, const double& T) {
  const Region2Gamma r = Gamma2<kSum, kSum>(P, T);
  return kR * T * (r.g0 + r.gr);
}

double IF97R2FUG(const double& P, const double& T) { return Fugacity(Gamma2<0, kSum>(P, T), P); }

StateProperties IF97R2State(const double& P, const double& T, bool with_fugacity) {
  const Region2Gamma r =
      Gamma2<kSum | kSumY, kSum | kSumX | kSumY, kOneSumLanes, kOneSumLanes>(P, T);
  return {Volume(r, T), Enthalpy(r, T), Entropy(r), with_fugacity ? Fugacity(r, P) : 0.0};
}

double IF97R2DVP(const double& P, const double& T) { return DvDpKpa(Gamma2<0, kSumXX>(P, T), T); }

double IF97R2DVT(const double& P, const double& T) { return DvDt(Gamma2<0, kSumX | kSumXY>(P, T)); }

// (dp/dT)_v [kPa/K] = -(dv/dT)_p / (dv/dp)_T from one evaluation of gamma.
double IF97R2DPT(const double& P, const double& T) {
  const Region2Gamma r = Gamma2<0, kSumX | kSumXX | kSumXY>(P, T);
  return -DvDt(r) / DvDpKpa(r, T);
}

bool IF97R2Stable(const double& P, const double& T) {
  const Region2Gamma r = Gamma2<kSumYY, kSoundResidual>(P, T);
  const double a = 1.0 + r.pi * r.grp - r.tau * r.pi * r.grpt;
  const double cp = -kR * r.tau * r.tau * (r.g0tt + r.grtt);
  return PhysicalState(Volume(r, T), DvDpKpa(r, T), cp,
                       cp - kR * a * a / (1.0 - r.pi * r.pi * r.grpp), SoundSquared(r, T));
}

double IF97R2KAP(const double& P, const double& T) {
  const Region2Gamma r = Gamma2<kSumYY, kSoundResidual>(P, T);
  return SoundSquared(r, T) / (P * Volume(r, T) * 1e6);
}

}  // namespace thermomodels
