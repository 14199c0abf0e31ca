// Fuzz target of QUELTRIN_FDREGION: region, state and volume for any state.
#include "harness.h"

TM_FUZZ_TARGET(QUELTRIN_FDREGION) {
  SetHostBlocks(in, true);
  for (int c = in.Calls(3); c > 0; --c) {
    ArgList args;
    auto& T = args.In("T", in.RealLog(200.0, 2500.0));
    auto& P = args.In("P", in.RealLog(100.0, 2e8));
    auto& KVL = args.In("KVL", in.Int(0, 3));
    auto& LVLPRT = args.In("LVLPRT", in.Int(0, 9));
    auto& IUNIT = args.In("IUNIT", PickUnit(in));
    auto& KREGION = args.Out<int64_t>("KREGION", -99);
    auto& TOUT = args.Out("TOUT", kUnwritten);
    auto& POUT = args.Out("POUT", kUnwritten);
    auto& VOUT = args.Out("VOUT", kUnwritten);
    auto& IERR = args.Out<int64_t>("IERR", -99);
    // The pure-fluid words are -1 only during the region-3 search.
    Call(args, {.pure_fluid_words = true}, [&] {
      QUELTRIN_FDREGION(T.p(), P.p(), KVL.p(), KREGION.p(), TOUT.p(), POUT.p(), VOUT.p(),
                        LVLPRT.p(), IUNIT.p(), IERR.p());
    });
    const int64_t ierr = *IERR, region = *KREGION;
    CheckInSet(ierr, {0, 1});
    CheckInSet(region, {0, 1, 2, 3, 5}, "KREGION_OUTSIDE_SET");
    // Refused input: outputs at the marker, no region.
    const bool refuse = !Usable(*T) || !Usable(*P) || (*KVL != 1 && *KVL != 2);
    if (refuse && ierr == 0) Violate(*T <= 0.0 ? "NOT_REFUSED:T" : "NOT_REFUSED:P");
    if (refuse && ierr == 1 && (region != 0 || *TOUT != 1e35 || *POUT != 1e35 || *VOUT != 1e35)) {
      Violate("REFUSAL_OUTPUTS_NOT_MARKER");
    }
    if (ierr != 0) continue;
    if (region == 0) Violate("NO_REGION_WITH_IERR0");
    for (auto* a : {&TOUT, &POUT, &VOUT}) {
      if (!std::isfinite(**a)) Violate("NONFINITE_WITH_IERR0", a->name);
    }
    // Clamped into the formulation's bounds (a region-3 pressure within the root solver's
    // tolerance), a positive volume.
    if (!(*TOUT >= 273.15 && *TOUT <= 2273.15)) Violate("OUTSIDE_BOUNDS:TOUT");
    if (!(*POUT > 0.0 && *POUT <= 1e8 * (1.0 + 1e-6))) Violate("OUTSIDE_BOUNDS:POUT");
    if (!(*VOUT > 0.0)) Violate("NOT_POSITIVE:VOUT");
  }
}
