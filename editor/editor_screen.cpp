#include "editor/editor_screen.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "editor/edit_pack_check.h"
#include "editor/editor_fonts.h"
#include "editor/editor_mouse.h"
#include "game/help_overlay.h"
#include "game/play_screen.h"
#include "game/shared_screens.h"
#include "graphics/font_collection.h"
#include "graphics/image.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "maps/xmap.h"
#include "shell/logger.h"
#include "shell/random.h"
#include "shell/toolbox.h"
#include "shell/web_bridge.h"
#include "solver/solver.h"
#include "ui/edit_box.h"
#include "world/block_images.h"
#include "world/map_check.h"
#include "world/map_runner.h"
#include "world/maps.h"
#include "world/pack_reader.h"
#include "world/pack_ways.h"
#include "world/share_code.h"

namespace {

std::string Switch(int Font) { return std::string(1, static_cast<char>(Font)); }

void DrawText(const std::string& Text, int X, int Y, int Align) {
  if (FontCollection) FontCollection->DrawText(Text, X, Y, Align);
}

// A line of the game's font as it fits across the screen.
std::string Fit(const std::string& Text) { return FontCollection ? FontCollection->FitText(Text, 624) : Text; }

constexpr int kPaletteX = 8;
constexpr int kPaletteY = 442;
constexpr int kPaletteStep = 36;
// The header's lines run from here to there; the pack keeps at least its
// share when the map's line is long.
constexpr int kHeaderLeft = 8;
constexpr int kHeaderRight = 632;
constexpr int kHeaderGap = 16;
constexpr int kPackShare = 240;
constexpr int kSolveSeconds = 60;
constexpr const char* kHint = "F5 play  F6 solve  F7 watch  F9 share  Ctrl+S save  Esc leave";

// Puts the editor's world in the global the play screen plays, and the old
// one back afterwards.
class TPlayWorld {
 public:
  explicit TPlayWorld(std::unique_ptr<TMaps> World) : FOld(std::exchange(Maps, std::move(World))) {}
  ~TPlayWorld() { Maps = std::move(FOld); }
  TPlayWorld(const TPlayWorld&) = delete;
  TPlayWorld& operator=(const TPlayWorld&) = delete;

 private:
  std::unique_ptr<TMaps> FOld;
};

}  // namespace

TEditorScreen::TEditorScreen(std::string PackFile, int MapNo)
    : FPackFile(std::move(PackFile)), FStartMap(MapNo), FFonts(std::make_unique<TEditorFonts>()) {}

TEditorScreen::~TEditorScreen() = default;

bool TEditorScreen::EditLoadedPack(const std::string& PackFile, int MapNo) {
  TEditorScreen Screen(PackFile, std::max(MapNo, 0));
  if (!Screen.Open()) {
    Screen.ShowRefusal();
    return false;
  }
  Screen.Run();
  auto Loaded = std::make_unique<TMaps>();
  if (!Loaded->Load(PackFile)) return false;
  Maps = std::move(Loaded);
  return true;
}

bool TEditorScreen::Open() {
  std::string Error;
  // Saving writes every map anew: a pack whose maps cannot all be read (or
  // that holds none, so is no pack of ours) is left as it is.
  FStatus = EditPackProblem(FPackFile);
  if (FStatus.empty() && !VXToolbox::FileExists(FPackFile)) {
    // A new pack: one empty map, named after its file until renamed.
    TMapEditor Fresh;
    Fresh.SetPackName(std::filesystem::path(FPackFile).stem().string());
    if (Fresh.Save(FPackFile, {}, Error)) Log->Status("Created " + FPackFile, kHeading);
    else FStatus = Error;
  }
  // The maps come from the pack file itself, every one of them: what a save
  // writes back is what the file holds, not a loose file of a member's name.
  TStoredPack Stored;
  if (FStatus.empty() && !ReadStoredPack(FPackFile, Stored, Error)) FStatus = Error;
  if (!FStatus.empty()) {
    Log->Error("Can't edit " + FPackFile + ": " + FStatus, kHeading);
    return false;
  }
  // Loaded as the game loads it for the looks: the pack's own block images.
  FPack = std::make_unique<TMaps>();
  if (!FPack->Load(FPackFile)) {
    FStatus = "cannot read " + FPackFile;
    return false;
  }
  FExtras = std::move(Stored.Extras);
  FEditor = std::make_unique<TMapEditor>(Stored);
  FEditor->SetCurrent(FStartMap);
  Changed();
  if (const int Gap = FEditor->FileGap())
    FStatus = "No map " + VXToolbox::PaddedNumber(Gap, 3, '0') + ": saving renumbers later maps";
  return true;
}

