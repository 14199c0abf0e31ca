// The iterative region-3 volume: the critical point, IF97 Table 33 inverted, convergence and cost
// over the region, the start correlations, both saturation sides and the range guard.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr double kCriticalVolume = 0.003105590062111801;
constexpr double kNotConverged = -1000.0;

struct State { double pressure, temperature; };

TEST(Region3Volume, CriticalPointAndIf97Table33) {
  // Within 1e-8 of the critical point: 1/322 without evaluating p; 2e-8 away: iterated.
  for (const State& s : {State{22.064, 647.096}, State{22.064 + 9e-9, 647.096 - 9e-9}}) {
    int64_t evaluations = -1;
    EXPECT_EQ(Region3Volume(s.pressure, s.temperature, Region3Side::kChosen, evaluations), kCriticalVolume);
    EXPECT_TRUE(evaluations == 0 && IF97R3VIT(s.pressure, s.temperature) == kCriticalVolume);
  }
  int64_t evaluations = 0;
  const double near = Region3Volume(22.064 + 2e-8, 647.096, Region3Side::kChosen, evaluations);
  EXPECT_TRUE(evaluations > 0 && std::fabs(IF97R3P(647.096, near) / (22.064 + 2e-8) - 1.0) < 1e-8);
  for (const auto& [p, t, v] : {std::array{0.255837018e2, 650.0, 0.002}, {0.222930643e2, 650.0, 0.005},
                                {0.783095639e2, 750.0, 0.002}})  // IF97 Table 33
    EXPECT_NEAR(IF97R3VIT(p, t), v, 5e-8) << p;
}

// 101 temperatures from 623.15 to 863.15 K by 61 pressures from the lowest of region 3
// (saturation, above Tc the B23 line) to 100 MPa: every volume gives the pressure back, whatever
// was called before; each zone's start correlation lies within 0.1 % of the root, and the grid
// costs at most about five pressure evaluations a state.
TEST(Region3Volume, ConvergesCheaplyOnTheRegionGridWhateverWasCalledBefore) {
  std::vector<State> grid;
  for (int i = 0; i <= 100; ++i) {
    const double t = 623.15 + 240.0 * i / 100.0, low = t <= 647.096 ? IF97PSAT(t) : IF97B23P(t);
    for (int j = 0; j <= 60; ++j) grid.push_back({low + (100.0 - low) * j / 60.0, t});
  }
  std::vector<double> forward;
  double worst_start[8] = {};
  int64_t total = 0, failures = 0;
  for (const auto& [p, t] : grid) {
    int64_t evaluations = 0;
    const double v = Region3Volume(p, t, Region3Side::kChosen, evaluations);
    total += evaluations;
    forward.push_back(v);
    if (!(v >= 0.0013 && v <= 0.00882 && std::fabs(IF97R3P(t, v) / p - 1.0) < 1e-8) && ++failures <= 10)
      ADD_FAILURE() << p << " MPa, " << t << " K: v = " << v;
    const int64_t zone = Region3ZoneCode(p, t, Region3Side::kChosen);
    worst_start[zone] = std::max(worst_start[zone], std::fabs(IF97R3VGS(p, t, zone) / v - 1.0));
  }
  EXPECT_EQ(failures, 0);
  EXPECT_LE(total, 30900);  // 30805
  for (int zone = 1; zone <= 7; ++zone) EXPECT_LT(worst_start[zone], 1e-3) << "zone " << zone;
  for (size_t k = grid.size(); k-- > 0;) {
    IF97R3VITV(100.0, 600.0);
    IF97R3VITL(grid[k].pressure, grid[k].temperature);
    EXPECT_EQ(IF97R3VIT(grid[k].pressure, grid[k].temperature), forward[k]);
  }
}

