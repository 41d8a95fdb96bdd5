// sqtool audio: listening to sounds without a sound card.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <vector>

#include "audio/music.h"
#include "audio/vx_audio.h"
#include "audio/wav_file.h"
#include "audio/wave.h"
#include "shell/file_stream.h"
#include "shell/toolbox.h"
#include "storage/stream_opener.h"
#include "tools/sqtool/command.h"
#include "tools/sqtool/game_data.h"

namespace {

constexpr double kMaxSeconds = 3600;

bool ParseSeconds(const std::string& Text, double& Seconds) {
  char* End = nullptr;
  Seconds = std::strtod(Text.c_str(), &End);
  return !Text.empty() && End && *End == '\0' && std::isfinite(Seconds) && Seconds > 0 && Seconds <= kMaxSeconds;
}

bool IsWavName(const std::string& Name) {
  return Name.size() > 4 && VXToolbox::UpperCase(Name.substr(Name.size() - 4)) == ".WAV";
}

int Render(const TArgs& Args) {
  if (Args.size() != 4) return SqFail("usage: sqtool audio render NAME SECONDS OUTFILE");
  const std::string& Name = Args[1];
  double Seconds = 0;
  if (!ParseSeconds(Args[2], Seconds))
    return SqFail("SECONDS must be a number above 0 and at most " + std::to_string(static_cast<int>(kMaxSeconds)));
  // Names may be members of the game's archive, as in the game.
  MountGameData("");
  // Fails with the opener's own message when the name is found nowhere.
  StreamOpener->OpenStream(Name);

  if (!SoundSystem) SoundSystem = std::make_unique<TSoundSystem>();
  if (!SoundSystem->Started() && !SoundSystem->Start(kNoOutputDevice, 0))
    return SqFail("cannot start the sound system: " + SoundSystem->LastError());
  std::unique_ptr<TWave> Wave;
  std::unique_ptr<TMusic> Music;
  TSoundHandle Handle = 0;
  if (IsWavName(Name)) {
    Wave = std::make_unique<TWave>(Name, false, 1);
    Handle = Wave->Handle();
    if (Handle) Wave->Play();
  } else {
    Music = std::make_unique<TMusic>(Name);
    Handle = Music->Handle();
    if (Handle) Music->Play();
  }
  if (Handle == 0) return SqFail("cannot play " + Name + ": " + SoundSystem->LastError());

  const size_t Frames = static_cast<size_t>(std::llround(Seconds * TSoundSystem::kRate));
  std::vector<int16_t> Samples(Frames * 2);
  SoundSystem->Render(Samples.data(), Frames);
  int Peak = 0;
  for (const int16_t S : Samples) Peak = std::max(Peak, std::abs(static_cast<int>(S)));

  auto Out = TFileStream::Open(Args[3], TFileStream::TMode::Create);
  if (!Out) return SqFail("cannot create " + Args[3]);
  if (!WriteWav(*Out, Samples.data(), Frames, 2, TSoundSystem::kRate)) return SqFail("cannot write " + Args[3]);
  char Line[160];
  std::snprintf(Line, sizeof Line, "%s: %zu frames (%.3f s), %d Hz stereo 16-bit, peak %d (%.1f dBFS)", Args[3].c_str(),
                Frames, static_cast<double>(Frames) / TSoundSystem::kRate, TSoundSystem::kRate, Peak,
                Peak > 0 ? 20 * std::log10(Peak / 32768.0) : -999.0);
  std::cout << Line << "\n";
  return 0;
}

bool ReadWavFile(const std::string& Name, TPcmSound& Sound, std::string& Error) {
  auto In = TFileStream::Open(Name, TFileStream::TMode::Read);
  if (!In) {
    Error = "cannot open " + Name;
    return false;
  }
  if (ReadWav(*In, Sound, Error)) return true;
  Error = Name + ": " + Error;
  return false;
}

// How far OTHER lies from REFERENCE: the power of the reference over the
// power of the difference, frame by frame, both sides.
int Snr(const TArgs& Args) {
  if (Args.size() != 3) return SqFail("usage: sqtool audio snr REFERENCE OTHER");
  TPcmSound Reference, Other;
  std::string Why;
  if (!ReadWavFile(Args[1], Reference, Why) || !ReadWavFile(Args[2], Other, Why)) return SqFail(Why);
  if (Reference.Rate != Other.Rate) return SqFail("the two files have different rates");
  const size_t Frames = std::min(Reference.Frames(), Other.Frames());
  double Signal = 0, Noise = 0;
  int Peak = 0;
  for (size_t I = 0; I < Frames * 2; ++I) {
    const double R = Reference.Samples[I], D = R - Other.Samples[I];
    Signal += R * R;
    Noise += D * D;
    Peak = std::max(Peak, static_cast<int>(std::abs(D)));
  }
  std::string Figure = Noise == 0 ? "identical" : Signal == 0 ? "the reference is silent" : "";
  if (Figure.empty()) {
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.1f dB", 10 * std::log10(Signal / Noise));
    Figure = Text;
  }
  std::cout << "SNR " << Figure << " over " << Frames << " frames, largest difference " << Peak;
  if (Reference.Frames() != Other.Frames())
    std::cout << " (lengths differ: " << Reference.Frames() << " and " << Other.Frames() << " frames)";
  std::cout << "\n";
  return 0;
}

int RunAudio(const TArgs& Args) {
  if (!Args.empty() && Args[0] == "render") return Render(Args);
  if (!Args.empty() && Args[0] == "snr") return Snr(Args);
  return SqFail("usage: sqtool audio render NAME SECONDS OUTFILE | sqtool audio snr REFERENCE OTHER");
}

TSqCommand Cmd({"audio", "renders a sound to a WAV file without a sound card",
                "sqtool audio render NAME SECONDS OUTFILE\n"
                "sqtool audio snr REFERENCE OTHER\n"
                "  Opens NAME through the resource lookup (disk, Data/, the game's archive)\n"
                "  and plays it as the game would: an MP3 or a tracker module as music,\n"
                "  looping; a WAV as an effect, once. Writes SECONDS seconds (decimals\n"
                "  allowed) of the mix to OUTFILE as a 44100 Hz stereo 16-bit WAV file and\n"
                "  prints the frame count and the peak level.\n"
                "  snr compares two such files frame by frame (over the shorter one) and\n"
                "  prints the signal-to-noise ratio of OTHER against REFERENCE in dB\n"
                "  (\"identical\" when no sample differs) and the largest difference.\n",
                RunAudio});

}  // namespace
