#pragma once
// TRunHistory: every step of one attempt at a map, so that play can run
// backwards and the attempt can be kept as a run. It holds the keys of each
// step and the whole world every few steps; a state in between is computed
// again from the one before it with the game's own step and frame timing.
// Worlds are kept packed, so an hour of play costs a few megabytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/map_runner.h"
#include "world/maps.h"

class TWorldPacker;

class TRunHistory {
 public:
  static constexpr int kSnapshotEvery = 32;
  static constexpr size_t kDefaultCap = size_t{16} << 20;

  explicit TRunHistory(size_t MemoryCap = kDefaultCap);
  ~TRunHistory();
  TRunHistory(const TRunHistory&) = delete;
  TRunHistory& operator=(const TRunHistory&) = delete;

  // A new attempt: everything recorded so far is forgotten. World is the
  // map as it has just started; later worlds must be of the same map.
  void Start(const TMaps& World);
  // World and Run are as they stand just before a step with Keys held:
  // that step is recorded.
  void Record(const TMaps& World, const TMapRun& Run, const TElfKeys& Keys);

  int Steps() const { return static_cast<int>(FSteps.size()); }
  // Puts World and Run back to the start of the last recorded step (the step
  // due at once) and forgets that step. False, with nothing changed, at the
  // start of the attempt. World keeps its effect listener: nothing is heard.
  bool StepBack(TMaps& World, TMapRun& Run);
  // World and Run at the start of step Step (0 to Steps()), the history left
  // as it is.
  void StateAt(int Step, TMaps& World, TMapRun& Run);

  // The attempt as a key script: one of 'U', 'D', 'L', 'R', '.' per step,
  // each giving the step what the keys held gave it.
  const std::string& Script() const { return FScript; }
  // Bytes held for the attempt (snapshots and keys).
  size_t MemoryUsed() const;
  int SnapshotInterval() const { return FEvery; }

 private:
  struct TSnapshot {
    int Step = 0;
    std::vector<uint8_t> Packed;   // a packed world, or
    std::unique_ptr<TMaps> Whole;  // the world itself when it cannot be packed
    TMapRun Run;
    size_t Bytes() const;
  };

  void TakeSnapshot(const TMaps& World, const TMapRun& Run, int Step);
  void ThinSnapshots();
  // The script letter for a step: which single arrow does what Keys do.
  char ScriptKey(const TMaps& World, const TMapRun& Run, const TElfKeys& Keys);

  size_t FCap;
  int FEvery = kSnapshotEvery;
  std::unique_ptr<TWorldPacker> FPacker;
  std::vector<TSnapshot> FSnapshots;  // by step, the first at step 0
  std::vector<uint8_t> FSteps;        // arrows held in each step, a bit each
  std::string FScript;
  size_t FSnapshotBytes = 0;
  // Silent worlds the recomputing and probing run in; kept to reuse their sprites.
  std::unique_ptr<TMaps> FScratch, FProbe;
};
