#!/usr/bin/env bash
# End-to-end: the launcher in a player's folder. It links the installed packs
# where their names are free, replaces only links it made itself, leaves
# everything else of the player's as it is (saying so), and starts the game
# even where it can make no link. The game here is a stand-in that tells
# where and how it was started: nothing is built or shown.
# Usage: launcher_test.sh [PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR] (unused)
set -euo pipefail
SRC=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WORK=$(mktemp -d)
trap 'chmod -R u+w "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT
FAILS=0
fail() {
  echo "FAIL: $*"
  FAILS=$((FAILS + 1))
}

# An install tree: the launcher, the stand-in game and three packs.
PREFIX="$WORK/usr"
PACKS="$PREFIX/share/starquarry"
mkdir -p "$PREFIX/bin" "$PREFIX/lib/starquarry" "$PACKS"
cp "$SRC/dist/starquarry.sh" "$PREFIX/bin/starquarry"
printf '#!/bin/sh\necho "ran in $(pwd): $*" > "%s/ran.txt"\n' "$WORK" >"$PREFIX/lib/starquarry/starquarry"
chmod +x "$PREFIX/bin/starquarry" "$PREFIX/lib/starquarry/starquarry"
for P in deep_shafts quarry_basics third; do printf 'pack\n' >"$PACKS/$P.sq"; done

DATA="$WORK/home/.local/share/starquarry"
launch() { env -u XDG_DATA_HOME HOME="$WORK/home" "$@" "$PREFIX/bin/starquarry" -x 2>"$WORK/err.txt"; }

# 1. Whatever of a pack's name the player holds stays as it is.
mkdir -p "$DATA/mine"
printf 'my pack\n' >"$DATA/mine/my.sq"
ln -s mine/my.sq "$DATA/deep_shafts.sq"              # the player's own link to their own pack
printf 'mine\n' >"$DATA/quarry_basics.sq"            # the player's own file
ln -s "$DATA/saved/gone.sq" "$DATA/old.sq"           # the player's dangling link, into their folder
ln -s "/gone/share/starquarry/third.sq" "$DATA/third.sq"  # the launcher's link to an install gone
ln -s "/gone/share/starquarry/stale.sq" "$DATA/stale.sq"  # the same, for a pack no longer shipped
rm -f "$WORK/ran.txt"
launch || fail "the launcher failed: $(cat "$WORK/err.txt")"
[ "$(readlink "$DATA/deep_shafts.sq")" = mine/my.sq ] || fail "the player's link was repointed: $(readlink "$DATA/deep_shafts.sq")"
[ ! -L "$DATA/quarry_basics.sq" ] && grep -qx mine "$DATA/quarry_basics.sq" || fail "the player's file was replaced"
[ -L "$DATA/old.sq" ] || fail "the player's dangling link was removed"
[ "$(readlink "$DATA/third.sq")" = "$PACKS/third.sq" ] || fail "the launcher's old link was not renewed"
[ ! -L "$DATA/stale.sq" ] || fail "the launcher's link to a pack gone was kept"
grep -q "deep_shafts.sq is the player's own link" "$WORK/err.txt" || fail "the kept link was not reported: $(cat "$WORK/err.txt")"
grep -q "quarry_basics.sq is the player's own" "$WORK/err.txt" || fail "the kept file was not reported"
grep -qx "ran in $DATA: -mainlog $DATA/starquarry.log -x" "$WORK/ran.txt" || fail "the game: $(cat "$WORK/ran.txt" 2>&1)"

# 2. A folder the player may not write: nothing to do when the links are
# right, and the game starts when one cannot be made. Root writes anyway, so
# the launcher then runs as nobody.
rm -rf "$DATA"
launch || fail "the launcher failed in a fresh folder: $(cat "$WORK/err.txt")"
[ "$(readlink "$DATA/quarry_basics.sq")" = "$PACKS/quarry_basics.sq" ] || fail "no link made in a fresh folder"
AS=()
if [ "$(id -u)" -eq 0 ]; then
  if ! command -v setpriv >/dev/null 2>&1; then
    echo "SKIP (part): root without setpriv, the read-only folder is not tried"
    [ "$FAILS" -eq 0 ] && exit 0 || exit 1
  fi
  chmod -R a+rX "$WORK"
  chmod a+w "$WORK"
  AS=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
chmod a-w "$DATA"
rm -f "$WORK/ran.txt"
launch "${AS[@]}" || fail "the launcher failed in a read-only folder with the links right: $(cat "$WORK/err.txt")"
[ -s "$WORK/ran.txt" ] || fail "the game did not start with the links right"
[ ! -s "$WORK/err.txt" ] || fail "the launcher complained with the links right: $(cat "$WORK/err.txt")"
chmod u+w "$DATA"
rm "$DATA/third.sq"
chmod a-w "$DATA"
rm -f "$WORK/ran.txt"
launch "${AS[@]}" || fail "the launcher failed where it could not link: $(cat "$WORK/err.txt")"
[ -s "$WORK/ran.txt" ] || fail "the game did not start where a link could not be made"
grep -q "cannot link $DATA/third.sq" "$WORK/err.txt" || fail "the missing link was not reported: $(cat "$WORK/err.txt")"

[ "$FAILS" -eq 0 ] || exit 1
echo "launcher: all checks passed"
