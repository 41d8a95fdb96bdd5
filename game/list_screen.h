#pragma once
// The game's plain menu screens: a title over one list box, or over the
// edit box of a new name. Each runs its own frame loop and opens the options
// screen on F12.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "game/help_keys.h"

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

// What a list screen adds to its list: the help page H opens, the row the
// cursor starts on, and whether the prompt pointing to the help shows under
// the list (until the help opens).
struct TListScreenExtras {
  THelpScreen Help = THelpScreen::Players;
  int Start = 0;
  bool HelpPrompt = false;
};

// Placement: the list box's first setup string (position and size); the
// other three are the same on every list screen. Runs until one of EndKeys
// is down.
TListChoice RunListScreen(const TScreenTitle& Title, const std::string& Placement,
                          const std::vector<std::string>& Items, std::initializer_list<int> EndKeys,
                          const TListScreenExtras& Extras = {});

// Why a typed name cannot be taken, "" when it can.
using TNameCheck = std::function<std::string(const std::string& Name)>;

// The name entry: the typed text when it ended with Return, "" when with
// Escape (whatever was typed). A name Check refuses is not taken: the reason
// shows under it and the entry goes on.
std::string RunNameScreen(const TScreenTitle& Title, const TNameCheck& Check = {});
