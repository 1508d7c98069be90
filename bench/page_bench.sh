#!/usr/bin/env bash
# Writes a library into a temporary folder with a site writer and measures
# its pages in headless Chromium with bench/<name>.mjs. Prints figures;
# never fails on them.
#
#   bash bench/page_bench.sh large_page [<writer>]      the 97,901-picture page
#       (writer: bench_large_page_site; target run_large_page_bench)
#   bash bench/page_bench.sh thumbnail_page [<writer>]  200 photos with and without
#       thumbnails, and 200 of a camera's size with thumbnails and with display
#       copies, over a throttled local web server
#       (writer: the browser tests' site_writer --camera-photos; target
#       run_thumbnail_page_bench)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
name="${1:?which page: large_page or thumbnail_page}"
writer_options=()
case "$name" in
  large_page) default_writer="$here/../build/tests/bench/bench_large_page_site" ;;
  thumbnail_page)
    default_writer="$here/../build/tests/tests/browser/site_writer"
    writer_options=(--camera-photos)
    ;;
  *) echo "no page benchmark $name" >&2; exit 2 ;;
esac
writer="${2:-$default_writer}"

if [ ! -x /usr/bin/chromium ] || ! command -v node >/dev/null 2>&1 ||
   [ ! -d "$here/../tests/browser/node_modules/playwright-core" ]; then
  echo "needs /usr/bin/chromium, node and tests/browser/node_modules (scripts/install-deps.sh)" >&2
  exit 1
fi

site="$(mktemp -d /tmp/galmora-bench-XXXXXX)"
trap 'rm -rf -- "$site"' EXIT
"$writer" "$site" "${writer_options[@]}"
node "$here/$name.mjs" "$site/site.json"
