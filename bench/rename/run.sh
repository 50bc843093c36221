#!/usr/bin/env bash
# A rename preview that takes every name from the documents' text
# (tarnel-batch --rename --dry-run --text-title), warm: the best of five runs after an
# untimed one, with its wall time, documents per second and peak resident set.
# - 10,000 generated .docx whose title is empty and whose main part holds about 300 KiB of
#   markup, the heading near its start (tarnel_make_text_docx_folder); the same preview
#   without --text-title beside it, for the cost of the text.
# - 1,000 .doc: one of those .docx saved as .doc by LibreOffice, copied under 1,000 names
#   (skipped, with a message, where soffice is missing).
# Every preview must take every name from the text (no document keeps its name for an
# empty title), or the script fails.
#   bench/rename/run.sh [BUILD_DIR] [WORK_DIR]
# TARNEL_BENCH_COUNT (10000) and TARNEL_BENCH_DOC_COUNT (1000) set the numbers of
# documents, TARNEL_BENCH_MAIN_BYTES (307200) the size of a main part. Generating them takes
# minutes: TARNEL_BENCH_KEEP=1 reuses the documents of an earlier run in WORK_DIR made with
# the same numbers.
set -euo pipefail
# shellcheck source=SCRIPTDIR/../timed-run.sh
. "$(dirname "$0")/../timed-run.sh"

build=$(realpath "${1:-build/linux}")
work=${2:-${TMPDIR:-/tmp}/tarnel-rename-bench}
count=${TARNEL_BENCH_COUNT:-10000}
doc_count=${TARNEL_BENCH_DOC_COUNT:-1000}
main_bytes=${TARNEL_BENCH_MAIN_BYTES:-307200}
batch=$build/bin/tarnel-batch
make_folder=$build/bin/tarnel_make_text_docx_folder
min_docs_per_second=20000
max_rss_kb=$((32 * 1024))

for program in "$batch" "$make_folder" /usr/bin/time bc; do
    command -v "$program" >/dev/null || { echo "missing: $program" >&2; exit 1; }
done

# A preview writes no journal; its own settings folder keeps the user's out of it anyway.
export XDG_CONFIG_HOME=$work/config
made="$count .docx of $main_bytes bytes, $doc_count .doc"
if [ "${TARNEL_BENCH_KEEP:-0}" = 1 ] && [ "$(cat "$work/made" 2>/dev/null)" = "$made" ]; then
    echo "reusing $made under $work"
else
    rm -rf "$work"
    mkdir -p "$work/docx" "$work/doc" "$work/config"
    echo "generating $count .docx under $work ..."
    "$make_folder" "$work/docx" "$count" "$main_bytes"
    if command -v soffice >/dev/null; then
        mkdir -p "$work/doc-source"
        soffice "-env:UserInstallation=file://$work/profile" --headless --convert-to doc \
            --outdir "$work/doc-source" "$work/docx/text0.docx" >/dev/null 2>&1
        for ((i = 0; i < doc_count; ++i)); do
            cp "$work/doc-source/text0.doc" "$work/doc/text$i.doc"
        done
    else
        echo "soffice missing (Debian: libreoffice-writer-nogui): the .doc runs skipped"
    fi
    echo "$made" >"$work/made"
fi
have_doc=false
[ -e "$work/doc/text0.doc" ] && have_doc=true

# measure COMMAND...: an untimed run, then five; sets wall (the best time in seconds), cpu
# (that run's user and system time) and rss (its peak resident set in kB), and keeps its
# output in $work/preview.txt. A failed run ends the script. On a machine whose cores are
# shared the CPU time is the steadier figure.
measure() {
    wall="" cpu="" rss=""
    "$@" >/dev/null 2>&1 || true
    for _ in 1 2 3 4 5; do
        timed_run "$work/preview.txt" "$@"
    done
}

lines=()
# report LABEL COUNT [TARGETS]: a line of figures; with TARGETS, whether they were met.
report() {
    local label=$1 documents=$2 rate
    rate=$(echo "$documents / $wall" | bc -l)
    local line
    line=$(printf '  %-40s %7.3f s %9.0f docs/s %6.2f s CPU %7d kB peak' "$label" "$wall" \
        "$rate" "$cpu" "$rss")
    if [ "${3:-}" = targets ]; then
        local met=met
        [ "$(echo "$rate >= $min_docs_per_second" | bc -l)" = 1 ] && [ "$rss" -le "$max_rss_kb" ] ||
            met=MISSED
        line+=" targets $met"
    fi
    lines+=("$line")
}

# all_from_text COUNT: every document of the last preview got a name from its text.
all_from_text() {
    local empty
    empty=$(grep -c '（标题为空）' "$work/preview.txt" || true)
    if [ "$empty" -ne 0 ]; then
        echo "the preview found no text title for $empty of $1 documents:" >&2
        grep -m 5 '（标题为空）' "$work/preview.txt" >&2
        exit 1
    fi
}

lines+=("warm, both cores, best of 5 after a warm-up" \
    "(targets with --text-title: >= $min_docs_per_second docs/s, <= $max_rss_kb kB):")
measure "$batch" --rename --dry-run --text-title "$work/docx"
all_from_text "$count"
renamed=$(grep -c ' → ' "$work/preview.txt" || true)
[ "$renamed" -eq "$count" ] || { echo "only $renamed of $count .docx renamed" >&2; exit 1; }
report "$count .docx, --text-title" "$count" targets
measure "$batch" --rename --dry-run "$work/docx"
report "$count .docx, without --text-title" "$count"
if $have_doc; then
    measure "$batch" --rename --dry-run --text-title "$work/doc"
    all_from_text "$doc_count"
    report "$doc_count .doc, --text-title" "$doc_count"
    measure "$batch" --rename --dry-run "$work/doc"
    report "$doc_count .doc, without --text-title" "$doc_count"
fi

echo
printf '%s\n' "${lines[@]}"
