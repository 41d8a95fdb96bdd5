// The four kinds of font, which differ only in how page and glyphs load,
// and LoadFont, which builds one from an INI section.
#include <algorithm>

#include "config/ini_file.h"
#include "graphics/font.h"
#include "graphics/raw_picture.h"
#include "graphics/video.h"
#include "shell/logger.h"
#include "shell/toolbox.h"
#include "storage/stream_opener.h"

namespace {

constexpr const char* kLoadHeading = "VXFonts, LoadFont";

// Opens a resource, or null when it is found nowhere.
TVXStreamPtr TryOpen(const std::string& Name) {
  if (!StreamOpener) return nullptr;
  try {
    return StreamOpener->OpenStream(Name);
  } catch (const EOpenStream&) { return nullptr; }
}

bool HasBit(const std::vector<uint8_t>& Bytes, size_t Offset, int Code) {
  const size_t At = Offset + static_cast<size_t>(Code / 8);
  return At < Bytes.size() && (Bytes[At] & (0x80 >> (Code % 8))) != 0;
}

}  // namespace

// --- BMP ---------------------------------------------------------------

TBMPFont::TBMPFont(const std::string& File) {
  std::string Base = File, Extension = "bmp";
  const size_t Dot = File.find('.');
  if (Dot != std::string::npos) {
    Base = File.substr(0, Dot);
    Extension = File.substr(Dot + 1);
  }
  FileName = Base;
  Image = std::make_unique<TImage>(Base + "." + Extension);
  if (TVXStreamPtr Metrics = TryOpen(Base + ".bmf")) ReadMetrics(*Metrics);
  Height = Image->Height();
  if (auto Grey = VX_SDL::GrayscaleStream(*Image)) Source = std::move(*Grey);
  Source.Seek(0);
}

// --- GSD ---------------------------------------------------------------

TGSDFont::TGSDFont(const std::string& File, uint8_t R, uint8_t G, uint8_t B) {
  FileName = File;
  if (TVXStreamPtr Page = TryOpen(File + ".gsd")) Source.CopyFrom(*Page, Page->Size());
  Source.Seek(0);
  Image = TImage::CreateFromGSD(Source, R, G, B);
  if (!Image) Image = std::make_unique<TImage>(16, 16);
  Source.Seek(0);
  if (TVXStreamPtr Metrics = TryOpen(File + ".bmf")) ReadMetrics(*Metrics);
  Height = Image->Height();
}

// --- VXR ---------------------------------------------------------------

TVXRFont::TVXRFont(const std::string& File) {
  FileName = File;
  if (TVXStreamPtr S = TryOpen(File)) {
    Read(*S);
  } else {
    MakeEmpty();
    SpaceSpace = 0;
  }
}

TVXRFont::TVXRFont(TVXStreamBase& Stream) { Read(Stream); }

void TVXRFont::Read(TVXStreamBase& Stream) {
  char Magic[4] = {};
  uint8_t Flags = 0, W = 0, H = 0;
  if (!Stream.ReadExact(Magic, 4) || std::string(Magic, 4) != "VXAR" || !Stream.ReadU8(Flags) || !Stream.ReadU8(W) ||
      !Stream.ReadU8(H)) {
    MakeEmpty();
    SpaceSpace = 0;  // the glyph width was never read
    return;
  }
  std::vector<uint8_t> Presence(32, 0xFF);
  if (Flags & 0x02) Stream.ReadExact(Presence.data(), Presence.size());
  const bool Descender = Flags & 0x01;
  Height = H + (Descender ? 1 : 0);
  std::vector<int> Codes;
  for (int C = 0; C < 256; ++C)
    if (HasBit(Presence, 0, C)) Codes.push_back(C);

  const int PageW = static_cast<int>(Codes.size()) * W;
  std::vector<uint8_t> Page(static_cast<size_t>(PageW) * static_cast<size_t>(Height), 0);
  const int RowBytes = (W + 7) / 8;
  std::vector<uint8_t> Row(static_cast<size_t>(RowBytes));
  for (size_t K = 0; K < Codes.size(); ++K) {
    const int C = Codes[K];
    SetGlyph(C, static_cast<int>(K) * W, 0, static_cast<int>(K + 1) * W - 1, Height - 1);
    const int Drop = Descender && (C == 'g' || C == 'q' || C == 'y') ? 1 : 0;
    for (int R = 0; R < H; ++R) {
      // A file cut short leaves the rest of its glyphs blank.
      if (!Stream.ReadExact(Row.data(), Row.size())) std::fill(Row.begin(), Row.end(), 0);
      uint8_t Bits = 0;
      for (int X = 0; X < W; ++X) {
        if (X % 8 == 0) {
          Bits = Row[static_cast<size_t>(X / 8)];
          if (X == 0 && W % 8 != 0) Bits = static_cast<uint8_t>(Bits << (8 - W % 8));
        }
        if (Bits & 0x80)
          Page[static_cast<size_t>(R + Drop) * static_cast<size_t>(PageW) + static_cast<size_t>(K) * W +
               static_cast<size_t>(X)] = 255;
        Bits = static_cast<uint8_t>(Bits << 1);
      }
    }
  }
  Source.Clear();
  Source.WriteU16(static_cast<uint16_t>(PageW));
  Source.WriteU16(static_cast<uint16_t>(Height));
  Source.WriteExact(Page.data(), Page.size());
  Source.Seek(0);
  SetColor(255, 255, 255);
  LetterSpace = 0;
  SpaceSpace = W;
}

