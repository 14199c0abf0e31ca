// Message lines shared by the vapour and liquid root solvers.
#include "eos_roots/eos_roots.h"

namespace thermomodels::roots {

std::string LiquidPrefix(int64_t liquid) { return "LQROOT(L" + std::to_string(liquid) + "): "; }

void WriteFinalMessage(int32_t unit, const char* prefix, const char* phrase, int64_t iter, double v,
                       double p, double pspec, double dpdv, double t) {
  WriteLine(unit, prefix, phrase, iter, "  V = ", v, "  P = ", p, "  ABSERR = ", p - pspec,
            "  DPDV = ", dpdv, "  T = ", t);
}

void WritePerCallLine(int32_t unit, const char* prefix, int64_t iter, double v, double p,
                      double pspec, double dpdv, double vprev) {
  if (iter == 1) {
    WriteLine(unit, prefix, "ITER = ", iter, "  V = ", v, "  P = ", p, "  ABSERR = ", p - pspec,
              "  DPDV = ", dpdv);
  } else {
    WriteLine(unit, prefix, "ITER = ", iter, "  V = ", v, "  P = ", p, "  ABSERR = ", p - pspec,
              "  DPDV = ", dpdv, "  (V-VPREV) = ", v - vprev);
  }
}

}  // namespace thermomodels::roots
