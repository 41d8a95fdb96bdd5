// Level packs and the state of the active map.
#include "world/maps.h"

#include <algorithm>

#include "graphics/image.h"
#include "graphics/video.h"
#include "shell/logger.h"
#include "shell/random.h"
#include "shell/toolbox.h"
#include "storage/mad4_high_level.h"
#include "storage/stream_opener.h"
#include "world/block_images.h"
#include "world/effects.h"
#include "world/pack_reader.h"

std::unique_ptr<TMaps> Maps;

namespace {
constexpr const char* kLoadHeading = "SQMapsUnit, TMaps.Load";
// Each animation frame of a cell stays for this many draws after its first.
constexpr uint32_t kCellFrameDelay = 2;
}  // namespace

TMaps::TMaps() : Effects(PlayEffect) { FCells.fill(Tile::Steel); }

TMaps::~TMaps() = default;

TMaps::TMaps(const TMaps& Other) { *this = Other; }

TMaps& TMaps::operator=(const TMaps& Other) {
  if (this == &Other) return *this;
  Maps = Other.Maps;
  VariantCounts = Other.VariantCounts;
  PackName = Other.PackName;
  PackAuthor = Other.PackAuthor;
  Flags = Other.Flags;
  for (size_t I = 0; I < Sprites.size(); ++I) {
    const TSprite* From = Other.Sprites[I].get();
    if (!From) Sprites[I].reset();
    else if (Sprites[I]) *Sprites[I] = *From;  // reuses the object: copies into a scratch world stay cheap
    else Sprites[I] = std::make_unique<TSprite>(*From);
  }
  ElfDead = Other.ElfDead;
  ElfX = Other.ElfX;
  ElfY = Other.ElfY;
  DiamondsLeft = Other.DiamondsLeft;
  ElfImage = Other.ElfImage;
  Effects = Other.Effects;
  FActive = Other.FActive;
  FActiveWidth = Other.FActiveWidth;
  FActiveHeight = Other.FActiveHeight;
  FCells = Other.FCells;
  FExitCells = Other.FExitCells;
  AnimateLooks = Other.AnimateLooks;
  ForgetDrawnCells();
  return *this;
}

std::string TMaps::MapName(int MapNo) const {
  return MapNo >= 0 && MapNo < MapCount() ? Maps[static_cast<size_t>(MapNo)]->MapName : std::string();
}

std::string TMaps::MapAuthor(int MapNo) const {
  return MapNo >= 0 && MapNo < MapCount() ? Maps[static_cast<size_t>(MapNo)]->Author : std::string();
}

bool TMaps::Load(const std::string& FileName) {
  if (!VXToolbox::FileExists(FileName)) {
    Log->Error("Can't open map file! (" + FileName + ")", kLoadHeading);
    return false;
  }
  Log->Status("Loading map file (" + FileName + ")", kLoadHeading);
  // The block images are emptied only once the pack is mounted: a pack that
  // cannot be read leaves the ones in use for the screens that follow.
  if (!VolumeManager || !VolumeManager->Mount(FileName, 1000, true)) {
    Log->Error("Can't open map file! (" + FileName + ")", kLoadHeading);
    return false;
  }
  ClearBlockImages();
  // Whatever a damaged member does, the pack does not stay mounted.
  struct TUnmount {
    const std::string& Name;
    ~TUnmount() {
      if (VolumeManager) VolumeManager->Unmount(Name);
    }
  } Unmount{FileName};
  if (TVXStreamPtr Info = VolumeManager->IsExists("info") ? VolumeManager->OpenFile("info") : nullptr) {
    VXToolbox::ReadLine(*Info);
    PackName = VXToolbox::ReadLine(*Info);
    PackAuthor = VXToolbox::ReadLine(*Info);
  }
  for (int N = 1;; ++N) {
    const std::string Member = VXToolbox::PaddedNumber(N, 3, '0') + ".mpp";
    if (!VolumeManager->IsExists(Member)) break;
    Maps.push_back(LoadMap(Member));
  }
  LoadBlockImages();
  CountVariants();
  Log->Status(std::to_string(Maps.size()) + " maps loaded.", kLoadHeading);
  return true;
}

