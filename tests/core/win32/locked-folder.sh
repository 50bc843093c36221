#!/usr/bin/env bash
# Puts a copy of a test program into folders that take no new file, root included, as a
# program folder under Program Files does for a user; and takes them away again.
#   locked-folder.sh lock PARENT PROGRAM   makes PARENT/empty and PARENT/with-reference
#   locked-folder.sh unlock PARENT
# An immutable folder stops root too; where the file system has no such flag, a folder
# without write permission stops everyone else. When neither holds, the tests skip.
set -eu
action=$1 parent=$2

unlock() {
    for folder in "$parent"/*/; do
        [ -d "$folder" ] || continue
        chattr -i "$folder" 2>/dev/null || true
        chmod u+w "$folder"
    done
    rm -rf "$parent"
}

case $action in
lock)
    program=$3
    unlock
    for name in empty with-reference; do
        folder=$parent/$name
        mkdir -p "$folder"
        cp "$program" "$folder/"
        [ $name = empty ] || printf '21\tTitle\r\n' >"$folder/_propids.txt"
        chattr +i "$folder" 2>/dev/null || chmod a-w "$folder"
    done
    ;;
unlock) unlock ;;
*)
    echo "usage: $0 lock PARENT PROGRAM | unlock PARENT" >&2
    exit 2
    ;;
esac
