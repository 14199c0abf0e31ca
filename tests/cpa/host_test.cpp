// The host-facing behaviour of the CPA routine: the history file and the
// host's own units, refused input, normalised mole fractions, the host's
// root tolerances, the phase code, the status and markers of derivative
// calls, pressures far below 1 Pa, the root memory and given volumes.
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
using thermomodels::CPAPROP_SAVED;
using thermomodels::ESROPT;
using thermomodels::ESRSET;
using thermomodels::kCpaNoState;
using thermomodels::kCpaRefused;
using thermomodels::kNoValue;

// Each test runs in a fresh directory of its own, so that the files the
// routine writes (cpa.his, fort.N) belong to that test alone.
class CpaHost : public CpaScratchDirectory {};

TEST_F(CpaHost, HistoryFileOpenedAndClosedWithinTheCall) {
  const Request r{.kvl = 1, .unit = 60};
  // The file decision sees the level of earlier calls: the first call that
  // raises it writes to unit 60 itself, and the level stays raised.
  PPCPA_CPACOM.LVLCPA = 1;
  Methane(r);
  EXPECT_FALSE(std::filesystem::exists("cpa.his"));
  PPCPA_CPACOM.LVLCPA = 0;
  Methane(r);
  Methane(r, 260.0);
  EXPECT_FALSE(thermomodels::UnitIsOpen(60));
  EXPECT_GT(Count("cpa.his", "CPAPROP: KVL, KPHI, KH, KS, KG, KV "), 0);
  EXPECT_EQ(Count("cpa.his", "CPAPROP: ELAPSED TIME: CURRENT = "), 2);  // appended
  // Unit 40 gets the lines directly and no file is opened.
  std::filesystem::remove("cpa.his");
  Methane({.kvl = 1, .unit = 40});
  EXPECT_FALSE(std::filesystem::exists("cpa.his"));
  EXPECT_GT(Count("fort.40", "CPAPROP: KVL"), 0);
}

// A refused history file is reported on the host's unit, which then gets
// the lines; the host may also name its own file or unit.
TEST_F(CpaHost, HistoryFileRefusalAndHostOverrides) {
  CPAPROP_SAVED.print_level = 1;
  DMS_GLOBAL.IUNIT = 48;
  std::filesystem::create_directory("cpa.his");  // cannot be opened as a file
  const Request r{.kvl = 1, .unit = 60};
  EXPECT_EQ(Methane(r).ierr, 0);
  EXPECT_GT(Count("fort.48", "CPAPROP: CANNOT OPEN HISTORY FILE \"cpa.his\" ON UNIT 60"), 0);
  EXPECT_GT(Count("fort.48", "CPAPROP: KVL"), 0);
  EXPECT_FALSE(std::filesystem::exists("fort.60"));

  // The host's own file name, blank-padded, on the host's unit.
  std::memset(PPCPA_CPACOM.FILNAM, ' ', sizeof PPCPA_CPACOM.FILNAM);
  std::memcpy(PPCPA_CPACOM.FILNAM, "host.his", 8);
  PPCPA_CPACOM.IOPENF = 1;
  Methane(r);
  EXPECT_GT(Count("host.his", "CPAPROP: ELAPSED TIME"), 0);
  EXPECT_FALSE(thermomodels::UnitIsOpen(48));

  // The host's unit itself: no file and no processor-time lines.
  PPCPA_CPACOM.IOPENF = 0;
  PPCPA_CPACOM.IUSEGU = 1;
  DMS_GLOBAL.IUNIT = 47;
  Methane(r);
  EXPECT_GT(Count("fort.47", "CPAPROP: KVL"), 0);
  EXPECT_EQ(Count("fort.47", "ELAPSED"), 0);
}

