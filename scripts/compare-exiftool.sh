#!/bin/sh
# Compares the reader's title, authors, subject and keywords of every corpus document with
# exiftool's reading of the same files, and lists every document on which they differ.
#   scripts/compare-exiftool.sh [corpus folder]     (default: ../shared/corpus)
# Exits 1 when some document differs. Needs exiftool and python3.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${1:-$root/../shared/corpus}
build=$root/build/compare-exiftool
work=$build/compare
mkdir -p "$work"

# The project's own batch runner when the tree has it, else the reader's dump program.
cmake --preset linux -B "$build" -DTARNEL_BUILD_QT=OFF >/dev/null
batch=$build/bin/tarnel-batch
if ! cmake --build "$build" --target tarnel-batch >/dev/null 2>&1; then
    batch=
    cmake --build "$build" --target reader_property_dump >/dev/null
fi

for folder in "$corpus"/*/; do
    name=$(basename "$folder")
    if [ -n "$batch" ]; then
        rm -f "$work/$name.reader.tsv"
        "$batch" --props 0,21,20,22,18 --out "$work/$name.reader.csv" "$folder" >/dev/null 2>&1
    else
        "$build/bin/reader_property_dump" "$folder" >"$work/$name.reader.tsv"
    fi
    exiftool -q -csv -charset filename=utf8 -Title -Author -Creator -Subject -Keywords \
        "$folder" >"$work/$name.exiftool.csv" 2>/dev/null || true
done

python3 - "$work" <<'PY'
import csv, glob, os, sys

work = sys.argv[1]

def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"t": "\t", "n": "\n", "r": "\r", "\\": "\\"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)

def reader_rows(folder):
    rows = {}
    tsv = os.path.join(work, folder + ".reader.tsv")
    if os.path.exists(tsv):
        with open(tsv, encoding="utf-8", errors="replace") as f:
            for line in f:
                fields = [unescape(x) for x in line.rstrip("\n").split("\t")]
                rows[fields[0]] = fields[1:5]
    else:
        with open(os.path.join(work, folder + ".reader.csv"), encoding="utf-8",
                  errors="replace", newline="") as f:
            for fields in list(csv.reader(f))[1:]:
                rows[fields[0]] = fields[1:5]
    return rows

def exif_rows(folder):
    rows = {}
    with open(os.path.join(work, folder + ".exiftool.csv"), encoding="utf-8",
              errors="replace", newline="") as f:
        for row in csv.DictReader(f):
            name = os.path.basename(row["SourceFile"])
            authors = row.get("Author") or row.get("Creator") or ""
            rows[name] = [row.get("Title", ""), authors, row.get("Subject", ""),
                          row.get("Keywords", "")]
    return rows

labels = ["title", "authors", "subject", "keywords"]
compared = differing = 0
for path in sorted(glob.glob(os.path.join(work, "*.exiftool.csv"))):
    folder = os.path.basename(path)[: -len(".exiftool.csv")]
    ours, theirs = reader_rows(folder), exif_rows(folder)
    for name in sorted(set(ours) & set(theirs)):
        compared += 1
        diffs = [(labels[i], ours[name][i], theirs[name][i]) for i in range(4)
                 if ours[name][i] != theirs[name][i]]
        if diffs:
            differing += 1
            for label, a, b in diffs:
                print(f"{folder}/{name}: {label}: reader {a!r} exiftool {b!r}")
print(f"{compared} documents compared, {differing} differ")
sys.exit(1 if differing else 0)
PY
