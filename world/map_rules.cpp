// The rules of the world: the elf's move and one step of everything else.
#include <bit>
#include <cstring>

#include "shell/logger.h"
#include "world/maps.h"

namespace {

// Calls Do for each state byte that is not 0. Most are: eight at a time are
// skipped while they all are.
template <class TDo>
void ForBusyFlags(std::array<uint8_t, TMaps::kCols * TMaps::kRows>& Flags, TDo Do) {
  for (size_t I = 0; I < Flags.size(); I += 8) {
    uint64_t Word;
    std::memcpy(&Word, &Flags[I], 8);
    if (Word == 0) continue;
    for (size_t J = I; J < I + 8; ++J)
      if (Flags[J] != 0) Do(Flags[J]);
  }
}

// The cells whose code Pick accepts, in the order the phases visit cells:
// rows from the top, each from the left; returns how many. A mask per row
// first (a loop without branches), then only the picked cells: most cells
// are not.
template <class TPick>
int PickInRowOrder(const std::array<int32_t, TMaps::kCols * TMaps::kRows>& Codes, TPick Pick,
                   std::array<int16_t, TMaps::kCols * TMaps::kRows>& Out) {
  std::array<uint32_t, TMaps::kRows> Rows{};
  for (int X = 0; X < TMaps::kCols; ++X)
    for (int Y = 0; Y < TMaps::kRows; ++Y)
      Rows[static_cast<size_t>(Y)] |= static_cast<uint32_t>(Pick(Codes[static_cast<size_t>(X * TMaps::kRows + Y)]))
                                      << X;
  int Count = 0;
  for (int Y = 0; Y < TMaps::kRows; ++Y)
    for (uint32_t Bits = Rows[static_cast<size_t>(Y)]; Bits != 0; Bits &= Bits - 1)
      Out[static_cast<size_t>(Count++)] = static_cast<int16_t>(std::countr_zero(Bits) * TMaps::kRows + Y);
  return Count;
}

// What the falling phase moves on: heavy things, an elf in a tunnel, an
// explosion burning down.
bool Moves(int32_t C) {
  return TileIs(C, kHeavy) || C == Tile::ElfInTunnelRight || C == Tile::ElfInTunnelLeft ||
         (C >= Tile::ExplosionFirst && C < Tile::ExplosionLast);
}

}  // namespace

bool TMaps::IsWalkable(int X, int Y) const {
  const int32_t C = Code(X, Y);
  // The open exit is a state of the exit, not a tile: walked into by its own code.
  return C == Tile::ExitOpen || TileIs(TileChar(C), kWalkable);
}

bool TMaps::TunnelExitFree(int X, int Y, int DX) const {
  for (;;) {
    X += DX;
    if (X < 0 || X >= kCols) return false;
    const int32_t C = Code(X, Y);
    if (TileIs(C, kWalkable)) return true;
    if (C != Tile::TunnelLeft && C != Tile::TunnelRight) return false;
  }
}

// --- The elf ---------------------------------------------------------------

void TMaps::CollectAt(int X, int Y) {
  const int32_t C = Code(X, Y);
  if (const TTileRow* Row = TileRow(C); Row && Row->EnterSound) Play(Row->EnterSound);
  if (C == Tile::Diamond && --DiamondsLeft == 0) OpenExit();
}

void TMaps::WalkElf(int DX, int DY, const char* Image, bool& Completed) {
  ElfImage = Image;
  SetCode(ElfX, ElfY, Tile::Left);
  ElfX += DX;
  ElfY += DY;
  FreeSprite(ElfX, ElfY);
  if (Code(ElfX, ElfY) == Tile::ExitOpen) Completed = true;
  CollectAt(ElfX, ElfY);
  SetCode(ElfX, ElfY, Tile::Elf);
}

void TMaps::EnterTunnel(int DX) {
  ElfImage = kHiddenElf;
  SetCode(ElfX, ElfY, Tile::Left);
  ElfX += DX;
  ShowImage(ElfX, ElfY, DX < 0 ? "<2" : ">2");
  SetCode(ElfX, ElfY, DX < 0 ? Tile::ElfInTunnelLeft : Tile::ElfInTunnelRight);
  Flag(ElfX, ElfY) = CellState::Handled;
  Play("TunnelStart");
}

