// The smaller picture formats: CEL, MI, KEP, K16, GSD, and the two font
// formats BMF (glyph table only) and TXF (glyph table plus greyscale texture).
#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "graphics/picture_input.h"
#include "graphics/picture_palette.h"
#include "graphics/raw_picture.h"
#include "shell/logger.h"

namespace {

// Reads Width*Height pixels of PixelBytes each, rows top-down, converting
// each into the picture; pixels the stream lacks stay black.
template <class TConvert>
void ReadRows(TPictureInput& In, TRawPicture& Pic, int PixelBytes, TConvert Convert) {
  const size_t RowBytes = static_cast<size_t>(Pic.Width) * static_cast<size_t>(PixelBytes);
  std::vector<uint8_t> Row(RowBytes);
  for (int32_t Y = 0; Y < Pic.Height; ++Y) {
    const size_t Got = In.Read(Row.data(), RowBytes);
    uint8_t* Out = Pic.PixelAt(0, Y);
    for (size_t X = 0; X < Got / static_cast<size_t>(PixelBytes); ++X)
      Convert(&Row[X * static_cast<size_t>(PixelBytes)], Out + X * 3);
    if (Got < RowBytes) return;
  }
}

void GreyPixel(const uint8_t* In, uint8_t* Out) { Out[0] = Out[1] = Out[2] = In[0]; }

// 5-6-5 as the K16 and MI formats store it.
void Pixel565(const uint8_t* In, uint8_t* Out) {
  const unsigned V = In[0] | (In[1] << 8);
  Out[0] = static_cast<uint8_t>((V & 0x1F) << 3);
  Out[1] = static_cast<uint8_t>((V & 0x7E0) >> 3);
  Out[2] = static_cast<uint8_t>((V >> 11) << 3);
}

std::string Hex4(unsigned Value) {
  char Buf[8];
  std::snprintf(Buf, sizeof Buf, "%04X", Value & 0xFFFF);
  return Buf;
}

// Glyph table: the 32-byte presence set (most significant bit first), then
// 8 bytes for each present code in ascending order.
std::vector<uint8_t> BuildGlyphTable(const std::map<int, std::array<uint8_t, 8>>& Glyphs) {
  std::vector<uint8_t> Table(32, 0);
  for (const auto& [Code, Bytes] : Glyphs) {
    Table[static_cast<size_t>(Code) / 8] |= static_cast<uint8_t>(0x80 >> (Code % 8));
    Table.insert(Table.end(), Bytes.begin(), Bytes.end());
  }
  return Table;
}

}  // namespace

bool TRawPicture::ReadCELStream(TVXStreamBase& Stream, bool LoadPalette) {
  const char* Heading = "RawPictureUnit, TRawPicture.ReadCEL";
  TPictureInput In(Stream);
  const int64_t Start = In.Position();
  uint16_t Signature = 0, W = 0, H = 0;
  if (!In.ReadU16(Signature) || Signature != 0x9119) {
    Log->Warning("Not a .CEL file!", Heading);
    return false;
  }
  In.ReadU16(W);
  In.ReadU16(H);
  Clear();
  In.Seek(Start + 32);
  std::array<uint8_t, 768> Raw{}, Palette{};
  In.Read(Raw.data(), Raw.size());
  for (size_t I = 0; I < 256; ++I) {
    // 6-bit red, green, blue to 8-bit blue, green, red.
    Palette[I * 3 + 0] = static_cast<uint8_t>(Raw[I * 3 + 2] * 4);
    Palette[I * 3 + 1] = static_cast<uint8_t>(Raw[I * 3 + 1] * 4);
    Palette[I * 3 + 2] = static_cast<uint8_t>(Raw[I * 3 + 0] * 4);
  }
  if (LoadPalette && SharedPalette) SharedPalette->Load(Palette.data(), 256);
  if (!PictureSizeAllowed(W, H, In.Remaining(), 1)) {
    Log->Warning("Invalid picture size! (" + std::to_string(W) + "x" + std::to_string(H) + ")", Heading);
    return false;
  }
  SetSize(W, H);
  ReadRows(In, *this, 1, [&Palette](const uint8_t* P, uint8_t* Out) { std::memcpy(Out, &Palette[P[0] * 3u], 3); });
  return true;
}

