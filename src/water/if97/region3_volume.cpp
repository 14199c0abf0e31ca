// Specific volume of water in IF97 region 3 from pressure and temperature by
// solving the region's basic equation p3(T, v) = p (IF97 Eq. 28, Table 30)
// for v: a liquid-like or vapour-like branch, a start from zone correlations
// fitted around the critical point, a short secant refinement, then a
// safeguarded secant iteration kept inside a bracket in [0.0013, 0.00882].
//
// Everything a call needs is local to it, so the functions are reentrant and
// give the same answer whatever was called before.
#include <algorithm>
#include <cmath>

#include "water/if97/if97.h"

namespace thermomodels {

namespace {

constexpr double kCriticalTemperature = 647.096;  // K
constexpr double kCriticalPressure = 22.064;      // MPa
// IF97PSAT at the critical temperature: the end of the saturation bridge.
constexpr double kBridgePressure = 22.0639999998894;      // MPa
constexpr double kCriticalVolume = 0.003105590062111801;  // m3/kg, 1/322
// Slope [MPa/K] of the line p = 22.064 + slope (T - Tc) that separates the
// liquid-like from the vapour-like side above the critical temperature.
constexpr double kSideLineSlope = 0.26824840231251584;
// Temperature at which the side line reaches 100 MPa: vapour-like above it.
constexpr double kSideLineEnd = 937.6326791680001;  // K
constexpr double kVolumeMin = 0.0013;               // m3/kg, range of the iteration
constexpr double kVolumeMax = 0.00882;              // m3/kg
constexpr double kNotConverged = -1000.0;
constexpr int kMaxStartPasses = 50;
constexpr int kMaxPasses = 50;

// Region-3 pressure along the call's isotherm, counting its evaluations.
class Isotherm {
 public:
  Isotherm(double temperature, int64_t& evaluations)
      : temperature_(temperature), evaluations_(evaluations) {}
  double operator()(double volume) const {
    ++evaluations_;
    return IF97R3P(temperature_, volume);
  }

