// Recognition of the host's components by formula alias and the slot map.
#include <cstring>
#include <limits>

#include "sour_water/sour_water.h"

namespace thermomodels {

namespace {

constexpr int64_t kNumKeyComponents = 4;  // water, ammonia, CO2, H2S

// Model index (1..18) whose alias equals the alias of host component J, the
// first match at or above FIRST_ROW; 0 when none or J is not a valid host
// component number.
int64_t MatchRow(const unsigned char* alias, int64_t max_host_number, int64_t j,
                 int64_t first_row) {
  if (j < 1 || j > max_host_number) return 0;
  // The host's three words, compared with each row's word by word.
  uint64_t words[3];
  std::memcpy(words, alias + (j - 1) * kAliasBytes, kAliasBytes);
  for (int64_t k = first_row; k <= kNumModelComponents; ++k) {
    uint64_t row[3];
    std::memcpy(row, ModelAlias(k), kAliasBytes);
    if (words[0] == row[0] && words[1] == row[1] && words[2] == row[2]) return k;
  }
  return 0;
}

}  // namespace

void CheckComponents(const int64_t& NC, const int64_t* IDX, int64_t& NGPSW, int64_t* MODIDX,
                     int64_t* POS, const unsigned char* ALIAS, int64_t max_host_number,
                     int64_t& NKEY, int64_t& NREC, int64_t& IWAT, const int64_t& KOPT) {
  NGPSW = kNumKeyComponents;
  IWAT = 0;
  NKEY = 0;
  NREC = 0;
  // Host-list position of each key component (0: not in the list); a
  // repeated key alias leaves its later position.
  int64_t key_pos[kNumKeyComponents] = {0, 0, 0, 0};
  for (int64_t i = 1; i <= NC; ++i) {
    const int64_t row = MatchRow(ALIAS, max_host_number, IDX[i - 1], 1);
    if (row < 1 || row > kNumKeyComponents) continue;
    key_pos[row - 1] = i;
    ++NKEY;
    ++NREC;
  }
  IWAT = key_pos[0];
  for (int64_t s = 1; s <= kNumKeyComponents; ++s) {
    MODIDX[s - 1] = s;
    if (key_pos[s - 1] != 0) POS[s - 1] = key_pos[s - 1];
  }
  if (KOPT == 1) return;
  for (int64_t i = 1; i <= NC && NGPSW < kNcMax; ++i) {
    const int64_t row = MatchRow(ALIAS, max_host_number, IDX[i - 1], kNumKeyComponents + 1);
    if (row == 0) continue;
    ++NGPSW;
    MODIDX[NGPSW - 1] = row;
    POS[NGPSW - 1] = i;
    ++NREC;
  }
}

}  // namespace thermomodels

using namespace thermomodels;

extern "C" TM_API void PPTH_CHKCMP(const int64_t* NC, const int64_t* IDX, int64_t* NGPSW,
                                   int64_t* MODIDX, int64_t* POS, const void* ALIAS, int64_t* NKEY,
                                   int64_t* NREC, int64_t* IWAT, const int64_t* KOPT) {
  // The caller's alias array has no stated length: every host number from 1
  // up is taken to be there.
  CheckComponents(*NC, IDX, *NGPSW, MODIDX, POS, static_cast<const unsigned char*>(ALIAS),
                  std::numeric_limits<int64_t>::max() / kAliasBytes, *NKEY, *NREC, *IWAT, *KOPT);
}
