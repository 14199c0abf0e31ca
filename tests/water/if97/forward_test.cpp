// The IF97 forward equations and the other IAPWS releases at their published check values, and the
// identities that tie each region's derivative functions to those values.
#include <gtest/gtest.h>

#include <cmath>

#include "water/if97/if97.h"
#include "water/if97/if97_check_values.h"

namespace thermomodels {
namespace {

using water_test::NinthDigit;
using Fn = double (*)(const double&, const double&);

// IF97 Tables 5, 15, 42 at (p, T) and 33 at (T, v): v (region 3: p), h, u, s, cp, w to the nine
// printed digits; then at the same states cv, kappa and g (region 3: f) through the derivative
// functions and cp, w, h, u, s.
TEST(If97Regions, PublishedTablesAndTheirIdentities) {
  // v (region 3: p), h, u, s, cp, w; cv, kappa, dv/dT, dv/dp, dp/dT, g (region 3: f)
  const Fn fns[5][12] = {
      {IF97R1V, IF97R1H, IF97R1U, IF97R1S, IF97R1CP, IF97R1W,
       IF97R1CV, IF97R1KAP, IF97R1DVT, IF97R1DVP, IF97R1DPT, IF97R1G},
      {IF97R2V, IF97R2H, IF97R2U, IF97R2S, IF97R2CP, IF97R2W,
       IF97R2CV, IF97R2KAP, IF97R2DVT, IF97R2DVP, IF97R2DPT, IF97R2G},
      {IF97R3P, IF97R3H, IF97R3U, IF97R3S, IF97R3CP, IF97R3W,
       IF97R3CV, IF97R3KAP, IF97R3DVT, IF97R3DVP, IF97R3DPT, IF97R3F},
      {},
      {IF97R5V, IF97R5H, IF97R5U, IF97R5S, IF97R5CP, IF97R5W,
       IF97R5CV, IF97R5KAP, IF97R5DVT, IF97R5DVP, nullptr, nullptr}};
  for (const auto& r : water_test::kIf97Rows) {
    const bool r3 = r.region == 3;
    const Fn* f = fns[r.region - 1];
    const double a = r3 ? r.t : r.p_mpa, b = r3 ? r.v : r.t;
    const double want[] = {r3 ? r.p_mpa : r.v, r.h, r.u, r.s, r.cp, r.w};
    SCOPED_TRACE(::testing::Message() << "region " << r.region << " at " << a << ", " << b);
    for (int q = 0; q < 6; ++q) EXPECT_NEAR(f[q](a, b), want[q], NinthDigit(want[q])) << q;
    const double dvt = f[8](a, b), dvp = f[9](a, b);
    EXPECT_NEAR(f[6](a, b), r.cp + r.t * dvt * dvt / dvp, 1e-7 * r.cp);
    EXPECT_NEAR(f[7](a, b) * 1e6 * r.p_mpa * r.v / (r.w * r.w), 1.0, 1e-8);
    if (f[10]) {
      EXPECT_NEAR(f[10](a, b), -dvt / dvp, 1e-7 * std::fabs(dvt / dvp));
      EXPECT_NEAR(f[11](a, b), (r3 ? r.u : r.h) - r.t * r.s, 1e-7 * r.h);
    }
  }
  EXPECT_NEAR(IF97R3APR(650.0, 0.002), IF97R3DPT(650.0, 0.002) / 25583.7018, 1e-9);
  // Region 5 (Table 42, 1500 K, 30 MPa) from its ideal-gas and residual terms.
  const double tau = 1000.0 / 1500.0, rt = 0.461526 * 1500.0;
  const double gt = IF97R5GOT(30.0, 1500.0) + IF97R5GRT(30.0, 1500.0);
  EXPECT_NEAR((IF97R5GOP(30.0, 1500.0) + IF97R5GRP(30.0, 1500.0)) * rt / 1000.0, 0.230761299e-1, 5e-11);
  EXPECT_NEAR(tau * gt * rt, 0.516723514e4, 5e-6);
  EXPECT_NEAR((tau * gt - IF97R5GO(30.0, 1500.0) - IF97R5GR(30.0, 1500.0)) * 0.461526, 0.772970133e1, 5e-9);
  EXPECT_NEAR(-tau * tau * (IF97R5GOTT(30.0, 1500.0) + IF97R5GRTT(30.0, 1500.0)) * 0.461526,
              0.272724317e1, 5e-9);
}

// IF97 Tables 35 and 36 in MPa and in bar with their range limits, and the B23 check point both
// ways.
// The mixed derivative of region 5's residual Gibbs energy against a central difference of the
// energy itself in pi and tau = 1000/T, over the region's pressures and temperatures.
TEST(If97Regions, Region5MixedDerivativeIsTheDifferenceOfGamma) {
  for (const double p : {0.5, 10.0, 50.0}) {
    for (const double t : {1073.15, 1500.0, 2273.15}) {
      const double dp = 1e-4 * p, tau = 1000.0 / t, dtau = 1e-4 * tau;
      const auto g = [&](double a, double b) { return IF97R5GR(p + a * dp, 1000.0 / (tau + b * dtau)); };
      const double numeric = (g(1, 1) - g(1, -1) - g(-1, 1) + g(-1, -1)) / (4.0 * dp * dtau);
      EXPECT_NEAR(IF97R5GRPT(p, t), numeric, 1e-6 * std::fabs(numeric)) << p << " MPa, " << t << " K";
    }
  }
}

TEST(If97Saturation, PublishedTablesRangesAndB23) {
  for (const auto& row : water_test::kPsatRows) {
    EXPECT_NEAR(IF97PSAT(row.in), row.out, NinthDigit(row.out));
    EXPECT_NEAR(IF97PSATB(row.in), 10.0 * row.out, 10.0 * NinthDigit(row.out));
  }
  for (const auto& row : water_test::kTsatRows) {
    EXPECT_NEAR(IF97TSAT(row.in), row.out, NinthDigit(row.out));
    EXPECT_NEAR(IF97TSATB(10.0 * row.in), row.out, NinthDigit(row.out));
  }
  EXPECT_TRUE(IF97PSATB(272.99) == -1.0 && IF97PSATB(647.3) != -1.0 && IF97PSATB(647.302) == -1.0);
  EXPECT_TRUE(IF97TSATB(0.0060) == -1.0 && IF97TSATB(221.2) != -1.0 && IF97TSATB(221.21) == -1.0);
  EXPECT_NEAR(IF97B23P(623.15), 0.165291643E+02, NinthDigit(0.165291643E+02));
  EXPECT_NEAR(IF97B23T(0.165291643E+02), 623.15, NinthDigit(623.15));
  for (double t = 623.15; t <= 863.15; t += 20.0) EXPECT_NEAR(IF97B23T(IF97B23P(t)), t, 1e-9 * t);
}

// Viscosity 2008 Table 4 and conductivity 2011 Tables 4 (region code 5: no enhancement) and 7 to 9
// (the form for IF97) at their printed digits.
TEST(If97Releases, TransportCheckTables) {
  const double visc[][3] = {
      {298.15, 998, 889.735100}, {298.15, 1200, 1437.649467}, {373.15, 1000, 307.883622},
      {433.15, 1, 14.538324},    {433.15, 1000, 217.685358},  {873.15, 1, 32.619287},
      {873.15, 100, 35.802262},  {873.15, 600, 77.430195},    {1173.15, 1, 44.217245},
      {1173.15, 100, 47.640433}, {1173.15, 400, 64.154608}};
  for (const auto& [t, rho, mu] : visc) EXPECT_NEAR(1e6 * WVISC08(t, 1.0 / rho), mu, 5e-7) << t;
  const double tcon[][5] = {  // region, T, p (region 3: from rho), rho (0: from p), lambda
      {5, 298.15, 0.1, 998, 607.712868}, {5, 298.15, 0.1, 1200, 799.038144}, {5, 873.15, 1, 1e-12, 79.1034659},
      {5, 298.15, 1, 1e-12, 18.4341883}, {1, 620, 20, 0, 481.485195}, {1, 620, 50, 0, 545.038940},
      {2, 650, 0.3, 0, 52.2311024}, {2, 800, 50, 0, 177.709914}, {3, 647.35, 0, 222, 366.879411},
      {3, 647.35, 0, 322, 1241.82415}};
  for (const auto& [region, t, p_given, rho, want] : tcon) {
    const double v = rho > 0 ? 1.0 / rho : region == 1 ? IF97R1V(p_given, t) : IF97R2V(p_given, t);
    double cp, cv, eta, lambda;
    WTCON11(region == 3 ? IF97R3P(t, v) : p_given, t, v, static_cast<int64_t>(region), cp, cv, eta, lambda);
    EXPECT_NEAR(1000.0 * lambda, want, 5e-9 * want) << region << " " << t;
  }
}

// Surface tension 1994 at its tabulated values (two decimals), range, critical limit, p form.
TEST(If97Releases, SurfaceTension) {
  const double sigma[][2] = {{273.16, 75.65}, {283.15, 74.22}, {293.15, 72.74}, {303.15, 71.19},
                             {323.15, 67.94}, {373.15, 58.91}, {423.15, 48.74}, {473.15, 37.67},
                             {523.15, 26.04}, {573.15, 14.36}, {623.15, 3.67},  {643.15, 0.39}};
  for (const auto& [t, s] : sigma) EXPECT_NEAR(IF97SIGT(t), s, 0.005) << t;
  EXPECT_TRUE(IF97SIGT(272.99) == -1.0 && IF97SIGT(273.0) != -1.0 && IF97SIGT(647.31) == -1.0);
  EXPECT_TRUE(IF97SIGT(647.096) == 0.0 && IF97SIGT(647.3) == 0.0);
  EXPECT_NEAR(IF97SIGP(10.0 * IF97PSAT(373.15)), 58.91, 0.005);
  EXPECT_TRUE(IF97SIGP(0.006) == -1.0 && IF97SIGP(221.3) == -1.0);
}

// Dielectric release Table 4 from its seven-digit molar densities (epsilon moves up to 2.7e-6
// relative), refractive-index release Table 3 at IAPWS-95 densities.
TEST(If97Releases, DielectricConstantAndRefractiveIndex) {
  const double diel[][3] = {{240, 54.33701, 104.34982}, {300, 55.31735, 77.74735},
                            {300, 55.56148, 78.11269},  {300, 68.69265, 103.69632},
                            {650, 2.24692, 1.26715},    {650, 40.31090, 17.71733},
                            {650, 52.58636, 26.62132},  {870, 1.45275, 1.12721},
                            {870, 20.98927, 4.98281},   {870, 45.01376, 15.09746}};
  for (const auto& [t, rho, eps] : diel)
    EXPECT_NEAR(WDIELC(t, 1.0 / (rho * 18.015268)) / eps, 1.0, 3e-6) << t << " " << rho;
  // Below 228 K the g-factor's last term has a negative base: not a number.
  EXPECT_TRUE(std::isnan(WDIELC(220.0, 1.0 / 990.0)));
  EXPECT_TRUE(std::isinf(WDIELC(228.0, 1.0 / 990.0)));
  const double refr[][4] = {  // T, rho, wavelength [um], n to its printed digits
      {273.15, 999.842411, 0.2265, 1.394527},  {273.15, 999.842411, 0.589, 1.334344},
      {273.15, 999.842411, 1.01398, 1.326135}, {273.15, 1004.821444, 0.2265, 1.396526},
      {373.15, 958.770656, 0.2265, 1.375622},  {373.15, 999.761789, 0.2265, 1.391983},
      {473.15, 0.460314, 0.589, 1.0001456},    {773.15, 2.823960, 0.589, 1.0008773},
      {273.15, 1004.821444, 1.01398, 1.327710}, {473.15, 923.740172, 1.01398, 1.298369}};
  for (const auto& [t, rho, wl, n] : refr)
    EXPECT_NEAR(WREFRI(t, 1.0 / rho, wl), n, n < 1.01 ? 5e-8 : 5e-7) << t << " " << rho << " " << wl;
}

}  // namespace
}  // namespace thermomodels
