#include "game/list_screen.h"

#include "game/help_overlay.h"
#include "game/options_hotkey.h"
#include "graphics/font_collection.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "registry/player_name.h"
#include "shell/web_bridge.h"
#include "ui/edit_box.h"
#include "ui/list_box.h"

namespace {

void StartScreen(const TScreenTitle& Title) {
  VXWeb::NoteScreen(Title.Text);
  VX_SDL::ClearKeys();
  VX_SDL::FillBox(0, 0, 639, 479, 0, 0, 0);
  if (FontCollection)
    if (TFont* F = FontCollection->Font(Title.Font)) F->DrawText(Title.Text, 320, Title.Y, kAlignCenter);
}

// Under the list box of the list screens, clear of its last row.
constexpr int kPromptY = 452;
// Under the name entry.
constexpr int kRefusalY = 290;

void DrawLine(const std::string& Text, int Font, int Y) {
  VX_SDL::FillBox(0, Y, 639, Y + 27, 0, 0, 0);
  if (FontCollection)
    if (TFont* F = FontCollection->Font(Font)) F->DrawText(Text, 320, Y, kAlignCenter);
}

int HeldKey(std::initializer_list<int> Keys) {
  for (int K : Keys)
    if (VX_SDL::Keys[static_cast<size_t>(K)]) return K;
  return 0;
}

}  // namespace

TListChoice RunListScreen(const TScreenTitle& Title, const std::string& Placement,
                          const std::vector<std::string>& Items, std::initializer_list<int> EndKeys,
                          const TListScreenExtras& Extras) {
  StartScreen(Title);
  if (Extras.HelpPrompt) DrawLine(kHelpPrompt, 3, kPromptY);
  TListBox List;
  List.Setup(Placement);
  List.Setup("Font=0|TextAlign=Center|TextOffsetY=0|RowHeight=40");
  List.Setup("Background=101010|Cursor1=601000|Cursor2=602040");
  List.Setup("KeyUp=Up|KeyDown=Down|KeySelect=Return|KeyEscape=Escape");
  // Rows name players and pack files: one too long for the box ends in "...".
  constexpr int kRowMargin = 16;
  for (const std::string& Item : Items)
    List.Items.push_back(FontCollection ? FontCollection->FitText(Item, List.GetInt("Width") - 2 * kRowMargin) : Item);
  if (Extras.Start > 0 && Extras.Start < static_cast<int>(Items.size())) List.SetItemIndex(Extras.Start);
  int Key = 0;
  while (Key == 0) {
    List.Draw();
    VX_SDL::Flip();
    VX_SDL::PollEvents();
    List.Update();
    if (OptionsOnF12()) VX_SDL::ClearKeys();
    if (HelpOnH(Extras.Help)) {
      VX_SDL::ClearKeys();
      // Found: the prompt has done its work.
      if (Extras.HelpPrompt) DrawLine("", 3, kPromptY);
    }
    Key = HeldKey(EndKeys);
  }
  return {Key, List.Items.empty() ? -1 : List.GetItemIndex()};
}

std::string RunNameScreen(const TScreenTitle& Title, const TNameCheck& Check) {
  StartScreen(Title);
  TEditBox Edit;
  Edit.Setup("X=0|Y=240|Width=640|Height=30|AlignX=Left|AlignY=Top");
  Edit.Setup("Font=0|TextAlign=Center|TextOffsetY=0|TextCase=Normal");
  Edit.Setup("MaxLength=" + std::to_string(kMaxPlayerName) + "|Background=000000|Transparent=0");
  Edit.Setup("CursorChar=.|CursorBlinkRate=30");
  Edit.ShowCursor = true;
  VX_SDL::ClearKeyBuffer();
  for (;;) {
    while (!Edit.Done) {
      Edit.Draw();
      VX_SDL::Flip();
      VX_SDL::PollEvents();
      Edit.Update();
      // What was typed to leave the options must not reach the name.
      if (OptionsOnF12()) VX_SDL::ClearKeyBuffer();
    }
    if (VX_SDL::Keys[VXKey::Escape]) return "";
    const std::string Why = Check ? Check(Edit.Text) : "";
    if (Why.empty()) return Edit.Text;
    // Refused: the player reads why and mends the name.
    DrawLine(Why, 4, kRefusalY);
    Edit.Done = false;
  }
}
