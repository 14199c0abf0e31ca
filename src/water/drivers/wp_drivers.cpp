// Water property drivers in bar and degrees Celsius: one property each that
// the routers do not offer, with the region or saturated state chosen from
// pressure, temperature and the quality flag.
#include <algorithm>
#include <cmath>

#include "water/backward/backward.h"
#include "water/drivers/drivers.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr double kFail = -1.0;                   // water failure value
constexpr double kGasConstant = 0.461526;        // kJ/(kg K)
constexpr double kCriticalT = 647.096;           // K
constexpr double kCriticalP = 22.0639999998894;  // MPa
constexpr double kCriticalV = 1.0 / 322.0;       // m3/kg
constexpr double kGravity = 9.80665;             // m/s2

// One phase of water at which a driver evaluates its property: regions 1, 2
// and 5 at (p [MPa], t [K]); region 3 at (t, v [m3/kg]).
struct WaterPoint {
  int region;
  double p;
  double t;
  double v;
};

enum class DriverPath { kFail, kCritical, kPhase, kLever };

// Where the front end sends a request.
struct DriverState {
  DriverPath path = DriverPath::kFail;
  WaterPoint phase{};              // single phase or saturated phase
  WaterPoint liquid{};             // saturated liquid of a lever-rule mixture
  WaterPoint vapour{};             // saturated vapour of a lever-rule mixture
  double t_critical = kCriticalT;  // temperature of the critical-point shortcut
};

// Region-5 upper limits of a single-phase request.
struct Region5Limits {
  double t_max;  // K
  double p_max;  // MPa
};
constexpr Region5Limits kDriverRegion5{2273.2, 50.01};
// The viscosity driver's pressure limit is 50.1 held in single precision.
constexpr Region5Limits kViscosityRegion5{1173.2, static_cast<double>(50.1f)};

WaterPoint SaturatedLiquid(double p, double t) {
  if (t <= 623.15) return {1, p, t, 0.0};
  return {3, p, t, IF97V3PTL(p, t)};
}

WaterPoint SaturatedVapour(double p, double t) {
  if (t <= 623.15) return {2, p, t, 0.0};
  return {3, p, t, IF97V3PTV(p, t)};
}

bool Near(double x, double target) { return std::fabs(x - target) < 1e-8; }

// Region choice and saturation handling of the drivers: p [MPa] (negative:
// not given), t [K] (negative: not given), quality flag x.
DriverState ResolveDriverState(double p, double t, double x, bool lever, Region5Limits limits) {
  DriverState s;
  if (x < -1e-5) {
    if (p < 0.00061 || p > 100.01) return s;
    int region;
    if (t <= 623.15) {
      if (t < 273.0) return s;
      region = (p > 16.52916426 || IF97PSAT(t) <= p) ? 1 : 2;
    } else if (t > 1073.15) {
      if (t > limits.t_max || p > limits.p_max) return s;
      region = 5;
    } else if (t >= 863.15 || p < 16.52916424 || p <= IF97B23P(t)) {
      region = 2;
    } else {
      region = 3;
    }
    s.phase = {region, p, t, region == 3 ? IF97V3PT(p, t) : 0.0};
    s.path = DriverPath::kPhase;
    return s;
  }
  if (x > 1.00001) return s;

  bool critical = false;
  if (p < 0.0) {
    if (t < 273.0 || t > 647.3) return s;
    if (t >= kCriticalT) {
      critical = true;
    } else {
      p = IF97PSAT(t);
    }
  } else if (t < 0.0) {
    if (p < 0.00061 || p > 22.12) return s;
    if (p >= kCriticalP) {
      critical = true;
      t = kCriticalT;
    } else {
      t = IF97TSAT(p);
    }
  } else {
    if (t < 273.0 || t > 647.3 || p < 0.00061 || p > 22.12) return s;
    if (t >= kCriticalT || p >= kCriticalP) {
      critical = true;
    } else if (std::fabs(t - IF97TSAT(p)) > 0.1) {
      return s;
    }
  }
  const bool vapour = Near(x, 1.0);
  const bool liquid = !vapour && Near(x, 0.0);
  if (critical) {
    if (vapour || liquid) {
      s.path = DriverPath::kCritical;
      s.t_critical = t;
    }
    return s;
  }
  if (vapour) {
    s.phase = SaturatedVapour(p, t);
    s.path = DriverPath::kPhase;
  } else if (liquid) {
    s.phase = SaturatedLiquid(p, t);
    s.path = DriverPath::kPhase;
  } else if (lever) {
    s.liquid = SaturatedLiquid(p, t);
    s.vapour = SaturatedVapour(p, t);
    s.path = DriverPath::kLever;
  }
  return s;
}