bool TMaps::CanPush(int X, int Y) const {
  const int32_t C = Code(X, Y);
  if (!TileIs(C, kPushable)) return false;
  // Something must hold it still: what floats from above, the rest from below.
  if (TileIs(C, kFloats)) return Y == 0 || Code(X, Y - 1) != Tile::Empty;
  return Code(X, Y + 1) != Tile::Empty;
}

void TMaps::Push(int DX) {
  ElfImage = DX < 0 ? "*L" : "*R";
  MoveCell(ElfX + DX, ElfY, ElfX + 2 * DX, ElfY, Tile::Elf);
  Flag(ElfX + 2 * DX, ElfY) = CellState::Handled;
  SetCode(ElfX, ElfY, Tile::Left);
  ElfX += DX;
  SetCode(ElfX, ElfY, Tile::Elf);
  Play("Pushing");
}

TElfAction TMaps::ElfAction(const TElfKeys& Keys) const {
  const int X = ElfX, Y = ElfY;
  if (Keys.Up && Y > 0 && IsWalkable(X, Y - 1)) return TElfAction::Up;
  if (Keys.Down && Y < kRows - 1 && IsWalkable(X, Y + 1)) return TElfAction::Down;
  if (Keys.Left && X > 0 && IsWalkable(X - 1, Y)) return TElfAction::Left;
  if (Keys.Left && X > 0 && Code(X - 1, Y) == Tile::TunnelLeft && TunnelExitFree(X, Y, -1))
    return TElfAction::LeftTunnel;
  if (Keys.Left && X > 1 && Code(X - 2, Y) == Tile::Empty && CanPush(X - 1, Y)) return TElfAction::LeftPush;
  if (Keys.Right && X < kCols - 1 && IsWalkable(X + 1, Y)) return TElfAction::Right;
  if (Keys.Right && X < kCols - 1 && Code(X + 1, Y) == Tile::TunnelRight && TunnelExitFree(X, Y, 1))
    return TElfAction::RightTunnel;
  if (Keys.Right && X < kCols - 2 && Code(X + 2, Y) == Tile::Empty && CanPush(X + 1, Y)) return TElfAction::RightPush;
  return TElfAction::None;
}

void TMaps::ElfMove(const TElfKeys& Keys, bool& Completed) {
  switch (ElfAction(Keys)) {
    case TElfAction::None: return;
    case TElfAction::Up: return WalkElf(0, -1, "*U", Completed);
    case TElfAction::Down: return WalkElf(0, 1, "*D", Completed);
    case TElfAction::Left: return WalkElf(-1, 0, "*L", Completed);
    case TElfAction::LeftTunnel: return EnterTunnel(-1);
    case TElfAction::LeftPush: return Push(-1);
    case TElfAction::Right: return WalkElf(1, 0, "*R", Completed);
    case TElfAction::RightTunnel: return EnterTunnel(1);
    case TElfAction::RightPush: return Push(1);
  }
}

// --- Explosions and the exit ----------------------------------------------

void TMaps::ExplodeCell(int X, int Y) {
  if (!InMap(X, Y)) return;
  const int32_t C = Code(X, Y);
  if (C == Tile::ExplosionFirst) return;
  // The elf dies in an explosion wherever it is, inside a tunnel part too:
  // otherwise it would vanish with its moves disabled and the map never end.
  if (C == Tile::Elf || C == Tile::ElfInTunnelRight || C == Tile::ElfInTunnelLeft) ElfDead = 1;
  SetCode(X, Y, Tile::ExplosionFirst);
  NewSprite(X, Y, "X", false, false);
}

