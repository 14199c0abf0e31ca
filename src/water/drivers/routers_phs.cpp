// Property routers of water by pressure [bar] and specific enthalpy or
// specific entropy: a fixed tree of enthalpy or entropy bands places the
// state in an IF97 region, on the saturation line or under it; the
// temperature (and in region 3 the volume) comes from the backward
// equations, the region-5 temperature from its solve, and the property from
// the region functions there.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "water/backward/backward.h"
#include "water/drivers/drivers.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr double kFailure = -1.0;

// Ranges of the routers.
constexpr double kLowestPressure = 0.00061;  // MPa
constexpr double kHighestPressure = 100.01;  // MPa
constexpr double kLowestEnthalpy = -0.9;     // kJ/kg
constexpr double kHighestEnthalpy = 7400.0;  // kJ/kg
constexpr double kLowestEntropy = -0.03;     // kJ/(kg K)
constexpr double kHighestEntropy = 14.0;     // kJ/(kg K)
// IF97 defines region 5 only up to 50 MPa.
constexpr double kRegion5MaxPressure = 50.0;  // MPa

// Pressure where the saturation line ends at the critical temperature; the
// (p,h) trees count it as subcritical, the (p,s) trees (but the quality
// router) as supercritical.
constexpr double kCriticalPressure = 22.0639999998894;  // MPa
// Saturation pressure at 623.15 K: above it the saturated phases lie in
// region 3.
constexpr double kRegion3BandPressure = 16.5291643;       // MPa
constexpr double kRegion13Temperature = 623.15;           // K, region 1/3 boundary
constexpr double kRegion25Temperature = 1073.15000001;    // K, region 2/5 boundary
constexpr double kRegion5MaxTemperature = 2273.15000001;  // K, top of region 5
// Largest region-5 temperature the (p,h) tree accepts below the band.
constexpr double kRegion5AcceptedTemperature = 2273.16;  // K
constexpr double kLowestLiquidTemperature = 273.15;      // K
constexpr double kCriticalEntropy = 4.41202148223476;    // kJ/(kg K)

// Distance from a saturated phase's enthalpy or entropy that counts as on it.
constexpr double kOnSaturationEnthalpy = 1e-6;  // kJ/kg
constexpr double kOnSaturationEntropy = 1e-8;   // kJ/(kg K)
// Below the band pressure every saturated-vapour enthalpy exceeds 2500
// kJ/kg (least 2500.84 at the lowest pressure) and entropy 5.21 kJ/(kg K)
// (least 5.21095 at the band pressure), and the region-2 entropy at
// 1073.15 K exceeds 7.15 kJ/(kg K) (least 7.1537 at the band pressure):
// below these the tests against them are decided without evaluating them.
constexpr double kBelowSaturatedVapourEnthalpy = 2500.0;  // kJ/kg
constexpr double kBelowSaturatedVapourEntropy = 5.21;     // kJ/(kg K)
constexpr double kBelowRegion25Entropy = 7.15;            // kJ/(kg K)

// Relative distance of p from the region-3 saturation pressure p3sat(h) or
// p3sat(s): on the line, and near enough to compare with the saturated
// region-3 phases.
constexpr double kOnRegion3Saturation = 0.0001;
constexpr double kNearRegion3Saturation = 0.001;
// Keeps a single-phase temperature off the saturation temperature.
constexpr double kOffSaturation = 1e-5;  // K
// Smallest difference of the saturated phases' values the lever rule divides by.
constexpr double kLeverGuard = 1e-32;

// Pressure [MPa] from P [bar], correctly rounded: 220.639999998894 bar is
// then exactly the pressure where the saturation line ends (0.1 x P would
// land one unit in the last place above it).
double PressureMpa(double pressure_bar) { return pressure_bar / 10.0; }

// One phase at which a router evaluates the region functions.
using Phase = RouterPhase;

enum class Kind { kFailure, kOnePhase, kMixture };

// Where a request lies.
struct Route {
  Kind kind = Kind::kFailure;
  double t = kFailure;   // temperature the temperature router returns
  double ts = kFailure;  // saturation temperature; set at and below the critical pressure
  Phase phase{};         // the single phase; the liquid of a mixture
  Phase vapour{};        // the vapour of a mixture
};

