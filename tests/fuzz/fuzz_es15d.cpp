// Fuzz target of QUELTRIN_ES15D: pure water in equation-of-state form for
// any state, phase and set of request flags.
#include "harness.h"

namespace tmfuzz {

const char* const kTargetName = "QUELTRIN_ES15D";

void FuzzTarget(Input& in) {
  SetHostBlocks(in);
  MaybeOpenHostUnit(in);
  const int calls = 1 + in.Byte() % 3;
  for (int c = 0; c < calls; ++c) {
    ArgList args;
    Arg<double> T(args, "T", 1, Role::kIn, in.RealLog(150.0, 2500.0));
    Arg<double> P(args, "P", 1, Role::kIn, in.RealLog(100.0, 2e8));
    Arg<int64_t> LVLPRT(args, "LVLPRT", 1, Role::kIn, in.Int(0, 9));
    Arg<int64_t> KVL(args, "KVL", 1, Role::kIn, in.Int(0, 3));
    Arg<int32_t> IUNIT(args, "IUNIT", 1, Role::kIn, PickUnit(in));
    const char* const flag_names[5] = {"KPHI", "KH", "KS", "KG", "KV"};
    const char* const out_names[5] = {"PHI", "DH", "DS", "DG", "V"};
    std::vector<std::unique_ptr<Arg<int64_t>>> flags;
    std::vector<std::unique_ptr<Arg<double>>> outs;
    const double unwritten = -7.25e-301;
    for (int k = 0; k < 5; ++k) {
      flags.push_back(
          std::make_unique<Arg<int64_t>>(args, flag_names[k], 1, Role::kIn, in.Int(0, 2)));
    }
    for (int k = 0; k < 5; ++k) {
      outs.push_back(std::make_unique<Arg<double>>(args, out_names[k], 1, Role::kOut, unwritten));
    }
    Arg<int64_t> IERR(args, "IERR", 1, Role::kOut, -99);
    SetCallDescription([&] {
      std::string d = "T=" + Num(*T) + " P=" + Num(*P) + " LVLPRT=" + std::to_string(*LVLPRT) +
                      " KVL=" + std::to_string(*KVL) + " IUNIT=" + std::to_string(*IUNIT);
      for (int k = 0; k < 5; ++k)
        d += std::string(" ") + flag_names[k] + "=" + std::to_string(**flags[k]);
      d += " ->";
      for (int k = 0; k < 5; ++k) d += std::string(" ") + out_names[k] + "=" + Num(**outs[k]);
      return d + " IERR=" + std::to_string(*IERR);
    });
    const PureFluidWords pure_before = SavePureFluidWords();
    Call(kTargetName, args, [&] {
      QUELTRIN_ES15D(T.p(), P.p(), LVLPRT.p(), KVL.p(), IUNIT.p(), flags[0]->p(), flags[1]->p(),
                     flags[2]->p(), flags[3]->p(), flags[4]->p(), outs[0]->p(), outs[1]->p(),
                     outs[2]->p(), outs[3]->p(), outs[4]->p(), IERR.p());
    });
    const int64_t ierr = *IERR;
    if (ierr != 0 && ierr != 1) Violate(kTargetName, "IERR_OUTSIDE_SET");
    for (int k = 0; k < 5; ++k) {
      const bool requested = **flags[k] == 1;
      const double v = **outs[k];
      // Written exactly when its flag is 1.
      if (!requested && !SameBits(v, unwritten)) {
        Violate(kTargetName, std::string("UNREQUESTED_OUTPUT_WRITTEN:") + out_names[k]);
      }
      if (requested && SameBits(v, unwritten)) {
        Violate(kTargetName, std::string("OUTPUT_NOT_WRITTEN:") + out_names[k]);
      }
      if (requested && ierr == 0 && !Finite(v)) {
        Violate(kTargetName, "NONFINITE_WITH_IERR0", out_names[k]);
      }
    }
    if (ierr == 0 && **flags[4] == 1 && !(**outs[4] > 0.0)) Violate(kTargetName, "NOT_POSITIVE:V");
    const bool refuse =
        !Finite(*T) || !Finite(*P) || *P <= 0.0 || *T <= 0.0 || (*KVL != 1 && *KVL != 2);
    if (refuse && ierr == 0) Violate(kTargetName, *T <= 0.0 ? "NOT_REFUSED:T" : "NOT_REFUSED:P");
    CheckPureFluidWords(kTargetName, pure_before);
  }
}

}  // namespace tmfuzz
