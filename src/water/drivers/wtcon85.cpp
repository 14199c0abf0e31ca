// Thermal conductivity of water in region 3 by the IAPS Formulation 1985 for
// the thermal conductivity of ordinary water substance (IAPWS revised release
// of 1998), with its simplified critical enhancement.  The density comes from
// the region-3 backward volume v(p,T), the thermodynamic derivatives from the
// IF97 region-3 Helmholtz function and the viscosity from the IAPWS 2008
// formulation.
#include <cmath>

#include "water/backward/backward.h"
#include "water/drivers/drivers.h"
#include "water/if97/if97.h"

namespace thermomodels {
namespace {

// Reducing constants of the IAPS 1985 formulation.
constexpr double kTStar = 647.226;      // K
constexpr double kRhoStar = 317.763;    // kg/m3
constexpr double kPStar = 22.115;       // MPa
constexpr double kEtaStar = 55.071e-6;  // Pa s
constexpr double kLambdaStar = 0.4945;  // W/(m K)

// Coefficients L0..L3 of the dilute-gas part.
constexpr double kDiluteTerms[4] = {1.0, 6.978267, 2.599096, -0.998254};

// Coefficients Lij of the residual part: row i the power of (1/Tr - 1),
// column j the power of (d - 1) (IAPS 1985 release, Table of Lij).
constexpr double kResidualTerms[5][6] = {
    {1.3293046, -0.40452437, 0.24409490, 0.018660751, -0.12961068, 0.044809953},
    {1.7018363, -2.2156845, 1.6511057, -0.76736002, 0.37283344, -0.11203160},
    {5.2246158, -10.124111, 4.9874687, -0.27297694, -0.43083393, 0.13333849},
    {8.7127675, -9.5000611, 4.3786606, -0.91783782, 0.0, 0.0},
    {-1.8525999, 0.93404690, 0.0, 0.0, 0.0, 0.0},
};

// Simplified critical enhancement: amplitude, exponent of chi and the
// coefficient of (Tr - 1)^2 in the damping exponential.
constexpr double kEnhancementAmplitude = 0.0013848;
constexpr double kChiExponent = 0.4678;
constexpr double kTemperatureDamping = 18.66;

double Conductivity1985(double temperature_k, double volume_m3_per_kg) {
  const double& t = temperature_k;
  const double& v = volume_m3_per_kg;
  const double d = 1.0 / (kRhoStar * v);
  const double tr = t / kTStar;

  const double dilute =
      std::sqrt(tr) / (kDiluteTerms[0] + kDiluteTerms[1] / tr + kDiluteTerms[2] / (tr * tr) +
                       kDiluteTerms[3] / (tr * tr * tr));

  // Horner in (d - 1) inside Horner in (1/Tr - 1).
  const double x = 1.0 / tr - 1.0;
  const double y = d - 1.0;
  double sum = 0.0;
  for (int i = 4; i >= 0; --i) {
    double row = 0.0;
    for (int j = 5; j >= 0; --j) {
      row = row * y + kResidualTerms[i][j];
    }
    sum = sum * x + row;
  }
  const double residual = std::exp(d * sum);

  // (dp/dT)_v in kPa/K and (dv/dp)_T in m3/(kg kPa) from region 3.
  const double dpr_dtr = IF97R3DPT(t, v) * 0.001 * kTStar / kPStar;
  const double chi = -kPStar * 1000.0 * IF97R3DVP(t, v) / (kRhoStar * kRhoStar * v * v * v);
  const double eta_r = WVISC08(t, v) / kEtaStar;
  const double tr_over_d = tr / d;
  const double enhancement =
      (kEnhancementAmplitude / eta_r) * tr_over_d * tr_over_d * dpr_dtr * dpr_dtr *
      std::pow(chi, kChiExponent) * std::sqrt(d) *
      std::exp(-kTemperatureDamping * (tr - 1.0) * (tr - 1.0) - y * y * y * y);

  return kLambdaStar * (dilute * residual + enhancement);
}

// The backward volume is -1.0 for a pressure or temperature that is not a
// positive finite number; the conductivity then is the failure value too.
double ConductivityOrFailure(double temperature_k, double volume_m3_per_kg) {
  return volume_m3_per_kg > 0.0 ? Conductivity1985(temperature_k, volume_m3_per_kg) : -1.0;
}

}  // namespace

double WTCON85(const double& p, const double& T) {
  return ConductivityOrFailure(T, IF97V3PT(p, T));
}

double WTCON85L(const double& p, const double& T) {
  return ConductivityOrFailure(T, IF97V3PTL(p, T));
}

double WTCON85V(const double& p, const double& T) {
  return ConductivityOrFailure(T, IF97V3PTV(p, T));
}

}  // namespace thermomodels
