#!/usr/bin/env bash
# End-to-end: the whole journey in a real window, in a fresh working folder
# with a small pack and no player file. Splash, a new player, the pack, the
# map selection and its progress in the registry, one map played to its end,
# the options screen over the dimmed map selection, and the volumes written
# at the end.
# Usage: journey_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"

# Five maps; in each the elf stands beside an exit that is open from the
# start (no diamonds), so holding Right completes it.
MAPS=()
for N in 1 2 3 4 5; do
  {
    printf 'MAPT\r\nWI20\r\nHE12\r\nMNStep %s\r\nAUTester %s\r\n' "$N" "$N"
    printf 'MP####################\r\n'
    printf 'MP#*!...............#\r\n'
    for _ in 1 2 3 4 5 6 7 8 9; do printf 'MP#..................#\r\n'; done
    printf 'MP####################\r\nXX\r\n'
  } > "step$N.mpt"
  MAPS+=("step$N.mpt")
done
"$TOOL" pack build journey.sq --name "Journey Pack" --author "E2E Bench" "${MAPS[@]}" >/dev/null ||
  { echo "FAIL: cannot build the pack"; exit 1; }
rm -f ./*.mpt

# The scene, run inside Xvfb. Each check prints a FAIL line; screenshots stay
# in the working folder. Keys go down, stay a few frames, come up.
cat > scene.sh <<'SCENE'
set -u
. "$SCENE_LIB"
pixel() { "$CONVERT" "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
same() { "$CONVERT" "$1" -crop "$3" +repage a.png && "$CONVERT" "$2" -crop "$3" +repage b.png &&
  "$COMPARE" -metric AE a.png b.png null: 2>/dev/null; }
states() { for M in "$@"; do "$TOOL" registry get-state Starquarry.vmu journey.sq wren "$M"; done | tr '\n' ' '; }

"$GAME" -mainlog "$PWD/game.log" &
P=$!
xdotool search --sync --name "^Starquarry V" >/dev/null
sleep 2
press space 1.5

shot players.png
[ "$(brightest players.png 520x40+60+90)" -gt 150 ] || fail "select player shows no row"
[ "$(brightest players.png 520x40+60+130)" -lt 40 ] || fail "select player shows more than the new-player row"
[ "$(brightest players.png 400x40+120+25)" -gt 150 ] || fail "no title over the players"

press Return 1
for K in w r e n; do press "$K" 0.3; done
shot name.png
[ "$(brightest name.png 640x30+0+240)" -gt 150 ] || fail "the typed name is not shown"
press Return 1

shot players2.png
[ "$(brightest players2.png 520x40+60+130)" -gt 150 ] || fail "the new player is not listed"
"$TOOL" registry dump Starquarry.vmu | grep -q '^player [0-9]* wren$' || fail "the registry does not hold the player"

press Return 1
shot packs.png
[ "$(brightest packs.png 520x40+60+90)" -gt 150 ] || fail "the pack is not listed"
press Return 2

shot maps.png
[ "$(states 0 1 2 3)" = "1 1 1 0 " ] || fail "states after the first map selection: $(states 0 1 2 3)"
# Open maps are yellow, locked ones red.
[ "$(brightest maps.png 520x40+60+220)" -gt 150 ] || fail "map 2 is not shown"

press Return 1.5
shot play.png
[ "$(pixel play.png 10 432)" = "255,255,255" ] || fail "the play screen is not shown"
xdotool keydown Right
sleep 1.5
xdotool keyup Right
shot completed.png
[ "$(brightest completed.png 300x30+170+220)" -gt 150 ] || fail "no Map Completed!"
press space 2

shot back.png
[ "$(states 0 1 2 3 4)" = "2 1 1 1 0 " ] || fail "states after completing map 1: $(states 0 1 2 3 4)"
[ "$(brightest back.png 520x40+60+180)" -gt 150 ] || fail "not back at the map selection"

press F12 1.5
shot options.png
# The screen behind is shown at half brightness, the box in its grey frame.
DIM=$(brightest options.png 640x120+0+40)
{ [ "$DIM" -gt 90 ] && [ "$DIM" -lt 150 ]; } || fail "the screen behind the options is not dimmed ($DIM)"
[ "$(pixel options.png 60 240)" = "112,112,112" ] || fail "no options frame: $(pixel options.png 60 240)"
press Down
press Left
press Left
press Left
shot volume.png
press Escape 1.5
shot restored.png
same back.png restored.png 640x175+0+0 || fail "the header is not restored exactly after the options"
same back.png restored.png 640x60+0+420 || fail "the author line is not restored exactly after the options"

press Escape 2
# A press lost on a busy machine is sent again.
for _ in 1 2 3 4 5; do kill -0 $P 2>/dev/null || break; press Escape 2; done
wait $P
echo "exit=$?"
SCENE

e2e_scene "Escape should end the game with 0"

# Music 0.7 and effects 1.0, little-endian single-precision floats.
CFG=$(od -An -tx1 Starquarry.cfg 2>/dev/null | tr -s ' \n' ' ')
[ "$CFG" = " 33 33 33 3f 00 00 80 3f " ] || { echo "FAIL: Starquarry.cfg holds:$CFG"; FAILS=$((FAILS + 1)); }

if [ "$FAILS" -gt 0 ]; then
  echo "$FAILS check(s) failed"
  exit 1
fi
echo "the journey passed"
