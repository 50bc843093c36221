#!/usr/bin/env bash
# Depth and size of a --subfolders job, warm, one run each, peak resident set through
# /usr/bin/time -v:
# - 100,000 tiny documents (hard links onto a few) in 10,000 folders ten deep (1,000
#   branches of ten nested folders, ten documents in each folder), against the same shape
#   a tenth the size: the peak should stay near the same, bounded by the read-ahead window
#   and not by the tree.
# - A chain of 40 nested folders with 200-character names, a document in each, whose
#   deeper paths are longer than PATH_MAX: the job ends normally and its end report tells
#   the folder it could not enter.
#   bench/job/deep-tree.sh [BUILD_DIR] [WORK_DIR]
# Everything generated is removed at the end.
set -euo pipefail

build=$(realpath "${1:-build/linux}")
work=${2:-${TMPDIR:-/tmp}/tarnel-deep-tree-bench}
batch=$build/bin/tarnel-batch
make_folder=$build/bin/tarnel_make_docx_folder
distinct=5
per_folder=10
levels=10
chain_levels=40

for program in "$batch" "$make_folder" /usr/bin/time; do
    command -v "$program" >/dev/null || { echo "missing: $program" >&2; exit 1; }
done

rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

# make_tree TREE BRANCHES: BRANCHES chains of $levels nested folders, $per_folder documents in
# each folder. One branch is made from a flat folder of hard links and the others are hard-link
# copies of it (the same names in every branch), which keeps the making to a process a branch.
make_tree() {
    local tree=$1 branches=$2 flat=$work/flat
    mkdir -p "$flat" "$tree"
    "$make_folder" "$flat" "$((levels * per_folder))" 0 "$distinct" >/dev/null
    mapfile -t documents < <(cd "$flat" && find . -maxdepth 1 -type f -printf '%f\n' | sort)
    local level folder=$tree/0
    for ((level = 0; level < levels; level++)); do
        mkdir -p "$folder"
        slice=("${documents[@]:level * per_folder:per_folder}")
        mv -t "$folder" "${slice[@]/#/$flat/}"
        folder=$folder/$level
    done
    rmdir "$flat"
    for ((branch = 1; branch < branches; branch++)); do
        cp -al "$tree/0" "$tree/$branch"
    done
}

# run_job LABEL COUNT FOLDER: one --subfolders job into a CSV, which must hold a line for
# each of COUNT documents; prints its time, peak and end report.
run_job() {
    local label=$1 count=$2 folder=$3
    local start=$EPOCHREALTIME
    /usr/bin/time -v -o "$work/time.txt" "$batch" --subfolders --props 0,20,21 \
        --out "$work/out.csv" "$folder" >"$work/report.txt" 2>&1 ||
        { echo "failed: $label" >&2; cat "$work/report.txt" >&2; exit 1; }
    local wall rss lines
    wall=$(echo "$EPOCHREALTIME - $start" | bc -l)
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
    lines=$(grep -c . "$work/out.csv")
    [ "$lines" -ge "$count" ] || { echo "$label: $lines CSV lines for $count documents" >&2; exit 1; }
    printf '  %-52s %7.3f s %8d kB peak %7d CSV lines\n' "$label" "$wall" "$rss" "$lines"
}

echo "generating the trees under $work ..."
make_tree "$work/small-tree" 100
make_tree "$work/tree" 1000

echo "warm, after a warm-up run, one run each:"
"$batch" --subfolders --props 0 --out "$work/out.csv" "$work/tree" >/dev/null 2>&1
run_job "10,000 documents, 1,000 folders 10 deep" 10000 "$work/small-tree"
run_job "100,000 documents, 10,000 folders 10 deep" 100000 "$work/tree"

# A chain too deep for one path: each level is entered by a relative name, as no call
# takes the whole path.
mkdir -p "$work/deep"
document=$(find "$work/tree" -type f -print -quit)
long_name=$(printf 'd%.0s' $(seq 200))
(
    cd "$work/deep"
    for ((level = 0; level < chain_levels; level++)); do
        ln "$document" "document-$level.docx"
        mkdir "$long_name"
        cd "$long_name"
    done
)
echo "$chain_levels levels of 200-character names (paths up to $((chain_levels * 201)) bytes):"
run_job "chain of $chain_levels folders" 1 "$work/deep"
echo "  its end report (each 200-character name shown as D200):"
sed -e "s/$long_name/D200/g" -e 's/^/    /' "$work/report.txt"
grep -q '路径过长' "$work/report.txt" || { echo "the end report tells no path too long" >&2; exit 1; }