// A unit the host has open (through PPCPA_OPCLFILE, or as its global unit
// with a file of its own) is written as it stands: neither reopened on
// "cpa.his" nor closed at the end of the call.
TEST_F(CpaHost, HistoryFileLeavesTheHostsOpenUnitAlone) {
  CPAPROP_SAVED.print_level = 1;
  for (bool global : {false, true}) {
    SCOPED_TRACE(global ? "global unit with a file named" : "unit above 50");
    const int32_t unit = 61;
    const int64_t open = 1, close = 2;
    int64_t ierr = -1;
    PPCPA_OPCLFILE(&unit, "host.his", &open, &ierr, 8);
    ASSERT_EQ(ierr, 0);
    if (global) {
      DMS_GLOBAL.IUNIT = unit;
      std::memset(PPCPA_CPACOM.FILNAM, ' ', sizeof PPCPA_CPACOM.FILNAM);
      std::memcpy(PPCPA_CPACOM.FILNAM, "other.his", 9);
      PPCPA_CPACOM.IOPENF = 1;
    }
    Methane({.kvl = 1, .unit = unit});
    EXPECT_TRUE(thermomodels::UnitIsOpen(unit));
    thermomodels::UnitWrite(unit, "HOST LINE");
    PPCPA_OPCLFILE(&unit, "", &close, &ierr, 0);
    EXPECT_EQ(Count("host.his", "CPAPROP: KVL"), 1);
    EXPECT_EQ(Count("host.his", "HOST LINE"), 1);
    EXPECT_FALSE(std::filesystem::exists("cpa.his"));
    EXPECT_FALSE(std::filesystem::exists("other.his"));
    std::filesystem::remove("host.his");
  }
}

TEST_F(CpaHost, EchoBlockWrittenOnceThenCleared) {
  CPAPROP_SAVED.echo = 1;
  CpaSystem sys({kMethaneSrk, kMethaneCpa});
  sys.SetKij(1, 2, 0.01, 0.002);
  const Request r{.kvl = 1, .unit = 70};  // above 50: the echo opens the history file
  sys.Call(250.0, 5e6, {0.5, 0.5}, r);
  sys.Call(250.0, 5e6, {0.5, 0.5}, r);  // level 0 and no echo: nothing more
  EXPECT_EQ(Count("cpa.his", "PROPERTIES CPA"), 1);
  EXPECT_EQ(Count("cpa.his", "  BPVAL  1 2 "), 1);
  EXPECT_EQ(Count("cpa.his", "  BPVAL  2 1 "), 0);  // no reverse record given
}

// Refused input: a clear status, outputs marked as without value, and no
// write outside the caller's arrays (the fixture's arrays are exactly as
// large as documented, which the sanitizer build checks).
TEST_F(CpaHost, RefusedInput) {
  const double nan = std::nan("");
  const struct {
    const char* what;
    double t, p;
    std::vector<int64_t> idx;
    std::vector<double> x;
  } cases[] = {
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
      {"N < 1", 300.0, 1e5, {}, {}},
  };
  CpaSystem sys({kMethaneSrk, kMethaneCpa});
  auto expect_refused = [](const Result& res) {
    EXPECT_EQ(res.ierr, kCpaRefused);
    if (res.phi.empty()) return;  // no array to mark
    EXPECT_EQ(res.phi[0], kNoValue);
    EXPECT_EQ(res.dphidt[0], kNoValue);
    EXPECT_EQ(res.v, kNoValue);
    EXPECT_EQ(ESRDER.DPDV, kNoValue);
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    expect_refused(sys.Call(c.t, c.p, c.idx, c.x, {.kphi = 3, .kder = 1}));
  }
  // Unusable association or binary parameters of a component in the
  // mixture (present or not), a repeated component, and a given volume
  // that is the no-value marker.
  const struct {
    const char* what;
    void (*spoil)(CpaSystem&);
    double x1;
    int64_t kvstrt;
    double v_in;
    int64_t ih2o = 0;
  } spoiled[] = {
      {"negative CPAAV", [](CpaSystem& s) { s.av[0] = -0.0692; }, 0.5, 0, 0.0},
      {"negative CPAAV of an absent component", [](CpaSystem& s) { s.av[1] = -0.01; }, 1.0, 0, 0.0},
      {"CPAAV NaN", [](CpaSystem& s) { s.av[0] = std::nan(""); }, 0.5, 0, 0.0},
      {"CPAAU 1e300", [](CpaSystem& s) { s.au[0] = 1e300; }, 0.5, 0, 0.0},
      {"negative CPAAU", [](CpaSystem& s) { s.au[1] = -2957.0; }, 0.5, 0, 0.0},
      {"negative CPAEIJ", [](CpaSystem& s) { s.eij[2] = -1000.0; }, 0.5, 0, 0.0},
      {"CPAKIJ NaN", [](CpaSystem& s) { s.SetKij(1, 2, std::nan(""), 0.0); }, 0.5, 0, 0.0},
      {"repeated component", [](CpaSystem&) {}, -1.0, 0, 0.0},
      {"given volume 1e35", [](CpaSystem&) {}, 0.5, 1, kNoValue},
      {"given volume infinite", [](CpaSystem&) {}, 0.5, 1, INFINITY},
      // Critical constants whose a_c or b underflows or overflows.
      {"CPATC 1e-309, water alpha", [](CpaSystem& s) { s.tc[0] = 1e-309; }, 0.5, 1, 1000.0, 1},
      {"CPATC 1e-309", [](CpaSystem& s) { s.tc[1] = 1e-309; }, 0.5, 0, 0.0},
      {"CPAPC 1e-310", [](CpaSystem& s) { s.pc[1] = 1e-310; }, 0.5, 0, 0.0},
  };
  for (const auto& c : spoiled) {
    SCOPED_TRACE(c.what);
    CpaSystem wm({kWater, kMethanol});
    c.spoil(wm);
    const std::vector<int64_t> idx =
        c.x1 < 0.0 ? std::vector<int64_t>{1, 1} : std::vector<int64_t>{1, 2};
    const double x1 = c.x1 < 0.0 ? 0.5 : c.x1;
    expect_refused(
        wm.Call(300.0, 1e5, idx, {x1, 1.0 - x1},
                {.kphi = 3, .kder = 1, .kvstrt = c.kvstrt, .ih2o = c.ih2o, .v_in = c.v_in}));
  }
  // The first pass's ln phi copy has room for 1088 positions: more with a
  // derivative of ln phi is refused before any work array is touched.
  const size_t n = thermomodels::kCpaMaxPhiCopy + 1;
  CpaSystem many(std::vector<Component>(n, kMethaneSrk));
  const std::vector<double> x(n, 1.0 / static_cast<double>(n));
  EXPECT_EQ(many.Call(250.0, 5e6, x, {.kvl = 1, .kphi = 2}).ierr, kCpaRefused);
}

