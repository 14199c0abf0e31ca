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
  explicit GuardedWork(int64_t stated) : w(stated, 0.0), size(stated) { w.resize(size + 64, kGuard); }
  double* data() { return w.data(); }
  bool GuardsIntact() const {
    return std::all_of(w.begin() + size, w.end(), [](double v) { return v == kGuard; });
  }
};

}  // namespace sw_test
