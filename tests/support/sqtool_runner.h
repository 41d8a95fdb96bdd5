#pragma once
// Runs the built sqtool as a program, the way a user runs it from a shell.
#include <string>
#include <utility>
#include <vector>

namespace test_support {

// What a run gave back.
struct TToolResult {
  int Code = -1;  // the exit code; -1 when the program did not exit by itself
  std::string Out;
  std::string Err;
};

// Text as one single-quoted shell word.
std::string ShellQuote(const std::string& Text);

// Any shell command line, its two output streams apart.
TToolResult RunCaptured(const std::string& Command);

// sqtool run in a folder: Run("map convert a.mapt b.mapb b").
class TSqtool {
 public:
  // Runs in Folder (the current folder when empty), with Command (say "map")
  // in front of every run's arguments.
  explicit TSqtool(std::string Folder = "", std::string Command = "");
  // NAME=VALUE in the environment of every run.
  TSqtool& Env(const std::string& Name, const std::string& Value);

  // sqtool COMMAND ARGS; ARGS are shell words, quoted where they need it.
  TToolResult Run(const std::string& Args) const;
  // The same with standard error joined to standard output in the order the
  // program wrote them; gives the exit code, and both streams in Out.
  int RunJoined(const std::string& Args, std::string* Out = nullptr) const;

 private:
  std::string CommandLine(const std::string& Args) const;

  std::string FFolder, FCommand;
  std::vector<std::pair<std::string, std::string>> FEnv;
};

}  // namespace test_support

using test_support::RunCaptured;
using test_support::ShellQuote;
using test_support::TSqtool;
using test_support::TToolResult;
