// IAPWS-IF97 forward equations of water and steam: the saturation line,
// regions 1, 2, 3 and 5, their partial derivatives and isentropic exponents,
// and the other IAPWS property releases.
//
// Units: p in MPa, T in K, v in m3/kg, h, u, g, f in kJ/kg, s, cp, cv in
// kJ/(kg K), w in m/s. The partial derivatives (IF97R?DVP, IF97R?DPT,
// IF97R3DPV) are per kPa. Region functions take (P, T) in regions 1, 2 and 5
// and (T, V) in region 3; they make no range checks and evaluate their
// equation for any argument (undefined states give non-finite values). All
// functions here are pure: no saved state, no globals, no allocation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace thermomodels {

// ---- Saturation line (IF97 region 4, Eqs. 30 and 31) ----

// Saturation pressure [MPa] from T [K]; straight-line bridges from
// 647.0958 K on, continued above the critical temperature.
double IF97PSAT(const double& T);
// Saturation temperature [K] from p [MPa]; bridges from 22.063946352 MPa on.
double IF97TSAT(const double& P);
// Saturation pressure [bar]; -1.0 unless 273.0 <= T <= 647.301.
double IF97PSATB(const double& T);
// Saturation temperature [K] from P [bar]; -1.0 unless
// 0.00061 <= 0.1 P <= 22.1201 (MPa).
double IF97TSATB(const double& P);

// ---- Boundary between regions 2 and 3 (IF97 Eqs. 5 and 6) ----
// Pressure [MPa] on the boundary at T [K], and temperature [K] at P [MPa].
// Eq. 5, n1 + n2 T + n3 T^2 in Horner form; inline for the stability box of
// region 2 on the dispatcher's path.
inline double IF97B23P(const double& T) {
  return (0.0010192970039326 * T - 1.1671859879975) * T + 348.05185628969;
}
double IF97B23T(const double& P);

// ---- Region 1 (compressed liquid), (P, T) ----
double IF97R1V(const double& P, const double& T);
double IF97R1H(const double& P, const double& T);
double IF97R1S(const double& P, const double& T);
double IF97R1U(const double& P, const double& T);
double IF97R1CP(const double& P, const double& T);
double IF97R1CV(const double& P, const double& T);
double IF97R1W(const double& P, const double& T);
double IF97R1G(const double& P, const double& T);
// Fugacity [MPa] referred to the region-2 ideal-gas part.
double IF97R1FUG(const double& P, const double& T);

// ---- Region 2 (superheated vapour), (P, T) ----
double IF97R2V(const double& P, const double& T);
double IF97R2H(const double& P, const double& T);
double IF97R2S(const double& P, const double& T);
double IF97R2U(const double& P, const double& T);
double IF97R2CP(const double& P, const double& T);
double IF97R2CV(const double& P, const double& T);
double IF97R2W(const double& P, const double& T);
double IF97R2G(const double& P, const double& T);
// Fugacity [MPa] = p exp(gamma_r).
double IF97R2FUG(const double& P, const double& T);

// Dimensionless Gibbs energy of the region-2 ideal-gas part (IF97 Eq. 16,
// Table 10) at p [MPa] and T [K]: the reference of the region-1 and
// region-3 fugacities.
double Region2IdealGamma(double pressure_mpa, double temperature_k);

// ---- Region 3 (near-critical), (T, V) ----
double IF97R3P(const double& T, const double& V);
double IF97R3H(const double& T, const double& V);
double IF97R3S(const double& T, const double& V);
double IF97R3U(const double& T, const double& V);
// Absolute value of the cp formula; 462218448918.886 within
// |rho - 322| <= 0.03 kg/m3 and |T - 647.096| <= 1e-6 K.
double IF97R3CP(const double& T, const double& V);
double IF97R3CV(const double& T, const double& V);
double IF97R3W(const double& T, const double& V);
double IF97R3F(const double& T, const double& V);
// Fugacity [MPa] of (T, V) at the caller's pressure P, referred to the
// region-2 ideal-gas part.
double IF97R3FUG(const double& P, const double& T, const double& V);

// ---- Region 5 (high-temperature steam), (P, T) ----
// Dimensionless Gibbs parts (IF97 Eqs. 33, 34, 2007 revision): ideal-gas
// part GO and residual part GR, with derivatives P (pi) and T (tau).
double IF97R5GO(const double& P, const double& T);
double IF97R5GOP(const double& P, const double& T);
double IF97R5GOPP(const double& P, const double& T);
double IF97R5GOT(const double& P, const double& T);
double IF97R5GOTT(const double& P, const double& T);
double IF97R5GOPT(const double& P, const double& T);
double IF97R5GR(const double& P, const double& T);
double IF97R5GRP(const double& P, const double& T);
double IF97R5GRPP(const double& P, const double& T);
double IF97R5GRT(const double& P, const double& T);
double IF97R5GRTT(const double& P, const double& T);
double IF97R5GRPT(const double& P, const double& T);
double IF97R5V(const double& P, const double& T);
double IF97R5H(const double& P, const double& T);
double IF97R5S(const double& P, const double& T);
double IF97R5U(const double& P, const double& T);
double IF97R5CP(const double& P, const double& T);
double IF97R5CV(const double& P, const double& T);
double IF97R5W(const double& P, const double& T);
// Fugacity [MPa] = p exp(gamma_r), referred to region 5's own ideal gas.
double IF97R5FUG(const double& P, const double& T);

