// sqtool pack: build level pack archives and check them as the game loads them.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "graphics/image.h"
#include "graphics/sprite.h"
#include "maps/xmap.h"
#include "shell/file_stream.h"
#include "shell/memory_stream.h"
#include "shell/random.h"
#include "shell/toolbox.h"
#include "solver/solver.h"
#include "tools/sqtool/command.h"
#include "tools/sqtool/game_data.h"
#include "tools/sqtool/headless_run.h"
#include "tools/sqtool/solve_format.h"
#include "world/block_images.h"
#include "world/map_check.h"
#include "world/maps.h"
#include "world/pack_reader.h"
#include "world/pack_writer.h"

namespace {

const char* const kUsage =
    "usage: sqtool pack build OUTFILE --name NAME --author AUTHOR MAPFILE... [--extra FILE...]\n"
    "       sqtool pack check PACK [--solutions [DIR]] [--solve [--seconds S]] [--data FILE]\n"
    "\n"
    "build writes a level pack: the member \"info\" (a first line, then NAME and\n"
    "AUTHOR), the maps as 001.mpp, 002.mpp, ... in the order given (any XMAP\n"
    "format in, stored as MAPT), and every FILE after --extra as a member named\n"
    "by its file name (the pack's own controls.ini or block images).\n"
    "\n"
    "check loads PACK as the game does and prints one line per map:\n"
    "  NNN ok|FAIL size=WxH elves=E exits=X diamonds=D [missing=CHARS] [error=\"WHY\"]\n"
    "      [solution=completed|dead|playing|missing steps=N] [solver=N|unsolvable|unknown\n"
    "      [hand=N]] name=\"MAP NAME\"\n"
    "then \"N maps, F failed\". A map fails unless it is 20x12 with exactly one\n"
    "elf, at least one exit and an image for every block character, and\n"
    "unless its member could be read (error tells why not) and no map number\n"
    "before it is missing (the game stops there). Maps are read from PACK\n"
    "itself, never from loose files of a member's name. With\n"
    "--solutions, the key script DIR/NNN.keys (NNN the member number: 001 for\n"
    "the first map; keys as for sqtool play --keys) is played from the map's\n"
    "start with seed 0, and the map fails unless it reports completed.\n"
    "--solutions without DIR replays the scripts the pack carries as its\n"
    "members NNN.keys (as sqtool generate stores them).\n"
    "--solve runs the solver (as sqtool solve, S seconds a map, default 60)\n"
    "on every map: the length of the script it finds, or unsolvable (the map\n"
    "fails) or unknown; with --solutions, hand is the length of DIR/NNN.keys.\n"
    "--data names the game's data archive (default as for sqtool play).\n"
    "Exits 1 when any map fails.\n";

std::vector<uint8_t> ReadFile(const std::string& Path, bool& Ok) {
  auto In = TFileStream::Open(Path, TFileStream::TMode::Read);
  Ok = In != nullptr;
  return In ? In->ReadAll() : std::vector<uint8_t>{};
}

// Reads a map file in any XMAP format; null (after the message) when it is no map.
std::shared_ptr<const TXMap> ReadMapFile(const std::string& Path) {
  bool Ok;
  const std::vector<uint8_t> Bytes = ReadFile(Path, Ok);
  if (!Ok) {
    SqFail("cannot read " + Path);
    return nullptr;
  }
  auto Map = std::make_shared<TXMap>();
  TMemoryStream In(Bytes);
  try {
    Map->Load(In);
  } catch (const EConvertError& E) {
    SqFail(Path + ": " + E.what());
    return nullptr;
  }
  if (Map->Status != "OK" || Map->Width <= 0 || Map->Height <= 0) {
    SqFail(Path + " is not a map (" + (Map->Status != "OK" ? Map->Status : std::string("no cells")) + ")");
    return nullptr;
  }
  return Map;
}

int Build(const TArgs& Args) {
  const char* Usage = "usage: sqtool pack build OUTFILE --name NAME --author AUTHOR MAPFILE... [--extra FILE...]";
  std::string Out, Name, Author;
  bool HasName = false, HasAuthor = false, InExtras = false;
  std::vector<std::string> MapFiles, Extras;
  for (size_t I = 0; I < Args.size(); ++I) {
    const std::string& A = Args[I];
    if (A == "--name" || A == "--author") {
      if (I + 1 >= Args.size()) return SqFail(A + " needs a value");
      (A == "--name" ? Name : Author) = Args[++I];
      (A == "--name" ? HasName : HasAuthor) = true;
    } else if (A == "--extra") {
      InExtras = true;
    } else if (A.rfind("--", 0) == 0) {
      return SqFail("unknown option '" + A + "' (see sqtool help pack)");
    } else if (Out.empty()) {
      Out = A;
    } else {
      (InExtras ? Extras : MapFiles).push_back(A);
    }
  }
  if (Out.empty() || !HasName || !HasAuthor || MapFiles.empty()) return SqFail(Usage);
  // The info member is read line by line: a line break inside would shift the fields.
  for (const std::string* Field : {&Name, &Author})
    if (Field->find_first_of("\r\n") != std::string::npos) return SqFail("--name and --author must be one line each");
  if (static_cast<int>(MapFiles.size()) > kMaxPackMaps)
    return SqFail("a pack holds at most " + std::to_string(kMaxPackMaps) + " maps");

  std::vector<std::shared_ptr<const TXMap>> PackMaps;
  for (const std::string& Path : MapFiles) {
    PackMaps.push_back(ReadMapFile(Path));
    if (!PackMaps.back()) return 1;
  }
  std::vector<TPackMember> Members;
  std::set<std::string> Taken;
  for (const std::string& Path : Extras) {
    const std::string Member = VXToolbox::ExtractFileName(Path);
    if (Member.empty() || Member.size() > 255) return SqFail("bad member name for " + Path);
    // Member lookups ignore case, so "INFO" would hide the pack's own info.
    const std::string Upper = VXToolbox::UpperCase(Member);
    const bool MapName = Upper.size() == 7 && Upper.substr(3) == ".MPP" && Upper.find_first_not_of("0123456789") == 3;
    if (Upper == "INFO" || MapName || !Taken.insert(Upper).second)
      return SqFail("extra file " + Path + " would replace the member " + Member);
    bool Ok;
    std::vector<uint8_t> Data = ReadFile(Path, Ok);
    if (!Ok) return SqFail("cannot read " + Path);
    Members.push_back({Member, std::move(Data)});
  }
  std::string Error;
  if (!WritePack(Out, Name, Author, PackMaps, Members, Error)) return SqFail(Error);
  return 0;
}

int Check(const TArgs& Args) {
  const char* Usage = "usage: sqtool pack check PACK [--solutions [DIR]] [--solve [--seconds S]] [--data FILE]";
  std::string Pack, Solutions, Data;
  bool HasSolutions = false, Solve = false, InPack = false;
  TSolveOptions SolveOptions;
  for (size_t I = 0; I < Args.size(); ++I) {
    const std::string& A = Args[I];
    if (A == "--solve") {
      Solve = true;
    } else if (A == "--solutions" && (I + 1 == Args.size() || Args[I + 1].rfind("--", 0) == 0)) {
      HasSolutions = InPack = true;
    } else if (A == "--seconds" && I + 1 < Args.size()) {
      if (!ParseSeconds(Args[++I], SolveOptions.Seconds)) return SqFail("bad time '" + Args[I] + "'");
    } else if ((A == "--solutions" || A == "--data") && I + 1 < Args.size()) {
      (A == "--data" ? Data : Solutions) = Args[++I];
      if (A == "--solutions") HasSolutions = true;
    } else if (A.rfind("--", 0) == 0 || !Pack.empty()) {
      return SqFail(Usage);
    } else {
      Pack = A;
    }
  }
  if (Pack.empty()) return SqFail(Usage);
  if (HasSolutions && !InPack && !std::filesystem::is_directory(Solutions))
    return SqFail("no solutions folder '" + Solutions + "'");
  if (!MountGameData(Data))
    return SqFail("cannot mount the data archive '" + (Data.empty() ? DefaultGameData() : Data) + "'");

  TImage Screen(640, 480);
  SetDefaultSpriteTarget(&Screen);
  Maps = std::make_unique<TMaps>();
  if (!Maps->Load(Pack)) {
    Maps.reset();
    SetDefaultSpriteTarget(nullptr);
    return SqFail("cannot load level pack '" + Pack + "'");
  }
  // The maps as the pack file holds them: a loose file of a member's name
  // would vouch for a map the pack does not carry.
  TStoredPack Stored;
  std::string ReadError;
  if (!ReadStoredPack(Pack, Stored, ReadError)) {
    Maps.reset();
    SetDefaultSpriteTarget(nullptr);
    return SqFail(ReadError);
  }
  Maps->Maps = Stored.Maps;
  // The scripts the pack carries (sqtool generate stores them), by member name.
  std::map<std::string, std::vector<uint8_t>> Carried;
  for (const TPackMember& M : Stored.Extras) Carried[VXToolbox::UpperCase(M.Name)] = M.Data;
  const int Gap = Stored.FirstGap();
  std::ostringstream Out;
  int Failed = 0;
  for (int MapNo = 0; MapNo < Maps->MapCount(); ++MapNo) {
    const TXMap& Map = *Maps->Maps[static_cast<size_t>(MapNo)];
    const TMapCheck Checked = CheckMap(*Maps, Map);
    const int Elves = Checked.Elves;
    const int Exits = Checked.Exits;
    const std::string& Missing = Checked.Missing;
    const std::string Number = VXToolbox::PaddedNumber(Stored.Numbers[static_cast<size_t>(MapNo)], 3, '0');
    // The game stops at the first missing number: the maps after it are never played.
    const std::string Why = !Checked.Error.empty()    ? Checked.Error
                            : Gap && MapNo + 1 >= Gap ? "no map " + VXToolbox::PaddedNumber(Gap, 3, '0') + " before it"
                                                      : "";
    bool Ok = Checked.Ok() && Why.empty();
    const std::string Error = Why.empty() ? "" : " error=\"" + Why + "\"";
    std::string Solution;
    size_t HandLength = 0;
    if (HasSolutions) {
      const std::string KeysFile = Solutions + "/" + Number + ".keys";
      std::string Keys, Error;
      const auto Carries = Carried.find(Number + ".KEYS");
      if (InPack ? Carries == Carried.end() : !TFileStream::Open(KeysFile, TFileStream::TMode::Read)) {
        Solution = " solution=missing";
        Ok = false;
      } else if (InPack ? !ParseKeyScript(std::string(Carries->second.begin(), Carries->second.end()), Keys, Error)
                        : !ReadKeyScriptFile(KeysFile, Keys, Error)) {
        Solution = " solution=bad";
        Ok = false;
      } else {
        HandLength = Keys.size();
        // Seeded afresh for every map, so each result is the one sqtool play gives.
        VXRandom::Seed(0);
        const THeadlessResult R = RunHeadless(*Maps, MapNo, Keys, Screen);
        Solution = std::string(" solution=") +
                   (R.Completed ? "completed"
                    : R.Dead    ? "dead"
                                : "playing") +
                   " steps=" + std::to_string(R.Steps);
        Ok = Ok && R.Completed;
      }
    }
    if (Solve) {
      const TSolveResult R = SolveMap(*Maps, MapNo, SolveOptions);
      Solution += " solver=" + SolveSummary(R);
      if (HasSolutions && HandLength) Solution += " hand=" + std::to_string(HandLength);
      Ok = Ok && R.Status != TSolveResult::TStatus::Unsolvable;
    }
    Failed += !Ok;
    Out << Number << (Ok ? " ok" : " FAIL") << " size=" << Map.Width << "x" << Map.Height << " elves=" << Elves
        << " exits=" << Exits << " diamonds=" << Checked.Diamonds << (Missing.empty() ? "" : " missing=" + Missing)
        << Error << Solution << " name=\"" << Map.MapName << "\"\n";
  }
  if (Maps->MapCount() == 0) ++Failed;
  Out << Maps->MapCount() << " maps, " << Failed << " failed\n";
  std::cout << Out.str();
  Maps.reset();
  SetDefaultSpriteTarget(nullptr);
  return Failed ? 1 : 0;
}

int Run(const TArgs& Args) {
  if (Args.empty()) return SqFail("usage: sqtool pack build|check ... (see sqtool help pack)");
  const TArgs Rest(Args.begin() + 1, Args.end());
  if (Args[0] == "build") return Build(Rest);
  if (Args[0] == "check") return Check(Rest);
  return SqFail("unknown pack command '" + Args[0] + "' (see sqtool help pack)");
}

TSqCommand Cmd({"pack", "build level packs and check that their maps can be completed", kUsage, Run});

}  // namespace
