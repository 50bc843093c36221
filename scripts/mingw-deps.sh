#!/usr/bin/env bash
# The libraries the Windows programs link that Debian ships no MinGW build of, built from
# Debian's source packages at pinned versions into build/mingw-deps/ARCH (or PREFIX):
#   mingw-deps.sh ARCH [PREFIX]
# Configuring the win32 and win64 presets runs it; what is built once is reused.
set -euo pipefail
arch=${1:?usage: $0 i686|x86_64 [PREFIX]}
scripts=$(dirname "$0")
prefix=${2:-$scripts/../build/mingw-deps/$arch}

# The version of Debian 12 (bookworm), which the Linux build links too.
bash "$scripts/mingw-source-build.sh" pugixml 1.13-0.2 "$arch" "$prefix" -DPUGIXML_BUILD_TESTS=OFF
# The workbook writer, with the minizip it carries; zlib is Debian's libz-mingw-w64-dev.
bash "$scripts/mingw-source-build.sh" libxlsxwriter 1.1.4-2 "$arch" "$prefix" \
  -DUSE_SYSTEM_MINIZIP=OFF -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF
