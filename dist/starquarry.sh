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
mkdir -p "$PLAYER" || {
  echo "starquarry: cannot make the player's folder $PLAYER" >&2
  exit 1
}

say() { echo "starquarry: $*" >&2; }

# A link this launcher made: to a pack of the same name in the share folder
# of an install (this one or one gone). The player's folder itself lies under
# a share folder too, so a link into it is the player's own.
ours() {
  local Target
  Target=$(readlink "$1") || return 1
  case "$Target" in
    /*/share/starquarry/"$(basename "$1")") [ "$(dirname "$Target")" != "$PLAYER" ] ;;
    *) return 1 ;;
  esac
}

# Links are made only where the name is free and replaced only where they
# are this launcher's own: anything else of a pack's name is the player's.
# Nothing here stops the game: a folder that takes no link still plays.
for PACK in "$PACKS"/*.sq; do
  [ -e "$PACK" ] || continue
  LINK="$PLAYER/$(basename "$PACK")"
  if [ -L "$LINK" ] && [ "$(readlink "$LINK")" = "$PACK" ]; then
    continue
  elif [ -L "$LINK" ] && ! ours "$LINK"; then
    say "$LINK is the player's own link: the installed pack is not linked there"
  elif [ ! -L "$LINK" ] && [ -e "$LINK" ]; then
    say "$LINK is the player's own: the installed pack is not linked there"
  elif ! ln -sfn "$PACK" "$LINK" 2>/dev/null; then
    say "cannot link $LINK to the installed pack (the game starts without it)"
  fi
done
# Links to the packs of an install that is gone would list packs that fail to
# load; a player's own links are theirs to keep, dangling or not.
for LINK in "$PLAYER"/*.sq; do
  if [ -L "$LINK" ] && [ ! -e "$LINK" ] && ours "$LINK"; then
    rm -f "$LINK" 2>/dev/null || say "cannot remove $LINK, a link to a pack no longer installed"
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
