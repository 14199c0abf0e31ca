// Temperature and specific volume from pressure and enthalpy or entropy:
// the IAPWS-IF97 backward equations of regions 1 and 2 (Eqs. 11, 13, 20,
// 22-27) and the region-3 equations of IAPWS SR3-03(2014) (Eqs. 1-9).
#include <cmath>

#include "water/backward/backward.h"
#include "water/backward/backward_tables.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace backward_tables;
using backward_detail::BackwardEquation;
using backward_detail::Evaluate;
using backward_detail::Series;

// Region 1: theta = sum pi^I (eta + 1)^J, eta = h/2500 (IF97 Eq. 11) and
// theta = sum pi^I (sigma + 2)^J, sigma = s/1 (Eq. 13); p* = 1 MPa.
constexpr BackwardEquation kRegion1Tph{Series<kRegion1TphTerms>, 1.0, 1.0, 0.0, 2500.0, 1.0};
constexpr BackwardEquation kRegion1Tps{Series<kRegion1TpsTerms>, 1.0, 1.0, 0.0, 1.0, 2.0};

// Region 2 from enthalpy, h* = 2000 kJ/kg (IF97 Eqs. 22-24).
constexpr BackwardEquation kRegion2aTph{Series<kRegion2aTphTerms>, 1.0, 1.0, 0.0, 2000.0, -2.1};
constexpr BackwardEquation kRegion2bTph{Series<kRegion2bTphTerms>, 1.0, 1.0, -2.0, 2000.0, -2.6};
constexpr BackwardEquation kRegion2cTph{Series<kRegion2cTphTerms>, 1.0, 1.0, 25.0, 2000.0, -1.8};
// Region 2 from entropy (IF97 Eqs. 26, 27): the entropy enters as
// 10 - s/0.7853 and 2 - s/2.9251, hence the negative reducing entropies.
// Eq. 25 (2a) runs in pi^(1/4) and is evaluated on its own below.
constexpr BackwardEquation kRegion2bTps{Series<kRegion2bTpsTerms>, 1.0, 1.0, 0.0, -0.7853, 10.0};
constexpr BackwardEquation kRegion2cTps{Series<kRegion2cTpsTerms>, 1.0, 1.0, 0.0, -2.9251, 2.0};

// Region 3, SR3 Eqs. 2-9: result* x sum (pi + a)^I (x - b)^J, p* = 100 MPa.
constexpr BackwardEquation kRegion3aTph{
    Series<kRegion3aTphTerms>, 760.0, 100.0, 0.240, 2300.0, -0.615};
constexpr BackwardEquation kRegion3bTph{
    Series<kRegion3bTphTerms>, 860.0, 100.0, 0.298, 2800.0, -0.720};
constexpr BackwardEquation kRegion3aVph{
    Series<kRegion3aVphTerms>, 0.0028, 100.0, 0.128, 2100.0, -0.727};
constexpr BackwardEquation kRegion3bVph{
    Series<kRegion3bVphTerms>, 0.0088, 100.0, 0.0661, 2800.0, -0.720};
constexpr BackwardEquation kRegion3aTps{
    Series<kRegion3aTpsTerms>, 760.0, 100.0, 0.240, 4.4, -0.703};
constexpr BackwardEquation kRegion3bTps{
    Series<kRegion3bTpsTerms>, 860.0, 100.0, 0.760, 5.3, -0.818};
constexpr BackwardEquation kRegion3aVps{
    Series<kRegion3aVpsTerms>, 0.0028, 100.0, 0.187, 4.4, -0.755};
constexpr BackwardEquation kRegion3bVps{
    Series<kRegion3bVpsTerms>, 0.0088, 100.0, 0.298, 5.3, -0.816};

// Subregion 2a reaches up to 4 MPa in both region-2 families.
constexpr double kRegion2aMaxPressure = 4.0;  // MPa
// Below this entropy subregion 2c, from it on 2b (above 4 MPa).
constexpr double kRegion2bcEntropy = 5.85;  // kJ/(kg K)
// Critical entropy: splits 3a (up to and on it) from 3b.
constexpr double kCriticalEntropy = 4.41202148223476;  // kJ/(kg K)

