#include "solver/solver.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <queue>

#include "graphics/image.h"
#include "graphics/sprite.h"
#include "shell/random.h"
#include "shell/web_bridge.h"
#include "solver/least_steps.h"
#include "solver/search_packer.h"
#include "solver/seen_table.h"
#include "world/map_runner.h"
#include "world/maps.h"

namespace {

constexpr char kMoves[] = {'.', 'U', 'D', 'L', 'R'};
constexpr int kDeadSteps = 16;
// A script that reaches the exit while it is still opening under another
// seed holds its last key this much longer at most.
constexpr int kMaxHold = 64;
// Weight of the distance still to go against the steps taken (best-first).
constexpr int kGreed = 8;
// What a diamond still to collect weighs: more than any way across the map,
// so that taking a diamond is always progress.
constexpr int kPerDiamond = 80;
// The part of a hint's time given to the fewest steps before any way will do.
constexpr double kHintShortestShare = 0.15;

// Sprites animate only when they have a target to draw on; a search run
// without a window draws on nothing, but its sprites must keep the game's
// timing. Gives new sprites a target while none is set.
class TSpriteTargetScope {
 public:
  TSpriteTargetScope() {
    if (!DefaultSpriteTarget()) {
      FOwn = std::make_unique<TImage>(1, 1);
      SetDefaultSpriteTarget(FOwn.get());
    }
  }
  ~TSpriteTargetScope() {
    if (FOwn) SetDefaultSpriteTarget(nullptr);
  }
  TSpriteTargetScope(const TSpriteTargetScope&) = delete;
  TSpriteTargetScope& operator=(const TSpriteTargetScope&) = delete;

