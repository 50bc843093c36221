# shellcheck shell=bash
# shellcheck disable=SC2034  # the checks that source this read what it sets
# Sourced by the corpus checks with their arguments [CORPUS] [BUILD_DIR] and the target
# they run: sets root, corpus, build and cache (LibreOffice's text of every corpus document,
# made when missing by scripts/libreoffice-text.sh), and builds the target.
#   corpus_check_setup TARGET [CORPUS] [BUILD_DIR]
corpus_check_setup() {
    local target=$1
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    corpus=$(realpath "${2:-$root/../shared/corpus}")
    build=$(realpath -m "${3:-$root/build/linux}")
    cache=${TARNEL_LIBREOFFICE_TEXT:-$root/build/libreoffice-text}

    bash "$root/scripts/libreoffice-text.sh" "$corpus" "$cache"
    [ -d "$build" ] || cmake --preset linux -B "$build" >/dev/null
    cmake --build "$build" --target "$target" >/dev/null
}
