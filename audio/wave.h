#pragma once
// One sound effect: a sample that can play over itself up to a maximum
// number of times.
#include <cstdint>
#include <string>
#include <vector>

#include "audio/sound_system.h"

class TWave {
 public:
  static constexpr const char* kVersion = "WaveUnit, version 1.01a";

  // Loads the resource Name. A failed load leaves Handle() 0 and every
  // operation a no-op.
  TWave(const std::string& Name, bool Looped, int32_t Max);
  ~TWave();
  TWave(const TWave&) = delete;
  TWave& operator=(const TWave&) = delete;

  // Starts one more playback; when all Max are busy, the oldest starts over.
  void Play();
  // Defaults for playbacks started later; no range check.
  void SetFrequency(int32_t Frequency);
  void SetVolume(float Volume);
  void SetPan(float Pan);

  TSoundHandle Handle() const { return FWave; }
  // Size of the memory copy; -1 when the sound was read from its file.
  int32_t BufferSize() const { return FBufferSize; }

 private:
  template <typename TChange>
  void ChangeInfo(TChange Change);

  TSoundHandle FWave = 0;
  std::vector<uint8_t> FBuffer;  // kept while the sample lives
  int32_t FBufferSize = -1;
};
