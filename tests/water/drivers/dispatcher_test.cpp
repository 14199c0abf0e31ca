// QUELTRIN_IF97PRPH against the IAPWS-IF97 verification tables, the IAPWS
// 2008 viscosity and 2011 conductivity check values, and the thermodynamic
// identities between its property codes.
#include <gtest/gtest.h>

#include <cmath>

#include "water/drivers/if97_reference_values.h"
#include "water/drivers/water_test_support.h"

namespace thermomodels {
namespace {

using water_test::kM;
using water_test::Prop;
using water_test::Prph;
using water_test::Value;

constexpr double kE = 18015.2;                 // kJ/kg -> J/kmol
constexpr double kRT0H0 = 45892556.81;         // J/kmol, ideal gas at 298.15 K
constexpr double kRS0 = 125384.7155;           // J/(kmol K)
constexpr double kRCP0 = 33587.0234;           // J/(kmol K)
constexpr double kRMolar = 18.0152 * 461.526;  // J/(kmol K), IF97's R
const double kNaN = std::nan("");

TEST(WaterDispatcher, ReproducesTheIf97VerificationTablesInMolarUnitsInDetail) {
  for (const auto& row : water_test::kIf97Rows) {
    SCOPED_TRACE(::testing::Message() << "IF97 region " << row.region << " T=" << row.t);
    const double p = row.p_mpa * 1e6, v = kM * row.v;
    auto near = [](double got, double want) { EXPECT_NEAR(got, want, 5e-9 * std::fabs(want)); };
    // Region 3 reads V and gives p back (code 14); the others give V.
    if (row.region == 3)
      near(Value(14, 3, row.t, p, v), p);
    else
      near(Value(5, row.region, row.t, p), v);
    near(Value(2, row.region, row.t, p, v) + kRT0H0, kE * row.h);
    near(Value(12, row.region, row.t, p, v), kE * row.u);
    near(Value(3, row.region, row.t, p, v) + kRS0, kE * row.s);
    near(Value(9, row.region, row.t, p, v) + kRCP0, kE * row.cp);
    near(Value(13, row.region, row.t, p, v), row.w);
  }
}

TEST(WaterDispatcher, Region3AgainstTheExtendedPrecisionTableInDetail) {
  // Heat capacities, also beside the fixed-value box of cp at the critical
  // point; code 10 subtracts the same ideal-gas term as code 9.
  for (const auto& row : if97_reference::kHeatCapacities) {
    SCOPED_TRACE(::testing::Message() << "T " << row.t << " V " << row.molar_volume);
    const double cp = kE * row.cp, cv = kE * row.cv;
    EXPECT_NEAR(Value(9, 3, row.t, 1e5, row.molar_volume) + kRCP0, cp, 1e-4 * cp);
    EXPECT_NEAR(Value(10, 3, row.t, 1e5, row.molar_volume) + kRCP0, cv, 1e-9 * cv);
  }
  // ln(f/p) at the caller's pressure, which need not be the region-3
  // pressure of (T, V).
  for (const auto& row : if97_reference::kFugacities) {
    SCOPED_TRACE(::testing::Message() << "T " << row.t << " P " << row.p);
    EXPECT_NEAR(Value(1, 3, row.t, row.p, row.molar_volume), row.ln_phi, 1e-12);
    EXPECT_NEAR(Value(14, 3, row.t, row.p, row.molar_volume), row.p3, 1e-9 * row.p3);
  }
}

TEST(WaterDispatcher, SaturationLineMatchesIf97Tables35And36) {
  for (const auto& row : water_test::kTsatRows)
    EXPECT_NEAR(Value(15, 1, 300.0, row.in * 1e6), row.out, 1e-6);
  for (const auto& row : water_test::kPsatRows)
    EXPECT_NEAR(Value(11, 0, row.in, 1.0), row.out * 1e6, 1e-8 * row.out * 1e6);
  EXPECT_NEAR(Value(11, 4, 373.15, 1.0), 101418.0, 1.0);
}

// The release check values (viscosity 2008 Table 4; conductivity 2011
// Table 4 without enhancement under region code 5, Tables 7 to 9 in the
// form for IF97) through the unit conversions and region codes.
TEST(WaterDispatcher, TransportReleasesCheckValuesInDetail) {
  EXPECT_NEAR(Value(6, 1, 298.15, 1e5, kM / 998.0), 889.735100e-6, 1e-12 * 889.7351);
  EXPECT_NEAR(Value(6, 2, 873.15, 1e5, kM / 100.0), 35.802262e-6, 1e-12 * 35.802262);
  const struct {
    int64_t region;
    double t, p_mpa, rho, lambda;
  } kConductivity[] = {{5, 298.15, 0.1, 998, 607.712868},
                       {1, 620, 20, 0, 481.485195},
                       {2, 650, 0.3, 0, 52.2311024},
                       {3, 647.35, 0, 222, 366.879411}};
  for (const auto& row : kConductivity) {
    const double p = row.p_mpa * 1e6;
    const double v = row.rho > 0 ? kM / row.rho : Value(5, row.region, row.t, p);
    EXPECT_NEAR(Value(7, row.region, row.t, p, v), 1e-3 * row.lambda, 1e-10 * row.lambda)
        << "region " << row.region << " T " << row.t;
  }
}

TEST(WaterDispatcher, ScalesAndSelectsInDetail) {
  EXPECT_NEAR(Value(5, 1, 300.0, 1e5), 0.01807743188, 1e-11);
  // Codes outside 1..15 are code 1.
  const double ln_phi = Value(1, 2, 500.0, 1e5);
  for (int32_t code : {0, 16, -3}) EXPECT_EQ(Value(code, 2, 500.0, 1e5), ln_phi) << code;
  // Codes that do not look at the region code answer for any; the others fail.
  for (int64_t region : {0, 6}) {
    EXPECT_EQ(Prop(8, region, 300.0, 1e5).ierr, 0);
    EXPECT_EQ(Prop(11, region, 300.0, 1e5).ierr, 0);
    EXPECT_EQ(Prop(14, region, 650.0, 1e5, kM / 500.0).ierr, 0);
    EXPECT_EQ(Prop(15, region, 300.0, 1e5).ierr, 0);
    const Prph r = Prop(2, region, 300.0, 1e5);
    EXPECT_EQ(r.value, kNoValue);
    EXPECT_EQ(r.ierr, 1);
  }
  // Code 5 in region 3 ignores V; codes 6 and 7 use the caller's V, code 14
  // evaluates region 3 whatever the region code.
  EXPECT_EQ(Value(5, 3, 650.0, 25e6, 123.0), Value(5, 3, 650.0, 25e6, kM / 500.0));
  EXPECT_NE(Value(6, 1, 300.0, 1e5, kM / 900.0), Value(6, 1, 300.0, 1e5, kM / 1000.0));
  EXPECT_NEAR(Value(14, 1, 650.0, 1.0, kM / 500.0), 0.255837018e8, 1.0);
  EXPECT_NEAR(Value(8, 1, 373.15, 1.0), 58.91e-3, 1e-5);  // IAPWS 1994 at 100 C
}

TEST(WaterDispatcher, FailuresGiveTheMarkerAndStatusInDetail) {
  const struct {
    const char* what;
    int32_t code;
    int64_t region;
    double t, p, v;
    int64_t phase;
  } kCases[] = {
      {"surface tension out of range", 8, 1, 200.0, 1e5, kNoValue, 0},
      {"psat below 273.15 K", 11, 4, 200.0, 1.0, kNoValue, 0},
      {"Tsat below 0.00061 MPa", 15, 1, 300.0, 5e2, kNoValue, 0},
      {"region 3 needs V", 2, 3, 650.0, 25e6, kNoValue, 0},
      {"pressure from (T, V) needs V", 14, 1, 650.0, 1.0, kNoValue, 0},
      {"viscosity needs V", 6, 1, 300.0, 1e5, kNoValue, 0},
      {"V negative", 7, 2, 500.0, 1e5, -1.0, 0},
      {"V zero", 1, 3, 650.0, 25e6, 0.0, 0},
      {"fugacity below 273.15 K, liquid", 1, 4, 270.0, 1e5, kNoValue, 2},
      {"fugacity below 273.15 K, vapour", 1, 4, 273.0, 1e5, kNoValue, 1},
      {"saturated vapour 27 K off the line", 3, 4, 300.0, 1e5, kNoValue, 1},
      {"zero pressure", 5, 2, 500.0, 0.0, kNoValue, 0},
      {"negative pressure", 5, 1, 300.0, -1e5, kNoValue, 0},
      {"negative pressure, saturated vapour", 1, 4, 300.0, -1e5, kNoValue, 1},
      {"pressure not a number", 15, 1, 300.0, kNaN, kNoValue, 0},
      {"infinite pressure", 2, 1, 300.0, INFINITY, kNoValue, 0},
      {"temperature not a number", 11, 1, kNaN, 1e5, kNoValue, 0},
      {"temperature not a number, surface tension", 8, 1, kNaN, 1e5, kNoValue, 0},
      {"zero temperature", 2, 3, 0.0, 1e5, kM / 500.0, 0},
      {"negative temperature", 14, 1, -650.0, 1e5, kM / 500.0, 0},
      {"volume not a number", 14, 1, 650.0, 1e5, kNaN, 0},
      {"volume beyond the double range", 5, 2, 700.0, 1e-320, kNoValue, 0},
  };
  for (const auto& c : kCases) {
    const Prph r = Prop(c.code, c.region, c.t, c.p, c.v, c.phase);
    EXPECT_EQ(r.value, kNoValue) << c.what;
    EXPECT_EQ(r.ierr, 1) << c.what;
  }
  // KPHASE 3 is a single-phase request for the router, which succeeds here.
  EXPECT_EQ(Prop(2, 4, 300.0, 1e5, kNoValue, 3).ierr, 0);
  // An argument the code does not read is not checked.
  EXPECT_EQ(Prop(11, 1, 373.15, kNaN).ierr, 0);
  EXPECT_EQ(Prop(15, 1, kNaN, 1e5).ierr, 0);
  EXPECT_EQ(Prop(2, 3, 650.0, 0.0, kM / 500.0).ierr, 0);
  EXPECT_EQ(Prop(6, 2, 500.0, -1.0, kM / 5.0).ierr, 0);
}

TEST(WaterDispatcher, RegionCode4FollowsThePhase) {
  // At Tsat(1 bar) KPHASE 2 is region 1, KPHASE 1 region 2; the fugacity
  // driver works in bar and must give the region function's ln phi.
  const double ts = Value(15, 0, 0.0, 1e5);
  const struct {
    int32_t code;
    int64_t phase, region;
    double t, tol;
  } kCases[] = {{5, 2, 1, ts, 1e-9},
                {5, 1, 2, ts, 1e-6},
                {1, 1, 2, ts, 1e-9},
                {1, 2, 1, ts, 1e-9},
                {1, 0, 1, 300.0, 1e-12}};
  for (const auto& c : kCases) {
    EXPECT_NEAR(Prop(c.code, 4, c.t, 1e5, kNoValue, c.phase).value,
                Value(c.code, c.region, c.t, 1e5), c.tol)
        << "code " << c.code << " KPHASE " << c.phase;
  }
}

TEST(WaterDispatcher, DepartureIdentitiesInRegions125) {
  const struct {
    int64_t region;
    double t, p;
  } kStates[] = {{1, 300, 3e6}, {1, 500, 5e7},  {2, 500, 1e5},
                 {2, 700, 3e7}, {5, 1500, 5e6}, {5, 2000, 3e7}};
  for (const auto& st : kStates) {
    SCOPED_TRACE(::testing::Message() << "region " << st.region << " T " << st.t << " P " << st.p);
    auto at = [&](int32_t code, double t, double p) { return Value(code, st.region, t, p); };
    const double h = at(2, st.t, st.p), s = at(3, st.t, st.p), v = at(5, st.t, st.p);
    EXPECT_NEAR(at(4, st.t, st.p), h - st.t * s, 1e-9 * std::fabs(h));
    const double dt = 1e-3, dp = 1e-5 * st.p;
    const double dg_dt = (at(4, st.t + dt, st.p) - at(4, st.t - dt, st.p)) / (2 * dt);
    const double dg_dp = (at(4, st.t, st.p + dp) - at(4, st.t, st.p - dp)) / (2 * dp);
    const double dlnphi_dp = (at(1, st.t, st.p + dp) - at(1, st.t, st.p - dp)) / (2 * dp);
    EXPECT_NEAR(dg_dt, -s, 1e-5 * std::fabs(s) + 1e-2);
    EXPECT_NEAR(dg_dp, v, 1e-6 * v);
    const double want = v / (kRMolar * st.t) - 1.0 / st.p;
    EXPECT_NEAR(dlnphi_dp, want, 1e-6 * std::fabs(want) + 1e-15);
  }
}

}  // namespace
}  // namespace thermomodels
