// Dielectric constant and refractive index against their releases' check tables.
#include <gtest/gtest.h>

#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

// Dielectric release, Table 4, from its listed molar densities (mol/dm3).
// The densities are rounded to seven digits, which moves epsilon by up to
// 2.7e-6 relative.
TEST(DielectricConstant, ReproducesTheReleaseTable) {
  struct Row {
    double temperature, molar_density, epsilon;
  };
  const Row rows[] = {{240, 54.33701, 104.34982}, {300, 55.31735, 77.74735},
                      {300, 55.56148, 78.11269},  {300, 68.69265, 103.69632},
                      {650, 2.24692, 1.26715},    {650, 40.31090, 17.71733},
                      {650, 52.58636, 26.62132},  {870, 1.45275, 1.12721},
                      {870, 20.98927, 4.98281},   {870, 45.01376, 15.09746}};
  for (const Row& row : rows) {
    const double volume = 1.0 / (row.molar_density * 18.015268);
    EXPECT_NEAR(WDIELC(row.temperature, volume) / row.epsilon, 1.0, 3e-6)
        << "T = " << row.temperature << " K, rho = " << row.molar_density << " mol/dm3";
  }
}

TEST(DielectricConstant, LiquidAtRoomTemperatureAndBelow228K) {
  EXPECT_NEAR(WDIELC(298.15, 1.0 / 997.047), 78.41, 0.01);
  // No range check: below 228 K the g-factor's last term has a negative base: not a number.
  EXPECT_TRUE(std::isnan(WDIELC(220.0, 1.0 / 990.0)));
  EXPECT_TRUE(std::isinf(WDIELC(228.0, 1.0 / 990.0)));
}

// Refractive-index release, Table 3, at IAPWS-95 densities of its states.
TEST(RefractiveIndex, ReproducesTheReleaseTable) {
  struct Row {
    double temperature, density, wavelength_um, n, tolerance;
  };
  const Row rows[] = {{273.15, 999.842411, 0.2265, 1.394527, 5e-7},
                      {273.15, 999.842411, 0.589, 1.334344, 5e-7},
                      {273.15, 999.842411, 1.01398, 1.326135, 5e-7},
                      {273.15, 1004.821444, 0.2265, 1.396526, 5e-7},
                      {373.15, 958.770656, 0.2265, 1.375622, 5e-7},
                      {373.15, 999.761789, 0.2265, 1.391983, 5e-7},
                      {473.15, 0.460314, 0.589, 1.0001456, 5e-8},
                      {773.15, 2.823960, 0.589, 1.0008773, 5e-8},
                      {273.15, 1004.821444, 1.01398, 1.327710, 5e-7},
                      {473.15, 923.740172, 1.01398, 1.298369, 5e-7}};
  for (const Row& row : rows) {
    EXPECT_NEAR(WREFRI(row.temperature, 1.0 / row.density, row.wavelength_um), row.n, row.tolerance)
        << "T = " << row.temperature << " K, rho = " << row.density
        << ", lambda = " << row.wavelength_um;
  }
}

}  // namespace
}  // namespace thermomodels
