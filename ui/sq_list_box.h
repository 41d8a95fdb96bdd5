#pragma once
// TSQListBox: the game's list box, drawn without alternate shading and
// without a scroll bar, its texts written through the font collection so
// that an item can switch colours with font-selection characters.
#include "ui/list_box.h"

class TSQListBox : public TListBox {
 public:
  static constexpr const char* kVersion = "SQListBoxUnit, version 1.0";

  void Draw() override;
};