// ---- Partial derivatives (pressure per kPa) ----
// (dv/dp)_T [m3/(kg kPa)], (dv/dT)_p [m3/(kg K)], (dp/dT)_v [kPa/K].
double IF97R1DVP(const double& P, const double& T);
double IF97R1DVT(const double& P, const double& T);
double IF97R1DPT(const double& P, const double& T);
double IF97R2DVP(const double& P, const double& T);
double IF97R2DVT(const double& P, const double& T);
double IF97R2DPT(const double& P, const double& T);
double IF97R5DVP(const double& P, const double& T);
double IF97R5DVT(const double& P, const double& T);
// Region 3 from (T, V): (dp/dT)_v [kPa/K], (dp/dv)_T [kPa kg/m3],
// (dv/dp)_T [m3/(kg kPa)], (dv/dT)_p [m3/(kg K)], (1/p)(dp/dT)_v [1/K].
double IF97R3DPT(const double& T, const double& V);
double IF97R3DPV(const double& T, const double& V);
double IF97R3DVP(const double& T, const double& V);
double IF97R3DVT(const double& T, const double& V);
double IF97R3APR(const double& T, const double& V);

// ---- Isentropic exponent kappa = w^2/(p v) ----
double IF97R1KAP(const double& P, const double& T);
double IF97R2KAP(const double& P, const double& T);
double IF97R3KAP(const double& T, const double& V);
double IF97R5KAP(const double& P, const double& T);

// ---- Whether the equation describes a state that can exist ----
// IF97R?Stable: true where the region's equation gives at (P, T), region 3
// at (T, V), a positive volume (region 3: pressure), (dp/dv)_T < 0 and
// positive cp, cv and squared speed of sound; false otherwise and for
// arguments that are not numbers. Metastable states pass: the test is the
// mechanical and thermal stability of the equation itself, not the region's
// range. Region 3 counts dp/drho down to -1e-7 pc/rhoc as zero: the
// equation's dp/drho is not exactly zero at the critical point and is a tiny
// negative number on its isochore just below 647.096 K (to 1.2e-5 K below),
// and those states stay served.
bool IF97R1Stable(const double& P, const double& T);
bool IF97R2Stable(const double& P, const double& T);
bool IF97R3Stable(const double& T, const double& V);
bool IF97R5Stable(const double& P, const double& T);

// IF97R?Stable with no evaluation inside a box where the equation is stable
// everywhere (every test holds on grids of 0.05 to 0.25 K by 1e-6 of ln p
// and 1/2000 of the box's pressure range, region 3 of ln rho and rho):
// region 1 250-600 K up to 150 MPa; region 2 its own range (273.15-1073.15 K
// up to the saturation line, the B23 line, 100 MPa); region 3 647.1-863.15 K
// from 1e-9 to 700 kg/m3; region 5 1000-2500 K up to 150 MPa.
inline bool IF97R1Physical(const double& P, const double& T) {
  return (T >= 250.0 && T <= 600.0 && P > 0.0 && P <= 150.0) || IF97R1Stable(P, T);
}
inline bool IF97R2Physical(const double& P, const double& T) {
  const bool in_range = P > 0.0 && T >= 273.15 && T <= 1073.15 &&
                        (T > 863.15   ? P <= 100.0
                         : T > 623.15 ? P <= IF97B23P(T)
                                      : P <= IF97PSAT(T));
  return in_range || IF97R2Stable(P, T);
}
inline bool IF97R3Physical(const double& T, const double& V) {
  return (T >= 647.1 && T <= 863.15 && V >= 1.0 / 700.0 && V <= 1e9) || IF97R3Stable(T, V);
}
inline bool IF97R5Physical(const double& P, const double& T) {
  return (T >= 1000.0 && T <= 2500.0 && P > 0.0 && P <= 150.0) || IF97R5Stable(P, T);
}