std::unique_ptr<TMaps> TEditorScreen::WorldCopy() const {
  auto World = std::make_unique<TMaps>(*FPack);
  FEditor->FillWorld(*World);
  return World;
}

void TEditorScreen::Changed() {
  // The solver's run belongs to the map as it was solved.
  FSolvedKeys.clear();
  FView = std::make_unique<TMaps>(*FPack);
  FView->Effects = {};
  FView->Maps = {std::make_shared<TXMap>(FEditor->CurrentMap())};
  // The same looks every time the map is shown: a paint changes one cell.
  VXRandom::Seed(static_cast<uint32_t>(FEditor->Current()));
  FView->SetActive(0);
  FView->FindElf();
  FView->ElfImage = CountTiles(FEditor->CurrentMap(), Tile::Elf) > 0 ? "*D" : TMaps::kHiddenElf;
  ShowMapStatus();
}

void TEditorScreen::ShowMapStatus() {
  const std::string Problem = CheckMap(*FPack, FEditor->CurrentMap()).Problem();
  FStatusIsProblem = !Problem.empty();
  FStatus = Problem.empty() ? std::string(kHint) : "Map " + std::to_string(FEditor->Current() + 1) + ": " + Problem;
}

void TEditorScreen::Paint(int X, int Y, int32_t Code) {
  // The search runs on a copy, but shares the random generator that showing
  // a changed map seeds: it ends before anything changes.
  if (FSolve) {
    FSolve->Cancel();
    PollSolve();
  }
  if (FEditor->Paint(X, Y, Code)) Changed();
}

void TEditorScreen::Typed(char C) {
  const int32_t Code = C == '-' ? Tile::Empty : static_cast<uint8_t>(C);
  if (Code == Tile::Empty && C != '-') return;
  if (!IsTile(Code)) return;
  // Typed as a row of a map text: the character goes in and the cursor on.
  FChosen = Code;
  Paint(FCursorX, FCursorY, Code);
  if (++FCursorX == TMaps::kCols) {
    FCursorX = 0;
    FCursorY = (FCursorY + 1) % TMaps::kRows;
  }
}

void TEditorScreen::Press(int Key, bool Ctrl) {
  TMapEditor& E = *FEditor;
  const int Before = E.MapCount();
  bool Renumbered = false;
  if (Ctrl) {
    // Nothing changed when there is nothing to undo or redo: the map's own
    // status would hide the answer.
    if (Key == VXKey::Letter('z')) {
      if (!E.Undo()) {
        FStatus = "nothing to undo";
        return;
      }
    } else if (Key == VXKey::Letter('y')) {
      if (!E.Redo()) {
        FStatus = "nothing to redo";
        return;
      }
    } else if (Key == VXKey::Letter('s')) {
      Save();
      return;
    } else if (Key == VXKey::PageUp || Key == VXKey::PageDown) {
      Renumbered = E.MoveMap(Key == VXKey::PageUp ? -1 : 1);
    } else {
      return;
    }
  } else {
    switch (Key) {
      case VXKey::Left: FCursorX = (FCursorX + TMaps::kCols - 1) % TMaps::kCols; return;
      case VXKey::Right: FCursorX = (FCursorX + 1) % TMaps::kCols; return;
      case VXKey::Up: FCursorY = (FCursorY + TMaps::kRows - 1) % TMaps::kRows; return;
      case VXKey::Down: FCursorY = (FCursorY + 1) % TMaps::kRows; return;
      case VXKey::Return: Paint(FCursorX, FCursorY, FChosen); return;
      case VXKey::PageUp: E.SetCurrent(E.Current() - 1); break;
      case VXKey::PageDown: E.SetCurrent(E.Current() + 1); break;
      case VXKey::Insert:
        E.AddMap();
        Renumbered = true;
        break;
      case VXKey::Delete:
        if (Ask("Delete map " + std::to_string(E.Current() + 1) + "? (Y/N)") != kYes) return;
        E.DeleteMap();
        Renumbered = true;
        break;
      case VXKey::F2:
      case VXKey::F3:
      case VXKey::F4:
      case VXKey::F8: EditText(Key); break;
      case VXKey::F5: PlayMap(""); break;
      case VXKey::F6: StartSolve(); return;
      case VXKey::F7:
        if (FSolvedKeys.empty()) {
          FStatus = "no solver run for this map yet: F6 first";
          return;
        }
        PlayMap(FSolvedKeys);
        break;
      case VXKey::F9: ShareMap(); return;
      case VXKey::Escape: FLeave = Leave(); return;
      case VXKey::Letter('h'):
        THelpOverlay(THelpScreen::Editor).Run();
        ForgetPressedKeys();
        return;
      default: return;
    }
  }
  Changed();
  if (Renumbered || E.MapCount() != Before) FStatus = "maps renumbered: players' progress is kept by map number";
}

