#!/usr/bin/env bash
# Installs what is needed, then builds and runs the whole test suite twice:
# a Release build with warnings as errors, and a build with AddressSanitizer
# and UndefinedBehaviorSanitizer; then builds the fuzz programs of the
# exports with clang and runs each over its seed corpus and a fixed number
# of generated inputs (TM_FUZZ_RUNS, default 20000); last runs the suite
# once more in a Debug build with coverage counters and checks the coverage
# of src/ (scripts/coverage_check.py).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=${JOBS:-$(nproc)}

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTM_WERROR=ON
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTM_SANITIZE=ON -DTM_WERROR=ON
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs"

# Warnings of the library's sources are judged by the builds above; the
# fuzz programs themselves build with -Werror.
CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTM_FUZZ=ON \
  -DTM_WERROR=OFF -DTM_FUZZ_RUNS="${TM_FUZZ_RUNS:-20000}"
cmake --build build/fuzz -j "$jobs"
ctest --test-dir build/fuzz --output-on-failure -j "$jobs"

# Coverage: the same suite in a Debug build with gcc's counters. Fails when a
# function defined in src/ is never entered (but for the exceptions listed,
# with their reasons, in scripts/coverage_allowed.txt) or when the line
# coverage of src/ falls below the floor: a change that loses the test of a
# routine shows here.
coverage_floor=96.6
cmake -S . -B build/coverage -DCMAKE_BUILD_TYPE=Debug -DTM_COVERAGE=ON -DTM_WERROR=ON
cmake --build build/coverage -j "$jobs"
find build/coverage -name '*.gcda' -delete
ctest --test-dir build/coverage --output-on-failure -j "$jobs"
gcovr --root . --filter 'src/' --json --output build/coverage/coverage.json build/coverage
python3 scripts/coverage_check.py build/coverage/coverage.json --floor "$coverage_floor" \
  --allowed scripts/coverage_allowed.txt
