// Temperature terms: water vapour pressure and liquid volume, cross virial
// coefficients, Poynting factors, Henry constants, and their plausibility
// against published data.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "sour_water_support.h"

namespace {

using namespace thermomodels;

// Terms of the slots IDX at T, laid out as in the vapour WORK array, with
// the scratch after them.
struct Terms {
  GpswcomBlock block{};
  std::vector<double> work = std::vector<double>(kVapourWork.wscr + 80 + kNcMax, 0.0);
  double henry(int64_t s) const { return work[kVapourWork.henry + s - 1]; }
  double vl(int64_t s) const { return work[kVapourWork.vl + s - 1]; }
};

Terms Evaluate(double t, std::vector<int64_t> idx) {
  Terms r;
  const int64_t n = static_cast<int64_t>(idx.size());
  LoadGpsw(r.block, n, idx.data(), r.work.data() + kVapourWork.henry);
  TdpgpswFromBlock(t, 1.0, n, r.block, kVapourWork, r.work.data(),
                   r.work.data() + kVapourWork.wscr);
  return r;
}

TEST(TemperatureTerms, WaterVapourPressureAndLiquidVolume) {
  EXPECT_NEAR(WaterVapourPressure(298.15), 0.0308, 5e-5);
  EXPECT_NEAR(WaterVapourPressure(373.15), 1.0081, 5e-5);
  EXPECT_NEAR(Evaluate(298.15, {1}).vl(1), 17.79, 5e-3);
}

// From 647.3 K up the terms are those of 647.29 K, bit for bit.
TEST(TemperatureTerms, HighTemperaturesUseTheLimit) {
  const std::vector<int64_t> idx = {1, 2, 3, 4, 5, 12};
  const Terms hot = Evaluate(700.0, idx);
  const Terms limit = Evaluate(647.29, idx);
  const Terms critical = Evaluate(647.3, idx);
  EXPECT_EQ(std::memcmp(critical.work.data(), limit.work.data(), hot.work.size() * sizeof(double)),
            0);
  const Terms below = Evaluate(647.28, idx);
  EXPECT_EQ(std::memcmp(hot.work.data(), limit.work.data(), hot.work.size() * sizeof(double)), 0);
  EXPECT_NE(std::memcmp(below.work.data(), limit.work.data(), hot.work.size() * sizeof(double)), 0);
}

// At 25 C the liquid volumes scaled from water's by the hard-sphere
// volumes land on the V* column of the model's table within 0.5 % (water
// 1.6 %; n-butane 3.4 %, whose hard-sphere volume equals isobutane's), and
// those of the reaction products within 1 %: a wrong digit in "b HD.SPH."
// or V* shows here.
TEST(TemperatureTerms, LiquidVolumesAt25CMatchTheVStarColumn) {
  const double vstar[18] = {18.07, 28,    36.3, 38,   38.1, 57,   78.1, 101.2, 98.1,
                            117.8, 117.3, 25.1, 34.6, 35.9, 65.6, 54,   56,    79.9};
  std::vector<int64_t> idx;
  for (int m = 1; m <= 18; ++m) idx.push_back(m);
  const Terms terms = Evaluate(298.15, idx);
  for (int m = 1; m <= 18; ++m) {
    const double tolerance = m == 1 ? 0.016 : (m == 9 ? 0.035 : 0.005);
    EXPECT_NEAR(terms.vl(m) / vstar[m - 1], 1.0, tolerance) << "model index " << m;
  }
  const double product_vstar[2] = {47, 45};
  for (int k = 0; k < 2; ++k) {
    EXPECT_NEAR(terms.work[kVapourWork.nvl + k] / product_vstar[k], 1.0, 0.01)
        << "product " << k + 1;
  }
}

// Ammonia's Henry correlation, and the Poynting exponent per unit volume
// 1.5 times larger from slot 3 on.
TEST(TemperatureTerms, AmmoniaHenryAndPoyntingOfTheSlots) {
  const double t = 373.15;
  const Terms keys = Evaluate(t, {1, 2, 3, 4});
  EXPECT_DOUBLE_EQ(keys.henry(2), std::exp(9.167 - 1268.0 / t - 443050.0 / (t * t)));
  const double* poy = keys.work.data() + kVapourWork.wscr + 2 * kNcMax;
  const double per_volume_2 = std::log(poy[1]) / keys.vl(2);
  EXPECT_NEAR(std::log(poy[2]) / keys.vl(3) / per_volume_2, 1.5, 1e-12);
  EXPECT_NEAR(per_volume_2, WaterVapourPressure(t) / (82.05 * t), 1e-15);
}

// Henry constants at 25 C against IAPWS G7-04 (Fernandez-Prini, Alvarez,
// Harvey, J. Phys. Chem. Ref. Data 32 (2003) 903) and, for ammonia, Clegg
// and Brimblecombe, J. Phys. Chem. 93 (1989) 7237 (0.914 atm on the
// mole-fraction basis). The model's methane sits about 40 % above G7-04 by
// its own data. Water vapour pressure against IAPWS-IF97 saturation.
TEST(TemperatureTerms, PlausibleAgainstPublishedData) {
  struct HenryCase {
    const char* gas;
    int64_t slot;  // of the list below
    double published_atm;
    double tolerance;
  };
  const HenryCase henry[] = {{"NH3", 2, 0.914, 0.2}, {"CO2", 3, 1635, 0.2}, {"H2S", 4, 533, 0.2},
                             {"CH4", 5, 38963, 0.5}, {"H2", 6, 70034, 0.2}, {"N2", 7, 84480, 0.2},
                             {"CO", 8, 56170, 0.2}};
  const Terms terms = Evaluate(298.15, {1, 2, 3, 4, 5, 12, 13, 14});
  for (const HenryCase& c : henry) {
    EXPECT_NEAR(terms.henry(c.slot) / c.published_atm, 1.0, c.tolerance) << c.gas;
  }
  struct VapourCase {
    double t;
    double if97_atm;
  };
  const VapourCase vapour[] = {{298.15, 0.031283}, {373.15, 1.0009}, {473.15, 15.343}};
  for (const VapourCase& c : vapour) {
    EXPECT_NEAR(WaterVapourPressure(c.t) / c.if97_atm, 1.0, 0.02) << c.t << " K";
  }
}

}  // namespace
