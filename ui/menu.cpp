#include "ui/menu.h"

#include <algorithm>

#include "graphics/font.h"
#include "graphics/video.h"
#include "shell/logger.h"
#include "shell/toolbox.h"

namespace {
constexpr const char* kFillHeading = "vcc_Menu, TMenu.FillItems";
}  // namespace

TMenu::TMenu() {
  Kind = "Menu";
  Reset();
}

TMenu::~TMenu() { Reset(); }

void TMenu::Reset() {
  ClearSetup();
  Lines.clear();
  Visible.clear();
  Selected = 0;
  SetupPending = true;
}

void TMenu::ApplySettings() {
  TextAlign = ApplyBox(TextX);
  auto Raw = [this](const char* Key) {
    const std::string V = GetValue(Key);
    return V.empty() ? -1 : static_cast<int32_t>(VXToolbox::HexToInt(V));
  };
  Background = Raw("Background");
  SelectedBackground = Raw("SelectedBackground");
  HeaderBackground = Raw("HeaderBackground");
  CycleOptions = GetBool("CycleOptions");
  Font1 = FontByNumber(GetInt("Font1"));
  Font2 = FontByNumber(GetInt("Font2"));
  Font3 = FontByNumber(GetInt("Font3"));
  RowHeight = GetInt("RowHeight");
  TextOffsetY = GetInt("TextOffsetY") + (RowHeight - (Font1 ? Font1->Height : 0)) / 2;
  VisibleRows = RowHeight > 0 ? (Bottom - Top + 1) / RowHeight : 0;
  KeyUp = static_cast<uint16_t>(GetInt("KeyUp"));
  KeyDown = static_cast<uint16_t>(GetInt("KeyDown"));
  KeyLeft = static_cast<uint16_t>(GetInt("KeyLeft"));
  KeyRight = static_cast<uint16_t>(GetInt("KeyRight"));
  KeySelect = static_cast<uint16_t>(GetInt("KeySelect"));
  KeyEscape = static_cast<uint16_t>(GetInt("KeyEscape"));
  Lines.clear();
  for (const std::string& Item : GetValues("Item")) Lines.push_back(ParseMenuRow(Item));
  for (const std::string& Value : GetValues("ItemExt")) AddExtendedRows(VXToolbox::Trim(Value));
  ShowLevel(-1);
  Selected = HeaderCount;
  SetupPending = false;
  Finished = false;
}

void TMenu::AddExtendedRows(std::string Value) {
  int32_t Parent = -1;
  while (!Value.empty()) {
    const std::string Token = TakeMenuToken(Value);
    if (Token == ">") {
      Levels.Push4(Parent);
      Parent = static_cast<int32_t>(Lines.size()) - 1;
      if (!Lines.empty()) Lines.back().HasChildren = true;
    } else if (Token == "<") {
      if (Levels.Count() >= 4) Parent = Levels.Pop4();
    } else {
      TLineData Row = ParseMenuRow(Token);
      Row.Parent = Parent;
      Lines.push_back(std::move(Row));
    }
  }
}

void TMenu::ShowLevel(int32_t Parent) {
  Log->Debug("Parent=" + std::to_string(Parent), kFillHeading);
  Visible.clear();
  HeaderCount = 0;
  for (size_t I = 0; I < Lines.size(); ++I)
    if (Lines[I].Parent == Parent) {
      Visible.push_back(static_cast<int32_t>(I));
      Log->Debug("Item added: " + std::to_string(I), kFillHeading);
      if (Lines[I].LineKind == kLineHeader) ++HeaderCount;
    }
  // Headers first, each group in its own order.
  std::stable_partition(Visible.begin(), Visible.end(),
                        [this](int32_t I) { return Lines[static_cast<size_t>(I)].LineKind == kLineHeader; });
}

TLineData* TMenu::SelectedRow() {
  if (Selected < 0 || Selected >= static_cast<int32_t>(Visible.size())) return nullptr;
  return &Lines[static_cast<size_t>(Visible[static_cast<size_t>(Selected)])];
}

