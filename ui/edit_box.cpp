#include "ui/edit_box.h"

#include "graphics/font.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "shell/logger.h"
#include "shell/toolbox.h"

TEditBox::TEditBox() {
  Kind = "EditBox";
  SetupPending = true;
}

void TEditBox::ApplySettings() {
  TextAlign = ApplyBox(TextX);
  BoxLeft = static_cast<uint16_t>(Left);
  BoxRight = static_cast<uint16_t>(Right);
  BoxTop = static_cast<uint16_t>(Top);
  BoxBottom = static_cast<uint16_t>(Bottom);
  const int32_t Height = GetInt("Height");
  Font = FontByNumber(GetInt("Font"));
  const int32_t FontHeight = Font ? Font->Height : 0;
  TextY = BoxTop + GetInt("TextOffsetY") + (Height - FontHeight) / 2;
  Log->Trace("*** " + GetValue("Transparent"));
  Transparent = GetBool("Transparent");
  if (Transparent) Log->Trace("++Transparent++");
  const std::string Back = GetValue("Background");
  const TRGB C = Back.empty() ? TRGB{0, 0, 0} : VXToolbox::ParseColor(Back);
  Background[0] = C.R, Background[1] = C.G, Background[2] = C.B;
  MaxLength = GetInt("MaxLength");
  const std::string Case = VXToolbox::UpperCase(GetValue("TextCase"));
  TextCase = Case == "UPPER" ? 1 : Case == "LOWER" ? 2 : 0;
  PasswordChar = GetChar("PasswordChar");
  CursorChar = HasKey("CursorChar") ? GetChar("CursorChar") : '_';
  CursorBlinkRate = HasKey("CursorBlinkRate") ? GetInt("CursorBlinkRate") : 60;
  BlinkCounter = 0;
  SetupPending = false;
}

void TEditBox::Update() {
  if (SetupPending) ApplySettings();
  uint8_t C = VX_SDL::GetKey(false);
  if (C == VX_SDL::kNoKey) return;
  if (TextCase == 1 && C >= 'a' && C <= 'z') C = static_cast<uint8_t>(C - 'a' + 'A');
  else if (TextCase == 2 && C >= 'A' && C <= 'Z') C = static_cast<uint8_t>(C - 'A' + 'a');
  if (C == 0) {
    C = VX_SDL::GetKey(true);
  } else if (C == VXKey::Backspace) {
    if (!Text.empty()) Text.pop_back();
  } else if (C >= 32) {
    if (static_cast<int64_t>(Text.size()) < MaxLength) Text += static_cast<char>(C);
  }
  if (C == VXKey::Return || C == VXKey::Escape) Done = true;
}

std::string TEditBox::Shown() const { return PasswordChar != 0 ? std::string(Text.size(), PasswordChar) : Text; }

void TEditBox::Draw() {
  if (SetupPending) ApplySettings();
  if (!Transparent)
    VX_SDL::FillBox(BoxLeft, BoxTop, BoxRight, BoxBottom, static_cast<uint8_t>(Background[0]),
                    static_cast<uint8_t>(Background[1]), static_cast<uint8_t>(Background[2]));
  const std::string S = Shown();
  if (Font) {
    Font->DrawText(S, TextX, TextY, TextAlign);
    if (ShowCursor && BlinkCounter < CursorBlinkRate / 2) {
      const int32_t W = Font->TextWidth(S);
      const int32_t X = TextAlign == 1 ? TextX + W / 2 : TextAlign == 2 ? TextX : TextX + W;
      Font->DrawText(std::string(1, CursorChar), X, TextY, kAlignLeft);
    }
  }
  if (++BlinkCounter >= CursorBlinkRate) BlinkCounter = 0;
}

void TEditBox::Run() {
  if (SetupPending) ApplySettings();
  VX_SDL::ClearKeyBuffer();
  while (!Done) {
    Draw();
    VX_SDL::Flip();
    Update();
  }
}
