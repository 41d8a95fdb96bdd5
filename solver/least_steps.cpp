#include "solver/least_steps.h"

#include <algorithm>

namespace {
constexpr int kCells = TLeastSteps::kCells;

// Steps from From to every cell, around steel (everything else may be dug,
// blown up or walked through in some future).
std::array<uint8_t, kCells> StepsFrom(const TMaps& M, int From) {
  std::array<uint8_t, kCells> D;
  D.fill(255);
  std::array<int16_t, kCells> Queue;
  int Head = 0, Tail = 0;
  D[static_cast<size_t>(From)] = 0;
  Queue[static_cast<size_t>(Tail++)] = static_cast<int16_t>(From);
  while (Head < Tail) {
    const int Cell = Queue[static_cast<size_t>(Head++)];
    const int X = Cell / TMaps::kRows, Y = Cell % TMaps::kRows;
    const int Near[4][2] = {{X - 1, Y}, {X + 1, Y}, {X, Y - 1}, {X, Y + 1}};
    for (const auto& N : Near) {
      if (N[0] < 0 || N[0] >= TMaps::kCols || N[1] < 0 || N[1] >= TMaps::kRows) continue;
      const int To = N[0] * TMaps::kRows + N[1];
      if (D[static_cast<size_t>(To)] != 255 || TileIs(M.Code(N[0], N[1]), kSurvives)) continue;
      D[static_cast<size_t>(To)] = static_cast<uint8_t>(std::min(254, D[static_cast<size_t>(Cell)] + 1));
      Queue[static_cast<size_t>(Tail++)] = static_cast<int16_t>(To);
    }
  }
  return D;
}
}  // namespace

TLeastSteps::TLeastSteps(const TMaps& Start) {
  FToExit.fill(kFar);
  for (int Cell = 0; Cell < kCells; ++Cell) {
    FBalloons = FBalloons || TileIs(Start.Cells()[static_cast<size_t>(Cell)], kFloats);
    FBarrels = FBarrels || TileIs(Start.Cells()[static_cast<size_t>(Cell)], kExplodes);
  }
  for (int Exit : Start.ExitCells()) {
    const auto D = StepsFrom(Start, Exit);
    for (int Cell = 0; Cell < kCells; ++Cell)
      FToExit[static_cast<size_t>(Cell)] = std::min(FToExit[static_cast<size_t>(Cell)], D[static_cast<size_t>(Cell)]);
  }
  FPart.fill(kFar);
  uint8_t Parts = 0;
  FSteps.assign(static_cast<size_t>(kCells) * kCells, kFar);
  for (int Elf = 0; Elf < kCells; ++Elf) {
    if (TileIs(Start.Cells()[static_cast<size_t>(Elf)], kSurvives)) continue;  // never the elf's
    const auto D = StepsFrom(Start, Elf);
    std::copy(D.begin(), D.end(), FSteps.begin() + static_cast<ptrdiff_t>(Elf) * kCells);
    if (FPart[static_cast<size_t>(Elf)] == kFar) {
      for (int Cell = 0; Cell < kCells; ++Cell)
        if (D[static_cast<size_t>(Cell)] < kFar) FPart[static_cast<size_t>(Cell)] = Parts;
      Parts = static_cast<uint8_t>(std::min(Parts + 1, kFar - 1));
    }
    // Best by way of a cell in exactly row Y, then in row Y or below.
    std::array<int, TMaps::kRows> Best;
    Best.fill(2 * kFar);
    for (int Cell = 0; Cell < kCells; ++Cell) {
      const int Via = D[static_cast<size_t>(Cell)] + FToExit[static_cast<size_t>(Cell)];
      int& B = Best[static_cast<size_t>(Cell % TMaps::kRows)];
      B = std::min(B, Via);
    }
    int Below = 2 * kFar;
    for (int Y = TMaps::kRows - 1; Y >= 0; --Y) {
      Below = std::min(Below, Best[static_cast<size_t>(Y)]);
      FByRow[static_cast<size_t>(Elf)][static_cast<size_t>(Y)] = static_cast<uint8_t>(std::min<int>(kFar, Below));
    }
  }
}

