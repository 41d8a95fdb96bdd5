#!/usr/bin/env bash
# The cost of playing: the game runs a shipped map under Xvfb for a while and
# we read its CPU time and peak resident memory from /proc. Prints each run
# and the medians. A benchmark, not a test: the numbers depend on the machine.
# Usage: play_cost.sh PLAY_DIR [RUNS [SECONDS [PACK [MAPNO [GAME ARGS...]]]]]
#   PLAY_DIR  the folder holding starquarry, sqtool and the packs
#   RUNS      how many runs (default 3)
#   SECONDS   seconds of play measured per run (default 10)
#   PACK      the level pack (default deep_shafts.sq), MAPNO its map (default 0)
#   the rest  passed to the game (for example -scale 2)
set -u
PLAY=$(cd "${1:?usage: play_cost.sh PLAY_DIR [RUNS [SECONDS [PACK [MAPNO [ARGS...]]]]]}" && pwd)
RUNS=${2:-3}
SECONDS_OF_PLAY=${3:-10}
PACK=${4:-deep_shafts.sq}
MAPNO=${5:-0}
shift $(($# < 5 ? $# : 5))
EXTRA=("$@")

for T in xvfb-run xdotool; do
  command -v "$T" >/dev/null 2>&1 || { echo "play cost: skipped, $T is not installed"; exit 0; }
done
[ -x "$PLAY/starquarry" ] && [ -f "$PLAY/$PACK" ] || { echo "play cost: no game or no $PACK in $PLAY"; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp "$PLAY/$PACK" "$WORK/"
CODE=$("$PLAY/sqtool" testcode "$MAPNO") || exit 1
TICKS=$(getconf CLK_TCK)

# One run: prints "CPU_SECONDS_PER_SECOND PEAK_RSS_KB". The first two seconds
# (loading, the first frames) are left out of the CPU figure; the peak is the
# whole run's.
one_run() {
  (cd "$WORK" && SDL_AUDIODRIVER=dummy timeout $((SECONDS_OF_PLAY + 60)) xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
    "$@" &
    P=$!
    xdotool search --sync --name "^Starquarry V" >/dev/null
    sleep 2
    cpu() { awk "{ print \$14 + \$15 }" /proc/$P/stat; }
    A=$(cpu)
    sleep '"$SECONDS_OF_PLAY"'
    B=$(cpu)
    HWM=$(awk "/^VmHWM:/ { print \$2 }" /proc/$P/status)
    W=$(xdotool search --name "^Starquarry V" | head -1)
    xdotool windowfocus "$W" 2>/dev/null
    xdotool keydown F10; sleep 0.2; xdotool keyup F10
    wait $P
    echo "$A $B $HWM"' run "$PLAY/starquarry" -testmap "$CODE" "$PACK" -nolog "${EXTRA[@]}") |
    tail -n 1 | awk -v t="$TICKS" -v s="$SECONDS_OF_PLAY" '{ printf "%.4f %d\n", ($2 - $1) / t / s, $3 }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >"$WORK/runs"
for I in $(seq "$RUNS"); do
  R=$(one_run)
  [ -n "$R" ] || { echo "play cost: run $I failed"; exit 1; }
  echo "$R" >>"$WORK/runs"
  set -- $R
  printf 'play cost run %d: %s s CPU per s of play, peak RSS %.1f MB\n' "$I" "$1" "$(echo "$2 / 1024" | bc -l)"
done
CPU=$(cut -d' ' -f1 "$WORK/runs" | median)
RSS=$(cut -d' ' -f2 "$WORK/runs" | median)
printf 'play cost (%s map %s %s, median of %d): %s s CPU per s of play, peak RSS %.1f MB; load %s\n' "$PACK" "$MAPNO" \
  "${EXTRA[*]}" "$RUNS" "$CPU" "$(echo "$RSS / 1024" | bc -l)" "$(cut -d' ' -f1-3 /proc/loadavg)"
