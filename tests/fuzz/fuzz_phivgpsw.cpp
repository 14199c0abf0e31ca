// Fuzz target of PPTH_PHIVGPSW: up to 30 slots (more than the model's 20),
// model indices inside and outside 1..18, any fractions, temperature and
// pressure; each call is made twice, since no state may carry over.
#include "sour_water_fuzz.h"

namespace tmfuzz {

const char* const kTargetName = "PPTH_PHIVGPSW";

void FuzzTarget(Input& in) {
  const int calls = 1 + in.Byte() % 2;
  for (int c = 0; c < calls; ++c) {
    const SwPhase phase = ReadSwPhase(in, 30);
    const int64_t n_value = phase.n_value;
    const size_t n = phase.n;
    const std::vector<int64_t>& models = phase.models;
    const std::vector<double>& fractions = phase.fractions;
    const double t = phase.t, p = phase.p;
    std::vector<double> first;
    for (int repeat = 0; repeat < 2; ++repeat) {
      ArgList args;
      Arg<double> T(args, "T", 1, Role::kIn, t);
      Arg<double> P(args, "P", 1, Role::kIn, p);
      Arg<int64_t> N(args, "N", 1, Role::kIn, n_value);
      Arg<int64_t> IDX(args, "IDX", n, Role::kIn);
      Arg<double> Y(args, "Y", n, Role::kIn);
      for (size_t i = 0; i < n; ++i) IDX[i] = models[i], Y[i] = fractions[i];
      Arg<double> LNPHI(args, "LNPHI", n, Role::kOut, -7.25e-301);
      Arg<double> WORK(args, "WORK", 606 + n, Role::kOut);
      SetCallDescription([&] {
        return "T=" + Num(*T) + " P=" + Num(*P) + " N=" + std::to_string(*N) +
               DescribeList("IDX", IDX.p(), n) + DescribeList("Y", Y.p(), n) + " ->" +
               DescribeList("LNPHI", LNPHI.p(), n);
      });
      Call(kTargetName, args,
           [&] { PPTH_PHIVGPSW(T.p(), P.p(), N.p(), IDX.p(), Y.p(), LNPHI.p(), WORK.p()); });
      CheckSwLnPhi(kTargetName, LNPHI);
      // Slots outside the mixture: a model index outside 1..18, or past the
      // first 20 that have one.
      int64_t taking_part = 0;
      for (size_t i = 0; i < n; ++i) {
        const bool valid = models[i] >= 1 && models[i] <= kSwModelComponents;
        if (valid && ++taking_part <= kSwSlots) continue;
        if (std::fabs(LNPHI[i] - kSwLnPhiHigh) > 1e-12) {
          Violate(kTargetName, "SLOT_OUTSIDE_MIXTURE_NOT_UPPER_BOUND",
                  "LNPHI(" + std::to_string(i + 1) + ")");
          break;
        }
      }
      if (repeat == 0) {
        first.assign(LNPHI.p(), LNPHI.p() + n);
      } else {
        for (size_t i = 0; i < n; ++i) {
          if (!SameBits(first[i], LNPHI[i])) {
            Violate(kTargetName, "SECOND_CALL_DIFFERS", "LNPHI(" + std::to_string(i + 1) + ")");
            break;
          }
        }
      }
      // Without any vapour fraction the mixture is the ideal gas: ln phi 0
      // in every slot that takes part (the first 20 with a model index),
      // wherever the virial coefficients are finite.
      bool all_zero = true;
      for (double y : fractions) all_zero = all_zero && y == 0.0;
      if (all_zero && t >= 200.0 && t <= 2000.0 && p > 0.0 && p <= 1e6) {
        int64_t valid = 0;
        for (size_t i = 0; i < n; ++i) {
          if (models[i] < 1 || models[i] > kSwModelComponents || ++valid > kSwSlots) continue;
          if (LNPHI[i] != 0.0) {
            Violate(kTargetName, "ZERO_VAPOUR_NOT_IDEAL", "LNPHI(" + std::to_string(i + 1) + ")");
            break;
          }
        }
      }
    }
  }
}

}  // namespace tmfuzz
