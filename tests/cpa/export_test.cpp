// The CPA routine as the host sees it: history file and units, request codes, refused input, mole
// fractions, root tolerances and the root memory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "cpa/cpa_scratch.h"

namespace {

using namespace cpa_test;
using namespace thermomodels;

// Each test runs in a fresh directory, which gets the files the routine writes.
class CpaExport : public CpaScratchDirectory {};

// The history file is opened on a unit above 50 and closed within each call; a refused file is
// reported on the host's unit, which then gets the lines; the host's unit may be written directly
// (no processor-time lines then).
TEST_F(CpaExport, HistoryFileAndHostUnits) {
  const Request r{.kvl = 1, .unit = 60};
  CPAPROP_SAVED.print_level = 1;
  Methane(r);
  Methane(r, 260.0);
  EXPECT_FALSE(thermomodels::UnitIsOpen(60));
  EXPECT_GT(Count("cpa.his", "CPAPROP: KVL, KPHI, KH, KS, KG, KV "), 0);
  EXPECT_EQ(Count("cpa.his", "CPAPROP: ELAPSED TIME: CURRENT = "), 2);
  DMS_GLOBAL.IUNIT = 48;
  std::filesystem::remove("cpa.his");
  std::filesystem::create_directory("cpa.his");  // cannot be opened as a file
  EXPECT_EQ(Methane(r).ierr, 0);
  EXPECT_GT(Count("fort.48", "CPAPROP: CANNOT OPEN HISTORY FILE \"cpa.his\" ON UNIT 60"), 0);
  EXPECT_GT(Count("fort.48", "CPAPROP: KVL"), 0);
  PPCPA_CPACOM.IUSEGU = 1;
  DMS_GLOBAL.IUNIT = 47;
  Methane(r);
  EXPECT_GT(Count("fort.47", "CPAPROP: KVL"), 0);
  EXPECT_EQ(Count("fort.47", "ELAPSED"), 0);
}

// A request code writes what it names, also when refused: 0 and codes outside 0-3 nothing, 1 the
// value, 2 the derivative (and, not checked, the value at T; for KV not VMX), 3 both.
TEST_F(CpaExport, RequestCodesWriteOnlyWhatTheyName) {
  CpaSystem sys({kWater, kMethanol});
  const double kept = -7.0;
  for (int64_t shift = 0; shift < 5; ++shift)
    for (double t : {320.0, 0.0}) {
      SCOPED_TRACE(testing::Message() << "first code " << shift << " T " << t);
      Request req{.v_in = kept, .fill = kept};
      int64_t* code[5] = {&req.kphi, &req.kh, &req.ks, &req.kg, &req.kv};
      for (int64_t k = 0; k < 5; ++k) *code[k] = (k + shift) % 5;
      const Result r = sys.Call(t, 1e5, {0.6, 0.4}, req);
      EXPECT_EQ(r.ierr, t > 0.0 ? 0 : kCpaRefused);
      const double* value[5] = {&r.phi[0], &r.dh, &r.ds, &r.dg, &r.v};
      const double* derivative[5] = {&r.dphidt[0], &r.dhdt, &r.dsdt, &r.dgdt, &r.dvdt};
      for (int64_t k = 0; k < 5; ++k) {
        const int64_t c = *code[k];
        if (c != 2 || k == 4) {
          EXPECT_EQ(*value[k] != kept, c == 1 || c == 3) << "output " << k << " code " << c;
        }
        EXPECT_EQ(*derivative[k] != kept, c == 2 || c == 3) << "output " << k << " code " << c;
      }
    }
}

// The echo block and the parameter trace of print level 2 name each given binary record once, the
// reverse record too where it differs; the trace numbers positions I and components IDX(I) apart.
TEST_F(CpaExport, EchoAndParameterTraceListEveryGivenRecord) {
  const struct {
    bool echo;
    std::vector<int64_t> idx;
    std::vector<const char*> lines;
    std::vector<std::pair<const char*, int>> counts;  // record lines in all
  } cases[] = {
      {true,
       {1, 2},
       {"\n  BPVAL  1 2 1.00000000E-02 2.00000000E-03\n",
        "\n  BPVAL  2 1 -3.00000000E-02 0.00000000E+00\n", "CPAVIJ\n  BPVAL  1 2 5.00000000E-02 "},
       {{"BPVAL", 3}}},
      {false,
       {2, 1},
       {"\n1 2 3.64438382E+02 8.49597227E+06 3.40387723E-01 2.00000000E+00 2.95761841E+03 ",
        "\n2 1 3.03171358E+02 1.50459144E+07 ", "\n1 2 2 1 -3.00000000E-02 0.00000000E+00\n",
        "\n2 1 1 2 1.00000000E-02 2.00000000E-03\n",
        "CPAVIJ\n2 1 1 2 5.00000000E-02 0.00000000E+00\n"},
       {{"\n1 2 2 1 ", 1}, {"\n2 1 1 2 ", 2}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.echo ? "echo" : "print level 2");
    ResetCpaState();
    (c.echo ? CPAPROP_SAVED.echo : CPAPROP_SAVED.print_level) = c.echo ? 1 : 2;
    CpaSystem sys({kWater, kMethanol});
    sys.SetKij(1, 2, 0.01, 0.002);
    sys.SetKij(2, 1, -0.03, 0.0);
    sys.SetPair(sys.vij, 1, 2, 0.05, 0.0);
    std::filesystem::remove("fort.41");
    EXPECT_EQ(sys.Call(320.0, 1e5, c.idx, {0.5, 0.5}, {.unit = 41}).ierr, 0);
    for (const char* line : c.lines) EXPECT_EQ(Count("fort.41", line), 1) << line;
    for (auto [mark, n] : c.counts) EXPECT_EQ(Count("fort.41", mark), n) << mark;
  }
}

// Refused input: status 20, outputs marked, no write outside the caller's arrays (exactly as large
// as documented, which the sanitizer build checks).
TEST_F(CpaExport, RefusedInput) {
  struct Case {
    const char* what;
    double t = 300.0, p = 1e5;
    std::vector<int64_t> idx = {1, 2};
    std::vector<double> x = {0.5, 0.5};
    void (*spoil)(CpaSystem&) = nullptr;
    Request r = {.kphi = 3, .kder = 1};
  };
  const Case cases[] = {
      {.what = "T = 0", .t = 0.0},
      {.what = "T NaN", .t = std::nan("")},
      {.what = "P < 0", .p = -1.0},
      {.what = "IDX 0", .idx = {0, 2}},
      {.what = "IDX above NCC", .idx = {1, 3}},
      {.what = "repeated component", .idx = {1, 1}},
      {.what = "N above NCC", .idx = {1, 2, 1}, .x = {0.3, 0.3, 0.4}},
      {.what = "N < 1", .idx = {}, .x = {}},
      {.what = "x < 0", .x = {-0.1, 1.1}},
      {.what = "x NaN", .x = {std::nan(""), 0.5}},
      {.what = "all x zero", .x = {0.0, 0.0}},
      {.what = "negative CPAAV", .spoil = [](CpaSystem& s) { s.av[0] = -0.0692; }},
      {.what = "absent CPAAV < 0", .x = {1.0, 0.0}, .spoil = [](CpaSystem& s) { s.av[1] = -0.01; }},
      {.what = "CPAAV NaN", .spoil = [](CpaSystem& s) { s.av[0] = std::nan(""); }},
      {.what = "CPAAU 1e300", .spoil = [](CpaSystem& s) { s.au[0] = 1e300; }},
      {.what = "negative CPAAU", .spoil = [](CpaSystem& s) { s.au[1] = -2957.0; }},
      {.what = "negative CPAEIJ", .spoil = [](CpaSystem& s) { s.eij[2] = -1000.0; }},
      {.what = "CPAKIJ NaN",
       .spoil = [](CpaSystem& s) { s.SetPair(s.kij, 1, 2, std::nan(""), 0.0); }},
      {.what = "given volume 1e35", .r = {.kphi = 3, .kder = 1, .kvstrt = 1, .v_in = kNoValue}},
      {.what = "given volume infinite", .r = {.kphi = 3, .kder = 1, .kvstrt = 1, .v_in = INFINITY}},
      // Critical constants whose a_c or b underflows or overflows.
      {.what = "CPATC 1e-309, water alpha",
       .spoil = [](CpaSystem& s) { s.tc[0] = 1e-309; },
       .r = {.kphi = 3, .kder = 1, .kvstrt = 1, .ih2o = 1, .v_in = 1000.0}},
      {.what = "CPATC 1e-309", .spoil = [](CpaSystem& s) { s.tc[1] = 1e-309; }},
      {.what = "CPAPC 1e-310", .spoil = [](CpaSystem& s) { s.pc[1] = 1e-310; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CpaSystem sys({kWater, kMethanol});
    if (c.spoil != nullptr) c.spoil(sys);
    const Result res = sys.Call(c.t, c.p, c.idx, c.x, c.r);
    EXPECT_EQ(res.ierr, kCpaRefused);
    if (res.phi.empty()) continue;  // no array to mark
    for (double v : {res.phi[0], res.dphidt[0], res.v, ESRDER.DPDV}) EXPECT_EQ(v, kNoValue);
  }
}

// Mole fractions that do not sum to one are those of the normalised mixture.
TEST_F(CpaExport, MoleFractionsAreNormalised) {
  CpaSystem sys({kWater, kMethanol});
  const Request r{.kphi = 3, .kh = 3, .kv = 3, .kder = 1};
  const Result one = sys.Call(320.0, 1e5, {0.6, 0.4}, r);
  for (double scale : {2.0, 1.0 + 1e-9}) {
    const Result b = sys.Call(320.0, 1e5, {0.6 * scale, 0.4 * scale}, r);
    ASSERT_EQ(b.ierr, 0);
    const std::vector<double> va{one.v, one.dh, one.dhdt, one.phi[0], one.phi[1], one.dphidt[0]},
        vb{b.v, b.dh, b.dhdt, b.phi[0], b.phi[1], b.dphidt[0]};
    for (size_t k = 0; k < va.size(); ++k)
      EXPECT_NEAR(va[k], vb[k], 1e-10 * std::fabs(va[k])) << "scale " << scale << " output " << k;
  }
}

// Unset (0) host tolerances are those of KTOL 0: water vapour at 300 K and 10 MPa has no vapour
// root and ends on a pseudo-root (status 3).
TEST_F(CpaExport, UnsetHostTolerancesAreTheDefaults) {
  CpaSystem water({kWater});
  const Result defaults = water.Call(300.0, 1e7, {1.0}, {.kvl = 1, .ktol = 0});
  ESRSET = {0.0, 0.0};
  ESROPT = {0};
  const Result host = water.Call(300.0, 1e7, {1.0}, {.kvl = 1, .ktol = -1});
  EXPECT_EQ(defaults.ierr + host.ierr, 6);
  EXPECT_DOUBLE_EQ(host.v, defaults.v);
  // Told to stop at the end of the branch, the search ends on a volume it never evaluated: the
  // outputs are evaluated there, as at that volume given.
  ESROPT = {1};
  const Result limit = water.Call(300.0, 1e7, {1.0}, {.kvl = 1, .ktol = -1});
  const Result at = water.Call(300.0, 1e7, {1.0}, {.kvl = 1, .kvstrt = 1, .v_in = limit.v});
  EXPECT_NE(limit.v, defaults.v);
  EXPECT_NEAR(limit.pcalc, at.pcalc, 1e-12 * at.pcalc);
  EXPECT_NEAR(limit.phi[0], at.phi[0], 1e-12);
  ESROPT = {0};
}

// With m = -5 the pressure at V = 2b falls with T: just below where it is 0, the pass at
// T + 0.001 K has no state and every temperature derivative carries the marker.
TEST_F(CpaExport, DerivativesOfAPassWithoutStateAreMarked) {
  methane_.m[0] = -5.0;
  Request r{.kvl = 2, .kvstrt = 1, .v_in = 0.17328070 * kCpaRgas * kMethaneSrk.tc / kMethaneSrk.pc};
  double lo = 150.0, hi = 250.0;
  while (hi - lo > 1e-5) (Methane(r, 0.5 * (lo + hi), 1e5).z < 0.0 ? hi : lo) = 0.5 * (lo + hi);
  ASSERT_EQ(Methane(r, lo - 2e-4, 1e5).ierr, 0);
  r.kphi = r.kh = r.kv = 3;
  r.kder = 1;
  const Result res = Methane(r, lo - 2e-4, 1e5);
  EXPECT_EQ(res.ierr, kCpaNoState);
  for (double d : {res.dphidt[0], res.dhdt, res.dvdt, res.dpdt}) EXPECT_EQ(d, kNoValue);
}

// With the root memory on, each root is saved (V in word J + 2 of the liquid-1 record); one moved
// along its slope to a far higher pressure lies below the co-volume: the search starts from 1.1
// times the co-volume instead and ends on the root found without it.
TEST_F(CpaExport, RootMemoryStartsAboveTheCoVolume) {
  double fresh[2];
  for (bool memory : {false, true}) {
    ResetCpaState();
    if (memory) PPUTL_EOSRET = {1, 1, 1, 101, 201, 301, 401, 501, 10, 0};
    for (double p : {1e9, 1e10, 1e11}) {
      const Result res = Methane({.kvl = 2}, 150.0, p);
      EXPECT_EQ(res.ierr, 0);
      EXPECT_GT(res.v, kMethaneB);
      EXPECT_TRUE(!memory || DMS_PLEX.words[402] == res.v) << DMS_PLEX.words[402];  // saved V
      if (p == 1e9) continue;
      if (!memory) fresh[p == 1e10] = res.v;
      EXPECT_NEAR(res.v, fresh[p == 1e10], 1e-9 * res.v) << "P " << p;
    }
  }
}

}  // namespace
