#!/usr/bin/env bash
# release.sh [--win64-only]
#
# Sets up, builds the 64- and 32-bit programs in release mode and writes to
# build/release/:
#   taskloom-VERSION-win64.zip, taskloom-VERSION-win32.zip   portable (with
#                                                             an empty tessdeck.ini)
#   taskloom-VERSION-win64-setup.exe, ...-win32-setup.exe    NSIS installers
#   SHA256SUMS                                                of all of them
# The version is the one in the top CMakeLists.txt. The help pages, their
# images and language.html come from scripts/render_docs.sh; a page not
# written yet is left out, and named at the end.
#
# --win64-only: the 64-bit zip and installer only (what CI tests).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

arches=(win64 win32)
case "${1:-}" in
    "") ;;
    --win64-only) arches=(win64) ;;
    *)
        echo "usage: $0 [--win64-only]" >&2
        exit 2
        ;;
esac

bash scripts/setup.sh
jobs=$(nproc)
out="$root/build/release"
rm -rf "$out"
mkdir -p "$out"

for arch in "${arches[@]}"; do
    echo "== $arch (release build)"
    cmake --preset "$arch-release" >/dev/null
    cmake --build "build/$arch-release" -j"$jobs" --target taskloom loomwright tessdeck
done

# The version and the help pages' names, as CMake set them.
# shellcheck disable=SC1091
source "build/${arches[0]}-release/release.env"
version=$TASKLOOM_VERSION
missing=()

# stage ARCH FOLDER: what the zip holds and the installer installs.
stage() {
    local arch=$1 dir=$2 bin="build/$1-release"
    mkdir -p "$dir/examples"
    cp "$bin/composer/loomwright.exe" "$bin/pad/tessdeck.exe" "$bin/cli/taskloom.exe" "$dir/"
    cp examples/*.tks "$dir/examples/"
    cp LICENSE "$dir/LICENSE"
    sed -e "s/@VERSION@/$version/g" -e "s/@ARCH@/$arch/g" \
        -e "s/@COMPOSER_HELP@/$TASKLOOM_COMPOSER_HELP/g" -e "s/@PAD_HELP@/$TASKLOOM_PAD_HELP/g" \
        packaging/README.txt.in | sed 's/$/\r/' >"$dir/README.txt"
    # The help pages open from the programs' folder; their images sit in
    # images/ beside them.
    local page
    for page in "$TASKLOOM_COMPOSER_HELP" "$TASKLOOM_PAD_HELP" language.html; do
        if [ -f "$helpdir/$page" ]; then cp "$helpdir/$page" "$dir/"; else missing+=("$page"); fi
    done
    if [ -d "$helpdir/images" ]; then cp -r "$helpdir/images" "$dir/images"; fi
}

# lists STAGE LISTS: the installer's file lists, from what is staged.
lists() {
    local stagedir=$1 listdir=$2 d f
    : >"$listdir/files.nsh"
    : >"$listdir/unfiles.nsh"
    while IFS= read -r d; do
        local win=${d#.}
        win=${win//\//\\}
        echo "SetOutPath \"\$INSTDIR$win\"" >>"$listdir/files.nsh"
        while IFS= read -r f; do
            echo "File \"$stagedir/$d/$f\"" >>"$listdir/files.nsh"
            echo "Delete \"\$INSTDIR$win\\$f\"" >>"$listdir/unfiles.nsh"
        done < <(find "$stagedir/$d" -maxdepth 1 -type f -printf '%f\n' | sort)
    done < <(cd "$stagedir" && find . -type d | sort)
    echo 'SetOutPath "$INSTDIR"' >>"$listdir/files.nsh"
    # Folders deepest first, each only if empty.
    while IFS= read -r d; do
        local win=${d#./}
        echo "RMDir \"\$INSTDIR\\${win//\//\\}\"" >>"$listdir/unfiles.nsh"
    done < <(cd "$stagedir" && find . -mindepth 1 -type d | sort -r)
}

work=$(mktemp -d "${TMPDIR:-/tmp}/taskloom-release.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The help pages, their images and the language reference as HTML, made by
# scripts/render_docs.sh; without it, whatever of them help/ and docs/ hold.
helpdir="$work/help"
if [ -f scripts/render_docs.sh ]; then
    echo "== help pages and language reference"
    bash scripts/render_docs.sh "$helpdir"
else
    mkdir -p "$helpdir"
    cp help/*.html docs/language.html "$helpdir/" 2>/dev/null || true
    if [ -d help/images ]; then cp -r help/images "$helpdir/images"; fi
fi

for arch in "${arches[@]}"; do
    name="taskloom-$version-$arch"
    stage "$arch" "$work/$name"

    echo "== $name-setup.exe"
    mkdir -p "$work/lists-$arch"
    lists "$work/$name" "$work/lists-$arch"
    makensis -V2 -DVERSION="$version" -DARCH="$arch" -DSTAGE="$work/$name" -DLISTS="$work/lists-$arch" \
        -DICON="$root/resources/icons/loomwright.ico" -DOUTFILE="$out/$name-setup.exe" packaging/taskloom.nsi

    # The zip's pad is portable: an empty tessdeck.ini beside it keeps its
    # settings out of the registry. The installer (made above) has none.
    echo "== $name.zip"
    : >"$work/$name/tessdeck.ini"
    (cd "$work" && zip -q -r -X "$out/$name.zip" "$name")
done

(cd "$out" && sha256sum -- *.zip *-setup.exe >SHA256SUMS)

if [ ${#missing[@]} -gt 0 ]; then
    echo "release: not in the packages (not written yet): $(printf '%s\n' "${missing[@]}" | sort -u | tr '\n' ' ')" >&2
fi
echo "== build/release:"
ls -l "$out"
