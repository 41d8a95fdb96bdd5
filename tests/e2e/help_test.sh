#!/usr/bin/env bash
# End-to-end: the help in a real window, and what the game remembers between
# two starts. First start: the "H: help" prompt on the player list, the help
# there, on the map selection and on the play screen (each closed again with
# Escape, the screen as it was); a new player and the second of two packs.
# Second start: the cursor on that player and on that pack, no prompt any more.
# Usage: help_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"

for PACK in first second; do
  {
    printf 'MAPT\r\nWI20\r\nHE12\r\nMNA %s map\r\nAUTester\r\n' "$PACK"
    printf 'MP####################\r\n'
    printf 'MP#*.$@&0<>=%%!.....#\r\n'
    for _ in 1 2 3 4 5 6 7 8 9; do printf 'MP#..................#\r\n'; done
    printf 'MP####################\r\nXX\r\n'
  } > map.mpt
  "$TOOL" pack build "$PACK.sq" --name "The $PACK pack" --author "E2E Bench" map.mpt map.mpt map.mpt map.mpt >/dev/null ||
    { echo "FAIL: cannot build the packs"; exit 1; }
done
rm -f map.mpt
"$TOOL" registry set-state Starquarry.vmu first.sq bob 1 0 >/dev/null || { echo "FAIL: cannot prepare the registry"; exit 1; }

cat > scene.sh <<'SCENE'
set -u
. "$SCENE_LIB"
# Mean red minus mean blue of a box: the list cursor's pulse is reddish.
reddish() { "$CONVERT" "$1" -crop "$2" +repage -format '%[fx:int(255*(mean.r-mean.b))]' info:; }
same() { "$CONVERT" "$1" -crop "$3" +repage a.png && "$CONVERT" "$2" -crop "$3" +repage b.png &&
  "$COMPARE" -metric AE a.png b.png null: 2>&1 | cut -d" " -f1; }

# A game that ends before its window shows was turned away: started again.
start() {
  local _
  for _ in 1 2 3 4 5; do
    "$GAME" -mainlog "$PWD/game$1.log" &
    P=$!
    for _ in $(seq 1 100); do
      xdo search --name "^Starquarry V" >/dev/null && break
      kill -0 $P 2>/dev/null || break
      sleep 0.1
    done
    kill -0 $P 2>/dev/null && break
  done
  sleep 2
  xdo mousemove 320 240
  press space 1.5
}

leave() {
  press Escape 2
  for _ in 1 2 3 4 5; do kill -0 $P 2>/dev/null || break; press Escape 2; done
  wait $P
  local Rc=$?
  [ "$Rc" = 0 ] || fail "start $1 ended with $Rc"
  echo "exit=$Rc"
}

start 1
shot players.png
[ "$(brightest players.png 200x28+220+452)" -gt 150 ] || fail "no help prompt under the player list"
press h 1
shot players_help.png
[ "$(brightest players_help.png 400x300+120+60)" -gt 150 ] || fail "the help shows nothing"
press Escape 1
shot players_back.png
# All but the cursor's row, whose colour pulses.
[ "$(same players.png players_back.png 640x90+0+0)" = 0 ] && [ "$(same players.png players_back.png 640x320+0+130)" = 0 ] ||
  fail "the player list is not as it was after the help"
[ "$(brightest players_back.png 200x28+220+452)" -lt 40 ] || fail "the prompt stays after the help was opened"

# A new player, ada, after bob; then the second pack.
press Down
press Return 1
for K in a d a; do press "$K" 0.3; done
press Return 1
shot players2.png
[ "$(reddish players2.png 520x40+60+130)" -gt 20 ] || fail "the new player is not under the cursor"
press Return 1
press Down
press Return 2
shot select.png
press h 1
shot select_help.png
press Escape 1
shot select_back.png
[ "$(same select.png select_back.png 640x180+0+0)" = 0 ] && [ "$(same select.png select_back.png 640x260+0+220)" = 0 ] ||
  fail "the map selection is not as it was after the help"
press Return 2
press h 1
shot play_help.png
press Escape 1
shot play_back.png
[ "$(brightest play_back.png 640x384+0+48)" -gt 100 ] || fail "the map is gone after the help"
press F10 2
leave 1
test -s Starquarry.state || fail "nothing remembered"
cat Starquarry.state

start 2
shot players3.png
[ "$(reddish players3.png 520x40+60+130)" -gt 20 ] || fail "the cursor does not start on the last player"
[ "$(brightest players3.png 200x28+220+452)" -lt 40 ] || fail "the prompt shows for a player who has opened the help"
press Return 1
shot packs.png
[ "$(reddish packs.png 520x40+60+130)" -gt 20 ] || fail "the cursor does not start on the last pack"
press Escape 1
leave 2
SCENE

e2e_scene "the game should end with 0 twice"
if [ "$FAILS" -gt 0 ]; then
  echo "$FAILS check(s) failed"
  exit 1
fi
echo "the help checks passed"
