// Property and transport routers by pressure [bar], temperature [K] and
// quality flag: region choice, saturation path, lever rule, critical point,
// the transport releases at the router's volume, and failures.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "water/backward/backward.h"
#include "water/drivers/if97_reference_values.h"
#include "water/drivers/water_test_support.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using water_test::AbsCp3;
using water_test::ExergyAt298;
using water_test::kRouters;
using water_test::kSingle;
using water_test::kTc;
using water_test::kVc;
using water_test::PtxRouter;

TEST(PtxRouters, PublishedSinglePhaseAndLeverValues) {
  EXPECT_NEAR(IF97VPTX(1.0, 300.0, kSingle), 1.00345440937e-3, 5e-15);
  EXPECT_NEAR(IF97VPTX(1.0, 400.0, kSingle), 1.82620555728, 5e-12);
  EXPECT_NEAR(IF97VPTX(-1.0, 373.15, 0.5), 0.8364520283, 5e-11);
  EXPECT_DOUBLE_EQ(IF97RHOPTX(-1.0, 373.15, 0.5), 1.0 / IF97VPTX(-1.0, 373.15, 0.5));
}

TEST(PtxRouters, SinglePhaseValueIsTheRegionFunctionInDetail) {
  // States (P bar, T K) in each region, several on a region boundary.
  const struct {
    double P, T;
    int region;
  } kStates[] = {{1.0, 300.0, 1},
                 {1000.0, 273.0, 1},
                 {200.0, 600.0, 1},
                 {165.3, 623.15, 1},
                 {1.0, 400.0, 2},
                 {180.0, 650.0, 2},
                 {300.0, 863.15, 2},
                 {1000.0, 1073.15, 2},
                 {250.0, 650.0, 3},
                 {500.0, 700.0, 3},
                 {1000.0, 863.0, 3},
                 {1000.0, 800.0, 3},
                 // Just above the B23 pressure at the low-temperature corner of region 3.
                 {165.45, 623.3, 3},
                 {165.2916427, 623.15000001, 3},
                 {100.0, 1500.0, 5},
                 {500.0, 2273.2, 5},
                 {0.1, 1100.0, 5}};
  for (const auto& s : kStates) {
    const double p = 0.1 * s.P;
    for (const auto& r : kRouters) {
      const double expected = s.region == 1   ? r.r1(p, s.T)
                              : s.region == 2 ? r.r2(p, s.T)
                              : s.region == 3 ? r.r3(s.T, IF97V3PT(p, s.T))
                                              : r.r5(p, s.T);
      EXPECT_EQ(r.router(s.P, s.T, kSingle), expected)
          << r.name << " at " << s.P << " bar, " << s.T << " K (region " << s.region << ")";
    }
    EXPECT_EQ(IF97RHOPTX(s.P, s.T, kSingle), 1.0 / IF97VPTX(s.P, s.T, kSingle));
  }
}

TEST(PtxRouters, RangeLimits) {
  const struct {
    double P, T, X;
    bool accepted;
    const char* why;
  } kCases[] = {
      {1000.0, 300.0, kSingle, true, "100 MPa"},
      {1000.2, 300.0, kSingle, false, "above 100.01 MPa"},
      {0.0062, 300.0, kSingle, true, "0.00062 MPa"},
      {0.006, 300.0, kSingle, false, "below 0.00061 MPa"},
      {1.0, 273.0, kSingle, true, "273.0 K"},
      {1.0, 272.99, kSingle, false, "below 273.0 K"},
      {100.0, 2273.2, kSingle, true, "2273.2 K"},
      {100.0, 2273.3, kSingle, false, "above 2273.2 K"},
      {-1.0, 373.0, 1.00001, true, "XQUAL 1.00001 is a mixture"},
      {-1.0, 373.0, 1.00002, false, "XQUAL above 1.00001"},
      {-1.0, 373.0, -1e-5, true, "XQUAL -1e-5 is a mixture"},
      {-1.0, -1.0, 0.0, false, "neither pressure nor temperature given"},
      {-1.0, 272.9, 0.0, false, "saturation below 273.0 K"},
      {-1.0, 647.31, 0.0, false, "saturation above 647.3 K"},
      {0.0060, -1.0, 0.0, false, "saturation below 0.00061 MPa"},
      {221.21, -1.0, 0.0, false, "saturation above 22.12 MPa"},
  };
  for (const auto& c : kCases) {
    const double h = IF97HPTX(c.P, c.T, c.X);
    EXPECT_EQ(h != -1.0, c.accepted) << c.why << ": " << h;
  }
  // Region 5 at 50.09 MPa: only the volume derivatives (limit 50.01 MPa)
  // refuse it; at 50.1 MPa every router does.
  for (const auto& r : kRouters) {
    EXPECT_EQ(r.router(500.9, 1500.0, kSingle) == -1.0, r.derivative) << r.name;
    EXPECT_EQ(r.router(501.0, 1500.0, kSingle), -1.0) << r.name;
  }
  // -1.1e-5 is a single-phase request: 1 bar, 300 K is liquid.
  EXPECT_EQ(IF97VPTX(1.0, 300.0, -1.1e-5), IF97R1V(0.1, 300.0));
}

