#!/usr/bin/env bash
# The whole show: started from the dialog, it ends by itself after 126 s of music with exit
# code 0, no report on standard error and its frame count on standard output, and its resident
# memory stays flat after the first seconds of the show.
# Usage: full_length.sh VORNASTO [TRACK_SECONDS]
# With TRACK_SECONDS the show runs on a tone of that length instead of its music, from a copy of
# the program beside a copy of its data: a track shorter than the show plays to its end and the
# show goes on in silence to 126 s. The picture is kept small, since it runs beside other tests.
source "$(dirname "$0")/session.sh"
track_seconds=${2:-}
screen=1280x720

if [ -n "$track_seconds" ]; then
    mkdir "$E2E_TMP/run" "$E2E_TMP/run/data"
    cp "$PROGRAM" "$E2E_TMP/run/"
    for file in "$(dirname "$PROGRAM")"/data/*; do
        ln -s "$(realpath "$file")" "$E2E_TMP/run/data/"
    done
    rm "$E2E_TMP/run/data/vorx.mp3"
    sox -q -n -r 44100 -c 2 -C 128 "$E2E_TMP/run/data/vorx.mp3" synth "$track_seconds" sine 440 ||
        fail "sox could not make a $track_seconds s track"
    PROGRAM="$E2E_TMP/run/$(basename "$PROGRAM")"
    screen=480x270
    export LP_NUM_THREADS=1
fi

start_xvfb "$screen"
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
