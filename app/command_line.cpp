#include "app/command_line.h"

#include <ostream>

#include "shell/toolbox.h"

namespace {

// A switch and the number of values that follow it.
struct TSwitch {
  const char* Name;
  int Values;
};
constexpr TSwitch kSwitches[] = {{"scale", 1},   {"testmap", 2},   {"edit", 1},    {"shared", 1}, {"nolog", 0},
                                 {"waitlog", 0}, {"appendlog", 0}, {"mainlog", 1}, {"safelog", 0}};

struct THelpLine {
  const char* Words;
  const char* Meaning;
};
// A meaning's "\n" goes on under the one before it.
constexpr THelpLine kHelp[] = {
    {"FullScreen", "full screen instead of a 640 x 480 window\n(Alt+Return switches at any moment)"},
    {"-scale N|auto", "a window N times 640 x 480 (N = 1 to 4);\nauto: the largest that fits the desktop"},
    {"-testmap CODE PACK.sq", "plays one map of a pack at once\n(sqtool testcode MAPNO makes the code)"},
    {"-edit PACK.sq", "the level editor on a pack\n(a new pack when there is no such file)"},
    {"-shared CODE", "plays a shared map, or shows a shared run,\nfrom its code (sqtool share, share-run)"},
    {"-nolog", "writes no log"},
    {"-waitlog", "waits a second before the log is opened"},
    {"-appendlog", "adds to the log instead of starting it afresh"},
    {"-mainlog FILE", "logs into FILE"},
    {"-safelog", "logs into run.log beside the program"},
    {"-h, --help", "shows this text"},
    {"--version", "shows the program's name and version"},
};

bool IsWord(const std::string& Arg, std::initializer_list<const char*> Words) {
  for (const char* W : Words)
    if (VXToolbox::SameText(Arg, W)) return true;
  return false;
}

bool IsHelp(const std::string& A) { return IsWord(A, {"--help", "-help", "/help", "-h", "/h", "-?", "/?"}); }
bool IsVersion(const std::string& A) { return IsWord(A, {"--version", "-version", "/version"}); }

// The switch named by Arg ("-Scale", "/scale"), or null.
const TSwitch* FindSwitch(const std::string& Arg) {
  if (Arg.size() < 2 || (Arg[0] != '-' && Arg[0] != '/')) return nullptr;
  for (const TSwitch& S : kSwitches)
    if (VXToolbox::SameText(Arg.substr(1), S.Name)) return &S;
  return nullptr;
}

bool IsKnownWord(const std::string& Arg) {
  return FindSwitch(Arg) || IsHelp(Arg) || IsVersion(Arg) || VXToolbox::SameText(Arg, "FullScreen");
}

std::string CheckScale(const std::string& Value) {
  if (VXToolbox::SameText(Value, "auto")) return "";
  if (Value.size() == 1 && Value[0] >= '1' && Value[0] <= '4') return "";
  return "-scale takes a number from 1 to 4 or auto, not '" + Value + "'";
}

std::string MissingValues(const TSwitch& S) {
  const std::string Name = std::string("-") + S.Name;
  if (S.Values == 2) return Name + " needs a code and a level pack";
  if (Name == "-scale") return "-scale needs a number from 1 to 4 or auto";
  if (Name == "-edit") return "-edit needs a level pack";
  if (Name == "-shared") return "-shared needs a share code";
  return Name + " needs a file name";
}

}  // namespace

TCommandLineCheck CheckCommandLine(const std::vector<std::string>& Args) {
  TCommandLineCheck Check;
  const auto Refuse = [&](std::string Error) {
    Check.Action = TCommandLineAction::Refuse;
    Check.Error = std::move(Error);
    return Check;
  };
  // Help and version answer whatever else the line holds.
  for (const std::string& A : Args)
    if (IsHelp(A)) return Check.Action = TCommandLineAction::Help, Check;
  for (const std::string& A : Args)
    if (IsVersion(A)) return Check.Action = TCommandLineAction::Version, Check;
  for (size_t I = 0; I < Args.size(); ++I) {
    const std::string& A = Args[I];
    if (VXToolbox::SameText(A, "FullScreen")) continue;
    const TSwitch* S = FindSwitch(A);
    if (!S) {
      const bool Switch = !A.empty() && (A[0] == '-' || A[0] == '/');
      return Refuse(Switch ? "unknown switch '" + A + "'" : "unexpected argument '" + A + "'");
    }
    // A value that is one of the game's own words was left out, not given.
    for (int V = 1; V <= S->Values; ++V)
      if (I + V >= Args.size() || IsKnownWord(Args[I + V])) return Refuse(MissingValues(*S));
    if (std::string(S->Name) == "scale")
      if (std::string Bad = CheckScale(Args[I + 1]); !Bad.empty()) return Refuse(Bad);
    I += static_cast<size_t>(S->Values);
  }
  return Check;
}

std::string UsageLine() {
  return "usage: starquarry [FullScreen] [-scale N|auto] [-testmap CODE PACK.sq] [-edit PACK.sq] [-shared CODE] "
         "[-nolog] "
         "[-waitlog] [-appendlog] [-mainlog FILE] [-safelog] [--help] [--version]";
}

std::string UsageText() {
  std::string Text = UsageLine() +
                     "\n\nA tile puzzle game: an elf digs for diamonds among boulders,\n"
                     "balloons and barrels.\n\n";
  constexpr size_t kColumn = 26;
  for (const THelpLine& L : kHelp) {
    std::string Words = std::string("  ") + L.Words;
    Words.resize(kColumn, ' ');
    for (const char* C = L.Meaning; *C; ++C)
      Words += *C == '\n' ? "\n" + std::string(kColumn, ' ') : std::string(1, *C);
    Text += Words + "\n";
  }
  Text += "\nSwitches begin with - or / and are read in any letter case.\n";
  return Text;
}

int AnswerCommandLine(const std::vector<std::string>& Args, const std::string& Version, std::ostream& Out,
                      std::ostream& Err) {
  const TCommandLineCheck Check = CheckCommandLine(Args);
  switch (Check.Action) {
    case TCommandLineAction::Run: return -1;
    case TCommandLineAction::Help: Out << UsageText(); return 0;
    case TCommandLineAction::Version: Out << "Starquarry " << Version << "\n"; return 0;
    case TCommandLineAction::Refuse: Err << "starquarry: " << Check.Error << "\n" << UsageLine() << "\n"; return 1;
  }
  return 1;
}
