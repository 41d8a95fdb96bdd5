#include "config/str_to_int.h"

#include <string>

#include "shell/toolbox.h"

int32_t StrToInt32(std::string_view Text) {
  size_t I = 0;
  while (I < Text.size() && Text[I] == ' ') ++I;
  bool Negative = false;
  if (I < Text.size() && (Text[I] == '-' || Text[I] == '+')) Negative = Text[I++] == '-';
  bool Valid = I < Text.size();
  int64_t Value = 0;
  for (; Valid && I < Text.size(); ++I) {
    const char C = Text[I];
    if (C < '0' || C > '9') {
      Valid = false;
      break;
    }
    Value = Value * 10 + (C - '0');
    if (Value > int64_t(INT32_MAX) + 1) Valid = false;
  }
  if (Valid) {
    if (Negative) Value = -Value;
    if (Value >= INT32_MIN && Value <= INT32_MAX) return static_cast<int32_t>(Value);
  }
  throw EConvertError("'" + std::string(Text) + "' is not a valid integer value");
}
