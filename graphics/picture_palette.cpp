#include "graphics/picture_palette.h"

#include <algorithm>
#include <cstring>

std::unique_ptr<TFastPalette> SharedPalette;

void TFastPalette::Load(const uint8_t* Source, int Count) {
  Count = std::clamp(Count, 0, kEntries);
  std::memcpy(Entries.data(), Source, static_cast<size_t>(Count) * 3);
}

void StartFastPalette() { SharedPalette = std::make_unique<TFastPalette>(); }
void StopFastPalette() { SharedPalette.reset(); }
