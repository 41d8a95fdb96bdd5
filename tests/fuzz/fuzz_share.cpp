// Share codes from arbitrary input: as text, and as the contents inside a
// code whose compression and check are made right (so that the search gets
// past the checksum into the reader). Whatever reads encodes again and
// reads back the same.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "world/share_code.h"

namespace {

std::string Base64(const std::vector<uint8_t>& Bytes) {
  static const char* const Digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  std::string Text;
  uint32_t Bits = 0;
  int Held = 0;
  for (uint8_t B : Bytes) {
    Bits = (Bits << 8) | B;
    for (Held += 8; Held >= 6;) Text += Digits[(Bits >> (Held -= 6)) & 63];
  }
  if (Held > 0) Text += Digits[(Bits << (6 - Held)) & 63];
  return Text;
}

// A code holding Contents, as the encoder would make it.
std::string CodeOf(const uint8_t* Contents, size_t Size) {
  z_stream Z{};
  if (deflateInit2(&Z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) return "";
  std::vector<uint8_t> Bytes(deflateBound(&Z, static_cast<uLong>(Size)));
  Z.next_in = const_cast<Bytef*>(Contents);
  Z.avail_in = static_cast<uInt>(Size);
  Z.next_out = Bytes.data();
  Z.avail_out = static_cast<uInt>(Bytes.size());
  deflate(&Z, Z_FINISH);
  Bytes.resize(Z.total_out);
  deflateEnd(&Z);
  const Bytef Version = static_cast<Bytef>(kShareCodeVersion);
  uLong Crc = crc32(crc32(0L, Z_NULL, 0), &Version, 1);
  Crc = crc32(Crc, Bytes.data(), static_cast<uInt>(Bytes.size()));
  for (int I = 0; I < 4; ++I) Bytes.push_back(static_cast<uint8_t>(Crc >> (8 * I)));
  return kShareCodeVersion + Base64(Bytes);
}

void Check(const std::string& Text) {
  TShareCode Code;
  std::string Error;
  if (!DecodeShareCode(Text, Code, Error)) {
    if (Error.empty()) __builtin_trap();
    return;
  }
  const std::string Again = EncodeShareCode(Code, Error);
  TShareCode Back;
  if (Again.empty() || !DecodeShareCode(Again, Back, Error)) __builtin_trap();
  if (Back.Kind != Code.Kind || Back.Keys != Code.Keys || Back.Player != Code.Player ||
      Back.Map.Tiles != Code.Map.Tiles || Back.Map.MapName != Code.Map.MapName || Back.Map.Author != Code.Map.Author ||
      Back.Map.Width != Code.Map.Width)
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  Check(std::string(reinterpret_cast<const char*>(Data), Size));
  Check(CodeOf(Data, Size));
  return 0;
}
