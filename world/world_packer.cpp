#include "world/world_packer.h"

#include <cstring>

#include "graphics/image.h"

namespace {
constexpr int kCells = TMaps::kCols * TMaps::kRows;
// Every cell sprite the rules make shows a frame for this many further draws.
constexpr uint32_t kFrameDelay = 2;

enum : uint8_t {
  kHidden = 1,
  kCompleted = 2,
};
enum : uint8_t {
  kAnimated = 1,
  kLooping = 2,
  kFinished = 4,
  kPauseShift = 3,  // PauseCounter + 1 (0 or 1)
  kTickShift = 4,   // TickCounter + 1 (0 to 3)
};

TImage* FirstTarget(const TMaps& M) {
  for (int X = 0; X < TMaps::kCols; ++X)
    for (int Y = 0; Y < TMaps::kRows; ++Y)
      if (const TSprite* S = M.Sprite(X, Y)) return S->Target;
  return DefaultSpriteTarget();
}
}  // namespace

TWorldPacker::TWorldPacker(const TMaps& Model) : FPrototype(0, 0, 0, 0, nullptr) {
  for (int Cell = 0; Cell < kCells; ++Cell) {
    FCellX[static_cast<size_t>(Cell)] = static_cast<int16_t>(TMaps::CellLeft(Cell / TMaps::kRows));
    FCellY[static_cast<size_t>(Cell)] = static_cast<int16_t>(TMaps::CellTop(Cell % TMaps::kRows));
  }
  FPrototype.Target = FirstTarget(Model);
  FPrototype.FrameDelay = kFrameDelay;
}

int TWorldPacker::ImageIndex(const TImage* Image) {
  size_t Slot = (reinterpret_cast<uintptr_t>(Image) >> 4) % FImageSlots.size();
  for (;;) {
    const int16_t At = FImageSlots[Slot];
    if (At == 0) break;
    if (FImages[static_cast<size_t>(At - 1)] == Image) return At - 1;
    Slot = (Slot + 1) % FImageSlots.size();
  }
  if (FImages.size() >= 255) return -1;
  FImages.push_back(Image);
  FImageSlots[Slot] = static_cast<int16_t>(FImages.size());
  return static_cast<int>(FImages.size()) - 1;
}

bool TWorldPacker::PackSprite(const TSprite& S, uint8_t* P) {
  const int Image = ImageIndex(S.Image);
  if (Image < 0 || S.FrameWidth > 255 || S.CurrentFrame > 255 || S.TickCounter < -1 || S.TickCounter > 2 ||
      S.PauseCounter < -1 || S.PauseCounter > 0 || S.FrameDelay != kFrameDelay || S.EndPause != 0 || S.Paused ||
      S.Reverse || S.Hidden || !S.Active || S.Background || S.Target != FPrototype.Target)
    return false;
  P[0] = static_cast<uint8_t>(Image);
  P[1] = static_cast<uint8_t>(S.FrameWidth);
  P[2] = static_cast<uint8_t>(S.CurrentFrame);
  P[3] = static_cast<uint8_t>((S.Animated ? kAnimated : 0) | (S.Looping ? kLooping : 0) | (S.Finished ? kFinished : 0) |
                              (S.PauseCounter + 1) << kPauseShift | (S.TickCounter + 1) << kTickShift);
  return true;
}

void TWorldPacker::UnpackSprite(const uint8_t* D, int Cell, std::unique_ptr<TSprite>& Slot) const {
  // A sprite already in the slot was made by the rules or by this packer:
  // its fixed settings are the prototype's (PackSprite refuses anything else).
  if (!Slot) Slot = std::make_unique<TSprite>(FPrototype);
  TSprite& S = *Slot;
  S.X = FCellX[static_cast<size_t>(Cell)];
  S.Y = FCellY[static_cast<size_t>(Cell)];
  TImage* Image = const_cast<TImage*>(FImages[D[0]]);
  if (S.Image != Image || S.FrameWidth != D[1]) {
    S.Image = Image;
    S.FrameWidth = D[1];
    const uint32_t Width = Image ? static_cast<uint32_t>(Image->Width()) : 0;
    S.FrameCount = S.FrameWidth > 0 ? Width / S.FrameWidth : 0;
  }
  S.CurrentFrame = D[2];
  S.Animated = (D[3] & kAnimated) != 0;
  S.Looping = (D[3] & kLooping) != 0;
  S.Finished = (D[3] & kFinished) != 0;
  S.PauseCounter = ((D[3] >> kPauseShift) & 1) - 1;
  S.TickCounter = ((D[3] >> kTickShift) & 3) - 1;
}

