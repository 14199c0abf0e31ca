/* A small host: calls the CPA property routine for pure water and for water
 * with methane, in the liquid and the vapour phase, and prints the results
 * as a table. Parameters: water 4C and methane from published CPA sets,
 * entered as the pseudo-critical constants the routine builds a and b from. */
#include <stdio.h>
#include <string.h>

#include "thermomodels.h"

enum { NCC = 2 };

/* Component 1 water, component 2 methane. */
static const double kTc[NCC] = {303.17135848344367, 193.18592912809845};
static const double kPc[NCC] = {15045914.360250035, 4782224.476403621};
static const double kM[NCC] = {0.38016508919624575, 0.4516575760558059};
static const double kEpsK[NCC] = {2003.1367040072357, 0.0};
static const double kBeta[NCC] = {0.0692, 0.0};
static const double kType[NCC] = {4.0, 1e35};

typedef struct {
  const char* name;
  int64_t n;
  double x[NCC];
  double t, p;
  int64_t kvl;
} State;

int main(void) {
  double kij[2 * NCC * NCC] = {0}, vij[2 * NCC * NCC] = {0};
  double kijset[NCC] = {0}, vijset[NCC] = {0};
  double ecrflg[NCC * NCC] = {0}, eij[NCC * NCC] = {0};
  int64_t iwork[NCC * NCC + 14 * NCC];
  double rwork[10 * NCC * NCC + 50 * NCC];
  double epsab[NCC * NCC], xawrk[1], unused[3];
  int64_t itype[NCC];
  const int64_t idx[NCC] = {1, 2}, ncc = NCC;
  const int64_t request = 1, kder = 0, kdiag = 0, kvstrt = 0, ih2o = 0, ktol = 1;
  const int32_t unit = 6;
  const State states[] = {
      {"water", 1, {1.0, 0.0}, 298.15, 101325.0, 2},
      {"water", 1, {1.0, 0.0}, 373.15, 100000.0, 1},
      {"water + methane", 2, {0.999, 0.001}, 350.0, 5e6, 2},
      {"water + methane", 2, {0.02, 0.98}, 350.0, 5e6, 1},
  };
  size_t s;

  memset(iwork, 0, sizeof iwork);
  memset(rwork, 0, sizeof rwork);
  DMS_GLOBAL.IUNIT = 6;
  printf("CPA equation of state: water (4C) and methane\n\n");
  printf("%-16s %-6s %8s %11s %12s %9s %11s %11s %13s %13s %13s %4s\n", "mixture", "phase",
         "T [K]", "P [Pa]", "V [m3/kmol]", "Z", "ln phi 1", "ln phi 2", "H-Hig J/kmol",
         "S-Sig J/kmolK", "G-Gig J/kmol", "IERR");
  for (s = 0; s < sizeof states / sizeof states[0]; ++s) {
    const State* st = &states[s];
    double phi[NCC] = {0}, dphidt[NCC] = {0};
    double dh, ds, dg, v = 0, dhdt, dsdt, dgdt, dvdt, z, dpdv, dp2dvdt, dpdt, dp2dv2, pcalc;
    int64_t ierr;
    PPCPA_CPAPROP(&st->t, &st->p, st->x, &st->n, idx, &ncc, kTc, kPc, kM, kEpsK, kBeta, kij,
                  kType, vij, kijset, vijset, ecrflg, eij, &st->kvl, &request, &request,
                  &request, &request, &request, &kder, phi, &dh, &ds, &dg, &v, dphidt, &dhdt,
                  &dsdt, &dgdt, &dvdt, &z, &dpdv, &dp2dvdt, &dpdt, &dp2dv2, iwork, rwork, epsab,
                  itype, &unit, &kdiag, &unused[0], &unused[1], xawrk, &unused[2], &pcalc,
                  &kvstrt, &ierr, &ih2o, &ktol);
    printf("%-16s %-6s %8.2f %11.1f %12.6g %9.5f %11.6f ", st->name,
           st->kvl == 2 ? "liquid" : "vapour", st->t, st->p, v, z, phi[0]);
    if (st->n > 1) {
      printf("%11.6f ", phi[1]);
    } else {
      printf("%11s ", "-");
    }
    printf("%13.6g %13.6g %13.6g %4lld\n", dh, ds, dg, (long long)ierr);
  }
  printf("\nDepartures are from the ideal gas at T and 101325 Pa. IERR 0: converged root;\n"
         "3 or 4: pseudo-root; 10 or more: the association site fractions failed.\n");
  return 0;
}
