// Every picture reader on arbitrary bytes, optionally followed by a short
// transformation string. Input: selector byte, command length byte (mod 5),
// the commands, then the picture bytes.
#include <cstdint>
#include <cstdio>
#include <string>

#include "graphics/picture_palette.h"
#include "graphics/raw_picture.h"
#include "shell/memory_stream.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The TGA and TXF readers report on standard output.
  if (!std::freopen("/dev/null", "w", stdout)) return 0;
  StartFastPalette();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 2) return 0;
  const uint8_t Selector = Data[0];
  const size_t CommandLength = Data[1] % 5;
  if (Size < 2 + CommandLength) return 0;
  const std::string Commands(reinterpret_cast<const char*>(Data + 2), CommandLength);
  TMemoryStream Stream(Data + 2 + CommandLength, Size - 2 - CommandLength);
  TRawPicture Pic;
  const bool LoadPalette = (Selector & 0x10) != 0;
  switch (Selector % 9) {
    case 0: Pic.ReadTGAStream(Stream, LoadPalette); break;
    case 1: Pic.ReadBMPStream(Stream, LoadPalette); break;
    case 2: Pic.ReadCELStream(Stream, LoadPalette); break;
    case 3: Pic.ReadMIStream(Stream); break;
    case 4: Pic.ReadKEPStream(Stream); break;
    case 5: Pic.ReadK16Stream(Stream); break;
    case 6: Pic.ReadGSDStream(Stream); break;
    case 7: Pic.ReadBMFStream(Stream); break;
    case 8: Pic.ReadTXFStream(Stream); break;
  }
  if (!Pic.Data.empty() && Pic.Data.size() != static_cast<size_t>(Pic.Width) * Pic.Height * 3) __builtin_trap();
  if (!Commands.empty()) {
    Pic.MultiTransform(Commands);
    if (!Pic.Data.empty() && Pic.Data.size() != static_cast<size_t>(Pic.Width) * Pic.Height * 3) __builtin_trap();
  }
  return 0;
}
