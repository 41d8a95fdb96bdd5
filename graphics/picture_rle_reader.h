#pragma once
// Run-length packet decoding of TGA pixel data: a packet byte p; with bit 7
// set, one pixel repeated (p & 0x7F) + 1 times, else p + 1 literal pixels.
// Pixels are written in file order; packets may run across row ends. A packet
// that would pass the end of the buffer is cut there and ends decoding.
#include <cstdint>
#include <cstring>

#include "graphics/picture_input.h"

class TFastRleReader {
 public:
  static constexpr const char* kVersion = "RawPictureReaderFASTUnit, version 1.12";

  // 3-byte pixels copied as stored; returns the pixels written.
  static int64_t Decode24(TPictureInput& In, uint8_t* Out, int64_t Pixels);

  // PixelBytes-sized file pixels turned into 3 output bytes by
  // Convert(const uint8_t* FilePixel, uint8_t* Out); returns the pixels written.
  template <class TConvert>
  static int64_t Decode(TPictureInput& In, uint8_t* Out, int64_t Pixels, int PixelBytes, TConvert Convert) {
    int64_t Done = 0;
    uint8_t Px[4];
    while (Done < Pixels) {
      uint8_t P;
      if (!In.ReadU8(P)) break;
      int64_t Count = (P & 0x7F) + 1;
      if (Count > Pixels - Done) Count = Pixels - Done;
      if (P & 0x80) {
        if (!In.ReadExact(Px, static_cast<size_t>(PixelBytes))) break;
        uint8_t C[3];
        Convert(Px, C);
        for (int64_t I = 0; I < Count; ++I, ++Done) std::memcpy(Out + Done * 3, C, 3);
      } else {
        for (int64_t I = 0; I < Count; ++I, ++Done) {
          if (!In.ReadExact(Px, static_cast<size_t>(PixelBytes))) return Done;
          Convert(Px, Out + Done * 3);
        }
      }
    }
    return Done;
  }
};
