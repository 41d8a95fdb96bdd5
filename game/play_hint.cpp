#include "game/play_hint.h"

#include <cstdlib>

#include "graphics/image.h"
#include "solver/solver.h"
#include "world/maps.h"

namespace {

enum TMark { kRight, kLeft, kDown, kUp, kWait };

// The mark's colour and the dark rim that keeps it apart from any block.
constexpr uint8_t kInk[3] = {120, 255, 255};
constexpr uint8_t kRim = 8;  // not 0: black is the transparent colour

// Whether pixel (U, V) of a 32x32 cell belongs to an arrow pointing right;
// Grow widens it by that many pixels (for the rim).
bool InArrow(int U, int V, int Grow) {
  const bool Shaft = U >= 6 - Grow && U <= 18 && V >= 13 - Grow && V <= 18 + Grow;
  const int Half = 26 - U + Grow;  // the head narrows to its tip at U = 26
  const bool Head = U >= 17 - Grow && U <= 26 + Grow && std::abs(2 * V - 31) <= 2 * Half;
  return Shaft || Head;
}

bool InRing(int U, int V, int Grow) {
  const int D = std::max(std::abs(2 * U - 31), std::abs(2 * V - 31));
  return D >= 23 - 2 * Grow && D <= 29 + 2 * Grow;
}

std::unique_ptr<TImage> MakeMark(int Mark) {
  auto Image = std::make_unique<TImage>(32, 32);
  if (!Image->HasSurface()) return Image;
  Image->Bar(0, 0, 32, 32, 0, 0, 0);
  for (int Pass = 1; Pass >= 0; --Pass)
    for (int X = 0; X < 32; ++X)
      for (int Y = 0; Y < 32; ++Y) {
        // The arrow's own (U, V) for the way it points.
        const int U = Mark == kLeft ? 31 - X : Mark == kDown ? Y : Mark == kUp ? 31 - Y : X;
        const int V = Mark == kDown || Mark == kUp ? X : Y;
        if (!(Mark == kWait ? InRing(X, Y, Pass) : InArrow(U, V, Pass))) continue;
        if (Pass == 1) Image->Bar(X, Y, 1, 1, kRim, kRim, kRim);
        else Image->Bar(X, Y, 1, 1, kInk[0], kInk[1], kInk[2]);
      }
  Image->SetColorKey();
  return Image;
}

int MarkFor(int DX, int DY) {
  if (DX > 0) return kRight;
  if (DX < 0) return kLeft;
  return DY > 0 ? kDown : kUp;
}

}  // namespace

TPlayHint::TPlayHint() = default;
TPlayHint::~TPlayHint() = default;

uint64_t TPlayHint::Print(const TMaps& W) {
  // FNV-1a over what a step can change.
  uint64_t H = 14695981039346656037ull;
  const auto Mix = [&H](uint64_t V) {
    for (int B = 0; B < 8; ++B) {
      H ^= (V >> (8 * B)) & 0xFF;
      H *= 1099511628211ull;
    }
  };
  for (int32_t C : W.Cells()) Mix(static_cast<uint32_t>(C));
  for (uint8_t F : W.Flags) Mix(F);
  Mix(static_cast<uint64_t>(W.ElfX) << 32 | static_cast<uint32_t>(W.ElfY));
  Mix(static_cast<uint64_t>(W.DiamondsLeft) << 32 | static_cast<uint32_t>(W.ElfDead));
  Mix(W.ElfImage == TMaps::kHiddenElf);
  return H;
}

void TPlayHint::Ask(const TMaps& World, const TMapRun& Run) {
  FJob.reset();
  FAsked = std::make_unique<TMaps>(World);
  FAsked->Effects = {};
  FAskedRun = Run;
  FWay.clear();
  FKeys.clear();
  FState = TState::Searching;
  TSolveOptions Options;
  Options.Seconds = kSeconds;
  FJob = std::make_unique<TSolveJob>(std::make_unique<TMaps>(*FAsked), FAskedRun, Options);
}

