#!/usr/bin/env bash
# Lets this machine run 32-bit x86 Linux programs, which Wine's 32-bit loader is, so the
# shipped i686 build can be tested. Does nothing where they already run. Some kernels are
# booted without 32-bit support ("32-bit emulation disabled" in dmesg); there a user-mode
# emulator is registered with the kernel for 32-bit x86 programs. Debian 12's emulator
# cannot run Wine (it ignores MAP_FIXED_NOREPLACE, and Wine then loses the address of its
# shared user data), so the static emulator of the next Debian release is taken from that
# release's package, unpacked beside the project's other tools, the system's packages untouched.
# Safe to run again; the kernel forgets the registration at a reboot.
set -euo pipefail

runs_32bit() {
  /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

runs_32bit && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

emulator=/usr/local/lib/tarnel/qemu-i386
release=trixie

if [ ! -x "$emulator" ]; then
  echo "== this kernel runs no 32-bit programs: fetching the ${release} x86 emulator"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  # shellcheck source=SCRIPTDIR/private-apt.sh
  . "$(dirname "$0")/private-apt.sh"
  private_apt "$work" "deb $release main"
  apt-get "${apt_options[@]}" update >/dev/null
  (cd "$work" && apt-get "${apt_options[@]}" download qemu-user >/dev/null)
  dpkg-deb -x "$work"/qemu-user_*.deb "$work/root"
  $sudo install -D -m 755 "$work/root/usr/bin/qemu-i386" "$emulator"
fi

binfmt=/proc/sys/fs/binfmt_misc
[ -e "$binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$binfmt"
[ ! -e "$binfmt/tarnel-i386" ] || echo -1 | $sudo tee "$binfmt/tarnel-i386" >/dev/null
# 32-bit little-endian x86 executables and shared objects; F opens the emulator now, so
# the registration holds in every mount namespace.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
printf '%s' ":tarnel-i386:M::$magic:$mask:$emulator:F" | $sudo tee "$binfmt/register" >/dev/null

if ! runs_32bit; then
  echo "32-bit programs still do not run on this machine" >&2
  exit 1
fi
echo "== 32-bit programs run through $emulator"
