#include "graphics/image.h"

#include <SDL.h>

#include <algorithm>
#include <limits>

#include "graphics/dirty_rects.h"
#include "graphics/raw_picture.h"
#include "shell/logger.h"
#include "shell/memory_stream.h"
#include "shell/toolbox.h"

namespace {
constexpr const char* kCreateHeading = "ImageUnit, TImage.Create";
// Pure black is the colour key: source keying with run-length acceleration.
constexpr uint32_t kColorKeyFlags = SDL_SRCCOLORKEY | SDL_RLEACCEL;
int GImageDepth = 24;

// A frame index from a cut; -1 for anything that is not a 32-bit integer.
int32_t FrameIndex(std::string_view Text) {
  const int64_t V = VXToolbox::StrToIntDef(Text, -1);
  if (V < std::numeric_limits<int32_t>::min() || V > std::numeric_limits<int32_t>::max()) return -1;
  return static_cast<int32_t>(V);
}

// Clips a span [Pos, Pos + Len) against [0, Limit); Shift gets how far the
// start moved so the other side can follow.
bool ClipSpan(int64_t& Pos, int64_t& Len, int64_t Limit, int64_t& Shift) {
  Shift = 0;
  if (Pos < 0) {
    Shift = -Pos;
    Len += Pos;
    Pos = 0;
  }
  if (Pos + Len > Limit) Len = Limit - Pos;
  return Len > 0;
}
}  // namespace

int ImageDepth() { return GImageDepth; }
void SetImageDepth(int Depth) { GImageDepth = Depth; }
void StartImageUnit() { GImageDepth = 24; }
void StopImageUnit() {}

void BlitClipped(SDL_Surface* Source, int SourceX, int SourceY, int Width, int Height, SDL_Surface* Dest, int X,
                 int Y) {
  if (!Source || !Dest) return;
  int64_t SX = SourceX, SY = SourceY, DX = X, DY = Y, W = Width, H = Height, Shift;
  if (!ClipSpan(SX, W, Source->w, Shift)) return;
  DX += Shift;
  if (!ClipSpan(SY, H, Source->h, Shift)) return;
  DY += Shift;
  if (!ClipSpan(DX, W, Dest->w, Shift)) return;
  SX += Shift;
  if (!ClipSpan(DY, H, Dest->h, Shift)) return;
  SY += Shift;
  SDL_Rect S{static_cast<Sint16>(SX), static_cast<Sint16>(SY), static_cast<Uint16>(W), static_cast<Uint16>(H)};
  SDL_Rect D{static_cast<Sint16>(DX), static_cast<Sint16>(DY), 0, 0};
  SDL_BlitSurface(Source, &S, Dest, &D);
}

void FillClipped(SDL_Surface* Dest, int X, int Y, int Width, int Height, uint32_t Pixel) {
  if (!Dest) return;
  int64_t DX = X, DY = Y, W = Width, H = Height, Shift;
  if (!ClipSpan(DX, W, Dest->w, Shift) || !ClipSpan(DY, H, Dest->h, Shift)) return;
  SDL_Rect R{static_cast<Sint16>(DX), static_cast<Sint16>(DY), static_cast<Uint16>(W), static_cast<Uint16>(H)};
  SDL_FillRect(Dest, &R, Pixel);
}

TImage::TImage(int Width, int Height) {
  if (Width <= 0 || Height <= 0) return;
  TSurfacePtr S = CreateSurface(Width, Height, GImageDepth);
  if (!S) {
    const std::string Text = "Cannot create surface (" + std::to_string(Width) + "x" + std::to_string(Height) + ")";
    Log->Error(Text, kCreateHeading);
    throw ECreateSurface(Text);
  }
  SDL_FillRect(S.get(), nullptr, 0);
  SetSurface(std::move(S));
}

TImage::TImage(const std::string& Name) { Load(Name); }

TImage::~TImage() = default;

void TImage::SetSurface(TSurfacePtr Surface) {
  FOwned = std::move(Surface);
  FSurface = FOwned.get();
  FWidth = FSurface ? FSurface->w : 0;
  FHeight = FSurface ? FSurface->h : 0;
}

void TImage::WrapSurface(SDL_Surface* Surface) {
  FOwned.reset();
  FSurface = Surface;
  FWidth = FSurface ? FSurface->w : 0;
  FHeight = FSurface ? FSurface->h : 0;
}

int TImage::FrameWidth() const { return FrameCount > 0 ? Width() / FrameCount : Width(); }

void TImage::ParseName(std::string& Name, TFrameList& Cuts, std::string& Transform) {
  for (;;) {
    const size_t Open = Name.find('[');
    const size_t Close = Name.find(']');
    if (Open == std::string::npos || Close == std::string::npos || Open > Close) break;
    const std::string Cut = Name.substr(Open + 1, Close - Open - 1);
    Name.erase(Open, Close - Open + 1);
    TFrameCut C;
    const size_t Dots = Cut.find("..");
    if (Dots == std::string::npos) {
      C.First = C.Last = FrameIndex(Cut);
    } else {
      C.First = FrameIndex(std::string_view(Cut).substr(0, Dots));
      C.Last = FrameIndex(std::string_view(Cut).substr(Dots + 2));
    }
    if (C.First == -1) continue;
    if (C.Last < C.First) C.Last = C.First;
    Cuts.push_back(C);
  }
  Transform.clear();
  const size_t Colon = Name.find(':');
  if (Colon != std::string::npos && Colon >= 2) {
    Transform = Name.substr(Colon + 1);
    Name.erase(Colon);
  }
}

