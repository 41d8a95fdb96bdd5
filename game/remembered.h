#pragma once
// What the game remembers between starts besides progress and volumes: the
// last player and level pack (where the lists' cursors start) and the players
// who have opened the help (who no longer see the prompt that points to it).
// A small text file of "Key=Value" lines beside the other files.
#include <string>
#include <vector>

class TVXStreamBase;

class TRemembered {
 public:
  static constexpr const char* kFileName = "Starquarry.state";

  // Reads FileName; a missing file remembers nothing. A file that is there
  // but cannot be read is never written over (Save refuses).
  void Load(const std::string& FileName = kFileName);
  // Unknown keys and lines are skipped: a later version may add its own.
  void ReadFrom(TVXStreamBase& Stream);
  void WriteTo(TVXStreamBase& Stream) const;
  // Replaces the file safely; false (old file kept, reason logged) on failure.
  bool Save() const;

  bool HelpSeen(const std::string& Player) const;
  // True when that is news (the caller saves).
  bool MarkHelpSeen(const std::string& Player);

  std::string LastPlayer;
  std::string LastPack;
  std::vector<std::string> HelpSeenBy;

 private:
  std::string FFileName = kFileName;
  bool FUnreadable = false;
};
