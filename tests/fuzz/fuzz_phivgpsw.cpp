// Fuzz target of PPTH_PHIVGPSW: up to 30 slots (more than the model's 20),
// model indices inside and outside 1..18, any fractions, temperature and
// pressure; each call is made twice, since no state may carry over.
#include "sour_water_fuzz.h"

namespace tmfuzz {

const char* const kTargetName = "PPTH_PHIVGPSW";

void FuzzTarget(Input& in) {
  const int calls = 1 + in.Byte() % 2;
  for (int c = 0; c < calls; ++c) {
    const SwPhase ph = ReadSwPhase(in, 30);
    std::vector<double> first;
    for (int repeat = 0; repeat < 2; ++repeat) {
      SwPhaseArgs a(ph, "Y");
      auto& WORK = a.args.Add<double>("WORK", 606 + ph.n, Role::kWork);
      Call(kTargetName, a.args, [&] {
        PPTH_PHIVGPSW(a.T.p(), a.P.p(), a.N.p(), a.IDX.p(), a.X.p(), a.LNPHI.p(), WORK.p());
      });
      // Slots outside the mixture: a model index outside 1..18, or past the
      // first 20 that have one.
      CheckSwLnPhi(kTargetName, a.LNPHI, ph.models, kSwSlots,
                   "SLOT_OUTSIDE_MIXTURE_NOT_UPPER_BOUND");
      for (size_t i = 0; i < ph.n && repeat == 1; ++i) {
        if (!SameBits(first[i], a.LNPHI[i])) {
          Violate(kTargetName, "SECOND_CALL_DIFFERS", "LNPHI(" + std::to_string(i + 1) + ")");
          break;
        }
      }
      first.assign(a.LNPHI.p(), a.LNPHI.p() + ph.n);
      // Without any vapour fraction the mixture is the ideal gas: ln phi 0
      // in every slot that takes part (the first 20 with a model index),
      // wherever the virial coefficients are finite.
      bool all_zero = true;
      for (double y : ph.fractions) all_zero = all_zero && y == 0.0;
      if (!(all_zero && ph.t >= 200.0 && ph.t <= 2000.0 && ph.p > 0.0 && ph.p <= 1e6)) continue;
      int64_t valid = 0;
      for (size_t i = 0; i < ph.n; ++i) {
        if (ph.models[i] < 1 || ph.models[i] > kSwModelComponents || ++valid > kSwSlots) continue;
        if (a.LNPHI[i] != 0.0) {
          Violate(kTargetName, "ZERO_VAPOUR_NOT_IDEAL", "LNPHI(" + std::to_string(i + 1) + ")");
          break;
        }
      }
    }
  }
}

}  // namespace tmfuzz
