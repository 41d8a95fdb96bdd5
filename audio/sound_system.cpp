#include "audio/sound_system.h"

#include <algorithm>
#include <cmath>

#include "audio/module_player.h"
#include "audio/mp3_decoder.h"
#include "audio/mp3_stream.h"
#include "audio/pcm_sound.h"
#include "audio/sound_device.h"
#include "audio/wav_file.h"
#include "storage/codec_errors.h"
#include "storage/zstream.h"

namespace {

constexpr size_t kBlockFrames = 512;
constexpr float kSampleScale = 1.0f / 32768.0f;

// Volume and pan as the mixer uses them: finite and in range.
float Unit(float V, float Low) {
  if (!std::isfinite(V)) return 0;
  return std::clamp(V, Low, 1.0f);
}

// Balance: the far side fades as the pan moves away from it.
void Gains(float Volume, float Pan, float& Left, float& Right) {
  const float V = Unit(Volume, 0), P = Unit(Pan, -1);
  Left = V * (P > 0 ? 1 - P : 1);
  Right = V * (P < 0 ? 1 + P : 1);
}

}  // namespace

struct TSoundSystem::TChannel {
  bool Playing = false;
  bool Ended = false;  // played to its end; the next Play starts over
  float Volume = 1;
  float Pan = 0;
  int64_t Played = 0;
};

struct TSoundSystem::TVoice {
  TSoundHandle Handle = 0;
  TChannel State;
  double Position = 0;  // in sample frames
  int32_t Frequency = 44100;
  uint64_t StartOrder = 0;
};

struct TSoundSystem::TSample {
  TPcmSound Pcm;
  TSampleInfo Info;
  std::vector<TVoice> Voices;
};

struct TSoundSystem::TStream {
  std::unique_ptr<TMp3Stream> Player;
  TChannel State;
};

// A module keeps only its file's bytes while it is silent, deflated (eight
// songs take 1 MB so instead of 2.6), or nothing when its owner can give them
// again: the player, with every sample decoded, is made when it starts and
// dropped once another module has taken over (eight songs decoded at once
// held 14 MB).
struct TSoundSystem::TModule {
  std::vector<uint8_t> Packed;  // unless Again gives the bytes
  TBytesAgain Again;
  bool Loop = true;
  std::unique_ptr<TModulePlayer> Player;
  TChannel State;
};

// Keeps the audio thread out while game calls change shared state.
class TSoundSystem::TLock {
 public:
  explicit TLock(const TSoundSystem& S) : FDevice(S.FDevice.get()) {
    if (FDevice) FDevice->Lock();
  }
  ~TLock() {
    if (FDevice) FDevice->Unlock();
  }
  TLock(const TLock&) = delete;
  TLock& operator=(const TLock&) = delete;

 private:
  TSoundDevice* FDevice;
};

TSoundSystem::TSoundSystem() = default;
TSoundSystem::~TSoundSystem() { Shutdown(); }

bool TSoundSystem::Start(int Device, int Frequency) {
  if (FStarted) return Fail("already started");
  if (Frequency != 0 && Frequency != kRate) return Fail("only " + std::to_string(kRate) + " Hz is supported");
  if (Device != kNoOutputDevice && Device != kDefaultDevice) return Fail("no such device");
  FMix.assign(kBlockFrames * 2, 0.0f);
  if (Device == kDefaultDevice) {
    std::string Why;
    FDevice = TSoundDevice::Open(kRate, DeviceFill, this, Why);
    if (!FDevice) return Fail("cannot open the audio device: " + Why);
  }
  FStarted = true;
  return true;
}

void TSoundSystem::Shutdown() {
  // Closing the device first stops the audio thread.
  FDevice.reset();
  FSamples.clear();
  FVoiceOwners.clear();
  FStreams.clear();
  FModules.clear();
  FStarted = false;
}

bool TSoundSystem::Fail(const std::string& Why) {
  FLastError = Why;
  return false;
}

