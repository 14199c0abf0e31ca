// The iterative region-3 volume: the critical point, IF97 Table 33 inverted,
// convergence over the region, both saturation sides and the range guard.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr double kCriticalVolume = 0.003105590062111801;
constexpr double kNotConverged = -1000.0;

// Lower pressure of region 3 at T: saturation below Tc, above it the
// region-2/3 boundary.
double LowestPressure(double t) { return t <= 647.096 ? IF97PSAT(t) : IF97B23P(t); }

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

TEST(Region3Volume, CriticalPointAndIf97Table33InDetail) {
  // Within 1e-8 of the critical point: 1/322 without evaluating p.
  const State at_critical[] = {{22.064, 647.096}, {22.064 + 9e-9, 647.096 - 9e-9}};
  for (const State& s : at_critical) {
    int64_t evaluations = -1;
    EXPECT_EQ(Region3Volume(s.pressure, s.temperature, Region3Side::kChosen, evaluations),
              kCriticalVolume);
    EXPECT_EQ(evaluations, 0);
    EXPECT_EQ(IF97R3VIT(s.pressure, s.temperature), kCriticalVolume);
  }
  int64_t evaluations = 0;
  const double near = Region3Volume(22.064 + 2e-8, 647.096, Region3Side::kChosen, evaluations);
  EXPECT_GT(evaluations, 0);
  EXPECT_NEAR(IF97R3P(647.096, near) / (22.064 + 2e-8), 1.0, 1e-8);
  // IF97 Table 33: p at (650 K, 500 kg/m3), (650 K, 200 kg/m3), (750 K, 500 kg/m3).
  EXPECT_NEAR(IF97R3VIT(0.255837018e2, 650), 0.002, 5e-8);
  EXPECT_NEAR(IF97R3VIT(0.222930643e2, 650), 0.005, 5e-8);
  EXPECT_NEAR(IF97R3VIT(0.783095639e2, 750), 0.002, 5e-8);
}

TEST(Region3Volume, ConvergesOnTheRegionGridWhateverWasCalledBefore) {
  const std::vector<State> grid = RegionGrid();
  ASSERT_GE(grid.size(), 5000u);
  std::vector<double> forward;
  int failures = 0;
  for (const State& s : grid) {
    const double volume = IF97R3VIT(s.pressure, s.temperature);
    forward.push_back(volume);
    const bool ok = volume >= 0.0013 && volume <= 0.00882 &&
                    std::fabs(IF97R3P(s.temperature, volume) / s.pressure - 1.0) < 1e-8;
    if (!ok && ++failures <= 10)
      ADD_FAILURE() << "P = " << s.pressure << " MPa, T = " << s.temperature
                    << " K: v = " << volume;
  }
  EXPECT_EQ(failures, 0);
  // Backwards, after a failing call and a call on the other side: the same.
  for (size_t k = grid.size(); k-- > 0;) {
    IF97R3VITV(100.0, 600.0);
    IF97R3VITL(grid[k].pressure, grid[k].temperature);
    EXPECT_EQ(IF97R3VIT(grid[k].pressure, grid[k].temperature), forward[k]);
  }
}

TEST(Region3Volume, SaturationSidesStraddleTheCriticalVolumeInDetail) {
  for (double temperature = 623.15; temperature < 647.096; temperature += 0.25) {
    SCOPED_TRACE(::testing::Message() << "T = " << temperature);
    const double pressure = IF97PSAT(temperature);
    const double liquid = IF97R3VITL(pressure, temperature);
    const double vapour = IF97R3VITV(pressure, temperature);
    EXPECT_LT(liquid, kCriticalVolume);
    EXPECT_GT(vapour, kCriticalVolume);
    EXPECT_NEAR(IF97R3P(temperature, liquid) / pressure, 1.0, 1e-8);
    EXPECT_NEAR(IF97R3P(temperature, vapour) / pressure, 1.0, 1e-8);
    // At the saturation pressure the chosen side is the vapour's.
    EXPECT_EQ(IF97R3VIT(pressure, temperature), vapour);
  }
}

TEST(Region3Volume, NoVolumeOutsideTheRangeIsReturnedInDetail) {
  // Compressed liquid at 600 K and 100 MPa (v near 0.00126) and steam at
  // 863.15 K and 5 MPa (v near 0.075): both roots lie outside the range.
  const State outside[] = {{100.0, 600.0}, {5.0, 863.15}};
  for (const State& s : outside) {
    SCOPED_TRACE(::testing::Message() << "P = " << s.pressure << ", T = " << s.temperature);
    for (const Region3Side side :
         {Region3Side::kChosen, Region3Side::kLiquid, Region3Side::kVapour}) {
      int64_t evaluations = 0;
      EXPECT_EQ(Region3Volume(s.pressure, s.temperature, side, evaluations), kNotConverged);
      // At most 2 + 2 x 50 pressures in the start search, 50 in the iteration.
      EXPECT_LE(evaluations, 2 + 2 * 50 + 50);
    }
    EXPECT_EQ(IF97R3VNW(s.pressure, s.temperature, 0.005), kNotConverged);
  }
  // The zone-7 start takes two pressures, so the whole call holds 52.
  int64_t evaluations = 0;
  Region3Volume(100.0, 600.0, Region3Side::kChosen, evaluations);
  EXPECT_EQ(evaluations, 52);
  // Started exactly on a root just below the range, the iteration still refuses it.
  const double below = 0.00125;
  EXPECT_EQ(IF97R3VNW(IF97R3P(623.15, below), 623.15, below), kNotConverged);
  // Starts outside the range are moved inside: the root 0.002 of IF97 Table 33.
  for (const double start : {0.001, 0.0, -1.0, 0.02, std::nan("")})
    EXPECT_NEAR(IF97R3VNW(0.255837018e2, 650.0, start), 0.002, 5e-8) << "V0 = " << start;
}

}  // namespace
}  // namespace thermomodels
