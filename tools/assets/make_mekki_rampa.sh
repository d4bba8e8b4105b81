#!/usr/bin/env bash
# Regenerates data/mekki_rampa.3ds and its texture data/rampa_tx.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
cmake --build "$build" --target make_mekki_rampa
"$build/make_mekki_rampa" "$root/data"
