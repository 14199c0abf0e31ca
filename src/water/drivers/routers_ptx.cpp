// Property and transport routers of water by pressure [bar], temperature [K]
// and quality flag XQUAL: each picks the IF97 region of a single phase, or the
// saturated liquid, saturated vapour or two-phase mixture on the saturation
// line, and evaluates the region functions there (in region 3 at the volume
// of the SR5 backward equations).
#include <cmath>
#include <cstdint>

#include "water/backward/backward.h"
#include "water/drivers/drivers.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr double kFailure = -1.0;

constexpr double kCriticalTemperature = 647.096;  // K
// Critical volume 1/322 m3/kg; its inverse is 322.0 exactly in double
// precision, so densities at the critical point come out as 322.0.
constexpr double kCriticalVolume = 0.003105590062111801;  // m3/kg
// Pressure where the saturation line ends at the critical temperature.
constexpr double kSaturationEndPressure = 22.0639999998894;  // MPa

// Saturated phases and mixtures: XQUAL from -1e-5 to 1.00001; within 1e-8
// of 0 the saturated liquid, of 1 the saturated vapour.
constexpr double kLowestQuality = -1e-5;
constexpr double kHighestQuality = 1.00001;
constexpr double kPhaseQualityBand = 1e-8;

// Ranges of the saturation path and the allowed distance of a given
// temperature from the saturation temperature of the given pressure.
constexpr double kSaturationMinT = 273.0;     // K
constexpr double kSaturationMaxT = 647.3;     // K
constexpr double kSaturationMinP = 0.00061;   // MPa
constexpr double kSaturationMaxP = 22.12;     // MPa
constexpr double kSaturationTolerance = 0.1;  // K

// Single-phase ranges and region limits (IF97 region map).
constexpr double kLowestP = 0.00061;               // MPa
constexpr double kHighestP = 100.01;               // MPa
constexpr double kLowestT = 273.0;                 // K
constexpr double kRegion1MaxT = 623.15;            // K
constexpr double kRegion1MinPAbove = 16.52916426;  // MPa: above it region 1 at T <= 623.15 K
constexpr double kRegion3MinP = 16.52916424;       // MPa
constexpr double kRegion3MaxT = 863.15;            // K
constexpr double kRegion2MaxT = 1073.15;           // K

// Region-5 limits of a router: the property routers accept up to 2273.2 K
// and 50.1 MPa held in single precision (so exactly 50.1 MPa is refused);
// the volume-derivative routers up to 50.01 MPa; the transport routers up
// to 1173.2 K and 50.01 MPa.
struct Region5Limits {
  double t_max;  // K
  double p_max;  // MPa
};
constexpr Region5Limits kPropertyLimits{2273.2, 50.099998474121094};
constexpr Region5Limits kDerivativeLimits{2273.2, 50.01};
constexpr Region5Limits kTransportLimits{1173.2, 50.01};

// One phase at which a router evaluates its region function.
using Phase = RouterPhase;

// Where a request lies after the range and phase tests.
enum class Route { kFailure, kOnePhase, kMixture, kCriticalPoint };
struct Routed {
  Route route;
  bool saturated_phase;  // XQUAL within 1e-8 of 0 or 1
  double quality;        // XQUAL
  Phase phase;           // the single or saturated phase; the liquid of a mixture
  Phase vapour;          // the vapour of a mixture
};

Phase CriticalPhase() {
  return Phase{3, kSaturationEndPressure, kCriticalTemperature, kCriticalVolume};
}

Phase SinglePhase(int64_t region, double p, double t) {
  return Phase{region, p, t, region == 3 ? IF97V3PT(p, t) : 0.0};
}

// Saturated liquid or vapour at (p, T): regions 1 and 2 up to 623.15 K,
// above it region 3 at the side's backward volume.
Phase SaturatedPhase(bool vapour, double p, double t) {
  if (t <= kRegion1MaxT) {
    return Phase{vapour ? 2 : 1, p, t, 0.0};
  }
  return Phase{3, p, t, vapour ? IF97V3PTV(p, t) : IF97V3PTL(p, t)};
}

Routed Failed() { return Routed{Route::kFailure, false, 0.0, {}, {}}; }

