// The water exports' direct path against their first form through the
// exported dispatcher (conversions, dispatch and the ideal-gas reference at
// every call, one region function per output): same status and root-search
// iterations, the dispatcher and the region volume bit for bit, the EOS
// outputs (one evaluation of the series for all of them) within 1e-14
// relative, over every property code and region code and over states in
// every IF97 region, on both sides of the saturation line and beyond the
// bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/common.h"
#include "water/drivers/drivers.h"

namespace thermomodels {
namespace {

constexpr WaterPath kPaths[2] = {WaterPath::kDirect, WaterPath::kThroughDispatcher};
constexpr double kTemperatures[] = {250.0,  273.16, 300.0,   450.0,  623.15,  630.0,
                                    640.0,  646.9,  647.096, 650.0,  700.0,   800.0,
                                    863.15, 1000.0, 1073.16, 1500.0, 2273.15, 2500.0};
constexpr double kPressures[] = {1e3,      1e5,   3e6, 1.65e7, 2.0e7, 2.1e7,
                                 2.2064e7, 2.5e7, 4e7, 7e7,    1e8,   1.5e8};

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(WaterPaths, DispatcherCodesAndRegionsAgreeBitForBit) {
  for (double t : kTemperatures) {
    for (double p : kPressures) {
      for (double v : {0.02, 0.05, 0.1, 2.0, kNoValue}) {
        for (int32_t code = 0; code <= 16; ++code) {
          for (int64_t region = 0; region <= 6; ++region) {
            for (int64_t phase = 0; phase <= (region == 4 ? 2 : 0); ++phase) {
              double out[2];
              int64_t ierr[2];
              for (int k = 0; k < 2; ++k)
                DispatchWaterProperty(t, p, v, code, phase, region, out[k], ierr[k], kPaths[k]);
              ASSERT_TRUE(SameBits(out[0], out[1]) && ierr[0] == ierr[1])
                  << "code " << code << " region " << region << " phase " << phase << " T " << t
                  << " P " << p << " V " << v << ": " << out[0] << " / " << out[1];
            }
          }
        }
      }
    }
  }
}

// Every output of QUELTRIN_ES15D requested, then each alone, on both paths:
// the same status and search iterations, values the same or within 1e-14 of
// the output's own magnitude (the outputs of one evaluation add the same
// terms of the series in another order); for ln phi, whose error is the
// relative error of phi, of 1, and for the Gibbs energy h - T s of its two
// terms. The region volume agrees bit for bit.
TEST(WaterPaths, RegionVolumeBitForBitAndEosWithinRoundOffWithTheSameIterations) {
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
          WaterRegionVolume(t, p, kvl, region[k], t_out[k], p_out[k], v_out[k], level, unit,
                            ierr[k], kPaths[k]);
          iterations[k] = PPUTL_ESROOT.iw[esr::ITER];
        }
        ASSERT_TRUE(region[0] == region[1] && ierr[0] == ierr[1] && SameBits(t_out[0], t_out[1]) &&
                    SameBits(p_out[0], p_out[1]) && SameBits(v_out[0], v_out[1]))
            << v_out[0] << " / " << v_out[1];
        if (region[0] == 3) {
          ++region3;
          ASSERT_EQ(iterations[0], iterations[1]);
        }
        double scale[5];
        for (int request = -1; request < 5; ++request) {
          int64_t f[5] = {1, 1, 1, 1, 1};
          for (int j = 0; j < 5 && request >= 0; ++j) f[j] = j == request;
          double out[2][5];
          for (int k = 0; k < 2; ++k) {
            for (double& x : out[k]) x = -7.0;
            PPUTL_ESROOT.iw[esr::ITER] = -1;
            WaterEos(t, p, level, kvl, unit, f[0], f[1], f[2], f[3], f[4], out[k][0], out[k][1],
                     out[k][2], out[k][3], out[k][4], ierr[k], kPaths[k]);
            iterations[k] = PPUTL_ESROOT.iw[esr::ITER];
          }
          if (request == -1) {
            for (int j = 0; j < 5; ++j) scale[j] = std::fabs(out[1][j]);
            scale[0] = 1.0;
            scale[3] = std::fabs(out[1][1]) + std::max(t, 273.15) * std::fabs(out[1][2]);
          }
          ASSERT_TRUE(ierr[0] == ierr[1] && iterations[0] == iterations[1])
              << "request " << request;
          for (int j = 0; j < 5; ++j) {
            const double a = out[0][j], b = out[1][j];
            const bool finite =
                a != kNoValue && b != kNoValue && std::isfinite(a) && std::isfinite(b);
            ASSERT_TRUE(SameBits(a, b) || (finite && std::fabs(a - b) <= 1e-14 * scale[j]))
                << "request " << request << " output " << j << ": " << a << " / " << b;
          }
        }
      }
    }
  }
  EXPECT_GT(region3, 20);
}

}  // namespace
}  // namespace thermomodels
