#include "game/select_map.h"

#include <algorithm>
#include <utility>

#include "game/best_runs.h"
#include "game/help_overlay.h"
#include "game/options_hotkey.h"
#include "graphics/font_collection.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "registry/player_reg.h"
#include "shell/toolbox.h"
#include "shell/web_bridge.h"
#include "ui/sq_list_box.h"
#include "world/maps.h"

namespace {

std::string Switch(int Font) { return std::string(1, static_cast<char>(Font)); }

void DrawText(const std::string& Text, int X, int Y, int Align) {
  if (FontCollection) FontCollection->DrawText(Text, X, Y, Align);
}

int Width(const std::string& Text) { return FontCollection && !Text.empty() ? FontCollection->TextWidth(Text) : 0; }

// Names come from packs and players: what is too long for its place ends in "...".
std::string Fit(const std::string& Text, int Room) {
  return FontCollection ? FontCollection->FitText(Text, std::max(Room, 0)) : Text;
}

// Labels end here, values start here, key hints end here.
constexpr int kLabelX = 80;
constexpr int kValueX = 88;
constexpr int kHintX = 632;
// Space kept between a value and its key hint, and around the author line
// and the list's rows.
constexpr int kGap = 16;
constexpr int kScreenWidth = 640;
// Room kept at the end of the pack author's line for the help prompt.
constexpr int kHelpPromptWidth = 120;
// The list's width, and what a highlighted locked entry adds when it fits.
constexpr int kListWidth = 520;
constexpr const char* kLockedMark = " (locked)";
// After a map completed with a hint's help.
constexpr const char* kHintMark = "\3 (hint)";

}  // namespace

TSelectMap::TSelectMap(std::string Pack, std::string Player)
    : MapList(std::make_unique<TSQListBox>()), LevelPack(std::move(Pack)), PlayerName(std::move(Player)) {
  MapList->Setup("X=60|Y=180|Width=520|Height=240|AlignX=Left");
  MapList->Setup("AlignY=Top|Font=0|TextAlign=Center|TextOffsetY=0");
  MapList->Setup("RowHeight=40|Background=101010|Cursor1=601000");
  MapList->Setup("Cursor2=602040|KeyUp=Up");
  MapList->Setup("KeyDown=Down|KeySelect=Return|KeyEscape=Escape");
  FillEntries();
}

void TSelectMap::FillEntries() {
  Authors.clear();
  MapList->Items.clear();
  const int Count = Maps ? Maps->MapCount() : 0;
  for (int I = 0; I < Count; ++I) {
    Authors.push_back(VXToolbox::Trim(Maps->MapAuthor(I)));
    MapList->Items.push_back(Switch(kLockedFont) + Fit(VXToolbox::Trim(Maps->MapName(I)), kListWidth - 2 * kGap));
  }
  Authors.push_back(kClosingAuthor);
  MapList->Items.push_back(Switch(kLockedFont) + "Congratulations");
}

TSelectMap::~TSelectMap() = default;

char TSelectMap::EntryFont(int Index) const {
  const auto& Items = MapList->Items;
  if (Index < 0 || Index >= static_cast<int>(Items.size()) || Items[static_cast<size_t>(Index)].empty()) return 0;
  return Items[static_cast<size_t>(Index)][0];
}

void TSelectMap::SetEntryFont(int Index, char Font) {
  auto& Items = MapList->Items;
  if (Index < 0 || Index >= static_cast<int>(Items.size())) return;
  std::string& Text = Items[static_cast<size_t>(Index)];
  if (Text.empty()) Text = Switch(Font);
  else Text[0] = Font;
}

