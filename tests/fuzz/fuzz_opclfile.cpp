// Fuzz target of PPCPA_OPCLFILE: a sequence of opens and closes of short
// file names (never a path) on the fuzz units, inside the sandbox.
#include "common/common.h"
#include "harness.h"

namespace tmfuzz {

const char* const kTargetName = "PPCPA_OPCLFILE";

void FuzzTarget(Input& in) {
  SetHostBlocks(in);
  const int calls = 1 + in.Byte() % 6;
  for (int c = 0; c < calls; ++c) {
    // A name of the caller's length from a small alphabet: letters, a dot,
    // blanks (trailing ones pad the name) and NULs at the end.
    static const char kAlphabet[] = "abcfh.  ";
    const size_t len = in.Byte() % 24;
    ArgList args;
    auto& IUNIT = args.In("IUNIT", PickUnit(in));
    auto& FILENAME = args.Add<char>("FILENAME", len, Role::kIn);
    for (size_t i = 0; i < len; ++i) FILENAME[i] = kAlphabet[in.Byte() % (sizeof kAlphabet - 1)];
    if (len > 0 && in.Byte() % 4 == 0) FILENAME[len - 1] = '\0';
    auto& MODE = args.In("MODE", in.Int(1, 3));
    auto& IERR = args.Out<int64_t>("IERR", -99);
    const std::string before = UnitState();
    auto other_units = [&] {
      std::string s;
      for (int32_t u : FuzzUnits()) s += u != *IUNIT ? thermomodels::UnitFileName(u) + ";" : "";
      return s;
    };
    const std::string others_before = other_units();
    SetCallDescription([&] {
      return args.Describe() + " units before {" + before + "} after {" + UnitState() + "}";
    });
    args.Snapshot();
    SnapshotHost();
    PPCPA_OPCLFILE(IUNIT.p(), FILENAME.p(), MODE.p(), IERR.p(), len);
    args.Check(kTargetName);
    CheckHostBlocks(kTargetName, true);

    const int64_t ierr = *IERR, mode = *MODE;
    CheckInSet(kTargetName, ierr, {0, 1, 2});
    if (mode != 1 && mode != 2) {
      if (ierr != 1) Violate(kTargetName, "BAD_MODE_NOT_REFUSED");
      if (UnitState() != before) Violate(kTargetName, "BAD_MODE_CHANGED_UNITS");
      continue;
    }
    if (other_units() != others_before) Violate(kTargetName, "OTHER_UNIT_CHANGED");
    std::string name(FILENAME.p(), len);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
    const std::string now = thermomodels::UnitFileName(*IUNIT);
    if (mode == 2 && (ierr != 0 || thermomodels::UnitIsOpen(*IUNIT))) {
      Violate(kTargetName, "CLOSE_LEFT_UNIT_OPEN");
    }
    if (mode == 1 && ierr == 0 && now != name) Violate(kTargetName, "OPEN_NOT_ON_NAMED_FILE");
    if (mode == 1 && ierr == 2 && thermomodels::UnitIsOpen(*IUNIT) && now == name) {
      Violate(kTargetName, "OPEN_FAILED_BUT_FILE_OPEN");
    }
  }
}

}  // namespace tmfuzz
