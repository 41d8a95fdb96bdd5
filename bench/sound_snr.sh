#!/usr/bin/env bash
# How far the sound of one build lies from another's: every song and effect
# that the game's sound configuration names is rendered by both builds'
# sqtool (each reads its own build's data) and compared, new against old, as
# a signal-to-noise ratio. For a change to the mixer or the module player:
# build the old version into another folder first.
# Usage: sound_snr.sh OLD_PLAY_DIR NEW_PLAY_DIR [SECONDS]
#   *_PLAY_DIR  folders holding a build's sqtool (and its data)
#   SECONDS     how much of each song is rendered (default 30; effects 3 s)
set -u
OLD=${1:?usage: sound_snr.sh OLD_PLAY_DIR NEW_PLAY_DIR [SECONDS]}
NEW=${2:?usage: sound_snr.sh OLD_PLAY_DIR NEW_PLAY_DIR [SECONDS]}
SECONDS_OF_SONG=${3:-30}
INI=$(cd "$(dirname "$0")/.." && pwd)/data/config/50_sound.ini
for D in "$OLD" "$NEW"; do
  [ -x "$D/sqtool" ] || { echo "sound snr: no sqtool in $D"; exit 1; }
done
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

status=0
for NAME in $(sed -n 's/^File=\(.*\.\(xm\|mp3\)\)\r*$/\1/p' "$INI"); do
  case "$NAME" in *.mp3) S=3 ;; *) S=$SECONDS_OF_SONG ;; esac
  if "$OLD/sqtool" audio render "$NAME" "$S" "$WORK/old.wav" >/dev/null &&
    "$NEW/sqtool" audio render "$NAME" "$S" "$WORK/new.wav" >/dev/null; then
    printf '%-20s %s\n' "$NAME" "$("$NEW/sqtool" audio snr "$WORK/old.wav" "$WORK/new.wav")"
  else
    echo "$NAME: cannot be rendered"
    status=1
  fi
done
exit $status
