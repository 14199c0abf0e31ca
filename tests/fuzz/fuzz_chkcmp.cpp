// Fuzz target of PPTH_CHKCMP: a host of up to 30 components, lists of up to 30 entries, any option;
// the slot map must be the one the alias table gives.
#include "sour_water_fuzz.h"

TM_FUZZ_TARGET(PPTH_CHKCMP) {
  const SwHost host = ReadSwHost(in, 30);
  for (int c = in.Calls(2); c > 0; --c) {
    const int64_t nc_value = ReadSwCount(in, 30);
    const std::vector<int64_t> list =
        ReadSwHostList(in, std::max<int64_t>(nc_value, 0), host.model.size());
    const int64_t kopt_value = in.Int(0, 2);
    const SwSlots want = ExpectedSwSlots(host, list, kopt_value == 1);

    ArgList args;
    auto& NC = args.In("NC", nc_value);
    auto& IDX = args.Add("IDX", list, Role::kIn);
    auto& ALIAS = args.Add("ALIAS", host.alias, Role::kIn);
    auto& KOPT = args.In("KOPT", kopt_value);
    // Room for the slots this list fills; POS of a key component not in the list must keep its
    // preset.
    const size_t room = static_cast<size_t>(want.ngpsw);
    constexpr int64_t kPreset = -7;
    auto& MODIDX = args.Add<int64_t>("MODIDX", room, Role::kOut, -99);
    auto& POS = args.Add<int64_t>("POS", room, Role::kOut, kPreset);
    auto& NGPSW = args.Out<int64_t>("NGPSW", -99);
    auto& NKEY = args.Out<int64_t>("NKEY", -99);
    auto& NREC = args.Out<int64_t>("NREC", -99);
    auto& IWAT = args.Out<int64_t>("IWAT", -99);
    Call(args, [&] {
      PPTH_CHKCMP(NC.p(), IDX.p(), NGPSW.p(), MODIDX.p(), POS.p(), ALIAS.p(), NKEY.p(), NREC.p(),
                  IWAT.p(), KOPT.p());
    });
    if (*NGPSW != want.ngpsw) {
      Violate("SLOT_MAP_DIFFERS:NGPSW");
      continue;
    }
    for (size_t s = 0; s < room; ++s) {
      if (MODIDX[s] != want.modidx[s]) Violate("SLOT_MAP_DIFFERS:MODIDX", std::to_string(s + 1));
      if (POS[s] != (want.pos[s] == 0 ? kPreset : want.pos[s])) {
        Violate("SLOT_MAP_DIFFERS:POS", std::to_string(s + 1));
      }
    }
    if (*NKEY != want.nkey || *NREC != want.nrec || *IWAT != want.iwat) {
      Violate("SLOT_MAP_DIFFERS:COUNTS");
    }
  }
}
