// QUELTRIN_ES15D: the request flags, agreement
// with the dispatcher, the region-3 paths and the corrections of a liquid
// below its saturation pressure.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "water/drivers/water_test_support.h"

namespace thermomodels {
namespace {

using water_test::Value;
using water_test::WarningFile;

constexpr int32_t kUnit = 72;
constexpr double kR = 8314.33;
constexpr double kUntouched = -12345.0;
enum Output { kPhi, kDh, kDs, kDg, kV };

struct Eos {
  std::array<double, 5> out{kUntouched, kUntouched, kUntouched, kUntouched, kUntouched};
  int64_t ierr = -9;
};

Eos Call(double t, double p, int64_t kvl, std::array<int64_t, 5> flags = {1, 1, 1, 1, 1},
         int64_t level = 0) {
  Eos r;
  double* o = r.out.data();
  QUELTRIN_ES15D(&t, &p, &level, &kvl, &kUnit, &flags[0], &flags[1], &flags[2], &flags[3],
                 &flags[4], &o[kPhi], &o[kDh], &o[kDs], &o[kDg], &o[kV], &r.ierr);
  return r;
}

std::string Warnings(double t, double p, int64_t kvl) {
  WarningFile file(kUnit);
  Call(t, p, kvl, {1, 1, 1, 1, 1}, 5);
  return file.Text();
}

TEST(WaterEs15d, WritesOnlyOutputsFlaggedExactlyOne) {
  for (double t : {270.0, 300.0, 700.0}) {
    for (int64_t flag : {0, 2, -1}) {
      const Eos r = Call(t, 1e5, 2, {flag, flag, flag, flag, flag});
      EXPECT_EQ(r.ierr, 0) << t << " " << flag;
      for (double x : r.out) EXPECT_EQ(x, kUntouched) << t << " " << flag;
    }
  }
  // One request at a time gets the value of the full call and nothing else,
  // also where the volume is needed for the others (liquid below psat).
  for (double p : {1e5, 1000.0}) {
    const Eos all = Call(300.0, p, 2);
    for (int k = 0; k < 5; ++k) {
      std::array<int64_t, 5> flags{};
      flags[k] = 1;
      const Eos one = Call(300.0, p, 2, flags);
      for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(one.out[j], j == k ? all.out[j] : kUntouched) << p << " flag " << k;
      }
    }
  }
}

TEST(WaterEs15d, SinglePhaseStatesEqualTheDispatcherAndRegion3IsFinite) {
  const struct {
    double t, p;
    int64_t kvl, region;
  } kStates[] = {{500.0, 1e5, 1, 2},   {300.0, 3e6, 2, 1},   {1500.0, 5e6, 1, 5},
                 {700.0, 3e7, 1, 2},   {700.0, 1e7, 2, 3},   {700.0, 3e7, 2, 3},
                 {700.0, 4e7, 1, 3},   {640.0, 2.1e7, 2, 3}, {640.0, 2e7, 1, 3},
                 {647.2, 2.2e7, 2, 3}, {650.0, 1e8, 2, 3}};
  for (const auto& s : kStates) {
    SCOPED_TRACE(::testing::Message() << "T " << s.t << " P " << s.p << " KVL " << s.kvl);
    const Eos r = Call(s.t, s.p, s.kvl);
    EXPECT_EQ(r.ierr, 0);
    if (s.region == 3) {
      for (double x : r.out) EXPECT_TRUE(std::isfinite(x) && x != kNoValue) << x;
      EXPECT_GT(r.out[kV], 0.0);
      EXPECT_EQ(PPUTL_ESROOT.iw[esr::LQPURE], 0);
      EXPECT_EQ(PPUTL_ESROOT.iw[esr::VPPURE], 0);
      continue;
    }
    for (int k : {kPhi, kDh, kDs, kV}) {  // output k is dispatcher code k + 1
      EXPECT_DOUBLE_EQ(r.out[k], Value(k + 1, s.region, s.t, s.p)) << k;
    }
    EXPECT_NEAR(r.out[kDg], Value(4, s.region, s.t, s.p), 1e-9 * std::fabs(r.out[kDh]));
  }
}

TEST(WaterEs15d, VapourBelowTheTriplePointIsTakenAt27315KWithoutLowerBoundWarning) {
  const std::string text = Warnings(260.0, 1e5, 1);
  EXPECT_NE(text.find("VAPOR WATER SPECIFIED"), std::string::npos) << text;
  EXPECT_EQ(text.find("LOWER BOUND"), std::string::npos) << text;
  const double psat = Value(11, 4, 273.15, 1.0);
  const Eos r = Call(260.0, 1e5, 1);
  EXPECT_DOUBLE_EQ(r.out[kDh], Value(2, 2, 273.15, psat));
  EXPECT_DOUBLE_EQ(r.out[kV], Value(5, 2, 273.15, psat));
}

TEST(WaterEs15d, Region3EntropyCarriesTheIdealGasPressureTerm) {
  // Liquid above Tc and above the critical pressure: region 3 at 647.096 K.
  const double pc = 22063999.9998894;
  for (double factor : {1.0, 2.0}) {
    const double p = factor * pc;
    const Eos r = Call(700.0, p, 2);
    EXPECT_NEAR(r.out[kDs] - Value(3, 3, 647.096, p, r.out[kV]), kR * std::log(factor), 1e-6);
    EXPECT_NEAR(Value(14, 3, 647.096, 0.0, r.out[kV]), p, 1e-7 * p);
    EXPECT_NEAR(r.out[kDg], r.out[kDh] - 647.096 * r.out[kDs], 1e-9 * std::fabs(r.out[kDh]));
  }
}

TEST(WaterEs15d, LiquidAboveTheCriticalTemperatureIsExtrapolatedFromTheCriticalIsothermInDetail) {
  // A liquid at 700 K and 1e7 Pa is evaluated at 647.096 K and the critical
  // saturation pressure, and 0.01 K below: the damped slopes (1/2000 for H
  // and S, 1/3000 for V) carry H, S and V up to 700 K, and ln phi and G are
  // compressed down to 1e7 Pa. Both evaluations are reached on their own:
  // just above 647.096 K the extrapolation adds nothing, and 647.086 K at
  // the critical saturation pressure is compressed liquid of region 3 (its
  // search starts elsewhere, so the slopes agree to the solver tolerance).
  const double tc = 647.096, pc = 22063999.9998894, dt = 0.01, t = 700.0, p = 1e7;
  const Eos at_tc = Call(std::nextafter(tc, t), p, 2);
  const Eos below = Call(tc - dt, pc, 2);
  const Eos hot = Call(t, p, 2);
  ASSERT_EQ(at_tc.ierr, 0);
  ASSERT_EQ(below.ierr, 0);
  ASSERT_EQ(hot.ierr, 0);
  const double h = at_tc.out[kDh], s = at_tc.out[kDs], v = at_tc.out[kV];
  const double dtx = t - tc;
  const struct {
    int k;
    double factor;
  } kSlopes[] = {{kDh, 2000.0}, {kDs, 2000.0}, {kV, 3000.0}};
  for (const auto& e : kSlopes) {
    const double step = dtx * (at_tc.out[e.k] - below.out[e.k]) / dt / e.factor;
    EXPECT_NEAR(hot.out[e.k] - at_tc.out[e.k], step, 1e-4 * std::fabs(step)) << e.k;
  }
  // G and ln phi: the saturated values at Tc compressed from pc to p at the
  // caller's T, G with the unextrapolated entropy.
  const double rt = kR * t, ln_ratio = std::log(pc / p);
  EXPECT_NEAR(hot.out[kDg], h - t * s + rt * ln_ratio + (p - pc) * v, 1e-9 * std::fabs(h));
  const double phi_tc = at_tc.out[kPhi] - ln_ratio - (p - pc) * v / (kR * tc);
  EXPECT_NEAR(hot.out[kPhi], phi_tc + ln_ratio - h * dtx / (rt * tc) + (p - pc) * v / rt, 1e-9);
}

TEST(WaterEs15d, LiquidBelowItsSaturationPressureIsCompressedDown) {
  // At 300 K and 1000 Pa H and S come from region 1 at psat(300 K); ln phi
  // and G are corrected back to 1000 Pa, where the region-1 equation is
  // smooth through the saturation pressure.
  const std::string text = Warnings(300.0, 1000.0, 2);
  EXPECT_NE(text.find("LIQUID WATER SPECIFIED"), std::string::npos) << text;
  const double psat = Value(11, 4, 300.0, 1.0);
  const Eos r = Call(300.0, 1000.0, 2);
  EXPECT_EQ(r.ierr, 0);
  EXPECT_DOUBLE_EQ(r.out[kDh], Value(2, 1, 300.0, psat));
  EXPECT_DOUBLE_EQ(r.out[kDs], Value(3, 1, 300.0, psat));
  EXPECT_NEAR(r.out[kPhi], Value(1, 1, 300.0, 1000.0), 1e-7);
  EXPECT_NEAR(r.out[kDg], Value(4, 1, 300.0, 1000.0) + kR * 300.0 * std::log(psat / 1000.0), 1.0);
}

TEST(WaterEs15d, RefusedInputsGiveTheMarkerOnRequestedOutputsInDetail) {
  const double nan = std::nan("");
  const struct {
    double t, p;
    int64_t kvl;
  } kCases[] = {{nan, 1e5, 1},   {300.0, nan, 2}, {300.0, 0.0, 2},  {260.0, -5.0, 2},
                {300.0, 1e5, 3}, {0.0, 1e5, 1},   {-1e300, 1e5, 2}, {-5.0, 1e5, 1}};
  for (const auto& c : kCases) {
    const Eos r = Call(c.t, c.p, c.kvl);
    EXPECT_EQ(r.ierr, 1) << c.t << " " << c.p << " " << c.kvl;
    for (int k : {kPhi, kDh, kDs, kV}) EXPECT_EQ(r.out[k], kNoValue) << c.t << " output " << k;
  }
  // A liquid extrapolated to the largest double temperature overflows: no
  // status 0 without finite values, and no infinity written.
  const Eos hot = Call(std::numeric_limits<double>::max(), 1e5, 2);
  EXPECT_EQ(hot.ierr, 1);
  for (double x : hot.out) EXPECT_TRUE(std::isfinite(x));
  EXPECT_EQ(hot.out[kDh], kNoValue);
}

TEST(WaterEs15d, PressuresFarBelowTheFormulationsReachStayFinite) {
  // The pressure terms of the subcooled liquid and of a liquid carried down
  // from its saturation pressure are differences of logarithms.
  // Below 273.15 K: the ideal-gas terms of the lines; at 300 K the values
  // at psat carried down to P, against those carried down to 1000 Pa.
  const struct {
    double t, p_ref;
    double dg_sign;
  } kCases[] = {{250.0, 101325.0, -1.0}, {300.0, 1000.0, 1.0}};
  for (const auto& c : kCases) {
    const Eos ref = Call(c.t, c.p_ref, 2);
    const Eos tiny = Call(c.t, 1e-305, 2);
    EXPECT_EQ(tiny.ierr, 0) << c.t;
    for (double x : tiny.out) EXPECT_TRUE(std::isfinite(x)) << c.t;
    const double ln_ratio = std::log(c.p_ref) + 305.0 * std::log(10.0);
    const double work = c.t > 273.15 ? c.p_ref * ref.out[kV] : 0.0;  // (P - psat) V
    EXPECT_NEAR(tiny.out[kPhi] - ref.out[kPhi], ln_ratio - work / (kR * c.t), 1e-11 * ln_ratio);
    EXPECT_NEAR(tiny.out[kDg] - ref.out[kDg], c.dg_sign * kR * c.t * ln_ratio - work,
                1e-11 * kR * c.t * ln_ratio);
    EXPECT_EQ(tiny.out[kDh], ref.out[kDh]) << c.t;
  }
}

}  // namespace
}  // namespace thermomodels