void TMaps::CountVariants() {
  VariantCounts.clear();
  for (const TTileRow& Row : kTileRows) {
    if (!(Row.Flags & kNumbered)) continue;
    const std::string C(1, Row.Char);
    int K = 1;
    while (K < 9 && FindBlockImage(C + std::to_string(K), false)) ++K;
    if (!FindBlockImage(C + std::to_string(K), false)) --K;
    VariantCounts += C;
    VariantCounts += static_cast<char>(K);
  }
}

std::shared_ptr<TXMap> TMaps::LoadMap(const std::string& Member) {
  // Through the stream opener, as every resource: a loose file of the
  // member's name wins while playing. The map reader's own open would hide
  // a member that cannot be opened behind an empty map.
  Log->Debug("FileName=" + Member, "XMapUnit, TXMap.Load");
  TVXStreamPtr Stream;
  try {
    if (StreamOpener) Stream = StreamOpener->OpenStream(Member);
  } catch (const EOpenStream&) {
    // The opener has logged where it looked.
  }
  return ReadMapMember(Stream.get(), Member);
}

void TMaps::FreeSprites() {
  for (auto& S : Sprites) S.reset();
  ForgetDrawnCells();
}

void TMaps::ForgetDrawnCells() { FDrawn.fill(TDrawnCell{}); }

void TMaps::FreeSprite(int X, int Y) {
  if (InField(X, Y)) Sprites[Index(X, Y)].reset();
}

void TMaps::NewSprite(int X, int Y, const std::string& ImageName, bool Looping, bool RandomStart) {
  if (!InField(X, Y)) return;
  auto& Slot = Sprites[Index(X, Y)];
  Slot.reset();
  TImage* Image = FindBlockImage(ImageName, true);
  if (!Image || !Image->HasSurface()) return;
  const uint32_t Flags = (Looping ? TSprite::kLooping : 0) | (RandomStart ? TSprite::kRandomStart : 0);
  const bool Strip = Image->Width() > kCellSize;
  Slot = std::make_unique<TSprite>(CellLeft(X), CellTop(Y), Strip ? kCellSize : 0, Strip ? Flags : 0, Image);
  Slot->FrameDelay = kCellFrameDelay;
  if (!Strip) Slot->Animated = false;
}

void TMaps::ShowImage(int X, int Y, const std::string& ImageName) {
  if (!InField(X, Y)) return;
  TSprite* S = Sprites[Index(X, Y)].get();
  TImage* Image = FindBlockImage(ImageName, true);
  if (S && Image && Image->HasSurface()) S->SetImage(Image);
  else NewSprite(X, Y, ImageName, true, false);
}

void TMaps::MoveCell(int FromX, int FromY, int ToX, int ToY, int32_t Vacated) {
  SetCode(ToX, ToY, Code(FromX, FromY));
  SetCode(FromX, FromY, Vacated);
  if (!InField(FromX, FromY) || !InField(ToX, ToY)) return;
  auto& To = Sprites[Index(ToX, ToY)];
  To = std::move(Sprites[Index(FromX, FromY)]);
  if (To) To->SetPosition(CellLeft(ToX), CellTop(ToY));
}

