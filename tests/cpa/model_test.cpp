// The CPA model's values: binary-parameter correlations, published values, and derivative outputs
// against numerical derivatives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "cpa/cpa_fixture.h"

namespace {

using namespace cpa_test;
using thermomodels::kCpaRgas;

// COEF(NCOEF, 2, 2) with the record of (1, 2) filled and K = 0.7 in the record of (2, 1): K and T
// dK/dT at T.
std::pair<std::vector<double>, std::vector<double>> Binary(int64_t ncoef, int64_t ktref,
                                                           const std::vector<double>& record,
                                                           double t, double flag1 = 1.0,
                                                           int64_t skip2 = 0) {
  std::vector<double> coef(static_cast<size_t>(4 * ncoef), 0.0), flags{flag1, 1.0};
  std::copy(record.begin(), record.end(), coef.begin() + 2 * ncoef);
  coef[static_cast<size_t>(ncoef)] = 0.7;
  const std::vector<int64_t> skip{0, skip2};
  std::vector<double> k(4, -1.0), tdk(4, -1.0);
  thermomodels::CPAKTV(t, ncoef, ktref, 2, coef.data(), flags.data(), skip.data(), k.data());
  thermomodels::CPAKTD(t, ncoef, ktref, 2, coef.data(), flags.data(), skip.data(), tdk.data());
  return {k, tdk};
}

// K = c1 + c2 T/298.15 on rows whose flag is exactly 1, read from the record of (row, column); a
// skipped component has neither.
TEST(BinaryParameters, TwoCoefficientFormFlagsAndSkips) {
  const struct {
    const char* what;
    double c1, c2, t, flag;
    int64_t skip2;
    double k12, t_dkdt, k21;
  } cases[] = {
      {"twice the reference T", 0.05, 0.01, 596.3, 1.0, 0, 0.07, 0.02, 0.7},
      {"missing c1 counts as 0", 1e35, 0.01, 596.3, 1.0, 0, 0.02, 0.02, 0.7},
      {"row flag 0.999", 0.5, 0.0, 298.15, 0.999, 0, 0.0, 0.0, 0.7},
      {"component 2 skipped", 0.5, 0.0, 298.15, 1.0, 1, 0.0, 0.0, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto [k, tdk] = Binary(2, 0, {c.c1, c.c2}, c.t, c.flag, c.skip2);
    EXPECT_NEAR(k[2], c.k12, 1e-14);
    EXPECT_NEAR(tdk[2], c.t_dkdt, 1e-14);
    EXPECT_EQ((std::vector{k[0], k[1], k[3]}), (std::vector{0.0, c.k21, 0.0}));
  }
  // The longer forms' derivatives against central differences of their values.
  const struct {
    int64_t ncoef, ktref;
    std::vector<double> record;
  } forms[] = {
      {2, 0, {0.05, -0.03}},
      {4, 0, {0.02, 0.01, -0.004, 0.0}},
      {4, 4, {0.02, 0.01, -0.004, 350.0}},  // reference temperature in word 4
      {5, 0, {0.1, -0.02, 0.03, 0.004, -0.0005}},
  };
  for (const auto& f : forms) {
    auto at = [&](double t) { return Binary(f.ncoef, f.ktref, f.record, t); };
    const double t = 410.0, h = 1e-3;
    const double fd = t * (at(t + h).first[2] - at(t - h).first[2]) / (2 * h);
    EXPECT_NEAR(at(t).second[2], fd, 1e-9) << "NCOEF " << f.ncoef << " KTREF " << f.ktref;
  }
}

Result Pure(const Component& comp, double t, double p, int64_t kvl) {
  ResetCpaState();
  return CpaSystem({comp}).Call(t, p, {1.0}, {.kvl = kvl});
}

// The SRK limit for methane. At 298.15 K, V and ln phi of water from an independent closed form of
// the pure four-site fluid; at 373.15 K its liquid and vapour ln phi are equal at 100215.67 Pa.
TEST(PublishedValues, SrkMethaneAndPureWater) {
  const Result methane = Pure(kMethaneSrk, 250.0, 5e6, 1), res = Pure(kWater, 298.15, 101325.0, 2);
  EXPECT_EQ(methane.ierr + res.ierr, 0);
  EXPECT_NEAR(methane.v, 0.3485072, 1e-7 * 0.3485072);
  EXPECT_NEAR(methane.phi[0], -0.1617630, 1e-7);
  EXPECT_NEAR(res.v, 0.0179259483, 1e-6 * 0.0179259483);
  EXPECT_NEAR(res.phi[0], -3.46391383, 1e-6 * 3.46391383);
  auto gap = [](double p) {
    const Result l = Pure(kWater, 373.15, p, 2), v = Pure(kWater, 373.15, p, 1);
    EXPECT_EQ(l.ierr + v.ierr, 0) << "P " << p;
    return l.phi[0] - v.phi[0];
  };
  double p0 = 9e4, p1 = 1.1e5, f0 = gap(p0), f1 = gap(p1);
  for (int i = 0; i < 30 && std::fabs(p1 - p0) > 1e-4; ++i) {
    p0 = std::exchange(p1, p1 - f1 * (p1 - p0) / (f1 - f0));
    f0 = std::exchange(f1, gap(p1));
  }
  EXPECT_NEAR(p1, 100215.67, 1e-5 * 100215.67);
}

constexpr Component kPropaneSrk{369.8, 4.248e6, 0.7152, 0.0, 0.0, 1e35};  // SRK, omega 0.152

struct Case {
  std::string name;
  std::vector<Component> comps;
  std::vector<double> x;
  double t, p;
  int64_t kvl;
  std::vector<double> kij = {};  // records (c1, c2) of (1, 2) then (2, 1)
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// Asymmetric records of (1, 2) and (2, 1): dAM/dx_i needs a_ij + a_ji.
const Case kCases[] = {
    {"SrkMethanePropaneAsymmetricLiquid",
     {kMethaneSrk, kPropaneSrk},
     {0.2, 0.8},
     250.0,
     2e6,
     2,
     {0.03, 0.01, -0.02, 0.005}},
    {"WaterMethaneLiquid", {kWater, kMethaneCpa}, {0.98, 0.02}, 350.0, 5e6, 2},
    {"WaterMethaneVapour", {kWater, kMethaneCpa}, {0.05, 0.95}, 400.0, 2e6, 1},
    {"WaterMethanolLiquid", {kWater, kMethanol}, {0.6, 0.4}, 320.0, 1e5, 2},
    {"WaterMethanolVapour", {kWater, kMethanol}, {0.3, 0.7}, 400.0, 1e5, 1},
};

class Consistency : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    ResetCpaState();
    if (c.kij.empty()) return;
    sys_.SetPair(sys_.kij, 1, 2, c.kij[0], c.kij[1]);
    sys_.SetPair(sys_.kij, 2, 1, c.kij[2], c.kij[3]);
  }
  Result At(double t, double p, const std::vector<double>& x, Request r = {}) {
    r.kvl = c.kvl;
    return sys_.Call(t, p, x, r);
  }
  const Case& c = GetParam();
  CpaSystem sys_{c.comps};
};

// Z = PV/RT; DPDV, DPDT, DVDT and DP2DV2 (secant of the last two iterations, if any) against
// differences of PCALC at given volumes; copies in ESRDER.
TEST_P(Consistency, PressureDerivativesOfTheRoot) {
  const Result root = At(c.t, c.p, c.x, {.kv = 3, .kder = 1});
  ASSERT_EQ(root.ierr, 0);
  EXPECT_NEAR(root.z, c.p * root.v / (kCpaRgas * c.t), 1e-7);
  EXPECT_EQ((std::vector{ESRDER.DPDV, ESRDER.DPDT, ESRDER.DP2DVDT, ESRDER.DP2DV2}),
            (std::vector{root.dpdv, root.dpdt, root.dp2dvdt, root.dp2dv2}));
  auto pressure = [&](double t, double v) {
    return At(t, c.p, c.x, {.kvstrt = 1, .v_in = v}).pcalc;
  };
  const double v = root.v, hv = 1e-6 * v, ht = 1e-3;
  const double dpdv_num = (pressure(c.t, v + hv) - pressure(c.t, v - hv)) / (2 * hv);
  const double dpdt_num = (pressure(c.t + ht, v) - pressure(c.t - ht, v)) / (2 * ht);
  EXPECT_NEAR(root.dpdv, dpdv_num, 1e-5 * std::fabs(dpdv_num));
  EXPECT_NEAR(root.dpdt, dpdt_num, 1e-4 * std::fabs(dpdt_num));
  EXPECT_NEAR(root.dvdt, -dpdt_num / dpdv_num, 1e-4 * std::fabs(root.dvdt));
  const double d2 =
      (pressure(c.t, 1.001 * v) - 2 * c.p + pressure(c.t, 0.999 * v)) / (1e-6 * v * v);
  if (root.dp2dv2 != 0.0) {
    EXPECT_NEAR(root.dp2dv2, d2, 0.2 * std::fabs(d2));
  }
}

// Temperature derivatives are forward differences of plain calls at T + 0.001 K and T; the values
// are those at T.
TEST_P(Consistency, TemperatureDerivativesAreForwardDifferences) {
  const Result d = At(c.t, c.p, c.x, {.kphi = 3, .kh = 3, .ks = 3, .kg = 3, .kv = 3, .kder = 1});
  ASSERT_EQ(d.ierr, 0);
  const double dt = 0.001;
  const Result up = At(c.t + dt, c.p, c.x), here = At(c.t, c.p, c.x);
  std::vector<std::vector<double>> rows = {{d.dhdt, up.dh, here.dh},
                                           {d.dsdt, up.ds, here.ds},
                                           {d.dgdt, up.dg, here.dg},
                                           {d.dvdt, up.v, here.v}};
  for (size_t i = 0; i < c.x.size(); ++i) rows.push_back({d.dphidt[i], up.phi[i], here.phi[i]});
  for (size_t k = 0; k < rows.size(); ++k) {
    const double fd = (rows[k][1] - rows[k][2]) / dt;
    EXPECT_NEAR(rows[k][0], fd, 1e-7 * std::fabs(fd) + 1e-12) << "row " << k;
  }
  EXPECT_NEAR(d.v, here.v, 1e-9 * here.v);
  EXPECT_NEAR(d.dh, here.dh, 1e-9 * std::fabs(here.dh));
}

// ln phi_k is the partial molar residual Gibbs energy: a central difference of n (DGMX/RT -
// ln(P/101325)) in the amount of component k (the routine normalises the amounts it is given).
TEST_P(Consistency, LnPhiIsThePartialMolarGibbsEnergy) {
  const Result here = At(c.t, c.p, c.x);
  auto ng = [&](size_t k, double dn) {
    std::vector<double> n = c.x;
    n[k] += dn;
    const double total = std::accumulate(n.begin(), n.end(), 0.0);
    return total * (At(c.t, c.p, n).dg / (kCpaRgas * c.t) - std::log(c.p / 101325.0));
  };
  for (size_t k = 0; k < c.x.size(); ++k) {
    const double fd = (ng(k, 1e-5) - ng(k, -1e-5)) / 2e-5;
    EXPECT_NEAR(here.phi[k], fd, 1e-6 * std::max(1.0, std::fabs(fd))) << "component " << k + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Mixtures, Consistency, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

// A given cross association volume (water-methanol) replaces the combining rule.
TEST(BinaryParameters, GivenAssociationVolumeIsUsed) {
  ResetCpaState();
  CpaSystem sys{{kWater, kMethanol}};
  const Result rule = sys.Call(320.0, 1e5, {0.6, 0.4}, {.kvl = 2});
  sys.SetPair(sys.vij, 1, 2, 0.05, 0.0);
  EXPECT_GT(std::fabs(sys.Call(320.0, 1e5, {0.6, 0.4}, {.kvl = 2}).phi[0] - rule.phi[0]), 1e-3);
}

}  // namespace