// Mole fractions that do not sum to one are those of the normalised
// mixture: every output equals that of the scaled composition.
TEST_F(CpaHost, MoleFractionsAreNormalised) {
  CpaSystem sys({kWater, kMethanol});
  const Request r{.kphi = 3, .kh = 3, .kv = 3, .kder = 1};
  for (double scale : {2.0, 0.5, 1.0 + 1e-9}) {
    SCOPED_TRACE(testing::Message() << "scale " << scale);
    const Result one = sys.Call(320.0, 1e5, {0.6, 0.4}, r);
    const Result scaled = sys.Call(320.0, 1e5, {0.6 * scale, 0.4 * scale}, r);
    ASSERT_EQ(scaled.ierr, 0);
    for (auto [a, b] : {std::pair{one.v, scaled.v},
                        {one.dh, scaled.dh},
                        {one.dhdt, scaled.dhdt},
                        {one.phi[0], scaled.phi[0]},
                        {one.phi[1], scaled.phi[1]},
                        {one.dphidt[0], scaled.dphidt[0]},
                        {one.dpdt, scaled.dpdt}})
      EXPECT_NEAR(a, b, 1e-10 * std::fabs(a));
  }
  // Pure methane given as x = 2 is pure methane.
  EXPECT_NEAR(Methane().dg, methane_.Call(250.0, 5e6, {2.0}, {.kvl = 1}).dg, 1e-9);
}

// Tolerances from the host's blocks that are unset (0) are those of KTOL 0:
// water vapour at 300 K and 10 MPa has no vapour root and must end on a
// pseudo-root, not as a failure.
TEST_F(CpaHost, UnsetHostTolerancesAreTheDefaults) {
  CpaSystem water({kWater});
  const Result defaults = water.Call(300.0, 1e7, {1.0}, {.kvl = 1, .ktol = 0});
  ASSERT_EQ(defaults.ierr, 3);
  ESRSET = {0.0, 0.0};
  ESROPT = {0};
  const Result host = water.Call(300.0, 1e7, {1.0}, {.kvl = 1, .ktol = -1});
  EXPECT_EQ(host.ierr, 3);
  EXPECT_DOUBLE_EQ(host.v, defaults.v);
}

// Every phase code other than 2 is the vapour root, with all its steps.
TEST_F(CpaHost, PhaseCodesOtherThanTwoAreVapour) {
  const Result vapour = Methane();
  for (int64_t kvl : {0, 3, -1}) {
    SCOPED_TRACE(testing::Message() << "KVL " << kvl);
    const Result other = Methane({.kvl = kvl});
    EXPECT_EQ(other.ierr, 0);
    EXPECT_DOUBLE_EQ(other.v, vapour.v);
    EXPECT_DOUBLE_EQ(other.phi[0], vapour.phi[0]);
  }
}

