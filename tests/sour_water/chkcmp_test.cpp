// Component recognition: slot order, options, repeated and malformed
// aliases, limits of the slot arrays.
#include <gtest/gtest.h>

#include "sour_water_support.h"

namespace {

using sw_test::AliasArray;

struct ChkcmpResult {
  int64_t ngpsw = -9, nkey = -9, nrec = -9, iwat = -9;
  std::vector<int64_t> modidx, pos;
};

// Host component numbers are the list positions unless given.
ChkcmpResult Map(const std::vector<std::string>& aliases, int64_t kopt,
                 std::vector<int64_t> idx = {}, int64_t slots = 20) {
  const auto alias = AliasArray(aliases);
  if (idx.empty()) {
    for (size_t k = 0; k < aliases.size(); ++k) idx.push_back(static_cast<int64_t>(k) + 1);
  }
  const int64_t nc = static_cast<int64_t>(idx.size());
  ChkcmpResult r;
  r.modidx.assign(slots, -5);
  r.pos.assign(slots, 0);
  PPTH_CHKCMP(&nc, idx.data(), &r.ngpsw, r.modidx.data(), r.pos.data(), alias.data(), &r.nkey,
              &r.nrec, &r.iwat, &kopt);
  return r;
}

TEST(Chkcmp, SlotMapOfTheListsOfTheModel) {
  struct Case {
    const char* what;
    std::vector<std::string> aliases;
    int64_t kopt;
    int64_t ngpsw, nkey, nrec, iwat;
    std::vector<int64_t> modidx;  // slots 1..ngpsw
    std::vector<int64_t> pos;     // slots 1..ngpsw (0 = not written)
  };
  const Case cases[] = {
      {"methane first", {"CH4", "H3N", "H2O"}, 0, 5, 2, 3, 3, {1, 2, 3, 4, 5}, {3, 2, 0, 0, 1}},
      {"key options", {"CH4", "H3N", "H2O"}, 1, 4, 2, 2, 3, {1, 2, 3, 4}, {3, 2, 0, 0}},
      {"no water", {"CO2", "N2", "H2S"}, 0, 5, 2, 3, 0, {1, 2, 3, 4, 13}, {0, 0, 1, 3, 2}},
      {"all keys reversed", {"H2S", "CO2", "H3N", "H2O"}, 0, 4, 4, 4, 4, {1, 2, 3, 4},
       {4, 3, 2, 1}},
      {"water twice: later wins, both counted", {"H2O", "CH4", "H2O"}, 0, 5, 2, 3, 3,
       {1, 2, 3, 4, 5}, {3, 0, 0, 0, 2}},
      {"methane twice: two slots", {"CH4", "H2O", "CH4"}, 0, 6, 1, 3, 2, {1, 2, 3, 4, 5, 5},
       {2, 0, 0, 0, 1, 3}},
      {"case differs", {"h2o", "Ch4", "H3N"}, 0, 4, 1, 1, 0, {1, 2, 3, 4}, {0, 3, 0, 0}},
      {"every other gas in table order",
       {"H2O", "CH4", "C2H6", "C3H8", "C4H10-2", "C4H10-1", "C5H12-2", "C5H12-1", "H2", "N2",
        "CO", "CS2", "COS", "CH4S", "C2H6S-1"},
       0, 18, 1, 15, 1,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18},
       {1, 0, 0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ChkcmpResult r = Map(c.aliases, c.kopt);
    EXPECT_EQ(r.ngpsw, c.ngpsw);
    EXPECT_EQ(r.nkey, c.nkey);
    EXPECT_EQ(r.nrec, c.nrec);
    EXPECT_EQ(r.iwat, c.iwat);
    for (int64_t s = 0; s < c.ngpsw; ++s) {
      EXPECT_EQ(r.modidx[s], c.modidx[s]) << "slot " << s + 1;
      EXPECT_EQ(r.pos[s], c.pos[s]) << "slot " << s + 1;
    }
    // Nothing beyond the slots in use.
    for (int64_t s = c.ngpsw; s < 20; ++s) EXPECT_EQ(r.modidx[s], -5) << "slot " << s + 1;
  }
}

TEST(Chkcmp, PaddingMustBeBlankAndAnAbsentKeyKeepsItsPresetPosition) {
  const int64_t nc = 2, kopt = 0;
  int64_t idx[2] = {1, 2};
  auto alias = AliasArray({"H2O", "CH4"});
  alias[24 + 5] = 'x';  // byte 6 of the first word of CH4
  int64_t ngpsw, nkey, nrec, iwat;
  int64_t modidx[20], pos[20] = {0, 77, 0, 66};
  PPTH_CHKCMP(&nc, idx, &ngpsw, modidx, pos, alias.data(), &nkey, &nrec, &iwat, &kopt);
  EXPECT_EQ(ngpsw, 4);
  EXPECT_EQ(nrec, 1);
  EXPECT_EQ(pos[0], 1);
  EXPECT_EQ(pos[1], 77);
  EXPECT_EQ(pos[3], 66);
}

TEST(Chkcmp, EmptyListAndHostNumbersIndexTheAliases) {
  const int64_t nc = 0, kopt = 0;
  int64_t ngpsw = -1, nkey = -1, nrec = -1, iwat = -1;
  int64_t modidx[20], pos[20] = {};
  const auto alias = AliasArray({"H2O"});
  PPTH_CHKCMP(&nc, nullptr, &ngpsw, modidx, pos, alias.data(), &nkey, &nrec, &iwat, &kopt);
  EXPECT_EQ(ngpsw, 4);
  EXPECT_EQ((std::vector<int64_t>(modidx, modidx + 4)), (std::vector<int64_t>{1, 2, 3, 4}));
  EXPECT_EQ(nkey, 0);
  EXPECT_EQ(nrec, 0);
  EXPECT_EQ(iwat, 0);

  // List position 1 holds host component 3 (water), position 2 component 1.
  const ChkcmpResult r = Map({"CH4", "N2", "H2O"}, 0, {3, 1});
  EXPECT_EQ(r.iwat, 1);
  EXPECT_EQ(r.ngpsw, 5);
  EXPECT_EQ(r.modidx[4], 5);
  EXPECT_EQ(r.pos[4], 2);
}

// A host number below 1 is not recognised (it would address memory before
// the alias array); more than 16 non-key entries (repeated aliases) fill
// the 20 slots and the rest are ignored.
TEST(Chkcmp, InvalidHostNumbersAndSlotOverflowAreIgnored) {
  const ChkcmpResult bad = Map({"H2O", "CH4"}, 0, {1, 0, -4, 2});
  EXPECT_EQ(bad.ngpsw, 5);
  EXPECT_EQ(bad.nrec, 2);
  EXPECT_EQ(bad.pos[4], 4);

  std::vector<std::string> aliases = {"H2O"};
  for (int k = 0; k < 30; ++k) aliases.push_back("N2");
  const ChkcmpResult many = Map(aliases, 0, {}, 20);
  EXPECT_EQ(many.ngpsw, 20);
  EXPECT_EQ(many.nrec, 17);
  EXPECT_EQ(many.pos[19], 17);
}

}  // namespace
