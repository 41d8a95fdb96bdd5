# Shared start of the end-to-end scripts, sourced by each *_test.sh:
#   . "$(dirname "$0")/lib.sh"; e2e_start "$@"
# Sets PLAY, CLOSE, BUILD (the script's three arguments), GAME, TOOL, CONVERT,
# COMPARE and SKIP; ends the script with SKIP (77) where the tools or Xvfb are
# missing; makes and enters the working folder WORK (removed at the end; with
# SQ_E2E_KEEP=FOLDER its screenshots are kept there first); FAILS counts fail.

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

fail() {
  echo "FAIL: $*"
  FAILS=$((FAILS + 1))
}