// A derivative call reports the worse status of its two passes: just below
// the temperature where the liquid root ends, the pass at T + 0.001 K ends
// on a pseudo-root while the pass at T converges.
TEST_F(CpaHost, DerivativeCallReportsTheWorsePass) {
  auto status_at = [&](double t) { return Methane({.kvl = 2}, t, 2e6).ierr; };
  double lo = 120.0, hi = 250.0;
  ASSERT_EQ(status_at(lo), 0);
  ASSERT_NE(status_at(hi), 0);
  while (hi - lo > 2e-4) {
    const double mid = 0.5 * (lo + hi);
    (status_at(mid) == 0 ? lo : hi) = mid;
  }
  const double t = hi - 5e-4;
  ASSERT_EQ(status_at(t), 0);
  ASSERT_NE(status_at(t + 0.001), 0);
  EXPECT_EQ(Methane({.kvl = 2, .kh = 3}, t, 2e6).ierr, status_at(t + 0.001));
}

// A call with temperature derivatives whose run at T + 0.001 K or at T has
// no state returns status 7 and no derivative: each difference with that
// run is the marker, while the values at T are those of the run at T. At
// the given volume 2 b, Z of SRK methane passes through 0 at a temperature
// T0: rising with T for the published slope m, falling for m = -5. Just
// below T0 the run at T has no state in the first case, the run at
// T + 0.001 K in the second.
TEST_F(CpaHost, DerivativesOfARunWithoutStateAreMarked) {
  const double b = 0.08664035 * 8314.33 * kMethaneSrk.tc / kMethaneSrk.pc;
  const Request given{.kvl = 2, .kvstrt = 1, .v_in = 2 * b};
  Request all = given;
  all.kphi = all.kh = all.ks = all.kg = all.kv = 3;
  all.kder = 1;
  for (double m : {kMethaneSrk.m, -5.0}) {
    SCOPED_TRACE(testing::Message() << "m " << m);
    methane_.m[0] = m;
    auto z_at = [&](double t) { return Methane(given, t, 1e5).z; };
    double lo = 150.0, hi = 250.0;
    const bool rising = z_at(lo) < 0.0;
    ASSERT_NE(z_at(lo) < 0.0, z_at(hi) < 0.0);
    while (hi - lo > 1e-5) ((z_at(0.5 * (lo + hi)) < 0.0) == rising ? lo : hi) = 0.5 * (lo + hi);
    const double t = lo - 2e-4;
    const Result at_t = Methane(given, t, 1e5), at_t_plus = Methane(given, t + 0.001, 1e5);
    ASSERT_EQ(at_t.ierr, rising ? kCpaNoState : 0);
    ASSERT_EQ(at_t_plus.ierr, rising ? 0 : kCpaNoState);

    const Result res = Methane(all, t, 1e5);
    EXPECT_EQ(res.ierr, kCpaNoState);
    for (double d : {res.dphidt[0], res.dhdt, res.dsdt, res.dgdt, res.dvdt, res.dpdt, res.dp2dvdt})
      EXPECT_EQ(d, kNoValue);
    for (auto [value, alone] : {std::pair{res.phi[0], at_t.phi[0]},
                                {res.dg, at_t.dg},
                                {res.ds, at_t.ds},
                                {res.dh, at_t.dh},
                                {res.z, at_t.z}})
      EXPECT_EQ(value, alone);
  }
}

