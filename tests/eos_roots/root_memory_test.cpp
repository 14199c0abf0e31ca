// The root memory's trace of what it saves and retrieves; the finite test.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

#include "eos_roots/eos_roots.h"

namespace thermomodels {
namespace {

// A host that has laid out records for up to 3 components per phase.
class RootMemoryTrace : public testing::Test {
 protected:
  static constexpr int64_t kNmax = 3;
  void SetUp() override {
    PPUTL_EOSRET = tm_eosret_block{};
    PPUTL_EOSRET.ISTATE = 1;
    PPUTL_EOSRET.LIQNO = 1;
    PPUTL_EOSRET.IPIV = 101;
    PPUTL_EOSRET.IPIL1 = 111;
    PPUTL_EOSRET.IPIL2 = 121;
    PPUTL_EOSRET.RPIV = 201;
    PPUTL_EOSRET.RPIL1 = 301;
    PPUTL_EOSRET.RPIL2 = 401;
    PPUTL_EOSRET.NMAX = kNmax;
    DIAGCOM.words[67] = 0;
    for (double& w : DMS_PLEX.words) w = 0.0;
  }

  void Save(int64_t phase, double t, double p, std::vector<double> x, std::vector<int64_t> idx,
            double v, double dpdv, int64_t istat = 0) {
    const int64_t n = static_cast<int64_t>(x.size());
    std::vector<double> xa(4 * n);
    for (size_t k = 0; k < xa.size(); ++k) xa[k] = 0.1 * (k + 1);
    double vv = v;
    EOSRET(2, phase, t, p, x.data(), n, idx.data(), vv, dpdv, xa.data(), tcmech_, istat);
  }

  // The retrieved volume, or -1 when the memory refused.
  double Retrieve(int64_t phase, double t, double p, std::vector<double> x,
                  std::vector<int64_t> idx) {
    const int64_t n = static_cast<int64_t>(x.size());
    std::vector<double> xa(4 * n, -5.0);
    double v = -1.0;
    EOSRET(1, phase, t, p, x.data(), n, idx.data(), v, 0.0, xa.data(), tcmech_, 0);
    if (v != -1.0) {
      for (size_t k = 0; k < xa.size(); ++k) EXPECT_EQ(xa[k], 0.1 * (k + 1));
    } else {
      for (double w : xa) EXPECT_EQ(w, -5.0);
    }
    return v;
  }

  double tcmech_ = 500.0;
};

TEST_F(RootMemoryTrace, TraceListsSiteFractions) {
  DIAGCOM.words[67] = 1;
  const int32_t unit = 78;
  const char* file = "root_memory_trace.txt";
  std::remove(file);
  DMS_GLOBAL.IUNIT = unit;
  ASSERT_TRUE(UnitOpen(unit, file));
  Save(1, 300.0, 1e5, {1.0}, {1}, 20.0, -2e4);
  Retrieve(1, 300.0, 3e5, {1.0}, {1});
  UnitClose(unit);
  std::ifstream in(file);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const char* expected :
       {"EOSRET: SAVING V", "EOSRET: V = ", "EOSRET: NO, I, ISITE, XA", "EOSRET: RETRIEVING V",
        "EOSRET: RETRIEVAL ABORTED DUE TO P. SAVED = "}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
  }
  std::remove(file);
  DIAGCOM.words[67] = 0;
  DMS_GLOBAL.IUNIT = 0;
}

TEST(FiniteTest, ClassifiesEveryKindOfDouble) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values_false[] = {0.0,
                                 -0.0,
                                 1e35,
                                 std::numeric_limits<double>::max(),
                                 std::numeric_limits<double>::denorm_min(),
                                 -1.0};
  for (double v : values_false) EXPECT_EQ(ISNINF(v), kFalse) << v;
  for (double v : {inf, -inf, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(ISNINF(v), kTrue) << v;
    EXPECT_TRUE(IsTrue(ISNINF(v)));
  }
}

}  // namespace
}  // namespace thermomodels
