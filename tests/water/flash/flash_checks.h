// What the flash tests share: the constants, the choice made on and beyond
// each border literal, and how a state of the range tests must end.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "water/flash/flash.h"

namespace thermomodels::flash_checks {

inline double Up(double x) { return std::nextafter(x, HUGE_VAL); }
inline double Down(double x) { return std::nextafter(x, -HUGE_VAL); }

// A constant of a flash and the IF97 value it is named after: within 1e-12
// relative, never tighter than 3e-10 (region-1 values near 273 K are sums of
// terms of order 1e3 kJ/kg whose last digits depend on the summation order).
struct NamedConstant {
  const char* what;
  double constant, value;
};
template <size_t N>
void ExpectConstants(const NamedConstant (&rows)[N]) {
  for (const NamedConstant& r : rows) {
    EXPECT_NEAR(r.constant, r.value, std::fmax(1e-12 * std::fabs(r.value), 3e-10)) << r.what;
  }
}

// A border literal: the state on it and the choice (branch or band) there,
// and the choice one ulp beyond, up or down in v or in e.
enum class Beyond { kUpV, kDownV, kUpE, kDownE };
using enum Beyond;
template <class Choice>
struct Border {
  const char* what;
  double v, e;
  Choice on, beyond;
  Beyond step;
};
template <class Choice, size_t N, class Pick>
void ExpectBothSides(const Border<Choice> (&rows)[N], Pick pick) {
  for (const Border<Choice>& r : rows) {
    double at[2] = {r.v, r.e};
    double& x = at[r.step == kUpV || r.step == kDownV ? 0 : 1];
    x = std::nextafter(x, r.step == kUpV || r.step == kUpE ? HUGE_VAL : -HUGE_VAL);
    EXPECT_EQ(pick(r.v, r.e), r.on) << r.what << ": on the literal";
    EXPECT_EQ(pick(at[0], at[1]), r.beyond) << r.what << ": beyond it";
  }
}

// kSolved: a state; kAtOnce: rejected before any solve; kAfterSolve:
// rejected by a test after an edge solve; kCapped: not rejected, but the
// final solve has no root and stops at its cap.
enum class Expected { kSolved, kAtOnce, kAfterSolve, kCapped };
using enum Expected;

// A state of the range tests: its branch and how it ends. The bar-pressure
// wrapper gives -1.0 for every state that is not solved.
template <class Branch>
struct RangeCase {
  const char* what;
  double v, e;
  Branch branch;
  Expected outcome;
};
template <class Branch, size_t N, class Run>
void ExpectRanges(const RangeCase<Branch> (&rows)[N], Run run,
                  double (*pressure_bar)(const double&, const double&)) {
  for (const RangeCase<Branch>& r : rows) {
    SCOPED_TRACE(r.what);
    const auto out = run(r.v, r.e);
    EXPECT_EQ(out.branch, r.branch);
    EXPECT_EQ(pressure_bar(r.v, r.e) == -1.0, r.outcome != kSolved);
    if (r.outcome == kSolved) {
      EXPECT_GE(out.t, 273.15);
    } else if (r.outcome == kCapped) {
      EXPECT_EQ(out.ending, FlashEnding::kNotConverged);
      EXPECT_EQ(out.p, kFlashNotConverged);
    } else {
      EXPECT_EQ(out.ending, FlashEnding::kRejected);
      EXPECT_EQ(out.evaluations > 0, r.outcome == kAfterSolve);
      EXPECT_TRUE(out.p == -1.0 && out.t == -1.0 && out.x == -1.0);
    }
  }
}

}  // namespace thermomodels::flash_checks
