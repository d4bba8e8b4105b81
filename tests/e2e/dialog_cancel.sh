#!/usr/bin/env bash
# Cancelling the start-up dialog, by its quit button (a mouse click or Tab and Return) or by
# Escape, ends the program with exit code 0 before any render window exists.
# Usage: dialog_cancel.sh VORNASTO click|keyboard|escape
source "$(dirname "$0")/session.sh"
how=${2:?click, keyboard or escape}

start_xvfb
start_program
dialog=$(wait_for_window "$DIALOG_TITLE")
read -r width height < <(xdotool getwindowgeometry --shell "$dialog" |
    awk -F= '/^WIDTH/{w=$2} /^HEIGHT/{h=$2} END{print w, h}')
[ "$width x $height" = "200 x 380" ] || fail "the dialog is $width x $height, expected 200 x 380"

case "$how" in
    click)
        # The quit button: client (0, 20), 50 x 20. The first move lets the dialog see the
        # pointer over the button before it goes down.
        xdotool mousemove --window "$dialog" 25 30
        sleep 0.3
        xdotool mousemove --window "$dialog" 26 31 click 1
        ;;
    keyboard) press "$dialog" Tab Return ;;
    escape) press "$dialog" Escape ;;
    *) fail "unknown way to cancel: $how" ;;
esac

wait_for_exit 10
expect_clean_exit
[ "$SHOW_SEEN" = no ] || fail "a render window appeared after cancel"
[ ! -s "$E2E_TMP/stdout" ] || fail "a cancelled start printed: $(cat "$E2E_TMP/stdout")"
echo "PASS: $how cancels the start-up dialog"
