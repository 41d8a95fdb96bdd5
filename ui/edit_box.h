#pragma once
// TEditBox: a one-line text entry fed from the video layer's typed-character
// buffer, with a letter-case rule, a length limit, Backspace, an optional
// password mask and a blinking cursor. Return and Escape end it; the caller
// tells them apart by the held keys.
#include <cstdint>
#include <string>

#include "ui/visual_component.h"

class TFont;

class TEditBox : public TVisualComponent {
 public:
  static constexpr const char* kVersion = "vcc_EditBox, version 3.05a";

  TEditBox();

  void Draw() override;
  // One frame: takes at most one typed character.
  virtual void Update();
  // Draws, flips and updates until Return or Escape.
  virtual void Run();

  int TextAlign = 0;  // 0 left, 1 centre, 2 right
  int TextCase = 0;   // 0 as typed, 1 upper, 2 lower
  char PasswordChar = 0;
  char CursorChar = '_';
  int32_t MaxLength = 0;
  int32_t Background[3] = {0, 0, 0};
  bool Transparent = false;
  uint16_t BoxTop = 0, BoxLeft = 0, BoxRight = 0, BoxBottom = 0;
  int32_t TextX = 0, TextY = 0;
  TFont* Font = nullptr;  // the font collection's; null draws no text
  bool ShowCursor = false;
  int32_t CursorBlinkRate = 60;
  int32_t BlinkCounter = 0;
  std::string Text;
  bool Done = false;

 private:
  void ApplySettings();
  // The text as shown: itself or the mask.
  std::string Shown() const;
};