// Second points of the region-1 secant steps: dT/dh of liquid water is
// about 0.25 K per kJ/kg, dT/ds about 90 K per kJ/(kg K) near the states
// the equations serve.
constexpr double kRegion1EnthalpyStep = 0.25;  // K kg/kJ
constexpr double kRegion1EntropyStep = 90.0;   // K kg K/kJ

using ForwardFunction = double (*)(const double&, const double&);

// One secant step through the backward value t1 and a second point
// t1 + gain (target - f(t1)) on the forward function f at pressure p. When
// the two values coincide (t1 already meets the target, so both points are
// the same) the step has no slope and t1 is the answer.
double SecantCorrection(double p, double target, double t1, double gain, ForwardFunction f) {
  const double f1 = f(p, t1);
  const double t2 = t1 + gain * (target - f1);
  const double f2 = f(p, t2);
  if (f1 == f2) {
    return t1;
  }
  return t2 + (target - f2) / (f1 - f2) * (t1 - t2);
}

// Subregion equation of region 2 from enthalpy: 2a up to 4 MPa, above it 2c
// where p lies above the B2bc line and 2b on and below it.
const BackwardEquation& Region2TphEquation(double p, double h) {
  if (p <= kRegion2aMaxPressure) {
    return kRegion2aTph;
  }
  return p > B2bcPressure(h) ? kRegion2cTph : kRegion2bTph;
}

}  // namespace

double Region1TemperatureFromEnthalpy(const double& P, const double& H) {
  return Evaluate(kRegion1Tph, P, H);
}

double Region1TemperatureFromEntropy(const double& P, const double& S) {
  return Evaluate(kRegion1Tps, P, S);
}

double B2bcPressure(const double& H) {
  const double* n = kB2bcCoefficients;
  return n[0] + n[1] * H + n[2] * H * H;
}

double H3abEnthalpy(const double& P) {
  const double* n = kH3abCoefficients;
  return n[0] + P * (n[1] + P * (n[2] + P * n[3]));
}

double IF97T1PH(const double& P, const double& H) {
  return SecantCorrection(P, H, Region1TemperatureFromEnthalpy(P, H), kRegion1EnthalpyStep,
                          IF97R1H);
}

double IF97T1PS(const double& P, const double& S) {
  return SecantCorrection(P, S, Region1TemperatureFromEntropy(P, S), kRegion1EntropyStep, IF97R1S);
}

double IF97T2PH(const double& P, const double& H) {
  return Evaluate(Region2TphEquation(P, H), P, H);
}

double IF97S2PH(const double& P, const double& H) { return IF97R2S(P, IF97T2PH(P, H)); }

double IF97T2PS(const double& P, const double& S) {
  if (P <= kRegion2aMaxPressure) {
    // IF97 Eq. 25: exponents of pi in quarters, s* = 2 kJ/(kg K).
    return Series<kRegion2aTpsTerms>(std::sqrt(std::sqrt(P)), 0.5 * S - 2.0);
  }
  return Evaluate(S < kRegion2bcEntropy ? kRegion2cTps : kRegion2bTps, P, S);
}

double IF97T3PH(const double& P, const double& H) {
  return Evaluate(H <= H3abEnthalpy(P) ? kRegion3aTph : kRegion3bTph, P, H);
}

double IF97V3PH(const double& P, const double& H) {
  return Evaluate(H <= H3abEnthalpy(P) ? kRegion3aVph : kRegion3bVph, P, H);
}

double IF97T3PS(const double& P, const double& S) {
  return Evaluate(S <= kCriticalEntropy ? kRegion3aTps : kRegion3bTps, P, S);
}

double IF97V3PS(const double& P, const double& S) {
  return Evaluate(S <= kCriticalEntropy ? kRegion3aVps : kRegion3bVps, P, S);
}

}  // namespace thermomodels
