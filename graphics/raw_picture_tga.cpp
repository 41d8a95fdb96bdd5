// The TGA reader: every image type, the information block from the image ID,
// the glyph table trailer and vertical frame strips.
#include <array>
#include <cstring>

#include "graphics/picture_input.h"
#include "graphics/picture_palette.h"
#include "graphics/picture_rle_reader.h"
#include "graphics/raw_picture.h"
#include "shell/toolbox.h"

namespace {

using TColorMap = std::array<uint8_t, 256 * 3>;

// 5-bit components are spread over the full 8-bit range, so white stays white.
inline uint8_t Expand5(unsigned V) { return static_cast<uint8_t>(V * 255 / 31); }

// A 16-bit colour-map entry: attribute bit, then 5 bits each of red, green,
// blue.
inline void ConvertMapEntry16(const uint8_t* In, uint8_t* Out) {
  const unsigned V = In[0] | (In[1] << 8);
  Out[0] = Expand5(V & 0x1F);
  Out[1] = Expand5((V >> 5) & 0x1F);
  Out[2] = Expand5((V >> 10) & 0x1F);
}

// 16-bit pixels by the descriptor's alpha bits. None: 5-6-5, the layout
// level packs store their pictures in. One: 1-5-5-5. Components are shifted
// into the top of their byte, as the pictures were made to be read.
inline void Convert565(const uint8_t* In, uint8_t* Out) {
  const unsigned V = In[0] | (In[1] << 8);
  Out[0] = static_cast<uint8_t>((V & 0x001F) << 3);
  Out[1] = static_cast<uint8_t>((V & 0x07E0) >> 3);
  Out[2] = static_cast<uint8_t>((V & 0xF800) >> 8);
}

inline void Convert1555(const uint8_t* In, uint8_t* Out) {
  const unsigned V = In[0] | (In[1] << 8);
  Out[0] = static_cast<uint8_t>((V & 0x001F) << 3);
  Out[1] = static_cast<uint8_t>((V & 0x03E0) >> 2);
  Out[2] = static_cast<uint8_t>((V & 0x7C00) >> 7);
}

int MapEntryBytes(uint8_t EntrySize) {
  switch (EntrySize) {
    case 15:
    case 16: return 2;
    case 32: return 4;
    default: return 3;
  }
}

// Reads MapLength entries; the first 256 land in Map, the rest are skipped.
// Entries the stream lacks stay black.
void ReadColorMap(TPictureInput& In, int MapLength, uint8_t EntrySize, TColorMap& Map) {
  const int EntryBytes = MapEntryBytes(EntrySize);
  const int Kept = MapLength < 256 ? MapLength : 256;
  for (int I = 0; I < Kept; ++I) {
    uint8_t E[4] = {0, 0, 0, 0};
    if (!In.ReadExact(E, static_cast<size_t>(EntryBytes))) return;
    if (EntryBytes == 2) ConvertMapEntry16(E, &Map[static_cast<size_t>(I) * 3]);
    else std::memcpy(&Map[static_cast<size_t>(I) * 3], E, 3);
  }
  if (MapLength > Kept) In.Skip(static_cast<int64_t>(MapLength - Kept) * EntryBytes);
}

// Reverses the row order in place (the file stored the bottom row first).
void FlipRows(std::vector<uint8_t>& Data, int32_t Width, int32_t Height) {
  const size_t Row = static_cast<size_t>(Width) * 3;
  if (Row == 0 || Data.size() < Row * static_cast<size_t>(Height)) return;  // nothing to flip
  std::vector<uint8_t> Tmp(Row);
  for (int32_t Top = 0, Bottom = Height - 1; Top < Bottom; ++Top, --Bottom) {
    uint8_t* A = Data.data() + Row * static_cast<size_t>(Top);
    uint8_t* B = Data.data() + Row * static_cast<size_t>(Bottom);
    std::memcpy(Tmp.data(), A, Row);
    std::memcpy(A, B, Row);
    std::memcpy(B, Tmp.data(), Row);
  }
}

// Uncompressed pixels of PixelBytes each, converted one by one, read a row at a time.
template <class TConvert>
void ReadPlain(TPictureInput& In, uint8_t* Out, int32_t Width, int32_t Height, int PixelBytes, TConvert Convert) {
  std::vector<uint8_t> Row(static_cast<size_t>(Width) * static_cast<size_t>(PixelBytes));
  for (int32_t Y = 0; Y < Height; ++Y) {
    const size_t Got = In.Read(Row.data(), Row.size());
    const size_t Pixels = Got / static_cast<size_t>(PixelBytes);
    for (size_t X = 0; X < Pixels; ++X) Convert(&Row[X * static_cast<size_t>(PixelBytes)], Out + X * 3);
    if (Got != Row.size()) return;
    Out += static_cast<size_t>(Width) * 3;
  }
}

}  // namespace

