// Partial derivatives (per kPa) against central differences of the volume
// and pressure functions, and the isentropic exponents against w^2/(p v).
#include <gtest/gtest.h>

#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using Fn = double (*)(const double&, const double&);

// Central difference of f along its first (k = 0) or second (k = 1) argument.
double Slope(Fn f, double a, double b, int k) {
  const double h = 1e-5 * (k == 0 ? a : b);
  return k == 0 ? (f(a + h, b) - f(a - h, b)) / (2 * h) : (f(a, b + h) - f(a, b - h)) / (2 * h);
}

void ExpectSixDigits(double got, double want, const char* what) {
  EXPECT_NEAR(got, want, 1e-6 * std::fabs(want)) << what;
}

// w^2/(p v) with p in Pa; w in m/s.
void ExpectKappa(double kappa, double w, double p_mpa, double v) {
  EXPECT_NEAR(kappa, w * w / (p_mpa * 1e6 * v), 1e-10 * kappa) << "isentropic exponent";
}

TEST(If97Derivatives, PtRegionsMatchDifferencesOfTheVolume) {
  struct Case {
    Fn v, dvp, dvt, dpt, kap, w;  // dpt absent in region 5
    double p, t;
  };
  const Case cases[] = {
      {IF97R1V, IF97R1DVP, IF97R1DVT, IF97R1DPT, IF97R1KAP, IF97R1W, 3, 300},
      {IF97R1V, IF97R1DVP, IF97R1DVT, IF97R1DPT, IF97R1KAP, IF97R1W, 80, 500},
      {IF97R2V, IF97R2DVP, IF97R2DVT, IF97R2DPT, IF97R2KAP, IF97R2W, 0.0035, 300},
      {IF97R2V, IF97R2DVP, IF97R2DVT, IF97R2DPT, IF97R2KAP, IF97R2W, 30, 700},
      {IF97R5V, IF97R5DVP, IF97R5DVT, nullptr, IF97R5KAP, IF97R5W, 0.5, 1500},
      {IF97R5V, IF97R5DVP, IF97R5DVT, nullptr, IF97R5KAP, IF97R5W, 30, 2000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "p = " << c.p << " MPa, T = " << c.t << " K");
    const double dvdp_mpa = Slope(c.v, c.p, c.t, 0), dvdt = Slope(c.v, c.p, c.t, 1);
    ExpectSixDigits(1000.0 * c.dvp(c.p, c.t), dvdp_mpa, "(dv/dp)_T");
    ExpectSixDigits(c.dvt(c.p, c.t), dvdt, "(dv/dT)_p");
    // (dp/dT)_v = -(dv/dT)_p / (dv/dp)_T, in kPa/K.
    if (c.dpt) ExpectSixDigits(c.dpt(c.p, c.t), -1000.0 * dvdt / dvdp_mpa, "(dp/dT)_v");
    ExpectKappa(c.kap(c.p, c.t), c.w(c.p, c.t), c.p, c.v(c.p, c.t));
  }
}

TEST(If97Derivatives, Region3MatchesDifferencesOfThePressure) {
  const double states[][2] = {{650, 0.002}, {650, 0.005}, {750, 0.002}, {700, 0.0035}};
  for (const auto& s : states) {
    const double t = s[0], v = s[1];
    SCOPED_TRACE(::testing::Message() << "T = " << t << " K, v = " << v);
    const double dpdt_mpa = Slope(IF97R3P, t, v, 0), dpdv_mpa = Slope(IF97R3P, t, v, 1);
    ExpectSixDigits(IF97R3DPT(t, v), 1000.0 * dpdt_mpa, "(dp/dT)_v");
    ExpectSixDigits(IF97R3DPV(t, v), 1000.0 * dpdv_mpa, "(dp/dv)_T");
    ExpectSixDigits(IF97R3DVP(t, v), 1.0 / (1000.0 * dpdv_mpa), "(dv/dp)_T");
    ExpectSixDigits(IF97R3DVT(t, v), -dpdt_mpa / dpdv_mpa, "(dv/dT)_p");
    EXPECT_NEAR(IF97R3APR(t, v), IF97R3DPT(t, v) / (1000.0 * IF97R3P(t, v)),
                1e-13 * IF97R3APR(t, v));
    ExpectKappa(IF97R3KAP(t, v), IF97R3W(t, v), IF97R3P(t, v), v);
  }
}

}  // namespace
}  // namespace thermomodels
