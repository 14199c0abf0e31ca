#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr double kCriticalVolume = 0.003105590062111801;
constexpr double kNotConverged = -1000.0;

// IF97 Eq. 5 with Table 1: the pressure [MPa] of the region-2/3 boundary.
double B23Pressure(double temperature) {
  return 0.34805185628969e3 - 0.11671859879975e1 * temperature +
         0.10192970039326e-2 * temperature * temperature;
}

// Lower pressure of region 3 at T: saturation below Tc, B23 above.
double LowestPressure(double temperature) {
  return temperature <= 647.096 ? IF97PSAT(temperature) : B23Pressure(temperature);
}

struct State {
  double pressure, temperature;
};

// 101 temperatures from 623.15 to 863.15 K, 61 pressures from the lowest
// pressure of region 3 to 100 MPa: 6161 states.
std::vector<State> RegionGrid() {
  std::vector<State> grid;
  for (int i = 0; i <= 100; ++i) {
    const double temperature = 623.15 + 240.0 * i / 100.0;
    const double low = LowestPressure(temperature);
    for (int j = 0; j <= 60; ++j) grid.push_back({low + (100.0 - low) * j / 60.0, temperature});
  }
  return grid;
}

TEST(Region3Volume, CriticalPointWithoutPressureEvaluation) {
  const State at_critical[] = {{22.064, 647.096}, {22.064 + 9e-9, 647.096 - 9e-9}};
  for (const State& s : at_critical) {
    int64_t evaluations = -1;
    EXPECT_EQ(Region3Volume(s.pressure, s.temperature, Region3Side::kChosen, evaluations),
              kCriticalVolume);
    EXPECT_EQ(evaluations, 0);
    EXPECT_EQ(IF97R3VIT(s.pressure, s.temperature), kCriticalVolume);
  }
  // 2e-8 away the volume is solved for.
  int64_t evaluations = 0;
  const double volume = Region3Volume(22.064 + 2e-8, 647.096, Region3Side::kChosen, evaluations);
  EXPECT_GT(evaluations, 0);
  EXPECT_NEAR(IF97R3P(647.096, volume) / (22.064 + 2e-8), 1.0, 1e-8);
}

// IF97 Table 33: p at (650 K, 500 kg/m3), (650 K, 200 kg/m3), (750 K, 500 kg/m3).
TEST(Region3Volume, InvertsIf97Table33) {
  struct Row {
    double temperature, pressure, volume;
  };
  const Row rows[] = {{650, 0.255837018e2, 0.002}, {650, 0.222930643e2, 0.005}, {750, 0.783095639e2, 0.002}};
  for (const Row& row : rows) {
    EXPECT_NEAR(IF97R3VIT(row.pressure, row.temperature), row.volume, 5e-8) << "T = " << row.temperature;
  }
}

TEST(Region3Volume, ConvergesEverywhereOnTheRegionGrid) {
  const std::vector<State> grid = RegionGrid();
  ASSERT_GE(grid.size(), 5000u);
  int failures = 0;
  for (const State& s : grid) {
    const double volume = IF97R3VIT(s.pressure, s.temperature);
    const bool ok = volume >= 0.0013 && volume <= 0.00882 &&
                    std::fabs(IF97R3P(s.temperature, volume) / s.pressure - 1.0) < 1e-8;
    if (!ok && ++failures <= 10) {
      ADD_FAILURE() << "P = " << s.pressure << " MPa, T = " << s.temperature << " K: v = " << volume;
    }
  }
  EXPECT_EQ(failures, 0);
}

// Each zone correlation is fitted to the region's volumes: it starts within
// 0.2 % of the root over its own domain.
TEST(Region3Volume, ZoneCorrelationsStartNearTheRoot) {
  for (const State& s : RegionGrid()) {
    const double volume = IF97R3VIT(s.pressure, s.temperature);
    const int64_t zone = Region3ZoneCode(s.pressure, s.temperature, Region3Side::kChosen);
    EXPECT_NEAR(IF97R3VGS(s.pressure, s.temperature, zone) / volume, 1.0, 2e-3)
        << "zone " << zone << ", P = " << s.pressure << ", T = " << s.temperature;
  }
}

