// What the backward-equation tests share: reading a check value as the
// release prints it, with half a unit of its last printed digit, and the
// side of a subregion boundary that a state on it takes.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace thermomodels::backward_test {

// Half a unit in the last printed digit of a value printed in E-notation
// ("1.470853100E-03" has ten digits: tolerance 5e-13).
inline double PrintedHalfUnit(const std::string& printed) {
  const auto e_pos = printed.find_first_of("eE");
  const std::string mantissa = printed.substr(0, e_pos);
  const int exponent = std::atoi(printed.c_str() + e_pos + 1);
  const auto dot = mantissa.find('.');
  const int decimals = static_cast<int>(mantissa.size() - dot - 1);
  return 0.5 * std::pow(10.0, exponent - decimals);
}

// A routine of two inputs and the value a release table prints for it.
struct PrintedCheck {
  const char* table;
  double (*f)(const double&, const double&);
  double x, y;
  const char* printed;
};

template <size_t N>
void ExpectPrintedValues(const PrintedCheck (&checks)[N]) {
  for (const PrintedCheck& c : checks) {
    EXPECT_NEAR(c.f(c.x, c.y), std::stod(c.printed), PrintedHalfUnit(c.printed))
        << c.table << " at (" << c.x << ", " << c.y << ")";
  }
}

// A state exactly on a subregion boundary is answered by the equation of one
// side: the value there continues that side's values (one unit in the last
// place away) without the jump between the two equations.
template <class F>
void ExpectBoundaryBelongsTo(const char* what, const F& f, double boundary, bool upper_side) {
  const double below = f(std::nextafter(boundary, -HUGE_VAL));
  const double above = f(std::nextafter(boundary, HUGE_VAL));
  const double jump = std::fabs(above - below);
  ASSERT_GT(jump, 1e-12 * std::fabs(above)) << what << ": the two equations coincide here";
  EXPECT_LT(std::fabs(f(boundary) - (upper_side ? above : below)), 1e-3 * jump) << what;
}

}  // namespace thermomodels::backward_test