// The common front end: converts P [bar], resolves the state, and evaluates
// PROPERTY(WaterPoint) there, CRITICAL(t) at the critical point.
template <typename Property, typename Critical>
double RunDriver(double pressure_bar, double t_k, double x, bool lever, Region5Limits limits,
                 Property property, Critical critical) {
  if (std::isnan(pressure_bar) || std::isnan(t_k) || std::isnan(x)) return kFail;
  const DriverState s = ResolveDriverState(0.1 * pressure_bar, t_k, x, lever, limits);
  switch (s.path) {
    case DriverPath::kPhase: return property(s.phase);
    case DriverPath::kLever: {
      const double y_liquid = property(s.liquid);
      return y_liquid + x * (property(s.vapour) - y_liquid);
    }
    case DriverPath::kCritical: return critical(s.t_critical);
    default: return kFail;
  }
}

// Degrees Celsius to kelvin; below -1e-5 C the value stays negative and so
// counts as not given on the saturation line.
double Kelvin(double celsius) { return celsius >= -1e-5 ? celsius + 273.15 : celsius; }

auto Fixed(double value) {
  return [value](double) { return value; };
}

double Volume(const WaterPoint& w) {
  switch (w.region) {
    case 1: return IF97R1V(w.p, w.t);
    case 2: return IF97R2V(w.p, w.t);
    case 3: return w.v;
    default: return IF97R5V(w.p, w.t);
  }
}

// (dv/dT)_p [m3/(kg K)].
double DvDt(const WaterPoint& w) {
  switch (w.region) {
    case 1: return IF97R1DVT(w.p, w.t);
    case 2: return IF97R2DVT(w.p, w.t);
    case 3: return IF97R3DVT(w.t, w.v);
    default: return IF97R5DVT(w.p, w.t);
  }
}

// (dv/dp)_T [m3/(kg kPa)].
double DvDp(const WaterPoint& w) {
  switch (w.region) {
    case 1: return IF97R1DVP(w.p, w.t);
    case 2: return IF97R2DVP(w.p, w.t);
    case 3: return IF97R3DVP(w.t, w.v);
    default: return IF97R5DVP(w.p, w.t);
  }
}

double Cp(const WaterPoint& w) {
  switch (w.region) {
    case 1: return IF97R1CP(w.p, w.t);
    case 2: return IF97R2CP(w.p, w.t);
    case 3: return IF97R3CP(w.t, w.v);
    default: return IF97R5CP(w.p, w.t);
  }
}

// Surface tension [mN/m] by the IAPWS 1994 release at tau = 1 - T/Tc.
double SurfaceTension(double tau) { return std::pow(tau, 1.256) * (235.8 - 147.375 * tau); }

// Saturation temperature [K] at p [MPa] by IF97 Eq. 31 as it stands, with
// the coefficients of IF97 Table 34 and no bridge near the critical point.
double SaturationTemperatureEq31(double p) {
  constexpr double n[11] = {0.0,
                            0.11670521452767e4,
                            -0.72421316703206e6,
                            -0.17073846940092e2,
                            0.12020824702470e5,
                            -0.32325550322333e7,
                            0.14915108613530e2,
                            -0.48232657361591e4,
                            0.40511340542057e6,
                            -0.23855557567849,
                            0.65017534844798e3};
  const double beta = std::sqrt(std::sqrt(p));
  const double e = beta * beta + n[3] * beta + n[6];
  const double f = n[1] * beta * beta + n[4] * beta + n[7];
  const double g = n[2] * beta * beta + n[5] * beta + n[8];
  const double d = 2.0 * g / (-f - std::sqrt(f * f - 4.0 * e * g));
  const double s = n[10] + d;
  return 0.5 * (s - std::sqrt(s * s - 4.0 * (n[9] + n[10] * d)));
}

