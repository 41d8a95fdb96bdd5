// The solver's search on a busy shipped map (Deep Shafts 3, "No Way Back":
// twelve diamonds, boulders and one-way tunnels; no search settles it in
// seconds): states expanded per second, each one a packed world unpacked,
// stepped for every key through the game's frames, keyed and packed again.
#include <benchmark/benchmark.h>

#include <ctime>
#include <string>

#include "graphics/image.h"
#include "graphics/image_collection.h"
#include "graphics/sprite.h"
#include "shell/file_stream.h"
#include "shell/memory_stream.h"
#include "solver/solver.h"
#include "world/maps.h"

namespace {

// The shipped map's source, found beside this file.
std::string ShippedMap() {
  std::string Here = __FILE__;
  Here.erase(Here.find_last_of('/') + 1);
  return Here + "../levels/deep_shafts/003.map";
}

// Block images with the animation strips of the shipped data set: numbered
// looks and the exit animate, the rest are still.
void MakeBlocks() {
  Blocks = std::make_unique<TImageCollection>();
  auto Add = [](const std::string& Name, int Frames) {
    Blocks->AddImage(std::make_unique<TImage>(32 * Frames, 32), Name);
  };
  for (const char* Name : {"#", "%", "=", "&1", "01", ".1", "@1", "<", ">", "*U", "*D", "*L", "*R"}) Add(Name, 1);
  for (const char* Name : {"$1", "$2", "<2", ">2", "!", "!2"}) Add(Name, 8);
  Add("!1", 12);
  Add("X", 10);
}

void BM_SolveBusyMap(benchmark::State& State) {
  MakeBlocks();
  TImage Screen(640, 480);
  SetDefaultSpriteTarget(&Screen);
  TMaps Pack;
  auto Map = std::make_unique<TXMap>();
  if (auto In = TFileStream::Open(ShippedMap(), TFileStream::TMode::Read)) {
    const auto Bytes = In->ReadAll();
    TMemoryStream S(Bytes);
    Map->Load(S);
  }
  if (Map->Width != 20) {
    State.SkipWithError("cannot read the shipped map");
    return;
  }
  Pack.Maps.push_back(std::move(Map));
  Pack.VariantCounts = std::string(
      "$\2@\1.\1&\1"
      "0\1",
      10);
  int64_t States = 0;
  double Cpu = 0;
  for (auto _ : State) {
    // Processor time as well: on a shared machine the wall clock also counts
    // the time other programs had the core.
    const std::clock_t Began = std::clock();
    TSolveOptions Options;
    Options.Seconds = 2;  // a fixed slice of a search that does not end sooner
    Options.CheckSeeds = {0};
    const TSolveResult R = SolveMap(Pack, 0, Options);
    Cpu += static_cast<double>(std::clock() - Began) / CLOCKS_PER_SEC;
    States += R.States;
    State.SetIterationTime(R.Seconds);
  }
  State.counters["states_per_second"] = benchmark::Counter(static_cast<double>(States), benchmark::Counter::kIsRate);
  State.counters["states_per_cpu_second"] = Cpu > 0 ? static_cast<double>(States) / Cpu : 0;
  SetDefaultSpriteTarget(nullptr);
  Blocks.reset();
}
BENCHMARK(BM_SolveBusyMap)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
