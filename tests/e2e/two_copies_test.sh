#!/usr/bin/env bash
# End-to-end: one game per player's folder. With a game running, a second
# copy started in the same folder (a double click too many) says why on
# standard error and in its window, ends with 1 on a key and writes nothing;
# sqtool refuses to change the progress meanwhile. The first copy plays on
# and saves its win. A copy killed outright leaves the folder free for the
# next start.
# Usage: two_copies_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"

"$TOOL" registry set-state Starquarry.vmu other.sq alice 1 0 >/dev/null || { echo "FAIL: cannot prepare the registry"; exit 1; }

cat > scene.sh <<'SCENE'
set -u
. "$SCENE_LIB"
# How far red outdoes blue at the reddest pixel of a box WxH+X+Y (0-255).
reddest() { "$CONVERT" "$1" -crop "$2" +repage -fx 'r-b' -format '%[fx:int(255*maxima)]' info:; }
files() { md5sum Starquarry.* 2>/dev/null | grep -v Starquarry.lock; }
# The windows of the game, one id a line.
windows() { xdotool search --name "^Starquarry V" 2>/dev/null; }

# second_copy: starts the game again and waits for a window besides $W (the first game's); B is
# the second copy's process (started again when the X server turned it away).
second_copy() {
  local TRY _
  for TRY in 1 2 3; do
    "$GAME" -mainlog "$PWD/second.log" 2>second.err &
    B=$!
    W2=""
    for _ in $(seq 150); do
      W2=$(windows | grep -vx "$W" | head -1)
      [ -n "$W2" ] && break
      kill -0 $B 2>/dev/null || break
      sleep 0.1
    done
    [ -n "$W2" ] && break
    wait $B
  done
}

scene_start_game 320 240 -mainlog "$PWD/first.log"
FIRST=$P
sleep 2
Before=$(files)

second_copy
[ -n "$W2" ] || { echo "FAIL: the second copy showed no window"; kill $FIRST; exit 1; }
Want="starquarry: the game is already running in $PWD (starquarry $FIRST); this copy ends without saving anything"
[ "$(cat second.err)" = "$Want" ] || fail "the second copy's standard error: $(cat second.err)"
# The window's message, its first line in red where the splash has none.
for _ in $(seq 50); do
  shot refused.png
  [ "$(reddest refused.png 600x26+20+320)" -gt 100 ] && break
  sleep 0.2
done
[ "$(reddest refused.png 600x26+20+320)" -gt 100 ] || fail "no message in the second copy's window"

# The progress cannot be changed from sqtool while a game holds the folder.
Out=$("$TOOL" registry set-state Starquarry.vmu other.sq bob 1 0 2>&1)
[ $? = 1 ] || fail "sqtool changed the progress of a running game"
case "$Out" in
  "sqtool: the game is running in $PWD (starquarry $FIRST) and would write over the change: quit the game first") ;;
  *) fail "sqtool said: $Out" ;;
esac

# A key ends the second copy with 1, its files as they were.
xdo mousemove --window "$W2" 320 240
xdo keydown space
sleep 0.1
xdo keyup space
for _ in $(seq 100); do kill -0 $B 2>/dev/null || break; sleep 0.1; done
wait $B
[ $? = 1 ] || fail "the second copy did not end with 1"
[ "$(files)" = "$Before" ] || fail "the second copy wrote the player's files"

# The first plays on: Space brings its player list.
xdo mousemove --window "$W" 320 240
press space 1.5
shot players.png
[ "$(brightest players.png 520x40+60+90)" -gt 150 ] || fail "the first copy shows no player list"
scene_end_game

# Killed outright, a game leaves the folder free.
scene_start_game 320 240 -mainlog "$PWD/third.log"
sleep 1
kill -9 $P
wait $P 2>/dev/null
scene_start_game 320 240 -mainlog "$PWD/fourth.log" 2>fourth.err
sleep 1
[ ! -s fourth.err ] || fail "the start after a killed game was refused: $(cat fourth.err)"
kill -0 $P 2>/dev/null || fail "the start after a killed game ended"
"$TOOL" registry set-state Starquarry.vmu other.sq bob 1 0 2>/dev/null && fail "sqtool changed the progress under the fourth game"
press space 1.5
scene_end_game
"$TOOL" registry set-state Starquarry.vmu other.sq bob 1 0 || fail "sqtool was refused after the games ended"
SCENE

e2e_scene "the game's last copy did not end with 0"
[ "$FAILS" = 0 ] || exit 1
echo "two copies: the second refused in words and ended with 1, nothing written; a killed game left the folder free"
