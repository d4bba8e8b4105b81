#!/usr/bin/env bash
# Regenerates data/mekki_rampa.3ds and its texture data/rampa_tx.png, then reads them back the
# way the show does (the importer's tests of the committed model).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
cmake --build "$build" --target make_mekki_rampa
"$build/make_mekki_rampa" "$root/data"
cmake --build "$build" --target unit_tests kelvo_data
(cd "$build" && ./unit_tests --gtest_filter='ShowModelTest.*')
echo "Check the model in the show's frames (tools/capture/contact_sheet.sh), then commit data/."