void TPlayHint::EndWith(TState State) {
  FState = State;
  FNoteFrames = kNoteFrames;
}

void TPlayHint::Poll(const TMaps& World, const TMapRun& Run) {
  if ((FState == TState::NoWay || FState == TState::NotFound) && --FNoteFrames <= 0) FState = TState::Idle;
  if (FState != TState::Searching || !FJob || !FJob->Done()) return;
  const TSolveResult Result = FJob->Result();
  FJob.reset();
  switch (Result.Status) {
    case TSolveResult::TStatus::Unsolvable: return EndWith(TState::NoWay);
    case TSolveResult::TStatus::Unknown: return EndWith(TState::NotFound);
    case TSolveResult::TStatus::Solved: break;
  }
  BuildWay(Result.Keys);
  const int At = Locate(World);
  // The world went its own way while the search ran: ask again from here.
  if (At < 0) return Ask(World, Run);
  FAt = At;
  FState = TState::Shown;
  FWasShown = true;
}

void TPlayHint::BuildWay(const std::string& Keys) {
  TMaps W(*FAsked);
  TMapRun Run = FAskedRun;
  FKeys = Keys;
  FWay.clear();
  FWay.push_back({Print(W), W.ElfX, W.ElfY});
  for (char K : Keys) {
    AdvanceMapStep(W, Run, ElfKeysFor(K));
    FWay.push_back({Print(W), W.ElfX, W.ElfY});
  }
}

int TPlayHint::Locate(const TMaps& World) const {
  const uint64_t Now = Print(World);
  const int N = static_cast<int>(FWay.size());
  // Ahead first (the elf follows); behind after (Backspace went back on the way).
  for (int I = 0; I < N; ++I) {
    const int At = (FAt + I) % N;
    if (FWay[static_cast<size_t>(At)].Print == Now) return At;
  }
  return -1;
}

void TPlayHint::Follow(const TMaps& World) {
  if (FState != TState::Shown) return;
  const int At = Locate(World);
  if (At < 0) {
    FState = TState::Idle;
    FWay.clear();
    FKeys.clear();
  } else {
    FAt = At;
  }
}

void TPlayHint::Drop() {
  FJob.reset();
  FState = TState::Idle;
  FWay.clear();
  FKeys.clear();
  FWasShown = false;
}

std::string TPlayHint::KeysAhead() const {
  return FState == TState::Shown ? FKeys.substr(static_cast<size_t>(FAt)) : "";
}

void TPlayHint::Draw(TMaps& World, TImage& Target) {
  if (FState != TState::Shown || FWay.empty()) return;
  if (!FMarks[0])
    for (int M = 0; M < static_cast<int>(FMarks.size()); ++M) FMarks[static_cast<size_t>(M)] = MakeMark(M);
  const auto Put = [&](int Mark, int X, int Y) {
    if (X < 0 || X >= TMaps::kCols || Y < 0 || Y >= TMaps::kRows) return;
    Target.Draw(TMaps::CellLeft(X), TMaps::CellTop(Y), *FMarks[static_cast<size_t>(Mark)]);
    World.ForgetDrawnCell(X, Y);
  };
  const int End = std::min<int>(FAt + kStepsShown, static_cast<int>(FKeys.size()));
  for (int I = FAt; I < End; ++I) {
    const TPoint& From = FWay[static_cast<size_t>(I)];
    const TPoint& To = FWay[static_cast<size_t>(I) + 1];
    if (To.ElfX != From.ElfX || To.ElfY != From.ElfY)
      Put(MarkFor(To.ElfX - From.ElfX, To.ElfY - From.ElfY), To.ElfX, To.ElfY);
    else if (I == FAt) Put(kWait, From.ElfX, From.ElfY);  // the next step is to stay
  }
}

std::string TPlayHint::Note() const {
  switch (FState) {
    case TState::Searching: return "Looking for a way...";
    case TState::Shown: return "Hint: follow the arrows";
    case TState::NoWay: return "No way from here: rewind";
    case TState::NotFound: return "No way found in 10 s";
    default: return "";
  }
}
