#!/usr/bin/env bash
# An installed copy: `cmake --install` into a fresh prefix lays out the program, its data, the
# desktop entry and the icon; started from an unrelated folder with --no-dialog --windowed
# --mode 640x360, it opens no dialog, shows the production in a window of that size (so it found
# its data in the prefix), and Escape ends it with exit code 0 and nothing on standard error.
# Usage: installed_show.sh VORNASTO BUILD_DIR
source "$(dirname "$0")/session.sh"
build_dir=${2:?usage: $0 VORNASTO BUILD_DIR}

prefix=$E2E_TMP/prefix
cmake --install "$build_dir" --prefix "$prefix" >"$E2E_TMP/install.log" ||
    fail "cmake --install failed: $(tail -n 5 "$E2E_TMP/install.log")"
for file in bin/vornasto share/vornasto/data/vorx.mp3 share/vornasto/data/tube.fxo \
    share/applications/vornasto.desktop share/icons/hicolor/256x256/apps/vornasto.png; do
    [ -f "$prefix/$file" ] || fail "the install has no $file"
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/vornasto.desktop" ||
        fail "the desktop entry does not validate"
fi

PROGRAM=$prefix/bin/vornasto
mkdir "$E2E_TMP/elsewhere"
cd "$E2E_TMP/elsewhere"
start_xvfb 1280x720
start_program --no-dialog --windowed --mode 640x360
# Nobody presses anything: a dialog would wait for ever and the show's window never appear.
show=$(wait_for_window "$SHOW_TITLE" 20)
eval "$(xdotool getwindowgeometry --shell "$show")"
[ "$WIDTH x $HEIGHT" = "640 x 360" ] || fail "the window is $WIDTH x $HEIGHT, expected 640 x 360"
# The upper right quarter of the picture, away from the loading screen's image: first black once
# frames arrive (the root window behind an undrawn one is white), then lit once the production,
# read from the prefix's data, draws.
quarter=(320 180 $((X + 320)) "$Y")
wait_for 15 "black frames" region_is_black "${quarter[@]}"
wait_for 90 "picture after loading" region_is_not_black "${quarter[@]}"

press "$show" Escape
wait_for_exit 15
expect_clean_exit
echo "PASS: installed into $prefix, $(cat "$E2E_TMP/stdout")"
