// What the water routers share: the region functions at a routed phase and
// the phase's transport properties.
#include "water/drivers/drivers.h"
#include "water/if97/if97.h"

namespace thermomodels {

double EvaluatePhase(const PhaseFunctions& f, const RouterPhase& phase) {
  switch (phase.region) {
    case 1: return f.region1(phase.p, phase.t);
    case 2: return f.region2(phase.p, phase.t);
    case 3: return f.region3(phase.t, phase.v);
    default: return f.region5(phase.p, phase.t);
  }
}

PhaseTransport TransportAt(const RouterPhase& phase, bool fill_viscosity) {
  PhaseTransport out{EvaluatePhase(kPhaseVolume, phase), -1.0, -1.0, -1.0};
  double cv = -1.0;
  WTCON11(phase.p, phase.t, out.v, phase.region, out.cp, cv, out.eta, out.tcon);
  if (out.cp < 0.0) {
    out.cp = EvaluatePhase(kPhaseIsobaricHeat, RouterPhase{phase.region, phase.p, phase.t, out.v});
    if (fill_viscosity) out.eta = WVISC08(phase.t, out.v);
  }
  return out;
}

}  // namespace thermomodels
