#pragma once
// Little-endian byte builder for hand-made files and streams.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/memory_stream.h"

// The helpers live in namespace test_support, so that a test's own class of
// the same name never meets them when the program links; their names are
// exported.
namespace test_support {

class TBytes {
 public:
  TBytes& U8(unsigned V);
  TBytes& U16(unsigned V);
  TBytes& U32(uint32_t V);
  TBytes& I32(int32_t V);
  // The characters of S, nothing around them.
  TBytes& Text(const std::string& S);
  // S after its length as a U16.
  TBytes& Str(const std::string& S);
  TBytes& Add(const std::vector<uint8_t>& More);
  TBytes& Fill(size_t N, uint8_t V);

  const std::vector<uint8_t>& Get() const { return FBytes; }
  size_t Size() const { return FBytes.size(); }
  TMemoryStream Stream() const { return TMemoryStream(FBytes); }

 private:
  std::vector<uint8_t> FBytes;
};

}  // namespace test_support

using test_support::TBytes;
