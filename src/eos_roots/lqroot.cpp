// Liquid-like molar-volume root by reverse communication. The search runs in
// the molar volume along the mechanically stable high-density branch, with
// the density slope DPDR = -V^2 dP/dV as its stability measure; when the
// branch ends before the pressure falls to PSPEC it extrapolates to a
// pseudo-root beyond the end of the branch.
#include <algorithm>
#include <cmath>

#include "eos_roots/eos_roots.h"

namespace thermomodels {
namespace {

using roots::kLiquidIterLimit;

// One call of the liquid solver: the arguments and the words of the state
// block under their own names; the per-liquid result words are those of
// liquid 2 when PPUTL_EOSRET.LIQNO is 2, else those of liquid 1.
struct LiquidCall : roots::SolverArgs {
  int64_t liquid = PPUTL_EOSRET.LIQNO;
  bool second = (liquid == 2);
  // Prefix of every message line, built only when a line is written.
  std::string Prefix() const { return roots::LiquidPrefix(liquid); }

  // Integer words.
  int64_t& LQPURE = IESR[esr::LQPURE];
  int64_t& LQPUR2 = IESR[esr::LQPUR2];
  int64_t& LPLOW = IESR[esr::LPLOW];
  int64_t& pseudo_word = second ? LQPUR2 : LQPURE;
  int64_t& status_word = IESR[second ? esr::ISTATL2 : esr::ISTATL1];
  // Real words (1-based word numbers of the block's real part).
  double& pressure_word = RESR[second ? 28 : 0];  // PLASTL2 / PLASTL1
  double& volume_word = RESR[second ? 27 : 25];   // VLASTL2 / VLASTL1
  double& VTOL = RESR[3];
  double& DPDRM = RESR[4];
  double& DPDRM1 = RESR[5];
  double& VUB = RESR[6];
  double& VUB0 = RESR[7];
  double& VLOW = RESR[9];
  double& PLOW = RESR[10];
  double& V0 = RESR[11];
  double& PV0 = RESR[12];
  double& DPDV0 = RESR[13];
  double& V1 = RESR[14];
  double& P1 = RESR[15];
  double& DPDR = RESR[16];
  double& DPDR0 = RESR[17];

  double delv = 0.0;  // last volume step, for the trace
  double vstr = 0.0;  // pole of the pseudo-root extrapolation, for the trace

  void Run();
  void Start();
  void StartPhase();
  void Approach();
  void Converging();
  void NewtonFromReference();
  void Secant();
  void UpdateBy(double d);
  void LimitedSecantWithPrevious();
  void Bracketed();
  void SwitchToSecant();
  void EndOfBranch();
  void PseudoRoot();
  void ExponentialStep(double slope);
  bool Count();
  void Fail();
  void Finish();