// Pressures far below 1 Pa, down to the smallest subnormal number: a liquid
// has a state there and every output is finite, the same in both orders of
// the components, with DGMX = RT (sum x ln phi + ln(P/101325)); a vapour's
// volume RT/P is beyond the number range, so a pressure below the smallest
// normal number is refused there.
TEST_F(CpaHost, PressuresFarBelowOnePascal) {
  CpaSystem sys({kWater, kMethaneCpa});
  const Request r{.kphi = 1, .kh = 1, .ks = 1, .kg = 1, .kv = 1};
  for (double p : {5e-324, 5.6e-309, 1e-300, 1e-3}) {
    SCOPED_TRACE(testing::Message() << "P " << p);
    const Result fwd = sys.Call(300.0, p, {1, 2}, {0.5, 0.5}, r);
    const Result rev = sys.Call(300.0, p, {2, 1}, {0.5, 0.5}, r);
    ASSERT_EQ(fwd.ierr, 0);
    ASSERT_EQ(rev.ierr, 0);
    const double rt = thermomodels::kCpaRgas * 300.0;
    for (const Result* res : {&fwd, &rev}) {
      for (double v : {res->phi[0], res->phi[1], res->dh, res->ds, res->dg, res->v})
        EXPECT_TRUE(std::isfinite(v));
      EXPECT_NEAR(res->dg / rt,
                  0.5 * (res->phi[0] + res->phi[1]) + std::log(p) - std::log(101325.0), 1e-9);
    }
    EXPECT_NEAR(fwd.phi[0], rev.phi[1], 1e-9 * std::fabs(fwd.phi[0]));
    EXPECT_NEAR(fwd.ds, rev.ds, 1e-9 * std::fabs(fwd.ds));
    EXPECT_NEAR(fwd.dg, rev.dg, 1e-9 * std::fabs(fwd.dg));
  }
  for (double p : {1e-310, 5.6e-309}) {
    SCOPED_TRACE(testing::Message() << "vapour at P " << p);
    ResetCpaState();
    const Result vapour = sys.Call(300.0, p, {0.5, 0.5}, {.kvl = 1, .kv = 1});
    EXPECT_EQ(vapour.ierr, kCpaRefused);
    EXPECT_EQ(vapour.phi[0], kNoValue);
    EXPECT_EQ(vapour.v, kNoValue);
  }
  // At the root solvers' last volume (a methane vapour at 1.0 m3/kmol) the
  // state exists; the departures from the ideal gas at that P are finite.
  CpaSystem methane({kMethaneCpa});
  ASSERT_EQ(methane.Call(300.0, 2.4e6, {1.0}, {.kvl = 1}).ierr, 0);
  const Result last = methane.Call(300.0, 5e-324, {1.0}, {.kvl = 1, .kvstrt = 2});
  EXPECT_EQ(last.ierr, 0);
  for (double v : {last.phi[0], last.ds, last.dg}) EXPECT_TRUE(std::isfinite(v));
}

// With the root memory on, a call at a nearby state starts from the saved
// root and site fractions: the same results in fewer solver iterations.
TEST_F(CpaHost, RootMemoryStartsFromTheSavedRoot) {
  CpaSystem sys({kWater, kMethanol});
  auto second_call = [&](bool memory) {
    ResetCpaState();
    // Pool words of the integer and real records of V, L1, L2; room for 10.
    if (memory) PPUTL_EOSRET = {1, 1, 1, 101, 201, 301, 401, 501, 10, 0};
    EXPECT_EQ(sys.Call(320.0, 1e5, {0.6, 0.4}, {}).ierr, 0);
    const Result res = sys.Call(321.0, 1.5e5, {0.61, 0.39}, {});
    return std::pair{res, PPUTL_ESROOT.iw[thermomodels::esr::ITER]};
  };
  const auto [off, iter_off] = second_call(false);
  const auto [on, iter_on] = second_call(true);
  EXPECT_EQ(on.ierr, 0);
  EXPECT_LT(iter_on, iter_off);
  EXPECT_NEAR(on.v, off.v, 1e-9 * off.v);
  for (size_t i : {0, 1}) EXPECT_NEAR(on.phi[i], off.phi[i], 1e-8);
  EXPECT_NEAR(on.dh, off.dh, 1e-8 * std::fabs(off.dh));
}

// A given volume: properties at that volume, or a status and no values when
// it has no state (at or below the co-volume, or Z <= 0).
TEST_F(CpaHost, GivenVolume) {
  const Result root = Methane();
  const Result given = Methane({.kvl = 1, .kvstrt = 1, .v_in = root.v});
  EXPECT_EQ(given.ierr, 0);
  EXPECT_NEAR(given.pcalc, 5e6, 5e6 * 1e-9);
  EXPECT_NEAR(given.phi[0], root.phi[0], 1e-9);

  // At 150 K, V = 2 b lies in the loop of the isotherm where the pressure
  // is negative (Z = 2 - 6.99/3 < 0): no logarithm, but an enthalpy.
  const double b = 0.08664035 * 8314.33 * kMethaneSrk.tc / kMethaneSrk.pc;
  for (auto [v, t] :
       {std::pair{b, 250.0}, {0.5 * b, 250.0}, {-1.0, 250.0}, {0.0, 250.0}, {2 * b, 150.0}}) {
    SCOPED_TRACE(testing::Message() << "V = " << v << " T = " << t);
    const Result bad = Methane({.kvl = 2, .kvstrt = 1, .v_in = v}, t, 1e5);
    EXPECT_EQ(bad.ierr, kCpaNoState);
    EXPECT_EQ(bad.phi[0], kNoValue);
    EXPECT_EQ(bad.dg, kNoValue);
    EXPECT_EQ(bad.ds, kNoValue);
    EXPECT_EQ(bad.v, v);
    if (v > b) {
      EXPECT_LT(bad.z, 0.0);
      EXPECT_NE(bad.dh, kNoValue);
    }
  }
}

}  // namespace
