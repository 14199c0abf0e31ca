/* A small host that loads the library at run time, as a process simulator
 * does, and calls the CPA property routine for pure water and for water with
 * methane. It shows the three things a host sets up around the call:
 *  - the root memory: PPUTL_EOSRET points into the storage pool DMS_PLEX,
 *    where the routine keeps each converged volume root and starts the next
 *    search of that phase from it;
 *  - the history file: PPCPA_OPCLFILE opens a file on an output unit, and
 *    the routine's trace lines written on that unit land in it;
 *  - the checks: each value compared is printed with where it comes from,
 *    a published table or independent evaluation, or a regression value
 *    (this library's own earlier result, which guards against change only).
 * Usage: example_host [path of libthermomodels.so]; the default is the
 * library's soname, found through the run path or LD_LIBRARY_PATH.
 *
 * Parameters: water (scheme 4C, four association sites) and methane from
 * published CPA sets, entered as the pseudo-critical constants the routine
 * builds a and b from. */
#include <dlfcn.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "thermomodels.h"

#define TM_STR2(x) #x
#define TM_STR(x) TM_STR2(x)
#define TM_SONAME "libthermomodels.so." TM_STR(TM_VERSION_MAJOR)

enum { NCC = 2 };

/* Component 1 water, component 2 methane. */
static const double kTc[NCC] = {303.17135848344367, 193.18592912809845};
static const double kPc[NCC] = {15045914.360250035, 4782224.476403621};
static const double kM[NCC] = {0.38016508919624575, 0.4516575760558059};
static const double kEpsK[NCC] = {2003.1367040072357, 0.0};
static const double kBeta[NCC] = {0.0692, 0.0};
static const double kType[NCC] = {4.0, 1e35};

/* The library's exports, looked up by name. */
static __typeof__(PPCPA_CPAPROP)* cpaprop;
static __typeof__(PPCPA_OPCLFILE)* opclfile;
static tm_eosret_block* eosret;
static tm_esroot_block* esroot;
static tm_plex_block* plex;
static tm_global_block* global;
static tm_cpacom_block* cpacom;

typedef struct {
  double phi[NCC], dh, ds, dg, v, z;
  int64_t ierr;
} Result;

/* One call: every value requested, no temperature derivatives. */
static Result Cpa(double t, double p, const double* x, int64_t n, int64_t kvl, int32_t unit) {
  static double kij[2 * NCC * NCC], vij[2 * NCC * NCC], kijset[NCC], vijset[NCC];
  static double ecrflg[NCC * NCC], eij[NCC * NCC];
  static int64_t iwork[NCC * NCC + 14 * NCC], itype[NCC];
  static double rwork[10 * NCC * NCC + 50 * NCC], epsab[NCC * NCC], xawrk[1], unused[3];
  const int64_t idx[NCC] = {1, 2}, ncc = NCC;
  const int64_t request = 1, kder = 0, kdiag = 0, kvstrt = 0, ih2o = 0, ktol = 1;
  double dphidt[NCC], dhdt, dsdt, dgdt, dvdt, dpdv, dp2dvdt, dpdt, dp2dv2, pcalc;
  Result r;
  memset(&r, 0, sizeof r);
  cpaprop(&t, &p, x, &n, idx, &ncc, kTc, kPc, kM, kEpsK, kBeta, kij, kType, vij, kijset, vijset,
          ecrflg, eij, &kvl, &request, &request, &request, &request, &request, &kder, r.phi, &r.dh,
          &r.ds, &r.dg, &r.v, dphidt, &dhdt, &dsdt, &dgdt, &dvdt, &r.z, &dpdv, &dp2dvdt, &dpdt,
          &dp2dv2, iwork, rwork, epsab, itype, &unit, &kdiag, &unused[0], &unused[1], xawrk,
          &unused[2], &pcalc, &kvstrt, &r.ierr, &ih2o, &ktol);
  return r;
}

static int failures = 0;

/* Compares a value with its expected value, to the last digit the source
 * gives, and says where the expected value comes from. */
static void Check(const char* what, double got, double want, double tol, const char* source) {
  const int ok = fabs(got - want) <= tol;
  printf("  %-34s %16.9g  expected %16.9g  %-4s %s\n", what, got, want, ok ? "ok" : "FAIL", source);
  if (!ok) ++failures;
}

/* Integer word W (1-based) of the pool. */
static long long PoolInt(int64_t w) {
  int64_t v;
  memcpy(&v, &plex->words[w - 1], sizeof v);
  return (long long)v;
}

