#!/bin/sh
# Compares the reader's title, authors, subject, keywords and page column of every document
# in the subfolders of a folder with exiftool's reading of the same files, and lists every
# document on which they differ. The page column holds a presentation's slides and nothing
# for a spreadsheet. Every office kind is read, whatever its extension:
#   scripts/compare-exiftool.sh [folder]     (default: ../shared/corpus)
#   scripts/make-office-kinds.sh /tmp/kinds && scripts/compare-exiftool.sh /tmp/kinds
# Exits 1 when some document differs. Needs exiftool and python3.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${1:-$root/../shared/corpus}
build=$root/build/compare-exiftool
work=$build/compare
mkdir -p "$work"

# Through the reader's dump program, which reads every file of a folder.
cmake --preset linux -B "$build" -DTARNEL_BUILD_QT=OFF >/dev/null
cmake --build "$build" --target reader_property_dump >/dev/null

for folder in "$corpus"/*/; do
    name=$(basename "$folder")
    "$build/bin/reader_property_dump" "$folder" >"$work/$name.reader.tsv"
    # The counts of the property sets and app.xml, as the shell shows them; not the ones a
    # Word binary file keeps in its own stream (exiftool's MS-DOC group).
    exiftool -q -csv -ext '*' -charset filename=utf8 -Title -Author -Creator -Subject \
        -Keywords -Pages -Slides --MS-DOC:all "$folder" >"$work/$name.exiftool.csv" \
        2>/dev/null || true
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
    with open(os.path.join(work, folder + ".reader.tsv"), encoding="utf-8",
              errors="replace") as f:
        for line in f:
            fields = [unescape(x) for x in line.rstrip("\n").split("\t")]
            rows[fields[0]] = fields[1:6]
    return rows

# The page column's field by extension: the kinds of other counts than pages.
PRESENTATIONS = {"ppt", "pptx", "pptm", "dps", "dpt"}
SPREADSHEETS = {"xls", "xlsx", "xlsm", "et", "ett"}

def page_count(name, row):
    extension = name.rsplit(".", 1)[-1].lower()
    if extension in SPREADSHEETS:
        return ""
    return row.get("Slides" if extension in PRESENTATIONS else "Pages", "")

def exif_rows(folder):
    rows = {}
    with open(os.path.join(work, folder + ".exiftool.csv"), encoding="utf-8",
              errors="replace", newline="") as f:
        for row in csv.DictReader(f):
            name = os.path.basename(row["SourceFile"])
            authors = row.get("Author") or row.get("Creator") or ""
            rows[name] = [row.get("Title", ""), authors, row.get("Subject", ""),
                          row.get("Keywords", ""), page_count(name, row)]
    return rows

labels = ["title", "authors", "subject", "keywords", "pages"]
compared = differing = 0
for path in sorted(glob.glob(os.path.join(work, "*.exiftool.csv"))):
    folder = os.path.basename(path)[: -len(".exiftool.csv")]
    ours, theirs = reader_rows(folder), exif_rows(folder)
    for name in sorted(set(ours) & set(theirs)):
        compared += 1
        diffs = [(labels[i], ours[name][i], theirs[name][i]) for i in range(5)
                 if ours[name][i] != theirs[name][i]]
        if diffs:
            differing += 1
            for label, a, b in diffs:
                print(f"{folder}/{name}: {label}: reader {a!r} exiftool {b!r}")
print(f"{compared} documents compared, {differing} differ")
sys.exit(1 if differing else 0)
PY