bool TRawPicture::ReadMIStream(TVXStreamBase& Stream) {
  const char* Heading = "RawPictureUnit, TRawPicture.ReadMI";
  TPictureInput In(Stream);
  uint16_t Signature = 0, Version = 0;
  if (!In.ReadU16(Signature) || Signature != 0x494D) {
    Log->Warning("Not an .MI file!", Heading);
    return false;
  }
  if (!In.ReadU16(Version) || Version != 0x0100) {
    Log->Warning("Unknown .MI file version!", Heading);
    return false;
  }
  uint16_t Tag = 0, W = 0, H = 0;
  In.ReadU16(Tag);
  In.ReadU16(W);
  In.ReadU16(H);
  int PixelBytes;
  if (Tag == ('G' | ('S' << 8))) PixelBytes = 1;
  else if (Tag == ('2' | ('4' << 8))) PixelBytes = 3;
  else if (Tag == ('1' | ('6' << 8))) PixelBytes = 2;
  else {
    Log->Warning("Invalid color depth! (" + Hex4(Tag) + ")", "RawPictureUnit, ReadMI100");
    return false;
  }
  Clear();
  if (!PictureSizeAllowed(W, H, In.Remaining(), 1)) {
    Log->Warning("Invalid picture size! (" + std::to_string(W) + "x" + std::to_string(H) + ")", Heading);
    return false;
  }
  SetSize(W, H);
  if (PixelBytes == 1) ReadRows(In, *this, 1, GreyPixel);
  if (PixelBytes == 2) ReadRows(In, *this, 2, Pixel565);
  if (PixelBytes == 3)
    ReadRows(In, *this, 3, [](const uint8_t* P, uint8_t* Out) {
      Out[0] = P[2];
      Out[1] = P[1];
      Out[2] = P[0];
    });
  return true;
}

bool TRawPicture::ReadKEPStream(TVXStreamBase& Stream) {
  TPictureInput In(Stream);
  const int64_t Bytes = In.Remaining();
  uint16_t W16 = 0, H16 = 0;
  In.ReadU16(W16);
  In.ReadU16(H16);
  int32_t W = W16, H = H16;
  // Some files store both sides one short.
  if (Bytes == static_cast<int64_t>(W + 1) * (H + 1) + 4) {
    ++W;
    ++H;
  }
  Clear();
  if (!PictureSizeAllowed(W, H, In.Remaining(), 1)) {
    Log->Warning("Invalid picture size! (" + std::to_string(W) + "x" + std::to_string(H) + ")",
                 "RawPictureUnit, TRawPicture.ReadKEP");
    return false;
  }
  SetSize(W, H);
  static const TFastPalette kBlack;
  const TFastPalette& Palette = SharedPalette ? *SharedPalette : kBlack;
  ReadRows(In, *this, 1, [&Palette](const uint8_t* P, uint8_t* Out) {
    const uint8_t* E = Palette.Entry(P[0]);
    Out[0] = E[2];
    Out[1] = E[1];
    Out[2] = E[0];
  });
  return true;
}

bool TRawPicture::ReadK16Stream(TVXStreamBase& Stream) {
  TPictureInput In(Stream);
  uint16_t W = 0, H = 0;
  In.ReadU16(W);
  In.ReadU16(H);
  Clear();
  if (!PictureSizeAllowed(W + 1, H + 1, In.Remaining(), 1)) {
    Log->Warning("Invalid picture size! (" + std::to_string(W + 1) + "x" + std::to_string(H + 1) + ")",
                 "RawPictureUnit, TRawPicture.ReadK16");
    return false;
  }
  SetSize(W + 1, H + 1);
  ReadRows(In, *this, 2, Pixel565);
  return true;
}

bool TRawPicture::ReadGSDStream(TVXStreamBase& Stream) {
  TPictureInput In(Stream);
  uint16_t W = 0, H = 0;
  In.ReadU16(W);
  In.ReadU16(H);
  Clear();
  if (!PictureSizeAllowed(W, H, In.Remaining(), 1)) {
    Log->Warning("Invalid picture size! (" + std::to_string(W) + "x" + std::to_string(H) + ")",
                 "RawPictureUnit, TRawPicture.ReadGSD");
    return false;
  }
  SetSize(W, H);
  ReadRows(In, *this, 1, GreyPixel);
  return true;
}

bool TRawPicture::ReadBMFStream(TVXStreamBase& Stream) {
  TPictureInput In(Stream);
  std::map<int, std::array<uint8_t, 8>> Glyphs;
  uint8_t Record[9];
  while (In.ReadExact(Record, sizeof Record)) std::memcpy(Glyphs[Record[0]].data(), Record + 1, 8);
  Info = BuildGlyphTable(Glyphs);
  InfoKind = kInfoGlyphs;
  return true;
}

