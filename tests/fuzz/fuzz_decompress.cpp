// Decodes arbitrary member data through every stage the method byte selects.
#include <cstdint>
#include <span>

#include "storage/compressor.h"
#include "storage/huffman.h"
#include "storage/rle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::span<const uint8_t> Input(Data, Size);
  TCompressor Compressor;
  try {
    Compressor.DecompressBytes(Input);
  } catch (const EDecompress&) {}
  // The stages on their own, without the zlib stage in front.
  try {
    DecodeRLEBytes(Input);
  } catch (const EDecompress&) {}
  try {
    THuffman().Decode(Input);
  } catch (const EDecompress&) {}
  return 0;
}
