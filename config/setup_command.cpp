#include "config/setup_command.h"

#include <algorithm>

#include "config/ini_file.h"
#include "shell/toolbox.h"

std::unique_ptr<TSetupCommandHandler> SetupCommands;

namespace {

constexpr std::string_view kSchemaText =
    "[*Components]\n"
    "EditBox\nListBox\nMenu\nScrollBox\nButton\n"
    "\n"
    "[*EditBox]\n"
    "X=n\nY=n\nWidth=n\nHeight=n\nAlignX=s\nAlignY=s\nFont=n\nTextAlign=s\nTextOffsetY=n\n"
    "TextCase=s\nPasswordChar=c\nMaxLength=n\nBackground=rrggbb\nTransparent=b\n"
    "CursorChar=c\nCursorBlinkRate=n\n"
    "\n"
    "[*ListBox]\n"
    "X=n\nY=n\nWidth=n\nHeight=n\nAlignX=s\nAlignY=s\nFont=n\nTextAlign=s\nTextOffsetY=n\n"
    "RowHeight=n\nBackground=rrggbb\nBackground2=rrggbb\nCursor1=rrggbb\nCursor2=rrggbb\n"
    "ScrollBar=n\nSBColor1=rrggbb\nSBColor2=rrggbb\nKeyUp=SDLK_keyname\nKeyDown=SDLK_keyname\n"
    "KeySelect=SDLK_keyname\nKeyEscape=SDLK_keyname\nItem+=s\n"
    "\n"
    "[*Menu]\n"
    "X=n\nY=n\nWidth=n\nHeight=n\nAlignX=s\nAlignY=s\nFont1=n\nFont2=n\nFont3=n\nTextAlign=s\n"
    "TextOffsetY=n\nRowHeight=n\nCycleOptions=b\nKeyUp=SDLK_keyname\nKeyDown=SDLK_keyname\n"
    "KeyLeft=SDLK_keyname\nKeyRight=SDLK_keyname\nKeySelect=SDLK_keyname\n"
    "KeyEscape=SDLK_keyname\nBackground=rrggbb\nSelectedBackground=rrggbb\n"
    "HeaderBackground=rrggbb\nItem+=s\nItemExt+=s\n"
    "\n"
    "[*ScrollBox]\n"
    "X=n\nY=n\nWidth=n\nHeight=n\nAlignX=s\nAlignY=s\nRealWidth=n\nRealHeight=n\nViewTop=n\n"
    "ViewLeft=n\n"
    "\n"
    "[*Button]\n"
    "X=n\nY=n\nWidth=n\nHeight=n\nAlignX=s\nAlignY=s\nFont=n\nTextAlign=s\nTextOffsetY=n\n"
    "Caption=s\nColor=rrggbb\nBorder=n\nOnClick=s\nOnMouseDown=s\nOnMouseUp=s\n"
    "OnMouseEnter=s\nOnMouseLeave=s\n";

constexpr char kDecimalSeparator = '.';

std::string EntryName(std::string_view Prefix, std::string_view Key) {
  return VXToolbox::UpperCase(Prefix) + "." + VXToolbox::UpperCase(Key);
}

}  // namespace

std::string_view TSetupCommandHandler::SchemaText() { return kSchemaText; }

TSetupCommandHandler::TSetupCommandHandler() {
  const auto Ini = TIniFile::CreateFromText(kSchemaText);
  const int32_t Kinds = Ini->ListItemCount("Components");
  for (int32_t K = 0; K < Kinds; ++K) {
    const std::string Kind = Ini->ReadListItem("Components", K);
    const int32_t Keys = Ini->ListItemCount(Kind);
    for (int32_t I = 0; I < Keys; ++I) FSchema.push_back(VXToolbox::UpperCase(Kind + "." + Ini->ReadListItem(Kind, I)));
  }
  for (std::string& Line : FSchema) {
    if (Line.find('+') != std::string::npos) {
      Line.erase(std::remove(Line.begin(), Line.end(), '+'), Line.end());
      FMultiKeys.push_back(Line.substr(0, Line.find('=')));
    }
    const size_t Eq = Line.find('=');
    FTypes.try_emplace(Line.substr(0, Eq), Eq == std::string::npos ? "" : Line.substr(Eq + 1));
  }
  FBoolWords = {"TRUE", "YES", "Y", "I", "1", "FALSE", "NO", "N", "0"};
}

