// Shared constants, host blocks and the small platform layer: numbered text
// output units and a processor-time clock.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

#include "thermomodels.h"

namespace thermomodels {

// No-value marker: returned where a quantity has no value, passed for an
// input that is not given.
inline constexpr double kNoValue = 1e35;

// Logical values as the host sees them: true is -1, a test reads bit 0.
inline constexpr int64_t kTrue = -1;
inline constexpr int64_t kFalse = 0;
inline constexpr bool IsTrue(int64_t logical) { return (logical & 1) != 0; }
inline constexpr int64_t ToLogical(bool b) { return b ? kTrue : kFalse; }

// A parameter counts as given when it is neither 0 nor the no-value marker.
inline constexpr bool IsSet(double value) { return value != 0.0 && value != kNoValue; }

// ---------------------------------------------------------------------------
// Private global blocks: read by the library, written by nobody in it.
// ---------------------------------------------------------------------------

// Global diagnostic block; word 68 switches the root-memory traces on.
struct DiagcomBlock {
  int64_t words[100];
};
extern DiagcomBlock DIAGCOM;

// Root-solver settings read by the CPA core when its tolerance option is -1:
// word 1 the relative pressure tolerance, word 2 the minimum-slope factor.
struct EsrsetBlock {
  double RTOL;
  double DPDXMF;
};
extern EsrsetBlock ESRSET;

// Root-solver option read with the tolerance option -1: word 1 the
// accept-early switch (1 ends at the branch limit without a pseudo-root).
struct EsroptBlock {
  int64_t IACCPT;
};
extern EsroptBlock ESROPT;

// Named positions in PPUTL_ESROOT (0-based indices into iw and rw).
namespace esr {
enum Int : int {
  LQPURE = 0,
  VPPURE,
  LVFIX,
  LVCUT,
  ITER,
  LPHIH,
  ISTATL1,
  ISTATV,
  UNUSED9,
  ISTATL2,
  LQPUR2,
  MODELS1,
  MODELS2,
  UNUSED14
};
inline constexpr int LPLOW = LPHIH;
}  // namespace esr

// ---------------------------------------------------------------------------
// Pool access: 1-based 8-byte words of DMS_PLEX, bounds-checked by callers
// through PlexRangeOk.
// ---------------------------------------------------------------------------
inline bool PlexRangeOk(int64_t first, int64_t count) {
  return first >= 1 && count >= 0 && first <= TM_PLEX_WORDS && count <= TM_PLEX_WORDS - first + 1;
}
int64_t PlexInt(int64_t word);
void PlexSetInt(int64_t word, int64_t value);
inline double& PlexReal(int64_t word) { return DMS_PLEX.words[word - 1]; }

// ---------------------------------------------------------------------------
// Numbered output units, as a Fortran runtime provides them: unit 6 is
// standard output, unit 0 standard error, a unit opened on a named file
// appends to it, and any other unit appends to "fort.N" in the working
// directory.
// ---------------------------------------------------------------------------

// Opens FILENAME for appending on UNIT (closing what the unit had open).
// Returns false when the file cannot be opened.
bool UnitOpen(int32_t unit, std::string_view filename);
// Closes the file open on UNIT; nothing happens when none is.
void UnitClose(int32_t unit);
bool UnitIsOpen(int32_t unit);
// Name of the file open on UNIT ("" when none).
std::string UnitFileName(int32_t unit);
// Writes one whole line (a newline is added).
void UnitWrite(int32_t unit, std::string_view line);

// Seconds of processor time used by the process.
double CpuTime();

// Appends one value in the library's message layout.
inline void AppendValue(std::string& out, std::string_view s) { out.append(s); }
inline void AppendValue(std::string& out, const char* s) { out.append(s); }
inline void AppendValue(std::string& out, const std::string& s) { out.append(s); }
void AppendValue(std::string& out, double v);
void AppendValue(std::string& out, int64_t v);
template <typename T>
requires(std::is_integral_v<T> && !std::is_same_v<T, int64_t> &&
         !std::is_same_v<T, bool>) inline void AppendValue(std::string& out, T v) {
  AppendValue(out, static_cast<int64_t>(v));
}

// Writes the concatenation of the items as one line: texts as they stand,
// integers in plain form, reals in exponent form.
template <typename... Items>
void WriteLine(int32_t unit, const Items&... items) {
  std::string line;
  (AppendValue(line, items), ...);
  UnitWrite(unit, line);
}

}  // namespace thermomodels
