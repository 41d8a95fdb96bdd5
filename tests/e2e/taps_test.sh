#!/usr/bin/env bash
# End-to-end: quick taps of the arrow keys, each over long before the next
# step of play, move the elf once each. The elf eats its way through a field
# of grass, so the eaten cells on the screenshot count its moves.
# Usage: taps_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"

printf 'Starquarry level pack\r\nTaps\r\nTests\r\n' > info
{
  printf 'MAPT\r\nWI20\r\nHE12\r\nMNTaps\r\n'
  printf 'MP####################\r\n'
  printf 'MP#*.................#\r\n'
  for _ in 1 2 3 4 5 6 7 8 9; do printf 'MP#..................#\r\n'; done
  printf 'MP####################\r\nXX\r\n'
} > taps.mpt
"$TOOL" archive create taps.sq info --as 001.mpp taps.mpt >/dev/null || { echo "FAIL: cannot build the pack"; exit 1; }
CODE=$("$TOOL" testcode 0)

# 34 taps of 30 ms, one every 250 ms: 17 right, 9 down, 8 left, from (1, 1)
# to (10, 10). A step comes every 7 frames, so most taps fall between steps.
cat > scene.sh <<'SCENE'
. "$SCENE_LIB"
scene_start_game 320 240 -testmap "$CODE" taps.sq -mainlog "$PWD/taps.log"
sleep 1.5
tap() { xdo keydown "$1" sleep 0.03 keyup "$1"; sleep 0.22; }
for _ in $(seq 17); do tap Right; done
for _ in $(seq 9); do tap Down; done
for _ in $(seq 8); do tap Left; done
sleep 0.5
import -window root taps.png
xdo keydown F10 sleep 0.1 keyup F10
for _ in 1 2 3 4 5; do
  sleep 1
  kill -0 $P 2>/dev/null || break
  xdo keydown F10 sleep 0.1 keyup F10
done
wait $P
echo "exit=$?"
SCENE
export CODE
e2e_scene "F10 should end the test map with 0"

if [ -f taps.png ]; then
  # One averaged pixel per cell of the playfield, as "X Y R G B": an eaten
  # cell is black.
  CELLS=$("$CONVERT" taps.png -crop 640x384+0+48 +repage -scale '20x12!' -depth 8 txt:- |
    sed -n 's/^\([0-9]*\),\([0-9]*\): *( *\([0-9]*\), *\([0-9]*\), *\([0-9]*\)).*/\1 \2 \3 \4 \5/p')
  EATEN=$(echo "$CELLS" | awk '$3 + $4 + $5 < 10' | wc -l)
  [ "$EATEN" -eq 34 ] || fail "34 taps made $EATEN moves"
  echo "$CELLS" | awk '$1 == 10 && $2 == 10 && $3 + $4 + $5 >= 10' | grep -q . ||
    fail "the elf is not where the taps led it"
else
  fail "no screenshot"
fi

if [ "$FAILS" -gt 0 ]; then
  mkdir -p "$3/e2e_taps" && cp ./*.png "$3/e2e_taps/" 2>/dev/null
  echo "$FAILS check(s) failed (screenshots in $3/e2e_taps)"
  exit 1
fi
echo "all tap checks passed"
