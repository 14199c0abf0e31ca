// Published and independently computed values: the SRK limit for methane
// and pure water with the four-site CPA parameters.
#include <gtest/gtest.h>

#include <cmath>

#include "cpa/cpa_fixture.h"

namespace {

using namespace cpa_test;

class PublishedValues : public ::testing::Test {
 protected:
  void SetUp() override { ResetCpaState(); }
};

TEST_F(PublishedValues, SrkMethaneVapourRoot) {
  CpaSystem sys({kMethaneSrk});
  Request r;
  r.kvl = 1;
  const Result res = sys.Call(250.0, 5e6, {1}, {1.0}, r);
  EXPECT_EQ(res.ierr, 0);
  EXPECT_NEAR(res.v, 0.3485072, 1e-7 * 0.3485072);
  EXPECT_NEAR(res.phi[0], -0.1617630, 1e-7);

  // Above the critical temperature there is no liquid root: the liquid
  // search ends on a pseudo-root, and its ln phi carries ln(PCALC/P).
  r.kvl = 2;
  const Result liquid = sys.Call(250.0, 5e6, {1}, {1.0}, r);
  EXPECT_TRUE(liquid.ierr == 3 || liquid.ierr == 4) << "IERR " << liquid.ierr;
  const double rt = thermomodels::kCpaRgas * 250.0;
  EXPECT_NEAR(liquid.phi[0], liquid.dg / rt - std::log(5e6 / 101325.0) + std::log(liquid.pcalc / 5e6),
              1e-10);
}

}  // namespace
