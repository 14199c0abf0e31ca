// Shared part of the fuzz targets of the exported routines.
//
// A target is one file that defines kTargetName and FuzzTarget(Input&): it
// reads the arguments of one or more calls from the fuzz input, builds the
// caller's arrays in an ArgList (exactly the documented number of elements
// between poisoned guard words), calls the export and states the routine's
// contract with Violate(). The harness resets the library and the host
// blocks before every input, keeps every file the library writes inside a
// private temporary directory, and after every input fails on a contract
// violation that tests/fuzz/known_violations.txt does not list.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "thermomodels.h"

namespace tmfuzz {

// Reads the fuzz input front to back; past its end every byte is 0.
// Numbers carry a tag byte: tag % 3 == 0 a value inside the caller's
// typical range, 1 a value from a list of special values, 2 the raw bits
// that follow (8 bytes, little-endian).
class Input {
 public:
  Input(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
  uint8_t Byte() { return p_ < end_ ? *p_++ : 0; }
  bool Flag() { return (Byte() & 1) != 0; }
  uint64_t Raw();
  // lo..hi inclusive (span below 65536) in the typical case.
  int64_t Int(int64_t lo, int64_t hi);
  int32_t Int32(int32_t lo, int32_t hi);
  // Typical values spread evenly over lo..hi, or in the logarithm (lo > 0).
  double Real(double lo, double hi) { return Scaled(lo, hi, false); }
  double RealLog(double lo, double hi) { return Scaled(lo, hi, true); }
  template <typename T>
  const T& Pick(const std::vector<T>& list) {
    return list[Byte() % list.size()];
  }

 private:
  double Scaled(double lo, double hi, bool logarithmic);
  uint16_t Word16() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
  const uint8_t* p_;
  const uint8_t* end_;
};

// Output units a call may name: standard output, files fort.N and the
// history-file units above 50. Standard error (unit 0) is left out so that
// the sanitizers' reports stay readable.
int32_t PickUnit(Input& in);
const std::vector<int32_t>& FuzzUnits();

// What the caller does with an argument.
enum class Role {
  kIn,      // read only: must come back unchanged
  kOut,     // written by the routine
  kWork,    // written by the routine, left out of the call's description
  kUnread,  // documented as not read: poisoned, any access is reported
};

// What an output starts as, so that a write shows.
inline constexpr double kUnwritten = -7.25e-301;

bool Finite(double v);
// Same bits (so that a NaN equals itself).
bool SameBits(double a, double b);
std::string Num(double v);
// A temperature, pressure or volume a state can have: finite and positive.
inline bool Usable(double x) { return std::isfinite(x) && x > 0.0; }

template <typename T>
std::string DescribeList(const char* name, const T* v, size_t n) {
  std::string d = std::string(" ") + name + "=(";
  for (size_t i = 0; i < n; ++i) {
    if constexpr (std::is_floating_point_v<T>) {
      d += (i > 0 ? "," : "") + Num(v[i]);
    } else {
      d += (i > 0 ? "," : "") + std::to_string(v[i]);
    }
  }
  return d + ")";
}

// One argument of the caller: N elements of T between guard words. The
// guards (and the whole area of an unread argument) are poisoned for
// AddressSanitizer, so an access outside the documented size is reported
// where it happens; Check() also compares the guard pattern and, for an
// input, the contents.
class ArgBase {
 public:
  virtual ~ArgBase() = default;
  virtual void Snapshot() = 0;
  virtual void Check(const char* routine) const = 0;
  virtual const char* name() const = 0;
  virtual Role role() const = 0;
  virtual std::string Bytes() const = 0;
  // " NAME=value" or " NAME=(values)".
  virtual std::string Text() const = 0;
};

template <typename T>
class Arg : public ArgBase {
 public:
  Arg(const char* name, size_t n, Role role, T fill);
  ~Arg() override;
  Arg(const Arg&) = delete;
  Arg& operator=(const Arg&) = delete;
  T* p() { return body_; }
  const T* p() const { return body_; }
  T& operator[](size_t i) { return body_[i]; }
  const T& operator[](size_t i) const { return body_[i]; }
  T& operator*() { return body_[0]; }
  const T& operator*() const { return body_[0]; }
  size_t size() const { return n_; }
  const char* name() const override { return name_; }
  Role role() const override { return role_; }
  std::string Bytes() const override {
    return std::string(reinterpret_cast<const char*>(body_), n_ * sizeof(T));
  }
  std::string Text() const override {
    if constexpr (sizeof(T) == 1) return std::string(" ") + name_ + "=\"" + Bytes() + "\"";
    if (n_ != 1) return DescribeList(name_, body_, n_);
    if constexpr (std::is_floating_point_v<T>) return std::string(" ") + name_ + "=" + Num(*body_);
    return std::string(" ") + name_ + "=" + std::to_string(*body_);
  }
  void Snapshot() override;
  void Check(const char* routine) const override;

