// The fuzz driver shared by every target: input reader, guarded arguments,
// host blocks, the sandbox directory and the verdict on each input.
#include "harness.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <map>
#include <set>

#include "association/association.h"
#include "common/common.h"
#include "cpa/cpa.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define TM_FUZZ_ASAN 1
#endif
#endif

#ifndef TM_FUZZ_KNOWN_FILE
#define TM_FUZZ_KNOWN_FILE ""
#endif

namespace tmfuzz {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Values at the edges of the water formulation's ranges, of the number
// format and of the library's conventions.
constexpr double kDenormMin = std::numeric_limits<double>::denorm_min();
constexpr int64_t kIntMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kIntMax = std::numeric_limits<int64_t>::max();
// clang-format off
const std::vector<double> kSpecialReals = {0.0, -0.0, kNaN, kInf, -kInf, 1e35, -1e35, DBL_MAX,
    -DBL_MAX, DBL_MIN, kDenormMin, 1e-320, 1e-305, 1e300, -1e300, 1e-15, 1e-16, 1.0, -1.0, 2.0,
    0.5, 273.15, 273.16, 300.0, 373.15, 623.15, 623.16, 647.096, 700.0, 863.15, 1073.15, 2273.15,
    611.657, 1e5, 101325.0, 1e6, 1e7, 22063999.9998894, 22064000.0, 3e7, 5e7, 1e8, 1.5e8, -1e5,
    1e-3, 1e3};
const std::vector<int64_t> kSpecialInts = {0, 1, 2, 3, 4, 5, -1, -2, 10, 99, 1000, 1234, 9999,
    kIntMin, kIntMax};
// clang-format on

struct Found {
  std::string routine, key, detail, call;
};
std::vector<Found> g_found;
const uint8_t* g_data = nullptr;
size_t g_size = 0;
std::function<std::string()> g_describe;
std::set<std::string> g_known;
std::map<std::string, long> g_known_seen;
std::string g_sandbox;

// Words of the storage pool watched at its two ends.
constexpr int64_t kPlexWindow = 4096;
constexpr uint64_t kPlexPattern = 0x5A5A5A5A5A5A5A5AULL;

struct HostSnapshot {
  tm_eosret_block eosret;
  tm_global_block global;
  tm_cpacom_block cpacom;
  std::string units;
  std::vector<double> plex_low, plex_high;
};
HostSnapshot g_before;
constexpr const char* kHostFile = "host.log";

void FillPlexWindows() {
  for (int64_t w = 0; w < kPlexWindow; ++w) {
    std::memcpy(&DMS_PLEX.words[w], &kPlexPattern, 8);
    std::memcpy(&DMS_PLEX.words[TM_PLEX_WORDS - kPlexWindow + w], &kPlexPattern, 8);
  }
}

// Pool word numbers of the root-memory records the host set up: a routine
// may write inside them and nowhere else in the pool.
bool InsideRecord(const tm_eosret_block& e, int64_t word) {
  if (e.ISTATE < 1) return false;
  const int64_t nmax = e.NMAX;
  // A record may reach past the pool's end; only its words inside count.
  auto inside = [&](int64_t first, int64_t per_nmax, int64_t extra) {
    if (first < 1 || nmax < 0 || word < first) return false;
    const int64_t span = nmax > TM_PLEX_WORDS ? TM_PLEX_WORDS : extra + per_nmax * nmax;
    return word - first < span;
  };
  return inside(e.IPIV, 1, 1) || inside(e.IPIL1, 1, 1) || inside(e.IPIL2, 1, 1) ||
         inside(e.RPIV, 7, 4) || inside(e.RPIL1, 7, 4) || inside(e.RPIL2, 7, 4);
}

// Removes every file in DIR ("" for the working directory).
void EmptyDirectory(const std::string& dir) {
  if (DIR* d = opendir(dir.empty() ? "." : dir.c_str())) {
    while (dirent* e = readdir(d)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") unlink((dir.empty() ? name : dir + "/" + name).c_str());
    }
    closedir(d);
  }
}

void ResetLibrary() {
  using namespace thermomodels;
  for (int32_t u : FuzzUnits()) UnitClose(u);
  if (!g_sandbox.empty()) EmptyDirectory("");  // what the last input left
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
  FillPlexWindows();
  g_found.clear();
  g_describe = nullptr;
}

void LoadKnown() {
  const char* env = std::getenv("TM_FUZZ_KNOWN");
  const std::string path = (env != nullptr && *env != '\0') ? env : TM_FUZZ_KNOWN_FILE;
  std::ifstream f(path);
  std::string line;
  while (std::getline(f, line)) {
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    size_t b = 0;
    while (b < line.size() && std::isspace(static_cast<unsigned char>(line[b]))) ++b;
    line.erase(0, b);
    // Only this target's lines count.
    if (line.rfind(std::string(kTargetName) + " ", 0) == 0) g_known.insert(line);
  }
}

// Removes the sandbox directory with whatever is in it.
void RemoveSandbox() {
  if (g_sandbox.empty() || chdir("/") != 0) return;
  EmptyDirectory(g_sandbox);
  rmdir(g_sandbox.c_str());
  g_sandbox.clear();
}

void Summary() {
  for (const auto& [key, count] : g_known_seen) {
    std::fprintf(stderr, "known violation seen %ld times: %s\n", count, key.c_str());
  }
  for (const std::string& key : g_known) {
    if (g_known_seen.count(key) == 0) {
      std::fprintf(stderr, "listed violation not seen in this run (mended? remove it): %s\n",
                   key.c_str());
    }
  }
  RemoveSandbox();
}

// Judges the input: known violations are counted and shown once, a new one
// stops the run so that the fuzzer keeps the input.
// With TM_FUZZ_SURVEY set, new violations are shown once and counted like
// known ones, so that one run lists every kind it meets.
void Verdict() {
  static const bool survey = std::getenv("TM_FUZZ_SURVEY") != nullptr;
  // With TM_FUZZ_STOP_ON="ROUTINE CHECK", that violation stops the run even
  // when known: the way to minimise an input (-minimize_crash=1).
  static const char* stop_on = std::getenv("TM_FUZZ_STOP_ON");
  bool fresh = false;
  for (const Found& f : g_found) {
    const std::string key = f.routine + " " + f.key;
    if (stop_on != nullptr && key == stop_on) {
      std::fprintf(stderr, "stopping on %s\n  call: %s\n", key.c_str(), f.call.c_str());
      RemoveSandbox();
      std::abort();
    }
    const bool known = g_known.count(key) != 0;
    if ((known || survey) && g_known_seen[key]++ > 0) continue;
    std::string hex;
    for (size_t i = 0; i < g_size; ++i) {
      char b[3];
      std::snprintf(b, sizeof b, "%02x", g_data[i]);
      hex += b;
    }
    std::fprintf(stderr, "%s CONTRACT VIOLATION: %s\n  %s\n  call: %s\n  input (hex): %s\n",
                 known ? "KNOWN" : "NEW", key.c_str(), f.detail.c_str(), f.call.c_str(),
                 hex.c_str());
    fresh = fresh || (!known && !survey);
  }
  if (fresh) {
    std::fprintf(stderr, "a contract violation not listed in known_violations.txt\n");
    RemoveSandbox();
    std::abort();
  }
}

// Makes the paths on the command line absolute before the working directory
// moves into the sandbox (not the program's own: libFuzzer forbids it, so
// run the program by its absolute path when it runs itself again, as
// -minimize_crash does).
void AbsolutePaths(int* argc, char*** argv) {
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) == nullptr) return;
  const std::string here = cwd;
  auto absolute = [&](const std::string& p) {
    return p.empty() || p[0] == '/' ? p : here + "/" + p;
  };
  for (int i = 1; i < *argc; ++i) {
    std::string a = (*argv)[i];
    std::string fixed;
    for (const char* flag : {"-artifact_prefix=", "-exact_artifact_path="}) {
      if (a.rfind(flag, 0) == 0) fixed = flag + absolute(a.substr(std::strlen(flag)));
    }
    if (fixed.empty() && !a.empty() && a[0] != '-') fixed = absolute(a);
    if (!fixed.empty()) (*argv)[i] = strdup(fixed.c_str());
  }
}

}  // namespace

