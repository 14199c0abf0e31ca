// The host's CPA property routine and its history file: settles the
// diagnostic levels and output unit, checks the input, builds the pure
// component SRK constants, runs the core once or, for temperature
// derivatives, twice (at T + 0.001 K and at T) and forms forward
// differences.
#include <cmath>
#include <cstddef>
#include <limits>
#include <string_view>
#include <tuple>
#include <utility>

#include "cpa/cpa.h"

extern "C" {
TM_API tm_cpacom_block PPCPA_CPACOM;
TM_API tm_esrder_block ESRDER;
}
static_assert(sizeof(tm_cpacom_block) == 6 * 8 + 128, "PPCPA_CPACOM is 6 words and 128 characters");
static_assert(offsetof(tm_cpacom_block, FILNAM) == 48, "the file name follows word 6");
static_assert(sizeof(tm_esrder_block) == 5 * 8, "ESRDER is 5 real words");

namespace thermomodels {

CpapropSaved CPAPROP_SAVED{};

namespace {

constexpr std::string_view kHistoryFile = "cpa.his";
// Units above this number get the history file.
constexpr int32_t kHistoryUnitAbove = 50;
// Leading dimension of the site-fraction arrays: four sites per component.
constexpr int64_t kSitesPerComponent = 4;
// Solver option of the association term: choose the method by size.
constexpr int64_t kAssocChooseBySize = 99999999;
// SRK constants: a_c = 0.42748025 (R Tc)^2/Pc, b = 0.08664035 R Tc/Pc.
constexpr double kOmegaA = 0.42748025;
constexpr double kOmegaB = 0.08664035;
// A binary coefficient at or above this is a missing value.
constexpr double kMissingAbove = 1e30;
// Largest association energy taken [K]: far above any published value
// (water's is about 2000 K), and low enough that the strengths and their
// temperature derivatives stay finite at every temperature.
constexpr double kMaxAssocEnergy = 1e6;
// Largest association volume taken: published values lie below about 0.1
// (water's is 0.0692). Far above, with the strength's exponent capped, the
// site balances are so stiff that whether the root search converges
// depends on the order of the components' sums.
constexpr double kMaxAssocVolume = 1.0;
constexpr double kSmallestNormal = std::numeric_limits<double>::min();
// Co-volumes taken [m3/kmol]: a real fluid's lies between about 0.007
// (mercury) and a few m3/kmol (heavy molecules). Far outside, b^2 or b/V
// overflows, or b^2 underflows to 0 and is divided by, and ln phi or dP/dV
// comes out as no number.
constexpr double kMinCoVolume = 1e-6;
constexpr double kMaxCoVolume = 1e6;

struct Requests {
  bool value;       // code 1 or 3
  bool derivative;  // code 2 or 3
};
Requests Decode(int64_t code) { return {code == 1 || code == 3, code == 2 || code == 3}; }

// Forward difference over the temperature step; no value when either end
// has none.
double Difference(double at_t_plus, double at_t) {
  if (at_t_plus == kNoValue || at_t == kNoValue) return kNoValue;
  return (at_t_plus - at_t) / kCpaTempStep;
}

// Severity of a status's root part: converged, pseudo-root, no valid
// state, failed.
int Severity(int64_t root) {
  if (root == 0) return 0;
  if (root == 3 || root == 4) return 1;
  if (root == kCpaNoState) return 2;
  return 3;
}

// The worse of the statuses of the two passes; ties keep the second's.
int64_t Worse(int64_t first, int64_t second) {
  const int64_t root1 = first % kCpaAssocFailed, root2 = second % kCpaAssocFailed;
  const int64_t assoc = (first >= kCpaAssocFailed || second >= kCpaAssocFailed) ? 1 : 0;
  const int64_t root = Severity(root1) > Severity(root2) ? root1 : root2;
  return root + kCpaAssocFailed * assoc;
}

// SRK constants of a component from its critical constants.
struct SrkConstants {
  double a_c;  // energy parameter at Tc [Pa m6/kmol2]
  double b;    // co-volume [m3/kmol]
};
SrkConstants Srk(double tc, double pc) {
  const double rtc = kCpaRgas * tc;
  return {kOmegaA * rtc * rtc / pc, kOmegaB * rtc / pc};
}
// A positive, finite number that is not subnormal: the SRK constants must be
// such, or the alpha function and the mixing sums lose every digit.
bool PositiveNormal(double v) { return v > 0.0 && std::isnormal(v); }

// A binary record worth echoing: a coefficient that is non-zero and given.
bool RecordGiven(const double* c) {
  return (c[0] != 0.0 && c[0] < kMissingAbove) || (c[1] != 0.0 && c[1] < kMissingAbove);
}

// Calls WRITE(i, j, record) for each binary record of the mixture worth
// writing: (IDX(i), IDX(j)) for i < j, then the reverse when it differs.
template <typename Write>
void ForEachRecord(const double* coef, int64_t N, const int64_t* IDX, int64_t NCC, Write write) {
  auto record = [&](int64_t k, int64_t l) { return coef + 2 * ((l - 1) * NCC + (k - 1)); };
  for (int64_t i = 1; i <= N; ++i) {
    for (int64_t j = i + 1; j <= N; ++j) {
      const double* fwd = record(IDX[i - 1], IDX[j - 1]);
      const double* rev = record(IDX[j - 1], IDX[i - 1]);
      if (RecordGiven(fwd)) write(i, j, fwd);
      if (RecordGiven(rev) && (rev[0] != fwd[0] || rev[1] != fwd[1])) write(j, i, rev);
    }
  }
}

// An association energy or volume that is given (neither 0 nor the
// marker) must be positive and finite; an energy no larger than
// kMaxAssocEnergy.
bool AssocEnergyUsable(double e) { return !IsSet(e) || (e > 0.0 && e <= kMaxAssocEnergy); }
bool AssocVolumeUsable(double v) { return !IsSet(v) || (v > 0.0 && v <= kMaxAssocVolume); }

// A coefficient record (c1, c2) of a binary parameter: values above 1e30
// count as missing; NaN and minus infinity have no meaning.
bool RecordUsable(const double* c) {
  for (int w = 0; w < 2; ++w) {
    if (std::isnan(c[w]) || c[w] == -INFINITY) return false;
  }
  return true;
}

// What RefusalReason checks.
struct CallInput {
  double T, P;
  const double* X;
  int64_t N;
  const int64_t* IDX;
  int64_t NCC;
  const double *CPATC, *CPAPC, *CPAM, *CPAAU, *CPAAV, *CPAKIJ, *CPAVIJ, *CPAEIJ;
  bool phi_derivative;
  int64_t KVSTRT;
  double VMX;
};

// Why the input cannot be used, or nullptr when it can. MARK holds NCC
// words of scratch for the test of repeated component numbers.
const char* RefusalReason(const CallInput& in, int64_t* mark) {
  const int64_t N = in.N, NCC = in.NCC;
  if (N < 1) return "N < 1";
  if (NCC < 1 || N > NCC) return "N ABOVE NCC";
  if (!(in.T > 0.0) || !std::isfinite(in.T)) return "T NOT POSITIVE OR NOT FINITE";
  if (!(in.P > 0.0) || !std::isfinite(in.P)) return "P NOT POSITIVE OR NOT FINITE";
  if (in.phi_derivative && N > kCpaMaxPhiCopy) return "N ABOVE 1088 WITH A DERIVATIVE OF LN PHI";
  // A given volume must be a volume: the no-value marker is none.
  if (in.KVSTRT == 1 && !(std::fabs(in.VMX) < kNoValue)) return "GIVEN VOLUME IS NO VALUE";
  for (int64_t k = 0; k < NCC; ++k) mark[k] = 0;
  double total = 0.0;
  for (int64_t i = 0; i < N; ++i) {
    if (in.IDX[i] < 1 || in.IDX[i] > NCC) return "IDX OUTSIDE 1..NCC";
    const int64_t k = in.IDX[i] - 1;
    if (mark[k] != 0) return "COMPONENT NUMBER REPEATED IN IDX";
    mark[k] = 1;
    if (!(in.X[i] >= 0.0) || !std::isfinite(in.X[i])) return "MOLE FRACTION NEGATIVE OR NOT FINITE";
    total += in.X[i];
    if (!(in.CPATC[k] > 0.0) || !std::isfinite(in.CPATC[k]) || !(in.CPAPC[k] > 0.0) ||
        !std::isfinite(in.CPAPC[k]) || !std::isfinite(in.CPAM[k])) {
      return "CPATC, CPAPC OR CPAM NOT USABLE";
    }
    const SrkConstants srk = Srk(in.CPATC[k], in.CPAPC[k]);
    if (!PositiveNormal(srk.a_c) || !PositiveNormal(srk.b)) {
      return "CPATC AND CPAPC GIVE NO USABLE A_C AND B";
    }
    if (!(srk.b >= kMinCoVolume && srk.b <= kMaxCoVolume)) {
      return "CPATC AND CPAPC GIVE A CO-VOLUME B OUTSIDE 1E-6 TO 1E6 M3/KMOL";
    }
    if (!AssocEnergyUsable(in.CPAAU[k]) || !AssocVolumeUsable(in.CPAAV[k])) {
      return "CPAAU OR CPAAV NOT USABLE";
    }
  }
  if (!(total > kCpaTinyFraction) || !std::isfinite(total)) return "NO COMPONENT PRESENT";
  for (int64_t i = 0; i < N; ++i) {
    for (int64_t j = 0; j < N; ++j) {
      const int64_t pair = (in.IDX[j] - 1) * NCC + (in.IDX[i] - 1);
      if (!AssocEnergyUsable(in.CPAEIJ[pair])) return "CPAEIJ NOT USABLE";
      if (!RecordUsable(in.CPAKIJ + 2 * pair) || !RecordUsable(in.CPAVIJ + 2 * pair)) {
        return "CPAKIJ OR CPAVIJ RECORD NOT USABLE";
      }
    }
  }
  return nullptr;
}

// Input echo in the host's input language.
void WriteEcho(int32_t unit, int64_t N, const int64_t* IDX, int64_t NCC, const double* CPATC,
               const double* CPAPC, const double* CPAM, const double* CPAAT, const double* CPAAU,
               const double* CPAAV, const double* CPAKIJ, const double* CPAVIJ) {
  UnitWrite(unit, "PROPERTIES CPA");
  UnitWrite(unit, "COMPONENTS");
  for (int64_t i = 0; i < N; ++i) WriteLine(unit, "  ", IDX[i], i + 1 < N ? " H2O /" : " H2O");
  UnitWrite(unit, "PROP-DATA");
  UnitWrite(unit, "  IN-UNITS SI");
  UnitWrite(unit, "  PROP-LIST  CPATC / CPAPC / CPAM / CPAAT / CPAAU / CPAAV");
  for (int64_t i = 0; i < N; ++i) {
    const int64_t k = IDX[i] - 1;
    WriteLine(unit, "  PVAL  ", IDX[i], " ", CPATC[k], " / ", CPAPC[k], " / ", CPAM[k], " / ",
              CPAAT[k], " / ", CPAAU[k], " / ", CPAAV[k]);
  }
  const struct {
    const double* coef;
    const char* list;
  } binaries[] = {{CPAKIJ, "  PROP-LIST CPAKIJ"}, {CPAVIJ, "  PROP-LIST CPAVIJ"}};
  for (const auto& b : binaries) {
    UnitWrite(unit, "PROP-DATA");
    UnitWrite(unit, "  IN-UNITS SI");
    UnitWrite(unit, b.list);
    ForEachRecord(b.coef, N, IDX, NCC, [&](int64_t i, int64_t j, const double* c) {
      WriteLine(unit, "  BPVAL  ", IDX[i - 1], " ", IDX[j - 1], " ", c[0], " ", c[1]);
    });
  }
}

// Parameter trace of print level 2.
void WriteParameters(int32_t unit, int64_t N, const int64_t* IDX, int64_t NCC, const double* CPATC,
                     const double* CPAPC, const double* CPAM, const double* CPAAT,
                     const double* CPAAU, const double* CPAAV, const double* CPAKIJ,
                     const double* CPAVIJ) {
  UnitWrite(unit, "CPAPROP: I, IDX(I), CPATC, CPAPC, CPAM, CPAAT, CPAAU, CPAAV");
  for (int64_t i = 1; i <= N; ++i) {
    const int64_t k = IDX[i - 1] - 1;
    WriteLine(unit, i, " ", IDX[i - 1], " ", CPATC[k], " ", CPAPC[k], " ", CPAM[k], " ", CPAAT[k],
              " ", CPAAU[k], " ", CPAAV[k]);
  }
  const struct {
    const double* coef;
    const char* header;
  } binaries[] = {{CPAKIJ, "CPAPROP: I, J, IDX(I), IDX(J), CPAKIJ"},
                  {CPAVIJ, "CPAPROP: I, J, IDX(I), IDX(J), CPAVIJ"}};
  for (const auto& b : binaries) {
    UnitWrite(unit, b.header);
    ForEachRecord(b.coef, N, IDX, NCC, [&](int64_t i, int64_t j, const double* c) {
      WriteLine(unit, i, " ", j, " ", IDX[i - 1], " ", IDX[j - 1], " ", c[0], " ", c[1]);
    });
  }
}

// Values of all positions on one line after a label.
template <typename Value>
void WriteList(int32_t unit, const char* label, const Value* v, int64_t n) {
  std::string line(label);
  for (int64_t i = 0; i < n; ++i) {
    line.push_back(' ');
    AppendValue(line, v[i]);
  }
  UnitWrite(unit, line);
}

}  // namespace
}  // namespace thermomodels