// ---- Shared machinery of the region functions (not part of the interface) ----
namespace if97_detail {

// Specific gas constant of water (IF97 Eq. 1) in kJ/(kg K) and J/(kg K).
inline constexpr double kGasConstant = 0.461526;
inline constexpr double kGasConstantJ = 461.526;

// The stability test of the IFxxPhysical functions from the volume (region 3:
// the pressure), (dp/dv)_T (or (dv/dp)_T, the same sign), cp, cv and w^2 in
// any positive units; written so that NaN fails.
inline bool PhysicalState(double v_or_p, double dpdv, double cp, double cv, double w2) {
  return v_or_p > 0.0 && dpdv < 0.0 && cp > 0.0 && cv > 0.0 && w2 > 0.0;
}

// One term n x^i y^j of a double power series in two reduced variables.
struct PowerTerm {
  int i;
  int j;
  double n;
};

// IAPWS-IF97 Table 2: exponents I, J and coefficients n of Eq. 7,
// gamma = sum n (7.1 - pi)^I (tau - 1.222)^J.
inline constexpr PowerTerm kRegion1Terms[] = {
    {0, -2, 0.14632971213167E+00},    {0, -1, -0.84548187169114E+00},
    {0, 0, -0.37563603672040E+01},    {0, 1, 0.33855169168385E+01},
    {0, 2, -0.95791963387872E+00},    {0, 3, 0.15772038513228E+00},
    {0, 4, -0.16616417199501E-01},    {0, 5, 0.81214629983568E-03},
    {1, -9, 0.28319080123804E-03},    {1, -7, -0.60706301565874E-03},
    {1, -1, -0.18990068218419E-01},   {1, 0, -0.32529748770505E-01},
    {1, 1, -0.21841717175414E-01},    {1, 3, -0.52838357969930E-04},
    {2, -3, -0.47184321073267E-03},   {2, 0, -0.30001780793026E-03},
    {2, 1, 0.47661393906987E-04},     {2, 3, -0.44141845330846E-05},
    {2, 17, -0.72694996297594E-15},   {3, -4, -0.31679644845054E-04},
    {3, 0, -0.28270797985312E-05},    {3, 6, -0.85205128120103E-09},
    {4, -5, -0.22425281908000E-05},   {4, -2, -0.65171222895601E-06},
    {4, 10, -0.14341729937924E-12},   {5, -8, -0.40516996860117E-06},
    {8, -11, -0.12734301741641E-08},  {8, -6, -0.17424871230634E-09},
    {21, -29, -0.68762131295531E-18}, {23, -31, 0.14478307828521E-19},
    {29, -38, 0.26335781662795E-22},  {30, -39, -0.11947622640071E-22},
    {31, -40, 0.18228094581404E-23},  {32, -41, -0.93537087292458E-25},
};

// IAPWS-IF97 Table 10: exponents J0 and coefficients n0 of the ideal-gas part
// (Eq. 16, basic equation), gamma0 = ln pi + sum n0 tau^J0 (stored as i = 0).
inline constexpr PowerTerm kRegion2IdealTerms[] = {
    {0, 0, -0.96927686500217E+01},  {0, 1, 0.10086655968018E+02},   {0, -5, -0.56087911283020E-02},
    {0, -4, 0.71452738081455E-01},  {0, -3, -0.40710498223928E+00}, {0, -2, 0.14240819171444E+01},
    {0, -1, -0.43839511319450E+01}, {0, 2, -0.28408632460772E+00},  {0, 3, 0.21268463753307E-01},
};

// IAPWS-IF97 Table 11: exponents I, J and coefficients n of the residual part
// (Eq. 17), gammar = sum n pi^I (tau - 0.5)^J.
inline constexpr PowerTerm kRegion2ResidualTerms[] = {
    {1, 0, -0.17731742473213E-02},   {1, 1, -0.17834862292358E-01},
    {1, 2, -0.45996013696365E-01},   {1, 3, -0.57581259083432E-01},
    {1, 6, -0.50325278727930E-01},   {2, 1, -0.33032641670203E-04},
    {2, 2, -0.18948987516315E-03},   {2, 4, -0.39392777243355E-02},
    {2, 7, -0.43797295650573E-01},   {2, 36, -0.26674547914087E-04},
    {3, 0, 0.20481737692309E-07},    {3, 1, 0.43870667284435E-06},
    {3, 3, -0.32277677238570E-04},   {3, 6, -0.15033924542148E-02},
    {3, 35, -0.40668253562649E-01},  {4, 1, -0.78847309559367E-09},
    {4, 2, 0.12790717852285E-07},    {4, 3, 0.48225372718507E-06},
    {5, 7, 0.22922076337661E-05},    {6, 3, -0.16714766451061E-10},
    {6, 16, -0.21171472321355E-02},  {6, 35, -0.23895741934104E+02},
    {7, 0, -0.59059564324270E-17},   {7, 11, -0.12621808899101E-05},
    {7, 25, -0.38946842435739E-01},  {8, 8, 0.11256211360459E-10},
    {8, 36, -0.82311340897998E+01},  {9, 13, 0.19809712802088E-07},
    {10, 4, 0.10406965210174E-18},   {10, 10, -0.10234747095929E-12},
    {10, 14, -0.10018179379511E-08}, {16, 29, -0.80882908646985E-10},
    {16, 50, 0.10693031879409E+00},  {18, 57, -0.33662250574171E+00},
    {20, 20, 0.89185845355421E-24},  {20, 35, 0.30629316876232E-12},
    {20, 48, -0.42002467698208E-05}, {21, 21, -0.59056029685639E-25},
    {22, 53, 0.37826947613457E-05},  {23, 39, -0.12768608934681E-14},
    {24, 26, 0.73087610595061E-28},  {24, 40, 0.55414715350778E-16},
    {24, 58, -0.94369707241210E-06},
};

// IAPWS-IF97 Table 30: coefficient n1 of ln(delta) in Eq. 28 ...
inline constexpr double kLogDeltaCoefficient = 0.10658070028513E+01;

// ... and exponents I, J and coefficients n of its terms n delta^I tau^J
// (rows 2 to 40).
inline constexpr PowerTerm kRegion3Terms[] = {
    {0, 0, -0.15732845290239E+02},  {0, 1, 0.20944396974307E+02},   {0, 2, -0.76867707878716E+01},
    {0, 7, 0.26185947787954E+01},   {0, 10, -0.28080781148620E+01}, {0, 12, 0.12053369696517E+01},
    {0, 23, -0.84566812812502E-02}, {1, 2, -0.12654315477714E+01},  {1, 6, -0.11524407806681E+01},
    {1, 15, 0.88521043984318E+00},  {1, 17, -0.64207765181607E+00}, {2, 0, 0.38493460186671E+00},
    {2, 2, -0.85214708824206E+00},  {2, 6, 0.48972281541877E+01},   {2, 7, -0.30502617256965E+01},
    {2, 22, 0.39420536879154E-01},  {2, 26, 0.12558408424308E+00},  {3, 0, -0.27999329698710E+00},
    {3, 2, 0.13899799569460E+01},   {3, 4, -0.20189915023570E+01},  {3, 16, -0.82147637173963E-02},
    {3, 26, -0.47596035734923E+00}, {4, 0, 0.43984074473500E-01},   {4, 2, -0.44476435428739E+00},
    {4, 4, 0.90572070719733E+00},   {4, 26, 0.70522450087967E+00},  {5, 1, 0.10770512626332E+00},
    {5, 3, -0.32913623258954E+00},  {5, 26, -0.50871062041158E+00}, {6, 0, -0.22175400873096E-01},
    {6, 2, 0.94260751665092E-01},   {6, 26, 0.16436278447961E+00},  {7, 2, -0.13503372241348E-01},
    {8, 26, -0.14834345352472E-01}, {9, 2, 0.57922953628084E-03},   {9, 26, 0.32308904703711E-02},
    {10, 0, 0.80964802996215E-04},  {10, 1, -0.16557679795037E-03}, {11, 26, -0.44923899061815E-04},
};

// IAPWS-IF97 (revised 2007) Table 37: exponents J0 and coefficients n0 of the
// ideal-gas part (Eq. 33), gamma0 = ln pi + sum n0 tau^J0 (stored as i = 0).
inline constexpr PowerTerm kRegion5IdealTerms[] = {
    {0, 0, -0.13179983674201E+02}, {0, 1, 0.68540841634434E+01},   {0, -3, -0.24805148933466E-01},
    {0, -2, 0.36901534980333E+00}, {0, -1, -0.31161318213925E+01}, {0, 2, -0.32961626538917E+00},
};

// IAPWS-IF97 (revised 2007) Table 38: exponents I, J and coefficients n of
// the residual part (Eq. 34), gammar = sum n pi^I tau^J.
inline constexpr PowerTerm kRegion5ResidualTerms[] = {
    {1, 1, 0.15736404855259E-02}, {1, 2, 0.90153761673944E-03},  {1, 3, -0.50270077677648E-02},
    {2, 3, 0.22440037409485E-05}, {2, 9, -0.41163275453471E-05}, {3, 7, 0.37919454822955E-07},
};

// Which sums of a series a caller needs: the series and its derivatives.
enum SumFlag : unsigned {
  kSum = 1u,     // s
  kSumX = 2u,    // ds/dx
  kSumXX = 4u,   // d2s/dx2
  kSumY = 8u,    // ds/dy
  kSumYY = 16u,  // d2s/dy2
  kSumXY = 32u,  // d2s/dxdy
  kSumAll = 63u
};

struct PowerSums {
  double s = 0.0, sx = 0.0, sxx = 0.0, sy = 0.0, syy = 0.0, sxy = 0.0;
};

// Exponent range a series and its second derivatives reach in each variable.
struct SeriesRange {
  int xlo, xhi, ylo, yhi;
};

template <typename Terms>
constexpr SeriesRange RangeOf(const Terms& terms) {
  SeriesRange r{0, 0, 0, 0};
  for (const PowerTerm& t : terms) {
    r.xlo = t.i < r.xlo ? t.i : r.xlo;
    r.xhi = t.i > r.xhi ? t.i : r.xhi;
    r.ylo = t.j < r.ylo ? t.j : r.ylo;
    r.yhi = t.j > r.yhi ? t.j : r.yhi;
  }
  r.xlo -= 2;
  r.ylo -= 2;
  return r;
}

// How often the sum named by one flag differentiates in x and in y.
constexpr int OrderInX(unsigned flag) {
  return flag == kSumXX ? 2 : (flag == kSumX || flag == kSumXY) ? 1 : 0;
}
constexpr int OrderInY(unsigned flag) {
  return flag == kSumYY ? 2 : (flag == kSumY || flag == kSumXY) ? 1 : 0;
}

// The term n x^i y^j differentiated as kFlag says: its coefficient carries
// the factors i, i (i - 1), j, j (j - 1) or i j (multiplied in that order, so
// that the coefficient rounds as the factors applied one by one), its
// exponents are lowered. A coefficient of zero marks a term that vanishes.
constexpr PowerTerm Differentiate(const PowerTerm& t, unsigned flag) {
  const int ox = OrderInX(flag), oy = OrderInY(flag);
  const double di = t.i, dj = t.j;
  double c = t.n;
  if (ox >= 1) c = c * di;
  if (ox == 2) c = c * (di - 1.0);
  if (oy >= 1) c = c * dj;
  if (oy == 2) c = c * (dj - 1.0);
  return PowerTerm{t.i - ox, t.j - oy, c};
}

template <unsigned kFlag, const auto& kTerms>
constexpr std::size_t SurvivingTerms() {
  std::size_t count = 0;
  for (const PowerTerm& t : kTerms) count += Differentiate(t, kFlag).n != 0.0 ? 1 : 0;
  return count;
}

// The sum kFlag of the series kTerms as a table of its non-vanishing terms,
// built at compile time: a term whose exponent the derivative brings down
// to a zero factor costs nothing at run time.
template <unsigned kFlag, const auto& kTerms>
inline constexpr auto kDerivedTerms = [] {
  std::array<PowerTerm, SurvivingTerms<kFlag, kTerms>()> out{};
  std::size_t k = 0;
  for (const PowerTerm& t : kTerms) {
    const PowerTerm d = Differentiate(t, kFlag);
    if (d.n != 0.0) out[k++] = d;
  }
  return out;
}();

// Which powers x^lo .. x^hi (or of y) the sums in kWant use, together with
// the halves x^(e/2), x^(e - e/2) each of them is built from.
template <int kLo, int kHi>
struct NeededPowers {
  bool has[kHi - kLo + 1] = {};
  constexpr bool operator[](int e) const { return has[e - kLo]; }
};

template <unsigned kWant, const auto& kTerms, bool kInX, int kLo, int kHi>
constexpr NeededPowers<kLo, kHi> PowersUsed() {
  NeededPowers<kLo, kHi> need;
  const auto mark = [&need](const auto& derived) {
    for (const PowerTerm& t : derived) need.has[(kInX ? t.i : t.j) - kLo] = true;
  };
  if constexpr ((kWant & kSum) != 0) mark(kDerivedTerms<kSum, kTerms>);
  if constexpr ((kWant & kSumX) != 0) mark(kDerivedTerms<kSumX, kTerms>);
  if constexpr ((kWant & kSumXX) != 0) mark(kDerivedTerms<kSumXX, kTerms>);
  if constexpr ((kWant & kSumY) != 0) mark(kDerivedTerms<kSumY, kTerms>);
  if constexpr ((kWant & kSumYY) != 0) mark(kDerivedTerms<kSumYY, kTerms>);
  if constexpr ((kWant & kSumXY) != 0) mark(kDerivedTerms<kSumXY, kTerms>);
  for (int e = kHi; e >= 2; --e)
    if (need[e]) need.has[e / 2 - kLo] = need.has[e - e / 2 - kLo] = true;
  for (int e = kLo; e <= -2; ++e)
    if (need[e]) need.has[-(-e / 2) - kLo] = need.has[-(-e - -e / 2) - kLo] = true;
  return need;
}

// x^e for the exponents kNeed marks (kLo <= e <= kHi, kLo < 0 <= kHi), each
// formed once by splitting its exponent in halves: a shallow multiplication
// tree, no pow, and no work for powers no sum reads.
template <int kLo, int kHi, const auto& kNeed>
class PowerTable {
 public:
  explicit PowerTable(double x) {
    at(0) = 1.0;
    FillPositive(x, std::make_integer_sequence<int, kHi>{});
    if constexpr (kNeed[-1]) {
      at(-1) = 1.0 / x;
      FillNegative(std::make_integer_sequence<int, -kLo - 1>{});
    }
  }
  double operator[](int e) const { return v_[e - kLo]; }

