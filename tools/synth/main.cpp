// sqsynth: renders a sound source (data/sounds/*.sfx) into an MP3 file, or
// into a WAV file for listening when the output name ends in ".wav".
#include <cstdio>
#include <string>

#include "shell/file_stream.h"
#include "shell/toolbox.h"
#include "tools/synth/mp3_encoder.h"
#include "tools/synth/synth_patch.h"
#include "tools/synth/synth_render.h"
#include "tools/synth/wav_writer.h"

namespace {

// Mono effects carry little above 16 kHz; 96 kbit/s keeps them clean.
constexpr int kMp3Rate = 96;

int Fail(const std::string& Message) {
  std::fprintf(stderr, "sqsynth: %s\n", Message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sqsynth SOURCE.sfx OUTPUT.mp3|OUTPUT.wav\n");
    return 1;
  }
  const std::string Source = argv[1], Output = argv[2];
  auto In = TFileStream::Open(Source, TFileStream::TMode::Read);
  if (!In) return Fail("cannot open " + Source);
  const auto Bytes = In->ReadAll();
  try {
    const TSynthPatch Patch = SynthText::ParsePatch(std::string(Bytes.begin(), Bytes.end()));
    const auto Pcm = SynthRender::ToPcm16(SynthRender::RenderPatch(Patch));
    const bool Wav = VXToolbox::SameText(Output.substr(Output.size() > 4 ? Output.size() - 4 : 0), ".wav");
    const auto File =
        Wav ? WavImage(Pcm, SynthRender::kSampleRate) : EncodeMp3(Pcm, SynthRender::kSampleRate, kMp3Rate);
    auto Out = TFileStream::Open(Output, TFileStream::TMode::Create);
    if (!Out || !Out->WriteExact(File.data(), File.size())) return Fail("cannot write " + Output);
  } catch (const std::exception& E) { return Fail(Source + ": " + E.what()); }
  return 0;
}
