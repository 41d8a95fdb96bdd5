#!/usr/bin/env bash
# End-to-end: deleting a player through the erase question. "No, just
# kidding." keeps the player, "Yes, blow it away!" deletes it, Delete on the
# new-player row does nothing, and Escape at the start ends the game.
# Usage: erase_player_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"

# Two players with some progress in a pack.
for P in alice bob; do
  "$TOOL" registry set-state Starquarry.vmu some.sq "$P" 2 0 >/dev/null ||
    { echo "FAIL: cannot prepare the registry"; exit 1; }
done

cat > scene.sh <<'SCENE'
set -u
. "$SCENE_LIB"
players() { "$TOOL" registry dump Starquarry.vmu | awk '$1 == "player" { print $3 }' | tr '\n' ' '; }
# Rows of the player list that hold text (row r from y = 90 + 40r).
rows() {
  local N=0
  for R in 0 1 2 3; do
    [ "$(brightest "$1" "520x40+60+$((90 + 40 * R))")" -gt 150 ] && N=$((N + 1))
  done
  echo "$N"
}

"$GAME" -mainlog "$PWD/game.log" &
P=$!
xdotool search --sync --name "^Starquarry V" >/dev/null
sleep 2
press space 1.5

shot players.png
[ "$(rows players.png)" = 3 ] || fail "expected two players and the new-player row, saw $(rows players.png) rows"

# bob, Delete, and the question: its title in red, its two rows.
press Down
press Delete 1
shot question.png
[ "$(brightest question.png 400x30+120+178)" -gt 150 ] || fail "no erase question"
[ "$(brightest question.png 520x40+60+220)" -gt 150 ] || fail "no first answer"
[ "$(brightest question.png 520x40+60+260)" -gt 150 ] || fail "no second answer"
[ "$(brightest question.png 520x60+60+90)" -lt 20 ] || fail "the player list still shows behind the question"
press Return 1
[ "$(players)" = "alice bob " ] || fail "No, just kidding. erased a player: $(players)"

# Again, this time choosing the second answer.
press Down
press Delete 1
press Down
press Return 1
[ "$(players)" = "alice " ] || fail "Yes, blow it away! did not erase bob: $(players)"
shot after.png
[ "$(rows after.png)" = 2 ] || fail "expected one player and the new-player row, saw $(rows after.png) rows"

# Delete on the new-player row does nothing.
press Down
press Delete 1
shot newrow.png
[ "$(rows newrow.png)" = 2 ] || fail "Delete on the new-player row left the player list"
[ "$(brightest newrow.png 400x40+120+25)" -gt 150 ] || fail "Delete on the new-player row left the player list"
[ "$(players)" = "alice " ] || fail "Delete on the new-player row changed the players: $(players)"

press Escape 2
# A press lost on a busy machine is sent again.
for _ in 1 2 3 4 5; do kill -0 $P 2>/dev/null || break; press Escape 2; done
wait $P
echo "exit=$?"
SCENE

e2e_scene "Escape on the first screen should end the game with 0"

if [ "$FAILS" -gt 0 ]; then
  echo "$FAILS check(s) failed"
  exit 1
fi
echo "the erase checks passed"
