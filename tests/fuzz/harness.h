// Code shared by the fuzz programs. A program's TM_FUZZ_TARGET reads its calls' arguments into an
// ArgList, makes each call with Call() and states the contract with Violate(), which stops the run.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "thermomodels.h"

namespace tmfuzz {
// Reads the input (0 past its end). A number's tag byte % 3: 0 typical in lo..hi, 1 special, 2 raw.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
  uint8_t Byte() { return p_ < end_ ? *p_++ : 0; }
  bool Flag() { return (Byte() & 1) != 0; }
  int Calls(int most) { return 1 + Byte() % most; }  // the calls of one input
  int64_t Int(int64_t lo, int64_t hi);
  double Real(double lo, double hi) { return Scaled(lo, hi, false); }
  double RealLog(double lo, double hi) { return Scaled(lo, hi, true); }
  uint64_t Raw(int bytes);

 private:
  double Scaled(double lo, double hi, bool logarithmic);
  const uint8_t* p_;
  const uint8_t* end_;
};

extern const char* const kTargetName;
void FuzzTarget(Input& in);
// Opens a program's FuzzTarget of the routine NAME.
#define TM_FUZZ_TARGET(NAME)                     \
  const char* const tmfuzz::kTargetName = #NAME; \
  void tmfuzz::FuzzTarget(tmfuzz::Input& in)
int32_t PickUnit(Input& in);  // an output unit (standard output most often), never standard error

inline constexpr double kUnwritten = -7.25e-301;  // what an output starts as
inline bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
// A temperature, pressure or volume a state can have.
inline bool Usable(double x) { return std::isfinite(x) && x > 0.0; }
// kIn unchanged; kOut preset again to repeat; kWork kept between calls; kUnread poisoned.
enum class Role { kIn, kOut, kWork, kUnread };
// One argument: n elements between poisoned guard words; Check() compares guards and an input.
class ArgBase {
 public:
  ArgBase(const char* name, size_t n, size_t size, Role role);
  virtual ~ArgBase();
  void Snapshot() {
    if (role == Role::kIn) preset_ = Bytes();
  }
  void Check() const;
  std::string Bytes() const { return {reinterpret_cast<const char*>(body_), n_ * size_}; }
  // Back to the contents it was made with; whether it still holds them.
  void Refill() { std::memcpy(body_, preset_.data(), preset_.size()); }
  bool Untouched() const {
    return preset_.size() == n_ * size_ && std::memcmp(body_, preset_.data(), preset_.size()) == 0;
  }
  const char* const name;
  const Role role;

 protected:
  void Poison() const;  // the guards, and the body when unread, for AddressSanitizer
  unsigned char* body_;
  size_t n_;
  std::string preset_;  // an input's bytes before the call, an output's as made
  size_t size_;
  unsigned char* block_;
};
template <typename T>
class Arg : public ArgBase {
 public:
  // N copies of FILL, or the N VALUES.
  Arg(const char* name, size_t n, Role role, T fill, const T* values)
      : ArgBase(name, n, sizeof(T), role) {
    if (role == Role::kUnread) return;
    for (size_t i = 0; i < n; ++i) p()[i] = values != nullptr ? values[i] : fill;
    preset_ = Bytes();
  }
  T* p() { return reinterpret_cast<T*>(body_); }
  T& operator[](size_t i) { return p()[i]; }
  T& operator*() { return *p(); }
  size_t size() const { return n_; }
};
// The arguments of one call: its own and those of lists it includes.
class ArgList {
 public:
  template <typename T>
  Arg<T>& Add(const char* name, size_t n, Role role, T fill = T{}, const T* values = nullptr) {
    owned_.push_back(std::make_unique<Arg<T>>(name, n, role, fill, values));
    all_.push_back(owned_.back().get());
    return static_cast<Arg<T>&>(*owned_.back());
  }
  template <typename T>
  Arg<T>& Add(const char* name, const std::vector<T>& values, Role role) {
    return Add<T>(name, values.size(), role, T{}, values.data());
  }
  template <typename T>
  Arg<T>& In(const char* name, T value) {
    return Add<T>(name, 1, Role::kIn, value);
  }
  template <typename T>
  Arg<T>& Out(const char* name, T fill) {
    return Add<T>(name, 1, Role::kOut, fill);
  }
  void Include(const ArgList& l) { all_.insert(all_.end(), l.all_.begin(), l.all_.end()); }
  std::vector<ArgBase*> all_;
  std::vector<std::unique_ptr<ArgBase>> owned_;
};
// Reports a violation: KEY names the check (and argument), DETAIL more.
void Violate(const std::string& key, const std::string& detail = "");
void CheckInSet(int64_t v, std::initializer_list<int64_t> set,
                const char* key = "IERR_OUTSIDE_SET");
// The words a host sets in the blocks, then, with HOST_UNIT, maybe the host's own file on a unit.
void SetHostBlocks(Input& in, bool host_unit = false);
// What a call may change besides its arguments: one unit, the pure-fluid words (back to 0 only).
struct Allowed {
  int32_t unit = 0;
  bool pure_fluid_words = false;
};
// One call: arguments, host blocks, units and pool ends recorded, then checked.
void Call(ArgList& args, Allowed allowed, const std::function<void()>& call);
inline void Call(ArgList& args, const std::function<void()>& call) { Call(args, {}, call); }
// The same call again, outputs preset again, must give the same bytes.
void CheckRepeat(ArgList& args, const std::function<void()>& call);

}  // namespace tmfuzz
