/* A small host: shows the library's blocks as a host sees them. */
#include <stdio.h>

#include "thermomodels.h"

int main(void) {
  printf("thermomodels example host\n");
  printf("PPUTL_ESROOT: %zu bytes\n", sizeof PPUTL_ESROOT);
  return 0;
}
