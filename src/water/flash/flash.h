// Water flashes: pressure, temperature and vapour quality of water from its
// specific volume and an energy, by chains of one-dimensional solves over the
// IAPWS-IF97 forward equations, all run by one bracketing secant solver.
//
// Units: p in MPa, T in K, v in m3/kg, h and u in kJ/kg.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

namespace thermomodels {

// ---- Bracketing secant solver ----

// Result of a solve that stopped at its evaluation cap.
inline constexpr double kFlashNotConverged = -1000.0;

// Memory of one run of FLSOLVE: ten 64-bit cells. The caller writes the
// start into `current` before the run; every other cell is written by the
// run before it is read, so one record per nesting level, held on the
// caller's stack, is all a solve needs (the solver keeps nothing else).
struct FlashSolveState {
  double current = 0.0;         // start on entry; the last point evaluated on exit
  double previous = 0.0;        // point of the evaluation before
  double previous_value = 0.0;  // f at the previous point
  double lower_end = 0.0;       // bracket end below the root (the range end at first)
  double upper_end = 0.0;       // bracket end above the root (the range end at first)
  double lower_value = 0.0;     // f at the lower end, once a point has set it
  double upper_value = 0.0;     // f at the upper end, once a point has set it
  int64_t bracket_state = 0;    // 0 none, 1 lower end, 2 upper end, 3 both (new), 4 both in use
  int64_t side_counter = 0;     // -k: last k points replaced the lower end; +k: the upper end
  double result = kFlashNotConverged;  // converged point, or kFlashNotConverged
};
static_assert(sizeof(FlashSolveState) == 80, "ten 64-bit cells");

// Non-owning reference to a callable double(double): the function a solve
// evaluates. It must not outlive the callable it refers to (pass lambdas
// straight into the call).
class FlashFunction {
 public:
  template <typename F,
            typename = std::enable_if_t<!std::is_same_v<std::remove_cvref_t<F>, FlashFunction>>>
  FlashFunction(F&& f)  // NOLINT: implicit, so a lambda can be passed directly
      : object_(const_cast<void*>(static_cast<const void*>(&f))),
        call_([](void* object, double x) -> double {
          return (*static_cast<std::remove_reference_t<F>*>(object))(x);
        }) {}
  double operator()(double x) const { return call_(object_, x); }

 private:
  void* object_;
  double (*call_)(void*, double);
};

// Solves f(x) = t for x in [xmin, xmax] without derivatives: secant steps,
// a bracket once two points show the side of the root, two secants against
// the bracket ends once it is closed, damping toward a range end while the
// points stay on one side, clamping into the range, and at most 51
// evaluations (52 when the start lies outside the range). On exit
// state.result holds the converged point or kFlashNotConverged and
// state.current the last point at which f was evaluated.
//
// Errors and steps are absolute below magnitude 1 and relative from 1 on;
// tol1 bounds both and sets the first step.
void FLSOLVE(FlashSolveState& state, FlashFunction f, const double& t, const double& xmin,
             const double& xmax, const double& tol1);

}  // namespace thermomodels
