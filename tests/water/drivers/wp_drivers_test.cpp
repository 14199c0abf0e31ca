// The drivers in bar and degrees Celsius: published IF97 values, identities
// between the drivers and finite differences, the saturation line, the
// critical-point shortcut and the range edges.
#include <gtest/gtest.h>

#include <cmath>

#include "water/backward/backward.h"
#include "water/drivers/if97_reference_values.h"
#include "water/drivers/water_test_support.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using water_test::kSingle;
using water_test::kTc;
using water_test::kVc;

constexpr double kR = 0.461526;           // kJ/(kg K)
constexpr double kPc = 22.0639999998894;  // MPa
// dv/dp [m3/(kg kPa)] and dv/dT [m3/(kg K)] at the critical point, from
// IF97's extended-precision derivatives there.
constexpr double kDvDp = -1.0 / if97_reference::kCriticalDpDv;
constexpr double kDvDt = if97_reference::kCriticalDpDt / if97_reference::kCriticalDpDv;

double Celsius(double t_k) { return t_k - 273.15; }

// Specific volume [m3/kg] from the compression factor driver.
double VolumeFromZ(double p_bar, double t_k) {
  return WPZFAC(p_bar, Celsius(t_k), kSingle) * kR * t_k / (100.0 * p_bar);
}

TEST(WaterDrivers, ReproduceIf97TablesThroughGibbsHelmholtzAndZ) {
  for (const auto& r : water_test::kIf97Rows) {
    if (r.region == 3) continue;  // published at (T, rho), not (T, p)
    SCOPED_TRACE(::testing::Message() << "IF97 region " << r.region << " T " << r.t);
    const double p_bar = 10.0 * r.p_mpa, t = Celsius(r.t);
    const double tol = 2e-8 * (r.h + r.t * r.s);
    EXPECT_NEAR(WPGIBB(p_bar, t, kSingle), r.h - r.t * r.s, tol);
    EXPECT_NEAR(WPHELM(p_bar, t, kSingle), r.u - r.t * r.s, tol);
    EXPECT_NEAR(WPZFAC(p_bar, t, kSingle), 1000.0 * r.p_mpa * r.v / (kR * r.t), 1e-8);
    if (r.t <= 1173.2) {
      const double nu = WVISC08(r.t, r.v) * r.v;
      EXPECT_NEAR(WPVISC(p_bar, r.t, kSingle), nu, 1e-8 * nu);
    }
  }
}

TEST(WaterDrivers, DerivativeDriversAgreeWithDifferencesAndEachOtherInDetail) {
  const struct {
    double p_bar, t_k;
    int region;
  } kStates[] = {{30, 300, 1},  {500, 500, 1}, {1, 500, 2},
                 {250, 650, 3}, {400, 700, 3}, {100, 1500, 5}};
  for (const auto& s : kStates) {
    SCOPED_TRACE(::testing::Message() << "P " << s.p_bar << " bar, T " << s.t_k);
    const double t = Celsius(s.t_k), p_kpa = 100.0 * s.p_bar;
    const double v = VolumeFromZ(s.p_bar, s.t_k);
    // Differences of v(p, T) in regions 1, 2, 5; in region 3 of the forward
    // p3(T, v) at the backward volume, with p3 the pressure consistent with it.
    double dv_dt, dv_dp, p_of_v = p_kpa;
    if (s.region == 3) {
      const double dt = 1e-4, dv = 1e-7 * v;
      const double dp_dt = (IF97R3P(s.t_k + dt, v) - IF97R3P(s.t_k - dt, v)) / (2 * dt);
      const double dp_dv = (IF97R3P(s.t_k, v + dv) - IF97R3P(s.t_k, v - dv)) / (2 * dv);
      dv_dp = 1e-3 / dp_dv;
      dv_dt = -dp_dt / dp_dv;
      p_of_v = 1000.0 * IF97R3P(s.t_k, v);
    } else {
      const double dt = 1e-3, dp = 1e-5 * s.p_bar;
      dv_dt = (VolumeFromZ(s.p_bar, s.t_k + dt) - VolumeFromZ(s.p_bar, s.t_k - dt)) / (2 * dt);
      dv_dp =
          (VolumeFromZ(s.p_bar + dp, s.t_k) - VolumeFromZ(s.p_bar - dp, s.t_k)) / (2 * 100.0 * dp);
    }
    const double alfv = WPALFV(s.p_bar, t, kSingle), kapt = WPKAPT(s.p_bar, t, kSingle);
    EXPECT_NEAR(alfv, dv_dt / v, 1e-5 * std::fabs(alfv));
    EXPECT_NEAR(kapt, -dv_dp / v, 1e-5 * std::fabs(kapt));
    EXPECT_NEAR(WPTHRO(s.p_bar, t, kSingle), v - s.t_k * alfv * v, 1e-9 * v);
    const double alfp = alfv / (p_of_v * kapt), betp = 1.0 / (p_kpa * v * kapt);
    EXPECT_NEAR(WPALFP(s.p_bar, t, kSingle), alfp, 1e-6 * std::fabs(alfp));
    EXPECT_NEAR(WPBETP(s.p_bar, t, kSingle), betp, 1e-9 * betp);
    const double cp = s.region == 1   ? IF97R1CP(0.1 * s.p_bar, s.t_k)
                      : s.region == 2 ? IF97R2CP(0.1 * s.p_bar, s.t_k)
                      : s.region == 3 ? IF97R3CP(s.t_k, v)
                                      : IF97R5CP(0.1 * s.p_bar, s.t_k);
    EXPECT_NEAR(WPJOUL(s.p_bar, t, kSingle) * cp, -WPTHRO(s.p_bar, t, kSingle), 1e-9 * v);
    const double g = WPGIBB(s.p_bar, t, kSingle);
    EXPECT_NEAR(g - WPHELM(s.p_bar, t, kSingle), p_of_v * v, 1e-9 * std::fabs(g) + 1e-9);
  }
}

