// Fuzz target of PPCPA_OPCLFILE: opens and closes of short file names (never a path) on the fuzz
// units; no other unit may change, none with a bad mode.
#include "common/common.h"
#include "harness.h"

TM_FUZZ_TARGET(PPCPA_OPCLFILE) {
  SetHostBlocks(in);
  for (int c = in.Calls(6); c > 0; --c) {
    // A name from letters, a dot, blanks (padding) and a NUL at the end.
    static const char kAlphabet[] = "abcfh.  ";
    const size_t len = in.Byte() % 24;
    ArgList args;
    auto& IUNIT = args.In("IUNIT", PickUnit(in));
    auto& FILENAME = args.Add<char>("FILENAME", len, Role::kIn);
    for (size_t i = 0; i < len; ++i) FILENAME[i] = kAlphabet[in.Byte() % (sizeof kAlphabet - 1)];
    if (len > 0 && in.Byte() % 4 == 0) FILENAME[len - 1] = '\0';
    auto& MODE = args.In("MODE", in.Int(1, 3));
    auto& IERR = args.Out<int64_t>("IERR", -99);
    const int64_t mode = *MODE;
    const bool known_mode = mode == 1 || mode == 2;
    Call(args, {.unit = known_mode ? *IUNIT : 0},
         [&] { PPCPA_OPCLFILE(IUNIT.p(), FILENAME.p(), MODE.p(), IERR.p(), len); });
    const int64_t ierr = *IERR;
    CheckInSet(ierr, {0, 1, 2});
    if (!known_mode && ierr != 1) Violate("BAD_MODE_NOT_REFUSED");
    std::string name(FILENAME.p(), len);
    name.erase(name.find_last_not_of(std::string(" \0", 2)) + 1);
    const bool open = thermomodels::UnitIsOpen(*IUNIT);
    if (mode == 2 && (ierr != 0 || open)) Violate("CLOSE_LEFT_UNIT_OPEN");
    const std::string now = thermomodels::UnitFileName(*IUNIT);
    if (mode == 1 && ierr == 0 && now != name) Violate("OPEN_NOT_ON_NAMED_FILE");
    if (mode == 1 && ierr == 2 && open && now == name) Violate("OPEN_FAILED_BUT_FILE_OPEN");
  }
}
