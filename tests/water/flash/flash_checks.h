// What the flash tests share: the neighbours of a border literal, the
// branch taken on and beyond each literal, and what a flash outcome must
// show for the ways a state can end.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "water/flash/flash.h"

namespace thermomodels::flash_checks {

inline double Up(double x) { return std::nextafter(x, HUGE_VAL); }
inline double Down(double x) { return std::nextafter(x, -HUGE_VAL); }

// A constant of a flash and the IF97 value it is named after.
struct NamedConstant {
  const char* what;
  double constant, value;
};

// Within 1e-12 relative; region-1 values near 273 K are sums of terms of
// order 1e3 kJ/kg whose last digits depend on the order of summation, so
// never tighter than 3e-10.
template <size_t N>
void ExpectConstants(const NamedConstant (&rows)[N]) {
  for (const NamedConstant& r : rows) {
    EXPECT_NEAR(r.constant, r.value, std::fmax(1e-12 * std::fabs(r.value), 3e-10)) << r.what;
  }
}

// A border literal: the state on it and the state one ulp beyond, with the
// choice (branch or band) each must select.
template <class Choice>
struct Border {
  const char* what;
  double v, e;
  Choice on, beyond;
  double v_beyond, e_beyond;
};

template <class Choice, size_t N, class Pick>
void ExpectBothSides(const Border<Choice> (&rows)[N], Pick pick) {
  for (const Border<Choice>& r : rows) {
    EXPECT_EQ(pick(r.v, r.e), r.on) << r.what << ": on the literal";
    EXPECT_EQ(pick(r.v_beyond, r.e_beyond), r.beyond) << r.what << ": beyond it";
  }
}

// kSolved: a state; kAtOnce: rejected before any solve; kAfterSolve:
// rejected by a test after an edge solve; kCapped: not rejected, but the
// final solve has no root and stops at its cap.
enum class Expected { kSolved, kAtOnce, kAfterSolve, kCapped };
using enum Expected;

inline void ExpectOutcome(const FlashResult& out, Expected expected) {
  switch (expected) {
    case kSolved:
      EXPECT_GT(out.p, 0.0);
      EXPECT_GE(out.t, 273.15);
      return;
    case kCapped:
      EXPECT_EQ(out.ending, FlashEnding::kNotConverged);
      EXPECT_EQ(out.p, kFlashNotConverged);
      return;
    case kAtOnce:
    case kAfterSolve: break;
  }
  EXPECT_EQ(out.ending, FlashEnding::kRejected);
  EXPECT_EQ(out.evaluations > 0, expected == kAfterSolve);
  EXPECT_EQ(out.p, -1.0);
  EXPECT_EQ(out.t, -1.0);
  EXPECT_EQ(out.x, -1.0);
}

// A state the range tests of a branch must solve, reject or cap.
template <class Branch>
struct RangeCase {
  const char* what;
  double v, e;
  Branch branch;
  Expected outcome;
};

// Each state takes its branch and ends as expected; the bar-pressure
// wrapper gives -1.0 for every state that is not solved.
template <class Branch, size_t N, class Run>
void ExpectRanges(const RangeCase<Branch> (&rows)[N], Run run,
                  double (*pressure_bar)(const double&, const double&)) {
  for (const RangeCase<Branch>& r : rows) {
    SCOPED_TRACE(r.what);
    const auto out = run(r.v, r.e);
    EXPECT_EQ(out.branch, r.branch);
    ExpectOutcome(out, r.outcome);
    if (r.outcome != kSolved) {
      EXPECT_EQ(pressure_bar(r.v, r.e), -1.0);
    }
  }
}

}  // namespace thermomodels::flash_checks
