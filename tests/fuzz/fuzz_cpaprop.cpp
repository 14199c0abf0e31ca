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

// The outputs of one call: PHIMX, DPHIDT, the fourteen single values and
// IERR, preset so that a write shows (VMX to the value handed in).
enum { DHMX, DSMX, DGMX, VMX, DHDT, DSDT, DGDT, DVDT, ZMX, DPDV, DP2DVDT, DPDT, DP2DV2, PCALC };
constexpr const char* kSingleNames[14] = {"DHMX",    "DSMX", "DGMX",   "VMX",  "DHDT",
                                          "DSDT",    "DGDT", "DVDT",   "ZMX",  "DPDV",
                                          "DP2DVDT", "DPDT", "DP2DV2", "PCALC"};
struct Outputs {
  ArgList list;
  Arg<double>&PHIMX, &DPHIDT;
  Arg<double>* s[14];
  Arg<int64_t>& IERR;
  double vmx_in;
  Outputs(size_t np, double vmx)
      : PHIMX(list.Add<double>("PHIMX", np, Role::kOut, kUnwritten)),
        DPHIDT(list.Add<double>("DPHIDT", np, Role::kOut, kUnwritten)),
        s{},
        IERR(list.Out<int64_t>("IERR", -99)),
        vmx_in(vmx) {
    for (int k = 0; k < 14; ++k) s[k] = &list.Out(kSingleNames[k], k == VMX ? vmx : kUnwritten);
  }
  double& operator[](int k) { return **s[k]; }
  void Preset() {
    for (size_t i = 0; i < PHIMX.size(); ++i) PHIMX[i] = DPHIDT[i] = kUnwritten;
    for (int k = 0; k < 14; ++k) **s[k] = k == VMX ? vmx_in : kUnwritten;
  }
};

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
  auto& N = system.In("N", n);
  auto& NCC = system.In("NCC", ncc);
  Arg<double>* param[6];
  int j = 0;
  for (const char* name : {"CPATC", "CPAPC", "CPAM", "CPAAU", "CPAAV", "CPAAT"}) {
    param[j++] = &system.Add<double>(name, nc, Role::kIn);
  }
  for (size_t k = 0; k < nc; ++k) {
    const int preset = in.Byte() % 5;
    const int mask = preset == 4 ? 0x3F : in.Byte();
    for (j = 0; j < 6; ++j) {
      (*param[j])[k] = preset < 4 ? kPresets[preset][j] : 0.0;
      if (mask & (1 << j)) (*param[j])[k] = ReadParameter(in, j);
    }
  }
  auto& CPAKIJ = system.Add<double>("CPAKIJ", 2 * nc * nc, Role::kIn);
  auto& CPAVIJ = system.Add<double>("CPAVIJ", 2 * nc * nc, Role::kIn);
  auto& KIJSET = system.Add<double>("KIJSET", nc, Role::kIn);
  auto& VIJSET = system.Add<double>("VIJSET", nc, Role::kIn);
  auto& ECRFLG = system.Add<double>("ECRFLG", nc * nc, Role::kIn);
  auto& CPAEIJ = system.Add<double>("CPAEIJ", nc * nc, Role::kIn);
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
  auto& IDX = system.Add<int64_t>("IDX", np, Role::kIn);
  auto& X = system.Add<double>("X", np, Role::kIn);
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
  auto& IWORK = work.Add<int64_t>("IWORK", nc * nc + 14 * nc, Role::kOut);
  auto& RWORK = work.Add<double>("RWORK", 10 * nc * nc + 50 * nc, Role::kOut);
  auto& EPSAB = work.Add<double>("EPSAB", nc * np, Role::kOut);
  auto& ITYPE = work.Add<int64_t>("ITYPE", nc, Role::kOut);
  auto& XAWRK = work.Add<double>("XAWRK (49)", 8, Role::kUnread);
  auto& ARG47 = work.Add<double>("argument 47", 8, Role::kUnread);
  auto& ARG48 = work.Add<double>("argument 48", 8, Role::kUnread);
  auto& ARG50 = work.Add<double>("argument 50", 8, Role::kUnread);

  // What is unusual about the mixture and the call, so that a violation
  // names the kind of input it came from: a listed component with tiny
  // critical constants, or present with unusable association parameters.
  auto component = [&](size_t i) { return static_cast<size_t>(IDX[i] - 1); };
  auto listed = [&](size_t i) { return IDX[i] >= 1 && IDX[i] <= ncc; };
  auto any_component = [&](bool association) {
    for (size_t i = 0; i < np; ++i) {
      if (!listed(i)) continue;
      const size_t k = component(i);
      if (!association &&
          (std::fabs((*param[0])[k]) < 1e-100 || std::fabs((*param[1])[k]) < 1e-100))
        return true;
      if (association && X[i] > 1e-15) {
        for (int p : {3, 4}) {
          const double v = (*param[p])[k];
          if (v != 0.0 && v != 1e35 && !(v > 0.0 && v < 1e30)) return true;
        }
      }
    }
    return false;
  };

  // --- Calls --------------------------------------------------------------------
  const int calls = 1 + in.Byte() % 3;
  for (int c = 0; c < calls; ++c) {
    ArgList args;
    auto& T = args.In("T", in.RealLog(150.0, 900.0));
    auto& P = args.In("P", in.RealLog(1e3, 1e8));
    auto& KVL = args.In("KVL", in.Int(1, 2));
    Arg<int64_t>* req[5];
    j = 0;
    for (const char* r : {"KPHI", "KH", "KS", "KG", "KV"}) req[j++] = &args.In(r, in.Int(0, 3));
    auto& KDER = args.In("KDER", in.Int(0, 1));
    auto& KVSTRT = args.In("KVSTRT", in.Int(0, 2));
    const double vmx_in = in.RealLog(0.01, 1e3);
    auto& IH2O = args.In("IH2O", in.Int(0, ncc));
    auto& KTOL = args.In("KTOL", in.Int(-1, 1));
    auto& KDIAG = args.In("KDIAG", in.Int(0, 99));
    auto& IUNIT = args.In("IUNIT", PickUnit(in));
    Outputs o(np, vmx_in);
    ESRDER.UNUSED2 = kUnwritten;
    SetCallDescription([&] {
      return system.Describe() + " |" + args.Describe() + " VMX(in)=" + Num(vmx_in) + " call " +
             std::to_string(c + 1) + o.list.Describe();
    });
    auto InputClass = [&]() -> std::string {
      if (any_component(false)) return "TINY_CRITICAL_CONSTANTS";
      if (std::fabs(*P) < 2.2250738585072014e-308) return "SUBNORMAL_PRESSURE";
      if (*KVSTRT == 1) return "GIVEN_VOLUME";
      if (any_component(true)) return "ASSOCIATION_PARAMETERS";
      if (std::fabs(*T) < 1.0) return "TEMPERATURE_BELOW_1K";
      return "OTHER";
    };
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
    // work arrays and outputs; all arguments checked afterwards.
    auto cpaprop = [&](ArgList& a, const double* x, const int64_t* idx, int64_t* iwork,
                       double* rwork, double* epsab, int64_t* itype, Outputs& r) {
      Call(kTargetName, a, [&] {
        PPCPA_CPAPROP(
            T.p(), P.p(), x, N.p(), idx, NCC.p(), param[0]->p(), param[1]->p(), param[2]->p(),
            param[3]->p(), param[4]->p(), CPAKIJ.p(), param[5]->p(), CPAVIJ.p(), KIJSET.p(),
            VIJSET.p(), ECRFLG.p(), CPAEIJ.p(), KVL.p(), req[0]->p(), req[1]->p(), req[2]->p(),
            req[3]->p(), req[4]->p(), KDER.p(), r.PHIMX.p(), &r[DHMX], &r[DSMX], &r[DGMX], &r[VMX],
            r.DPHIDT.p(), &r[DHDT], &r[DSDT], &r[DGDT], &r[DVDT], &r[ZMX], &r[DPDV], &r[DP2DVDT],
            &r[DPDT], &r[DP2DV2], iwork, rwork, epsab, itype, IUNIT.p(), KDIAG.p(), ARG47.p(),
            ARG48.p(), XAWRK.p(), ARG50.p(), &r[PCALC], KVSTRT.p(), r.IERR.p(), IH2O.p(), KTOL.p());
      });
      r.list.Check(kTargetName);
      system.Check(kTargetName);
      work.Check(kTargetName);
    };
    auto first_order = [&] {
      cpaprop(args, X.p(), IDX.p(), IWORK.p(), RWORK.p(), EPSAB.p(), ITYPE.p(), o);
    };
    first_order();

    // --- Contract -----------------------------------------------------------------
    const int64_t ierr = *o.IERR;
    const bool in_set = (ierr >= 0 && ierr <= 7) || (ierr >= 10 && ierr <= 17) || ierr == 20;
    if (!in_set) Violate(kTargetName, "IERR_OUTSIDE_SET");

    // Outputs a call with these requests returns: (value, name, a temperature derivative).
    std::vector<std::tuple<double, const char*, bool>> wanted;
    for (size_t i = 0; i < np; ++i) {
      if (Requested(**req[0], false)) wanted.push_back({o.PHIMX[i], "PHIMX", false});
      if (Requested(**req[0], true)) wanted.push_back({o.DPHIDT[i], "DPHIDT", true});
    }
    const int value_slot[4] = {DHMX, DSMX, DGMX, VMX};
    const int derivative_slot[4] = {DHDT, DSDT, DGDT, DVDT};
    for (int k = 0; k < 4; ++k) {
      for (bool d : {false, true}) {
        const int slot = d ? derivative_slot[k] : value_slot[k];
        if (Requested(**req[k + 1], d)) wanted.push_back({o[slot], kSingleNames[slot], d});
      }
    }
    for (int k : {ZMX, DPDV, DP2DV2, PCALC}) wanted.push_back({o[k], kSingleNames[k], false});
    if (*KDER == 1) {
      for (int k : {DPDT, DP2DVDT}) wanted.push_back({o[k], kSingleNames[k], true});
    }
    // The first wanted output (only derivatives if ONLY_DERIVATIVES) that
    // FAILS, or null.
    auto first_failing = [&](bool only_derivatives, auto&& fails) -> const char* {
      for (const auto& [v, name, derivative] : wanted) {
        if ((derivative || !only_derivatives) && fails(v, std::string(name))) return name;
      }
      return nullptr;
    };
    if (ierr == 0) {
      if (const char* name = first_failing(false, [](double v, auto&&) { return !Finite(v); })) {
        Violate(kTargetName, "NONFINITE_WITH_IERR0:" + InputClass(), name);
      }
      if (!(o[ZMX] > 0.0)) Violate(kTargetName, "Z_NOT_POSITIVE_WITH_IERR0");
    }
    // No valid state at the volume: ln phi and the G and S departures are
    // the marker. With two runs (T + 0.001 K, then T) the status is the
    // worse of the two and the values are those at T, so a 7 may stand
    // beside values of the run at T; but when either run failed or had no
    // state, every temperature derivative asked for is the marker.
    bool two_passes = *KDER == 1;
    for (const auto* q : req) two_passes = two_passes || Requested(**q, true);
    const int64_t root = ierr % 10;
    if (root == 7 && !two_passes) {
      if (const char* name = first_failing(false, [](double v, const std::string& n) {
            return (n == "PHIMX" || n == "DGMX" || n == "DSMX") && v != 1e35;
          })) {
        Violate(kTargetName, std::string("NO_STATE_OUTPUT_NOT_MARKER:") + name);
      }
    }
    const bool run_failed = root == 1 || root == 2 || root == 5 || root == 6 || root == 7;
    auto not_marker = [](double v, auto&&) { return v != 1e35; };
    if (two_passes && run_failed && ierr != 20) {
      if (const char* name = first_failing(true, not_marker)) {
        Violate(kTargetName, std::string("FAILED_RUN_DERIVATIVE_NOT_MARKER:") + name,
                "IERR " + std::to_string(ierr));
      }
    }
    if (ierr == 20) {
      if (const char* name = first_failing(false, not_marker)) {
        Violate(kTargetName, std::string("REFUSAL_OUTPUT_NOT_MARKER:") + name);
      }
    }
    // Input no evaluation can use must be refused.
    const char* refuse = nullptr;
    if (n < 1 || n > ncc) refuse = "N";
    if (!Usable(*T)) refuse = "T";
    if (!Usable(*P)) refuse = "P";
    if (refuse == nullptr && n <= ncc) {
      for (size_t i = 0; i < np; ++i) {
        if (!listed(i)) refuse = "IDX";
        if (!(Finite(X[i]) && X[i] >= 0.0)) refuse = "X";
        for (size_t k = 0; k < i; ++k) {
          if (IDX[k] == IDX[i]) refuse = "IDX_REPEATED";
        }
      }
    }
    if (refuse != nullptr && ierr != 20) Violate(kTargetName, std::string("NOT_REFUSED:") + refuse);
    // The no-value marker as the given volume is no volume.
    if (*KVSTRT == 1 && vmx_in == 1e35 && ierr == 0) Violate(kTargetName, "MARKER_VOLUME_USED");
    // ESRDER words 1, 3, 4, 5 mirror the pressure derivatives; word 2 stays.
    if (!SameBits(ESRDER.DPDV, o[DPDV]) || !SameBits(ESRDER.DP2DV2, o[DP2DV2]) ||
        !SameBits(ESRDER.DP2DVDT, o[DP2DVDT]) || !SameBits(ESRDER.DPDT, o[DPDT])) {
      Violate(kTargetName, "ESRDER_DIFFERS_FROM_OUTPUTS");
    }
    if (!SameBits(ESRDER.UNUSED2, kUnwritten)) Violate(kTargetName, "ESRDER_WORD2_WRITTEN");
    // Outputs no request code asks for come back as they were; a code of 2
    // returns the value at T as well, from which its derivative is formed.
    std::vector<std::pair<const Arg<double>*, bool>> writes = {
        {&o.PHIMX, **req[0] >= 1 && **req[0] <= 3},
        {&o.DPHIDT, Requested(**req[0], true)},
        {o.s[VMX], Requested(**req[4], false)},
        {o.s[DVDT], Requested(**req[4], true)}};
    for (int k = 0; k < 3; ++k) {
      writes.push_back({o.s[value_slot[k]], **req[k + 1] >= 1 && **req[k + 1] <= 3});
      writes.push_back({o.s[derivative_slot[k]], Requested(**req[k + 1], true)});
    }
    for (const auto& [a, written] : writes) {
      const double was = a == o.s[VMX] ? vmx_in : kUnwritten;
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
      std::vector<const ArgBase*> outputs = {&o.PHIMX, &o.DPHIDT, &o.IERR};
      for (const auto* a : o.s) outputs.push_back(a);
      CheckRepeat(kTargetName, outputs, [&] {
        o.Preset();
        first_order();
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
    auto& RIDX = rargs.Add<int64_t>("IDX (reversed)", np, Role::kIn);
    auto& RX = rargs.Add<double>("X (reversed)", np, Role::kIn);
    std::reverse_copy(IDX.p(), IDX.p() + np, RIDX.p());
    std::reverse_copy(X.p(), X.p() + np, RX.p());
    auto& RIWORK = rargs.Add<int64_t>("IWORK", IWORK.size(), Role::kOut);
    auto& RRWORK = rargs.Add<double>("RWORK", RWORK.size(), Role::kOut);
    auto& REPSAB = rargs.Add<double>("EPSAB", EPSAB.size(), Role::kOut);
    auto& RITYPE = rargs.Add<int64_t>("ITYPE", ITYPE.size(), Role::kOut);
    std::copy(iwork_before.begin(), iwork_before.end(), RIWORK.p());
    std::copy(rwork_before.begin(), rwork_before.end(), RRWORK.p());
    Outputs r(np, vmx_in);
    PPUTL_ESROOT = esroot_before;
    thermomodels::CPA1_SAVED = cpa1_before;
    thermomodels::CPAPROP_SAVED = *cpaprop_before;
    cpaprop(rargs, RX.p(), RIDX.p(), RIWORK.p(), RRWORK.p(), REPSAB.p(), RITYPE.p(), r);
    if (*r.IERR != 0) {
      Violate(kTargetName, "ORDER_DEPENDENT:IERR",
              "reversed order IERR " + std::to_string(*r.IERR));
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
            {o.PHIMX[i], r.PHIMX[np - 1 - i], 1.0, "PHIMX(" + std::to_string(i + 1) + ")"});
      }
    }
    const double scale[4] = {rt, 8314.33, rt, 0.0};
    for (int k = 0; k < 4; ++k) {
      const int slot = value_slot[k];
      if (Requested(**req[k + 1], false)) {
        pairs.push_back({o[slot], r[slot], scale[k], kSingleNames[slot]});
      }
    }
    for (const auto& [a, b, sc, name] : pairs) {
      if (differ(a, b, sc)) {
        Violate(kTargetName, "ORDER_DEPENDENT:" + name.substr(0, name.find('(')),
                name + " " + Num(a) + " in the given order, " + Num(b) + " reversed");
        break;
      }
    }
  }
}

}  // namespace tmfuzz
