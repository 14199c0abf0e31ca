// Fuzz target of PPTH_PHIVGPSW: a vapour phase of up to 30 slots; each call is made twice, since no
// state may carry over.
#include "sour_water_fuzz.h"

TM_FUZZ_TARGET(PPTH_PHIVGPSW) {
  for (int c = in.Calls(2); c > 0; --c) {
    SwPhase a(in, "Y");
    auto& WORK = a.args.Add<double>("WORK", 606 + a.models.size(), Role::kWork);
    auto call = [&] {
      PPTH_PHIVGPSW(a.T->p(), a.P->p(), a.N->p(), a.IDX->p(), a.X->p(), a.LNPHI->p(), WORK.p());
    };
    Call(a.args, call);
    CheckRepeat(a.args, call);
    a.CheckLnPhi(kSwSlots, "SLOT_OUTSIDE_MIXTURE_NOT_UPPER_BOUND");
    // Without any vapour fraction, the ideal gas: ln phi 0 in every slot in the mixture, wherever
    // the virial coefficients are finite.
    bool all_zero = true;
    for (double y : a.fractions) all_zero = all_zero && y == 0.0;
    if (!(all_zero && a.t >= 200.0 && a.t <= 2000.0 && a.p > 0.0 && a.p <= 1e6)) continue;
    int64_t valid = 0;
    for (size_t i = 0; i < a.models.size(); ++i) {
      if (a.models[i] < 1 || a.models[i] > kSwModelComponents || ++valid > kSwSlots) continue;
      if ((*a.LNPHI)[i] != 0.0) Violate("ZERO_VAPOUR_NOT_IDEAL", std::to_string(i + 1));
    }
  }
}
