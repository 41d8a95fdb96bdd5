#!/usr/bin/env bash
# End-to-end: full screen on a 1920 x 1080 screen shows the picture at scale
# 2, centred on black; so does Alt+Return from a window whose -scale did not
# fit the screen (it opened at the largest scale that fits, and said so).
# Usage: fullscreen_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"

# A still map: nothing falls or animates and no cell has random looks.
printf 'Starquarry level pack\r\nE2E\r\nTests\r\n' > info
{
  printf 'MAPT\r\nWI20\r\nHE12\r\nMNStill\r\n'
  printf 'MP####################\r\n'
  printf 'MP#*          %%      #\r\n'
  for _ in 1 2 3 4 5 6 7 8 9; do printf 'MP#  ###  %%%%    ##   #\r\n'; done
  printf 'MP####################\r\nXX\r\n'
} > still.mpt
"$TOOL" archive create e2e.sq info --as 001.mpp still.mpt >/dev/null || { echo "FAIL: cannot build the pack"; exit 1; }
export CODE
CODE=$("$TOOL" testcode 0)

cat > scene.sh <<'SCENE'
. "$SCENE_LIB"
# Starts the game with "$@" until its window shows; W is the window.
start() { scene_start_game 20 20 -testmap "$CODE" e2e.sq "$@"; }
finish() {
  local Code
  for _ in 1 2 3 4 5; do
    xdo keydown F10 sleep 0.1 keyup F10
    sleep 1
    kill -0 $P 2>/dev/null || break
  done
  wait $P
  Code=$?
  [ "$Code" = 0 ] || echo "FAIL: the game ended with $Code"
}

start -mainlog "$PWD/window.log"
sleep 2
import -window "$W" window.png
finish

start FullScreen -mainlog "$PWD/full.log"
sleep 2
import -window root full.png
finish

start -scale 3 -mainlog "$PWD/scaled.log"
sleep 2
import -window "$W" scaled.png
xdo keydown alt sleep 0.05 keydown Return sleep 0.1 keyup Return sleep 0.05 keyup alt
sleep 1.5
import -window root toggled.png
finish
SCENE
OUT=$(GAME="$GAME" TOOL="$TOOL" SDL_AUDIODRIVER=dummy timeout 300 \
  xvfb-run -n "$(e2e_display)" -s "-screen 0 1920x1080x24" bash scene.sh 2>&1)
echo "$OUT"
FAILS=$(echo "$OUT" | grep -c '^FAIL')

brightest() { "$CONVERT" "$1" -crop "$2" +repage -format '%[fx:int(255*maxima)]' info:; }
size() { "$CONVERT" "$1" -format '%wx%h' info:; }
# The full screen: 1920 x 1080, black outside the picture at (320, 60), and
# the picture the window showed, each pixel a 2 x 2 block.
fullscreen_shows() {
  local Shot="$1"
  [ -f "$Shot" ] || { fail "no screenshot $Shot"; return; }
  [ "$(size "$Shot")" = 1920x1080 ] || { fail "$Shot: $(size "$Shot"), not the whole screen"; return; }
  for Border in 320x1080+0+0 320x1080+1600+0 1920x60+0+0 1920x60+0+1020; do
    [ "$(brightest "$Shot" $Border)" -eq 0 ] || fail "$Shot: the border $Border is not black"
  done
  # The step counter in the foot strip goes on with the time: it is left out.
  "$CONVERT" "$Shot" -crop 1280x960+320+60 +repage -sample '640x480!' -fill black \
    -draw 'rectangle 220,456 420,479' "r_$Shot"
  local Diff
  Diff=$("$COMPARE" -metric AE m_window.png "r_$Shot" null: 2>&1)
  [ "$Diff" = 0 ] || fail "$Shot: the picture at scale 2 differs from the window's in $Diff pixels"
}
if [ -f window.png ] && [ "$(size window.png)" = 640x480 ]; then
  "$CONVERT" window.png -fill black -draw 'rectangle 220,456 420,479' m_window.png
  fullscreen_shows full.png
  fullscreen_shows toggled.png
else
  fail "no 640 x 480 window to compare with"
fi
[ -f scaled.png ] && { [ "$(size scaled.png)" = 1280x960 ] || fail "-scale 3 opened $(size scaled.png)"; }
grep -q "Scale 3 does not fit the desktop (1920x1080): the window opens at scale 2" scaled.log ||
  fail "no warning that scale 3 does not fit"

if [ "$FAILS" -gt 0 ]; then
  mkdir -p "$3/e2e_fullscreen" && cp ./*.png "$3/e2e_fullscreen/" 2>/dev/null
  echo "$FAILS check(s) failed (screenshots in $3/e2e_fullscreen)"
  exit 1
fi
echo "all full-screen checks passed"
