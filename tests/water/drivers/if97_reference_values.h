// IAPWS-IF97 region 3 in 50-digit arithmetic from the published coefficients, evaluated
// independently of the library by the functions of if97_reference.py.
// clang-format off
#pragma once

namespace thermomodels::if97_reference {

// Region 3 at 647.096 K and 322 kg/m3: p [MPa], (dp/dv)_T [kPa kg/m3],
// (dp/dT)_v [kPa/K], cv [kJ/(kg K)].
inline constexpr double kCriticalPressure = 2.206399999995172e+1;
inline constexpr double kCriticalDpDv = 6.049492551098936e-5;
inline constexpr double kCriticalDpDt = 2.6824840751153967e+2;

// Region 3 at (T [K], molar volume V [m3/kmol]): cp, cv [kJ/(kg K)].
struct HeatCapacityRow {
  double t, molar_volume, cp, cv;
};
inline constexpr HeatCapacityRow kHeatCapacities[] = {
    {647.096, 0.05594174546244973, 1.8903860068778294e+9, 4.5385043644354158},
    {647.096, 0.05595390803348191, 1.8912540138336496e+9, 4.5388430540768047},
    {647.0960015, 0.055947826086956524, 5.2956007909629656e+8, 4.5386736696630299},
    {647.0959985, 0.055947826086956524, 5.2883241235428706e+8, 4.5386738720465548},
    {647.0960015, 0.05594435128252904, 4.8504005249978144e+8, 4.538576881082626},
    {650.0, 0.0360304, 1.389357174417235e+1, 3.1913178718891309},
    {650.0, 0.090076, 4.4657934155580872e+1, 4.0411807595501377},
    {750.0, 0.0360304, 6.341653594791294, 2.7170167712100955},
};

// Region 3 ln(f/p) at (T [K], V [m3/kmol]) and the caller's P [Pa]; p3 [Pa]
// is the region-3 pressure of (T, V).
struct FugacityRow {
  double t, molar_volume, p, ln_phi, p3;
};
inline constexpr FugacityRow kFugacities[] = {
    {650.0, 0.0360304, 30000000.0, -6.5988280885609344e-1, 2.5583701818522571e+7},
    {650.0, 0.090076, 20000000.0, -3.500168592351023e-1, 2.229306425661086e+7},
    {750.0, 0.0360304, 90000000.0, -8.2636769139835224e-1, 7.830956391691728e+7},
    {700.0, 0.045038, 40000000.0, -5.754379250562052e-1, 4.1063748089095556e+7},
    {650.0, 0.0360304, 25583701.8, -5.3008371045042138e-1, 2.5583701818522571e+7},
};

}  // namespace thermomodels::if97_reference
