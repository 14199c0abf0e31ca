// The integer list search of the root solvers (the finite test is inline
// in the header).
#include "eos_roots/eos_roots.h"

namespace thermomodels {

int64_t IFINDI(const int64_t& KEY, const int64_t* LIST, const int64_t& LO, const int64_t& HI) {
  for (int64_t i = LO; i <= HI; ++i) {
    if (LIST[i - 1] == KEY) return i;
  }
  return 0;
}

}  // namespace thermomodels
