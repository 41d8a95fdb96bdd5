#pragma once
// The game's command line checked before anything starts: --help and
// --version are answered at once, and a switch the game does not know, or
// one without its values, ends the start with a one-line reason instead of
// being ignored in a window.
#include <iosfwd>
#include <string>
#include <vector>

enum class TCommandLineAction { Run, Help, Version, Refuse };

struct TCommandLineCheck {
  TCommandLineAction Action = TCommandLineAction::Run;
  std::string Error;  // one line, for Refuse
};

// Args without the program's path. Switches begin with "-" or "/" and are
// read in any letter case; "FullScreen" is a bare word.
TCommandLineCheck CheckCommandLine(const std::vector<std::string>& Args);

// "usage: starquarry [FullScreen] [-scale N|auto] ..." on one line.
std::string UsageLine();
// The usage line and one line per switch.
std::string UsageText();

// What the entry does before the modules start: prints help, version or the
// reason and the usage line, and gives the exit code; -1 to go on and run.
int AnswerCommandLine(const std::vector<std::string>& Args, const std::string& Version, std::ostream& Out,
                      std::ostream& Err);
