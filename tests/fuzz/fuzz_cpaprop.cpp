// Fuzz target of the CPA property routine PPCPA_CPAPROP: a mixture of up to
// six components (published water, methanol and methane sets, plain SRK
// methane, or any parameters), any binary data, then one to three calls on
// the same host arrays with any state, requests and options.
#include <algorithm>
#include <tuple>

#include "cpa/cpa.h"
#include "harness.h"

namespace tmfuzz {

const char* const kTargetName = "PPCPA_CPAPROP";

namespace {

constexpr int64_t kMaxNcc = 6;
constexpr int64_t kMaxN = 8;

// CPATC, CPAPC, CPAM, CPAAU, CPAAV, CPAAT of the preset components.
constexpr double kPresets[4][6] = {
    {303.17135848344367, 15045914.360250035, 0.38016508919624575, 2003.1367040072357, 0.0692, 4.0},
    {364.4383820278336, 8495972.27212533, 0.3403877229534356, 2957.618414184445, 0.0161, 2.0},
    {193.18592912809845, 4782224.476403621, 0.4516575760558059, 0.0, 0.0, 1e35},
    {190.56, 4.599e6, 0.497293, 0.0, 0.0, 1e35}};

double ReadParameter(Input& in, int j) {
  switch (j) {
    case 0: return in.Real(100.0, 800.0);
    case 1: return in.RealLog(1e5, 1e8);
    case 2: return in.Real(0.0, 2.0);
    case 3: return in.Real(0.0, 4000.0);
    case 4: return in.RealLog(1e-4, 0.5);
    default: return in.Real(0.0, 10.0);
  }
}

bool Requested(int64_t code, bool derivative) {
  return derivative ? (code == 2 || code == 3) : (code == 1 || code == 3);
}

}  // namespace

void FuzzTarget(Input& in) {
  SetHostBlocks(in);
  MaybeOpenHostUnit(in);

  // --- The mixture the host keeps for all calls ------------------------------
  int64_t ncc = in.Int(1, 5);
  if (ncc < -1 || ncc > kMaxNcc) ncc = kMaxNcc;
  int64_t n = in.Int(1, 4);
  if (n < -1 || n > kMaxN) n = kMaxN;
  const size_t nc = static_cast<size_t>(ncc > 0 ? ncc : 0);
  const size_t np = static_cast<size_t>(n > 0 ? n : 0);

  ArgList system;
  Arg<int64_t> N(system, "N", 1, Role::kIn, n);
  Arg<int64_t> NCC(system, "NCC", 1, Role::kIn, ncc);
  const char* const names[6] = {"CPATC", "CPAPC", "CPAM", "CPAAU", "CPAAV", "CPAAT"};
  std::vector<std::unique_ptr<Arg<double>>> param;
  for (const char* name : names)
    param.push_back(std::make_unique<Arg<double>>(system, name, nc, Role::kIn));
  for (size_t k = 0; k < nc; ++k) {
    const int preset = in.Byte() % 5;
    const int mask = preset == 4 ? 0x3F : in.Byte();
    for (int j = 0; j < 6; ++j) {
      (*param[j])[k] = preset < 4 ? kPresets[preset][j] : 0.0;
      if (mask & (1 << j)) (*param[j])[k] = ReadParameter(in, j);
    }
  }
  Arg<double> CPAKIJ(system, "CPAKIJ", 2 * nc * nc, Role::kIn);
  Arg<double> CPAVIJ(system, "CPAVIJ", 2 * nc * nc, Role::kIn);
  Arg<double> KIJSET(system, "KIJSET", nc, Role::kIn);
  Arg<double> VIJSET(system, "VIJSET", nc, Role::kIn);
  Arg<double> ECRFLG(system, "ECRFLG", nc * nc, Role::kIn);
  Arg<double> CPAEIJ(system, "CPAEIJ", nc * nc, Role::kIn);
  Arg<double>* binaries[6] = {&CPAKIJ, &CPAVIJ, &KIJSET, &VIJSET, &ECRFLG, &CPAEIJ};
  const int entries = in.Byte() % 8;
  for (int e = 0; e < entries; ++e) {
    const int which = in.Byte() % 6;
    Arg<double>& a = *binaries[which];
    const size_t at = in.Byte();
    double value;
    switch (which) {
      case 0: value = in.Real(-0.2, 0.3); break;
      case 1: value = in.Real(0.0, 0.2); break;
      case 5: value = in.Real(0.0, 4000.0); break;
      default: value = in.Flag() ? 1.0 : in.Real(0.0, 2.0); break;
    }
    if (a.size() > 0) a[at % a.size()] = value;
  }
  Arg<int64_t> IDX(system, "IDX", np, Role::kIn);
  Arg<double> X(system, "X", np, Role::kIn);
  for (size_t i = 0; i < np; ++i) {
    IDX[i] = (in.Byte() % 8 == 7) ? in.Int(-1, ncc + 1) : static_cast<int64_t>(i) + 1;
  }
  double sum = 0.0;
  for (size_t i = 0; i < np; ++i) sum += (X[i] = in.Real(0.0, 1.0));
  if (in.Flag() && sum > 0.0 && std::isfinite(sum)) {
    for (size_t i = 0; i < np; ++i) X[i] /= sum;
  }
  // Host work arrays of the documented sizes, kept from call to call.
  ArgList work;
  Arg<int64_t> IWORK(work, "IWORK", nc * nc + 14 * nc, Role::kOut);
  Arg<double> RWORK(work, "RWORK", 10 * nc * nc + 50 * nc, Role::kOut);
  Arg<double> EPSAB(work, "EPSAB", nc * np, Role::kOut);
  Arg<int64_t> ITYPE(work, "ITYPE", nc, Role::kOut);
  Arg<double> XAWRK(work, "XAWRK (49)", 8, Role::kUnread);
  Arg<double> ARG47(work, "argument 47", 8, Role::kUnread);
  Arg<double> ARG48(work, "argument 48", 8, Role::kUnread);
  Arg<double> ARG50(work, "argument 50", 8, Role::kUnread);

  auto describe_system = [&] {
    std::string d = "N=" + std::to_string(n) + " NCC=" + std::to_string(ncc);
    for (size_t k = 0; k < nc; ++k) {
      d += " | comp " + std::to_string(k + 1) + ":";
      for (int j = 0; j < 6; ++j) d += std::string(" ") + names[j] + "=" + Num((*param[j])[k]);
    }
    const char* bnames[6] = {"CPAKIJ", "CPAVIJ", "KIJSET", "VIJSET", "ECRFLG", "CPAEIJ"};
    for (int b = 0; b < 6; ++b) {
      for (size_t i = 0; i < binaries[b]->size(); ++i) {
        if ((*binaries[b])[i] != 0.0)
          d += std::string(" ") + bnames[b] + "[" + std::to_string(i) +
               "]=" + Num((*binaries[b])[i]);
      }
    }
    d += " | IDX X:";
    for (size_t i = 0; i < np; ++i) d += " " + std::to_string(IDX[i]) + ":" + Num(X[i]);
    return d;
  };

  // What is unusual about the mixture and the call, so that a violation
  // names the kind of input it came from.
  auto association_unusable = [&] {
    for (size_t i = 0; i < np; ++i) {
      if (IDX[i] < 1 || IDX[i] > ncc || !(X[i] > 1e-15)) continue;
      const size_t k = static_cast<size_t>(IDX[i] - 1);
      for (int j : {3, 4}) {
        const double v = (*param[j])[k];
        if (v != 0.0 && v != 1e35 && !(v > 0.0 && v < 1e30)) return true;
      }
    }
    return false;
  };
  double t_now = 0.0, p_now = 0.0;
  int64_t kvstrt_now = 0;
  auto tiny_critical_constants = [&] {
    for (size_t i = 0; i < np; ++i) {
      if (IDX[i] < 1 || IDX[i] > ncc) continue;
      const size_t k = static_cast<size_t>(IDX[i] - 1);
      if (std::fabs((*param[0])[k]) < 1e-100 || std::fabs((*param[1])[k]) < 1e-100) return true;
    }
    return false;
  };
  auto InputClass = [&]() -> std::string {
    if (tiny_critical_constants()) return "TINY_CRITICAL_CONSTANTS";
    if (std::fabs(p_now) < 2.2250738585072014e-308) return "SUBNORMAL_PRESSURE";
    if (kvstrt_now == 1) return "GIVEN_VOLUME";
    if (association_unusable()) return "ASSOCIATION_PARAMETERS";
    if (std::fabs(t_now) < 1.0) return "TEMPERATURE_BELOW_1K";
    return "OTHER";
  };

  // --- Calls --------------------------------------------------------------------
  const int calls = 1 + in.Byte() % 3;
  for (int c = 0; c < calls; ++c) {
    ArgList args;
    Arg<double> T(args, "T", 1, Role::kIn, in.RealLog(150.0, 900.0));
    Arg<double> P(args, "P", 1, Role::kIn, in.RealLog(1e3, 1e8));
    Arg<int64_t> KVL(args, "KVL", 1, Role::kIn, in.Int(1, 2));
    const char* const rnames[5] = {"KPHI", "KH", "KS", "KG", "KV"};
    std::vector<std::unique_ptr<Arg<int64_t>>> req;
    for (const char* r : rnames)
      req.push_back(std::make_unique<Arg<int64_t>>(args, r, 1, Role::kIn, in.Int(0, 3)));
    Arg<int64_t> KDER(args, "KDER", 1, Role::kIn, in.Int(0, 1));
    Arg<int64_t> KVSTRT(args, "KVSTRT", 1, Role::kIn, in.Int(0, 2));
    const double vmx_in = in.RealLog(0.01, 1e3);
    Arg<int64_t> IH2O(args, "IH2O", 1, Role::kIn, in.Int(0, ncc));
    Arg<int64_t> KTOL(args, "KTOL", 1, Role::kIn, in.Int(-1, 1));
    Arg<int64_t> KDIAG(args, "KDIAG", 1, Role::kIn, in.Int(0, 99));
    Arg<int32_t> IUNIT(args, "IUNIT", 1, Role::kIn, PickUnit(in));

    t_now = *T;
    p_now = *P;
    kvstrt_now = *KVSTRT;
    const double unwritten = -7.25e-301;
    Arg<double> PHIMX(args, "PHIMX", np, Role::kOut, unwritten);
    Arg<double> DPHIDT(args, "DPHIDT", np, Role::kOut, unwritten);
    const char* const snames[15] = {"DHMX",    "DSMX", "DGMX",   "VMX",   "DHDT",
                                    "DSDT",    "DGDT", "DVDT",   "ZMX",   "DPDV",
                                    "DP2DVDT", "DPDT", "DP2DV2", "PCALC", "-"};
    std::vector<std::unique_ptr<Arg<double>>> s;
    for (int k = 0; k < 14; ++k) {
      s.push_back(std::make_unique<Arg<double>>(args, snames[k], 1, Role::kOut,
                                                k == 3 ? vmx_in : unwritten));
    }
    enum { DHMX, DSMX, DGMX, VMX, DHDT, DSDT, DGDT, DVDT, ZMX, DPDV, DP2DVDT, DPDT, DP2DV2, PCALC };
    Arg<int64_t> IERR(args, "IERR", 1, Role::kOut, -99);
    ESRDER.UNUSED2 = unwritten;

    SetCallDescription([&] {
      std::string d =
          describe_system() + " | T=" + Num(*T) + " P=" + Num(*P) + " KVL=" + std::to_string(*KVL);
      for (int k = 0; k < 5; ++k)
        d += std::string(" ") + rnames[k] + "=" + std::to_string(**req[k]);
      d += " KDER=" + std::to_string(*KDER) + " KVSTRT=" + std::to_string(*KVSTRT) +
           " VMX(in)=" + Num(vmx_in) + " IH2O=" + std::to_string(*IH2O) +
           " KTOL=" + std::to_string(*KTOL) + " KDIAG=" + std::to_string(*KDIAG) +
           " IUNIT=" + std::to_string(*IUNIT) + " call " + std::to_string(c + 1) + " ->";
      for (size_t i = 0; i < np; ++i) d += " PHIMX(" + std::to_string(i + 1) + ")=" + Num(PHIMX[i]);
      for (int k = 0; k < 14; ++k) d += std::string(" ") + snames[k] + "=" + Num(**s[k]);
      return d + " IERR=" + std::to_string(*IERR);
    });
    // State before the call, for the same call in the reverse order.
    const tm_esroot_block esroot_before = PPUTL_ESROOT;
    const thermomodels::Cpa1Saved cpa1_before = thermomodels::CPA1_SAVED;
    const auto cpaprop_before =
        std::make_unique<thermomodels::CpapropSaved>(thermomodels::CPAPROP_SAVED);
    const std::vector<int64_t> iwork_before(IWORK.p(), IWORK.p() + IWORK.size());
    const std::vector<double> rwork_before(RWORK.p(), RWORK.p() + RWORK.size());
    system.Snapshot();
    work.Snapshot();
    // The call with the given order of the components (or another), its
    // work arrays and outputs.
    using Outputs = std::vector<std::unique_ptr<Arg<double>>>;
    auto cpaprop = [&](const double* x, const int64_t* idx, int64_t* iwork, double* rwork,
                       double* epsab, int64_t* itype, double* phimx, double* dphidt, Outputs& o,
                       int64_t* ierr) {
      PPCPA_CPAPROP(T.p(), P.p(), x, N.p(), idx, NCC.p(), param[0]->p(), param[1]->p(),
                    param[2]->p(), param[3]->p(), param[4]->p(), CPAKIJ.p(), param[5]->p(),
                    CPAVIJ.p(), KIJSET.p(), VIJSET.p(), ECRFLG.p(), CPAEIJ.p(), KVL.p(),
                    req[0]->p(), req[1]->p(), req[2]->p(), req[3]->p(), req[4]->p(), KDER.p(),
                    phimx, o[DHMX]->p(), o[DSMX]->p(), o[DGMX]->p(), o[VMX]->p(), dphidt,
                    o[DHDT]->p(), o[DSDT]->p(), o[DGDT]->p(), o[DVDT]->p(), o[ZMX]->p(),
                    o[DPDV]->p(), o[DP2DVDT]->p(), o[DPDT]->p(), o[DP2DV2]->p(), iwork, rwork,
                    epsab, itype, IUNIT.p(), KDIAG.p(), ARG47.p(), ARG48.p(), XAWRK.p(), ARG50.p(),
                    o[PCALC]->p(), KVSTRT.p(), ierr, IH2O.p(), KTOL.p());
    };
    auto first_order = [&] {
      cpaprop(X.p(), IDX.p(), IWORK.p(), RWORK.p(), EPSAB.p(), ITYPE.p(), PHIMX.p(), DPHIDT.p(), s,
              IERR.p());
    };
    Call(kTargetName, args, first_order);
    system.Check(kTargetName);
    work.Check(kTargetName);

    // --- Contract -----------------------------------------------------------------
    const int64_t ierr = *IERR;
    const bool in_set = (ierr >= 0 && ierr <= 7) || (ierr >= 10 && ierr <= 17) || ierr == 20;
    if (!in_set) Violate(kTargetName, "IERR_OUTSIDE_SET");

    // Outputs a call with these requests returns: (value, wanted).
    std::vector<std::pair<double, const char*>> wanted;
    for (size_t i = 0; i < np; ++i) {
      if (Requested(**req[0], false)) wanted.push_back({PHIMX[i], "PHIMX"});
      if (Requested(**req[0], true)) wanted.push_back({DPHIDT[i], "DPHIDT"});
    }
    const int value_slot[4] = {DHMX, DSMX, DGMX, VMX};
    const int derivative_slot[4] = {DHDT, DSDT, DGDT, DVDT};
    for (int k = 0; k < 4; ++k) {
      if (Requested(**req[k + 1], false))
        wanted.push_back({**s[value_slot[k]], snames[value_slot[k]]});
      if (Requested(**req[k + 1], true))
        wanted.push_back({**s[derivative_slot[k]], snames[derivative_slot[k]]});
    }
    for (int k : {ZMX, DPDV, DP2DV2, PCALC}) wanted.push_back({**s[k], snames[k]});
    if (*KDER == 1) {
      for (int k : {DPDT, DP2DVDT}) wanted.push_back({**s[k], snames[k]});
    }
    if (ierr == 0) {
      for (const auto& [v, name] : wanted) {
        if (!Finite(v)) {
          Violate(kTargetName, std::string("NONFINITE_WITH_IERR0:") + InputClass(), name);
          break;
        }
      }
      if (!(**s[ZMX] > 0.0)) Violate(kTargetName, "Z_NOT_POSITIVE_WITH_IERR0");
    }
    // No valid state at the volume: ln phi and the G and S departures are
    // the marker. With two runs (T + 0.001 K, then T) the status is the
    // worse of the two and the values are those at T, so a 7 may stand
    // beside values of the run at T; but when either run failed or had no
    // state, every temperature derivative asked for is the marker.
    bool two_passes = *KDER == 1;
    for (const auto& q : req) two_passes = two_passes || Requested(**q, true);
    const int64_t root = ierr % 10;
    if (root == 7 && !two_passes) {
      for (const auto& [v, name] : wanted) {
        const std::string n(name);
        if ((n == "PHIMX" || n == "DGMX" || n == "DSMX") && v != 1e35) {
          Violate(kTargetName, "NO_STATE_OUTPUT_NOT_MARKER:" + n);
          break;
        }
      }
    }
    const bool run_failed = root == 1 || root == 2 || root == 5 || root == 6 || root == 7;
    if (two_passes && run_failed && ierr != 20) {
      std::vector<std::pair<double, const char*>> derivatives;
      for (size_t i = 0; i < np; ++i) {
        if (Requested(**req[0], true)) derivatives.push_back({DPHIDT[i], "DPHIDT"});
      }
      for (int k = 0; k < 4; ++k) {
        if (Requested(**req[k + 1], true))
          derivatives.push_back({**s[derivative_slot[k]], snames[derivative_slot[k]]});
      }
      if (*KDER == 1) {
        for (int k : {DPDT, DP2DVDT}) derivatives.push_back({**s[k], snames[k]});
      }
      for (const auto& [v, name] : derivatives) {
        if (v != 1e35) {
          Violate(kTargetName, std::string("FAILED_RUN_DERIVATIVE_NOT_MARKER:") + name,
                  Num(v) + " with IERR " + std::to_string(ierr));
          break;
        }
      }
    }
    if (ierr == 20) {
      for (const auto& [v, name] : wanted) {
        if (v != 1e35) {
          Violate(kTargetName, std::string("REFUSAL_OUTPUT_NOT_MARKER:") + name);
          break;
        }
      }
    }
    // Input no evaluation can use must be refused.
    const char* refuse = nullptr;
    if (n < 1 || n > ncc) refuse = "N";
    if (!(Finite(*T) && *T > 0.0)) refuse = "T";
    if (!(Finite(*P) && *P > 0.0)) refuse = "P";
    if (refuse == nullptr && n <= ncc) {
      for (size_t i = 0; i < np; ++i) {
        if (IDX[i] < 1 || IDX[i] > ncc) refuse = "IDX";
        if (!(Finite(X[i]) && X[i] >= 0.0)) refuse = "X";
        for (size_t j = 0; j < i; ++j) {
          if (IDX[j] == IDX[i]) refuse = "IDX_REPEATED";
        }
      }
    }
    if (refuse != nullptr && ierr != 20) Violate(kTargetName, std::string("NOT_REFUSED:") + refuse);
    // The no-value marker as the given volume is no volume.
    if (*KVSTRT == 1 && vmx_in == 1e35 && ierr == 0) Violate(kTargetName, "MARKER_VOLUME_USED");
    // ESRDER words 1, 3, 4, 5 mirror the pressure derivatives; word 2 stays.
    if (!SameBits(ESRDER.DPDV, **s[DPDV]) || !SameBits(ESRDER.DP2DV2, **s[DP2DV2]) ||
        !SameBits(ESRDER.DP2DVDT, **s[DP2DVDT]) || !SameBits(ESRDER.DPDT, **s[DPDT])) {
      Violate(kTargetName, "ESRDER_DIFFERS_FROM_OUTPUTS");
    }
    if (!SameBits(ESRDER.UNUSED2, unwritten)) Violate(kTargetName, "ESRDER_WORD2_WRITTEN");
    // Outputs no request code asks for come back as they were; a code of 2
    // returns the value at T as well, from which its derivative is formed.
    std::vector<std::pair<const Arg<double>*, bool>> writes = {
        {&PHIMX, **req[0] >= 1 && **req[0] <= 3}, {&DPHIDT, Requested(**req[0], true)},
        {s[VMX].get(), Requested(**req[4], false)}, {s[DVDT].get(), Requested(**req[4], true)}};
    for (int k = 0; k < 3; ++k) {
      writes.push_back({s[value_slot[k]].get(), **req[k + 1] >= 1 && **req[k + 1] <= 3});
      writes.push_back({s[derivative_slot[k]].get(), Requested(**req[k + 1], true)});
    }
    for (const auto& [a, written] : writes) {
      const double was = a == s[VMX].get() ? vmx_in : unwritten;
      for (size_t i = 0; i < a->size() && !written; ++i) {
        if (!SameBits((*a)[i], was)) {
          Violate(kTargetName, std::string("NOT_REQUESTED_WRITTEN:") + a->name(), Num((*a)[i]));
          break;
        }
      }
    }
    // With the root memory off and no start from the last volume, the same
    // call again gives the same result to the bit.
    if (PPUTL_EOSRET.ISTATE < 1 && (*KVSTRT == 0 || *KVSTRT == 1)) {
      std::vector<const ArgBase*> outputs = {&PHIMX, &DPHIDT, &IERR};
      for (const auto& o : s) outputs.push_back(o.get());
      CheckRepeat(kTargetName, outputs, [&] {
        for (size_t i = 0; i < np; ++i) PHIMX[i] = DPHIDT[i] = unwritten;
        for (int k = 0; k < 14; ++k) **s[k] = k == VMX ? vmx_in : unwritten;
        Call(kTargetName, args, first_order);
      });
    }

    // The order of the components is the host's choice: the same call with
    // the positions reversed, from the same state, gives the same values.
    // Only for a converged root of its own search with the root memory off,
    // at a state where rounding cannot decide the outcome (between 100 and
    // 2000 K, a normal pressure of at least 1 Pa).
    if (ierr != 0 || np < 2 || refuse != nullptr || *KVSTRT != 0 || PPUTL_EOSRET.ISTATE >= 1 ||
        !(*T >= 100.0 && *T <= 2000.0 && *P >= 1.0)) {
      continue;
    }
    ArgList rargs;
    Arg<int64_t> RIDX(rargs, "IDX (reversed)", np, Role::kIn);
    Arg<double> RX(rargs, "X (reversed)", np, Role::kIn);
    for (size_t i = 0; i < np; ++i) {
      RIDX[i] = IDX[np - 1 - i];
      RX[i] = X[np - 1 - i];
    }
    Arg<int64_t> RIWORK(rargs, "IWORK", IWORK.size(), Role::kOut);
    Arg<double> RRWORK(rargs, "RWORK", RWORK.size(), Role::kOut);
    Arg<double> REPSAB(rargs, "EPSAB", EPSAB.size(), Role::kOut);
    Arg<int64_t> RITYPE(rargs, "ITYPE", ITYPE.size(), Role::kOut);
    std::copy(iwork_before.begin(), iwork_before.end(), RIWORK.p());
    std::copy(rwork_before.begin(), rwork_before.end(), RRWORK.p());
    Arg<double> RPHIMX(rargs, "PHIMX", np, Role::kOut, unwritten);
    Arg<double> RDPHIDT(rargs, "DPHIDT", np, Role::kOut, unwritten);
    std::vector<std::unique_ptr<Arg<double>>> r;
    for (int k = 0; k < 14; ++k) {
      r.push_back(std::make_unique<Arg<double>>(rargs, snames[k], 1, Role::kOut,
                                                k == 3 ? vmx_in : unwritten));
    }
    Arg<int64_t> RIERR(rargs, "IERR", 1, Role::kOut, -99);
    PPUTL_ESROOT = esroot_before;
    thermomodels::CPA1_SAVED = cpa1_before;
    thermomodels::CPAPROP_SAVED = *cpaprop_before;
    Call(kTargetName, rargs, [&] {
      cpaprop(RX.p(), RIDX.p(), RIWORK.p(), RRWORK.p(), REPSAB.p(), RITYPE.p(), RPHIMX.p(),
              RDPHIDT.p(), r, RIERR.p());
    });
    system.Check(kTargetName);
    work.Check(kTargetName);
    if (*RIERR != 0) {
      Violate(kTargetName, "ORDER_DEPENDENT:IERR", "reversed order IERR " + std::to_string(*RIERR));
      continue;
    }
    constexpr double kTol = 1e-6;
    auto differ = [&](double a, double b, double scale) {
      return !SameBits(a, b) &&
             !(std::fabs(a - b) <= kTol * std::max({std::fabs(a), std::fabs(b), scale}));
    };
    const double rt = 8314.33 * *T;
    std::vector<std::tuple<double, double, double, std::string>> pairs;
    if (Requested(**req[0], false)) {
      for (size_t i = 0; i < np; ++i) {
        pairs.push_back(
            {PHIMX[i], RPHIMX[np - 1 - i], 1.0, "PHIMX(" + std::to_string(i + 1) + ")"});
      }
    }
    if (Requested(**req[1], false)) pairs.push_back({**s[DHMX], **r[DHMX], rt, "DHMX"});
    if (Requested(**req[2], false)) pairs.push_back({**s[DSMX], **r[DSMX], 8314.33, "DSMX"});
    if (Requested(**req[3], false)) pairs.push_back({**s[DGMX], **r[DGMX], rt, "DGMX"});
    if (Requested(**req[4], false)) pairs.push_back({**s[VMX], **r[VMX], 0.0, "VMX"});
    for (const auto& [a, b, scale, name] : pairs) {
      if (differ(a, b, scale)) {
        Violate(kTargetName, "ORDER_DEPENDENT:" + name.substr(0, name.find('(')),
                name + " " + Num(a) + " in the given order, " + Num(b) + " reversed");
        break;
      }
    }
  }
}

}  // namespace tmfuzz
