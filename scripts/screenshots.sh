#!/usr/bin/env bash
# Takes the screenshots of the help pages again, under 64-bit Wine on a
# virtual display, and writes them to help/images/:
#
#   bash scripts/screenshots.sh [composer|pad]
#
# (one program's pictures only when named).
#
# Builds Loomwright and Tessdeck (win64 preset) first. Each program runs in a
# Wine desktop window of a fixed size (Wine then draws the window frames), so
# a screenshot is that desktop as it stands. The PNGs are reduced to a few
# colours to keep them small. Run it when the look of the programs changes,
# look at the pictures, and commit them.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/setup.sh >/dev/null
cmake --preset win64 >/dev/null
# tl_holdkey (a program of the tests) holds a hot key as another program would.
cmake --build build/win64 -j"$(nproc)" --target loomwright tessdeck tl_holdkey >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/taskloom-shots.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p help/images

# A pad of five icons for the pad's pictures.
printf '0\tNotepad\tCtrl+Shift+N\tnotepad.exe\r3\tWeb site\t\thttps://example.org\r5\tMonthly report\tAlt+F5\treport.tks\r9\tClock\t\tclock.exe\r41\tHelp\t\ttessdeck.html\r' \
  >"$work/sample.tkp"
cp examples/fill-form.tks "$work/fill-form.tks"

# The steps run inside with-wine.sh; their third argument names the program.
steps='
set -euo pipefail
root=$1 work=$2
desk() { "$WINE_LOADER" explorer /desktop=shots,$1 "${@:2}" >/dev/null 2>&1 & }
# Waits until a window whose title matches the pattern exists.
wait_for() {
  for _ in $(seq 1 150); do
    xdotool search --name "$1" >/dev/null 2>&1 && { sleep 1; return 0; }
    sleep 0.2
  done
  echo "screenshots: no window \"$1\"" >&2
  return 1
}
# shot NAME GEOMETRY: a part of the Wine desktop, which stands at the
# top-left of the screen (GEOMETRY as WIDTHxHEIGHT+LEFT+TOP).
shot() {
  sleep 0.8
  import -window root -crop "$2" +repage "$work/raw.png"
  convert "$work/raw.png" -strip -define png:exclude-chunks=date,time -colors 48 "PNG8:$root/help/images/$1.png"
}
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.4; done; }
winpath() { printf "Z:%s" "$(printf %s "$1" | tr / "\\\\")"; }

if [ "$3" = composer ]; then
  # A window to work on behind the composer, and a script open in it.
  desk 560x480 notepad
  wait_for "^Untitled - Notepad\$"
  desk 560x480 "$root/build/win64/composer/loomwright.exe"
  wait_for "^Taskloom - New\$"
  cp "$work/fill-form.tks" "$work/sample.tkp" "$WINEPREFIX/drive_c/"
  keys alt+f o
  wait_for "^Open\$"
  xdotool type --delay 20 "C:\\fill-form.tks"
  keys Return
  wait_for "^Taskloom - .*fill-form"
  # Pages are chosen by clicking their tabs (the Keys page takes keys
  # such as Alt for itself). The Windows page lists the composer itself
  # first and Notepad second.
  tab() { xdotool mousemove "$1" 80 click 1; sleep 0.6; }
  tab 63; xdotool mousemove 433 137 click 1; sleep 0.6
  xdotool mousemove 90 147 click 1
  shot composer-windows 560x480+0+0
  # Under Wine the Menus page shows no items of the menus of another
  # program (seen with Notepad): the Menus and Controls pages show the
  # menu bar and the controls of the composer.
  xdotool mousemove 90 133 click 1; sleep 0.6
  tab 121; shot composer-menus 560x480+0+0
  tab 177; shot composer-controls 560x480+0+0
  tab 244; shot composer-commands 560x480+0+0
  tab 309; shot composer-keys 560x480+0+0
  tab 363; xdotool mousemove 120 150 click 1; sleep 0.3
  xdotool type --delay 15 "Please check the order form,"; xdotool key Return
  xdotool type --delay 15 "then press Continue."
  shot composer-popup 560x480+0+0
  tab 474
  keys alt+o
  wait_for "^Open\$"
  xdotool type --delay 20 "C:\\sample.tkp"
  keys Return
  shot composer-tessdeck 560x330+0+0
  # Stepping: back on the Windows page, a breakpoint (F9) on the window
  # switch in the list and one step (F10) over the pause before it.
  tab 63
  xdotool mousemove 150 345 click 1; sleep 0.4
  keys Home Down Down Down Down Down F9 Up Up F10
  xdotool mousemove 300 20
  shot composer-stepping 560x480+0+0
  # Back on the Tessdeck page, another program holds Ctrl+Alt+K: entered
  # in the Hot Key field, the hint of the field and the status bar of the
  # page say so.
  tab 474
  desk 560x480 "$root/build/win64/tests/win32/tl_holdkey.exe" 3 75
  wait_for "^Hot Key Holder\$"
  xdotool mousemove 340 164 click 1; sleep 0.5
  xdotool keydown ctrl keydown alt key k keyup alt keyup ctrl
  xdotool mousemove 340 166
  sleep 2
  shot composer-hotkey-in-use 560x330+0+0
