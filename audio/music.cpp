#include "audio/music.h"

#include <algorithm>
#include <cmath>

#include "audio/sound_resource.h"
#include "audio/vx_audio.h"
#include "shell/logger.h"
#include "shell/toolbox.h"

bool TMusic::IsMp3Name(const std::string& Name) {
  return Name.size() > 4 && VXToolbox::UpperCase(Name.substr(Name.size() - 4)) == ".MP3";
}

TMusic::TMusic(const std::string& Name) {
  TSoundResource Resource;
  bool Found = true;
  FIsStream = IsMp3Name(Name);
  if (FIsStream) {
    if (SoundIsCompressed(Name, Resource)) Found = CopyIntoMemory(Name, Resource);
    if (Found && SoundSystem) FMusic = SoundSystem->CreateStream(Resource.Where, SoundFlags::Loop);
  } else {
    Found = CopyIntoMemory(Name, Resource);
    if (Found && SoundSystem)
      FMusic = SoundSystem->LoadModule(Resource.Where, SoundFlags::Loop | SoundFlags::Ramping, 0);
  }
  FBufferSize = Resource.BufferSize;
  const char* Heading = "MusicUnit, TMusic.Create";
  if (FMusic == 0) {
    Log->Error("BASS: Loading " + Name + " failed", Heading);
    return;
  }
  // The stream reads this block while it plays; it moves here unchanged. A
  // module keeps its own copy, so a second one here would only take room.
  if (FIsStream) FBuffer = std::move(Resource.Buffer);
  Log->Status("BASS: Loading " + Name + " was successful. (fMusic=" + std::to_string(FMusic) + ")", Heading);
}

TMusic::~TMusic() {
  if (FMusic != 0 && SoundSystem) {
    if (FIsStream) SoundSystem->FreeStream(FMusic);
    else SoundSystem->FreeModule(FMusic);
  }
  FBuffer.clear();
  Log->Status("BASS: Music freed.", "MusicUnit, TMusic.Destroy");
}

void TMusic::Play() {
  if (FMusic == 0 || !SoundSystem) return;
  SoundSystem->Play(FMusic, true);
  Log->Status("BASS: Music started.", "MusicUnit, TMusic.Play");
}

void TMusic::Stop() {
  if (FMusic == 0 || !SoundSystem) return;
  SoundSystem->Stop(FMusic);
  Log->Status("BASS: Music stopped.", "MusicUnit, TMusic.Stop");
}

void TMusic::Resume() {
  if (FMusic == 0 || !SoundSystem) return;
  SoundSystem->Play(FMusic, false);
}

void TMusic::SetVolume(float Volume) {
  if (FMusic == 0 || !SoundSystem) return;
  const float V = std::isnan(Volume) ? 0.0f : std::clamp(Volume, 0.0f, 1.0f);
  SoundSystem->SetAttribute(FMusic, TSoundAttribute::Volume, V);
}
