#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite:
#   native      the portable core's unit tests
#   native-asan the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   win64       the Win32 tests under 64-bit Wine on a virtual display
#   win32       the 32-bit programs, compiled only
#   release     the 64-bit release: its installer and portable zip under Wine
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== format (clang-format, .clang-format at the top)"
bash scripts/format.sh --check

jobs=$(nproc)
build() {
  cmake --preset "$1" >/dev/null
  cmake --build "build/$1" -j"$jobs"
}

echo "== native"
build native
ctest --test-dir build/native --output-on-failure

echo "== native-asan"
build native-asan
ctest --test-dir build/native-asan --output-on-failure

echo "== fuzz (libFuzzer, a few seconds per target, leak detection on)"
FUZZ_CI_SECONDS=${FUZZ_CI_SECONDS:-6} bash scripts/fuzz.sh --ci

echo "== win64 (under Wine)"
build win64
bash scripts/with-wine.sh ctest --test-dir build/win64 --output-on-failure

echo "== win32 (compiled only)"
build win32

echo "== release (the 64-bit installer and portable zip, under Wine)"
bash scripts/release_test.sh

echo "all test trees passed"