// Capillary length [mm] from the surface tension [mN/m] and the saturated
// volumes [m3/kg]; zero where the tension has vanished.
double CapillaryLength(double sigma, double v_liquid, double v_vapour) {
  if (sigma == 0.0) return 0.0;
  const double density_gap = 1.0 / v_liquid - 1.0 / v_vapour;
  if (!(density_gap > 0.0)) return kFail;
  return std::sqrt(1000.0 * sigma / (density_gap * kGravity));
}

}  // namespace

double WPZFAC(const double& P, const double& t, const double& XQUAL) {
  return RunDriver(
      P, Kelvin(t), XQUAL, true, kDriverRegion5,
      [](const WaterPoint& w) { return 1000.0 * w.p * Volume(w) / (kGasConstant * w.t); },
      Fixed(0.229437018224761));
}

double WPDIEL(const double& P, const double& t, const double& XQUAL) {
  return RunDriver(
      P, Kelvin(t), XQUAL, false, kDriverRegion5,
      [](const WaterPoint& w) { return WDIELC(w.t, Volume(w)); },
      [](double tc) { return WDIELC(tc, kCriticalV); });
}

double WPREFR(const double& P, const double& t, const double& XQUAL, double& WAVELENGTH) {
  if (std::fabs(WAVELENGTH) < 1e-14) WAVELENGTH = 1e-14;
  const double wavelength = WAVELENGTH;
  if (!(wavelength >= 0.2 && wavelength <= 1.1)) return kFail;
  return RunDriver(
      P, Kelvin(t), XQUAL, false, kDriverRegion5,
      [&](const WaterPoint& w) { return WREFRI(w.t, Volume(w), wavelength); },
      [&](double tc) { return WREFRI(tc, kCriticalV, wavelength); });
}

double WPALFV(const double& P, const double& t, const double& XQUAL) {
  return RunDriver(
      P, Kelvin(t), XQUAL, false, kDriverRegion5,
      [](const WaterPoint& w) { return DvDt(w) / Volume(w); }, Fixed(kCriticalDvDt / kCriticalV));
}

double WPKAPT(const double& P, const double& t, const double& XQUAL) {
  return RunDriver(
      P, Kelvin(t), XQUAL, false, kDriverRegion5,
      [](const WaterPoint& w) { return -DvDp(w) / Volume(w); }, Fixed(-kCriticalDvDp / kCriticalV));
}

double WPALFP(const double& P, const double& t, const double& XQUAL) {
  return RunDriver(
      P, Kelvin(t), XQUAL, false, kDriverRegion5,
      [](const WaterPoint& w) {
        if (w.region == 3) return IF97R3APR(w.t, w.v);
        return -DvDt(w) / (1000.0 * w.p * DvDp(w));
      },
      // (1/p)(dp/dT)_v is finite at the critical point: IF97's
      // value there, continuous with the region-3 values beside it.
      Fixed(kCriticalDpDtKpa / (1000.0 * kCriticalP)));
}

double WPBETP(const double& P, const double& t, const double& XQUAL) {
  return RunDriver(
      P, Kelvin(t), XQUAL, false, kDriverRegion5,
      [](const WaterPoint& w) { return -1.0 / (1000.0 * w.p * DvDp(w)); },
      Fixed(-1.0 / (1000.0 * kCriticalP * kCriticalDvDp)));
}

double WPCAPP(const double& P) {
  const double p = 0.1 * P;
  if (!(p >= 0.00061 && p <= 22.12)) return kFail;
  if (std::fabs(p - kCriticalP) < 1e-12) return 0.0;
  const double tau = std::max(0.0, 1.0 - SaturationTemperatureEq31(p) / kCriticalT);
  const double sigma = SurfaceTension(tau);
  if (sigma == 0.0) return 0.0;
  const double t = IF97TSAT(p);
  const double v_vapour = p <= 16.52916424 ? IF97R2V(p, t) : IF97V3PTV(p, t);
  const double v_liquid = p <= 16.52916426 ? IF97R1V(p, t) : IF97V3PTL(p, t);
  return CapillaryLength(sigma, v_liquid, v_vapour);
}

