#!/usr/bin/env bash
# The text of every document under a folder as LibreOffice Writer exports it, kept as a
# cache so the slow conversion runs once: for each document REL (its path under the folder)
#   CACHE/REL.txt        the UTF-8 text export, when LibreOffice opened the document;
#   CACHE/REL.unopened   when it did not (the file holds why: "not loaded" or "timeout").
# Documents that have either file are not converted again; delete the cache to redo it. A
# cache serves one folder.
#   scripts/libreoffice-text.sh [FOLDER] [CACHE]
# (defaults: ../shared/corpus and build/libreoffice-text). TARNEL_SOFFICE names another
# LibreOffice program to run; without it, libreoffice-writer-nogui is installed when no
# Writer is. TARNEL_LIBREOFFICE_TIMEOUT (120) is the seconds one document may take.
# LibreOffice takes seconds to start, so documents are converted in batches of 25 by one
# process, under a timeout. Each document of a batch that got no export (the batch timed
# out or failed, or LibreOffice did not load it) is converted again by a process of its own
# with its own timeout, so a document that hangs or crashes LibreOffice costs only its own
# conversion and a batch's state never decides whether a document opens.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(realpath "${1:-$root/../shared/corpus}")
cache=${2:-$root/build/libreoffice-text}
timeout_seconds=${TARNEL_LIBREOFFICE_TIMEOUT:-120}
batch_size=25

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}
soffice=${TARNEL_SOFFICE:-soffice}
if [ -z "${TARNEL_SOFFICE:-}" ] && ! installed libreoffice-writer-nogui &&
    ! installed libreoffice-writer; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q libreoffice-writer-nogui
fi

# LibreOffice may leave lock files beside what it opens: it works on copies, so the folder
# stays as it is. Its own profile keeps it apart from any LibreOffice the user runs.
work=$(mktemp -d "${TMPDIR:-/tmp}/tarnel-libreoffice.XXXXXX")
trap 'rm -rf "$work"' EXIT
profile="file://$work/profile"

mkdir -p "$cache"
cache=$(realpath "$cache")
# The exports are named by their documents' paths under the folder: a cache serves one.
if [ "$(cat "$cache/.folder" 2>/dev/null || echo "$folder")" != "$folder" ]; then
    echo "$cache holds the texts of $(cat "$cache/.folder"), not of $folder: give another cache" >&2
    exit 1
fi
echo "$folder" >"$cache/.folder"

# convert SECONDS REL...: one LibreOffice process for the documents, each copied under its
# own name into a folder of its own (LibreOffice reads the extension as a hint, and
# recomputes a field showing the file name from the copy's name). A document whose stem
# another one of the list already has is left out, as their exports would share a name: it
# gets no export here and is converted alone afterwards. Moves every export into the cache
# and returns the process's status (124 or 137 after the timeout).
convert() {
    local seconds=$1
    shift
    local -a rels=("$@") copies=()
    local -A index_of_stem=()
    rm -rf "$work/in" "$work/out"
    mkdir -p "$work/in" "$work/out"
    local i name stem
    for i in "${!rels[@]}"; do
        name=$(basename "${rels[i]}")
        stem=${name%.*}
        [ -n "${index_of_stem[$stem]+set}" ] && continue
        index_of_stem[$stem]=$i
        mkdir "$work/in/$i"
        cp "$folder/${rels[i]}" "$work/in/$i/$name"
        copies+=("$work/in/$i/$name")
    done
    local status=0
    timeout --kill-after=10 "$seconds" "$soffice" "-env:UserInstallation=$profile" --headless \
        --convert-to 'txt:Text (encoded):UTF8' --outdir "$work/out" "${copies[@]}" \
        >"$work/log" 2>&1 || status=$?
    for stem in "${!index_of_stem[@]}"; do
        i=${index_of_stem[$stem]}
        if [ -e "$work/out/$stem.txt" ]; then
            mkdir -p "$cache/$(dirname "${rels[i]}")"
            mv "$work/out/$stem.txt" "$cache/${rels[i]}.txt"
        fi
    done
    return "$status"
}

# mark_unopened WHY REL...: the documents of the list that have no export are not opened.
mark_unopened() {
    local why=$1 rel
    shift
    for rel in "$@"; do
        [ -e "$cache/$rel.txt" ] && continue
        mkdir -p "$cache/$(dirname "$rel")"
        echo "$why" >"$cache/$rel.unopened"
    done
}

pending=()
while IFS= read -r rel; do
    [ -e "$cache/$rel.txt" ] || [ -e "$cache/$rel.unopened" ] || pending+=("$rel")
done < <(cd "$folder" &&
    find . -type f \( -iname '*.doc' -o -iname '*.docx' \) -printf '%P\n' | sort)

for ((start = 0; start < ${#pending[@]}; start += batch_size)); do
    batch=("${pending[@]:start:batch_size}")
    echo "converting $((start + ${#batch[@]})) of ${#pending[@]} documents ..."
    convert $((timeout_seconds * 2)) "${batch[@]}" || true
    for rel in "${batch[@]}"; do
        [ -e "$cache/$rel.txt" ] && continue
        status=0
        convert "$timeout_seconds" "$rel" || status=$?
        if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
            mark_unopened timeout "$rel"
        else
            mark_unopened "not loaded" "$rel"
        fi
    done
done
