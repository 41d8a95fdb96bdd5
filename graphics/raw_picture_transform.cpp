// Picture transformations: one-letter commands applied in order, frame by
// frame for pictures holding animation frames side by side.
#include <cstring>
#include <string>

#include "graphics/raw_picture.h"
#include "shell/logger.h"
#include "shell/toolbox.h"

namespace {

const char* const kMultiHeading = "RawPictureUnit, TRawPicture.MultiTransform";
const char* const kExHeading = "RawPictureUnit, TRawPicture.MultiTransformEx";
const char* const kCommandHeading = "RAWTRANSFORM, TransformRawImage";

bool Consistent(const TRawPicture& P) {
  return !P.Data.empty() && P.Data.size() == static_cast<size_t>(P.Width) * static_cast<size_t>(P.Height) * 3;
}

}  // namespace

void TRawPicture::MirrorHorizontal() {
  if (!Consistent(*this)) return;
  for (int32_t Y = 0; Y < Height; ++Y) {
    uint8_t* L = PixelAt(0, Y);
    uint8_t* R = PixelAt(Width - 1, Y);
    for (; L < R; L += 3, R -= 3)
      for (int K = 0; K < 3; ++K) std::swap(L[K], R[K]);
  }
}

void TRawPicture::MirrorVertical() {
  if (!Consistent(*this)) return;
  const size_t Row = static_cast<size_t>(Width) * 3;
  std::vector<uint8_t> Out(Data.size());
  for (int32_t Y = 0; Y < Height; ++Y) std::memcpy(&Out[Row * static_cast<size_t>(Y)], PixelAt(0, Height - 1 - Y), Row);
  Data = std::move(Out);
}

void TRawPicture::Invert() {
  for (uint8_t& B : Data) B = static_cast<uint8_t>(255 - B);
}

void TRawPicture::RotateClockwise() {
  if (!Consistent(*this)) return;
  const int32_t NewW = Height, NewH = Width;
  std::vector<uint8_t> Out(Data.size());
  uint8_t* D = Out.data();
  for (int32_t I = 0; I < NewH; ++I)
    for (int32_t J = 0; J < NewW; ++J, D += 3) std::memcpy(D, PixelAt(I, Height - 1 - J), 3);
  Width = NewW;
  Height = NewH;
  Data = std::move(Out);
}

void TRawPicture::RotateCounterClockwise() {
  if (!Consistent(*this)) return;
  const int32_t NewW = Height, NewH = Width;
  std::vector<uint8_t> Out(Data.size());
  uint8_t* D = Out.data();
  for (int32_t I = 0; I < NewH; ++I)
    for (int32_t J = 0; J < NewW; ++J, D += 3) std::memcpy(D, PixelAt(Width - 1 - I, J), 3);
  Width = NewW;
  Height = NewH;
  Data = std::move(Out);
}

bool TRawPicture::DoubleSize() {
  if (!Consistent(*this)) return true;
  const int64_t NewW = static_cast<int64_t>(Width) * 2, NewH = static_cast<int64_t>(Height) * 2;
  if (NewW > kMaxSide || NewH > kMaxSide || NewW * NewH * 3 > kMaxDataBytes) return false;
  std::vector<uint8_t> Out(static_cast<size_t>(NewW * NewH * 3));
  uint8_t* D = Out.data();
  for (int64_t I = 0; I < NewH; ++I)
    for (int64_t J = 0; J < NewW; ++J, D += 3)
      std::memcpy(D, PixelAt(static_cast<int32_t>(J / 2), static_cast<int32_t>(I / 2)), 3);
  Width = static_cast<int32_t>(NewW);
  Height = static_cast<int32_t>(NewH);
  Data = std::move(Out);
  return true;
}

