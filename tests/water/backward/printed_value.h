// What the backward-equation tests share: reading a check value as the
// release prints it, with half a unit of its last printed digit.
#pragma once

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

}  // namespace thermomodels::backward_test
