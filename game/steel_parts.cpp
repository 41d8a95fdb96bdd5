#include "game/steel_parts.h"

TSteelParts::TSteelParts(const TMaps& W) {
  FPart.fill(-1);
  int16_t Next = 0;
  for (int Start = 0; Start < kCells; ++Start) {
    if (FPart[static_cast<size_t>(Start)] >= 0 || IsSteel(W, Start)) continue;
    std::vector<int> Stack = {Start};
    FPart[static_cast<size_t>(Start)] = Next;
    while (!Stack.empty()) {
      const int Cell = Stack.back();
      Stack.pop_back();
      const int X = Cell / TMaps::kRows, Y = Cell % TMaps::kRows;
      const int Near[4][2] = {{X - 1, Y}, {X + 1, Y}, {X, Y - 1}, {X, Y + 1}};
      for (const auto& N : Near) {
        if (N[0] < 0 || N[0] >= TMaps::kCols || N[1] < 0 || N[1] >= TMaps::kRows) continue;
        const int To = N[0] * TMaps::kRows + N[1];
        if (FPart[static_cast<size_t>(To)] >= 0 || IsSteel(W, To)) continue;
        FPart[static_cast<size_t>(To)] = Next;
        Stack.push_back(To);
      }
    }
    ++Next;
  }
}

bool TSteelParts::Reachable(const TMaps& W) const {
  if (W.ElfX < 0 || W.ElfX >= TMaps::kCols || W.ElfY < 0 || W.ElfY >= TMaps::kRows) return true;
  const int16_t Elf = FPart[static_cast<size_t>(W.ElfX * TMaps::kRows + W.ElfY)];
  bool Exit = false;
  for (int Cell : W.ExitCells()) Exit = Exit || FPart[static_cast<size_t>(Cell)] == Elf;
  if (!Exit) return false;
  if (W.DiamondsLeft <= 0) return true;
  int Diamonds = 0;
  for (int Cell = 0; Cell < kCells; ++Cell)
    Diamonds +=
        FPart[static_cast<size_t>(Cell)] == Elf && W.Code(Cell / TMaps::kRows, Cell % TMaps::kRows) == Tile::Diamond;
  return Diamonds >= W.DiamondsLeft;
}
