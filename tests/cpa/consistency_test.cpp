// Thermodynamic consistency of the CPA routine's outputs, checked against
// identities and numerical derivatives of its own Gibbs energy and
// pressure: G = H - T S, the sum rule, S = -dG/dT, V = dG/dP,
// ln phi_i = d(n g_res/RT)/dn_i, Gibbs-Duhem, dP/dV, dP/dT and dV/dT.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "cpa/cpa_fixture.h"

namespace {

using namespace cpa_test;
using thermomodels::kCpaPref;
using thermomodels::kCpaRgas;

// Plain SRK propane (acentric factor 0.152).
constexpr Component kPropaneSrk{369.8, 4.248e6, 0.7152, 0.0, 0.0, 1e35};

struct KijRecord {
  int64_t k, l;
  double c1, c2;
};

struct Case {
  std::string name;
  std::vector<Component> comps;
  std::vector<KijRecord> kij;
  std::vector<double> x;
  double t, p;
  int64_t kvl;
};

// Cubic term only.
std::vector<Case> CubicCases() {
  const std::vector<KijRecord> none;
  // Asymmetric: both orders given with different values.
  const std::vector<KijRecord> srk_asym = {{1, 2, 0.03, 0.01}, {2, 1, -0.02, 0.005}};
  return {
      {"SRK methane+propane vapour", {kMethaneSrk, kPropaneSrk}, none, {0.9, 0.1}, 300.0, 1e6, 1},
      {"SRK methane+propane liquid", {kMethaneSrk, kPropaneSrk}, none, {0.2, 0.8}, 250.0, 2e6, 2},
      {"SRK asymmetric k_ij liquid", {kMethaneSrk, kPropaneSrk}, srk_asym, {0.2, 0.8}, 250.0, 2e6, 2},
  };
}

// With the association term: water with an inert and with a second
// associating component.
std::vector<Case> AssociatingCases() {
  const std::vector<KijRecord> none;
  const std::vector<KijRecord> wm_asym = {{1, 2, -0.09, 0.01}, {2, 1, -0.03, -0.02}};
  return {
      {"water+methane liquid", {kWater, kMethaneCpa}, none, {0.98, 0.02}, 350.0, 5e6, 2},
      {"water+methane vapour", {kWater, kMethaneCpa}, none, {0.05, 0.95}, 400.0, 2e6, 1},
      {"water+methanol liquid", {kWater, kMethanol}, none, {0.6, 0.4}, 320.0, 1e5, 2},
      {"water+methanol vapour", {kWater, kMethanol}, none, {0.3, 0.7}, 400.0, 1e5, 1},
      {"water+methanol asymmetric k_ij liquid", {kWater, kMethanol}, wm_asym, {0.6, 0.4}, 320.0,
       1e5, 2},
  };
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class Consistency : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    ResetCpaState();
    const Case& c = GetParam();
    sys_ = std::make_unique<CpaSystem>(c.comps);
    for (const auto& k : c.kij) sys_->SetKij(k.k, k.l, k.c1, k.c2);
    idx_ = {1, 2};
    req_.kvl = c.kvl;
  }

  Result At(double t, double p, const std::vector<double>& x, Request r) {
    return sys_->Call(t, p, idx_, x, r);
  }
  Result At(double t, double p, const std::vector<double>& x) { return At(t, p, x, req_); }

  // g_res/RT at T and P: the Gibbs departure without the pressure term.
  double GRes(double t, double p, const std::vector<double>& x) {
    const Result r = At(t, p, x);
    EXPECT_EQ(r.ierr, 0);
    return r.dg / (kCpaRgas * t) - std::log(p / kCpaPref);
  }

  std::unique_ptr<CpaSystem> sys_;
  std::vector<int64_t> idx_;
  Request req_;
};

TEST_P(Consistency, GibbsEnergyIdentitiesAndDerivatives) {
  const Case& c = GetParam();
  const Result r = At(c.t, c.p, c.x);
  ASSERT_EQ(r.ierr, 0);
  const double rt = kCpaRgas * c.t;
  EXPECT_NEAR(r.dg, r.dh - c.t * r.ds, 1e-10 * (std::fabs(r.dh) + rt));
  double sum = 0.0;
  for (size_t i = 0; i < c.x.size(); ++i) sum += c.x[i] * r.phi[i];
  double expected = r.dg / rt - std::log(c.p / kCpaPref);
  if (c.kvl == 2) expected += std::log(r.pcalc / c.p);
  EXPECT_NEAR(sum, expected, 1e-10);
  EXPECT_NEAR(r.pcalc, c.p, 1e-9 * c.p);
  EXPECT_NEAR(r.z, c.p * r.v / rt, 1e-9);
  const double ht = 1e-3, hp = 1e-3 * c.p;
  const Result tp = At(c.t + ht, c.p, c.x), tm = At(c.t - ht, c.p, c.x);
  const Result pp = At(c.t, c.p + hp, c.x), pm = At(c.t, c.p - hp, c.x);
  const double ds_num = -(tp.dg - tm.dg) / (2 * ht);
  const double dh_num = (tp.dg / (c.t + ht) - tm.dg / (c.t - ht)) / (2 * ht) * -c.t * c.t;
  const double v_num = (pp.dg - pm.dg) / (2 * hp);
  EXPECT_NEAR(r.ds, ds_num, 1e-5 * (std::fabs(r.ds) + kCpaRgas));
  EXPECT_NEAR(r.dh, dh_num, 1e-5 * (std::fabs(r.dh) + kCpaRgas * c.t));
  EXPECT_NEAR(r.v, v_num, 1e-5 * r.v);
}

