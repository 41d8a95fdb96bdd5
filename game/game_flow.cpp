#include "game/game_flow.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "game/daily_screen.h"
#include "game/help_overlay.h"
#include "game/level_pack_list.h"
#include "game/list_screen.h"
#include "game/no_packs_screen.h"
#include "game/outro.h"
#include "game/play_screen.h"
#include "game/select_map.h"
#include "game/shared_maps.h"
#include "game/shared_opening.h"
#include "game/shared_screens.h"
#include "game/songs.h"
#include "graphics/key_codes.h"
#include "registry/player_name.h"
#include "registry/player_reg.h"
#include "shell/logger.h"
#include "shell/toolbox.h"
#include "shell/web_bridge.h"
#include "world/maps.h"

namespace {

constexpr const char* kRunHeading = "SQGameUnit, TGame.Run";
constexpr const char* kListPlacement = "X=60|Y=90|Width=520|Height=360|AlignX=Left|AlignY=Top";
constexpr const char* kErasePlacement = "X=60|Y=220|Width=520|Height=80|AlignX=Left|AlignY=Top";

}  // namespace

TGame::TGame() = default;

TGame::~TGame() = default;

std::string TGame::SelectPlayer() {
  for (;;) {
    // Rows show the names trimmed; the registry knows them as stored, and
    // its lookups must get them that way.
    std::vector<std::string> Names, Rows;
    const int Count = PlayerRegistry ? PlayerRegistry->PlayerCount() : 0;
    for (int I = 0; I < Count; ++I) {
      std::string Name;
      PlayerRegistry->GetPlayerName(I, Name);
      Names.push_back(Name);
      Rows.push_back(VXToolbox::Trim(Name));
    }
    Rows.push_back(kNewPlayerRow);
    // The cursor starts on the player just made, else on the current or last one.
    TListScreenExtras Extras;
    const std::string Mark = !FNewPlayer.empty()   ? FNewPlayer
                             : !PlayerName.empty() ? PlayerName
                                                   : Remembered.LastPlayer;
    for (int I = 0; I < Count; ++I)
      if (Names[static_cast<size_t>(I)] == Mark) Extras.Start = I;
    Extras.HelpPrompt = !Remembered.HelpSeen(Mark);
    FNewPlayer.clear();
    const TListChoice C = RunListScreen({"Select player", 1, 30}, kListPlacement, Rows,
                                        {VXKey::Escape, VXKey::Return, VXKey::Delete}, Extras);
    const bool OnPlayer = C.Index >= 0 && C.Index < Count;
    if (C.Key == VXKey::Escape) return "";
    if (C.Key == VXKey::Delete) {
      if (OnPlayer) ErasePlayer(Names[static_cast<size_t>(C.Index)]);
    } else if (OnPlayer) {
      return Names[static_cast<size_t>(C.Index)];
    } else {
      FNewPlayer = NewPlayer();
    }
  }
}

std::string TGame::RefuseName(const std::string& Typed) {
  const std::string Name = VXToolbox::Trim(Typed);
  if (Name.empty()) return "A player needs a name";
  if (const std::string Problem = PlayerNameProblem(Name); !Problem.empty()) return "Not a name: " + Problem;
  if (PlayerRegistry && PlayerRegistry->FindPlayer(Name)) return "That name is taken";
  return "";
}

std::string TGame::NewPlayer() {
  // Blanks around a typed name would make a player that looks like another
  // and whose progress no lookup by the shown name finds.
  const std::string Name = VXToolbox::Trim(RunNameScreen({"Enter new player name", 2, 200}, RefuseName));
  if (Name.empty() || !PlayerRegistry || !PlayerRegistry->AddPlayer(Name)) return "";
  return Name;
}

void TGame::ErasePlayer(const std::string& Name) {
  const TListChoice C =
      RunListScreen({"Really erase player?", 4, 180}, kErasePlacement, {"No, just kidding.", "Yes, blow it away!"},
                    {VXKey::Escape, VXKey::Return}, {THelpScreen::ErasePlayer});
  if (C.Key == VXKey::Return && C.Index == 1 && PlayerRegistry) PlayerRegistry->DeletePlayer(Name);
}

