// Component recognition: slot order, options, repeated and malformed
// aliases, host numbers, limits of the slot arrays.
#include <gtest/gtest.h>

#include "sour_water_support.h"

namespace {

struct Mapped {
  int64_t ngpsw = -9, nkey = -9, nrec = -9, iwat = -9;
  std::vector<int64_t> modidx = std::vector<int64_t>(20, -5), pos = std::vector<int64_t>(20, 0);
};

// Host component numbers are the list positions unless given.
Mapped Map(const std::vector<std::string>& aliases, int64_t kopt, std::vector<int64_t> idx = {},
           std::vector<unsigned char> alias = {}) {
  if (alias.empty()) alias = sw_test::AliasArray(aliases);
  if (idx.empty()) {
    for (size_t k = 1; k <= aliases.size(); ++k) idx.push_back(static_cast<int64_t>(k));
  }
  const int64_t nc = static_cast<int64_t>(idx.size());
  Mapped r;
  PPTH_CHKCMP(&nc, idx.data(), &r.ngpsw, r.modidx.data(), r.pos.data(), alias.data(), &r.nkey,
              &r.nrec, &r.iwat, &kopt);
  return r;
}

TEST(Chkcmp, SlotMapsCaseByCase) {
  struct Case {
    const char* what;
    std::vector<std::string> aliases;
    std::vector<int64_t> idx;  // empty: the list positions
    int64_t kopt, ngpsw, nkey, nrec, iwat;
    std::vector<int64_t> pos;          // slots 1..ngpsw (0 = not written)
    std::vector<int64_t> gases = {5};  // model indices from slot 5 on (1-4 are 1-4)
  };
  const Case cases[] = {
      {"methane first", {"CH4", "H3N", "H2O"}, {}, 0, 5, 2, 3, 3, {3, 2, 0, 0, 1}},
      {"key option", {"CH4", "H3N", "H2O"}, {}, 1, 4, 2, 2, 3, {3, 2, 0, 0}},
      {"no water", {"CO2", "N2", "H2S"}, {}, 0, 5, 2, 3, 0, {0, 0, 1, 3, 2}, {13}},
      {"keys reversed", {"H2S", "CO2", "H3N", "H2O"}, {}, 0, 4, 4, 4, 4, {4, 3, 2, 1}},
      {"water twice", {"H2O", "CH4", "H2O"}, {}, 0, 5, 2, 3, 3, {3, 0, 0, 0, 2}},
      {"methane twice", {"CH4", "H2O", "CH4"}, {}, 0, 6, 1, 3, 2, {2, 0, 0, 0, 1, 3}, {5, 5}},
      {"case differs", {"h2o", "Ch4", "H3N"}, {}, 0, 4, 1, 1, 0, {0, 3, 0, 0}},
      {"empty list", {}, {}, 0, 4, 0, 0, 0, {0, 0, 0, 0}},
      {"host numbers 3, 1", {"CH4", "N2", "H2O"}, {3, 1}, 0, 5, 1, 2, 1, {1, 0, 0, 0, 2}},
      {"host numbers below 1", {"H2O", "CH4"}, {1, 0, -4, 2}, 0, 5, 1, 2, 1, {1, 0, 0, 0, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Mapped r = Map(c.aliases, c.kopt, c.idx);
    EXPECT_EQ(r.ngpsw, c.ngpsw);
    EXPECT_EQ(r.nkey, c.nkey);
    EXPECT_EQ(r.nrec, c.nrec);
    EXPECT_EQ(r.iwat, c.iwat);
    std::vector<int64_t> modidx = {1, 2, 3, 4};
    modidx.insert(modidx.end(), c.gases.begin(), c.gases.end());
    modidx.resize(c.ngpsw);
    EXPECT_EQ(std::vector<int64_t>(r.modidx.begin(), r.modidx.begin() + c.ngpsw), modidx);
    EXPECT_EQ(std::vector<int64_t>(r.pos.begin(), r.pos.begin() + c.ngpsw), c.pos);
    EXPECT_EQ(r.modidx[c.ngpsw], -5);  // nothing beyond the slots in use
  }
}

// Every gas of the model after water, in the model's order: slots 5-18.
TEST(Chkcmp, EveryOtherGas) {
  const Mapped r = Map({"H2O", "CH4", "C2H6", "C3H8", "C4H10-2", "C4H10-1", "C5H12-2", "C5H12-1",
                        "H2", "N2", "CO", "CS2", "COS", "CH4S", "C2H6S-1"},
                       0);
  EXPECT_EQ(r.ngpsw, 18);
  EXPECT_EQ(r.nrec, 15);
  for (int64_t s = 1; s <= 18; ++s) {
    EXPECT_EQ(r.modidx[s - 1], s);
    EXPECT_EQ(r.pos[s - 1], s == 1 ? 1 : (s < 5 ? 0 : s - 3));
  }
}

// Anything but blanks in bytes 5-8 of a word is not recognised; an absent
// key component keeps the caller's POS. More than 16 non-key entries
// (repeated aliases) fill the 20 slots and the rest are ignored.
TEST(Chkcmp, PaddingPresetPositionsAndSlotOverflow) {
  auto alias = sw_test::AliasArray({"H2O", "CH4"});
  alias[24 + 5] = 'x';
  int64_t idx[2] = {1, 2}, ngpsw, nkey, nrec, iwat, modidx[20], pos[20] = {0, 77, 0, 66};
  const int64_t nc = 2, kopt = 0;
  PPTH_CHKCMP(&nc, idx, &ngpsw, modidx, pos, alias.data(), &nkey, &nrec, &iwat, &kopt);
  EXPECT_EQ(ngpsw, 4);
  EXPECT_EQ(nrec, 1);
  EXPECT_EQ(pos[1], 77);
  EXPECT_EQ(pos[3], 66);

  std::vector<std::string> aliases = {"H2O"};
  aliases.resize(31, "N2");
  const Mapped many = Map(aliases, 0);
  EXPECT_EQ(many.ngpsw, 20);
  EXPECT_EQ(many.nrec, 17);
  EXPECT_EQ(many.pos[19], 17);
}

}  // namespace
