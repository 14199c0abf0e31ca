// IAPWS-IF97 region 3 (near-critical and dense supercritical states):
// properties from the Helmholtz energy of Eq. 28 in (T, v), its partial
// derivatives and isentropic exponent.
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace if97_detail;

constexpr double kR = kGasConstant;

// Reduced variables (delta = rho/322, tau = 647.096/T), the density and
// the derivatives of phi that the caller selects (flags of SumSeries in
// x = delta, y = tau); phi_delta and phi_deltadelta include the ln(delta) term.
struct Region3Phi {
  double rho, delta, tau;
  double f, fd, fdd, ft, ftt, fdt;
};

// The reduced variables of (T, V) with tau given.
inline Region3Phi Reduced3(double tau, double v) {
  Region3Phi r{};
  r.rho = 1.0 / v;
  r.delta = 1.0 / (322.0 * v);
  r.tau = tau;
  return r;
}

// phi's derivatives from the sums s at (delta, tau).
template <unsigned kWant>
inline Region3Phi WithSums(Region3Phi r, const PowerSums& s) {
  if constexpr ((kWant & kSum) != 0) r.f = kLogDeltaCoefficient * std::log(r.delta) + s.s;
  if constexpr ((kWant & kSumX) != 0) r.fd = kLogDeltaCoefficient / r.delta + s.sx;
  if constexpr ((kWant & kSumXX) != 0) r.fdd = -kLogDeltaCoefficient / (r.delta * r.delta) + s.sxx;
  r.ft = s.sy;
  r.ftt = s.syy;
  r.fdt = s.sxy;
  return r;
}

inline double Tau3(double t) { return 647.096 / t; }

template <unsigned kWant, std::size_t kLanes = LanesFor(kWant)>
inline Region3Phi Phi3(double t, double v) {
  const Region3Phi r = Reduced3(Tau3(t), v);
  return WithSums<kWant>(r, SumSeries<kWant, kRegion3Terms, kLanes>(r.delta, r.tau));
}

constexpr unsigned kWantSound = kSumX | kSumXX | kSumYY | kSumXY;

// Pressure [MPa]: rho R T delta phi_delta in kPa, times 0.001.
inline double PressureMpa(const Region3Phi& r, double t) {
  return 0.001 * r.rho * kR * t * r.delta * r.fd;
}

// Speed of sound squared [m2/s2], IF97 Table 31.
inline double SoundSquared(const Region3Phi& r, double t) {
  const double a = r.delta * r.fd - r.delta * r.tau * r.fdt;
  return kGasConstantJ * t *
         (2.0 * r.delta * r.fd + r.delta * r.delta * r.fdd - a * a / (r.tau * r.tau * r.ftt));
}

// (dp/dv)_T [kPa kg/m3]: -rho^2 R T (2 delta phi_delta + delta^2 phi_deltadelta).
inline double DpDvKpa(const Region3Phi& r, double t) {
  return -r.rho * r.rho * kR * t * (2.0 * r.delta * r.fd + r.delta * r.delta * r.fdd);
}

inline double Enthalpy(const Region3Phi& r, double t) {
  return kR * t * (r.tau * r.ft + r.delta * r.fd);
}

inline double Entropy(const Region3Phi& r) { return kR * (r.tau * r.ft - r.f); }

// The Gibbs energy R T phi + p v at the caller's pressure, referred to the
// region-2 ideal gas.
inline double Fugacity(const Region3Phi& r, double p, double t, double v) {
  const double g = kR * t * r.f + 1000.0 * p * v;
  return p * std::exp(g / (kR * t) - Region2IdealGamma(p, t));
}

}  // namespace

double IF97R3P(const double& T, const double& V) { return PressureMpa(Phi3<kSumX>(T, V), T); }

double IF97R3H(const double& T, const double& V) { return Enthalpy(Phi3<kSumX | kSumY>(T, V), T); }

double IF97R3S(const double& T, const double& V) { return Entropy(Phi3<kSum | kSumY>(T, V)); }

double IF97R3U(const double& T, const double& V) {
  const Region3Phi r = Phi3<kSumY>(T, V);
  return kR * T * r.tau * r.ft;
}

