#!/usr/bin/env bash
# Regenerates data/vorx.mp3: builds the generator, renders the WAV and encodes it with lame at
# 192 kbit/s CBR without its low-pass filter, so the spectrum's upper bands (up to 20 kHz) keep
# their content. The same build and lame version give the same bytes.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
cmake --build "$build" --target make_music
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
"$build/make_music" "$tmp/vorx.wav"
lame --quiet --cbr -b 192 -q 2 --lowpass -1 --resample 44.1 --noreplaygain \
    "$tmp/vorx.wav" "$root/data/vorx.mp3"
echo "wrote $root/data/vorx.mp3 ($(stat -c %s "$root/data/vorx.mp3") bytes)"