void TEditorScreen::EditText(int Key) {
  TMapEditor& E = *FEditor;
  const char* Label = Key == VXKey::F2   ? "Map name: "
                      : Key == VXKey::F3 ? "Map author: "
                      : Key == VXKey::F4 ? "Pack name: "
                                         : "Pack author: ";
  std::string Text = Key == VXKey::F2   ? E.CurrentMap().MapName
                     : Key == VXKey::F3 ? E.CurrentMap().Author
                     : Key == VXKey::F4 ? E.PackName()
                                        : E.PackAuthor();
  if ((Key == VXKey::F2 || Key == VXKey::F3) && Text == "Unknown") Text.clear();
  VX_SDL::FillBox(0, TEditorFonts::kSecondLineY, 639, 43, 0, 0, 0);
  const std::string Shown = FontSwitch(TEditorFonts::kLabel) + Label;
  FFonts->Draw(Shown, kHeaderLeft, TEditorFonts::kSecondLineY, kAlignLeft);
  const int BoxX = kHeaderLeft + FFonts->Width(Shown) + 8;
  const int Font = TEditorFonts::GameFontForEditing();
  TEditBox Box;
  Box.Setup("X=" + std::to_string(BoxX) + "|Y=" + std::to_string(TEditorFonts::kSecondLineY) +
            "|Width=" + std::to_string(kHeaderRight - BoxX) + "|Height=" + std::to_string(TEditorFonts::kLineHeight) +
            "|AlignX=Left|AlignY=Top");
  Box.Setup("Font=" + std::to_string(Font < 0 ? 1 : Font) +
            "|TextAlign=Left|TextOffsetY=0|TextCase=Normal|MaxLength=60|Background=000000|Transparent=0");
  Box.Setup("CursorChar=_|CursorBlinkRate=30");
  Box.ShowCursor = true;
  Box.Text = Text;
  Box.Run();
  const bool Escaped = VX_SDL::Keys[VXKey::Escape];
  ForgetPressedKeys();
  if (Escaped) return;
  const std::string Value = VXToolbox::Trim(Box.Text);
  if (Key == VXKey::F2) E.SetMapName(Value);
  else if (Key == VXKey::F3) E.SetMapAuthor(Value);
  else if (Key == VXKey::F4) E.SetPackName(Value);
  else E.SetPackAuthor(Value);
}

void TEditorScreen::StartSolve() {
  TSolveOptions Options;
  Options.Seconds = kSolveSeconds;
  FSolvedKeys.clear();
  FSolve = std::make_unique<TSolveJob>(WorldCopy(), FEditor->Current(), Options);
  FStatus = "solving map " + std::to_string(FEditor->Current() + 1) + "... (any key cancels)";
  FStatusIsProblem = false;
}

