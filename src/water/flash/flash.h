// Water flashes: pressure, temperature and vapour quality of water from its
// specific volume and an energy, by chains of one-dimensional solves over the
// IAPWS-IF97 forward equations, all run by one bracketing secant solver.
//
// Units: p in MPa, T in K, v in m3/kg, h and u in kJ/kg.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

namespace thermomodels {

// ---- Bracketing secant solver ----

// Result of a solve that stopped at its evaluation cap.
inline constexpr double kFlashNotConverged = -1000.0;
// Stopping tolerance of the single and outer solves.
inline constexpr double kFlashTolerance = 1e-6;

// Memory of one run of FLSOLVE: ten 64-bit cells. The caller writes the
// start into `current` before the run; every other cell is written by the
// run before it is read, so one record per nesting level, held on the
// caller's stack, is all a solve needs (the solver keeps nothing else).
struct FlashSolveState {
  double current = 0.0;         // start on entry; the last point evaluated on exit
  double previous = 0.0;        // point of the evaluation before
  double previous_value = 0.0;  // f at the previous point
  double lower_end = 0.0;       // bracket end below the root (the range end at first)
  double upper_end = 0.0;       // bracket end above the root (the range end at first)
  double lower_value = 0.0;     // f at the lower end, once a point has set it
  double upper_value = 0.0;     // f at the upper end, once a point has set it
  int64_t bracket_state = 0;    // 0 none, 1 lower end, 2 upper end, 3 both (new), 4 both in use
  int64_t side_counter = 0;     // -k: last k points replaced the lower end; +k: the upper end
  double result = kFlashNotConverged;  // converged point, or kFlashNotConverged
};
static_assert(sizeof(FlashSolveState) == 80, "ten 64-bit cells");

// Non-owning reference to a callable double(double): the function a solve
// evaluates. It must not outlive the callable it refers to (pass lambdas
// straight into the call).
class FlashFunction {
 public:
  template <typename F,
            typename = std::enable_if_t<!std::is_same_v<std::remove_cvref_t<F>, FlashFunction>>>
  FlashFunction(F&& f)  // NOLINT: implicit, so a lambda can be passed directly
      : object_(const_cast<void*>(static_cast<const void*>(&f))),
        call_([](void* object, double x) -> double {
          return (*static_cast<std::remove_reference_t<F>*>(object))(x);
        }) {}
  double operator()(double x) const { return call_(object_, x); }

