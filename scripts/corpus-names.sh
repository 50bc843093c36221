#!/usr/bin/env bash
# How many corpus documents a rename would give a new name: a rename preview
# (tarnel-batch --rename --dry-run) of each corpus folder, once with every naming option on
# (--text-title --fix-names --number-duplicates) and once with none (the default rule).
# Counts the documents given a new name out of those LibreOffice opens (the documents a
# word processor can open; from the cache of scripts/libreoffice-text.sh, which this fills
# when needed: build/libreoffice-text, or TARNEL_LIBREOFFICE_TEXT for another corpus) and
# lists why the rest keep their names.
#   scripts/corpus-names.sh [CORPUS] [BUILD_DIR]     (defaults: ../shared/corpus, build/linux)
# The previews run on a copy of the corpus, which is left as it is. Exits 1 when fewer than
# 80 % get a new name with every option on.
set -euo pipefail

# shellcheck source=SCRIPTDIR/corpus-check-setup.sh
. "$(dirname "$0")/corpus-check-setup.sh"
corpus_check_setup tarnel-batch "$@"

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
# The title property of each document (column 21), for the share of the documents that
# have a title or a line of text at all.
for folder in "$work/corpus"/*/; do
    "$build/bin/tarnel-batch" --props 0,21 --out "$work/all/$(basename "$folder").csv" "$folder" \
        >/dev/null
done

python3 - "$work" "$cache" <<'PY'
import collections, csv, os, re, sys, unicodedata

work, cache = sys.argv[1], sys.argv[2]
RENAMED = re.compile(r"^(.*) → (.*)$")
KEPT = re.compile(r"^(.*)：保留原名（(.*)）$")
UNLISTED = "not listed by the job"


def outcomes(label):
    """{folder/name: None when renamed, else the reason it keeps its name}"""
    result = {}
    for listing in sorted(os.listdir(os.path.join(work, label))):
        if not listing.endswith(".txt"):
            continue
        folder = listing[: -len(".txt")]
        with open(os.path.join(work, label, listing), encoding="utf-8") as f:
            for line in f:
                line = line.rstrip("\n")
                if m := RENAMED.match(line):
                    result[f"{folder}/{m.group(1)}"] = None
                elif m := KEPT.match(line):
                    result[f"{folder}/{m.group(1)}"] = m.group(2)
    return result


def opened_by_libreoffice():
    opened = []
    for folder, _, files in os.walk(cache):
        for name in files:
            if name.endswith(".txt"):
                opened.append(os.path.relpath(os.path.join(folder, name[: -len(".txt")]), cache))
    return sorted(opened)


def report(label, title, goal=None):
    result = outcomes(label)
    opened = opened_by_libreoffice()
    # A document the job does not list at all keeps its name too.
    for rel in opened:
        result.setdefault(rel, UNLISTED)
    renamed = [rel for rel in opened if result[rel] is None]
    share = len(renamed) / len(opened) if opened else 0.0
    print(f"{title}:")
    for folder in sorted({rel.split("/")[0] for rel in result}):
        everyone = [
            rel for rel in result if rel.startswith(folder + "/") and result[rel] != UNLISTED
        ]
        got = sum(1 for rel in everyone if result[rel] is None)
        print(f"  {folder}/: {got} of {len(everyone)} documents given a new name")
    line = (
        f"  opened by LibreOffice: {len(renamed)} of {len(opened)} given a new name"
        f" ({100 * share:.1f} %)"
    )
    if goal is not None:
        line += f", goal >= {100 * goal:.0f} %: {'met' if share >= goal else 'MISSED'}"
    print(line)
    reasons = collections.Counter(result[rel] for rel in opened if result[rel] is not None)
    for why, count in reasons.most_common():
        print(f"    {count:4d} kept: {why}")
    return share, result, opened


def with_title_or_text(opened):
    """The opened documents that have a title or a line of text holding a letter."""
    titled = set()
    for listing in os.listdir(os.path.join(work, "all")):
        if listing.endswith(".csv"):
            with open(os.path.join(work, "all", listing), encoding="utf-8", newline="") as f:
                for row in list(csv.reader(f))[1:]:
                    if row[1].strip():
                        titled.add(f"{listing[: -len('.csv')]}/{row[0]}")

    def has_text(rel):
        with open(os.path.join(cache, rel + ".txt"), encoding="utf-8-sig", errors="replace") as f:
            return any(unicodedata.category(c).startswith("L") for c in f.read())

    return [rel for rel in opened if rel in titled or has_text(rel)]


GOAL = 0.80
share, result, opened = report(
    "all", "every option on (--text-title --fix-names --number-duplicates)", GOAL
)
some = with_title_or_text(opened)
renamed_some = sum(1 for rel in some if result[rel] is None)
print(
    f"  of those with a title or a line of text (LibreOffice's): {renamed_some} of {len(some)}"
    f" ({100 * renamed_some / len(some):.1f} %)"
)
print()
report("none", "no option (the default rule)")
print("\nopened by LibreOffice, keeping their names with every option on:")
for rel in sorted(opened):
    if result[rel] is not None:
        print(f"  {rel}: {result[rel]}")
sys.exit(0 if share >= GOAL else 1)
PY
