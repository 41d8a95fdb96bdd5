// sqtool solve: searches for a key script that completes a map.
#include <iostream>

#include "graphics/image.h"
#include "graphics/sprite.h"
#include "shell/toolbox.h"
#include "solver/solver.h"
#include "tools/sqtool/command.h"
#include "tools/sqtool/game_data.h"
#include "tools/sqtool/solve_format.h"
#include "world/map_check.h"
#include "world/maps.h"

namespace {
const char* kUsage =
    "usage: sqtool solve PACK MAPNO [--max-steps N] [--seconds S] [--max-states N] [--optimal] [--seed N]\n"
    "                    [--rate] [--data FILE]\n"
    "\n"
    "Searches for a key script (as for sqtool play --keys) that completes map\n"
    "MAPNO (counted from 0) of the level pack PACK, running the game's own\n"
    "rules and frame timing. Prints one of\n"
    "  status=solved steps=N states=S seconds=T   (then the script on a line)\n"
    "  status=unsolvable steps<=N states=S seconds=T\n"
    "  status=unknown states=S seconds=T\n"
    "unsolvable: every state reachable within N steps was searched and none\n"
    "completes the map; unknown: a limit (time, memory) ended the search.\n"
    "A printed script completes the map for every seed from 0 to 9 (the last\n"
    "key is held on while an exit opens later under another seed).\n"
    "\n"
    "--max-steps N  the longest script searched (default 1000)\n"
    "--seconds S    the time the search may take (default 60)\n"
    "--max-states N bounds the search by states expanded instead of time, so\n"
    "               that it ends alike on every machine\n"
    "--optimal      a script with the fewest steps, and proof that none is\n"
    "               shorter (otherwise unknown, even when some script was found)\n"
    "--seed N       seeds the looks and animations of the searched world (default 0)\n"
    "--rate         when solved, a last line rating=R: how hard the map is, from\n"
    "               1.0 to 5.0, by a search of its own bounded by states (the\n"
    "               same rating on every machine): the states it searched, the\n"
    "               steps, the diamonds, what the way needs beyond digging\n"
    "--data FILE    the game's data archive (as for sqtool play)\n"
    "\n"
    "A map that cannot be loaded, or whose blocks the data archive has no\n"
    "pictures for, is an error (no status line). Exits 0 when solved, 1\n"
    "otherwise.\n";

// Why the map cannot be judged: a verdict on a map that did not load, or
// that plays without the game's block images (the exit never opens without
// its animation), would be a verdict on something else. Empty when it can.
std::string Unplayable(const TMaps& Pack, int MapNo, const std::string& Data) {
  const TMapCheck Checked = CheckMap(Pack, *Pack.Maps[static_cast<size_t>(MapNo)]);
  if (!Checked.Error.empty()) return "cannot be loaded: " + Checked.Error;
  if (!Checked.Missing.empty())
    return "has blocks without an image (" + Checked.Missing + "): '" + (Data.empty() ? DefaultGameData() : Data) +
           "' is not the game's data archive";
  return {};
}

int Solve(const TArgs& Args) {
  std::string Data;
  TSolveOptions Options;
  bool Rate = false;
  std::vector<std::string> Plain;
  for (size_t I = 0; I < Args.size(); ++I) {
    const std::string& A = Args[I];
    const bool HasValue = I + 1 < Args.size();
    if (A == "--max-steps" && HasValue) {
      const int64_t V = VXToolbox::StrToIntDef(Args[++I], -1);
      if (V < 0 || V > 65535) return SqFail("bad step count '" + Args[I] + "' (0 to 65535)");
      Options.MaxSteps = static_cast<int>(V);
    } else if (A == "--seconds" && HasValue) {
      if (!ParseSeconds(Args[++I], Options.Seconds)) return SqFail("bad time '" + Args[I] + "'");
    } else if (A == "--seed" && HasValue) {
      const int64_t V = VXToolbox::StrToIntDef(Args[++I], -1);
      if (V < 0 || V > 0xFFFFFFFFLL) return SqFail("bad seed '" + Args[I] + "'");
      Options.Seed = static_cast<uint32_t>(V);
    } else if (A == "--data" && HasValue) {
      Data = Args[++I];
    } else if (A == "--max-states" && HasValue) {
      Options.MaxStates = VXToolbox::StrToIntDef(Args[++I], -1);
      if (Options.MaxStates < 1) return SqFail("bad state count '" + Args[I] + "'");
    } else if (A == "--optimal") {
      Options.Optimal = true;
    } else if (A == "--rate") {
      Rate = true;
    } else if (A.rfind("--", 0) == 0) {
      return SqFail("unknown or incomplete option '" + A + "' (see sqtool help solve)");
    } else {
      Plain.push_back(A);
    }
  }
  if (Plain.size() != 2) return SqFail("usage: sqtool solve PACK MAPNO [--max-steps N] [--seconds S] [--optimal]");
  const int64_t MapNo = VXToolbox::StrToIntDef(Plain[1], -1);
  if (MapNo < 0) return SqFail("bad map number '" + Plain[1] + "'");
  if (!MountGameData(Data))
    return SqFail("cannot mount the data archive '" + (Data.empty() ? DefaultGameData() : Data) + "'");

  TImage Screen(640, 480);
  SetDefaultSpriteTarget(&Screen);
  Maps = std::make_unique<TMaps>();
  int Exit = 1;
  if (!Maps->Load(Plain[0])) {
    SqFail("cannot load level pack '" + Plain[0] + "'");
  } else if (MapNo >= Maps->MapCount()) {
    SqFail("level pack '" + Plain[0] + "' has no map " + std::to_string(MapNo) + " (it has " +
           std::to_string(Maps->MapCount()) + ")");
  } else if (const std::string Problem = Unplayable(*Maps, static_cast<int>(MapNo), Data); !Problem.empty()) {
    SqFail("map " + Plain[1] + " of '" + Plain[0] + "' " + Problem);
  } else {
    const TSolveResult R = SolveMap(*Maps, static_cast<int>(MapNo), Options);
    std::cout << SolveReport(R, Options.MaxSteps);
    if (TMapRating Rating;
        Rate && R.Status == TSolveResult::TStatus::Solved && RateMap(*Maps, static_cast<int>(MapNo), Rating, &R))
      std::cout << "rating=" << RatingText(Rating.Value) << "\n";
    Exit = R.Status == TSolveResult::TStatus::Solved ? 0 : 1;
  }
  Maps.reset();
  SetDefaultSpriteTarget(nullptr);
  return Exit;
}

TSqCommand Command({"solve", "search for a key script that completes a map", kUsage, Solve});
}  // namespace