// --- Input ------------------------------------------------------------------

uint64_t Input::Raw() {
  uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(Byte()) << (8 * i);
  return v;
}

int64_t Input::Int(int64_t lo, int64_t hi) {
  switch (Byte() % 3) {
    case 0: {
      const uint64_t span = hi > lo ? static_cast<uint64_t>(hi - lo) + 1 : 1;
      return lo + static_cast<int64_t>(Word16() % span);
    }
    case 1: return Pick(kSpecialInts);
    default: return static_cast<int64_t>(Raw());
  }
}

int32_t Input::Int32(int32_t lo, int32_t hi) {
  const int64_t v = Int(lo, hi);
  return static_cast<int32_t>(static_cast<uint64_t>(v) & 0xFFFFFFFFu);
}

double Input::Scaled(double lo, double hi, bool logarithmic) {
  switch (Byte() % 3) {
    case 0: {
      const double u = Word16() / 65535.0;
      return logarithmic ? lo * std::pow(hi / lo, u) : lo + (hi - lo) * u;
    }
    case 1: return Pick(kSpecialReals);
    default: {
      const uint64_t bits = Raw();
      double v;
      std::memcpy(&v, &bits, 8);
      return v;
    }
  }
}

const std::vector<int32_t>& FuzzUnits() {
  // Standard output (to /dev/null) most often: the other units append to a
  // file line by line.
  static const std::vector<int32_t> units = {6, 7, 40, 51, 60, 99, -3, 6, 6, 6, 6, 6};
  return units;
}