TEST(WaterDrivers, FugacityIsContinuousAcrossTheSaturationLineInDetail) {
  for (double t_k : {280.0, 373.15, 500.0, 600.0, 623.0, 630.0, 640.0, 645.0, 647.0}) {
    const double f_liquid = WPFUGA(-1.0, Celsius(t_k), 0.0);
    const double f_vapour = WPFUGA(-1.0, Celsius(t_k), 1.0);
    EXPECT_GT(f_liquid, 0.0) << t_k;
    EXPECT_NEAR(f_liquid, f_vapour, 1e-4 * f_vapour) << t_k;
    EXPECT_NEAR(WPFUGA(-1.0, Celsius(t_k), 0.5), 0.5 * (f_liquid + f_vapour), 1e-12 * f_vapour);
    // Gibbs energies of the coexisting phases agree as well.
    EXPECT_NEAR(WPGIBB(-1.0, Celsius(t_k), 0.0), WPGIBB(-1.0, Celsius(t_k), 1.0), 0.05) << t_k;
  }
  // A dilute vapour is nearly ideal: f close to p.
  EXPECT_NEAR(WPFUGA(0.01, Celsius(500.0), kSingle), 0.01, 1e-6);
  // Region 3 takes the fugacity at the caller's pressure (not at the region-3
  // pressure of the backward volume): ln(f/p) of the dispatcher, which the
  // extended-precision table checks at such pressures.
  for (const double p_mpa : {25.0, 50.0}) {
    const double t_k = 700.0 - 2.0 * (50.0 - p_mpa), v = IF97V3PT(p_mpa, t_k);
    const double ln_phi = water_test::Value(1, 3, t_k, 1e6 * p_mpa, water_test::kM * v);
    EXPECT_NEAR(WPFUGA(10.0 * p_mpa, Celsius(t_k), kSingle), 10.0 * p_mpa * std::exp(ln_phi),
                1e-13 * 10.0 * p_mpa)
        << p_mpa;
  }
}