bool TRawPicture::ReadTXFStream(TVXStreamBase& Stream) {
  TPictureInput In(Stream);
  uint8_t Magic[4] = {0, 0, 0, 0}, Endian[4] = {0, 0, 0, 0};
  In.Read(Magic, 4);
  In.Read(Endian, 4);
  const bool MagicOk = Magic[0] == 0xFF && Magic[1] == 't' && Magic[2] == 'x' && Magic[3] == 'f';
  const bool Straight = Endian[0] == 0x78 && Endian[1] == 0x56 && Endian[2] == 0x34 && Endian[3] == 0x12;
  const bool Swapped = Endian[0] == 0x12 && Endian[1] == 0x34 && Endian[2] == 0x56 && Endian[3] == 0x78;
  if (!MagicOk || (!Straight && !Swapped)) {
    WritePictureMessage("RTXF: Not a TXF font file.");
    return false;
  }
  auto U32 = [&](uint32_t& V) {
    uint8_t B[4] = {0, 0, 0, 0};
    const bool Ok = In.ReadExact(B, 4);
    V = Swapped ? (uint32_t{B[0]} << 24 | uint32_t{B[1]} << 16 | uint32_t{B[2]} << 8 | B[3])
                : (uint32_t{B[3]} << 24 | uint32_t{B[2]} << 16 | uint32_t{B[1]} << 8 | B[0]);
    return Ok;
  };
  auto U16 = [&](const uint8_t* B) { return Swapped ? (B[0] << 8 | B[1]) : (B[1] << 8 | B[0]); };
  uint32_t Format = 0, TexWidth = 0, TexHeight = 0, Ascent = 0, Descent = 0, GlyphCount = 0;
  U32(Format);
  U32(TexWidth);
  U32(TexHeight);
  U32(Ascent);
  U32(Descent);
  U32(GlyphCount);
  WritePictureMessage("RTXF: format " + std::to_string(Format) + ", texture " + std::to_string(TexWidth) + "x" +
                      std::to_string(TexHeight) + ", ascent " + std::to_string(Ascent) + ", descent " +
                      std::to_string(Descent) + ", glyphs " + std::to_string(GlyphCount));
  if (Format != 0) {
    WritePictureMessage("RTXF: Only format 0 (TXF_FORMAT_BYTE) supported.");
    return false;
  }
  Clear();
  const int64_t GlyphBytes = static_cast<int64_t>(GlyphCount) * 12;
  if (GlyphBytes > In.Remaining() || !PictureSizeAllowed(TexWidth, TexHeight, In.Remaining() - GlyphBytes, 1)) {
    WritePictureMessage("RTXF: Invalid texture size or glyph count.");
    return false;
  }
  // The texture is stored bottom row first; the picture and the glyph
  // rectangles are turned upright.
  std::map<int, std::array<uint8_t, 8>> Glyphs;
  for (uint32_t I = 0; I < GlyphCount; ++I) {
    uint8_t R[12];
    if (!In.ReadExact(R, 12)) break;
    const int Code = U16(R) & 0xFF;
    const int X = U16(R + 8), Y = U16(R + 10);
    const int Left = X, Right = X + R[2];
    const int Top = static_cast<int>(TexHeight) - (Y + R[3]), Bottom = static_cast<int>(TexHeight) - Y;
    std::array<uint8_t, 8>& G = Glyphs[Code];
    const int Values[4] = {Left, Top < 0 ? 0 : Top, Right, Bottom < 0 ? 0 : Bottom};
    for (int K = 0; K < 4; ++K) {
      G[static_cast<size_t>(K) * 2] = static_cast<uint8_t>(Values[K] & 0xFF);
      G[static_cast<size_t>(K) * 2 + 1] = static_cast<uint8_t>((Values[K] >> 8) & 0xFF);
    }
  }
  SetSize(static_cast<int32_t>(TexWidth), static_cast<int32_t>(TexHeight));
  for (int32_t Row = 0; Row < Height; ++Row) {
    uint8_t* Out = PixelAt(0, Height - 1 - Row);
    bool Short = false;
    for (int32_t X = 0; X < Width; ++X, Out += 3) {
      uint8_t G;
      if (!In.ReadU8(G)) {
        Short = true;
        break;
      }
      Out[0] = Out[1] = Out[2] = G;
    }
    if (Short) break;
  }
  Info = BuildGlyphTable(Glyphs);
  InfoKind = kInfoGlyphs;
  return true;
}
