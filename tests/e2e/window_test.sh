#!/usr/bin/env bash
# End-to-end: the game in a real window under Xvfb, driven by xdotool and
# looked at through screenshots.
# Usage: window_test.sh PLAY_DIR CLOSE_WINDOW_TOOL
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"

# A pack with one map: the elf walks right into empty space.
printf 'Starquarry level pack\r\nE2E\r\nTests\r\n' > info
{
  printf 'MAPT\r\nWI20\r\nHE12\r\nMNWalk\r\n'
  printf 'MP####################\r\n'
  printf 'MP#*      $        !#\r\n'
  for _ in 1 2 3 4 5 6 7 8 9; do printf 'MP#..................#\r\n'; done
  printf 'MP####################\r\nXX\r\n'
} > walk.mpt
"$TOOL" archive create e2e.sq info --as 001.mpp walk.mpt >/dev/null || { echo "FAIL: cannot build the pack"; exit 1; }
CODE=$("$TOOL" testcode 0)

# Runs the game under Xvfb with SCRIPT, which sees $P (the game's pid) and $W
# (its window), then waits for the game; prints the exit code last. A fresh
# X server that turns xdotool away (seen once on a loaded machine, right
# after the previous server ended) gets one more try.
run() {
  local Out
  Out=$(run_once "$@")
  if echo "$Out" | grep -q 'Failed creating new xdo instance'; then
    sleep 2
    Out=$(run_once "$@")
  fi
  echo "$Out"
}
run_once() {
  local Script="$1"
  shift
  SDL_AUDIODRIVER=dummy timeout 120 xvfb-run -n "$(e2e_display)" -s "-screen 0 640x480x24" bash -c '
    "$@" &
    P=$!
    W=$(xdotool search --sync --name "^Starquarry V" | head -1)
    sleep 2
    '"$Script"'
    wait $P
    echo "exit=$?"' run "$@"
}
press() { echo "xdotool keydown $1; sleep 0.4; xdotool keyup $1;"; }
# The colour of one pixel as R,G,B.
pixel() { "$CONVERT" "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
# The brightest value in a region (0 for black).
brightest() { "$CONVERT" "$1" -crop "$2" +repage -format '%[fx:int(255*maxima)]' info:; }
closing_line() { tail -n 1 "$1" | tr -d '\r' | grep -q '^(..system..) Terminating Application. '; }

# 1. A normal start: the window and its caption, the splash; Space leads on to
# the player list, and Escape there ends the program.
OUT=$(run "
  xdotool getwindowname \$W > name.txt
  xdotool getwindowgeometry \$W > geometry.txt
  import -window root splash.png
  $(press space) sleep 1; $(press Escape)" "$GAME" -mainlog "$WORK/normal.log")
grep -qx 'Starquarry V1.06 Build 0002 (2018.12.17)' name.txt || fail "caption: $(cat name.txt 2>/dev/null)"
grep -q 'Geometry: 640x480' geometry.txt || fail "window size: $(cat geometry.txt 2>/dev/null)"
[ "$(brightest splash.png 640x100+0+0)" -gt 100 ] || fail "the splash shows nothing at the top"
[ "$(brightest splash.png 640x28+0+436)" -gt 100 ] || fail "no Press Space! prompt"
echo "$OUT" | grep -qx 'exit=0' || fail "Space, then Escape, should end the program with 0: $OUT"
closing_line normal.log || fail "the log of a normal run does not end with its closing line"

# 2. A test-map run: the playfield, an arrow key moves the elf, F10 ends it.
OUT=$(run "
  import -window root before.png
  $(press Right)
  sleep 1
  import -window root after.png
  $(press F10)" "$GAME" -testmap "$CODE" e2e.sq -mainlog "$WORK/testmap.log")
echo "$OUT" | grep -qx 'exit=0' || fail "F10 should end a test-map run with 0: $OUT"
[ "$(pixel before.png 10 432)" = "255,255,255" ] || fail "lower border: $(pixel before.png 10 432)"
[ "$(pixel before.png 10 47)" = "255,255,255" ] || fail "upper border: $(pixel before.png 10 47)"
[ "$(pixel before.png 10 44)" = "63,63,63" ] || fail "upper border shading: $(pixel before.png 10 44)"
[ "$(brightest before.png 160x36+240+7)" -gt 100 ] || fail "no title in the head strip"
[ "$(brightest before.png 300x28+16+443)" -gt 100 ] || fail "no diamond counter"
[ "$(brightest before.png 180x28+440+443)" -gt 100 ] || fail "no map number"
[ "$(brightest before.png 32x32+32+80)" -gt 50 ] || fail "no elf at its start cell"
if "$CONVERT" before.png -crop 96x32+32+80 +repage b.png && "$CONVERT" after.png -crop 96x32+32+80 +repage a.png &&
  compare -metric AE b.png a.png null: 2>/dev/null; then
  fail "the arrow key did not move the elf"
fi

# 3. Closing the window: exit code 2 after an orderly shutdown.
# A request sent while the game is still setting up its window may be lost
# on a loaded machine: it is sent again until the game has gone.
OUT=$(run "
  \"$CLOSE\" \$W
  for _ in 1 2 3 4 5 6 7 8 9 10; do sleep 1; kill -0 \$P 2>/dev/null || break; \"$CLOSE\" \$W; done" \
  "$GAME" -testmap "$CODE" e2e.sq -mainlog "$WORK/closed.log")
echo "$OUT" | grep -qx 'exit=2' || fail "closing the window should give 2: $OUT"
closing_line closed.log || fail "the log of a closed window does not end with its closing line"

if [ "$FAILS" -gt 0 ]; then
  echo "$FAILS check(s) failed"
  exit 1
fi
echo "all window checks passed"
