#!/usr/bin/env bash
# Shared by ./run and ./test: install what the build needs, then configure and build.
#   setup.sh [BUILD_FOLDER [TARGET [CMAKE_OPTION...]]]     (default: build/, everything)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${1:-$top/build}"
target="${2:-all}"
shift $(( $# > 2 ? 2 : $# ))

packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libqscintilla2-qt6-dev libexpat1-dev
          qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
          libgl-dev xvfb xauth x11-utils imagemagick fonts-dejavu-core fonts-liberation
          dpkg-dev desktop-file-utils appstream shared-mime-info lintian)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
fi
jobs=$(nproc 2>/dev/null || echo 2)
log="$build/build.log"
if ! cmake --build "$build" --parallel "$jobs" --target "$target" >"$log" 2>&1; then
    cat "$log" >&2
    echo "Build failed; the whole log is in $log" >&2
    exit 1
fi
# Quiet when nothing was built; compiler warnings are always shown.
grep -E "warning:" "$log" >&2 || true
