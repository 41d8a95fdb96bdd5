#!/usr/bin/env bash
# The cost of playing: the game runs a shipped map under Xvfb for a while and
# we read its CPU time and peak resident memory from /proc, and how long it
# took from its start to its window. Prints each run and the medians. A
# benchmark, not a test: the numbers depend on the machine and its load.
#
# With NEIGHBOUR set to another SDL game's program (make bench names Debian's
# epiphany-game when it is installed), that game is measured the same way
# right after each of ours, on one of its own maps, and the ratio of the two
# CPU figures is printed with its target: on a shared machine only figures
# taken in the same run compare.
#
# Usage: play_cost.sh PLAY_DIR [RUNS [SECONDS [PACK [MAPNO [GAME ARGS...]]]]]
#   PLAY_DIR  the folder holding starquarry, sqtool and the packs
#   RUNS      how many runs (default 3)
#   SECONDS   seconds of play measured per run (default 10)
#   PACK      the level pack (default deep_shafts.sq), MAPNO its map (default 0)
#   the rest  passed to the game (for example -scale 2)
# The CPU figure is the time the scheduler gave every thread of the process
# (nanoseconds, /proc/PID/task/*/schedstat), not the tick-sampled counters:
# a game that wakes 60 times a second for a fraction of a millisecond is
# charged whole ticks or none by those.
set -u
PLAY=$(cd "${1:?usage: play_cost.sh PLAY_DIR [RUNS [SECONDS [PACK [MAPNO [ARGS...]]]]]}" && pwd)
RUNS=${2:-3}
SECONDS_OF_PLAY=${3:-10}
PACK=${4:-deep_shafts.sq}
MAPNO=${5:-0}
shift $(($# < 5 ? $# : 5))
EXTRA=("$@")
NEIGHBOUR=${NEIGHBOUR:-}
NEIGHBOUR_MAP=${NEIGHBOUR_MAP:-/usr/share/epiphany/maps/level1.map}
# The targets.
CPU_RATIO_TARGET=0.05
RSS_TARGET_MB=20
WINDOW_TARGET_S=0.5

for T in xvfb-run xdotool; do
  command -v "$T" >/dev/null 2>&1 || { echo "play cost: skipped, $T is not installed"; exit 0; }
done
[ -x "$PLAY/starquarry" ] && [ -f "$PLAY/$PACK" ] || { echo "play cost: no game or no $PACK in $PLAY"; exit 1; }
if [ -n "$NEIGHBOUR" ] && [ ! -x "$NEIGHBOUR" ]; then
  echo "play cost: no neighbour game at $NEIGHBOUR; measuring ours alone"
  NEIGHBOUR=""
fi

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp "$PLAY/$PACK" "$WORK/"
mkdir -p "$WORK/home"
CODE=$("$PLAY/sqtool" testcode "$MAPNO") || exit 1

# One run of a program: prints "CPU_SECONDS_PER_SECOND PEAK_RSS_KB
# SECONDS_TO_WINDOW". $1 is the window's name (an extended regular
# expression), $2 how it is asked to end ("F10" or "kill"), the rest the
# command. The first two seconds in the window (loading, the first frames)
# are left out of the CPU figure; the peak is the whole run's.
one_run() {
  local Name=$1 Quit=$2
  shift 2
  (cd "$WORK" && HOME="$WORK/home" SDL_AUDIODRIVER=dummy timeout $((SECONDS_OF_PLAY + 60)) \
    xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
    Name=$1 Quit=$2 Seconds=$3
    shift 3
    cpu() { cat /proc/$P/task/*/schedstat 2>/dev/null | awk "{ s += \$1 } END { printf \"%d\", s }"; }
    Start=$(date +%s%N)
    "$@" &
    P=$!
    W=""
    while [ -z "$W" ]; do
      kill -0 $P 2>/dev/null || exit 1
      W=$(xdotool search --onlyvisible --name "$Name" 2>/dev/null | head -1)
      [ -n "$W" ] || sleep 0.005
    done
    Shown=$(date +%s%N)
    sleep 2
    A=$(cpu)
    sleep "$Seconds"
    B=$(cpu)
    HWM=$(awk "/^VmHWM:/ { print \$2 }" /proc/$P/status)
    if [ "$Quit" = F10 ]; then
      xdotool windowfocus "$W" 2>/dev/null
      xdotool keydown F10; sleep 0.2; xdotool keyup F10
    else
      # SDL turns the signal into a quit event, which a game in play may ignore.
      kill $P
      for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 $P 2>/dev/null && sleep 0.2; done
      kill -KILL $P 2>/dev/null
    fi
    wait $P
    echo "$A $B $HWM $Start $Shown"' run "$Name" "$Quit" "$SECONDS_OF_PLAY" "$@") 2>/dev/null |
    tail -n 1 | awk -v s="$SECONDS_OF_PLAY" 'NF == 5 { printf "%.4f %d %.3f\n", ($2 - $1) / 1e9 / s, $3, ($5 - $4) / 1e9 }'
}

# The X server here turns a connection away now and then: a run that never
# got its window is tried again.
measured() {
  local R="" _
  for _ in 1 2 3; do
    R=$(one_run "$@")
    [ -n "$R" ] && break
  done
  echo "$R"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
mb() { echo "$1 / 1024" | bc -l; }

: >"$WORK/ours"
: >"$WORK/theirs"
for I in $(seq "$RUNS"); do
  R=$(measured "^Starquarry V" F10 "$PLAY/starquarry" -testmap "$CODE" "$PACK" -nolog "${EXTRA[@]}")
  [ -n "$R" ] || { echo "play cost: run $I failed"; exit 1; }
  echo "$R" >>"$WORK/ours"
  set -- $R
  printf 'play cost run %d: %s s CPU per s of play, peak RSS %.1f MB, window after %s s\n' "$I" "$1" "$(mb "$2")" "$3"
  if [ -n "$NEIGHBOUR" ]; then
    R=$(measured "^epiphany$" kill "$NEIGHBOUR" --map "$NEIGHBOUR_MAP")
    [ -n "$R" ] || { echo "play cost: the neighbour's run $I failed"; exit 1; }
    echo "$R" >>"$WORK/theirs"
    set -- $R
    printf 'neighbour run %d: %s s CPU per s of play, peak RSS %.1f MB\n' "$I" "$1" "$(mb "$2")"
  fi
done
CPU=$(cut -d' ' -f1 "$WORK/ours" | median)
RSS=$(cut -d' ' -f2 "$WORK/ours" | median)
WIN=$(cut -d' ' -f3 "$WORK/ours" | median)
LOAD=$(cut -d' ' -f1-3 /proc/loadavg)
met() { awk -v v="$1" -v t="$2" 'BEGIN { print (v <= t) ? "met" : "MISSED" }'; }
if [ -n "$NEIGHBOUR" ]; then
  THEIR_CPU=$(cut -d' ' -f1 "$WORK/theirs" | median)
  THEIR_RSS=$(cut -d' ' -f2 "$WORK/theirs" | median)
  RATIO=$(awk -v a="$CPU" -v b="$THEIR_CPU" 'BEGIN { printf "%.3f", (b > 0 ? a / b : 0) }')
  printf 'neighbour (%s, median of %d): %s s CPU per s of play, peak RSS %.1f MB\n' "$(basename "$NEIGHBOUR")" \
    "$RUNS" "$THEIR_CPU" "$(mb "$THEIR_RSS")"
  printf 'MEASURE cpu-ratio: %s x the neighbour'"'"'s CPU in play (target <= %s: %s)\n' "$RATIO" "$CPU_RATIO_TARGET" \
    "$(met "$RATIO" "$CPU_RATIO_TARGET")"
fi
RSS_MB=$(printf '%.1f' "$(mb "$RSS")")
printf 'MEASURE peak-rss: %s MB (target <= %s MB: %s)\n' "$RSS_MB" "$RSS_TARGET_MB" "$(met "$RSS_MB" "$RSS_TARGET_MB")"
printf 'MEASURE start-to-window: %s s (target < %s s: %s)\n' "$WIN" "$WINDOW_TARGET_S" "$(met "$WIN" "$WINDOW_TARGET_S")"
printf 'play cost (%s map %s %s, median of %d): %s s CPU per s of play, peak RSS %.1f MB; load %s\n' "$PACK" "$MAPNO" \
  "${EXTRA[*]}" "$RUNS" "$CPU" "$(mb "$RSS")" "$LOAD"