int TLeastSteps::Bound(int ElfCell, int DiamondsLeft, const uint8_t* Codes, bool Tight) const {
  if (ElfCell < 0 || ElfCell >= kCells) return 0;
  const int ToExit = FToExit[static_cast<size_t>(ElfCell)];
  if (ToExit >= kFar) return -1;
  int Walk = ToExit;
  if (DiamondsLeft > 0) {
    // The elf must meet DiamondsLeft of the diamonds: at least the one
    // that many places down the order of the way by each. None leaves its
    // part of the field walled off by steel; balloons may lift them to any
    // row of it.
    const auto& ByRow = FByRow[static_cast<size_t>(ElfCell)];
    std::array<uint8_t, kCells> Via;
    int Count = 0;
    for (int Cell = 0; Cell < kCells; ++Cell)
      if (Codes[Cell] == Tile::Diamond)
        Via[static_cast<size_t>(Count++)] = FPart[static_cast<size_t>(Cell)] == FPart[static_cast<size_t>(ElfCell)]
                                                ? (FBalloons ? 0 : ByRow[static_cast<size_t>(Cell % TMaps::kRows)])
                                                : kFar;
    if (Count < DiamondsLeft) return -1;
    if (Count > DiamondsLeft) std::nth_element(Via.begin(), Via.begin() + DiamondsLeft - 1, Via.begin() + Count);
    const int Needed = Count > DiamondsLeft ? Via[static_cast<size_t>(DiamondsLeft - 1)]
                                            : *std::max_element(Via.begin(), Via.begin() + Count);
    if (Needed >= kFar) return -1;
    Walk = std::max(Walk, Needed);
  }
  // The diamonds resting on steel never move (nothing rounded to roll off,
  // nothing below to fall into, no balloon to lift them): the elf walks a
  // path from its cell through each of them to an exit, no shorter than the
  // lightest tree joining them all.
  if (DiamondsLeft > 0 && Tight) Walk = std::max(Walk, FixedTree(ElfCell, DiamondsLeft, Codes));
  if (Walk >= kFar) return -1;
  if (FBalloons) Walk = (Walk + 1) / 2;
  // Each diamond is collected in a step of its own, and the exit is a cell
  // of its own to step into after the last.
  const int Collect = DiamondsLeft > 0 ? DiamondsLeft + 1 : 0;
  return std::max(Walk, Collect);
}

int TLeastSteps::FixedTree(int ElfCell, int DiamondsLeft, const uint8_t* Codes) const {
  // Each node is a cell or two, one of which the elf's way must pass: the
  // elf first, then the diamonds, the exits (as one) last. A diamond on
  // steel never moves. One on grass moves only once the grass below it is
  // gone, and without barrels nothing but the elf takes grass away (nothing
  // falls or rises into it): the elf stands on the diamond or below it.
  struct TNode {
    int16_t Cell, Other;  // Other: -1 when the node is one cell
  };
  std::array<TNode, kCells + 2> Nodes;
  int Count = 0, Diamonds = 0;
  Nodes[static_cast<size_t>(Count++)] = {static_cast<int16_t>(ElfCell), -1};
  for (int Cell = 0; Cell < kCells; ++Cell) {
    if (Codes[Cell] != Tile::Diamond) continue;
    ++Diamonds;
    const bool Bottom = Cell % TMaps::kRows == TMaps::kRows - 1;
    const uint8_t Below = Bottom ? static_cast<uint8_t>(Tile::Steel) : Codes[Cell + 1];
    if (TileIs(Below, kSurvives)) Nodes[static_cast<size_t>(Count++)] = {static_cast<int16_t>(Cell), -1};
    else if (Below == Tile::Grass && !FBarrels)
      Nodes[static_cast<size_t>(Count++)] = {static_cast<int16_t>(Cell), static_cast<int16_t>(Cell + 1)};
  }
  // With diamonds to spare the elf may leave some of them.
  if (Diamonds != DiamondsLeft || Count == 1) return 0;
  const int Exit = Count++;
  auto ToExit = [&](const TNode& N) {
    int D = FToExit[static_cast<size_t>(N.Cell)];
    if (N.Other >= 0) D = std::min<int>(D, FToExit[static_cast<size_t>(N.Other)]);
    return D;
  };
  auto Steps = [&](int From, int To) { return FSteps[static_cast<size_t>(From) * kCells + static_cast<size_t>(To)]; };
  auto Between = [&](int A, int B) -> int {
    if (A == Exit) std::swap(A, B);
    const TNode& N = Nodes[static_cast<size_t>(A)];
    if (B == Exit) return ToExit(N);
    const TNode& M = Nodes[static_cast<size_t>(B)];
    int D = Steps(N.Cell, M.Cell);
    if (M.Other >= 0) D = std::min<int>(D, Steps(N.Cell, M.Other));
    if (N.Other >= 0) D = std::min<int>(D, Steps(N.Other, M.Cell));
    if (N.Other >= 0 && M.Other >= 0) D = std::min<int>(D, Steps(N.Other, M.Other));
    return D;
  };
  // Prim's tree, from the elf.
  std::array<int, kCells + 2> Near;
  std::array<bool, kCells + 2> In{};
  for (int I = 0; I < Count; ++I) Near[static_cast<size_t>(I)] = Between(0, I);
  In[0] = true;
  int Weight = 0;
  for (int Added = 1; Added < Count; ++Added) {
    int Best = -1;
    for (int I = 0; I < Count; ++I)
      if (!In[static_cast<size_t>(I)] && (Best < 0 || Near[static_cast<size_t>(I)] < Near[static_cast<size_t>(Best)]))
        Best = I;
    if (Near[static_cast<size_t>(Best)] >= kFar) return kFar;
    Weight += Near[static_cast<size_t>(Best)];
    In[static_cast<size_t>(Best)] = true;
    for (int I = 0; I < Count; ++I)
      if (!In[static_cast<size_t>(I)])
        Near[static_cast<size_t>(I)] = std::min(Near[static_cast<size_t>(I)], Between(Best, I));
  }
  return Weight;
}
