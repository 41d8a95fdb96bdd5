#include "game/least_steps.h"

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
      if (D[static_cast<size_t>(To)] != 255 || M.Code(N[0], N[1]) == Tile::Steel) continue;
      D[static_cast<size_t>(To)] = static_cast<uint8_t>(std::min(254, D[static_cast<size_t>(Cell)] + 1));
      Queue[static_cast<size_t>(Tail++)] = static_cast<int16_t>(To);
    }
  }
  return D;
}
}  // namespace

TLeastSteps::TLeastSteps(const TMaps& Start) {
  FToExit.fill(kFar);
  for (int Cell = 0; Cell < kCells; ++Cell)
    FBalloons = FBalloons || Start.Cells()[static_cast<size_t>(Cell)] == Tile::Balloon;
  for (int Exit : Start.ExitCells()) {
    const auto D = StepsFrom(Start, Exit);
    for (int Cell = 0; Cell < kCells; ++Cell)
      FToExit[static_cast<size_t>(Cell)] = std::min(FToExit[static_cast<size_t>(Cell)], D[static_cast<size_t>(Cell)]);
  }
  FPart.fill(kFar);
  uint8_t Parts = 0;
  for (int Elf = 0; Elf < kCells; ++Elf) {
    const auto D = StepsFrom(Start, Elf);
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

int TLeastSteps::Bound(int ElfCell, int DiamondsLeft, const uint8_t* Codes) const {
  if (ElfCell < 0 || ElfCell >= kCells) return 0;
  const int ToExit = FToExit[static_cast<size_t>(ElfCell)];
  if (ToExit >= kFar) return -1;
  int Walk = ToExit;
  if (DiamondsLeft > 0 && !FBalloons) {
    // The elf must meet DiamondsLeft of the diamonds: at least the one
    // that many places down the order of the way by each.
    const auto& ByRow = FByRow[static_cast<size_t>(ElfCell)];
    std::array<uint8_t, kCells> Via;
    int Count = 0;
    for (int Cell = 0; Cell < kCells; ++Cell)
      if (Codes[Cell] == Tile::Diamond)
        Via[static_cast<size_t>(Count++)] = FPart[static_cast<size_t>(Cell)] == FPart[static_cast<size_t>(ElfCell)]
                                                ? ByRow[static_cast<size_t>(Cell % TMaps::kRows)]
                                                : kFar;
    if (Count < DiamondsLeft) return -1;
    if (Count > DiamondsLeft) std::nth_element(Via.begin(), Via.begin() + DiamondsLeft - 1, Via.begin() + Count);
    const int Needed = Count > DiamondsLeft ? Via[static_cast<size_t>(DiamondsLeft - 1)]
                                            : *std::max_element(Via.begin(), Via.begin() + Count);
    if (Needed >= kFar) return -1;
    Walk = std::max(Walk, Needed);
  }
  if (FBalloons) Walk = (Walk + 1) / 2;
  // Each diamond is collected in a step of its own, and the exit is a cell
  // of its own to step into after the last.
  const int Collect = DiamondsLeft > 0 ? DiamondsLeft + 1 : 0;
  return std::max(Walk, Collect);
}