void TRawPicture::MultiTransformEx(const std::string& Commands) {
  const std::string Length = std::to_string(Commands.size());
  for (size_t I = 0; I < Commands.size(); ++I) {
    const char C = Commands[I];
    Log->Debug("[" + std::to_string(I + 1) + "/" + Length + "] " + C, kExHeading);
    switch (C) {
      case 'H': MirrorHorizontal(); break;
      case 'V': MirrorVertical(); break;
      case 'I': Invert(); break;
      case 'R': RotateClockwise(); break;
      case 'r': RotateCounterClockwise(); break;
      default: Log->Warning(std::string("Unknown transformation command (") + C + ")", kCommandHeading); break;
    }
  }
  Log->Debug("Finished.", kExHeading);
}

void TRawPicture::MultiTransform(const std::string& Commands) {
  if (VXToolbox::Trim(Commands).empty()) {
    Log->Debug("No transformation needed.", kMultiHeading);
    return;
  }
  Log->Debug("Starting...", kMultiHeading);
  Log->Debug("Transformation string: " + Commands, kMultiHeading);
  // Doubling always comes last, whatever its place in the string; the count
  // is kept in a byte, as the file format's tools always did.
  uint8_t Doublings = 0;
  std::string S;
  for (char C : Commands) {
    if (C == 'D') ++Doublings;
    else S += C;
  }
  Log->Debug("Size: " + std::to_string(Width) + "x" + std::to_string(Height), kMultiHeading);

  const int N = FrameCount();
  const int32_t W = N > 0 ? Width / N : 0;
  if (N > 0 && W > 0 && Consistent(*this)) {
    Log->Debug("Animated.", kMultiHeading);
    Log->Debug("Framecount: " + std::to_string(N), kMultiHeading);
    Log->Debug("Framewidth: " + std::to_string(W), kMultiHeading);
    std::vector<TRawPicture> Frames;
    Frames.reserve(static_cast<size_t>(N));
    const size_t RowBytes = static_cast<size_t>(W) * 3;
    for (int K = 0; K < N; ++K) {
      Log->Debug("Processing frame " + std::to_string(K + 1) + ".", kMultiHeading);
      Log->Debug("->Single", kMultiHeading);
      TRawPicture Frame(W, Height);
      for (int32_t Y = 0; Y < Height; ++Y) std::memcpy(Frame.PixelAt(0, Y), PixelAt(K * W, Y), RowBytes);
      Log->Debug("Transforming", kMultiHeading);
      Frame.MultiTransform(S);
      Log->Debug("Single->", kMultiHeading);
      Frames.push_back(std::move(Frame));
    }
    const int32_t FW = Frames[0].Width, FH = Frames[0].Height;
    if (FW == W && FH == Height) {
      for (int K = 0; K < N; ++K)
        for (int32_t Y = 0; Y < Height; ++Y)
          std::memcpy(PixelAt(K * W, Y), Frames[static_cast<size_t>(K)].PixelAt(0, Y), RowBytes);
    } else {
      // Frames changed shape (a rotation of frames that are not square):
      // the strip is rebuilt with the new frame width.
      TRawPicture Strip;
      if (static_cast<int64_t>(N) * FW > kMaxSide || !Strip.SetSize(N * FW, FH)) {
        Log->Warning("Transformed frames do not fit one picture", kCommandHeading);
        return;
      }
      const size_t FrameRow = static_cast<size_t>(FW) * 3;
      for (int K = 0; K < N; ++K)
        for (int32_t Y = 0; Y < FH; ++Y)
          std::memcpy(Strip.PixelAt(K * FW, Y), Frames[static_cast<size_t>(K)].PixelAt(0, Y), FrameRow);
      Width = Strip.Width;
      Height = Strip.Height;
      Data = std::move(Strip.Data);
    }
  } else {
    Log->Debug("Not animated.", kMultiHeading);
    MultiTransformEx(S);
  }
  for (int I = 0; I < Doublings; ++I) {
    if (!DoubleSize()) {
      Log->Warning("Picture too large to double (" + std::to_string(Width) + "x" + std::to_string(Height) + ")",
                   kCommandHeading);
      break;
    }
  }
}
