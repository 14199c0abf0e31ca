// Temperature and volume from (p,h) and (p,s): the check values printed in
// IAPWS-IF97 (Tables 7, 9, 24, 29) and SR3 (Tables 5, 8, 12, 15), the
// boundary equations' check points, the region-1 secant step against the
// forward equations, and which side of each subregion boundary a state on
// it takes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "backward_test_support.h"
#include "water/backward/backward.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using backward_test::ExpectBoundaryBelongsTo;
using backward_test::ExpectPrintedValues;
using backward_test::PrintedCheck;
using Backward = double (*)(const double&, const double&);

TEST(BackwardPhPs, ReproduceReleaseCheckValues) {
  const PrintedCheck checks[] = {
      // IF97 Tables 7 and 9: the region-1 equations before the secant step.
      {"IF97 T7", Region1TemperatureFromEnthalpy, 3, 500, "0.391798509E+03"},
      {"IF97 T7", Region1TemperatureFromEnthalpy, 80, 500, "0.378108626E+03"},
      {"IF97 T7", Region1TemperatureFromEnthalpy, 80, 1500, "0.611041229E+03"},
      {"IF97 T9", Region1TemperatureFromEntropy, 3, 0.5, "0.307842258E+03"},
      {"IF97 T9", Region1TemperatureFromEntropy, 80, 0.5, "0.309979785E+03"},
      {"IF97 T9", Region1TemperatureFromEntropy, 80, 3, "0.565899909E+03"},
      // IF97 Table 24.
      {"IF97 T24 2a", IF97T2PH, 0.001, 3000, "0.534433241E+03"},
      {"IF97 T24 2a", IF97T2PH, 3, 3000, "0.575373370E+03"},
      {"IF97 T24 2a", IF97T2PH, 3, 4000, "0.101077577E+04"},
      {"IF97 T24 2b", IF97T2PH, 5, 3500, "0.801299102E+03"},
      {"IF97 T24 2b", IF97T2PH, 5, 4000, "0.101531583E+04"},
      {"IF97 T24 2b", IF97T2PH, 25, 3500, "0.875279054E+03"},
      {"IF97 T24 2c", IF97T2PH, 40, 2700, "0.743056411E+03"},
      {"IF97 T24 2c", IF97T2PH, 60, 2700, "0.791137067E+03"},
      {"IF97 T24 2c", IF97T2PH, 60, 3200, "0.882756860E+03"},
      // IF97 Table 29.
      {"IF97 T29 2a", IF97T2PS, 0.1, 7.5, "0.399517097E+03"},
      {"IF97 T29 2a", IF97T2PS, 0.1, 8, "0.514127081E+03"},
      {"IF97 T29 2a", IF97T2PS, 2.5, 8, "0.103984917E+04"},
      {"IF97 T29 2b", IF97T2PS, 8, 6, "0.600484040E+03"},
      {"IF97 T29 2b", IF97T2PS, 8, 7.5, "0.106495556E+04"},
      {"IF97 T29 2b", IF97T2PS, 90, 6, "0.103801126E+04"},
      {"IF97 T29 2c", IF97T2PS, 20, 5.75, "0.697992849E+03"},
      {"IF97 T29 2c", IF97T2PS, 80, 5.25, "0.854011484E+03"},
      {"IF97 T29 2c", IF97T2PS, 80, 5.75, "0.949017998E+03"},
      // SR3 Tables 5, 8, 12, 15.
      {"SR3 T5 3a", IF97T3PH, 20, 1700, "6.293083892E+02"},
      {"SR3 T5 3a", IF97T3PH, 50, 2000, "6.905718338E+02"},
      {"SR3 T5 3a", IF97T3PH, 100, 2100, "7.336163014E+02"},
      {"SR3 T5 3b", IF97T3PH, 20, 2500, "6.418418053E+02"},
      {"SR3 T5 3b", IF97T3PH, 50, 2400, "7.351848618E+02"},
      {"SR3 T5 3b", IF97T3PH, 100, 2700, "8.420460876E+02"},
      {"SR3 T8 3a", IF97V3PH, 20, 1700, "1.749903962E-03"},
      {"SR3 T8 3a", IF97V3PH, 50, 2000, "1.908139035E-03"},
      {"SR3 T8 3a", IF97V3PH, 100, 2100, "1.676229776E-03"},
      {"SR3 T8 3b", IF97V3PH, 20, 2500, "6.670547043E-03"},
      {"SR3 T8 3b", IF97V3PH, 50, 2400, "2.801244590E-03"},
      {"SR3 T8 3b", IF97V3PH, 100, 2700, "2.404234998E-03"},
      {"SR3 T12 3a", IF97T3PS, 20, 3.8, "6.282959869E+02"},
      {"SR3 T12 3a", IF97T3PS, 50, 3.6, "6.297158726E+02"},
      {"SR3 T12 3a", IF97T3PS, 100, 4.0, "7.056880237E+02"},
      {"SR3 T12 3b", IF97T3PS, 20, 5.0, "6.401176443E+02"},
      {"SR3 T12 3b", IF97T3PS, 50, 4.5, "7.163687517E+02"},
      {"SR3 T12 3b", IF97T3PS, 100, 5.0, "8.474332825E+02"},
      {"SR3 T15 3a", IF97V3PS, 20, 3.8, "1.733791463E-03"},
      {"SR3 T15 3a", IF97V3PS, 50, 3.6, "1.469680170E-03"},
      {"SR3 T15 3a", IF97V3PS, 100, 4.0, "1.555893131E-03"},
      {"SR3 T15 3b", IF97V3PS, 20, 5.0, "6.262101987E-03"},
      {"SR3 T15 3b", IF97V3PS, 50, 4.5, "2.332634294E-03"},
      {"SR3 T15 3b", IF97V3PS, 100, 5.0, "2.449610757E-03"},
  };
  ExpectPrintedValues(checks);
}

