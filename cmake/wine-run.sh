#!/usr/bin/env bash
# Runs a Windows program (a test of the win32 or win64 build, or one of Wine's own) under
# Wine with the Simplified Chinese ANSI code page (936) and a throw-away 64-bit prefix of its
# own that runs both architectures, so no test depends on the caller's Wine setup.
set -eu
prefix=${TARNEL_WINEPREFIX:-${TMPDIR:-/tmp}/tarnel-wineprefix-$(id -u)}
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export LC_ALL=zh_CN.UTF-8
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine64=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine

# The machine field of a PE file's header: 014c for i386, 8664 for x86_64.
pe_machine() {
    [ -f "$1" ] || return 0
    local header
    header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 0
    [ -n "$header" ] || return 0
    od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}

runs_32bit() {
    "$wine32" --version >/dev/null 2>&1
}

# Each program goes straight to the loader of its architecture; Wine's own commands to
# the 64-bit one, which starts 32-bit programs itself when they are asked for.
loader=$wine64
if [ "$(pe_machine "$1")" = 014c ]; then
    if ! runs_32bit; then
        echo "wine-run.sh: this machine runs no 32-bit programs, so no i686 Windows program;" \
            "scripts/enable-32bit-programs.sh sets that up" >&2
        exit 1
    fi
    loader=$wine32
fi

# The first test to arrive prepares the prefix; parallel tests wait for it. A prefix made
# while 32-bit programs could not run lacks their system folder and is completed before
# any program runs in it, as completing it rewrites the registry.
mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/.tarnel-ready" ]; then
        mkdir -p "$prefix"
        "$wine64" wineboot.exe -i >/dev/null 2>&1 || true
        /usr/lib/wine/wineserver -w || true
        touch "$prefix/.tarnel-ready"
    fi
    if [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ] && runs_32bit; then
        # Without its time stamp Wine brings the whole prefix up to date.
        rm -f "$prefix/.update-timestamp"
        "$wine64" wineboot.exe -u >/dev/null 2>&1 || true
        /usr/lib/wine/wineserver -w || true
    fi
) 9>"$prefix.lock"
exec "$loader" "$@"
