// Thermodynamic consistency of the CPA routine's derivative outputs, checked
// against numerical derivatives of its own pressure and of plain calls (the
// values themselves are checked against the independent evaluation of
// reference_test.cpp).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "cpa/cpa_fixture.h"

namespace {

using namespace cpa_test;

// Plain SRK propane (acentric factor 0.152).
constexpr Component kPropaneSrk{369.8, 4.248e6, 0.7152, 0.0, 0.0, 1e35};

struct Case {
  std::string name;
  std::vector<Component> comps;
  std::vector<double> kij;  // records (c1, c2) of (1, 2) then (2, 1); empty: none
  std::vector<double> x;
  double t, p;
  int64_t kvl;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// The asymmetric cases give (1, 2) and (2, 1) different records, so the
// composition derivative of the energy parameter needs a_ij + a_ji.
const Case kCases[] = {
    {"SrkMethanePropaneAsymmetricLiquid",
     {kMethaneSrk, kPropaneSrk},
     {0.03, 0.01, -0.02, 0.005},
     {0.2, 0.8},
     250.0,
     2e6,
     2},
    {"WaterMethaneLiquid", {kWater, kMethaneCpa}, {}, {0.98, 0.02}, 350.0, 5e6, 2},
    {"WaterMethaneVapour", {kWater, kMethaneCpa}, {}, {0.05, 0.95}, 400.0, 2e6, 1},
    {"WaterMethanolLiquid", {kWater, kMethanol}, {}, {0.6, 0.4}, 320.0, 1e5, 2},
    {"WaterMethanolVapour", {kWater, kMethanol}, {}, {0.3, 0.7}, 400.0, 1e5, 1},
};

class Consistency : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    ResetCpaState();
    if (c.kij.empty()) return;
    sys_.SetKij(1, 2, c.kij[0], c.kij[1]);
    sys_.SetKij(2, 1, c.kij[2], c.kij[3]);
  }
  Result At(double t, double p, const std::vector<double>& x, Request r = {}) {
    r.kvl = c.kvl;
    return sys_.Call(t, p, x, r);
  }

  const Case& c = GetParam();
  CpaSystem sys_{c.comps};
};

// DPDV, DPDT and DVDT against differences of PCALC at given volumes, and
// the copies in ESRDER that the host reads.
TEST_P(Consistency, PressureDerivativesOfTheRoot) {
  const Result root = At(c.t, c.p, c.x, {.kv = 3, .kder = 1});
  ASSERT_EQ(root.ierr, 0);
  EXPECT_EQ((std::array{ESRDER.DPDV, ESRDER.DPDT, ESRDER.DP2DVDT, ESRDER.DP2DV2}),
            (std::array{root.dpdv, root.dpdt, root.dp2dvdt, root.dp2dv2}));
  auto pressure = [&](double t, double v) {
    return At(t, c.p, c.x, {.kvstrt = 1, .v_in = v}).pcalc;
  };
  const double v = root.v, hv = 1e-6 * v, ht = 1e-3;
  const double dpdv_num = (pressure(c.t, v + hv) - pressure(c.t, v - hv)) / (2 * hv);
  const double dpdt_num = (pressure(c.t + ht, v) - pressure(c.t - ht, v)) / (2 * ht);
  EXPECT_NEAR(root.dpdv, dpdv_num, 1e-5 * std::fabs(dpdv_num));
  EXPECT_NEAR(root.dpdt, dpdt_num, 1e-4 * std::fabs(dpdt_num));
  EXPECT_NEAR(root.dvdt, -dpdt_num / dpdv_num, 1e-4 * std::fabs(root.dvdt));
  // DP2DV2 is the secant of the last iterations, when there were two.
  const double d2 =
      (pressure(c.t, 1.001 * v) - 2 * c.p + pressure(c.t, 0.999 * v)) / (1e-6 * v * v);
  if (root.dp2dv2 != 0.0) {
    EXPECT_NEAR(root.dp2dv2, d2, 0.2 * std::fabs(d2));
  }
}

// With every request at 3 the derivatives are forward differences of two
// plain calls at T + 0.001 K and T, and the values are those at T.
TEST_P(Consistency, TemperatureDerivativesAreForwardDifferences) {
  const Result d = At(c.t, c.p, c.x, {.kphi = 3, .kh = 3, .ks = 3, .kg = 3, .kv = 3, .kder = 1});
  ASSERT_EQ(d.ierr, 0);
  const double dt = 0.001;
  const Result up = At(c.t + dt, c.p, c.x), here = At(c.t, c.p, c.x);
  const struct {
    const char* what;
    double derivative, up, here;
  } rows[] = {{"DHDT", d.dhdt, up.dh, here.dh},
              {"DSDT", d.dsdt, up.ds, here.ds},
              {"DGDT", d.dgdt, up.dg, here.dg},
              {"DVDT", d.dvdt, up.v, here.v},
              {"DPHIDT 1", d.dphidt[0], up.phi[0], here.phi[0]},
              {"DPHIDT 2", d.dphidt[1], up.phi[1], here.phi[1]}};
  for (const auto& row : rows) {
    const double fd = (row.up - row.here) / dt;
    EXPECT_NEAR(row.derivative, fd, 1e-7 * std::fabs(fd) + 1e-12) << row.what;
  }
  EXPECT_NEAR(d.v, here.v, 1e-9 * here.v);
  EXPECT_NEAR(d.dh, here.dh, 1e-9 * std::fabs(here.dh));
}

INSTANTIATE_TEST_SUITE_P(Mixtures, Consistency, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
