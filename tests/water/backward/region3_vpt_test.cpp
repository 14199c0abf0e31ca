// Region-3 v(p,T) backward equations against the check values printed in
// IAPWS SR5-05(2016), the subregion tree's boundary conventions, and the
// saturation-side variants.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "backward_test_support.h"
#include "water/backward/backward.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr double kCriticalVolume = 0.003105590062111801;

using backward_test::PrintedHalfUnit;

struct BoundaryCheck {
  double (*boundary)(const double&);
  const char* name;
  double p;
  const char* printed_t;
};

// SR5 Tables 3 and 11.
TEST(Region3Boundaries, ReproduceReleaseCheckValues) {
  const BoundaryCheck checks[] = {
      {IF97T3AB, "T3ab", 40.0, "6.930341408E+02"}, {IF97T3CD, "T3cd", 25.0, "6.493659208E+02"},
      {IF97T3EF, "T3ef", 40.0, "7.139593992E+02"}, {IF97T3GH, "T3gh", 23.0, "6.498873759E+02"},
      {IF97T3IJ, "T3ij", 23.0, "6.515778091E+02"}, {IF97T3JK, "T3jk", 23.0, "6.558338344E+02"},
      {IF97T3MN, "T3mn", 22.8, "6.496054133E+02"}, {IF97T3OP, "T3op", 22.8, "6.500106943E+02"},
      {IF97T3QU, "T3qu", 22.0, "6.456355027E+02"}, {IF97T3RX, "T3rx", 22.0, "6.482622754E+02"},
      {IF97T3UV, "T3uv", 22.3, "6.477996121E+02"}, {IF97T3WX, "T3wx", 22.3, "6.482049480E+02"},
  };
  for (const auto& c : checks) {
    const double expected = std::stod(c.printed_t);
    EXPECT_NEAR(c.boundary(c.p), expected, PrintedHalfUnit(c.printed_t))
        << c.name << " at p = " << c.p << " MPa";
  }
}

struct TreeCase {
  double p;
  double t;
  char expected;
  const char* why;
};

TEST(Region3Subregions, LimitsBelongToTheSideBelow) {
  const double p_sat_643 = 21.0433673189753;
  const double p3cd = 19.00881189173929;
  const TreeCase cases[] = {
      // Band limits: on the limit the lower band's tests apply.
      {40.0, 650.0, 'c', "40 MPa is band 2 (T below T3cd)"},
      {std::nextafter(40.0, 50.0), 650.0, 'a', "just above 40 MPa is band 1"},
      {25.0, 640.0, 'c', "25 MPa is band 3 (T below T3cd)"},
      {25.0, 649.5, 'g', "25 MPa is band 3 (T3cd < T <= T3gh)"},
      {std::nextafter(25.0, 30.0), 649.5, 'd', "just above 25 MPa is band 2"},
      {23.5, 652.0, 'h', "23.5 MPa is band 4 (T3gh < T <= T3ef)"},
      {23.0, 650.0, 'm', "23 MPa is band 5"},
      {std::nextafter(23.0, 24.0), 650.0, 'h', "just above 23 MPa is band 4"},
      {22.5, 648.0, 'u', "22.5 MPa is band 6 (near-critical tree)"},
      {std::nextafter(22.5, 23.0), 648.0, 'l', "just above 22.5 MPa is band 5"},
      {p_sat_643, 641.0, 's', "psat(643.15 K) belongs to band 7 (liquid)"},
      {p_sat_643, 643.5, 'r', "psat(643.15 K) belongs to band 7 (vapour)"},
      {std::nextafter(p_sat_643, 22.0), 641.0, 'q', "just above psat(643.15 K) is band 6"},
      {20.5, 641.0, 't', "20.5 MPa is band 8 (vapour)"},
      {p3cd, 630.0, 'c', "p3cd belongs to band 9 (liquid)"},
      {p3cd, 635.0, 't', "p3cd belongs to band 9 (vapour)"},
      {22.11, 647.3, 'z', "22.11 MPa belongs to 22.064 < p <= 22.11"},
      {std::nextafter(22.11, 23.0), 647.3, 'w', "just above 22.11 MPa"},
      // Temperatures on a boundary belong to the subregion below it.
      {50.0, IF97T3AB(50.0), 'a', "T = T3ab(50)"},
      {24.0, IF97T3IJ(24.0), 'i', "T = T3ij(24)"},
      {24.0, std::nextafter(IF97T3IJ(24.0), 700.0), 'j', "T just above T3ij(24)"},
      // Comparisons with the saturation temperature.
      {20.0, 638.0, 's', "20 MPa, T3cd < T <= Ts"},
      {20.0, 639.0, 't', "20 MPa, T > Ts"},
      {18.0, IF97TSAT(18.0), 'c', "18 MPa, T = Ts"},
      {18.0, IF97TSAT(18.0) + 0.01, 't', "18 MPa, T > Ts"},
      {22.0, IF97TSAT(22.0) - 0.001, 'y', "22 MPa just below Ts"},
      {22.0, IF97TSAT(22.0) + 0.001, 'z', "22 MPa just above Ts"},
      {21.93161551, IF97TSAT(21.93161551), 'u', "liquid side at 21.93161551 MPa"},
      {21.932, IF97TSAT(21.932), 'y', "liquid side above 21.93161551 MPa, T3uv < T = Ts"},
      {21.94, IF97TSAT(21.94) - 0.001, 'y', "liquid side above 21.93161551 MPa, T3uv < T < Ts"},
      {21.90096265, IF97TSAT(21.90096265) + 1e-3, 'x', "vapour side at 21.90096265 MPa"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Region3Subregion(c.p, c.t, SubregionSide::kByTemperature), c.expected)
        << c.why << " (p = " << c.p << ", T = " << c.t << ")";
  }
}