void TImage::Load(const std::string& FullName) {
  Log->Debug("LoadImage(" + FullName + ")", kCreateHeading);
  std::string Name = FullName, Transform;
  TFrameList Cuts;
  ParseName(Name, Cuts, Transform);

  Log->Debug("Before loading...", kCreateHeading);
  TRawPicture Picture;
  Picture.ReadFile(Name);
  Log->Debug("After loading...", kCreateHeading);
  if (Picture.Width <= 0 || Picture.Height <= 0 || Picture.Empty()) {
    Log->Debug("Loading failed.", kCreateHeading);
    return;
  }
  Log->Debug("Load ok. (" + std::to_string(Picture.Width) + "x" + std::to_string(Picture.Height) + ")", kCreateHeading);
  if (!Transform.empty()) {
    Picture.MultiTransform(Transform);
    Log->Debug("After transforming rawpicture.", kCreateHeading);
  }
  if (!ConvertPicture(Picture)) {
    Log->Warning("Cannot create surface (" + std::to_string(Picture.Width) + "x" + std::to_string(Picture.Height) + ")",
                 kCreateHeading);
    return;
  }
  SetFrameInfo(Picture);
  if (ColorKeyed) SetColorKey();
  Log->Debug("After converting to image...", kCreateHeading);
  if (Animated && !Cuts.empty()) {
    CutFrames(Cuts);
    Log->Debug("After clipping...", kCreateHeading);
  } else {
    Log->Debug("No clipping.", kCreateHeading);
  }
}

bool TImage::ConvertPicture(const TRawPicture& Picture) {
  if (Picture.Width <= 0 || Picture.Height <= 0 ||
      Picture.Data.size() != static_cast<size_t>(Picture.Width) * Picture.Height * 3)
    return false;
  // SDL wants a mutable pointer for the wrapper; the blit only reads it.
  TSurfacePtr Wrapper = WrapBGR24(const_cast<uint8_t*>(Picture.Data.data()), Picture.Width, Picture.Height);
  TSurfacePtr S = CreateSurface(Picture.Width, Picture.Height, GImageDepth);
  if (!Wrapper || !S) return false;
  SDL_BlitSurface(Wrapper.get(), nullptr, S.get(), nullptr);
  SetSurface(std::move(S));
  return true;
}

void TImage::SetFrameInfo(const TRawPicture& Picture) {
  if (Picture.InfoKind == kInfoAnimation || Picture.InfoKind == kInfoAnimationLong) {
    const uint8_t Flags = Picture.InfoByte(1);
    Animated = true;
    FrameCount = Picture.InfoByte(0) + (Flags & 0x0F) * 256;
    StartPaused = Flags & 0x80;
    ColorKeyed = Flags & 0x40;
    RandomStartFrame = Flags & 0x20;
    Looping = Flags & 0x10;
    FrameDelay = EndPause = 0;
    if (Picture.InfoKind == kInfoAnimationLong) {
      FrameDelay = Picture.InfoByte(2);
      EndPause = Picture.InfoByte(3);
    }
  }
  if (FrameCount == 0) Animated = false;
}

void TImage::SetColorKey() {
  if (FSurface) SDL_SetColorKey(FSurface, kColorKeyFlags, 0);
}

void TImage::SetAlpha(uint8_t Alpha) {
  if (FSurface) SDL_SetAlpha(FSurface, SDL_SRCALPHA | SDL_RLEACCEL | SDL_HWACCEL, Alpha);
}

void TImage::CutFrames(const TFrameList& Cuts) {
  if (!FSurface || FrameCount <= 0 || Cuts.empty()) return;
  const int W = Width() / FrameCount;
  int64_t Total = 0;
  for (const TFrameCut& C : Cuts) Total += static_cast<int64_t>(C.Last) - C.First + 1;
  // Frames narrower than a pixel, or a selection wider than any surface, are
  // left uncut rather than wrapping around.
  if (W <= 0 || Total <= 0 || Total * W > kMaxSurfaceSide) {
    Log->Warning("Frame selection ignored (" + std::to_string(Total) + " frames of " + std::to_string(W) + ")",
                 kCreateHeading);
    return;
  }
  TSurfacePtr S = CreateSurface(static_cast<int>(Total * W), Height(), GImageDepth);
  if (!S) return;
  // A keyed source leaves its black pixels unwritten, which are black here too.
  SDL_FillRect(S.get(), nullptr, 0);
  int64_t T = 0;
  for (const TFrameCut& C : Cuts) {
    for (int64_t K = C.First; K <= C.Last; ++K, ++T) {
      const int64_t SourceX = K * W;
      if (SourceX < 0 || SourceX >= Width()) continue;  // beyond the strip: stays black
      BlitClipped(FSurface, static_cast<int>(SourceX), 0, W, Height(), S.get(), static_cast<int>(T * W), 0);
    }
  }
  SetSurface(std::move(S));
  FrameCount = static_cast<int32_t>(Total);
  if (ColorKeyed) SetColorKey();
}

