/* A host built against the installed library: the header's version is the
 * package's, and a water property comes back through an export. */
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <thermomodels.h>

int main(void) {
  /* Saturation temperature at 0.1 MPa: 372.755919 K (IAPWS-IF97, Table 35). */
  double t = 300.0, p = 1e5, v = TM_NO_VALUE, value = 0.0;
  int32_t code = 15;
  int64_t phase = 0, region = 0, ierr = 1;
  if (strcmp(PACKAGE_VERSION, TM_VERSION_STRING) != 0) {
    printf("header version %s, package version %s\n", TM_VERSION_STRING, PACKAGE_VERSION);
    return 1;
  }
  QUELTRIN_IF97PRPH(&t, &p, &v, &code, &phase, &region, &value, &ierr);
  if (ierr != 0 || fabs(value - 372.755919) > 1e-6) {
    printf("saturation temperature %.9g K, IERR %lld\n", value, (long long)ierr);
    return 1;
  }
  printf("thermomodels %s: saturation temperature at 1 bar %.6f K\n", TM_VERSION_STRING, value);
  return 0;
}
