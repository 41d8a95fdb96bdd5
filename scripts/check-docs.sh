#!/usr/bin/env bash
# Checks that every switch the game reads from its command line is named in
# the README's command line section and in the game's man page. The switches
# are taken from the code that reads them (the parameters' FindSwitch,
# SwitchValue and Exists calls, and the help and version words the entry
# answers), so a new switch cannot slip by undocumented. Prints each one
# missing; exits 1 when any is.
set -euo pipefail
Root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$Root"

Sources=$(ls app/*.cpp app/main/*.cpp shell/*.cpp game/*.cpp editor/*.cpp 2>/dev/null)
# shellcheck disable=SC2086
Switches=$(grep -ohE '(FindSwitch|SwitchValue)\("[A-Za-z]+"' $Sources | sed -E 's/.*\("([A-Za-z]+)"/-\1/' | sort -u)
# shellcheck disable=SC2086
Words=$(grep -ohE 'Exists\("[A-Za-z]+"\)|"(--help|-h|--version)"' $Sources |
  sed -E 's/Exists\("([A-Za-z]+)"\)/\1/; s/"//g' | sort -u)

# The README's part from its command line heading to the next heading.
Readme=$(sed -n '/^## Command line/,/^## [^C]/p' README.md)
Man=dist/starquarry.6
Missing=0
Count=0
for S in $Switches $Words; do
  Count=$((Count + 1))
  if ! grep -qF -- "$S" <<<"$Readme"; then
    echo "README.md, Command line: $S is not named"
    Missing=$((Missing + 1))
  fi
  # The man page writes every "-" as "\-".
  if ! grep -qF -- "${S//-/\\-}" "$Man"; then
    echo "$Man: $S is not named"
    Missing=$((Missing + 1))
  fi
done
if [ "$Count" -lt 5 ]; then
  echo "only $Count switches found in the code: the search no longer matches how switches are read"
  exit 1
fi
if [ "$Missing" -gt 0 ]; then
  echo "$Missing switch name(s) missing from the documentation"
  exit 1
fi
echo "docs: $Count switches, each in README.md and $Man"