// --- TGA ---------------------------------------------------------------

TTGAFont::TTGAFont(const std::string& File) {
  FileName = VXToolbox::CompleteExtension(File, "tga");
  if (TVXStreamPtr S = TryOpen(FileName)) Read(*S);
  else MakeEmpty();
}

TTGAFont::TTGAFont(TVXStreamBase& Stream) { Read(Stream); }

void TTGAFont::Read(TVXStreamBase& Stream) {
  TRawPicture Picture;
  if (!Picture.ReadTGAStream(Stream) || Picture.InfoKind != kInfoGlyphs) {
    MakeEmpty();
    return;
  }
  size_t Record = 32;
  for (int C = 0; C < 256; ++C) {
    if (!HasBit(Picture.Info, 0, C)) continue;
    if (Record + 8 > Picture.Info.size()) break;
    auto U16 = [&Picture, Record](size_t At) {
      return Picture.Info[Record + At] | (Picture.Info[Record + At + 1] << 8);
    };
    SetGlyph(C, U16(0), U16(2), U16(4), U16(6));
    Record += 8;
  }
  Image = TImage::CreateFromRawPicture(Picture);
  if (!Image || !Image->HasSurface()) {
    MakeEmpty();
    return;
  }
  // Glyphs reaching past the page would draw whatever lies beside it.
  for (size_t C = 0; C < Glyphs.size(); ++C) {
    const TGlyphRect& G = Glyphs[C];
    if (G.X + G.Width > Image->Width() || G.Y + G.Height > Image->Height()) Glyphs[C] = SizedGlyphs[C] = {};
  }
  Height = Image->Height();
  if (auto Grey = VX_SDL::GrayscaleStream(*Image)) Source = std::move(*Grey);
  Source.Seek(0);
}

// --- LoadFont ----------------------------------------------------------------

std::unique_ptr<TFont> LoadFont(const TIniFile& Ini, const std::string& Section) {
  Log->Status(Section, kLoadHeading);
  const std::string File = Ini.ReadString(Section, "File", "*");
  if (File == "*") {
    Log->Warning("File name not specified!", kLoadHeading);
    return nullptr;
  }
  const std::string TypeText = Ini.ReadString(Section, "Type", "*");
  const std::string Type = VXToolbox::KeywordLookup(TypeText.substr(0, 3), "BMP,1,GSD,2,VXR,3,TGA,4,0", true);
  const TRGB Black{0, 0, 0}, White{255, 255, 255};
  std::unique_ptr<TFont> Font;
  if (Type == "1" || Type == "4") {
    if (Type == "1") Font = std::make_unique<TBMPFont>(File);
    else Font = std::make_unique<TTGAFont>(File);
    const TRGB C = Ini.ReadRGB(Section, "Color", Black);
    if (!(C == Black)) Font->SetColor(C.R, C.G, C.B);
  } else if (Type == "2") {
    const TRGB C = Ini.ReadRGB(Section, "Color", White);
    Font = std::make_unique<TGSDFont>(File, C.R, C.G, C.B);
  } else if (Type == "3") {
    Font = std::make_unique<TVXRFont>(File);
    const TRGB C = Ini.ReadRGB(Section, "Color", White);
    Font->SetColor(C.R, C.G, C.B);
  } else {
    Log->Warning("Unknown font type! (" + TypeText + ")", kLoadHeading);
    Log->Warning("Valid types: BMP, GSD, VXR, TGA", kLoadHeading);
    return nullptr;
  }
  const TRGB NoKey{1, 1, 1};
  const TRGB Key = Ini.ReadRGB(Section, "ColorKey", NoKey);
  if (!(Key == NoKey)) Font->SetColorKey(Key.R, Key.G, Key.B);
  Font->SetSize(Ini.ReadInteger(Section, "Size", 1));
  Font->LetterSpace = Ini.ReadInteger(Section, "LetterSpace", Type == "3" ? Font->LetterSpace : 1);
  Font->SpaceSpace = Ini.ReadInteger(Section, "SpaceSpace", Type == "3" ? Font->SpaceSpace : 10);
  Font->Name = Ini.ReadString(Section, "Name", Section);
  Log->Status("Font successfully loaded.", kLoadHeading);
  return Font;
}
