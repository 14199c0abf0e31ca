// QUELTRIN_IF97PRPH never reports success with a volume or vapour pressure that no state can have,
// whatever region code the caller names.
#include <cmath>

#include "water/drivers/water_test_support.h"

namespace thermomodels::water_test {
namespace {

TEST(WaterDispatcherPositive, VolumesAndVapourPressuresOfSuccessfulCallsArePositive) {
  // Region 3's backward volume asked for a liquid state of region 1 comes out negative.
  const Prph r = Prop(5, 3, 593.38491263281082, 23058027.730053701);
  EXPECT_TRUE(r.ierr == 1 && r.value == kNoValue) << r.ierr << " " << r.value;
  // Codes 5 and 11 (which reads no region code) with every region code on log grids over the
  // IF97 range (273.15-1073.15 K, 0.1-100 MPa) and far beyond it (200-2500 K, 100 Pa-200 MPa).
  const struct { double t0, t1, p0, p1; int n; } grids[] = {{273.15, 1073.15, 1e5, 1e8, 401},
                                                            {200.0, 2500.0, 100.0, 2e8, 301}};
  for (const auto& g : grids) {
    for (int i = 0; i < g.n * g.n; ++i) {
      const double t = g.t0 * std::pow(g.t1 / g.t0, double(i / g.n) / (g.n - 1));
      const double p = g.p0 * std::pow(g.p1 / g.p0, double(i % g.n) / (g.n - 1));
      for (int64_t region = 0; region <= 7; ++region) {
        const Prph s = region == 7 ? Prop(11, 0, t, p) : Prop(5, region, t, p);
        ASSERT_TRUE(s.ierr == 0 ? s.value > 0.0 && std::isfinite(s.value)
                                : s.ierr == 1 && s.value == kNoValue)
            << "region " << region << " T " << t << " P " << p << " " << s.ierr << " " << s.value;
      }
    }
  }
}

}  // namespace
}  // namespace thermomodels::water_test
