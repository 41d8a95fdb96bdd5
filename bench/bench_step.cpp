// One world step on a busy map: falling and rolling boulders and diamonds,
// rising balloons and a barrel chain going off.
#include <benchmark/benchmark.h>

#include "graphics/image.h"
#include "graphics/image_collection.h"
#include "graphics/sprite.h"
#include "shell/memory_stream.h"
#include "world/map_runner.h"
#include "world/maps.h"

namespace {

const char* kBusyMap[12] = {
    "@$@$@$@$@$@$@$@$@$@$",  //
    "                    ",  //
    "@ $ @ $ @ $ @ $ @ $ ",  //
    "   0    0    0    0 ",  //
    " @@  $$  @@  $$  @@ ",  //
    "                    ",  //
    "#  #  #  #  #  #  # ",  //
    "  @  $  @  $  @  $  ",  //
    "                    ",  //
    "&&&&&&&&&&&&&&&&&&&&",  //
    "*  .  .  .  .  .  . ",  //
    "####################",  //
};

void BM_StepBusyMap(benchmark::State& State) {
  Blocks = std::make_unique<TImageCollection>();
  for (const char* Name : {"#", "%", ".", "$", "@", "&", "0", "*D", "!", "!1", "!2", "<", ">", "<2", ">2"})
    Blocks->AddImage(std::make_unique<TImage>(32, 32), Name);
  Blocks->AddImage(std::make_unique<TImage>(32 * 8, 32), "X");
  TImage Screen(640, 480);
  SetDefaultSpriteTarget(&Screen);

  std::string Text = "MAPT\r\nWI20\r\nHE12\r\n";
  for (const char* Row : kBusyMap) Text += std::string("MP") + Row + "\r\n";
  Text += "XX\r\n";
  TMaps World;
  auto Map = std::make_unique<TXMap>();
  TMemoryStream S(Text.data(), Text.size());
  Map->Load(S);
  World.Maps.push_back(std::move(Map));

  constexpr int kStepsPerStart = 16;
  int64_t Steps = 0;
  for (auto _ : State) {
    State.PauseTiming();
    TMapRun Run;
    StartMapRun(World, Run);
    World.Explode(0, 9);  // sets the barrel row off
    State.ResumeTiming();
    for (int I = 0; I < kStepsPerStart; ++I) World.Step();
    Steps += kStepsPerStart;
  }
  State.SetItemsProcessed(Steps);
  World.FreeSprites();
  SetDefaultSpriteTarget(nullptr);
  Blocks.reset();
}
BENCHMARK(BM_StepBusyMap);

}  // namespace
