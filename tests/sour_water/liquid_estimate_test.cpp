// Component recognition (slot order, options, repeated and malformed
// aliases, host numbers, limits of the slot arrays) and the liquid estimate
// from a vapour: the pressure estimate, the closed-form ionisation, the
// normalisation over the host list, and the cases that give none (with X, Y
// and P untouched).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "sour_water_support.h"

namespace {

using namespace thermomodels;

// Host components 1..8 by number; lists pick from them.
const std::vector<std::string> kPool = {"H2O", "H3N", "CO2", "H2S", "CH4", "N2", "AR", "C2H6"};

struct Estimate {
  int64_t iflag = -9;
  double p;
  std::vector<double> x, y;
};

Estimate Estimated(double t, std::vector<int64_t> idx, std::vector<double> z, int64_t kode,
                   double p = 2e5, std::vector<double> x0 = {}, std::vector<double> y0 = {}) {
  sw_test::FillPool(kPool);
  const int64_t nc = static_cast<int64_t>(idx.size());
  Estimate e;
  e.p = p;
  e.x = x0.empty() ? std::vector<double>(nc, 0.375) : x0;
  e.y = y0.empty() ? std::vector<double>(nc, 0.625) : y0;
  sw_test::GuardedWork work(80 + 20);
  PPTH_INFLGPSW(&t, &e.p, &nc, idx.data(), z.data(), e.x.data(), e.y.data(), nullptr, &kode,
                work.data(), &e.iflag);
  EXPECT_TRUE(work.GuardsIntact());
  return e;
}

// No estimate: X, Y and P as the caller left them.
TEST(LiquidEstimate, CasesWithoutAnEstimateLeaveEverythingAlone) {
  struct Case {
    const char* what;
    std::vector<int64_t> idx;
    std::vector<double> z;
    std::vector<double> x0 = {};  // the caller's X, else 0.375 each
  };
  const double big = std::numeric_limits<double>::max();
  const Case cases[] = {
      {"water and methane only", {1, 5}, {0.5, 0.5}},
      {"no water", {2, 3, 4}, {0.3, 0.3, 0.4}},
      {"water alone", {1}, {1.0}},
      {"empty list", {}, {}},
      {"recognised vapour sums to zero", {1, 2, 7}, {0.0, 0.0, 1.0}},
      {"ammonia-rich vapour: water fraction below zero", {1, 2}, {0.01, 0.99}},
      {"host numbers outside the pool", {1, 0, -2}, {0.5, 0.3, 0.2}},
      {"infinite vapour fraction", {1, 2}, {INFINITY, 0.5}},
      {"negative vapour fraction", {1, 2}, {0.5, -0.4}},
      {"water listed twice, nothing else", {1, 1}, {0.5, 0.5}},
      {"negative liquid fraction outside the model",
       {7, 7, 1, 2},
       {0, 0, 0.9, 0.1},
       {big, -big, 0.0, 0.0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Estimate e = Estimated(353.15, c.idx, c.z, 5, 12345.0, c.x0);
    EXPECT_EQ(e.iflag, 0);
    EXPECT_EQ(e.p, 12345.0);
    EXPECT_EQ(e.x, c.x0.empty() ? std::vector<double>(c.idx.size(), 0.375) : c.x0);
    for (double v : e.y) EXPECT_EQ(v, 0.625);
  }
}

// Pure water vapour over water and ammonia: the pressure is the Henry
// constant of water (the model's vapour pressure with its corrections),
// about 3115 Pa at 298.15 K.
TEST(LiquidEstimate, PressureOfAPureWaterVapour) {
  const Estimate e = Estimated(298.15, {1, 2}, {1.0, 0.0}, 5);
  ASSERT_EQ(e.iflag, 1);
  EXPECT_NEAR(e.p, 3115.0, 1.0);
  EXPECT_NEAR(e.y[1], 1e-9, 1e-15);
  EXPECT_NEAR(e.x[0] + e.x[1], 1.0, 1e-15);
  // Other KODE values leave P alone, and the given P does not change X.
  const Estimate other = Estimated(298.15, {1, 2}, {1.0, 0.0}, 4, 7.0e5);
  EXPECT_EQ(other.p, 7.0e5);
  EXPECT_EQ(other.x, e.x);
  EXPECT_EQ(other.y, e.y);
}

// Water, ammonia, CO2, H2S and methane at 330 K: the ions satisfy both
// mass-action laws and electroneutrality, the molecules Henry's law at the
// estimated pressure.
TEST(LiquidEstimate, ClosedFormIonisationAndHenrysLaw) {
  const double t = 330.0;
  const std::vector<double> z = {0.6, 0.2, 0.1, 0.05, 0.05};
  const Estimate e = Estimated(t, {1, 2, 3, 4, 5}, z, 5);
  ASSERT_EQ(e.iflag, 1);

  // Henry constants and K2, K3, K5 of the same temperature.
  GpswcomBlock b{};
  std::vector<double> terms(kVapourWork.wscr + 80 + 5);
  const int64_t idx[5] = {1, 2, 3, 4, 5};
  LoadGpsw(b, 5, idx, terms.data() + kVapourWork.henry);
  TdpgpswFromBlock(t, 0.0, 5, b, kVapourWork, terms.data(), terms.data() + kVapourWork.wscr);
  const double* h = terms.data() + kVapourWork.henry;
  double keq[kNreactMax], lnk[kNreactMax];
  EQKGPSW(t, kNreact, b.DHO, b.DSR, b.AL, b.BE, b.DSE, keq, lnk);

  const double p_atm = h[0] / z[0];
  EXPECT_NEAR(e.p, 100000.0 * p_atm / 0.98684, 1e-9 * e.p);
  // Before normalisation x sums to 1, so the liquid fractions are those of
  // the closed form up to rounding.
  const double mn = z[1] * p_atm / h[1], mc = z[2] * p_atm / h[2], ms = z[3] * p_atm / h[3];
  const double a = e.x[1] - mn, bic = e.x[2] - mc, d = e.x[3] - ms;
  EXPECT_NEAR(a, bic + d, 1e-12);
  EXPECT_NEAR(a * bic / (keq[1] * keq[4] * mn * mc), 1.0, 1e-9);
  EXPECT_NEAR(a * d / (keq[1] * keq[2] * mn * ms), 1.0, 1e-9);
  EXPECT_NEAR(e.x[4], z[4] * p_atm / h[4], 1e-12 * e.x[4]);
  double sx = 0.0, sy = 0.0;
  for (int k = 0; k < 5; ++k) {
    sx += e.x[k];
    sy += e.y[k];
    EXPECT_DOUBLE_EQ(e.y[k], z[k]);
  }
  EXPECT_NEAR(sx, 1.0, 1e-14);
  EXPECT_NEAR(sy, 1.0, 1e-14);
}

// A component outside the model keeps the caller's X and Y, then takes
// part in the normalisation; a repeat of the call after another component
// set gives the same result.
TEST(LiquidEstimate, ComponentsOutsideTheModelAndRepeatedCalls) {
  const std::vector<int64_t> idx = {7, 1, 2};  // argon is not in the model
  const std::vector<double> z = {0.3, 0.5, 0.2};
  const Estimate zero = Estimated(320.0, idx, z, 0, 1e5, {0.0, 0.5, 0.5}, {0.0, 0.5, 0.5});
  ASSERT_EQ(zero.iflag, 1);
  EXPECT_EQ(zero.x[0], 0.0);
  EXPECT_EQ(zero.y[0], 0.0);
  EXPECT_NEAR(zero.y[1], 0.5 / 0.7, 1e-15);

  // The list's liquid sums to a little below 1 before the last
  // normalisation: the absent CO2 and H2S slots hold traces of no list
  // position.
  const Estimate tenth = Estimated(320.0, idx, z, 0, 1e5, {0.1, 0.5, 0.5}, {0.1, 0.5, 0.5});
  EXPECT_NEAR(tenth.x[0], 0.1 / 1.1, 1e-6);
  EXPECT_NEAR(tenth.x[0] + tenth.x[1] + tenth.x[2], 1.0, 1e-15);
  EXPECT_NEAR(tenth.x[1] / tenth.x[2], zero.x[1] / zero.x[2], 1e-13);
  EXPECT_NEAR(tenth.y[2], (0.2 / 0.7) / 1.1, 1e-15);

  Estimated(400.0, {1, 3, 4, 5, 6, 8}, {0.4, 0.1, 0.1, 0.1, 0.1, 0.2}, 5);
  // A host number whose alias would lie beyond the pool is not recognised.
  const int64_t beyond_pool = TM_PLEX_WORDS / 3 + 1;
  const Estimate outside =
      Estimated(320.0, {beyond_pool, 1, 2}, z, 0, 1e5, {0.0, 0.5, 0.5}, {0.0, 0.5, 0.5});
  EXPECT_EQ(outside.x, zero.x);
  const Estimate again = Estimated(320.0, idx, z, 0, 1e5, {0.0, 0.5, 0.5}, {0.0, 0.5, 0.5});
  EXPECT_EQ(again.x, zero.x);
  EXPECT_EQ(again.y, zero.y);
}

struct Mapped {
  int64_t ngpsw = -9, nkey = -9, nrec = -9, iwat = -9;
  std::vector<int64_t> modidx = std::vector<int64_t>(20, -5), pos = std::vector<int64_t>(20, 0);
};

// Host component numbers are the list positions unless given.
Mapped Map(const std::vector<std::string>& aliases, int64_t kopt, std::vector<int64_t> idx = {},
           std::vector<unsigned char> alias = {}) {
  if (alias.empty()) alias = sw_test::AliasArray(aliases);
  if (idx.empty()) {
    for (size_t k = 1; k <= aliases.size(); ++k) idx.push_back(static_cast<int64_t>(k));
  }
  const int64_t nc = static_cast<int64_t>(idx.size());
  Mapped r;
  PPTH_CHKCMP(&nc, idx.data(), &r.ngpsw, r.modidx.data(), r.pos.data(), alias.data(), &r.nkey,
              &r.nrec, &r.iwat, &kopt);
  return r;
}

TEST(Chkcmp, SlotMaps) {
  struct Case {
    const char* what;
    std::vector<std::string> aliases;
    std::vector<int64_t> idx;  // empty: the list positions
    int64_t kopt, ngpsw, nkey, nrec, iwat;
    std::vector<int64_t> pos;          // slots 1..ngpsw (0 = not written)
    std::vector<int64_t> gases = {5};  // model indices from slot 5 on (1-4 are 1-4)
  };
  const Case cases[] = {
      {"methane first", {"CH4", "H3N", "H2O"}, {}, 0, 5, 2, 3, 3, {3, 2, 0, 0, 1}},
      {"key option", {"CH4", "H3N", "H2O"}, {}, 1, 4, 2, 2, 3, {3, 2, 0, 0}},
      {"no water", {"CO2", "N2", "H2S"}, {}, 0, 5, 2, 3, 0, {0, 0, 1, 3, 2}, {13}},
      {"keys reversed", {"H2S", "CO2", "H3N", "H2O"}, {}, 0, 4, 4, 4, 4, {4, 3, 2, 1}},
      {"water twice", {"H2O", "CH4", "H2O"}, {}, 0, 5, 2, 3, 3, {3, 0, 0, 0, 2}},
      {"methane twice", {"CH4", "H2O", "CH4"}, {}, 0, 6, 1, 3, 2, {2, 0, 0, 0, 1, 3}, {5, 5}},
      {"case differs", {"h2o", "Ch4", "H3N"}, {}, 0, 4, 1, 1, 0, {0, 3, 0, 0}},
      {"empty list", {}, {}, 0, 4, 0, 0, 0, {0, 0, 0, 0}},
      {"host numbers 3, 1", {"CH4", "N2", "H2O"}, {3, 1}, 0, 5, 1, 2, 1, {1, 0, 0, 0, 2}},
      {"host numbers below 1", {"H2O", "CH4"}, {1, 0, -4, 2}, 0, 5, 1, 2, 1, {1, 0, 0, 0, 4}},
      {"every other gas, in the model's order",
       {"H2O", "CH4", "C2H6", "C3H8", "C4H10-2", "C4H10-1", "C5H12-2", "C5H12-1", "H2", "N2", "CO",
        "CS2", "COS", "CH4S", "C2H6S-1"},
       {},
       0,
       18,
       1,
       15,
       1,
       {1, 0, 0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
       {5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Mapped r = Map(c.aliases, c.kopt, c.idx);
    EXPECT_EQ(r.ngpsw, c.ngpsw);
    EXPECT_EQ(r.nkey, c.nkey);
    EXPECT_EQ(r.nrec, c.nrec);
    EXPECT_EQ(r.iwat, c.iwat);
    std::vector<int64_t> modidx = {1, 2, 3, 4};
    modidx.insert(modidx.end(), c.gases.begin(), c.gases.end());
    modidx.resize(c.ngpsw);
    EXPECT_EQ(std::vector<int64_t>(r.modidx.begin(), r.modidx.begin() + c.ngpsw), modidx);
    EXPECT_EQ(std::vector<int64_t>(r.pos.begin(), r.pos.begin() + c.ngpsw), c.pos);
    EXPECT_EQ(r.modidx[c.ngpsw], -5);  // nothing beyond the slots in use
  }
}

// Anything but blanks in bytes 5-8 of a word is not recognised; an absent
// key component keeps the caller's POS. More than 16 non-key entries
// (repeated aliases) fill the 20 slots and the rest are ignored.
TEST(Chkcmp, PaddingPresetPositionsAndSlotOverflow) {
  auto alias = sw_test::AliasArray({"H2O", "CH4"});
  alias[24 + 5] = 'x';
  int64_t idx[2] = {1, 2}, ngpsw, nkey, nrec, iwat, modidx[20], pos[20] = {0, 77, 0, 66};
  const int64_t nc = 2, kopt = 0;
  PPTH_CHKCMP(&nc, idx, &ngpsw, modidx, pos, alias.data(), &nkey, &nrec, &iwat, &kopt);
  EXPECT_EQ(ngpsw, 4);
  EXPECT_EQ(nrec, 1);
  EXPECT_EQ(pos[1], 77);
  EXPECT_EQ(pos[3], 66);

  std::vector<std::string> aliases = {"H2O"};
  aliases.resize(31, "N2");
  const Mapped many = Map(aliases, 0);
  EXPECT_EQ(many.ngpsw, 20);
  EXPECT_EQ(many.nrec, 17);
  EXPECT_EQ(many.pos[19], 17);
}

}  // namespace