int32_t PickUnit(Input& in) { return in.Pick(FuzzUnits()); }

// --- Memory -----------------------------------------------------------------

#ifdef TM_FUZZ_ASAN
void Poison(const void* p, size_t bytes) { ASAN_POISON_MEMORY_REGION(p, bytes); }
void Unpoison(const void* p, size_t bytes) { ASAN_UNPOISON_MEMORY_REGION(p, bytes); }
#else
void Poison(const void*, size_t) {}
void Unpoison(const void*, size_t) {}
#endif

bool AllGuard(const unsigned char* p, size_t bytes) {
  return std::all_of(p, p + bytes, [](unsigned char b) { return b == kGuardByte; });
}

// --- Verdicts ---------------------------------------------------------------

// Host-set words of the blocks as the call saw them.
std::string HostDescription() {
  const tm_eosret_block& e = g_before.eosret;
  const tm_cpacom_block& c = g_before.cpacom;
  std::string name(c.FILNAM, sizeof c.FILNAM);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  auto words = [](std::initializer_list<int64_t> w) {
    std::string d;
    for (int64_t v : w) d += (d.empty() ? "" : ",") + std::to_string(v);
    return d;
  };
  return "host: DMS_GLOBAL.IUNIT=" + std::to_string(g_before.global.IUNIT) +
         " CPACOM(LVLCPA,IUSEGU,IOPENF,KDIGA,KDIGB,KDIGC)=" +
         words({c.LVLCPA, c.IUSEGU, c.IOPENF, c.KDIGA, c.KDIGB, c.KDIGC}) + " FILNAM=\"" + name +
         "\" EOSRET(ISTATE,LIQNO,IPIV,IPIL1,IPIL2,RPIV,RPIL1,RPIL2,NMAX)=" +
         words({e.ISTATE, e.LIQNO, e.IPIV, e.IPIL1, e.IPIL2, e.RPIV, e.RPIL1, e.RPIL2, e.NMAX}) +
         " units {" + g_before.units + "}";
}

void Violate(const char* routine, const std::string& key, const std::string& detail) {
  g_found.push_back({routine, key, detail,
                     (g_describe ? g_describe() : std::string()) + "\n  " + HostDescription()});
}

void CheckInSet(const char* routine, int64_t v, std::initializer_list<int64_t> set,
                const char* key) {
  for (int64_t w : set) {
    if (v == w) return;
  }
  Violate(routine, key, std::to_string(v));
}

void SetCallDescription(std::function<std::string()> describe) { g_describe = std::move(describe); }

std::string DescribeCall() { return g_describe ? g_describe() : std::string(); }

void EchoCall() {
  static const bool echo = std::getenv("TM_FUZZ_ECHO") != nullptr;
  if (echo && g_describe) {
    std::fprintf(stderr, "call: %s\n  %s\n", g_describe().c_str(), HostDescription().c_str());
  }
}

