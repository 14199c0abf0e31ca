// Pressure from (h,s), the saturation boundaries and h from (p,s): the
// check values printed in SR2 (Tables 3, 9), SR3 (Tables 18, 20) and SR4
// (Tables 5, 11, 29), the subregion choice of p2(h,s), and the enthalpies
// from (p,s) against the forward equations.
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

double P3satH(const double& h, const double&) { return IF97P3SATH(h); }
double P3satS(const double&, const double& s) { return IF97P3SATS(s); }
double HsatLiquid(const double&, const double& s) { return IF97HSATLS(s); }

TEST(BackwardHs, ReproduceReleaseCheckValues) {
  const PrintedCheck checks[] = {
      {"SR2 T3", IF97P1HS, 0.001, 0, "9.800980612E-04"},
      {"SR2 T3", IF97P1HS, 90, 0, "9.192954727E+01"},
      {"SR2 T3", IF97P1HS, 1500, 3.4, "5.868294423E+01"},
      {"SR2 T9 2a", IF97P2HS, 2800, 6.5, "1.371012767E+00"},
      {"SR2 T9 2a", IF97P2HS, 2800, 9.5, "1.879743844E-03"},
      {"SR2 T9 2a", IF97P2HS, 4100, 9.5, "1.024788997E-01"},
      {"SR2 T9 2b", IF97P2HS, 2800, 6, "4.793911442E+00"},
      {"SR2 T9 2b", IF97P2HS, 3600, 6, "8.395519209E+01"},
      {"SR2 T9 2b", IF97P2HS, 3600, 7, "7.527161441E+00"},
      {"SR2 T9 2c", IF97P2HS, 2800, 5.1, "9.439202060E+01"},
      {"SR2 T9 2c", IF97P2HS, 2800, 5.8, "8.414574124E+00"},
      {"SR2 T9 2c", IF97P2HS, 3400, 5.8, "8.376903879E+01"},
      {"SR3 T18", P3satH, 1700, 0, "1.724175718E+01"},
      {"SR3 T18", P3satH, 2000, 0, "2.193442957E+01"},
      {"SR3 T18", P3satH, 2400, 0, "2.018090839E+01"},
      {"SR3 T20", P3satS, 0, 3.8, "1.687755057E+01"},
      {"SR3 T20", P3satS, 0, 4.2, "2.164451789E+01"},
      {"SR3 T20", P3satS, 0, 5.2, "1.668968482E+01"},
      {"SR4 T5 3a", IF97P3HS, 1700, 3.8, "2.555703246E+01"},
      {"SR4 T5 3a", IF97P3HS, 2000, 4.2, "4.540873468E+01"},
      {"SR4 T5 3a", IF97P3HS, 2100, 4.3, "6.078123340E+01"},
      {"SR4 T5 3b", IF97P3HS, 2600, 5.1, "3.434999263E+01"},
      {"SR4 T5 3b", IF97P3HS, 2400, 4.7, "6.363924887E+01"},
      {"SR4 T5 3b", IF97P3HS, 2700, 5.0, "8.839043281E+01"},
      {"SR4 T11 h'1", HsatLiquid, 0, 1.0, "3.085509647E+02"},
      {"SR4 T11 h'1", HsatLiquid, 0, 2.0, "7.006304472E+02"},
      {"SR4 T11 h'1", HsatLiquid, 0, 3.0, "1.198359754E+03"},
      {"SR4 T11 h'3a", HsatLiquid, 0, 3.8, "1.685025565E+03"},
      {"SR4 T11 h'3a", HsatLiquid, 0, 4.0, "1.816891476E+03"},
      {"SR4 T11 h'3a", HsatLiquid, 0, 4.2, "1.949352563E+03"},
      {"SR4 T29", IF97TSATHS, 1800, 5.3, "3.468475498E+02"},
      {"SR4 T29", IF97TSATHS, 2400, 6.0, "4.251373305E+02"},
      {"SR4 T29", IF97TSATHS, 2500, 5.5, "5.225579013E+02"},
  };
  ExpectPrintedValues(checks);
}

