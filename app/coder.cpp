#include "app/coder.h"

#include "shell/toolbox.h"

std::unique_ptr<TCoder1732> Coder;

void StartCoder() { Coder = std::make_unique<TCoder1732>(); }
void StopCoder() { Coder.reset(); }

namespace {
// Bit k of the result (1..15) combines bits 2k-1 and 2k of the code; how
// depends on k mod 3.
enum class TJoin { And, Or, Xor };
TJoin JoinOf(int K) { return K % 3 == 0 ? TJoin::And : K % 3 == 1 ? TJoin::Or : TJoin::Xor; }
}  // namespace

int32_t TCoder1732::Decode(const std::string& Text) const {
  if (Text.size() != 8) return -1;
  const uint32_t V = static_cast<uint32_t>(VXToolbox::HexToInt(Text));
  auto Bit = [V](int K) { return (V >> K) & 1u; };
  uint32_t A = Bit(31);
  for (int I = 15; I >= 1; --I) {
    const uint32_t L = Bit(2 * I - 1), H = Bit(2 * I);
    uint32_t F = 0;
    switch (JoinOf(I)) {
      case TJoin::And: F = L & H; break;
      case TJoin::Or: F = L | H; break;
      case TJoin::Xor: F = L ^ H; break;
    }
    A = 2 * A + F;
  }
  return static_cast<int32_t>(2 * A + Bit(0));
}

std::string TCoder1732::Encode(uint32_t Value) const {
  uint32_t V = 0;
  V |= ((Value >> 16) & 1u) << 31;
  V |= Value & 1u;
  for (int K = 1; K <= 15; ++K) {
    const uint32_t B = (Value >> K) & 1u;
    // AND and OR of two equal bits give that bit; XOR of (B, 0) gives B.
    V |= B << (2 * K - 1);
    if (JoinOf(K) != TJoin::Xor) V |= B << (2 * K);
  }
  static const char* kHex = "0123456789ABCDEF";
  std::string Out(8, '0');
  for (int I = 7; I >= 0; --I, V >>= 4) Out[static_cast<size_t>(I)] = kHex[V & 15u];
  return Out;
}

int32_t TCoder1732::MapIndex(int32_t Decoded) {
  if (Decoded < 0 || (static_cast<uint32_t>(Decoded) >> 10) != kTag) return -1;
  return Decoded & kMaxMap;
}
