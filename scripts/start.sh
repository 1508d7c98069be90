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

# A desktop entry with the site logo as its icon puts Galmora into the menu.
applications="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
icons="${XDG_DATA_HOME:-$HOME/.local/share}/icons"
mkdir -p "$applications" "$icons"
install -m 644 "$here/generator/assets/logo.png" "$icons/galmora.png"
sed -e "s|@EXEC@|$library/galmora|" -e "s|@LIBRARY@|$library|" -e "s|@ICON@|$icons/galmora.png|" \
  "$here/shell/galmora.desktop.in" > "$applications/galmora.desktop"

echo "Galmora library folder: $library"
exec "$library/galmora"
