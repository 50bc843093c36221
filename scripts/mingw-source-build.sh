#!/usr/bin/env bash
# Builds a library for Windows from Debian's source package of it, where Debian ships no
# MinGW build:
#   mingw-source-build.sh PACKAGE VERSION ARCH PREFIX [CMAKE-OPTION...]
# fetches PACKAGE's source at exactly VERSION (checked by apt against the signed release, in
# an apt state of its own under PREFIX/../src), unpacks it with Debian's patches, builds it
# with CMake, the given options and the project's MinGW toolchain of ARCH (i686 or x86_64),
# and installs it into PREFIX. A PREFIX that already holds that build is left as it is, so
# the second run costs nothing.
set -euo pipefail

if (($# < 4)); then
  echo "usage: $0 PACKAGE VERSION ARCH PREFIX [CMAKE-OPTION...]" >&2
  exit 2
fi
package=$1 version=$2 arch=$3 prefix=$4
shift 4
project=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$project/cmake/toolchain-mingw-$arch.cmake
[ -f "$toolchain" ] || { echo "$0: no MinGW toolchain for $arch" >&2; exit 2; }

stamp=$prefix/.built-$package-$version
[ ! -f "$stamp" ] || exit 0

mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
sources=$(dirname "$prefix")/src
unpacked=$sources/$package-$version
mkdir -p "$sources"
# Both architectures' builds may be configured at once: one fetch and one build at a time.
exec 9>"$sources/.lock"
flock 9

if [ ! -f "$unpacked/.unpacked" ]; then
  echo "== fetching Debian's source of $package $version"
  # shellcheck source=SCRIPTDIR/private-apt.sh
  . "$project/scripts/private-apt.sh"
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  private_apt "$sources/apt" "deb-src $codename main"
  apt-get "${apt_options[@]}" update >/dev/null
  rm -rf "$unpacked" "$sources/download"
  mkdir -p "$sources/download"
  # apt checks every file against the hashes of the signed release before unpacking.
  (cd "$sources/download" && apt-get "${apt_options[@]}" source --only-source "$package=$version" >/dev/null)
  mv "$(find "$sources/download" -mindepth 1 -maxdepth 1 -type d | head -n1)" "$unpacked"
  rm -rf "$sources/download"
  touch "$unpacked/.unpacked"
fi

echo "== building $package $version for Windows $arch"
build=$sources/build-$package-$arch
rm -rf "$build"
# The library goes into every program, which the project's warnings must not reach.
cmake -S "$unpacked" -B "$build" -G Ninja --toolchain "$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
cmake --build "$build" >/dev/null
cmake --install "$build" >/dev/null
rm -rf "$build"
touch "$stamp"
