// Helpers of the sour-water tests: host aliases as 24-byte records, the
// pool DMS_PLEX filled with them, slot lists by alias.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "sour_water/sour_water.h"
#include "thermomodels.h"

namespace sw_test {

// Three words of four characters, each blank-padded to eight bytes.
inline std::array<unsigned char, 24> Alias(const std::string& text) {
  std::array<unsigned char, 24> a;
  a.fill(' ');
  for (size_t k = 0; k < text.size() && k < 12; ++k) a[8 * (k / 4) + k % 4] = text[k];
  return a;
}

// Aliases by host component number (1 first), as PPTH_CHKCMP takes them.
inline std::vector<unsigned char> AliasArray(const std::vector<std::string>& texts) {
  std::vector<unsigned char> out;
  for (const auto& t : texts) {
    const auto a = Alias(t);
    out.insert(out.end(), a.begin(), a.end());
  }
  return out;
}

// Writes the aliases of host components 1, 2, ... into pool words 1, 2, ...
inline void FillPool(const std::vector<std::string>& texts) {
  const auto bytes = AliasArray(texts);
  std::memcpy(DMS_PLEX.words, bytes.data(), bytes.size());
}

// A work array of the stated size followed by guard words.
struct GuardedWork {
  static constexpr double kGuard = -7.25e300;
  std::vector<double> w;
  size_t size;
  explicit GuardedWork(int64_t stated) : w(stated, 0.0), size(stated) {
    w.resize(size + 64, kGuard);
  }
  double* data() { return w.data(); }
  bool GuardsIntact() const {
    return std::all_of(w.begin() + size, w.end(), [](double v) { return v == kGuard; });
  }
};

// One call of the liquid fugacity coefficients with model indices IDX and
// fractions X; the work array is guarded, the record of the ionic equilibrium
// copied.
struct LiquidCall {
  std::vector<double> lnphi;
  GuardedWork work;
  thermomodels::GpswLiquidSaved record;
  explicit LiquidCall(int64_t n) : lnphi(n, -1.0), work(710 + n) {}
  double at(int64_t first_word) { return work.data()[first_word]; }
  const double* area(int64_t first_word) { return work.data() + first_word; }
};

inline LiquidCall PhilCall(double t, double p, std::vector<int64_t> idx, std::vector<double> x,
                           int64_t kph = 0, double ph = 7.0) {
  const int64_t n = static_cast<int64_t>(idx.size());
  LiquidCall c(n);
  PPTH_PHILGPSW(&t, &p, &n, idx.data(), x.data(), c.lnphi.data(), &ph, &kph, c.work.data());
  c.record = thermomodels::GPSWLIQ;
  return c;
}

// Water, ammonia, carbon dioxide and hydrogen sulfide at these fractions.
inline std::vector<double> KeyLiquid(double nh3, double co2, double h2s) {
  return {1.0 - nh3 - co2 - h2s, nh3, co2, h2s};
}

}  // namespace sw_test