void TSelectMap::ShowProgress(int Selected) {
  const int Count = static_cast<int>(MapList->Items.size());
  int Opened = 0, Pending = 0;
  for (int I = 0; I < Count; ++I) {
    const uint8_t State = PlayerRegistry ? PlayerRegistry->GetMapState(LevelPack, PlayerName, I)
                                         : static_cast<uint8_t>(TPlayerReg::kLocked);
    switch (State) {
      case TPlayerReg::kLocked:
        // The first three maps not yet completed stand open.
        if (Opened < 3) {
          if (PlayerRegistry) PlayerRegistry->SetMapState(LevelPack, PlayerName, TPlayerReg::kOpen, I);
          ++Opened;
          SetEntryFont(I, kOpenFont);
          if (Selected == -1) {
            MapList->SetItemIndex(I);
            Selected = -2;
          }
        } else {
          SetEntryFont(I, kLockedFont);
        }
        ++Pending;
        break;
      case TPlayerReg::kOpen:
        SetEntryFont(I, kOpenFont);
        if (Selected == -1) {
          MapList->SetItemIndex(I);
          Selected = -2;
        }
        ++Opened;
        ++Pending;
        break;
      case TPlayerReg::kCompleted: SetEntryFont(I, kCompletedFont); break;
      default: SetEntryFont(I, kLockedFont); break;
    }
  }
  if (Selected >= 0 && Selected < Count) MapList->SetItemIndex(Selected);
  // The closing entry opens only when every map before it is completed.
  SetEntryFont(Count - 1, Pending == 1 ? kOpenFont : kLockedFont);
}

int TSelectMap::Decision() const {
  int Result = kUndecided;
  const int Index = MapList->GetItemIndex();
  const int Last = static_cast<int>(MapList->Items.size()) - 1;
  if ((VX_SDL::Keys[VXKey::Return] || VX_SDL::Keys[VXKey::Space]) && Index >= 0 && Index <= Last &&
      EntryFont(Index) != kLockedFont)
    Result = Index == Last ? kClosing : Index;
  if (VX_SDL::Keys[VXKey::F1]) Result = kChangePlayer;
  if (VX_SDL::Keys[VXKey::F2]) Result = kChangePack;
  if (VX_SDL::Keys[VXKey::Escape]) Result = kLeave;
  return Result;
}

void TSelectMap::DrawHeader() const {
  const std::string Pack = Maps ? VXToolbox::Trim(Maps->PackName) : "";
  const std::string Author = Maps ? VXToolbox::Trim(Maps->PackAuthor) : "";
  const std::string F1 = Switch(3) + "(F1)", F2 = Switch(3) + "(F2)";
  DrawText(Switch(0) + "PL:", kLabelX, 50, kAlignRight);
  DrawText(Switch(1) + Fit(PlayerName, kHintX - Width(F1) - kGap - kValueX), kValueX, 50, kAlignLeft);
  DrawText(F1, kHintX, 50, kAlignRight);
  DrawText(Switch(0) + "LP:", kLabelX, 90, kAlignRight);
  DrawText(Switch(1) + Fit(Pack, kHintX - Width(F2) - kGap - kValueX), kValueX, 90, kAlignLeft);
  DrawText(F2, kHintX, 90, kAlignRight);
  DrawText(Switch(0) + "AU:", kLabelX, 130, kAlignRight);
  // The help prompt may stand at the end of this line.
  DrawText(Switch(1) + Fit(Author, kHintX - kHelpPromptWidth - kGap - kValueX), kValueX, 130, kAlignLeft);
}

void TSelectMap::NoteRefusal() {
  if ((VX_SDL::Keys[VXKey::Return] || VX_SDL::Keys[VXKey::Space]) && EntryFont(MapList->GetItemIndex()) == kLockedFont)
    SayInFoot(kLockedMessage);
}

void TSelectMap::SayInFoot(const std::string& Message) {
  FMessage = Message;
  FMessageFrames = kMessageFrames;
}

void TSelectMap::DrawHelpPrompt(bool Shown) const {
  // Beside the pack author's line, which has no key hint of its own.
  VX_SDL::FillBox(kHintX - kHelpPromptWidth, 130, kHintX, 157, 0, 0, 0);
  if (Shown) DrawText(Switch(3) + kHelpPrompt, kHintX, 130, kAlignRight);
}

