#!/usr/bin/env bash
# End-to-end: what the keyboard types is what the game takes. A new player's
# name with shifted characters is stored as typed and shown whole; in the
# level editor the tile characters typed on a row paint their tiles.
# Usage: typing_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"

printf 'Starquarry level pack\r\nTyping\r\nTests\r\n' > info
{
  printf 'MAPT\r\nWI20\r\nHE12\r\nMNOne\r\n'
  printf 'MP####################\r\n'
  printf 'MP#*.$............!.#\r\n'
  for _ in 1 2 3 4 5 6 7 8 9; do printf 'MP#..................#\r\n'; done
  printf 'MP####################\r\nXX\r\n'
} > one.mpt
"$TOOL" archive create typing.sq info --as 001.mpp one.mpt >/dev/null || { echo "FAIL: cannot build the pack"; exit 1; }
rm -f info one.mpt

cat > scene.sh <<'SCENE'
. "$SCENE_LIB"
press() { xdo keydown "$1" sleep 0.1 keyup "$1"; sleep "${2:-0.8}"; }
# Starts the game with "$@" until its window shows; W is the window.
start() { scene_start_game 320 240 "$@"; }
finish() {
  for _ in 1 2 3 4 5; do
    sleep 1.5
    kill -0 $P 2>/dev/null || break
    press Escape 0.5
  done
  wait $P
  local Code=$?
  if [ "$1" = last ]; then echo "exit=$Code"; else [ $Code = 0 ] || echo "FAIL: the game ended with $Code"; fi
}

start -mainlog "$PWD/game.log"
sleep 2
press space 1.5
press Return 1
xdo type --delay 120 'Ada_s Test! $5'
sleep 0.5
import -window root name.png
press Return 1.5
import -window root players.png
press Escape 1
finish first

start -edit new.sq -mainlog "$PWD/editor.log"
sleep 2
# From the field's first cell on: a row of a map as text.
xdo type --delay 120 '*$!@#%&<>=0.-'
sleep 0.5
import -window root editor.png
xdo keydown ctrl sleep 0.1 keydown s sleep 0.1 keyup s sleep 0.1 keyup ctrl
for _ in $(seq 1 40); do grep -q "Saved new.sq" editor.log && break; sleep 0.25; done
press Escape 1
finish last
SCENE
e2e_scene "the game and the editor should end with 0"

"$TOOL" registry dump Starquarry.vmu | grep -qx 'player [0-9]* Ada_s Test! \$5' ||
  fail "the name is not stored as typed: $("$TOOL" registry dump Starquarry.vmu 2>&1 | grep '^player')"
for S in name players editor; do [ -f $S.png ] || fail "no screenshot $S"; done

# The first row of the saved map holds the typed tiles, then empty cells.
if "$TOOL" archive extract new.sq 001.mpp map.mpb >/dev/null && "$TOOL" map convert map.mpb map.mpt T >/dev/null; then
  ROW=$(tr -d '\r' < map.mpt | grep '^MP' | head -1)
  echo "$ROW" | grep -qx 'MP\*\$!@#%&<>=0\. *' || fail "the typed row is '$ROW'"
else
  fail "the editor saved no readable map"
fi

if [ "$FAILS" -gt 0 ]; then
  mkdir -p "$3/e2e_typing" && cp ./*.png "$3/e2e_typing/" 2>/dev/null
  echo "$FAILS check(s) failed (screenshots in $3/e2e_typing)"
  exit 1
fi
echo "all typing checks passed"
