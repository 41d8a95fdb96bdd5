#include "shell/random.h"

#include <random>

namespace VXRandom {
namespace {
// One generator per thread: a search on a worker thread seeds its own and
// leaves alone the one whose draws give the game's worlds their looks.
std::mt19937& Generator() {
  thread_local std::mt19937 G(0x5EED1732u);
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
