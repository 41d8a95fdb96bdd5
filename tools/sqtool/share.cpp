// sqtool share, unshare and share-run: a map, or a player's run of it, as
// the share code a link carries (PAGE#map=CODE, PAGE#run=CODE), and back.
#include <iostream>

#include "graphics/image.h"
#include "graphics/sprite.h"
#include "registry/player_reg.h"
#include "registry/player_registry.h"
#include "registry/run_store.h"
#include "registry/store_file.h"
#include "shell/toolbox.h"
#include "solver/solver.h"
#include "tools/sqtool/command.h"
#include "tools/sqtool/game_data.h"
#include "tools/sqtool/key_script.h"
#include "tools/sqtool/solve_format.h"
#include "world/map_check.h"
#include "world/maps.h"
#include "world/pack_ways.h"
#include "world/share_code.h"

namespace {

const char* const kShareUsage =
    "usage: sqtool share PACK MAPNO [--no-way] [--keys FILE] [--seconds S] [--data FILE]\n"
    "\n"
    "Prints the share code of map MAPNO (counted from 0) of the level pack\n"
    "PACK: its name, author and cells and a way through it, so that the game\n"
    "that opens the code shows the map as proven. The page opens it from the\n"
    "link PAGE#map=CODE, the game from starquarry -shared CODE.\n"
    "\n"
    "The way is the key script FILE (--keys, as for sqtool play), else the one\n"
    "the pack carries as its member NNN.keys (as sqtool generate stores them),\n"
    "else the solver's (as sqtool solve, S seconds, default 60); a way is cut\n"
    "where it completes the map.\n"
    "--no-way     the code without a way: the game that opens it has the\n"
    "             solver look for one first\n"
    "--data FILE  the game's data archive (as for sqtool play)\n"
    "\n"
    "Exits 1 when the map cannot be loaded or played, FILE does not complete\n"
    "it, or no way is found (the map cannot be completed, or not in S seconds).\n";

const char* const kUnshareUsage =
    "usage: sqtool unshare CODE --out PACK.sq\n"
    "\n"
    "Writes the map of a share code (from sqtool share or share-run, or the\n"
    "page's link PAGE#map=CODE or PAGE#run=CODE whole) as a level pack of one\n"
    "map, named after the map, with the code's way (or run) as its member\n"
    "001.keys. Prints what the code held:\n"
    "  map \"NAME\" by AUTHOR WxH way=N|none       for a map code\n"
    "  map \"NAME\" by AUTHOR WxH run=N by PLAYER  for a run code\n"
    "A code cut short or damaged is refused with the reason; nothing is\n"
    "written then.\n";

const char* const kShareRunUsage =
    "usage: sqtool share-run PACK MAPNO --player NAME (--keys FILE | --runs RUNSFILE) [--data FILE]\n"
    "\n"
    "Prints the share code of a player's run of map MAPNO (counted from 0) of\n"
    "the level pack PACK: the map and the keys of the run's steps. The page\n"
    "plays the link PAGE#run=CODE back as W does, then offers the map; the\n"
    "game does so for starquarry -shared CODE.\n"
    "\n"
    "The run is the key script FILE (as for sqtool play), or NAME's best run\n"
    "of the map in RUNSFILE (the game's Starquarry.runs; the registry beside\n"
    "it names the players). A run that completes the map is cut there.\n"
    "--data FILE  the game's data archive (as for sqtool play)\n";

// The options of the three commands, and the words that are not options.
struct TShareArgs {
  TArgs Plain;
  std::string Keys, Runs, Player, Data, Out;
  bool NoWay = false;
  double Seconds = 60;
  std::string SecondsText = "60";
};

bool ParseArgs(const TArgs& Args, TShareArgs& A, const std::string& Command) {
  for (size_t I = 0; I < Args.size(); ++I) {
    const std::string& Arg = Args[I];
    const bool HasValue = I + 1 < Args.size();
    std::string* Value = Arg == "--keys"     ? &A.Keys
                         : Arg == "--runs"   ? &A.Runs
                         : Arg == "--player" ? &A.Player
                         : Arg == "--data"   ? &A.Data
                         : Arg == "--out"    ? &A.Out
                                             : nullptr;
    if (Value && HasValue) {
      *Value = Args[++I];
    } else if (Arg == "--seconds" && HasValue) {
      A.SecondsText = Args[++I];
      if (!ParseSeconds(A.SecondsText, A.Seconds)) return SqFail("bad time '" + A.SecondsText + "'"), false;
    } else if (Arg == "--no-way") {
      A.NoWay = true;
    } else if (Arg.rfind("--", 0) == 0) {
      return SqFail("unknown or incomplete option '" + Arg + "' (see sqtool help " + Command + ")"), false;
    } else {
      A.Plain.push_back(Arg);
    }
  }
  return true;
}

// The pack loaded into Maps as the game loads it, the game's data mounted
// (the replay and the solver need its block images), map MapNo playable.
// False after the message; Maps is then empty.
class TLoadedPack {
 public:
  TLoadedPack() { SetDefaultSpriteTarget(&FScreen); }
  TLoadedPack(const TLoadedPack&) = delete;
  TLoadedPack& operator=(const TLoadedPack&) = delete;
  bool Load(const std::string& Pack, const std::string& MapText, const std::string& Data) {
    const int64_t N = VXToolbox::StrToIntDef(MapText, -1);
    if (N < 0 || N > 65535) return SqFail("bad map number '" + MapText + "'"), false;
    MapNo = static_cast<int>(N);
    if (!MountGameData(Data))
      return SqFail("cannot mount the data archive '" + (Data.empty() ? DefaultGameData() : Data) + "'"), false;
    Maps = std::make_unique<TMaps>();
    if (!Maps->Load(Pack)) return SqFail("cannot load level pack '" + Pack + "'"), false;
    if (MapNo >= Maps->MapCount())
      return SqFail("level pack '" + Pack + "' has no map " + MapText + " (it has " + std::to_string(Maps->MapCount()) +
                    ")"),
             false;
    const TMapCheck Checked = CheckMap(*Maps, Map());
    if (!Checked.Ok())
      return SqFail("map " + MapText + " of '" + Pack + "' cannot be played: " + Checked.Problem()), false;
    return true;
  }
  ~TLoadedPack() {
    Maps.reset();
    SetDefaultSpriteTarget(nullptr);
  }
  const TXMap& Map() const { return *Maps->Maps[static_cast<size_t>(MapNo)]; }
  // Keys cut where they complete the map (seed 0, as sqtool play); "" when
  // they never do.
  std::string Completing(const std::string& Keys) const {
    int Steps = 0;
    return ReplayCompletes(*Maps, MapNo, Keys, 0, &Steps) ? Keys.substr(0, static_cast<size_t>(Steps)) : "";
  }

