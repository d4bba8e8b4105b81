#!/usr/bin/env bash
# The whole show: started from the dialog, it ends by itself after 126 s of music with exit
# code 0, no report on standard error and its frame count on standard output, and its resident
# memory stays flat after the first seconds of the show.
# Usage: full_length.sh VORNASTO
source "$(dirname "$0")/session.sh"

start_xvfb
start_program
dialog=$(wait_for_window "$DIALOG_TITLE")
press "$dialog" Return
wait_for_window "$SHOW_TITLE" 20 >/dev/null
started=$SECONDS
start_rss_sampler
wait_for_exit 240
expect_clean_exit
expect_flat_rss 20 32
[ $((SECONDS - started)) -ge 125 ] || fail "the show ended after $((SECONDS - started)) s"
line=$(grep -E '^vornasto: [1-9][0-9]* frames in [0-9.]+ s' "$E2E_TMP/stdout") ||
    fail "no frame count line on standard output"
seconds=$(sed -E 's/.* frames in ([0-9.]+) s.*/\1/' <<<"$line")
awk -v s="$seconds" 'BEGIN { exit !(s >= 125.5 && s < 140) }' ||
    fail "the frame loop ran $seconds s, expected about 126"
echo "PASS: $line"
