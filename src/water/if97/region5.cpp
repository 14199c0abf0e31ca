// IAPWS-IF97 region 5 (high-temperature steam, 2007 revision): the twelve
// dimensionless parts of the Gibbs energy of Eq. 32, the properties built
// from them, the partial derivatives and the isentropic exponent.
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace if97_detail;

constexpr double kR = kGasConstant;

inline double Tau(double t) { return 1000.0 / t; }

// Sums of the ideal-gas series in tau (without ln pi) selected by kWant.
template <unsigned kWant, std::size_t kLanes = LanesFor(kWant)>
inline PowerSums Ideal5(double t) {
  return SumSeries<kWant, kRegion5IdealTerms, kLanes>(1.0, Tau(t));
}

// Residual sums in (pi, tau) selected by kWant.
template <unsigned kWant, std::size_t kLanes = LanesFor(kWant)>
inline PowerSums Residual5(double p, double t) {
  return SumSeries<kWant, kRegion5ResidualTerms, kLanes>(p, Tau(t));
}

constexpr unsigned kSoundResidual = kSumX | kSumXX | kSumYY | kSumXY;

// Speed of sound squared [m2/s2], IF97 Table 39, from the ideal-gas
// gamma0_tautau and the residual sums at pi = p.
inline double SoundSquared(double p, double t, double g0tt, const PowerSums& res) {
  const double tau = Tau(t);
  const double pgp = p * res.sx;
  const double a = 1.0 + pgp - tau * p * res.sxy;
  return kGasConstantJ * t * (1.0 + 2.0 * pgp + pgp * pgp) /
         ((1.0 - p * p * res.sxx) + a * a / (tau * tau * (g0tt + res.syy)));
}

// Volume, enthalpy, entropy and fugacity (IF97 Table 39) from the ideal-gas
// sums in tau and the residual sums at pi = p.
inline double Volume(double p, double t, const PowerSums& res) {
  return 0.000461526 * t / p * (1.0 + p * res.sx);
}

inline double Enthalpy(double t, const PowerSums& ideal, const PowerSums& res) {
  return kR * t * Tau(t) * (ideal.sy + res.sy);
}

inline double Entropy(double p, double t, const PowerSums& ideal, const PowerSums& res) {
  return kR * (Tau(t) * (ideal.sy + res.sy) - (std::log(p) + ideal.s) - res.s);
}

inline double Fugacity(double p, const PowerSums& res) { return p * std::exp(res.s); }

}  // namespace

// ---- Dimensionless Gibbs parts ----

double IF97R5GO(const double& P, const double& T) { return std::log(P) + Ideal5<kSum>(T).s; }
double IF97R5GOP(const double& P, const double& /*T*/) { return 1.0 / P; }
double IF97R5GOPP(const double& P, const double& /*T*/) { return -1.0 / (P * P); }
double IF97R5GOT(const double& /*P*/, const double& T) { return Ideal5<kSumY>(T).sy; }
double IF97R5GOTT(const double& /*P*/, const double& T) { return Ideal5<kSumYY>(T).syy; }
double IF97R5GOPT(const double& /*P*/, const double& /*T*/) { return 0.0; }
double IF97R5GR(const double& P, const double& T) { return Residual5<kSum>(P, T).s; }
double IF97R5GRP(const double& P, const double& T) { return Residual5<kSumX>(P, T).sx; }
double IF97R5GRPP(const double& P, const double& T) { return Residual5<kSumXX>(P, T).sxx; }
double IF97R5GRT(const double& P, const double& T) { return Residual5<kSumY>(P, T).sy; }
double IF97R5GRTT(const double& P, const double& T) { return Residual5<kSumYY>(P, T).syy; }
double IF97R5GRPT(const double& P, const double& T) { return Residual5<kSumXY>(P, T).sxy; }

// ---- Properties (IF97 Table 39) ----

double IF97R5V(const double& P, const double& T) { return Volume(P, T, Residual5<kSumX>(P, T)); }

double IF97R5H(const double& P, const double& T) {
  return Enthalpy(T, Ideal5<kSumY>(T), Residual5<kSumY>(P, T));
}

double IF97R5S(const double& P, const double& T) {
  return Entropy(P, T, Ideal5<kSum | kSumY>(T), Residual5<kSum | kSumY>(P, T));
}

double IF97R5U(const double& P, const double& T) {
  const PowerSums res = Residual5<kSumX | kSumY>(P, T);
  return kR * T * (Tau(T) * (Ideal5<kSumY>(T).sy + res.sy) - (1.0 + P * res.sx));
}

double IF97R5CP(const double& P, const double& T) {
  const double tau = Tau(T);
  return -kR * tau * tau * (Ideal5<kSumYY>(T).syy + Residual5<kSumYY>(P, T).syy);
}

double IF97R5CV(const double& P, const double& T) {
  const double tau = Tau(T);
  const PowerSums res = Residual5<kSoundResidual>(P, T);
  const double a = 1.0 + P * res.sx - tau * P * res.sxy;
  return kR * (-tau * tau * (Ideal5<kSumYY>(T).syy + res.syy) - a * a / (1.0 - P * P * res.sxx));
}

double IF97R5W(const double& P, const double& T) {
  return std::sqrt(SoundSquared(P, T, Ideal5<kSumYY>(T).syy, Residual5<kSoundResidual>(P, T)));
}

double IF97R5FUG(const double& P, const double& T) { return Fugacity(P, Residual5<kSum>(P, T)); }

StateProperties IF97R5State(const double& P, const double& T, bool with_fugacity) {
  const PowerSums ideal = Ideal5<kSum | kSumY, kOneSumLanes>(T);
  const PowerSums res = Residual5<kSum | kSumX | kSumY, kOneSumLanes>(P, T);
  return {Volume(P, T, res), Enthalpy(T, ideal, res), Entropy(P, T, ideal, res),
          with_fugacity ? Fugacity(P, res) : 0.0};
}

// ---- Partial derivatives (pressure per kPa) ----

double IF97R5DVP(const double& P, const double& T) {
  return 4.61526e-7 * T * (IF97R5GOPP(P, T) + IF97R5GRPP(P, T));
}

double IF97R5DVT(const double& P, const double& T) {
  const PowerSums res = Residual5<kSumX | kSumXY>(P, T);
  return 0.000461526 * (IF97R5GOP(P, T) + res.sx - Tau(T) * (IF97R5GOPT(P, T) + res.sxy));
}

bool IF97R5Stable(const double& P, const double& T) {
  const double tau = Tau(T);
  const double g0tt = Ideal5<kSumYY>(T).syy;
  const PowerSums res = Residual5<kSoundResidual>(P, T);
  const double a = 1.0 + P * res.sx - tau * P * res.sxy;
  const double cp = -kR * tau * tau * (g0tt + res.syy);
  const double dvdp = 4.61526e-7 * T * (-1.0 / (P * P) + res.sxx);
  return PhysicalState(Volume(P, T, res), dvdp, cp, cp - kR * a * a / (1.0 - P * P * res.sxx),
                       SoundSquared(P, T, g0tt, res));
}

double IF97R5KAP(const double& P, const double& T) {
  return SoundSquared(P, T, Ideal5<kSumYY>(T).syy, Residual5<kSoundResidual>(P, T)) /
         (P * IF97R5V(P, T) * 1e6);
}

}  // namespace thermomodels
