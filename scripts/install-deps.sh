#!/usr/bin/env bash
# Installs every Debian package that building, running and testing need.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev breeze-icon-theme
  ffmpeg libavformat-dev libavcodec-dev libavutil-dev libavfilter-dev
  libswscale-dev libswresample-dev
  libdvdread-dev libmpv-dev libopencore-amrnb-dev
  libgtest-dev libgmock-dev
  dvdauthor lsdvd python3 xvfb xauth fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
