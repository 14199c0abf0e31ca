/*
 * thermomodels: thermodynamic property models for a process simulator.
 *
 * Calling convention of every exported routine:
 *  - C linkage, upper-case names, every argument passed by pointer;
 *  - reals are IEEE doubles, integers are int64_t unless a routine says
 *    int32_t (output unit numbers and the water property code);
 *  - logical values are integers, true = -1 and false = 0; a test looks at
 *    the lowest bit only;
 *  - a character argument is a fixed-length, blank-padded buffer whose
 *    length is passed as a hidden size_t after the last listed argument;
 *  - the no-value marker 1e35 is returned where a quantity has no value and
 *    passed for an input that is not given;
 *  - the routines keep working state in process-wide storage: calls into the
 *    library must not overlap.
 *
 * Global blocks are plain structs whose words are laid out in the block's
 * documented order; the host fills the words marked host-set.
 */
#ifndef THERMOMODELS_H
#define THERMOMODELS_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define TM_API __attribute__((visibility("default")))
#else
#define TM_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* No-value marker: a quantity without value, or an input not given. */
#define TM_NO_VALUE 1e35

/* ---------------------------------------------------------------------------
 * Global blocks shared with the host
 * ------------------------------------------------------------------------- */

/* Root-solver state: 14 integer words, then 30 real words (352 bytes).
 * Word 1 (LQPURE) and word 2 (VPPURE) are set by the caller of a root
 * search: -1 tells the liquid or vapour solver that the fluid is pure.
 * The solvers own every other word; words 3-14 and the real words hold the
 * iterate and the last result of the vapour search and of each liquid. */
typedef struct {
  int64_t iw[14]; /* LQPURE, VPPURE, LVFIX, LVCUT, ITER, LPHIH/LPLOW,
                     ISTATL1, ISTATV, -, ISTATL2, LQPUR2, MODELS(2), - */
  double rw[30];  /* real words 1-30 (block words 15-44) */
} tm_esroot_block;
extern TM_API tm_esroot_block PPUTL_ESROOT;

/* Root memory control, host-set. Saved roots live in DMS_PLEX records:
 * the integer record of a phase needs 1 + NMAX words, its real record
 * 4 + 7 NMAX words. Pool word numbers are 1-based. */
typedef struct {
  int64_t ISTATE; /* < 1 off; 1 on, nothing saved yet; 2 set on every save */
  int64_t LIQNO;  /* liquid number of the current liquid calculation (1, 2) */
  int64_t IPIV;   /* pool word of the vapour integer record (0: memory off) */
  int64_t IPIL1;  /* pool word of the liquid-1 integer record */
  int64_t IPIL2;  /* pool word of the liquid-2 integer record */
  int64_t RPIV;   /* pool word of the vapour real record (0: memory off) */
  int64_t RPIL1;  /* pool word of the liquid-1 real record */
  int64_t RPIL2;  /* pool word of the liquid-2 real record */
  int64_t NMAX;   /* most components a record has room for */
  int64_t NSAVED; /* components of the latest save of any phase (library-set) */
} tm_eosret_block;
extern TM_API tm_eosret_block PPUTL_EOSRET;

/* The host's storage pool of 8-byte words, addressed 1-based by the pool
 * word numbers above. This library provides a pool of fixed capacity
 * TM_PLEX_WORDS; a word number outside 1..TM_PLEX_WORDS is never accessed. */
#define TM_PLEX_WORDS 1048576
typedef struct {
  double words[TM_PLEX_WORDS];
} tm_plex_block;
extern TM_API tm_plex_block DMS_PLEX;

/* Host settings: the first word is the host's 32-bit diagnostic output
 * unit (6 standard output, 0 standard error, others files fort.N or a file
 * opened on that unit). The remaining words are not used by the library. */
typedef struct {
  int32_t IUNIT;
  int32_t spare[63];
} tm_global_block;
extern TM_API tm_global_block DMS_GLOBAL;

#ifdef __cplusplus
}
#endif

#endif /* THERMOMODELS_H */
