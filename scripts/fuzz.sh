#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs them side by side, seeded from the document
# corpus and the kept inputs under tests/data.
#   scripts/fuzz.sh [TARGET|all] [seconds]     (default: all, 600 s each)
# TARGET is a name from scripts/fuzz-common.sh, with or without "fuzz_" (doc, docx and
# title_rename for short). Findings stay under build/fuzz-work/<target>/.
set -euo pipefail
. "$(dirname "$0")/fuzz-common.sh"

which=${1:-all}
seconds=${2:-600}
work=$fuzz_root/build/fuzz-work

targets=$(fuzz_build_targets)
chosen=
for target in $targets; do
    case $which in
        all | both | "$target" | "fuzz_$which" | "fuzz_${which}_reader") chosen="$chosen $target" ;;
    esac
done
if [ -z "$chosen" ]; then
    echo "usage: $0 [all|$(echo $targets | tr ' ' '|')] [seconds]" >&2
    exit 2
fi

status=0
pids=()
for target in $chosen; do
    fuzz_run "$target" "$seconds" "$work/$target" &
    pids+=($!)
done
for pid in "${pids[@]}"; do
    wait "$pid" || status=1
done
exit $status
