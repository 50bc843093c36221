#!/usr/bin/env bash
# The whole job (five columns into a CSV) on generated folders of 10,000 documents. Every
# figure but exiftool's is the best of five runs (on a machine that shares its cores the
# best of three still strays by a fifth): wall time, documents per second, and the peak
# resident set of that run.
# - Cold, .docx, page cache dropped before each run (skipped, with a message, where
#   /proc/sys/vm/drop_caches cannot be written): the I/O floor (tarnel_io_floor: the reads
#   the reader makes of every document, nothing else) from 16 threads and from one, and the
#   job with read-ahead (tarnel-batch) and without (tarnel_job_csv); the job with read-ahead
#   against the floor of 16 threads.
# - Warm, both cores, after a warm-up: the job with and without read-ahead on .docx and on
#   .doc documents. Their CSVs, cold and warm, must be byte for byte the same.
# - Warm, one core (taskset -c 0), after a warm-up: tarnel-batch against exiftool (one run)
#   on the .docx folder, and on hard links onto a few small and a few 50 MB documents.
# - The same .docx laid out as a tree of 1,000 folders three deep (make-tree.sh, hard links)
#   against the flat folder, cold and warm: the job with --subfolders and a rename preview
#   (--rename --dry-run), each tree time over its flat time (target <= 1.2).
#   bench/job/run.sh [BUILD_DIR] [WORK_DIR]
# TARNEL_BENCH_COUNT (10000) sets the number of documents, TARNEL_BENCH_DISTINCT (20) the
# number of distinct documents behind the hard links; TARNEL_BENCH_ONLY=tree runs the tree
# case alone.
set -euo pipefail
# shellcheck source=SCRIPTDIR/measure.sh
. "$(dirname "$0")/measure.sh"

build=$(realpath "${1:-build/linux}")
work=${2:-${TMPDIR:-/tmp}/tarnel-job-bench}
count=${TARNEL_BENCH_COUNT:-10000}
distinct=${TARNEL_BENCH_DISTINCT:-20}
big_bytes=$((50 * 1024 * 1024))
batch=$build/bin/tarnel-batch
job_csv=$build/bin/tarnel_job_csv
io_floor=$build/bin/tarnel_io_floor
make_folder=$build/bin/tarnel_make_docx_folder
props=0,20,21,22,18
min_docs_per_second=60000
max_rss_kb=$((32 * 1024))
max_tree_ratio=1.2
only=${TARNEL_BENCH_ONLY:-}

for program in "$batch" "$job_csv" "$io_floor" "$make_folder" /usr/bin/time exiftool taskset; do
    command -v "$program" >/dev/null || { echo "missing: $program" >&2; exit 1; }
done

rm -rf "$work"
mkdir -p "$work/small" "$work/empty"
echo "generating $count documents under $work ..."
"$make_folder" "$work/small" "$count"
bash "$(dirname "$0")/make-tree.sh" "$work/small" "$work/tree"
if [ "$only" != tree ]; then
    mkdir -p "$work/doc" "$work/linked" "$work/big"
    "$make_folder" --doc "$work/doc" "$count"
    "$make_folder" "$work/linked" "$count" 0 "$distinct"
    "$make_folder" "$work/big" "$count" "$big_bytes" "$distinct"
fi

lines=()
report() {
    local label=$1
    lines+=("$(printf '  %-48s %7.3f s %9.0f docs/s %8d kB peak' "$label" "$wall" \
        "$(echo "$count / $wall" | bc -l)" "$rss")")
}

# Whether the best run of the job met both targets.
meets_targets() {
    [ "$(echo "$count / $wall >= $min_docs_per_second" | bc -l)" = 1 ] &&
        [ "$rss" -le "$max_rss_kb" ]
}

same_csv() {
    if ! cmp "$1" "$2"; then
        echo "CSV DIFFERS between read-ahead and none: $1 $2" >&2
        exit 1
    fi
}

# cold_runs LABEL FOLDER: the floor and the job, with and without read-ahead, cold.
cold_runs() {
    local label=$1 folder=$2
    lines+=("cold, $label, page cache dropped before each run (best of 5):")
    measure cold "$folder" "$io_floor" {} 16
    local floor_wall=$wall
    report "I/O floor, 16 threads"
    measure cold "$folder" "$io_floor" {} 1
    report "I/O floor, 1 thread"
    measure cold "$folder" "$batch" --props $props --out "$work/cold-ahead.csv" {}
    local cold_wall=$wall
    report "job, read-ahead (tarnel-batch)"
    measure cold "$folder" "$job_csv" --props $props --out "$work/cold-none.csv" {}
    report "job, no read-ahead (tarnel_job_csv)"
    same_csv "$work/cold-ahead.csv" "$work/cold-none.csv"
    local ratio
    ratio=$(echo "$cold_wall / $floor_wall" | bc -l)
    lines+=("$(printf '  job with read-ahead / floor of 16 threads: %.2f (target <= 1.5: %s)' \
        "$ratio" "$([ "$(echo "$ratio <= 1.5" | bc -l)" = 1 ] && echo met || echo MISSED)")")
}

