// Windows V3 BMP: reading 1, 4, 8 bits (plain and RLE8) and 24 bits, and
// writing a picture as a 24-bit BMP.
#include <cstring>
#include <string>

#include "graphics/picture_input.h"
#include "graphics/picture_palette.h"
#include "graphics/raw_picture.h"
#include "shell/logger.h"

namespace {

const char* const kHeading = "RawPictureUnit, TRawPicture.ReadBMP";
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

// Run-length 8-bit data: count/value pairs, with escapes for end of line,
// end of bitmap, delta moves and literal runs. Pixels beyond the picture are dropped.
void DecodeRle8(TPictureInput& In, TRawPicture& Pic, const uint8_t* Palette, bool TopDown) {
  int64_t X = 0, Row = 0;  // Row counts file rows
  auto Put = [&](uint8_t Index) {
    if (X < Pic.Width && Row < Pic.Height) {
      const int32_t Y = TopDown ? static_cast<int32_t>(Row) : Pic.Height - 1 - static_cast<int32_t>(Row);
      std::memcpy(Pic.PixelAt(static_cast<int32_t>(X), Y), Palette + Index * 3, 3);
    }
    ++X;
  };
  uint8_t Count, Value;
  while (Row < Pic.Height && In.ReadU8(Count) && In.ReadU8(Value)) {
    if (Count > 0) {
      if (X >= Pic.Width) continue;
      for (int I = 0; I < Count; ++I) Put(Value);
      continue;
    }
    if (Value == 0) {
      X = 0;
      ++Row;
    } else if (Value == 1) {
      return;
    } else if (Value == 2) {
      uint8_t Dx, Dy;
      if (!In.ReadU8(Dx) || !In.ReadU8(Dy)) return;
      X += Dx;
      Row += Dy;
    } else {
      for (int I = 0; I < Value; ++I) {
        uint8_t Index;
        if (!In.ReadU8(Index)) return;
        Put(Index);
      }
      if (Value & 1) In.Skip(1);
    }
  }
}

}  // namespace

