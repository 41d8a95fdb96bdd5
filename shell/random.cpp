#include "shell/random.h"

#include <random>

namespace VXRandom {
namespace {
std::mt19937& Generator() {
  static std::mt19937 G(0x5EED1732u);
  return G;
}
}  // namespace

void Seed(uint32_t Value) { Generator().seed(Value); }

int32_t Next(int32_t Range) {
  if (Range <= 0) return 0;
  // Plain modulo of a 32-bit draw: the bias is far below anything a map shows,
  // and unlike std::uniform_int_distribution it gives the same sequence everywhere.
  return static_cast<int32_t>(Generator()() % static_cast<uint32_t>(Range));
}

}  // namespace VXRandom
