#pragma once
// The keys of every screen, one line each: the one list the help overlay
// shows, and the one the README and the man page must agree with. A key the
// screen handles but this table lacks is a key no player would find.
#include <string>
#include <vector>

enum class THelpScreen { Players, ErasePlayer, LevelPacks, MapSelection, Play, Watching, Editor, Options };

struct THelpKey {
  std::string Name;        // as the player reads it: "F12", "Up/Down", "Ctrl+S"
  std::string Text;        // what it does
  std::vector<int> Codes;  // the key codes it stands for; none for the mouse
  bool Ctrl = false;       // the codes count only with Ctrl held
  bool Typed = false;      // the codes are characters typed, not keys held
};

struct THelpPage {
  THelpScreen Screen;
  std::string Title;  // the screen's name; also the docs' heading for it
  std::vector<THelpKey> Keys;
};

// Every page, in the order a player meets the screens.
const std::vector<THelpPage>& HelpPages();
const THelpPage& HelpPage(THelpScreen Screen);
// The entry of Page whose key codes hold Code (with Ctrl or not); null when none.
const THelpKey* HelpKeyFor(const THelpPage& Page, int Code, bool Ctrl = false);
// The entry of Page for the typed character C; null when none.
const THelpKey* HelpCharFor(const THelpPage& Page, char C);
