// Fuzz target of QUELTRIN_FDREGION: region, state used and molar volume of
// water for any state and phase, with warnings on any unit.
#include "harness.h"

namespace tmfuzz {

const char* const kTargetName = "QUELTRIN_FDREGION";

void FuzzTarget(Input& in) {
  SetHostBlocks(in);
  MaybeOpenHostUnit(in);
  const int calls = 1 + in.Byte() % 3;
  for (int c = 0; c < calls; ++c) {
    ArgList args;
    Arg<double> T(args, "T", 1, Role::kIn, in.RealLog(200.0, 2500.0));
    Arg<double> P(args, "P", 1, Role::kIn, in.RealLog(100.0, 2e8));
    Arg<int64_t> KVL(args, "KVL", 1, Role::kIn, in.Int(0, 3));
    Arg<int64_t> LVLPRT(args, "LVLPRT", 1, Role::kIn, in.Int(0, 9));
    Arg<int32_t> IUNIT(args, "IUNIT", 1, Role::kIn, PickUnit(in));
    Arg<int64_t> KREGION(args, "KREGION", 1, Role::kOut, -99);
    Arg<double> TOUT(args, "TOUT", 1, Role::kOut, -7.25e-301);
    Arg<double> POUT(args, "POUT", 1, Role::kOut, -7.25e-301);
    Arg<double> VOUT(args, "VOUT", 1, Role::kOut, -7.25e-301);
    Arg<int64_t> IERR(args, "IERR", 1, Role::kOut, -99);
    SetCallDescription([&] {
      return "T=" + Num(*T) + " P=" + Num(*P) + " KVL=" + std::to_string(*KVL) +
             " LVLPRT=" + std::to_string(*LVLPRT) + " IUNIT=" + std::to_string(*IUNIT) +
             " -> KREGION=" + std::to_string(*KREGION) + " TOUT=" + Num(*TOUT) +
             " POUT=" + Num(*POUT) + " VOUT=" + Num(*VOUT) + " IERR=" + std::to_string(*IERR);
    });
    const PureFluidWords pure_before = SavePureFluidWords();
    Call(kTargetName, args, [&] {
      QUELTRIN_FDREGION(T.p(), P.p(), KVL.p(), KREGION.p(), TOUT.p(), POUT.p(), VOUT.p(),
                        LVLPRT.p(), IUNIT.p(), IERR.p());
    });
    const int64_t ierr = *IERR, region = *KREGION;
    if (ierr != 0 && ierr != 1) Violate(kTargetName, "IERR_OUTSIDE_SET");
    if (region != 0 && region != 1 && region != 2 && region != 3 && region != 5) {
      Violate(kTargetName, "KREGION_OUTSIDE_SET");
    }
    // Refused input: outputs at the marker, no region.
    const bool refuse =
        !Finite(*T) || !Finite(*P) || *P <= 0.0 || *T <= 0.0 || (*KVL != 1 && *KVL != 2);
    if (refuse && ierr == 0) {
      Violate(kTargetName, *T <= 0.0 ? "NOT_REFUSED:T" : "NOT_REFUSED:P");
    }
    if (refuse && ierr == 1 && (region != 0 || *TOUT != 1e35 || *POUT != 1e35 || *VOUT != 1e35)) {
      Violate(kTargetName, "REFUSAL_OUTPUTS_NOT_MARKER");
    }
    if (ierr == 0) {
      if (region == 0) Violate(kTargetName, "NO_REGION_WITH_IERR0");
      if (!Finite(*TOUT)) Violate(kTargetName, "NONFINITE_WITH_IERR0", "TOUT");
      if (!Finite(*POUT)) Violate(kTargetName, "NONFINITE_WITH_IERR0", "POUT");
      if (!Finite(*VOUT)) Violate(kTargetName, "NONFINITE_WITH_IERR0", "VOUT");
      // Clamped into the formulation's bounds, a positive volume; a
      // region-3 pressure is the one at the volume found, within the root
      // solver's tolerance of the bound.
      if (!(*TOUT >= 273.15 && *TOUT <= 2273.15)) Violate(kTargetName, "OUTSIDE_BOUNDS:TOUT");
      if (!(*POUT > 0.0 && *POUT <= 1e8 * (1.0 + 1e-6)))
        Violate(kTargetName, "OUTSIDE_BOUNDS:POUT");
      if (!(*VOUT > 0.0)) Violate(kTargetName, "NOT_POSITIVE:VOUT");
    }
    // The pure-fluid words are -1 only during the region-3 search.
    CheckPureFluidWords(kTargetName, pure_before);
  }
}

}  // namespace tmfuzz
