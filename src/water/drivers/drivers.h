// Water property routers and drivers: properties of water from pressure in
// bar, temperature in K and a quality flag, the IAPS 1985 thermal
// conductivity, and the exported water routines built on them.
#pragma once

#include <cstdint>

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
// IAPS 1985 thermal conductivity [W/(m K)] of region-3 water at p [MPa] and
// T [K], with the simplified critical enhancement.  The volume comes from the
// region-3 backward equation: full subregion choice (WTCON85), saturated
// liquid side (WTCON85L) or saturated vapour side (WTCON85V).
// ---------------------------------------------------------------------------
double WTCON85(const double& p, const double& T);
double WTCON85L(const double& p, const double& T);
double WTCON85V(const double& p, const double& T);

// ---- Exported water routines and drivers ----

}  // namespace thermomodels
