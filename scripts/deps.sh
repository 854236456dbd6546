#!/usr/bin/env bash
# Installs what building, running and testing Solmar needs on Debian 12 (as root).
# Only packages that are missing are installed, so a ready machine skips apt entirely.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config python3
  qt6-base-dev qt6-qpa-plugins libgl-dev qt6-tools-dev qt6-l10n-tools
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  culmus fonts-dejavu-core
  xvfb xauth xclip xdotool libreoffice-writer-nogui poppler-utils
  librsvg2-bin
  desktop-file-utils appstream lintian dpkg-dev man-db
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}; run this as root (or with sudo)." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