// A request as the tree sees it.
struct Request {
  double p;      // MPa
  double y;      // h [kJ/kg] or s [kJ/(kg K)]
  double ts;     // K, kFailure until known
  bool volumes;  // whether region-3 volumes are wanted (not for temperatures)
  double (*region3_volume)(const double&, const double&);  // IF97V3PH or IF97V3PS
};

Route Failed(const Request& q) {
  Route r;
  r.ts = q.ts;
  return r;
}

// A single phase whose router temperature T_REPORTED may differ from the
// temperature T_EVALUATED of its properties.
Route OnePhase(const Request& q, int64_t region, double t_reported, double t_evaluated) {
  Route r = Failed(q);
  r.kind = Kind::kOnePhase;
  r.t = t_reported;
  const double v = (region == 3 && q.volumes) ? q.region3_volume(q.p, q.y) : 0.0;
  r.phase = Phase{region, q.p, t_evaluated, v};
  return r;
}

Route Single(const Request& q, int64_t region, double t) { return OnePhase(q, region, t, t); }

// Saturated liquid (region 1) or vapour (region 2) at Ts below the band.
Route Saturated(const Request& q, bool vapour) { return Single(q, vapour ? 2 : 1, q.ts); }

// On the region-3 part of the saturation line: Ts with the backward volume.
Route Region3Saturation(const Request& q) { return Single(q, 3, q.ts); }

Route Mixture(const Request& q, const Phase& liquid, const Phase& vapour) {
  Route r = Failed(q);
  r.kind = Kind::kMixture;
  r.t = q.ts;
  r.phase = liquid;
  r.vapour = vapour;
  return r;
}

// Two-phase below the band: regions 1 and 2 at Ts.
Route LowMixture(const Request& q) {
  return Mixture(q, Phase{1, q.p, q.ts, 0.0}, Phase{2, q.p, q.ts, 0.0});
}

// Two-phase in the band: the saturated region-3 volumes at Ts.
Route BandMixture(const Request& q) {
  if (!q.volumes) {
    return Mixture(q, Phase{3, q.p, q.ts, 0.0}, Phase{3, q.p, q.ts, 0.0});
  }
  return Mixture(q, Phase{3, q.p, q.ts, IF97V3PTL(q.p, q.ts)},
                 Phase{3, q.p, q.ts, IF97V3PTV(q.p, q.ts)});
}

// Region 5 by its solve; refused above 50 MPa, when the solve does not
// converge (its -1000.0 marker) and above HIGHEST_T.
Route Region5(const Request& q, double (*solve)(const double&, const double&), double highest_t) {
  if (q.p > kRegion5MaxPressure) {
    return Failed(q);
  }
  const double t = solve(q.p, q.y);
  if (!(t > 0.0 && t <= highest_t)) {
    return Failed(q);
  }
  return Single(q, 5, t);
}

// ---------------------------------------------------------------------------
// The (p,h) tree.
// ---------------------------------------------------------------------------

Route Region5FromEnthalpy(const Request& q, double highest_t = HUGE_VAL) {
  return Region5(q, IF97T5PH, highest_t);
}

Route SupercriticalByEnthalpy(const Request& q) {
  const double p = q.p, h = q.y;
  if (h > 2812.94) {
    if (h > IF97R2H(p, kRegion25Temperature)) {
      return Region5FromEnthalpy(q);
    }
    return Single(q, 2, IF97T2PH(p, h));
  }
  if (h < 1553.9) {
    return Single(q, 1, IF97T1PH(p, h));
  }
  if (h <= 1670.858218) {
    if (IF97R1H(p, kRegion13Temperature) >= h) {
      return Single(q, 1, IF97T1PH(p, h));
    }
    return Single(q, 3, IF97T3PH(p, h));
  }
  if (h >= 2563.592004 && h >= IF97R2H(p, IF97B23T(p))) {
    return Single(q, 2, IF97T2PH(p, h));
  }
  return Single(q, 3, IF97T3PH(p, h));
}

