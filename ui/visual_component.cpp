#include "ui/visual_component.h"

#include "config/setup_command.h"
#include "graphics/font_collection.h"
#include "shell/toolbox.h"

namespace {
// Every component ever created has its own number.
int32_t IdCounter = 0;
}  // namespace

TVisualComponent::TVisualComponent() : Id(IdCounter++) {}

int32_t TVisualComponent::NextId() { return IdCounter; }

void TVisualComponent::Setup(std::string_view Text) {
  SetupPending = true;
  SetupCommands->Parse(Kind, Prefix(), Text);
}

void TVisualComponent::ClearSetup() {
  // A component freed after the store's module stopped has nothing left to clear.
  if (SetupCommands) SetupCommands->Clear(Prefix());
}

bool TVisualComponent::HasKey(std::string_view Key) const { return SetupCommands->HasKey(Prefix(), Key); }

std::string TVisualComponent::GetValue(std::string_view Key) const { return SetupCommands->GetValue(Prefix(), Key); }

std::vector<std::string> TVisualComponent::GetValues(std::string_view Key) const {
  return SetupCommands->GetValues(Prefix(), Key);
}

int32_t TVisualComponent::GetInt(std::string_view Key) const {
  const std::string V = GetValue(Key);
  // Only an optional minus and digits make an integer ("1.5" does not).
  const size_t Start = !V.empty() && V[0] == '-' ? 1 : 0;
  if (V.size() == Start || V.size() > 11) return 0;
  for (size_t I = Start; I < V.size(); ++I)
    if (V[I] < '0' || V[I] > '9') return 0;
  const long long N = std::stoll(V);
  return N < INT32_MIN || N > INT32_MAX ? 0 : static_cast<int32_t>(N);
}

bool TVisualComponent::GetBool(std::string_view Key) const {
  const std::string V = VXToolbox::UpperCase(GetValue(Key));
  return V == "YES" || V == "Y" || V == "I" || V == "TRUE" || V == "1";
}

char TVisualComponent::GetChar(std::string_view Key) const {
  const std::string V = GetValue(Key);
  return V.empty() ? '\0' : V[0];
}

int TVisualComponent::MapAlign(std::string_view Value, std::string_view Second) {
  const std::string U = VXToolbox::UpperCase(Value);
  if (U == "CENTER") return 1;
  if (U == Second) return 2;
  return 0;
}

int TVisualComponent::ApplyBox(int32_t& TextX) {
  const int32_t X = GetInt("X"), Y = GetInt("Y"), W = GetInt("Width"), H = GetInt("Height");
  const int AlignX = MapAlign(GetValue("AlignX"), "RIGHT");
  const int AlignY = MapAlign(GetValue("AlignY"), "BOTTOM");
  Left = AlignX == 1 ? X - W / 2 : AlignX == 2 ? X - W : X;
  Right = Left + W - 1;
  Top = AlignY == 1 ? Y - H / 2 : AlignY == 2 ? Y - H : Y;
  Bottom = Top + H - 1;
  const int TextAlign = MapAlign(GetValue("TextAlign"), "RIGHT");
  TextX = TextAlign == 1 ? Left + W / 2 : TextAlign == 2 ? Right : Left;
  return TextAlign;
}

TFont* TVisualComponent::FontByNumber(int32_t Number) {
  return FontCollection ? FontCollection->Font(Number) : nullptr;
}
