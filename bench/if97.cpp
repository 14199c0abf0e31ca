// Timing of the IF97 region functions and the saturation line over grids of
// states, beside a plain term-by-term evaluation (std::pow per term and per
// sum) of the same coefficient tables. Each "naive_*" benchmark computes the
// same property as the library function listed above it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "water/if97/if97.h"

namespace {

using thermomodels::if97_detail::PowerTerm;
using Fn = double (*)(const double&, const double&);

// ---- Reference loop: kept here only, for comparison ----

// Copies of IAPWS-IF97 Tables 2, 10, 11, 30 (rows 2-40), 37 and 38.
const PowerTerm kTable2[] = {
    {0, -2, 0.14632971213167E+00}, {0, -1, -0.84548187169114E+00}, {0, 0, -0.37563603672040E+01}, {0, 1, 0.33855169168385E+01},
    {0, 2, -0.95791963387872E+00}, {0, 3, 0.15772038513228E+00}, {0, 4, -0.16616417199501E-01}, {0, 5, 0.81214629983568E-03},
    {1, -9, 0.28319080123804E-03}, {1, -7, -0.60706301565874E-03}, {1, -1, -0.18990068218419E-01}, {1, 0, -0.32529748770505E-01},
    {1, 1, -0.21841717175414E-01}, {1, 3, -0.52838357969930E-04}, {2, -3, -0.47184321073267E-03}, {2, 0, -0.30001780793026E-03},
    {2, 1, 0.47661393906987E-04}, {2, 3, -0.44141845330846E-05}, {2, 17, -0.72694996297594E-15}, {3, -4, -0.31679644845054E-04},
    {3, 0, -0.28270797985312E-05}, {3, 6, -0.85205128120103E-09}, {4, -5, -0.22425281908000E-05}, {4, -2, -0.65171222895601E-06},
    {4, 10, -0.14341729937924E-12}, {5, -8, -0.40516996860117E-06}, {8, -11, -0.12734301741641E-08}, {8, -6, -0.17424871230634E-09},
    {21, -29, -0.68762131295531E-18}, {23, -31, 0.14478307828521E-19}, {29, -38, 0.26335781662795E-22},
    {30, -39, -0.11947622640071E-22}, {31, -40, 0.18228094581404E-23}, {32, -41, -0.93537087292458E-25}};
const PowerTerm kTable10[] = {
    {0, 0, -0.96927686500217E+01}, {0, 1, 0.10086655968018E+02}, {0, -5, -0.56087911283020E-02}, {0, -4, 0.71452738081455E-01},
    {0, -3, -0.40710498223928E+00}, {0, -2, 0.14240819171444E+01}, {0, -1, -0.43839511319450E+01}, {0, 2, -0.28408632460772E+00},
    {0, 3, 0.21268463753307E-01}};
const PowerTerm kTable11[] = {
    {1, 0, -0.17731742473213E-02}, {1, 1, -0.17834862292358E-01}, {1, 2, -0.45996013696365E-01}, {1, 3, -0.57581259083432E-01},
    {1, 6, -0.50325278727930E-01}, {2, 1, -0.33032641670203E-04}, {2, 2, -0.18948987516315E-03}, {2, 4, -0.39392777243355E-02},
    {2, 7, -0.43797295650573E-01}, {2, 36, -0.26674547914087E-04}, {3, 0, 0.20481737692309E-07}, {3, 1, 0.43870667284435E-06},
    {3, 3, -0.32277677238570E-04}, {3, 6, -0.15033924542148E-02}, {3, 35, -0.40668253562649E-01}, {4, 1, -0.78847309559367E-09},
    {4, 2, 0.12790717852285E-07}, {4, 3, 0.48225372718507E-06}, {5, 7, 0.22922076337661E-05}, {6, 3, -0.16714766451061E-10},
    {6, 16, -0.21171472321355E-02}, {6, 35, -0.23895741934104E+02}, {7, 0, -0.59059564324270E-17}, {7, 11, -0.12621808899101E-05},
    {7, 25, -0.38946842435739E-01}, {8, 8, 0.11256211360459E-10}, {8, 36, -0.82311340897998E+01}, {9, 13, 0.19809712802088E-07},
    {10, 4, 0.10406965210174E-18}, {10, 10, -0.10234747095929E-12}, {10, 14, -0.10018179379511E-08},
    {16, 29, -0.80882908646985E-10}, {16, 50, 0.10693031879409E+00}, {18, 57, -0.33662250574171E+00},
    {20, 20, 0.89185845355421E-24}, {20, 35, 0.30629316876232E-12}, {20, 48, -0.42002467698208E-05},
    {21, 21, -0.59056029685639E-25}, {22, 53, 0.37826947613457E-05}, {23, 39, -0.12768608934681E-14},
    {24, 26, 0.73087610595061E-28}, {24, 40, 0.55414715350778E-16}, {24, 58, -0.94369707241210E-06}};
const PowerTerm kTable30[] = {
    {0, 0, -0.15732845290239E+02}, {0, 1, 0.20944396974307E+02}, {0, 2, -0.76867707878716E+01}, {0, 7, 0.26185947787954E+01},
    {0, 10, -0.28080781148620E+01}, {0, 12, 0.12053369696517E+01}, {0, 23, -0.84566812812502E-02}, {1, 2, -0.12654315477714E+01},
    {1, 6, -0.11524407806681E+01}, {1, 15, 0.88521043984318E+00}, {1, 17, -0.64207765181607E+00}, {2, 0, 0.38493460186671E+00},
    {2, 2, -0.85214708824206E+00}, {2, 6, 0.48972281541877E+01}, {2, 7, -0.30502617256965E+01}, {2, 22, 0.39420536879154E-01},
    {2, 26, 0.12558408424308E+00}, {3, 0, -0.27999329698710E+00}, {3, 2, 0.13899799569460E+01}, {3, 4, -0.20189915023570E+01},
    {3, 16, -0.82147637173963E-02}, {3, 26, -0.47596035734923E+00}, {4, 0, 0.43984074473500E-01}, {4, 2, -0.44476435428739E+00},
    {4, 4, 0.90572070719733E+00}, {4, 26, 0.70522450087967E+00}, {5, 1, 0.10770512626332E+00}, {5, 3, -0.32913623258954E+00},
    {5, 26, -0.50871062041158E+00}, {6, 0, -0.22175400873096E-01}, {6, 2, 0.94260751665092E-01}, {6, 26, 0.16436278447961E+00},
    {7, 2, -0.13503372241348E-01}, {8, 26, -0.14834345352472E-01}, {9, 2, 0.57922953628084E-03}, {9, 26, 0.32308904703711E-02},
    {10, 0, 0.80964802996215E-04}, {10, 1, -0.16557679795037E-03}, {11, 26, -0.44923899061815E-04}};
const PowerTerm kTable37[] = {{0, 0, -0.13179983674201E+02}, {0, 1, 0.68540841634434E+01}, {0, -3, -0.24805148933466E-01},
                              {0, -2, 0.36901534980333E+00}, {0, -1, -0.31161318213925E+01}, {0, 2, -0.32961626538917E+00}};
const PowerTerm kTable38[] = {{1, 1, 0.15736404855259E-02}, {1, 2, 0.90153761673944E-03}, {1, 3, -0.50270077677648E-02},
                              {2, 3, 0.22440037409485E-05}, {2, 9, -0.41163275453471E-05}, {3, 7, 0.37919454822955E-07}};
constexpr double kN1Region3 = 0.10658070028513E+01;
constexpr double kR = 0.461526;

// sum n d^a/dx^a d^b/dy^b (x^I y^J) with a, b in {0, 1}, one pow per power.
template <int N>
double NaiveSum(const PowerTerm (&terms)[N], double x, double y, int a, int b) {
  double sum = 0.0;
  for (const PowerTerm& t : terms) {
    const double fx = a == 0 ? std::pow(x, t.i) : t.i * std::pow(x, t.i - 1);
    const double fy = b == 0 ? std::pow(y, t.j) : t.j * std::pow(y, t.j - 1);
    sum += t.n * fx * fy;
  }
  return sum;
}

// Region 1: x = 7.1 - pi, y = tau - 1.222, d/dpi = -d/dx.
double R1(const double& p, const double& t, int a, int b) {
  return NaiveSum(kTable2, 7.1 - p / 16.53, 1386.0 / t - 1.222, a, b);
}
double NaiveR1V(const double& p, const double& t) { return 0.001 * kR * t / 16.53 * -R1(p, t, 1, 0); }
double NaiveR1H(const double& p, const double& t) { return kR * 1386.0 * R1(p, t, 0, 1); }
double NaiveR1S(const double& p, const double& t) { return kR * (1386.0 / t * R1(p, t, 0, 1) - R1(p, t, 0, 0)); }
double NaiveR1U(const double& p, const double& t) {
  return kR * t * (1386.0 / t * R1(p, t, 0, 1) + p / 16.53 * R1(p, t, 1, 0));
}

// Region 2 and 5: ideal part in tau, residual part in (pi, y).
template <int NI, int NR>
struct Gibbs {
  const PowerTerm (&ideal)[NI];
  const PowerTerm (&residual)[NR];
  double tstar, yshift;
  double G0(double p, double t, int b) const { return (b == 0 ? std::log(p) : 0.0) + NaiveSum(ideal, 1.0, tstar / t, 0, b); }
  double Gr(double p, double t, int a, int b) const { return NaiveSum(residual, p, tstar / t - yshift, a, b); }
  double V(double p, double t) const { return 0.001 * kR * t / p * (1.0 + p * Gr(p, t, 1, 0)); }
  double H(double p, double t) const { return kR * tstar * (G0(p, t, 1) + Gr(p, t, 0, 1)); }
  double S(double p, double t) const {
    return kR * (tstar / t * (G0(p, t, 1) + Gr(p, t, 0, 1)) - G0(p, t, 0) - Gr(p, t, 0, 0));
  }
  double U(double p, double t) const {
    return kR * t * (tstar / t * (G0(p, t, 1) + Gr(p, t, 0, 1)) - 1.0 - p * Gr(p, t, 1, 0));
  }
};
const Gibbs<9, 43> kNaive2{kTable10, kTable11, 540.0, 0.5};
const Gibbs<6, 6> kNaive5{kTable37, kTable38, 1000.0, 0.0};
double NaiveR2V(const double& p, const double& t) { return kNaive2.V(p, t); }
double NaiveR2H(const double& p, const double& t) { return kNaive2.H(p, t); }
double NaiveR2S(const double& p, const double& t) { return kNaive2.S(p, t); }
double NaiveR2U(const double& p, const double& t) { return kNaive2.U(p, t); }
double NaiveR5V(const double& p, const double& t) { return kNaive5.V(p, t); }
double NaiveR5H(const double& p, const double& t) { return kNaive5.H(p, t); }
double NaiveR5S(const double& p, const double& t) { return kNaive5.S(p, t); }
double NaiveR5U(const double& p, const double& t) { return kNaive5.U(p, t); }

// Region 3: x = delta, y = tau, plus n1 ln(delta).
double R3(double t, double v, int a, int b) { return NaiveSum(kTable30, 1.0 / (322.0 * v), 647.096 / t, a, b); }
double NaiveR3P(const double& t, const double& v) {
  const double delta = 1.0 / (322.0 * v);
  return 0.001 / v * kR * t * delta * (kN1Region3 / delta + R3(t, v, 1, 0));
}
double NaiveR3H(const double& t, const double& v) {
  const double delta = 1.0 / (322.0 * v);
  return kR * t * (647.096 / t * R3(t, v, 0, 1) + kN1Region3 + delta * R3(t, v, 1, 0));
}
double NaiveR3S(const double& t, const double& v) {
  return kR * (647.096 / t * R3(t, v, 0, 1) - kN1Region3 * std::log(1.0 / (322.0 * v)) - R3(t, v, 0, 0));
}
double NaiveR3U(const double& t, const double& v) { return kR * 647.096 * R3(t, v, 0, 1); }

// ---- Grids of states ----

struct Grid {
  double a0, a1, b0, b1;  // ranges of the first and second argument
};
constexpr Grid kRegion1{1.0, 80.0, 280.0, 620.0};
constexpr Grid kRegion2{0.001, 10.0, 700.0, 1000.0};
constexpr Grid kRegion3{650.0, 850.0, 0.0015, 0.006};
constexpr Grid kRegion5{0.5, 50.0, 1100.0, 2200.0};
constexpr int kSide = 8;

std::vector<double> Points(const Grid& g) {
  std::vector<double> pts;
  for (int i = 0; i < kSide; ++i)
    for (int j = 0; j < kSide; ++j) {
      pts.push_back(g.a0 + (g.a1 - g.a0) * i / (kSide - 1));
      pts.push_back(g.b0 + (g.b1 - g.b0) * j / (kSide - 1));
    }
  return pts;
}

void BM_Grid(benchmark::State& state, Fn f, Grid grid) {
  const std::vector<double> pts = Points(grid);
  for (auto _ : state)
    for (std::size_t k = 0; k < pts.size(); k += 2) benchmark::DoNotOptimize(f(pts[k], pts[k + 1]));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pts.size() / 2));
}

