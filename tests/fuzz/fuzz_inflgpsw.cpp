// Fuzz target of PPTH_INFLGPSW: host aliases in the pool, a list of up to 24 entries, any
// fractions, temperature, pressure and KODE.
#include "sour_water_fuzz.h"

TM_FUZZ_TARGET(PPTH_INFLGPSW) {
  // The host's aliases: pool words 3j-2..3j of host component j.
  const SwHost host = ReadSwHost(in, 24);
  std::memcpy(DMS_PLEX.words, host.alias.data(), host.alias.size());
  for (int c = in.Calls(2); c > 0; --c) {
    const int64_t nc_value = ReadSwCount(in, 24);
    const size_t nc = static_cast<size_t>(std::max<int64_t>(nc_value, 0));
    const std::vector<int64_t> list = ReadSwHostList(in, nc, host.model.size());
    const SwSlots slots = ExpectedSwSlots(host, list, false);
    const std::vector<double> z = ReadSwFractions(in, nc), x_in = ReadSwFractions(in, nc),
                              y_in = ReadSwFractions(in, nc);
    ArgList args;
    auto& T = args.In("T", in.RealLog(250.0, 650.0));
    auto& P = args.Out("P", in.RealLog(1e3, 1e7));  // the estimate with KODE 5
    auto& NC = args.In("NC", nc_value);
    auto& IDX = args.Add("IDX", list, Role::kIn);
    auto& Z = args.Add("Z", z, Role::kIn);
    auto& X = args.Add("X", x_in, Role::kOut);
    auto& Y = args.Add("Y", y_in, Role::kOut);
    auto& A8 = args.Add<double>("A8", 8, Role::kUnread);
    auto& KODE = args.In("KODE", in.Byte() % 2 == 0 ? int64_t{5} : in.Int(0, 6));
    auto& WORK = args.Add<double>("WORK", 80 + static_cast<size_t>(slots.ngpsw), Role::kWork);
    auto& IFLAG = args.Out<int64_t>("IFLAG", -99);
    Call(args, [&] {
      PPTH_INFLGPSW(T.p(), P.p(), NC.p(), IDX.p(), Z.p(), X.p(), Y.p(), A8.p(), KODE.p(), WORK.p(),
                    IFLAG.p());
    });
    const int64_t iflag = *IFLAG;
    if (iflag != 0 && iflag != 1) {
      Violate("IFLAG_OUTSIDE_SET");
      continue;
    }
    // No estimate is possible without water, with fewer than two different key components, or with
    // recognised vapour fractions that are not finite, negative or sum to zero or less.
    int keys = 0;
    bool z_usable = true;
    double z_sum = 0.0;
    for (int64_t k = 0; k < kSwSlots; ++k) {
      if (slots.pos[k] == 0) continue;
      keys += k < kSwKeySlots;
      const double zk = z[slots.pos[k] - 1];
      z_usable = z_usable && std::isfinite(zk) && zk >= 0.0;
      z_sum += zk;
    }
    const char* impossible = slots.iwat == 0              ? "NO_WATER"
                             : keys < 2                   ? "ONE_KEY_COMPONENT"
                             : !(z_usable && z_sum > 0.0) ? "VAPOUR_FRACTIONS"
                                                          : nullptr;
    if (iflag == 1 && impossible != nullptr) Violate("ESTIMATE_WITHOUT_BASIS", impossible);
    const bool p_untouched = P.Untouched();
    if (iflag == 0) {
      if (!X.Untouched() || !Y.Untouched() || !p_untouched) Violate("WRITTEN_WITHOUT_ESTIMATE");
      continue;
    }
    // An estimate: X, Y finite and normalised, P the estimate with KODE 5, else untouched.
    if (*KODE == 5 ? !(std::isfinite(*P) && *P > 0.0) : !p_untouched) {
      Violate(*KODE == 5 ? "PRESSURE_ESTIMATE_NOT_POSITIVE" : "PRESSURE_WRITTEN");
    }
    // Sums only without negative entries (components outside the model keep the caller's values;
    // terms of both signs carry their cancellation).
    double sum_x = 0.0, sum_y = 0.0;
    bool finite = true, signed_terms = false;
    for (size_t i = 0; i < nc; ++i) {
      finite = finite && std::isfinite(X[i]) && std::isfinite(Y[i]);
      signed_terms = signed_terms || X[i] < 0.0 || Y[i] < 0.0;
      sum_x += X[i];
      sum_y += Y[i];
    }
    if (!finite) {
      Violate("NONFINITE_WITH_ESTIMATE");
    } else if (!signed_terms && (std::fabs(sum_x - 1.0) > 1e-9 || std::fabs(sum_y - 1.0) > 1e-9)) {
      Violate("NOT_NORMALISED");
    }
  }
}
