#!/usr/bin/env bash
# Installs what is missing, builds Galmora and starts it from its library
# folder (default ~/Galmora, or the folder given as the first argument).
# The library folder lies outside the source and build trees, so no build or
# clean step can ever delete a gallery in it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
library="${1:-$HOME/Galmora}"

bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGALMORA_BUILD_TESTS=OFF
cmake --build "$here/build/release" --target galmora

mkdir -p "$library"
install -m 755 "$here/build/release/shell/qt/galmora" "$library/galmora"
echo "Galmora library folder: $library"
exec "$library/galmora"
