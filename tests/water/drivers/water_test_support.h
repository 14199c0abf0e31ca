// What the water driver tests share: IF97 check values, one dispatcher call
// and a scratch file on a host unit for the warning lines.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "common/common.h"
#include "water/drivers/drivers.h"

namespace thermomodels::water_test {

constexpr double kM = 18.0152;                // kg/kmol
constexpr double kTc = 647.096;               // K
constexpr double kVc = 0.003105590062111801;  // m3/kg, 1/322
constexpr double kSingle = -1.0;              // XQUAL of a single-phase request

// IF97 Tables 5, 15, 42 (regions 1, 2, 5 at T, p) and 33 (region 3 at T,
// rho = 1/v, p the published value): v [m3/kg], h, u [kJ/kg], s, cp [kJ/(kg K)], w [m/s].
struct If97Row {
  const char* table;
  int64_t region;
  double t, p_mpa, v, h, u, s, cp, w;
};

inline constexpr If97Row kIf97Rows[] = {
    {"5", 1, 300, 3, 0.100215168e-2, 0.115331273e3, 0.112324818e3, 0.392294792, 0.417301218e1,
     0.150773921e4},
    {"5", 1, 300, 80, 0.971180894e-3, 0.184142828e3, 0.106448356e3, 0.368563852, 0.401008987e1,
     0.163469054e4},
    {"5", 1, 500, 3, 0.120241800e-2, 0.975542239e3, 0.971934985e3, 0.258041912e1, 0.465580682e1,
     0.124071337e4},
    {"15", 2, 300, 0.0035, 0.394913866e2, 0.254991145e4, 0.241169160e4, 0.852238967e1,
     0.191300162e1, 0.427920172e3},
    {"15", 2, 700, 0.0035, 0.923015898e2, 0.333568375e4, 0.301262819e4, 0.101749996e2,
     0.208141274e1, 0.644289068e3},
    {"15", 2, 700, 30, 0.542946619e-2, 0.263149474e4, 0.246861076e4, 0.517540298e1, 0.103505092e2,
     0.480386523e3},
    {"42", 5, 1500, 0.5, 0.138455090e1, 0.521976855e4, 0.452749310e4, 0.965408875e1, 0.261609445e1,
     0.917068690e3},
    {"42", 5, 2000, 30, 0.311385219e-1, 0.657122604e4, 0.563707038e4, 0.853640523e1, 0.288569882e1,
     0.106736948e4},
    {"33", 3, 650, 0.255837018e2, 1 / 500.0, 0.186343019e4, 0.181226279e4, 0.405427273e1,
     0.138935717e2, 0.502005554e3},
    {"33", 3, 650, 0.222930643e2, 1 / 200.0, 0.237512401e4, 0.226365868e4, 0.485438792e1,
     0.446579342e2, 0.383444594e3},
    {"33", 3, 750, 0.783095639e2, 1 / 500.0, 0.225868845e4, 0.210206932e4, 0.446971906e1,
     0.634165359e1, 0.760696041e3},
};

struct Prph {
  double value;
  int64_t ierr;
};

// QUELTRIN_IF97PRPH in molar units (K, Pa, m3/kmol).
inline Prph Prop(int32_t code, int64_t region, double t, double p, double v = kNoValue,
                 int64_t phase = 0) {
  Prph r{0.0, -7};
  QUELTRIN_IF97PRPH(&t, &p, &v, &code, &phase, &region, &r.value, &r.ierr);
  return r;
}

// The value of a call that must succeed.
inline double Value(int32_t code, int64_t region, double t, double p, double v = kNoValue) {
  const Prph r = Prop(code, region, t, p, v);
  EXPECT_EQ(r.ierr, 0) << "code " << code << " region " << region << " T " << t << " P " << p;
  return r.value;
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
    std::ifstream in(name_);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

 private:
  int32_t unit_;
  std::string name_;
};

}  // namespace thermomodels::water_test
