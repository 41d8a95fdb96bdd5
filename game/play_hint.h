#pragma once
// F3 on the play screen: the solver looks, on a thread of its own, for a way
// to complete the map from the world as it stands, while play goes on. Once
// found, arrows on the field show the next steps of the way (a ring around
// the elf where it has to wait) for as long as the elf keeps to it; when the
// world can no longer be completed, or nothing is found in time, the foot
// strip says so.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/map_runner.h"

class TImage;
class TSolveJob;

class TPlayHint {
 public:
  static constexpr int kStepsShown = 12;
  static constexpr double kSeconds = 10;
  // Frames a "no way" note stays in the foot strip.
  static constexpr int kNoteFrames = 240;
  enum class TState { Idle, Searching, Shown, NoWay, NotFound };

  TPlayHint();
  ~TPlayHint();
  TPlayHint(const TPlayHint&) = delete;
  TPlayHint& operator=(const TPlayHint&) = delete;

  // Starts a search from World as it stands (Run: its frames to the next
  // step); a search still running is dropped.
  void Ask(const TMaps& World, const TMapRun& Run);
  // Every frame: takes the search's answer once it is there. Should the
  // elf have left the way's start meanwhile, the search starts again from
  // where the world is now.
  void Poll(const TMaps& World, const TMapRun& Run);
  // Every frame: finds the world on the way; off it, the hint ends.
  void Follow(const TMaps& World);
  // Forgets the hint and stops any search (the map starts again).
  void Drop();
  // The way ahead drawn onto Target over the world's cells, which World's
  // next DrawMap draws afresh.
  void Draw(TMaps& World, TImage& Target);

  TState State() const { return FState; }
  // What the foot strip says about the hint; "" when nothing.
  std::string Note() const;
  // The keys of the way still ahead of the elf ("" unless shown).
  std::string KeysAhead() const;
  // A way was shown since the last Drop.
  bool WasShown() const { return FWasShown; }

 private:
  struct TPoint {
    uint64_t Print;  // the world at this point of the way
    int ElfX, ElfY;
  };
  static uint64_t Print(const TMaps& World);
  void BuildWay(const std::string& Keys);
  int Locate(const TMaps& World) const;
  void EndWith(TState State);

  TState FState = TState::Idle;
  std::unique_ptr<TSolveJob> FJob;
  // The world the search started from.
  std::unique_ptr<TMaps> FAsked;
  TMapRun FAskedRun;
  std::string FKeys;
  std::vector<TPoint> FWay;  // FKeys.size() + 1 points: before each key and at the end
  int FAt = 0;
  int FNoteFrames = 0;
  bool FWasShown = false;
  std::array<std::unique_ptr<TImage>, 5> FMarks;  // right, left, down, up, wait
};
