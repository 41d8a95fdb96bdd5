#!/usr/bin/env bash
# End-to-end: the level editor on a new pack. An elf, a diamond and an exit
# are painted with the mouse, the solver proves the map, Ctrl+S saves it;
# sqtool then finds the pack as painted and solves it too.
# Usage: editor_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"

# The brightest value in a region (0 for black).
brightest() { "$CONVERT" "$1" -crop "$2" +repage -format '%[fx:int(255*maxima)]' info:; }

# Palette cells sit 36 pixels apart from x = 8 at y = 442 ("*!$..."); field
# cell (x, y) at pixel (32x, 48 + 32y).
click() { echo "xdotool mousemove $1 $2; sleep 0.1; xdotool click 1; sleep 0.2;"; }
press() { echo "xdotool keydown $1; sleep 0.1; xdotool keyup $1; sleep 0.2;"; }
OUT=$(SDL_AUDIODRIVER=dummy timeout 240 xvfb-run -n "$(e2e_display)" -s "-screen 0 640x480x24" bash -c '
  "$@" &
  P=$!
  W=$(xdotool search --sync --name "^Starquarry V" | head -1)
  sleep 2
  import -window root empty.png
  '"$(click 24 458) $(click 48 96) $(click 96 458) $(click 112 96) $(click 60 458) $(click 176 96)"'
  sleep 0.3
  import -window root painted.png
  '"$(press F6)"'
  # On a busy machine the search takes its time; a key pressed meanwhile would cancel it.
  for I in $(seq 1 240); do grep -q "solved in" editor.log && break; sleep 0.25; done
  sleep 0.3
  import -window root solved.png
  xdotool keydown ctrl; sleep 0.1; xdotool keydown s; sleep 0.1; xdotool keyup s; sleep 0.1; xdotool keyup ctrl
  for I in $(seq 1 40); do grep -q "Saved new.sq" editor.log && break; sleep 0.25; done
  '"$(press Escape)"'
  # A press lost on a busy machine is sent again.
  for I in $(seq 1 5); do sleep 2; kill -0 $P 2>/dev/null || break; '"$(press Escape)"' done
  wait $P
  echo "exit=$?"' run "$GAME" -edit new.sq -mainlog "$WORK/editor.log")
echo "$OUT" | grep -qx 'exit=0' || fail "leaving the editor should end with 0: $OUT"
[ -f new.sq ] || fail "no pack was written"

# The painted cells show their blocks; the rest of the row stays black.
[ "$(brightest empty.png 32x32+32+80)" -eq 0 ] || fail "the new map is not empty"
for X in 32 96 160; do
  [ "$(brightest painted.png 32x32+$X+80)" -gt 50 ] || fail "nothing painted at x=$X"
done
[ "$(brightest painted.png 32x32+64+80)" -eq 0 ] || fail "a cell between was painted"
grep -q "Map 1: solved in [0-9]* steps" editor.log || fail "the solver's answer is not in the log"
[ "$(brightest solved.png 400x18+8+22)" -gt 100 ] || fail "no status line"
grep -q "Saved new.sq" editor.log || fail "the pack was not saved"

CHECK=$("$TOOL" pack check new.sq 2>&1) || fail "sqtool pack check: $CHECK"
echo "$CHECK" | grep -q '^001 ok size=20x12 elves=1 exits=1 diamonds=1' || fail "the map is not as painted: $CHECK"
SOLVE=$("$TOOL" solve new.sq 0 2>&1) || fail "sqtool solve: $SOLVE"

if [ "$FAILS" -gt 0 ]; then
  echo "$FAILS check(s) failed"
  exit 1
fi
echo "all editor checks passed"
