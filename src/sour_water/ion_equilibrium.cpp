// Ionic equilibrium of the sour-water liquid: how much ammonia, carbon dioxide and
// hydrogen sulfide is free and how much is bound in ions (H+, OH-, NH4+,
// HS-, S=, HCO3-, CO3=, carbamate, Na+) and neutral products (carbamic acid,
// urea). An outer damped secant on the pH finds electroneutrality; the
// inner solve at fixed pH takes a relaxed linear step for the nine bound
// amounts and a damped secant on the free ammonia.
//
// Amounts are on the scale of the input mole fractions X. The solved
// amounts y(1..9) are H+, NH4+, HS-, S=, HCO3-, CO3=, all carbamate
// (CBA- + CBAH + UREA), CBAH and UREA.
#include <algorithm>
#include <cmath>

#include "sour_water/sour_water.h"

namespace thermomodels {

GpswLiquidSaved GPSWLIQ;

namespace {

// Moles of water per kilogram, and the decimal-logarithm factors of the pH.
constexpr double kWaterMolality = 55.49;
constexpr double kLog10E = 0.434294;
constexpr double kLn10 = 2.30259;
// Start pH is limited to this range (unless the caller imposes one).
constexpr double kLowestStartPh = 5.0;
constexpr double kHighestStartPh = 12.0;
// Share of each acid gas that the start takes as its first ion.
constexpr double kStartIonShare = 0.99;
// Free acid gas at or below this share of its total is recomputed from the
// ion and its ratio.
constexpr double kSmallShare = 0.001;

// pH search.
constexpr double kFirstPhStep = -0.01;
constexpr double kLargestPhStep = 0.5;
constexpr double kStartPhStep = 2.0;  // above any step taken: forces two secant steps
constexpr double kPhResidualTolerance = 1e-4;
constexpr double kDampingStart = 0.5;
constexpr double kDampingGrowth = 1.1;
constexpr double kDampingOnSignChange = 0.7;

// Inner solve.
constexpr int kMaxInnerIterations = 10;
constexpr int kMaxInnerIterationsImposedPh = 40;
// Closing the balances: the free-ammonia secant restarts with each solve,
// so one solve needs room to converge.
constexpr int kMaxClosingIterations = 60;
constexpr int kMaxRelaxationPasses = 50;
constexpr double kRelaxationStart = 0.5;
constexpr double kInnerTolerance = 1e-3;
constexpr double kChargeFloor = 1e-9;  // keeps the relative OH- change finite
constexpr double kSodiumGain = 0.5;    // share of the charge excess removed per step
constexpr double kFirstAmmoniaStep = 1.01;
constexpr double kAmmoniaDampingMax = 0.5;
// Balances closed after the search: the nitrogen, carbon and sulfur
// balances of the amounts as reported must hold to this share of each
// total; the continued inner solves aim ten times closer.
constexpr double kBalanceTolerance = 1e-6;
constexpr double kClosingTolerance = 1e-7;
// Halving the free-ammonia step: a positive free ammonia is reached well
// within this many halvings from any finite step.
constexpr int kMaxAmmoniaHalvings = 2200;

// Areas of the scratch: previous y, activity scratch, activity quotients,
// the two vectors of the linear solve.
constexpr int64_t kScrPrevious = 0;
constexpr int64_t kScrActivity = 10;
constexpr int64_t kScrQuotients = 42;
constexpr int64_t kScrLinB = 52;
constexpr int64_t kScrLinY = 62;

// Entry (i, j), 1-based, of the linear system.
inline double& A(double* amat, int i, int j) { return amat[(i - 1) + (j - 1) * kAmatRows]; }

// Ratios of the species from the working constants at the hydroxide XOH,
// free water w and free ammonia a.
void SpeciesRatios(const double* K, double xoh, double w, double a, double* r) {
  r[0] = K[0] * w / xoh;              // H+
  r[1] = K[1] * a * w / xoh;          // NH4+
  r[2] = K[2] * xoh / w;              // HS- per free H2S
  r[3] = K[3] * xoh * xoh / (w * w);  // S= per free H2S
  r[4] = K[4] * xoh;                  // HCO3- per free CO2
  r[5] = K[5] * xoh * xoh / w;        // CO3= per free CO2
  r[6] = K[6] * a * xoh / w;          // CBA- per free CO2
  r[7] = K[7] * w / xoh;              // CBAH per CBA-
  r[8] = K[8] * a / xoh;              // UREA per CBA-
}

// Ions 1-8, neutral products and the free carbon dioxide and hydrogen
// sulfide from y; returns the free water the reactions leave.
double AmountsFromSpecies(const double* y, const double* X, double xoh, double xnh3, double* XION,
                          double* XNEUT, double* XCZ) {
  XION[0] = y[0];
  XION[1] = xoh;
  XION[2] = y[1];
  XION[3] = y[2];
  XION[4] = y[3];
  XION[5] = y[4];
  XION[6] = y[5];
  XION[7] = y[6] - y[7] - y[8];
  XNEUT[0] = y[7];
  XNEUT[1] = y[8];
  XCZ[1] = xnh3;
  XCZ[2] = X[2] - y[4] - y[5] - y[6];
  XCZ[3] = X[3] - y[2] - y[3];
  return X[0] - y[0] - y[1] + y[2] + 2.0 * y[3] + y[5] + y[6] - y[7];
}

// Free acid gas that is nearly all bound is taken from its first ion and
// the ratio, where the balance would lose it to cancellation. A quotient
// that is not a number (no such gas) leaves it.
void RecoverSmallAcidGas(const double* X, const double* XION, const double* RSPC, double* XCZ) {
  if (XCZ[2] / X[2] <= kSmallShare) XCZ[2] = XION[5] / RSPC[4];
  if (XCZ[3] / X[3] <= kSmallShare) XCZ[3] = XION[3] / RSPC[2];
}

// Largest relative miss of the nitrogen, carbon and sulfur balances of the
// amounts as the liquid routine reports them (a negative amount counts as
// 0); urea carries two nitrogens. A miss that is not a number is not
// counted: no further solve would mend it.
double BalanceMiss(const double* X, const double* XCZ, const double* XION, const double* XNEUT) {
  auto held = [](double v) { return v > 0.0 ? v : 0.0; };
  const double nitrogen =
      held(XCZ[1]) + held(XION[2]) + held(XION[7]) + held(XNEUT[0]) + 2.0 * held(XNEUT[1]);
  const double carbon = held(XCZ[2]) + held(XION[5]) + held(XION[6]) + held(XION[7]) +
                        held(XNEUT[0]) + held(XNEUT[1]);
  const double sulfur = held(XCZ[3]) + held(XION[3]) + held(XION[4]);
  const double amounts[3] = {nitrogen, carbon, sulfur};
  double miss = 0.0;
  for (int e = 0; e < 3; ++e) {
    const double m = X[e + 1] > 0.0 ? std::fabs(amounts[e] / X[e + 1] - 1.0) : 0.0;
    if (m > miss) miss = m;
  }
  return miss;
}

// Rows 1-9 of the linear step with the ratios r.
void FillLinearSystem(double* amat, const double* r, const double* X) {
  for (int j = 1; j <= kAmatCols; ++j) {
    for (int i = 1; i <= 9; ++i) A(amat, i, j) = 0.0;
  }
  double f[9];
  for (int i = 0; i < 9; ++i) f[i] = r[i] / (1.0 + r[i]);
  const double g = 1.0 / (1.0 + r[6]);
  A(amat, 1, 1) = 1.0;
  A(amat, 1, 10) = r[0];
  A(amat, 2, 2) = 1.0;
  A(amat, 2, 10) = r[1];
  // HS- and S= against the free hydrogen sulfide X(4) - y3 - y4.
  A(amat, 3, 3) = 1.0;
  A(amat, 3, 4) = f[2];
  A(amat, 3, 10) = f[2] * X[3];
  A(amat, 4, 3) = f[3];
  A(amat, 4, 4) = 1.0;
  A(amat, 4, 10) = f[3] * X[3];
  // HCO3-, CO3= and carbamate against the free CO2 X(3) - y5 - y6 - y7.
  A(amat, 5, 5) = 1.0;
  A(amat, 5, 6) = f[4];
  A(amat, 5, 7) = f[4];
  A(amat, 5, 10) = f[4] * X[2];
  A(amat, 6, 5) = f[5];
  A(amat, 6, 6) = 1.0;
  A(amat, 6, 7) = f[5];
  A(amat, 6, 10) = f[5] * X[2];
  A(amat, 7, 5) = f[6];
  A(amat, 7, 6) = f[6];
  A(amat, 7, 7) = 1.0;
  A(amat, 7, 8) = -g;
  A(amat, 7, 9) = -g;
  A(amat, 7, 10) = f[6] * X[2];
  // CBAH and UREA against the carbamate ion y7 - y8 - y9.
  A(amat, 8, 7) = -f[7];
  A(amat, 8, 8) = 1.0;
  A(amat, 8, 9) = f[7];
  A(amat, 9, 7) = -f[8];
  A(amat, 9, 8) = f[8];
  A(amat, 9, 9) = 1.0;
}

}  // namespace

void LINGPSW(double* AMAT, double* B, double* Y) {
  double* a = AMAT;
  for (int i = 0; i < 9; ++i) {
    B[i] = A(a, i + 1, 10);
    Y[i] = 0.0;
  }
  // Rows 1 and 2 are unit rows.
  Y[0] = B[0];
  Y[1] = B[1];
  // Rows 3-4: a 2 x 2 block.
  const double d34 = A(a, 3, 3) * A(a, 4, 4) - A(a, 4, 3) * A(a, 3, 4);
  if (d34 != 0.0) Y[3] = (A(a, 3, 3) * B[3] - A(a, 4, 3) * B[2]) / d34;
  if (A(a, 3, 3) != 0.0) Y[2] = (B[2] - A(a, 3, 4) * Y[3]) / A(a, 3, 3);
  // Rows 5-9: eliminate y5 from rows 6 and 7, y6 from row 7, y7 from rows 8
  // and 9 (by way of the reduced row 7), then back-substitute.
  const double a55 = A(a, 5, 5), a56 = A(a, 5, 6), a57 = A(a, 5, 7);
  const double a65 = A(a, 6, 5), a66 = A(a, 6, 6), a67 = A(a, 6, 7);
  const double a75 = A(a, 7, 5), a76 = A(a, 7, 6), a77 = A(a, 7, 7), a78 = A(a, 7, 8),
               a79 = A(a, 7, 9);
  const double a87 = A(a, 8, 7), a88 = A(a, 8, 8), a89 = A(a, 8, 9);
  const double a97 = A(a, 9, 7), a98 = A(a, 9, 8), a99 = A(a, 9, 9);
  const double p1 = a55 * a66 - a65 * a56;
  const double p2 = a55 * a67 - a65 * a57;
  const double p3 = a55 * B[5] - a65 * B[4];
  const double q1 = a65 * a76 - a75 * a66;
  const double q2 = a65 * a77 - a75 * a67;
  const double q3 = a65 * a78;
  const double q4 = a65 * a79;
  const double q5 = a65 * B[6] - a75 * B[5];
  const double s1 = p1 * q2 - q1 * p2;
  const double s2 = p1 * q3;
  const double s3 = p1 * q4;
  const double s4 = p1 * q5 - q1 * p3;
  const double t1 = s1 * a88 - a87 * s2;
  const double t2 = s1 * a89 - a87 * s3;
  const double t3 = s1 * B[7] - a87 * s4;
  const double u1 = a87 * a98 - a97 * a88;
  const double u2 = a87 * a99 - a97 * a89;
  const double u3 = a87 * B[8] - a97 * B[7];
  const double d = t1 * u2 - u1 * t2;
  if (d != 0.0) Y[8] = (t1 * u3 - u1 * t3) / d;
  if (t1 != 0.0) Y[7] = (t3 - t2 * Y[8]) / t1;
  if (s1 != 0.0) Y[6] = (s4 - s2 * Y[7] - s3 * Y[8]) / s1;
  if (p1 != 0.0) Y[5] = (p3 - p2 * Y[6]) / p1;
  if (a55 != 0.0) Y[4] = (B[4] - a57 * Y[6] - a56 * Y[5]) / a55;
  for (int i = 0; i < 9; ++i) A(a, i + 1, 10) = Y[i];
}

void INIGPSW(const int64_t& N, const int64_t& NREACT, const int64_t& KPH, const double* X,
             const double* KEQ, const double& PH, const double& XNH3, double& PHC, double& XH,
             double& XOH, double& SUMX, double& SUMX0, double& XWAT, double* KAPP, double* YSPC,
             double* RSPC, double* XION, double* XNEUT, double* XCZ) {
  const int64_t nreact = std::min(NREACT, kNreact);
  for (int64_t r = 0; r < nreact; ++r) KAPP[r] = KEQ[r];
  SUMX = 0.0;
  for (int64_t s = 0; s < N; ++s) SUMX += X[s];
  SUMX0 = SUMX;
  ScaleWorkingConstants(KAPP, SUMX);
  XWAT = X[0];

  // Hydroxide from the excess of ammonia over the acid gases.
  const double excess = X[1] - X[2] - X[3];
  double oh;
  if (excess < 0.0 && X[2] >= X[3]) {
    // Carbon dioxide leads; ammonia shared between the acid gases.
    const double free_co2 = X[2] * (1.0 - X[1] / (X[2] + X[3]));
    oh = (X[2] - free_co2) / (KAPP[4] * free_co2);
  } else if (excess < 0.0) {
    const double free_h2s = X[3] * (1.0 - X[1] / (X[2] + X[3]));
    oh = (X[3] - free_h2s) * X[0] / (KAPP[2] * free_h2s);
  } else {
    // All acid gas bound as ammonium salts.
    oh = KAPP[1] * excess * X[0] / (X[2] + X[3]);
  }
  XH = KAPP[0] * X[0] / (oh * SUMX);
  PHC = -kLog10E * std::log(kWaterMolality * XH * SUMX / X[0]);
  auto at_ph = [&](double ph) {
    PHC = ph;
    XH = (X[0] / SUMX) * std::exp(-kLn10 * PHC) / kWaterMolality;
    oh = KAPP[0] * X[0] / (XH * SUMX);
  };
  if (PHC < kLowestStartPh) at_ph(kLowestStartPh);
  if (PHC > kHighestStartPh) at_ph(kHighestStartPh);
  if (KPH == 1) at_ph(PH);
  XOH = oh;

  double* y = YSPC;
  for (int i = 0; i < 9; ++i) y[i] = 0.0;
  y[0] = XH * SUMX;
  y[1] = X[1] - XNH3;
  y[2] = kStartIonShare * X[3];
  y[4] = kStartIonShare * X[2];
  AmountsFromSpecies(y, X, XOH, XNH3, XION, XNEUT, XCZ);
  XION[8] = 0.0;
  XCZ[0] = X[0];
  for (int64_t s = 4; s < N; ++s) XCZ[s] = X[s];
  SpeciesRatios(KAPP, XOH, XWAT, XNH3, RSPC);
  RecoverSmallAcidGas(X, XION, RSPC, XCZ);
}

void SPCGPSW(const int64_t& N, const int64_t& NION, const int64_t& NNEUT, const int64_t& NREACT,
             const int64_t& KPH, const double& T, const double& /*P*/, const double* X,
             const double* KEQ, double& XNH3, double& PHC, double& XH, double& XOH, double& SUMX,
             double& SUMX0, double& XWAT, double* KAPP, double* YSPC, double* RSPC, double* XION,
             double* XNEUT, double* XCZ, double& XOHCB, const double* IONCHG, const double* MW,
             const double* VL, const double* NVL, const double* DSP, const double* NDSP,
             const double* IONVOL, const double* IONVSP, double& DDW, double& DDS, double* GC,
             double* GNEUT, double* GION, double* WSCR, bool close_balances) {
  GpswLiquidSaved& saved = GPSWLIQ;
  double* y = YSPC;
  double* y_previous = WSCR + kScrPrevious;
  double* solution = saved.AMAT + (kAmatCols - 1) * kAmatRows;

  double sodium = 0.0;  // balancing NA+ amount
  XOHCB = 0.0;
  double balance = 0.0;  // free ammonia by the nitrogen balance
  double damping = kAmmoniaDampingMax;
  double omega = kRelaxationStart;
  double balance_previous = 0.0, ammonia_previous = 0.0, step = 0.0;
  const int limit = close_balances ? kMaxClosingIterations
                    : KPH == 1     ? kMaxInnerIterationsImposedPh
                                   : kMaxInnerIterations;

  for (int it = 1; it <= limit; ++it) {
    ++saved.inner_iterations;
    XH = (X[0] / SUMX0) * std::exp(-kLn10 * PHC) / kWaterMolality;
    XOH = KAPP[0] * X[0] / (XH * SUMX);
    y[0] = XH * SUMX;
    y[1] = X[1] - XNH3 - y[6] - y[8];
    for (int i = 0; i < 9; ++i) y_previous[i] = y[i];
    XION[0] = y[0];
    XION[1] = XOH;
    XION[2] = y[1];
    XCZ[0] = XWAT;
    XCZ[1] = XNH3;

    ACTGPSW(N, NION, NNEUT, T, XION, XNEUT, XCZ, IONCHG, MW, VL, GC, GNEUT, GION,
            WSCR + kScrActivity);
    VOLGPSW(N, NION, NNEUT, NREACT, T, KEQ, SUMX, KAPP, XION, XNEUT, XCZ, VL, NVL, DSP, NDSP,
            IONVOL, IONVSP, IONCHG, GC, GNEUT, GION, DDW, DDS, WSCR + kScrQuotients);
    SpeciesRatios(KAPP, XOH, XWAT, XNH3, RSPC);
    FillLinearSystem(saved.AMAT, RSPC, X);
    LINGPSW(saved.AMAT, WSCR + kScrLinB, WSCR + kScrLinY);
    balance_previous = balance;

    // Relaxed step; halve the relaxation while an amount is negative.
    for (int pass = 0; pass < kMaxRelaxationPasses; ++pass) {
      ++saved.relaxation_passes;
      for (int i = 0; i < 9; ++i) {
        y[i] = omega * solution[i] + (1.0 - omega) * y_previous[i];
        if (y[i] <= 0.0) y[i] = 0.0;
      }
      XWAT = AmountsFromSpecies(y, X, XOH, XNH3, XION, XNEUT, XCZ);
      XCZ[0] = XWAT;
      balance = X[1] - y[1] - y[6] - y[8];
      bool negative = false;
      for (int64_t s = 0; s < N; ++s) negative = negative || XCZ[s] < 0.0;
      for (int64_t k = 0; k < NNEUT; ++k) negative = negative || XNEUT[k] < 0.0;
      for (int j = 0; j < 8; ++j) negative = negative || XION[j] < 0.0;
      if (!negative) break;
      omega *= 0.5;
    }
    for (int64_t s = 4; s < N; ++s) XCZ[s] = X[s];
    RecoverSmallAcidGas(X, XION, RSPC, XCZ);

    const double xohcb_previous = XOHCB;
    XOHCB = sodium + y[0] + y[1] - y[2] - 2.0 * y[3] - y[4] - 2.0 * y[5] - (y[6] - y[7] - y[8]);

    // Without free ammonia there is nothing to balance: the test passes and
    // the free-ammonia update is skipped.
    // Closing the balances, the free ammonia must meet the nitrogen balance
    // and the free acid gases theirs, all to kClosingTolerance.
    const bool has_ammonia = XNH3 > 0.0;
    const bool ammonia_done =
        close_balances ? BalanceMiss(X, XCZ, XION, XNEUT) <= kClosingTolerance
                       : !has_ammonia || std::fabs(balance / XNH3 - 1.0) <= kInnerTolerance;
    bool done;
    if (KPH == 1) {
      const double sodium_previous = sodium;
      sodium -= kSodiumGain * (XOHCB - XOH);
      XION[8] = sodium;
      done = !(std::fabs(sodium - sodium_previous) / std::fabs(sodium) > kInnerTolerance) &&
             ammonia_done;
    } else {
      done = std::fabs(XOHCB - xohcb_previous) / (std::fabs(XOHCB) + kChargeFloor) <=
                 kInnerTolerance &&
             ammonia_done;
    }
    if (done) return;
    if (!has_ammonia) continue;

    // Free ammonia: damped secant on B - XNH3.
    if (it == 1) {
      ammonia_previous = XNH3;
      XNH3 *= kFirstAmmoniaStep;
      step = XNH3 - balance;
      continue;
    }
    const double step_previous = step;
    const double denominator = (balance - XNH3) - (balance_previous - ammonia_previous);
    if (denominator != 0.0) saved.nh3_slope = (XNH3 - ammonia_previous) / denominator;
    step = (XNH3 - balance) * saved.nh3_slope;
    damping = std::min(kDampingGrowth * damping, kAmmoniaDampingMax);
    if (step * step_previous < 0.0) damping *= kDampingOnSignChange;
    int halvings = 0;
    while (XNH3 + step * damping <= 0.0 && halvings < kMaxAmmoniaHalvings) {
      step *= 0.5;
      ++halvings;
    }
    saved.ammonia_halvings += halvings;
    // An infinite step never halves to a positive amount: keep the amount.
    if (XNH3 + step * damping <= 0.0) step = 0.0;
    ammonia_previous = XNH3;
    XNH3 += step * damping;
  }
}

void PHSGPSW(const int64_t& N, const int64_t& NION, const int64_t& NNEUT, const int64_t& NREACT,
             const int64_t& KPH, const double& T, const double& P, const double* X,
             const double* KEQ, double& XNH3, double& PHC, double& XH, double& XOH, double& SUMX,
             double& SUMX0, double& XWAT, double* KAPP, double* YSPC, double* RSPC, double* XION,
             double* XNEUT, double* XCZ, const double* IONCHG, const double* MW, const double* VL,
             const double* NVL, const double* DSP, const double* NDSP, const double* IONVOL,
             const double* IONVSP, double& DDW, double& DDS, double* GC, double* GNEUT,
             double* GION, double* WSCR) {
  GpswLiquidSaved& saved = GPSWLIQ;
  double step = kStartPhStep;
  double damping = kDampingStart;
  double ph_previous = 0.0, residual_previous = 0.0;
  const double solutes = X[1] + X[2] + X[3];

  // When the search ends (by its charge test or its cap) with a balance
  // missed, because an inner solve stopped at its cap, the inner solves go
  // on, closer, at the pH reached; after the charge test the search
  // resumes from there while that test fails, up to the search's cap.
  // Closing makes at most kMaxBalanceSolves solves in all: on a liquid whose
  // balances no solve can close, every one of them would run to its cap.
  bool closing = false, search_over = false;
  int64_t closing_solves = 0;
  for (int64_t k = 1; k <= kMaxPhSolves + kMaxBalanceSolves; ++k) {
    saved.ph_tried[saved.ph_solves < kMaxPhSolves ? saved.ph_solves : kMaxPhSolves - 1] = PHC;
    ++saved.ph_solves;
    double xohcb = 0.0;
    SPCGPSW(N, NION, NNEUT, NREACT, KPH, T, P, X, KEQ, XNH3, PHC, XH, XOH, SUMX, SUMX0, XWAT, KAPP,
            YSPC, RSPC, XION, XNEUT, XCZ, xohcb, IONCHG, MW, VL, NVL, DSP, NDSP, IONVOL, IONVSP,
            DDW, DDS, GC, GNEUT, GION, WSCR, closing);
    const double residual = (XOH - xohcb) / solutes;
    if (KPH == 1) break;
    if (closing && ++closing_solves >= kMaxBalanceSolves) break;
    const bool charge_met =
        !(std::fabs(step) >= kStartPhStep) && !(std::fabs(residual) >= kPhResidualTolerance);
    // From the search's cap on, only solves at the pH reached remain.
    const bool at_cap = k >= kMaxPhSolves;
    if (charge_met || at_cap) {
      if (BalanceMiss(X, XCZ, XION, XNEUT) <= kBalanceTolerance) {
        if (charge_met || closing) break;
        search_over = true;  // at the cap: the step below is the last
      } else {
        // Solve again at this pH; the secant keeps its previous point.
        closing = true;
        continue;
      }
    }
    if (k == 1) {
      ph_previous = PHC;
      PHC += kFirstPhStep;
    } else {
      if (residual != residual_previous) {
        saved.ph_slope = (PHC - ph_previous) / (residual - residual_previous);
      }
      ph_previous = PHC;
      damping = std::min(kDampingGrowth * damping, 1.0);
      if (residual * residual_previous < 0.0) damping *= kDampingOnSignChange;
      step = -residual * saved.ph_slope * damping;
      if (std::fabs(step) > kLargestPhStep) step = std::copysign(kLargestPhStep, step);
      PHC += step;
    }
    residual_previous = residual;
    if (search_over) break;
  }

  double total = 0.0;
  for (int64_t s = 0; s < N; ++s) total += XCZ[s];
  for (int64_t k = 0; k < NNEUT; ++k) total += XNEUT[k];
  for (int64_t j = 0; j < NION; ++j) total += XION[j];
  for (int64_t s = 0; s < N; ++s) XCZ[s] /= total;
  for (int64_t k = 0; k < NNEUT; ++k) XNEUT[k] /= total;
  for (int64_t j = 0; j < NION; ++j) XION[j] /= total;
  saved.species_total = total;
}

}  // namespace thermomodels