std::string TSelectMap::ShownEntry(int Index) const {
  const auto& Items = MapList->Items;
  if (Index < 0 || Index >= static_cast<int>(Items.size())) return "";
  const std::string& Text = Items[static_cast<size_t>(Index)];
  const bool ClosingEntry = Index + 1 == static_cast<int>(Items.size());
  if (!ClosingEntry && EntryFont(Index) == kCompletedFont && BestRunHinted(LevelPack, PlayerName, Index))
    return Text.substr(0, 1) + Fit(Text.substr(1), kListWidth - 2 * kGap - Width(kHintMark)) + kHintMark;
  // Red on the cursor's dark red is hard to read: the highlighted locked
  // entry is written in white and says it is locked.
  if (Index == MapList->GetItemIndex() && EntryFont(Index) == kLockedFont && !Text.empty()) {
    std::string Item = Switch(7) + Text.substr(1);
    // The word only where the row has room for it.
    if (FontCollection && FontCollection->TextWidth(Item + kLockedMark) <= kListWidth) Item += kLockedMark;
    return Item;
  }
  return Text;
}

void TSelectMap::DrawList() {
  auto& Items = MapList->Items;
  // Entries are changed for the drawing alone, and put back after it.
  std::vector<std::pair<size_t, std::string>> Kept;
  for (size_t I = 0; I < Items.size(); ++I) {
    std::string Shown = ShownEntry(static_cast<int>(I));
    if (Shown == Items[I]) continue;
    Kept.emplace_back(I, std::move(Items[I]));
    Items[I] = std::move(Shown);
  }
  MapList->Draw();
  for (auto& [I, Text] : Kept) Items[I] = std::move(Text);
}

void TSelectMap::DrawAuthor() const {
  VX_SDL::FillBox(0, 440, 639, 469, 0, 0, 0);
  if (!FMessage.empty()) return DrawText(Switch(4) + FMessage, 320, 440, kAlignCenter);
  const int Index = MapList->GetItemIndex();
  const std::string Author =
      Index >= 0 && Index < static_cast<int>(Authors.size()) ? Authors[static_cast<size_t>(Index)] : "";
  // A completed map shows how few steps the player's best run took.
  const std::string Note = EntryFont(Index) == kCompletedFont ? BestRunNote(LevelPack, PlayerName, Index) : "";
  const std::string Label = Switch(0) + "Author:" + Switch(1);
  const int Room = kScreenWidth - 2 * kGap - Width(Label) - Width(Note);
  DrawText(Label + Fit(Author, Room) + Note, kScreenWidth / 2, 440, kAlignCenter);
}

int TSelectMap::Run(int Selected) {
  VXWeb::NoteScreen("maps");
  VX_SDL::ClearKeys();
  VX_SDL::FillBox(0, 0, 639, 479, 0, 0, 0);
  VX_SDL::ShowPictureFile(240, 7, "logolite.tga");
  DrawHeader();
  DrawHelpPrompt(HelpPrompt);
  ShowProgress(Selected);
  int Result = kUndecided;
  // One flip a round: with two, the keys would be read every other frame
  // and a press lasting one frame could pass unseen.
  while (Result == kUndecided) {
    if (FMessageFrames > 0 && --FMessageFrames == 0) FMessage.clear();
    DrawAuthor();
    DrawList();
    VX_SDL::Flip();
    VX_SDL::PollEvents();
    MapList->Update();
    // The key that closed the options must not choose here as well.
    if (OptionsOnF12()) VX_SDL::ClearKeys();
    if (HelpOnH(THelpScreen::MapSelection)) {
      VX_SDL::ClearKeys();
      HelpPrompt = false;
      DrawHelpPrompt(false);
    }
    Result = Decision();
    if (Result == kUndecided) NoteRefusal();
    // W plays the player's best run of the highlighted map; the screen is
    // then built anew where it was.
    if (Result == kUndecided && VX_SDL::Keys[VXKey::Letter('w')]) {
      if (WatchBestRun(LevelPack, PlayerName, MapList->GetItemIndex())) return Run(MapList->GetItemIndex());
      SayInFoot(kNoRunMessage);
    }
    // E opens the level editor at the highlighted map; the list is then
    // built afresh from the pack as the editor left it.
    if (Result == kUndecided && EditPack && VX_SDL::Keys[VXKey::Letter('e')]) {
      const int Index = MapList->GetItemIndex();
      if (EditPack(LevelPack, std::min(Index, Maps ? Maps->MapCount() - 1 : 0))) FillEntries();
      return Run(Index);
    }
  }
  return Result;
}
