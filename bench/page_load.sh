#!/usr/bin/env bash
# The page's load (bench/page_load.mjs) against the web build, served here:
# the loading picture and the splash on this machine's line and on "Fast 3G".
# Needs the web build (make web) and the browser tests' puppeteer-core (make
# web-test installs it); says so and skips otherwise.
# Usage: page_load.sh BUILD_DIR [WEB_DIR]
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:?usage: page_load.sh BUILD_DIR [WEB_DIR]}" && pwd)
WEB=${2:-$BUILD/web}
MODULES=$BUILD/web-test
[ -f "$WEB/index.html" ] || { echo "page load: skipped, no web build in $WEB (make web)"; exit 0; }
[ -f "$MODULES/node_modules/puppeteer-core/package.json" ] && [ -x /usr/bin/chromium ] ||
  { echo "page load: skipped, no puppeteer-core or Chromium (make web-test installs them)"; exit 0; }
WORK=$(mktemp -d)
SERVER=""
trap '[ -n "$SERVER" ] && kill "$SERVER" 2>/dev/null; rm -rf "$WORK"' EXIT
PORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
WEB_SERVE_QUIET=1 python3 "$ROOT/scripts/web/serve.py" --port "$PORT" --dir "$WEB" >"$WORK/serve.log" 2>&1 &
SERVER=$!
for _ in $(seq 50); do
  grep -q "serving" "$WORK/serve.log" 2>/dev/null && break
  sleep 0.1
done
timeout 300 node "$ROOT/bench/page_load.mjs" "$MODULES" "http://127.0.0.1:$PORT/" "$WORK"