TEST(BackwardPhPs, BoundaryEquationsMeetTheirCheckPoints) {
  // IF97 B2bc: 100 MPa <-> 3516.004323 kJ/kg; dp/dh there is 0.22 MPa kg/kJ,
  // so the printed enthalpy pins the pressure to 1.2e-7 MPa.
  EXPECT_NEAR(B2bcPressure(3516.004323), 100.0, 1.2e-7);
  EXPECT_NEAR(H3abEnthalpy(25.0), 2095.936454, 5e-7);  // SR3 Eq. 1
  EXPECT_NEAR(H2abEnthalpy(7.0), 3376.437884, 5e-7);   // SR2 Eq. 2
}

struct CorrectedCheck {
  Backward backward;
  Backward forward;
  double p, y;
  double printed_t;  // K, six decimals
};

// The region-1 routines return the secant-corrected temperature, at which
// the forward equation reproduces the input far better than at the
// backward value.
TEST(BackwardPhPs, Region1SecantStepMeetsTheForwardEquation) {
  const CorrectedCheck checks[] = {
      {IF97T1PH, IF97R1H, 3, 500, 391.791991},   {IF97T1PH, IF97R1H, 80, 500, 378.124174},
      {IF97T1PH, IF97R1H, 80, 1500, 611.058009}, {IF97T1PS, IF97R1S, 3, 0.5, 307.845394},
      {IF97T1PS, IF97R1S, 80, 0.5, 309.981063},  {IF97T1PS, IF97R1S, 80, 3, 565.907042},
  };
  for (const auto& c : checks) {
    const double t = c.backward(c.p, c.y);
    EXPECT_NEAR(t, c.printed_t, 5e-7) << c.p << " MPa, " << c.y;
    EXPECT_NEAR(c.forward(c.p, t), c.y, 1e-6 * c.y) << c.p << " MPa, " << c.y;
  }
}

// Finds an input y of the region-1 equation BACKWARD at which the forward
// value at the backward temperature equals y exactly in floating point, by
// bisection on y between A and B (where the backward error changes sign).
double InputMetExactly(Backward backward, Backward forward, double p, double a, double b) {
  auto error = [&](double y) { return forward(p, backward(p, y)) - y; };
  const bool rising = error(a) < 0.0;
  for (int pass = 0; pass < 200; ++pass) {
    const double m = 0.5 * (a + b);
    const double e = error(m);
    if (e == 0.0) {
      return m;
    }
    ((e < 0.0) == rising ? a : b) = m;
  }
  return NAN;
}

// Where the backward value already meets the input, the secant step's two
// points coincide; the backward value comes back instead of 0/0.
TEST(BackwardPhPs, Region1SecantStepWithCoincidingPointsKeepsTheBackwardValue) {
  const double h = InputMetExactly(Region1TemperatureFromEnthalpy, IF97R1H, 3.0, 500.0, 1000.0);
  ASSERT_TRUE(std::isfinite(h));
  EXPECT_EQ(IF97T1PH(3.0, h), Region1TemperatureFromEnthalpy(3.0, h));
  const double s = InputMetExactly(Region1TemperatureFromEntropy, IF97R1S, 3.0, 0.9, 1.3);
  ASSERT_TRUE(std::isfinite(s));
  EXPECT_EQ(IF97T1PS(3.0, s), Region1TemperatureFromEntropy(3.0, s));
}

TEST(BackwardPhPs, StatesOnSubregionBoundariesTakeTheReleaseSide) {
  // p = 4 MPa is 2a in both region-2 families.
  ExpectBoundaryBelongsTo(
      "T2PH at 4 MPa", [](double p) { return IF97T2PH(p, 3000.0); }, 4.0, false);
  ExpectBoundaryBelongsTo(
      "T2PS at 4 MPa", [](double p) { return IF97T2PS(p, 6.5); }, 4.0, false);
  // On the B2bc line 2b (the side of lower pressure).
  const double p_bc = B2bcPressure(2800.0);
  ExpectBoundaryBelongsTo(
      "T2PH on B2bc", [](double p) { return IF97T2PH(p, 2800.0); }, p_bc, false);
  // s = 5.85 is 2b (the upper side in s).
  ExpectBoundaryBelongsTo(
      "T2PS at 5.85", [](double s) { return IF97T2PS(10.0, s); }, 5.85, true);
  // h = h3ab(p) and s = s_c are 3a (the lower side).
  const double h3ab = H3abEnthalpy(30.0);
  ExpectBoundaryBelongsTo(
      "T3PH on h3ab", [](double h) { return IF97T3PH(30.0, h); }, h3ab, false);
  ExpectBoundaryBelongsTo(
      "V3PH on h3ab", [](double h) { return IF97V3PH(30.0, h); }, h3ab, false);
  ExpectBoundaryBelongsTo(
      "T3PS at s_c", [](double s) { return IF97T3PS(30.0, s); }, 4.41202148223476, false);
  ExpectBoundaryBelongsTo(
      "V3PS at s_c", [](double s) { return IF97V3PS(30.0, s); }, 4.41202148223476, false);
}

}  // namespace
}  // namespace thermomodels