 private:
  const char* name_;
  size_t n_;
  Role role_;
  unsigned char* block_;
  T* body_;
  std::vector<unsigned char> copy_;
};

// The arguments of one routine, owned by the list: Snapshot() before a
// call, Check() after, Describe() for the report.
class ArgList {
 public:
  template <typename T>
  Arg<T>& Add(const char* name, size_t n, Role role, T fill = T{}) {
    auto a = std::make_unique<Arg<T>>(name, n, role, fill);
    Arg<T>& r = *a;
    args_.push_back(std::move(a));
    return r;
  }
  template <typename T>
  Arg<T>& In(const char* name, T value) {
    return Add<T>(name, 1, Role::kIn, value);
  }
  template <typename T>
  Arg<T>& Out(const char* name, T fill) {
    return Add<T>(name, 1, Role::kOut, fill);
  }
  void Snapshot() {
    for (auto& a : args_) a->Snapshot();
  }
  void Check(const char* routine) const {
    for (const auto& a : args_) a->Check(routine);
  }
  // The inputs, then "->" and the outputs (work arrays and unread ones left out).
  std::string Describe() const {
    std::string in, out;
    for (const auto& a : args_) {
      if (a->role() == Role::kIn) in += a->Text();
      if (a->role() == Role::kOut) out += a->Text();
    }
    return out.empty() ? in : in + " ->" + out;
  }