// Region of a single phase at p [MPa] and T [K].
Routed RouteSinglePhase(double p, double t, const Region5Limits& limits) {
  if (!(p >= kLowestP && p <= kHighestP) || !(t >= kLowestT)) {
    return Failed();
  }
  int64_t region = 2;
  if (t <= kRegion1MaxT) {
    region = (p > kRegion1MinPAbove || p >= IF97PSAT(t)) ? 1 : 2;
  } else if (t > kRegion2MaxT) {
    if (t > limits.t_max || p > limits.p_max) {
      return Failed();
    }
    region = 5;
  } else if (t < kRegion3MaxT && p >= kRegion3MinP && p > IF97B23P(t)) {
    region = 3;
  }
  return Routed{Route::kOnePhase, false, 0.0, SinglePhase(region, p, t), {}};
}

// Saturation path.  A negative pressure or temperature is not given and is
// taken from the saturation line.
Routed RouteSaturation(double p, double t, double quality) {
  const bool liquid = std::fabs(quality) < kPhaseQualityBand;
  const bool vapour = std::fabs(quality - 1.0) < kPhaseQualityBand;
  const Routed critical{Route::kCriticalPoint, liquid || vapour, quality, CriticalPhase(), {}};
  const bool t_in_range = t >= kSaturationMinT && t <= kSaturationMaxT;
  const bool p_in_range = p >= kSaturationMinP && p <= kSaturationMaxP;
  if (p < 0.0) {
    if (!t_in_range) {
      return Failed();
    }
    if (t >= kCriticalTemperature) {
      return critical;
    }
    p = IF97PSAT(t);
  } else if (t < 0.0) {
    if (!p_in_range) {
      return Failed();
    }
    if (p >= kSaturationEndPressure) {
      return critical;
    }
    t = IF97TSAT(p);
  } else {
    if (!t_in_range || !p_in_range) {
      return Failed();
    }
    // A given pair must lie on the saturation line, the critical end
    // included (the saturation temperature continues past the critical
    // pressure): without this test 0.1 MPa and 647.2 K would be answered
    // with the critical point's value.
    if (!(std::fabs(t - IF97TSAT(p)) <= kSaturationTolerance)) {
      return Failed();
    }
    if (t >= kCriticalTemperature || p >= kSaturationEndPressure) {
      return critical;
    }
  }
  if (liquid || vapour) {
    return Routed{Route::kOnePhase, true, quality, SaturatedPhase(vapour, p, t), {}};
  }
  return Routed{Route::kMixture, false, quality, SaturatedPhase(false, p, t),
                SaturatedPhase(true, p, t)};
}

Routed RouteRequest(const double& pressure_bar, const double& temperature_k, const double& quality,
                    const Region5Limits& limits) {
  const double p = 0.1 * pressure_bar;
  if (quality < kLowestQuality) {
    return RouteSinglePhase(p, temperature_k, limits);
  }
  // Also refuses a quality that is not a number.
  if (!(quality <= kHighestQuality)) {
    return Failed();
  }
  // A pressure or temperature that is not a number is never "not given".
  if (std::isnan(p) || std::isnan(temperature_k)) {
    return Failed();
  }
  return RouteSaturation(p, temperature_k, quality);
}

// ---------------------------------------------------------------------------
// Property routers.
// ---------------------------------------------------------------------------

// Mixture band: lever rule (group A) or refused (group B, which at the
// critical point also serves only XQUAL 0 or 1).
enum class Mixing { kLever, kSaturatedOnly };

// Value of one property at one phase: the region functions by (p, T) in
// regions 1, 2 and 5 and by (T, v) in region 3.
using RegionFunctions = PhaseFunctions;

// Result of a property route: failed, or a value (flagged when it is the
// critical point's).
struct Answer {
  bool ok;
  bool critical;
  double value;
};

template <class PhaseValue>
Answer RouteProperty(const double& P, const double& T, const double& XQUAL, Mixing mixing,
                     const Region5Limits& limits, const PhaseValue& phase_value) {
  const Routed r = RouteRequest(P, T, XQUAL, limits);
  switch (r.route) {
    case Route::kFailure: break;
    case Route::kOnePhase: return Answer{true, false, phase_value(r.phase)};
    case Route::kCriticalPoint:
      if (mixing == Mixing::kSaturatedOnly && !r.saturated_phase) {
        break;
      }
      return Answer{true, true, phase_value(r.phase)};
    case Route::kMixture: {
      if (mixing == Mixing::kSaturatedOnly) {
        break;
      }
      const double liquid = phase_value(r.phase);
      const double vapour = phase_value(r.vapour);
      return Answer{true, false, liquid + r.quality * (vapour - liquid)};
    }
  }
  return Answer{false, false, kFailure};
}

