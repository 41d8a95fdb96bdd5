#include "solver/search_packer.h"

#include <cstring>

namespace {
constexpr int kCells = TSearchPacker::kCells;
constexpr size_t kExitBytes = 1 + TWorldPacker::kSpriteBytes;  // has a sprite, the sprite
constexpr size_t kHead = 2 + 9;                                // length, elf and counters

enum : uint8_t { kHidden = 1, kCompleted = 2 };

int Cell(int X, int Y) { return X * TMaps::kRows + Y; }

uint64_t MixWord(uint64_t H, uint64_t W) {
  H = (H ^ W) * 0xBF58476D1CE4E5B9ull;
  return H ^ (H >> 31);
}

// Four lanes a word each at a time: the multiplications of one lane do not
// wait for another's.
uint64_t HashBytes(uint64_t H, const uint8_t* Data, size_t Size) {
  uint64_t Lane[4] = {H, H ^ 0x9E3779B97F4A7C15ull, H ^ 0xC2B2AE3D27D4EB4Full, H ^ 0x165667B19E3779F9ull};
  size_t I = 0;
  for (; I + 32 <= Size; I += 32)
    for (int L = 0; L < 4; ++L) {
      uint64_t W;
      std::memcpy(&W, Data + I + 8 * static_cast<size_t>(L), 8);
      Lane[L] = MixWord(Lane[L], W);
    }
  for (; I + 8 <= Size; I += 8) {
    uint64_t W;
    std::memcpy(&W, Data + I, 8);
    Lane[0] = MixWord(Lane[0], W);
  }
  uint64_t Tail = 0;
  std::memcpy(&Tail, Data + I, Size - I);
  H = MixWord(Lane[0], Tail ^ Size);
  for (int L = 1; L < 4; ++L) H = MixWord(H, Lane[L]);
  return H;
}

// What the coarse key needs to know of a code.
enum : uint8_t { kIsMovable = 1, kIsWall = 2, kIsBalloon = 4, kIsGrass = 8 };
struct TKinds {
  std::array<uint8_t, 256> Of{};
  constexpr TKinds() {
    for (int C = 0; C < 256; ++C)
      Of[static_cast<size_t>(C)] =
          static_cast<uint8_t>((TileIs(C, kHeavy | kFloats) ? kIsMovable : 0) | (TileIs(C, kWall) ? kIsWall : 0) |
                               (TileIs(C, kFloats) ? kIsBalloon : 0) | (C == Tile::Grass ? kIsGrass : 0));
  }
};
constexpr TKinds kKinds;

}  // namespace

TSearchPacker::TSearchPacker(const TMaps& Start, const TMapRun& StartRun)
    : FSprites(Start), FExitCells(Start.ExitCells()), FStill(FSprites.Prototype()) {
  FStill.Animated = false;
  Read(Start, StartRun, FStart);
}

bool TSearchPacker::Read(const TMaps& W, const TMapRun& Run, TState& S) {
  if (W.ElfImage.size() != 2 || W.ElfX < 0 || W.ElfX > 255 || W.ElfY < 0 || W.ElfY > 255 || W.ElfDead < 0 ||
      W.ElfDead > 255 || W.DiamondsLeft < -32768 || W.DiamondsLeft > 32767)
    return false;
  S.ElfX = W.ElfX;
  S.ElfY = W.ElfY;
  S.DiamondsLeft = W.DiamondsLeft;
  S.ElfDead = W.ElfDead;
  S.ElfImage[0] = W.ElfImage[0];
  S.ElfImage[1] = W.ElfImage[1];
  S.Completed = Run.Completed;
  S.Ticks = static_cast<uint8_t>(Run.Ticks);
  const auto& Codes = W.Cells();
  uint32_t Beyond = 0;  // a code that does not fit in a byte
  for (int I = 0; I < kCells; ++I) {
    const int32_t C = Codes[static_cast<size_t>(I)];
    Beyond |= static_cast<uint32_t>(C) >> 8;
    S.Cells[static_cast<size_t>(I)] = static_cast<uint8_t>(C);
  }
  if (Beyond != 0) return false;
  std::memcpy(S.Cells.data() + kCells, W.Flags.data(), kCells);
  for (int I = 0; I < kCells; ++I)
    S.Cells[static_cast<size_t>(2 * kCells + I)] = W.Sprites[static_cast<size_t>(I)] != nullptr;
  S.Exits.assign(FExitCells.size() * kExitBytes, 0);
  for (size_t I = 0; I < FExitCells.size(); ++I)
    if (const TSprite* Sprite = W.Sprites[static_cast<size_t>(FExitCells[I])].get()) {
      S.Exits[I * kExitBytes] = 1;
      if (!FSprites.PackSprite(*Sprite, &S.Exits[I * kExitBytes + 1])) return false;
    }
  return true;
}

