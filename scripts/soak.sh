#!/usr/bin/env bash
# soak.sh [N] [PATTERN]
#
# Runs the Wine test suite of build/win64 (or only its ctest tests whose names
# match PATTERN, as `ctest -R PATTERN`) N times (default 5), each run in a
# fresh Wine prefix on a virtual display of its own (scripts/with-wine.sh),
# and prints for every GoogleTest case how many runs it passed. A case that
# started but did not pass, or that did not run at all in a run where its
# program ran others (a crash, a time-out), counts as failed in that run.
# Builds build/win64 first when it is missing.
#
# SOAK_JOBS=J runs J runs at once (default 1): each has its own prefix and
# display, and the extra load is part of what a test must stand.
# The logs of every run stay in build/soak/<date-time>/.
#
# Exit status: 0 when every case passed in every run, 1 otherwise, 2 for
# usage errors.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
    echo "usage: $0 [N] [PATTERN]" >&2
    exit 2
}

runs=${1:-5}
pattern=${2:-}
[ $# -le 2 ] || usage
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || usage
jobs=${SOAK_JOBS:-1}
[[ "$jobs" =~ ^[1-9][0-9]*$ ]] || { echo "$0: SOAK_JOBS must be a positive number" >&2; exit 2; }

if [ ! -f build/win64/CTestTestfile.cmake ]; then
    echo "== building build/win64"
    cmake --preset win64 >/dev/null
    cmake --build build/win64 -j"$(nproc)"
fi

out="build/soak/$(date -u +%Y%m%d-%H%M%S)"
mkdir -p "$out"
ctest_args=(--test-dir build/win64 -V)
[ -n "$pattern" ] && ctest_args+=(-R "$pattern")

echo "== soak: $runs run(s) of the Wine tests${pattern:+ matching '$pattern'}, $jobs at once"
echo "   $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)," \
    "$(/usr/lib/wine/wine64 --version 2>/dev/null || echo 'wine64 not found')"
echo "   logs in $out"

run_one() {
    local i=$1 start rc
    start=$(date +%s)
    set +e
    bash scripts/with-wine.sh ctest "${ctest_args[@]}" >"$out/run$i.log" 2>&1 </dev/null
    rc=$?
    set -e
    echo "$rc" >"$out/run$i.rc"
    echo "   run $i: exit $rc after $(($(date +%s) - start)) s"
}

for i in $(seq 1 "$runs"); do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
    run_one "$i" &
done
wait

# Every line of a test program's output in `ctest -V` starts with its ctest
# number; "Start N: name" names the program. Per run, each case is "pass" or
# "fail"; the tally gives passes over runs for every case seen in any run,
# and for every program whose ctest result was not "Passed".
awk -v runs="$runs" '
    FNR == 1 { run++ }
    match($0, /Start +[0-9]+: /) {
        split(substr($0, RSTART), parts, /: /)
        sub(/^Start +/, "", parts[1])
        program[parts[1]] = parts[2]
        ran[run, parts[2]] = 1
        programs[parts[2]] = 1
    }
    match($0, /^[0-9]+: \[ RUN      \] /) {
        n = substr($0, 1, index($0, ":") - 1)
        name = program[n] "/" substr($0, RSTART + RLENGTH)
        cases[name] = 1; owner[name] = program[n]
        if (!((run, name) in result)) result[run, name] = "fail"
    }
    match($0, /^[0-9]+: \[       OK \] /) {
        n = substr($0, 1, index($0, ":") - 1)
        rest = substr($0, RSTART + RLENGTH)
        sub(/ \(.*$/, "", rest)
        result[run, program[n] "/" rest] = "pass"
    }
    match($0, /Test +#[0-9]+: [^ ]+ \.+/) {
        line = substr($0, RSTART)
        split(line, w, /[ .]+/)
        name = w[3]
        if (line ~ /Passed/) progok[run, name] = 1
    }
    END {
        bad = 0
        for (name in cases) {
            passes = 0
            for (r = 1; r <= runs; r++) if (result[r, name] == "pass") passes++
            printf "%4d/%d  %s\n", passes, runs, name
            if (passes < runs) bad = 1
        }
        for (p in programs) {
            passes = 0
            for (r = 1; r <= runs; r++) if (progok[r, p]) passes++
            if (passes < runs) { printf "%4d/%d  %s (the program as a whole)\n", passes, runs, p; bad = 1 }
        }
        exit bad
    }
' $(for i in $(seq 1 "$runs"); do echo "$out/run$i.log"; done) | sort -k2 >"$out/summary.txt" || true

echo "== passes per test case (runs passed / runs)"
cat "$out/summary.txt"
status=0
for i in $(seq 1 "$runs"); do
    [ "$(cat "$out/run$i.rc")" = 0 ] || status=1
done
if grep -qv "^ *$runs/$runs " "$out/summary.txt" || [ ! -s "$out/summary.txt" ]; then status=1; fi
if [ "$status" = 0 ]; then
    echo "== soak passed: every case in all $runs runs"
else
    echo "== soak FAILED: see the counts above and the logs in $out"
fi
exit "$status"