  int MapNo = 0;

 private:
  TImage FScreen{640, 480};
};

int PrintCode(const TShareCode& Code) {
  std::string Error;
  const std::string Text = EncodeShareCode(Code, Error);
  if (Text.empty()) return SqFail("cannot share the map: " + Error);
  std::cout << Text << "\n";
  return 0;
}

// The way for sqtool share; "" after the message when there is none.
std::string WayFor(const TLoadedPack& Loaded, const TShareArgs& A, const std::string& Pack) {
  const std::string Which = "map " + A.Plain[1];
  std::string Keys, Error;
  if (!A.Keys.empty()) {
    if (!ReadKeyScriptFile(A.Keys, Keys, Error)) return SqFail(Error), "";
    const std::string Way = Loaded.Completing(Keys);
    if (Way.empty()) SqFail("the keys in '" + A.Keys + "' do not complete " + Which);
    return Way;
  }
  TStoredPack Stored;
  if (ReadStoredPack(Pack, Stored, Error) && static_cast<size_t>(Loaded.MapNo) < Stored.Numbers.size()) {
    const std::string Way =
        Loaded.Completing(CarriedWay(Stored.Extras, Stored.Numbers[static_cast<size_t>(Loaded.MapNo)]));
    if (!Way.empty()) return Way;
  }
  TSolveOptions Options;
  Options.Seconds = A.Seconds;
  const TSolveResult R = SolveMap(*Maps, Loaded.MapNo, Options);
  if (R.Status == TSolveResult::TStatus::Solved) return Loaded.Completing(R.Keys);
  SqFail(R.Status == TSolveResult::TStatus::Unsolvable
             ? Which + " cannot be completed (the solver searched every way); --no-way shares it all the same"
             : "the solver found no way through " + Which + " in " + A.SecondsText +
                   " s; --keys FILE gives one, --no-way shares the map without");
  return "";
}

int Share(const TArgs& Args) {
  TShareArgs A;
  if (!ParseArgs(Args, A, "share")) return 1;
  if (A.Plain.size() != 2) return SqFail("usage: sqtool share PACK MAPNO [--no-way] [--keys FILE] [--seconds S]");
  if (A.NoWay && !A.Keys.empty()) return SqFail("--no-way and --keys cannot go together");
  TLoadedPack Loaded;
  if (!Loaded.Load(A.Plain[0], A.Plain[1], A.Data)) return 1;
  TShareCode Code;
  Code.Map = Loaded.Map();
  if (!A.NoWay) {
    Code.Keys = WayFor(Loaded, A, A.Plain[0]);
    if (Code.Keys.empty()) return 1;
  }
  return PrintCode(Code);
}

// The player's best run of the map in the runs file; "" after the message.
std::string BestRun(const TShareArgs& A, const std::string& Pack, int MapNo) {
  std::vector<uint8_t> Bytes;
  if (ReadWholeFile(A.Runs, Bytes) != TFileRead::Read) return SqFail("cannot read " + A.Runs), "";
  const TRunStore Store(A.Runs);
  if (Store.LoadedDamaged()) return SqFail(A.Runs + " is damaged"), "";
  TPlayerRegistry Registry;
  const std::string RegistryFile = VXToolbox::ExtractFileDir(A.Runs) + TPlayerReg::kFileName;
  Registry.Load(RegistryFile);
  const int32_t ID = Registry.PlayerID(A.Player);
  if (ID < 0) return SqFail("no player " + A.Player + " in " + RegistryFile), "";
  const TRun* Run = Store.Best(ID, VXToolbox::ExtractFileName(Pack), MapNo);
  if (!Run) return SqFail("no run of " + A.Player + " on map " + std::to_string(MapNo) + " of " + Pack), "";
  return Run->Keys;
}

int ShareRun(const TArgs& Args) {
  TShareArgs A;
  if (!ParseArgs(Args, A, "share-run")) return 1;
  if (A.Plain.size() != 2 || A.Player.empty() || A.Keys.empty() == A.Runs.empty())
    return SqFail("usage: sqtool share-run PACK MAPNO --player NAME (--keys FILE | --runs RUNSFILE)");
  TLoadedPack Loaded;
  if (!Loaded.Load(A.Plain[0], A.Plain[1], A.Data)) return 1;
  TShareCode Code;
  Code.Kind = TShareKind::Run;
  Code.Map = Loaded.Map();
  Code.Player = A.Player;
  std::string Error;
  if (!A.Keys.empty() && !ReadKeyScriptFile(A.Keys, Code.Keys, Error)) return SqFail(Error);
  if (!A.Runs.empty() && (Code.Keys = BestRun(A, A.Plain[0], Loaded.MapNo)).empty()) return 1;
  if (const std::string Won = Loaded.Completing(Code.Keys); !Won.empty()) Code.Keys = Won;
  return PrintCode(Code);
}

int Unshare(const TArgs& Args) {
  TShareArgs A;
  if (!ParseArgs(Args, A, "unshare")) return 1;
  if (A.Plain.size() != 1 || A.Out.empty()) return SqFail("usage: sqtool unshare CODE --out PACK.sq");
  TShareCode Code;
  std::string Error;
  if (!DecodeShareCode(ShareCodeOfLink(A.Plain[0]), Code, Error)) return SqFail(Error);
  const TXMap& M = Code.Map;
  std::vector<TPackMember> Way;
  if (!Code.Keys.empty()) Way.push_back(WayMember(1, Code.Keys));
  const std::string Name = M.MapName == "Unknown" ? "Shared map" : M.MapName;
  if (!WritePack(A.Out, Name, M.Author, {std::make_shared<const TXMap>(M)}, Way, Error))
    return SqFail("cannot write " + A.Out + ": " + Error);
  const std::string Steps = std::to_string(Code.Keys.size());
  std::cout << "map \"" << SqPrintable(M.MapName) << "\" by " << SqPrintable(M.Author) << " " << M.Width << "x"
            << M.Height
            << (Code.Kind == TShareKind::Run ? " run=" + Steps + " by " + SqPrintable(Code.Player)
                : Code.Keys.empty()          ? std::string(" way=none")
                                             : " way=" + Steps)
            << "\n";
  return 0;
}

TSqCommand ShareCommand({"share", "print the share code (for a link) of a map with a way through it", kShareUsage,
                         Share});
TSqCommand UnshareCommand({"unshare", "write the map of a share code as a level pack", kUnshareUsage, Unshare});
TSqCommand ShareRunCommand({"share-run", "print the share code of a player's run of a map", kShareRunUsage, ShareRun});

}  // namespace
