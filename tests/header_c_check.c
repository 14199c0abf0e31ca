/* The public header compiles as C and the blocks are reachable from a C host. */
#include <stdio.h>

#include "thermomodels.h"

int main(void) {
  PPUTL_ESROOT.iw[0] = -1;
  PPUTL_EOSRET.ISTATE = 0;
  DMS_GLOBAL.IUNIT = 6;
  DMS_PLEX.words[0] = 1.0;
  if (sizeof PPUTL_ESROOT != 352) {
    puts("PPUTL_ESROOT has the wrong size");
    return 1;
  }
  return 0;
}