 private:
  void* object_;
  double (*call_)(void*, double);
};

// Solves f(x) = t for x in [xmin, xmax] without derivatives: secant steps,
// a bracket once two points show the side of the root, two secants against
// the bracket ends once it is closed, damping toward a range end while the
// points stay on one side, clamping into the range, and at most 51
// evaluations (52 when the start lies outside the range). On exit
// state.result holds the converged point or kFlashNotConverged and
// state.current the last point at which f was evaluated.
//
// Errors and steps are absolute below magnitude 1 and relative from 1 on;
// tol1 bounds both and sets the first step.
void FLSOLVE(FlashSolveState& state, FlashFunction f, const double& t, const double& xmin,
             const double& xmax, const double& tol1);

// ---- Shared machinery of the flashes ----
//
// Both flashes place a state by comparisons against IF97 boundary values and
// then run one or more of the solve kinds below. The kinds are the same in
// every flash; what differs is the energy the flash matches (enthalpy or
// internal energy, FlashEnergy) and the flash's own map and constants.

// The energy a flash matches, one function per IF97 region.
struct FlashEnergy {
  double (*region1)(const double& p, const double& t);
  double (*region2)(const double& p, const double& t);
  double (*region3)(const double& t, const double& v);  // temperature first
  double (*region5)(const double& p, const double& t);
};
extern const FlashEnergy kFlashEnthalpy;        // IF97R1H, IF97R2H, IF97R3H, IF97R5H
extern const FlashEnergy kFlashInternalEnergy;  // IF97R1U, IF97R2U, IF97R3U, IF97R5U

// How a flash call ended: which kind of solve produced its outputs.
enum class FlashEnding {
  kNone,             // no ending reached (only inside a call)
  kRejected,         // outside the domain or rejected by a range test: -1.0 everywhere
  kNotConverged,     // a solve the outputs depend on stopped at its cap: -1000.0 everywhere
  kLiquidPair,       // region 1 by the nested pressure-temperature pair
  kVapourPair,       // region 2 by the nested pair
  kRegion5Pair,      // region 5 by the nested pair
  kWetBelow623,      // wet steam on the saturated volumes of regions 1 and 2
  kWetRegion3,       // wet steam on the region-3 saturated volumes
  kRegion3Isochore,  // region 3 by the temperature on the given isochore
};

// The IF97 region whose (p, T) functions an edge or pair solve uses.
enum class FlashRegion { kRegion1 = 1, kRegion2 = 2, kRegion5 = 5 };

// Outputs of one flash call and how they came about: pressure [MPa],
// temperature [K], quality (-1.0 in one phase), the ending, and the
// function evaluations of all its solves.
struct FlashResult {
  double p = -1.0, t = -1.0, x = -1.0;
  FlashEnding ending = FlashEnding::kRejected;
  int64_t evaluations = 0;
};

// Whether (v, e) lies in the box [v_min, v_max] x [e_min, e_max], bounds
// included; a value that is not a finite number is outside.
bool FlashInBox(double v, double e, double v_min, double v_max, double e_min, double e_max);

// The outputs of a result as the flash routines return them, and the
// pressure in bar, -1.0 unless the flash succeeded.
void FlashWriteOutputs(const FlashResult& r, double& P, double& T, double& X);
double FlashPressureBar(const FlashResult& r);

// Everything one flash call reads and writes: the inputs, the two solve
// records (outer or only variable, inner variable of a pair), the values
// kept from the last point of a solve, the outputs and how they came about.
// It lives on the caller's stack, so flashes are reentrant.
struct FlashCall {
  FlashCall(const FlashEnergy& energy_functions, double volume, double energy_value)
      : energy(energy_functions), v(volume), e(energy_value) {}

  const FlashEnergy& energy;
  const double v;  // given specific volume [m3/kg]
  const double e;  // given energy [kJ/kg]

  FlashSolveState outer;  // record 1: the outer or only variable
  FlashSolveState inner;  // record 2: the inner variable of a pair

  // Values at the last point evaluated by the latest solve that keeps them.
  double saturation_pressure = 0.0;     // IF97PSAT of the last trial temperature [MPa]
  double saturation_temperature = 0.0;  // IF97TSAT of the last trial pressure [K]
  double boundary = 0.0;                // B23 pressure [MPa] or temperature [K] of the last trial
  double region3_volume = 0.0;          // region-3 volume on the 100 MPa isobar [m3/kg]

  // Outputs: pressure [MPa], temperature [K], quality; -1.0 until written.
  double p = -1.0, t = -1.0, x = -1.0;
  FlashEnding ending = FlashEnding::kNone;
  int64_t evaluations = 0;  // function evaluations of every solve, inner ones included

