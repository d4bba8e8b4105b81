#!/usr/bin/env bash
# Return in the start-up dialog starts the show in the display's mode, full screen; the frames
# keep the letterbox bars black; Escape ends the show with exit code 0, the shutdown runs without
# a report and the program prints its frame count.
# Usage: show_escape.sh VORNASTO [--expect-picture]
# With --expect-picture the picture area must also show the production once loading is over.
source "$(dirname "$0")/session.sh"
expect_picture=${2:-}

# A 4:3 screen, so the 16:9 picture leaves bars of 96 rows above and below it.
readonly WIDTH=1024 HEIGHT=768 PICTURE_TOP=96 PICTURE_BOTTOM=671

start_xvfb "${WIDTH}x${HEIGHT}"
start_program
dialog=$(wait_for_window "$DIALOG_TITLE")
press "$dialog" Return

show=$(wait_for_window "$SHOW_TITLE" 20)
read -r width height < <(xdotool getwindowgeometry --shell "$show" |
    awk -F= '/^WIDTH/{w=$2} /^HEIGHT/{h=$2} END{print w, h}')
# The display's only mode was the first item of the list.
[ "$width x $height" = "$WIDTH x $HEIGHT" ] ||
    fail "the render window is $width x $height, expected the display's mode $WIDTH x $HEIGHT"

bars_black() {
    region_is_black "$WIDTH" "$PICTURE_TOP" 0 0 &&
        region_is_black "$WIDTH" $((HEIGHT - PICTURE_BOTTOM)) 0 "$PICTURE_BOTTOM"
}
# The root window behind an undrawn window is white, so black bars mean frames arrived.
wait_for 15 "black letterbox bars" bars_black

if [ "$expect_picture" = --expect-picture ]; then
    # The upper right quarter of the picture: far from the loading screen's spinning image, so
    # it lights up only when the production draws.
    wait_for 90 "picture after loading" region_is_not_black $((WIDTH / 2)) 287 $((WIDTH / 2)) \
        "$PICTURE_TOP"
    bars_black || fail "the production drew over the letterbox bars"
fi

press "$show" Escape
wait_for_exit 15
expect_clean_exit
grep -Eq '^vornasto: [1-9][0-9]* frames in [0-9.]+ s, [0-9.]+ frames per second$' \
    "$E2E_TMP/stdout" || fail "no frame count line on standard output"
echo "PASS: $(cat "$E2E_TMP/stdout")"
