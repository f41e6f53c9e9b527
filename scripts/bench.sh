#!/usr/bin/env bash
# Builds and runs every benchmark program. Benchmarks print figures (medians
# of several runs); they pass or fail nothing but a broken run.
#
#   scripts/bench.sh            all benchmarks, full sizes
#   scripts/bench.sh --quick    small sizes, one run each (checks they work)
#   scripts/bench.sh --runs N   N runs per figure (default 5)
#
# Runs under nice: the machine is shared. Figures and method: docs/performance.md.
set -euo pipefail
cd "$(dirname "$0")/.."

args=("$@")
build_dir=${BENCH_BUILD_DIR:-build/bench}

echo "== native benchmarks (simulated desktop, $build_dir)"
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  nice cmake -S bench -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
nice cmake --build "$build_dir" -j"$(nproc)" >/dev/null
for b in "$build_dir"/bench_*; do
  [ -x "$b" ] && [ -f "$b" ] || continue
  echo
  nice "$b" "${args[@]}"
done

# ---------------------------------------------------------------------------
# Wine benchmarks (typing into and capturing from real windows under 64-bit
# Wine): NOT YET ADDED. They will be built in the win64 tree and run here
# through scripts/with-wine.sh, after the native ones.
# ---------------------------------------------------------------------------
