// Check values of IAPWS-IF97 that the water tests share.
#pragma once

#include <cmath>
#include <cstdint>

namespace thermomodels::water_test {

// IF97 Tables 5, 15, 42 (regions 1, 2, 5 at T, p) and 33 (region 3 at T, v; p published):
// v [m3/kg], h, u [kJ/kg], s, cp [kJ/(kg K)], w [m/s].
struct If97Row { int64_t region; double t, p_mpa, v, h, u, s, cp, w; };

inline constexpr If97Row kIf97Rows[] = {
  {1, 300, 3, 0.100215168e-2, 0.115331273e3, 0.112324818e3, 0.392294792, 0.417301218e1, 0.150773921e4},
  {1, 300, 80, 0.971180894e-3, 0.184142828e3, 0.106448356e3, 0.368563852, 0.401008987e1, 0.163469054e4},
  {1, 500, 3, 0.120241800e-2, 0.975542239e3, 0.971934985e3, 0.258041912e1, 0.465580682e1, 0.124071337e4},
  {2, 300, 0.0035, 0.394913866e2, 0.254991145e4, 0.241169160e4, 0.852238967e1, 0.191300162e1, 0.427920172e3},
  {2, 700, 0.0035, 0.923015898e2, 0.333568375e4, 0.301262819e4, 0.101749996e2, 0.208141274e1, 0.644289068e3},
  {2, 700, 30, 0.542946619e-2, 0.263149474e4, 0.246861076e4, 0.517540298e1, 0.103505092e2, 0.480386523e3},
  {5, 1500, 0.5, 0.138455090e1, 0.521976855e4, 0.452749310e4, 0.965408875e1, 0.261609445e1, 0.917068690e3},
  {5, 1500, 30, 0.230761299e-1, 0.516723514e4, 0.447495124e4, 0.772970133e1, 0.272724317e1, 0.928548002e3},
  {5, 2000, 30, 0.311385219e-1, 0.657122604e4, 0.563707038e4, 0.853640523e1, 0.288569882e1, 0.106736948e4},
  {3, 650, 0.255837018e2, 0.002, 0.186343019e4, 0.181226279e4, 0.405427273e1, 0.138935717e2, 0.502005554e3},
  {3, 650, 0.222930643e2, 0.005, 0.237512401e4, 0.226365868e4, 0.485438792e1, 0.446579342e2, 0.383444594e3},
  {3, 750, 0.783095639e2, 0.002, 0.225868845e4, 0.210206932e4, 0.446971906e1, 0.634165359e1, 0.760696041e3},
};

// IF97 Tables 35 (psat [MPa] at T [K]) and 36 (Tsat [K] at p [MPa]).
struct SaturationRow { double in, out; };
inline constexpr SaturationRow kPsatRows[] = {
    {300, 0.353658941e-2}, {500, 0.263889776e1}, {600, 0.123443146e2}};
inline constexpr SaturationRow kTsatRows[] = {
    {0.1, 0.372755919e3}, {1, 0.453035632e3}, {10, 0.584149488e3}};

// Half a unit of the ninth significant digit of a printed value.
inline double NinthDigit(double printed) {
  return 0.5 * std::pow(10.0, std::floor(std::log10(std::fabs(printed))) - 8.0);
}

}  // namespace thermomodels::water_test
