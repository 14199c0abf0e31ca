// Equilibrium constants of the sour-water reactions from Helgeson-type
// data: ln K = (-dH + T dS + FA dCp_a + FB dCp_b + FS dS_e) / RT, combined
// into the mole-fraction constants of the ionic equilibrium.
#include <cmath>

#include "sour_water/sour_water.h"

namespace thermomodels {

namespace {

constexpr double kRgasCal = 1.987;  // cal/(mol K)
constexpr double kTref = 298.15;    // K
// Constants of the FS function.
constexpr double kFsA = 0.01875;  // 1/K
constexpr double kFsB = -12.741;
constexpr double kFsC = 0.000784;
constexpr double kFsTh = 219.0;  // K
constexpr double kFsDivisor = 1.00322;
// Molality to mole fraction: moles of water per kg, and its square as the
// model rounds it.
constexpr double kWaterMolality = 55.49;
constexpr double kWaterMolality2 = 3079.0;

}  // namespace

void EQKGPSW(const double& T, const int64_t& NREACT, const double* DHO, const double* DSR,
             const double* AL, const double* BE, const double* DSE, double* KEQ, double* LNK) {
  const double rt = kRgasCal * T;
  const double fs =
      (kTref - T) - (kFsTh / kFsDivisor) *
                        (1.0 - std::exp(std::exp(kFsB + kFsA * T) - kFsC + (T - kTref) / kFsTh));
  const double fa = T * (std::log(T / kTref) - 1.0 + kTref / T);
  const double fb = (T - kTref) * (T - kTref) * 0.5;

  // Reactions the caller does not supply count as ln K = 0.
  double l[kNreactMax] = {};
  const int64_t nreact = NREACT < 0 ? 0 : (NREACT > kNreactMax ? kNreactMax : NREACT);
  for (int64_t r = 0; r < nreact; ++r) {
    l[r] = (-DHO[r] + T * DSR[r] + fa * AL[r] + fb * BE[r] + fs * DSE[r]) / rt;
    LNK[r] = l[r];
  }
  KEQ[0] = std::exp(l[0]) / kWaterMolality2;         // H2O = H+ + OH-
  KEQ[1] = std::exp(l[0] + l[1]) / kWaterMolality;   // NH3 + H2O = NH4+ + OH-
  KEQ[2] = std::exp(l[2]) * kWaterMolality;          // H2S + OH- = HS- + H2O
  KEQ[3] = std::exp(l[2] + l[3]) * kWaterMolality2;  // H2S + 2 OH- = S= + 2 H2O
  KEQ[4] = std::exp(l[4]) * kWaterMolality;          // CO2 + OH- = HCO3-
  KEQ[5] = std::exp(l[4] + l[5]) * kWaterMolality2;  // CO2 + 2 OH- = CO3= + H2O
  KEQ[6] = std::exp(l[6] + l[7]) * kWaterMolality2;  // CO2 + NH3 + OH- = CBA- + H2O
  KEQ[7] = std::exp(-l[7]) / kWaterMolality;         // CBA- + H2O = CBAH + OH-
  KEQ[8] = std::exp(l[8] - l[7]);                    // CBA- + NH3 = UREA + OH-
}

}  // namespace thermomodels
