#include "game/play_screen.h"

#include <array>
#include <memory>
#include <utility>

#include "game/help_overlay.h"
#include "game/options_screen.h"
#include "game/play_notes.h"
#include "game/songs.h"
#include "game/step_keys.h"
#include "game/watch_controls.h"
#include "graphics/font_collection.h"
#include "graphics/image.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "shell/random.h"
#include "shell/web_bridge.h"
#include "world/block_images.h"
#include "world/maps.h"

namespace {

std::string Switch(int Font) { return std::string(1, static_cast<char>(Font)); }

// A key that ends a watched run: any but those that speed or pause it.
bool EndWatchingHeld() {
  for (int Key = 0; Key < static_cast<int>(VX_SDL::Keys.size()); ++Key)
    if (VX_SDL::Keys[static_cast<size_t>(Key)] && !WatchControls::IsControl(Key)) return true;
  return false;
}
}  // namespace

TPlay1Map::TPlay1Map(int MapNo) { FRun.MapNo = MapNo; }

TPlay1Map::TPlay1Map(int MapNo, std::string Script, std::string Player)
    : FScript(std::move(Script)), FPlayer(std::move(Player)) {
  FRun.MapNo = MapNo;
}

void TPlay1Map::DrawDiamonds() {
  // A watched run has the foot strip to itself.
  if (Watching()) return;
  VX_SDL::FillBox(16, 443, 389, 470, 0, 0, 0);
  if (FontCollection)
    FontCollection->DrawText(Switch(0) + "Diamonds: " + Switch(1) + std::to_string(Maps->DiamondsLeft), 16, 443,
                             kAlignLeft);
}

void TPlay1Map::DrawMapNo() {
  if (Watching()) return DrawWatching();
  VX_SDL::FillBox(440, 443, 624, 470, 0, 0, 0);
  if (FontCollection)
    FontCollection->DrawText(Switch(0) + "Map: " + Switch(1) + std::to_string(FRun.MapNo + 1), 624, 443, kAlignRight);
}

void TPlay1Map::DrawWatching() {
  WatchControls::DrawFootStrip(FPlayer, static_cast<int>(FScript.size()), static_cast<int>(FScriptAt));
}

void TPlay1Map::DrawNotes() {
  if (Watching()) return DrawWatching();
  FNoteShown = FHint.Note();
  PlayNotes::Draw(Maps->MapName(FRun.MapNo) + (Label.empty() ? "" : " - " + Label),
                  "Step " + std::to_string(FHistory->Steps()) + (FNoteShown.empty() ? "" : "   " + FNoteShown));
}

void TPlay1Map::HintFrame(TImage* Target) {
  if (Watching()) return;
  const bool Held = VX_SDL::Keys[VXKey::F3];
  if (Held && !FHintKeyWasHeld) FHint.Ask(*Maps, FRun);
  FHintKeyWasHeld = Held;
  FHint.Poll(*Maps, FRun);
  FHinted = FHinted || FHint.WasShown();
  // The world as it stands after this frame's step: where the way goes on.
  if (FRewindFrame < 0) FHint.Follow(*Maps);
  if (FHint.Note() != FNoteShown) DrawNotes();
  if (Target && FRewindFrame < 0) FHint.Draw(*Maps, *Target);
}

void TPlay1Map::StartMap() {
  VX_SDL::FillBox(0, 0, 639, 479, 0, 0, 0);
  for (int I = 0; I < 4; ++I) {
    const uint8_t Grey = static_cast<uint8_t>(255 - 64 * I);
    VX_SDL::HorizontalLine(0, 432 + I, 639, Grey, Grey, Grey);
    VX_SDL::HorizontalLine(0, 47 - I, 639, Grey, Grey, Grey);
  }
  VX_SDL::ShowPictureFile(240, 7, "logolite.tga");
  StartMapRun(*Maps, FRun);
  // Arrows pressed in the menus, or before a restart, are not moves of this map.
  VX_SDL::TakePresses();
  FHistory->Start(*Maps);
  FHint.Drop();
  FHinted = false;
  FScriptAt = 0;
  FRewindFrame = -1;
  FHoldFrames = 0;
  DrawMapNo();
  DrawDiamonds();
  DrawNotes();
}

