#!/usr/bin/env bash
# Registers the stand-in shell DLL under the shell's class id in the Wine prefix named by
# TARNEL_WINEPREFIX, machine-wide (Wine's COM does not consult the per-user classes) and
# in the registry view of the programs' architecture. Done once per prefix and DLL.
#   register-stand-in.sh WINE-RUN VIEW(32|64) DLL
set -eu
run=$1 view=$2 dll=$3
prefix=$TARNEL_WINEPREFIX
key='HKLM\Software\Classes\CLSID\{13709620-C279-11CE-A49E-444553540000}\InprocServer32'
# The prefix's drive Z: is the Unix root.
windows_path="Z:${dll//\//\\}"
marker="$prefix/.tarnel-stand-in-$view"
mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ "$(cat "$marker" 2>/dev/null)" != "$windows_path" ]; then
        "$run" reg add "$key" /ve /d "$windows_path" /f "/reg:$view" >/dev/null
        "$run" reg add "$key" /v ThreadingModel /d Apartment /f "/reg:$view" >/dev/null
        echo "$windows_path" >"$marker"
    fi
) 9>"$prefix.stand-in.lock"
