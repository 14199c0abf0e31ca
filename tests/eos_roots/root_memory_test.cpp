// The root memory in the host's pool, the finite test and the integer search.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "eos_roots/eos_roots.h"

namespace thermomodels {
namespace {

// A host that has laid out records for up to 3 components per phase.
class RootMemory : public testing::Test {
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

TEST_F(RootMemory, RetrievalTolerances) {
  const std::vector<double> x = {0.6, 0.4};
  const std::vector<int64_t> idx = {3, 7};
  Save(1, 300.0, 1e5, x, idx, 20.0, -2e4);
  Save(2, 300.0, 1e5, x, idx, 0.05, -1e9);
  EXPECT_EQ(PPUTL_EOSRET.ISTATE, 2);
  EXPECT_EQ(PPUTL_EOSRET.NSAVED, 2);

  struct Case {
    const char* name;
    int64_t phase;
    double t, p;
    std::vector<double> x;
    std::vector<int64_t> idx;
    double expected_v;  // -1: refused
  };
  const Case cases[] = {
      {"same state", 1, 300.0, 1e5, x, idx, 20.0},
      {"T exactly 10 K away", 1, 310.0, 1e5, x, idx, 20.0},
      {"T more than 10 K away", 1, 310.0000001, 1e5, x, idx, -1.0},
      {"P exactly 1000 Pa away: unadjusted", 1, 300.0, 1e5 + 1000.0, x, idx, 20.0},
      {"vapour P adjusted along the slope", 1, 300.0, 1e5 + 2e4, x, idx, 20.0 + 2e4 / -2e4},
      {"vapour P 2e5 away refused", 1, 300.0, 3e5, x, idx, -1.0},
      {"liquid P 2e5 away adjusted", 2, 300.0, 3e5, x, idx, 0.05 + 2e5 / -1e9},
      {"adjusted volume below 0 falls back", 2, 300.0, 1e5 + 1e8, x, idx, 0.05},
      {"other component", 1, 300.0, 1e5, x, {3, 8}, -1.0},
      {"fraction moved by more than 0.1", 1, 300.0, 1e5, {0.75, 0.25}, idx, -1.0},
      {"fraction moved by exactly 0.1", 1, 300.0, 1e5, {0.5, 0.5}, idx, 20.0},
      {"other count", 1, 300.0, 1e5, {1.0}, {3}, -1.0},
      {"above the mechanical critical temperature", 1, 501.0, 1e5, x, idx, -1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(Retrieve(c.phase, c.t, c.p, c.x, c.idx), c.expected_v, 1e-12);
  }
}

TEST_F(RootMemory, ZeroFractionMustMatchExactly) {
  Save(1, 300.0, 1e5, {1e-12, 1.0 - 1e-12}, {1, 2}, 20.0, -2e4);
  EXPECT_EQ(Retrieve(1, 300.0, 1e5, {0.0, 1.0}, {1, 2}), -1.0);
}

TEST_F(RootMemory, SaveGatesAndSharedCount) {
  // Nothing saved yet: retrievals are refused.
  EXPECT_EQ(Retrieve(1, 300.0, 1e5, {1.0}, {1}), -1.0);
  // A failed search is not saved.
  Save(1, 300.0, 1e5, {1.0}, {1}, 20.0, -2e4, 3);
  EXPECT_EQ(PPUTL_EOSRET.ISTATE, 1);
  // The count of the latest save of any phase decides.
  Save(1, 300.0, 1e5, {0.2, 0.3, 0.5}, {1, 2, 3}, 20.0, -2e4);
  Save(2, 300.0, 1e5, {0.5, 0.5}, {1, 2}, 0.05, -1e9);
  EXPECT_EQ(Retrieve(1, 300.0, 1e5, {0.2, 0.3, 0.5}, {1, 2, 3}), -1.0);
  // More components than the records hold: nothing happens.
  Save(1, 300.0, 1e5, {0.25, 0.25, 0.25, 0.25}, {1, 2, 3, 4}, 20.0, -2e4);
  EXPECT_EQ(PPUTL_EOSRET.NSAVED, 2);
}

TEST_F(RootMemory, LiquidsHaveSeparateRecords) {
  Save(2, 300.0, 1e5, {1.0}, {1}, 0.05, -1e9);
  PPUTL_EOSRET.LIQNO = 2;
  Save(2, 300.0, 1e5, {1.0}, {1}, 0.07, -1e9);
  EXPECT_EQ(Retrieve(2, 300.0, 1e5, {1.0}, {1}), 0.07);
  PPUTL_EOSRET.LIQNO = 1;
  EXPECT_EQ(Retrieve(2, 300.0, 1e5, {1.0}, {1}), 0.05);
  // A liquid number other than 1 or 2 has no record.
  PPUTL_EOSRET.LIQNO = 3;
  EXPECT_EQ(Retrieve(2, 300.0, 1e5, {1.0}, {1}), -1.0);
}

TEST_F(RootMemory, RecordsOutsideThePoolAreNeverTouched) {
  struct Case {
    const char* name;
    int64_t tm_eosret_block::*word;
    int64_t value;
  };
  const Case cases[] = {
      {"vapour integer record 0 switches the memory off", &tm_eosret_block::IPIV, 0},
      {"vapour real record 0 switches the memory off", &tm_eosret_block::RPIV, 0},
      {"negative liquid record", &tm_eosret_block::IPIL1, -5},
      {"liquid record past the pool's end", &tm_eosret_block::RPIL1, TM_PLEX_WORDS - 3},
      {"real record index overflowing", &tm_eosret_block::RPIL1,
       std::numeric_limits<int64_t>::max()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    PPUTL_EOSRET.*c.word = c.value;
    Save(2, 300.0, 1e5, {0.5, 0.5}, {1, 2}, 0.05, -1e9);
    // Only a well-placed record can have been written.
    const bool stored = Retrieve(2, 300.0, 1e5, {0.5, 0.5}, {1, 2}) != -1.0;
    EXPECT_FALSE(stored);
  }
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

TEST(IntegerSearch, FirstMatchInRange) {
  const int64_t list[] = {5, 7, 9, 7, 11};
  EXPECT_EQ(IFINDI(7, list, 1, 5), 2);
  EXPECT_EQ(IFINDI(7, list, 3, 5), 4);
  EXPECT_EQ(IFINDI(9, list, 3, 3), 3);
  EXPECT_EQ(IFINDI(5, list, 2, 5), 0);
  EXPECT_EQ(IFINDI(5, nullptr, 2, 1), 0);
}

}  // namespace
}  // namespace thermomodels
