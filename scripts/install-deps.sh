#!/usr/bin/env bash
# Installs the Debian packages a build needs, when they are missing.
#   install-deps.sh example   compiler and CMake: enough to build the library
#                             and run the example hosts;
#   install-deps.sh           everything the whole test suite and the
#                             benchmarks use (GoogleTest, Google Benchmark,
#                             gfortran, pkg-config, binutils, clang for the
#                             fuzz programs).
set -euo pipefail
packages=(cmake g++ make)
if [[ "${1:-all}" != example ]]; then
  # clang and its runtime libraries build the fuzz programs (libFuzzer);
  # gcovr reports the test suite's line coverage.
  packages+=(gfortran libgtest-dev libgmock-dev libbenchmark-dev binutils pkg-config
             clang libclang-rt-dev gcovr)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=""
  [[ $(id -u) -ne 0 ]] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
