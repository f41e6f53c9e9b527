#!/usr/bin/env bash
# Builds and runs every benchmark program. Benchmarks print figures (medians
# of several runs); they pass or fail nothing but a broken run.
#
#   scripts/bench.sh            all benchmarks, full sizes
#   scripts/bench.sh --quick    small sizes, one run each (checks they work)
#   scripts/bench.sh --runs N   N runs per figure (default 5)
#   scripts/bench.sh --wine     the Wine benchmarks only
#
# Runs under nice: the machine is shared. Figures and method: docs/performance.md.
set -euo pipefail
cd "$(dirname "$0")/.."

wine_only=0
if [ "${1:-}" = "--wine" ]; then wine_only=1; shift; fi
args=("$@")
build_dir=${BENCH_BUILD_DIR:-build/bench}

if [ "$wine_only" = 0 ]; then
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
fi

# Wine benchmarks: typing into real windows (our target, Wine's notepad) against
# the bare keybd_event floor and xdotool, capture and stop latency. Built in the
# win64 tree, run under 64-bit Wine on a virtual display. About 9-10 minutes
# with the defaults; --quick checks that they work (about 1 minute).
echo
echo "== Wine benchmarks (win64 tree, under scripts/with-wine.sh)"
nice cmake --preset win64 >/dev/null
nice cmake --build build/win64 -j2 --target typing_bench capture_bench stop_bench >/dev/null
nice bash scripts/with-wine.sh bash -c '
  cd build/win64/bench/wine
  for b in typing_bench capture_bench stop_bench; do
    echo; "$WINE_LOADER" "./$b.exe" "$@" || exit 1
  done' wine-benchmarks "${args[@]}"
