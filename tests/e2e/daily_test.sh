#!/usr/bin/env bash
# End-to-end: the Daily Quarry. Chosen after the packs on disk, it digs the
# day's five maps with a progress bar, keeps them in daily/ and opens them in
# the map selection; the next start that day opens the same file at once,
# unchanged.
# Usage: daily_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
set -u
. "$(dirname "$0")/lib.sh"
e2e_start "$@"

cp "$PLAY/quarry_basics.sq" . || { echo "FAIL: no shipped pack to list"; exit 1; }
"$TOOL" registry set-state Starquarry.vmu quarry_basics.sq alice 1 0 >/dev/null ||
  { echo "FAIL: cannot prepare the registry"; exit 1; }

cat > scene.sh <<'SCENE'
set -u
. "$SCENE_LIB"
Today=$(date +%Y-%m-%d)

# One visit: the player, the pack list's Daily Quarry row, the map selection.
visit() {
  local Log=$1 Shot=$2 Started
  scene_start_game 300 200 -mainlog "$PWD/$Log"
  sleep 2
  press space 1.5
  press Return 1
  press Down
  press Return 0.3
  [ -n "$Shot" ] && { sleep 1; shot "$Shot"; }
  for _ in $(seq 1 120); do grep -q "Loading map file (daily/$Today.sq)" "$Log" 2>/dev/null && break; sleep 1; done
  sleep 1
  shot "select-$Log.png"
  scene_end_game
}

visit first.log progress.png
[ -f "daily/$Today.sq" ] || fail "no pack kept for the day"
# The bar's frame, whatever share is dug by then (a slow build may not have
# finished its first map yet).
[ "$(brightest progress.png 404x24+118+238)" -gt 40 ] || fail "no progress bar while the maps were dug"
grep -q "ready in" first.log || fail "the day's maps were not made"
grep -q "Loading map file (daily/$Today.sq)" first.log || fail "the day's pack was not opened"
[ "$(brightest select-first.log.png 520x40+60+180)" -gt 150 ] || fail "no map listed in the map selection"
"$TOOL" pack check "daily/$Today.sq" --solutions >check.txt 2>&1 || fail "the day's pack fails its check: $(cat check.txt)"
grep -q "^5 maps, 0 failed" check.txt || fail "not five good maps: $(cat check.txt)"
Before=$(stat -c %Y.%s "daily/$Today.sq")
sleep 1

visit second.log ""
Seconds=$(sed -n 's/.*ready in \([0-9.]*\) s.*/\1/p' second.log)
awk -v S="${Seconds:-99}" 'BEGIN { exit !(S < 0.5) }' || fail "the second visit took ${Seconds:-?} s"
[ "$(stat -c %Y.%s "daily/$Today.sq")" = "$Before" ] || fail "the day's pack was made again"
SCENE

e2e_scene "Escape in the map selection should end the game with 0"

if [ "$FAILS" -gt 0 ]; then
  echo "$FAILS check(s) failed"
  exit 1
fi
echo "the Daily Quarry checks passed"
