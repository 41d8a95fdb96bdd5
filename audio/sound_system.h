#pragma once
// Our audio backend: one output device (or none), samples decoded whole,
// MP3 streams decoded as they play and tracker modules, all mixed to 44100 Hz
// stereo 16-bit. Handles are non-zero on success and 0 on failure; calls with
// an unknown handle are refused (false) and change nothing.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "audio/sound_input.h"

class TSoundDevice;
class TMp3Stream;
class TModulePlayer;
struct TPcmSound;

using TSoundHandle = uint32_t;

namespace SoundFlags {
inline constexpr uint32_t Loop = 0x4;
// Modules: smooth volume changes (libopenmpt ramps them in any case).
inline constexpr uint32_t Ramping = 0x400;
// Samples: when every channel is busy, the one playing longest is taken over.
inline constexpr uint32_t TakeOverOldest = 0x20000;
}  // namespace SoundFlags

enum class TSoundAttribute { Frequency = 1, Volume = 2, Pan = 3 };

// Device numbers for Start.
inline constexpr int kNoOutputDevice = 0;  // mix only on request, through Render
inline constexpr int kDefaultDevice = -1;  // the SDL audio output

// A sample's defaults, given to each channel it starts.
struct TSampleInfo {
  int32_t Frequency = 44100;  // playback rate in frames per second
  float Volume = 1;           // 0 silent to 1 full
  float Pan = 0;              // -1 left to 1 right
  uint32_t Flags = 0;
  int32_t Max = 1;      // channels that may play at once
  uint32_t Length = 0;  // in frames, read only
};

class TSoundSystem {
 public:
  static constexpr int kRate = 44100;
  // Interface version in the upper 16 bits (2.4), build in the lower.
  static constexpr uint32_t kVersion = 0x02040001;

  TSoundSystem();
  ~TSoundSystem();
  TSoundSystem(const TSoundSystem&) = delete;
  TSoundSystem& operator=(const TSoundSystem&) = delete;

  static uint32_t Version() { return kVersion; }

  // Opens the output: kDefaultDevice or kNoOutputDevice, at kRate (Frequency
  // 0 or kRate). False when already started or the device cannot be opened.
  bool Start(int Device, int Frequency);
  // Frees every sound and closes the output.
  void Shutdown();
  bool Started() const { return FStarted; }
  bool HasDevice() const { return FDevice != nullptr; }
  // Why the last call failed, for messages.
  const std::string& LastError() const { return FLastError; }

  // WAV or MP3, decoded whole. Max 1 to 65535; flags Loop, TakeOverOldest.
  TSoundHandle LoadSample(const TSoundLocation& Where, int32_t Max, uint32_t Flags);
  bool FreeSample(TSoundHandle Sample);
  bool GetSampleInfo(TSoundHandle Sample, TSampleInfo& Info) const;
  // Takes Frequency, Volume and Pan and the Loop flag, for channels
  // started later.
  bool SetSampleInfo(TSoundHandle Sample, const TSampleInfo& Info);
  // A channel for the sample, with the sample's defaults: a new one, an idle
  // one (unless OnlyNew), or the oldest playing one when the sample may take
  // it over. 0 when all are busy.
  TSoundHandle SampleChannel(TSoundHandle Sample, bool OnlyNew);

  // An MP3 stream; it is its own channel. Flags: Loop. The data stays where
  // Where says and is read while the stream plays.
  TSoundHandle CreateStream(const TSoundLocation& Where, uint32_t Flags);
  bool FreeStream(TSoundHandle Stream);

  // A tracker module; it is its own channel. Flags: Loop, Ramping.
  // Frequency 0 means the output rate. The bytes are kept (deflated) for
  // when the module plays; with Again, which gives the same bytes once more
  // (from where they came), nothing is kept and Again is asked instead.
  using TBytesAgain = std::function<std::vector<uint8_t>()>;
  TSoundHandle LoadModule(const TSoundLocation& Where, uint32_t Flags, int Frequency, TBytesAgain Again = {});
  bool FreeModule(TSoundHandle Module);

  // Channels: sample channels, streams and modules. Play resumes a stopped
  // channel, or starts it from the beginning when Restart is true or it had
  // played to its end.
  bool Play(TSoundHandle Channel, bool Restart);
  bool Stop(TSoundHandle Channel);
  bool IsPlaying(TSoundHandle Channel) const;
  // Output frames the channel has played since it last started from the beginning.
  int64_t PlayedFrames(TSoundHandle Channel) const;
  // Volume 0 to 1, pan -1 to 1 (values outside are clamped when mixing);
  // frequency only for sample channels.
  bool SetAttribute(TSoundHandle Channel, TSoundAttribute Attribute, float Value);
  bool GetAttribute(TSoundHandle Channel, TSoundAttribute Attribute, float& Value) const;

  // Mixes Frames frames of every playing channel into Out (interleaved
  // stereo), clipped to 16 bits. Without a device this is the only way the
  // channels advance.
  void Render(int16_t* Out, size_t Frames);

 private:
  struct TChannel;
  struct TVoice;
  struct TSample;
  struct TStream;
  struct TModule;
  class TLock;

  static void DeviceFill(void* User, int16_t* Out, size_t Frames);
  // Frees the players of the modules other than Keep that are not playing.
  void DropSilentPlayers(TSoundHandle Keep);
  void MixLocked(int16_t* Out, size_t Frames);
  TSoundHandle NewHandle();
  bool Fail(const std::string& Why);
  TChannel* FindChannel(TSoundHandle Channel);
  const TChannel* FindChannel(TSoundHandle Channel) const;
  TVoice* FindVoice(TSoundHandle Channel);
  std::unique_ptr<TSoundInput> OpenInput(const TSoundLocation& Where);

  std::unique_ptr<TSoundDevice> FDevice;
  bool FStarted = false;
  TSoundHandle FLastHandle = 0;
  uint64_t FStartCounter = 0;
  std::string FLastError;
  std::map<TSoundHandle, std::unique_ptr<TSample>> FSamples;
  std::map<TSoundHandle, TSoundHandle> FVoiceOwners;  // sample channel -> sample
  std::map<TSoundHandle, std::unique_ptr<TStream>> FStreams;
  std::map<TSoundHandle, std::unique_ptr<TModule>> FModules;
  std::vector<float> FMix;
};
