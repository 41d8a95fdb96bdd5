#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/modules.h"
#include "graphics/video.h"
#include "tests/support/test_support.h"

namespace {

// With the modules running, the quit event shuts them down in order first:
// the logger still writes its closing line.
[[noreturn]] void RunModulesAndQuit(const std::string& Folder, const std::string& LogFile) {
  TChangeDir Here(Folder);
  std::vector<std::string> Args = {"starquarry", "-mainlog", LogFile};
  std::vector<char*> Argv;
  for (auto& A : Args) Argv.push_back(A.data());
  StartModules(static_cast<int>(Argv.size()), Argv.data());
  VX_SDL::Initialize(64, 48, 32, VX_SDL::kUseSecondary);
  SDL_Event Q{};
  Q.type = SDL_QUIT;
  SDL_PushEvent(&Q);
  VX_SDL::PollEvents();
  std::exit(0);  // not reached
}

TEST(VideoModuleDeathTest, QuitShutsTheModulesDownBeforeExiting) {
  // Forked, so the child writes into this test's folder.
  GTEST_FLAG_SET(death_test_style, "fast");
  TTempDir Dir;
  const std::string LogFile = Dir.File("run.log");
  EXPECT_EXIT(RunModulesAndQuit(Dir.Path(), LogFile), ::testing::ExitedWithCode(2), "");
  const std::string Text = ReadFileText(LogFile);
  EXPECT_NE(Text.find("(uses) VX_SDL, version 1.2.0b"), std::string::npos);
  EXPECT_NE(Text.find("Terminating Application."), std::string::npos);
  EXPECT_EQ(Text.find("Average ms"), std::string::npos);
}

}  // namespace