struct SaturationCase {
  double t;  // K; the pressure is its saturation pressure
  char liquid;
  char vapour;
};

TEST(Region3SaturatedVolume, SidesPickTheirSubregionWhateverTheRounding) {
  const SaturationCase cases[] = {
      {630.0, 'c', 't'},
      {640.0, 's', 't'},
      {642.0, 's', 'r'},
      {645.0, 'u', 'x'},
  };
  for (const auto& c : cases) {
    const double p = IF97PSAT(c.t);
    EXPECT_EQ(Region3Subregion(p, c.t, SubregionSide::kLiquid), c.liquid) << c.t << " K";
    EXPECT_EQ(Region3Subregion(p, c.t, SubregionSide::kVapour), c.vapour) << c.t << " K";
  }
  // By pressure: 22.0 and 21.935 MPa lie above 21.93161551 MPa (liquid 3y); 21.92 MPa
  // does not (liquid 3u); both lie above 21.90096265 MPa (vapour 3z).
  for (const double p : {22.0, 21.935, 21.92}) {
    const double ts = IF97TSAT(p);
    EXPECT_EQ(Region3Subregion(p, ts, SubregionSide::kLiquid), p > 21.93 ? 'y' : 'u') << p;
    EXPECT_EQ(Region3Subregion(p, ts, SubregionSide::kVapour), 'z') << p;
  }
}

TEST(Region3SaturatedVolume, ReproducesTheSaturationLineValues) {
  struct Case {
    double t;
    const char* full;
    const char* liquid;
    const char* vapour;
  };
  // At 630 K the full tree falls on the vapour side by rounding, at 645 K too.
  const Case cases[] = {{630.0, "7.524817e-3", "1.837130e-3", "7.524817e-3"},
                        {645.0, "4.444094e-3", "2.366476e-3", "4.444094e-3"}};
  for (const auto& c : cases) {
    const double p = IF97PSAT(c.t);
    EXPECT_NEAR(IF97V3PT(p, c.t), std::stod(c.full), PrintedHalfUnit(c.full)) << c.t;
    EXPECT_NEAR(IF97V3PTL(p, c.t), std::stod(c.liquid), PrintedHalfUnit(c.liquid)) << c.t;
    EXPECT_NEAR(IF97V3PTV(p, c.t), std::stod(c.vapour), PrintedHalfUnit(c.vapour)) << c.t;
  }
  EXPECT_NEAR(IF97PSAT(630.0), 17.969098, 5e-7);
  EXPECT_NEAR(IF97PSAT(645.0), 21.514139, 5e-7);
}

