#pragma once
// TPlay1Map: one map of the current level pack on screen, from its start to
// "Map Completed!" or until the player leaves it. While Backspace is held the
// world runs backwards, step by step, down to the map's start, and on into
// the attempt a restart ended; P pauses. A kept run can be watched on it as
// well, fast or paused.
#include <functional>
#include <memory>
#include <string>

#include "game/play_hint.h"
#include "game/play_pause.h"
#include "world/map_runner.h"
#include "world/run_history.h"

class TPlay1Map {
 public:
  static constexpr int kDeadSteps = 16;
  static constexpr int kCompletedFrames = 340;
  // Frames each step back is shown while Backspace is held.
  static constexpr int kRewindFrames = 2;
  // Frames a watched run goes on in one while it is fast forwarded.
  static constexpr int kFastForward = 4;

  explicit TPlay1Map(int MapNo);
  // Watching: the map plays Script (a key script) by itself, the foot strip
  // tells whose run it is and the step, any key but those that speed or
  // pause it ends it; nothing is recorded.
  TPlay1Map(int MapNo, std::string Script, std::string Player);
  // True when the map was completed, false when the player left it (F10).
  bool Run();
  void DrawDiamonds();
  void DrawMapNo();
  void ShowCompleted();

  std::string CurrentSong;
  // What the foot strip adds after the map's name (what is known of a shared map).
  std::string Label;
  // Runs after the events of every frame of play; tests hold keys here as a
  // player would.
  std::function<void()> AfterEvents;
  // Runs the moment the elf enters the open exit, before "Map Completed!"
  // shows: a win recorded here survives the program ending during that
  // screen. Not called while a run is watched.
  std::function<void()> OnCompleted;
  bool Completed() const { return FRun.Completed; }
  int MapNo() const { return FRun.MapNo; }
  // The attempt that completed the map, as a key script for sqtool play:
  // what Backspace undid is not in it.
  const std::string& RunScript() const { return FHistory->Script(); }
  // Steps of the attempt as it stands (those Backspace undid not counted),
  // or of the watched run so far.
  int Steps() const { return Watching() ? static_cast<int>(FScriptAt) : FHistory->Steps(); }
  // A hint was shown during the attempt as it stands.
  bool Hinted() const { return FHinted; }
  const TPlayHint& Hint() const { return FHint; }
  // Frames the last pause lasted.
  int FramesPaused() const { return FPause.FramesPaused(); }

 private:
  void StartMap();
  TElfKeys KeysForStep();
  void Rewind(TImage* Target);
  void DrawWatching();
  void DrawNotes();
  // F3 asks for a hint; the answer is taken and the way drawn.
  void HintFrame(TImage* Target);
  bool Watching() const { return !FPlayer.empty(); }
  char WatchedKey();
  void FastForward();
  // The attempt a restart ends is kept, so that Backspace can go back into it.
  void KeepAttempt();
  bool ResumeEarlierAttempt();

  TMapRun FRun;
  std::unique_ptr<TRunHistory> FHistory = std::make_unique<TRunHistory>();
  // The attempt before the last restart, as it stood when it ended.
  struct TAttempt {
    std::unique_ptr<TRunHistory> History;
    std::unique_ptr<TMaps> World;
    TMapRun Run;
    bool Hinted = false;
  };
  std::unique_ptr<TAttempt> FEarlier;
  TPlayPause FPause;
  TPlayHint FHint;
  bool FHinted = false;
  bool FHintKeyWasHeld = false;
  std::string FNoteShown;  // the hint's note as the foot strip shows it
  // The world being rewound is drawn through this copy, which alone ticks
  // its animations: the rewound world stays exactly at its step.
  std::unique_ptr<TMaps> FView;
  int FRewindFrame = -1;  // frames Backspace has been held, -1 when not
  int FHoldFrames = 0;    // frames the world still waits after a pause
  std::string FScript, FPlayer;
  size_t FScriptAt = 0;
};