  void SetV(double v) {
    delv = v - V;
    V = v;
  }
  template <typename... Items>
  void Note(const Items&... items) {
    roots::SolverLine(IUNIT, Prefix(), items...);
  }
  void Final(const char* phrase) {
    roots::WriteFinalMessage(IUNIT, Prefix().c_str(), phrase, ITER, V, P, PSPEC, DPDV, T);
  }
};

void LiquidCall::Run() {
  if (IRC == 4) {
    Start();
    return;
  }
  pressure_word = P;
  if (IsTrue(ISNINF(P))) {
    IRC = 5;
    ISTAT = 6;
    V = RGAS * T / PSPEC;
    Finish();
    return;
  }
  DPDR = -V * DPDV * V;
  if (VUB0 == 0.0 && DPDV > 0.0) VUB0 = V;
  if (LVLDET >= 8) roots::SolverLine(IUNIT, " P = ", P, "  DPDV = ", DPDV, "  DPDR = ", DPDR);
  if (LVLMSG >= 2) roots::WritePerCallLine(IUNIT, Prefix().c_str(), ITER, V, P, PSPEC, DPDV, VPREV);
  if (LVLMSG >= 3) Note("DPDR = ", DPDR);
  roots::Dispatch(*this, kLiquidIterLimit);
}

void LiquidCall::Start() {
  VCRIT = VCMECH / 1.2;
  DPDRM1 = RGAS * T * DPDXMF;
  VUB0 = 0.0;
  DPDRM = (LQPURE == -1) ? 0.0 : DPDRM1;
  if (LVLMSG >= 3) {
    Note("VCMECH = ", VCMECH, "  VCRIT = ", VCRIT, "  VLIM = ", VLIM, "  DPDRM = ", DPDRM,
         "  VCUT = ", VCUT, "  PSPEC = ", PSPEC);
  }
  if (IFLAG == 2) {
    SetV(VCMECH);
  } else if (IFLAG != 5) {
    SetV(VLIM + 0.25 * (VCRIT - VLIM));
  }
  IRC = 1;
  ITER = 1;
  CALLS = 0;
  ABSTOL = std::max(1e-4, RTOL * PSPEC);
  VTOL = RTOL * VCMECH;
  LQPURE = LVFIX = LVCUT = LPLOW = LQPUR2 = 0;
  if (IFLAG == 2) DPDV = -SLOPE0;
  if (LVLDET >= 8) {
    roots::SolverLine(IUNIT, " LQROOT", " IFLAG", IFLAG, "  T = ", T, "  PSPEC = ", PSPEC,
                      "  VLIM = ", VLIM, "  VCMECH = ", VCMECH, "  VCRIT = ", VCRIT,
                      "  VCUT = ", VCUT, "  DPDRM1 = ", DPDRM1);
    roots::SolverLine(IUNIT,
                      "P DPDV DPDR  K IFLAG LPLOW LVFIX LVCUT V V0 PV0 DPDV0 VLOW PLOW VUB VUB0 "
                      "DELV DPDR DPDR0 VSTR");
  }
  ISTAT = -1;
  Finish();
}

// Request code 1: contract toward VLIM while the pressure is too low, expand
// when it is too high and no low point is known.
void LiquidCall::StartPhase() {
  DPDV0 = DPDV;
  DPDR0 = DPDR;
  if (IFLAG == 5) {
    V0 = V;
    PV0 = P;
    if (DPDR <= DPDRM) {
      SetV(VLIM + 0.9 * (V - VLIM));
      IFLAG = 1;
      Count();
    } else {
      if (!Count()) return;
      IRC = 2;
      const double d = (DPDV != 0.0) ? (PSPEC - P) / DPDV : 0.0;
      if (P > PSPEC) {
        IFLAG = 1;
        SetV(V + std::min(d, VCRIT));
      } else {
        SetV(V + std::max(d, 0.1 * (VLIM - V)));
      }
    }
  } else if (P <= PSPEC) {
    V0 = V;
    PV0 = P;
    const double v_before = V;
    SetV(VLIM + 0.8 * (V - VLIM));
    if (Count() && DPDR > DPDRM) {
      if (LVLMSG >= 3) Note("SETTING PLOW. IFLAG = ", IFLAG);
      LPLOW = 1;
      VLOW = v_before;
      PLOW = P;
    }
  } else if (DPDR > DPDRM) {
    if (LPLOW == 0) {
      V0 = V;
      PV0 = P;
      const double vnew = VLIM + 0.5 * (VCRIT - VLIM);
      if (VUB0 > 0.0 && VUB0 > std::min(V, vnew) && VUB0 < std::max(V, vnew)) {
        SetV(0.5 * (V + VUB0));
        if (LVLMSG >= 3) Note("V RE-SET FROM ", vnew);
      } else {
        SetV(vnew);
      }
      if (Count()) IRC = 2;
    } else if (IFLAG == 1) {
      PV0 = P;
      V0 = V;
      NewtonFromReference();
    } else {
      V0 = VLOW;
      PV0 = PLOW;
      IRC = 3;
      Secant();
    }
  } else {
    V0 = V;
    PV0 = P;
    SetV(VLIM + 0.5 * (V - VLIM));
    Count();
  }
}

// Request code 2: the approach step has been evaluated.
void LiquidCall::Approach() {
  if (IFLAG == 2) {
    IRC = 3;
    Secant();
  } else if (IFLAG == 5) {
    if (P <= PSPEC) {
      V0 = V;
      PV0 = P;
      DPDV0 = DPDV;
      DPDR0 = DPDR;
      SetV(VLIM + 0.75 * (V - VLIM));
    } else {
      SwitchToSecant();
    }
  } else if (P < PSPEC && DPDR > DPDRM) {
    NewtonFromReference();
  } else if (DPDR < DPDRM) {
    SetV(V0 + 0.5 * (V - V0));
    Count();
  } else {
    IRC = 3;
    Converging();
  }
}

// Go back to the reference point and take a Newton step from it.
void LiquidCall::NewtonFromReference() {
  IFLAG = 3;
  IRC = 3;
  SetV(V0);
  P = PV0;
  DPDV = DPDV0;
  DPDR = DPDR0;
  if (DPDV0 != 0.0) SetV(V0 + (PSPEC - PV0) / DPDV0);
}

// Request code 3: Newton, bracketed secant, end of branch or pseudo-root.
void LiquidCall::Converging() {
  const double err = P - PSPEC;
  const double abs_err = std::fabs(err);
  if (abs_err < ABSTOL || (ITER > 20 && abs_err < 10.0 * ABSTOL)) {
    IRC = 4;
    if (V > 0.0) {
      ISTAT = 0;
      if (LVLMSG >= 1) Final("CONVERGED. ITER = ");
    } else {
      ISTAT = 5;
      if (LVLMSG >= 1) Final("FAILED (NEGATIVE VOLUME). ITER = ");
      if (V < VLIM) {
        V = VLIM;
        if (LVLMSG >= 1) Note("V RE-SET TO VLIM = ", VLIM);
      }
    }
  } else if (LVFIX == 1) {
    pseudo_word = 1;
    pressure_word = P;
    IRC = 4;
    if (LVLMSG >= 1) Final("PSEUDO-ROOT FOUND. ITER = ");
  } else if (LVCUT == 1) {
    // Extrapolate from the cut volume.
    vstr = std::max(1.15 * V, 1.3 * VCMECH);
    LVFIX = 1;
    double slope = DPDV;
    if (DPDRM == 0.0 && V != 0.0) slope = std::min(DPDV, -DPDRM1 / (V * V));
    ExponentialStep(slope);
    ISTAT = 4;
  } else if (V > VCUT && P > PSPEC) {
    IFLAG = 4;
    SetV(VCUT);
    LVCUT = 1;
  } else {
    if (!Count()) return;
    if (IFLAG == 3) {
      if (DPDV != 0.0) SetV(V + (PSPEC - P) / DPDV);
    } else if (IFLAG == 2) {
      Bracketed();
    } else {
      EndOfBranch();
    }
  }
}

// Secant step between the current point and the reference point (V0, PV0).
void LiquidCall::Secant() {
  const double dp = P - PV0;
  const double s = (dp != 0.0) ? ((PSPEC - P) / dp) * (V - V0) : 0.0;
  UpdateBy(std::min(s, VCRIT));
}

void LiquidCall::UpdateBy(double d) {
  V1 = V;
  P1 = P;
  SetV(V + d);
}

void LiquidCall::LimitedSecantWithPrevious() {
  const double s = (P != P1) ? ((PSPEC - P) / (P - P1)) * (V - V1) : 0.0;
  const double limit = 0.8 * std::fabs(V0 - V);
  UpdateBy(std::copysign(std::min(std::fabs(s), limit), s));
}

// Secant steps that keep the root bracketed between V and V0.
void LiquidCall::Bracketed() {
  const double err = P - PSPEC;
  const auto take_nearer_point = [&] {
    if (std::fabs(V1 - V) < std::fabs(V0 - V)) {
      V0 = V1;
      PV0 = P1;
    }
    Secant();
  };
  if (err < 0.0) {
    if (PV0 <= PSPEC) {
      if (P1 > PV0) {
        V0 = V1;
        PV0 = P1;
      }
      Secant();
    } else if (P1 <= PSPEC) {
      if (PSPEC - P <= 0.8 * (PSPEC - P1)) {
        LimitedSecantWithPrevious();
      } else {
        UpdateBy(0.5 * (V0 - V));
      }
    } else {
      take_nearer_point();
    }
  } else if (err > 0.0) {
    if (PV0 >= PSPEC) {
      if (P1 < PV0) {
        V0 = V1;
        PV0 = P1;
      }
      Secant();
    } else if (P1 < PSPEC) {
      take_nearer_point();
    } else if (err > 0.8 * (P1 - PSPEC)) {
      UpdateBy(0.5 * (V0 - V));
    } else {
      LimitedSecantWithPrevious();
    }
  }
}

void LiquidCall::SwitchToSecant() {
  IFLAG = 2;
  if (LVLMSG >= 3) Note("SWITCHING TO SECANT. IFLAG = ", int64_t{2});
  IRC = 3;
  Secant();
}

// Search for the end of the stable branch, where the density slope falls to
// the minimum slope DPDRM.
void LiquidCall::EndOfBranch() {
  if (P < PSPEC) {
    SwitchToSecant();
    return;
  }
  const double d2 = (V != V0) ? (DPDV - DPDV0) / (V - V0) : 0.0;
  if (LVLMSG >= 3) Note("D2PDV2 = ", d2, "  (IFLAG=", IFLAG, ")");
  if (!(d2 >= 0.0 || DPDR <= DPDRM)) {
    SwitchToSecant();
    return;
  }
  if (DPDRM == 0.0) {
    const double den = DPDV - DPDV0;
    VUB = (den != 0.0) ? (DPDV * V0 - DPDV0 * V) / den : 0.0;
  } else {
    const double den = DPDR - DPDR0;
    VUB = (den != 0.0) ? (V0 * (DPDR - DPDRM) - (DPDR0 - DPDRM) * V) / den : 0.0;
  }
  if (VUB <= 0.0) VUB = VUB0;
  if (LVLMSG >= 3) Note("VUB = ", VUB, "  (IFLAG=", IFLAG, ")");
  if (DPDR <= DPDRM) {
    VUB0 = VUB;
    V0 = V;
    PV0 = P;
    DPDV0 = DPDV;
    DPDR0 = DPDR;
    if (std::fabs(V - VUB) < VTOL) {
      PseudoRoot();
    } else {
      SetV(VUB);
    }
  } else {
    VUB0 = VUB;
    if (std::fabs(V - VUB) < VTOL) {
      PseudoRoot();
      return;
    }
    V0 = V;
    PV0 = P;
    DPDV0 = DPDV;
    DPDR0 = DPDR;
    const double d = std::min((DPDV != 0.0) ? (PSPEC - P) / DPDV : 0.0, VCRIT);
    SetV(V + d > VUB ? VUB : V + d);
  }
}

void LiquidCall::PseudoRoot() {
  if (IACCPT == 1) {
    SetV(VUB);
    IRC = 4;
    return;
  }
  vstr = std::max(1.3 * V, 1.3 * VCMECH);
  IFLAG = 6;
  LVFIX = 1;
  double slope = DPDV;
  if (DPDRM == 0.0 && V != 0.0) slope = -DPDRM1 / (V * V);
  ExponentialStep(slope);
  ISTAT = 3;
}

// The volume at which the model P + S D ln((V' - VSTR)/D), with slope S at V
// and a pole at VSTR, equals PSPEC.
void LiquidCall::ExponentialStep(double slope) {
  const double d = V - vstr;
  if (slope * d != 0.0) {
    const double vn = vstr + d * std::exp(-(P - PSPEC) / (slope * d));
    if (vn > 0.0) SetV(vn);
  }
}

// Counts a step; returns false (after failing the search) past the limit.
bool LiquidCall::Count() {
  ++ITER;
  if (ITER <= kLiquidIterLimit) return true;
  Fail();
  return false;
}

void LiquidCall::Fail() {
  ISTAT = (IRC == 3) ? 1 : 2;
  IRC = 5;
  if (LVLMSG >= 1) {
    const double slope = (IFLAG == 2 && V != 0.0) ? -DPDR / (V * V) : DPDV;
    roots::WriteFinalMessage(IUNIT, Prefix().c_str(), "FAILED. ITER = ", ITER, V, P, PSPEC, slope,
                             T);
  }
}

void LiquidCall::Finish() {
  SettleStatus();
  status_word = ISTAT;
  volume_word = V;
  if (LVLDET >= 8) {
    roots::SolverLine(IUNIT, " ", IRC, " ", IFLAG, " ", LPLOW, " ", LVFIX, " ", LVCUT, " ", V, " ",
                      V0, " ", PV0, " ", DPDV0, " ", VLOW, " ", PLOW, " ", VUB, " ", VUB0, " ",
                      delv, " ", DPDR, " ", DPDR0, " ", vstr);
  }
  if (LVLMSG >= 3 && IRC >= 1 && IRC <= 3) Note("       ", "  VNEXT = ", V);
}

}  // namespace

// Flattened: the call's steps are inlined into one body, so that the words
// of the state block are addressed directly instead of through a record of
// references built at every call (the messages stay out of line).
[[gnu::flatten]] void LQROOT(int64_t& IRC, int64_t& IFLAG, const double& VLIM, const double& VCMECH,
                             const double& VCUT, const double& T, const double& PSPEC, double& V,
                             double& P, double& DPDV, const int64_t* MODEL, const int64_t& LVLDET,
                             const int64_t& LVLMSG, const int32_t& IUNIT, const double& SLOPE0,
                             const double& RGAS, const double& RTOL, const double& DPDXMF,
                             int64_t* IESR, double* RESR, const int64_t& IACCPT, int64_t& ISTAT) {
  LiquidCall call{{IRC,    IFLAG,  VLIM,  VCMECH, VCUT, T,    PSPEC,  V,    P,    DPDV,   MODEL,
                   LVLDET, LVLMSG, IUNIT, SLOPE0, RGAS, RTOL, DPDXMF, IESR, RESR, IACCPT, ISTAT}};
  call.Run();
}

}  // namespace thermomodels
