#!/usr/bin/env bash
# Installs what building and testing Taskloom needs on a fresh Debian machine,
# from the package archive, only when something is missing.
set -euo pipefail

pkgs=(
  cmake g++ make googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 ghostscript fonts-dejavu-core
  xvfb xauth x11-utils x11-xkb-utils xdotool imagemagick
  clang libclang-rt-14-dev clang-format
  python3-markdown
  nsis zip unzip
)

missing=()
for p in "${pkgs[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  # The install's chatter goes to a log that is shown only when it fails.
  log=$(mktemp "${TMPDIR:-/tmp}/taskloom-setup.XXXXXX")
  if ! $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "setup: apt-get install failed" >&2
    exit 1
  fi
  rm -f "$log"
fi

# The posix thread model gives mingw's libstdc++ std::thread and std::mutex.
for t in x86_64-w64-mingw32 i686-w64-mingw32; do
  for tool in g++ gcc; do
    if [ -x "/usr/bin/$t-$tool-posix" ]; then
      cur=$(readlink -f "/usr/bin/$t-$tool" 2>/dev/null || true)
      case "$cur" in *posix*) ;; *) update-alternatives --set "$t-$tool" "/usr/bin/$t-$tool-posix" >/dev/null 2>&1 || true ;; esac
    fi
  done
done
echo "setup: ready"
