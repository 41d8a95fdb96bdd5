#pragma once
// Writes the TGA files the game reads: top-down true colour or greyscale,
// with the image-ID field carrying frame data or a glyph presence set, and
// optional bytes after the pixels (the glyph records of a font page).
#include <cstdint>
#include <string>
#include <vector>

namespace Maker {

// Animation flags of the second ID byte (above the frame count's high bits).
inline constexpr uint8_t kLooping = 0x10;
inline constexpr uint8_t kRandomStart = 0x20;
inline constexpr uint8_t kColorKeyed = 0x40;
inline constexpr uint8_t kStartPaused = 0x80;

// The 2-byte ID of a strip of frames; the count must be 1..4095.
std::vector<uint8_t> FrameId(int FrameCount, uint8_t Flags);

// 24-bit true colour; Bgr holds Width*Height*3 bytes, rows top to bottom.
std::vector<uint8_t> EncodeTgaBgr(int Width, int Height, const std::vector<uint8_t>& Bgr,
                                  const std::vector<uint8_t>& Id = {});
// 8-bit greyscale with bytes after the pixel data.
std::vector<uint8_t> EncodeTgaGrey(int Width, int Height, const std::vector<uint8_t>& Grey,
                                   const std::vector<uint8_t>& Id, const std::vector<uint8_t>& Trailer);

// Writes the bytes, raising std::runtime_error when the file cannot be written.
void SaveBytes(const std::string& Path, const std::vector<uint8_t>& Bytes);

}  // namespace Maker
