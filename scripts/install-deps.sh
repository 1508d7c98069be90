#!/usr/bin/env bash
# Installs the Debian packages Galmora needs to build, run and test, but only
# when one of them is missing. Uses sudo unless run as root.
set -euo pipefail

# Libraries and data, checked by package name.
packages=(
  pkg-config qt6-base-dev libgl-dev libcurl4-openssl-dev libgtest-dev
  fonts-wqy-microhei qt6-translations-l10n qt6-image-formats-plugins
  libheif-dev libheif-examples
)
# Tools, checked by command, so that one already installed from elsewhere
# (a Node.js that brings its own npm, say) is used as it is.
declare -A tools=(
  [g++]=g++ [cmake]=cmake [ninja]=ninja-build [chromium]=chromium [node]=nodejs [npm]=npm
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
for command in "${!tools[@]}"; do
  command -v "$command" >/dev/null 2>&1 || missing+=("${tools[$command]}")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The browser tests drive Debian's chromium with playwright-core from npm.
here="$(cd "$(dirname "$0")/.." && pwd)"
if [ -f "$here/tests/browser/package-lock.json" ] && [ ! -d "$here/tests/browser/node_modules/playwright-core" ]; then
  (cd "$here/tests/browser" && npm ci --no-audit --no-fund --loglevel=error)
fi
