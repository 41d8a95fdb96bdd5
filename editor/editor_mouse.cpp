#include "editor/editor_mouse.h"

#include <algorithm>

#include "graphics/key_codes.h"
#include "ui/mouse_objects.h"
#include "world/maps.h"

namespace {
constexpr int kLeftButton = 1;
constexpr int kRightButton = 3;
// Button bits of a motion event's state.
constexpr int kLeftHeld = 1;
constexpr int kRightHeld = 4;
}  // namespace

TEditorField::TEditorField() {
  Name = "editor field";
  Left = TMaps::CellLeft(0);
  Top = TMaps::CellTop(0);
  Right = TMaps::CellLeft(TMaps::kCols) - 1;
  Bottom = TMaps::CellTop(TMaps::kRows) - 1;
}

void TEditorField::Cell(int X, int Y, bool Paint) {
  if (OnCell) OnCell((X - Left) / TMaps::kCellSize, (Y - Top) / TMaps::kCellSize, Paint);
}

bool TEditorField::MouseDown(int X, int Y, int Button) {
  if (Button != kLeftButton && Button != kRightButton) return false;
  FButton = Button;
  if (OnBegin) OnBegin();
  Cell(X, Y, Button == kLeftButton);
  return true;
}

bool TEditorField::MouseUp(int, int, int Button) {
  if (Button != FButton) return false;
  FButton = 0;
  if (OnEnd) OnEnd();
  return true;
}

bool TEditorField::MouseMove(int X, int Y, int State) {
  // A drag paints every cell it passes, as one change to undo.
  if (FButton == kLeftButton && (State & kLeftHeld)) Cell(X, Y, true);
  else if (FButton == kRightButton && (State & kRightHeld)) Cell(X, Y, false);
  return FButton != 0;
}

bool TEditorField::MouseLeave(int, int, int) {
  // The release may happen off the field: the drag ends where it left.
  if (FButton != 0 && OnEnd) OnEnd();
  FButton = 0;
  return false;
}

TPaletteCell::TPaletteCell(int32_t TileCode, int X, int Y) : Code(TileCode) {
  Name = "palette";
  Left = X;
  Top = Y;
  Right = X + 31;
  Bottom = Y + 31;
}

bool TPaletteCell::MouseDown(int, int, int Button) {
  if (Button != kLeftButton) return false;
  if (OnChoose) OnChoose(Code);
  return true;
}

bool TKeyCatcher::KeyDown(int Key) {
  if (Key == VXKey::LeftCtrl) FLeftCtrl = true;
  else if (Key == VXKey::RightCtrl) FRightCtrl = true;
  else Pressed.push_back({Key, FLeftCtrl || FRightCtrl});
  KeyTaken = false;
  return false;
}

bool TKeyCatcher::KeyUp(int Key) {
  if (Key == VXKey::LeftCtrl) FLeftCtrl = false;
  if (Key == VXKey::RightCtrl) FRightCtrl = false;
  KeyTaken = false;
  return false;
}

TMouseRegistration::TMouseRegistration(std::vector<TMouseObject*> Objects) : FObjects(std::move(Objects)) {
  if (MouseObjects)
    for (TMouseObject* O : FObjects) MouseObjects->Items.push_back(O);
}

TMouseRegistration::~TMouseRegistration() {
  if (!MouseObjects) return;
  auto& Items = MouseObjects->Items;
  for (TMouseObject* O : FObjects) Items.erase(std::remove(Items.begin(), Items.end(), O), Items.end());
}
