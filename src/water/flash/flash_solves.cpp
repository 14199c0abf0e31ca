// The solve kinds both water flashes are built from. Each is one run of
// FLSOLVE (or a nested pair of runs) with a fixed variable, range, start,
// tolerance and function; the flashes differ only in the energy matched.
//
// Every start is the middle of the solve's range computed in double
// precision: the solver's first step goes up or down depending on that
// exact value, so the path of every solve is fixed by the range alone.
#include <cmath>

#include "water/flash/flash.h"
#include "water/if97/if97.h"

namespace thermomodels {

const FlashEnergy kFlashEnthalpy{IF97R1H, IF97R2H, IF97R3H, IF97R5H};
const FlashEnergy kFlashInternalEnergy{IF97R1U, IF97R2U, IF97R3U, IF97R5U};

namespace {

// Tolerances: single and outer solves, inner solves of a pair (and one
// edge solve), and the B23 pressure solve.
constexpr double kTolerance = kFlashTolerance;
constexpr double kInnerTolerance = 1e-8;
constexpr double kB23Tolerance = 1e-10;

// Range of the B23 pressure solve [MPa]: just above pB23(623.15 K) to 100.
constexpr double kB23PressureMin = 16.5292;
// Upper end of the region-3 isochore solves [K]: 10 mK above the 863.15 K
// end of the B23 line.
constexpr double kIsochoreTemperatureMax = 863.16;
// Lowest temperature of region 3 [K].
constexpr double kRegion3TemperatureMin = 623.15;
// Quality given where the two region-3 saturated volumes coincide: the
// limit of the lever rule on the critical isochore.
constexpr double kCriticalQuality = 0.5;
// Saturated volumes closer than this [m3/kg] are taken as the critical
// point. Within about 1e-6 K of 647.096 K the region-3 volume iteration
// returns the two sides a few 1e-9 to 2e-8 m3/kg apart, at the level of its
// own resolution (and 4e-9 apart at 647.096 K, where they should meet);
// from 1e-5 K below the dome is wider than 5e-6 m3/kg.
constexpr double kCriticalVolumeGap = 1e-7;

double Middle(double lo, double hi) { return (lo + hi) / 2; }

// One run of FLSOLVE in `state` from the start already in it, counting the
// evaluations of the call.
template <typename F>
double RunFrom(FlashCall& c, FlashSolveState& state, double target, double lo, double hi,
               double tol, F&& f) {
  FLSOLVE(
      state,
      [&](double x) {
        ++c.evaluations;
        return f(x);
      },
      target, lo, hi, tol);
  return state.result;
}

// One run from the middle of the range, in the outer record.
template <typename F>
double Run(FlashCall& c, double target, double lo, double hi, double tol, F&& f) {
  c.outer.current = Middle(lo, hi);
  return RunFrom(c, c.outer, target, lo, hi, tol, f);
}

// Writes the outputs of a solve ending, or the failure when its result is
// the cap marker.
void End(FlashCall& c, FlashEnding ending, double p, double t) {
  if (p == kFlashNotConverged || t == kFlashNotConverged) {
    c.Fail();
    return;
  }
  c.p = p;
  c.t = t;
  c.ending = ending;
}

struct PairRanges {
  double p_hi, t_lo, t_hi;
  FlashEnding ending;
};

PairRanges RangesOf(FlashRegion region) {
  switch (region) {
    case FlashRegion::kRegion1:
      return {kFlashPressureMax, kFlashTemperatureMin, kFlashRegion1TemperatureMax,
              FlashEnding::kLiquidPair};
    case FlashRegion::kRegion2:
      return {kFlashPressureMax, kFlashTemperatureMin, kFlashRegion2TemperatureMax,
              FlashEnding::kVapourPair};
    case FlashRegion::kRegion5: break;
  }
  return {kFlashRegion5PressureMax, kFlashRegion2TemperatureMax, kFlashRegion5TemperatureMax,
          FlashEnding::kRegion5Pair};
}

}  // namespace

void FlashCall::Reject() {
  p = t = x = -1.0;
  ending = FlashEnding::kRejected;
}

void FlashCall::Fail() {
  p = t = x = kFlashNotConverged;
  ending = FlashEnding::kNotConverged;
}

void FlashCall::Report(FlashResult& r) const {
  r.p = p;
  r.t = t;
  r.x = x;  // written only by the two-phase solves and the endings
  r.ending = ending;
  r.evaluations = evaluations;
}

bool FlashInBox(double v, double e, double v_min, double v_max, double e_min, double e_max) {
  return std::isfinite(v) && std::isfinite(e) && !(v > v_max) && !(v < v_min) && !(e > e_max) &&
         !(e < e_min);
}

void FlashWriteOutputs(const FlashResult& r, double& P, double& T, double& X) {
  P = r.p;
  T = r.t;
  X = r.x;
}

double FlashPressureBar(const FlashResult& r) { return r.p > 0.0 ? 10.0 * r.p : -1.0; }

double FlashVolume(FlashRegion region, double p, double t) {
  switch (region) {
    case FlashRegion::kRegion1: return IF97R1V(p, t);
    case FlashRegion::kRegion2: return IF97R2V(p, t);
    case FlashRegion::kRegion5: break;
  }
  return IF97R5V(p, t);
}

double FlashEnergyOf(const FlashEnergy& energy, FlashRegion region, double p, double t) {
  switch (region) {
    case FlashRegion::kRegion1: return energy.region1(p, t);
    case FlashRegion::kRegion2: return energy.region2(p, t);
    case FlashRegion::kRegion5: break;
  }
  return energy.region5(p, t);
}

void FlashNestedPair(FlashCall& c, FlashRegion region) {
  const PairRanges r = RangesOf(region);
  c.inner.current = Middle(r.t_lo, r.t_hi);  // later inner runs start where the last stopped
  const double p = Run(c, c.v, kFlashPressureMin, r.p_hi, kTolerance, [&](double trial_p) {
    RunFrom(c, c.inner, c.e, r.t_lo, r.t_hi, kInnerTolerance,
            [&](double trial_t) { return FlashEnergyOf(c.energy, region, trial_p, trial_t); });
    return FlashVolume(region, trial_p, c.inner.current);
  });
  End(c, r.ending, p, c.inner.result);
  if (c.ending != FlashEnding::kNotConverged) return;
  // A state on an end of the temperature range (273.15 K, 623.15 K,
  // 1073.15 K, 2273.15 K) has its inner root at that end: the outer trials
  // on one side of its pressure ask for a temperature beyond the range, and
  // the inner run at the last of them may stop at its cap. Such a state is
  // placed on the isotherm of that end, when its energy there matches e
  // within the solve tolerance.
  for (const double t_end : {r.t_lo, r.t_hi}) {
    const double p_end = Run(c, c.v, kFlashPressureMin, r.p_hi, kTolerance,
                             [&](double trial_p) { return FlashVolume(region, trial_p, t_end); });
    if (p_end == kFlashNotConverged) continue;
    const double e_end = FlashEnergyOf(c.energy, region, p_end, t_end);
    if (std::fabs(e_end - c.e) <= kTolerance * std::fmax(std::fabs(c.e), 1.0)) {
      c.x = -1.0;
      return End(c, r.ending, p_end, t_end);
    }
  }
}

void FlashWetBelow623(FlashCall& c, bool pressure_of_last_trial) {
  const double t = Run(c, c.e, kFlashTemperatureMin, kFlashRegion1TemperatureMax, kTolerance,
                       [&](double trial_t) {
                         const double ps = IF97PSAT(trial_t);
                         c.saturation_pressure = ps;
                         const double v_liq = IF97R1V(ps, trial_t);
                         const double v_vap = IF97R2V(ps, trial_t);
                         c.x = (c.v - v_liq) / (v_vap - v_liq);
                         const double e_liq = c.energy.region1(ps, trial_t);
                         const double e_vap = c.energy.region2(ps, trial_t);
                         return e_liq + c.x * (e_vap - e_liq);
                       });
  End(c, FlashEnding::kWetBelow623, pressure_of_last_trial ? c.saturation_pressure : IF97PSAT(t),
      t);
}

void FlashWetRegion3(FlashCall& c, double t_lo) {
  double width = 0.0;  // v'' - v' of the last trial
  const double t = Run(c, c.e, t_lo, kFlashCriticalTemperature, kTolerance, [&](double trial_t) {
    const double ps = IF97PSAT(trial_t);
    c.saturation_pressure = ps;
    const double v_liq = IF97R3VITL(ps, trial_t);
    const double v_vap = IF97R3VITV(ps, trial_t);
    width = v_vap - v_liq;
    // Where the two volumes meet the lever rule has no
    // width to divide by.
    c.x = width > 0.0 ? (c.v - v_liq) / width : kCriticalQuality;
    const double e_liq = c.energy.region3(trial_t, v_liq);
    const double e_vap = c.energy.region3(trial_t, v_vap);
    return e_liq + c.x * (e_vap - e_liq);
  });
  // A result whose saturated volumes are not resolved apart is the critical
  // point: its quality is not defined by them.
  if (t != kFlashNotConverged && !(width > kCriticalVolumeGap)) c.x = kCriticalQuality;
  End(c, FlashEnding::kWetRegion3, IF97PSAT(t), t);
}

void FlashRegion3Isochore(FlashCall& c, double t_lo, double tol) {
  const double t = Run(c, c.e, t_lo, kIsochoreTemperatureMax, tol,
                       [&](double trial_t) { return c.energy.region3(trial_t, c.v); });
  End(c, FlashEnding::kRegion3Isochore, IF97R3P(t, c.v), t);
}

double FlashSaturatedVapourTemperature(FlashCall& c) {
  Run(c, c.v, kFlashTemperatureMin, kFlashRegion1TemperatureMax, kTolerance, [&](double trial_t) {
    c.saturation_pressure = IF97PSAT(trial_t);
    return IF97R2V(c.saturation_pressure, trial_t);
  });
  return c.outer.current;
}

double FlashRegion3SaturatedTemperature(FlashCall& c, bool liquid_side) {
  return Run(c, c.v, kRegion3TemperatureMin, kFlashCriticalTemperature, kTolerance,
             [&](double trial_t) {
               const double ps = IF97PSAT(trial_t);
               return liquid_side ? IF97R3VITL(ps, trial_t) : IF97R3VITV(ps, trial_t);
             });
}

double FlashRegion3Isobar100(FlashCall& c, double t_hi, double tol) {
  return Run(c, c.e, kRegion3TemperatureMin, t_hi, tol, [&](double trial_t) {
    c.region3_volume = IF97R3VIT(kFlashPressureMax, trial_t);
    return c.energy.region3(trial_t, c.region3_volume);
  });
}

double FlashB23PressureSolve(FlashCall& c) {
  return Run(c, c.v, kB23PressureMin, kFlashPressureMax, kB23Tolerance, [&](double trial_p) {
    c.boundary = IF97B23T(trial_p);
    return IF97R3VIT(trial_p, c.boundary);
  });
}

double FlashB23TemperatureSolve(FlashCall& c, double t_hi) {
  return Run(c, c.e, kRegion3TemperatureMin, t_hi, kTolerance, [&](double trial_t) {
    c.boundary = IF97B23P(trial_t);
    return c.energy.region3(trial_t, IF97R3VIT(c.boundary, trial_t));
  });
}

double FlashSaturatedLiquidPressure(FlashCall& c, double p_hi) {
  return Run(c, c.e, kFlashPressureMin, p_hi, kTolerance, [&](double trial_p) {
    c.saturation_temperature = IF97TSAT(trial_p);
    return c.energy.region1(trial_p, c.saturation_temperature);
  });
}

double FlashIsobarTemperature(FlashCall& c, FlashRegion region, double p, double t_lo, double t_hi,
                              double tol) {
  return Run(c, c.e, t_lo, t_hi, tol,
             [&](double trial_t) { return FlashEnergyOf(c.energy, region, p, trial_t); });
}

double FlashIsothermPressure(FlashCall& c, FlashRegion region, double t, double p_lo, double p_hi,
                             bool match_energy) {
  if (match_energy) {
    return Run(c, c.e, p_lo, p_hi, kTolerance,
               [&](double trial_p) { return FlashEnergyOf(c.energy, region, trial_p, t); });
  }
  return Run(c, c.v, p_lo, p_hi, kTolerance,
             [&](double trial_p) { return FlashVolume(region, trial_p, t); });
}

}  // namespace thermomodels
