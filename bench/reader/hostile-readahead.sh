#!/usr/bin/env bash
# Peak memory and stop latency of the job with read-ahead over folders of hostile .docx
# (tarnel_make_hostile_docx: a few KiB on disk, a deflated title of 0xFF bytes just under the
# reader's part limit). For each folder size: the whole job, and the job held at its first
# document while the threads read ahead, then stopped (tarnel_stop_latency): its peak
# resident set, and the time from the stop to the job's end. A short hold stops the threads
# in the middle of their documents, a long one with the window as full as they may make it.
# One run each.
#   bench/reader/hostile-readahead.sh [BUILD_DIR] [WORK_DIR]
# TARNEL_BENCH_COUNTS ("300 1024") sets the folder sizes, TARNEL_BENCH_HOLDS_MS ("100 2000")
# how long the job is held before the stop. Each run's address space is capped at
# TARNEL_BENCH_MAX_VM_KB (8 GiB) so that a reader holding texts without a bound fails its
# allocations instead of taking the machine.
set -euo pipefail

build=$(realpath "${1:-build/linux}")
work=${2:-${TMPDIR:-/tmp}/tarnel-hostile-readahead}
counts=${TARNEL_BENCH_COUNTS:-300 1024}
holds_ms=${TARNEL_BENCH_HOLDS_MS:-100 2000}
max_vm_kb=${TARNEL_BENCH_MAX_VM_KB:-$((8 << 20))}
make_docx=$build/bin/tarnel_make_hostile_docx
job=${TARNEL_STOP_LATENCY:-$build/bin/tarnel_stop_latency}

for program in "$make_docx" "$job" /usr/bin/time; do
    command -v "$program" >/dev/null || { echo "missing: $program" >&2; exit 1; }
done

# run NAME COMMAND...: runs the command under the address space cap; sets rss (kB), wall and
# said (its last line of output).
run() {
    local name=$1
    shift
    (ulimit -v "$max_vm_kb" && /usr/bin/time -v -o "$work/time.txt" "$@") \
        >"$work/$name.out" 2>"$work/$name.err" || echo "failed: $*" >&2
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$work/time.txt")
    said=$(tail -n 1 "$work/$name.out")
}

rm -rf "$work"
mkdir -p "$work"
"$make_docx" "$work/hostile.docx"
echo "hostile .docx: $(stat -c %s "$work/hostile.docx") bytes"
printf '%-6s %12s %9s %8s %12s %s\n' count 'job_rss_kB' 'job_wall' 'hold_ms' 'stop_rss_kB' 'stop'
for count in $counts; do
    rm -rf "$work/folder"
    mkdir -p "$work/folder"
    for ((i = 0; i < count; ++i)); do
        cp "$work/hostile.docx" "$work/folder/h$i.docx"
    done
    run job "$job" "$work/folder" "$work/out.csv"
    job_rss=$rss job_wall=$wall
    for hold_ms in $holds_ms; do
        run stop "$job" "$work/folder" "$work/out.csv" "$hold_ms"
        printf '%-6s %12s %9s %8s %12s %s\n' "$count" "$job_rss" "$job_wall" "$hold_ms" "$rss" \
            "$said"
    done
done
rm -rf "$work"