using namespace thermomodels;

extern "C" TM_API void PPCPA_OPCLFILE(const int32_t* IUNIT, const char* FILENAME,
                                      const int64_t* MODE, int64_t* IERR, size_t FILENAME_LEN) {
  if (*MODE == 1) {
    *IERR = 0;
    const std::string_view name =
        FILENAME != nullptr ? std::string_view(FILENAME, FILENAME_LEN) : std::string_view();
    if (!UnitOpen(*IUNIT, name)) *IERR = 2;
  } else if (*MODE == 2) {
    *IERR = 0;
    UnitClose(*IUNIT);
  } else {
    *IERR = 1;
  }
}

extern "C" TM_API void PPCPA_CPAPROP(
    const double* T, const double* P, const double* X, const int64_t* N, const int64_t* IDX,
    const int64_t* NCC, const double* CPATC, const double* CPAPC, const double* CPAM,
    const double* CPAAU, const double* CPAAV, const double* CPAKIJ, const double* CPAAT,
    const double* CPAVIJ, const double* KIJSET, const double* VIJSET, const double* ECRFLG,
    const double* CPAEIJ, const int64_t* KVL, const int64_t* KPHI, const int64_t* KH,
    const int64_t* KS, const int64_t* KG, const int64_t* KV, const int64_t* KDER, double* PHIMX,
    double* DHMX, double* DSMX, double* DGMX, double* VMX, double* DPHIDT, double* DHDT,
    double* DSDT, double* DGDT, double* DVDT, double* ZMX, double* DPDV, double* DP2DVDT,
    double* DPDT, double* DP2DV2, int64_t* IWORK, double* RWORK, double* EPSAB, int64_t* ITYPE,
    const int32_t* IUNIT, const int64_t* KDIAG, void* ARG47, void* ARG48, double* XAWRK,
    void* ARG50, double* PCALC, const int64_t* KVSTRT, int64_t* IERR, const int64_t* IH2O,
    const int64_t* KTOL) {
  CpapropSaved& s = CPAPROP_SAVED;
  const tm_cpacom_block& com = PPCPA_CPACOM;

  // --- Entry: unit, history file, levels --------------------------------
  const bool echo = (s.echo == 1);
  s.kder = *KDER;
  s.vmx_in = *VMX;
  s.unit = *IUNIT;
  bool opened = false;
  // Opens the history file on UNIT; when the file system refuses, says so
  // on the host's unit and writes there instead.
  auto open_history = [&](int32_t unit, std::string_view name) {
    // A unit the host already has open is written as it stands: opening
    // would close the host's file, and this call must not close it either.
    if (UnitIsOpen(unit)) {
      s.unit = unit;
      return;
    }
    const int64_t open = 1;
    int64_t status = 0;
    PPCPA_OPCLFILE(&unit, name.data(), &open, &status, name.size());
    if (status == 0) {
      s.unit = unit;
      opened = true;
      return;
    }
    const int32_t host = DMS_GLOBAL.IUNIT;
    while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.remove_suffix(1);
    WriteLine(host, "CPAPROP: CANNOT OPEN HISTORY FILE \"", name, "\" ON UNIT ", unit,
              ". WRITING TO UNIT ", host);
    s.unit = host;
  };
  if (com.IUSEGU == 1) {
    s.unit = DMS_GLOBAL.IUNIT;
  } else if (com.IOPENF == 1) {
    open_history(DMS_GLOBAL.IUNIT, std::string_view(com.FILNAM, sizeof com.FILNAM));
  } else if ((echo || s.print_level > 0) && s.unit > kHistoryUnitAbove) {
    open_history(s.unit, kHistoryFile);
  }
  const int32_t unit = s.unit;

  *IERR = 0;
  const int64_t kdiag = *KDIAG;
  const int64_t rest = kdiag % 1000;
  s.digits[0] = kdiag / 1000;
  s.digits[1] = rest / 100;
  s.digits[2] = (rest - 100 * s.digits[1]) / 10;
  s.digits[3] = rest - 100 * s.digits[1] - 10 * s.digits[2];
  if (com.KDIGA != 0) s.digits[0] = com.KDIGA;
  if (com.KDIGB != 0) s.digits[1] = com.KDIGB;
  if (com.KDIGC != 0) s.digits[2] = com.KDIGC;
  if (com.LVLCPA != 0) s.print_level = com.LVLCPA;
  const int64_t level = s.print_level;
  const bool timed = level > 0 && com.IUSEGU == 0;
  if (timed) s.cpu_at_entry = CpuTime();

  const Requests phi = Decode(*KPHI), h = Decode(*KH), sreq = Decode(*KS), g = Decode(*KG),
                 v = Decode(*KV);
  const bool kder = (*KDER == 1);
  const bool two_passes =
      phi.derivative || h.derivative || sreq.derivative || g.derivative || v.derivative || kder;
  const int64_t n = *N, ncc = *NCC;

  auto finish = [&]() {
    if (opened) UnitClose(unit);
    ESRDER.DPDV = *DPDV;
    ESRDER.DP2DV2 = *DP2DV2;
    ESRDER.DP2DVDT = *DP2DVDT;
    ESRDER.DPDT = *DPDT;
    if (echo) s.echo = 0;
  };

  // --- Input check --------------------------------------------------------
  // IWORK's first NCC words serve as scratch; the core rewrites them.
  const CallInput input{*T,   *P,    X,     n,      IDX,    ncc,    CPATC,          CPAPC,
                        CPAM, CPAAU, CPAAV, CPAKIJ, CPAVIJ, CPAEIJ, phi.derivative, *KVSTRT,
                        *VMX};
  // Every output the request codes name, and those always written, set to
  // the marker.
  auto mark_outputs = [&]() {
    for (int64_t i = 0; i < n; ++i) {
      if (phi.value || phi.derivative) PHIMX[i] = kNoValue;
      if (phi.derivative) DPHIDT[i] = kNoValue;
    }
    for (auto [wanted, value, derivative] :
         {std::tuple{h, DHMX, DHDT}, std::tuple{sreq, DSMX, DSDT}, std::tuple{g, DGMX, DGDT}}) {
      if (wanted.value) *value = kNoValue;
      if (wanted.derivative) *derivative = kNoValue;
    }
    if (v.value) *VMX = kNoValue;
    if (v.derivative) *DVDT = kNoValue;
    *ZMX = *DPDV = *DP2DVDT = *DPDT = *DP2DV2 = *PCALC = kNoValue;
  };
  // A refusal: every output marked, and status 20.
  auto refuse = [&](const char* reason) {
    if (level > 0) WriteLine(unit, "CPAPROP: INPUT REFUSED: ", reason);
    mark_outputs();
    *IERR = kCpaRefused;
  };
  if (const char* reason = RefusalReason(input, IWORK)) {
    refuse(reason);
    finish();
    return;
  }

  // --- Outputs cleared, traces, pure-component constants -----------------
  for (int64_t i = 0; i < n; ++i) {
    if (phi.value) PHIMX[i] = 0.0;
    if (phi.derivative) DPHIDT[i] = 0.0;
  }
  if (h.value) *DHMX = 0.0;
  if (sreq.value) *DSMX = 0.0;
  if (g.value) *DGMX = 0.0;
  if (h.derivative) *DHDT = 0.0;
  if (sreq.derivative) *DSDT = 0.0;
  if (g.derivative) *DGDT = 0.0;
  if (v.derivative) *DVDT = 0.0;
  *ZMX = *DPDV = *DP2DVDT = *DPDT = *DP2DV2 = 0.0;
  s.volume = (*KVSTRT == 1) ? *VMX : 0.0;

  if (echo) {
    WriteEcho(unit, n, IDX, ncc, CPATC, CPAPC, CPAM, CPAAT, CPAAU, CPAAV, CPAKIJ, CPAVIJ);
  } else if (level >= 2) {
    WriteParameters(unit, n, IDX, ncc, CPATC, CPAPC, CPAM, CPAAT, CPAAU, CPAAV, CPAKIJ, CPAVIJ);
  }

  double* const a_crit = RWORK;
  double* const m_slope = RWORK + ncc;
  double* const b_covol = RWORK + 2 * ncc;
  for (int64_t i = 0; i < n; ++i) {
    const int64_t k = IDX[i] - 1;
    const SrkConstants srk = Srk(CPATC[k], CPAPC[k]);
    a_crit[k] = srk.a_c;
    b_covol[k] = srk.b;
    m_slope[k] = CPAM[k];
  }

  // --- Passes --------------------------------------------------------------
  // Work slices of the core, by word offsets in the host's arrays.
  const int64_t n2 = ncc * ncc;
  // Mole fractions that do not sum to one are normalised: ln phi and the
  // departures are intensive, so the host gets those of the mixture of
  // that composition. The copy takes the last NCC words of RWORK's
  // documented size, in the open-ended slice handed to the association
  // term, which keeps its solver work in storage of its own and does not
  // use that slice.
  const double* x = X;
  double total = 0.0;
  for (int64_t i = 0; i < n; ++i) total += X[i];
  if (total != 1.0) {
    double* const copy = RWORK + 10 * n2 + 49 * ncc;
    for (int64_t i = 0; i < n; ++i) copy[i] = X[i] / total;
    x = copy;
  }
  double* const r = RWORK;
  double* const matrix = RWORK + 40 * ncc;
  int64_t* const iw = IWORK;
  const int64_t lds = kSitesPerComponent, method = kAssocChooseBySize, no_spec = 0;
  double unused_derivatives[5] = {};
  auto run = [&](double temperature, int64_t pass, int64_t& status) {
    CPA1(temperature, *P, x, n, IDX, ncc, lds, *KVL, *KPHI, *KH, *KS, *KG, *KV, *KDER, s.digits[3],
         unit, s.digits[2], s.digits[1], s.digits[0], method, XAWRK, ARG50, PHIMX, *DHMX, *DSMX,
         *DGMX, s.volume, DPHIDT, unused_derivatives[0], unused_derivatives[1],
         unused_derivatives[2], unused_derivatives[3], *ZMX, *DPDV, unused_derivatives[4],
         unused_derivatives[4], *DP2DV2, CPAAU, CPAAV, CPAKIJ, CPAAT, CPAVIJ, KIJSET, VIJSET,
         ECRFLG, CPAEIJ, b_covol, a_crit, m_slope, CPATC, r + 3 * ncc, r + 4 * ncc, iw, iw + ncc,
         iw + 2 * ncc, r + 5 * ncc, r + 9 * ncc, r + 13 * ncc, r + 17 * ncc, r + 21 * ncc,
         r + 25 * ncc, r + 26 * ncc, r + 27 * ncc, r + 28 * ncc, r + 32 * ncc, r + 36 * ncc,
         iw + n2 + 2 * ncc, iw + n2 + 6 * ncc, EPSAB, matrix, ITYPE, matrix + n2, matrix + 2 * n2,
         matrix + 3 * n2, matrix + 4 * n2, matrix + 5 * n2, matrix + 6 * n2, matrix + 7 * n2,
         matrix + 8 * n2, matrix + 9 * n2, matrix + 10 * n2, matrix + 10 * n2 + ncc,
         matrix + 10 * n2 + 2 * ncc, kCpaRgas, kCpaPref, ARG47, ARG48, *PCALC, *KVSTRT, pass,
         s.site_state, s.p_first, s.dpdv_first, iw + n2 + 10 * ncc, status, *IH2O, no_spec,
         &s.no_spec, *KTOL);
  };

  s.site_state = 1;
  int64_t status = 0;
  run(two_passes ? *T + kCpaTempStep : *T, 1, status);
  if (two_passes) {
    if (h.derivative) s.pass1_dh = *DHMX;
    if (sreq.derivative) s.pass1_ds = *DSMX;
    if (g.derivative) s.pass1_dg = *DGMX;
    if (phi.derivative) {
      for (int64_t i = 0; i < n; ++i) s.pass1_phi[i] = PHIMX[i];
    }
    s.pass1_dpdv = *DPDV;
    s.pass1_volume = s.volume;
    s.pass1_pcalc = *PCALC;
    const int64_t status1 = status;
    run(*T, 2, status);
    // A difference with a pass that failed or had no state is no
    // derivative: the worse status is returned, and what that pass
    // produced carries the marker.
    const bool pass_failed = Severity(status1 % kCpaAssocFailed) >= Severity(kCpaNoState) ||
                             Severity(status % kCpaAssocFailed) >= Severity(kCpaNoState);
    status = Worse(status1, status);

    if (h.derivative) *DHDT = Difference(s.pass1_dh, *DHMX);
    if (sreq.derivative) *DSDT = Difference(s.pass1_ds, *DSMX);
    if (g.derivative) *DGDT = Difference(s.pass1_dg, *DGMX);
    if (v.derivative) *DVDT = Difference(s.pass1_volume, s.volume);
    if (phi.derivative) {
      for (int64_t i = 0; i < n; ++i) DPHIDT[i] = Difference(s.pass1_phi[i], PHIMX[i]);
    }
    if (kder) {
      // A difference at constant volume: the first pass's volume at T + DT
      // and the second pass's first evaluation, at T and that volume. No
      // evaluation in the second pass leaves its pressure at the marker.
      const bool evaluated = *PCALC != kNoValue;
      *DPDT = evaluated ? Difference(s.pass1_pcalc, s.p_first) : kNoValue;
      *DP2DVDT = evaluated ? Difference(s.pass1_dpdv, s.dpdv_first) : kNoValue;
    }
    if (pass_failed) {
      for (auto [wanted, derivative] :
           {std::pair{h, DHDT}, std::pair{sreq, DSDT}, std::pair{g, DGDT}, std::pair{v, DVDT}}) {
        if (wanted.derivative) *derivative = kNoValue;
      }
      if (phi.derivative) {
        for (int64_t i = 0; i < n; ++i) DPHIDT[i] = kNoValue;
      }
      if (kder) *DPDT = *DP2DVDT = kNoValue;
    }
  }
  *IERR = status;
  if (v.value) *VMX = s.volume;

  // Whether every output the call wrote is a finite number.
  auto outputs_finite = [&]() {
    bool finite = std::isfinite(s.volume) && std::isfinite(*ZMX) && std::isfinite(*PCALC) &&
                  std::isfinite(*DPDV) && std::isfinite(*DP2DV2) && std::isfinite(*DPDT) &&
                  std::isfinite(*DP2DVDT);
    for (int64_t i = 0; i < n; ++i) {
      if (phi.value || phi.derivative) finite = finite && std::isfinite(PHIMX[i]);
      if (phi.derivative) finite = finite && std::isfinite(DPHIDT[i]);
    }
    for (auto [wanted, value, derivative] :
         {std::tuple{h, DHMX, DHDT}, std::tuple{sreq, DSMX, DSDT}, std::tuple{g, DGMX, DGDT}}) {
      if (wanted.value || wanted.derivative) finite = finite && std::isfinite(*value);
      if (wanted.derivative) finite = finite && std::isfinite(*derivative);
    }
    if (v.derivative) finite = finite && std::isfinite(*DVDT);
    return finite;
  };
  // A pressure below the smallest normal number leaves a state only where
  // the volume hardly depends on it (a liquid); where the results are not
  // finite (a vapour's RT/P overflows) the pressure is refused.
  const bool finite = outputs_finite();
  if (!(*P >= kSmallestNormal) && !finite) {
    refuse("P BELOW THE SMALLEST NORMAL NUMBER GIVES NO FINITE STATE");
    finish();
    return;
  }
  // Any other result that is not a number (input the check lets pass at
  // the edge of the number range) is no state: every output carries the
  // marker and the status is "no valid state" unless it is already worse.
  if (!finite) {
    if (level > 0) WriteLine(unit, "CPAPROP: NO FINITE STATE");
    mark_outputs();
    *IERR = Worse(*IERR, kCpaNoState);
  }

  // --- Closing trace -------------------------------------------------------
  if (level > 0) {
    WriteLine(unit, "CPAPROP: KVL, KPHI, KH, KS, KG, KV ", *KVL, " ", *KPHI, " ", *KH, " ", *KS,
              " ", *KG, " ", *KV);
    WriteLine(unit, "T, P ", *T, " ", *P);
    WriteLine(unit, "VMX, DHMX, DSMX, DGMX ", s.volume, " ", *DHMX, " ", *DSMX, " ", *DGMX);
    WriteList(unit, "IDX ", IDX, n);
    WriteList(unit, "X ", x, n);
    WriteList(unit, "PHIMX ", PHIMX, n);
    if (kder) {
      WriteLine(unit, "DVDT, DPDT, DP2DVDT, DP2DV2 ", Difference(s.pass1_volume, s.volume), " ",
                *DPDT, " ", *DP2DVDT, " ", *DP2DV2);
    }
    if (timed) {
      const double current = CpuTime() - s.cpu_at_entry;
      s.cumulative_cpu += current;
      WriteLine(unit, "CPAPROP: ELAPSED TIME: CURRENT = ", current,
                "  CUMULATIVE = ", s.cumulative_cpu);
    }
  }
  finish();
}
