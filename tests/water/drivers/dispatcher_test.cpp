// QUELTRIN_IF97PRPH against the IAPWS-IF97 verification tables, the IAPWS
// 2008 viscosity and 2011 conductivity check values, and the thermodynamic
// identities between its property codes.
#include <gtest/gtest.h>

#include <cmath>

#include "common/common.h"
#include "water/drivers/drivers.h"

namespace thermomodels {
namespace {

constexpr double kM = 18.0152;                    // kg/kmol
constexpr double kE = 18015.2;                    // kJ/kg -> J/kmol
constexpr double kRT0H0 = 45892556.81;            // J/kmol, ideal gas at 298.15 K
constexpr double kRS0 = 125384.7155;              // J/(kmol K)
constexpr double kRCP0 = 33587.0234;              // J/(kmol K)
constexpr double kRMolar = 18.0152 * 461.526;     // J/(kmol K), IF97's R

struct Result {
  double value;
  int64_t ierr;
};

Result Prop(int32_t code, int64_t region, double t, double p, double v = kNoValue,
            int64_t phase = 0) {
  Result r{0.0, -7};
  QUELTRIN_IF97PRPH(&t, &p, &v, &code, &phase, &region, &r.value, &r.ierr);
  return r;
}

double Value(int32_t code, int64_t region, double t, double p, double v = kNoValue) {
  const Result r = Prop(code, region, t, p, v);
  EXPECT_EQ(r.ierr, 0) << "code " << code << " region " << region << " T " << t << " P " << p;
  return r.value;
}

// One row of IF97 Tables 5, 15, 42 (regions 1, 2, 5 at T, p) and 33 (region 3
// at T, rho): v, h, u, s, cp, w.
struct TableRow {
  const char* table;
  int64_t region;
  double t, p_mpa, rho, v, h, u, s, cp, w;
};

const TableRow kTableRows[] = {
    {"5", 1, 300, 3, 0, 0.100215168e-2, 0.115331273e3, 0.112324818e3, 0.392294792, 0.417301218e1, 0.150773921e4},
    {"5", 1, 300, 80, 0, 0.971180894e-3, 0.184142828e3, 0.106448356e3, 0.368563852, 0.401008987e1, 0.163469054e4},
    {"5", 1, 500, 3, 0, 0.120241800e-2, 0.975542239e3, 0.971934985e3, 0.258041912e1, 0.465580682e1, 0.124071337e4},
    {"15", 2, 300, 0.0035, 0, 0.394913866e2, 0.254991145e4, 0.241169160e4, 0.852238967e1, 0.191300162e1, 0.427920172e3},
    {"15", 2, 700, 0.0035, 0, 0.923015898e2, 0.333568375e4, 0.301262819e4, 0.101749996e2, 0.208141274e1, 0.644289068e3},
    {"15", 2, 700, 30, 0, 0.542946619e-2, 0.263149474e4, 0.246861076e4, 0.517540298e1, 0.103505092e2, 0.480386523e3},
    {"42", 5, 1500, 0.5, 0, 0.138455090e1, 0.521976855e4, 0.452749310e4, 0.965408875e1, 0.261609445e1, 0.917068690e3},
    {"42", 5, 1500, 30, 0, 0.230761299e-1, 0.516723514e4, 0.447495124e4, 0.772970133e1, 0.272724317e1, 0.928548002e3},
    {"42", 5, 2000, 30, 0, 0.311385219e-1, 0.657122604e4, 0.563707038e4, 0.853640523e1, 0.288569882e1, 0.106736948e4},
    // Table 33: rho given, p the published value.
    {"33", 3, 650, 0.255837018e2, 500, 1 / 500.0, 0.186343019e4, 0.181226279e4, 0.405427273e1, 0.138935717e2, 0.502005554e3},
    {"33", 3, 650, 0.222930643e2, 200, 1 / 200.0, 0.237512401e4, 0.226365868e4, 0.485438792e1, 0.446579342e2, 0.383444594e3},
    {"33", 3, 750, 0.783095639e2, 500, 1 / 500.0, 0.225868845e4, 0.210206932e4, 0.446971906e1, 0.634165359e1, 0.760696041e3},
};

TEST(WaterDispatcher, ReproducesTheIf97VerificationTablesInMolarUnits) {
  for (const TableRow& row : kTableRows) {
    SCOPED_TRACE(::testing::Message() << "IF97 Table " << row.table << " T=" << row.t
                                      << " p=" << row.p_mpa);
    const double p = row.p_mpa * 1e6;
    const double v = kM * row.v;  // molar volume the region-3 functions read
    auto near = [](double got, double want) { EXPECT_NEAR(got, want, 5e-9 * std::fabs(want)); };
    if (row.region == 3) {
      near(Value(14, 3, row.t, p, v), p);
    } else {
      near(Value(5, row.region, row.t, p), kM * row.v);
    }
    near(Value(2, row.region, row.t, p, v) + kRT0H0, kE * row.h);
    near(Value(12, row.region, row.t, p, v), kE * row.u);
    near(Value(3, row.region, row.t, p, v) + kRS0, kE * row.s);
    near(Value(9, row.region, row.t, p, v) + kRCP0, kE * row.cp);
    near(Value(13, row.region, row.t, p, v), row.w);
  }
}

TEST(WaterDispatcher, SaturationLineMatchesIf97Tables35And36) {
  const struct { double t, p_mpa; } kRows[] = {{372.755919, 0.1}, {453.035632, 1.0},
                                               {584.149488, 10.0}};
  for (const auto& row : kRows) {
    for (int64_t region : {0, 1, 4, 6}) {
      EXPECT_NEAR(Value(15, region, 300.0, row.p_mpa * 1e6), row.t, 1e-6) << region;
    }
  }
  const struct { double t, p_mpa; } kPsat[] = {{300, 0.353658941e-2}, {500, 0.263889776e1},
                                               {600, 0.123443146e2}};
  for (const auto& row : kPsat) {
    EXPECT_NEAR(Value(11, 0, row.t, 1.0), row.p_mpa * 1e6, 1e-8 * row.p_mpa * 1e6);
  }
  EXPECT_NEAR(Value(11, 4, 373.15, 1.0), 101418.0, 1.0);
  EXPECT_EQ(Prop(11, 4, 200.0, 1.0).value, kNoValue);
  EXPECT_EQ(Prop(11, 4, 200.0, 1.0).ierr, 1);
}

TEST(WaterDispatcher, TransportReleasesCheckValues) {
  // IAPWS 2008 viscosity, Table 4 (T, rho -> mu in uPa s), any region code but 4.
  const struct { double t, rho, mu; } kViscosity[] = {
      {298.15, 998, 889.735100}, {298.15, 1200, 1437.649467}, {373.15, 1000, 307.883622},
      {433.15, 1, 14.538324},    {873.15, 100, 35.802262},    {1173.15, 400, 64.154608}};
  for (const auto& row : kViscosity) {
    EXPECT_NEAR(Value(6, 1, row.t, 1e5, kM / row.rho), 1e-6 * row.mu, 1e-12 * row.mu)
        << row.t << " " << row.rho;
  }
  // IAPWS 2011 conductivity without enhancement (region code 5), Table 4.
  const struct { double t, rho, lambda; } kNoEnhancement[] = {
      {298.15, 998, 607.712868}, {298.15, 1200, 799.038144}};
  for (const auto& row : kNoEnhancement) {
    EXPECT_NEAR(Value(7, 5, row.t, 1e5, kM / row.rho), 1e-3 * row.lambda, 1e-10 * row.lambda);
  }
  // Tables 7 to 9 (form for use with IF97), regions 1, 2 at (T, p) and 3 at (T, rho).
  const struct { int64_t region; double t, p_mpa, rho, lambda; } kIf97Form[] = {
      {1, 620, 20, 0, 481.485195}, {1, 620, 50, 0, 545.038940}, {2, 650, 0.3, 0, 52.2311024},
      {2, 800, 50, 0, 177.709914}, {3, 647.35, 0, 222, 366.879411}};
  for (const auto& row : kIf97Form) {
    const double p = row.p_mpa * 1e6;
    const double v = row.region == 3 ? kM / row.rho : Value(5, row.region, row.t, p);
    EXPECT_NEAR(Value(7, row.region, row.t, p, v), 1e-3 * row.lambda, 1e-10 * row.lambda)
        << "region " << row.region << " T " << row.t;
  }
}

TEST(WaterDispatcher, ScalesAndSelects) {
  EXPECT_NEAR(Value(5, 1, 300.0, 1e5), 0.01807743188, 1e-11);
  // The ideal-gas terms are one constant per code, whatever the state.
  for (double t : {300.0, 500.0}) {
    const double h_tab = t == 300.0 ? 0.115331273e3 : 0.975542239e3;
    EXPECT_NEAR(Value(2, 1, t, 3e6) - kE * h_tab, -kRT0H0, 2e-9 * kE * h_tab);
  }
  // Codes outside 1..15 are code 1.
  const double ln_phi = Value(1, 2, 500.0, 1e5);
  for (int32_t code : {0, 16, -3}) EXPECT_EQ(Value(code, 2, 500.0, 1e5), ln_phi) << code;
  // Codes that do not look at the region code answer for any; the others fail.
  for (int64_t region : {0, 6}) {
    EXPECT_EQ(Prop(8, region, 300.0, 1e5).ierr, 0);
    EXPECT_EQ(Prop(11, region, 300.0, 1e5).ierr, 0);
    EXPECT_EQ(Prop(14, region, 650.0, 1e5, kM / 500.0).ierr, 0);
    EXPECT_EQ(Prop(15, region, 300.0, 1e5).ierr, 0);
    const Result r = Prop(2, region, 300.0, 1e5);
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

TEST(WaterDispatcher, FailuresGiveTheMarkerAndStatus) {
  const struct { int32_t code; int64_t region; double t, p, v; int64_t phase; } kCases[] = {
      {8, 1, 200.0, 1e5, kNoValue, 0},           // surface tension out of range
      {15, 1, 300.0, 5e2, kNoValue, 0},          // Tsat below 0.00061 MPa
      {2, 3, 650.0, 25e6, kNoValue, 0},          // region 3 needs V
      {14, 1, 650.0, 1.0, kNoValue, 0},          // pressure from (T, V) needs V
      {6, 1, 300.0, 1e5, kNoValue, 0},           // viscosity needs V
      {7, 2, 500.0, 1e5, -1.0, 0},               // V not positive
      {1, 3, 650.0, 25e6, 0.0, 0},               // V zero
      {1, 4, 270.0, 1e5, kNoValue, 2},           // fugacity driver would drop T
      {1, 4, 273.0, 1e5, kNoValue, 1},
      {3, 4, 300.0, 1e5, kNoValue, 1},           // saturated vapour 27 K off the line
  };
  int i = 0;
  for (const auto& c : kCases) {
    const Result r = Prop(c.code, c.region, c.t, c.p, c.v, c.phase);
    EXPECT_EQ(r.value, kNoValue) << "case " << i;
    EXPECT_EQ(r.ierr, 1) << "case " << i;
    ++i;
  }
  // KPHASE 3 is a single-phase request for the router, which succeeds here.
  EXPECT_EQ(Prop(2, 4, 300.0, 1e5, kNoValue, 3).ierr, 0);
}

TEST(WaterDispatcher, RegionCode4FollowsThePhase) {
  // Saturated liquid and vapour at 1 bar: the regions' values at Tsat.
  const double ts = Value(15, 0, 0.0, 1e5);
  EXPECT_NEAR(Prop(5, 4, ts, 1e5, kNoValue, 2).value, Value(5, 1, ts, 1e5), 1e-9);
  EXPECT_NEAR(Prop(5, 4, ts, 1e5, kNoValue, 1).value, Value(5, 2, ts, 1e5), 1e-6);
  // Fugacity through the driver, in bar, equals the region function's.
  EXPECT_NEAR(Prop(1, 4, ts, 1e5, kNoValue, 1).value, Value(1, 2, ts, 1e5), 1e-9);
  EXPECT_NEAR(Prop(1, 4, ts, 1e5, kNoValue, 2).value, Value(1, 1, ts, 1e5), 1e-9);
  EXPECT_NEAR(Prop(1, 4, 300.0, 1e5, kNoValue, 0).value, Value(1, 1, 300.0, 1e5), 1e-12);
}

TEST(WaterDispatcher, DepartureIdentitiesInRegions125) {
  const struct { int64_t region; double t, p; } kStates[] = {
      {1, 300, 3e6}, {1, 500, 5e7}, {2, 500, 1e5}, {2, 700, 3e7}, {5, 1500, 5e6}, {5, 2000, 3e7}};
  for (const auto& st : kStates) {
    SCOPED_TRACE(::testing::Message() << "region " << st.region << " T " << st.t << " P " << st.p);
    const double h = Value(2, st.region, st.t, st.p);
    const double s = Value(3, st.region, st.t, st.p);
    const double g = Value(4, st.region, st.t, st.p);
    const double v = Value(5, st.region, st.t, st.p);
    EXPECT_NEAR(g, h - st.t * s, 1e-9 * std::fabs(h));
    const double dt = 1e-3, dp = 1e-5 * st.p;
    const double dg_dt =
        (Value(4, st.region, st.t + dt, st.p) - Value(4, st.region, st.t - dt, st.p)) / (2 * dt);
    const double dg_dp =
        (Value(4, st.region, st.t, st.p + dp) - Value(4, st.region, st.t, st.p - dp)) / (2 * dp);
    const double dlnphi_dp =
        (Value(1, st.region, st.t, st.p + dp) - Value(1, st.region, st.t, st.p - dp)) / (2 * dp);
    EXPECT_NEAR(dg_dt, -s, 1e-5 * std::fabs(s) + 1e-2);
    EXPECT_NEAR(dg_dp, v, 1e-6 * v);
    const double want = v / (kRMolar * st.t) - 1.0 / st.p;
    EXPECT_NEAR(dlnphi_dp, want, 1e-6 * std::fabs(want) + 1e-15);
  }
}

}  // namespace
}  // namespace thermomodels