void TEditorScreen::ShareMap() {
  const int MapNo = FEditor->Current();
  const std::string Which = "map " + std::to_string(MapNo + 1);
  // The search seeds the random generator the replay below seeds too.
  if (FSolve) {
    FStatus = "the solver is still at work: share the map once it is done";
    return;
  }
  TShareCode Code;
  Code.Map = FEditor->CurrentMap();
  // The way the solver found for the map as it stands, else the one the
  // pack carries, when it still wins the map.
  const std::unique_ptr<TMaps> World = WorldCopy();
  World->Effects = {};
  for (const std::string& Way : {FSolvedKeys, CarriedWay(FExtras, MapNo + 1)})
    if (WayWins(*World, MapNo, Way)) {
      Code.Keys = Way;
      break;
    }
  std::string Error;
  const std::string Text = EncodeShareCode(Code, Error);
  FStatusIsProblem = Text.empty();
  if (Text.empty()) {
    FStatus = "cannot share " + Which + ": " + Error;
    return;
  }
  Log->Status("Share code of " + Which + " (" + Code.Map.MapName + "): " + Text, kHeading);
  VXWeb::ShareLink("map", Text);
  ShowShareCode("Map " + std::to_string(MapNo + 1) + ": " + Code.Map.MapName, "map", Text);
  ForgetPressedKeys();
  FStatus = Which + " shared " + (Code.Keys.empty() ? "without a way (F6 finds one first)" : "with a way through it");
}

void TEditorScreen::PollSolve() {
  if (!FSolve || !FSolve->Done()) return;
  const TSolveResult& R = FSolve->Result();
  FStatus = "Map " + std::to_string(FSolve->MapNo() + 1) + ": " + TSolveJob::Summary(R);
  FStatusIsProblem = R.Status != TSolveResult::TStatus::Solved;
  if (R.Status == TSolveResult::TStatus::Solved) FSolvedKeys = R.Keys;
  Log->Status(FStatus + (R.Why.empty() ? "" : " (" + R.Why + ")"), kHeading);
  FSolve.reset();
}

void TEditorScreen::PlayMap(const std::string& Script) {
  const int MapNo = FEditor->Current();
  {
    TPlayWorld World(WorldCopy());
    VX_SDL::ShowCursor(false);
    if (Script.empty()) {
      TPlay1Map Play(MapNo);
      // Escape restarts a map in play; here it brings the designer back.
      Play.AfterEvents = [] {
        if (VX_SDL::Keys[VXKey::Escape]) {
          VX_SDL::Keys[VXKey::Escape] = false;
          VX_SDL::Keys[VXKey::F10] = true;
        }
      };
      Play.Run();
    } else {
      TPlay1Map(MapNo, Script, "the solver").Run();
    }
    VX_SDL::ShowCursor(true);
  }
  ForgetPressedKeys();
  VX_SDL::Clear(0, 0, 0);
}

void TEditorScreen::ForgetPressedKeys() {
  VX_SDL::ClearKeys();
  VX_SDL::ClearKeyBuffer();
  if (FCatcher) FCatcher->Pressed.clear();
}

int TEditorScreen::Ask(const std::string& Question) {
  if (Answer) return Answer(Question);
  VX_SDL::ClearKeys();
  const std::string Old = FStatus;
  const bool OldIsProblem = FStatusIsProblem;
  // A question is no problem of the map's, whatever the line said before.
  FStatus = Question;
  FStatusIsProblem = false;
  int Result = kCancel;
  for (;;) {
    Draw();
    VX_SDL::Flip();
    VX_SDL::PollEvents();
    if (VX_SDL::Keys[VXKey::Letter('y')]) Result = kYes;
    else if (VX_SDL::Keys[VXKey::Letter('n')]) Result = kNo;
    else if (!VX_SDL::Keys[VXKey::Escape]) continue;
    break;
  }
  ForgetPressedKeys();
  FStatus = Old;
  FStatusIsProblem = OldIsProblem;
  return Result;
}

