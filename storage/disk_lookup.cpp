#include "storage/disk_lookup.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "shell/toolbox.h"

namespace fs = std::filesystem;

namespace {

bool IsFile(const std::string& Path) {
  std::error_code Error;
  return fs::is_regular_file(Path, Error);
}

bool Exists(const std::string& Path) {
  std::error_code Error;
  return fs::exists(Path, Error);
}

std::string Join(const std::string& Dir, const std::string& Name) {
  if (Dir.empty()) return Name;
  return Dir.back() == '/' ? Dir + Name : Dir + "/" + Name;
}

// The entry of Dir whose name equals Name without regard to case; the first
// in byte order when several do. "" when none.
std::string MatchInFolder(const std::string& Dir, const std::string& Name) {
  std::error_code Error;
  fs::directory_iterator It(Dir.empty() ? "." : Dir, Error);
  if (Error) return "";
  std::string Best;
  for (const fs::directory_entry& Entry : It) {
    const std::string Found = Entry.path().filename().string();
    if (VXToolbox::SameText(Found, Name) && (Best.empty() || Found < Best)) Best = Found;
  }
  return Best;
}

}  // namespace

std::string FindOnDisk(const std::string& Name) {
  if (Name.empty()) return "";
  std::string Path = Name;
  std::replace(Path.begin(), Path.end(), '\\', '/');
  if (IsFile(Path)) return Path;

  std::string Current = Path[0] == '/' ? "/" : "";
  size_t P = 0;
  while (P < Path.size()) {
    size_t Slash = Path.find('/', P);
    if (Slash == std::string::npos) Slash = Path.size();
    const std::string Part = Path.substr(P, Slash - P);
    P = Slash + 1;
    if (Part.empty()) continue;
    const std::string Exact = Join(Current, Part);
    if (Part == "." || Part == ".." || Exists(Exact)) {
      Current = Exact;
      continue;
    }
    const std::string Match = MatchInFolder(Current, Part);
    if (Match.empty()) return "";
    Current = Join(Current, Match);
  }
  return IsFile(Current) ? Current : "";
}

namespace {
bool IsNameSeparator(char C) { return C == '\\' || C == '/'; }

// The folder less its last component: up to its second-to-last separator.
std::string ParentOf(const std::string& Dir) {
  size_t End = Dir.size();
  if (End > 0 && IsNameSeparator(Dir[End - 1])) --End;
  while (End > 0 && !IsNameSeparator(Dir[End - 1])) --End;
  return Dir.substr(0, End);
}
}  // namespace

std::string ExpandRelativeName(const std::string& Name, const std::string& CurrentDir) {
  if (!Name.empty() && IsNameSeparator(Name[0])) return Name.substr(1);
  std::string Dir = CurrentDir;
  size_t P = 0;
  while (Name.size() - P >= 3 && Name[P] == '.' && Name[P + 1] == '.' && IsNameSeparator(Name[P + 2])) {
    P += 3;
    if (!Dir.empty()) Dir = ParentOf(Dir);
  }
  return Dir + Name.substr(P);
}
