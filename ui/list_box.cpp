#include "ui/list_box.h"

#include "graphics/font.h"
#include "graphics/image.h"
#include "graphics/video.h"
#include "shell/logger.h"
#include "shell/toolbox.h"

namespace {

void Fill(int X1, int Y1, int X2, int Y2, const TColor3& C) {
  VX_SDL::FillBox(X1, Y1, X2, Y2, static_cast<uint8_t>(C.R), static_cast<uint8_t>(C.G), static_cast<uint8_t>(C.B));
}

bool Held(const TKeyRecord& Key) {
  auto Down = [](uint16_t K) { return K < VX_SDL::kKeyCount && VX_SDL::Keys[K]; };
  return Down(Key.Key) || Down(Key.Alternative);
}

// The arrow's columns: their heights and the first column, by bar width.
struct TArrowColumns {
  std::vector<int> Heights;
  int First;
};
TArrowColumns ArrowColumns(int Width) {
  switch (Width) {
    case 4: return {{3, 6}, 1};
    case 5: return {{3, 6, 3}, 1};
    case 6: return {{2, 4, 6, 3}, 1};
    case 7: return {{2, 4, 6, 4, 2}, 1};
    default: return {{2, 4, 6, 6, 4, 2}, (Width - 6) / 2};
  }
}

}  // namespace

TListBox::TListBox() {
  Kind = "ListBox";
  SetupPending = true;
}

TListBox::~TListBox() = default;

void TListBox::ApplySettings() {
  TextAlign = ApplyBox(TextX);
  Font = FontByNumber(GetInt("Font"));
  RowHeight = GetInt("RowHeight");
  TextOffsetY = GetInt("TextOffsetY") + (RowHeight - (Font ? Font->Height : 0)) / 2;
  // A row height of 0 (or less) shows no rows rather than dividing by zero.
  VisibleRows = RowHeight > 0 ? (Bottom - Top + 1) / RowHeight : 0;
  auto Color = [this](const char* Key, TColor3 Default) {
    if (!HasKey(Key)) return Default;
    const TRGB C = VXToolbox::ParseColor(GetValue(Key));
    return TColor3{C.R, C.G, C.B};
  };
  Background = Color("Background", {0, 0, 0});
  Cursor1 = Color("Cursor1", {40, 0, 0});
  Cursor2 = Color("Cursor2", {80, 40, 0});
  Background2 = Color("Background2", Background);
  SBWidth = 0;
  UpArrow.reset();
  DownArrow.reset();
  if (HasKey("ScrollBar")) {
    SBWidth = GetInt("ScrollBar");
    if (SBWidth < 4) SBWidth = 0;
    Log->TraceNumber(SBWidth);
    if (Bottom - Top < 32) SBWidth = 0;
    Log->TraceNumber(SBWidth);
    if (Right - SBWidth <= Left) SBWidth = 0;
    Log->TraceNumber(SBWidth);
    if (SBWidth != 0) {
      SBColor1 = Color("SBColor1", {255, 255, 255});
      SBColor2 = Color("SBColor2", {0, 0, 0});
      MakeArrows();
    }
  }
  for (auto [Record, Key] :
       {std::pair{&KeyUp, "KeyUp"}, {&KeyDown, "KeyDown"}, {&KeySelect, "KeySelect"}, {&KeyEscape, "KeyEscape"}}) {
    Record->Key = static_cast<uint16_t>(GetInt(Key));
    Record->Alternative = Record->Key;
  }
  SetupPending = false;
}

void TListBox::MakeArrows() {
  UpArrow = std::make_unique<TImage>(SBWidth, 8);
  DownArrow = std::make_unique<TImage>(SBWidth, 8);
  const TArrowColumns Columns = ArrowColumns(SBWidth);
  const auto R1 = static_cast<uint8_t>(SBColor1.R), G1 = static_cast<uint8_t>(SBColor1.G),
             B1 = static_cast<uint8_t>(SBColor1.B);
  for (TImage* Arrow : {UpArrow.get(), DownArrow.get()})
    Arrow->Bar(0, 0, SBWidth, 8, static_cast<uint8_t>(SBColor2.R), static_cast<uint8_t>(SBColor2.G),
               static_cast<uint8_t>(SBColor2.B));
  int X = Columns.First;
  for (int H : Columns.Heights) {
    // The image clips what runs past its last row.
    UpArrow->VerticalLine(X, 7 - H, 6, R1, G1, B1);
    DownArrow->VerticalLine(X, 1, H, R1, G1, B1);
    ++X;
  }
}

TColor3 TListBox::CursorColor() const {
  auto Mix = [this](int32_t A, int32_t B) { return A + (B - A) * Phase / 32; };
  return {Mix(Cursor1.R, Cursor2.R), Mix(Cursor1.G, Cursor2.G), Mix(Cursor1.B, Cursor2.B)};
}

void TListBox::Draw() {
  if (SetupPending) ApplySettings();
  Fill(Left, Top, Right - SBWidth, Bottom, Background);
  ForEachRow([this](int32_t Index, int32_t Y) {
    const int32_t RowRight = Right - SBWidth, RowBottom = Y + RowHeight - 1;
    if (Index % 2 == 1) Fill(Left, Y, RowRight, RowBottom, Background2);
    if (Index == ItemIndex) Fill(Left, Y, RowRight, RowBottom, CursorColor());
    if (Font) Font->DrawText(Items[static_cast<size_t>(Index)], TextX, Y + TextOffsetY, TextAlign);
  });
  if (SBWidth > 3) DrawScrollBar();
}

void TListBox::DrawScrollBar() const {
  const int32_t X = Right - SBWidth + 1;
  if (UpArrow) VX_SDL::PutImage(X, Top, *UpArrow);
  Fill(X, Top + 8, Right, Bottom - 8, SBColor1);
  if (DownArrow) VX_SDL::PutImage(X, Bottom - 7, *DownArrow);
  const auto Count = static_cast<int32_t>(Items.size());
  const int32_t ThumbTop = Count > 1 ? Top + 9 + ItemIndex * (Bottom - 26 - Top) / (Count - 1) : Top + 9;
  Fill(X + 1, ThumbTop, Right - 1, ThumbTop + 7, SBColor2);
}

bool TListBox::Move(const TKeyRecord& Key, int32_t Step) {
  const int32_t Target = ItemIndex + Step;
  if (!Held(Key) || Target < 0 || Target > static_cast<int32_t>(Items.size()) - 1) return false;
  ItemIndex = Target;
  if (Step < 0 && ItemIndex < TopIndex) TopIndex = ItemIndex;
  if (Step > 0 && ItemIndex > TopIndex + VisibleRows - 1) TopIndex = ItemIndex - VisibleRows + 1;
  // A second move in the same frame (Up and Down together) counts as a repeat.
  RepeatDelay = RepeatDelay == kIdle ? kFirstRepeat : kNextRepeat;
  return true;
}

void TListBox::Update() {
  Phase += PhaseDir == 1 ? 1 : -1;
  if (Phase >= 32 || Phase <= 0) PhaseDir = PhaseDir == 1 ? 0 : 1;
  if (RepeatDelay == 0 || RepeatDelay == kIdle) {
    Move(KeyUp, -1);
    Move(KeyDown, 1);
    if (RepeatDelay == 0) RepeatDelay = kIdle;
  } else {
    --RepeatDelay;
  }
}

void TListBox::SetItemIndex(int32_t Index) {
  if (SetupPending) ApplySettings();
  ItemIndex = Index;
  TopIndex = 0;
  if (Index > VisibleRows - 1) TopIndex = Index - VisibleRows + 1;
}