static void* Symbol(void* lib, const char* name) {
  void* s = dlsym(lib, name);
  if (s == NULL) {
    fprintf(stderr, "example_host: %s not found: %s\n", name, dlerror());
  }
  return s;
}

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : TM_SONAME;
  const char* history = "example_host.his";
  const int32_t stdout_unit = 6, history_unit = 40;
  const double water[NCC] = {1.0, 0.0};
  const double liquid_mix[NCC] = {0.999, 0.001}, vapour_mix[NCC] = {0.02, 0.98};
  void* lib = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  Result r, liquid, vapour;
  int64_t iter_first, iter_second, mode, ierr, w;
  char line[256];
  FILE* f;

  if (lib == NULL) {
    fprintf(stderr, "example_host: cannot load %s: %s\n", path, dlerror());
    return 1;
  }
  *(void**)&cpaprop = Symbol(lib, "PPCPA_CPAPROP");
  *(void**)&opclfile = Symbol(lib, "PPCPA_OPCLFILE");
  eosret = (tm_eosret_block*)Symbol(lib, "PPUTL_EOSRET");
  esroot = (tm_esroot_block*)Symbol(lib, "PPUTL_ESROOT");
  plex = (tm_plex_block*)Symbol(lib, "DMS_PLEX");
  global = (tm_global_block*)Symbol(lib, "DMS_GLOBAL");
  cpacom = (tm_cpacom_block*)Symbol(lib, "PPCPA_CPACOM");
  if (!cpaprop || !opclfile || !eosret || !esroot || !plex || !global || !cpacom) return 1;
  printf("Loaded %s (header version %s)\n\n", path, TM_VERSION_STRING);
  global->IUNIT = stdout_unit;

  /* Root memory: records for NMAX = 2 components, one integer record
   * (1 + NMAX words) and one real record (4 + 7 NMAX words) per phase, laid
   * out one after the other from pool word 1. */
  memset(eosret, 0, sizeof *eosret);
  eosret->NMAX = NCC;
  eosret->IPIV = 1;
  eosret->IPIL1 = eosret->IPIV + 1 + NCC;
  eosret->IPIL2 = eosret->IPIL1 + 1 + NCC;
  eosret->RPIV = eosret->IPIL2 + 1 + NCC;
  eosret->RPIL1 = eosret->RPIV + 4 + 7 * NCC;
  eosret->RPIL2 = eosret->RPIL1 + 4 + 7 * NCC;
  eosret->LIQNO = 1;
  eosret->ISTATE = 1;

  printf("CPA equation of state, water (scheme 4C: four association sites, two of each kind):\n");
  r = Cpa(298.15, 101325.0, water, 1, 2, stdout_unit);
  iter_first = esroot->iw[4];
  Check("liquid V at 298.15 K [m3/kmol]", r.v, 0.0179259483, 1e-10, "independent closed form");
  Check("liquid ln phi at 298.15 K", r.phi[0], -3.46391383, 1e-8, "independent closed form");
  Check("liquid H - Hig at 298.15 K [J/kmol]", r.dh, -43431172.6, 0.1, "regression");
  printf("\nRoot memory after that call (DMS_PLEX, liquid-1 records):\n");
  w = eosret->IPIL1;
  printf("  integer record at word %lld: N = %lld, IDX(1) = %lld\n", (long long)w, PoolInt(w),
         PoolInt(w + 1));
  w = eosret->RPIL1;
  printf(
      "  real record at word %lld: T = %g K, P = %g Pa, V = %.9g m3/kmol, dP/dV = %.6g Pa "
      "kmol/m3\n",
      (long long)w, plex->words[w - 1], plex->words[w], plex->words[w + 1], plex->words[w + 2]);
  r = Cpa(299.15, 101325.0, water, 1, 2, stdout_unit);
  iter_second = esroot->iw[4];
  printf(
      "  iterations of the liquid search: %lld from scratch at 298.15 K, %lld at 299.15 K\n"
      "  starting from the saved root (ISTATE = %lld, NSAVED = %lld)\n",
      (long long)iter_first, (long long)iter_second, (long long)eosret->ISTATE,
      (long long)eosret->NSAVED);

  liquid = Cpa(373.15, 100215.67, water, 1, 2, stdout_unit);
  vapour = Cpa(373.15, 100215.67, water, 1, 1, stdout_unit);
  Check("ln phi liquid - vapour, 373.15 K", liquid.phi[0] - vapour.phi[0], 0.0, 1e-7,
        "independent: equal at 100215.67 Pa");
  Check("vapour V at 373.15 K [m3/kmol]", vapour.v, 30.0587, 1e-4, "independent closed form");

  printf("\nWater + methane at 350 K and 5 MPa:\n");
  r = Cpa(350.0, 5e6, liquid_mix, 2, 2, stdout_unit);
  Check("liquid V [m3/kmol]", r.v, 0.018604015, 1e-9, "regression");
  Check("liquid ln phi methane", r.phi[1], 6.60104366, 1e-8, "regression");
  r = Cpa(350.0, 5e6, vapour_mix, 2, 1, stdout_unit);
  Check("vapour V [m3/kmol]", r.v, 0.557145087, 1e-9, "regression");
  Check("vapour ln phi water", r.phi[0], -0.163089839, 1e-9, "regression");

  /* History file: the host opens a file on a unit of its own, raises the
   * print level through PPCPA_CPACOM, calls on that unit and closes it. */
  remove(history);
  mode = 1;
  opclfile(&history_unit, history, &mode, &ierr, strlen(history));
  cpacom->LVLCPA = 1;
  r = Cpa(298.15, 101325.0, water, 1, 2, history_unit);
  mode = 2;
  opclfile(&history_unit, history, &mode, &ierr, strlen(history));
  printf("\nHistory file %s (print level 1):\n", history);
  f = fopen(history, "r");
  if (f == NULL) {
    printf("  (missing)\n");
    ++failures;
  } else {
    while (fgets(line, sizeof line, f) != NULL) printf("  %s", line);
    fclose(f);
  }

  printf(
      "\nDepartures are from the ideal gas at T and 101325 Pa. Independent: a separate\n"
      "closed-form evaluation of the published parameter sets; regression: this\n"
      "library's own earlier output.\n");
  printf("%s\n", failures == 0 ? "example host: all values reproduced" : "example host: FAILED");
  dlclose(lib);
  return failures == 0 ? 0 : 1;
}
