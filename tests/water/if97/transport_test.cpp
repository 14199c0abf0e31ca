// Viscosity and thermal conductivity against their releases' check tables,
// and the gate of the conductivity's critical enhancement.
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
  const Row rows[] = {
      {298.15, 998, 889.735100}, {298.15, 1200, 1437.649467}, {373.15, 1000, 307.883622},
      {433.15, 1, 14.538324},    {433.15, 1000, 217.685358},  {873.15, 1, 32.619287},
      {873.15, 100, 35.802262},  {873.15, 600, 77.430195},    {1173.15, 1, 44.217245},
      {1173.15, 100, 47.640433}, {1173.15, 400, 64.154608}};
  for (const Row& row : rows) {
    const double viscosity = WVISC08(row.temperature, 1.0 / row.density);
    EXPECT_NEAR(viscosity * 1e6, row.viscosity_upas, 0.6e-6 + 0.5e-9 * row.viscosity_upas)
        << "T = " << row.temperature << " K, rho = " << row.density << " kg/m3";
  }
}

// The four outputs of WTCON11.
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
  const Row rows[] = {{1, 620, 20, 0, 481.485195},     {1, 620, 50, 0, 545.038940},
                      {2, 650, 0.3, 0, 52.2311024},    {2, 800, 50, 0, 177.709914},
                      {3, 647.35, 0, 222, 366.879411}, {3, 647.35, 0, 322, 1241.82415}};
  for (const Row& row : rows) {
    const double volume = row.region == 1   ? IF97R1V(row.pressure, row.temperature)
                          : row.region == 2 ? IF97R2V(row.pressure, row.temperature)
                                            : 1.0 / row.density;
    const double pressure = row.region == 3 ? IF97R3P(row.temperature, volume) : row.pressure;
    const Conductivity c = Wtcon11(pressure, row.temperature, volume, row.region);
    EXPECT_NEAR(c.tcon * 1e3, row.conductivity_mw, 1e-8 * row.conductivity_mw)
        << "region " << row.region << ", T = " << row.temperature;
    EXPECT_GT(c.cp, 0.0);
    EXPECT_EQ(c.eta, WVISC08(row.temperature, volume));
  }
}

TEST(ThermalConductivity, EnhancementGatesAndOutputs) {
  // Where the gate lets the enhancement through (region 1: 1.8 T - 751.4 > p;
  // region 2: T < 973.15 K), CP, CV and ETA are the region's own values. The
  // gates are strict; shut, CP, CV and ETA stay -1 and TCON is that of code 5.
  struct Case {
    int64_t region;
    double p, t;
    int enhanced;  // 1 larger than without, 0 evaluated but vanishing, -1 gated off
  };
  const Case cases[] = {{1, 3.0, 500.0, 1},
                        {1, 50.0, 450.0, 0},  // liquid less compressible than the reference state
                        {2, 1.0, 973.1, 0},
                        {1, 3.0, 300.0, -1},
                        {1, 1.8 * 450.0 - 751.4, 450.0, -1},
                        {2, 1.0, 973.15, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "region " << c.region << ", p = " << c.p << ", T = " << c.t);
    const bool r1 = c.region == 1;
    const double v = r1 ? IF97R1V(c.p, c.t) : IF97R2V(c.p, c.t);
    const Conductivity got = Wtcon11(c.p, c.t, v, c.region), plain = Wtcon11(c.p, c.t, v, 5);
    const bool open = c.enhanced >= 0;
    EXPECT_EQ(got.cp, open ? (r1 ? IF97R1CP(c.p, c.t) : IF97R2CP(c.p, c.t)) : -1.0);
    EXPECT_EQ(got.cv, open ? (r1 ? IF97R1CV(c.p, c.t) : IF97R2CV(c.p, c.t)) : -1.0);
    EXPECT_EQ(got.eta, open ? WVISC08(c.t, v) : -1.0);
    if (c.enhanced == 1) {
      EXPECT_GT(got.tcon, plain.tcon);
      EXPECT_LT(got.tcon - plain.tcon, 1e-2 * plain.tcon);
    } else {
      EXPECT_EQ(got.tcon, plain.tcon);
    }
  }
}

TEST(ThermalConductivity, FiniteAtTheCriticalPoint) {
  const double volume = 1.0 / 322.0;
  const Conductivity c = Wtcon11(22.064, 647.096, volume, 3);
  EXPECT_EQ(c.cp, IF97R3CP(647.096, volume));
  // Finite, and larger than at 647.35 K on the same isochore (1.24 W/(m K)).
  EXPECT_TRUE(std::isfinite(c.tcon));
  EXPECT_GT(c.tcon, 1.24);
}

}  // namespace
}  // namespace thermomodels
