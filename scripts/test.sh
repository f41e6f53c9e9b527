#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite, or one stage of it:
#   scripts/test.sh [--only STAGE]
# The stages, in the order the whole suite runs them:
#   native      the format check and the portable code's unit tests
#   asan        the same tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   fuzz        every libFuzzer target for a few seconds
#   wine        the Win32 tests under 64-bit Wine on a virtual display
#   win32       the 32-bit programs, compiled only
#   release     the 64-bit release: its installer and portable zip under Wine
# Warnings are errors in every build here (the presets say so).
set -euo pipefail
cd "$(dirname "$0")/.."

stages=(native asan fuzz wine win32 release)
only=""
case "${1:-}" in
    "") ;;
    --only)
        only=${2:-}
        [[ " ${stages[*]} " == *" $only "* ]] || {
            echo "usage: $0 [--only ${stages[*]// /|}]" >&2
            exit 2
        }
        ;;
    *)
        echo "usage: $0 [--only ${stages[*]// /|}]" >&2
        exit 2
        ;;
esac
want() { [ -z "$only" ] || [ "$only" = "$1" ]; }

bash scripts/setup.sh

jobs=$(nproc)
build() {
    cmake --preset "$1" >/dev/null
    cmake --build "build/$1" -j"$jobs"
}

if want native; then
    echo "== format (clang-format, .clang-format at the top)"
    bash scripts/format.sh --check
    echo "== native"
    build native
    ctest --preset native
fi

if want asan; then
    echo "== native-asan"
    build native-asan
    ctest --preset native-asan
fi

if want fuzz; then
    echo "== fuzz (libFuzzer, a few seconds per target, leak detection on)"
    FUZZ_CI_SECONDS=${FUZZ_CI_SECONDS:-6} bash scripts/fuzz.sh --ci
fi

if want wine; then
    echo "== win64 (under Wine)"
    build win64
    bash scripts/with-wine.sh ctest --preset win64
fi

if want win32; then
    echo "== win32 (compiled only)"
    build win32
fi

if want release; then
    echo "== release (the 64-bit installer and portable zip, under Wine)"
    bash scripts/release_test.sh
fi

if [ -z "$only" ]; then echo "all test trees passed"; else echo "stage $only passed"; fi
