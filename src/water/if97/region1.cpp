// IAPWS-IF97 region 1 (compressed liquid): properties from the Gibbs energy
// of Eq. 7, its partial derivatives and isentropic exponent.
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace if97_detail;

// IAPWS-IF97 Table 2: exponents I, J and coefficients n of Eq. 7,
// gamma = sum n (7.1 - pi)^I (tau - 1.222)^J.
constexpr PowerTerm kRegion1Terms[] = {
    {0, -2, 0.14632971213167E+00},   {0, -1, -0.84548187169114E+00},  {0, 0, -0.37563603672040E+01},
    {0, 1, 0.33855169168385E+01},    {0, 2, -0.95791963387872E+00},   {0, 3, 0.15772038513228E+00},
    {0, 4, -0.16616417199501E-01},   {0, 5, 0.81214629983568E-03},    {1, -9, 0.28319080123804E-03},
    {1, -7, -0.60706301565874E-03},  {1, -1, -0.18990068218419E-01},  {1, 0, -0.32529748770505E-01},
    {1, 1, -0.21841717175414E-01},   {1, 3, -0.52838357969930E-04},   {2, -3, -0.47184321073267E-03},
    {2, 0, -0.30001780793026E-03},   {2, 1, 0.47661393906987E-04},    {2, 3, -0.44141845330846E-05},
    {2, 17, -0.72694996297594E-15},  {3, -4, -0.31679644845054E-04},  {3, 0, -0.28270797985312E-05},
    {3, 6, -0.85205128120103E-09},   {4, -5, -0.22425281908000E-05},  {4, -2, -0.65171222895601E-06},
    {4, 10, -0.14341729937924E-12},  {5, -8, -0.40516996860117E-06},  {8, -11, -0.12734301741641E-08},
    {8, -6, -0.17424871230634E-09},  {21, -29, -0.68762131295531E-18}, {23, -31, 0.14478307828521E-19},
    {29, -38, 0.26335781662795E-22}, {30, -39, -0.11947622640071E-22}, {31, -40, 0.18228094581404E-23},
    {32, -41, -0.93537087292458E-25},
};

constexpr double kR = kGasConstant;
constexpr double kInvPStar = 0.060496067755596;  // 1/16.53 MPa

// Reduced variables and the derivatives of gamma selected by kWant (flags of
// SumSeries in x = 7.1 - pi, y = tau - 1.222; d/dpi = -d/dx).
struct Region1Gamma {
  double pi, tau;
  double g, gp, gpp, gt, gtt, gpt;
};

template <unsigned kWant>
inline Region1Gamma Gamma1(double p, double t) {
  Region1Gamma r{};
  r.pi = p * kInvPStar;
  r.tau = 1386.0 / t;
  const PowerSums s = SumSeries<kWant, kRegion1Terms>(7.1 - r.pi, r.tau - 1.222);
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

}  // namespace

double IF97R1V(const double& P, const double& T) { return Volume(Gamma1<kSumX>(P, T), T); }

double IF97R1H(const double& P, const double& T) {
  const Region1Gamma r = Gamma1<kSumY>(P, T);
  return kR * T * r.tau * r.gt;
}

double IF97R1S(const double& P, const double& T) {
  const Region1Gamma r = Gamma1<kSum | kSumY>(P, T);
  return kR * (r.tau * r.gt - r.g);
}

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

double IF97R1FUG(const double& P, const double& T) {
  const Region1Gamma r = Gamma1<kSum>(P, T);
  return P * std::exp(r.g - Region2IdealGamma(P, T));
}

double IF97R1DVP(const double& P, const double& T) { return DvDpKpa(Gamma1<kSumXX>(P, T), T); }

double IF97R1DVT(const double& P, const double& T) { return DvDt(Gamma1<kSumX | kSumXY>(P, T)); }

// (dp/dT)_v [kPa/K] = -(dv/dT)_p / (dv/dp)_T from one evaluation of gamma.
double IF97R1DPT(const double& P, const double& T) {
  const Region1Gamma r = Gamma1<kSumX | kSumXX | kSumXY>(P, T);
  return -DvDt(r) / DvDpKpa(r, T);
}

double IF97R1KAP(const double& P, const double& T) {
  const Region1Gamma r = Gamma1<kWantSound>(P, T);
  return SoundSquared(r, T) / (P * Volume(r, T) * 1e6);
}

}  // namespace thermomodels
