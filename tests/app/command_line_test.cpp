#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/display_check.h"
#include "shell/toolbox.h"
#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {

using TArgs = std::vector<std::string>;

TCommandLineCheck Check(const TArgs& Args) { return CheckCommandLine(Args); }

TEST(CommandLine, TheGamesOwnSwitchesRunInEitherSpellingAndAnyCase) {
  for (const TArgs& Args : std::vector<TArgs>{
           {},
           {"FullScreen"},
           {"fullscreen", "-SCALE", "AUTO"},
           {"/scale", "4", "-testmap", "0A1B2C3D", "pack.sq"},
           {"-Edit", "new.sq", "-nolog", "/WaitLog", "-appendlog", "-mainlog", "my.log", "-safelog"},
           // A pack or log file given by its absolute path starts with "/".
           {"-edit", "/home/ada/packs/p.sq", "-mainlog", "/tmp/x.log"},
       }) {
    const TCommandLineCheck C = Check(Args);
    EXPECT_EQ(C.Action, TCommandLineAction::Run) << C.Error;
  }
}

TEST(CommandLine, HelpAndVersionAnswerWhateverElseIsGiven) {
  for (const char* H : {"--help", "-h", "/H", "-help", "/?"})
    EXPECT_EQ(Check({"-scale", "2", H}).Action, TCommandLineAction::Help) << H;
  EXPECT_EQ(Check({"--version"}).Action, TCommandLineAction::Version);
  EXPECT_EQ(Check({"-bogus", "--version"}).Action, TCommandLineAction::Version);
  EXPECT_EQ(Check({"--version", "--help"}).Action, TCommandLineAction::Help);
}

TEST(CommandLine, UnknownSwitchesBadAndMissingValuesAreRefused) {
  const std::vector<std::pair<TArgs, std::string>> Cases = {
      {{"-bogus"}, "unknown switch '-bogus'"},
      {{"--scale", "2"}, "unknown switch '--scale'"},
      {{"pack.sq"}, "unexpected argument 'pack.sq'"},
      {{"-scale", "9"}, "-scale takes a number from 1 to 4 or auto, not '9'"},
      {{"-scale", "foo"}, "-scale takes a number from 1 to 4 or auto, not 'foo'"},
      {{"-scale", "0"}, "-scale takes a number from 1 to 4 or auto, not '0'"},
      {{"-scale", "2x"}, "-scale takes a number from 1 to 4 or auto, not '2x'"},
      {{"-scale"}, "-scale needs a number from 1 to 4 or auto"},
      {{"-edit"}, "-edit needs a level pack"},
      {{"-edit", "-nolog"}, "-edit needs a level pack"},
      {{"-testmap"}, "-testmap needs a code and a level pack"},
      {{"-testmap", "0A1B2C3D"}, "-testmap needs a code and a level pack"},
      {{"-testmap", "0A1B2C3D", "FullScreen"}, "-testmap needs a code and a level pack"},
      {{"-mainlog"}, "-mainlog needs a file name"},
  };
  for (const auto& [Args, Error] : Cases) {
    const TCommandLineCheck C = Check(Args);
    EXPECT_EQ(C.Action, TCommandLineAction::Refuse) << Args[0];
    EXPECT_EQ(C.Error, Error);
  }
}

TEST(CommandLine, TheHelpNamesEverySwitchAndFitsATerminal) {
  const std::string Text = UsageText();
  for (const char* S : {"FullScreen", "-scale N|auto", "-testmap CODE PACK.sq", "-edit PACK.sq", "-nolog", "-waitlog",
                        "-appendlog", "-mainlog FILE", "-safelog", "--help", "--version"}) {
    EXPECT_NE(Text.find(S), std::string::npos) << S;
    EXPECT_NE(UsageLine().find(S), std::string::npos) << S;
  }
  std::istringstream Lines(Text);
  std::string Line;
  // The usage line is the first; the rest fit 80 columns.
  std::getline(Lines, Line);
  EXPECT_EQ(Line, UsageLine());
  while (std::getline(Lines, Line)) EXPECT_LE(Line.size(), 80u) << Line;
}

