#include "config/ini_file.h"

#include <stdexcept>

#include "config/str_to_int.h"
#include "shell/file_stream.h"
#include "shell/logger.h"
#include "storage/stream_opener.h"

namespace {

constexpr const char* kUnit = "VXINIFile";

// Only spaces are trimmed in this dialect; tabs stay part of the text.
std::string_view TrimSpaces(std::string_view Text) {
  while (!Text.empty() && Text.front() == ' ') Text.remove_prefix(1);
  while (!Text.empty() && Text.back() == ' ') Text.remove_suffix(1);
  return Text;
}

std::string HexByte(uint16_t Value) {
  static const char Digits[] = "0123456789ABCDEF";
  std::string Out;
  do {
    Out.insert(Out.begin(), Digits[Value % 16]);
    Value /= 16;
  } while (Value != 0);
  while (Out.size() < 2) Out.insert(Out.begin(), '0');
  return Out;
}

}  // namespace

std::unique_ptr<TIniFile> TIniFile::Create(const std::string& Name, bool ReadOnly) {
  if (!StreamOpener) {
    Log->Error("Openstream failed: " + Name, std::string(kUnit) + ", TIniFile.Create");
    throw EOpenStream("OpenStream failed: " + Name);
  }
  TVXStreamPtr Stream = StreamOpener->OpenStream(Name);
  auto Ini = CreateFromStream(*Stream);
  if (!ReadOnly) Ini->FFileName = Name;
  return Ini;
}

std::unique_ptr<TIniFile> TIniFile::CreateFromStream(TVXStreamBase& Stream) {
  const std::vector<uint8_t> Bytes = Stream.ReadRest();
  return CreateFromText(std::string_view(reinterpret_cast<const char*>(Bytes.data()), Bytes.size()));
}

std::unique_ptr<TIniFile> TIniFile::CreateFromText(std::string_view Text) {
  auto Ini = std::make_unique<TIniFile>();
  Ini->Parse(Text);
  return Ini;
}

TIniFile::~TIniFile() {
  if (FFileName.empty()) return;
  try {
    Save();
  } catch (const std::exception& E) {
    // A destructor must not throw; the failure is still reported.
    Log->Error(E.what(), std::string(kUnit) + ", TIniFile.Destroy");
  }
}

void TIniFile::Parse(std::string_view Text) {
  size_t Start = 0;
  while (Start < Text.size()) {
    const size_t Lf = Text.find('\n', Start);
    std::string_view Line;
    if (Lf == std::string_view::npos) {
      // The last line may end without a line feed; a CR there stays.
      Line = Text.substr(Start);
      Start = Text.size();
    } else {
      Line = Text.substr(Start, Lf - Start);
      if (!Line.empty() && Line.back() == '\r') Line.remove_suffix(1);
      Start = Lf + 1;
    }
    AddLine(std::string(Line));
  }
  // Blank lines that close a list section are layout, not items.
  for (TSection& S : FSections)
    if (S.Type == TSectionType::stList)
      while (!S.Lines.empty() && S.Lines.back().empty()) S.Lines.pop_back();
}

void TIniFile::AddLine(std::string Line) {
  TSection* Current = FCurrent >= 0 ? &FSections[static_cast<size_t>(FCurrent)] : nullptr;
  if (Current && Current->Type == TSectionType::stNormal && TrimSpaces(Line).empty()) return;
  if (Line.find('[') != std::string::npos) Line = std::string(TrimSpaces(Line));
  if (!Line.empty() && Line.front() == ';') return;
  if (Line.size() >= 2 && Line.front() == '[' && Line.back() == ']') {
    TSection S;
    if (Line[1] == '*') {
      S.Type = TSectionType::stList;
      S.Name = Line.size() > 3 ? Line.substr(2, Line.size() - 3) : std::string();
    } else {
      S.Name = Line.substr(1, Line.size() - 2);
    }
    // Lines after a repeated header go to the first section of that name.
    const auto [It, Added] = FIndex.try_emplace(VXToolbox::UpperCase(S.Name), FSections.size());
    (void)Added;
    FCurrent = static_cast<int64_t>(It->second);
    FSections.push_back(std::move(S));
    return;
  }
  if (!Current) return;
  if (Current->Type == TSectionType::stNormal && Line.find('=') == std::string::npos) Line += "=1";
  Current->Lines.push_back(std::move(Line));
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view Name) const {
  const auto It = FIndex.find(VXToolbox::UpperCase(Name));
  return It == FIndex.end() ? nullptr : &FSections[It->second];
}

std::string_view TIniFile::FindValue(const TSection& Section, std::string_view Key) {
  for (const std::string& Line : Section.Lines) {
    const size_t Eq = Line.find('=');
    const std::string_view LineKey = std::string_view(Line).substr(0, Eq);
    if (VXToolbox::SameText(LineKey, Key))
      return Eq == std::string::npos ? std::string_view() : std::string_view(Line).substr(Eq + 1);
  }
  return {};
}