 private:
  double& at(int e) { return v_[e - kLo]; }
  template <int... k>
  void FillPositive([[maybe_unused]] double x, std::integer_sequence<int, k...>) {
    (Positive<k + 1>(x), ...);
  }
  template <int e>
  void Positive(double x) {
    if constexpr (e == 1 && kNeed[1]) at(1) = x;
    if constexpr (e >= 2 && kNeed[e]) at(e) = at(e / 2) * at(e - e / 2);
  }
  template <int... k>
  void FillNegative(std::integer_sequence<int, k...>) {
    (Negative<k + 2>(), ...);
  }
  template <int e>
  void Negative() {
    if constexpr (kNeed[-e]) at(-e) = at(-(e / 2)) * at(-(e - e / 2));
  }
  double v_[kHi - kLo + 1];
};

// Independent partial sums per requested sum: the additions of one sum form
// kLanes short chains instead of one long one, so that they overlap in the
// pipeline. Fewer lanes when several sums already run side by side.
constexpr std::size_t LanesFor(unsigned want) {
  const int sums = ((want & kSum) != 0) + ((want & kSumX) != 0) + ((want & kSumXX) != 0) +
                   ((want & kSumY) != 0) + ((want & kSumYY) != 0) + ((want & kSumXY) != 0);
  return sums <= 1 ? 4 : 2;
}

// Lanes per sum of the evaluations that serve several properties of one
// state at once: as many as the single-property functions whose results
// should stay the same bit for bit use (four for one sum, two for several).
inline constexpr std::size_t kOneSumLanes = LanesFor(kSum);
inline constexpr std::size_t kSeveralSumsLanes = LanesFor(kSum | kSumY);

// Runs of at most kRunLength consecutive terms with the same power of x in a
// derived table: each run is summed over its powers of y and multiplied by
// its power of x once.
inline constexpr std::size_t kRunLength = 4;

struct TermRun {
  int i;
  std::size_t begin, end;
};

template <const auto& kDerived>
constexpr std::size_t RunCount() {
  std::size_t count = 0;
  for (std::size_t k = 0; k < kDerived.size(); ++count) {
    const std::size_t begin = k;
    while (k < kDerived.size() && kDerived[k].i == kDerived[begin].i && k - begin < kRunLength) ++k;
  }
  return count;
}

template <const auto& kDerived>
inline constexpr auto kRuns = [] {
  std::array<TermRun, RunCount<kDerived>()> out{};
  std::size_t k = 0;
  for (TermRun& run : out) {
    run.i = kDerived[k].i;
    run.begin = k;
    while (k < kDerived.size() && kDerived[k].i == run.i && k - run.begin < kRunLength) ++k;
    run.end = k;
  }
  return out;
}();

// One term c y^j of a run; a zero exponent multiplies by nothing.
template <const auto& kDerived, std::size_t k, class YPowers>
inline double RunTerm(const YPowers& yp) {
  constexpr PowerTerm t = kDerived[k];
  if constexpr (t.j == 0) return t.n;
  return t.n * yp[t.j];
}

template <const auto& kDerived, std::size_t kBegin, class YPowers, std::size_t... k>
inline double RunSum(const YPowers& yp, std::index_sequence<k...>) {
  return (... + RunTerm<kDerived, kBegin + k>(yp));
}

// The sum of run r over its powers of y.
template <const auto& kDerived, std::size_t r, class YPowers>
inline double RunInner(const YPowers& yp) {
  constexpr TermRun run = kRuns<kDerived>[r];
  return RunSum<kDerived, run.begin>(yp, std::make_index_sequence<run.end - run.begin>{});
}

// Run r's sum over y times its power of x.
template <const auto& kDerived, std::size_t r, class XPowers>
inline double RunValue(const XPowers& xp, double inner) {
  constexpr TermRun run = kRuns<kDerived>[r];
  if constexpr (run.i == 0) return inner;
  return xp[run.i] * inner;
}

// Where a sum takes the sums of its runs over y from: formed from the power
// table of y on the spot, or read from a table formed earlier.
template <const auto& kDerived, class YPowers>
struct InnerFromPowers {
  const YPowers& yp;
  template <std::size_t r>
  double Get() const {
    return RunInner<kDerived, r>(yp);
  }
};

struct InnerFromTable {
  const double* inner;
  template <std::size_t r>
  double Get() const {
    return inner[r];
  }
};

// Run r opens lane r % kLanes or adds to it; lanes start from their first
// run rather than from zero, which would cost an addition each.
template <std::size_t r, std::size_t kLanes>
inline void Accumulate(double (&lane)[kLanes], double value) {
  if constexpr (r < kLanes) {
    lane[r] = value;
  } else {
    lane[r % kLanes] += value;
  }
}

template <const auto& kDerived, std::size_t kLanes, class XPowers, class Inner, std::size_t... r>
inline double SumDerived(const XPowers& xp, const Inner& inner, std::index_sequence<r...>) {
  constexpr std::size_t kRunsHere = sizeof...(r);
  if constexpr (kRunsHere == 0) {
    return 0.0;
  } else {
    constexpr std::size_t kUsed = kRunsHere < kLanes ? kRunsHere : kLanes;
    double lane[kUsed];
    (Accumulate<r>(lane, RunValue<kDerived, r>(xp, inner.template Get<r>())), ...);
    if constexpr (kUsed == 1) return lane[0];
    if constexpr (kUsed == 2) return lane[0] + lane[1];
    if constexpr (kUsed == 3) return (lane[0] + lane[1]) + lane[2];
    if constexpr (kUsed == 4) return (lane[0] + lane[1]) + (lane[2] + lane[3]);
  }
}

template <unsigned kFlag, const auto& kTerms>
inline constexpr std::size_t kRunCount = kRuns<kDerivedTerms<kFlag, kTerms>>.size();

template <unsigned kFlag, unsigned kWant, const auto& kTerms, std::size_t kLanes, class XPowers,
          class YPowers>
inline double SumOne(const XPowers& xp, const YPowers& yp) {
  if constexpr ((kWant & kFlag) == 0) {
    return 0.0;
  } else {
    constexpr const auto& derived = kDerivedTerms<kFlag, kTerms>;
    return SumDerived<derived, kLanes>(xp, InnerFromPowers<derived, YPowers>{yp},
                                       std::make_index_sequence<kRunCount<kFlag, kTerms>>{});
  }
}

template <unsigned kWant, const auto& kTerms>
struct SeriesPowers {
  static constexpr SeriesRange range = RangeOf(kTerms);
  static constexpr auto x = PowersUsed<kWant, kTerms, true, range.xlo, range.xhi>();
  static constexpr auto y = PowersUsed<kWant, kTerms, false, range.ylo, range.yhi>();
};

template <unsigned kWant, const auto& kTerms>
using XPowerTable =
    PowerTable<SeriesPowers<kWant, kTerms>::range.xlo, SeriesPowers<kWant, kTerms>::range.xhi,
               SeriesPowers<kWant, kTerms>::x>;
template <unsigned kWant, const auto& kTerms>
using YPowerTable =
    PowerTable<SeriesPowers<kWant, kTerms>::range.ylo, SeriesPowers<kWant, kTerms>::range.yhi,
               SeriesPowers<kWant, kTerms>::y>;

// The sums selected by kWant of the series kTerms at (x, y), every power
// taken from the two power tables; each sum runs in kLanes partial sums.
template <unsigned kWant, const auto& kTerms, std::size_t kLanes = LanesFor(kWant)>
inline PowerSums SumSeries(double x, double y) {
  const XPowerTable<kWant, kTerms> xp(x);
  const YPowerTable<kWant, kTerms> yp(y);
  PowerSums out;
  out.s = SumOne<kSum, kWant, kTerms, kLanes>(xp, yp);
  out.sx = SumOne<kSumX, kWant, kTerms, kLanes>(xp, yp);
  out.sxx = SumOne<kSumXX, kWant, kTerms, kLanes>(xp, yp);
  out.sy = SumOne<kSumY, kWant, kTerms, kLanes>(xp, yp);
  out.syy = SumOne<kSumYY, kWant, kTerms, kLanes>(xp, yp);
  out.sxy = SumOne<kSumXY, kWant, kTerms, kLanes>(xp, yp);
  return out;
}

// How many runs the sum kFlag has when kWant asks for it; none otherwise.
template <unsigned kFlag, unsigned kWant, const auto& kTerms>
constexpr std::size_t RunsWanted() {
  if constexpr ((kWant & kFlag) == 0) {
    return 0;
  } else {
    return kRunCount<kFlag, kTerms>;
  }
}

// The same sums along a line of fixed y: every run's sum over the powers of
// y is formed once, at construction, so that each x costs only its powers
// of x and one product and addition per run. At(x) equals
// SumSeries<kWant, kTerms, kLanes>(x, y) bit for bit: the same products and
// additions in the same order.
template <unsigned kWant, const auto& kTerms, std::size_t kLanes = LanesFor(kWant)>
class SeriesAlongX {
 public:
  explicit SeriesAlongX(double y) {
    const YPowerTable<kWant, kTerms> yp(y);
    Fill<kSum>(yp, s_);
    Fill<kSumX>(yp, sx_);
    Fill<kSumXX>(yp, sxx_);
    Fill<kSumY>(yp, sy_);
    Fill<kSumYY>(yp, syy_);
    Fill<kSumXY>(yp, sxy_);
  }

