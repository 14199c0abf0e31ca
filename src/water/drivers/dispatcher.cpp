// The exported water property dispatcher: one property of pure water per
// call, by property code and IF97 region code, in molar SI units. It never
// chooses a region; region code 4 hands the state to the saturation routers.
#include <cmath>
#include <cstdint>

#include "common/common.h"
#include "water/backward/backward.h"
#include "water/drivers/drivers.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

constexpr double kMolarMass = kWaterMolarMass;         // kg/kmol
constexpr double kEnergyFactor = 1000.0 * kMolarMass;  // kJ/kg -> J/kmol
constexpr double kGasConstant = 8314.41;               // J/(kmol K)
constexpr double kReferenceT = 298.15;                 // K, zero of the departures
constexpr double kWaterFailure = -1.0;                 // failure value of the callees

enum PropertyCode : int32_t {
  kLnFugacityCoefficient = 1,
  kEnthalpy,
  kEntropy,
  kGibbs,
  kVolume,
  kViscosity,
  kConductivity,
  kSurfaceTension,
  kCp,
  kCv,
  kVapourPressure,
  kInternalEnergy,
  kSpeedOfSound,
  kPressureFromTV,
  kSaturationTemperature
};

// Ideal-gas terms subtracted from the departures: R T0 H0 [J/kmol], R S0 and
// R CP0 [J/(kmol K)], with H0 = H/(RT), S0 = S/R, CP0 = CP/R of IDEALHGK at T0.
struct IdealGasReference {
  double rt0_h0;
  double r_s0;
  double r_cp0;
};

IdealGasReference ReferenceIdealGas() {
  double a, g, s, u, h, cv, cp;
  int64_t untouched = 0;
  IDEALHGK(kReferenceT, a, g, s, u, h, cv, cp, untouched);
  const double rt0 = kGasConstant * kReferenceT;
  return {rt0 * h, kGasConstant * s, kGasConstant * cp};
}

// The reference is the same for every call: evaluated once, at the first
// call that needs it (also safe from another library's static initializers).
const IdealGasReference& IdealGasAt298() {
  static const IdealGasReference reference = ReferenceIdealGas();
  return reference;
}

// The region-1/2/5 function of a (p [MPa], T) property, by region code.
using PtFunction = double (*)(const double&, const double&);
using TvFunction = double (*)(const double&, const double&);
using RouterFunction = double (*)(const double&, const double&, const double&);

struct RegionFunctions {
  PtFunction region1, region2, region5;
  TvFunction region3;
  RouterFunction router;
};

constexpr RegionFunctions kEnthalpyFunctions{IF97R1H, IF97R2H, IF97R5H, IF97R3H, IF97HPTX};
constexpr RegionFunctions kEntropyFunctions{IF97R1S, IF97R2S, IF97R5S, IF97R3S, IF97SPTX};
constexpr RegionFunctions kCpFunctions{IF97R1CP, IF97R2CP, IF97R5CP, IF97R3CP, IF97CPPTX};
constexpr RegionFunctions kCvFunctions{IF97R1CV, IF97R2CV, IF97R5CV, IF97R3CV, IF97CVPTX};
constexpr RegionFunctions kEnergyFunctions{IF97R1U, IF97R2U, IF97R5U, IF97R3U, IF97UPTX};
constexpr RegionFunctions kSoundFunctions{IF97R1W, IF97R2W, IF97R5W, IF97R3W, IF97WPTX};
// The volume of region 3 comes from (p, T) by its backward equation: that
// entry is not read (the dispatch below calls IF97V3PT itself).
constexpr RegionFunctions kVolumeFunctions{IF97R1V, IF97R2V, IF97R5V, nullptr, IF97VPTX};

// The converted state of one call.
struct DispatchState {
  double t;        // K
  double p;        // MPa, or bar for region code 4
  double v;        // m3/kg
  double xqual;    // router quality flag
  int64_t region;  // region code
};

double ByRegion(const RegionFunctions& f, const DispatchState& st) {
  switch (st.region) {
    case 1: return f.region1(st.p, st.t);
    case 2: return f.region2(st.p, st.t);
    case 3: return f.region3(st.t, st.v);
    case 4: return f.router(st.p, st.t, st.xqual);
    default: return f.region5(st.p, st.t);
  }
}

