#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/modules.h"
#include "shell/logger.h"
#include "shell/toolbox.h"
#include "tests/support/test_support.h"

namespace {

struct TRun {
  int Code = -1;
  std::string LogText;
};

// Runs Body between the modules' start and stop in a fresh folder.
TRun RunInFolder(const TTempDir& Dir, const std::function<void()>& Body) {
  TChangeDir Here(Dir.Path());
  std::vector<std::string> Args = {Dir.File("starquarry"), "-mainlog", Dir.File("run.log")};
  std::vector<char*> Argv;
  for (auto& A : Args) Argv.push_back(A.data());
  TRun R;
  R.Code = RunWithModules(static_cast<int>(Argv.size()), Argv.data(), Body);
  R.LogText = ReadFileText(Dir.File("run.log"));
  return R;
}

// The last line of the log, without its line end.
std::string LastLine(const std::string& Text) {
  const size_t End = Text.rfind("\r\n");
  const size_t Start = Text.rfind("\r\n", End == 0 ? 0 : End - 1);
  return Text.substr(Start == std::string::npos ? 0 : Start + 2, End - (Start == std::string::npos ? 0 : Start + 2));
}

}  // namespace

TEST(ProgramEntry, AnEscapedErrorIsLoggedAndTheModulesStillStopInOrder) {
  TTempDir Dir;
  const TRun R = RunInFolder(Dir, [] { throw EConvertError("Not a hexadecimal expression! ('ZZZZZZZZ')"); });
  EXPECT_EQ(R.Code, 1);
  const size_t Error =
      R.LogText.find("{Starquarry, main} Ended by an error: Not a hexadecimal expression! ('ZZZZZZZZ')");
  ASSERT_NE(Error, std::string::npos) << R.LogText;
  EXPECT_NE(LastLine(R.LogText).find("Terminating Application."), std::string::npos) << R.LogText;
  EXPECT_TRUE(VXToolbox::FileExists(Dir.File("Starquarry.cfg"))) << "the settings are written when their module stops";
}

TEST(ProgramEntry, AnErrorOfNoKnownKindEndsTheSameWay) {
  TTempDir Dir;
  const TRun R = RunInFolder(Dir, [] { throw 42; });
  EXPECT_EQ(R.Code, 1);
  EXPECT_NE(R.LogText.find("Ended by an unknown error."), std::string::npos) << R.LogText;
  EXPECT_NE(LastLine(R.LogText).find("Terminating Application."), std::string::npos);
}

TEST(ProgramEntry, ANormalEndGivesZero) {
  TTempDir Dir;
  bool Ran = false;
  const TRun R = RunInFolder(Dir, [&] { Ran = true; });
  EXPECT_TRUE(Ran);
  EXPECT_EQ(R.Code, 0);
  EXPECT_EQ(R.LogText.find("Ended by"), std::string::npos);
}

// The game itself, given a test-map code that is not hexadecimal: before the
// entry caught errors, the process aborted without its closing line.
TEST(ProgramEntry, TheGameEndsABadTestMapCodeWithCodeOne) {
  const std::string Game = PlayDir() + "starquarry";
  if (!VXToolbox::FileExists(Game)) GTEST_SKIP() << "the game is not built";
  TTempDir Dir;
  const int Code = RunCommand("cd '" + Dir.Path() + "' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" + Game +
                              "' -testmap ZZZZZZZZ pack.sq -mainlog '" + Dir.File("run.log") + "' 2>/dev/null");
  EXPECT_EQ(Code, 1);
  const std::string Text = ReadFileText(Dir.File("run.log"));
  EXPECT_NE(Text.find("Ended by an error: Not a hexadecimal expression! ('ZZZZZZZZ')"), std::string::npos) << Text;
  EXPECT_NE(LastLine(Text).find("Terminating Application."), std::string::npos) << Text;
  EXPECT_TRUE(VXToolbox::FileExists(Dir.File("Starquarry.cfg")));
}
