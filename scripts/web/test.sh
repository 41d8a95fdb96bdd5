#!/usr/bin/env bash
# The browser tests of the web build (make web-test, after make web): serves
# WEB_DIR on 127.0.0.1, drives headless Chromium through tests/web/web_test.mjs,
# and measures the desktop game the same way in the same run for the CPU
# comparison. Prints PASS/FAIL lines, the measurements with their targets,
# and ends with 1 when a check failed. A missed target is reported but fails
# nothing unless SQ_WEB_STRICT=1: timings depend on the machine's load.
# Usage: scripts/web/test.sh [BUILD_DIR [WEB_DIR]]
#   PLAY_SECONDS  seconds of play measured in the browser and on the desktop (60)
#   SQ_WEB_KEEP   a folder that keeps the screenshots and measurements
set -u
cd "$(dirname "$0")/../.."
ROOT=$PWD
BUILD=$(cd "${1:-build}" && pwd)
WEB=${2:-$BUILD/web}
PLAY_SECONDS=${PLAY_SECONDS:-60}
PUPPETEER=puppeteer-core@24.40.0
CHROMIUM=/usr/bin/chromium

# What the browser tests need beyond the desktop build's packages.
need=()
for p in chromium nodejs python3 xvfb xauth xdotool imagemagick; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
# Some nodejs packages carry npm, Debian's does not.
command -v npm >/dev/null 2>&1 || need+=(npm)
if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "web-test: missing packages: ${need[*]} (as root: apt-get install ${need[*]})"
    exit 1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null ||
    { echo "web-test: cannot install ${need[*]}"; exit 1; }
fi
[ -f "$WEB/index.html" ] || { echo "web-test: no web build in $WEB (make web first)"; exit 1; }

# puppeteer-core, pinned, once per build folder; it drives the system's
# Chromium and downloads no browser of its own.
NODE_DIR=$BUILD/web-test
if [ ! -f "$NODE_DIR/node_modules/puppeteer-core/package.json" ] ||
  ! grep -q "\"version\": \"${PUPPETEER#*@}\"" "$NODE_DIR/node_modules/puppeteer-core/package.json"; then
  mkdir -p "$NODE_DIR"
  PUPPETEER_SKIP_DOWNLOAD=1 npm install --prefix "$NODE_DIR" --no-save --no-audit --no-fund --loglevel=error \
    "$PUPPETEER" >/dev/null || { echo "web-test: cannot install $PUPPETEER"; exit 1; }
fi

# The desktop game: the splash reference and the cost of play.
cmake --build "$BUILD" -j "${JOBS:-2}" --target starquarry sqtool sq_levels >/dev/null ||
  { echo "web-test: cannot build the desktop game in $BUILD"; exit 1; }
PLAY=$BUILD/play

