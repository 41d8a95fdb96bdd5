#include "shell/toolbox.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "shell/stream.h"

namespace VXToolbox {

std::string UpperCase(std::string_view Text) {
  std::string R(Text);
  for (char& C : R) C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
  return R;
}

std::string LowerCase(std::string_view Text) {
  std::string R(Text);
  for (char& C : R) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
  return R;
}

bool SameText(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (size_t I = 0; I < A.size(); ++I)
    if (std::toupper(static_cast<unsigned char>(A[I])) != std::toupper(static_cast<unsigned char>(B[I]))) return false;
  return true;
}

static std::vector<std::string_view> SplitCommas(std::string_view List) {
  std::vector<std::string_view> Parts;
  size_t Start = 0;
  for (;;) {
    const size_t Comma = List.find(',', Start);
    if (Comma == std::string_view::npos) {
      Parts.push_back(List.substr(Start));
      return Parts;
    }
    Parts.push_back(List.substr(Start, Comma - Start));
    Start = Comma + 1;
  }
}

std::string KeywordLookup(std::string_view Key, std::string_view List, bool IgnoreCase) {
  const auto Parts = SplitCommas(List);
  size_t I = 0;
  for (; I + 1 < Parts.size(); I += 2) {
    const bool Match = IgnoreCase ? SameText(Parts[I], Key) : Parts[I] == Key;
    if (Match) return std::string(Parts[I + 1]);
  }
  return I < Parts.size() ? std::string(Parts[I]) : std::string();
}

std::string CompleteExtension(const std::string& Name, std::string_view Extension) {
  while (!Extension.empty() && Extension.front() == '.') Extension.remove_prefix(1);
  const size_t Dot = Name.find('.', 1);
  if (Dot != std::string::npos) return Name;
  if (Name.size() > Extension.size() &&
      SameText(std::string_view(Name).substr(Name.size() - Extension.size()), Extension))
    return Name;
  return Name + "." + std::string(Extension);
}

int NthLastPos(std::string_view Find, std::string_view Text, int N) {
  if (Find.empty() || N <= 0 || Find.size() > Text.size()) return 0;
  int Seen = 0;
  for (size_t P = Text.size() - Find.size() + 1; P-- > 0;) {
    if (Text.substr(P, Find.size()) == Find && ++Seen == N) return static_cast<int>(P) + 1;
  }
  return 0;
}

int64_t HexToInt(std::string_view Text) {
  const std::string Upper = UpperCase(Text);
  int64_t Value = 0;
  uint64_t Place = 1;
  for (size_t I = Upper.size(); I-- > 0;) {
    const char C = Upper[I];
    int Digit;
    if (C >= '0' && C <= '9') Digit = C - '0';
    else if (C >= 'A' && C <= 'F') Digit = C - 'A' + 10;
    else throw EConvertError("Not a hexadecimal expression! ('" + Upper + "')");
    Value = static_cast<int64_t>(static_cast<uint64_t>(Value) + static_cast<uint64_t>(Digit) * Place);
    Place *= 16;
  }
  return Value;
}

TRGB ParseColor(std::string_view Text) {
  std::string T = PadLeft('0', UpperCase(Trim(Text)), 6);
  TRGB C;
  C.R = static_cast<uint8_t>(HexToInt(T.substr(0, 2)));
  C.G = static_cast<uint8_t>(HexToInt(T.substr(2, 2)));
  C.B = static_cast<uint8_t>(HexToInt(T.substr(4, 2)));
  return C;
}

bool IsHexColor(std::string_view Text) {
  if (Text.size() != 6) return false;
  return std::all_of(Text.begin(), Text.end(), [](char C) { return (C >= '0' && C <= '9') || (C >= 'A' && C <= 'F'); });
}

bool IsNumber(std::string_view Text, char Separator) {
  if (Separator == 0) Separator = '.';
  if (!Text.empty() && Text.front() == '-') Text.remove_prefix(1);
  if (Text.empty()) return false;
  return std::all_of(Text.begin(), Text.end(),
                     [Separator](char C) { return (C >= '0' && C <= '9') || C == Separator; });
}

std::string TrimLeft(std::string_view Text) {
  size_t I = 0;
  while (I < Text.size() && Text[I] == ' ') ++I;
  return std::string(Text.substr(I));
}

std::string TrimRight(std::string_view Text) {
  size_t N = Text.size();
  while (N > 0 && Text[N - 1] == ' ') --N;
  return std::string(Text.substr(0, N));
}

std::string Trim(std::string_view Text) { return TrimLeft(TrimRight(Text)); }

std::string ReplaceAll(std::string Text, std::string_view Old, std::string_view New) {
  if (Old.empty()) return Text;
  for (;;) {
    std::string Out;
    bool Changed = false;
    size_t Start = 0;
    for (;;) {
      const size_t P = Text.find(Old, Start);
      if (P == std::string::npos) break;
      Out.append(Text, Start, P - Start);
      Out.append(New);
      Start = P + Old.size();
      Changed = true;
    }
    if (!Changed) return Text;
    Out.append(Text, Start, std::string::npos);
    Text = std::move(Out);
  }
}

uint8_t CountChar(char Ch, std::string_view Text) {
  uint8_t N = 0;
  for (char C : Text)
    if (C == Ch) ++N;  // wraps at 256 by design
  return N;
}

std::string PaddedNumber(int64_t Value, int Width, char Pad) { return PadLeft(Pad, std::to_string(Value), Width); }

std::string PadLeft(char Pad, std::string Text, int Width) {
  if (static_cast<int>(Text.size()) < Width) Text.insert(0, static_cast<size_t>(Width) - Text.size(), Pad);
  return Text;
}

std::string RepeatChar(char Ch, int N) { return N > 0 ? std::string(static_cast<size_t>(N), Ch) : std::string(); }

namespace {
// The process-wide chunk buffer of the line reader.
char LineBuffer[512];
}  // namespace

std::string ReadLine(TVXStreamBase& Stream) {
  std::string Line;
  for (;;) {
    const size_t Got = Stream.Read(LineBuffer, sizeof LineBuffer);
    if (Got == 0) break;
    const void* Hit = std::memchr(LineBuffer, 10, Got);
    if (Hit) {
      const size_t I = static_cast<size_t>(static_cast<const char*>(Hit) - LineBuffer);
      Stream.Seek(Stream.Position() - static_cast<int64_t>(Got) + static_cast<int64_t>(I) + 1);
      Line.append(LineBuffer, I);
      break;
    }
    Line.append(LineBuffer, Got);
  }
  if (!Line.empty() && Line.back() == 13) Line.pop_back();
  return Line;
}

int64_t FileSize(const std::string& FileName) {
  struct stat St;
  if (stat(FileName.c_str(), &St) != 0 || S_ISDIR(St.st_mode)) return -1;
  return static_cast<int64_t>(St.st_size);
}

int BitCount(uint8_t Byte) { return __builtin_popcount(Byte); }

std::string ExtractFileName(std::string_view Path) {
  const size_t P = Path.find_last_of('/');
  return std::string(P == std::string_view::npos ? Path : Path.substr(P + 1));
}

std::string ExtractFileDir(std::string_view Path) {
  const size_t P = Path.find_last_of('/');
  return P == std::string_view::npos ? std::string() : std::string(Path.substr(0, P + 1));
}

bool FileExists(const std::string& FileName) {
  struct stat St;
  return stat(FileName.c_str(), &St) == 0 && !S_ISDIR(St.st_mode);
}

int64_t StrToIntDef(std::string_view Text, int64_t Default) {
  const std::string T(Text);
  if (T.empty()) return Default;
  char* End = nullptr;
  errno = 0;
  const long long V = std::strtoll(T.c_str(), &End, 10);
  if (errno != 0 || End == T.c_str() || *End != 0) return Default;
  return V;
}

}  // namespace VXToolbox