TEST(WaterDrivers, CriticalPointShortcutInDetail) {
  // Pressure not given and T above Tc: each driver's critical value, where
  // IF97 is finite at (Tc, 1/322) IF97's own.
  const double t = Celsius(647.2);
  double wavelength = 0.5;
  const struct {
    const char* name;
    double got, want, tol;
  } kCases[] = {
      {"WPZFAC", WPZFAC(-1.0, t, 1.0), 1000.0 * kPc * kVc / (kR * kTc), 1e-12},
      {"WPGIBB", WPGIBB(-1.0, t, 0.0), IF97R3H(kTc, kVc) - kTc * IF97R3S(kTc, kVc), 1e-6},
      {"WPHELM", WPHELM(-1.0, t, 1.0), IF97R3F(kTc, kVc), 3e-3},  // fixed value 0.002 below
      {"WPFUGA", WPFUGA(-1.0, t, 0.0), 10.0 * IF97R3FUG(kPc, kTc, kVc), 1e-7},
      {"WPALFP", WPALFP(-1.0, t, 0.0), IF97R3APR(kTc, kVc), 1e-9},
      // Diverging at the critical point: IF97's magnitudes there (dv/dp =
      // -1/|dp/dv|, dv/dT = (dp/dT)/|dp/dv|) with the signs of the states beside it.
      {"WPALFV", WPALFV(-1.0, t, 1.0), kDvDt / kVc, 1e-12 * kDvDt / kVc},
      {"WPKAPT", WPKAPT(-1.0, t, 0.0), -kDvDp / kVc, -1e-12 * kDvDp / kVc},
      {"WPBETP", WPBETP(-1.0, t, 1.0), -1.0 / (1000.0 * kPc * kDvDp), 1e-21},
      {"WPJOUL", WPJOUL(-1.0, t, 0.0), 0.003638837764369, 0.0},
      {"WPTHRO", WPTHRO(-1.0, t, 1.0), kVc - kTc * kDvDt, 1e-12 * kTc * kDvDt},
      {"WPDIEL", WPDIEL(-1.0, t, 0.0), WDIELC(647.2, kVc), 0.0},
      {"WPDIEL, T not given: Tc", WPDIEL(221.0, -1.0, 0.0), WDIELC(kTc, kVc), 0.0},
      {"WPREFR", WPREFR(-1.0, t, 1.0, wavelength), WREFRI(647.2, kVc, 0.5), 0.0},
      {"WPVISC", WPVISC(-1.0, 647.2, 1.0), WVISC08(kTc, kVc) * kVc, 0.0},
  };
  for (const auto& c : kCases) EXPECT_NEAR(c.got, c.want, c.tol) << c.name;
  EXPECT_EQ(WPHELM(-1.0, t, 1.0), -835.9743659199);
  EXPECT_NEAR(WPALFP(-1.0, t, 0.0), WPALFV(-1.0, t, 0.0) / (1000.0 * kPc * WPKAPT(-1.0, t, 0.0)),
              1e-15);
  // The relative pressure coefficient is continuous with the saturated
  // phases beside the critical point.
  EXPECT_NEAR(WPALFP(-1.0, Celsius(647.09), 0.0), WPALFP(-1.0, t, 0.0), 5e-4);
  EXPECT_NEAR(WPALFP(-1.0, Celsius(647.09), 1.0), WPALFP(-1.0, t, 0.0), 5e-4);
  // The shortcut serves only the saturated phases, also to lever drivers.
  EXPECT_EQ(WPFUGA(-1.0, t, 0.5), -1.0);
  EXPECT_EQ(WPGIBB(-1.0, t, 0.5), -1.0);
}