// Whether code CODE with region code REGION reads the caller's pressure:
// not the functions of temperature (and volume) alone.
bool ReadsPressure(int32_t code, int64_t region) {
  switch (code) {
    case kSurfaceTension:
    case kVapourPressure:
    case kPressureFromTV: return false;
    case kSaturationTemperature: return true;
    case kViscosity: return region == 4;
    case kConductivity: return region == 1 || region == 2 || region == 4;
    case kVolume: return true;
    case kLnFugacityCoefficient: return true;
    default: return region != 3;  // region 3 evaluates at (T, V)
  }
}

// A molar volume the caller must supply: positive and not the marker.
bool VolumeGiven(double v) { return v > 0.0 && v < kNoValue; }

// Fugacity in the unit of st.p (MPa, or bar for region code 4); the failure
// value when the state cannot be served.
double Fugacity(const DispatchState& st) {
  switch (st.region) {
    case 1: return IF97R1FUG(st.p, st.t);
    case 2: return IF97R2FUG(st.p, st.t);
    case 3: return IF97R3FUG(st.p, st.t, st.v);
    case 5: return IF97R5FUG(st.p, st.t);
    default: {
      // The driver takes degrees Celsius and reads a temperature below
      // -1e-5 C as "not given", answering at the saturation temperature of
      // p: a temperature the caller did give must not be dropped that way.
      const double celsius = st.t - 273.15;
      if (!(celsius >= -1e-5)) return kWaterFailure;
      return WPFUGA(st.p, celsius, st.xqual);
    }
  }
}

// The callee's result in the unit of VALUE; NaN where the code has no value
// (a fugacity that is not positive).
double Scaled(int32_t code, double value, double entropy, const DispatchState& st, WaterPath path) {
  switch (code) {
    case kLnFugacityCoefficient: return value > 0.0 ? std::log(value / st.p) : std::nan("");
    case kEnthalpy:
    case kEntropy:
    case kGibbs:
    case kCp:
    case kCv: {
      const IdealGasReference ig =
          path == WaterPath::kDirect ? IdealGasAt298() : ReferenceIdealGas();
      if (code == kEnthalpy) return kEnergyFactor * value - ig.rt0_h0;
      if (code == kEntropy) return kEnergyFactor * value - ig.r_s0;
      if (code == kGibbs) {
        return (kEnergyFactor * value - ig.rt0_h0) - st.t * (kEnergyFactor * entropy - ig.r_s0);
      }
      // The isochoric term subtracts the same CP0 term as the isobaric one,
      // so both heat capacities share one offset.
      return kEnergyFactor * value - ig.r_cp0;
    }
    case kVolume: return kMolarMass * value;
    case kSurfaceTension: return value / 1000.0;
    case kVapourPressure: return 1e5 * value;
    case kInternalEnergy: return kEnergyFactor * value;
    case kPressureFromTV: return 1e6 * value;
    default: return value;  // viscosity, conductivity, sound, Tsat
  }
}

bool PositiveNumber(double x) { return x > 0.0 && std::isfinite(x); }

// A callee's result in the unit of VALUE, or NaN where the code has no value:
// the callee failed (-1.0), or the value is not finite.
double Finished(int32_t code, double value, double entropy, const DispatchState& st,
                WaterPath path = WaterPath::kDirect) {
  if (value == kWaterFailure) return std::nan("");
  const double result = Scaled(code, value, entropy, st, path);
  return std::isfinite(result) ? result : std::nan("");
}

// The volume [m3/kg] of region 1, 2 or 5 at the state's (p, T).
double PtCallVolume(const DispatchState& st) {
  return st.region == 1   ? IF97R1V(st.p, st.t)
         : st.region == 2 ? IF97R2V(st.p, st.t)
                          : IF97R5V(st.p, st.t);
}

// The result of code kCode [unit of VALUE] from the region-1, 2 or 5
// function of table kF at (p [MPa], T), called directly; NaN where it has
// no value, false for any other region.
template <int32_t kCode, const RegionFunctions& kF>
bool PtResult(int64_t region, const double& p, const double& t, double& result) {
  double value;
  switch (region) {
    case 1: value = kF.region1(p, t); break;
    case 2: value = kF.region2(p, t); break;
    case 5: value = kF.region5(p, t); break;
    default: return false;
  }
  result = Finished(kCode, value, kWaterFailure, {t, p, 0.0, -1.0, region});
  return true;
}

