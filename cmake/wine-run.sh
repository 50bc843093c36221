#!/usr/bin/env bash
# Runs a Windows test program under Wine with the Simplified Chinese ANSI code page (936)
# and a throw-away prefix of its own, so no test depends on the caller's Wine setup.
set -eu
prefix=${TARNEL_WINEPREFIX:-${TMPDIR:-/tmp}/tarnel-wineprefix-$(id -u)}
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export LC_ALL=zh_CN.UTF-8
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# The first test to arrive prepares the prefix; parallel tests wait for it.
(
    flock 9
    if [ ! -f "$prefix/.tarnel-ready" ]; then
        mkdir -p "$prefix"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w || true
        touch "$prefix/.tarnel-ready"
    fi
) 9>"$prefix.lock"
exec wine "$@"
