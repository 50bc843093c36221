#!/usr/bin/env bash
# Installs what is missing, builds every preset (linux, linux-asan, win64, win32) and runs
# every test: native, under the sanitizers, and the Windows tests under Wine. Exits
# non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# Code must be clang-formatted.
mapfile -t sources < <(git ls-files -- '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
if ((${#sources[@]})); then
    clang-format --dry-run -Werror "${sources[@]}"
fi

# Windows dialog tests and Qt screenshots need a screen.
if [ -z "${DISPLAY:-}" ]; then
    display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill $xvfb_pid 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
    export DISPLAY=$display
fi

export TARNEL_WINEPREFIX=${TARNEL_WINEPREFIX:-$(mktemp -d)/wineprefix}

status=0
for preset in linux linux-asan win64 win32; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
for preset in linux linux-asan win64; do
    echo "== test $preset"
    ctest --preset "$preset" || status=1
done
exit $status
