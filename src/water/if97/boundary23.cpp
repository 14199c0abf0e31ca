// IAPWS-IF97 boundary between regions 2 and 3 (Eqs. 5 and 6, Table 1).
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {

// Eq. 6, n4 + ((p - n5)/n3)^(1/2), with 1/n3 = 981.0683207562179.
double IF97B23T(const double& P) {
  return 572.54459862746 + std::sqrt((P - 13.91883977887) * 981.0683207562179);
}

}  // namespace thermomodels
