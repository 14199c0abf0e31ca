// What the water driver tests share: constants, one QUELTRIN_IF97PRPH call, the
// extended-precision region-3 table and a scratch file on a host unit.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

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
