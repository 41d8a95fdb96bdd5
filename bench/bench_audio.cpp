// Mixing cost: one second of eight sample channels (resampled, panned) plus
// one module, as a fraction of real time on one core.
#include <benchmark/benchmark.h>

#include <vector>

#include "audio/sound_system.h"
#include "audio/wav_file.h"
#include "shell/memory_stream.h"
#include "tests/audio/test_sounds.h"

namespace {

void BM_MixEightSamplesAndAModule(benchmark::State& State) {
  using namespace TestSounds;
  TSoundSystem System;
  System.Start(kNoOutputDevice, 0);
  TMemoryStream Wave;
  const auto Tone = Sine(440, 2.0, 22050);
  WriteWav(Wave, Tone.data(), Tone.size() / 2, 2, 22050);
  TSoundLocation Where{true, Wave.Data().data(), "", 0, Wave.Size()};
  const TSoundHandle Sample = System.LoadSample(Where, 8, SoundFlags::Loop | SoundFlags::TakeOverOldest);
  for (int I = 0; I < 8; ++I) {
    const TSoundHandle C = System.SampleChannel(Sample, false);
    System.SetAttribute(C, TSoundAttribute::Frequency, 18000.0f + 2000.0f * I);
    System.SetAttribute(C, TSoundAttribute::Pan, -0.8f + 0.2f * I);
    System.SetAttribute(C, TSoundAttribute::Volume, 0.3f);
    System.Play(C, false);
  }
  TXmOptions Options;
  Options.Busy = true;
  Options.Speed = 3;
  const auto Song = Xm(Options);
  TSoundLocation SongWhere{true, Song.data(), "", 0, static_cast<int64_t>(Song.size())};
  const TSoundHandle Module = System.LoadModule(SongWhere, SoundFlags::Loop, 0);
  System.Play(Module, true);
  if (!Sample || !Module) State.SkipWithError("test sounds did not load");

  std::vector<int16_t> Out(2 * 1024);
  for (auto _ : State) {
    // One second in device-sized blocks.
    for (int Block = 0; Block < TSoundSystem::kRate / 1024 + 1; ++Block) System.Render(Out.data(), 1024);
    benchmark::DoNotOptimize(Out.data());
  }
  // Seconds of work per second of sound.
  State.counters["realtime_fraction"] = benchmark::Counter(static_cast<double>(State.iterations()),
                                                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_MixEightSamplesAndAModule)->Unit(benchmark::kMillisecond);
