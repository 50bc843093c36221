# shellcheck shell=bash
# shellcheck disable=SC2034,SC2154  # work comes from the sourcing script, which reads the figures
# Sourced by the benchmark scripts, which set work (a scratch folder).
#
# timed_run OUTPUT COMMAND...: runs the command once; a failed run ends
# the script. When it is the fastest so far (wall empty, or more than this run's time) it
# sets wall (seconds), cpu (user and system seconds) and rss (peak resident set in kB), and
# keeps its output in OUTPUT unless that is empty.
timed_run() {
    local output=$1
    shift
    local start=$EPOCHREALTIME
    if ! /usr/bin/time -v -o "$work/time.txt" "$@" >"$work/run.txt" 2>"$work/stderr.txt"; then
        echo "failed: $*" >&2
        cat "$work/stderr.txt" >&2
        exit 1
    fi
    local run_wall
    run_wall=$(echo "$EPOCHREALTIME - $start" | bc -l)
    if [ -z "$wall" ] || [ "$(echo "$run_wall < $wall" | bc -l)" = 1 ]; then
        wall=$run_wall
        rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
        cpu=$(awk -F': ' '/(User|System) time/ {sum += $2} END {print sum}' "$work/time.txt")
        if [ -n "$output" ]; then
            mv "$work/run.txt" "$output"
        fi
    fi
}
