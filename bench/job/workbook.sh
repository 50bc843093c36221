#!/usr/bin/env bash
# The job into a workbook against the same job into a CSV, warm, in one run, on the
# generated folder of 10,000 .docx (five columns): the best of five of each, and the
# workbook's time over the CSV's (target <= 1.5). Then 100,000 documents (hard links onto
# 20) into a workbook: its peak resident set (target <= 32 MB), which the constant-memory
# mode keeps from growing with the rows.
#   bench/job/workbook.sh [BUILD_DIR] [WORK_DIR]
set -euo pipefail
# shellcheck source=SCRIPTDIR/measure.sh
. "$(dirname "$0")/measure.sh"

build=$(realpath "${1:-build/linux}")
work=${2:-${TMPDIR:-/tmp}/tarnel-workbook-bench}
batch=$build/bin/tarnel-batch
make_folder=$build/bin/tarnel_make_docx_folder
props=0,20,21,22,18
max_ratio=1.5
max_rss_kb=$((32 * 1024))

for program in "$batch" "$make_folder" /usr/bin/time bc; do
    command -v "$program" >/dev/null || { echo "missing: $program" >&2; exit 1; }
done

rm -rf "$work"
mkdir -p "$work/small" "$work/many" "$work/empty"
echo "generating 10,000 and 100,000 documents under $work ..."
"$make_folder" "$work/small" 10000
"$make_folder" "$work/many" 100000 0 20

measure warm "$work/small" "$batch" --props $props --out "$work/out.csv" {}
csv_wall=$wall
measure warm "$work/small" "$batch" --props $props --out "$work/out.xlsx" {}
xlsx_wall=$wall xlsx_rss=$rss
ratio=$(echo "$xlsx_wall / $csv_wall" | bc -l)
measure warm "$work/many" "$batch" --props $props --out "$work/many.xlsx" {}
many_wall=$wall many_rss=$rss

printf '10,000 documents, warm:  CSV %.3f s   workbook %.3f s (%d kB peak)   ratio %.2f (target <= %s)\n' \
    "$csv_wall" "$xlsx_wall" "$xlsx_rss" "$ratio" "$max_ratio"
printf '100,000 documents into a workbook: %.3f s, %d kB peak (target <= %d kB)\n' \
    "$many_wall" "$many_rss" "$max_rss_kb"
status=0
if [ "$(echo "$ratio > $max_ratio" | bc -l)" = 1 ]; then
    echo "TARGET MISSED: the workbook takes more than $max_ratio times the CSV's time"
    status=1
fi
if [ "$many_rss" -gt "$max_rss_kb" ]; then
    echo "TARGET MISSED: the workbook of 100,000 rows needs more than $max_rss_kb kB"
    status=1
fi
rm -rf "$work"
exit $status
