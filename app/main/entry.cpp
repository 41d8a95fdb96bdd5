// Program entry: the command line answered, modules up, the application,
// modules down.
#include <cstdlib>
#include <iostream>

#include "app/command_line.h"
#include "app/display_check.h"
#include "app/main_app.h"
#include "app/modules.h"
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
  const int Code = RunWithModules(Argc, Argv, [] {
    TMain Main(SQ_VERSION, "0002", "2018.12.17");
    Main.Run();
  });
  // A page outlives the program: it says so and offers a new start.
  VXWeb::NoteScreen("ended");
  return Code;
}