// The result of a code that reads (p [MPa], T) alone in region 1, 2 or 5;
// false for any other code or region.
bool PtPropertyResult(int32_t code, int64_t region, const double& p, const double& t,
                      double& result) {
  switch (code) {
    case kEnthalpy: return PtResult<kEnthalpy, kEnthalpyFunctions>(region, p, t, result);
    case kEntropy: return PtResult<kEntropy, kEntropyFunctions>(region, p, t, result);
    case kCp: return PtResult<kCp, kCpFunctions>(region, p, t, result);
    case kCv: return PtResult<kCv, kCvFunctions>(region, p, t, result);
    case kInternalEnergy: return PtResult<kInternalEnergy, kEnergyFunctions>(region, p, t, result);
    case kSpeedOfSound: return PtResult<kSpeedOfSound, kSoundFunctions>(region, p, t, result);
    case kVolume: return PtResult<kVolume, kVolumeFunctions>(region, p, t, result);
    default: return false;
  }
}

}  // namespace

bool Region3PressurePa(double T, double V, double& pressure) {
  return PositiveNumber(T) && Region3PressureAtMolarVolume(
                                  V, [T](double v) { return IF97R3P(T, v); }, pressure);
}

// A temperature that is no positive number makes no isotherm: the line is
// formed at 1 K and refuses every volume.
Region3PressureLine::Region3PressureLine(double T)
    : t_ok_(PositiveNumber(T)), isotherm_(t_ok_ ? T : 1.0) {}

bool SaturationPressurePa(double T, double& pressure) {
  if (!PositiveNumber(T)) return false;
  const double value = IF97PSATB(T);
  if (value == kWaterFailure) return false;
  pressure = 1e5 * value;
  return std::isfinite(pressure);
}

WaterDepartures RegionDepartures(double T, double P, double V, int64_t region, bool need_h,
                                 bool need_s, bool need_phi, bool need_v) {
  const double no_value = std::nan("");
  WaterDepartures out{no_value, no_value, no_value, no_value};
  const DispatchState st{T, P / 1e6, V / kMolarMass, -1.0, region};
  const bool known = region == 1 || region == 2 || region == 3 || region == 5;
  const bool t_ok = known && PositiveNumber(T);
  const bool p_ok = PositiveNumber(P);
  const bool v_ok = region != 3 || VolumeGiven(V);
  // Region 3 evaluates h and s at (T, V); ln phi also reads the pressure.
  const bool hs_ok = t_ok && (region == 3 ? v_ok : p_ok);
  const bool h_ok = need_h && hs_ok;
  const bool s_ok = need_s && hs_ok;
  const bool phi_ok = need_phi && t_ok && p_ok && v_ok;
  const bool volume_ok = need_v && t_ok && p_ok && region != 3;
  if (!h_ok && !s_ok && !phi_ok && !volume_ok) return out;
  // One output but the entropy: its own function evaluates only the sums it
  // needs, in the lanes of the evaluation below (the same value bit for bit
  // whatever else is requested).
  if (!s_ok && h_ok + phi_ok + volume_ok == 1) {
    if (h_ok) out.h = Finished(kEnthalpy, ByRegion(kEnthalpyFunctions, st), 0.0, st);
    if (phi_ok) out.phi = Finished(kLnFugacityCoefficient, Fugacity(st), 0.0, st);
    if (volume_ok) out.v = Finished(kVolume, PtCallVolume(st), 0.0, st);
    return out;
  }
  // Several outputs, or the entropy: one evaluation of the series serves them all.
  StateProperties state;
  switch (region) {
    case 1: state = IF97R1State(st.p, st.t, phi_ok); break;
    case 2: state = IF97R2State(st.p, st.t, phi_ok); break;
    case 3: state = IF97R3State(st.p, st.t, st.v, phi_ok); break;
    default: state = IF97R5State(st.p, st.t, phi_ok); break;
  }
  if (h_ok) out.h = Finished(kEnthalpy, state.h, 0.0, st);
  if (s_ok) out.s = Finished(kEntropy, state.s, 0.0, st);
  if (phi_ok) out.phi = Finished(kLnFugacityCoefficient, state.fug, 0.0, st);
  if (volume_ok) out.v = Finished(kVolume, state.v, 0.0, st);
  return out;
}

