#!/usr/bin/env bash
# End-to-end: the hint on the third map of Quarry Basics, followed arrow by
# arrow in a real window, leads the elf out of the map, and the map selection
# then shows the hint mark after the map's name.
# Reading an arrow off the screen takes longer than a step, so the world is
# paused for each reading: the key that resumes, the arrow's tap and P go in
# one xdotool call, P a little after the step the tap is for. The world holds
# a whole step after a resume, and a tap made before P still counts, so a P
# that comes early only repeats the round. One that comes a step late lets
# the world leave the way: the way is then asked for again from there (and
# the map started again should that elf be lost).
# Usage: hint_follow_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"
[ -f "$PLAY/quarry_basics.sq" ] || { echo "SKIP: no Quarry Basics pack"; exit $SKIP; }
cp "$PLAY/quarry_basics.sq" . || exit 1
"$TOOL" registry set-state Starquarry.vmu quarry_basics.sq wren 1 2 >/dev/null || fail "cannot prepare the registry"

cat > scene.sh <<'SCENE'
set -u
. "$SCENE_LIB"
# Masks of the bands of a field cell the marks are told apart by, tiled over
# the field: the wide end of an arrow is its head; only the ring around the
# elf reaches the cell's edge.
band() {
  "$CONVERT" -size 32x32 xc:black -fill white -draw "rectangle $2" -write mpr:b +delete \
    -size 640x384 tile:mpr:b "$1"
}
band right.png "19,0 22,31"
band left.png "9,0 12,31"
band lower.png "0,19 31,22"
band upper.png "0,9 31,12"
band edge.png "1,8 3,23"
# The marks on the paused field (the pause dims their cyan to one colour),
# one line per marked cell: X Y and R, L, D, U, or O for the ring (wait).
marks() {
  "$CONVERT" "$1" -crop 640x384+0+48 +repage -fuzz 3% -fill white -opaque '#439090' -fill black +opaque white \
    -colorspace gray -write mpr:m +delete \
    \( mpr:m right.png -compose multiply -composite -scale '20x12!' \) \
    \( mpr:m left.png -compose multiply -composite -scale '20x12!' \) \
    \( mpr:m lower.png -compose multiply -composite -scale '20x12!' \) \
    \( mpr:m upper.png -compose multiply -composite -scale '20x12!' \) \
    \( mpr:m edge.png -compose multiply -composite -scale '20x12!' \) \
    \( mpr:m -scale '20x12!' \) +append -depth 16 txt:- |
    awk -F'[,:() ]+' 'NR > 1 { v[int($1 / 20), $1 % 20, $2] = int($3 * 1024 / 65535 + 0.5) }
      END {
        for (y = 0; y < 12; y++)
          for (x = 0; x < 20; x++) {
            if (v[5, x, y] < 40) continue
            h = v[0, x, y] - v[1, x, y]; w = v[2, x, y] - v[3, x, y]; m = "?"
            if (v[4, x, y] > 20) m = "O"
            else if (h > 10) m = "R"
            else if (h < -10) m = "L"
            else if (w > 10) m = "D"
            else if (w < -10) m = "U"
            print x, y, m
          }
      }'
}
# The next key of the way for the elf at cell $1 $2: "wait" for the ring on
# it, else the arrow beside it that points away from it (or the one arrow
# beside it, when the pause's texts hide its shape); nothing when no way shows.
next_key() {
  awk -v ex="$1" -v ey="$2" '{ m[$1 "," $2] = $3 }
    END {
      if (m[ex "," ey] == "O") { print "wait"; exit }
      split("Right Left Down Up", name); split("1 -1 0 0", dx); split("0 0 1 -1", dy); split("R L D U", c)
      for (i = 1; i <= 4; i++) {
        k = (ex + dx[i]) "," (ey + dy[i])
        if (!(k in m)) continue
        if (m[k] == c[i]) { print name[i]; exit }
        n++; last = i
      }
      if (n == 1) print name[last]
    }'
}
# The step counter's part of the foot strip, to tell whether a step ran.
counter() { "$CONVERT" "$1" -crop 80x16+225+457 +repage "$2"; }
# Paused: the blue line under "Paused" shows (the completed screen has none).
paused() {
  [ "$("$CONVERT" "$1" -crop 240x30+200+250 +repage -fuzz 4% -fill white -opaque '#39ACE5' -fill black +opaque white \
    -format '%[fx:int(w*h*mean)]' info:)" -gt 200 ]
}

