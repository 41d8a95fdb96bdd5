# Shared start of the end-to-end scripts, sourced by each *_test.sh:
#   . "$(dirname "$0")/lib.sh"; e2e_start "$@"
# Sets PLAY, CLOSE, BUILD (the script's three arguments), GAME, TOOL, CONVERT,
# COMPARE, SKIP and SCENE_LIB (exported, for the scenes to source); ends the
# script with SKIP (77) where the tools or Xvfb are missing; makes and enters
# the working folder WORK (removed at the end; with SQ_E2E_KEEP=FOLDER its
# screenshots are kept there first); FAILS counts fail.

e2e_start() {
  PLAY="$1"
  CLOSE="${2:-}"
  BUILD="${3:-}"
  GAME="$PLAY/starquarry"
  TOOL="$PLAY/sqtool"
  # ImageMagick by its own path: another convert earlier on the PATH may alter pixels.
  CONVERT=/usr/bin/convert
  COMPARE=/usr/bin/compare
  SKIP=77
  # What the scenes under Xvfb share (xdo, scene_start_game).
  SCENE_LIB="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/scene_lib.sh"
  export SCENE_LIB
  local T
  for T in xvfb-run xdotool import "$CONVERT" "$COMPARE"; do
    command -v "$T" >/dev/null 2>&1 || { echo "SKIP: $T is not installed"; exit $SKIP; }
  done
  if ! xvfb-run -a true >/dev/null 2>&1; then
    echo "SKIP: Xvfb cannot start here"
    exit $SKIP
  fi
  WORK=$(mktemp -d)
  trap '[ -n "${SQ_E2E_KEEP:-}" ] && cp "$WORK"/*.png "$SQ_E2E_KEEP"/ 2>/dev/null; rm -rf "$WORK"' EXIT
  cd "$WORK" || exit 1
  FAILS=0
}

# A display number of its own for each X server, picked at random among free
# ones: a server started with -a just after another one ended has been seen
# to turn clients away on a loaded machine.
e2e_display() {
  local N=0 _
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    N=$((200 + RANDOM % 700))
    [ -e "/tmp/.X$N-lock" ] || [ -e "/tmp/.X11-unix/X$N" ] || break
  done
  echo "$N"
}

fail() {
  echo "FAIL: $*"
  FAILS=$((FAILS + 1))
}

# Runs ./scene.sh under Xvfb with the game's paths in its environment, shows
# what it printed, counts its FAIL lines into FAILS and fails with $1 unless
# the game ended with 0.
e2e_scene() {
  local Out
  Out=$(GAME="$GAME" TOOL="$TOOL" CONVERT="$CONVERT" COMPARE="$COMPARE" SDL_AUDIODRIVER=dummy \
    timeout 300 xvfb-run -n "$(e2e_display)" -s "-screen 0 640x480x24" bash scene.sh 2>&1)
  echo "$Out"
  FAILS=$(echo "$Out" | grep -c '^FAIL')
  echo "$Out" | grep -qx 'exit=0' || fail "$1"
}
