// Transport routers by pressure [bar], temperature [K] and quality flag: the
// 2011 conductivity and 2008 viscosity at the router's volume, the heat
// capacity fallback and the saturated-phase-only rule.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "water/backward/backward.h"
#include "water/drivers/drivers.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr double kVc = 0.003105590062111801;
constexpr double kSingle = -1.0;

struct Conductivity {
  double cp, cv, eta, tcon;
};
Conductivity Wtcon11At(double p, double t, double v, int64_t region) {
  Conductivity c{};
  WTCON11(p, t, v, region, c.cp, c.cv, c.eta, c.tcon);
  return c;
}

// (P bar, T K) -> the state the router must use: region, p [MPa], T, v.
struct TransportState {
  double P, T, X;
  int64_t region;
  double p, t, v;
  const char* what;
};

std::vector<TransportState> States() {
  const double p640 = IF97PSAT(640.0);
  const double p400 = IF97PSAT(400.0);
  return {
      {10.0, 300.0, kSingle, 1, 1.0, 300.0, IF97R1V(1.0, 300.0), "region 1"},
      {10.0, 500.0, kSingle, 2, 1.0, 500.0, IF97R2V(1.0, 500.0), "region 2"},
      {100.0, 1000.0, kSingle, 2, 10.0, 1000.0, IF97R2V(10.0, 1000.0), "region 2 above 973.15 K"},
      {250.0, 650.0, kSingle, 3, 25.0, 650.0, IF97V3PT(25.0, 650.0), "region 3"},
      {100.0, 1100.0, kSingle, 5, 10.0, 1100.0, IF97R5V(10.0, 1100.0), "region 5"},
      {-1.0, 400.0, 0.0, 1, p400, 400.0, IF97R1V(p400, 400.0), "saturated liquid 400 K"},
      {-1.0, 400.0, 1.0, 2, p400, 400.0, IF97R2V(p400, 400.0), "saturated vapour 400 K"},
      {-1.0, 640.0, 0.0, 3, p640, 640.0, IF97V3PTL(p640, 640.0), "saturated liquid 640 K"},
      {-1.0, 640.0, 1.0, 3, p640, 640.0, IF97V3PTV(p640, 640.0), "saturated vapour 640 K"},
      {-1.0, 647.2, 1.0, 3, 22.0639999998894, 647.096, kVc, "critical point"},
  };
}

TEST(PtxTransportRouters, UseTheReleasesAtTheRoutersVolume) {
  for (const auto& s : States()) {
    const Conductivity c = Wtcon11At(s.p, s.t, s.v, s.region);
    const double eta = WVISC08(s.t, s.v);
    EXPECT_EQ(IF97LAMPTX(s.P, s.T, s.X), c.tcon) << s.what;
    EXPECT_EQ(IF97ETAPTX(s.P, s.T, s.X), eta) << s.what;
    EXPECT_EQ(IF97NUPTX(s.P, s.T, s.X), eta * s.v) << s.what;

    // Heat capacity and viscosity where the conductivity leaves them unset.
    double cp = c.cp;
    double eta_used = c.eta;
    if (s.region == 5 || c.cp < 0.0) {
      switch (s.region) {
        case 1: cp = IF97R1CP(s.p, s.t); break;
        case 2: cp = IF97R2CP(s.p, s.t); break;
        case 3: cp = IF97R3CP(s.t, s.v); break;
        default: cp = IF97R5CP(s.p, s.t); break;
      }
      eta_used = eta;
    }
    ASSERT_GT(cp, 0.0) << s.what;
    EXPECT_DOUBLE_EQ(IF97PRNPTX(s.P, s.T, s.X), eta_used * cp * 1000.0 / c.tcon) << s.what;
    EXPECT_DOUBLE_EQ(IF97ALFPTX(s.P, s.T, s.X), c.tcon * s.v / (cp * 1000.0)) << s.what;

    double tcon = 0.0, eta_out = 0.0, cp_out = 0.0, rho = 0.0;
    IF97TRNPTX(tcon, eta_out, cp_out, rho, s.P, s.T, s.X);
    EXPECT_EQ(tcon, c.tcon) << s.what;
    EXPECT_EQ(eta_out, eta_used) << s.what;
    EXPECT_EQ(cp_out, cp) << s.what;
    EXPECT_EQ(rho, 1.0 / s.v) << s.what;
  }
}

TEST(PtxTransportRouters, SaturatedPhasesDiffer) {
  double liquid[4];
  double vapour[4];
  IF97TRNPTX(liquid[0], liquid[1], liquid[2], liquid[3], -1.0, 640.0, 0.0);
  IF97TRNPTX(vapour[0], vapour[1], vapour[2], vapour[3], -1.0, 640.0, 1.0);
  EXPECT_GT(liquid[3], vapour[3]);
  EXPECT_GT(liquid[0], vapour[0]);
  EXPECT_GT(liquid[1], vapour[1]);
  double critical[4];
  IF97TRNPTX(critical[0], critical[1], critical[2], critical[3], -1.0, 647.2, 1.0);
  EXPECT_EQ(critical[3], 322.0);
}

TEST(PtxTransportRouters, Refusals) {
  struct Case {
    double P, T, X;
    const char* why;
  };
  const Case cases[] = {
      {100.0, 1200.0, kSingle, "region 5 above 1173.2 K"},
      {500.5, 1100.0, kSingle, "region 5 above 50.01 MPa"},
      {-1.0, 400.0, 0.5, "mixture"},
      {-1.0, 647.2, 0.3, "critical point with a mixture quality"},
      {1000.2, 300.0, kSingle, "above 100.01 MPa"},
      {10.0, std::nan(""), kSingle, "temperature not a number"},
      {10.0, 300.0, 1.5, "quality above 1.00001"},
  };
  using Fn = double (*)(const double&, const double&, const double&);
  const Fn functions[] = {IF97LAMPTX, IF97ETAPTX, IF97NUPTX, IF97PRNPTX, IF97ALFPTX};
  for (const auto& c : cases) {
    for (const Fn f : functions) {
      EXPECT_EQ(f(c.P, c.T, c.X), -1.0) << c.why;
    }
    double out[4] = {0.0, 0.0, 0.0, 0.0};
    IF97TRNPTX(out[0], out[1], out[2], out[3], c.P, c.T, c.X);
    for (const double v : out) {
      EXPECT_EQ(v, -1.0) << c.why;
    }
  }
  // The property routers accept the hot states the transport routers refuse.
  EXPECT_NE(IF97HPTX(100.0, 1200.0, kSingle), -1.0);
  EXPECT_NE(IF97HPTX(500.5, 1100.0, kSingle), -1.0);
}

}  // namespace
}  // namespace thermomodels