void TImage::Draw(int X, int Y, const TImage& Source) {
  if (!Source.FSurface) return;
  BlitClipped(Source.FSurface, 0, 0, Source.Width(), Source.Height(), FSurface, X, Y);
  if (FChanges) FChanges->Add(X, Y, Source.Width(), Source.Height());
}

void TImage::DrawNamed(int X, int Y, const std::string& Name) {
  TImage Picture(Name);
  Draw(X, Y, Picture);
}

void TImage::DrawPart(int X, int Y, int SourceX, int SourceY, int Width, int Height, const TImage& Source) {
  BlitClipped(Source.FSurface, SourceX, SourceY, Width, Height, FSurface, X, Y);
  if (FChanges && Source.FSurface) FChanges->Add(X, Y, Width, Height);
}

void TImage::Bar(int X, int Y, int Width, int Height, uint8_t Red, uint8_t Green, uint8_t Blue) {
  if (FSurface) FillRaw(X, Y, Width, Height, SDL_MapRGB(FSurface->format, Red, Green, Blue));
}

void TImage::FillRaw(int X, int Y, int Width, int Height, uint32_t Pixel) {
  FillClipped(FSurface, X, Y, Width, Height, Pixel);
  if (FChanges) FChanges->Add(X, Y, Width, Height);
}

void TImage::FrameRect(int X, int Y, int Width, int Height, uint8_t Red, uint8_t Green, uint8_t Blue) {
  Bar(X, Y, Width, 1, Red, Green, Blue);
  Bar(X + Width - 1, Y, 1, Height, Red, Green, Blue);
  Bar(X, Y, 1, Height, Red, Green, Blue);
  Bar(X, Y + Height - 1, Width, 1, Red, Green, Blue);
}

void TImage::VerticalLine(int X, int Y, int Height, uint8_t Red, uint8_t Green, uint8_t Blue) {
  Bar(X, Y, 1, Height, Red, Green, Blue);
}

void TImage::PixelRGB(int X, int Y, uint8_t& Red, uint8_t& Green, uint8_t& Blue) const {
  Red = Green = Blue = 0;
  if (!FSurface) return;
  TSurfaceLock Lock(FSurface);
  if (!Lock.Ok()) return;
  SDL_GetRGB(ReadRawPixel(FSurface, X, Y), FSurface->format, &Red, &Green, &Blue);
}

std::unique_ptr<TImage> TImage::CreateFromRawPicture(const TRawPicture& Picture) {
  Log->Debug(
      std::to_string(Picture.Width) + ", " + std::to_string(Picture.Height) + ", " + std::to_string(Picture.InfoKind),
      "ImageUnit, TImage.CreateFromRawPicture");
  auto Image = std::make_unique<TImage>(Picture.Width, Picture.Height);
  if (Image->FSurface && Picture.Data.size() == static_cast<size_t>(Picture.Width) * Picture.Height * 3) {
    TSurfacePtr Wrapper = WrapBGR24(const_cast<uint8_t*>(Picture.Data.data()), Picture.Width, Picture.Height);
    if (Wrapper) SDL_BlitSurface(Wrapper.get(), nullptr, Image->FSurface, nullptr);
  }
  Image->SetFrameInfo(Picture);
  if (Image->ColorKeyed) Image->SetColorKey();
  return Image;
}

std::unique_ptr<TImage> TImage::CreateFromGSD(TVXStreamBase& Stream, uint8_t Red, uint8_t Green, uint8_t Blue) {
  auto Image = std::make_unique<TImage>();
  const int64_t Saved = Stream.Position();
  Stream.Seek(0);
  uint16_t W = 0, H = 0;
  const bool HeaderOk = Stream.ReadU16(W) && Stream.ReadU16(H);
  const int64_t Count = static_cast<int64_t>(W) * H;
  if (HeaderOk && Count > 0 && Count <= Stream.Remaining() && W <= kMaxSurfaceSide && H <= kMaxSurfaceSide) {
    std::vector<uint8_t> Grey(static_cast<size_t>(Count));
    Stream.ReadExact(Grey.data(), Grey.size());
    TRawPicture Picture;
    if (Picture.SetSize(W, H)) {
      uint8_t* P = Picture.Data.data();
      for (uint8_t G : Grey) {
        *P++ = static_cast<uint8_t>(Blue * G / 255);
        *P++ = static_cast<uint8_t>(Green * G / 255);
        *P++ = static_cast<uint8_t>(Red * G / 255);
      }
      Image->ConvertPicture(Picture);
    }
  } else {
    Log->Warning("Greyscale stream too short for its size (" + std::to_string(W) + "x" + std::to_string(H) + ")",
                 "ImageUnit, TImage.CreateFromGSD");
  }
  Stream.Seek(Saved);
  return Image;
}