Route LowPressureByEnthalpy(const Request& q) {
  const double p = q.p, h = q.y, ts = q.ts;
  if (h > 2803.3) {
    if (h < 4055.0) {
      return Single(q, 2, IF97T2PH(p, h));
    }
    if (h > 4161.0) {
      return Region5FromEnthalpy(q, kRegion5AcceptedTemperature);
    }
    if (IF97R2H(p, kRegion25Temperature) >= h) {
      return Single(q, 2, IF97T2PH(p, h));
    }
    return Region5FromEnthalpy(q);
  }
  if (h >= kBelowSaturatedVapourEnthalpy) {
    const double h_vapour = IF97R2H(p, ts);
    if (std::fabs(h_vapour - h) < kOnSaturationEnthalpy) {
      return Saturated(q, true);
    }
    if (h > h_vapour) {
      return Single(q, 2, std::max(ts + kOffSaturation, IF97T2PH(p, h)));
    }
  }
  const double h_liquid = IF97R1H(p, ts);
  if (std::fabs(h - h_liquid) < kOnSaturationEnthalpy) {
    return Saturated(q, false);
  }
  if (h_liquid > h) {
    return Single(q, 1, std::min(ts - kOffSaturation, IF97T1PH(p, h)));
  }
  return LowMixture(q);
}

// Between the region-3 band pressure and the critical pressure, h at most
// 2563.592004 and from 1670.858218 on: placed against p3sat(h).
Route NearRegion3SaturationByEnthalpy(const Request& q) {
  const double p = q.p, h = q.y, ts = q.ts;
  const double p3 = IF97P3SATH(h);
  const double r = std::fabs((p - p3) / p3);
  if (r <= kOnRegion3Saturation) {
    return Region3Saturation(q);
  }
  if (p < p3 && r > kNearRegion3Saturation) {
    return BandMixture(q);
  }
  const double t3 = IF97T3PH(p, h);
  const double below = std::min(ts - kOffSaturation, t3);
  const double above = std::max(ts + kOffSaturation, t3);
  if (p > p3) {
    return Single(q, 3, h > 2087.5468451 ? above : below);
  }
  // Close under p3sat: the saturated region-3 phases decide; their
  // properties use the backward temperature without the bound.
  const double v_liquid = IF97V3PTL(p, ts);
  const double v_vapour = IF97V3PTV(p, ts);
  if (IF97R3H(ts, v_liquid) > h) {
    return OnePhase(q, 3, below, t3);
  }
  if (h > IF97R3H(ts, v_vapour)) {
    return OnePhase(q, 3, above, t3);
  }
  return Mixture(q, Phase{3, p, ts, v_liquid}, Phase{3, p, ts, v_vapour});
}

Route BandByEnthalpy(const Request& q) {
  const double p = q.p, h = q.y, ts = q.ts;
  if (h > 2650.0) {
    if (h <= 3715.0) {
      return Single(q, 2, IF97T2PH(p, h));
    }
    if (h > 4161.0 || h > IF97R2H(p, kRegion25Temperature)) {
      return Region5FromEnthalpy(q);
    }
    return Single(q, 2, IF97T2PH(p, h));
  }
  if (h <= 1630.0) {
    return Single(q, 1, IF97T1PH(p, h));
  }
  if (h < 1670.858218) {
    if (IF97R1H(p, kRegion13Temperature) >= h) {
      return Single(q, 1, std::min(ts - kOffSaturation, IF97T1PH(p, h)));
    }
    return Single(q, 3, std::min(ts - kOffSaturation, IF97T3PH(p, h)));
  }
  if (h <= 2563.592004) {
    return NearRegion3SaturationByEnthalpy(q);
  }
  if (h >= IF97R2H(p, IF97B23T(p))) {
    return Single(q, 2, IF97T2PH(p, h));
  }
  return Single(q, 3, IF97T3PH(p, h));
}

// Range test: a pressure P [bar] and a value Y inside the router's ranges
// (a value that is not a number fails every comparison).
bool InRange(double p, double y, double lowest_y, double highest_y) {
  return y >= lowest_y && y <= highest_y && p >= kLowestPressure && p <= kHighestPressure;
}

Route RouteByEnthalpy(const double& P, const double& h, bool volumes) {
  Request q{PressureMpa(P), h, kFailure, volumes, IF97V3PH};
  if (!InRange(q.p, h, kLowestEnthalpy, kHighestEnthalpy)) {
    return Failed(q);
  }
  if (q.p > kCriticalPressure) {
    return SupercriticalByEnthalpy(q);
  }
  q.ts = IF97TSAT(q.p);
  return q.p <= kRegion3BandPressure ? LowPressureByEnthalpy(q) : BandByEnthalpy(q);
}

