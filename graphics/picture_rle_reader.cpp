#include "graphics/picture_rle_reader.h"

int64_t TFastRleReader::Decode24(TPictureInput& In, uint8_t* Out, int64_t Pixels) {
  int64_t Done = 0;
  while (Done < Pixels) {
    uint8_t P;
    if (!In.ReadU8(P)) break;
    int64_t Count = (P & 0x7F) + 1;
    if (Count > Pixels - Done) Count = Pixels - Done;
    uint8_t* Dest = Out + Done * 3;
    if (P & 0x80) {
      uint8_t C[3];
      if (!In.ReadExact(C, 3)) break;
      for (int64_t I = 0; I < Count; ++I, Dest += 3) {
        Dest[0] = C[0];
        Dest[1] = C[1];
        Dest[2] = C[2];
      }
      Done += Count;
    } else {
      // Literal pixels land in place in one block read.
      const size_t Got = In.Read(Dest, static_cast<size_t>(Count) * 3);
      Done += static_cast<int64_t>(Got / 3);
      if (Got != static_cast<size_t>(Count) * 3) {
        // A partial pixel at the end of the stream stays black.
        std::memset(Dest + (Got / 3) * 3, 0, Got % 3);
        break;
      }
    }
  }
  return Done;
}
