// Fuzz target of QUELTRIN_IF97PRPH: any state, property, phase and region code.
#include "harness.h"

using namespace tmfuzz;
namespace {
// Which of T, P and V the property code and region code evaluate.
struct Uses {
  bool t, p, v;
};
Uses InputsUsed(int32_t kprop, int64_t region, double t) {
  const int32_t code = (kprop >= 1 && kprop <= 15) ? kprop : 1;
  if (code == 8 || code == 11) return {true, false, false};
  if (code == 15) return {false, true, false};
  if (code == 14) return {true, false, true};
  if (region < 1 || region > 5) return {false, false, false};
  if (region == 4) return {true, true, false};
  if (code == 6) return {true, false, true};
  // The conductivity's critical enhancement takes cp and cv from (p, T) in region 1 and in region 2
  // below 973.15 K, from (T, v) in region 3.
  if (code == 7) return {true, region == 1 || (region == 2 && t < 973.15), true};
  if (region == 3) return {true, code == 5 || code == 1, code != 5};
  return {true, true, false};
}
}  // namespace

TM_FUZZ_TARGET(QUELTRIN_IF97PRPH) {
  SetHostBlocks(in);
  for (int c = in.Calls(4); c > 0; --c) {
    ArgList args;
    auto& T = args.In("T", in.RealLog(200.0, 2500.0));
    auto& P = args.In("P", in.RealLog(100.0, 2e8));
    auto& V = args.In("V", in.RealLog(0.015, 1e4));
    auto& KPROP = args.In("KPROP", static_cast<int32_t>(in.Int(0, 16)));
    auto& KPHASE = args.In("KPHASE", in.Int(0, 3));
    auto& KREGION = args.In("KREGION", in.Int(0, 6));
    auto& VALUE = args.Out("VALUE", kUnwritten);
    auto& IERR = args.Out<int64_t>("IERR", -99);
    Call(args, [&] {
      QUELTRIN_IF97PRPH(T.p(), P.p(), V.p(), KPROP.p(), KPHASE.p(), KREGION.p(), VALUE.p(),
                        IERR.p());
    });
    const int64_t ierr = *IERR;
    const int32_t code = *KPROP;
    CheckInSet(ierr, {0, 1});
    if (VALUE.Untouched()) Violate("OUTPUT_NOT_WRITTEN:VALUE");
    if (ierr == 1 && *VALUE != 1e35) Violate("NO_MARKER_WITH_IERR1:VALUE");
    if (ierr != 0) continue;
    if (!std::isfinite(*VALUE)) Violate("NONFINITE_WITH_IERR0", "VALUE");
    // A volume or pressure no state can have is refused.
    if ((code == 5 || code == 11 || code == 14) && !(*VALUE > 0.0)) {
      Violate("NOT_POSITIVE_WITH_IERR0:KPROP" + std::to_string(code));
    }
    // An input the evaluation needs that it cannot use must be refused (a volume also when it is
    // the no-value marker).
    const Uses u = InputsUsed(code, *KREGION, *T);
    if (u.t && !Usable(*T)) Violate("NOT_REFUSED:T");
    if (u.p && !Usable(*P)) Violate("NOT_REFUSED:P");
    if (u.v && !(Usable(*V) && *V != 1e35)) Violate("NOT_REFUSED:V");
  }
}
