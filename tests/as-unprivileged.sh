#!/usr/bin/env bash
# Runs a GoogleTest program as "nobody" when the suite runs as root, as itself
# otherwise, and fails unless some test ran and passed.
set -euo pipefail
run=("$@")
if [ "$(id -u)" -eq 0 ]; then
    # Its temporary files go where nobody may write.
    TMPDIR=$(mktemp -d)
    export TMPDIR
    chmod 777 "$TMPDIR"
    trap 'rm -rf "$TMPDIR"' EXIT
    run=(setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@")
fi
output=$("${run[@]}" 2>&1) || { echo "$output"; exit 1; }
echo "$output"
echo "$output" | grep -qE '^\[  PASSED  \] [1-9]' || { echo "no test ran"; exit 1; }
