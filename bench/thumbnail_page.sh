#!/usr/bin/env bash
# Writes the browser tests' library (tests/browser/site_writer) into a
# temporary folder and measures its 200-photo sub-gallery with and without
# thumbnails over a throttled local web server (bench/thumbnail_page.mjs).
# Prints figures; never fails on them. Usually run as:
#   cmake --build build/tests --target run_thumbnail_page_bench
#
#   bash bench/thumbnail_page.sh [<site_writer executable>]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
writer="${1:-$here/../build/tests/tests/browser/site_writer}"

if [ ! -x /usr/bin/chromium ] || ! command -v node >/dev/null 2>&1 ||
   [ ! -d "$here/../tests/browser/node_modules/playwright-core" ]; then
  echo "needs /usr/bin/chromium, node and tests/browser/node_modules (scripts/install-deps.sh)" >&2
  exit 1
fi

site="$(mktemp -d /tmp/galmora-bench-XXXXXX)"
trap 'rm -rf -- "$site"' EXIT
"$writer" "$site"
node "$here/thumbnail_page.mjs" "$site/site.json"
