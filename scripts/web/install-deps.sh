#!/usr/bin/env bash
# Installs the Debian packages the browser build and its tests need, beside
# those of the native build (scripts/install-deps.sh). Idempotent.
set -euo pipefail

PACKAGES=(emscripten nodejs chromium dpkg-dev python3 xz-utils bzip2)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

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
