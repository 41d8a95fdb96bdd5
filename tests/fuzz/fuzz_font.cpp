// The font readers on arbitrary bytes: VXR files and TGA pages with glyph
// tables, then measuring and drawing every character.
#include <cstdint>
#include <cstdio>
#include <string>

#include "graphics/font.h"
#include "graphics/image.h"
#include "graphics/picture_palette.h"
#include "shell/memory_stream.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The TGA reader reports on standard output.
  if (!std::freopen("/dev/null", "w", stdout)) return 0;
  StartFastPalette();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1) return 0;
  TMemoryStream Stream(Data + 1, Size - 1);
  std::unique_ptr<TFont> Font;
  if (Data[0] & 1) Font = std::make_unique<TVXRFont>(Stream);
  else Font = std::make_unique<TTGAFont>(Stream);
  std::string All;
  for (int C = 1; C < 256; ++C) All += static_cast<char>(C);
  TImage Target(64, 32);
  Font->DrawTextOn(Target, All, -5, 3, Data[0] % 3);
  Font->SetSize(1 + (Data[0] >> 4) % 3);
  Font->SetColorKey(0, 0, 0);
  Font->DrawTextOn(Target, All, 10, -2, 0);
  return Font->TextWidth(All) == 0x7FFFFFFF;
}
