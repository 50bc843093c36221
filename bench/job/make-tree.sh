#!/usr/bin/env bash
# Lays out the documents of a flat folder (one tarnel_make_docx_folder made) as a tree three
# deep: FANOUT folders, FANOUT in each, FANOUT in each of those, and the documents spread in
# their name order over the deepest folders. They are hard links, so the tree and the flat
# folder hold the very same files and a job over either reads the same bytes.
#   bench/job/make-tree.sh FLAT_FOLDER TREE_FOLDER [FANOUT]
# 10,000 documents and FANOUT 10 (the default) give 1,000 folders of 10 documents each.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 FLAT_FOLDER TREE_FOLDER [FANOUT]" >&2
    exit 2
fi
flat=$(realpath "$1")
tree=$2
fanout=${3:-10}
folders=$((fanout * fanout * fanout))

mapfile -t documents < <(cd "$flat" && find . -maxdepth 1 -type f -printf '%f\n' | sort -V)
count=${#documents[@]}
per_folder=$(((count + folders - 1) / folders))
paths=()
for ((folder = 0; folder < folders; folder++)); do
    paths+=("$tree/$((folder / fanout / fanout))/$((folder / fanout % fanout))/$((folder % fanout))")
done
mkdir -p "${paths[@]}"
for ((folder = 0; folder * per_folder < count; folder++)); do
    slice=("${documents[@]:folder * per_folder:per_folder}")
    ln -t "${paths[folder]}" "${slice[@]/#/$flat/}"
done
