#!/bin/sh
# Runs test executables each as one whole process, four at a time, and fails
# naming every one that fails, with its failed tests and the end of its output.
# Arguments: "NAME=value NAME=value|/path/to/executable", one per executable.
log=$(mktemp -d "${TMPDIR:-/tmp}/kv whole runs.XXXXXX") || exit 1
trap 'rm -rf "$log"' EXIT

for a in "$@"; do printf '%s\n' "$a"; done | xargs -d '\n' -P 4 -I{} sh -c '
    words=${1%%|*}
    exe=${1#*|}
    name=$(basename "$exe")
    # The words are NAME=value assignments, split on purpose.
    if env $words "$exe" > "$2/$name.log" 2>&1; then
        echo "passed  $name"
    else
        echo "FAILED  $name"
        : > "$2/$name.failed"
    fi
' sh {} "$log"

status=0
for f in "$log"/*.failed; do
    [ -e "$f" ] || continue
    status=1
    name=$(basename "$f" .failed)
    echo
    echo "==== $name, run whole, failed:"
    grep -E '^\[  FAILED  \] [^ ]+\.[^ ]+ \(' "$log/$name.log"
    echo "---- end of its output:"
    tail -n 40 "$log/$name.log"
done
exit $status
