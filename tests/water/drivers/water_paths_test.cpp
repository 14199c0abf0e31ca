// The water exports' direct path against their first form through the
// exported dispatcher (conversions, dispatch and the ideal-gas reference at
// every call, one region function per output): same status and root-search
// iterations, the dispatcher and the region volume bit for bit, the EOS
// outputs (one evaluation of the series for all of them) within 1e-14
// relative, over every property code and region code and over states in
// every IF97 region, on both sides of the saturation line and beyond the
// bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "common/common.h"
#include "water/drivers/drivers.h"

namespace thermomodels {
namespace {

bool SameBits(double a, double b) {
  uint64_t x, y;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x == y;
}

// The same bits, or two finite values other than the no-value marker that
// differ by at most 1e-14 of SCALE: the outputs of one evaluation add the
// same terms of the series in another order.
constexpr double kTolerance = 1e-14;
bool Agree(double a, double b, double scale, double& worst) {
  if (SameBits(a, b)) return true;
  if (a == kNoValue || b == kNoValue || !std::isfinite(a) || !std::isfinite(b)) return false;
  const double relative = std::fabs(a - b) / scale;
  worst = std::max(worst, relative);
  return relative <= kTolerance;
}

const std::vector<double> kTemperatures = {250.0,  273.16, 300.0,   450.0,  623.15,  630.0,
                                           640.0,  646.9,  647.096, 650.0,  700.0,   800.0,
                                           863.15, 1000.0, 1073.16, 1500.0, 2273.15, 2500.0};
const std::vector<double> kPressures = {1e3,      1e5,   3e6, 1.65e7, 2.0e7, 2.1e7,
                                        2.2064e7, 2.5e7, 4e7, 7e7,    1e8,   1.5e8};

TEST(WaterPaths, DispatcherCodesAndRegionsAgreeBitForBit) {
  const double volumes[] = {0.02, 0.05, 0.1, 2.0, kNoValue};
  int compared = 0;
  for (double t : kTemperatures) {
    for (double p : kPressures) {
      for (double v : volumes) {
        for (int32_t code = 0; code <= 16; ++code) {
          for (int64_t region = 0; region <= 6; ++region) {
            for (int64_t phase : {0, 1, 2}) {
              if (region != 4 && phase != 0) continue;
              double fast = 0.0, slow = 0.0;
              int64_t fast_ierr = -1, slow_ierr = -1;
              DispatchWaterProperty(t, p, v, code, phase, region, fast, fast_ierr,
                                    WaterPath::kDirect);
              DispatchWaterProperty(t, p, v, code, phase, region, slow, slow_ierr,
                                    WaterPath::kThroughDispatcher);
              ASSERT_TRUE(SameBits(fast, slow) && fast_ierr == slow_ierr)
                  << "code " << code << " region " << region << " phase " << phase << " T " << t
                  << " P " << p << " V " << v << ": " << fast << " / " << slow;
              ++compared;
            }
          }
        }
      }
    }
  }
  EXPECT_GT(compared, 100000);
}

// Every output of QUELTRIN_ES15D requested, then each alone, on both paths:
// the same status and search iterations, values within the tolerance. The
// scale of each output is its own magnitude, but for ln phi, whose error is
// the relative error of phi (scale 1), and the Gibbs energy h - T s, whose
// round-off is that of its two terms.
void CompareEos(double t, double p, int64_t kvl, double& worst) {
  const int32_t unit = 6;
  const int64_t level = 0;
  double scale[5];
  for (int request = -1; request < 5; ++request) {
    int64_t flags[5] = {1, 1, 1, 1, 1};
    if (request >= 0) {
      for (int j = 0; j < 5; ++j) flags[j] = j == request ? 1 : 0;
    }
    double out[2][5];
    int64_t eos_ierr[2], iterations[2];
    for (int k = 0; k < 2; ++k) {
      const WaterPath path = k == 0 ? WaterPath::kDirect : WaterPath::kThroughDispatcher;
      for (double& x : out[k]) x = -7.0;
      PPUTL_ESROOT.iw[esr::ITER] = -1;
      WaterEos(t, p, level, kvl, unit, flags[0], flags[1], flags[2], flags[3], flags[4], out[k][0],
               out[k][1], out[k][2], out[k][3], out[k][4], eos_ierr[k], path);
      iterations[k] = PPUTL_ESROOT.iw[esr::ITER];
    }
    if (request == -1) {
      for (int j = 0; j < 5; ++j) scale[j] = std::fabs(out[1][j]);
      scale[0] = 1.0;
      scale[3] = std::fabs(out[1][1]) + std::max(t, 273.15) * std::fabs(out[1][2]);
    }
    ASSERT_EQ(eos_ierr[0], eos_ierr[1]) << "request " << request;
    ASSERT_EQ(iterations[0], iterations[1]) << "request " << request;
    for (int j = 0; j < 5; ++j) {
      ASSERT_TRUE(Agree(out[0][j], out[1][j], scale[j], worst))
          << "request " << request << " output " << j << ": " << out[0][j] << " / " << out[1][j];
    }
  }
}

TEST(WaterPaths, RegionVolumeBitForBitAndEosWithinRoundOffWithTheSameIterations) {
  const int32_t unit = 6;
  const int64_t level = 0;
  int region3 = 0;
  double worst = 0.0;
  for (double t : kTemperatures) {
    for (double p : kPressures) {
      for (int64_t kvl : {1, 2}) {
        SCOPED_TRACE(::testing::Message() << "T " << t << " P " << p << " KVL " << kvl);
        int64_t region[2], ierr[2], iterations[2];
        double t_out[2], p_out[2], v_out[2];
        for (int k = 0; k < 2; ++k) {
          const WaterPath path = k == 0 ? WaterPath::kDirect : WaterPath::kThroughDispatcher;
          WaterRegionVolume(t, p, kvl, region[k], t_out[k], p_out[k], v_out[k], level, unit,
                            ierr[k], path);
          iterations[k] = PPUTL_ESROOT.iw[esr::ITER];
        }
        ASSERT_EQ(region[0], region[1]);
        ASSERT_EQ(ierr[0], ierr[1]);
        ASSERT_TRUE(SameBits(t_out[0], t_out[1]) && SameBits(p_out[0], p_out[1]) &&
                    SameBits(v_out[0], v_out[1]))
            << v_out[0] << " / " << v_out[1];
        if (region[0] == 3) {
          ++region3;
          ASSERT_EQ(iterations[0], iterations[1]);
        }
        CompareEos(t, p, kvl, worst);
      }
    }
  }
  EXPECT_GT(region3, 20);
  RecordProperty("worst_relative_difference", (::testing::Message() << worst).GetString());
}

// A few thousand states spread over the formulation's range, evenly in ln P
// and, half of them, over the region-3 temperatures.
TEST(WaterPaths, EosWithinRoundOffOnScatteredStates) {
  std::mt19937_64 rng(18);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  double worst = 0.0;
  for (int k = 0; k < 2000; ++k) {
    const bool near_critical = k % 2 == 0;
    const double t = near_critical ? 623.15 + 240.0 * unit(rng) : 260.0 + 2040.0 * unit(rng);
    const double p = near_critical ? 1.6e7 * std::exp(std::log(6.25) * unit(rng))
                                   : 1e3 * std::exp(std::log(1e5) * unit(rng));
    const int64_t kvl = 1 + k % 4 / 2;
    SCOPED_TRACE(::testing::Message() << "T " << t << " P " << p << " KVL " << kvl);
    CompareEos(t, p, kvl, worst);
    if (HasFatalFailure()) return;
  }
  RecordProperty("worst_relative_difference", (::testing::Message() << worst).GetString());
}

}  // namespace
}  // namespace thermomodels
