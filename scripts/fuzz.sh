#!/bin/sh
# Builds the reader fuzzers with clang and runs them, seeded from the document corpus.
#   scripts/fuzz.sh [doc|docx|both] [seconds]     (default: both, 600 s each, side by side)
# Seeds and findings stay under build/fuzz-work/; crashes land in build/fuzz-work/<format>/.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
work=$root/build/fuzz-work
corpus=${TARNEL_CORPUS_DIR:-$root/../shared/corpus}
which=${1:-both}
seconds=${2:-600}

cmake -S "$root" -B "$build" -G Ninja -DTARNEL_FUZZ=ON -DTARNEL_BUILD_TESTS=OFF \
    -DTARNEL_BUILD_QT=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target fuzz_doc_reader fuzz_docx_reader >/dev/null

# Seeds are copies of the corpus documents of one format; the fuzzer adds to its own folder.
seed() {
    format=$1
    mkdir -p "$work/$format/seeds" "$work/$format/found"
    if [ -d "$corpus" ]; then
        find "$corpus" -type f -iname "*.$format" -exec cp -n {} "$work/$format/seeds/" \;
    fi
}

run() {
    format=$1
    seed "$format"
    cd "$work/$format"
    "$build/bin/fuzz_${format}_reader" -max_total_time="$seconds" \
        -rss_limit_mb=2048 -malloc_limit_mb=512 -max_len=1048576 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$work/$format/" found seeds \
        >"$work/$format/fuzz.log" 2>&1 || true
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|ERROR|SUMMARY' \
        "$work/$format/fuzz.log" | sed "s/^/$format: /" || true
    ls "$work/$format" | grep -E '^(crash|leak|oom|timeout)-' | sed "s/^/$format finding: /" || true
}

case $which in
    doc | docx) run "$which" ;;
    both)
        run doc &
        run docx &
        wait
        ;;
    *)
        echo "usage: $0 [doc|docx|both] [seconds]" >&2
        exit 2
        ;;
esac
