// Ideal-gas functions of water vapour in dimensionless form, from the
// ideal-gas part of the Haar-Gallagher-Kell formulation (NBS/NRC Steam
// Tables, 1984; the function is H. W. Woolley's), with the two constants
// that fix the zero of the ideal-gas enthalpy and entropy.
#include <cmath>
#include <cstdint>

#include "water/drivers/drivers.h"

namespace thermomodels {
namespace {

// C1 to C18 of the HGK 1984 ideal-gas function, in their published order.
constexpr double kHgkIdealGasTerms[18] = {
    19.730271018,       20.9662681977,       -0.483429455355,   6.05743189245,   22.56023885,
    -9.87532442,        -4.3135538513,       0.458155781,       -0.047754901883, 0.0041238460633,
    -0.00027929052852,  0.14481695261e-4,    -0.56473658748e-6, 0.16200446e-7,   -0.3303822796e-9,
    0.451916067368e-11, -0.370734122708e-13, 0.137546068238e-15};

// Added to G/(RT); and, divided by T, to both G/(RT) and H/(RT).
constexpr double kGibbsOffset = 7.6180802;
constexpr double kEnergyOffsetK = 4328.455039;

}  // namespace

void IDEALHGK(const double& T, double& A, double& G, double& S, double& U, double& H, double& CV,
              double& CP, [[maybe_unused]] int64_t& IERR) {
  const double* c = kHgkIdealGasTerms;
  const double tt = T / 100.0;
  const double log_tt = std::log(tt);

  // Sums over i = 3..18 of C_i tt^(i-6), weighted by 1, (i-6) and
  // (i-6)(i-5); the power starts at tt^-3 and is multiplied up once per term.
  double sum_g = 0.0;
  double sum_h = 0.0;
  double sum_cp = 0.0;
  double power = 1.0 / (tt * tt * tt);
  for (int i = 3; i <= 18; ++i) {
    const double term = c[i - 1] * power;
    const double k = static_cast<double>(i - 6);
    sum_g += term;
    sum_h += k * term;
    sum_cp += k * (k + 1.0) * term;
    power *= tt;
  }

  G = kGibbsOffset + kEnergyOffsetK / T - (c[0] / tt + c[1]) * log_tt - sum_g;
  H = kEnergyOffsetK / T + c[1] + c[0] * (1.0 - log_tt) / tt + sum_h;
  CP = c[1] - c[0] / tt + sum_cp;
  A = G - 1.0;
  U = H - 1.0;
  CV = CP - 1.0;
  S = U - A;
}

}  // namespace thermomodels
