#include "app/main_app.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/coder.h"
#include "app/modules.h"
#include "graphics/video.h"
#include "shell/logger.h"
#include "shell/parameters.h"
#include "shell/toolbox.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

namespace {
TParameters Params(std::vector<std::string> Args) { return TParameters("/games/starquarry", std::move(Args)); }
}  // namespace

TEST(LaunchRequest, FullScreenIsABareWordInAnyCase) {
  auto P = Params({"fullscreen"});
  EXPECT_TRUE(ReadLaunchRequest(P).FullScreen);
  EXPECT_EQ(P.Count(), 1) << "the word is consumed";
  auto Q = Params({"-FullScreen"});
  EXPECT_FALSE(ReadLaunchRequest(Q).FullScreen);
}

TEST(LaunchRequest, TestMapNeedsCodeAndPackWithTheRightTag) {
  const std::string Code = TCoder1732().TestMapCode(37);
  auto P = Params({"/TESTMAP", VXToolbox::LowerCase(Code), "pack.sq"});
  const TLaunchRequest R = ReadLaunchRequest(P);
  EXPECT_EQ(R.TestMapIndex, 37);
  EXPECT_EQ(R.TestMapPack, "pack.sq");
  auto NoPack = Params({"-testmap", Code});
  EXPECT_EQ(ReadLaunchRequest(NoPack).TestMapIndex, -1);
  auto WrongTag = Params({"-testmap", TCoder1732().Encode(37), "pack.sq"});
  EXPECT_EQ(ReadLaunchRequest(WrongTag).TestMapIndex, -1);
  auto Short = Params({"-testmap", "1234", "pack.sq"});
  EXPECT_EQ(ReadLaunchRequest(Short).TestMapIndex, -1);
  auto NotHex = Params({"-testmap", "1234567Z", "pack.sq"});
  EXPECT_THROW(ReadLaunchRequest(NotHex), EConvertError);
}

TEST(LaunchRequest, ParametersAreTracedFromTheProgramPathOn) {
  TTempDir Dir;
  {
    TRestore Swapped(Parameters, std::make_unique<TParameters>(
                                     Dir.File("sq"), std::vector<std::string>{"-mainlog", Dir.File("m.log"), "x"}));
    // The log of the program in Dir, as its parameters name it.
    Log.Reset(std::make_unique<TLogger>("", false));
    TScopeGuard CloseLog([] { Log.Reset(); });
    auto P = Params({"FullScreen", "level.sq"});
    ReadLaunchRequest(P);
  }
  const std::string Text = ReadFileText(Dir.File("m.log"));
  EXPECT_NE(Text.find("< Trace > 0. /games/starquarry\r\n< Trace > 1. FullScreen\r\n< Trace > 2. level.sq\r\n"),
            std::string::npos)
      << Text;
}

TEST(MainCaption, NamesVersionBuildAndDate) {
  EXPECT_EQ(TMain::Caption("1.06", "0002", "2018.12.17"), "Starquarry V1.06 Build 0002 (2018.12.17)");
}

namespace {
struct TQuitSeen {};
[[noreturn]] void ThrowOnQuit(int) { throw TQuitSeen{}; }
}  // namespace

// The prompt shows one picture per two frame intervals: Flip starts the next
// frame and the loop waits that one out too, so each red flash lasts about
// 267 ms. Leaving out the wait would show a picture every interval.
TEST(PressSpacePrompt, ShowsOnePicturePerTwoFrameIntervals) {
  TTempDir Dir;
  TChangeDir Here(Dir.Path());
  WriteFileText(Dir.File("controls.ini"), "[Game.Fonts]\r\n");
  std::vector<std::string> Args = {Dir.File("starquarry"), "-mainlog", Dir.File("run.log")};
  std::vector<char*> Argv;
  for (auto& A : Args) Argv.push_back(A.data());
  StartModules(static_cast<int>(Argv.size()), Argv.data());
  TScopeGuard Modules([] { StopModules(); });
  uint32_t Frames = 0, Elapsed = 0;
  {
    TMain Main("1.06", "0002", "2018.12.17");
    TScopeGuard Unhook([Old = VX_SDL::SetQuitHook(ThrowOnQuit)] { VX_SDL::SetQuitHook(Old); });
    // Nobody presses space: a quit from another thread ends the wait.
    std::thread Closer([] {
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      SDL_Event Quit{};
      Quit.type = SDL_QUIT;
      SDL_PushEvent(&Quit);
    });
    const uint32_t Start = VX_SDL::FrameCount();
    const auto Begin = std::chrono::steady_clock::now();
    EXPECT_THROW(Main.Run(), TQuitSeen);
    Elapsed = static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - Begin).count());
    Frames = VX_SDL::FrameCount() - Start;
    Closer.join();
  }
  ASSERT_GT(Frames, 0u);
  EXPECT_GE(Elapsed / Frames, 2 * 16u - 2) << Frames << " pictures in " << Elapsed << " ms";
}