TEST(PtxRouters, SaturationPath) {
  const double t = 373.15, p = IF97PSAT(t);
  // Temperature given: the pressure is psat(T); pressure given: T = Tsat(p).
  EXPECT_EQ(IF97HPTX(-1.0, t, 0.0), IF97R1H(p, t));
  EXPECT_EQ(IF97HPTX(-1.0, t, 1.0), IF97R2H(p, t));
  EXPECT_EQ(IF97HPTX(10.0, -1.0, 1.0), IF97R2H(1.0, IF97TSAT(1.0)));
  // Both given: 0.05 K off is evaluated at the given temperature, 0.2 K off
  // is refused.
  const double ts = IF97TSAT(1.0);
  EXPECT_EQ(IF97HPTX(10.0, ts + 0.05, 0.0), IF97R1H(1.0, ts + 0.05));
  EXPECT_EQ(IF97HPTX(10.0, ts - 0.2, 0.0), -1.0);
  // Mixtures: group A interpolates, group B refuses.
  for (const auto& r : kRouters) {
    const double liquid = r.router(-1.0, t, 0.0), vapour = r.router(-1.0, t, 1.0);
    const double mixture = r.router(-1.0, t, 0.25);
    EXPECT_DOUBLE_EQ(mixture, r.lever ? liquid + 0.25 * (vapour - liquid) : -1.0) << r.name;
  }
  // Above 623.15 K the saturated phases come from the region-3 side volumes.
  const double p640 = IF97PSAT(640.0);
  EXPECT_EQ(IF97HPTX(-1.0, 640.0, 1.0), IF97R3H(640.0, IF97V3PTV(p640, 640.0)));
  EXPECT_EQ(IF97HPTX(-1.0, 640.0, 0.0), IF97R3H(640.0, IF97V3PTL(p640, 640.0)));
  EXPECT_EQ(IF97HPTX(-1.0, 620.0, 1.0), IF97R2H(IF97PSAT(620.0), 620.0));
}