// ---------------------------------------------------------------------------
// The (p,s) tree.  The volume and enthalpy routers take one branch of their
// own (TreeVariant::kVolumeAndEnthalpy).
// ---------------------------------------------------------------------------

enum class TreeVariant { kTemperature, kVolumeAndEnthalpy };

Route Region5FromEntropy(const Request& q) { return Region5(q, IF97T5PS, HUGE_VAL); }

// s above 5.26057871 at or above the band pressure: region 2 up to the
// 1073.15 K isotherm (and always up to 6.039), region 5 up to 2273.15 K.
Route HighEntropy(const Request& q, double t2) {
  const double p = q.p, s = q.y;
  if (s <= 6.039 || s <= IF97R2S(p, kRegion25Temperature)) {
    return Single(q, 2, t2);
  }
  if (s > IF97R5S(p, kRegion5MaxTemperature)) {
    return Failed(q);
  }
  return Region5FromEntropy(q);
}

Route SupercriticalByEntropy(const Request& q) {
  const double p = q.p, s = q.y;
  if (s > 5.26057871) {
    return HighEntropy(q, IF97T2PS(p, s));
  }
  if (s < 3.397) {
    return Single(q, 1, IF97T1PS(p, s));
  }
  if (s < 3.778323559) {
    if (IF97R1S(p, kRegion13Temperature) >= s) {
      return Single(q, 1, IF97T1PS(p, s));
    }
    return Single(q, 3, IF97T3PS(p, s));
  }
  if (s > 5.04809682 && s >= IF97R2S(p, IF97B23T(p))) {
    return Single(q, 2, IF97T2PS(p, s));
  }
  return Single(q, 3, IF97T3PS(p, s));
}

Route LowPressureByEntropy(const Request& q, TreeVariant variant) {
  const double p = q.p, s = q.y, ts = q.ts;
  if (s > 9.156) {
    if (IF97R2S(p, kRegion25Temperature) >= s) {
      return Single(q, 2, IF97T2PS(p, s));
    }
    return Region5FromEntropy(q);
  }
  if (s >= kBelowSaturatedVapourEntropy) {
    const double s_vapour = IF97R2S(p, ts);
    if (std::fabs(s_vapour - s) < kOnSaturationEntropy) {
      return Saturated(q, true);
    }
    if (s > s_vapour) {
      const double t2 = std::max(ts + kOffSaturation, IF97T2PS(p, s));
      if (variant == TreeVariant::kVolumeAndEnthalpy && p > 10.0) {
        return HighEntropy(q, t2);
      }
      if (s >= kBelowRegion25Entropy && s > IF97R2S(p, kRegion25Temperature)) {
        return Region5FromEntropy(q);
      }
      return Single(q, 2, t2);
    }
  }
  const double s_liquid = IF97R1S(p, ts);
  if (std::fabs(s_liquid - s) < kOnSaturationEntropy) {
    return Saturated(q, false);
  }
  if (s_liquid > s) {
    return Single(q, 1, std::min(ts - kOffSaturation, IF97T1PS(p, s)));
  }
  return LowMixture(q);
}

Route BandByEntropy(const Request& q) {
  const double p = q.p, s = q.y, ts = q.ts;
  if (s > 5.26057871) {
    return HighEntropy(q, IF97T2PS(p, s));
  }
  if (s <= 3.706) {
    return Single(q, 1, std::max(kLowestLiquidTemperature, IF97T1PS(p, s)));
  }
  if (s > 5.21095157) {
    if (s >= IF97R2S(p, IF97B23T(p))) {
      return Single(q, 2, IF97T2PS(p, s));
    }
    return Single(q, 3, std::max(ts + kOffSaturation, IF97T3PS(p, s)));
  }
  if (s < 3.778323559) {
    if (IF97R1S(p, kRegion13Temperature) < s) {
      return Single(q, 3, std::min(ts - kOffSaturation, IF97T3PS(p, s)));
    }
    const double t1 = std::max(kLowestLiquidTemperature, IF97T1PS(p, s));
    return Single(q, 1, std::min(ts - kOffSaturation, t1));
  }
  const double p3 = IF97P3SATS(s);
  const double r = std::fabs((p - p3) / p3);
  if (r <= kOnRegion3Saturation) {
    return Region3Saturation(q);
  }
  if (p > p3) {
    const double t3 = IF97T3PS(p, s);
    return Single(q, 3,
                  s <= kCriticalEntropy ? std::min(ts - kOffSaturation, t3)
                                        : std::max(ts + kOffSaturation, t3));
  }
  return BandMixture(q);
}

