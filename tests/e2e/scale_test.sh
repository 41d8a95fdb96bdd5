#!/usr/bin/env bash
# End-to-end: -scale N shows the same picture, every pixel an N x N block.
# The scaled window's screenshot, reduced N times by nearest neighbour, must
# equal the unscaled one, for N = 2 and 3.
# Usage: scale_test.sh PLAY_DIR CLOSE_WINDOW_TOOL
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"

# A still map: nothing falls and nothing animates, and no cell has random
# looks (grass, boulders and diamonds do), so every run shows the same picture.
printf 'Starquarry level pack\r\nE2E\r\nTests\r\n' > info
{
  printf 'MAPT\r\nWI20\r\nHE12\r\nMNStill\r\n'
  printf 'MP####################\r\n'
  printf 'MP#*          %%      #\r\n'
  for _ in 1 2 3 4 5 6 7 8 9; do printf 'MP#  ###  %%%%    ##   #\r\n'; done
  printf 'MP####################\r\nXX\r\n'
} > still.mpt
"$TOOL" archive create e2e.sq info --as 001.mpp still.mpt >/dev/null || { echo "FAIL: cannot build the pack"; exit 1; }
CODE=$("$TOOL" testcode 0)

# Shoots the game's window at scale $1 into shot$1.png and checks its size.
shoot() {
  local N="$1"
  SDL_AUDIODRIVER=dummy timeout 120 xvfb-run -n "$(e2e_display)" -s "-screen 0 2048x1536x24" bash -c '
    "$@" &
    P=$!
    W=$(xdotool search --sync --name "^Starquarry V" | head -1)
    sleep 3
    import -window "$W" "shot'"$N"'.png"
    xdotool windowfocus "$W" 2>/dev/null
    xdotool keydown F10; sleep 0.3; xdotool keyup F10
    wait $P' run "$GAME" -testmap "$CODE" e2e.sq -scale "$N" -mainlog "$WORK/scale$N.log" >/dev/null 2>&1
  [ -f "shot$N.png" ] || { fail "no screenshot at scale $N"; return 1; }
  local Size
  Size=$("$CONVERT" "shot$N.png" -format '%wx%h' info:)
  [ "$Size" = "$((640 * N))x$((480 * N))" ] || { fail "scale $N: window $Size"; return 1; }
}

shoot 1 || exit 1
[ "$("$CONVERT" shot1.png -crop 32x32+32+80 +repage -format '%[fx:int(255*maxima)]' info:)" -gt 50 ] ||
  fail "no elf at its start cell"
for N in 2 3; do
  shoot "$N" || continue
  "$CONVERT" "shot$N.png" -sample 640x480\! "reduced$N.png"
  # The step counter in the foot strip goes on with the time: it is left out.
  "$CONVERT" shot1.png -fill black -draw 'rectangle 220,456 420,479' m_shot1.png
  "$CONVERT" "reduced$N.png" -fill black -draw 'rectangle 220,456 420,479' "m_reduced$N.png"
  DIFF=$("$COMPARE" -metric AE m_shot1.png "m_reduced$N.png" null: 2>&1)
  [ "$DIFF" = "0" ] || fail "scale $N reduced differs from scale 1 in $DIFF pixels"
  # Each block is one colour: the reduction kept every pixel, not a blend.
  "$CONVERT" "reduced$N.png" -scale "$((N * 100))%" "again$N.png"
  DIFF=$("$COMPARE" -metric AE "shot$N.png" "again$N.png" null: 2>&1)
  [ "$DIFF" = "0" ] || fail "scale $N: $DIFF pixels differ within their blocks"
done

if [ "$FAILS" -gt 0 ]; then
  echo "$FAILS check(s) failed"
  exit 1
fi
echo "all scale checks passed"
