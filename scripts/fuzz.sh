#!/usr/bin/env bash
# Builds and runs the libFuzzer targets of the core readers (fuzz/).
#
#   scripts/fuzz.sh TARGET SECONDS   fuzz one target (or "all", one after the
#                                    other) for SECONDS each; new inputs go to
#                                    build/fuzz/corpus/TARGET, crashes to
#                                    build/fuzz/artifacts/TARGET
#   scripts/fuzz.sh --ci             every target for a short fixed time on its
#                                    seed corpus (fuzz/corpus/TARGET) with leak
#                                    detection; fails on any crash, leak or
#                                    sanitizer report
#   scripts/fuzz.sh --list           the target names
#
# Environment: FUZZ_CI_SECONDS (default 10), FUZZ_BUILD_DIR (default
# build/fuzz). Runs under nice: the machine is shared.
set -euo pipefail
cd "$(dirname "$0")/.."

# Every fuzz/NAME_fuzz.cpp is a target NAME, with its seeds in fuzz/corpus/NAME.
targets=()
for f in fuzz/*_fuzz.cpp; do
  f=${f##*/}
  targets+=("${f%_fuzz.cpp}")
done
build_dir=${FUZZ_BUILD_DIR:-build/fuzz}
ci_seconds=${FUZZ_CI_SECONDS:-10}

usage() {
  echo "usage: scripts/fuzz.sh TARGET|all SECONDS | --ci | --list" >&2
  echo "targets: ${targets[*]}" >&2
  exit 2
}

build() {
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ nice cmake -S fuzz -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTASKLOOM_WERROR=ON >/dev/null
  fi
  nice cmake --build "$build_dir" -j"$(nproc)" >/dev/null
}

known() {
  local t
  for t in "${targets[@]}"; do [ "$t" = "$1" ] && return 0; done
  return 1
}

# run_target NAME SECONDS WORK_CORPUS: fuzzes NAME for SECONDS; new inputs go
# to WORK_CORPUS, the seed corpus is read too. Prints the executions done.
run_target() {
  local name=$1 seconds=$2 work=$3
  local exe="$build_dir/fuzz_$name" artifacts="$build_dir/artifacts/$name/"
  local log="$build_dir/logs/$name.log" dict=()
  mkdir -p "$work" "$artifacts" "$(dirname "$log")"
  [ -f "fuzz/$name.dict" ] && dict=(-dict="fuzz/$name.dict")
  echo "== fuzz $name for ${seconds}s"
  local status=0
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    nice "$exe" "$work" "fuzz/corpus/$name" "${dict[@]}" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$artifacts" >"$log" 2>&1 || status=$?
  local execs
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $status -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|property failed|unexpected exception' "$log"; then
    echo "fuzz $name FAILED (exit $status); log: $log" >&2
    grep -E 'ERROR:|runtime error:|property failed|unexpected exception|Test unit written' "$log" | head -20 >&2
    return 1
  fi
  echo "   $name: ${execs:-?} executions, no findings"
}

[ $# -ge 1 ] || usage
case "$1" in
  --list)
    printf '%s\n' "${targets[@]}"
    ;;
  --ci)
    build
    failed=0
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    for t in "${targets[@]}"; do
      run_target "$t" "$ci_seconds" "$scratch/$t" || failed=1
    done
    [ $failed -eq 0 ] || { echo "fuzz --ci: failures above" >&2; exit 1; }
    echo "fuzz --ci: all targets clean"
    ;;
  *)
    [ $# -eq 2 ] || usage
    [[ "$2" =~ ^[0-9]+$ ]] || usage
    if [ "$1" = all ]; then
      selected=("${targets[@]}")
    else
      known "$1" || usage
      selected=("$1")
    fi
    build
    failed=0
    for t in "${selected[@]}"; do
      run_target "$t" "$2" "$build_dir/corpus/$t" || failed=1
    done
    exit $failed
    ;;
esac
