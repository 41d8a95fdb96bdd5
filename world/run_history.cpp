#include "world/run_history.h"

#include <algorithm>

#include "graphics/sprite.h"
#include "world/world_packer.h"

namespace {

enum : uint8_t { kUp = 1, kDown = 2, kLeft = 4, kRight = 8 };

uint8_t BitsOf(const TElfKeys& K) {
  return static_cast<uint8_t>((K.Up ? kUp : 0) | (K.Down ? kDown : 0) | (K.Left ? kLeft : 0) | (K.Right ? kRight : 0));
}

TElfKeys KeysOf(uint8_t Bits) {
  TElfKeys K;
  K.Up = (Bits & kUp) != 0;
  K.Down = (Bits & kDown) != 0;
  K.Left = (Bits & kLeft) != 0;
  K.Right = (Bits & kRight) != 0;
  return K;
}

// What a world copy costs: the object and a heap block per sprite.
size_t WorldBytes(const TMaps& W) {
  size_t Bytes = sizeof(TMaps);
  for (const auto& S : W.Sprites)
    if (S) Bytes += sizeof(TSprite) + 16;
  return Bytes;
}

// Two worlds that went through one step agree on everything the step can change.
bool SameOutcome(const TMaps& A, const TMapRun& RA, const TMaps& B, const TMapRun& RB) {
  if (A.ElfX != B.ElfX || A.ElfY != B.ElfY || A.ElfDead != B.ElfDead || A.DiamondsLeft != B.DiamondsLeft ||
      A.ElfImage != B.ElfImage || RA.Completed != RB.Completed || A.Flags != B.Flags)
    return false;
  for (int X = 0; X < TMaps::kCols; ++X)
    for (int Y = 0; Y < TMaps::kRows; ++Y)
      if (A.Code(X, Y) != B.Code(X, Y)) return false;
  return true;
}

// Target becomes a copy of From that plays no effects.
void SilentCopy(TMaps& Target, const TMaps& From) {
  Target = From;
  Target.Effects = {};
}

}  // namespace

size_t TRunHistory::TSnapshot::Bytes() const { return Packed.capacity() + (Whole ? WorldBytes(*Whole) : 0); }

TRunHistory::TRunHistory(size_t MemoryCap) : FCap(MemoryCap) {}

TRunHistory::~TRunHistory() = default;

void TRunHistory::Start(const TMaps& World) {
  FPacker = std::make_unique<TWorldPacker>(World);
  FScratch = std::make_unique<TMaps>(World);
  FScratch->Effects = {};
  FProbe = std::make_unique<TMaps>(*FScratch);
  FSnapshots.clear();
  FSteps.clear();
  FScript.clear();
  FSnapshotBytes = 0;
  FEvery = kSnapshotEvery;
}

size_t TRunHistory::MemoryUsed() const {
  size_t Bytes = FSnapshotBytes + FSteps.capacity() + FScript.capacity() + FSnapshots.capacity() * sizeof(TSnapshot);
  if (FScratch) Bytes += 2 * WorldBytes(*FScratch);
  return Bytes;
}

void TRunHistory::TakeSnapshot(const TMaps& World, const TMapRun& Run, int Step) {
  TSnapshot S;
  S.Step = Step;
  S.Run = Run;
  S.Run.Ticks = 1;
  if (!FPacker || !FPacker->Pack(World, S.Run, S.Packed)) {
    // Something the packed form cannot hold: the world is kept whole.
    S.Packed = {};
    S.Whole = std::make_unique<TMaps>(World);
    S.Whole->Effects = {};
  } else {
    S.Packed.shrink_to_fit();
  }
  FSnapshotBytes += S.Bytes();
  FSnapshots.push_back(std::move(S));
}

void TRunHistory::ThinSnapshots() {
  // Every other snapshot goes: twice the steps to compute again, half the memory.
  while (MemoryUsed() > FCap && FSnapshots.size() > 1) {
    FEvery *= 2;
    std::vector<TSnapshot> Kept;
    FSnapshotBytes = 0;
    for (auto& S : FSnapshots)
      if (S.Step % FEvery == 0) {
        FSnapshotBytes += S.Bytes();
        Kept.push_back(std::move(S));
      }
    FSnapshots = std::move(Kept);
    FSnapshots.shrink_to_fit();
  }
}

char TRunHistory::ScriptKey(const TMaps& World, const TMapRun& Run, const TElfKeys& Keys) {
  const uint8_t Bits = BitsOf(Keys);
  if (Bits == 0) return '.';
  if (Bits == kUp || Bits == kDown || Bits == kLeft || Bits == kRight)
    return Bits == kUp ? 'U' : Bits == kDown ? 'D' : Bits == kLeft ? 'L' : 'R';
  // Several arrows held: the elf's move takes the first that leads
  // somewhere, so the step is worth that one arrow. Which one it is shows by
  // trying each alone on a copy.
  SilentCopy(*FScratch, World);
  TMapRun Both = Run;
  RunMapStep(*FScratch, Both, Keys);
  for (const char Letter : {'U', 'D', 'L', 'R'}) {
    const TElfKeys One = ElfKeysFor(Letter);
    if (!(BitsOf(One) & Bits)) continue;
    SilentCopy(*FProbe, World);
    TMapRun Alone = Run;
    RunMapStep(*FProbe, Alone, One);
    if (SameOutcome(*FScratch, Both, *FProbe, Alone)) return Letter;
  }
  return '.';
}

void TRunHistory::Record(const TMaps& World, const TMapRun& Run, const TElfKeys& Keys) {
  if (!FScratch) Start(World);
  const int Step = Steps();
  if (Step % FEvery == 0 && (FSnapshots.empty() || FSnapshots.back().Step < Step)) TakeSnapshot(World, Run, Step);
  FScript += ScriptKey(World, Run, Keys);
  FSteps.push_back(BitsOf(Keys));
  if (MemoryUsed() > FCap) ThinSnapshots();
}

void TRunHistory::StateAt(int Step, TMaps& World, TMapRun& Run) {
  Step = std::clamp(Step, 0, Steps());
  auto After = std::upper_bound(FSnapshots.begin(), FSnapshots.end(), Step,
                                [](int At, const TSnapshot& S) { return At < S.Step; });
  if (After == FSnapshots.begin()) return;  // nothing recorded yet
  const TSnapshot& From = *(After - 1);
  TMapRun R = From.Run;
  if (From.Whole) SilentCopy(*FScratch, *From.Whole);
  else FPacker->Unpack(From.Packed.data(), *FScratch, R);
  R.Ticks = 1;
  // The frames between two steps tick the cell animations, as on screen:
  // an exit finishes opening on the same frame as it did.
  for (int S = From.Step; S < Step; ++S) {
    AdvanceMapFrame(*FScratch, R, KeysOf(FSteps[static_cast<size_t>(S)]));
    while (R.Ticks > 1) AdvanceMapFrame(*FScratch, R, TElfKeys{});
  }
  TEffectListener Listener = std::move(World.Effects);
  World = *FScratch;
  World.Effects = std::move(Listener);
  Run.Ticks = R.Ticks;
  Run.Completed = R.Completed;
}

bool TRunHistory::StepBack(TMaps& World, TMapRun& Run) {
  if (FSteps.empty()) return false;
  const int Step = Steps() - 1;
  StateAt(Step, World, Run);
  FSteps.pop_back();
  FScript.pop_back();
  // A snapshot taken at this very step still holds its start.
  while (!FSnapshots.empty() && FSnapshots.back().Step > Step) {
    FSnapshotBytes -= FSnapshots.back().Bytes();
    FSnapshots.pop_back();
  }
  return true;
}
