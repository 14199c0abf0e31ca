// What a flash outcome must show for the ways a state can end.
#pragma once

#include <gtest/gtest.h>

#include "water/flash/flash.h"

namespace thermomodels::flash_checks {

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
    case kAfterSolve:
      break;
  }
  EXPECT_EQ(out.ending, FlashEnding::kRejected);
  EXPECT_EQ(out.evaluations > 0, expected == kAfterSolve);
  EXPECT_EQ(out.p, -1.0);
  EXPECT_EQ(out.t, -1.0);
  EXPECT_EQ(out.x, -1.0);
}

}  // namespace thermomodels::flash_checks
