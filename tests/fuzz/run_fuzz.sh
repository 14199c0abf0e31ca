#!/usr/bin/env bash
# Runs one fuzz program over its seed corpus (only read), then RUNS generated inputs from SEED;
# prints a failing input in hex. Further flags go to libFuzzer.
#   run_fuzz.sh PROGRAM CORPUS_DIR RUNS SEED [FLAG...]
set -euo pipefail
program=$1 corpus=$2 runs=$3 seed=$4
shift 4
work=$(mktemp -d "${TMPDIR:-/tmp}/tmfuzz-run.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/new" "$work/artifacts"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:malloc_context_size=4}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TMPDIR=$work
status=0
"$program" -runs="$runs" -seed="$seed" -max_len=2048 -timeout=20 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$@" "$work/new" "$corpus" || status=$?
for f in "$work"/artifacts/*; do
  [[ -e $f ]] || continue
  echo "failing input $(basename "$f") (hex):"
  od -An -tx1 -v "$f" | tr -d ' \n'
  echo
done
exit "$status"