 private:
  double temperature_;
  int64_t& evaluations_;
};

// sign(r) |r|^(1/2), sign(r) |r|^(1/4), sign(r) |r|^(1/8); sign(0) is +.
struct SignedRoots {
  double q2, q4, q8;
  explicit SignedRoots(double r) {
    const double sign = r < 0.0 ? -1.0 : 1.0;
    const double root2 = std::sqrt(std::fabs(r));
    const double root4 = std::sqrt(root2);
    q2 = sign * root2;
    q4 = sign * root4;
    q8 = sign * std::sqrt(root4);
  }
};

// Zone correlations of the start volume, each a fit in the distances
// dp [MPa] and dT [K] from the end of the saturation bridge.
constexpr double kZoneSlope = 3.727888;  // K/MPa, inverse of the side line's slope

// clang-format off
double Zone1(double dp, double dT) {
  const double c = kZoneSlope, vc = kCriticalVolume;
  const SignedRoots q((0.05 * dp + c) * dp - (1 - 0.05 * dT) * dT);
  const double q2 = q.q2, q4 = q.q4, q8 = q.q8;
  const double F = ((((-0.00490643103428227 * q8 + 0.0263271308078056) * q8 - 0.0564778221803544) * q8 +
                     0.0608359392259313) * q8 - 0.0332156380721166) * q8 + 0.0074887444872508;
  const double G = q8 * (((dT * q8 * q2 * (-2.51644090693395e-12 * q2 * dT - 3.83218936572771e-9) -
                           0.000161628813019544) * q8 + 0.000617493752916276) * q8 -
                         0.000797144480049465) + 0.000348351238844209;
  return vc - 0.000118427102787648 * q8 +
         ((((-4.55907876060086e-5 * q2 + 0.00153431224177324) * q4 - 0.0106812857513379) * q8 +
           0.0172887471616688) * q8 - 0.00876842774061156) * q2 +
         dT * (F + G * dT);
}

double Zone2(double dp, double dT) {
  const double c = kZoneSlope, vc = kCriticalVolume;
  const SignedRoots q((0.02 * dp + c) * dp - (1 - 0.02 * dT) * dT);
  const double q4 = q.q4, q8 = q.q8;
  const double dp2 = dp * dp, dp4 = dp2 * dp2, dp5 = dp4 * dp, dT2 = dT * dT;
  const double H = ((-0.00762583183784896 * dT - 9.38937201479048e-7 * dT2 * dp5) +
                    (-0.0291792573898258 * dp + 0.0134876477124427 +
                     dT * (dp2 * dT2 * (dp4 * (-2.39512088942747e-10 * dT2 + 4.54845318075243e-8) -
                                        1.36017045350123e-6) + 0.00634557820845727)) * q4) * q4;
  const double K = q4 * ((0.000125685384163741 * dp + 3.75831122504734e-5 * dT2) * dp2 + H) +
                   0.00195041855369227;
  return 0.413013399556249 * dp2 + vc + (0.00135336193587336 * dp - 0.0487687959756292) * dT2 +
         q8 * (0.0178357790645547 * dp - 0.585398228522495 * dp2 +
               (5.94938907295817e-5 * dp4 +
                ((3.95174104863528e-8 * dp * dT2 - 0.000141140213612559) * dT + 0.122945704230431) * dT) * dT +
               (-0.119057019174713 * dT2 +
                (-0.0760561375637742 * dp - 0.00194570794816001 + 0.299546836134716 * dp2 +
                 0.0427529172119353 * dT2 +
                 (0.013939165722125 * dT + (-0.0278468126229603 * dp * dT + K * q8) * q8) * q8) * q8) * q8);
}

double Zone3(double dp, double dT) {
  const double c = kZoneSlope, vc = kCriticalVolume;
  const SignedRoots q((0.2 * dp - c) * dp + (0.02 * dT + 1) * dT);
  const double q4 = q.q4, q8 = q.q8;
  const double dp2 = dp * dp, dT2 = dT * dT, dT3 = dT2 * dT, dT4 = dT2 * dT2;
  const double X1 = -0.00223745526548978 * dp2 +
                    (dT * (-1.63238458626065e-7 * dT3 + 0.0122241653100711 +
                           (dp2 * (-1.1941903809545e-6 * dp - 6.60478916724586e-7 * dT) +
                            dT4 * (-4.19492118766324e-12 * dT + 5.80172883857322e-10)) * q4) -
                     0.0113782324304171) * q4;
  const double X3 = 0.0753543651141502 * dT +
                    (-0.0247039860992736 * dp - 0.0769927079971342 * dT + X1 * q4) * q8;
  const double X5 = -5.26750160303121e-5 * dp * dT3 + (1.04163340234817e-7 * dT4 + 1.22116000890535) * dp2 +
                    ((-0.00212663865441498 * dp - 0.335234582911578) * dp2 + 0.00218460997189951 +
                     (0.0165284534427183 * dT - 0.0294106550573793) * dp - 0.0152017319222412 * dT2 +
                     q4 * X3) * q8;
  return -0.0151226672652382 * dT2 + vc + 0.000219075237766159 * dT3 +
         ((0.000424198281757227 * dp2 + 0.487932009131791) * dp - 0.00470815410341398 +
          0.000105510662596481 * dT3) * dp +
         1.14144924756274e-5 * dT4 +
         q8 * (-1.4370899198291 * dp2 + 0.0305426466180436 * dT2 +
               (5.09486478795057e-7 * dT - 1.74690467895005e-5) * dT4 + X5 * q8);
}

double Zone4(double dp, double dT) {
  const double c = kZoneSlope, vc = kCriticalVolume;
  const SignedRoots q((0.5 * dp - c) * dp + (0.01 * dT + 1) * dT);
  const double q4 = q.q4, q8 = q.q8;
  const double dT2 = dT * dT;
  return vc + q4 * ((-7.92816174523651e-5 * q8 + 0.000713823865906627) * q8 + 0.000643907516287541) +
         dT * (((((-0.0185997001981635 * q8 + 0.118639803204261) * q8 - 0.303433314767063) * q8 +
                 0.389907326497054) * q8 - 0.252680942664202) * q8 + 0.0664933791260178 +
               dT2 * ((2.56374705633001e-11 * dT2 - 3.92289014485859e-7) * q8 + 5.71985898251817e-7)) +
         dp * (q8 * ((((0.0785791469799311 * q8 - 0.496046407723234) * q8 + 1.25833184484538) * q8 -
                      1.60832918484839) * q8 + 1.04023037508896) - 0.274711031859796);
}

double Zone5(double dp, double dT) {
  const double c = kZoneSlope, vc = kCriticalVolume;
  const SignedRoots q((0.02 * dp + c) * dp + (0.005 * dT - 1) * dT);
  const double q4 = q.q4, q8 = q.q8;
  const double dp2 = dp * dp, dp3 = dp2 * dp, dp4 = dp2 * dp2, dp5 = dp4 * dp, dp6 = dp3 * dp3;
  const double dT2 = dT * dT, dT3 = dT2 * dT, dT4 = dT2 * dT2;
  const double Y1 =
      (0.0007664258159241 * dp + 0.0127931680641201 + 2.25545818343096e-5 * dp2 +
       (-4.3128288517517e-6 * dp + 4.88412051812406e-8 * dp2 +
        (-3.56918730340587e-10 * dp2 + 1.91456960283807e-7) * dT) * dT) * dp +
      0.0396910783770869 +
      (-0.00550701260682904 * dp +
       (1.3349192675752e-13 * dp6 + 0.000303625591962761 +
        (2.52719052207758e-12 * dp4 + 1.2453606765958e-13 * dT3) * dT) * dT +
       (-9.58920650759504e-5 * dp2 - 0.00607043036830454 + 1.02650393925122e-8 * dp4 +
        dp * dT * (2.87671539256386e-6 - 1.55995837253683e-16 * dT * dp5)) * q4) * q4;
  const double Y2 = (-0.000370031971083042 * dp - 0.00313609300142694 +
                     (7.59164825488741e-8 * dp2 + 2.60485012629641e-5) * dT - 1.69209023050985e-10 * dp5) * dT -
                    0.00721941889977446 + q4 * Y1;
  const double Y3 = (2.00848495263495e-8 * dT - 5.38255397523665e-7) * dp4 + Y2 * q8;
  const double Y5 = -2.89296115834392e-8 * dT * dp4 +
                    (-8.1713295796082e-14 * dp3 * dT + 3.2272667481884e-7 - 1.20527379090314e-11 * dT2) * dT3 +
                    (-5.19162117274822e-8 * dp5 +
                     (-8.13610292866497e-10 * dT - 1.94260348835721e-7 + 3.91792707971363e-14 * dT3) * dT3 +
                     Y3 * q8) * q8;
  return -0.112702460700323 * dp + vc + 0.0301448430808593 * dT +
         (-8.77499173794533e-21 * dT4 * dp5 - 0.000335916193888413) * dT2 +
         q8 * (0.00018715253091771 * dT2 +
               (0.00356911241995526 * dp - 4.18986486825425e-12 * dT2 * dp5 + Y5 * q8) * q8);
}

double Zone6(double dp, double dT) {
  const double c = kZoneSlope, vc = kCriticalVolume;
  const double r = (0.1 * dp - c) * dp + (0.002 * dT + 1) * dT;
  const SignedRoots q(r);
  const double q2 = q.q2, q4 = q.q4, u = q4 * q2;
  const double dp2 = dp * dp, dp3 = dp2 * dp;
  const double A = ((((1.84266268449228e-11 * dp3 * q4 - 6.35909964040088e-5) * q2 + 0.000439053317238974) * q4 -
                     0.000245865969502991) * q4 - 0.000407113420864393) * q4 + 3.29890852403526e-5;
  return ((-1.15529419916092e-7 * dp2 - 0.00214747822942469 + 0.000785448130272979 * q4) * q2 +
          0.00321621088787326) * u +
         vc +
         dT * (A + (q4 * (2.62763491213355e-6 * u - 3.57933830043717e-5) + 3.7978195570912e-5 +
                    (q2 * dT * (5.25013249033141e-10 - 2.59174703895765e-16 * dp2 * r) +
                     2.52360667718127e-7 - 5.87768799763869e-8 * u) * dT) * dT);
}

// The high-pressure correlation, a polynomial in a = P/103 - 1, b = T/600 - 1.
double Zone7(double pressure, double temperature) {
  const double a = pressure / 103.0 - 1.0, b = temperature / 600.0 - 1.0;
  const double a2 = a * a, a3 = a2 * a, a4 = a2 * a2, a8 = a4 * a4;
  const double b2 = b * b, b3 = b2 * b, b4 = b2 * b2, b5 = b4 * b, b6 = b3 * b3, b12 = b6 * b6;
  const double a2b2 = a2 * b2;
  const double E = a2b2 * (((-183657231751508992.0 * a2b2 + 11950283625768800.0) * a2b2 - 281900719117892.0) * a2b2 +
                           2783392577409.6) - 9156698413.1259;
  const double J = b4 * a2 * (-320317.604761443 * b6 +
                              a4 * (a2 * b6 * (11416042249924.4 * b12 + a8 * E) + 197.974246206705));
  return (((-0.0254795720214314 * b3 + 0.010336719420718) * b2 + 0.00130245527248376) * b +
          0.00125537070183712) +
         a * (-0.00960082399513164 * b2 - 0.000185955960512067 +
              (0.474944869074855 * b5 +
               (b * (b3 * (30.7310678953686 * b4 - 0.687909934564732) - 0.00503420527214133) +
                a2 * (a3 * (654.223452156635 * b6 + J) - 0.000168658389645091)) * a) * a);
}
// clang-format on

// Zone code read as the start correlation reads it (its low 32 bits).
int32_t ZoneOf(const int64_t& zone) { return static_cast<int32_t>(zone); }

// The slope model (dp/dv)_T [MPa kg/m3] of the start search.
double SlopeModel(double volume, double temperature) {
  const double excess = volume - 0.0010351966873706003;
  return 0.0012768025924861732 / volume - 0.0002823763980618694 * temperature / (excess * excess);
}

double StartVolume(double pressure, double temperature, int32_t zone, const Isotherm& p) {
  const auto correlation = [&](double at_pressure) {
    const int64_t code = zone;
    return IF97R3VGS(at_pressure, temperature, code);
  };
  double va = correlation(pressure);
  if (zone >= 5) {
    // One slope-model step from the correlation, then one secant.
    const double pa = p(va);
    const double vb = va + (pressure - pa) / SlopeModel(va, temperature);
    const double pb = p(vb);
    if (std::fabs(pb - pa) >= 1e-32) return va + (vb - va) * (pressure - pa) / (pb - pa);
    return 0.5 * (va + vb);
  }
  const double dp = std::fabs(pressure - kBridgePressure);
  const double dT = std::fabs(temperature - kCriticalTemperature);
  // Tighter near the critical point, where the isotherms flatten.
  const double tolerance = 5e-5 / (10.0 / std::max(1.9999999999999998e-10, 4.0 * dp + dT) + 1.0);
  if (dp < 0.0015 && dT < 0.005) {
    if (zone == 1 || zone == 2) va *= 0.99;
    if (zone == 3 || zone == 4) va *= 1.01;
  }
  double pa = p(va);
  double vb;
  if (dp < 0.3 && dT < 1.0) {
    vb = (kCriticalVolume - va) * (pa - pressure) > 0.0 ? 2.0 * va - correlation(pa)
                                                        : correlation(2.0 * pressure - pa);
  } else {
    vb = va - (pa - pressure) / std::min(SlopeModel(va, temperature), -1e-10);
  }
  double pb = p(vb);
  if (std::fabs(pb - pa) < 1e-14) return 0.5 * (va + vb);
  const bool at_critical_point = dp < 1.5e-6 && dT < 5e-6;
  double w = vb;
  for (int pass = 1; pass <= kMaxStartPasses; ++pass) {
    w = va + (vb - va) * (pressure - pa) / (pb - pa);
    if (at_critical_point) w = 0.5 * (w + vb);
    if (std::fabs(w - vb) < tolerance) return w;
    const double q = p(w);
    if (std::fabs(q - pressure) < std::fabs(pb - pressure) ||
        std::fabs(q - pressure) < std::fabs(pressure - pa)) {
      va = vb;
      pa = pb;
      vb = w;
      pb = q;
    } else {
      vb = 2.0 * vb - va;
      pb = p(vb);
    }
    if (std::fabs(pb - pa) < 1e-14) return 0.5 * (va + vb);
  }
  return w;
}

// Puts a volume inside the iteration range; a value that is not a number
// goes to the lower limit.
double ClampToRange(double volume) {
  if (!(volume >= kVolumeMin)) return kVolumeMin;
  return volume > kVolumeMax ? kVolumeMax : volume;
}

// Secant root of p(v) = P through (v1, p1) and (v2, p2), or the bracket's
// middle where the two pressures agree.
double SecantRoot(double pressure, double v1, double p1, double v2, double p2, double middle) {
  if (std::fabs(p2 - p1) > 1e-15) return ((pressure - p1) * v2 - (pressure - p2) * v1) / (p2 - p1);
  return middle;
}

// Bracket state of the safeguarded secant iteration.
enum BracketState : int {
  kSecant = 0,      // no bracket to use (or the slope changed sign)
  kLowerOnly = 1,   // only the lower end is a point of the isotherm
  kUpperOnly = 2,   // only the upper end is
  kBracketNew = 3,  // both ends just became points; the next pass uses them
  kBracketed = 4    // bracket steps between the two ends
};

double IterateVolume(double pressure, double start, const Isotherm& p) {
  // A start outside the range is moved just inside the nearer limit before
  // anything is evaluated, so no volume outside it is ever accepted.
  double v = start;
  if (!(v >= kVolumeMin)) {
    v = 0.0013000100129999998;
  } else if (v > kVolumeMax) {
    v = 0.008819989911799999;
  }
  int sign_memory = 0;  // sign of the last secant slope, 0 before the first
  int state = kSecant;  // BracketState
  int64_t moves = 0;    // > 0: consecutive points on the upper side, < 0: lower
  double v_prev = v, p_prev = 0.0;
  double v_lower = kVolumeMin, p_lower = 0.0;
  double v_upper = kVolumeMax, p_upper = 0.0;
  for (int pass = 1; pass <= kMaxPasses; ++pass) {
    const double pv = p(v);
    const double residual =
        std::fabs(pv) < 1.0 ? std::fabs(pv - pressure) : std::fabs(pressure / pv - 1.0);
    double w;
    if (pass == 1) {
      // A small step away from the nearer limit gives the first secant.
      w = kVolumeMax - v > v - kVolumeMin ? 1.00000001 * v + 1e-8 : 0.99999999 * v - 1e-8;
    } else {
      if (state == kBracketNew) state = kBracketed;
      const double dv = v_prev - v;
      const double divisor = std::fabs(dv) < 1e-100 ? std::copysign(1e-100, dv) : dv;
      const double slope = (p_prev - pv) / divisor;
      if (slope > 0.0) {
        if (sign_memory < 0) state = kSecant;
        sign_memory = 1;
      } else {
        if (sign_memory >= 1) state = kSecant;
        sign_memory = -1;
      }
      if (pass == 2) {
        // Place the first two points against the target pressure. "Near" is
        // the point on the lower-end side of the pair along the isotherm (the
        // smaller volume where p falls with v, the larger where it rises).
        const bool falling = slope <= 0.0;
        const bool current_smaller = v < v_prev;
        const double v_small = current_smaller ? v : v_prev,
                     p_small = current_smaller ? pv : p_prev;
        const double v_big = current_smaller ? v_prev : v, p_big = current_smaller ? p_prev : pv;
        const double v_near = falling ? v_small : v_big, p_near = falling ? p_small : p_big;
        const double v_far = falling ? v_big : v_small, p_far = falling ? p_big : p_small;
        // Strictly before or strictly beyond the target along the isotherm.
        const auto before_target = [&](double p_at) {
          return falling ? p_at > pressure : pressure > p_at;
        };
        const auto beyond_target = [&](double p_at) {
          return falling ? pressure > p_at : p_at > pressure;
        };
        if (before_target(p_near)) {
          v_lower = v_near;
          p_lower = p_near;
          state = kLowerOnly;
          moves = -1;
        } else if (beyond_target(p_far)) {
          v_upper = v_far;
          p_upper = p_far;
          state = kUpperOnly;
          moves = 1;
        } else {
          v_lower = v_far;
          p_lower = p_far;
          v_upper = v_near;
          p_upper = p_near;
          state = kBracketNew;
          moves = 0;
        }
      }
      const double middle = 0.5 * (v_lower + v_upper);
      if (state != kBracketed) {
        w = SecantRoot(pressure, v_prev, p_prev, v, pv, middle);
      } else {
        const double c1 = SecantRoot(pressure, v_upper, p_upper, v, pv, middle);
        const double c2 = SecantRoot(pressure, v_lower, p_lower, v, pv, middle);
        if (c1 < v_lower) {
          if (c2 >= v_lower) {
            w = c2 > v_upper ? middle : 0.5 * (v_lower + c2);
          } else {
            w = 0.5 * (c1 + c2);
          }
        } else if (c1 > v_upper) {
          if (c2 <= v_upper) {
            w = c2 < v_lower ? middle : 0.5 * (v_upper + c2);
          } else {
            w = 0.5 * (c1 + c2);
          }
        } else if (c2 < v_lower) {
          w = 0.5 * (v_lower + c1);
        } else if (c2 > v_upper) {
          w = 0.5 * (v_upper + c1);
        } else if (moves >= 4) {
          w = std::min(c1, c2);
        } else if (moves <= -4) {
          w = std::max(c1, c2);
        } else {
          w = 0.5 * (c1 + c2);
        }
      }
      if (pass >= 3) {
        // Move the end on the current point's side of the target.
        const bool upper_side =
            (sign_memory < 0 && pressure > pv) || (sign_memory > 0 && pressure <= pv);
        if (upper_side) {
          v_upper = v;
          p_upper = pv;
          moves = std::max<int64_t>(moves, 0) + 1;
          if (state == kLowerOnly) state = kBracketNew;
        } else {
          v_lower = v;
          p_lower = pv;
          moves = std::min<int64_t>(moves, 0) - 1;
          if (state == kUpperOnly) state = kBracketNew;
        }
      }
      // Many steps to one side: pull towards the far limit of the range.
      if (moves < -5) {
        const double m = static_cast<double>(-moves / 5);
        w = (w + (m - 1.0) * kVolumeMax) / m;
      } else if (moves > 5) {
        const double m = static_cast<double>(moves / 5);
        w = (w + (m - 1.0) * kVolumeMin) / m;
      }
      w = ClampToRange(w);
    }
    double step = std::fabs(v) < 1.0 ? std::fabs(w - v) : std::fabs(w / v - 1.0);
    if (step < 1e-15) {
      // A stalled step: nudge it, or split the bracket when there is no side.
      if (moves > 0) {
        w = ClampToRange(1.000000000000001 * w);
      } else if (moves == 0) {
        w = 0.5 * (v_lower + v_upper);
        step = 0.5 * (std::fabs(v_lower) < 1.0 ? std::fabs(v_lower - v_upper)
                                               : std::fabs(v_upper / v_lower - 1.0));
      } else {
        w = ClampToRange(0.999999999999999 * w);
      }
    }
    if (residual < 1e-8 && (step < 1e-8 || residual < 1e-15)) return v;
    v_prev = v;
    p_prev = pv;
    v = w;
  }
  return kNotConverged;
}

int64_t LiquidZone(double pressure, double temperature) {
  if (pressure > 40.0) return 7;
  if (pressure > 24.0) return 5;
  return temperature > kCriticalTemperature ? 2 : 1;
}

int64_t VapourZone(double pressure) {
  if (pressure > 40.0) return 7;
  if (pressure > 24.0) return 6;
  return pressure > kBridgePressure ? 3 : 4;
}

// Liquid-like side above the saturation line below Tc and above the side
// line above it; at and beyond the side line's 100 MPa end, vapour-like.
bool LiquidSide(double pressure, double temperature) {
  if (temperature >= kSideLineEnd) return false;
  if (temperature <= kCriticalTemperature) return pressure > IF97PSAT(temperature);
  return pressure > kCriticalPressure + kSideLineSlope * (temperature - kCriticalTemperature);
}

}  // namespace

int64_t Region3ZoneCode(const double& P, const double& T, Region3Side side) {
  const bool liquid =
      side == Region3Side::kLiquid || (side == Region3Side::kChosen && LiquidSide(P, T));
  return liquid ? LiquidZone(P, T) : VapourZone(P);
}

double Region3Volume(const double& P, const double& T, Region3Side side,
                     int64_t& pressure_evaluations) {
  pressure_evaluations = 0;
  if (side == Region3Side::kChosen && std::fabs(P - kCriticalPressure) < 1e-8 &&
      std::fabs(T - kCriticalTemperature) < 1e-8) {
    return kCriticalVolume;
  }
  const Isotherm p(T, pressure_evaluations);
  const int32_t zone = ZoneOf(Region3ZoneCode(P, T, side));
  return IterateVolume(P, StartVolume(P, T, zone, p), p);
}

double IF97R3VIT(const double& P, const double& T) {
  int64_t evaluations = 0;
  return Region3Volume(P, T, Region3Side::kChosen, evaluations);
}

double IF97R3VITV(const double& P, const double& T) {
  int64_t evaluations = 0;
  return Region3Volume(P, T, Region3Side::kVapour, evaluations);
}

double IF97R3VITL(const double& P, const double& T) {
  int64_t evaluations = 0;
  return Region3Volume(P, T, Region3Side::kLiquid, evaluations);
}

double IF97R3VST(const double& P, const double& T, const int64_t& ZONE) {
  int64_t evaluations = 0;
  return StartVolume(P, T, ZoneOf(ZONE), Isotherm(T, evaluations));
}

double IF97R3VGS(const double& P, const double& T, const int64_t& ZONE) {
  const double dp = P - kBridgePressure;
  const double dT = T - kCriticalTemperature;
  switch (ZoneOf(ZONE)) {
    case 1: return Zone1(dp, dT);
    case 2: return Zone2(dp, dT);
    case 3: return Zone3(dp, dT);
    case 4: return Zone4(dp, dT);
    case 5: return Zone5(dp, dT);
    case 6: return Zone6(dp, dT);
    default: return Zone7(P, T);
  }
}

double IF97R3VNW(const double& P, const double& T, const double& V0) {
  int64_t evaluations = 0;
  return IterateVolume(P, V0, Isotherm(T, evaluations));
}

}  // namespace thermomodels
