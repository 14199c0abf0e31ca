// The CPA routine against an independent 50-digit evaluation of the model
// (reference/cpa_reference.py and the table it writes): volume root, Z,
// ln phi and the departures of cross-associating, solvating and inert
// mixtures, with absent components, in every order of the components.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cpa/cpa_fixture.h"

namespace {

using namespace cpa_test;

struct Row {
  int64_t phase = 0;
  double t = 0, p = 0, v = 0, z = 0, dh = 0, ds = 0, dg = 0;
  std::vector<double> x, lnphi;
};

std::map<std::string, Row> ReadTable() {
  const auto path =
      std::filesystem::path(__FILE__).parent_path() / "reference" / "cpa_reference.txt";
  std::ifstream in(path);
  std::map<std::string, Row> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ss(line);
    std::string name;
    Row r;
    size_t n = 0;
    ss >> name >> r.phase >> r.t >> r.p >> n;
    r.x.resize(n);
    r.lnphi.resize(n);
    for (double& v : r.x) ss >> v;
    ss >> r.v >> r.z;
    for (double& v : r.lnphi) ss >> v;
    ss >> r.dh >> r.ds >> r.dg;
    if (ss) rows[name] = r;
  }
  return rows;
}

// How the cross association of water and the inert is given.
enum class Solvation { kNone, kFlagged, kExplicit };

struct Case {
  const char* row;
  std::vector<Component> comps;
  // k_ij records (c1, c2) of ordered pairs of indices into comps.
  struct Kij {
    size_t i, j;
    double c1, c2;
  };
  std::vector<Kij> kij;
  bool water_alpha = false;  // component 0 takes the water alpha function
  Solvation solvation = Solvation::kNone;
};

const Case kCases[] = {
    {"water_methanol_liquid", {kWater, kMethanol}, {}, false, Solvation::kNone},
    {"water_methanol_vapour", {kWater, kMethanol}, {}, false, Solvation::kNone},
    {"water_methanol_kij_liquid",
     {kWater, kMethanol},
     {{0, 1, -0.09, 0.01}, {1, 0, -0.03, -0.02}},
     false,
     Solvation::kNone},
    {"water_methane_liquid", {kWater, kMethaneCpa}, {}, false, Solvation::kNone},
    {"water_methane_vapour", {kWater, kMethaneCpa}, {}, false, Solvation::kNone},
    {"water_alpha_methane_liquid", {kWater, kMethaneCpa}, {}, true, Solvation::kNone},
    {"solvating_liquid", {kWater, kMethaneCpa}, {}, false, Solvation::kFlagged},
    {"solvating_liquid", {kWater, kMethaneCpa}, {}, false, Solvation::kExplicit},
    {"solvating_vapour", {kWater, kMethaneCpa}, {}, false, Solvation::kFlagged},
    {"solvating_vapour", {kWater, kMethaneCpa}, {}, false, Solvation::kExplicit},
    {"solvating_water_absent", {kWater, kMethaneCpa}, {}, false, Solvation::kFlagged},
    {"solvating_water_absent", {kWater, kMethaneCpa}, {}, false, Solvation::kExplicit},
    {"water_methanol_methane_absent",
     {kWater, kMethanol, kMethaneCpa},
     {},
     false,
     Solvation::kNone},
    {"water_methanol_methane_one_absent",
     {kWater, kMethanol, kMethaneCpa},
     {},
     false,
     Solvation::kNone},
};

// The system with component number p + 1 holding comps[number[p]].
CpaSystem Build(const Case& c, const std::vector<size_t>& number, int64_t& ih2o) {
  const size_t n = c.comps.size();
  std::vector<Component> comps(n);
  std::vector<int64_t> num_of(n);
  for (size_t p = 0; p < n; ++p) {
    comps[p] = c.comps[number[p]];
    num_of[number[p]] = static_cast<int64_t>(p) + 1;
  }
  CpaSystem sys(comps);
  for (const auto& k : c.kij) sys.SetKij(num_of[k.i], num_of[k.j], k.c1, k.c2);
  ih2o = c.water_alpha ? num_of[0] : 0;
  const size_t w = static_cast<size_t>(num_of[0] - 1), inert = static_cast<size_t>(num_of[1] - 1);
  if (c.solvation == Solvation::kFlagged) {
    sys.ecrflg[inert * n + w] = 1.0;  // ECRFLG(water, inert), one order only
  } else if (c.solvation == Solvation::kExplicit) {
    sys.vij[2 * (inert * n + w)] = kWater.av;  // CPAVIJ(1, water, inert)
    sys.vijset[w] = 1.0;
    sys.eij[inert * n + w] = 0.5 * kWater.au;  // CPAEIJ(water, inert)
  }
  return sys;
}

