// Routers by pressure and enthalpy or entropy: round trips through the
// forward equations in every region, the two-phase region, the boundary
// cases of the decision trees, and the refusals (region 5 beyond its solve
// or above 50 MPa, inputs that are not finite numbers).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <string>

#include "water/backward/backward.h"
#include "water/drivers/drivers.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr double kFailure = -1.0;
constexpr double kCriticalPressure = 22.0639999998894;  // MPa

// IF97 region of a single phase at (p, T), with the subregion of region 2
// that the (p,h) or the (p,s) backward equations use.
std::string RegionOf(double p, double t, bool by_entropy) {
  if (t <= 623.15 && p >= IF97PSAT(t)) return "1";
  if (t > 1073.15) return "5";
  if (t > 623.15 && t <= 863.15 && p > IF97B23P(t)) return "3";
  if (p <= 4.0) return "2a";
  if (by_entropy) return IF97R2S(p, t) < 5.85 ? "2c" : "2b";
  return p > B2bcPressure(IF97R2H(p, t)) ? "2c" : "2b";
}

// Single-phase states on a grid over the whole of IF97 (region 5 up to
// 50 MPa), at least 0.1 K off the saturation line.
template <class Visit>
void ForEachSinglePhaseState(const Visit& visit) {
  const double pressures[] = {0.0007, 0.002, 0.01, 0.05, 0.2,  1.0,  3.0,  4.0,  6.0,  10.0, 16.0,
                              17.0,   19.0,  21.0, 22.0, 23.0, 25.0, 30.0, 40.0, 50.0, 70.0, 100.0};
  for (double p : pressures) {
    for (double t = 274.0; t <= 2270.0; t += (t < 900.0 ? 7.0 : 29.0)) {
      if (t > 1073.15 && p > 50.0) continue;
      if (p < kCriticalPressure && std::fabs(t - IF97TSAT(p)) < 0.1) continue;
      visit(p, t);
    }
  }
}

// h, s and v of the forward equation of REGION at (p, T).
struct Forward {
  double h, s, v;
};
Forward ForwardOf(const std::string& region, double p, double t) {
  if (region == "1") return {IF97R1H(p, t), IF97R1S(p, t), IF97R1V(p, t)};
  if (region == "5") return {IF97R5H(p, t), IF97R5S(p, t), IF97R5V(p, t)};
  if (region != "3") return {IF97R2H(p, t), IF97R2S(p, t), IF97R2V(p, t)};
  const double v = IF97R3VIT(p, t);
  return {IF97R3H(t, v), IF97R3S(t, v), v};
}

// Worst |T(router) - T| [K] per region (region 5 relative to T).
std::map<std::string, double> WorstRoundTrip(bool entropy) {
  std::map<std::string, double> worst;
  ForEachSinglePhaseState([&](double p, double t) {
    const std::string region = RegionOf(p, t, entropy);
    const Forward f = ForwardOf(region, p, t);
    const double y = entropy ? f.s : f.h;
    const double back = entropy ? IF97TPS(10.0 * p, y) : IF97TPH(10.0 * p, y);
    double error = std::fabs(back - t);
    if (region == "5") error /= t;
    double& w = worst[region];
    w = std::max(w, error);
    if (!(error < 0.03)) {
      ADD_FAILURE() << (entropy ? "TPS" : "TPH") << " at " << p << " MPa, " << t << " K (region "
                    << region << "): " << back;
    }
  });
  return worst;
}

// Worst temperature error of the routers per region over the grid [K;
// region 5 relative to T], against what the backward equations promise:
// IF97 allows 25 mK in region 1 (the secant step brings it to micro-
// kelvins), 10 mK in 2a (and in 2b from entropy), 25 mK elsewhere in region
// 2 and in region 3 (SR3); the region-5 solve stops at 1e-8 relative.
struct RoundTripBound {
  const char* region;
  double from_enthalpy;  // allowed; the worst seen is in the comment
  double from_entropy;
};
constexpr RoundTripBound kRoundTripBounds[] = {
    {"1", 1e-5, 1e-6},     // worst 6.6e-6 K, 4.3e-7 K
    {"2a", 0.010, 0.010},  // worst 8.6e-3 K, 8.0e-3 K
    {"2b", 0.025, 0.010},  // worst 9.4e-3 K, 5.9e-3 K
    {"2c", 0.025, 0.025},  // worst 2.33e-2 K, 1.86e-2 K
    {"3", 0.025, 0.025},   // worst 2.34e-2 K, 2.44e-2 K
    {"5", 2e-8, 2e-8},     // worst 1.0e-8, 1.0e-8 (relative)
};

