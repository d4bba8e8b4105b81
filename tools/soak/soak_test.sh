#!/usr/bin/env bash
# Runs a soak command and fails on anything it says on standard error (the engine's failure
# reports, late creations, the soak's own verdict), printing what it said.
# Usage: soak_test.sh SOAK [ARGS...]
set -uo pipefail
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
"$@" 2>"$errors"
rc=$?
if [ -s "$errors" ] || [ "$rc" != 0 ]; then
    echo "FAIL: exit code $rc; standard error:"
    head -n 40 "$errors"
    exit 1
fi
echo "PASS"
