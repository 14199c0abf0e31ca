// Static dielectric constant (IAPWS 1997 release on the static dielectric
// constant of ordinary water substance, its equation with the Harris-Alder
// g-factor) and refractive index (IAPWS 1997 release on the refractive index
// of ordinary water substance, its Lorentz-Lorenz form), both from
// temperature and specific volume. No range checks: the releases' ranges of
// validity are the caller's business.
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {

namespace {

constexpr double kMolarMass = 0.018015268;  // kg/mol

// Dielectric release, g-factor table: N_h, i_h (power of delta), j_h (power of Tc/T).
struct GFactorTerm {
  double n;
  double i;
  double j;
};
constexpr GFactorTerm kGFactorTerms[11] = {
    {0.978224486826, 1, 0.25},   {-0.957771379375, 1, 1},     {0.237511794148, 1, 2.5},
    {0.714692244396, 2, 1.5},    {-0.298217036956, 3, 1.5},   {-0.108863472196, 3, 2.5},
    {0.949327488264e-1, 4, 2},   {-0.980469816509e-2, 5, 2},  {0.165167634970e-4, 6, 5},
    {0.937359795772e-4, 7, 0.5}, {-0.123179218720e-9, 10, 10}};
// Dielectric release: the twelfth g-factor term N_12 delta (T/228 K - 1)^-1.2.
constexpr double kGFactorN12 = 0.196096504426e-2;

// Refractive-index release, coefficients a0..a7.
constexpr double kRefractionTerms[8] = {0.244257733,   9.74634476e-3, -3.73234996e-3,
                                        2.68678472e-4, 1.58920570e-3, 2.45934259e-3,
                                        0.900704920,   -1.66626219e-2};
constexpr double kUltravioletResonance2 = 0.052533556803999994;  // 0.229202^2
constexpr double kInfraredResonance2 = 29.516804445968997;       // 5.432937^2

}  // namespace

double WDIELC(const double& T, const double& V) {
  const double molar_density = 1.0 / (V * kMolarMass);  // mol/m3
  const double delta = kMolarMass * molar_density / 322.0;
  const double theta = 647.096 / T;
  double g = 1.0;
  for (const GFactorTerm& term : kGFactorTerms) {
    g += term.n * std::pow(delta, term.i) * std::pow(theta, term.j);
  }
  // Not a number below 228 K and infinite at 228 K, as the release's form gives.
  g += kGFactorN12 * delta * std::pow(T / 228.0 - 1.0, -1.2);
  // N_A mu^2 / eps0 and N_A alpha / eps0 with the release's constants; k Boltzmann's constant.
  const double a = 2.562451461612501e-24 * molar_density * g / (1.380658e-23 * T);
  const double b = 1.1127181672828442e-5 * molar_density / 3.0;
  return (1.0 + a + 5.0 * b +
          std::sqrt(9.0 + 2.0 * a + 18.0 * b + a * a + 10.0 * a * b + 9.0 * b * b)) /
         (4.0 - 4.0 * b);
}

double WREFRI(const double& T, const double& V, const double& WL) {
  const double rhobar = (1.0 / V) / 1000.0;  // rho* = 1000 kg/m3
  const double tbar = T / 273.15;            // T* = 273.15 K
  const double lambda = WL / 0.589;          // lambda* = 0.589 um
  const double lambda2 = lambda * lambda;
  const double* a = kRefractionTerms;
  // X = (n^2 - 1)/(n^2 + 2), the Lorentz-Lorenz function.
  const double x = rhobar * (a[0] + a[1] * rhobar + a[2] * tbar + a[3] * lambda2 * tbar +
                             a[4] / lambda2 + a[5] / (lambda2 - kUltravioletResonance2) +
                             a[6] / (lambda2 - kInfraredResonance2) + a[7] * rhobar * rhobar);
  return std::sqrt((1.0 + 2.0 * x) / (1.0 - x));
}

}  // namespace thermomodels
