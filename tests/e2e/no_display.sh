#!/usr/bin/env bash
# Without any display the program cannot ask for a display mode: it says so on standard error
# and ends with exit code 1, the show not played, having shown, created and printed nothing else.
# Usage: no_display.sh VORNASTO
source "$(dirname "$0")/session.sh"

env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
    "$PROGRAM" >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" &
PROGRAM_PID=$!
wait_for_exit 15
[ "$PROGRAM_RC" = 1 ] || fail "exit code $PROGRAM_RC, expected 1: the show could not play"
grep -q '^error: no display available' "$E2E_TMP/stderr" || fail "no report of the missing display"
[ ! -s "$E2E_TMP/stdout" ] || fail "printed: $(cat "$E2E_TMP/stdout")"
echo "PASS: $(grep '^error: no display' "$E2E_TMP/stderr")"