TEST(PtxRouters, CriticalPointInDetail) {
  for (const double x : {-1e-5, 0.0, 0.3, 1.0, 1.00001}) {
    EXPECT_EQ(IF97VPTX(-1.0, 647.1, x), kVc) << x;
    EXPECT_EQ(IF97RHOPTX(-1.0, 647.1, x), 322.0) << x;
    EXPECT_EQ(IF97HPTX(-1.0, 647.1, x), IF97R3H(kTc, kVc)) << x;
    EXPECT_EQ(IF97HPTX(220.64, -1.0, x), IF97R3H(kTc, kVc)) << x;
  }
  EXPECT_EQ(IF97CPPTX(-1.0, 647.1, 0.0), std::fabs(IF97R3CP(kTc, kVc)));
  EXPECT_EQ(IF97CPPTX(-1.0, 647.1, 1.0), std::fabs(IF97R3CP(kTc, kVc)));
  EXPECT_EQ(IF97CPPTX(-1.0, 647.1, 0.5), -1.0);
  // The volume derivatives diverge at the critical point: dv/dp towards
  // -inf, dv/dT towards +inf. Their fixed values are IF97's magnitudes at
  // (Tc, 322 kg/m3) from the extended-precision table, with those signs.
  const double dvdp = IF97DVPPTX(-1.0, 647.1, 0.0), dvdt = IF97DVTPTX(-1.0, 647.1, 1.0);
  EXPECT_NEAR(dvdp, -1.0 / if97_reference::kCriticalDpDv, 1e-12 * std::fabs(dvdp));
  EXPECT_NEAR(-dvdt / dvdp, if97_reference::kCriticalDpDt, 1e-12 * if97_reference::kCriticalDpDt);
  // States beside the point on the critical isochore approach them.
  for (const double dt : {1e-6, 1e-7, 1e-8}) {
    const double near_dvdp = IF97R3DVP(kTc + dt, kVc), near_dvdt = IF97R3DVT(kTc + dt, kVc);
    EXPECT_LT(dvdp, near_dvdp) << dt;
    EXPECT_LT(near_dvdp, 0.0) << dt;
    EXPECT_GT(dvdt, near_dvdt) << dt;
    EXPECT_GT(near_dvdt, 0.0) << dt;
  }
  EXPECT_EQ(IF97SPTX(-1.0, 647.1, 0.5), IF97R3S(kTc, kVc));
  // Both given: only a pair on the (continued) saturation line near the
  // critical point is the critical point.
  EXPECT_EQ(IF97HPTX(1.0, 647.2, 0.0), -1.0);
  EXPECT_EQ(IF97HPTX(220.0, 647.1, 0.0), -1.0);
  EXPECT_EQ(IF97HPTX(220.64, 647.15, 0.0), IF97R3H(kTc, kVc));
  EXPECT_EQ(IF97HPTX(221.2, 647.3, 1.0), IF97R3H(kTc, kVc));
}

TEST(PtxRouters, ExergyAgainstTheDeadState) {
  EXPECT_NEAR(IF97EXPTX(1.01325, 298.15, kSingle, 298.15), 0.0, 1e-9);
  const double h0 = IF97R1H(0.101325, 298.15), s0 = IF97R1S(0.101325, 298.15);
  const double e = (IF97R2H(1.0, 500.0) - h0) - 298.15 * (IF97R2S(1.0, 500.0) - s0);
  EXPECT_DOUBLE_EQ(ExergyAt298(10.0, 500.0, kSingle), e);
  // Exergy is linear in h and s, so the lever rule on it is that of h and s.
  EXPECT_NEAR(ExergyAt298(-1.0, 400.0, 0.4),
              (IF97HPTX(-1.0, 400.0, 0.4) - h0) - 298.15 * (IF97SPTX(-1.0, 400.0, 0.4) - s0), 1e-9);
}

TEST(PtxRouters, BadInputGivesTheFailureValue) {
  const double nan = std::nan("");
  const double states[][3] = {{nan, 300.0, kSingle},    {1.0, nan, kSingle},
                              {1.0, 300.0, nan},        {nan, 373.0, 0.0},
                              {10.0, nan, 1.0},         {0.0, 300.0, kSingle},
                              {-1.0, 300.0, kSingle},   {1.0, -300.0, kSingle},
                              {1.0, HUGE_VAL, kSingle}, {HUGE_VAL, 300.0, kSingle}};
  for (const auto& s : states) {
    for (const auto& r : kRouters) {
      EXPECT_EQ(r.router(s[0], s[1], s[2]), -1.0) << r.name << " " << s[0] << " " << s[1];
    }
    EXPECT_EQ(IF97RHOPTX(s[0], s[1], s[2]), -1.0);
    EXPECT_EQ(ExergyAt298(s[0], s[1], s[2]), -1.0);
  }
  EXPECT_EQ(IF97EXPTX(10.0, 500.0, kSingle, nan), -1.0);
  EXPECT_EQ(IF97EXPTX(10.0, 500.0, kSingle, 0.0), -1.0);
}

// (P bar, T K, XQUAL) and the state the transport router must use: region,
// p [MPa], T, v.
struct TransportState {
  double P, T, X;
  int region;
  double p, t, v;
  const char* what;
};