  PowerSums At(double x) const {
    const XPowerTable<kWant, kTerms> xp(x);
    PowerSums out;
    out.s = Sum<kSum>(xp, s_);
    out.sx = Sum<kSumX>(xp, sx_);
    out.sxx = Sum<kSumXX>(xp, sxx_);
    out.sy = Sum<kSumY>(xp, sy_);
    out.syy = Sum<kSumYY>(xp, syy_);
    out.sxy = Sum<kSumXY>(xp, sxy_);
    return out;
  }

 private:
  template <unsigned kFlag>
  using Inner = std::array<double, RunsWanted<kFlag, kWant, kTerms>()>;

  template <unsigned kFlag, class YPowers, std::size_t... r>
  static void FillRuns(const YPowers& yp, Inner<kFlag>& inner, std::index_sequence<r...>) {
    ((inner[r] = RunInner<kDerivedTerms<kFlag, kTerms>, r>(yp)), ...);
  }
  template <unsigned kFlag, class YPowers>
  static void Fill(const YPowers& yp, Inner<kFlag>& inner) {
    FillRuns<kFlag>(yp, inner, std::make_index_sequence<RunsWanted<kFlag, kWant, kTerms>()>{});
  }
  template <unsigned kFlag, class XPowers>
  static double Sum(const XPowers& xp, const Inner<kFlag>& inner) {
    if constexpr (RunsWanted<kFlag, kWant, kTerms>() == 0) {
      return 0.0;
    } else {
      return SumDerived<kDerivedTerms<kFlag, kTerms>, kLanes>(
          xp, InnerFromTable{inner.data()},
          std::make_index_sequence<RunsWanted<kFlag, kWant, kTerms>()>{});
    }
  }