TEST(RoutersPhPs, TemperatureRoundTripsInEveryRegion) {
  for (bool entropy : {false, true}) {
    const std::map<std::string, double> worst = WorstRoundTrip(entropy);
    ASSERT_EQ(worst.size(), std::size(kRoundTripBounds));
    for (const auto& bound : kRoundTripBounds) {
      EXPECT_LE(worst.at(bound.region), entropy ? bound.from_entropy : bound.from_enthalpy)
          << (entropy ? "IF97TPS" : "IF97TPH") << " region " << bound.region;
    }
  }
}

// The other single-phase routers follow the backward temperature (and in
// region 3 the backward volume, within SR3's 0.01 %).
TEST(RoutersPhPs, PropertiesFollowTheBackwardTemperature) {
  ForEachSinglePhaseState([](double p, double t) {
    const std::string by_h = RegionOf(p, t, false), by_s = RegionOf(p, t, true);
    const auto [h, s, v] = ForwardOf(by_h, p, t);
    EXPECT_NEAR(IF97SPH(10.0 * p, h), s, 3e-4) << p << " MPa, " << t << " K";
    EXPECT_NEAR(IF97VPH(10.0 * p, h), v, 2e-4 * v) << p << " MPa, " << t << " K";
    EXPECT_NEAR(IF97HPS(10.0 * p, s), h, 0.2) << p << " MPa, " << t << " K";
    EXPECT_NEAR(IF97VPS(10.0 * p, s), v, 2e-4 * v) << p << " MPa, " << t << " K";
    EXPECT_EQ(IF97XPH(10.0 * p, h), kFailure) << p << " MPa, " << t << " K " << by_h;
    EXPECT_EQ(IF97XPS(10.0 * p, s), kFailure) << p << " MPa, " << t << " K " << by_s;
  });
}

