#!/usr/bin/env bash
# Writes what sqtool play prints for every shipped key script, with seeds 0
# and 3, after every tenth step and at the end (with the last frame as a
# picture), into OUTDIR: one file per script and seed. Two builds of the
# same rules write the same files, so a change meant to keep the world's
# behaviour is checked by
#   scripts/play-outputs.sh build-old/play old; scripts/play-outputs.sh build/play new; diff -r old new
#   PLAYDIR  a play folder: sqtool, the game (its data) and the built packs
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 PLAYDIR OUTDIR" >&2
  exit 1
fi
Root=$(cd "$(dirname "$0")/.." && pwd)
Play=$(cd "$1" && pwd)
mkdir -p "$2"
Out=$(cd "$2" && pwd)
for Folder in "$Root"/levels/*/; do
  Pack=$(basename "$Folder")
  [ -f "$Play/$Pack.sq" ] || continue
  for Script in "$Folder"*.keys; do
    [ -f "$Script" ] || continue
    Map=$(basename "$Script" .keys)
    MapNo=$((10#$Map - 1))
    Keys=$(tr -cd 'UDLR.' <"$Script")
    for Seed in 0 3; do
      File="$Out/$Pack-$Map-seed$Seed.txt"
      : >"$File"
      for ((N = 10; N < ${#Keys}; N += 10)); do
        echo "after $N" >>"$File"
        "$Play/sqtool" play "$Play/$Pack.sq" "$MapNo" --seed "$Seed" --keys "${Keys:0:N}" >>"$File"
      done
      echo "at the end" >>"$File"
      "$Play/sqtool" play "$Play/$Pack.sq" "$MapNo" --seed "$Seed" --keys "$Keys" \
        --shot "$Out/$Pack-$Map-seed$Seed.ppm" >>"$File"
    done
  done
done
echo "play outputs: $(find "$Out" -name '*.txt' | wc -l) scripts and seeds in $2"
