#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, or
# the packages named on its command line instead.
# Idempotent: asks apt only when something is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  libsdl1.2-dev zlib1g-dev libmpg123-dev libopenmpt-dev libmp3lame-dev
  libfreetype-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth xdotool imagemagick
  desktop-file-utils dpkg-dev
)

[ $# -gt 0 ] && PACKAGES=("$@")

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

cmd="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}"
  echo "Run as root: apt-get update && $cmd"
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update
$cmd
