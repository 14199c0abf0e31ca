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

void ExpectSixDigits(double got, double want, const char* what, double a, double b) {
  EXPECT_NEAR(got, want, 1e-6 * std::fabs(want)) << what << " at (" << a << ", " << b << ")";
}

struct PtDerivatives {
  Fn v, dvp, dvt, dpt;  // dpt absent in region 5
  double p, t;
};

TEST(If97Derivatives, PtRegionsMatchDifferencesOfTheVolume) {
  const PtDerivatives cases[] = {
      {IF97R1V, IF97R1DVP, IF97R1DVT, IF97R1DPT, 3, 300},
      {IF97R1V, IF97R1DVP, IF97R1DVT, IF97R1DPT, 80, 500},
      {IF97R2V, IF97R2DVP, IF97R2DVT, IF97R2DPT, 0.0035, 300},
      {IF97R2V, IF97R2DVP, IF97R2DVT, IF97R2DPT, 30, 700},
      {IF97R5V, IF97R5DVP, IF97R5DVT, nullptr, 0.5, 1500},
      {IF97R5V, IF97R5DVP, IF97R5DVT, nullptr, 30, 2000},
  };
  for (const PtDerivatives& c : cases) {
    const double dvdp_mpa = Slope(c.v, c.p, c.t, 0), dvdt = Slope(c.v, c.p, c.t, 1);
    ExpectSixDigits(1000.0 * c.dvp(c.p, c.t), dvdp_mpa, "(dv/dp)_T", c.p, c.t);
    ExpectSixDigits(c.dvt(c.p, c.t), dvdt, "(dv/dT)_p", c.p, c.t);
    EXPECT_LT(c.dvp(c.p, c.t), 0.0);
    EXPECT_GT(c.dvt(c.p, c.t), 0.0);
    // (dp/dT)_v = -(dv/dT)_p / (dv/dp)_T, in kPa/K.
    if (c.dpt) ExpectSixDigits(c.dpt(c.p, c.t), -1000.0 * dvdt / dvdp_mpa, "(dp/dT)_v", c.p, c.t);
  }
}

TEST(If97Derivatives, Region3MatchesDifferencesOfThePressure) {
  const double states[][2] = {{650, 0.002}, {650, 0.005}, {750, 0.002}, {700, 0.0035}};
  for (const auto& s : states) {
    const double t = s[0], v = s[1];
    const double dpdt_mpa = Slope(IF97R3P, t, v, 0), dpdv_mpa = Slope(IF97R3P, t, v, 1);
    ExpectSixDigits(IF97R3DPT(t, v), 1000.0 * dpdt_mpa, "(dp/dT)_v", t, v);
    ExpectSixDigits(IF97R3DPV(t, v), 1000.0 * dpdv_mpa, "(dp/dv)_T", t, v);
    ExpectSixDigits(IF97R3DVP(t, v), 1.0 / (1000.0 * dpdv_mpa), "(dv/dp)_T", t, v);
    ExpectSixDigits(IF97R3DVT(t, v), -dpdt_mpa / dpdv_mpa, "(dv/dT)_p", t, v);
    EXPECT_NEAR(IF97R3APR(t, v), IF97R3DPT(t, v) / (1000.0 * IF97R3P(t, v)), 1e-13 * IF97R3APR(t, v));
    EXPECT_LT(IF97R3DVP(t, v), 0.0);
    EXPECT_GT(IF97R3DVT(t, v), 0.0);
  }
}

TEST(If97IsentropicExponent, EqualsSoundSpeedSquaredOverPv) {
  struct Case { Fn kap, w, v; double p, t; };
  const Case cases[] = {
      {IF97R1KAP, IF97R1W, IF97R1V, 3, 300},      {IF97R1KAP, IF97R1W, IF97R1V, 80, 500},
      {IF97R2KAP, IF97R2W, IF97R2V, 0.0035, 300}, {IF97R2KAP, IF97R2W, IF97R2V, 30, 700},
      {IF97R5KAP, IF97R5W, IF97R5V, 0.5, 1500},   {IF97R5KAP, IF97R5W, IF97R5V, 30, 2000},
  };
  for (const Case& c : cases) {
    const double w = c.w(c.p, c.t), want = w * w / (c.p * 1e6 * c.v(c.p, c.t));
    EXPECT_NEAR(c.kap(c.p, c.t), want, 1e-10 * want) << c.p << " " << c.t;
  }
  const double states[][2] = {{650, 0.002}, {650, 0.005}, {750, 0.002}};
  for (const auto& s : states) {
    const double w = IF97R3W(s[0], s[1]), want = w * w / (IF97R3P(s[0], s[1]) * 1e6 * s[1]);
    EXPECT_NEAR(IF97R3KAP(s[0], s[1]), want, 1e-10 * want) << s[0] << " " << s[1];
  }
  // Compressed liquid is stiff; dilute steam is near the ideal-gas value.
  EXPECT_GT(IF97R1KAP(3, 300), 100.0);
  EXPECT_NEAR(IF97R2KAP(0.0035, 300), 1.33, 0.01);
}

TEST(If97IsentropicExponent, ZeroArgumentsGiveNonFiniteValues) {
  for (Fn f : {IF97R1KAP, IF97R2KAP, IF97R5KAP}) {
    EXPECT_FALSE(std::isfinite(f(0.0, 500.0)));
    EXPECT_FALSE(std::isfinite(f(1.0, 0.0)));
  }
  EXPECT_FALSE(std::isfinite(IF97R3KAP(650.0, 0.0)));
  EXPECT_FALSE(std::isfinite(IF97R3KAP(0.0, 0.002)));
}

}  // namespace
}  // namespace thermomodels
