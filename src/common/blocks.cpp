// Storage of the global blocks shared with the host and of the private
// blocks the library reads. All start at zero.
#include <cstring>

#include "common/common.h"

extern "C" {
TM_API tm_esroot_block PPUTL_ESROOT;
TM_API tm_eosret_block PPUTL_EOSRET;
TM_API tm_plex_block DMS_PLEX;
TM_API tm_global_block DMS_GLOBAL;
}

static_assert(sizeof(tm_esroot_block) == 352, "PPUTL_ESROOT is 44 words");
static_assert(sizeof(tm_eosret_block) == 10 * 8, "PPUTL_EOSRET is 10 words");
static_assert(offsetof(tm_global_block, IUNIT) == 0, "the unit is word 1");

namespace thermomodels {

DiagcomBlock DIAGCOM;
EsrsetBlock ESRSET;
EsroptBlock ESROPT;

// Integers share the pool's 8-byte words with reals; copy the bits.
int64_t PlexInt(int64_t word) {
  int64_t value;
  std::memcpy(&value, &DMS_PLEX.words[word - 1], sizeof value);
  return value;
}

void PlexSetInt(int64_t word, int64_t value) {
  std::memcpy(&DMS_PLEX.words[word - 1], &value, sizeof value);
}

}  // namespace thermomodels
