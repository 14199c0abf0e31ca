// Parameters at the edge of the number range: critical constants whose co-volume no fluid has are
// refused, and a state whose results are not numbers comes back marked, never with status 0.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

#include "cpa/cpa_fixture.h"

namespace {

using namespace cpa_test;
using namespace thermomodels;

// The CALLS one after the other on one system: every output a finite number or the marker, and
// status IERR.
void Expect(const char* what, const std::vector<Component>& comps, const std::vector<double>& x,
            double t, double p, const std::vector<Request>& calls, int64_t ierr) {
  SCOPED_TRACE(what);
  ResetCpaState();
  CpaSystem sys(comps);
  for (const Request& r : calls) {
    const Result res = sys.Call(t, p, x, r);
    std::vector<double> all = {res.dh,   res.ds,     res.dg,      res.v,    res.dhdt,
                               res.dsdt, res.dgdt,   res.dvdt,    res.z,    res.dpdv,
                               res.dpdt, res.dp2dv2, res.dp2dvdt, res.pcalc};
    all.insert(all.end(), res.phi.begin(), res.phi.end());
    all.insert(all.end(), res.dphidt.begin(), res.dphidt.end());
    for (size_t i = 0; i < all.size(); ++i)
      EXPECT_TRUE(std::isfinite(all[i]) || all[i] == kNoValue) << "output " << i << ": " << all[i];
    EXPECT_EQ(res.ierr, ierr);
  }
  ResetCpaState();
}

TEST(CpaNonFinite, EdgeParametersAreRefusedOrMarked) {
  const Request all = {.kphi = 3, .kh = 3, .ks = 3, .kg = 3, .kv = 3, .kder = 1};
  Request all_vapour = all;
  all_vapour.kvl = 1;
  // b about 3e291 m3/kmol, b^2 overflows in dP/dV: a vapour search, then at its last volume.
  Expect("Tc 0.7 K, Pc 1.9e-289 Pa", {{0.7, 1.9240016600124444e-289, 0.45, 0.0, 0.0, 1e35}}, {1.0},
         150.0, 1000.0,
         {{.kvl = 1, .kphi = 0, .kh = 0, .ks = 2, .kg = 0, .kv = 0},
          {.kvl = 1, .kphi = 0, .kh = 1, .ks = 0, .kg = 0, .kv = 0, .kvstrt = 2}},
         kCpaRefused);
  // b about 7e307 m3/kmol of an absent component: ln phi of every component.
  Expect("Tc 1e-16 K, Pc sub-normal, absent",
         {{1e-16, 9.9998886718268301e-321, 0.0, 0.0, 0.0, 0.0}, kWater, kWater},
         {0.0, 0.0048323769254001812, 0.99516762307459983}, 276.42553336865217, 50802.18, {all},
         kCpaRefused);
  // b about 9e-299 m3/kmol: b^2 underflows to 0 and is divided by.
  Expect("Pc 1.8e308 Pa, Tc 2.2e7 K", {kWater, {22063999.9998894, DBL_MAX, 0.45, 0.0, 0.0, 1e35}},
         {2.9467507908344884e-317, 3.0518043793392844e-05}, 159.75719631888862, 2350.58,
         {{.kvstrt = 1, .v_in = 0.01}}, kCpaRefused);
  // An association volume no fluid has: with the strength's exponent capped the site balances are
  // so stiff that the search converged in one order of the components and failed in the other.
  Component stiff = kWater;
  stiff.av = 1e5;
  Expect("CPAAV 1e5", {kMethaneSrk, stiff, kMethanol}, {1.0, 1.0, 1.0}, 150.0, 1000.0, {all_vapour},
         kCpaRefused);
  stiff.av = 1.0;  // the largest taken
  Expect("CPAAV 1", {stiff}, {1.0}, 300.0, 1e5, {all}, 0);
  // Ordinary critical constants, an alpha slope no fluid has: a overflows and the root search
  // fails (6), which the marked outputs keep.
  Component steep = kMethaneSrk;
  steep.m = 1e155;
  Expect("CPAM 1e155", {steep}, {1.0}, 300.0, 1e5, {all_vapour, all}, 6);
  // The largest temperature, the water alpha function: the enthalpy departure overflows where the
  // root search, not run at the given volume, reports nothing.
  Expect("T largest, water alpha", {kMethanol}, {1.0}, DBL_MAX, 1000.0,
         {{.kvl = 1, .kv = 3, .kder = 1, .kvstrt = 1, .ih2o = 1, .v_in = 1000.0}}, kCpaNoState);
}

}  // namespace
