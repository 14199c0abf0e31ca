/* A host calling the water exports: one property by code and region, the
 * region and molar volume of a phase, and the equation-of-state form. Each
 * value is printed with its state and its source: a published table
 * (IAPWS-IF97, values per kg times the molar mass 18.0152 kg/kmol) or a
 * regression value (this library's own earlier result, which guards against
 * change only). Exits non-zero when one is not reproduced. */
#include <math.h>
#include <stdio.h>

#include "thermomodels.h"

static int failures = 0;

static void check(const char* what, const char* state, double got, double want, double tol,
                  const char* source) {
  int ok = fabs(got - want) <= tol;
  printf("  %-38s %-22s %16.10g %16.10g  %-8s %s\n", what, state, got, want, ok ? "ok" : "MISMATCH",
         source);
  if (!ok) ++failures;
}

int main(void) {
  printf("  %-38s %-22s %16s %16s  %-8s %s\n", "value", "state", "got", "expected", "", "source");

  /* Liquid water at 300 K and 3 MPa (IF97 region 1): v = 0.100215168e-2
   * m3/kg, and the speed of sound. */
  double t = 300.0, p = 3e6, v = TM_NO_VALUE, value = 0.0;
  int32_t code = 5;
  int64_t phase = 0, region = 1, ierr = 0;
  QUELTRIN_IF97PRPH(&t, &p, &v, &code, &phase, &region, &value, &ierr);
  check("IF97PRPH molar volume [m3/kmol]", "300 K, 3 MPa", value, 0.100215168e-2 * 18.0152, 1e-11,
        "published: IAPWS-IF97 Table 5");
  code = 13;
  QUELTRIN_IF97PRPH(&t, &p, &v, &code, &phase, &region, &value, &ierr);
  check("IF97PRPH speed of sound [m/s]", "300 K, 3 MPa", value, 1507.73921, 1e-5,
        "published: IAPWS-IF97 Table 5");

  /* Saturation temperature at 0.1 MPa, whatever the region. */
  code = 15;
  region = 0;
  p = 1e5;
  QUELTRIN_IF97PRPH(&t, &p, &v, &code, &phase, &region, &value, &ierr);
  check("IF97PRPH saturation temperature [K]", "0.1 MPa", value, 372.755919, 1e-6,
        "published: IAPWS-IF97 Table 35");

  /* A region-3 state of IF97 Table 33: 750 K and 78.3095639 MPa at
   * 500 kg/m3, found by the volume search of the vapour side. */
  int64_t kvl = 1, level = 0, kregion = 0;
  int32_t unit = 6;
  double t_out = 0.0, p_out = 0.0, v_out = 0.0;
  t = 750.0;
  p = 78.3095639e6;
  QUELTRIN_FDREGION(&t, &p, &kvl, &kregion, &t_out, &p_out, &v_out, &level, &unit, &ierr);
  check("FDREGION region", "750 K, 78.3095639 MPa", (double)kregion, 3.0, 0.0,
        "published: IAPWS-IF97 Table 33");
  check("FDREGION molar volume [m3/kmol]", "750 K, 78.3095639 MPa", v_out, 18.0152 / 500.0, 1e-7,
        "published: IAPWS-IF97 Table 33");

  /* Liquid below the triple point: linear functions of temperature. */
  int64_t one = 1;
  double phi = 0.0, dh = 0.0, ds = 0.0, dg = 0.0, vm = 0.0;
  t = 270.0;
  p = 101325.0;
  kvl = 2;
  QUELTRIN_ES15D(&t, &p, &level, &kvl, &unit, &one, &one, &one, &one, &one, &phi, &dh, &ds, &dg,
                 &vm, &ierr);
  check("ES15D liquid ln phi", "270 K, 0.101325 MPa", phi, -5.3390275, 1e-7, "regression");
  check("ES15D liquid H - Hig [J/kmol]", "270 K, 0.101325 MPa", dh, -45187152.80, 0.01,
        "regression");
  check("ES15D liquid molar volume [m3/kmol]", "270 K, 0.101325 MPa", vm, 0.0180219219, 1e-10,
        "regression");

  printf("%s\n", failures == 0 ? "water host: all values reproduced" : "water host: FAILED");
  return failures == 0 ? 0 : 1;
}
