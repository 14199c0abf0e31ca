// Regions 1, 2, 3 and 5: the published check values of IF97 Tables 5, 15,
// 33 and 42, and the boundary between regions 2 and 3.
#include <gtest/gtest.h>

#include <cmath>

#include "water/if97/if97.h"
#include "water/if97/if97_check_values.h"

namespace thermomodels {
namespace {

using water_test::NinthDigit;

using Fn = double (*)(const double&, const double&);

// IF97 Tables 5, 15, 42 at (p, T) and 33 at (T, v = 1/rho): v (p in region
// 3), h, u, s, cp, w to the nine printed digits.
TEST(If97Regions, ReproducePublishedTables) {
  const Fn fns[5][6] = {{IF97R1V, IF97R1H, IF97R1U, IF97R1S, IF97R1CP, IF97R1W},
                        {IF97R2V, IF97R2H, IF97R2U, IF97R2S, IF97R2CP, IF97R2W},
                        {IF97R3P, IF97R3H, IF97R3U, IF97R3S, IF97R3CP, IF97R3W},
                        {},
                        {IF97R5V, IF97R5H, IF97R5U, IF97R5S, IF97R5CP, IF97R5W}};
  const char* what[] = {"v/p", "h", "u", "s", "cp", "w"};
  for (const auto& r : water_test::kIf97Rows) {
    const bool r3 = r.region == 3;
    const double a = r3 ? r.t : r.p_mpa, b = r3 ? r.v : r.t;
    const double want[] = {r3 ? r.p_mpa : r.v, r.h, r.u, r.s, r.cp, r.w};
    for (int q = 0; q < 6; ++q)
      EXPECT_NEAR(fns[r.region - 1][q](a, b), want[q], NinthDigit(want[q]))
          << "IF97 Table " << r.table << " " << what[q] << " at (" << a << ", " << b << ")";
  }
}

// The boundary between regions 2 and 3: the published check point both
// ways, and each equation the inverse of the other along the boundary.
TEST(If97Boundary23, CheckPointAndInverse) {
  EXPECT_NEAR(IF97B23P(623.15), 0.165291643E+02, NinthDigit(0.165291643E+02));
  EXPECT_NEAR(IF97B23T(0.165291643E+02), 623.15, NinthDigit(623.15));
  for (double t = 623.15; t <= 863.15; t += 20.0) {
    EXPECT_NEAR(IF97B23T(IF97B23P(t)), t, 1e-9 * t) << t;
  }
}

}  // namespace
}  // namespace thermomodels
