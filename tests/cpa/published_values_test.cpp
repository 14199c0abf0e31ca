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
}

}  // namespace