// Within a small box about the critical point cp diverges; there it takes a
// fixed large value. Elsewhere the absolute value of the formula is returned,
// so that states in the unstable part of the region give a positive cp.
double IF97R3CP(const double& T, const double& V) {
  const double rho = 1.0 / V;
  if (std::fabs(rho - 322.0) <= 0.03 && std::fabs(T - 647.096) <= 1e-6) return 462218448918.886;
  const Region3Phi r = Phi3<kSumX | kSumXX | kSumYY | kSumXY>(T, V);
  const double a = r.delta * r.fd - r.delta * r.tau * r.fdt;
  return std::fabs(
      kR * (-r.tau * r.tau * r.ftt + a * a / (2.0 * r.delta * r.fd + r.delta * r.delta * r.fdd)));
}

double IF97R3CV(const double& T, const double& V) {
  const Region3Phi r = Phi3<kSumYY>(T, V);
  return -kR * r.tau * r.tau * r.ftt;
}

double IF97R3W(const double& T, const double& V) {
  return std::sqrt(SoundSquared(Phi3<kWantSound>(T, V), T));
}

double IF97R3F(const double& T, const double& V) { return kR * T * Phi3<kSum>(T, V).f; }

double IF97R3FUG(const double& P, const double& T, const double& V) {
  return Fugacity(Phi3<kSum>(T, V), P, T, V);
}

// Enthalpy and entropy from one evaluation with the lanes of IF97R3H and
// IF97R3S; the fugacity from phi summed in the lanes of IF97R3FUG, so that
// each equals its single-property function bit for bit (near the critical
// point the terms of phi cancel, and the order of their additions shows in
// the last digits of ln phi).
StateProperties IF97R3State(const double& P, const double& T, const double& V, bool with_fugacity) {
  const Region3Phi r = Phi3<kSum | kSumX | kSumY, kSeveralSumsLanes>(T, V);
  return {V, Enthalpy(r, T), Entropy(r), with_fugacity ? IF97R3FUG(P, T, V) : 0.0};
}

Region3Isotherm::Region3Isotherm(const double& T) : t_(T), tau_(Tau3(T)), sums_(tau_) {}

// The derivatives use R = 0.461526 kJ/(kg K), the gas constant of the region
// functions, so that they are the exact derivatives of IF97R3P.
double IF97R3DPT(const double& T, const double& V) {
  const Region3Phi r = Phi3<kSumX | kSumXY>(T, V);
  return r.rho * kR * r.delta * (r.fd - r.tau * r.fdt);
}

double IF97R3DPV(const double& T, const double& V) {
  return DpDvKpa(Phi3<kSumX | kSumXX>(T, V), T);
}

double IF97R3DVP(const double& T, const double& V) {
  return 1.0 / DpDvKpa(Phi3<kSumX | kSumXX>(T, V), T);
}

double IF97R3DVT(const double& T, const double& V) {
  const Region3Phi r = Phi3<kSumX | kSumXX | kSumXY>(T, V);
  return (r.fd - r.tau * r.fdt) / (r.rho * T * (2.0 * r.fd + r.delta * r.fdd));
}

double IF97R3APR(const double& T, const double& V) {
  const Region3Phi r = Phi3<kSumX | kSumXY>(T, V);
  return (1.0 - r.tau * r.fdt / r.fd) / T;
}

// With the pressure positive, dp/drho = p_rho > 0 and cv > 0, the formulas
// give cp = cv + (positive square) / p_rho and w^2 = p_rho + (positive
// square) / (-phi_tautau), both positive: phi_deltatau is not needed.
bool IF97R3Stable(const double& T, const double& V) {
  // dp/drho [kPa m3/kg] that counts as zero beside the critical point.
  constexpr double kFlatDpDrho = 1e-7 * 22064.0 / 322.0;
  const Region3Phi r = Phi3<kSumX | kSumXX | kSumYY>(T, V);
  const double cv = -kR * r.tau * r.tau * r.ftt;
  const double dpdv = DpDvKpa(r, T) - r.rho * r.rho * kFlatDpDrho;
  return PhysicalState(PressureMpa(r, T), dpdv, cv, cv, -dpdv);
}

// kappa = w^2 / (p v) with p in Pa: the pressure of the state in MPa times 1e6.
double IF97R3KAP(const double& T, const double& V) {
  const Region3Phi r = Phi3<kWantSound>(T, V);
  return SoundSquared(r, T) / (PressureMpa(r, T) * V * 1e6);
}

}  // namespace thermomodels
