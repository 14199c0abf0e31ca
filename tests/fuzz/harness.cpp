// The fuzz driver shared by every program: input reader, guarded arguments, host blocks, the
// sandbox directory and the verdict on each input.
#include "harness.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "association/association.h"
#include "common/common.h"
#include "cpa/cpa.h"

#include <sanitizer/asan_interface.h>  // its macros do nothing without AddressSanitizer

namespace tmfuzz {
namespace {
// Edges of the water formulation's ranges, the number format, the markers; units (stdout most).
using Limits = std::numeric_limits<double>;
// clang-format off
const std::vector<double> kSpecialReals = {0.0, -0.0, Limits::quiet_NaN(), Limits::infinity(),
    -Limits::infinity(), 1e35, -1e35, DBL_MAX, -DBL_MAX, DBL_MIN, Limits::denorm_min(), 1e-320,
    1e-305, 1e300, -1e300, 1e-15, 1e-16, 1.0, -1.0, 2.0, 0.5, 273.15, 273.16, 300.0, 373.15, 623.15,
    623.16, 647.096, 700.0, 863.15, 1073.15, 2273.15, 611.657, 1e5, 101325.0, 1e6, 1e7,
    22063999.9998894, 22064000.0, 3e7, 5e7, 1e8, 1.5e8, -1e5, 1e-3, 1e3};
const std::vector<int64_t> kSpecialInts = {0, 1, 2, 3, 4, 5, -1, -2, 10, 99, 1000, 1234, 9999,
    std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()};
const std::vector<int32_t> kUnits = {6, 7, 40, 51, 60, 99, -3, 6, 6, 6, 6, 6};
const std::vector<int32_t> kDistinctUnits = {-3, 6, 7, 40, 51, 60, 99};
// clang-format on
constexpr unsigned char kGuardByte = 0xA5;
constexpr size_t kGuardBytes = 64;
constexpr int64_t kPlexWindow = 4096;  // pool words watched at each end
constexpr uint64_t kPlexPattern = 0x5A5A5A5A5A5A5A5AULL;

bool g_violated = false;  // in this input
// The host's words, the units and the pool's ends before the call.
struct {
  tm_eosret_block eosret;
  tm_global_block global;
  tm_cpacom_block cpacom;
  int64_t pure[2];
  std::vector<std::string> units;  // "unit=file" of each open unit, else ""
  double plex[2][kPlexWindow];
} g_before;

double* PlexEnd(int end) { return DMS_PLEX.words + (end == 0 ? 0 : TM_PLEX_WORDS - kPlexWindow); }

std::vector<std::string> UnitState() {
  std::vector<std::string> s;
  for (int32_t u : kDistinctUnits)  // the file name and "/" when open
    s.push_back(thermomodels::UnitIsOpen(u) ? std::string(thermomodels::UnitFileName(u)) + "/"
                                            : "");
  return s;
}
// Whether pool word WORD lies in a root-memory record the host set up (only words inside the pool).
bool InsideRecord(const tm_eosret_block& e, int64_t word) {
  auto inside = [&](int64_t first, int64_t per_nmax, int64_t extra) {
    if (first < 1 || e.NMAX < 0 || word < first) return false;
    return word - first < (e.NMAX > TM_PLEX_WORDS ? TM_PLEX_WORDS : extra + per_nmax * e.NMAX);
  };
  return e.ISTATE >= 1 && (inside(e.IPIV, 1, 1) || inside(e.IPIL1, 1, 1) || inside(e.IPIL2, 1, 1) ||
                           inside(e.RPIV, 7, 4) || inside(e.RPIL1, 7, 4) || inside(e.RPIL2, 7, 4));
}
// Host words changed (but ISTATE 2 on a save, NSAVED), pool words outside records, units, ESROOT.
void CheckHost(const Allowed& allowed) {
  tm_eosret_block e = PPUTL_EOSRET;
  const tm_eosret_block& b = g_before.eosret;
  e.NSAVED = b.NSAVED;
  if (b.ISTATE >= 1 && e.ISTATE == 2) e.ISTATE = b.ISTATE;
  const bool same[3] = {std::memcmp(&e, &b, sizeof e) == 0,
                        std::memcmp(&g_before.global, &DMS_GLOBAL, sizeof DMS_GLOBAL) == 0,
                        std::memcmp(&g_before.cpacom, &PPCPA_CPACOM, sizeof PPCPA_CPACOM) == 0};
  for (int k = 0; k < 3; ++k) {
    if (!same[k])
      Violate("HOST_WORD_CHANGED", std::array{"PPUTL_EOSRET", "DMS_GLOBAL", "PPCPA_CPACOM"}[k]);
  }
  for (int end = 0; end < 2; ++end) {
    if (std::memcmp(g_before.plex[end], PlexEnd(end), sizeof g_before.plex[end]) == 0) continue;
    for (int64_t w = 0; w < kPlexWindow; ++w) {
      const int64_t word = PlexEnd(end) - DMS_PLEX.words + w + 1;
      if (!SameBits(g_before.plex[end][w], PlexEnd(end)[w]) && !InsideRecord(b, word)) {
        Violate("POOL_WRITTEN_OUTSIDE_RECORDS", "word " + std::to_string(word));
        break;
      }
    }
  }
  const std::vector<std::string> units = UnitState();
  for (size_t i = 0; i < units.size(); ++i) {
    if (units[i] == g_before.units[i] || kDistinctUnits[i] == allowed.unit) continue;
    Violate(g_before.units[i].empty() ? "UNIT_LEFT_OPEN" : "UNIT_CLOSED_OR_REASSIGNED", units[i]);
  }
  for (int k = 0; k < 2 && allowed.pure_fluid_words; ++k) {
    const int64_t was = g_before.pure[k], is = PPUTL_ESROOT.iw[k];
    if (is != was && is != 0) Violate("PURE_FLUID_WORDS_LEFT_SET", k == 0 ? "LQPURE" : "VPPURE");
  }
}
void ResetLibrary() {
  using namespace thermomodels;
  for (int32_t u : kDistinctUnits) UnitClose(u);
  for (const auto& f : std::filesystem::directory_iterator(".")) std::filesystem::remove_all(f);
  CPAPROP_SAVED = CpapropSaved{};
  CPA1_SAVED = Cpa1Saved{kNoValue};
  PCSAF5_SAVED = Pcsaf5Saved{};
  ResetAssociationTypes();
  std::memset(&PPUTL_ESROOT, 0, sizeof PPUTL_ESROOT);
  std::memset(&PPUTL_EOSRET, 0, sizeof PPUTL_EOSRET);
  std::memset(&PPCPA_CPACOM, 0, sizeof PPCPA_CPACOM);
  std::memset(&DMS_GLOBAL, 0, sizeof DMS_GLOBAL);
  std::memset(&ESRDER, 0, sizeof ESRDER);
  DMS_GLOBAL.IUNIT = 6;
  static const std::vector<uint64_t> pattern(kPlexWindow, kPlexPattern);
  for (int end = 0; end < 2; ++end) std::memcpy(PlexEnd(end), pattern.data(), kPlexWindow * 8);
  g_violated = false;
}

}  // namespace

uint64_t Input::Raw(int bytes) {
  uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(Byte()) << (8 * i);
  return v;
}
int64_t Input::Int(int64_t lo, int64_t hi) {
  switch (Byte() % 3) {
    case 0:
      return lo + static_cast<int64_t>(Raw(2) % (hi > lo ? static_cast<uint64_t>(hi - lo) + 1 : 1));
    case 1: return kSpecialInts[Byte() % kSpecialInts.size()];
    default: return static_cast<int64_t>(Raw(8));
  }
}
double Input::Scaled(double lo, double hi, bool logarithmic) {
  switch (Byte() % 3) {
    case 0: {
      const double u = Raw(2) / 65535.0;
      return logarithmic ? lo * std::pow(hi / lo, u) : lo + (hi - lo) * u;
    }
    case 1: return kSpecialReals[Byte() % kSpecialReals.size()];
    default: return std::bit_cast<double>(Raw(8));
  }
}
int32_t PickUnit(Input& in) { return kUnits[in.Byte() % kUnits.size()]; }

ArgBase::ArgBase(const char* name, size_t n, size_t size, Role role)
    : name(name), role(role), n_(n), size_(size) {
  block_ = new unsigned char[2 * kGuardBytes + n * size];
  std::memset(block_, kGuardByte, 2 * kGuardBytes + n * size);
  body_ = block_ + kGuardBytes;
  Poison();
}
void ArgBase::Poison() const {
  ASAN_POISON_MEMORY_REGION(block_, kGuardBytes);
  ASAN_POISON_MEMORY_REGION(body_ + n_ * size_, kGuardBytes);
  if (role == Role::kUnread) ASAN_POISON_MEMORY_REGION(body_, n_ * size_);
}
ArgBase::~ArgBase() {
  ASAN_UNPOISON_MEMORY_REGION(block_, 2 * kGuardBytes + n_ * size_);
  delete[] block_;
}
void ArgBase::Check() const {
  const size_t bytes = n_ * size_;
  const std::string arg = name;
  // Every byte the guard byte: the first one, and each equal to the next.
  auto guarded = [](const unsigned char* p, size_t count) {
    return count == 0 || (p[0] == kGuardByte && std::memcmp(p, p + 1, count - 1) == 0);
  };
  ASAN_UNPOISON_MEMORY_REGION(block_, 2 * kGuardBytes + bytes);
  if (!guarded(block_, kGuardBytes)) Violate("WRITE_BEFORE_ARRAY:" + arg);
  if (!guarded(body_ + bytes, kGuardBytes)) Violate("WRITE_AFTER_ARRAY:" + arg);
  if (role == Role::kUnread && !guarded(body_, bytes)) Violate("UNREAD_ARGUMENT_WRITTEN:" + arg);
  if (role == Role::kIn && !Untouched()) Violate("INPUT_CHANGED:" + arg);
  Poison();
}
void Violate(const std::string& key, const std::string& detail) {
  std::fprintf(stderr, "%s CONTRACT VIOLATION: %s %s\n", kTargetName, key.c_str(), detail.c_str());
  g_violated = true;
}
void CheckInSet(int64_t v, std::initializer_list<int64_t> set, const char* key) {
  if (std::find(set.begin(), set.end(), v) == set.end()) Violate(key, std::to_string(v));
}
void Call(ArgList& args, Allowed allowed, const std::function<void()>& call) {
  for (ArgBase* a : args.all_) a->Snapshot();
  g_before.eosret = PPUTL_EOSRET;
  g_before.global = DMS_GLOBAL;
  g_before.cpacom = PPCPA_CPACOM;
  std::copy(PPUTL_ESROOT.iw, PPUTL_ESROOT.iw + 2, g_before.pure);
  g_before.units = UnitState();
  for (int end = 0; end < 2; ++end)
    std::memcpy(g_before.plex[end], PlexEnd(end), sizeof g_before.plex[end]);
  call();
  for (const ArgBase* a : args.all_) a->Check();
  CheckHost(allowed);
}
void CheckRepeat(ArgList& args, const std::function<void()>& call) {
  std::vector<std::pair<ArgBase*, std::string>> first;
  for (ArgBase* a : args.all_) {
    if (a->role == Role::kOut) first.emplace_back(a, a->Bytes());
  }
  for (auto& [a, bytes] : first) a->Refill();
  Call(args, call);
  for (const auto& [a, bytes] : first) {
    if (a->Bytes() != bytes) Violate(std::string("REPEAT_DIFFERS:") + a->name);
  }
}
void SetHostBlocks(Input& in, bool host_unit) {
  // Root memory on or off, records near the pool's ends or at no word.
  tm_eosret_block& e = PPUTL_EOSRET;
  e.ISTATE = in.Int(-1, 2);
  e.LIQNO = in.Int(0, 3);
  e.NMAX = in.Int(0, 8);
  for (int64_t* r : {&e.IPIV, &e.IPIL1, &e.IPIL2, &e.RPIV, &e.RPIL1, &e.RPIL2}) {
    switch (in.Byte() % 4) {
      case 0: *r = 0; break;
      case 1: *r = 1 + static_cast<int64_t>(in.Raw(2)) % (kPlexWindow - 64); break;
      case 2: *r = TM_PLEX_WORDS - in.Byte() % 80; break;
      default: *r = in.Int(-2, 2); break;
    }
  }
  // Pure-fluid words, host unit and, rarely (traces slow every call), the CPA diagnostic overrides
  // with a short name, never a path; then the host's own file on a unit.
  PPUTL_ESROOT.iw[0] = in.Int(-1, 1);
  PPUTL_ESROOT.iw[1] = in.Int(-1, 1);
  DMS_GLOBAL.IUNIT = PickUnit(in);
  tm_cpacom_block& c = PPCPA_CPACOM;
  std::memset(c.FILNAM, ' ', sizeof c.FILNAM);
  if (in.Byte() % 4 == 1) {
    for (int64_t* w : {&c.LVLCPA, &c.IUSEGU, &c.IOPENF, &c.KDIGA, &c.KDIGB, &c.KDIGC}) {
      *w = in.Int(0, w == &c.IUSEGU || w == &c.IOPENF ? 1 : 9);
    }
    for (size_t i = 0, len = in.Byte() % 12; i < len; ++i) c.FILNAM[i] = "abhis0._ "[in.Byte() % 9];
  }
  if (!host_unit || !in.Flag()) return;
  int32_t unit = PickUnit(in);
  int64_t open = 1, status = 0;
  PPCPA_OPCLFILE(&unit, "host.log", &open, &status, 8);
}

}  // namespace tmfuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using namespace tmfuzz;
  // Standard output to /dev/null; files into a directory under TMPDIR, emptied before each input.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) std::exit(2);
  const char* tmp = std::getenv("TMPDIR");
  std::string dir = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/tmfuzz.XXXXXX";
  if (mkdtemp(dir.data()) == nullptr || chdir(dir.c_str()) != 0) {
    std::fprintf(stderr, "cannot make the sandbox directory %s\n", dir.c_str());
    std::exit(2);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tmfuzz::ResetLibrary();
  tmfuzz::Input in(data, size);
  tmfuzz::FuzzTarget(in);
  if (tmfuzz::g_violated) std::abort();
  return 0;
}
