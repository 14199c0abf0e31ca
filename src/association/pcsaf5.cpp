// Wertheim association term.
#include "association/association.h"

namespace thermomodels {

Pcsaf5Saved PCSAF5_SAVED{};
Pcsaf5Work PCSAF5_WORK{};

void PCSAF5(const double&, const double&, const int64_t&, const int64_t&, const int64_t*,
            const double*, const double*, const double*, const double*, const double*,
            const double*, const double*, const double*, const double*, const int64_t*,
            const double*, const double*, const int64_t&, const int64_t*, const int64_t*,
            const int64_t&, const int64_t&, const int64_t&, const int64_t&, double*,
            const int64_t&, const int64_t&, const int64_t&, const double&, double*,
            const double*, const double*, double*, double*, double*, double*, double*, double*,
            double*, double*, double*, double*, double*, double*, int64_t*, int64_t*, double*,
            double*, double& ASUMR, double& ASUMR2, double& ASUM, double& ASUMT, double*,
            const double&, const double*, int64_t& IERR, const int32_t&, const int64_t&,
            const int64_t&, int64_t*, const int64_t&, int64_t*, const double&, const int64_t&,
            const double*) {
  // Not built yet: report failure with a zero association term.
  ASUMR = ASUMR2 = ASUM = ASUMT = 0.0;
  IERR = 1;
}

}  // namespace thermomodels