void TMaps::Explode(int X, int Y) {
  ExplodeCell(X, Y);
  Play("Explosion");
  const int Neighbours[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  for (const auto& N : Neighbours) {
    const int NX = X + N[0], NY = Y + N[1];
    if (!InField(NX, NY) || !InMap(NX, NY)) continue;
    const int32_t C = Code(NX, NY);
    if (TileIs(C, kExplodes)) Flag(NX, NY) = CellState::BarrelCaught;
    if (!TileIs(C, kSurvives)) ExplodeCell(NX, NY);
  }
}

void TMaps::OpenExit() {
  for (int Cell : FExitCells)
    if (Sprites[static_cast<size_t>(Cell)]) SetCode(Cell / kRows, Cell % kRows, Tile::ExitWaiting);
  Play("ExitOpen");
}

// --- One step ---------------------------------------------------------------

void TMaps::LandingPhase() {
  // Only things that moved last step or are due to explode land (nothing
  // in this phase makes more of either): most steps have none.
  bool Any = false;
  ForBusyFlags(Flags, [&](uint8_t& F) { Any = Any || F == CellState::Moving || F == CellState::ExplodeNow; });
  if (!Any) return;
  for (int Y = kRows - 1; Y >= 0; --Y) {
    for (int X = 0; X < kCols; ++X) {
      uint8_t& F = Flag(X, Y);
      if (F == CellState::Moving) {
        const int32_t C = Code(X, Y);
        const int32_t Below = Code(X, Y + 1);
        if (TileIs(C, kHeavy) && !TileIs(C, kExplodes)) {
          if (Below == Tile::Empty) {
            F = CellState::Free;
          } else if (TileIs(Below, kExplodes)) {
            Flag(X, Y + 1) = CellState::Handled;
            Explode(X, Y + 1);
          } else if (Below == Tile::Elf) {
            ElfDead = 1;
            Explode(X, Y + 1);
            Flag(X, Y + 1) = CellState::Handled;
          } else {
            F = CellState::Free;
            if (const char* Sound = TileRow(C)->LandSound) Play(Sound);
          }
        } else if (TileIs(C, kExplodes)) {
          if (TileIs(Below, kCushions)) {
            F = CellState::Free;
          } else {
            F = CellState::Handled;
            Explode(X, Y);
          }
        } else {
          F = CellState::Free;
        }
      }
      if (F == CellState::ExplodeNow) {
        F = CellState::Handled;
        Explode(X, Y);
      }
    }
  }
}

void TMaps::BalloonPhase() {
  // A balloon moves up (to a row already visited) or sinks one cell with a
  // state byte that keeps it from moving again: the balloons to visit are
  // those there are now, in order.
  std::array<int16_t, kCols * kRows> Balloons;
  const auto Floats = [](int32_t C) { return TileIs(C, kFloats); };
  const int Count = PickInRowOrder(FCells, Floats, Balloons);
  for (int I = 0; I < Count; ++I) {
    const int X = Balloons[static_cast<size_t>(I)] / kRows, Y = Balloons[static_cast<size_t>(I)] % kRows;
    if (!Floats(Code(X, Y)) || Flag(X, Y) != CellState::Free) continue;
    if (Y > 1 && Code(X, Y + 1) == Tile::Empty && TileIs(Code(X, Y - 1), kHeavy) && TileIs(Code(X, Y - 2), kHeavy)) {
      // Sinking under two heavy things.
      MoveCell(X, Y, X, Y + 1);
      MoveCell(X, Y - 1, X, Y);
      Flag(X, Y + 1) = CellState::Lifted;
      Flag(X, Y) = CellState::Lifted;
      Flag(X, Y - 1) = CellState::Free;
      Flag(X, Y - 2) = CellState::Moving;
      Play("BalloonUp");
    } else if (Y > 0 && Code(X, Y - 1) == Tile::Empty) {
      MoveCell(X, Y, X, Y - 1);
      Flag(X, Y - 1) = CellState::Moving;
      Flag(X, Y) = CellState::Free;
      Play("BalloonUp");
    } else if (Y > 1 && TileIs(Code(X, Y - 1), kLiftable) && Code(X, Y - 2) == Tile::Empty) {
      const bool CarriesElf = Code(X, Y - 1) == Tile::Elf;
      MoveCell(X, Y - 1, X, Y - 2);
      MoveCell(X, Y, X, Y - 1);
      Flag(X, Y - 2) = CellState::Lifted;
      Flag(X, Y - 1) = CellState::Lifted;
      Flag(X, Y) = CellState::Free;
      if (CarriesElf) ElfY -= 1;
      Play("BalloonUp");
    }
  }
}

void TMaps::ElfInTunnel(int X, int Y, int DX) {
  const bool Right = DX > 0;
  ElfX += DX;
  CollectAt(ElfX, ElfY);
  SetCode(X, Y, Right ? Tile::TunnelRight : Tile::TunnelLeft);
  ShowImage(X, Y, Right ? ">" : "<");
  const int NX = X + DX;
  if (Code(NX, Y) == (Right ? Tile::TunnelRight : Tile::TunnelLeft)) {
    Play("TunnelItem");
    SetCode(NX, Y, Right ? Tile::ElfInTunnelRight : Tile::ElfInTunnelLeft);
    Flag(NX, Y) = CellState::Handled;
    ShowImage(NX, Y, Right ? ">2" : "<2");
  } else {
    FreeSprite(NX, Y);
    SetCode(NX, Y, Tile::Elf);
    ElfImage = Right ? "*R" : "*L";
    Play("TunnelEnd");
  }
}

void TMaps::FallingPhase() {
  // Whatever moves here lands with a state byte that keeps it from moving
  // again this step: the cells to visit are those that hold something
  // moving now, in order (most cells hold nothing that moves).
  std::array<int16_t, kCols * kRows> Movers;
  const int Count = PickInRowOrder(FCells, Moves, Movers);
  for (int I = 0; I < Count; ++I) {
    const int X = Movers[static_cast<size_t>(I)] / kRows, Y = Movers[static_cast<size_t>(I)] % kRows;
    const int32_t C = Code(X, Y);
    if (!Moves(C) || Flag(X, Y) != CellState::Free) continue;
    if (TileIs(C, kHeavy) && Y < kRows - 1) {
      const int32_t Below = Code(X, Y + 1);
      if (Below == Tile::Empty) {
        MoveCell(X, Y, X, Y + 1);
        Flag(X, Y + 1) = CellState::Moving;
      } else if (TileIs(Below, kRounded)) {
        if (X > 0 && Code(X - 1, Y) == Tile::Empty && Code(X - 1, Y + 1) == Tile::Empty) {
          MoveCell(X, Y, X - 1, Y);
          Flag(X - 1, Y) = CellState::Moving;
        } else if (X < kCols - 1 && Code(X + 1, Y) == Tile::Empty && Code(X + 1, Y + 1) == Tile::Empty) {
          MoveCell(X, Y, X + 1, Y);
          Flag(X + 1, Y) = CellState::Moving;
        }
      }
    } else if (C == Tile::ElfInTunnelRight) {
      ElfInTunnel(X, Y, 1);
    } else if (C == Tile::ElfInTunnelLeft) {
      ElfInTunnel(X, Y, -1);
    } else if (C >= Tile::ExplosionFirst && C < Tile::ExplosionLast) {
      SetCode(X, Y, C + 1);
    }
  }
}

void TMaps::CleanupPhase() {
  // Each cell changes on its own here: the order does not matter, and most
  // cells are skipped at a glance.
  std::array<int16_t, kCols * kRows> Cells;
  const int Count = PickInRowOrder(
      FCells, [](int32_t C) { return C >= Tile::ExplosionLast || C == Tile::Vacated || C == Tile::Left; }, Cells);
  for (int I = 0; I < Count; ++I) {
    const int Cell = Cells[static_cast<size_t>(I)];
    const int32_t C = FCells[static_cast<size_t>(Cell)];
    const int X = Cell / kRows, Y = Cell % kRows;
    TSprite* S = Sprite(X, Y);
    // A still picture never reports an ending; count it as played.
    const bool Played = !S || !S->Animated || S->Finished;
    if (C == Tile::Vacated) {
      SetCode(X, Y, Tile::Left);
    } else if (C == Tile::Left) {
      SetCode(X, Y, Tile::Empty);
    } else if (C == Tile::ExplosionLast) {
      SetCode(X, Y, Tile::Empty);
      FreeSprite(X, Y);
    } else if (C == Tile::ExitWaiting) {
      if (S) S->Looping = false;
      if (Played) {
        SetCode(X, Y, Tile::ExitOpening);
        NewSprite(X, Y, "!1", false, false);
      }
    } else if (C == Tile::ExitOpening) {
      if (Played) {
        SetCode(X, Y, Tile::ExitOpen);
        NewSprite(X, Y, "!2", true, false);
      }
    }
  }
}

void TMaps::Step() {
  LandingPhase();
  ForBusyFlags(Flags, [](uint8_t& F) {
    if (F >= CellState::WaitLeast && F <= CellState::WaitMost) --F;
  });
  BalloonPhase();
  FallingPhase();
  CleanupPhase();
}

void TMaps::ReleaseHandledCells() {
  ForBusyFlags(Flags, [](uint8_t& F) {
    if (F == CellState::Handled) F = CellState::Free;
  });
}
