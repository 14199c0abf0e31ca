// Vapour-like molar-volume root by reverse communication. The search runs in
// the molar density X = 1/V along the mechanically stable low-density branch;
// when the branch ends before the pressure reaches PSPEC it extrapolates 1/P
// to a pseudo-root beyond the end of the branch.
#include <algorithm>
#include <cmath>

#include "eos_roots/eos_roots.h"

namespace thermomodels {
namespace {

using roots::kVapourIterLimit;

// One call of the vapour solver: the arguments and the words of the state
// block under their own names.
struct VapourCall : roots::SolverArgs {
  // Integer words.
  int64_t& VPPURE = IESR[esr::VPPURE];
  int64_t& LPHIH = IESR[esr::LPHIH];
  int64_t& ISTATV = IESR[esr::ISTATV];
  // Real words (1-based word numbers of the block's real part).
  double& PLASTV = RESR[1];
  double& XTOL = RESR[3];
  double& DPDXM = RESR[4];
  double& DPDX = RESR[5];
  double& XUB = RESR[6];
  double& XUB0 = RESR[7];
  double& X0H = RESR[9];
  double& PX0H = RESR[10];
  double& X0 = RESR[11];
  double& PX0 = RESR[12];
  double& DPDX0 = RESR[13];
  double& X1 = RESR[14];
  double& P1 = RESR[15];
  double& X = RESR[16];
  double& XCRIT = RESR[17];
  double& XLIM = RESR[18];
  double& DXMAX = RESR[19];
  double& XMAX = RESR[20];
  double& RPMAX = RESR[21];
  double& DRPDX = RESR[22];
  double& RPDIFF = RESR[23];
  double& VLASTV = RESR[26];

  double delx = 0.0;  // last density step, for the trace

  void Run();
  void Start();
  void StartPhase();
  void Approach();
  void Converging();
  void NewtonFromReference();
  void NewtonStep();
  void Secant();
  void UpdateBy(double d);
  void LimitedSecantWithPrevious();
  void Bracketed();
  void EndOfBranch();
  void PseudoRoot();
  void Refit();
  void Cut();
  bool Count();
  void Fail();
  void Finish();

