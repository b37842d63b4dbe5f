#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs everything needed to build, run and test Lurns para CD on
# Debian 12: compiler, CMake, Qt 6, libjpeg, libcups, GoogleTest and fonts.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "Run this as root (or install sudo): it installs Debian packages." >&2
    exit 1
  fi
fi

PACKAGES=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
  libjpeg-dev libcups2-dev
  libwmf-dev libexpat1-dev libfreetype-dev libx11-dev libpng-dev zlib1g-dev fonts-urw-base35
  libtag1-dev
  libgtest-dev libgmock-dev poppler-utils
  flac vorbis-tools opus-tools lame
  fonts-liberation2 fonts-dejavu-core fonts-wine
  xauth xvfb
  dpkg-dev file scdoc lintian
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