void TSetupCommandHandler::Parse(std::string_view Kind, std::string_view Prefix, std::string_view Text) {
  std::string Commands(Text);
  if (!Commands.empty() && Commands.back() != '|') Commands += '|';
  std::string Piece;
  bool InQuotes = false;
  for (const char C : Commands) {
    if (C == '"') InQuotes = !InQuotes;
    if (C == '|' && !InQuotes) {
      Store(Kind, Prefix, Piece);
      Piece.clear();
    } else {
      Piece += C;
    }
  }
}

std::string TSetupCommandHandler::KeySymbol(std::string_view Name) const {
  const TKeyNameTable* Table = KeyNames.get();
  if (!Table) {
    if (!FOwnKeyNames) FOwnKeyNames = std::make_unique<TKeyNameTable>();
    Table = FOwnKeyNames.get();
  }
  const auto Value = Table->Value(Name);
  if (!Value || !VXToolbox::IsNumber(*Value, kDecimalSeparator)) return {};
  return *Value;
}

void TSetupCommandHandler::Store(std::string_view Kind, std::string_view Prefix, const std::string& Piece) {
  std::string Key, Value;
  const size_t Eq = Piece.find('=');
  if (Eq != std::string::npos) {
    Key = VXToolbox::UpperCase(std::string_view(Piece).substr(0, Eq));
    Value = Piece.substr(Eq + 1);
  } else {
    Key = VXToolbox::UpperCase(Piece);
    Value = "Y";
  }
  const std::string Name = VXToolbox::UpperCase(Kind) + "." + Key;
  const auto TypeIt = FTypes.find(Name);
  const std::string Type = TypeIt == FTypes.end() ? std::string() : TypeIt->second;

  const char* Message = nullptr;
  if (Type == "S") {
  } else if (Type == "B") {
    const bool Known = std::any_of(FBoolWords.begin(), FBoolWords.end(),
                                   [&](const std::string& W) { return VXToolbox::SameText(W, Value); });
    if (!Known) Message = "Boolean value expected! (";
  } else if (Type == "N") {
    if (!VXToolbox::IsNumber(Value, kDecimalSeparator)) Message = "Numeric value expected! (";
  } else if (Type == "C") {
    if (Value.size() != 1) Message = "Char value expected! (";
  } else if (Type == "RRGGBB") {
    if (!VXToolbox::IsHexColor(Value)) Message = "RGB value expected (6 hex digits: rrggbb)! (";
  } else if (Type == "SDLK_KEYNAME") {
    std::string_view Name = Value;
    if (Name.size() > 5 && VXToolbox::SameText(Name.substr(0, 5), "SDLK_")) Name.remove_prefix(5);
    std::string Symbol = KeySymbol(Name);
    if (Symbol.empty()) Message = "SDLK_KeyName value expected (see them in SDL.PAS)! (";
    else Value = std::to_string(VXToolbox::StrToIntDef(Symbol, 0));
  } else {
    Message = "Unknown identifier! (";
  }
  if (Message) throw ESetupCommand(Message + Key + "=" + Value + ")");

  TSetupCommandItem& Item = FStore[EntryName(Prefix, Key)];
  if (std::find(FMultiKeys.begin(), FMultiKeys.end(), Name) == FMultiKeys.end()) Item.Values.clear();
  Item.Values.push_back(std::move(Value));
}

void TSetupCommandHandler::Clear(std::string_view Prefix) {
  const std::string Upper = VXToolbox::UpperCase(Prefix);
  for (auto It = FStore.begin(); It != FStore.end();) {
    if (std::string_view(It->first).substr(0, It->first.find('.')) == Upper) It = FStore.erase(It);
    else ++It;
  }
}

std::string TSetupCommandHandler::GetValue(std::string_view Prefix, std::string_view Key) const {
  const auto It = FStore.find(EntryName(Prefix, Key));
  if (It == FStore.end() || It->second.Values.empty()) return {};
  return It->second.Values.front();
}

std::vector<std::string> TSetupCommandHandler::GetValues(std::string_view Prefix, std::string_view Key) const {
  const auto It = FStore.find(EntryName(Prefix, Key));
  return It == FStore.end() ? std::vector<std::string>() : It->second.Values;
}

bool TSetupCommandHandler::HasKey(std::string_view Prefix, std::string_view Key) const {
  return FStore.contains(EntryName(Prefix, Key));
}

void StartSetupCommands() { SetupCommands = std::make_unique<TSetupCommandHandler>(); }
void StopSetupCommands() { SetupCommands.reset(); }
