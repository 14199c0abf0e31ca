// Fuzz target of PPTH_PHILGPSW: up to 30 slots (more than the model's 20),
// model indices inside and outside 1..18, any fractions (zeros included),
// temperature, pressure, and the pH searched or imposed. Every call must
// return (the pH search and the inner solve have caps) with each ln phi
// finite and within its clamps, without touching its inputs or anything
// beyond 710 + N words of WORK, and give the same ln phi when repeated.
#include "sour_water_fuzz.h"

namespace tmfuzz {

const char* const kTargetName = "PPTH_PHILGPSW";

void FuzzTarget(Input& in) {
  const int calls = 1 + in.Byte() % 2;
  for (int c = 0; c < calls; ++c) {
    const SwPhase phase = ReadSwPhase(in, 30);
    const int64_t n_value = phase.n_value;
    const size_t n = phase.n;
    const std::vector<int64_t>& models = phase.models;
    const std::vector<double>& fractions = phase.fractions;
    const double t = phase.t, p = phase.p;
    const double ph = in.Real(0.0, 14.0);
    const int64_t kph = in.Byte() % 2 == 0 ? 0 : in.Int(0, 2);

    ArgList args;
    Arg<double> T(args, "T", 1, Role::kIn, t);
    Arg<double> P(args, "P", 1, Role::kIn, p);
    Arg<int64_t> N(args, "N", 1, Role::kIn, n_value);
    Arg<int64_t> IDX(args, "IDX", n, Role::kIn);
    Arg<double> X(args, "X", n, Role::kIn);
    for (size_t i = 0; i < n; ++i) IDX[i] = models[i], X[i] = fractions[i];
    Arg<double> LNPHI(args, "LNPHI", n, Role::kOut, -7.25e-301);
    Arg<double> PH(args, "PH", 1, Role::kIn, ph);
    Arg<int64_t> KPH(args, "KPH", 1, Role::kIn, kph);
    Arg<double> WORK(args, "WORK", 710 + n, Role::kOut);
    SetCallDescription([&] {
      return "T=" + Num(*T) + " P=" + Num(*P) + " N=" + std::to_string(*N) +
             DescribeList("IDX", IDX.p(), n) + DescribeList("X", X.p(), n) + " PH=" + Num(*PH) +
             " KPH=" + std::to_string(*KPH) + " ->" + DescribeList("LNPHI", LNPHI.p(), n);
    });
    auto call = [&] {
      PPTH_PHILGPSW(T.p(), P.p(), N.p(), IDX.p(), X.p(), LNPHI.p(), PH.p(), KPH.p(), WORK.p());
    };
    Call(kTargetName, args, call);
    CheckRepeat(kTargetName, {&LNPHI}, [&] { Call(kTargetName, args, call); });
    CheckSwLnPhi(kTargetName, LNPHI);
    // Slots outside the model (an index outside 1..18) get the upper clamp.
    for (size_t i = 0; i < n; ++i) {
      if (models[i] >= 1 && models[i] <= kSwModelComponents) continue;
      if (std::fabs(LNPHI[i] - kSwLnPhiHigh) > 1e-12) {
        Violate(kTargetName, "SLOT_OUTSIDE_MODEL_NOT_UPPER_BOUND",
                "LNPHI(" + std::to_string(i + 1) + ")");
        break;
      }
    }
  }
}

}  // namespace tmfuzz