 private:
  std::unique_ptr<TImage> FOwn;
};

// A silent world at the start of the map, its looks drawn with Seed.
void StartWorld(TMaps& W, TMapRun& Run, int MapNo, uint32_t Seed) {
  W.Effects = {};
  VXRandom::Seed(Seed);
  Run = TMapRun{};
  Run.MapNo = MapNo;
  StartMapRun(W, Run);
}

// The frames of one step, as the game runs them after a key is pressed.
void RunStep(TMaps& W, TMapRun& Run, char Key) { AdvanceMapStep(W, Run, ElfKeysFor(Key)); }

// Steps until the map is completed when Keys are played from W as it
// stands and the last key is then held up to Hold steps more; -1 when it is
// not completed.
int PlayToCompletion(TMaps& W, TMapRun& Run, const std::string& Keys, int Hold) {
  const size_t Total = Keys.size() + static_cast<size_t>(Keys.empty() ? 0 : Hold);
  for (size_t I = 0; I < Total; ++I) {
    if (Run.Completed || W.ElfDead > kDeadSteps) break;
    RunStep(W, Run, Keys[std::min(I, Keys.size() - 1)]);
    if (Run.Completed) return static_cast<int>(I) + 1;
  }
  return -1;
}

// The same from the map's start, its looks drawn with Seed.
int StepsToComplete(const TMaps& Pack, int MapNo, const std::string& Keys, uint32_t Seed, int Hold) {
  TMaps W(Pack);
  TMapRun Run;
  StartWorld(W, Run, MapNo, Seed);
  return PlayToCompletion(W, Run, Keys, Hold);
}

constexpr int kCells = TMaps::kCols * TMaps::kRows;
using TState = TSearchPacker::TState;

// The cells next to each cell (X * kRows + Y) within the field; -1 pads.
struct TNeighbours {
  std::array<std::array<int16_t, 4>, kCells> Of{};
  TNeighbours() {
    for (int Cell = 0; Cell < kCells; ++Cell) {
      const int X = Cell / TMaps::kRows, Y = Cell % TMaps::kRows;
      const int Near[4][2] = {{X - 1, Y}, {X + 1, Y}, {X, Y - 1}, {X, Y + 1}};
      for (int I = 0; I < 4; ++I) {
        const bool In = Near[I][0] >= 0 && Near[I][0] < TMaps::kCols && Near[I][1] >= 0 && Near[I][1] < TMaps::kRows;
        Of[static_cast<size_t>(Cell)][static_cast<size_t>(I)] =
            static_cast<int16_t>(In ? Near[I][0] * TMaps::kRows + Near[I][1] : -1);
      }
    }
  }
};
const TNeighbours kNeighbours;

bool IsExit(uint8_t C) { return C == Tile::ExitOpen || C == Tile::ExitOpening || C == Tile::ExitWaiting; }

// The distance still to go, in steps (a guess): the way to the nearest
// diamond around walls, plus some for each further one; or the way to the
// nearest exit. -1 when the map can no longer be completed (fewer diamonds
// left than needed, no exit that can open).
int Remaining(const TState& W) {
  bool Target[kCells];
  int Targets = 0;
  const bool ForDiamonds = W.DiamondsLeft > 0;
  for (int Cell = 0; Cell < kCells; ++Cell) {
    const uint8_t C = W.Code(Cell);
    const bool Is = ForDiamonds ? C == Tile::Diamond : IsExit(C);
    Target[Cell] = Is;
    Targets += Is;
  }
  if (ForDiamonds ? Targets < W.DiamondsLeft : Targets == 0) return -1;
  const int Further = ForDiamonds ? kPerDiamond * (W.DiamondsLeft - 1) + kPerDiamond : 0;
  if (W.ElfX < 0 || W.ElfX >= TMaps::kCols || W.ElfY < 0 || W.ElfY >= TMaps::kRows) return Further;
  // Breadth-first from the elf to the nearest target.
  int16_t Queue[kCells];
  bool Seen[kCells] = {};
  int16_t Distance[kCells];
  int Head = 0, Tail = 0;
  const int Start = W.ElfX * TMaps::kRows + W.ElfY;
  Queue[Tail++] = static_cast<int16_t>(Start);
  Seen[Start] = true;
  Distance[Start] = 0;
  while (Head < Tail) {
    const int Cell = Queue[Head++];
    if (Target[Cell]) return Distance[Cell] + Further;
    for (int16_t To : kNeighbours.Of[static_cast<size_t>(Cell)]) {
      if (To < 0 || Seen[To] || (!Target[To] && TileIs(W.Code(To), kBarrier))) continue;
      Seen[To] = true;
      Distance[To] = static_cast<int16_t>(Distance[Cell] + 1);
      Queue[Tail++] = To;
    }
  }
  // Walled off for now: a barrel may yet open the way.
  return 3 * (TMaps::kCols + TMaps::kRows) + Further;
}

class TSearch {
 public:
  // From the map's start; or, with From, from Pack as it stands with From's
  // frames to its next step.
  TSearch(const TMaps& Pack, int MapNo, const TSolveOptions& Options, std::optional<TMapRun> From = std::nullopt)
      : FPack(Pack),
        FMapNo(MapNo),
        FOptions(Options),
        FFrom(std::move(From)),
        FStart(Pack),
        FWork(Pack),
        FPacker(PrepareStart(), FStartRun) {}

  TSolveResult Run();

 private:
  // How a pass orders its states and tells them apart.
  struct TKind {
    // Merges states that differ only in grass nothing can fall into
    // (TSearchPacker::Key): far fewer ways of digging the same tunnels, but
    // a way that needed some of that grass may be missed.
    bool Coarse = false;
    // Fewest steps first, by steps taken plus the least still to take
    // (TLeastSteps): the first completion taken off the queue has the
    // fewest steps. Otherwise the nearest to completion first, to dive.
    bool Least = false;
    // A beam this wide: step by step, only the states nearest to completion
    // go on, at most a few with the elf in the same cell and as many
    // diamonds left (so that the beam does not fill with one idea).
    // Misses ways, but never sinks into one corner of the map.
    int Beam = 0;
  };
  enum class TEnd { Solved, Exhausted, Limited };
  // One search from the map's start until Share of the time (or of the
  // states) allowed is spent; adds to Result.
  TEnd Pass(TKind Kind, double Share, TSolveResult& Result);
  // The next step's states of a beam, taken from the queue.
  void NextLayer(int Width, std::vector<uint32_t>& Layer);
  // Checks the limits now and then; false (Result.Why set) to stop.
  bool WithinLimits(double Share, TSolveResult& Result);
  // Share of the allowed time or states already spent.
  bool Spent(double Share, const TSolveResult& Result) const {
    if (FOptions.MaxStates > 0)
      return static_cast<double>(Result.States) >= static_cast<double>(FOptions.MaxStates) * Share;
    return Elapsed() > FOptions.Seconds * Share;
  }
  // Expands Node: runs every key that changes something from its world.
  // False when the pass must end (solved, or a world it cannot keep).
  bool Expand(uint32_t Node, TKind Kind);
  // A completion by Move from Node: kept when it holds for every seed and
  // is the shortest yet.
  void Completed(uint32_t Node, char Move);
  void Reset();
  struct TNode {
    uint64_t Key;
    uint32_t Parent;
    uint16_t G;
    char Move;
  };
  using TClock = std::chrono::steady_clock;

