#!/usr/bin/env bash
# Checks that every library folder includes only itself and the libraries it
# depends on (directly or through them), as its CMakeLists.txt declares them
# with sq_library(NAME DEPS ...); the tests of a folder likewise, plus the
# test helpers; that SDL's headers stay in graphics/ and audio/; and that
# callers of the solver include its one public header. Prints each include that reaches upward; exits 1 when any does.
set -euo pipefail
Root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$Root"

declare -A Deps
Libraries=()
for List in */CMakeLists.txt; do
  Folder=${List%/CMakeLists.txt}
  Line=$(grep -o 'sq_library(sq_[a-z_]* DEPS[^)]*)' "$List" || true)
  [ -n "$Line" ] || continue
  Libraries+=("$Folder")
  Deps[$Folder]=$(echo "$Line" | grep -o 'sq_[a-z_]*' | tail -n +2 | sed 's/^sq_//' | tr '\n' ' ')
done

# Everything a folder may reach: its dependencies and theirs.
Reach() {
  local -A Seen=()
  local Todo=("$1") Next
  while [ ${#Todo[@]} -gt 0 ]; do
    Next=${Todo[0]}
    Todo=("${Todo[@]:1}")
    [ -n "${Seen[$Next]:-}" ] && continue
    Seen[$Next]=1
    for D in ${Deps[$Next]:-}; do Todo+=("$D"); done
  done
  echo "${!Seen[@]}"
}

IsLibrary() {
  local L
  for L in "${Libraries[@]}"; do [ "$L" = "$1" ] && return 0; done
  return 1
}

Status=0
# Check FOLDER ALLOWED...: the includes of the files under FOLDER.
Check() {
  local Folder=$1
  shift
  local Allowed=" $* "
  [ -d "$Folder" ] || return 0
  while IFS=: read -r File Number Text; do
    local Target=${Text#*\"}
    Target=${Target%%/*}
    IsLibrary "$Target" || continue
    case "$Allowed" in
      *" $Target "*) ;;
      *) echo "$File:$Number: $Folder may not include $Target/ ($Text)"; Status=1 ;;
    esac
  done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "[a-z_]*/' "$Folder" || true)
}

for Folder in "${Libraries[@]}"; do
  Reachable=$(Reach "$Folder")
  Check "$Folder" $Reachable
  # tests/<folder>/ also reaches the test helpers and the tests below it.
  Check "tests/$Folder" $Reachable
done
# Only the video, graphics and audio code sees SDL.
for Folder in "${Libraries[@]}"; do
  case "$Folder" in graphics | audio) continue ;; esac
  while IFS= read -r Hit; do
    echo "$Hit: only graphics/ and audio/ include SDL"
    Status=1
  done < <(grep -rn --include='*.h' --include='*.cpp' '^#include <SDL' "$Folder" || true)
done
# The solver shows its header and the generator's (maps made from a seed
# stand on the search alone); its search stays inside solver/ (and its tests).
while IFS= read -r Hit; do
  echo "$Hit: outside solver/ only solver/solver.h and solver/generator.h are included"
  Status=1
done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "solver/' . --exclude-dir=build* --exclude-dir=.git |
  grep -v '^\./solver/\|^\./tests/solver/\|"solver/solver\.h"\|"solver/generator\.h"' || true)
if [ $Status -eq 0 ]; then echo "layers: ${#Libraries[@]} libraries, no include reaches upward"; fi
exit $Status
