// Vapour fugacity coefficients: pure water and infinite dilution against an
// independent solve of the virial cubic, the exponent cap, and invalid slots, states and the
// caller's work.
#include <gtest/gtest.h>

#include <cmath>

#include "sour_water_support.h"

namespace {

using namespace thermomodels;
using sw_test::GuardedWork;

std::vector<double> LnPhi(double t, double p, std::vector<int64_t> idx, std::vector<double> y,
                          GuardedWork* work_out = nullptr) {
  const int64_t n = static_cast<int64_t>(idx.size());
  GuardedWork local(606 + n);
  GuardedWork& work = work_out ? *work_out : local;
  std::vector<double> lnphi(n, -99.0);
  PPTH_PHIVGPSW(&t, &p, &n, idx.data(), y.data(), lnphi.data(), work.data());
  EXPECT_TRUE(work.GuardsIntact());
  return lnphi;
}

// Rows from water_vapour_virial.py: the largest root of the virial cubic,
// with the spinodal cap at 373.15 K and 100 atm (16.78 atm, Z 0.549) and
// Z 0.293 at 700 K and 300 atm. The density solve stops at a relative
// pressure residual of 1e-5. Every component at infinite dilution checks
// the critical constants, virial parameters and interaction row of water.
TEST(Vapour, PureWaterMatchesTheCubicRoot) {
  for (const auto& row : sw_test::Reference("pure")) {
    EXPECT_NEAR(LnPhi(row[0], row[1], {1}, {1.0})[0], row[2], 1e-6) << row[0] << " K, " << row[1];
  }
  std::vector<int64_t> idx;
  std::vector<double> y(18, 0.0);
  for (int m = 1; m <= 18; ++m) idx.push_back(m);
  y[0] = 1.0;
  for (const auto& row : sw_test::Reference("dilute")) {
    const auto lnphi = LnPhi(row[0], row[1], idx, y);
    for (int m = 0; m < 18; ++m) EXPECT_NEAR(lnphi[m], row[2 + m], 1e-6) << m + 1 << " " << row[0];
  }
}

// Dense hydrogen (no spinodal: B > 0): the exponent of phi is capped at
// 10, so ln phi = 10 - ln Z with Z of the largest root of the virial cubic.
TEST(Vapour, ExponentCapInDenseHydrogen) {
  const double t = 300.0, p = 4000.0, rt = 82.05 * t;
  GuardedWork work(606 + 1);
  const auto lnphi = LnPhi(t, p, {12}, {1.0}, &work);
  const double b = work.data()[kVapourWork.bij];
  const double c = GPSWCOM.CRED[0] * GPSWCOM.RTCPC[0] * GPSWCOM.RTCPC[0];
  double lo = 1.0, hi = rt / p * 100.0;  // P(V) falls monotonically: bisect
  for (int k = 0; k < 200; ++k) {
    const double v = 0.5 * (lo + hi);
    (rt / v * (1.0 + b / v + c / (v * v)) > p ? lo : hi) = v;
  }
  ASSERT_GT(2.0 * b / lo + 4.5 * c / (lo * lo), 10.0);
  EXPECT_NEAR(lnphi[0], 10.0 - std::log(p * lo / rt), 1e-6);
}

// No vapour: ideal gas. Slots with a model index outside 1..18 and slots
// beyond 20 take no part and get the upper bound ln 1e20; the others are
// those of the list without them; a repeat gives the same. So does a
// temperature or pressure that is not a positive finite number, and the
// clamp of a coefficient that is not a number.
TEST(Vapour, InvalidSlotsStatesAndRepeats) {
  const double upper = std::log(1e20);
  for (double v : LnPhi(373.15, 10.0, {1, 2, 3, 4}, {0, 0, 0, 0})) EXPECT_EQ(v, 0.0);
  const auto clean = LnPhi(400.0, 5.0, {1, 2, 3, 4, 5}, {0.6, 0.1, 0.1, 0.1, 0.1});
  const auto mixed =
      LnPhi(400.0, 5.0, {1, 2, 0, 3, 4, 19, 5, -3}, {0.6, 0.1, 0.7, 0.1, 0.1, 0.2, 0.1, 0.3});
  const int kept[5] = {0, 1, 3, 4, 6};
  for (int s = 0; s < 5; ++s) EXPECT_EQ(mixed[kept[s]], clean[s]) << "slot " << s + 1;
  for (int s : {2, 5, 7}) EXPECT_EQ(mixed[s], upper);
  std::vector<int64_t> idx(24, 13);
  idx[0] = 1;
  idx[1] = 5;
  const std::vector<double> y(24, 0.04);
  const auto many = LnPhi(373.15, 10.0, idx, y);
  EXPECT_EQ(many, LnPhi(373.15, 10.0, idx, y));
  for (int s = 0; s < 24; ++s) EXPECT_TRUE(s < 20 ? std::fabs(many[s]) < 1.0 : many[s] == upper);
  for (auto [t, p] : {std::pair{NAN, 1.0},
                      {300.0, -1.0},
                      {300.0, 0.0},
                      {-300.0, 1.0},
                      {INFINITY, 1.0},
                      {300.0, INFINITY}}) {
    for (double v : LnPhi(t, p, {1, 2}, {0.5, 0.5})) EXPECT_EQ(v, upper) << t << " " << p;
  }
  for (auto [v, clamped] :
       {std::pair{NAN, 1e20}, {1e30, 1e20}, {0.0, 1e-20}, {-1.0, 1e-20}, {2.0, 2.0}}) {
    EXPECT_EQ(ClampedLog(v), std::log(clamped)) << v;
  }
}

}  // namespace