TEST(Reference, IndependentEvaluationInEveryComponentOrder) {
  const auto table = ReadTable();
  ASSERT_EQ(table.size(), 11u) << "reference table not found or incomplete";
  for (const Case& c : kCases) {
    const Row& r = table.at(c.row);
    const size_t n = c.comps.size();
    ASSERT_EQ(r.x.size(), n);
    const double rt = thermomodels::kCpaRgas * r.t;
    std::vector<size_t> perm(n);
    for (size_t i = 0; i < n; ++i) perm[i] = i;
    do {
      // The order permuted either in the component numbers (positions in
      // number order) or in the positions (numbers as listed).
      for (bool renumber : {true, false}) {
        ResetCpaState();
        std::vector<size_t> natural(n);
        for (size_t i = 0; i < n; ++i) natural[i] = i;
        int64_t ih2o = 0;
        CpaSystem sys = Build(c, renumber ? perm : natural, ih2o);
        std::vector<int64_t> idx(n);
        std::vector<double> x(n);
        for (size_t pos = 0; pos < n; ++pos) {
          idx[pos] = renumber ? static_cast<int64_t>(pos) + 1 : static_cast<int64_t>(perm[pos]) + 1;
          x[pos] = r.x[perm[pos]];
        }
        std::ostringstream what;
        what << c.row << " solvation " << static_cast<int>(c.solvation)
             << (renumber ? " numbers" : " positions");
        for (size_t i : perm) what << ' ' << i;
        SCOPED_TRACE(what.str());
        const Result res = sys.Call(r.t, r.p, idx, x, {.kvl = r.phase, .ih2o = ih2o});
        ASSERT_EQ(res.ierr, 0);
        EXPECT_NEAR(res.v, r.v, 1e-10 * r.v);
        EXPECT_NEAR(res.z, r.z, 1e-10 * r.z);
        for (size_t pos = 0; pos < n; ++pos)
          EXPECT_NEAR(res.phi[pos], r.lnphi[perm[pos]], 1e-11)
              << "ln phi of component " << perm[pos];
        EXPECT_NEAR(res.dh, r.dh, 1e-11 * (std::fabs(r.dh) + rt));
        EXPECT_NEAR(res.ds, r.ds, 1e-11 * (std::fabs(r.ds) + thermomodels::kCpaRgas));
        EXPECT_NEAR(res.dg, r.dg, 1e-11 * (std::fabs(r.dg) + rt));
      }
    } while (std::next_permutation(perm.begin(), perm.end()));
  }
}

}  // namespace

namespace {

// Cross association given differently in the two orders of a pair (energy
// and volume records of both rows): the record of the lower component
// number is taken, whatever the order of the positions.
TEST(Reference, PairGivenInBothOrdersIsReadOneWay) {
  auto water_phi = [](bool water_first, bool positions_reversed) {
    ResetCpaState();
    CpaSystem sys(water_first ? std::vector<Component>{kWater, kMethaneCpa}
                              : std::vector<Component>{kMethaneCpa, kWater});
    const size_t w = water_first ? 0 : 1, inert = 1 - w;
    sys.eij[inert * 2 + w] = 0.5 * kWater.au;  // CPAEIJ(water, inert)
    sys.eij[w * 2 + inert] = 0.4 * kWater.au;  // CPAEIJ(inert, water)
    sys.vij[2 * (inert * 2 + w)] = kWater.av;
    sys.vij[2 * (w * 2 + inert)] = 0.8 * kWater.av;
    sys.vijset = {1.0, 1.0};
    const std::vector<int64_t> idx =
        positions_reversed ? std::vector<int64_t>{2, 1} : std::vector<int64_t>{1, 2};
    const Result r = sys.Call(300.0, 1e6, idx, {0.5, 0.5}, {});
    EXPECT_EQ(r.ierr, 0);
    const size_t water_pos = (idx[0] - 1 == static_cast<int64_t>(w)) ? 0 : 1;
    return r.phi[water_pos];
  };
  for (bool water_first : {true, false})
    EXPECT_NEAR(water_phi(water_first, true), water_phi(water_first, false), 1e-12)
        << "water component 1: " << water_first;
}

}  // namespace
