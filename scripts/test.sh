#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Set GALMORA_SANITIZE=1 for a build with AddressSanitizer and UBSan.
# Set GALMORA_WERROR=1 to make every warning an error, as CI does.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"

bash "$here/scripts/install-deps.sh"

build="$here/build/tests"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${GALMORA_SANITIZE:-0}" = 1 ]; then
  build="$here/build/sanitize"
  options=(-DCMAKE_BUILD_TYPE=Debug -DGALMORA_SANITIZE=ON)
fi
if [ "${GALMORA_WERROR:-0}" = 1 ]; then
  options+=(-DGALMORA_WERROR=ON)
else
  options+=(-DGALMORA_WERROR=OFF)
fi
cmake -S "$here" -B "$build" -G Ninja "${options[@]}"
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