bool TWorldPacker::Pack(const TMaps& W, const TMapRun& Run, std::vector<uint8_t>& Out) {
  Out.resize(9 + 2 * kCells + 2 + (1 + kSpriteBytes) * kCells);
  uint8_t* P = Out.data();
  if (W.ElfX < 0 || W.ElfX > 255 || W.ElfY < 0 || W.ElfY > 255 || W.DiamondsLeft < -32768 || W.DiamondsLeft > 32767 ||
      W.ElfDead < 0 || W.ElfDead > 255 || W.ElfImage.size() != 2)
    return false;
  const uint16_t Diamonds = static_cast<uint16_t>(W.DiamondsLeft);
  *P++ = static_cast<uint8_t>(W.ElfX);
  *P++ = static_cast<uint8_t>(W.ElfY);
  *P++ = static_cast<uint8_t>(Diamonds & 0xFF);
  *P++ = static_cast<uint8_t>(Diamonds >> 8);
  *P++ = static_cast<uint8_t>(W.ElfDead);
  *P++ = static_cast<uint8_t>((W.ElfImage == TMaps::kHiddenElf ? kHidden : 0) | (Run.Completed ? kCompleted : 0));
  *P++ = static_cast<uint8_t>(W.ElfImage[0]);
  *P++ = static_cast<uint8_t>(W.ElfImage[1]);
  *P++ = static_cast<uint8_t>(Run.Ticks);
  for (int X = 0; X < TMaps::kCols; ++X)
    for (int Y = 0; Y < TMaps::kRows; ++Y) {
      const int32_t C = W.Code(X, Y);
      if (C < 0 || C > 255) return false;
      *P++ = static_cast<uint8_t>(C);
    }
  std::memcpy(P, W.Flags.data(), W.Flags.size());
  P += W.Flags.size();
  uint8_t* CountAt = P;
  P += 2;
  int Count = 0;
  for (int I = 0; I < kCells; ++I) {
    const TSprite* S = W.Sprites[static_cast<size_t>(I)].get();
    if (!S) continue;
    *P++ = static_cast<uint8_t>(I);
    if (!PackSprite(*S, P)) return false;
    P += kSpriteBytes;
    ++Count;
  }
  CountAt[0] = static_cast<uint8_t>(Count & 0xFF);
  CountAt[1] = static_cast<uint8_t>(Count >> 8);
  Out.resize(static_cast<size_t>(P - Out.data()));
  return true;
}

void TWorldPacker::Unpack(const uint8_t* D, TMaps& W, TMapRun& Run) const {
  W.ElfX = D[0];
  W.ElfY = D[1];
  W.DiamondsLeft = static_cast<int16_t>(D[2] | D[3] << 8);
  W.ElfDead = D[4];
  Run.Completed = (D[5] & kCompleted) != 0;
  W.ElfImage.assign(reinterpret_cast<const char*>(D + 6), 2);
  Run.Ticks = D[8];
  D += 9;
  for (int X = 0; X < TMaps::kCols; ++X)
    for (int Y = 0; Y < TMaps::kRows; ++Y) W.SetCode(X, Y, *D++);
  std::memcpy(W.Flags.data(), D, W.Flags.size());
  D += W.Flags.size();
  const int Count = D[0] | D[1] << 8;
  D += 2;
  int Next = 0;  // cells below it without a record have no sprite
  for (int N = 0; N < Count; ++N, D += 1 + kSpriteBytes) {
    const int Cell = D[0];
    for (; Next < Cell; ++Next) W.Sprites[static_cast<size_t>(Next)].reset();
    Next = Cell + 1;
    UnpackSprite(D + 1, Cell, W.Sprites[static_cast<size_t>(Cell)]);
  }
  for (; Next < kCells; ++Next) W.Sprites[static_cast<size_t>(Next)].reset();
}

size_t TWorldPacker::PackedSize(const uint8_t* D) {
  const size_t Head = 9 + 2 * kCells;
  return Head + 2 + (1 + kSpriteBytes) * static_cast<size_t>(D[Head] | D[Head + 1] << 8);
}
