// The host-facing behaviour of the CPA routine: diagnostic digits and
// overrides, the history file, the status of refused input, the phase code,
// given volumes and the pressure-derivative block.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "cpa/cpa_fixture.h"

namespace {

using namespace cpa_test;
using thermomodels::CPAPROP_SAVED;
using thermomodels::kNoValue;

std::string ReadAll(const std::string& name) {
  std::ifstream in(name);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Each test runs in a fresh directory of its own, so that the files the
// routine writes (cpa.his, fort.N) belong to that test alone.
class CpaExport : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCpaState();
    old_dir_ = std::filesystem::current_path();
    char tmpl[] = "/tmp/cpa_export_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(old_dir_);
    std::filesystem::remove_all(dir_);
    ResetCpaState();
  }
  std::filesystem::path old_dir_, dir_;
  CpaSystem methane_{{kMethaneSrk}};
};

TEST_F(CpaExport, DiagnosticDigitsAndOverrides) {
  struct Case {
    int64_t kdiag, override_a, override_b, override_c;
    std::vector<int64_t> digits;
  };
  const Case cases[] = {
      {1234, 0, 0, 0, {1, 2, 3, 4}},
      {1234, 0, 7, 0, {1, 7, 3, 4}},  // word 5 replaces b only
      {1234, 9, 8, 6, {9, 8, 6, 4}},  // d has no override
  };
  Request r;
  r.kvl = 1;
  for (const auto& c : cases) {
    PPCPA_CPACOM.KDIGA = c.override_a;
    PPCPA_CPACOM.KDIGB = c.override_b;
    PPCPA_CPACOM.KDIGC = c.override_c;
    r.kdiag = c.kdiag;
    methane_.Call(250.0, 5e6, {1}, {1.0}, r);
    EXPECT_EQ(std::vector<int64_t>(CPAPROP_SAVED.digits, CPAPROP_SAVED.digits + 4), c.digits);
  }
}

TEST_F(CpaExport, HistoryFileOpenedAndClosedWithinTheCall) {
  Request r;
  r.kvl = 1;
  r.unit = 60;
  // The file decision sees the level of earlier calls: the first call that
  // raises it writes its lines to unit 60 itself.
  PPCPA_CPACOM.LVLCPA = 1;
  methane_.Call(250.0, 5e6, {1}, {1.0}, r);
  EXPECT_FALSE(std::filesystem::exists("cpa.his"));
  PPCPA_CPACOM.LVLCPA = 0;  // the level stays 1
  methane_.Call(250.0, 5e6, {1}, {1.0}, r);
  methane_.Call(260.0, 5e6, {1}, {1.0}, r);
  EXPECT_FALSE(thermomodels::UnitIsOpen(60));
  const std::string his = ReadAll("cpa.his");
  EXPECT_NE(his.find("CPAPROP: KVL, KPHI, KH, KS, KG, KV "), std::string::npos);
  EXPECT_NE(his.find("CPAPROP: ELAPSED TIME: CURRENT = "), std::string::npos);
  EXPECT_NE(his.find("  CUMULATIVE = "), std::string::npos);
  // Appended: two calls, two closing traces.
  EXPECT_NE(his.find("CPAPROP: ELAPSED"), his.rfind("CPAPROP: ELAPSED"));

  // Unit 40 gets the lines directly and no file is opened.
  std::filesystem::remove("cpa.his");
  r.unit = 40;
  methane_.Call(250.0, 5e6, {1}, {1.0}, r);
  EXPECT_FALSE(std::filesystem::exists("cpa.his"));
  EXPECT_NE(ReadAll("fort.40").find("CPAPROP: KVL"), std::string::npos);
}

