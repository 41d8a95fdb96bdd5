#!/usr/bin/env bash
# End-to-end: a player who has completed every map of a pack chooses the
# closing entry, watches the outro begin, holds Space through it to the
# closing screen, and comes back to the map selection.
# Usage: outro_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"

for N in 1 2; do
  {
    printf 'MAPT\r\nWI20\r\nHE12\r\nMNLast %s\r\nAUTester\r\n' "$N"
    printf 'MP####################\r\n'
    printf 'MP#*!...............#\r\n'
    for _ in 1 2 3 4 5 6 7 8 9; do printf 'MP#..................#\r\n'; done
    printf 'MP####################\r\nXX\r\n'
  } > "last$N.mpt"
done
"$TOOL" pack build finale.sq --name "Finale" --author "E2E Bench" last1.mpt last2.mpt >/dev/null ||
  { echo "FAIL: cannot build the pack"; exit 1; }
rm -f ./*.mpt
# Both maps completed: only the closing entry is left.
for M in 0 1; do
  "$TOOL" registry set-state Starquarry.vmu finale.sq robin 2 "$M" >/dev/null ||
    { echo "FAIL: cannot prepare the registry"; exit 1; }
done

cat > scene.sh <<'SCENE'
set -u
. "$SCENE_LIB"
# How many different colours a region holds.
colours() { "$CONVERT" "$1" -crop "$2" +repage -format '%k' info:; }

"$GAME" -mainlog "$PWD/game.log" &
P=$!
xdotool search --sync --name "^Starquarry V" >/dev/null
sleep 2
press space 1.5
press Return 1
press Return 2

shot maps.png
# The cursor stands on the closing entry, the first one open.
[ "$(brightest maps.png 520x40+60+260)" -gt 150 ] || fail "the closing entry is not shown"
[ "$("$TOOL" registry get-state Starquarry.vmu finale.sq robin 2)" = 1 ] || fail "the closing entry was not opened"

press Return 3
shot scene.png
[ "$(brightest scene.png 640x380+0+50)" -gt 100 ] || fail "the outro hall is not drawn"
[ "$(brightest scene.png 160x36+240+7)" -gt 100 ] || fail "no title over the hall"

# Space held: every wait and animation takes one frame; the closing screen
# stays until Space is pressed again.
xdotool keydown space
sleep 2
shot closing.png
xdotool keyup space
sleep 0.5
[ "$(colours closing.png 400x40+120+175)" -gt 20 ] || fail "no many-coloured Congratulations!"
[ "$(brightest closing.png 400x70+120+235)" -gt 150 ] || fail "no closing lines"
[ "$(brightest closing.png 300x40+170+425)" -gt 150 ] || fail "no Press Space! on the closing screen"
[ "$(brightest closing.png 640x130+0+40)" -lt 20 ] || fail "the closing screen is not on black"
shot still.png
[ "$(brightest still.png 300x40+170+425)" -gt 150 ] || fail "the closing screen did not wait for a new press"

press space 2
shot back.png
[ "$(brightest back.png 120x40+0+45)" -gt 150 ] || fail "not back at the map selection"
[ "$(brightest back.png 520x40+60+260)" -gt 150 ] || fail "the closing entry is not shown after the outro"

press Escape 2
# A press lost on a busy machine is sent again.
for _ in 1 2 3 4 5; do kill -0 $P 2>/dev/null || break; press Escape 2; done
wait $P
echo "exit=$?"
SCENE

e2e_scene "Escape should end the game with 0"
# No map is played here: a missing image can only be one of the outro's.
if grep -q -e 'No outro images' -e 'Image not found' game.log; then
  echo "FAIL: the outro misses images: $(grep -m1 -e 'No outro images' -e 'Image not found' game.log)"
  FAILS=$((FAILS + 1))
fi

if [ "$FAILS" -gt 0 ]; then
  echo "$FAILS check(s) failed"
  exit 1
fi
echo "the outro passed"
