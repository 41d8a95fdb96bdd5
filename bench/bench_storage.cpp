// Decoding a 1 MiB member with methods 40, 48 and 46 against plain zlib
// inflation of the same member's zlib stream.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <random>

#include "storage/compressor.h"
#include "storage/zstream.h"

namespace {

// A 24-bit picture: smooth gradients, flat areas and a little noise.
std::vector<uint8_t> PictureMiB() {
  std::mt19937 Random(3);
  std::vector<uint8_t> Data;
  Data.reserve(1 << 20);
  const int Width = 512;
  for (int I = 0; Data.size() < (1u << 20); ++I) {
    const int X = I % Width, Y = I / Width;
    const bool Flat = (X / 64 + Y / 64) % 3 == 0;
    for (int C = 0; C < 3 && Data.size() < (1u << 20); ++C)
      Data.push_back(Flat ? static_cast<uint8_t>(40 * C)
                          : static_cast<uint8_t>((X * (C + 1) + Y * 2 + static_cast<int>(Random() % 4)) & 0xFF));
  }
  return Data;
}

const std::vector<uint8_t>& Member(uint8_t Method) {
  static std::vector<uint8_t> Members[256];
  if (Members[Method].empty()) Members[Method] = TCompressor().Compress(PictureMiB(), Method);
  return Members[Method];
}

void Decode(benchmark::State& State) {
  const uint8_t Method = static_cast<uint8_t>(State.range(0));
  const auto& M = Member(Method);
  TCompressor C;
  for (auto _ : State) benchmark::DoNotOptimize(C.DecompressBytes(M));
  State.SetBytesProcessed(State.iterations() * (1 << 20));
}

// The baseline: zlib's own one-call inflation of the member's zlib stream
// into a buffer of the known size.
void PlainInflate(benchmark::State& State) {
  const uint8_t Method = static_cast<uint8_t>(State.range(0));
  const auto& M = Member(Method);
  std::vector<uint8_t> Out(8 << 20);
  for (auto _ : State) {
    uLongf Size = static_cast<uLongf>(Out.size());
    uncompress(Out.data(), &Size, M.data() + 1, static_cast<uLong>(M.size() - 1));
    benchmark::DoNotOptimize(Out.data());
  }
  State.SetBytesProcessed(State.iterations() * (1 << 20));
}

}  // namespace

BENCHMARK(Decode)->Arg(0x40)->Arg(0x48)->Arg(0x46)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainInflate)->Arg(0x40)->Arg(0x48)->Arg(0x46)->Unit(benchmark::kMicrosecond);
