// Equilibrium constants: the temperature functions at 298.15 K, the
// combination of the data reactions, and the dissociation constants
// against published tables.
#include <gtest/gtest.h>

#include <cmath>

#include "sour_water_support.h"

namespace {

using namespace thermomodels;

struct Constants {
  double keq[kNreactMax] = {};
  double lnk[kNreactMax] = {};
};

Constants At(double t) {
  GpswcomBlock b{};
  const int64_t idx[1] = {1};
  double fx25[kNcMax];
  LoadGpsw(b, 1, idx, fx25);
  Constants c;
  EQKGPSW(t, kNreact, b.DHO, b.DSR, b.AL, b.BE, b.DSE, c.keq, c.lnk);
  return c;
}

// At 298.15 K the heat-capacity functions vanish and FS is about 7.09e-5;
// at 373.15 K every column enters. The reaction data are typed in here
// once more, so that a wrong digit in the model's table shows.
TEST(EquilibriumConstants, DataReactionsAtTwoTemperatures) {
  const double dho[9] = {13339, -12475, -8060, -248, -11514, -9792, -3091, -11085, -4044};
  const double dsr[9] = {-19.3, 0.46, 5.08, 0.06, -3.64, -16.06, -5.39, -5.66, -16.46};
  const double al[9] = {-108, 72, 70, 170, 48.5, -12, -3.9, 1.5, 0};
  const double be[9] = {0.205, -0.213, -0.26, -0.3, -0.189, 0.015, 0, 0, 0};
  const double dse[9] = {-5.2, 0, 0, 0, 0, -5.2, 0, 0, 0};
  for (double t : {298.15, 373.15}) {
    const double fs =
        (298.15 - t) - (219.0 / 1.00322) * (1.0 - std::exp(std::exp(-12.741 + 0.01875 * t) -
                                                           0.000784 + (t - 298.15) / 219.0));
    const double fa = t * std::log(t / 298.15) - t + 298.15;
    const double fb = 0.5 * (t - 298.15) * (t - 298.15);
    if (t == 298.15) {
      EXPECT_NEAR(fs, 7.09e-5, 0.01e-5);
    }
    const Constants c = At(t);
    for (int r = 0; r < 9; ++r) {
      const double expected =
          (-dho[r] + t * dsr[r] + fa * al[r] + fb * be[r] + fs * dse[r]) / (1.987 * t);
      EXPECT_NEAR(c.lnk[r], expected, 1e-10) << "reaction " << r + 1 << " at " << t << " K";
    }
  }
}

TEST(EquilibriumConstants, ModelConstantsFromTheDataReactions) {
  const Constants c = At(350.0);
  const double* l = c.lnk;
  const double expected[9] = {
      std::exp(l[0]) / 3079,        std::exp(l[0] + l[1]) / 55.49, std::exp(l[2]) * 55.49,
      std::exp(l[2] + l[3]) * 3079, std::exp(l[4]) * 55.49,        std::exp(l[4] + l[5]) * 3079,
      std::exp(l[6] + l[7]) * 3079, std::exp(-l[7]) / 55.49,       std::exp(l[8] - l[7])};
  for (int k = 0; k < 9; ++k) EXPECT_NEAR(c.keq[k] / expected[k], 1.0, 1e-14) << "K" << k + 1;

  // A reaction with all parameters 0 has ln K = 0.
  const double zero[1] = {0.0};
  double keq[kNreactMax], lnk[kNreactMax];
  const int64_t one = 1;
  EQKGPSW(350.0, one, zero, zero, zero, zero, zero, keq, lnk);
  EXPECT_EQ(lnk[0], 0.0);
}

// pK on the molality scale at saturation pressure:
//  water: IAPWS R11-07 (Bandura and Lvov, J. Phys. Chem. Ref. Data 35
//    (2006) 15) as tabulated in the CRC Handbook of Chemistry and Physics,
//    "Ionization constant of water", 13.995, 12.252, 11.641 at 25, 100,
//    150 C (saturation pressure above 100 C);
//  ammonium: Bates and Pinching (1949) form, 9.244, 7.424, 6.588;
//  carbonic acid, both steps: Plummer and Busenberg, Geochim. Cosmochim.
//    Acta 46 (1982) 1011, 6.352, 6.427, 6.769 and 10.329, 10.155, 10.387;
//  hydrogen sulfide, first step: Millero et al., Limnol. Oceanogr. 33
//    (1988) 269, 6.980, 6.470, 6.536.
// The data reactions give pKw = -l1, pKa(NH4+) = l2, pK1(CO2) = -(l5 + l1),
// pK2(CO2) = -(l6 + l1), pK1(H2S) = -(l3 + l1), each over ln 10.
TEST(EquilibriumConstants, DissociationConstantsAgreeWithPublishedTables) {
  const double temps[3] = {298.15, 373.15, 423.15};
  struct Case {
    const char* what;
    double published[3];
    double tolerance;
    double (*pk)(const double* l);
  };
  const Case cases[] = {
      {"water", {13.995, 12.252, 11.641}, 0.06, [](const double* l) { return -l[0]; }},
      {"ammonium", {9.244, 7.424, 6.588}, 0.06, [](const double* l) { return l[1]; }},
      {"CO2 first", {6.352, 6.427, 6.769}, 0.06, [](const double* l) { return -(l[4] + l[0]); }},
      {"CO2 second",
       {10.329, 10.155, 10.387},
       0.06,
       [](const double* l) { return -(l[5] + l[0]); }},
      {"H2S first", {6.980, 6.470, 6.536}, 0.1, [](const double* l) { return -(l[2] + l[0]); }},
  };
  for (int k = 0; k < 3; ++k) {
    const Constants c = At(temps[k]);
    for (const Case& cs : cases) {
      EXPECT_NEAR(cs.pk(c.lnk) / std::log(10.0), cs.published[k], cs.tolerance)
          << cs.what << " at " << temps[k] << " K";
    }
  }
}

}  // namespace
