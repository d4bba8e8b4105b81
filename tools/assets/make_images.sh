#!/usr/bin/env bash
# Regenerates the show's pictures in data/ (nebula, stars, logo, text screens, credits, loading
# emblem) with the make_images generator and the DejaVu Sans Bold font of fonts-dejavu-core.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
font="${FONT:-/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf}"
cmake --build "$build" --target make_images
"$build/make_images" "$font" "$root/data"
echo "wrote the pictures into $root/data"
