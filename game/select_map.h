#pragma once
// TSelectMap: the screen on which the player picks a map of the loaded level
// pack. Every map is listed in the colour of the player's progress (red
// locked, yellow open, green completed); up to three maps stand open at a
// time; the closing "Congratulations" entry opens when it is the only one
// left. Run hands back the chosen map or a command for the game flow.
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TSQListBox;

// Opens the level editor on a pack at a map; true when the pack changed.
// The editor sits above the screens, so the application hands it down.
using TPackEditor = std::function<bool(const std::string& Pack, int MapNo)>;

class TSelectMap {
 public:
  static constexpr const char* kVersion = "SQSelectMapUnit, version 1.0";

  // Results of Run besides a map number (0 or more).
  static constexpr int kChangePlayer = -2;  // F1
  static constexpr int kChangePack = -3;    // F2
  static constexpr int kLeave = -4;         // Escape
  static constexpr int kUndecided = -5;
  static constexpr int kClosing = -6;  // the "Congratulations" entry

  // Fonts of the entries by state.
  static constexpr char kLockedFont = 4;
  static constexpr char kOpenFont = 5;
  static constexpr char kCompletedFont = 6;

  // The author line under the closing entry.
  static constexpr const char* kClosingAuthor = "The Quarry Crew";

  // Lists the maps of the global Maps.
  TSelectMap(std::string LevelPack, std::string PlayerName);
  ~TSelectMap();
  TSelectMap(const TSelectMap&) = delete;
  TSelectMap& operator=(const TSelectMap&) = delete;

  // Selected: the entry to put the cursor on, or -1 to put it on the first
  // open map.
  int Run(int Selected);

  // Reads every entry's state from the player registry, opens the first
  // three maps not yet completed (recording that), recolours the entries
  // and places the cursor.
  void ShowProgress(int Selected);
  // The decision the held keys ask for, kUndecided when none: Escape over
  // F2 over F1 over choosing the highlighted entry with Return or Space.
  int Decision() const;
  // The entry's state as its colour shows it.
  char EntryFont(int Index) const;
  // The entry as its row shows it: with the hint mark after the name of a
  // completed map whose kept run had a hint's help, and the word for a
  // highlighted locked entry.
  std::string ShownEntry(int Index) const;
  // When the held keys ask for what cannot be done (Return or Space on a
  // locked entry), the foot strip says why for a while.
  void NoteRefusal();
  // What the foot strip says instead of the author, "" when nothing.
  const std::string& FootMessage() const { return FMessage; }
  void SayInFoot(const std::string& Message);

  static constexpr const char* kLockedMessage = "Locked: complete an open map first";
  static constexpr const char* kNoRunMessage = "No run kept: complete the map first";
  // Frames a message stays in the foot strip.
  static constexpr int kMessageFrames = 180;

  std::vector<std::string> Authors;
  std::unique_ptr<TSQListBox> MapList;
  std::string LevelPack;
  std::string PlayerName;
  // What E opens; nothing when empty.
  TPackEditor EditPack;
  // Shows where the help is, until it is opened.
  bool HelpPrompt = false;

 private:
  // The entries and authors of the maps of Maps, all locked.
  void FillEntries();
  void DrawHeader() const;
  void DrawAuthor() const;
  void SetEntryFont(int Index, char Font);
  void DrawHelpPrompt(bool Shown) const;
  void DrawList();

  std::string FMessage;
  int FMessageFrames = 0;
};
