// The bracketing secant solver on small functions whose roots are known.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "water/flash/flash.h"

namespace thermomodels {
namespace {

constexpr double kNone = kFlashNotConverged;  // the target is out of reach
using Fn = std::function<double(double)>;

// One run: every point evaluated, the record on exit, and the record as it
// stood when evaluation number `snapshot_at` began.
struct SolveRun {
  std::vector<double> x;
  FlashSolveState state, snapshot;
};
SolveRun Solve(const Fn& f, double start, double t, double lo, double hi, double tol, int at = 0) {
  SolveRun run;
  run.state.current = start;
  auto traced = [&](double x) {
    run.x.push_back(x);
    if (static_cast<int>(run.x.size()) == at) run.snapshot = run.state;
    return f(x);
  };
  FLSOLVE(run.state, traced, t, lo, hi, tol);
  return run;
}

TEST(FlashSolver, ConvergesClampsOrStopsAfterFiftyOneEvaluations) {
  struct Case {
    const char* what;
    Fn f;
    double start, t, lo, hi, tol, root;
  } const cases[] = {
      {"rising line", [](double x) { return 3.0 * x - 2.0; }, 5.0, 7.0, 0.0, 10.0, 1e-8, 3.0},
      {"convex", [](double x) { return std::exp(x); }, 10, 1000, 0, 20, 1e-10, std::log(1000.0)},
      {"falling convex", [](double x) { return 1.0 / x; }, 500.5, 0.01, 1, 1000, 1e-8, 100.0},
      {"falling concave", [](double x) { return -x * x * x; }, 2.75, -8, 0.5, 5, 1e-10, 2.0},
      {"values below one", [](double x) { return 1e-3 * (x - 0.4); }, 0.5, 0, 0, 1, 1e-12, 0.4},
      // Roots at a range end are reached exactly, by clamping.
      {"root at the lower end", [](double x) { return 2.0 * x; }, 1.5, 2.0, 1, 2, 1e-6, 1.0},
      {"root at the upper end", [](double x) { return 5.0 - x; }, 1.5, 3.0, 1, 2, 1e-6, 2.0},
      {"target above the values", [](double x) { return x; }, 1.5, 10.0, 1, 2, 1e-6, kNone},
      {"not numbers", [](double) { return std::nan(""); }, 1.5, 1.0, 1, 2, 1e-6, kNone},
      {"start outside", [](double x) { return x * x; }, -40.0, 49.0, 1, 10, 1e-10, 7.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SolveRun run = Solve(c.f, c.start, c.t, c.lo, c.hi, c.tol);
    const bool exact = c.root == kNone || c.root == c.lo || c.root == c.hi;
    EXPECT_NEAR(run.state.result, c.root, exact ? 0.0 : 10 * c.tol * std::fmax(1.0, c.root));
    EXPECT_TRUE(run.x.size() <= 51 && (c.root != kNone || run.x.size() == 51)) << run.x.size();
    // On exit the current point is the last one evaluated (the result, if
    // the run converged); every point after the start lies in the range.
    EXPECT_EQ(run.state.current, run.x.back());
    EXPECT_TRUE(c.root == kNone || run.x.back() == run.state.result);
    for (size_t i = 1; i < run.x.size(); ++i) EXPECT_TRUE(run.x[i] >= c.lo && run.x[i] <= c.hi);
  }
  // A root between the first two points, on which the secant lands within
  // 1e-15: the bracket of those points is narrower than tol (absolute below
  // magnitude 1, relative from 1 on), so the run stops at the second point.
  for (const double start : {0.4, 99.9}) {
    const double second = start * (1 + 1e-6) + 1e-6, r = std::nextafter(second, 0.0);
    const SolveRun run = Solve([&](double x) { return 1e3 * (x - r); }, start, 0, 0, 1e3, 1e-6);
    EXPECT_EQ(run.x.size(), 2u) << start;
    EXPECT_EQ(run.state.result, second) << start;
  }
}

TEST(FlashSolver, SecondPointStepsTowardTheFartherEndOrRestartsJustInside) {
  // f = x, target out of reach. From a start outside the range the next
  // point lies just inside and the count starts over there: 52 evaluations.
  const double tol = 1e-6;
  struct Case {
    double start, lo, hi, second;
    size_t evaluations;
  } const cases[] = {
      {273.15, 273.15, 623.15, 273.15 * (1 + tol) + tol, 51},  // at the lower end: up
      {300.0, 273.15, 623.15, 300.0 * (1 + tol) + tol, 51},    // nearer the lower end: up
      {623.15, 273.15, 623.15, 623.15 * (1 - tol) - tol, 51},  // at the upper end: down
      {448.15, 273.15, 623.15, 448.15 * (1 - tol) - tol, 51},  // midway: down
      {200.0, 273.15, 623.15, 273.15027415, 52},               // below: lo (1 + tol) + tol
      {150.0, 0.0, 100.0, 99.999899, 52},                      // above: hi (1 - tol) - tol
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "start " << c.start);
    const SolveRun run = Solve([](double x) { return x; }, c.start, 1e6, c.lo, c.hi, tol);
    ASSERT_EQ(run.x.size(), c.evaluations);
    EXPECT_NEAR(run.x[1], c.second, 1e-12 * c.second);
    const double step = run.x[1] > c.start ? tol : -tol;
    EXPECT_TRUE(c.evaluations == 51 || run.x[2] == run.x[1] * (1 + step) + step);
  }
}

TEST(FlashSolver, FirstBracketFollowsTheSlopeAndTheTwoPoints) {
  // f = +-1000 (x - 5) on [0, 10], target 0; the record as the third
  // evaluation begins: bracket state, side counter, lower and upper end.
  const double tol = 1e-6, up2 = 2.0 * (1 + tol) + tol, down8 = 8.0 * (1 - tol) - tol;
  const double near = 5.0 - 3e-6, near2 = near * (1 + tol) + tol;
  const double cases[][6] = {
      {+1, 2.0, 1, -1, up2, 10},     // rising, both below: the larger point is the lower end
      {+1, 8.0, 2, 1, 0, down8},     // rising, both above: the smaller point is the upper end
      {+1, near, 3, 0, near, near2},  // rising, root between
      {-1, 2.0, 1, -1, 2.0, 10},     // falling, f1 above target: the smaller point
      {-1, 8.0, 2, 1, 0, 8.0},       // falling, below: the larger point (wider than needed)
      {-1, near, 1, -1, near, 10},   // falling, root between: still only the lower end
  };
  for (const auto& [sign, start, state, side, lower, upper] : cases) {
    SCOPED_TRACE(::testing::Message() << "sign " << sign << ", start " << start);
    const SolveRun run = Solve([&](double x) { return sign * 1e3 * (x - 5); }, start, 0, 0, 10, tol, 3);
    ASSERT_GE(run.x.size(), 3u);
    EXPECT_EQ(run.snapshot.bracket_state, state);
    EXPECT_EQ(run.snapshot.side_counter, side);
    EXPECT_EQ(run.snapshot.lower_end, lower);
    EXPECT_EQ(run.snapshot.upper_end, upper);
    EXPECT_NEAR(run.state.result, 5.0, 1e-5);
  }
}

TEST(FlashSolver, DampingPullsTowardTheFarEndFromTenPointsOnOneSide) {
  // A concave rising function approached from below: the secant steps stay
  // below the root and replace the lower end again and again; from the
  // tenth replacement the proposal is pulled halfway to the upper range end.
  const double hi = 1e12, t = 20.0, root = std::expm1(t);
  auto f = [](double x) { return std::log1p(x); };
  const std::vector<double> x = Solve(f, 1.0, t, 0.0, hi, 1e-12).x;
  auto secant = [&](int i) {  // through points i - 1 and i (1-based)
    const double x1 = x[i - 2], x2 = x[i - 1], y1 = f(x1), y2 = f(x2);
    return ((t - y1) * x2 - (t - y2) * x1) / (y2 - y1);
  };
  ASSERT_GE(x.size(), 12u);
  for (int i = 1; i <= 11; ++i) ASSERT_LT(x[i - 1], root) << "point " << i;
  for (int i = 3; i <= 10; ++i) EXPECT_DOUBLE_EQ(x[i], secant(i)) << "undamped after point " << i;
  EXPECT_DOUBLE_EQ(x[11], (hi + secant(11)) / 2) << "counter -10 halves toward the far end";
  EXPECT_NEAR(Solve(f, 1.0, t, 0.0, hi, 1e-12).state.result, root, 1e-9 * root);
}

}  // namespace
}  // namespace thermomodels
