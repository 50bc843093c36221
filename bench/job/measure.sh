# shellcheck shell=bash
# shellcheck disable=SC2034,SC2154  # work comes from the sourcing script, which reads the figures
# Sourced by the job's benchmark scripts, which set work (a scratch folder with an empty
# folder "empty" in it): the best of five runs of a command, warm or cold.
# shellcheck source=SCRIPTDIR/../timed-run.sh
. "$(dirname "${BASH_SOURCE[0]}")/../timed-run.sh"

drop_caches() {
    sync && echo 3 >/proc/sys/vm/drop_caches
}

# measure warm|cold FOLDER COMMAND...: runs the command five times, with FOLDER for each
# argument "{}"; sets wall (the best time in seconds) and rss (that run's peak resident set
# in kB). warm: after a warm-up run; cold: after dropping the page cache before each run,
# then running the command on an empty folder, which loads the program, its libraries and
# what else it opens, so a cold time is that of the folder's and its documents' reads. A
# failed run ends the script.
measure() {
    local mode=$1 folder=$2
    shift 2
    local -a command=("${@//\{\}/$folder}") empty=("${@//\{\}/$work/empty}")
    wall="" rss=""
    if [ "$mode" = warm ]; then
        "${command[@]}" >/dev/null 2>&1 || true
    fi
    for _ in 1 2 3 4 5; do
        if [ "$mode" = cold ]; then
            drop_caches
            /usr/bin/time -o /dev/null "${empty[@]}" >/dev/null 2>&1 || true
        fi
        timed_run "" "${command[@]}"
    done
}