double RouteFunctions(const double& P, const double& T, const double& XQUAL, Mixing mixing,
                      const Region5Limits& limits, const RegionFunctions& functions) {
  return RouteProperty(P, T, XQUAL, mixing, limits,
                       [&functions](const Phase& phase) { return EvaluatePhase(functions, phase); })
      .value;
}

// A derivative router whose value at the critical point is a fixed number.
double RouteDerivative(const double& P, const double& T, const double& XQUAL,
                       const RegionFunctions& functions, double critical_value) {
  const Answer a =
      RouteProperty(P, T, XQUAL, Mixing::kSaturatedOnly, kDerivativeLimits,
                    [&functions](const Phase& phase) { return EvaluatePhase(functions, phase); });
  return a.critical ? critical_value : a.value;
}

constexpr const RegionFunctions& kVolume = kPhaseVolume;
constexpr const RegionFunctions& kEnthalpy = kPhaseEnthalpy;
constexpr const RegionFunctions& kEntropy = kPhaseEntropy;
constexpr RegionFunctions kInternalEnergy{IF97R1U, IF97R2U, IF97R3U, IF97R5U};
constexpr RegionFunctions kVolumeByTemperature{IF97R1DVT, IF97R2DVT, IF97R3DVT, IF97R5DVT};
constexpr RegionFunctions kVolumeByPressure{IF97R1DVP, IF97R2DVP, IF97R3DVP, IF97R5DVP};
// IF97R3CP gives the magnitude of region 3's cp formula.
constexpr const RegionFunctions& kIsobaricHeat = kPhaseIsobaricHeat;
constexpr RegionFunctions kIsochoricHeat{IF97R1CV, IF97R2CV, IF97R3CV, IF97R5CV};
constexpr RegionFunctions kSoundSpeed{IF97R1W, IF97R2W, IF97R3W, IF97R5W};
constexpr RegionFunctions kIsentropicExponent{IF97R1KAP, IF97R2KAP, IF97R3KAP, IF97R5KAP};

// (dv/dT)_p and (dv/dp)_T returned at the critical point, where both diverge.
constexpr double kCriticalVolumeByTemperature = kCriticalDvDt;  // m3/(kg K)
constexpr double kCriticalVolumeByPressure = kCriticalDvDp;     // m3/(kg kPa)

// Dead state of the exergy: liquid water at 0.101325 MPa.
constexpr double kDeadStatePressure = 0.101325;  // MPa

// ---------------------------------------------------------------------------
// Transport routers.
// ---------------------------------------------------------------------------

// Specific volume [m3/kg] of a routed phase in any region.
double PhaseVolume(const Phase& phase) { return EvaluatePhase(kVolume, phase); }

// The saturated phase or single phase of a transport request, or nothing:
// a mixture, a critical request that is not for XQUAL 0 or 1 and every
// range failure.
bool TransportPhase(const double& P, const double& T, const double& XQUAL, Phase& phase) {
  const Routed r = RouteRequest(P, T, XQUAL, kTransportLimits);
  const bool served =
      r.route == Route::kOnePhase || (r.route == Route::kCriticalPoint && r.saturated_phase);
  if (served) {
    phase = r.phase;
  }
  return served;
}

}  // namespace

double IF97VPTX(const double& P, const double& T, const double& XQUAL) {
  return RouteFunctions(P, T, XQUAL, Mixing::kLever, kPropertyLimits, kVolume);
}

double IF97HPTX(const double& P, const double& T, const double& XQUAL) {
  return RouteFunctions(P, T, XQUAL, Mixing::kLever, kPropertyLimits, kEnthalpy);
}

double IF97SPTX(const double& P, const double& T, const double& XQUAL) {
  return RouteFunctions(P, T, XQUAL, Mixing::kLever, kPropertyLimits, kEntropy);
}

double IF97RHOPTX(const double& P, const double& T, const double& XQUAL) {
  // A mixture's density is the inverse of its lever-rule volume.
  const Answer a = RouteProperty(P, T, XQUAL, Mixing::kLever, kPropertyLimits,
                                 [](const Phase& phase) { return EvaluatePhase(kVolume, phase); });
  return a.ok ? 1.0 / a.value : kFailure;
}

