#!/usr/bin/env bash
# End-to-end: P pauses the play screen (the picture dimmed under "Paused")
# and the key that resumes it does not move the elf; F3 on the third map of
# Quarry Basics draws the way from the elf as arrows, and the foot strip
# says so.
# Usage: hint_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"
[ -f "$PLAY/quarry_basics.sq" ] || { echo "SKIP: no Quarry Basics pack"; exit $SKIP; }

cp "$PLAY/quarry_basics.sq" . || exit 1
"$TOOL" registry set-state Starquarry.vmu quarry_basics.sq wren 1 2 >/dev/null || fail "cannot prepare the registry"

cat > scene.sh <<'SCENE'
set -u
. "$SCENE_LIB"
scene_start_game 320 240 -mainlog "$PWD/game.log"
sleep 2
press space 1.5
press Return 1
press Return 2
press Down 0.3
press Down 0.5
press Return 2
import -window root before.png
press p 0.8
import -window root paused.png
press Left 0.8
import -window root resumed.png

press F3 3
import -window root hint.png
press F10 2
import -window root select.png
scene_end_game
SCENE

e2e_scene "Escape should end the game with 0"

mean() { "$CONVERT" "$1" -crop "$2" +repage -format '%[fx:int(255*mean)]' info:; }
brightest() { "$CONVERT" "$1" -crop "$2" +repage -format '%[fx:int(255*maxima)]' info:; }
differs() { ! "$COMPARE" -metric AE "$1" "$2" null: 2>/dev/null; }
for S in before paused resumed hint select; do [ -f $S.png ] || fail "no screenshot $S"; done
if [ -f resumed.png ]; then
  # The field's lower rows (grass and steel, nothing animated there).
  [ "$(mean paused.png 640x64+0+368)" -lt "$(($(mean before.png 640x64+0+368) * 3 / 4))" ] ||
    fail "the paused picture is not dimmed"
  [ "$(brightest paused.png 200x30+220+212)" -gt 200 ] || fail "no \"Paused\" on the paused picture"
  "$CONVERT" before.png -crop 32x32+32+80 +repage elf_before.png
  "$CONVERT" resumed.png -crop 32x32+32+80 +repage elf_resumed.png
  differs elf_before.png elf_resumed.png && fail "the key that resumed moved the elf"
  [ "$(mean resumed.png 640x64+0+368)" -ge "$(mean before.png 640x64+0+368)" ] ||
    fail "the picture stayed dimmed after the pause"
fi
if [ -f hint.png ]; then
  # The way starts beside the elf (cell 1,1): an arrow's colour in a cell next to it.
  Cyan() { "$CONVERT" hint.png -crop "$1" +repage -fuzz 8% -fill white -opaque '#78FFFF' -fill black +opaque white \
    -format '%[fx:int(w*h*mean)]' info:; }
  [ $(($(Cyan 32x32+64+80) + $(Cyan 32x32+32+112))) -gt 40 ] || fail "no arrow beside the elf after F3"
  [ "$(brightest hint.png 300x18+170+459)" -gt 200 ] || fail "the foot strip says nothing of the hint"
fi

if [ "$FAILS" -gt 0 ]; then
  mkdir -p "$3/e2e_hint" && cp ./*.png "$3/e2e_hint/" 2>/dev/null
  echo "$FAILS check(s) failed (screenshots in $3/e2e_hint)"
  exit 1
fi
echo "the pause and the hint show"
