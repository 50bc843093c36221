#!/usr/bin/env bash
# Takes a screenshot of each dialog into screenshots/: the Qt dialog (qt-dialog.png) and
# the Windows dialog under Wine (win32-dialog.png), both at their first start-up, on a
# virtual screen of their own. Builds what is missing (presets linux and win64, in
# build/linux and build/win64 or the two folders given).
# Usage: scripts/screenshots.sh [linux-build-folder] [win64-build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
out=screenshots
mkdir -p "$out"

display=:$((200 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
work=$(mktemp -d)
cleanup() {
    kill "$xvfb_pid" 2>/dev/null || true
    WINEPREFIX=$work/wineprefix wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1

# Waits for a window of that name, then shoots it.
shoot() {
    local name=$1 file=$2
    for _ in $(seq 1 120); do
        if xwininfo -name "$name" >/dev/null 2>&1; then
            sleep 2
            import -window "$name" "$file"
            echo "$file"
            return 0
        fi
        sleep 0.5
    done
    echo "no window named $name appeared" >&2
    return 1
}

# Build folders of presets linux and win64, unless given.
linux_build=${1:-build/linux}
win64_build=${2:-build/win64}

cmake --preset linux -B "$linux_build" >/dev/null
cmake --build "$linux_build" --target tarnel >/dev/null
XDG_CONFIG_HOME=$work/config "$linux_build/bin/tarnel" &
qt_pid=$!
shoot Tarnel "$out/qt-dialog.png"
kill "$qt_pid" 2>/dev/null || true
wait "$qt_pid" 2>/dev/null || true

cmake --preset win64 -B "$win64_build" >/dev/null
cmake --build "$win64_build" --target tarnel >/dev/null
mkdir -p "$work/appdata"
# A Wine desktop window draws the dialog's caption, which no window manager draws here.
APPDATA='Z:'${work//\//\\}'\appdata' TARNEL_WINEPREFIX=$work/wineprefix \
    bash cmake/wine-run.sh explorer /desktop=Tarnel,800x520 "$win64_build/bin/Tarnel.exe" &
shoot "Tarnel - Wine desktop" "$out/win32-dialog.png"