void TMaps::SetActive(uint16_t MapNo) {
  if (MapNo >= MapCount()) {
    Log->Warning("Invalid map number! (" + std::to_string(MapNo) + ")", "SQMapsUnit, TMaps.SetActive");
    Log->Warning("Using 0 instead...", "SQMapsUnit, TMaps.SetActive");
    MapNo = 0;
  }
  FreeSprites();
  FActive = MapNo < MapCount() ? Maps[MapNo] : nullptr;
  FActiveWidth = FActive ? std::min(FActive->Width, kCols) : 0;
  FActiveHeight = FActive ? std::min(FActive->Height, kRows) : 0;
  Flags.fill(CellState::Free);
  FCells.fill(Tile::Steel);
  FExitCells.clear();
  if (!FActive) return;
  for (int Y = 0; Y < FActiveHeight; ++Y)
    for (int X = 0; X < FActiveWidth; ++X) SetCode(X, Y, FActive->GetTile(X, Y));
  for (int X = 0; X < FActiveWidth; ++X)
    for (int Y = 0; Y < FActiveHeight; ++Y)
      if (Code(X, Y) == Tile::ExitClosed) FExitCells.push_back(Index(X, Y));
  ResetMissingImageReports();
  for (int X = 0; X < kCols; ++X) {
    for (int Y = 0; Y < kRows; ++Y) {
      if (!InMap(X, Y)) continue;
      const int32_t C = TileChar(Code(X, Y));
      if (TileIs(C, kNoSprite)) continue;
      std::string Name(1, static_cast<char>(C));
      const size_t At = VariantCounts.find(static_cast<char>(C));
      if (At != std::string::npos && At % 2 == 0 && At + 1 < VariantCounts.size()) {
        const int K = static_cast<uint8_t>(VariantCounts[At + 1]);
        if (K <= 0) continue;  // no numbered look at all: nothing to show
        Name += std::to_string(VXRandom::Next(K) + 1);
      }
      NewSprite(X, Y, Name, true, !TileIs(C, kInStep));
      if (TSprite* S = Sprite(X, Y)) S->Draw();
    }
  }
}

void TMaps::FindElf() {
  ElfX = ElfY = 0;
  if (!FActive) return;
  for (int X = 0; X < kCols; ++X)
    for (int Y = 0; Y < kRows; ++Y)
      if (InMap(X, Y) && FActive->GetTile(X, Y) == Tile::Elf) {
        ElfX = X;
        ElfY = Y;
        return;
      }
}

void TMaps::CountDiamonds() {
  DiamondsLeft = 0;
  if (!FActive) return;
  for (int X = 0; X < kCols; ++X)
    for (int Y = 0; Y < kRows; ++Y)
      if (InMap(X, Y) && FActive->GetTile(X, Y) == Tile::Diamond) ++DiamondsLeft;
}

void TMaps::ClearCell(int X, int Y) {
  if (!InField(X, Y) || !Sprites[Index(X, Y)]) return;
  Sprites[Index(X, Y)].reset();
  SetCode(X, Y, Tile::Empty);
}

void TMaps::TickCell(int Cell, int Frames) {
  TSprite* S = Sprites[static_cast<size_t>(Cell)].get();
  // Still pictures have nothing to advance (most cells: a search runs this a lot).
  if (!S || !S->Animated || S->Paused) return;
  // The cells DrawMap leaves black or to the elf keep their animations still.
  const int32_t C = FCells[static_cast<size_t>(Cell)];
  if (C == Tile::Elf || C == Tile::Left || C == Tile::Empty) return;
  for (int F = 0; F < Frames; ++F) S->Tick();
}

void TMaps::TickCells(int Frames) {
  if (!AnimateLooks) {
    for (int Cell : FExitCells) TickCell(Cell, Frames);
    return;
  }
  for (int Cell = 0; Cell < kCols * kRows; ++Cell) TickCell(Cell, Frames);
}

void TMaps::DrawMap() {
  TImage* Target = DefaultSpriteTarget();
  if (!Target) Target = VX_SDL::DrawTarget();
  for (int Y = 0; Y < kRows; ++Y) {
    for (int X = 0; X < kCols; ++X) {
      TDrawnCell& Drawn = FDrawn[static_cast<size_t>(Index(X, Y))];
      const int32_t C = Code(X, Y);
      if (C == Tile::Elf) {
        Drawn = {};  // the play screen draws the elf here
        continue;
      }
      TSprite* S = Sprite(X, Y);
      if (C == Tile::Left || C == Tile::Empty || !S) {
        const TDrawnCell Black{nullptr, -3};
        if (Target && !(Drawn == Black)) Target->FillRaw(CellLeft(X), CellTop(Y), kCellSize, kCellSize, 0);
        Drawn = Black;
        continue;
      }
      S->SetPosition(CellLeft(X), CellTop(Y));
      const TDrawnCell Now{S->Image, S->Animated ? static_cast<int64_t>(S->CurrentFrame) : -2};
      // Only a picture drawn onto the field's own target can be known to be there.
      if (Now == Drawn && S->Target == Target) {
        S->Tick();
      } else {
        S->Draw();
        Drawn = S->Target == Target ? Now : TDrawnCell{};
      }
    }
  }
}
