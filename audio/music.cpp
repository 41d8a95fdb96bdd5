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

TMusic::TMusic(const std::string& Name) : FName(Name) { Load(); }

void TMusic::Load() {
  const std::string& Name = FName;
  TSoundResource Resource;
  bool Found = true;
  FIsStream = IsMp3Name(Name);
  if (FIsStream) {
    if (SoundIsCompressed(Name, Resource)) Found = CopyIntoMemory(Name, Resource);
    if (Found && SoundSystem) FMusic = SoundSystem->CreateStream(Resource.Where, SoundFlags::Loop);
  } else {
    Found = CopyIntoMemory(Name, Resource);
    // The song is read again from its resource each time it starts: a silent
    // song holds no memory (the game's eight held 2.6 MB).
    const auto Again = [Name] {
      TSoundResource Again;
      CopyIntoMemory(Name, Again);
      return std::move(Again.Buffer);
    };
    if (Found && SoundSystem)
      FMusic = SoundSystem->LoadModule(Resource.Where, SoundFlags::Loop | SoundFlags::Ramping, 0, Again);
  }
  FBufferSize = Resource.BufferSize;
  const char* Heading = "MusicUnit, TMusic.Create";
  if (FMusic == 0) {
    Log->Error("BASS: Loading " + Name + " failed", Heading);
    return;
  }
  // The stream reads this block while it plays; it moves here unchanged. A
  // module reads its resource again when it starts.
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

bool TMusic::LoadLate() {
  if (FMusic != 0) return true;
  Load();
  if (FMusic == 0) return false;
  if (FVolume >= 0) SetVolume(FVolume);
  if (FWanted) Play();
  return true;
}

void TMusic::Play() {
  FWanted = true;
  if (FMusic == 0 || !SoundSystem) return;
  SoundSystem->Play(FMusic, true);
  Log->Status("BASS: Music started.", "MusicUnit, TMusic.Play");
}

void TMusic::Stop() {
  FWanted = false;
  if (FMusic == 0 || !SoundSystem) return;
  SoundSystem->Stop(FMusic);
  Log->Status("BASS: Music stopped.", "MusicUnit, TMusic.Stop");
}

void TMusic::Resume() {
  FWanted = true;
  if (FMusic == 0 || !SoundSystem) return;
  SoundSystem->Play(FMusic, false);
}

void TMusic::SetVolume(float Volume) {
  const float V = std::isnan(Volume) ? 0.0f : std::clamp(Volume, 0.0f, 1.0f);
  FVolume = V;
  if (FMusic == 0 || !SoundSystem) return;
  SoundSystem->SetAttribute(FMusic, TSoundAttribute::Volume, V);
}
