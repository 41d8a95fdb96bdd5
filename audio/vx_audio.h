#pragma once
// The audio device module: opens our sound system on the default output at
// start-up and shuts it down at the end.
#include <memory>

#include "audio/sound_system.h"

// The sound system every sound goes through; created when the module starts,
// opened by Init_Audio.
extern std::unique_ptr<TSoundSystem> SoundSystem;

namespace VXAudio {

inline constexpr const char* kVersion = "VXAudio, version 1.0.0";

// True after a successful Init_Audio until Finalize. Clearing it keeps
// Finalize from shutting the device down.
extern bool AudioInitialized;

// Checks the sound system's version and opens the default output device.
void Init_Audio();
// Shuts the device down when AudioInitialized is set.
void Finalize();

}  // namespace VXAudio

// Module start and stop.
void StartAudio();
void StopAudio();