bool TRawPicture::ReadTGAStream(TVXStreamBase& Stream, bool LoadPalette) {
  TPictureInput In(Stream);
  uint8_t IdLength = 0, MapType = 0, Type = 0, MapEntrySize = 0, Depth = 0, Descriptor = 0;
  uint16_t MapFirst = 0, MapLength = 0, XOrigin = 0, YOrigin = 0, W = 0, H = 0;
  const bool HeaderOk = In.ReadU8(IdLength) && In.ReadU8(MapType) && In.ReadU8(Type) && In.ReadU16(MapFirst) &&
                        In.ReadU16(MapLength) && In.ReadU8(MapEntrySize) && In.ReadU16(XOrigin) &&
                        In.ReadU16(YOrigin) && In.ReadU16(W) && In.ReadU16(H) && In.ReadU8(Depth) &&
                        In.ReadU8(Descriptor);
  Clear();
  if (!HeaderOk) {
    WritePictureMessage("RTGA: Incomplete header!");
    return false;
  }
  std::vector<uint8_t> Id(IdLength, 0);
  In.Read(Id.data(), Id.size());
  SetInfo(Id);

  TColorMap Map{};
  const bool Mapped = Type == 1 || Type == 9;
  if (Mapped || MapType != 0) {
    // A colour map in front of true-colour or greyscale pixels is skipped.
    ReadColorMap(In, MapLength, MapEntrySize, Map);
    if (Mapped && LoadPalette && SharedPalette) SharedPalette->Load(Map.data(), MapLength < 256 ? MapLength : 256);
  }

  int64_t PixelsPerByte = 0;  // the densest the pixel data can be
  if (Type == 1 || Type == 2 || Type == 3) PixelsPerByte = 1;
  if (Type == 9 || Type == 10 || Type == 11) PixelsPerByte = 64;
  if (!PictureSizeAllowed(W, H, In.Remaining(), PixelsPerByte)) {
    WritePictureMessage("RTGA: Picture too large!");
    return false;
  }
  SetSize(W, H);
  const int64_t Pixels = static_cast<int64_t>(W) * H;
  uint8_t* Out = Data.data();
  const bool TopDown = (Descriptor & 0x20) != 0;
  bool Ok = true;

  auto MapPixel = [&Map](const uint8_t* In, uint8_t* O) { std::memcpy(O, &Map[static_cast<size_t>(In[0]) * 3], 3); };
  auto GreyPixel = [](const uint8_t* In, uint8_t* O) { O[0] = O[1] = O[2] = In[0]; };
  auto CopyPixel = [](const uint8_t* In, uint8_t* O) { std::memcpy(O, In, 3); };
  const int AlphaBits = Descriptor & 0x0F;

  switch (Type) {
    case 0:
      WritePictureMessage("RTGA: No image data included in file!");
      Ok = false;
      break;
    case 1: ReadPlain(In, Out, W, H, 1, MapPixel); break;
    case 2:
    case 10:
      if (Type == 2 && (XOrigin != 0 || YOrigin != 0)) WritePictureMessage("RTGA: Ignoring Origin settings!");
      if (Depth == 16 && AlphaBits > 1) {
        WritePictureMessage("RTGA: Illegal Image Descriptor Byte!");
        Ok = false;
      } else if (Depth == 16) {
        const auto Convert = AlphaBits == 0 ? Convert565 : Convert1555;
        if (Type == 2) ReadPlain(In, Out, W, H, 2, Convert);
        else TFastRleReader::Decode(In, Out, Pixels, 2, Convert);
      } else if (Depth == 24) {
        if (Type == 2) In.Read(Out, Data.size());
        else TFastRleReader::Decode24(In, Out, Pixels);
      } else if (Depth == 32) {
        if (Type == 2) ReadPlain(In, Out, W, H, 4, CopyPixel);
        else TFastRleReader::Decode(In, Out, Pixels, 4, CopyPixel);
      } else {
        WritePictureMessage("RTGA: Illegal Image Pixel Size!");
        Ok = false;
      }
      break;
    case 3:
      if (Depth != 8) {
        WritePictureMessage("Illegal Image Pixel Size!");
        Ok = false;
      } else {
        ReadPlain(In, Out, W, H, 1, GreyPixel);
      }
      break;
    case 9: TFastRleReader::Decode(In, Out, Pixels, 1, MapPixel); break;
    case 11: TFastRleReader::Decode(In, Out, Pixels, 1, GreyPixel); break;
    case 32:
    case 33:
      WritePictureMessage("RTGA: Compressed images are not supported!");
      Ok = false;
      break;
    default:
      WritePictureMessage("RTGA: Unkown image type!");
      Ok = false;
      break;
  }
  if (!TopDown) FlipRows(Data, Width, Height);

  if (Info.size() == 32) {
    int Present = 0;
    for (uint8_t B : Info) Present += VXToolbox::BitCount(B);
    Info.resize(32 + 8 * static_cast<size_t>(Present), 0);
    In.Read(Info.data() + 32, 8 * static_cast<size_t>(Present));
  }
  if (Info.size() == 16 && (Info[6] & 0x80)) RearrangeVerticalStrip();
  return Ok;
}

void TRawPicture::RearrangeVerticalStrip() {
  const int N = FrameCount();
  if (N <= 0 || Height / N == 0) return;
  const int32_t H = Height / N;
  const int32_t W = Width;
  if (static_cast<int64_t>(N) * W > kMaxSide) {
    WritePictureMessage("RTGA: Frame strip too wide!");
    return;
  }
  TRawPicture Strip(N * W, H);
  const size_t RowBytes = static_cast<size_t>(W) * 3;
  if (RowBytes == 0 || Strip.Data.empty()) return;
  for (int I = 0; I < N; ++I)
    for (int32_t J = 0; J < H; ++J) std::memcpy(Strip.PixelAt(I * W, J), PixelAt(0, I * H + J), RowBytes);
  Width = Strip.Width;
  Height = Strip.Height;
  Data = std::move(Strip.Data);
}