scene_start_game 320 240 -mainlog "$PWD/game.log"
sleep 2
press space 1.5
press Return 1
press Return 2
press Down 0.3
press Down 0.5
shot select_before.png
press Return 2
# The key that resumes; the world then holds for a step (7 frames of 16 ms).
Resume="keydown x sleep 0.02 keyup x"
Pause="keydown p sleep 0.02 keyup p"
xdo keydown F3 sleep 0.02 keyup F3 $Pause
Start=$SECONDS
Taps=0 Waits=0 Looks=0 Asks=1 Repeats=0 Restarts=0 Searching=0 Done="" X=1 Y=1 Moved="" DX=0 DY=0
while [ $((SECONDS - Start)) -lt 150 ]; do
  sleep 0.15
  shot field.png
  paused field.png || { Done=yes; break; }
  # The elf is where the last tap sent it once the step counter moved.
  counter field.png now.png
  if [ -n "$Moved" ] && ! "$COMPARE" -metric AE now.png before.png null: 2>/dev/null; then
    X=$((X + DX)) Y=$((Y + DY)) Moved=""
  elif [ -n "$Moved" ]; then
    Repeats=$((Repeats + 1))
  fi
  mv now.png before.png
  Key=$(marks field.png | next_key $X $Y)
  case "$Key" in
    wait)
      Waits=$((Waits + 1)) Moved="" Searching=""
      xdo $Resume sleep 0.1 $Pause
      ;;
    Right | Left | Up | Down)
      Taps=$((Taps + 1)) Moved=yes Searching=""
      case $Key in Right) DX=1 DY=0 ;; Left) DX=-1 DY=0 ;; Down) DX=0 DY=1 ;; Up) DX=0 DY=-1 ;; esac
      [ $Taps = 1 ] && cp field.png hint_first.png
      xdo $Resume keydown "$Key" sleep 0.02 keyup "$Key" sleep 0.04 $Pause
      ;;
    *)
      Looks=$((Looks + 1)) Moved=""
      if [ -z "$Searching" ]; then
        # The way is gone after a tap: the world left it (a key that came a
        # step late on a loaded machine). The way is asked for from here.
        Asks=$((Asks + 1)) Searching=0
        cp field.png "lost$Asks.png"
        xdo $Resume sleep 0.02 keydown F3 sleep 0.02 keyup F3 $Pause
      elif [ $((Searching += 1)) -gt 30 ]; then
        # Still no way: the elf is lost ("No way from here"). The map starts again.
        Restarts=$((Restarts + 1)) Searching=0 X=1 Y=1
        cp field.png "restart$Restarts.png"
        xdo $Resume sleep 0.02 keydown Escape sleep 0.05 keyup Escape sleep 0.1 keydown F3 sleep 0.02 keyup F3 $Pause
      else
        # The search goes on while the world is paused; its answer is drawn
        # once play goes on. A look within the held step moves nothing.
        xdo $Resume sleep 0.05 $Pause
        sleep 0.2
      fi
      ;;
  esac
done
echo "taps=$Taps repeats=$Repeats waits=$Waits looks=$Looks asks=$Asks restarts=$Restarts seconds=$((SECONDS - Start))"
[ -n "$Done" ] || { shot stuck.png; echo "FAIL: following the hint did not end the map in 150 s"; }
# The completed screen, then the map selection again (its "PL:" where it was).
"$CONVERT" select_before.png -crop 60x30+30+50 +repage pl.png
for _ in $(seq 40); do
  sleep 0.5
  shot select_after.png
  "$CONVERT" select_after.png -crop 60x30+30+50 +repage now.png
  "$COMPARE" -metric AE pl.png now.png null: 2>/dev/null && break
done
sleep 0.5
shot select_after.png
press F10 2
scene_end_game
SCENE

e2e_scene "Escape should end the game with 0"
for S in select_before select_after hint_first; do [ -f $S.png ] || fail "no screenshot $S"; done
# The map's row on the selection (the third, under the cursor): its name
# grows by the mark, " (hint)", about 85 pixels.
inked() { "$CONVERT" "$1" -crop 520x30+60+265 +repage -colorspace gray -threshold 55% -trim -format '%w' info:; }
if [ -f select_before.png ] && [ -f select_after.png ]; then
  Before=$(inked select_before.png) After=$(inked select_after.png)
  [ "$After" -gt $((Before + 60)) ] || fail "no hint mark after the map's name ($Before, then $After pixels wide)"
fi
[ "$("$TOOL" registry get-state Starquarry.vmu quarry_basics.sq wren 2)" = 2 ] || fail "the map is not recorded completed"
"$TOOL" replay list Starquarry.runs | grep -q "^wren quarry_basics.sq 2 .* hint$" || fail "the run is not kept with the hint mark"

if [ "$FAILS" -gt 0 ]; then
  mkdir -p "$3/e2e_hint_follow" && cp ./*.png "$3/e2e_hint_follow/" 2>/dev/null
  echo "$FAILS check(s) failed (screenshots in $3/e2e_hint_follow)"
  exit 1
fi
echo "the hint led the elf out of the map and the selection marks it"
