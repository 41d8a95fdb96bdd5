// Decoding a 640x480 24-bit run-length TGA, as the game's title art is
// stored, in both row orders; and the transformations on a picture that size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "graphics/raw_picture.h"
#include "shell/memory_stream.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;

// Art-like content: horizontal stretches of flat colour broken by noisy
// stretches, so both packet kinds occur. Packets end at row ends.
std::vector<uint8_t> MakeRunLengthTga(bool TopDown) {
  std::vector<uint8_t> Out = {0,
                              0,
                              10,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              kWidth & 0xFF,
                              kWidth >> 8,
                              kHeight & 0xFF,
                              kHeight >> 8,
                              24,
                              static_cast<uint8_t>(TopDown ? 0x20 : 0)};
  uint32_t Seed = 12345;
  auto Next = [&Seed]() {
    Seed = Seed * 1103515245u + 12345u;
    return Seed >> 8;
  };
  for (int Y = 0; Y < kHeight; ++Y) {
    int X = 0;
    while (X < kWidth) {
      const int Count = std::min<int>(1 + static_cast<int>(Next() % 128), kWidth - X);
      const uint32_t C = Next();
      if (Next() % 3 != 0) {
        Out.push_back(static_cast<uint8_t>(0x80 | (Count - 1)));
        Out.insert(Out.end(), {static_cast<uint8_t>(C), static_cast<uint8_t>(C >> 8), static_cast<uint8_t>(C >> 16)});
      } else {
        Out.push_back(static_cast<uint8_t>(Count - 1));
        for (int I = 0; I < Count; ++I) {
          const uint32_t N = Next();
          Out.insert(Out.end(), {static_cast<uint8_t>(N), static_cast<uint8_t>(N >> 8), static_cast<uint8_t>(N >> 16)});
        }
      }
      X += Count;
    }
  }
  return Out;
}

void BM_DecodeRunLengthTga(benchmark::State& State) {
  TMemoryStream Stream(MakeRunLengthTga(State.range(0) != 0));
  TRawPicture Pic;
  for (auto _ : State) {
    Stream.Seek(0);
    Pic.ReadTGAStream(Stream);
    benchmark::DoNotOptimize(Pic.Data.data());
  }
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * Stream.Size());
}
BENCHMARK(BM_DecodeRunLengthTga)->Arg(0)->Arg(1)->ArgName("topdown")->Unit(benchmark::kMicrosecond);

void BM_Transform(benchmark::State& State, const char* Commands) {
  TMemoryStream Stream(MakeRunLengthTga(true));
  TRawPicture Source;
  Source.ReadTGAStream(Stream);
  for (auto _ : State) {
    TRawPicture Pic = Source;
    Pic.MultiTransform(Commands);
    benchmark::DoNotOptimize(Pic.Data.data());
  }
}
BENCHMARK_CAPTURE(BM_Transform, mirror, "H")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Transform, rotate, "R")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Transform, double, "D")->Unit(benchmark::kMicrosecond);

}  // namespace