void DispatchWaterProperty(const double& T, const double& P, const double& V, const int32_t& KPROP,
                           const int64_t& KPHASE, const int64_t& KREGION, double& VALUE,
                           int64_t& IERR, WaterPath path) {
  IERR = 0;
  const bool direct = path == WaterPath::kDirect;
  const int32_t code = (KPROP >= 1 && KPROP <= 15) ? KPROP : kLnFugacityCoefficient;
  if (direct && code == kPressureFromTV) {
    // Region-free and read from (T, V) alone: the search's hot path.
    if (!Region3PressurePa(T, V, VALUE)) {
      VALUE = kNoValue;
      IERR = 1;
    }
    return;
  }
  // One function of (p, T) in region 1, 2 or 5, the most frequent call:
  // what the general dispatch below does for it, without its tests.
  double pt_result;
  if (direct && PositiveNumber(T) && PositiveNumber(P) &&
      PtPropertyResult(code, KREGION, P / 1e6, T, pt_result)) {
    if (std::isnan(pt_result)) {
      VALUE = kNoValue;
      IERR = 1;
    } else {
      VALUE = pt_result;
    }
    return;
  }
  const int64_t region = KREGION;
  DispatchState st{};
  st.t = T;
  st.p = region == 4 ? P / 1e5 : P / 1e6;
  st.v = V / kMolarMass;
  st.xqual = -1.0;
  if (region == 4) {
    if (KPHASE == 1) st.xqual = 1.0;
    if (KPHASE == 2) st.xqual = 0.0;
  }
  st.region = region;

  const bool region_known = region >= 1 && region <= 5;
  // Functions of (T, v): every region-3 property but the volume, the
  // transport properties in regions 1, 2, 3, 5, and the pressure from (T, v).
  const bool needs_volume =
      code == kPressureFromTV ||
      (region == 3 && code != kVolume && code != kSurfaceTension && code != kVapourPressure &&
       code != kSaturationTemperature) ||
      ((code == kViscosity || code == kConductivity) && region_known && region != 4);

  auto fail = [&] {
    VALUE = kNoValue;
    IERR = 1;
  };
  const bool region_free = code == kSurfaceTension || code == kVapourPressure ||
                           code == kPressureFromTV || code == kSaturationTemperature;
  // Every temperature and pressure a code reads must be a positive number;
  // the tests are written so that NaN fails them.
  const bool reads_t = code != kSaturationTemperature;
  const bool reads_p = ReadsPressure(code, region);
  const bool state_given = (!reads_t || PositiveNumber(T)) && (!reads_p || PositiveNumber(P));
  if (!state_given || (!region_free && !region_known) || (needs_volume && !VolumeGiven(V))) {
    fail();
    return;
  }

  double value = kWaterFailure;
  double entropy = kWaterFailure;  // second evaluation of code 4
  switch (code) {
    case kEnthalpy:
    case kGibbs:
      value = ByRegion(kEnthalpyFunctions, st);
      if (code == kGibbs && value != kWaterFailure) entropy = ByRegion(kEntropyFunctions, st);
      break;
    case kEntropy: value = ByRegion(kEntropyFunctions, st); break;
    case kVolume:
      switch (region) {
        case 1: value = IF97R1V(st.p, st.t); break;
        case 2: value = IF97R2V(st.p, st.t); break;
        case 3: value = IF97V3PT(st.p, st.t); break;
        case 4: value = IF97VPTX(st.p, st.t, st.xqual); break;
        default: value = IF97R5V(st.p, st.t); break;
      }
      break;
    case kViscosity:
      value = region == 4 ? IF97ETAPTX(st.p, st.t, st.xqual) : WVISC08(st.t, st.v);
      break;
    case kConductivity:
      if (region == 4) {
        value = IF97LAMPTX(st.p, st.t, st.xqual);
      } else {
        double cp, cv, eta;
        WTCON11(st.p, st.t, st.v, region, cp, cv, eta, value);
      }
      break;
    case kSurfaceTension: value = IF97SIGT(st.t); break;
    case kCp: value = ByRegion(kCpFunctions, st); break;
    case kCv: value = ByRegion(kCvFunctions, st); break;
    case kVapourPressure: value = IF97PSATB(st.t); break;
    case kInternalEnergy: value = ByRegion(kEnergyFunctions, st); break;
    case kSpeedOfSound: value = ByRegion(kSoundFunctions, st); break;
    case kPressureFromTV: value = IF97R3P(st.t, st.v); break;
    case kSaturationTemperature: value = IF97TSATB(P / 1e5); break;
    default: value = Fugacity(st); break;
  }
  const double result = (code == kGibbs && entropy == kWaterFailure)
                            ? std::nan("")
                            : Finished(code, value, entropy, st, path);
  if (std::isnan(result)) {
    fail();
    return;
  }
  VALUE = result;
}

