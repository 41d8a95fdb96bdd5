#pragma once
// What the game remembers between starts besides progress and volumes: the
// last player and level pack (where the lists' cursors start) and the players
// who have opened the help (who no longer see the prompt that points to it).
// A small text file of "Key=Value" lines beside the other files.
#include <string>
#include <unordered_set>
#include <vector>

class TVXStreamBase;

class TRemembered {
 public:
  static constexpr const char* kFileName = "Starquarry.state";

  // Reads FileName; a missing file remembers nothing. A file that is there
  // but cannot be read is never written over (Save refuses).
  void Load(const std::string& FileName = kFileName);
  // Takes time in proportion to the file's length. Lines of keys this
  // version does not know are kept as they stand and written back after its
  // own (a later version may add keys); lines that are no "Key=Value" go.
  void ReadFrom(TVXStreamBase& Stream);
  void WriteTo(TVXStreamBase& Stream) const;
  // Replaces the file safely; false (old file kept, reason logged) on failure.
  bool Save() const;

  bool HelpSeen(const std::string& Player) const;
  // True when that is news (the caller saves).
  bool MarkHelpSeen(const std::string& Player);

  std::string LastPlayer;
  std::string LastPack;
  // In the order they first opened the help.
  const std::vector<std::string>& HelpSeenBy() const { return FHelpSeenBy; }
  const std::vector<std::string>& UnknownLines() const { return FUnknown; }

 private:
  std::string FFileName = kFileName;
  bool FUnreadable = false;
  std::vector<std::string> FHelpSeenBy;
  // The names above upper-cased, for lookups without regard to case.
  std::unordered_set<std::string> FHelpSeenKeys;
  std::vector<std::string> FUnknown;
};