TSoundHandle TSoundSystem::NewHandle() {
  // Handles are never reused while the system lives; 0 stays "none".
  if (++FLastHandle == 0) ++FLastHandle;
  return FLastHandle;
}

std::unique_ptr<TSoundInput> TSoundSystem::OpenInput(const TSoundLocation& Where) {
  auto Input = TSoundInput::Open(Where);
  if (!Input) Fail(Where.FromMemory ? "no data" : "cannot open \"" + Where.Path + "\"");
  return Input;
}

TSoundHandle TSoundSystem::LoadSample(const TSoundLocation& Where, int32_t Max, uint32_t Flags) {
  if (!FStarted) return Fail("not started");
  if (Max < 1 || Max > 65535) return Fail("maximum out of range");
  auto Input = OpenInput(Where);
  if (!Input) return 0;
  auto Sample = std::make_unique<TSample>();
  std::string Why;
  const bool Ok = LooksLikeWav(*Input) ? ReadWav(*Input, Sample->Pcm, Why)
                                       : TMp3Decoder::DecodeAll(std::move(Input), Sample->Pcm, Why);
  if (!Ok) return Fail(Why);
  Sample->Pcm.FoldToMono();
  Sample->Info.Frequency = static_cast<int32_t>(Sample->Pcm.Rate);
  Sample->Info.Flags = Flags;
  Sample->Info.Max = Max;
  Sample->Info.Length = static_cast<uint32_t>(Sample->Pcm.Frames());
  TLock Lock(*this);
  const TSoundHandle H = NewHandle();
  FSamples[H] = std::move(Sample);
  return H;
}

bool TSoundSystem::FreeSample(TSoundHandle Sample) {
  std::unique_ptr<TSample> Gone;
  {
    TLock Lock(*this);
    auto It = FSamples.find(Sample);
    if (It == FSamples.end()) return Fail("unknown sample");
    for (const TVoice& V : It->second->Voices) FVoiceOwners.erase(V.Handle);
    Gone = std::move(It->second);
    FSamples.erase(It);
  }
  return true;  // the sound data is freed here, outside the lock
}

bool TSoundSystem::GetSampleInfo(TSoundHandle Sample, TSampleInfo& Info) const {
  TLock Lock(*this);
  auto It = FSamples.find(Sample);
  if (It == FSamples.end()) return false;
  Info = It->second->Info;
  return true;
}

bool TSoundSystem::SetSampleInfo(TSoundHandle Sample, const TSampleInfo& Info) {
  TLock Lock(*this);
  auto It = FSamples.find(Sample);
  if (It == FSamples.end()) return Fail("unknown sample");
  TSampleInfo& Mine = It->second->Info;
  Mine.Frequency = Info.Frequency;
  Mine.Volume = Info.Volume;
  Mine.Pan = Info.Pan;
  Mine.Flags = (Mine.Flags & ~SoundFlags::Loop) | (Info.Flags & SoundFlags::Loop);
  return true;
}

TSoundHandle TSoundSystem::SampleChannel(TSoundHandle Sample, bool OnlyNew) {
  TLock Lock(*this);
  auto It = FSamples.find(Sample);
  if (It == FSamples.end()) return Fail("unknown sample");
  TSample& S = *It->second;
  TVoice* Chosen = nullptr;
  if (!OnlyNew)
    for (TVoice& V : S.Voices)
      if (!V.State.Playing) {
        Chosen = &V;
        break;
      }
  if (!Chosen && S.Voices.size() < static_cast<size_t>(S.Info.Max)) {
    S.Voices.push_back(TVoice{});
    Chosen = &S.Voices.back();
    Chosen->Handle = NewHandle();
    FVoiceOwners[Chosen->Handle] = Sample;
  }
  if (!Chosen && (S.Info.Flags & SoundFlags::TakeOverOldest)) {
    Chosen = &*std::min_element(S.Voices.begin(), S.Voices.end(),
                                [](const TVoice& A, const TVoice& B) { return A.StartOrder < B.StartOrder; });
  }
  if (!Chosen) return Fail("every channel of the sample is busy");
  // A fresh channel with the sample's current defaults.
  Chosen->State = TChannel{};
  Chosen->State.Volume = S.Info.Volume;
  Chosen->State.Pan = S.Info.Pan;
  Chosen->Frequency = S.Info.Frequency;
  Chosen->Position = 0;
  return Chosen->Handle;
}

