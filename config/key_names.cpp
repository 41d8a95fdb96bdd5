#include "config/key_names.h"

#include "shell/toolbox.h"

std::unique_ptr<TKeyNameTable> KeyNames;

namespace {

// SDL 1.2's key symbols; the international keys and UNDO are left out.
constexpr std::string_view kKeyNameText =
    "FIRST=0\n"
    "UNKNOWN=0\n"
    "BACKSPACE=8\n"
    "TAB=9\n"
    "CLEAR=12\n"
    "RETURN=13\n"
    "PAUSE=19\n"
    "ESCAPE=27\n"
    "SPACE=32\n"
    "EXCLAIM=33\n"
    "QUOTEDBL=34\n"
    "HASH=35\n"
    "DOLLAR=36\n"
    "AMPERSAND=38\n"
    "QUOTE=39\n"
    "LEFTPAREN=40\n"
    "RIGHTPAREN=41\n"
    "ASTERISK=42\n"
    "PLUS=43\n"
    "COMMA=44\n"
    "MINUS=45\n"
    "PERIOD=46\n"
    "SLASH=47\n"
    "0=48\n"
    "1=49\n"
    "2=50\n"
    "3=51\n"
    "4=52\n"
    "5=53\n"
    "6=54\n"
    "7=55\n"
    "8=56\n"
    "9=57\n"
    "COLON=58\n"
    "SEMICOLON=59\n"
    "LESS=60\n"
    "EQUALS=61\n"
    "GREATER=62\n"
    "QUESTION=63\n"
    "AT=64\n"
    "LEFTBRACKET=91\n"
    "BACKSLASH=92\n"
    "RIGHTBRACKET=93\n"
    "CARET=94\n"
    "UNDERSCORE=95\n"
    "BACKQUOTE=96\n"
    "A=97\n"
    "B=98\n"
    "C=99\n"
    "D=100\n"
    "E=101\n"
    "F=102\n"
    "G=103\n"
    "H=104\n"
    "I=105\n"
    "J=106\n"
    "K=107\n"
    "L=108\n"
    "M=109\n"
    "N=110\n"
    "O=111\n"
    "P=112\n"
    "Q=113\n"
    "R=114\n"
    "S=115\n"
    "T=116\n"
    "U=117\n"
    "V=118\n"
    "W=119\n"
    "X=120\n"
    "Y=121\n"
    "Z=122\n"
    "DELETE=127\n"
    "KP0=256\n"
    "KP1=257\n"
    "KP2=258\n"
    "KP3=259\n"
    "KP4=260\n"
    "KP5=261\n"
    "KP6=262\n"
    "KP7=263\n"
    "KP8=264\n"
    "KP9=265\n"
    "KP_PERIOD=266\n"
    "KP_DIVIDE=267\n"
    "KP_MULTIPLY=268\n"
    "KP_MINUS=269\n"
    "KP_PLUS=270\n"
    "KP_ENTER=271\n"
    "KP_EQUALS=272\n"
    "UP=273\n"
    "DOWN=274\n"
    "RIGHT=275\n"
    "LEFT=276\n"
    "INSERT=277\n"
    "HOME=278\n"
    "END=279\n"
    "PAGEUP=280\n"
    "PAGEDOWN=281\n"
    "F1=282\n"
    "F2=283\n"
    "F3=284\n"
    "F4=285\n"
    "F5=286\n"
    "F6=287\n"
    "F7=288\n"
    "F8=289\n"
    "F9=290\n"
    "F10=291\n"
    "F11=292\n"
    "F12=293\n"
    "F13=294\n"
    "F14=295\n"
    "F15=296\n"
    "NUMLOCK=300\n"
    "CAPSLOCK=301\n"
    "SCROLLOCK=302\n"
    "RSHIFT=303\n"
    "LSHIFT=304\n"
    "RCTRL=305\n"
    "LCTRL=306\n"
    "RALT=307\n"
    "LALT=308\n"
    "RMETA=309\n"
    "LMETA=310\n"
    "LSUPER=311\n"
    "RSUPER=312\n"
    "MODE=313\n"
    "COMPOSE=314\n"
    "HELP=315\n"
    "PRINT=316\n"
    "SYSREQ=317\n"
    "BREAK=318\n"
    "MENU=319\n"
    "POWER=320\n"
    "EURO=321\n";

}  // namespace

std::string_view TKeyNameTable::BuiltInText() { return kKeyNameText; }

TKeyNameTable::TKeyNameTable() {
  std::string_view Text = kKeyNameText;
  while (!Text.empty()) {
    const size_t Lf = Text.find('\n');
    const std::string_view Line = Text.substr(0, Lf);
    Text = Lf == std::string_view::npos ? std::string_view() : Text.substr(Lf + 1);
    const size_t Eq = Line.find('=');
    if (Eq == std::string_view::npos) continue;
    FItems.emplace_back(std::string(Line.substr(0, Eq)), std::string(Line.substr(Eq + 1)));
    FIndex.try_emplace(VXToolbox::UpperCase(Line.substr(0, Eq)), FItems.size() - 1);
  }
}

std::optional<std::string> TKeyNameTable::Value(std::string_view Name) const {
  const auto It = FIndex.find(VXToolbox::UpperCase(Name));
  if (It == FIndex.end()) return std::nullopt;
  return FItems[It->second].second;
}

void StartKeyNames() { KeyNames = std::make_unique<TKeyNameTable>(); }
void StopKeyNames() { KeyNames.reset(); }
