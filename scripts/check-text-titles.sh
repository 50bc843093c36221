#!/usr/bin/env bash
# An independent check of the text titles (--text-title): the reader's first paragraph of
# every corpus document (tarnel_first_paragraph) against the first line holding a letter of
# LibreOffice Writer's text export, cleaned the same way (scripts/compare-text-titles.py
# has the rule). Prints the agreement over the documents LibreOffice opens and lists every
# document that differs with both texts and a first guess at why.
#   scripts/check-text-titles.sh [CORPUS] [BUILD_DIR]   (defaults: ../shared/corpus, build/linux)
# The exports are cached in build/libreoffice-text, or TARNEL_LIBREOFFICE_TEXT for another
# corpus (scripts/libreoffice-text.sh; the first run takes minutes). Exits 1 when fewer
# than 90 % agree.
set -euo pipefail

# shellcheck source=SCRIPTDIR/corpus-check-setup.sh
. "$(dirname "$0")/corpus-check-setup.sh"
corpus_check_setup tarnel_first_paragraph "$@"

titles=$(mktemp "${TMPDIR:-/tmp}/tarnel-text-titles.XXXXXX")
trap 'rm -f "$titles"' EXIT
(cd "$corpus" && find . -type f \( -iname '*.doc' -o -iname '*.docx' \) -printf '%P\0' |
    sort -z | xargs -0 "$build/bin/tarnel_first_paragraph") >"$titles"
python3 "$root/scripts/compare-text-titles.py" "$cache" "$titles"
