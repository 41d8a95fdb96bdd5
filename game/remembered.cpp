#include "game/remembered.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "shell/file_stream.h"
#include "shell/logger.h"
#include "shell/memory_stream.h"
#include "shell/safe_file_writer.h"
#include "shell/toolbox.h"

namespace {

constexpr const char* kHeading = "SQGameUnit, TRemembered";

// A name that would break its line is not remembered at all.
bool Storable(const std::string& Value) {
  return std::none_of(Value.begin(), Value.end(), [](char C) { return C == '\n' || C == '\r'; });
}

}  // namespace

void TRemembered::Load(const std::string& FileName) {
  *this = TRemembered{};
  FFileName = FileName;
  std::error_code Error;
  const auto Status = std::filesystem::status(FileName, Error);
  if (Status.type() == std::filesystem::file_type::not_found) return;
  // Anything but a plain file (a folder, a pipe that would hold the game
  // up) is left alone, as is one that cannot be opened.
  auto Stream =
      std::filesystem::is_regular_file(Status) ? TFileStream::Open(FileName, TFileStream::TMode::Read) : nullptr;
  if (!Stream) {
    FUnreadable = true;
    Log->Warning("Cannot read " + FileName + " (" + std::strerror(errno) + "); it is left as it is", kHeading);
    return;
  }
  ReadFrom(*Stream);
}

void TRemembered::ReadFrom(TVXStreamBase& Stream) {
  const std::vector<uint8_t> Bytes = Stream.ReadRest();
  const std::string Text(Bytes.begin(), Bytes.end());
  size_t At = 0;
  while (At < Text.size()) {
    size_t End = Text.find('\n', At);
    if (End == std::string::npos) End = Text.size();
    std::string Line = Text.substr(At, End - At);
    At = End + 1;
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    const size_t Eq = Line.find('=');
    if (Eq == std::string::npos) continue;
    const std::string Key = Line.substr(0, Eq), Value = Line.substr(Eq + 1);
    if (Key == "LastPlayer") LastPlayer = Value;
    else if (Key == "LastPack") LastPack = Value;
    else if (Key == "HelpSeen") MarkHelpSeen(Value);
    else FUnknown.push_back(std::move(Line));
  }
}

void TRemembered::WriteTo(TVXStreamBase& Stream) const {
  const auto Line = [&Stream](const char* Key, const std::string& Value) {
    if (Storable(Value)) Stream.WriteString(std::string(Key) + "=" + Value + "\n");
  };
  if (!LastPlayer.empty()) Line("LastPlayer", LastPlayer);
  if (!LastPack.empty()) Line("LastPack", LastPack);
  for (const std::string& Name : FHelpSeenBy) Line("HelpSeen", Name);
  for (const std::string& Kept : FUnknown) Stream.WriteString(Kept + "\n");
}

bool TRemembered::Save() const {
  if (FUnreadable) return false;
  TMemoryStream Bytes;
  WriteTo(Bytes);
  std::string Error;
  if (!TSafeFileWriter::WriteFile(FFileName, Bytes.Data().data(), Bytes.Data().size(), &Error)) {
    Log->Error("Not saved, the previous file is kept: " + Error, kHeading);
    return false;
  }
  return true;
}

bool TRemembered::HelpSeen(const std::string& Player) const {
  return FHelpSeenKeys.count(VXToolbox::UpperCase(Player)) > 0;
}

bool TRemembered::MarkHelpSeen(const std::string& Player) {
  if (Player.empty() || !FHelpSeenKeys.insert(VXToolbox::UpperCase(Player)).second) return false;
  FHelpSeenBy.push_back(Player);
  return true;
}