# tree_runs warm|cold: the job and a rename preview over the tree against the flat folder.
tree_runs() {
    local mode=$1 label flat_wall ratio
    lines+=("$mode, .docx in 1,000 folders 3 deep against one folder (best of 5):")
    for label in "CSV job" "rename preview"; do
        local -a job=("$batch" --props "$props" --out "$work/tree.csv")
        [ "$label" = "rename preview" ] && job=("$batch" --rename --dry-run)
        measure "$mode" "$work/small" "${job[@]}" {}
        flat_wall=$wall
        report "$label, one folder"
        measure "$mode" "$work/tree" "${job[@]}" --subfolders {}
        report "$label, tree (--subfolders)"
        ratio=$(echo "$wall / $flat_wall" | bc -l)
        lines+=("$(printf '  %s, tree / one folder: %.2f (target <= %s: %s)' "$label" "$ratio" \
            "$max_tree_ratio" \
            "$([ "$(echo "$ratio <= $max_tree_ratio" | bc -l)" = 1 ] && echo met || echo MISSED)")")
    done
    [ "$(wc -l <"$work/tree.csv")" -gt "$count" ] || { echo "the tree's CSV misses documents" >&2; exit 1; }
}

if [ "$only" = tree ]; then
    if drop_caches 2>/dev/null; then
        tree_runs cold
    else
        echo "/proc/sys/vm/drop_caches cannot be written: cold runs skipped"
    fi
    tree_runs warm
    echo
    printf '%s\n' "${lines[@]}"
    exit 0
fi

if drop_caches 2>/dev/null; then
    cold_runs ".docx on the local disk" "$work/small"
    # The same folder through a file system in user space: each request a round trip to
    # another process, as to a network share.
    if command -v bindfs >/dev/null && mkdir -p "$work/share" &&
        bindfs --no-allow-other "$work/small" "$work/share" 2>/dev/null; then
        trap 'umount "$work/share" 2>/dev/null || true' EXIT
        cold_runs ".docx through bindfs (FUSE)" "$work/share"
        umount "$work/share"
    else
        echo "bindfs cannot mount here: the cold runs through a FUSE file system skipped"
    fi
    tree_runs cold
else
    echo "/proc/sys/vm/drop_caches cannot be written: cold runs skipped"
fi

targets="targets >= $min_docs_per_second docs/s, <= $max_rss_kb kB"
lines+=("warm, both cores, best of 5 after a warm-up ($targets):")
for format in docx doc; do
    folder=$work/small
    [ "$format" = doc ] && folder=$work/doc
    measure warm "$folder" "$batch" --props $props --out "$work/$format-ahead.csv" {}
    report ".$format, read-ahead (tarnel-batch)"
    lines[-1]+=" targets $(meets_targets && echo met || echo MISSED)"
    measure warm "$folder" "$job_csv" --props $props --out "$work/$format-none.csv" {}
    report ".$format, no read-ahead (tarnel_job_csv)"
    same_csv "$work/$format-ahead.csv" "$work/$format-none.csv"
done
echo "CSV identical with read-ahead and without: .docx (cold and warm), .doc (warm)"
tree_runs warm

lines+=("warm, one core (taskset -c 0), best of 5 after a warm-up:")
measure warm "$work/small" taskset -c 0 "$batch" --props $props --out "$work/small.csv" {}
small_wall=$wall
report "tarnel-batch, $count distinct small .docx"
measure warm "$work/linked" taskset -c 0 "$batch" --props $props --out "$work/linked.csv" {}
linked_wall=$wall
report "tarnel-batch, small .docx, hard links onto $distinct"
measure warm "$work/big" taskset -c 0 "$batch" --props $props --out "$work/big.csv" {}
big_wall=$wall
report "tarnel-batch, 50 MB .docx, hard links onto $distinct"

# exiftool once, the folder warm from the runs before: it takes long enough for one run to
# be steady.
exif_start=$EPOCHREALTIME
/usr/bin/time -v -o "$work/time.txt" taskset -c 0 \
    exiftool -q -csv -FileName -Creator -Title -Subject -Keywords "$work/small" >"$work/exif.csv"
wall=$(echo "$EPOCHREALTIME - $exif_start" | bc -l)
rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
report "exiftool, $count distinct small .docx (one run)"
lines+=("$(printf '  tarnel-batch against exiftool: %.1fx faster' \
    "$(echo "$wall / $small_wall" | bc -l)")")
lines+=("$(printf '  50 MB against small, both hard-linked: %.2fx the time' \
    "$(echo "$big_wall / $linked_wall" | bc -l)")")
lines+=("$(printf '  lines written: %s (tarnel-batch), %s (exiftool)' \
    "$(wc -l <"$work/small.csv")" "$(wc -l <"$work/exif.csv")")")

echo
printf '%s\n' "${lines[@]}"