  void SetX(double x) {
    delx = x - X;
    X = x;
    if (X != 0.0) V = 1.0 / X;
  }
};

void VapourCall::Run() {
  if (IRC == 4) {
    Start();
    return;
  }
  PLASTV = P;
  if (IsTrue(ISNINF(P))) {
    IRC = 5;
    ISTAT = 6;
    V = RGAS * T / PSPEC;
    Finish();
    return;
  }
  if (IFLAG != 2 && X != 0.0) DPDX = std::clamp(-DPDV / (X * X), -1e20, 1e20);
  if (LVLDET >= 8) roots::SolverLine(IUNIT, " P = ", P, "  DPDV = ", DPDV, "  DPDX = ", DPDX);
  if (LVLMSG >= 2) roots::WritePerCallLine(IUNIT, "VPROOT: ", ITER, V, P, PSPEC, DPDV, VPREV);
  roots::Dispatch(*this, kVapourIterLimit);
}

void VapourCall::Start() {
  XUB0 = 0.0;
  DPDXM = (VPPURE == -1) ? 0.0 : RGAS * T * DPDXMF;
  VCRIT = 1.2 * VCMECH;
  XCRIT = 1.0 / VCRIT;
  XLIM = 1.0 / VLIM;
  if (IFLAG == 5) {
    X = 1.0 / V;
  } else if (IFLAG == 2) {
    SetX(1.0 / VCMECH);
  } else {
    SetX(0.1 * XCRIT);
  }
  ITER = 1;
  CALLS = 0;
  IRC = 1;
  ABSTOL = std::max(1e-4, RTOL * PSPEC);
  XTOL = RTOL * XCRIT;
  DXMAX = 0.5 * XCRIT;
  VPPURE = LVFIX = LVCUT = LPHIH = 0;
  if (IFLAG == 2) {
    DPDV = -SLOPE0;
    DPDX = SLOPE0;
  }
  if (LVLDET >= 8) {
    roots::SolverLine(IUNIT, " VPROOT", " IFLAG", IFLAG, "  T = ", T, "  PSPEC = ", PSPEC,
                      "  VLIM = ", VLIM, "  VCMECH = ", VCMECH, "  VCRIT = ", VCRIT,
                      "  VCUT = ", VCUT, "  DPDXM = ", DPDXM);
    roots::SolverLine(IUNIT,
                      "P DPDV DPDX  K IFLAG LPHIH LVFIX LVCUT X DPDX X0 PX0 DPDX0 X0H PX0H XUB "
                      "XUB0 DELX XMAX");
  }
  ISTAT = -1;
  Finish();
}

// Request code 1: walk from the dilute start until a stable point below PSPEC.
void VapourCall::StartPhase() {
  DPDX0 = DPDX;
  if (IFLAG == 5) {
    X0 = X;
    PX0 = P;
    if (DPDX <= DPDXM) {
      SetX(X / 2.0);
      IFLAG = 1;
      Count();
    } else {
      if (!Count()) return;
      IRC = 2;
      const double d = (DPDX != 0.0) ? (PSPEC - P) / DPDX : 0.0;
      if (P < PSPEC) {
        SetX(X + std::min(d, XCRIT));
        IFLAG = 1;
      } else {
        SetX(X + std::max(d, -X / 2.0));
      }
    }
  } else if (P < PSPEC) {
    if (DPDX <= DPDXM) {
      X0 = X;
      PX0 = P;
      SetX(X / 2.0);
      Count();
    } else if (LPHIH == 0) {
      X0 = X;
      PX0 = P;
      SetX(X + 0.2 * (XCRIT - X));
      if (Count()) IRC = 2;
    } else if (IFLAG == 1) {
      X0 = X;
      PX0 = P;
      NewtonFromReference();
    } else {
      X0 = X0H;
      PX0 = PX0H;
      IRC = 3;
      Secant();
    }
  } else {
    X0 = X;
    PX0 = P;
    const double x_before = X;
    if (P != 0.0) SetX(0.7 * X * PSPEC / P);
    if (!Count()) return;
    if (DPDX >= DPDXM) {
      LPHIH = 1;
      X0H = x_before;
      PX0H = P;
    }
  }
}

// Request code 2: the approach step has been evaluated.
void VapourCall::Approach() {
  if (IFLAG == 2) {
    IRC = 3;
    Secant();
  } else if (IFLAG == 5) {
    if (P < PSPEC) {
      IFLAG = 2;
      IRC = 3;
      Secant();
    } else {
      X0 = X;
      PX0 = P;
      DPDX0 = DPDX;
      SetX(X / 2.0);
    }
  } else if (P > PSPEC && DPDX > DPDXM) {
    NewtonFromReference();
  } else if (DPDX < DPDXM) {
    SetX(X0 + 0.5 * (X - X0));
    Count();
  } else {
    IRC = 3;
    Converging();
  }
}

// Go back to the reference point and take a Newton step from it.
void VapourCall::NewtonFromReference() {
  IFLAG = 3;
  IRC = 3;
  SetX(X0);
  P = PX0;
  DPDX = DPDX0;
  NewtonStep();
}

void VapourCall::NewtonStep() {
  if (DPDX != 0.0) SetX(X + (PSPEC - P) / DPDX);
}

// Request code 3: Newton, bracketed secant, end of branch or pseudo-root.
void VapourCall::Converging() {
  const double err = P - PSPEC;
  if (std::fabs(err) < ABSTOL) {
    IRC = 4;
    if (V > 0.0) {
      ISTAT = 0;
      if (LVLMSG >= 1)
        roots::WriteFinalMessage(IUNIT, "VPROOT: ", "CONVERGED. ITER = ", ITER, V, P, PSPEC, DPDV,
                                 T);
    } else {
      ISTAT = 5;
      if (LVLMSG >= 1)
        roots::WriteFinalMessage(IUNIT, "VPROOT: ", "FAILED (NEGATIVE VOLUME). ITER = ", ITER, V, P,
                                 PSPEC, DPDV, T);
      if (V < VLIM) {
        V = VLIM;
        if (LVLMSG >= 1) roots::SolverLine(IUNIT, "VPROOT: V RE-SET TO VLIM = ", VLIM);
      }
    }
  } else if (LVFIX == 1) {
    if (P > 0.0 || IFLAG == 4) {
      IRC = 4;
      VPPURE = 1;
      PLASTV = P;
      if (LVLMSG >= 1)
        roots::WriteFinalMessage(IUNIT, "VPROOT: ", "PSEUDO-ROOT FOUND. ITER = ", ITER, V, P, PSPEC,
                                 DPDV, T);
    } else {
      Refit();
    }
  } else if (LVCUT == 1) {
    // Have the caller evaluate the cut volume once more before accepting it.
    ISTAT = 4;
    LVFIX = 1;
    IFLAG = 4;
  } else {
    if (!Count()) return;
    if (IFLAG == 3) {
      NewtonStep();
    } else if (IFLAG == 2) {
      Bracketed();
    } else {
      EndOfBranch();
    }
  }
}

// Secant step between the current point and the reference point (X0, PX0).
void VapourCall::Secant() {
  const double dp = P - PX0;
  double d;
  if (std::fabs(dp) < 1e-20) {
    d = 0.5;
  } else {
    const double s = ((PSPEC - P) / dp) * (X - X0);
    const double limit = std::min(0.5 * std::fabs(XLIM - X), DXMAX);
    d = std::copysign(std::min(std::fabs(s), limit), s);
  }
  UpdateBy(d);
}

void VapourCall::UpdateBy(double d) {
  double xn = X + d;
  if (xn <= 0.0) xn = X / 2.0;
  X1 = X;
  P1 = P;
  SetX(xn);
}

void VapourCall::LimitedSecantWithPrevious() {
  const double s = (P != P1) ? ((PSPEC - P) / (P - P1)) * (X - X1) : 0.0;
  const double limit = 0.8 * std::fabs(X0 - X);
  UpdateBy(std::copysign(std::min(std::fabs(s), limit), s));
}

// Secant steps that keep the root bracketed between X and X0.
void VapourCall::Bracketed() {
  if (P < PSPEC && V < VCUT) {
    Cut();
    return;
  }
  const double err = P - PSPEC;
  const auto take_nearer_point = [&] {
    if (std::fabs(X1 - X) < std::fabs(X0 - X)) {
      X0 = X1;
      PX0 = P1;
    }
    Secant();
  };
  if (err < 0.0) {
    if (PX0 <= PSPEC) {
      if (P1 > PX0) {
        X0 = X1;
        PX0 = P1;
      }
      Secant();
    } else if (P1 > PSPEC) {
      take_nearer_point();
    } else if (PSPEC - P <= 0.8 * (PSPEC - P1)) {
      LimitedSecantWithPrevious();
    } else {
      UpdateBy(0.5 * (X0 - X));
    }
  } else if (err > 0.0) {
    if (PX0 >= PSPEC) {
      if (PX0 > P1) {
        X0 = X1;
        PX0 = P1;
      }
      Secant();
    } else if (P1 < PSPEC) {
      take_nearer_point();
    } else if (err <= 0.8 * (P1 - PSPEC)) {
      LimitedSecantWithPrevious();
    } else {
      UpdateBy(0.5 * (X0 - X));
    }
  }
}

// Search for the end of the stable branch: the density where the slope falls
// to the minimum slope DPDXM.
void VapourCall::EndOfBranch() {
  if (P > PSPEC) {
    IFLAG = 2;
    Secant();
    return;
  }
  const double c2 = (X != X0) ? (DPDX - DPDX0) / (X - X0) : 0.0;
  if (c2 > 0.0 && DPDX > DPDXM) {
    IFLAG = 2;
    Secant();
    return;
  }
  XUB = (DPDX != DPDX0) ? (X0 * (DPDX - DPDXM) - X * (DPDX0 - DPDXM)) / (DPDX - DPDX0) : 0.0;
  XUB0 = XUB;
  if (DPDX > DPDXM) {
    if (std::fabs(X - XUB) < XTOL) {
      PseudoRoot();
      return;
    }
    X0 = X;
    PX0 = P;
    DPDX0 = DPDX;
    double d = (DPDX != 0.0) ? (PSPEC - P) / DPDX : 0.0;
    d = std::min(d, DXMAX);
    SetX(std::min(X + d, XUB));
  } else {
    X0 = X;
    PX0 = P;
    DPDX0 = DPDX;
    if (std::fabs(X - XUB) < XTOL) {
      PseudoRoot();
    } else {
      SetX(XUB);
    }
  }
}

// Beyond the end of the branch: extrapolate 1/P quadratically in density to
// the point where it equals 1/PSPEC, with a pressure pole at X + H.
void VapourCall::PseudoRoot() {
  if (IACCPT == 1) {
    SetX(XUB);
    IRC = 4;
    return;
  }
  const double rp = 1.0 / P;
  const double b = -DPDX * rp * rp;
  const double q = rp - 1.0 / PSPEC;
  const double h = std::min(std::max(0.05 * X, 0.5 * (1.0 / VCMECH - X)), 0.5 * X);
  LVFIX = 1;
  RPMAX = rp;
  DRPDX = b;
  RPDIFF = q;
  XMAX = X;
  if (h != 0.0) {
    const double a = -(rp + b * h) / (h * h);
    const double disc = b * b - 4.0 * q * a;
    if (disc > 0.0) SetX(X - (b + std::sqrt(disc)) / (2.0 * a));
  }
  if (X != 0.0) V = 1.0 / X;
  if (V >= VCUT) {
    IFLAG = 6;
    ISTAT = 3;
  } else {
    Cut();
  }
}

// The extrapolated point gave a pressure at or below 0: refit the quadratic
// through it.
void VapourCall::Refit() {
  const double dx = X - XMAX;
  if (dx == 0.0) {
    Cut();
    return;
  }
  const double a = -(RPMAX + DRPDX * dx - 1.0 / P) / (dx * dx);
  const double disc = DRPDX * DRPDX - 4.0 * RPDIFF * a;
  if (disc <= 0.0) {
    Cut();
    return;
  }
  SetX(XMAX - (DRPDX + std::sqrt(disc)) / (2.0 * a));
  if (V < VCUT) Cut();
}

void VapourCall::Cut() {
  IFLAG = 4;
  V = VCUT;
  LVCUT = 1;
}

// Counts a step; returns false (after failing the search) past the limit.
bool VapourCall::Count() {
  ++ITER;
  if (ITER <= kVapourIterLimit) return true;
  Fail();
  return false;
}

void VapourCall::Fail() {
  ISTAT = (IRC == 3) ? 1 : 2;
  IRC = 5;
  if (LVLMSG >= 1)
    roots::WriteFinalMessage(IUNIT, "VPROOT: ", "FAILED. ITER = ", ITER, V, P, PSPEC, DPDV, T);
}

void VapourCall::Finish() {
  SettleStatus();
  ISTATV = ISTAT;
  VLASTV = V;
  if (LVLDET >= 8) {
    roots::SolverLine(IUNIT, " ", IRC, " ", IFLAG, " ", LPHIH, " ", LVFIX, " ", LVCUT, " ", X, " ",
                      DPDX, " ", X0, " ", PX0, " ", DPDX0, " ", X0H, " ", PX0H, " ", XUB, " ", XUB0,
                      " ", delx, " ", XMAX);
  }
}

}  // namespace

// Flattened: the call's steps are inlined into one body, so that the words
// of the state block are addressed directly instead of through a record of
// references built at every call (the messages stay out of line).
[[gnu::flatten]] void VPROOT(int64_t& IRC, int64_t& IFLAG, const double& VLIM, const double& VCMECH,
                             const double& VCUT, const double& T, const double& PSPEC, double& V,
                             double& P, double& DPDV, const int64_t* MODEL, const int64_t& LVLDET,
                             const int64_t& LVLMSG, const int32_t& IUNIT, const double& SLOPE0,
                             const double& RGAS, const double& RTOL, const double& DPDXMF,
                             int64_t* IESR, double* RESR, const int64_t& IACCPT, int64_t& ISTAT) {
  VapourCall call{{IRC,    IFLAG,  VLIM,  VCMECH, VCUT, T,    PSPEC,  V,    P,    DPDV,   MODEL,
                   LVLDET, LVLMSG, IUNIT, SLOPE0, RGAS, RTOL, DPDXMF, IESR, RESR, IACCPT, ISTAT}};
  call.Run();
}

}  // namespace thermomodels
