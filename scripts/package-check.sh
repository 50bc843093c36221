#!/usr/bin/env bash
# Builds and checks both packages: the Linux Release build installed into a temporary
# DESTDIR, its .deb (contents, dependencies, installed through apt, both programs started
# from /usr/bin) and the Windows zip of the win32 preset build. Reuses the build folders
# when they exist. Needs root or sudo for apt.
# Usage: scripts/package-check.sh [linux-build-folder] [win32-build-folder]
#        (defaults build/package-linux and build/win32)
set -euo pipefail
cd "$(dirname "$0")/.."
linux_build=${1:-build/package-linux}
win32_build=${2:-build/win32}
version=$(sed -n 's/^project(Tarnel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
started=$SECONDS

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "package-check: $*" >&2
    exit 1
}

# The files of the Linux installation, relative to its root.
linux_files=(
    usr/bin/tarnel
    usr/bin/tarnel-batch
    usr/share/applications/tarnel.desktop
    usr/share/doc/tarnel/README.md
    usr/share/icons/hicolor/16x16/apps/tarnel.png
    usr/share/icons/hicolor/32x32/apps/tarnel.png
    usr/share/icons/hicolor/48x48/apps/tarnel.png
    usr/share/icons/hicolor/256x256/apps/tarnel.png
    usr/share/tarnel/_propids.txt
)

# Fails unless the listing on stdin holds exactly the expected files.
expect_listing() {
    local what=$1
    shift
    if ! diff <(printf '%s\n' "$@" | sort) <(sort) >"$work/listing.diff"; then
        cat "$work/listing.diff" >&2
        fail "$what holds other files than expected (< missing, > extra)"
    fi
}

# The program's help, run from the given folder.
check_batch_help() {
    "$1/tarnel-batch" --help | grep -q '^用法' || fail "$1/tarnel-batch --help printed no usage"
}

echo "== Linux Release build ($linux_build)"
cmake -S . -B "$linux_build" -DCMAKE_BUILD_TYPE=Release -DTARNEL_WERROR=ON \
    -DTARNEL_BUILD_TESTS=OFF -DTARNEL_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$linux_build" -j2

echo "== install into a DESTDIR"
root=$work/root
DESTDIR=$root cmake --install "$linux_build" --prefix /usr >/dev/null
(cd "$root" && find . -type f | sed 's|^\./||') | expect_listing "the installation" "${linux_files[@]}"
for size in 16 32 48 256; do
    actual=$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/${size}x${size}/apps/tarnel.png")
    [ "$actual" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $actual"
done
entry=$root/usr/share/applications/tarnel.desktop
desktop-file-validate "$entry" || fail "the desktop entry is not valid"
for key in 'Name' 'Name\[zh_CN\]' 'Comment' 'Categories' 'Icon=tarnel' 'Exec=tarnel'; do
    grep -q "^$key" "$entry" || fail "the desktop entry has no ${key//\\/}"
done
check_batch_help "$root/usr/bin"

echo "== .deb"
arch=$(dpkg --print-architecture)
deb=$linux_build/tarnel_${version}_$arch.deb
rm -f "$linux_build"/tarnel_*.deb
(cd "$linux_build" && cpack -G DEB >/dev/null)
[ -f "$deb" ] || fail "cpack made no $deb"
deb=$(realpath "$deb")
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' |
    expect_listing "$deb" "${linux_files[@]}"
for field in Section Description; do
    [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "$deb has no $field"
done
maintainer=$(dpkg-deb -f "$deb" Maintainer)
[ "$maintainer" = "Tarnel developers" ] || fail "$deb names the maintainer '$maintainer'"
# The dialog's texts are Chinese: without a CJK font they show as boxes.
recommends=$(dpkg-deb -f "$deb" Recommends)
[ "$recommends" = "fonts-noto-cjk | fonts-wqy-microhei | fonts-droid-fallback" ] ||
    fail "$deb does not recommend a CJK font: '$recommends'"
[ "$(dpkg-deb -f "$deb" Package Version Architecture)" = "$(printf 'Package: tarnel\nVersion: %s\nArchitecture: %s' "$version" "$arch")" ] ||
    fail "$deb names another package, version or architecture"
# Computed from the programs by dpkg-shlibdeps: the libraries they link; and Qt's Chinese.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6widgets6 libpugixml1v5 zlib1g qt6-translations-l10n; do
    tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | grep -qxF "$library" ||
        fail "$deb does not depend on $library: $depends"
done

echo "== apt install"
was_installed=false
dpkg-query -W -f='${Status}' tarnel 2>/dev/null | grep -q 'install ok installed' && was_installed=true
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "$deb" >/dev/null
check_batch_help /usr/bin
# The menu entry's command starts the dialog: still running after a few seconds.
if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:$((300 + RANDOM % 100))
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    sleep 1
fi
command=$(sed -n 's/^Exec=//p' /usr/share/applications/tarnel.desktop)
read -ra command_words <<<"$command"
status=0
(cd "$work" && timeout 5 "${command_words[@]}" >"$work/tarnel.log" 2>&1) || status=$?
[ "$status" -eq 124 ] || { cat "$work/tarnel.log" >&2; fail "'$command' ended with $status"; }
$was_installed || DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -q tarnel >/dev/null

echo "== Windows zip ($win32_build)"
cmake --preset win32 -B "$win32_build" >/dev/null
cmake --build "$win32_build" --target tarnel tarnel-batch
zip=$win32_build/Tarnel-$version-win32.zip
rm -f "$zip"
(cd "$win32_build" && cpack -G ZIP >/dev/null)
[ -f "$zip" ] || fail "cpack made no $zip"
unzip -Z1 "$zip" | grep -v '/$' | expect_listing "$zip" \
    "Tarnel-$version-win32/README.txt" "Tarnel-$version-win32/Tarnel.exe" \
    "Tarnel-$version-win32/tarnel-batch.exe"
unzip -o -q "$zip" -d "$work/zip"
for program in Tarnel.exe tarnel-batch.exe; do
    i686-w64-mingw32-objdump -f "$work/zip/Tarnel-$version-win32/$program" | grep -q 'pei-i386' ||
        fail "$program in $zip is no 32-bit Windows program"
done

ls -l "$deb" "$zip"
echo "== package check took $((SECONDS - started)) s"
