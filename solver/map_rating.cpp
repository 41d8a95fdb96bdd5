#include <algorithm>
#include <cmath>
#include <cstdio>

#include "shell/random.h"
#include "solver/solver.h"
#include "world/map_runner.h"
#include "world/maps.h"

namespace {

// The weights were fitted on the shipped packs, whose maps grow harder in
// the order they are played (see scripts/rate-calibration.sh).
constexpr double kPerDecade = 0.1;  // per tenfold states searched
constexpr double kPerStep = 0.015;
constexpr double kPerWait = 0.0;  // the shipped maps' waits told nothing of their order
constexpr double kPerNeed = 0.2;
constexpr double kPerDiamond = 0.1;
constexpr double kBase = -1.555;

// Replays Keys from the map's start and notes what the world did.
void Observe(const TMaps& Pack, int MapNo, const std::string& Keys, TMapRating& Rating) {
  TMaps W(Pack);
  W.AnimateLooks = false;
  W.Effects = [&Rating](const std::string& Name) {
    if (Name == "BoulderDown" || Name == "DiamondDown") Rating.Falls = true;
    else if (Name == "Pushing") Rating.Pushes = true;
    else if (Name == "Explosion") Rating.Blasts = true;
    else if (Name == "BalloonUp") Rating.Balloons = true;
    else if (Name == "TunnelStart") Rating.Tunnels = true;
  };
  VXRandom::Seed(0);
  TMapRun Run;
  Run.MapNo = MapNo;
  StartMapRun(W, Run);
  Rating.Diamonds = W.DiamondsLeft;
  for (char Key : Keys) {
    if (Run.Completed) break;
    AdvanceMapStep(W, Run, ElfKeysFor(Key));
  }
  W.Effects = {};
}

}  // namespace

bool RateMap(const TMaps& Pack, int MapNo, TMapRating& Rating, const TSolveResult* Found) {
  TSolveOptions Options;
  Options.MaxStates = kRatingStates;
  Options.MaxSteps = 1000;
  TSolveResult Search = SolveMap(Pack, MapNo, Options);
  if (Search.Status != TSolveResult::TStatus::Solved) {
    if (!Found || Found->Status != TSolveResult::TStatus::Solved) return false;
    Search.Keys = Found->Keys;
    Search.States = kRatingStates;
  }
  TMapRating& R = Rating;
  R = TMapRating{};
  R.States = Search.States;
  R.Steps = static_cast<int>(Search.Keys.size());
  R.Waits = static_cast<int>(std::count(Search.Keys.begin(), Search.Keys.end(), '.'));
  Observe(Pack, MapNo, Search.Keys, R);
  const double Raw = kBase + kPerDecade * std::log10(static_cast<double>(std::max<int64_t>(R.States, 1))) +
                     kPerStep * R.Steps + kPerWait * R.Waits + kPerNeed * R.Needs() + kPerDiamond * R.Diamonds;
  R.Value = std::round(std::clamp(1.0 + Raw, 1.0, 5.0) * 10) / 10;
  return true;
}

std::string RatingText(double Value) {
  char Text[16];
  std::snprintf(Text, sizeof Text, "%.1f", Value);
  return Text;
}
