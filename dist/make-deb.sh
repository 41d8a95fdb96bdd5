#!/usr/bin/env bash
# Builds the Debian package of the same tree `make install` installs, from an
# already built build folder, with PREFIX /usr.
# Usage: make-deb.sh BUILD_DIR OUT_DIR   (prints the package's path)
# The runtime dependencies come from dpkg-shlibdeps, which reads the shared
# libraries the game and sqtool link and the minimum versions their symbols
# need, so the package follows whatever the build was linked against.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR OUT_DIR" >&2; exit 2; }
BUILD=$(cd "$1" && pwd)
mkdir -p "$2"
OUT=$(cd "$2" && pwd)
DIST=$(cd "$(dirname "$0")" && pwd)

VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
[ -n "$VERSION" ] || { echo "make-deb: no project version in $BUILD/CMakeCache.txt" >&2; exit 1; }
ARCH=$(dpkg --print-architecture)

umask 022
STAGE=$(mktemp -d)
trap 'rm -rf "$STAGE"' EXIT
ROOT="$STAGE/root"
DESTDIR="$ROOT" cmake --install "$BUILD" --prefix /usr >/dev/null
# The staging tree is no install to undo later: its folders leave the build's record.
RECORD="$BUILD/install_folders.txt"
if [ -f "$RECORD" ]; then
  grep -vF "$STAGE/" "$RECORD" > "$STAGE/record" || true
  if [ -s "$STAGE/record" ]; then cp "$STAGE/record" "$RECORD"; else rm -f "$RECORD"; fi
fi
# Packaged programs go without their debugging data. Stripping would drop the
# archive appended to the game, so the game is joined again from its stripped
# linked program and the archive, once the two are shown to make the built game.
# shellcheck source=/dev/null
. "$BUILD/dist/pieces.env"
LIBDIR="$ROOT/usr/lib/starquarry"
if ! cat "$GAME_LINKED" "$DATA_ARCHIVE" | cmp -s - "$LIBDIR/starquarry"; then
  echo "make-deb: the installed game is not $GAME_LINKED with $DATA_ARCHIVE appended" >&2
  exit 1
fi
strip --strip-unneeded -o "$STAGE/game" "$GAME_LINKED"
cat "$STAGE/game" "$DATA_ARCHIVE" > "$LIBDIR/starquarry"
strip --strip-unneeded "$LIBDIR/sqtool"
install -D -m 644 "$DIST/copyright" "$ROOT/usr/share/doc/starquarry/copyright"

# dpkg-shlibdeps wants to run inside a source tree with a control file.
mkdir -p "$STAGE/src/debian"
printf 'Source: starquarry\n\nPackage: starquarry\nArchitecture: any\n' > "$STAGE/src/debian/control"
DEPENDS=$(cd "$STAGE/src" && dpkg-shlibdeps -O -e"$ROOT/usr/lib/starquarry/starquarry" \
  -e"$ROOT/usr/lib/starquarry/sqtool" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[ -n "$DEPENDS" ] || { echo "make-deb: dpkg-shlibdeps found no dependencies" >&2; exit 1; }

SIZE=$(du -sk "$ROOT" | cut -f1)
mkdir -p "$ROOT/DEBIAN"
CONTROL=$(<"$DIST/control.in")
CONTROL=${CONTROL//@VERSION@/$VERSION}
CONTROL=${CONTROL//@ARCH@/$ARCH}
CONTROL=${CONTROL//@SIZE@/$SIZE}
CONTROL=${CONTROL//@DEPENDS@/$DEPENDS}
printf '%s\n' "$CONTROL" > "$ROOT/DEBIAN/control"

DEB="$OUT/starquarry_${VERSION}_${ARCH}.deb"
dpkg-deb --root-owner-group --build "$ROOT" "$DEB" >/dev/null
echo "$DEB"