TEST_F(CpaExport, RefusedHistoryFileGoesToTheHostUnit) {
  CPAPROP_SAVED.print_level = 1;
  DMS_GLOBAL.IUNIT = 48;
  std::filesystem::create_directory("cpa.his");  // cannot be opened as a file
  Request r;
  r.kvl = 1;
  r.unit = 60;
  const Result res = methane_.Call(250.0, 5e6, {1}, {1.0}, r);
  EXPECT_EQ(res.ierr, 0);
  const std::string out = ReadAll("fort.48");
  EXPECT_NE(out.find("CPAPROP: CANNOT OPEN HISTORY FILE \"cpa.his\" ON UNIT 60"), std::string::npos);
  EXPECT_NE(out.find("CPAPROP: KVL"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists("fort.60"));

  // The host's own file name, blank-padded, on the host's unit.
  std::memset(PPCPA_CPACOM.FILNAM, ' ', sizeof PPCPA_CPACOM.FILNAM);
  std::memcpy(PPCPA_CPACOM.FILNAM, "host.his", 8);
  PPCPA_CPACOM.IOPENF = 1;
  methane_.Call(250.0, 5e6, {1}, {1.0}, r);
  EXPECT_NE(ReadAll("host.his").find("CPAPROP: ELAPSED TIME"), std::string::npos);
  EXPECT_FALSE(thermomodels::UnitIsOpen(48));

  // Output on the host's unit: no file and no processor-time lines.
  PPCPA_CPACOM.IOPENF = 0;
  PPCPA_CPACOM.IUSEGU = 1;
  DMS_GLOBAL.IUNIT = 47;
  methane_.Call(250.0, 5e6, {1}, {1.0}, r);
  const std::string host = ReadAll("fort.47");
  EXPECT_NE(host.find("CPAPROP: KVL"), std::string::npos);
  EXPECT_EQ(host.find("ELAPSED"), std::string::npos);
}

// Modes 1, 2 and 3 are exercised by the Fortran host; here the file
// system's refusal.
TEST_F(CpaExport, OpenFailureIsReported) {
  const int32_t unit = 61;
  const int64_t open = 1;
  int64_t ierr = -1;
  PPCPA_OPCLFILE(&unit, "no/such/dir/x.his", &open, &ierr, 17);
  EXPECT_EQ(ierr, 2);
  EXPECT_FALSE(thermomodels::UnitIsOpen(unit));
}

TEST_F(CpaExport, EchoBlockWrittenOnceThenCleared) {
  CPAPROP_SAVED.echo = 1;
  CpaSystem sys({kMethaneSrk, kMethaneCpa});
  sys.SetKij(1, 2, 0.01, 0.002);
  Request r;
  r.kvl = 1;
  r.unit = 70;  // above 50: the echo opens the history file
  sys.Call(250.0, 5e6, {1, 2}, {0.5, 0.5}, r);
  EXPECT_EQ(CPAPROP_SAVED.echo, 0);
  sys.Call(250.0, 5e6, {1, 2}, {0.5, 0.5}, r);  // level 0, no echo: nothing more
  const std::string his = ReadAll("cpa.his");
  EXPECT_EQ(his.find("PROPERTIES CPA"), his.rfind("PROPERTIES CPA"));
  EXPECT_NE(his.find("  PROP-LIST  CPATC / CPAPC / CPAM / CPAAT / CPAAU / CPAAV"), std::string::npos);
  EXPECT_NE(his.find("  PROP-LIST CPAKIJ"), std::string::npos);
  EXPECT_NE(his.find("  BPVAL  1 2 "), std::string::npos);
  EXPECT_EQ(his.find("  BPVAL  2 1 "), std::string::npos);  // no reverse record given
}

// Refused input: a clear status, outputs marked as without value, and no
// write outside the caller's arrays (the fixture's arrays are exactly as
// large as documented, which the sanitizer build checks).
TEST_F(CpaExport, RefusedInput) {
  const double nan = std::nan("");
  struct Case {
    const char* what;
    double t, p;
    std::vector<int64_t> idx;
    std::vector<double> x;
  };
  const Case cases[] = {
      {"T = 0", 0.0, 1e5, {1, 2}, {0.5, 0.5}},
      {"T NaN", nan, 1e5, {1, 2}, {0.5, 0.5}},
      {"P < 0", 300.0, -1.0, {1, 2}, {0.5, 0.5}},
      {"P infinite", 300.0, INFINITY, {1, 2}, {0.5, 0.5}},
      {"IDX 0", 300.0, 1e5, {0, 2}, {0.5, 0.5}},
      {"IDX above NCC", 300.0, 1e5, {1, 3}, {0.5, 0.5}},
      {"x < 0", 300.0, 1e5, {1, 2}, {-0.1, 1.1}},
      {"x NaN", 300.0, 1e5, {1, 2}, {nan, 0.5}},
      {"all x zero", 300.0, 1e5, {1, 2}, {0.0, 0.0}},
      {"N above NCC", 300.0, 1e5, {1, 2, 1}, {0.3, 0.3, 0.4}},
  };
  CpaSystem sys({kMethaneSrk, kMethaneCpa});
  Request r;
  r.kphi = 3;
  r.kder = 1;
  for (const auto& c : cases) {
    const Result res = sys.Call(c.t, c.p, c.idx, c.x, r);
    EXPECT_EQ(res.ierr, thermomodels::kCpaRefused) << c.what;
    EXPECT_EQ(res.phi[0], kNoValue) << c.what;
    EXPECT_EQ(res.dphidt[0], kNoValue) << c.what;
    EXPECT_EQ(res.v, kNoValue) << c.what;
    EXPECT_EQ(ESRDER.DPDV, kNoValue) << c.what;
  }
  // N < 1 touches no array.
  const Result none = sys.Call(300.0, 1e5, {}, {}, r);
  EXPECT_EQ(none.ierr, thermomodels::kCpaRefused);
}

// The first pass's ln phi copy holds 1088 positions; more with a derivative
// of ln phi is refused before any work array is touched.
TEST_F(CpaExport, TooManyComponentsForTheLnPhiDerivative) {
  const int64_t n = thermomodels::kCpaMaxPhiCopy + 1;
  std::vector<Component> comps(static_cast<size_t>(n), kMethaneSrk);
  CpaSystem sys(comps);
  std::vector<int64_t> idx(static_cast<size_t>(n));
  std::vector<double> x(static_cast<size_t>(n), 1.0 / static_cast<double>(n));
  for (int64_t i = 0; i < n; ++i) idx[static_cast<size_t>(i)] = i + 1;
  Request r;
  r.kvl = 1;
  r.kphi = 2;
  EXPECT_EQ(sys.Call(250.0, 5e6, idx, x, r).ierr, thermomodels::kCpaRefused);
}

// Every phase code other than 2 is the vapour root, with all its steps.
TEST_F(CpaExport, PhaseCodesOtherThanTwoAreVapour) {
  Request r;
  r.kvl = 1;
  const Result vapour = methane_.Call(250.0, 5e6, {1}, {1.0}, r);
  for (int64_t kvl : {0, 3, -1}) {
    r.kvl = kvl;
    const Result other = methane_.Call(250.0, 5e6, {1}, {1.0}, r);
    EXPECT_EQ(other.ierr, 0) << "KVL " << kvl;
    EXPECT_DOUBLE_EQ(other.v, vapour.v) << "KVL " << kvl;
    EXPECT_DOUBLE_EQ(other.phi[0], vapour.phi[0]) << "KVL " << kvl;
  }
}

// A derivative call reports the worse status of its two passes: just below
// the temperature where the liquid root ends, the pass at T + 0.001 K ends
// on a pseudo-root while the pass at T converges.
TEST_F(CpaExport, DerivativeCallReportsTheWorsePass) {
  Request plain;
  plain.kvl = 2;
  auto status_at = [&](double t) { return methane_.Call(t, 2e6, {1}, {1.0}, plain).ierr; };
  double lo = 120.0, hi = 250.0;
  ASSERT_EQ(status_at(lo), 0);
  ASSERT_NE(status_at(hi), 0);
  while (hi - lo > 2e-4) {
    const double mid = 0.5 * (lo + hi);
    (status_at(mid) == 0 ? lo : hi) = mid;
  }
  const double t = hi - 5e-4;  // T converges, T + 0.001 K does not
  ASSERT_EQ(status_at(t), 0);
  ASSERT_NE(status_at(t + 0.001), 0);
  Request derivative = plain;
  derivative.kh = 3;
  const Result res = methane_.Call(t, 2e6, {1}, {1.0}, derivative);
  EXPECT_EQ(res.ierr, status_at(t + 0.001));
}

// With the root memory on, a call at a nearby state starts from the saved
// root and site fractions: the same results in fewer solver iterations.
TEST_F(CpaExport, RootMemoryStartsFromTheSavedRoot) {
  CpaSystem sys({kWater, kMethanol});
  const Request liquid;
  auto second_call = [&](bool memory) {
    ResetCpaState();
    // Pool words of the integer and real records of V, L1, L2; room for 10.
    if (memory) PPUTL_EOSRET = {1, 1, 1, 101, 201, 301, 401, 501, 10, 0};
    EXPECT_EQ(sys.Call(320.0, 1e5, {1, 2}, {0.6, 0.4}, liquid).ierr, 0);
    const Result res = sys.Call(321.0, 1.5e5, {1, 2}, {0.61, 0.39}, liquid);
    return std::pair{res, PPUTL_ESROOT.iw[thermomodels::esr::ITER]};
  };
  const auto [off, iter_off] = second_call(false);
  const auto [on, iter_on] = second_call(true);
  EXPECT_EQ(PPUTL_EOSRET.ISTATE, 2);
  EXPECT_EQ(PPUTL_EOSRET.NSAVED, 2);
  EXPECT_EQ(on.ierr, 0);
  EXPECT_LT(iter_on, iter_off);
  EXPECT_NEAR(on.v, off.v, 1e-9 * off.v);
  EXPECT_NEAR(on.phi[0], off.phi[0], 1e-8);
  EXPECT_NEAR(on.phi[1], off.phi[1], 1e-8);
  EXPECT_NEAR(on.dh, off.dh, 1e-8 * std::fabs(off.dh));
}

// A given volume: properties at that volume, or a status when it has no
// state.
TEST_F(CpaExport, GivenVolume) {
  Request r;
  r.kvl = 1;
  const Result root = methane_.Call(250.0, 5e6, {1}, {1.0}, r);
  r.kvstrt = 1;
  r.v_in = root.v;
  const Result given = methane_.Call(250.0, 5e6, {1}, {1.0}, r);
  EXPECT_EQ(given.ierr, 0);
  EXPECT_NEAR(given.pcalc, 5e6, 5e6 * 1e-9);
  EXPECT_NEAR(given.phi[0], root.phi[0], 1e-9);
  EXPECT_EQ(given.dp2dv2, 0.0);  // a single evaluation
  EXPECT_DOUBLE_EQ(PPUTL_ESROOT.rw[1], given.pcalc);
  EXPECT_DOUBLE_EQ(PPUTL_ESROOT.rw[5], given.dpdv);

  const double b = 0.08664035 * 8314.33 * kMethaneSrk.tc / kMethaneSrk.pc;
  for (double v : {b, 0.5 * b, -1.0, 0.0}) {
    r.v_in = v;
    const Result bad = methane_.Call(250.0, 5e6, {1}, {1.0}, r);
    EXPECT_EQ(bad.ierr, thermomodels::kCpaNoState) << "V = " << v;
    EXPECT_EQ(bad.phi[0], kNoValue) << "V = " << v;
    EXPECT_EQ(bad.dg, kNoValue) << "V = " << v;
    EXPECT_EQ(bad.ds, kNoValue) << "V = " << v;
    EXPECT_EQ(bad.v, v);
  }
  // At 150 K, V = 2 b lies in the loop of the isotherm where the pressure
  // is negative (Z = 2 - 6.99/3 < 0): no logarithm, so no ln phi.
  r.v_in = 2.0 * b;
  r.kvl = 2;
  const Result negative = methane_.Call(150.0, 1e5, {1}, {1.0}, r);
  EXPECT_LT(negative.pcalc, 0.0);
  EXPECT_LT(negative.z, 0.0);
  EXPECT_EQ(negative.ierr, thermomodels::kCpaNoState);
  EXPECT_EQ(negative.phi[0], kNoValue);
  EXPECT_EQ(negative.dg, kNoValue);
  EXPECT_NE(negative.dh, kNoValue);
}

}  // namespace