  // Ends the call as outside the domain: -1.0 in all outputs.
  void Reject();
  // Ends the call as failed: -1000.0 in all outputs.
  void Fail();
  // Copies the outputs and how they came about into r.
  void Report(FlashResult& r) const;
  bool Ended() const { return ending != FlashEnding::kNone; }
};

// Temperature ends [K] and pressure ends [MPa] the solves share.
inline constexpr double kFlashPressureMin = 0.00061165700001067;  // IF97PSAT(273.16 K)
inline constexpr double kFlashPressureMax = 100.0;
inline constexpr double kFlashRegion5PressureMax = 50.0;
inline constexpr double kFlashTemperatureMin = 273.15;
inline constexpr double kFlashRegion1TemperatureMax = 623.15;
inline constexpr double kFlashRegion2TemperatureMax = 1073.15;
inline constexpr double kFlashRegion5TemperatureMax = 2273.15;
inline constexpr double kFlashCriticalTemperature = 647.096;
inline constexpr double kFlashCriticalVolume = 0.003105590062111801;  // 1/322 m3/kg
// Lowest temperature of the region-3 wet solve: 10 mK below 623.15 K, so the
// region-3 saturated states at 623.15 K, which lie slightly above those of
// regions 1 and 2, are inside its range.
inline constexpr double kFlashWetRegion3TemperatureMin = 623.14;

// Nested pressure-temperature pair of region 1 (liquid), 2 (vapour) or 5:
// outer p in [kFlashPressureMin, 100 MPa] (50 MPa in region 5) matching v,
// inner T (273.15-623.15 K, 273.15-1073.15 K, 1073.15-2273.15 K) matching e
// at every outer trial, starting where the inner run before it stopped.
// Ends the call with p, T. When the pair stops at a cap, a state whose
// energy on an end isotherm of the temperature range (at the pressure of
// its volume there) matches e within the solve tolerance ends on that
// isotherm.
void FlashNestedPair(FlashCall& c, FlashRegion region);

// Wet steam below 623.15 K: T in [273.15, 623.15] K with the lever rule on
// the saturated volumes of regions 1 and 2 matching e; x is written at every
// trial. Ends the call with T and, with `pressure_of_last_trial`, p =
// IF97PSAT of the last trial, else IF97PSAT of the result.
void FlashWetBelow623(FlashCall& c, bool pressure_of_last_trial);

// Wet steam on the region-3 saturated volumes: T in [t_lo, 647.096] K
// (t_lo is kFlashWetRegion3TemperatureMin in the (v, h) flash); ends with T,
// p = IF97PSAT(T). Where the two volumes meet (the critical point, within
// the resolution of the region-3 volume iteration) the quality is 0.5.
void FlashWetRegion3(FlashCall& c, double t_lo);

// Region 3 on the given isochore: T in [t_lo, 863.16] K matching e to the
// tolerance tol; ends with T and p = IF97R3P(T, v).
void FlashRegion3Isochore(FlashCall& c, double t_lo, double tol = kFlashTolerance);

// Temperature on the saturated-vapour line of region 2 whose volume is v:
// T in [273.15, 623.15] K. Returns the last point evaluated; its saturation
// pressure is kept in c.saturation_pressure.
double FlashSaturatedVapourTemperature(FlashCall& c);

// Temperature at which the region-3 saturated-liquid (`liquid_side`) or
// saturated-vapour volume equals v: T in [623.15, 647.096] K. Returns the
// result (kFlashNotConverged after its cap).
double FlashRegion3SaturatedTemperature(FlashCall& c, bool liquid_side);

// Temperature on the region-3 100 MPa isobar whose energy is e: T in
// [623.15, t_hi] K, tolerance tol; the region-3 volume of the last trial is
// kept in c.region3_volume. Returns the result.
double FlashRegion3Isobar100(FlashCall& c, double t_hi, double tol = kFlashTolerance);

// Pressure of the B23 point whose region-3 volume is v: p in
// [16.5292, 100] MPa, tolerance 1e-10; the B23 temperature of the last trial
// is kept in c.boundary. Returns the result.
double FlashB23PressureSolve(FlashCall& c);

// Temperature of the B23 point whose region-3 energy is e: T in
// [623.15, t_hi] K; the B23 pressure of the last trial is kept in
// c.boundary. Returns the result.
double FlashB23TemperatureSolve(FlashCall& c, double t_hi);

// Pressure at which the region-1 saturated-liquid energy is e: p in
// [kFlashPressureMin, p_hi] MPa; IF97TSAT of the last trial is kept in
// c.saturation_temperature. Returns the result.
double FlashSaturatedLiquidPressure(FlashCall& c, double p_hi);

// Edge lines. Isobar: T in [t_lo, t_hi] with the region's energy at p
// matching e. Isotherm: p in [p_lo, p_hi] with the region's volume at T
// matching v (or, with `match_energy`, its energy matching e).
// Each returns the result.
double FlashIsobarTemperature(FlashCall& c, FlashRegion region, double p, double t_lo, double t_hi,
                              double tol);
double FlashIsothermPressure(FlashCall& c, FlashRegion region, double t, double p_lo, double p_hi,
                             bool match_energy);

// Region functions by region number.
double FlashVolume(FlashRegion region, double p, double t);
double FlashEnergyOf(const FlashEnergy& energy, FlashRegion region, double p, double t);

// ---- Solve sequences both maps end in ----
//
// Each runs one or more of the solve kinds above and ends the call. The
// values that differ between the flashes (a line of the map at v, a
// threshold volume, a range end) are passed in.

// Straight line in the (v, e) plane through (v0, e0) with the given slope.
inline double FlashLine(double v, double v0, double e0, double slope) {
  return e0 + slope * (v - v0);
}

// True when the state lies above the isobar p of the region: at the
// temperature in [t_lo, t_hi] where the region's energy at p is e, the
// region's volume exceeds v. A state beyond the isobar by less than the
// resolution of that temperature is decided on the temperature solved
// again to 1e-11, so no state inside it by more than the solve tolerance
// is taken as above it.
bool FlashAboveIsobar(FlashCall& c, FlashRegion region, double p, double t_lo, double t_hi,
                      double tol);

// Pair of the region, rejecting a state above the isobar p (the isobar's
// temperature sought in [t_lo, t_hi] with tolerance tol).
void FlashPairUpToIsobar(FlashCall& c, FlashRegion region, double p, double t_lo, double t_hi,
                         double tol);

// Pair of region 2 or 5, rejecting a state below the lowest pressure.
void FlashPairAboveLowestPressure(FlashCall& c, FlashRegion region);

// Region-5 pair, rejecting a state hotter than 2273.15 K.
void FlashRegion5UpTo2273K(FlashCall& c);

// Region-5 pair from its smallest volume v_region5_min (IF97R2V(50 MPa,
// 1073.15 K)), rejecting a state above 50 MPa (isobar tolerance tol).
void FlashRegion5UpTo50MPa(FlashCall& c, double v_region5_min, double tol);

// Steam on either side of 1073.15 K: region 2 below the isotherm, region 5
// (from its smallest volume v_region5_min, IF97R2V(50 MPa, 1073.15 K), and
// up to 50 MPa below IF97R5V(50 MPa, 2273.15 K)) above it; v_min is
// IF97R2V(100 MPa, 1073.15 K), the smallest volume on either side. A
// state the region-5 side does not solve, whose energy matches the
// region-2 energy on the isotherm within the solve tolerance, goes to the
// region-2 pair.
void FlashSteamAround1073K(FlashCall& c, double v_min, double v_region5_min, double v_region5_free);

// Superheated vapour when e lies above the saturated-vapour energy at the
// temperature whose saturated vapour has volume v, wet steam otherwise.
void FlashSaturatedVapourOrWet(FlashCall& c);

// Either side of the B23 line: by the B23 point whose region-3 energy is e
// (temperature solve up to t_hi), or whose region-3 volume is v.
void FlashB23ByTemperature(FlashCall& c, double t_hi);
void FlashB23ByPressure(FlashCall& c);

// Region 3 on the isochore, rejecting a state above 100 MPa (the isobar's
// temperature sought up to t_isobar_hi, and again to 1e-11 for a state
// just beyond it).
void FlashRegion3UpTo100MPa(FlashCall& c, double t_isobar_hi);

// Between the saturated volumes of 623.15 K, on the liquid or vapour side of
// the critical volume: placed by the region-3 saturated state of volume v.
// Below its energy the state is wet, on the region-3 saturated volumes
// above e_line_623 (the straight line through the saturated states of
// regions 1 and 2 at 623.15 K, at v), else on those of regions 1 and 2.
// Above it region 3, checked against 100 MPa on the liquid side up to
// v_isochore_only (isobar temperature sought up to t_isobar_hi). A
// saturated volume that is not found fails the call, except within the
// solve tolerance of the critical volume, where the state is placed against
// its energy at 647.096 K.
void FlashNearCritical(FlashCall& c, bool liquid_side, double e_line_623, double v_isochore_only,
                       double t_isobar_hi);

// Compressed liquid, or wet steam when v exceeds the saturated-liquid
// volume at the pressure (up to p_hi) whose saturated-liquid energy is e.
void FlashLiquidOrWet(FlashCall& c, double p_hi);

// Dense states from the energy of region 1 at 100 MPa and 623.15 K up to
// the saturated-liquid energy at 623.15 K: region 3 (up to 100 MPa, a
// pressure just above it decided on a tighter isochore solve) above
// the 623.15 K isotherm, else liquid or wet steam. v_dense_min is
// IF97R1V(100 MPa, 623.15 K); p_sat_623 is IF97PSAT(623.15 K) and
// p_critical_sat the upper end of the saturated-liquid pressure solve.
void FlashDenseUpper(FlashCall& c, double v_dense_min, double p_sat_623, double p_critical_sat);

// Dense states below that energy: wet steam, or liquid up to 100 MPa.
void FlashDenseLower(FlashCall& c, double p_sat_623);

// Wet steam, rejected when e lies on or below `line` (a form of the flash's
// lower edge) and below `edge` (its exact form) at v.
void FlashWetAboveEdgeLine(FlashCall& c, double line, double edge);

// ---- Flash from specific volume and enthalpy ----

// Fixed values of the (v, h) map: IF97 values at the corners and edges of
// the domain (the state each is taken at in the comment).
struct VhFlashConstants {
  double v_min;            // IF97R1V(100 MPa, 273.15 K)
  double v_max;            // IF97R5V(p_0, 2273.15 K), p_0 = IF97PSAT(273.15 K)
  double h_min;            // IF97R1H(p_0, 273.15 K)
  double h_max;            // IF97R5H(p_0, 2273.15 K)
  double v_tp;             // IF97R2V(p_0, 273.15 K)
  double h_tp;             // IF97R2H(p_0, 273.15 K)
  double chord_slope;      // (h_max - h_tp)/(v_max - v_tp) [kJ/m3]
  double h_2_100_1073;     // IF97R2H(100 MPa, 1073.15 K)
  double h_2_p0_1073;      // IF97R2H(p_0, 1073.15 K)
  double h_5_50_2273;      // IF97R5H(50 MPa, 2273.15 K)
  double v_5_50_2273;      // IF97R5V(50 MPa, 2273.15 K)
  double v_2_50_1073;      // IF97R2V(50 MPa, 1073.15 K)
  double v_2_100_1073;     // IF97R2V(100 MPa, 1073.15 K)
  double h_b;              // IF97R2H(100 MPa, 863.15 K) to ten digits
  double h_vap_623;        // IF97R2H(IF97PSAT(623.15 K), 623.15 K)
  double v_band_top;       // upper edge of the narrow band next to the B23 line
  double v_vap_623;        // IF97R2V(IF97PSAT(623.15 K), 623.15 K)
  double v_3_100_863;      // IF97R2V(100 MPa, 863.15 K); IF97R3P gives 100 MPa there within 4e-6
  double h_b23_band;       // enthalpy bound of the narrow B23 band
  double h_liq_623;        // IF97R1H(IF97PSAT(623.15 K), 623.15 K)
  double v_liq_623;        // IF97R1V(IF97PSAT(623.15 K), 623.15 K)
  double h_1_100_273;      // IF97R1H(100 MPa, 273.16 K)
  double v_liq_273;        // IF97R1V(p_0, 273.15 K)
  double v_isochore_only;  // region-3 volume at 100 MPa where h = h_vap_623: no state
                           // of larger volume below h_vap_623 reaches 100 MPa
  double h_dense_split;    // IF97R1H(100 MPa, 623.15 K): splits the dense liquid band
  double v_dense_min;      // IF97R1V(100 MPa, 623.15 K): smallest volume of the upper band
  double p_sat_623;        // IF97PSAT(623.15 K) [MPa]
  double p_critical_sat;   // upper end of the saturated-liquid pressure solve [MPa]
  double t_b23_max;        // upper end of the B23 temperature solve [K]
  double t_dense_min;      // lowest temperature of the dense isotherm [K]
  double t_isobar_upper;   // upper end of the 100 MPa isobar solve of the upper band [K]
  double t_isobar_lower;   // the same in the lower band and the lowest ones [K]
};

inline constexpr VhFlashConstants kVhFlash{
    .v_min = 0.000956686939148833,
    .v_max = 1716.45344896524,
    .h_min = -0.0415878262301703,
    .h_max = 7376.98026359851,
    .v_tp = 206.139716300646,
    .h_tp = 2500.89261781709,
    .chord_slope = 3.228526325572573,
    .h_2_100_1073 = 3715.18894353741,
    .h_2_p0_1073 = 4160.66092824987,
    .h_5_50_2273 = 7365.80223401565,
    .v_5_50_2273 = 0.0214633996483061,
    .v_2_50_1073 = 0.0090741330290693,
    .v_2_100_1073 = 0.0043355076532487742,
    .h_b = 2812.942061,
    .h_vap_623 = 2563.59200388825,
    .v_band_top = 0.00880115708836,
    .v_vap_623 = 0.0088009319315759,
    .v_3_100_863 = 0.00258471849590434,
    .h_b23_band = 2626.377454,
    .h_liq_623 = 1670.85821827438,
    .v_liq_623 = 0.0017400705518799,
    .h_1_100_273 = 95.4250258298089,
    .v_liq_273 = 0.0010002069773244,
    .v_isochore_only = 0.00220395194656295,
    .h_dense_split = 1553.92250337149,
    .v_dense_min = 0.00131176002700415,
    .p_sat_623 = 16.5291642526045,
    .p_critical_sat = 22.064,
    .t_b23_max = 634.0,
    .t_dense_min = 273.16,
    .t_isobar_upper = 863.15,
    .t_isobar_lower = 863.16,
};

// Which branch of the (v, h) map a state took.
enum class VhBranch {
  kOutsideDomain,
  k5A,
  k5B,
  k5C,
  k5D,  // region 5: below or on the p_min chord, hot edge, 50 MPa edge
  k25,  // either side of the 1073.15 K isotherm
  k2A,
  k2B,
  k2C,
  k2D,               // region 2 above h_b
  k2E,               // narrow band above h_b23_band
  kSaturatedVapour,  // saturated-vapour line of region 2 (above h_vap_623 or h_tp)
  kB23T,
  kB23P,           // either side of the B23 line
  kRegion3Upper,   // region 3 up to 100 MPa, h_vap_623 < h <= h_b
  kRegion3Lower,   // region 3 up to 100 MPa, h_liq_623 < h <= h_vap_623
  kWetAboveLineA,  // wet steam right of the saturated-vapour volume at 623.15 K
  kWetBelowLineA,
  kWetMiddleLarge,      // wet steam, h_1_100_273 < h <= h_liq_623, v > 10
  kWetMiddle,           // the same, v_liq_623 < v <= 10
  kNearCriticalLiquid,  // between the saturated volumes of 623.15 K, liquid side
  kNearCriticalVapour,
  kDenseUpper,   // v <= v_liq_623, h_dense_split <= h <= h_liq_623
  kDenseLower,   // v <= v_liq_623, h_1_100_273 < h < h_dense_split
  kLowestDense,  // h <= h_1_100_273, v < v_liq_273
  kLowest,       // h <= h_1_100_273, v >= v_liq_273
};

// Outcome of one (v, h) flash with what tests and benchmarks look at.
struct VhFlashOutcome : FlashResult {
  VhBranch branch = VhBranch::kOutsideDomain;
};
VhFlashOutcome VhFlash(double v, double h);

// Pressure P [MPa], temperature T [K] and quality X of water from specific
// volume V [m3/kg] and enthalpy H [kJ/kg]. -1.0 in all three for a state
// outside the domain (non-finite input included); -1000.0 in all three when
// a solve the result depends on did not converge; X = -1.0 for one phase.
void IF97VHFLASH(double& P, double& T, double& X, const double& V, const double& H);
// Pressure [bar] of the flash, -1.0 unless it succeeded.
double IF97PVH(const double& V, const double& H);
// Temperature [K] of the flash, its failure values included.
double IF97TVH(const double& V, const double& H);
// Quality of the flash, -1.0 in one phase, its failure values included.
double IF97XVH(const double& V, const double& H);

// ---- Flash from specific volume and internal energy ----

// Fixed values of the (v, u) map: IF97 values at the corners and edges of
// the domain (the state each is taken at in the comment; p_0 =
// IF97PSAT(273.15 K)), and the ends of the map's own solves.
struct VuFlashConstants {
  double v_min;              // IF97R1V(100 MPa, 273.15 K)
  double v_max;              // IF97R5V(p_0, 2273.15 K)
  double u_min;              // IF97R1U(100 MPa, 273.15 K)
  double u_max;              // IF97R5U(p_0, 2273.15 K)
  double u_liq_273;          // IF97R1U(p_0, 273.15 K): saturated liquid at 273.15 K
  double v_liq_273;          // IF97R1V(p_0, 273.15 K)
  double v_tp;               // IF97R2V(p_0, 273.15 K): saturated vapour at 273.15 K
  double u_edge_end;         // IF97R2U(p_0, 273.15 K) - 1.0: end of the lower-edge line
  double low_line_slope;     // (u_max - u_edge_end)/(v_max - v_tp) [kJ/m3]
  double edge_dv;            // v_tp - v_liq_273
  double edge_du;            // u_edge_end - u_liq_273
  double edge_slope;         // edge_du / edge_dv [kJ/m3]
  double edge_slope_large;   // the same, as written for volumes above 10 m3/kg
  double edge_at_10;         // the lower-edge line at 10 m3/kg [kJ/kg]
  double u_2_100_1073;       // IF97R2U(100 MPa, 1073.15 K)
  double u_2_p0_1073;        // IF97R2U(p_0, 1073.15 K)
  double u_5_50_2273;        // IF97R5U(50 MPa, 2273.15 K)
  double v_5_50_2273;        // IF97R5V(50 MPa, 2273.15 K)
  double v_2_50_1073;        // IF97R2V(50 MPa, 1073.15 K)
  double v_2_100_1073;       // IF97R2V(100 MPa, 1073.15 K)
  double u_b;                // IF97R2U(100 MPa, 863.15 K): the B23 line at 100 MPa
  double v_3_100_863;        // IF97R2V(100 MPa, 863.15 K)
  double v_window_lo;        // saturated-vapour volumes (near 578.93 and 418.21 K) whose
  double v_window_hi;        //   energy IF97R2U(IF97PSAT(T), T) is u_b
  double u_b23_band;         // local maximum of IF97R2U(pB23(T), T), near 661.05 K
  double u_vap_623;          // IF97R2U(IF97PSAT(623.15 K), 623.15 K)
  double v_vap_623;          // IF97R2V(IF97PSAT(623.15 K), 623.15 K)
  double v_band_top;         // upper edge of the narrow band next to the B23 line
  double u_liq_623;          // IF97R1U(IF97PSAT(623.15 K), 623.15 K)
  double v_liq_623;          // IF97R1V(IF97PSAT(623.15 K), 623.15 K)
  double dv_623;             // v_vap_623 - v_liq_623
  double du_623;             // u_vap_623 - u_liq_623
  double v_isochore_only;    // region-3 volume at 100 MPa where u = u_vap_623: no state
                             // of larger volume below u_vap_623 reaches 100 MPa
  double u_dense_split;      // IF97R1U(100 MPa, 623.15 K): splits the dense band
  double v_dense_min;        // IF97R1V(100 MPa, 623.15 K): smallest volume of its upper part
  double p_sat_623;          // IF97PSAT(623.15 K) [MPa]
  double p_critical_sat;     // upper end of the saturated-liquid pressure solve [MPa]
  double t_b23_max;          // upper end of the B23 temperature solve [K]
  double t_dense_min;        // isotherm of the coldest liquid [K]
  double t_cold_isobar_max;  // upper end of the coldest liquid's 100 MPa isobar solve [K]
  double t_isobar_upper;     // upper end of the 100 MPa isobar solve next to the B23 line [K]
  double t_isobar_lower;     // the same below u_vap_623 [K]
};

inline constexpr VuFlashConstants kVuFlash{
    .v_min = 0.000956686939148833,
    .v_max = 1716.45344896524,
    .u_min = -0.282725255116428,
    .u_max = 6327.86215534788,
    .u_liq_273 = -0.0421991651726097,
    .v_liq_273 = 0.0010002069773244,
    .v_tp = 206.139716300646,
    .u_edge_end = 2373.89740988944,
    .low_line_slope = 2.6179757622163686,
    .edge_dv = 206.13871609366868,
    .edge_du = 2373.9396090546124,
    .edge_slope = 11.516223900297812,
    .edge_slope_large = 11.516223900297813,
    .edge_at_10 = 115.10852123030801,
    .u_2_100_1073 = 3281.63817821279,
    .u_2_p0_1073 = 3665.37485550889,
    .u_5_50_2273 = 6292.63225160034,
    .v_5_50_2273 = 0.0214633996483061,
    .v_2_50_1073 = 0.0090741330290693,
    .v_2_100_1073 = 0.0043355076532487742,
    .u_b = 2554.47021100973,
    .v_3_100_863 = 0.00258471849590434,
    .v_window_lo = 0.0196786342128,
    .v_window_hi = 0.445353124367,
    .u_b23_band = 2467.61089744322,
    .u_vap_623 = 2418.1199544154,
    .v_vap_623 = 0.0088009319315759,
    .v_band_top = 0.00880115708836,
    .u_liq_623 = 1642.09630631134,
    .v_liq_623 = 0.0017400705518799,
    .dv_623 = 0.007060861379695999,
    .du_623 = 776.0236481040602,
    .v_isochore_only = 0.00233018363686161,
    .u_dense_split = 1422.74650067119,
    .v_dense_min = 0.00131176002700415,
    .p_sat_623 = 16.5291642526045,
    .p_critical_sat = 22.064,
    .t_b23_max = 631.0,
    .t_dense_min = 273.15,
    .t_cold_isobar_max = 1073.15,
    .t_isobar_upper = 863.15,
    .t_isobar_lower = 863.16,
};

// Band of the (v, u) map a state is first placed in, by u and then v.
enum class VuBand {
  kOutsideDomain,
  kColdLiquid,       // u < u_liq_273: liquid near 273.15 K, else handed on by u and v
  kSteam1073,        // u_2_100_1073 < u <= u_2_p0_1073: either side of 1073.15 K
  kRegion5,          // u > u_2_p0_1073
  kVapourAboveB23,   // u_b < u <= u_2_100_1073
  kB23,              // u_vap_623 < u <= u_b, v <= v_band_top
  kVapourBesideB23,  // the same energies, v > v_band_top
  kDome,             // u_liq_623 < u <= u_vap_623, v <= v_vap_623
  kWetOrVapour,      // the same energies, v > v_vap_623
  kLowest,           // u = u_min
  kDense,            // u_min < u <= u_liq_623, v <= v_liq_623
  kWet,              // the same energies, v > v_liq_623
};

// Path a state took within its band.
enum class VuBranch {
  kOutsideDomain,
  kColdLiquid,
  kSteam1073,
  k5Dense,
  k5Hot,
  k5AboveLine,
  k5BelowLine,           // v <= v_5_50_2273; u > u_5_50_2273; the p_min line
  kHighSaturatedVapour,  // between the saturated-vapour volumes of u_b
  kHighVapour,           // v_2_100_1073 < v <= v_tp
  kHigh100MPa,           // v <= v_2_100_1073
  kHighAboveLine,
  kHighBelowLine,  // v > v_tp, either side of the p_min line
  kB23Region3,     // v <= v_3_100_863
  kB23P,           // v_3_100_863 < v < v_vap_623
  kB23Vapour,
  kB23T,  // v_vap_623 <= v <= v_band_top, either side of u_b23_band
  kBesideSaturatedVapour,
  kBesideAboveLine,
  kBesideBelowLine,
  kDomeDense,  // v <= v_liq_623
  kDomeLiquid,
  kDomeVapour,  // either side of the critical volume
  kLargeSaturatedVapour,
  kLargeWet,  // either side of u_edge_end
  kLowest,
  kDenseUpper,
  kDenseLower,  // either side of u_dense_split
  kWetSmall,
  kWetLarge,  // either side of 10 m3/kg
};

// Outcome of one (v, u) flash with what tests and benchmarks look at.
struct VuFlashOutcome : FlashResult {
  VuBand band = VuBand::kOutsideDomain;        // where the map placed the state first
  VuBranch branch = VuBranch::kOutsideDomain;  // the path that ended the call
};
VuFlashOutcome VuFlash(double v, double u);

// Pressure P [MPa], temperature T [K] and quality X of water from specific
// volume V [m3/kg] and internal energy U [kJ/kg]. -1.0 in all three for a
// state outside the domain (non-finite input included); -1000.0 in all
// three when a solve the result depends on did not converge; X = -1.0 for
// one phase.
void IF97VUFLASH(double& P, double& T, double& X, const double& V, const double& U);
// Pressure [bar] of the flash, -1.0 unless it succeeded.
double IF97PVU(const double& V, const double& U);
// Temperature [K] of the flash, its failure values included.
double IF97TVU(const double& V, const double& U);
// Quality of the flash, -1.0 in one phase, its failure values included.
double IF97XVU(const double& V, const double& U);

}  // namespace thermomodels