TEST_P(Consistency, LnPhiIsTheMolarDerivativeAndObeysGibbsDuhem) {
  const Case& c = GetParam();
  const Result r = At(c.t, c.p, c.x);
  ASSERT_EQ(r.ierr, 0);
  const double h = 1e-4;
  for (size_t i = 0; i < c.x.size(); ++i) {
    double ng[2];
    for (int side = 0; side < 2; ++side) {
      std::vector<double> n = c.x;
      n[i] += side == 0 ? h : -h;
      double total = 0.0;
      for (double v : n) total += v;
      std::vector<double> x = n;
      for (double& v : x) v /= total;
      ng[side] = total * GRes(c.t, c.p, x);
    }
    EXPECT_NEAR(r.phi[i], (ng[0] - ng[1]) / (2 * h), 1e-6) << "component " << i + 1;
  }
  // Gibbs-Duhem: sum x_i d ln phi_i = 0 along a change of composition.
  std::vector<double> xp = c.x, xm = c.x;
  xp[0] += h;
  xp[1] -= h;
  xm[0] -= h;
  xm[1] += h;
  const Result rp = At(c.t, c.p, xp), rm = At(c.t, c.p, xm);
  double sum = 0.0, scale = 0.0;
  for (size_t i = 0; i < c.x.size(); ++i) {
    sum += c.x[i] * (rp.phi[i] - rm.phi[i]);
    scale += std::fabs(rp.phi[i] - rm.phi[i]);
  }
  EXPECT_NEAR(sum, 0.0, 1e-6 * scale + 1e-10);
}

TEST_P(Consistency, PressureDerivativesOfTheRoot) {
  const Case& c = GetParam();
  Request r = req_;
  r.kder = 1;
  r.kv = 3;
  const Result root = At(c.t, c.p, c.x, r);
  ASSERT_EQ(root.ierr, 0);
  // The block the host reads after the call.
  EXPECT_EQ(ESRDER.DPDV, root.dpdv);
  EXPECT_EQ(ESRDER.DPDT, root.dpdt);
  EXPECT_EQ(ESRDER.DP2DVDT, root.dp2dvdt);
  EXPECT_EQ(ESRDER.DP2DV2, root.dp2dv2);
  // Pressures at given volumes around the root.
  Request given = req_;
  given.kvstrt = 1;
  auto pressure = [&](double t, double v) {
    given.v_in = v;
    return At(t, c.p, c.x, given).pcalc;
  };
  const double hv = 1e-6 * root.v, ht = 1e-3;
  const double dpdv_num = (pressure(c.t, root.v + hv) - pressure(c.t, root.v - hv)) / (2 * hv);
  const double dpdt_num = (pressure(c.t + ht, root.v) - pressure(c.t - ht, root.v)) / (2 * ht);
  EXPECT_NEAR(root.dpdv, dpdv_num, 1e-5 * std::fabs(dpdv_num));
  EXPECT_NEAR(root.dpdt, dpdt_num, 1e-4 * std::fabs(dpdt_num));
  EXPECT_NEAR(root.dvdt, -dpdt_num / dpdv_num, 1e-4 * std::fabs(root.dvdt));
  // The secant d2P/dV2 of the last iterations against a second difference.
  const double d2 =
      (pressure(c.t, root.v + 1e-3 * root.v) - 2 * c.p + pressure(c.t, root.v - 1e-3 * root.v)) /
      (1e-6 * root.v * root.v);
  if (root.dp2dv2 != 0.0) {
    EXPECT_NEAR(root.dp2dv2, d2, 0.2 * std::fabs(d2));
  }
}

// With every request at 3 the derivatives are forward differences of two
// plain calls at T + 0.001 K and T.
TEST_P(Consistency, TemperatureDerivativesAreForwardDifferences) {
  const Case& c = GetParam();
  Request all = req_;
  all.kphi = all.kh = all.ks = all.kg = all.kv = 3;
  all.kder = 1;
  const Result d = At(c.t, c.p, c.x, all);
  ASSERT_EQ(d.ierr, 0);
  const double dt = 0.001;
  const Result up = At(c.t + dt, c.p, c.x), here = At(c.t, c.p, c.x);
  auto close = [](double, double b) { return 1e-4 * std::fabs(b) + 1e-9; };
  EXPECT_NEAR(d.dhdt, (up.dh - here.dh) / dt, close(d.dhdt, (up.dh - here.dh) / dt));
  EXPECT_NEAR(d.dsdt, (up.ds - here.ds) / dt, close(d.dsdt, (up.ds - here.ds) / dt));
  EXPECT_NEAR(d.dgdt, (up.dg - here.dg) / dt, close(d.dgdt, (up.dg - here.dg) / dt));
  EXPECT_NEAR(d.dvdt, (up.v - here.v) / dt, close(d.dvdt, (up.v - here.v) / dt));
  for (size_t i = 0; i < c.x.size(); ++i) {
    const double fd = (up.phi[i] - here.phi[i]) / dt;
    EXPECT_NEAR(d.dphidt[i], fd, close(d.dphidt[i], fd)) << "component " << i + 1;
  }
  // The values of the same call are those at T.
  EXPECT_NEAR(d.v, here.v, 1e-9 * here.v);
  EXPECT_NEAR(d.dh, here.dh, 1e-9 * std::fabs(here.dh));
  // Gibbs-Helmholtz on the derivatives: dG/dT = dH/dT - T dS/dT - S.
  EXPECT_NEAR(d.dgdt, d.dhdt - c.t * d.dsdt - d.ds, 1e-3 * (std::fabs(d.ds) + 1.0));
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  std::string s = info.param.name;
  for (char& ch : s) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return s;
}

INSTANTIATE_TEST_SUITE_P(Cubic, Consistency, ::testing::ValuesIn(CubicCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(Associating, Consistency, ::testing::ValuesIn(AssociatingCases()),
                         CaseName);

}  // namespace