std::vector<TransportState> TransportStates() {
  const double p640 = IF97PSAT(640.0);
  return {
      {10.0, 300.0, kSingle, 1, 1.0, 300.0, IF97R1V(1.0, 300.0), "region 1"},
      {10.0, 500.0, kSingle, 2, 1.0, 500.0, IF97R2V(1.0, 500.0), "region 2"},
      {100.0, 1000.0, kSingle, 2, 10.0, 1000.0, IF97R2V(10.0, 1000.0), "region 2 above 973.15 K"},
      {250.0, 650.0, kSingle, 3, 25.0, 650.0, IF97V3PT(25.0, 650.0), "region 3"},
      {100.0, 1100.0, kSingle, 5, 10.0, 1100.0, IF97R5V(10.0, 1100.0), "region 5"},
      {-1.0, 640.0, 0.0, 3, p640, 640.0, IF97V3PTL(p640, 640.0), "saturated liquid 640 K"},
      {-1.0, 640.0, 1.0, 3, p640, 640.0, IF97V3PTV(p640, 640.0), "saturated vapour 640 K"},
      {-1.0, 647.2, 1.0, 3, 22.0639999998894, 647.096, kVc, "critical point"},
  };
}

TEST(PtxTransportRouters, UseTheReleasesAtTheRoutersVolume) {
  for (const auto& s : TransportStates()) {
    SCOPED_TRACE(s.what);
    double cp = 0.0, cv = 0.0, eta = 0.0, tcon = 0.0;
    WTCON11(s.p, s.t, s.v, s.region, cp, cv, eta, tcon);
    EXPECT_EQ(IF97LAMPTX(s.P, s.T, s.X), tcon);
    EXPECT_EQ(IF97ETAPTX(s.P, s.T, s.X), WVISC08(s.t, s.v));
    EXPECT_EQ(IF97NUPTX(s.P, s.T, s.X), WVISC08(s.t, s.v) * s.v);
    // The bundle fills a positive cp also where the conductivity leaves it
    // unset (always in region 5); Prandtl number and diffusivity agree with it.
    double out[4] = {};
    IF97TRNPTX(out[0], out[1], out[2], out[3], s.P, s.T, s.X);
    EXPECT_EQ(out[0], tcon);
    EXPECT_GT(out[1], 0.0);
    EXPECT_GT(out[2], 0.0);
    EXPECT_EQ(out[3], 1.0 / s.v);
    EXPECT_DOUBLE_EQ(IF97PRNPTX(s.P, s.T, s.X), out[1] * out[2] * 1000.0 / tcon);
    EXPECT_DOUBLE_EQ(IF97ALFPTX(s.P, s.T, s.X), tcon * s.v / (out[2] * 1000.0));
  }
}

TEST(PtxTransportRouters, Refusals) {
  const struct {
    double P, T, X;
    const char* why;
  } kCases[] = {
      {100.0, 1200.0, kSingle, "region 5 above 1173.2 K"},
      {500.5, 1100.0, kSingle, "region 5 above 50.01 MPa"},
      {-1.0, 400.0, 0.5, "mixture"},
      {-1.0, 647.2, 0.3, "critical point with a mixture quality"},
      {1000.2, 300.0, kSingle, "above 100.01 MPa"},
      {10.0, std::nan(""), kSingle, "temperature not a number"},
      {10.0, 300.0, 1.5, "quality above 1.00001"},
  };
  for (const auto& c : kCases) {
    for (const PtxRouter f : {IF97LAMPTX, IF97ETAPTX, IF97NUPTX, IF97PRNPTX, IF97ALFPTX}) {
      EXPECT_EQ(f(c.P, c.T, c.X), -1.0) << c.why;
    }
    double out[4] = {};
    IF97TRNPTX(out[0], out[1], out[2], out[3], c.P, c.T, c.X);
    for (const double v : out) EXPECT_EQ(v, -1.0) << c.why;
  }
  // The property routers accept the hot states the transport routers refuse.
  EXPECT_NE(IF97HPTX(100.0, 1200.0, kSingle), -1.0);
  EXPECT_NE(IF97HPTX(500.5, 1100.0, kSingle), -1.0);
}

}  // namespace
}  // namespace thermomodels
