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

// What WTCON11 returns without the critical enhancement: TCON only.
struct Conductivity {
  double cp, cv, eta, tcon;
};
Conductivity Wtcon11(double pressure, double temperature, double volume, int64_t region) {
  Conductivity out{};
  WTCON11(pressure, temperature, volume, region, out.cp, out.cv, out.eta, out.tcon);
  return out;
}

// IAPWS 2011 conductivity release, Table 4 (no critical enhancement), in
// mW/(m K); density 0 is the dilute-gas limit. Region codes 5, 0 and 4 never
// evaluate the enhancement and leave CP, CV and ETA at -1.
TEST(ThermalConductivity, WithoutEnhancementReproducesTheReleaseTable) {
  struct Row {
    double temperature, density, conductivity_mw;
  };
  const Row rows[] = {{298.15, 0, 18.4341883},
                      {298.15, 998, 607.712868},
                      {298.15, 1200, 799.038144},
                      {873.15, 0, 79.1034659}};
  for (const int64_t region : {5, 0, 4}) {
    for (const Row& row : rows) {
      const double volume = row.density == 0.0 ? INFINITY : 1.0 / row.density;
      const Conductivity c = Wtcon11(0.1, row.temperature, volume, region);
      EXPECT_NEAR(c.tcon * 1e3, row.conductivity_mw, 0.6e-7 * row.conductivity_mw)
          << "region " << region << ", T = " << row.temperature << ", rho = " << row.density;
      EXPECT_EQ(c.cp, -1.0);
      EXPECT_EQ(c.cv, -1.0);
      EXPECT_EQ(c.eta, -1.0);
    }
  }
}

// IAPWS 2011 conductivity release, Tables 7 to 9: the form for use with IF97,
// regions 1 and 2 given by (T, p), region 3 by (T, rho); mW/(m K).
TEST(ThermalConductivity, WithEnhancementReproducesTheIf97Checks) {
  struct Row {
    int64_t region;
    double temperature, pressure, density, conductivity_mw;
  };
  const Row rows[] = {{1, 620, 20, 0, 481.485195},    {1, 620, 50, 0, 545.038940},
                      {2, 650, 0.3, 0, 52.2311024},   {2, 800, 50, 0, 177.709914},
                      {3, 647.35, 0, 222, 366.879411}, {3, 647.35, 0, 322, 1241.82415}};
  for (const Row& row : rows) {
    double volume = 0.0;
    if (row.region == 1) volume = IF97R1V(row.pressure, row.temperature);
    if (row.region == 2) volume = IF97R2V(row.pressure, row.temperature);
    if (row.region == 3) volume = 1.0 / row.density;
    const double pressure = row.region == 3 ? IF97R3P(row.temperature, volume) : row.pressure;
    const Conductivity c = Wtcon11(pressure, row.temperature, volume, row.region);
    EXPECT_NEAR(c.tcon * 1e3, row.conductivity_mw, 1e-8 * row.conductivity_mw)
        << "region " << row.region << ", T = " << row.temperature;
    EXPECT_GT(c.cp, 0.0);
    EXPECT_EQ(c.eta, WVISC08(row.temperature, volume));
  }
}

TEST(ThermalConductivity, EnhancementGatesAndOutputs) {
  // Region 1 at 500 K and 3 MPa: 1.8 T - 751.4 = 148.6 > 3, so the
  // enhancement is evaluated and the outputs are the region's own values.
  const double volume = IF97R1V(3.0, 500.0);
  const Conductivity with = Wtcon11(3.0, 500.0, volume, 1);
  const Conductivity without = Wtcon11(3.0, 500.0, volume, 5);
  EXPECT_EQ(with.cp, IF97R1CP(3.0, 500.0));
  EXPECT_EQ(with.cv, IF97R1CV(3.0, 500.0));
  EXPECT_EQ(with.eta, WVISC08(500.0, volume));
  EXPECT_GT(with.tcon, without.tcon);
  EXPECT_LT(with.tcon - without.tcon, 1e-2 * without.tcon);

  // The gates are strict: no enhancement on them, nor at 300 K and 3 MPa.
  struct Gate {
    int64_t region;
    double pressure, temperature;
  };
  const Gate gates[] = {{1, 3.0, 300.0}, {1, 1.8 * 450.0 - 751.4, 450.0}, {2, 1.0, 973.15}};
  for (const Gate& g : gates) {
    const double v = g.region == 1 ? IF97R1V(g.pressure, g.temperature) : IF97R2V(g.pressure, g.temperature);
    const Conductivity c = Wtcon11(g.pressure, g.temperature, v, g.region);
    EXPECT_EQ(c.cp, -1.0) << "region " << g.region << ", T = " << g.temperature;
    EXPECT_EQ(c.cv, -1.0);
    EXPECT_EQ(c.eta, -1.0);
    EXPECT_EQ(c.tcon, Wtcon11(g.pressure, g.temperature, v, 5).tcon);
  }
  // Just inside the region-2 gate the enhancement is evaluated.
  EXPECT_GT(Wtcon11(1.0, 973.1, IF97R2V(1.0, 973.1), 2).cp, 0.0);
}

TEST(ThermalConductivity, CompressedLiquidHasNoEnhancement) {
  // Far from the critical point the liquid is less compressible than the
  // reference state, so the enhancement vanishes although it is evaluated.
  const double volume = IF97R1V(50.0, 450.0);
  const Conductivity c = Wtcon11(50.0, 450.0, volume, 1);
  EXPECT_EQ(c.cp, IF97R1CP(50.0, 450.0));
  EXPECT_EQ(c.tcon, Wtcon11(50.0, 450.0, volume, 5).tcon);
}

TEST(ThermalConductivity, FiniteAtTheCriticalPoint) {
  const double volume = 1.0 / 322.0;
  const Conductivity c = Wtcon11(22.064, 647.096, volume, 3);
  EXPECT_EQ(c.cp, IF97R3CP(647.096, volume));
  EXPECT_TRUE(std::isfinite(c.tcon));
  // Larger than at 647.35 K on the same isochore (1.24 W/(m K)).
  EXPECT_GT(c.tcon, 1.24);
}

}  // namespace
}  // namespace thermomodels
