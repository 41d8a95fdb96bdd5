#pragma once
// Member data of a "COMP" chunk: a method byte, then up to three stages.
//   bit 6     zlib (set) or stored with a 4-byte value ahead of the payload
//   bits 3-5  0 none, 1 run-length, 2 Huffman then run-length, 4 Huffman;
//             3, 5, 6, 7 decode to nothing
//   bits 0-2  0 none, 1/2 de-interleave step 2/3, 3 delta, 4 move-to-front,
//             5/6 delta then de-interleave step 2/3, 7 move-to-front then delta
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "shell/stream.h"
#include "storage/codec_errors.h"
#include "storage/huffman.h"

class TCompressor {
 public:
  static constexpr const char* kVersion = "CompressorUnit, version 1.21a";

  // Decodes the whole member data (read from its start) into a new memory
  // stream at position 0. Raises EDecompress on damaged data.
  TVXStreamPtr Decompress(TVXStreamBase& Data);
  std::vector<uint8_t> DecompressBytes(std::span<const uint8_t> Data, int64_t Limit = kMaxDecodedSize);

  // Member data that decodes to Data under Method. Raises EEncode for a
  // method whose second stage decodes to nothing (unless Data is empty).
  std::vector<uint8_t> Compress(std::span<const uint8_t> Data, uint8_t Method);

  static bool MethodDecodes(uint8_t Method);

 private:
  THuffman FHuffman;
};

// The module singleton, shared by every archive.
extern std::unique_ptr<TCompressor> Compressor;

void StartCompressor();
void StopCompressor();