std::string TGame::SelectLevelPack() {
  const std::vector<std::string> Packs = ListLevelPacks();
  if (Packs.empty()) {
    // An empty list and a silent end would leave a new player guessing.
    std::error_code Error;
    const std::filesystem::path Here = std::filesystem::current_path(Error);
    RunNoPacksScreen(Error ? std::string(".") : Here.string());
    return "";
  }
  TListScreenExtras Extras{THelpScreen::LevelPacks};
  const std::string& Mark = !LevelPack.empty() ? LevelPack : Remembered.LastPack;
  for (size_t I = 0; I < Packs.size(); ++I)
    if (Packs[I] == Mark) Extras.Start = static_cast<int>(I);
  // The Daily Quarry follows the packs on disk.
  std::vector<std::string> Rows = Packs;
  for (const std::string& Row : DailyRows()) Rows.push_back(Row);
  const TListChoice C =
      RunListScreen({"Select level pack", 1, 30}, kListPlacement, Rows, {VXKey::Escape, VXKey::Return}, Extras);
  if (C.Key != VXKey::Return || C.Index < 0) return "";
  const size_t Row = static_cast<size_t>(C.Index);
  return Row < Packs.size() ? Packs[Row] : ChooseDailyRow(Row - Packs.size());
}

bool TGame::LoadPack(const std::string& Pack) {
  auto Loaded = std::make_unique<TMaps>();
  if (!Loaded->Load(Pack)) {
    Log->Error("The level pack cannot be read (" + Pack + ")", kRunHeading);
    return false;
  }
  if (Loaded->MapCount() == 0) {
    Log->Error("The level pack holds no maps (" + Pack + ")", kRunHeading);
    return false;
  }
  Maps = std::move(Loaded);
  VXWeb::NotePack(VXToolbox::ExtractFileName(Pack));
  return true;
}

bool TGame::ChooseLevelPack() {
  bool Failed = false;
  for (;;) {
    const std::string Pack = SelectLevelPack();
    if (Pack.empty()) {
      // A failed attempt replaced the block images with the broken pack's
      // (or none): the pack still in use gets its own back.
      if (Failed && Maps && !LevelPack.empty()) LoadPack(LevelPack);
      return false;
    }
    if (LoadPack(Pack)) {
      LevelPack = Pack;
      if (PlayerRegistry) PlayerRegistry->AddLevelPack(LevelPack);
      return true;
    }
    Failed = true;
  }
}

void TGame::PlayMap(int MapNo, const std::string& Label) {
  StopSong(FListSong);
  TPlay1Map Play(MapNo);
  Play.Label = Label;
  // Recorded before "Map Completed!" shows: closing the window during that
  // screen must not lose the win.
  Play.OnCompleted = [this, &Play, MapNo] {
    if (PlayerName.empty()) {
      FPendingMap = MapNo;
      FPendingKeys = Play.RunScript();
      FPendingHinted = Play.Hinted();
      return;
    }
    if (!PlayerRegistry) return;
    PlayerRegistry->SetMapState(LevelPack, PlayerName, TPlayerReg::kCompleted, MapNo);
    // Kept only when shorter than the player's best run of the map.
    PlayerRegistry->KeepRun(LevelPack, PlayerName, MapNo, Play.RunScript(), Play.Hinted());
  };
  Play.Run();
  PlaySong(FListSong);
}

void TGame::KeepPendingWin() {
  if (FPendingMap < 0 || PlayerName.empty() || !PlayerRegistry) return;
  PlayerRegistry->SetMapState(LevelPack, PlayerName, TPlayerReg::kCompleted, FPendingMap);
  PlayerRegistry->KeepRun(LevelPack, PlayerName, FPendingMap, FPendingKeys, FPendingHinted);
  FPendingMap = -1;
}

