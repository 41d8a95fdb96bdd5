#include "graphics/raw_picture.h"

#include "graphics/picture_input.h"
#include "shell/logger.h"
#include "shell/toolbox.h"
#include "storage/stream_opener.h"

namespace {

const char* const kFileHeading = "RawPictureUnit, TRawPicture.ReadFile";

// Completes the name, opens it through the stream opener and hands the
// stream to Read; a missing resource is a warning, never an exception.
template <class TRead>
bool ReadNamed(const std::string& Name, const char* Extension, const char* Reader, TRead Read) {
  const std::string FullName = VXToolbox::CompleteExtension(Name, Extension);
  TVXStreamPtr Stream;
  try {
    if (StreamOpener) Stream = StreamOpener->OpenStream(FullName);
  } catch (const EOpenStream&) {}
  if (!Stream) {
    Log->Warning("File not found: " + FullName, std::string("RawPictureUnit, TRawPicture.") + Reader);
    return false;
  }
  return Read(*Stream);
}

}  // namespace

TRawPicture::TRawPicture(int32_t AWidth, int32_t AHeight) { SetSize(AWidth, AHeight); }

uint8_t TRawPicture::InfoByte(int Position) const {
  if (Position < 0 || static_cast<size_t>(Position) >= Info.size()) return 0;
  return Info[static_cast<size_t>(Position)];
}

int TRawPicture::FrameCount() const {
  if (InfoKind != kInfoAnimation && InfoKind != kInfoAnimationLong) return 0;
  return InfoByte(0) + (InfoByte(1) & 0x0F) * 256;
}

bool TRawPicture::SetSize(int32_t AWidth, int32_t AHeight) {
  Data.clear();
  Data.shrink_to_fit();
  if (AWidth < 0 || AHeight < 0 || AWidth > kMaxSide || AHeight > kMaxSide ||
      static_cast<int64_t>(AWidth) * AHeight * 3 > kMaxDataBytes) {
    Width = Height = 0;
    return false;
  }
  Width = AWidth;
  Height = AHeight;
  Data.assign(static_cast<size_t>(Width) * static_cast<size_t>(Height) * 3, 0);
  return true;
}

void TRawPicture::Clear() {
  Width = Height = 0;
  Data.clear();
  Data.shrink_to_fit();
  InfoKind = kInfoNone;
  Info.clear();
}

void TRawPicture::SetInfo(const std::vector<uint8_t>& Bytes) {
  Info = Bytes;
  switch (Bytes.size()) {
    case 0: InfoKind = kInfoNone; break;
    case 2: InfoKind = kInfoAnimation; break;
    case 16: InfoKind = kInfoAnimationLong; break;
    case 32: InfoKind = kInfoGlyphs; break;
    default: InfoKind = kInfoOther; break;
  }
}

bool TRawPicture::ReadFile(const std::string& FileName) {
  std::string Name = FileName;
  if (Name.size() > 3 && VXToolbox::UpperCase(Name.substr(Name.size() - 3)) == ".ZL") Name.resize(Name.size() - 3);
  const size_t Dot = Name.rfind('.');
  const std::string Extension = Dot == std::string::npos ? "" : VXToolbox::UpperCase(Name.substr(Dot + 1));
  const std::string Kind =
      VXToolbox::KeywordLookup(Extension, "BMP,0,CEL,1,MI,2,TGA,3,KEP,4,K16,5,MATOR,6,GSD,7,X", true);
  if (Kind == "0") return ReadBMP(FileName);
  if (Kind == "1") return ReadCEL(FileName);
  if (Kind == "2") return ReadMI(FileName);
  if (Kind == "3") return ReadTGA(FileName);
  if (Kind == "4") return ReadKEP(FileName);
  if (Kind == "5") return ReadK16(FileName);
  if (Kind == "7") return ReadGSD(FileName);
  Log->Error("Unknown file extension! (" + Extension + ")", kFileHeading);
  return false;
}

bool TRawPicture::ReadBMP(const std::string& Name, bool LoadPalette) {
  return ReadNamed(Name, "bmp", "ReadBMP", [&](TVXStreamBase& S) { return ReadBMPStream(S, LoadPalette); });
}
bool TRawPicture::ReadCEL(const std::string& Name, bool LoadPalette) {
  return ReadNamed(Name, "cel", "ReadCEL", [&](TVXStreamBase& S) { return ReadCELStream(S, LoadPalette); });
}
bool TRawPicture::ReadMI(const std::string& Name) {
  return ReadNamed(Name, "mi", "ReadMI", [&](TVXStreamBase& S) { return ReadMIStream(S); });
}
bool TRawPicture::ReadTGA(const std::string& Name, bool LoadPalette) {
  return ReadNamed(Name, "tga", "ReadTGA", [&](TVXStreamBase& S) { return ReadTGAStream(S, LoadPalette); });
}
bool TRawPicture::ReadKEP(const std::string& Name) {
  return ReadNamed(Name, "kep", "ReadKEP", [&](TVXStreamBase& S) { return ReadKEPStream(S); });
}
bool TRawPicture::ReadK16(const std::string& Name) {
  return ReadNamed(Name, "k16", "ReadK16", [&](TVXStreamBase& S) { return ReadK16Stream(S); });
}
bool TRawPicture::ReadGSD(const std::string& Name) {
  return ReadNamed(Name, "gsd", "ReadGSD", [&](TVXStreamBase& S) { return ReadGSDStream(S); });
}
bool TRawPicture::ReadBMF(const std::string& Name) {
  return ReadNamed(Name, "bmf", "ReadBMF", [&](TVXStreamBase& S) { return ReadBMFStream(S); });
}
bool TRawPicture::ReadTXF(const std::string& Name) {
  return ReadNamed(Name, "txf", "ReadTXF", [&](TVXStreamBase& S) { return ReadTXFStream(S); });
}