namespace {

// Whether the state that an evaluation of code CODE (1..15) with region code
// REGION read is one the region's equation describes: the codes of the
// region's equation of state in regions 1, 2, 3 and 5 (at (P, T); region 3
// at (T, V), its volume code at the volume VALUE it found), a positive
// volume for code 5 in every region, and a positive pressure for codes 11
// and 14. Code 14 keeps the pressures of (dp/dv)_T >= 0: a
// volume search reads them at its trial volumes inside the two-phase loop.
// The transport codes, which read the caller's (T, V), the saturation codes
// and region code 4, whose routers choose the phase, pass.
bool PhysicalResult(int32_t code, int64_t region, double T, double P, double V, double value) {
  switch (code) {
    case kPressureFromTV:
    case kVapourPressure: return value > 0.0;
    case kViscosity:
    case kConductivity:
    case kSurfaceTension:
    case kSaturationTemperature: return true;
    // A volume must be positive whatever the region: region 3's backward
    // volume, asked for a state of region 1, can come out negative, and a
    // negative volume also passes region 3's stability test, whose pressure
    // and derivatives keep their signs when rho changes sign.
    case kVolume:
      if (!(value > 0.0)) return false;
      break;
    default: break;
  }
  // The pressure in MPa by a product, not the quotient the evaluation used:
  // cheaper, and at most one unit in the last place away.
  const double p = 1e-6 * P;
  switch (region) {
    case 1: return IF97R1Physical(p, T);
    case 2: return IF97R2Physical(p, T);
    case 5: return IF97R5Physical(p, T);
    case 3: return IF97R3Physical(T, (code == kVolume ? value : V) / kMolarMass);
    default: return true;
  }
}

}  // namespace

void DispatchPhysicalWaterProperty(const double& T, const double& P, const double& V,
                                   const int32_t& KPROP, const int64_t& KPHASE,
                                   const int64_t& KREGION, double& VALUE, int64_t& IERR) {
  DispatchWaterProperty(T, P, V, KPROP, KPHASE, KREGION, VALUE, IERR, WaterPath::kDirect);
  const int32_t code = (KPROP >= 1 && KPROP <= 15) ? KPROP : kLnFugacityCoefficient;
  if (IERR == 0 && !PhysicalResult(code, KREGION, T, P, V, VALUE)) {
    VALUE = kNoValue;
    IERR = 1;
  }
}

}  // namespace thermomodels

// Flattened: the dispatch and its helpers are inlined into the export. The
// arguments are read once into locals, which no write of the results can
// change.
extern "C" [[gnu::flatten]] TM_API void QUELTRIN_IF97PRPH(const double* T, const double* P,
                                                          const double* V, const int32_t* KPROP,
                                                          const int64_t* KPHASE,
                                                          const int64_t* KREGION, double* VALUE,
                                                          int64_t* IERR) {
  const double t = *T, p = *P, v = *V;
  double value = thermomodels::kNoValue;
  int64_t ierr = 1;
  thermomodels::DispatchPhysicalWaterProperty(t, p, v, *KPROP, *KPHASE, *KREGION, value, ierr);
  *VALUE = value;
  *IERR = ierr;
}
