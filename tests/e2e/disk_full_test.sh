#!/usr/bin/env bash
# End-to-end: saving a level pack where the disk cannot take it. On a small
# file system filled to fourteen levels, from no room at all to room to
# spare, a save either writes the whole new pack or fails naming the cause
# and leaves the old pack as it was, with no temporary file behind; a file
# system mounted read-only and a folder the user may not write say so too.
# sqtool pack build writes through the same pack writer as the editor.
# Needs root (it mounts a file system of its own); skipped otherwise.
# Usage: disk_full_test.sh PLAY_DIR [CLOSE_WINDOW_TOOL BUILD_DIR]
set -uo pipefail
TOOL="$1/sqtool"
[ -x "$TOOL" ] || { echo "SKIP: sqtool is not built"; exit 77; }
[ "$(id -u)" -eq 0 ] || { echo "SKIP: not root, no file system can be mounted"; exit 77; }
WORK=$(mktemp -d)
MNT="$WORK/mnt"
mkdir "$MNT"
if ! mount -t tmpfs -o size=256k tmpfs "$MNT" 2>/dev/null; then
  rmdir "$MNT"
  rm -rf "$WORK"
  echo "SKIP: no tmpfs can be mounted here"
  exit 77
fi
trap 'umount "$MNT" 2>/dev/null; rm -rf "$WORK"' EXIT
FAILS=0
fail() {
  echo "FAIL: $*"
  FAILS=$((FAILS + 1))
}

printf 'MAPT\r\nWI20\r\nHE12\r\nMNDisk\r\nMP*$!\r\nXX\r\n' >"$WORK/map.txt"
# Random bytes do not shrink: the pack takes about ten pages.
build() { # FILE SEED -> sqtool's standard error in err.txt
  head -c 40000 /dev/urandom >"$WORK/noise.bin"
  "$TOOL" pack build "$1" --name "Seed $2" --author A "$WORK/map.txt" --extra "$WORK/noise.bin" 2>"$WORK/err.txt"
}
free_kb() { df -k --output=avail "$MNT" | tail -1 | tr -d ' '; }

PACK="$MNT/p.sq"
build "$PACK" 0 || fail "the first pack could not be built: $(cat "$WORK/err.txt")"
FAILED=0
for LEVEL in $(seq 0 13); do
  rm -f "$MNT/filler"
  # Leave LEVEL * 4 KB free (as near as the file system's pages allow).
  FILL=$(($(free_kb) - LEVEL * 4))
  [ "$FILL" -gt 0 ] && head -c "$((FILL * 1024))" /dev/zero >"$MNT/filler" 2>/dev/null
  cp "$PACK" "$WORK/before.sq"
  if build "$PACK" "$LEVEL"; then
    cmp -s "$PACK" "$WORK/before.sq" && fail "level $LEVEL: a save that succeeded left the old pack"
  else
    FAILED=$((FAILED + 1))
    grep -q ": No space left on device$" "$WORK/err.txt" || fail "level $LEVEL: no cause: $(cat "$WORK/err.txt")"
    cmp -s "$PACK" "$WORK/before.sq" || fail "level $LEVEL: a failed save changed the pack"
  fi
  LEFT=$(find "$MNT" -maxdepth 1 -name 'p.sq.*.tmp' | head -1)
  [ -z "$LEFT" ] || fail "level $LEVEL: the temporary file $LEFT was left"
done
[ "$FAILED" -gt 0 ] || fail "no fill level made the save fail: the levels miss the full disk"
rm -f "$MNT/filler"
echo "full disk: $FAILED of 14 fill levels refused the save, each naming its cause"

mount -o remount,ro "$MNT"
build "$PACK" ro && fail "a read-only file system took the save"
grep -q ": Read-only file system$" "$WORK/err.txt" || fail "read-only: $(cat "$WORK/err.txt")"
mount -o remount,rw "$MNT"

if command -v setpriv >/dev/null 2>&1; then
  chmod 755 "$MNT" "$WORK"
  chmod 644 "$WORK/map.txt"
  head -c 40000 /dev/urandom >"$WORK/noise.bin"
  chmod 644 "$WORK/noise.bin"
  setpriv --reuid=65534 --regid=65534 --clear-groups "$TOOL" pack build "$PACK" --name N --author A \
    "$WORK/map.txt" --extra "$WORK/noise.bin" 2>"$WORK/err.txt" && fail "a folder of root's took nobody's save"
  grep -q ": Permission denied$" "$WORK/err.txt" || fail "permission: $(cat "$WORK/err.txt")"
else
  echo "SKIP (part): setpriv is missing, the folder of another user is not tried"
fi

[ "$FAILS" -eq 0 ] || exit 1
echo "disk full: all checks passed"
