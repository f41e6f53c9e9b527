#!/usr/bin/env bash
# format.sh [--check]: lays out every C++ file of the project by .clang-format;
# with --check, changes nothing and fails naming the files that differ.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.hpp' '*.c')
[ ${#files[@]} -gt 0 ] || exit 0
if [ "${1:-}" = "--check" ]; then
    bad=()
    for f in "${files[@]}"; do
        [ -f "$f" ] || continue
        if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then bad+=("$f"); fi
    done
    if [ ${#bad[@]} -gt 0 ]; then
        echo "format: these files differ from .clang-format (run bash scripts/format.sh):" >&2
        printf '  %s\n' "${bad[@]}" >&2
        exit 1
    fi
    echo "format: ${#files[@]} files follow .clang-format"
else
    clang-format -i "${files[@]}"
fi
