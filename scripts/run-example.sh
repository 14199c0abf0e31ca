#!/usr/bin/env bash
# Installs the compiler and CMake when missing, builds the library and runs
# the example host programs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh example
cmake -S . -B build/example -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTM_BENCH=OFF
cmake --build build/example -j "${JOBS:-$(nproc)}" --target example_host water_host
./build/example/examples/example_host
echo
./build/example/examples/water_host