char TPlay1Map::WatchedKey() {
  // Past its end the run holds its last key: the step into the exit, which
  // may open a step later than it did (the door's animation starts anew).
  return FScriptAt < FScript.size() ? FScript[FScriptAt++] : FScript.empty() ? '.' : FScript.back();
}

void TPlay1Map::FastForward() {
  // The frames skipped run as drawn ones would, without the drawing.
  for (int Frame = 1; Frame < kFastForward && !FRun.Completed; ++Frame)
    AdvanceMapFrame(*Maps, FRun, FRun.Ticks <= 1 ? ElfKeysFor(WatchedKey()) : TElfKeys{});
  // The cells changed under what was drawn last.
  Maps->ForgetDrawnCells();
}

void TPlay1Map::KeepAttempt() {
  // An attempt without a step (Escape held down restarts every frame) keeps
  // the one before it.
  if (Watching() || FHistory->Steps() == 0) return;
  auto Kept = std::make_unique<TAttempt>();
  Kept->World = std::make_unique<TMaps>(*Maps);
  Kept->World->Effects = {};
  Kept->Run = FRun;
  Kept->Hinted = FHinted;
  Kept->History = std::move(FHistory);
  FHistory = std::make_unique<TRunHistory>();
  FEarlier = std::move(Kept);
}

bool TPlay1Map::ResumeEarlierAttempt() {
  if (!FEarlier) return false;
  TEffectListener Listener = std::move(Maps->Effects);
  *Maps = *FEarlier->World;
  Maps->Effects = std::move(Listener);
  FRun = FEarlier->Run;
  FHinted = FEarlier->Hinted;
  FHistory = std::move(FEarlier->History);
  FEarlier.reset();
  return true;
}

TElfKeys TPlay1Map::KeysForStep() {
  DrawDiamonds();
  // A dead elf lets go of every key: nothing held carries on past the death.
  if (Maps->ElfDead > 0) VX_SDL::ClearKeys();
  TElfKeys Keys;
  if (Watching()) {
    Keys = ElfKeysFor(WatchedKey());
  } else {
    Keys = StepElfKeys(VX_SDL::Keys, VX_SDL::TakePresses());
    FHistory->Record(*Maps, FRun, Keys);
  }
  DrawNotes();
  return Keys;
}

void TPlay1Map::Rewind(TImage* Target) {
  // One step back every second frame; the first at once.
  if (FRewindFrame++ % kRewindFrames != 0) return;
  // At the start of an attempt a restart began, the world goes back to
  // where the attempt before it ended.
  if (!FHistory->StepBack(*Maps, FRun) && !ResumeEarlierAttempt()) return;
  if (FView) *FView = *Maps;
  else FView = std::make_unique<TMaps>(*Maps);
  FView->Effects = {};
  // The copy has drawn nothing yet: every cell is drawn afresh.
  FView->DrawMap();
  if (Target) DrawElf(*FView, *Target);
  DrawDiamonds();
  DrawNotes();
}

