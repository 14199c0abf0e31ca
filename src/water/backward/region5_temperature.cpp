// Region-5 temperature from pressure and enthalpy or entropy: a start
// estimate from the library's own correlations refined by secant steps on
// the forward region-5 equation (IF97 Eq. 32), then a bracketing secant
// solve on the same equation.
#include <cmath>

#include "water/backward/backward.h"
#include "water/flash/flash.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

using if97_detail::kSum;
using if97_detail::PowerTerm;
using if97_detail::SumSeries;

// Start correlation from enthalpy: T0/100 K = sum c eta^i q^j with
// eta = 0.00011111111111 h + 0.1 (h in kJ/kg) and q = 0.02 p + 1 (p in MPa).
constexpr PowerTerm kEnthalpyStartTerms[] = {
    {1, 0, 25.857589395782},        {2, 0, 0.84372528897485},    {-10, 0, 0.0018133289937088},
    {-2, 0, -1.5210372290368},      {-5, 1, 0.13288221977667},   {-6, 1, -0.051342477728184},
    {-1, 1, -0.066652851398222},    {13, 1, -0.028128186240086}, {-10, -1, -0.0015734293725334},
    {-10, -4, 0.00012253567178105},
};

// Start correlation from entropy, 0 < p < 10 MPa: T0/1 K = sum c p^i sigma^j
// with p in MPa and sigma = s/10 kJ/(kg K) + 1.
constexpr PowerTerm kEntropyStartTerms[] = {
    {-4, 11, 2.6955953080376e-10},  {-3, 5, -5.7097850531485e-5},  {-2, 5, 0.094741663232637},
    {-2, 11, -0.00072906983147703}, {-1, 5, -2.1863730578133},     {-1, 11, 0.01226420816911},
    {0, 2, -253.4282462537},        {0, 5, 78.928995572993},       {1, -5, 392.37140137861},
    {1, 9, 1.4249319227454},        {1, 19, -3.6851941278324e-5},  {2, 8, -0.22234377434763},
    {2, 14, -0.021837082809665},    {2, 37, 7.7153208352141e-11},  {3, 16, 0.0005229740734014},
    {3, 17, 0.0010358223699301},    {3, 45, -3.8661476694506e-14}, {4, 20, -4.2432904601488e-5},
    {5, 22, 1.4854269302119e-6},    {5, 27, 5.7411439916851e-9},   {6, 24, -3.5799674524886e-8},
    {7, 26, 4.3386622361549e-10},   {7, 33, -9.9708096465544e-13}, {8, 36, 5.6043507470361e-15},
    {9, 29, -6.1279844880096e-14},
};

// What differs between the two solves: the forward function, the range
// of the solve and its middle, the start used when the estimate falls
// outside the range.
struct Region5Solve {
  double (*forward)(const double&, const double&);
  double lowest_t;   // K
  double highest_t;  // K
  double middle_t;   // K
};
constexpr Region5Solve kFromEnthalpy{IF97R5H, 1070.0, 2275.0, 1672.5};
constexpr Region5Solve kFromEntropy{IF97R5S, 1073.14, 2273.16, 1673.15};

// Relative tolerance of the solve on the value and on the step.
constexpr double kTolerance = 1e-8;
// Gains of the first start step: about dT/dh and dT/ds of high-temperature
// steam.
constexpr double kEnthalpyStartGain = 0.38;  // K kg/kJ
constexpr double kEntropyStartGain = 500.0;  // K kg K/kJ
// The entropy correlation serves pressures below this.
constexpr double kEntropyStartMaxPressure = 10.0;  // MPa

// Secant through (ta, fa) and (tb, fb) taken at TARGET.
double Secant(double ta, double fa, double tb, double fb, double target) {
  return tb + (target - fb) / (fa - fb) * (ta - tb);
}

// Forward value of SOLVE at (p, t), counted.
double Forward(const Region5Solve& solve, double p, double t, int64_t& evaluations) {
  ++evaluations;
  return solve.forward(p, t);
}

double EnthalpyStart(double p, double h, int64_t& evaluations) {
  const double t0 = Region5EnthalpyStartCorrelation(p, h);
  const double h0 = Forward(kFromEnthalpy, p, t0, evaluations);
  const double t1 = t0 + kEnthalpyStartGain * (h - h0);
  const double h1 = Forward(kFromEnthalpy, p, t1, evaluations);
  return Secant(t0, h0, t1, h1, h);
}

// Three secant steps; the third pairs its point with the second trial
// point t1, not with the more recent t2.
double EntropyStart(double p, double s, int64_t& evaluations) {
  if (!(p > 0.0 && p < kEntropyStartMaxPressure)) {
    return kFromEntropy.middle_t;
  }
  const double t0 = Region5EntropyStartCorrelation(p, s);
  const double s0 = Forward(kFromEntropy, p, t0, evaluations);
  const double t1 = t0 + kEntropyStartGain * (s - s0);
  const double s1 = Forward(kFromEntropy, p, t1, evaluations);
  const double t2 = Secant(t0, s0, t1, s1, s);
  const double s2 = Forward(kFromEntropy, p, t2, evaluations);
  const double t3 = Secant(t1, s1, t2, s2, s);
  const double s3 = Forward(kFromEntropy, p, t3, evaluations);
  return Secant(t1, s1, t3, s3, s);
}

double Solve(const Region5Solve& solve, double p, double target, double start,
             int64_t& evaluations) {
  // A start outside the range, or a secant step that divided by zero,
  // starts from the middle of the range.
  FlashSolveState state;
  state.current = (start >= solve.lowest_t && start <= solve.highest_t) ? start : solve.middle_t;
  FLSOLVE(
      state, [&](double t) { return Forward(solve, p, t, evaluations); }, target, solve.lowest_t,
      solve.highest_t, kTolerance);
  return state.result;
}

}  // namespace

double Region5EnthalpyStartCorrelation(const double& P, const double& H) {
  const double eta = 0.00011111111111 * H + 0.1;
  const double q = 0.02 * P + 1.0;
  return 100.0 * SumSeries<kSum, kEnthalpyStartTerms>(eta, q).s;
}

double Region5EntropyStartCorrelation(const double& P, const double& S) {
  const double sigma = 0.1 * S + 1.0;
  return SumSeries<kSum, kEntropyStartTerms>(P, sigma).s;
}

double Region5Temperature(const double& P, const double& value, Region5Input input,
                          int64_t& evaluations) {
  if (input == Region5Input::kEnthalpy) {
    return Solve(kFromEnthalpy, P, value, EnthalpyStart(P, value, evaluations), evaluations);
  }
  return Solve(kFromEntropy, P, value, EntropyStart(P, value, evaluations), evaluations);
}

double IF97T5PH(const double& P, const double& H) {
  int64_t evaluations = 0;
  return Region5Temperature(P, H, Region5Input::kEnthalpy, evaluations);
}

double IF97T5PS(const double& P, const double& S) {
  int64_t evaluations = 0;
  return Region5Temperature(P, S, Region5Input::kEntropy, evaluations);
}

}  // namespace thermomodels
