// Fuzz target of PPCPA_CPAPROP: a mixture of up to six components (preset or any parameters), any
// binary data, one to three calls on the same arrays.
#include <algorithm>
#include <tuple>

#include "cpa/cpa.h"
#include "harness.h"

using namespace tmfuzz;
namespace {
// CPATC..CPAAT of water, methanol, methane, SRK methane; each parameter's typical range.
constexpr double kPresets[4][6] = {
    {303.17135848344367, 15045914.360250035, 0.38016508919624575, 2003.1367040072357, 0.0692, 4.0},
    {364.4383820278336, 8495972.27212533, 0.3403877229534356, 2957.618414184445, 0.0161, 2.0},
    {193.18592912809845, 4782224.476403621, 0.4516575760558059, 0.0, 0.0, 1e35},
    {190.56, 4.599e6, 0.497293, 0.0, 0.0, 1e35}};
constexpr double kRanges[6][3] = {{100.0, 800.0, 0}, {1e5, 1e8, 1}, {0.0, 2.0, 0}, {0.0, 4000.0, 0},
                                  {1e-4, 0.5, 1},    {0.0, 10.0, 0}};  // 1: logarithmic
// Whether request code CODE asks for the value, or its temperature derivative.
bool Requested(int64_t code, bool derivative) {
  return derivative ? (code == 2 || code == 3) : (code == 1 || code == 3);
}
// The single outputs: the code asking for each (KPHI..KV; -1 always, -2 with KDER 1), derivative.
enum { DHMX, DHDT, DSMX, DSDT, DGMX, DGDT, VMX, DVDT, ZMX, DPDV, DP2DV2, PCALC, DPDT, DP2DVDT };
constexpr struct {
  const char* name;
  int request;
  bool derivative;
} kSingles[14] = {{"DHMX", 1, false},  {"DHDT", 1, true},     {"DSMX", 2, false},
                  {"DSDT", 2, true},   {"DGMX", 3, false},    {"DGDT", 3, true},
                  {"VMX", 4, false},   {"DVDT", 4, true},     {"ZMX", -1, false},
                  {"DPDV", -1, false}, {"DP2DV2", -1, false}, {"PCALC", -1, false},
                  {"DPDT", -2, true},  {"DP2DVDT", -2, true}};
// The outputs of one call, preset so that a write shows (VMX to the given one).
struct Outputs {
  Arg<double>*PHIMX, *DPHIDT, *s[14];
  Arg<int64_t>* IERR;
  Outputs(ArgList& list, size_t np, double vmx) {
    PHIMX = &list.Add<double>("PHIMX", np, Role::kOut, kUnwritten);
    DPHIDT = &list.Add<double>("DPHIDT", np, Role::kOut, kUnwritten);
    for (int k = 0; k < 14; ++k) s[k] = &list.Out(kSingles[k].name, k == VMX ? vmx : kUnwritten);
    IERR = &list.Out<int64_t>("IERR", -99);
  }
  double& operator[](int k) { return **s[k]; }
};
}  // namespace