WORK=$(mktemp -d)
SERVER=""
cleanup() {
  [ -n "$SERVER" ] && kill "$SERVER" 2>/dev/null && wait "$SERVER" 2>/dev/null
  [ -n "${SQ_WEB_KEEP:-}" ] && mkdir -p "$SQ_WEB_KEEP" && cp "$WORK"/out/*.png "$WORK"/out/*.json "$WORK"/*.png "$SQ_WEB_KEEP"/ 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

# The splash as the desktop draws it at scale 1, two seconds in (before the
# prompt's first red flash); a game the X server turned away is started again.
for _ in 1 2 3; do
  (cd "$WORK" && SDL_AUDIODRIVER=dummy timeout 60 xvfb-run -a -s "-screen 0 640x480x24" bash -c '
    "$1" -nolog -scale 1 &
    P=$!
    W=""
    for _ in $(seq 100); do
      W=$(xdotool search --name "^Starquarry V" 2>/dev/null | head -1)
      [ -n "$W" ] && break
      kill -0 $P 2>/dev/null || exit 0
      sleep 0.1
    done
    sleep 2
    import -window "$W" desktop_splash.png
    kill $P
    wait $P' run "$PLAY/starquarry") >/dev/null 2>&1
  [ -f "$WORK/desktop_splash.png" ] && break
done
[ -f "$WORK/desktop_splash.png" ] || { echo "FAIL splash: no desktop splash to compare with"; exit 1; }
# No colour chunks: the browser must read the pixels as they are.
/usr/bin/convert "$WORK/desktop_splash.png" -strip "PNG24:$WORK/desktop_splash.png"

# Small packs of our own, one to drop on the page, one for its file button.
for P in drop button; do
  "$PLAY/sqtool" pack build "$WORK/web_$P.sq" --name "Web $P" --author "Web Test" \
    levels/quarry_basics/001.map >/dev/null || { echo "web-test: cannot build a pack to add"; exit 1; }
done

# The page's own server on a free port.
PORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 scripts/web/serve.py --port "$PORT" --dir "$WEB" >"$WORK/serve.log" 2>&1 &
SERVER=$!
for _ in $(seq 50); do
  grep -q "serving http://127.0.0.1:$PORT/" "$WORK/serve.log" 2>/dev/null && break
  sleep 0.1
done
grep -q "serving" "$WORK/serve.log" || { echo "web-test: the server did not start:"; cat "$WORK/serve.log"; exit 1; }

STATUS=0
timeout 600 node "$ROOT/tests/web/web_test.mjs" --modules "$NODE_DIR" --url "http://127.0.0.1:$PORT/" \
  --out "$WORK/out" --splash "$WORK/desktop_splash.png" --keys levels/quarry_basics/001.keys \
  --drop "$WORK/web_drop.sq" --pick "$WORK/web_button.sq" --play-seconds "$PLAY_SECONDS" --chromium "$CHROMIUM" || STATUS=1

# The desktop's cost of the same play, measured right after the browser's.
# A run the X server turned away is measured again.
DESK=""
for _ in 1 2 3; do
  DESK=$(bash bench/play_cost.sh "$PLAY" 1 "$PLAY_SECONDS" quarry_basics.sq 0 -scale 1 | tail -n 1)
  case "$DESK" in "play cost ("*) break ;; esac
done
echo "  desktop: $DESK"
BROWSER_CPU=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["browser-cpu"]["value"])' \
  "$WORK/out/measures.json" 2>/dev/null)
DESK_CPU=$(echo "$DESK" | sed -n 's/.*: \([0-9.]*\) s CPU per s of play.*/\1/p')
MISSED=$(grep -c '"met": false' "$WORK/out/measures.json" 2>/dev/null)
if [ -n "$BROWSER_CPU" ] && [ -n "$DESK_CPU" ]; then
  RATIO=$(awk -v b="$BROWSER_CPU" -v d="$DESK_CPU" 'BEGIN { printf "%.2f", (d > 0 ? b / d : 0) }')
  MET=$(awk -v r="$RATIO" 'BEGIN { print (r > 0 && r <= 3) ? "met" : "MISSED" }')
  [ "$MET" = met ] || MISSED=$((MISSED + 1))
  echo "MEASURE cpu-ratio: $RATIO x the desktop (browser $BROWSER_CPU, desktop $DESK_CPU s CPU per s of play; target within 3x: $MET)"
  RENDERER_CPU=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["renderer-cpu"]["value"])' \
    "$WORK/out/measures.json" 2>/dev/null)
  [ -n "$RENDERER_CPU" ] && awk -v r="$RENDERER_CPU" -v d="$DESK_CPU" \
    'BEGIN { printf "  the page'"'"'s renderer alone: %s s CPU per s of play, %.2f x the desktop\n", r, (d > 0 ? r / d : 0) }'
else
  echo "MEASURE cpu-ratio: not measured (browser '${BROWSER_CPU}', desktop '${DESK_CPU}')"
  MISSED=$((MISSED + 1))
fi

if [ "$STATUS" -ne 0 ]; then
  echo "web-test: FAILED"
  exit 1
fi
if [ "${MISSED:-0}" -gt 0 ]; then
  echo "web-test: passed; $MISSED target(s) missed (reported only; SQ_WEB_STRICT=1 fails them)"
  [ "${SQ_WEB_STRICT:-0}" = 1 ] && exit 1
else
  echo "web-test: passed, every target met"
fi
exit 0
