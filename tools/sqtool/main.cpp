// sqtool: the command line for level designers and modders.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/modules.h"
#include "game/settings.h"
#include "shell/folder_lock.h"
#include "shell/parameters.h"
#include "shell/toolbox.h"
#include "tools/sqtool/command.h"

namespace {
std::vector<TSqCommandInfo>& Registry() {
  static std::vector<TSqCommandInfo> Commands;
  return Commands;
}

int Help(const TArgs& Args) {
  if (Args.empty()) {
    std::cout << "usage: sqtool COMMAND ...\n\ncommands:\n";
    auto Sorted = SqCommands();
    std::sort(Sorted.begin(), Sorted.end(), [](auto& A, auto& B) { return A.Name < B.Name; });
    for (const auto& C : Sorted)
      std::cout << "  " << C.Name << std::string(C.Name.size() < 10 ? 10 - C.Name.size() : 1, ' ') << C.Summary << "\n";
    std::cout << "  help      this text; sqtool help COMMAND for one command\n";
    return 0;
  }
  for (const auto& C : SqCommands())
    if (C.Name == Args[0]) {
      std::cout << C.Usage;
      if (!C.Usage.empty() && C.Usage.back() != '\n') std::cout << "\n";
      return 0;
    }
  return SqFail("unknown command '" + Args[0] + "' (see sqtool help)");
}
}  // namespace

TSqCommand::TSqCommand(TSqCommandInfo Info) { Registry().push_back(std::move(Info)); }
const std::vector<TSqCommandInfo>& SqCommands() { return Registry(); }

int SqFail(const std::string& Message) {
  std::cerr << "sqtool: " << SqPrintable(Message) << "\n";
  return 1;
}

std::string SqPrintable(const std::string& Text) {
  static const char* const Digits = "0123456789abcdef";
  std::string Shown;
  Shown.reserve(Text.size());
  for (char C : Text) {
    const auto B = static_cast<uint8_t>(C);
    if (B >= 0x20 && B < 0x7F) {
      Shown += C;
    } else {
      Shown += "\\x";
      Shown += Digits[B >> 4];
      Shown += Digits[B & 15];
    }
  }
  return Shown;
}

std::string SqToolDir() { return VXToolbox::ExtractFileDir(ExecutablePath()); }

int SqHoldPlayerFolder(TFolderLock& Lock, const std::string& Who) {
  constexpr double kToolWaitSeconds = 10;
  if (Lock.TakeWaiting(Who, "sqtool", kToolWaitSeconds) != TFolderLock::TResult::Busy) return 0;
  const std::string Folder = VXToolbox::ExtractFileDir(Lock.FileName());
  std::error_code Ignored;
  const std::string Where = std::filesystem::weakly_canonical(Folder.empty() ? "." : Folder, Ignored).string();
  const std::string By = Lock.Holder().empty() ? "" : " (" + Lock.Holder() + ")";
  if (Lock.Holder().rfind("sqtool", 0) == 0)
    return SqFail("another sqtool is still at work on the player's files in " + Where + By + "; try again later");
  return SqFail("the game is running in " + Where + By + " and would write over the change: quit the game first");
}

int main(int Argc, char** Argv) {
  TArgs Args(Argv + 1, Argv + Argc);
  if (Args.empty()) {
    Help({});
    return 1;
  }
  const std::string Name = Args[0];
  TArgs Rest(Args.begin() + 1, Args.end());
  if (Name == "help" || Name == "--help" || Name == "-h") return Help(Rest);
  const TSqCommandInfo* Found = nullptr;
  for (const auto& C : SqCommands())
    if (C.Name == Name) Found = &C;
  if (!Found) return SqFail("unknown command '" + Name + "' (see sqtool help)");

  // The engine's modules run as in the game; the tool keeps no log unless
  // SQTOOL_LOG names a file.
  std::vector<std::string> ModuleArgs = {Argv[0]};
  if (const char* LogFile = std::getenv("SQTOOL_LOG")) {
    ModuleArgs.push_back("-mainlog");
    ModuleArgs.push_back(LogFile);
  } else {
    ModuleArgs.push_back("-nolog");
  }
  std::vector<char*> ModuleArgv;
  for (auto& A : ModuleArgs) ModuleArgv.push_back(A.data());
  StartModules(static_cast<int>(ModuleArgv.size()), ModuleArgv.data());
  if (Config) Config->SaveAtStop = false;  // leave no settings file behind
  int Code;
  try {
    Code = Found->Run(Rest);
  } catch (const std::exception& E) { Code = SqFail(E.what()); }
  StopModules();
  return Code;
}
