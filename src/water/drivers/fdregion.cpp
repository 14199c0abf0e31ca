// The exported region and molar-volume routine: brings a water state inside
// the IF97 bounds on the requested side of the saturation line, picks the
// region and returns the molar volume of that phase.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/common.h"
#include "water/drivers/drivers.h"

namespace thermomodels {

void WaterRegionVolume(const double& T, const double& P, const int64_t& KVL, int64_t& KREGION,
                       double& TOUT, double& POUT, double& VOUT, const int64_t& LVLPRT,
                       const int32_t& IUNIT, int64_t& IERR, WaterPath path) {
  IERR = 0;
  // A state the bounds cannot place: no positive temperature or pressure to
  // clamp, or a phase that is neither vapour nor liquid.
  if (!std::isfinite(T) || T <= 0.0 || !std::isfinite(P) || P <= 0.0 || (KVL != 1 && KVL != 2)) {
    KREGION = 0;
    TOUT = kNoValue;
    POUT = kNoValue;
    VOUT = kNoValue;
    IERR = 1;
    return;
  }

  WaterPhaseState state;
  ChooseWaterPhaseState(T, P, KVL, true, LVLPRT, IUNIT, state, path);
  int64_t status = state.status;
  KREGION = state.region;
  TOUT = state.temperature_k;
  if (state.region != 3) {
    POUT = state.pressure_pa;
    VOUT = MolarVolume(state.temperature_k, state.pressure_pa, state.region, KVL, path, status);
  } else {
    int64_t model[2];
    std::memcpy(model, kFdregionModelName, sizeof model);
    SolveRegion3Volume(state.temperature_k, state.pressure_pa, KVL, state.start_mode,
                       state.start_volume, model, LVLPRT, IUNIT, VOUT, POUT, status, path);
  }
  // A volume the double range cannot hold (a vapour at a pressure far
  // below any the formulation reaches) is no volume.
  if (!std::isfinite(VOUT)) {
    VOUT = kNoValue;
    status = 1;
  }
  IERR = status;
}

}  // namespace thermomodels

extern "C" TM_API void QUELTRIN_FDREGION(const double* T, const double* P, const int64_t* KVL,
                                         int64_t* KREGION, double* TOUT, double* POUT, double* VOUT,
                                         const int64_t* LVLPRT, const int32_t* IUNIT,
                                         int64_t* IERR) {
  thermomodels::WaterRegionVolume(*T, *P, *KVL, *KREGION, *TOUT, *POUT, *VOUT, *LVLPRT, *IUNIT,
                                  *IERR, thermomodels::WaterPath::kDirect);
}
