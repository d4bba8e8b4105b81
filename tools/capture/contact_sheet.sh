#!/bin/sh
# Renders a contact sheet of the show: a frame every 5 s plus the timeline's events, each
# labelled with its time, tiled into docs/contact-sheet.png.
# Usage: tools/capture/contact_sheet.sh [BUILD_DIR]   (default: build)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-"$root/build"}
times="5,10,15,20,25,30,35,40,45,50,53.8,55,55.7,60,65,69.6,70,75,80,85,90,95,97.4,100,105,110,111.4,115,120,122.4"
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT
cmake --build "$build" --target capture
SDL_VIDEODRIVER=offscreen "$build/capture" --png "$frames" --size 256x144 --frames "$times"
set --
for picture in "$frames"/t_*.png; do
  seconds=$(basename "$picture" .png | sed -e 's/^t_0*//' -e 's/^\./0./' -e 's/\.\{0,1\}0*$//')
  set -- "$@" -label "${seconds} s" "$picture"
done
montage "$@" -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -tile 6x -geometry +2+2 -background '#202020' -fill '#e0e0e0' -pointsize 12 \
  -colors 256 "PNG8:$root/docs/contact-sheet.png"
echo "wrote $root/docs/contact-sheet.png"
