// Code shared by the sour-water fuzz programs: host component aliases, the slot map the recognition
// must give for them, slot lists with model indices and fractions, the check of a ln phi array.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "harness.h"

namespace tmfuzz {

inline constexpr int64_t kSwSlots = 20, kSwKeySlots = 4, kSwModelComponents = 18;
inline constexpr double kSwLnPhiHigh = 46.051701859880914;  // bound of a ln phi: ln 1e20
using AliasRecord = std::array<unsigned char, 24>;
// The alias of model component ROW (1..18): three 8-byte words of four blank-padded characters.
inline const AliasRecord& SwAlias(int64_t row) {
  static const auto kTable = [] {
    const std::string text[kSwModelComponents] = {
        "H2O",     "H3N",     "CO2", "H2S", "CH4", "C2H6", "C3H8", "C4H10-2", "C4H10-1",
        "C5H12-2", "C5H12-1", "H2",  "N2",  "CO",  "CS2",  "COS",  "CH4S",    "C2H6S-1"};
    std::array<AliasRecord, kSwModelComponents> t;
    for (size_t k = 0; k < t.size(); ++k) {
      t[k].fill(' ');
      for (size_t i = 0; i < text[k].size(); ++i) t[k][(i / 4) * 8 + i % 4] = text[k][i];
    }
    return t;
  }();
  return kTable[row - 1];
}
// Host components: alias records, and the model index (1..18, 0 none) each must be recognised as.
struct SwHost {
  std::vector<unsigned char> alias;
  std::vector<int64_t> model;
};
// 1..MAX host components: table aliases (key ones most often), one byte wrong, or any bytes.
inline SwHost ReadSwHost(Input& in, size_t max) {
  SwHost h;
  for (size_t j = 0, count = 1 + in.Byte() % max; j < count; ++j) {
    const uint8_t kind = in.Byte();
    AliasRecord a =
        SwAlias((kind & 0x80) != 0 ? 1 + (kind & 3) : 1 + (kind & 0x7F) % kSwModelComponents);
    switch (in.Byte() % 8) {
      case 0: a[in.Byte() % a.size()] = static_cast<unsigned char>('a' + in.Byte() % 26); break;
      case 1: a[4 + 8 * (in.Byte() % 3)] = static_cast<unsigned char>(in.Byte() | 1); break;
      case 2:
        for (auto& b : a) b = in.Byte();
        break;
      default: break;
    }
    // A change may give another table alias (or the same one back).
    int64_t model = 0;
    for (int64_t k = 1; k <= kSwModelComponents && model == 0; ++k) model = a == SwAlias(k) ? k : 0;
    h.alias.insert(h.alias.end(), a.begin(), a.end());
    h.model.push_back(model);
  }
  return h;
}
// A count of entries or slots: 1..MAX mostly, sometimes 0, negative or MAX.
inline int64_t ReadSwCount(Input& in, int64_t max) {
  if (in.Byte() % 16 != 15) return 1 + in.Byte() % max;
  return std::min(in.Int(-2, 0), max);
}
// A host list of NC entries: host numbers 1..HOST mostly, sometimes below 1; repeats allowed.
inline std::vector<int64_t> ReadSwHostList(Input& in, size_t nc, size_t host) {
  std::vector<int64_t> idx(nc);
  for (int64_t& j : idx) {
    const uint8_t b = in.Byte();
    j = b % 16 == 15 ? -static_cast<int64_t>(in.Byte() % 3) : 1 + static_cast<int64_t>(b % host);
  }
  return idx;
}
// The slot map the recognition must give: key components in slots 1..4, others (unless KEYS)
// in list order up to slot 20; pos 0: not in the list.
struct SwSlots {
  int64_t ngpsw = kSwKeySlots, nkey = 0, nrec = 0, iwat = 0;
  std::array<int64_t, kSwSlots> modidx{1, 2, 3, 4}, pos{};
};
inline SwSlots ExpectedSwSlots(const SwHost& host, const std::vector<int64_t>& idx, bool keys) {
  SwSlots s;
  std::vector<int64_t> model(idx.size());
  for (size_t i = 0; i < idx.size(); ++i) {
    const bool known = idx[i] >= 1 && static_cast<size_t>(idx[i]) <= host.model.size();
    model[i] = known ? host.model[idx[i] - 1] : 0;
    if (model[i] < 1 || model[i] > kSwKeySlots) continue;
    s.pos[model[i] - 1] = static_cast<int64_t>(i) + 1;
    ++s.nkey;
  }
  s.iwat = s.pos[0];
  for (size_t i = 0; i < idx.size() && s.ngpsw < kSwSlots && !keys; ++i) {
    if (model[i] <= kSwKeySlots) continue;
    s.modidx[s.ngpsw] = model[i];
    s.pos[s.ngpsw++] = static_cast<int64_t>(i) + 1;
  }
  s.nrec = s.nkey + s.ngpsw - kSwKeySlots;
  return s;
}
// Mole fractions of N slots: typical, zero or special values; normalised by a flag.
inline std::vector<double> ReadSwFractions(Input& in, size_t n) {
  std::vector<double> y(n);
  double sum = 0.0;
  for (double& v : y) sum += (v = in.Flag() ? 0.0 : in.Real(0.0, 1.0));
  if (in.Flag() && sum > 0.0 && std::isfinite(sum)) {
    for (double& v : y) v /= sum;
  }
  return y;
}
// One slot-ordered phase of the fugacity routines: N (up to 30, sometimes not positive), model
// indices (sometimes outside 1..18), fractions, T [K], P [atm]; the caller adds the others.
struct SwPhase {
  std::vector<int64_t> models;
  std::vector<double> fractions;
  double t, p;
  ArgList args;
  Arg<double>*T, *P, *X, *LNPHI;
  Arg<int64_t>*N, *IDX;
  SwPhase(Input& in, const char* fractions_name) {
    const int64_t n = ReadSwCount(in, 30);
    for (int64_t i = 0; i < n; ++i) {
      const uint8_t b = in.Byte();
      models.push_back(b % 8 == 7                      ? in.Int(-2, 20)
                       : i < kSwKeySlots && b % 8 != 6 ? i + 1
                                                       : 1 + b % 18);
    }
    fractions = ReadSwFractions(in, models.size());
    t = in.RealLog(250.0, 700.0);
    p = in.RealLog(1e-3, 200.0);
    T = &args.In("T", t);
    P = &args.In("P", p);
    N = &args.In("N", n);
    IDX = &args.Add("IDX", models, Role::kIn);
    X = &args.Add(fractions_name, fractions, Role::kIn);
    LNPHI = &args.Add<double>("LNPHI", models.size(), Role::kOut, kUnwritten);
  }
  // Every LNPHI(1..N) finite and within [ln 1e-20, ln 1e20]; a slot outside the mixture (a model
  // index outside 1..18, or past the first MOST slots that have one) at the upper bound, else KEY.
  void CheckLnPhi(int64_t most, const char* key) const {
    int64_t in_mixture = 0;
    for (size_t i = 0; i < LNPHI->size(); ++i) {
      const double v = (*LNPHI)[i];
      const bool valid = models[i] >= 1 && models[i] <= kSwModelComponents;
      if (!(std::fabs(v) <= kSwLnPhiHigh + 1e-12))
        Violate("LNPHI_OUTSIDE_BOUNDS", std::to_string(i + 1));
      if (!(valid && ++in_mixture <= most) && std::fabs(v - kSwLnPhiHigh) > 1e-12) {
        Violate(key, std::to_string(i + 1));
      }
    }
  }
};

}  // namespace tmfuzz
