// sqtool registry: inspect and repair the player progress file.
#include <iostream>

#include "registry/player_name.h"
#include "registry/player_reg.h"
#include "registry/store_file.h"
#include "shell/folder_lock.h"
#include "shell/toolbox.h"
#include "tools/sqtool/command.h"

namespace {
const char* const kUsage =
    "usage: sqtool registry dump FILE\n"
    "       sqtool registry get-state FILE PACK PLAYER MAPNO\n"
    "       sqtool registry set-state FILE PACK PLAYER STATE MAPNO\n"
    "       sqtool registry rename-player FILE OLDNAME NEWNAME\n"
    "       sqtool registry delete-player FILE NAME\n"
    "\n"
    "dump prints nextid=N, then one line per player (player ID NAME [info=INFO]),\n"
    "per level pack (pack ID NAME) and per data record (data PLAYERID PACKID HEX,\n"
    "HEX being the stored bytes or - when none), in file order.\n"
    "get-state prints a map's state as the game reads it: 0 locked, 1 open,\n"
    "2 completed. set-state adds the player and the pack when missing; a new\n"
    "player's name (or a new name) is 1 to 16 printable characters. Changes\n"
    "are saved as the game saves them; a damaged file is first kept as FILE.bad\n"
    "(FILE.bad.1, ... when taken). Names print with every byte that is not\n"
    "printable as an escape such as \\x1b.\n"
    "delete-player also deletes the player's runs from Starquarry.runs beside FILE.\n"
    "set-state, rename-player and delete-player refuse while the game runs in\n"
    "FILE's folder (it would write its own copy over the change).\n";

std::string Hex(const std::vector<uint8_t>& Bytes) {
  if (Bytes.empty()) return "-";
  static const char* const Digits = "0123456789abcdef";
  std::string Text;
  for (uint8_t B : Bytes) {
    Text += Digits[B >> 4];
    Text += Digits[B & 15];
  }
  return Text;
}

bool ParseNumber(const std::string& Text, int64_t Max, int32_t& Value) {
  const int64_t N = VXToolbox::StrToIntDef(Text, -1);
  if (N < 0 || N > Max) return false;
  Value = static_cast<int32_t>(N);
  return true;
}

int NeedFile(const std::string& File) {
  std::vector<uint8_t> Bytes;
  return ReadWholeFile(File, Bytes) == TFileRead::Read ? 0 : SqFail("cannot read " + File);
}

// The game's registry on FILE, writing its usual log entries.
std::unique_ptr<TPlayerReg> OpenRegistry(const std::string& File, bool Changing) {
  auto R = std::make_unique<TPlayerReg>(File);
  R->Logging = true;
  if (R->LoadedDamaged() && !Changing)
    std::cerr << "sqtool: " << SqPrintable(File + " is damaged; only its whole records are read") << "\n";
  return R;
}

// Tells of a copy only once it has been made.
int Saved(const TPlayerReg& R) {
  if (!R.KeptAs().empty())
    std::cerr << "sqtool: " << SqPrintable(R.FileName() + " was damaged; the original is kept as " + R.KeptAs())
              << "\n";
  return R.LastSaveSucceeded() ? 0 : SqFail("cannot save " + R.FileName() + "; the previous file is kept");
}

int Dump(const std::string& File) {
  if (int Code = NeedFile(File)) return Code;
  TPlayerRegistry R;
  if (!R.Load(File)) return SqFail(File + " is not a player registry file");
  std::cout << "nextid=" << R.NextID << "\n";
  for (const TPlayerData& P : R.Players) {
    std::cout << "player " << P.ID << " " << SqPrintable(P.Name);
    if (!P.Info.empty()) std::cout << " info=" << SqPrintable(P.Info);
    std::cout << "\n";
  }
  for (const TLevelPackData& L : R.LevelPacks) std::cout << "pack " << L.ID << " " << SqPrintable(L.Name) << "\n";
  for (const TPlayerPackData& D : R.Datas)
    std::cout << "data " << D.PlayerID << " " << D.LevelPackID << " " << Hex(D.Data) << "\n";
  std::cout.flush();
  if (R.LoadedDamaged()) return SqFail(File + " is damaged; only its whole records are shown");
  return 0;
}

int GetState(const TArgs& A) {
  int32_t MapNo;
  if (!ParseNumber(A[4], 65535, MapNo)) return SqFail("MAPNO must be a number from 0 to 65535");
  if (int Code = NeedFile(A[1])) return Code;
  auto R = OpenRegistry(A[1], false);
  std::cout << int{R->GetMapState(A[2], A[3], MapNo)} << "\n";
  return 0;
}

int SetState(const TArgs& A) {
  int32_t State, MapNo;
  if (!ParseNumber(A[4], 255, State)) return SqFail("STATE must be a number from 0 to 255");
  if (!ParseNumber(A[5], 65535, MapNo)) return SqFail("MAPNO must be a number from 0 to 65535");
  TFolderLock Lock(VXToolbox::ExtractFileDir(A[1]));
  if (const int Code = SqHoldPlayerFolder(Lock, "sqtool registry set-state")) return Code;
  auto R = OpenRegistry(A[1], true);
  const std::string& Pack = A[2];
  const std::string& Player = A[3];
  if (!R->FindPlayer(Player)) {
    if (const std::string Problem = PlayerNameProblem(Player); !Problem.empty())
      return SqFail("cannot add player '" + Player + "': " + Problem);
    if (!R->AddPlayer(Player)) return SqFail("cannot add player " + Player);
  }
  if (!R->FindLevelPack(Pack) && !R->AddLevelPack(Pack)) return SqFail("cannot add level pack " + Pack);
  R->SetMapState(Pack, Player, static_cast<uint8_t>(State), MapNo);
  return Saved(*R);
}

int RenamePlayer(const TArgs& A) {
  if (int Code = NeedFile(A[1])) return Code;
  const std::string &Old = A[2], &New = A[3];
  if (const std::string Problem = PlayerNameProblem(New); !Problem.empty())
    return SqFail("cannot rename to '" + New + "': " + Problem);
  TFolderLock Lock(VXToolbox::ExtractFileDir(A[1]));
  if (const int Code = SqHoldPlayerFolder(Lock, "sqtool registry rename-player")) return Code;
  auto R = OpenRegistry(A[1], true);
  const TPlayerData* P = R->FindPlayer(Old);
  if (!P) return SqFail("no player " + Old + " in " + A[1]);
  // The store does not check, but a second player of the same name could
  // never be chosen again.
  const TPlayerData* Other = R->FindPlayer(New);
  if (Other && Other != P) return SqFail("a player " + New + " already exists");
  if (!R->RenamePlayer(static_cast<int32_t>(P - R->Players.data()), New))
    return SqFail("cannot rename " + Old + " to that name");
  return Saved(*R);
}

int DeletePlayer(const TArgs& A) {
  if (int Code = NeedFile(A[1])) return Code;
  TFolderLock Lock(VXToolbox::ExtractFileDir(A[1]));
  if (const int Code = SqHoldPlayerFolder(Lock, "sqtool registry delete-player")) return Code;
  auto R = OpenRegistry(A[1], true);
  if (!R->DeletePlayer(A[2])) return SqFail("no player " + A[2] + " in " + A[1]);
  if (int Code = Saved(*R)) return Code;
  // The player's runs go with the player.
  const TRunStore& Runs = R->Runs();
  if (!Runs.LastSaveSucceeded())
    return SqFail("cannot save " + Runs.FileName() + "; the player's runs are still in it");
  return 0;
}

int Run(const TArgs& Args) {
  struct TSub {
    const char* Name;
    size_t Count;  // arguments including the subcommand
    int (*Run)(const TArgs&);
  };
  static const TSub Subs[] = {
      {"dump", 2, [](const TArgs& A) { return Dump(A[1]); }},
      {"get-state", 5, GetState},
      {"set-state", 6, SetState},
      {"rename-player", 4, RenamePlayer},
      {"delete-player", 3, DeletePlayer},
  };
  if (Args.empty()) return SqFail("registry needs a subcommand (see sqtool help registry)");
  for (const TSub& S : Subs)
    if (Args[0] == S.Name) {
      if (Args.size() != S.Count)
        return SqFail("wrong number of arguments for registry " + Args[0] + " (see sqtool help registry)");
      return S.Run(Args);
    }
  return SqFail("unknown registry subcommand '" + Args[0] + "' (see sqtool help registry)");
}
}  // namespace

static TSqCommand Cmd({"registry", "inspect and repair player progress files", kUsage, Run});
