#include "tools/tracker/chord.h"

#include <cctype>
#include <stdexcept>

int PitchClass(const std::string& Name) {
  if (Name.empty()) return -1;
  static const int kBase[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  const char L = static_cast<char>(std::toupper(static_cast<unsigned char>(Name[0])));
  if (L < 'A' || L > 'G') return -1;
  int Pc = kBase[L - 'A'];
  if (Name.size() == 1) return Pc;
  if (Name.size() == 2 && Name[1] == '#') return (Pc + 1) % 12;
  if (Name.size() == 2 && Name[1] == 'b') return (Pc + 11) % 12;
  return -1;
}

TChord ParseChord(const std::string& Symbol) {
  std::string Main = Symbol, BassName;
  const size_t Slash = Symbol.find('/');
  if (Slash != std::string::npos) {
    Main = Symbol.substr(0, Slash);
    BassName = Symbol.substr(Slash + 1);
  }
  size_t RootLen = Main.size() >= 2 && (Main[1] == '#' || Main[1] == 'b') ? 2 : 1;
  TChord C;
  C.Root = PitchClass(Main.substr(0, RootLen));
  if (C.Root < 0) throw std::invalid_argument("unknown chord '" + Symbol + "'");
  const std::string Q = Main.substr(RootLen);
  if (Q.empty()) C.Intervals = {0, 4, 7};
  else if (Q == "m") C.Intervals = {0, 3, 7};
  else if (Q == "7") C.Intervals = {0, 4, 7, 10};
  else if (Q == "m7") C.Intervals = {0, 3, 7, 10};
  else if (Q == "maj7") C.Intervals = {0, 4, 7, 11};
  else if (Q == "sus2") C.Intervals = {0, 2, 7};
  else if (Q == "sus4") C.Intervals = {0, 5, 7};
  else if (Q == "dim") C.Intervals = {0, 3, 6};
  else if (Q == "aug") C.Intervals = {0, 4, 8};
  else if (Q == "add9") C.Intervals = {0, 4, 7, 14};
  else if (Q == "6") C.Intervals = {0, 4, 7, 9};
  else if (Q == "m6") C.Intervals = {0, 3, 7, 9};
  else throw std::invalid_argument("unknown chord quality in '" + Symbol + "'");
  C.Bass = C.Root;
  if (!BassName.empty()) {
    C.Bass = PitchClass(BassName);
    if (C.Bass < 0) throw std::invalid_argument("unknown bass note in '" + Symbol + "'");
  }
  return C;
}
