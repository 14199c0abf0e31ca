// What the water driver tests share: constants, one QUELTRIN_IF97PRPH call, the
// extended-precision region-3 table and a scratch file on a host unit.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "common/common.h"
#include "water/drivers/drivers.h"
#include "water/if97/if97.h"
#include "water/if97/if97_check_values.h"

namespace thermomodels::water_test {

constexpr double kM = 18.0152;                // kg/kmol
constexpr double kTc = 647.096;               // K
constexpr double kVc = 0.003105590062111801;  // m3/kg, 1/322
constexpr double kPc = 22.0639999998894;      // MPa, the end of the saturation line
constexpr double kSingle = -1.0;              // XQUAL of a single-phase request

struct Prph { double value; int64_t ierr; };

// QUELTRIN_IF97PRPH in molar units (K, Pa, m3/kmol); Value: the value of a call that must succeed.
inline Prph Prop(int32_t code, int64_t region, double t, double p, double v = kNoValue, int64_t phase = 0) {
  Prph r{0.0, -7};
  QUELTRIN_IF97PRPH(&t, &p, &v, &code, &phase, &region, &r.value, &r.ierr);
  return r;
}

inline double Value(int32_t code, int64_t region, double t, double p, double v = kNoValue) {
  const Prph r = Prop(code, region, t, p, v);
  EXPECT_EQ(r.ierr, 0) << "code " << code << " region " << region << " T " << t << " P " << p;
  return r.value;
}

// The routers by (p [bar], T, quality) beside the region functions each serves: lever, mixtures by
// the lever rule; r3 at (T, v); derivative, region 5 ends at 50.01 MPa instead of 50.1.
using PtxRouter = double (*)(const double&, const double&, const double&);
using PtFn = double (*)(const double&, const double&);
inline double ExergyAt298(const double& P, const double& T, const double& X) {
  return IF97EXPTX(P, T, X, 298.15);
}
inline double AbsCp3(const double& t, const double& v) { return std::fabs(IF97R3CP(t, v)); }
struct RouterRow { const char* name; PtxRouter router; bool lever; PtFn r1, r2, r5, r3; bool derivative; };
inline const RouterRow kRouters[] = {
    {"IF97VPTX", IF97VPTX, true, IF97R1V, IF97R2V, IF97R5V, Region3VolumeItself, false},
    {"IF97HPTX", IF97HPTX, true, IF97R1H, IF97R2H, IF97R5H, IF97R3H, false},
    {"IF97SPTX", IF97SPTX, true, IF97R1S, IF97R2S, IF97R5S, IF97R3S, false},
    {"IF97UPTX", IF97UPTX, true, IF97R1U, IF97R2U, IF97R5U, IF97R3U, false},
    {"IF97DVTPTX", IF97DVTPTX, false, IF97R1DVT, IF97R2DVT, IF97R5DVT, IF97R3DVT, true},
    {"IF97DVPPTX", IF97DVPPTX, false, IF97R1DVP, IF97R2DVP, IF97R5DVP, IF97R3DVP, true},
    {"IF97CPPTX", IF97CPPTX, false, IF97R1CP, IF97R2CP, IF97R5CP, AbsCp3, false},
    {"IF97CVPTX", IF97CVPTX, false, IF97R1CV, IF97R2CV, IF97R5CV, IF97R3CV, false},
    {"IF97WPTX", IF97WPTX, false, IF97R1W, IF97R2W, IF97R5W, IF97R3W, false},
    {"IF97KAPPTX", IF97KAPPTX, false, IF97R1KAP, IF97R2KAP, IF97R5KAP, IF97R3KAP, false},
};

// The rows of if97_reference.txt (written by if97_reference.py) whose first word is KEY.
inline std::vector<std::vector<double>> Reference(const std::string& key) {
  const std::string here = __FILE__;
  std::ifstream in(here.substr(0, here.rfind('/') + 1) + "if97_reference.txt");
  std::vector<std::vector<double>> rows;
  for (std::string line, word; std::getline(in, line);) {
    std::istringstream words(line);
    if (words >> word && word == key)
      rows.emplace_back(std::istream_iterator<double>(words), std::istream_iterator<double>());
  }
  EXPECT_FALSE(rows.empty()) << key;
  return rows;
}

// A fresh file opened on UNIT for the life of the object.
class WarningFile {
 public:
  explicit WarningFile(int32_t unit)
      : unit_(unit), name_("warnings_" + std::to_string(::getpid()) + ".txt") {
    std::remove(name_.c_str());
    UnitOpen(unit_, name_);
  }
  ~WarningFile() {
    UnitClose(unit_);
    std::remove(name_.c_str());
  }
  std::string Text() const {
    std::stringstream s;
    s << std::ifstream(name_).rdbuf();
    return s.str();
  }

 private:
  int32_t unit_;
  std::string name_;
};

}  // namespace thermomodels::water_test
