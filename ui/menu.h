#pragma once
// TMenu: a keyboard menu of rows read from setup strings: items that end the
// menu when chosen, options whose value moves left and right through a fixed
// list, headers that cannot be selected, and nested submenus (">" opens the
// last row's submenu, "<" closes it).
#include <cstdint>
#include <string>
#include <vector>

#include "ui/menu_rows.h"
#include "ui/stack.h"
#include "ui/visual_component.h"

class TFont;

class TMenu : public TVisualComponent {
 public:
  static constexpr const char* kVersion = "vcc_Menu, version 2.11c";

  TMenu();
  ~TMenu() override;

  // Forgets the settings and the rows.
  void Reset();
  void Draw() override;
  // One frame: each held key acts once per press.
  void Update();
  // Id of the selected row ("" when the level is empty).
  std::string SelectedId() const;
  // The current value of the first option row with that Id, or "".
  std::string GetOption(const std::string& OptionId) const;
  // Moves that option to the value; nothing when either is unknown.
  void SetOption(const std::string& OptionId, const std::string& Value);
  // Shows the level holding the first row with that Id and selects it.
  void SelectById(const std::string& RowId);

  TFont *Font1 = nullptr, *Font2 = nullptr, *Font3 = nullptr;  // normal, selected, header
  int TextAlign = 0;
  int32_t TextOffsetY = 0;
  int32_t RowHeight = 0;
  // Named after the keys they hold; they hide the mouse-object operations of
  // the same names, which no menu receives.
  uint16_t KeyUp = 0, KeyDown = 0, KeyLeft = 0, KeyRight = 0, KeySelect = 0, KeyEscape = 0;
  // Raw pixel values; -1 draws no fill.
  int32_t Background = -1, SelectedBackground = -1, HeaderBackground = -1;
  int32_t TextX = 0;
  std::vector<TLineData> Lines;
  std::vector<int32_t> Visible;  // indices into Lines of the level shown, headers first
  int32_t VisibleRows = 0;
  bool CycleOptions = false;
  TStack Levels;
  int32_t Selected = 0;  // index into Visible
  bool Finished = false;
  uint16_t ExitKey = 0;
  int32_t HeaderCount = 0;

 private:
  void ApplySettings();
  void ApplyPending() {
    if (SetupPending) ApplySettings();
  }
  // Reads one ItemExt value token by token.
  void AddExtendedRows(std::string Value);
  // Shows the rows whose parent is Parent.
  void ShowLevel(int32_t Parent);
  // The selected row, or null.
  TLineData* SelectedRow();
  static bool Held(uint16_t Key);
  // Marks a key released once it has acted, so that it acts once per press.
  static void Release(uint16_t Key);
  void StepOption(TLineData& Row, int32_t Step) const;
};
