// Fuzz target of PPTH_CHKCMP: a host of up to 30 components with table
// aliases, near misses and any bytes, a list of up to 30 entries (host
// numbers repeated, 0 or negative), either option. The slot map must be the
// one the alias table gives.
#include "sour_water_fuzz.h"

namespace tmfuzz {

const char* const kTargetName = "PPTH_CHKCMP";

void FuzzTarget(Input& in) {
  const SwHost host = ReadSwHost(in, 30);
  const int calls = 1 + in.Byte() % 2;
  for (int c = 0; c < calls; ++c) {
    const int64_t nc_value = ReadSwCount(in, 30);
    const size_t nc = static_cast<size_t>(nc_value > 0 ? nc_value : 0);
    const std::vector<int64_t> list = ReadSwHostList(in, nc, host.alias.size());
    const int64_t kopt_value = in.Int(0, 2);
    const SwSlots want = ExpectedSwSlots(host, list, kopt_value == 1);

    ArgList args;
    auto& NC = args.In("NC", nc_value);
    auto& IDX = args.Add<int64_t>("IDX", nc, Role::kIn);
    std::copy(list.begin(), list.end(), IDX.p());
    auto& ALIAS = args.Add<unsigned char>("ALIAS", kSwAliasBytes * host.alias.size(), Role::kIn);
    for (size_t j = 0; j < host.alias.size(); ++j) {
      std::copy(host.alias[j].begin(), host.alias[j].end(), ALIAS.p() + j * kSwAliasBytes);
    }
    auto& KOPT = args.In("KOPT", kopt_value);
    // Room for the slots this list fills, as a caller that knows its list
    // sizes them. POS of a key component not in the list is not written:
    // preset to a number no position has, it must keep it.
    const size_t room = static_cast<size_t>(want.ngpsw);
    constexpr int64_t kPreset = -7;
    auto& MODIDX = args.Add<int64_t>("MODIDX", room, Role::kOut, -99);
    auto& POS = args.Add<int64_t>("POS", room, Role::kOut, kPreset);
    auto& NGPSW = args.Out<int64_t>("NGPSW", -99);
    auto& NKEY = args.Out<int64_t>("NKEY", -99);
    auto& NREC = args.Out<int64_t>("NREC", -99);
    auto& IWAT = args.Out<int64_t>("IWAT", -99);
    SetCallDescription([&] {
      return args.Describe() + " models" + DescribeList("", host.model.data(), host.model.size());
    });
    Call(kTargetName, args, [&] {
      PPTH_CHKCMP(NC.p(), IDX.p(), NGPSW.p(), MODIDX.p(), POS.p(), ALIAS.p(), NKEY.p(), NREC.p(),
                  IWAT.p(), KOPT.p());
    });
    if (*NGPSW != want.ngpsw) {
      Violate(kTargetName, "SLOT_MAP_DIFFERS:NGPSW", "expected " + std::to_string(want.ngpsw));
      continue;
    }
    for (size_t s = 0; s < room; ++s) {
      if (MODIDX[s] != want.modidx[s]) {
        Violate(kTargetName, "SLOT_MAP_DIFFERS:MODIDX", "slot " + std::to_string(s + 1));
        break;
      }
      if (POS[s] != (want.pos[s] == 0 ? kPreset : want.pos[s])) {
        Violate(kTargetName, "SLOT_MAP_DIFFERS:POS", "slot " + std::to_string(s + 1));
        break;
      }
    }
    if (*NKEY != want.nkey || *NREC != want.nrec || *IWAT != want.iwat) {
      Violate(kTargetName, "SLOT_MAP_DIFFERS:COUNTS",
              "expected NKEY " + std::to_string(want.nkey) + " NREC " + std::to_string(want.nrec) +
                  " IWAT " + std::to_string(want.iwat));
    }
  }
}

}  // namespace tmfuzz
