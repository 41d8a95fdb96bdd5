#include "audio/sound_device.h"

#include <SDL.h>

std::unique_ptr<TSoundDevice> TSoundDevice::Open(int Rate, TFill Fill, void* User, std::string& Error) {
  std::unique_ptr<TSoundDevice> D(new TSoundDevice);
  D->FFill = Fill;
  D->FUser = User;
  const bool InitHere = SDL_WasInit(SDL_INIT_AUDIO) == 0;
  if (InitHere) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
      Error = SDL_GetError();
      return nullptr;
    }
  }
  SDL_AudioSpec Want{};
  Want.freq = Rate;
  Want.format = AUDIO_S16SYS;
  Want.channels = 2;
  // 2048 frames (46 ms) a fill: the audio thread wakes 21.5 times a second
  // instead of 43, and each wake-up costs about as much as mixing a block.
  Want.samples = 2048;
  Want.callback = Callback;
  Want.userdata = D.get();
  // No "obtained" format: SDL converts to whatever the hardware wants.
  if (SDL_OpenAudio(&Want, nullptr) < 0) {
    Error = SDL_GetError();
    if (InitHere) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  char Name[64] = {};
  if (SDL_AudioDriverName(Name, sizeof Name)) D->FDriver = Name;
  SDL_PauseAudio(0);
  return D;
}

// SDL 1.2's close also shuts the audio subsystem down; it waits for the audio
// thread, and is harmless after the video layer has quit SDL as a whole.
TSoundDevice::~TSoundDevice() { SDL_CloseAudio(); }

void TSoundDevice::Lock() { SDL_LockAudio(); }
void TSoundDevice::Unlock() { SDL_UnlockAudio(); }

void TSoundDevice::Callback(void* User, uint8_t* Stream, int Length) {
  auto* D = static_cast<TSoundDevice*>(User);
  D->FFill(D->FUser, reinterpret_cast<int16_t*>(Stream), static_cast<size_t>(Length) / 4);
}
