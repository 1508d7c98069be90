#!/usr/bin/env bash
# Writes a demonstration library with site_writer and photographs its main
# page and one sub-gallery page in headless Chromium, for the README:
# docs/main-page.png and docs/sub-gallery.png.
#
#   bash scripts/make-screenshots.sh [build folder]   (default build/dev)
#
# The demonstration pictures are cut from the site's own artwork with
# ImageMagick, so the screenshots show nothing that is not the project's.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build/dev}"
writer="$build/tests/browser/site_writer"
convert=/usr/bin/convert
assets="$here/generator/assets"

work="$(mktemp -d /tmp/galmora-screenshots-XXXXXX)"
trap 'rm -rf -- "$work"' EXIT
pictures="$work/pictures"
mkdir -p "$pictures"

# name, source, crop geometry, hue (100 keeps it), output size
picture() {
  "$convert" "$assets/$2" -crop "$3" +repage -modulate "100,105,$4" -resize "$5^" \
    -gravity center -extent "$5" -quality 88 "$pictures/$1.jpg"
}
picture 01 fm.jpg 1280x720+0+0 100 640x360
picture 02 bgh2560L30.jpg 1100x1440+1460+0 100 360x480
picture 03 fm.jpg 900x720+380+0 70 480x384
picture 04 bgh2560L30.jpg 2560x1440+0+0 130 640x360
picture 05 fm.jpg 520x720+0+0 100 300x416
picture 06 fm.jpg 1280x720+0+0 92 640x360
picture 07 bgh2560L30.jpg 1400x900+1160+0 85 560x360
picture 08 fm.jpg 640x720+640+0 120 360x405
picture 09 bgh2560L30.jpg 1800x1000+0+440 115 576x320
picture 10 fm.jpg 1280x720+0+0 85 640x360

"$writer" "$work/site" "$pictures"
main="$work/site/library/我的图库"

shoot() {
  chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$work/profile" --hide-scrollbars \
    --force-device-scale-factor=1 --virtual-time-budget=4000 --window-size="$3" \
    --screenshot="$2" "file://$1" >/dev/null 2>&1
}
mkdir -p "$here/docs"
shoot "$main/index.html" "$here/docs/main-page.png" 1280,860
shoot "$main/湖光山色/index.html" "$here/docs/sub-gallery.png" 1280,760
echo "wrote docs/main-page.png and docs/sub-gallery.png"
