// The molar exports: QUELTRIN_IF97PRPH against the IF97 tables and the transport releases and its
// failures as hosts see them; QUELTRIN_FDREGION (clamps, warnings, region choice, region-3
// search) and QUELTRIN_ES15D.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>

#include "water/drivers/water_test_support.h"

namespace thermomodels {
namespace {

using namespace water_test;

constexpr double kE = 18015.2, kRCP0 = 33587.0234;  // kJ/kg -> J/kmol; ideal-gas cp, J/(kmol K)
constexpr double kRT0H0 = 45892556.81, kRS0 = 125384.7155;  // ideal gas at 298.15 K: J/kmol, J/(kmol K)
const double kNaN = std::nan("");

TEST(WaterDispatcher, ReproducesTheIf97VerificationTablesInMolarUnits) {
  for (const auto& row : water_test::kIf97Rows) {
    const double p = row.p_mpa * 1e6, v = kM * row.v;
    auto near = [&](double got, double want) { EXPECT_NEAR(got, want, 5e-9 * std::fabs(want)) << row.t; };
    const bool r3 = row.region == 3;  // region 3 reads V and gives p back (code 14)
    near(r3 ? Value(14, 3, row.t, p, v) : Value(5, row.region, row.t, p), r3 ? p : v);
    near(Value(2, row.region, row.t, p, v) + kRT0H0, kE * row.h);
    near(Value(12, row.region, row.t, p, v), kE * row.u);
    near(Value(3, row.region, row.t, p, v) + kRS0, kE * row.s);
    near(Value(9, row.region, row.t, p, v) + kRCP0, kE * row.cp);
    near(Value(13, row.region, row.t, p, v), row.w);
  }
  for (const auto& row : water_test::kTsatRows)
    EXPECT_NEAR(Value(15, 1, 300.0, row.in * 1e6), row.out, 1e-6);
  for (const auto& row : water_test::kPsatRows)
    EXPECT_NEAR(Value(11, 0, row.in, 1.0), row.out * 1e6, 1e-8 * row.out * 1e6);
  EXPECT_NEAR(Value(11, 4, 373.15, 1.0), 101418.0, 1.0);
}

TEST(WaterDispatcher, Region3AgainstTheExtendedPrecisionTable) {
  // cp and cv (T, V, cp, cv), also beside the fixed-value box of cp at the critical point;
  // ln(f/p) (T, V, P, ln phi, p3) at the caller's pressure, not p3(T, V).
  for (const auto& r : water_test::Reference("cp")) {
    EXPECT_NEAR(Value(9, 3, r[0], 1e5, r[1]) + kRCP0, kE * r[2], 1e-4 * kE * r[2]) << r[0];
    EXPECT_NEAR(Value(10, 3, r[0], 1e5, r[1]) + kRCP0, kE * r[3], 1e-9 * kE * r[3]) << r[0];
  }
  for (const auto& r : water_test::Reference("fugacity")) {
    EXPECT_NEAR(Value(1, 3, r[0], r[2], r[1]), r[3], 1e-12) << r[0] << " " << r[2];
    EXPECT_NEAR(Value(14, 3, r[0], r[2], r[1]), r[4], 1e-9 * r[4]) << r[0] << " " << r[2];
  }
}

// Viscosity 2008 Table 4, conductivity 2011 Table 4 (region code 5: no enhancement) and 7 to 9.
TEST(WaterDispatcher, TransportReleasesCheckValues) {
  EXPECT_NEAR(Value(6, 1, 298.15, 1e5, kM / 998.0), 889.735100e-6, 1e-12 * 889.7351);
  const double conductivity[][5] = {{5, 298.15, 1e5, 998, 607.712868}, {1, 620, 2e7, 0, 481.485195},
                                    {2, 650, 3e5, 0, 52.2311024}, {3, 647.35, 0, 222, 366.879411}};
  for (const auto& [region, t, p, rho, lambda] : conductivity) {
    const double v = rho > 0 ? kM / rho : Value(5, region, t, p);
    EXPECT_NEAR(Value(7, region, t, p, v), 1e-3 * lambda, 1e-10 * lambda) << region;
  }
}

TEST(WaterDispatcher, ScalesAndSelects) {
  EXPECT_NEAR(Value(5, 1, 300.0, 1e5), 0.01807743188, 1e-11);
  const double ln_phi = Value(1, 2, 500.0, 1e5);
  for (int32_t code : {0, 16, -3}) EXPECT_EQ(Value(code, 2, 500.0, 1e5), ln_phi) << code;  // as code 1
  // Codes that do not look at the region code answer for any; the others fail.
  for (int64_t region : {0, 6}) {
    EXPECT_TRUE(Prop(8, region, 300.0, 1e5).ierr == 0 && Prop(11, region, 300.0, 1e5).ierr == 0);
    EXPECT_TRUE(Prop(14, region, 650, 1e5, kM / 500).ierr == 0 && Prop(15, region, 300, 1e5).ierr == 0);
    const Prph r = Prop(2, region, 300.0, 1e5);
    EXPECT_TRUE(r.value == kNoValue && r.ierr == 1) << region;
  }
  // Code 5 in region 3 ignores V; 6 and 7 use the caller's V; 14 is region 3 for any region code.
  EXPECT_EQ(Value(5, 3, 650.0, 25e6, 123.0), Value(5, 3, 650.0, 25e6, kM / 500.0));
  EXPECT_NE(Value(6, 1, 300.0, 1e5, kM / 900.0), Value(6, 1, 300.0, 1e5, kM / 1000.0));
  EXPECT_NEAR(Value(14, 1, 650.0, 1.0, kM / 500.0), 0.255837018e8, 1.0);
  EXPECT_NEAR(Value(8, 1, 373.15, 1.0), 58.91e-3, 1e-5);  // IAPWS 1994 at 100 C
  // Region code 4 follows KPHASE: at Tsat(1 bar) 2 is region 1, 1 region 2.
  const double ts = Value(15, 0, 0.0, 1e5);
  const double by_phase[][5] = {{5, 2, 1, ts, 1e-9}, {5, 1, 2, ts, 1e-6}, {1, 1, 2, ts, 1e-9},
                                {1, 2, 1, ts, 1e-9}, {1, 0, 1, 300.0, 1e-12}};
  for (const auto& [code, phase, region, t, tol] : by_phase) {
    EXPECT_NEAR(Prop(code, 4, t, 1e5, kNoValue, phase).value, Value(code, region, t, 1e5), tol)
        << "code " << code << " KPHASE " << phase;
  }
  // The first form through the dispatcher (one region function per output) agrees bit for bit.
  for (double t : {273.16, 300.0, 450.0, 623.15, 640.0, 647.096, 650.0, 700.0, 1073.16, 1500.0, 2500.0})
    for (double p : {1e3, 1e5, 2.2064e7, 4e7, 1.5e8})
      for (int32_t code = 0; code <= 16; ++code)
        for (int64_t region = 0; region <= 6; ++region)
          for (int64_t phase = 0; phase <= (region == 4 ? 2 : 0); ++phase) {
            double a, b, v = region == 3 ? 0.05 : kNoValue;
            int64_t ia, ib;
            DispatchWaterProperty(t, p, v, code, phase, region, a, ia, WaterPath::kDirect);
            DispatchWaterProperty(t, p, v, code, phase, region, b, ib, WaterPath::kThroughDispatcher);
            ASSERT_TRUE(std::memcmp(&a, &b, sizeof a) == 0 && ia == ib) << code << " " << region << " " << t;
          }
}

TEST(WaterDispatcher, FailuresGiveTheMarkerAndStatus) {
  const double kCases[][6] = {  // code, region, T, P, V, KPHASE
      {8, 1, 200, 1e5, kNoValue, 0},  {11, 4, 200, 1, kNoValue, 0},  // sigma, psat below 273.15 K
      {15, 1, 300, 5e2, kNoValue, 0}, {2, 3, 650, 25e6, kNoValue, 0},  // Tsat low, region 3 needs V
      {14, 1, 650, 1, kNoValue, 0},   {6, 1, 300, 1e5, kNoValue, 0},   // p(T, V), viscosity need V
      {7, 2, 500, 1e5, -1.0, 0},      {1, 3, 650, 25e6, 0.0, 0},       // V negative, V zero
      {1, 4, 270, 1e5, kNoValue, 2},  {1, 4, 273, 1e5, kNoValue, 1},   // fugacity below 273.15 K
      {3, 4, 300, 1e5, kNoValue, 1},  {5, 2, 500, 0.0, kNoValue, 0},   // vapour 27 K off, p zero
      {5, 1, 300, -1e5, kNoValue, 0}, {1, 4, 300, -1e5, kNoValue, 1},  // p negative
      {15, 1, 300, kNaN, kNoValue, 0}, {2, 1, 300, INFINITY, kNoValue, 0},  // p not finite
      {11, 1, kNaN, 1e5, kNoValue, 0}, {8, 1, kNaN, 1e5, kNoValue, 0},  // T not a number
      {2, 3, 0.0, 1e5, kM / 500, 0},  {14, 1, -650, 1e5, kM / 500, 0},  // T zero, negative
      {14, 1, 650, 1e5, kNaN, 0},     {5, 2, 700, 1e-320, kNoValue, 0},  // V NaN, V beyond doubles
      {2, 1, 300, 1e300, kNoValue, 0},  // the region-1 series overflows
      // No state at all by the named region's equation: region 1 at 1 GPa and 1500 K (v < 0), region-3
      // p < 0, region 1 at 100 K (cv < 0), regions 2 and 5 at a liquid state, region 3 in the loop.
      {5, 1, 300, 1e9, kNoValue, 0},  {5, 1, 1500, 1e7, kNoValue, 0}, {14, 3, 300, 1e5, 0.018, 0},
      {2, 1, 100, 1e6, kNoValue, 0},  {2, 2, 300, 1e6, kNoValue, 0},  {3, 5, 500, 1e8, kNoValue, 0},
      {12, 3, 630, 1e5, kM / 300, 0}};
  for (const auto& [code, region, t, p, v, phase] : kCases) {
    const Prph r = Prop(static_cast<int32_t>(code), static_cast<int64_t>(region), t, p, v,
                        static_cast<int64_t>(phase));
    EXPECT_EQ(r.value, 1e35) << code << " " << region << " " << t << " " << p;  // hosts test 1e35
    EXPECT_EQ(r.ierr, 1) << code << " " << region << " " << t << " " << p;
  }
  // KPHASE 3 is a single-phase request for the router, which succeeds here.
  EXPECT_EQ(Prop(2, 4, 300.0, 1e5, kNoValue, 3).ierr, 0);
  // An argument the code does not read is not checked.
  EXPECT_TRUE(Prop(11, 1, 373.15, kNaN).ierr == 0 && Prop(15, 1, kNaN, 1e5).ierr == 0);
  EXPECT_TRUE(Prop(2, 3, 650.0, 0.0, kM / 500.0).ierr == 0 && Prop(6, 2, 500.0, -1.0, kM / 5.0).ierr == 0);
}


constexpr int32_t kUnit = 71;
constexpr double kR = 8314.33;
constexpr double kPcPa = 22063999.9998894;
enum Output { kPhi, kDh, kDs, kDg, kV };

struct Placed { int64_t region = -9; double t = 0.0, p = 0.0, v = 0.0; int64_t ierr = -9; };
Placed Place(double t, double p, int64_t kvl, int64_t level = 0) {
  Placed r;
  QUELTRIN_FDREGION(&t, &p, &kvl, &r.region, &r.t, &r.p, &r.v, &level, &kUnit, &r.ierr);
  return r;
}

// QUELTRIN_ES15D with every output requested, or output ONLY alone.
struct Eos { std::array<double, 5> out{}; int64_t ierr = -9; };
Eos Call(double t, double p, int64_t kvl, int64_t level = 0, int only = -1) {
  Eos r;
  int64_t f[5];
  for (int k = 0; k < 5; ++k) f[k] = only < 0 || only == k;
  double* o = r.out.data();
  QUELTRIN_ES15D(&t, &p, &level, &kvl, &kUnit, &f[0], &f[1], &f[2], &f[3], &f[4], &o[kPhi], &o[kDh], &o[kDs],
                 &o[kDg], &o[kV], &r.ierr);
  return r;
}

std::string Warnings(double t, double p, int64_t kvl) {
  WarningFile file(kUnit);
  Call(t, p, kvl, 5);
  return file.Text();
}

TEST(WaterFdregion, ClampsChoosesTheRegionAndWarnsAtLevel5Only) {
  struct Case { double t, p; int64_t kvl, region; double t_used, p_used; const char* warning; };
  const Case kCases[] = {  // p_used < 0: region 3, the volume must give the pressure back
      {250.0, 1e5, 2, 1, 273.15, 1e5,
       "      TEMP (= 250.00 K) LESS THAN LOWER BOUND (= 273.15 K); LOWER BOUND ASSUMED\n"},
      {373.15, 2e5, 1, 2, 373.15, 101417.9776,
       "      PRES (=  2.00E+05 PASCAL) GREATER THAN VAPOR PRES (=  1.01E+05 PASCAL);\n"
       "      VAPOR WATER SPECIFIED; PRESSURE = VAPOR PRES ASSUMED\n"},
      {700.0, 3e7, 1, 2, 700.0, 3e7, ""},        {700.0, 4e7, 1, 3, 700.0, -1, ""},
      {640.0, 2e7, 1, 3, 640.0, -1, ""},         {1073.15, 1e7, 1, 2, 1073.15, 1e7, ""},
      {623.15, 2e7, 2, 1, 623.15, 2e7, ""},      {623.16, 2e7, 2, 3, 623.16, -1, ""},
      {700.0, 3e7, 2, 3, 647.096, -1, ""},       {646.0, 21.5e6, 1, 3, 646.0, -1, ""},
      {630.0, 3e7, 2, 3, 630.0, -1, ""},         {650.0, 9.9e7, 2, 3, 647.096, -1, ""},
      {850.0, 9.9e7, 1, 3, 850.0, -1, ""},
      {2500.0, 1e5, 1, 5, 2273.15, 1e5,
       "      TEMP (=2500.00 K) GREATER THAN UPPER BOUND (=2273.15 K); UPPER BOUND\n"
       "      ASSUMED\n"},
      {1500.0, 7e7, 1, 5, 1500.0, 5e7,
       "      PRES (=  7.00E+07 PASCAL) GREATER THAN UPPER BOUND (=  5.00E+07 PASCAL);\n"
       "      UPPER BOUND ASSUMED\n"},
      {500.0, 1.5e8, 2, 1, 500.0, 1e8,
       "      PRES (=  1.50E+08 PASCAL) GREATER THAN UPPER BOUND (=  1.00E+08 PASCAL);\n"
       "      UPPER BOUND ASSUMED\n"},
      {700.0, 1e7, 2, 3, 647.096, -1,
       "      PRES (=  1.00E+07 PASCAL) LESS THAN VAPOR PRES (=  2.21E+07 PASCAL);\n"
       "      LIQUID WATER SPECIFIED; PRESSURE = VAPOR PRES ASSUMED\n"},
  };
  for (const auto& c : kCases) {
    for (int64_t level : {4, 5}) {
      SCOPED_TRACE(::testing::Message() << "T " << c.t << " P " << c.p << " KVL " << c.kvl);
      WarningFile file(kUnit);
      const Placed r = Place(c.t, c.p, c.kvl, level);
      EXPECT_TRUE(r.ierr == 0 && r.region == c.region) << r.ierr << " " << r.region;
      EXPECT_DOUBLE_EQ(r.t, c.t_used);
      EXPECT_NEAR(c.p_used > 0 ? r.p : Value(14, 3, r.t, 0.0, r.v), c.p_used > 0 ? c.p_used : r.p,
                  c.p_used > 0 ? 1e-3 : 1e-7 * r.p);
      EXPECT_EQ(file.Text(), level >= 5 ? c.warning : "") << level;
      EXPECT_TRUE(PPUTL_ESROOT.iw[esr::LQPURE] == 0 && PPUTL_ESROOT.iw[esr::VPPURE] == 0);
    }
  }
}

TEST(WaterFdregion, RefusesStatesItCannotPlace) {
  const double kCases[][3] = {
      {kNaN, 1e5, 1},  {300.0, kNaN, 2},   {300.0, 0.0, 2}, {300.0, -1e5, 1}, {300.0, 1e5, 0},
      {300.0, 1e5, 3}, {INFINITY, 1e5, 1}, {0.0, 1e5, 1},   {-5.0, 1e5, 2},   {-1e300, 1e5, 2}};
  for (const auto& [t, p, kvl] : kCases) {
    const Placed r = Place(t, p, static_cast<int64_t>(kvl), 9);
    EXPECT_TRUE(r.ierr == 1 && r.region == 0 && r.v == kNoValue) << t << " " << p << " " << kvl;
  }
  const Placed r = Place(700.0, 1e-320, 1);  // region 2, whose volume RT/p overflows
  EXPECT_TRUE(r.region == 2 && r.v == kNoValue && r.ierr == 1) << r.region << " " << r.v;
  // No region-3 volume reaches 1e15 Pa: the search fails instead of passing off its last trial.
  int64_t model[2];
  std::memcpy(model, kFdregionModelName, sizeof model);
  for (const auto& [kvl, start_mode] : {std::pair<int64_t, int64_t>{1, 1}, {1, 2}, {2, 1}, {2, 2}}) {
    double volume = 0.0, pressure = 0.0;
    int64_t status = 0;
    SolveRegion3Volume(650.0, 1e15, kvl, start_mode, kNoValue, model, 0, kUnit, volume, pressure, status);
    EXPECT_EQ(status, 1) << "KVL " << kvl << " start mode " << start_mode;
  }
}

// Vapour at 260 K is region 2 at 273.15 K and psat, warned as vapour but with no lower-bound line;
// a liquid at 300 K and 1000 Pa has H and S of region 1 at psat, ln phi and G carried down.
TEST(WaterEs15d, StatesOffTheSaturationLineAreTakenOnIt) {
  const std::string vapour = Warnings(260.0, 1e5, 1), liquid = Warnings(300.0, 1000.0, 2);
  const auto npos = std::string::npos;
  EXPECT_TRUE(vapour.find("VAPOR WATER SPECIFIED") != npos && vapour.find("LOWER BOUND") == npos) << vapour;
  EXPECT_NE(liquid.find("LIQUID WATER SPECIFIED"), npos) << liquid;
  const double psat273 = Value(11, 4, 273.15, 1.0), psat = Value(11, 4, 300.0, 1.0);
  const Eos v = Call(260.0, 1e5, 1), l = Call(300.0, 1000.0, 2);
  EXPECT_DOUBLE_EQ(v.out[kDh], Value(2, 2, 273.15, psat273));
  EXPECT_DOUBLE_EQ(v.out[kV], Value(5, 2, 273.15, psat273));
  EXPECT_DOUBLE_EQ(l.out[kDh], Value(2, 1, 300.0, psat));
  EXPECT_DOUBLE_EQ(l.out[kDs], Value(3, 1, 300.0, psat));
  EXPECT_NEAR(l.out[kPhi], Value(1, 1, 300.0, 1000.0), 1e-7);
  EXPECT_EQ(Call(260.0, 1e5, 1, 0, kPhi).out[kPhi], v.out[kPhi]);  // ln phi alone: the same bits
  EXPECT_NEAR(l.out[kDg], Value(4, 1, 300.0, 1000.0) + kR * 300.0 * std::log(psat / 1000.0), 1.0);
}

TEST(WaterEs15d, LiquidAboveTheCriticalTemperatureIsExtrapolatedFromTheCriticalIsotherm) {
  // A liquid at 700 K and 1e7 Pa is evaluated at Tc and pc and 0.01 K below: the damped slopes
  // (1/2000 for H and S, 1/3000 for V) carry H, S and V up to 700 K, ln phi and G are compressed
  // down to 1e7 Pa (slopes to the solver tolerance: 647.086 K at pc is region-3 liquid).
  const double tc = 647.096, dt = 0.01, t = 700.0, p = 1e7;
  const Eos at_tc = Call(std::nextafter(tc, t), p, 2), below = Call(tc - dt, kPcPa, 2), hot = Call(t, p, 2);
  ASSERT_TRUE(at_tc.ierr == 0 && below.ierr == 0 && hot.ierr == 0);
  const double h = at_tc.out[kDh], s = at_tc.out[kDs], v = at_tc.out[kV], dtx = t - tc;
  const double slopes[][2] = {{kDh, 2000.0}, {kDs, 2000.0}, {kV, 3000.0}};
  for (const auto& [k, factor] : slopes) {
    const double step = dtx * (at_tc.out[int(k)] - below.out[int(k)]) / dt / factor;
    EXPECT_NEAR(hot.out[int(k)] - at_tc.out[int(k)], step, 1e-4 * std::fabs(step)) << k;
  }
  // G and ln phi: the values at Tc compressed from pc to p at T, G with the unextrapolated S.
  const double rt = kR * t, ln_ratio = std::log(kPcPa / p);
  EXPECT_NEAR(hot.out[kDg], h - t * s + rt * ln_ratio + (p - kPcPa) * v, 1e-9 * std::fabs(h));
  const double phi_tc = at_tc.out[kPhi] - ln_ratio - (p - kPcPa) * v / (kR * tc);
  EXPECT_NEAR(hot.out[kPhi], phi_tc + ln_ratio - h * dtx / (rt * tc) + (p - kPcPa) * v / rt, 1e-9);
}

TEST(WaterEs15d, RefusedInputsGiveTheMarkerOnRequestedOutputs) {
  const double kCases[][3] = {{kNaN, 1e5, 1},  {300.0, kNaN, 2}, {300.0, 0.0, 2},  {260.0, -5.0, 2},
                              {300.0, 1e5, 3}, {0.0, 1e5, 1},    {-1e300, 1e5, 2}, {-5.0, 1e5, 1}};
  for (const auto& [t, p, kvl] : kCases) {
    const Eos r = Call(t, p, static_cast<int64_t>(kvl));
    EXPECT_EQ(r.ierr, 1) << t << " " << p << " " << kvl;
    for (int k : {kPhi, kDh, kDs, kV}) EXPECT_EQ(r.out[k], kNoValue) << t << " output " << k;
  }
  // Any positive temperature is a state: a liquid at 0.05 K is taken at 273.15 K.
  const Eos cold = Call(0.05, 1e5, 2);
  EXPECT_EQ(cold.ierr, 0);
  for (double x : cold.out) EXPECT_TRUE(std::isfinite(x) && x != kNoValue) << x;
}

}  // namespace
}  // namespace thermomodels
