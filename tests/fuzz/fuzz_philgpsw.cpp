// Fuzz target of PPTH_PHILGPSW: a liquid phase of up to 30 slots, the pH searched or imposed; WORK
// is 710 + N words.
#include <limits>

#include "sour_water/sour_water.h"
#include "sour_water_fuzz.h"

TM_FUZZ_TARGET(PPTH_PHILGPSW) {
  for (int c = in.Calls(2); c > 0; --c) {
    SwPhase a(in, "X");
    auto& PH = a.args.In("PH", in.Real(0.0, 14.0));
    auto& KPH = a.args.In("KPH", in.Byte() % 2 == 0 ? int64_t{0} : in.Int(0, 2));
    auto& WORK = a.args.Add<double>("WORK", 710 + a.models.size(), Role::kWork);
    auto call = [&] {
      PPTH_PHILGPSW(a.T->p(), a.P->p(), a.N->p(), a.IDX->p(), a.X->p(), a.LNPHI->p(), PH.p(),
                    KPH.p(), WORK.p());
    };
    thermomodels::GPSWLIQ.ph_solves = 0;  // a call that returns at once leaves it alone
    Call(a.args, call);
    // Repeated for a liquid the model describes (water, fractions in 0..1 summing to <= 1, 250..700
    // K) or a cheap call: one that runs out its solves costs as much as a hundred others.
    double sum = 0.0, water = 0.0;  // of the fractions, and of water
    bool fractions = true;
    for (size_t i = 0; i < a.models.size(); ++i) {
      const double x = a.fractions[i];
      fractions = fractions && x >= 0.0 && x <= 1.0;
      sum += x;
      water += a.models[i] == 1 ? x : 0.0;
    }
    const bool describable = fractions && water > 0.0 && sum <= 1.0 + 1e-9 && a.t >= 250.0 &&
                             a.t <= 700.0 && Usable(a.p);
    if (describable || thermomodels::GPSWLIQ.ph_solves < thermomodels::kMaxBalanceSolves) {
      CheckRepeat(a.args, call);
    }
    a.CheckLnPhi(std::numeric_limits<int64_t>::max(), "SLOT_OUTSIDE_MODEL_NOT_UPPER_BOUND");
  }
}
