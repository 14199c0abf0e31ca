// IAPWS-IF97 region 2 (superheated vapour): properties from the Gibbs energy
// of Eq. 15 (ideal-gas part Eq. 16, residual part Eq. 17), its partial
// derivatives and isentropic exponent.
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace if97_detail;

// IAPWS-IF97 Table 10: exponents J0 and coefficients n0 of the ideal-gas part
// (Eq. 16, basic equation), gamma0 = ln pi + sum n0 tau^J0 (stored as i = 0).
constexpr PowerTerm kRegion2IdealTerms[] = {
    {0, 0, -0.96927686500217E+01}, {0, 1, 0.10086655968018E+02},  {0, -5, -0.56087911283020E-02},
    {0, -4, 0.71452738081455E-01}, {0, -3, -0.40710498223928E+00}, {0, -2, 0.14240819171444E+01},
    {0, -1, -0.43839511319450E+01}, {0, 2, -0.28408632460772E+00}, {0, 3, 0.21268463753307E-01},
};

// IAPWS-IF97 Table 11: exponents I, J and coefficients n of the residual part
// (Eq. 17), gammar = sum n pi^I (tau - 0.5)^J.
constexpr PowerTerm kRegion2ResidualTerms[] = {
    {1, 0, -0.17731742473213E-02},  {1, 1, -0.17834862292358E-01},  {1, 2, -0.45996013696365E-01},
    {1, 3, -0.57581259083432E-01},  {1, 6, -0.50325278727930E-01},  {2, 1, -0.33032641670203E-04},
    {2, 2, -0.18948987516315E-03},  {2, 4, -0.39392777243355E-02},  {2, 7, -0.43797295650573E-01},
    {2, 36, -0.26674547914087E-04}, {3, 0, 0.20481737692309E-07},   {3, 1, 0.43870667284435E-06},
    {3, 3, -0.32277677238570E-04},  {3, 6, -0.15033924542148E-02},  {3, 35, -0.40668253562649E-01},
    {4, 1, -0.78847309559367E-09},  {4, 2, 0.12790717852285E-07},   {4, 3, 0.48225372718507E-06},
    {5, 7, 0.22922076337661E-05},   {6, 3, -0.16714766451061E-10},  {6, 16, -0.21171472321355E-02},
    {6, 35, -0.23895741934104E+02}, {7, 0, -0.59059564324270E-17},  {7, 11, -0.12621808899101E-05},
    {7, 25, -0.38946842435739E-01}, {8, 8, 0.11256211360459E-10},   {8, 36, -0.82311340897998E+01},
    {9, 13, 0.19809712802088E-07},  {10, 4, 0.10406965210174E-18},  {10, 10, -0.10234747095929E-12},
    {10, 14, -0.10018179379511E-08}, {16, 29, -0.80882908646985E-10}, {16, 50, 0.10693031879409E+00},
    {18, 57, -0.33662250574171E+00}, {20, 20, 0.89185845355421E-24}, {20, 35, 0.30629316876232E-12},
    {20, 48, -0.42002467698208E-05}, {21, 21, -0.59056029685639E-25}, {22, 53, 0.37826947613457E-05},
    {23, 39, -0.12768608934681E-14}, {24, 26, 0.73087610595061E-28}, {24, 40, 0.55414715350778E-16},
    {24, 58, -0.94369707241210E-06},
};

constexpr double kR = kGasConstant;

// Reduced variables (pi = p/1 MPa, tau = 540/T) and the parts of gamma that
// the caller selects: kIdeal flags the sums of the ideal-gas series in tau
// (without ln pi), kResidual those of the residual series in pi, tau - 0.5.
struct Region2Gamma {
  double pi, tau;
  double g0, g0t, g0tt;                // ideal-gas part and its tau derivatives
  double gr, grp, grpp, grt, grtt, grpt;  // residual part and its derivatives
};

template <unsigned kIdeal, unsigned kResidual>
inline Region2Gamma Gamma2(double p, double t) {
  Region2Gamma r{};
  r.pi = p;
  r.tau = 540.0 / t;
  if constexpr (kIdeal != 0) {
    const PowerSums s = SumSeries<kIdeal, kRegion2IdealTerms>(1.0, r.tau);
    if constexpr ((kIdeal & kSum) != 0) r.g0 = std::log(r.pi) + s.s;
    r.g0t = s.sy;
    r.g0tt = s.syy;
  }
  if constexpr (kResidual != 0) {
    const PowerSums s = SumSeries<kResidual, kRegion2ResidualTerms>(r.pi, r.tau - 0.5);
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

}  // namespace

double Region2IdealGamma(double pressure_mpa, double temperature_k) {
  return Gamma2<kSum, 0>(pressure_mpa, temperature_k).g0;
}

double IF97R2V(const double& P, const double& T) { return Volume(Gamma2<0, kSumX>(P, T), T); }

double IF97R2H(const double& P, const double& T) {
  const Region2Gamma r = Gamma2<kSumY, kSumY>(P, T);
  return kR * T * r.tau * (r.g0t + r.grt);
}

double IF97R2S(const double& P, const double& T) {
  const Region2Gamma r = Gamma2<kSum | kSumY, kSum | kSumY>(P, T);
  return kR * (r.tau * (r.g0t + r.grt) - (r.g0 + r.gr));
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

double IF97R2FUG(const double& P, const double& T) {
  return P * std::exp(Gamma2<0, kSum>(P, T).gr);
}

double IF97R2DVP(const double& P, const double& T) { return DvDpKpa(Gamma2<0, kSumXX>(P, T), T); }

double IF97R2DVT(const double& P, const double& T) { return DvDt(Gamma2<0, kSumX | kSumXY>(P, T)); }

// (dp/dT)_v [kPa/K] = -(dv/dT)_p / (dv/dp)_T from one evaluation of gamma.
double IF97R2DPT(const double& P, const double& T) {
  const Region2Gamma r = Gamma2<0, kSumX | kSumXX | kSumXY>(P, T);
  return -DvDt(r) / DvDpKpa(r, T);
}

double IF97R2KAP(const double& P, const double& T) {
  const Region2Gamma r = Gamma2<kSumYY, kSoundResidual>(P, T);
  return SoundSquared(r, T) / (P * Volume(r, T) * 1e6);
}

}  // namespace thermomodels
