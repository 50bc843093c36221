#!/usr/bin/env bash
# Installs what is missing, builds every preset (linux, linux-asan, win64, win32) and runs
# every test: native, under the sanitizers, both Windows builds' tests under Wine, a short
# fuzz run of every reader and of the rename rule, and the packages' checks.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# Code must be clang-formatted.
mapfile -t sources < <(git ls-files -- '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
if ((${#sources[@]})); then
    clang-format --dry-run -Werror "${sources[@]}"
fi

# Windows dialog tests and Qt screenshots need a screen.
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
    display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=$display
fi

# One throw-away Wine prefix for both Windows builds' tests, made on first use.
own_prefix=""
if [ -z "${TARNEL_WINEPREFIX:-}" ]; then
    own_prefix=$(mktemp -d)
    export TARNEL_WINEPREFIX=$own_prefix/wineprefix
fi

cleanup() {
    WINEPREFIX=$TARNEL_WINEPREFIX wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    [ -z "$own_prefix" ] || rm -rf "$own_prefix"
}
trap cleanup EXIT

status=0
for preset in linux linux-asan win64 win32; do
    echo "== build $preset"
    start=$SECONDS
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "== build $preset took $((SECONDS - start)) s"
done
# win32 is the shipped program, run under 32-bit Wine; win64 runs the same tests without
# the 32-bit loader, through Wine's 64-bit one.
for preset in linux linux-asan win32 win64; do
    echo "== test $preset"
    start=$SECONDS
    ctest --preset "$preset" || status=1
    echo "== test $preset took $((SECONDS - start)) s"
done
# Each fuzz target a minute, from the corpus and the kept inputs; a finding fails the run.
echo "== fuzz"
start=$SECONDS
bash scripts/fuzz-ci.sh || status=1
echo "== fuzz took $((SECONDS - start)) s"
# Both packages, the zip from the win32 build above.
bash scripts/package-check.sh build/package-linux build/win32 || status=1
exit $status