bool TRawPicture::ReadBMPStream(TVXStreamBase& Stream, bool LoadPalette) {
  TPictureInput In(Stream);
  const int64_t Start = In.Position();
  uint16_t Signature = 0;
  if (!In.ReadU16(Signature) || Signature != 0x4D42) {
    Log->Warning("Not a .BMP file!", kHeading);
    return false;
  }
  uint32_t FileSize = 0, Reserved = 0, Offset = 0, HeaderSize = 0;
  In.ReadU32(FileSize);
  In.ReadU32(Reserved);
  In.ReadU32(Offset);
  In.ReadU32(HeaderSize);
  if (HeaderSize != kInfoHeaderSize) {
    Log->Warning("Only Windows V3 BMP header supported!", kHeading);
    return false;
  }
  int32_t W = 0, H = 0;
  uint16_t Planes = 0, Bits = 0;
  uint32_t Compression = 0, ImageSize = 0, XRes = 0, YRes = 0, ColorsUsed = 0, Important = 0;
  const bool HeaderOk = In.ReadI32(W) && In.ReadI32(H) && In.ReadU16(Planes) && In.ReadU16(Bits) &&
                        In.ReadU32(Compression) && In.ReadU32(ImageSize) && In.ReadU32(XRes) && In.ReadU32(YRes) &&
                        In.ReadU32(ColorsUsed) && In.ReadU32(Important);
  if (!HeaderOk) {
    Log->Warning("Incomplete BMP header!", kHeading);
    return false;
  }
  // A negative height marks rows stored top-down.
  const bool TopDown = H < 0;
  const int64_t Height64 = H < 0 ? -static_cast<int64_t>(H) : H;

  int Entries = 0;
  if (Bits == 1 || Bits == 4 || Bits == 8) {
    const int Max = 1 << Bits;
    Entries = (ColorsUsed > 0 && ColorsUsed < static_cast<uint32_t>(Max)) ? static_cast<int>(ColorsUsed) : Max;
  }
  const bool Plain = Compression == 0 && (Bits == 1 || Bits == 4 || Bits == 8 || Bits == 24);
  const bool Rle8 = Compression == 1 && Bits == 8;
  int64_t PixelsPerByte = 0;
  if (Plain) PixelsPerByte = Bits == 1 ? 8 : Bits == 4 ? 2 : 1;
  if (Rle8) PixelsPerByte = 128;

  Info.clear();
  InfoKind = kInfoNone;
  if (!PictureSizeAllowed(W, Height64, In.Size() - Start, PixelsPerByte)) {
    Log->Warning("Invalid picture size! (" + std::to_string(W) + "x" + std::to_string(Height64) + ")", kHeading);
    Clear();
    return false;
  }
  SetSize(W, static_cast<int32_t>(Height64));

  std::vector<uint8_t> Palette(256 * 3, 0);
  const int64_t PaletteStart = Start + kFileHeaderSize + HeaderSize;
  In.Seek(PaletteStart);
  for (int I = 0; I < Entries; ++I) {
    uint8_t E[4];
    if (!In.ReadExact(E, 4)) break;
    std::memcpy(&Palette[static_cast<size_t>(I) * 3], E, 3);
  }
  if (LoadPalette && SharedPalette && Entries > 0) SharedPalette->Load(Palette.data(), Entries);

  if (!Plain && !Rle8) {
    Log->Warning(
        "Unsupported BMP format! (" + std::to_string(Bits) + " bits, compression " + std::to_string(Compression) + ")",
        kHeading);
    return false;
  }
  // The pixels start at the stored offset; an offset outside the file falls
  // back to the end of the palette.
  const int64_t AfterPalette = PaletteStart + static_cast<int64_t>(Entries) * 4;
  const bool OffsetValid = Offset >= kFileHeaderSize + kInfoHeaderSize && Start + Offset < In.Size();
  In.Seek(OffsetValid ? Start + Offset : AfterPalette);

  if (Rle8) {
    DecodeRle8(In, *this, Palette.data(), TopDown);
    return true;
  }
  const size_t Stride = ((static_cast<size_t>(Width) * Bits + 31) / 32) * 4;
  std::vector<uint8_t> Row(Stride);
  for (int32_t R = 0; R < Height; ++R) {
    const size_t Got = In.Read(Row.data(), Stride);
    if (Got < Stride) std::memset(Row.data() + Got, 0, Stride - Got);
    const int32_t Y = TopDown ? R : Height - 1 - R;
    uint8_t* Out = PixelAt(0, Y);
    if (Bits == 24) {
      std::memcpy(Out, Row.data(), static_cast<size_t>(Width) * 3);
    } else {
      for (int32_t X = 0; X < Width; ++X) {
        unsigned Index;
        if (Bits == 8) Index = Row[static_cast<size_t>(X)];
        else if (Bits == 4) Index = (Row[static_cast<size_t>(X) / 2] >> ((X & 1) ? 0 : 4)) & 0x0F;
        else Index = (Row[static_cast<size_t>(X) / 8] >> (7 - (X & 7))) & 1;
        std::memcpy(Out + static_cast<size_t>(X) * 3, &Palette[Index * 3], 3);
      }
    }
    if (Got < Stride) break;
  }
  return true;
}

bool TRawPicture::SaveBMPStream(TVXStreamBase& Stream) const {
  if (Data.empty()) return false;
  const uint32_t Stride = ((static_cast<uint32_t>(Width) * 3 + 3) / 4) * 4;
  const uint32_t ImageSize = Stride * static_cast<uint32_t>(Height);
  const uint32_t Offset = kFileHeaderSize + kInfoHeaderSize;
  bool Ok = Stream.WriteU16(0x4D42) && Stream.WriteU32(Offset + ImageSize) && Stream.WriteU32(0) &&
            Stream.WriteU32(Offset) && Stream.WriteU32(kInfoHeaderSize) && Stream.WriteI32(Width) &&
            Stream.WriteI32(Height) && Stream.WriteU16(1) && Stream.WriteU16(24) && Stream.WriteU32(0) &&
            Stream.WriteU32(ImageSize) && Stream.WriteU32(2835) && Stream.WriteU32(2835) && Stream.WriteU32(0) &&
            Stream.WriteU32(0);
  std::vector<uint8_t> Row(Stride, 0);
  for (int32_t Y = Height - 1; Ok && Y >= 0; --Y) {
    std::memcpy(Row.data(), PixelAt(0, Y), static_cast<size_t>(Width) * 3);
    Ok = Stream.WriteExact(Row.data(), Row.size());
  }
  return Ok;
}
