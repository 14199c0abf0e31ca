// Pressure from enthalpy and entropy in regions 1, 2 (IAPWS SR2-01(2014))
// and 3 (SR4-04(2014)), the saturation temperature Tsat(h,s) and the
// saturated-liquid enthalpy h'(s) of SR4, the region-3 saturation pressures
// p3sat(h), p3sat(s) of SR3-03(2014), and the enthalpy from pressure and
// entropy in regions 1 and 2.
#include "water/backward/backward.h"
#include "water/backward/backward_tables.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using namespace backward_tables;
using backward_detail::BackwardEquation;
using backward_detail::Evaluate;
using backward_detail::Series;

// SR2 Eq. 1: p/100 MPa = sum (eta + 0.05)^I (sigma + 0.05)^J.
constexpr BackwardEquation kRegion1Phs{Series<kRegion1PhsTerms>, 100.0, 3400.0, 0.05, 7.6, 0.05};
// SR2 Eqs. 3-5 give the fourth root of p/p*; the fourth power and p* are
// applied after the sum (see Region2Pressure).
constexpr BackwardEquation kRegion2aPhs{Series<kRegion2aPhsTerms>, 1.0, 4200.0, -0.5, 12.0, -1.2};
constexpr BackwardEquation kRegion2bPhs{Series<kRegion2bPhsTerms>, 1.0, 4100.0, -0.6, 7.9, -1.01};
constexpr BackwardEquation kRegion2cPhs{Series<kRegion2cPhsTerms>, 1.0, 3500.0, -0.7, 5.9, -1.1};
constexpr double kRegion2aPressureStar = 4.0;     // MPa
constexpr double kRegion2bcPressureStar = 100.0;  // MPa
// SR4 Eq. 1: p/99 MPa = sum; Eq. 2 gives 16.6 MPa / p (applied below).
constexpr BackwardEquation kRegion3aPhs{
    Series<kRegion3aPhsTerms>, 99.0, 2300.0, -1.01, 4.4, -0.750};
constexpr BackwardEquation kRegion3bPhs{
    Series<kRegion3bPhsTerms>, 1.0, 2800.0, -0.681, 5.3, -0.792};
constexpr double kRegion3bPressureStar = 16.6;  // MPa
// SR4 Eq. 9: T/550 K = sum (eta - 0.119)^I (sigma - 1.07)^J.
constexpr BackwardEquation kTsatHs{Series<kTsatHsTerms>, 550.0, 2800.0, -0.119, 9.2, -1.07};
// SR4 Eqs. 3, 4: h/1700 kJ/kg = sum (sigma - 1.09)^I (sigma + 0.366e-4)^J,
// both variables from the entropy.
constexpr BackwardEquation kSatLiquidH1{
    Series<kSatLiquidH1Terms>, 1700.0, 3.8, -1.09, 3.8, 0.366e-4};
constexpr BackwardEquation kSatLiquidH3{
    Series<kSatLiquidH3Terms>, 1700.0, 3.8, -1.09, 3.8, 0.366e-4};
// SR3 Eqs. 10, 11: p/22 MPa, both variables from h or from s.
constexpr BackwardEquation kP3satH{Series<kP3satHTerms>, 22.0, 2600.0, -1.02, 2600.0, -0.608};
constexpr BackwardEquation kP3satS{Series<kP3satSTerms>, 22.0, 5.2, -1.03, 5.2, -0.699};

// Subregion limits of p2(h,s) (SR2): below 5.85 subregion 2c; below the
// entropy of saturated vapour at 4 MPa 2b; from the region-2 entropy at
// 4 MPa and 1073.15 K on 2a; in between the h2ab(s) line decides.
constexpr double kRegion2bcEntropy = 5.85;                        // kJ/(kg K)
constexpr double kSaturatedVapourEntropy4MPa = 6.06970915951902;  // kJ/(kg K)
constexpr double kRegion2aEntropy4MPa1073K = 7.85234039987821;    // kJ/(kg K)
// Critical entropy: p3a up to and on it, p3b above.
constexpr double kCriticalEntropy = 4.41202148223476;  // kJ/(kg K)
// Entropy of saturated liquid at 623.15 K: h'1(s) up to and on it.
constexpr double kSaturatedLiquidEntropy623K = 3.77828134;  // kJ/(kg K)

double Region2Pressure(const BackwardEquation& e, double p_star, double h, double s) {
  const double root = Evaluate(e, h, s);
  const double square = root * root;
  return p_star * square * square;
}

}  // namespace

double H2abEnthalpy(const double& S) {
  const double* n = kH2abCoefficients;
  return n[0] + S * (n[1] + S * (n[2] + S * n[3]));
}

double IF97P1HS(const double& H, const double& S) { return Evaluate(kRegion1Phs, H, S); }

double IF97P2HS(const double& H, const double& S) {
  if (S < kRegion2bcEntropy) {
    return Region2Pressure(kRegion2cPhs, kRegion2bcPressureStar, H, S);
  }
  if (S >= kSaturatedVapourEntropy4MPa &&
      (S >= kRegion2aEntropy4MPa1073K || H <= H2abEnthalpy(S))) {
    return Region2Pressure(kRegion2aPhs, kRegion2aPressureStar, H, S);
  }
  return Region2Pressure(kRegion2bPhs, kRegion2bcPressureStar, H, S);
}

double IF97P3HS(const double& H, const double& S) {
  if (S <= kCriticalEntropy) {
    return Evaluate(kRegion3aPhs, H, S);
  }
  return kRegion3bPressureStar / Evaluate(kRegion3bPhs, H, S);
}

double IF97TSATHS(const double& H, const double& S) { return Evaluate(kTsatHs, H, S); }

double IF97HSATLS(const double& S) {
  return Evaluate(S <= kSaturatedLiquidEntropy623K ? kSatLiquidH1 : kSatLiquidH3, S, S);
}

double IF97P3SATH(const double& H) { return Evaluate(kP3satH, H, H); }

double IF97P3SATS(const double& S) { return Evaluate(kP3satS, S, S); }

double IF97H1PS(const double& P, const double& S) { return IF97R1H(P, IF97T1PS(P, S)); }

double IF97H2PS(const double& P, const double& S) { return IF97R2H(P, IF97T2PS(P, S)); }

}  // namespace thermomodels
