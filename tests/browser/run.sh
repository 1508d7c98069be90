#!/usr/bin/env bash
# Writes fresh sites into a temporary folder with site_writer, then runs the
# browser tests on them. Fails when Chromium, Node or the npm packages are
# missing (scripts/install-deps.sh installs them), so that a run without the
# browser never passes as a run with it.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
writer="$1"

if [ ! -x /usr/bin/chromium ]; then
  echo "browser tests cannot run: /usr/bin/chromium is not installed" >&2
  exit 1
fi
if ! command -v node >/dev/null 2>&1; then
  echo "browser tests cannot run: node is not installed" >&2
  exit 1
fi
if [ ! -d "$here/node_modules/playwright-core" ]; then
  echo "browser tests cannot run: run 'npm ci' in tests/browser (scripts/install-deps.sh does)" >&2
  exit 1
fi

sites="$(mktemp -d /tmp/galmora-browser-XXXXXX)"
trap 'rm -rf -- "$sites"' EXIT
"$writer" "$sites"
cd "$here"
GALMORA_SITES="$sites" node --test --test-concurrency=1 ./*.test.mjs