bool Finite(double v) { return std::isfinite(v); }

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string Num(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

// --- Host blocks ------------------------------------------------------------

void SetHostBlocks(Input& in) {
  // Root memory control: on or off, records near the pool's start or end,
  // or word numbers no pool has.
  tm_eosret_block& e = PPUTL_EOSRET;
  e.ISTATE = in.Int(-1, 2);
  e.LIQNO = in.Int(0, 3);
  e.NMAX = in.Int(0, 8);
  int64_t* records[] = {&e.IPIV, &e.IPIL1, &e.IPIL2, &e.RPIV, &e.RPIL1, &e.RPIL2};
  for (int64_t* r : records) {
    switch (in.Byte() % 4) {
      case 0: *r = 0; break;
      case 1: *r = 1 + (in.Byte() | in.Byte() << 8) % (kPlexWindow - 64); break;
      case 2: *r = TM_PLEX_WORDS - in.Byte() % 80; break;
      default: *r = in.Int(-2, 2); break;
    }
  }
  // Pure-fluid words of the root-solver state, which a caller may set.
  PPUTL_ESROOT.iw[0] = in.Int(-1, 1);
  PPUTL_ESROOT.iw[1] = in.Int(-1, 1);
  // Host unit and the CPA diagnostic overrides.
  DMS_GLOBAL.IUNIT = PickUnit(in);
  tm_cpacom_block& c = PPCPA_CPACOM;
  // Rarely: the traces they turn on slow every call down.
  if (in.Byte() % 4 == 1) {
    c.LVLCPA = in.Int(0, 9);
    c.IUSEGU = in.Int(0, 1);
    c.IOPENF = in.Int(0, 1);
    c.KDIGA = in.Int(0, 9);
    c.KDIGB = in.Int(0, 9);
    c.KDIGC = in.Int(0, 9);
    // A short name from a small alphabet, never a path.
    static const char kAlphabet[] = "abhis0._ ";
    const size_t len = in.Byte() % 12;
    std::memset(c.FILNAM, ' ', sizeof c.FILNAM);
    for (size_t i = 0; i < len; ++i) c.FILNAM[i] = kAlphabet[in.Byte() % (sizeof kAlphabet - 1)];
  } else {
    std::memset(c.FILNAM, ' ', sizeof c.FILNAM);
  }
}

void MaybeOpenHostUnit(Input& in) {
  if (!in.Flag()) return;
  int32_t unit = PickUnit(in);
  const int64_t open = 1;
  int64_t status = 0;
  PPCPA_OPCLFILE(&unit, kHostFile, &open, &status, std::strlen(kHostFile));
}

// Units a routine must leave as it found them: one it opened stays open
// only during the call, one the host opened stays open on the host's file.
void CheckUnits(const char* routine) {
  const std::string after = UnitState();
  if (after == g_before.units) return;
  const std::string detail = "before {" + g_before.units + "} after {" + after + "}";
  for (int32_t u : std::set<int32_t>(FuzzUnits().begin(), FuzzUnits().end())) {
    const std::string key = std::to_string(u) + "=";
    const size_t was = g_before.units.find(key), is = after.find(key);
    if (was == std::string::npos && is != std::string::npos) {
      Violate(routine, "UNIT_LEFT_OPEN", detail);
    } else if (was != std::string::npos &&
               (is == std::string::npos ||
                g_before.units.substr(was, g_before.units.find(';', was) - was) !=
                    after.substr(is, after.find(';', is) - is))) {
      Violate(routine, "UNIT_CLOSED_OR_REASSIGNED", detail);
    }
  }
}

std::string UnitState() {
  std::string s;
  for (int32_t u : std::set<int32_t>(FuzzUnits().begin(), FuzzUnits().end())) {
    if (thermomodels::UnitIsOpen(u))
      s += std::to_string(u) + "=" + thermomodels::UnitFileName(u) + ";";
  }
  return s;
}

void SnapshotHost() {
  g_before.eosret = PPUTL_EOSRET;
  g_before.global = DMS_GLOBAL;
  g_before.cpacom = PPCPA_CPACOM;
  g_before.units = UnitState();
  g_before.plex_low.assign(DMS_PLEX.words, DMS_PLEX.words + kPlexWindow);
  g_before.plex_high.assign(DMS_PLEX.words + TM_PLEX_WORDS - kPlexWindow,
                            DMS_PLEX.words + TM_PLEX_WORDS);
}

void CheckHostBlocks(const char* routine, bool units_may_change) {
  const tm_eosret_block& b = g_before.eosret;
  const tm_eosret_block& a = PPUTL_EOSRET;
  // The library sets ISTATE to 2 on a save and NSAVED; the rest is the host's.
  const bool istate_ok = a.ISTATE == b.ISTATE || (b.ISTATE >= 1 && a.ISTATE == 2);
  if (!istate_ok || a.LIQNO != b.LIQNO || a.IPIV != b.IPIV || a.IPIL1 != b.IPIL1 ||
      a.IPIL2 != b.IPIL2 || a.RPIV != b.RPIV || a.RPIL1 != b.RPIL1 || a.RPIL2 != b.RPIL2 ||
      a.NMAX != b.NMAX) {
    Violate(routine, "HOST_WORD_CHANGED:PPUTL_EOSRET");
  }
  if (std::memcmp(&g_before.global, &DMS_GLOBAL, sizeof DMS_GLOBAL) != 0) {
    Violate(routine, "HOST_WORD_CHANGED:DMS_GLOBAL");
  }
  if (std::memcmp(&g_before.cpacom, &PPCPA_CPACOM, sizeof PPCPA_CPACOM) != 0) {
    Violate(routine, "HOST_WORD_CHANGED:PPCPA_CPACOM");
  }
  for (int64_t w = 0; w < kPlexWindow; ++w) {
    const int64_t low = w + 1, high = TM_PLEX_WORDS - kPlexWindow + w + 1;
    if (!SameBits(g_before.plex_low[w], DMS_PLEX.words[low - 1]) && !InsideRecord(b, low)) {
      Violate(routine, "POOL_WRITTEN_OUTSIDE_RECORDS", "word " + std::to_string(low));
      break;
    }
    if (!SameBits(g_before.plex_high[w], DMS_PLEX.words[high - 1]) && !InsideRecord(b, high)) {
      Violate(routine, "POOL_WRITTEN_OUTSIDE_RECORDS", "word " + std::to_string(high));
      break;
    }
  }
  if (!units_may_change) CheckUnits(routine);
}

PureFluidWords SavePureFluidWords() { return {PPUTL_ESROOT.iw[0], PPUTL_ESROOT.iw[1]}; }

void CheckPureFluidWords(const char* routine, const PureFluidWords& before) {
  const int64_t lq = PPUTL_ESROOT.iw[0], vp = PPUTL_ESROOT.iw[1];
  if ((lq != before.lq && lq != 0) || (vp != before.vp && vp != 0)) {
    Violate(routine, "PURE_FLUID_WORDS_LEFT_SET",
            "LQPURE " + std::to_string(before.lq) + " -> " + std::to_string(lq) + ", VPPURE " +
                std::to_string(before.vp) + " -> " + std::to_string(vp));
  }
}

}  // namespace tmfuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  using namespace tmfuzz;
  AbsolutePaths(argc, argv);
  // The library writes units 6 and fort.N files: standard output goes to
  // /dev/null and every file into a private directory that is emptied after
  // each input and removed at exit.
  if (int fd = open("/dev/null", O_WRONLY); fd >= 0) {
    dup2(fd, 1);
    close(fd);
  }
  const char* tmp = std::getenv("TMPDIR");
  std::string templ = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/tmfuzz.XXXXXX";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  if (mkdtemp(buf.data()) == nullptr || chdir(buf.data()) != 0) {
    std::fprintf(stderr, "cannot make the sandbox directory %s\n", buf.data());
    std::exit(2);
  }
  g_sandbox = buf.data();
  LoadKnown();
  std::atexit(Summary);
#ifdef TM_FUZZ_ASAN
  // A sanitizer's report ends the process without atexit.
  __sanitizer_set_death_callback(RemoveSandbox);
#endif
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tmfuzz;
  ResetLibrary();
  g_data = data;
  g_size = size;
  Input in(data, size);
  FuzzTarget(in);
  Verdict();
  return 0;
}