TSoundHandle TSoundSystem::CreateStream(const TSoundLocation& Where, uint32_t Flags) {
  if (!FStarted) return Fail("not started");
  auto Input = OpenInput(Where);
  if (!Input) return 0;
  std::string Why;
  auto Decoder = TMp3Decoder::Open(std::move(Input), Why);
  if (!Decoder) return Fail(Why);
  auto Stream = std::make_unique<TStream>();
  Stream->Player = std::make_unique<TMp3Stream>(std::move(Decoder), (Flags & SoundFlags::Loop) != 0);
  TLock Lock(*this);
  const TSoundHandle H = NewHandle();
  FStreams[H] = std::move(Stream);
  return H;
}

bool TSoundSystem::FreeStream(TSoundHandle Stream) {
  std::unique_ptr<TStream> Gone;
  TLock Lock(*this);
  auto It = FStreams.find(Stream);
  if (It == FStreams.end()) return Fail("unknown stream");
  Gone = std::move(It->second);
  FStreams.erase(It);
  return true;
}

TSoundHandle TSoundSystem::LoadModule(const TSoundLocation& Where, uint32_t Flags, int Frequency, TBytesAgain Again) {
  if (!FStarted) return Fail("not started");
  if (Frequency != 0 && Frequency != kRate) return Fail("only the output rate is supported");
  auto Input = OpenInput(Where);
  if (!Input) return 0;
  auto Module = std::make_unique<TModule>();
  const std::vector<uint8_t> Bytes = Input->ReadAll();
  Module->Loop = (Flags & SoundFlags::Loop) != 0;
  // Read once now so that a module libopenmpt cannot read fails here, not
  // when it plays.
  std::string Why;
  if (!TModulePlayer::Check(Bytes.data(), Bytes.size(), Why)) return Fail(Why);
  if (Again) {
    Module->Again = std::move(Again);
  } else {
    // The fastest level: a song is packed once at start-up.
    Module->Packed = DeflateBytes(Bytes, 1);
    Module->Packed.shrink_to_fit();  // made with room for the worst case
  }
  TLock Lock(*this);
  const TSoundHandle H = NewHandle();
  FModules[H] = std::move(Module);
  return H;
}

bool TSoundSystem::FreeModule(TSoundHandle Module) {
  std::unique_ptr<TModule> Gone;
  TLock Lock(*this);
  auto It = FModules.find(Module);
  if (It == FModules.end()) return Fail("unknown module");
  Gone = std::move(It->second);
  FModules.erase(It);
  return true;
}

TSoundSystem::TVoice* TSoundSystem::FindVoice(TSoundHandle Channel) {
  auto Owner = FVoiceOwners.find(Channel);
  if (Owner == FVoiceOwners.end()) return nullptr;
  auto S = FSamples.find(Owner->second);
  if (S == FSamples.end()) return nullptr;
  for (TVoice& V : S->second->Voices)
    if (V.Handle == Channel) return &V;
  return nullptr;
}

TSoundSystem::TChannel* TSoundSystem::FindChannel(TSoundHandle Channel) {
  if (TVoice* V = FindVoice(Channel)) return &V->State;
  if (auto It = FStreams.find(Channel); It != FStreams.end()) return &It->second->State;
  if (auto It = FModules.find(Channel); It != FModules.end()) return &It->second->State;
  return nullptr;
}

const TSoundSystem::TChannel* TSoundSystem::FindChannel(TSoundHandle Channel) const {
  return const_cast<TSoundSystem*>(this)->FindChannel(Channel);
}