bool TEditorScreen::Save() {
  const std::string Question =
      FEditor->FileGap()
          ? "No map " + VXToolbox::PaddedNumber(FEditor->FileGap(), 3, '0') + ": renumber and save? (Y/N)"
          : "Maps were added, deleted or moved: progress is kept by map number. Save? (Y/N)";
  if (FEditor->Renumbered() && Ask(Question) != kYes) {
    FStatus = "not saved";
    return false;
  }
  std::string Error, Cause;
  if (!FEditor->Save(FPackFile, FExtras, Error, &Cause)) {
    // The status line holds the cause, not the paths: the log has them.
    FStatus = Cause.empty() ? Error : "Pack unchanged: " + Cause;
    FStatusIsProblem = true;
    Log->Error(Error, kHeading);
    return false;
  }
  const std::string Problem = CheckMap(*FPack, FEditor->CurrentMap()).Problem();
  FStatus = "saved " + VXToolbox::ExtractFileName(FPackFile) + (Problem.empty() ? "" : " (map: " + Problem + ")");
  FStatusIsProblem = false;
  Log->Status("Saved " + FPackFile, kHeading);
  VXWeb::OfferDownload(FPackFile);
  return true;
}

bool TEditorScreen::Leave() {
  if (!FEditor->Modified()) return true;
  switch (Ask("Save changes before leaving? (Y/N, Esc stays)")) {
    case kYes: return Save();
    case kNo: return true;
    default: return false;
  }
}

void TEditorScreen::DrawHeader() {
  const TMapEditor& E = *FEditor;
  VX_SDL::FillBox(0, 0, 639, 43, 0, 0, 0);
  const TEditorFonts& F = *FFonts;
  using TF = TEditorFonts;
  const std::string Author = E.CurrentMap().Author;
  const std::string Map = FontSwitch(TF::kLabel) + "Map " + FontSwitch(TF::kValue) + std::to_string(E.Current() + 1) +
                          "/" + std::to_string(E.MapCount()) + "  " + E.CurrentMap().MapName +
                          (Author.empty() ? "" : FontSwitch(TF::kLabel) + " by " + FontSwitch(TF::kValue) + Author);
  const std::string Mark = E.Modified() ? FontSwitch(TF::kProblem) + " *" : "";
  const std::string Pack =
      FontSwitch(TF::kPack) + E.PackName() +
      (E.PackAuthor().empty() ? "" : FontSwitch(TF::kLabel) + " by " + FontSwitch(TF::kPack) + E.PackAuthor());
  // The map comes first; the pack takes what is left, a fair share at least.
  const int Room = kHeaderRight - kHeaderLeft - kHeaderGap;
  const std::string PackShown = F.Fit(Pack, std::max(Room - F.Width(Map + Mark), kPackShare));
  F.Draw(F.Fit(Map, Room - F.Width(PackShown) - F.Width(Mark)) + Mark, kHeaderLeft, TF::kFirstLineY, kAlignLeft);
  F.Draw(PackShown, kHeaderRight, TF::kFirstLineY, kAlignRight);
  F.Draw(F.Fit(FontSwitch(FStatusIsProblem ? TF::kProblem : TF::kPlain) + FStatus, kHeaderRight - kHeaderLeft),
         kHeaderLeft, TF::kSecondLineY, kAlignLeft);
}

void TEditorScreen::DrawPalette() {
  VX_SDL::FillBox(0, 436, 639, 479, 0, 0, 0);
  for (int I = 0; I < kTileCount; ++I) {
    const int X = kPaletteX + kPaletteStep * I;
    const TTileRow& Row = kTileRows[I];
    if (const TImage* Image = TilePicture(Row))
      VX_SDL::DrawImagePart(X, kPaletteY, 0, 0, TMaps::kCellSize, TMaps::kCellSize, *Image);
    else VX_SDL::FrameRect(X, kPaletteY, TMaps::kCellSize, TMaps::kCellSize, 96, 96, 96);
    if (Row.Char == static_cast<char>(FChosen)) VX_SDL::FrameRect(X - 2, kPaletteY - 2, 36, 36, 255, 255, 0);
  }
}

