// IAPWS-IF97 region 1 (compressed liquid): properties from the Gibbs energy
// of Eq. 7, its partial derivatives and isentropic exponent.
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace if97_detail;

constexpr double kR = kGasConstant;
constexpr double kInvPStar = 0.060496067755596;  // 1/16.53 MPa

// Reduced variables and the derivatives of gamma selected by kWant (flags of
// SumSeries in x = 7.1 - pi, y = tau - 1.222; d/dpi = -d/dx).
struct Region1Gamma {
  double pi, tau;
  double g, gp, gpp, gt, gtt, gpt;
};

template <unsigned kWant, std::size_t kLanes = LanesFor(kWant)>
inline Region1Gamma Gamma1(double p, double t) {
  Region1Gamma r{};
  r.pi = p * kInvPStar;
  r.tau = 1386.0 / t;
  const PowerSums s = SumSeries<kWant, kRegion1Terms, kLanes>(7.1 - r.pi, r.tau - 1.222);
  r.g = s.s;
  r.gp = -s.sx;
  r.gpp = s.sxx;
  r.gt = s.sy;
  r.gtt = s.syy;
  r.gpt = -s.sxy;
  return r;
}

constexpr unsigned kWantSound = kSumX | kSumXX | kSumYY | kSumXY;

// Speed of sound squared [m2/s2], IF97 Table 3.
inline double SoundSquared(const Region1Gamma& r, double t) {
  const double a = r.gp - r.tau * r.gpt;
  return kGasConstantJ * t * r.gp * r.gp / (a * a / (r.tau * r.tau * r.gtt) - r.gpp);
}

// Specific volume [m3/kg] from gamma_pi: R T gamma_pi / p*.
inline double Volume(const Region1Gamma& r, double t) { return 0.000461526 * t / 16.53 * r.gp; }

// (dv/dp)_T per kPa: R T gamma_pipi / p*^2, with 273.2409 = 16.53^2.
inline double DvDpKpa(const Region1Gamma& r, double t) { return 4.61526e-7 * t * r.gpp / 273.2409; }

// (dv/dT)_p: (R / p*) (gamma_pi - tau gamma_pitau).
inline double DvDt(const Region1Gamma& r) { return 2.7920508166969147e-5 * (r.gp - r.tau * r.gpt); }

inline double Enthalpy(const Region1Gamma& r, double t) { return kR * t * r.tau * r.gt; }

inline double Entropy(const Region1Gamma& r) { return kR * (r.tau * r.gt - r.g); }

// Fugacity [MPa] referred to the region-2 ideal gas.
inline double Fugacity(const Region1Gamma& r, double p, double t) {
  return p * std::exp(r.g - Region2IdealGamma(p, t));
}

}  // namespace

double IF97R1V(const double& P, const double& T) { return Volume(Gamma1<kSumX>(P, T), T); }

double IF97R1H(const double& P, const double& T) { return Enthalpy(Gamma1<kSumY>(P, T), T); }

double IF97R1S(const double& P, const double& T) { return Entropy(Gamma1<kSum | kSumY>(P, T)); }

double IF97R1U(const double& P, const double& T) {
  const Region1Gamma r = Gamma1<kSumX | kSumY>(P, T);
  return kR * T * (r.tau * r.gt - r.pi * r.gp);
}

double IF97R1CP(const double& P, const double& T) {
  const Region1Gamma r = Gamma1<kSumYY>(P, T);
  return -kR * r.tau * r.tau * r.gtt;
}

double IF97R1CV(const double& P, const double& T) {
  const Region1Gamma r = Gamma1<kSumX | kSumXX | kSumYY | kSumXY>(P, T);
  const double a = r.gp - r.tau * r.gpt;
  return kR * (-r.tau * r.tau * r.gtt + a * a / r.gpp);
}

double IF97R1W(const double& P, const double& T) {
  return std::sqrt(SoundSquared(Gamma1<kWantSound>(P, T), T));
}

double IF97R1G(const double& P, const double& T) {
  const Region1Gamma r = Gamma1<kSum>(P, T);
  return kR * T * r.g;
}

double IF97R1FUG(const double& P, const double& T) { return Fugacity(Gamma1<kSum>(P, T), P, T); }

StateProperties IF97R1State(const double& P, const double& T, bool with_fugacity) {
  const Region1Gamma r = Gamma1<kSum | kSumX | kSumY, kOneSumLanes>(P, T);
  return {Volume(r, T), Enthalpy(r, T), Entropy(r), with_fugacity ? Fugacity(r, P, T) : 0.0};
}

double IF97R1DVP(const double& P, const double& T) { return DvDpKpa(Gamma1<kSumXX>(P, T), T); }

double IF97R1DVT(const double& P, const double& T) { return DvDt(Gamma1<kSumX | kSumXY>(P, T)); }

// (dp/dT)_v [kPa/K] = -(dv/dT)_p / (dv/dp)_T from one evaluation of gamma.
double IF97R1DPT(const double& P, const double& T) {
  const Region1Gamma r = Gamma1<kSumX | kSumXX | kSumXY>(P, T);
  return -DvDt(r) / DvDpKpa(r, T);
}

// cp, cv [kJ/(kg K)] and w^2 from the one evaluation of gamma's second
// derivatives that the speed of sound takes.
bool IF97R1Stable(const double& P, const double& T) {
  const Region1Gamma r = Gamma1<kWantSound>(P, T);
  const double a = r.gp - r.tau * r.gpt;
  const double cp = -kR * r.tau * r.tau * r.gtt;
  return PhysicalState(Volume(r, T), DvDpKpa(r, T), cp, cp + kR * a * a / r.gpp,
                       SoundSquared(r, T));
}

double IF97R1KAP(const double& P, const double& T) {
  const Region1Gamma r = Gamma1<kWantSound>(P, T);
  return SoundSquared(r, T) / (P * Volume(r, T) * 1e6);
}

}  // namespace thermomodels
