#include "ui/menu_rows.h"

namespace {

// The Name=Value pairs between the braces of an option.
void ParseOptions(const std::string& List, TLineData& Row) {
  size_t Start = 0;
  for (;;) {
    const size_t Bar = List.find('|', Start);
    const std::string Pair = List.substr(Start, Bar == std::string::npos ? std::string::npos : Bar - Start);
    const size_t Eq = Pair.find('=');
    Row.OptionNames.push_back(Eq == std::string::npos ? Pair : Pair.substr(0, Eq));
    Row.OptionValues.push_back(Eq == std::string::npos ? Pair : Pair.substr(Eq + 1));
    if (Bar == std::string::npos) break;
    Start = Bar + 1;
  }
}

}  // namespace

TLineData ParseMenuRow(const std::string& Text) {
  TLineData Row;
  if (!Text.empty() && Text[0] == '@') {
    Row.LineKind = kLineHeader;
    Row.Caption = Text.substr(1);
  } else if (!Text.empty() && Text[0] == '%') {
    Row.LineKind = kLineOption;
    const size_t IdEnd = Text.find('%', 1);
    Row.Id = Text.substr(1, IdEnd == std::string::npos ? std::string::npos : IdEnd - 1);
    if (IdEnd != std::string::npos) {
      const size_t Open = Text.find('{', IdEnd + 1);
      Row.Caption = Text.substr(IdEnd + 1, Open == std::string::npos ? std::string::npos : Open - IdEnd - 1);
      if (Open != std::string::npos) {
        const size_t Close = Text.find('}', Open + 1);
        ParseOptions(Text.substr(Open + 1, Close == std::string::npos ? std::string::npos : Close - Open - 1), Row);
      }
    }
  } else {
    const size_t Eq = Text.find('=');
    Row.Caption = Eq == std::string::npos ? Text : Text.substr(0, Eq);
    Row.Id = Eq == std::string::npos ? Text : Text.substr(Eq + 1);
  }
  return Row;
}

std::string TakeMenuToken(std::string& Text) {
  Text += ' ';
  size_t I = Text.find_first_not_of(' ');
  std::string Token;
  char Quote = 0;
  for (; I < Text.size(); ++I) {
    const char C = Text[I];
    if (Quote != 0) {
      if (C == Quote) Quote = 0;
      else Token += C;
    } else if (C == '"' || C == '\'') {
      Quote = C;
    } else if (C == ' ') {
      break;
    } else {
      Token += C;
    }
  }
  while (I < Text.size() && Text[I] == ' ') ++I;
  Text.erase(0, I);
  return Token;
}
