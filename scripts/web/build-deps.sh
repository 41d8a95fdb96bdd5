#!/usr/bin/env bash
# Builds the libraries the web build links (zlib, libmpg123, libopenmpt) with
# Emscripten from Debian's source packages, once, into DEPS (build/web-deps by
# default). Debian's emscripten cannot fetch its own ports, so the sources
# come from the same mirror and suite as the machine's binary packages.
set -euo pipefail

DEPS=${1:-build/web-deps}
mkdir -p "$DEPS"
DEPS=$(cd "$DEPS" && pwd)
PREFIX=$DEPS/prefix
SRC=$DEPS/src
STAMP=$PREFIX/.built-v1
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
JOBS=${JOBS:-2}

if [ -f "$STAMP" ]; then
  exit 0
fi

# A deb-src entry beside each deb822 source the machine uses.
ensure_deb_src() {
  local added=0 f out
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    case "$f" in *-src.sources) continue ;; esac
    grep -q '^Types:.*deb-src' "$f" && continue
    grep -q 'debian' "$f" || continue
    out=${f%.sources}-src.sources
    [ -f "$out" ] && continue
    if [ "$(id -u)" -ne 0 ]; then
      echo "The web build needs Debian source packages; run as root once: make web" >&2
      exit 1
    fi
    sed 's/^Types:.*/Types: deb-src/' "$f" >"$out"
    added=1
  done
  if [ $added -eq 1 ] || ! apt-cache showsrc zlib >/dev/null 2>&1 ||
    [ -z "$(apt-cache showsrc zlib 2>/dev/null)" ]; then
    apt-get update -qq
  fi
}

fetch() { # package -> prints its unpacked folder
  local pkg=$1 dir
  dir=$(find "$SRC" -maxdepth 1 -mindepth 1 -type d -name "$pkg-*" | head -n1)
  if [ -z "$dir" ]; then
    # The newest version first; a mirror that lacks one (a security
    # update's pool, say) falls back to the next.
    local v
    for v in $(apt-cache showsrc "$pkg" | awk '/^Version:/ {print $2}' | sort -rV | uniq); do
      (cd "$SRC" && apt-get source -qq --download-only "$pkg=$v" >/dev/null 2>&1) || true
      # The upstream tarball is all the build needs (a missing signature
      # file beside it does not matter).
      local orig
      # File names leave out the version's epoch ("1:") and Debian revision.
      local upstream=${v#*:}
      orig=$(ls "$SRC/${pkg}_${upstream%-*}".orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -n1 || true)
      if [ -n "$orig" ]; then
        (cd "$SRC" && tar xf "$orig")
        break
      fi
    done
    dir=$(find "$SRC" -maxdepth 1 -mindepth 1 -type d -name "$pkg-*" | head -n1)
  fi
  if [ -z "$dir" ]; then
    echo "web deps: cannot fetch the source of $pkg" >&2
    exit 1
  fi
  echo "$dir"
}

mkdir -p "$SRC" "$PREFIX"
ensure_deb_src

FLAGS="-O2"

if [ ! -f "$PREFIX/include/zlib.h" ]; then
  d=$(fetch zlib) || exit 1
  echo "web deps: zlib"
  (cd "$d" && CFLAGS="$FLAGS" emconfigure ./configure --static --prefix="$PREFIX" >/dev/null &&
    emmake make -j"$JOBS" libz.a >/dev/null && emmake make install >/dev/null)
fi

if [ ! -f "$PREFIX/lib/libmpg123.a" ]; then
  d=$(fetch mpg123) || exit 1
  echo "web deps: libmpg123"
  (cd "$d" && CFLAGS="$FLAGS" emconfigure ./configure --host=wasm32 --prefix="$PREFIX" \
    --disable-shared --enable-static --with-cpu=generic_fpu --disable-components \
    --enable-libmpg123 --with-default-audio=dummy --with-audio=dummy --disable-modules >/dev/null &&
    emmake make -j"$JOBS" >/dev/null && emmake make install >/dev/null)
fi

if [ ! -f "$PREFIX/lib/libopenmpt.a" ]; then
  d=$(fetch libopenmpt) || exit 1
  echo "web deps: libopenmpt"
  (cd "$d" && CXXFLAGS="$FLAGS" CFLAGS="$FLAGS" emconfigure ./configure --host=wasm32 --prefix="$PREFIX" \
    --disable-shared --enable-static --disable-openmpt123 --disable-examples --disable-tests \
    --disable-doxygen-doc --without-zlib --without-mpg123 --without-ogg --without-vorbis \
    --without-vorbisfile --without-portaudio --without-portaudiocpp --without-pulseaudio \
    --without-sndfile --without-flac >/dev/null &&
    emmake make -j"$JOBS" >/dev/null && emmake make install >/dev/null)
fi

touch "$STAMP"
