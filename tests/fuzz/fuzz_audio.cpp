// Loads arbitrary bytes as a sample (WAV or MP3), an MP3 stream and a
// module, and plays whatever loads for a moment.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/sound_system.h"
#include "audio/wav_file.h"
#include "shell/memory_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const std::unique_ptr<TSoundSystem> System = [] {
    auto S = std::make_unique<TSoundSystem>();
    S->Start(kNoOutputDevice, 0);
    return S;
  }();
  if (Size == 0) return 0;
  TSoundLocation Where;
  Where.FromMemory = true;
  Where.Memory = Data;
  Where.Length = static_cast<int64_t>(Size);
  std::vector<int16_t> Out(2 * 2048);

  const TSoundHandle Sample = System->LoadSample(Where, 2, SoundFlags::TakeOverOldest);
  if (Sample) {
    System->Play(System->SampleChannel(Sample, false), false);
    TSampleInfo Info;
    System->GetSampleInfo(Sample, Info);
    Info.Frequency = 96000;
    System->SetSampleInfo(Sample, Info);
    System->Play(System->SampleChannel(Sample, false), false);
  }
  const TSoundHandle Stream = System->CreateStream(Where, SoundFlags::Loop);
  if (Stream) System->Play(Stream, true);
  const TSoundHandle Module = System->LoadModule(Where, SoundFlags::Loop | SoundFlags::Ramping, 0);
  if (Module) System->Play(Module, true);
  System->Render(Out.data(), 2048);
  System->FreeSample(Sample);
  System->FreeStream(Stream);
  System->FreeModule(Module);

  TMemoryStream Bytes(Data, Size);
  TPcmSound Sound;
  std::string Error;
  ReadWav(Bytes, Sound, Error);
  return 0;
}
