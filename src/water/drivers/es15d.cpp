// The exported equation-of-state interface for pure water: ln fugacity
// coefficient, enthalpy, entropy and Gibbs-energy departures and molar volume
// of the vapour or the liquid, in the form the CPA routine gives them for a
// mixture phase. The liquid is carried beyond the formulation's reach: below
// 273.15 K by linear functions of temperature, above the critical
// temperature by a damped extrapolation from the critical isotherm, and
// below its saturation pressure by correcting the saturated values.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "common/common.h"
#include "water/drivers/drivers.h"

namespace thermomodels {
namespace {

constexpr double kGasConstant = 8314.33;            // J/(kmol K)
constexpr double kCriticalPsat = 22063999.9998894;  // Pa
constexpr double kTriplePointT = 273.15;            // K
constexpr double kAtmosphere = 101325.0;            // Pa

enum PropertyCode : int32_t { kLnPhi = 1, kEnthalpy = 2, kEntropy = 3, kVolume = 5 };

// The five results of one evaluation; kNoValue where not evaluated or failed.
struct WaterEosResults {
  double phi = kNoValue;
  double h = kNoValue;
  double s = kNoValue;
  double g = kNoValue;
  double v = kNoValue;
};

// Which outputs the caller asked for: a flag counts only when exactly 1.
struct WaterEosRequest {
  bool phi, h, s, g, v;
};

bool AllKnown(std::initializer_list<double> values) {
  for (double x : values) {
    if (x == kNoValue) return false;
  }
  return true;
}

// ln(a / b) of two positive numbers, as a difference of logarithms so that
// no quotient overflows or underflows.
double LogRatio(double a, double b) { return std::log(a) - std::log(b); }

// Liquid below 273.15 K: straight lines in t = T - 273.15 K fitted to the
// liquid at the triple point, with the ideal-gas pressure terms at P.
WaterEosResults SubcooledLiquid(double T, double P) {
  const double t = T - kTriplePointT;
  const double ln_p = LogRatio(P, kAtmosphere);  // ln(P / 1 atm)
  WaterEosResults r;
  r.phi = 0.07262363617339673 * t - 5.11026304547219 - ln_p;
  r.h = 42525.9184636176 * t - 45053196.156517;
  r.s = 155.684202995326 * t - 122450.983192132 - kGasConstant * ln_p;
  r.g = 122450.204765424 * t - 11605710.0975863 + kGasConstant * T * ln_p;
  r.v = -1.217974424788659e-06 * t + 0.01801808528519308;
  return r;
}

void WriteRequested(const WaterEosRequest& want, const WaterEosResults& r, double* PHI, double* DH,
                    double* DS, double* DG, double* V) {
  if (want.phi) *PHI = r.phi;
  if (want.h) *DH = r.h;
  if (want.s) *DS = r.s;
  if (want.g) *DG = r.g;
  if (want.v) *V = r.v;
}

// Writes the requested outputs; a requested output without a finite value
// is written as the no-value marker and sets IERR to 1, even when no single
// call on the way reported a failure.
void WriteResults(const WaterEosRequest& want, WaterEosResults r, double* PHI, double* DH,
                  double* DS, double* DG, double* V, int64_t* IERR) {
  bool missing = false;
  auto settle = [&missing](bool wanted, double& x) {
    if (!std::isfinite(x) || x == kNoValue) {
      x = kNoValue;
      missing = missing || wanted;
    }
  };
  settle(want.phi, r.phi);
  settle(want.h, r.h);
  settle(want.s, r.s);
  settle(want.g, r.g);
  settle(want.v, r.v);
  WriteRequested(want, r, PHI, DH, DS, DG, V);
  if (missing) *IERR = 1;
}

// One evaluation at temperature T [K] and pressure P [Pa] in the chosen
// region; region 3 first finds the volume whose pressure is P.
WaterEosResults EvaluateWater(double T, double P, int64_t kvl, int64_t region, int64_t start_mode,
                              double start_volume, bool need_h, bool need_s, bool need_g,
                              bool need_phi, bool need_v, int64_t lvlprt, int32_t iunit,
                              WaterPath path, int64_t& status) {
  WaterEosResults r;
  double volume = kNoValue;  // only read by region-3 properties
  if (region == 3) {
    int64_t model[2];
    std::memcpy(model, kEs15dModelName, sizeof model);
    double p_at_volume = kNoValue;
    SolveRegion3Volume(T, P, kvl, start_mode, start_volume, model, lvlprt, iunit, volume,
                       p_at_volume, status, path);
    r.v = volume;
  }
  const bool need_volume = need_v && region != 3;
  if (path == WaterPath::kThroughDispatcher) {
    if (need_h) r.h = WaterProperty(T, P, volume, kEnthalpy, kvl, region, status);
    if (need_s) r.s = WaterProperty(T, P, volume, kEntropy, kvl, region, status);
    if (need_phi) r.phi = WaterProperty(T, P, volume, kLnPhi, kvl, region, status);
    if (need_volume) r.v = WaterProperty(T, P, volume, kVolume, kvl, region, status);
  } else {
    const WaterDepartures d =
        RegionDepartures(T, P, volume, region, need_h, need_s, need_phi, need_volume);
    auto take = [&status](bool needed, double value, double& out) {
      if (!needed) return;
      out = std::isnan(value) ? kNoValue : value;
      if (std::isnan(value)) status = 1;
    };
    take(need_h, d.h, r.h);
    take(need_s, d.s, r.s);
    take(need_phi, d.phi, r.phi);
    take(need_volume, d.v, r.v);
  }
  // Region-3 entropy is carried to the requested pressure by the ideal-gas
  // term, zero at the critical saturation pressure.
  if (need_s && region == 3 && r.s != kNoValue) r.s += kGasConstant * std::log(P / kCriticalPsat);
  if (need_g && AllKnown({r.h, r.s})) r.g = r.h - T * r.s;
  return r;
}

}  // namespace

void WaterEos(const double& T, const double& P, const int64_t& LVLPRT, const int64_t& KVL,
              const int32_t& IUNIT, const int64_t& KPHI, const int64_t& KH, const int64_t& KS,
              const int64_t& KG, const int64_t& KV, double& PHI, double& DH, double& DS, double& DG,
              double& V, int64_t& IERR, WaterPath path) {
  IERR = 0;
  const WaterEosRequest want{KPHI == 1, KH == 1, KS == 1, KG == 1, KV == 1};
  const double temperature = T;
  const double pressure = P;
  const int64_t kvl = KVL;
  if (!std::isfinite(temperature) || temperature <= 0.0 || !std::isfinite(pressure) ||
      pressure <= 0.0 || (kvl != 1 && kvl != 2)) {
    WriteRequested(want, WaterEosResults{}, &PHI, &DH, &DS, &DG, &V);
    IERR = 1;
    return;
  }
  if (kvl == 2 && temperature < kTriplePointT) {
    WriteResults(want, SubcooledLiquid(temperature, pressure), &PHI, &DH, &DS, &DG, &V, &IERR);
    return;
  }

  // A vapour below the triple point is taken at 273.15 K without a warning.
  WaterPhaseState state;
  ChooseWaterPhaseState(temperature, pressure, kvl, false, LVLPRT, IUNIT, state, path);
  int64_t status = state.status;
  const bool corrected = state.raised_to_psat;      // values at psat carried down to P
  const bool extrapolated = state.critical_liquid;  // values at Tc carried up to T
  const bool need_h = want.h || want.g || corrected;
  const bool need_s = want.s || want.g || corrected;
  const bool need_v = want.v || corrected;
  const double t_used = state.temperature_k;
  const double p_used = state.pressure_pa;

  WaterEosResults r;
  WaterEosResults first;
  // Temperature step of the extrapolation: below Tc for the liquid.
  const double dt = kvl == 1 ? -0.01 : 0.01;
  if (extrapolated) {
    first =
        EvaluateWater(t_used - dt, p_used, kvl, state.region, state.start_mode, state.start_volume,
                      need_h, need_s, false, false, need_v, LVLPRT, IUNIT, path, status);
    r = EvaluateWater(t_used, p_used, kvl, state.region, 5, first.v, need_h, need_s, want.g,
                      want.phi, need_v, LVLPRT, IUNIT, path, status);
  } else {
    r = EvaluateWater(t_used, p_used, kvl, state.region, state.start_mode, state.start_volume,
                      need_h, need_s, want.g, want.phi, need_v, LVLPRT, IUNIT, path, status);
  }

  WaterEosResults out = r;
  const double dtx = temperature - t_used;
  if (extrapolated) {
    // Damped linear extrapolation along the critical isotherm's slopes.
    out.v = AllKnown({r.v, first.v}) ? r.v + dtx * ((r.v - first.v) / dt) / 3000.0 : kNoValue;
    out.g = AllKnown({r.g, r.s}) ? r.g - dtx * r.s / 2000.0 : kNoValue;
    out.s = AllKnown({r.s, first.s}) ? r.s + dtx * ((r.s - first.s) / dt) / 2000.0 : kNoValue;
    out.h = AllKnown({r.h, first.h}) ? r.h + dtx * ((r.h - first.h) / dt) / 2000.0 : kNoValue;
  }
  if (corrected) {
    // Saturated liquid at (T', psat) compressed down to P: ideal-gas term
    // ln(psat/P) plus the liquid's own (P - psat) V work.
    const double psat = p_used;
    const double rt = kGasConstant * temperature;
    out.g = AllKnown({r.h, r.s, r.v})
                ? r.h - temperature * r.s + rt * LogRatio(psat, pressure) + (pressure - psat) * r.v
                : kNoValue;
    out.phi = AllKnown({r.phi, r.h, r.v}) ? r.phi + LogRatio(psat, pressure) -
                                                r.h * dtx / (kGasConstant * temperature * t_used) +
                                                (pressure - psat) * r.v / rt
                                          : kNoValue;
  }
  IERR = status;
  WriteResults(want, out, &PHI, &DH, &DS, &DG, &V, &IERR);
}

}  // namespace thermomodels

extern "C" TM_API void QUELTRIN_ES15D(const double* T, const double* P, const int64_t* LVLPRT,
                                      const int64_t* KVL, const int32_t* IUNIT, const int64_t* KPHI,
                                      const int64_t* KH, const int64_t* KS, const int64_t* KG,
                                      const int64_t* KV, double* PHI, double* DH, double* DS,
                                      double* DG, double* V, int64_t* IERR) {
  thermomodels::WaterEos(*T, *P, *LVLPRT, *KVL, *IUNIT, *KPHI, *KH, *KS, *KG, *KV, *PHI, *DH, *DS,
                         *DG, *V, *IERR, thermomodels::WaterPath::kDirect);
}
