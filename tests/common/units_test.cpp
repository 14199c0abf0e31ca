// Numbered output units behave as a Fortran runtime's: named files append, unopened units write to
// fort.N, unit 6 to standard output.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "common/common.h"

namespace thermomodels {
namespace {

std::string ReadAll(const std::string& name) {
  std::stringstream ss;
  ss << std::ifstream(name).rdbuf();
  return ss.str();
}

TEST(OutputUnits, OpenedFileAppendsAndUnopenedUnitWritesFortN) {
  const std::string name = "units_test.his";
  std::remove(name.c_str());
  std::remove("fort.91");
  ASSERT_TRUE(UnitOpen(90, name + "   "));  // trailing blanks are padding
  EXPECT_TRUE(UnitIsOpen(90));
  EXPECT_EQ(UnitFileName(90), name);
  WriteLine(90, "FIRST: N = ", int64_t{3}, "  X = ", 0.5);
  UnitClose(90);
  EXPECT_FALSE(UnitIsOpen(90));
  ASSERT_TRUE(UnitOpen(90, name));
  WriteLine(90, "SECOND");
  UnitClose(90);
  UnitClose(90);  // closing a closed unit does nothing
  EXPECT_EQ(ReadAll(name), "FIRST: N = 3  X = 5.00000000E-01\nSECOND\n");

  WriteLine(91, "TO FORT");
  WriteLine(91, "AGAIN");
  EXPECT_EQ(ReadAll("fort.91"), "TO FORT\nAGAIN\n");
  std::remove(name.c_str());
  std::remove("fort.91");
}

TEST(OutputUnits, BlankNameIsRefusedAndUnitSixIsStandardOutput) {
  EXPECT_FALSE(UnitOpen(92, "    "));
  ::testing::internal::CaptureStdout();
  WriteLine(6, "ON UNIT 6");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ON UNIT 6\n");
}

TEST(Conventions, LogicalsSetValuesAndPoolRanges) {
  EXPECT_TRUE(IsTrue(kTrue) && IsTrue(1));
  EXPECT_FALSE(IsTrue(kFalse) || IsTrue(2));  // only the lowest bit counts
  EXPECT_FALSE(IsSet(0.0) || IsSet(kNoValue));
  EXPECT_TRUE(IsSet(-3.0));
  EXPECT_TRUE(PlexRangeOk(1, TM_PLEX_WORDS));
  EXPECT_FALSE(PlexRangeOk(0, 1));
  EXPECT_FALSE(PlexRangeOk(2, TM_PLEX_WORDS));
  EXPECT_FALSE(PlexRangeOk(TM_PLEX_WORDS, 2));
  EXPECT_TRUE(PlexRangeOk(TM_PLEX_WORDS, 1));
  PlexSetInt(5, -42);
  EXPECT_EQ(PlexInt(5), -42);
}

}  // namespace
}  // namespace thermomodels
