// Water property routers and drivers: properties of water from pressure in
// bar, temperature in K and a quality flag, the IAPS 1985 thermal
// conductivity, and the exported water routines built on them.
#pragma once

#include <cmath>
#include <cstdint>

#include "common/common.h"
#include "water/if97/if97.h"

namespace thermomodels {

// ---------------------------------------------------------------------------
// Routers by pressure P [bar], temperature T [K] and quality flag XQUAL.
//
// XQUAL below -1e-5 asks for a single phase at (P, T); from -1e-5 to 1.00001
// a state on the saturation line (within 1e-8 of 0: saturated liquid, of 1:
// saturated vapour, otherwise a two-phase mixture with vapour fraction XQUAL);
// above 1.00001 is invalid.  On the saturation line a negative P or T means
// "not given" and is taken from the saturation line.  Every failure returns
// the water failure value -1.0.
//
// Mixtures are answered by the lever rule by the volume, enthalpy, entropy,
// density, internal energy and exergy routers; the derivative, heat-capacity,
// speed-of-sound and transport routers accept saturated phases only.
// ---------------------------------------------------------------------------

// Specific volume [m3/kg].
double IF97VPTX(const double& P, const double& T, const double& XQUAL);
// Specific enthalpy [kJ/kg].
double IF97HPTX(const double& P, const double& T, const double& XQUAL);
// Specific entropy [kJ/(kg K)].
double IF97SPTX(const double& P, const double& T, const double& XQUAL);
// Density [kg/m3]; a mixture's density is the inverse of its lever-rule volume.
double IF97RHOPTX(const double& P, const double& T, const double& XQUAL);
// Specific internal energy [kJ/kg].
double IF97UPTX(const double& P, const double& T, const double& XQUAL);
// Specific flow exergy [kJ/kg] against liquid water at 0.101325 MPa and the
// dead-state temperature T0 [K].
double IF97EXPTX(const double& P, const double& T, const double& XQUAL, const double& T0);
// (dv/dT)_p [m3/(kg K)].
double IF97DVTPTX(const double& P, const double& T, const double& XQUAL);
// (dv/dp)_T [m3/(kg kPa)].
double IF97DVPPTX(const double& P, const double& T, const double& XQUAL);
// Specific isobaric heat capacity [kJ/(kg K)].
double IF97CPPTX(const double& P, const double& T, const double& XQUAL);
// Specific isochoric heat capacity [kJ/(kg K)].
double IF97CVPTX(const double& P, const double& T, const double& XQUAL);
// Speed of sound [m/s].
double IF97WPTX(const double& P, const double& T, const double& XQUAL);
// Isentropic exponent w^2/(p v) [-].
double IF97KAPPTX(const double& P, const double& T, const double& XQUAL);

// Transport routers: same convention, saturated phases only, region 5 only
// up to 1173.2 K and 50.01 MPa.
// Thermal conductivity [W/(m K)] by the IAPWS 2011 formulation.
double IF97LAMPTX(const double& P, const double& T, const double& XQUAL);
// Dynamic viscosity [Pa s] by the IAPWS 2008 formulation.
double IF97ETAPTX(const double& P, const double& T, const double& XQUAL);
// Kinematic viscosity [m2/s].
double IF97NUPTX(const double& P, const double& T, const double& XQUAL);
// Prandtl number [-].
double IF97PRNPTX(const double& P, const double& T, const double& XQUAL);
// Thermal diffusivity [m2/s].
double IF97ALFPTX(const double& P, const double& T, const double& XQUAL);
// Conductivity [W/(m K)], viscosity [Pa s], isobaric heat capacity
// [kJ/(kg K)] and density [kg/m3] together; all four are -1.0 on failure.
void IF97TRNPTX(double& TCON, double& ETA, double& CP, double& RHO, const double& P,
                const double& T, const double& XQUAL);

// ---------------------------------------------------------------------------
// What the routers share: a routed phase, a property's region functions
// evaluated there, and the phase's transport properties.
// ---------------------------------------------------------------------------

// One phase at which a router evaluates the region functions.
struct RouterPhase {
  int64_t region;  // IF97 region 1, 2, 3 or 5
  double p;        // MPa
  double t;        // K
  double v;        // m3/kg from the backward equations; region 3 only
};

// A property's region functions: of (p, T) in regions 1, 2 and 5, of (T, v)
// in region 3.
using PhaseFunction = double (*)(const double&, const double&);
struct PhaseFunctions {
  PhaseFunction region1;
  PhaseFunction region2;
  PhaseFunction region3;
  PhaseFunction region5;
};
double EvaluatePhase(const PhaseFunctions& f, const RouterPhase& phase);

// Region 3's volume function: the volume itself.
inline double Region3VolumeItself(const double& /*T*/, const double& V) { return V; }

inline constexpr PhaseFunctions kPhaseVolume{IF97R1V, IF97R2V, Region3VolumeItself, IF97R5V};
inline constexpr PhaseFunctions kPhaseEnthalpy{IF97R1H, IF97R2H, IF97R3H, IF97R5H};
inline constexpr PhaseFunctions kPhaseEntropy{IF97R1S, IF97R2S, IF97R3S, IF97R5S};
inline constexpr PhaseFunctions kPhaseIsobaricHeat{IF97R1CP, IF97R2CP, IF97R3CP, IF97R5CP};

// The 2011 conductivity of a phase with the volume it is evaluated at and
// the heat capacity (with FILL_VISCOSITY also the viscosity) that it leaves
// at -1.0 (outside its critical enhancement, always in region 5) taken from
// the region's cp and the 2008 viscosity; a viscosity not filled stays as
// the conductivity leaves it.
struct PhaseTransport {
  double v;     // m3/kg
  double cp;    // kJ/(kg K)
  double eta;   // Pa s
  double tcon;  // W/(m K)
};
PhaseTransport TransportAt(const RouterPhase& phase, bool fill_viscosity);

// ---------------------------------------------------------------------------
// Routers by pressure P [bar] and specific enthalpy h [kJ/kg] or specific
// entropy s [kJ/(kg K)]: each places the state in an IF97 region, on the
// saturation line or under it (two-phase), takes the temperature or volume
// from the backward equations and evaluates the region functions there.
// Ranges: 0.00061 <= 0.1 P <= 100.01 MPa, -0.9 <= h <= 7400, -0.03 <= s <= 14;
// region 5 up to 50 MPa.  Every failure, a region-5 temperature that does
// not converge and an input that is not a finite number included, returns
// the water failure value -1.0.
// ---------------------------------------------------------------------------
// Temperature [K]; the saturation temperature under the saturation line.
double IF97TPH(const double& P, const double& h);
// Vapour quality [-]; -1.0 outside the two-phase region.
double IF97XPH(const double& P, const double& h);
// Specific volume [m3/kg]; lever rule under the saturation line.
double IF97VPH(const double& P, const double& h);
// Specific entropy [kJ/(kg K)]; lever rule under the saturation line.
double IF97SPH(const double& P, const double& h);
// Temperature [K], saturation temperature [K] (-1.0 above the critical
// pressure), vapour quality [-] (-1.0 for a single phase), density
// [kg/m3], isobaric heat capacity [kJ/(kg K)], thermal conductivity
// [W/(m K)], dynamic viscosity [Pa s] and Prandtl number [-]; all -1.0 when
// the state is refused.
void IF97ALLPH(const double& P, const double& h, double& T, double& TSAT, double& X, double& RHO,
               double& CP, double& TCON, double& ETA, double& PRANDTL);
// Temperature [K]; the saturation temperature on and under the line.
double IF97TPS(const double& P, const double& s);
// Vapour quality [-]; -1.0 outside the two-phase region.
double IF97XPS(const double& P, const double& s);
// Specific volume [m3/kg]; lever rule under the saturation line.
double IF97VPS(const double& P, const double& s);
// Specific enthalpy [kJ/kg]; lever rule under the saturation line.
double IF97HPS(const double& P, const double& s);

// ---------------------------------------------------------------------------
// IAPS 1985 thermal conductivity [W/(m K)] of region-3 water at p [MPa] and
// T [K], with the simplified critical enhancement.  The volume comes from the
// region-3 backward equation: full subregion choice (WTCON85), saturated
// liquid side (WTCON85L) or saturated vapour side (WTCON85V).
// ---------------------------------------------------------------------------
double WTCON85(const double& p, const double& T);
double WTCON85L(const double& p, const double& T);
double WTCON85V(const double& p, const double& T);

// ---- Exported water routines and drivers ----

// Ideal-gas functions of water vapour at T [K] (HGK 1984 ideal-gas part),
// all dimensionless: A/(RT), G/(RT), S/R, U/(RT), H/(RT), CV/R, CP/R. The
// zero of H and S is fixed by the formulation's two reference constants.
// IERR is the caller's status word and is left untouched.
void IDEALHGK(const double& T, double& A, double& G, double& S, double& U, double& H, double& CV,
              double& CP, int64_t& IERR);

// IF97 region 3 at its critical point (647.096 K, 322 kg/m3), from the
// published coefficients in extended precision: (dp/dv)_T [kPa kg/m3] and
// (dp/dT)_v [kPa/K]. The equation's dp/dv there is a small positive number
// instead of zero; states beside the point on the critical isochore have a
// negative dp/dv that tends to zero. The critical values of the volume
// derivatives are the equation's magnitudes with the sign of those states:
// dv/dp = -1/|dp/dv| (reached on the isochore 2e-9 K above 647.096 K) and
// dv/dT = -(dp/dT)/(dp/dv) with that dp/dv.
inline constexpr double kCriticalDpDvKpa = 6.049492551098936e-5;
inline constexpr double kCriticalDpDtKpa = 268.24840751153967;
inline constexpr double kCriticalDvDp = -1.0 / kCriticalDpDvKpa;              // m3/(kg kPa)
inline constexpr double kCriticalDvDt = kCriticalDpDtKpa / kCriticalDpDvKpa;  // m3/(kg K)

// ---------------------------------------------------------------------------
// Drivers in bar and degrees Celsius: one property each from P [bar],
// t [degrees C] and the quality flag XQUAL (the router convention above; a
// t below -1e-5 C counts as not given on the saturation line). They choose
// the IF97 region or saturated state themselves and return -1.0 for a state
// outside their range. At the critical point only XQUAL 0 or 1 is served.
// Drivers marked "lever" mix the saturated liquid and vapour values for
// 0 < XQUAL < 1; the others fail there.
// ---------------------------------------------------------------------------
// Compression factor Z = p v/(R T) [-]; lever on v.
double WPZFAC(const double& P, const double& t, const double& XQUAL);
// Static dielectric constant [-].
double WPDIEL(const double& P, const double& t, const double& XQUAL);
// Refractive index [-] at WAVELENGTH [micrometre], 0.2 to 1.1; a wavelength
// with magnitude below 1e-14 is set to 1e-14 in place.
double WPREFR(const double& P, const double& t, const double& XQUAL, double& WAVELENGTH);
// Isobaric cubic expansion coefficient (1/v)(dv/dT)_p [1/K].
double WPALFV(const double& P, const double& t, const double& XQUAL);
// Isothermal compressibility -(1/v)(dv/dp)_T [1/kPa].
double WPKAPT(const double& P, const double& t, const double& XQUAL);
// Relative pressure coefficient (1/p)(dp/dT)_v [1/K].
double WPALFP(const double& P, const double& t, const double& XQUAL);
// Isothermal stress coefficient -1/(p (dv/dp)_T) [kg/m3], p in kPa.
double WPBETP(const double& P, const double& t, const double& XQUAL);
// Capillary length on the saturation line [mm] at P [bar] or at T [K].
double WPCAPP(const double& P);
double WPCAPT(const double& T);
// Specific Gibbs energy [kJ/kg]; lever.
double WPGIBB(const double& P, const double& t, const double& XQUAL);
// Specific Helmholtz energy [kJ/kg]; lever.
double WPHELM(const double& P, const double& t, const double& XQUAL);
// Joule-Thomson coefficient (T (dv/dT)_p - v)/cp [K/kPa].
double WPJOUL(const double& P, const double& t, const double& XQUAL);
// Isothermal throttling coefficient v - T (dv/dT)_p [m3/kg].
double WPTHRO(const double& P, const double& t, const double& XQUAL);
// Fugacity [bar]; lever on the fugacity.
double WPFUGA(const double& P, const double& t, const double& XQUAL);
// Kinematic viscosity [m2/s] from P [bar] and T [K] (not Celsius); region 5
// only up to 1173.2 K and 50.1 MPa (single precision).
double WPVISC(const double& P, const double& T, const double& XQUAL);

// ---------------------------------------------------------------------------
// What the water exports QUELTRIN_FDREGION and QUELTRIN_ES15D share: the
// bounds of the formulation, the phase side and the IF97 region of a state,
// and the region-3 molar-volume search. Molar units: K, Pa, m3/kmol.
// ---------------------------------------------------------------------------

// How the water exports reach the region functions: directly, or through
// the exported dispatcher with its conversions, dispatch and an ideal-gas
// reference evaluated at every call (the exports' first form, kept as the
// slow reference of the tests and the benchmark). Both give the same values
// bit for bit.
enum class WaterPath { kDirect, kThroughDispatcher };

// Where a water state at the caller's T, P and phase lands.
struct WaterPhaseState {
  double temperature_k = 0.0;    // temperature used, T' [K]
  double pressure_pa = 0.0;      // pressure used, p [Pa]
  double psat_pa = 0.0;          // saturation pressure at T' [Pa] (critical pressure above Tc)
  int64_t region = 0;            // IF97 region 1, 2, 3 or 5
  int64_t start_mode = 0;        // region 3: root-solver start mode (1, 2 or 5)
  double start_volume = 0.0;     // region 3, start mode 5: start volume [m3/kmol]
  bool raised_to_psat = false;   // liquid below psat moved up to psat
  bool critical_liquid = false;  // liquid raised to psat at T' >= 647.096 K
  int64_t status = 0;            // 1 when a property call on the way failed
};

// Clamps T [K] and P [Pa] to the formulation's bounds and the requested side
// (KVL 1 vapour, 2 liquid) of the saturation line and chooses the region.
// Writes the range warnings on IUNIT when LVLPRT >= 5; the lower-bound
// temperature warning only when WARN_LOW_T.
void ChooseWaterPhaseState(const double& T, const double& P, const int64_t& KVL, bool warn_low_t,
                           const int64_t& LVLPRT, const int32_t& IUNIT, WaterPhaseState& state,
                           WaterPath path = WaterPath::kDirect);

// Region-3 molar volume [m3/kmol] at T [K] whose pressure is P [Pa], on the
// vapour (KVL 1, VPROOT) or liquid (KVL 2, LQROOT) side, by reverse
// communication with the pressure from QUELTRIN_IF97PRPH code 14. MODEL is
// the solver's two-word model name. Returns the solver's volume and the
// pressure at the last trial volume; STATUS 1 when the search failed, did
// not finish, or a pressure evaluation failed.
void SolveRegion3Volume(const double& T, const double& P, const int64_t& KVL,
                        const int64_t& start_mode, const double& start_volume, const int64_t* MODEL,
                        const int64_t& LVLPRT, const int32_t& IUNIT, double& volume,
                        double& pressure_at_volume, int64_t& status,
                        WaterPath path = WaterPath::kDirect);

// The bodies of QUELTRIN_FDREGION and QUELTRIN_ES15D (same arguments), on
// the given path.
void WaterRegionVolume(const double& T, const double& P, const int64_t& KVL, int64_t& KREGION,
                       double& TOUT, double& POUT, double& VOUT, const int64_t& LVLPRT,
                       const int32_t& IUNIT, int64_t& IERR, WaterPath path);
void WaterEos(const double& T, const double& P, const int64_t& LVLPRT, const int64_t& KVL,
              const int32_t& IUNIT, const int64_t& KPHI, const int64_t& KH, const int64_t& KS,
              const int64_t& KG, const int64_t& KV, double& PHI, double& DH, double& DS, double& DG,
              double& V, int64_t& IERR, WaterPath path);

// The dispatcher behind QUELTRIN_IF97PRPH (same arguments and results); on
// the slow path every code takes the general dispatch and the ideal-gas
// reference at 298.15 K is evaluated at every call.
void DispatchWaterProperty(const double& T, const double& P, const double& V, const int32_t& KPROP,
                           const int64_t& KPHASE, const int64_t& KREGION, double& VALUE,
                           int64_t& IERR, WaterPath path);

// QUELTRIN_IF97PRPH: the dispatcher on the direct path, then no value
// (1e35, IERR 1) where the named region's equation describes no state that
// can exist at the state the code read: a volume or pressure not positive,
// (dp/dv)_T not negative, cp, cv or w^2 not positive (code 14: a pressure
// not positive). The drivers call the dispatcher itself: their searches
// evaluate the region-3 pressure at any trial volume.
void DispatchPhysicalWaterProperty(const double& T, const double& P, const double& V,
                                   const int32_t& KPROP, const int64_t& KPHASE,
                                   const int64_t& KREGION, double& VALUE, int64_t& IERR);

// One property of water through the dispatcher, with the reference
// evaluated anew (the slow path); STATUS is set to 1 when the call reports
// no value and left alone otherwise.
double WaterProperty(double T, double P, double V, int32_t kprop, int64_t kphase, int64_t kregion,
                     int64_t& status);

// Molar volume [m3/kmol] of region 1, 2 or 5 at T [K] and P [Pa] (dispatcher
// code 5) on the given path; the no-value marker with STATUS 1 where there
// is none.
double MolarVolume(double T, double P, int64_t region, int64_t kphase, WaterPath path,
                   int64_t& status);

// What dispatcher codes 14 (region-3 pressure [Pa] at T [K] and molar
// volume V [m3/kmol]) and 11 (saturation pressure [Pa] at T) give, without
// the dispatch; false where the code has no value.
bool Region3PressurePa(double T, double V, double& pressure);
bool SaturationPressurePa(double T, double& pressure);

// Molar mass of water [kg/kmol] of the exports' molar units.
inline constexpr double kWaterMolarMass = 18.0152;

// The region-3 pressure [Pa] at molar volume V [m3/kmol] from PRESSURE_MPA,
// the pressure [MPa] as a function of the specific volume [m3/kg]; false
// where V is no volume (not positive, or the no-value marker), the function
// fails (-1.0) or the pressure is not finite.
template <class PressureMpa>
inline bool Region3PressureAtMolarVolume(double V, const PressureMpa& pressure_mpa,
                                         double& pressure) {
  if (!(V > 0.0 && V < kNoValue)) return false;
  const double value = pressure_mpa(V / kWaterMolarMass);
  if (value == -1.0) return false;
  pressure = 1e6 * value;
  return std::isfinite(pressure);
}

// Region-3 pressures [Pa] along one isotherm T [K] at molar volumes V
// [m3/kmol], each what Region3PressurePa(T, V) gives bit for bit, with the
// sums of the series over tau formed once for the isotherm. Inline: the
// searches call it twice at every step.
class Region3PressureLine {
 public:
  explicit Region3PressureLine(double T);
  bool At(double V, double& pressure) const {
    return t_ok_ && Region3PressureAtMolarVolume(
                        V, [this](double v) { return isotherm_.Pressure(v); }, pressure);
  }

 private:
  bool t_ok_;
  Region3Isotherm isotherm_;
};

// Enthalpy and entropy departures, ln phi and molar volume of one state in
// IF97 region 1, 2, 3 or 5 at T [K], P [Pa] and (region 3) molar volume V,
// as dispatcher codes 2, 3, 1 and 5 give them, each only where requested
// (the volume not in region 3); NaN where requested and the code has no value.
struct WaterDepartures {
  double h, s, phi, v;
};
WaterDepartures RegionDepartures(double T, double P, double V, int64_t region, bool need_h,
                                 bool need_s, bool need_phi, bool need_v);

// Model names of the region-3 searches, as the solvers print them.
inline constexpr char kFdregionModelName[] = "IAPW    S97     ";
inline constexpr char kEs15dModelName[] = "ESIA    PW97    ";

}  // namespace thermomodels
