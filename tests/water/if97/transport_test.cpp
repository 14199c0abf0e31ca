#include <gtest/gtest.h>

#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

// IAPWS 2008 viscosity release, Table 4 (critical enhancement factor 1), in uPa s.
TEST(Viscosity, ReproducesTheReleaseTableToNineDigits) {
  struct Row {
    double temperature, density, viscosity_upas;
  };
  const Row rows[] = {{298.15, 998, 889.735100},  {298.15, 1200, 1437.649467},
                      {373.15, 1000, 307.883622}, {433.15, 1, 14.538324},
                      {433.15, 1000, 217.685358}, {873.15, 1, 32.619287},
                      {873.15, 100, 35.802262},   {873.15, 600, 77.430195},
                      {1173.15, 1, 44.217245},    {1173.15, 100, 47.640433},
                      {1173.15, 400, 64.154608}};
  for (const Row& row : rows) {
    const double viscosity = WVISC08(row.temperature, 1.0 / row.density);
    EXPECT_NEAR(viscosity * 1e6, row.viscosity_upas, 0.6e-6 + 0.5e-9 * row.viscosity_upas)
        << "T = " << row.temperature << " K, rho = " << row.density << " kg/m3";
  }
}

}  // namespace
}  // namespace thermomodels