// Under the saturation line: the temperature routers give the saturation
// temperature, the quality routers the vapour fraction (within 1e-6 where
// the saturated phases come from regions 1 and 2; above 623.15 K the
// routers use the SR5 backward saturated volumes, the test the iterated
// ones, so within 3e-3), IF97ALLPH a density between the saturated ones.
TEST(RoutersPhPs, TwoPhaseStatesInDetail) {
  for (double t = 275.0; t < 647.0; t += (t < 620.0 ? 15.0 : 3.0)) {
    const double p = IF97PSAT(t);
    const bool band = t > 623.15;
    const double v_liquid = band ? IF97R3VITL(p, t) : IF97R1V(p, t);
    const double v_vapour = band ? IF97R3VITV(p, t) : IF97R2V(p, t);
    const double h_liquid = band ? IF97R3H(t, v_liquid) : IF97R1H(p, t);
    const double h_vapour = band ? IF97R3H(t, v_vapour) : IF97R2H(p, t);
    const double s_liquid = band ? IF97R3S(t, v_liquid) : IF97R1S(p, t);
    const double s_vapour = band ? IF97R3S(t, v_vapour) : IF97R2S(p, t);
    const double tolerance = band ? 3e-3 : 1e-6;
    for (double x : {0.01, 0.3, 0.7, 0.99}) {
      const double h = h_liquid + x * (h_vapour - h_liquid);
      const double s = s_liquid + x * (s_vapour - s_liquid);
      const double P = 10.0 * p;
      EXPECT_EQ(IF97TPH(P, h), IF97TSAT(p)) << t << " K, x = " << x;
      EXPECT_EQ(IF97TPS(P, s), IF97TSAT(p)) << t << " K, x = " << x;
      EXPECT_NEAR(IF97XPH(P, h), x, tolerance) << t << " K, x = " << x;
      EXPECT_NEAR(IF97XPS(P, s), x, tolerance) << t << " K, x = " << x;
      const double v = v_liquid + x * (v_vapour - v_liquid);
      EXPECT_NEAR(IF97VPH(P, h), v, (band ? 5e-3 : 1e-6) * v) << t << " K, x = " << x;
      EXPECT_NEAR(IF97VPS(P, s), v, (band ? 5e-3 : 1e-6) * v) << t << " K, x = " << x;
      EXPECT_NEAR(IF97SPH(P, h), s, band ? 2e-3 : 1e-9) << t << " K, x = " << x;
      EXPECT_NEAR(IF97HPS(P, s), h, band ? 2.0 : 1e-6) << t << " K, x = " << x;
      double out[8];
      IF97ALLPH(P, h, out[0], out[1], out[2], out[3], out[4], out[5], out[6], out[7]);
      EXPECT_EQ(out[0], IF97TSAT(p));
      EXPECT_EQ(out[1], IF97TSAT(p));
      EXPECT_EQ(out[2], IF97XPH(P, h));
      EXPECT_GT(out[3], 1.0 / v_vapour) << t << " K, x = " << x;
      EXPECT_LT(out[3], 1.0 / v_liquid) << t << " K, x = " << x;
      for (int k = 4; k < 8; ++k) {
        EXPECT_GT(out[k], 0.0) << "output " << k << " at " << t << " K, x = " << x;
      }
      if (!band) {
        // Below the band the saturated phases' transport properties are
        // those of the (p,T) routers; viscosity and conductivity mix by the
        // vapour's volume fraction, cp by the mass fraction.
        const double xr = out[2];
        const double w = xr * v_vapour / (v_liquid + xr * (v_vapour - v_liquid));
        const double ts = IF97TSAT(p);
        auto mix = [](double liquid, double vapour, double f) {
          return liquid + f * (vapour - liquid);
        };
        EXPECT_NEAR(out[4], mix(IF97CPPTX(P, ts, 0.0), IF97CPPTX(P, ts, 1.0), xr), 1e-9 * out[4]);
        EXPECT_NEAR(out[5], mix(IF97LAMPTX(P, ts, 0.0), IF97LAMPTX(P, ts, 1.0), w), 1e-9 * out[5]);
        EXPECT_NEAR(out[6], mix(IF97ETAPTX(P, ts, 0.0), IF97ETAPTX(P, ts, 1.0), w), 1e-9 * out[6]);
      }
    }
  }
}

struct AllOutputs {
  double t, tsat, x, rho, cp, tcon, eta, prandtl;
};

AllOutputs AllPh(double P, double h) {
  AllOutputs o{};
  IF97ALLPH(P, h, o.t, o.tsat, o.x, o.rho, o.cp, o.tcon, o.eta, o.prandtl);
  return o;
}

// A single phase: the bundle carries the router temperature and volume and
// the transport properties the (p,T) routers give at that temperature.
TEST(RoutersPhPs, BundleOfASinglePhase) {
  const double states[][2] = {{10.0, 350.0}, {10.0, 600.0}, {300.0, 700.0}, {10.0, 1500.0}};
  for (const auto& st : states) {
    const double P = st[0], p = P / 10.0;
    const double h = st[1] > 1073.15
                         ? IF97R5H(p, st[1])
                         : (st[1] < IF97TSAT(p) ? IF97R1H(p, st[1]) : IF97R2H(p, st[1]));
    const AllOutputs o = AllPh(P, h);
    const double t = IF97TPH(P, h);
    EXPECT_EQ(o.t, t);
    EXPECT_EQ(o.tsat, p <= kCriticalPressure ? IF97TSAT(p) : kFailure);
    EXPECT_EQ(o.x, kFailure);
    EXPECT_DOUBLE_EQ(o.rho, 1.0 / IF97VPH(P, h));
    EXPECT_NEAR(o.cp, IF97CPPTX(P, t, -1.0), 1e-12 * o.cp) << P << " bar, " << st[1] << " K";
    if (st[1] < 1173.2) {  // the (p,T) transport routers stop there
      EXPECT_NEAR(o.tcon, IF97LAMPTX(P, t, -1.0), 1e-12 * o.tcon) << P << " bar, " << st[1] << " K";
      EXPECT_NEAR(o.eta, IF97ETAPTX(P, t, -1.0), 1e-12 * o.eta) << P << " bar, " << st[1] << " K";
    }
    EXPECT_DOUBLE_EQ(o.prandtl, o.eta * o.cp * 1000.0 / o.tcon);
  }
}

