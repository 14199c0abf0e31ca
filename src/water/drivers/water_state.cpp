// Bounds, phase side and IF97 region of a water state, and the region-3
// molar-volume search, shared by QUELTRIN_FDREGION and QUELTRIN_ES15D.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "common/common.h"
#include "eos_roots/eos_roots.h"
#include "water/drivers/drivers.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr double kLowestT = 273.15;                 // K
constexpr double kCriticalT = 647.096;              // K
constexpr double kCriticalPsat = 22063999.9998894;  // Pa, psat taken at Tc
constexpr double kHighestP = 1e8;                   // Pa below 1073.15 K
constexpr double kHighestPHot = 5e7;                // Pa from 1073.15 K on
constexpr double kRegion2MaxT = 1073.15;            // K
constexpr double kRegion5MaxT = 2273.15;            // K
constexpr double kRegion1MaxT = 623.15;             // K
constexpr double kRegion3MaxT = 863.15;             // K

// Root-solver settings of the water searches.
constexpr double kCriticalVolume = 18.0152 / 322.0;      // VCMECH [m3/kmol]
constexpr double kLowestVolume = 0.3 * kCriticalVolume;  // VLIM [m3/kmol]
constexpr double kSolverGasConstant = 8314.33;           // J/(kmol K)
constexpr double kSolverRtol = 1e-8;
constexpr double kSolverDpdxmf = 0.1;
constexpr double kVolumeStep = 5e-7;  // m3/kmol, for the difference slope
// The solvers end their own searches (at most 100 iterations); this cap
// only guards the loop against a solver that never reports an end.
constexpr int kMaxSolverCalls = 1000;

// Fixed-point temperature, seven characters with two decimals.
std::string FormatTemperature(double t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%7.2f", t);
  return buf;
}

// Pressure to three significant digits in ten characters.
std::string FormatPressure(double p) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%10.2E", p);
  return buf;
}

constexpr char kIndent[] = "      ";

}  // namespace

double WaterProperty(double T, double P, double V, int32_t kprop, int64_t kphase, int64_t kregion,
                     int64_t& status) {
  double value = kNoValue;
  int64_t ierr = 0;
  DispatchWaterProperty(T, P, V, kprop, kphase, kregion, value, ierr,
                        WaterPath::kThroughDispatcher);
  if (ierr != 0) status = 1;
  return value;
}

namespace {

// A value of the direct path, or the no-value marker with STATUS 1.
double Checked(bool ok, double value, int64_t& status) {
  if (ok && !std::isnan(value)) return value;
  status = 1;
  return kNoValue;
}

// The saturation pressure [Pa] at T [K] (dispatcher code 11).
double SaturationPressure(double T, int64_t kphase, WaterPath path, int64_t& status) {
  if (path == WaterPath::kThroughDispatcher) {
    return WaterProperty(T, 1.0, kNoValue, 11, kphase, 4, status);
  }
  double p = kNoValue;
  const bool ok = SaturationPressurePa(T, p);
  return Checked(ok, p, status);
}

// The region-3 pressure [Pa] at the search's temperature T [K] and molar
// volume V (dispatcher code 14); the direct path along LINE, the isotherm T,
// which only the direct path forms.
double Region3Pressure(double T, const std::optional<Region3PressureLine>& line, double V,
                       int64_t kphase, WaterPath path, int64_t& status) {
  if (path == WaterPath::kThroughDispatcher) {
    return WaterProperty(T, 1.0, V, 14, kphase, 3, status);
  }
  double p = kNoValue;
  const bool ok = line->At(V, p);
  return Checked(ok, p, status);
}

}  // namespace

double MolarVolume(double T, double P, int64_t region, int64_t kphase, WaterPath path,
                   int64_t& status) {
  if (path == WaterPath::kThroughDispatcher) {
    return WaterProperty(T, P, kNoValue, 5, kphase, region, status);
  }
  return Checked(true, RegionDepartures(T, P, kNoValue, region, false, false, false, true).v,
                 status);
}

