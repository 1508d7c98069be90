#!/usr/bin/env bash
# Writes fresh sites into a temporary folder with site_writer, then runs the
# browser tests on them. Skips (exit 0) when Chromium, Node or the npm
# packages are not installed; scripts/install-deps.sh installs them.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
writer="$1"

if [ ! -x /usr/bin/chromium ]; then
  echo "browser tests skipped: /usr/bin/chromium is not installed"
  exit 0
fi
if ! command -v node >/dev/null 2>&1; then
  echo "browser tests skipped: node is not installed"
  exit 0
fi
if [ ! -d "$here/node_modules/playwright-core" ]; then
  echo "browser tests skipped: run 'npm ci' in tests/browser (scripts/install-deps.sh does)"
  exit 0
fi

sites="$(mktemp -d /tmp/galmora-browser-XXXXXX)"
trap 'rm -rf -- "$sites"' EXIT
"$writer" "$sites"
cd "$here"
GALMORA_SITES="$sites" node --test --test-concurrency=1 ./*.test.mjs