TEST(RoutersPhPs, CriticalPressureIsSubcriticalByEnthalpyAndSupercriticalByEntropy) {
  const double P = 220.639999998894;  // bar: exactly the end of the saturation line
  const double above = std::nextafter(P, 1e9), below = std::nextafter(P, 0.0);
  const double ts = IF97TSAT(kCriticalPressure);
  // (p,h): the saturation temperature is known, and h on p3sat(h) is on
  // the line; just above, neither.
  EXPECT_EQ(AllPh(P, 2087.5).tsat, ts);
  EXPECT_EQ(AllPh(above, 2087.5).tsat, kFailure);
  EXPECT_EQ(IF97TPH(P, 2087.5), ts);
  EXPECT_EQ(IF97TPH(above, 2087.5), IF97T3PH(above / 10.0, 2087.5));
  // (p,s): region 1 below s = 3.397 without the 273.15 K floor of the
  // band below it; the quality router still counts it as subcritical.
  const double t1 = IF97T1PS(kCriticalPressure, -0.03);
  ASSERT_LT(t1, 273.15);
  EXPECT_EQ(IF97TPS(P, -0.03), t1);
  EXPECT_EQ(IF97TPS(below, -0.03), 273.15);
  EXPECT_EQ(IF97XPS(P, 4.41202148223476), 1.0);
  EXPECT_EQ(IF97XPS(above, 4.41202148223476), kFailure);
}

TEST(RoutersPhPs, SaturatedPhasesBelowTheBand) {
  const double P = 10.0, p = 1.0, ts = IF97TSAT(p);
  const double h_vapour = IF97R2H(p, ts), h_liquid = IF97R1H(p, ts);
  EXPECT_EQ(IF97TPH(P, h_vapour + 5e-7), ts);
  EXPECT_EQ(IF97XPH(P, h_vapour + 5e-7), 1.0);
  EXPECT_EQ(IF97VPH(P, h_vapour + 5e-7), IF97R2V(p, ts));
  EXPECT_GE(IF97TPH(P, h_vapour + 2e-6), ts + 1e-5);
  EXPECT_EQ(IF97XPH(P, h_vapour + 2e-6), kFailure);
  EXPECT_EQ(IF97TPH(P, h_liquid - 5e-7), ts);
  EXPECT_EQ(IF97XPH(P, h_liquid - 5e-7), 0.0);
  EXPECT_EQ(IF97VPH(P, h_liquid - 5e-7), IF97R1V(p, ts));
  EXPECT_LE(IF97TPH(P, h_liquid - 2e-6), ts - 1e-5);
  EXPECT_EQ(IF97XPH(P, h_liquid - 2e-6), kFailure);
  const double s_vapour = IF97R2S(p, ts), s_liquid = IF97R1S(p, ts);
  EXPECT_EQ(IF97TPS(P, s_vapour + 5e-9), ts);
  EXPECT_EQ(IF97XPS(P, s_vapour + 5e-9), 1.0);
  EXPECT_EQ(IF97VPS(P, s_vapour + 5e-9), IF97R2V(p, ts));
  EXPECT_GE(IF97TPS(P, s_vapour + 2e-8), ts + 1e-5);
  EXPECT_EQ(IF97TPS(P, s_liquid - 5e-9), ts);
  EXPECT_EQ(IF97XPS(P, s_liquid - 5e-9), 0.0);
  EXPECT_LE(IF97TPS(P, s_liquid - 2e-8), ts - 1e-5);
  // 9.16 lies below the quality router's 9.163 limit but above s''.
  EXPECT_EQ(IF97XPS(P, 9.16), kFailure);
  // Where the saturated-vapour values are least: h'' at the lowest
  // pressure, s'' at the top of the band (at the lowest pressure s'' lies
  // above 9.156, where the entropy tree asks no saturation question).
  for (const double P_edge : {0.0061, 165.291643}) {
    const double p_edge = P_edge / 10.0, t_edge = IF97TSAT(p_edge);
    EXPECT_EQ(IF97TPH(P_edge, IF97R2H(p_edge, t_edge) + 5e-7), t_edge) << P_edge;
    EXPECT_GE(IF97TPH(P_edge, IF97R2H(p_edge, t_edge) + 2e-6), t_edge + 1e-5) << P_edge;
  }
  const double P_top = 165.291643, p_top = P_top / 10.0, t_top = IF97TSAT(p_top);
  EXPECT_EQ(IF97TPS(P_top, IF97R2S(p_top, t_top) + 5e-9), t_top);
  EXPECT_GE(IF97TPS(P_top, IF97R2S(p_top, t_top) + 2e-8), t_top + 1e-5);
}