void BM_Line(benchmark::State& state, double (*f)(const double&), double lo, double hi) {
  std::vector<double> xs;
  for (int k = 0; k < kSide * kSide; ++k) xs.push_back(lo + (hi - lo) * k / (kSide * kSide - 1));
  for (auto _ : state)
    for (double x : xs) benchmark::DoNotOptimize(f(x));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(xs.size()));
}

#define IF97_PAIR(name, grid)                                   \
  BENCHMARK_CAPTURE(BM_Grid, IF97##name, thermomodels::IF97##name, grid); \
  BENCHMARK_CAPTURE(BM_Grid, naive_##name, Naive##name, grid)

IF97_PAIR(R1V, kRegion1);
IF97_PAIR(R1H, kRegion1);
IF97_PAIR(R1S, kRegion1);
IF97_PAIR(R1U, kRegion1);
IF97_PAIR(R2V, kRegion2);
IF97_PAIR(R2H, kRegion2);
IF97_PAIR(R2S, kRegion2);
IF97_PAIR(R2U, kRegion2);
IF97_PAIR(R3P, kRegion3);
IF97_PAIR(R3H, kRegion3);
IF97_PAIR(R3S, kRegion3);
IF97_PAIR(R3U, kRegion3);
IF97_PAIR(R5V, kRegion5);
IF97_PAIR(R5H, kRegion5);
IF97_PAIR(R5S, kRegion5);
IF97_PAIR(R5U, kRegion5);
BENCHMARK_CAPTURE(BM_Line, IF97PSAT, thermomodels::IF97PSAT, 273.16, 647.0);
BENCHMARK_CAPTURE(BM_Line, IF97TSAT, thermomodels::IF97TSAT, 0.000611, 22.0);

}  // namespace