void ChooseWaterPhaseState(const double& T, const double& P, const int64_t& KVL, bool warn_low_t,
                           const int64_t& LVLPRT, const int32_t& IUNIT, WaterPhaseState& state,
                           WaterPath path) {
  const bool warn = LVLPRT >= 5;
  state = WaterPhaseState{};
  state.temperature_k = T;
  state.pressure_pa = P;
  state.psat_pa = kNoValue;
  state.start_volume = kNoValue;

  if (T < kLowestT) {
    if (warn && warn_low_t) {
      WriteLine(IUNIT, kIndent, "TEMP (=", FormatTemperature(T),
                " K) LESS THAN LOWER BOUND (=", FormatTemperature(kLowestT),
                " K); LOWER BOUND ASSUMED");
    }
    state.temperature_k = kLowestT;
  }
  if (T <= kCriticalT) {
    state.psat_pa = SaturationPressure(state.temperature_k, KVL, path, state.status);
  }
  if (P >= kHighestP || (T >= kRegion2MaxT && P >= kHighestPHot)) {
    const double bound = T < kRegion2MaxT ? kHighestP : kHighestPHot;
    if (warn) {
      WriteLine(IUNIT, kIndent, "PRES (=", FormatPressure(P), " PASCAL) GREATER THAN UPPER ",
                "BOUND (=", FormatPressure(bound), " PASCAL);");
      WriteLine(IUNIT, kIndent, "UPPER BOUND ASSUMED");
    }
    state.pressure_pa = bound;
  }
  double& t = state.temperature_k;
  double& p = state.pressure_pa;

  if (KVL == 1) {
    if ((p <= kHighestP && T <= kRegion2MaxT) || (p <= kHighestPHot && T <= kRegion5MaxT)) {
      if (T <= kCriticalT && state.psat_pa < p) {
        if (warn) {
          WriteLine(IUNIT, kIndent, "PRES (=", FormatPressure(P),
                    " PASCAL) GREATER THAN VAPOR PRES ", "(=", FormatPressure(state.psat_pa),
                    " PASCAL);");
          WriteLine(IUNIT, kIndent, "VAPOR WATER SPECIFIED; PRESSURE = VAPOR PRES ", "ASSUMED");
        }
        p = state.psat_pa;
      }
    } else {
      const double bound = p <= kHighestPHot ? kRegion5MaxT : kRegion2MaxT;
      if (warn) {
        WriteLine(IUNIT, kIndent, "TEMP (=", FormatTemperature(T), " K) GREATER THAN UPPER BOUND ",
                  "(=", FormatTemperature(bound), " K); UPPER BOUND");
        WriteLine(IUNIT, kIndent, "ASSUMED");
      }
      t = bound;
    }
    const double p_b23 = IF97B23P(t) * 1e6;  // Pa
    if (t > kRegion1MaxT && t < kRegion3MaxT && p > p_b23) {
      state.region = 3;
      state.start_mode = 2;
      if (t < kCriticalT) {
        // Start from the vapour on the region boundary at this temperature.
        state.start_mode = 5;
        state.start_volume = MolarVolume(t, p_b23, 2, KVL, path, state.status);
      }
    } else if (t > kRegion2MaxT && t <= kRegion5MaxT && p <= kHighestPHot) {
      state.region = 5;
    } else {
      state.region = 2;
    }
    return;
  }

  if (T > kCriticalT) {
    t = kCriticalT;
    state.psat_pa = kCriticalPsat;
  }
  if (p < state.psat_pa && state.psat_pa != kNoValue) {
    if (warn) {
      WriteLine(IUNIT, kIndent, "PRES (=", FormatPressure(P), " PASCAL) LESS THAN VAPOR PRES ",
                "(=", FormatPressure(state.psat_pa), " PASCAL);");
      WriteLine(IUNIT, kIndent, "LIQUID WATER SPECIFIED; PRESSURE = VAPOR PRES ", "ASSUMED");
    }
    p = state.psat_pa;
    state.raised_to_psat = true;
    state.critical_liquid = t >= kCriticalT;
  }
  if (t <= kRegion1MaxT) {
    state.region = 1;
  } else {
    state.region = 3;
    state.start_mode = t >= kCriticalT ? 2 : 1;
  }
}

void SolveRegion3Volume(const double& T, const double& P, const int64_t& KVL,
                        const int64_t& start_mode, const double& start_volume, const int64_t* MODEL,
                        const int64_t& LVLPRT, const int32_t& IUNIT, double& volume,
                        double& pressure_at_volume, int64_t& status, WaterPath path) {
  const bool liquid = KVL == 2;
  // The difference step points away from the phase: towards larger volumes
  // for the vapour, smaller ones for the liquid.
  const double dv = liquid ? kVolumeStep : -kVolumeStep;
  const double vcut = liquid ? kCriticalVolume : kLowestVolume;
  const double slope0 = kNoValue;
  const int64_t lvlmsg = 0;
  const int64_t iaccpt = 0;

  int64_t irc = 4;
  int64_t iflag = start_mode;
  int64_t istat = 0;
  double v = start_volume;
  double p_at_v = kNoValue;
  double slope = kNoValue;
  bool evaluation_failed = false;

  std::optional<Region3PressureLine> line;
  if (path == WaterPath::kDirect) line.emplace(T);

  PPUTL_ESROOT.iw[esr::LQPURE] = 0;
  PPUTL_ESROOT.iw[esr::VPPURE] = 0;
  PPUTL_ESROOT.iw[liquid ? esr::LQPURE : esr::VPPURE] = -1;
  int calls = 0;
  for (; calls < kMaxSolverCalls; ++calls) {
    if (liquid) {
      LQROOT(irc, iflag, kLowestVolume, kCriticalVolume, vcut, T, P, v, p_at_v, slope, MODEL,
             LVLPRT, lvlmsg, IUNIT, slope0, kSolverGasConstant, kSolverRtol, kSolverDpdxmf,
             PPUTL_ESROOT.iw, PPUTL_ESROOT.rw, iaccpt, istat);
    } else {
      VPROOT(irc, iflag, kLowestVolume, kCriticalVolume, vcut, T, P, v, p_at_v, slope, MODEL,
             LVLPRT, lvlmsg, IUNIT, slope0, kSolverGasConstant, kSolverRtol, kSolverDpdxmf,
             PPUTL_ESROOT.iw, PPUTL_ESROOT.rw, iaccpt, istat);
    }
    if (irc < 1 || irc > 3) break;
    int64_t eval_status = 0;
    if (iflag == 2) {
      // This start mode takes the slope from the solver; only P(V) is needed.
      p_at_v = Region3Pressure(T, line, v, KVL, path, eval_status);
    } else {
      const double p_shifted = Region3Pressure(T, line, v - dv, KVL, path, eval_status);
      p_at_v = Region3Pressure(T, line, v, KVL, path, eval_status);
      slope = (p_at_v - p_shifted) / dv;
    }
    evaluation_failed = eval_status != 0;
  }
  PPUTL_ESROOT.iw[esr::LQPURE] = 0;
  PPUTL_ESROOT.iw[esr::VPPURE] = 0;

  volume = v;
  pressure_at_volume = p_at_v;
  // Only a search the solver reports done, whose last pressure was
  // evaluated, gives a volume the caller can use as a result.
  if (irc != 4 || evaluation_failed) status = 1;
}

}  // namespace thermomodels