Route RouteByEntropy(const double& P, const double& s, TreeVariant variant, bool volumes) {
  Request q{PressureMpa(P), s, kFailure, volumes, IF97V3PS};
  if (!InRange(q.p, s, kLowestEntropy, kHighestEntropy)) {
    return Failed(q);
  }
  if (q.p >= kCriticalPressure) {
    return SupercriticalByEntropy(q);
  }
  q.ts = IF97TSAT(q.p);
  return q.p <= kRegion3BandPressure ? LowPressureByEntropy(q, variant) : BandByEntropy(q);
}

// ---------------------------------------------------------------------------
// Values of a route.
// ---------------------------------------------------------------------------

using RegionFunctions = PhaseFunctions;

constexpr const RegionFunctions& kVolume = kPhaseVolume;
constexpr const RegionFunctions& kEnthalpy = kPhaseEnthalpy;
constexpr const RegionFunctions& kEntropy = kPhaseEntropy;

// Vapour fraction of a mixture from the router's input Y and its saturated
// phases' values by BY (enthalpy or entropy); false when the two values
// coincide.
bool MixtureQuality(const Route& r, double y, const RegionFunctions& by, double& x) {
  const double y_liquid = EvaluatePhase(by, r.phase);
  const double y_vapour = EvaluatePhase(by, r.vapour);
  if (std::fabs(y_vapour - y_liquid) < kLeverGuard) {
    return false;
  }
  x = (y - y_liquid) / (y_vapour - y_liquid);
  return true;
}

// Property WANTED of a route: at its single phase, or by the lever rule
// with the vapour fraction from the input Y and the functions BY.
double RouteValue(const Route& r, double y, const RegionFunctions& by,
                  const RegionFunctions& wanted) {
  double x = 0.0;
  switch (r.kind) {
    case Kind::kFailure: break;
    case Kind::kOnePhase: return EvaluatePhase(wanted, r.phase);
    case Kind::kMixture:
      if (MixtureQuality(r, y, by, x)) {
        const double liquid = EvaluatePhase(wanted, r.phase);
        return liquid + x * (EvaluatePhase(wanted, r.vapour) - liquid);
      }
      break;
  }
  return kFailure;
}

// ---------------------------------------------------------------------------
// The quality routers: a shorter tree of their own, one per family.
// ---------------------------------------------------------------------------

struct QualityFamily {
  double lowest, highest;            // range of the input
  RegionFunctions by;                // enthalpy or entropy functions
  double (*p3sat)(const double&);    // IF97P3SATH or IF97P3SATS
  double on_saturation;              // distance counted as on a saturated phase
  double highest_below_band;         // above it no two-phase state below the band
  double band_lowest, band_highest;  // input range of two-phase states in the band
  double line_split;                 // on p3sat: liquid (0) below it, vapour (1) from it on
  bool band_phase_test;              // in the band, refuse inputs beyond the saturated phases
};

constexpr QualityFamily kQualityByEnthalpy{
    kLowestEnthalpy, kHighestEnthalpy, kEnthalpy,   IF97P3SATH,      kOnSaturationEnthalpy,
    2803.3,          1670.858218,      2563.592004, 2087.5468451165, true};
constexpr QualityFamily kQualityByEntropy{
    kLowestEntropy, kHighestEntropy, kEntropy,   IF97P3SATS,       kOnSaturationEntropy,
    9.163,          3.778323559,     5.21095157, kCriticalEntropy, false};

