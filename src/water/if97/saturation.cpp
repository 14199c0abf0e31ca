// IAPWS-IF97 saturation line (region 4): saturation pressure and temperature
// in MPa without range checks, and in bar with the water failure value.
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

// IAPWS-IF97 Table 34: coefficients n1..n10 of the saturation-line equation
// (Eq. 29), p* = 1 MPa, T* = 1 K.
constexpr double kN1 = 0.11670521452767E+04;
constexpr double kN2 = -0.72421316703206E+06;
constexpr double kN3 = -0.17073846940092E+02;
constexpr double kN4 = 0.12020824702470E+05;
constexpr double kN5 = -0.32325550322333E+07;
constexpr double kN6 = 0.14915108613530E+02;
constexpr double kN7 = -0.48232657361591E+04;
constexpr double kN8 = 0.40511340542057E+06;
constexpr double kN9 = -0.23855557567849E+00;
constexpr double kN10 = 0.65017534844798E+03;

// Near the critical point Eqs. 30 and 31 are replaced by straight lines so
// that the two functions end exactly on each other. The constants are used as
// written (not recomputed): the upper line through (647.0959 K,
// 22.063973175 MPa) and (647.096 K, 22.0639999998894 MPa), the lower pressure
// bridge starting on Eq. 30 at 647.0958 K, the lower temperature bridge on
// Eq. 31 at 22.063946352 MPa.
constexpr double kBridgeT = 647.0959;                // K
constexpr double kBridgeP = 22.063973175;            // MPa
constexpr double kCriticalT = 647.096;               // K
constexpr double kCriticalLineP = 22.0639999998894;  // MPa
constexpr double kStepT =
    -9.999999997489795e-5;  // 647.0958 - 647.0959 (and 647.0959 - 647.096) in double
constexpr double kUpperStepP = -2.6824889399534868e-5;  // 22.063973175 - 22.0639999998894
constexpr double kLowerStepP = -2.680240968189196e-5;   // Eq. 30 at 647.0958 K less 22.063973175
constexpr double kLowerBridgeStartP = 22.063946352;     // MPa
constexpr double kLowerBridgeStepP = -2.6823000002451636e-5;   // 22.063946352 - 22.063973175
constexpr double kLowerBridgeStepT = -0.00010007678959422783;  // Eq. 31 there less 647.0959

}  // namespace

double IF97PSAT(const double& T) {
  if (T >= kBridgeT) return kCriticalLineP + (T - kCriticalT) * kUpperStepP / kStepT;
  if (T >= 647.0958) return kBridgeP + (T - kBridgeT) * kLowerStepP / kStepT;
  // IF97 Eq. 30.
  const double theta = T + kN9 / (T - kN10);
  const double theta2 = theta * theta;
  const double a = theta2 + kN1 * theta + kN2;
  const double b = kN3 * theta2 + kN4 * theta + kN5;
  const double c = kN6 * theta2 + kN7 * theta + kN8;
  const double root = 2.0 * c / (-b + std::sqrt(b * b - 4.0 * a * c));
  const double root2 = root * root;
  return root2 * root2;
}

namespace if97_detail {

// IF97 Eq. 31 without the near-critical bridges: above 22.064 MPa it runs on
// past Tc. The fourth root is taken as the square root of the square root.
double SaturationTemperatureEq31(double P) {
  const double beta = std::sqrt(std::sqrt(P));
  const double beta2 = beta * beta;
  const double e = beta2 + kN3 * beta + kN6;
  const double f = kN1 * beta2 + kN4 * beta + kN7;
  const double g = kN2 * beta2 + kN5 * beta + kN8;
  const double d = 2.0 * g / (-f - std::sqrt(f * f - 4.0 * e * g));
  const double sum = kN10 + d;
  return 0.5 * (sum - std::sqrt(sum * sum - 4.0 * (kN9 + kN10 * d)));
}

}  // namespace if97_detail

double IF97TSAT(const double& P) {
  if (P >= kBridgeP) return kCriticalT + (P - kCriticalLineP) * kStepT / kUpperStepP;
  if (P >= kLowerBridgeStartP)
    return kBridgeT + (P - kBridgeP) * kLowerBridgeStepT / kLowerBridgeStepP;
  return if97_detail::SaturationTemperatureEq31(P);
}

// The bar forms keep the bounds of the 1967 formulation's range. The range
// tests are written so that a NaN argument fails them too.
double IF97PSATB(const double& T) {
  if (!(T >= 273.0 && T <= 647.301)) return -1.0;
  return 10.0 * IF97PSAT(T);
}

double IF97TSATB(const double& P) {
  const double pressure_mpa = 0.1 * P;
  if (!(pressure_mpa >= 0.00061 && pressure_mpa <= 22.1201)) return -1.0;
  return IF97TSAT(pressure_mpa);
}

}  // namespace thermomodels