bool TSoundSystem::Play(TSoundHandle Channel, bool Restart) {
  // A silent module's player is made before the audio thread is held up.
  std::unique_ptr<TModulePlayer> NewPlayer;
  auto Module = FModules.find(Channel);
  if (Module != FModules.end() && !Module->second->Player) {
    // The others that are silent give their decoded samples back first (two
    // songs decoded at once would set the program's peak); they start from
    // the beginning when they play again.
    DropSilentPlayers(Channel);
    const TModule& M = *Module->second;
    std::string Why;
    try {
      const std::vector<uint8_t> Bytes = M.Again ? M.Again() : InflateBytes(M.Packed);
      NewPlayer = TModulePlayer::Load(Bytes.data(), Bytes.size(), M.Loop, Why);
    } catch (const EDecompress& E) { Why = E.what(); }
    if (!NewPlayer) return Fail(Why);
  }
  TLock Lock(*this);
  if (NewPlayer) {
    Module->second->Player = std::move(NewPlayer);
    Module->second->State.Played = 0;
    Module->second->State.Ended = false;
  }
  TChannel* C = FindChannel(Channel);
  if (!C) return Fail("unknown channel");
  const bool FromStart = Restart || C->Ended;
  if (FromStart) {
    C->Played = 0;
    C->Ended = false;
    if (TVoice* V = FindVoice(Channel)) V->Position = 0;
    if (auto It = FStreams.find(Channel); It != FStreams.end()) It->second->Player->Restart();
    if (auto It = FModules.find(Channel); It != FModules.end()) It->second->Player->Restart();
  }
  if (TVoice* V = FindVoice(Channel)) V->StartOrder = ++FStartCounter;
  C->Playing = true;
  return true;
}

void TSoundSystem::DropSilentPlayers(TSoundHandle Keep) {
  std::vector<std::unique_ptr<TModulePlayer>> Dropped;
  {
    TLock Lock(*this);
    for (auto& [Handle, Other] : FModules)
      if (Handle != Keep && !Other->State.Playing && Other->Player) Dropped.push_back(std::move(Other->Player));
  }
  // Freed here, once the audio thread may go on.
}

bool TSoundSystem::Stop(TSoundHandle Channel) {
  TLock Lock(*this);
  TChannel* C = FindChannel(Channel);
  if (!C) return Fail("unknown channel");
  C->Playing = false;
  return true;
}

bool TSoundSystem::IsPlaying(TSoundHandle Channel) const {
  TLock Lock(*this);
  const TChannel* C = FindChannel(Channel);
  return C && C->Playing;
}

int64_t TSoundSystem::PlayedFrames(TSoundHandle Channel) const {
  TLock Lock(*this);
  const TChannel* C = FindChannel(Channel);
  return C ? C->Played : -1;
}

bool TSoundSystem::SetAttribute(TSoundHandle Channel, TSoundAttribute Attribute, float Value) {
  TLock Lock(*this);
  TChannel* C = FindChannel(Channel);
  if (!C) return Fail("unknown channel");
  switch (Attribute) {
    case TSoundAttribute::Volume: C->Volume = Value; return true;
    case TSoundAttribute::Pan: C->Pan = Value; return true;
    case TSoundAttribute::Frequency:
      if (TVoice* V = FindVoice(Channel)) {
        V->Frequency = static_cast<int32_t>(Value);
        return true;
      }
      return Fail("frequency applies to sample channels only");
  }
  return false;
}

bool TSoundSystem::GetAttribute(TSoundHandle Channel, TSoundAttribute Attribute, float& Value) const {
  TLock Lock(*this);
  auto* Self = const_cast<TSoundSystem*>(this);
  const TChannel* C = Self->FindChannel(Channel);
  if (!C) return false;
  switch (Attribute) {
    case TSoundAttribute::Volume: Value = C->Volume; return true;
    case TSoundAttribute::Pan: Value = C->Pan; return true;
    case TSoundAttribute::Frequency:
      if (const TVoice* V = Self->FindVoice(Channel)) {
        Value = static_cast<float>(V->Frequency);
        return true;
      }
      return false;
  }
  return false;
}

