// The water exports' direct path against their first form through the
// exported dispatcher (conversions, dispatch and the ideal-gas reference at
// every call): same values bit for bit, same status, same root-search
// iterations, over every property code and region code and over states in
// every IF97 region, on both sides of the saturation line and beyond the
// bounds.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
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

const std::vector<double> kTemperatures = {250.0,  273.16, 300.0,   450.0,  623.15, 630.0,
                                           640.0,  646.9,  647.096, 650.0,  700.0,  800.0,
                                           863.15, 1000.0, 1073.16, 1500.0, 2273.15, 2500.0};
const std::vector<double> kPressures = {1e3,  1e5,    3e6,  1.65e7, 2.0e7, 2.1e7,
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

TEST(WaterPaths, RegionVolumeAndEosAgreeBitForBitWithTheSameIterations) {
  const int32_t unit = 6;
  const int64_t level = 0;
  int region3 = 0;
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
        // Every output requested, then each alone.
        for (int request = -1; request < 5; ++request) {
          int64_t flags[5] = {1, 1, 1, 1, 1};
          if (request >= 0) {
            for (int j = 0; j < 5; ++j) flags[j] = j == request ? 1 : 0;
          }
          double out[2][5];
          int64_t eos_ierr[2];
          for (int k = 0; k < 2; ++k) {
            const WaterPath path = k == 0 ? WaterPath::kDirect : WaterPath::kThroughDispatcher;
            for (double& x : out[k]) x = -7.0;
            WaterEos(t, p, level, kvl, unit, flags[0], flags[1], flags[2], flags[3], flags[4],
                     out[k][0], out[k][1], out[k][2], out[k][3], out[k][4], eos_ierr[k], path);
          }
          ASSERT_EQ(eos_ierr[0], eos_ierr[1]) << "request " << request;
          for (int j = 0; j < 5; ++j) {
            ASSERT_TRUE(SameBits(out[0][j], out[1][j]))
                << "request " << request << " output " << j << ": " << out[0][j] << " / "
                << out[1][j];
          }
        }
      }
    }
  }
  EXPECT_GT(region3, 20);
}

}  // namespace
}  // namespace thermomodels
