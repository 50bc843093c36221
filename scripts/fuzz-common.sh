# Sourced by scripts/fuzz.sh and scripts/fuzz-ci.sh: the fuzz targets, their build with
# clang, their seeds, and one run of one target.

# One line per fuzz target: its name, the corpus files that seed it (a find -iname pattern,
# or - for none) and the folder under tests/data whose kept inputs seed it too (- for none).
# A target the build defines that is missing here still runs, unseeded.
TARNEL_FUZZ_TARGETS='
fuzz_doc_reader    *.doc   reader-regressions
fuzz_docx_reader   *.docx  reader-regressions
fuzz_title_rename  -       title-rename-regressions
'

fuzz_root=$(cd "$(dirname "$0")/.." && pwd)
fuzz_build=${TARNEL_FUZZ_BUILD:-$fuzz_root/build/fuzz}
fuzz_corpus=${TARNEL_CORPUS_DIR:-$fuzz_root/../shared/corpus}

# Configures and builds every fuzz target the build defines; prints their names.
fuzz_build_targets() {
    cmake -S "$fuzz_root" -B "$fuzz_build" -G Ninja -DTARNEL_FUZZ=ON -DTARNEL_WERROR=ON -DTARNEL_BUILD_TESTS=OFF \
        -DTARNEL_BUILD_QT=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null || return 1
    local defined
    defined=$(ninja -C "$fuzz_build" -t targets all | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\): phony$/\1/p' |
        sort -u)
    [ -n "$defined" ] || { echo "the build defines no fuzz target" >&2; return 1; }
    # shellcheck disable=SC2086
    cmake --build "$fuzz_build" -j2 --target $defined >/dev/null || return 1
    echo "$defined"
}

# The listed line of a target: "corpus-pattern kept-folder", or "- -" when unlisted.
fuzz_seed_sources() {
    local sources
    sources=$(echo "$TARNEL_FUZZ_TARGETS" | awk -v t="$1" '$1 == t { print $2, $3 }')
    echo "${sources:-- -}"
}

# Fills work/seeds with the target's corpus files and kept inputs.
fuzz_seed() {
    local target=$1 seeds=$2 pattern kept
    read -r pattern kept <<<"$(fuzz_seed_sources "$target")"
    mkdir -p "$seeds"
    if [ "$pattern" != - ] && [ -d "$fuzz_corpus" ]; then
        find "$fuzz_corpus" -type f -iname "$pattern" -exec cp -n {} "$seeds/" \;
    fi
    if [ "$kept" != - ] && [ -d "$fuzz_root/tests/data/$kept" ]; then
        find "$fuzz_root/tests/data/$kept" -type f -exec cp -n {} "$seeds/" \;
    fi
}

# Runs one target for that many seconds in work (its seeds, what it finds, its log).
# Prints its executions and any finding; fails when it found a crash, leak, OOM or timeout.
fuzz_run() {
    local target=$1 seconds=$2 work=$3 status=0
    fuzz_seed "$target" "$work/seeds"
    mkdir -p "$work/found"
    rm -f "$work"/crash-* "$work"/leak-* "$work"/oom-* "$work"/timeout-* "$work"/slow-unit-*
    (cd "$work" && "$fuzz_build/bin/$target" -max_total_time="$seconds" \
        -rss_limit_mb=2048 -malloc_limit_mb=512 -max_len=1048576 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$work/" found seeds >"$work/fuzz.log" 2>&1) ||
        status=1
    local executions
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log" | tail -n 1)
    echo "$target: ${executions:-0} executions in ${seconds} s"
    local findings
    findings=$(find "$work" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o \
        -name 'oom-*' -o -name 'timeout-*' \) | sort)
    if [ "$status" -ne 0 ] || [ -n "$findings" ]; then
        echo "$target: FINDING"
        grep -E 'ERROR|SUMMARY|^==|#[0-9]+ 0x' "$work/fuzz.log" | head -40 | sed "s/^/$target: /"
        for finding in $findings; do
            echo "$target: input kept as $finding (add it under tests/data/ once fixed)"
        done
        return 1
    fi
}