TEST(CommandLine, AnswersGoToTheirStreamsWithTheirCodes) {
  std::ostringstream Out, Err;
  EXPECT_EQ(AnswerCommandLine({"-nolog"}, "1.06", Out, Err), -1);
  EXPECT_EQ(Out.str() + Err.str(), "");
  EXPECT_EQ(AnswerCommandLine({"--version"}, "1.06", Out, Err), 0);
  EXPECT_EQ(Out.str(), "Starquarry 1.06\n");
  EXPECT_EQ(Err.str(), "");
  Out.str("");
  EXPECT_EQ(AnswerCommandLine({"-scale", "9"}, "1.06", Out, Err), 1);
  EXPECT_EQ(Out.str(), "");
  EXPECT_EQ(Err.str(), "starquarry: -scale takes a number from 1 to 4 or auto, not '9'\n" + UsageLine() + "\n");
}

TEST(DisplayCheck, AWindowNeedsADisplayOrAChosenDriver) {
  EXPECT_EQ(NoDisplayReason(":0", nullptr), "");
  EXPECT_EQ(NoDisplayReason(nullptr, "dummy"), "");
  EXPECT_EQ(NoDisplayReason("", "x11"), "");
  EXPECT_NE(NoDisplayReason(nullptr, nullptr), "");
  EXPECT_NE(NoDisplayReason("", ""), "");
  // A named display is held to: no falling back to text art when it fails.
  EXPECT_EQ(VideoDriverToUse(":0", nullptr), "x11");
  EXPECT_EQ(VideoDriverToUse(":0", ""), "x11");
  EXPECT_EQ(VideoDriverToUse(":0", "dummy"), "");
  EXPECT_EQ(VideoDriverToUse(nullptr, nullptr), "");
}

// The built game, as a user starts it from a shell.
class GameCommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!VXToolbox::FileExists(Game)) GTEST_SKIP() << "the game is not built";
  }
  // Runs the game in an empty folder, Env its environment's changes (env's
  // words). A game that starts after all waits for Space: the time limit ends it.
  TToolResult Run(const std::string& Args, const std::string& Env = "SDL_VIDEODRIVER=dummy") const {
    return RunCaptured("cd " + ShellQuote(Dir.Path()) + " && timeout 20 env -u DISPLAY " + Env +
                       " SDL_AUDIODRIVER=dummy " + ShellQuote(Game) + " " + Args);
  }
  bool FolderEmpty() const { return RunCommand("[ -z \"$(ls -A " + ShellQuote(Dir.Path()) + ")\" ]") == 0; }

  const std::string Game = PlayDir() + "starquarry";
  TTempDir Dir;
};

TEST_F(GameCommandLine, HelpAndVersionPrintAndEndWithZero) {
  for (const char* H : {"--help", "-h"}) {
    const TToolResult R = Run(H, "");
    EXPECT_EQ(R.Code, 0) << H;
    EXPECT_EQ(R.Out, UsageText());
    EXPECT_EQ(R.Err, "");
  }
  const TToolResult V = Run("--version", "");
  EXPECT_EQ(V.Code, 0);
  EXPECT_EQ(V.Out, "Starquarry 1.06\n");
  EXPECT_TRUE(FolderEmpty()) << "no log, no settings for an answer";
}

TEST_F(GameCommandLine, AFaultyLineEndsWithOneAndTheUsageBeforeAnythingStarts) {
  for (const char* Args : {"-scale 9", "-scale foo", "-edit", "-testmap 0A1B2C3D", "-bogus"}) {
    const TToolResult R = Run(Args);
    EXPECT_EQ(R.Code, 1) << Args;
    EXPECT_EQ(R.Out, "") << Args;
    const size_t LineEnd = R.Err.find('\n');
    ASSERT_NE(LineEnd, std::string::npos) << Args;
    EXPECT_EQ(R.Err.substr(0, 12), "starquarry: ") << R.Err;
    EXPECT_EQ(R.Err.substr(LineEnd + 1), UsageLine() + "\n") << Args;
  }
  EXPECT_TRUE(FolderEmpty());
}

TEST_F(GameCommandLine, WithoutADisplayTheGameSaysSoAndEndsWithOne) {
  const TToolResult R = Run("-nolog", "-u SDL_VIDEODRIVER");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Out, "") << "no picture drawn as text in the terminal";
  EXPECT_EQ(R.Err, "starquarry: no display to open the window on (DISPLAY is not set)\n");
}

TEST_F(GameCommandLine, ADisplayThatCannotBeOpenedEndsTheStartWithOne) {
  const TToolResult R = Run("-nolog", "-u SDL_VIDEODRIVER DISPLAY=:987");
  EXPECT_EQ(R.Code, 1) << "not 124: the game must not go on without its window";
  EXPECT_EQ(R.Out, "") << "no picture drawn as text in the terminal";
}

}  // namespace