void TSearchPacker::Apply(const TState& S, TMaps& W, TMapRun& Run, const TState* Now) const {
  W.ElfX = S.ElfX;
  W.ElfY = S.ElfY;
  W.DiamondsLeft = S.DiamondsLeft;
  W.ElfDead = S.ElfDead;
  W.ElfImage.assign(S.ElfImage, 2);
  Run.Completed = S.Completed;
  Run.Ticks = S.Ticks;
  auto SetCell = [&](int I) {
    if (I < kCells) {
      W.SetCode(I / TMaps::kRows, I % TMaps::kRows, S.Code(I));
    } else if (I < 2 * kCells) {
      W.Flags[static_cast<size_t>(I - kCells)] = S.Flag(I - kCells);
    } else {
      auto& Slot = W.Sprites[static_cast<size_t>(I - 2 * kCells)];
      if (!S.HasSprite(I - 2 * kCells)) Slot.reset();
      else if (!Slot) Slot = std::make_unique<TSprite>(FStill);
    }
  };
  if (Now) {
    // A step changes a few cells: compare eight at a time.
    for (size_t I = 0; I < S.Cells.size(); I += 8) {
      uint64_t A, B;
      std::memcpy(&A, &S.Cells[I], 8);
      std::memcpy(&B, &Now->Cells[I], 8);
      if (A == B) continue;
      for (size_t J = I; J < I + 8; ++J)
        if (S.Cells[J] != Now->Cells[J]) SetCell(static_cast<int>(J));
    }
  } else {
    for (int I = 0; I < 3 * kCells; ++I) SetCell(I);
  }
  for (size_t I = 0; I < FExitCells.size(); ++I) {
    auto& Slot = W.Sprites[static_cast<size_t>(FExitCells[I])];
    if (S.Exits[I * kExitBytes]) FSprites.UnpackSprite(&S.Exits[I * kExitBytes + 1], FExitCells[I], Slot);
    else Slot.reset();
  }
}

// The cells are kept as runs of what differs from the start: a byte of
// cells alike, a byte counting the differing cells, then those cells
// XOR-ed with the start.
void TSearchPacker::Pack(const TState& S, std::vector<uint8_t>& Out) const {
  Out.resize(kHead + S.Exits.size() + 3 * S.Cells.size());
  uint8_t* P = Out.data() + 2;
  const uint16_t Diamonds = static_cast<uint16_t>(S.DiamondsLeft);
  *P++ = static_cast<uint8_t>(S.ElfX);
  *P++ = static_cast<uint8_t>(S.ElfY);
  *P++ = static_cast<uint8_t>(Diamonds & 0xFF);
  *P++ = static_cast<uint8_t>(Diamonds >> 8);
  *P++ = static_cast<uint8_t>(S.ElfDead);
  *P++ = static_cast<uint8_t>((S.Completed ? kCompleted : 0));
  *P++ = static_cast<uint8_t>(S.ElfImage[0]);
  *P++ = static_cast<uint8_t>(S.ElfImage[1]);
  *P++ = S.Ticks;
  if (!S.Exits.empty()) std::memcpy(P, S.Exits.data(), S.Exits.size());
  P += S.Exits.size();
  const size_t Size = S.Cells.size();
  size_t At = 0;
  while (At < Size) {
    size_t Same = 0;
    // Most of the grid is as it was: skip eight cells at a time.
    while (At + Same + 8 <= Size && Same + 8 <= 255) {
      uint64_t A, B;
      std::memcpy(&A, &S.Cells[At + Same], 8);
      std::memcpy(&B, &FStart.Cells[At + Same], 8);
      if (A != B) break;
      Same += 8;
    }
    while (At + Same < Size && Same < 255 && S.Cells[At + Same] == FStart.Cells[At + Same]) ++Same;
    At += Same;
    size_t Differ = 0;
    while (At + Differ < Size && Differ < 255 && S.Cells[At + Differ] != FStart.Cells[At + Differ]) ++Differ;
    *P++ = static_cast<uint8_t>(Same);
    *P++ = static_cast<uint8_t>(Differ);
    for (size_t I = 0; I < Differ; ++I) *P++ = S.Cells[At + I] ^ FStart.Cells[At + I];
    At += Differ;
  }
  const size_t Length = static_cast<size_t>(P - Out.data());
  Out.resize(Length);
  Out[0] = static_cast<uint8_t>(Length & 0xFF);
  Out[1] = static_cast<uint8_t>(Length >> 8);
}

