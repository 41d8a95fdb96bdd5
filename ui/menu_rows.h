#pragma once
// The rows of a menu and the texts they are read from: headers ("@Title"),
// options ("%Id%Caption{Name=Value|...}") and items ("Caption=Id").
#include <cstdint>
#include <string>
#include <vector>

enum TLineKind : uint8_t { kLineItem = 0, kLineOption = 1, kLineHeader = 2 };

struct TLineData {
  std::string Caption;
  uint8_t LineKind = kLineItem;
  bool HasChildren = false;
  int32_t Parent = -1;  // the row whose submenu holds this one; -1 the top level
  std::string Id;
  int32_t OptionIndex = 0;
  std::vector<std::string> OptionNames;
  std::vector<std::string> OptionValues;
};

// A row from its text, at the top level and without children.
TLineData ParseMenuRow(const std::string& Text);

// Takes the next blank-separated token off the front of Text, with the
// blanks after it. Double and single quotes enclose parts that may hold
// blanks; they are not part of the token, and parts next to each other join.
std::string TakeMenuToken(std::string& Text);
