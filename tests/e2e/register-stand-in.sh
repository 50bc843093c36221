#!/usr/bin/env bash
# Registers the stand-in shell DLL under the shell's class id in the Wine prefix named by
# TARNEL_WINEPREFIX, machine-wide (Wine's COM does not consult the per-user classes) and
# in the registry view of the programs' architecture.
#   register-stand-in.sh WINE-RUN VIEW(32|64) DLL
set -eu
run=$1 view=$2 dll=$3
key='HKLM\Software\Classes\CLSID\{13709620-C279-11CE-A49E-444553540000}\InprocServer32'
# The prefix's drive Z: is the Unix root.
windows_path="Z:${dll//\//\\}"
"$run" reg add "$key" /ve /d "$windows_path" /f "/reg:$view" >/dev/null
"$run" reg add "$key" /v ThreadingModel /d Apartment /f "/reg:$view" >/dev/null