  Inner<kSum> s_{};
  Inner<kSumX> sx_{};
  Inner<kSumXX> sxx_{};
  Inner<kSumY> sy_{};
  Inner<kSumYY> syy_{};
  Inner<kSumXY> sxy_{};
};

// IF97 Eq. 31 without the near-critical bridges [K] at p [MPa].
double SaturationTemperatureEq31(double P);

}  // namespace if97_detail

// ---- Transport and other properties ----

// Surface tension [mN/m] on the saturation line (IAPWS 1994 release) from
// T [K]; -1.0 unless 273.0 <= T <= 647.3, 0 from the critical temperature on.
double IF97SIGT(const double& T);
// The same at the saturation temperature of P [bar] by IF97 Eq. 31 (no
// bridges); -1.0 unless 0.00061 <= 0.1 P <= 22.12 (MPa).
double IF97SIGP(const double& P);

// Dynamic viscosity [Pa s] from T [K] and V [m3/kg] (IAPWS 2008 release,
// critical enhancement factor 1).
double WVISC08(const double& T, const double& V);
// Thermal conductivity TCON [W/(m K)] from P [MPa], T [K], V [m3/kg] and the
// IF97 region IREG (IAPWS 2011 release, form for use with IF97). The critical
// enhancement is added in region 3, in region 2 below 973.15 K and in region
// 1 where P < 1.8 T - 751.4; only then are CP, CV [kJ/(kg K)] and ETA [Pa s]
// filled, otherwise they are -1.0.
void WTCON11(const double& P, const double& T, const double& V, const int64_t& IREG, double& CP,
             double& CV, double& ETA, double& TCON);

