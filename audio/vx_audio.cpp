#include "audio/vx_audio.h"

#include "shell/logger.h"

std::unique_ptr<TSoundSystem> SoundSystem;

namespace VXAudio {

bool AudioInitialized = false;

void Init_Audio() {
  const char* Heading = "VXAudio, Init_Audio";
  if (!SoundSystem) SoundSystem = std::make_unique<TSoundSystem>();
  if ((TSoundSystem::Version() >> 16) != 0x0204) {
    Log->Error("An incorrect version of BASS.DLL was loaded", Heading);
    AudioInitialized = false;
    return;
  }
  Log->Status("BASS V2.4 loaded.", Heading);
  if (!SoundSystem->Start(kDefaultDevice, TSoundSystem::kRate)) {
    Log->Error("BASS: Can't initialize device!", Heading);
    Log->Debug(SoundSystem->LastError(), Heading);
    AudioInitialized = false;
    return;
  }
  Log->Status("BASS: Device initialized.", Heading);
  AudioInitialized = true;
}

void Finalize() {
  if (AudioInitialized) {
    if (SoundSystem) SoundSystem->Shutdown();
    Log->Status("BASS: Shutdown...", "VXAudio, Finalize");
  }
  AudioInitialized = false;
}

}  // namespace VXAudio

void StartAudio() {
  SoundSystem = std::make_unique<TSoundSystem>();
  VXAudio::AudioInitialized = false;
}

void StopAudio() {
  VXAudio::Finalize();
  SoundSystem.reset();
}