double WPCAPT(const double& T) {
  if (!(T >= 273.0 && T <= 647.3)) return kFail;
  if (std::fabs(T - kCriticalT) < 1e-12) return 0.0;
  const double sigma = SurfaceTension(std::max(0.0, 1.0 - T / kCriticalT));
  if (sigma == 0.0) return 0.0;
  const double p = IF97PSAT(T);
  const WaterPoint liquid = SaturatedLiquid(p, T);
  const WaterPoint vapour = SaturatedVapour(p, T);
  return CapillaryLength(sigma, Volume(liquid), Volume(vapour));
}

double WPGIBB(const double& P, const double& t, const double& XQUAL) {
  return RunDriver(
      P, Kelvin(t), XQUAL, true, kDriverRegion5,
      [](const WaterPoint& w) {
        switch (w.region) {
          case 1: return IF97R1G(w.p, w.t);
          case 2: return IF97R2G(w.p, w.t);
          case 3: return IF97R3H(w.t, w.v) - w.t * IF97R3S(w.t, w.v);
          default: return kGasConstant * w.t * (IF97R5GO(w.p, w.t) + IF97R5GR(w.p, w.t));
        }
      },
      Fixed(-767.4546079521));
}

double WPHELM(const double& P, const double& t, const double& XQUAL) {
  return RunDriver(
      P, Kelvin(t), XQUAL, true, kDriverRegion5,
      [](const WaterPoint& w) {
        switch (w.region) {
          case 1: return IF97R1G(w.p, w.t) - 1000.0 * w.p * IF97R1V(w.p, w.t);
          case 2: return IF97R2G(w.p, w.t) - 1000.0 * w.p * IF97R2V(w.p, w.t);
          case 3: return IF97R3F(w.t, w.v);
          default:
            // f = g - p v with p v = R T pi (gamma0_pi + gammar_pi), pi = p/1 MPa.
            return kGasConstant * w.t *
                   ((IF97R5GO(w.p, w.t) + IF97R5GR(w.p, w.t)) -
                    w.p * (IF97R5GOP(w.p, w.t) + IF97R5GRP(w.p, w.t)));
        }
      },
      Fixed(-835.9743659199));
}

double WPJOUL(const double& P, const double& t, const double& XQUAL) {
  return RunDriver(
      P, Kelvin(t), XQUAL, false, kDriverRegion5,
      [](const WaterPoint& w) { return (w.t * DvDt(w) - Volume(w)) / Cp(w); },
      Fixed(0.003638837764369));
}

double WPTHRO(const double& P, const double& t, const double& XQUAL) {
  return RunDriver(
      P, Kelvin(t), XQUAL, false, kDriverRegion5,
      [](const WaterPoint& w) { return Volume(w) - w.t * DvDt(w); },
      // Diverges with dv/dT: the value at the critical dv/dT.
      Fixed(kCriticalV - kCriticalT * kCriticalDvDt));
}

double WPFUGA(const double& P, const double& t, const double& XQUAL) {
  return RunDriver(
      P, Kelvin(t), XQUAL, true, kDriverRegion5,
      [](const WaterPoint& w) {
        switch (w.region) {
          case 1: return 10.0 * IF97R1FUG(w.p, w.t);
          case 2: return 10.0 * IF97R2FUG(w.p, w.t);
          case 3: return 10.0 * IF97R3FUG(w.p, w.t, w.v);
          default: return 10.0 * IF97R5FUG(w.p, w.t);
        }
      },
      Fixed(143.9269593816));
}

double WPVISC(const double& P, const double& T, const double& XQUAL) {
  return RunDriver(
      P, T, XQUAL, false, kViscosityRegion5,
      [](const WaterPoint& w) {
        const double v = Volume(w);
        return WVISC08(w.t, v) * v;
      },
      [](double) { return WVISC08(kCriticalT, kCriticalV) * kCriticalV; });
}

}  // namespace thermomodels
