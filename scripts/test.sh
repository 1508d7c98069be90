#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Set GALMORA_SANITIZE=1 for a build with AddressSanitizer and UBSan, or
# GALMORA_SANITIZE=thread for the tests of the code that runs on several
# threads (core, the generator's thumbnail job, the shell's run of it)
# under ThreadSanitizer.
# Set GALMORA_WERROR=1 to make every warning an error, as CI does.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"

bash "$here/scripts/install-deps.sh"

build="$here/build/tests"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
targets=(all)
skipped='^$'
case "${GALMORA_SANITIZE:-0}" in
  1)
    build="$here/build/sanitize"
    options=(-DCMAKE_BUILD_TYPE=Debug -DGALMORA_SANITIZE=ON)
    ;;
  thread)
    build="$here/build/tsan"
    options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DGALMORA_SANITIZE_THREAD=ON)
    targets=(core_tests generator_tests shell_tests)
    # The suites not built here, and the browser tests, are left out.
    skipped='_NOT_BUILT$|^browser_site$'
    ;;
esac
if [ "${GALMORA_WERROR:-0}" = 1 ]; then
  options+=(-DGALMORA_WERROR=ON)
else
  options+=(-DGALMORA_WERROR=OFF)
fi
cmake -S "$here" -B "$build" -G Ninja "${options[@]}"
cmake --build "$build" --target "${targets[@]}" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" -E "$skipped" --output-on-failure -j "$(nproc)"
