#!/usr/bin/env bash
# Rates every map of the shipped packs (sqtool solve --rate) and prints, per
# pack, how well the rating follows the order the maps are played in (rank
# correlation, Spearman's rho) and the pack's average rating. The packs were
# ordered by hand from easy to hard, so a rating worth trusting follows them.
#   scripts/rate-calibration.sh [BUILD]   (BUILD defaults to build)
set -euo pipefail
Build=${1:-build}
Play=$Build/play
for Pack in quarry_basics deep_shafts quarry_mix; do
  [ -f "$Play/$Pack.sq" ] || continue
  Count=$("$Play/sqtool" pack check "$Play/$Pack.sq" | tail -1 | cut -d' ' -f1)
  for ((I = 0; I < Count; ++I)); do
    Rating=$("$Play/sqtool" solve "$Play/$Pack.sq" "$I" --rate | sed -n 's/^rating=//p')
    echo "$Pack $I ${Rating:-none}"
  done
done | awk '
  { Pack[NR] = $1; Order[NR] = $2; Rating[NR] = $3; Packs[$1] = 1; print }
  # Ranks with ties sharing their average rank.
  function ranks(Values, N, Out,    I, J, Less, Same) {
    for (I = 1; I <= N; ++I) {
      Less = 0; Same = 0
      for (J = 1; J <= N; ++J) { if (Values[J] < Values[I]) ++Less; else if (Values[J] == Values[I]) ++Same }
      Out[I] = Less + (Same + 1) / 2
    }
  }
  END {
    for (P in Packs) {
      N = 0; Sum = 0
      delete X; delete Y; delete RX; delete RY
      for (I = 1; I <= NR; ++I) if (Pack[I] == P && Rating[I] != "none") { ++N; X[N] = Order[I]; Y[N] = Rating[I]; Sum += Rating[I] }
      ranks(X, N, RX); ranks(Y, N, RY)
      MX = 0; MY = 0
      for (I = 1; I <= N; ++I) { MX += RX[I] / N; MY += RY[I] / N }
      C = 0; VX = 0; VY = 0
      for (I = 1; I <= N; ++I) { C += (RX[I] - MX) * (RY[I] - MY); VX += (RX[I] - MX) ^ 2; VY += (RY[I] - MY) ^ 2 }
      printf "%s: %d maps rated, average %.2f, rank correlation with the order %.2f\n", P, N, Sum / N, (VX > 0 && VY > 0) ? C / sqrt(VX * VY) : 0
    }
  }'