// Static dielectric constant (IAPWS 1997 release) from T [K] and V [m3/kg].
double WDIELC(const double& T, const double& V);
// Refractive index (IAPWS 1997 release) from T [K], V [m3/kg] and the
// wavelength WL [um].
double WREFRI(const double& T, const double& V, const double& WL);

// ---- Several properties of one state from one evaluation ----
// Specific volume [m3/kg], enthalpy [kJ/kg], entropy [kJ/(kg K)] and
// fugacity [MPa] of one state, from one evaluation of the series of gamma
// (region 3: phi) and its first derivatives instead of one per property.
// Each is the formula of the single-property function (IF97R?V, H, S, FUG;
// region 3 at (T, V), v = V, the fugacity at the caller's pressure P); the
// sums are added in another order, so they agree with those functions to
// round-off (region 3: bit for bit, its fugacity from an evaluation of its
// own). The fugacity, which costs the ideal-gas reference and an
// exponential, only WITH_FUGACITY (0 otherwise).
struct StateProperties {
  double v, h, s, fug;
};
StateProperties IF97R1State(const double& P, const double& T, bool with_fugacity);
StateProperties IF97R2State(const double& P, const double& T, bool with_fugacity);
StateProperties IF97R5State(const double& P, const double& T, bool with_fugacity);
StateProperties IF97R3State(const double& P, const double& T, const double& V, bool with_fugacity);