TM_FUZZ_TARGET(PPCPA_CPAPROP) {
  SetHostBlocks(in, true);
  // The mixture the host keeps for all calls.
  int64_t ncc = in.Int(1, 5);
  if (ncc < -1 || ncc > 6) ncc = 6;
  int64_t n = in.Int(1, 4);
  if (n < -1 || n > 8) n = 8;
  const size_t nc = static_cast<size_t>(std::max<int64_t>(ncc, 0));
  const size_t np = static_cast<size_t>(std::max<int64_t>(n, 0));
  ArgList system;
  auto& N = system.In("N", n);
  auto& NCC = system.In("NCC", ncc);
  Arg<double>* param[6];
  const char* const kParameters[6] = {"CPATC", "CPAPC", "CPAM", "CPAAU", "CPAAV", "CPAAT"};
  for (int j = 0; j < 6; ++j) param[j] = &system.Add<double>(kParameters[j], nc, Role::kIn);
  for (size_t k = 0; k < nc; ++k) {
    const int preset = in.Byte() % 5;
    const int mask = preset == 4 ? 0x3F : in.Byte();
    for (int j = 0; j < 6; ++j) {
      const auto& r = kRanges[j];
      (*param[j])[k] = preset < 4 ? kPresets[preset][j] : 0.0;
      if (mask & (1 << j))
        (*param[j])[k] = r[2] != 0 ? in.RealLog(r[0], r[1]) : in.Real(r[0], r[1]);
    }
  }
  // CPAKIJ, CPAVIJ, KIJSET, VIJSET, ECRFLG, CPAEIJ: a few entries set.
  Arg<double>* binary[6];
  const char* const kBinaries[6] = {"CPAKIJ", "CPAVIJ", "KIJSET", "VIJSET", "ECRFLG", "CPAEIJ"};
  const size_t kBinarySizes[6] = {2 * nc * nc, 2 * nc * nc, nc, nc, nc * nc, nc * nc};
  for (int j = 0; j < 6; ++j)
    binary[j] = &system.Add<double>(kBinaries[j], kBinarySizes[j], Role::kIn);
  for (int e = in.Byte() % 8; e > 0; --e) {
    const int which = in.Byte() % 6;
    const size_t at = in.Byte();
    constexpr double kLo[6] = {-0.2, 0, 0, 0, 0, 0}, kHi[6] = {0.3, 0.2, 2, 2, 2, 4000};
    const bool flag_set = which >= 2 && which <= 4 && in.Flag();  // a flag array's 1
    const double value = flag_set ? 1.0 : in.Real(kLo[which], kHi[which]);
    if (binary[which]->size() > 0) (*binary[which])[at % binary[which]->size()] = value;
  }
  auto& IDX = system.Add<int64_t>("IDX", np, Role::kIn);
  auto& X = system.Add<double>("X", np, Role::kIn);
  for (size_t i = 0; i < np; ++i)
    IDX[i] = in.Byte() % 8 == 7 ? in.Int(-1, ncc + 1) : int64_t(i) + 1;
  double sum = 0.0;
  for (size_t i = 0; i < np; ++i) sum += (X[i] = in.Real(0.0, 1.0));
  if (in.Flag() && sum > 0.0 && std::isfinite(sum)) {
    for (size_t i = 0; i < np; ++i) X[i] /= sum;
  }
  // Host work arrays of the documented sizes, kept from call to call.
  ArgList work;
  auto& IWORK = work.Add<int64_t>("IWORK", nc * nc + 14 * nc, Role::kWork);
  auto& RWORK = work.Add<double>("RWORK", 10 * nc * nc + 50 * nc, Role::kWork);
  auto& EPSAB = work.Add<double>("EPSAB", nc * np, Role::kWork);
  auto& ITYPE = work.Add<int64_t>("ITYPE", nc, Role::kWork);
  auto& XAWRK = work.Add<double>("XAWRK (49)", 8, Role::kUnread);
  auto& ARG47 = work.Add<double>("argument 47", 8, Role::kUnread);
  auto& ARG48 = work.Add<double>("argument 48", 8, Role::kUnread);
  auto& ARG50 = work.Add<double>("argument 50", 8, Role::kUnread);

  for (int c = in.Calls(3); c > 0; --c) {
    ArgList inputs;
    auto& T = inputs.In("T", in.RealLog(150.0, 900.0));
    auto& P = inputs.In("P", in.RealLog(1e3, 1e8));
    auto& KVL = inputs.In("KVL", in.Int(1, 2));
    Arg<int64_t>* req[5];
    int j = 0;
    for (const char* r : {"KPHI", "KH", "KS", "KG", "KV"}) req[j++] = &inputs.In(r, in.Int(0, 3));
    auto& KDER = inputs.In("KDER", in.Int(0, 1));
    auto& KVSTRT = inputs.In("KVSTRT", in.Int(0, 2));
    const double vmx_in = in.RealLog(0.01, 1e3);
    auto& IH2O = inputs.In("IH2O", in.Int(0, ncc));
    auto& KTOL = inputs.In("KTOL", in.Int(-1, 1));
    auto& KDIAG = inputs.In("KDIAG", in.Int(0, 99));
    auto& IUNIT = inputs.In("IUNIT", PickUnit(in));
    ArgList args;
    for (const ArgList* l : {&system, &work, &inputs}) args.Include(*l);
    Outputs o(args, np, vmx_in);
    ESRDER.UNUSED2 = kUnwritten;
    // State before the call, for the same call in the reverse order.
    const tm_esroot_block esroot_before = PPUTL_ESROOT;
    const thermomodels::Cpa1Saved cpa1_before = thermomodels::CPA1_SAVED;
    const auto cpaprop_before =
        std::make_unique<thermomodels::CpapropSaved>(thermomodels::CPAPROP_SAVED);
    const std::vector<int64_t> iwork_before(IWORK.p(), IWORK.p() + IWORK.size());
    const std::vector<double> rwork_before(RWORK.p(), RWORK.p() + RWORK.size());
    // The call with the given order of the components (or another).
    auto cpaprop = [&](const double* x, const int64_t* idx, int64_t* iwork, double* rwork,
                       double* epsab, int64_t* itype, Outputs& r) {
      PPCPA_CPAPROP(T.p(), P.p(), x, N.p(), idx, NCC.p(), param[0]->p(), param[1]->p(),
                    param[2]->p(), param[3]->p(), param[4]->p(), binary[0]->p(), param[5]->p(),
                    binary[1]->p(), binary[2]->p(), binary[3]->p(), binary[4]->p(), binary[5]->p(),
                    KVL.p(), req[0]->p(), req[1]->p(), req[2]->p(), req[3]->p(), req[4]->p(),
                    KDER.p(), r.PHIMX->p(), &r[DHMX], &r[DSMX], &r[DGMX], &r[VMX], r.DPHIDT->p(),
                    &r[DHDT], &r[DSDT], &r[DGDT], &r[DVDT], &r[ZMX], &r[DPDV], &r[DP2DVDT],
                    &r[DPDT], &r[DP2DV2], iwork, rwork, epsab, itype, IUNIT.p(), KDIAG.p(),
                    ARG47.p(), ARG48.p(), XAWRK.p(), ARG50.p(), &r[PCALC], KVSTRT.p(), r.IERR->p(),
                    IH2O.p(), KTOL.p());
    };
    auto given_order = [&] {
      cpaprop(X.p(), IDX.p(), IWORK.p(), RWORK.p(), EPSAB.p(), ITYPE.p(), o);
    };
    Call(args, given_order);
    const int64_t ierr = **o.IERR, root = ierr % 10;
    CheckInSet(ierr, {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 20});
    bool two_passes = *KDER == 1;
    for (auto* q : req) two_passes = two_passes || Requested(**q, true);
    // The outputs requested (value, name, derivative); the first that FAILS (of derivatives only).
    std::vector<std::tuple<double, const char*, bool>> wanted;
    for (size_t i = 0; i < np; ++i) {
      if (Requested(**req[0], false)) wanted.emplace_back((*o.PHIMX)[i], "PHIMX", false);
      if (Requested(**req[0], true)) wanted.emplace_back((*o.DPHIDT)[i], "DPHIDT", true);
    }
    for (int k = 0; k < 14; ++k) {
      const int r = kSingles[k].request;
      if (r >= 0 ? Requested(**req[r], kSingles[k].derivative) : r == -1 || *KDER == 1) {
        wanted.emplace_back(o[k], kSingles[k].name, kSingles[k].derivative);
      }
    }
    auto first_failing = [&](bool only_derivatives, auto&& fails) -> std::string {
      for (const auto& [v, name, derivative] : wanted) {
        if ((derivative || !only_derivatives) && fails(v, std::string(name))) return name;
      }
      return "";
    };
    auto not_marker = [](double v, const std::string&) { return v != 1e35; };
    std::string name;
    if (ierr == 0) {
      name = first_failing(false, [](double v, const std::string&) { return !std::isfinite(v); });
      if (!name.empty()) Violate("NONFINITE_WITH_IERR0", name);
      if (!(o[ZMX] > 0.0)) Violate("Z_NOT_POSITIVE_WITH_IERR0");
    }
    // No state at the volume: ln phi, G and S departures are the marker. With two runs (T + 1 mK,
    // then T) a 7 may stand beside values at T, but each derivative asked for is the marker.
    if (root == 7 && !two_passes) {
      name = first_failing(false, [](double v, const std::string& n) {
        return (n == "PHIMX" || n == "DGMX" || n == "DSMX") && v != 1e35;
      });
      if (!name.empty()) Violate("NO_STATE_OUTPUT_NOT_MARKER:" + name);
    }
    const bool run_failed = root == 1 || root == 2 || root == 5 || root == 6 || root == 7;
    if (two_passes && run_failed && ierr != 20 &&
        !(name = first_failing(true, not_marker)).empty()) {
      Violate("FAILED_RUN_DERIVATIVE_NOT_MARKER:" + name, "IERR " + std::to_string(ierr));
    }
    if (ierr == 20 && !(name = first_failing(false, not_marker)).empty()) {
      Violate("REFUSAL_OUTPUT_NOT_MARKER:" + name);
    }
    // Input no evaluation can use must be refused.
    const char* refuse = nullptr;
    if (n < 1 || n > ncc) refuse = "N";
    if (!Usable(*T)) refuse = "T";
    if (!Usable(*P)) refuse = "P";
    const bool usable_state = refuse == nullptr;
    for (size_t i = 0; i < np && usable_state; ++i) {
      if (IDX[i] < 1 || IDX[i] > ncc) refuse = "IDX";
      if (!(std::isfinite(X[i]) && X[i] >= 0.0)) refuse = "X";
      for (size_t k = 0; k < i; ++k) refuse = IDX[k] == IDX[i] ? "IDX_REPEATED" : refuse;
    }
    if (refuse != nullptr && ierr != 20) Violate(std::string("NOT_REFUSED:") + refuse);
    // The no-value marker as the given volume is no volume.
    if (*KVSTRT == 1 && vmx_in == 1e35 && ierr == 0) Violate("MARKER_VOLUME_USED");
    // ESRDER words 1, 3, 4, 5 mirror the pressure derivatives; word 2 stays.
    if (!SameBits(ESRDER.DPDV, o[DPDV]) || !SameBits(ESRDER.DP2DV2, o[DP2DV2]) ||
        !SameBits(ESRDER.DP2DVDT, o[DP2DVDT]) || !SameBits(ESRDER.DPDT, o[DPDT])) {
      Violate("ESRDER_DIFFERS_FROM_OUTPUTS");
    }
    if (!SameBits(ESRDER.UNUSED2, kUnwritten)) Violate("ESRDER_WORD2_WRITTEN");
    // Outputs no request code asks for come back as they were (a code of 2 returns the value at T
    // too, but not the volume).
    auto may_write = [&](int r, bool derivative) {
      const int64_t code = **req[r];
      return derivative || r == 4 ? Requested(code, derivative) : code >= 1 && code <= 3;
    };
    std::vector<std::pair<const ArgBase*, bool>> writes = {{o.PHIMX, may_write(0, false)},
                                                           {o.DPHIDT, may_write(0, true)}};
    for (int k = 0; k < 8; ++k)
      writes.emplace_back(o.s[k], may_write(kSingles[k].request, kSingles[k].derivative));
    for (const auto& [a, allowed] : writes) {
      if (!allowed && !a->Untouched()) Violate("NOT_REQUESTED_WRITTEN", a->name);
    }
    // With the root memory off and no start from the last volume, the same call again gives the
    // same result to the bit.
    if (PPUTL_EOSRET.ISTATE < 1 && (*KVSTRT == 0 || *KVSTRT == 1)) CheckRepeat(args, given_order);
    // The same call with the components reversed, from the same state, gives the same values (own
    // converged root, root memory off, 100..2000 K and P >= 1 Pa where rounding cannot decide).
    if (ierr != 0 || np < 2 || refuse != nullptr || *KVSTRT != 0 || PPUTL_EOSRET.ISTATE >= 1 ||
        !(*T >= 100.0 && *T <= 2000.0 && *P >= 1.0)) {
      continue;
    }
    ArgList rargs;
    for (const ArgList* l : {&system, &inputs}) rargs.Include(*l);
    auto& RIDX = rargs.Add("IDX", std::vector<int64_t>(IDX.p(), IDX.p() + np), Role::kIn);
    auto& RX = rargs.Add("X", std::vector<double>(X.p(), X.p() + np), Role::kIn);
    std::reverse(RIDX.p(), RIDX.p() + np);
    std::reverse(RX.p(), RX.p() + np);
    auto& RIWORK = rargs.Add("IWORK", iwork_before, Role::kWork);
    auto& RRWORK = rargs.Add("RWORK", rwork_before, Role::kWork);
    auto& REPSAB = rargs.Add<double>("EPSAB", EPSAB.size(), Role::kWork);
    auto& RITYPE = rargs.Add<int64_t>("ITYPE", ITYPE.size(), Role::kWork);
    Outputs r(rargs, np, vmx_in);
    PPUTL_ESROOT = esroot_before;
    thermomodels::CPA1_SAVED = cpa1_before;
    thermomodels::CPAPROP_SAVED = *cpaprop_before;
    Call(rargs,
         [&] { cpaprop(RX.p(), RIDX.p(), RIWORK.p(), RRWORK.p(), REPSAB.p(), RITYPE.p(), r); });
    if (**r.IERR != 0) {
      Violate("ORDER_DEPENDENT:IERR", std::to_string(**r.IERR));
      continue;
    }
    // Each value asked for within 1e-6 of the larger of the two and its scale.
    std::vector<std::tuple<double, double, double, std::string>> pairs;
    for (size_t i = 0; i < np && Requested(**req[0], false); ++i) {
      pairs.emplace_back((*o.PHIMX)[i], (*r.PHIMX)[np - 1 - i], 1.0, "PHIMX");
    }
    const double rt = 8314.33 * *T, scale[4] = {rt, 8314.33, rt, 0.0};
    for (int k = 0; k < 4; ++k) {
      const int slot = 2 * k;  // DHMX, DSMX, DGMX, VMX
      if (Requested(**req[k + 1], false))
        pairs.emplace_back(o[slot], r[slot], scale[k], kSingles[slot].name);
    }
    for (const auto& [a, b, sc, what] : pairs) {
      if (!SameBits(a, b) &&
          !(std::fabs(a - b) <= 1e-6 * std::max({std::fabs(a), std::fabs(b), sc}))) {
        Violate("ORDER_DEPENDENT:" + what);
        break;
      }
    }
  }
}
