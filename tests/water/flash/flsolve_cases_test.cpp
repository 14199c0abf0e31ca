// The bracketing secant solver on small functions whose roots are known.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "water/flash/flash.h"

namespace thermomodels {
namespace {

// One run of the solver that records every point evaluated and, if asked,
// the solve record as it stood when evaluation number `snapshot_at` began.
struct SolveRun {
  FlashSolveState state;
  std::vector<double> points;
  FlashSolveState snapshot;
  int snapshot_at = 0;

  SolveRun(const std::function<double(double)>& f, double start, double t, double lo, double hi,
           double tol, int snapshot_at_ = 0)
      : snapshot_at(snapshot_at_) {
    state.current = start;
    FLSOLVE(
        state,
        [&](double x) {
          points.push_back(x);
          if (static_cast<int>(points.size()) == snapshot_at) snapshot = state;
          return f(x);
        },
        t, lo, hi, tol);
  }
  int evaluations() const { return static_cast<int>(points.size()); }
};

TEST(FlashSolver, ConvergesOnRisingFallingAndCurvedFunctions) {
  struct Case {
    const char* what;
    std::function<double(double)> f;
    double t, lo, hi, tol, root;
  };
  const Case cases[] = {
      {"rising line", [](double x) { return 3.0 * x - 2.0; }, 7.0, 0.0, 10.0, 1e-8, 3.0},
      {"convex", [](double x) { return std::exp(x); }, 1000.0, 0.0, 20.0, 1e-10, std::log(1000.0)},
      {"concave", [](double x) { return std::sqrt(x); }, 500.0, 0.0, 1e6, 1e-8, 250000.0},
      {"falling convex", [](double x) { return 1.0 / x; }, 0.01, 1.0, 1000.0, 1e-8, 100.0},
      {"falling concave", [](double x) { return -x * x * x; }, -8.0, 0.5, 5.0, 1e-10, 2.0},
      {"values below one", [](double x) { return 1e-3 * (x - 0.4); }, 0.0, 0.0, 1.0, 1e-12, 0.4},
  };
  for (const Case& c : cases) {
    const SolveRun run(c.f, (c.lo + c.hi) / 2, c.t, c.lo, c.hi, c.tol);
    EXPECT_NEAR(run.state.result, c.root, 10 * c.tol * std::fmax(1.0, c.root)) << c.what;
    EXPECT_LE(run.evaluations(), 51) << c.what;
    // A converged run ends on the point it evaluated last.
    EXPECT_EQ(run.state.current, run.state.result) << c.what;
    EXPECT_EQ(run.points.back(), run.state.result) << c.what;
  }
}

TEST(FlashSolver, SecondPointOfEachStartCase) {
  // f = x with a target out of reach. From a start outside the range the
  // next point lies just inside and the count starts over there: the third
  // point steps from it, and the run costs 52 evaluations instead of 51.
  struct Case {
    double start, lo, hi, second;
    int evaluations;
  };
  const double tol = 1e-6;
  const Case cases[] = {
      {273.15, 273.15, 623.15, 273.15 * (1 + tol) + tol, 51},  // at the lower end: up
      {300.0, 273.15, 623.15, 300.0 * (1 + tol) + tol, 51},    // nearer the lower end: up
      {623.15, 273.15, 623.15, 623.15 * (1 - tol) - tol, 51},  // at the upper end: down
      {448.15, 273.15, 623.15, 448.15 * (1 - tol) - tol, 51},  // midway: down
      {600.0, 273.15, 623.15, 600.0 * (1 - tol) - tol, 51},    // nearer the upper end: down
      {200.0, 273.15, 623.15, 273.15027415, 52},               // below: 273.15 (1 + tol) + tol
      {150.0, 0.0, 100.0, 99.999899, 52},                      // above: 100 (1 - tol) - tol
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "start " << c.start);
    const SolveRun run([](double x) { return x; }, c.start, 1e6, c.lo, c.hi, tol);
    ASSERT_EQ(run.evaluations(), c.evaluations);
    EXPECT_EQ(run.points[0], c.start);
    EXPECT_NEAR(run.points[1], c.second, 1e-12 * c.second);
    EXPECT_EQ(run.state.result, kFlashNotConverged);
    if (c.evaluations == 52) {
      const double step = run.points[1] > c.start ? tol : -tol;
      EXPECT_EQ(run.points[2], run.points[1] * (1 + step) + step);
    }
  }
  // A start outside that still has a root inside converges there.
  const SolveRun solved([](double x) { return x * x; }, -40.0, 49.0, 1.0, 10.0, 1e-10);
  EXPECT_NEAR(solved.state.result, 7.0, 1e-8);
}

TEST(FlashSolver, UnreachableTargetStopsAfterFiftyOneEvaluations) {
  struct Case {
    const char* what;
    std::function<double(double)> f;
    double start, t;
  };
  const Case cases[] = {
      {"target above the range's values", [](double x) { return x; }, 1.5, 10.0},
      {"target below the range's values", [](double x) { return x; }, 1.5, -10.0},
      {"falling, target out of reach", [](double x) { return -x; }, 1.2, 10.0},
      {"values that are not numbers", [](double) { return std::nan(""); }, 1.5, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SolveRun run(c.f, c.start, c.t, 1.0, 2.0, 1e-6);
    EXPECT_EQ(run.evaluations(), 51);
    EXPECT_EQ(run.state.result, kFlashNotConverged);
    // The record's current point is the last point evaluated, not the
    // proposal that was never evaluated.
    EXPECT_EQ(run.state.current, run.points.back());
  }
}

TEST(FlashSolver, RootAtARangeEndIsReachedByClamping) {
  // Rising with the root at the lower end, falling with it at the upper end.
  const SolveRun at_lo([](double x) { return 2.0 * x; }, 1.5, 2.0, 1.0, 2.0, 1e-6);
  const SolveRun at_hi([](double x) { return 5.0 - x; }, 1.5, 3.0, 1.0, 2.0, 1e-6);
  EXPECT_EQ(at_lo.state.result, 1.0);
  EXPECT_EQ(at_hi.state.result, 2.0);
  for (double x : at_lo.points) EXPECT_GE(x, 1.0);
  for (double x : at_hi.points) EXPECT_LE(x, 2.0);
}

TEST(FlashSolver, ErrorIsAbsoluteBelowOneAndRelativeFromOne) {
  // The first evaluation stops the run only when the error is below 1e-15
  // (its step is about tol). With values just off the target the error
  // decides: absolute below magnitude 1, relative from 1 on.
  struct Case {
    double value, offset;
    bool stops;
  };
  const Case cases[] = {
      {0.75, 8.9e-16, true},  // absolute 8.9e-16; relative would be 1.2e-15
      {-0.75, 8.9e-16, true},  {0.75, 1.2e-15, false},  // absolute 1.2e-15
      {1.5, 1.33e-15, true},  // relative 8.9e-16; absolute would be 1.3e-15
      {-1.5, -1.33e-15, true}, {1.5, 1.8e-15, false},  // relative 1.2e-15
      {1.0, 8.9e-16, true},                            // exactly 1: both measures agree
  };
  for (const Case& c : cases) {
    const double t = c.value + c.offset;
    const SolveRun run([&](double) { return c.value; }, 1.5, t, 1.0, 2.0, 1e-6);
    EXPECT_EQ(run.evaluations() == 1, c.stops) << "value " << c.value << ", target " << t;
  }
}

TEST(FlashSolver, FirstBracketOfEachSlopeCase) {
  // f = +-1000 (x - 5) on [0, 10], target 0; the record is read when the
  // third evaluation begins, after the first bracket was formed.
  struct Case {
    double sign, start;
    int64_t state, side;
    double lower, upper;  // expected ends; NaN: the range end stays
  };
  const double nan = std::nan("");
  const double tol = 1e-6;
  const double up2 = 2.0 * (1 + tol) + tol, down8 = 8.0 * (1 - tol) - tol;
  const double near = 5.0 - 3e-6, near2 = near * (1 + tol) + tol;
  const Case cases[] = {
      {+1, 2.0, 1, -1, up2, nan},     // rising, both below: the larger point is the lower end
      {+1, 8.0, 2, 1, nan, down8},    // rising, both above: the smaller point is the upper end
      {+1, near, 3, 0, near, near2},  // rising, root between
      {-1, 2.0, 1, -1, 2.0, nan},     // falling, f1 above target: the smaller point
      {-1, 8.0, 2, 1, nan, 8.0},      // falling, below: the larger point (wider than needed)
      {-1, near, 1, -1, near, nan},   // falling, root between: still only the lower end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "sign " << c.sign << ", start " << c.start);
    const SolveRun run([&](double x) { return c.sign * 1000.0 * (x - 5.0); }, c.start, 0.0, 0.0,
                       10.0, tol, 3);
    ASSERT_GE(run.evaluations(), 3);
    EXPECT_EQ(run.snapshot.bracket_state, c.state);
    EXPECT_EQ(run.snapshot.side_counter, c.side);
    EXPECT_EQ(run.snapshot.lower_end, std::isnan(c.lower) ? 0.0 : c.lower);
    EXPECT_EQ(run.snapshot.upper_end, std::isnan(c.upper) ? 10.0 : c.upper);
    EXPECT_NEAR(run.state.result, 5.0, 1e-5);
  }
}

TEST(FlashSolver, DampingAfterTenPointsOnOneSide) {
  // A concave rising function approached from below: secant steps stay
  // below the root, so the lower end is replaced again and again. From the
  // tenth replacement the proposal is pulled halfway to the upper range end.
  const double lo = 0.0, hi = 1e12, t = 20.0;
  auto f = [](double x) { return std::log1p(x); };
  const SolveRun run(f, 1.0, t, lo, hi, 1e-12);
  const std::vector<double>& x = run.points;
  // Evaluation i (1-based) of a run whose points all lie below the root has
  // side counter -(i - 1) after it; its proposal is the secant through
  // points i-1 and i.
  auto secant = [&](int i) {
    const double x1 = x[i - 2], x2 = x[i - 1], y1 = f(x1), y2 = f(x2);
    return ((t - y1) * x2 - (t - y2) * x1) / (y2 - y1);
  };
  const double root = std::expm1(t);
  ASSERT_GE(run.evaluations(), 12);
  for (int i = 1; i <= 11; ++i) ASSERT_LT(x[i - 1], root) << "point " << i;
  for (int i = 3; i <= 10; ++i) EXPECT_DOUBLE_EQ(x[i], secant(i)) << "undamped after point " << i;
  EXPECT_DOUBLE_EQ(x[11], (hi + secant(11)) / 2) << "counter -10 halves toward the far end";
  EXPECT_NEAR(run.state.result, root, 1e-9 * root);
}

TEST(FlashSolver, NestedSolvesEachOnTheirOwnRecord) {
  // Outer p with inner T: T solves T + p = 10, the outer matches p T = 21
  // (p = 3, T = 7 on the outer range [0, 5]). The inner start is written once and every inner run
  // starts where the one before stopped.
  FlashSolveState outer, inner;
  outer.current = 2.5;
  inner.current = 50.0;
  std::vector<double> inner_starts, inner_ends;
  FLSOLVE(
      outer,
      [&](double p) {
        inner_starts.push_back(inner.current);
        FLSOLVE(
            inner, [&](double temp) { return temp + p; }, 10.0, 0.0, 100.0, 1e-10);
        inner_ends.push_back(inner.current);
        return p * inner.current;
      },
      21.0, 0.0, 5.0, 1e-8);
  EXPECT_NEAR(outer.result, 3.0, 1e-7);
  EXPECT_NEAR(inner.result, 7.0, 1e-7);
  ASSERT_GE(inner_starts.size(), 3u);
  EXPECT_EQ(inner_starts[0], 50.0);
  for (size_t i = 1; i < inner_starts.size(); ++i) EXPECT_EQ(inner_starts[i], inner_ends[i - 1]);
}

}  // namespace
}  // namespace thermomodels
