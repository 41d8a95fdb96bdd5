#pragma once
// TMouseObject: a screen rectangle that takes input events through virtual
// operations. The default mouse operations queue their command texts on the
// event-command queue (ui/mouse_objects.h).
#include <cstdint>
#include <string>

#include "graphics/video.h"

class TMouseObject {
 public:
  static constexpr const char* kVersion = "VXMouse, version 1.01";

  TMouseObject() = default;
  virtual ~TMouseObject() = default;
  TMouseObject(const TMouseObject&) = delete;
  TMouseObject& operator=(const TMouseObject&) = delete;

  // Inside the inclusive rectangle; the coordinates are taken as 16-bit.
  bool Contains(int X, int Y) const;

  // Routes an event to the operation of its kind; mouse coordinates are
  // halved under the doubled mode. False when disabled or not taken.
  virtual bool HandleEvent(const VX_SDL::TInputEvent& Event, bool P2x2);
  virtual bool MouseDown(int X, int Y, int Button);
  virtual bool MouseUp(int X, int Y, int Button);
  virtual bool MouseMove(int X, int Y, int State);
  virtual bool MouseEnter(int X, int Y, int State);
  virtual bool MouseLeave(int X, int Y, int State);
  virtual bool Click(int X, int Y, int Button);
  virtual bool KeyDown(int Key);
  virtual bool KeyUp(int Key);
  virtual void Draw() = 0;

  int32_t Left = -1, Top = 0;
  int32_t Right = 0, Bottom = 0;  // inclusive
  bool Inside = false;
  bool KeyTaken = false;
  std::string OnClick, OnMouseDown, OnMouseUp, OnMouseEnter, OnMouseLeave, OnMouseMove;
  std::string Name;
  bool Clicked = false;
  bool Enabled = true;
};
