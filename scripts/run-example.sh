#!/usr/bin/env bash
# Builds the library and runs the example host program.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/example -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTM_BENCH=OFF
cmake --build build/example -j "$(nproc)" --target example_host water_host
./build/example/examples/example_host
echo
./build/example/examples/water_host
