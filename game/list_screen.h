#pragma once
// The game's plain menu screens: a title over one list box, or over the
// edit box of a new name. Each runs its own frame loop and opens the options
// screen on F12.
#include <initializer_list>
#include <string>
#include <vector>

struct TScreenTitle {
  std::string Text;
  int Font = 0;  // number in the font collection
  int Y = 0;     // centred on x = 320
};

// What ended a list screen: the key (one of the ending keys) and the row
// under the cursor then (-1 for an empty list).
struct TListChoice {
  int Key = 0;
  int Index = -1;
};

// Placement: the list box's first setup string (position and size); the
// other three are the same on every list screen. Runs until one of EndKeys
// is down.
TListChoice RunListScreen(const TScreenTitle& Title, const std::string& Placement,
                          const std::vector<std::string>& Items, std::initializer_list<int> EndKeys);

// The name entry: the typed text when it ended with Return, "" when with
// Escape (whatever was typed).
std::string RunNameScreen(const TScreenTitle& Title);