// Region-3 pressure [MPa] along one isotherm T [K]: the sums of the series
// over the powers of tau are formed once, at construction, so that a search
// over the volume pays at each trial volume only for the powers of delta.
// Pressure(V) equals IF97R3P(T, V) bit for bit.
class Region3Isotherm {
 public:
  explicit Region3Isotherm(const double& T);

  // rho R T delta phi_delta [kPa] times 0.001, the products and sums in
  // IF97R3P's order; inline, for the searches that call it at every step.
  double Pressure(const double& V) const {
    const double rho = 1.0 / V;
    const double delta = 1.0 / (322.0 * V);
    const double phi_delta = if97_detail::kLogDeltaCoefficient / delta + sums_.At(delta).sx;
    return 0.001 * rho * if97_detail::kGasConstant * t_ * delta * phi_delta;
  }

 private:
  double t_;
  double tau_;
  if97_detail::SeriesAlongX<if97_detail::kSumX, if97_detail::kRegion3Terms> sums_;
};

// ---- Iterative region-3 volume: v [m3/kg] with p3(T, v) = P [MPa] ----
// The not-converged marker -1000.0 comes back when no pass is accepted; a
// root outside [0.0013, 0.00882] m3/kg is never returned. No saved state.

// Side chosen from P and T: liquid-like above the saturation line (below Tc)
// or above the line 22.064 + 0.26824840231251584 (T - Tc) MPa; vapour-like
// otherwise and at or above 937.6326791680001 K. The critical point itself
// (within 1e-8) gives 1/322 at once.
double IF97R3VIT(const double& P, const double& T);
double IF97R3VITV(const double& P, const double& T);  // vapour-like side
double IF97R3VITL(const double& P, const double& T);  // liquid-like side
// Start volume for zone code ZONE (1..7, read as 32 bits).
double IF97R3VST(const double& P, const double& T, const int64_t& ZONE);
// Zone correlation volume (codes 1..6; 7 and any other code the
// high-pressure polynomial).
double IF97R3VGS(const double& P, const double& T, const int64_t& ZONE);
// Safeguarded secant iteration from V0 inside [0.0013, 0.00882].
double IF97R3VNW(const double& P, const double& T, const double& V0);

// Which branch a region-3 volume call takes: chosen from P and T, or fixed.
enum class Region3Side { kChosen, kLiquid, kVapour };
// The zone code of the start correlation that a call on SIDE uses.
int64_t Region3ZoneCode(const double& P, const double& T, Region3Side side);
// IF97R3VIT (kChosen), IF97R3VITL or IF97R3VITV, also reporting how many
// region-3 pressures the call evaluated.
double Region3Volume(const double& P, const double& T, Region3Side side,
                     int64_t& pressure_evaluations);

}  // namespace thermomodels
