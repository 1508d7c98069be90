#!/usr/bin/env bash
# Writes the 97,901-picture page into a temporary folder and measures it in
# headless Chromium (bench/large_page.mjs). Prints figures; never fails on
# them. Usually run as: cmake --build build/tests --target run_large_page_bench
#
#   bash bench/large_page.sh [<bench_large_page_site executable>]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
writer="${1:-$here/../build/tests/bench/bench_large_page_site}"

if [ ! -x /usr/bin/chromium ] || ! command -v node >/dev/null 2>&1 ||
   [ ! -d "$here/../tests/browser/node_modules/playwright-core" ]; then
  echo "needs /usr/bin/chromium, node and tests/browser/node_modules (scripts/install-deps.sh)" >&2
  exit 1
fi

site="$(mktemp -d /tmp/galmora-bench-XXXXXX)"
trap 'rm -rf -- "$site"' EXIT
"$writer" "$site"
node "$here/large_page.mjs" "$site/site.json"