  const TMaps& PrepareStart() {
    if (FFrom) {
      FStart.Effects = {};
      FStartRun = *FFrom;
    } else {
      StartWorld(FStart, FStartRun, FMapNo, FOptions.Seed);
    }
    // The search follows only where the world leads: its looks stay still.
    FStart.AnimateLooks = false;
    FWork = FStart;
    return FStart;
  }
  double Elapsed() const { return std::chrono::duration<double>(TClock::now() - FBegan).count(); }
  size_t Bytes() const {
    return FSnapshotBytes + FSeen.Bytes() + FNodes.capacity() * sizeof(TNode) + FBuckets.capacity() * 2 +
           FSnapshots.capacity() * sizeof(FSnapshots[0]) + FHeap.size() * sizeof(uint64_t) * 2;
  }
  // Adds a node for the world in FChild; Priority orders the queue (lowest
  // first).
  void Keep(uint64_t Key, uint32_t Parent, uint32_t G, char Move, uint32_t Priority);
  std::string ScriptTo(uint32_t Node, char LastMove) const;
  // The script made to hold for every checked seed; empty when it cannot.
  std::string CheckSeeds(const std::string& Keys) const;
  // The next node to expand and its priority.
  bool Next(uint32_t& Node, uint32_t& Priority);
  void Release(uint32_t Node) {
    if (!FSnapshots[Node]) return;
    FSnapshotBytes -= TSearchPacker::PackedSize(FSnapshots[Node].get()) + 16;
    FSnapshots[Node].reset();
  }
  // At least this many steps from FChild's world; -1 when it cannot end.
  int LeastFromChild(bool Tight) const {
    return FLeast.Bound(FChild.ElfX * TMaps::kRows + FChild.ElfY, FChild.DiamondsLeft, FChild.Cells.data(), Tight);
  }

