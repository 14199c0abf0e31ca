// The drivers in bar: the routers by (p, T, quality) and by (p, h) or (p, s), the WP drivers in
// degrees Celsius, and the IAPS 1985 conductivity of region 3.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "water/backward/backward.h"
#include "water/drivers/water_test_support.h"

namespace thermomodels {
namespace {

using namespace water_test;

TEST(PtxRouters, SinglePhaseValueIsTheRegionFunction) {
  EXPECT_TRUE(std::fabs(IF97VPTX(1.0, 300.0, kSingle) - 1.00345440937e-3) < 5e-15 &&
              std::fabs(IF97VPTX(1.0, 400.0, kSingle) - 1.82620555728) < 5e-12);
  // (P bar, T K, region): each region, region boundaries, just above B23 at 623.15 K.
  const double kStates[][3] = {
      {1.0, 300.0, 1},    {1000.0, 273.0, 1},  {200.0, 600.0, 1},  {165.3, 623.15, 1},
      {1.0, 400.0, 2},    {180.0, 650.0, 2},   {300.0, 863.15, 2}, {1000.0, 1073.15, 2},
      {250.0, 650.0, 3},  {500.0, 700.0, 3},   {1000.0, 863.0, 3}, {1000.0, 800.0, 3},
      {165.45, 623.3, 3}, {165.2916427, 623.15000001, 3},      {100.0, 1500.0, 5},
      {500.0, 2273.2, 5}, {0.1, 1100.0, 5}};
  for (const auto& [P, T, region] : kStates) {
    const double p = 0.1 * P;
    for (const auto& r : kRouters) {
      const double expected = region == 1 ? r.r1(p, T) : region == 2 ? r.r2(p, T)
                              : region == 3 ? r.r3(T, IF97V3PT(p, T)) : r.r5(p, T);
      EXPECT_EQ(r.router(P, T, kSingle), expected) << r.name << " at " << P << " bar, " << T << " K";
    }
    EXPECT_EQ(IF97RHOPTX(P, T, kSingle), 1.0 / IF97VPTX(P, T, kSingle));
  }
}

// 0.00061 to 100.01 MPa, 273.0 to 2273.2 K, XQUAL -1e-5 to 1.00001, saturation to 647.3 K, 22.12 MPa.
TEST(PtxRouters, RangeLimitsAndBadInput) {
  const double kCases[][4] = {  // P, T, X, accepted
      {1000.0, 300.0, kSingle, 1}, {1000.2, 300.0, kSingle, 0}, {0.0062, 300.0, kSingle, 1},
      {0.006, 300.0, kSingle, 0},  {1.0, 273.0, kSingle, 1},    {1.0, 272.99, kSingle, 0},
      {100.0, 2273.2, kSingle, 1}, {100.0, 2273.3, kSingle, 0}, {-1.0, 373.0, 1.00001, 1},
      {-1.0, 373.0, 1.00002, 0},   {-1.0, 373.0, -1e-5, 1},     {-1.0, -1.0, 0.0, 0},
      {-1.0, 272.9, 0.0, 0},       {-1.0, 647.31, 0.0, 0},      {0.0060, -1.0, 0.0, 0},
      {221.21, -1.0, 0.0, 0}};
  for (const auto& [P, T, X, accepted] : kCases)
    EXPECT_EQ(IF97HPTX(P, T, X) != -1.0, accepted == 1) << P << " bar, " << T << " K, " << X;
  // Region 5 at 50.09 MPa: only the volume derivatives refuse it; at 50.1 MPa every router.
  for (const auto& r : kRouters) {
    EXPECT_EQ(r.router(500.9, 1500.0, kSingle) == -1.0, r.derivative) << r.name;
    EXPECT_EQ(r.router(501.0, 1500.0, kSingle), -1.0) << r.name;
  }
  EXPECT_EQ(IF97VPTX(1.0, 300.0, -1.1e-5), IF97R1V(0.1, 300.0));  // a single-phase request
  const double nan = std::nan("");
  const double bad[][3] = {{nan, 300.0, kSingle}, {1.0, nan, kSingle},    {1.0, 300.0, nan},
                           {nan, 373.0, 0.0},      {10.0, nan, 1.0},       {0.0, 300.0, kSingle},
                           {-1.0, 300.0, kSingle}, {1.0, -300.0, kSingle}, {HUGE_VAL, 300.0, kSingle}};
  for (const auto& [P, T, X] : bad) {
    for (const auto& r : kRouters) EXPECT_EQ(r.router(P, T, X), -1.0) << r.name << " " << P << " " << T;
    for (PtxRouter f : {IF97RHOPTX, ExergyAt298, IF97NUPTX}) EXPECT_EQ(f(P, T, X), -1.0) << P << " " << T;
  }
  EXPECT_TRUE(IF97EXPTX(10.0, 500.0, kSingle, nan) == -1.0 && IF97EXPTX(10.0, 500.0, kSingle, 0.0) == -1.0);
}

TEST(PtxRouters, SaturationPathLeverRuleAndExergy) {
  // T given: p = psat(T); p given: T = Tsat(p); both: 0.05 K off taken at T, 0.2 K off refused.
  const double t = 373.15, p = IF97PSAT(t), ts = IF97TSAT(1.0), p640 = IF97PSAT(640.0);
  EXPECT_TRUE(IF97HPTX(-1.0, t, 0.0) == IF97R1H(p, t) && IF97HPTX(-1.0, t, 1.0) == IF97R2H(p, t));
  EXPECT_TRUE(IF97HPTX(10.0, -1.0, 1.0) == IF97R2H(1.0, ts) && IF97HPTX(10.0, ts - 0.2, 0.0) == -1.0);
  EXPECT_EQ(IF97HPTX(10.0, ts + 0.05, 0.0), IF97R1H(1.0, ts + 0.05));
  EXPECT_NEAR(IF97VPTX(-1.0, t, 0.5), 0.8364520283, 5e-11);
  EXPECT_DOUBLE_EQ(IF97RHOPTX(-1.0, t, 0.5), 1.0 / IF97VPTX(-1.0, t, 0.5));
  for (const auto& r : kRouters) {  // mixtures: the lever rule, or refused
    const double liquid = r.router(-1.0, t, 0.0), vapour = r.router(-1.0, t, 1.0);
    EXPECT_DOUBLE_EQ(r.router(-1.0, t, 0.25), r.lever ? liquid + 0.25 * (vapour - liquid) : -1.0) << r.name;
  }
  // Above 623.15 K the saturated phases come from the region-3 side volumes.
  EXPECT_EQ(IF97HPTX(-1.0, 640.0, 1.0), IF97R3H(640.0, IF97V3PTV(p640, 640.0)));
  EXPECT_EQ(IF97HPTX(-1.0, 640.0, 0.0), IF97R3H(640.0, IF97V3PTL(p640, 640.0)));
  EXPECT_EQ(IF97HPTX(-1.0, 620.0, 1.0), IF97R2H(IF97PSAT(620.0), 620.0));
  // Exergy against the dead state (298.15 K, 1.01325 bar), lever rule included.
  const double h0 = IF97R1H(0.101325, 298.15), s0 = IF97R1S(0.101325, 298.15);
  EXPECT_NEAR(ExergyAt298(-1.0, 400.0, 0.4),
              (IF97HPTX(-1.0, 400.0, 0.4) - h0) - 298.15 * (IF97SPTX(-1.0, 400.0, 0.4) - s0), 1e-9);
}

TEST(PtxRouters, CriticalPoint) {
  const double h_c = IF97R3H(kTc, kVc), cp_c = std::fabs(IF97R3CP(kTc, kVc));
  for (const double x : {-1e-5, 0.0, 0.3, 1.0, 1.00001}) {
    EXPECT_TRUE(IF97VPTX(-1.0, 647.1, x) == kVc && IF97RHOPTX(-1.0, 647.1, x) == 322.0) << x;
    EXPECT_TRUE(IF97HPTX(-1.0, 647.1, x) == h_c && IF97HPTX(220.64, -1.0, x) == h_c) << x;
  }
  EXPECT_TRUE(IF97CPPTX(-1.0, 647.1, 0.0) == cp_c && IF97CPPTX(-1.0, 647.1, 1.0) == cp_c);
  EXPECT_EQ(IF97CPPTX(-1.0, 647.1, 0.5), -1.0);
  EXPECT_EQ(IF97SPTX(-1.0, 647.1, 0.5), IF97R3S(kTc, kVc));
  // The diverging dv/dp, dv/dT: IF97's magnitudes at (Tc, 1/322), the signs of the isochore beside it.
  const std::vector<double> critical = water_test::Reference("critical")[0];
  const double dvdp = IF97DVPPTX(-1.0, 647.1, 0.0), dvdt = IF97DVTPTX(-1.0, 647.1, 1.0);
  EXPECT_NEAR(dvdp, -1.0 / critical[1], 1e-12 * std::fabs(dvdp));
  EXPECT_NEAR(-dvdt / dvdp, critical[2], 1e-12 * critical[2]);
  const double near_dvdp = IF97R3DVP(kTc + 1e-8, kVc), near_dvdt = IF97R3DVT(kTc + 1e-8, kVc);
  EXPECT_TRUE(dvdp < near_dvdp && near_dvdp < 0.0 && dvdt > near_dvdt && near_dvdt > 0.0);
  // Both given: only a pair on the (continued) saturation line near it is the critical point.
  EXPECT_TRUE(IF97HPTX(1.0, 647.2, 0.0) == -1.0 && IF97HPTX(220.0, 647.1, 0.0) == -1.0);
  EXPECT_TRUE(IF97HPTX(220.64, 647.15, 0.0) == h_c && IF97HPTX(221.2, 647.3, 1.0) == h_c);
}

// IAPS 1985 region-3 conductivity against the 2011 release off the critical point and the line (2 %
// in the dense liquid, 8 % on the ridge); its side members agree off the line and differ on it.
// The transport bundle, Prandtl number and thermal diffusivity against both releases evaluated
// independently (if97_reference.py): liquid and vapour with and without the conductivity's critical
// term, region 5 and both saturated phases at 450 K. A wet state marks every output, whatever it held.
TEST(PtxTransportRouters, AgreeWithTheReleasesEvaluatedIndependently) {
  for (const auto& r : Reference("transport")) {
    const double P = r[0], T = r[1], X = r[2];
    double out[4] = {};
    IF97TRNPTX(out[0], out[1], out[2], out[3], P, T, X);
    const double got[] = {out[0], out[1], out[2], out[3], IF97PRNPTX(P, T, X), IF97ALFPTX(P, T, X)};
    for (int k = 0; k < 6; ++k)
      EXPECT_NEAR(got[k], r[3 + k], 1e-10 * r[3 + k]) << P << " bar, " << T << " K, " << X << ": output " << k;
  }
  double out[4] = {1.0, 1.0, 1.0, 1.0};
  IF97TRNPTX(out[0], out[1], out[2], out[3], -1.0, 450.0, 0.5);
  for (const double v : out) EXPECT_EQ(v, -1.0);
  EXPECT_TRUE(IF97PRNPTX(-1.0, 450.0, 0.5) == -1.0 && IF97ALFPTX(-1.0, 450.0, 0.5) == -1.0);
}

TEST(Wtcon85, AgreesWithThe2011FormulationAndItsSideMembers) {
  for (double p = 17.0; p <= 100.0; p += 1.0) {
    for (double t = 625.0; t <= 860.0; t += 5.0) {
      const bool critical = std::fabs(t - 647.096) < 15.0 && std::fabs(p - 22.064) < 5.0;
      if (p <= IF97B23P(t) || critical || (p < 22.064 && std::fabs(t - IF97TSAT(p)) < 1.0)) continue;
      const double v = IF97V3PT(p, t), full = WTCON85(p, t);
      double cp, cv, eta, tcon_2011;
      WTCON11(p, t, v, 3, cp, cv, eta, tcon_2011);
      EXPECT_NEAR(full / tcon_2011, 1.0, 1.0 / v > 600.0 ? 0.02 : 0.08) << p << " MPa, " << t << " K";
    }
  }
  for (const auto& [p, t] : {std::pair{50.0, 700.0}, {22.3, 660.0}, {21.5, 630.0}})
    EXPECT_TRUE(WTCON85(p, t) > 0 && WTCON85L(p, t) == WTCON85(p, t) && WTCON85V(p, t) == WTCON85(p, t)) << p;
  for (const double t : {630.0, 640.0}) EXPECT_GT(WTCON85L(IF97PSAT(t), t), 1.5 * WTCON85V(IF97PSAT(t), t));
  const double bad[][2] = {{std::nan(""), 650.0}, {25.0, std::nan("")}, {0.0, 650.0}, {25.0, -1.0}};
  for (const auto& [p, t] : bad)
    for (auto f : {WTCON85, WTCON85L, WTCON85V}) EXPECT_EQ(f(p, t), -1.0) << p << " " << t;
}

using PhsRouter = double (*)(const double&, const double&);
constexpr double kFailure = -1.0;

struct AllOutputs { double t, tsat, x, rho, cp, tcon, eta, prandtl; };
AllOutputs AllPh(double P, double h) {
  AllOutputs o{};
  IF97ALLPH(P, h, o.t, o.tsat, o.x, o.rho, o.cp, o.tcon, o.eta, o.prandtl);
  return o;
}

// Single-phase states over IF97 (region 5 to 50 MPa, 0.1 K off the line): T within what the
// backward equations promise (region 1 to microkelvins after the secant step; 2a, 2b by s 10 mK;
// 2, 3 25 mK; region 5 1e-8 relative); the others follow (region 3: SR3's 0.01 %), no quality.
TEST(RoutersPhPs, SinglePhaseRoundTripsInEveryRegion) {
  const std::map<std::string, std::pair<double, double>> bound = {  // by h, by s
      {"1", {1e-5, 1e-6}}, {"2a", {0.01, 0.01}}, {"2b", {0.025, 0.01}}, {"2c", {0.025, 0.025}},
      {"3", {0.025, 0.025}}, {"5", {2e-8, 2e-8}}};
  std::map<std::string, double> worst[2];
  for (double p : {0.0007, 0.002, 0.01, 0.05, 0.2,  1.0,  3.0,  4.0,  6.0,  10.0, 16.0,
                   17.0,   19.0,  21.0, 22.0, 23.0, 25.0, 30.0, 40.0, 50.0, 70.0, 100.0}) {
    for (double t = 274.0; t <= 2270.0; t += (t < 900.0 ? 7.0 : 29.0)) {
      if ((t > 1073.15 && p > 50.0) || (p < kPc && std::fabs(t - IF97TSAT(p)) < 0.1)) continue;
      for (const bool by_s : {false, true}) {
        std::string region = t <= 623.15 && p >= IF97PSAT(t)                ? "1"
                             : t > 1073.15                                  ? "5"
                             : t > 623.15 && t <= 863.15 && p > IF97B23P(t) ? "3"
                             : p <= 4.0                                     ? "2a"
                             : by_s ? (IF97R2S(p, t) < 5.85 ? "2c" : "2b")
                                    : (p > B2bcPressure(IF97R2H(p, t)) ? "2c" : "2b");
        const bool r1 = region == "1", r3 = region == "3", r5 = region == "5";
        const double v = r1 ? IF97R1V(p, t) : r5 ? IF97R5V(p, t) : r3 ? IF97R3VIT(p, t) : IF97R2V(p, t);
        const double h = r1 ? IF97R1H(p, t) : r5 ? IF97R5H(p, t) : r3 ? IF97R3H(t, v) : IF97R2H(p, t);
        const double s = r1 ? IF97R1S(p, t) : r5 ? IF97R5S(p, t) : r3 ? IF97R3S(t, v) : IF97R2S(p, t);
        const double P = 10.0 * p, error = std::fabs((by_s ? IF97TPS(P, s) : IF97TPH(P, h)) - t);
        worst[by_s][region] = std::max(worst[by_s][region], region == "5" ? error / t : error);
        EXPECT_NEAR(by_s ? IF97HPS(P, s) : IF97SPH(P, h), by_s ? h : s, by_s ? 0.2 : 3e-4) << P;
        EXPECT_NEAR(by_s ? IF97VPS(P, s) : IF97VPH(P, h), v, 2e-4 * v) << P << " " << t;
        EXPECT_EQ(by_s ? IF97XPS(P, s) : IF97XPH(P, h), kFailure) << P << " " << t;
      }
    }
  }
  for (const auto& [region, b] : bound) {
    EXPECT_LE(worst[0].at(region), b.first) << "TPH region " << region;
    EXPECT_LE(worst[1].at(region), b.second) << "TPS region " << region;
  }
}

// Under the line: Tsat, the vapour fraction (1e-6 from regions 1 and 2; above 623.15 K SR5's
// backward saturated volumes against the iterated ones, 3e-3), a density between the saturated
// ones; below the band the (p,T) transport mixed by volume fraction, cp by mass.
TEST(RoutersPhPs, TwoPhaseStates) {
  for (double t = 275.0; t < 647.0; t += (t < 620.0 ? 15.0 : 3.0)) {
    const double p = IF97PSAT(t), P = 10.0 * p, ts = IF97TSAT(p);
    const bool band = t > 623.15;
    const double vl = band ? IF97R3VITL(p, t) : IF97R1V(p, t);
    const double vv = band ? IF97R3VITV(p, t) : IF97R2V(p, t);
    const double hl = band ? IF97R3H(t, vl) : IF97R1H(p, t), hv = band ? IF97R3H(t, vv) : IF97R2H(p, t);
    const double sl = band ? IF97R3S(t, vl) : IF97R1S(p, t), sv = band ? IF97R3S(t, vv) : IF97R2S(p, t);
    for (double x : {0.01, 0.3, 0.7, 0.99}) {
      SCOPED_TRACE(::testing::Message() << t << " K, x = " << x);
      const double h = hl + x * (hv - hl), s = sl + x * (sv - sl), v = vl + x * (vv - vl);
      EXPECT_TRUE(IF97TPH(P, h) == ts && IF97TPS(P, s) == ts);
      EXPECT_NEAR(IF97XPH(P, h), x, band ? 3e-3 : 1e-6);
      EXPECT_NEAR(IF97XPS(P, s), x, band ? 3e-3 : 1e-6);
      EXPECT_NEAR(IF97VPH(P, h), v, (band ? 5e-3 : 1e-6) * v);
      EXPECT_NEAR(IF97VPS(P, s), v, (band ? 5e-3 : 1e-6) * v);
      EXPECT_NEAR(IF97SPH(P, h), s, band ? 2e-3 : 1e-9);
      EXPECT_NEAR(IF97HPS(P, s), h, band ? 2.0 : 1e-6);
      const AllOutputs o = AllPh(P, h);
      EXPECT_TRUE(o.t == ts && o.tsat == ts && o.x == IF97XPH(P, h));
      EXPECT_TRUE(o.rho > 1.0 / vv && o.rho < 1.0 / vl) << o.rho;
      EXPECT_TRUE(o.cp > 0.0 && o.tcon > 0.0 && o.eta > 0.0 && o.prandtl > 0.0);
      if (band) continue;
      const double w = o.x * vv / (vl + o.x * (vv - vl));
      auto mix = [&](double (*f)(const double&, const double&, const double&), double fraction) {
        return f(P, ts, 0.0) + fraction * (f(P, ts, 1.0) - f(P, ts, 0.0));
      };
      EXPECT_NEAR(o.cp, mix(IF97CPPTX, o.x), 1e-9 * o.cp);
      EXPECT_NEAR(o.tcon, mix(IF97LAMPTX, w), 1e-9 * o.tcon);
      EXPECT_NEAR(o.eta, mix(IF97ETAPTX, w), 1e-9 * o.eta);
    }
  }
}

TEST(RoutersPhPs, EdgesOfTheSaturationLine) {
  // pc is subcritical by h (Tsat known, h on p3sat(h) on the line), supercritical by s (region 1
  // below s = 3.397 without the 273.15 K floor of the band below it).
  const double Pc = 10.0 * kPc, above = std::nextafter(Pc, 1e9), below = std::nextafter(Pc, 0.0);
  const double tc = IF97TSAT(kPc), t1 = IF97T1PS(kPc, -0.03);
  EXPECT_TRUE(AllPh(Pc, 2087.5).tsat == tc && AllPh(above, 2087.5).tsat == kFailure);
  EXPECT_EQ(IF97TPH(Pc, 2087.5), tc);
  EXPECT_EQ(IF97TPH(above, 2087.5), IF97T3PH(above / 10.0, 2087.5));
  EXPECT_TRUE(IF97TPS(Pc, -0.03) == t1 && IF97TPS(below, -0.03) == 273.15);
  EXPECT_TRUE(IF97XPS(Pc, 4.41202148223476) == 1.0 && IF97XPS(above, 4.41202148223476) == kFailure);
  // Within 5e-7 kJ/kg (5e-9 kJ/(kg K)) of a saturated phase at 1 MPa: that phase; 4x as far: 10 uK off.
  const double P = 10.0, p = 1.0, ts = IF97TSAT(p);
  struct Side { PhsRouter t_of, x_of, v_of; double y, step, x, v; };
  const Side kSides[] = {{IF97TPH, IF97XPH, IF97VPH, IF97R2H(p, ts), 5e-7, 1.0, IF97R2V(p, ts)},
                         {IF97TPH, IF97XPH, IF97VPH, IF97R1H(p, ts), -5e-7, 0.0, IF97R1V(p, ts)},
                         {IF97TPS, IF97XPS, IF97VPS, IF97R2S(p, ts), 5e-9, 1.0, IF97R2V(p, ts)},
                         {IF97TPS, IF97XPS, IF97VPS, IF97R1S(p, ts), -5e-9, 0.0, IF97R1V(p, ts)}};
  for (const auto& c : kSides) {
    const double y = c.y + c.step, off = c.t_of(P, c.y + 4.0 * c.step);
    EXPECT_TRUE(c.t_of(P, y) == ts && c.x_of(P, y) == c.x && c.v_of(P, y) == c.v) << c.y;
    EXPECT_TRUE(c.step > 0 ? off >= ts + 1e-5 : off <= ts - 1e-5) << c.y << ": " << off;
  }
  EXPECT_TRUE(IF97XPH(P, IF97R2H(p, ts) + 2e-6) == kFailure && IF97XPH(P, IF97R1H(p, ts) - 2e-6) == kFailure);
  EXPECT_EQ(IF97XPS(P, 9.16), kFailure);  // below the 9.163 limit, above s''
  for (const double P_edge : {0.0061, 165.291643}) {  // the lowest pressure and the band's top
    const double p_edge = P_edge / 10.0, t_edge = IF97TSAT(p_edge);
    EXPECT_EQ(IF97TPH(P_edge, IF97R2H(p_edge, t_edge) + 5e-7), t_edge) << P_edge;
    EXPECT_GE(IF97TPH(P_edge, IF97R2H(p_edge, t_edge) + 2e-6), t_edge + 1e-5) << P_edge;
  }
}

// Within 0.01 % of p3sat(h) on the line (x 0 below hc, 1 above), 0.05 % under it the saturated
// region-3 phases decide; 0.019 % under it at 21.2 MPa, just below h': the liquid side, T bounded
// below Ts for the router, the backward T for the entropy and the bundle, no quality.
TEST(RoutersPhPs, NearTheRegion3SaturationLine) {
  const double h = 1800.0, p = IF97P3SATH(h), P = 10.0 * p, ts = IF97TSAT(p);
  EXPECT_TRUE(IF97TPH(P, h) == ts && IF97VPH(P, h) == IF97V3PH(p, h) && IF97XPH(P, h) == 0.0);
  EXPECT_EQ(IF97SPH(P, h), IF97R3S(ts, IF97V3PH(p, h)));
  EXPECT_EQ(IF97XPH(10.0 * IF97P3SATH(2100.0), 2100.0), 1.0);
  const double Pu = P * (1.0 - 5e-4), xu = IF97XPH(Pu, h);
  EXPECT_TRUE(xu >= 0.0 && xu <= 1.0) << xu;
  EXPECT_EQ(IF97TPH(Pu, h), IF97TSAT(Pu / 10.0));
  const double p2 = 21.2, ts2 = IF97TSAT(p2), h2 = IF97R3H(ts2, IF97V3PTL(p2, ts2)) - 0.01;
  const double t3 = IF97T3PH(p2, h2), v3 = IF97V3PH(p2, h2);
  EXPECT_TRUE(IF97TPH(212.0, h2) == ts2 - 1e-5 && IF97XPH(212.0, h2) == kFailure && IF97VPH(212.0, h2) == v3);
  EXPECT_TRUE(IF97SPH(212.0, h2) == IF97R3S(t3, v3) && AllPh(212.0, h2).t == t3);
}

// Region 2 up to h2(p, 1073.15 K), region 5 above, where at low pressure a T above 2273.16 K is
// refused; refusals by both routers: region-5 solves that fail, above 50 MPa, out of range, NaN.
TEST(RoutersPhPs, RegionTwoToFiveBandAndRefusals) {
  const double h_boundary = IF97R2H(1.0, 1073.15000001), h_next = std::nextafter(h_boundary, 1e9);
  EXPECT_EQ(IF97TPH(10.0, h_boundary), IF97T2PH(1.0, h_boundary));
  for (double h : {h_next, 4161.0, 4161.01}) EXPECT_EQ(IF97TPH(10.0, h), IF97T5PH(1.0, h)) << h;
  const double hot = IF97R5H(0.1, 2274.0);
  const AllOutputs o = AllPh(1.0, hot);
  EXPECT_TRUE(IF97TPH(1.0, hot) == kFailure && o.t == kFailure && o.rho == kFailure);
  EXPECT_EQ(o.tsat, IF97TSAT(0.1));
  EXPECT_NEAR(IF97TPH(200.0, IF97R5H(20.0, 2274.0)), 2274.0, 1e-4);  // above the band: served
  EXPECT_NEAR(IF97TPS(500.0, IF97R5S(50.0, 1500.0)), 1500.0, 1e-4);
  EXPECT_NEAR(IF97TPS(1.0, IF97R5S(0.1, 2273.155)), 2273.155, 1e-4);
  const double nan = std::nan(""), inf = HUGE_VAL;
  const double bad[][2] = {{nan, 2000.0}, {10.0, nan}, {inf, 2000.0},    {10.0, inf},
                           {10.0, -inf},  {-inf, 5.0}, {0.0060, 1000.0}, {1000.2, 1000.0}};
  std::vector<std::pair<double, double>> by_h = {
      {300.0, 7400.0}, {500.1, IF97R5H(50.01, 1500.0)}, {10.0, -0.91}, {10.0, 7400.01}};
  std::vector<std::pair<double, double>> by_s = {
      {10.0, 12.0}, {500.1, IF97R5S(50.01, 1500.0)}, {300.0, IF97R5S(30.0, 2273.155)}, {10.0, -0.031},
      {10.0, 14.01}};
  for (const auto& [P, y] : bad) {
    by_h.push_back({P, y});
    by_s.push_back({P, y / 400.0});
    EXPECT_TRUE(AllPh(P, y).t == kFailure && AllPh(P, y).tsat == kFailure) << P << " bar, " << y;
  }
  for (const auto& [P, h] : by_h)
    for (PhsRouter f : {IF97TPH, IF97XPH, IF97VPH, IF97SPH}) EXPECT_EQ(f(P, h), kFailure) << P << " " << h;
  for (const auto& [P, s] : by_s)
    for (PhsRouter f : {IF97TPS, IF97XPS, IF97VPS, IF97HPS}) EXPECT_EQ(f(P, s), kFailure) << P << " " << s;
  const AllOutputs r = AllPh(300.0, 7400.0);
  for (double out : {r.t, r.tsat, r.x, r.rho, r.cp, r.tcon, r.eta, r.prandtl}) EXPECT_EQ(out, kFailure);
}

constexpr double kR = 0.461526;  // kJ/(kg K)

double Celsius(double t_k) { return t_k - 273.15; }

double VolumeFromZ(double p_bar, double t_k) {
  return WPZFAC(p_bar, Celsius(t_k), kSingle) * kR * t_k / (100.0 * p_bar);
}

TEST(WaterDrivers, DerivativeDriversAgreeWithDifferencesAndEachOther) {
  const double kStates[][3] = {{30, 300, 1},  {500, 500, 1}, {1, 500, 2},
                               {250, 650, 3}, {400, 700, 3}, {100, 1500, 5}};
  for (const auto& [p_bar, t_k, region] : kStates) {
    SCOPED_TRACE(::testing::Message() << "P " << p_bar << " bar, T " << t_k);
    // Differences of v(p, T); in region 3 of p3(T, v) at the backward v, and p3(T, v) as p.
    const double t = Celsius(t_k), p_kpa = 100.0 * p_bar, v = VolumeFromZ(p_bar, t_k);
    double dv_dt, dv_dp, p_of_v = p_kpa;
    if (region == 3) {
      const double dv = 1e-7 * v, dp_dv = (IF97R3P(t_k, v + dv) - IF97R3P(t_k, v - dv)) / (2 * dv);
      dv_dp = 1e-3 / dp_dv;
      dv_dt = -(IF97R3P(t_k + 1e-4, v) - IF97R3P(t_k - 1e-4, v)) / 2e-4 / dp_dv;
      p_of_v = 1000.0 * IF97R3P(t_k, v);
    } else {
      const double dt = 1e-3, dp = 1e-5 * p_bar;
      dv_dt = (VolumeFromZ(p_bar, t_k + dt) - VolumeFromZ(p_bar, t_k - dt)) / (2 * dt);
      dv_dp = (VolumeFromZ(p_bar + dp, t_k) - VolumeFromZ(p_bar - dp, t_k)) / (2 * 100.0 * dp);
    }
    const double alfv = WPALFV(p_bar, t, kSingle), kapt = WPKAPT(p_bar, t, kSingle);
    EXPECT_NEAR(alfv, dv_dt / v, 1e-5 * std::fabs(alfv));
    EXPECT_NEAR(kapt, -dv_dp / v, 1e-5 * std::fabs(kapt));
    EXPECT_NEAR(WPTHRO(p_bar, t, kSingle), v - t_k * alfv * v, 1e-9 * v);
    const double alfp = alfv / (p_of_v * kapt), betp = 1.0 / (p_kpa * v * kapt);
    EXPECT_NEAR(WPALFP(p_bar, t, kSingle), alfp, 1e-6 * std::fabs(alfp));
    EXPECT_NEAR(WPBETP(p_bar, t, kSingle), betp, 1e-9 * betp);
    const double p = 0.1 * p_bar, cp = region == 1 ? IF97R1CP(p, t_k) : region == 2 ? IF97R2CP(p, t_k)
                                     : region == 3 ? IF97R3CP(t_k, v) : IF97R5CP(p, t_k);
    EXPECT_NEAR(WPJOUL(p_bar, t, kSingle) * cp, -WPTHRO(p_bar, t, kSingle), 1e-9 * v);
    EXPECT_NEAR(WPGIBB(p_bar, t, kSingle) - WPHELM(p_bar, t, kSingle), p_of_v * v, 1e-9 * p_of_v * v);
  }
}

TEST(WaterDrivers, FugacityIsContinuousAcrossTheSaturationLine) {
  for (double t_k : {280.0, 373.15, 500.0, 600.0, 623.0, 630.0, 640.0, 645.0, 647.0}) {
    const double t = Celsius(t_k), f_liquid = WPFUGA(-1.0, t, 0.0), f_vapour = WPFUGA(-1.0, t, 1.0);
    EXPECT_TRUE(f_liquid > 0.0 && std::fabs(f_liquid / f_vapour - 1.0) < 1e-4) << t_k;
    EXPECT_NEAR(WPFUGA(-1.0, t, 0.5), 0.5 * (f_liquid + f_vapour), 1e-12 * f_vapour);
    EXPECT_NEAR(WPGIBB(-1.0, t, 0.0), WPGIBB(-1.0, t, 1.0), 0.05) << t_k;
  }
  EXPECT_NEAR(WPFUGA(0.01, Celsius(500.0), kSingle), 0.01, 1e-6);  // dilute: f near p
  // Region 3 at the caller's pressure, not p3 of the backward volume: ln(f/p) of the dispatcher.
  const double ln_phi = water_test::Value(1, 3, 700.0, 5e7, water_test::kM * IF97V3PT(50.0, 700.0));
  EXPECT_NEAR(WPFUGA(500.0, Celsius(700.0), kSingle), 500.0 * std::exp(ln_phi), 1e-10);
}

TEST(WaterDrivers, CriticalPointShortcut) {
  // P not given, T above Tc: IF97's values at (Tc, 1/322) where finite; the diverging derivatives
  // with IF97's magnitudes there (extended-precision table) and the signs of the states beside it.
  const double t = Celsius(647.2);
  double wavelength = 0.5;
  const std::vector<double> critical = water_test::Reference("critical")[0];
  const double kDvDp = -1.0 / critical[1], kDvDt = critical[2] / critical[1];
  struct Case { const char* name; double got, want, tol; };
  const Case kCases[] = {
      {"WPZFAC", WPZFAC(-1.0, t, 1.0), 1000.0 * kPc * kVc / (kR * kTc), 1e-12},
      {"WPGIBB", WPGIBB(-1.0, t, 0.0), IF97R3H(kTc, kVc) - kTc * IF97R3S(kTc, kVc), 1e-6},
      {"WPHELM", WPHELM(-1.0, t, 1.0), -835.9743659199, 0.0},  // IF97R3F - 0.002
      {"WPFUGA", WPFUGA(-1.0, t, 0.0), 10.0 * IF97R3FUG(kPc, kTc, kVc), 1e-7},
      {"WPALFP", WPALFP(-1.0, t, 0.0), IF97R3APR(kTc, kVc), 1e-9},
      {"WPALFV", WPALFV(-1.0, t, 1.0), kDvDt / kVc, 1e-12 * kDvDt / kVc},
      {"WPKAPT", WPKAPT(-1.0, t, 0.0), -kDvDp / kVc, -1e-12 * kDvDp / kVc},
      {"WPBETP", WPBETP(-1.0, t, 1.0), -1.0 / (1000.0 * kPc * kDvDp), 1e-21},
      {"WPJOUL", WPJOUL(-1.0, t, 0.0), 0.003638837764369, 0.0},
      {"WPTHRO", WPTHRO(-1.0, t, 1.0), kVc - kTc * kDvDt, 1e-12 * kTc * kDvDt},
      {"WPDIEL", WPDIEL(-1.0, t, 0.0), WDIELC(647.2, kVc), 0.0},
      {"WPDIEL, T not given: Tc", WPDIEL(221.0, -1.0, 0.0), WDIELC(kTc, kVc), 0.0},
      {"WPREFR", WPREFR(-1.0, t, 1.0, wavelength), WREFRI(647.2, kVc, 0.5), 0.0},
      {"WPVISC", WPVISC(-1.0, 647.2, 1.0), WVISC08(kTc, kVc) * kVc, 0.0},
      // The relative pressure coefficient is continuous with the saturated phases beside it.
      {"WPALFP liquid beside", WPALFP(-1.0, Celsius(647.09), 0.0), IF97R3APR(kTc, kVc), 5e-4},
      {"WPALFP vapour beside", WPALFP(-1.0, Celsius(647.09), 1.0), IF97R3APR(kTc, kVc), 5e-4},
      {"WPALFP as WPALFV / (p WPKAPT)", WPALFP(-1.0, t, 0.0),
       WPALFV(-1.0, t, 0.0) / (1000.0 * kPc * WPKAPT(-1.0, t, 0.0)), 1e-15},
      // The shortcut serves only the saturated phases, also to lever drivers.
      {"WPFUGA mixture", WPFUGA(-1.0, t, 0.5), -1.0, 0.0},
      {"WPGIBB mixture", WPGIBB(-1.0, t, 0.5), -1.0, 0.0},
  };
  for (const auto& c : kCases) EXPECT_NEAR(c.got, c.want, c.tol) << c.name;
  EXPECT_NEAR(IF97R3F(kTc, kVc), -835.9743659199, 3e-3);
}

TEST(WaterDrivers, RangeEdges) {
  const double ts1bar = IF97TSAT(0.1);
  double wl0 = 0.0, wl02 = 0.2, wl11 = 1.1, wl12 = 1.2;
  struct Edge { const char* what; double value; bool ok; };
  const Edge kEdges[] = {  // each edge: the last value accepted, the first refused
      {"t -1e-5 C", WPZFAC(1.0, -1e-5, kSingle), true}, {"-2e-5 C", WPZFAC(1.0, -2e-5, kSingle), false},
      {"P = 0 given", WPZFAC(0.0, 100.0, kSingle), false}, {"P = 0, line", WPZFAC(0.0, 100.0, 1.0), false},
      {"P, T both negative", WPZFAC(-1.0, -1.0, 1.0), false},
      {"1000 bar", WPZFAC(1000.0, 100.0, kSingle), true}, {"1000.2", WPZFAC(1000.2, 100.0, kSingle), false},
      {"XQUAL -1e-5: lever", WPZFAC(-1.0, 100.0, -1e-5), true},
      {"XQUAL 1.00001", WPZFAC(-1.0, 100.0, 1.00001), true}, {"1.00002", WPZFAC(-1.0, 100.0, 1.00002), false},
      {"region 5, 500.09 bar", WPZFAC(500.09, Celsius(1073.16), kSingle), true},
      {"500.2 bar", WPZFAC(500.2, Celsius(1073.16), kSingle), false},
      {"2273.2 K", WPZFAC(10.0, Celsius(2273.2), kSingle), true},
      {"2273.3 K", WPZFAC(10.0, Celsius(2273.3), kSingle), false},
      {"viscosity, 1173.2 K", WPVISC(10.0, 1173.2, kSingle), true},
      {"1173.3 K", WPVISC(10.0, 1173.3, kSingle), false},
      {"viscosity, 500.9 bar", WPVISC(500.9, 1100.0, kSingle), true},
      {"501 bar", WPVISC(501.0, 1100.0, kSingle), false},
      {"Tsat + 0.0999 K", WPZFAC(1.0, Celsius(ts1bar + 0.0999), 1.0), true},
      {"Tsat + 0.1001 K", WPZFAC(1.0, Celsius(ts1bar + 0.1001), 1.0), false},
      {"XQUAL 1e-8 is a mixture", WPDIEL(-1.0, 100.0, 1e-8), false},
      {"XQUAL 1 - 1e-9 is the vapour", WPDIEL(-1.0, 100.0, 1.0 - 1e-9), true},
      {"wavelength 0", WPREFR(1.0, 25.0, kSingle, wl0), false},
      {"0.2", WPREFR(1.0, 25.0, kSingle, wl02), true}, {"1.1", WPREFR(1.0, 25.0, kSingle, wl11), true},
      {"1.2", WPREFR(1.0, 25.0, kSingle, wl12), false},
      {"capillary length, 273.0 K", WPCAPT(273.0), true}, {"272.99 K", WPCAPT(272.99), false},
      {"capillary length, 221.3 bar", WPCAPP(221.3), false},
      {"NaN temperature", WPGIBB(1.0, std::nan(""), kSingle), false},
  };
  for (const auto& e : kEdges) EXPECT_EQ(e.value != -1.0, e.ok) << e.what << ": " << e.value;
  EXPECT_EQ(wl0, 1e-14);
  // On boundaries: pB23 at 700 K region 2, 623.15 K 1, just above B23 near it 3, 1073.15 K still 2.
  const double pb23_700 = IF97B23P(700.0);
  EXPECT_NEAR(VolumeFromZ(10.0 * pb23_700, 700.0), IF97R2V(pb23_700, 700.0), 1e-12);
  EXPECT_NEAR(VolumeFromZ(165.3, 623.15), IF97R1V(16.53, 623.15), 1e-12);
  EXPECT_NEAR(VolumeFromZ(165.45, 623.3), IF97V3PT(16.545, 623.3), 1e-12);
  EXPECT_NEAR(VolumeFromZ(165.2916427, 623.15000001), IF97V3PT(16.52916427, 623.15000001), 1e-12);
  EXPECT_NEAR(VolumeFromZ(100.0, 1073.15), IF97R2V(10.0, 1073.15), 1e-12);
}

TEST(WaterDrivers, CapillaryLengthAndReleases) {
  // IAPWS 1994 surface tension at 100 C (58.91 mN/m), IF97 densities 958.35 and 0.5976 kg/m3.
  const double want = std::sqrt(1000.0 * 58.91 / ((958.35 - 0.5976) * 9.80665));
  EXPECT_NEAR(WPCAPT(373.15), want, 2e-4 * want);
  EXPECT_NEAR(WPCAPP(10.0 * IF97PSAT(373.15)), WPCAPT(373.15), 1e-6);
  EXPECT_NEAR(WPCAPP(10.0 * IF97PSAT(640.0)), WPCAPT(640.0), 1e-4 * WPCAPT(640.0));
  EXPECT_TRUE(WPCAPP(10.0 * kPc) == 0.0 && WPCAPT(647.096) == 0.0 && WPCAPT(647.2) == 0.0);
}

}  // namespace
}  // namespace thermomodels