TEST(WaterDrivers, RangeEdgesInDetail) {
  const double ts1bar = IF97TSAT(0.1);
  double wl0 = 0.0, wl02 = 0.2, wl11 = 1.1, wl12 = 1.2;
  const struct {
    const char* what;
    double value;
    bool ok;
  } kEdges[] = {
      {"t = -1e-5 C is converted", WPZFAC(1.0, -1e-5, kSingle), true},
      {"t = -2e-5 C is not given", WPZFAC(1.0, -2e-5, kSingle), false},
      {"P = 0 is a given pressure", WPZFAC(0.0, 100.0, kSingle), false},
      {"P = 0 on the line", WPZFAC(0.0, 100.0, 1.0), false},
      {"P, T both negative", WPZFAC(-1.0, -1.0, 1.0), false},
      {"1000 bar", WPZFAC(1000.0, 100.0, kSingle), true},
      {"1000.2 bar", WPZFAC(1000.2, 100.0, kSingle), false},
      {"XQUAL -1e-5 is a lever request", WPZFAC(-1.0, 100.0, -1e-5), true},
      {"XQUAL 1.00001", WPZFAC(-1.0, 100.0, 1.00001), true},
      {"XQUAL 1.00002", WPZFAC(-1.0, 100.0, 1.00002), false},
      {"region 5 at 500.09 bar", WPZFAC(500.09, Celsius(1073.16), kSingle), true},
      {"region 5 at 500.2 bar", WPZFAC(500.2, Celsius(1073.16), kSingle), false},
      {"region 5 at 2273.2 K", WPZFAC(10.0, Celsius(2273.2), kSingle), true},
      {"region 5 at 2273.3 K", WPZFAC(10.0, Celsius(2273.3), kSingle), false},
      {"viscosity at 1173.2 K", WPVISC(10.0, 1173.2, kSingle), true},
      {"viscosity at 1173.3 K", WPVISC(10.0, 1173.3, kSingle), false},
      {"viscosity at 500.9 bar", WPVISC(500.9, 1100.0, kSingle), true},
      {"viscosity at 501 bar", WPVISC(501.0, 1100.0, kSingle), false},
      {"Tsat + 0.0999 K", WPZFAC(1.0, Celsius(ts1bar + 0.0999), 1.0), true},
      {"Tsat + 0.1001 K", WPZFAC(1.0, Celsius(ts1bar + 0.1001), 1.0), false},
      {"dielectric constant of a mixture", WPDIEL(-1.0, 100.0, 0.5), false},
      {"wavelength 0", WPREFR(1.0, 25.0, kSingle, wl0), false},
      {"wavelength 0.2", WPREFR(1.0, 25.0, kSingle, wl02), true},
      {"wavelength 1.1", WPREFR(1.0, 25.0, kSingle, wl11), true},
      {"wavelength 1.2", WPREFR(1.0, 25.0, kSingle, wl12), false},
      {"capillary length at 273.0 K", WPCAPT(273.0), true},
      {"capillary length at 272.99 K", WPCAPT(272.99), false},
      {"capillary length at 221.3 bar", WPCAPP(221.3), false},
      {"NaN temperature", WPGIBB(1.0, std::nan(""), kSingle), false},
  };
  for (const auto& e : kEdges) EXPECT_EQ(e.value != -1.0, e.ok) << e.what << ": " << e.value;
  EXPECT_EQ(wl0, 1e-14);
  // Single phase on a region boundary: exactly pB23 at 700 K is region 2,
  // above 16.53 MPa at 623.15 K region 1, 1073.15 K still the middle band.
  const double pb23_700 = IF97B23P(700.0);
  EXPECT_NEAR(VolumeFromZ(10.0 * pb23_700, 700.0), IF97R2V(pb23_700, 700.0), 1e-12);
  EXPECT_NEAR(VolumeFromZ(165.3, 623.15), IF97R1V(16.53, 623.15), 1e-12);
  // Just above B23 at the low-temperature corner: region 3.
  EXPECT_NEAR(VolumeFromZ(165.45, 623.3), IF97V3PT(16.545, 623.3), 1e-12);
  EXPECT_NEAR(VolumeFromZ(165.2916427, 623.15000001), IF97V3PT(16.52916427, 623.15000001), 1e-12);
  EXPECT_NEAR(VolumeFromZ(100.0, 1073.15), IF97R2V(10.0, 1073.15), 1e-12);
}

TEST(WaterDrivers, CapillaryLengthAndReleasesInDetail) {
  // IAPWS 1994 surface tension at 100 C (58.91 mN/m) with the saturated
  // densities of IF97 (958.35 and 0.5976 kg/m3).
  const double want = std::sqrt(1000.0 * 58.91 / ((958.35 - 0.5976) * 9.80665));
  EXPECT_NEAR(WPCAPT(373.15), want, 2e-4 * want);
  EXPECT_NEAR(WPCAPP(10.0 * IF97PSAT(373.15)), WPCAPT(373.15), 1e-6);
  EXPECT_NEAR(WPCAPP(10.0 * IF97PSAT(640.0)), WPCAPT(640.0), 1e-4 * WPCAPT(640.0));
  EXPECT_EQ(WPCAPP(220.639999998894), 0.0);
  EXPECT_EQ(WPCAPT(647.096), 0.0);
  EXPECT_EQ(WPCAPT(647.2), 0.0);
  // Dielectric constant 78.41 and refractive index 1.3325 (589 nm) of
  // liquid water at 25 C and 0.1 MPa.
  EXPECT_NEAR(WPDIEL(1.0, 25.0, kSingle), 78.41, 0.05);
  double wavelength = 0.58926;
  EXPECT_NEAR(WPREFR(1.0, 25.0, kSingle, wavelength), 1.3325, 5e-4);
}

}  // namespace
}  // namespace thermomodels
