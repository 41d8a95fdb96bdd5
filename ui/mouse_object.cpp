#include "ui/mouse_object.h"

#include "ui/mouse_objects.h"

using VX_SDL::TInputKind;

bool TMouseObject::Contains(int X, int Y) const {
  const int UX = static_cast<uint16_t>(X), UY = static_cast<uint16_t>(Y);
  return Left <= UX && UX <= Right && Top <= UY && UY <= Bottom;
}

bool TMouseObject::HandleEvent(const VX_SDL::TInputEvent& Event, bool P2x2) {
  if (!Enabled) return false;
  const int X = P2x2 ? Event.X >> 1 : Event.X;
  const int Y = P2x2 ? Event.Y >> 1 : Event.Y;
  switch (Event.Kind) {
    case TInputKind::KeyDown: return KeyDown(Event.Key);
    case TInputKind::KeyUp: return KeyUp(Event.Key);
    case TInputKind::MouseDown: return Contains(X, Y) && MouseDown(X, Y, Event.Button);
    case TInputKind::MouseUp: return Contains(X, Y) && MouseUp(X, Y, Event.Button);
    case TInputKind::MouseMotion: {
      bool Result = false;
      if (Contains(X, Y)) {
        Result = MouseMove(X, Y, Event.State);
        if (!Inside) {
          Result = MouseEnter(X, Y, Event.State);
          Inside = true;
        }
      } else if (Inside) {
        Result = MouseLeave(X, Y, Event.State);
        Inside = false;
      }
      return Result;
    }
    case TInputKind::Other: break;
  }
  return false;
}

bool TMouseObject::MouseDown(int, int, int) {
  QueueEventCommand(OnMouseDown);
  return true;
}

bool TMouseObject::MouseUp(int X, int Y, int Button) {
  QueueEventCommand(OnMouseUp);
  Clicked = true;
  Click(X, Y, Button);
  return true;
}

bool TMouseObject::MouseMove(int, int, int) {
  QueueEventCommand(OnMouseMove);
  return true;
}

bool TMouseObject::MouseEnter(int, int, int) {
  QueueEventCommand(OnMouseEnter);
  return true;
}

bool TMouseObject::MouseLeave(int, int, int) {
  QueueEventCommand(OnMouseLeave);
  return true;
}

bool TMouseObject::Click(int, int, int) {
  QueueEventCommand(OnClick);
  return true;
}

bool TMouseObject::KeyDown(int) {
  KeyTaken = false;
  return false;
}

bool TMouseObject::KeyUp(int) {
  KeyTaken = false;
  return false;
}
