// sqtool play: a headless run of one map, frame by frame as the game runs it.
#include <iostream>
#include <sstream>

#include "graphics/image.h"
#include "graphics/ppm_writer.h"
#include "graphics/sprite.h"
#include "shell/random.h"
#include "shell/toolbox.h"
#include "tools/sqtool/command.h"
#include "tools/sqtool/game_data.h"
#include "tools/sqtool/headless_run.h"
#include "world/maps.h"

namespace {
const char* kUsage =
    "usage: sqtool play PACK MAPNO [--keys STEPS] [--seed N] [--data FILE] [--shot FILE]\n"
    "\n"
    "Runs map MAPNO (counted from 0) of the level pack PACK without a window,\n"
    "one step every 7 frames as the game does, and prints\n"
    "  status=completed|dead|playing steps=N diamonds=D elf=X,Y\n"
    "followed by the 12 rows of the grid as tile codes.\n"
    "\n"
    "--keys STEPS  one character per step: U, D, L, R (arrow held) or . (none);\n"
    "              --keys @FILE reads them from FILE (white space ignored);\n"
    "              at most 4194304 steps\n"
    "--seed N      seeds the random looks of the blocks (default 0)\n"
    "--data FILE   the game's data archive (default: the starquarry program\n"
    "              beside sqtool, or Starquarry.mad4 beside it)\n"
    "--shot FILE   writes the last frame (640x480) as a binary PPM\n"
    "\n"
    "It stops after the last step, when the map is completed, or 16 steps\n"
    "after the elf died.\n";

bool ReadKeys(const std::string& Value, std::string& Keys, std::string& Error) {
  if (!Value.empty() && Value[0] == '@') return ReadKeyScriptFile(Value.substr(1), Keys, Error);
  return ParseKeyScript(Value, Keys, Error);
}

int Play(const TArgs& Args) {
  std::string Pack, MapText, Keys, Data, Shot;
  uint32_t Seed = 0;
  std::vector<std::string> Plain;
  for (size_t I = 0; I < Args.size(); ++I) {
    const std::string& A = Args[I];
    const bool HasValue = I + 1 < Args.size();
    std::string Error;
    if (A == "--keys" && HasValue) {
      if (!ReadKeys(Args[++I], Keys, Error)) return SqFail(Error);
    } else if (A == "--seed" && HasValue) {
      const int64_t V = VXToolbox::StrToIntDef(Args[++I], -1);
      if (V < 0 || V > 0xFFFFFFFFLL) return SqFail("bad seed '" + Args[I] + "'");
      Seed = static_cast<uint32_t>(V);
    } else if (A == "--data" && HasValue) {
      Data = Args[++I];
    } else if (A == "--shot" && HasValue) {
      Shot = Args[++I];
    } else if (A.rfind("--", 0) == 0) {
      return SqFail("unknown or incomplete option '" + A + "' (see sqtool help play)");
    } else {
      Plain.push_back(A);
    }
  }
  if (Plain.size() != 2) return SqFail("usage: sqtool play PACK MAPNO [--keys STEPS] [--seed N] [--data FILE]");
  Pack = Plain[0];
  const int64_t MapNo = VXToolbox::StrToIntDef(Plain[1], -1);
  if (MapNo < 0) return SqFail("bad map number '" + Plain[1] + "'");

  if (!MountGameData(Data))
    return SqFail("cannot mount the data archive '" + (Data.empty() ? DefaultGameData() : Data) + "'");

  // Every frame is drawn off screen, so animations (and with them the
  // opening of the exit) run exactly as in the game.
  TImage Screen(640, 480);
  SetDefaultSpriteTarget(&Screen);
  VXRandom::Seed(Seed);

  Maps = std::make_unique<TMaps>();
  if (!Maps->Load(Pack)) return SqFail("cannot load level pack '" + Pack + "'");
  if (MapNo >= Maps->MapCount())
    return SqFail("level pack '" + Pack + "' has no map " + std::to_string(MapNo) + " (it has " +
                  std::to_string(Maps->MapCount()) + ")");

  const THeadlessResult Run = RunHeadless(*Maps, static_cast<int>(MapNo), Keys, Screen);
  const int Steps = Run.Steps;
  const char* Status = Run.Completed ? "completed" : Run.Dead ? "dead" : "playing";
  std::ostringstream Out;
  Out << "status=" << Status << " steps=" << Steps << " diamonds=" << Maps->DiamondsLeft << " elf=" << Maps->ElfX << ","
      << Maps->ElfY << "\n";
  for (int Y = 0; Y < TMaps::kRows; ++Y) {
    for (int X = 0; X < TMaps::kCols; ++X) Out << (X ? " " : "") << Maps->Code(X, Y);
    Out << "\n";
  }
  std::cout << Out.str();
  if (!Shot.empty() && !SaveImagePPM(Screen, Shot)) return SqFail("cannot write '" + Shot + "'");
  Maps.reset();
  SetDefaultSpriteTarget(nullptr);
  return 0;
}

TSqCommand Command({"play", "run a map of a level pack without a window", kUsage, Play});
}  // namespace