std::string TIniFile::ReadString(std::string_view Section, std::string_view Key, std::string_view Default,
                                 std::string_view Fallback) const {
  std::string Result(Default);
  const TSection* S = FindSection(Section);
  if (S && S->Type == TSectionType::stNormal) {
    std::string_view Value = FindValue(*S, Key);
    if (Value.empty() && !Fallback.empty()) {
      const TSection* F = FindSection(Fallback);
      if (F && F->Type == TSectionType::stNormal) Value = FindValue(*F, Key);
    }
    if (!Value.empty()) Result = std::string(Value);
  }
  if (Result.size() > 2 && Result.front() == '"' && Result.back() == '"') Result = Result.substr(1, Result.size() - 2);
  return Result;
}

int32_t TIniFile::ReadInteger(std::string_view Section, std::string_view Key, int32_t Default,
                              std::string_view Fallback) const {
  const std::string Text = ReadString(Section, Key, "", Fallback);
  if (Text.empty()) return Default;
  return StrToInt32(Text);
}

bool TIniFile::ReadBool(std::string_view Section, std::string_view Key, bool Default, std::string_view Fallback) const {
  const std::string Text = ReadString(Section, Key, "", Fallback);
  if (Text.empty()) return Default;
  const std::string Upper = VXToolbox::UpperCase(Text);
  return Upper == "TRUE" || Upper == "YES" || Text == "1";
}

void TIniFile::ReadRGB(std::string_view Section, std::string_view Key, uint16_t DefaultR, uint16_t DefaultG,
                       uint16_t DefaultB, int32_t& R, int32_t& G, int32_t& B, std::string_view Fallback) const {
  const std::string DefaultText = HexByte(DefaultR) + HexByte(DefaultG) + HexByte(DefaultB);
  const std::string Text = ReadString(Section, Key, DefaultText, Fallback);
  if (Text.size() == 6) {
    R = static_cast<int32_t>(VXToolbox::HexToInt(std::string_view(Text).substr(0, 2)));
    G = static_cast<int32_t>(VXToolbox::HexToInt(std::string_view(Text).substr(2, 2)));
    B = static_cast<int32_t>(VXToolbox::HexToInt(std::string_view(Text).substr(4, 2)));
    return;
  }
  Log->Warning(
      "Invalid RGB value! (Section: " + std::string(Section) + ", Key: " + std::string(Key) + ", Value: " + Text + ")",
      std::string(kUnit) + ", TIniFile.ReadRGB");
  R = DefaultR;
  G = DefaultG;
  B = DefaultB;
}

TRGB TIniFile::ReadRGB(std::string_view Section, std::string_view Key, TRGB Default, std::string_view Fallback) const {
  int32_t R = 0, G = 0, B = 0;
  ReadRGB(Section, Key, Default.R, Default.G, Default.B, R, G, B, Fallback);
  return TRGB{static_cast<uint8_t>(R), static_cast<uint8_t>(G), static_cast<uint8_t>(B)};
}

std::string TIniFile::ReadListItem(std::string_view Section, int32_t Index) const {
  const std::string Heading = std::string(kUnit) + ", TIniFile.ReadListItem";
  const TSection* S = FindSection(Section);
  if (!S) {
    Log->Warning("Section not found! (" + std::string(Section) + ")", Heading);
    return {};
  }
  if (S->Type == TSectionType::stNormal) {
    Log->Warning("ReadListItem is not allowed on stNormal type Sections!", Heading);
    Log->Warning("Section: " + std::string(Section) + " Index: " + std::to_string(Index), Heading);
    return {};
  }
  if (Index >= 0 && static_cast<size_t>(Index) < S->Lines.size()) return S->Lines[static_cast<size_t>(Index)];
  Log->Warning("Index is out of range! (" + std::to_string(Index) + ")", Heading);
  return {};
}

int32_t TIniFile::ListItemCount(std::string_view Section) const {
  const std::string Heading = std::string(kUnit) + ", TIniFile.ListItemCount";
  const TSection* S = FindSection(Section);
  if (!S) {
    Log->Warning("Section not found! (" + std::string(Section) + ")", Heading);
    return 0;
  }
  if (S->Type == TSectionType::stNormal) {
    Log->Warning("ListItemCount is only allowed on List type Sections! (" + std::string(Section) + ")", Heading);
    return 0;
  }
  return static_cast<int32_t>(S->Lines.size());
}

int32_t TIniFile::SectionType(std::string_view Section) const {
  const TSection* S = FindSection(Section);
  return S ? static_cast<int32_t>(S->Type) : -1;
}

bool TIniFile::ValueExists(std::string_view Section, std::string_view Key) const {
  return !ReadString(Section, Key, "").empty();
}

void TIniFile::Save() const {
  std::string Text;
  for (const TSection& S : FSections) {
    Text += S.Type == TSectionType::stList ? "[*" : "[";
    Text += S.Name;
    Text += "]\r\n";
    for (const std::string& Line : S.Lines) {
      Text += Line;
      Text += "\r\n";
    }
    Text += "\r\n";
  }
  auto File = TFileStream::Open(FFileName, TFileStream::TMode::Create);
  if (!File || !File->WriteString(Text)) throw std::runtime_error("I/O error writing " + FFileName);
}