void TSoundSystem::Render(int16_t* Out, size_t Frames) {
  TLock Lock(*this);
  MixLocked(Out, Frames);
}

void TSoundSystem::DeviceFill(void* User, int16_t* Out, size_t Frames) {
  static_cast<TSoundSystem*>(User)->MixLocked(Out, Frames);
}

namespace {

// Adds one sample channel to Mix; false when it played to its end. A mono
// sound gives its one side to both.
bool MixVoice(const TPcmSound& Pcm, bool Loop, double& Position, int32_t Frequency, float Left, float Right, float* Mix,
              size_t Frames, int Rate) {
  const size_t Length = Pcm.Frames();
  if (Length == 0) return false;
  const double Rate1 = Frequency > 0 ? std::min(Frequency, 1000000) : static_cast<int32_t>(Pcm.Rate);
  const double Step = Rate1 / Rate;
  const int16_t* Data = Pcm.Samples.data();
  const size_t Width = Pcm.Channels;
  const size_t Right1 = Width - 1;
  const double End = static_cast<double>(Length);
  for (size_t I = 0; I < Frames; ++I) {
    const size_t Index = static_cast<size_t>(Position);
    const float T = static_cast<float>(Position - static_cast<double>(Index));
    const int16_t* A = Data + Index * Width;
    // The last frame blends into the first when looping, into itself otherwise.
    const int16_t* B = Index + 1 < Length ? A + Width : (Loop ? Data : A);
    Mix[I * 2] += (A[0] + (B[0] - A[0]) * T) * kSampleScale * Left;
    Mix[I * 2 + 1] += (A[Right1] + (B[Right1] - A[Right1]) * T) * kSampleScale * Right;
    Position += Step;
    if (Position >= End) {
      if (!Loop) return false;
      Position = std::fmod(Position, End);
    }
  }
  return true;
}

}  // namespace

void TSoundSystem::MixLocked(int16_t* Out, size_t Frames) {
  if (FMix.size() < kBlockFrames * 2) FMix.assign(kBlockFrames * 2, 0.0f);
  while (Frames > 0) {
    const size_t N = std::min(Frames, kBlockFrames);
    float* Mix = FMix.data();
    std::fill(Mix, Mix + N * 2, 0.0f);
    float L, R;
    for (auto& [Handle, S] : FSamples) {
      const bool Loop = (S->Info.Flags & SoundFlags::Loop) != 0;
      for (TVoice& V : S->Voices) {
        if (!V.State.Playing) continue;
        Gains(V.State.Volume, V.State.Pan, L, R);
        V.State.Played += static_cast<int64_t>(N);
        if (!MixVoice(S->Pcm, Loop, V.Position, V.Frequency, L, R, Mix, N, kRate)) {
          V.State.Playing = false;
          V.State.Ended = true;
        }
      }
    }
    for (auto& [Handle, S] : FStreams) {
      if (!S->State.Playing) continue;
      Gains(S->State.Volume, S->State.Pan, L, R);
      S->State.Played += static_cast<int64_t>(N);
      if (!S->Player->MixInto(Mix, N, kRate, L, R)) {
        S->State.Playing = false;
        S->State.Ended = true;
      }
    }
    for (auto& [Handle, M] : FModules) {
      if (!M->State.Playing || !M->Player) continue;
      Gains(M->State.Volume, M->State.Pan, L, R);
      M->State.Played += static_cast<int64_t>(N);
      if (!M->Player->MixInto(Mix, N, kRate, L, R)) {
        M->State.Playing = false;
        M->State.Ended = true;
      }
    }
    for (size_t I = 0; I < N * 2; ++I) {
      const float V = std::nearbyint(Mix[I] * 32768.0f);
      Out[I] = static_cast<int16_t>(std::clamp(V, -32768.0f, 32767.0f));
    }
    Out += N * 2;
    Frames -= N;
  }
}