// Between regions 2 and 5 at low pressure: region 2 up to h2(p, 1073.15 K)
// from 4055 kJ/kg on, region 5 above 4161 kJ/kg; there (only there) a
// region-5 temperature above 2273.16 K is refused.
TEST(RoutersPhPs, RegionTwoToFiveBandByEnthalpy) {
  const double P = 10.0, p = 1.0;
  const double h_boundary = IF97R2H(p, 1073.15000001);
  EXPECT_EQ(IF97TPH(P, h_boundary), IF97T2PH(p, h_boundary));
  EXPECT_EQ(IF97TPH(P, std::nextafter(h_boundary, 1e9)),
            IF97T5PH(p, std::nextafter(h_boundary, 1e9)));
  EXPECT_EQ(IF97TPH(P, 4161.0), IF97T5PH(p, 4161.0));
  EXPECT_EQ(IF97TPH(P, 4161.01), IF97T5PH(p, 4161.01));
  const double hot = IF97R5H(0.1, 2274.0);
  EXPECT_EQ(IF97TPH(1.0, hot), kFailure);
  const AllOutputs o = AllPh(1.0, hot);
  EXPECT_EQ(o.t, kFailure);
  EXPECT_EQ(o.tsat, IF97TSAT(0.1));
  EXPECT_EQ(o.rho, kFailure);
  // In the band above 16.5291643 MPa the same temperature is served.
  EXPECT_NEAR(IF97TPH(200.0, IF97R5H(20.0, 2274.0)), 2274.0, 1e-4);
}

// Near the region-3 saturation line at 20 MPa: within 0.01 % of
// p3sat(1800 kJ/kg) the state is on the line (quality 0 below the critical
// enthalpy, 1 above it).
TEST(RoutersPhPs, OnTheRegion3SaturationLine) {
  const double h = 1800.0, p = IF97P3SATH(h), P = 10.0 * p;
  ASSERT_NEAR(p, 20.0, 1.0);
  const double ts = IF97TSAT(P / 10.0);
  EXPECT_EQ(IF97TPH(P, h), ts);
  EXPECT_EQ(IF97VPH(P, h), IF97V3PH(P / 10.0, h));
  EXPECT_EQ(IF97SPH(P, h), IF97R3S(ts, IF97V3PH(P / 10.0, h)));
  EXPECT_EQ(IF97XPH(P, h), 0.0);
  EXPECT_EQ(IF97XPH(10.0 * IF97P3SATH(2100.0), 2100.0), 1.0);
  // 0.05 % under the line the saturated region-3 phases decide.
  const double Pu = P * (1.0 - 5e-4);
  const double xu = IF97XPH(Pu, h);
  EXPECT_GE(xu, 0.0);
  EXPECT_LE(xu, 1.0);
  EXPECT_EQ(IF97TPH(Pu, h), IF97TSAT(Pu / 10.0));
}

// Close under p3sat(h) (0.01 % to 0.1 %) the saturated region-3 phases
// decide.  At 21.2 MPa p3sat of the saturated-liquid enthalpy lies 0.019 %
// above p, so a state just below h' is such a state, on the liquid side:
// a region-3 temperature bounded below Ts for the temperature router, the
// unbounded backward temperature for the entropy and the bundle, and no
// quality.
TEST(RoutersPhPs, CloseUnderTheRegion3SaturationLine) {
  const double p = 21.2, P = 212.0, ts = IF97TSAT(p);
  const double h = IF97R3H(ts, IF97V3PTL(p, ts)) - 0.01;
  const double p3 = IF97P3SATH(h);
  ASSERT_LT(p, p3);
  ASSERT_GT((p3 - p) / p3, 1e-4);
  const double t3 = IF97T3PH(p, h);
  ASSERT_GT(t3, ts - 1e-5);
  EXPECT_EQ(IF97TPH(P, h), ts - 1e-5);
  EXPECT_EQ(IF97XPH(P, h), kFailure);
  EXPECT_EQ(IF97VPH(P, h), IF97V3PH(p, h));
  EXPECT_EQ(IF97SPH(P, h), IF97R3S(t3, IF97V3PH(p, h)));
  EXPECT_EQ(AllPh(P, h).t, t3);
  EXPECT_EQ(AllPh(P, h).x, kFailure);
}