// In every zone, far from and near the critical point, the start volume lies next to the root the
// search ends on: within 2e-6 (1e-8 near the critical point) and closer than the zone's correlation.
TEST(Region3Volume, StartVolumeOfEachZoneLiesNextToTheRoot) {
  constexpr auto kL = Region3Side::kLiquid, kV = Region3Side::kVapour;
  const struct { double p, t; Region3Side side; int64_t zone; double tol; } kRows[] = {
      {22.0, 640.0, kL, 1, 2e-6},         {23.5, 650.0, kL, 2, 2e-6},        {22.5, 650.0, kV, 3, 2e-6},
      {21.0, 645.0, kV, 4, 2e-6},         {30.0, 660.0, kL, 5, 2e-6},        {35.0, 690.0, kL, 5, 2e-6},
      {25.0, 660.0, kV, 6, 2e-6},         {30.0, 690.0, kV, 6, 2e-6},        {60.0, 700.0, kL, 7, 2e-6},
      {48.0, 750.0, kV, 7, 2e-6},         {22.0641, 647.1, kL, 2, 1e-8},     {22.0641, 647.1, kV, 3, 1e-8},
      {22.06399, 647.0959, kL, 1, 1e-8},  {22.06399, 647.0959, kV, 4, 1e-8}, {22.06401, 647.0961, kV, 3, 1e-8},
      {22.0640005, 647.096002, kL, 2, 1e-8}, {22.0640005, 647.096002, kV, 3, 1e-8}};
  for (const auto& r : kRows) {
    int64_t evaluations = 0;
    const double root = Region3Volume(r.p, r.t, r.side, evaluations);
    const double start = IF97R3VST(r.p, r.t, r.zone);
    EXPECT_EQ(Region3ZoneCode(r.p, r.t, r.side), r.zone) << r.p << " MPa, " << r.t << " K";
    EXPECT_NEAR(start / root, 1.0, r.tol) << r.p << " MPa, " << r.t << " K";
    EXPECT_LT(std::fabs(start - root), std::fabs(IF97R3VGS(r.p, r.t, r.zone) - root)) << r.p << " MPa";
  }
}

// Just below the saturation pressure at 640.95 K the isotherm has three roots; from starts on the
// liquid side the search still ends on one of them (the middle or the vapour root).
TEST(Region3Volume, StartsBetweenThreeRootsEndOnARoot) {
  for (const auto& [p, start] : {std::array{20.488, 0.0014}, {20.488, 0.0015}, {20.489, 0.00131}}) {
    const double v = IF97R3VNW(p, 640.95, start);
    EXPECT_TRUE(v > 0.0025 && v <= 0.00882) << p << " MPa from " << start << ": " << v;
    EXPECT_NEAR(IF97R3P(640.95, v) / p, 1.0, 1e-8) << p << " MPa from " << start;
  }
}

// On the saturation line the sides straddle the critical volume; a state exactly on it is vapour.
TEST(Region3Volume, SaturationSidesStraddleTheCriticalVolume) {
  for (double t = 623.15; t < 647.096; t += 0.25) {
    const double p = IF97PSAT(t), liquid = IF97R3VITL(p, t), vapour = IF97R3VITV(p, t);
    EXPECT_TRUE(liquid < kCriticalVolume && vapour > kCriticalVolume) << t;
    EXPECT_NEAR(IF97R3P(t, liquid) / p, 1.0, 1e-8) << t;
    EXPECT_NEAR(IF97R3P(t, vapour) / p, 1.0, 1e-8) << t;
    EXPECT_EQ(IF97R3VIT(p, t), vapour) << t;
  }
}

// Compressed liquid at 600 K and 100 MPa (v near 0.00126) and steam at 863.15 K and 5 MPa (v near
// 0.075) have their roots outside the range: no volume, in at most 2 + 2 x 50 start-search and 50
// iteration pressures (the zone-7 start: 2 + 50).
TEST(Region3Volume, NoVolumeOutsideTheRangeIsReturned) {
  for (const State& s : {State{100.0, 600.0}, State{5.0, 863.15}}) {
    for (const Region3Side side : {Region3Side::kChosen, Region3Side::kLiquid, Region3Side::kVapour}) {
      int64_t evaluations = 0;
      EXPECT_EQ(Region3Volume(s.pressure, s.temperature, side, evaluations), kNotConverged);
      EXPECT_LE(evaluations, 2 + 2 * 50 + 50) << s.pressure;
    }
    EXPECT_EQ(IF97R3VNW(s.pressure, s.temperature, 0.005), kNotConverged);
  }
  int64_t evaluations = 0;
  Region3Volume(100.0, 600.0, Region3Side::kChosen, evaluations);
  EXPECT_EQ(evaluations, 52);
  // A start on a root just below the range is refused; starts outside are moved in (Table 33's 0.002).
  EXPECT_EQ(IF97R3VNW(IF97R3P(623.15, 0.00125), 623.15, 0.00125), kNotConverged);
  for (const double start : {0.001, 0.0, -1.0, 0.02, std::nan("")})
    EXPECT_NEAR(IF97R3VNW(0.255837018e2, 650.0, start), 0.002, 5e-8) << start;
}

}  // namespace
}  // namespace thermomodels