double IF97UPTX(const double& P, const double& T, const double& XQUAL) {
  return RouteFunctions(P, T, XQUAL, Mixing::kLever, kPropertyLimits, kInternalEnergy);
}

double IF97EXPTX(const double& P, const double& T, const double& XQUAL, const double& T0) {
  // A dead-state temperature that is not a positive number has no exergy.
  if (!(T0 > 0.0) || !std::isfinite(T0)) {
    return kFailure;
  }
  const double h0 = IF97R1H(kDeadStatePressure, T0);
  const double s0 = IF97R1S(kDeadStatePressure, T0);
  return RouteProperty(P, T, XQUAL, Mixing::kLever, kPropertyLimits,
                       [&](const Phase& phase) {
                         return (EvaluatePhase(kEnthalpy, phase) - h0) -
                                T0 * (EvaluatePhase(kEntropy, phase) - s0);
                       })
      .value;
}

double IF97DVTPTX(const double& P, const double& T, const double& XQUAL) {
  return RouteDerivative(P, T, XQUAL, kVolumeByTemperature, kCriticalVolumeByTemperature);
}

double IF97DVPPTX(const double& P, const double& T, const double& XQUAL) {
  return RouteDerivative(P, T, XQUAL, kVolumeByPressure, kCriticalVolumeByPressure);
}

double IF97CPPTX(const double& P, const double& T, const double& XQUAL) {
  return RouteFunctions(P, T, XQUAL, Mixing::kSaturatedOnly, kPropertyLimits, kIsobaricHeat);
}

double IF97CVPTX(const double& P, const double& T, const double& XQUAL) {
  return RouteFunctions(P, T, XQUAL, Mixing::kSaturatedOnly, kPropertyLimits, kIsochoricHeat);
}

double IF97WPTX(const double& P, const double& T, const double& XQUAL) {
  return RouteFunctions(P, T, XQUAL, Mixing::kSaturatedOnly, kPropertyLimits, kSoundSpeed);
}

double IF97KAPPTX(const double& P, const double& T, const double& XQUAL) {
  return RouteFunctions(P, T, XQUAL, Mixing::kSaturatedOnly, kPropertyLimits, kIsentropicExponent);
}

double IF97LAMPTX(const double& P, const double& T, const double& XQUAL) {
  Phase phase{};
  if (!TransportPhase(P, T, XQUAL, phase)) {
    return kFailure;
  }
  double cp = -1.0;
  double cv = -1.0;
  double eta = -1.0;
  double tcon = -1.0;
  WTCON11(phase.p, phase.t, PhaseVolume(phase), phase.region, cp, cv, eta, tcon);
  return tcon;
}

double IF97ETAPTX(const double& P, const double& T, const double& XQUAL) {
  Phase phase{};
  if (!TransportPhase(P, T, XQUAL, phase)) {
    return kFailure;
  }
  return WVISC08(phase.t, PhaseVolume(phase));
}

double IF97NUPTX(const double& P, const double& T, const double& XQUAL) {
  Phase phase{};
  if (!TransportPhase(P, T, XQUAL, phase)) {
    return kFailure;
  }
  const double v = PhaseVolume(phase);
  return WVISC08(phase.t, v) * v;
}

double IF97PRNPTX(const double& P, const double& T, const double& XQUAL) {
  Phase phase{};
  if (!TransportPhase(P, T, XQUAL, phase)) {
    return kFailure;
  }
  const PhaseTransport t = TransportAt(phase, true);
  return t.eta * t.cp * 1000.0 / t.tcon;
}

double IF97ALFPTX(const double& P, const double& T, const double& XQUAL) {
  Phase phase{};
  if (!TransportPhase(P, T, XQUAL, phase)) {
    return kFailure;
  }
  const PhaseTransport t = TransportAt(phase, false);
  return t.tcon * t.v / (t.cp * 1000.0);
}

void IF97TRNPTX(double& TCON, double& ETA, double& CP, double& RHO, const double& P,
                const double& T, const double& XQUAL) {
  TCON = kFailure;
  ETA = kFailure;
  CP = kFailure;
  RHO = kFailure;
  Phase phase{};
  if (!TransportPhase(P, T, XQUAL, phase)) {
    return;
  }
  const PhaseTransport t = TransportAt(phase, true);
  TCON = t.tcon;
  ETA = t.eta;
  CP = t.cp;
  RHO = 1.0 / t.v;
}

}  // namespace thermomodels