  const TMaps& FPack;
  const int FMapNo;
  const TSolveOptions FOptions;
  const std::optional<TMapRun> FFrom;
  TMaps FStart, FWork;
  TMapRun FStartRun, FWorkRun;
  TSearchPacker FPacker;
  TSearchPacker::TState FParent, FChild;
  bool FChildIsWork = false;  // FChild is what FWork holds
  TSeenTable FSeen;
  std::vector<TNode> FNodes;
  std::vector<uint16_t> FBuckets;  // elf cell and diamonds left, for a beam
  std::vector<uint8_t> FInBucket;
  int64_t FChecks = 0;
  std::vector<std::unique_ptr<uint8_t[]>> FSnapshots;
  size_t FSnapshotBytes = 0;
  std::priority_queue<uint64_t, std::vector<uint64_t>, std::greater<uint64_t>> FHeap;
  std::vector<uint8_t> FBuffer;
  TClock::time_point FBegan = TClock::now();
  bool FPackFailed = false;
  bool FRejected = false;  // a completion that failed for some seed
  TLeastSteps FLeast{FStart};
  int FMaxSteps = std::clamp(FOptions.MaxSteps, 0, 65535);
  // The shortest completion found (searched steps), and its script.
  int FBestSteps = INT_MAX;
  std::string FBest;
};

void TSearch::Keep(uint64_t Key, uint32_t Parent, uint32_t G, char Move, uint32_t Priority) {
  FPacker.Pack(FChild, FBuffer);
  const uint32_t Index = static_cast<uint32_t>(FNodes.size());
  FNodes.push_back({Key, Parent, static_cast<uint16_t>(G), Move});
  FBuckets.push_back(static_cast<uint16_t>((FChild.ElfX * TMaps::kRows + FChild.ElfY) * 256 +
                                           std::clamp(FChild.DiamondsLeft, 0, 255)));
  auto Data = std::make_unique<uint8_t[]>(FBuffer.size());
  std::copy(FBuffer.begin(), FBuffer.end(), Data.get());
  FSnapshotBytes += FBuffer.size() + 16;
  FSnapshots.push_back(std::move(Data));
  // Among equals the newest first, to dive.
  FHeap.push(static_cast<uint64_t>(Priority) << 32 | (0xFFFFFFFFu - Index));
}

bool TSearch::Next(uint32_t& Node, uint32_t& Priority) {
  while (!FHeap.empty()) {
    Node = 0xFFFFFFFFu - static_cast<uint32_t>(FHeap.top() & 0xFFFFFFFFu);
    Priority = static_cast<uint32_t>(FHeap.top() >> 32);
    FHeap.pop();
    // A state reached again in fewer steps was queued anew; this one is stale.
    if (FSeen.Best(FNodes[Node].Key) < FNodes[Node].G) {
      Release(Node);
      continue;
    }
    return true;
  }
  return false;
}

std::string TSearch::ScriptTo(uint32_t Node, char LastMove) const {
  std::string Keys(1, LastMove);
  for (uint32_t N = Node; N != 0; N = FNodes[N].Parent) Keys += FNodes[N].Move;
  std::reverse(Keys.begin(), Keys.end());
  return Keys;
}

std::string TSearch::CheckSeeds(const std::string& Keys) const {
  int Hold = 0;
  if (FFrom) {
    // The world's own looks decide when its exit opens: it alone is checked.
    TMaps W(FPack);
    W.Effects = {};
    TMapRun Run = *FFrom;
    const int Steps = PlayToCompletion(W, Run, Keys, kMaxHold);
    if (Steps < 0) return {};
    return Keys + std::string(static_cast<size_t>(Steps - static_cast<int>(Keys.size())), Keys.back());
  }
  for (uint32_t Seed : FOptions.CheckSeeds) {
    const int Steps = StepsToComplete(FPack, FMapNo, Keys, Seed, kMaxHold);
    if (Steps < 0) return {};
    Hold = std::max(Hold, Steps - static_cast<int>(Keys.size()));
  }
  return Keys + std::string(static_cast<size_t>(Hold), Keys.back());
}

void TSearch::Completed(uint32_t Node, char Move) {
  const int Steps = FNodes[Node].G + 1;
  if (Steps >= FBestSteps) return;
  std::string Script = CheckSeeds(ScriptTo(Node, Move));
  if (Script.empty()) {
    FRejected = true;
    return;
  }
  FBestSteps = Steps;
  FBest = std::move(Script);
}

void TSearch::Reset() {
  FSeen = TSeenTable();
  FNodes.clear();
  FBuckets.clear();
  FChecks = 0;
  FSnapshots.clear();
  FSnapshotBytes = 0;
  FHeap = {};
}

bool TSearch::Expand(uint32_t Node, TKind Kind) {
  const TNode Parent = FNodes[Node];
  const uint32_t G = Parent.G + 1u;
  FPacker.Unpack(FSnapshots[Node].get(), FParent);
  Release(Node);
  bool Fresh = false;  // FWork holds the parent as unpacked
  for (char Move : kMoves) {
    if (!Fresh) FPacker.Apply(FParent, FWork, FWorkRun, FChildIsWork ? &FChild : nullptr);
    Fresh = true;
    FChildIsWork = false;
    // A key that moves nothing (the elf hidden in a tunnel takes no keys
    // at all) makes the same step as no key.
    if (Move != kMoves[0] &&
        (FWork.ElfImage == TMaps::kHiddenElf || FWork.ElfAction(ElfKeysFor(Move)) == TElfAction::None))
      continue;
    Fresh = false;
    RunStep(FWork, FWorkRun, Move);
    if (FWorkRun.Completed) {
      Completed(Node, Move);
      // Diving, the first completion will do; the fewest steps first, one
      // still has to be sure nothing shorter waits in the queue.
      if (!Kind.Least && !FBest.empty()) return false;
      continue;
    }
    if (FWork.ElfDead > 0) continue;
    if (!FPacker.Read(FWork, FWorkRun, FChild)) {
      FPackFailed = true;
      return false;
    }
    FChildIsWork = true;
    const uint64_t Key = FPacker.Key(FChild, Kind.Coarse);
    if (!FSeen.Improve(Key, G)) continue;
    // Cannot end, or not within the steps allowed (or sooner than the
    // shortest completion found). Only the fewest-steps search needs the
    // bound at its tightest.
    const int Least = LeastFromChild(Kind.Least);
    if (Least < 0 || static_cast<int>(G) + Least > std::min(FMaxSteps, FBestSteps - 1)) continue;
    uint32_t Priority;
    if (Kind.Least) {
      // Fewest steps in all first; among those, the most already taken.
      Priority = (G + static_cast<uint32_t>(Least)) << 16 | (0xFFFFu - G);
    } else {
      const int Guess = Remaining(FChild);
      if (Guess < 0) continue;
      Priority = G + static_cast<uint32_t>(kGreed * Guess);
    }
    Keep(Key, Node, G, Move, Priority);
  }
  return true;
}

TSearch::TEnd TSearch::Pass(TKind Kind, double Share, TSolveResult& Result) {
  Reset();
  FPackFailed = !FPacker.Read(FStart, FStartRun, FChild);
  // A diamond or exit walled off by steel ends it at once (no bound).
  const int StartGuess = !FPackFailed ? Remaining(FChild) : -1;
  if (StartGuess >= 0 && LeastFromChild(true) >= 0) {
    FSeen.Improve(FPacker.Key(FChild, Kind.Coarse), 0);
    FWork = FStart;
    FWorkRun = FStartRun;
    FChildIsWork = true;
    Keep(FPacker.Key(FChild, Kind.Coarse), 0, 0, '.', 0);
  }
  uint32_t Node, Priority;
  if (Kind.Beam > 0) {
    std::vector<uint32_t> Layer;
    NextLayer(Kind.Beam, Layer);
    while (!Layer.empty() && !FPackFailed && FBest.empty()) {
      for (uint32_t N : Layer) {
        if (!WithinLimits(Share, Result)) return TEnd::Limited;
        if (FNodes[N].G >= FMaxSteps) break;
        ++Result.States;
        if (!Expand(N, Kind)) break;
      }
      NextLayer(Kind.Beam, Layer);
    }
  }
  while (!FPackFailed && (Kind.Least || FBest.empty()) && Next(Node, Priority)) {
    if (!WithinLimits(Share, Result)) return TEnd::Limited;
    // Nothing left in the queue can complete sooner than the best found.
    if (Kind.Least && static_cast<int>(Priority >> 16) >= FBestSteps) return TEnd::Solved;
    if (FNodes[Node].G >= FMaxSteps) {
      Release(Node);
      continue;
    }
    ++Result.States;
    if (!Expand(Node, Kind)) break;
  }
  if (FPackFailed) {
    Result.Why = "unsupported world";
    return TEnd::Limited;
  }
  // A beam that ran dry proves nothing: it left states behind.
  if (Kind.Beam > 0 && FBest.empty()) {
    Result.Why = "beam";
    return TEnd::Limited;
  }
  return FBest.empty() ? TEnd::Exhausted : TEnd::Solved;
}

bool TSearch::WithinLimits(double Share, TSolveResult& Result) {
  // Counting states is cheap and must stop at the same state every time.
  if (FOptions.MaxStates > 0 && Spent(Share, Result)) {
    Result.Why = "states";
    return false;
  }
  if ((FChecks++ & 63) != 0) return true;
  VXWeb::TSlicedTask::Pause();
  if (FOptions.Cancel && FOptions.Cancel->load()) Result.Why = "cancelled";
  else if (FOptions.MaxStates <= 0 && Spent(Share, Result)) Result.Why = "time";
  else if (Bytes() > FOptions.MemoryCap) Result.Why = "memory";
  else return true;
  return false;
}

void TSearch::NextLayer(int Width, std::vector<uint32_t>& Layer) {
  constexpr uint8_t kPerBucket = 3;
  FInBucket.assign(size_t{1} << 16, 0);
  Layer.clear();
  uint32_t Node, Priority;
  while (Next(Node, Priority)) {
    uint8_t& InBucket = FInBucket[FBuckets[Node]];
    if (static_cast<int>(Layer.size()) >= Width || InBucket >= kPerBucket) {
      Release(Node);
      continue;
    }
    ++InBucket;
    Layer.push_back(Node);
  }
}

TSolveResult TSearch::Run() {
  TSolveResult Result;
  // Each pass gets until its share of the time has gone.
  std::vector<std::pair<TKind, double>> Passes;
  if (FOptions.Optimal) {
    // A beam finds a short completion fast; the fewest-steps search then
    // keeps only what could still beat it, and when it finds nothing
    // shorter, that one has the fewest steps.
    Passes = {{{true, false, 2000}, 0.1}, {{false, true, 0}, 1}};
  } else {
    // An exact dive first (it settles the easy maps and small dead ones);
    // then beams, narrow and wide, merging states that differ only in idle
    // grass; then a dive merging them; and, should that one run out of
    // states, an exact one again: only an exact search may call a map
    // unsolvable.
    Passes = {{{false, false, 0}, 0.05},
              {{true, false, 2000}, 0.25},
              {{true, false, 20000}, 0.6},
              {{true, false, 0}, 1},
              {{false, false, 0}, 1}};
  }
  TEnd End = TEnd::Limited;
  TKind Ran;  // the last pass run
  for (const auto& [Kind, Share] : Passes) {
    if (Spent(Share, Result)) continue;
    Ran = Kind;
    Result.Why.clear();
    End = Pass(Kind, Share, Result);
    if (Result.Why == "cancelled" || FPackFailed) break;
    // A dive's completion is the answer unless the fewest steps are asked for.
    if (End == TEnd::Solved && (!FOptions.Optimal || Kind.Least)) break;
    if (End == TEnd::Exhausted && !Kind.Coarse && Kind.Beam == 0) break;  // settled: nothing completes
  }
  Reset();
  Result.Seconds = Elapsed();
  // Only the fewest-steps pass can say its completion has the fewest.
  const bool Proved = End == TEnd::Solved && (!FOptions.Optimal || Ran.Least);
  if (Proved && !FBest.empty()) {
    Result.Status = TSolveResult::TStatus::Solved;
    Result.Keys = FBest;
    Result.Why.clear();
  } else if (End == TEnd::Exhausted && !Ran.Coarse && Ran.Beam == 0) {
    if (FRejected) Result.Why = "no script completes the map for every seed";
    else Result.Status = TSolveResult::TStatus::Unsolvable;
  } else if (Result.Why.empty() || Result.Why == "beam") {
    Result.Why = FOptions.MaxStates > 0 ? "states" : "time";
  }
  return Result;
}

}  // namespace

