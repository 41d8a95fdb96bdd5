#pragma once
// The editor's mouse objects: the field (left button paints, also while
// dragged; right button clears), one palette cell per tile, and the catcher
// that notes every key pressed. The screen owns them and registers them
// with the dispatcher for as long as it runs.
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/mouse_object.h"

class TEditorField : public TMouseObject {
 public:
  // Cell (X, Y) is under the pixel (TMaps::CellLeft(X), TMaps::CellTop(Y)).
  TEditorField();
  // Paint (true) or clear (false) the cell; Begin and End frame one drag.
  std::function<void(int X, int Y, bool Paint)> OnCell;
  std::function<void()> OnBegin, OnEnd;

  bool MouseDown(int X, int Y, int Button) override;
  bool MouseUp(int X, int Y, int Button) override;
  bool MouseMove(int X, int Y, int State) override;
  bool MouseLeave(int X, int Y, int State) override;
  void Draw() override {}

 private:
  void Cell(int X, int Y, bool Paint);
  int FButton = 0;  // held since a press on the field; 0 when none
};

class TPaletteCell : public TMouseObject {
 public:
  TPaletteCell(int32_t Code, int X, int Y);
  std::function<void(int32_t Code)> OnChoose;
  bool MouseDown(int X, int Y, int Button) override;
  void Draw() override {}
  int32_t Code;
};

// Notes the keys pressed in order; the video layer still sees them.
class TKeyCatcher : public TMouseObject {
 public:
  struct TPress {
    int Key;
    bool Ctrl;  // held when the key went down (it may be let go in the same frame)
  };
  bool KeyDown(int Key) override;
  bool KeyUp(int Key) override;
  void Draw() override {}
  std::vector<TPress> Pressed;

 private:
  bool FLeftCtrl = false, FRightCtrl = false;
};

// Registers the objects with the dispatcher for its lifetime.
class TMouseRegistration {
 public:
  explicit TMouseRegistration(std::vector<TMouseObject*> Objects);
  ~TMouseRegistration();
  TMouseRegistration(const TMouseRegistration&) = delete;
  TMouseRegistration& operator=(const TMouseRegistration&) = delete;

 private:
  std::vector<TMouseObject*> FObjects;
};
