#!/bin/sh
# Renders the golden frames again into tests/golden after an intended change of the picture.
# Usage: tools/capture/regenerate_golden.sh [BUILD_DIR]   (default: build)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-"$root/build"}
cmake --build "$build" --target capture
SDL_VIDEODRIVER=offscreen "$build/capture" --golden-update "$root/tests/golden"
echo "Check the pictures in tests/golden, then commit them."
