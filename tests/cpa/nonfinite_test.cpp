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

// Every output, each ln phi and its derivative included, is a finite number or the marker.
void ExpectNumbersOrMarker(const Result& r) {
  std::vector<double> all = {r.dh,   r.ds, r.dg,   r.v,       r.dhdt, r.dsdt,   r.dgdt,
                             r.dvdt, r.z,  r.dpdv, r.dp2dvdt, r.dpdt, r.dp2dv2, r.pcalc};
  all.insert(all.end(), r.phi.begin(), r.phi.end());
  all.insert(all.end(), r.dphidt.begin(), r.dphidt.end());
  for (size_t i = 0; i < all.size(); ++i) {
    EXPECT_TRUE(std::isfinite(all[i]) || all[i] == kNoValue) << "output " << i << " = " << all[i];
  }
}

constexpr Request kAll = {.kphi = 3, .kh = 3, .ks = 3, .kg = 3, .kv = 3, .kder = 1, .ktol = -1};

struct Case {
  const char* what;
  std::vector<Component> comps;
  std::vector<double> x;
  double t, p;
  std::vector<Request> calls;  // made one after the other on the same arrays
  bool refused;                // else: a state that is no number, not status 0
};

TEST(CpaNonFinite, EdgeParametersAreRefusedOrMarked) {
  const Component tiny_pc{0.7, 1.9240016600124444e-289, 0.0, 0.0, 1.1052508345509039e-4, 0.0};
  const Component subnormal_pc{1e-16, 9.9998886718268301e-321, 0.0, 1.0864618449742194e-311, 1e-4,
                               0.0};
  const Component largest_pc{22063999.9998894,       DBL_MAX, 0.34038772295343561,
                             1.3190621164975967e-84, 0.0161,  2.5394974196240072e-321};
  Component steep_alpha = kMethaneSrk;
  steep_alpha.m = 1e155;
  Request all_vapour = kAll;
  all_vapour.kvl = 1;
  const Case cases[] = {
      // b about 3e291 m3/kmol: b^2 overflows in dP/dV; a vapour search, then its last volume.
      {"Tc 0.7 K, Pc 1.9e-289 Pa",
       {tiny_pc},
       {1.0},
       150.0,
       1000.0,
       {{.kvl = 1, .kphi = 0, .kh = 0, .ks = 2, .kg = 0, .kv = 0, .ktol = -1},
        {.kvl = 1, .kphi = 0, .kh = 1, .ks = 0, .kg = 0, .kv = 0, .kvstrt = 2, .ktol = -1}},
       true},
      // b about 7e307 m3/kmol of an absent component: ln phi of every component.
      {"Tc 1e-16 K, Pc sub-normal, absent, beside water",
       {subnormal_pc, kWater, kWater},
       {0.0, 0.0048323769254001812, 0.99516762307459983},
       276.42553336865217,
       50802.180469130217,
       {kAll},
       true},
      // b about 9e-299 m3/kmol: b^2 underflows to 0 and is divided by.
      {"Pc 1.8e308 Pa, Tc 2.2e7 K, beside a sub-normal fraction of water",
       {kWater, largest_pc},
       {2.9467507908344884e-317, 3.0518043793392844e-05},
       159.75719631888862,
       2350.5836318188522,
       {{.kvl = 2, .kg = 2, .kv = 0, .kvstrt = 1, .ktol = 0, .v_in = 0.01}},
       true},
      // Ordinary constants, an alpha slope no fluid has: a overflows in the root search.
      {"CPAM 1e155", {steep_alpha}, {1.0}, 300.0, 1e5, {all_vapour, kAll}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetCpaState();
    CpaSystem sys(c.comps);
    for (const Request& r : c.calls) {
      const Result res = sys.Call(c.t, c.p, c.x, r);
      ExpectNumbersOrMarker(res);
      if (c.refused) {
        EXPECT_EQ(res.ierr, kCpaRefused);
      } else {
        EXPECT_NE(res.ierr, 0);
        EXPECT_NE(res.ierr, kCpaRefused);
      }
    }
  }
  ResetCpaState();
}

}  // namespace
