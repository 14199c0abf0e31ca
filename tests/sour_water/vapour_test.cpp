// Vapour fugacity coefficients: the low-pressure limit, limits and guards.
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
  return lnphi;
}

// ln phi_i / P -> (2 sum_j y_j B_ij - B_mix) / RT as P -> 0, with B_ij of
// the temperature terms.
TEST(Vapour, LowPressureLimit) {
  const double p = 1e-6;
  const std::vector<int64_t> idx = {1, 2, 3, 4, 5, 13};
  const std::vector<double> y = {0.5, 0.1, 0.15, 0.1, 0.1, 0.05};
  // At 700 K the coefficients are those of 647.29 K, RT that of 700 K.
  for (double t : {350.0, 700.0}) {
    GuardedWork work(606 + 6);
    const auto lnphi = LnPhi(t, p, idx, y, &work);
    const double* bij = work.data() + kVapourWork.bij;
    double s1[6] = {}, bm = 0.0;
    for (int i = 0; i < 6; ++i) {
      for (int j = 0; j < 6; ++j) s1[i] += y[j] * bij[SlotEntry(i + 1, j + 1, kNcMax)];
      bm += y[i] * s1[i];
    }
    for (int i = 0; i < 6; ++i) {
      const double limit = (2.0 * s1[i] - bm) / (82.05 * t);
      const double scale = (2.0 * std::fabs(s1[i]) + std::fabs(bm)) / (82.05 * t);
      EXPECT_NEAR(lnphi[i] / p, limit, 1e-6 * scale) << "slot " << i + 1 << ", " << t << " K";
    }
  }
}

// Dense hydrogen (no spinodal: B > 0): the exponent of phi is capped at
// 10, so ln phi = 10 - ln Z with Z of the largest root of the virial cubic.
TEST(Vapour, ExponentCapInDenseHydrogen) {
  const double t = 300.0, p = 4000.0;
  GuardedWork work(606 + 1);
  const auto lnphi = LnPhi(t, p, {12}, {1.0}, &work);
  const double b = work.data()[kVapourWork.bij];
  const double c = GPSWCOM.CRED[0] * GPSWCOM.RTCPC[0] * GPSWCOM.RTCPC[0];
  const double rt = 82.05 * t;
  // P(V) falls monotonically for V > 0 here: bisect on the volume.
  double lo = 1.0, hi = rt / p * 100.0;
  for (int k = 0; k < 200; ++k) {
    const double v = 0.5 * (lo + hi);
    (rt / v * (1.0 + b / v + c / (v * v)) > p ? lo : hi) = v;
  }
  const double v = 0.5 * (lo + hi);
  ASSERT_GT(2.0 * b / v + 4.5 * c / (v * v), 10.0);
  EXPECT_NEAR(lnphi[0], 10.0 - std::log(p * v / rt), 1e-6);
}

TEST(Vapour, IdealGasRepeatabilityAndTheCallersWork) {
  for (double v : LnPhi(373.15, 10.0, {1, 2, 3, 4}, {0, 0, 0, 0})) EXPECT_EQ(v, 0.0);

  // Twenty slots at 373.15 K and 10 atm: identical on a second call; the
  // words after 606 + N are not touched.
  std::vector<int64_t> idx = {1, 2, 3, 4};
  for (int m = 5; m <= 18; ++m) idx.push_back(m);
  idx.push_back(5);
  idx.push_back(13);
  std::vector<double> y(20, 0.02);
  y[0] = 0.62;
  GuardedWork work(606 + 20);
  const auto first = LnPhi(373.15, 10.0, idx, y, &work);
  EXPECT_TRUE(work.GuardsIntact());
  const auto second = LnPhi(373.15, 10.0, idx, y);
  EXPECT_EQ(first, second);
  for (double v : first) EXPECT_TRUE(std::isfinite(v) && std::fabs(v) < 1.0);
}

// Slots with a model index outside 1..18 and slots beyond 20 take no part
// and get the upper bound ln 1e20; the others are those of the list
// without them.
TEST(Vapour, InvalidSlotsAreLeftOut) {
  const double upper = std::log(1e20);
  const auto clean = LnPhi(400.0, 5.0, {1, 2, 3, 4, 5}, {0.6, 0.1, 0.1, 0.1, 0.1});
  const auto mixed =
      LnPhi(400.0, 5.0, {1, 2, 0, 3, 4, 19, 5, -3}, {0.6, 0.1, 0.7, 0.1, 0.1, 0.2, 0.1, 0.3});
  EXPECT_EQ(mixed[2], upper);
  EXPECT_EQ(mixed[5], upper);
  EXPECT_EQ(mixed[7], upper);
  const int kept[5] = {0, 1, 3, 4, 6};
  for (int s = 0; s < 5; ++s) EXPECT_EQ(mixed[kept[s]], clean[s]) << "slot " << s + 1;

  std::vector<int64_t> idx(24, 13);
  idx[0] = 1;
  std::vector<double> y(24, 0.04);
  GuardedWork work(606 + 24);
  const auto many = LnPhi(373.15, 10.0, idx, y, &work);
  EXPECT_TRUE(work.GuardsIntact());
  for (int s = 20; s < 24; ++s) EXPECT_EQ(many[s], upper) << "slot " << s + 1;
  EXPECT_LT(many[19], 1.0);
}

// The clamp: a value that is not a number gives the upper bound.
TEST(Vapour, ClampOfTheFugacityCoefficient) {
  EXPECT_EQ(ClampedLog(std::nan("")), std::log(1e20));
  EXPECT_EQ(ClampedLog(1e30), std::log(1e20));
  EXPECT_EQ(ClampedLog(0.0), std::log(1e-20));
  EXPECT_EQ(ClampedLog(-1.0), std::log(1e-20));
  EXPECT_EQ(ClampedLog(2.0), std::log(2.0));
  const auto nan_t = LnPhi(std::nan(""), 1.0, {1, 2}, {0.5, 0.5});
  EXPECT_EQ(nan_t[0], std::log(1e20));
}

}  // namespace
