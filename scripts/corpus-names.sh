#!/usr/bin/env bash
# How many corpus documents a rename would give a new name: a rename preview
# (tarnel-batch --rename --dry-run) of each corpus folder, once with every naming option on
# (--text-title --fix-names --number-duplicates) and once with none (the default rule).
# Counts the documents given a new name out of those LibreOffice opens (the documents a
# word processor can open; from the cache of scripts/libreoffice-text.sh, which this fills
# when needed) and lists why the rest keep their names.
#   scripts/corpus-names.sh [CORPUS] [BUILD_DIR]     (defaults: ../shared/corpus, build/linux)
# The previews run on a copy of the corpus, which is left as it is. Exits 1 when fewer than
# 80 % get a new name with every option on.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
corpus=$(realpath "${1:-$root/../shared/corpus}")
build=$(realpath -m "${2:-$root/build/linux}")
cache=$root/build/libreoffice-text

bash "$root/scripts/libreoffice-text.sh" "$corpus" "$cache"
[ -d "$build" ] || cmake --preset linux -B "$build" >/dev/null
cmake --build "$build" --target tarnel-batch >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/tarnel-corpus-names.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r "$corpus/." "$work/corpus"
# A preview writes no journal; its own settings folder keeps the user's out of it anyway.
export XDG_CONFIG_HOME=$work/config

# preview LABEL OPTIONS...: one preview per folder into $work/LABEL/FOLDER.txt.
preview() {
    local label=$1
    shift
    mkdir -p "$work/$label"
    for folder in "$work/corpus"/*/; do
        "$build/bin/tarnel-batch" --rename --dry-run "$@" "$folder" \
            >"$work/$label/$(basename "$folder").txt"
    done
}
preview all --text-title --fix-names --number-duplicates
preview none

python3 - "$work" "$cache" <<'PY'
import collections, os, re, sys

work, cache = sys.argv[1], sys.argv[2]
RENAMED = re.compile(r"^(.*) → (.*)$")
KEPT = re.compile(r"^(.*)：保留原名（(.*)）$")


def outcomes(label):
    """{folder/name: None when renamed, else the reason it keeps its name}"""
    result = {}
    for listing in sorted(os.listdir(os.path.join(work, label))):
        folder = listing[: -len(".txt")]
        with open(os.path.join(work, label, listing), encoding="utf-8") as f:
            for line in f:
                line = line.rstrip("\n")
                if m := RENAMED.match(line):
                    result[f"{folder}/{m.group(1)}"] = None
                elif m := KEPT.match(line):
                    result[f"{folder}/{m.group(1)}"] = m.group(2)
    return result


def report(label, title, goal=None):
    result = outcomes(label)
    opened = [rel for rel in result if os.path.exists(os.path.join(cache, rel + ".txt"))]
    renamed = [rel for rel in opened if result[rel] is None]
    share = len(renamed) / len(opened) if opened else 0.0
    print(f"{title}:")
    for folder in sorted({rel.split("/")[0] for rel in result}):
        everyone = [rel for rel in result if rel.startswith(folder + "/")]
        got = sum(1 for rel in everyone if result[rel] is None)
        print(f"  {folder}/: {got} of {len(everyone)} documents given a new name")
    line = f"  opened by LibreOffice: {len(renamed)} of {len(opened)} given a new name ({100 * share:.1f} %)"
    if goal is not None:
        line += f", goal >= {100 * goal:.0f} %: {'met' if share >= goal else 'MISSED'}"
    print(line)
    reasons = collections.Counter(result[rel] for rel in opened if result[rel] is not None)
    for why, count in reasons.most_common():
        print(f"    {count:4d} kept: {why}")
    return share, result, opened


GOAL = 0.80
share, result, opened = report("all", "every option on (--text-title --fix-names --number-duplicates)", GOAL)
print()
report("none", "no option (the default rule)")
print("\nopened by LibreOffice, keeping their names with every option on:")
for rel in sorted(opened):
    if result[rel] is not None:
        print(f"  {rel}: {result[rel]}")
sys.exit(0 if share >= GOAL else 1)
PY
