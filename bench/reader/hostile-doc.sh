#!/usr/bin/env bash
# Peak memory and time of tarnel-batch over a folder holding one hostile .doc: 4 KiB on
# disk, its chains and DIFAT looping, its header and root entry claiming far more, the rest
# of its apparent size a hole. One run per apparent size and mini-sector shift (2 is refused
# by the header check; 6 passes it and reaches the chains).
#   bench/reader/hostile-doc.sh [BUILD_DIR] [WORK_DIR]
set -euo pipefail

build=$(realpath "${1:-build/linux}")
work=${2:-${TMPDIR:-/tmp}/tarnel-hostile-doc}
batch=${TARNEL_BATCH:-$build/bin/tarnel-batch}
make_doc=$build/bin/tarnel_make_looping_doc

for program in "$batch" "$make_doc" /usr/bin/time; do
    command -v "$program" >/dev/null || { echo "missing: $program" >&2; exit 1; }
done

printf '%-10s %-6s %12s %10s\n' apparent shift 'peak_rss_kB' 'wall_s'
for shift in 2 6; do
    for apparent in $((256 << 20)) $((1 << 30)); do
        rm -rf "$work"
        mkdir -p "$work/folder"
        "$make_doc" "$work/folder/hostile.doc" "$apparent" "$shift"
        /usr/bin/time -v -o "$work/time.txt" "$batch" --props 0,21,20 --out "$work/out.csv" \
            "$work/folder" >/dev/null 2>"$work/stderr.txt" || true
        rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
        wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$work/time.txt")
        printf '%-10s %-6s %12s %10s\n' "$((apparent >> 20))MiB" "$shift" "$rss" "$wall"
        grep -i 'bad_alloc\|terminate' "$work/stderr.txt" || true
    done
done
rm -rf "$work"
