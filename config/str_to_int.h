#pragma once
// Strict decimal conversion for configuration and map text.
#include <cstdint>
#include <string_view>

// Optional leading blanks, an optional sign, then only digits, within the
// signed 32-bit range; anything else raises EConvertError
// ("'text' is not a valid integer value").
int32_t StrToInt32(std::string_view Text);
