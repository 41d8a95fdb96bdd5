#pragma once
// The process-wide 256-entry palette: readers asked to load a palette copy
// their file's colours into it (blue, green, red per entry), and the KEP
// reader looks its pixels up in it.
#include <array>
#include <cstdint>
#include <memory>

class TFastPalette {
 public:
  static constexpr const char* kVersion = "FastPaletteUnit, version 1.02";
  static constexpr int kEntries = 256;

  // Copies up to Count entries of 3 bytes (blue, green, red) from Source,
  // starting at entry 0; the rest keep their colours.
  void Load(const uint8_t* Source, int Count);
  const uint8_t* Entry(int Index) const { return &Entries[static_cast<size_t>(Index & 0xFF) * 3]; }

  std::array<uint8_t, kEntries * 3> Entries{};
};

// The module singleton.
extern std::unique_ptr<TFastPalette> SharedPalette;

void StartFastPalette();
void StopFastPalette();