void TEditorScreen::Draw() {
  for (int I = 0; I < 4; ++I) {
    const uint8_t Grey = static_cast<uint8_t>(255 - 64 * I);
    VX_SDL::HorizontalLine(0, 432 + I, 639, Grey, Grey, Grey);
    VX_SDL::HorizontalLine(0, 47 - I, 639, Grey, Grey, Grey);
  }
  DrawHeader();
  DrawPalette();
  // The cursor's frame is drawn over the cells: all are drawn afresh.
  FView->ForgetDrawnCells();
  FView->DrawMap();
  if (TImage* Target = VX_SDL::DrawTarget()) DrawElf(*FView, *Target);
  VX_SDL::FrameRect(TMaps::CellLeft(FCursorX), TMaps::CellTop(FCursorY), TMaps::kCellSize, TMaps::kCellSize, 255, 255,
                    0);
}

void TEditorScreen::ShowRefusal() {
  VX_SDL::ClearKeys();
  // A cause too wide for one line is broken after its file's name.
  std::vector<std::string> Lines{FStatus};
  const size_t Colon = FStatus.find(": ");
  if (FontCollection && FontCollection->TextWidth(Switch(4) + FStatus) > 600 && Colon != std::string::npos)
    Lines = {FStatus.substr(0, Colon + 1), FStatus.substr(Colon + 2)};
  while (!VX_SDL::Keys[VXKey::Escape] && !VX_SDL::Keys[VXKey::Return] && !VX_SDL::Keys[VXKey::Space]) {
    VX_SDL::Clear(0, 0, 0);
    DrawText(Switch(0) + "The editor cannot open this pack:", 320, 170, kAlignCenter);
    for (size_t I = 0; I < Lines.size(); ++I)
      DrawText(Fit(Switch(4) + Lines[I]), 320, 200 + 24 * static_cast<int>(I), kAlignCenter);
    DrawText(Switch(7) + "The pack on disk is unchanged.", 320, 264, kAlignCenter);
    DrawText(Switch(7) + "Escape goes back.", 320, 288, kAlignCenter);
    VX_SDL::Flip();
    VX_SDL::PollEvents();
  }
  ForgetPressedKeys();
}

bool TEditorScreen::Run() {
  VXWeb::NoteScreen("editor");
  if (!FEditor && !Open()) return false;
  TEditorField Field;
  Field.OnBegin = [this] { FEditor->BeginStroke(); };
  Field.OnEnd = [this] { FEditor->EndStroke(); };
  Field.OnCell = [this](int X, int Y, bool Painting) {
    FCursorX = X;
    FCursorY = Y;
    Paint(X, Y, Painting ? FChosen : Tile::Empty);
  };
  std::vector<std::unique_ptr<TPaletteCell>> Palette;
  TKeyCatcher Catcher;
  std::vector<TMouseObject*> Objects{&Catcher, &Field};
  for (int I = 0; I < kTileCount; ++I) {
    Palette.push_back(std::make_unique<TPaletteCell>(static_cast<uint8_t>(kTileRows[I].Char),
                                                     kPaletteX + kPaletteStep * I, kPaletteY));
    Palette.back()->OnChoose = [this](int32_t Code) { FChosen = Code; };
    Objects.push_back(Palette.back().get());
  }
  TMouseRegistration Registered(Objects);
  FCatcher = &Catcher;
  VX_SDL::ShowCursor(true);
  VX_SDL::ClearKeys();
  VX_SDL::ClearKeyBuffer();
  VX_SDL::Clear(0, 0, 0);
  FLeave = false;
  while (!FLeave) {
    Draw();
    VX_SDL::Flip();
    VX_SDL::PollEvents();
    if (AfterEvents) AfterEvents();
    PollSolve();
    const std::vector<TKeyCatcher::TPress> Pressed = std::exchange(Catcher.Pressed, {});
    if (FSolve && !Pressed.empty()) {
      // Any key stops the search; it does nothing else.
      FSolve->Cancel();
      PollSolve();
      VX_SDL::ClearKeyBuffer();
      continue;
    }
    for (const auto& P : Pressed) {
      if (FLeave) break;
      Press(P.Key, P.Ctrl);
    }
    for (uint8_t C = VX_SDL::ReadKey(); C != VX_SDL::kNoKey && !FLeave; C = VX_SDL::ReadKey())
      Typed(static_cast<char>(C));
  }
  FCatcher = nullptr;
  FSolve.reset();
  VX_SDL::ShowCursor(false);
  VX_SDL::ClearKeys();
  return true;
}
