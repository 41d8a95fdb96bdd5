// Program entry: the command line answered, modules up, the application,
// modules down.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/display_check.h"
#include "app/folder_claim.h"
#include "app/main_app.h"
#include "app/modules.h"
#include "shell/folder_lock.h"
#include "shell/web_bridge.h"

int main(int Argc, char** Argv) {
  // Help, version and a command line the game cannot follow are answered
  // before any module starts, so nothing is logged or opened for them.
  if (const int Code = AnswerCommandLine({Argv + 1, Argv + Argc}, SQ_VERSION, std::cout, std::cerr); Code >= 0)
    return Code;
  if (const std::string Reason = NoDisplayReason(std::getenv("DISPLAY"), std::getenv("SDL_VIDEODRIVER"));
      !Reason.empty()) {
    std::cerr << "starquarry: " << Reason << "\n";
    return 1;
  }
  if (const std::string Driver = VideoDriverToUse(std::getenv("DISPLAY"), std::getenv("SDL_VIDEODRIVER"));
      !Driver.empty())
    setenv("SDL_VIDEODRIVER", Driver.c_str(), 1);
  // The folder is claimed before the player's files are first read, and
  // held until the process ends.
  TFolderLock Lock("");
  std::string Refusal, Warning;
  std::vector<std::string> Args(Argv, Argv + Argc);
  if (ClaimsPlayerFolder({Args.begin() + 1, Args.end()})) Refusal = ClaimPlayerFolder(Lock, &Warning);
  if (!Warning.empty()) std::cerr << "starquarry: " << Warning << "\n";
  if (!Refusal.empty()) {
    std::cerr << "starquarry: " << Refusal << "\n";
    // The log beside the program is the running copy's: this one adds to it.
    Args.push_back("-appendlog");
  }
  std::vector<char*> ArgPointers;
  for (std::string& A : Args) ArgPointers.push_back(A.data());
  const int Code = RunWithModules(static_cast<int>(ArgPointers.size()), ArgPointers.data(), [&Refusal] {
    TMain Main(SQ_VERSION, "0002", "2018.12.17");
    if (Refusal.empty()) Main.Run();
    else Main.ShowRefusal(Refusal, AlreadyRunningLines());
  });
  // A page outlives the program: it says so and offers a new start.
  VXWeb::NoteScreen("ended");
  return Refusal.empty() ? Code : 1;
}
