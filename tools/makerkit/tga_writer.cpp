#include "tools/makerkit/tga_writer.h"

#include <fstream>
#include <stdexcept>

namespace Maker {
namespace {

void Put16(std::vector<uint8_t>& Out, int Value) {
  Out.push_back(static_cast<uint8_t>(Value & 0xFF));
  Out.push_back(static_cast<uint8_t>((Value >> 8) & 0xFF));
}

std::vector<uint8_t> Header(int Width, int Height, const std::vector<uint8_t>& Id, uint8_t ImageType, uint8_t Depth) {
  if (Width <= 0 || Height <= 0 || Width > 0xFFFF || Height > 0xFFFF)
    throw std::invalid_argument("TGA size out of range");
  if (Id.size() > 255) throw std::invalid_argument("TGA image ID longer than 255 bytes");
  std::vector<uint8_t> Out;
  Out.push_back(static_cast<uint8_t>(Id.size()));
  Out.push_back(0);  // no colour map
  Out.push_back(ImageType);
  Put16(Out, 0);
  Put16(Out, 0);
  Out.push_back(0);
  Put16(Out, 0);
  Put16(Out, 0);
  Put16(Out, Width);
  Put16(Out, Height);
  Out.push_back(Depth);
  Out.push_back(0x20);  // rows top to bottom
  Out.insert(Out.end(), Id.begin(), Id.end());
  return Out;
}

}  // namespace

std::vector<uint8_t> FrameId(int FrameCount, uint8_t Flags) {
  if (FrameCount < 1 || FrameCount > 4095) throw std::invalid_argument("frame count out of range");
  return {static_cast<uint8_t>(FrameCount & 0xFF), static_cast<uint8_t>(((FrameCount >> 8) & 0x0F) | (Flags & 0xF0))};
}

std::vector<uint8_t> EncodeTgaBgr(int Width, int Height, const std::vector<uint8_t>& Bgr,
                                  const std::vector<uint8_t>& Id) {
  std::vector<uint8_t> Out = Header(Width, Height, Id, 2, 24);
  if (Bgr.size() != static_cast<size_t>(Width) * Height * 3)
    throw std::invalid_argument("pixel buffer does not match the TGA size");
  Out.insert(Out.end(), Bgr.begin(), Bgr.end());
  return Out;
}

std::vector<uint8_t> EncodeTgaGrey(int Width, int Height, const std::vector<uint8_t>& Grey,
                                   const std::vector<uint8_t>& Id, const std::vector<uint8_t>& Trailer) {
  std::vector<uint8_t> Out = Header(Width, Height, Id, 3, 8);
  if (Grey.size() != static_cast<size_t>(Width) * Height)
    throw std::invalid_argument("pixel buffer does not match the TGA size");
  Out.insert(Out.end(), Grey.begin(), Grey.end());
  Out.insert(Out.end(), Trailer.begin(), Trailer.end());
  return Out;
}

void SaveBytes(const std::string& Path, const std::vector<uint8_t>& Bytes) {
  std::ofstream File(Path, std::ios::binary | std::ios::trunc);
  File.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
  if (!File) throw std::runtime_error("cannot write " + Path);
}

}  // namespace Maker
