// Fuzz target of the water property dispatcher QUELTRIN_IF97PRPH: one to
// four calls with any state, property code, phase and region code.
#include "harness.h"

namespace tmfuzz {

const char* const kTargetName = "QUELTRIN_IF97PRPH";

namespace {

// Which of T, P and V the property code and region code evaluate.
struct Uses {
  bool t, p, v;
};
Uses InputsUsed(int32_t kprop, int64_t region, double t) {
  const int32_t code = (kprop >= 1 && kprop <= 15) ? kprop : 1;
  switch (code) {
    case 8:
    case 11: return {true, false, false};
    case 15: return {false, true, false};
    case 14: return {true, false, true};
    default: break;
  }
  if (region < 1 || region > 5) return {false, false, false};
  if (region == 4) return {true, true, false};
  if (code == 6) return {true, false, true};
  // The conductivity's critical enhancement takes cp and cv from (p, T) in
  // region 1 and in region 2 below 973.15 K, from (T, v) in region 3.
  if (code == 7) return {true, region == 1 || (region == 2 && t < 973.15), true};
  if (region == 3) return {true, code == 5 || code == 1, code != 5};
  return {true, true, false};
}

// A temperature or pressure must be finite and positive; a volume also
// given (not the no-value marker).
bool Usable(double x) { return std::isfinite(x) && x > 0.0; }
bool VolumeGiven(double v) { return Usable(v) && v != 1e35; }

}  // namespace

void FuzzTarget(Input& in) {
  SetHostBlocks(in);
  const int calls = 1 + in.Byte() % 4;
  for (int c = 0; c < calls; ++c) {
    ArgList args;
    Arg<double> T(args, "T", 1, Role::kIn, in.RealLog(200.0, 2500.0));
    Arg<double> P(args, "P", 1, Role::kIn, in.RealLog(100.0, 2e8));
    Arg<double> V(args, "V", 1, Role::kIn, in.RealLog(0.015, 1e4));
    Arg<int32_t> KPROP(args, "KPROP", 1, Role::kIn, in.Int32(0, 16));
    Arg<int64_t> KPHASE(args, "KPHASE", 1, Role::kIn, in.Int(0, 3));
    Arg<int64_t> KREGION(args, "KREGION", 1, Role::kIn, in.Int(0, 6));
    const double unwritten = -7.25e-301;
    Arg<double> VALUE(args, "VALUE", 1, Role::kOut, unwritten);
    Arg<int64_t> IERR(args, "IERR", 1, Role::kOut, -99);
    SetCallDescription([&] {
      return "T=" + Num(*T) + " P=" + Num(*P) + " V=" + Num(*V) +
             " KPROP=" + std::to_string(*KPROP) + " KPHASE=" + std::to_string(*KPHASE) +
             " KREGION=" + std::to_string(*KREGION) + " -> VALUE=" + Num(*VALUE) +
             " IERR=" + std::to_string(*IERR);
    });
    Call(kTargetName, args, [&] {
      QUELTRIN_IF97PRPH(T.p(), P.p(), V.p(), KPROP.p(), KPHASE.p(), KREGION.p(), VALUE.p(),
                        IERR.p());
    });
    const int64_t ierr = *IERR;
    if (ierr != 0 && ierr != 1) Violate(kTargetName, "IERR_OUTSIDE_SET");
    if (SameBits(*VALUE, unwritten)) Violate(kTargetName, "OUTPUT_NOT_WRITTEN:VALUE");
    if (ierr == 1 && *VALUE != 1e35) Violate(kTargetName, "NO_MARKER_WITH_IERR1:VALUE");
    if (ierr == 0 && !Finite(*VALUE)) Violate(kTargetName, "NONFINITE_WITH_IERR0", "VALUE");
    // A volume or pressure no state can have is refused.
    const int32_t code = *KPROP;
    if (ierr == 0 && (code == 5 || code == 11 || code == 14) && !(*VALUE > 0.0)) {
      Violate(kTargetName, "NOT_POSITIVE_WITH_IERR0:KPROP" + std::to_string(code));
    }
    // An input the evaluation needs that it cannot use must be refused.
    const Uses u = InputsUsed(*KPROP, *KREGION, *T);
    if (ierr == 0) {
      if (u.t && !Usable(*T)) Violate(kTargetName, "NOT_REFUSED:T");
      if (u.p && !Usable(*P)) Violate(kTargetName, "NOT_REFUSED:P");
      if (u.v && !VolumeGiven(*V)) Violate(kTargetName, "NOT_REFUSED:V");
    }
  }
}

}  // namespace tmfuzz