double Quality(const double& P, const double& y, const QualityFamily& f) {
  const double p = PressureMpa(P);
  if (!InRange(p, y, f.lowest, f.highest) || p > kCriticalPressure) {
    return kFailure;
  }
  const double ts = IF97TSAT(p);
  Route r;
  r.kind = Kind::kMixture;
  if (p <= kRegion3BandPressure) {
    if (y > f.highest_below_band) {
      return kFailure;
    }
    r.phase = Phase{1, p, ts, 0.0};
    r.vapour = Phase{2, p, ts, 0.0};
    const double y_vapour = EvaluatePhase(f.by, r.vapour);
    if (std::fabs(y_vapour - y) < f.on_saturation) {
      return 1.0;
    }
    if (y > y_vapour) {
      return kFailure;
    }
    const double y_liquid = EvaluatePhase(f.by, r.phase);
    if (std::fabs(y - y_liquid) < f.on_saturation) {
      return 0.0;
    }
    if (y_liquid > y) {
      return kFailure;
    }
  } else {
    if (y < f.band_lowest || y > f.band_highest) {
      return kFailure;
    }
    const double p3 = f.p3sat(y);
    if (std::fabs((p - p3) / p3) <= kOnRegion3Saturation) {
      return y < f.line_split ? 0.0 : 1.0;
    }
    if (p > p3) {
      return kFailure;
    }
    r.phase = Phase{3, p, ts, IF97V3PTL(p, ts)};
    r.vapour = Phase{3, p, ts, IF97V3PTV(p, ts)};
    if (f.band_phase_test &&
        (EvaluatePhase(f.by, r.phase) > y || y > EvaluatePhase(f.by, r.vapour))) {
      return kFailure;
    }
  }
  double x = kFailure;
  return MixtureQuality(r, y, f.by, x) ? x : kFailure;
}

}  // namespace

double IF97TPH(const double& P, const double& h) { return RouteByEnthalpy(P, h, false).t; }

double IF97VPH(const double& P, const double& h) {
  return RouteValue(RouteByEnthalpy(P, h, true), h, kEnthalpy, kVolume);
}

double IF97SPH(const double& P, const double& h) {
  return RouteValue(RouteByEnthalpy(P, h, true), h, kEnthalpy, kEntropy);
}

double IF97XPH(const double& P, const double& h) { return Quality(P, h, kQualityByEnthalpy); }

double IF97TPS(const double& P, const double& s) {
  return RouteByEntropy(P, s, TreeVariant::kTemperature, false).t;
}

double IF97VPS(const double& P, const double& s) {
  return RouteValue(RouteByEntropy(P, s, TreeVariant::kVolumeAndEnthalpy, true), s, kEntropy,
                    kVolume);
}

double IF97HPS(const double& P, const double& s) {
  return RouteValue(RouteByEntropy(P, s, TreeVariant::kVolumeAndEnthalpy, true), s, kEntropy,
                    kEnthalpy);
}

double IF97XPS(const double& P, const double& s) { return Quality(P, s, kQualityByEntropy); }

void IF97ALLPH(const double& P, const double& h, double& T, double& TSAT, double& X, double& RHO,
               double& CP, double& TCON, double& ETA, double& PRANDTL) {
  T = TSAT = X = RHO = CP = TCON = ETA = PRANDTL = kFailure;
  const Route r = RouteByEnthalpy(P, h, true);
  TSAT = r.ts;
  if (r.kind == Kind::kOnePhase) {
    const PhaseTransport t = TransportAt(r.phase, true);
    T = r.phase.t;
    RHO = 1.0 / t.v;
    CP = t.cp;
    TCON = t.tcon;
    ETA = t.eta;
  } else if (r.kind == Kind::kMixture) {
    T = r.ts;
    double x = 0.0;
    if (!MixtureQuality(r, h, kEnthalpy, x)) {
      return;
    }
    const PhaseTransport liquid = TransportAt(r.phase, true);
    const PhaseTransport vapour = TransportAt(r.vapour, true);
    const double v = liquid.v + x * (vapour.v - liquid.v);
    // Viscosity and conductivity mix by the vapour's volume fraction.
    const double w = x * vapour.v / v;
    X = x;
    RHO = 1.0 / v;
    ETA = liquid.eta + w * (vapour.eta - liquid.eta);
    TCON = liquid.tcon + w * (vapour.tcon - liquid.tcon);
    CP = liquid.cp + x * (vapour.cp - liquid.cp);
  } else {
    return;
  }
  PRANDTL = ETA * CP * 1000.0 / TCON;
}

}  // namespace thermomodels
