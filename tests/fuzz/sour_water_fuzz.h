// Shared part of the fuzz targets of the sour-water exports: host component
// aliases (recognised, near misses and any bytes), the slot map the
// recognition must give for them, slot lists with model indices and
// fractions, and the check of a ln phi array. A target of a further
// sour-water export is one short file built from these.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "harness.h"

namespace tmfuzz {

// Slots of the model and the model's components.
inline constexpr int64_t kSwSlots = 20;
inline constexpr int64_t kSwKeySlots = 4;
inline constexpr int64_t kSwModelComponents = 18;
inline constexpr size_t kSwAliasBytes = 24;
// Bounds of a returned ln phi: ln 1e-20 and ln 1e20.
inline constexpr double kSwLnPhiLow = -46.051701859880914;
inline constexpr double kSwLnPhiHigh = 46.051701859880914;

using AliasRecord = std::array<unsigned char, kSwAliasBytes>;

// Host components 1..size(): the alias record of each and the model index
// (1..18) it must be recognised as, 0 for none.
struct SwHost {
  std::vector<AliasRecord> alias;
  std::vector<int64_t> model;
};

// The aliases of the model's components, by model index - 1.
inline const char* const kSwAliases[kSwModelComponents] = {
    "H2O",     "H3N",     "CO2", "H2S", "CH4", "C2H6", "C3H8", "C4H10-2", "C4H10-1",
    "C5H12-2", "C5H12-1", "H2",  "N2",  "CO",  "CS2",  "COS",  "CH4S",    "C2H6S-1"};

// Three 8-byte words of four characters each, left-justified and
// blank-padded.
inline AliasRecord MakeAlias(const std::string& text) {
  AliasRecord r;
  r.fill(' ');
  for (size_t i = 0; i < text.size() && i < 12; ++i)
    r[(i / 4) * 8 + i % 4] = static_cast<unsigned char>(text[i]);
  return r;
}

// Reads up to MAX host components (at least one): table aliases (key ones
// most often), the same with one byte wrong (case, padding), and records of
// any bytes.
inline SwHost ReadSwHost(Input& in, size_t max) {
  SwHost h;
  const size_t count = 1 + in.Byte() % max;
  for (size_t j = 0; j < count; ++j) {
    const uint8_t kind = in.Byte();
    const int64_t row =
        (kind & 0x80) != 0 ? 1 + (kind & 3) : 1 + (kind & 0x7F) % kSwModelComponents;
    AliasRecord a = MakeAlias(kSwAliases[row - 1]);
    switch (in.Byte() % 8) {
      case 0:
        a[in.Byte() % kSwAliasBytes] = static_cast<unsigned char>('a' + in.Byte() % 26);
        break;
      case 1: a[4 + 8 * (in.Byte() % 3)] = static_cast<unsigned char>(in.Byte() | 1); break;
      case 2:
        for (auto& b : a) b = in.Byte();
        break;
      default: break;
    }
    // A change may give another table alias (or the same one back).
    int64_t model = a == MakeAlias(kSwAliases[row - 1]) ? row : 0;
    for (int64_t k = 1; k <= kSwModelComponents && model == 0; ++k) {
      if (a == MakeAlias(kSwAliases[k - 1])) model = k;
    }
    h.alias.push_back(a);
    h.model.push_back(model);
  }
  return h;
}

// A count of list entries or slots: 1..MAX mostly, sometimes 0, negative
// (any negative number) or MAX.
inline int64_t ReadSwCount(Input& in, int64_t max) {
  if (in.Byte() % 16 != 15) return 1 + in.Byte() % max;
  const int64_t v = in.Int(-2, 0);
  return v > max ? max : v;
}

// A host list IDX(NC): host component numbers 1..HOST mostly, sometimes 0 or
// negative (not recognised); numbers repeat freely.
inline std::vector<int64_t> ReadSwHostList(Input& in, size_t nc, size_t host) {
  std::vector<int64_t> idx(nc);
  for (size_t i = 0; i < nc; ++i) {
    const uint8_t b = in.Byte();
    idx[i] =
        b % 16 == 15 ? -static_cast<int64_t>(in.Byte() % 3) : 1 + static_cast<int64_t>(b % host);
  }
  return idx;
}

// The slot map of a host list as the recognition must give it.
struct SwSlots {
  int64_t ngpsw = kSwKeySlots, nkey = 0, nrec = 0, iwat = 0;
  std::array<int64_t, kSwSlots> modidx{}, pos{};  // pos 0: not in the list
};
inline SwSlots ExpectedSwSlots(const SwHost& host, const std::vector<int64_t>& idx,
                               bool keys_only) {
  SwSlots s;
  auto model_of = [&](int64_t j) {
    return j >= 1 && static_cast<size_t>(j) <= host.model.size() ? host.model[j - 1] : 0;
  };
  for (size_t i = 0; i < idx.size(); ++i) {
    const int64_t m = model_of(idx[i]);
    if (m >= 1 && m <= kSwKeySlots) {
      s.pos[m - 1] = static_cast<int64_t>(i) + 1;
      ++s.nkey;
      ++s.nrec;
    }
  }
  s.iwat = s.pos[0];
  for (int64_t k = 1; k <= kSwKeySlots; ++k) s.modidx[k - 1] = k;
  if (keys_only) return s;
  for (size_t i = 0; i < idx.size() && s.ngpsw < kSwSlots; ++i) {
    const int64_t m = model_of(idx[i]);
    if (m <= kSwKeySlots) continue;
    s.modidx[s.ngpsw] = m;
    s.pos[s.ngpsw] = static_cast<int64_t>(i) + 1;
    ++s.ngpsw;
    ++s.nrec;
  }
  return s;
}

// A slot list of N model indices: 1..18 in slot order from water on,
// sometimes outside 1..18.
inline std::vector<int64_t> ReadSwModelIndices(Input& in, size_t n) {
  std::vector<int64_t> idx(n);
  for (size_t i = 0; i < n; ++i) {
    const uint8_t b = in.Byte();
    idx[i] = b % 8 == 7                      ? in.Int(-2, 20)
             : i < kSwKeySlots && b % 8 != 6 ? static_cast<int64_t>(i) + 1
                                             : 1 + b % kSwModelComponents;
  }
  return idx;
}

// Mole fractions of N slots: typical, zero or special values; then, by a
// flag, normalised over the list.
inline std::vector<double> ReadSwFractions(Input& in, size_t n) {
  std::vector<double> y(n);
  double sum = 0.0;
  for (size_t i = 0; i < n; ++i) sum += (y[i] = in.Flag() ? 0.0 : in.Real(0.0, 1.0));
  if (in.Flag() && sum > 0.0 && std::isfinite(sum)) {
    for (double& v : y) v /= sum;
  }
  return y;
}

// One slot-ordered phase as the fugacity routines take it: N (up to MAX,
// sometimes not positive), model indices, fractions, temperature [K] and
// pressure [atm].
struct SwPhase {
  int64_t n_value;
  size_t n;
  std::vector<int64_t> models;
  std::vector<double> fractions;
  double t, p;
};

inline SwPhase ReadSwPhase(Input& in, int64_t max) {
  SwPhase ph;
  ph.n_value = ReadSwCount(in, max);
  ph.n = static_cast<size_t>(ph.n_value > 0 ? ph.n_value : 0);
  ph.models = ReadSwModelIndices(in, ph.n);
  ph.fractions = ReadSwFractions(in, ph.n);
  ph.t = in.RealLog(250.0, 700.0);
  ph.p = in.RealLog(1e-3, 200.0);
  return ph;
}

// The arguments T, P, N, IDX, the fractions and LNPHI of a fugacity
// routine for PHASE; the caller adds the rest.
struct SwPhaseArgs {
  ArgList args;
  Arg<double>&T, &P;
  Arg<int64_t>&N, &IDX;
  Arg<double>&X, &LNPHI;
  SwPhaseArgs(const SwPhase& ph, const char* fractions)
      : T(args.In("T", ph.t)),
        P(args.In("P", ph.p)),
        N(args.In("N", ph.n_value)),
        IDX(args.Add<int64_t>("IDX", ph.n, Role::kIn)),
        X(args.Add<double>(fractions, ph.n, Role::kIn)),
        LNPHI(args.Add<double>("LNPHI", ph.n, Role::kOut, kUnwritten)) {
    for (size_t i = 0; i < ph.n; ++i) IDX[i] = ph.models[i], X[i] = ph.fractions[i];
    SetCallDescription([this] { return args.Describe(); });
  }
};

// Every LNPHI(1..N) finite and within [ln 1e-20, ln 1e20]; a slot outside
// the mixture (a model index outside 1..18, or past the first MOST slots
// that have one) at the upper bound, else KEY.
inline void CheckSwLnPhi(const char* routine, const Arg<double>& lnphi,
                         const std::vector<int64_t>& models, int64_t most, const char* key) {
  for (size_t i = 0; i < lnphi.size(); ++i) {
    const double v = lnphi[i];
    if (!(v >= kSwLnPhiLow - 1e-12 && v <= kSwLnPhiHigh + 1e-12)) {
      Violate(routine, "LNPHI_OUTSIDE_BOUNDS", "LNPHI(" + std::to_string(i + 1) + ") = " + Num(v));
      break;
    }
  }
  int64_t taking_part = 0;
  for (size_t i = 0; i < lnphi.size(); ++i) {
    const bool valid = models[i] >= 1 && models[i] <= kSwModelComponents;
    if (valid && ++taking_part <= most) continue;
    if (std::fabs(lnphi[i] - kSwLnPhiHigh) > 1e-12) {
      Violate(routine, key, "LNPHI(" + std::to_string(i + 1) + ")");
      break;
    }
  }
}

}  // namespace tmfuzz
