#!/usr/bin/env bash
# Installs the compiler and CMake when missing, builds the library and runs
# the example host programs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh example
cmake -S . -B build/example -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTM_BENCH=OFF
cmake --build build/example -j "${JOBS:-$(nproc)}" --target example_host water_host
# Run in the build tree, where the example writes its history file.
cd build/example
./examples/example_host
echo
./examples/water_host