// Refusals: region 5 whose solve does not converge (never a -1000 K
// temperature, never properties at -1000 K), region 5 above 50 MPa,
// beyond the top of region 5 by entropy, and inputs that are not finite.
TEST(RoutersPhPs, RefusalsGiveTheFailureValue) {
  EXPECT_EQ(IF97TPS(10.0, 12.0), kFailure);
  EXPECT_EQ(IF97VPS(10.0, 12.0), kFailure);
  EXPECT_EQ(IF97HPS(10.0, 12.0), kFailure);
  EXPECT_EQ(IF97TPH(300.0, 7400.0), kFailure);
  EXPECT_EQ(IF97VPH(300.0, 7400.0), kFailure);
  EXPECT_EQ(IF97SPH(300.0, 7400.0), kFailure);
  const AllOutputs o = AllPh(300.0, 7400.0);
  for (double out : {o.t, o.tsat, o.x, o.rho, o.cp, o.tcon, o.eta, o.prandtl}) {
    EXPECT_EQ(out, kFailure);
  }
  // Region 5 up to 50 MPa.
  EXPECT_NEAR(IF97TPH(500.0, IF97R5H(50.0, 1500.0)), 1500.0, 1e-4);
  EXPECT_NEAR(IF97TPS(500.0, IF97R5S(50.0, 1500.0)), 1500.0, 1e-4);
  EXPECT_EQ(IF97TPH(500.1, IF97R5H(50.01, 1500.0)), kFailure);
  EXPECT_EQ(IF97TPS(500.1, IF97R5S(50.01, 1500.0)), kFailure);
  EXPECT_EQ(IF97VPH(500.1, IF97R5H(50.01, 1500.0)), kFailure);
  EXPECT_EQ(IF97HPS(500.1, IF97R5S(50.01, 1500.0)), kFailure);
  // By entropy region 5 ends at s5(p, 2273.15000001 K) from the band
  // pressure up; below it only the solve's range (to 2273.16 K) limits it.
  EXPECT_EQ(IF97TPS(300.0, IF97R5S(30.0, 2273.155)), kFailure);
  EXPECT_NEAR(IF97TPS(1.0, IF97R5S(0.1, 2273.155)), 2273.155, 1e-4);
  // Ranges, and numbers that are not finite.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  using Router = double (*)(const double&, const double&);
  const Router by_h[] = {IF97TPH, IF97XPH, IF97VPH, IF97SPH};
  const Router by_s[] = {IF97TPS, IF97XPS, IF97VPS, IF97HPS};
  const double bad_pairs[][2] = {{nan, 2000.0}, {10.0, nan}, {inf, 2000.0},    {10.0, inf},
                                 {10.0, -inf},  {-inf, 5.0}, {0.0060, 1000.0}, {1000.2, 1000.0}};
  for (const auto& pair : bad_pairs) {
    for (Router f : by_h) {
      EXPECT_EQ(f(pair[0], pair[1]), kFailure) << pair[0] << " bar, " << pair[1];
    }
    for (Router f : by_s) {
      EXPECT_EQ(f(pair[0], pair[1] / 400.0), kFailure) << pair[0] << " bar, " << pair[1] / 400.0;
    }
    const AllOutputs a = AllPh(pair[0], pair[1]);
    EXPECT_EQ(a.t, kFailure);
    EXPECT_EQ(a.tsat, kFailure);
  }
  EXPECT_EQ(IF97TPH(10.0, -0.91), kFailure);
  EXPECT_EQ(IF97TPH(10.0, 7400.01), kFailure);
  EXPECT_EQ(IF97TPS(10.0, -0.031), kFailure);
  EXPECT_EQ(IF97TPS(10.0, 14.01), kFailure);
}

}  // namespace
}  // namespace thermomodels
