// QUELTRIN_FDREGION: the clamps to the IF97 bounds with their warning lines,
// the region choice, and the region-3 volume search.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "water/drivers/water_test_support.h"

namespace thermomodels {
namespace {

using water_test::kM;
using water_test::Value;
using water_test::WarningFile;

constexpr int32_t kUnit = 71;

struct Placed {
  int64_t region = -9;
  double t = 0.0, p = 0.0, v = 0.0;
  int64_t ierr = -9;
};

Placed Place(double t, double p, int64_t kvl, int64_t level = 0) {
  Placed r;
  QUELTRIN_FDREGION(&t, &p, &kvl, &r.region, &r.t, &r.p, &r.v, &level, &kUnit, &r.ierr);
  return r;
}

void ExpectPureFluidWordsCleared() {
  EXPECT_EQ(PPUTL_ESROOT.iw[esr::LQPURE], 0);
  EXPECT_EQ(PPUTL_ESROOT.iw[esr::VPPURE], 0);
}

struct ClampCase {
  const char* what;
  double t, p;
  int64_t kvl, region;
  double t_used, p_used;  // p_used < 0: not checked (region 3)
  const char* warning;
};

const ClampCase kClampCases[] = {
    {"liquid below 273.15 K", 250.0, 1e5, 2, 1, 273.15, 1e5,
     "      TEMP (= 250.00 K) LESS THAN LOWER BOUND (= 273.15 K); LOWER BOUND ASSUMED\n"},
    {"vapour above psat", 373.15, 2e5, 1, 2, 373.15, 101417.9776,
     "      PRES (=  2.00E+05 PASCAL) GREATER THAN VAPOR PRES (=  1.01E+05 PASCAL);\n"
     "      VAPOR WATER SPECIFIED; PRESSURE = VAPOR PRES ASSUMED\n"},
    {"vapour at 700 K below B23", 700.0, 3e7, 1, 2, 700.0, 3e7, ""},
    {"vapour at 700 K above B23", 700.0, 4e7, 1, 3, 700.0, -1, ""},
    {"vapour at 640 K above B23", 640.0, 2e7, 1, 3, 640.0, -1, ""},
    {"vapour above 2273.15 K", 2500.0, 1e5, 1, 5, 2273.15, 1e5,
     "      TEMP (=2500.00 K) GREATER THAN UPPER BOUND (=2273.15 K); UPPER BOUND\n"
     "      ASSUMED\n"},
    {"hot vapour above 5e7 Pa", 1500.0, 7e7, 1, 5, 1500.0, 5e7,
     "      PRES (=  7.00E+07 PASCAL) GREATER THAN UPPER BOUND (=  5.00E+07 PASCAL);\n"
     "      UPPER BOUND ASSUMED\n"},
    {"liquid above 1e8 Pa", 500.0, 1.5e8, 2, 1, 500.0, 1e8,
     "      PRES (=  1.50E+08 PASCAL) GREATER THAN UPPER BOUND (=  1.00E+08 PASCAL);\n"
     "      UPPER BOUND ASSUMED\n"},
    {"vapour at 1073.15 K", 1073.15, 1e7, 1, 2, 1073.15, 1e7, ""},
    {"liquid at 623.15 K", 623.15, 2e7, 2, 1, 623.15, 2e7, ""},
    {"liquid at 623.16 K", 623.16, 2e7, 2, 3, 623.16, -1, ""},
    {"liquid above Tc below psat", 700.0, 1e7, 2, 3, 647.096, -1,
     "      PRES (=  1.00E+07 PASCAL) LESS THAN VAPOR PRES (=  2.21E+07 PASCAL);\n"
     "      LIQUID WATER SPECIFIED; PRESSURE = VAPOR PRES ASSUMED\n"},
    {"liquid above Tc above psat", 700.0, 3e7, 2, 3, 647.096, -1, ""},
    {"vapour near Tc", 646.0, 21.5e6, 1, 3, 646.0, -1, ""},
};

TEST(WaterFdregion, ClampsChoosesTheRegionAndWarnsAtLevel5OnlyInDetail) {
  for (const ClampCase& c : kClampCases) {
    SCOPED_TRACE(c.what);
    for (int64_t level : {4, 5}) {
      WarningFile file(kUnit);
      const Placed r = Place(c.t, c.p, c.kvl, level);
      EXPECT_EQ(r.ierr, 0);
      EXPECT_EQ(r.region, c.region);
      EXPECT_DOUBLE_EQ(r.t, c.t_used);
      if (c.p_used > 0) {
        EXPECT_NEAR(r.p, c.p_used, 1e-3);
      }
      EXPECT_EQ(file.Text(), level >= 5 ? c.warning : "") << level;
      ExpectPureFluidWordsCleared();
    }
  }
}

TEST(WaterFdregion, VolumesAreThoseOfTheRegionAndGiveBackThePressure) {
  // Regions 1, 2, 5 against IF97 Tables 5, 15 and 42.
  EXPECT_NEAR(Place(300.0, 3e6, 2).v, kM * 0.100215168e-2, 1e-11);
  EXPECT_NEAR(Place(700.0, 3e7, 1).v, kM * 0.542946619e-2, 1e-10);
  EXPECT_NEAR(Place(1500.0, 3e7, 1).v, kM * 0.230761299e-1, 1e-9);
  // Region 3: the volume found gives back the pressure within the solver
  // tolerance, on the side asked for.
  const struct {
    double t, p;
    int64_t kvl;
    double v_lo, v_hi;
  } kRegion3[] = {{700.0, 4e7, 1, 0.02, 0.2},      {640.0, 2e7, 1, 0.056, 0.2},
                  {646.0, 21.5e6, 1, 0.056, 0.2},  {630.0, 3e7, 2, 0.017, 0.056},
                  {640.0, 2.1e7, 2, 0.017, 0.056}, {700.0, 1e7, 2, 0.017, 0.2},
                  {700.0, 3e7, 2, 0.017, 0.056},   {650.0, 1e8, 2, 0.017, 0.056},
                  {850.0, 9.9e7, 1, 0.02, 0.2}};
  for (const auto& c : kRegion3) {
    SCOPED_TRACE(::testing::Message() << "T " << c.t << " P " << c.p << " KVL " << c.kvl);
    const Placed r = Place(c.t, c.p, c.kvl);
    EXPECT_EQ(r.ierr, 0);
    EXPECT_EQ(r.region, 3);
    EXPECT_GT(r.v, c.v_lo);
    EXPECT_LT(r.v, c.v_hi);
    EXPECT_NEAR(Value(14, 3, r.t, 0.0, r.v), r.p, 1e-7 * r.p);
    // Away from the saturation line the backward equation v(p, T) agrees.
    if (r.p > 2.5e7) {
      EXPECT_NEAR(r.v, Value(5, 3, r.t, r.p), 1e-3 * r.v);
    }
    ExpectPureFluidWordsCleared();
  }
}

TEST(WaterFdregion, RefusesStatesItCannotPlaceInDetail) {
  const double nan = std::nan("");
  const struct {
    double t, p;
    int64_t kvl;
  } kCases[] = {{nan, 1e5, 1},   {300.0, nan, 2}, {300.0, 0.0, 2},    {300.0, -1e5, 1},
                {300.0, 1e5, 0}, {300.0, 1e5, 3}, {INFINITY, 1e5, 1}, {0.0, 1e5, 1},
                {-5.0, 1e5, 2},  {-1e300, 1e5, 2}};
  for (const auto& c : kCases) {
    const Placed r = Place(c.t, c.p, c.kvl, 9);
    EXPECT_EQ(r.ierr, 1) << c.t << " " << c.p << " " << c.kvl;
    EXPECT_EQ(r.region, 0);
    EXPECT_EQ(r.v, kNoValue);
  }
}

TEST(WaterFdregion, AVolumeBeyondTheDoubleRangeIsNoValue) {
  // Vapour at 700 K and 1e-320 Pa: region 2, whose volume RT/p overflows.
  const Placed r = Place(700.0, 1e-320, 1);
  EXPECT_EQ(r.region, 2);
  EXPECT_EQ(r.v, kNoValue);
  EXPECT_EQ(r.ierr, 1);
}

TEST(WaterFdregion, AFailedRegion3SearchIsReportedAsAFailure) {
  // No region-3 volume reaches this pressure: the search must report the
  // failure instead of passing the last trial volume off as a root.
  int64_t model[2];
  std::memcpy(model, kFdregionModelName, sizeof model);
  for (int64_t kvl : {1, 2}) {
    for (int64_t start_mode : {1, 2}) {
      double volume = 0.0, pressure = 0.0;
      int64_t status = 0;
      SolveRegion3Volume(650.0, 1e15, kvl, start_mode, kNoValue, model, 0, kUnit, volume, pressure,
                         status);
      EXPECT_EQ(status, 1) << "KVL " << kvl << " start mode " << start_mode;
      ExpectPureFluidWordsCleared();
    }
  }
}

}  // namespace
}  // namespace thermomodels
