#include "game/options_hotkey.h"

#include "game/options_screen.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"

bool OptionsOnF12() {
  if (!VX_SDL::Keys[VXKey::F12]) return false;
  if (Options) Options->Run();
  // A key still held after the options closed must not open them again.
  VX_SDL::Keys[VXKey::F12] = false;
  return true;
}
