#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the installer need, only those
# that are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ binutils pkg-config clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 python3-pefile
  p7zip-full 7zip
  libsdl2-dev
  libcairo2-dev
  libpango1.0-dev
  libjpeg-dev
  fonts-liberation2
  fp-compiler fp-units-rtl
  xvfb xauth xdotool x11-utils
  # X core fonts: SDL draws its message boxes with them.
  xfonts-base
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
