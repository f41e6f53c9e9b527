#!/usr/bin/env bash
# with-wine.sh [--use-display] COMMAND [ARG...]
#
# Runs COMMAND with a fresh 64-bit Wine prefix of its own (made in a temporary
# folder, removed afterwards) on a virtual X display of its own. Everything
# started here is stopped again when COMMAND ends, fails or is interrupted.
#
# --use-display (or TASKLOOM_USE_DISPLAY=1): use the X display in $DISPLAY
# instead of a virtual one, so a person can watch; the display's keymap is
# left alone then.
#
# COMMAND sees WINEPREFIX, WINEARCH, WINEDEBUG, WINEDLLOVERRIDES, DISPLAY and
# WINE_LOADER (the 64-bit Wine loader; CMake's cross-compiling emulator is the
# same program). The exit status is COMMAND's.
set -euo pipefail

usage() {
    echo "usage: $0 [--use-display] COMMAND [ARG...]" >&2
    exit 2
}

use_display=${TASKLOOM_USE_DISPLAY:-0}
if [ "${1:-}" = "--use-display" ]; then
    use_display=1
    shift
fi
[ $# -gt 0 ] || usage

WINE_LOADER=/usr/lib/wine/wine64
[ -x "$WINE_LOADER" ] || { echo "$0: $WINE_LOADER not found (run scripts/setup.sh)" >&2; exit 1; }
wineserver=""
for w in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver "$(command -v wineserver || true)"; do
    if [ -n "$w" ] && [ -x "$w" ]; then wineserver=$w; break; fi
done
[ -n "$wineserver" ] || { echo "$0: no wineserver found (run scripts/setup.sh)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/taskloom-wine.XXXXXX")
xvfb_pid=""
cmd_pid=""
server_started=0

cleanup() {
    local rc=$?
    trap - EXIT INT TERM HUP
    if [ -n "$cmd_pid" ] && kill -0 "$cmd_pid" 2>/dev/null; then
        kill "$cmd_pid" 2>/dev/null || true
        wait "$cmd_pid" 2>/dev/null || true
    fi
    if [ "$server_started" = 1 ]; then
        # Ends every Wine process of this prefix, then the server itself.
        "$wineserver" -k >/dev/null 2>&1 || true
        "$wineserver" -w >/dev/null 2>&1 || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

if [ "$use_display" = 1 ] && [ -z "${DISPLAY:-}" ]; then
    echo "$0: no DISPLAY to use; starting a virtual one" >&2
    use_display=0
fi

if [ "$use_display" != 1 ]; then
    # Xvfb picks a free display number itself and writes it to fd 3. Without
    # -noreset it would reset, keymap included, whenever its last client
    # leaves (as the keymap tools below do).
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$work/display" </dev/null >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$work/display" ]; then
        echo "$0: Xvfb did not start:" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
    export DISPLAY

    # Xvfb's default keymap binds "(" and ")" to two keypad keys (keycodes 187
    # and 188, each with that one symbol) as well as to Shift+9 and Shift+0.
    # Wine's layout detection then settles on the keypad keys, which have no
    # virtual key, so VkKeyScanA answers -1 for both characters. Dropping the
    # keys whose only symbol is a parenthesis leaves one key for every
    # printable character.
    xkbcomp -w 0 "$DISPLAY" "$work/keymap.xkb" 2>/dev/null
    sed -i -E '/^[[:space:]]*key <[^>]+>[[:space:]]*\{[[:space:]]*\[[[:space:]]*paren(left|right)[[:space:]]*\][[:space:]]*\};[[:space:]]*$/d' "$work/keymap.xkb"
    xkbcomp -w 0 "$work/keymap.xkb" "$DISPLAY" 2>/dev/null
fi

export WINEPREFIX="$work/prefix"
mkdir "$WINEPREFIX"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINE_LOADER
export WINELOADER="$WINE_LOADER"

# The server and the services wineboot starts must not inherit our standard
# streams: a later Wine command whose output is piped would otherwise wait
# for them to close the pipe.
"$wineserver" -p </dev/null >/dev/null 2>&1
server_started=1
"$WINE_LOADER" wineboot -i </dev/null >/dev/null 2>&1 || {
    echo "$0: wineboot failed" >&2
    exit 1
}

# In the background so that a signal to this script is acted on at once
# (bash runs traps only between commands); the command keeps our stdin.
set +e
"$@" <&0 &
cmd_pid=$!
wait "$cmd_pid"
status=$?
cmd_pid=""
set -e
exit "$status"
