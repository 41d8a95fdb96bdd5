#pragma once
// Finding a sound's bytes through the stream opener: straight from the file
// when they are stored as they are, otherwise copied into a memory block
// that lives as long as the sound.
#include <cstdint>
#include <string>
#include <vector>

#include "audio/sound_input.h"

struct TSoundResource {
  TSoundLocation Where;
  std::vector<uint8_t> Buffer;  // the memory copy, when there is one
  int32_t BufferSize = -1;      // -1 when read from the file
};

// Asks the opener where Name lies. True when the bytes need decompressing;
// otherwise Resource.Where names the file window (an empty path when the
// opener found nothing).
bool SoundIsCompressed(const std::string& Name, TSoundResource& Resource);
// Copies the resource whole into Resource.Buffer through OpenStream and
// points Resource.Where at it. False when the opener cannot open it (it logs
// that itself).
bool CopyIntoMemory(const std::string& Name, TSoundResource& Resource);
