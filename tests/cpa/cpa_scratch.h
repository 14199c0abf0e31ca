// The fixture of the CPA tests that read the files the routine writes: each test runs in a fresh
// directory of its own (cpa.his, fort.N belong to that test alone), with SRK methane at hand.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cpa/cpa_fixture.h"

namespace cpa_test {

// How often TEXT occurs in the file NAME (0 when there is no such file).
inline int Count(const std::string& name, const std::string& text) {
  std::stringstream ss;
  ss << std::ifstream(name).rdbuf();
  const std::string s = ss.str();
  int n = 0;
  for (size_t at = s.find(text); at != std::string::npos; at = s.find(text, at + 1)) ++n;
  return n;
}

class CpaScratchDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCpaState();
    char tmpl[] = "/tmp/cpa_export_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(old_dir_);
    std::filesystem::remove_all(dir_);
    ResetCpaState();
  }
  // SRK methane: at 250 K and 5 MPa a vapour root and no liquid root.
  Result Methane(const Request& r = {.kvl = 1}, double t = 250.0, double p = 5e6) {
    return methane_.Call(t, p, {1.0}, r);
  }
  std::filesystem::path old_dir_ = std::filesystem::current_path(), dir_;
  CpaSystem methane_{{kMethaneSrk}};
};

}  // namespace cpa_test
