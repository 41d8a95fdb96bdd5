#pragma once
// TListBox: a vertical list of text rows with a pulsing cursor row that
// scrolls as the cursor moves, moved by configurable keys with key repeat.
// The screens own the loop and decide themselves what Return and Escape do.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/visual_component.h"

class TFont;
class TImage;

// A key and its alternative (set equal to it), as SDL key symbols.
struct TKeyRecord {
  uint16_t Key = 0;
  uint16_t Alternative = 0;
  uint16_t Spare = 0;
};

struct TColor3 {
  int32_t R = 0, G = 0, B = 0;
  bool operator==(const TColor3&) const = default;
};

class TListBox : public TVisualComponent {
 public:
  static constexpr const char* kVersion = "vcc_ListBox, version 3.03a";
  // Frames before a held key moves again, then between further moves, and
  // the mark of no key being held.
  static constexpr uint8_t kFirstRepeat = 15;
  static constexpr uint8_t kNextRepeat = 2;
  static constexpr uint8_t kIdle = 255;

  TListBox();
  ~TListBox() override;

  void Draw() override;
  // One frame of cursor pulse and key handling.
  void Update();
  int32_t GetItemIndex() const { return ItemIndex; }
  // Moves the cursor and scrolls it onto the last visible row when needed.
  void SetItemIndex(int32_t Index);
  // The cursor row's colour at the current pulse phase.
  TColor3 CursorColor() const;

  int TextAlign = 0;
  int32_t RowHeight = 0;
  // Named after the keys they hold; they hide the mouse-object operations of
  // the same names, which no list box receives.
  TKeyRecord KeyUp, KeyDown, KeySelect, KeyEscape;
  TColor3 Background, Cursor1, Cursor2, Background2, SBColor1, SBColor2;
  int32_t ItemIndex = 0;
  int32_t TopIndex = 0;
  TFont* Font = nullptr;  // the font collection's; null draws no text
  int32_t TextX = 0;
  int32_t TextOffsetY = 0;
  int32_t VisibleRows = 0;
  std::vector<std::string> Items;
  uint8_t RepeatDelay = kIdle;
  int32_t Phase = 0;
  uint8_t PhaseDir = 1;
  int32_t SBWidth = 0;
  std::unique_ptr<TImage> UpArrow, DownArrow;

 protected:
  void ApplySettings();
  // Calls Draw for each visible row: its item index and its top.
  template <class TRowDraw>
  void ForEachRow(TRowDraw&& Row) const {
    for (int32_t R = 0; R < VisibleRows && TopIndex + R < static_cast<int32_t>(Items.size()); ++R)
      Row(TopIndex + R, Top + R * RowHeight);
  }

 private:
  void MakeArrows();
  void DrawScrollBar() const;
  // Moves the cursor by one for a held key; true when it moved.
  bool Move(const TKeyRecord& Key, int32_t Step);
};
