#!/usr/bin/env bash
# scripts/libreoffice-text.sh against a stand-in LibreOffice that hangs on one document,
# cannot load another and names its exports by stem as the real one does: every other
# document gets its own text, two documents of one stem do not share an export, the hanging
# one is marked as timed out without holding up the rest, and a second run converts
# nothing again.
set -euo pipefail

script=$(cd "$(dirname "$0")/../.." && pwd)/scripts/libreoffice-text.sh
work=$(mktemp -d "${TMPDIR:-/tmp}/tarnel-libreoffice-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/corpus/sub"
for name in report.doc report.docx hangs.doc unreadable.docx sub/note.doc notes.txt; do
    echo "content of $name" >"$work/corpus/$name"
done
cat >"$work/soffice" <<'STANDIN'
#!/usr/bin/env bash
# OPTIONS... --outdir DIR DOCUMENT...: writes DIR/STEM.txt holding each document's content,
# but for "hangs" and "unreadable"; works through them last first, as nothing promises an
# order.
echo run >>"$(dirname "$0")/runs"
while [ "$1" != --outdir ]; do shift; done
outdir=$2
shift 2
for ((i = $#; i >= 1; --i)); do
    name=$(basename "${!i}")
    case $name in
    hangs.*) sleep 600 ;;
    unreadable.*) echo "Error: source file could not be loaded" ;;
    *) cp "${!i}" "$outdir/${name%.*}.txt" ;;
    esac
done
STANDIN
chmod +x "$work/soffice"

export TARNEL_SOFFICE=$work/soffice TARNEL_LIBREOFFICE_TIMEOUT=2
bash "$script" "$work/corpus" "$work/cache" >/dev/null

failures=0
expect() {
    local file=$1 content=$2
    if [ "$(cat "$work/cache/$file" 2>/dev/null)" != "$content" ]; then
        echo "$file: expected '$content', found '$(cat "$work/cache/$file" 2>&1)'"
        failures=$((failures + 1))
    fi
}
expect report.doc.txt "content of report.doc"
expect report.docx.txt "content of report.docx"
expect sub/note.doc.txt "content of sub/note.doc"
expect hangs.doc.unopened timeout
expect unreadable.docx.unopened "not loaded"
if [ -e "$work/cache/notes.txt.txt" ] || [ -e "$work/cache/notes.txt.unopened" ]; then
    echo "notes.txt is no document but was converted"
    failures=$((failures + 1))
fi

runs=$(wc -l <"$work/runs")
bash "$script" "$work/corpus" "$work/cache" >/dev/null
if [ "$(wc -l <"$work/runs")" -ne "$runs" ]; then
    echo "a second run converted documents again"
    failures=$((failures + 1))
fi
exit $((failures > 0))
