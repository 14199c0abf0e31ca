// Numbered text output units and the processor clock.
#include <cstdio>
#include <ctime>
#include <map>
#include <string>

#include "common/common.h"

namespace thermomodels {
namespace {

struct OpenUnit {
  std::FILE* file = nullptr;
  std::string name;
};

// Files opened on units by UnitOpen; one process-wide table.
std::map<int32_t, OpenUnit>& OpenUnits() {
  static std::map<int32_t, OpenUnit> units;
  return units;
}

}  // namespace

bool UnitOpen(int32_t unit, std::string_view filename) {
  UnitClose(unit);
  // Fortran pads names with blanks: trailing blanks are not part of the name.
  while (!filename.empty() && (filename.back() == ' ' || filename.back() == '\0')) {
    filename.remove_suffix(1);
  }
  if (filename.empty()) return false;
  std::string name(filename);
  std::FILE* f = std::fopen(name.c_str(), "a");
  if (f == nullptr) return false;
  OpenUnits()[unit] = OpenUnit{f, name};
  return true;
}

void UnitClose(int32_t unit) {
  auto& units = OpenUnits();
  auto it = units.find(unit);
  if (it == units.end()) return;
  std::fclose(it->second.file);
  units.erase(it);
}

bool UnitIsOpen(int32_t unit) { return OpenUnits().count(unit) != 0; }

std::string UnitFileName(int32_t unit) {
  auto& units = OpenUnits();
  auto it = units.find(unit);
  return it == units.end() ? std::string() : it->second.name;
}

void UnitWrite(int32_t unit, std::string_view line) {
  std::string text(line);
  text.push_back('\n');
  auto& units = OpenUnits();
  if (auto it = units.find(unit); it != units.end()) {
    std::fwrite(text.data(), 1, text.size(), it->second.file);
    std::fflush(it->second.file);
    return;
  }
  if (unit == 6) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return;
  }
  if (unit == 0) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    return;
  }
  // An unopened unit writes to fort.N, as a Fortran runtime would.
  std::string name = "fort." + std::to_string(unit);
  if (std::FILE* f = std::fopen(name.c_str(), "a")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
}

double CpuTime() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

void AppendValue(std::string& out, double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.8E", v);
  out.append(buf);
}

void AppendValue(std::string& out, int64_t v) { out.append(std::to_string(v)); }

}  // namespace thermomodels
