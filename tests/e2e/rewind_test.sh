#!/usr/bin/env bash
# End-to-end: holding Backspace runs the world back to the map's start; the
# screen then shows what it showed before the elf moved.
# Usage: rewind_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"

# One map: a grass field, a diamond three cells right of the elf, another
# one far below and the exit.
printf 'Starquarry level pack\r\nRewind\r\nTests\r\n' > info
{
  printf 'MAPT\r\nWI20\r\nHE12\r\nMNBack\r\n'
  printf 'MP####################\r\n'
  printf 'MP#*..$.............!#\r\n'
  for _ in 1 2 3 4 5 6 7 8; do printf 'MP#..................#\r\n'; done
  printf 'MP#$.................#\r\n'
  printf 'MP####################\r\nXX\r\n'
} > back.mpt
"$TOOL" archive create rewind.sq info --as 001.mpp back.mpt >/dev/null || { echo "FAIL: cannot build the pack"; exit 1; }
CODE=$("$TOOL" testcode 0)

# Held for a little more than one step (a step every seven frames).
press() { echo "xdotool keydown $1; sleep 0.15; xdotool keyup $1; sleep 0.1;"; }
OUT=$(SDL_AUDIODRIVER=dummy timeout 120 xvfb-run -n "$(e2e_display)" -s "-screen 0 640x480x24" bash -c '
  "$@" &
  P=$!
  W=$(xdotool search --sync --name "^Starquarry V" | head -1)
  sleep 2
  import -window root before.png
  '"$(press Right) $(press Right) $(press Right) $(press Down) $(press Down)"'
  sleep 0.3
  import -window root moved.png
  xdotool keydown BackSpace
  sleep 4
  import -window root rewound.png
  xdotool keyup BackSpace
  sleep 0.3
  '"$(press Down)"'
  sleep 0.3
  import -window root again.png
  xdotool keydown F10; sleep 0.2; xdotool keyup F10
  wait $P
  echo "exit=$?"' run "$GAME" -testmap "$CODE" rewind.sq -mainlog "$WORK/rewind.log")
echo "$OUT" | grep -qx 'exit=0' || fail "F10 should end the run with 0: $OUT"

# The diamonds and the exit are animated: their cells are left out. So is
# the step counter: the idle steps before the first move count there, and
# the rewind goes back to the map's start, step 0.
masked() {
  "$CONVERT" "$1" -fill black -draw 'rectangle 128,80 159,111' -draw 'rectangle 576,80 607,111' \
    -draw 'rectangle 32,368 63,399' -draw 'rectangle 240,455 400,479' "$2"
}
differs() { ! "$COMPARE" -metric AE "$1" "$2" null: 2>/dev/null; }
for S in before moved rewound again; do
  [ -f $S.png ] || { fail "no screenshot $S"; continue; }
  masked $S.png m_$S.png
done
if [ -f m_rewound.png ]; then
  differs m_before.png m_moved.png || fail "the arrow keys did not move the elf"
  "$CONVERT" moved.png -crop 300x28+16+443 +repage c_moved.png
  "$CONVERT" before.png -crop 300x28+16+443 +repage c_before.png
  differs c_before.png c_moved.png || fail "the diamond taken does not show in the counter"
  differs m_before.png m_rewound.png && fail "the rewound screen differs from the one before the moves: \
$("$COMPARE" -metric AE m_before.png m_rewound.png null: 2>&1)"
  differs m_rewound.png m_again.png || fail "play did not go on after the rewind"
fi

# The whole game: a new player completes a map with a rewind on the way;
# the run is kept, its steps show beside the author, and W plays it back.
printf 'Starquarry level pack\r\nRuns\r\nTests\r\n' > info
{
  printf 'MAPT\r\nWI20\r\nHE12\r\nMNCorridor\r\nAUAda\r\n'
  printf 'MP####################\r\n'
  printf 'MP#*.$....!###########\r\n'
  for _ in 1 2 3 4 5 6 7 8 9; do printf 'MP####################\r\n'; done
  printf 'MP####################\r\nXX\r\n'
} > corridor.mpt
mkdir game && "$TOOL" archive create game/runs.sq info --as 001.mpp corridor.mpt >/dev/null ||
  { echo "FAIL: cannot build the second pack"; exit 1; }
cat > scene.sh <<'SCENE'
press() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep "${2:-0.8}"; }
"$GAME" -mainlog "$PWD/game.log" &
P=$!
xdotool search --sync --name "^Starquarry V" >/dev/null
sleep 2
press space 1.5
press Return 1
for K in w r e n; do press "$K" 0.3; done
press Return 1
press Return 1
press Return 2
import -window root select1.png
press Return 1.5
xdotool keydown Right; sleep 0.5; xdotool keyup Right
xdotool keydown BackSpace; sleep 0.3; xdotool keyup BackSpace
xdotool keydown Right; sleep 3; xdotool keyup Right
sleep 1
press space 2
import -window root select2.png
press w 1.5
import -window root watch.png
press x 1.5
import -window root select3.png
press Escape 2
# A press lost on a busy machine is sent again.
for _ in 1 2 3 4 5; do kill -0 $P 2>/dev/null || break; press Escape 2; done
wait $P
echo "exit=$?"
SCENE
cd game || exit 1
OUT=$(GAME="$GAME" SDL_AUDIODRIVER=dummy timeout 120 xvfb-run -n "$(e2e_display)" -s "-screen 0 640x480x24" bash ../scene.sh 2>&1)
echo "$OUT" | grep -qx 'exit=0' || fail "Escape should end the game with 0: $OUT"
if "$TOOL" help replay >/dev/null 2>&1; then
  "$TOOL" replay list Starquarry.runs | grep -Eq '^wren runs.sq 0 steps=[0-9]+$' ||
    fail "no run kept: $("$TOOL" replay list Starquarry.runs 2>&1)"
else
  [ -s Starquarry.runs ] || fail "no run kept"
fi
cp ./*.png .. 2>/dev/null
cd ..
brightest() { "$CONVERT" "$1" -crop "$2" +repage -format '%[fx:int(255*maxima)]' info:; }
for S in select1 select2 watch select3; do [ -f $S.png ] || fail "no screenshot $S"; done
if [ -f select3.png ]; then
  "$CONVERT" select1.png -crop 640x30+0+440 +repage a1.png
  "$CONVERT" select2.png -crop 640x30+0+440 +repage a2.png
  differs a1.png a2.png || fail "the author line does not show the best run"
  [ "$(brightest watch.png 640x28+0+443)" -gt 100 ] || fail "no line about the watched run in the foot strip"
  [ "$(brightest watch.png 32x32+32+80)" -lt 60 ] || fail "the watched run did not move the elf"
  "$CONVERT" select3.png -crop 640x30+0+440 +repage a3.png
  differs a2.png a3.png && fail "a key did not end the watched run"
fi

if [ "$FAILS" -gt 0 ]; then
  mkdir -p "$3/e2e_rewind" && cp ./*.png "$3/e2e_rewind/" 2>/dev/null
  echo "$FAILS check(s) failed (screenshots in $3/e2e_rewind)"
  exit 1
fi
echo "all rewind checks passed"
