// Molar-volume root solvers (reverse communication), the finite test, the
// integer search and the root memory.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "common/common.h"

namespace thermomodels {

// Reverse-communication molar-volume root solvers. The caller starts a
// search with IRC = 4; while the solver returns IRC 1, 2 or 3 the caller
// evaluates P and DPDV at V and calls again with every other argument
// unchanged; IRC 4 ends the search (V the root or pseudo-root), IRC 5 fails.
// ISTAT: 0 converged, 1/2 iteration limit, 3/4 pseudo-root, 5 non-positive
// volume, 6 pressure not finite. IESR/RESR are the two parts of PPUTL_ESROOT.
void VPROOT(int64_t& IRC, int64_t& IFLAG, const double& VLIM, const double& VCMECH,
            const double& VCUT, const double& T, const double& PSPEC, double& V, double& P,
            double& DPDV, const int64_t* MODEL, const int64_t& LVLDET, const int64_t& LVLMSG,
            const int32_t& IUNIT, const double& SLOPE0, const double& RGAS, const double& RTOL,
            const double& DPDXMF, int64_t* IESR, double* RESR, const int64_t& IACCPT,
            int64_t& ISTAT);
void LQROOT(int64_t& IRC, int64_t& IFLAG, const double& VLIM, const double& VCMECH,
            const double& VCUT, const double& T, const double& PSPEC, double& V, double& P,
            double& DPDV, const int64_t* MODEL, const int64_t& LVLDET, const int64_t& LVLMSG,
            const int32_t& IUNIT, const double& SLOPE0, const double& RGAS, const double& RTOL,
            const double& DPDXMF, int64_t* IESR, double* RESR, const int64_t& IACCPT,
            int64_t& ISTAT);

// True (-1) when X is not a number or infinite, false (0) otherwise; inline,
// as the solvers test every evaluated pressure with it.
inline int64_t ISNINF(const double& X) { return ToLogical(!std::isfinite(X)); }

// First index I in LO..HI (1-based) with LIST(I) == KEY, or 0.
int64_t IFINDI(const int64_t& KEY, const int64_t* LIST, const int64_t& LO, const int64_t& HI);

// Root memory: MODE 1 retrieves the saved root of the phase (IPHASE 1
// vapour, else the liquid named by PPUTL_EOSRET.LIQNO) into V and XA when
// the saved state is close enough; any other MODE saves V, DPDV and the 6N
// words of XA when ISTAT is 0. Refusals are silent.
void EOSRET(const int64_t& MODE, const int64_t& IPHASE, const double& T, const double& P,
            const double* X, const int64_t& N, const int64_t* IDX, double& V, const double& DPDV,
            double* XA, const double& TCMECH, const int64_t& ISTAT);

}  // namespace thermomodels

namespace thermomodels::roots {

// Iteration limits of the two solvers.
inline constexpr int64_t kVapourIterLimit = 60;
inline constexpr int64_t kLiquidIterLimit = 100;
// Calls per search after which any search is ended as failed, whether or
// not its steps were counted: some halving, contraction and refit steps do
// not count toward the iteration limit and could otherwise repeat forever.
// The count is kept in integer word 14 of the state block.
inline constexpr int64_t kCallsPerIterLimit = 4;
inline constexpr int kCallCountWord = 13;

// The arguments of one solver call, shared by both solvers.
struct SolverArgs {
  int64_t& IRC;
  int64_t& IFLAG;
  const double& VLIM;
  const double& VCMECH;
  const double& VCUT;
  const double& T;
  const double& PSPEC;
  double& V;
  double& P;
  double& DPDV;
  const int64_t* MODEL;
  int64_t LVLDET;
  int64_t LVLMSG;
  int32_t IUNIT;
  const double& SLOPE0;
  const double& RGAS;
  const double& RTOL;
  const double& DPDXMF;
  int64_t* IESR;
  double* RESR;
  int64_t IACCPT;
  int64_t& ISTAT;

  // Words both solvers use the same way.
  int64_t& LVFIX = IESR[esr::LVFIX];
  int64_t& LVCUT = IESR[esr::LVCUT];
  int64_t& ITER = IESR[esr::ITER];
  int64_t& CALLS = IESR[kCallCountWord];
  double& ABSTOL = RESR[2];
  double& VCRIT = RESR[8];
  double& VPREV = RESR[24];

  // At every return: a search that ends on the branch limit or on a
  // pseudo-root never reports "under way" as its final status (4 after a
  // cut to VCUT, else 3), and the model name is recorded with every status
  // above 0.
  void SettleStatus() {
    if (IRC == 4 && ISTAT == -1) ISTAT = (LVCUT == 1) ? 4 : 3;
    if (ISTAT > 0) {
      IESR[esr::MODELS1] = MODEL[0];
      IESR[esr::MODELS2] = MODEL[1];
    }
  }
};

// The rest of a call once the evaluated pressure has been taken in: a new
// search for any request code other than 1 to 3; otherwise the phase that
// the code names, unless the search has used up its call bound.
template <typename Call>
void Dispatch(Call& call, int64_t iter_limit) {
  call.VPREV = call.V;
  if (call.IRC < 1 || call.IRC > 3) {
    call.Start();
    return;
  }
  if (++call.CALLS > kCallsPerIterLimit * iter_limit) {
    call.Fail();
  } else if (call.IRC == 1) {
    call.StartPhase();
  } else if (call.IRC == 2) {
    call.Approach();
  } else {
    call.Converging();
  }
  call.Finish();
}

// A message line of a solver, written out of line: the solvers' entry
// points inline their search steps into one body, but not their messages.
// The items come by value, so that no address of the call's own record
// leaves the body.
template <typename... Items>
[[gnu::noinline, gnu::cold]] void SolverLine(int32_t unit, Items... items) {
  WriteLine(unit, items...);
}

// "LQROOT(Ln): ", the prefix of the liquid solver's lines for liquid n.
std::string LiquidPrefix(int64_t liquid);

// The final message of a search: PREFIX PHRASE ITER  V = ..  P = ..
// ABSERR = ..  DPDV = ..  T = ..
void WriteFinalMessage(int32_t unit, const char* prefix, const char* phrase, int64_t iter, double v,
                       double p, double pspec, double dpdv, double t);
// The per-call line: PREFIX ITER = ..  V = ..  P = ..  ABSERR = ..  DPDV = ..
// and, after the first evaluation, (V-VPREV) = ..
void WritePerCallLine(int32_t unit, const char* prefix, int64_t iter, double v, double p,
                      double pspec, double dpdv, double vprev);

}  // namespace thermomodels::roots