bool TPlay1Map::Run() {
  VXWeb::NoteScreen(Watching() ? "watch" : "play");
  VXWeb::NoteMap(FRun.MapNo);
  FRun.Completed = false;
  if (!Watching()) {
    CurrentSong = PlaylistSong("InGame", FRun.MapNo);
    PlaySong(CurrentSong);
  }
  // The key that asked for the run must not end it.
  if (Watching()) VX_SDL::ClearKeys();
  TImage* Target = VX_SDL::DrawTarget();
  for (;;) {
    StartMap();
    for (;;) {
      if (!Watching() && VX_SDL::Keys[VXKey::Backspace]) {
        if (FRewindFrame < 0) FRewindFrame = 0;
        Rewind(Target);
      } else {
        if (FRewindFrame >= 0) {
          // What the copy drew is on screen now, not what the world drew last.
          Maps->ForgetDrawnCells();
          FRewindFrame = -1;
        }
        if (FHoldFrames > 0) {
          --FHoldFrames;
        } else {
          if (Watching() && WatchControls::FastForwardHeld()) FastForward();
          if (Target && RunMapFrame(*Maps, FRun, *Target, [this] { return KeysForStep(); })) VXWeb::NoteStep();
        }
      }
      HintFrame(Target);
      VX_SDL::Flip();
      VX_SDL::PollEvents();
      if (AfterEvents) AfterEvents();
      if (VX_SDL::Keys[VXKey::F12] && Options) {
        Options->Run();
        VX_SDL::ClearKeys();
        // The options put the picture back as it was, but the cells drawn
        // since then are not known to be on screen: all are drawn afresh.
        Maps->ForgetDrawnCells();
      }
      // The world waits while the help shows; H does not end a watched run.
      if (HelpOnH(Watching() ? THelpScreen::Watching : THelpScreen::Play)) {
        VX_SDL::ClearKeys();
        Maps->ForgetDrawnCells();
      }
      if (FPause.Asked()) {
        FPause.Run(CurrentSong, AfterEvents);
        // The world waits until a whole step lies ahead: a player who
        // resumes, or a tap just after, has a step's time for the next key.
        FHoldFrames = TMapRun::kFramesPerStep - FRun.Ticks;
      }
      if (Watching() && EndWatchingHeld()) return false;
      if (VX_SDL::Keys[VXKey::F10] || VX_SDL::Keys[VXKey::Escape] || FRun.Completed || Maps->ElfDead > kDeadSteps)
        break;
    }
    if (FRun.Completed) {
      if (!Watching()) {
        if (OnCompleted) OnCompleted();
        StopSong(CurrentSong);
        CurrentSong = PlaylistSong("MapEnd", 0);
        PlaySong(CurrentSong);
      }
      ShowCompleted();
      return !Watching();
    }
    if (VX_SDL::Keys[VXKey::F10] || Watching()) {
      StopSong(CurrentSong);
      return false;
    }
    // Escape, or the elf died a while ago: the map starts again, the music
    // plays on. Backspace can still go back into the attempt.
    KeepAttempt();
  }
}

void TPlay1Map::ShowCompleted() {
  VX_SDL::ClearKeys();
  std::array<bool, TMaps::kCols * TMaps::kRows> Removed{};
  int Left = static_cast<int>(Removed.size());
  TImage* Target = VX_SDL::DrawTarget();
  for (int Frame = 0; Frame < kCompletedFrames; ++Frame) {
    if (Left > 0) {
      int X, Y;
      do {
        X = VXRandom::Next(TMaps::kCols);
        Y = VXRandom::Next(TMaps::kRows);
      } while (Removed[static_cast<size_t>(X * TMaps::kRows + Y)]);
      Removed[static_cast<size_t>(X * TMaps::kRows + Y)] = true;
      --Left;
      Maps->ClearCell(X, Y);
    }
    Maps->DrawMap();
    if (Target)
      if (TImage* Elf = FindBlockImage("*D", true)) {
        Target->Draw(TMaps::CellLeft(Maps->ElfX), TMaps::CellTop(Maps->ElfY), *Elf);
        Maps->ForgetDrawnCell(Maps->ElfX, Maps->ElfY);
      }
    if (FontCollection)
      if (TFont* F = FontCollection->Font(5)) F->DrawText("Map Completed!", 320, 220, kAlignCenter);
    VX_SDL::Flip();
    VX_SDL::PollEvents();
    if (VX_SDL::Keys[VXKey::Space] || VX_SDL::Keys[VXKey::F2]) break;
  }
  StopSong(CurrentSong);
}
