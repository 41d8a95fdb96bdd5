#!/bin/bash
# Starts the installed game in the player's own folder,
# $XDG_DATA_HOME/starquarry (by default ~/.local/share/starquarry): the game
# keeps its progress and settings in the working folder, lists the level
# packs found there and would log beside its program, where a player may not
# write. The installed packs are offered there as links, so a player's own
# packs sit beside them. Arguments pass through to the game.
set -euo pipefail

# Everything is found relative to this script, so the install tree can live
# under any prefix.
HERE=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
PREFIX=$(dirname "$HERE")
GAME="$PREFIX/lib/starquarry/starquarry"
PACKS="$PREFIX/share/starquarry"

# Only an absolute XDG_DATA_HOME counts; a relative one is ignored.
DATA_HOME="${XDG_DATA_HOME:-}"
case "$DATA_HOME" in
  /*) ;;
  *) DATA_HOME="${HOME:?HOME is not set}/.local/share" ;;
esac
PLAYER="$DATA_HOME/starquarry"
mkdir -p "$PLAYER"

for PACK in "$PACKS"/*.sq; do
  [ -e "$PACK" ] || continue
  LINK="$PLAYER/$(basename "$PACK")"
  # A player's own file of that name wins; a link is pointed at this install.
  if [ -L "$LINK" ] || [ ! -e "$LINK" ]; then
    ln -sfn "$PACK" "$LINK"
  fi
done
# Links to the packs of an install that is gone would list packs that fail to
# load; a player's own links, pointing elsewhere, are theirs to keep.
for LINK in "$PLAYER"/*.sq; do
  if [ -L "$LINK" ] && [ ! -e "$LINK" ]; then
    case "$(readlink "$LINK")" in
      */share/starquarry/*.sq) rm -f "$LINK" ;;
    esac
  fi
done

cd "$PLAYER"
# The log goes to the player's folder unless the arguments say where it goes.
for ARG in "$@"; do
  case "${ARG,,}" in
    -mainlog | /mainlog | -safelog | /safelog | -nolog | /nolog) exec "$GAME" "$@" ;;
  esac
done
exec "$GAME" -mainlog "$PLAYER/starquarry.log" "$@"
