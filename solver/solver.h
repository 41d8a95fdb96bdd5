#pragma once
// The map solver, the one face of solver/ that callers include: searches for
// a key script (one of 'U', 'D', 'L', 'R', '.' per step, as sqtool play takes
// them) that completes a map, running the game's own step and frame timing on
// copies of the world. The search's strategies stay inside solver/.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "shell/web_bridge.h"

class TMaps;
struct TMapRun;

struct TSolveOptions {
  int MaxSteps = 1000;
  double Seconds = 60;
  // When above 0, the search is bounded by the states it expands instead of
  // by the clock (Seconds is then not looked at): the same map then gets the
  // same answer on any machine and under any load, as a generator needs.
  int64_t MaxStates = 0;
  // Fewest steps (breadth-first over steps; should the exact search run out
  // of time, the fewest a search merging states that differ only in idle
  // grass finds); otherwise any script, found fast.
  bool Optimal = false;
  // Seeds the random looks and animation phases of the searched world.
  uint32_t Seed = 0;
  // Bytes the search may keep for its states; the search stops (unknown)
  // rather than grow past it.
  size_t MemoryCap = size_t{1400} << 20;
  // A script is returned only if it completes the map for each of these seeds
  // (the seeds decide when an exit finishes opening).
  std::vector<uint32_t> CheckSeeds = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  // Set from another thread to end the search early (unknown, "cancelled").
  const std::atomic<bool>* Cancel = nullptr;
};

struct TSolveResult {
  enum class TStatus { Solved, Unsolvable, Unknown };
  TStatus Status = TStatus::Unknown;
  std::string Keys;    // when solved
  int64_t States = 0;  // states expanded
  double Seconds = 0;  // time searched
  std::string Why;     // what ended an unknown search
};

// Searches map MapNo of the loaded pack. Plays no sounds and leaves Pack as
// it was; seeds the process-wide random generator.
TSolveResult SolveMap(const TMaps& Pack, int MapNo, const TSolveOptions& Options);

// Searches from World as it stands, a map in play: Run holds its map number
// and the frames to its next step. The world's own looks decide when its
// exits open, so the script is checked on that world alone (CheckSeeds and
// Seed are not used). Plays no sounds and leaves the random generator alone.
TSolveResult SolveFrom(const TMaps& World, const TMapRun& Run, const TSolveOptions& Options);

// A hint for a player: the fewest steps from World as it stands when they
// are proven within a small part of Options.Seconds (a player waits), else
// any way found in the rest.
// Unsolvable when the world can no longer be completed.
TSolveResult SolveHint(const TMaps& World, const TMapRun& Run, const TSolveOptions& Options);

// Plays Keys on map MapNo from its start with the random generator seeded
// with Seed, without drawing. True when the map is completed by the last key.
// Steps (when given) receives the number of keys run.
bool ReplayCompletes(const TMaps& Pack, int MapNo, const std::string& Keys, uint32_t Seed, int* Steps = nullptr);

// The solver run on a copy of the world on its own thread, so that a screen
// keeps drawing and reading keys meanwhile.
class TSolveJob {
 public:
  // Starts solving map MapNo of World (the job owns the copy).
  TSolveJob(std::unique_ptr<TMaps> World, int MapNo, TSolveOptions Options);
  // Starts looking for a hint from World as it stands (SolveHint); Run is
  // copied.
  TSolveJob(std::unique_ptr<TMaps> World, const TMapRun& Run, TSolveOptions Options);
  // Cancels and waits: no thread outlives the job.
  ~TSolveJob();
  TSolveJob(const TSolveJob&) = delete;
  TSolveJob& operator=(const TSolveJob&) = delete;

  // Where no thread runs beside the frames, each call gives the search its
  // next slice.
  bool Done() const;
  // Asks the search to stop and waits for it; the result then says unknown.
  void Cancel();
  // Valid once Done (after Cancel too).
  const TSolveResult& Result();
  int MapNo() const { return FMapNo; }

  // "solved in N steps", "impossible" or "unknown".
  static std::string Summary(const TSolveResult& Result);

 private:
  void Join();

  void Start(std::function<TSolveResult()> Search);

  std::unique_ptr<TMaps> FWorld;
  std::unique_ptr<TMapRun> FFrom;
  int FMapNo;
  TSolveOptions FOptions;
  TSolveResult FResult;
  std::atomic<bool> FCancel{false};
  std::atomic<bool> FDone{false};
  std::thread FThread;
  std::unique_ptr<VXWeb::TSlicedTask> FSliced;
};

// What a map asks of a player, measured on the way the solver found through
// it: how hard that way was to find, how long it is, how often it waits, and
// what beyond digging it needs.
struct TMapRating {
  double Value = 1;  // 1.0 (a walk) to 5.0, one decimal
  int64_t States = 0;
  int Steps = 0;
  int Waits = 0;
  int Diamonds = 0;
  // Seen on the way: something fell (or rolled) to rest, a push, a blast, a
  // balloon moved, a tunnel ride.
  bool Falls = false, Pushes = false, Blasts = false, Balloons = false, Tunnels = false;
  int Needs() const { return Falls + Pushes + Blasts + Balloons + Tunnels; }
};

// The states the rating's own search may expand: bounded by states, so a
// map gets the same rating on every machine.
inline constexpr int64_t kRatingStates = 1000000;
// Rates map MapNo of Pack by a search of its own (kRatingStates). Found, when
// given, is a completed search of the map: should the rating's search run out
// of states, the way Found holds is rated as the hardest to find.
// False when neither completes the map.
bool RateMap(const TMaps& Pack, int MapNo, TMapRating& Rating, const TSolveResult* Found = nullptr);
// "3.4": the value as sqtool prints it.
std::string RatingText(double Value);
