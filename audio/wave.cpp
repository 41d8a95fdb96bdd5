#include "audio/wave.h"

#include "audio/sound_resource.h"
#include "audio/vx_audio.h"
#include "shell/logger.h"

TWave::TWave(const std::string& Name, bool Looped, int32_t Max) {
  const char* Heading = "WaveUnit, TWave.Create";
  TSoundResource Resource;
  const uint32_t Flags = SoundFlags::TakeOverOldest | (Looped ? SoundFlags::Loop : 0);
  bool Found = true;
  if (!SoundIsCompressed(Name, Resource)) {
    Log->Debug("Not compressed", Heading);
  } else {
    Log->Debug("Compressed", Heading);
    Found = CopyIntoMemory(Name, Resource);
  }
  if (Found && SoundSystem) FWave = SoundSystem->LoadSample(Resource.Where, Max, Flags);
  if (FWave != 0) {
    FBuffer = std::move(Resource.Buffer);
    FBufferSize = Resource.BufferSize;
    Log->Debug("BASS: Loading " + Name + " was successful. (fWave=" + std::to_string(FWave) + ")", Heading);
  } else {
    // A failed sample keeps nothing: the block would never be read.
    FBufferSize = Resource.BufferSize;
    Log->Error("BASS: Loading " + Name + " failed", Heading);
  }
}

TWave::~TWave() {
  if (FWave != 0 && SoundSystem) SoundSystem->FreeSample(FWave);
  FBuffer.clear();
  Log->Status("BASS: Wave freed.", "WaveUnit, TWave.Destroy");
}

void TWave::Play() {
  if (FWave == 0 || !SoundSystem) return;
  const TSoundHandle Channel = SoundSystem->SampleChannel(FWave, false);
  if (Channel == 0 || !SoundSystem->Play(Channel, false))
    Log->Error("BASS: Could not play sample!", "WaveUnit, TWave.Play");
}

template <typename TChange>
void TWave::ChangeInfo(TChange Change) {
  // A zero handle is refused by the sound system like any unknown one.
  if (!SoundSystem) return;
  TSampleInfo Info;
  if (!SoundSystem->GetSampleInfo(FWave, Info)) return;
  Change(Info);
  SoundSystem->SetSampleInfo(FWave, Info);
}

void TWave::SetFrequency(int32_t Frequency) {
  ChangeInfo([Frequency](TSampleInfo& I) { I.Frequency = Frequency; });
}
void TWave::SetVolume(float Volume) {
  ChangeInfo([Volume](TSampleInfo& I) { I.Volume = Volume; });
}
void TWave::SetPan(float Pan) {
  ChangeInfo([Pan](TSampleInfo& I) { I.Pan = Pan; });
}
