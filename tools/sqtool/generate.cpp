// sqtool generate: level packs of maps made from a seed and proven by the solver.
#include <cmath>
#include <iostream>

#include "graphics/image.h"
#include "graphics/sprite.h"
#include "maps/xmap.h"
#include "shell/toolbox.h"
#include "solver/generator.h"
#include "tools/sqtool/command.h"
#include "tools/sqtool/game_data.h"
#include "world/block_images.h"
#include "world/pack_writer.h"

namespace {

const char* const kUsage =
    "usage: sqtool generate --seed N [--difficulty 1-5] [--count K] [--out PACK.sq] [--name TEXT]\n"
    "                       [--max-states N] [--data FILE]\n"
    "\n"
    "Makes K maps (default 1) of 20x12 cells from the seed N (0 to 4294967295).\n"
    "Candidates are drawn one after another; a map is kept only when the\n"
    "solver completes it, its way takes at least 30 steps, and it cannot be\n"
    "completed by walking and digging alone. With --difficulty, only maps\n"
    "whose rating (as sqtool solve --rate prints it) rounds to D are kept.\n"
    "The same arguments make the same maps on any machine: the search is\n"
    "bounded by states (--max-states, default 60000 a candidate), not by time.\n"
    "\n"
    "Prints one line per map:\n"
    "  map=I seed=S difficulty=D steps=N\n"
    "I counted from 0, S the seed that makes that map first, D its rating\n"
    "rounded to a whole difficulty from 1 to 5 as --difficulty counts it\n"
    "(sqtool solve --rate prints the rating itself), N the length of the\n"
    "solver's script. With --out, the maps are written as a level pack named\n"
    "TEXT (default \"Generated Quarry\"), each map's script beside it as the\n"
    "member NNN.keys (sqtool pack check PACK --solutions replays them);\n"
    "otherwise each line is followed by the map in MAPT form.\n"
    "--data FILE    the game's data archive (as for sqtool play)\n"
    "\n"
    "Exits 1 when no map could be made within 5000 candidates.\n";

// A key script as the shipped solutions hold them: 60 keys a line.
std::string ScriptText(const std::string& Keys) {
  std::string Text;
  for (size_t I = 0; I < Keys.size(); I += 60) Text += Keys.substr(I, 60) + "\n";
  return Text;
}

struct TGenerateArgs {
  int64_t Seed = -1;
  int64_t Count = 1;
  std::string Out, Name = "Generated Quarry", Data;
  TGenerateOptions Options;
};

// Reads the command line; 0 when it is good, else the exit code after the message.
int ParseArgs(const TArgs& Args, TGenerateArgs& G) {
  for (size_t I = 0; I < Args.size(); ++I) {
    const std::string& A = Args[I];
    if (I + 1 >= Args.size() || A.rfind("--", 0) != 0)
      return SqFail("unknown or incomplete argument '" + A + "' (see sqtool help generate)");
    const std::string& V = Args[++I];
    if (A == "--seed") {
      G.Seed = VXToolbox::StrToIntDef(V, -1);
      if (G.Seed < 0 || G.Seed > 0xFFFFFFFFLL) return SqFail("bad seed '" + V + "' (0 to 4294967295)");
    } else if (A == "--difficulty") {
      G.Options.Difficulty = static_cast<int>(VXToolbox::StrToIntDef(V, -1));
      if (G.Options.Difficulty < 1 || G.Options.Difficulty > 5) return SqFail("bad difficulty '" + V + "' (1 to 5)");
    } else if (A == "--count") {
      G.Count = VXToolbox::StrToIntDef(V, -1);
      if (G.Count < 1 || G.Count > kMaxPackMaps) return SqFail("bad count '" + V + "' (1 to 999)");
    } else if (A == "--max-states") {
      G.Options.MaxStates = VXToolbox::StrToIntDef(V, -1);
      if (G.Options.MaxStates < 1) return SqFail("bad state count '" + V + "'");
    } else if (A == "--out") {
      G.Out = V;
    } else if (A == "--name") {
      G.Name = V;
      if (V.find_first_of("\r\n") != std::string::npos) return SqFail("--name must be one line");
    } else if (A == "--data") {
      G.Data = V;
    } else {
      return SqFail("unknown option '" + A + "' (see sqtool help generate)");
    }
  }
  if (G.Seed < 0) return SqFail("usage: sqtool generate --seed N [--difficulty 1-5] [--count K] [--out PACK.sq]");
  return 0;
}

int Generate(const TArgs& Args) {
  TGenerateArgs G;
  if (const int Bad = ParseArgs(Args, G)) return Bad;
  if (!MountGameData(G.Data))
    return SqFail("cannot mount the data archive '" + (G.Data.empty() ? DefaultGameData() : G.Data) + "'");
  // The exit's animation decides when it opens: the searched worlds need
  // the game's block images.
  LoadBlockImages();
  TImage Screen(640, 480);
  SetDefaultSpriteTarget(&Screen);
  std::vector<std::shared_ptr<const TXMap>> Made;
  std::vector<TPackMember> Scripts;
  uint32_t Seed = static_cast<uint32_t>(G.Seed);
  int Exit = 0;
  for (int I = 0; I < G.Count; ++I) {
    TGeneratedMap Map;
    if (!GenerateMap(Seed, G.Options, Map)) {
      Exit = SqFail("no map found for map " + std::to_string(I) + " within " + std::to_string(G.Options.MaxCandidates) +
                    " candidates");
      break;
    }
    std::cout << "map=" << I << " seed=" << Map.Seed << " difficulty=" << std::lround(Map.Rating.Value)
              << " steps=" << Map.Keys.size() << "\n";
    if (G.Out.empty()) {
      const std::vector<uint8_t> Text = MapAsMapt(*Map.Map);
      std::cout.write(reinterpret_cast<const char*>(Text.data()), static_cast<std::streamsize>(Text.size()));
    }
    std::cout.flush();
    const std::string Keys = ScriptText(Map.Keys);
    Scripts.push_back({VXToolbox::PaddedNumber(I + 1, 3, '0') + ".keys", {Keys.begin(), Keys.end()}});
    Made.push_back(Map.Map);
  }
  std::string Error;
  if (Exit == 0 && !G.Out.empty() && !WritePack(G.Out, G.Name, "sqtool generate", Made, Scripts, Error))
    Exit = SqFail(Error);
  SetDefaultSpriteTarget(nullptr);
  ClearBlockImages();
  return Exit;
}

TSqCommand Command({"generate", "make maps from a seed, each proven by the solver", kUsage, Generate});

}  // namespace
