#include "graphics/video_gamepad.h"

#include <SDL.h>

#include <memory>

#include "graphics/key_codes.h"
#include "shell/logger.h"

namespace VXGamepad {
namespace {
struct TJoystickCloser {
  void operator()(SDL_Joystick* J) const { SDL_JoystickClose(J); }
};

enum TDirection { kLeft, kRight, kUp, kDown, kDirections };
constexpr std::array<int, kDirections> kArrowKeys{VXKey::Left, VXKey::Right, VXKey::Up, VXKey::Down};

struct TPadState {
  std::unique_ptr<SDL_Joystick, TJoystickCloser> Joystick;
  // Each direction is held by the stick, the D-pad or both; its key is let
  // go only when neither holds it any more.
  std::array<bool, kDirections> Stick{}, Hat{};
};
TPadState Pad;

void SetDirections(std::array<bool, kDirections>& Source, const std::array<bool, kDirections>& Now,
                   const std::array<bool, kDirections>& Other, std::array<bool, 512>& Keys) {
  for (int D = 0; D < kDirections; ++D) {
    const bool Before = Source[D] || Other[D];
    Source[D] = Now[D];
    const bool After = Source[D] || Other[D];
    if (Before != After) Keys[kArrowKeys[D]] = After;
  }
}

void SetButton(int Button, bool Down, std::array<bool, 512>& Keys) {
  if (Button == kButtonConfirm) Keys[VXKey::Return] = Keys[VXKey::Space] = Down;
  else if (Button == kButtonBack) Keys[VXKey::Escape] = Down;
  else if (Button == kButtonStart) Keys[VXKey::F12] = Down;
}
}  // namespace

void Open() {
  Close();
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0 || SDL_NumJoysticks() < 1) return;
  Pad.Joystick.reset(SDL_JoystickOpen(0));
  if (!Pad.Joystick) return;
  SDL_JoystickEventState(SDL_ENABLE);
  Log->Status(std::string("Gamepad: ") + SDL_JoystickName(0), "VX_SDL, Initialize");
}

void Close() {
  Pad.Joystick.reset();
  Reset();
  if (SDL_WasInit(SDL_INIT_JOYSTICK)) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void Reset() {
  Pad.Stick.fill(false);
  Pad.Hat.fill(false);
}

bool HandleEvent(const SDL_Event& Event, std::array<bool, 512>& Keys) {
  switch (Event.type) {
    case SDL_JOYAXISMOTION: {
      // The left stick: axis 0 across, axis 1 up and down.
      if (Event.jaxis.which != 0 || Event.jaxis.axis > 1) return true;
      std::array<bool, kDirections> Now = Pad.Stick;
      const int V = Event.jaxis.value;
      if (Event.jaxis.axis == 0) {
        Now[kLeft] = V < -kDeadZone;
        Now[kRight] = V > kDeadZone;
      } else {
        Now[kUp] = V < -kDeadZone;
        Now[kDown] = V > kDeadZone;
      }
      SetDirections(Pad.Stick, Now, Pad.Hat, Keys);
      return true;
    }
    case SDL_JOYHATMOTION: {
      if (Event.jhat.which != 0 || Event.jhat.hat != 0) return true;
      const int V = Event.jhat.value;
      const std::array<bool, kDirections> Now{(V & SDL_HAT_LEFT) != 0, (V & SDL_HAT_RIGHT) != 0, (V & SDL_HAT_UP) != 0,
                                              (V & SDL_HAT_DOWN) != 0};
      SetDirections(Pad.Hat, Now, Pad.Stick, Keys);
      return true;
    }
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      if (Event.jbutton.which == 0) SetButton(Event.jbutton.button, Event.type == SDL_JOYBUTTONDOWN, Keys);
      return true;
    case SDL_JOYBALLMOTION: return true;
    default: return false;
  }
}

}  // namespace VXGamepad
