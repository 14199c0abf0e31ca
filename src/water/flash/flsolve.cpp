// The bracketing secant solver behind every one-dimensional solve of the
// water flashes and of the region-5 backward temperatures.
//
// A run keeps only its record (FlashSolveState, owned by the caller) and
// three locals, so runs nest (an outer solve whose function runs an inner
// solve in a second record) and distinct calls never share anything.
//
// Every comparison is written so that a value that is not a number makes it
// false, which decides where such a value goes.
#include <cmath>

#include "water/flash/flash.h"

namespace thermomodels {

namespace {

// Magnitude below which errors, steps and widths are absolute.
constexpr double kRelativeFrom = 1.0;
// Smallest point difference used in the slope.
constexpr double kSlopeGuard = 1e-100;
// Smallest value difference for a secant; smallest step before a nudge;
// error small enough to stop whatever the step.
constexpr double kTiny = 1e-15;
// Factors that push a point off a step too small to count.
constexpr double kNudgeUp = 1.000000000000001;
constexpr double kNudgeDown = 0.999999999999999;
// Points on one side beyond which the proposal is pulled toward the range
// end on the other side, and the divisor of that pull.
constexpr int64_t kDampingCount = 5;
// Points on one side beyond which the nearer of two inside secants is taken.
constexpr int64_t kTieCount = 3;
// Cap of the iteration counter: the run ends after the evaluation in which
// the counter exceeds it.
constexpr int64_t kMaxIterations = 50;
// Cap of all evaluations of one run: the counted ones plus the one start
// outside the range that restarts the count. A range whose own restart
// point lies outside it (possible only below -1) would otherwise restart
// for ever.
constexpr int64_t kMaxEvaluations = kMaxIterations + 2;

constexpr int64_t kNoBracket = 0, kLowerKnown = 1, kUpperKnown = 2, kBracketNew = 3, kBracketed = 4;

double ErrorOf(double y, double t) {
  return std::fabs(y) < kRelativeFrom ? std::fabs(y - t) : std::fabs(t / y - 1.0);
}

double StepOf(double x, double xn) {
  return std::fabs(x) < kRelativeFrom ? std::fabs(xn - x) : std::fabs(xn / x - 1.0);
}

double WidthOf(const FlashSolveState& st) {
  return std::fabs(st.lower_end) < kRelativeFrom ? std::fabs(st.lower_end - st.upper_end)
                                                 : std::fabs(st.upper_end / st.lower_end - 1.0);
}

double Midpoint(const FlashSolveState& st) { return (st.lower_end + st.upper_end) * 0.5; }

// Secant through (x, y) and (xe, ye) taken at the target t, or the bracket
// midpoint when the two values do not differ enough.
double Secant(const FlashSolveState& st, double x, double y, double xe, double ye, double t) {
  if (std::fabs(y - ye) > kTiny) return ((t - ye) * x - (t - y) * xe) / (y - ye);
  return Midpoint(st);
}

// The first bracket from the first two points (x, y) and (previous, its
// value), with s the slope sign they show.
void FirstBracket(FlashSolveState& st, double x, double y, double t, int s) {
  const bool current_smaller = st.previous > x;
  const double x1 = current_smaller ? x : st.previous;
  const double f1 = current_smaller ? y : st.previous_value;
  const double x2 = current_smaller ? st.previous : x;
  const double f2 = current_smaller ? st.previous_value : y;
  auto set_lower = [&](double xe, double fe) {
    st.lower_end = xe;
    st.lower_value = fe;
  };
  auto set_upper = [&](double xe, double fe) {
    st.upper_end = xe;
    st.upper_value = fe;
  };
  if (s > 0) {
    if (t > f2) {
      set_lower(x2, f2), st.bracket_state = kLowerKnown, st.side_counter = -1;
    } else if (f1 > t) {
      set_upper(x1, f1), st.bracket_state = kUpperKnown, st.side_counter = 1;
    } else {
      set_lower(x1, f1), set_upper(x2, f2), st.bracket_state = kBracketNew, st.side_counter = 0;
    }
  } else {
    // A falling function: the first end found keeps the point that shows
    // it, which may leave the bracket wider than the two points allow.
    if (f1 > t) {
      set_lower(x1, f1), st.bracket_state = kLowerKnown, st.side_counter = -1;
    } else if (t > f2) {
      set_upper(x2, f2), st.bracket_state = kUpperKnown, st.side_counter = 1;
    } else {
      set_lower(x2, f2), set_upper(x1, f1), st.bracket_state = kBracketNew, st.side_counter = 0;
    }
  }
}

// Proposal of a closed bracket from the secants a (against the upper end)
// and b (against the lower end).
double BracketedProposal(const FlashSolveState& st, double a, double b) {
  const double lo = st.lower_end, hi = st.upper_end;
  if (lo > a) {
    if (lo > b) return (a + b) * 0.5;
    if (b > hi) return (lo + hi) * 0.5;
    return (b + lo) * 0.5;
  }
  if (a > hi) {
    if (b > hi) return (a + b) * 0.5;
    if (lo > b) return (lo + hi) * 0.5;
    return (b + hi) * 0.5;
  }
  if (lo > b) return (a + lo) * 0.5;
  if (b > hi) return (a + hi) * 0.5;
  // Both inside: while the points keep landing on one side, take the
  // secant that reaches further toward the other.
  if (st.side_counter > kTieCount) return b < a ? b : a;
  if (st.side_counter < -kTieCount) return b > a ? b : a;
  return (a + b) * 0.5;
}

// The current point (x, y) becomes the bracket end on its side of the root.
void MoveBracketEnd(FlashSolveState& st, double x, double y, double t, int s) {
  const bool below_root = (s > 0 && t > y) || (s < 0 && !(t > y));
  if (below_root) {
    st.lower_end = x;
    st.lower_value = y;
    st.side_counter = st.side_counter < 0 ? st.side_counter - 1 : -1;
    if (st.bracket_state == kUpperKnown) st.bracket_state = kBracketNew;
  } else {
    st.upper_end = x;
    st.upper_value = y;
    st.side_counter = st.side_counter > 0 ? st.side_counter + 1 : 1;
    if (st.bracket_state == kLowerKnown) st.bracket_state = kBracketNew;
  }
}

}  // namespace

void FLSOLVE(FlashSolveState& st, FlashFunction f, const double& t, const double& xmin,
             const double& xmax, const double& tol1) {
  int64_t n = 0;       // iteration counter (restarts once after a start outside the range)
  int slope_sign = 0;  // sign of the slope of the last two points
  bool stop = false;
  for (int64_t evaluations = 1;; ++evaluations) {
    const double x = st.current;
    const double y = f(x);
    ++n;
    const double error = ErrorOf(y, t);
    double xn;
    if (n == 1) {
      st.result = kFlashNotConverged;
      st.previous = x;
      st.bracket_state = kNoBracket;
      st.side_counter = 0;
      if (xmin > x) {
        xn = xmin * (1.0 + tol1) + tol1;
        n = 0;
      } else if (x > xmax) {
        xn = xmax * (1.0 - tol1) - tol1;
        n = 0;
      } else if ((xmax - x) > (x - xmin)) {
        xn = x * (1.0 + tol1) + tol1;
      } else {
        xn = x * (1.0 - tol1) - tol1;
      }
      st.lower_end = xmin;
      st.upper_end = xmax;
    } else {
      if (st.bracket_state == kBracketNew) st.bracket_state = kBracketed;
      double dx = st.previous - x;
      if (std::fabs(dx) < kSlopeGuard) dx = dx >= 0.0 ? kSlopeGuard : -kSlopeGuard;
      const double slope = (st.previous_value - y) / dx;
      if (slope > 0.0) {
        if (slope_sign < 0) st.bracket_state = kNoBracket;
        slope_sign = 1;
      } else {
        if (slope_sign > 0) st.bracket_state = kNoBracket;
        slope_sign = -1;
      }
      if (n == 2) FirstBracket(st, x, y, t, slope_sign);

      if (st.bracket_state != kBracketed) {
        xn = Secant(st, x, y, st.previous, st.previous_value, t);
      } else {
        xn = BracketedProposal(st, Secant(st, x, y, st.upper_end, st.upper_value, t),
                               Secant(st, x, y, st.lower_end, st.lower_value, t));
      }
      if (n >= 3) MoveBracketEnd(st, x, y, t, slope_sign);

      const int64_t k = st.side_counter;
      if (-k > kDampingCount) {
        const int64_t m = -k / kDampingCount;
        xn = (static_cast<double>(m - 1) * xmax + xn) / static_cast<double>(m);
      } else if (k > kDampingCount) {
        const int64_t m = k / kDampingCount;
        xn = (static_cast<double>(m - 1) * xmin + xn) / static_cast<double>(m);
      }
      if (xmin > xn) {
        xn = xmin;
      } else if (xmax < xn) {
        xn = xmax;
      }
    }

    double step = StepOf(x, xn);
    if (kTiny > step) {
      if (st.side_counter > 0) {
        xn *= kNudgeUp;
      } else if (st.side_counter == 0) {
        xn = Midpoint(st);
        step = WidthOf(st) * 0.5;
      } else {
        xn *= kNudgeDown;
      }
    }

    if (n > kMaxIterations) stop = true;
    if (tol1 > error && (tol1 > step || kTiny > error)) {
      st.result = x;
      return;
    }
    if (stop || evaluations >= kMaxEvaluations) return;
    st.previous = x;
    st.previous_value = y;
    st.current = xn;
  }
}

}  // namespace thermomodels
