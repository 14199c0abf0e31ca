// QUELTRIN_IF97PRPH never reports success with a volume or vapour pressure
// that no state can have, whatever region code the caller names.
#include <cmath>

#include "water/drivers/water_test_support.h"

namespace thermomodels::water_test {
namespace {

// Region 3's backward volume asked for a liquid state of region 1: the
// equation gives a negative volume there, which must be refused.
TEST(WaterDispatcherPositive, Region3VolumeOfALiquidStateIsRefused) {
  const Prph r = Prop(5, 3, 593.38491263281082, 23058027.730053701);
  EXPECT_EQ(r.ierr, 1);
  EXPECT_EQ(r.value, kNoValue);
  // The same call in region 3 proper still serves its volume.
  EXPECT_GT(Value(5, 3, 650.0, 2.5e7), 0.0);
}

// Codes 5 and 11 with every region code over a linear grid of the IF97
// range (273.15-1073.15 K, 0.1-100 MPa) and a logarithmic grid far beyond it.
TEST(WaterDispatcherPositive, VolumesAndVapourPressuresOfSuccessfulCallsArePositive) {
  struct Grid {
    double t0, t1, p0, p1;
    int n;
    bool log;
  };
  const Grid grids[] = {{273.15, 1073.15, 1e5, 1e8, 401, true},
                        {200.0, 2500.0, 100.0, 2e8, 301, true}};
  for (const Grid& g : grids) {
    for (int i = 0; i < g.n; ++i) {
      const double f = static_cast<double>(i) / (g.n - 1);
      const double t = g.log ? g.t0 * std::pow(g.t1 / g.t0, f) : g.t0 + f * (g.t1 - g.t0);
      for (int j = 0; j < g.n; ++j) {
        const double h = static_cast<double>(j) / (g.n - 1);
        const double p = g.log ? g.p0 * std::pow(g.p1 / g.p0, h) : g.p0 + h * (g.p1 - g.p0);
        for (int64_t region = 0; region <= 6; ++region) {
          for (int32_t code : {5, 11}) {
            // Code 11 does not read the region code: one region serves.
            if (code == 11 && region != 0) continue;
            const Prph r = Prop(code, region, t, p);
            if (r.ierr == 0) {
              ASSERT_TRUE(r.value > 0.0 && std::isfinite(r.value))
                  << "code " << code << " region " << region << " T " << t << " P " << p
                  << " value " << r.value;
            } else {
              ASSERT_EQ(r.ierr, 1);
              ASSERT_EQ(r.value, kNoValue);
            }
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace thermomodels::water_test
