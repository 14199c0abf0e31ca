// Surface tension along the saturation line, from temperature and from pressure.
#include <gtest/gtest.h>

#include <cmath>

#include "water/if97/if97.h"
#include "water/if97/if97_check_values.h"

namespace thermomodels {
namespace {

// Surface tension release, table of sigma along the saturation line (mN/m, two decimals).
TEST(SurfaceTension, ReproducesTheReleaseTable) {
  struct Row {
    double temperature, sigma;
  };
  const Row rows[] = {{273.16, 75.65}, {278.15, 74.94}, {283.15, 74.22}, {288.15, 73.49},
                      {293.15, 72.74}, {298.15, 71.97}, {303.15, 71.19}, {313.15, 69.60},
                      {323.15, 67.94}, {333.15, 66.24}, {343.15, 64.48}, {353.15, 62.67},
                      {363.15, 60.82}, {373.15, 58.91}, {393.15, 54.97}, {413.15, 50.86},
                      {423.15, 48.74}, {433.15, 46.59}, {453.15, 42.19}, {473.15, 37.67},
                      {523.15, 26.04}, {573.15, 14.36}, {623.15, 3.67},  {643.15, 0.39}};
  for (const Row& row : rows) {
    EXPECT_NEAR(IF97SIGT(row.temperature), row.sigma, 0.005) << "T = " << row.temperature;
  }
}

TEST(SurfaceTension, RangeAndCriticalPoint) {
  for (double t : {272.99, 647.31}) EXPECT_EQ(IF97SIGT(t), -1.0) << t;
  for (double t : {647.096, 647.2, 647.3}) EXPECT_EQ(IF97SIGT(t), 0.0) << t;
  // The lower bound is inclusive and gives the equation's value (above 75.65 at 273.16 K).
  EXPECT_GT(IF97SIGT(273.0), 75.65);
  EXPECT_LT(IF97SIGT(273.0), 75.70);
  // Just below Tc the value is small and positive.
  EXPECT_GT(IF97SIGT(647.09), 0.0);
  EXPECT_LT(IF97SIGT(647.09), 1e-3);
}

TEST(SurfaceTension, FromSaturationPressureInBar) {
  // At the saturation temperatures of IF97 Table 36.
  for (const auto& row : water_test::kTsatRows)
    EXPECT_NEAR(IF97SIGP(10.0 * row.in), IF97SIGT(row.out), 1e-6) << row.in << " MPa";
  // Below the bridges Eq. 31 is what IF97TSAT evaluates.
  EXPECT_DOUBLE_EQ(IF97SIGP(1.01325), IF97SIGT(IF97TSAT(0.101325)));
  EXPECT_EQ(IF97SIGP(221.2), 0.0);    // Eq. 31 runs past Tc above 22.064 MPa
  EXPECT_EQ(IF97SIGP(221.3), -1.0);   // above 22.12 MPa
  EXPECT_EQ(IF97SIGP(0.0060), -1.0);  // below 0.00061 MPa
  EXPECT_GT(IF97SIGP(0.0061), 75.0);  // inclusive lower bound, near the triple point
}

}  // namespace
}  // namespace thermomodels