void TMenu::Draw() {
  ApplyPending();
  for (size_t I = 0; I < Visible.size(); ++I) {
    const TLineData& Row = Lines[static_cast<size_t>(Visible[I])];
    const int32_t Y = Top + static_cast<int32_t>(I) * RowHeight;
    const bool IsSelected = static_cast<int32_t>(I) == Selected;
    int32_t Fill = IsSelected ? SelectedBackground : Background;
    TFont* Font = IsSelected ? Font2 : Font1;
    if (Row.LineKind == kLineHeader) {
      Font = Font3;
      if (HeaderBackground != -1) Fill = HeaderBackground;
    }
    if (Fill != -1) VX_SDL::FillBoxRaw(Left, Y, Right, Y + RowHeight - 1, static_cast<uint32_t>(Fill));
    std::string Text = Row.Caption;
    if (Row.LineKind == kLineOption && Row.OptionIndex >= 0 &&
        Row.OptionIndex < static_cast<int32_t>(Row.OptionNames.size()))
      Text += Row.OptionNames[static_cast<size_t>(Row.OptionIndex)];
    if (Font) Font->DrawText(Text, TextX, Y + TextOffsetY, TextAlign);
  }
}

bool TMenu::Held(uint16_t Key) { return Key < VX_SDL::kKeyCount && VX_SDL::Keys[Key]; }

void TMenu::Release(uint16_t Key) {
  if (Key < VX_SDL::kKeyCount) VX_SDL::Keys[Key] = false;
}

void TMenu::StepOption(TLineData& Row, int32_t Step) const {
  const auto Last = static_cast<int32_t>(Row.OptionNames.size()) - 1;
  Row.OptionIndex += Step;
  if (Row.OptionIndex < 0) Row.OptionIndex = CycleOptions ? Last : 0;
  else if (Row.OptionIndex > Last) Row.OptionIndex = CycleOptions ? 0 : Last;
  Row.OptionIndex = std::max(Row.OptionIndex, 0);  // an option without values stays at 0
}

void TMenu::Update() {
  ApplyPending();
  if (Finished) return;
  if (Held(KeyUp) && Selected > HeaderCount) {
    --Selected;
    Release(KeyUp);
  }
  if (Held(KeyDown) && Selected < static_cast<int32_t>(Visible.size()) - 1) {
    ++Selected;
    Release(KeyDown);
  }
  for (auto [Key, Step] : {std::pair{KeyLeft, -1}, {KeyRight, 1}}) {
    TLineData* Row = SelectedRow();
    if (Held(Key) && Row && Row->LineKind == kLineOption) {
      StepOption(*Row, Step);
      Release(Key);
    }
  }
  if (Held(KeySelect)) {
    TLineData* Row = SelectedRow();
    if (Row && Row->HasChildren) {
      ShowLevel(Visible[static_cast<size_t>(Selected)]);
      Selected = HeaderCount;
    } else {
      Finished = true;
      ExitKey = KeySelect;
    }
    Release(KeySelect);
  }
  if (Held(KeyEscape)) {
    TLineData* Row = SelectedRow();
    if (!Row || Row->Parent == -1) {
      Finished = true;
      ExitKey = KeyEscape;
    } else {
      const int32_t Opener = Row->Parent;
      ShowLevel(Lines[static_cast<size_t>(Opener)].Parent);
      Selected = static_cast<int32_t>(std::find(Visible.begin(), Visible.end(), Opener) - Visible.begin());
    }
    Release(KeyEscape);
  }
}

std::string TMenu::SelectedId() const {
  if (Selected < 0 || Selected >= static_cast<int32_t>(Visible.size())) return "";
  return Lines[static_cast<size_t>(Visible[static_cast<size_t>(Selected)])].Id;
}

std::string TMenu::GetOption(const std::string& OptionId) const {
  for (const TLineData& Row : Lines)
    if (Row.LineKind == kLineOption && Row.Id == OptionId) {
      if (Row.OptionIndex < 0 || Row.OptionIndex >= static_cast<int32_t>(Row.OptionValues.size())) return "";
      return Row.OptionValues[static_cast<size_t>(Row.OptionIndex)];
    }
  return "";
}

void TMenu::SetOption(const std::string& OptionId, const std::string& Value) {
  ApplyPending();
  for (TLineData& Row : Lines)
    if (Row.LineKind == kLineOption && Row.Id == OptionId) {
      const auto It = std::find(Row.OptionValues.begin(), Row.OptionValues.end(), Value);
      if (It != Row.OptionValues.end()) Row.OptionIndex = static_cast<int32_t>(It - Row.OptionValues.begin());
      return;
    }
}

void TMenu::SelectById(const std::string& RowId) {
  ApplyPending();
  for (size_t I = 0; I < Lines.size(); ++I)
    if (Lines[I].Id == RowId) {
      ShowLevel(Lines[I].Parent);
      Selected =
          static_cast<int32_t>(std::find(Visible.begin(), Visible.end(), static_cast<int32_t>(I)) - Visible.begin());
      return;
    }
}