else
  cd "$work"
  # Another program holds Alt+F5, the key of the third icon of the pad.
  desk 1240x420 "$root/build/win64/tests/win32/tl_holdkey.exe" 1 116
  wait_for "^Hot Key Holder\$"
  # The pad stands at its first place (428, 47), its menu image at its left
  # end; Toolbar, Expand shows one more icon.
  desk 1240x420 "$root/build/win64/pad/tessdeck.exe" "$(winpath "$work/sample.tkp")"
  wait_for "^Tessdeck\$"
  for _ in 1 2 3 4; do
    xdotool mousemove 434 52 click 1
    sleep 0.5
    keys t e
  done
  xdotool mousemove 300 300
  shot tessdeck-bar 160x40+420+40
  xdotool mousemove 434 52 click 1
  sleep 0.5
  keys n
  xdotool mousemove 300 300
  shot tessdeck-menu 440x290+400+30
  keys Escape Escape Escape
  # The hint of the third icon, and Help, Hot Key Report... (Up from the end of
  # the menu: "&Help" shares its mnemonic with "&Hide/Show").
  xdotool mousemove 511 58; sleep 0.3; xdotool mousemove 512 59
  sleep 2
  shot tessdeck-hotkey-hint 300x70+420+40
  xdotool mousemove 434 52 click 1
  sleep 0.5
  keys Up Up Right k
  wait_for "^Hot Key Report\$"
  shot tessdeck-hotkey-report 392x208+423+105
  # The report closed, Exit, then a portable copy in the same
  # place.
  keys Escape
  sleep 0.5
  xdotool mousemove 434 52 click 1
  sleep 0.5
  keys x
  for _ in $(seq 1 50); do xdotool search --name "^Tessdeck\$" >/dev/null 2>&1 || break; sleep 0.2; done
  # A portable copy: tessdeck.ini beside it. Its Options submenu, Auto
  # Start grayed and its hint shown.
  mkdir -p "$work/portable"
  cp "$root/build/win64/pad/tessdeck.exe" "$work/portable/"
  : >"$work/portable/tessdeck.ini"
  desk 1240x420 "$work/portable/tessdeck.exe" "$(winpath "$work/sample.tkp")"
  wait_for "^Tessdeck\$"
  xdotool mousemove 434 52 click 1
  sleep 0.5
  keys n Down Down
  xdotool mousemove 300 300
  shot tessdeck-portable 680x290+400+30
fi
'
for program in ${1:-composer pad}; do
  bash scripts/with-wine.sh bash -c "$steps" shots "$root" "$work" "$program"
done

ls -l help/images
