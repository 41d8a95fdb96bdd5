# Helpers for the scenes that run under Xvfb (scene.sh, started by
# e2e_scene), sourced as: . "$SCENE_LIB"

# A failed check, counted by e2e_scene.
fail() { echo "FAIL: $*"; }
# press KEY [PAUSE]: the key down for a few frames, then PAUSE seconds (0.8).
press() { xdo keydown "$1"; sleep 0.1; xdo keyup "$1"; sleep "${2:-0.8}"; }
shot() { import -window root "$1"; }
# The brightest channel value (0-255) in a box WxH+X+Y of a picture.
brightest() { "$CONVERT" "$1" -crop "$2" +repage -format '%[fx:int(255*maxima)]' info:; }

# An xdotool call the X server turned away is sent again; any other failure is not.
xdo() {
  local Err T
  for T in 1 2 3 4 5; do
    Err=$(xdotool "$@" 2>&1 >/dev/null) && return 0
    echo "$Err" | grep -qi "display" || { echo "xdotool $*: $Err"; return 1; }
    sleep 0.2
  done
  return 1
}

# scene_start_game X Y ARGS...: starts "$GAME" ARGS until its window shows
# (a game the X server turned away ends before it does); P is the process,
# W the window, and the pointer is moved to X, Y in it, so that keys reach it.
scene_start_game() {
  local X=$1 Y=$2 TRY
  shift 2
  for TRY in 1 2 3; do
    "$GAME" "$@" &
    P=$!
    W=""
    for _ in $(seq 150); do
      W=$(xdotool search --name "^Starquarry V" 2>/dev/null | head -1)
      [ -n "$W" ] && break
      kill -0 $P 2>/dev/null || break
      sleep 0.1
    done
    [ -n "$W" ] && break
    wait $P
  done
  [ -n "$W" ] || { echo "FAIL: no game window"; exit 1; }
  xdo mousemove --window "$W" "$X" "$Y"
}

# scene_end_game: Escape until the game P ends (a press a busy machine lost is
# sent again), then prints exit=CODE.
scene_end_game() {
  local _
  for _ in 1 2 3 4 5 6; do
    kill -0 "$P" 2>/dev/null || break
    xdo keydown Escape
    sleep 0.1
    xdo keyup Escape
    sleep 2
  done
  wait "$P"
  echo "exit=$?"
}