bool TGame::OpenShared() {
  const TSharedOpening Opened = OpenSharedCode(SharedCode);
  SharedCode.clear();
  if (Opened.MapNo < 0 || !LoadPack(kSharedPackFile)) return false;
  LevelPack = kSharedPackFile;
  if (PlayerRegistry) PlayerRegistry->AddLevelPack(LevelPack);
  // The last player plays it; with none yet, the win waits for the player chosen next.
  if (PlayerRegistry && PlayerRegistry->FindPlayer(Remembered.LastPlayer)) PlayerName = Remembered.LastPlayer;
  Choice = Opened.MapNo;
  if (Opened.Kind == TShareKind::Run) {
    StopSong(FListSong);
    TPlay1Map(Opened.MapNo, Opened.Keys, Opened.Player.empty() ? "A friend" : Opened.Player).Run();
    PlaySong(FListSong);
    if (!AskToTryMap(Maps->MapName(Opened.MapNo))) return true;
  }
  const TSharedCheck Check = CheckSharedMap(Opened.MapNo, Opened.Keys);
  VXWeb::NoteShared(VerdictWord(Check.Verdict));
  if (PlayerRegistry && !PlayerName.empty() &&
      PlayerRegistry->GetMapState(LevelPack, PlayerName, Opened.MapNo) == TPlayerReg::kLocked)
    PlayerRegistry->SetMapState(LevelPack, PlayerName, TPlayerReg::kOpen, Opened.MapNo);
  PlayMap(Opened.MapNo, VerdictLabel(Check.Verdict));
  return true;
}

void TGame::PlayOutro() {
  StopSong(FListSong);
  TOutro().Run();
  PlaySong(FListSong);
}

std::unique_ptr<TSelectMap> TGame::NewSelectMap() const {
  auto Select = std::make_unique<TSelectMap>(LevelPack, PlayerName);
  Select->EditPack = EditPack;
  return Select;
}

void TGame::NoteHelp() {
  if (THelpOverlay::OpenCount() != FHelpCount) {
    FHelpCount = THelpOverlay::OpenCount();
    FHelpPending = true;
  }
  if (FHelpPending && !PlayerName.empty()) {
    FHelpPending = false;
    if (Remembered.MarkHelpSeen(PlayerName)) Remembered.Save();
  }
}

void TGame::Remember() {
  NoteHelp();
  if (Remembered.LastPlayer == PlayerName && Remembered.LastPack == LevelPack) return;
  Remembered.LastPlayer = PlayerName;
  Remembered.LastPack = LevelPack;
  Remembered.Save();
}

void TGame::Run() {
  Remembered.Load();
  FHelpCount = THelpOverlay::OpenCount();
  FListSong = PlaylistSong("List", 0);
  PlaySong(FListSong);
  Choice = -1;
  const bool Shared = !SharedCode.empty() && OpenShared();
  if (!Shared || PlayerName.empty()) {
    PlayerName = SelectPlayer();
    NoteHelp();
    if (PlayerName.empty() || (!Shared && !ChooseLevelPack())) {
      StopSong(FListSong);
      return;
    }
    KeepPendingWin();
  }
  Remember();
  FSelect = NewSelectMap();
  do {
    FSelect->HelpPrompt = !Remembered.HelpSeen(PlayerName);
    Choice = FSelect->Run(Choice);
    NoteHelp();
    if (Choice >= 0) {
      PlayMap(Choice);
    } else if (Choice == TSelectMap::kChangePlayer) {
      const std::string Name = SelectPlayer();
      if (!Name.empty()) {
        PlayerName = Name;
        FSelect = NewSelectMap();
        Choice = -1;
      }
      Remember();
    } else if (Choice == TSelectMap::kChangePack) {
      if (ChooseLevelPack()) {
        FSelect = NewSelectMap();
        Choice = -1;
      }
      Remember();
    } else if (Choice == TSelectMap::kClosing) {
      PlayOutro();
    }
  } while (Choice != TSelectMap::kLeave);
  StopSong(FListSong);
  FSelect.reset();
  Maps.reset();
}

void TGame::PlayTestMap(const std::string& Pack, int MapIndex) {
  LevelPack = Pack;
  Maps = std::make_unique<TMaps>();
  if (Maps->Load(LevelPack)) {
    if (Maps->MapCount() > 0) {
      TPlay1Map(MapIndex).Run();
    } else {
      Log->Error("The level pack holds no maps (" + LevelPack + ")", "SQGameUnit, TGame.PlayTestMap");
    }
  }
  Maps.reset();
}
