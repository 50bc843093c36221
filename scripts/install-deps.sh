#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the benchmarks need,
# skipping the ones already present. Safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format pkg-config
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 libz-mingw-w64-dev
  wine wine64 wine32:i386 xvfb xauth x11-apps imagemagick xdotool
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libzip-dev zlib1g-dev libpugixml-dev libgsf-1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wqy-microhei locales
  libimage-exiftool-perl libarchive-zip-perl time bindfs
  dpkg-dev desktop-file-utils unzip
  libxlsxwriter-dev python3-openpyxl libreoffice-calc-nogui
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# The shipped program is 32-bit: its tests need Wine's 32-bit loader from the i386 archive.
added_i386=false
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  added_i386=true
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})) || $added_i386; then
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine needs the zh_CN.UTF-8 locale to run under code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
  $sudo sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi

bash "$(dirname "$0")/enable-32bit-programs.sh"
