// Compiled-in data of the sour-water model and its load into slot order.
#include <algorithm>
#include <array>
#include <cmath>

#include "sour_water/sour_water.h"

namespace thermomodels {

GpswcomBlock GPSWCOM;

namespace {

// Pure-component table, one row per model index; rows 19 and 20 are empty.
// The file's column titles: "TC,K" "PC,ATM" "VC,CC/M" "ZC" "AC. FAC."
// "REF. DEN." "T DEN." "MOL. WT." "VIR. a" "VIR. b" "VIR. c" "f/X,25C"
// "EQ.ST. NU", then the non-polar solubility factor, V*, "b HD.SPH.", the
// solubility factor, "HEN. A" "HEN. B" "HEN. C".
struct ComponentRow {
  double tc, pc, vc, zc, acen, rhoref, trho, mw, vira, virb, virc;
  double fx25, eqnu, npsp, vstar, bhs, sp, hena, henb, henc;
};
constexpr ComponentRow kComponents[kNcMax] = {
    // TC     PC     VC     ZC     AC.F    DEN    T DEN  MW      a       b         c
    // f/X      NU    NPSP  V*     b HS   SP     A       B       C
    {647.3, 217.6,   56,   0.229, 0.344, 0.998, 293,   18.02, -1.7, -9.32,
     2.25,  0.03125, 6.03, 8.08,  18.07, 14.61, 23.43, 0,     0,    0.5},  // 1 H2O
    {405.6, 111.3, 72.5, 0.242, 0.25, 0.639, 273.2, 17.03, 24.75, -26.72,
     1.814, 1.86,  5,    8.79,  28,   19.6,  13.61, 0,     0,     0.5},  // 2 NH3
    {304.6,  72.8, 94,   0.274, 0.225, 1.101, 236,  44.01, 52.74, -102.52,
     0.9822, 1662, 4.73, 5.95,  36.3,  25.4,  8.34, 8.999, 355.2, 0.5},  // 3 CO2
    {373.2,  88.2, 98.5, 0.284, 0.1, 0.993, 213.6, 34.08, 63,    -125.34,
     0.8938, 352,  3.36, 7.5,   38,  26.6,  9.18,  6.135, 848.3, 0.5},  // 4 H2S
    {190.6,  45.4,  99,   0.288, 0.008, 0.425, 111.7, 16.04, 49.15,  -174.77,
     0.6685, 36960, 2.35, 4.95,  38.1,  26.7,  4.95,  9.841, 1068.5, 0.45},  // 5 C1
    {305.4,  48.2,  148,  0.285, 0.098, 0.548, 183, 30.07, 84.4, -198.78,
     0.8389, 70560, 3.34, 5.7,   57,    40,    5.7, 13.52, 0,    0.5},  // 6 C2
    {369.8,  41.9,   203,  0.281, 0.152, 0.582, 231, 44.1,  122.35, -230.29,
     0.9557, 104220, 3.93, 6.1,   78.1,  54.8,  6.1, 13.88, 0,      0.5},  // 7 C3
    {408.1,  36,     263,  0.283, 0.176, 0.557, 293,  58.12, 158.26, -271.94,
     1.0098, 124800, 4.19, 6.34,  101.2, 71,    6.34, 14.05, 0,      0.5},  // 8 IC4
    {425.2,  37.5,   255,  0.274, 0.193, 0.579, 293,  58.12, 160.5, -254.1,
     1.0566, 140700, 4.38, 6.34,  98.1,  71,    6.34, 14.16, 0,     0.5},  // 9 NC4
    {460.4,   33.4,   306,  0.271, 0.227, 0.62, 293,  72.15, 189.08, -277.98,
     1.11957, 180600, 4.75, 6.47,  117.8, 82.1, 6.47, 14.39, 0,      0.5},  // 10 IC5
    {469.6,  33.3,   304,  0.262, 0.251, 0.626, 293,  72.15, 197.01, -255.07,
     1.1984, 215200, 5.01, 6.47,  117.3, 82.1,  6.47, 20.79, -2388,  0.6},  // 11 NC5
    {33.2,   12.8,  65,   0.305, -0.22, 0.071, 20,   2.016, 25.72, -339.24,
     0.2541, 62170, 2.26, 3.04,  25.1,  17.6,  3.04, 9.036, 1394,  0.45},  // 12 H2
    {126.2,  33.5,  89.5, 0.29, 0.04, 0.804, 78.1, 28.01, 45.23, -157.67,
     0.6586, 86740, 2.7,  4.1,  34.6, 24.2,  4.1,  13.71, 0,     0.522},  // 13 N2
    {132.9,  34.5,  93.1, 0.295, 0.049, 0.803, 81,   28.01,  47.42, -148.36,
     0.7147, 48135, 2.8,  4.58,  35.9,  25.1,  4.58, 12.014, 415,   0.495},  // 14 CO
    {552,   78,  170,  0.293, 0.115, 1.293, 273,  76.13, 199.32, -438.9,
     0.644, 882, 3.52, 7.95,  65.6,  45.9,  7.95, 9.47,  0,      0.5},  // 15 CS2
    {375,    58,   140,  0.26, 0.099, 1.274, 173.7, 60.07, 103.26, -185.12,
     0.9291, 2168, 3.35, 7.49, 54,    37.8,  7.49,  10.3,  0,      0.5},  // 16 COS
    {470,    71.4, 145,  0.268, 0.155, 0.866, 293,   48.11, 94.6, -166.74,
     0.9816, 22.9, 3.96, 8.61,  56,    39.2,  10.26, 8,     0,    0.56},  // 17 MESH
    {499,    54.2,  207,  0.274, 0.19, 0.839, 293,  62.13, 134.24, -204.64,
     1.0685, 229.3, 4.34, 7.97,  79.9, 55.9,  8.57, 8.23,  0,      0.5},  // 18 ETSH
    {},                                                                   // 19
    {},                                                                   // 20
};

// Aliases and model names of the component table: three 8-byte alias words
// of four characters, a model-name word, the model index.
struct AliasRow {
  std::array<unsigned char, kAliasBytes> alias;
  std::array<unsigned char, 8> name;
  int64_t index;
};

// Splits TEXT into words of four characters, each blank-padded to 8 bytes.
template <size_t Words>
constexpr std::array<unsigned char, 8 * Words> PaddedWords(const char* text) {
  std::array<unsigned char, 8 * Words> out{};
  for (auto& c : out) c = ' ';
  for (size_t k = 0; text[k] != '\0' && k < 4 * Words; ++k) {
    out[8 * (k / 4) + k % 4] = static_cast<unsigned char>(text[k]);
  }
  return out;
}

constexpr AliasRow Row(const char* alias, const char* name, int64_t index) {
  return {PaddedWords<3>(alias), PaddedWords<1>(name), index};
}

constexpr AliasRow kAliases[kNumModelComponents] = {
    Row("H2O", "H2O", 1),      Row("H3N", "NH3", 2),      Row("CO2", "CO2", 3),
    Row("H2S", "H2S", 4),      Row("CH4", "C1", 5),       Row("C2H6", "C2", 6),
    Row("C3H8", "C3", 7),      Row("C4H10-2", "IC4", 8),  Row("C4H10-1", "NC4", 9),
    Row("C5H12-2", "IC5", 10), Row("C5H12-1", "NC5", 11), Row("H2", "H2", 12),
    Row("N2", "N2", 13),       Row("CO", "CO", 14),       Row("CS2", "CS2", 15),
    Row("COS", "COS", 16),     Row("CH4S", "MESH", 17),   Row("C2H6S-1", "ETSH", 18),
};
static_assert(kAliases[7].alias[0] == 'C' && kAliases[7].alias[3] == '1' &&
                  kAliases[7].alias[4] == ' ' && kAliases[7].alias[8] == '0' &&
                  kAliases[7].alias[10] == '2' && kAliases[7].alias[16] == ' ',
              "C4H10-2 is the words C4H1, 0-2 and blanks");

// Ion table: "ION VOL." "V(NP SOL.P)" "V(^D-D)" "V. INF." "EQUIV."
// "V(SOL.P.)"; ions H+, OH-, NH4+, HS-, S=, HCO3, CO3=, CBA-, NA+. Rows 10
// to 12 are empty.
struct IonRow {
  double vol, vnp, vdd, vinf, charge, vsp;
};
constexpr IonRow kIons[12] = {
    {1, 16, 0, 0, 1, 520},              // H+
    {18, 143, 56, -4.04, -1, 498},      // OH-
    {17.5, 231.8, 2, 17.86, 1, 460},    // NH4+
    {26.2, 425.2, 20, 16.3, -1, 0},     // HS-
    {12, 221.3, -20, -4.1, -2, 511},    // S=
    {31.3, 366.4, -20, 23.4, -1, 700},  // HCO3
    {13.8, 169.2, -8, -2.2, -2, 379},   // CO3=
    {31, 366, 0, 23, -1, 500},          // CBA-
    {7, 81, 312, -1.21, 1, 713},        // NA+
    {},
    {},
    {},
};

// Reaction table: DHO [cal/mol], DSR [cal/(mol K)], AL, BE, DSE of the
// Helgeson-type equilibrium-constant equation. Rows 10 to 12 are empty.
struct ReactionRow {
  double dho, dsr, al, be, dse;
};
constexpr ReactionRow kReactions[12] = {
    {13339, -19.3, -108, 0.205, -5.2},  // H2O = H+ + OH-
    {-12475, 0.46, 72, -0.213, 0},      // NH3 + H+ = NH4+
    {-8060, 5.08, 70, -0.26, 0},        // H2S + OH- = HS- + H2O
    {-248, 0.06, 170, -0.3, 0},         // HS- + OH- = S= + H2O
    {-11514, -3.64, 48.5, -0.189, 0},   // CO2 + OH- = HCO3-
    {-9792, -16.06, -12, 0.015, -5.2},  // HCO3- + OH- = CO3= + H2O
    {-3091, -5.39, -3.9, 0, 0},         // CO2 + NH3 = CBAH
    {-11085, -5.66, 1.5, 0, 0},         // CBAH + OH- = CBA- + H2O
    {-4044, -16.46, 0, 0, 0},           // CBAH + NH3 = UREA + H2O
    {},
    {},
    {},
};

// Neutral reaction products CBAH and UREA: "EQ. ST. NU", non-polar
// solubility factor, V*, "EQ. ST. b", solubility factor.
struct NeutralRow {
  double eqnu, npsp, vstar, eqb, sp;
};
constexpr NeutralRow kNeutrals[kNneutMax] = {
    {11, 8, 47, 40, 21.1},  // CBAH
    {11, 8, 45, 38, 21.6},  // UREA
};

// Virial interaction parameters, 20 x 20 column-major by model index: only
// row 1 (water against every component) is non-zero.
constexpr double kWaterKij[kNcMax] = {0,    -0.015, 0.2,  0.12, 0.3,  0.25, 0.25, 0.25, 0.25, 0.25,
                                      0.25, 0.43,   0.32, 0.3,  0.35, 0.3,  0.15, 0.15, 0,    0};
constexpr double kWaterKijb[kNcMax] = {0,   0,    0.3, 0.36, 0.5, 0.45, 0.4, 0.35, 0.3, 0.25,
                                       0.2, 0.45, 0.4, 0.4,  0.4, 0.4,  0.3, 0.2,  0,   0};
constexpr std::array<double, kNcMax * kNcMax> WaterRowMatrix(const double (&row)[kNcMax]) {
  std::array<double, kNcMax * kNcMax> m{};
  for (int64_t j = 1; j <= kNcMax; ++j) m[SlotEntry(1, j, kNcMax)] = row[j - 1];
  return m;
}
constexpr std::array<double, kNcMax* kNcMax> kKij = WaterRowMatrix(kWaterKij);
constexpr std::array<double, kNcMax* kNcMax> kKijb = WaterRowMatrix(kWaterKijb);

// Enhancement of the third virial coefficient over the corresponding-states
// value.
constexpr double kCredFactor = 1.1;

int64_t Limited(int64_t count, int64_t most) { return std::clamp<int64_t>(count, 0, most); }

}  // namespace

const unsigned char* ModelAlias(int64_t m) { return kAliases[m - 1].alias.data(); }

void PRMGPSW(const int64_t& N, const int64_t* IDX, const int64_t& NION, const int64_t& NNEUT,
             const int64_t& NREACT, double* TC, double* PC, double* VC, double* ZC, double* ACEN,
             double* RHOREF, double* TRHO, double* MW, double* VIRA, double* VIRB, double* VIRC,
             double* FX25, double* EQNU, double* VNPSP, double* BHS, double* VSP, double* HENA,
             double* HENB, double* HENC, double* IONVOL, double* IONVNP, double* IONVDD,
             double* IONVINF, double* IONCHG, double* IONVSP, double* DHO, double* DSR, double* AL,
             double* BE, double* DSE, double* KIJB, double* KIJ, double* CRED, double* RTCPC,
             double* NEQNU, double* NVNPSP, double* NEQB, double* NVSP, const int64_t& LD) {
  const int64_t n = Limited(std::min(N, LD), kNcMax);
  for (int64_t i = 0; i < n; ++i) {
    const int64_t m = IDX[i];
    const bool known = m >= 1 && m <= kNumModelComponents;
    const ComponentRow& r = known ? kComponents[m - 1] : kComponents[kNcMax - 1];
    TC[i] = r.tc;
    PC[i] = r.pc;
    VC[i] = r.vc;
    ZC[i] = r.zc;
    ACEN[i] = r.acen;
    RHOREF[i] = r.rhoref;
    TRHO[i] = r.trho;
    MW[i] = r.mw;
    VIRA[i] = r.vira;
    VIRB[i] = r.virb;
    VIRC[i] = r.virc;
    FX25[i] = r.fx25;
    EQNU[i] = r.eqnu;
    BHS[i] = r.bhs;
    HENA[i] = r.hena;
    HENB[i] = r.henb;
    HENC[i] = r.henc;
    VNPSP[i] = r.npsp * r.vstar;
    VSP[i] = r.sp * r.vstar;
    CRED[i] = 0.0;
    RTCPC[i] = 0.0;
    if (known) {
      // Second virial coefficient at the critical temperature.
      const double b_at_tc = r.vira + r.virb * (std::exp(r.virc) - 1.0);
      CRED[i] = kCredFactor * r.zc * r.zc * (r.zc - 1.0 - b_at_tc / r.vc);
      RTCPC[i] = kRgasCcAtm * r.tc / r.pc;
    }
  }
  for (int64_t k = 0; k < Limited(NION, kNionMax); ++k) {
    IONVOL[k] = kIons[k].vol;
    IONVNP[k] = kIons[k].vnp;
    IONVDD[k] = kIons[k].vdd;
    IONVINF[k] = kIons[k].vinf;
    IONCHG[k] = kIons[k].charge;
    IONVSP[k] = kIons[k].vsp;
  }
  for (int64_t k = 0; k < Limited(NNEUT, kNneutMax); ++k) {
    NEQNU[k] = kNeutrals[k].eqnu;
    NVNPSP[k] = kNeutrals[k].npsp * kNeutrals[k].vstar;
    NEQB[k] = kNeutrals[k].eqb;
    NVSP[k] = kNeutrals[k].sp * kNeutrals[k].vstar;
  }
  for (int64_t k = 0; k < Limited(NREACT, kNreactMax); ++k) {
    DHO[k] = kReactions[k].dho;
    DSR[k] = kReactions[k].dsr;
    AL[k] = kReactions[k].al;
    BE[k] = kReactions[k].be;
    DSE[k] = kReactions[k].dse;
  }
  for (int64_t j = 1; j <= n; ++j) {
    for (int64_t i = 1; i <= n; ++i) {
      KIJB[SlotEntry(i, j, LD)] = 0.0;
      KIJ[SlotEntry(i, j, LD)] = 0.0;
    }
  }
  // Row and column 1 are the water row: slot 1 holds water.
  for (int64_t i = 1; i <= n; ++i) {
    const int64_t m = IDX[i - 1];
    if (m < 1 || m > kNumModelComponents) continue;
    const double kij = kKij[SlotEntry(1, m, kNcMax)];
    const double kijb = kKijb[SlotEntry(1, m, kNcMax)];
    KIJ[SlotEntry(1, i, LD)] = KIJ[SlotEntry(i, 1, LD)] = kij;
    KIJB[SlotEntry(1, i, LD)] = KIJB[SlotEntry(i, 1, LD)] = kijb;
  }
}

void LoadGpsw(GpswcomBlock& b, const int64_t& N, const int64_t* IDX, double* FX25) {
  b.NCMAX = kNcMax;
  b.NIONMAX = kNionMax;
  b.NNEUTMAX = kNneutMax;
  b.NREACTMAX = kNreactMax;
  PRMGPSW(N, IDX, kNion, kNneut, kNreact, b.TC, b.PC, b.VC, b.ZC, b.ACEN, b.RHOREF, b.TRHO, b.MW,
          b.VIRA, b.VIRB, b.VIRC, FX25, b.EQNU, b.VNPSP, b.BHS, b.VSP, b.HENA, b.HENB, b.HENC,
          b.IONVOL, b.IONVNP, b.IONVDD, b.IONVINF, b.IONCHG, b.IONVSP, b.DHO, b.DSR, b.AL, b.BE,
          b.DSE, b.KIJB, b.KIJ, b.CRED, b.RTCPC, b.NEQNU, b.NVNPSP, b.NEQB, b.NVSP, b.NCMAX);
}

}  // namespace thermomodels