TEST(BackwardHs, BoundaryStatesTakeTheReleaseSide) {
  // s = 5.85 is 2b; s = 7.85234039987821 is 2a without the h2ab test (here
  // h lies above h2ab, so the h2ab test alone would give 2b).
  ExpectBoundaryBelongsTo(
      "P2HS at 5.85", [](double s) { return IF97P2HS(2800.0, s); }, 5.85, true);
  ExpectBoundaryBelongsTo(
      "P2HS at 7.852", [](double s) { return IF97P2HS(4400.0, s); }, 7.85234039987821, true);
  // s = 6.06970915951902 goes on to the h2ab test: with h below h2ab, 2a.
  ExpectBoundaryBelongsTo(
      "P2HS at 6.0697, h low", [](double s) { return IF97P2HS(2800.0, s); }, 6.06970915951902,
      true);
  // h exactly h2ab(s) is 2a.
  ExpectBoundaryBelongsTo(
      "P2HS on h2ab", [](double h) { return IF97P2HS(h, 7.0); }, H2abEnthalpy(7.0), false);
  // s = s_c is p3a; s = 3.77828134 is h'1.
  ExpectBoundaryBelongsTo(
      "P3HS at s_c", [](double s) { return IF97P3HS(2000.0, s); }, 4.41202148223476, false);
  ExpectBoundaryBelongsTo(
      "HSATLS at 3.778", [](double s) { return IF97HSATLS(s); }, 3.77828134, false);
}

// The enthalpy from (p,s) and the entropy from (p,h) are forward values at
// the backward temperature: they reproduce the state's own within that
// temperature's error (region 1 secant-corrected: 1e-6 relative; region 2:
// IF97 allows 10 mK in 2a and 25 mK in 2b and 2c, times cp or cp/T).
TEST(BackwardHs, EnthalpyFromPsAndEntropyFromPhFollowTheBackwardTemperature) {
  const double liquid[][2] = {{0.1, 300.0}, {3.0, 450.0}, {50.0, 600.0}};
  for (const auto& st : liquid) {
    const double h = IF97R1H(st[0], st[1]);
    EXPECT_NEAR(IF97H1PS(st[0], IF97R1S(st[0], st[1])), h, 1e-6 * h) << st[0] << " MPa, " << st[1];
  }
  const double vapour[][2] = {{0.01, 400.0}, {3.0, 700.0}, {10.0, 700.0}, {60.0, 800.0}};
  for (const auto& st : vapour) {
    const double cp = IF97R2CP(st[0], st[1]);
    EXPECT_NEAR(IF97H2PS(st[0], IF97R2S(st[0], st[1])), IF97R2H(st[0], st[1]), 0.025 * cp)
        << st[0] << " MPa, " << st[1] << " K";
    EXPECT_NEAR(IF97S2PH(st[0], IF97R2H(st[0], st[1])), IF97R2S(st[0], st[1]), 0.025 * cp / st[1])
        << st[0] << " MPa, " << st[1] << " K";
  }
}

// The (h,s) equations invert the forward equations within the
// consistency the releases require: region 1 0.06 % above 2.5 MPa, region 2
// and region 3 0.01 %, Tsat(h,s) 25 mK.
TEST(BackwardHs, InvertTheForwardEquationsWithinTheReleasesConsistency) {
  struct State {
    double p, t;
    double relative;  // allowed |dp|/p
  };
  const State region1[] = {{5.0, 300.0, 6e-4}, {50.0, 500.0, 6e-4}, {90.0, 600.0, 6e-4}};
  for (const auto& st : region1) {
    const double p = IF97P1HS(IF97R1H(st.p, st.t), IF97R1S(st.p, st.t));
    EXPECT_NEAR(p, st.p, st.relative * st.p) << st.p << " MPa, " << st.t << " K";
  }
  const State region2[] = {{0.1, 500.0, 1e-4},
                           {3.0, 900.0, 1e-4},
                           {10.0, 700.0, 1e-4},
                           {30.0, 700.0, 1e-4},
                           {80.0, 1000.0, 1e-4}};
  for (const auto& st : region2) {
    const double p = IF97P2HS(IF97R2H(st.p, st.t), IF97R2S(st.p, st.t));
    EXPECT_NEAR(p, st.p, st.relative * st.p) << st.p << " MPa, " << st.t << " K";
  }
  // Region 3 by (T, v).
  const double region3[][2] = {{650.0, 1.0 / 600.0}, {700.0, 1.0 / 300.0}, {700.0, 1.0 / 500.0}};
  for (const auto& st : region3) {
    const double p = IF97R3P(st[0], st[1]);
    EXPECT_NEAR(IF97P3HS(IF97R3H(st[0], st[1]), IF97R3S(st[0], st[1])), p, 1e-4 * p)
        << st[0] << " K, " << st[1];
  }
  // Wet steam at 400 K, quality 0.6.
  const double t = 400.0, ps = IF97PSAT(400.0);
  const double h = IF97R1H(ps, t) + 0.6 * (IF97R2H(ps, t) - IF97R1H(ps, t));
  const double s = IF97R1S(ps, t) + 0.6 * (IF97R2S(ps, t) - IF97R1S(ps, t));
  EXPECT_NEAR(IF97TSATHS(h, s), t, 0.025);
}

}  // namespace
}  // namespace thermomodels
