#!/usr/bin/env bash
# Installs the Debian packages the browser build and its tests need, beside
# those of the native build. Idempotent.
set -euo pipefail
exec bash "$(dirname "$0")/../install-deps.sh" emscripten nodejs chromium dpkg-dev python3 xz-utils bzip2
