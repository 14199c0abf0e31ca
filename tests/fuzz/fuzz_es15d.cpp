// Fuzz target of QUELTRIN_ES15D: water for any state, phase and request flags.
#include "harness.h"

TM_FUZZ_TARGET(QUELTRIN_ES15D) {
  SetHostBlocks(in, true);
  for (int c = in.Calls(3); c > 0; --c) {
    ArgList args;
    auto& T = args.In("T", in.RealLog(150.0, 2500.0));
    auto& P = args.In("P", in.RealLog(100.0, 2e8));
    auto& LVLPRT = args.In("LVLPRT", in.Int(0, 9));
    auto& KVL = args.In("KVL", in.Int(0, 3));
    auto& IUNIT = args.In("IUNIT", PickUnit(in));
    Arg<int64_t>* flag[5];
    Arg<double>* out[5];
    const char* const names[2][5] = {{"KPHI", "KH", "KS", "KG", "KV"},
                                     {"PHI", "DH", "DS", "DG", "V"}};
    for (int k = 0; k < 5; ++k) flag[k] = &args.In(names[0][k], in.Int(0, 2));
    for (int k = 0; k < 5; ++k) out[k] = &args.Out(names[1][k], kUnwritten);
    auto& IERR = args.Out<int64_t>("IERR", -99);
    Call(args, {.pure_fluid_words = true}, [&] {
      QUELTRIN_ES15D(T.p(), P.p(), LVLPRT.p(), KVL.p(), IUNIT.p(), flag[0]->p(), flag[1]->p(),
                     flag[2]->p(), flag[3]->p(), flag[4]->p(), out[0]->p(), out[1]->p(),
                     out[2]->p(), out[3]->p(), out[4]->p(), IERR.p());
    });
    const int64_t ierr = *IERR;
    CheckInSet(ierr, {0, 1});
    for (int k = 0; k < 5; ++k) {
      // Written exactly when its flag is 1.
      const bool requested = **flag[k] == 1, written = !out[k]->Untouched();
      const std::string name = out[k]->name;
      if (!requested && written) Violate("UNREQUESTED_OUTPUT_WRITTEN:" + name);
      if (requested && !written) Violate("OUTPUT_NOT_WRITTEN:" + name);
      if (requested && ierr == 0 && !std::isfinite(**out[k])) Violate("NONFINITE_WITH_IERR0", name);
    }
    if (ierr == 0 && **flag[4] == 1 && !(**out[4] > 0.0)) Violate("NOT_POSITIVE:V");
    const bool refuse = !Usable(*T) || !Usable(*P) || (*KVL != 1 && *KVL != 2);
    if (refuse && ierr == 0) Violate(*T <= 0.0 ? "NOT_REFUSED:T" : "NOT_REFUSED:P");
  }
}
