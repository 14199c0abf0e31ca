// QUELTRIN_ES15D: the subcooled-liquid lines, the request flags, agreement
// with the dispatcher, the region-3 paths and the corrections of a liquid
// below its saturation pressure.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "common/common.h"
#include "water/drivers/drivers.h"

namespace thermomodels {
namespace {

constexpr int32_t kUnit = 72;
constexpr double kR = 8314.33;
constexpr double kUntouched = -12345.0;

struct Eos {
  double phi = kUntouched, dh = kUntouched, ds = kUntouched, dg = kUntouched, v = kUntouched;
  int64_t ierr = -9;
};

Eos Call(double t, double p, int64_t kvl, int64_t flags = 1, int64_t level = 0) {
  Eos r;
  int64_t kphi = flags, kh = flags, ks = flags, kg = flags, kv = flags;
  QUELTRIN_ES15D(&t, &p, &level, &kvl, &kUnit, &kphi, &kh, &ks, &kg, &kv, &r.phi, &r.dh, &r.ds,
                 &r.dg, &r.v, &r.ierr);
  return r;
}

double Prop(int32_t code, int64_t region, double t, double p, double v = kNoValue) {
  int64_t phase = 0, ierr = 0;
  double value = 0.0;
  QUELTRIN_IF97PRPH(&t, &p, &v, &code, &phase, &region, &value, &ierr);
  EXPECT_EQ(ierr, 0) << code << " " << region << " " << t << " " << p;
  return value;
}

std::string CaptureWarnings(double t, double p, int64_t kvl) {
  const std::string name = "es15d_warnings.txt";
  std::remove(name.c_str());
  UnitOpen(kUnit, name);
  Call(t, p, kvl, 1, 5);
  UnitClose(kUnit);
  std::ifstream in(name);
  std::stringstream s;
  s << in.rdbuf();
  std::remove(name.c_str());
  return s.str();
}

TEST(WaterEs15d, SubcooledLiquidLines) {
  const Eos r = Call(270.0, 101325.0, 2);
  EXPECT_EQ(r.ierr, 0);
  EXPECT_NEAR(r.phi, -5.3390275, 1e-7);
  EXPECT_NEAR(r.dh, -45187152.80, 0.01);
  EXPECT_NEAR(r.ds, -122941.3884, 1e-4);
  EXPECT_NEAR(r.dg, -11991428.24, 0.01);
  EXPECT_NEAR(r.v, 0.0180219219, 1e-10);
  // The pressure enters as the ideal-gas terms.
  const Eos hi = Call(270.0, 10 * 101325.0, 2);
  EXPECT_NEAR(hi.phi - r.phi, -std::log(10.0), 1e-12);
  EXPECT_NEAR(hi.ds - r.ds, -kR * std::log(10.0), 1e-8);
  EXPECT_NEAR(hi.dg - r.dg, kR * 270.0 * std::log(10.0), 1e-6);
}

TEST(WaterEs15d, WritesOnlyOutputsFlaggedExactlyOne) {
  for (double t : {270.0, 300.0, 700.0}) {
    for (int64_t flag : {0, 2, -1}) {
      const Eos r = Call(t, 1e5, 2, flag);
      EXPECT_EQ(r.ierr, 0) << t << " " << flag;
      EXPECT_EQ(r.phi, kUntouched);
      EXPECT_EQ(r.dh, kUntouched);
      EXPECT_EQ(r.ds, kUntouched);
      EXPECT_EQ(r.dg, kUntouched);
      EXPECT_EQ(r.v, kUntouched);
    }
  }
  // One flag at a time: only that output is written.
  double t = 300.0, p = 1e5;
  int64_t level = 0, kvl = 2, one = 1, zero = 0, ierr = 0;
  double out[5] = {kUntouched, kUntouched, kUntouched, kUntouched, kUntouched};
  QUELTRIN_ES15D(&t, &p, &level, &kvl, &kUnit, &zero, &zero, &zero, &zero, &one, &out[0],
                 &out[1], &out[2], &out[3], &out[4], &ierr);
  EXPECT_EQ(out[0], kUntouched);
  EXPECT_EQ(out[3], kUntouched);
  EXPECT_NEAR(out[4], Prop(5, 1, 300.0, 1e5), 1e-15);
}

TEST(WaterEs15d, SinglePhaseStatesEqualTheDispatcher) {
  const struct { double t, p; int64_t kvl, region; } kStates[] = {
      {500.0, 1e5, 1, 2}, {300.0, 3e6, 2, 1}, {1500.0, 5e6, 1, 5}, {700.0, 3e7, 1, 2}};
  for (const auto& s : kStates) {
    SCOPED_TRACE(::testing::Message() << "T " << s.t << " P " << s.p);
    const Eos r = Call(s.t, s.p, s.kvl);
    EXPECT_EQ(r.ierr, 0);
    EXPECT_DOUBLE_EQ(r.phi, Prop(1, s.region, s.t, s.p));
    EXPECT_DOUBLE_EQ(r.dh, Prop(2, s.region, s.t, s.p));
    EXPECT_DOUBLE_EQ(r.ds, Prop(3, s.region, s.t, s.p));
    EXPECT_NEAR(r.dg, Prop(4, s.region, s.t, s.p), 1e-9 * std::fabs(r.dh));
    EXPECT_DOUBLE_EQ(r.v, Prop(5, s.region, s.t, s.p));
  }
}

TEST(WaterEs15d, VapourBelowTheTriplePointIsTakenAt27315KWithoutLowerBoundWarning) {
  const std::string text = CaptureWarnings(260.0, 1e5, 1);
  EXPECT_NE(text.find("VAPOR WATER SPECIFIED"), std::string::npos) << text;
  EXPECT_EQ(text.find("LOWER BOUND"), std::string::npos) << text;
  const double psat = Prop(11, 4, 273.15, 1.0);
  const Eos r = Call(260.0, 1e5, 1);
  EXPECT_DOUBLE_EQ(r.dh, Prop(2, 2, 273.15, psat));
  EXPECT_DOUBLE_EQ(r.v, Prop(5, 2, 273.15, psat));
}

TEST(WaterEs15d, Region3PathsGiveFiniteValues) {
  const struct { double t, p; int64_t kvl; } kStates[] = {
      {700.0, 1e7, 2}, {700.0, 3e7, 2}, {700.0, 4e7, 1}, {640.0, 2.1e7, 2},
      {640.0, 2e7, 1}, {647.2, 2.2e7, 2}, {650.0, 1e8, 2}};
  for (const auto& s : kStates) {
    SCOPED_TRACE(::testing::Message() << "T " << s.t << " P " << s.p << " KVL " << s.kvl);
    const Eos r = Call(s.t, s.p, s.kvl);
    EXPECT_EQ(r.ierr, 0);
    for (double x : {r.phi, r.dh, r.ds, r.dg, r.v}) {
      EXPECT_TRUE(std::isfinite(x) && x != kNoValue) << x;
    }
    EXPECT_GT(r.v, 0.0);
    EXPECT_EQ(PPUTL_ESROOT.iw[esr::LQPURE], 0);
    EXPECT_EQ(PPUTL_ESROOT.iw[esr::VPPURE], 0);
  }
}

TEST(WaterEs15d, Region3EntropyCarriesTheIdealGasPressureTerm) {
  // Liquid above Tc and above the critical pressure: region 3 at 647.096 K.
  const double pc = 22063999.9998894;
  for (double factor : {1.0, 2.0}) {
    const double p = factor * pc;
    const Eos r = Call(700.0, p, 2);
    EXPECT_NEAR(r.ds - Prop(3, 3, 647.096, p, r.v), kR * std::log(factor), 1e-6);
    EXPECT_NEAR(Prop(14, 3, 647.096, 0.0, r.v), p, 1e-7 * p);
    EXPECT_NEAR(r.dg, r.dh - 647.096 * r.ds, 1e-9 * std::fabs(r.dh));
  }
}

TEST(WaterEs15d, LiquidBelowItsSaturationPressureIsCompressedDown) {
  // At 300 K and 1000 Pa the values come from region 1 at psat(300 K); the
  // corrected ln phi and G match the region-1 equation at 1000 Pa itself,
  // which is smooth through the saturation pressure.
  const std::string text = CaptureWarnings(300.0, 1000.0, 2);
  EXPECT_NE(text.find("LIQUID WATER SPECIFIED"), std::string::npos) << text;
  const double psat = Prop(11, 4, 300.0, 1.0);
  const Eos r = Call(300.0, 1000.0, 2);
  EXPECT_EQ(r.ierr, 0);
  EXPECT_DOUBLE_EQ(r.dh, Prop(2, 1, 300.0, psat));
  EXPECT_DOUBLE_EQ(r.ds, Prop(3, 1, 300.0, psat));
  EXPECT_NEAR(r.phi, Prop(1, 1, 300.0, 1000.0), 1e-7);
  EXPECT_NEAR(r.dg, Prop(4, 1, 300.0, 1000.0) + kR * 300.0 * std::log(psat / 1000.0), 1.0);
  // Without a volume request the volume is used but not written.
  double t = 300.0, p = 1000.0;
  int64_t level = 0, kvl = 2, one = 1, zero = 0, ierr = 0;
  double phi = 0, dh = 0, ds = 0, dg = 0, v = kUntouched;
  QUELTRIN_ES15D(&t, &p, &level, &kvl, &kUnit, &one, &one, &one, &one, &zero, &phi, &dh, &ds,
                 &dg, &v, &ierr);
  EXPECT_EQ(v, kUntouched);
  EXPECT_EQ(phi, r.phi);
}

TEST(WaterEs15d, RefusedInputsGiveTheMarkerOnRequestedOutputs) {
  const double nan = std::nan("");
  const struct { double t, p; int64_t kvl; } kCases[] = {
      {nan, 1e5, 1}, {300.0, nan, 2}, {300.0, 0.0, 2}, {260.0, -5.0, 2}, {300.0, 1e5, 3}};
  for (const auto& c : kCases) {
    const Eos r = Call(c.t, c.p, c.kvl);
    EXPECT_EQ(r.ierr, 1) << c.t << " " << c.p << " " << c.kvl;
    for (double x : {r.phi, r.dh, r.ds, r.dg, r.v}) EXPECT_EQ(x, kNoValue);
  }
}

}  // namespace
}  // namespace thermomodels
