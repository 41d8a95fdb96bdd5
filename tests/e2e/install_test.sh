#!/usr/bin/env bash
# End-to-end: the install. The install rules put exactly the expected files
# into a staging folder and the uninstall takes exactly those away again; the
# installed launcher starts the game in a player's own folder under Xvfb; the
# Debian package installs and removes cleanly with apt (as root only).
# Usage: install_test.sh PLAY_DIR CLOSE_WINDOW_TOOL BUILD_DIR
# Installs from the finished build; builds nothing.
set -euo pipefail
PLAY="$1"
CLOSE="$2"
BUILD="$3"
SRC=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
CONVERT=/usr/bin/convert

WORK=$(mktemp -d)
DEB_INSTALLED=0
cleanup() {
  if [ "$DEB_INSTALLED" -eq 1 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y --purge starquarry >/dev/null 2>&1 || true
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT
cd "$WORK"
FAILS=0
fail() {
  echo "FAIL: $*"
  FAILS=$((FAILS + 1))
}
have() { command -v "$1" >/dev/null 2>&1; }

# Every file an install holds, relative to the prefix, links included.
PACKS=(quarry_basics deep_shafts quarry_mix)
expected_files() {
  {
    printf '%s\n' bin/starquarry bin/sqtool lib/starquarry/starquarry lib/starquarry/sqtool
    for P in "${PACKS[@]}"; do echo "share/starquarry/$P.sq"; done
    echo share/applications/starquarry.desktop
    for S in 48 128 256; do echo "share/icons/hicolor/${S}x$S/apps/starquarry.png"; done
    echo share/man/man6/starquarry.6.gz
    echo share/man/man6/sqtool.6.gz
  } | sort
}
listed_files() { (cd "$1" && find . -mindepth 1 \( -type f -o -type l \) -printf '%P\n' | sort); }
install_into() { DESTDIR="$1" cmake --install "$BUILD" --prefix /usr >"$WORK/install.out"; }
uninstall_from() {
  env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL make -s -C "$SRC" uninstall BUILD="$BUILD" PREFIX=/usr DESTDIR="$1" >"$WORK/uninstall.out" 2>&1 ||
    fail "make uninstall: $(cat "$WORK/uninstall.out")"
}

# 1. The installed tree: exactly the expected files, each what the build made.
STAGE="$WORK/stage"
mkdir "$STAGE"
install_into "$STAGE" || {
  echo "FAIL: the install did not run"
  exit 1
}
U="$STAGE/usr"
expected_files >expected.txt
listed_files "$U" >actual.txt
diff -u expected.txt actual.txt || fail "the installed files differ from the expected list"
[ "$(listed_files "$STAGE" | grep -vc '^usr/')" -eq 0 ] || fail "files outside the prefix"

cmp -s "$PLAY/starquarry" "$U/lib/starquarry/starquarry" || fail "the game is not the built one with its archive"
cmp -s "$PLAY/sqtool" "$U/lib/starquarry/sqtool" || fail "sqtool is not the built one"
for P in "${PACKS[@]}"; do
  cmp -s "$PLAY/$P.sq" "$U/share/starquarry/$P.sq" || fail "$P.sq is not the built pack"
done
for F in bin/starquarry lib/starquarry/starquarry lib/starquarry/sqtool; do
  [ -x "$U/$F" ] || fail "$F is not executable"
done
[ "$(readlink "$U/bin/sqtool")" = ../lib/starquarry/sqtool ] || fail "bin/sqtool: $(readlink "$U/bin/sqtool")"
bash -n "$U/bin/starquarry" || fail "the launcher is not valid bash"
# sqtool reached through its link finds the game's data beside its real file.
if ! "$U/bin/sqtool" picture sheet sheet.ppm >sheet.txt 2>&1 || ! grep -q '^\[\*Blocks\] ' sheet.txt; then
  fail "sqtool through bin/ does not find the game's data: $(head -3 sheet.txt)"
fi
"$U/bin/sqtool" pack check "$U/share/starquarry/quarry_basics.sq" >check.txt 2>&1 ||
  fail "the installed pack does not check: $(tail -2 check.txt)"

DESKTOP="$U/share/applications/starquarry.desktop"
if have desktop-file-validate; then
  desktop-file-validate "$DESKTOP" >validate.txt 2>&1 || fail "desktop-file-validate: $(cat validate.txt)"
else
  echo "SKIP (part): desktop-file-validate is not installed"
fi
grep -qx 'Exec=starquarry' "$DESKTOP" || fail "the menu entry does not start the launcher"
grep -qx 'Icon=starquarry' "$DESKTOP" || fail "the menu entry does not name the icon"

# Icons: PNGs of their folder's size, transparent in the corner, opaque and
# bright in the middle (the diamond).
for S in 48 128 256; do
  I="$U/share/icons/hicolor/${S}x$S/apps/starquarry.png"
  if [ -x "$CONVERT" ]; then
    GOT=$("$CONVERT" "$I" -format '%m %wx%h %[fx:int(255*p{0,0}.a)] %[fx:int(255*p{w/2,h/2}.a)]' info: 2>&1) || true
    [ "$GOT" = "PNG ${S}x$S 0 255" ] || fail "icon $S: $GOT"
    LIGHT=$("$CONVERT" "$I" -crop "$((S / 4))x$((S / 4))+$((S * 3 / 8))+$((S / 4))" +repage \
      -format '%[fx:int(255*mean)]' info: 2>&1) || true
    [ "${LIGHT:-0}" -gt 120 ] 2>/dev/null || fail "icon $S: the diamond is missing (mean $LIGHT)"
  else
    [ "$(head -c 8 "$I" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "icon $S is not a PNG"
  fi
done

for M in starquarry sqtool; do
  PAGE="$U/share/man/man6/$M.6.gz"
  gzip -t "$PAGE" || fail "man page $M is not a gzip file"
  zcat "$PAGE" | head -1 | grep -qi "^\.TH $M 6 " || fail "man page $M does not head section 6"
  if have groff; then
    WARN=$(zcat "$PAGE" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1) || true
    [ -z "$WARN" ] || fail "man page $M: $WARN"
  fi
done

# The sqtool page describes every command sqtool lists.
for CMD in $("$U/bin/sqtool" help 2>&1 | awk '/^  [a-z]/ {print $1}' | grep -vx help); do
  zcat "$U/share/man/man6/sqtool.6.gz" | grep -q "^\.B $CMD\b" || fail "the sqtool man page lacks the command $CMD"
done

# 2. The launcher under Xvfb, for a player with a fresh HOME.
run_launcher() {
  local Home="$1" Script="$2"
  shift 2
  env -u XDG_DATA_HOME HOME="$Home" SDL_AUDIODRIVER=dummy timeout 120 xvfb-run -a -s "-screen 0 640x480x24" bash -c '
    "$@" &
    P=$!
    W=$(xdotool search --sync --name "^Starquarry V" | head -1)
    sleep 2
    '"$Script"'
    wait $P
    echo "exit=$?"' run "$@"
}
press() { echo "xdotool keydown $1; sleep 0.4; xdotool keyup $1; sleep 0.6;"; }

XVFB=1
for T in xvfb-run xdotool; do
  have "$T" || {
    echo "SKIP (part): $T is not installed, the launcher is not started"
    XVFB=0
  }
done
if [ "$XVFB" -eq 1 ] && ! xvfb-run -a true >/dev/null 2>&1; then
  echo "SKIP (part): Xvfb cannot start here, the launcher is not started"
  XVFB=0
fi
if [ "$XVFB" -eq 1 ]; then
  HOMEDIR="$WORK/home"
  DATA="$HOMEDIR/.local/share/starquarry"
  mkdir -p "$DATA"
  # A player's own pack of a shipped name stays, and so does a link of the
  # player's own to a pack not there now; a link to an installed pack gone goes.
  printf 'mine\n' >"$DATA/deep_shafts.sq"
  ln -s "$WORK/gone/share/starquarry/old.sq" "$DATA/old.sq"
  ln -s "$WORK/unplugged/lent.sq" "$DATA/lent.sq"
  # A line of an earlier run: -appendlog, passed through, keeps it.
  printf 'earlier run\r\n' >"$DATA/starquarry.log"
  # Space leaves the splash (ending the program, or opening the player list,
  # which Escape leaves); should the game still run, its window is closed.
  OUT=$(run_launcher "$HOMEDIR" "
    readlink /proc/\$P/cwd > cwd.txt
    $(press space)
    $(press Escape)
    $(press Escape)
    $(press Escape)
    sleep 1
    kill -0 \$P 2>/dev/null && \"$CLOSE\" \$W" "$U/bin/starquarry" -appendlog) || true
  [ "$(cat cwd.txt 2>/dev/null)" = "$DATA" ] || fail "the game ran in '$(cat cwd.txt 2>/dev/null)', not $DATA"
  echo "$OUT" | grep -Eqx 'exit=(0|2)' || fail "the game did not end cleanly: $OUT"
  [ "$(readlink "$DATA/quarry_basics.sq")" = "$U/share/starquarry/quarry_basics.sq" ] ||
    fail "no link to the installed pack: $(ls -l "$DATA")"
  [ ! -L "$DATA/deep_shafts.sq" ] && grep -qx mine "$DATA/deep_shafts.sq" ||
    fail "the player's own deep_shafts.sq was replaced"
  [ ! -e "$DATA/old.sq" ] && [ ! -L "$DATA/old.sq" ] || fail "the dangling link old.sq was kept"
  [ -L "$DATA/lent.sq" ] || fail "the player's own link lent.sq was removed"
  LOG="$DATA/starquarry.log"
  [ "$(head -n 1 "$LOG" | tr -d '\r')" = "earlier run" ] || fail "-appendlog did not reach the game"
  grep -q '^(..system..) Starting Application' "$LOG" || fail "the run did not log into $LOG"
  tail -n 1 "$LOG" | tr -d '\r' | grep -q '^(..system..) Terminating Application' ||
    fail "the log does not end with its closing line"

  # XDG_DATA_HOME, when set, takes the player's folder elsewhere.
  XDG="$WORK/xdg"
  OUT=$(run_launcher "$HOMEDIR" "
    readlink /proc/\$P/cwd > cwd2.txt
    \"$CLOSE\" \$W" env XDG_DATA_HOME="$XDG" "$U/bin/starquarry") || true
  [ "$(cat cwd2.txt 2>/dev/null)" = "$XDG/starquarry" ] || fail "XDG_DATA_HOME ignored: $(cat cwd2.txt 2>/dev/null)"
  [ -L "$XDG/starquarry/deep_shafts.sq" ] && [ -s "$XDG/starquarry/starquarry.log" ] ||
    fail "the XDG_DATA_HOME folder lacks the links or the log: $(ls "$XDG/starquarry" 2>&1)"
fi

# 3. The uninstall removes every file and every folder the install made.
uninstall_from "$STAGE"
[ -d "$STAGE" ] || fail "the uninstall removed the staging folder, which was there before"
LEFT=$(cd "$STAGE" 2>/dev/null && find . -mindepth 1 | head -5)
[ -z "$LEFT" ] || fail "the uninstall left: $LEFT"

# Folders that were there before stay, with what they held.
KEEP="$WORK/keep"
mkdir -p "$KEEP/usr/bin" "$KEEP/usr/share/man/man6"
printf 'other\n' >"$KEEP/usr/bin/other"
install_into "$KEEP" || fail "the second install did not run"
uninstall_from "$KEEP"
(cd "$KEEP" && find . -mindepth 1 | sort) >kept.txt
printf '%s\n' ./usr ./usr/bin ./usr/bin/other ./usr/share ./usr/share/man ./usr/share/man/man6 >want.txt
diff -u want.txt kept.txt || fail "the uninstall touched what the install did not make"

# 4. The Debian package.
# The package owning a library file, under any of the names merged /usr gives it.
owner_of() {
  local Real
  Real=$(readlink -f "$1")
  for F in "$1" "$Real" "${1#/usr}" "/usr${1#/usr}" "${Real#/usr}" "/usr${Real#/usr}"; do
    dpkg -S "$F" 2>/dev/null | head -1 | cut -d: -f1 && return 0
  done
  return 0
}
if ! have dpkg-deb || ! have dpkg-shlibdeps; then
  echo "SKIP (part): dpkg-deb or dpkg-shlibdeps is missing, no package is built"
else
  DEB=$(bash "$SRC/dist/make-deb.sh" "$BUILD" "$WORK/deb" 2>deb.err) || fail "make-deb: $(cat deb.err)"
  if [ -n "${DEB:-}" ] && [ -f "$DEB" ]; then
    dpkg-deb -c "$DEB" | awk '{print $6}' | sed -n 's|^\./usr/||p' | grep -v '/$' | grep . | sort >deb.txt
    { expected_files && echo share/doc/starquarry/copyright; } | sort >deb_want.txt
    diff -u deb_want.txt deb.txt || fail "the package holds other files than the install"
    [ "$(dpkg-deb -f "$DEB" Package)" = starquarry ] || fail "package name"
    DEPENDS=$(dpkg-deb -f "$DEB" Depends)
    # Every library the game links directly comes from a package it depends on.
    for LIB in $(objdump -p "$PLAY/starquarry" | awk '/NEEDED/ {print $2}'); do
      OWNER=$(owner_of "$(ldd "$PLAY/starquarry" | awk -v L="$LIB" '$1 == L {print $3}')")
      [ -n "$OWNER" ] || fail "no package owns $LIB"
      echo "$DEPENDS" | tr ',' '\n' | awk '{print $1}' | grep -qxF "$OWNER" || fail "Depends lacks $OWNER (for $LIB): $DEPENDS"
    done
    if [ "$(id -u)" -ne 0 ]; then
      echo "SKIP (part): not root, the package is not installed with apt"
    elif dpkg-query -W -f='${Status}' starquarry 2>/dev/null | grep -q 'install ok installed'; then
      echo "SKIP (part): a starquarry package is already installed here and is left alone"
    elif ! have apt-get; then
      echo "SKIP (part): apt-get is missing"
    else
      DEB_INSTALLED=1
      DEBIAN_FRONTEND=noninteractive apt-get install -y "$DEB" >apt.txt 2>&1 || fail "apt install: $(tail -5 apt.txt)"
      dpkg-query -W -f='${Status}' starquarry 2>/dev/null | grep -q 'install ok installed' ||
        fail "the package is not installed after apt"
      [ "$(command -v starquarry)" = /usr/bin/starquarry ] || fail "starquarry is not on the PATH"
      /usr/bin/sqtool pack check /usr/share/starquarry/deep_shafts.sq >pkgcheck.txt 2>&1 ||
        fail "the packaged sqtool cannot check the packaged pack: $(tail -2 pkgcheck.txt)"
      DEBIAN_FRONTEND=noninteractive apt-get remove -y --purge starquarry >apt.txt 2>&1 ||
        fail "apt remove: $(tail -5 apt.txt)"
      DEB_INSTALLED=0
      if dpkg-query -W -f='${Status}' starquarry 2>/dev/null | grep -q 'installed'; then
        fail "the package is still installed after removal"
      fi
      for F in /usr/bin/starquarry /usr/bin/sqtool /usr/lib/starquarry /usr/share/starquarry \
        /usr/share/applications/starquarry.desktop /usr/share/doc/starquarry; do
        [ ! -e "$F" ] && [ ! -L "$F" ] || fail "$F is left after removal"
      done
    fi
  fi
fi

if [ "$FAILS" -gt 0 ]; then
  echo "$FAILS check(s) failed"
  exit 1
fi
echo "all install checks passed"
