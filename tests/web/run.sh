#!/usr/bin/env bash
# The web test: builds build-web/ (or reuses what is built: scripts/web is incremental), installs
# the test's one npm package (playwright-core, pinned by package-lock.json) and runs web_test.js
# on the built page against tests/golden/ in headless Chromium.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
scripts/web
if [ ! -d tests/web/node_modules/playwright-core ]; then
    (cd tests/web && npm ci --no-audit --no-fund)
fi
exec node tests/web/web_test.js build-web tests/golden build-web/golden-out
