// sqtool replay: the players' best runs, listed, written out as key scripts
// and taken in from them.
#include <algorithm>
#include <iostream>
#include <map>
#include <tuple>

#include "graphics/image.h"
#include "graphics/sprite.h"
#include "registry/player_name.h"
#include "registry/player_reg.h"
#include "registry/run_store.h"
#include "shell/folder_lock.h"
#include "shell/random.h"
#include "shell/safe_file_writer.h"
#include "shell/toolbox.h"
#include "tools/sqtool/command.h"
#include "tools/sqtool/game_data.h"
#include "tools/sqtool/headless_run.h"
#include "world/maps.h"

namespace {
const char* const kUsage =
    "usage: sqtool replay list RUNSFILE\n"
    "       sqtool replay export RUNSFILE PLAYER PACKFILE MAPNO OUTFILE\n"
    "       sqtool replay import RUNSFILE PLAYER PACKFILE MAPNO INFILE [--data FILE]\n"
    "\n"
    "The game keeps every player's best run of every map in Starquarry.runs\n"
    "beside the player registry Starquarry.vmu; the registry in RUNSFILE's\n"
    "folder names the players. A level pack is named by PACKFILE's file name;\n"
    "maps count from 0.\n"
    "\n"
    "list    one line per run, PLAYER PACK MAPNO steps=N, sorted by player,\n"
    "        pack and map (a player the registry lacks shows as #ID, a byte\n"
    "        that is not printable as an escape such as \\x1b); a run a\n"
    "        hint helped ends in \" hint\".\n"
    "export  writes the run as a key script for sqtool play --keys @OUTFILE.\n"
    "import  plays the key script INFILE on the map as sqtool play does and\n"
    "        keeps it as the player's run when it completes the map in fewer\n"
    "        steps than the run kept; prints kept steps=N, not kept: longer\n"
    "        than steps=M (or as long as), or not kept: status=dead|playing,\n"
    "        and exits 0 only when kept. A player missing from the registry is\n"
    "        added (a name of 1 to 16 printable characters). --data FILE is\n"
    "        the game's data archive, as for sqtool play. Refused while the\n"
    "        game runs in RUNSFILE's folder.\n";

constexpr size_t kScriptLine = 64;   // keys per line of an exported script
constexpr size_t kHoldLastKey = 20;  // steps the last key is held past the run

std::string RegistryBeside(const std::string& RunsFile) {
  return VXToolbox::ExtractFileDir(RunsFile) + TPlayerReg::kFileName;
}

bool ParseMapNo(const std::string& Text, int32_t& MapNo) {
  const int64_t N = VXToolbox::StrToIntDef(Text, -1);
  if (N < 0 || N > 65535) return false;
  MapNo = static_cast<int32_t>(N);
  return true;
}

// The runs file, read; null (after the message) when it is missing, cannot
// be read or is damaged: the tools never start a damaged store afresh.
std::unique_ptr<TRunStore> OpenRuns(const std::string& File) {
  std::vector<uint8_t> Bytes;
  if (ReadWholeFile(File, Bytes) != TFileRead::Read) {
    SqFail("cannot read " + File);
    return nullptr;
  }
  auto Store = std::make_unique<TRunStore>(File);
  if (Store->LoadedDamaged()) {
    SqFail(File + " is damaged");
    return nullptr;
  }
  return Store;
}

int List(const TArgs& A) {
  auto Store = OpenRuns(A[1]);
  if (!Store) return 1;
  // Read only: the registry is only asked for names.
  TPlayerRegistry Registry;
  Registry.Load(RegistryBeside(A[1]));
  std::map<int32_t, std::string> Names;
  for (const TPlayerData& P : Registry.Players) Names.emplace(P.ID, P.Name);
  struct TLine {
    std::string Player, Pack;
    int32_t MapNo, Steps;
    bool Hinted;
  };
  std::vector<TLine> Lines;
  for (const TRun& R : Store->Runs()) {
    auto It = Names.find(R.Player);
    Lines.push_back(
        {It != Names.end() ? It->second : "#" + std::to_string(R.Player), R.Pack, R.MapNo, R.Steps(), R.Hinted});
  }
  // Names as the game compares them, letter case aside; the exact spelling
  // only breaks ties, so that the order never depends on the file's.
  const auto Key = [](const TLine& L) {
    return std::make_tuple(VXToolbox::UpperCase(L.Player), VXToolbox::UpperCase(L.Pack), L.MapNo, L.Player, L.Pack);
  };
  std::sort(Lines.begin(), Lines.end(), [&](const TLine& X, const TLine& Y) { return Key(X) < Key(Y); });
  // A name from a file may hold any byte; each run stays one line.
  for (const TLine& L : Lines)
    std::cout << SqPrintable(L.Player) << " " << SqPrintable(L.Pack) << " " << L.MapNo << " steps=" << L.Steps
              << (L.Hinted ? " hint" : "") << "\n";
  return 0;
}

int Export(const TArgs& A) {
  int32_t MapNo;
  if (!ParseMapNo(A[4], MapNo)) return SqFail("MAPNO must be a number from 0 to 65535");
  auto Store = OpenRuns(A[1]);
  if (!Store) return 1;
  TPlayerRegistry Registry;
  Registry.Load(RegistryBeside(A[1]));
  const std::string& Player = A[2];
  const std::string Pack = VXToolbox::ExtractFileName(A[3]);
  const int32_t ID = Registry.PlayerID(Player);
  if (ID < 0) return SqFail("no player " + Player + " in " + RegistryBeside(A[1]));
  const TRun* Run = Store->Best(ID, Pack, MapNo);
  if (!Run) return SqFail("no run of " + Player + " on map " + A[4] + " of " + Pack);
  std::string Script;
  for (size_t At = 0; At < Run->Keys.size(); At += kScriptLine) Script += Run->Keys.substr(At, kScriptLine) + "\n";
  // The exit's door starts its animation at a random frame, so under another
  // seed it may open a few steps later than when the run was played: the
  // last key goes on being held (the replay stops at the exit anyway).
  if (!Run->Keys.empty()) Script += std::string(kHoldLastKey, Run->Keys.back()) + "\n";
  std::string Error;
  if (!TSafeFileWriter::WriteFile(A[5], Script.data(), Script.size(), &Error))
    return SqFail("cannot write " + A[5] + ": " + Error);
  return 0;
}

// Plays Keys on map MapNo of Pack as sqtool play does (seed 0).
bool PlayScript(const std::string& Pack, int32_t MapNo, const std::string& Keys, THeadlessResult& Result) {
  TImage Screen(640, 480);
  SetDefaultSpriteTarget(&Screen);
  VXRandom::Seed(0);
  Maps = std::make_unique<TMaps>();
  bool Ok = false;
  if (!Maps->Load(Pack)) {
    SqFail("cannot load level pack '" + Pack + "'");
  } else if (MapNo >= Maps->MapCount()) {
    SqFail("level pack '" + Pack + "' has no map " + std::to_string(MapNo) + " (it has " +
           std::to_string(Maps->MapCount()) + ")");
  } else {
    Result = RunHeadless(*Maps, MapNo, Keys, Screen);
    Ok = true;
  }
  Maps.reset();
  SetDefaultSpriteTarget(nullptr);
  return Ok;
}

int Import(const TArgs& Args) {
  TArgs A;
  std::string Data;
  for (size_t I = 0; I < Args.size(); ++I) {
    if (Args[I] == "--data" && I + 1 < Args.size()) Data = Args[++I];
    else if (Args[I].rfind("--", 0) == 0) return SqFail("unknown or incomplete option '" + Args[I] + "'");
    else A.push_back(Args[I]);
  }
  if (A.size() != 6) return SqFail("wrong number of arguments for replay import (see sqtool help replay)");
  const std::string &RunsFile = A[1], &Player = A[2], &PackFile = A[3];
  int32_t MapNo;
  if (!ParseMapNo(A[4], MapNo)) return SqFail("MAPNO must be a number from 0 to 65535");
  // A player the import adds must be one the game could have made.
  if (TPlayerRegistry Known; !Known.Load(RegistryBeside(RunsFile)) || !Known.FindPlayer(Player))
    if (const std::string Problem = PlayerNameProblem(Player); !Problem.empty())
      return SqFail("cannot add player '" + Player + "': " + Problem);
  std::string Keys, Error;
  if (!ReadKeyScriptFile(A[5], Keys, Error)) return SqFail(Error);

  if (!MountGameData(Data))
    return SqFail("cannot mount the data archive '" + (Data.empty() ? DefaultGameData() : Data) + "'");
  THeadlessResult Result;
  if (!PlayScript(PackFile, MapNo, Keys, Result)) return 1;
  if (!Result.Completed) {
    std::cout << "not kept: status=" << (Result.Dead ? "dead" : "playing") << "\n";
    return 1;
  }
  // Only the steps up to the exit belong to the run.
  Keys.resize(static_cast<size_t>(Result.Steps));

  TFolderLock Lock(VXToolbox::ExtractFileDir(RunsFile));
  if (const int Code = SqHoldPlayerFolder(Lock, "sqtool replay import")) return Code;
  TPlayerReg Registry(RegistryBeside(RunsFile));
  Registry.Logging = true;
  if (!Registry.FindPlayer(Player) && (!Registry.AddPlayer(Player) || !Registry.LastSaveSucceeded()))
    return SqFail("cannot add player " + Player + " to " + Registry.FileName());
  TRunStore Store(RunsFile);
  const std::string Pack = VXToolbox::ExtractFileName(PackFile);
  const TRun* Kept = Store.Best(Registry.PlayerID(Player), Pack, MapNo);
  const int32_t KeptSteps = Kept ? Kept->Steps() : 0;
  switch (Store.Keep(Registry.PlayerID(Player), Pack, MapNo, Keys)) {
    case TRunKept::BadRun: return SqFail("the run cannot be kept (" + std::to_string(Keys.size()) + " steps)");
    case TRunKept::NotShorter:
      std::cout << "not kept: " << (KeptSteps < Result.Steps ? "longer than" : "as long as") << " steps=" << KeptSteps
                << "\n";
      return 1;
    case TRunKept::Kept: break;
  }
  if (!Store.KeptAs().empty())
    std::cerr << "sqtool: " << SqPrintable(RunsFile + " was damaged; the original is kept as " + Store.KeptAs())
              << "\n";
  if (!Store.LastSaveSucceeded()) return SqFail("cannot save " + RunsFile + "; the previous file is kept");
  std::cout << "kept steps=" << Result.Steps << "\n";
  return 0;
}

int Run(const TArgs& Args) {
  if (Args.empty()) return SqFail("replay needs a subcommand (see sqtool help replay)");
  const std::string& Sub = Args[0];
  if (Sub == "import") return Import(Args);
  const size_t Wanted = Sub == "list" ? 2 : Sub == "export" ? 6 : 0;
  if (Wanted == 0) return SqFail("unknown replay subcommand '" + Sub + "' (see sqtool help replay)");
  if (Args.size() != Wanted) return SqFail("wrong number of arguments for replay " + Sub + " (see sqtool help replay)");
  return Sub == "list" ? List(Args) : Export(Args);
}
}  // namespace

static TSqCommand Cmd({"replay", "list, export and import the players' best runs", kUsage, Run});
