#pragma once
// The Huffman stage: blocks of up to 65535 symbols, each with its own code
// tree sent in pre-order ahead of the codes.
#include <cstdint>
#include <span>
#include <vector>

#include "shell/stream.h"
#include "storage/codec_errors.h"

class THuffman {
 public:
  static constexpr const char* kVersion = "HuffmanUnit, version 1.03a";
  // Node 512 is the empty child marker, so a tree holds at most 512 nodes.
  static constexpr int kMaxNodes = 512;

  // Decodes from Input's position into Output. Raises EDecompress on a tree
  // of more than 512 nodes, codes that run past the input, or the size cap.
  void HuffmanDecode(TVXStreamBase& Input, TVXStreamBase& Output);
  std::vector<uint8_t> Decode(std::span<const uint8_t> Input, int64_t Limit = kMaxDecodedSize);
  std::vector<uint8_t> Encode(std::span<const uint8_t> Data);
};