TEST(Region3SaturatedVolume, LiquidBelowAndVapourAboveTheCriticalVolume) {
  for (double t = 623.2; t < 647.096; t += 0.01) {
    const double p = IF97PSAT(t);
    const double liquid = IF97V3PTL(p, t);
    const double vapour = IF97V3PTV(p, t);
    ASSERT_LT(liquid, kCriticalVolume) << t << " K";
    ASSERT_GT(vapour, kCriticalVolume) << t << " K";
    if (p <= 22.064) {
      const char l = Region3Subregion(p, t, SubregionSide::kLiquid);
      const char v = Region3Subregion(p, t, SubregionSide::kVapour);
      ASSERT_TRUE(l == 'c' || l == 's' || l == 'u' || l == 'y') << t << " K: 3" << l;
      ASSERT_TRUE(v == 't' || v == 'r' || v == 'k' || v == 'x' || v == 'z') << t << " K: 3" << v;
    }
  }
}

TEST(Region3SaturatedVolume, SidesAgreeWithTheFullTreeAbove22_5MPa) {
  for (double p = 22.55; p <= 100.0; p += 0.75) {
    for (double t = 625.0; t <= 860.0; t += 2.5) {
      const double full = IF97V3PT(p, t);
      ASSERT_EQ(IF97V3PTL(p, t), full) << p << " MPa, " << t << " K";
      ASSERT_EQ(IF97V3PTV(p, t), full) << p << " MPa, " << t << " K";
    }
  }
}

// The backward volume against the root of the region-3 basic equation on a
// grid over region 3 and a finer one over the near-critical band, away from
// the saturation line (and its continuation just above the critical
// pressure).  SR5 main equations: 1e-5 relative; auxiliary 3u-3z: 1e-3.
TEST(Region3Volume, AgreesWithTheBasicEquationRoot) {
  struct Grid {
    double p_low, p_high;
    int p_steps;
    double t_low, t_high;
    int t_steps;
  };
  const Grid grids[] = {{16.6, 100.0, 150, 623.2, 863.1, 60}, {21.05, 22.5, 100, 640.0, 655.0, 60}};
  int compared = 0;
  double worst_main = 0.0;
  double worst_auxiliary = 0.0;
  for (const auto& g : grids) {
    for (int i = 0; i <= g.p_steps; ++i) {
      const double p = g.p_low + i * (g.p_high - g.p_low) / g.p_steps;
      for (int j = 0; j <= g.t_steps; ++j) {
        const double t = g.t_low + j * (g.t_high - g.t_low) / g.t_steps;
        const double p_b23 = 348.05185628969 - 1.1671859879975 * t + 0.0010192970039326 * t * t;
        if (!(p > p_b23) || (p <= 22.5 && std::fabs(t - IF97TSAT(p)) < 0.5)) {
          continue;
        }
        const double exact = IF97R3VIT(p, t);
        ASSERT_NE(exact, -1000.0) << p << " MPa, " << t << " K";
        const char sub = Region3Subregion(p, t, SubregionSide::kByTemperature);
        const bool auxiliary = sub >= 'u';
        const double deviation = std::fabs(IF97V3PT(p, t) / exact - 1.0);
        EXPECT_LE(deviation, auxiliary ? 1e-3 : 1e-5)
            << "3" << sub << " at " << p << " MPa, " << t << " K";
        double& worst = auxiliary ? worst_auxiliary : worst_main;
        worst = std::max(worst, deviation);
        ++compared;
      }
    }
  }
  EXPECT_GE(compared, 5000);
  std::printf("compared %d states; largest |dv/v| %.2e (3a-3t), %.2e (3u-3z)\n", compared,
              worst_main, worst_auxiliary);
}

TEST(Region3Volume, BadInputGivesTheFailureValue) {
  const double nan = std::nan("");
  const double inf = HUGE_VAL;
  const double states[][2] = {{nan, 650.0}, {25.0, nan},    {0.0, 650.0}, {-25.0, 650.0},
                              {25.0, 0.0},  {25.0, -650.0}, {inf, 650.0}, {25.0, inf}};
  for (const auto& s : states) {
    EXPECT_EQ(IF97V3PT(s[0], s[1]), -1.0) << s[0] << ", " << s[1];
    EXPECT_EQ(IF97V3PTL(s[0], s[1]), -1.0) << s[0] << ", " << s[1];
    EXPECT_EQ(IF97V3PTV(s[0], s[1]), -1.0) << s[0] << ", " << s[1];
  }
}

}  // namespace
}  // namespace thermomodels
