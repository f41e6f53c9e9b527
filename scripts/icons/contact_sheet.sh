#!/usr/bin/env bash
# Renders every picture of resources/icons into one PNG for looking at:
# each icon at 16x16 (scaled 4x) beside its 32x32 form (scaled 2x), then the
# tree pictures, the program icons and the pad's cursor. Needs ImageMagick.
#   scripts/icons/contact_sheet.sh [OUT.png]   (default build/icons/sheet.png)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-build/icons/sheet.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$out")"
bg='#e8e8e8'
cell() {  # cell ICO NAME: the 16 and the 32 form side by side
    convert "$1[0]" -background "$bg" -flatten -filter point -resize 400% "$work/a.png"
    convert "$1[1]" -background "$bg" -flatten -filter point -resize 200% "$work/b.png"
    convert "$work/a.png" "$work/b.png" +append -bordercolor "$bg" -border 2 "$work/$2.png"
}
n=0
for f in resources/icons/icon[0-9][0-9]_*.ico resources/icons/tree_*.ico resources/icons/tessdeck.ico \
    resources/icons/loomwright.ico; do
    cell "$f" "$(printf '%02d' $n)_$(basename "$f" .ico)"
    n=$((n + 1))
done
convert resources/icons/tessdeck.cur -background "$bg" -flatten -filter point -resize 200% \
    -bordercolor "$bg" -border 2 "$work/$(printf '%02d' $n)_cursor.png"
montage "$work"/[0-9]*.png -tile 6x -geometry +4+4 -label '%t' -pointsize 10 -background white "$out"
echo "$out"