TEST(Region3Volume, SaturationSidesStraddleTheCriticalVolume) {
  double last_liquid = 0.0, last_vapour = 1.0;
  for (double temperature = 623.15; temperature < 647.096; temperature += 0.25) {
    const double pressure = IF97PSAT(temperature);
    const double liquid = IF97R3VITL(pressure, temperature);
    const double vapour = IF97R3VITV(pressure, temperature);
    EXPECT_LT(liquid, kCriticalVolume) << "T = " << temperature;
    EXPECT_GT(vapour, kCriticalVolume) << "T = " << temperature;
    EXPECT_GT(liquid, last_liquid) << "T = " << temperature;  // the dome closes in
    EXPECT_LT(vapour, last_vapour) << "T = " << temperature;
    EXPECT_NEAR(IF97R3P(temperature, liquid) / pressure, 1.0, 1e-8);
    EXPECT_NEAR(IF97R3P(temperature, vapour) / pressure, 1.0, 1e-8);
    // At the saturation pressure the chosen side is the vapour's.
    EXPECT_EQ(IF97R3VIT(pressure, temperature), vapour);
    last_liquid = liquid;
    last_vapour = vapour;
  }
}

TEST(Region3Volume, ZoneCodesBySide) {
  const double line_at_700 = 22.064 + 0.26824840231251584 * (700.0 - 647.096);
  struct Case {
    double pressure, temperature;
    Region3Side side;
    int64_t zone;
  };
  const Case cases[] = {{line_at_700 + 1e-6, 700, Region3Side::kChosen, 5},
                        {line_at_700 - 1e-6, 700, Region3Side::kChosen, 6},
                        {23, 650, Region3Side::kChosen, 2},
                        {10, 950, Region3Side::kChosen, 4},
                        {23, 950, Region3Side::kChosen, 3},
                        {30, 950, Region3Side::kChosen, 6},
                        {50, 950, Region3Side::kChosen, 7},
                        {IF97PSAT(640), 640, Region3Side::kChosen, 4},
                        {IF97PSAT(640) + 1e-9, 640, Region3Side::kChosen, 1},
                        {50, 640, Region3Side::kLiquid, 7},
                        {50, 640, Region3Side::kVapour, 7},
                        {20, 700, Region3Side::kLiquid, 2},
                        {20, 640, Region3Side::kVapour, 4}};
  for (const Case& c : cases) {
    EXPECT_EQ(Region3ZoneCode(c.pressure, c.temperature, c.side), c.zone)
        << "P = " << c.pressure << ", T = " << c.temperature;
  }
}

TEST(Region3Volume, RootOutsideTheRangeGivesTheMarker) {
  // Compressed liquid at 600 K and 100 MPa (v near 0.00126) and steam at
  // 863.15 K and 5 MPa (v near 0.075): both roots lie outside the range.
  const State outside[] = {{100.0, 600.0}, {5.0, 863.15}};
  for (const State& s : outside) {
    for (const Region3Side side : {Region3Side::kChosen, Region3Side::kLiquid, Region3Side::kVapour}) {
      int64_t evaluations = 0;
      EXPECT_EQ(Region3Volume(s.pressure, s.temperature, side, evaluations), kNotConverged)
          << "P = " << s.pressure << ", T = " << s.temperature;
      // At most 2 + 2 x 50 pressures in the start search, 50 in the iteration.
      EXPECT_LE(evaluations, 2 + 2 * 50 + 50);
    }
    EXPECT_EQ(IF97R3VNW(s.pressure, s.temperature, 0.005), kNotConverged);
  }
  // The zone-7 start takes two pressures, so the whole call holds 52.
  int64_t evaluations = 0;
  Region3Volume(100.0, 600.0, Region3Side::kChosen, evaluations);
  EXPECT_EQ(evaluations, 52);
  // Started exactly on a root just below the range, the iteration still
  // refuses it: no volume outside the range is ever accepted.
  const double below = 0.00125;
  EXPECT_EQ(IF97R3VNW(IF97R3P(623.15, below), 623.15, below), kNotConverged);
}

TEST(Region3Volume, StartsOutsideTheRangeAreMovedInside) {
  const double pressure = 0.255837018e2, temperature = 650.0;  // root 0.002 (IF97 Table 33)
  for (const double start : {0.001, 0.0, -1.0, 0.02, std::nan("")}) {
    EXPECT_NEAR(IF97R3VNW(pressure, temperature, start), 0.002, 5e-8) << "V0 = " << start;
  }
}

TEST(Region3Volume, ResultDoesNotDependOnEarlierCalls) {
  const std::vector<State> grid = RegionGrid();
  std::vector<double> forward;
  for (const State& s : grid) forward.push_back(IF97R3VIT(s.pressure, s.temperature));
  for (size_t k = grid.size(); k-- > 0;) {
    // Interleave a failing call and a call on the other side.
    IF97R3VITV(100.0, 600.0);
    IF97R3VITL(grid[k].pressure, grid[k].temperature);
    EXPECT_EQ(IF97R3VIT(grid[k].pressure, grid[k].temperature), forward[k]);
  }
}

}  // namespace
}  // namespace thermomodels
