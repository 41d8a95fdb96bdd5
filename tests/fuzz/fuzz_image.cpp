// Image loading by name: arbitrary picture bytes under a name with frame
// cuts and a transformation string. Input: extension selector byte, suffix
// length byte, the suffix (mapped onto the characters that mean something in
// a name), then the file bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "graphics/image.h"
#include "graphics/mask.h"
#include "graphics/picture_palette.h"
#include "storage/stream_opener.h"

namespace {
std::string Folder;

void Check(const TImage& Image) {
  if (!Image.HasSurface()) return;
  if (Image.Width() <= 0 || Image.Height() <= 0) __builtin_trap();
  if (Image.Animated && Image.FrameCount <= 0) __builtin_trap();
  // Reads through every pixel, keyed surfaces included.
  TMask Mask(Image, 1);
  if (Mask.Data.size() != static_cast<size_t>(Image.Width()) * Image.Height()) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The TGA reader reports on standard output.
  if (!std::freopen("/dev/null", "w", stdout)) return 0;
  StartFastPalette();
  Folder = (std::filesystem::temp_directory_path() / ("fuzz_image_" + std::to_string(getpid()))).string();
  std::filesystem::create_directories(Folder);
  StreamOpener = std::make_unique<TVXStreamOpener>(Folder + "/");
  // Every run writes the same file name anew.
  StreamOpener->CacheEnabled = false;
  SetImageDepth(32);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const char* const Extensions[] = {"tga", "bmp", "cel", "mi", "kep", "k16", "gsd", "tga.zl", "xyz"};
  static const std::string Alphabet = "[]0123456789..::HVIRrDDHH -x";
  if (Size < 2) return 0;
  const std::string Extension = Extensions[Data[0] % 9];
  const size_t SuffixLength = Data[1] % 24;
  if (Size < 2 + SuffixLength) return 0;
  std::string Suffix;
  int Doubles = 0;
  for (size_t I = 0; I < SuffixLength; ++I) {
    char C = Alphabet[Data[2 + I] % Alphabet.size()];
    // Each D quadruples the picture; two keep the runs quick.
    if (C == 'D' && ++Doubles > 2) C = 'H';
    Suffix += C;
  }
  const std::string File = Folder + "/f." + Extension;
  {
    std::ofstream Out(File, std::ios::binary | std::ios::trunc);
    Out.write(reinterpret_cast<const char*>(Data + 2 + SuffixLength),
              static_cast<std::streamsize>(Size - 2 - SuffixLength));
  }
  TImage Image(File + Suffix);
  Check(Image);
  return 0;
}
