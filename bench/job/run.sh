#!/usr/bin/env bash
# The whole job on 10,000 generated .docx documents: tarnel-batch against exiftool on the
# same folder, warm cache, one core; then the same job on 50 MB documents.
#   bench/job/run.sh [BUILD_DIR] [WORK_DIR]
# TARNEL_BENCH_COUNT (10000) sets the number of documents, TARNEL_BENCH_DISTINCT (20) the
# number of distinct 50 MB documents behind the big folder's hard links.
set -euo pipefail

build=$(realpath "${1:-build/linux}")
work=${2:-${TMPDIR:-/tmp}/tarnel-job-bench}
count=${TARNEL_BENCH_COUNT:-10000}
distinct=${TARNEL_BENCH_DISTINCT:-20}
big_bytes=$((50 * 1024 * 1024))
batch=$build/bin/tarnel-batch
make_folder=$build/bin/tarnel_make_docx_folder
props=0,20,21,22,18

for program in "$batch" "$make_folder" /usr/bin/time exiftool taskset; do
    command -v "$program" >/dev/null || { echo "missing: $program" >&2; exit 1; }
done

rm -rf "$work"
mkdir -p "$work/small" "$work/linked" "$work/big"
echo "generating $count documents in three folders under $work ..."
"$make_folder" "$work/small" "$count"
"$make_folder" "$work/linked" "$count" 0 "$distinct"
"$make_folder" "$work/big" "$count" "$big_bytes" "$distinct"

# Runs a command on core 0 three times after a warm-up; prints the best wall time in
# seconds and the peak resident set of that run in kB.
measure() {
    local best="" best_rss=""
    "$@" >/dev/null 2>&1
    for _ in 1 2 3; do
        local start end wall rss
        start=$(date +%s.%N)
        /usr/bin/time -v -o "$work/time.txt" taskset -c 0 "$@" >/dev/null 2>"$work/stderr.txt"
        end=$(date +%s.%N)
        wall=$(echo "$end - $start" | bc -l)
        rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
        if [ -z "$best" ] || [ "$(echo "$wall < $best" | bc -l)" = 1 ]; then
            best=$wall best_rss=$rss
        fi
    done
    echo "$best $best_rss"
}

report() {
    local label=$1 wall=$2 rss=$3
    printf '%-44s %8.3f s %10.0f docs/s %8d kB peak\n' "$label" "$wall" \
        "$(echo "$count / $wall" | bc -l)" "$rss"
}

read -r small_wall small_rss < <(measure "$batch" --props $props --out "$work/small.csv" "$work/small")
read -r linked_wall linked_rss < <(measure "$batch" --props $props --out "$work/linked.csv" "$work/linked")
read -r big_wall big_rss < <(measure "$batch" --props $props --out "$work/big.csv" "$work/big")

# exiftool once after its warm-up: it takes long enough for one run to be steady.
exif_start=$(date +%s.%N)
/usr/bin/time -v -o "$work/time.txt" taskset -c 0 \
    exiftool -q -csv -FileName -Creator -Title -Subject -Keywords "$work/small" >"$work/exif.csv"
exif_wall=$(echo "$(date +%s.%N) - $exif_start" | bc -l)
exif_rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")

echo
report "tarnel-batch, $count distinct small documents" "$small_wall" "$small_rss"
report "tarnel-batch, small, hard links onto $distinct" "$linked_wall" "$linked_rss"
report "tarnel-batch, 50 MB, hard links onto $distinct" "$big_wall" "$big_rss"
report "exiftool, $count distinct small documents" "$exif_wall" "$exif_rss"
printf 'tarnel-batch against exiftool: %.1fx faster\n' "$(echo "$exif_wall / $small_wall" | bc -l)"
printf '50 MB against small, both hard-linked: %.2fx the time\n' \
    "$(echo "$big_wall / $linked_wall" | bc -l)"
printf 'lines written: %s (tarnel-batch), %s (exiftool)\n' \
    "$(wc -l <"$work/small.csv")" "$(wc -l <"$work/exif.csv")"