TSolveResult SolveMap(const TMaps& Pack, int MapNo, const TSolveOptions& Options) {
  TSpriteTargetScope Target;
  TSearch Search(Pack, MapNo, Options);
  return Search.Run();
}

TSolveResult SolveFrom(const TMaps& World, const TMapRun& Run, const TSolveOptions& Options) {
  TSpriteTargetScope Target;
  // The world's sprites came from another thread (the screen): they take the
  // target of the sprites the search makes, so that all pack alike.
  TMaps Own(World);
  for (auto& Sprite : Own.Sprites)
    if (Sprite) Sprite->Target = DefaultSpriteTarget();
  TSearch Search(Own, Run.MapNo, Options, Run);
  return Search.Run();
}

TSolveResult SolveHint(const TMaps& World, const TMapRun& Run, const TSolveOptions& Options) {
  const auto Began = std::chrono::steady_clock::now();
  TSolveOptions Shortest = Options;
  Shortest.Optimal = true;
  Shortest.Seconds = Options.Seconds * kHintShortestShare;
  TSolveResult Result = SolveFrom(World, Run, Shortest);
  if (Result.Status != TSolveResult::TStatus::Unknown || Result.Why == "cancelled") return Result;
  // No proof either way in time: any way will do for the rest of it.
  TSolveOptions Any = Options;
  Any.Optimal = false;
  Any.Seconds = Options.Seconds - std::chrono::duration<double>(std::chrono::steady_clock::now() - Began).count();
  if (Any.Seconds <= 0) return Result;
  const int64_t Before = Result.States;
  Result = SolveFrom(World, Run, Any);
  Result.States += Before;
  Result.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Began).count();
  return Result;
}

bool ReplayCompletes(const TMaps& Pack, int MapNo, const std::string& Keys, uint32_t Seed, int* Steps) {
  TSpriteTargetScope Target;
  const int N = StepsToComplete(Pack, MapNo, Keys, Seed, 0);
  if (Steps) *Steps = N;
  return N >= 0;
}
