#!/usr/bin/env bash
# release_test.sh [--no-build]
#
# Makes the 64-bit release (scripts/release.sh --win64-only) and tests it
# under Wine in a fresh prefix: the installer run silently, the programs,
# shortcuts and version, Tessdeck from the installed folder, the silent
# uninstall leaving nothing of ours; and the portable zip, unpacked into a
# folder with a blank in its name, running examples/hello.tks.
#
# --no-build: test the packages already in build/release.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ "${1:-}" != "--no-build" ]; then
    bash scripts/release.sh --win64-only
fi
cmake --preset win64 >/dev/null
cmake --build build/win64 -j"$(nproc)" --target win32_release

# shellcheck disable=SC1091
source build/win64-release/release.env
setup="$root/build/release/taskloom-$TASKLOOM_VERSION-win64-setup.exe"
zip="$root/build/release/taskloom-$TASKLOOM_VERSION-win64.zip"
[ -f "$setup" ] && [ -f "$zip" ] || { echo "$0: no 64-bit release in build/release" >&2; exit 1; }
(cd build/release && sha256sum --quiet -c SHA256SUMS)

work=$(mktemp -d "${TMPDIR:-/tmp}/taskloom-release-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/unpacked here"
unzip -q "$zip" -d "$work/unpacked here"

# Under Wine, drive Z: is the Unix root.
winpath() { local p="Z:$1"; echo "${p//\//\\}"; }
TASKLOOM_SETUP=$(winpath "$setup") \
TASKLOOM_PORTABLE=$(winpath "$work/unpacked here/taskloom-$TASKLOOM_VERSION-win64") \
    bash scripts/with-wine.sh bash -c '"$WINE_LOADER" build/win64/tests/win32/win32_release.exe'
