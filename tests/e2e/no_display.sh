#!/usr/bin/env bash
# Without any display the program cannot ask for a display mode: it says so on standard error
# and ends with exit code 1, the show not played, having shown, created and printed nothing else;
# no library's complaint about the missing display (or runtime folder) comes with that line.
# Usage: no_display.sh VORNASTO
source "$(dirname "$0")/session.sh"

env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR SDL_AUDIODRIVER=dummy \
    "$PROGRAM" >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" &
PROGRAM_PID=$!
wait_for_exit 15
[ "$PROGRAM_RC" = 1 ] || fail "exit code $PROGRAM_RC, expected 1: the show could not play"
grep -q '^error: no display available' "$E2E_TMP/stderr" || fail "no report of the missing display"
[ "$(wc -l <"$E2E_TMP/stderr")" = 1 ] || fail "more than the one line on standard error"
[ ! -s "$E2E_TMP/stdout" ] || fail "printed: $(cat "$E2E_TMP/stdout")"
echo "PASS: $(grep '^error: no display' "$E2E_TMP/stderr")"