void TSearchPacker::Unpack(const uint8_t* D, TState& S) const {
  const uint8_t* End = D + PackedSize(D);
  D += 2;
  S.ElfX = D[0];
  S.ElfY = D[1];
  S.DiamondsLeft = static_cast<int16_t>(D[2] | D[3] << 8);
  S.ElfDead = D[4];
  S.Completed = (D[5] & kCompleted) != 0;
  S.ElfImage[0] = static_cast<char>(D[6]);
  S.ElfImage[1] = static_cast<char>(D[7]);
  S.Ticks = D[8];
  D += 9;
  S.Exits.assign(D, D + FStart.Exits.size());
  D += FStart.Exits.size();
  S.Cells = FStart.Cells;
  size_t At = 0;
  while (D < End) {
    At += D[0];
    const size_t Differ = D[1];
    D += 2;
    for (size_t I = 0; I < Differ; ++I) S.Cells[At + I] ^= D[I];
    At += Differ;
    D += Differ;
  }
}

uint64_t TSearchPacker::Key(const TState& S, bool Coarse) const {
  uint64_t H = 0x243F6A8885A308D3ull;
  if (Coarse) {
    // Grass no falling, rolling or rising thing can come near counts as
    // eaten: whether the elf ate it makes no difference to what can happen
    // next (as far as one can see). Something above it in its column (with
    // no wall between) may fall into it, something on either side above it
    // may roll into it, and a balloon below it may rise into it. Worked out
    // a column at a time on masks of its rows (bit Y for row Y).
    std::array<uint8_t, kCells> Codes;
    std::array<uint16_t, TMaps::kCols + 2> Movables{}, Walls{}, Balloons{}, Grass{};
    const uint8_t* C = S.Cells.data();
    for (int X = 0; X < TMaps::kCols; ++X) {
      uint32_t M = 0, W = 0, B = 0, G = 0;
      for (int Y = 0; Y < TMaps::kRows; ++Y) {
        const uint8_t Code = C[Cell(X, Y)];
        const uint32_t K = kKinds.Of[Code];  // no branches: the codes come in any order
        M |= (K & kIsMovable) << Y;
        W |= ((K & kIsWall) >> 1) << Y;
        B |= ((K & kIsBalloon) >> 2) << Y;
        G |= ((K & kIsGrass) >> 3) << Y;
        Codes[static_cast<size_t>(Cell(X, Y))] = (K & kIsGrass) ? static_cast<uint8_t>(Tile::Empty) : Code;
      }
      Movables[static_cast<size_t>(X + 1)] = static_cast<uint16_t>(M);
      Walls[static_cast<size_t>(X + 1)] = static_cast<uint16_t>(W);
      Balloons[static_cast<size_t>(X + 1)] = static_cast<uint16_t>(B);
      Grass[static_cast<size_t>(X + 1)] = static_cast<uint16_t>(G);
    }
    // What grass stays grass, column by column, hashed beside the grid with
    // all grass taken away.
    std::array<uint16_t, TMaps::kCols> Kept;
    for (size_t X = 1; X <= TMaps::kCols; ++X) {
      // Movable things and what lies below them down to a wall.
      uint32_t Falls = Movables[X];
      for (int I = 1; I < TMaps::kRows; ++I) Falls |= (Falls << 1) & ~static_cast<uint32_t>(Walls[X]);
      const uint32_t Side = Movables[X - 1] | Movables[X + 1];
      const uint32_t Near = Falls << 1 | Side | Side << 1 | Balloons[X] >> 1;
      Kept[X - 1] = static_cast<uint16_t>(Grass[X] & Near);
    }
    H = HashBytes(H, Codes.data(), Codes.size());
    H = HashBytes(H, reinterpret_cast<const uint8_t*>(Kept.data()), sizeof(Kept));
  } else {
    H = HashBytes(H, S.Cells.data(), kCells);
  }
  H = HashBytes(H, S.Cells.data() + kCells, kCells);
  for (size_t I = 0; I < FExitCells.size(); ++I) {
    const uint8_t* Exit = &S.Exits[I * kExitBytes];
    const uint8_t C = S.Code(FExitCells[I]);
    uint64_t Word = Exit[0];
    if (Exit[0] && (C == Tile::ExitWaiting || C == Tile::ExitOpening))
      Word |= static_cast<uint64_t>(Exit[1]) << 8 | static_cast<uint64_t>(Exit[2]) << 16 |
              static_cast<uint64_t>(Exit[3]) << 24 | static_cast<uint64_t>(Exit[4]) << 32;
    H = MixWord(H, Word);
  }
  H = MixWord(H, static_cast<uint64_t>(S.ElfX) | static_cast<uint64_t>(S.ElfY) << 8 |
                     static_cast<uint64_t>(static_cast<uint32_t>(S.DiamondsLeft)) << 16);
  const bool Hidden = S.ElfImage[0] == ' ' && S.ElfImage[1] == ' ';
  H = MixWord(H, static_cast<uint64_t>(S.ElfDead) << 2 | (Hidden ? 1u : 0u) | (S.Completed ? 2u : 0u));
  // A last mix so that every bit of the key depends on every input bit.
  H ^= H >> 33;
  H *= 0xFF51AFD7ED558CCDull;
  return H ^ (H >> 33);
}
