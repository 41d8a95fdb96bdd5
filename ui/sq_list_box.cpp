#include "ui/sq_list_box.h"

#include "graphics/font_collection.h"
#include "graphics/video.h"

namespace {
void Fill(int X1, int Y1, int X2, int Y2, const TColor3& C) {
  VX_SDL::FillBox(X1, Y1, X2, Y2, static_cast<uint8_t>(C.R), static_cast<uint8_t>(C.G), static_cast<uint8_t>(C.B));
}
}  // namespace

void TSQListBox::Draw() {
  if (SetupPending) ApplySettings();
  Fill(Left, Top, Right, Bottom, Background);
  ForEachRow([this](int32_t Index, int32_t Y) {
    if (Index == ItemIndex) Fill(Left, Y, Right, Y + RowHeight - 1, CursorColor());
    if (FontCollection) FontCollection->DrawText(Items[static_cast<size_t>(Index)], TextX, Y + TextOffsetY, TextAlign);
  });
}
