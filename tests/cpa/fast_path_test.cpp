// The CPA routine with the association shortcuts against the same routine
// with the association term solved by iteration alone, on a grid of states
// from 273 K to 600 K and 1e4 Pa to 1e8 Pa in both phases: pure water,
// pure methanol, water + methanol, water + methane and methanol + methane
// (one variable for both sites of each species). Statuses must agree, the
// root search must take no more iterations, and every value must agree to
// 1e-9 of its scale: V, ln phi (so phi relative), H over RT with a floor of
// 1; Z and the pressure with the scale of the terms they are the sum of (1
// and RT/V), since a liquid at low pressure has Z near 0 as a difference of
// terms near 1; dP/dV with RT/V^2 for the same reason near a spinodal; G
// and S carry ln Z besides, so |ln Z| adds to their scale and the error of
// Z over Z to their error. A temperature derivative is a forward
// difference over 0.001 K of two such values: its scale is theirs over
// 0.001 K.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "association/association.h"
#include "cpa/cpa_fixture.h"

namespace {

using namespace cpa_test;

struct Outcome {
  Result r;
  int64_t root_iterations = 0;
};

Outcome CallOnce(CpaSystem& host, bool shortcuts, double t, double p, const std::vector<double>& x,
                 const Request& req) {
  ResetCpaState();
  thermomodels::ASSOC_SHORTCUTS.enabled = shortcuts;
  Outcome o;
  o.r = host.Call(t, p, x, req);
  o.root_iterations = PPUTL_ESROOT.iw[thermomodels::esr::ITER];
  thermomodels::ASSOC_SHORTCUTS.enabled = true;
  return o;
}

// Every output agrees to 1e-9 of its scale.
void Check(const char* what, double a, double b, double scale) {
  EXPECT_LE(std::fabs(a - b), 1e-9 * scale) << what << ": " << a << " " << b;
}

TEST(CpaFastPath, AgreesWithTheIterativeAssociationTerm) {
  struct System {
    const char* what;
    std::vector<Component> comps;
    std::vector<std::vector<double>> compositions;
  };
  const System systems[] = {
      {"water", {kWater}, {{1.0}}},
      {"methanol", {kMethanol}, {{1.0}}},
      {"water + methanol", {kWater, kMethanol}, {{0.9, 0.1}, {0.5, 0.5}, {0.1, 0.9}}},
      {"water + methane", {kWater, kMethaneCpa}, {{0.999, 0.001}, {0.5, 0.5}, {0.02, 0.98}}},
      {"methanol + methane", {kMethanol, kMethaneCpa}, {{0.7, 0.3}, {0.05, 0.95}}},
  };
  // ln phi, H, S, G and V; every tenth state also with temperature
  // derivatives (two passes) and the pressure derivatives.
  const Request plain{};
  const Request with_derivatives{.kphi = 3, .kh = 3, .kv = 3, .kder = 1};
  int64_t states = 0;
  for (const System& sys : systems) {
    CpaSystem fast_host(sys.comps), slow_host(sys.comps);
    for (const std::vector<double>& x : sys.compositions)
      for (int ti = 0; ti <= 15; ++ti)
        for (int pi = 0; pi <= 9; ++pi)
          for (int64_t kvl : {1, 2}) {
            const double t = 273.15 + (600.0 - 273.15) * ti / 15.0;
            const double p = 1e4 * std::pow(1e4, pi / 9.0);
            Request req = (ti + pi) % 10 == 0 ? with_derivatives : plain;
            req.kvl = kvl;
            SCOPED_TRACE(std::string(sys.what) + " x1 " + std::to_string(x[0]) + " T " +
                         std::to_string(t) + " P " + std::to_string(p) + " phase " +
                         std::to_string(kvl));
            const Outcome a = CallOnce(fast_host, true, t, p, x, req);
            const Outcome b = CallOnce(slow_host, false, t, p, x, req);
            ++states;
            ASSERT_EQ(a.r.ierr, b.r.ierr);
            EXPECT_LE(a.root_iterations, b.root_iterations);
            const double rt = thermomodels::kCpaRgas * t, r = thermomodels::kCpaRgas;
            const double dt = thermomodels::kCpaTempStep;
            const double v = b.r.v, lnz = std::fabs(std::log(b.r.z));
            const double lnz_error = std::fabs(a.r.z - b.r.z) / b.r.z;
            auto larger = [](double u, double w, double floor) {
              return std::max({std::fabs(u), std::fabs(w), floor});
            };
            Check("V", a.r.v, b.r.v, larger(a.r.v, b.r.v, 0.0));
            Check("Z", a.r.z, b.r.z, larger(a.r.z, b.r.z, 1.0));
            Check("PCALC", a.r.pcalc, b.r.pcalc, larger(a.r.pcalc, b.r.pcalc, rt / v));
            Check("DPDV", a.r.dpdv, b.r.dpdv, larger(a.r.dpdv, b.r.dpdv, rt / (v * v)));
            Check("DH/RT", a.r.dh / rt, b.r.dh / rt, larger(a.r.dh / rt, b.r.dh / rt, 1.0));
            Check("DS/R", a.r.ds / r, b.r.ds / r,
                  larger(a.r.ds / r, b.r.ds / r, 1.0) + lnz + lnz_error * 1e9);
            Check("DG/RT", a.r.dg / rt, b.r.dg / rt,
                  larger(a.r.dg / rt, b.r.dg / rt, 1.0) + lnz + lnz_error * 1e9);
            for (size_t i = 0; i < x.size(); ++i)
              Check("ln phi", a.r.phi[i], b.r.phi[i], larger(a.r.phi[i], b.r.phi[i], 1.0));
            if (req.kder == 1) {
              Check("DVDT", a.r.dvdt, b.r.dvdt, v / dt);
              Check("DPDT", a.r.dpdt, b.r.dpdt, rt / v / dt);
              Check("DHDT/R", a.r.dhdt / r, b.r.dhdt / r,
                    larger(a.r.dh / rt, b.r.dh / rt, 1.0) * t / dt);
              for (size_t i = 0; i < x.size(); ++i)
                Check("DPHIDT", a.r.dphidt[i], b.r.dphidt[i],
                      larger(a.r.phi[i], b.r.phi[i], 1.0) / dt);
            }
          }
  }
  EXPECT_EQ(states, 3200);
}

}  // namespace
