// Published values of the SRK limit for methane: the vapour root, and the
// liquid search above the critical temperature ending on a pseudo-root.
#include <gtest/gtest.h>

#include <cmath>

#include "cpa/cpa_fixture.h"

namespace {

using namespace cpa_test;

class SrkMethane : public ::testing::Test {
 protected:
  void SetUp() override { ResetCpaState(); }
  static Result Pure(const Component& comp, double t, double p, int64_t kvl) {
    return CpaSystem({comp}).Call(t, p, {1.0}, {.kvl = kvl});
  }
};

TEST_F(SrkMethane, VapourRootAndLiquidPseudoRoot) {
  const Result vapour = Pure(kMethaneSrk, 250.0, 5e6, 1);
  EXPECT_EQ(vapour.ierr, 0);
  EXPECT_NEAR(vapour.v, 0.3485072, 1e-7 * 0.3485072);
  EXPECT_NEAR(vapour.phi[0], -0.1617630, 1e-7);
  // Above the critical temperature the liquid search ends on a pseudo-root;
  // every output belongs to its volume, and ln phi carries ln(PCALC/P).
  const Result liquid = Pure(kMethaneSrk, 250.0, 5e6, 2);
  EXPECT_TRUE(liquid.ierr == 3 || liquid.ierr == 4) << "IERR " << liquid.ierr;
  const double rt = thermomodels::kCpaRgas * 250.0;
  EXPECT_NEAR(liquid.z, liquid.pcalc * liquid.v / rt, 1e-9);
  EXPECT_NEAR(liquid.phi[0],
              liquid.dg / rt - std::log(5e6 / 101325.0) + std::log(liquid.pcalc / 5e6), 1e-10);
}

}  // namespace
