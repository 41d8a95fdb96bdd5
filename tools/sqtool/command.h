#pragma once
// sqtool's command families. Each family lives in its own source file and
// registers itself with a static TSqCommand object.
#include <string>
#include <vector>

using TArgs = std::vector<std::string>;

struct TSqCommandInfo {
  std::string Name;               // "archive"
  std::string Summary;            // one line for "sqtool help"
  std::string Usage;              // full text for "sqtool help NAME"
  int (*Run)(const TArgs& Args);  // Args after the family name
};

class TSqCommand {
 public:
  explicit TSqCommand(TSqCommandInfo Info);
};

const std::vector<TSqCommandInfo>& SqCommands();

// Prints "sqtool: MESSAGE" on standard error and returns 1; MESSAGE as
// SqPrintable shows it, so an error is always one line.
int SqFail(const std::string& Message);
// Text as the tool prints names from files: every byte outside printable
// ASCII (a control character, a line break, a byte of a wider encoding)
// written as an escape, \x1b.
std::string SqPrintable(const std::string& Text);
// Folder of the running sqtool, with its trailing "/".
std::string SqToolDir();

class TFolderLock;
// Takes the lock of the player's folder that File lies in, for a command
// (Who, "sqtool replay import") that writes the progress, runs or state
// files there: 0 when held (or when the folder takes no lock file, where
// the save itself will tell), else the exit code after the message. Another
// sqtool's hold is waited out for a few seconds; the game's is not: it
// would write its own copy of the files over the change later.
int SqHoldPlayerFolder(TFolderLock& Lock, const std::string& Who);
