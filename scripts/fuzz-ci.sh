#!/usr/bin/env bash
# The short fuzz run of CI: every fuzz target the build defines, one after another, 60 s
# each (TARNEL_FUZZ_SECONDS), seeded from ../shared/corpus when present and the kept inputs
# under tests/data. Prints each target's executions; exits non-zero, printing the finding,
# when any target crashed, leaked, ran out of memory or timed out.
set -euo pipefail
. "$(dirname "$0")/fuzz-common.sh"

seconds=${TARNEL_FUZZ_SECONDS:-60}
work=$fuzz_root/build/fuzz-ci-work

targets=$(fuzz_build_targets)
status=0
for target in $targets; do
    rm -rf "$work/$target"
    fuzz_run "$target" "$seconds" "$work/$target" || status=1
done
exit $status