 private:
  std::vector<std::unique_ptr<ArgBase>> args_;
};

// Records a contract violation of ROUTINE in the current input. KEY names
// the check and the argument ("NONFINITE_WITH_IERR0:VALUE"); it is what the
// list of known violations matches. DETAIL is printed with the input.
void Violate(const char* routine, const std::string& key, const std::string& detail = "");
// Reports KEY when V is not one of SET.
void CheckInSet(const char* routine, int64_t v, std::initializer_list<int64_t> set,
                const char* key = "IERR_OUTSIDE_SET");
// Describes the current call, for the report of a violation.
void SetCallDescription(std::function<std::string()> describe);
std::string DescribeCall();
// With TM_FUZZ_ECHO set, prints the description of every call.
void EchoCall();

// Host blocks: the words a host sets are read from the input; after a call
// CheckHostBlocks() reports every host word, and every word of the storage
// pool outside the root-memory records, that the routine changed, and
// (unless UNITS_MAY_CHANGE: a routine whose task is to open or close) every
// unit the routine left open or closed or reassigned.
void SetHostBlocks(Input& in);
void SnapshotHost();
void CheckHostBlocks(const char* routine, bool units_may_change = false);
// The host opens its own file on one of the units before the calls (what
// the host's output goes to); a routine must leave it open on that file.
void MaybeOpenHostUnit(Input& in);
// Unit state of the fuzz units as "unit=file;..." (open units only).
std::string UnitState();

// The pure-fluid words of PPUTL_ESROOT: a water routine sets them to -1 only
// for its own region-3 search and to 0 afterwards, or leaves them alone.
struct PureFluidWords {
  int64_t lq, vp;
};
PureFluidWords SavePureFluidWords();
void CheckPureFluidWords(const char* routine, const PureFluidWords& before);

// One call: arguments and host blocks recorded, CALL run, then both checked.
template <typename F>
void Call(const char* routine, ArgList& args, F&& call) {
  args.Snapshot();
  SnapshotHost();
  call();
  args.Check(routine);
  CheckHostBlocks(routine);
  EchoCall();
}

// A repeated identical call gives the identical result: REPEAT makes the
// call again with the same arguments; each of OUTPUTS must come back with
// the same bytes, else REPEAT_DIFFERS names the first that differs.
template <typename F>
void CheckRepeat(const char* routine, const std::vector<const ArgBase*>& outputs, F&& repeat) {
  std::vector<std::string> first;
  for (const ArgBase* a : outputs) first.push_back(a->Bytes());
  const std::string before = DescribeCall();
  repeat();
  for (size_t k = 0; k < outputs.size(); ++k) {
    if (outputs[k]->Bytes() != first[k]) {
      Violate(routine, std::string("REPEAT_DIFFERS:") + outputs[k]->name(),
              "first call: " + before);
      return;
    }
  }
}

// Defined by each target.
extern const char* const kTargetName;
void FuzzTarget(Input& in);

// ---------------------------------------------------------------------------

// Memory helpers of Arg<T>: poisoning for AddressSanitizer (a no-op in a
// build without it) and the guard pattern.
void Poison(const void* p, size_t bytes);
void Unpoison(const void* p, size_t bytes);
inline constexpr unsigned char kGuardByte = 0xA5;
inline constexpr size_t kGuardBytes = 64;
bool AllGuard(const unsigned char* p, size_t bytes);

template <typename T>
Arg<T>::Arg(const char* name, size_t n, Role role, T fill) : name_(name), n_(n), role_(role) {
  const size_t total = 2 * kGuardBytes + n * sizeof(T);
  block_ = new unsigned char[total];
  std::memset(block_, kGuardByte, total);
  body_ = reinterpret_cast<T*>(block_ + kGuardBytes);
  if (role != Role::kUnread) {
    for (size_t i = 0; i < n; ++i) body_[i] = fill;
  }
  Poison(block_, kGuardBytes);
  Poison(block_ + kGuardBytes + n * sizeof(T), kGuardBytes);
  if (role == Role::kUnread) Poison(body_, n * sizeof(T));
}

template <typename T>
Arg<T>::~Arg() {
  Unpoison(block_, 2 * kGuardBytes + n_ * sizeof(T));
  delete[] block_;
}

template <typename T>
void Arg<T>::Snapshot() {
  if (role_ != Role::kIn) return;
  const auto* b = reinterpret_cast<const unsigned char*>(body_);
  copy_.assign(b, b + n_ * sizeof(T));
}

template <typename T>
void Arg<T>::Check(const char* routine) const {
  const size_t bytes = n_ * sizeof(T);
  Unpoison(block_, 2 * kGuardBytes + bytes);
  if (!AllGuard(block_, kGuardBytes)) Violate(routine, std::string("WRITE_BEFORE_ARRAY:") + name_);
  if (!AllGuard(block_ + kGuardBytes + bytes, kGuardBytes)) {
    Violate(routine, std::string("WRITE_AFTER_ARRAY:") + name_);
  }
  const auto* b = reinterpret_cast<const unsigned char*>(body_);
  if (role_ == Role::kUnread && !AllGuard(b, bytes)) {
    Violate(routine, std::string("UNREAD_ARGUMENT_WRITTEN:") + name_);
  }
  if (role_ == Role::kIn && bytes > 0 && std::memcmp(b, copy_.data(), bytes) != 0) {
    Violate(routine, std::string("INPUT_CHANGED:") + name_);
  }
  Poison(block_, kGuardBytes);
  Poison(block_ + kGuardBytes + bytes, kGuardBytes);
  if (role_ == Role::kUnread) Poison(body_, bytes);
}

}  // namespace tmfuzz
