#pragma once
// The screens around a shared map or run: why a code was refused, the check
// of a shared map before it is played (its way replayed, or else the solver
// looking for one), whether to try the map after its run was watched, and a
// map's code to pass on.
#include <string>

class TMaps;

enum class TSharedVerdict { Proven, Solved, Unsolvable, Unknown, Unchecked };

struct TSharedCheck {
  TSharedVerdict Verdict = TSharedVerdict::Unchecked;
  int Steps = 0;  // of the way that proved it, or that the solver found
};

// The verdict in one word, for the page: "proven", "solved", "unsolvable",
// "unknown" or "unchecked".
std::string VerdictWord(TSharedVerdict Verdict);
// What the play screen shows after the map's name: "shared, proven", ...
std::string VerdictLabel(TSharedVerdict Verdict);

// Way played on map MapNo of Pack from its start, its last key held on a
// while (under other looks an exit may open a few steps later than it did
// for whoever found the way): true when it wins the map.
bool WayWins(const TMaps& Pack, int MapNo, const std::string& Way);

// Map MapNo of the global Maps, checked before it is played: proven when
// Way wins it; otherwise the solver looks for a way (in slices in the page)
// on a screen that shows the map and says what came of it, and that Escape
// leaves at once (unchecked).
TSharedCheck CheckSharedMap(int MapNo, const std::string& Way);

// Why a shared code cannot be opened, until Return, Space or Escape.
void ShowSharedRefusal(const std::string& Why);

// After a shared run was watched: true when the player wants to play its map.
bool AskToTryMap(const std::string& MapName);

// A code to pass on (Kind "map" or "run", as its link names it), in lines
// that fit the screen, until a key is pressed; in the page, which has made
// it a link on the clipboard, it says so.
void ShowShareCode(const std::string& Title, const std::string& Kind, const std::string& Code);
